// Forms, the application object and its message loop, the screen, the
// application events component and scrolling windows (TScrollBox).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/rtl/Exceptions.h"

namespace gui {

class TMainMenu;
class TActionList;
class TCustomActionList;

// -------------------------------------------------------- modal results
using TModalResult = int;
enum : TModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
    mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11,
};
// Message box flags and answers.
enum : uint32_t {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10,
    MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
    MB_APPLMODAL = 0x0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000,
    MB_TOPMOST = 0x40000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// ------------------------------------------------------ scrolling windows

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TScrollingWinControl;

// One scroll bar of a scrolling window.  Range is the extent of the
// scrolled contents (kept to the children's extent while AutoScroll is on);
// Position is the scrolled offset, 0 .. Range - client size.
class TControlScrollBar : public rtl::TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);
    TScrollBarKind Kind() const { return FKind; }
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Range() const { return FRange; }
    void SetRange(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value > 0 ? value : 1; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value) { FSmooth = value; }
    // Whether the bar is shown now (visible and the range exceeds the client).
    bool IsScrollBarVisible() const;
    int ScrollPos() const { return IsScrollBarVisible() ? FPosition : 0; }
    // Thickness of a shown bar in pixels.
    int Size() const;
    void Assign(const rtl::TPersistent* source) override;

private:
    friend class TScrollingWinControl;
    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FPosition = 0;
    int FRange = 0;
    int FIncrement = 8;
    bool FVisible = true;
    bool FTracking = false;
    bool FSmooth = false;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(rtl::TComponent* owner);
    ~TScrollingWinControl() override;
    TControlScrollBar* HorzScrollBar() const { return FHorz.get(); }
    TControlScrollBar* VertScrollBar() const { return FVert.get(); }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    // Scrolls so that the control is fully in view.
    void ScrollInView(TControl* control);
    TRect ClientRect() const override;
    void AlignControls(TControl* control, TRect& rect) override;

    void Dispatch(TMessage& message) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

    // Keeps the ranges and bars in step with the children (called after
    // alignment, resizing and scrolling).
    void UpdateScrollBars();

protected:
    TScrollingWinControl(rtl::TComponent* owner, TWindowKind kind);
    friend class TControlScrollBar;
    void ScrollBarMoved(TControlScrollBar* bar, int oldPos);

private:
    void Init();
    std::unique_ptr<TControlScrollBar> FHorz;
    std::unique_ptr<TControlScrollBar> FVert;
    bool FAutoScroll = true;
    bool FUpdating = false;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(rtl::TComponent* owner);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);

private:
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};

// ------------------------------------------------------------------- forms

enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = rtl::Set<TBorderIcon, 8>;
enum class TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
    poDesktopCenter, poMainFormCenter, poOwnerFormCenter,
};
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = rtl::Set<TFormStateItem, 8>;

using TCloseEvent = std::function<void(rtl::TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(rtl::TObject* sender, bool& canClose)>;
using TShortCutEvent = std::function<void(TMessage& msg, bool& handled)>;
using TFilesDroppedEvent = std::function<void(rtl::TObject* sender, const std::vector<std::string>& files)>;

// A top-level window.  Width and Height are the window's outer size; the
// client area is what remains under the main menu.  Create derived forms
// with Application->CreateForm (or call AfterConstruction yourself) so that
// OnCreate runs once the derived constructor has finished.
class TCustomForm : public TScrollingWinControl {
public:
    explicit TCustomForm(rtl::TComponent* owner);
    ~TCustomForm() override;

    // Runs OnCreate; called once after construction.
    virtual void AfterConstruction();
    // Runs OnDestroy; called before the form is freed (the destructor calls
    // it too when nobody did).
    virtual void BeforeDestruction();

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    const TBorderIcons& BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(const TBorderIcons& icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition p) { FPosition = p; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle style);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    // The window's bounds in the normal state: its bounds while normal, the
    // bounds it takes again when restored while maximised or minimised (in
    // SetBounds' terms, so that they can be stored and given back).
    TRect NormalBounds() const;
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    const TFormState& FormState() const { return FFormState; }
    TCanvas* Canvas();

    TWinControl* ActiveControl() const { return FActiveControl; }
    // The control holding the keyboard focus inside the form (nullptr: the form itself).
    TWinControl* FocusedControl() const { return FFocusedControl; }
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
    // for a control that cannot take the focus.
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // Records a focus change (from the window system or SetFocus) and sends
    // CM_EXIT / CM_ENTER along the way.
    bool SetFocusedControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    bool Active() const { return FActive; }

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    void MenuChanged();

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult r) { FModalResult = r; }
    void Show();
    // Shows the window without activating it: the active form and the
    // focused control stay where they are.
    void ShowNoActivate();
    void Hide();
    // Shows the form modally and runs the message loop until ModalResult is
    // set (by a button, Close or code); raises EInvalidOperation "Cannot make
    // a visible window modal" for a form already shown.
    virtual TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    // The title the window system shows for the form: its caption (which it
    // follows at any time), with whatever the window system adds to it.
    std::string WindowTitle() const;
    // Frees the form once the messages being handled are done.
    void Release();
    void BringToFront();
    void SendToBack();
    void SetVisible(bool visible) override;
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    // The client area as a picture.
    std::unique_ptr<TBitmap> GetFormImage();

    // Shortcut keys: OnShortCut, the main menu and the form's action lists.
    virtual bool IsShortCut(TMessage& keyMsg);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool v);
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(int v);
    // Files dropped from outside (off by default).
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool value);

    rtl::TNotifyEvent OnCreate;
    rtl::TNotifyEvent OnDestroy;
    rtl::TNotifyEvent OnShow;
    rtl::TNotifyEvent OnHide;
    rtl::TNotifyEvent OnActivate;
    rtl::TNotifyEvent OnDeactivate;
    rtl::TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;
    TFilesDroppedEvent OnFilesDropped;

    void Dispatch(TMessage& message) override;

    struct FormImpl;
    FormImpl& FormData() const { return *FForm; }

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    void PaintWindow(TCanvas* canvas) override;
    void CloseModal();
    // Drop-down windows: showing the form leaves the active form active.
    void SetShowWithoutActivation(bool value) { FShowWithoutActivation = value; }
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TApplication;
    friend class TScreen;
    friend struct FormAccess;
    void ApplyWindowFlags();
    void PlaceOnFirstShow();
    void LayoutFrame();
    std::unique_ptr<FormImpl> FForm;
    std::unique_ptr<TControlCanvas> FCanvas;
    TBorderStyle FBorderStyle = TBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
    TPosition FPosition = TPosition::poDesigned;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TWindowState FWindowState = TWindowState::wsNormal;
    bool FKeyPreview = false;
    TFormState FFormState;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    bool FCreated = false;
    bool FShowWithoutActivation = false;
    bool FDestroyCalled = false;
    bool FPlaced = false;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
    bool FAcceptFiles = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(rtl::TComponent* owner) : TCustomForm(owner) {}
};

// The form holding a control (nullptr when none).
TCustomForm* GetParentForm(const TControl* control);

// ------------------------------------------------------------------- hints

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;             // screen
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;           // client of HintControl
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
    // The class of the window that shows the hint; nullptr for the
    // application's own.
    const rtl::TClassInfo* HintWindowClass = nullptr;
};
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;
// The part of a hint before "|" (shown in the pop-up) and after it (the long hint).
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// ------------------------------------------------------------ application

using TIdleEvent = std::function<void(rtl::TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(rtl::TObject* sender, const std::exception& e)>;
using TMessageEvent = std::function<void(TMessage& msg, bool& handled)>;

class TApplication : public rtl::TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Creates the toolkit's application object (idempotent).
    void Initialize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    std::string ExeName() const;
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& f) { FHelpFile = f; }
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool v) { FShowMainForm = v; }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool v) { FMainFormOnTaskBar = v; }

    // Creates a form owned by the application (the first becomes the main
    // form) and runs its OnCreate.
    template <typename T>
    void CreateForm(T*& ref)
    {
        ref = new T(this);
        if (!FMainForm) FMainForm = ref;
        ref->AfterConstruction();
    }

    // Shows the main form and handles messages until Terminate (or the main
    // form closes).
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every waiting message and returns; may be called from inside
    // handlers (long loops keep the program responsive through it).
    void ProcessMessages();
    // Handles the waiting messages, or when there are none runs the idle
    // handlers and waits for the next message.
    void HandleMessage();
    // Runs the idle handlers once (OnIdle, application events, action updates).
    void DoIdle(bool& done);

    // Exceptions escaping an event handler come here: OnException, else
    // ShowException.  EAbort is silent.
    void HandleException(rtl::TObject* sender);
    void ShowException(const std::exception& e);

    // A message box through the dialog service: flags MB_*, answer ID*.
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags = MB_OK);

    // -- hints
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor c) { FHintColor = c; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int ms) { FHintPause = ms; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int ms) { FHintHidePause = ms; }
    void CancelHint();
    void ActivateHint(TPoint cursorPos);
    // Shows the hint of control at the client point (what hovering does).
    bool ShowControlHint(TControl* control, TPoint clientPos);
    // The hint text shown now (empty when none).
    const std::string& ShownHint() const { return FShownHint; }

    bool Active() const;
    void BringToFront();
    void Minimize();
    void Restore();
    // Whether a shortcut key is an application shortcut (OnShortCut of the
    // application and its event components).
    bool IsShortCut(TMessage& keyMsg);
    // Opens the help file at its contents through the desktop.
    bool HelpShowTableOfContents();
    // The desktop session is ending (the user logs out): the main form is
    // asked whether it may close (WM_QUERYENDSESSION, which runs its
    // CloseQuery).  False when it refused, so that the logout is cancelled.
    bool QueryEndSession();

    rtl::TNotifyEvent OnActivate;
    rtl::TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    rtl::TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;
    TMessageEvent OnMessage;
    TShortCutEvent OnShortCut;

    // Number of messages handled so far (tests observe the loop with it).
    uint64_t MessagesHandled() const;

    struct Impl;
    Impl& Data() const { return *FImpl; }

private:
    bool ProcessMessage();
    void Idle();
    void WaitMessage();
    std::unique_ptr<Impl> FImpl;
    std::string FTitle;
    std::string FHelpFile;
    TCustomForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FMainFormOnTaskBar = true;
    bool FTerminated = false;
    std::string FHint;
    std::string FShownHint;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    bool FInIdle = false;
};

// The process's application object.
extern TApplication* Application;

// One more receiver of the application's events; several may exist.
class TApplicationEvents : public rtl::TComponent {
public:
    explicit TApplicationEvents(rtl::TComponent* owner);
    ~TApplicationEvents() override;
    rtl::TNotifyEvent OnActivate;
    rtl::TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    rtl::TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;
    TMessageEvent OnMessage;
    TShortCutEvent OnShortCut;
    // Stops later application-event components from seeing the current event.
    void CancelDispatch() { FCancelled = true; }

private:
    friend class TApplication;
    bool FCancelled = false;
};

// ------------------------------------------------------------------ screen

class TScreen : public rtl::TComponent {
public:
    TScreen();
    ~TScreen() override;

    // The cursor shown everywhere while it is not crDefault.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    // The program's own cursors by number (positive numbers).
    void SetCursorImage(TCursor index, const TBitmap* image, TPoint hotSpot);
    // The program's cursor index takes the shape of a built-in cursor
    // (crDrag, crMultiDrag, ...).
    void SetCursorToStock(TCursor index, TCursor stock);
    bool HasCursor(TCursor index) const;

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(static_cast<std::size_t>(index)); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* FocusedForm() const { return FActiveForm; }

    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }
    // Installed font families.
    std::vector<std::string> Fonts() const;
    TFont* HintFont() const { return FHintFont.get(); }
    TFont* MenuFont() const { return FMenuFont.get(); }

    rtl::TNotifyEvent OnActiveControlChange;
    rtl::TNotifyEvent OnActiveFormChange;

    struct Impl;

private:
    friend class TCustomForm;
    friend struct FormAccess;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void SetActiveControl(TWinControl* control);
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    std::unique_ptr<TFont> FHintFont;
    std::unique_ptr<TFont> FMenuFont;
    std::unique_ptr<Impl> FImpl;
};

extern TScreen* Screen;

} // namespace gui
