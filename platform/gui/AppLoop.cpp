// The application object and its message loop (idle handling, re-entrant
// ProcessMessages, exception display, hints), the application events
// components and the screen.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSessionManager>
#include <QToolTip>

#include <algorithm>
#include <map>

#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ControlsQt.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/QtBridge.h"
#include "platform/rtl/Files.h"

namespace gui {

namespace qtw {
void PostWake();
}

TApplication* Application = new TApplication();
TScreen* Screen = new TScreen();

namespace {

std::vector<TApplicationEvents*>& EventComponents()
{
    static std::vector<TApplicationEvents*> list;
    return list;
}

// Counts the events the GUI thread delivers, so that the loop can tell a
// pass that handled something from one that found the queue empty.
class EventCounter : public QObject {
public:
    uint64_t count = 0;
    bool eventFilter(QObject*, QEvent*) override
    {
        ++count;
        return false;
    }
};

} // namespace

struct TApplication::Impl {
    EventCounter* counter = nullptr;
    int idleDepth = 0;
};

TApplication::TApplication() : rtl::TComponent(nullptr), FImpl(std::make_unique<Impl>()) {}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    EnsureQtApp();
    if (!FImpl->counter) {
        FImpl->counter = new EventCounter();
        QCoreApplication::instance()->installEventFilter(FImpl->counter);
#if QT_CONFIG(sessionmanager)
        // Logging out asks the main form as closing it does; a refusal
        // cancels the logout.  Without leave to interact nothing is asked.
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [this](QSessionManager& manager) {
            if (!manager.allowsInteraction()) return;
            const bool mayEnd = QueryEndSession();
            manager.release();
            if (!mayEnd) manager.cancel();
        }, Qt::DirectConnection);
#endif
    }
}

bool TApplication::QueryEndSession()
{
    if (!FMainForm) return true;
    TMessage m;
    m.Msg = WM_QUERYENDSESSION;
    try {
        FMainForm->Dispatch(m);
    } catch (...) {
        HandleException(FMainForm);
        return true;
    }
    return m.Result != 0;
}

void TApplication::SetTitle(const std::string& title)
{
    // Only the program's own: the toolkit's display name would be appended
    // to every window title by the desktop (" — <title>"), cutting dialog
    // titles short and doubling the main window's.
    FTitle = title;
    EnsureQtApp();
}

std::string TApplication::ExeName() const
{
    EnsureQtApp();
    return QCoreApplication::applicationFilePath().toStdString();
}

uint64_t TApplication::MessagesHandled() const { return FImpl->counter ? FImpl->counter->count : 0; }

bool TApplication::ProcessMessage()
{
    Initialize();
    const uint64_t before = FImpl->counter->count;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return FImpl->counter->count != before;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage()
{
    if (!ProcessMessage()) Idle();
}

void TApplication::WaitMessage()
{
    if (FTerminated) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void TApplication::Idle()
{
    bool done = true;
    DoIdle(done);
    if (done) WaitMessage();
}

void TApplication::DoIdle(bool& done)
{
    if (FImpl->idleDepth > 0) return;   // an idle handler running a modal loop
    ++FImpl->idleDepth;
    try {
        if (OnIdle) OnIdle(this, done);
        std::vector<TApplicationEvents*> list = EventComponents();
        for (TApplicationEvents* e : list) {
            auto& all = EventComponents();
            if (std::find(all.begin(), all.end(), e) == all.end()) continue;
            if (e->OnIdle) e->OnIdle(e, done);
        }
        // Actions of the visible forms update their state (OnUpdate).
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (!f->Visible() || !f->Enabled()) continue;
            for (int k = 0; k < f->ComponentCount(); ++k)
                if (auto* al = dynamic_cast<TCustomActionList*>(f->Components(k))) al->UpdateActions();
        }
    } catch (...) {
        --FImpl->idleDepth;
        HandleException(this);
        return;
    }
    --FImpl->idleDepth;
}

void TApplication::Run()
{
    Initialize();
    FTerminated = false;
    if (FMainForm && FShowMainForm) FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
    // A later loop (tests run several) starts afresh.
    FTerminated = false;
}

void TApplication::Terminate()
{
    FTerminated = true;
    qtw::PostWake();
}

void TApplication::HandleException(rtl::TObject* sender)
{
    std::exception_ptr p = std::current_exception();
    if (!p) return;
    try {
        std::rethrow_exception(p);
    } catch (const rtl::EAbort&) {
        // The silent exception.
    } catch (const std::exception& e) {
        if (OnException) {
            OnException(sender, e);
            return;
        }
        bool any = false;
        std::vector<TApplicationEvents*> list = EventComponents();
        for (TApplicationEvents* ev : list)
            if (ev->OnException) {
                any = true;
                ev->OnException(sender, e);
            }
        if (!any) ShowException(e);
    } catch (...) {
        ShowException(rtl::Exception("Unknown error"));
    }
}

void TApplication::ShowException(const std::exception& e)
{
    std::string msg;
    if (auto* re = dynamic_cast<const rtl::Exception*>(&e)) msg = re->Message();
    else msg = e.what();
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
    MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags)
{
    return GetDialogService().MessageBox(text, caption.empty() ? FTitle : caption, flags);
}

bool TApplication::Active() const
{
    return Screen->ActiveForm() != nullptr;
}

void TApplication::BringToFront()
{
    if (Screen->ActiveForm()) Screen->ActiveForm()->BringToFront();
    else if (FMainForm) FMainForm->BringToFront();
}

void TApplication::Minimize()
{
    if (FMainForm) FMainForm->SetWindowState(TWindowState::wsMinimized);
}

void TApplication::Restore()
{
    if (FMainForm) FMainForm->SetWindowState(TWindowState::wsNormal);
}

bool TApplication::IsShortCut(TMessage& keyMsg)
{
    bool handled = false;
    if (OnShortCut) OnShortCut(keyMsg, handled);
    if (handled) return true;
    std::vector<TApplicationEvents*> list = EventComponents();
    for (TApplicationEvents* e : list)
        if (e->OnShortCut) {
            e->OnShortCut(keyMsg, handled);
            if (handled) return true;
        }
    return false;
}

bool TApplication::HelpShowTableOfContents()
{
    if (FHelpFile.empty() || !rtl::FileExists(FHelpFile)) return false;
    return ShellOpen(FHelpFile);
}

// -- hints

std::string GetShortHint(const std::string& hint)
{
    const auto p = hint.find('|');
    return p == std::string::npos ? hint : hint.substr(0, p);
}

std::string GetLongHint(const std::string& hint)
{
    const auto p = hint.find('|');
    return p == std::string::npos ? hint : hint.substr(p + 1);
}

void TApplication::SetHint(const std::string& hint)
{
    if (FHint == hint) return;
    FHint = hint;
    // Status bars with AutoHint show it (the first panel, or the simple text).
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        for (int k = 0; k < f->ComponentCount(); ++k)
            if (auto* sb = dynamic_cast<TStatusBar*>(f->Components(k)))
                if (sb->AutoHint()) {
                    if (sb->SimplePanel() || sb->PanelCount() == 0) sb->SetSimpleText(hint);
                    else sb->Panels(0)->SetText(hint);
                }
    }
    if (OnHint) OnHint(this);
    std::vector<TApplicationEvents*> list = EventComponents();
    for (TApplicationEvents* e : list)
        if (e->OnHint) e->OnHint(this);
}

void TApplication::CancelHint()
{
    if (QCoreApplication::instance()) QToolTip::hideText();
    HideHintWindow();
    FShownHint.clear();
}

void TApplication::ActivateHint(TPoint cursorPos)
{
    TControl* c = FindDragTarget(cursorPos, true);
    if (c) ShowControlHint(c, c->ScreenToClient(cursorPos));
}

bool TApplication::ShowControlHint(TControl* control, TPoint clientPos)
{
    if (!FShowHint || !control) return false;
    TControl* hc = control;
    while (hc && hc->Hint().empty()) hc = hc->Parent();
    if (!hc || !hc->ShowHint()) return false;
    THintInfo info;
    info.HintControl = hc;
    info.CursorPos = clientPos;
    info.CursorRect = hc->ClientRect();
    info.HintColor = FHintColor;
    info.HintPos = control->ClientToScreen({clientPos.X, clientPos.Y + 20});
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(hc->Hint());
    info.HintWindowClass = HintWindowClass();
    bool canShow = true;
    if (OnShowHint) OnShowHint(info.HintStr, canShow, info);
    for (TApplicationEvents* e : std::vector<TApplicationEvents*>(EventComponents()))
        if (e->OnShowHint) e->OnShowHint(info.HintStr, canShow, info);
    if (canShow && hc->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) canShow = false;
    if (!canShow || info.HintStr.empty()) {
        CancelHint();
        return false;
    }
    FShownHint = info.HintStr;
    // A control that chose its own hint window class is shown in it.
    if (ShowHintInWindow(info)) return true;
    QToolTip::showText(QPoint(info.HintPos.X, info.HintPos.Y), QString::fromStdString(info.HintStr),
                       WidgetOf(hc), QRect(), info.HideTimeout);
    return true;
}

// ----------------------------------------------------- application events

TApplicationEvents::TApplicationEvents(rtl::TComponent* owner) : rtl::TComponent(owner)
{
    EventComponents().push_back(this);
}

TApplicationEvents::~TApplicationEvents()
{
    auto& l = EventComponents();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

// ------------------------------------------------------------------ screen

struct TScreen::Impl {
    std::map<TCursor, QCursor> cursors;
    bool overrideSet = false;
};

namespace {
TScreen::Impl* gScreenImpl = nullptr;
}

bool LookupScreenCursor(TCursor index, QCursor& out)
{
    if (!gScreenImpl) return false;
    auto it = gScreenImpl->cursors.find(index);
    if (it == gScreenImpl->cursors.end()) return false;
    out = it->second;
    return true;
}

TScreen::TScreen()
    : rtl::TComponent(nullptr), FHintFont(std::make_unique<TFont>()), FMenuFont(std::make_unique<TFont>()),
      FImpl(std::make_unique<Impl>())
{
    gScreenImpl = FImpl.get();
}

TScreen::~TScreen() { gScreenImpl = nullptr; }

void TScreen::SetCursor(TCursor cursor)
{
    FCursor = cursor;
    if (!QCoreApplication::instance()) return;
    if (FImpl->overrideSet) {
        QApplication::restoreOverrideCursor();
        FImpl->overrideSet = false;
    }
    if (cursor == crDefault) return;
    QWidget probe;
    ApplyCursor(&probe, cursor);
    QApplication::setOverrideCursor(probe.cursor());
    FImpl->overrideSet = true;
}

void TScreen::SetCursorImage(TCursor index, const TBitmap* image, TPoint hotSpot)
{
    EnsureQtApp();
    QImage img = qt::Image(*image).convertToFormat(QImage::Format_ARGB32);
    if (image->Transparent()) {
        const TColor key = ColorToRGB(image->TransparentColor());
        const QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((row[x] & 0xFFFFFF) == (k & 0xFFFFFF)) row[x] = 0;
        }
    }
    FImpl->cursors[index] = QCursor(QPixmap::fromImage(img), hotSpot.X, hotSpot.Y);
}

void TScreen::SetCursorToStock(TCursor index, TCursor stock)
{
    EnsureQtApp();
    QWidget probe;
    ApplyCursor(&probe, stock);
    FImpl->cursors[index] = probe.cursor();
}

bool TScreen::HasCursor(TCursor index) const { return FImpl->cursors.count(index) != 0; }

int TScreen::Width() const { return DesktopRect().Width(); }
int TScreen::Height() const { return DesktopRect().Height(); }

TRect TScreen::DesktopRect() const
{
    EnsureQtApp();
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return Rect(0, 0, 1024, 768);
    const QRect r = s->virtualGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect TScreen::WorkAreaRect() const
{
    EnsureQtApp();
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return Rect(0, 0, 1024, 768);
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

std::vector<std::string> TScreen::Fonts() const
{
    EnsureQtApp();
    std::vector<std::string> out;
    for (const QString& f : QFontDatabase::families()) out.push_back(f.toStdString());
    return out;
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FActiveControl && (FActiveControl == form || form->ContainsControl(FActiveControl))) FActiveControl = nullptr;
    if (FActiveForm == form) FActiveForm = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form)
{
    if (FActiveForm == form) return;
    TCustomForm* old = FActiveForm;
    FActiveForm = form;
    if (old) {
        old->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
        old->Deactivate();
    }
    if (form) {
        form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
        form->Activate();
        SetActiveControl(form->FocusedControl() ? form->FocusedControl() : form);
    }
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control)
{
    if (FActiveControl == control) return;
    FActiveControl = control;
    if (OnActiveControlChange) OnActiveControlChange(this);
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled)
{
    QWidget* w = QApplication::widgetAt(screenPos.X, screenPos.Y);
    TWinControl* c = ControlOfWidget(w);
    if (!c) return nullptr;
    const TPoint p = c->ScreenToClient(screenPos);
    TControl* g = c->ControlAtPos(p, allowDisabled, false);
    return g ? g : c;
}

} // namespace gui
