// Cell graphics: the graphic record (angles, button sizes, copying,
// ownership, picture sizes), the grid's graphic access and measurement,
// and check boxes, radio buttons and radio groups.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "gridbase/BaseGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

// Counts live instances to tell which objects a graphic frees.
struct Counted : rtl::TObject {
    static inline int Alive = 0;
    Counted() { ++Alive; }
    ~Counted() override { --Alive; }
};

struct GraphicsFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    GraphicsFixture()
    {
        G->SetParent(&Form);
        G->SetColCount(5);
        G->SetRowCount(6);
    }
    bool AnyProperties()
    {
        for (int c = 0; c < G->ColCount(); ++c)
            for (int r = 0; r < G->RowCount(); ++r)
                if (G->FindCellProperties(c, r)) return true;
        return false;
    }
};

struct RecordingUndo : gridbase::ZAdiZaviDuraRavi {
    using ZAdiZaviDuraRavi::ZAdiZaviDuraRavi;
    std::vector<std::string> Changes;
    void RegisterChange(int c, int r, const std::string& o, const std::string& n) override
    {
        Changes.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + o + ">" + n);
    }
};

} // namespace

// --- the graphic record ----------------------------------------------------------

TEST(CellGraphic, NewRecordAnglesAndButtonSize)
{
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), TCellType::ctNone);
    EXPECT_EQ(static_cast<int>(TCellType::ctNone), 2);
    EXPECT_FALSE(g.CellCreated());
    for (auto [in, out] : std::vector<std::pair<int, int>>{{-90, 270}, {720, 360}, {360, 360}, {0, 0}, {-360, 0}}) {
        g.SetAngle(static_cast<int16_t>(in));
        EXPECT_EQ(g.CellAngle(), out) << in;
        EXPECT_EQ(g.CellType(), TCellType::ctRotated);
    }
    g.SetButton(80, 24, "Go", TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(g.CellIndex(), 24 * 65536 + 80);
    EXPECT_EQ(g.CellType(), TCellType::ctButton);
    EXPECT_EQ(g.CellText(), "Go");
}

TEST(CellGraphic, AssignCopiesParametersNotReferences)
{
    gui::TBitmap a, b;
    TCellGraphic src, dst;
    src.SetBitmap(&a, true, TCellHAlign::haRight, TCellVAlign::vaBottom);
    src.SetCellText("t");
    src.SetCellErrFrom(3);
    dst.SetCellBitmap(&b);
    dst.Assign(&src);
    EXPECT_EQ(dst.CellType(), TCellType::ctBitmap);
    EXPECT_TRUE(dst.CellTransparent());
    EXPECT_EQ(dst.CellHAlign(), TCellHAlign::haRight);
    EXPECT_EQ(dst.CellVAlign(), TCellVAlign::vaBottom);
    EXPECT_EQ(dst.CellText(), "t");
    EXPECT_EQ(dst.CellErrFrom(), 3);
    EXPECT_EQ(dst.CellBitmap(), &b);
}

TEST(CellGraphic, DestroyFreesOnlyOwnedKinds)
{
    struct Case {
        TCellType type;
        bool created, inIcon, freed;
    } cases[] = {
        {TCellType::ctBitmap, true, false, true},       {TCellType::ctBitmap, false, false, false},
        {TCellType::ctRadio, true, false, true},        {TCellType::ctPicture, true, false, true},
        {TCellType::ctFilePicture, true, false, true},  {TCellType::ctBitButton, true, false, true},
        {TCellType::ctIcon, true, true, true},          {TCellType::ctIcon, false, true, false},
        {TCellType::ctImages, false, false, true},      {TCellType::ctBalloon, false, false, true},
        {TCellType::ctInterface, true, false, false},   {TCellType::ctButton, true, false, false},
    };
    for (const Case& c : cases) {
        auto* obj = new Counted;
        {
            TCellGraphic g;
            g.SetCellType(c.type);
            g.SetCellCreated(c.created);
            if (c.inIcon) g.SetCellIcon(obj);
            else g.SetCellBitmap(obj);
        }
        EXPECT_EQ(Counted::Alive, c.freed ? 0 : 1) << static_cast<int>(c.type) << " created " << c.created;
        if (!c.freed) delete obj;
    }
}

TEST(CellGraphic, PictureSizeTable)
{
    gui::TPicture pic;
    gui::TBitmap bmp;
    bmp.SetSize(100, 50);
    pic.SetGraphic(&bmp);
    ASSERT_EQ(pic.Width(), 100);
    struct Case {
        TStretchMode mode;
        int cell, w, h;
    } cases[] = {
        {TStretchMode::noStretch, 60, 100, 50},
        {TStretchMode::Stretch, 60, 60, 60},
        {TStretchMode::StretchWithAspectRatio, 60, 60, 30},
        {TStretchMode::Shrink, 60, 60, 60},
        {TStretchMode::ShrinkWithAspectRatio, 60, 60, 30},
        {TStretchMode::noStretch, 200, 100, 50},
        {TStretchMode::Stretch, 200, 200, 200},
        {TStretchMode::StretchWithAspectRatio, 200, 200, 100},
        {TStretchMode::Shrink, 200, 100, 50},
        {TStretchMode::ShrinkWithAspectRatio, 200, 100, 50},
    };
    for (const Case& c : cases) {
        TCellGraphic g;
        g.SetPicture(&pic, false, c.mode, 0, TCellHAlign::haLeft, TCellVAlign::vaTop);
        const gui::TPoint s = g.GetPictureSize(c.cell, c.cell, false);
        EXPECT_EQ(s.X, c.w) << static_cast<int>(c.mode) << " in " << c.cell;
        EXPECT_EQ(s.Y, c.h) << static_cast<int>(c.mode) << " in " << c.cell;
    }
    // Padding comes off both sides' room.
    TCellGraphic g;
    g.SetPicture(&pic, false, TStretchMode::Stretch, 10, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(g.GetPictureSize(60, 40, true).X, 50);
    EXPECT_EQ(g.GetPictureSize(60, 40, true).Y, 30);
}

// --- graphic access -------------------------------------------------------------

TEST_F(GraphicsFixture, TypesOfEmptyForeignAndRowCheckCells)
{
    EXPECT_EQ(G->GetCellType(-1, 0), TCellType::ctEmpty);
    EXPECT_EQ(G->GetCellType(1, 1), TCellType::ctEmpty);
    // A foreign object in the graphic slot is no graphic.
    Counted foreign;
    G->SetCellGraphic(2, 2, &foreign);
    EXPECT_EQ(G->GetCellType(2, 2), TCellType::ctEmpty);
    EXPECT_EQ(G->GetCellGraphic(2, 2), nullptr);
    G->FindCellProperties(2, 2)->SetGraphicObject(nullptr);

    G->AddCheckBox(0, 3, true, false);
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(G->GetCellType(0, 3), TCellType::ctRowCheckBox);
    EXPECT_FALSE(G->GetCellGraphic(0, 3)->CellBoolean());
    G->SetRowSelect(3, true);
    EXPECT_TRUE(G->GetCellGraphic(0, 3)->CellBoolean());
    EXPECT_TRUE(G->HasCheckBox(0, 5));
    bool state = true;
    EXPECT_TRUE(G->GetCheckBoxState(0, 5, state));
    EXPECT_FALSE(state);
    // Removing a row check box detaches without freeing the shared record.
    EXPECT_TRUE(G->RemoveCellGraphic(0, 4));
    EXPECT_EQ(G->GetCellType(0, 4), TCellType::ctRowCheckBox);
}

TEST_F(GraphicsFixture, QueriesCreateNoPropertyRecords)
{
    for (int i = 0; i < 10000; ++i) {
        const int c = i % G->ColCount(), r = i % G->RowCount();
        (void)G->GetCellGraphic(c, r);
        (void)G->GetCellType(c, r);
        (void)G->GetCellGraphicSize(c, r);
    }
    EXPECT_FALSE(AnyProperties());
}

TEST_F(GraphicsFixture, CreateOnEmptyCellKeepsItEmptyAndReplaces)
{
    TCellGraphic* g = G->CreateCellGraphic(1, 1);
    EXPECT_EQ(G->Cells(1, 1), "");
    EXPECT_EQ(g->CellType(), TCellType::ctNone);
    EXPECT_EQ(G->GetCellGraphic(1, 1), g);
    TCellGraphic* h = G->CreateCellGraphic(1, 1);
    EXPECT_EQ(G->GetCellGraphic(1, 1), h);
    EXPECT_TRUE(G->RemoveCellGraphic(1, 1));
    EXPECT_FALSE(G->RemoveCellGraphic(1, 1));
    EXPECT_THROW(G->CreateCellGraphic(50, 1), rtl::Exception);
}

TEST_F(GraphicsFixture, BitmapMeasuresZeroBesideTextButFullInPrint)
{
    gui::TBitmap bmp;
    bmp.SetSize(16, 12);
    G->CreateCellGraphic(1, 1)->SetBitmap(&bmp, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->SetCells(1, 1, "text");
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).X, 0);
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).Y, 0);
    EXPECT_EQ(G->GetPrintGraphicSize(1, 1, 100, 100, 1.0).X, 16);
    EXPECT_EQ(G->GetPrintGraphicSize(1, 1, 100, 100, 1.0).Y, 12);
    G->SetCells(1, 1, "");
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).X, 16);
    // Beside the text the width counts, under it the height.
    G->GetCellGraphic(1, 1)->SetBitmap(&bmp, false, TCellHAlign::haBeforeText, TCellVAlign::vaUnderText);
    G->SetCells(1, 1, "text");
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).X, 16);
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).Y, 12);
    // The sort key follows the bitmap object.
    EXPECT_EQ(G->GetCellImageKey(1, 1), reinterpret_cast<intptr_t>(&bmp));
    EXPECT_EQ(G->GetCellImageKey(2, 1), -1);
}

TEST_F(GraphicsFixture, SizesOfControlsAndButtons)
{
    G->AddCheckBox(1, 1, false, false);
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).X, G->ControlLook()->CheckSize());
    G->AddRadioButton(1, 2, false);
    EXPECT_EQ(G->GetCellGraphicSize(1, 2).Y, G->ControlLook()->RadioSize());
    G->CreateCellGraphic(2, 1)->SetButton(80, 24, "Go", TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(G->GetCellGraphicSize(2, 1).X, 80);
    EXPECT_EQ(G->GetCellGraphicSize(2, 1).Y, 24);
    G->SetCells(2, 1, "x");
    EXPECT_EQ(G->GetCellGraphicSize(2, 1).Y, 0);
    // Full width takes the cell's width.
    G->CreateCellGraphic(3, 1)->SetCheckBox(true, false, true, TCellHAlign::haFull, TCellVAlign::vaTop);
    EXPECT_EQ(G->GetCellGraphicSize(3, 1).X, G->CellRect(3, 1).Right - G->CellRect(3, 1).Left);
    // Radio group stacked: one row of at least 16 px per caption.
    rtl::TStringList* sl = G->CreateRadio(4, 1, 1, 0);
    sl->Add("one");
    sl->Add("two");
    sl->Add("three");
    G->GetCellGraphic(4, 1)->SetCellBoolean(false);
    EXPECT_GE(G->GetCellGraphicSize(4, 1).Y, 48);
}

// --- check boxes --------------------------------------------------------------------

TEST_F(GraphicsFixture, AddCheckBoxTextTable)
{
    struct Case {
        std::string before;
        bool state, data;
        std::string after;
        bool checked;
    } cases[] = {
        {"", true, true, "Y", true},   {"", false, true, "N", false}, {"N", true, true, "N", false},
        {"Y", false, true, "Y", true}, {"y", true, true, "Y", true},  {"abc", true, false, "abc", true},
        {"", false, false, "", false},
    };
    for (const Case& c : cases) {
        G->SetCells(1, 1, c.before);
        G->AddCheckBox(1, 1, c.state, c.data);
        EXPECT_EQ(G->Cells(1, 1), c.after) << c.before;
        EXPECT_EQ(G->IsChecked(1, 1), c.checked) << c.before;
        EXPECT_EQ(G->GetCellType(1, 1), c.data ? TCellType::ctDataCheckBox : TCellType::ctCheckBox);
    }
    EXPECT_THROW(G->AddCheckBox(5, 1, true, false), rtl::Exception);
    EXPECT_THROW(G->AddRadioButton(1, 6, true), rtl::Exception);
    // Flat, before the text, and placed by the grid's vertical alignment.
    G->SetVAlignment(TVAlignment::vtaBottom);
    G->AddCheckBox(2, 2, false, false);
    EXPECT_TRUE(G->GetCellGraphic(2, 2)->CellTransparent());
    EXPECT_EQ(G->GetCellGraphic(2, 2)->CellHAlign(), TCellHAlign::haBeforeText);
    EXPECT_EQ(G->GetCellGraphic(2, 2)->CellVAlign(), TCellVAlign::vaBottom);
}

TEST_F(GraphicsFixture, ToggleReadOnlyCellAndUndo)
{
    auto* undo = new RecordingUndo(&Form);
    G->SetUndoRedo(undo);
    G->SetCells(1, 1, "maybe");
    G->AddCheckBox(1, 1, false, true);
    EXPECT_EQ(G->Cells(1, 1), "N");
    G->SetCells(1, 1, "maybe");
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = false; };
    EXPECT_FALSE(G->ToggleCellCheck(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "maybe");
    EXPECT_TRUE(G->ToggleCheckBox(1, 1));
    EXPECT_EQ(G->Cells(1, 1), "Y");
    G->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(G->ToggleCellCheck(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "N");
    ASSERT_EQ(undo->Changes.size(), 2u);
    EXPECT_EQ(undo->Changes[0], "1,1:N>Y");
    EXPECT_EQ(undo->Changes[1], "1,1:Y>N");
    // A plain check box keeps its state in the record.
    G->AddCheckBox(2, 1, false, false);
    EXPECT_TRUE(G->ToggleCheckBox(2, 1));
    EXPECT_TRUE(G->IsChecked(2, 1));
    EXPECT_FALSE(G->ToggleCheckBox(3, 1));
    G->SetUndoRedo(nullptr);
}

TEST_F(GraphicsFixture, RowCheckBoxToggleFlipsRowFlagNotText)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MouseActions()->SetHotmailRowSelect(true);
    G->SetCells(0, 2, "mine");
    EXPECT_TRUE(G->ToggleCheckBox(0, 2));
    EXPECT_EQ(G->Cells(0, 2), "mine");
    EXPECT_TRUE(G->GetRowSelect(2));
    EXPECT_TRUE(G->IsChecked(0, 2));
    EXPECT_TRUE(G->ToggleCheckBox(0, 2));
    EXPECT_FALSE(G->GetRowSelect(2));
    EXPECT_EQ(G->Cells(0, 2), "mine");
    EXPECT_TRUE(G->SetCheckBoxState(0, 3, true));
    EXPECT_TRUE(G->GetRowSelect(3));
}

TEST_F(GraphicsFixture, CheckAllAndColumns)
{
    G->AddCheckBoxColumn(2, false, true);
    EXPECT_FALSE(G->HasCheckBox(2, 0));
    EXPECT_TRUE(G->HasDataCheckBox(2, 5));
    G->CheckAll(2);
    for (int r = 1; r < 6; ++r) EXPECT_EQ(G->Cells(2, r), "Y");
    G->UnCheckAll(2);
    for (int r = 1; r < 6; ++r) EXPECT_FALSE(G->IsChecked(2, r));
    G->RemoveCheckBoxColumn(2);
    for (int r = 1; r < 6; ++r) EXPECT_EQ(G->GetCellType(2, r), TCellType::ctEmpty);
    // Remove leaves other kinds.
    G->AddRadioButton(3, 1, true);
    G->RemoveCheckBox(3, 1);
    EXPECT_TRUE(G->HasRadioButton(3, 1));
}

TEST_F(GraphicsFixture, RadioButtonColumnKeepsOneOn)
{
    G->AddRadioButtonColumn(1);
    EXPECT_EQ(G->GetRadioButtonColumnIndex(1), -1);
    EXPECT_TRUE(G->ToggleCellRadioButton(1, 2, false));
    EXPECT_EQ(G->GetRadioButtonColumnIndex(1), 2);
    EXPECT_TRUE(G->ToggleCellRadioButton(1, 4, false));
    EXPECT_FALSE(G->IsRadioButtonChecked(1, 2));
    EXPECT_EQ(G->GetRadioButtonColumnIndex(1), 4);
    // Already on: stays on.
    EXPECT_TRUE(G->ToggleCellRadioButton(1, 4, false));
    EXPECT_TRUE(G->IsRadioButtonChecked(1, 4));
    G->SetRadioButtonColumnIndex(1, 3);
    EXPECT_EQ(G->GetRadioButtonColumnIndex(1), 3);
    G->SetRadioButtonColumnIndex(1, -1);
    EXPECT_EQ(G->GetRadioButtonColumnIndex(1), -1);
    EXPECT_FALSE(G->ToggleCellRadioButton(2, 2, false));
}

TEST_F(GraphicsFixture, RadioGroupToggleWrapsAndDataGroups)
{
    rtl::TStringList* sl = G->CreateRadio(1, 1, 0, 2);
    sl->Add("a");
    sl->Add("b");
    sl->Add("c");
    G->ToggleRadio(1, 1, false);
    int idx = -5;
    EXPECT_TRUE(G->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(G->Cells(1, 1), "a");
    EXPECT_EQ(G->GetCellGraphic(1, 1)->CellVar().AsInteger(), 0);
    // A data group takes its choice from the text.
    rtl::TStringList caps{"x", "y", "z"};
    G->AddRadio(2, 1, 0, -1, &caps);
    G->SetCells(2, 1, "nothing");
    G->ToggleRadio(2, 1, false);
    EXPECT_EQ(G->Cells(2, 1), "x");
    G->ToggleRadio(2, 1, false);
    EXPECT_EQ(G->Cells(2, 1), "y");
    EXPECT_TRUE(G->GetRadioIdx(2, 1, idx));
    EXPECT_EQ(idx, -1);
    // AddRadio leaves the caller's list alone when removed.
    G->RemoveRadio(2, 1);
    EXPECT_EQ(caps.Count(), 3);
    // Not a group: SetRadioIdx refuses.
    G->AddRadioButton(3, 1, true);
    EXPECT_FALSE(G->SetRadioIdx(3, 1, 2));
    EXPECT_TRUE(G->IsRadioButtonChecked(3, 1));
}

TEST_F(GraphicsFixture, PreciseCheckBoxGeometry)
{
    G->SetColWidths(1, 60);
    G->SetRowHeights(1, 30);
    G->AddCheckBox(1, 1, false, false);
    const gui::TRect cell = G->CellRect(1, 1);
    EXPECT_TRUE(G->IsInCheckBox(1, 1, cell.Right - 1, cell.Bottom - 1));  // whole cell
    G->MouseActions()->SetPreciseCheckBoxCheck(true);
    const int s = G->ControlLook()->CheckSize();
    struct Case {
        TCellVAlign va;
        TAlignment ha;
        int x, y;
        bool inside;
    } cases[] = {
        {TCellVAlign::vaTop, TAlignment::taLeftJustify, cell.Left + 2, cell.Top + 2, true},
        {TCellVAlign::vaTop, TAlignment::taLeftJustify, cell.Left + 2 + s, cell.Top + 2, false},
        {TCellVAlign::vaTop, TAlignment::taLeftJustify, cell.Left + 1, cell.Top + 2, false},
        {TCellVAlign::vaBottom, TAlignment::taLeftJustify, cell.Left + 2, cell.Bottom - 3, true},
        {TCellVAlign::vaBottom, TAlignment::taLeftJustify, cell.Left + 2, cell.Bottom - s - 3, false},
        {TCellVAlign::vaCenter, TAlignment::taCenter, cell.Left + (60 - s) / 2, cell.Top + (30 - s) / 2, true},
        {TCellVAlign::vaCenter, TAlignment::taRightJustify, cell.Right - s - 2, cell.Top + 10, true},
        {TCellVAlign::vaCenter, TAlignment::taRightJustify, cell.Left + 2, cell.Top + 10, false},
    };
    for (const Case& c : cases) {
        G->GetCellGraphic(1, 1)->SetCellVAlign(c.va);
        G->SetCellAlignment(1, 1, c.ha);
        EXPECT_EQ(G->IsInCheckBox(1, 1, c.x, c.y), c.inside)
            << static_cast<int>(c.va) << "/" << static_cast<int>(c.ha) << " at " << c.x << "," << c.y;
    }
    EXPECT_FALSE(G->IsInCheckBox(2, 1, cell.Left + 70, cell.Top + 2));
}

// --- cell-attached objects ----------------------------------------------------------

namespace {

struct CountedBitmap : gui::TBitmap {
    static inline int Alive = 0;
    CountedBitmap() { ++Alive; }
    ~CountedBitmap() override { --Alive; }
};

} // namespace

TEST_F(GraphicsFixture, OneObjectPerCellAndFamilies)
{
    gui::TPicture pic;
    G->AddPicture(1, 1, &pic, false, TStretchMode::Stretch, 0, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(G->GetPicture(1, 1), &pic);
    G->AddComment(1, 1, "note");
    EXPECT_EQ(G->GetPicture(1, 1), nullptr);
    G->RemovePicture(1, 1);  // another family: nothing happens
    std::string comment;
    EXPECT_TRUE(G->IsComment(1, 1, comment));
    EXPECT_EQ(comment, "note");
    EXPECT_EQ(G->GetCellGraphic(1, 1)->CellAngle(), static_cast<int>(gui::clNone));
    G->RemoveComment(1, 1);
    EXPECT_EQ(G->GetCellType(1, 1), TCellType::ctEmpty);

    // Scroll bar readers answer -1 elsewhere.
    EXPECT_EQ(G->GetScrollPosition(2, 2), -1);
    EXPECT_EQ(G->GetScrollProp(2, 2).PageSize, -1);
    EXPECT_EQ(G->GetScrollProp(2, 2).Range, -1);
    EXPECT_EQ(G->GetScrollPosition(-1, -1), -1);
    G->AddScrollBar(2, 2, false);
    EXPECT_EQ(G->GetScrollProp(2, 2).Range, 100);
    G->SetScrollPosition(2, 2, 40);
    G->SetScrollProp(2, 2, {10, 200});
    EXPECT_EQ(G->GetScrollPosition(2, 2), 40);
    EXPECT_EQ(G->GetScrollProp(2, 2).Range, 200);

    // Balloons keep title and text in an owned list.
    G->AddBalloon(3, 3, "T", "body", TBalloonIcon::biWarning);
    std::string t, b;
    TBalloonIcon icon = TBalloonIcon::biNone;
    EXPECT_TRUE(G->IsBalloon(3, 3, t, b, icon));
    EXPECT_EQ(t + "|" + b, "T|body");
    EXPECT_EQ(icon, TBalloonIcon::biWarning);

    // Image families attach nothing without an image list.
    G->AddImageIdx(4, 4, 3, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(G->GetCellType(4, 4), TCellType::ctEmpty);
}

TEST_F(GraphicsFixture, MarkersOnProgressAndAlone)
{
    G->SetAutoNumAlign(true);
    G->AddProgress(1, 1, 0xFF0000, 0xFFFFFF);
    EXPECT_EQ(G->GetCellGraphic(1, 1)->CellErrLen(), 100);
    EXPECT_EQ(G->FindCellProperties(1, 1)->Alignment(), TAlignment::taRightJustify);
    G->AddMarker(1, 1, 2, 3);
    int pos = -1, len = -1;
    G->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(len, 3);
    G->RemoveMarker(1, 1);
    EXPECT_EQ(G->GetCellType(1, 1), TCellType::ctProgress);
    G->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos + len, 0);
    G->AddMarker(2, 1, 1, 1);
    EXPECT_NE(G->GetCellGraphic(2, 1), nullptr);
    G->RemoveMarker(2, 1);
    EXPECT_EQ(G->GetCellGraphic(2, 1), nullptr);
}

TEST_F(GraphicsFixture, OwnedObjectsFreedCallersKept)
{
    CountedBitmap* mine = new CountedBitmap;
    G->AddBitmap(1, 1, mine, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->RemoveBitmap(1, 1);
    EXPECT_EQ(CountedBitmap::Alive, 1);
    G->AddBitmap(1, 1, mine, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->Clear();
    EXPECT_EQ(CountedBitmap::Alive, 1);
    delete mine;

    // Created objects belong to the cell: freed on removal, replacement and Clear.
    rtl::TStringList* sl = G->CreateRadio(1, 2, 0, 0);
    sl->Add("a");
    G->CreateBitmap(2, 2, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->CreateBitButton(3, 2, 40, 20, "b", TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->AddComment(3, 2, "replaces the button");
    G->RemoveRadio(1, 2);
    G->Clear();
    EXPECT_EQ(G->GetCellGraphic(2, 2), nullptr);
    // An owned object goes on removal, on replacement and on Clear.
    auto own = [&](int c, int r) {
        TCellGraphic* g = G->CreateCellGraphic(c, r);
        g->SetBitmap(new CountedBitmap, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
        g->SetCellCreated(true);
    };
    own(1, 1);
    own(2, 2);
    own(3, 3);
    EXPECT_EQ(CountedBitmap::Alive, 3);
    G->RemoveBitmap(1, 1);
    EXPECT_EQ(CountedBitmap::Alive, 2);
    G->AddComment(2, 2, "x");
    EXPECT_EQ(CountedBitmap::Alive, 1);
    G->Clear();
    EXPECT_EQ(CountedBitmap::Alive, 0);
    // Removed rows take their owned objects with them.
    own(1, 2);
    own(2, 3);
    G->RemoveRows(2, 2);
    EXPECT_EQ(CountedBitmap::Alive, 0);
    own(1, 2);
    G->ClearRows(2, 1);
    EXPECT_EQ(CountedBitmap::Alive, 0);
}

TEST_F(GraphicsFixture, ObjectsFollowTheirRows)
{
    for (int r = 1; r < 6; ++r) G->AddComment(1, r, "row" + std::to_string(r));
    TCellGraphic* third = G->GetCellGraphic(1, 3);
    G->InsertRows(2, 1);
    EXPECT_EQ(G->GetCellGraphic(1, 4), third);
    EXPECT_EQ(G->GetCellGraphic(1, 2), nullptr);
    G->RemoveRows(1, 2);
    EXPECT_EQ(G->GetCellGraphic(1, 2), third);
    G->HideRow(1);
    EXPECT_EQ(G->GetCellGraphic(1, 1), third);
    G->UnHideRowsAll();
    EXPECT_EQ(G->GetCellGraphic(1, 2), third);
    G->MoveRow(2, 4);
    EXPECT_EQ(G->GetCellGraphic(1, 4), third);
    std::string comment;
    EXPECT_TRUE(G->IsComment(1, 4, comment));
    EXPECT_EQ(comment, "row3");
}

TEST_F(GraphicsFixture, ButtonsRotatedAndControlRect)
{
    G->AddButton(1, 1, 40, 18, "Go", TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_TRUE(G->HasButton(1, 1));
    EXPECT_TRUE(G->HasClickControl(1, 1));
    G->GetCellGraphic(1, 1)->SetCellValue(3 + 65536 * 2);
    gui::TRect r{};
    G->GetCellControlRect(1, 1, r);
    const gui::TRect cell = G->CellRect(1, 1);
    EXPECT_EQ(r.Left, cell.Left + 3);
    EXPECT_EQ(r.Top, cell.Top + 2);
    EXPECT_EQ(r.Right - r.Left, 40);
    EXPECT_EQ(r.Bottom - r.Top, 18);
    G->SetButtonText(1, 1, "Stop");
    EXPECT_EQ(G->GetButtonText(1, 1), "Stop");
    G->AddBitButton(1, 2, 40, 18, "B", nullptr, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_FALSE(G->HasClickControl(1, 2));
    G->RemoveButton(1, 2);
    EXPECT_FALSE(G->HasButton(1, 2));

    G->AddRotated(2, 1, -90, "up");
    int angle = 0;
    EXPECT_TRUE(G->IsRotated(2, 1, angle));
    EXPECT_EQ(angle, 270);
    EXPECT_EQ(G->Cells(2, 1), "up");
    G->AddComment(2, 2, "c");
    G->SetRotated(2, 2, 720);  // keeps the graphic, turns it rotated
    EXPECT_TRUE(G->IsRotated(2, 2, angle));
    EXPECT_EQ(angle, 360);
    EXPECT_EQ(G->GetCellGraphic(2, 2)->CellText(), "c");
}

TEST_F(GraphicsFixture, InterfacedCellMeasuresThroughItsObject)
{
    struct Drawable : rtl::TObject, ICellDrawable {
        int Width() const override { return 33; }
        int Height() const override { return 11; }
        void Draw(gui::TCanvas*, const gui::TRect&, int, int, bool) override {}
    } d;
    G->AddInterfacedCell(1, 1, &d);
    EXPECT_EQ(G->GetInterfacedCell(1, 1), &d);
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).X, 33);
    EXPECT_EQ(G->GetCellGraphicSize(1, 1).Y, 11);
    G->RemoveInterfacedCell(1, 1);
    EXPECT_EQ(G->GetInterfacedCell(1, 1), nullptr);
}

TEST_F(GraphicsFixture, CheckStatesWithHiddenRows)
{
    G->AddCheckBox(1, 1, false, false);
    G->AddCheckBox(1, 2, true, false);
    G->AddCheckBox(1, 3, false, false);
    G->AddCheckBox(1, 4, true, true);
    G->HideRow(2);
    // Reading takes real rows: the hidden row keeps its state.
    bool state = false;
    EXPECT_TRUE(G->GetCheckBoxState(1, 2, state));
    EXPECT_TRUE(state);
    EXPECT_TRUE(G->GetCheckBoxState(1, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(G->GetCheckBoxState(1, 4, state));
    EXPECT_TRUE(state);
    // Writing takes displayed rows: displayed row 2 is real row 3.
    EXPECT_TRUE(G->SetCheckBoxState(1, 2, true));
    EXPECT_TRUE(G->GetCheckBoxState(1, 3, state));
    EXPECT_TRUE(state);
    G->UnHideRowsAll();
    EXPECT_TRUE(G->IsChecked(1, 2));
    EXPECT_TRUE(G->IsChecked(1, 3));
    EXPECT_FALSE(G->IsChecked(1, 1));
}
