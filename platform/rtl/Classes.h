// The object model: TObject, TPersistent and TComponent with its owner tree
// and free notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Set.h"

namespace rtl {

class TClassInfo;
class TFiler;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    // Releases the object's handle, so that it reads back as nil.
    virtual ~TObject();

    // The class name as the system names it ("TSolarEclipse").
    virtual std::string ClassName() const;

    // The class descriptor (TypInfo.h): of this class when it is declared
    // with RTL_CLASS, otherwise of its nearest described ancestor.
    virtual const TClassInfo* ClassType() const;
    using RtlSelf = TObject;
    static const TClassInfo& StaticClassInfo();
    // Is-a test against a class descriptor or a class name (case ignored).
    bool InheritsFrom(const TClassInfo& cls) const;
    bool InheritsFrom(std::string_view className) const;

private:
    friend int32_t ObjectHandle(const TObject* obj);
    friend void ReleaseObjectHandle(const TObject* obj);
    mutable int32_t FHandle = 0;
};

// Objects travel through scripts and Variants as 32-bit handles.  A handle
// is given on first request and stays the object's until it is freed; then
// it reads back as nil.  Handles are never reused while the process runs
// (up to 2^31 - 1 of them).  0 is nil.
int32_t ObjectHandle(const TObject* obj);
// The live object of a handle; nullptr for 0, an unknown or a freed one.
TObject* HandleToObject(int32_t handle);

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose state can be copied from another by Assign.
class TPersistent : public TObject {
public:
    using RtlSelf = TPersistent;
    static const TClassInfo& StaticClassInfo();

    // Copies source's state into this object.  The default hands the work
    // to source->AssignTo; when neither side knows the other, raises
    // EConvertError "Cannot assign a <source class> to a <target class>".
    virtual void Assign(const TPersistent* source);

    // The object this one belongs to (a collection item's collection, an
    // owned component's owner), or nullptr.
    virtual TPersistent* GetOwner() const { return nullptr; }
    // Dotted name path for messages ("Form1.Button1", "Columns[2]").
    virtual std::string GetNamePath() const;

    // Declares stored data beyond the published properties
    // (TFiler::DefineProperty / DefineBinaryProperty); called by the
    // component stream reader and writer.
    virtual void DefineProperties(TFiler& filer);

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
    using RtlSelf = TComponent;
    static const TClassInfo& StaticClassInfo();

    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TPersistent* GetOwner() const override { return FOwner; }
    std::string GetNamePath() const override { return FName; }
    // Calls proc for each component stored as this one's child in a
    // component stream (none by default; forms and data modules list their
    // owned components).
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    // csUpdating on or off, for this component only.
    virtual void Updating();
    virtual void Updated();

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
    // Sets or clears one state flag (used by the component stream reader
    // and writer for csReading, csWriting, csLoading).
    void SetComponentStateFlag(TComponentStateItem item, bool on) { SetComponentState(item, on); }

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

// The global top-level components (forms and data modules), through which
// references across forms are resolved.  A component leaves the list when
// it is freed.
void AddGlobalComponent(TComponent* component);
void RemoveGlobalComponent(TComponent* component);
const std::vector<TComponent*>& GlobalComponents();
// The global component of that name (case ignored), or nullptr.
TComponent* FindGlobalComponent(std::string_view name);

} // namespace rtl
