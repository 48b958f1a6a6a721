// grdspin: the spin cell editor's value kinds, stepping, key filter and layout.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "gridbase/grdspin.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

using namespace gui;

namespace {

char DecimalSep() { return rtl::FormatSettings().DecimalSeparator; }

// 1-based position of c in s, 0 when absent.
int Pos(char c, const std::string& s)
{
    const std::size_t p = s.find(c);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

// 1-based position of the next c after 1-based position from, 0 when none.
int NextSeparatorPos(char c, const std::string& s, int from)
{
    if (from <= 0) return 0;
    const std::size_t p = s.find(c, static_cast<std::size_t>(from));
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string Trimmed(const std::string& s)
{
    std::size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
    return s.substr(a, b - a);
}

bool ReadInt(const std::string& s, int& v)
{
    int32_t x = 0;
    if (!rtl::TryStrToInt(Trimmed(s), x)) return false;
    v = x;
    return true;
}

// A number written with the locale's decimal separator.
bool ReadFloat(const std::string& text, double& v)
{
    std::string s = Trimmed(text);
    if (s.empty()) return false;
    const char sep = DecimalSep();
    if (sep != '.') {
        if (s.find('.') != std::string::npos) return false;
        for (char& c : s)
            if (c == sep) c = '.';
    }
    return rtl::TryStrToFloat(s, v);
}

std::string WriteFloat(double v, int precision)
{
    std::string s = precision == 0 ? rtl::FloatToStr(v)
                                   : rtl::FloatToStrF(v, rtl::TFloatFormat::ffFixed, 15, precision);
    const char sep = DecimalSep();
    if (sep != '.')
        for (char& c : s)
            if (c == '.') c = sep;
    return s;
}

// A date in the order of the locale's short date format.
bool ReadDate(const std::string& text, rtl::TDateTime& v)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::string fmt = rtl::UpperCase(fs.ShortDateFormat);
    const std::size_t pd = fmt.find('D'), pm = fmt.find('M'), py = fmt.find('Y');
    if (pd == std::string::npos || pm == std::string::npos || py == std::string::npos) return false;
    std::vector<std::string> parts;
    std::string cur;
    for (char c : Trimmed(text)) {
        if (c == fs.DateSeparator) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    if (parts.size() != 3) return false;
    struct Field {
        std::size_t at;
        int* value;
    };
    int d = 0, m = 0, y = 0;
    Field fields[3] = {{pd, &d}, {pm, &m}, {py, &y}};
    std::sort(std::begin(fields), std::end(fields), [](const Field& a, const Field& b) { return a.at < b.at; });
    for (int i = 0; i < 3; ++i)
        if (!ReadInt(parts[static_cast<std::size_t>(i)], *fields[i].value)) return false;
    for (int i = 0; i < 3; ++i)  // a two-digit year is one of this century
        if (fields[i].value == &y && y >= 0 && y < 100 && parts[static_cast<std::size_t>(i)].size() <= 2) y += 2000;
    return rtl::TryEncodeDate(y, m, d, v);
}

// A time of day: hours, minutes and optional seconds.
bool ReadTime(const std::string& text, rtl::TDateTime& v)
{
    const char sep = rtl::FormatSettings().TimeSeparator;
    std::vector<std::string> parts;
    std::string cur;
    for (char c : Trimmed(text)) {
        if (c == sep) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    if (parts.size() < 2 || parts.size() > 3) return false;
    int h = 0, n = 0, s = 0;
    if (!ReadInt(parts[0], h) || !ReadInt(parts[1], n)) return false;
    if (parts.size() == 3 && !ReadInt(parts[2], s)) return false;
    return rtl::TryEncodeTime(h, n, s, 0, v);
}

// Same day and month, the year moved; a day the year lacks raises the
// date error.
rtl::TDateTime ShiftYear(int delta, rtl::TDateTime date)
{
    int y = 0, m = 0, d = 0;
    rtl::DecodeDate(date, y, m, d);
    return rtl::EncodeDate(y + delta, m, d) + (date - std::floor(date));
}

rtl::TDateTime ShiftMonth(int delta, rtl::TDateTime date)
{
    int y = 0, m = 0, d = 0;
    rtl::DecodeDate(date, y, m, d);
    int month = m - 1 + delta;
    y += month >= 0 ? month / 12 : -((11 - month) / 12);
    month = ((month % 12) + 12) % 12 + 1;
    d = std::min(d, rtl::DaysInMonth(y, month));
    return rtl::EncodeDate(y, month, d) + (date - std::floor(date));
}

} // namespace

TGrdSpinEdit::TGrdSpinEdit(rtl::TComponent* owner) : TCustomMaskEdit(owner)
{
    FButton = new TGrdSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    // Through the virtual slots, so that descendants get the clicks.
    FButton->OnUpClick = [this](rtl::TObject* s) { UpButtonClick(s); };
    FButton->OnDownClick = [this](rtl::TObject* s) { DownButtonClick(s); };
    SetText("0");
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    Resized();
}

TGrdSpinEdit::~TGrdSpinEdit() { FButton = nullptr; }

bool TGrdSpinEdit::Loading() const { return ComponentState().Contains(rtl::TComponentStateItem::csLoading); }

// --- values -----------------------------------------------------------------------------

int TGrdSpinEdit::CheckValue(int v) const
{
    if (FMinValue == FMaxValue) return v;
    if (v <= FMinValue) return FMinValue;
    if (v >= FMaxValue) return FMaxValue;
    return v;
}

double TGrdSpinEdit::CheckFloatValue(double v) const
{
    if (FMinFloatValue == FMaxFloatValue) return v;
    if (v <= FMinFloatValue) return FMinFloatValue;
    if (v >= FMaxFloatValue) return FMaxFloatValue;
    return v;
}

rtl::TDateTime TGrdSpinEdit::CheckDateValue(rtl::TDateTime v) const
{
    if (FMinDateValue == FMaxDateValue) return v;
    if (v <= FMinDateValue) return FMinDateValue;
    if (v >= FMaxDateValue) return FMaxDateValue;
    return v;
}

int TGrdSpinEdit::Value()
{
    int v = 0;
    return ReadInt(Text(), v) ? v : FMinValue;
}

void TGrdSpinEdit::SetValue(int v)
{
    SetText(std::to_string(CheckValue(v)));
    if (!FEditorEnabled) SelectAll();
}

double TGrdSpinEdit::FloatValue()
{
    double v = 0;
    return ReadFloat(Text(), v) ? v : FMinFloatValue;
}

void TGrdSpinEdit::SetFloatValue(double v) { SetText(WriteFloat(CheckFloatValue(v), FPrecision)); }

rtl::TDateTime TGrdSpinEdit::DateValue()
{
    const std::string t = Text();
    if (t == "0" || t.empty()) return rtl::Now();
    rtl::TDateTime v = 0;
    return ReadDate(t, v) ? v : FMinDateValue;
}

void TGrdSpinEdit::SetDateValue(rtl::TDateTime v)
{
    FDateValue = v;
    if (Loading()) return;
    FDateValue = CheckDateValue(v);
    const int caret = SelStart();
    SetText(rtl::DateToStr(FDateValue));
    SetSelStart(caret);
}

rtl::TDateTime TGrdSpinEdit::TimeValue()
{
    rtl::TDateTime v = 0;
    return ReadTime(Text(), v) ? v : 0;
}

void TGrdSpinEdit::SetTimeValue(rtl::TDateTime v)
{
    FTimeValue = v;
    if (Loading()) return;
    const int caret = SelStart();
    SetText(rtl::TimeToStr(v - std::floor(v)));
    SetSelStart(caret);
}

void TGrdSpinEdit::SetSpinType(TGrdSpinType v)
{
    FSpinType = v;
    switch (v) {
    case TGrdSpinType::sptNormal: SetValue(Value()); break;
    case TGrdSpinType::sptFloat: SetFloatValue(FloatValue()); break;
    case TGrdSpinType::sptDate: SetDateValue(DateValue()); break;
    case TGrdSpinType::sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TGrdSpinEdit::SetPrecision(int v)
{
    FPrecision = v;
    if (FSpinType == TGrdSpinType::sptFloat) SetFloatValue(FloatValue());
}

// --- stepping -----------------------------------------------------------------------------

void TGrdSpinEdit::StepDate(int delta)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    const std::string fmt = rtl::UpperCase(fs.ShortDateFormat);
    FUsDates = fmt.find('M') < fmt.find('D');
    const std::string t = Text();
    const int c = SelStart();
    const int p1 = Pos(fs.DateSeparator, t);
    const int p2 = NextSeparatorPos(fs.DateSeparator, t, p1);
    const rtl::TDateTime date = DateValue();
    rtl::TDateTime next;
    const bool first = p1 > 0 && c < p1, second = p1 > 0 && !first && c < p2;
    if ((FUsDates && first) || (!FUsDates && second)) next = ShiftMonth(delta, date);
    else if (first || second) next = date + delta;
    else next = ShiftYear(delta, date);
    SetDateValue(next);
}

void TGrdSpinEdit::StepTime(bool up)
{
    const char sep = rtl::FormatSettings().TimeSeparator;
    const std::string t = Text();
    const int c = SelStart();
    const int p1 = Pos(sep, t);
    const int p2 = NextSeparatorPos(sep, t, p1);
    double step = 1.0 / 86400;
    if (p1 > 0 && c < p1) step = 1.0 / 24;
    else if (p1 > 0 && c < p2) step = 1.0 / 1440;
    const rtl::TDateTime time = TimeValue();
    rtl::TDateTime v = up ? time + step : time + 1 - step;
    if (!up && v > 1) v -= 1;
    // Whole seconds, so that the sum shows the second it means.
    SetTimeValue(std::round(v * 86400) / 86400);
}

void TGrdSpinEdit::StepUp(bool page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case TGrdSpinType::sptNormal: SetValue(Value() + FIncrement); break;
    case TGrdSpinType::sptFloat: SetFloatValue(FloatValue() + (page ? 1.0 : FIncrementFloat)); break;
    case TGrdSpinType::sptDate: StepDate(1); break;
    case TGrdSpinType::sptTime: StepTime(true); break;
    }
}

void TGrdSpinEdit::StepDown(bool page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case TGrdSpinType::sptNormal: SetValue(Value() - FIncrement); break;
    case TGrdSpinType::sptFloat: SetFloatValue(FloatValue() - (page ? 1.0 : FIncrementFloat)); break;
    case TGrdSpinType::sptDate: StepDate(-1); break;
    case TGrdSpinType::sptTime: StepTime(false); break;
    }
}

void TGrdSpinEdit::UpButtonClick(rtl::TObject*) { StepUp(false); }

void TGrdSpinEdit::DownButtonClick(rtl::TObject*) { StepDown(false); }

// --- keys ---------------------------------------------------------------------------------

bool TGrdSpinEdit::AcceptsChar(char16_t& key)
{
    if (key == 8) return FEditorEnabled;
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    const char16_t dec = static_cast<unsigned char>(fs.DecimalSeparator);
    const char16_t thou = static_cast<unsigned char>(fs.ThousandSeparator);
    const char16_t tsep = static_cast<unsigned char>(fs.TimeSeparator);
    const char16_t dsep = static_cast<unsigned char>(fs.DateSeparator);
    auto numberOrMinus = [](char16_t k) { return k == u'-' || rtl::IsNumberChar(k); };
    bool ok = key == dec || key == thou || key == tsep || key == dsep || numberOrMinus(key) ||
              (key < 32 && key != 13);
    auto special = [&](char16_t sep) { return sep == dec || sep == thou || sep == u'-' || sep == u'+'; };
    if (key == tsep && FSpinType != TGrdSpinType::sptTime)
        if (!special(tsep) || FSpinType == TGrdSpinType::sptDate) ok = false;
    if (key == dsep && FSpinType != TGrdSpinType::sptDate)
        if (!special(dsep) || FSpinType == TGrdSpinType::sptTime) ok = false;
    const std::string text = Text();
    const std::string sel = SelText();
    if (key == u'-') {
        if (SelStart() != 0) ok = false;
        if (text.find('-') != std::string::npos && sel.find('-') == std::string::npos) ok = false;
    }
    switch (FSpinType) {
    case TGrdSpinType::sptNormal:
        if (!numberOrMinus(key)) ok = false;
        break;
    case TGrdSpinType::sptFloat:
        if (key != 27 && key != 13 && key != 8) {
            if (key == thou) ok = false;
            if (key == dec && text.find(fs.DecimalSeparator) != std::string::npos &&
                sel.find(fs.DecimalSeparator) == std::string::npos)
                ok = false;
            const int p = Pos(fs.DecimalSeparator, text);
            if (FPrecision > 0 && p > 0 && SelStart() >= p && SelLength() == 0 && ok &&
                p + FPrecision <= static_cast<int>(text.size()))
                ok = false;
        }
        break;
    case TGrdSpinType::sptTime:
        if (key == tsep && std::count(text.begin(), text.end(), fs.TimeSeparator) >= 2) ok = false;
        break;
    default: break;
    }
    if (!FEditorEnabled && key >= 32) ok = false;
    return ok;
}

void TGrdSpinEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        // Posted messages skip the loop's key preprocessing here, so the Tab
        // goes as the key notice that moves the focus.
        PostMessage(Handle(), CN_KEYDOWN, VK_TAB, 0);
    }
    if (key == VK_DELETE && !FEditorEnabled) key = 0;
    TCustomMaskEdit::KeyDown(key, shift);
}

void TGrdSpinEdit::KeyPress(char16_t& key)
{
    if (!AcceptsChar(key)) {
        key = 0;
        MessageBeep(0);
        return;
    }
    TCustomMaskEdit::KeyPress(key);
}

void TGrdSpinEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
        switch (m.WParam) {
        case VK_UP: StepUp(false); m.Result = 0; return;
        case VK_DOWN: StepDown(false); m.Result = 0; return;
        case VK_PRIOR: StepUp(true); m.Result = 0; return;
        case VK_NEXT: StepDown(true); m.Result = 0; return;
        default: break;
        }
        break;
    case WM_CHAR:
        // The keypad's decimal key (key data bit 22) types the locale's separator.
        if (FExcelStyleDecimalSeparator && m.WParam == '.' && (m.LParam & (LPARAM(1) << 22)))
            m.WParam = static_cast<unsigned char>(DecimalSep());
        break;
    case WM_CUT:
    case WM_PASTE:
        if (!FEditorEnabled || ReadOnly()) return;
        break;
    case CM_ENTER:
        if (AutoSelect() && (!(GetKeyState(VK_LBUTTON) < 0) || !FEditorEnabled)) SelectAll();
        break;
    case CM_EXIT:
        TCustomMaskEdit::Dispatch(m);
        switch (FSpinType) {
        case TGrdSpinType::sptNormal:
            if (CheckValue(Value()) != Value()) SetValue(Value());
            break;
        case TGrdSpinType::sptFloat:
            if (CheckFloatValue(FloatValue()) != FloatValue()) SetFloatValue(FloatValue());
            break;
        case TGrdSpinType::sptDate:
            if (CheckDateValue(DateValue()) != DateValue()) SetDateValue(DateValue());
            break;
        case TGrdSpinType::sptTime:
            if (CheckDateValue(TimeValue()) != TimeValue()) SetTimeValue(TimeValue());
            break;
        }
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(m);
        Resized();
        return;
    default: break;
    }
    TCustomMaskEdit::Dispatch(m);
}

// --- layout ----------------------------------------------------------------------------------

int TGrdSpinEdit::GetMinHeight()
{
    int sys = 0, own = 0;
    EditTextHeights(Font(), sys, own);
    const int i = std::min(sys, own);
    if (BorderStyle() == TBorderStyle::bsSingle) return own + i / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2;
    return own + i / 4 + 2;
}

void TGrdSpinEdit::Resized()
{
    if (!FButton) return;
    if (Height() < GetMinHeight()) {
        SetBounds(Left(), Top(), Width(), GetMinHeight());
        return;
    }
    if (Ctl3D()) {
        const int e = BorderStyle() == TBorderStyle::bsNone ? 1 : 5;
        FButton->SetBounds(Width() - FButton->Width() - e, 0, FButton->Width(), Height() - e);
    } else {
        FButton->SetBounds(Width() - FButton->Width(), 1, FButton->Width(), Height() - 3);
    }
    SetEditRect();
}

void TGrdSpinEdit::SetEditRect()
{
    const int d = BorderStyle() == TBorderStyle::bsNone ? 1 : 0;
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - (FButton ? FButton->Width() : 0) - 2 - d;
    r.Top = d;
    r.Left = d;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

// --- look ---------------------------------------------------------------------------------------

void TGrdSpinEdit::SetDirection(TSpinDirection v)
{
    FDirection = v;
    if (FButton) FButton->SetDirection(v);
    SetBounds(Left(), Top(), Width() + 1, Height());
    SetBounds(Left(), Top(), Width() - 1, Height());
}

void TGrdSpinEdit::SetEditAlign(TEditAlign v)
{
    FEditAlign = v;
    switch (v) {
    case TEditAlign::eaLeft: SetAlignment(TAlignment::taLeftJustify); break;
    case TEditAlign::eaRight: SetAlignment(TAlignment::taRightJustify); break;
    case TEditAlign::eaCenter: SetAlignment(TAlignment::taCenter); break;
    }
    RecreateWnd();
}

void TGrdSpinEdit::SetSpinFlat(bool v)
{
    FSpinFlat = v;
    if (!FButton) return;
    FButton->UpButton()->SetFlat(v);
    FButton->DownButton()->SetFlat(v);
}

void TGrdSpinEdit::SetSpinTransparent(bool v)
{
    FSpinTransparent = v;
    if (!FButton) return;
    FButton->UpButton()->SetTransparent(v);
    FButton->DownButton()->SetTransparent(v);
    SetBounds(Left(), Top(), Width() + 1, Height());
    SetBounds(Left(), Top(), Width() - 1, Height());
}

void TGrdSpinEdit::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FButton) FButton->SetIsWinXP(v);
}

void TGrdSpinEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (FSpinType == TGrdSpinType::sptDate) SetText(rtl::DateToStr(FDateValue));
    if (FSpinType == TGrdSpinType::sptTime) SetText(rtl::TimeToStr(FTimeValue - std::floor(FTimeValue)));
    SetSpinType(FSpinType);
}

void TGrdSpinEdit::GetChildren(const std::function<void(rtl::TComponent*)>&, rtl::TComponent*)
{
    // The arrow strip is part of the editor, never saved with a form.
}

} // namespace gridbase
