// Private to the control sources of platform/gui: the Qt widgets behind
// TWinControl and the glue that turns their events into messages.
#pragma once

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

#include "platform/gui/Controls.h"

class QKeyEvent;
class QImage;
class QScrollBar;
class QMenuBar;
class QCursor;
class QPainter;

namespace gui {

class TCustomForm;

namespace qtw {

// The control behind a Qt widget.  Events of the widget are turned into
// messages for the control; NativeEvent runs the widget's own handling.
class IBridge {
public:
    virtual ~IBridge() = default;
    virtual bool NativeEvent(QEvent* e) = 0;
    virtual QWidget* Widget() = 0;
    TWinControl* Control = nullptr;
};

// Drag events over a window (DragDrop.cpp); false when the window takes no drops.
bool HandleDropEvent(TWinControl* control, QEvent* e);

// Turns one Qt event of a bridged widget into messages (ControlsEvents.cpp).
bool HandleEvent(IBridge* bridge, QEvent* e);

template <class W>
class Bridge : public W, public IBridge {
public:
    template <class... A>
    explicit Bridge(A&&... args) : W(std::forward<A>(args)...) {}
    bool event(QEvent* e) override { return Control ? HandleEvent(this, e) : W::event(e); }
    bool NativeEvent(QEvent* e) override { return W::event(e); }
    QWidget* Widget() override { return this; }
};

// Routes input events of a native control's inner widgets (a combo box's
// text field, a memo's viewport) to the control as messages; what the
// control leaves to the default handler continues to the inner widget.
class ChildInputFilter : public QObject {
public:
    explicit ChildInputFilter(TWinControl* control) : FControl(control) {}
    bool eventFilter(QObject* watched, QEvent* e) override;
    TWinControl* FControl;
};

// The message being handled for a Qt event, so that the default handler can
// run the widget's native behaviour for exactly that event.
struct NativeContext {
    TWinControl* control = nullptr;
    uint32_t msg = 0;
    QEvent* event = nullptr;
    IBridge* bridge = nullptr;       // nullptr: an inner widget's filtered event
    bool reachedDefault = false;     // the message went to the default handler
    bool nativeResult = false;
    bool deferNative = false;        // keys: native handling runs after WM_CHAR
};
NativeContext* CurrentNative();
struct NativeScope {
    explicit NativeScope(NativeContext& c);
    ~NativeScope();
    NativeContext* prev;
};

// Runs a message through the control's WindowProc (a plain call when the
// control is gone meanwhile: the result then is 0).
LRESULT Deliver(TControl* control, TMessage& m);

// Virtual key of a Qt key (0 when none), and the Qt key of a virtual key.
uint16_t VirtualKeyOf(int qtKey, bool keypad);
int QtKeyOf(uint16_t vk);
TShiftState ShiftFromQt(int modifiers, int buttons);
void NoteModifiers(int modifiers, int buttons);
// The screen point of the mouse event being handled (BeginDrag starts there).
void NoteMousePos(int x, int y);
// Drag of controls (DragControls.cpp): a left press on a control with
// DragMode dmAutomatic, and a control going away (ends its drag).
void BeginAutoDrag(TControl* control, TPoint screenPos);
void DragControlGone(TControl* control);

// Handlers run from a toolkit signal must not let an exception pass through
// the toolkit's own code (its clean-up, such as a button's pressed state and
// mouse grab, would be skipped).  Guarded<Args...>(f) wraps f so that an
// exception is shown the way any event handler's exception is.
void ShowSignalException();

template <typename... A, typename F>
auto Guarded(F f)
{
    return [f = std::move(f)](A... a) {
        try {
            f(a...);
        } catch (...) {
            ShowSignalException();
        }
    };
}

} // namespace qtw

struct TWinControl::Impl {
    TWindowKind kind = TWindowKind::wkPlain;
    QWidget* widget = nullptr;       // the control's window (bridged)
    qtw::IBridge* bridge = nullptr;
    QWidget* client = nullptr;       // where child windows go (usually widget)
    QWidget* top = nullptr;          // forms: the top-level frame around the client
    bool customPaint = true;         // erase + PaintWindow, else the native look
    bool paintOverNative = false;    // native look, then WM_PAINT with a canvas
    bool ncPaint = false;            // WM_NCPAINT with a window canvas after painting
    std::unique_ptr<TCanvas> paintCanvas;   // for windows without their own canvas
    std::unique_ptr<TCanvas> windowCanvas;  // the whole window, for WM_NCPAINT
    std::unique_ptr<qtw::ChildInputFilter> filter;
    QPointer<QWidget> native;        // the native widget of kinds other than wkPlain
    QScrollBar* hbar = nullptr;      // scrolling windows' bars
    QScrollBar* vbar = nullptr;
    QMenuBar* menuBar = nullptr;     // forms with a main menu
    // What was drawn on the window's controls outside painting; shown over
    // the painted picture until the window is invalidated.
    std::unique_ptr<QImage> overlay;
    // The cursor ShowWindowCursor shows instead of Cursor; shownSet while so.
    TCursor shownCursor = crDefault;
    bool shownSet = false;
};

// Helpers shared by the control sources.
struct ControlAccess {
    static QWidget* Widget(const TWinControl* c) { return c->FImpl->widget; }
    static QWidget* ClientWidget(const TWinControl* c) { return c->FImpl->client; }
    static void SetBoundsFromWindow(TControl* c, int l, int t, int w, int h);
    static void SetHandle(TWinControl* c, HWND h) { c->FHandle = h; }
    static void PaintGraphicChildren(TWinControl* c, QPainter* painter, int w, int h);
    static std::vector<TControl*>& Children(TWinControl* c) { return c->FControls; }
    static void SetVisibleFlag(TControl* c, bool v) { c->FVisible = v; }
};

// The combo box's widget (StdCtrls.cpp: it reports the list opening and closing).
QWidget* CreateComboWidget(TWinControl* control, qtw::IBridge*& bridge);
// Creates the widget of a window kind (the form's frame is made by Forms.cpp).
QWidget* CreateWindowWidget(TWinControl* control, int kind, qtw::IBridge*& bridge);
// The widget of any control: its own window, or its parent's client for a
// graphic control.
QWidget* WidgetOf(const TControl* control);
// The control of a widget or of its nearest bridged ancestor.
TWinControl* ControlOfWidget(QWidget* w);
// Keeps Qt's cursor of a widget in step with a control's Cursor.
void ApplyCursor(QWidget* w, TCursor cursor);
// The move/size loop of child windows (ControlsSizeMove.cpp): true when the
// mouse event was taken by it.
namespace qtw {
bool SizeMoveMouse(TWinControl* c, QMouseEvent* me, QPoint local);
}
// The Qt application, made when missing.
void EnsureQtApp();
// Shows what was drawn outside painting over the window's picture.
void PaintOverlay(TWinControl* control, QPainter& painter);
// Drops it (the window is being repainted from scratch).
void ClearOverlay(TWinControl* control);
// The program's own cursor of that number (Screen's cursor table).
bool LookupScreenCursor(TCursor index, QCursor& out);
// A widget with its children drawn into a new 32-bit bitmap on white.
std::unique_ptr<TBitmap> RenderWidget(QWidget* w);

} // namespace gui
