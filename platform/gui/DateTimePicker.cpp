// The date and time picker, drawn by the program: fields from the display
// format, keyboard and mouse editing, the check box and the month popup.
#include "platform/gui/DateTimePicker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gui/PopupWindows.h"

namespace gui {

namespace {

constexpr int kBorder = 2;
constexpr int kButton = 16;
constexpr int kCheck = 13;

std::string Pad2(int v)
{
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// The locale's formats in the picker's letters.
std::string DefaultFormat(TDateTimeKind kind)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::string out;
    if (kind == TDateTimeKind::dtkDate) {
        for (char c : fs.ShortDateFormat) {
            if (c == 'm' || c == 'M') out += 'M';
            else if (c == 'D') out += 'd';
            else if (c == 'Y') out += 'y';
            else if (c == '/') out += fs.DateSeparator;
            else out += c;
        }
    } else {
        for (char c : fs.LongTimeFormat) {
            if (c == 'n' || c == 'N') out += 'm';
            else if (c == 'h') out += 'H';
            else if (c == ':') out += fs.TimeSeparator;
            else out += c;
        }
    }
    return out;
}

bool IsFieldLetter(char c) { return std::string("dMyHhmst").find(c) != std::string::npos; }

} // namespace

TDateTimePicker::TDateTimePicker(rtl::TComponent* owner) : TCustomControl(owner)
{
    FTabStop = true;
    SetColor(clWindow);
    FDateTime = rtl::Now();
    SetBounds(0, 0, 186, 21);
}

TDateTimePicker::~TDateTimePicker()
{
    delete FPopup;
    FPopup = nullptr;
    delete FClosedPopup;
    FClosedPopup = nullptr;
}

// --- value ---------------------------------------------------------------------------------

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    if (v == FKind) return;
    if (FPopup) CloseUp();
    FKind = v;
    FField = 0;
    Invalidate();
}

void TDateTimePicker::SetDateTime(rtl::TDateTime v)
{
    FDateTime = v;
    FTyped = -1;
    Invalidate();
}

rtl::TDateTime TDateTimePicker::Date() const { return std::floor(FDateTime); }

void TDateTimePicker::SetDate(rtl::TDateTime v) { SetDateTime(std::floor(v) + (FDateTime - std::floor(FDateTime))); }

rtl::TDateTime TDateTimePicker::Time() const { return FDateTime - std::floor(FDateTime); }

void TDateTimePicker::SetTime(rtl::TDateTime v) { SetDateTime(std::floor(FDateTime) + (v - std::floor(v))); }

void TDateTimePicker::SetFormat(const std::string& v)
{
    FFormat = v;
    FField = std::min(FField, std::max(0, FieldCount() - 1));
    Invalidate();
}

void TDateTimePicker::SetShowCheckbox(bool v)
{
    FShowCheckbox = v;
    Invalidate();
}

void TDateTimePicker::SetChecked(bool v)
{
    FChecked = v;
    Invalidate();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    FDateMode = v;
    Invalidate();
}

// --- fields ------------------------------------------------------------------------------

std::vector<TDateTimePicker::Segment> TDateTimePicker::Segments() const
{
    const std::string f = FFormat.empty() ? DefaultFormat(FKind) : FFormat;
    std::vector<Segment> out;
    auto literal = [&](const std::string& s) {
        if (!out.empty() && out.back().kind == 0) out.back().token += s;
        else out.push_back({0, s});
    };
    for (std::size_t i = 0; i < f.size();) {
        const char c = f[i];
        if (c == '\'') {
            const std::size_t end = f.find('\'', i + 1);
            literal(f.substr(i + 1, (end == std::string::npos ? f.size() : end) - i - 1));
            i = end == std::string::npos ? f.size() : end + 1;
        } else if (IsFieldLetter(c)) {
            std::size_t j = i;
            while (j < f.size() && f[j] == c) ++j;
            out.push_back({c, f.substr(i, j - i)});
            i = j;
        } else {
            literal(std::string(1, c));
            ++i;
        }
    }
    return out;
}

std::string TDateTimePicker::SegmentText(const Segment& s) const
{
    if (s.kind == 0) return s.token;
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
    rtl::DecodeDate(FDateTime, y, mo, d);
    rtl::DecodeTime(FDateTime, h, mi, se, ms);
    const std::size_t n = s.token.size();
    switch (s.kind) {
    case 'd':
        if (n >= 4) return fs.LongDayNames[rtl::DayOfWeek(FDateTime) - 1];
        if (n == 3) return fs.ShortDayNames[rtl::DayOfWeek(FDateTime) - 1];
        return n == 2 ? Pad2(d) : std::to_string(d);
    case 'M':
        if (n >= 4) return fs.LongMonthNames[mo - 1];
        if (n == 3) return fs.ShortMonthNames[mo - 1];
        return n == 2 ? Pad2(mo) : std::to_string(mo);
    case 'y': return n <= 2 ? Pad2(y % 100) : std::to_string(y);
    case 'H': return n == 2 ? Pad2(h) : std::to_string(h);
    case 'h': {
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        return n == 2 ? Pad2(h12) : std::to_string(h12);
    }
    case 'm': return n == 2 ? Pad2(mi) : std::to_string(mi);
    case 's': return n == 2 ? Pad2(se) : std::to_string(se);
    case 't': {
        const std::string& am = h < 12 ? fs.TimeAMString : fs.TimePMString;
        return n == 1 ? am.substr(0, 1) : am;
    }
    default: return {};
    }
}

std::string TDateTimePicker::DisplayText() const
{
    std::string s;
    for (const Segment& seg : Segments()) s += SegmentText(seg);
    return s;
}

int TDateTimePicker::FieldCount() const
{
    int n = 0;
    for (const Segment& s : Segments()) n += s.kind != 0;
    return n;
}

int TDateTimePicker::SegmentOfField(int field) const
{
    const std::vector<Segment> segs = Segments();
    int n = 0;
    for (std::size_t i = 0; i < segs.size(); ++i)
        if (segs[i].kind != 0 && n++ == field) return static_cast<int>(i);
    return -1;
}

void TDateTimePicker::SetFieldIndex(int v)
{
    FField = std::clamp(v, 0, std::max(0, FieldCount() - 1));
    FTyped = -1;
    Invalidate();
}

void TDateTimePicker::StepField(int delta)
{
    const int si = SegmentOfField(FField);
    if (si < 0) return;
    const char kind = Segments()[static_cast<std::size_t>(si)].kind;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
    rtl::DecodeDate(FDateTime, y, mo, d);
    rtl::DecodeTime(FDateTime, h, mi, se, ms);
    auto wrap = [](int v, int lo, int hi) { return lo + (((v - lo) % (hi - lo + 1)) + (hi - lo + 1)) % (hi - lo + 1); };
    switch (kind) {
    case 'd': d = wrap(d + delta, 1, rtl::DaysInMonth(y, mo)); break;
    case 'M': mo = wrap(mo + delta, 1, 12); break;
    case 'y': y = std::clamp(y + delta, 1, 9999); break;
    case 'H':
    case 'h': h = wrap(h + delta, 0, 23); break;
    case 't': h = (h + 12) % 24; break;
    case 'm': mi = wrap(mi + delta, 0, 59); break;
    case 's': se = wrap(se + delta, 0, 59); break;
    default: return;
    }
    d = std::min(d, rtl::DaysInMonth(y, mo));
    UserChanged(rtl::EncodeDate(y, mo, d) + rtl::EncodeTime(h, mi, se, 0));
}

void TDateTimePicker::TypeDigit(int digit)
{
    const int si = SegmentOfField(FField);
    if (si < 0) return;
    const char kind = Segments()[static_cast<std::size_t>(si)].kind;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
    rtl::DecodeDate(FDateTime, y, mo, d);
    rtl::DecodeTime(FDateTime, h, mi, se, ms);
    int max = 59;
    switch (kind) {
    case 'd': max = rtl::DaysInMonth(y, mo); break;
    case 'M': max = 12; break;
    case 'y': max = 9999; break;
    case 'H': max = 23; break;
    case 'h': max = 12; break;
    case 'm':
    case 's': break;
    default: return;
    }
    int v = FTyped < 0 ? digit : FTyped * 10 + digit;
    if (v > max) v = digit;
    FTyped = v;
    if (kind == 'y') {
        if (v < 1000) return;  // a year is taken when its four digits are in
        y = v;
        FTyped = -1;
    } else if ((kind == 'd' || kind == 'M' || kind == 'h') && v == 0) {
        return;
    } else if (kind == 'd') {
        d = v;
    } else if (kind == 'M') {
        mo = v;
    } else if (kind == 'H') {
        h = v;
    } else if (kind == 'h') {
        h = (h >= 12 ? 12 : 0) + v % 12;
    } else if (kind == 'm') {
        mi = v;
    } else {
        se = v;
    }
    d = std::min(d, rtl::DaysInMonth(y, mo));
    const int typed = FTyped;
    UserChanged(rtl::EncodeDate(y, mo, d) + rtl::EncodeTime(h, mi, se, 0));
    FTyped = typed;
}

void TDateTimePicker::UserChanged(rtl::TDateTime v)
{
    FDateTime = v;
    Invalidate();
    Notify(DTN_DATETIMECHANGE);
}

void TDateTimePicker::Notify(int code)
{
    TNMDateTime rec;
    rec.hwndFrom = Handle();
    rec.code = code;
    rec.valid = !FShowCheckbox || FChecked;
    rec.value = FDateTime;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&rec));
}

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}

// --- popup --------------------------------------------------------------------------------

void TDateTimePicker::DropDown()
{
    if (FKind != TDateTimeKind::dtkDate || FPopup || !Parent()) return;
    delete FClosedPopup;
    FClosedPopup = nullptr;
    FPopup = new TMonthPopup(this, FDateTime);
    Notify(DTN_DROPDOWN);
}

void TDateTimePicker::CloseUp(rtl::TDateTime chosen)
{
    if (!FPopup) return;
    // Hidden now and freed later: the popup may be inside its own mouse handler.
    FPopup->SetVisible(false);
    delete FClosedPopup;
    FClosedPopup = FPopup;
    FPopup = nullptr;
    if (chosen != 0) UserChanged(std::floor(chosen) + Time());
    Notify(DTN_CLOSEUP);
}

// --- input -------------------------------------------------------------------------------

void TDateTimePicker::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    switch (key) {
    case VK_LEFT: SetFieldIndex(FField - 1); key = 0; break;
    case VK_RIGHT: SetFieldIndex(FField + 1); key = 0; break;
    case VK_UP: StepField(1); key = 0; break;
    case VK_DOWN:
        if (shift.Contains(TShiftStateItem::ssAlt)) DropDown();
        else StepField(-1);
        key = 0;
        break;
    case VK_F4: DroppedDown() ? CloseUp() : DropDown(); key = 0; break;
    case VK_ESCAPE:
        if (DroppedDown()) {
            CloseUp();
            key = 0;
        }
        break;
    default: break;
    }
}

void TDateTimePicker::KeyPress(char16_t& key)
{
    TCustomControl::KeyPress(key);
    if (key >= u'0' && key <= u'9') {
        TypeDigit(key - u'0');
        key = 0;
    } else if (key == u' ' && FShowCheckbox) {
        FChecked = !FChecked;
        Invalidate();
        Notify(DTN_DATETIMECHANGE);
        key = 0;
    }
}

TRect TDateTimePicker::CheckboxRect() const
{
    if (!FShowCheckbox) return TRect();
    const int top = (Height() - kCheck) / 2;
    return TRect(kBorder + 2, top, kBorder + 2 + kCheck, top + kCheck);
}

TRect TDateTimePicker::ButtonRect() const
{
    return TRect(Width() - kBorder - kButton, kBorder, Width() - kBorder, Height() - kBorder);
}

void TDateTimePicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if (CanFocus() && !Focused()) SetFocus();
    const TPoint p{x, y};
    if (FShowCheckbox && PtInRect(CheckboxRect(), p)) {
        FChecked = !FChecked;
        Invalidate();
        Notify(DTN_DATETIMECHANGE);
        return;
    }
    if (PtInRect(ButtonRect(), p)) {
        if (FKind == TDateTimeKind::dtkDate && FDateMode == TDTDateMode::dmComboBox) {
            DroppedDown() ? CloseUp() : DropDown();
        } else {
            const TRect b = ButtonRect();
            StepField(y < b.Top + b.Height() / 2 ? 1 : -1);
        }
        return;
    }
    // The field under the point.
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(Font());
    int left = kBorder + (FShowCheckbox ? kCheck + 6 : 2), field = 0;
    for (const Segment& s : Segments()) {
        const int w = probe.Canvas()->TextWidth(SegmentText(s));
        if (s.kind != 0) {
            if (x < left + w) {
                SetFieldIndex(field);
                return;
            }
            ++field;
        }
        left += w;
    }
    SetFieldIndex(field - 1);
}

void TDateTimePicker::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CN_NOTIFY: {
        const auto* rec = reinterpret_cast<const TNMDateTime*>(m.LParam);
        if (!rec) return;
        if (rec->code == DTN_DATETIMECHANGE) Change();
        else if (rec->code == DTN_DROPDOWN && OnDropDown) OnDropDown(this);
        else if (rec->code == DTN_CLOSEUP && OnCloseUp) OnCloseUp(this);
        return;
    }
    case WM_KILLFOCUS:
        FTyped = -1;
        Invalidate();
        break;
    case WM_SETFOCUS: Invalidate(); break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TDateTimePicker::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (Ctl3D()) {
        c->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    if (FShowCheckbox) {
        TRect cb = CheckboxRect();
        c->DrawFrameControl(cb, DFC_BUTTON, DFCS_BUTTONCHECK | (FChecked ? uint32_t(DFCS_CHECKED) : 0u));
    }
    TRect b = ButtonRect();
    if (FKind == TDateTimeKind::dtkDate && FDateMode == TDTDateMode::dmComboBox) {
        c->DrawFrameControl(b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (FPopup ? uint32_t(DFCS_PUSHED) : 0u));
    } else {
        TRect up(b.Left, b.Top, b.Right, b.Top + b.Height() / 2);
        TRect down(b.Left, up.Bottom, b.Right, b.Bottom);
        c->DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP);
        c->DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN);
    }
    c->Font()->Assign(Font());
    const bool grey = (FShowCheckbox && !FChecked) || !Enabled();
    int x = kBorder + (FShowCheckbox ? kCheck + 6 : 2), field = 0;
    const int th = c->TextHeight("0");
    const int y = (Height() - th) / 2;
    c->SetBkMode(TRANSPARENT);
    for (const Segment& s : Segments()) {
        const std::string text = SegmentText(s);
        const int w = c->TextWidth(text);
        const bool current = s.kind != 0 && field == FField && Focused() && !grey;
        if (current) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(TRect(x, y, x + w, y + th));
        }
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->SetColor(current ? clHighlightText : (grey ? clGrayText : Font()->Color()));
        c->TextOut(x, y, text);
        if (s.kind != 0) ++field;
        x += w;
    }
}

// --- month popup ------------------------------------------------------------------------------

namespace {
constexpr int kCellW = 24, kCellH = 16, kHead = 36, kPad = 4;
}

TMonthPopup::TMonthPopup(TDateTimePicker* picker, rtl::TDateTime date) : TCustomControl(nullptr), FPicker(picker)
{
    int d = 0;
    rtl::DecodeDate(date, FYear, FMonth, d);
    SetColor(clWindow);
    SetVisible(false);
    SetParent(picker);
    SetPopupWindow(this, TPopupWindowOptions{true, false});
    const TPoint at = picker->ClientToScreen(TPoint{0, picker->Height()});
    SetBounds(at.X, at.Y, 7 * kCellW + 2 * kPad, kHead + 6 * kCellH + kPad);
    SetVisible(true);
}

void TMonthPopup::ShowMonth(int delta)
{
    int m = FMonth - 1 + delta;
    FYear += m >= 0 ? m / 12 : -((11 - m) / 12);
    FMonth = ((m % 12) + 12) % 12 + 1;
    Invalidate();
}

TRect TMonthPopup::DayRect(int day) const
{
    const int first = rtl::DayOfWeek(rtl::EncodeDate(FYear, FMonth, 1)) - 1;
    const int i = first + day - 1;
    const int x = kPad + (i % 7) * kCellW, y = kHead + (i / 7) * kCellH;
    return TRect(x, y, x + kCellW, y + kCellH);
}

void TMonthPopup::Paint()
{
    TCanvas* c = Canvas();
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    TRect r = ClientRect();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    c->Font()->Assign(FPicker->Font());
    c->SetBkMode(TRANSPARENT);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect head(kPad, 2, Width() - kPad, 18);
    c->DrawText(fs.LongMonthNames[FMonth - 1] + " " + std::to_string(FYear), head, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->DrawText("<", head, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    c->DrawText(">", head, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    for (int i = 0; i < 7; ++i) {
        TRect cell(kPad + i * kCellW, 18, kPad + (i + 1) * kCellW, kHead);
        c->DrawText(fs.ShortDayNames[i].substr(0, 2), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    int sy = 0, sm = 0, sd = 0;
    rtl::DecodeDate(FPicker->DateTime(), sy, sm, sd);
    for (int day = 1; day <= rtl::DaysInMonth(FYear, FMonth); ++day) {
        TRect cell = DayRect(day);
        const bool selected = sy == FYear && sm == FMonth && sd == day;
        if (selected) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(cell);
            c->Brush()->SetStyle(TBrushStyle::bsClear);
        }
        c->Font()->SetColor(selected ? clHighlightText : FPicker->Font()->Color());
        c->DrawText(std::to_string(day), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TMonthPopup::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if (y < 18) {
        if (x < kPad + kCellW) ShowMonth(-1);
        else if (x >= Width() - kPad - kCellW) ShowMonth(1);
        return;
    }
    for (int day = 1; day <= rtl::DaysInMonth(FYear, FMonth); ++day)
        if (PtInRect(DayRect(day), TPoint{x, y})) {
            FPicker->CloseUp(rtl::EncodeDate(FYear, FMonth, day));
            return;
        }
}

} // namespace gui
