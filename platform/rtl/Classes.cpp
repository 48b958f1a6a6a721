#include "platform/rtl/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace rtl {

// --- TObject --------------------------------------------------------------

std::string TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    // Drop namespaces: the system's class names are unqualified.
    auto p = name.rfind("::");
    if (p != std::string::npos) name.erase(0, p + 2);
    return name;
}

// --- TPersistent ----------------------------------------------------------

void TPersistent::Assign(const TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest->ClassName());
}

// --- TComponent -----------------------------------------------------------

bool IsValidIdent(const std::string& ident)
{
    if (ident.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(ident[0])) return false;
    for (char c : ident)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

TComponent::TComponent(TComponent* owner)
{
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked; each answer removes the pair from both lists.
    std::vector<TComponent*> notifies = FFreeNotifies;
    for (auto it = notifies.rbegin(); it != notifies.rend(); ++it) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), *it) != FFreeNotifies.end())
            (*it)->Notification(this, TOperation::opRemove);
    }
    // A Notification override that did not call the inherited one leaves the
    // pair behind: drop it, so nobody keeps a pointer to this object.
    for (TComponent* c : FFreeNotifies) c->RemoveNotification(this);
    FFreeNotifies.clear();
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FComponents[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName, const std::string& newName)
{
    if (component && !SameText(curName, newName) && !newName.empty() && FindComponent(newName))
        throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::SetName(const std::string& newName)
{
    if (FName == newName) return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw EComponentError("'" + newName + "' is not a valid component name");
    if (FOwner) FOwner->ValidateRename(this, FName, newName);
    FName = newName;
}

bool TComponent::IsLoading() const { return FComponentState.Contains(TComponentStateItem::csLoading); }
bool TComponent::IsDestroying() const { return FComponentState.Contains(TComponentStateItem::csDestroying); }
bool TComponent::IsDesigning() const { return FComponentState.Contains(TComponentStateItem::csDesigning); }

void TComponent::SetComponentState(TComponentStateItem item, bool on)
{
    if (on) FComponentState.Include(item);
    else FComponentState.Exclude(item);
}

void TComponent::SetDesigning(bool value)
{
    SetComponentState(TComponentStateItem::csDesigning, value);
    for (TComponent* c : FComponents) c->SetDesigning(value);
}

void TComponent::Insert(TComponent* component)
{
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component)
{
    component->FOwner = nullptr;
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end()) FComponents.erase(it);
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component) return;
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    ValidateRename(component, "", component->FName);
    Insert(component);
    if (IsDesigning()) component->SetDesigning(true);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->FOwner != this) return;
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        if (instance->FComponentState.Contains(TComponentStateItem::csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        delete instance;
    }
}

void TComponent::Destroying()
{
    if (IsDestroying()) return;
    SetComponentState(TComponentStateItem::csDestroying, true);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::RemoveNotification(TComponent* component)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this) return;
    if (!FOwner || component->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(component);
            component->FreeNotification(this);
        }
    }
    SetComponentState(TComponentStateItem::csFreeNotification, true);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    RemoveNotification(component);
    if (component) component->RemoveNotification(this);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // Pass it on to the owned components; the list may shrink meanwhile.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<std::size_t>(i)]->Notification(component, operation);
        --i;
        if (i >= ComponentCount()) i = ComponentCount() - 1;
    }
}

void TComponent::Loaded() { SetComponentState(TComponentStateItem::csLoading, false); }

void TComponent::BeginLoading() { SetComponentState(TComponentStateItem::csLoading, true); }

void TComponent::EndLoading()
{
    SetComponentState(TComponentStateItem::csLoading, false);
    Loaded();
}

} // namespace rtl
