// Panels, shapes, bevels, images, paint boxes; timers on Qt's clock or on
// the manual clock of the tests.
#include "platform/gui/ExtCtrls.h"

#include <QTimer>

#include <algorithm>
#include <map>

#include "platform/gui/ControlsQt.h"

namespace gui {

// ------------------------------------------------------------------ panel

TCustomPanel::TCustomPanel(rtl::TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csOpaque, TControlStyleItem::csDoubleClicks,
                     TControlStyleItem::csReplicatable};
    FBevelOuter = TBevelCut::bvRaised;
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut b) { FBevelInner = b; Realign(); Invalidate(); }
void TCustomPanel::SetBevelOuter(TBevelCut b) { FBevelOuter = b; Realign(); Invalidate(); }
void TCustomPanel::SetBevelWidth(int w) { FBevelWidth = w; Realign(); Invalidate(); }
void TCustomPanel::SetBorderStyle(TBorderStyle s) { FBorderStyle = s; Realign(); Invalidate(); }
void TCustomPanel::SetAlignment(TAlignment a) { FAlignment = a; Invalidate(); }
void TCustomPanel::SetShowCaption(bool v) { FShowCaption = v; Invalidate(); }

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    int w = 0;
    if (FBevelOuter != TBevelCut::bvNone) w += FBevelWidth;
    if (FBevelInner != TBevelCut::bvNone) w += FBevelWidth;
    if (FBorderStyle == TBorderStyle::bsSingle) w += 1;
    InflateRect(rect, -w, -w);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone) return;
        const TColor top = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
        c->Frame3D(r, top, bottom, FBevelWidth);
    };
    if (FBorderStyle == TBorderStyle::bsSingle) c->Frame3D(r, clWindowFrame, clWindowFrame, 1);
    bevel(FBevelOuter);
    InflateRect(r, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
    if (FShowCaption && !Caption().empty()) {
        c->SetFont(Font());
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        uint32_t flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
        if (FAlignment == TAlignment::taCenter) flags |= DT_CENTER;
        else if (FAlignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
        c->DrawText(Caption(), r, flags);
    }
}

void TCustomPanel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) Invalidate();
    TCustomControl::Dispatch(m);
}

// ------------------------------------------------------------------ shape

TShape::TShape(rtl::TComponent* owner)
    : TGraphicControl(owner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FControlStyle.Include(TControlStyleItem::csReplicatable);
    FPen->OnChange = [this](rtl::TObject*) { Invalidate(); };
    FBrush->OnChange = [this](rtl::TObject*) { Invalidate(); };
    SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType s)
{
    FShape = s;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* c = Canvas();
    c->SetPen(FPen.get());
    c->SetBrush(FBrush.get());
    const int pw = FPen->Width();
    const int s2 = pw / 2;
    int x = s2, y = s2, w = Width() - pw + 1, h = Height() - pw + 1;
    if (pw == 0) { --w; --h; }
    if (FShape == TShapeType::stSquare || FShape == TShapeType::stRoundSquare || FShape == TShapeType::stCircle) {
        const int m = std::min(w, h);
        x += (w - m) / 2;
        y += (h - m) / 2;
        w = h = m;
    }
    switch (FShape) {
    case TShapeType::stRectangle:
    case TShapeType::stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case TShapeType::stRoundRect:
    case TShapeType::stRoundSquare: c->RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
    case TShapeType::stEllipse:
    case TShapeType::stCircle: c->Ellipse(x, y, x + w, y + h); break;
    }
}

// ------------------------------------------------------------------ bevel

TBevel::TBevel(rtl::TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle.Include(TControlStyleItem::csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    const TColor c1 = FStyle == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor c2 = FStyle == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    auto line = [&](int x1, int y1, int x2, int y2, TColor col) {
        c->Pen()->SetColor(col);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    const int w = Width(), h = Height();
    TRect r = ClientRect();
    switch (FShape) {
    case TBevelShape::bsBox: c->Frame3D(r, c1, c2, 1); break;
    case TBevelShape::bsFrame: {
        TRect a = Rect(0, 0, w - 1, h - 1), b = Rect(1, 1, w, h);
        c->Frame3D(a, c1, c1, 1);
        c->Frame3D(b, c2, c2, 1);
        break;
    }
    case TBevelShape::bsTopLine: line(0, 0, w, 0, c1); line(0, 1, w, 1, c2); break;
    case TBevelShape::bsBottomLine: line(0, h - 2, w, h - 2, c1); line(0, h - 1, w, h - 1, c2); break;
    case TBevelShape::bsLeftLine: line(0, 0, 0, h, c1); line(1, 0, 1, h, c2); break;
    case TBevelShape::bsRightLine: line(w - 2, 0, w - 2, h, c1); line(w - 1, 0, w - 1, h, c2); break;
    case TBevelShape::bsSpacer: break;
    }
}

// ------------------------------------------------------------------ image

TImage::TImage(rtl::TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>())
{
    FControlStyle.Include(TControlStyleItem::csReplicatable);
    FPicture->OnChange = [this](rtl::TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::PictureChanged()
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(FTransparent);
    Invalidate();
}

void TImage::SetTransparent(bool v)
{
    FTransparent = v;
    if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(v);
    Invalidate();
}

void TImage::SetAutoSize(bool v)
{
    FAutoSize = v;
    PictureChanged();
}

TCanvas* TImage::Canvas()
{
    TBitmap* b = FPicture->Bitmap();
    if (b->Empty()) b->SetSize(Width(), Height());
    return b->Canvas();
}

TCanvas* TImage::GetCanvas() { return TGraphicControl::Canvas(); }

TRect TImage::DestRect() const
{
    int w = FPicture->Width(), h = FPicture->Height();
    const int cw = Width(), ch = Height();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            const double xy = static_cast<double>(w) / h;
            if (cw / xy <= ch) { w = cw; h = static_cast<int>(cw / xy); }
            else { h = ch; w = static_cast<int>(ch * xy); }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (FCenter) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return Bounds(x, y, w, h);
}

void TImage::Paint()
{
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty()) return;
    TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
}

// -------------------------------------------------------------- paint box

TPaintBox::TPaintBox(rtl::TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle.Include(TControlStyleItem::csReplicatable);
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetColor(Color());
    if (OnPaint) OnPaint(this);
}

// ------------------------------------------------------------------ timers

namespace {

struct TimerEntry {
    std::function<void()> fire;
    unsigned interval = 0;
    bool active = false;
    uint64_t due = 0;          // manual clock
    QTimer* qt = nullptr;      // real clock
};

bool gManual = false;
uint64_t gNow = 0;

std::vector<TimerEntry*>& Entries()
{
    static std::vector<TimerEntry*> list;
    return list;
}

void Configure(TimerEntry* e)
{
    if (e->qt) e->qt->stop();
    if (!e->active || e->interval == 0) return;
    if (gManual) {
        e->due = gNow + e->interval;
        return;
    }
    EnsureQtApp();
    if (!e->qt) {
        e->qt = new QTimer();
        QObject::connect(e->qt, &QTimer::timeout, e->qt, [e] {
            try {
                e->fire();
            } catch (...) {
                Application->HandleException(nullptr);
            }
        });
    }
    e->qt->start(static_cast<int>(e->interval));
}

void Register(TimerEntry* e) { Entries().push_back(e); }
void Unregister(TimerEntry* e)
{
    auto& l = Entries();
    l.erase(std::remove(l.begin(), l.end(), e), l.end());
    if (e->qt) {
        e->qt->stop();
        e->qt->deleteLater();   // it may be the timer firing now
    }
    e->qt = nullptr;
}

} // namespace

struct TTimer::Impl {
    TimerEntry entry;
};

TTimer::TTimer(rtl::TComponent* owner) : rtl::TComponent(owner), FImpl(std::make_unique<Impl>())
{
    FImpl->entry.fire = [this] { Timer(); };
    Register(&FImpl->entry);
    UpdateTimer();
}

TTimer::~TTimer() { Unregister(&FImpl->entry); }

void TTimer::SetEnabled(bool v)
{
    FEnabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms)
{
    FInterval = ms;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    FImpl->entry.interval = FInterval;
    FImpl->entry.active = FEnabled && FInterval > 0 && static_cast<bool>(OnTimer || true);
    Configure(&FImpl->entry);
}

void TTimer::Timer()
{
    if (OnTimer) OnTimer(this);
}

void TTimer::UseManualClock(bool on)
{
    gManual = on;
    for (TimerEntry* e : std::vector<TimerEntry*>(Entries())) Configure(e);
}

bool TTimer::ManualClock() { return gManual; }
uint64_t TTimer::ClockNow() { return gNow; }

void TTimer::AdvanceClock(unsigned ms)
{
    const uint64_t target = gNow + ms;
    for (;;) {
        TimerEntry* next = nullptr;
        for (TimerEntry* e : Entries())
            if (e->active && e->interval > 0 && e->due <= target && (!next || e->due < next->due)) next = e;
        if (!next) break;
        gNow = next->due;
        next->due += next->interval;
        try {
            next->fire();
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }
    gNow = target;
}

// -------------------------------------------------------- window timers

namespace {
std::map<std::pair<HWND, uintptr_t>, std::unique_ptr<TimerEntry>>& WindowTimers()
{
    static std::map<std::pair<HWND, uintptr_t>, std::unique_ptr<TimerEntry>> timers;
    return timers;
}
} // namespace

bool SetTimer(HWND handle, uintptr_t id, unsigned ms)
{
    auto& timers = WindowTimers();
    auto key = std::make_pair(handle, id);
    auto it = timers.find(key);
    if (it == timers.end()) {
        auto e = std::make_unique<TimerEntry>();
        e->fire = [handle, id] {
            if (!IsWindow(handle)) KillTimer(handle, id);   // the window is gone
            else SendMessage(handle, WM_TIMER, id, 0);
        };
        Register(e.get());
        it = timers.emplace(key, std::move(e)).first;
    }
    it->second->interval = ms;
    it->second->active = true;
    Configure(it->second.get());
    return true;
}

bool KillTimer(HWND handle, uintptr_t id)
{
    auto& timers = WindowTimers();
    auto it = timers.find(std::make_pair(handle, id));
    if (it == timers.end()) return false;
    // The entry may be firing right now: stop it and free it later.
    TimerEntry* e = it->second.release();
    timers.erase(it);
    e->active = false;
    Unregister(e);
    QueueInMainThread([e] { delete e; });
    return true;
}

} // namespace gui
