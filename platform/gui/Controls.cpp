// TControl and TGraphicControl: bounds, state, inheritance of font and
// colour, the base message handlers and the virtual mouse handlers.
#include "platform/gui/Controls.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/ControlsQt.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtBridge.h"

namespace gui {

namespace {
TControl* gCapture = nullptr;
TControl* gMouseControl = nullptr;
} // namespace

TControl* GetCaptureControl() { return gCapture; }
void SetCaptureControl(TControl* control)
{
    if (gCapture == control) return;
    TControl* old = gCapture;
    gCapture = control;
    if (old) old->Perform(WM_CAPTURECHANGED, 0, 0);
}
TControl* MouseControl() { return gMouseControl; }

namespace qtw {
void SetMouseControl(TControl* c) { gMouseControl = c; }
} // namespace qtw

void TSizeConstraints::Assign(const rtl::TPersistent* source)
{
    if (auto s = dynamic_cast<const TSizeConstraints*>(source)) {
        MinWidth = s->MinWidth; MinHeight = s->MinHeight;
        MaxWidth = s->MaxWidth; MaxHeight = s->MaxHeight;
        return;
    }
    rtl::TPersistent::Assign(source);
}

// ----------------------------------------------------------------- TControl

TControl::TControl(rtl::TComponent* owner)
    : rtl::TComponent(owner), FFont(std::make_unique<TFont>())
{
    FControlStyle = {TControlStyleItem::csCaptureMouse, TControlStyleItem::csClickEvents,
                     TControlStyleItem::csSetCaption, TControlStyleItem::csDoubleClicks};
    FFont->OnChange = [this](rtl::TObject* s) { FontChanged(s); };
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl()
{
    Destroying();
    if (gCapture == this) gCapture = nullptr;
    if (gMouseControl == this) gMouseControl = nullptr;
    qtw::DragControlGone(this);
    FActionLink.reset();
    if (FParent) FParent->RemoveControl(this);
}

void TControl::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove) {
        if (component == FPopupMenu) FPopupMenu = nullptr;
        if (FActionLink && component == FActionLink->Action()) FActionLink.reset();
    }
}

void TControl::SetParent(TWinControl* parent)
{
    if (FParent == parent) return;
    if (parent == this) throw rtl::EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) {
        parent->InsertControl(this);
        if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (FConstraints.MinWidth > 0) width = std::max(width, FConstraints.MinWidth);
    if (FConstraints.MaxWidth > 0) width = std::min(width, FConstraints.MaxWidth);
    if (FConstraints.MinHeight > 0) height = std::max(height, FConstraints.MinHeight);
    if (FConstraints.MaxHeight > 0) height = std::min(height, FConstraints.MaxHeight);
    const bool sized = width != FWidth || height != FHeight;
    if (sized && !CanResize(width, height)) { width = FWidth; height = FHeight; }
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    const TRect old = BoundsRect();
    FLeft = left; FTop = top;
    const bool sizeChanged = width != FWidth || height != FHeight;
    FWidth = width; FHeight = height;
    // Anchors measure from the bounds given by code, not from alignment.
    if (FParent && !FParent->FAligning) {
        const TRect pc = FParent->ClientRect();
        FAnchorOrigW = pc.Width();
        FAnchorOrigH = pc.Height();
        FAnchorRect = BoundsRect();
    }
    if (IsWindowed()) {
        BoundsChanged();
    } else if (FParent) {
        QWidget* w = ControlAccess::ClientWidget(FParent);
        if (w) {
            w->update(QRect(old.Left, old.Top, old.Width(), old.Height()));
            w->update(QRect(FLeft, FTop, FWidth, FHeight));
        }
        if (sizeChanged) Resize();
    }
    if (FParent) RequestAlign();
}

void ControlAccess::SetBoundsFromWindow(TControl* c, int l, int t, int w, int h)
{
    c->FLeft = l; c->FTop = t; c->FWidth = w; c->FHeight = h;
}

bool TControl::CanResize(int& newWidth, int& newHeight)
{
    bool resize = true;
    if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
    return resize;
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
void TControl::SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
void TControl::SetClientSize(int w, int h)
{
    const TRect cr = ClientRect();
    SetBounds(FLeft, FTop, FWidth + (w - cr.Width()), FHeight + (h - cr.Height()));
}

TPoint TControl::ClientOrigin() const
{
    if (!FParent) return {FLeft, FTop};
    const TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint p, TWinControl* ancestor) const
{
    if (!ancestor) ancestor = FParent;
    if (!ancestor) return p;
    const TPoint s = ClientToScreen(p);
    return ancestor->ScreenToClient(s);
}

TPoint TControl::ParentToClient(TPoint p, TWinControl* ancestor) const
{
    if (!ancestor) ancestor = FParent;
    if (!ancestor) return p;
    return ScreenToClient(ancestor->ClientToScreen(p));
}

void TControl::SetAlign(TAlign align)
{
    if (FAlign == align) return;
    FAlign = align;
    if (FParent && FAlign == TAlign::alNone) {
        const TRect pc = FParent->ClientRect();
        FAnchorOrigW = pc.Width(); FAnchorOrigH = pc.Height(); FAnchorRect = BoundsRect();
    }
    RequestAlign();
}

void TControl::SetAnchors(const TAnchors& anchors)
{
    FAnchors = anchors;
    if (FParent) {
        const TRect pc = FParent->ClientRect();
        FAnchorOrigW = pc.Width(); FAnchorOrigH = pc.Height(); FAnchorRect = BoundsRect();
    }
}

void TControl::RequestAlign()
{
    if (FParent) FParent->DoAlign(this);
}

void TControl::SetVisible(bool visible)
{
    if (FVisible == visible) return;
    VisibleChanging();
    FVisible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
    RequestAlign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool enabled)
{
    if (FEnabled == enabled) return;
    FEnabled = enabled;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (FParentFont == value) return;
    FParentFont = value;
    if (value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(rtl::TObject*)
{
    if (!FUpdatingFont) FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor color)
{
    if (FColor != color) {
        FColor = color;
        Perform(CM_COLORCHANGED, 0, 0);
    }
    FParentColor = false;
}

void TControl::SetParentColor(bool value)
{
    if (FParentColor == value) return;
    FParentColor = value;
    if (value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetText(const std::string& s)
{
    if (GetText() == s) return;
    SetTextBuf(s);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetTextBuf(const std::string& s) { FText = s; }

void TControl::SetCursor(TCursor cursor)
{
    if (FCursor == cursor) return;
    FCursor = cursor;
    if (IsWindowed()) {
        static_cast<TWinControl*>(this)->Data().shownSet = false;
        ApplyCursor(ControlAccess::Widget(static_cast<TWinControl*>(this)), cursor);
    }
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value)
{
    FShowHint = value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (FParentShowHint == value) return;
    FParentShowHint = value;
    if (value && FParent) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action)
{
    if (!action) { FActionLink.reset(); return; }
    if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
    FActionLink->SetAction(action);
    action->FreeNotification(this);
    ActionChange(action, false);
}

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (!a) return;
    (void)checkDefaults;
    SetCaption(a->Caption());
    SetEnabled(a->Enabled());
    SetHint(a->Hint());
    SetVisible(a->Visible());
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

// -- painting

void TControl::Invalidate()
{
    if (!FParent || !FVisible) return;
    ClearOverlay(FParent);
    if (QWidget* w = ControlAccess::ClientWidget(FParent)) w->update(QRect(FLeft, FTop, FWidth, FHeight));
}

void TControl::InvalidateRect(const TRect& r)
{
    if (IsWindowed()) {
        if (QWidget* w = ControlAccess::ClientWidget(static_cast<TWinControl*>(this)))
            w->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    } else if (FParent) {
        if (QWidget* w = ControlAccess::ClientWidget(FParent))
            w->update(QRect(FLeft + r.Left, FTop + r.Top, r.Width(), r.Height()));
    }
}

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (!FParent) return;
    auto& list = ControlAccess::Children(FParent);
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    if (IsWindowed()) ControlAccess::Widget(static_cast<TWinControl*>(this))->raise();
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent) return;
    auto& list = ControlAccess::Children(FParent);
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    if (IsWindowed()) ControlAccess::Widget(static_cast<TWinControl*>(this))->lower();
    Invalidate();
}

// -- messages

LRESULT TControl::Perform(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) { Dispatch(m); }

void TControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_CONTEXTMENU:
        // A window passes an unanswered request on to its parent; a graphic
        // control was asked by its parent, which goes on by itself.
        if (m.Result == 0 && FParent && IsWindowed()) m.Result = FParent->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
        break;
    case CM_HITTEST:
    case WM_NCHITTEST:
        m.Result = HTCLIENT;
        break;
    default:
        break;
    }
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMMouse(m, TMouseButton::mbLeft, true, false); return;
    case WM_RBUTTONDOWN: WMMouse(m, TMouseButton::mbRight, true, false); return;
    case WM_MBUTTONDOWN: WMMouse(m, TMouseButton::mbMiddle, true, false); return;
    case WM_LBUTTONUP: WMMouse(m, TMouseButton::mbLeft, false, false); return;
    case WM_RBUTTONUP: WMMouse(m, TMouseButton::mbRight, false, false); return;
    case WM_MBUTTONUP: WMMouse(m, TMouseButton::mbMiddle, false, false); return;
    case WM_LBUTTONDBLCLK: WMMouse(m, TMouseButton::mbLeft, true, true); return;
    case WM_RBUTTONDBLCLK: WMMouse(m, TMouseButton::mbRight, true, true); return;
    case WM_MBUTTONDBLCLK: WMMouse(m, TMouseButton::mbMiddle, true, true); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_MOUSEWHEEL:
        m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
        if (m.Result == 0) DefaultHandler(m);
        return;
    case CM_MOUSEWHEEL: WMMouseWheel(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (gCapture == this) SetCaptureControl(nullptr);
        DefaultHandler(m);
        return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_HINTSHOW: CMHintShow(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_DRAG: CMDrag(m); return;
    default: DefaultHandler(m); return;
    }
}

void TControl::SendCancelMode(TControl* sender)
{
    if (TCustomForm* f = GetParentForm())
        if (f->ActiveControl() && f->ActiveControl() != sender)
            f->ActiveControl()->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
}

void TControl::WMMouse(TMessage& m, TMouseButton button, bool down, bool dbl)
{
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeysToShiftState(static_cast<uint32_t>(m.WParam));
    if (down) {
        SendCancelMode(this);
        DefaultHandler(m);
        if (button == TMouseButton::mbLeft) {
            if (FControlStyle.Contains(TControlStyleItem::csCaptureMouse)) SetMouseCapture(true);
            if (dbl) {
                if (FControlStyle.Contains(TControlStyleItem::csClickEvents)) DblClick();
            } else if (FControlStyle.Contains(TControlStyleItem::csClickEvents)) {
                FControlState.Include(TControlStateItem::csClicked);
            }
        }
        if (dbl) shift.Include(TShiftStateItem::ssDouble);
        if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents)) MouseDown(button, shift, x, y);
        if (button == TMouseButton::mbLeft && !dbl && FDragMode == TDragMode::dmAutomatic && !Dragging())
            qtw::BeginAutoDrag(this, ClientToScreen({x, y}));
    } else {
        DefaultHandler(m);
        if (button == TMouseButton::mbLeft) {
            if (FControlStyle.Contains(TControlStyleItem::csCaptureMouse)) SetMouseCapture(false);
            if (FControlState.Contains(TControlStateItem::csClicked)) {
                FControlState.Exclude(TControlStateItem::csClicked);
                if (ClientRect().Contains({x, y})) Click();
            }
        }
        if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents)) MouseUp(button, shift, x, y);
    }
}

void TControl::WMMouseMove(TMessage& m)
{
    DefaultHandler(m);
    if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents))
        MouseMove(KeysToShiftState(static_cast<uint32_t>(m.WParam)), GET_X_LPARAM(m.LParam),
                  GET_Y_LPARAM(m.LParam));
}

void TControl::WMMouseWheel(TMessage& m)
{
    const TShiftState shift = KeysToShiftState(LOWORD(m.WParam));
    const TPoint pos{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(m.WParam), pos)) m.Result = 1;
    else if (FParent) m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

void TControl::WMContextMenu(TMessage& m)
{
    if (m.Result != 0) return;
    TPoint screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    const bool invalid = m.LParam == -1;
    TPoint client = invalid ? TPoint{-1, -1} : ScreenToClient(screen);
    bool handled = false;
    DoContextPopup(client, handled);
    m.Result = handled ? 1 : 0;
    if (handled) return;
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (invalid) screen = ClientToScreen({0, 0});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(screen.X, screen.Y);
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

void TControl::CMEnabledChanged(TMessage& m)
{
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMFontChanged(TMessage& m)
{
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMColorChanged(TMessage& m)
{
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent) return;
    FUpdatingFont = true;
    FFont->Assign(FParent->Font());
    FUpdatingFont = false;
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent) return;
    if (FColor != FParent->Color()) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED, 0, 0);
    }
    FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (FParentShowHint && FParent) {
        FShowHint = FParent->ShowHint();
        FParentShowHint = true;
    }
}

void TControl::CMVisibleChanged(TMessage& m)
{
    if (!IsWindowed() && FParent) {
        if (QWidget* w = ControlAccess::ClientWidget(FParent)) w->update(QRect(FLeft, FTop, FWidth, FHeight));
    }
    DefaultHandler(m);
}

void TControl::CMTextChanged(TMessage& m)
{
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMMouseEnter(TMessage& m)
{
    if (OnMouseEnter) OnMouseEnter(this);
    DefaultHandler(m);
}

void TControl::CMMouseLeave(TMessage& m)
{
    if (OnMouseLeave) OnMouseLeave(this);
    DefaultHandler(m);
}

void TControl::CMHintShow(TMessage& m) { DefaultHandler(m); }

TCustomForm* TControl::GetParentForm() const { return gui::GetParentForm(this); }

bool TControl::MouseInClient() const { return gMouseControl == this; }
bool TControl::MouseCapture() const { return gCapture == this; }
void TControl::SetMouseCapture(bool value)
{
    if (value) SetCaptureControl(this);
    else if (gCapture == this) SetCaptureControl(nullptr);
}

// -- virtual handlers

void TControl::Click()
{
    if (OnClick) OnClick(this);
    else if (FActionLink && FActionLink->Action()) FActionLink->Execute(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled) return true;
    int steps = std::abs(wheelDelta) / WHEEL_DELTA;
    if (steps == 0 && wheelDelta != 0) steps = 1;
    for (int i = 0; i < steps; ++i)
        handled = (wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) || handled;
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::DragOver(rtl::TObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(rtl::TObject* source, int x, int y)
{
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

// ---------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(rtl::TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT) {
        if (m.WParam) Paint();
        return;
    }
    TControl::Dispatch(m);
}

namespace {
std::vector<TControlCanvas*>& PendingCanvases()
{
    static std::vector<TControlCanvas*> list;
    return list;
}
} // namespace

TControlCanvas::~TControlCanvas()
{
    auto& l = PendingCanvases();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

void TControlCanvas::CreateHandle()
{
    // Outside painting the control's window gets an overlay picture that
    // the canvas draws on; the message loop shows it soon after.
    if (!FControl->Showing()) return;
    TWinControl* host = FControl->IsWindowed() ? static_cast<TWinControl*>(FControl) : FControl->Parent();
    if (!host) return;
    QWidget* w = ControlAccess::ClientWidget(host);
    auto& d = host->Data();
    if (!d.overlay || d.overlay->size() != w->size()) {
        d.overlay = std::make_unique<QImage>(w->size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        d.overlay->fill(Qt::transparent);
    }
    TCanvas::Impl& ci = Data();
    ci.ownPainter = std::make_unique<QPainter>(d.overlay.get());
    ci.painter = ci.ownPainter.get();
    ci.image = d.overlay.get();
    ci.width = d.overlay->width();
    ci.height = d.overlay->height();
    ci.rasterDevice = true;
    ci.painter->setRenderHint(QPainter::Antialiasing, false);
    ci.painter->setRenderHint(QPainter::TextAntialiasing, true);
    if (!FControl->IsWindowed()) {
        ci.viewportOrg = QPoint(FControl->Left(), FControl->Top());
        ci.windowOrg = QPoint(0, 0);
        ci.clip = QRegion(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
    }
    auto& pending = PendingCanvases();
    if (std::find(pending.begin(), pending.end(), this) == pending.end()) {
        if (pending.empty()) QueueInMainThread([] {
            std::vector<TControlCanvas*> list = PendingCanvases();
            for (TControlCanvas* c : list) c->FlushDrawing();
        });
        pending.push_back(this);
    }
}

void TControlCanvas::FlushDrawing()
{
    auto& l = PendingCanvases();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    if (!Data().ownPainter) return;
    CanvasAccess::Free(*this);
    if (!FControl->IsWindowed()) {
        Data().viewportOrg = QPoint(0, 0);
        Data().clip.reset();
    }
    TWinControl* host = FControl->IsWindowed() ? static_cast<TWinControl*>(FControl) : FControl->Parent();
    if (host) ControlAccess::ClientWidget(host)->update();
}

void PaintOverlay(TWinControl* control, QPainter& painter)
{
    auto& d = control->Data();
    if (!d.overlay) return;
    // The canvases drawing before may have left an origin and a clip behind.
    painter.resetTransform();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, *d.overlay);
}

void ClearOverlay(TWinControl* control)
{
    auto& d = control->Data();
    if (!d.overlay) return;
    // Canvases still drawing on it stop first.
    std::vector<TControlCanvas*> list = PendingCanvases();
    for (TControlCanvas* c : list) {
        TControl* cc = c->Control();
        TWinControl* host = cc->IsWindowed() ? static_cast<TWinControl*>(cc) : cc->Parent();
        if (host == control) c->FlushDrawing();
    }
    d.overlay.reset();
}

// ------------------------------------------------------------ shift states

namespace {
int gModifiers = 0;   // Qt::KeyboardModifiers
int gButtons = 0;     // Qt::MouseButtons
bool gKeysDown[256] = {};
} // namespace

namespace qtw {
void NoteModifiers(int modifiers, int buttons)
{
    gModifiers = modifiers;
    gButtons = buttons;
}
void NoteKey(uint16_t vk, bool down)
{
    if (vk < 256) gKeysDown[vk] = down;
}
} // namespace qtw

TShiftState GetShiftState() { return qtw::ShiftFromQt(gModifiers, gButtons); }

TShiftState KeysToShiftState(uint32_t keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(TShiftStateItem::ssShift);
    if (keys & MK_CONTROL) s.Include(TShiftStateItem::ssCtrl);
    if (keys & MK_LBUTTON) s.Include(TShiftStateItem::ssLeft);
    if (keys & MK_RBUTTON) s.Include(TShiftStateItem::ssRight);
    if (keys & MK_MBUTTON) s.Include(TShiftStateItem::ssMiddle);
    if (gModifiers & Qt::AltModifier) s.Include(TShiftStateItem::ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s;
    if (gModifiers & Qt::ShiftModifier) s.Include(TShiftStateItem::ssShift);
    if (gModifiers & Qt::ControlModifier) s.Include(TShiftStateItem::ssCtrl);
    if (keyData & KF_ALTDOWN_BIT) s.Include(TShiftStateItem::ssAlt);
    return s;
}

int16_t GetKeyState(int vk)
{
    bool down = false;
    switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: down = gModifiers & Qt::ShiftModifier; break;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: down = gModifiers & Qt::ControlModifier; break;
    case VK_MENU: case VK_LMENU: case VK_RMENU: down = gModifiers & Qt::AltModifier; break;
    case VK_LBUTTON: down = gButtons & Qt::LeftButton; break;
    case VK_RBUTTON: down = gButtons & Qt::RightButton; break;
    case VK_MBUTTON: down = gButtons & Qt::MiddleButton; break;
    default: down = vk >= 0 && vk < 256 && gKeysDown[vk]; break;
    }
    return down ? static_cast<int16_t>(0x8000) : 0;
}

int16_t GetAsyncKeyState(int vk) { return GetKeyState(vk); }

TPoint GetCursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void SetCursorPos(TPoint p) { QCursor::setPos(p.X, p.Y); }

void ShowWindowCursor(TWinControl* control, TCursor cursor)
{
    if (!control) return;
    TWinControl::Impl& d = control->Data();
    const bool own = cursor == control->Cursor();
    if (own && !d.shownSet) return;
    if (!own && d.shownSet && d.shownCursor == cursor) return;
    d.shownSet = !own;
    d.shownCursor = cursor;
    ApplyCursor(ControlAccess::Widget(control), cursor);
}

TCursor ShownWindowCursor(const TWinControl* control)
{
    if (!control) return crDefault;
    const TWinControl::Impl& d = control->Data();
    return d.shownSet ? d.shownCursor : control->Cursor();
}

} // namespace gui
