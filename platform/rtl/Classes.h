// The object model: TObject, TPersistent and TComponent with its owner tree
// and free notifications.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Set.h"

namespace rtl {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class name as the system names it ("TSolarEclipse").
    virtual std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose state can be copied from another by Assign.
class TPersistent : public TObject {
public:
    // Copies source's state into this object.  The default hands the work
    // to source->AssignTo; when neither side knows the other, raises
    // EConvertError "Cannot assign a <source class> to a <target class>".
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

enum class TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
    csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = Set<TComponentStateItem>;

// A component belongs to its owner, which frees it; a component may ask to
// be told when another one is freed (FreeNotification) and is then called
// with Notification(that, opRemove) before that component goes.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // The owned component with this name (ASCII case ignored), or nullptr.
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return FName; }
    // Names are empty or identifiers (letter or "_", then letters, digits,
    // "_"), unique among the owner's components (case ignored); otherwise
    // raises EComponentError.
    virtual void SetName(const std::string& newName);
    long long Tag() const { return FTag; }
    void SetTag(long long tag) { FTag = tag; }

    const TComponentState& ComponentState() const { return FComponentState; }
    bool IsLoading() const;
    bool IsDestroying() const;
    bool IsDesigning() const;
    void SetDesigning(bool value);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component (last created first).
    void DestroyComponents();
    // Marks this component (and its owned ones) as being destroyed.
    void Destroying();

    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called when loading from a stream has finished.
    virtual void Loaded();
    void BeginLoading();
    void EndLoading();   // clears csLoading and calls Loaded

protected:
    // Told when a component this one owns is inserted or removed, and when
    // a component it asked about (FreeNotification) is freed.
    virtual void Notification(TComponent* component, TOperation operation);
    void SetComponentState(TComponentStateItem item, bool on);
    virtual void ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    long long FTag = 0;
    TComponentState FComponentState;
};

// Frees an object and clears the pointer.
template <typename T>
void FreeAndNil(T*& p)
{
    T* tmp = p;
    p = nullptr;
    delete tmp;
}

bool IsValidIdent(const std::string& ident);

} // namespace rtl
