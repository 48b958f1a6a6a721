// The data-aware grid's rows in step with the data set: keys, wheel,
// scroll-bar messages, the non-sequenced window, export runs, deletion.
#include <gtest/gtest.h>

#include "DBExGridTestFixture.h"
#include "gridio/GridFiles.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Messages.h"

using namespace gridio;
using namespace dbexgrid_test;

namespace {

// Twenty records, so that the window of records is smaller than the data.
struct LongFixture : DBExFixture {
    void SetUp() override
    {
        DBExFixture::SetUp();
        for (int i = 6; i <= 40; ++i)
            Data->AppendRecord({int64_t(i), "Rec" + std::to_string(i), int64_t(0), std::string("N")});
        Data->First();
    }
};

struct UnnumberedFixture : LongFixture {
    db::TMemDataSet* MakeData() override { return new TUnnumberedData(Form.get()); }
    // The current record by its key (the data set has no record numbers).
    int Id() { return Data->FieldByName("Id")->AsInteger(); }
};

} // namespace

TEST_F(LongFixture, KeysMoveTheRecordAndTheRow)
{
    EXPECT_EQ(Grid->RowCount(), 41);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->Key(gui::VK_DOWN);
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->RecNo(), 3);
    EXPECT_EQ(Grid->Row(), 3);
    Grid->Key(gui::VK_UP);
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    Grid->Key(gui::VK_END, gui::TShiftState{gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(Data->RecNo(), 40);
    EXPECT_EQ(Grid->Row(), 40);
    // The visible rows show records that the link holds.
    const int top = Grid->TopRow();
    EXPECT_GT(top, 1);
    EXPECT_EQ(Grid->GetCellText(2, top), "Rec" + std::to_string(top));
    EXPECT_EQ(Grid->GetCellText(2, 40), "Rec40");
    Grid->Key(gui::VK_PRIOR);
    EXPECT_LT(Data->RecNo(), 40);
    EXPECT_EQ(Grid->Row(), Data->RecNo());
    EXPECT_EQ(Grid->GetCellText(1, Grid->Row()), std::to_string(Data->RecNo()));
    Grid->Key(gui::VK_HOME, gui::TShiftState{gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(LongFixture, WheelAndClicksMoveTheRecord)
{
    // The string grid's wheel step: WheelIncrement rows, else the system's lines.
    Grid->WheelDown();
    EXPECT_EQ(Data->RecNo(), 4) << "three lines a notch";
    Grid->WheelUp();
    EXPECT_EQ(Data->RecNo(), 1);
    Grid->MouseActions()->SetWheelIncrement(1);
    Grid->WheelDown();
    Grid->WheelDown();
    EXPECT_EQ(Data->RecNo(), 3);
    Grid->WheelUp();
    EXPECT_EQ(Data->RecNo(), 2);
    // Page mode keeps the wheel on the selection.
    Grid->MouseActions()->SetWheelAction(grid::TWheelAction::waScroll);
    EXPECT_EQ(Grid->MouseActions()->WheelAction(), grid::TWheelAction::waMoveSelection);
    // A click on row 5 makes record 5 current.
    const gui::TRect r = Grid->CellRect(2, 5);
    gui::sim::Click(Grid, r.Left + 5, r.Top + 5);
    EXPECT_EQ(Data->RecNo(), 5);
    EXPECT_EQ(Grid->Row(), 5);
    // Moving the data set moves the row.
    Data->SetRecNo(9);
    EXPECT_EQ(Grid->Row(), 9);
}

TEST_F(LongFixture, ScrollMessagesMoveTheRecord)
{
    Grid->WMVScroll(gui::SB_BOTTOM, 0);
    EXPECT_EQ(Data->RecNo(), 40);
    EXPECT_EQ(Grid->Row(), 40);
    Grid->WMVScroll(gui::SB_TOP, 0);
    EXPECT_EQ(Data->RecNo(), 1);
    Grid->WMVScroll(gui::SB_LINEDOWN, 0);
    EXPECT_GT(Data->RecNo(), 1);
    EXPECT_EQ(Grid->Row(), Data->RecNo());
}

TEST_F(LongFixture, KeysIgnoredWhileControlsAreDisabled)
{
    Data->DisableControls();
    Grid->Key(gui::VK_DOWN);
    Grid->WheelDown();
    Grid->WMVScroll(gui::SB_BOTTOM, 0);
    EXPECT_EQ(Data->RecNo(), 1);
    Data->EnableControls();
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->RecNo(), 2);
}

TEST_F(UnnumberedFixture, NonSequencedWheelMovesOneRecordAtTheWindowsEdge)
{
    Grid->MouseActions()->SetWheelIncrement(1);
    ASSERT_EQ(Grid->DataSetType(), TDataSetType::dtNonSequenced);
    const int first = Id();
    Grid->WheelDown();
    EXPECT_EQ(Id(), first + 1);
    // At the last row of the window the row cannot move on: the record does.
    for (int i = 0; i < 60; ++i) Grid->WheelDown();
    EXPECT_EQ(Id(), 40);
    Grid->WheelUp();
    EXPECT_EQ(Id(), 39);
}

TEST_F(UnnumberedFixture, NonSequencedWindowAndThumbPositions)
{
    EXPECT_EQ(Data->RecNo(), -1);
    EXPECT_EQ(Grid->DataSetType(), TDataSetType::dtNonSequenced) << "switched by DatasetTypeAuto";
    EXPECT_EQ(Grid->ThumbPos(), 0);
    Grid->WMVScroll(gui::SB_THUMBPOSITION, 2);
    EXPECT_EQ(Id(), 1) << "position 2 moves nothing";
    Grid->WMVScroll(gui::SB_THUMBPOSITION, 4);
    EXPECT_TRUE(Data->Eof() || Id() == 40);
    EXPECT_EQ(Grid->ThumbPos(), 4);
    EXPECT_LE(Grid->TopRow(), Grid->FixedRows() + 1);
    Grid->WMVScroll(gui::SB_THUMBPOSITION, 1);
    EXPECT_EQ(Grid->ThumbPos(), 2);
    EXPECT_LE(Grid->TopRow(), Grid->FixedRows() + 1);
    // The rows show the records of the window.
    const int a = Grid->DataLink()->ActiveRecord();
    EXPECT_EQ(Grid->Row(), a + Grid->FixedRows());
    EXPECT_EQ(Grid->GetCellText(1, Grid->Row()), std::to_string(Id()));
    Grid->WMVScroll(gui::SB_THUMBPOSITION, 0);
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(Grid->ThumbPos(), 0);
    for (int i = 0; i < 30; ++i) {
        Grid->Key(gui::VK_DOWN);
        ASSERT_LE(Grid->TopRow(), Grid->FixedRows() + 1) << "after " << i + 1 << " Down keys";
    }
    EXPECT_EQ(Id(), 31);
}

TEST_F(LongFixture, ExportReturnsRecordBufferAndTopRow)
{
    Data->SetRecNo(17);
    const int row = Grid->Row(), top = Grid->TopRow(), ar = Grid->DataLink()->ActiveRecord();
    // A CSV save walks every row through the notifications.
    const std::string file = ::testing::TempDir() + "/dbexgrid-export.csv";
    gridio::TGridFiles(*Grid).SaveToCSV(file, false);
    EXPECT_EQ(Data->RecNo(), 17);
    EXPECT_EQ(Grid->Row(), row);
    EXPECT_EQ(Grid->TopRow(), top);
    EXPECT_EQ(Grid->DataLink()->ActiveRecord(), ar);
    EXPECT_FALSE(Data->ControlsDisabled());
    // What was written are the records, not the empty cells.
    rtl::TStringList lines;
    lines.LoadFromFile(file);
    ASSERT_EQ(lines.Count(), 41);
    EXPECT_NE(lines[30].find("Rec30"), std::string::npos);
    // A print run's counting pass, by hand.
    Grid->ExportNotification(grid::TGridExportState::esExportStart, -1);
    for (int r = 0; r < Grid->RowCount(); ++r) Grid->ExportNotification(grid::TGridExportState::esExportNewRow, r);
    EXPECT_TRUE(Data->ControlsDisabled());
    Grid->ExportNotification(grid::TGridExportState::esExportDone, -1);
    EXPECT_EQ(Data->RecNo(), 17);
    EXPECT_EQ(Grid->TopRow(), top);
    EXPECT_EQ(Grid->DataLink()->ActiveRecord(), ar);
    EXPECT_FALSE(Data->ControlsDisabled());
}

TEST_F(LongFixture, DownOnTheLastRecordAppendsOnce)
{
    Grid->Navigation()->SetAppendOnArrowDown(true);
    int autoAdds = 0, keyDowns = 0;
    Grid->OnAutoAddRow = [&](rtl::TObject*, int) { ++autoAdds; };
    Grid->OnKeyDown = [&](rtl::TObject*, uint16_t&, gui::TShiftState) { ++keyDowns; };
    Data->Last();
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsInsert);
    EXPECT_EQ(Grid->RowCount(), 42);
    EXPECT_EQ(Grid->Row(), 41);
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsInsert) << "a pending append does not move";
    EXPECT_EQ(autoAdds, 1);
    EXPECT_EQ(keyDowns, 2);
    // Leaving the untouched row drops the new record.
    Grid->Key(gui::VK_UP);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Data->RecordCount(), 40);
    EXPECT_EQ(Grid->RowCount(), 41);
}

TEST_F(LongFixture, DeleteLowersTheRowCount)
{
    Grid->Navigation()->SetAllowDeleteRow(true);
    Data->SetRecNo(40);
    Grid->Key(gui::VK_DELETE);
    EXPECT_EQ(Data->RecordCount(), 39);
    EXPECT_EQ(Grid->RowCount(), 40);
    EXPECT_LT(Grid->Row(), Grid->RowCount());
    Data->First();
    Data->Delete();
    EXPECT_EQ(Grid->RowCount(), 39);
}

TEST_F(LongFixture, KeysAndWheelThroughTheWindowSystem)
{
    Grid->MouseActions()->SetWheelIncrement(1);
    Form->Show();
    Grid->SetFocus();
    gui::sim::KeyDown(gui::VK_DOWN, {}, Grid);
    gui::sim::KeyDown(gui::VK_DOWN, {}, Grid);
    EXPECT_EQ(Data->RecNo(), 3);
    const gui::TRect r = Grid->CellRect(2, 2);
    gui::sim::Wheel(Grid, -120, r.Left + 4, r.Top + 4);
    EXPECT_EQ(Data->RecNo(), 4);
    gui::sim::Wheel(Grid, 120, r.Left + 4, r.Top + 4);
    EXPECT_EQ(Data->RecNo(), 3);
    // A click on the indicator column moves the record there.
    const gui::TRect ind = Grid->CellRect(0, 6);
    gui::sim::Click(Grid, ind.Left + 3, ind.Top + 3);
    EXPECT_EQ(Data->RecNo(), 6);
    EXPECT_EQ(Grid->Row(), 6);
}

TEST_F(LongFixture, RefreshOnDeleteKeepsTheRowInside)
{
    Grid->SetRefreshOnDelete(true);
    int changes = 0;
    Source->OnDataChange = [&](rtl::TObject*, db::TField* f) {
        if (!f) ++changes;
    };
    Data->Last();
    changes = 0;
    Data->Delete();
    EXPECT_EQ(Grid->RowCount(), 40);
    EXPECT_LT(Grid->Row(), Grid->RowCount());
    EXPECT_EQ(Grid->Row(), Data->RecNo());
    EXPECT_GE(changes, 2) << "the deletion and the refresh";
}

TEST_F(LongFixture, FilteringMakesTheGridAWindowAndBack)
{
    Data->OnFilterRecord = [](db::TDataSet* ds, bool& accept) {
        accept = ds->FieldByName("Id")->AsInteger() % 2 == 0;
    };
    Data->SetFiltered(true);
    EXPECT_EQ(Grid->DataSetType(), TDataSetType::dtNonSequenced);
    EXPECT_EQ(Grid->GetCellText(1, Grid->Row()), std::to_string(Data->FieldByName("Id")->AsInteger()));
    Data->SetFiltered(false);
    EXPECT_EQ(Grid->DataSetType(), TDataSetType::dtSequenced);
    EXPECT_EQ(Grid->RowCount(), 41);
}

TEST_F(LongFixture, AssignTakesTheDataSource)
{
    TTestDBGrid other(Form.get());
    other.SetParent(Form.get());
    other.SetBounds(0, 0, 300, 200);
    other.Assign(Grid);
    EXPECT_EQ(other.DataSource(), Source);
    EXPECT_EQ(other.RowCount(), 41);
}

TEST_F(LongFixture, ColumnPopupsByClickKind)
{
    Form->Show();
    auto* menu = new gui::TPopupMenu(Form.get());
    menu->Items()->Add(new gui::TMenuItem(menu));
    TDBGridColumnItem* name = Grid->Columns()->Items(2);
    name->SetColumnPopup(menu);
    std::vector<std::pair<int, int>> shown;
    Grid->OnColumnPopup = [&](rtl::TObject*, int c, int r, gui::TPopupMenu* m) {
        EXPECT_EQ(m, menu);
        shown.emplace_back(c, r);
    };
    const gui::TRect header = Grid->CellRect(2, 0), data = Grid->CellRect(2, 3);
    // Default kind: right clicks on fixed cells only.
    gui::sim::Click(Grid, data.Left + 4, data.Top + 4, gui::TMouseButton::mbRight);
    gui::sim::Click(Grid, header.Left + 4, header.Top + 4, gui::TMouseButton::mbLeft);
    EXPECT_TRUE(shown.empty());
    gui::sim::Click(Grid, header.Left + 4, header.Top + 4, gui::TMouseButton::mbRight);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (std::pair<int, int>{2, 0}));
    const gui::TPoint corner = Grid->ClientToScreen({header.Left, header.Bottom});
    EXPECT_EQ(menu->PopupPoint().X, corner.X);
    EXPECT_EQ(menu->PopupPoint().Y, corner.Y);
    menu->CloseMenu();
    name->SetColumnPopupType(TColumnPopupType::cpNormalCellsLClick);
    gui::sim::Click(Grid, data.Left + 4, data.Top + 4, gui::TMouseButton::mbLeft);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], (std::pair<int, int>{2, 3}));
    menu->CloseMenu();
    delete menu;
    EXPECT_EQ(name->ColumnPopup(), nullptr) << "a freed menu leaves the column";
}

TEST_F(UnnumberedFixture, ImportRowsPositionTheRecord)
{
    Grid->ImportNotification(grid::TGridImportState::isImportStart, -1);
    Grid->ImportNotification(grid::TGridImportState::isImportNewRow, 5);
    EXPECT_EQ(Data->FieldByName("Id")->AsInteger(), 5) << "row 5 is the fifth record from the start";
    // Selected rows count from the row current at the start.
    Data->First();
    Grid->Key(gui::VK_DOWN);
    Grid->Key(gui::VK_DOWN);
    const int start = Data->FieldByName("Id")->AsInteger();
    Grid->ImportNotification(grid::TGridImportState::isImportStart, -1);
    Grid->ImportNotification(grid::TGridImportState::isImportSelRow, Grid->Row() + 2);
    EXPECT_EQ(Data->FieldByName("Id")->AsInteger(), start + 2);
    Grid->ImportNotification(grid::TGridImportState::isImportDone, -1);
}

TEST_F(LongFixture, FindKeepsTheFoundRecordAndTheGridWorksOn)
{
    Data->SetRecNo(3);
    const gui::TPoint at =
        Grid->FindFirst("Rec30", grid::TFindParams{grid::TFindParameters::fnMatchFull, grid::TFindParameters::fnAutoGoto});
    EXPECT_EQ(at.Y, 30);
    EXPECT_FALSE(Data->ControlsDisabled());
    EXPECT_EQ(Data->RecNo(), 30);
    EXPECT_EQ(Grid->Row(), 30);
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->RecNo(), 31) << "Down moves the record after a successful find";
    EXPECT_EQ(Grid->Row(), 31);
    // Nothing found: the record the run started from.
    const gui::TPoint none = Grid->FindFirst("absent", grid::TFindParams{grid::TFindParameters::fnAutoGoto});
    EXPECT_EQ(none.X, -1);
    EXPECT_EQ(Data->RecNo(), 31);
    EXPECT_FALSE(Data->ControlsDisabled());
}
