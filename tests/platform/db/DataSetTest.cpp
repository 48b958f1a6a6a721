// The in-memory data set: cursor, fields, Locate, client sort and the data
// source's change reports.
#include <gtest/gtest.h>

#include <memory>

#include "platform/db/DataSet.h"

using namespace db;

namespace {

// Five catalogue-like rows in stored order (not sorted by CatNo), one with
// empty (null) values.
std::unique_ptr<TMemDataSet> MakeRows()
{
    auto ds = std::make_unique<TMemDataSet>();
    ds->AddFieldDef("CatNo", TFieldType::ftInteger);
    ds->AddFieldDef("DT", TFieldType::ftString, 12);
    ds->AddFieldDef("Type", TFieldType::ftString, 1);
    ds->AddFieldDef("Gamma", TFieldType::ftFloat);
    ds->AppendRecord({int64_t(3), std::string("2024 Apr 08"), std::string("T"), 0.3431L});
    ds->AppendRecord({int64_t(1), std::string("-0585 May 28"), std::string("T"), -0.2704L});
    ds->AppendRecord({int64_t(5), std::string("2024 Oct 02"), std::string("A"), -0.3509L});
    ds->AppendRecord({int64_t(2), std::string("0033 Apr 03"), std::string("p"), {}});
    ds->AppendRecord({int64_t(4), std::string("2025 Mar 29"), std::string("P"), 1.0405L});
    return ds;
}

std::vector<int> CatNos(TDataSet& ds)
{
    std::vector<int> out;
    for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName("CatNo")->AsInteger());
    return out;
}

} // namespace

TEST(MemDataSet, NavigationKeepsBofEofAndRecNo)
{
    auto ds = MakeRows();
    ds->Open();
    EXPECT_TRUE(ds->Bof());
    EXPECT_FALSE(ds->Eof());
    EXPECT_EQ(ds->RecNo(), 1);
    EXPECT_EQ(ds->RecordCount(), 5);
    ds->Next();
    EXPECT_FALSE(ds->Bof());
    EXPECT_EQ(ds->RecNo(), 2);
    ds->Last();
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(ds->RecNo(), 5);
    ds->Next();   // past the end: stays on the last record
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(ds->RecNo(), 5);
    ds->Prior();
    EXPECT_FALSE(ds->Eof());
    EXPECT_EQ(ds->RecNo(), 4);
    EXPECT_EQ(ds->MoveBy(-10), -3);
    EXPECT_TRUE(ds->Bof());
    EXPECT_EQ(ds->MoveBy(2), 2);
    EXPECT_EQ(ds->RecNo(), 3);
    ds->SetRecNo(5);
    EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), 4);
    ds->SetRecNo(99);   // ignored
    EXPECT_EQ(ds->RecNo(), 5);
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 1, 5, 2, 4}));
}

TEST(MemDataSet, EmptySetReadsZeroAndClosedSetRefuses)
{
    TMemDataSet ds;
    ds.SetName("Empty");
    ds.AddFieldDef("Magnitude", TFieldType::ftFloat);
    ds.AddFieldDef("DT", TFieldType::ftString, 12);
    EXPECT_THROW(ds.First(), EDatabaseError);
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.Open();
    EXPECT_TRUE(ds.Bof());
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_EQ(ds.RecNo(), 0);
    // A row without data: every number zero, texts empty.
    EXPECT_EQ(ds.FieldByName("Magnitude")->AsFloat(), 0.0L);
    EXPECT_EQ(ds.FieldByName("Magnitude")->AsInteger(), 0);
    EXPECT_EQ(ds.FieldByName("DT")->AsString(), "");
    EXPECT_TRUE(ds.FieldByName("DT")->IsNull());
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_FALSE(ds.Locate("DT", std::string("2024")));
    ds.Close();
    try {
        ds.Next();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Empty: Cannot perform this operation on a closed dataset");
    }
}

TEST(MemDataSet, FieldConversions)
{
    TMemDataSet ds;
    ds.AddFieldDef("A", TFieldType::ftFloat);
    ds.AddFieldDef("B", TFieldType::ftString);
    ds.AddFieldDef("C", TFieldType::ftInteger);
    ds.AppendRecord({2.5L, std::string(" 12.25 "), int64_t(-7)});
    ds.AppendRecord({3.5L, std::string(""), {}});
    ds.AppendRecord({-0.5L, std::string("abc"), int64_t(1) << 40});
    ds.Open();
    TField* a = ds.FieldByName("a");   // names ignore case
    TField* b = ds.FieldByName("B");
    TField* c = ds.FieldByName("C");
    EXPECT_EQ(a->AsInteger(), 2);       // ties to even
    EXPECT_EQ(a->AsString(), "2.5");
    EXPECT_EQ(b->AsFloat(), 12.25L);
    EXPECT_EQ(c->AsFloat(), -7.0L);
    EXPECT_EQ(c->AsString(), "-7");
    EXPECT_TRUE(c->AsBoolean());
    ds.Next();
    EXPECT_EQ(a->AsInteger(), 4);
    EXPECT_EQ(b->AsFloat(), 0.0L);      // empty text reads 0
    EXPECT_EQ(c->AsInteger(), 0);       // null reads 0
    EXPECT_FALSE(c->AsBoolean());
    ds.Next();
    EXPECT_EQ(a->AsInteger(), 0);
    EXPECT_THROW(b->AsFloat(), rtl::EConvertError);
    EXPECT_THROW(c->AsInteger(), rtl::EConvertError);   // beyond 32 bits
    EXPECT_EQ(c->AsLargeInt(), int64_t(1) << 40);
}

TEST(MemDataSet, MissingFieldNamesTheField)
{
    auto ds = MakeRows();
    ds->SetName("SETable");
    ds->Open();
    EXPECT_EQ(ds->FindField("Saros"), nullptr);
    EXPECT_NE(ds->FindField("gamma"), nullptr);
    try {
        ds->FieldByName("Saros");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "SETable: Field 'Saros' not found");
    }
    EXPECT_EQ(ds->FieldCount(), 4);
    EXPECT_EQ(ds->Fields(1)->FieldName(), "DT");
    EXPECT_EQ(ds->Fields(1)->Size(), 12);
    EXPECT_THROW(ds->Fields(4), EDatabaseError);
}

TEST(MemDataSet, Locate)
{
    auto ds = MakeRows();
    ds->Open();
    const TLocateOptions none;
    const TLocateOptions partial{TLocateOption::loPartialKey};
    const TLocateOptions noCase{TLocateOption::loCaseInsensitive};
    struct Case {
        const char* fields;
        std::vector<TFieldValue> keys;
        TLocateOptions options;
        int expectedCatNo;   // 0: not found
    } cases[] = {
        {"CatNo", {int64_t(5)}, none, 5},
        {"CatNo", {std::string("2")}, none, 2},          // a key text is parsed
        {"CatNo", {2.0L}, none, 2},
        {"CatNo", {int64_t(9)}, none, 0},
        {"DT", {std::string("2024")}, none, 0},          // exact needs the whole text
        {"DT", {std::string("2024")}, partial, 3},       // first in current order
        {"DT", {std::string("-0585")}, partial, 1},
        {"DT", {std::string("0033 Apr 03")}, none, 2},
        {"Type", {std::string("P")}, none, 4},
        {"Type", {std::string("P")}, noCase, 2},
        {"Type;DT", {std::string("T"), std::string("-0585")}, partial, 1},
        {"Gamma", {TFieldValue{}}, none, 2},             // a null key finds the null value
        {"Gamma", {std::string("x")}, none, 0},
    };
    for (const Case& c : cases) {
        ds->Last();
        bool found = ds->Locate(c.fields, c.keys, c.options);
        SCOPED_TRACE(c.fields);
        EXPECT_EQ(found, c.expectedCatNo != 0);
        EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), found ? c.expectedCatNo : 4);
        if (found) {
            EXPECT_FALSE(ds->Eof());
        }
    }
    EXPECT_THROW(ds->Locate("Saros", int64_t(1)), EDatabaseError);
    EXPECT_THROW(ds->Locate("CatNo;DT", std::vector<TFieldValue>{int64_t(1)}), EDatabaseError);
}

TEST(MemDataSet, ClientSortKeepsTheCurrentRecord)
{
    auto ds = MakeRows();
    ds->Open();
    ds->Locate("CatNo", int64_t(5));
    ds->SetSort("CatNo");
    EXPECT_EQ(ds->FieldByName("CatNo")->AsInteger(), 5);
    EXPECT_EQ(ds->RecNo(), 5);
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{1, 2, 3, 4, 5}));
    ds->SetSort("Type,CatNo");   // binary text order: "A" < "P" < "T" < "p"
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{5, 4, 1, 3, 2}));
    ds->SetSort("Gamma DESC");   // nulls first ascending, so last descending
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{4, 3, 1, 5, 2}));
    EXPECT_THROW(ds->SetSort("Saros"), EDatabaseError);
    EXPECT_EQ(ds->Sort(), "Gamma DESC");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{4, 3, 1, 5, 2}));
    ds->SetSort("");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 1, 5, 2, 4}));
}

TEST(MemDataSet, DefinitionsAreChecked)
{
    TMemDataSet ds;
    ds.AddFieldDef("k", TFieldType::ftInteger);
    EXPECT_THROW(ds.AddFieldDef("K", TFieldType::ftInteger), EDatabaseError);
    EXPECT_THROW(ds.AppendRecord({int64_t(1), int64_t(2)}), EDatabaseError);
    ds.Open();
    EXPECT_THROW(ds.AddFieldDef("x", TFieldType::ftFloat), EDatabaseError);
    ds.AppendRecord({int64_t(7)});   // the first record becomes current
    EXPECT_EQ(ds.FieldByName("k")->AsInteger(), 7);
    EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(DataSource, ReportsChangesOfTheCurrentRow)
{
    auto ds = MakeRows();
    TDataSource source;
    int changes = 0, states = 0;
    source.OnDataChange = [&](rtl::TObject* sender, TField* field) {
        EXPECT_EQ(sender, &source);
        EXPECT_EQ(field, nullptr);
        ++changes;
    };
    source.OnStateChange = [&](rtl::TObject*) { ++states; };
    source.SetDataSet(ds.get());
    changes = states = 0;

    ds->Open();
    EXPECT_EQ(states, 1);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(source.State(), TDataSetState::dsBrowse);
    changes = 0;
    ds->Next();
    EXPECT_EQ(changes, 1);
    ds->First();
    EXPECT_EQ(changes, 2);
    ds->First();             // no move, no report
    ds->Prior();
    EXPECT_EQ(changes, 2);
    ds->Locate("CatNo", int64_t(4));
    EXPECT_EQ(changes, 3);
    ds->Locate("CatNo", int64_t(99));
    EXPECT_EQ(changes, 3);
    ds->SetSort("CatNo");    // the data changed as a whole
    EXPECT_EQ(changes, 4);

    source.SetEnabled(false);
    changes = 0;
    ds->Next();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(source.State(), TDataSetState::dsInactive);
    source.SetEnabled(true);
    EXPECT_EQ(changes, 1);

    ds->Close();
    EXPECT_EQ(states, 2);
    // A freed data set leaves the source without one.
    ds.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
}

TEST(DataSource, FreedSourceIsNoLongerCalled)
{
    auto ds = MakeRows();
    ds->Open();
    int calls = 0;
    {
        TDataSource source;
        source.OnDataChange = [&](rtl::TObject*, TField*) { ++calls; };
        source.SetDataSet(ds.get());
        calls = 0;
        ds->Next();
        EXPECT_EQ(calls, 1);
    }
    ds->Next();
    EXPECT_EQ(calls, 1);
    // Two sources on one data set both hear.
    TDataSource s1, s2;
    int a = 0, b = 0;
    s1.OnDataChange = [&](rtl::TObject*, TField*) { ++a; };
    s2.OnDataChange = [&](rtl::TObject*, TField*) { ++b; };
    s1.SetDataSet(ds.get());
    s2.SetDataSet(ds.get());
    a = b = 0;
    ds->First();
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
}

TEST(MemDataSet, IndexNameOrdersByTheDefinitionAndIsReachableByName)
{
    auto ds = MakeRows();
    ds->IndexDefs()->Add("ByType", "Type;CatNo", "CatNo");
    ds->IndexDefs()->Add("Down", "CatNo", "", {TIndexOption::ixDescending});
    ds->Open();
    ds->SetIndexName("bytype");
    EXPECT_EQ(ds->IndexName(), "ByType");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{5, 4, 3, 1, 2}));  // A, P, T T, p
    ASSERT_NE(rtl::GetPropInfo(ds.get(), "IndexName"), nullptr);
    rtl::SetPropValue(ds.get(), "IndexName", rtl::Variant(std::string("Down")));
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{5, 4, 3, 2, 1}));
    ASSERT_NE(rtl::GetPropInfo(ds.get(), "IndexDefs"), nullptr);
    // Sort clears the name; an unknown name keeps everything.
    ds->SetSort("CatNo");
    EXPECT_EQ(ds->IndexName(), "");
    EXPECT_THROW(ds->SetIndexName("Nope"), EDatabaseError);
    EXPECT_EQ(ds->Sort(), "CatNo");
    ds->SetIndexName("");
    EXPECT_EQ(CatNos(*ds), (std::vector<int>{3, 1, 5, 2, 4}));
}
