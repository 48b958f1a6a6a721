// Form placement on shown forms that are maximised: the normal bounds are
// what is stored and what a restore gives back, under the stored state.
// (The offscreen window system keeps no minimised state, so minimising a
// shown form cannot be checked here.)
#include <gtest/gtest.h>

#include <memory>

#include "dbgrids/UxFormPlacement.h"
#include "dbgrids/UxMemAppStorage.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowPlacement.h"

using namespace dbgrids;
using namespace gui;

namespace {

struct ShownPlacementFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TUxMemAppStorage Storage{nullptr};
    TUxFormPlacement* Placement = nullptr;

    void SetUp() override
    {
        Form->SetName("ShownDlg");
        Form->SetPosition(TPosition::poDesigned);
        Form->SetBounds(10, 20, 300, 200);
        Placement = new TUxFormPlacement(Form.get());
        Placement->SetAppStorage(&Storage);
        Placement->SetAppStoragePath("%FORM_NAME%");
        Form->Show();
    }
    void Store(int showCmd, const std::string& normPos)
    {
        Storage.WriteInteger("ShownDlg\\PixelsPerInch", Screen->PixelsPerInch());
        Storage.WriteInteger("ShownDlg\\ShowCmd", showCmd);
        Storage.WriteString("ShownDlg\\NormPos", normPos);
    }
};

} // namespace

TEST_F(ShownPlacementFixture, AMaximisedFormStoresItsNormalBounds)
{
    Form->SetWindowState(TWindowState::wsMaximized);
    ASSERT_EQ(Form->WindowState(), TWindowState::wsMaximized);
    Placement->SaveFormPlacement();
    EXPECT_EQ(Storage.ReadInteger("ShownDlg\\ShowCmd", -1), SW_SHOWMAXIMIZED);
    EXPECT_EQ(Storage.ReadString("ShownDlg\\NormPos"), "10,20,310,220");
    EXPECT_EQ(GetWindowPlacement(Form.get()).NormalPosition, Rect(10, 20, 310, 220));
}

TEST_F(ShownPlacementFixture, RestoringMaximisedKeepsTheStoredBoundsForLater)
{
    Store(SW_SHOWMAXIMIZED, "50,60,450,360");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(Form->NormalBounds(), Rect(50, 60, 450, 360));
    Form->SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(Form->NormalBounds(), Rect(50, 60, 450, 360));
}

TEST_F(ShownPlacementFixture, NewBoundsOnAMaximisedFormAreItsNormalOnes)
{
    Form->SetWindowState(TWindowState::wsMaximized);
    // Stored normal: the form comes back normal at the stored bounds.
    Store(SW_SHOWNORMAL, "40,30,240,180");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(Form->NormalBounds(), Rect(40, 30, 240, 180));
    // Bounds without a state (a placement of size and location only) leave
    // a maximised form maximised.
    Form->SetWindowState(TWindowState::wsMaximized);
    Placement->SetOptions({TPlacementOption::fpSize, TPlacementOption::fpLocation});
    Store(SW_SHOWNORMAL, "70,80,370,280");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(Form->NormalBounds(), Rect(70, 80, 370, 280));
}
