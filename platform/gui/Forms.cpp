// Forms: the top-level frame around the client window, showing, modal
// loops, closing, focus inside the form and shortcuts.
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/ControlsQt.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtBridge.h"
#include "platform/gui/WindowPlacement.h"

namespace gui {

namespace qtw {
bool HandleEvent(IBridge* bridge, QEvent* e);
}

// The top-level window of a form: the window system's frame around the
// menu bar and the form's client window.
class FormFrame : public QWidget {
public:
    explicit FormFrame(TCustomForm* form) : FForm(form) {}
    TCustomForm* FForm;

protected:
    bool event(QEvent* e) override;
};

struct TCustomForm::FormImpl {
    FormFrame* frame = nullptr;
    int menuHeight = 0;
    // Maximised at a place of the form's own (not the whole work area):
    // the window system sees a normal window there; these are the bounds
    // it returns to.
    bool ownMaxPlace = false;
    QRect normalGeometry;
    // A window placement's minimised and maximised positions, kept.
    TPoint placementMin{-1, -1}, placementMax{-1, -1};
};

struct FormAccess {
    static void FrameResized(TCustomForm* f, int x, int y, int w, int h)
    {
        if (w == f->FWidth && h == f->FHeight) {
            f->FLeft = x;
            f->FTop = y;
            return;
        }
        ControlAccess::SetBoundsFromWindow(f, x, y, w, h);
        f->LayoutFrame();
        f->Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(f->ClientWidth(), f->ClientHeight()));
    }
    // The window system maximised the window (its maximise button): a
    // form with a maximised place of its own moves there instead.
    static void MaximizedByWindowSystem(TCustomForm* f)
    {
        f->FWindowState = TWindowState::wsMaximized;
        const HWND h = f->Handle();
        QueueInMainThread([h] {
            auto* form = dynamic_cast<TCustomForm*>(FindControl(h));
            if (form && form->FVisible && form->FForm->frame->isMaximized()) ShowMaximizedFrame(form);
        });
    }
    static void ApplySizeLimits(TCustomForm* f);
    static void UpdateSizeLimits(TCustomForm* f);
    static void ShowMaximizedFrame(TCustomForm* f);
    static void LeaveOwnMaximizedPlace(TCustomForm* f);
    static TCustomForm::FormImpl& Impl(const TCustomForm* f) { return *f->FForm; }
    static void Activated(TCustomForm* f, bool active)
    {
        if (active) Screen->SetActiveForm(f);
        else if (Screen->ActiveForm() == f && !f->FormState().Contains(TFormStateItem::fsModal)) {
            // Another program's window took over: the form only loses its active look.
        }
    }
};

namespace {
// Alt with a letter of the form's menu bar.
bool MenuLetterKey(TCustomForm* form, QKeyEvent* ke)
{
    if (!form->Menu() || !(ke->modifiers() & Qt::AltModifier) || (ke->modifiers() & Qt::ControlModifier)) return false;
    char16_t ch = 0;
    if (!ke->text().isEmpty()) ch = ke->text().at(0).unicode();
    else if (ke->key() >= Qt::Key_A && ke->key() <= Qt::Key_Z) ch = static_cast<char16_t>('A' + ke->key() - Qt::Key_A);
    else if (ke->key() >= Qt::Key_0 && ke->key() <= Qt::Key_9) ch = static_cast<char16_t>('0' + ke->key() - Qt::Key_0);
    return form->Menu()->FindAccelItem(ch) != nullptr;
}
} // namespace

bool FormFrame::event(QEvent* e)
{
    if (!FForm) return QWidget::event(e);
    try {
        switch (e->type()) {
        case QEvent::Close:
            e->ignore();
            FForm->Close();
            return true;
        case QEvent::Resize:
        case QEvent::Move:
            // geometry(), as SetBounds sets it: x() and y() would give the
            // corner of the window system's decorations around it.
            if (isVisible() && !isMinimized()) {
                const QRect g = geometry();
                FormAccess::FrameResized(FForm, g.x(), g.y(), g.width(), g.height());
            }
            return QWidget::event(e);
        case QEvent::WindowActivate:
            FormAccess::Activated(FForm, true);
            return QWidget::event(e);
        case QEvent::WindowStateChange:
            if (isMaximized() && !FForm->FormData().ownMaxPlace) FormAccess::MaximizedByWindowSystem(FForm);
            return QWidget::event(e);
        case QEvent::ShortcutOverride:
            // The menu bar's letters wait until the key has been offered as
            // a shortcut and to the controls' accelerators (CN_SYSCHAR).
            if (MenuLetterKey(FForm, static_cast<QKeyEvent*>(e))) {
                e->accept();
                return true;
            }
            return QWidget::event(e);
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return qtw::HandleEvent(FForm->Data().bridge, e);
        default:
            return QWidget::event(e);
        }
    } catch (...) {
        Application->HandleException(FForm);
        return true;
    }
}

namespace {
// Brings a window up where the window system allows it (the headless
// platform keeps no stacking order).
void RaiseFrame(QWidget* frame)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    frame->raise();
    frame->activateWindow();
}
} // namespace

TCustomForm* GetParentForm(const TControl* control)
{
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return c ? dynamic_cast<TCustomForm*>(const_cast<TControl*>(c)) : nullptr;
}

// --------------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(rtl::TComponent* owner)
    : TScrollingWinControl(owner, TWindowKind::wkForm), FForm(std::make_unique<FormImpl>()),
      FCanvas(std::make_unique<TControlCanvas>(this))
{
    FFormState.Include(TFormStateItem::fsCreating);
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks};
    FVisible = false;
    FParentFont = false;
    SetAutoScroll(false);
    auto* frame = new FormFrame(this);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    FForm->frame = frame;
    Data().top = frame;
    QWidget* client = Data().widget;
    client->setParent(frame);
    client->show();
    frame->hide();
    FLeft = 0; FTop = 0; FWidth = 320; FHeight = 240;
    frame->setGeometry(0, 0, FWidth, FHeight);
    LayoutFrame();
    if (QWidget* w = Data().widget) w->setFont(qt::MakeFont(*FFont));
    Screen->AddForm(this);
    rtl::AddGlobalComponent(this);
}

namespace {
// The form's window goes, and with it every window inside: each is told
// (WM_DESTROY, outer first) while its control is still whole.  This runs in
// the form's destructor, so an error a handler raises goes to the
// application's exception handler instead of ending the program.
void SendDestroyMessages(TWinControl* w)
{
    try {
        w->Perform(WM_DESTROY);
    } catch (...) {
        Application->HandleException(w);
    }
    std::vector<TControl*> children;
    for (int i = 0; i < w->ControlCount(); ++i) children.push_back(w->Controls(i));
    for (TControl* c : children) {
        // Only children still there (a handler may have freed one).
        bool there = false;
        for (int i = 0; i < w->ControlCount() && !there; ++i) there = w->Controls(i) == c;
        if (!there) continue;
        if (auto* child = dynamic_cast<TWinControl*>(c)) SendDestroyMessages(child);
    }
}
} // namespace

TCustomForm::~TCustomForm()
{
    if (!FDestroyCalled) BeforeDestruction();
    SendDestroyMessages(this);
    if (FForm->frame) FForm->frame->FForm = nullptr;
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    Screen->RemoveForm(this);
    rtl::RemoveGlobalComponent(this);
}

void TCustomForm::AfterConstruction()
{
    if (FCreated) return;
    FCreated = true;
    FFormState.Exclude(TFormStateItem::fsCreating);
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    if (FDestroyCalled) return;
    FDestroyCalled = true;
    Destroying();
    DoDestroy();
}

void TCustomForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}
void TCustomForm::DoDestroy()
{
    if (OnDestroy) OnDestroy(this);
}
void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}
void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose) OnClose(this, action);
}
void TCustomForm::Activate()
{
    FActive = true;
    if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate()
{
    FActive = false;
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::LayoutFrame()
{
    int mh = 0;
    if (QMenuBar* mb = Data().menuBar) {
        mh = mb->isVisible() || !mb->isHidden() ? mb->sizeHint().height() : 0;
        mb->setGeometry(0, 0, FWidth, mh);
    }
    FForm->menuHeight = mh;
    if (QWidget* c = Data().widget) c->setGeometry(0, mh, FWidth, std::max(0, FHeight - mh));
}

TRect TCustomForm::ClientRect() const
{
    TRect r = TScrollingWinControl::ClientRect();
    r.Bottom = std::max(0, r.Bottom - FForm->menuHeight);
    return r;
}

TPoint TCustomForm::ClientOrigin() const
{
    const QPoint p = Data().widget->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

namespace {
// Border styles the user cannot resize: the window's size is fixed.
bool FixedSizeBorder(TBorderStyle style)
{
    return style == TBorderStyle::bsSingle || style == TBorderStyle::bsDialog || style == TBorderStyle::bsToolWindow;
}
} // namespace

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    if (WindowState() == TWindowState::wsNormal) {
        // Within the tracking sizes, as the window system keeps a window
        // the user drags.
        const TMinMaxInfo info = GetMinMaxInfo(this);
        width = std::max(std::min(width, info.ptMaxTrackSize.X), info.ptMinTrackSize.X);
        height = std::max(std::min(height, info.ptMaxTrackSize.Y), info.ptMinTrackSize.Y);
    }
    TScrollingWinControl::SetBounds(left, top, width, height);
    // The program may still resize a window the user cannot.  (The new
    // size reports the window's old place back: the bounds are kept first.)
    const QRect bounds(FLeft, FTop, FWidth, FHeight);
    if (FixedSizeBorder(FBorderStyle)) FForm->frame->setFixedSize(bounds.size());
    FForm->frame->setGeometry(bounds);
    LayoutFrame();
}

bool TCustomForm::Showing() const { return FVisible; }

TCanvas* TCustomForm::Canvas() { return FCanvas.get(); }

void TCustomForm::PaintWindow(TCanvas* canvas)
{
    if (!OnPaint) return;
    qt::AttachPainter(*FCanvas, qt::Painter(*canvas), Data().widget->width(), Data().widget->height());
    try {
        OnPaint(this);
    } catch (...) {
        qt::DetachPainter(*FCanvas);
        throw;
    }
    qt::DetachPainter(*FCanvas);
}

void TCustomForm::SetBorderStyle(TBorderStyle style)
{
    FBorderStyle = style;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(const TBorderIcons& icons)
{
    FBorderIcons = icons;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle style)
{
    FFormStyle = style;
    ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags()
{
    QWidget* f = FForm->frame;
    const bool wasVisible = f->isVisible();
    Qt::WindowFlags flags = Qt::Window;
    switch (FBorderStyle) {
    case TBorderStyle::bsNone: flags |= Qt::FramelessWindowHint; break;
    case TBorderStyle::bsDialog: flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint; break;
    case TBorderStyle::bsToolWindow: case TBorderStyle::bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
    }
    if (FBorderStyle != TBorderStyle::bsNone) {
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        if (FBorderIcons.Contains(TBorderIcon::biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons.Contains(TBorderIcon::biMinimize) && FBorderStyle != TBorderStyle::bsDialog)
            flags |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.Contains(TBorderIcon::biMaximize) && FBorderStyle != TBorderStyle::bsDialog)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (FFormStyle == TFormStyle::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    f->setWindowFlags(flags);
    FormAccess::ApplySizeLimits(this);
    if (wasVisible) f->show();
}

// --------------------------------------------------- size limits and maximising

TMinMaxInfo GetMinMaxInfo(TCustomForm* form)
{
    const TRect area = Screen->WorkAreaRect();
    TMinMaxInfo info;
    info.ptMaxSize = {area.Width(), area.Height()};
    info.ptMaxPosition = {0, 0};
    info.ptMinTrackSize = {0, 0};
    info.ptMaxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

void UpdateSizeLimits(TCustomForm* form) { FormAccess::UpdateSizeLimits(form); }

void PlacementPositions(const TCustomForm* form, TPoint& minPosition, TPoint& maxPosition)
{
    minPosition = FormAccess::Impl(form).placementMin;
    maxPosition = FormAccess::Impl(form).placementMax;
}

void SetPlacementPositions(TCustomForm* form, TPoint minPosition, TPoint maxPosition)
{
    FormAccess::Impl(form).placementMin = minPosition;
    FormAccess::Impl(form).placementMax = maxPosition;
}

void FormAccess::ApplySizeLimits(TCustomForm* f)
{
    QWidget* frame = f->FForm->frame;
    if (f->FForm->ownMaxPlace) return;  // the maximised place sets the size
    if (FixedSizeBorder(f->FBorderStyle)) {
        frame->setFixedSize(f->FWidth, f->FHeight);
        return;
    }
    const TMinMaxInfo info = GetMinMaxInfo(f);
    frame->setMinimumSize(std::max(0, info.ptMinTrackSize.X), std::max(0, info.ptMinTrackSize.Y));
    frame->setMaximumSize(std::clamp(info.ptMaxTrackSize.X, 0, QWIDGETSIZE_MAX),
                          std::clamp(info.ptMaxTrackSize.Y, 0, QWIDGETSIZE_MAX));
}

void FormAccess::UpdateSizeLimits(TCustomForm* f)
{
    ApplySizeLimits(f);
    if (f->FVisible && f->WindowState() == TWindowState::wsMaximized) ShowMaximizedFrame(f);
    else if (f->WindowState() == TWindowState::wsNormal) f->SetBounds(f->FLeft, f->FTop, f->FWidth, f->FHeight);
}

void FormAccess::ShowMaximizedFrame(TCustomForm* f)
{
    TCustomForm::FormImpl& impl = *f->FForm;
    QWidget* frame = impl.frame;
    const TMinMaxInfo info = GetMinMaxInfo(f);
    const TRect area = Screen->WorkAreaRect();
    if (info.ptMaxPosition == TPoint(0, 0) && info.ptMaxSize == TPoint(area.Width(), area.Height())) {
        LeaveOwnMaximizedPlace(f);
        frame->showMaximized();
        return;
    }
    // The window system maximises to the whole work area only: the window
    // is placed there in its normal state.
    if (!impl.ownMaxPlace) impl.normalGeometry = frame->isMaximized() ? frame->normalGeometry() : frame->geometry();
    impl.ownMaxPlace = true;
    if (frame->isMaximized() || frame->isMinimized()) frame->showNormal();
    const QRect r(area.Left + info.ptMaxPosition.X, area.Top + info.ptMaxPosition.Y,
                  std::min(info.ptMaxSize.X, info.ptMaxTrackSize.X), std::min(info.ptMaxSize.Y, info.ptMaxTrackSize.Y));
    frame->setMinimumSize(0, 0);
    frame->setFixedSize(r.size());
    frame->setGeometry(r);
    if (!frame->isVisible()) frame->show();
    FrameResized(f, r.x(), r.y(), r.width(), r.height());
}

void FormAccess::LeaveOwnMaximizedPlace(TCustomForm* f)
{
    TCustomForm::FormImpl& impl = *f->FForm;
    if (!impl.ownMaxPlace) return;
    impl.ownMaxPlace = false;
    const QRect r = impl.normalGeometry;
    impl.frame->setMinimumSize(0, 0);
    impl.frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    impl.frame->setGeometry(r);
    FrameResized(f, r.x(), r.y(), r.width(), r.height());
    ApplySizeLimits(f);  // after the size: a fixed border keeps it
}

TWindowState TCustomForm::WindowState() const
{
    if (FForm->frame->isMinimized()) return TWindowState::wsMinimized;
    if (FForm->frame->isMaximized()) return TWindowState::wsMaximized;
    return FWindowState;
}

TRect TCustomForm::NormalBounds() const
{
    // The frame's geometry is what SetBounds sets (the window system's
    // decorations lie outside it).
    const QWidget* f = FForm->frame;
    QRect g = FForm->ownMaxPlace ? FForm->normalGeometry : f->normalGeometry();
    if (!g.isValid() || g.isEmpty()) g = f->geometry();
    return Rect(g.x(), g.y(), g.x() + g.width(), g.y() + g.height());
}

void TCustomForm::SetWindowState(TWindowState state)
{
    FWindowState = state;
    if (!FVisible) return;
    switch (state) {
    case TWindowState::wsMinimized:
        FormAccess::LeaveOwnMaximizedPlace(this);
        FForm->frame->showMinimized();
        break;
    case TWindowState::wsMaximized: FormAccess::ShowMaximizedFrame(this); break;
    default:
        FForm->frame->showNormal();
        FormAccess::LeaveOwnMaximizedPlace(this);
        break;
    }
}

void TCustomForm::SetAlphaBlend(bool v)
{
    FAlphaBlend = v;
    FForm->frame->setWindowOpacity(v ? FAlphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(int v)
{
    FAlphaBlendValue = std::clamp(v, 0, 255);
    if (FAlphaBlend) FForm->frame->setWindowOpacity(FAlphaBlendValue / 255.0);
}

void TCustomForm::SetAcceptFiles(bool value)
{
    FAcceptFiles = value;
    FForm->frame->setAcceptDrops(value);
    Data().widget->setAcceptDrops(value);
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu) menu->FreeNotification(this);
    MenuChanged();
}

void TCustomForm::MenuChanged()
{
    if (!FMenu) {
        if (Data().menuBar) Data().menuBar->hide();
    } else {
        if (!Data().menuBar) Data().menuBar = new QMenuBar(FForm->frame);
        FMenu->FillMenuBar(Data().menuBar);
        Data().menuBar->show();
    }
    LayoutFrame();
    Realign();
}

void TCustomForm::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TScrollingWinControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove) {
        if (component == FMenu) {
            FMenu = nullptr;
            if (!IsDestroying()) MenuChanged();
        }
        if (component == FActiveControl) FActiveControl = nullptr;
        if (component == FFocusedControl) FFocusedControl = nullptr;
    }
}

void TCustomForm::PlaceOnFirstShow()
{
    if (FPlaced) return;
    FPlaced = true;
    TRect area = Screen->WorkAreaRect();
    TCustomForm* ref = nullptr;
    switch (FPosition) {
    case TPosition::poMainFormCenter: ref = Application->MainForm(); break;
    case TPosition::poOwnerFormCenter: ref = dynamic_cast<TCustomForm*>(Owner()); break;
    default: break;
    }
    if (ref == this || (ref && !ref->Visible())) ref = nullptr;
    if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter ||
        ((FPosition == TPosition::poMainFormCenter || FPosition == TPosition::poOwnerFormCenter) && !ref)) {
        SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
    } else if (ref) {
        SetBounds(ref->Left() + (ref->Width() - FWidth) / 2, ref->Top() + (ref->Height() - FHeight) / 2, FWidth, FHeight);
    }
}

void TCustomForm::SetVisible(bool visible)
{
    if (FVisible == visible) return;
    if (visible) {
        PlaceOnFirstShow();
        FVisible = true;
        FFormState.Include(TFormStateItem::fsVisible);
        Perform(CM_SHOWINGCHANGED, 1, 0);
        DoShow();
        if (!FVisible) return;
        ApplyWindowFlags();
        FForm->frame->setWindowTitle(QString::fromStdString(Caption()));
        FForm->frame->setGeometry(FLeft, FTop, FWidth, FHeight);
        LayoutFrame();
        if (FWindowState == TWindowState::wsMaximized) FormAccess::ShowMaximizedFrame(this);
        else if (FWindowState == TWindowState::wsMinimized) FForm->frame->showMinimized();
        else {
            FForm->frame->setAttribute(Qt::WA_ShowWithoutActivating, FShowWithoutActivation);
            FForm->frame->show();
        }
        if (FShowWithoutActivation) FForm->frame->raise();
        else RaiseFrame(FForm->frame);
        if (FShowWithoutActivation) {
            Perform(CM_VISIBLECHANGED, 1, 0);
            return;
        }
        Screen->SetActiveForm(this);
        if (!FActiveControl) SelectFirst();
        if (FActiveControl && FActiveControl->CanFocus()) SetFocusedControl(FActiveControl);
        else SetFocusedControl(this);
    } else {
        Perform(CM_SHOWINGCHANGED, 0, 0);
        DoHide();
        FVisible = false;
        FFormState.Exclude(TFormStateItem::fsVisible);
        FForm->frame->hide();
        if (Screen->ActiveForm() == this) {
            TCustomForm* next = nullptr;
            for (int i = Screen->FormCount() - 1; i >= 0; --i)
                if (Screen->Forms(i) != this && Screen->Forms(i)->Visible()) { next = Screen->Forms(i); break; }
            Screen->SetActiveForm(next);
        }
    }
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::ShowNoActivate()
{
    if (FVisible) return;
    PlaceOnFirstShow();
    FVisible = true;
    FFormState.Include(TFormStateItem::fsVisible);
    Perform(CM_SHOWINGCHANGED, 1, 0);
    DoShow();
    if (!FVisible) return;
    ApplyWindowFlags();
    FForm->frame->setWindowTitle(QString::fromStdString(Caption()));
    FForm->frame->setGeometry(FLeft, FTop, FWidth, FHeight);
    LayoutFrame();
    bool was = FForm->frame->testAttribute(Qt::WA_ShowWithoutActivating);
    FForm->frame->setAttribute(Qt::WA_ShowWithoutActivating, true);
    FForm->frame->show();
    FForm->frame->setAttribute(Qt::WA_ShowWithoutActivating, was);
}

void TCustomForm::BringToFront()
{
    if (FVisible && FShowWithoutActivation) {
        FForm->frame->raise();
    } else if (FVisible) {
        RaiseFrame(FForm->frame);
        Screen->SetActiveForm(this);
    }
}

void TCustomForm::SendToBack()
{
    if (FVisible) FForm->frame->lower();
}

TModalResult TCustomForm::ShowModal()
{
    if (FVisible || !FEnabled || FFormState.Contains(TFormStateItem::fsModal))
        throw rtl::EInvalidOperation("Cannot make a visible window modal");
    SetCaptureControl(nullptr);
    TCustomForm* previous = Screen->ActiveForm();
    FFormState.Include(TFormStateItem::fsModal);
    FForm->frame->setWindowModality(Qt::ApplicationModal);
    FModalResult = mrNone;
    auto finish = [&] {
        if (FVisible) Hide();
        FFormState.Exclude(TFormStateItem::fsModal);
        FForm->frame->setWindowModality(Qt::NonModal);
        if (previous && previous != this && previous->Visible()) Screen->SetActiveForm(previous);
    };
    try {
        Show();
        while (FModalResult == mrNone) {
            Application->HandleMessage();
            if (Application->Terminated()) FModalResult = mrCancel;
            else if (FModalResult != mrNone) CloseModal();
        }
    } catch (...) {
        finish();
        throw;
    }
    const TModalResult result = FModalResult;
    finish();
    return result;
}

void TCustomForm::CloseModal()
{
    TCloseAction action = TCloseAction::caNone;
    if (CloseQuery()) {
        action = TCloseAction::caHide;
        DoClose(action);
    }
    switch (action) {
    case TCloseAction::caNone: FModalResult = mrNone; break;
    case TCloseAction::caFree: Release(); break;
    default: break;
    }
}

std::string TCustomForm::WindowTitle() const
{
    // The window system puts the application's display name after a title
    // that does not end with it, once the application has set one (until
    // then the display name is the application's name).
    QString title = FForm->frame->windowTitle();
    const QString name = QGuiApplication::applicationDisplayName();
    if (name != QCoreApplication::applicationName() && !title.endsWith(name))
        title += (title.isEmpty() ? QString() : QString::fromUtf8(" \u2014 ")) + name;
    return title.toStdString();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(TFormStateItem::fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        Hide();
    } else if (action == TCloseAction::caHide) {
        Hide();
    } else if (action == TCloseAction::caMinimize) {
        SetWindowState(TWindowState::wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release()
{
    const HWND h = Handle();
    QueueInMainThread([h] {
        if (auto* f = dynamic_cast<TCustomForm*>(FindControl(h))) {
            f->BeforeDestruction();
            delete f;
        }
    });
}

std::unique_ptr<TBitmap> TCustomForm::GetFormImage() { return RenderWidget(Data().widget); }

// -- focus

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control && (control == this || gui::GetParentForm(control) != this ||
                    (!IsLoading() && !control->CanFocus())))
        throw rtl::EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (control && FVisible && !IsLoading()) SetFocusedControl(control);
}

void TCustomForm::FocusControl(TWinControl* control)
{
    SetActiveControl(control);
    if (FVisible && Screen->ActiveForm() != this) BringToFront();
}

bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == this) control = nullptr;
    TWinControl* old = FFocusedControl;
    const bool sameForm = Screen->ActiveForm() == this;
    if (old == control && sameForm && Screen->ActiveControl() == (control ? control : this)) return true;
    if (control) FActiveControl = control;
    FFocusedControl = control;
    // The chains from each control up to (not including) the form.
    auto chain = [this](TWinControl* c) {
        std::vector<TWinControl*> v;
        for (; c && c != this; c = c->Parent()) v.push_back(c);
        return v;
    };
    const std::vector<TWinControl*> oldChain = chain(old), newChain = chain(control);
    const HWND newHandle = control ? control->Handle() : Handle();
    const HWND oldHandle = old ? old->Handle() : 0;
    if (old && old != control) old->Perform(WM_KILLFOCUS, newHandle, 0);
    for (TWinControl* c : oldChain)
        if (std::find(newChain.begin(), newChain.end(), c) == newChain.end() && FindControl(oldHandle) == old)
            c->Perform(CM_EXIT, 0, 0);
    for (auto it = newChain.rbegin(); it != newChain.rend(); ++it)
        if (std::find(oldChain.begin(), oldChain.end(), *it) == oldChain.end()) (*it)->Perform(CM_ENTER, 0, 0);
    if (FFocusedControl != control) return false;   // a handler moved the focus on
    if (control && control != old) control->Perform(WM_SETFOCUS, oldHandle, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    Screen->SetActiveControl(control ? control : this);
    if (control) {
        QWidget* w = control->Data().widget;
        if (w && !w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing)
{
    (void)removing;
    if (control->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
    if (control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    if (control->ContainsControl(Screen->ActiveControl())) Screen->SetActiveControl(nullptr);
}

bool TCustomForm::IsShortCut(TMessage& keyMsg)
{
    bool handled = false;
    if (OnShortCut) OnShortCut(keyMsg, handled);
    if (handled) return true;
    if (FMenu && FMenu->IsShortCut(keyMsg)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)))
            if (list->IsShortCut(keyMsg)) return true;
    return false;
}

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGKEY:
        // Tab and the arrow keys move the focus; Enter and Escape go to the buttons.
        if (!KeyDataToShiftState(m.LParam).Contains(TShiftStateItem::ssAlt) &&
            !KeyDataToShiftState(m.LParam).Contains(TShiftStateItem::ssCtrl)) {
            switch (m.WParam) {
            case VK_TAB:
                SelectNext(FFocusedControl, !GetShiftState().Contains(TShiftStateItem::ssShift), true);
                m.Result = 1;
                return;
            case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
                if (FFocusedControl) {
                    if (TWinControl* p = FFocusedControl->Parent())
                        p->SelectNext(FFocusedControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                }
                m.Result = 1;
                return;
            default:
                break;
            }
        }
        TScrollingWinControl::Dispatch(m);
        return;
    case WM_CLOSE:
        Close();
        return;
    case CM_TEXTCHANGED:
        // The title follows the caption at any time, shown or not.
        FForm->frame->setWindowTitle(QString::fromStdString(Caption()));
        TScrollingWinControl::Dispatch(m);
        return;
    case WM_QUERYENDSESSION:
        // The session may end when the form may close.
        m.Result = CloseQuery() ? 1 : 0;
        return;
    case WM_SYSCOMMAND:
        // Alt with a menu letter, after the shortcuts and accelerators.
        if ((m.WParam & 0xFFF0) == SC_KEYMENU && FMenu) {
            if (TMenuItem* item = FMenu->FindAccelItem(static_cast<char16_t>(m.LParam))) {
                m.Result = FMenu->OpenMenu(item) ? 1 : 0;
                return;
            }
        }
        TScrollingWinControl::Dispatch(m);
        return;
    case CM_SHOWINGCHANGED:
        DefaultHandler(m);
        return;
    case WM_GETMINMAXINFO:
        // The form's own limits: its Constraints.
        if (auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam)) {
            if (FConstraints.MinWidth > 0) info->ptMinTrackSize.X = FConstraints.MinWidth;
            if (FConstraints.MinHeight > 0) info->ptMinTrackSize.Y = FConstraints.MinHeight;
            if (FConstraints.MaxWidth > 0) info->ptMaxTrackSize.X = FConstraints.MaxWidth;
            if (FConstraints.MaxHeight > 0) info->ptMaxTrackSize.Y = FConstraints.MaxHeight;
        }
        m.Result = 0;
        return;
    default:
        TScrollingWinControl::Dispatch(m);
        return;
    }
}

// ----------------------------------------------------------- scroll windows

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : FControl(control), FKind(kind) {}

void TControlScrollBar::SetPosition(int value)
{
    const int client = FKind == TScrollBarKind::sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
    value = std::clamp(value, 0, std::max(0, FRange - client));
    if (value == FPosition) return;
    const int old = FPosition;
    FPosition = value;
    FControl->ScrollBarMoved(this, old);
}

void TControlScrollBar::SetRange(int value)
{
    FRange = std::max(0, value);
    FControl->SetAutoScroll(false);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool value)
{
    FVisible = value;
    FControl->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    QScrollBar* b = FKind == TScrollBarKind::sbHorizontal ? FControl->Data().hbar : FControl->Data().vbar;
    return b && !b->isHidden();
}

int TControlScrollBar::Size() const { return 16; }

void TControlScrollBar::Assign(const rtl::TPersistent* source)
{
    if (auto s = dynamic_cast<const TControlScrollBar*>(source)) {
        FIncrement = s->FIncrement; FVisible = s->FVisible; FTracking = s->FTracking;
        FSmooth = s->FSmooth; FRange = s->FRange;
        SetPosition(s->FPosition);
        return;
    }
    rtl::TPersistent::Assign(source);
}

TScrollingWinControl::TScrollingWinControl(rtl::TComponent* owner)
    : TScrollingWinControl(owner, TWindowKind::wkScrollBox) {}

TScrollingWinControl::TScrollingWinControl(rtl::TComponent* owner, TWindowKind kind)
    : TWinControl(owner, kind)
{
    Init();
}

TScrollingWinControl::~TScrollingWinControl() = default;

namespace {
const char* const ScrollCornerName = "tecScrollCorner";

// Ends a scroll the classic way: when the mouse lets go of a scroll bar
// (thumb, arrow or page area), WM_HSCROLL or WM_VSCROLL with SB_ENDSCROLL.
class ScrollEndFilter : public QObject {
public:
    ScrollEndFilter(TWinControl* control, uint32_t msg, QObject* parent)
        : QObject(parent), FControl(control), FMsg(msg) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease && FControl) {
            const HWND h = FControl->Handle();
            QMetaObject::invokeMethod(this, [h, msg = FMsg] { SendMessage(h, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0); },
                                      Qt::QueuedConnection);
        }
        return false;
    }

private:
    TWinControl* FControl;
    uint32_t FMsg;
};

} // namespace

void TScrollingWinControl::Init()
{
    FHorz = std::make_unique<TControlScrollBar>(this, TScrollBarKind::sbHorizontal);
    FVert = std::make_unique<TControlScrollBar>(this, TScrollBarKind::sbVertical);
    auto make = [this](Qt::Orientation o, TControlScrollBar* bar) {
        auto* sb = new QScrollBar(o, Data().widget);
        sb->hide();
        QObject::connect(sb, &QScrollBar::valueChanged, sb, qtw::Guarded<int>([this, bar](int v) {
            if (!FUpdating) bar->SetPosition(v);
        }));
        sb->installEventFilter(new ScrollEndFilter(this, o == Qt::Horizontal ? WM_HSCROLL : WM_VSCROLL, sb));
        return sb;
    };
    Data().hbar = make(Qt::Horizontal, FHorz.get());
    Data().vbar = make(Qt::Vertical, FVert.get());
    // The square between the two bars, in the window colour (else it shows
    // whatever lies beneath, or nothing at all).
    auto* corner = new QWidget(Data().widget);
    corner->setObjectName(ScrollCornerName);
    corner->setAutoFillBackground(true);
    corner->setBackgroundRole(QPalette::Window);
    corner->hide();
}

void TScrollingWinControl::SetAutoScroll(bool value)
{
    FAutoScroll = value;
}

TRect TScrollingWinControl::ClientRect() const
{
    int w = FWidth, h = FHeight;
    if (Data().vbar && !Data().vbar->isHidden()) w -= FVert->Size();
    if (Data().hbar && !Data().hbar->isHidden()) h -= FHorz->Size();
    return Rect(0, 0, std::max(0, w), std::max(0, h));
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect)
{
    TWinControl::AlignControls(control, rect);
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdating || IsDestroying() || !Data().hbar) return;
    FUpdating = true;
    if (FAutoScroll) {
        int right = 0, bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) continue;
            if (c->Align() == TAlign::alNone || c->Align() == TAlign::alLeft || c->Align() == TAlign::alRight)
                right = std::max(right, c->Left() + c->Width() + FHorz->FPosition);
            if (c->Align() == TAlign::alNone || c->Align() == TAlign::alTop || c->Align() == TAlign::alBottom)
                bottom = std::max(bottom, c->Top() + c->Height() + FVert->FPosition);
        }
        FHorz->FRange = right;
        FVert->FRange = bottom;
    }
    // Which bars are needed: showing one narrows the room for the other.
    bool showH = false, showV = false;
    for (int pass = 0; pass < 2; ++pass) {
        const int cw = FWidth - (showV ? FVert->Size() : 0);
        const int ch = FHeight - (showH ? FHorz->Size() : 0);
        showH = FHorz->FVisible && FHorz->FRange > cw;
        showV = FVert->FVisible && FVert->FRange > ch;
    }
    QScrollBar* hb = Data().hbar;
    QScrollBar* vb = Data().vbar;
    const int cw = FWidth - (showV ? FVert->Size() : 0);
    const int ch = FHeight - (showH ? FHorz->Size() : 0);
    hb->setVisible(showH);
    vb->setVisible(showV);
    hb->setGeometry(0, FHeight - FHorz->Size(), std::max(0, cw), FHorz->Size());
    vb->setGeometry(FWidth - FVert->Size(), 0, FVert->Size(), std::max(0, ch));
    hb->raise();
    vb->raise();
    if (auto* corner = Data().widget->findChild<QWidget*>(ScrollCornerName, Qt::FindDirectChildrenOnly)) {
        QPalette palette = corner->palette();
        palette.setColor(QPalette::Window, qt::MakeColor(clBtnFace));
        corner->setPalette(palette);
        corner->setGeometry(std::max(0, cw), std::max(0, ch), FVert->Size(), FHorz->Size());
        corner->setVisible(showH && showV);
        corner->raise();
    }
    hb->setRange(0, std::max(0, FHorz->FRange - cw));
    vb->setRange(0, std::max(0, FVert->FRange - ch));
    hb->setPageStep(std::max(1, cw));
    vb->setPageStep(std::max(1, ch));
    hb->setSingleStep(FHorz->FIncrement);
    vb->setSingleStep(FVert->FIncrement);
    hb->setTracking(true);
    vb->setTracking(true);
    FUpdating = false;
    // Positions beyond the new ranges scroll back.
    const int maxH = showH ? std::max(0, FHorz->FRange - cw) : 0;
    const int maxV = showV ? std::max(0, FVert->FRange - ch) : 0;
    if (FHorz->FPosition > maxH) FHorz->SetPosition(maxH);
    if (FVert->FPosition > maxV) FVert->SetPosition(maxV);
    FUpdating = true;
    hb->setValue(FHorz->FPosition);
    vb->setValue(FVert->FPosition);
    FUpdating = false;
}

void TScrollingWinControl::ScrollBarMoved(TControlScrollBar* bar, int oldPos)
{
    const int d = oldPos - bar->FPosition;
    if (bar->Kind() == TScrollBarKind::sbHorizontal) ScrollBy(d, 0);
    else ScrollBy(0, d);
    FUpdating = true;
    if (bar->Kind() == TScrollBarKind::sbHorizontal) Data().hbar->setValue(bar->FPosition);
    else Data().vbar->setValue(bar->FPosition);
    FUpdating = false;
    Perform(bar->Kind() == TScrollBarKind::sbHorizontal ? WM_HSCROLL : WM_VSCROLL,
            MAKEWPARAM(SB_THUMBPOSITION, bar->FPosition), 0);
}

void TScrollingWinControl::ScrollInView(TControl* control)
{
    if (!control || !ContainsControl(control)) return;
    const TRect cr = ClientRect();
    TPoint p = control->ClientToParent({0, 0}, this);
    if (p.X < 0) FHorz->SetPosition(FHorz->Position() + p.X);
    else if (p.X + control->Width() > cr.Right)
        FHorz->SetPosition(FHorz->Position() + std::min(p.X, p.X + control->Width() - cr.Right));
    p = control->ClientToParent({0, 0}, this);
    if (p.Y < 0) FVert->SetPosition(FVert->Position() + p.Y);
    else if (p.Y + control->Height() > cr.Bottom)
        FVert->SetPosition(FVert->Position() + std::min(p.Y, p.Y + control->Height() - cr.Bottom));
}

void TScrollingWinControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_SIZE) {
        TWinControl::Dispatch(m);
        UpdateScrollBars();
        return;
    }
    TWinControl::Dispatch(m);
}

bool TScrollingWinControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TWinControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    TControlScrollBar* bar = shift.Contains(TShiftStateItem::ssShift) ? FHorz.get() : FVert.get();
    if (!bar->IsScrollBarVisible()) return false;
    const int steps = wheelDelta / WHEEL_DELTA;
    bar->SetPosition(bar->Position() - steps * 3 * bar->Increment());
    return true;
}

TScrollBox::TScrollBox(rtl::TComponent* owner) : TScrollingWinControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks};
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle style)
{
    FBorderStyle = style;
    Invalidate();
}

} // namespace gui
