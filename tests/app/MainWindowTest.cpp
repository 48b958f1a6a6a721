// The main window offscreen: a document from the command line computed by
// the idle handler and saved as PNG, compared with the map engine's own
// rendering; the stored scroll position; a failed locate; the catalogue
// dialog choosing 2024 Apr 08; printing through the print selection; and
// screenshots for looking at.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "MainWindowFixture.h"
#include "report/qlrDsgnIntf.h"
#include "reportout/qlrExportPDF.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrPreview.h"
#include "app/AppMessages.h"
#include "app/CatalogueDlgs.h"
#include "app/MapDlgs.h"
#include "app/MapImages.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Printers.h"

using namespace app;

namespace {

using apptest::MainWindow;
using apptest::Shots;

TEST_F(MainWindow, DocumentOnTheCommandLineIsComputedAndSavedAsTheEngineDrawsIt)
{
    const auto start = std::chrono::steady_clock::now();
    Form->OpenCommandLineDocument(WriteDocument(0, 9561, {600, 150, true}));  // 2024 Apr 08
    EXPECT_EQ(Form->Status(), stNeedCalculation);
    EXPECT_EQ(Form->Caption(), "Tolmira Eclipse Calculator - [eclipse.sec]");
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("document to computed general map: %.2f s\n", seconds);
    EXPECT_EQ(Form->LTitle->Caption(), Form->EclipseMap().Heading.Title);
    EXPECT_NE(Form->LTitle->Caption().find("2024 Apr 08"), std::string::npos);
    // Greatest eclipse at 104 W: the built-in map is centred on 120 W.
    EXPECT_EQ(Form->EclipseMap().ResourceMapMode, rmm120W);
    Shot(Form, "main-solar.png");

    const std::string saved = R("map.png");
    Dialogs->FileAnswers.push_back({true, saved, 1});
    Form->SaveAsGraphics();
    ASSERT_TRUE(std::filesystem::exists(saved));

    // The engine alone, on the same eclipse and settings.
    TEclipseMap engine;
    engine.MapData = GeneralMapData;
    engine.Settings = Form->EclipseMap().Settings;
    engine.Notices = SolarNotices;
    engine.ResourceMapMode = ResourceMapModeFor(104.127882216765);
    engine.LoadMap();
    compute::TSolarEclipse see;
    ASSERT_TRUE(Form->CBE_SE->Locate("CatNo", db::TFieldValue(int64_t{9561})));
    see.ReadFromDataSet(Form->CBE_SE);
    engine.CalculateSolarEclipseMap(see);
    const std::string reference = R("reference.png");
    engine.SaveAsGraphics(reference, nullptr);
    gui::TPicture a, b;
    a.LoadFromFile(saved);
    b.LoadFromFile(reference);
    ASSERT_EQ(a.Width(), 1920);
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    gui::TBitmap* ba = a.Bitmap();
    gui::TBitmap* bb = b.Bitmap();
    int differing = 0;
    for (int y = 0; y < ba->Height(); y += 2)
        for (int x = 0; x < ba->Width(); x += 2)
            if (ba->Canvas()->Pixels(x, y) != bb->Canvas()->Pixels(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(MainWindow, LunarEclipseAndStoredScrollPositionAppliedOnce)
{
    Form->OpenCommandLineDocument(WriteDocument(1, 9706, {40, 30, true}));  // 2025 Mar 14
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    EXPECT_EQ(Form->ScrollBox->HorzScrollBar()->Position(), 40);
    EXPECT_EQ(Form->ScrollBox->VertScrollBar()->Position(), 30);
    Shot(Form, "main-lunar.png");
    // The next calculation centres the view on greatest eclipse instead.
    Form->SetStatus(stNeedCalculation);
    RunIdle();
    int x, y;
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(2.68184130271341, 102.228987479017, x, y));
    const gui::TPoint centred = CenterViewOn({x, y}, Form->ScrollBox->ClientWidth(), Form->ScrollBox->ClientHeight());
    ASSERT_GT(centred.X, 40);
    EXPECT_EQ(Form->ScrollBox->HorzScrollBar()->Position(), centred.X);
    EXPECT_EQ(Form->ScrollBox->VertScrollBar()->Position(), centred.Y);
}

// Documents name eclipses by the published catalogue numbers; an older
// document without a lunar number opens the lunar eclipse 9649.
TEST_F(MainWindow, DocumentsOpenTheEclipsesOfThePublishedNumbers)
{
    struct Case {
        int EventType, CatNo;
        const char* Date;
    } cases[] = {{0, 9534, "2011 Nov 25"}, {0, 9535, "2012 May 20"}, {0, 11895, "2999 May 06"},
                 {1, 9649, "2000 Jan 21"}, {1, 2932, "-0780 Dec 13"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.CatNo);
        Form->OpenCommandLineDocument(WriteDocument(c.EventType, c.CatNo));
        ASSERT_EQ(Form->Status(), stNeedCalculation);
        db::TDataSet* table = c.EventType == 0 ? Form->CBE_SE : Form->CBE_LE;
        EXPECT_EQ(table->FieldByName("DT")->AsString(), c.Date);
    }
    Form->OpenCommandLineDocument(tectest::DataFile("app/older.sec"));
    EXPECT_EQ(Form->CBE_LE->FieldByName("DT")->AsString(), "2000 Jan 21");
}

TEST_F(MainWindow, FailedLocateGivesErrorYetLeavesTheWayOut)
{
    EXPECT_FALSE(Form->SelectCatalogueEntry(etSolarEclipse, 999999));
    EXPECT_EQ(Form->Status(), stError);
    EXPECT_EQ(Form->ErrorMessage(), "Catalogue number 999999 is not in the solar eclipse catalogue.");
    EXPECT_EQ(Form->StatusText(2), Form->ErrorMessage());
    EXPECT_TRUE(Form->Action("actSelectEclipse")->Enabled());
    EXPECT_TRUE(Form->Action("actFileOpen")->Enabled());
    EXPECT_TRUE(Form->Action("actFileNew")->Enabled());
    EXPECT_FALSE(Form->Action("actFilePrint")->Enabled());
    RunIdle();
    EXPECT_EQ(Form->Status(), stError);  // nothing computed
}

// A delta-T table with values no delta T can have is refused once, with
// its line; the built-in model computes the eclipse, and the table's name
// stays to be written back (the user may mend the file).
TEST_F(MainWindow, ImpossibleDeltaTTableIsRefusedAndKeepsItsName)
{
    std::vector<std::string> notices;
    AppNotice = [&](const std::string& text) { notices.push_back(text); };
    DeltaTPath = R("deltat/");
    apptest::WriteText(DeltaTPath + "impossible.txt", "2010 : 66\n2020 : 1e40\n2030 : -1e30\n");
    TSettings s = Form->GatherSettings();
    s.DeltaTTableFile = "impossible.txt";
    s.UseInternalDeltaTTable = false;
    s.EventType = 0;
    s.SECatNo = 9561;   // 2024 Apr 08
    TObserverDataList none("SE");
    WriteSettings(H("impossible.sec"), false, s, none);
    Form->OpenCommandLineDocument(H("impossible.sec"));
    RunIdle();
    ResetNoticeHandler();
    ASSERT_EQ(Form->Status(), stCalculated);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Error reading delta-T table:\r\nLine 2: Syntax error.\r\n" + DeltaTPath +
                              "impossible.txt\r\nThe built-in delta T model is used instead.");
    // In 2024 the built-in model takes its values from the internal table.
    EXPECT_EQ(Form->StatusText(1), "Internal delta T table");
    // Delta T of the built-in model (about 74 s in 2024), curves drawn.
    EXPECT_EQ(Form->LDeltaT->Caption().rfind("0:01:1", 0), 0u) << Form->LDeltaT->Caption();
    EXPECT_EQ(Form->DeltaTTableFile(), "impossible.txt");
    EXPECT_EQ(Form->GatherSettings().DeltaTTableFile, "impossible.txt");
}

TEST_F(MainWindow, NewAndOpenAskBeforeDroppingChanges)
{
    Form->SetModified(true);
    Dialogs->MessageAnswers.push_back(gui::mrCancel);
    Form->FileOpen();
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Kind, "MessageDlg");
    EXPECT_TRUE(Form->Modified());  // cancelled: nothing happened
    // No: the document is dropped and the open dialog comes (cancelled here).
    Dialogs->MessageAnswers.push_back(gui::mrNo);
    Form->FileOpen();
    EXPECT_EQ(Dialogs->Calls.back().Kind, "File");
    // A dropped document asks too.
    Dialogs->MessageAnswers.push_back(gui::mrCancel);
    const std::string doc = WriteDocument(0, 9561);
    Form->FilesDropped({doc});
    EXPECT_TRUE(Form->FileName().empty());
    Dialogs->MessageAnswers.push_back(gui::mrNo);
    Form->FilesDropped({doc});
    EXPECT_EQ(Form->FileName(), doc);
    EXPECT_FALSE(Form->Modified());
}

TEST_F(MainWindow, CatalogueDialogChoosesTheEclipseOf2024)
{
    Catalogue = new TCatalogueDlg(nullptr);
    Catalogue->AfterConstruction();
    Form->CatalogueDlg = Catalogue;
    Catalogue->Show();
    gui::Application->ProcessMessages();
    // Both pages start filtered by their types: no penumbral eclipse listed.
    EXPECT_EQ(Catalogue->Caption().rfind("Solar Eclipse Catalogue [", 0), 0u);
    ASSERT_TRUE(Catalogue->LETable->Active());
    for (Catalogue->LETable->First(); !Catalogue->LETable->Eof(); Catalogue->LETable->Next())
        ASSERT_NE(Catalogue->LETable->FieldByName("Type")->AsString(), "N");

    // Filter by clicking the type boxes: total only; Saros 139 typed.
    for (int i : {0, 2, 3}) {
        gui::TControl* box = Catalogue->CGSEType->Buttons(i);
        gui::sim::Click(box, 6, box->Height() / 2);
    }
    EXPECT_FALSE(Catalogue->CGSEType->GetItemChecked(0));
    EXPECT_TRUE(Catalogue->CGSEType->GetItemChecked(1));
    gui::sim::Click(Catalogue->ESESaros, 5, 5);
    gui::sim::TypeText("139", Catalogue->ESESaros);
    gui::sim::KeyPress(gui::VK_RETURN, {}, Catalogue->ESESaros);
    EXPECT_EQ(Catalogue->ModalResult(), gui::mrNone);   // Return only applies the edit
    const int count = Catalogue->SETable->RecordCount();
    EXPECT_GT(count, 30);
    EXPECT_LT(count, 80);
    EXPECT_EQ(Catalogue->Caption(), "Solar Eclipse Catalogue [" + std::to_string(count) + " entries]");
    for (Catalogue->SETable->First(); !Catalogue->SETable->Eof(); Catalogue->SETable->Next()) {
        ASSERT_EQ(Catalogue->SETable->FieldByName("Type")->AsString(), "T");
        ASSERT_EQ(Catalogue->SETable->FieldByName("Saros")->AsInteger(), 139);
    }
    // Jump to a year without an eclipse of the series: the next one.
    gui::sim::Click(Catalogue->ESEGoTo, 5, 5);
    gui::sim::TypeText("2010", Catalogue->ESEGoTo);
    gui::sim::KeyPress(gui::VK_RETURN, {}, Catalogue->ESEGoTo);
    EXPECT_EQ(Catalogue->SETable->FieldByName("DT")->AsString(), "2024 Apr 08");
    EXPECT_EQ(Catalogue->ESEGoTo->Text(), "");
    EXPECT_EQ(Catalogue->ModalResult(), gui::mrNone);   // the jump, not the dialog's OK
    // A click on the "Gamma" title sorts; the same eclipse stays selected.
    gui::TDBGrid* grid = Catalogue->SEGrid;
    const gui::TRect title = grid->CellRect(grid->DataToRawColumn(4), 0);
    gui::sim::Click(grid, (title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2);
    EXPECT_EQ(Catalogue->Order, "Gamma,CatNo");
    EXPECT_EQ(Catalogue->SETable->FieldByName("DT")->AsString(), "2024 Apr 08");
    double previous = -2;
    Catalogue->SETable->DisableControls();
    const int at = Catalogue->SETable->RecNo();
    for (Catalogue->SETable->First(); !Catalogue->SETable->Eof(); Catalogue->SETable->Next()) {
        const double gamma = static_cast<double>(Catalogue->SETable->FieldByName("Gamma")->AsFloat());
        ASSERT_GE(gamma, previous);
        previous = gamma;
    }
    Catalogue->SETable->SetRecNo(at);
    Catalogue->SETable->EnableControls();
    // The grid shows the eclipse in its current row, gamma as 0.0000.
    EXPECT_EQ(grid->Fields(4)->DisplayText(), "0.3431");
    // A row change starts the preview timer; the preview shows the path.
    EXPECT_TRUE(Catalogue->Timer->Enabled());
    Catalogue->TimerTimer();
    EXPECT_EQ(Catalogue->Map().Canvas()->Pixels(180 - 97, 90 - 33), gui::RGB(255, 0, 0));
    EXPECT_TRUE(Catalogue->CBGeneralMap->Checked());
    Shot(Catalogue, "catalogue.png");
    // A click on another row moves the query there.
    const gui::TRect next = grid->CellRect(grid->DataToRawColumn(0), grid->Row() == 1 ? 2 : 1);
    gui::sim::Click(grid, next.Left + 5, (next.Top + next.Bottom) / 2);
    EXPECT_NE(Catalogue->SETable->FieldByName("DT")->AsString(), "2024 Apr 08");
    gui::sim::Click(grid, next.Left + 5, (next.Top + next.Bottom) / 2 + (grid->Row() == 1 ? 17 : -17));
    Catalogue->Hide();

    // Select eclipse (F9) shows the dialog modally; the eclipse at the
    // cursor is handed in again, OK computes its map.
    ASSERT_TRUE(Catalogue->SETable->Locate("DT", db::TFieldValue(std::string("2024 Apr 08"))));
    Form->SEE.ReadFromDataSet(Catalogue->SETable);
    Form->SetEventType(etSolarEclipse);
    gui::sim::PostClick(Catalogue->OKBtn, 10, 10);
    Form->SelectEclipse();
    EXPECT_EQ(Catalogue->SECatNo(), 9561);
    EXPECT_EQ(Form->Status(), stNeedCalculation);
    RunIdle();
    EXPECT_EQ(Form->Status(), stCalculated);
    EXPECT_NE(Form->LTitle->Caption().find("2024 Apr 08"), std::string::npos);
}

// The page of a printed PDF at 30 dpi: its size and the first and last
// rows holding map pixels (darker than the white paper).
struct TPrintedPage {
    int Width = 0, Height = 0, Top = -1, Bottom = -1;
};

TPrintedPage ReadPrintedPage(const std::string& pdf, const std::string& png)
{
    TPrintedPage r;
    if (std::system(("pdftoppm -r 30 -png -singlefile \"" + pdf + "\" \"" + png + "\"").c_str()) != 0) return r;
    gui::TPicture page;
    page.LoadFromFile(png + ".png");
    gui::TBitmap* b = page.Bitmap();
    r.Width = b->Width();
    r.Height = b->Height();
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) {
            const gui::TColor c = b->Canvas()->Pixels(x, y);
            if (gui::GetRValue(c) + gui::GetGValue(c) + gui::GetBValue(c) < 740) {
                if (r.Top < 0) r.Top = y;
                r.Bottom = y;
                break;
            }
        }
    return r;
}

// The print dialog's choice reaches the printer: a PDF file that cannot be
// written fails with the message, and the printer is still usable for the
// next two jobs, into the files and on the paper the dialog names.
TEST_F(MainWindow, PrintsTheMapIntoThePdfTheDialogChose)
{
    Form->OpenCommandLineDocument(WriteDocument(0, 9561));
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    gui::Printer()->SetResolution(300);
    auto choose = [](const std::string& file, double w, double h) {
        gui::TPrintDialogRequest r;
        r.OutputFileName = file;
        r.PaperWidthMm = w;
        r.PaperHeightMm = h;
        return std::make_pair(true, r);
    };
    Dialogs->PrintAnswers.push_back(choose(R("no-such-folder/map.pdf"), 210, 297));
    Form->PrintMap();
    ASSERT_EQ(Dialogs->Calls.back().Kind, "MessageDlg");
    EXPECT_EQ(Dialogs->Calls.back().Text, "Printing error: User abort or other error.\r\nPrinting aborted.");
    EXPECT_FALSE(gui::Printer()->Printing());

    struct Job {
        std::string Pdf;
        double PaperW, PaperH;
        int PageW, PageH;   // landscape at 30 dpi
    } jobs[] = {{R("first.pdf"), 210, 297, 351, 248}, {R("second.pdf"), 148, 210, 248, 175}};
    for (const Job& job : jobs) {
        const std::size_t calls = Dialogs->Calls.size();
        Dialogs->PrintAnswers.push_back(choose(job.Pdf, job.PaperW, job.PaperH));
        Form->PrintMap();
        ASSERT_EQ(Dialogs->Calls.size(), calls + 1) << job.Pdf;   // the dialog, no error message
        ASSERT_TRUE(std::filesystem::exists(job.Pdf));
        EXPECT_EQ(gui::Printer()->OutputFileName(), job.Pdf);
        EXPECT_EQ(gui::Printer()->Orientation(), gui::TPrinterOrientation::poLandscape);
        const TPrintedPage page = ReadPrintedPage(job.Pdf, R("page"));
        EXPECT_NEAR(page.Width, job.PageW, 2) << job.Pdf;
        EXPECT_NEAR(page.Height, job.PageH, 2) << job.Pdf;
        ASSERT_GE(page.Top, 0) << job.Pdf;
        std::printf("printed map rows %d..%d of %d\n", page.Top, page.Bottom, page.Height);
        // The 2:1 map fills the area's width (margins 6.35 mm = 7.5 px) and is centred.
        EXPECT_NEAR(page.Bottom - page.Top + 1, (page.Width - 2 * 7.5) / 2, 4) << job.Pdf;
        EXPECT_NEAR(page.Top + (page.Bottom - page.Top + 1) / 2.0, page.Height / 2.0, 3) << job.Pdf;
    }
    // The next dialog starts from the last choice.
    Dialogs->PrintAnswers.push_back({false, {}});
    Form->PrintMap();
    EXPECT_EQ(Dialogs->Calls.back().Print.OutputFileName, R("second.pdf"));
    EXPECT_EQ(Dialogs->Calls.back().Print.PaperWidthMm, 148);

    // The desktop's own print dialog, accepted with Return, prints into the
    // file and on the paper it was started with.
    std::unique_ptr<gui::IDialogService> scripted = gui::SetDialogService(nullptr);
    gui::Printer()->SetOutputFileName(R("third.pdf"));
    gui::sim::PostKeyPress(gui::VK_RETURN);
    Form->PrintMap();
    gui::SetDialogService(std::move(scripted));
    ASSERT_TRUE(std::filesystem::exists(R("third.pdf")));
    const TPrintedPage third = ReadPrintedPage(R("third.pdf"), R("page3"));
    EXPECT_NEAR(third.Width, 248, 2);   // A5 landscape
    EXPECT_NEAR(third.Height, 175, 2);
    EXPECT_GE(third.Top, 0);
    std::filesystem::copy_file(R("page.png"), Shots / "printed-page.png",
                               std::filesystem::copy_options::overwrite_existing);
}

TEST_F(MainWindow, MapDialogsShowTheMaps)
{
    TMapInfoDlg info(nullptr);
    info.SetMapData(GeneralMapData);
    EXPECT_EQ(info.LMapFileName->Caption(), "internal resource");
    EXPECT_FALSE(info.BMapDefaults->Enabled());
    EXPECT_EQ(info.LMapDimension->Caption(), "1920 x 960 pixels");
    info.Show();
    Shot(&info, "map-information.png");
    info.Hide();

    apptest::WriteText(H("maps/world.map"), "");
    TMapData m = GeneralMapData;
    m.ResourceName.clear();
    m.FileName = "world.png";
    m.Description = "My world";
    SaveMapDataFile(H("maps/world.map"), m);
    TMapsDlg maps(nullptr);
    maps.SetMapsPath(H("maps/"));
    maps.FillList();
    EXPECT_EQ(maps.StringGrid->Cells(0, 1), "My world");
    EXPECT_EQ(maps.StringGrid->Cells(1, 1), "1920 x 960");
    EXPECT_EQ(maps.FFileName, H("maps/world.map"));
    maps.Show();
    Shot(&maps, "maps.png");
    maps.Hide();
}

} // namespace

TEST_F(MainWindow, CarriesThePdfExportOfferedByReportPreviews)
{
    ASSERT_NE(Form->PDFExport, nullptr);
    EXPECT_EQ(Form->PDFExport->Author, "Tolmira Eclipse Calculator");
    EXPECT_EQ(Form->PDFExport->Producer, "Tolmira Eclipse Calculator");
    EXPECT_TRUE(Form->PDFExport->OpenAfterExport);
    EXPECT_TRUE(Form->PDFExport->OverwritePrompt);
    EXPECT_FALSE(Form->PDFExport->EmbeddedFonts);
    EXPECT_EQ(Form->PDFExport->GetDescription(), "PDF file");
    bool listed = false;
    qlr::TqlrExportFilterCollection& filters = qlr::GetExportFilterCollection();
    for (int i = 0; i < filters.Count(); ++i)
        if (filters.GetItem(i) == Form->PDFExport) listed = true;
    EXPECT_TRUE(listed);
}

// The export's save dialog starts in the documents folder with the
// report's name as the file name; the next one in the folder chosen last.
TEST_F(MainWindow, PdfExportSuggestsTheReportsNameAndTheDocumentsFolder)
{
    Form->OpenCommandLineDocument(WriteDocument(0, 9561));   // 2024 Apr 08
    RunIdle();
    Form->SetUpLocationReport();
    const std::string title = Form->qlrReport->ReportOptions()->Name;
    ASSERT_NE(title.find("2024"), std::string::npos) << title;
    qlr::TqlrPDFExport& pdf = *Form->PDFExport;
    pdf.Report = Form->qlrReport;
    pdf.FileName.clear();
    Dialogs->FileAnswers.push_back({true, R("chosen/table.pdf")});
    gui::sim::PostKeyPress(gui::VK_RETURN);   // the export options: OK
    ASSERT_EQ(pdf.ShowModal(), gui::mrOk);
    ASSERT_FALSE(Dialogs->Calls.empty());
    const gui::TFileDialogRequest& first = Dialogs->Calls.back().File;
    EXPECT_EQ(first.InitialDir, DocumentsPath);
    EXPECT_EQ(first.FileName, title + ".pdf");
    EXPECT_EQ(pdf.FileName, R("chosen/table.pdf"));

    gui::sim::PostKeyPress(gui::VK_RETURN);
    EXPECT_EQ(pdf.ShowModal(), gui::mrCancel);
    EXPECT_EQ(Dialogs->Calls.back().File.InitialDir, R("chosen/"));
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, title + ".pdf");
}

// The preview's prepared-report dialogs and the print-to-file dialog start
// in the documents folder; the save dialogs offer the report's name.
TEST_F(MainWindow, ReportFileDialogsStartInTheDocumentsFolder)
{
    Form->OpenCommandLineDocument(WriteDocument(0, 9561));   // 2024 Apr 08
    RunIdle();
    Form->SetUpLocationReport();
    ASSERT_TRUE(Form->qlrReport->PrepareReport()) << Form->qlrReport->Errors()->Text();
    const std::string title = Form->qlrReport->ReportOptions()->Name;
    auto* preview = new qlr::TqlrPreview(Form);
    preview->SetParent(Form);
    Form->qlrReport->SetPreview(preview);
    Dialogs->FileAnswers.push_back({false, ""});
    preview->SaveToFile();
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls.back().File.InitialDir, DocumentsPath);
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, title + ".qp3");
    Dialogs->FileAnswers.push_back({false, ""});
    preview->LoadFromFile();
    EXPECT_EQ(Dialogs->Calls.back().File.InitialDir, DocumentsPath);
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "");
    Form->qlrReport->SetPreview(nullptr);
    delete preview;

    gui::TSaveDialog printFile(nullptr);
    qlr::PrepareFileDialog(printFile, {Form->qlrReport, true, ".prn"});
    EXPECT_EQ(printFile.InitialDir, DocumentsPath);
    EXPECT_EQ(printFile.FileName, title + ".prn");
}
