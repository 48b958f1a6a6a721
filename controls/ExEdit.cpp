// TExEdit: the value model (display text versus value, conversions and
// formatting), the property setters, focus, error, modification and link
// behaviour, and the message routing to the key filter and painting.

#include "controls/ExEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/ExEddd.h"
#include "controls/VersionText.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

using namespace gui;

namespace {

const rtl::TFormatSettings& Loc() { return rtl::FormatSettings(); }


std::string Without(std::string s, char c)
{
    s.erase(std::remove(s.begin(), s.end(), c), s.end());
    return s;
}

// The runtime's integer reader, keeping what reads before the first
// offending character ("-12a" -> -12, "1.5" -> 1, "" -> 0).
int32_t ReadIntPrefix(const std::string& s)
{
    int32_t v = 0;
    int code = 0;
    rtl::Val(s, v, code);
    if (code == 0) return v;
    if (code <= 1) return 0;
    rtl::Val(s.substr(0, static_cast<std::size_t>(code - 1)), v, code);
    return code == 0 ? v : 0;
}

} // namespace

// ------------------------------------------------------- number texts

TNumberTextKind NumberTextKind(const std::string& s)
{
    if (s.empty()) return TNumberTextKind::ntkNone;
    bool isInt = true, isDec = true, isHex = true;
    int minus = 0, decimals = 0;
    int lastThousand = -1;
    const char ts = Loc().ThousandSeparator, ds = Loc().DecimalSeparator;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const int pos = static_cast<int>(i) + 1;
        const bool digit = c >= '0' && c <= '9';
        if (!(c == '-' || digit)) isInt = false;
        if (!(c == ',' || c == '-' || c == '.' || digit || c == ts || c == ds)) isDec = false;
        if (c == ts) {
            if (pos - lastThousand < 3) isDec = false;
            lastThousand = pos;
        }
        if (!(c == '-' || digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) isHex = false;
        if (c == '-') ++minus;
        if (c == ds) ++decimals;
    }
    if (minus > 1 || decimals > 1) return TNumberTextKind::ntkNone;
    if (isInt) return TNumberTextKind::ntkInteger;
    if (isDec) return TNumberTextKind::ntkDecimal;
    if (isHex) return TNumberTextKind::ntkHex;
    return TNumberTextKind::ntkNone;
}

double EditTextToFloat(const std::string& s)
{
    std::string t = Without(s, Loc().ThousandSeparator);
    if (Loc().DecimalSeparator != '.') {
        if (t.find('.') != std::string::npos) return 0;
        std::replace(t.begin(), t.end(), Loc().DecimalSeparator, '.');
    }
    double v = 0;
    return rtl::TryStrToFloat(t, v) ? v : 0;
}

int32_t HexToInt(const std::string& s)
{
    uint32_t sum = 0, weight = 1;
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        const char c = *it;
        uint32_t d = 0;
        if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
        sum += d * weight;
        weight *= 16;
    }
    return static_cast<int32_t>(sum);
}

std::string ProperCase(const std::string& text)
{
    static const std::string breaks = " ,.-'\\/:*$)\"";
    std::u16string s = rtl::UTF8ToUTF16(text);
    std::u16string out;
    bool cap = true;
    const int len = static_cast<int>(s.size());
    for (int k = 0; k < len; ++k) {
        const char16_t c = s[static_cast<std::size_t>(k)];
        if (c < 0x80 && breaks.find(static_cast<char>(c)) != std::string::npos) {
            out += c;
            cap = true;
        } else {
            const std::string one = rtl::UTF16ToUTF8(std::u16string(1, c));
            const std::u16string mapped = rtl::UTF8ToUTF16(cap ? rtl::AnsiUpperCase(one) : rtl::AnsiLowerCase(one));
            out += mapped.size() == 1 ? mapped : std::u16string(1, c);
            cap = false;
        }
        const int i = k + 1;
        if (out == u"Mc" || out == u"Mac") cap = true;
        const std::size_t mc = out.find(u" Mc");
        if (mc != std::u16string::npos && static_cast<int>(mc) + 3 == i && i > 2) cap = true;
        if (i > len - 3) {
            if (i >= 2 && out.compare(static_cast<std::size_t>(i - 2), 2, u" I") == 0) cap = true;
            if (i >= 3 && out.compare(static_cast<std::size_t>(i - 3), 3, u" II") == 0) cap = true;
        }
    }
    return rtl::UTF16ToUTF8(out);
}

// ----------------------------------------------------------- settings

TLookupSettings::TLookupSettings()
    : FDisplayList(std::make_unique<rtl::TStringList>()), FValueList(std::make_unique<rtl::TStringList>())
{
}

void TLookupSettings::Assign(const rtl::TPersistent* source)
{
    const auto* o = dynamic_cast<const TLookupSettings*>(source);
    if (!o) return;
    CaseSensitive = o->CaseSensitive;
    Color = o->Color;
    DisplayCount = o->DisplayCount;
    Enabled = o->Enabled;
    History = o->History;
    Multi = o->Multi;
    Separator = o->Separator;
    FNumChars = o->FNumChars;
    FDisplayList->Assign(o->FDisplayList.get());
    FValueList->Assign(o->FValueList.get());
}

// ------------------------------------------------------------ the edit

TExEdit::TExEdit(rtl::TComponent* owner)
    : TCustomEdit(owner),
      FLabelFont(std::make_unique<TFont>()),
      FLookup(std::make_unique<TLookupSettings>()),
      FPersistence(std::make_unique<TPersistence>())
{
    FIsWinXP = sys::SystemInfo().IsXPOrLater();
    FIsThemed = sys::SystemInfo().ComCtlMajorVersion > 5;
    FLabelFont->OnChange = [this](rtl::TObject*) {
        if (FLabel) UpdateLabel();
        if (Designing()) SetParentFont(false);
    };
    FNormalColor = TControl::Color();
    FFontColor = Font()->Color();
    SetPaintOverNative(true);
    SetNonClientPaint(true);
}

TExEdit::~TExEdit()
{
    // The window goes with the edit: its value is kept now.
    if (!Designing()) {
        try {
            SavePersist();
        } catch (...) {
        }
    }
    HideLookup();
    if (FOleDropTargetAssigned) RevokeDragDrop(this);
    if (TLabel* l = FLabel) {
        FLabel = nullptr;
        l->SetParent(nullptr);
        delete l;
    }
}

void TExEdit::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomEdit::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FLabel) FLabel = nullptr;
}

bool TExEdit::Loading() const { return ComponentState().Contains(rtl::TComponentStateItem::csLoading); }
bool TExEdit::Designing() const { return ComponentState().Contains(rtl::TComponentStateItem::csDesigning); }
bool TExEdit::HasFocus() const { return Focused() || FHasFocus; }
std::string TExEdit::Version() const { return VersionText(GetVersionNr()); }
int TExEdit::PrefixLen() const { return static_cast<int>(rtl::UTF8ToUTF16(FPrefix).size()); }

void TExEdit::SetDisplayText(const std::string& s) { TControl::SetText(s); }

// ------------------------------------------------------------ the value

std::string TExEdit::Text() const
{
    std::u16string d = rtl::UTF8ToUTF16(GetText());
    const std::u16string p = rtl::UTF8ToUTF16(FPrefix);
    if (!p.empty() && d.compare(0, p.size(), p) == 0) d.erase(0, p.size());
    const std::size_t sl = rtl::UTF8ToUTF16(FSuffix).size();
    if (sl > 0 && d.size() >= sl) d.erase(d.size() - sl);
    return rtl::UTF16ToUTF8(d);
}

void TExEdit::SetText(const std::string& value)
{
    std::string v = value;
    const TExEditType t = FEditType;
    if (v.empty() && !FAllowNumericNullValue &&
        (t == TExEditType::etNumeric || t == TExEditType::etFloat || t == TExEditType::etMoney || t == TExEditType::etHex))
        v = "0";
    if (FPrecisionDisplay == TPrecisionDisplay::pdShortest && (t == TExEditType::etFloat || t == TExEditType::etMoney))
        v = rtl::Format(Loc(), "%g", EditTextToFloat(v));
    else if (FPrecision > 0 && !v.empty())
        v = rtl::Format(Loc(), t == TExEditType::etMoney ? "%.*n" : "%.*f", FPrecision, EditTextToFloat(v));
    if (t == TExEditType::etHex) v = rtl::UpperCase(v);
    SetDisplayText(FPrefix + v + FSuffix);
    SetModified(false);
    if (FShowURL) SetURLLook(IsURL());
}

double TExEdit::FloatValue() const
{
    const std::string s = Text();
    switch (FEditType) {
    case TExEditType::etString: {
        long double v = 0;
        return rtl::TryStrToFloat(s, v) ? static_cast<double>(v) : 0;
    }
    case TExEditType::etNumeric:
    case TExEditType::etFloat:
        if (s.empty() || s == "-") return 0;
        return EditTextToFloat(s);
    case TExEditType::etMoney: {
        if (s.empty()) return 0;
        std::string t = Without(s, Loc().ThousandSeparator);
        if (!t.empty() && t.back() == Loc().DecimalSeparator) t.pop_back();
        if (t.empty() || t == "-") return 0;
        return EditTextToFloat(t);
    }
    case TExEditType::etHex:
        return s.empty() ? 0 : HexToInt(s);
    default:
        return 0;
    }
}

void TExEdit::SetFloatValue(double x)
{
    const std::string fixed = FPrecision < 0 ? rtl::Format(Loc(), "%g", x) : rtl::Format(Loc(), "%.*f", FPrecision, x);
    switch (FEditType) {
    case TExEditType::etString:
    case TExEditType::etFloat:
        SetText(fixed);
        break;
    case TExEditType::etNumeric:
        SetText(FPrecision < 0 ? fixed : rtl::Format(Loc(), "%.*n", FPrecision, x));
        break;
    case TExEditType::etMoney:
        SetText(fixed);
        UpdateThousandSeparators();
        break;
    case TExEditType::etHex:
        SetText(rtl::IntToHex(static_cast<uint32_t>(static_cast<int32_t>(std::trunc(x))), 0));
        break;
    default:
        break;
    }
    SetModified(true);
}

int32_t TExEdit::IntValue() const
{
    const std::string s = Text();
    switch (FEditType) {
    case TExEditType::etNumeric:
    case TExEditType::etFloat:
    case TExEditType::etMoney:
        // Thousand separators are display only (FloatValue writes them).
        return ReadIntPrefix(Without(s, Loc().ThousandSeparator));
    case TExEditType::etHex:
        return s.empty() ? 0 : HexToInt(s);
    default:
        return 0;
    }
}

void TExEdit::SetIntValue(int32_t n)
{
    switch (FEditType) {
    case TExEditType::etNumeric:
    case TExEditType::etFloat:
        SetText(rtl::IntToStr(n));
        break;
    case TExEditType::etMoney:
        SetText(rtl::IntToStr(n));
        UpdateThousandSeparators();
        break;
    case TExEditType::etHex:
        SetText(rtl::IntToHex(static_cast<uint32_t>(n), 0));
        break;
    default:
        break;
    }
    SetModified(true);
}

void TExEdit::UpdateThousandSeparators()
{
    std::string t = Text();
    if (t.empty()) return;
    const int oldLen = static_cast<int>(rtl::UTF8ToUTF16(t).size());
    const int caret = SelStart();
    std::string sign;
    if (t[0] == '-') {
        sign = "-";
        t.erase(0, 1);
    }
    std::string fraction;
    const std::size_t dp = t.find(Loc().DecimalSeparator);
    if (dp != std::string::npos) fraction = t.substr(dp, 255);
    const double whole = std::trunc(std::fabs(FloatValue()));
    std::string intPart = rtl::Format(Loc(), FAutoThousandSeparator ? "%n" : "%f", whole);
    const std::size_t cut = intPart.find(Loc().DecimalSeparator);
    if (cut != std::string::npos) intPart.erase(cut);
    const std::string value = sign + intPart + fraction;
    const std::string display = FPrefix + value + FSuffix;
    // The rewrite is the edit's own: its change notice is not the user's.
    FBlockChange = display != GetText();
    SetDisplayText(display);
    FBlockChange = false;
    const int newLen = static_cast<int>(rtl::UTF8ToUTF16(value).size());
    const int pos = std::max(0, caret + newLen - oldLen);
    Perform(EM_SETSEL, static_cast<WPARAM>(pos), pos);
}

void TExEdit::SetModified(bool v)
{
    if (Loading() || ReadOnly()) return;
    if (FShowModified) ApplyFontColor(v ? FModifiedColor : FFontColor);
    TCustomEdit::SetModified(v);
    FModified = v;
}

void TExEdit::SelectAll()
{
    const int len = static_cast<int>(rtl::UTF8ToUTF16(Text()).size());
    const int p = PrefixLen();
    int start = 0;
    if (!FPrefix.empty() && start < p) start = p;
    if (!FSuffix.empty()) start = p;
    if (FShowURL) {
        const std::string v = Text();
        if (int i = rtl::Pos("://", v); i > 0) start = i + 2;
        else if (int j = rtl::Pos("mailto:", v); j > 0) start = j + 6;
    }
    Perform(EM_SETSEL, static_cast<WPARAM>(start), start + len);
}

void TExEdit::SelectBeforeDecimal()
{
    const int i = rtl::Pos(std::string(1, Loc().DecimalSeparator), Text());
    const int c = i > 0 ? PrefixLen() + i - 1 : PrefixLen();
    Perform(EM_SETSEL, static_cast<WPARAM>(c), c);
}

void TExEdit::SelectAfterDecimal()
{
    const int i = rtl::Pos(std::string(1, Loc().DecimalSeparator), Text());
    const int c = i > 0 ? PrefixLen() + i : PrefixLen();
    Perform(EM_SETSEL, static_cast<WPARAM>(c), c);
}

int TExEdit::CharFromPos(TPoint p) { return LOWORD(static_cast<uintptr_t>(Perform(EM_CHARFROMPOS, 0, MAKELPARAM(p.X, p.Y)))); }

TPoint TExEdit::PosFromChar(int index)
{
    if (index == 0) return {0, 0};
    const LRESULT r = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    if (r == -1) return {-1, -1};
    return {static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(r))), static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(r)))};
}

int TExEdit::GetTextSize()
{
    TBitmap b;
    b.Canvas()->SetFont(Font());
    return b.Canvas()->TextWidth(Text());
}

// ----------------------------------------------------- property setters

void TExEdit::SetEditType(TExEditType t)
{
    if (FEditType == t) return;
    FEditType = t;
    if (t == TExEditType::etPassword) {
        SetPasswordChar(u'*');
        FCanUndo = false;
        RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    const std::string v = Text();
    if (!v.empty() || !FAllowNumericNullValue) {
        const TNumberTextKind k = NumberTextKind(v);
        switch (t) {
        case TExEditType::etNumeric:
            if (k != TNumberTextKind::ntkInteger) SetIntValue(0);
            break;
        case TExEditType::etFloat:
        case TExEditType::etMoney:
            if (k != TNumberTextKind::ntkInteger && k != TNumberTextKind::ntkDecimal) SetFloatValue(0);
            break;
        case TExEditType::etHex:
            if (k != TNumberTextKind::ntkInteger && k != TNumberTextKind::ntkHex) SetIntValue(0);
            break;
        default:
            break;
        }
    }
    if (Designing() && t == TExEditType::etFloat && FPrecision == 0) SetPrecision(2);
}

void TExEdit::SetPrecision(int p)
{
    if (FPrecision == p) return;
    if (FEditType != TExEditType::etString && FEditType != TExEditType::etFloat && FEditType != TExEditType::etMoney)
        return;
    FPrecision = p;
    const std::string v = Text();
    if (v.empty() && FAllowNumericNullValue) return;
    const TNumberTextKind k = NumberTextKind(v);
    if (k == TNumberTextKind::ntkNone || k == TNumberTextKind::ntkHex) SetFloatValue(0);
    else SetFloatValue(FloatValue());
}

void TExEdit::SetPrecisionDisplay(TPrecisionDisplay p)
{
    if (FPrecisionDisplay == p) return;
    FPrecisionDisplay = p;
    SetFloatValue(FloatValue());
}

void TExEdit::ApplyAlignment(TEditAlign a)
{
    SetAlignment(a == TEditAlign::eaRight    ? TAlignment::taRightJustify
                 : a == TEditAlign::eaCenter ? TAlignment::taCenter
                                             : TAlignment::taLeftJustify);
}

void TExEdit::NudgeWidth()
{
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TExEdit::SetEditAlign(TEditAlign a)
{
    if (FEditAlign == a) return;
    FEditAlign = a;
    ApplyAlignment(a);
    NudgeWidth();
}

void TExEdit::SetCanUndo(bool v)
{
    if (FEditType == TExEditType::etPassword) v = false;
    if (FCanUndo == v) return;
    FCanUndo = v;
    NudgeWidth();
}

void TExEdit::SetPrefix(const std::string& s)
{
    const std::string v = Text();
    FPrefix = s;
    SetText(v);
}

void TExEdit::SetSuffix(const std::string& s)
{
    const std::string v = Text();
    FSuffix = s;
    SetText(v);
}

void TExEdit::SetAutoThousandSeparator(bool v)
{
    FAutoThousandSeparator = v;
    if (FEditType == TExEditType::etFloat || FEditType == TExEditType::etMoney) UpdateThousandSeparators();
}

void TExEdit::SetColor(TColor c)
{
    TControl::SetColor(c);
    FNormalColor = c;
}

void TExEdit::ApplyFontColor(TColor c) { Font()->SetColor(c); }

void TExEdit::SetFlat(bool v)
{
    if (Loading()) {
        FFlat = v;
        return;
    }
    if (FFlat == v) return;
    FFlat = v;
    if (v) {
        const TColor c = TControl::Color();
        if (FFlatParentColor && Parent()) {
            TControl::SetColor(Parent()->Brush()->Color());
            FFocusColor = Parent()->Brush()->Color();
        } else {
            TControl::SetColor(FNormalColor);
        }
        FNormalColor = c;
        SetBorderStyle(TBorderStyle::bsNone);
        SetFlatRect(true);
    } else {
        TControl::SetColor(FNormalColor);
        SetBorderStyle(FOldBorder);
        SetFlatRect(false);
    }
    Invalidate();
}

void TExEdit::SetSoftBorder(bool v)
{
    if (FSoftBorder == v) return;
    FSoftBorder = v;
    Invalidate();
}

void TExEdit::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    SetBackgroundTransparent(v);
    Invalidate();
}

void TExEdit::SetFlatRect(bool flat)
{
    const int d = Ctl3D() ? 0 : 2;
    const TRect r = ClientRect();
    TRect fr = flat ? Rect(d + 4 + FIndentL, 3, r.Right - 4 - FIndentR - d, r.Bottom - 4)
                    : Rect(d + FIndentL, 0, r.Right - FIndentR - d, r.Bottom);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&fr));
}

void TExEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetFlatRect(FFlat);
}

void TExEdit::SetIsError(bool v)
{
    if (Designing() || Loading() || FIsError == v) return;
    FIsError = v;
    if (!FShowError) return;
    if (v) {
        TControl::SetColor(FErrorColor);
        ApplyFontColor(FErrorFontColor);
    } else if (HasFocus()) {
        TControl::SetColor(FFocusColor != clNone ? FFocusColor : FNormalColor);
        if (FFocusFontColor != clNone) ApplyFontColor(FFocusFontColor);
    } else {
        TControl::SetColor(FNormalColor);
        ApplyFontColor(FFontColor);
    }
}

void TExEdit::SetVisible(bool v)
{
    TCustomEdit::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

void TExEdit::SetEnabled(bool v)
{
    const bool old = Enabled();
    TCustomEdit::SetEnabled(v);
    if (Loading() || Designing() || old == v) return;
    if (v) {
        TControl::SetColor(FNormalColor);
    } else {
        FNormalColor = TControl::Color();
        TControl::SetColor(FDisabledColor);
    }
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(v);
}

void TExEdit::Init()
{
    FNormalColor = TControl::Color();
    FFontColor = Font()->Color();
    FOldBorder = BorderStyle();
    FFlat = !FFlat;
    SetFlat(!FFlat);
    if (FLabel) UpdateLabel();
    if (!Enabled()) {
        FNormalColor = TControl::Color();
        TControl::SetColor(FDisabledColor);
    }
}

void TExEdit::Loaded()
{
    TCustomEdit::Loaded();
    if (!Designing()) Init();
    if (!Designing()) LoadPersist();
    if (FLabel) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
        UpdateLabel();
        if (ParentFont()) FLabel->SetFont(Font());
    }
    FParentFnt = ParentFont();
    if (FLabel) UpdateLabel();
}

// ---------------------------------------------------- validation, links

bool TExEdit::ValidateValue(const std::string& value)
{
    if (FIsValidating) return true;
    FIsValidating = true;
    bool ok = true;
    DoValueValidate(value, ok);
    FIsValidating = false;
    return ok;
}

void TExEdit::DoValueValidate(const std::string& value, bool& isValid)
{
    if (OnValueValidate) OnValueValidate(this, value, isValid);
}

void TExEdit::Change()
{
    TCustomEdit::Change();
    if (!Loading() && FShowError) SetIsError(!ValidateValue(Text()));
}

bool TExEdit::IsURL() const
{
    const std::string v = Text();
    if (v.find("://") != std::string::npos) return true;
    const std::size_t at = v.find('@');
    if (at != std::string::npos && at > 0) return true;
    return rtl::StartsText("www.", v);
}

void TExEdit::SetURLLook(bool on)
{
    if (on) {
        FParentFnt = false;
        { TFontStyles st = Font()->Style(); st += TFontStyle::fsUnderline; Font()->SetStyle(st); }
        ApplyFontColor(FURLColor);
        FIsUrl = true;
        SetCursor(crHandPoint);
    } else {
        { TFontStyles st = Font()->Style(); st -= TFontStyle::fsUnderline; Font()->SetStyle(st); }
        ApplyFontColor(FFontColor);
        FIsUrl = false;
        SetCursor(crDefault);
    }
    Invalidate();
}

// ----------------------------------------------------------------- focus

void TExEdit::DoEnter()
{
    // The value (not the affixes) is selected on focus entry.
    TWinControl::DoEnter();
}

void TExEdit::WMSetFocus(TMessage& m)
{
    TCustomEdit::Dispatch(m);
    FHasFocus = true;
    if (Loading()) return;
    FOldString = Text();
    if (FFocusColor != clNone) {
        TControl::SetColor(FFocusColor);
        if (FIsWinXP) NudgeWidth();
    }
    if (!((FIsError && FShowError) || FShowModified)) {
        if (Font()->Color() != FFontColor && Font()->Color() != FFocusFontColor) FFontColor = Font()->Color();
        if (!(IsURL() && FShowURL) && FFocusFontColor != clNone) ApplyFontColor(FFocusFontColor);
    }
    if (AutoSelect()) SelectAll();
    if (FFocusLabel && FLabel) { TFontStyles st = FLabel->Font()->Style(); st += TFontStyle::fsBold; FLabel->Font()->SetStyle(st); }
    if (FFocusWidthInc > 0 && !FAlignChanging) SetWidth(Width() + FFocusWidthInc);
    FOldEditAlign = FEditAlign;
    if (FFocusAlign != FEditAlign && FFocusAlign != TEditAlign::eaDefault) {
        FAlignChanging = true;
        SetEditAlign(FFocusAlign);
        FAlignChanging = false;
    }
    if ((!FEmptyText.empty() && Text().empty()) || FFocusBorder || FFocusBorderColor != clNone) {
        if (BorderStyle() == TBorderStyle::bsNone) SetFlatRect(true);
        Invalidate();
    }
}

void TExEdit::WMKillFocus(TMessage& m)
{
    FHasFocus = false;
    if (Loading()) {
        TCustomEdit::Dispatch(m);
        return;
    }
    // The lookup list goes, unless the focus goes into it.
    const TWinControl* to = FindControl(static_cast<HWND>(m.WParam));
    if (!(to && FLookupList && to == LookupListBox())) HideLookup();
    if (!FIsError && TControl::Color() != FNormalColor) {
        TControl::SetColor(FNormalColor);
        if (FIsWinXP) NudgeWidth();
    }
    if (!((FIsError && FShowError) || FShowModified || (FShowURL && FIsUrl))) ApplyFontColor(FFontColor);
    if (FFocusLabel && FLabel) { TFontStyles st = FLabel->Font()->Style(); st -= TFontStyle::fsBold; FLabel->Font()->SetStyle(st); }
    const bool emptyNull = Text().empty() && FAllowNumericNullValue;
    if ((FEditType == TExEditType::etFloat || FEditType == TExEditType::etMoney) && FPrecision > 0 && !emptyNull) {
        const bool mod = FModified;
        SetFloatValue(FloatValue());
        SetModified(mod);
    }
    if (Text().empty() && !FAllowNumericNullValue) {
        if (FEditType == TExEditType::etNumeric) SetText("0");
        else if (FEditType == TExEditType::etFloat || FEditType == TExEditType::etMoney) SetFloatValue(0);
    }
    ValidateValue(Text());
    TCustomEdit::Dispatch(m);
    if (FFocusBorder) Invalidate();
    if (FAlignChanging) return;
    if (FFocusWidthInc > 0) SetWidth(Width() - FFocusWidthInc);
    if (FEditAlign != FOldEditAlign && FFocusAlign != TEditAlign::eaDefault) SetEditAlign(FOldEditAlign);
    if (!FEmptyText.empty() && Text().empty()) Invalidate();
    if (FLookup->Enabled && FLookup->History) {
        const std::string v = rtl::Trim(Text());
        if (!v.empty() && FLookup->DisplayList()->IndexOf(v) < 0) FLookup->DisplayList()->Add(v);
    }
    if (FFocusBorderColor != clNone || FErrorMarkerLen > 0) Invalidate();
}

// -------------------------------------------------------------- messages

void TExEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR: WMChar(m); return;
    case WM_KEYDOWN: WMKeyDown(m); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(m); return;
    case WM_COPY: WMCopy(m); return;
    case WM_CUT: WMCut(m); return;
    case WM_PASTE: WMPaste(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_GETDLGCODE:
        // A multi-line edit window (all but passwords): Return and Esc come
        // to the edit, which forwards them as DefaultHandling says.
        TCustomEdit::Dispatch(m);
        if (FEditType != TExEditType::etPassword) m.Result |= DLGC_WANTALLKEYS;
        return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            if (FBlockChange) {
                FBlockChange = false;
                return;
            }
            if (FTransparent) Invalidate();
            if (FShowURL) {
                const bool url = IsURL();
                if (url && !FIsUrl) SetURLLook(true);
                else if (!url && FIsUrl) SetURLLook(false);
            }
        }
        TCustomEdit::Dispatch(m);
        return;
    case WM_PAINT:
        TCustomEdit::Dispatch(m);
        if (m.WParam) {
            auto* c = reinterpret_cast<TCanvas*>(m.WParam);
            PaintExtras(c);
        }
        return;
    case WM_NCPAINT:
        TCustomEdit::Dispatch(m);
        if (m.WParam && (FBorder3D || FFocusBorderColor != clNone || (!Enabled() && FDisabledBorder)))
            DrawBorder(reinterpret_cast<TCanvas*>(m.WParam));
        return;
    case WM_LBUTTONUP: {
        if (FButtonDown) {
            const int c = CharFromPos({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            Perform(EM_SETSEL, static_cast<WPARAM>(c), c);
        }
        FButtonDown = false;
        TCustomEdit::Dispatch(m);
        if (FIsUrl && FShowURL && HasFocus()) {
            bool show = true;
            if (OnURLClick) OnURLClick(this, Text(), show);
            if (show) ShellOpen(Text());
            return;
        }
        const int p = PrefixLen();
        const int end = p + static_cast<int>(rtl::UTF8ToUTF16(Text()).size());
        const int ss = SelStart(), sl = SelLength();
        if (!FPrefix.empty() && ss < p) {
            Perform(EM_SETSEL, static_cast<WPARAM>(p), end);
        } else if (!FSuffix.empty()) {
            if (ss > end) Perform(EM_SETSEL, static_cast<WPARAM>(end), end);
            else if (ss + sl > end) Perform(EM_SETSEL, static_cast<WPARAM>(ss), end);
        }
        return;
    }
    case CM_MOUSEENTER:
        TCustomEdit::Dispatch(m);
        if (FAutoFocus && !Designing() && CanFocus()) SetFocus();
        if (Enabled() && !FMouseInControl) {
            FMouseInControl = true;
            if (FFocusBorder) Invalidate();
        }
        return;
    case CM_MOUSELEAVE:
        TCustomEdit::Dispatch(m);
        if (FMouseInControl && Enabled()) {
            FMouseInControl = false;
            if (FFocusBorder) Invalidate();
        }
        return;
    case CM_FONTCHANGED:
        TCustomEdit::Dispatch(m);
        SetFlatRect(FFlat);
        if ((Designing() || Loading()) && FLabel && ParentFont()) FLabel->SetFont(Font());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomEdit::Dispatch(m);
        if (FLabel && ParentFont()) FLabel->SetFont(Font());
        return;
    case CM_SHOWINGCHANGED:
        TCustomEdit::Dispatch(m);
        if (FLabel) FLabel->SetVisible(Visible());
        return;
    case CM_HINTSHOW:
        // A value wider than the edit shows whole in the hint.
        if (FHintShowLargeText && m.LParam && GetTextSize() > Width()) {
            auto* info = reinterpret_cast<THintInfo*>(m.LParam);
            info->HintStr = Text();
            info->HintPos = ClientToScreen({0, 0});
        }
        TCustomEdit::Dispatch(m);
        return;
    case CM_CANCELMODE:
        TCustomEdit::Dispatch(m);
        HideLookup();
        return;
    case WM_DESTROY:
        if (!Designing()) SavePersist();
        TCustomEdit::Dispatch(m);
        return;
    default:
        TCustomEdit::Dispatch(m);
        return;
    }
}

bool TExEdit::RangeStrToList(TRangeList& list) { return list.StrToList(Text()); }

void TExEdit::ListToRangeStr(TRangeList& list) { SetDisplayText(list.ToRangeStr()); }

} // namespace controls
