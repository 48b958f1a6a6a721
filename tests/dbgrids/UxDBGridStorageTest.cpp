// The data-aware grid's column layout in an application storage, and the
// property engine for its Columns collection.
#include <gtest/gtest.h>

#include <memory>

#include "dbgrids/UxAppStoragePropertyEngineDB.h"
#include "dbgrids/UxDBGrid.h"
#include "dbgrids/UxFormPlacement.h"
#include "dbgrids/UxMemAppStorage.h"
#include "dbgrids/UxUtils.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"

using namespace dbgrids;
using namespace gui;

namespace {

struct StoreFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    TUxDBGrid* Grid = nullptr;
    TUxMemAppStorage Storage{nullptr};

    void SetUp() override
    {
        Data = new db::TMemDataSet(Form.get());
        Data->SetName("Rows");
        Data->AddFieldDef("CatNo", db::TFieldType::ftInteger);
        Data->AddFieldDef("DT", db::TFieldType::ftString, 12);
        Data->AppendRecord({int64_t(1), std::string("2024 Apr 08")});
        Data->Open();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Data);
        Grid = new TUxDBGrid(Form.get());
        Grid->SetName("GridName");
        Grid->SetParent(Form.get());
        Grid->SetDataSource(source);
    }
    void Customize()
    {
        TColumn* a = Grid->Columns()->Add();
        a->SetFieldName("CatNo");
        a->SetWidth(42);
        TColumn* b = Grid->Columns()->Add();
        b->SetFieldName("DT");
        b->SetWidth(68);
    }
    std::vector<std::string> Order()
    {
        std::vector<std::string> out;
        for (int i = 0; i < Grid->Columns()->Count(); ++i) out.push_back(Grid->Columns()->Items(i)->FieldName());
        return out;
    }
};

} // namespace

TEST_F(StoreFixture, CustomizedColumnsSaveIndexAndWidthAndComeBack)
{
    Customize();
    ASSERT_EQ(Grid->Columns()->State(), TDBGridColumnsState::csCustomized);
    Storage.WriteString("Sec\\Stale", "x");
    Grid->SaveToAppStore(&Storage, "Sec");
    EXPECT_EQ(Storage.ReadString("Sec\\GridName.CatNo"), "0,42");
    EXPECT_EQ(Storage.ReadString("Sec\\GridName.DT"), "1,68");
    EXPECT_FALSE(Storage.ValueStored("Sec\\Stale"));  // the section is written anew

    Grid->Columns()->Items(1)->SetIndex(0);
    Grid->Columns()->Items(0)->SetWidth(10);
    Grid->LoadFromAppStore(&Storage, "Sec");
    EXPECT_EQ(Order(), (std::vector<std::string>{"CatNo", "DT"}));
    EXPECT_EQ(Grid->Columns()->Items(0)->Width(), 42);
    EXPECT_EQ(Grid->Columns()->Items(1)->Width(), 68);

    // A hidden column is stored with -1 and hidden again; words that are no
    // numbers fall back to the current values.
    Grid->Columns()->Items(1)->SetVisible(false);
    Grid->SaveToAppStore(&Storage, "Sec");
    EXPECT_EQ(Storage.ReadString("Sec\\GridName.DT"), "1,-1");
    Grid->Columns()->Items(1)->SetVisible(true);
    Storage.WriteString("Sec\\GridName.CatNo", "x,y");
    Grid->LoadFromAppStore(&Storage, "Sec");
    EXPECT_FALSE(Grid->Columns()->Items(1)->Visible());
    EXPECT_EQ(Grid->Columns()->Items(1)->Width(), 68);
    EXPECT_EQ(Grid->Columns()->Items(0)->Width(), 42);

    // No path: the grid's storage name; no storage: nothing.
    Grid->SaveToAppStore(&Storage, "");
    EXPECT_TRUE(Storage.ValueStored(TUxCustomAppStorage::ConcatPaths({ComponentStorageName(Grid), std::string("GridName.CatNo")})));
    Grid->SaveToAppStore(nullptr, "Sec");
    Grid->LoadFromAppStore(nullptr, "Sec");
}

TEST_F(StoreFixture, DefaultColumnsKeepTheFieldLayout)
{
    ASSERT_EQ(Grid->Columns()->State(), TDBGridColumnsState::csDefault);
    Grid->SaveToAppStore(&Storage, "Sec");
    EXPECT_EQ(Storage.ReadString("Sec\\RowsDT"), "1,12,1");
    Data->FieldByName("DT")->SetIndex(0);
    Grid->LoadFromAppStore(&Storage, "Sec");
    EXPECT_EQ(Data->FieldNames(), (std::vector<std::string>{"CatNo", "DT"}));
    EXPECT_EQ(Order(), (std::vector<std::string>{"CatNo", "DT"}));
}

TEST_F(StoreFixture, ColumnsEngineWritesAndReadsTheCollection)
{
    Customize();
    Grid->Columns()->Items(1)->SetVisible(false);
    TUxAppStoragePropertyDBGridColumnsEngine engine;
    EXPECT_TRUE(engine.Supports(Grid, Grid->Columns()));
    EXPECT_FALSE(engine.Supports(Grid, Grid));
    ASSERT_NE(RegisteredPropertyEngines(), nullptr);
    EXPECT_TRUE(RegisteredPropertyEngines()->WriteProperty(&Storage, "G\\Columns", Grid, Grid->Columns(), true));
    EXPECT_EQ(Storage.ReadInteger("G\\Columns\\Count", 0), 2);

    auto* other = new TUxDBGrid(Form.get());
    other->SetParent(Form.get());
    other->SetDataSource(Grid->DataSource());
    EXPECT_TRUE(RegisteredPropertyEngines()->ReadProperty(&Storage, "G\\Columns", other, other->Columns(), true, true));
    ASSERT_EQ(other->Columns()->Count(), 2);
    EXPECT_EQ(other->Columns()->Items(0)->FieldName(), "CatNo");
    EXPECT_EQ(other->Columns()->Items(0)->Width(), 42);
    EXPECT_FALSE(other->Columns()->Items(1)->Visible());
}

TEST_F(StoreFixture, SaveAndLoadThroughAFormPlacement)
{
    Customize();
    auto* placement = new TUxFormPlacement(Form.get());
    placement->SetAppStorage(&Storage);
    placement->SetAppStoragePath("Place");
    Grid->Save();  // no placement yet: nothing
    Grid->SetIniStorage(placement);
    EXPECT_EQ(Grid->IniStorage(), placement);
    placement->SaveFormPlacement();
    const std::string section = TUxCustomAppStorage::ConcatPaths({std::string("Place"), ComponentStorageName(Grid)});
    EXPECT_EQ(Storage.ReadString(TUxCustomAppStorage::ConcatPaths({section, std::string("GridName.DT")})), "1,68");
    Grid->Columns()->Items(1)->SetIndex(0);
    placement->RestoreFormPlacement();
    EXPECT_EQ(Order(), (std::vector<std::string>{"CatNo", "DT"}));
    Grid->SetIniStorage(nullptr);
    placement->SaveFormPlacement();
}
