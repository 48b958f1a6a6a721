// The custom editor link with a one-line edit as its control (in the cell
// and on a popup form), inline form controls of HTML cells operated by
// presses and keys, and the transparent editor of a cell that may not be
// edited.
#include <gtest/gtest.h>

#include "grid/ExControlEdit.h"
#include "grid/ExEditLink.h"
#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

// The application's side of a link: a one-line edit.
struct LineLink : TEditLink {
    using TEditLink::TEditLink;
    gui::TEdit* Ed = nullptr;
    void CreateEditor(gui::TWinControl* parent) override
    {
        if (!Ed) {
            Ed = new gui::TEdit(this);
            Ed->SetAutoSelect(false);
            Ed->OnKeyDown = [this](rtl::TObject* s, uint16_t& k, gui::TShiftState sh) { EditKeyDown(s, k, sh); };
            Ed->OnExit = [this](rtl::TObject* s) {
                if (!ForcedExit() && EditStyle == TEditStyle::esInplace && Grid() && Grid()->SpecialEditorOpen())
                    EditExit(s);
            };
        }
        Ed->SetParent(parent);
    }
    gui::TWinControl* GetEditControl() override { return Ed; }
    std::string GetEditorValue() override { return Ed ? Ed->Text() : std::string(); }
    void SetEditorValue(const std::string& v) override
    {
        Ed->SetText(v);
        Ed->SetSelStart(static_cast<int>(v.size()));
    }
};

struct LinkFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    LineLink Link{nullptr};
    LinkFixture()
    {
        gui::SetMessageBeepHandler([this](uint32_t) { ++Beeps; });
        Form.SetBounds(100, 80, 700, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 620, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(100);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing, TGridOption::goTabs});
        G->OnGetEditorType = [this](rtl::TObject*, int c, int r, TEditorType& e) {
            if (c == 2 || c == 3) e = TEditorType::edCustom;
        };
        G->SetEditLink(&Link);
        Form.Show();
        G->SetFocus();
        gui::Application->ProcessMessages();
    }
    ~LinkFixture() override
    {
        G->SetEditLink(nullptr);
        gui::SetMessageBeepHandler(nullptr);
    }
    gui::TEdit* Open(const std::string& text)
    {
        G->SetCells(2, 2, text);
        G->MoveColRow(2, 2, true, false);
        G->SetFocus();
        G->ShowInplaceEdit();
        return Link.Ed && Link.Ed->Visible() ? Link.Ed : nullptr;
    }
    int Beeps = 0;
};

} // namespace

TEST_F(LinkFixture, InplaceLinkKeysAndWindowProcedure)
{
    gui::TEdit* ed = Open("abc");
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(G->EditCtrl(), ed);
    EXPECT_EQ(ed->Parent(), G);
    EXPECT_EQ(ed->Text(), "abc");
    // The grid's window procedure sits in front of the control: with goTabs it wants Tab.
    EXPECT_TRUE(ed->Perform(gui::WM_GETDLGCODE, 0, 0) & gui::DLGC_WANTTAB);
    gui::sim::TypeText("d", ed);
    gui::sim::KeyDown(gui::VK_DOWN, {}, ed);
    EXPECT_EQ(G->Cells(2, 2), "abcd");
    EXPECT_EQ(G->Row(), 3);
    EXPECT_FALSE(G->SpecialEditorOpen());
    // ... and the control has its own back.
    EXPECT_FALSE(ed->Perform(gui::WM_GETDLGCODE, 0, 0) & gui::DLGC_WANTTAB);

    // WantKeyUpDown keeps Up and Down in the control.
    Link.WantKeyUpDown = true;
    ed = Open("abc");
    gui::sim::KeyDown(gui::VK_DOWN, {}, ed);
    EXPECT_TRUE(G->SpecialEditorOpen());
    EXPECT_EQ(G->Row(), 2);
    // Esc ends the edit with the cell's text unchanged.
    gui::sim::TypeText("zz", ed);
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, ed);
    EXPECT_FALSE(G->SpecialEditorOpen());
    EXPECT_EQ(G->Cells(2, 2), "abc");
    EXPECT_EQ(G->Row(), 2);

    // Enter advances forwards, Shift+Enter backwards.
    ed = Open("abc");
    gui::sim::KeyDown(gui::VK_RETURN, {}, ed);
    EXPECT_EQ(G->Col(), 3);
    G->HideInplaceEdit();
    ed = Open("abc");
    gui::sim::KeyDown(gui::VK_RETURN, {TShiftStateItem::ssShift}, ed);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 2);
}

TEST_F(LinkFixture, PopupLinkOpensAtTheCellAndClosesOnDeactivation)
{
    Link.EditStyle = TEditStyle::esPopup;
    Link.PopupWidth = 150;
    Link.PopupHeight = 60;
    gui::TEdit* ed = Open("abc");
    ASSERT_NE(ed, nullptr);
    gui::TForm* popup = Link.PopupForm();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Name(), "gridform");
    EXPECT_EQ(ed->Parent(), popup);
    EXPECT_TRUE(popup->Visible());
    EXPECT_EQ(popup->BorderStyle(), gui::TBorderStyle::bsNone);
    EXPECT_EQ(popup->FormStyle(), gui::TFormStyle::fsStayOnTop);
    const gui::TRect cell = G->CellRect(2, 2);
    const gui::TPoint at = G->ClientToScreen({cell.Left, cell.Top});
    EXPECT_EQ(popup->Left(), at.X);
    EXPECT_EQ(popup->Top(), at.Y);
    EXPECT_EQ(popup->Width(), 150);
    EXPECT_EQ(ed->Width(), 150 - G->GridLineWidth());

    // A click elsewhere deactivates the popup: the value goes to the cell.
    gui::sim::TypeText("x", ed);
    const gui::TRect other = G->CellRect(4, 4);
    gui::sim::Click(G, other.Left + 5, other.Top + 5);
    gui::Application->ProcessMessages();
    EXPECT_FALSE(popup->Visible());
    EXPECT_EQ(G->Cells(2, 2), "abcx");
    EXPECT_FALSE(G->SpecialEditorOpen());

    // A fixed popup position is taken as given.
    Link.PopupLeft = 40;
    Link.PopupTop = 30;
    Open("abc");
    EXPECT_EQ(popup->Left(), 40);
    EXPECT_EQ(popup->Top(), 30);
    G->HideInplaceEdit();
}

// ---------------------------------------------------------- inline controls

namespace {

struct InlineFixture : LinkFixture {
    InlineFixture()
    {
        G->OnGetEditorType = nullptr;
        G->SetDefaultRowHeight(30);
    }
    // A press 10 pixels into the first control of cell (1, 1).
    void PressFirst()
    {
        const gui::TRect r = G->CellRect(1, 1);
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, r.Left + 10, r.Top + 12);
    }
    void Release()
    {
        const gui::TRect r = G->CellRect(1, 1);
        gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, r.Left + 10, r.Top + 12);
    }
};

} // namespace

TEST_F(InlineFixture, CheckRadioAndButtonControlsRewriteTheCell)
{
    struct Click {
        std::string id, type, value;
    };
    std::vector<Click> clicks;
    G->OnControlClick = [&](rtl::TObject*, int, int, const std::string& id, const std::string& t,
                            const std::string& v) { clicks.push_back({id, t, v}); };

    // Only the exact "TRUE" counts as checked: "true" becomes "TRUE".
    const std::string check = "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"20\"> done";
    G->SetCells(1, 1, check);
    PressFirst();
    Release();
    std::string want = check;
    htmltext::SetControlValue(want, "c1", "TRUE");
    EXPECT_EQ(G->Cells(1, 1), want);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].value, "true");  // as it was hit
    PressFirst();
    Release();
    htmltext::SetControlValue(want, "c1", "FALSE");
    EXPECT_EQ(G->Cells(1, 1), want);

    // A radio clears every other radio of the cell, whatever its ID.
    const std::string radios = "<CONTROL TYPE=\"RADIO\" ID=\"b\" VALUE=\"FALSE\" WIDTH=\"20\">"
                               "<CONTROL TYPE=\"RADIO\" ID=\"a\" VALUE=\"TRUE\" WIDTH=\"20\">";
    G->SetCells(1, 1, radios);
    PressFirst();
    Release();
    want = htmltext::ClearRadioControls(radios);
    htmltext::SetControlValue(want, "b", "TRUE");
    EXPECT_EQ(G->Cells(1, 1), want);

    // A button shows pressed until the release and fires OnControlClick.
    G->SetCells(1, 1, "<CONTROL TYPE=\"BUTTON\" ID=\"go\" VALUE=\"Go\" WIDTH=\"40\">");
    clicks.clear();
    PressFirst();
    EXPECT_TRUE(G->CtrlDown());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].id, "go");
    EXPECT_EQ(clicks[0].type, "BUTTON");
    Release();
    EXPECT_FALSE(G->CtrlDown());
}

TEST_F(InlineFixture, WithoutEditingAPressFollowsTheAnchorRules)
{
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    std::vector<std::string> anchors;
    G->OnAnchorClick = [&](rtl::TObject*, int, int, const std::string& a, bool&) { anchors.push_back(a); };
    int controlClicks = 0;
    G->OnControlClick = [&](rtl::TObject*, int, int, const std::string&, const std::string&,
                            const std::string&) { ++controlClicks; };
    const std::string check = "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"20\">";
    G->SetCells(1, 1, check);
    PressFirst();
    Release();
    EXPECT_EQ(G->Cells(1, 1), check);
    EXPECT_EQ(controlClicks, 0);
    EXPECT_EQ(anchors.size(), 1u);

    // OnCanEditCell may grant it per cell.
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = true; };
    PressFirst();
    Release();
    EXPECT_EQ(controlClicks, 1);
}

TEST_F(InlineFixture, EditAndComboControls)
{
    std::vector<std::string> done;
    G->OnControlEditDone = [&](rtl::TObject*, int r, int c, const std::string& id, const std::string& t,
                               const std::string& v) { done.push_back(id + "=" + v); };
    const std::string text = "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"ab\" WIDTH=\"60\">"
                             "<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"\" WIDTH=\"60\">";
    G->SetCells(1, 1, text);
    G->EditNextCellControl(1, 1, "");
    TControlEdit* ed = G->InlineEdit();
    ASSERT_TRUE(ed->Visible());
    EXPECT_EQ(G->CtrlID(), "e1");
    EXPECT_EQ(ed->Text(), "ab");
    ed->SetSelStart(2);
    gui::sim::TypeText("c", ed);
    // Tab with AdvanceAuto off: the next control of the same cell.
    gui::sim::KeyPress(gui::VK_TAB, {}, ed);
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(G->CtrlID(), "e2");
    gui::sim::TypeText("z", ed);
    // Tab on the last control gives the focus to the grid.
    gui::sim::KeyPress(gui::VK_TAB, {}, ed);
    EXPECT_FALSE(ed->Visible());
    EXPECT_TRUE(G->Focused());
    std::string want = text;
    htmltext::SetControlValue(want, "e1", "abc");
    htmltext::SetControlValue(want, "e2", "z");
    EXPECT_EQ(G->Cells(1, 1), want);
    EXPECT_EQ(done, (std::vector<std::string>{"e1=abc", "e2=z"}));

    // A combo whose value is not listed opens with that text and no item.
    G->OnControlComboList = [](rtl::TObject*, int, int, const std::string&, const std::string&, const std::string&,
                               rtl::TStringList* values, bool& edit, int& count) {
        values->Add("north");
        values->Add("south");
        count = 4;
    };
    const std::string combos = "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"east\" WIDTH=\"80\">";
    G->SetCells(1, 1, combos);
    G->EditNextCellControl(1, 1, "");
    TControlCombo* combo = G->InlineCombo();
    ASSERT_TRUE(combo->Visible());
    EXPECT_EQ(combo->Text(), "east");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->DropDownCount(), 4);
    EXPECT_TRUE(combo->Focused());
    combo->SetText("west");
    gui::sim::KeyPress(gui::VK_RETURN, {}, combo);
    EXPECT_FALSE(combo->Visible());
    want = combos;
    htmltext::SetControlValue(want, "k", "west");
    EXPECT_EQ(G->Cells(1, 1), want);

    // Focus leaving an inline editor writes its value back too.
    G->EditNextCellControl(1, 1, "");
    ASSERT_TRUE(combo->Visible());
    combo->SetText("up");
    G->SetFocus();
    EXPECT_FALSE(combo->Visible());
    htmltext::SetControlValue(want, "k", "up");
    EXPECT_EQ(G->Cells(1, 1), want);
}

TEST_F(InlineFixture, MaskControlTypesIntoItsMask)
{
    const std::string text = "<CONTROL TYPE=\"MASK\" ID=\"m\" VALUE=\"\" PROP=\"00-00;0;_\" WIDTH=\"60\">";
    G->SetCells(1, 1, text);
    G->EditNextCellControl(1, 1, "");
    TControlEdit* ed = G->InlineEdit();
    ASSERT_TRUE(ed->Visible());
    EXPECT_EQ(ed->EditMask(), "00-00;0;_");
    EXPECT_EQ(ed->Text(), "__-__");
    ed->SetSelStart(0);
    gui::sim::TypeText("1a234", ed);
    EXPECT_EQ(ed->Text(), "12-34");
    gui::sim::KeyPress(gui::VK_RETURN, {}, ed);
    std::string want = text;
    htmltext::SetControlValue(want, "m", "1234");
    EXPECT_EQ(G->Cells(1, 1), want);
}

TEST_F(InlineFixture, TransparentEditor)
{
    G->OnCanEditCell = [](rtl::TObject*, int r, int c, bool& can) {
        if (c == 2 && r == 3) can = false;
    };
    G->SetCells(2, 3, "fixed");
    G->ShowTransparentEditor(2, 3);
    TGridTransEdit* t = G->EditTrans();
    ASSERT_TRUE(t->Visible());
    EXPECT_EQ(t->Text(), "fixed");
    // Enter neither beeps nor ends the edit.
    gui::sim::KeyPress(gui::VK_RETURN, {}, t);
    EXPECT_TRUE(t->Visible());
    EXPECT_EQ(Beeps, 0);
    // A refusing validation keeps it, with the focus, on its cell.
    G->OnCellValidate = [](rtl::TObject*, int, int, std::string&, bool& valid) { valid = false; };
    t->SelectAll();
    gui::sim::TypeText("new", t);
    G->SetFocus();
    EXPECT_TRUE(t->Visible());
    EXPECT_TRUE(t->Focused());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->Cells(2, 3), "fixed");
    // Leaving it ends it.
    G->OnCellValidate = nullptr;
    G->SetFocus();
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(G->Cells(2, 3), "new");
}
