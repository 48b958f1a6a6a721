// The control tree: TControl (bounds, visibility, font and colour with
// parent inheritance, alignment, messages and the mouse and key handlers),
// TGraphicControl (a control without a window of its own, painted by its
// parent), TWinControl (owns a window: children, focus and tab order) and
// TCustomControl (a window with a canvas and Paint).
//
// Messages.  Every window event arrives as a TMessage through WindowProc
// (by default WndProc), which hands it to Dispatch.  A class that handles a
// message overrides Dispatch, switches on the number and calls the
// ancestor's Dispatch for the rest, or to do "inherited" inside a handler:
//
//     void TMyControl::Dispatch(TMessage& m)
//     {
//         if (m.Msg == WM_SIZE) { TCustomControl::Dispatch(m); Layout(); return; }
//         TCustomControl::Dispatch(m);
//     }
//
// The library's own handlers (mouse, keys, focus, paint, CM_*) live in the
// base Dispatch methods and call the virtual handlers (MouseDown, KeyDown,
// Paint, ...), so overriding either works.  A message nobody handles reaches
// DefaultHandler: for a window event that is the native behaviour of the
// window (a text field inserts the typed character), for a message sent by
// code it is the native control's answer (EM_GETRECT, CB_SHOWDROPDOWN ...).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Types.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Set.h"

namespace gui {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;
class TDragObject;

// ------------------------------------------------------------- small types

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = rtl::Set<TShiftStateItem, 8>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = rtl::Set<TAnchorKind, 8>;
inline TAnchors DefaultAnchors() { return {TAnchorKind::akLeft, TAnchorKind::akTop}; }

enum class TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
    csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
    csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient,
    csMenuEvents, csNeedsBorderPaint, csParentBackground, csPannable,
};
using TControlStyle = rtl::Set<TControlStyleItem, 32>;

enum class TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
    csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking,
};
using TControlState = rtl::Set<TControlStateItem, 16>;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// What a CM_DRAG message asks of the control (WParam); LParam points to a
// TDragRec.  dmFindTarget: the control puts the control that takes the drag
// at that point into Target (itself by default).
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
struct TDragRec {
    TPoint Pos;                     // in the client coordinates of the control asked
    rtl::TObject* Source = nullptr; // the dragged control, or the drag object OnStartDrag made
    class TControl* Target = nullptr;
    bool Accept = false;            // dmDragEnter/dmDragMove: whether a drop there is taken
};
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Cursor numbers; positive numbers are the program's own cursors (Screen).
using TCursor = int;
enum : TCursor {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
    crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
    crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
    crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
    crSizeAll = -22, crSize = -22,
};

using TKeyEvent = std::function<void(rtl::TObject* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(rtl::TObject* sender, char16_t& key)>;
using TMouseEvent =
    std::function<void(rtl::TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(rtl::TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(rtl::TObject* sender, TShiftState shift, int wheelDelta,
                                            TPoint mousePos, bool& handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(rtl::TObject* sender, TShiftState shift, TPoint mousePos, bool& handled)>;
using TContextPopupEvent = std::function<void(rtl::TObject* sender, TPoint mousePos, bool& handled)>;
using TDragOverEvent = std::function<void(rtl::TObject* sender, rtl::TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(rtl::TObject* sender, rtl::TObject* source, int x, int y)>;
using TStartDragEvent = std::function<void(rtl::TObject* sender, TDragObject*& dragObject)>;
using TEndDragEvent = std::function<void(rtl::TObject* sender, rtl::TObject* target, int x, int y)>;
using TCanResizeEvent = std::function<void(rtl::TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

// Shift state from the MK_* flags of a mouse message and the modifier keys.
TShiftState KeysToShiftState(uint32_t keys);
// Shift state from a key message's key data and the modifier keys held.
TShiftState KeyDataToShiftState(LPARAM keyData);
// The modifier keys and buttons held at the moment of the message being handled.
TShiftState GetShiftState();
// Whether a virtual key is held (high bit set, as the classic call answers).
int16_t GetKeyState(int vk);
int16_t GetAsyncKeyState(int vk);

// Minimum and maximum sizes (0: no limit).
class TSizeConstraints : public rtl::TPersistent {
public:
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    void Assign(const rtl::TPersistent* source) override;
};

// A canvas drawing on a control: during painting it draws on the window;
// outside painting, drawing on it is recorded on the window's picture and
// shown at once (rubber bands, hover marks).
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(class TControl* control) : FControl(control) {}
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    // Ends drawing outside painting and shows it (done by the message loop).
    void FlushDrawing();

protected:
    void CreateHandle() override;

private:
    TControl* FControl;
};

// --------------------------------------------------------------- TControl

class TControl : public rtl::TComponent {
public:
    explicit TControl(rtl::TComponent* owner);
    ~TControl() override;

    // -- parent and bounds (relative to the parent's client area)
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The area children and painting use, origin (0, 0).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    void SetClientSize(int w, int h);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // Client point of this control into the coordinates of an ancestor
    // (the direct parent when ancestor is nullptr).
    TPoint ClientToParent(TPoint p, TWinControl* ancestor = nullptr) const;
    TPoint ParentToClient(TPoint p, TWinControl* ancestor = nullptr) const;
    TSizeConstraints* Constraints() { return &FConstraints; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    const TAnchors& Anchors() const { return FAnchors; }
    void SetAnchors(const TAnchors& anchors);

    // -- state
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible (and the form shown).
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);
    const TControlStyle& ControlStyle() const { return FControlStyle; }
    void SetControlStyle(const TControlStyle& s) { FControlStyle = s; }
    TControlStyle& ControlStyleRef() { return FControlStyle; }
    const TControlState& ControlState() const { return FControlState; }
    void SetControlState(const TControlState& s) { FControlState = s; }

    // -- look
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* font) { FFont->Assign(font); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // Caption and Text are the same string (UTF-8).
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& s);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint) { FHint = hint; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode mode) { FDragMode = mode; }
    // The cursor shown while this control is dragged over a control that takes it.
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor cursor) { FDragCursor = cursor; }

    // -- action link: Caption, Enabled, Visible, Hint and OnClick follow the action.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    // Called by the action when it changes.
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

    // -- painting
    virtual void Invalidate();
    void InvalidateRect(const TRect& r);
    // Paints pending invalid areas now.
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // -- messages
    // The hook every message goes through; defaults to WndProc.  Replace it to
    // subclass the control from outside (keep the old value and call it).
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    LRESULT Perform(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // -- the form holding this control (nullptr when none)
    TCustomForm* GetParentForm() const;
    // Whether the mouse is over the control (as last seen).
    bool MouseInClient() const;
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // -- drag and drop inside the program (platform/gui/DragControls.h).
    // BeginDrag starts dragging this control with the left button held: at
    // once, or (immediate false) once the mouse has moved threshold pixels
    // (-1: DragThreshold()).  The pointer then brings DragOver to the control
    // under it; the release drops on it when it accepted, Esc or a right
    // click cancels.  DragMode dmAutomatic calls BeginDrag(false) on a left press.
    void BeginDrag(bool immediate, int threshold = -1);
    // From BeginDrag until the drag ends (also while waiting for the threshold).
    bool Dragging() const;
    // Ends this control's drag: drops on the control under the pointer when
    // drop is true and it accepted, else cancels.
    void EndDrag(bool drop);

    // -- events
    rtl::TNotifyEvent OnClick;
    rtl::TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    rtl::TNotifyEvent OnMouseEnter;
    rtl::TNotifyEvent OnMouseLeave;
    rtl::TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // Virtual handlers, called from the messages.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void Resize();
    virtual bool CanResize(int& newWidth, int& newHeight);
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    virtual void DragOver(rtl::TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(rtl::TObject* source, int x, int y);
    // The drag of this control starts (OnStartDrag) and ends (OnEndDrag;
    // target nullptr when nothing took the drop).
    virtual void DoStartDrag(TDragObject*& dragObject);
    virtual void DoEndDrag(rtl::TObject* target, int x, int y);

    // Whether the control is a window (TWinControl).
    virtual bool IsWindowed() const { return false; }
    // The control's own canvas (TGraphicControl and TCustomControl), else nullptr.
    virtual TCanvas* GetCanvas() { return nullptr; }

protected:
    virtual std::string GetText() const { return FText; }
    // Stores the text; native controls put it into their window.
    virtual void SetTextBuf(const std::string& s);
    virtual void Changed();
    // The control's window changed size (after SetBounds).
    virtual void BoundsChanged() {}
    virtual void VisibleChanging() {}
    // Messages of the base control.
    void WMMouse(TMessage& m, TMouseButton button, bool down, bool dbl);
    void WMMouseMove(TMessage& m);
    void WMMouseWheel(TMessage& m);
    void WMContextMenu(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMHintShow(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMDrag(TMessage& m);
    virtual void RequestAlign();
    void FontChanged(rtl::TObject*);
    void SendCancelMode(TControl* sender);
    // Where the Qt window of the control (or of its parent) paints this control.
    friend class TWinControl;
    friend class TControlCanvas;
    friend struct ControlAccess;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    // Distances kept by anchors: the parent's client size when the
    // anchors were last taken.
    int FAnchorOrigW = -1, FAnchorOrigH = -1;
    TRect FAnchorRect;
    TAlign FAlign = TAlign::alNone;
    TAnchors FAnchors = DefaultAnchors();
    bool FVisible = true;
    bool FEnabled = true;
    TControlStyle FControlStyle;
    TControlState FControlState;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FParentColor = false;
    bool FUpdatingFont = false;
    TColor FColor = clBtnFace;
    std::string FText;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TDragMode FDragMode = TDragMode::dmManual;
    TCursor FDragCursor = crDrag;
    TSizeConstraints FConstraints;
    std::unique_ptr<TControlActionLink> FActionLink;

    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
};

// A control without its own window: it paints on its parent's window and
// receives the mouse messages that land on its rectangle.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(rtl::TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }
    TCanvas* GetCanvas() override { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// --------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
public:
    explicit TWinControl(rtl::TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }
    HWND Handle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded() {}
    // Rebuilds nothing here; kept for callers that change window styles.
    virtual void RecreateWnd();

    // -- children (every control whose Parent is this one, in z-order)
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;
    // The visible child at a client point, or nullptr.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
    // Sends the message to every child.
    void Broadcast(TMessage& message);
    void NotifyControls(uint32_t msg);

    // -- alignment
    void DisableAlign();
    void EnableAlign();
    void Realign();
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int w);

    // -- focus
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int order);
    // The children in tab order, depth first (what Tab walks through).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    // Moves the focus to the next or previous control after current.
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }
    TBrush* Brush() const { return FBrush.get(); }
    TBevelCut BevelInner() const { return FBevelInner; }
    TBevelCut BevelOuter() const { return FBevelOuter; }
    bool Ctl3D() const { return FCtl3D; }
    // A change sends CM_CTL3DCHANGED (controls whose border follows it).
    void SetCtl3D(bool v);

    // Paints the window and its children into the canvas at (x, y).
    void PaintTo(TCanvas* canvas, int x, int y);
    // The window as a bitmap (what the screen shows of it).
    std::unique_ptr<TBitmap> GetImage();

    void Invalidate() override;
    void Update() override;
    void SetVisible(bool visible) override;
    bool Showing() const override;
    void SetEnabled(bool enabled) override;
    TPoint ClientOrigin() const override;

    // Scrolls the window's pixels and children by (dx, dy).
    void ScrollBy(int dx, int dy);

    rtl::TNotifyEvent OnEnter;
    rtl::TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Virtual key handlers, called from WM_KEYDOWN / WM_CHAR / WM_KEYUP.
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();

    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;

    struct Impl;
    Impl& Data() const { return *FImpl; }

protected:
    // Kind of native window a control is built on.
    enum class TWindowKind {
        wkPlain,        // drawn by the program (TCustomControl, panels)
        wkForm, wkEdit, wkMemo, wkComboBox, wkListBox, wkButton, wkCheckBox,
        wkRadioButton, wkGroupBox, wkScrollBox, wkProgressBar, wkTabWidget, wkScrollBar,
    };
    TWinControl(rtl::TComponent* owner, TWindowKind kind);

    void BoundsChanged() override;
    void SetTextBuf(const std::string& s) override;
    std::string GetText() const override;
    bool DoKeyDown(TMessage& m);
    bool DoKeyPress(TMessage& m);
    bool DoKeyUp(TMessage& m);
    // Paints the window (TCustomControl: Paint) then the graphic children.
    virtual void PaintWindow(TCanvas* canvas);
    void PaintControls(TCanvas* canvas, int width, int height);
    void PaintHandler(TMessage& m);
    // Native answer to a message sent by code (EM_*, CB_*, WM_PASTE ...):
    // true when the native control knows the message.
    virtual bool NativeMessage(TMessage& m);
    virtual void CreateWnd() {}
    // Native windows: after the native control has painted, WM_PAINT comes
    // once more with a canvas over the client area in WParam, so the control
    // can paint over the native look (its graphic children are painted by
    // that pass).
    void SetPaintOverNative(bool value);
    // After painting, WM_NCPAINT comes with a canvas over the whole window
    // in WParam (the window's rectangle at (0, 0), the "window DC"), for the
    // border band around the client area.  Drawing outside painting is done
    // by invalidating: the next paint sends both messages again.
    void SetNonClientPaint(bool value);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMChildKey(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CNKeyDown(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void WMSize(TMessage& m);

    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FParentBackground = false;
    bool FCtl3D = true;
    int FBorderWidth = 0;
    TBevelCut FBevelInner = TBevelCut::bvNone;
    TBevelCut FBevelOuter = TBevelCut::bvNone;
    std::unique_ptr<TBrush> FBrush;

private:
    friend class TControl;
    friend struct ControlAccess;
    void DoAlign(TControl* changed);
    std::vector<TControl*> FControls;          // z-order, bottom first
    std::vector<TWinControl*> FTabList;        // tab order
    int FAlignLevel = 0;
    bool FAligning = false;
    HWND FHandle = 0;
    std::unique_ptr<Impl> FImpl;
};

// A window with a canvas, drawn by Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(rtl::TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }
    TCanvas* GetCanvas() override { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(TCanvas* canvas) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// ------------------------------------------------------- mouse and windows

// The control holding the mouse capture (a graphic control's capture is
// held for it by its parent), or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control under the mouse as last seen.
TControl* MouseControl();
// The window control of a handle (nullptr for windows that are not controls).
TWinControl* FindControl(HWND handle);
// The innermost control at a screen point.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);
// System sizes: SM_CXVSCROLL (width of a vertical scroll bar),
// SM_CYHSCROLL, SM_CXBORDER, SM_CYBORDER, SM_CXEDGE, SM_CYEDGE, SM_CXFRAME,
// SM_CYFRAME; 0 for others.
int GetSystemMetrics(int index);
// Where the mouse pointer is, in screen coordinates.
TPoint GetCursorPos();
void SetCursorPos(TPoint p);
// The cursor a window shows now, without changing its Cursor (what a
// WM_SETCURSOR handler shows for the pointer's place); the next change of
// Cursor, or ShowWindowCursor with the control's own Cursor, ends it.
void ShowWindowCursor(TWinControl* control, TCursor cursor);
// The cursor the window shows: the one ShowWindowCursor gave, else Cursor.
TCursor ShownWindowCursor(const TWinControl* control);

// Message targets that are not controls (the pipe client's hidden window).
HWND AllocateHWnd(std::function<void(TMessage&)> wndProc);
void DeallocateHWnd(HWND handle);
// Delivers a message now (GUI thread); 0 when the target is gone.
LRESULT SendMessage(HWND handle, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers a message now to every window (controls and AllocateHWnd
// windows), as a system-wide notice such as WM_THEMECHANGED is delivered.
void SendMessageToAllWindows(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message for the GUI thread; safe from any thread.  Messages to a
// window freed before delivery are dropped.  False only when the program
// has no message loop at all.
bool PostMessage(HWND handle, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Takes every posted WM_ENABLE still queued out of the queue and delivers
// it now, ahead of the other posted messages (a modal loop starts this way,
// so that windows enabled or disabled just before it are settled).
void DispatchPostedEnableMessages();
// A message number of the program's own, from 0xC000; the same name
// (case ignored) gives the same number for the life of the process.
uint32_t RegisterWindowMessage(const std::string& name);
// Runs fn in the GUI thread: Queue returns at once, Synchronize waits until
// fn has run (from the GUI thread itself it runs fn directly).
void QueueInMainThread(std::function<void()> fn);
void SynchronizeWithMainThread(const std::function<void()>& fn);
bool IsMainThread();
// Whether the window's parent chain reaches the handle (IsChild).
bool IsChild(HWND parent, HWND child);
bool IsWindowVisible(HWND handle);
// Whether the handle still names a window (control or AllocateHWnd window).
bool IsWindow(HWND handle);
bool IsWindowEnabled(HWND handle);

} // namespace gui
