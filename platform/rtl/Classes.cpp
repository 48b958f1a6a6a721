#include "platform/rtl/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <typeinfo>
#include <unordered_map>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace rtl {

// --- object handles -------------------------------------------------------

namespace {

struct HandleTable {
    std::mutex Lock;
    std::unordered_map<int32_t, TObject*> Objects;
    int32_t Next = 1;
};

HandleTable& Handles()
{
    static HandleTable* table = new HandleTable;  // outlives every static object
    return *table;
}

} // namespace

int32_t ObjectHandle(const TObject* obj)
{
    if (!obj) return 0;
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.Lock);
    if (obj->FHandle == -1) return 0;  // being freed
    if (obj->FHandle != 0) return obj->FHandle;
    if (t.Next == INT32_MAX) throw EOutOfMemory("Out of object handles");
    int32_t h = t.Next++;
    t.Objects.emplace(h, const_cast<TObject*>(obj));
    obj->FHandle = h;
    return h;
}

TObject* HandleToObject(int32_t handle)
{
    if (handle == 0) return nullptr;
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.Lock);
    auto it = t.Objects.find(handle);
    return it == t.Objects.end() ? nullptr : it->second;
}

void ReleaseObjectHandle(const TObject* obj)
{
    if (obj->FHandle == -1) return;
    if (obj->FHandle != 0) {
        HandleTable& t = Handles();
        std::lock_guard<std::mutex> guard(t.Lock);
        t.Objects.erase(obj->FHandle);
    }
    obj->FHandle = -1;  // no new handle while it is being freed
}

// --- TObject --------------------------------------------------------------

TObject::~TObject() { ReleaseObjectHandle(this); }

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

std::string TPersistent::GetNamePath() const
{
    std::string path = ClassName();
    return path;
}

void TPersistent::DefineProperties(TFiler&) {}

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
    // A component on its way out is nil to scripts and to the global list.
    ReleaseObjectHandle(this);
    RemoveGlobalComponent(this);
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

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TComponent::Updating() { SetComponentState(TComponentStateItem::csUpdating, true); }
void TComponent::Updated() { SetComponentState(TComponentStateItem::csUpdating, false); }

// --- global components ------------------------------------------------------

namespace {
std::vector<TComponent*>& GlobalList()
{
    static auto* list = new std::vector<TComponent*>;
    return *list;
}
} // namespace

void AddGlobalComponent(TComponent* component)
{
    auto& list = GlobalList();
    if (component && std::find(list.begin(), list.end(), component) == list.end())
        list.push_back(component);
}

void RemoveGlobalComponent(TComponent* component)
{
    auto& list = GlobalList();
    auto it = std::find(list.begin(), list.end(), component);
    if (it != list.end()) list.erase(it);
}

const std::vector<TComponent*>& GlobalComponents() { return GlobalList(); }

TComponent* FindGlobalComponent(std::string_view name)
{
    if (name.empty()) return nullptr;
    for (TComponent* c : GlobalList())
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TComponent::Loaded() { SetComponentState(TComponentStateItem::csLoading, false); }

void TComponent::BeginLoading() { SetComponentState(TComponentStateItem::csLoading, true); }

void TComponent::EndLoading()
{
    SetComponentState(TComponentStateItem::csLoading, false);
    Loaded();
}

} // namespace rtl
