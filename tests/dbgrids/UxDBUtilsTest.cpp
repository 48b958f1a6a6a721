// The data-access services of the data-aware controls: locating by key
// text, the guarded bookmark jump, and a data set's field layout kept in a
// storage.
#include <gtest/gtest.h>

#include <memory>

#include "dbgrids/UxDBUtils.h"
#include "dbgrids/UxMemAppStorage.h"
#include "platform/db/DataSet.h"

using namespace dbgrids;

namespace {

std::unique_ptr<db::TMemDataSet> MakeRows()
{
    auto ds = std::make_unique<db::TMemDataSet>();
    ds->SetName("Rows");
    ds->AddFieldDef("CatNo", db::TFieldType::ftInteger);
    ds->AddFieldDef("DT", db::TFieldType::ftString, 12);
    ds->AddFieldDef("Type", db::TFieldType::ftString, 2);
    ds->AppendRecord({int64_t(10), std::string("2024 Apr 08"), std::string("T")});
    ds->AppendRecord({int64_t(20), std::string("2024 Oct 02"), std::string("a")});
    ds->AppendRecord({int64_t(30), std::string("2025 Mar 29"), std::string("P")});
    ds->AppendRecord({int64_t(40), std::string("2026 Aug 12"), std::string("T")});
    return ds;
}

} // namespace

TEST(UxLocate, TableOfSearches)
{
    auto ds = MakeRows();
    ds->AddCalcField("Label", db::TFieldType::ftString, 20);
    ds->OnCalcFields = [&](rtl::TObject*) {
        ds->FieldByName("Label")->SetAsString("No" + ds->FieldByName("CatNo")->AsString());
    };
    ds->Open();
    auto finder = CreateLocate(ds.get());
    ASSERT_EQ(finder->DataSet(), ds.get());
    struct Case {
        const char* field;
        const char* value;
        bool exact, caseSensitive;
        int startRec;
        bool found;
        int endRec;
    } cases[] = {
        {"DT", "2024 apr", false, false, 1, true, 1},   // current record matches: no move
        {"DT", "2025", false, false, 1, true, 3},
        {"DT", "2025", true, false, 1, false, 1},      // whole value needed
        {"Type", "A", true, true, 1, false, 1},        // case counts
        {"Type", "A", true, false, 1, true, 2},
        {"Label", "no3", false, false, 1, true, 3},    // calculated: full scan, prefix, no case
        {"Label", "no3", false, true, 2, false, 2},
        {"CatNo", "40", false, false, 1, true, 4},     // a number: by value
        {"CatNo", "4", false, false, 1, false, 1},     // (no prefix for numbers)
        {"DT", "1999", false, false, 3, false, 3},     // not found: record unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.value);
        ds->SetRecNo(c.startRec);
        EXPECT_EQ(finder->Locate(c.field, c.value, c.exact, c.caseSensitive, true, false), c.found);
        EXPECT_EQ(ds->RecNo(), c.endRec);
        EXPECT_FALSE(ds->ControlsDisabled());
    }
    // Right-trimmed lookups drop trailing blanks.
    ds->First();
    EXPECT_FALSE(finder->Locate("Type", "P  ", true, true, false, false));
    EXPECT_TRUE(finder->Locate("Type", "P  ", true, true, false, true));
    EXPECT_THROW(finder->Locate("Nope", "x", true, true, false, false), db::EDatabaseError);

    // A descendant refusing the key type gives false without raising.
    struct TStrict : TUxLocateObject {
        void CheckFieldType(db::TField*) override { RaiseDatabaseError("not a text field"); }
    } strict;
    strict.SetDataSet(ds.get());
    EXPECT_FALSE(strict.Locate("CatNo", "10", true, true, false, false));
    EXPECT_TRUE(strict.Locate("DT", "2026", false, false, false, false));
    TUxLocateObject none;
    EXPECT_FALSE(none.Locate("DT", "2024", false, false, false, false));
}

TEST(UxLocate, BookmarksAndEmptiness)
{
    auto ds = MakeRows();
    EXPECT_TRUE(IsDataSetEmpty(ds.get()));  // closed
    ds->Open();
    EXPECT_FALSE(IsDataSetEmpty(ds.get()));
    ds->Last();
    db::TBookmark mark = ds->GetBookmark();
    ds->First();
    EXPECT_FALSE(TryGotoBookmark(ds.get(), {}));
    EXPECT_TRUE(TryGotoBookmark(ds.get(), mark));
    EXPECT_EQ(ds->RecNo(), 4);
    ds->Delete();
    EXPECT_FALSE(TryGotoBookmark(ds.get(), mark));  // its record is gone
    auto other = MakeRows();
    other->Open();
    EXPECT_FALSE(TryGotoBookmark(other.get(), ds->GetBookmark()));  // foreign
    ds->ClearRecords();
    EXPECT_TRUE(IsDataSetEmpty(ds.get()));
    EXPECT_FALSE(TryGotoBookmark(ds.get(), mark));
    EXPECT_THROW(RaiseDatabaseError("bad"), db::EDatabaseError);
}

TEST(UxFieldsLayout, SaveThenRestore)
{
    TUxMemAppStorage storage(nullptr);
    auto ds = MakeRows();
    ds->Open();
    ds->FieldByName("Type")->SetVisible(false);
    SaveFieldsLayout(ds.get(), &storage, "Grid");
    EXPECT_EQ(storage.ReadString("Grid\\RowsCatNo"), "0,11,1");
    EXPECT_EQ(storage.ReadString("Grid\\RowsType"), "2,2,0");

    // Reordered, narrowed and shown again: restoring brings back the
    // order and widths; without RestoreVisible the visibility stays.
    ds->FieldByName("Type")->SetIndex(0);
    ds->FieldByName("DT")->SetDisplayWidth(3);
    ds->FieldByName("Type")->SetVisible(true);
    RestoreFieldsLayout(ds.get(), &storage, "Grid", false);
    EXPECT_EQ(ds->FieldNames(), (std::vector<std::string>{"CatNo", "DT", "Type"}));
    EXPECT_EQ(ds->FieldByName("DT")->DisplayWidth(), 12);
    EXPECT_TRUE(ds->FieldByName("Type")->Visible());
    RestoreFieldsLayout(ds.get(), &storage, "Grid", true);
    EXPECT_FALSE(ds->FieldByName("Type")->Visible());

    // Words that are no numbers fall back to the field's current values;
    // a missing entry leaves the field alone.
    storage.WriteString("Grid\\RowsDT", "x,y,1");
    storage.WriteString("Grid\\RowsCatNo", "2,15");
    storage.DeleteValue("Grid\\RowsType");
    ds->FieldByName("DT")->SetDisplayWidth(7);
    RestoreFieldsLayout(ds.get(), &storage, "Grid", true);
    EXPECT_EQ(ds->FieldByName("DT")->DisplayWidth(), 7);
    EXPECT_EQ(ds->FieldByName("CatNo")->DisplayWidth(), 15);
    EXPECT_EQ(ds->FieldNames(), (std::vector<std::string>{"DT", "Type", "CatNo"}));

    // No path: the data set's section (its name without an owner form).
    SaveFieldsLayout(ds.get(), &storage, "");
    EXPECT_EQ(DataSetSection(ds.get()), "Rows");
    EXPECT_EQ(storage.ReadString("Rows\\RowsCatNo"), "2,15,1");
}
