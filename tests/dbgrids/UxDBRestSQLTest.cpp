// Editing an SQL table through the data-aware grid: the in-place editor,
// the pick list and Boolean cells write to the file; a change the database
// refuses raises and leaves file and record as they were; a read-only
// table is not edited.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "TestPaths.h"
#include "dbgrids/UxDBGrid.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/db/SQLiteEditTable.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GridsPickList.h"
#include "platform/rtl/Exceptions.h"

using namespace dbgrids;
using namespace gui;

namespace {

class TSQLGrid : public TUxDBGrid {
public:
    using TUxDBGrid::TUxDBGrid;
    using TUxDBGrid::CanEditShow;
};

struct SQLEditFixture : ::testing::Test {
    std::string File;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TSQLiteEditTable* Table = nullptr;
    TSQLGrid* Grid = nullptr;

    void SetUp() override
    {
        const std::string catalogue = std::string(TEC_RUNTIME_DIR) + "/be.db";
        if (!std::filesystem::exists(catalogue)) GTEST_SKIP() << "no catalogue at " << catalogue;
        File = (tectest::ScratchDir("dbgrids-sql-edit") / "be.db").string();
        std::filesystem::copy_file(catalogue, File);
        Form->SetBounds(0, 0, 600, 400);
        Table = new db::TSQLiteEditTable(Form.get());
        Table->SetDatabaseFile(File);
        Table->SetTableName("BE_SE");
        Table->Open();
        Table->First();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Table);
        Grid = new TSQLGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 580, 380);
        Grid->SetDataSource(source);
        for (const char* name : {"CatNo", "k", "DT", "Type", "deltaT"}) Grid->Columns()->Add()->SetFieldName(name);
        Grid->SetOptions(Grid->Options() + TDBGridOptions{TDBGridOption::dgEditing});
        Grid->SetPostOnEnterKey(true);
    }
    // The stored text of a column of the row with ID 1, read afresh.
    std::string Stored(const std::string& column)
    {
        db::TSQLiteQuery q;
        q.SetDatabaseFile(File);
        q.SQL().Add("select " + column + " from BE_SE where ID = 1");
        q.Open();
        return q.FieldByName(column)->AsString();
    }
    void Select(const char* field)
    {
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            if (Grid->Columns()->Items(i)->FieldName() == field) Grid->SetSelectedIndex(i);
    }
    void Type(const std::string& text)
    {
        for (char c : text) {
            char16_t k = static_cast<char16_t>(c);
            Grid->InplaceEditor()->KeyPress(k);
        }
    }
    void Enter()
    {
        char16_t k = 13;
        Grid->KeyPress(k);
    }
};

} // namespace

TEST_F(SQLEditFixture, TypedTextAndPickedItemsReachTheFile)
{
    Select("DT");
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->InplaceEditor()->Visible());
    Grid->InplaceEditor()->SelectAll();
    Type("-1999 Jun 13");
    Enter();
    EXPECT_EQ(Table->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Stored("DT"), "-1999 Jun 13");

    // The Type column's pick list: dropped down, H taken, posted on Enter.
    Grid->Columns()->Items(3)->PickList()->SetText("T\nA\nH\nP\n");
    Select("Type");
    Grid->ShowEditor();
    auto* editor = dynamic_cast<TInplaceEditList*>(Grid->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    uint16_t f4 = VK_F4;
    editor->KeyDown(f4, {});
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_EQ(editor->ActiveList()->ItemIndex(), 0);  // the stored T
    for (int i = 0; i < 2; ++i) {
        uint16_t down = VK_DOWN;
        editor->KeyDown(down, {});
    }
    uint16_t ret = VK_RETURN;
    editor->KeyDown(ret, {});
    EXPECT_EQ(Table->FieldByName("Type")->AsString(), "H");
    Enter();
    EXPECT_EQ(Stored("Type"), "H");
}

TEST_F(SQLEditFixture, AnIntegerBooleanColumnTogglesInTheFile)
{
    Grid->OnCheckIfBooleanField = [](TUxDBGrid*, db::TField* f, std::string&, std::string&) {
        return f->FieldName() == "deltaT";
    };
    Table->Edit();
    Table->FieldByName("deltaT")->SetAsInteger(1);
    Table->Post();
    Select("deltaT");
    Grid->CanEditShow();  // makes deltaT the Boolean field under edit
    char16_t blank = u' ';
    Grid->KeyPress(blank);
    Enter();
    EXPECT_EQ(Stored("deltaT"), "0");
    Grid->CanEditShow();
    blank = u' ';
    Grid->KeyPress(blank);
    Enter();
    EXPECT_EQ(Stored("deltaT"), "1");
}

TEST_F(SQLEditFixture, ARefusedChangeRaisesAndLeavesFileAndRecord)
{
    // k is unique: row 2's value is refused for row 1.
    Table->Next();
    const std::string taken = Table->FieldByName("k")->AsString();
    Table->First();
    const std::string before = Stored("k");
    Select("k");
    Grid->ShowEditor();
    Grid->InplaceEditor()->SelectAll();
    Type(taken);
    EXPECT_ANY_THROW(Enter());
    EXPECT_EQ(Stored("k"), before);
    Table->Cancel();
    EXPECT_EQ(Table->FieldByName("k")->AsString(), before);
    EXPECT_EQ(Table->State(), db::TDataSetState::dsBrowse);
}

TEST_F(SQLEditFixture, ANegativeNumberIsTypedKeyByKey)
{
    // "-" alone is no number yet: it stays in the editor and the field keeps
    // its value until the text is one.
    const std::string before = Table->FieldByName("k")->AsString();
    Select("k");
    Grid->ShowEditor();
    Grid->InplaceEditor()->SelectAll();
    Type("-");
    EXPECT_EQ(Grid->InplaceEditor()->EditText(), "-");
    EXPECT_EQ(Table->FieldByName("k")->AsString(), before);
    Type("77");
    EXPECT_EQ(Table->FieldByName("k")->AsString(), "-77");
    Enter();
    EXPECT_EQ(Stored("k"), "-77");

    // Still no number when Enter comes: the conversion error, nothing stored.
    Grid->ShowEditor();
    Grid->InplaceEditor()->SelectAll();
    Type("-");
    EXPECT_THROW(Enter(), rtl::EConvertError);
    EXPECT_EQ(Stored("k"), "-77");
    // Nor when the editor is hidden (leaving the cell).
    EXPECT_THROW(Grid->HideEditor(), rtl::EConvertError);
    Table->Cancel();
    EXPECT_EQ(Table->FieldByName("k")->AsString(), "-77");
}

TEST_F(SQLEditFixture, AReadOnlyTableIsNotEdited)
{
    Table->Close();
    Table->SetReadOnly(true);
    Table->Open();
    Table->First();
    Grid->Columns()->Items(3)->PickList()->SetText("T\nA\nH\nP\n");
    Select("Type");
    Grid->ShowEditor();
    if (auto* editor = dynamic_cast<TInplaceEditList*>(Grid->InplaceEditor()); editor && editor->Visible()) {
        uint16_t f4 = VK_F4, down = VK_DOWN, ret = VK_RETURN;
        editor->KeyDown(f4, {});
        editor->KeyDown(down, {});
        editor->KeyDown(ret, {});
    }
    char16_t h = u'H';
    Grid->KeyPress(h);
    Enter();
    EXPECT_EQ(Table->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Table->FieldByName("Type")->AsString(), "T");
    EXPECT_EQ(Stored("Type"), "T");
}
