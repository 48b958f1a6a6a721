// The data-aware grid's editor: the pick list dropped down below the cell,
// and the dialog codes of an embedded control.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "dbgrids/UxDBGrid.h"
#include "platform/db/DataSet.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GridsPickList.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace dbgrids;
using namespace gui;

namespace {

class TRestGrid : public TUxDBGrid {
public:
    using TUxDBGrid::TUxDBGrid;
    using TUxDBGrid::CanEditShow;
};

struct PickFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    TRestGrid* Grid = nullptr;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 400);
        Data = new db::TMemDataSet(Form.get());
        Data->AddFieldDef("Name", db::TFieldType::ftString, 10);
        Data->AddFieldDef("Size", db::TFieldType::ftInteger);
        for (int i = 1; i <= 3; ++i) Data->AppendRecord({std::string("n") + std::to_string(i), int64_t(i)});
        Data->Open();
        Data->First();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Data);
        Grid = new TRestGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetDataSource(source);
        Grid->Columns()->Items(0)->PickList()->SetText("one\ntwo\nthree\nfour\n");
        Grid->Columns()->Items(0)->SetDropDownRows(3);
        Grid->SetSelectedIndex(0);
        Grid->ShowEditor();
    }
    TInplaceEditList* Editor() { return dynamic_cast<TInplaceEditList*>(Grid->InplaceEditor()); }
    void Key(uint16_t vk, TShiftState shift = {}) { Editor()->KeyDown(vk, shift); }
};

} // namespace

TEST_F(PickFixture, KeysDropTheListAndTakeAnItemIntoTheField)
{
    ASSERT_NE(Editor(), nullptr);
    ASSERT_TRUE(Editor()->Visible());
    EXPECT_EQ(Editor()->ButtonWidth(), 16);
    Key(VK_DOWN, {TShiftStateItem::ssAlt});
    ASSERT_TRUE(Editor()->ListVisible());
    auto* list = Editor()->ActiveList();
    EXPECT_EQ(list->Items()->Count(), 4);
    EXPECT_EQ(list->ItemIndex(), -1);  // "n1" is no item
    // Three rows high, just below the cell.
    EXPECT_EQ(list->ClientHeight() / list->ItemHeight(), 3);
    TPoint below = Editor()->ClientToScreen({0, Editor()->Height()});
    EXPECT_EQ(Editor()->DropDownWindow()->Top(), below.Y);
    EXPECT_EQ(Editor()->DropDownWindow()->Left(), below.X);

    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "n1");  // nothing taken while moving
    Key(VK_RETURN);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_FALSE(Editor()->DropDownWindow()->Visible());
    EXPECT_EQ(Editor()->EditText(), "two");
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "two");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit);

    // F4 drops it again on the current item; Escape leaves the field alone.
    Key(VK_F4);
    ASSERT_TRUE(Editor()->ListVisible());
    EXPECT_EQ(list->ItemIndex(), 1);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->TopIndex(), 1);  // the fourth item scrolled into three rows
    Key(VK_ESCAPE);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_TRUE(Editor()->Visible());  // Escape closed the list only
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "two");

    // Hiding the editor closes the list.
    Key(VK_F4);
    ASSERT_TRUE(Editor()->ListVisible());
    Grid->HideEditor();
    EXPECT_FALSE(Editor()->ListVisible());
}

TEST_F(PickFixture, TheButtonAndAClickPickAnItem)
{
    Form->Show();
    Editor()->MouseDown(TMouseButton::mbLeft, {}, Editor()->ClientWidth() - 4, 3);
    ASSERT_TRUE(Editor()->ListVisible());
    auto* list = Editor()->ActiveList();
    const int h = list->ItemHeight();
    list->MouseDown(TMouseButton::mbLeft, {}, 5, 2 * h + h / 2);
    list->MouseUp(TMouseButton::mbLeft, {}, 5, 2 * h + h / 2);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "three");

    // Painted: the arrow button at the right of the editor, the selected
    // item highlighted in the list.
    Editor()->MouseDown(TMouseButton::mbLeft, {}, Editor()->ClientWidth() - 4, 3);
    ASSERT_TRUE(Editor()->ListVisible());
    EXPECT_EQ(list->ItemIndex(), 2);
    auto editImg = Editor()->GetImage();
    const int bx = Editor()->ClientWidth() - 8, by = Editor()->ClientHeight() / 2;
    bool dark = false;
    for (int x = bx - 4; x <= bx + 4; ++x)
        for (int y = by - 3; y <= by + 3; ++y)
            if (editImg->Canvas()->Pixels(x, y) == ColorToRGB(clBlack)) dark = true;
    EXPECT_TRUE(dark) << "no arrow on the button";
    auto listImg = list->GetImage();
    EXPECT_EQ(listImg->Canvas()->Pixels(list->ClientWidth() - 3, 2 * h + h / 2), ColorToRGB(clHighlight));
    EXPECT_EQ(listImg->Canvas()->Pixels(list->ClientWidth() - 3, h / 2), ColorToRGB(clWindow));
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    listImg->SaveToFile((shots / "dbgrids-pick-list.bmp").string());
    editImg->SaveToFile((shots / "dbgrids-pick-editor.bmp").string());

    // A column without a pick list has no button and drops nothing.
    Editor()->CloseUp(false);
    Grid->SetSelectedIndex(1);
    Grid->ShowEditor();
    EXPECT_EQ(Editor()->ButtonWidth(), 0);
    Key(VK_F4);
    EXPECT_FALSE(Editor()->ListVisible());
}

TEST_F(PickFixture, APressOnTheButtonThatClosedTheListDoesNotReopenIt)
{
    TTimer::UseManualClock(true);
    Form->Show();
    const int bx = Editor()->ClientWidth() - 4;
    Editor()->MouseDown(TMouseButton::mbLeft, {}, bx, 3);
    ASSERT_TRUE(Editor()->ListVisible());
    // The press outside the list deactivates it first, then reaches the button.
    Editor()->DropDownWindow()->Perform(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_FALSE(Editor()->ListVisible());
    Editor()->MouseDown(TMouseButton::mbLeft, {}, bx, 3);
    EXPECT_FALSE(Editor()->ListVisible());
    // Closed by a press elsewhere: a later press on the button opens it.
    Editor()->MouseDown(TMouseButton::mbLeft, {}, bx, 3);
    ASSERT_TRUE(Editor()->ListVisible());
    Editor()->DropDownWindow()->Perform(WM_ACTIVATE, WA_INACTIVE);
    TTimer::AdvanceClock(5);
    Editor()->MouseDown(TMouseButton::mbLeft, {}, bx, 3);
    EXPECT_TRUE(Editor()->ListVisible());
    TTimer::UseManualClock(false);
}

TEST_F(PickFixture, AReadOnlyFieldKeepsItsText)
{
    Data->FieldByName("Name")->SetReadOnly(true);
    Key(VK_F4);
    ASSERT_TRUE(Editor()->ListVisible());
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "n1");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
}

namespace {

// A grid with an edit embedded over the Name column and a button after it.
struct EmbeddedKeysFixture : PickFixture {
    TEdit* Edit = nullptr;
    TButton* Next = nullptr;
    TUxDBGridControl* Item = nullptr;

    void SetUp() override
    {
        PickFixture::SetUp();
        Grid->HideEditor();
        Grid->Columns()->Items(0)->PickList()->Clear();
        Grid->SetTabOrder(0);
        Edit = new TEdit(Form.get());
        Edit->SetName("NameEdit");
        Edit->SetParent(Form.get());
        Edit->SetVisible(false);
        Next = new TButton(Form.get());
        Next->SetParent(Form.get());
        Next->SetBounds(410, 10, 60, 24);
        Item = Grid->EditControls()->Add();
        Item->SetControlName("NameEdit");
        Item->SetFieldName("Name");
        Form->Show();
        Grid->SetFocus();
    }
    // Opens the control over the current Name cell.
    void Open()
    {
        Grid->SetSelectedIndex(0);
        Grid->CanEditShow();
        ASSERT_EQ(Grid->CurrentControl(), Edit);
        ASSERT_TRUE(Edit->Focused());
    }
};

} // namespace

TEST_F(EmbeddedKeysFixture, LeaveOnUpDownKeyAsksForArrowsAndTabAndMovesTheRecord)
{
    Item->SetLeaveOnUpDownKey(true);
    Open();
    const auto codes = static_cast<uint32_t>(Edit->Perform(WM_GETDLGCODE));
    EXPECT_EQ(codes & (DLGC_WANTARROWS | DLGC_WANTTAB), uint32_t(DLGC_WANTARROWS | DLGC_WANTTAB));
    // Down takes the whole road: not a dialog key of the form, so the grid
    // moves the record and the control closes.
    ASSERT_EQ(Data->RecNo(), 1);
    sim::KeyDown(VK_DOWN);
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    EXPECT_EQ(Data->RecNo(), 2);
    // Tab typed in the control goes to the grid, which moves to the next
    // column; the focus stays in the grid.
    Open();
    sim::KeyPress(VK_TAB);
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    EXPECT_EQ(Grid->SelectedIndex(), 1);
    EXPECT_FALSE(Next->Focused());
}

TEST_F(EmbeddedKeysFixture, WithoutItTabIsTheFormsAndLeavingClosesTheControl)
{
    Open();
    const auto codes = static_cast<uint32_t>(Edit->Perform(WM_GETDLGCODE));
    EXPECT_EQ(codes & DLGC_WANTTAB, 0u);
    sim::KeyPress(VK_TAB);
    EXPECT_TRUE(Next->Focused());
    EXPECT_EQ(Grid->CurrentControl(), nullptr);  // closed on the exit
    EXPECT_FALSE(Edit->Visible());
}
