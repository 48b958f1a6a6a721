#include "dbgrids/UxHooks.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/ComponentStream.h"

namespace dbgrids {

using rtl::TComponentStateItem;

// ------------------------------------------------------------ TUxHookInfos

TUxHookInfos::TUxHookInfos(gui::TControl* control) : FControl(control) {}
TUxHookInfos::TUxHookInfos(gui::HWND handle) : FHandle(handle), FControl(gui::FindControl(handle)) {}

TUxHookInfos::~TUxHookInfos()
{
    SetController(nullptr);
    UnHookControl();
    for (auto& first : FFirst)
        while (first) {
            TEntry* next = first->Next;
            delete first;
            first = next;
        }
}

void TUxHookInfos::SetController(TUxWndProcHook* controller)
{
    if (FController) {
        auto& list = FController->FHookInfos;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FController = controller;
    if (FController) FController->FHookInfos.push_back(this);
}

void TUxHookInfos::Add(TUxHookOrder order, const TUxControlHook& hook)
{
    int o = static_cast<int>(order);
    auto* e = new TEntry{hook, nullptr};
    if (FLast[o]) FLast[o]->Next = e;
    else FFirst[o] = e;
    FLast[o] = e;
    // Levels whose cursor ran off the end still meet the new hook.
    for (size_t i = 0; i < FStackCount; ++i)
        if (!FStack[i][static_cast<size_t>(o)]) FStack[i][static_cast<size_t>(o)] = e;
    HookControl();
}

void TUxHookInfos::Delete(TUxHookOrder order, const TUxControlHook& hook)
{
    int o = static_cast<int>(order);
    TEntry* prev = nullptr;
    TEntry* e = FFirst[o];
    while (e && !e->Hook.SameMethod(hook)) {
        prev = e;
        e = e->Next;
    }
    if (e) {
        if (prev) prev->Next = e->Next;
        else FFirst[o] = e->Next;
        if (FLast[o] == e) FLast[o] = prev;
        for (size_t i = 0; i < FStackCount; ++i)
            if (FStack[i][static_cast<size_t>(o)] == e) FStack[i][static_cast<size_t>(o)] = e->Next;
        delete e;
    }
    if (!FFirst[0] && !FFirst[1]) UnHookControl();
}

void TUxHookInfos::HookControl()
{
    if (FHooked || FControlDestroyed || !FControl) return;
    FOldWndProc = FControl->WindowProc;
    // The control may be freed while this runs: take what is needed out of
    // the closure first and never touch the closure afterwards.
    FControl->WindowProc = [self = this](TMessage& m) {
        TUxHookInfos* infos = self;
        infos->WindowProc(m);
    };
    FHooked = true;
}

void TUxHookInfos::UnHookControl()
{
    if (!FHooked || FControlDestroyed) return;
    FControl->WindowProc = FOldWndProc;
    FOldWndProc = nullptr;
    FHooked = false;
}

bool TUxHookInfos::RunChain(int order, size_t level, TMessage& msg)
{
    for (;;) {
        TEntry* e = FStack[level][static_cast<size_t>(order)];
        if (!e) return false;
        FStack[level][static_cast<size_t>(order)] = e->Next;
        TUxControlHook hook = e->Hook;  // the entry may be deleted by the call
        if (hook.Fn(msg) || FControlDestroyed) return true;
    }
}

void TUxHookInfos::WindowProc(TMessage& msg)
{
    msg.Result = 0;
    if (FStackCount == FStack.size()) FStack.resize(2 * (FStack.size() + 1));
    size_t level = FStackCount++;
    FStack[level] = {FFirst[0], nullptr};
    struct TPop {
        TUxHookInfos* Self;
        ~TPop() { --Self->FStackCount; }
    } pop{this};
    if (RunChain(0, level, msg)) return;
    std::function<void(TMessage&)> old = FOldWndProc;
    if (old) old(msg);
    if (FControlDestroyed) return;
    FStack[level][1] = FFirst[1];
    RunChain(1, level, msg);
}

void TUxHookInfos::ControlDestroyed()
{
    if (FControlDestroyed) return;
    FControlDestroyed = true;
    FOldWndProc = nullptr;
    FHooked = false;
    SetController(nullptr);
    ReleaseLater(this);
}

// ---------------------------------------------------------- TUxWndProcHook

TUxWndProcHook::~TUxWndProcHook()
{
    while (!FHookInfos.empty()) delete FHookInfos.back();
}

TUxHookInfos* TUxWndProcHook::Find(gui::TControl* control) const
{
    for (TUxHookInfos* i : FHookInfos)
        if (i->Control() == control) return i;
    return nullptr;
}

bool TUxWndProcHook::RegisterWndProc(gui::TControl* control, const TUxControlHook& hook, TUxHookOrder order)
{
    if (!control || control->ComponentState().Contains(TComponentStateItem::csDestroying) || !hook) return false;
    TUxHookInfos* infos = Find(control);
    if (!infos) {
        infos = new TUxHookInfos(control);
        infos->SetController(this);
        control->FreeNotification(this);
    }
    infos->Add(order, hook);
    return true;
}

bool TUxWndProcHook::RegisterWndProc(gui::HWND handle, const TUxControlHook& hook, TUxHookOrder order)
{
    gui::TControl* control = gui::FindControl(handle);
    return control ? RegisterWndProc(control, hook, order) : false;
}

bool TUxWndProcHook::UnRegisterWndProc(gui::TControl* control, const TUxControlHook& hook, TUxHookOrder order)
{
    if (!hook || FHookInfos.empty() || !control) return false;
    TUxHookInfos* infos = Find(control);
    if (infos) infos->Delete(order, hook);
    return infos != nullptr;
}

bool TUxWndProcHook::UnRegisterWndProc(gui::HWND handle, const TUxControlHook& hook, TUxHookOrder order)
{
    return UnRegisterWndProc(gui::FindControl(handle), hook, order);
}

void TUxWndProcHook::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    for (TUxHookInfos* i : std::vector<TUxHookInfos*>(FHookInfos))
        if (static_cast<rtl::TComponent*>(i->Control()) == component) i->ControlDestroyed();
}

TUxWndProcHook& GlobalWndProcHook()
{
    static TUxWndProcHook* hook = new TUxWndProcHook(nullptr);  // lives for the whole run
    return *hook;
}

// -------------------------------------------------------------- releaser

TUxReleaser& TUxReleaser::Instance()
{
    static TUxReleaser* releaser = new TUxReleaser();
    return *releaser;
}

TUxReleaser::~TUxReleaser()
{
    while (!FReleasing.empty()) {
        rtl::TObject* o = FReleasing.front();
        FReleasing.erase(FReleasing.begin());
        delete o;
    }
    if (FHandle) gui::DeallocateHWnd(FHandle);
}

void TUxReleaser::Release(rtl::TObject* object)
{
    if (!object || std::find(FReleasing.begin(), FReleasing.end(), object) != FReleasing.end()) return;
    FReleasing.push_back(object);
    if (!FHandle) FHandle = gui::AllocateHWnd([this](TMessage& m) { WndProc(m); });
    gui::PostMessage(FHandle, gui::CM_RELEASE, reinterpret_cast<gui::WPARAM>(object));
}

void TUxReleaser::WndProc(TMessage& msg)
{
    if (msg.Msg != gui::CM_RELEASE) return;
    auto* object = reinterpret_cast<rtl::TObject*>(msg.WParam);
    auto it = std::find(FReleasing.begin(), FReleasing.end(), object);
    if (it == FReleasing.end()) return;
    FReleasing.erase(it);
    try {
        delete object;
    } catch (...) {
        if (gui::Application) gui::Application->HandleException(nullptr);
    }
}

void ReleaseLater(rtl::TObject* object)
{
    TUxReleaser::Instance().Release(object);
}

// ------------------------------------------------------------ TUxWindowHook

RTL_PUBLISHED(TUxWindowHook)
{
    c.Property("Active", &TUxWindowHook::Active, &TUxWindowHook::SetActive).Default(true);
    c.Property("Control", &TUxWindowHook::Control, &TUxWindowHook::SetControl)
        .Stored(&TUxWindowHook::IsControlStored);
}

TUxWindowHook::TUxWindowHook(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TUxWindowHook::~TUxWindowHook()
{
    SetActive(false);
    if (FControl) FControl->RemoveFreeNotification(this);
    FControl = nullptr;
}

bool TUxWindowHook::Designing() const
{
    return ComponentState().Contains(TComponentStateItem::csDesigning);
}

bool TUxWindowHook::RunBeforeMessage(TMessage& msg)
{
    bool handled = false;
    if (FBeforeMessage) FBeforeMessage(this, msg, handled);
    return handled;
}

bool TUxWindowHook::RunAfterMessage(TMessage& msg)
{
    bool handled = false;
    if (FAfterMessage) FAfterMessage(this, msg, handled);
    return handled;
}

void TUxWindowHook::Register(bool on)
{
    auto after = MakeUxHook<&TUxWindowHook::RunAfterMessage>(this);
    auto before = MakeUxHook<&TUxWindowHook::RunBeforeMessage>(this);
    auto& reg = GlobalWndProcHook();
    if (on) {
        if (FAfterMessage) reg.RegisterWndProc(FControl, after, TUxHookOrder::hoAfterMsg);
        if (FBeforeMessage) reg.RegisterWndProc(FControl, before, TUxHookOrder::hoBeforeMsg);
    } else {
        if (FAfterMessage) reg.UnRegisterWndProc(FControl, after, TUxHookOrder::hoAfterMsg);
        if (FBeforeMessage) reg.UnRegisterWndProc(FControl, before, TUxHookOrder::hoBeforeMsg);
    }
}

void TUxWindowHook::SetActive(bool value)
{
    if (FActive == value) return;
    FActive = value;
    if (!Designing()) Register(value);
}

void TUxWindowHook::SetBeforeMessage(TUxHookMessageEvent event)
{
    bool had = static_cast<bool>(FBeforeMessage), has = static_cast<bool>(event);
    auto hook = MakeUxHook<&TUxWindowHook::RunBeforeMessage>(this);
    if (FActive && !Designing() && had && !has) GlobalWndProcHook().UnRegisterWndProc(FControl, hook, TUxHookOrder::hoBeforeMsg);
    FBeforeMessage = std::move(event);
    if (FActive && !Designing() && !had && has) GlobalWndProcHook().RegisterWndProc(FControl, hook, TUxHookOrder::hoBeforeMsg);
}

void TUxWindowHook::SetAfterMessage(TUxHookMessageEvent event)
{
    bool had = static_cast<bool>(FAfterMessage), has = static_cast<bool>(event);
    auto hook = MakeUxHook<&TUxWindowHook::RunAfterMessage>(this);
    if (FActive && !Designing() && had && !has) GlobalWndProcHook().UnRegisterWndProc(FControl, hook, TUxHookOrder::hoAfterMsg);
    FAfterMessage = std::move(event);
    if (FActive && !Designing() && !had && has) GlobalWndProcHook().RegisterWndProc(FControl, hook, TUxHookOrder::hoAfterMsg);
}

void TUxWindowHook::SetControl(gui::TControl* value)
{
    if (value == FControl) return;
    bool wasActive = FActive;
    SetActive(false);
    if (FControl) FControl->RemoveFreeNotification(this);
    if (value && value->ComponentState().Contains(TComponentStateItem::csDestroying)) {
        FControl = nullptr;
        return;
    }
    FControl = value;
    if (FControl) FControl->FreeNotification(this);
    SetActive(wasActive);
}

bool TUxWindowHook::HooksOwnerForm() const
{
    return FControl && static_cast<rtl::TComponent*>(FControl) == GetOwner() &&
           dynamic_cast<gui::TCustomForm*>(GetOwner()) != nullptr;
}

bool TUxWindowHook::IsControlStored() const
{
    return !HooksOwnerForm();
}

void TUxWindowHook::DefineProperties(rtl::TFiler& filer)
{
    rtl::TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "IsForm",
        [this](rtl::TReader& r) {
            if (!r.ReadBoolean()) return;
            if (auto* form = dynamic_cast<gui::TCustomForm*>(GetOwner())) SetControl(form);
        },
        [this](rtl::TWriter& w) { w.WriteBoolean(HooksOwnerForm()); }, HooksOwnerForm());
}

void TUxWindowHook::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove &&
        (static_cast<rtl::TComponent*>(FControl) == component || component == GetOwner() || !GetOwner()))
        FControl = nullptr;  // its hooks went with it; Active stays for the next control
}

} // namespace dbgrids
