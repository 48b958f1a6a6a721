// Window-procedure hooks: several parties watch and intercept the messages
// of one control without replacing each other's procedures.  One hook
// object per control sits in the control's WindowProc and calls the
// before-hooks in registration order, then the procedure that was there
// before the first hook, then the after-hooks.  Hooks may be added or
// removed during a dispatch, and the control may be destroyed during one.
//
// Data-aware grids and application storage (subsystem 13) build on
// platform/ only; this unit uses platform/gui.
//
// The one rule: a hook returning true has handled the message, and nothing
// after it in the same dispatch runs.  A hook is identified by its object
// and method, so register and unregister with the same MakeUxHook.
//
//   auto hook = dbgrids::MakeUxHook<&TPlacement::BeforeMsg>(this);
//   dbgrids::GlobalWndProcHook().RegisterWndProc(form, hook, dbgrids::TUxHookOrder::hoBeforeMsg);
//   ...
//   dbgrids::GlobalWndProcHook().UnRegisterWndProc(form, hook, dbgrids::TUxHookOrder::hoBeforeMsg);
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"

namespace dbgrids {

using gui::TMessage;

enum class TUxHookOrder { hoBeforeMsg, hoAfterMsg };

// A hook method: its object (Data), a tag of its method (Code) and the call.
struct TUxControlHook {
    const void* Data = nullptr;
    const void* Code = nullptr;
    std::function<bool(TMessage&)> Fn;
    explicit operator bool() const { return static_cast<bool>(Fn); }
    bool SameMethod(const TUxControlHook& o) const { return Data == o.Data && Code == o.Code; }
};

namespace hooks_detail {
template <auto M>
inline const char kMethodTag = 0;
}

template <auto Method, typename C>
TUxControlHook MakeUxHook(C* object)
{
    TUxControlHook h;
    h.Data = object;
    h.Code = &hooks_detail::kMethodTag<Method>;
    h.Fn = [object](TMessage& m) -> bool { return (object->*Method)(m); };
    return h;
}

class TUxWndProcHook;

// The hook object of one control (or window handle).
class TUxHookInfos : public rtl::TObject {
public:
    explicit TUxHookInfos(gui::TControl* control);
    explicit TUxHookInfos(gui::HWND handle);
    ~TUxHookInfos() override;
    void Add(TUxHookOrder order, const TUxControlHook& hook);
    void Delete(TUxHookOrder order, const TUxControlHook& hook);
    // The control is gone: never touch it again, leave the registry and be
    // freed later (this may run inside our own window procedure).
    void ControlDestroyed();
    gui::TControl* Control() const { return FControl; }
    gui::HWND Handle() const { return FHandle; }
    bool Hooked() const { return FHooked; }
    void SetController(TUxWndProcHook* controller);

private:
    struct TEntry {
        TUxControlHook Hook;
        TEntry* Next = nullptr;
    };
    void HookControl();
    void UnHookControl();
    void WindowProc(TMessage& msg);
    bool RunChain(int order, size_t level, TMessage& msg);

    TEntry* FFirst[2] = {nullptr, nullptr};
    TEntry* FLast[2] = {nullptr, nullptr};
    std::vector<std::array<TEntry*, 2>> FStack;  // cursors per nesting level
    size_t FStackCount = 0;
    gui::HWND FHandle = 0;
    gui::TControl* FControl = nullptr;
    bool FControlDestroyed = false;
    std::function<void(TMessage&)> FOldWndProc;
    bool FHooked = false;
    TUxWndProcHook* FController = nullptr;
};

// The registry of hook objects.
class TUxWndProcHook : public rtl::TComponent {
public:
    explicit TUxWndProcHook(rtl::TComponent* owner = nullptr) : rtl::TComponent(owner) {}
    ~TUxWndProcHook() override;
    bool RegisterWndProc(gui::TControl* control, const TUxControlHook& hook, TUxHookOrder order);
    // A raw handle is hooked through the control that owns it.
    bool RegisterWndProc(gui::HWND handle, const TUxControlHook& hook, TUxHookOrder order);
    bool UnRegisterWndProc(gui::TControl* control, const TUxControlHook& hook, TUxHookOrder order);
    bool UnRegisterWndProc(gui::HWND handle, const TUxControlHook& hook, TUxHookOrder order);
    int HookInfoCount() const { return static_cast<int>(FHookInfos.size()); }

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TUxHookInfos;
    TUxHookInfos* Find(gui::TControl* control) const;
    std::vector<TUxHookInfos*> FHookInfos;
};

TUxWndProcHook& GlobalWndProcHook();

// Frees an object later, from the message loop, because its own code may
// still be running now.
void ReleaseLater(rtl::TObject* object);

class TUxReleaser {
public:
    static TUxReleaser& Instance();
    ~TUxReleaser();
    void Release(rtl::TObject* object);
    int WaitingCount() const { return static_cast<int>(FReleasing.size()); }

private:
    TUxReleaser() = default;
    void WndProc(TMessage& msg);
    gui::HWND FHandle = 0;
    std::vector<rtl::TObject*> FReleasing;
};

// A component with two message events for one control.
using TUxHookMessageEvent = std::function<void(rtl::TObject* sender, TMessage& msg, bool& handled)>;

class TUxWindowHook : public rtl::TComponent {
    RTL_CLASS(TUxWindowHook, rtl::TComponent)
public:
    explicit TUxWindowHook(rtl::TComponent* owner);
    ~TUxWindowHook() override;
    bool Active() const { return FActive; }
    void SetActive(bool value);
    gui::TControl* Control() const { return FControl; }
    void SetControl(gui::TControl* value);
    const TUxHookMessageEvent& BeforeMessage() const { return FBeforeMessage; }
    void SetBeforeMessage(TUxHookMessageEvent event);
    const TUxHookMessageEvent& AfterMessage() const { return FAfterMessage; }
    void SetAfterMessage(TUxHookMessageEvent event);
    // Control is stored unless it is the owner form (then "IsForm" is).
    bool IsControlStored() const;
    void HookControl() { SetActive(true); }
    void UnHookControl() { SetActive(false); }

protected:
    virtual bool RunBeforeMessage(TMessage& msg);
    virtual bool RunAfterMessage(TMessage& msg);
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    // "IsForm": written when the hook watches its own owner form, in place
    // of a reference to it; reading True hooks the owner form again.
    void DefineProperties(rtl::TFiler& filer) override;

private:
    bool Designing() const;
    bool HooksOwnerForm() const;
    void Register(bool on);
    bool FActive = true;
    bool FRegistered = false;
    gui::TControl* FControl = nullptr;
    TUxHookMessageEvent FBeforeMessage, FAfterMessage;
};

} // namespace dbgrids
