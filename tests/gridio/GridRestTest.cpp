// The data-aware grid on the string grid's sort, footer, paste, filter and
// auto-size hooks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/db/SQLiteEditTable.h"
#include "DBExGridTestFixture.h"
#include "platform/db/SQLiteDataSet.h"
#include "TestPaths.h"
#include "gridbase/ExObj.h"
#include "platform/gui/PngImage.h"
#include "gridio/GridBinary.h"
#include "gridio/GridFiles.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/IconImage.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/ComponentStream.h"

using namespace dbexgrid_test;
using gridio::TEditPostMode;

namespace {

struct QueryFixture : ::testing::Test {
    std::string File;
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    db::TSQLiteQuery* Query = nullptr;
    TTestDBGrid* Grid = nullptr;
    void SetUp() override
    {
        File = ::testing::TempDir() + "/gridrest-sort-" + std::to_string(::getpid()) + ".db";
        std::filesystem::remove(File);
        db::ExecuteSQLiteScript(File, "CREATE TABLE T (Id INTEGER, Name TEXT);"
                                      "INSERT INTO T VALUES (2, 'b'); INSERT INTO T VALUES (1, 'a');"
                                      "INSERT INTO T VALUES (3, 'c');");
        Form->SetBounds(0, 0, 420, 320);
        Query = new db::TSQLiteQuery(Form.get());
        Query->SetDatabaseFile(File);
        Query->SQL().SetText("SELECT Id, Name FROM T ORDER BY Id");
        auto* src = new db::TDataSource(Form.get());
        src->SetDataSet(Query);
        Grid = new TTestDBGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetDataSource(src);
        Grid->SortSettings()->SetShow(true);
        Query->Open();
    }
    void TearDown() override { std::filesystem::remove(File); }
    void ClickHeader(int col)
    {
        const gui::TRect r = Grid->CellRect(col, 0);
        const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
        gui::sim::MouseDown(Grid, gui::TMouseButton::mbLeft, x, y);
        gui::sim::MouseUp(Grid, gui::TMouseButton::mbLeft, x, y);
    }
};

} // namespace

TEST_F(QueryFixture, HeaderClickReSortsTheQueryThroughTheGridsSortHook)
{
    ASSERT_EQ(Grid->GetCellText(2, 1), "a");
    ClickHeader(2);
    EXPECT_NE(Query->SQL().Text().find("ORDER BY Name DESC"), std::string::npos) << Query->SQL().Text();
    EXPECT_EQ(Query->SQL().Text().find("ORDER BY Id"), std::string::npos) << "the old clause is replaced";
    EXPECT_EQ(Grid->GetCellText(2, 1), "c");
    EXPECT_EQ(Grid->GetCellText(1, 1), "3") << "the row shows one record, not cells sorted apart";
    EXPECT_EQ(Grid->SortSettings()->Column(), 2);
    ClickHeader(2);
    EXPECT_EQ(Grid->GetCellText(2, 1), "a");
    // The published event refuses: neither the query nor the cells change.
    int asked = -1;
    Grid->OnCanSortDB = [&](rtl::TObject*, int aCol, bool& doSort) {
        asked = aCol;
        doSort = false;
    };
    const std::string kept = Query->SQL().Text();
    ClickHeader(1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Query->SQL().Text(), kept);
    EXPECT_EQ(Grid->GetCellText(2, 1), "a");
}

TEST_F(DBExFixture, FloatingFooterRowAndCalculationWhileEditing)
{
    ASSERT_EQ(Grid->RowCount(), 6);
    struct Case {
        grid::TFooterStyle Style;
        int Rows;
    };
    // A column preview draws below the rows and takes no row of its own.
    for (const Case& c : {Case{grid::TFooterStyle::fsFixedLastRow, 7}, Case{grid::TFooterStyle::fsColumnPreview, 6}}) {
        Grid->FloatingFooter()->SetFooterStyle(c.Style);
        Grid->FloatingFooter()->SetVisible(true);
        Grid->UpdateActive();
        EXPECT_EQ(Grid->RowCount(), c.Rows) << static_cast<int>(c.Style);
        EXPECT_EQ(Grid->GetCellText(2, 5), "Echo");
        Grid->FloatingFooter()->SetVisible(false);
        Grid->UpdateActive();
    }
    // Editing switches the footer's calculation off and restores it after.
    grid::TFloatingFooter* ff = Grid->FloatingFooter();
    ASSERT_TRUE(ff->EnableCalculation());
    Data->Edit();
    EXPECT_FALSE(ff->EnableCalculation());
    Data->Post();
    EXPECT_TRUE(ff->EnableCalculation());
    ff->SetEnableCalculation(false);
    Data->Insert();
    Data->Cancel();
    EXPECT_FALSE(ff->EnableCalculation()) << "a flag that was off stays off";
}

TEST_F(DBExFixture, PastedValuesGoToTheRecordsField)
{
    Grid->SetShowBooleanFields(true);
    struct Case {
        TEditPostMode Mode;
        int Row;
        std::string Value;
    };
    for (const Case& c : {Case{TEditPostMode::epCell, 3, "Pasted"}, Case{TEditPostMode::epRow, 4, "Rowwise"}}) {
        Grid->SetEditPostMode(c.Mode);
        Grid->PasteCellText(2, c.Row, c.Value);
        EXPECT_EQ(Data->RecNo(), c.Row);
        EXPECT_EQ(Data->FieldByName("Name")->AsString(), c.Value);
        if (c.Mode == TEditPostMode::epCell) { EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse); }
        else EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit);
        Data->Post();
        EXPECT_EQ(Grid->GetCellText(2, c.Row), c.Value);
    }
    // The indicator column and a check-box column take nothing.
    Grid->PasteCellText(0, 2, "x");
    Grid->PasteCellText(3, 2, "x");
    Data->First();
    Data->MoveBy(1);
    EXPECT_EQ(Data->FieldByName("Done")->AsString(), "0");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    // Full-load cells are not editable: the paste is dropped.
    Grid->SetPageMode(false);
    Grid->PasteCellText(2, 1, "Dropped");
    Data->First();
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "Alpha");
    EXPECT_EQ(Grid->GetCellText(2, 1), "Alpha");
}

TEST_F(DBExFixture, PasteNeverOverwritesAPictureField)
{
    Data->Close();
    Data->AddFieldDef("Pic", db::TFieldType::ftGraphic);
    Data->ClearRecords();
    const std::string bytes = SmallBitmapBytes(4, 4, gui::clRed);
    Data->AppendRecord({int64_t(1), std::string("A"), int64_t(1), std::string("Y"), bytes});
    Data->Open();
    Grid->AddAllFields();
    Grid->PasteCellText(5, 1, "(GRAPHIC)");
    EXPECT_EQ(Data->FieldByName("Pic")->AsString(), bytes);
}

TEST_F(DBExFixture, ColumnFilterListsAndAutoSizeLimits)
{
    Grid->Columns()->Items(2)->Filter()->Add("Alpha");
    Grid->Columns()->Items(2)->Filter()->Add("Bravo");
    EXPECT_TRUE(Grid->GetColumnFilter(2));
    EXPECT_EQ(Grid->FilterList()->Text(), "Alpha\nBravo\n");
    int asked = -1;
    Grid->OnGetColumnFilter = [&](rtl::TObject*, int c, rtl::TStringList* list) {
        asked = c;
        if (c == 1) list->Add("1");
    };
    EXPECT_TRUE(Grid->GetColumnFilter(1)) << "without lines of its own the event fills the list";
    EXPECT_EQ(Grid->FilterList()->Text(), "1\n");
    EXPECT_FALSE(Grid->GetColumnFilter(4));
    EXPECT_EQ(asked, 4);

    gridio::TDBGridColumnItem* item = Grid->Columns()->Items(2);
    struct Case {
        int Min, Max, In, Out;
    };
    const Case cases[] = {{0, 0, 37, 37}, {60, 0, 37, 60}, {0, 30, 37, 30}, {20, 80, 37, 37}, {20, 80, 200, 80}};
    for (const Case& c : cases) {
        item->SetAutoMinSize(c.Min);
        item->SetAutoMaxSize(c.Max);
        int w = c.In;
        Grid->UpdateAutoColumnSize(2, w);
        EXPECT_EQ(w, c.Out) << c.Min << ".." << c.Max << " from " << c.In;
    }
    item->SetAutoMinSize(500);
    item->SetAutoMaxSize(0);
    Grid->AutoSizeColumns(false, 0);
    EXPECT_EQ(Grid->ColWidths(2), 500);
}

TEST_F(DBExFixture, AddingARowPostsTheRowBeingEdited)
{
    Grid->SetEditPostMode(TEditPostMode::epRow);
    bool allow = false;
    Grid->OnCanAddRow = [&](rtl::TObject*, bool& canAdd) { canAdd = allow; };
    Data->Edit();
    Data->FieldByName("Name")->SetAsString("Changed");
    EXPECT_FALSE(Grid->CanAddRow());
    EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit) << "a refused row posts nothing";
    allow = true;
    EXPECT_TRUE(Grid->CanAddRow());
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "Changed");
    // epCell posts per cell: adding a row leaves an edit alone.
    Grid->SetEditPostMode(TEditPostMode::epCell);
    Data->Edit();
    EXPECT_TRUE(Grid->CanAddRow());
    EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit);
    Data->Cancel();
}

// --- pictures in the binary cell stream -----------------------------------------------

namespace {

std::string ReadAll(rtl::TMemoryStream& s)
{
    s.SetPosition(0);
    return s.ReadAll();
}

// A 3 x 2 one-colour image as PNG bytes.
std::string PngBytes(gui::TColor color)
{
    gui::TBitmap bmp;
    bmp.SetSize(3, 2);
    bmp.Canvas()->Brush()->SetColor(color);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, 3, 2});
    gui::TPicture pic;
    pic.Assign(&bmp);
    const std::string file = ::testing::TempDir() + "/gridrest-" + std::to_string(::getpid()) + ".png";
    pic.SaveToFile(file);
    rtl::TFileStream f(file, rtl::fmOpenRead);
    const std::string bytes = f.ReadAll();
    std::filesystem::remove(file);
    return bytes;
}

// An icon file holding one PNG-coded 3 x 2 image.
std::string IcoBytes(gui::TColor color)
{
    const std::string png = PngBytes(color);
    std::string ico("\0\0\1\0\1\0", 6);
    const uint32_t size = static_cast<uint32_t>(png.size()), offset = 22;
    ico += std::string("\x03\x02\x00\x00\x01\x00\x20\x00", 8);
    ico.append(reinterpret_cast<const char*>(&size), 4);
    ico.append(reinterpret_cast<const char*>(&offset), 4);
    return ico + png;
}

struct PicFixture : ::testing::Test {
    gui::TForm Form{nullptr};
    grid::TExStringGrid* G = new grid::TExStringGrid(&Form);
    grid::TExStringGrid* H = new grid::TExStringGrid(&Form);
    std::string BmpFile = ::testing::TempDir() + "/gridrest-file-" + std::to_string(::getpid()) + ".bmp";
    PicFixture()
    {
        for (grid::TExStringGrid* g : {G, H}) {
            g->SetParent(&Form);
            g->SetColCount(6);
            g->SetRowCount(6);
        }
        gui::TBitmap bmp;
        bmp.SetSize(7, 5);
        bmp.Canvas()->Brush()->SetColor(gui::clBlue);
        bmp.Canvas()->FillRect(gui::TRect{0, 0, 7, 5});
        bmp.SaveToFile(BmpFile);
    }
    ~PicFixture() override { std::filesystem::remove(BmpFile); }
};

} // namespace

TEST_F(PicFixture, IconsPicturesAndFilePicturesTravelInTheCellStream)
{
    G->SetCells(1, 1, "icon");
    rtl::TMemoryStream ico;
    const std::string icoBytes = IcoBytes(gui::clRed);
    ico.WriteBuffer(icoBytes.data(), static_cast<int64_t>(icoBytes.size()));
    ico.SetPosition(0);
    G->CreateIcon(1, 1, grid::TCellHAlign::haRight, grid::TCellVAlign::vaBottom)->LoadFromStream(ico);
    gui::TPicture* pic = G->CreatePicture(2, 1, true, grid::TStretchMode::Stretch, 3, grid::TCellHAlign::haCenter,
                                          grid::TCellVAlign::vaCenter);
    pic->LoadFromFile(BmpFile);
    G->CreatePicture(3, 1, false, grid::TStretchMode::noStretch, 0, grid::TCellHAlign::haLeft,
                     grid::TCellVAlign::vaTop);   // created, still empty
    G->CreateFilePicture(1, 2, false, grid::TStretchMode::Shrink, 2, grid::TCellHAlign::haLeft,
                         grid::TCellVAlign::vaTop)->SetFilename(BmpFile);
    gui::TPicture mine;
    mine.LoadFromFile(BmpFile);
    G->AddPicture(2, 2, &mine, false, grid::TStretchMode::noStretch, 0, grid::TCellHAlign::haLeft,
                  grid::TCellVAlign::vaTop);      // the caller's: not saved

    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 3, 2}, s);
    s.SetPosition(0);
    gridio::LoadAtPointFromBinStream(*H, gui::TPoint{2, 3}, s);

    ASSERT_EQ(H->GetCellType(2, 3), grid::TCellType::ctIcon);
    grid::TCellGraphic* g = H->GetCellGraphic(2, 3);
    auto* icon = dynamic_cast<gui::TIcon*>(g->CellIcon());
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(g->CellCreated());
    EXPECT_EQ(icon->Width(), 3);
    EXPECT_EQ(icon->Pixel(1, 1), gui::clRed);
    EXPECT_EQ(g->CellHAlign(), grid::TCellHAlign::haRight);
    EXPECT_EQ(H->GetCellText(2, 3), "icon");

    gui::TPicture* back = H->GetPicture(3, 3);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Width(), 7);
    EXPECT_EQ(back->Height(), 5);
    EXPECT_EQ(back->Bitmap()->Canvas()->Pixels(3, 3), gui::clBlue);
    EXPECT_EQ(H->GetCellGraphic(3, 3)->CellIndex(), 3) << "padding";
    EXPECT_TRUE(H->GetCellGraphic(3, 3)->CellTransparent());
    // The empty picture stays empty: it does not take the picture read before.
    ASSERT_NE(H->GetPicture(4, 3), nullptr);
    EXPECT_EQ(H->GetPicture(4, 3)->Width(), 0);

    gridbase::TFilePicture* fp = H->GetFilePicture(2, 4);
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(fp->Filename(), BmpFile);
    EXPECT_EQ(fp->Width(), 7);
    EXPECT_EQ(fp->Height(), 5);
    EXPECT_EQ(H->GetCellType(3, 4), grid::TCellType::ctEmpty) << "an unowned picture is not saved";
}

TEST_F(PicFixture, FilePictureRecordBytesAndAMissingFile)
{
    rtl::TComponent owner(nullptr);
    auto* rec = new gridio::TGridFilePicIO(&owner);
    rec->Picture()->SetFilename("a.bmp");
    rtl::TMemoryStream s;
    rtl::TWriter(s).WriteRootComponent(rec);
    EXPECT_EQ(ReadAll(s), std::string("TPF0\x0ETGridFilePicIO\x00", 20) +
                              std::string("\x10" "Picture.Filename\x06\x05" "a.bmp", 24) + std::string("\x00\x00", 2));

    // A file that is gone by loading time: the name is kept.
    G->CreateFilePicture(1, 1, false, grid::TStretchMode::noStretch, 0, grid::TCellHAlign::haLeft,
                         grid::TCellVAlign::vaTop)->SetFilename(BmpFile);
    rtl::TMemoryStream cells;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 1, 1}, cells);
    std::filesystem::remove(BmpFile);
    cells.SetPosition(0);
    gridio::LoadAtPointFromBinStream(*H, gui::TPoint{1, 1}, cells);
    ASSERT_NE(H->GetFilePicture(1, 1), nullptr);
    EXPECT_EQ(H->GetFilePicture(1, 1)->Filename(), BmpFile);
}

TEST_F(PicFixture, PictureDataNamesItsGraphicAndDamageRaises)
{
    G->CreatePicture(1, 1, false, grid::TStretchMode::noStretch, 0, grid::TCellHAlign::haLeft,
                     grid::TCellVAlign::vaTop)->LoadFromFile(BmpFile);
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 1, 1}, s);
    const std::string bytes = ReadAll(s);
    const size_t at = bytes.find(std::string("\x0C" "Picture.Data\x0A", 14));
    ASSERT_NE(at, std::string::npos);
    // Outer length, inner size, then the graphic's class name and its bytes.
    EXPECT_EQ(bytes.substr(at + 14 + 8, 10), std::string("\x07" "TBitmapBM", 10));
    for (const size_t cut : {at + 14 + 8 + 3, at + 14 + 2}) {
        rtl::TMemoryStream damaged;
        damaged.WriteBuffer(bytes.data(), static_cast<int64_t>(cut));
        damaged.SetPosition(0);
        EXPECT_ANY_THROW(gridio::LoadAtPointFromBinStream(*H, gui::TPoint{1, 1}, damaged)) << cut;
    }
    std::string garbled = bytes;
    garbled.replace(at + 14 + 8 + 8, 2, "XY");   // "BM" no longer names a picture kind
    rtl::TMemoryStream bad;
    bad.WriteBuffer(garbled.data(), static_cast<int64_t>(garbled.size()));
    bad.SetPosition(0);
    EXPECT_ANY_THROW(gridio::LoadAtPointFromBinStream(*H, gui::TPoint{1, 1}, bad));
}

// --- pictures in the HTML export ------------------------------------------------------

TEST_F(PicFixture, HTMLExportWritesCellPicturesAsNumberedJPEGs)
{
    const std::string dir = ::testing::TempDir() + "/gridrest-html-" + std::to_string(::getpid()) + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    G->SetCells(1, 1, "pic");
    G->CreatePicture(1, 1, false, grid::TStretchMode::noStretch, 0, grid::TCellHAlign::haLeft,
                     grid::TCellVAlign::vaTop)->LoadFromFile(BmpFile);
    G->SetCells(2, 1, "bmp");
    gui::TBitmap* bmp = G->CreateBitmap(2, 1, false, grid::TCellHAlign::haLeft, grid::TCellVAlign::vaTop);
    bmp->SetSize(4, 6);
    bmp->Canvas()->Brush()->SetColor(gui::clRed);
    bmp->Canvas()->FillRect(gui::TRect{0, 0, 4, 6});
    G->SetCells(3, 1, "plain");

    gridio::TGridFiles files(*G);
    const std::string doc = files.SaveToHTMLString(dir);
    const std::string img1 = dir + "images/img1.jpg", img2 = dir + "images/img2.jpg";
    EXPECT_NE(doc.find(">pic<img src= \"file://" + img1 + "\"></td>"), std::string::npos) << doc;
    EXPECT_NE(doc.find(">bmp<img src= \"file://" + img2 + "\"></td>"), std::string::npos) << doc;
    EXPECT_NE(doc.find(">plain</td>"), std::string::npos);
    struct Case {
        std::string File;
        int W, H;
        gui::TColor Color;
    };
    for (const Case& c : {Case{img1, 7, 5, gui::clBlue}, Case{img2, 4, 6, gui::clRed}}) {
        gui::TJPEGImage jpeg;
        rtl::TFileStream in(c.File, rtl::fmOpenRead);
        jpeg.LoadFromStream(in);
        EXPECT_EQ(jpeg.Width(), c.W) << c.File;
        EXPECT_EQ(jpeg.Height(), c.H) << c.File;
        const gui::TColor p = jpeg.Pixels(1, 1);
        // JPEG is lossy: the colour's own channel stays high, the others low.
        const int want[3] = {int(c.Color & 0xFF), int((c.Color >> 8) & 0xFF), int((c.Color >> 16) & 0xFF)};
        const int got[3] = {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)};
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 40) << c.File << " channel " << k;
    }
    // Numbering starts again with each document; without ExportImages no pictures.
    std::filesystem::remove_all(dir + "images");
    G->HTMLSettings()->SetExportImages(false);
    EXPECT_EQ(files.SaveToHTMLString(dir).find("<img"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "images"));
    G->HTMLSettings()->SetExportImages(true);
    EXPECT_NE(files.SaveToHTMLString(dir).find("images/img1.jpg"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// --- persistent fields ----------------------------------------------------------------

namespace {

void FillThree(db::TMemDataSet& d)
{
    d.AddFieldDef("Id", db::TFieldType::ftInteger);
    d.AddFieldDef("Name", db::TFieldType::ftString, 20);
    d.AddFieldDef("Note", db::TFieldType::ftString, 20);
    d.AppendRecord({int64_t(1), std::string("Alpha"), std::string("first")});
    d.AppendRecord({int64_t(2), std::string("Bravo"), std::string("second")});
}

} // namespace

TEST(PersistentFields, OnlyTheyExistAndTheyOutliveTheOpenDataSet)
{
    rtl::TComponent owner(nullptr);
    auto* d = new db::TMemDataSet(&owner);
    FillThree(*d);
    EXPECT_TRUE(d->DefaultFields());
    db::TField* note = d->CreatePersistentField("Note", db::TFieldType::ftString, 20);
    db::TField* id = d->CreatePersistentField("Id", db::TFieldType::ftInteger);
    EXPECT_FALSE(d->DefaultFields());
    EXPECT_EQ(d->FindField("Note"), note) << "found while closed";
    EXPECT_ANY_THROW(d->CreatePersistentField("note", db::TFieldType::ftString, 20));
    d->Open();
    ASSERT_EQ(d->FieldCount(), 2);
    EXPECT_EQ(d->Fields(0), note);
    EXPECT_EQ(d->Fields(1), id);
    EXPECT_EQ(d->FindField("Name"), nullptr);
    EXPECT_EQ(note->AsString(), "first");
    EXPECT_EQ(id->AsInteger(), 1);
    // Editing through a subset of the fields keeps the columns no field shows.
    d->Edit();
    note->SetAsString("changed");
    d->Post();
    d->Close();
    EXPECT_EQ(d->FindField("Note"), note);
    EXPECT_EQ(d->FieldCount(), 2);
    db::TField* name = d->CreatePersistentField("Name", db::TFieldType::ftString, 20);
    d->Open();
    EXPECT_EQ(name->AsString(), "Alpha") << "the post kept the column no field showed";
    EXPECT_EQ(note->AsString(), "changed");
    d->Close();

    // A column the data lacks, or one of another type: the open fails and
    // the persistent fields stay as they were.
    struct Case {
        const char* Name;
        db::TFieldType Type;
        const char* Message;
    };
    for (const Case& c : {Case{"Gone", db::TFieldType::ftString, "Field 'Gone' not found"},
                          Case{"Wrong", db::TFieldType::ftInteger, "Type mismatch for field 'Wrong'"}}) {
        auto* e = new db::TMemDataSet(&owner);
        FillThree(*e);
        e->AddFieldDef("Wrong", db::TFieldType::ftString, 5);
        e->ClearRecords();
        db::TField* kept = e->CreatePersistentField("Id", db::TFieldType::ftInteger);
        e->CreatePersistentField(c.Name, c.Type, 5);
        try {
            e->Open();
            ADD_FAILURE() << c.Name << " opened";
        } catch (const std::exception& ex) {
            EXPECT_NE(std::string(ex.what()).find(c.Message), std::string::npos) << ex.what();
        }
        EXPECT_FALSE(e->Active());
        ASSERT_EQ(e->FieldCount(), 2);
        EXPECT_EQ(e->Fields(0), kept);
    }
}

TEST_F(DBExFixture, ColumnsBindToPersistentFieldsBeforeOpening)
{
    Data->Close();
    Grid->RemoveAllColumns();
    db::TField* name = Data->CreatePersistentField("Name", db::TFieldType::ftString, 20);
    Grid->SetColCount(2);
    gridio::TDBGridColumnItem* item = Grid->Columns()->Items(1);
    item->SetFieldName("Name");
    EXPECT_EQ(item->Field(), name) << "bound while the data set is closed";
    Data->Open();
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->GetCellText(1, 2), "Bravo");
    EXPECT_EQ(item->Field(), name);
}

TEST_F(DBExFixture, SelectAllAndColumnSizeLimits)
{
    Grid->SetOptions(Grid->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    // With record numbers the current row ends on the last selected row.
    Grid->Key('A', {gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(Grid->Selection().Top, 1);
    EXPECT_EQ(Grid->Selection().Bottom, 5);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Data->RecNo(), 5);
    // Without them it stays on the first.
    Grid->SetDataSetType(gridio::TDataSetType::dtNonSequenced);
    Data->First();
    Grid->Key('A', {gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Data->RecNo(), 1);

    gridio::TDBGridColumnItem* item = Grid->Columns()->Items(2);
    item->SetMinSize(40);
    item->SetMaxSize(90);
    int seen = -1;
    Grid->OnUpdateColumnSize = [&](rtl::TObject*, int, int& w) { seen = w; };
    for (const auto& [in, out] : {std::pair{10, 40}, std::pair{60, 60}, std::pair{300, 90}}) {
        int w = in;
        Grid->UpdateColumnSize(2, w);
        EXPECT_EQ(w, out) << in;
        EXPECT_EQ(seen, out) << "the event sees the limited width";
    }
}

TEST_F(DBExFixture, SwitchingToFullLoadRecalculatesTheFooter)
{
    Grid->FloatingFooter()->SetVisible(true);
    Grid->UpdateActive();
    const int foot = Grid->RowCount() - 1;
    Grid->GetCellProperties(1, foot)->SetCalcType(gridbase::TColumnCalcType::acSUM);
    Grid->SetPageMode(false);
    ASSERT_EQ(Grid->RowCount() - 1, foot);
    EXPECT_EQ(Grid->GetCellText(2, 5), "Echo");
    EXPECT_EQ(rtl::StrToFloat(Grid->GetCellText(1, foot)), 15.0) << "1 + 2 + 3 + 4 + 5";
}

TEST_F(PicFixture, LoadedIconAndPictureCellsPaint)
{
    Form.SetBounds(0, 0, 420, 200);
    G->SetDefaultRowHeight(30);
    H->SetDefaultRowHeight(30);
    H->SetBounds(0, 0, 400, 180);
    rtl::TMemoryStream ico;
    const std::string icoBytes = IcoBytes(gui::clRed);
    ico.WriteBuffer(icoBytes.data(), static_cast<int64_t>(icoBytes.size()));
    ico.SetPosition(0);
    G->CreateIcon(1, 1, grid::TCellHAlign::haLeft, grid::TCellVAlign::vaTop)->LoadFromStream(ico);
    G->CreatePicture(2, 1, false, grid::TStretchMode::Stretch, 0, grid::TCellHAlign::haLeft,
                     grid::TCellVAlign::vaTop)->LoadFromFile(BmpFile);
    rtl::TMemoryStream s;
    gridio::SaveRectToBinStream(*G, gui::TRect{1, 1, 2, 1}, s);
    s.SetPosition(0);
    gridio::LoadAtPointFromBinStream(*H, gui::TPoint{1, 1}, s);
    std::unique_ptr<gui::TBitmap> shot = H->GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((tectest::SnapshotDir() / "gridrest-stream-pictures.png").string());
    auto count = [&](const gui::TRect& r, gui::TColor c) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += shot->Canvas()->Pixels(x, y) == c;
        return n;
    };
    EXPECT_GT(count(H->CellRect(1, 1), gui::clRed), 0) << "the icon";
    EXPECT_GT(count(H->CellRect(2, 1), gui::clBlue), 100) << "the stretched picture";
    EXPECT_EQ(count(H->CellRect(3, 1), gui::clBlue), 0);
}
