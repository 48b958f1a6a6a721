// The main window's commands and dialogs offscreen: unavailable commands,
// the idle map shift, the mouse readout and label links, the status bar,
// the map dialogs, the sibling installation dialog, printing through the
// print selection, the About box, and the start-up time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>

#include "MainWindowFixture.h"
#include "app/MapDlgs.h"
#include "app/MapImages.h"
#include "app/MapView.h"
#include "app/PathToTEDlgs.h"
#include "app/PrnDib.h"
#include "app/PrnUtils.h"
#include "app/PrintSelectDlgs.h"
#include "app/ProgramStart.h"
#include "app/SEMainStates.h"
#include "app/SplashScreens.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Printers.h"

using namespace app;
using apptest::MainWindow;
using apptest::Shots;

namespace {

// A map file "plain.map" in MapsPath with the general map's picture as
// "plain.png"; returns its description record.
TMapData WritePlainMapFile()
{
    TMapData file = GeneralMapData;
    file.ResourceName.clear();
    file.FileName = "plain.png";
    file.Description = "A world map file";
    gui::TPicture picture;
    picture.Bitmap()->LoadFromResourceName(GeneralMapData.ResourceName);
    picture.SaveToFile(MapsPath + "plain.png");
    SaveMapDataFile(MapsPath + "plain.map", file);
    return file;
}

// Every action has its command; the tool bar shows the hint of its
// buttons, also of disabled ones.
TEST_F(MainWindow, EveryActionHasItsCommand)
{
    for (int i = 0; i < Form->ActionManager->ActionCount(); ++i) {
        auto* a = dynamic_cast<gui::TAction*>(Form->ActionManager->Actions(i));
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(static_cast<bool>(a->OnExecute)) << a->Name() << " has no command";
    }
    gui::TToolButton* print = nullptr;
    for (gui::TToolBar* bar : {Form->ToolBar, Form->LocationsToolBar})
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (bar->Buttons(i)->Action() == Form->Action("actLocationsPrint")) print = bar->Buttons(i);
    ASSERT_NE(print, nullptr);
    Form->Action("actLocationsPrint")->SetHint("Print location table|Not while the table is empty");
    EXPECT_FALSE(print->Enabled());
    EXPECT_EQ(print->Hint(), "Print location table|Not while the table is empty");
}

// The idle calculation centres a built-in map on 120 degrees west or east
// when greatest eclipse lies more than 60 degrees from Greenwich; a map
// from a file is never shifted.
TEST_F(MainWindow, IdleCalculationShiftsBuiltInMapsOnly)
{
    UseOwnMapsFolder();
    struct Case {
        int CatNo;
        double MELon;  // of the catalogue row
        TResourceMapMode Mode;
        double dLon;
    };
    const Case cases[] = {
        {10067, 59.99, rmmNormal, 0},   // 2241 Feb 11
        {9200, 60.20, rmm120W, 120},    // 1865 Oct 19
        {9514, -59.55, rmmNormal, 0},   // 2002 Dec 04
        {9666, -60.40, rmm120E, -120},  // 2070 Oct 04
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, c.CatNo));
        EXPECT_NEAR(Form->CBE_SE->FieldByName("MELon")->AsFloat(), c.MELon, 0.01);
        // Esc cancels the computation after its first row: the shift is
        // chosen before it starts.
        gui::sim::PostKeyPress(gui::VK_ESCAPE);
        RunIdle();
        ASSERT_EQ(Form->Status(), stCancelled) << c.CatNo;
        EXPECT_EQ(Form->EclipseMap().ResourceMapMode, c.Mode) << c.CatNo;
        EXPECT_EQ(Form->EclipseMap().MapData.dLon, c.dLon) << c.CatNo;
        // The view is centred on greatest eclipse, which lies on the map.
        int x, y;
        ASSERT_TRUE(Form->EclipseMap().GeoToPixel(Form->CBE_SE->FieldByName("MELat")->AsFloat(),
                                                  Form->CBE_SE->FieldByName("MELon")->AsFloat(), x, y));
        EXPECT_GT(x, Form->EclipseMap().Map().Width() / 6) << c.CatNo;
        EXPECT_LT(x, Form->EclipseMap().Map().Width() * 5 / 6) << c.CatNo;
    }

    // The same eclipse of 1865 on a map file of the same picture: no shift.
    const TMapData file = WritePlainMapFile();
    TMapData read = file;
    ASSERT_TRUE(ReadMapDataFile(MapsPath + "plain.map", read));
    Form->EclipseMap().MapData = read;
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9200));
    gui::sim::PostKeyPress(gui::VK_ESCAPE);
    RunIdle();
    ASSERT_EQ(Form->Status(), stCancelled);
    EXPECT_EQ(Form->EclipseMap().MapData.FileName, "plain.png");
    EXPECT_EQ(Form->EclipseMap().MapData.dLon, 0);
    int x, y;
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(0, 0, x, y));
    EXPECT_NEAR(x, Form->EclipseMap().Map().Width() / 2, 2);  // Greenwich stays in the middle
}

// After the total eclipse of 2024 Apr 08 is computed: the status bar names
// the delta-T source, and the mouse reads the local circumstances.  At the
// point of greatest eclipse (25.3 N, 104.1 W) maximum is at 18:17 UT with
// the Sun 70 degrees high (published canon values).
TEST_F(MainWindow, ReadoutUnderTheMouseAndStatusBar)
{
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9561));
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    EXPECT_EQ(Form->StatusText(1), "Internal delta T table");  // 2024: the yearly table continued
    EXPECT_GT(Form->StatusBar->Panels(1)->Width(), 10);

    int x, y;
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(25.29, 104.13, x, y));
    gui::sim::MouseMove(Form->PaintBox, x, y);
    const std::string position = Form->LPosition->Caption();
    EXPECT_EQ(position.rfind("104\xC2\xB0 ", 0), 0u) << position;
    EXPECT_NE(position.find("W, 25\xC2\xB0 "), std::string::npos) << position;
    const std::string maximum = Form->InfoLabels[9]->Caption();
    EXPECT_EQ(maximum.substr(0, 8), "18:17 UT") << maximum;
    EXPECT_NE(maximum.find(", 1.0"), std::string::npos) << maximum;
    EXPECT_TRUE(maximum.find(", 69.") != std::string::npos || maximum.find(", 70.") != std::string::npos) << maximum;
    EXPECT_NE(Form->InfoLabels[8]->Caption(), "---");  // total there: second and third contact
    EXPECT_NE(Form->InfoLabels[10]->Caption(), "---");
    Shot(Form, "main-readout.png");
    // Far south the eclipse is not seen.
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(-70, 120, x, y));
    gui::sim::MouseMove(Form->PaintBox, x, y);
    EXPECT_NE(Form->LPosition->Caption(), "---");
    EXPECT_EQ(Form->InfoLabels[9]->Caption(), "no eclipse visible");
    EXPECT_EQ(Form->InfoLabels[7]->Caption(), "---");
    ASSERT_TRUE(Form->EclipseMap().GeoToPixel(25.29, 104.13, x, y));

    // 1955 lies in the yearly table: the internal table is named.
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9410));  // 1955 Jun 20
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    EXPECT_EQ(Form->StatusText(1), "Internal delta T table");

    // The title is a link: underlined blue under the mouse, bold navy again after.
    gui::sim::MouseMove(Form->LTitle, 5, 5);
    EXPECT_TRUE(Form->LTitle->Font()->Style().Contains(gui::TFontStyle::fsUnderline));
    EXPECT_EQ(Form->LTitle->Font()->Color(), gui::TColor(0xFF0000));
    gui::sim::MouseMove(Form->PaintBox, x, y);
    EXPECT_FALSE(Form->LTitle->Font()->Style().Contains(gui::TFontStyle::fsUnderline));
    EXPECT_EQ(Form->LTitle->Font()->Color(), gui::clNavy);
}

TEST_F(MainWindow, MapDefaultsLoadTheWindowsCurrentValues)
{
    UseOwnMapsFolder();
    TMapData file = StandardMapData;
    file.ResourceName.clear();
    file.FileName = "europe.png";
    file.Description = "Europe";
    file.CETScale = 10;
    {
        gui::TPicture picture;
        picture.Bitmap()->LoadFromResourceName(StandardMapData.ResourceName);
        picture.SaveToFile(MapsPath + "europe.png");
    }
    SaveMapDataFile(MapsPath + "europe.map", file);
    Form->EclipseMap().Settings.CEMScale = 0.5;
    Form->EclipseMap().Settings.CETScale = 20;
    Form->EclipseMap().Settings.VBLWidth = 0.3;

    TMapInfoDlg info(nullptr);
    info.SetMapData(file);
    EXPECT_EQ(info.LMapFileName->Caption(), "europe.png");
    EXPECT_TRUE(info.BMapDefaults->Enabled());

    TDefaultsDlg dlg(nullptr);
    dlg.SetMapFileName(MapsPath + "europe.map");
    EXPECT_EQ(dlg.ECETScale->Text(), "10");
    EXPECT_FALSE(dlg.Changed);
    dlg.Show();
    gui::sim::Click(dlg.TBLoad, 5, 5);
    EXPECT_TRUE(dlg.Changed);
    EXPECT_EQ(dlg.ECEMScale->Text(), "0.5000");
    EXPECT_EQ(dlg.ECETScale->Text(), "20");
    Shot(&dlg, "map-defaults.png");
    // The whole-number edits take digits only: letters and a sign typed
    // into them are not taken.
    for (controls::TExEdit* e : {dlg.ECEMLabelScale, dlg.ECEMLabelOffset, dlg.ECETScale}) {
        e->SetFocus();
        e->SelectAll();
        gui::sim::TypeText("-2a5x", e);
        EXPECT_EQ(e->Text(), "25");
        e->SetIntValue(20);
    }
    // Cancel keeps the dialog open with the loaded values; Yes writes them.
    Dialogs->MessageAnswers.push_back(gui::mrCancel);
    EXPECT_FALSE(dlg.Confirm());
    EXPECT_EQ(dlg.ECETScale->Text(), "20");
    Dialogs->MessageAnswers.push_back(gui::mrYes);
    EXPECT_TRUE(dlg.Confirm());
    EXPECT_EQ(Dialogs->Calls.back().Text, "The settings were changed. Do you want to modify the map file\r\neurope.map ?");
    dlg.Hide();
    TMapData back = StandardMapData;
    ASSERT_TRUE(ReadMapDataFile(MapsPath + "europe.map", back));
    EXPECT_EQ(back.CEMScale, 0.5);
    EXPECT_EQ(back.CETScale, 20);
    EXPECT_EQ(back.VBLWidth, 0.3);
    EXPECT_EQ(back.Description, "Europe");
}

TEST_F(MainWindow, SiblingInstallationDialogChecksTheFolder)
{
    TPathToTEDlg dlg(nullptr);
    dlg.SetAutoDetectPathToTE(false);
    EXPECT_TRUE(dlg.EPathToTE->Enabled());
    struct Case {
        std::string Version;
        std::string Message;
        gui::TColor Color;
    };
    const Case cases[] = {
        {"4.2.0.117", "Tolmira Ephemeris installation has been found.", gui::clBlack},
        {"4.1.9.0", "Tolmira Ephemeris installation has been found.", gui::clBlack},
        {"3.9.9.9", "Tolmira Ephemeris v4.0 or higher is required.", gui::clRed},
    };
    for (const Case& c : cases) {
        const std::string folder = InstallSibling("te-" + c.Version, c.Version);
        dlg.SetTEInstallationPath(folder.substr(0, folder.size() - 1));  // no trailing separator
        EXPECT_EQ(dlg.TEInstallationPath(), folder);
        EXPECT_EQ(dlg.LMessage->Caption(), c.Message) << c.Version;
        EXPECT_EQ(dlg.LMessage->Font()->Color(), c.Color) << c.Version;
    }
    dlg.SetTEInstallationPath(R("nothing-here"));
    EXPECT_EQ(dlg.LMessage->Caption(), "Tolmira Ephemeris installation has NOT been found.");
    // Detection on: the registered sibling (the last one installed) is taken.
    dlg.Show();
    gui::sim::Click(dlg.CBAutoDetectPath, 5, 8);
    EXPECT_TRUE(dlg.AutoDetectPathToTE());
    EXPECT_FALSE(dlg.EPathToTE->Enabled());
    EXPECT_EQ(dlg.TEInstallationPath(), FindSiblingFolder());
    EXPECT_EQ(dlg.LMessage->Caption(), "Tolmira Ephemeris v4.0 or higher is required.");
    Shot(&dlg, "sibling-installation.png");
    // Detection off again: the edit takes typed and chosen folders.
    gui::sim::Click(dlg.CBAutoDetectPath, 5, 8);
    dlg.SetTEInstallationPath(R("nothing-here"));
    Shot(&dlg, "sibling-installation-invalid.png");
    EXPECT_FALSE(dlg.EPathToTE->IsValidDirectory());
    // A folder chosen with the edit's button is checked like a typed one.
    const std::string chosen = InstallSibling("te-chosen", "4.2.0.117");
    Dialogs->FolderAnswers.push_back({true, chosen.substr(0, chosen.size() - 1)});
    dlg.EPathToTE->ClickButton();
    ASSERT_FALSE(Dialogs->FolderRequests.empty());
    EXPECT_EQ(Dialogs->FolderRequests.back().Title, "Select Directory");
    EXPECT_EQ(dlg.TEInstallationPath(), chosen);
    EXPECT_EQ(dlg.LMessage->Caption(), "Tolmira Ephemeris installation has been found.");
    Shot(&dlg, "sibling-installation-valid.png");
    dlg.Hide();
}

// Print: the selection dialog comes with the map chosen and the preview
// off; OK prints the map into the PDF file.
// The Map menu marks the built-in map in use; the maps dialog over an
// empty Maps folder offers nothing to open (OK off), with one map it does.
TEST_F(MainWindow, MapMenuMarksTheBuiltInMapAndEmptyMapsFolderOffersNothing)
{
    Form->MapStandard();
    EXPECT_TRUE(Form->Action("actMapStandard")->Checked());
    EXPECT_FALSE(Form->Action("actMapGeneral")->Checked());
    Form->MapGeneral();
    EXPECT_FALSE(Form->Action("actMapStandard")->Checked());
    EXPECT_TRUE(Form->Action("actMapGeneral")->Checked());

    UseOwnMapsFolder();
    TMapsDlg maps(nullptr);
    maps.SetMapsPath(MapsPath);
    maps.FillList();
    EXPECT_FALSE(maps.OKBtn->Enabled());
    EXPECT_EQ(maps.FFileName, "");
    // The empty row shows no selection.
    maps.Show();
    const std::unique_ptr<gui::TBitmap> shot = maps.StringGrid->GetImage();
    const gui::TRect row = maps.StringGrid->CellRect(1, 1);
    EXPECT_EQ(gui::ColorToRGB(shot->Canvas()->Pixels(row.Left + 20, (row.Top + row.Bottom) / 2)),
              gui::ColorToRGB(maps.StringGrid->Color()));
    maps.Hide();
    EXPECT_TRUE(maps.Button1->Enabled());
    EXPECT_TRUE(maps.Button2->Enabled());

    const TMapData file = WritePlainMapFile();
    maps.FillList();
    EXPECT_TRUE(maps.OKBtn->Enabled());
    EXPECT_EQ(maps.FFileName, MapsPath + "plain.map");
    // A map file in use: neither built-in map is marked.
    TMapData read = file;
    ASSERT_TRUE(ReadMapDataFile(MapsPath + "plain.map", read));
    Form->EclipseMap().MapData = read;
    Form->UpdateActionStates();
    EXPECT_FALSE(Form->Action("actMapStandard")->Checked());
    EXPECT_FALSE(Form->Action("actMapGeneral")->Checked());
}

// The save dialogs suggest a name: the eclipse's date and type, or the
// document's own name once there is one.
TEST_F(MainWindow, SaveDialogsSuggestTheEclipseOrTheDocumentName)
{
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9561));   // 2024 Apr 08, total
    RunIdle();
    Form->SaveAsGraphics();                                           // cancelled
    ASSERT_EQ(Dialogs->Calls.back().Kind, "File");
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "2024-04-08 total solar eclipse.png");
    EXPECT_EQ(Dialogs->Calls.back().File.Filter,
              "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg;*.jpeg|Bitmap files (*.bmp)|*.bmp");
    // The desktop dialog shows each filter line once and the name in its edit.
    const gui::TDesktopFileDialogView view = gui::ViewDesktopFileDialog(Dialogs->Calls.back().File);
    EXPECT_EQ(view.Filters.front(), "PNG files (*.png)");
    EXPECT_EQ(view.FileNameText, "2024-04-08 total solar eclipse.png");
    EXPECT_TRUE(view.FileType.AccessKey);
    EXPECT_FALSE(Form->FileSaveAs());
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "2024-04-08 total solar eclipse.sec");

    ASSERT_TRUE(Form->SelectCatalogueEntry(etLunarEclipse, 9706));    // 2025 Mar 14, total
    RunIdle();
    Form->SaveAsGraphics();
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "2025-03-14 total lunar eclipse.png");

    Dialogs->FileAnswers.push_back({true, H("my eclipse.sec"), 1, {}});
    ASSERT_TRUE(Form->FileSaveAs());
    Form->SaveAsGraphics();
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "my eclipse.png");
    EXPECT_FALSE(Form->FileSaveAs());
    EXPECT_EQ(Dialogs->Calls.back().File.FileName, "my eclipse.sec");
}

TEST_F(MainWindow, PrintCommandGoesThroughTheSelection)
{
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9561));
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    const std::string pdf = R("print.pdf");
    gui::Printer()->SetResolution(300);
    gui::TPrintDialogRequest choice;
    choice.OutputFileName = pdf;
    Dialogs->PrintAnswers.push_back({true, choice});
    bool seen = false;
    gui::TApplicationEvents hook(nullptr);
    hook.OnIdle = [&](rtl::TObject*, bool& done) {
        done = true;
        for (int i = 0; i < gui::Screen->FormCount(); ++i) {
            auto* d = dynamic_cast<TPrintSelectDlg*>(gui::Screen->Forms(i));
            if (!d || !d->Visible() || seen) continue;
            seen = true;
            EXPECT_TRUE(d->RBEclipseMap->Checked());
            EXPECT_FALSE(d->CBPreview->Enabled());
            EXPECT_TRUE(d->RBLocationTable->Enabled());
            EXPECT_FALSE(d->RBLocationTable->ShowHint());
            Shot(d, "print-selection.png");
            gui::sim::Click(d->OKBtn, 5, 5);
        }
    };
    Form->FilePrint();
    EXPECT_TRUE(seen);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 10000u);
    EXPECT_EQ(Dialogs->Calls.back().Kind, "Print");
}

// The computed map printed at 450 dpi on a printer beside a 1920 x 1080
// display: the page area is cut into 3 x 3 tiles, the progress runs from
// 11 to 100 percent, and the page shows the map fitted to the area's
// width and centred, without seams between the tiles.
TEST_F(MainWindow, MapPrintedInNineTilesMatchesThePicture)
{
    ASSERT_TRUE(Form->SelectCatalogueEntry(etSolarEclipse, 9561));
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    const std::unique_ptr<gui::TBitmap> picture = Form->EclipseMap().MapPicture(&Form->LocationList());
    TDibBlock info, bits;
    int w, h;
    ASSERT_TRUE(BitmapToDIB(*picture, info, bits, w, h));

    const std::string pdf = R("nine.pdf");
    gui::TPrinter printer;
    printer.SetOutputFileName(pdf);
    printer.SetResolution(450);
    printer.SetOrientation(gui::TPrinterOrientation::poLandscape);
    PrnSetUseBlit(true);
    PrnSetPixelScale(1, 1);
    PrnSetSourceBands(true);
    printer.BeginDoc();
    TCanvasPrnDevice device(*printer.Canvas(), {1920, 1080});
    TPageMetrics m;
    ASSERT_TRUE(GetPageMetrics(device, m));
    std::vector<std::string> progress;
    std::set<int> counts;
    ASSERT_EQ(PrintDIB(device, info, bits, true, true, [&](int tile, int count) {
                  counts.insert(count);
                  const std::string caption = PrintMapProgressCaption(tile, count);
                  if (progress.empty() || progress.back() != caption) progress.push_back(caption);
                  return 1;
              }),
              prnPrinted);
    printer.EndDoc();
    PrnSetUseBlit(false);
    EXPECT_EQ(counts, std::set<int>{9});
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), "Printing the map - 11%");
    EXPECT_EQ(progress.back(), "Printing the map - 100%");

    // Rendered at 45 dpi, one page pixel is 10 device pixels.
    const std::string png = R("nine");
    ASSERT_EQ(std::system(("pdftoppm -r 45 -png -singlefile \"" + pdf + "\" \"" + png + "\"").c_str()), 0);
    gui::TPicture page;
    page.LoadFromFile(png + ".png");
    gui::TRect fit = FitPictureRect(w, h, m.AreaWidth, m.AreaHeight, true);
    gui::OffsetRect(fit, m.Margin, m.Margin);
    EXPECT_EQ(fit.Width(), m.AreaWidth);  // a 2:1 map fills the landscape area's width
    // Page pixels against the picture's pixels under them, away from edges.
    long long difference = 0;
    int samples = 0, seamDark = 0;
    for (int py = fit.Top / 10 + 2; py < fit.Bottom / 10 - 2; ++py)
        for (int px = fit.Left / 10 + 2; px < fit.Right / 10 - 2; px += 3) {
            const int sx = static_cast<int>((px * 10.0 + 5 - fit.Left) * w / fit.Width());
            const int sy = static_cast<int>((py * 10.0 + 5 - fit.Top) * h / fit.Height());
            const gui::TColor a = page.Bitmap()->Canvas()->Pixels(px, py);
            const gui::TColor b = picture->Canvas()->Pixels(sx, sy);
            const int d = std::abs(gui::GetRValue(a) - gui::GetRValue(b)) + std::abs(gui::GetGValue(a) - gui::GetGValue(b)) +
                          std::abs(gui::GetBValue(a) - gui::GetBValue(b));
            difference += d;
            ++samples;
        }
    // Tile seams (every 1920 device pixels across, 1080 down) would show as
    // lines of another colour: the rows and columns at the seams match the
    // picture as well as any other.
    for (int seam : {1, 2}) {
        const int row = (fit.Top + seam * 1080) / 10;
        const int col = (fit.Left + seam * 1920) / 10;
        for (int k = 0; k < 40; ++k) {
            const gui::TColor r = page.Bitmap()->Canvas()->Pixels(fit.Left / 10 + 5 + k * 10, row);
            const gui::TColor c = page.Bitmap()->Canvas()->Pixels(col, fit.Top / 10 + 5 + k * 5);
            seamDark += (gui::GetRValue(r) + gui::GetGValue(r) + gui::GetBValue(r) < 60) +
                        (gui::GetRValue(c) + gui::GetGValue(c) + gui::GetBValue(c) < 60);
        }
    }
    // The red path of totality lies where the picture puts it.
    auto redCentre = [](gui::TBitmap& b, int step, double& cx, double& cy) {
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = 0; y < b.Height(); y += step)
            for (int x = 0; x < b.Width(); x += step) {
                const gui::TColor c = b.Canvas()->Pixels(x, y);
                if (gui::GetRValue(c) > 200 && gui::GetGValue(c) < 90 && gui::GetBValue(c) < 90) {
                    sx += x;
                    sy += y;
                    ++n;
                }
            }
        cx = n ? sx / n : -1;
        cy = n ? sy / n : -1;
        return n;
    };
    double pageX, pageY, picX, picY;
    ASSERT_GT(redCentre(*page.Bitmap(), 1, pageX, pageY), 50);
    ASSERT_GT(redCentre(*picture, 2, picX, picY), 50);
    EXPECT_NEAR(pageX, (fit.Left + picX * fit.Width() / w) / 10, 3);
    EXPECT_NEAR(pageY, (fit.Top + picY * fit.Height() / h) / 10, 3);
    ASSERT_GT(samples, 1000);
    std::printf("nine tiles: mean colour difference %.1f over %d samples, %d dark seam pixels\n",
                static_cast<double>(difference) / samples, samples, seamDark);
    EXPECT_LT(static_cast<double>(difference) / samples, 40.0);
    EXPECT_LE(seamDark, 4);
    std::filesystem::copy_file(png + ".png", Shots / "printed-nine-tiles.png",
                               std::filesystem::copy_options::overwrite_existing);
}

TEST_F(MainWindow, AboutBoxClosesOnAClickTheSplashDoesNot)
{
    TSplashScreen splash(nullptr);
    EXPECT_NE(splash.HTMLLabel->Text().find("Five Millennium Canon of Solar Eclipses"), std::string::npos);
    EXPECT_NE(splash.Version->Caption().find("v"), std::string::npos);
    splash.Show();
    Shot(&splash, "about.png");
    gui::sim::Click(splash.Panel1, 5, 5);
    EXPECT_EQ(splash.ModalResult(), gui::mrNone);  // the start-up splash stays
    gui::sim::KeyPress(gui::VK_ESCAPE);
    EXPECT_EQ(splash.ModalResult(), gui::mrNone);
    // The program's icon fills the icon area: the dark disc in the middle,
    // the bright corona around it.
    const std::unique_ptr<gui::TBitmap> shot = splash.GetImage();
    const gui::TPoint centre{splash.ProgramIcon->Left() + 32, splash.ProgramIcon->Top() + 32};
    const gui::TColor disc = shot->Canvas()->Pixels(centre.X, centre.Y);
    EXPECT_LT(gui::GetRValue(disc) + gui::GetGValue(disc) + gui::GetBValue(disc), 150);
    const gui::TColor corona = shot->Canvas()->Pixels(centre.X + 21, centre.Y);
    EXPECT_GT(gui::GetRValue(corona), 230);
    EXPECT_GT(gui::GetGValue(corona), 150);
    splash.FCanClose = true;
    gui::sim::Click(splash.ProductName, 5, 5);
    EXPECT_EQ(splash.ModalResult(), gui::mrOk);
    // As the About box, Escape closes it.
    splash.SetModalResult(gui::mrNone);
    gui::sim::KeyPress(gui::VK_ESCAPE);
    EXPECT_EQ(splash.ModalResult(), gui::mrOk);
    splash.Hide();
}

// From the start of the program to the computed general map of the
// document named on the command line, splash pause included.
class StartUp : public apptest::HomeFixture {};

TEST_F(StartUp, DocumentOnTheCommandLineComputedWithinThreeSeconds)
{
    if (!std::filesystem::exists(apptest::CatalogueFile)) GTEST_SKIP() << "no catalogue built";
    auto service = std::make_unique<gui::TScriptedDialogService>();
    gui::SetDialogService(std::move(service));
    // The document: the eclipse of 2024 Apr 08 on the general map.
    TSettings s;
    s.EventType = 0;
    s.SECatNo = 9561;
    TObserverDataList none("SE");
    const std::string doc = H("eclipse.sec");
    WriteSettings(doc, false, s, none);

    const auto start = std::chrono::steady_clock::now();
    TPathsSetup setup;
    setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
    InitPaths(setup);
    gui::Application->Initialize();
    TProgramWindows w = StartProgram({doc});
    w.Main->Show();
    for (int i = 0; i < 10 && w.Main->Status() != stCalculated; ++i) {
        gui::Application->ProcessMessages();
        bool done = false;
        gui::Application->DoIdle(done);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("start-up to the computed general map: %.2f s (splash pause %lld ms included)\n", seconds,
                static_cast<long long>(SplashPause.count()));
    EXPECT_EQ(w.Main->Status(), stCalculated);
    // The program's icon is every window's icon.
    ASSERT_NE(gui::ProgramIcon(), nullptr);
    EXPECT_EQ(gui::ProgramIcon()->Width(), 256);
    // The desktop entry starts the program with a document and names the
    // icon installed beside it.
    const std::string entry = apptest::ReadBytes(std::string(TEC_SOURCE_DIR) + "/app/tolmira-eclipse.desktop");
    for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Tolmira Eclipse Calculator\n",
                             "\nExec=tolmira-eclipse %f\n", "\nIcon=tolmira-eclipse\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    gui::TPicture installed;
    installed.LoadFromFile(std::string(TEC_SOURCE_DIR) + "/resources/icons/tolmira-eclipse.png");
    EXPECT_EQ(installed.Width(), 256);
    EXPECT_EQ(w.Main->EclipseMap().MapData.ResourceName, GeneralMapData.ResourceName);
    EXPECT_NE(w.Main->LTitle->Caption().find("2024 Apr 08"), std::string::npos);
    EXPECT_LT(seconds, 60.0);  // the figure that matters is printed; this only catches a hang
    // Ending the program writes the configuration with the eclipse shown.
    EndProgram(w);
    TSettings stored;
    TObserverDataList list("SE");
    ASSERT_TRUE(ReadSettings(ConfigFile, true, stored, list).Ok);
    EXPECT_EQ(stored.EventType, 0);
    EXPECT_EQ(stored.SECatNo, 9561);
    gui::SetDialogService(nullptr);
}

// A new user: no configuration yet.  The shipped one is copied and read,
// and the first idle call computes the eclipse it names.
TEST_F(StartUp, NewUserStartsWithTheShippedConfiguration)
{
    if (!std::filesystem::exists(apptest::CatalogueFile)) GTEST_SKIP() << "no catalogue built";
    gui::SetDialogService(std::make_unique<gui::TScriptedDialogService>());
    TPathsSetup setup;
    setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
    InitPaths(setup);
    ASSERT_TRUE(std::filesystem::exists(ProgramPath + "tec.ini"));
    ASSERT_FALSE(std::filesystem::exists(ConfigFile));
    gui::Application->Initialize();
    TProgramWindows w = StartProgram({}, std::chrono::milliseconds(0));
    EXPECT_TRUE(std::filesystem::exists(ConfigFile));
    w.Main->Show();
    for (int i = 0; i < 10 && w.Main->Status() != stCalculated; ++i) {
        gui::Application->ProcessMessages();
        bool done = false;
        gui::Application->DoIdle(done);
    }
    EXPECT_EQ(w.Main->Status(), stCalculated);
    EXPECT_EQ(w.Main->EventType(), etSolarEclipse);
    EXPECT_EQ(w.Main->LTitle->Caption(), "Total Solar Eclipse of 2024 Apr 08");
    EXPECT_EQ(w.Main->EclipseMap().MapData.ResourceName, GeneralMapData.ResourceName);
    EXPECT_EQ(w.Main->StatusText(1), "Internal delta T table");
    EXPECT_EQ(w.Main->DeltaTTableFile(), DefaultDeltaTTableFile);
    EndProgram(w);
    gui::SetDialogService(nullptr);
}

} // namespace
