// Drag and drop on the in-process drag loop: text blocks dropped into rows,
// refused drops, files, columns over the header only, the fixed row that
// stays, a column between two grids, text out to an edit, and the
// drag-scroll timer.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

#include "grid/ExGrid.h"
#include "grid/ExGridDragDrop.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/StdCtrls.h"

using namespace grid;
using gridbase::TArrowDirection;

namespace {

// The drag loop's input, step by step; a step may run something first.
struct Script : gridbase::TDragInput {
    struct Step {
        gui::TPoint At;
        bool Down;
        std::function<void()> Before;
    };
    std::deque<Step> Steps;
    void Add(gui::TPoint at, bool down, std::function<void()> before = {}) { Steps.push_back({at, down, before}); }
    gridbase::TDragInputState Poll() override
    {
        gridbase::TDragInputState s;
        if (Steps.empty()) return s;  // released
        Step st = Steps.front();
        Steps.pop_front();
        if (st.Before) st.Before();
        s.ScreenPos = st.At;
        s.LeftDown = st.Down;
        return s;
    }
};

// Records the file loads a drop asks the data-exchange hooks for.
struct LoadHooks : TGridIOHooks {
    std::vector<std::string> Calls;
    void CopySelectionToClipboard(TExStringGrid&) override {}
    void CutSelectionToClipboard(TExStringGrid&) override {}
    void PasteSelectionFromClipboard(TExStringGrid&) override {}
    void SaveColSizes(TExStringGrid&) override {}
    void LoadColSizes(TExStringGrid&) override {}
    void AssignCells(TExStringGrid&, const TExStringGrid&) override {}
    std::unique_ptr<TPrintSettings> CreatePrintSettings(TExStringGrid& g) override
    {
        return std::make_unique<TPrintSettings>(&g);
    }
    void LoadFromCSV(TExStringGrid&, const std::string& f, int col) override
    {
        Calls.push_back("csv:" + f + ":" + std::to_string(col));
    }
    void LoadFromXLS(TExStringGrid&, const std::string& f) override { Calls.push_back("xls:" + f); }
};

// A plain edit that takes dropped text.
struct EditTarget : gridbase::TGRDDropTarget {
    gui::TEdit* Edit;
    explicit EditTarget(gui::TEdit* e) : Edit(e) {}
    void DropText(gui::TPoint, const std::string& s) override { Edit->SetText(s); }
};

struct DropFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    TExStringGrid* Other;
    DropFixture()
    {
        Form.SetBounds(80, 80, 900, 420);
        G = MakeGrid(0);
        Other = MakeGrid(440);
        Form.Show();
        G->DragDropSettings()->SetOleDropTarget(true);
    }
    ~DropFixture() override { SetGridIOHooks(nullptr); }
    TExStringGrid* MakeGrid(int left)
    {
        auto* g = new TExStringGrid(&Form);
        g->SetParent(&Form);
        g->SetBounds(left, 0, 420, 300);
        g->SetColCount(5);
        g->SetRowCount(10);
        g->SetDefaultColWidth(64);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 5; ++c) g->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        return g;
    }
    gui::TPoint ScreenCentre(TExStringGrid* g, int c, int r) const
    {
        const gui::TRect rc = g->gui::TCustomGrid::CellRect(c, r);
        return g->ClientToScreen({(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2});
    }
    gui::TPoint Centre(int c, int r) const
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    // A text dragged from the other grid onto G's cell.
    int DragText(const std::string& text, int c, int r, std::function<void()> midway = {})
    {
        Script s;
        s.Add(ScreenCentre(Other, 1, 1), true);
        s.Add(ScreenCentre(G, c, r), true);
        s.Add(ScreenCentre(G, c, r), true);
        s.Add(ScreenCentre(G, c, r), false, midway);
        gridbase::TGRDDropSource src;
        int effect = 0;
        gridbase::RunTextDragDrop(&src, text, "", gui::DROPEFFECT_COPY, effect, &s);
        return effect;
    }
    bool AllowedAt(int c, int r, bool column)
    {
        gridbase::TGRDDropTarget* t = G->GridDropTarget();
        bool allow = true;
        gridbase::TDropFormats f;
        f.Include(column ? gridbase::TDropFormat::dfCol : gridbase::TDropFormat::dfText);
        t->SetAcceptCols(true);
        t->DragMouseMove(Centre(c, r), allow, f);
        return allow;
    }
};

} // namespace

TEST(PasteMeasure, BlockOfTabbedLines)
{
    struct Case {
        std::string text;
        int x, y;
    };
    for (const Case& c : {Case{"a\tb\r\nc\td\r\ne\tf\r\n", 2, 2}, Case{"a\tb\r\nc\td\r\ne\tf", 2, 2},
                          Case{"one", 1, 0}, Case{"a\r\nb\tc\td\r\n", 3, 1}, Case{"", 0, -1},
                          Case{"a\r\n\r\nb", 1, 1}, Case{"\"x\ny\"\tz", 2, 0}}) {
        gui::TPoint size;
        MeasureTextBlock(c.text, size);
        EXPECT_EQ(size, (gui::TPoint{c.x, c.y})) << c.text;
    }
}

TEST_F(DropFixture, ThreeLinesInsertThreeRowsAndSelectTheBlock)
{
    G->DragDropSettings()->SetOleInsertRows(true);
    gui::TGridRect dropped{};
    int droppedEvents = 0;
    G->OnOleDropped = [&](rtl::TObject*, const gui::TGridRect& r) {
        dropped = r;
        ++droppedEvents;
    };
    bool arrowSeen = false;
    const int effect = DragText("A1\tB1\r\nA2\tB2\r\nA3\tB3\r\n", 2, 5, [&] {
        arrowSeen = G->MoveArrow(TArrowDirection::arrLeft)->Visible();
        gui::Application->ProcessMessages();
        const gui::TPoint o = Form.ClientToScreen({0, 0});
        auto shot = gui::GrabScreen(gui::TRect(o.X, o.Y, o.X + 880, o.Y + 310));
        const auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
        std::filesystem::create_directories(dir);
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((dir / "grid-drop-in-progress.png").string());
    });
    EXPECT_EQ(effect, gui::DROPEFFECT_COPY);
    EXPECT_TRUE(arrowSeen);
    EXPECT_EQ(G->RowCount(), 13);
    EXPECT_EQ(G->Cells(2, 5), "A1");
    EXPECT_EQ(G->Cells(3, 7), "B3");
    EXPECT_EQ(G->Cells(2, 8), "2,5");  // the old row 5 moved below the block
    EXPECT_EQ(droppedEvents, 1);
    EXPECT_EQ(dropped, (gui::TGridRect{2, 5, 3, 7}));
    EXPECT_EQ(G->Selection(), dropped);
    EXPECT_FALSE(G->MoveArrow(TArrowDirection::arrLeft)->Visible());
}

TEST_F(DropFixture, RefusedDropChangesNothingYetReportsDropped)
{
    int droppedEvents = 0;
    G->OnOleDrop = [](rtl::TObject*, int r, int c, const std::string& s, bool& allow) {
        EXPECT_EQ(r, 4);
        EXPECT_EQ(c, 1);
        EXPECT_EQ(s, "x\ty");
        allow = false;
    };
    G->OnOleDropped = [&](rtl::TObject*, const gui::TGridRect&) { ++droppedEvents; };
    DragText("x\ty", 1, 4);
    EXPECT_EQ(G->Cells(1, 4), "1,4");
    EXPECT_EQ(G->Cells(2, 4), "2,4");
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(droppedEvents, 1);
}

TEST_F(DropFixture, FilesOnlyOneAndOnlySheetsOrCsv)
{
    LoadHooks hooks;
    SetGridIOHooks(&hooks);
    std::vector<std::string> asked;
    G->OnOleDrop = [&](rtl::TObject*, int r, int c, const std::string& s, bool&) {
        asked.push_back(std::to_string(r) + "," + std::to_string(c) + ":" + s);
    };
    rtl::TStringList two;
    two.Add("/tmp/a.xls");
    two.Add("/tmp/b.csv");
    G->GridDropTarget()->DropFiles(Centre(1, 1), &two);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(hooks.Calls.empty());

    rtl::TStringList one;
    one.Add("/tmp/eclipses.xls");
    G->GridDropTarget()->DropFiles(Centre(1, 1), &one);
    EXPECT_EQ(asked, (std::vector<std::string>{"-1,-1:/tmp/eclipses.xls"}));
    EXPECT_EQ(hooks.Calls, (std::vector<std::string>{"xls:/tmp/eclipses.xls"}));

    // OnOleDropFile may refuse a CSV; other files are only asked about.
    G->OnOleDropFile = [](rtl::TObject*, int, int, const std::string& f, bool& allow) { allow = f != "/tmp/no.csv"; };
    hooks.Calls.clear();
    for (const char* f : {"/tmp/no.csv", "/tmp/yes.CSV", "/tmp/notes.txt"}) {
        rtl::TStringList l;
        l.Add(f);
        G->GridDropTarget()->DropFiles(Centre(1, 1), &l);
    }
    EXPECT_EQ(hooks.Calls, (std::vector<std::string>{"csv:/tmp/yes.CSV:-1"}));
}

TEST_F(DropFixture, ColumnsLandOnlyOnNormalHeaders)
{
    G->SetFixedCols(1);
    EXPECT_FALSE(AllowedAt(2, 3, true));   // a normal row
    EXPECT_FALSE(AllowedAt(0, 0, true));   // the header of a fixed column
    EXPECT_TRUE(AllowedAt(2, 0, true));
    EXPECT_TRUE(G->MoveArrow(TArrowDirection::arrDown)->Visible());
    EXPECT_TRUE(G->MoveArrow(TArrowDirection::arrUp)->Visible());
    // Text: not on the fixed row, anywhere else.
    EXPECT_FALSE(AllowedAt(2, 0, false));
    EXPECT_FALSE(G->MoveArrow(TArrowDirection::arrDown)->Visible());
    EXPECT_TRUE(AllowedAt(2, 3, false));
    EXPECT_TRUE(G->MoveArrow(TArrowDirection::arrLeft)->Visible());
    G->OnOleDragOver = [](rtl::TObject*, int r, int, bool& allow) { allow = r != 4; };
    EXPECT_FALSE(AllowedAt(2, 4, false));
    EXPECT_FALSE(G->MoveArrow(TArrowDirection::arrLeft)->Visible());
    G->GridDropTarget()->DragMouseLeave();
    EXPECT_FALSE(G->MoveArrow(TArrowDirection::arrDown)->Visible());
}

TEST_F(DropFixture, TextOnTheOnlyFixedRowLandsInRowOne)
{
    G->SetFixedRowAlways(true);
    G->SetRowCount(1);
    ASSERT_EQ(G->RowCount(), 1);
    G->DragDropSettings()->SetOleInsertRows(true);
    EXPECT_TRUE(AllowedAt(1, 0, false));
    G->GridDropTarget()->DropText(Centre(1, 0), "new\tline");
    ASSERT_EQ(G->RowCount(), 2);
    EXPECT_EQ(G->Cells(1, 1), "new");
    EXPECT_EQ(G->Cells(2, 1), "line");
    EXPECT_EQ(G->Cells(1, 0), "1,0");
}

TEST_F(DropFixture, ColumnDraggedBetweenTwoGrids)
{
    G->DragDropSettings()->SetOleColumnDragDrop(true);
    int from = -1, atRow = -1, atCol = -1;
    G->OnOleDropCol = [&](rtl::TObject*, int r, int c, int col) {
        atRow = r;
        atCol = c;
        from = col;
    };
    Script s;
    s.Add(ScreenCentre(Other, 2, 0), true);
    s.Add(ScreenCentre(G, 3, 0), true);
    s.Add(ScreenCentre(G, 3, 0), true);
    s.Add(ScreenCentre(G, 3, 0), false);
    const int effect = Other->OleDragColumn(2, &s);
    EXPECT_NE(effect, gui::DROPEFFECT_NONE);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(atRow, 0);
    EXPECT_EQ(atCol, 3);
    EXPECT_EQ(G->Cells(3, 0), "3,0");  // the grid itself moves nothing
}

TEST_F(DropFixture, SelectedTextDraggedOutToAnEdit)
{
    auto* edit = new gui::TEdit(&Form);
    edit->SetParent(&Form);
    edit->SetBounds(440, 320, 200, 24);
    EditTarget target(edit);
    gridbase::RegisterGridDropTarget(edit, &target);
    Other->SetOptions(Other->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    Other->SetSelection({1, 2, 2, 3});
    Script s;
    s.Add(ScreenCentre(Other, 1, 2), true);
    s.Add(edit->ClientToScreen({20, 10}), true);
    s.Add(edit->ClientToScreen({20, 10}), false);
    EXPECT_EQ(Other->OleDragSelection(&s), gui::DROPEFFECT_MOVE);
    EXPECT_EQ(Other->DropSelection(), (gui::TGridRect{1, 2, 2, 3}));
    EXPECT_EQ(edit->Text(), Other->SelectedText());
    EXPECT_NE(edit->Text().find("1,2\t2,2"), std::string::npos);
    gridbase::RevokeGridDropTarget(edit);
}

TEST_F(DropFixture, DragScrollTimerStopsWhenThePointerLeaves)
{
    gui::TTimer::UseManualClock(true);
    G->DragScrollOptions()->SetActive(true);
    G->DragScrollOptions()->Delays()->SetInitialDelay(300);
    G->DragScrollOptions()->Delays()->SetRepeatDelay(100);
    G->SetRowCount(40);
    G->SetTopRow(3);
    gridbase::TGRDDropTarget* t = G->GridDropTarget();
    bool allow = true;
    gridbase::TDropFormats f;
    f.Include(gridbase::TDropFormat::dfText);
    t->DragMouseMove({100, G->ClientHeight() - 10}, allow, f);  // inside the bottom margin
    gui::TTimer* timer = G->DragScrollTimer();
    EXPECT_TRUE(timer->Enabled());
    const int top = G->TopRow();
    gui::TTimer::AdvanceClock(300);
    EXPECT_EQ(G->TopRow(), top + 1);
    gui::TTimer::AdvanceClock(100);
    EXPECT_EQ(G->TopRow(), top + 2);
    t->DragMouseLeave();
    EXPECT_FALSE(timer->Enabled());
    gui::TTimer::AdvanceClock(1000);
    EXPECT_EQ(G->TopRow(), top + 2);
    // Back in the middle: no scrolling either.
    t->DragMouseMove({100, 120}, allow, f);
    EXPECT_FALSE(timer->Enabled());
    gui::TTimer::UseManualClock(false);
}

TEST_F(DropFixture, MouseDragStartsOnlyPastThreePixels)
{
    // Other is the source, G the target.
    Other->DragDropSettings()->SetOleDropSource(true);
    Other->SetOptions(Other->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    Other->SetSelection({1, 2, 2, 3});
    std::vector<std::string> events;
    Other->OnOleDragStart = [&](rtl::TObject*, int r, int c) { events.push_back("start " + std::to_string(c) + "," + std::to_string(r)); };
    Other->OnOleDragStop = [&](rtl::TObject*, int e) { events.push_back("stop " + std::to_string(e)); };
    Script s;
    s.Add(ScreenCentre(G, 2, 6), true);
    s.Add(ScreenCentre(G, 2, 6), true);
    s.Add(ScreenCentre(G, 2, 6), false);
    Other->SetOleDragInput(&s);
    const gui::TRect rc = Other->gui::TCustomGrid::CellRect(1, 2);
    const int x = (rc.Left + rc.Right) / 2, y = (rc.Top + rc.Bottom) / 2;
    gui::sim::MouseDown(Other, gui::TMouseButton::mbLeft, x, y);
    EXPECT_TRUE(Other->SelectionClick());
    EXPECT_EQ(Other->Selection(), (gui::TGridRect{1, 2, 2, 3}));  // the press keeps the selection
    gui::sim::MouseMove(Other, x + 3, y - 3, {gui::TShiftStateItem::ssLeft});
    EXPECT_TRUE(events.empty());
    gui::sim::MouseMove(Other, x + 4, y, {gui::TShiftStateItem::ssLeft});
    EXPECT_EQ(events, (std::vector<std::string>{"start 1,2", "stop 2"}));
    // Moved: the block landed in G and left the source.
    EXPECT_EQ(G->Cells(2, 6), "1,2");
    EXPECT_EQ(G->Cells(3, 7), "2,3");
    EXPECT_EQ(Other->Cells(1, 2), "");
    EXPECT_EQ(Other->Cells(2, 3), "");
    EXPECT_EQ(Other->Cells(3, 3), "3,3");
    gui::sim::MouseUp(Other, gui::TMouseButton::mbLeft, x + 4, y);

    // A press and release without moving selects the cell.
    Other->SetSelection({1, 4, 2, 5});
    const gui::TRect r2 = Other->gui::TCustomGrid::CellRect(2, 5);
    gui::sim::MouseDown(Other, gui::TMouseButton::mbLeft, r2.Left + 10, r2.Top + 5);
    gui::sim::MouseMove(Other, r2.Left + 12, r2.Top + 6, {gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(Other, gui::TMouseButton::mbLeft, r2.Left + 12, r2.Top + 6);
    EXPECT_EQ(Other->Selection(), (gui::TGridRect{2, 5, 2, 5}));
    EXPECT_FALSE(Other->SelectionClick());
    Other->SetOleDragInput(nullptr);
}
