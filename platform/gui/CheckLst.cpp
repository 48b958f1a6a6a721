#include "platform/gui/CheckLst.h"

#include <QListWidget>

#include "platform/gui/ControlsQt.h"
#include "platform/rtl/Exceptions.h"

namespace gui {

namespace {

QListWidget* ListOf(const TWinControl* c) { return static_cast<QListWidget*>(ControlAccess::Widget(c)); }

} // namespace

TCheckListBox::TCheckListBox(rtl::TComponent* owner) : TCustomListBox(owner)
{
    // The base rebuilds the native items on every change of Items; each new
    // item is made checkable afterwards.
    auto rebuild = Items()->OnChange;
    Items()->OnChange = [this, rebuild](rtl::TObject* sender) {
        if (rebuild) rebuild(sender);
        ItemsRebuilt();
    };
    QListWidget* w = ListOf(this);
    QObject::connect(w, &QListWidget::itemChanged, w, [this](QListWidgetItem*) {
        if (!FApplying && OnClickCheck) OnClickCheck(this);
    });
}

void TCheckListBox::ItemsRebuilt()
{
    QListWidget* w = ListOf(this);
    FApplying = true;
    for (int i = 0; i < w->count(); ++i) {
        QListWidgetItem* it = w->item(i);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
    FApplying = false;
}

bool TCheckListBox::Checked(int index) const
{
    QListWidgetItem* it = ListOf(this)->item(index);
    if (!it) throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return it->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int index, bool value)
{
    QListWidgetItem* it = ListOf(this)->item(index);
    if (!it) throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    FApplying = true;
    it->setCheckState(value ? Qt::Checked : Qt::Unchecked);
    FApplying = false;
}

void TCheckListBox::ToggleByUser(int index)
{
    QListWidgetItem* it = ListOf(this)->item(index);
    if (!it) throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    it->setCheckState(it->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace gui
