// Menus on Qt: the items' state is the program's; the Qt menus are rebuilt
// from it whenever it changes (main menu) or when shown (pop-ups).  Shortcut
// keys are handled by the forms (IsShortCut), so Qt menus only show them.
#include "platform/gui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <vector>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace gui {

namespace {

QString MenuText(const TMenuItem* item)
{
    QString t = QString::fromStdString(item->Caption());
    const std::string sc = ShortCutToText(item->ShortCut());
    if (!sc.empty()) t += "\t" + QString::fromStdString(sc);
    return t;
}

TCustomForm* FormOf(rtl::TComponent* c)
{
    for (; c; c = c->Owner())
        if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
    return nullptr;
}

// Qt actions know their item by its parent and index, so that an item freed
// while its menu lives is never reached.
void TagAction(QAction* a, TMenuItem* parent, int index)
{
    a->setProperty("tecParent", QVariant::fromValue(reinterpret_cast<quintptr>(parent)));
    a->setProperty("tecIndex", index);
    a->setProperty("tecItem", QVariant::fromValue(reinterpret_cast<quintptr>(parent->Items(index))));
}

// The item shown by a Qt action of a menu that the program's items still hold.
TMenuItem* ItemOf(QAction* a)
{
    if (!a) return nullptr;
    auto* parent = reinterpret_cast<TMenuItem*>(a->property("tecParent").value<quintptr>());
    auto* item = reinterpret_cast<TMenuItem*>(a->property("tecItem").value<quintptr>());
    const int index = a->property("tecIndex").toInt();
    if (!parent || !item || index < 0 || index >= parent->Count() || parent->Items(index) != item) return nullptr;
    return item;
}

// The item under the mouse or the keyboard's highlight gives the hint.
void HintOfAction(QAction* a)
{
    TMenuItem* item = ItemOf(a);
    Application->SetHint(item ? GetLongHint(item->Hint()) : std::string());
}

// Mouse moves over a menu: the entry under the pointer gives the hint, a
// disabled one too (the menu does not highlight those).
class MenuHintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseMove)
            if (auto* menu = qobject_cast<QMenu*>(watched))
                HintOfAction(menu->actionAt(static_cast<QMouseEvent*>(e)->position().toPoint()));
        return false;
    }
};

void WatchHints(QMenu* menu)
{
    if (menu->property("tecHints").toBool()) return;
    menu->setProperty("tecHints", true);
    menu->installEventFilter(new MenuHintFilter(menu));
    QObject::connect(menu, &QMenu::hovered, menu, [](QAction* a) { HintOfAction(a); });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [] { Application->SetHint(""); });
}

} // namespace

void FillQtMenu(QMenu* menu, TMenuItem* parent, TCustomForm* form)
{
    menu->clear();
    const HWND formHandle = form ? form->Handle() : 0;
    if (!menu->property("tecMenuLoop").toBool()) {
        menu->setProperty("tecMenuLoop", true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [formHandle] {
            if (formHandle) SendMessage(formHandle, WM_ENTERMENULOOP, 0, 0);
        });
    }
    WatchHints(menu);
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = menu->addMenu(MenuText(item));
            sub->setEnabled(item->Enabled());
            TagAction(sub->menuAction(), parent, i);
            FillQtMenu(sub, item, form);
            continue;
        }
        QAction* a = menu->addAction(MenuText(item));
        a->setEnabled(item->Enabled());
        a->setCheckable(item->Checked() || item->AutoCheck() || item->RadioItem());
        a->setChecked(item->Checked());
        TagAction(a, parent, i);
        QPointer<QMenu> guard(menu);
        // The item may be freed while the menu lives: find it again by owner and index.
        TMenuItem* p = parent;
        const int index = i;
        rtl::TComponent* root = item->Owner();
        (void)root;
        QObject::connect(a, &QAction::triggered, a, [p, index, item] {
            if (index < p->Count() && p->Items(index) == item) {
                try {
                    item->Click();
                } catch (...) {
                    Application->HandleException(item);
                }
            }
        });
    }
}

// ---------------------------------------------------------------- items

void TMenuActionLink::Changed()
{
    if (FAction) FClient->ActionChange(FAction);
}

TMenuItem::TMenuItem(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    FActionLink.reset();
    while (!FItems.empty()) {
        TMenuItem* c = FItems.back();
        FItems.pop_back();
        c->FParent = nullptr;
        delete c;
    }
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Changed()
{
    if (TMenu* m = GetParentMenu()) m->MenuChanged(this);
}

void TMenuItem::SetCaption(const std::string& v) { FCaption = v; Changed(); }
void TMenuItem::SetEnabled(bool v) { FEnabled = v; Changed(); }
void TMenuItem::SetVisible(bool v) { FVisible = v; Changed(); }
void TMenuItem::SetShortCut(TShortCut v) { FShortCut = v; Changed(); }
void TMenuItem::SetRadioItem(bool v) { FRadioItem = v; Changed(); }

void TMenuItem::SetChecked(bool v)
{
    FChecked = v;
    if (v && FRadioItem && FParent) {
        for (TMenuItem* s : FParent->FItems)
            if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
    }
    Changed();
}

void TMenuItem::SetAction(TBasicAction* action)
{
    if (!action) { FActionLink.reset(); return; }
    if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(action);
    ActionChange(action);
}

void TMenuItem::ActionChange(TBasicAction* sender)
{
    if (auto* a = dynamic_cast<TCustomAction*>(sender)) {
        FCaption = a->Caption();
        FEnabled = a->Enabled();
        FChecked = a->Checked();
        FVisible = a->Visible();
        FShortCut = a->ShortCut();
        FHint = a->Hint();
        FImageIndex = a->ImageIndex();
        FAutoCheck = a->AutoCheck();
        Changed();
    }
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    if (!IsDestroying()) Changed();
}

void TMenuItem::Delete(int index)
{
    TMenuItem* item = Items(index);
    Remove(item);
}

void TMenuItem::Clear()
{
    while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const
{
    const std::string want = rtl::UpperCase(StripHotkey(caption));
    for (TMenuItem* i : FItems)
        if (rtl::UpperCase(StripHotkey(i->FCaption)) == want) return i;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* i = this;
    while (i->FParent) i = i->FParent;
    return i->FMenu;
}

void TMenuItem::Click()
{
    if (!FEnabled) return;
    if (FAutoCheck && !Action()) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
    else if (FActionLink && FActionLink->Action()) FActionLink->Execute(this);
}

void TMenuItem::InitiateAction()
{
    if (FActionLink && FActionLink->Action()) FActionLink->Action()->Update();
}

// ---------------------------------------------------------------- menus

TMenu::TMenu(rtl::TComponent* owner) : rtl::TComponent(owner), FItems(new TMenuItem(nullptr))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    FItems->FMenu = nullptr;
    delete FItems;
}

void TMenu::MenuChanged(TMenuItem*) {}

TMenuItem* TMenu::FindItemByShortCut(TShortCut sc) const
{
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (item->ShortCut() == sc) return item;
            if (TMenuItem* f = find(item)) return f;
        }
        return nullptr;
    };
    return sc == scNone ? nullptr : find(FItems);
}

bool TMenu::IsShortCut(TMessage& keyMsg)
{
    const TShortCut sc = ShortCut(static_cast<uint16_t>(keyMsg.WParam), KeyDataToShiftState(keyMsg.LParam));
    TMenuItem* item = FindItemByShortCut(sc);
    if (!item) return false;
    for (TMenuItem* p = item; p; p = p->Parent()) p->InitiateAction();
    if (!item->Enabled() || !item->Visible()) return false;
    item->Click();
    return true;
}

namespace {

QMenuBar* BarOf(const TMainMenu* menu)
{
    TCustomForm* f = FormOf(menu->Owner());
    return f && f->Menu() == menu ? f->Data().menuBar : nullptr;
}

// Brings a shown menu in step with its items: captions and states in place
// (the highlight stays), the whole menu again when entries came or went.
void SyncQtMenu(QMenu* menu, TMenuItem* parent, TCustomForm* form)
{
    int shown = 0;
    for (int i = 0; i < parent->Count(); ++i) shown += parent->Items(i)->Visible() ? 1 : 0;
    int tagged = 0;
    bool same = true;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        TMenuItem* item = ItemOf(a);
        if (!item || !item->Visible() || item->IsLine()) { same = false; break; }
        ++tagged;
        a->setText(MenuText(item));
        a->setEnabled(item->Enabled());
        if (!a->menu()) {
            a->setCheckable(item->Checked() || item->AutoCheck() || item->RadioItem());
            a->setChecked(item->Checked());
        }
    }
    int lines = 0;
    for (int i = 0; i < parent->Count(); ++i) lines += parent->Items(i)->Visible() && parent->Items(i)->IsLine() ? 1 : 0;
    if (!same || tagged != shown - lines) FillQtMenu(menu, parent, form);
}

} // namespace

void TMainMenu::MenuChanged(TMenuItem* item)
{
    TCustomForm* f = FormOf(Owner());
    if (!f || f->Menu() != this || f->IsDestroying()) return;
    // A menu's entries are made when it opens, so a change below the bar
    // only reaches a menu that is open now; the bar itself is built again
    // for changes of its own items.
    TMenuItem* top = item;
    while (top && top->Parent() && top->Parent() != FItems) top = top->Parent();
    if (item && top && top != item && top->Parent() == FItems) {
        if (QMenuBar* bar = BarOf(this))
            for (QAction* a : bar->actions())
                if (ItemOf(a) == top && a->menu() && a->menu()->isVisible()) SyncQtMenu(a->menu(), top, f);
        return;
    }
    f->MenuChanged();
}

void TMainMenu::FillMenuBar(QMenuBar* bar)
{
    // The menus of the last build go (the bar keeps menus it made until it
    // is freed); one that is open closes.
    std::vector<QMenu*> old;
    for (QAction* a : bar->actions())
        if (a->menu()) old.push_back(a->menu());
    bar->clear();
    for (QMenu* m : old) {
        m->hide();
        m->deleteLater();
    }
    TCustomForm* form = FormOf(Owner());
    const HWND formHandle = form ? form->Handle() : 0;
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* item = FItems->Items(i);
        if (!item->Visible()) continue;
        QMenu* m = bar->addMenu(QString::fromStdString(item->Caption()));
        m->setEnabled(item->Enabled());
        TagAction(m->menuAction(), FItems, i);
        // The form updates its commands as the menu loop starts, then the
        // entries are made from them.
        m->setProperty("tecMenuLoop", true);
        QObject::connect(m, &QMenu::aboutToShow, m, [item, m, form, formHandle] {
            if (formHandle) SendMessage(formHandle, WM_ENTERMENULOOP, 0, 0);
            for (int k = 0; k < item->Count(); ++k) item->Items(k)->InitiateAction();
            FillQtMenu(m, item, form);
        });
        FillQtMenu(m, item, form);
    }
}

TMenuItem* TMainMenu::FindAccelItem(char16_t ch) const
{
    if (!ch) return nullptr;
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* item = FItems->Items(i);
        if (item->Visible() && item->Enabled() && IsAccel(ch, item->Caption())) return item;
    }
    return nullptr;
}

bool TMainMenu::OpenMenu(TMenuItem* barItem)
{
    QMenuBar* bar = BarOf(this);
    if (!bar || !bar->isVisible()) return false;
    for (QAction* a : bar->actions()) {
        if (ItemOf(a) != barItem || !a->menu()) continue;
        bar->setActiveAction(a);
        QMenu* m = a->menu();
        if (!m->isVisible()) return false;
        // Opened from the keyboard: the first entry that can run is highlighted.
        for (QAction* e : m->actions())
            if (!e->isSeparator() && e->isEnabled() && e->isVisible()) {
                m->setActiveAction(e);
                break;
            }
        return true;
    }
    return false;
}

TMenuItem* TMainMenu::OpenedItem() const
{
    if (QMenuBar* bar = BarOf(this))
        for (QAction* a : bar->actions())
            if (a->menu() && a->menu()->isVisible()) return ItemOf(a);
    return nullptr;
}

void TMainMenu::CloseMenu()
{
    if (QMenuBar* bar = BarOf(this))
        for (QAction* a : bar->actions())
            if (a->menu() && a->menu()->isVisible()) a->menu()->hide();
}

TPopupMenu::~TPopupMenu() { delete FMenuWidget; }

void TPopupMenu::Popup(int x, int y)
{
    FPopupPoint = {x, y};
    if (OnPopup) OnPopup(this);
    for (int k = 0; k < FItems->Count(); ++k) FItems->Items(k)->InitiateAction();
    EnsureQtApp();
    if (!FMenuWidget) FMenuWidget = new QMenu();
    FillQtMenu(FMenuWidget, FItems, FormOf(Owner()));
    FMenuWidget->popup(QPoint(x, y));
}

void TPopupMenu::CloseMenu()
{
    if (FMenuWidget) FMenuWidget->hide();
}

bool TPopupMenu::IsOpen() const { return FMenuWidget && FMenuWidget->isVisible(); }

} // namespace gui
