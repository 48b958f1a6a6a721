// The data-aware grids over a memory data set: options, row heights,
// alternate rows on the painted image, title sorting, column widths, the
// sorting grid's sort lists, index choice and search.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "dbgrids/UxDBSortGrid.h"
#include "platform/db/DataSet.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

using namespace dbgrids;
using namespace gui;
using O = TDBGridOption;

namespace grid_test {

// A memory data set with a shorthand for its index definitions.
class TIndexedMem : public db::TMemDataSet {
public:
    explicit TIndexedMem(rtl::TComponent* owner = nullptr) : db::TMemDataSet(owner) {}
    void AddDef(const std::string& name, const std::string& fields, const std::string& desc = "", bool descending = false)
    {
        db::TIndexOptions options;
        if (descending) options.Include(db::TIndexOption::ixDescending);
        IndexDefs()->Add(name, fields, desc, options);
    }
};

class TTestGrid : public TUxDBSortGrid {
public:
    using TUxDBSortGrid::TUxDBSortGrid;
    using TUxDBSortGrid::CalcSizingState;
    using TUxDBSortGrid::ConfirmDelete;
    using TUxDBSortGrid::DoTitleClick;
    using TUxDBSortGrid::FindSortIndex;
};

} // namespace grid_test

using namespace grid_test;

namespace {

struct GridFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TIndexedMem* Data = nullptr;
    db::TDataSource* Source = nullptr;
    TTestGrid* Grid = nullptr;
    bool Extend = false;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 400);
        Data = new TIndexedMem(Form.get());
        Data->AddFieldDef("CatNo", db::TFieldType::ftInteger);
        Data->AddFieldDef("Saros", db::TFieldType::ftInteger);
        Data->AddFieldDef("Name", db::TFieldType::ftString, 20);
        for (int i = 1; i <= 20; ++i)
            Data->AppendRecord({int64_t(i), int64_t(100 + (i * 7) % 20), std::string("row") + std::to_string(i)});
        Data->Open();
        Source = new db::TDataSource(Form.get());
        Source->SetDataSet(Data);
        Grid = new TTestGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetDataSource(Source);
        Grid->ExtendKeyHeld = [this] { return Extend; };
    }
    db::TField* F(const char* name) { return Data->FieldByName(name); }
};

} // namespace

TEST_F(GridFixture, DefaultsAndMultiSelect)
{
    EXPECT_EQ(Grid->Options(), TUxDBGrid::DefaultOptions());
    EXPECT_EQ(TUxDBGrid::DefaultOptions().Count(), 11u);
    EXPECT_TRUE(Grid->AutoSort());
    EXPECT_TRUE(Grid->AutoSizeRows());
    EXPECT_EQ(Grid->AlternateRowColor(), clNone);
    EXPECT_EQ(Grid->ReadOnlyCellColor(), clDefault);
    EXPECT_FALSE(Grid->DefaultDrawing());
    Grid->SetOptions(Grid->Options() + TDBGridOptions{O::dgMultiSelect});
    EXPECT_TRUE(Grid->MultiSelect());
    EXPECT_TRUE(Grid->Options().Contains(O::dgMultiSelect));
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->Next();
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(Grid->SelCount(), 2);
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgMultiSelect});
    EXPECT_FALSE(Grid->MultiSelect());
    EXPECT_EQ(Grid->SelectedRows()->Count(), 0);
}

TEST_F(GridFixture, RowHeights)
{
    int def = Grid->DefaultRowHeight();
    Grid->SetRowsHeight(17);
    EXPECT_EQ(Grid->RowsHeight(), def);  // AutoSizeRows on: not applied
    Grid->SetAutoSizeRows(false);
    int title = Grid->RowHeights(0);
    Grid->SetRowsHeight(17);
    EXPECT_EQ(Grid->RowsHeight(), 17);
    EXPECT_EQ(Grid->RowHeights(1), 17);
    EXPECT_EQ(Grid->RowHeights(5), 17);
    EXPECT_EQ(Grid->RowHeights(0), title);
    Grid->SetTitleRowHeight(30);
    EXPECT_EQ(Grid->RowHeights(0), 30);
    EXPECT_EQ(Grid->RowHeights(1), 17);
}

TEST_F(GridFixture, LegacyPropertiesAndOptionsMigration)
{
    Grid->ReadLegacyProperty("AlternRowColor", true);
    EXPECT_EQ(Grid->AlternateRowColor(), 0xCCCCCCu);
    Grid->ReadLegacyProperty("AlternRowFontColor", true);
    EXPECT_EQ(Grid->AlternateRowFontColor(), clBlack);
    Grid->ReadLegacyProperty("AlternRowColor", false);
    EXPECT_EQ(Grid->AlternateRowColor(), clNone);
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgTitleClick} - TDBGridOptions{O::dgTitleHotTrack});
    Grid->Loaded();
    EXPECT_TRUE(Grid->Options().Contains(O::dgTitleClick));
    EXPECT_TRUE(Grid->Options().Contains(O::dgTitleHotTrack));
    EXPECT_TRUE(Grid->OptionsMigrated());
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgTitleClick} - TDBGridOptions{O::dgTitleHotTrack});
    Grid->Loaded();  // already migrated: kept as stored
    EXPECT_FALSE(Grid->Options().Contains(O::dgTitleClick));
}

TEST_F(GridFixture, AlternateRowsBelongToScreenRows)
{
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgIndicator});
    Grid->SetAlternateRowColor(0xE1E1E1);
    Form->Show();
    auto colourOfRow = [&](int row) {
        auto img = Grid->GetImage();
        TRect r = Grid->CellRect(2, row);
        return img->Canvas()->Pixels(r.Right - 3, (r.Top + r.Bottom) / 2);
    };
    TColor base = ColorToRGB(Grid->Color());
    EXPECT_EQ(colourOfRow(1), base);
    EXPECT_EQ(colourOfRow(2), 0xE1E1E1u);
    EXPECT_EQ(colourOfRow(3), base);
    EXPECT_EQ(colourOfRow(4), 0xE1E1E1u);
    // Scroll by one record past the bottom: rows show other records, the
    // colours stay with the screen rows.
    Data->MoveBy(Grid->VisibleRowCount());
    EXPECT_EQ(colourOfRow(1), base);
    EXPECT_EQ(colourOfRow(2), 0xE1E1E1u);
    Grid->SetAlternateRowColor(Grid->Color());
    EXPECT_EQ(colourOfRow(2), base);
    Grid->SetReadOnlyCellColor(clYellow);
    Grid->SetReadOnly(true);
    EXPECT_EQ(colourOfRow(1), ColorToRGB(clYellow));
}

TEST_F(GridFixture, AutoSortTogglesAndFollowsIndexes)
{
    struct TPlainGrid : TUxDBGrid {
        using TUxDBGrid::TUxDBGrid;
        using TUxDBGrid::DoTitleClick;
    };
    TPlainGrid plain(Form.get());
    plain.SetDataSource(Source);
    // Without index definitions: smUp, smDown, smUp; another column smUp.
    auto click = [&](TPlainGrid& g, const char* field) {
        g.DoTitleClick(0, F(field));
        return g.SortMarker();
    };
    EXPECT_EQ(click(plain, "CatNo"), TSortMarker::smUp);
    EXPECT_EQ(click(plain, "CatNo"), TSortMarker::smDown);
    EXPECT_EQ(click(plain, "CatNo"), TSortMarker::smUp);
    EXPECT_EQ(click(plain, "Saros"), TSortMarker::smUp);
    EXPECT_EQ(plain.SortedField(), "Saros");
    // With index definitions: the index holding the field is chosen.
    Data->AddDef("ByName", "Name");
    Data->AddDef("BySaros", "Saros");
    EXPECT_EQ(click(plain, "Saros"), TSortMarker::smDown);
    EXPECT_EQ(Data->IndexName(), "BySaros");
    Data->AddDef("BySarosDesc", "Saros", "", true);
    click(plain, "Saros");
    EXPECT_EQ(Data->IndexName(), "BySarosDesc");
    EXPECT_EQ(plain.SortMarker(), TSortMarker::smUp);
}

TEST_F(GridFixture, ColumnWidths)
{
    Grid->SetBorderStyle(TBorderStyle::bsNone);
    Grid->SetScrollBars(TScrollStyle::ssNone);
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgIndicator} - TDBGridOptions{O::dgColLines});
    ASSERT_EQ(Grid->ClientWidth(), 400);
    auto widths = [&] {
        std::vector<int> w;
        for (int i = 0; i < Grid->Columns()->Count(); ++i) w.push_back(Grid->Columns()->Items(i)->Width());
        return w;
    };
    auto set = [&](std::vector<int> w) {
        for (int i = 0; i < 3; ++i) Grid->Columns()->Items(i)->SetWidth(w[static_cast<size_t>(i)]);
    };
    set({20, 50, 100});
    Grid->SetMinColumnWidth(30);
    EXPECT_EQ(widths(), (std::vector<int>{30, 50, 100}));
    Grid->SetMinColumnWidth(0);
    set({50, 50, 100});
    Grid->SetAutoSizeColumns(true);  // index -1: all columns share the width
    EXPECT_EQ(widths(), (std::vector<int>{100, 100, 200}));
    Grid->SetAutoSizeColumns(false);
    Grid->SetAutoSizeColumns(true);  // already filling the width: unchanged
    EXPECT_EQ(widths(), (std::vector<int>{100, 100, 200}));
    Grid->SetAutoSizeColumns(false);
    set({50, 50, 100});
    Grid->SetAutoSizeColumnIndex(-2);
    Grid->SetAutoSizeColumns(true);
    EXPECT_EQ(widths(), (std::vector<int>{50, 50, 300}));
    Grid->SetAutoSizeColumns(false);
    set({20, 50, 100});
    Grid->SetMinColumnWidth(30);
    Grid->SetAutoSizeColumns(true);
    Grid->SetMinColumnWidth(31);  // no effect while sizing automatically
    Grid->SetAutoSizeColumns(false);
    Grid->SetMinColumnWidth(0);
    Grid->InitializeColumnsWidth(-1, -1, {40, 80}, false);
    EXPECT_EQ(Grid->MinColumnWidth(), 40);
    EXPECT_EQ(Grid->MaxColumnWidth(), 80);
    EXPECT_EQ(widths(), (std::vector<int>{40, 80, 80}));
}

TEST_F(GridFixture, SortClickSequence)
{
    Grid->SetSortWith(TSortWith::swFields);
    struct Step {
        const char* field;
        bool extend;
        TSortFields want;
        const char* sortString;
    } steps[] = {
        {"CatNo", false, {{"CatNo", true}}, "[CatNo] ASC"},
        {"Saros", false, {{"Saros", true}}, "[Saros] ASC"},
        {"Saros", false, {{"Saros", false}}, "[Saros] DESC"},
        {"CatNo", true, {{"Saros", false}, {"CatNo", true}}, "[Saros] DESC,[CatNo] ASC"},
        {"Saros", true, {{"Saros", true}, {"CatNo", true}}, "[Saros] ASC,[CatNo] ASC"},
    };
    for (const Step& s : steps) {
        Extend = s.extend;
        Grid->DoTitleClick(0, F(s.field));
        EXPECT_EQ(Grid->SortedFields(), s.want) << s.sortString;
        EXPECT_EQ(Data->IndexFieldNames(), s.sortString);
        EXPECT_TRUE(Grid->SortOK());
    }
    // The data set sorted itself: Saros ascending, then CatNo.
    Data->First();
    int64_t prev = -1;
    for (; !Data->Eof(); Data->Next()) {
        int64_t saros = std::get<int64_t>(Data->GetFieldValue(F("Saros")));
        EXPECT_GE(saros, prev);
        prev = saros;
    }
    EXPECT_TRUE(Grid->IsSortedField("saros"));
    EXPECT_EQ(Grid->SortMarker(), TSortMarker::smUp);
    EXPECT_FALSE(Grid->IsSortedField("Name"));
    Grid->SetMultiColSort(false);
    EXPECT_EQ(Grid->SortedFields(), (TSortFields{{"Saros", true}}));
}

TEST_F(GridFixture, SortByIndexAndItsErrors)
{
    Data->AddDef("ByCatNo", "catno");
    Data->AddDef("ByCatNoSaros", "CatNo;Saros");
    TSortFields f{{"CatNo", true}};
    EXPECT_TRUE(Grid->FindSortIndex(f, "CatNo", ""));
    EXPECT_EQ(Data->IndexName(), "ByCatNo");
    Data->IndexDefs()->Clear();
    Data->AddDef("Desc", "CatNo", "", true);
    TSortFields d{{"CatNo", false}};
    EXPECT_TRUE(Grid->FindSortIndex(d, "CatNo", "CatNo"));
    EXPECT_EQ(Data->IndexName(), "Desc");
    Data->IndexDefs()->Clear();
    Data->AddDef("DescFields", "CatNo", "CatNo");
    EXPECT_TRUE(Grid->FindSortIndex(d, "CatNo", "CatNo"));
    EXPECT_EQ(Data->IndexName(), "DescFields");
    // No fitting index: an error, and the sort in force stays.
    EXPECT_THROW(Grid->Sort({{"CatNo", true}}), EUXLDbGridException);
    EXPECT_FALSE(Grid->SortOK());
    bool retried = false;
    Grid->OnIndexNotFound = [&](TUxDBSortGrid*, const TSortFields&, const std::string& names, const std::string&, bool& retry) {
        retried = names == "CatNo";
        retry = false;
    };
    Grid->Sort({{"CatNo", true}});  // the owner declined: no error
    EXPECT_TRUE(retried);
    EXPECT_FALSE(Grid->SortOK());
    Grid->OnIndexNotFound = nullptr;
    try {
        Grid->Sort({{"Saros", true}});
        FAIL() << "no error";
    } catch (const EUXLDbGridException& e) {
        EXPECT_EQ(std::string(e.Message()), "Cannot sort. The corresponding index is missing");
    }
    // A field the owner refuses (a binary or memo field in the Part).
    Grid->SetSortWith(TSortWith::swFields);
    Grid->OnCheckIfValidSortField = [](TUxDBSortGrid*, db::TField* f) { return f->FieldName() != "Name"; };
    Grid->SetBeepOnError(false);
    EXPECT_THROW(Grid->Sort({{"Name", true}}), EUXLDbGridException);
    Grid->SetBeepOnError(true);
    Grid->Sort({{"Name", true}});
    EXPECT_FALSE(Grid->SortOK());
}

TEST_F(GridFixture, Search)
{
    int col = -1;
    db::TField* field = nullptr;
    Data->SetRecNo(3);
    rtl::Variant v(std::string("row17"));
    EXPECT_FALSE(Grid->Search(v, col, field, false, true, false));  // no search fields
    Grid->SearchFields()->Add("Name");
    rtl::Variant null = rtl::Variant::Null();
    rtl::Variant empty{std::string()};
    EXPECT_FALSE(Grid->Search(null, col, field, false, true, false));
    EXPECT_FALSE(Grid->Search(empty, col, field, false, true, false));
    EXPECT_EQ(Data->RecNo(), 3);
    EXPECT_TRUE(Grid->Search(v, col, field, false, true, false));
    EXPECT_EQ(field, F("Name"));
    EXPECT_EQ(col, 3);  // the grid column, after the indicator
    EXPECT_EQ(Data->RecNo(), 3);  // back where it started
    rtl::Variant part(std::string("OW1"));
    EXPECT_TRUE(Grid->Search(part, col, field, false, false, true));
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_FALSE(Grid->Search(part, col, field, true, false, true));  // case matters: not found
}

namespace {
std::vector<int> SelectedRecNos(TUxDBGrid* g, db::TDataSet* ds)
{
    std::vector<int> out;
    db::TBookmark here = ds->GetBookmark();
    for (int i = 0; i < g->SelCount(); ++i) {
        g->GotoSelection(i);
        out.push_back(ds->RecNo());
    }
    ds->GotoBookmark(here);
    return out;
}
} // namespace

TEST_F(GridFixture, ShiftArrowsSelectAndUnselect)
{
    Grid->SetMultiSelect(true);
    Data->SetRecNo(5);
    for (int i = 0; i < 3; ++i) {
        uint16_t k = VK_DOWN;
        Grid->KeyDown(k, {TShiftStateItem::ssShift});
    }
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{5, 6, 7, 8}));
    uint16_t up = VK_UP;
    Grid->KeyDown(up, {TShiftStateItem::ssShift});
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(Data->RecNo(), 7);
    uint16_t plain = VK_DOWN;
    Grid->KeyDown(plain, {});  // a plain move ends the selection
    EXPECT_EQ(Grid->SelCount(), 0);
    EXPECT_EQ(Data->RecNo(), 8);
}

TEST_F(GridFixture, ClicksToggleClearOrSelect)
{
    Grid->SetMultiSelect(true);
    Form->Show();
    auto clickRow = [&](int row, TShiftState shift) {
        TRect r = Grid->CellRect(2, row);
        Grid->MouseDown(TMouseButton::mbLeft, shift, r.Left + 3, (r.Top + r.Bottom) / 2);
        Grid->MouseUp(TMouseButton::mbLeft, shift, r.Left + 3, (r.Top + r.Bottom) / 2);
    };
    clickRow(2, {TShiftStateItem::ssCtrl});
    clickRow(4, {TShiftStateItem::ssCtrl});
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{2, 4}));
    clickRow(4, {TShiftStateItem::ssCtrl});
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{2}));
    clickRow(5, {TShiftStateItem::ssShift});
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{2, 3, 4, 5}));
    clickRow(3, {});  // a plain click with ClearSelection: only that record
    EXPECT_EQ(SelectedRecNos(Grid, Data), (std::vector<int>{3}));
    Grid->SetClearSelection(false);
    clickRow(6, {});
    EXPECT_EQ(Grid->SelCount(), 0);
    Grid->SelectAll();
    EXPECT_EQ(Grid->SelCount(), 20);
    Grid->UnselectAll();
    EXPECT_EQ(Grid->SelCount(), 0);
}

TEST_F(GridFixture, TabWalksAcrossRecordsAndWheelAmounts)
{
    Data->SetRecNo(4);
    Grid->SetSelectedIndex(2);
    uint16_t tab = VK_TAB;
    Grid->KeyDown(tab, {});
    EXPECT_EQ(Data->RecNo(), 5);
    EXPECT_EQ(Grid->SelectedIndex(), 0);
    tab = VK_TAB;
    Grid->KeyDown(tab, {TShiftStateItem::ssShift});
    EXPECT_EQ(Data->RecNo(), 4);
    EXPECT_EQ(Grid->SelectedIndex(), 2);
    Data->SetRecNo(10);
    Grid->DoMouseWheelDown({}, {0, 0});
    EXPECT_EQ(Data->RecNo(), 12);
    Grid->DoMouseWheelDown({TShiftStateItem::ssShift}, {0, 0});
    EXPECT_EQ(Data->RecNo(), 13);
    Grid->DoMouseWheelUp({TShiftStateItem::ssCtrl, TShiftStateItem::ssShift}, {0, 0});
    EXPECT_EQ(Data->RecNo(), 12);
    Grid->DoMouseWheelUp({}, {0, 0});
    EXPECT_EQ(Data->RecNo(), 10);
    Data->SetRecNo(1);
    Grid->DoMouseWheelDown({TShiftStateItem::ssCtrl}, {0, 0});
    EXPECT_EQ(Data->RecNo(), 1 + std::max(1, Grid->VisibleRowCount() - 1));
}

TEST_F(GridFixture, DeleteIsGuardedAndConfirmedInGerman)
{
    auto scripted = std::make_unique<TScriptedDialogService>();
    TScriptedDialogService* dialogs = scripted.get();
    auto previous = SetDialogService(std::move(scripted));
    auto ctrlDelete = [&] {
        uint16_t del = VK_DELETE;
        Grid->KeyDown(del, {TShiftStateItem::ssCtrl});
    };
    // Refused silently: read-only data set, read-only grid, CanDelete off.
    Data->SetReadOnly(true);
    ctrlDelete();
    Data->SetReadOnly(false);
    Grid->SetReadOnly(true);
    ctrlDelete();
    Grid->SetReadOnly(false);
    Grid->SetCanDelete(false);
    ctrlDelete();
    Grid->SetCanDelete(true);
    EXPECT_TRUE(dialogs->Calls.empty());
    EXPECT_EQ(Data->RecordCount(), 20);

    // One record: "No" keeps it, "Yes" deletes the current record.
    Data->SetRecNo(5);
    dialogs->MessageAnswers = {mrNo, mrYes};
    ctrlDelete();
    EXPECT_EQ(dialogs->Calls.back().Text, "Datensatz löschen?");
    EXPECT_EQ(Data->RecordCount(), 20);
    ctrlDelete();
    EXPECT_EQ(Data->RecordCount(), 19);
    EXPECT_EQ(F("CatNo")->AsInteger(), 6);

    // Selected records: the other question, and only they go.
    Grid->SetMultiSelect(true);
    Data->SetRecNo(1);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->SetRecNo(3);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    dialogs->MessageAnswers = {mrYes};
    ctrlDelete();
    EXPECT_EQ(dialogs->Calls.back().Text, "Alle markierten Datensätze löschen?");
    EXPECT_EQ(Data->RecordCount(), 17);
    EXPECT_EQ(Grid->SelectedRows()->Count(), 0);
    Data->First();
    EXPECT_EQ(F("CatNo")->AsInteger(), 2);
    Data->Next();
    EXPECT_EQ(F("CatNo")->AsInteger(), 4);

    // Without dgConfirmDelete nothing is asked.
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgConfirmDelete});
    std::size_t asked = dialogs->Calls.size();
    ctrlDelete();
    EXPECT_EQ(dialogs->Calls.size(), asked);
    EXPECT_EQ(Data->RecordCount(), 16);
    SetDialogService(std::move(previous));
}

TEST_F(GridFixture, DownOnTheLastRecordAppendsOnlyWhenEditable)
{
    auto down = [&] {
        uint16_t key = VK_DOWN;
        Grid->KeyDown(key, {});
    };
    Grid->SetOptions(Grid->Options() + TDBGridOptions{O::dgEditing});
    Data->SetRecNo(19);
    down();
    EXPECT_EQ(Data->RecNo(), 20);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    down();
    EXPECT_EQ(Data->State(), db::TDataSetState::dsInsert);
    EXPECT_EQ(Data->RecordCount(), 21);
    down();  // inserting: the platform's move drops the untouched record
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Data->RecordCount(), 20);
    down();
    F("Name")->SetAsString("new");
    down();  // a filled record is posted, nothing more appended
    EXPECT_EQ(Data->RecordCount(), 21);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    Data->Last();
    Data->Delete();
    for (int variant = 0; variant < 3; ++variant) {
        Data->SetReadOnly(variant == 0);
        Grid->SetReadOnly(variant == 1);
        Grid->SetAutoAppend(variant != 2);
        Data->Last();
        down();
        EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse) << variant;
        EXPECT_EQ(Data->RecordCount(), 20) << variant;
    }
}

TEST_F(GridFixture, ColumnSizingWithinFivePixelsOfAnEdge)
{
    TRect r = Grid->CellRect(2, 0);
    auto zone = [&](int x) {
        TGridState state = TGridState::gsNormal;
        int index = -1, pos = 0, ofs = 0;
        Grid->CalcSizingState(x, (r.Top + r.Bottom) / 2, state, index, pos, ofs);
        return state == TGridState::gsColSizing ? index : -1;
    };
    EXPECT_EQ(zone(r.Right - 4), 2);
    EXPECT_EQ(zone(r.Left + 4), 1);  // near the left edge: the previous column
    EXPECT_EQ(zone((r.Left + r.Right) / 2), -1);
    TRect first = Grid->CellRect(1, 0);
    EXPECT_EQ(zone(first.Left + 2), -1);  // the indicator column is never sized
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgColumnResize});
    EXPECT_EQ(zone(r.Right - 4), -1);
}

TEST_F(GridFixture, CellHintsOnlyWhenTheTextDoesNotFit)
{
    Grid->SetShowCellHint(true);
    Form->Show();
    Grid->Columns()->Items(2)->SetWidth(20);  // "Name": too narrow for "rowN"
    auto hint = [&](int col, int row) {
        TRect r = Grid->CellRect(col, row);
        THintInfo hi;
        hi.HintControl = Grid;
        hi.CursorPos = {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        hi.HideTimeout = 100;
        Grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&hi));
        return hi;
    };
    THintInfo cut = hint(3, 2);
    EXPECT_EQ(cut.HintStr, "row2");
    EXPECT_EQ(cut.HideTimeout, 1000);  // 250 ms per character
    THintInfo fits = hint(1, 2);       // "2" fits in its column
    EXPECT_EQ(fits.HintStr, "");
    Grid->SetShowTitleHint(true);
    EXPECT_EQ(hint(2, 0).HintStr, "Saros");
}

TEST(UxDBGridPaint, GlyphByTypeTable)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* data = new db::TMemDataSet(form.get());
    data->AddFieldDef("Flag", db::TFieldType::ftBoolean);
    data->AddFieldDef("Txt", db::TFieldType::ftString, 4);
    data->AddFieldDef("Num", db::TFieldType::ftInteger);
    data->AddFieldDef("Real", db::TFieldType::ftFloat);
    data->AppendRecord({int64_t(1), std::string("Y"), int64_t(5), 1.5L});
    data->AppendRecord({int64_t(0), std::string("N"), int64_t(0), 2.5L});
    data->AppendRecord({std::monostate(), std::monostate(), std::monostate(), 3.5L});
    data->Open();
    auto* source = new db::TDataSource(form.get());
    source->SetDataSet(data);
    auto* grid = new TUxDBGrid(form.get());
    grid->SetDataSource(source);
    using B = TUxDBGridBitmap;
    auto glyphs = [&] {
        std::vector<B> out;
        for (const char* f : {"Flag", "Txt", "Num", "Real"}) out.push_back(grid->GetGlyphIndex(data->FieldByName(f)));
        return out;
    };
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpChecked, B::gpNone, B::gpNone, B::gpNone}));
    grid->OnCheckIfBooleanField = [](TUxDBGrid*, db::TField* f, std::string& yes, std::string& no) {
        if (f->FieldName() == "Txt") {
            yes = "Y";
            no = "N";
        }
        return true;
    };
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpChecked, B::gpChecked, B::gpChecked, B::gpNone}));
    data->Next();
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpUnChecked, B::gpUnChecked, B::gpUnChecked, B::gpNone}));
    data->Next();  // nulls: no glyph
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpNone, B::gpNone, B::gpNone, B::gpNone}));
    data->First();
    grid->SetBooleanEditor(false);
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpNone, B::gpNone, B::gpNone, B::gpNone}));
    grid->SetBooleanEditor(true);
    grid->SetShowGlyphs(false);
    EXPECT_EQ(glyphs(), (std::vector<B>{B::gpNone, B::gpNone, B::gpNone, B::gpNone}));
    ASSERT_NE(GetDBGridBitmap(B::gpChecked), nullptr);
    EXPECT_EQ(GetDBGridBitmap(B::gpChecked)->Width(), 13);
}

// The binary, memo, picture, OLE and data-set types get their glyph whatever
// the value; memos only while ShowMemos is off; other types none.
TEST(UxDBGridPaint, GlyphOfBinaryAndSpecialTypes)
{
    using FT = db::TFieldType;
    using B = TUxDBGridBitmap;
    const std::vector<std::pair<FT, B>> table = {
        {FT::ftBytes, B::gpBlob},         {FT::ftVarBytes, B::gpBlob},     {FT::ftBlob, B::gpBlob},
        {FT::ftTypedBinary, B::gpBlob},   {FT::ftOraBlob, B::gpBlob},      {FT::ftOraClob, B::gpBlob},
        {FT::ftMemo, B::gpMemo},          {FT::ftFmtMemo, B::gpMemo},      {FT::ftWideMemo, B::gpMemo},
        {FT::ftGraphic, B::gpPicture},    {FT::ftParadoxOle, B::gpOle},    {FT::ftDBaseOle, B::gpOle},
        {FT::ftCursor, B::gpData},        {FT::ftReference, B::gpData},    {FT::ftDataSet, B::gpData},
        {FT::ftFloat, B::gpNone},         {FT::ftDateTime, B::gpNone},     {FT::ftADT, B::gpNone},
        {FT::ftFixedWideChar, B::gpNone}, {FT::ftExtended, B::gpNone}};
    auto form = std::make_unique<TForm>(nullptr);
    auto* data = new db::TMemDataSet(form.get());
    for (std::size_t i = 0; i < table.size(); ++i) data->AddFieldDef("F" + std::to_string(i), table[i].first);
    data->AppendRecord(std::vector<db::TFieldValue>(table.size(), std::monostate()));
    data->Open();
    auto* source = new db::TDataSource(form.get());
    source->SetDataSet(data);
    auto* grid = new TUxDBGrid(form.get());
    grid->SetDataSource(source);
    // Any text counts as Boolean for the owner: the byte types stay BLOB.
    grid->OnCheckIfBooleanField = [](TUxDBGrid*, db::TField*, std::string&, std::string&) { return true; };
    grid->SetShowMemos(false);
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(grid->GetGlyphIndex(data->Fields(static_cast<int>(i))), table[i].second) << "field " << i;
    grid->SetShowMemos(true);
    for (int i : {6, 7, 8}) EXPECT_EQ(grid->GetGlyphIndex(data->Fields(i)), B::gpNone);
    grid->SetShowGlyphs(false);
    EXPECT_EQ(grid->GetGlyphIndex(data->Fields(0)), B::gpNone);
}

TEST_F(GridFixture, GlyphsAndSortMarkersOnTheImage)
{
    Form->Show();
    Grid->SetSortWith(TSortWith::swFields);
    Grid->DoTitleClick(0, F("CatNo"));
    TRect title = Grid->CellRect(1, 0);
    auto markerPixels = [&] {
        auto img = Grid->GetImage();
        int dark = 0;
        for (int y = title.Top; y < title.Bottom; ++y)
            for (int x = title.Right - 12; x < title.Right - 2; ++x)
                if (img->Canvas()->Pixels(x, y) == RGB(64, 64, 64)) ++dark;
        return dark;
    };
    EXPECT_EQ(markerPixels(), 0);  // title buttons off: no marker
    Grid->SetTitleButtons(true);
    EXPECT_EQ(markerPixels(), 16);  // the 7-5-3-1 triangle
    // Left for a person to look at: markers and alternate rows.
    Grid->SetAlternateRowColor(0xE1E1E1);
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    Grid->GetImage()->SaveToFile((shots / "dbgrids-sortgrid.bmp").string());
    EXPECT_EQ(Grid->SortMarker(), TSortMarker::smUp);  // set by the painting of the sorted column
}

TEST(UxDBSortGridSQLite, SortsTheCatalogueQueryByCheckedFieldNames)
{
    const std::string file = std::string(TEC_RUNTIME_DIR) + "/be.db";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no catalogue at " << file;
    auto form = std::make_unique<TForm>(nullptr);
    auto* query = new db::TSQLiteQuery(form.get());
    query->SetDatabaseFile(file);
    query->SQL().Add("select CatNo, Saros, Gamma from BE_SE where Saros = 139");
    query->Open();
    auto* source = new db::TDataSource(form.get());
    source->SetDataSet(query);
    auto* grid = new TUxDBSortGrid(form.get());
    grid->SetDataSource(source);
    grid->SetSortWith(TSortWith::swFields);
    grid->Sort({{"Gamma", false}});
    EXPECT_TRUE(grid->SortOK());
    double previous = 2;
    for (query->First(); !query->Eof(); query->Next()) {
        double g = static_cast<double>(query->FieldByName("Gamma")->AsFloat());
        EXPECT_LE(g, previous);
        previous = g;
    }
    // A name that is no field never reaches SQL: the data set refuses it.
    EXPECT_ANY_THROW(grid->Sort({{"Gamma]; drop table BE_SE; --", true}}));
    EXPECT_FALSE(grid->SortOK());
    EXPECT_EQ(grid->SortedFields(), (TSortFields{{"Gamma", false}}));
}

TEST_F(GridFixture, TitleButtonsArePressedTrackedAndSortOnRelease)
{
    Form->Show();
    Grid->SetSortWith(TSortWith::swFields);
    int beeps = 0;
    SetMessageBeepHandler([&](uint32_t) { ++beeps; });
    TRect title = Grid->CellRect(1, 0), other = Grid->CellRect(2, 0), cell = Grid->CellRect(1, 2);
    auto mid = [](const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; };
    auto press = [&](TPoint p, TMouseButton b = TMouseButton::mbLeft) { Grid->MouseDown(b, {}, p.X, p.Y); };
    auto release = [&](TPoint p, TMouseButton b = TMouseButton::mbLeft) { Grid->MouseUp(b, {}, p.X, p.Y); };

    // Off: a press on a title never tracks nor sorts.
    press(mid(title));
    EXPECT_FALSE(Grid->TitlePressed());
    release(mid(title));
    EXPECT_TRUE(Grid->SortedFields().empty());

    Grid->SetTitleButtons(true);
    press(mid(title));
    EXPECT_TRUE(Grid->TitlePressed());
    Grid->MouseMove({}, mid(other).X, mid(other).Y);  // off the button: released look
    EXPECT_FALSE(Grid->TitlePressed());
    release(mid(other));  // released elsewhere: no sort
    EXPECT_TRUE(Grid->SortedFields().empty());
    press(mid(title));
    Grid->MouseMove({}, mid(other).X, mid(other).Y);
    Grid->MouseMove({}, mid(title).X, mid(title).Y);
    EXPECT_TRUE(Grid->TitlePressed());
    release(mid(title));
    EXPECT_FALSE(Grid->TitlePressed());
    ASSERT_EQ(Grid->SortedFields().size(), 1u);
    EXPECT_EQ(Grid->SortedFields()[0].Name, "CatNo");
    EXPECT_EQ(Data->IndexFieldNames(), "[CatNo] ASC");
    // A refused button beeps and does not track.
    Grid->OnCheckButton = [](rtl::TObject*, int, db::TField* f, bool& enabled) { enabled = f->FieldName() != "Saros"; };
    press(mid(other));
    EXPECT_FALSE(Grid->TitlePressed());
    EXPECT_EQ(Grid->PressedColumn(), nullptr);
    EXPECT_EQ(beeps, 1);
    release(mid(other));
    EXPECT_EQ(Grid->SortedFields()[0].Name, "CatNo");
    // A data cell press is no title press.
    press(mid(cell));
    EXPECT_FALSE(Grid->TitlePressed());
    release(mid(cell));
    SetMessageBeepHandler(nullptr);
}

TEST_F(GridFixture, TitleArrowGlyphAndMenu)
{
    Form->Show();
    // The glyph changes the corner cell, whatever look its background has.
    TRect corner = Grid->CellRect(0, 0);
    auto plain = Grid->GetImage();
    Grid->SetTitleArrow(true);
    auto arrow = Grid->GetImage();
    int changed = 0;
    for (int y = corner.Top + 2; y < corner.Bottom - 2; ++y)
        for (int x = corner.Left + 2; x < corner.Right - 2; ++x)
            if (arrow->Canvas()->Pixels(x, y) != plain->Canvas()->Pixels(x, y)) ++changed;
    EXPECT_GT(changed, 0);
    int menus = 0;
    Grid->OnTitleArrowMenuEvent = [&](rtl::TObject*) { ++menus; };
    TRect t = Grid->CellRect(2, 0);
    Grid->MouseDown(TMouseButton::mbRight, {}, t.Left + 3, t.Top + 3);
    EXPECT_EQ(menus, 1);
    Grid->SetTitleArrow(false);
    Grid->MouseDown(TMouseButton::mbRight, {}, t.Left + 3, t.Top + 3);
    EXPECT_EQ(menus, 1);
}

// Title and indicator cells in the desktop's header theme: drawn as header
// items only with UseXPThemes and an active style, hot under the mouse,
// pressed while a sorting title button is held, and the current record's
// arrow in the indicator.
TEST_F(GridFixture, ThemedHeadersFollowTheStyleTheMouseAndThePress)
{
    Form->Show();
    auto cellPixels = [&](int col, int row) {
        auto img = Grid->GetImage();
        const TRect r = Grid->CellRect(col, row);
        std::vector<TColor> px;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x) px.push_back(img->Canvas()->Pixels(x, y));
        return px;
    };
    ResetThemeService();
    ASSERT_TRUE(Grid->ThemesInUse());
    const auto themed = cellPixels(2, 0);
    Grid->SetUseXPThemes(false);
    EXPECT_FALSE(Grid->ThemesInUse());
    const auto plain = cellPixels(2, 0);
    EXPECT_NE(themed, plain);
    Grid->SetUseXPThemes(true);
    SetThemeActive(false);
    EXPECT_FALSE(Grid->ThemesInUse());
    EXPECT_EQ(cellPixels(2, 0), plain);
    SetThemeActive(true);
    EXPECT_EQ(cellPixels(2, 0), themed);

    // The column under the mouse is followed over titles only.
    const TRect title = Grid->CellRect(2, 0), data = Grid->CellRect(2, 3);
    Grid->MouseMove({}, title.Left + 5, title.Top + 3);
    EXPECT_EQ(Grid->MouseColumn(), 2);
    Grid->MouseMove({}, data.Left + 5, data.Top + 3);
    EXPECT_EQ(Grid->MouseColumn(), -1);
    Grid->MouseMove({}, title.Left + 5, title.Top + 3);
    Grid->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Grid->MouseColumn(), -1);

    // A held sorting title button is drawn pressed.
    Grid->SetTitleButtons(true);
    const auto released = cellPixels(2, 0);
    Grid->MouseDown(TMouseButton::mbLeft, {}, title.Left + 5, title.Top + 3);
    ASSERT_TRUE(Grid->TitlePressed());
    EXPECT_NE(cellPixels(2, 0), released);
    Grid->MouseUp(TMouseButton::mbLeft, {}, data.Left + 5, data.Top + 3);  // released away: no sort

    // The indicator shows the current record's arrow in black.
    TDBGridOptions withIndicator = Grid->Options();
    withIndicator.Include(O::dgIndicator);
    Grid->SetOptions(withIndicator);
    Data->First();
    auto img = Grid->GetImage();
    const TRect ind = Grid->CellRect(0, 1);
    int black = 0;
    for (int y = ind.Top + 3; y < ind.Top + 12; ++y)
        for (int x = ind.Left + 3; x < ind.Left + 8; ++x)
            if (img->Canvas()->Pixels(x, y) == 0x000000) ++black;
    EXPECT_GT(black, 5);
    ResetThemeService();
}
