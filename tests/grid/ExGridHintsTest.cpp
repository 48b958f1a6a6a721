// Hints, balloons, rich cells and sizing with the form: balloon text
// preparation, the HTML hint window kept on the monitor, where and how cell
// hints show, rich-text cells on screen and on a printer-like canvas, and
// the grid following its form.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "grid/ExGrid.h"
#include "grid/ExGridHints.h"
#include "platform/gui/BalloonTip.h"
#include "platform/gui/DateTimePicker.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Monitors.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/Printers.h"
#include "PdfPages.h"
#include "TestPaths.h"

using namespace grid;

namespace {

std::filesystem::path Shots()
{
    auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(dir);
    return dir;
}

void SaveShot(gui::TBitmap* bmp, const std::string& name)
{
    gui::TPngImage png;
    png.Assign(bmp);
    png.SaveToFile((Shots() / name).string());
}

struct HintFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    HintFixture()
    {
        Form.SetBounds(40, 40, 600, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(5);
        G->SetRowCount(8);
        Form.Show();
    }
    gui::TPoint Centre(int c, int r) const
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    gui::THintInfo InfoAt(int c, int r)
    {
        gui::THintInfo info;
        info.HintControl = G;
        info.CursorPos = Centre(c, r);
        bool canShow = true;
        G->GetCellHintInfo(info.HintStr, canShow, info);
        return info;
    }
};

} // namespace

TEST(BalloonText, PreparationCutsAndSkips)
{
    const std::string longText(3000, 'x');
    const std::string cut = PrepareBalloonText(longText);
    EXPECT_EQ(cut.size(), 2048u);
    EXPECT_EQ(cut.substr(2045), "...");
    EXPECT_EQ(PrepareBalloonText(std::string(2048, 'y')), std::string(2048, 'y'));
    EXPECT_EQ(PrepareBalloonText("\r\n\tfirst\tsecond"), "first second");
    EXPECT_EQ(PrepareBalloonText("\t\r\n"), "");
    const std::string title = PrepareBalloonTitle(std::string(150, 't'));
    EXPECT_EQ(title.size(), 100u);
    EXPECT_EQ(title.substr(97), "...");
    EXPECT_EQ(PrepareBalloonTitle(std::string(100, 't')), std::string(100, 't'));
}

TEST_F(HintFixture, BalloonInfoFromCellObjectAndEvent)
{
    std::string title, text;
    int icon = -1;
    EXPECT_FALSE(G->GetBalloonInfo(Centre(1, 1), title, text, icon));  // balloons off

    G->Balloon()->SetEnable(true);
    G->SetCells(1, 1, std::string(3000, 'a'));
    G->SetCells(2, 1, "<b>bold</b> text");
    ASSERT_TRUE(G->GetBalloonInfo(Centre(1, 1), title, text, icon));
    EXPECT_EQ(text.size(), 2048u);
    EXPECT_EQ(title, " ");
    EXPECT_EQ(icon, 1);
    EXPECT_EQ(G->LastBalloonPos(), (gui::TPoint{1, 1}));
    title.clear();
    G->GetBalloonInfo(Centre(2, 1), title, text, icon);
    EXPECT_EQ(text, "bold text");

    // The cell's balloon object, then the event, have their say.
    G->AddBalloon(3, 2, "Note", "from the object", TBalloonIcon::biWarning);
    int events = 0;
    G->OnCellBalloon = [&](rtl::TObject*, int c, int r, std::string& t, std::string& x, int& i) {
        ++events;
        EXPECT_EQ(c, 3);
        EXPECT_EQ(r, 2);
        EXPECT_EQ(x, "from the object");
        t = std::string(120, 'T');
        i = 3;
    };
    title.clear();
    G->GetBalloonInfo(Centre(3, 2), title, text, icon);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(icon, 3);
    EXPECT_EQ(title.size(), 100u);
    EXPECT_EQ(G->BalloonTip()->Title(), title);
    EXPECT_EQ(G->BalloonTip()->Icon(), gui::TTI_ERROR);
}

TEST_F(HintFixture, BalloonShowsAfterDelayAndHidesItself)
{
    gui::TTimer::UseManualClock(true);
    G->Balloon()->SetEnable(true);
    G->Balloon()->SetInitialDelay(400);
    G->Balloon()->SetAutoHideDelay(3000);
    G->Balloon()->SetBackgroundColor(0xE0FFFF);
    G->SetCells(1, 2, "Totality lasts 4 min 12 s\tat the greatest eclipse");
    G->AddBalloon(2, 3, "Contact times", "C2 10:41:03 UT\nC3 10:45:15 UT", TBalloonIcon::biInfo);
    const gui::TPoint p = Centre(2, 3);
    gui::sim::MouseMove(G, p.X, p.Y);
    gui::TBalloonTip* tip = G->BalloonTip();
    EXPECT_TRUE(tip->Pending());
    EXPECT_FALSE(tip->Showing());
    gui::TTimer::AdvanceClock(399);
    EXPECT_FALSE(tip->Showing());
    gui::TTimer::AdvanceClock(1);
    ASSERT_TRUE(tip->Showing());
    EXPECT_EQ(tip->StemPoint(), G->ClientToScreen(p));
    EXPECT_EQ(tip->Text(), "C2 10:41:03 UT\nC3 10:45:15 UT");
    // The same cell keeps it; it stays up to the auto-hide delay.
    gui::sim::MouseMove(G, p.X + 2, p.Y);
    EXPECT_TRUE(tip->Showing());

    gui::Application->ProcessMessages();
    const gui::TPoint o = Form.ClientToScreen({0, 0});
    auto shot = gui::GrabScreen(gui::TRect(o.X, o.Y, o.X + 520, o.Y + 320));
    SaveShot(shot.get(), "grid-balloon.png");
    // The balloon's own colour is on the screen under the stem.
    const gui::TPoint s = tip->StemPoint();
    EXPECT_EQ(shot->Canvas()->Pixels(s.X - o.X + 30, s.Y - o.Y + 20), 0xE0FFFFu);

    gui::TTimer::AdvanceClock(3000);
    EXPECT_FALSE(tip->Showing());

    // Another cell: shown again; leaving the grid takes it away.
    const gui::TPoint q = Centre(1, 2);
    gui::sim::MouseMove(G, q.X, q.Y);
    gui::TTimer::AdvanceClock(400);
    ASSERT_TRUE(tip->Showing());
    EXPECT_EQ(tip->Text(), "Totality lasts 4 min 12 s at the greatest eclipse");
    G->Perform(gui::CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(tip->Showing());
    gui::TTimer::UseManualClock(false);
}

TEST_F(HintFixture, HintWindowMeasuresAndStaysOnTheMonitor)
{
    auto* w = new THTMLHintWindow(&Form);
    w->SetParent(&Form);
    EXPECT_EQ(w->CalcHintRect(300, "", nullptr).Height(), 0);
    const gui::TRect one = w->CalcHintRect(300, "<b>Eclipse</b> of 2026", nullptr);
    EXPECT_GT(one.Width(), 0);
    EXPECT_GT(one.Height(), 0);

    const gui::TRect mon = gui::MonitorFromPoint({10, 10}).BoundsRect;
    // A hint wider than the monitor ends 2 pixels inside it, its width kept.
    std::string wide;
    while (w->CalcHintRect(5000, wide, nullptr).Width() < mon.Width() + 50) wide += "wide hint text ";
    w->ActivateHint(gui::Bounds(mon.Left + 30, mon.Top + 40, 10, 10), wide);
    EXPECT_EQ(w->Left() + w->Width(), mon.Right - 2);
    EXPECT_EQ(w->Width(), w->TextWidth() + 16);
    // Near the bottom it moves up.
    w->ActivateHint(gui::Bounds(mon.Left + 10, mon.Bottom - 5, 10, 10), "<i>low</i>");
    EXPECT_EQ(w->Top() + w->Height(), mon.Bottom - 2);
    EXPECT_EQ(w->Left(), mon.Left + 10);
}

TEST_F(HintFixture, CellHintPlaces)
{
    const gui::TRect r11 = G->gui::TCustomGrid::CellRect(1, 1);
    // A comment shows at the cell's top-right corner.
    G->AddComment(1, 1, "Measured at noon");
    gui::THintInfo info = InfoAt(1, 1);
    EXPECT_EQ(info.HintStr, "Measured at noon");
    EXPECT_EQ(info.HintPos, G->ClientToScreen({r11.Right, r11.Top}));
    EXPECT_EQ(G->LastHintPos(), (gui::TPoint{1, 1}));
    // Other cells: 6 pixels under the cell.
    G->OnGridHint = [](rtl::TObject*, int r, int c, std::string& h) {
        if (r == 2 && c == 2) h = "from the event";
    };
    const gui::TRect r22 = G->gui::TCustomGrid::CellRect(2, 2);
    info = InfoAt(2, 2);
    EXPECT_EQ(info.HintStr, "from the event");
    EXPECT_EQ(info.HintPos, G->ClientToScreen({r22.Left, r22.Bottom + 6}));
    EXPECT_EQ(info.HintColor, G->HintColor());
    G->OnGridHint = nullptr;

    // HintShowCells with HintShowLargeText: a text that fits still shows, at the top.
    G->SetHintShowCells(true);
    G->SetHintShowLargeText(true);
    G->SetCells(3, 3, "ok");
    const gui::TRect r33 = G->gui::TCustomGrid::CellRect(3, 3);
    info = InfoAt(3, 3);
    EXPECT_EQ(info.HintStr, "ok");
    EXPECT_EQ(info.HintPos, G->ClientToScreen({r33.Left, r33.Top}));
    // Fixed cells get nothing from HintShowCells.
    G->SetCells(3, 0, "Header");
    EXPECT_EQ(InfoAt(3, 0).HintStr, "");
    // Only the large text with HintShowCells off.
    G->SetHintShowCells(false);
    EXPECT_EQ(InfoAt(3, 3).HintStr, "");
    G->SetCells(3, 4, std::string(200, 'w'));
    EXPECT_EQ(InfoAt(3, 4).HintStr, std::string(200, 'w'));
}

TEST_F(HintFixture, HtmlAndPlainHintModes)
{
    G->SetHintShowCells(true);
    G->SetCells(2, 2, "<b>Sun</b> altitude");
    struct Case {
        bool html;
        std::string text;
        bool htmlWindow;
    };
    for (const Case& c : {Case{true, "<b>Sun</b> altitude", true}, Case{false, "Sun altitude", false}}) {
        G->SetHTMLHint(c.html);
        const gui::THintInfo info = InfoAt(2, 2);
        EXPECT_EQ(info.HintStr, c.text);
        EXPECT_EQ(info.HintWindowClass == &THTMLHintWindow::StaticClassInfo(), c.htmlWindow);
    }
    // A wide-encoded text takes the HTML window too.
    G->SetHTMLHint(false);
    G->SetCells(1, 2, gridbase::EncodePrefixedWideText("Ω wide"));
    EXPECT_EQ(InfoAt(1, 2).HintWindowClass, &THTMLHintWindow::StaticClassInfo());
}

TEST_F(HintFixture, ApplicationShowsTheHtmlHintWindow)
{
    G->SetHint(" ");
    G->SetShowHint(true);
    G->SetHintShowCells(true);
    G->SetHTMLHint(true);
    G->SetCells(2, 3, "<font color=\"clRed\">Partial</font> eclipse, <b>magnitude 0.63</b>");
    const gui::TPoint p = Centre(2, 3);
    ASSERT_TRUE(gui::Application->ShowControlHint(G, p));
    auto* w = dynamic_cast<THTMLHintWindow*>(gui::ActiveHintWindow());
    ASSERT_NE(w, nullptr);
    const gui::TRect r = G->gui::TCustomGrid::CellRect(2, 3);
    EXPECT_EQ((gui::TPoint{w->Left(), w->Top()}), G->ClientToScreen({r.Left, r.Top}));
    EXPECT_EQ(w->Color(), G->HintColor());
    gui::Application->ProcessMessages();
    const gui::TPoint o = Form.ClientToScreen({0, 0});
    auto shot = gui::GrabScreen(gui::TRect(o.X, o.Y, o.X + 560, o.Y + 320));
    SaveShot(shot.get(), "grid-html-hint.png");
    // Some red text of the markup inside the window.
    bool red = false;
    for (int y = w->Top() - o.Y; y < w->Top() - o.Y + w->Height(); ++y)
        for (int x = w->Left() - o.X; x < w->Left() - o.X + w->Width(); ++x) {
            const gui::TColor px = shot->Canvas()->Pixels(x, y);
            if ((px & 0xFF) > 180 && ((px >> 8) & 0xFF) < 90 && ((px >> 16) & 0xFF) < 90) red = true;
        }
    EXPECT_TRUE(red);
    // Moving to another cell takes it away.
    const gui::TPoint q = Centre(1, 5);
    gui::sim::MouseMove(G, q.X, q.Y);
    EXPECT_EQ(gui::ActiveHintWindow(), nullptr);
}

TEST_F(HintFixture, UseHTMLHintsSwitchesEveryControlsHintWindow)
{
    auto* panel = new gui::TPanel(&Form);
    panel->SetParent(&Form);
    panel->SetBounds(0, 320, 120, 30);
    panel->SetHint("<b>Sun</b> rise");
    panel->SetShowHint(true);
    G->SetHint(" ");
    G->SetShowHint(true);
    G->SetHintShowCells(true);
    G->SetCells(2, 3, "plain");
    struct Case {
        bool use;
        gui::TControl* control;
        gui::TPoint at;
        bool htmlWindow;
    } cases[] = {
        {true, panel, {5, 5}, true},      // another control's hint: markup shown formatted
        {true, G, Centre(2, 3), true},    // the grid's plain cell text as well
        {false, panel, {5, 5}, false},    // back to the plain hint
        {false, G, Centre(2, 3), false},
    };
    for (const Case& c : cases) {
        gui::HideHintWindow();
        G->SetUseHTMLHints(c.use);
        EXPECT_EQ(G->UseHTMLHints(), c.use);
        ASSERT_TRUE(gui::Application->ShowControlHint(c.control, c.at));
        auto* w = dynamic_cast<THTMLHintWindow*>(gui::ActiveHintWindow());
        EXPECT_EQ(w != nullptr, c.htmlWindow) << c.use << " " << c.control->ClassName();
        if (w) { EXPECT_EQ(w->Caption(), c.control == panel ? "<b>Sun</b> rise" : "plain"); }
    }
    gui::Application->CancelHint();
}

TEST_F(HintFixture, SizeWithForm)
{
    G->SetSizeWithForm(true);
    Form.SetBounds(40, 40, 700, 450);
    if (Form.OnResize) Form.OnResize(&Form);
    EXPECT_EQ(G->Width(), 600);
    EXPECT_EQ(G->Height(), 350);
    Form.SetBounds(40, 40, 650, 420);
    if (Form.OnResize) Form.OnResize(&Form);
    EXPECT_EQ(G->Width(), 550);
    EXPECT_EQ(G->Height(), 320);
    // So small that the grid would vanish: nothing changes, not even the
    // remembered form size.
    Form.SetBounds(40, 40, 90, 420);
    if (Form.OnResize) Form.OnResize(&Form);
    EXPECT_EQ(G->Width(), 550);
    Form.SetBounds(40, 40, 660, 420);
    if (Form.OnResize) Form.OnResize(&Form);
    EXPECT_EQ(G->Width(), 560);
}

TEST_F(HintFixture, RichCellSelectedOnScreenAndOnPaper)
{
    const std::string rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\fs40 RRRRRRRR}";
    G->SetCells(1, 1, rtf);
    G->SetSelectionTextColor(0xFF0000);  // blue
    G->SetSelection({1, 1, 2, 2});
    ASSERT_FALSE(G->Col() == 1 && G->Row() == 1);
    auto count = [](gui::TBitmap& b) {
        int red = 0, blue = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const gui::TColor px = b.Canvas()->Pixels(x, y);
                const int rr = px & 0xFF, gg = (px >> 8) & 0xFF, bb = (px >> 16) & 0xFF;
                if (rr > 150 && gg < 100 && bb < 100) ++red;
                if (bb > 150 && rr < 100 && gg < 100) ++blue;
            }
        return std::pair{red, blue};
    };
    const gui::TRect cell{0, 0, 160, 40};
    gui::TBitmap screen;
    screen.SetSize(160, 40);
    G->RenderRichCell(1, 1, cell, screen.Canvas());
    auto [sRed, sBlue] = count(screen);
    EXPECT_GT(sBlue, 20);
    EXPECT_EQ(sRed, 0);

    // A canvas outside MM_TEXT (a printout): the cell's own red.
    gui::TBitmap paper;
    paper.SetSize(160, 40);
    paper.Canvas()->SetMapMode(gui::MM_ANISOTROPIC);
    paper.Canvas()->SetWindowExt(1, 1);
    paper.Canvas()->SetViewportExt(1, 1);
    G->RenderRichCell(1, 1, cell, paper.Canvas());
    EXPECT_EQ(paper.Canvas()->MapMode(), gui::MM_ANISOTROPIC);
    auto [pRed, pBlue] = count(paper);
    EXPECT_GT(pRed, 20);
    EXPECT_EQ(pBlue, 0);
}

TEST_F(HintFixture, SelectedRichCellPrintsInItsOwnColours)
{
    if (!tectest::HavePdfToPpm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    G->SetCells(1, 1, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\fs40 RRRRRRRR}");
    G->SetSelectionTextColor(0xFF0000);
    G->SetSelection({1, 1, 2, 2});
    const auto dir = tectest::ScratchDir("grid-rich-print");
    gui::TPrinter printer;
    printer.SetOutputFileName((dir / "rich.pdf").string());
    printer.SetResolution(150);
    printer.SetPaper(210, 297);
    printer.BeginDoc();
    gui::TCanvas* c = printer.Canvas();
    // The print code's logical units are screen pixels.
    c->SetMapMode(gui::MM_ANISOTROPIC);
    c->SetWindowExt(96, 96);
    c->SetViewportExt(150, 150);
    G->RenderRichCell(1, 1, {100, 100, 300, 140}, c);
    EXPECT_EQ(c->MapMode(), gui::MM_ANISOTROPIC);
    printer.EndDoc();

    gui::TPngImage page;
    ASSERT_TRUE(tectest::RenderPdfPage(dir / "rich.pdf", 1, 150, page));
    gui::TBitmap bmp;
    bmp.Assign(&page);
    int red = 0, blue = 0, redLeft = 1 << 30;
    for (int y = 0; y < std::min(bmp.Height(), 400); ++y)
        for (int x = 0; x < std::min(bmp.Width(), 700); ++x) {
            const gui::TColor px = bmp.Canvas()->Pixels(x, y);
            const int rr = px & 0xFF, gg = (px >> 8) & 0xFF, bb = (px >> 16) & 0xFF;
            if (rr > 150 && gg < 100 && bb < 100) {
                ++red;
                redLeft = std::min(redLeft, x);
            }
            if (bb > 150 && rr < 100 && gg < 100) ++blue;
        }
    EXPECT_GT(red, 100);
    EXPECT_EQ(blue, 0);
    // At 100 screen pixels (plus the text offset) scaled to 150 dpi, past the page's margin.
    EXPECT_GT(redLeft, 150);
}

TEST_F(HintFixture, DatePickerChangeReachesOnDateTimeChange)
{
    G->SetCol(2);
    G->SetRow(3);
    std::vector<std::tuple<int, int, double>> got;
    G->OnDateTimeChange = [&](rtl::TObject*, int c, int r, double v) { got.emplace_back(c, r, v); };
    for (bool valid : {true, false}) {
        gui::TNMDateTime rec;
        rec.code = gui::DTN_DATETIMECHANGE;
        rec.valid = valid;
        rec.value = 46367.5;
        gui::TMessage m{gui::WM_NOTIFY, 0, reinterpret_cast<gui::LPARAM>(&rec), 0};
        G->Dispatch(m);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::make_tuple(2, 3, 46367.5));
    EXPECT_EQ(got[1], std::make_tuple(2, 3, 0.0));
}

TEST_F(HintFixture, BalloonWindowFollowsTheSettings)
{
    // Watches the balloon window go.
    struct Watcher : rtl::TComponent {
        using rtl::TComponent::TComponent;
        bool Freed = false;
        void Notification(rtl::TComponent* c, rtl::TOperation op) override
        {
            if (op == rtl::TOperation::opRemove) Freed = true;
            rtl::TComponent::Notification(c, op);
        }
    };
    gui::TTimer::UseManualClock(true);
    G->Balloon()->SetEnable(true);  // makes the window ready
    gui::TBalloonTip* tip = G->BalloonTip();
    EXPECT_EQ(tip->Title(), "ToolTipText");
    EXPECT_EQ(tip->Icon(), gui::TTI_ERROR);
    EXPECT_EQ(tip->AlphaBlendValue(), 255);
    G->Balloon()->SetTransparency(55);
    G->Balloon()->SetInitialDelay(250);
    EXPECT_EQ(tip->AlphaBlendValue(), 200);
    EXPECT_EQ(tip->InitialDelay(), 250);

    G->SetCells(1, 1, "Saros 139");
    const gui::TPoint p = Centre(1, 1);
    gui::sim::MouseMove(G, p.X, p.Y);
    gui::TTimer::AdvanceClock(250);
    ASSERT_TRUE(tip->Showing());
    EXPECT_EQ(tip->AlphaBlendValue(), 200);  // also as a window of its own

    // Switched off: the window goes; on again, a new one shows.
    Watcher watcher(nullptr);
    tip->FreeNotification(&watcher);
    G->Balloon()->SetEnable(false);
    EXPECT_TRUE(watcher.Freed);
    G->BalloonDone();  // nothing left to close
    G->Balloon()->SetEnable(true);
    const gui::TPoint q = Centre(1, 2);
    G->SetCells(1, 2, "Saros 145");
    gui::sim::MouseMove(G, q.X, q.Y);
    gui::TTimer::AdvanceClock(250);
    EXPECT_TRUE(G->BalloonTip()->Showing());
    EXPECT_EQ(G->BalloonTip()->Text(), "Saros 145");
    EXPECT_EQ(G->BalloonTip()->AlphaBlendValue(), 200);
    gui::TTimer::UseManualClock(false);
}
