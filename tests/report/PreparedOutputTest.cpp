// Output of prepared pages: DrawPage on a bitmap and on a printer canvas,
// Print through a recording printer (page lists, odd/even, reverse, copies,
// collation, duplex, split, join, scale, termination, failures), Export
// through a recording filter, and ObjectOver with a stub preview.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PreparedPagesFixture.h"
#include "RecordingPrinter.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Metafile.h"
#include "platform/rtl/Streams.h"
#include "report/qlrDsgnIntf.h"

using namespace qlr;
using qlrtest::PagesFixture;
using qlrtest::ServicesScope;
using qlrtest::RecordingPrinter;

namespace {

// n pages, the first memo reading "Page k" on page k.
void BuildPages(PagesFixture& f, int n)
{
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < n; ++i) {
        f.Pages->AddPage(f.Page);
        f.Memo->SetText("Page " + std::to_string(i + 1));
        f.Pages->AddObject(f.Band);
    }
}

std::string FirstMemoText(TqlrReportPage* page)
{
    auto* m = dynamic_cast<TqlrMemoView*>(page->Objects().at(0)->Objects().at(0));
    return m ? m->Text() : "";
}

// Printing set-up: no dialog, the pages printed recorded by their text.
struct PrintFixture : PagesFixture {
    ServicesScope Scope;
    std::vector<std::string> Printed;
    std::vector<int> CopyNos;
    explicit PrintFixture(int pages)
    {
        BuildPages(*this, pages);
        Report.PrintOptions()->ShowDialog = false;
        Report.OnPrintPage = [this](TqlrReportPage* page, int copyNo) {
            Printed.push_back(FirstMemoText(page));
            CopyNos.push_back(copyNo);
        };
    }
    RecordingPrinter& Printer() { return Scope.Printer(); }
};

bool IsRed(gui::TColor c)
{
    return (c & 0xFFFFFF) == (gui::clRed & 0xFFFFFF);
}

} // namespace

// ---------------------------------------------------------------- DrawPage

TEST(PreparedDraw, NonPrintableObjectsShowOnScreenOnly)
{
    PagesFixture f;
    f.Memo2->SetColor(gui::clRed);
    f.Memo2->SetPrintable(false);
    f.Memo->Frame()->SetTyp({TqlrFrameType::ftLeft, TqlrFrameType::ftTop, TqlrFrameType::ftRight,
                             TqlrFrameType::ftBottom});
    BuildPages(f, 1);
    // Memo2: 10 mm margin + 200 units, 5 units down.
    const int x = static_cast<int>(10 * fr01cm) + 280, y = static_cast<int>(10 * fr01cm) + 23;
    gui::TBitmap screen(800, 1130);
    f.Pages->DrawPage(0, screen.Canvas(), 1, 1, 0, 0);
    EXPECT_TRUE(IsRed(screen.Canvas()->Pixels(x, y)));
    // For looking at: the page as the preview would show it.
    gui::TPicture shot;
    shot.SetGraphic(&screen);
    shot.SaveToFile(testing::TempDir() + "prepared_page.png");

    gui::TBitmap paper(800, 1130);
    paper.Canvas()->Brush()->SetColor(gui::clWhite);
    paper.Canvas()->FillRect(gui::Rect(0, 0, 800, 1130));
    paper.Canvas()->SetPrinterCanvas(true);
    f.Pages->DrawPage(0, paper.Canvas(), 1, 1, 0, 0);
    EXPECT_FALSE(IsRed(paper.Canvas()->Pixels(x, y)));
}

TEST(PreparedDraw, MirrorMarginsExchangeMarginsOnEvenPagesOnly)
{
    PagesFixture f;
    f.Page->SetLeftMargin(30);
    f.Page->SetMirrorMargins(true);
    f.Memo->SetColor(gui::clRed);
    BuildPages(f, 3);
    // Memo1 starts 10 units into the printable area: at 30 mm on pages 1
    // and 3, at 10 mm on page 2 (x = 110 lies only in the latter; y is
    // below the text).
    const int x = 110, y = static_cast<int>(10 * fr01cm) + 23;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        gui::TBitmap bmp(800, 1130);
        f.Pages->DrawPage(i, bmp.Canvas(), 1, 1, 0, 0);
        EXPECT_EQ(IsRed(bmp.Canvas()->Pixels(x, y)), i == 1);
        EXPECT_TRUE(IsRed(bmp.Canvas()->Pixels(static_cast<int>(30 * fr01cm) + 40, y)) || i == 1);
        EXPECT_DOUBLE_EQ(static_cast<double>(f.Pages->GetPage(i)->LeftMargin()), 30.0);
    }
}

TEST(PreparedDraw, PageClipLeavesPixelsOutsideThePageAlone)
{
    PagesFixture f;
    f.Memo2->SetColor(gui::clRed);
    f.Memo2->SetBounds(680, 5, 300, 20);        // runs past the paper's right edge
    BuildPages(f, 1);
    gui::TBitmap bmp(1200, 1200);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::Rect(0, 0, 1200, 1200));
    f.Pages->DrawPage(0, bmp.Canvas(), 1, 1, 100, 0);
    const int right = 100 + static_cast<int>(std::lround(210 * 3.77953));   // page edge
    const int y = static_cast<int>(10 * fr01cm) + 15;
    EXPECT_TRUE(IsRed(bmp.Canvas()->Pixels(right - 10, y)));
    EXPECT_FALSE(IsRed(bmp.Canvas()->Pixels(right + 5, y)));
    // The caller's clip is back: drawing outside the page works again.
    bmp.Canvas()->Brush()->SetColor(gui::clRed);
    bmp.Canvas()->FillRect(gui::Rect(1100, 1100, 1110, 1110));
    EXPECT_TRUE(IsRed(bmp.Canvas()->Pixels(1105, 1105)));
}

TEST(PreparedDraw, MetafileCanvasRecordsEveryObject)
{
    PagesFixture f;
    BuildPages(f, 1);
    gui::TMetafile mf;
    {
        // Far smaller than the page: a metafile still gets every object.
        gui::TMetafileCanvas canvas(&mf, 40, 40);
        f.Pages->DrawPage(0, &canvas, 1, 1, 0, 0);
    }
    // Text goes out glyph by glyph.
    std::string texts;
    for (const gui::TMetaRecord& r : mf.Records())
        if (r.Kind == gui::TMetaRecord::TKind::Text) texts += r.Text;
    EXPECT_NE(texts.find("Page 1"), std::string::npos);
    EXPECT_NE(texts.find("second"), std::string::npos);
}

TEST(PreparedFileErrors, MalformedFileRaisesInvalidFileFormat)
{
    TqlrReport report(nullptr);
    rtl::TMemoryStream ms;
    const std::string text = "<?xml version=\"1.0\"?><preparedreport><previewpages><page0";
    ms.Write(text.data(), static_cast<int64_t>(text.size()));
    ms.SetPosition(0);
    try {
        report.PreviewPages()->LoadFromStream(ms);
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid file format");
    }
}

// ---------------------------------------------------------------- Print

TEST(PreparedPrint, PageSelectionTable)
{
    struct Case {
        const char* name;
        int pages;
        std::string numbers;
        TqlrPrintPages which;
        bool reverse;
        std::vector<std::string> printed;
    };
    const std::vector<Case> cases = {
        {"all", 3, "", TqlrPrintPages::ppAll, false, {"Page 1", "Page 2", "Page 3"}},
        {"list 2 of 2", 2, "2", TqlrPrintPages::ppAll, false, {"Page 2"}},
        {"list 3 of 2", 2, "3", TqlrPrintPages::ppAll, false, {}},
        {"even reversed", 3, "", TqlrPrintPages::ppEven, true, {"Page 2"}},
        {"odd", 3, "", TqlrPrintPages::ppOdd, false, {"Page 1", "Page 3"}},
        {"reverse", 3, "", TqlrPrintPages::ppAll, true, {"Page 3", "Page 2", "Page 1"}},
        {"range", 3, "2-", TqlrPrintPages::ppAll, false, {"Page 2", "Page 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintFixture f(c.pages);
        f.Report.PrintOptions()->PageNumbers = c.numbers;
        f.Report.PrintOptions()->PrintPages = c.which;
        f.Report.PrintOptions()->Reverse = c.reverse;
        EXPECT_TRUE(f.Report.Print());
        EXPECT_EQ(f.Printed, c.printed);
        EXPECT_EQ(f.Printer().Count("BeginPage"), static_cast<int>(c.printed.size()));
        EXPECT_EQ(f.Printer().Count("BeginDoc"), c.printed.empty() ? 0 : 1);
        EXPECT_EQ(f.Printer().Count("EndDoc"), c.printed.empty() ? 0 : 1);
        // The print options are as before and CopyNo is back to 0.
        EXPECT_EQ(f.Report.PrintOptions()->PageNumbers, c.numbers);
        EXPECT_EQ(f.Pages->CopyNo, 0);
    }
}

TEST(PreparedPrint, CopiesCollationAndDuplexBlankPages)
{
    {
        PrintFixture f(3);
        f.Page->SetDuplex(TqlrDuplexMode::dmVertical);
        f.Pages->ClearPageCache();
        f.Pages->SourcePages()[0]->SetDuplex(TqlrDuplexMode::dmVertical);
        f.Report.PrintOptions()->Copies = 3;
        f.Report.PrintOptions()->Collate = true;
        EXPECT_TRUE(f.Report.Print());
        // Three sides per copy: an empty page keeps each copy on its own sheet.
        EXPECT_EQ(f.Printer().Count("BeginPage"), 12);
        EXPECT_EQ(f.CopyNos, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3}));
        EXPECT_EQ(f.Printer().Log.back(), "EndDoc");
        EXPECT_EQ(f.Printer().Count("SetPrintParams 9 210x297 P bin 7 duplex 1 copies 1"), 1);
    }
    {
        PrintFixture f(2);
        f.Pages->SourcePages()[0]->SetDuplex(TqlrDuplexMode::dmVertical);
        f.Report.PrintOptions()->Copies = 2;
        f.Report.PrintOptions()->Collate = true;
        EXPECT_TRUE(f.Report.Print());
        EXPECT_EQ(f.Printer().Count("BeginPage"), 4);    // even sides: no blank pages
    }
    {
        PrintFixture f(2);
        f.Report.PrintOptions()->Copies = 3;
        f.Report.PrintOptions()->Collate = false;
        EXPECT_TRUE(f.Report.Print());
        EXPECT_EQ(f.Printer().Count("BeginPage"), 2);    // the device makes the copies
        EXPECT_EQ(f.Printer().Count("SetPrintParams 9 210x297 P bin 7 duplex 0 copies 3"), 1);
        EXPECT_EQ(f.CopyNos, (std::vector<int>{1, 1}));
    }
}

TEST(PreparedPrint, FailuresShowAMessageAndStartNothing)
{
    auto dialogs = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* d = dialogs.get();
    auto previous = gui::SetDialogService(std::move(dialogs));
    {
        PrintFixture f(2);
        f.Scope.Services->Printers = false;
        EXPECT_FALSE(f.Report.Print());
        ASSERT_EQ(d->Calls.size(), 1u);
        EXPECT_EQ(d->Calls[0].Text, "No printers installed on your system");
        EXPECT_TRUE(f.Printer().Log.empty());
    }
    d->Calls.clear();
    {
        PrintFixture f(2);
        f.Printer().Valid = false;
        EXPECT_TRUE(f.Report.Print());
        ASSERT_EQ(d->Calls.size(), 1u);
        EXPECT_EQ(d->Calls[0].Text, "Printer selected is not valid");
        EXPECT_EQ(f.Printer().Count("BeginDoc"), 0);
    }
    d->Calls.clear();
    {
        // The dialog cancelled: nothing printed, the options untouched.
        PrintFixture f(2);
        f.Report.PrintOptions()->ShowDialog = true;
        f.Report.PrintOptions()->Printer = "Office";
        f.Scope.Services->DialogResult = 2;
        EXPECT_FALSE(f.Report.Print());
        EXPECT_EQ(f.Scope.Services->Dialogs, 1);
        EXPECT_EQ(f.Scope.Services->Selected, std::vector<std::string>{"Office"});
        EXPECT_EQ(f.Printer().Count("BeginDoc"), 0);
        EXPECT_TRUE(f.Printed.empty());
        EXPECT_TRUE(d->Calls.empty());
    }
    gui::SetDialogService(std::move(previous));
}

TEST(PreparedPrint, TitleAndOutputFile)
{
    PrintFixture f(1);
    f.Report.PrintOptions()->PrnOutFileName = "/tmp/out.prn";
    EXPECT_TRUE(f.Report.Print());
    EXPECT_EQ(f.Printer().Count("FileName /tmp/out.prn"), 1);
    EXPECT_EQ(f.Printer().Count("Title Fixture"), 1);
    PrintFixture g(1);
    g.Report.ReportOptions()->Name = "";
    EXPECT_TRUE(g.Report.Print());
    EXPECT_EQ(g.Printer().Count("FileName "), 1);      // the device
    EXPECT_EQ(g.Printer().Count("Title "), 1);          // no name, no file name
}

TEST(PreparedPrint, TerminationAbortsAfterTheCurrentPage)
{
    PrintFixture f(3);
    f.Report.OnPrintPage = [&f](TqlrReportPage* page, int) {
        f.Printed.push_back(FirstMemoText(page));
        if (f.Printed.size() == 2) f.Report.SetTerminated(true);
    };
    EXPECT_TRUE(f.Report.Print());
    EXPECT_EQ(f.Printed, (std::vector<std::string>{"Page 1", "Page 2"}));
    EXPECT_EQ(f.Printer().Count("EndPage"), 2);
    EXPECT_EQ(f.Printer().Count("Abort"), 1);
    EXPECT_EQ(f.Printer().Count("EndDoc"), 0);
}

TEST(PreparedPrint, SplitJoinAndScaleModes)
{
    struct Case {
        const char* name;
        TqlrPrintMode mode;
        long double paperWidth, paperHeight;
        int pages;
        int sheets;
    };
    // The sheet is A4 (210 x 297 mm).
    const std::vector<Case> cases = {
        {"split twice the sheet", TqlrPrintMode::pmSplit, 420, 594, 1, 4},
        {"split two pages", TqlrPrintMode::pmSplit, 420, 594, 2, 8},
        {"join half the sheet", TqlrPrintMode::pmJoin, 105, 148.5L, 4, 1},
        {"join five pages", TqlrPrintMode::pmJoin, 105, 148.5L, 5, 2},
        {"scale", TqlrPrintMode::pmScale, 297, 420, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintFixture f(0);
        f.Page->SetSizeAndDimensions(256, c.paperWidth, c.paperHeight);
        f.Pages->Clear();
        BuildPages(f, c.pages);
        f.Report.PrintOptions()->PrintMode = c.mode;
        f.Report.PrintOptions()->PrintOnSheet = 9;
        EXPECT_TRUE(f.Report.Print());
        EXPECT_EQ(f.Printer().Count("BeginPage"), c.sheets);
        EXPECT_EQ(f.Printer().Count("SetViewParams 9"), 1);
        if (c.mode == TqlrPrintMode::pmScale) {
            EXPECT_NEAR(static_cast<double>(f.Pages->PrintScale), 210.0 / 297.0, 1e-9);
            EXPECT_EQ(f.Printer().Count("SetPrintParams 9 210x297 P bin 7 duplex 0 copies 1"), 1);
        }
        if (c.mode == TqlrPrintMode::pmJoin) {
            EXPECT_EQ(f.Printed.size(), static_cast<std::size_t>(c.pages));
        }
    }
}

// ---------------------------------------------------------------- Export

namespace {

class RecordingFilter : public TqlrCustomExportFilter {
public:
    RecordingFilter() : TqlrCustomExportFilter(NoRegister{}) { ShowDialog = false; }
    std::vector<std::vector<std::string>> Pages;
    int Started = 0, Finished = 0, FinishedPages = 0;
    int FailOnPage = -1;
    bool FailOnStart = false;
    bool StartResult = true;
    int ModalResult = 1;
    int ShowModal() override { return ModalResult; }
    bool Start() override
    {
        ++Started;
        if (FailOnStart) throw rtl::EFCreateError("Cannot create file \"/nowhere/x.pdf\"");
        return StartResult;
    }
    void StartPage(TqlrReportPage*, int) override { Pages.emplace_back(); }
    void ExportObject(TqlrComponent* obj) override
    {
        if (static_cast<int>(Pages.size()) - 1 == FailOnPage) throw rtl::Exception("disk full");
        Pages.back().push_back(obj->Name());
    }
    void FinishPage(TqlrReportPage*, int) override { ++FinishedPages; }
    void Finish() override { ++Finished; }
};

} // namespace

TEST(PreparedExport, HeadersAndFootersOnlyOnFirstAndLastPage)
{
    PagesFixture f;
    auto* header = new TqlrPageHeader(f.Page);
    header->SetName("PageHeader1");
    header->SetBounds(0, 0, 700, 20);
    auto* footer = new TqlrPageFooter(f.Page);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 900, 700, 20);
    f.Memo2->SetPrintable(false);
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < 3; ++i) {
        f.Pages->AddPage(f.Page);
        f.Pages->AddObject(header);
        f.Pages->AddObject(f.Band);
        f.Pages->AddObject(footer);
    }
    RecordingFilter filter;
    filter.SuppressPageHeadersFooters = true;
    EXPECT_TRUE(f.Report.Export(&filter));
    ASSERT_EQ(filter.Pages.size(), 3u);
    using V = std::vector<std::string>;
    EXPECT_EQ(filter.Pages[0], (V{"_pagebackground", "PageHeader1", "MasterData1", "Memo1", "Memo2"}));
    EXPECT_EQ(filter.Pages[1], (V{"_pagebackground", "MasterData1", "Memo1", "Memo2"}));
    EXPECT_EQ(filter.Pages[2], (V{"_pagebackground", "MasterData1", "Memo1", "Memo2", "PageFooter1"}));
    EXPECT_EQ(filter.Started, 1);
    EXPECT_EQ(filter.Finished, 1);
    EXPECT_EQ(filter.Report, &f.Report);

    RecordingFilter all;
    EXPECT_TRUE(f.Report.Export(&all));
    EXPECT_EQ(all.Pages[1].size(), 6u);
}

TEST(PreparedExport, PageListCancelAndErrors)
{
    PagesFixture f;
    BuildPages(f, 3);
    EXPECT_FALSE(f.Report.Export(nullptr));
    {
        RecordingFilter filter;
        filter.PageNumbers = "2";
        EXPECT_TRUE(f.Report.Export(&filter));
        EXPECT_EQ(filter.Pages.size(), 1u);
        filter.Pages.clear();
        filter.CurPage = true;       // no preview: page 1
        EXPECT_TRUE(f.Report.Export(&filter));
        EXPECT_EQ(filter.Pages.size(), 1u);
    }
    {
        RecordingFilter filter;
        filter.ShowDialog = true;
        filter.ModalResult = 2;
        EXPECT_FALSE(f.Report.Export(&filter));
        EXPECT_EQ(filter.Started, 0);
    }
    auto dialogs = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* d = dialogs.get();
    auto previous = gui::SetDialogService(std::move(dialogs));
    f.Report.EngineOptions()->NewSilentMode = TqlrSilentMode::simMessageBoxes;
    {
        RecordingFilter filter;
        filter.FailOnPage = 1;
        EXPECT_FALSE(f.Report.Export(&filter));
        EXPECT_EQ(filter.FinishedPages, 2);
        EXPECT_EQ(filter.Finished, 1);
        ASSERT_EQ(d->Calls.size(), 1u);
        EXPECT_NE(d->Calls[0].Text.find("disk full"), std::string::npos);
    }
    {
        // A file that cannot be created fails in Start: reported like the
        // other export errors, the filter still finished, no page written.
        RecordingFilter filter;
        filter.FailOnStart = true;
        bool result = true;
        EXPECT_NO_THROW(result = f.Report.Export(&filter));
        EXPECT_FALSE(result);
        EXPECT_TRUE(filter.Pages.empty());
        EXPECT_EQ(filter.Finished, 1);
        ASSERT_EQ(d->Calls.size(), 2u);
        EXPECT_NE(d->Calls[1].Text.find("Cannot create file"), std::string::npos) << d->Calls[1].Text;
        // Each export reports its own errors, not those of an earlier one.
        EXPECT_EQ(d->Calls[1].Text.find("disk full"), std::string::npos) << d->Calls[1].Text;
    }
    {
        // A filter that declines to start (no file name given) exported
        // nothing: not a success, and nothing to report.
        RecordingFilter filter;
        filter.StartResult = false;
        EXPECT_FALSE(f.Report.Export(&filter));
        EXPECT_TRUE(filter.Pages.empty());
        EXPECT_EQ(d->Calls.size(), 2u);
    }
    gui::SetDialogService(std::move(previous));
}

// ---------------------------------------------------------------- ObjectOver

namespace {

class StubPreview : public TqlrCustomPreview {
public:
    std::vector<std::string> Log;
    std::string HintText;
    bool HintShown = false;
    void Init() override { Log.push_back("Init"); }
    void Lock() override { Log.push_back("Lock"); }
    void Unlock() override {}
    void RefreshReport() override { Log.push_back("RefreshReport"); }
    void InternalOnProgressStart(TqlrReport*, TqlrProgressType, int) override {}
    void InternalOnProgress(TqlrReport*, TqlrProgressType, int) override {}
    void InternalOnProgressStop(TqlrReport*, TqlrProgressType, int) override {}
    void SetPageNo(int n) override { Log.push_back("SetPageNo " + std::to_string(n)); }
    void SetPosition(int page, int top) override
    {
        Log.push_back("SetPosition " + std::to_string(page) + " " + std::to_string(top));
    }
    void SetHint(const std::string& h) override { HintText = h; }
    void SetShowHint(bool show) override { HintShown = show; }
};

} // namespace

TEST(PreparedObjectOver, UrlsHintsClicksAndDrillDown)
{
    PagesFixture f;
    auto* group = new TqlrGroupHeader(f.Page);
    group->SetName("GroupHeader1");
    group->SetBounds(0, 100, 700, 30);
    group->DrillDown = true;
    group->DrillName = "g1";
    f.Memo->SetURL("@3");
    f.Memo2->SetURL("#there");
    f.Memo2->SetHint("Short|Long text");
    f.Memo2->SetShowHint(true);
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < 3; ++i) {
        f.Pages->AddPage(f.Page);
        f.Pages->AddObject(f.Band);
        f.Pages->AddObject(group);
    }
    f.Engine->CurY = 250;
    f.Pages->AddAnchor("there");

    StubPreview preview;
    f.Report.SetPreview(&preview);
    std::vector<std::pair<std::string, bool>> status;
    f.Report.OnProgressMessage = [&](const std::string& s, bool hint) { status.emplace_back(s, hint); };
    std::vector<std::string> over;
    f.Report.OnMouseOverObject = [&](TqlrView* v) { over.push_back(v->Name()); };
    std::vector<std::string> shell;
    gui::SetShellOpenHandler([&](const std::string& s) {
        shell.push_back(s);
        return true;
    });

    const int m = static_cast<int>(std::lround(10 * 3.77953));   // the margins at scale 1
    int cursor = gui::crDefault;
    // Moving over Memo1: its URL in the status bar, the hand cursor.
    f.Pages->ObjectOver(0, m + 20, m + 10, gui::TMouseButton::mbLeft, {}, 1, 0, 0, false, cursor);
    EXPECT_EQ(cursor, gui::crHandPoint);
    EXPECT_EQ(over, std::vector<std::string>{"Memo1"});
    ASSERT_GE(status.size(), 3u);
    EXPECT_EQ(status.back(), (std::pair<std::string, bool>{"@3", false}));

    // Clicks: "@3" shows page 3, "#there" the anchor's page and top.
    f.Pages->ObjectOver(0, m + 20, m + 10, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_EQ(preview.Log.back(), "SetPageNo 3");
    f.Pages->ObjectOver(0, m + 220, m + 10, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_EQ(preview.Log.back(), "SetPosition 3 250");
    EXPECT_EQ(preview.HintText, "Short");
    EXPECT_TRUE(preview.HintShown);
    EXPECT_EQ(status.back(), (std::pair<std::string, bool>{"Long text", true}));

    // A plain URL goes to the shell; at scale 2 with an offset.
    f.Memo->SetURL("https://example.org/eclipse");
    f.Pages->Clear();
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    f.Pages->AddObject(group);
    f.Pages->ObjectOver(0, 2 * m + 40 + 7, 2 * m + 20 + 3, gui::TMouseButton::mbLeft, {}, 2, 7, 3, true, cursor);
    EXPECT_EQ(shell, std::vector<std::string>{"https://example.org/eclipse"});

    // The drill-down group header toggles its name and asks for a new run.
    cursor = gui::crDefault;
    f.Pages->ObjectOver(0, m + 20, m + 110, gui::TMouseButton::mbLeft, {}, 1, 0, 0, false, cursor);
    EXPECT_EQ(cursor, gui::crHandPoint);
    EXPECT_EQ(f.Report.DrillState()->Count(), 0);
    f.Pages->ObjectOver(0, m + 20, m + 110, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_EQ(f.Report.DrillState()->Count(), 1);
    EXPECT_EQ(preview.Log.back(), "RefreshReport");
    f.Pages->ObjectOver(0, m + 20, m + 110, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_EQ(f.Report.DrillState()->Count(), 0);

    // Nothing happens while the engine runs.
    f.Engine->Running = true;
    preview.Log.clear();
    f.Pages->ObjectOver(0, m + 20, m + 110, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_TRUE(preview.Log.empty());
    f.Engine->Running = false;
    gui::SetShellOpenHandler(nullptr);
    f.Report.SetPreview(nullptr);
}

TEST(PreparedObjectOver, ClickHandlerThatModifiesThePageStoresIt)
{
    PagesFixture f;
    BuildPages(f, 1);
    f.Report.OnClickObject = [](TqlrView* v, gui::TMouseButton, const rtl::Set<gui::TShiftStateItem, 8>&,
                                bool& modified) {
        if (auto* m = dynamic_cast<TqlrMemoView*>(v)) m->SetText("clicked");
        modified = true;
    };
    const int m = static_cast<int>(std::lround(10 * 3.77953));
    int cursor = gui::crDefault;
    f.Pages->ObjectOver(0, m + 20, m + 10, gui::TMouseButton::mbLeft, {}, 1, 0, 0, true, cursor);
    EXPECT_EQ(f.Pages->PagesItem()->Items(0)->Name(), "TqlrReportPage");
    EXPECT_EQ(FirstMemoText(f.Pages->GetPage(0)), "clicked");
}

TEST(PreparedExport, FiltersAreListedUnlessMadeWithoutRegistering)
{
    class Filter : public TqlrCustomExportFilter {
    public:
        using TqlrCustomExportFilter::TqlrCustomExportFilter;
        void ExportObject(TqlrComponent*) override {}
    };
    TqlrExportFilterCollection& filters = GetExportFilterCollection();
    const int before = filters.Count();
    {
        Filter listed(nullptr);
        EXPECT_EQ(filters.Count(), before + 1);
        EXPECT_EQ(filters.GetItem(filters.Count() - 1), &listed);
        EXPECT_TRUE(listed.ShowDialog);
        EXPECT_TRUE(listed.UseFileCache);
        EXPECT_TRUE(listed.ShowProgress);
        EXPECT_FALSE(listed.OverwritePrompt);
        Filter hidden(TqlrCustomExportFilter::NoRegister{});
        EXPECT_EQ(filters.Count(), before + 1);
        EXPECT_FALSE(hidden.Registered());
    }
    EXPECT_EQ(filters.Count(), before);
}
