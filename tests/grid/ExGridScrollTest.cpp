// Scrolling the string grid on a shown form: a vertical scroll moves the
// pixels already on screen and paints only the rows coming into view, and
// what the screen then holds equals a full paint at the same top row (plain,
// coloured rows, merged cells, fixed columns, the bordered look, rows of
// several heights).  A grid whose picture does not simply move (background
// gradient, fixed footers, the floating footer, an open editor) or a jump
// over the whole view repaints in full, with the same result.  A partial
// repaint draws only the rows in the clip.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowPixels.h"

using namespace grid;
using gui::TColor;
using gui::TRect;

namespace {

// Records the clip of every paint pass and the rows each pass drew.
struct ScrollGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<TRect> Clips;
    std::set<int> DrawnRows;
    void Paint() override
    {
        // The part of the clip over the cells (the scroll bar strips aside).
        const int saved = Canvas()->SaveDC();
        Canvas()->IntersectClipRect(ClientRect());
        Clips.push_back(Canvas()->ClipRect());
        Canvas()->RestoreDC(saved);
        DrawnRows.clear();
        TExStringGrid::Paint();
    }
    void DrawCell(int aCol, int aRow, const TRect& rect, gui::TGridDrawState state) override
    {
        DrawnRows.insert(aRow);
        TExStringGrid::DrawCell(aCol, aRow, rect, state);
    }
    bool BlitAllowed() const { return CanBlitScroll(); }
};

struct Scene {
    gui::TForm Form{nullptr};
    ScrollGrid* G;
    Scene()
    {
        Form.SetBounds(0, 0, 640, 480);
        G = new ScrollGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetColCount(6);
        G->SetRowCount(300);
        G->SetDefaultColWidth(110);
        G->SetDefaultRowHeight(22);
        G->Font()->SetName("Liberation Sans");
        G->Font()->SetSize(10);
        G->SetLook(TGridLook::glStandard);
        for (int r = 1; r < 300; ++r)
            for (int c = 0; c < 6; ++c) G->SetCells(c, r, "r" + std::to_string(r) + " c" + std::to_string(c));
    }

    void ShowAndSettle()
    {
        Form.Show();
        if (gui::Application) gui::Application->ProcessMessages();
        gui::PaintPending(&Form);
        G->Clips.clear();
    }

    // Scrolls to top and paints what the scroll left pending.
    void ScrollTo(int top)
    {
        G->Clips.clear();
        G->SetTopRow(top);
        gui::PaintPending(&Form);
    }

    // Every paint pass since the last scroll covered less than the client
    // height (only a strip was painted); one pass covered the client from
    // its top down (bars over the grid's bottom aside).
    bool PaintedOnlyStrips() const
    {
        if (G->Clips.empty()) return false;
        for (const TRect& r : G->Clips)
            if (r.Height() >= G->ClientRect().Height()) return false;
        return true;
    }
    bool PaintedWhole() const
    {
        for (const TRect& r : G->Clips)
            if (r.Top <= 0 && r.Bottom >= G->ClientRect().Bottom * 3 / 4) return true;
        return false;
    }

    // The pixels the screen holds against a full paint of the grid now.
    void ExpectScreenMatchesFullPaint(const std::string& what)
    {
        auto shown = gui::GrabShownImage(G);
        ASSERT_TRUE(shown) << what;
        auto full = G->GetImage();
        ASSERT_EQ(shown->Width(), full->Width());
        ASSERT_EQ(shown->Height(), full->Height());
        int bad = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < full->Height(); ++y)
            for (int x = 0; x < full->Width(); ++x)
                if ((shown->Canvas()->Pixels(x, y) & 0xFFFFFF) != (full->Canvas()->Pixels(x, y) & 0xFFFFFF)) {
                    if (bad++ == 0) firstX = x, firstY = y;
                }
        EXPECT_EQ(bad, 0) << what << ": first differing pixel at " << firstX << "," << firstY << " (top row "
                          << G->TopRow() << ")";
    }
};

// Steps down and up by fewer rows than are visible, then to the end.
const int Steps[] = {2, 3, 6, 13, 12, 9, 4, 5, 16, 23, 22};

struct BlitCase {
    const char* Name;
    std::function<void(ScrollGrid*)> Setup;
    // Merged fixed cells repaint whole on every scroll, beside the strip.
    bool OnlyStrips = true;
};

TEST(ExGridScroll, BlitScrollEndsWithTheFullPaintsPixels)
{
    const BlitCase cases[] = {
        {"plain", [](ScrollGrid*) {}},
        {"coloured rows",
         [](ScrollGrid* g) {
             for (int r = 1; r < 300; r += 3) g->SetRowColor(r, 0xF0FAFF);
             g->SetRowColor(8, 0x40C040);
         }},
        {"merged cells",
         [](ScrollGrid* g) {
             g->MergeCells(1, 3, 2, 4);  // scrolls out at the top a row at a time
             g->MergeCells(4, 10, 1, 6);
             g->SetCells(1, 3, "merged block");
             g->SetCells(4, 10, "tall");
         }},
        {"merged fixed cells",
         [](ScrollGrid* g) {
             g->MergeCells(0, 4, 1, 6);
             g->SetCells(0, 4, "tall header");
         },
         false},
        {"fixed columns",
         [](ScrollGrid* g) {
             g->SetFixedCols(2);
             g->SetLeftCol(3);
         }},
        {"bordered look with bands, no horizontal bar",
         [](ScrollGrid* g) {
             g->SetColCount(5);  // the frame's bottom edge lies over the last row
             g->SetLook(TGridLook::glXP);
             g->Bands()->SetActive(true);
         }},
        {"rows of several heights",
         [](ScrollGrid* g) {
             for (int r = 1; r < 300; r += 4) g->SetRowHeights(r, 40);
             g->SetRowHeights(7, -1);
         }},
    };
    for (const BlitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Scene f;
        c.Setup(f.G);
        f.ShowAndSettle();
        ASSERT_TRUE(f.G->BlitAllowed());
        bool strips = true;
        for (int top : Steps) {
            f.ScrollTo(top);
            strips = strips && f.PaintedOnlyStrips();
        }
        if (c.OnlyStrips) { EXPECT_TRUE(strips) << "every step painted only the rows coming into view"; }
        f.ExpectScreenMatchesFullPaint(c.Name);
    }
}

TEST(ExGridScroll, JumpOverTheWholeViewRepaintsInFull)
{
    Scene s;
    s.ShowAndSettle();
    s.ScrollTo(5);
    EXPECT_TRUE(s.PaintedOnlyStrips());
    s.ScrollTo(150);
    EXPECT_TRUE(s.PaintedWhole());
    s.ExpectScreenMatchesFullPaint("jump");
    // Scrolling sideways moves the columns: a full repaint too.
    s.G->SetTopRow(151);
    s.G->Clips.clear();
    s.G->SetLeftCol(2);
    gui::PaintPending(&s.Form);
    EXPECT_TRUE(s.PaintedWhole());
    s.ExpectScreenMatchesFullPaint("sideways");
}

TEST(ExGridScroll, PicturesThatDoNotSimplyMoveRepaintInFull)
{
    const BlitCase cases[] = {
        {"background gradient",
         [](ScrollGrid* g) {
             g->SetRowCount(40);
             g->BackGround()->SetDisplay(TBackGroundDisplay::bdGradientVert);
             g->BackGround()->SetColor(0xFFE0E0);
             g->BackGround()->SetColorTo(0x2020A0);
         }},
        {"fixed footer row", [](ScrollGrid* g) { g->SetFixedFooters(1); }},
        {"floating footer", [](ScrollGrid* g) { g->FloatingFooter()->SetVisible(true); }},
        {"open editor",
         [](ScrollGrid* g) {
             gui::TGridOptions o = g->Options();
             o += gui::TGridOption::goEditing;
             g->SetOptions(o);
             g->SetCol(2);
             g->SetRow(4);
             g->ShowEditor();
         }},
    };
    for (const BlitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Scene f;
        f.ShowAndSettle();
        c.Setup(f.G);
        gui::PaintPending(&f.Form);
        EXPECT_FALSE(f.G->BlitAllowed());
        f.ScrollTo(3);
        EXPECT_TRUE(f.PaintedWhole());
        f.ScrollTo(5);
        EXPECT_TRUE(f.PaintedWhole());
        f.ExpectScreenMatchesFullPaint(c.Name);
    }
}

TEST(ExGridScroll, PartialRepaintDrawsOnlyTheRowsInTheClip)
{
    Scene s;
    s.G->MergeCells(1, 5, 1, 3);  // rows 5..8, reaching into the clip from above
    s.G->SetCells(1, 5, "merged");
    s.ShowAndSettle();
    s.G->DrawnRows.clear();
    s.G->InvalidateCell(3, 8);
    gui::PaintPending(&s.Form);
    ASSERT_FALSE(s.G->Clips.empty());
    // The cell's rectangle with its lines touches the rows beside it.
    EXPECT_TRUE(s.G->DrawnRows.count(8));
    EXPECT_EQ(*s.G->DrawnRows.begin(), 7);
    EXPECT_EQ(*s.G->DrawnRows.rbegin(), 9);
    s.ExpectScreenMatchesFullPaint("merged block repainted through its last row");
}

} // namespace
