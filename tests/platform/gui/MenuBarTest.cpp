// The menu bar driven by keys and the mouse: a shortcut takes its key before
// the menu letter, the letters open their menus, and the entry under the
// highlight puts its hint into the status bar.
#include <gtest/gtest.h>

#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

using namespace gui;

namespace {

const TShiftState Alt{TShiftStateItem::ssAlt};

// A window with "&File" (Exit, a disabled Save) and "&Map" (Open map, Alt+M)
// menus, an edit that holds the focus and a status bar showing hints.
class MenuForm : public TForm {
public:
    TActionList* Actions;
    TAction* actOpenMap;
    TAction* actSave;
    TMainMenu* Menu;
    TMenuItem *FileMenu, *Exit, *Save, *MapMenu;
    TEdit* Edit;
    TStatusBar* Status;
    int OpenMaps = 0, Exits = 0, MenuLoops = 0;

    explicit MenuForm(rtl::TComponent* owner) : TForm(owner)
    {
        SetBounds(0, 0, 400, 200);
        Actions = new TActionList(this);
        actOpenMap = new TAction(this);
        actOpenMap->SetCaption("&Open map...");
        actOpenMap->SetShortCut(ShortCut('M', Alt));
        actOpenMap->SetHint("Open map|Chooses a map description");
        actOpenMap->SetActionList(Actions);
        actOpenMap->OnExecute = [this](rtl::TObject*) { ++OpenMaps; };
        actSave = new TAction(this);
        actSave->SetCaption("&Save");
        actSave->SetHint("Save|Not available yet");
        actSave->SetActionList(Actions);
        actSave->SetEnabled(false);

        Menu = new TMainMenu(this);
        FileMenu = AddItem(Menu->Items(), "&File");
        Exit = AddItem(FileMenu, "E&xit");
        Exit->SetHint("Exit|Ends the program");
        Exit->OnClick = [this](rtl::TObject*) { ++Exits; };
        Save = AddItem(FileMenu, "");
        Save->SetAction(actSave);
        MapMenu = AddItem(Menu->Items(), "&Map");
        AddItem(MapMenu, "")->SetAction(actOpenMap);
        SetMenu(Menu);

        Edit = new TEdit(this);
        Edit->SetParent(this);
        Edit->SetBounds(10, 10, 200, 22);
        Status = new TStatusBar(this);
        Status->SetParent(this);
        Status->SetAutoHint(true);
        auto old = WindowProc;
        WindowProc = [this, old](TMessage& m) {
            if (m.Msg == WM_ENTERMENULOOP) ++MenuLoops;
            old(m);
        };
    }

    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption)
    {
        auto* item = new TMenuItem(this);
        if (!caption.empty()) item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
};

class MenuBar : public testing::Test {
protected:
    void SetUp() override
    {
        Form = new MenuForm(nullptr);
        Form->Show();
        Form->Edit->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        Form->Menu->CloseMenu();
        Form->Hide();
        delete Form;
        Application->SetHint("");
    }
    MenuForm* Form = nullptr;
};

TEST_F(MenuBar, ShortcutTakesItsKeyBeforeTheMenuLetter)
{
    sim::KeyPress('M', Alt);
    EXPECT_EQ(Form->OpenMaps, 1);
    EXPECT_EQ(Form->Menu->OpenedItem(), nullptr);
    EXPECT_EQ(Form->MenuLoops, 0);
    EXPECT_EQ(Form->Edit->Text(), "");

    // A handler of the form's shortcuts comes first as well.
    int handled = 0;
    Form->OnShortCut = [&](TMessage& m, bool& done) {
        if (m.WParam == 'F' && KeyDataToShiftState(m.LParam).Contains(TShiftStateItem::ssAlt)) {
            ++handled;
            done = true;
        }
    };
    sim::KeyPress('F', Alt);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Form->Menu->OpenedItem(), nullptr);
    Form->OnShortCut = nullptr;
}

TEST_F(MenuBar, LetterWithoutShortcutOpensItsMenu)
{
    sim::KeyPress('F', Alt);
    EXPECT_EQ(Form->Menu->OpenedItem(), Form->FileMenu);
    EXPECT_EQ(Form->MenuLoops, 1);
    EXPECT_EQ(Form->Edit->Text(), "");
    Form->Menu->CloseMenu();
    EXPECT_EQ(Form->Menu->OpenedItem(), nullptr);

    // A command whose state changes while its menu is open: the menu stays
    // open and follows it.
    sim::KeyPress('F', Alt);
    Form->actSave->SetEnabled(true);
    Form->actSave->SetCaption("&Save now");
    EXPECT_EQ(Form->Menu->OpenedItem(), Form->FileMenu);
    EXPECT_EQ(Form->Save->Caption(), "&Save now");
    Form->actSave->SetEnabled(false);
    Form->Menu->CloseMenu();
    EXPECT_EQ(Form->Menu->OpenedItem(), nullptr);

    // A disabled command does not take its key: the letter opens the menu,
    // where the greyed entry shows why.
    Form->actOpenMap->SetEnabled(false);
    sim::KeyPress('M', Alt);
    EXPECT_EQ(Form->OpenMaps, 0);
    EXPECT_EQ(Form->Menu->OpenedItem(), Form->MapMenu);
    Form->Menu->CloseMenu();

    // Keys without Alt and letters of no menu open nothing.
    sim::KeyPress('F');
    EXPECT_EQ(Form->Edit->Text(), "f");
    sim::KeyPress('Q', Alt);
    EXPECT_EQ(Form->Menu->OpenedItem(), nullptr);
    // ... nor does such a letter land in the focused edit.
    EXPECT_EQ(Form->Edit->Text(), "f");
}

TEST_F(MenuBar, HighlightedEntryShowsItsHintInTheStatusBar)
{
    std::vector<std::string> hints;
    Application->OnHint = [&](rtl::TObject*) { hints.push_back(Application->Hint()); };
    // Opened by its letter, the menu highlights its first entry.
    sim::KeyPress('F', Alt);
    ASSERT_EQ(Form->Menu->OpenedItem(), Form->FileMenu);
    EXPECT_EQ(Form->Status->SimpleText(), "Ends the program");
    // A disabled entry under the mouse shows its hint too.
    ASSERT_TRUE(sim::HoverMenuItem(Form->Save));
    EXPECT_EQ(Form->Status->SimpleText(), "Not available yet");
    ASSERT_TRUE(sim::HoverMenuItem(Form->Exit));
    EXPECT_EQ(Form->Status->SimpleText(), "Ends the program");
    // Closing the menu clears it.
    Form->Menu->CloseMenu();
    EXPECT_EQ(Form->Status->SimpleText(), "");
    EXPECT_FALSE(sim::HoverMenuItem(Form->Exit));
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, (std::vector<std::string>{"Ends the program", "Not available yet", "Ends the program", ""}));
}

TEST_F(MenuBar, PopupMenuEntriesShowTheirHintsToo)
{
    auto* popup = new TPopupMenu(Form);
    auto* item = new TMenuItem(Form);
    item->SetAction(Form->actSave);
    popup->Items()->Add(item);
    popup->Popup(50, 50);
    ASSERT_TRUE(popup->IsOpen());
    ASSERT_TRUE(sim::HoverMenuItem(item));
    EXPECT_EQ(Form->Status->SimpleText(), "Not available yet");
    popup->CloseMenu();
    EXPECT_EQ(Form->Status->SimpleText(), "");
    // An item freed while its menu is open gives no hint.
    popup->Popup(50, 50);
    delete item;
    Application->SetHint("x");
    EXPECT_TRUE(sim::HoverMenuItem(item));
    EXPECT_EQ(Form->Status->SimpleText(), "");
    popup->CloseMenu();
}

} // namespace
