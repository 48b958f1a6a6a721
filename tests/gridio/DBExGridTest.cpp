// The data-aware string grid over memory data sets, headless: column
// binding, page-mode and full-load display, cell graphics from fields,
// version text.
#include <gtest/gtest.h>

#include <memory>

#include "DBExGridTestFixture.h"

using namespace gridio;
using namespace dbexgrid_test;

TEST(DBExGridColumns, FontsCopiedOnlyInsideACollection)
{
    gui::TForm form(nullptr);
    auto* g = new TDBExGrid(&form);
    g->SetParent(&form);
    g->Font()->SetName("Liberation Sans");
    g->Font()->SetSize(10);
    g->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
    g->SetColor(0x00AABB);
    g->Columns()->Clear();
    TDBGridColumnItem* inside = g->Columns()->Add();
    for (gui::TFont* f : {inside->Font(), inside->HeaderFont(), inside->PrintFont()}) {
        EXPECT_EQ(f->Size(), 10);
        EXPECT_TRUE(f->Style().Contains(gui::TFontStyle::fsBold));
    }
    EXPECT_EQ(inside->Color(), gui::TColor(0x00AABB));
    TDBGridColumnItem outside(nullptr);
    EXPECT_FALSE(outside.Font()->Style().Contains(gui::TFontStyle::fsBold));
    EXPECT_EQ(outside.Width(), 50);
    EXPECT_EQ(outside.CheckTrue(), "Y");
    EXPECT_EQ(outside.CheckFalse(), "N");
    EXPECT_EQ(outside.DisplayName(), "Column -1");
}

TEST(DBExGridColumns, AddCopiesVisualsButGridColourAndFont)
{
    gui::TForm form(nullptr);
    auto* g = new TDBExGrid(&form);
    g->SetParent(&form);
    g->SetColCount(3);
    TDBGridColumnItem* second = g->Columns()->Items(2);
    second->SetCheckTrue("Yes");
    second->SetReadOnly(true);
    second->SetColor(0x123456);
    second->Font()->SetSize(20);
    second->SetHTMLTemplate("<#Name>");
    TDBGridColumnItem* third = g->Columns()->Add();
    EXPECT_EQ(third->CheckTrue(), "Yes");
    EXPECT_TRUE(third->ReadOnly());
    EXPECT_EQ(third->HTMLTemplate(), "<#Name>");
    EXPECT_EQ(third->Color(), g->Color());
    EXPECT_EQ(third->Font()->Size(), g->Font()->Size());
    EXPECT_EQ(g->ColCount(), 4) << "a new item adds its grid column";
}

TEST(DBExGridColumns, ExclusiveModesRaiseTheirTextsAndKeepValues)
{
    TDBGridColumnItem item(nullptr);
    item.SetPictureField(true);
    struct Case {
        void (TDBGridColumnItem::*Set)(bool);
        const char* Text;
    };
    const Case cases[] = {
        {&TDBGridColumnItem::SetCheckBoxField, "Can not assign true when PictureField or ProgressField is also true."},
        {&TDBGridColumnItem::SetProgressField, "Can not assign true when CheckBoxField or PictureField is also true."},
    };
    for (const Case& c : cases) {
        try {
            (item.*c.Set)(true);
            ADD_FAILURE() << "no exception for " << c.Text;
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.Text);
        }
    }
    EXPECT_TRUE(item.PictureField());
    EXPECT_FALSE(item.CheckBoxField());
    EXPECT_FALSE(item.ProgressField());
    item.SetPictureField(false);
    item.SetCheckBoxField(true);
    try {
        item.SetPictureField(true);
        ADD_FAILURE();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Can not assign true when CheckBoxField or ProgressField is also true.");
    }
    EXPECT_FALSE(item.PictureField());
}

TEST_F(DBExFixture, FieldNameBindsLaterAndWidthFollowsTheGrid)
{
    Data->Close();
    TDBGridColumnItem* item = Grid->Columns()->Items(1);
    item->SetFieldName("Name");
    EXPECT_EQ(item->FieldName(), "Name");
    EXPECT_EQ(item->Field(), nullptr);
    Data->Open();
    ASSERT_NE(item->Field(), nullptr);
    EXPECT_EQ(item->Field()->FieldName(), "Name");
    Grid->SetColWidths(1, 77);
    EXPECT_EQ(item->Width(), 77);
    item->SetWidth(61);
    EXPECT_EQ(Grid->ColWidths(1), 61);
}

TEST(DBExGridColumns, UniDirectionalDataSetIsRefused)
{
    gui::TForm form(nullptr);
    auto* data = new TOneWayData(&form);
    data->AddFieldDef("A", db::TFieldType::ftInteger);
    data->AppendRecord({int64_t(1)});
    auto* src = new db::TDataSource(&form);
    src->SetDataSet(data);
    auto* g = new TDBExGrid(&form);
    g->SetParent(&form);
    g->SetDataSource(src);
    try {
        data->Open();
        ADD_FAILURE() << "opened";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "UniDirectional DataSet");
    }
    EXPECT_EQ(g->RowCount(), 2);
}

TEST(DBExGridVersion, TextDerivedFromTheNumber)
{
    TDBExGrid g(nullptr);
    EXPECT_EQ(g.GetVersionNr(), 33622531u);
    EXPECT_EQ(g.GetVersionString(), "2.1.10.3");
    // Through the string grid it is the data-aware grid's number that counts.
    grid::TExStringGrid& s = g;
    EXPECT_EQ(s.GetVersionString(), "2.1.10.3");
    EXPECT_EQ(s.Version(), "2.1.10.3");
    s.Navigation()->SetAllowFmtClipboard(true);
    EXPECT_FALSE(s.AllowFormattedClipboard()) << "the grid's own cell format is not read";
    EXPECT_EQ(g.DesignHelperTitle(), "Quick config[2.1.10.3]");
}

// ------------------------------------------------------------- display

TEST_F(DBExFixture, RowCountFollowsTheRecords)
{
    EXPECT_EQ(Grid->RowCount(), 6) << "5 records and one fixed row";
    Data->Close();
    EXPECT_EQ(Grid->RowCount(), 2);
    Data->ClearRecords();
    Data->Open();
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->GetCellText(1, 1), "");
}

TEST_F(DBExFixture, IndicatorShiftsFieldsAndHeadersShowLabels)
{
    // Indicator column 0, fields from column 1.
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->GetCellText(1, 0), "Id");
    EXPECT_EQ(Grid->GetCellText(1, 1), "1");
    EXPECT_EQ(Grid->GetCellText(2, 1), "Alpha");
    EXPECT_EQ(Grid->GetCellText(2, 5), "Echo");
    Data->FieldByName("Name")->SetDisplayLabel("Label");
    EXPECT_EQ(Grid->GetCellText(2, 0), "Label");
    Grid->Columns()->Items(2)->SetHeader("Header");
    EXPECT_EQ(Grid->GetCellText(2, 0), "Header") << "Header before display label";
}

TEST_F(DBExFixture, NoIndicatorPutsFirstFieldInColumnZero)
{
    Data->Close();
    Grid->SetShowDBIndicator(false);
    Grid->SetColCount(2);
    for (int i = 0; i < Grid->Columns()->Count(); ++i) Grid->Columns()->Items(i)->SetFieldName("");
    Grid->SetFixedCols(0);
    Data->Open();
    EXPECT_EQ(Grid->GetCellText(0, 1), "1");
    EXPECT_EQ(Grid->GetCellText(1, 1), "Alpha");
}

TEST_F(DBExFixture, ColumnsNamingMissingFieldsAreRemovedAtActivation)
{
    Data->Close();
    Grid->SetColCount(4);
    Grid->Columns()->Items(1)->SetFieldName("Name");
    Grid->Columns()->Items(2)->SetFieldName("Missing");
    Grid->Columns()->Items(3)->SetFieldName("Id");
    Data->Open();
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->Columns()->Items(1)->FieldName(), "Name");
    EXPECT_EQ(Grid->Columns()->Items(2)->FieldName(), "Id");
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->GetCellText(1, 2), "Bravo");
    EXPECT_EQ(Grid->GetCellText(2, 2), "2");
}

TEST_F(DBExFixture, HtmlTemplateFillsFieldsAndEvent)
{
    Grid->Columns()->Items(2)->SetHTMLTemplate("<b><#Name></b> #<#Id>");
    EXPECT_EQ(Grid->GetCellText(2, 3), "<b>Charlie</b> #3");
    Grid->OnGetHTMLTemplateData = [](rtl::TObject*, int, int, const std::string& name, std::string& data) {
        if (name == "Id") data = "[" + data + "]";
    };
    EXPECT_EQ(Grid->GetCellText(2, 3), "<b>Charlie</b> #[3]");
    Data->Close();
    Data->Open();
}

TEST_F(DBExFixture, BooleanCheckProgressAndImageColumnsInPageMode)
{
    Grid->SetShowBooleanFields(true);
    TDBGridColumnItem* done = Grid->Columns()->Items(3);
    grid::TCellGraphic* g = Grid->CellGraphicAt(3, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), grid::TCellType::ctCheckBox);
    EXPECT_TRUE(g->CellBoolean());
    g = Grid->CellGraphicAt(3, 2);
    ASSERT_NE(g, nullptr);
    EXPECT_FALSE(g->CellBoolean());
    (void)done;

    TDBGridColumnItem* flag = Grid->Columns()->Items(4);
    flag->SetCheckBoxField(true);
    g = Grid->CellGraphicAt(4, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), grid::TCellType::ctCheckBox);
    EXPECT_TRUE(g->CellBoolean()) << "Flag of record 1 is Y";
    EXPECT_FALSE(Grid->CellGraphicAt(4, 2)->CellBoolean());

    TDBGridColumnItem* id = Grid->Columns()->Items(1);
    id->SetProgressField(true);
    g = Grid->CellGraphicAt(1, 3);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), grid::TCellType::ctProgress);
    EXPECT_EQ(g->CellBitmapColor(), gui::TColor(0x0000FF));
    EXPECT_EQ(Grid->GetCellText(1, 3), "3");
    id->SetProgressField(false);
    id->SetDataImageField(true);
    EXPECT_EQ(Grid->CellGraphicAt(1, 3)->CellType(), grid::TCellType::ctDataImage);
    EXPECT_EQ(Grid->CellGraphicAt(1, 0), nullptr) << "header cells keep no graphic";
}

TEST_F(DBExFixture, FullLoadCopiesRecordsAndGraphics)
{
    Grid->Columns()->Items(4)->SetCheckBoxField(true);
    Grid->Columns()->Items(1)->SetProgressField(true);
    Grid->SetShowBooleanFields(true);
    Grid->SetPageMode(false);
    EXPECT_EQ(Grid->Cells(2, 4), "Delta");
    EXPECT_EQ(Grid->Cells(4, 1), "Y");
    bool state = false;
    ASSERT_TRUE(Grid->GetCheckBoxState(4, 2, state));
    EXPECT_FALSE(state);
    ASSERT_TRUE(Grid->GetCheckBoxState(3, 1, state));
    EXPECT_TRUE(state);
    EXPECT_EQ(Grid->CellGraphicAt(1, 2)->CellType(), grid::TCellType::ctProgress);
    // Changing the data shows after Reload.
    Data->First();
    Data->Edit();
    Data->FieldByName("Name")->SetAsString("Changed");
    Data->Post();
    EXPECT_EQ(Grid->Cells(2, 1), "Alpha");
    Grid->Reload();
    EXPECT_EQ(Grid->Cells(2, 1), "Changed");
    // Boolean check boxes back to texts.
    Grid->SetShowBooleanFields(false);
    EXPECT_EQ(Grid->Cells(3, 1), "True");
    Grid->SetPageMode(true);
    EXPECT_EQ(Grid->Cells(2, 1), "");
    EXPECT_EQ(Grid->GetCellText(2, 1), "Changed");
}

TEST_F(DBExFixture, PictureColumnsInBothModes)
{
    Data->Close();
    Grid->RemoveAllFields();
    Data->AddFieldDef("Pic", db::TFieldType::ftGraphic);
    Data->ClearRecords();
    const std::string bmp = SmallBitmapBytes(6, 4, gui::clRed);
    Data->AppendRecord({int64_t(1), std::string("A"), int64_t(1), std::string("Y"), bmp});
    Data->AppendRecord({int64_t(2), std::string("B"), int64_t(0), std::string("N"), std::string("junk data")});
    Data->Open();
    EXPECT_EQ(Grid->ColCount(), 6);
    EXPECT_EQ(Grid->GetCellText(5, 1), "(GRAPHIC)");
    Grid->SetShowPictureFields(true);
    grid::TCellGraphic* g = Grid->CellGraphicAt(5, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), grid::TCellType::ctPicture);
    EXPECT_EQ(Grid->GridPicture()->Width(), 6);
    int invalid = 0;
    Grid->OnInvalidPicture = [&](rtl::TObject*, int, int) { ++invalid; };
    Grid->CellGraphicAt(5, 2);
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(Grid->GridPicture()->Width(), Grid->InvalidPicture()->Width());
    Grid->SetPageMode(false);
    g = Grid->CellGraphicAt(5, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), grid::TCellType::ctPicture);
}

TEST_F(DBExFixture, ShowBooleanFieldsSwitchInPageMode)
{
    EXPECT_EQ(Grid->GetCellText(3, 1), "True");
    EXPECT_EQ(Grid->CellGraphicAt(3, 1), nullptr);
    Grid->SetShowBooleanFields(true);
    EXPECT_NE(Grid->CellGraphicAt(3, 1), nullptr);
    Grid->SetShowBooleanFields(false);
    EXPECT_EQ(Grid->CellGraphicAt(3, 1), nullptr);
}

TEST_F(DBExFixture, ColumnSettingsReachTheCellHooks)
{
    TDBGridColumnItem* id = Grid->Columns()->Items(1);
    id->SetFloatFormat("%.2f");
    std::string text;
    Grid->FormattedText(1, 2, text);
    EXPECT_EQ(text, "2.00");
    Grid->FormattedText(2, 2, text);
    EXPECT_EQ(text, "Bravo") << "no format on the column";
    id->SetEditor(grid::TEditorType::edComboList);
    EXPECT_TRUE(Grid->ComboAt(1, 2));
    EXPECT_FALSE(Grid->ComboAt(2, 2));
    id->SetEditMask("!999;1;_");
    EXPECT_EQ(Grid->MaskAt(1, 2), "!999;1;_");
    Grid->ColumnHeaders()->Add("");
    Grid->ColumnHeaders()->Add("Number");
    Grid->ColumnHeaders()->Add("Called");
    EXPECT_EQ(Grid->Columns()->Items(2)->Header(), "Called");
    EXPECT_EQ(Grid->GetCellText(2, 0), "Called");
    id->SetBorders(grid::TCellBorders{grid::TCellBorder::cbBottom});
    gui::TPen pen;
    grid::TCellBorders b;
    Grid->BorderAt(1, 2, &pen, b);
    EXPECT_TRUE(b.Contains(grid::TCellBorder::cbBottom));
    EXPECT_EQ(pen.Color(), gui::TColor(0xC0C0C0));
}

TEST(DBExGridColumns, ClassesAreRegisteredWithPublishedSettings)
{
    const rtl::TClassInfo* item = rtl::GetClass("TDBGridColumnItem");
    ASSERT_NE(item, nullptr);
    EXPECT_NE(rtl::GetClass("TDBGridColumnCollection"), nullptr);
    for (const char* name : {"FieldName", "Header", "Width", "CheckTrue", "PictureField", "HTMLTemplate"})
        EXPECT_NE(rtl::GetPropInfo(*item, name), nullptr) << name;
}
