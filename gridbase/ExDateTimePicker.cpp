// ExDateTimePicker: the flat border, the kinds and the companion time picker.
#include "gridbase/ExDateTimePicker.h"

#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/sys/SystemInfo.h"

namespace gridbase {

using namespace gui;

namespace {

bool IsCommonControls6() { return sys::SystemInfo().ComCtlMajorVersion > 5; }

bool Designing(const rtl::TComponent* c) { return c->ComponentState().Contains(rtl::TComponentStateItem::csDesigning); }

} // namespace

// --- TCustomDateTimePicker ------------------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(rtl::TComponent* owner)
    : TDateTimePicker(owner), FIsThemed(IsCommonControls6())
{
    SetDoubleBuffered(true);
    SetCtl3D(false);
    SetNonClientPaint(true);
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Invalidate();
}

void TCustomDateTimePicker::SetBorderColor(TColor v)
{
    if (v == FBorderColor) return;
    FBorderColor = v;
    Invalidate();
}

int TCustomDateTimePicker::MeasureText(const std::string& text)
{
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(Font());
    TRect r(0, 0, 1000, 200);
    probe.Canvas()->DrawText(text.substr(0, 255), r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width();
}

void TCustomDateTimePicker::DrawBorder(TCanvas* c)
{
    const TColor parentColor = Parent() ? Parent()->Brush()->Color() : clBtnFace;
    TColor pen;
    if (FBorderStyle == TBorderStyle::bsNone && Parent()) pen = parentColor;
    else if (FIsThemed) pen = RGB(127, 157, 185);
    else pen = FBorderColor;
    const int w = Width(), h = Height();
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(pen);
    c->MoveTo(0, h);
    c->LineTo(0, 0);
    c->LineTo(w - 1, 0);
    c->LineTo(w - 1, h - 1);
    c->LineTo(0, h - 1);
    if (Parent()) {
        c->Pen()->SetColor(FBorderStyle == TBorderStyle::bsSingle ? parentColor : pen);
        c->MoveTo(1, h - 2);
        c->LineTo(1, 1);
        c->LineTo(w - 1, 1);
    }
}

void TCustomDateTimePicker::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
        TDateTimePicker::Dispatch(m);
        if (m.WParam && !Ctl3D()) DrawBorder(reinterpret_cast<TCanvas*>(m.WParam));
        m.Result = 0;
        return;
    case CM_CTL3DCHANGED:
        TDateTimePicker::Dispatch(m);
        Invalidate();
        return;
    default: TDateTimePicker::Dispatch(m);
    }
}

// --- TExDateTimePicker ------------------------------------------------------------------------

TExDateTimePicker::TExDateTimePicker(rtl::TComponent* owner) : TCustomDateTimePicker(owner)
{
    FBorderStyle = TBorderStyle::bsSingle;
    SetCtl3D(true);
    FFocusTimer = new TTimer(nullptr);
    FFocusTimer->SetEnabled(false);
    FFocusTimer->SetInterval(20);
    FFocusTimer->OnTimer = [this](rtl::TObject*) { FocusTimerTick(); };
    // The window exists from the start: the stored kind is applied now.
    const TExDateTimeKind kind = FKind;
    FKind = TExDateTimeKind::dkDate;
    SetKind(kind);
}

TExDateTimePicker::~TExDateTimePicker()
{
    delete FFocusTimer;
    FFocusTimer = nullptr;
    FTimePicker = nullptr;  // owned: freed with the picker's components
}

std::string TExDateTimePicker::Version() const
{
    const uint32_t v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

void TExDateTimePicker::SetKind(TExDateTimeKind v)
{
    if (v == FKind) return;
    FKind = v;
    TDateTimePicker::SetKind(v == TExDateTimeKind::dkTime ? TDateTimeKind::dtkTime : TDateTimeKind::dtkDate);
    if (v == TExDateTimeKind::dkDateTime) CreateTimePicker();
    UpdateTimePicker();
}

void TExDateTimePicker::CreateTimePicker()
{
    if (FTimePicker) return;
    FTimePicker = new TCustomDateTimePicker(this);
    if (!(Designing(this) && ComponentState().Contains(rtl::TComponentStateItem::csLoading))) FTimePicker->SetParent(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetVisible(false);
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->SetKind(TDateTimeKind::dtkTime);
    FTimePicker->OnChange = [this](rtl::TObject*) {
        FireChange();
        if (OnTimeChange) OnTimeChange(this);
    };
    FTimePicker->OnClick = [this](rtl::TObject*) { FireClick(); };
    FTimePicker->OnKeyPress = [this](rtl::TObject* s, char16_t& key) { TimeKeyPress(s, key); };
    // The picker's OnKeyDown sees the companion's keys (its field editing does not).
    FTimePicker->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState shift) {
        TWinControl::KeyDown(key, shift);
    };
}

void TExDateTimePicker::UpdateTimePicker()
{
    if (!FTimePicker) return;
    if (FTimePicker->Parent() != this) FTimePicker->SetParent(this);
    FTimePicker->SetColor(Color());
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->SetVisible(FKind == TExDateTimeKind::dkDateTime);
    FTimePicker->SetTime(Time());
    FTimePicker->TDateTimePicker::SetDateTime(GetDateTime());
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->Font()->Assign(Font());
    if (!FTimePicker->Visible() && Designing(this)) {
        delete FTimePicker;
        FTimePicker = nullptr;
        return;
    }
    const int w = MeasureText(FTimePicker->DisplayText()) + 31;
    const sys::TSystemInfo& si = sys::SystemInfo();
    if (si.VistaOrLater) {
        const int b = 0;  // the picker draws no bevels
        if (IsCommonControls6()) FTimePicker->SetBounds(Width() - w - 34 - b, 1, w, Height() - 2 - b);
        else FTimePicker->SetBounds(Width() - w - 23 - b, -2, w, Height() - b);
    } else {
        FTimePicker->SetBounds(Width() - w - 21, -2, w, Height());
    }
}

rtl::TDateTime TExDateTimePicker::Time() const
{
    if (FKind == TExDateTimeKind::dkDateTime && FTimePicker) return FTimePicker->Time();
    return TDateTimePicker::Time();
}

void TExDateTimePicker::SetTime(rtl::TDateTime v)
{
    TDateTimePicker::SetTime(v);
    if (FKind == TExDateTimeKind::dkDateTime && FTimePicker) FTimePicker->SetTime(v);
    UpdateTimePicker();
}

rtl::TDateTime TExDateTimePicker::GetDateTime()
{
    if (FTimePicker) TDateTimePicker::SetTime(FTimePicker->Time());
    return TDateTimePicker::DateTime();
}

void TExDateTimePicker::SetDateTime(rtl::TDateTime v)
{
    // Whole seconds of the time of day.
    const double day = std::floor(v);
    const double secs = std::floor((v - day) * 86400.0 + 1e-6);
    const rtl::TDateTime value = day + secs / 86400.0;
    TDateTimePicker::SetDateTime(value);
    FNotifiedDay = day;
    CreateTimePicker();
    FTimePicker->TDateTimePicker::SetDateTime(value);
}

void TExDateTimePicker::SetTimeFormat(const std::string& v)
{
    if (FTimePicker) FTimePicker->SetFormat(v);
    FTimeFormat = v;
    UpdateTimePicker();
}

void TExDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    TCustomDateTimePicker::SetBorderStyle(v);
    UpdateTimePicker();
}

void TExDateTimePicker::FireChange()
{
    if (OnChange) OnChange(this);
}

void TExDateTimePicker::FireClick()
{
    if (OnClick) OnClick(this);
}

void TExDateTimePicker::FocusTimerTick() { FFocusTimer->SetEnabled(false); }

void TExDateTimePicker::Loaded()
{
    TCustomDateTimePicker::Loaded();
    if (Designing(this)) return;
    CreateTimePicker();
    UpdateTimePicker();
    if (!Checked()) SetChecked(false);
}

void TExDateTimePicker::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        const auto* rec = reinterpret_cast<const TNMDateTime*>(m.LParam);
        TCustomDateTimePicker::Dispatch(m);
        if (rec && rec->code == DTN_DATETIMECHANGE) {
            const rtl::TDateTime day = std::floor(rec->value);
            if (ShowCheckbox() && day != FNotifiedDay) {
                Fpt = GetCursorPos();
                FFocusTimer->SetEnabled(true);
            }
            FNotifiedDay = day;
        }
        return;
    }
    case CM_ENABLEDCHANGED:
        TCustomDateTimePicker::Dispatch(m);
        if (FTimePicker) FTimePicker->SetEnabled(Enabled());
        return;
    case CM_COLORCHANGED:
    case WM_SIZE:
        TCustomDateTimePicker::Dispatch(m);
        UpdateTimePicker();
        return;
    default: TCustomDateTimePicker::Dispatch(m);
    }
}

} // namespace gridbase
