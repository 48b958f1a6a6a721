// The data-aware lookup list: value model, typed search with its clock,
// configuration errors, rows, keys, wheel and painting.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "dbgrids/UxDBLookup.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"

using namespace dbgrids;
using namespace gui;

namespace {

struct LookupFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Types = nullptr;
    db::TMemDataSet* Rows = nullptr;
    db::TDataSource* TypesSource = nullptr;
    db::TDataSource* RowsSource = nullptr;
    TUxDBLookupList* List = nullptr;
    int64_t Now = 100000;
    std::function<int64_t()> SavedClock;

    void SetUp() override
    {
        SavedClock = LookupTickCount;
        LookupTickCount = [this] { return Now; };
        Form->SetBounds(0, 0, 400, 300);
        Types = new db::TMemDataSet(Form.get());
        Types->AddFieldDef("Code", db::TFieldType::ftString, 4);
        Types->AddFieldDef("Text", db::TFieldType::ftString, 12);
        const char* texts[] = {"alpha", "abacus", "abc", "beta", "gamma", "delta", "eps", "zeta", "eta", "theta",
                               "iota", "kappa", "lambda", "mu"};
        int i = 0;
        for (const char* t : texts) Types->AppendRecord({std::string("K") + std::to_string(i++), std::string(t)});
        Types->Open();
        TypesSource = new db::TDataSource(Form.get());
        TypesSource->SetDataSet(Types);
        Rows = new db::TMemDataSet(Form.get());
        Rows->AddFieldDef("TypeCode", db::TFieldType::ftString, 4);
        Rows->AppendRecord({std::string("K3")});
        Rows->Open();
        RowsSource = new db::TDataSource(Form.get());
        RowsSource->SetDataSet(Rows);
        List = new TUxDBLookupList(Form.get());
        List->SetParent(Form.get());
        List->SetLookupSource(TypesSource);
        List->SetLookupField("Code");
        List->SetLookupDisplay("Text");
    }
    void TearDown() override { LookupTickCount = SavedClock; }
    void Type(char16_t k) { List->KeyPress(k); }
};

} // namespace

TEST_F(LookupFixture, TypedSearchWithinTwoSeconds)
{
    ASSERT_TRUE(List->ListActive());
    Type(u'a');
    EXPECT_EQ(List->Value(), "K0");  // alpha
    Now += 1500;
    Type(u'b');
    EXPECT_EQ(List->SearchText(), "ab");
    EXPECT_EQ(List->Value(), "K1");  // abacus
    EXPECT_EQ(List->DisplayValue(), "abacus");
    Now += 3000;  // a pause: a new search
    Type(u'b');
    EXPECT_EQ(List->SearchText(), "b");
    EXPECT_EQ(List->Value(), "K3");  // beta
    Type(8);  // back to nothing: the first record
    EXPECT_EQ(List->SearchText(), "");
    EXPECT_EQ(List->Value(), "K0");
    Type(u'q');  // not found: the text stays
    EXPECT_EQ(List->SearchText(), "");
}

TEST_F(LookupFixture, EmptyValueAndKeyValue)
{
    List->SetValue("");
    EXPECT_TRUE(List->IsEmptyValue());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(List->KeyValue()));
    List->SetEmptyStrIsNull(false);
    EXPECT_EQ(List->KeyValue(), db::TFieldValue(std::string()));
    List->SetKeyValue(std::string("K2"));
    EXPECT_EQ(List->Value(), "K2");
    List->SetKeyValue(db::TFieldValue{});
    EXPECT_EQ(List->Value(), "");

    // Bound to a field: picking writes the key; the empty value stores
    // null with EmptyStrIsNull, an empty text without.
    List->SetDataSource(RowsSource);
    List->SetDataField("TypeCode");
    EXPECT_EQ(List->Value(), "K3");
    uint16_t down = VK_DOWN;
    List->KeyDown(down, {});
    EXPECT_EQ(Rows->FieldByName("TypeCode")->AsString(), "K4");
    List->SetEmptyStrIsNull(true);
    List->SetValue("");
    EXPECT_TRUE(Rows->FieldByName("TypeCode")->IsNull());
    List->SetEmptyStrIsNull(false);
    List->SetValue("K1");
    List->SetValue("");
    EXPECT_FALSE(Rows->FieldByName("TypeCode")->IsNull());
    EXPECT_EQ(Rows->FieldByName("TypeCode")->AsString(), "");
    Rows->Cancel();
}

TEST_F(LookupFixture, ConfigurationErrors)
{
    try {
        List->SetLookupFormat("%s (%d)");
        FAIL() << "no error";
    } catch (const EUXLException& e) {
        EXPECT_EQ(std::string(e.Message()), "Invalid format: '%d' not allowed");
    }
    EXPECT_THROW(List->SetLookupFormat("50%"), EUXLException);
    EXPECT_EQ(CheckLookupFormat("%s - %S (100%%)"), 2);
    List->SetLookupFormat("%s / %s");  // two fields, one list field: cleared
    EXPECT_EQ(List->LookupFormat(), "");
    List->SetLookupDisplay("Text;Code");
    List->SetLookupFormat("%s / %s");
    EXPECT_EQ(List->LookupFormat(), "%s / %s");

    auto* other = new TUxDBLookupList(Form.get());
    other->SetDataSource(TypesSource);
    other->SetDataField("Code");
    other->SetLookupField("Code");
    try {
        other->SetLookupSource(TypesSource);
        FAIL() << "no error";
    } catch (const db::EDatabaseError& e) {
        EXPECT_EQ(std::string(e.Message()), "Zirkuläre Datenverbindungen sind nicht erlaubt");
    }
    other->SetLookupSource(nullptr);

}

TEST_F(LookupFixture, RowsKeysAndWheel)
{
    List->SetRowCount(80);
    EXPECT_EQ(List->RowCount(), 50);
    List->SetRowCount(0);
    EXPECT_EQ(List->RowCount(), 1);
    List->SetRowCount(7);
    EXPECT_EQ(List->Height(), 7 * List->ItemHeight() + 2 * List->BorderSize());

    // A wheel step down, current record in row 0: 7 + 3 - 0 - 1 = 9.
    Types->First();
    List->SetValue("K0");
    ASSERT_EQ(List->RecordIndex(), 0);
    List->DoMouseWheelDown({}, {0, 0});
    EXPECT_EQ(Types->RecNo(), 10);

    // With an empty row Page Down moves by RowCount - 2.
    List->SetDisplayEmpty("(none)");
    List->SetBounds(List->Left(), List->Top(), List->Width(), List->Height());
    List->SetValue("K0");
    Types->First();
    uint16_t next = VK_NEXT;
    List->KeyDown(next, {});
    EXPECT_EQ(List->Value(), "K5");
    uint16_t home = VK_HOME;
    List->KeyDown(home, {});
    EXPECT_EQ(List->Value(), "K0");
    uint16_t up = VK_UP;
    List->KeyDown(up, {});  // at the beginning: the empty row
    EXPECT_TRUE(List->IsEmptyValue());

    Form->Show();
    List->SetListStyle(TLookupListStyle::lsDelimited);
    List->SetLookupDisplay("Text;Code");
    List->SetValue("K2");
    auto img = List->GetImage();
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    img->SaveToFile((shots / "dbgrids-lookup-list.bmp").string());
    // The selected row is highlighted, the empty row is not.
    const int h = List->ItemHeight();
    const TRect rows = List->RowsRect();
    int selectedRow = -1;
    for (int r = 0; r < List->RowCount(); ++r)
        if (img->Canvas()->Pixels(rows.Right - 3, rows.Top + r * h + h / 2) == ColorToRGB(clHighlight))
            selectedRow = r;
    EXPECT_GT(selectedRow, 0);
}

TEST_F(LookupFixture, DraggingOutsideScrollsByTimer)
{
    Form->Show();  // a press acts once the list has the focus
    Types->First();
    List->SetValue("K0");
    List->MouseDown(TMouseButton::mbLeft, {}, 5, 2);
    ASSERT_TRUE(List->Tracking());
    const int bottom = List->RowsRect().Bottom;  // inside the frame
    List->MouseMove({}, 5, bottom + 9);  // 10 pixels below
    EXPECT_TRUE(List->ScrollTimer()->Enabled());
    EXPECT_EQ(List->ScrollTimer()->Interval(), 50u);
    List->MouseMove({}, 5, bottom + 20);
    EXPECT_EQ(List->ScrollTimer()->Interval(), 0u);
    const std::string before = List->Value();
    List->ScrollTimer()->OnTimer(List->ScrollTimer());
    EXPECT_NE(List->Value(), before);
    List->MouseMove({}, 5, 2);  // back inside: no timer
    EXPECT_FALSE(List->ScrollTimer()->Enabled());
    List->MouseUp(TMouseButton::mbLeft, {}, 5, 2);
    EXPECT_FALSE(List->Tracking());
}
