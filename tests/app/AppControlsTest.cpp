// The styled controls on the program's windows: the main window's progress
// bar while a map is computed, and the catalogue dialog's Reset buttons.
// Both leave screenshots in the screenshots folder for looking at.

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"

using namespace app;
using namespace gui;

namespace {

using apptest::MainWindow;

TColor At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

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
    Form->OpenCommandLineDocument(WriteDocument(0, 9563));   // 2024 Apr 08
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
