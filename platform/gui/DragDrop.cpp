// Drag and drop on Qt's drag events and QDrag.
#include "platform/gui/DragDrop.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <deque>
#include <map>
#include <set>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"

namespace gui {


struct TDataObject::Impl {
    QMimeData mime;
};

namespace {

QString MimeOfFormat(TClipboardFormat f)
{
    // Same naming as the clipboard's.
    if (f == CF_TEXT || f == CF_UNICODETEXT) return "text/plain";
    if (f == CF_HDROP) return "text/uri-list";
    const std::string name = ClipboardFormatName(f);
    if (name == "Rich Text Format") return "text/rtf";
    if (name == "HTML Format") return "text/html";
    QString s = QString::fromStdString(name);
    for (QChar& c : s)
        if (!c.isLetterOrNumber() && c != '.' && c != '+' && c != '-') c = '-';
    return "application/x-tolmira-" + s;
}

void CopyMime(const QMimeData& from, QMimeData& to)
{
    for (const QString& f : from.formats()) to.setData(f, from.data(f));
}

int ToEffects(Qt::DropActions a)
{
    int e = 0;
    if (a & Qt::CopyAction) e |= DROPEFFECT_COPY;
    if (a & Qt::MoveAction) e |= DROPEFFECT_MOVE;
    if (a & Qt::LinkAction) e |= DROPEFFECT_LINK;
    return e;
}

Qt::DropAction ToAction(int effect)
{
    if (effect & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY) return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

std::map<HWND, IDropTarget*>& Targets()
{
    static std::map<HWND, IDropTarget*> targets;
    return targets;
}

std::set<HWND>& FileWindows()
{
    static std::set<HWND> windows;
    return windows;
}

struct DropFiles {
    std::vector<std::string> files;
    TPoint point;
};

std::vector<std::string> LocalFiles(const QMimeData* mime)
{
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& u : mime->urls())
        if (u.isLocalFile()) files.push_back(u.toLocalFile().toStdString());
    return files;
}

bool AcceptsFiles(TWinControl* c)
{
    if (FileWindows().count(c->Handle())) return true;
    auto* f = dynamic_cast<TCustomForm*>(c);
    return f && f->AcceptFiles();
}

bool HandleDrop(TWinControl* c, QEvent* e)
{
    auto it = Targets().find(c->Handle());
    if (it != Targets().end()) {
        IDropTarget* t = it->second;
        if (e->type() == QEvent::DragLeave) {
            t->DragLeave();
            return true;
        }
        auto* de = static_cast<QDropEvent*>(e);
        const QPoint p = de->position().toPoint();
        const TShiftState shift = qtw::ShiftFromQt(de->modifiers(), de->buttons());
        TDataObject data;
        CopyMime(*de->mimeData(), data.Data().mime);
        int effect = DROPEFFECT_NONE;
        const int allowed = ToEffects(de->possibleActions());
        if (e->type() == QEvent::DragEnter) effect = t->DragEnter(data, shift, {p.x(), p.y()}, allowed);
        else if (e->type() == QEvent::DragMove) effect = t->DragOver(shift, {p.x(), p.y()}, allowed);
        else effect = t->Drop(data, shift, {p.x(), p.y()}, allowed);
        if (effect != DROPEFFECT_NONE) {
            de->setDropAction(ToAction(effect));
            de->accept();
        } else {
            de->ignore();
        }
        return true;
    }
    if (!AcceptsFiles(c)) return false;
    if (e->type() == QEvent::DragLeave) return true;
    auto* de = static_cast<QDropEvent*>(e);
    const std::vector<std::string> files = LocalFiles(de->mimeData());
    if (files.empty()) {
        de->ignore();
        return true;
    }
    de->setDropAction(Qt::CopyAction);
    de->accept();
    if (e->type() == QEvent::Drop) {
        DropFiles drop{files, {static_cast<int>(de->position().x()), static_cast<int>(de->position().y())}};
        c->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(&drop), 0);
        if (auto* f = dynamic_cast<TCustomForm*>(c))
            if (f->OnFilesDropped) f->OnFilesDropped(f, files);
    }
    return true;
}

} // namespace

bool qtw::HandleDropEvent(TWinControl* c, QEvent* e) { return HandleDrop(c, e); }

TDataObject::TDataObject() : FImpl(std::make_unique<Impl>()) {}
TDataObject::~TDataObject() = default;
TDataObject::TDataObject(const TDataObject& other) : FImpl(std::make_unique<Impl>())
{
    CopyMime(other.FImpl->mime, FImpl->mime);
}
TDataObject& TDataObject::operator=(const TDataObject& other)
{
    if (this != &other) {
        FImpl = std::make_unique<Impl>();
        CopyMime(other.FImpl->mime, FImpl->mime);
    }
    return *this;
}

bool TDataObject::HasText() const { return FImpl->mime.hasText(); }
std::string TDataObject::Text() const { return FImpl->mime.text().toStdString(); }
void TDataObject::SetText(const std::string& text) { FImpl->mime.setText(QString::fromStdString(text)); }
bool TDataObject::HasFiles() const { return !LocalFiles(&FImpl->mime).empty(); }
std::vector<std::string> TDataObject::Files() const { return LocalFiles(&FImpl->mime); }

void TDataObject::SetFiles(const std::vector<std::string>& files)
{
    QList<QUrl> urls;
    for (const std::string& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
    FImpl->mime.setUrls(urls);
}

bool TDataObject::HasFormat(TClipboardFormat format) const { return FImpl->mime.hasFormat(MimeOfFormat(format)); }

std::vector<uint8_t> TDataObject::Data(TClipboardFormat format) const
{
    const QByteArray b = FImpl->mime.data(MimeOfFormat(format));
    return std::vector<uint8_t>(b.begin(), b.end());
}

void TDataObject::SetData(TClipboardFormat format, const std::vector<uint8_t>& data)
{
    FImpl->mime.setData(MimeOfFormat(format),
                        QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
}

void RegisterDragDrop(TWinControl* window, IDropTarget* target)
{
    Targets()[window->Handle()] = target;
    ControlAccess::ClientWidget(window)->setAcceptDrops(true);
}

void RevokeDragDrop(TWinControl* window)
{
    Targets().erase(window->Handle());
    if (!AcceptsFiles(window)) ControlAccess::ClientWidget(window)->setAcceptDrops(false);
}

int DoDragDrop(TWinControl* source, const TDataObject& data, int allowedEffects)
{
    auto* drag = new QDrag(ControlAccess::Widget(source));
    auto* mime = new QMimeData();
    CopyMime(data.Data().mime, *mime);
    drag->setMimeData(mime);
    Qt::DropActions actions;
    if (allowedEffects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
    if (allowedEffects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    if (allowedEffects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
    const Qt::DropAction done = drag->exec(actions);
    return ToEffects(done);
}

namespace {

// What the loop sees of the input while it runs: each mouse or key event
// becomes one step, taken in order (several may arrive in one pump).
struct DragStep {
    TPoint pos;
    TShiftState keys;
    bool escape = false;
};

struct DragInput : QObject {
    std::deque<DragStep> steps;
    DragStep last;
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint g = me->globalPosition().toPoint();
            last.pos = {g.x(), g.y()};
            last.keys = qtw::ShiftFromQt(me->modifiers(), me->buttons());
            steps.push_back(last);
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(e);
            DragStep s = last;
            TShiftState k = qtw::ShiftFromQt(ke->modifiers(), Qt::NoButton);
            if (last.keys.Contains(TShiftStateItem::ssLeft)) k.Include(TShiftStateItem::ssLeft);
            s.keys = k;
            s.escape = e->type() == QEvent::KeyPress && ke->key() == Qt::Key_Escape;
            steps.push_back(s);
            return true;
        }
        default:
            return false;
        }
    }
};

// The registered target whose window lies under a screen point (the
// innermost one when windows nest).
std::pair<TWinControl*, IDropTarget*> TargetAt(TPoint screen)
{
    std::pair<TWinControl*, IDropTarget*> best{nullptr, nullptr};
    for (auto& [h, t] : Targets()) {
        TWinControl* c = FindControl(h);
        if (!c || !c->Showing()) continue;
        const TPoint o = c->ClientToScreen({0, 0});
        if (screen.X < o.X || screen.Y < o.Y || screen.X >= o.X + c->Width() || screen.Y >= o.Y + c->Height()) continue;
        if (!best.first || best.first->ContainsControl(c) || IsChild(best.first->Handle(), c->Handle())) best = {c, t};
    }
    return best;
}

} // namespace

int DoDragDrop(TWinControl* source, const TDataObject& data, int allowedEffects, IDropSource& dropSource, int& effect)
{
    DragInput in;
    in.last.pos = GetCursorPos();
    in.last.keys = GetShiftState();
    in.last.keys.Include(TShiftStateItem::ssLeft);
    DragStep step = in.last;
    qApp->installEventFilter(&in);
    if (source) source->SetMouseCapture(true);
    std::pair<TWinControl*, IDropTarget*> current{nullptr, nullptr};
    effect = DROPEFFECT_NONE;
    int result = DRAGDROP_S_CANCEL;
    bool moved = true;
    for (;;) {
        const int r = dropSource.QueryContinueDrag(step.escape, step.keys);
        if (r == DRAGDROP_S_CANCEL) {
            if (current.second) current.second->DragLeave();
            effect = DROPEFFECT_NONE;
            break;
        }
        if (r == DRAGDROP_S_DROP) {
            if (current.second && effect != DROPEFFECT_NONE) {
                const TPoint p = current.first->ScreenToClient(step.pos);
                effect = current.second->Drop(data, step.keys, p, allowedEffects) & allowedEffects;
                result = effect != DROPEFFECT_NONE ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
            } else {
                if (current.second) current.second->DragLeave();
                effect = DROPEFFECT_NONE;
            }
            break;
        }
        if (moved) {
            auto under = TargetAt(step.pos);
            if (under.second != current.second) {
                if (current.second) current.second->DragLeave();
                current = under;
                effect = current.second
                             ? current.second->DragEnter(data, step.keys, current.first->ScreenToClient(step.pos), allowedEffects)
                             : DROPEFFECT_NONE;
            } else if (current.second) {
                effect = current.second->DragOver(step.keys, current.first->ScreenToClient(step.pos), allowedEffects);
            }
            effect &= allowedEffects;
            dropSource.GiveFeedback(effect);
        }
        while (in.steps.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        const DragStep next = in.steps.front();
        in.steps.pop_front();
        moved = next.pos.X != step.pos.X || next.pos.Y != step.pos.Y || !(next.keys == step.keys);
        step = next;
    }
    if (source) source->SetMouseCapture(false);
    qApp->removeEventFilter(&in);
    return result;
}

void DragAcceptFiles(HWND window, bool accept)
{
    TWinControl* c = FindControl(window);
    if (!c) return;
    if (accept) FileWindows().insert(window);
    else FileWindows().erase(window);
    ControlAccess::ClientWidget(c)->setAcceptDrops(accept || Targets().count(window));
    if (auto* f = dynamic_cast<TCustomForm*>(c)) f->SetAcceptFiles(accept);
}

int DragQueryFileCount(WPARAM drop)
{
    return drop ? static_cast<int>(reinterpret_cast<DropFiles*>(drop)->files.size()) : 0;
}

std::string DragQueryFile(WPARAM drop, int index)
{
    auto* d = reinterpret_cast<DropFiles*>(drop);
    if (!d || index < 0 || index >= static_cast<int>(d->files.size())) return {};
    return d->files[static_cast<std::size_t>(index)];
}

TPoint DragQueryPoint(WPARAM drop)
{
    auto* d = reinterpret_cast<DropFiles*>(drop);
    return d ? d->point : TPoint{};
}

void DragFinish(WPARAM) {}

} // namespace gui
