// The grid base class's property store, merged cells and merge-aware text:
// the merge table of a 3 x 2 block, queries that create nothing, the
// display-text events, resets that free what they empty, and cells outside
// the grid.
#include <gtest/gtest.h>

#include <vector>

#include "gridbase/BaseGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TypInfo.h"

using namespace gridbase;
using gui::TPoint;
using gui::TRect;

namespace {

struct GridFixture : testing::Test {
    gui::TForm Form{nullptr};
    TBaseGrid* G;
    GridFixture()
    {
        G = new TBaseGrid(&Form);
        G->SetColCount(8);
        G->SetRowCount(6);
    }
};

// A graphic object whose class name the grid frees by.
struct TCellGraphic : rtl::TObject {
    static int Alive;
    TCellGraphic() { ++Alive; }
    ~TCellGraphic() override { --Alive; }
    std::string ClassName() const override { return "TCellGraphic"; }
};
int TCellGraphic::Alive = 0;

} // namespace

TEST_F(GridFixture, MergeTableOfTheThreeByTwoBlock)
{
    G->SetRawCellText(2, 1, "base");
    G->SetRawCellText(4, 2, "hidden");
    G->MergeCells(2, 1, 3, 2);

    EXPECT_TRUE(G->IsBaseCell(2, 1));
    EXPECT_EQ(G->CellSpan(2, 1), TPoint(2, 1));
    TCellProperties* corner = G->FindCellProperties(4, 2);
    ASSERT_NE(corner, nullptr);
    EXPECT_FALSE(corner->IsBaseCell());
    EXPECT_EQ(TPoint(corner->CellSpanX(), corner->CellSpanY()), TPoint(2, 1));
    EXPECT_EQ(G->BaseCell(4, 2), TPoint(2, 1));
    EXPECT_EQ(G->CellExt(3, 1), TPoint(1, 1));
    EXPECT_EQ(G->CellExt(2, 1), TPoint(2, 1));
    EXPECT_EQ(G->FullCell(3, 2), TRect(2, 1, 4, 2));
    int bc = 0, br = 0;
    EXPECT_FALSE(G->ResolveBaseCell(4, 2, bc, br));
    EXPECT_EQ(TPoint(bc, br), TPoint(2, 1));
    EXPECT_TRUE(G->ResolveBaseCell(2, 1, bc, br));

    // Text goes to and comes from the base cell; covered cells keep their own.
    EXPECT_EQ(G->GetCellText(4, 2), "base");
    G->SetCellText(3, 2, "x");
    EXPECT_EQ(G->GetRawCellText(2, 1), "x");
    EXPECT_EQ(G->GetRawCellText(3, 2), "");
    EXPECT_EQ(G->GetRawCellText(4, 2), "hidden");

    for (int c = 2; c <= 4; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_TRUE(G->IsMergedCell(c, r));
            EXPECT_EQ(G->IsMergedNonBaseCell(c, r), !(c == 2 && r == 1));
            EXPECT_TRUE(G->IsXMergedCell(c, r));
            EXPECT_TRUE(G->IsYMergedCell(c, r));
        }
    EXPECT_FALSE(G->IsMergedCell(5, 1));
    EXPECT_EQ(G->MinRowSpan(1), 1);
    EXPECT_EQ(G->MaxRowSpan(1), 1);
    EXPECT_EQ(G->MinRowSpan(0), G->RowCount());
    EXPECT_EQ(G->MaxRowSpan(0), 0);

    // The block's rectangle is the union of its cells' rectangles.
    const TRect base = G->CalcCellRect(2, 1), last = G->CalcCellRect(4, 2);
    EXPECT_EQ(G->CellRect(3, 2), TRect(base.Left, base.Top, last.Right, last.Bottom));
    EXPECT_EQ(G->CellSize(4, 1), TPoint(last.Right - base.Left, last.Bottom - base.Top));

    // Splitting from a covered cell splits the whole block; texts stay.
    G->SplitCells(4, 2);
    for (int c = 2; c <= 4; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_FALSE(G->IsMergedCell(c, r));
            EXPECT_TRUE(G->IsBaseCell(c, r));
            EXPECT_EQ(G->BaseCell(c, r), TPoint(c, r));
        }
    EXPECT_EQ(G->GetCellText(4, 2), "hidden");
}

TEST_F(GridFixture, SpansBelowOneAndOneByOneChangeNothing)
{
    G->MergeCells(1, 1, 0, 3);
    G->MergeCells(1, 1, 3, 0);
    EXPECT_FALSE(G->HasCellProperties(1, 1));
    G->MergeCells(1, 1, 1, 1);
    EXPECT_TRUE(G->HasCellProperties(1, 1));
    EXPECT_FALSE(G->IsMergedCell(1, 1));
    EXPECT_EQ(G->CellSpan(1, 1), TPoint(0, 0));
    EXPECT_EQ(G->FullCell(1, 1), TRect(1, 1, 1, 1));
    // Splitting a plain cell only leaves properties behind.
    G->SplitCells(5, 5);
    EXPECT_TRUE(G->HasCellProperties(5, 5));
    EXPECT_FALSE(G->IsMergedCell(5, 5));
}

TEST_F(GridFixture, QueriesCreateNothing)
{
    const long before = TCellProperties::LiveCount();
    G->SetRawCellText(3, 3, "t");
    for (int c = 0; c < G->ColCount(); ++c)
        for (int r = 0; r < G->RowCount(); ++r) {
            G->GetCellText(c, r);
            G->BaseCell(c, r);
            G->CellSpan(c, r);
            G->CellExt(c, r);
            G->FullCell(c, r);
            G->IsBaseCell(c, r);
            G->IsMergedCell(c, r);
            G->IsXMergedCell(c, r);
            G->CellRect(c, r);
            G->GetCellObject(c, r);
            G->GetCellGraphic(c, r);
        }
    G->RowSpanIdentical(1, 2);
    G->ColSpanIdentical(1, 2);
    G->SetCellText(3, 3, "u");
    EXPECT_EQ(TCellProperties::LiveCount(), before);
    EXPECT_FALSE(G->HasCellProps());
    EXPECT_EQ(G->GetCellText(3, 3), "u");
}

TEST_F(GridFixture, NewPropertiesCarryTheGridLook)
{
    G->Font()->SetName("Arial");
    G->SetColor(0x00ABCDEF);
    G->SetWordWrap(false);
    TCellProperties* p = G->GetCellProperties(1, 2);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(G->HasCellProps());
    EXPECT_EQ(p->FontName(), "Arial");
    EXPECT_EQ(p->BrushColor(), 0x00ABCDEFu);
    EXPECT_EQ(p->BrushColorTo(), gui::clNone);
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(TPoint(p->OwnerCol(), p->OwnerRow()), TPoint(1, 2));
    EXPECT_EQ(G->GetCellProperties(1, 2), p);  // created once
}

TEST_F(GridFixture, DisplayTextEventsBelowNormalRowCount)
{
    std::vector<TPoint> seen;
    G->OnGetDisplText = [&](rtl::TObject*, int c, int r, std::string& v) {
        seen.push_back(TPoint(c, r));
        v += "!";
    };
    G->SetRawCellText(1, 1, "a");
    EXPECT_EQ(G->GetCellText(1, 1), "a");  // NormalRowCount 0: no events
    EXPECT_TRUE(seen.empty());
    G->SetNormalRowCount(3);
    EXPECT_EQ(G->GetCellText(1, 1), "a!");
    EXPECT_EQ(G->GetCellText(1, 3), "");  // row 3 is not below 3
    G->MergeCells(0, 0, 2, 2);
    G->GetCellText(1, 1);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back(), TPoint(0, 0));  // the events see the base cell

    // A wide-text handler makes every text "|\"-encoded, plain text included.
    G->OnGetDisplWideText = [](rtl::TObject*, int, int, std::u16string& w) { w += u"\u4E2D"; };
    G->SetRawCellText(5, 2, "p");
    EXPECT_EQ(G->GetCellText(5, 2), EncodePrefixedWideText("p!\xE4\xB8\xAD"));
    G->SetRawCellText(5, 1, EncodePrefixedWideText("\xC3\xA9"));
    // The "!" lands after the encoded pairs, an odd last character that decoding drops.
    EXPECT_EQ(DecodePrefixedWideText(G->GetCellText(5, 1)), "\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(G->GetCellText(5, 4), "");  // below NormalRowCount only
}

TEST_F(GridFixture, HiddenLastRowWrites)
{
    struct Grid : TBaseGrid {
        using TBaseGrid::TBaseGrid;
        int Changes = 0;
        void HiddenLastRowChanged() override { ++Changes; }
    };
    auto* g = new Grid(&Form);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetCellText(1, 3, "x");
    EXPECT_EQ(g->Changes, 0);
    g->SetHideLastRow(true);
    g->SetCellText(1, 2, "x");
    EXPECT_EQ(g->Changes, 0);
    g->SetCellText(1, 3, "y");
    EXPECT_EQ(g->Changes, 1);
}

TEST_F(GridFixture, RowAndColumnSpansIdentical)
{
    EXPECT_FALSE(G->RowSpanIdentical(1, 2));  // no vertical merges
    G->MergeCells(0, 1, 1, 3);                // column 0, rows 1..3
    G->MergeCells(2, 1, 2, 3);                // columns 2..3, rows 1..3
    G->MergeCells(5, 2, 1, 2);                // column 5, rows 2..3
    EXPECT_TRUE(G->RowSpanIdentical(1, 3));   // column 5 counts in neither
    EXPECT_TRUE(G->RowSpanIdentical(2, 3));
    G->MergeCells(6, 0, 1, 2);                // column 6: rows 0..1 and 2..3 apart
    G->MergeCells(6, 2, 1, 2);
    EXPECT_FALSE(G->RowSpanIdentical(1, 2));

    EXPECT_TRUE(G->ColSpanIdentical(2, 3));   // one horizontal block over rows 1..3
    EXPECT_FALSE(G->ColSpanIdentical(0, 2));  // row 1: only column 2 is horizontally merged
    EXPECT_FALSE(G->ColSpanIdentical(6, 7));  // nothing merged across
}

TEST_F(GridFixture, ResetsFreeTheirPropertiesAndKeepGraphics)
{
    const long before = TCellProperties::LiveCount();
    TCellGraphic* graphic = new TCellGraphic;
    G->SetCellGraphic(1, 1, graphic);
    G->SetCellText(1, 1, "t");
    G->GetCellProperties(2, 1)->SetBrushColor(0xFF);
    G->GetCellProperties(3, 4);
    G->GetCellProperties(3, 5);
    EXPECT_EQ(TCellProperties::LiveCount(), before + 4);

    G->ResetCell(1, 1);
    EXPECT_EQ(TCellProperties::LiveCount(), before + 3);
    EXPECT_FALSE(G->HasCellProperties(1, 1));
    EXPECT_EQ(G->GetRawCellText(1, 1), "");
    EXPECT_EQ(TCellGraphic::Alive, 1);  // only referred to: stays
    delete graphic;

    G->ResetRowCells(1);
    EXPECT_EQ(TCellProperties::LiveCount(), before + 2);
    G->ResetColumnCells(3);
    EXPECT_EQ(TCellProperties::LiveCount(), before);

    // The freeing of a block frees graphic objects of class "TCellGraphic".
    G->SetCellGraphic(0, 0, new TCellGraphic);
    EXPECT_EQ(TCellGraphic::Alive, 1);
    G->FreeCellPropertiesRect(0, 0, 1, 1);
    EXPECT_EQ(TCellGraphic::Alive, 0);
    EXPECT_EQ(TCellProperties::LiveCount(), before);
}

TEST_F(GridFixture, MovedPropertiesAreFreedOnceWhenTheLastSlotLetsGo)
{
    // A row insertion moves the objects down and resets the row it opened:
    // the moved properties must survive the reset of the slot they left.
    const long before = TCellProperties::LiveCount();
    TCellProperties* p = G->GetCellProperties(2, 1);
    p->SetFontSize(17);
    G->SetRawObject(2, 2, G->GetRawObject(2, 1));
    G->ResetRowCells(1);
    EXPECT_EQ(G->FindCellProperties(2, 2), p);
    EXPECT_EQ(p->FontSize(), 17);
    EXPECT_EQ(TCellProperties::LiveCount(), before + 1);
    G->ResetCell(2, 2);
    EXPECT_EQ(TCellProperties::LiveCount(), before);

    // Properties replaced through SetCellProperties are freed.
    G->GetCellProperties(4, 4);
    G->SetCellProperties(4, 4, new TCellProperties(G, 4, 4));
    EXPECT_EQ(TCellProperties::LiveCount(), before + 1);
    // The grid frees the rest with itself, also properties no slot holds.
    G->GetCellProperties(5, 5);
    G->SetRawObject(5, 5, nullptr);
    delete G;
    EXPECT_EQ(TCellProperties::LiveCount(), before);
}

TEST_F(GridFixture, ResettingTenThousandCellsLeaksNothing)
{
    const long before = TCellProperties::LiveCount();
    G->SetColCount(100);
    G->SetRowCount(100);
    for (int c = 0; c < 100; ++c)
        for (int r = 0; r < 100; ++r) G->GetCellProperties(c, r)->SetFontSize(c + r);
    EXPECT_EQ(TCellProperties::LiveCount(), before + 10000);
    for (int c = 0; c < 100; ++c)
        for (int r = 0; r < 100; ++r) G->ResetCell(c, r);
    EXPECT_EQ(TCellProperties::LiveCount(), before);
}

TEST_F(GridFixture, CellsOutsideTheGridAreNeutralAndUnwritable)
{
    const long before = TCellProperties::LiveCount();
    for (TPoint p : {TPoint(-1, 0), TPoint(0, -1), TPoint(8, 0), TPoint(0, 6), TPoint(100000, 100000)}) {
        EXPECT_EQ(G->GetCellProperties(p.X, p.Y), nullptr);
        EXPECT_FALSE(G->HasCellProperties(p.X, p.Y));
        EXPECT_EQ(G->BaseCell(p.X, p.Y), p);
        EXPECT_EQ(G->CellSpan(p.X, p.Y), TPoint(0, 0));
        G->SetCellText(p.X, p.Y, "x");
        EXPECT_EQ(G->GetCellText(p.X, p.Y), "");
        G->MergeCells(p.X, p.Y, 2, 2);
        G->SplitCells(p.X, p.Y);
        G->SetCellObject(p.X, p.Y, G);
        G->ResetCell(p.X, p.Y);
    }
    EXPECT_EQ(TCellProperties::LiveCount(), before);
    // A block past the last column and row is cut there.
    G->MergeCells(6, 4, 5, 5);
    EXPECT_EQ(G->CellSpan(6, 4), TPoint(1, 1));
    EXPECT_EQ(G->FullCell(7, 5), TRect(6, 4, 7, 5));
    EXPECT_EQ(TCellProperties::LiveCount(), before + 4);
}

TEST_F(GridFixture, CellObjectLeavesTheTextAsItWas)
{
    rtl::TObject marker;
    G->SetCellObject(2, 2, &marker);
    EXPECT_EQ(G->GetCellObject(2, 2), &marker);
    EXPECT_EQ(G->GetRawCellText(2, 2), "");
    G->SetCellText(3, 3, "keep");
    G->SetCellObject(3, 3, &marker);
    EXPECT_EQ(G->GetCellText(3, 3), "keep");
}

// The grid and its cell properties are reachable by property name, as a
// form description or a script sets them.
TEST_F(GridFixture, PublishedPropertiesByName)
{
    rtl::SetPropValue(G, "GridLineColor", rtl::Variant(int32_t(0x123456)));
    EXPECT_EQ(G->GridLineColor(), 0x123456u);
    rtl::SetPropValue(G, "ActiveRowShow", rtl::Variant(true));
    EXPECT_TRUE(G->ActiveRowShow());
    EXPECT_TRUE(rtl::IsDefaultPropValue(G, rtl::GetPropInfo(G, "GridLineWidth")));
    EXPECT_FALSE(rtl::IsDefaultPropValue(G, rtl::GetPropInfo(G, "GridLineColor")));
    ZAdiZaviDuraRavi undo(&Form);
    G->SetUndoRedo(&undo);
    EXPECT_EQ(rtl::GetPropInfo(G, "UndoRedo")->PropType()->ClassType(), &ZAdiZaviDuraRavi::StaticClassInfo());
    ASSERT_NE(rtl::GetPropInfo(G, "OnGetDisplText"), nullptr);
    EXPECT_EQ(rtl::GetPropInfo(G, "SelectionStyle"), nullptr);  // public, not published

    TCellProperties* p = G->GetCellProperties(1, 1);
    EXPECT_EQ(rtl::GetPropValue(p, "Alignment", true).AsString(), "taLeftJustify");
    rtl::SetPropValue(p, "Alignment", rtl::Variant(std::string("taCenter")));
    EXPECT_EQ(p->Alignment(), gui::TAlignment::taCenter);
    rtl::SetPropValue(p, "VAlignment", rtl::Variant(std::string("vtaBottom")));
    EXPECT_EQ(p->VAlignment(), TVAlignment::vtaBottom);
    rtl::SetPropValue(p, "FontStyle", rtl::Variant(std::string("[fsBold,fsUnderline]")));
    EXPECT_TRUE(p->FontStyle().Contains(gui::TFontStyle::fsBold));
    EXPECT_TRUE(p->FontStyle().Contains(gui::TFontStyle::fsUnderline));
    EXPECT_FALSE(p->FontStyle().Contains(gui::TFontStyle::fsItalic));
    rtl::SetPropValue(p, "Editor", rtl::Variant(std::string("edTimePickerDropDown")));
    EXPECT_EQ(p->Editor(), TEditorType::edTimePickerDropDown);
    EXPECT_EQ(rtl::GetPropValue(p, "BrushStyle", true).AsString(), "bsSolid");
    EXPECT_FALSE(rtl::GetPropInfo(p, "OwnerCol")->IsStored(p));
    EXPECT_TRUE(rtl::GetPropInfo(p, "CellSpanX")->IsStored(p));
}
