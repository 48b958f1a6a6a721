// Editing in the data-aware grid: Boolean fields toggled in the cell, the
// fields that get no editor, and controls embedded over a cell.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "dbgrids/UxDBSortGrid.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Streams.h"

using namespace dbgrids;
using namespace gui;
using O = TDBGridOption;

namespace {

class TEditGrid : public TUxDBGrid {
public:
    using TUxDBGrid::TUxDBGrid;
    using TUxDBGrid::CanEditShow;
    using TUxDBGrid::CellClick;
};

struct EditFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    TEditGrid* Grid = nullptr;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 400);
        Data = new db::TMemDataSet(Form.get());
        Data->AddFieldDef("Done", db::TFieldType::ftBoolean);
        Data->AddFieldDef("YN", db::TFieldType::ftString, 1);
        Data->AddFieldDef("Flag", db::TFieldType::ftInteger);
        Data->AddFieldDef("Name", db::TFieldType::ftString, 10);
        Data->AddFieldDef("Notes", db::TFieldType::ftMemo);
        for (int i = 1; i <= 5; ++i)
            Data->AppendRecord({int64_t(0), std::string("y"), int64_t(1), std::string("n") + std::to_string(i), {}});
        Data->Open();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Data);
        Grid = new TEditGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetDataSource(source);
        Grid->OnCheckIfBooleanField = [](TUxDBGrid*, db::TField* f, std::string& t, std::string& fl) {
            if (f->FieldName() != "YN" && f->FieldName() != "Flag") return false;
            if (f->FieldName() == "YN") {
                t = "Y";
                fl = "N";
            }
            return true;
        };
    }
    void Type(char16_t ch)
    {
        Grid->KeyPress(ch);
    }
    db::TField* F(const char* name) { return Data->FieldByName(name); }
};

} // namespace

TEST_F(EditFixture, BooleanFieldsAreSetAndToggledByKeysAndClicks)
{
    Grid->SetSelectedIndex(0);
    struct Step {
        char16_t key;
        bool expected;
    } steps[] = {{u'1', true}, {u'0', false}, {u' ', true}, {u'-', false}, {u'+', true},
                 {8, false}, {u' ', true}, {u'x', true}};
    for (const Step& s : steps) {
        Type(s.key);
        EXPECT_EQ(F("Done")->AsBoolean(), s.expected) << char(s.key);
    }
    // A click on the cell of the field under edit toggles it.
    ASSERT_TRUE(!Grid->CanEditShow());
    EXPECT_EQ(Grid->BooleanFieldToEdit(), F("Done"));
    Grid->CellClick(Grid->Columns()->Items(0));
    EXPECT_FALSE(F("Done")->AsBoolean());
    EXPECT_EQ(Grid->BooleanFieldToEdit(), nullptr);

    // A string field with the texts Y / N: "y" toggles to "N".
    Data->Cancel();
    Grid->SetSelectedIndex(1);
    Type(u' ');
    EXPECT_EQ(F("YN")->AsString(), "N");
    Type(u' ');
    EXPECT_EQ(F("YN")->AsString(), "Y");
    // An integer field: 1 -> 0 -> 1.
    Grid->SetSelectedIndex(2);
    Type(u' ');
    EXPECT_EQ(F("Flag")->AsInteger(), 0);
    Type(u' ');
    EXPECT_EQ(F("Flag")->AsInteger(), 1);
    Data->Post();

    // A read-only data set ignores all of it.
    Data->SetReadOnly(true);
    Grid->SetSelectedIndex(0);
    bool before = F("Done")->AsBoolean();
    for (char16_t k : {u'1', u'0', u' ', char16_t(8)}) Type(k);
    EXPECT_EQ(F("Done")->AsBoolean(), before);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
}

TEST_F(EditFixture, MemoFieldsGetNoEditorPlainFieldsTheInplaceOne)
{
    Grid->SetSelectedIndex(4);
    EXPECT_FALSE(Grid->CanEditShow());
    Grid->SetSelectedIndex(3);
    EXPECT_TRUE(Grid->CanEditShow());
    bool asked = false;
    Grid->OnShowEditor = [&](rtl::TObject*, db::TField* f, bool& allow) {
        asked = true;
        allow = f->FieldName() != "Name";
    };
    EXPECT_FALSE(Grid->CanEditShow());
    EXPECT_TRUE(asked);
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgEditing});
    Grid->OnShowEditor = nullptr;
    EXPECT_FALSE(Grid->CanEditShow());
}

TEST_F(EditFixture, EmbeddedControls)
{
    auto* edit = new TEdit(Form.get());
    edit->SetName("NameEdit");
    edit->SetParent(Form.get());
    edit->SetBounds(0, 0, 150, 30);
    edit->SetVisible(false);
    TUxDBGridControl* item = Grid->EditControls()->Add();
    item->SetControlName("NameEdit");
    item->SetFieldName("Name");
    item->SetFitCell(TUxDBGridControlSize::fcBiggest);
    item->SetLeaveOnEnterKey(true);
    item->SetLeaveOnUpDownKey(true);
    // The Name column narrow and last at the right edge of the grid.
    Grid->Columns()->Items(3)->SetIndex(4);
    for (int i = 0; i < 4; ++i) Grid->Columns()->Items(i)->SetWidth(80);
    Grid->Columns()->Items(4)->SetWidth(40);
    Grid->SetSelectedIndex(4);
    ASSERT_EQ(Grid->SelectedField(), F("Name"));
    EXPECT_FALSE(Grid->CanEditShow());
    ASSERT_EQ(Grid->CurrentControl(), edit);
    TRect cell = Grid->CellRect(Grid->Col(), Grid->Row());
    EXPECT_EQ(edit->Width(), 150);   // the design width, wider than the cell
    EXPECT_EQ(edit->Height(), 30);
    EXPECT_EQ(item->DesignWidth(), 150);
    EXPECT_LE(edit->Left() + edit->Width(), Grid->Left() + Grid->ClientWidth());  // shifted left
    EXPECT_EQ(edit->Left() + edit->Width(), cell.Right);
    EXPECT_TRUE(edit->Visible());

    // Enter with LeaveOnEnterKey closes it.
    edit->Perform(WM_CHAR, 13);
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    EXPECT_FALSE(edit->Visible());

    // Down with LeaveOnUpDownKey moves the record.
    Grid->CanEditShow();
    ASSERT_EQ(Grid->CurrentControl(), edit);
    int rec = Data->RecNo();
    edit->Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    EXPECT_EQ(Data->RecNo(), rec + 1);

    // Escape puts the old value back.
    Grid->CanEditShow();
    ASSERT_EQ(Grid->CurrentControl(), edit);
    std::string old = F("Name")->AsString();
    Data->Edit();
    F("Name")->SetAsString("typed");
    edit->Perform(WM_CHAR, 27);
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    EXPECT_EQ(F("Name")->AsString(), old);
    Data->Cancel();

    // Typing in the grid over that cell goes on in the control.
    ASSERT_EQ(Grid->CurrentControl(), nullptr);
    Grid->SetOptions(Grid->Options() + TDBGridOptions{O::dgEditing});
    std::u16string received;
    edit->OnKeyPress = [&](rtl::TObject*, char16_t& ch) { received += ch; };
    char16_t k = u'Q';
    Grid->KeyPress(k);
    ASSERT_EQ(Grid->CurrentControl(), edit);
    EXPECT_EQ(received, u"Q");
    edit->OnKeyPress = nullptr;
    edit->Perform(WM_CHAR, 27);
    Data->Cancel();

    // A read-only grid places nothing.
    Grid->SetReadOnly(true);
    Grid->PlaceControl(edit, Grid->Col(), Grid->Row());
    EXPECT_EQ(Grid->CurrentControl(), nullptr);
    Grid->SetReadOnly(false);

    // A missing control: the error, and the item falls back to the editor.
    item->SetControlName("Missing");
    try {
        Grid->CanEditShow();
        FAIL() << "no error";
    } catch (const EUXLDbGridException& e) {
        EXPECT_EQ(std::string(e.Message()), "UxDBGrid.EditControls: property Control not assigned");
    }
    EXPECT_EQ(item->FieldName(), "");
    EXPECT_TRUE(Grid->CanEditShow());

    // Assign copies the published values, not the design size.
    TUxDBGridControls copy(Grid);
    copy.Assign(Grid->EditControls());
    EXPECT_EQ(copy.Items(0)->ControlName(), "Missing");
    EXPECT_EQ(copy.Items(0)->DesignWidth(), 0);
    EXPECT_EQ(copy.ControlByName("missing"), copy.Items(0));
}

TEST_F(EditFixture, SelectedRecordsAreMarkedInTheIndicator)
{
    Form->Show();
    Grid->SetMultiSelect(true);
    Data->SetRecNo(2);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->SetRecNo(4);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    auto img = Grid->GetImage();
    const TColor fixed = ColorToRGB(Grid->FixedColor());
    auto marked = [&](int row) {
        TRect r = Grid->CellRect(0, row);
        std::string shape;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x)
                shape += img->Canvas()->Pixels(x, y) == fixed ? '.' : '#';
        return shape;
    };
    std::string dot = marked(2), arrow = marked(4), plain = marked(3);
    EXPECT_EQ(plain, marked(1));  // unselected rows keep the platform's indicator
    EXPECT_NE(dot, plain);
    EXPECT_NE(arrow, plain);
    EXPECT_NE(dot, arrow);        // the current record has the arrow
    EXPECT_EQ(Data->RecNo(), 4);  // painting did not move the cursor
    // Left for a person to look at.
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    img->SaveToFile((shots / "dbgrids-selection-marks.bmp").string());
    Grid->SetMultiSelect(false);
    img = Grid->GetImage();
    EXPECT_EQ(marked(2), plain);
}

TEST_F(EditFixture, PickListCompletesTypedText)
{
    Grid->Columns()->Items(3)->PickList()->SetText("one\ntwo\nthree\n");
    Grid->SetSelectedIndex(3);
    Grid->ShowEditor();
    TInplaceEdit* editor = Grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->Visible());
    editor->SelectAll();
    auto type = [&](char16_t k) { editor->KeyPress(k); };
    type(u't');
    EXPECT_EQ(editor->EditText(), "two");
    EXPECT_EQ(editor->SelStart(), 1);
    EXPECT_EQ(editor->SelLength(), 2);
    EXPECT_EQ(F("Name")->AsString(), "two");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit);
    type(u'h');
    EXPECT_EQ(editor->EditText(), "three");
    EXPECT_EQ(editor->SelStart(), 2);
    EXPECT_EQ(editor->SelLength(), 3);
    type(8);  // backspace with a selection: the selection goes, "th" still completes
    EXPECT_EQ(editor->EditText(), "three");
    EXPECT_EQ(editor->SelStart(), 2);
    editor->SetSel(2, 0);
    type(8);  // without a selection: the character before the caret
    EXPECT_EQ(editor->EditText(), "two");
    EXPECT_EQ(editor->SelStart(), 1);
    editor->SelectAll();
    type(u'x');  // no item: typed as usual
    EXPECT_EQ(editor->EditText(), "x");
}

TEST_F(EditFixture, LookupFieldCompletesFromTheLookupDataSet)
{
    auto types = std::make_unique<db::TMemDataSet>();
    types->AddFieldDef("Code", db::TFieldType::ftString, 1);
    types->AddFieldDef("Text", db::TFieldType::ftString, 10);
    types->AppendRecord({std::string("a"), std::string("annular")});
    types->AppendRecord({std::string("t"), std::string("total")});
    types->Open();
    Data->Close();
    Data->AddLookupField("TypeText", db::TFieldType::ftString, 10, "YN", types.get(), "Code", "Text");
    Data->Open();
    Grid->OnCheckIfBooleanField = nullptr;
    int col = -1;
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        if (Grid->Columns()->Items(i)->FieldName() == "TypeText") col = i;
    ASSERT_GE(col, 0);
    Grid->SetSelectedIndex(col);
    Grid->ShowEditor();
    TInplaceEdit* editor = Grid->InplaceEditor();
    ASSERT_TRUE(editor && editor->Visible());
    editor->SelectAll();
    char16_t k = u'T';
    editor->KeyPress(k);
    EXPECT_EQ(F("YN")->AsString(), "t");
    EXPECT_EQ(F("TypeText")->AsString(), "total");
    EXPECT_EQ(editor->EditText(), "total");
    EXPECT_EQ(editor->SelStart(), 1);
    k = u'O';
    editor->KeyPress(k);
    EXPECT_EQ(Grid->TypedText(), "TO");
    EXPECT_EQ(editor->SelStart(), 2);
    Data->Cancel();
}

namespace {

// Collects the stream properties a component defines.
class TCaptureFiler : public rtl::TFiler {
public:
    using rtl::TFiler::TFiler;
    struct Def {
        std::function<void(rtl::TReader&)> Read;
        std::function<void(rtl::TWriter&)> Write;
        bool HasData;
    };
    std::map<std::string, Def> Defs;
    void DefineProperty(const std::string& name, const std::function<void(rtl::TReader&)>& readData,
                        const std::function<void(rtl::TWriter&)>& writeData, bool hasData) override
    {
        Defs[name] = {readData, writeData, hasData};
    }
    void DefineBinaryProperty(const std::string&, const std::function<void(rtl::TStream&)>&,
                              const std::function<void(rtl::TStream&)>&, bool) override
    {
    }
};

void FeedBoolean(const TCaptureFiler::Def& def, bool value)
{
    rtl::TMemoryStream ms;
    rtl::TWriter w(ms);
    w.WriteBoolean(value);
    ms.Seek(0, rtl::TSeekOrigin::soBeginning);
    rtl::TReader r(ms);
    def.Read(r);
}

} // namespace

TEST_F(EditFixture, LegacyStreamPropertiesAreReadAndTheMigrationFlagWritten)
{
    rtl::TMemoryStream scratch;
    TCaptureFiler filer(scratch);
    Grid->DefineProperties(filer);
    for (const char* name : {"AlternRowColor", "AlternRowFontColor", "PostOnEnter", "OptionsMigrated"})
        ASSERT_EQ(filer.Defs.count(name), 1u) << name;
    EXPECT_FALSE(filer.Defs["AlternRowColor"].HasData);  // read only
    FeedBoolean(filer.Defs["AlternRowColor"], true);
    EXPECT_EQ(Grid->AlternateRowColor(), 0xCCCCCCu);
    FeedBoolean(filer.Defs["AlternRowColor"], false);
    EXPECT_EQ(Grid->AlternateRowColor(), clNone);
    FeedBoolean(filer.Defs["AlternRowFontColor"], true);
    EXPECT_EQ(Grid->AlternateRowFontColor(), clBlack);
    FeedBoolean(filer.Defs["PostOnEnter"], true);
    EXPECT_TRUE(Grid->PostOnEnterKey());
    // The flag is written only when neither title option is set.
    Grid->SetOptions(Grid->Options() - TDBGridOptions{O::dgTitleClick, O::dgTitleHotTrack});
    TCaptureFiler again(scratch);
    Grid->DefineProperties(again);
    EXPECT_TRUE(again.Defs["OptionsMigrated"].HasData);
    FeedBoolean(again.Defs["OptionsMigrated"], true);
    Grid->Loaded();
    EXPECT_FALSE(Grid->Options().Contains(O::dgTitleClick));  // migrated before: kept
    Grid->SetOptions(Grid->Options() + TDBGridOptions{O::dgTitleClick});
    TCaptureFiler third(scratch);
    Grid->DefineProperties(third);
    EXPECT_FALSE(third.Defs["OptionsMigrated"].HasData);
}
