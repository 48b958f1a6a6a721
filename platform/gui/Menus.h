// Menus: items with captions ("&" marks the accelerator, "-" is a
// separator), shortcuts, check marks, sub-menus and actions; the form's
// main menu bar and pop-up menus.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"

class QMenuBar;
class QMenu;

namespace gui {

class TMenu;
class TMenuItem;

class TMenuActionLink : public TBasicActionLink {
public:
    explicit TMenuActionLink(TMenuItem* client) : FClient(client) {}
    void Changed() override;

private:
    TMenuItem* FClient;
};

class TMenuItem : public rtl::TComponent {
public:
    explicit TMenuItem(rtl::TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v) { FDefault = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }

    TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TBasicAction* action);
    void ActionChange(TBasicAction* sender);

    // -- sub-items (the item owns the sub-items it holds)
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    // The sub-item of that caption ("&" ignored, case ignored), or nullptr.
    TMenuItem* Find(const std::string& caption) const;
    TMenu* GetParentMenu() const;

    // Runs OnClick or the action.
    virtual void Click();
    // A sub-menu is about to open (OnClick of an item with sub-items).
    void InitiateAction();

    rtl::TNotifyEvent OnClick;

private:
    friend class TMenu;
    friend class TMenuActionLink;
    void Changed();
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TShortCut FShortCut = scNone;
    std::string FHint;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    bool FDefault = false;
    bool FAutoCheck = false;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
    std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public rtl::TComponent {
public:
    explicit TMenu(rtl::TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images) { FImages = images; }
    // Runs the item whose shortcut the key message carries.
    bool IsShortCut(TMessage& keyMsg);
    // The item of a shortcut, or nullptr.
    TMenuItem* FindItemByShortCut(TShortCut sc) const;
    // Some item changed (the shown menu follows).
    virtual void MenuChanged(TMenuItem* item);

protected:
    TMenuItem* FItems;
    TImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(rtl::TComponent* owner) : TMenu(owner) {}
    void MenuChanged(TMenuItem* item) override;
    // Builds the menu bar's menus from the items.
    void FillMenuBar(QMenuBar* bar);

    // The shown and enabled bar item whose caption's accelerator is ch, or
    // nullptr.  Alt with that letter opens its menu once no shortcut and no
    // control's accelerator took the key.
    TMenuItem* FindAccelItem(char16_t ch) const;
    // Opens a bar item's menu as its letter does, the first enabled entry
    // highlighted; false when the form shows no such menu.
    bool OpenMenu(TMenuItem* barItem);
    // The bar item whose menu is open, or nullptr.
    TMenuItem* OpenedItem() const;
    // Closes the open menu of the bar.
    void CloseMenu();
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(rtl::TComponent* owner) : TMenu(owner) {}
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    rtl::TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(rtl::TComponent* c) { FPopupComponent = c; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment a) { FAlignment = a; }
    // Shows the menu at the screen point (OnPopup first).  The menu stays
    // open until an item is chosen or it is dismissed.
    virtual void Popup(int x, int y);
    // Where the menu was last shown (screen coordinates).
    TPoint PopupPoint() const { return FPopupPoint; }
    // Closes the menu if it is open.
    void CloseMenu();
    bool IsOpen() const;
    rtl::TNotifyEvent OnPopup;
    ~TPopupMenu() override;

private:
    bool FAutoPopup = true;
    rtl::TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = TPopupAlignment::paLeft;
    TPoint FPopupPoint;
    QMenu* FMenuWidget = nullptr;
};

// Builds a Qt menu from a menu item's sub-items (private to platform/gui).
// The item under the mouse or chosen by the arrow keys puts its long hint
// into Application->Hint while the menu is open; closing it clears it.
void FillQtMenu(QMenu* menu, TMenuItem* parent, TCustomForm* form);

} // namespace gui
