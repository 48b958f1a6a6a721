// The column selection dialog, driven headless: its list, the field-name
// box, the last tick that cannot go, OK and Escape, its size and place.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "dbgrids/UxDBGridSelectColumnForm.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Monitors.h"

using namespace dbgrids;
using namespace gui;

namespace {

struct DialogFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    TUxDBGrid* Grid = nullptr;
    std::unique_ptr<TfrmSelectColumn> Dialog;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 400);
        Data = new db::TMemDataSet(Form.get());
        Data->AddFieldDef("CatNo", db::TFieldType::ftInteger);
        Data->AddFieldDef("DT", db::TFieldType::ftString, 12);
        Data->AddFieldDef("Gamma", db::TFieldType::ftFloat);
        Data->AppendRecord({int64_t(1), std::string("2024 Apr 08"), 0.34L});
        Data->Open();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Data);
        Grid = new TUxDBGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(10, 10, 400, 300);
        Grid->SetDataSource(source);
        for (const char* name : {"DT", "CatNo", "Gamma"}) Grid->Columns()->Add()->SetFieldName(name);
        Grid->Columns()->Items(1)->Title()->SetCaption("Cat. no");
        Dialog = std::make_unique<TfrmSelectColumn>(nullptr);
        Dialog->SetGrid(Grid);
        Dialog->SetDataSource(source);
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> out;
        for (int i = 0; i < Dialog->clbList->Count(); ++i) out.push_back(Dialog->clbList->Items()->Strings(i));
        return out;
    }
};

} // namespace

TEST_F(DialogFixture, ListsFieldsInFieldOrderWithTheirTicks)
{
    Data->FieldByName("Gamma")->SetVisible(false);
    Dialog->FillList();
    // Field order (CatNo, DT, Gamma), captions from the column titles.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Cat. no", "DT", "Gamma"}));
    EXPECT_EQ(Dialog->ColumnOfItem(0), 1);
    EXPECT_TRUE(Dialog->clbList->Checked(0));
    EXPECT_FALSE(Dialog->clbList->Checked(2));  // hidden field
    EXPECT_EQ(Dialog->clbList->ItemIndex(), 0);
    EXPECT_FALSE(Dialog->cbWithFieldName->Visible());  // no text: never shown

    Dialog->cbWithFieldName->SetCaption("Field names");
    Dialog->FillList();
    EXPECT_TRUE(Dialog->cbWithFieldName->Visible());
    Dialog->cbWithFieldName->SetChecked(true);
    Dialog->FillList();
    EXPECT_EQ(Texts()[0], "Cat. no [CatNo]");
    EXPECT_EQ(Texts()[1], "DT");
    // Left for a person to look at.
    Dialog->Show();
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    Dialog->GetImage()->SaveToFile((shots / "dbgrids-select-columns.bmp").string());
    Dialog->Hide();

    Dialog->SetSelectColumn(TSelectColumn::scGrid);  // grid order
    Dialog->FillList();
    EXPECT_EQ(Texts()[0], "DT");
}

TEST_F(DialogFixture, TheLastTickStaysAndOkOrEscapeDecide)
{
    auto scripted = std::make_unique<TScriptedDialogService>();
    TScriptedDialogService* dialogs = scripted.get();
    auto previous = SetDialogService(std::move(scripted));
    Dialog->FillList();
    Dialog->clbList->ToggleByUser(2);
    Dialog->clbList->ToggleByUser(1);
    EXPECT_TRUE(dialogs->Calls.empty());
    Dialog->clbList->ToggleByUser(0);  // the last one
    ASSERT_EQ(dialogs->Calls.size(), 1u);
    EXPECT_EQ(dialogs->Calls[0].Text, "At least one column must be visible!");
    EXPECT_TRUE(Dialog->clbList->Checked(0));  // the selected item ticked again
    EXPECT_TRUE(Dialog->CanHide());

    // Escape: nothing changes.
    uint16_t esc = VK_ESCAPE;
    Dialog->KeyDown(esc, {});
    EXPECT_EQ(Dialog->ModalResult(), mrCancel);
    EXPECT_FALSE(Dialog->ColumnUpdate());
    Dialog->Close();
    for (int c = 0; c < 3; ++c) EXPECT_TRUE(Grid->Columns()->Items(c)->Visible());

    // OK hides the unticked columns only.
    auto ok = std::make_unique<TfrmSelectColumn>(nullptr);
    ok->SetGrid(Grid);
    ok->SetDataSource(Grid->DataSource());
    ok->FillList();
    ok->clbList->ToggleByUser(1);  // DT
    ok->SetModalResult(mrOk);
    ok->Close();
    EXPECT_FALSE(Grid->Columns()->Items(0)->Visible());
    EXPECT_TRUE(Grid->Columns()->Items(1)->Visible());
    EXPECT_TRUE(Grid->Columns()->Items(2)->Visible());
    SetDialogService(std::move(previous));
}

TEST_F(DialogFixture, SizeFollowsTheItemsAndPlaceStaysInTheWorkArea)
{
    Grid->Columns()->Clear();
    for (int i = 0; i < 12; ++i) Grid->Columns()->Add()->SetFieldName("F" + std::to_string(i));
    Dialog->SetSelectColumn(TSelectColumn::scGrid);
    Dialog->FillList();
    EXPECT_EQ(Dialog->clbList->Count(), 12);
    EXPECT_GE(Dialog->clbList->ClientHeight(), 12 * TfrmSelectColumn::kItemHeight);  // 156
    for (int i = 12; i < 40; ++i) Grid->Columns()->Add()->SetFieldName("F" + std::to_string(i));
    Dialog->FillList();
    EXPECT_EQ(Dialog->ClientHeight(), 400);

    TRect cell = Grid->CellRect(0, 0);
    TPoint below = Grid->ClientToScreen({cell.Left, cell.Bottom + 1});
    TRect wide{0, 0, 2000, 2000};
    EXPECT_EQ(SelectColumnDialogPosition(Grid, 189, 217, wide), below);
    TRect tight{0, 0, below.X + 100, below.Y + 100};
    TPoint p = SelectColumnDialogPosition(Grid, 189, 217, tight);
    EXPECT_EQ(p.X, std::max(0, tight.Right - 189));
    EXPECT_EQ(p.Y, std::max(0, tight.Bottom - 217));
}

TEST_F(DialogFixture, TheOwnerMayHandleTheRequest)
{
    int asked = 0;
    Grid->OnSelectColumns = [&](TUxDBGrid*, bool& defaultDialog) {
        ++asked;
        defaultDialog = false;
    };
    Grid->ShowColumnsDialog();
    EXPECT_EQ(asked, 1);
}

TEST_F(DialogFixture, WorkAreaNearTheGridIsAScreensArea)
{
    TRect area = WorkAreaNearest(Grid);
    EXPECT_GT(area.Width(), 0);
    EXPECT_GT(area.Height(), 0);
    EXPECT_EQ(WorkAreaNearest(nullptr), Screen->WorkAreaRect());
}
