// Editing the memory data set: Edit / Post / Cancel, Insert / Append /
// Delete, field conversion, calculated and lookup fields, and what data
// sources hear of it.
#include <gtest/gtest.h>

#include <memory>

#include "platform/db/DataSet.h"
#include "platform/rtl/Exceptions.h"

using namespace db;

namespace {

std::unique_ptr<TMemDataSet> MakeRows()
{
    auto ds = std::make_unique<TMemDataSet>();
    ds->SetName("Rows");
    ds->AddFieldDef("CatNo", TFieldType::ftInteger);
    ds->AddFieldDef("Name", TFieldType::ftString, 10);
    ds->AddFieldDef("Flag", TFieldType::ftBoolean);
    ds->AddFieldDef("Notes", TFieldType::ftMemo);
    ds->AppendRecord({int64_t(3), std::string("c"), int64_t(1), {}});
    ds->AppendRecord({int64_t(1), std::string("a"), int64_t(0), {}});
    ds->AppendRecord({int64_t(2), std::string("b"), int64_t(0), {}});
    return ds;
}

std::vector<int> CatNos(TDataSet& ds)
{
    std::vector<int> out;
    TBookmark keep = ds.GetBookmark();
    for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName("CatNo")->AsInteger());
    if (!keep.empty()) ds.GotoBookmark(keep);
    return out;
}

} // namespace

TEST(DataSetEdit, EditPostAndCancel)
{
    auto ds = MakeRows();
    ds->Open();
    TField* name = ds->FieldByName("Name");
    EXPECT_THROW(name->SetAsString("x"), EDatabaseError);  // browsing
    ds->Edit();
    EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
    name->SetAsString("changed");
    EXPECT_TRUE(ds->Modified());
    EXPECT_EQ(name->AsString(), "changed");
    ds->Cancel();
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(name->AsString(), "c");
    ds->Edit();
    name->SetAsString("kept");
    ds->Post();
    EXPECT_EQ(name->AsString(), "kept");
    // Moving away posts a pending edit.
    ds->Edit();
    name->SetAsString("moved");
    ds->Next();
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
    ds->First();
    EXPECT_EQ(name->AsString(), "moved");
}

TEST(DataSetEdit, ReadOnlyDataAndFieldsRefuse)
{
    auto ds = MakeRows();
    ds->SetReadOnly(true);
    ds->Open();
    EXPECT_FALSE(ds->CanModify());
    EXPECT_THROW(ds->Edit(), EDatabaseError);
    EXPECT_THROW(ds->Append(), EDatabaseError);
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    EXPECT_EQ(ds->RecordCount(), 3);
    ds->Close();
    ds->SetReadOnly(false);
    ds->Open();
    ds->FieldByName("Name")->SetReadOnly(true);
    EXPECT_FALSE(ds->FieldByName("Name")->CanModify());
    ds->Edit();
    EXPECT_THROW(ds->FieldByName("Name")->SetAsString("x"), EDatabaseError);
}

TEST(DataSetEdit, ValuesAreConvertedToTheFieldType)
{
    auto ds = MakeRows();
    ds->Open();
    ds->Edit();
    TField* no = ds->FieldByName("CatNo");
    no->SetAsString(" 42 ");
    EXPECT_EQ(no->Value(), TFieldValue(int64_t(42)));
    no->SetAsString("");
    EXPECT_TRUE(no->IsNull());
    EXPECT_THROW(no->SetAsString("abc"), rtl::EConvertError);
    no->SetAsFloat(2.5L);  // ties to even
    EXPECT_EQ(no->AsInteger(), 2);
    ds->FieldByName("Flag")->SetAsString("True");
    EXPECT_EQ(ds->FieldByName("Flag")->Value(), TFieldValue(int64_t(1)));
    ds->FieldByName("Name")->SetAsInteger(7);
    EXPECT_EQ(ds->FieldByName("Name")->Value(), TFieldValue(std::string("7")));
    std::string longText(5000, 'm');
    ds->FieldByName("Notes")->SetAsString(longText);
    ds->Post();
    EXPECT_EQ(ds->FieldByName("Notes")->AsString(), longText);
    EXPECT_TRUE(ds->FieldByName("Notes")->IsBlob());
    EXPECT_FALSE(ds->FieldByName("Name")->IsBlob());
}

TEST(DataSetEdit, InsertAppendAndDelete)
{
    auto ds = MakeRows();
    ds->Open();
    ds->Next();  // on 1
    ds->Insert();
    EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
    EXPECT_EQ(ds->RecordCount(), 4);
    EXPECT_EQ(ds->RecNo(), 2);
    ds->FieldByName("CatNo")->SetAsInteger(9);
    ds->Post();
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 9, 1, 2}));
    // A new sort and a record added later keep the inserted place.
    ds->AppendRecord({int64_t(7), std::string("g"), int64_t(0), {}});
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 9, 1, 2, 7}));

    // An appended record nobody filled is dropped when the cursor moves.
    ds->Append();
    EXPECT_EQ(ds->RecNo(), 6);
    EXPECT_TRUE(ds->Eof());
    ds->First();
    EXPECT_EQ(ds->RecordCount(), 5);

    // Delete removes the current record; bookmarks of others stay valid.
    ds->Last();
    TBookmark last = ds->GetBookmark();
    ds->First();
    ds->Delete();
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{9, 1, 2, 7}));
    EXPECT_EQ(ds->RecNo(), 1);
    ds->GotoBookmark(last);
    EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), 7);
    // Deleting an inserted record cancels it.
    ds->Insert();
    ds->Delete();
    EXPECT_EQ(ds->RecordCount(), 4);
    // Empty data set: Delete raises, Edit appends.
    while (!ds->IsEmpty()) ds->Delete();
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    ds->Edit();
    EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
}

TEST(DataSetEdit, PostInSortedDataSetFollowsTheRecord)
{
    auto ds = MakeRows();
    ds->SetSort("CatNo");
    ds->Open();
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{1, 2, 3}));
    ds->First();
    ds->Edit();
    ds->FieldByName("CatNo")->SetAsInteger(10);
    ds->Post();
    EXPECT_EQ(ds->RecNo(), 3);
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), "a");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{2, 3, 10}));
}

TEST(DataSetEdit, EventsAndSourcesHearOfEditing)
{
    auto ds = MakeRows();
    std::vector<std::string> log;
    ds->BeforePost = [&](rtl::TObject*) { log.push_back("BeforePost"); };
    ds->AfterPost = [&](rtl::TObject*) { log.push_back("AfterPost"); };
    ds->OnNewRecord = [&](rtl::TObject*) {
        log.push_back("NewRecord");
        ds->FieldByName("Name")->SetAsString("new");
    };
    TDataSource src;
    src.SetDataSet(ds.get());
    int stateChanges = 0, fieldChanges = 0;
    src.OnStateChange = [&](rtl::TObject*) { ++stateChanges; };
    src.OnDataChange = [&](rtl::TObject*, TField* f) { if (f) ++fieldChanges; };
    ds->Open();
    stateChanges = 0;
    ds->Append();
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), "new");
    ds->FieldByName("CatNo")->SetAsInteger(4);
    ds->Post();
    EXPECT_EQ(log, (std::vector<std::string>{"NewRecord", "BeforePost", "AfterPost"}));
    EXPECT_EQ(stateChanges, 2);
    EXPECT_EQ(fieldChanges, 2);
    // A refusing BeforePost keeps the edit and its values.
    ds->BeforePost = [](rtl::TObject*) { throw EDatabaseError("no"); };
    ds->Edit();
    ds->FieldByName("Name")->SetAsString("pending");
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), "pending");
    ds->Cancel();
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), "new");
}

TEST(DataSetEdit, CalculatedAndLookupFields)
{
    TMemDataSet types;
    types.AddFieldDef("Code", TFieldType::ftString, 1);
    types.AddFieldDef("Text", TFieldType::ftString, 10);
    types.AppendRecord({std::string("a"), std::string("annular")});
    types.AppendRecord({std::string("b"), std::string("total")});
    types.Open();

    auto ds = MakeRows();
    ds->AddCalcField("Twice", TFieldType::ftInteger);
    ds->AddLookupField("TypeText", TFieldType::ftString, 10, "Name", &types, "Code", "Text");
    ds->OnCalcFields = [&](rtl::TObject*) {
        ds->FieldByName("Twice")->SetAsInteger(ds->FieldByName("CatNo")->AsInteger() * 2);
    };
    ds->Open();
    TField* twice = ds->FieldByName("Twice");
    TField* text = ds->FieldByName("TypeText");
    EXPECT_EQ(twice->FieldKind(), TFieldKind::fkCalculated);
    EXPECT_EQ(text->FieldKind(), TFieldKind::fkLookup);
    EXPECT_EQ(ds->FieldByName("CatNo")->FieldKind(), TFieldKind::fkData);
    EXPECT_FALSE(twice->CanModify());
    EXPECT_EQ(twice->AsInteger(), 6);
    EXPECT_TRUE(text->IsNull());  // "c" has no type
    ds->Next();
    EXPECT_EQ(twice->AsInteger(), 2);
    EXPECT_EQ(text->AsString(), "annular");
    // The edit buffer feeds the calculation; outside OnCalcFields the
    // calculated field cannot be written.
    ds->Edit();
    ds->FieldByName("Name")->SetAsString("b");
    ds->FieldByName("CatNo")->SetAsInteger(8);
    EXPECT_EQ(text->AsString(), "total");
    EXPECT_EQ(twice->AsInteger(), 16);
    EXPECT_THROW(twice->SetAsInteger(1), EDatabaseError);
    ds->Post();
    // Locate works on calculated fields.
    EXPECT_TRUE(ds->Locate("Twice", int64_t(4)));
    EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), 2);
    EXPECT_EQ(types.Lookup("Code", {std::string("b")}, "Text"), TFieldValue(std::string("total")));
    EXPECT_EQ(types.Lookup("Code", {std::string("B")}, "Text"), TFieldValue{});

    TMemDataSet bad;
    bad.AddFieldDef("A", TFieldType::ftInteger);
    bad.AddLookupField("L", TFieldType::ftString, 5, "Missing", &types, "Code", "Text");
    EXPECT_THROW(bad.Open(), EDatabaseError);
    EXPECT_FALSE(bad.Active());
    EXPECT_THROW(bad.AddLookupField("M", TFieldType::ftString, 5, "A", &bad, "A", "A"), EDatabaseError);
}

TEST(DataSetEdit, DataLinkEditPutsTheDataSetIntoEditing)
{
    auto ds = MakeRows();
    TDataSource src;
    src.SetDataSet(ds.get());
    TDataLink link;
    link.SetDataSource(&src);
    ds->Open();
    EXPECT_TRUE(link.Edit());
    EXPECT_TRUE(link.Editing());
    ds->Cancel();
    link.SetReadOnly(true);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST(DataSetEdit, FilterShowsOnlyAcceptedRecords)
{
    auto ds = MakeRows();
    ds->AppendRecord({int64_t(4), std::string("d"), int64_t(1), {}});
    ds->OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("Flag")->AsBoolean(); };
    ds->SetFiltered(true);
    ds->Open();
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 4}));
    ds->SetSort("CatNo DESC");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{4, 3}));
    // A posted record that no longer passes leaves the view.
    ds->First();
    ds->Edit();
    ds->FieldByName("Flag")->SetAsBoolean(false);
    ds->Post();
    ds->Refilter();
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3}));
    ds->SetFiltered(false);
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_TRUE(ds->Locate("CatNo", int64_t(1)));
}

TEST(DataSetEdit, DateTimeWideGraphicFieldsAndSetText)
{
    TMemDataSet ds;
    ds.AddFieldDef("Day", TFieldType::ftDate);
    ds.AddFieldDef("At", TFieldType::ftTime);
    ds.AddFieldDef("Stamp", TFieldType::ftDateTime);
    ds.AddFieldDef("Wide", TFieldType::ftWideString, 20);
    ds.AddFieldDef("Pic", TFieldType::ftGraphic);
    ds.AppendRecord({{}, {}, {}, {}, {}});
    ds.Open();
    ds.Edit();
    // ISO texts are read year first; 1899-12-30 is day 0.
    struct Case {
        const char* Field;
        const char* Text;
        long double Days;
    };
    const Case cases[] = {
        {"Day", "1900-01-01", 2.0L},
        {"Day", "2000-03-01", 36586.0L},
        {"At", "18:00", 0.75L},
        {"At", "06:00:00", 0.25L},
        {"Stamp", "2000-03-01 12:00", 36586.5L},
    };
    for (const Case& c : cases) {
        ds.FieldByName(c.Field)->SetText(c.Text);
        EXPECT_NEAR(static_cast<double>(ds.FieldByName(c.Field)->AsFloat()), static_cast<double>(c.Days), 1e-9)
            << c.Text;
    }
    // The shown text reads back to the same value.
    const std::string shown = ds.FieldByName("Day")->DisplayText();
    ds.FieldByName("Day")->SetText(shown);
    EXPECT_EQ(ds.FieldByName("Day")->AsFloat(), 36586.0L) << shown;
    for (const char* bad : {"2000-02-30", "tomorrow", "25:00"}) {
        const char* field = std::string(bad) == "25:00" ? "At" : "Day";
        EXPECT_THROW(ds.FieldByName(field)->SetText(bad), rtl::EConvertError) << bad;
    }
    ds.FieldByName("Day")->SetText("");
    EXPECT_TRUE(ds.FieldByName("Day")->IsNull());
    // OnSetText takes the text instead.
    ds.FieldByName("Wide")->OnSetText = [](TField* f, const std::string& t) { f->SetAsString(t + "!"); };
    ds.FieldByName("Wide")->SetText("\xCE\xB4");
    EXPECT_EQ(ds.FieldByName("Wide")->AsString(), "\xCE\xB4!");
    ds.FieldByName("Pic")->SetAsString(std::string("BM\0\x01", 4));
    EXPECT_TRUE(ds.FieldByName("Pic")->IsBlob());
    rtl::TMemoryStream ms;
    ds.FieldByName("Pic")->SaveToStream(ms);
    EXPECT_EQ(ms.Size(), 4);
    ds.Post();
}

TEST(DataSetEdit, RefreshEndsTheEditAndTellsTheSources)
{
    auto ds = MakeRows();
    ds->Open();
    TDataSource src;
    src.SetDataSet(ds.get());
    int changes = 0;
    src.OnDataChange = [&](rtl::TObject*, TField* f) {
        if (!f) ++changes;
    };
    ds->SetRecNo(2);
    ds->Edit();
    ds->FieldByName("Name")->SetAsString("z");
    changes = 0;
    ds->Refresh();
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), "z") << "the pending edit was posted";
    EXPECT_GE(changes, 1);
    ds->Insert();
    ds->Refresh();
    EXPECT_EQ(ds->RecordCount(), 3) << "an untouched insert is dropped";
}

TEST(DataSetEdit, UnsequencedDataSetHasNoRecordNumbers)
{
    auto ds = MakeRows();
    ds->SetSequenced(false);
    EXPECT_EQ(ds->RecNo(), 0) << "closed";
    ds->Open();
    EXPECT_FALSE(ds->IsSequenced());
    EXPECT_EQ(ds->RecNo(), -1);
    ds->Next();
    EXPECT_EQ(ds->RecNo(), -1);
    EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), 1) << "the cursor still moves";
}
