// Actions, action links and action lists; shortcut key texts.
#include "platform/gui/ActnList.h"

#include <algorithm>

#include "platform/rtl/Strings.h"

namespace gui {

// ------------------------------------------------------------- shortcuts

TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    if (key == 0 || key > 0xFF) return scNone;
    TShortCut sc = key;
    if (shift.Contains(TShiftStateItem::ssShift)) sc |= scShift;
    if (shift.Contains(TShiftStateItem::ssCtrl)) sc |= scCtrl;
    if (shift.Contains(TShiftStateItem::ssAlt)) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut sc, uint16_t& key, TShiftState& shift)
{
    key = sc & 0xFF;
    shift.Clear();
    if (sc & scShift) shift.Include(TShiftStateItem::ssShift);
    if (sc & scCtrl) shift.Include(TShiftStateItem::ssCtrl);
    if (sc & scAlt) shift.Include(TShiftStateItem::ssAlt);
}

namespace {

struct KeyName {
    uint16_t vk;
    const char* name;
};
constexpr KeyName kNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
    {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"}, {VK_SUBTRACT, "Num -"}, {VK_DIVIDE, "Num /"},
    {VK_OEM_PLUS, "="}, {VK_OEM_COMMA, ","}, {VK_OEM_MINUS, "-"}, {VK_OEM_PERIOD, "."},
};

std::string KeyText(uint16_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
    for (const KeyName& k : kNames)
        if (k.vk == key) return k.name;
    return {};
}

} // namespace

std::string ShortCutToText(TShortCut sc)
{
    const std::string key = KeyText(sc & 0xFF);
    if (key.empty()) return {};
    std::string s;
    if (sc & scShift) s += "Shift+";
    if (sc & scCtrl) s += "Ctrl+";
    if (sc & scAlt) s += "Alt+";
    return s + key;
}

TShortCut TextToShortCut(const std::string& text)
{
    std::string rest = text;
    TShortCut mods = 0;
    for (;;) {
        const std::string up = rtl::UpperCase(rest);
        if (up.rfind("SHIFT+", 0) == 0) { mods |= scShift; rest = rest.substr(6); }
        else if (up.rfind("CTRL+", 0) == 0) { mods |= scCtrl; rest = rest.substr(5); }
        else if (up.rfind("ALT+", 0) == 0) { mods |= scAlt; rest = rest.substr(4); }
        else break;
    }
    const std::string key = rtl::UpperCase(rest);
    for (int k = 1; k <= 0xFF; ++k) {
        const std::string t = KeyText(static_cast<uint16_t>(k));
        if (!t.empty() && rtl::UpperCase(t) == key) return static_cast<TShortCut>(k | mods);
    }
    return scNone;
}

std::string StripHotkey(const std::string& caption)
{
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') { out += '&'; ++i; }
            continue;
        }
        out += caption[i];
    }
    return out;
}

char16_t GetHotkey(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') { ++i; continue; }
        const unsigned char c = static_cast<unsigned char>(caption[i + 1]);
        return static_cast<char16_t>(c < 0x80 ? std::toupper(c) : c);
    }
    return 0;
}

bool IsAccel(char16_t ch, const std::string& caption)
{
    const char16_t h = GetHotkey(caption);
    if (!h) return false;
    char16_t u = ch < 0x80 ? static_cast<char16_t>(std::toupper(ch)) : ch;
    return u == h;
}

// ---------------------------------------------------------------- links

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* action)
{
    if (FAction == action) return;
    if (FAction) {
        auto& v = FAction->FClients;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    FAction = action;
    if (FAction) FAction->FClients.push_back(this);
}

bool TBasicActionLink::Execute(rtl::TComponent* sender)
{
    if (!FAction) return false;
    FAction->SetActionComponent(sender);
    bool r = false;
    try {
        r = FAction->Execute();
    } catch (...) {
        if (FAction) FAction->SetActionComponent(nullptr);
        throw;
    }
    if (FAction) FAction->SetActionComponent(nullptr);
    return r;
}

void TControlActionLink::Changed()
{
    if (FAction) FClient->ActionChange(FAction, false);
}

// --------------------------------------------------------------- actions

TBasicAction::TBasicAction(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TBasicAction::~TBasicAction()
{
    std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* l : clients) l->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::Change()
{
    std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* l : clients) l->Changed();
}

TContainedAction::~TContainedAction()
{
    if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* list)
{
    if (FActionList == list) return;
    if (FActionList) FActionList->RemoveAction(this);
    if (list) list->AddAction(this);
}

int TContainedAction::Index() const
{
    if (!FActionList) return -1;
    auto& v = FActionList->FActions;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

bool TContainedAction::Execute()
{
    if (FActionList && FActionList->ExecuteAction(this)) return true;
    return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
    if (FActionList && FActionList->UpdateAction(this)) return true;
    return TBasicAction::Update();
}

void TCustomAction::SetCaption(const std::string& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Change();
}

void TCustomAction::SetChecked(bool v)
{
    if (FChecked == v) return;
    FChecked = v;
    if (v && FGroupIndex > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* a = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (a && a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
        }
    }
    Change();
}

void TCustomAction::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Change();
}

void TCustomAction::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    Change();
}

void TCustomAction::SetHint(const std::string& v)
{
    if (FHint == v) return;
    FHint = v;
    Change();
}

void TCustomAction::SetShortCut(TShortCut v)
{
    if (FShortCut == v) return;
    FShortCut = v;
    Change();
}

void TCustomAction::SetImageIndex(int v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Change();
}

bool TCustomAction::Execute()
{
    if (ActionList() && ActionList()->State() != TActionListState::asNormal) return false;
    Update();
    if (!FEnabled) return false;
    if (FAutoCheck) SetChecked(!FChecked);
    return TContainedAction::Execute();
}

// ---------------------------------------------------------- action lists

TCustomActionList::~TCustomActionList()
{
    std::vector<TContainedAction*> list = FActions;
    for (TContainedAction* a : list) RemoveAction(a);
}

void TCustomActionList::AddAction(TContainedAction* action)
{
    if (action->FActionList) action->FActionList->RemoveAction(action);
    FActions.push_back(action);
    action->FActionList = this;
}

void TCustomActionList::RemoveAction(TContainedAction* action)
{
    FActions.erase(std::remove(FActions.begin(), FActions.end(), action), FActions.end());
    if (action->FActionList == this) action->FActionList = nullptr;
}

bool TCustomActionList::IsShortCut(TMessage& keyMsg)
{
    if (FState != TActionListState::asNormal) return false;
    const TShortCut sc = ShortCut(static_cast<uint16_t>(keyMsg.WParam), KeyDataToShiftState(keyMsg.LParam));
    if (sc == scNone) return false;
    std::vector<TContainedAction*> list = FActions;
    for (TContainedAction* a : list) {
        auto* ca = dynamic_cast<TCustomAction*>(a);
        if (!ca) continue;
        const auto& sec = ca->SecondaryShortCuts();
        if (ca->ShortCut() == sc || std::find(sec.begin(), sec.end(), sc) != sec.end())
            return ca->HandleShortCut();
    }
    return false;
}

void TCustomActionList::UpdateActions()
{
    if (FState != TActionListState::asNormal) return;
    std::vector<TContainedAction*> list = FActions;
    for (TContainedAction* a : list) {
        if (std::find(FActions.begin(), FActions.end(), a) == FActions.end()) continue;
        a->Update();
    }
}

bool TCustomActionList::ExecuteAction(TBasicAction* action)
{
    bool handled = false;
    if (OnExecute) OnExecute(action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action)
{
    bool handled = false;
    if (OnUpdate) OnUpdate(action, handled);
    return handled;
}

} // namespace gui
