// The standard property editors and their start-up registrations.
#include "report/qlrPropEditors.h"

#include <cctype>
#include <mutex>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsIdents.h"
#include "platform/gui/GraphicsTypInfo.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IdentMaps.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"

namespace qlr {

namespace {

using A = TqlrPropertyAttribute;

const char* const kColorIdents[] = {
    "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray", "clSilver",
    "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite", "clMoneyGreen", "clSkyBlue",
    "clCream", "clMedGray", "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow", "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder",
    "clInactiveBorder", "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow",
    "clGrayText", "clBtnText", "clNone", "clDefault"};

const char* const kCursorIdents[] = {
    "crDefault", "crNone", "crArrow", "crCross", "crIBeam", "crSizeNESW", "crSizeNS", "crSizeNWSE",
    "crSizeWE", "crUpArrow", "crHourGlass", "crDrag", "crNoDrop", "crHSplit", "crVSplit", "crMultiDrag",
    "crSQLWait", "crNo", "crAppStart", "crHelp", "crHandPoint", "crSizeAll"};

const std::vector<rtl::TIdentMapEntry>& CharsetMap()
{
    static const std::vector<rtl::TIdentMapEntry> map = {
        {0, "ANSI_CHARSET"},         {1, "DEFAULT_CHARSET"},     {2, "SYMBOL_CHARSET"},
        {77, "MAC_CHARSET"},         {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},
        {130, "JOHAB_CHARSET"},      {134, "GB2312_CHARSET"},    {136, "CHINESEBIG5_CHARSET"},
        {161, "GREEK_CHARSET"},      {162, "TURKISH_CHARSET"},   {163, "VIETNAMESE_CHARSET"},
        {177, "HEBREW_CHARSET"},     {178, "ARABIC_CHARSET"},    {186, "BALTIC_CHARSET"},
        {204, "RUSSIAN_CHARSET"},    {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"},
        {255, "OEM_CHARSET"}};
    return map;
}

const char* const kModalResults[] = {"mrNone",  "mrOk", "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                     "mrYes",   "mrNo", "mrAll",    "mrNoToAll", "mrYesToAll"};

// Identifier of value by the type's map, else the number.
std::string IdentOrNumber(const rtl::TTypeInfo* type, int32_t value)
{
    std::string ident;
    if (auto toIdent = rtl::FindIntToIdent(type); toIdent && toIdent(value, ident)) return ident;
    return std::to_string(value);
}

int64_t IdentOrInteger(const rtl::TTypeInfo* type, const std::string& text)
{
    int32_t v = 0;
    if (auto toInt = rtl::FindIdentToInt(type); toInt && toInt(rtl::Trim(text), v)) return v;
    return rtl::StrToInt64(rtl::Trim(text));
}

std::vector<int> Numbers(const std::string& text)
{
    std::vector<int> n;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            int v = 0;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) v = v * 10 + (text[i++] - '0');
            n.push_back(v);
        } else {
            ++i;
        }
    }
    return n;
}

// The order of year, month and day in the short date format ("ymd").
std::string DateOrder()
{
    std::string order;
    for (char ch : rtl::LowerCase(rtl::FormatSettings().ShortDateFormat))
        if ((ch == 'y' || ch == 'm' || ch == 'd') && order.find(ch) == std::string::npos) order += ch;
    return order.size() == 3 ? order : std::string("ymd");
}

rtl::TDateTime ParseDate(const std::vector<int>& n, std::size_t from, const std::string& text)
{
    if (n.size() < from + 3) throw rtl::EConvertError("'" + text + "' is not a valid date");
    int y = 0, m = 0, d = 0;
    const std::string order = DateOrder();
    for (std::size_t k = 0; k < 3; ++k) {
        int v = n[from + k];
        if (order[k] == 'y') y = v < 100 ? v + 2000 : v;
        else if (order[k] == 'm') m = v;
        else d = v;
    }
    rtl::TDateTime result = 0;
    if (!rtl::TryEncodeDate(y, m, d, result)) throw rtl::EConvertError("'" + text + "' is not a valid date");
    return result;
}

rtl::TDateTime ParseTime(const std::vector<int>& n, std::size_t from, const std::string& text)
{
    if (n.size() < from + 2 || n.size() > from + 4) throw rtl::EConvertError("'" + text + "' is not a valid time");
    int h = n[from], mi = n[from + 1], s = n.size() > from + 2 ? n[from + 2] : 0;
    if (h > 23 || mi > 59 || s > 59) throw rtl::EConvertError("'" + text + "' is not a valid time");
    return rtl::EncodeTime(h, mi, s, 0);
}

const rtl::TTypeInfo* MakeType(const char* name, rtl::TTypeKind kind)
{
    return new rtl::TTypeInfo(rtl::TTypeInfo::Make(name, kind));
}

} // namespace

// --- integers, strings, classes ----------------------------------------------------

std::string TqlrIntegerProperty::GetValue() { return std::to_string(ReadOrdValue()); }
void TqlrIntegerProperty::SetValue(const std::string& value) { WriteOrdValue(rtl::StrToInt64(rtl::Trim(value))); }

TqlrPropertyAttributes TqlrClassProperty::GetAttributes()
{
    return {A::paMultiSelect, A::paSubProperties, A::paReadOnly};
}

std::string TqlrClassProperty::GetValue()
{
    const rtl::TPropInfo* p = FirstPropInfo();
    return "(" + (p ? p->PropType()->Name() : std::string()) + ")";
}

// --- colours ----------------------------------------------------------------------

TqlrPropertyAttributes TqlrColorProperty::GetAttributes()
{
    return {A::paValueList, A::paMultiSelect, A::paOwnerDraw};
}

std::string TqlrColorProperty::GetValue()
{
    return IdentOrNumber(gui::TypeInfoColor(), static_cast<int32_t>(ReadOrdValue()));
}

void TqlrColorProperty::SetValue(const std::string& value)
{
    WriteOrdValue(static_cast<uint32_t>(IdentOrInteger(gui::TypeInfoColor(), value)));
}

void TqlrColorProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    for (const char* ident : kColorIdents) AddListValue(ident);
}

bool TqlrColorProperty::Edit()
{
    gui::TColorDialog dialog(nullptr);
    dialog.Color = static_cast<gui::TColor>(ReadOrdValue());
    if (!dialog.Execute()) return false;
    WriteOrdValue(dialog.Color);
    return true;
}

void TqlrColorProperty::OnDrawLBItem(gui::TCanvas* canvas, int index, const gui::TRect& r)
{
    TqlrPropertyEditor::OnDrawLBItem(canvas, index, r);
    if (index < 0 || index >= Values().Count()) return;
    int32_t color = 0;
    if (!rtl::FindIdentToInt(gui::TypeInfoColor())(Values()[index], color)) return;
    const gui::TColor saved = canvas->Brush()->Color();
    canvas->Brush()->SetColor(gui::ColorToRGB(static_cast<gui::TColor>(color)));
    canvas->Rectangle(gui::TRect(r.Left + 2, r.Top + 2, r.Left + (r.Bottom - r.Top) - 2, r.Bottom - 2));
    canvas->Brush()->SetColor(saved);
}

void TqlrColorProperty::OnDrawItem(gui::TCanvas* canvas, const gui::TRect& r)
{
    TqlrPropertyEditor::OnDrawItem(canvas, r);
    const gui::TColor saved = canvas->Brush()->Color();
    canvas->Brush()->SetColor(gui::ColorToRGB(static_cast<gui::TColor>(ReadOrdValue())));
    canvas->Rectangle(gui::TRect(r.Left, r.Top + 1, r.Left + (r.Bottom - r.Top) - 5, r.Bottom - 4));
    canvas->Brush()->SetColor(saved);
}

// --- fonts ------------------------------------------------------------------------

TqlrPropertyAttributes TqlrFontProperty::GetAttributes()
{
    return {A::paDialog, A::paMultiSelect, A::paSubProperties, A::paReadOnly};
}

bool TqlrFontProperty::Edit()
{
    const rtl::TPropInfo* p = FirstPropInfo();
    auto* font = p ? dynamic_cast<gui::TFont*>(p->GetObject(FirstComponent())) : nullptr;
    if (!font) return false;
    gui::TFontDialog dialog(nullptr);
    dialog.SetFont(font);
    if (!dialog.Execute()) return false;
    for (std::size_t i = 0; i < FCompList.size(); ++i)
        if (auto* f = dynamic_cast<gui::TFont*>(FPropList[i]->GetObject(FCompList[i]))) f->Assign(dialog.Font());
    return true;
}

TqlrPropertyAttributes TqlrFontNameProperty::GetAttributes()
{
    return {A::paValueList, A::paSortList, A::paMultiSelect};
}

void TqlrFontNameProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    if (gui::Screen)
        for (const std::string& name : gui::Screen->Fonts()) AddListValue(name);
}

TqlrPropertyAttributes TqlrFontCharsetProperty::GetAttributes()
{
    return {A::paValueList, A::paSortList, A::paMultiSelect};
}

std::string TqlrFontCharsetProperty::GetValue()
{
    std::string ident;
    const auto v = static_cast<int32_t>(ReadOrdValue());
    return rtl::IntToIdent(v, ident, CharsetMap()) ? ident : std::to_string(v);
}

void TqlrFontCharsetProperty::SetValue(const std::string& value)
{
    int32_t v = 0;
    if (!rtl::IdentToInt(rtl::Trim(value), v, CharsetMap())) v = static_cast<int32_t>(rtl::StrToInt64(rtl::Trim(value)));
    WriteOrdValue(v);
}

void TqlrFontCharsetProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    for (const rtl::TIdentMapEntry& e : CharsetMap()) AddListValue(e.Name);
}

// --- modal results, shortcuts, cursors -----------------------------------------------

TqlrPropertyAttributes TqlrModalResultProperty::GetAttributes() { return {A::paValueList, A::paMultiSelect}; }

std::string TqlrModalResultProperty::GetValue()
{
    const int64_t v = ReadOrdValue();
    return v >= 0 && v <= 10 ? std::string(kModalResults[v]) : std::to_string(v);
}

void TqlrModalResultProperty::SetValue(const std::string& value)
{
    const std::string text = value.empty() ? std::string("0") : rtl::Trim(value);
    for (int i = 0; i <= 10; ++i)
        if (rtl::SameText(text, kModalResults[i])) {
            WriteOrdValue(i);
            return;
        }
    WriteOrdValue(rtl::StrToInt64(text));
}

void TqlrModalResultProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    for (const char* name : kModalResults) AddListValue(name);
}

TqlrPropertyAttributes TqlrShortCutProperty::GetAttributes() { return {A::paValueList, A::paMultiSelect}; }

std::string TqlrShortCutProperty::GetValue()
{
    const auto v = static_cast<gui::TShortCut>(ReadOrdValue());
    return v == gui::scNone ? std::string("(None)") : gui::ShortCutToText(v);
}

void TqlrShortCutProperty::SetValue(const std::string& value)
{
    const std::string text = rtl::Trim(value);
    if (text.empty() || rtl::SameText(text, "(None)")) WriteOrdValue(0);
    else WriteOrdValue(gui::TextToShortCut(text));
}

void TqlrShortCutProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    AddListValue("(None)");
    for (char c = 'A'; c <= 'Z'; ++c) AddListValue(std::string("Ctrl+") + c);
    for (char c = 'A'; c <= 'Z'; ++c) AddListValue(std::string("Ctrl+Alt+") + c);
    for (const char* prefix : {"", "Ctrl+", "Shift+", "Shift+Ctrl+"})
        for (int f = 1; f <= 12; ++f) AddListValue(std::string(prefix) + "F" + std::to_string(f));
    for (const char* s : {"Ins", "Shift+Ins", "Ctrl+Ins", "Del", "Shift+Del", "Ctrl+Del", "Alt+BkSp",
                          "Shift+Alt+BkSp"})
        AddListValue(s);
}

TqlrPropertyAttributes TqlrCursorProperty::GetAttributes()
{
    return {A::paValueList, A::paSortList, A::paMultiSelect};
}

std::string TqlrCursorProperty::GetValue()
{
    return IdentOrNumber(gui::TypeInfoCursor(), static_cast<int32_t>(ReadOrdValue()));
}

void TqlrCursorProperty::SetValue(const std::string& value)
{
    WriteOrdValue(IdentOrInteger(gui::TypeInfoCursor(), value));
}

void TqlrCursorProperty::GetValues()
{
    TqlrPropertyEditor::GetValues();
    for (const char* ident : kCursorIdents) AddListValue(ident);
}

// --- dates and times ------------------------------------------------------------------

std::string TqlrDateTimeProperty::GetValue()
{
    const long double v = ReadFloatValue();
    return v == 0 ? std::string() : rtl::DateTimeToStr(static_cast<double>(v));
}

void TqlrDateTimeProperty::SetValue(const std::string& value)
{
    const std::string text = rtl::Trim(value);
    if (text.empty()) {
        WriteFloatValue(0);
        return;
    }
    const std::vector<int> n = Numbers(text);
    rtl::TDateTime v = ParseDate(n, 0, text);
    if (n.size() > 3) v += ParseTime(n, 3, text);
    WriteFloatValue(v);
}

std::string TqlrDateProperty::GetValue()
{
    const long double v = ReadFloatValue();
    return v == 0 ? std::string() : rtl::DateToStr(static_cast<double>(v));
}

void TqlrDateProperty::SetValue(const std::string& value)
{
    const std::string text = rtl::Trim(value);
    WriteFloatValue(text.empty() ? 0 : ParseDate(Numbers(text), 0, text));
}

std::string TqlrTimeProperty::GetValue()
{
    const long double v = ReadFloatValue();
    return v == 0 ? std::string() : rtl::TimeToStr(static_cast<double>(v));
}

void TqlrTimeProperty::SetValue(const std::string& value)
{
    const std::string text = rtl::Trim(value);
    WriteFloatValue(text.empty() ? 0 : ParseTime(Numbers(text), 0, text));
}

// --- registrations -------------------------------------------------------------------

const rtl::TTypeInfo* TypeInfoComponentName()
{
    static const rtl::TTypeInfo* t = MakeType("TComponentName", rtl::TTypeKind::tkUString);
    return t;
}
const rtl::TTypeInfo* TypeInfoModalResult()
{
    static const rtl::TTypeInfo* t = MakeType("TModalResult", rtl::TTypeKind::tkInteger);
    return t;
}
const rtl::TTypeInfo* TypeInfoShortCut()
{
    static const rtl::TTypeInfo* t = MakeType("TShortCut", rtl::TTypeKind::tkInteger);
    return t;
}
const rtl::TTypeInfo* TypeInfoDate()
{
    static const rtl::TTypeInfo* t = MakeType("TDate", rtl::TTypeKind::tkFloat);
    return t;
}
const rtl::TTypeInfo* TypeInfoTime()
{
    static const rtl::TTypeInfo* t = MakeType("TTime", rtl::TTypeKind::tkFloat);
    return t;
}

void RegisterStandardPropertyEditors()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TqlrPropertyEditorCollection& r = GetPropertyEditorCollection();
        auto make = [](auto tag) {
            using E = decltype(tag);
            return [](void* designer) -> std::unique_ptr<TqlrPropertyEditor> { return std::make_unique<E>(designer); };
        };
        gui::DescribeGraphicsClasses();
        const rtl::TClassInfo* font = rtl::GetClass("TFont");
        r.Register(TypeInfoComponentName(), nullptr, "Name", "TqlrNameProperty", make(TqlrNameProperty(nullptr)));
        r.Register(gui::TypeInfoColor(), nullptr, "", "TqlrColorProperty", make(TqlrColorProperty(nullptr)));
        r.Register(rtl::TypeInfoOf<gui::TFont*>(), nullptr, "", "TqlrFontProperty", make(TqlrFontProperty(nullptr)));
        r.Register(rtl::TypeInfoAnsiString(), font, "Name", "TqlrFontNameProperty",
                   make(TqlrFontNameProperty(nullptr)));
        r.Register(rtl::TypeInfoInteger(), font, "Charset", "TqlrFontCharsetProperty",
                   make(TqlrFontCharsetProperty(nullptr)));
        r.Register(TypeInfoModalResult(), nullptr, "", "TqlrModalResultProperty",
                   make(TqlrModalResultProperty(nullptr)));
        r.Register(TypeInfoShortCut(), nullptr, "", "TqlrShortCutProperty", make(TqlrShortCutProperty(nullptr)));
        r.Register(gui::TypeInfoCursor(), nullptr, "", "TqlrCursorProperty", make(TqlrCursorProperty(nullptr)));
        r.Register(rtl::TypeInfoDateTime(), nullptr, "", "TqlrDateTimeProperty", make(TqlrDateTimeProperty(nullptr)));
        r.Register(TypeInfoDate(), nullptr, "", "TqlrDateProperty", make(TqlrDateProperty(nullptr)));
        r.Register(TypeInfoTime(), nullptr, "", "TqlrTimeProperty", make(TqlrTimeProperty(nullptr)));
    });
}

} // namespace qlr
