// The preview control and the preview window over real prepared pages: zoom
// rules and the zoom box, page numbers and keys, deleting pages, the page
// count while pages are prepared, the tool bar from the preview buttons,
// the export menu, closing while preparing, the failed refresh and a
// picture of the window with a two-page report.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Exceptions.h"
#include "report/qlrClassPages.h"
#include "report/qlrDsgnIntf.h"
#include "report/qlrOutputServices.h"
#include "report/qlrPreviewPages.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrPreviewForm.h"
#include "reportout/qlrPrintDialog.h"
#include "reportout/qlrPrinter.h"
#include "tests/common/TestPaths.h"

using namespace qlr;

namespace {

// An engine whose run adds N prepared pages (or raises), reporting each.
class PagesEngine : public TqlrCustomEngine {
public:
    using TqlrCustomEngine::TqlrCustomEngine;
    std::function<bool()> OnRun;
    void EndPage() override {}
    void NewColumn() override {}
    void NewPage() override {}
    long double FreeSpace() override { return 0; }
    rtl::Variant GetAggregateValue(const std::string&, const std::string&, rtl::TObject*, int) override
    {
        return rtl::Variant();
    }
    bool Run() override { return OnRun ? OnRun() : true; }
};

// A report of A4 pages, each with one memo reading "Page N of the list".
struct PreviewFixture : ::testing::Test {
    TqlrReport Report{nullptr};
    PagesEngine* Engine = nullptr;
    TqlrPreviewPages* Pages = nullptr;
    TqlrReportPage* Page = nullptr;
    TqlrMemoView* Memo = nullptr;
    TqlrPreviewForm* Form = nullptr;

    PreviewFixture()
    {
        auto e = std::make_unique<PagesEngine>(&Report);
        Engine = e.get();
        Report.SetEngine(std::move(e));
        Pages = dynamic_cast<TqlrPreviewPages*>(Report.PreviewPages());
        Report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        Report.ReportOptions()->Name = "Contacts of the eclipse";
        Page = new TqlrReportPage(&Report);
        Page->SetName("Page1");
        Page->SetPaperSize(9);
        Page->SetLeftMargin(10);
        Page->SetRightMargin(10);
        Page->SetTopMargin(10);
        Page->SetBottomMargin(10);
        auto* band = new TqlrMasterData(Page);
        band->SetName("MasterData1");
        band->SetBounds(0, 0, 700, 40);
        Memo = new TqlrMemoView(band);
        Memo->SetName("Memo1");
        Memo->SetBounds(20, 20, 400, 30);
        Memo->Font()->SetSize(16);
        Engine->OnRun = [this] {
            Fill(2);
            return true;
        };
    }
    ~PreviewFixture() override { delete Form; }

    // The prepared pages of n pages, each reported as the engine does.
    void Fill(int n)
    {
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        for (int i = 0; i < n; ++i) {
            Pages->AddPage(Page);
            Memo->SetText("Page " + std::to_string(i + 1) + " of the list");
            Pages->AddObject(Memo);
        }
        Pages->Finish();
    }

    void Open(int pages, int width = 803, int height = 584)
    {
        Fill(pages);
        Form = new TqlrPreviewForm(nullptr);
        Form->SetBounds(0, 0, width, height);
        Report.SetPreview(Form->Preview());
        Form->Init();
        Form->SetWindowState(gui::TWindowState::wsNormal);
        Form->SetBounds(0, 0, width, height);
    }
    TqlrPreview* P() const { return Form->Preview(); }
};

TEST_F(PreviewFixture, ZoomRulesAndTheZoomBox)
{
    Open(3);
    P()->SetZoomMode(TqlrZoomMode::zmWholePage);
    P()->SetZoom(0.1L);
    EXPECT_EQ(P()->Zoom(), 0.25L);
    EXPECT_EQ(P()->ZoomMode(), TqlrZoomMode::zmDefault);

    P()->SetZoom(0.35L);
    P()->MouseWheelScroll(-120, false, true);
    EXPECT_NEAR(static_cast<double>(P()->Zoom()), 0.3, 1e-9);
    P()->MouseWheelScroll(-120, false, true);
    EXPECT_NEAR(static_cast<double>(P()->Zoom()), 0.3, 1e-9);

    // Typed zoom texts, then the posted message shows the zoom.
    const struct {
        const char* typed;
        double zoom;
        const char* shown;
    } cases[] = {{"150 %", 1.5, "150%"}, {"10", 0.25, "25%"}, {"75", 0.75, "75%"}};
    for (const auto& c : cases) {
        Form->ZoomCB->SetText(c.typed);
        gui::sim::KeyDown(gui::VK_RETURN, {}, Form->ZoomCB->Edit());
        gui::Application->ProcessMessages();
        EXPECT_NEAR(static_cast<double>(P()->Zoom()), c.zoom, 1e-9) << c.typed;
        EXPECT_EQ(Form->ZoomCB->Text(), c.shown) << c.typed;
        // The shown zoom fits the box's edit, three digits too.
        gui::TBitmap measure(8, 8);
        measure.Canvas()->Font()->Assign(Form->ZoomCB->Edit()->Font());
        EXPECT_LE(measure.Canvas()->TextWidth(c.shown) + 6, Form->ZoomCB->Edit()->Width()) << c.shown;
    }
    Form->ZoomCB->SetText("abc");
    EXPECT_THROW(Form->ZoomEntered(), rtl::Exception);
    EXPECT_NEAR(static_cast<double>(P()->Zoom()), 0.75, 1e-9);
}

TEST_F(PreviewFixture, WholePageAndPageWidthFollowTheWorkspace)
{
    Open(2);
    P()->SetAlign(gui::TAlign::alNone);
    P()->SetBounds(0, 0, 600, 800);
    const gui::TPoint s = Pages->GetPageSize(0);
    ASSERT_GT(s.Y, 0);
    TqlrPreviewWorkspace* ws = P()->Workspace();
    const int sbw = ws->VertScrollBar()->Width();
    P()->SetZoomMode(TqlrZoomMode::zmPageWidth);
    EXPECT_NEAR(static_cast<double>(P()->Zoom()), double(ws->Width() - sbw - 26) / s.X, 1e-9);
    // A4 is taller than 600 x 800 is wide: the height decides.
    P()->SetZoomMode(TqlrZoomMode::zmWholePage);
    EXPECT_NEAR(static_cast<double>(P()->Zoom()), double(ws->Height() - 26) / s.Y, 1e-9);
}

// The horizontal bar shows only while the laid-out pages are wider than
// the view: not for a whole page or the page width, but for a zoom that
// makes a page wider than the window.
TEST_F(PreviewFixture, HorizontalBarOnlyForPagesWiderThanTheView)
{
    Open(2, 900, 700);
    Form->Show();
    TqlrPreviewWorkspace* ws = P()->Workspace();
    const auto dir = tectest::SnapshotDir();
    struct Case {
        const char* what;
        TqlrZoomMode mode;
        long double zoom;
        bool bar;
    };
    const Case cases[] = {
        {"whole-page", TqlrZoomMode::zmWholePage, 0, false},
        {"page-width", TqlrZoomMode::zmPageWidth, 0, false},
        {"zoom-75", TqlrZoomMode::zmDefault, 0.75L, false},
        {"zoom-200", TqlrZoomMode::zmDefault, 2, true},
    };
    for (const Case& c : cases) {
        if (c.mode == TqlrZoomMode::zmDefault)
            P()->SetZoom(c.zoom);
        else
            P()->SetZoomMode(c.mode);
        gui::Application->ProcessMessages();
        EXPECT_EQ(ws->HorzScrollBar()->Visible(), c.bar) << c.what;
        EXPECT_EQ(ws->HorzRange() > ws->ViewWidth(), c.bar) << c.what;
        EXPECT_EQ(ws->HorzPage(), ws->ViewWidth()) << c.what;
        EXPECT_EQ(ws->VertPage(), ws->ViewHeight()) << c.what;
        EXPECT_EQ(ws->VertScrollBar()->Visible(), ws->VertRange() > ws->ViewHeight()) << c.what;
        // In the picture: the workspace's grey runs down to its bottom
        // edge, or the bar covers it.
        auto shot = Form->GetFormImage();
        const gui::TPoint o = ws->ClientToScreen({0, 0}), f = Form->ClientToScreen({0, 0});
        const gui::TColor corner = shot->Canvas()->Pixels(o.X - f.X + 4, o.Y - f.Y + ws->ClientHeight() - 3);
        EXPECT_EQ(corner == gui::ColorToRGB(ws->BackColor), !c.bar) << c.what;
        const std::string name = std::string("preview-bars-") + c.what + ".png";
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((dir / name).string());
    }
    Form->Hide();
}

// Pages are centred in the width the view shows: the whole width when the
// vertical bar hides (a whole page), the width beside it when it shows.
// (The layout width's 26 pixels against the 10-pixel page gap leave the
// page 3 pixels left of the middle.)
TEST_F(PreviewFixture, PagesCentredInTheWidthTheViewShows)
{
    Open(1, 900, 700);
    Form->Show();
    TqlrPreviewWorkspace* ws = P()->Workspace();
    struct Case {
        const char* what;
        TqlrZoomMode mode;
        long double zoom;
        bool vertBar;
    };
    const Case cases[] = {
        {"whole page", TqlrZoomMode::zmWholePage, 0, false},
        {"zoom 75", TqlrZoomMode::zmDefault, 0.75L, true},
    };
    for (const Case& c : cases) {
        if (c.mode == TqlrZoomMode::zmDefault)
            P()->SetZoom(c.zoom);
        else
            P()->SetZoomMode(c.mode);
        P()->First();
        gui::Application->ProcessMessages();
        ASSERT_EQ(ws->VertScrollBar()->Visible(), c.vertBar) << c.what;
        // The white of the page across its middle row, in the picture.
        auto shot = Form->GetFormImage();
        const gui::TPoint o = ws->ClientToScreen({0, 0}), f = Form->ClientToScreen({0, 0});
        const int y = o.Y - f.Y + ws->ViewHeight() / 2;   // the page's blank middle
        int first = -1, last = -1;
        for (int x = 0; x < ws->ViewWidth(); ++x)
            if (shot->Canvas()->Pixels(o.X - f.X + x, y) == gui::clWhite) {
                if (first < 0) first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << c.what;
        // Off the middle by the few pixels the page gap leaves: less than
        // half a bar.
        const int leftGap = first, rightGap = ws->ViewWidth() - 1 - last;
        EXPECT_LT(std::abs(leftGap - rightGap) / 2.0, ws->VertScrollBar()->Width() / 2.0)
            << c.what << ": " << leftGap << " left, " << rightGap << " right";
    }
    Form->Hide();
}

TEST_F(PreviewFixture, PageNumbersKeysAndDeletes)
{
    Open(5);
    std::vector<int> changes;
    P()->OnPageChanged = [&](TqlrPreview*, int n) { changes.push_back(n); };
    const struct {
        int set, expect;
    } clamp[] = {{0, 1}, {-3, 1}, {3, 3}, {9, 5}};
    for (const auto& c : clamp) {
        P()->SetPageNo(c.set);
        EXPECT_EQ(P()->PageNo(), c.expect) << c.set;
    }
    EXPECT_EQ(Form->PageE->Text(), "5");
    EXPECT_EQ(Form->StatusBar->Panels(0)->Text(), "Page 5 of 5");

    // Ctrl+Page Down on the last page still reports the page.
    changes.clear();
    gui::sim::KeyDown(gui::VK_NEXT, {gui::TShiftStateItem::ssCtrl}, P());
    EXPECT_EQ(P()->PageNo(), 5);
    EXPECT_EQ(changes, std::vector<int>{5});
    gui::sim::KeyDown(gui::VK_HOME, {}, P());
    EXPECT_EQ(P()->PageNo(), 1);
    gui::sim::KeyDown(gui::VK_END, {}, P());
    EXPECT_EQ(P()->PageNo(), 5);
    P()->Workspace()->SetVertPosition(1000);
    const int v = P()->Workspace()->VertPosition();
    gui::sim::KeyDown(gui::VK_DOWN, {}, P());
    EXPECT_EQ(P()->Workspace()->VertPosition(), v + 8);
    gui::sim::KeyDown(gui::VK_PRIOR, {}, P());
    EXPECT_EQ(P()->Workspace()->VertPosition(), v + 8 - 300);

    // The page box.
    Form->PageE->SetText("2");
    gui::sim::KeyDown(gui::VK_RETURN, {}, Form->PageE);
    EXPECT_EQ(P()->PageNo(), 2);
    Form->PageE->SetText("");
    EXPECT_THROW(Form->PageEntered(), rtl::Exception);
    EXPECT_EQ(P()->PageNo(), 2);

    // Deleting page 2 of 5 keeps page 2; page 4 of 5 leaves page 3.
    P()->DeletePage();
    EXPECT_EQ(P()->PageCount(), 4);
    EXPECT_EQ(P()->PageNo(), 2);
    P()->SetPageNo(4);
    P()->DeletePage();
    EXPECT_EQ(P()->PageNo(), 3);

    // An empty preview: page 0.
    P()->Clear();
    EXPECT_EQ(P()->PageCount(), 0);
    P()->SetPageNo(0);
    EXPECT_EQ(P()->PageNo(), 0);
}

TEST_F(PreviewFixture, PreparationRefreshesEveryFiftyPagesAndCancelsOnEscape)
{
    Open(0);
    uint32_t now = 1000;
    TqlrPreview::TickCount = [&] { return now; };
    std::vector<int> laidOut;
    std::vector<std::string> captions;
    int changes = 0;
    P()->OnPageChanged = [&](TqlrPreview*, int) { ++changes; };
    Engine->OnRun = [&] {
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        for (int i = 0; i < 200 && !Report.Terminated(); ++i) {
            if (i == 1) now += 3;   // the first page took 3 ms
            Pages->AddPage(Page);   // reports the page to the report
            laidOut.push_back(P()->Workspace()->PageList().Count());
            if (i == 0) {
                captions.push_back(Form->CancelB->Caption());
                EXPECT_FALSE(Form->CloseQuery());
                EXPECT_FALSE(Form->PrintB->Enabled());
            }
            if (i == 60) changes = 0;
            if (i == 199) captions.push_back(std::to_string(changes));
        }
        Pages->Finish();
        return true;
    };
    Report.PrepareReport(true);
    TqlrPreview::TickCount = [] { return 0u; };
    EXPECT_EQ(P()->ProgressInterval(), 50);
    EXPECT_EQ(laidOut[49], 50);
    EXPECT_EQ(laidOut[199], 50);
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], "Cancel");
    EXPECT_EQ(captions[1], "2");   // the page indexes 100 and 150
    EXPECT_EQ(Form->CancelB->Caption(), "Close");
    EXPECT_EQ(P()->Workspace()->PageList().Count(), 200);
    EXPECT_TRUE(Form->PrintB->Enabled());
    EXPECT_EQ(Form->StatusBar->Panels(0)->Text(), "Page 1 of 200");

    // Escape during a run cancels it instead of closing.  The run before
    // rebuilt the report's objects from their saved state: the page is
    // looked up again.
    Engine->OnRun = [&] {
        auto* page = dynamic_cast<TqlrReportPage*>(Report.FindObject("Page1"));
        EXPECT_NE(page, nullptr);
        if (!page) return false;
        Pages->Initialize();
        Pages->AddSourcePage(page);
        for (int i = 0; i < 200 && !Report.Terminated(); ++i) {
            Pages->AddPage(page);
            if (i == 3) gui::sim::KeyDown(gui::VK_ESCAPE, {}, P());
        }
        Pages->Finish();
        return !Report.Terminated();
    };
    Report.PrepareReport(true);
    EXPECT_LT(P()->PageCount(), 10);
}

TEST_F(PreviewFixture, ToolBarFollowsThePreviewButtons)
{
    Report.PreviewOptions()->Buttons = {TqlrPreviewButton::pbPrint, TqlrPreviewButton::pbExport,
                                        TqlrPreviewButton::pbFind, TqlrPreviewButton::pbNavigator,
                                        TqlrPreviewButton::pbPageSetup, TqlrPreviewButton::pbExportQuick};
    // The export registry with one filter named as the PDF export.
    struct TqlrPDFExport : TqlrCustomExportFilter {
        TqlrPDFExport() : TqlrCustomExportFilter(nullptr) {}
        std::string ClassName() const override { return "TqlrPDFExport"; }
        std::string GetDescription() override { return "Adobe Acrobat PDF file"; }
        void ExportObject(TqlrComponent*) override { ++Objects; }
        int Objects = 0;
    };
    std::vector<TqlrCustomExportFilter*> others;
    TqlrExportFilterCollection& registry = GetExportFilterCollection();
    for (int i = registry.Count() - 1; i >= 0; --i) {
        others.push_back(registry.GetItem(i));
        registry.Unregister(registry.GetItem(i));
    }
    {
        TqlrPDFExport pdf;
        pdf.ShowDialog = false;
        Open(2);
        EXPECT_FALSE(Form->ZoomPlusB->Visible());
        EXPECT_FALSE(Form->Sep3->Visible());
        EXPECT_FALSE(Form->FullScreenBtn->Visible());
        EXPECT_FALSE(Form->Sep1->Visible());
        EXPECT_TRUE(Form->Sep2->Visible());
        EXPECT_TRUE(Form->ExportB->Visible());
        ASSERT_EQ(Form->ExportPopup->Items()->Count(), 1);
        EXPECT_EQ(Form->ExportPopup->Items()->Items(0)->Caption(), "Adobe Acrobat PDF file...");
        EXPECT_TRUE(Form->PdfB->Visible());
        EXPECT_EQ(Form->FPDFExport, &pdf);
        // The right-click menu: Print, Export (with its sub-item), Find.
        std::vector<std::string> items;
        for (int i = 0; i < Form->RightMenu->Items()->Count(); ++i)
            if (Form->RightMenu->Items()->Items(i)->Visible())
                items.push_back(Form->RightMenu->Items()->Items(i)->Caption());
        EXPECT_EQ(items, (std::vector<std::string>{"Print", "Export", "Export to PDF", "Find", "-"}));
        // No drill-down groups: no Expand/Collapse all.
        EXPECT_FALSE(Form->ExpandMI->Visible());
        Form->PdfB->Click();
        EXPECT_EQ(pdf.Objects > 0, true);
        delete Form;
        Form = nullptr;
    }
    for (auto it = others.rbegin(); it != others.rend(); ++it) registry.Register(*it);
}

TEST_F(PreviewFixture, AFailedRefreshLeavesThePreviewUnlocked)
{
    Open(2);
    // The run fails after one page: the error goes to the report's errors,
    // and the preview shows what there is and takes the mouse again.
    Engine->OnRun = [this]() -> bool {
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        Pages->AddPage(Page);
        throw rtl::Exception("the data are gone");
    };
    P()->RefreshReport();
    EXPECT_EQ(Report.Errors()->Text(), "the data are gone\n");
    EXPECT_FALSE(P()->Locked());
    EXPECT_FALSE(P()->Workspace()->Locked());
    EXPECT_FALSE(P()->Thumbnail()->Locked());
    EXPECT_EQ(P()->Workspace()->PageList().Count(), 1);
    gui::TBitmap shot(200, 200);
    P()->Workspace()->SetBounds(0, 0, 200, 200);
    P()->Workspace()->PaintTo(shot.Canvas(), 0, 0);
    const gui::TRect r = P()->Workspace()->PageList().PageRect(0, P()->Workspace()->ViewWidth(),
                                                              P()->Workspace()->Zoom(), false);
    EXPECT_EQ(shot.Canvas()->Pixels(r.Left - P()->Workspace()->HorzPosition() + 3, r.Top - P()->Workspace()->VertPosition() + 3), gui::clWhite);
}

TEST_F(PreviewFixture, SaveAndOpenKeepTheExtensionAndUnlock)
{
    Open(2);
    const auto dir = tectest::ScratchDir("reportout-preview");
    const std::string file = (dir / "list.qp3").string();
    P()->SaveToFile(file);
    EXPECT_FALSE(P()->Locked());
    P()->Clear();
    EXPECT_EQ(P()->PageCount(), 0);
    P()->LoadFromFile(file);
    EXPECT_EQ(P()->PageCount(), 2);
    EXPECT_EQ(P()->PageNo(), 1);
    EXPECT_FALSE(P()->Locked());
}

// The file dialogs scripted: the name chosen gets ".qp3"; a cancelled
// dialog changes nothing; the prepared pages' failure unlocks the preview.
TEST_F(PreviewFixture, SaveAndOpenThroughTheFileDialogs)
{
    Open(2);
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* dialogs = scripted.get();
    auto old = gui::SetDialogService(std::move(scripted));
    const auto dir = tectest::ScratchDir("reportout-preview-files");
    dialogs->FileAnswers.push_back({true, (dir / "list.txt").string()});
    P()->SaveToFile();
    EXPECT_TRUE(std::filesystem::exists(dir / "list.qp3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "list.txt"));
    ASSERT_EQ(dialogs->Calls.size(), 1u);
    EXPECT_EQ(dialogs->Calls[0].File.Filter, "Prepared Report (*.qp3)|*.qp3");

    dialogs->FileAnswers.push_back({false, ""});
    P()->LoadFromFile();
    EXPECT_EQ(P()->PageCount(), 2);

    // A file that is not a prepared report: the error propagates, and the
    // preview is unlocked.
    {
        std::ofstream bad(dir / "bad.qp3");
        bad << "not xml <<<";
    }
    dialogs->FileAnswers.push_back({true, (dir / "bad.qp3").string()});
    try {
        P()->LoadFromFile();
    } catch (const rtl::Exception&) {
    }
    EXPECT_FALSE(P()->Locked());
    EXPECT_FALSE(P()->Workspace()->Locked());
    gui::SetDialogService(std::move(old));
}

// Without a hook the dialogs start where the desktop chooses, unnamed; the
// registered hook is told the report and the use, and what it sets reaches
// the dialog: the save dialog a name, the open dialog a folder only.
TEST_F(PreviewFixture, FileDialogsStartWhereTheRegisteredHookSays)
{
    Open(1);
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* dialogs = scripted.get();
    auto old = gui::SetDialogService(std::move(scripted));
    dialogs->FileAnswers.push_back({false, ""});
    P()->SaveToFile();
    ASSERT_EQ(dialogs->Calls.size(), 1u);
    EXPECT_EQ(dialogs->Calls[0].File.InitialDir, "");
    EXPECT_EQ(dialogs->Calls[0].File.FileName, "");

    std::vector<TqlrFileDialogUse> uses;
    SetFileDialogHook([&](gui::TOpenDialog& d, const TqlrFileDialogUse& use) {
        uses.push_back(use);
        d.InitialDir = "/home/user/Documents";
        if (use.Save) d.FileName = use.Report->ReportOptions()->Name + use.Extension;
    });
    dialogs->FileAnswers.push_back({false, ""});
    P()->SaveToFile();
    dialogs->FileAnswers.push_back({false, ""});
    P()->LoadFromFile();
    SetFileDialogHook(nullptr);
    auto used = gui::SetDialogService(std::move(old));   // keeps the scripted calls

    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0].Report, &Report);
    EXPECT_TRUE(uses[0].Save);
    EXPECT_EQ(uses[0].Extension, ".qp3");
    EXPECT_FALSE(uses[1].Save);
    ASSERT_EQ(dialogs->Calls.size(), 3u);
    const gui::TFileDialogRequest& save = dialogs->Calls[1].File;
    EXPECT_TRUE(save.Save);
    EXPECT_EQ(save.InitialDir, "/home/user/Documents");
    EXPECT_EQ(save.FileName, "Contacts of the eclipse.qp3");
    const gui::TFileDialogRequest& open = dialogs->Calls[2].File;
    EXPECT_FALSE(open.Save);
    EXPECT_EQ(open.InitialDir, "/home/user/Documents");
    EXPECT_EQ(open.FileName, "");
}

TEST_F(PreviewFixture, FirstPassShowsThePagesSoFar)
{
    Open(0);
    // No pages: the report commands are off.
    EXPECT_FALSE(Form->PrintB->Enabled());
    EXPECT_FALSE(Form->PageSettingsB->Enabled());
    Engine->OnRun = [&] {
        Engine->FinalPass = false;
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        for (int i = 0; i < 3; ++i) Pages->AddPage(Page);
        // The count as of the second page: the text follows page 0, page 1
        // and then every interval.
        EXPECT_EQ(Form->StatusBar->Panels(0)->Text(), "First pass: page  2");
        // Pages of a first pass are not laid out.
        EXPECT_EQ(P()->Workspace()->PageList().Count(), 0);
        Engine->FinalPass = true;
        Pages->Finish();
        return true;
    };
    Report.PrepareReport(true);
    EXPECT_EQ(Form->StatusBar->Panels(0)->Text(), "Page 1 of 3");
}

TEST_F(PreviewFixture, CommandKeysFollowTheButtons)
{
    Report.PreviewOptions()->Buttons = {TqlrPreviewButton::pbNavigator};
    Open(3);
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* dialogs = scripted.get();
    auto old = gui::SetDialogService(std::move(scripted));
    // Without pbSave and pbLoad, Ctrl+S and Ctrl+O open no file dialog.
    gui::sim::KeyDown('S', {gui::TShiftStateItem::ssCtrl}, P());
    gui::sim::KeyDown('O', {gui::TShiftStateItem::ssCtrl}, P());
    EXPECT_TRUE(dialogs->Calls.empty());
    Report.PreviewOptions()->Buttons = {TqlrPreviewButton::pbSave};
    dialogs->FileAnswers.push_back({false, ""});
    gui::sim::KeyDown('S', {gui::TShiftStateItem::ssCtrl}, P());
    EXPECT_EQ(dialogs->Calls.size(), 1u);
    gui::SetDialogService(std::move(old));
}

TEST_F(PreviewFixture, ADoubleClickLeavesFullScreen)
{
    Open(2);
    Form->Show();
    Form->SwitchToFullScreen();
    ASSERT_TRUE(Form->FullScreen());
    gui::sim::DblClick(P()->Workspace(), 300, 300);
    EXPECT_FALSE(Form->FullScreen());
    EXPECT_TRUE(Form->StatusBar->Visible());
    Form->Hide();
}

// Reports times, never fails.
TEST_F(PreviewFixture, BenchmarkRelayoutAndFirstPage)
{
    using Clock = std::chrono::steady_clock;
    Open(0);
    Engine->OnRun = [this] {
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        for (int i = 0; i < 1000; ++i) Pages->AddPage(Page);
        Pages->Finish();
        return true;
    };
    const auto t0 = Clock::now();
    double firstShown = -1;
    P()->OnPageChanged = [&](TqlrPreview*, int) {
        if (firstShown < 0 && P()->Workspace()->PageList().Count() > 0)
            firstShown = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    };
    Report.PrepareReport(true);
    const double all = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    const auto t1 = Clock::now();
    for (int i = 0; i < 10; ++i) P()->RelayoutPages();
    const double relayout = std::chrono::duration<double, std::milli>(Clock::now() - t1).count() / 10;
    std::printf("1000 prepared pages: first page shown after %.1f ms, all after %.1f ms; relayout %.2f ms\n",
                firstShown, all, relayout);
    // 10,000 pages laid out by the page list alone.
    TqlrPageList list;
    const auto t2 = Clock::now();
    for (int i = 0; i < 10000; ++i) list.AppendPage(794, 1123, 0.5L);
    list.LayOutRows(1600);
    std::printf("relayout of 10000 pages: %.2f ms\n",
                std::chrono::duration<double, std::milli>(Clock::now() - t2).count());
}

TEST_F(PreviewFixture, FindTextOverThePreparedPages)
{
    Open(2);
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* dialogs = scripted.get();
    auto old = gui::SetDialogService(std::move(scripted));
    // "t" twice on a line the engine draws in one call: the second hit lies
    // right of the first.
    EXPECT_TRUE(P()->FindText("page 2 OF", true, false));
    EXPECT_EQ(P()->Workspace()->SearchPage, 1);
    EXPECT_TRUE(P()->FindText("t", false, false));
    const gui::TRect first = TextSearch().Bounds;
    P()->FindNext();
    EXPECT_TRUE(P()->FindTextFound());
    EXPECT_EQ(TextSearch().Bounds.Top, first.Top);
    EXPECT_GT(TextSearch().Bounds.Left, first.Right - 1);
    EXPECT_FALSE(P()->FindText("Page 2 OF", true, true));
    ASSERT_EQ(dialogs->Calls.size(), 1u);
    EXPECT_EQ(dialogs->Calls[0].Text, "Text not found");
    P()->FindTextClear();
    EXPECT_FALSE(P()->FindTextFound());
    gui::SetDialogService(std::move(old));
}

TEST_F(PreviewFixture, FullScreenSwitchesAndRestores)
{
    Open(2);
    Form->Show();
    const gui::TBorderStyle bs = Form->BorderStyle();
    gui::sim::KeyDown(gui::VK_F11, {}, P());
    EXPECT_TRUE(Form->FullScreen());
    EXPECT_FALSE(Form->ToolBar->Visible());
    EXPECT_EQ(Form->BorderStyle(), gui::TBorderStyle::bsNone);
    gui::sim::KeyDown(gui::VK_F11, {}, P());
    EXPECT_FALSE(Form->FullScreen());
    EXPECT_TRUE(Form->ToolBar->Visible());
    EXPECT_EQ(Form->BorderStyle(), bs);
    Form->Hide();
}

TEST_F(PreviewFixture, ShowReportOpensThePreviewWindow)
{
    RegisterReportOutput();
    Report.PreviewOptions()->Modal = false;
    Report.SetOldStyleProgress(true);
    Report.ShowReport();
    auto* window = Report.PreviewForm();
    ASSERT_NE(window, nullptr);
    auto* preview = dynamic_cast<TqlrPreview*>(window->Preview());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->PageCount(), 2);
    EXPECT_EQ(preview->PreviewForm()->Caption(), "Contacts of the eclipse");
    preview->PreviewForm()->Close();
}

// Two pages with an outline of three levels on page 1 and one entry on page 2.
void FillOutline(PreviewFixture& f)
{
    f.Pages->Initialize();
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Memo->SetText("Page 1 of the list");
    f.Pages->AddObject(f.Memo);
    TqlrCustomOutline* o = f.Pages->Outline();
    o->AddItem("Part A", 0);
    o->AddItem("Section A.1", 100);
    o->AddItem("Item A.1.a", 200);
    o->LevelUp();
    o->LevelUp();
    o->LevelUp();
    f.Pages->AddPage(f.Page);
    f.Memo->SetText("Page 2 of the list");
    f.Pages->AddObject(f.Memo);
    o->AddItem("Part B", 50);
    o->LevelUp();
    f.Pages->Finish();
}

TEST_F(PreviewFixture, OutlineTreeGoesToItsPositionsAndTheSplitterResizesIt)
{
    Report.PreviewOptions()->OutlineVisible = true;
    Engine->OnRun = [this] {
        FillOutline(*this);
        return true;
    };
    FillOutline(*this);
    Form = new TqlrPreviewForm(nullptr);
    Report.SetPreview(Form->Preview());
    Form->Init();
    Form->SetWindowState(gui::TWindowState::wsNormal);
    Form->SetBounds(0, 0, 803, 584);
    gui::TTreeView* tree = P()->OutlineTree();
    EXPECT_TRUE(tree->Visible());
    EXPECT_TRUE(P()->Splitter()->Visible());
    EXPECT_TRUE(Form->OutlineB->Down());
    ASSERT_EQ(tree->Count(), 2);
    EXPECT_EQ(tree->Item(0)->Text, "Part A");
    ASSERT_EQ(tree->Item(0)->Count(), 1);
    ASSERT_EQ(tree->Item(0)->Item(0)->Count(), 1);
    EXPECT_EQ(tree->Item(0)->Item(0)->Item(0)->Text, "Item A.1.a");
    EXPECT_EQ(tree->Item(0)->Item(0)->Item(0)->StateIndex, 200);
    gui::TTreeNode* b = tree->Item(1);
    EXPECT_EQ(b->ImageIndex, 2);
    EXPECT_EQ(b->StateIndex, 50);
    // OutlineExpand (the default) shows all four rows; a click on "Part B"
    // goes to page 2, 50 pixels below its top margin.
    ASSERT_EQ(tree->VisibleNodes().size(), 4u);
    gui::sim::Click(tree, 2 + 16 + 8, 3 * tree->RowHeight() + 5);
    TqlrPreviewWorkspace* ws = P()->Workspace();
    const gui::TRect r = ws->PageList().PageRect(1, ws->ViewWidth(), ws->Zoom(), false);
    EXPECT_EQ(ws->VertPosition(), r.Top + static_cast<int>(std::lround(10 * 3.77953 + 50)) - 10);
    EXPECT_EQ(P()->PageNo(), 2);

    // Dragging the bar widens the tree and lays the pages out again.
    const int w = tree->Width();
    Form->Show();
    gui::Application->ProcessMessages();
    gui::sim::MouseDown(P()->Splitter(), gui::TMouseButton::mbLeft, 1, 10);
    gui::sim::MouseMove(P()->Splitter(), 3, 10, {gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(P()->Splitter(), gui::TMouseButton::mbLeft, 3, 10);
    EXPECT_EQ(tree->Width(), w + 2);

    // Thumbnails replace the outline.
    P()->SetThumbnailVisible(true);
    EXPECT_FALSE(tree->Visible());
    EXPECT_TRUE(Form->ThumbB->Down());
    EXPECT_FALSE(Form->OutlineB->Down());
    Form->Hide();
}

TEST_F(PreviewFixture, Screenshot)
{
    Report.PreviewOptions()->Buttons = TqlrPreviewButtons::FromMask(0x0FFF);
    Open(2, 900, 700);
    Form->Show();
    P()->SetZoom(0.75L);
    gui::Application->ProcessMessages();
    const auto dir = tectest::SnapshotDir();
    for (const char* name : {"preview-window.png", "preview-whole-page.png"}) {
        auto shot = Form->GetFormImage();
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((dir / name).string());
        std::printf("preview window picture: %s\n", (dir / name).c_str());
        // The workspace's background and a white page show.
        P()->SetZoomMode(TqlrZoomMode::zmWholePage);
        gui::Application->ProcessMessages();
    }
    // The outline, then the thumbnails.
    FillOutline(*this);
    P()->Init();
    P()->SetOutlineVisible(true);
    P()->SetZoom(0.75L);
    gui::Application->ProcessMessages();
    for (const char* name : {"preview-outline.png", "preview-thumbnails.png"}) {
        auto shot = Form->GetFormImage();
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((dir / name).string());
        std::printf("preview window picture: %s\n", (dir / name).c_str());
        P()->SetThumbnailVisible(true);
        gui::Application->ProcessMessages();
    }
    Form->Hide();
}

} // namespace

namespace {

// The closed owner-drawn boxes of the print dialog show their item with
// its picture: the printer with the printer image, the print mode with its
// sheets.
TEST(PrintDialogPictures, ClosedBoxesShowTheirPictures)
{
    TqlrPrintOptions options;
    TqlrPrintDialog d(nullptr);
    d.Options = &options;
    d.Show();
    gui::Application->ProcessMessages();
    ASSERT_GE(d.PrintersCB->ItemIndex(), 0);
    auto shot = d.GetImage();
    const auto count = [&](gui::TWinControl* box, int x0, int x1) {
        const gui::TPoint o = box->ClientToScreen({0, 0});
        const gui::TPoint f = d.ClientToScreen({0, 0});
        int n = 0;
        for (int y = 3; y < box->Height() - 3; ++y)
            for (int x = x0; x < x1; ++x) {
                const gui::TColor c = shot->Canvas()->Pixels(o.X - f.X + x, o.Y - f.Y + y);
                if (c != gui::clWhite && c != gui::ColorToRGB(gui::clWindow) && c != gui::ColorToRGB(gui::clHighlight))
                    ++n;
            }
        return n;
    };
    // Picture pixels left of the printer's name, and none far right.
    EXPECT_GT(count(d.PrintersCB, 4, 20), 20);
    EXPECT_GT(count(d.PrintModeCB, 4, 60), 20);
    const auto dir = tectest::SnapshotDir();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "print-dialog.png").string());
    std::printf("print dialog picture: %s\n", (dir / "print-dialog.png").c_str());
    d.Hide();
}

} // namespace
