// Actions: named commands with caption, shortcut keys, enabled / checked /
// visible state and OnExecute / OnUpdate, shared by menu items, tool
// buttons and controls through action links; action lists handle shortcut
// keys for their form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {

class TCustomActionList;
class TImageList;

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = uint16_t;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+O", "F9", "Ctrl+Alt+A", "Del", "Esc"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText (case ignored); scNone for unknown text.
TShortCut TextToShortCut(const std::string& text);
// The caption without its "&" markers ("&&" stays one "&").
std::string StripHotkey(const std::string& caption);
// The character after the single "&" (upper case), or 0.
char16_t GetHotkey(const std::string& caption);
// Whether the character is the caption's accelerator (case ignored).
bool IsAccel(char16_t ch, const std::string& caption);

class TBasicAction;

// Connects a client (control, menu item) to an action.
class TBasicActionLink {
public:
    virtual ~TBasicActionLink();
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* action);
    // Runs the action for the client; false when it did not run.
    virtual bool Execute(rtl::TComponent* sender = nullptr);
    // The action changed: the client takes over its properties.
    virtual void Changed() {}

protected:
    TBasicAction* FAction = nullptr;
};

class TControlActionLink : public TBasicActionLink {
public:
    explicit TControlActionLink(TControl* client) : FClient(client) {}
    void Changed() override;

private:
    TControl* FClient;
};

class TBasicAction : public rtl::TComponent {
public:
    explicit TBasicAction(rtl::TComponent* owner);
    ~TBasicAction() override;
    // Runs OnExecute; false when nothing ran.
    virtual bool Execute();
    // Runs OnUpdate; false when nothing ran.
    virtual bool Update();
    rtl::TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(rtl::TComponent* c) { FActionComponent = c; }
    rtl::TNotifyEvent OnExecute;
    rtl::TNotifyEvent OnUpdate;

protected:
    friend class TBasicActionLink;
    void Change();
    std::vector<TBasicActionLink*> FClients;
    rtl::TComponent* FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(rtl::TComponent* owner) : TBasicAction(owner) {}
    ~TContainedAction() override;
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* list);
    const std::string& Category() const { return FCategory; }
    void SetCategory(const std::string& c) { FCategory = c; }
    int Index() const;
    bool Execute() override;
    bool Update() override;

private:
    friend class TCustomActionList;
    TCustomActionList* FActionList = nullptr;
    std::string FCategory;
};

class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(rtl::TComponent* owner) : TContainedAction(owner) {}

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Checked() const { return FChecked; }
    // Checking an action of a group (GroupIndex > 0) unchecks the others.
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    // Further keys that run the action.
    const std::vector<TShortCut>& SecondaryShortCuts() const { return FSecondary; }
    void AddSecondaryShortCut(TShortCut sc) { FSecondary.push_back(sc); }
    void ClearSecondaryShortCuts() { FSecondary.clear(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int GroupIndex() const { return FGroupIndex; }
    // Notifies the clients, which may take the group over.
    void SetGroupIndex(int v)
    {
        if (FGroupIndex == v) return;
        FGroupIndex = v;
        Change();
    }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v) { FHelpContext = v; }

    // Updates, then runs OnExecute when enabled.
    bool Execute() override;
    // A shortcut key of the action was pressed.
    virtual bool HandleShortCut() { return Execute(); }

private:
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    std::string FHint;
    TShortCut FShortCut = scNone;
    std::vector<TShortCut> FSecondary;
    int FImageIndex = -1;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    int FHelpContext = 0;
};

class TAction : public TCustomAction {
public:
    explicit TAction(rtl::TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;
enum class TActionListState { asNormal, asSuspended, asSuspendedEnabled };

class TCustomActionList : public rtl::TComponent {
public:
    explicit TCustomActionList(rtl::TComponent* owner) : rtl::TComponent(owner) {}
    ~TCustomActionList() override;
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* Actions(int index) const { return FActions.at(static_cast<std::size_t>(index)); }
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    // Runs the action whose shortcut the key message carries.
    bool IsShortCut(TMessage& keyMsg);
    // OnUpdate of every action (done when the program is idle).
    void UpdateActions();
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images) { FImages = images; }
    TActionListState State() const { return FState; }
    void SetState(TActionListState s) { FState = s; }
    TActionEvent OnExecute;
    TActionEvent OnUpdate;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> FActions;
    TImageList* FImages = nullptr;
    TActionListState FState = TActionListState::asNormal;
};

class TActionList : public TCustomActionList {
public:
    explicit TActionList(rtl::TComponent* owner) : TCustomActionList(owner) {}
};

} // namespace gui
