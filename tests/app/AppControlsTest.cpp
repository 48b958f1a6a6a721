// The styled controls on the program's windows: the main window's progress
// bar while a map is computed, the catalogue dialog's Reset buttons and
// its page control.
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

} // namespace
