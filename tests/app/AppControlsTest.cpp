// The styled controls on the program's windows: the main window's progress
// bar while a map is computed, the catalogue dialog's Reset buttons and
// its page control.
// Both leave screenshots in the screenshots folder for looking at.

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "app/AddLocationDlgs.h"
#include "app/DeltaTDlgs.h"
#include "app/SettingsDlgs.h"
#include "app/TimeShiftModeDlgs.h"
#include "controls/ExCombo.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StepPause.h"

using namespace app;
using namespace gui;

namespace {

using apptest::MainWindow;

TColor At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

// Every combo box of the program's dialogs is the flat, etched styled
// combo; the settings dialog's buttons are 18 pixels wide.
TEST_F(MainWindow, DialogCombosAreFlatAndEtched)
{
    TSettingsDlg settings(nullptr);
    TAddLocationDlg add(nullptr);
    TTimeShiftModeDlg timeShift(nullptr);
    TDeltaTDlg deltaT(nullptr);
    const std::pair<TForm*, int> forms[] = {{&settings, 18}, {&add, 0}, {&timeShift, 0}, {&deltaT, 0}};
    for (const auto& [form, buttonWidth] : forms) {
        SCOPED_TRACE(form->Caption());
        int combos = 0;
        for (int i = 0; i < form->ComponentCount(); ++i) {
            if (dynamic_cast<TCustomComboBox*>(form->Components(i)) == nullptr) continue;
            auto* combo = dynamic_cast<controls::TExComboBox*>(form->Components(i));
            ASSERT_NE(combo, nullptr) << "a plain combo box";
            EXPECT_TRUE(combo->Flat());
            EXPECT_TRUE(combo->Etched());
            if (buttonWidth) { EXPECT_EQ(combo->ButtonWidth(), buttonWidth); }
            ++combos;
        }
        EXPECT_GT(combos, 0);
    }
}

TEST_F(MainWindow, ProgressBarFillsInNavyWhileTheMapIsComputed)
{
    controls::TExProgressBar* bar = Form->ProgressBar;
    EXPECT_EQ(bar->Height(), 18);
    int seen = -1;
    std::unique_ptr<TBitmap> during;
    // Looks at the bar from inside the computation's message pumping.
    TTimer watch(nullptr);
    watch.SetInterval(5);
    watch.OnTimer = [&](rtl::TObject*) {
        if (Form->Status() == stCalculating && bar->Position() >= 40 && !during) {
            seen = bar->Position();
            during = Form->ControlPanel->GetImage();
            Shot(Form->ControlPanel, "progress-during-map.png");
            watch.SetEnabled(false);
        }
    };
    Form->OpenCommandLineDocument(WriteDocument(0, 9561));   // 2024 Apr 08
    watch.SetEnabled(true);
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    ASSERT_TRUE(during) << "the computation never reached 40 %";
    EXPECT_LT(seen, 100);
    // Filled part navy, the rest the white background.
    const int y = bar->Top() + 9;
    EXPECT_EQ(At(*during, bar->Left() + 4, y), ColorToRGB(clNavy));
    EXPECT_EQ(At(*during, bar->Left() + bar->Width() - 6, y), 0xFFFFFFu);
    Shot(Form->ControlPanel, "progress-done.png");
}

TEST_F(MainWindow, CaptionPanelsCollapseMoveAndClose)
{
    controls::TExPanel* info = Form->ControlPanel;
    controls::TExPanel* places = Form->LocationsPanel;
    gui::SetAnimationSleepHandler([](int) {});
    Form->OpenCommandLineDocument(WriteDocument(0, 9561));   // 2024 Apr 08
    RunIdle();
    ASSERT_EQ(Form->Status(), stCalculated);
    Form->Action("actLocationsViewList")->Execute();
    ASSERT_TRUE(places->Visible());
    EXPECT_EQ(info->Caption()->Text(), "Information");
    EXPECT_EQ(info->Height(), 223);
    Shot(Form, "panels-expanded.png");

    // The min/max button collapses the information panel to its caption.
    sim::Click(info, info->Width() - 8, 8);
    EXPECT_TRUE(info->Collaps());
    EXPECT_EQ(info->Height(), 18);
    EXPECT_EQ(info->FullHeight(), 223);
    {
        // The collapsed caption keeps its colour under the light text.
        auto image = info->GetImage();
        ASSERT_TRUE(image);
        EXPECT_EQ(ColorToRGB(image->Canvas()->Pixels(info->Width() - 40, 6)), ColorToRGB(clHighlight));
    }
    Shot(Form, "panels-collapsed.png");
    sim::Click(info, info->Width() - 8, 8);
    EXPECT_EQ(info->Height(), 223);

    // Dragged by its caption; sized at its corner, no smaller than 100 x 50.
    const int left = places->Left(), top = places->Top();
    sim::MouseDown(places, TMouseButton::mbLeft, 60, 8);
    sim::MouseMove(places, 260, 48);
    sim::MouseUp(places, TMouseButton::mbLeft, 60, 8);
    EXPECT_EQ(places->Left(), left + 200);
    EXPECT_EQ(places->Top(), top + 40);
    sim::MouseDown(info, TMouseButton::mbLeft, 60, 8);
    sim::MouseMove(info, 60, 308);
    sim::MouseUp(info, TMouseButton::mbLeft, 60, 308);
    EXPECT_EQ(info->Top(), 350);
    sim::MouseDown(places, TMouseButton::mbLeft, places->Width() - 2, places->Height() - 2);
    sim::MouseMove(places, 10, 10);
    sim::MouseUp(places, TMouseButton::mbLeft, 10, 10);
    EXPECT_EQ(places->Width(), 100);
    EXPECT_EQ(places->Height(), 50);
    places->SetBounds(places->Left(), places->Top(), 420, 220);
    Shot(Form, "panels-moved.png");

    // The close button hides the location panel and unchecks its command.
    sim::Click(places, places->Width() - 2 - 8, 8);
    EXPECT_FALSE(places->Visible());
    EXPECT_FALSE(Form->Action("actLocationsViewList")->Checked());
    gui::SetAnimationSleepHandler(nullptr);
}

TEST_F(MainWindow, CatalogueResetButtonsShowNormalHotAndPressed)
{
    Catalogue = new TCatalogueDlg(nullptr);
    Catalogue->AfterConstruction();
    Form->CatalogueDlg = Catalogue;
    Catalogue->Show();
    Application->ProcessMessages();
    controls::TExToolButton* reset = Catalogue->TBSEReset;
    EXPECT_EQ(reset->Width(), 88);
    EXPECT_EQ(reset->Height(), 19);
    EXPECT_EQ(reset->Caption(), "Reset");
    TWinControl* sheet = reset->Parent();
    auto frameAt = [&](const char* shot) {
        Application->ProcessMessages();
        auto img = sheet->GetImage();
        Shot(sheet, shot);
        return At(*img, reset->Left(), reset->Top() + 9);
    };
    EXPECT_EQ(frameAt("reset-normal.png"), ColorToRGB(clBlack));
    sim::MouseMove(reset, 40, 9);
    EXPECT_EQ(frameAt("reset-hot.png"), ColorToRGB(clBlue));
    sim::MouseDown(reset, TMouseButton::mbLeft, 40, 9);
    EXPECT_EQ(frameAt("reset-pressed.png"), ColorToRGB(clMaroon));
    sim::MouseUp(reset, TMouseButton::mbLeft, 40, 9);
    sim::MouseMove(reset, 200, 100);
}

TEST_F(MainWindow, CataloguePagesSwitchByTabAndByEventType)
{
    Catalogue = new TCatalogueDlg(nullptr);
    Catalogue->AfterConstruction();
    Form->CatalogueDlg = Catalogue;
    Catalogue->Show();
    Application->ProcessMessages();
    controls::TExPageControl* pc = Catalogue->PageControl;
    ASSERT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActiveFont()->Height(), -11);
    EXPECT_EQ(pc->TabOverlap(), 0);
    Catalogue->SetEventType(etLunarEclipse);
    EXPECT_EQ(pc->ActivePage(), Catalogue->TSLunarEclipses);
    Application->ProcessMessages();
    Shot(Catalogue, "catalogue-lunar-page.png");
    // A click on the first tab shows the solar page through OnChange.
    const TRect r = pc->PageTabRect(0);
    sim::Click(pc, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(Catalogue->EventType(), etSolarEclipse);
    EXPECT_TRUE(Catalogue->TSSolarEclipses->Visible());
    EXPECT_FALSE(Catalogue->TSLunarEclipses->Visible());
    Application->ProcessMessages();
    auto img = pc->GetImage();
    Shot(Catalogue, "catalogue-solar-page.png");
    // The active tab is open toward its page: no border under it.
    EXPECT_EQ(At(*img, r.Left + 8, r.Bottom), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(*img, r.Left, r.Top + 6), 0x808080u);
}

TEST_F(MainWindow, CatalogueSarosEditTakesSignedNumbersAndKeepsReturn)
{
    Catalogue = new TCatalogueDlg(nullptr);
    Catalogue->AfterConstruction();
    Form->CatalogueDlg = Catalogue;
    Catalogue->Show();
    Application->ProcessMessages();
    controls::TExEdit* saros = Catalogue->ESESaros;
    EXPECT_EQ(saros->Height(), 19);
    ASSERT_NE(saros->EditLabel(), nullptr);
    EXPECT_EQ(saros->EditLabel()->Caption(), "Saros");
    EXPECT_LT(saros->EditLabel()->Left() + saros->EditLabel()->Width(), saros->Left());
    saros->SetFocus();
    Application->ProcessMessages();
    sim::TypeText("1x3-9", saros);
    // Letters are dropped, "-" turns the sign.
    EXPECT_EQ(saros->Text(), "-139");
    sim::KeyPress(VK_SUBTRACT, {}, saros);
    EXPECT_EQ(saros->Text(), "139");
    Shot(saros->Parent(), "catalogue-saros-focused.png");
    // Return applies the filter in the dialog; it does not close it.
    sim::KeyPress(VK_RETURN, {}, saros);
    Application->ProcessMessages();
    EXPECT_TRUE(Catalogue->Visible());
    EXPECT_NE(Catalogue->Caption().find("entries"), std::string::npos);
    // A lone sign is no Saros number: the dialog says so.
    saros->SelectAll();
    sim::KeyPress(VK_SUBTRACT, {}, saros);
    EXPECT_EQ(saros->Text(), "-");
    Shot(saros->Parent(), "catalogue-saros-sign-only.png");
    sim::KeyPress(VK_RETURN, {}, saros);
    Application->ProcessMessages();
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls.back().Text, "\"-\" is not a Saros number.");
    // The year edit jumps through its integer value and empties.
    Catalogue->ESEGoTo->SetFocus();
    sim::TypeText("2024", Catalogue->ESEGoTo);
    sim::KeyPress(VK_RETURN, {}, Catalogue->ESEGoTo);
    EXPECT_EQ(Catalogue->ESEGoTo->Text(), "");
}

} // namespace
