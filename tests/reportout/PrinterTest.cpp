// The paper table, the virtual printer, and the device printer against the
// fake printer back-end: device-mode records sent for each job setting,
// measured sizes in whole millimetres, the list's selection rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "platform/gui/Dialogs.h"
#include "platform/gui/PrinterDevice.h"
#include "report/qlrOutputServices.h"
#include "reportout/qlrPrinter.h"

using namespace qlr;
using gui::TPrinterOrientation;

namespace {

constexpr auto kPortrait = TPrinterOrientation::poPortrait;
constexpr auto kLandscape = TPrinterOrientation::poLandscape;

// Installs a printer back-end and a scripted dialog service for one test,
// and drops the global list before and after.
class PrinterFixture : public ::testing::Test {
protected:
    gui::TFakePrinterSystem* Install(std::unique_ptr<gui::TFakePrinterSystem> sys)
    {
        gui::TFakePrinterSystem* raw = sys.get();
        // The system in use before the first fake comes back at the end.
        auto previous = gui::SetPrinterSystem(std::move(sys));
        if (!FSystemSet) FOldSystem = std::move(previous);
        FSystemSet = true;
        ResetGlobalPrinters();
        return raw;
    }
    void SetUp() override
    {
        auto dialogs = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = dialogs.get();
        FOldDialogs = gui::SetDialogService(std::move(dialogs));
    }
    void TearDown() override
    {
        ResetGlobalPrinters();
        if (FSystemSet) gui::SetPrinterSystem(std::move(FOldSystem));
        gui::SetDialogService(std::move(FOldDialogs));
    }
    // A fake with one printer "Office": A4 portrait, bin 15, simplex.
    static gui::TFakePrinterSystem::TPrinterSpec Office()
    {
        gui::TFakePrinterSystem::TPrinterSpec p;
        p.Name = "Office";
        p.Mode.PaperSize = 9;
        p.Mode.DefaultSource = 15;
        p.Mode.Duplex = 1;
        p.Papers = {{"A4", 9}, {"Custom size", 256}, {"Letter", 1}};
        p.Bins = {{"Auto", 7}, {"Tray 1", 1}, {"Tray 2", 2}};
        return p;
    }
    TqlrPrinter* OfficePrinter(gui::TFakePrinterSystem::TPrinterSpec spec = Office())
    {
        auto sys = std::make_unique<gui::TFakePrinterSystem>();
        sys->Printers.push_back(std::move(spec));
        Fake = Install(std::move(sys));
        return dynamic_cast<TqlrPrinter*>(GlobalPrinters().Printer());
    }

    gui::TScriptedDialogService* Dialogs = nullptr;
    gui::TFakePrinterSystem* Fake = nullptr;

private:
    std::unique_ptr<gui::IPrinterSystem> FOldSystem;
    std::unique_ptr<gui::IDialogService> FOldDialogs;
    bool FSystemSet = false;
};

TEST(PaperTable, LookupAndDistinctNames)
{
    long double w = -1, h = -1;
    ASSERT_TRUE(LookupPaperSize(35, w, h));
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 125);
    ASSERT_TRUE(LookupPaperSize(9, w, h));
    EXPECT_EQ(w, 210);
    EXPECT_EQ(h, 297);
    ASSERT_TRUE(LookupPaperSize(1, w, h));
    EXPECT_DOUBLE_EQ(static_cast<double>(w), 215.9);
    for (int code : {256, 48, 49, 0, 69}) {
        w = h = -1;
        EXPECT_FALSE(LookupPaperSize(code, w, h)) << code;
        EXPECT_EQ(w, -1);
        EXPECT_EQ(h, -1);
    }
    std::set<std::string> names;
    int last = 0;
    for (const TPaperInfo& p : PaperSizeTable) {
        EXPECT_GT(p.Typ, last);
        last = p.Typ;
        EXPECT_NE(std::string(p.Name), "");
        names.insert(p.Name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(PAPERCOUNT));
}

TEST_F(PrinterFixture, VirtualPrinterWhenNoneInstalled)
{
    Install(std::make_unique<gui::TFakePrinterSystem>());
    TqlrPrinters& list = GlobalPrinters();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.FHasPhysicalPrinters);
    EXPECT_EQ(list.FPrinterIndex, 0);
    TqlrCustomPrinter* p = list.Printer();
    ASSERT_NE(dynamic_cast<TqlrVirtualPrinter*>(p), nullptr);
    EXPECT_EQ(p->FName, "Virtual");
    EXPECT_TRUE(p->FInitialized);
    EXPECT_EQ(p->FDPI.X, 600);
    EXPECT_EQ(p->FDPI.Y, 600);
    EXPECT_EQ(p->FDefPaper, 9);
    EXPECT_EQ(p->FDefPaperWidth, 210);
    EXPECT_EQ(p->FDefPaperHeight, 297);
    EXPECT_EQ(p->FDefOrientation, kPortrait);
    ASSERT_EQ(p->FPapers.size(), 67u);
    EXPECT_EQ(p->FPapers[0].second, 256);

    p->SetViewParams(9, 0, 0, kLandscape);
    EXPECT_EQ(p->FPaper, 9);
    EXPECT_EQ(p->FPaperWidth, 297);
    EXPECT_EQ(p->FPaperHeight, 210);
    for (long double m : {p->FLeftMargin, p->FTopMargin, p->FRightMargin, p->FBottomMargin}) EXPECT_EQ(m, 5);

    p->SetViewParams(48, 123, 77, kPortrait);
    EXPECT_EQ(p->FPaper, 256);
    EXPECT_EQ(p->FPaperWidth, 123);
    EXPECT_EQ(p->FPaperHeight, 77);

    // Every listed name maps back to its own code.
    for (const TPaperInfo& row : PaperSizeTable) EXPECT_EQ(p->PaperNameToNumber(row.Name), row.Typ);
    EXPECT_EQ(p->PaperNameToNumber("no such paper"), 256);
    EXPECT_EQ(p->BinNameToNumber("no such bin"), 7);
    EXPECT_EQ(p->PaperIndex(9), p->PaperIndex(8) + 1);
    EXPECT_EQ(p->BinIndex(3), -1);

    p->SetPrintParams(11, 0, 0, kPortrait, 4, 0, 1);
    EXPECT_EQ(p->FBin, 4);
    EXPECT_EQ(p->FPaperWidth, 148);
}

TEST_F(PrinterFixture, RegisteredServicesUseTheTableAndTheSelectedPrinter)
{
    Install(std::make_unique<gui::TFakePrinterSystem>());
    auto old = RegisterOutputServices(nullptr);
    RegisterReportOutput();
    long double w = 0, h = 0;
    EXPECT_TRUE(OutputServices().LookupPaperSize(11, w, h));
    EXPECT_EQ(w, 148);
    EXPECT_TRUE(OutputServices().LookupPaperSize(35, w, h));
    EXPECT_EQ(h, 125);
    const TqlrPrinterDefaults d = OutputServices().CurrentPrinterDefaults();
    EXPECT_EQ(d.DefPaper, 9);
    EXPECT_EQ(d.DefPaperWidth, 210);
    EXPECT_FALSE(d.DefLandscape);
    RegisterOutputServices(std::move(old));
}

TEST_F(PrinterFixture, ListSelectsDefaultByNameElseFirst)
{
    struct Case {
        std::string entry;
        int index;
    };
    for (const Case& c : {Case{"Second,driver,port", 1}, Case{"second,,", 1}, Case{"Second", 0},
                          Case{"", 0}, Case{"Missing,,", 0}}) {
        auto sys = std::make_unique<gui::TFakePrinterSystem>();
        auto a = Office();
        auto b = Office();
        b.Name = "Second";
        sys->Printers = {a, b};
        sys->DefaultEntry = c.entry;
        Install(std::move(sys));
        TqlrPrinters& list = GlobalPrinters();
        EXPECT_TRUE(list.FHasPhysicalPrinters);
        EXPECT_EQ(list.FPrinterIndex, c.index) << c.entry;
        EXPECT_TRUE(list.Printer()->FInitialized);
        EXPECT_EQ(list.IndexOf("OFFICE"), 0);
        EXPECT_EQ(list.IndexOf("none"), -1);
        EXPECT_EQ(list.GetItem(-1), nullptr);
        EXPECT_THROW(list.GetItem(2), rtl::EListError);
        EXPECT_THROW(list.SetPrinterIndex(2), rtl::EListError);
    }
}

TEST_F(PrinterFixture, InitReadsDefaultsPapersAndBins)
{
    TqlrPrinter* p = OfficePrinter();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->FInitialized);
    EXPECT_EQ(p->FDefPaper, 9);
    EXPECT_EQ(p->FDefBin, 15);
    EXPECT_EQ(p->FDefDuplex, 1);
    EXPECT_EQ(p->FDefPaperWidth, 210);
    EXPECT_EQ(p->FDefPaperHeight, 297);
    // The driver's custom entry (256) and automatic bin (7) are not repeated.
    ASSERT_EQ(p->FPapers.size(), 3u);
    EXPECT_EQ(p->FPapers[1], (std::pair<std::string, int>{"A4", 9}));
    EXPECT_EQ(p->FPapers[2].second, 1);
    ASSERT_EQ(p->FBins.size(), 3u);
    EXPECT_EQ(p->FBins[1].second, 1);
    EXPECT_EQ(p->FBin, -1);
    EXPECT_EQ(p->FDuplex, -1);
    EXPECT_EQ(p->Canvas()->Font()->PixelsPerInch(), 600);

    auto spec = Office();
    spec.HasDevMode = false;
    TqlrPrinter* q = OfficePrinter(spec);
    EXPECT_FALSE(q->FInitialized);
}

TEST_F(PrinterFixture, SetViewParamsSendsMaskThreeAndMeasures)
{
    TqlrPrinter* p = OfficePrinter();
    Fake->Log->Modes.clear();
    p->SetViewParams(8, 0, 0, kLandscape);
    ASSERT_EQ(Fake->Log->Modes.size(), 1u);
    EXPECT_EQ(Fake->Log->Modes[0].Fields, 3);
    EXPECT_EQ(Fake->Log->Modes[0].Orientation, 2);
    EXPECT_EQ(p->FPaper, 8);
    EXPECT_EQ(p->FPaperWidth, 420);
    EXPECT_EQ(p->FPaperHeight, 297);

    p->SetViewParams(256, 100, 150, kPortrait);
    EXPECT_EQ(Fake->Log->Modes.back().PaperSize, 9);
    EXPECT_EQ(p->FPaper, 256);
    EXPECT_EQ(p->FPaperWidth, 100);
    EXPECT_EQ(p->FPaperHeight, 150);
}

TEST_F(PrinterFixture, SetPrintParamsDeviceModeTable)
{
    struct Case {
        int paper;
        TPrinterOrientation orient;
        int bin, dialogBin;
        int duplex, dialogDuplex;
        int mask, length, width, source, sentDuplex;
    };
    const Case cases[] = {
        {9, kPortrait, 7, -1, 0, -1, 4867, 0, 0, 15, 1},        // automatic bin: the printer's default
        {9, kPortrait, 2, -1, 1, -1, 4867, 0, 0, 2, 2},         // vertical
        {9, kLandscape, 2, -1, 2, -1, 4867, 0, 0, 2, 3},        // horizontal
        {9, kPortrait, 2, -1, 3, -1, 4867, 0, 0, 2, 1},         // simplex 3 -> 1
        {9, kPortrait, 2, 1, 2, 2, 4867, 0, 0, 1, 2},           // the dialog's bin and duplex win
        {9, kPortrait, 2, 7, 0, -1, 4867, 0, 0, 15, 1},         // dialog chose automatic
        {256, kPortrait, 2, -1, 0, -1, 4879, 1500, 1000, 2, 1}, // custom portrait
        {256, kLandscape, 2, -1, 0, -1, 4879, 1000, 1500, 2, 1} // custom landscape swaps
    };
    for (const Case& c : cases) {
        TqlrPrinter* p = OfficePrinter();
        p->FBin = c.dialogBin;
        p->FDuplex = c.dialogDuplex;
        Fake->Log->Modes.clear();
        p->SetPrintParams(c.paper, 100, 150, c.orient, c.bin, c.duplex, 3);
        ASSERT_EQ(Fake->Log->Modes.size(), 1u);
        const gui::TPrinterDevMode& m = Fake->Log->Modes[0];
        SCOPED_TRACE(testing::Message() << "paper " << c.paper << " bin " << c.bin << " duplex " << c.duplex);
        EXPECT_EQ(m.Fields, c.mask);
        EXPECT_EQ(m.PaperLength, c.length);
        EXPECT_EQ(m.PaperWidth, c.width);
        EXPECT_EQ(m.DefaultSource, c.source);
        EXPECT_EQ(m.Duplex, c.sentDuplex);
        EXPECT_EQ(m.Copies, 3);
        EXPECT_EQ(m.Orientation, c.orient == kLandscape ? 2 : 1);
        EXPECT_EQ(p->FPaper, c.paper);
    }
}

TEST_F(PrinterFixture, JobRunsAndEndDocRestoresDefaults)
{
    TqlrPrinter* p = OfficePrinter();
    p->FBin = 2;
    p->FDuplex = 3;
    p->FFileName = "/tmp/out.prn";
    p->BeginDoc();
    EXPECT_TRUE(p->FPrinting);
    p->SetPrintParams(9, 0, 0, kPortrait, 1, 0, 1);
    EXPECT_EQ(Fake->Log->Modes.back().DefaultSource, 2);
    p->BeginPage();
    p->EndPage();
    p->BeginPage();
    p->EndPage();
    Fake->Log->Modes.clear();
    p->EndDoc();
    EXPECT_FALSE(p->FPrinting);
    EXPECT_EQ(p->FBin, -1);
    EXPECT_EQ(p->FDuplex, -1);
    ASSERT_EQ(Fake->Log->Modes.size(), 1u);
    EXPECT_EQ(Fake->Log->Modes[0].Fields, 4608);
    EXPECT_EQ(Fake->Log->Modes[0].DefaultSource, 15);
    EXPECT_EQ(Fake->Log->Modes[0].Duplex, 1);
    const std::vector<std::string> calls = {"StartDoc Quillory Report Document|/tmp/out.prn", "StartPage",
                                            "EndPage", "StartPage", "EndPage", "EndDoc"};
    EXPECT_EQ(Fake->Log->Calls, calls);

    Fake->Log->Calls.clear();
    p->FTitle = "Eclipses";
    p->FFileName.clear();
    p->BeginDoc();
    p->Abort();
    EXPECT_FALSE(p->FPrinting);
    EXPECT_EQ(Fake->Log->Calls, (std::vector<std::string>{"StartDoc Eclipses|", "Abort", "EndDoc"}));

    Fake->Log->Calls.clear();
    p->BeginRAWDoc();
    p->WriteRAWDoc("\x1b@ABC");
    p->EndRAWDoc();
    EXPECT_EQ(Fake->Log->Calls, (std::vector<std::string>{"Raw start Eclipses", "Raw \x1b@ABC", "Raw end"}));
}

TEST_F(PrinterFixture, UpdateDeviceCapsRoundsHalfToEven)
{
    // At 254 dpi one pixel is 0.1 mm: 2105 px = 210.5 mm -> 210, 2115 -> 212.
    struct Case {
        int physW, physH, offX, offY, horz, vert;
        long double w, h, l, t, r, b;
    };
    const Case cases[] = {
        {2105, 2975, 25, 35, 2000, 2900, 210, 298, 2, 4, 8, 4},
        {2115, 2965, 45, 15, 2045, 2905, 212, 296, 4, 2, 4, 4},
    };
    auto caps = std::make_shared<gui::TPrinterCaps>();
    auto spec = Office();
    spec.CapsOverride = caps;
    *caps = {254, 254, 2100, 2970, 0, 0, 2100, 2970};
    TqlrPrinter* p = OfficePrinter(spec);
    for (const Case& c : cases) {
        *caps = {254, 254, c.physW, c.physH, c.offX, c.offY, c.horz, c.vert};
        ASSERT_TRUE(p->UpdateDeviceCaps());
        EXPECT_EQ(p->FPaperWidth, c.w);
        EXPECT_EQ(p->FPaperHeight, c.h);
        EXPECT_EQ(p->FLeftMargin, c.l);
        EXPECT_EQ(p->FTopMargin, c.t);
        EXPECT_EQ(p->FRightMargin, c.r);
        EXPECT_EQ(p->FBottomMargin, c.b);
    }
    // Zero resolution: the error box, and the paper stays.
    const int paper = p->FPaper;
    *caps = {0, 254, 2100, 2970, 0, 0, 2100, 2970};
    p->SetViewParams(8, 0, 0, kPortrait);
    EXPECT_EQ(p->FPaper, paper);
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls.back().Text, "Printer selected is not valid");
    EXPECT_EQ(Dialogs->Calls.back().Caption, "Error");
}

TEST_F(PrinterFixture, PropertiesDialogChoicesHoldUntilEndDoc)
{
    auto spec = Office();
    auto chosen = std::make_shared<gui::TPrinterDevMode>(spec.Mode);
    chosen->DefaultSource = 2;
    chosen->Duplex = 3;
    spec.DialogResult = chosen;
    TqlrPrinter* p = OfficePrinter(spec);
    p->PropertiesDlg();
    EXPECT_EQ(p->FBin, 2);
    EXPECT_EQ(p->FDuplex, 3);

    spec.DialogResult = nullptr;
    TqlrPrinter* q = OfficePrinter(spec);
    q->PropertiesDlg();
    EXPECT_EQ(q->FBin, -1);
    EXPECT_EQ(q->FDuplex, -1);
}

TEST_F(PrinterFixture, CanvasFontFollowsVerticalResolution)
{
    auto spec = Office();
    spec.DpiX = 300;
    spec.DpiY = 1200;
    TqlrPrinter* p = OfficePrinter(spec);
    gui::TFont* font = p->Canvas()->Font();
    font->SetPixelsPerInch(96);
    font->SetSize(12);
    p->Canvas()->SyncFontResolution();
    EXPECT_EQ(font->PixelsPerInch(), 1200);
    EXPECT_EQ(font->Size(), 12);
    EXPECT_EQ(font->Height(), -200);
}

} // namespace

namespace {

// The system's print queues, when the machine has any.
TEST(SystemPrinters, AQueueListsPapersAndPrintsTwoPagesToAFile)
{
    ResetGlobalPrinters();
    if (gui::PrinterSystem().PrinterNames().empty()) GTEST_SKIP() << "no print queue on this machine";
    TqlrPrinters& list = GlobalPrinters();
    ASSERT_TRUE(list.FHasPhysicalPrinters);
    auto* p = dynamic_cast<TqlrPrinter*>(list.Printer());
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->FInitialized);
    EXPECT_GT(p->FPapers.size(), 1u);
    const std::string file = ::testing::TempDir() + "two-pages.prn";
    p->FFileName = file;
    p->BeginDoc();
    for (int page = 0; page < 2; ++page) {
        p->BeginPage();
        p->Canvas()->TextOut(100, 100, "Page " + std::to_string(page + 1));
        p->EndPage();
    }
    p->EndDoc();
    std::FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string bytes;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
    std::remove(file.c_str());
    int pages = 0;
    for (size_t at = 0; (at = bytes.find("/Type /Page", at)) != std::string::npos; at += 11)
        if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
    EXPECT_EQ(pages, 2);
    ResetGlobalPrinters();
}

} // namespace
