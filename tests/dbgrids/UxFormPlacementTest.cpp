// Form placement on a form that is never shown: the stored values, the
// screen-specific keys, pixels per inch and version checks, the state,
// the links, and the size limits.
#include <gtest/gtest.h>

#include <memory>

#include "dbgrids/UxFormPlacement.h"
#include "dbgrids/UxMemAppStorage.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WindowPlacement.h"

using namespace dbgrids;
using namespace gui;

namespace {

struct PlacementFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TUxMemAppStorage Storage{nullptr};
    TUxFormPlacement* Placement = nullptr;

    void SetUp() override
    {
        Form->SetName("MainDlg");
        Form->SetPosition(TPosition::poDesigned);
        Form->SetBounds(10, 20, 300, 200);
        Placement = new TUxFormPlacement(Form.get());
        Placement->SetAppStorage(&Storage);
        Placement->SetAppStoragePath("%FORM_NAME%");
    }
    TRect Bounds() const { return Form->BoundsRect(); }
};

} // namespace

TEST_F(PlacementFixture, SavesStateBoundsAndVersion)
{
    EXPECT_EQ(Placement->AppStoragePath(), "MainDlg\\");
    Placement->SetAppStoragePath("Settings");
    EXPECT_EQ(Placement->AppStoragePath(), "Settings\\");
    Placement->SaveFormPlacement();
    EXPECT_TRUE(Placement->Saved());
    EXPECT_EQ(Storage.ReadInteger("Settings\\FormVersion", -1), 0);
    EXPECT_EQ(Storage.ReadInteger("Settings\\ShowCmd", -1), 1);
    EXPECT_EQ(Storage.ReadInteger("Settings\\PixelsPerInch", -1), Screen->PixelsPerInch());
    EXPECT_EQ(Storage.ReadString("Settings\\NormPos"), "10,20,310,220");
    EXPECT_EQ(Storage.ReadString("Settings\\NormPos" + ScreenSizeSuffix()), "10,20,310,220");
    // Typed values below the path; no storage: defaults.
    Placement->WriteInteger("Extra", 7);
    EXPECT_EQ(Storage.ReadInteger("Settings\\Extra", 0), 7);
    Placement->WriteDateTime("When", 45390.75);
    EXPECT_DOUBLE_EQ(Storage.ReadDateTime("Settings\\When", 0), 45390.75);
    EXPECT_DOUBLE_EQ(Placement->ReadDateTime("When", 1), 45390.75);
    Placement->SetAppStorage(nullptr);
    EXPECT_EQ(Placement->ReadInteger("Extra", 3), 3);
}

TEST_F(PlacementFixture, ScreenSpecificValuesWinOnTheirScreenOnly)
{
    const std::string other = ScreenSizeSuffix() == "(1920x1080)" ? "(1280x1024)" : "(1920x1080)";
    Storage.WriteInteger("MainDlg\\PixelsPerInch", Screen->PixelsPerInch());
    Storage.WriteString("MainDlg\\NormPos", "50,60,450,360");
    Storage.WriteString("MainDlg\\NormPos" + other, "1,1,2,2");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Bounds(), Rect(50, 60, 450, 360));
    Storage.WriteString("MainDlg\\NormPos" + ScreenSizeSuffix(), "70,80,370,280");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Bounds(), Rect(70, 80, 370, 280));
    // Location only: the size stays.
    Placement->SetOptions({TPlacementOption::fpLocation});
    Storage.WriteString("MainDlg\\NormPos" + ScreenSizeSuffix(), "5,6,9,9");
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Bounds(), Rect(5, 6, 305, 206));
}

TEST_F(PlacementFixture, OtherPixelsPerInchRestoresTheStateOnly)
{
    Storage.WriteInteger("MainDlg\\PixelsPerInch", Screen->PixelsPerInch() + 24);
    Storage.WriteString("MainDlg\\NormPos", "50,60,450,360");
    Storage.WriteInteger("MainDlg\\ShowCmd", 3);
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Bounds(), Rect(10, 20, 310, 220));
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
}

TEST_F(PlacementFixture, DefaultStateWithoutAStoredShowCmd)
{
    // Maximized: a normal form placed by default, or the main MDI parent.
    struct Case {
        TFormStyle style;
        TPosition position;
        TWindowState state;
    } cases[] = {
        {TFormStyle::fsNormal, TPosition::poDefault, TWindowState::wsMaximized},
        {TFormStyle::fsNormal, TPosition::poDesigned, TWindowState::wsNormal},
        {TFormStyle::fsMDIForm, TPosition::poDesigned, TWindowState::wsMaximized},
        {TFormStyle::fsStayOnTop, TPosition::poDefault, TWindowState::wsNormal},
    };
    Placement->SetOptions({TPlacementOption::fpState});
    TCustomForm* main = Application->MainForm();
    Application->SetMainForm(Form.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style) * 10 + static_cast<int>(c.position));
        Form->SetWindowState(TWindowState::wsNormal);
        Form->SetFormStyle(c.style);
        Form->SetPosition(c.position);
        Placement->RestoreFormPlacement();
        EXPECT_EQ(Form->WindowState(), c.state);
    }
    Form->SetWindowState(TWindowState::wsNormal);
    Form->SetFormStyle(TFormStyle::fsNormal);
    Application->SetMainForm(main);
}

TEST_F(PlacementFixture, VersionChecks)
{
    int restored = 0;
    Placement->OnRestorePlacement = [&](rtl::TObject*) { ++restored; };
    Storage.WriteInteger("MainDlg\\FormVersion", 2);
    Storage.WriteString("MainDlg\\NormPos", "50,60,450,360");
    Storage.WriteInteger("MainDlg\\PixelsPerInch", Screen->PixelsPerInch());
    struct Case {
        TUxFormPlacementVersionCheck check;
        int version;
        bool restores;
    } cases[] = {
        {TUxFormPlacementVersionCheck::fpvcCheckGreaterEqual, 3, false},
        {TUxFormPlacementVersionCheck::fpvcCheckGreaterEqual, 2, true},
        {TUxFormPlacementVersionCheck::fpvcCheckEqual, 1, false},
        {TUxFormPlacementVersionCheck::fpvcNocheck, 9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Form->SetBounds(10, 20, 300, 200);
        restored = 0;
        Placement->SetVersionCheck(c.check);
        Placement->SetVersion(c.version);
        Placement->RestoreFormPlacement();
        EXPECT_EQ(restored, c.restores ? 1 : 0);
        EXPECT_EQ(Bounds() == Rect(50, 60, 450, 360), c.restores);
        EXPECT_TRUE(Placement->Restored());
    }
}

TEST_F(PlacementFixture, MinimizedMainFormMinimizesTheApplication)
{
    Storage.WriteInteger("MainDlg\\ShowCmd", 2);
    TCustomForm* main = Application->MainForm();
    TForm other(nullptr);
    Application->SetMainForm(&other);
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMinimized);  // not the main form: itself
    EXPECT_EQ(other.WindowState(), TWindowState::wsNormal);
    Form->SetWindowState(TWindowState::wsNormal);
    // The main form: the application is minimized (which here minimizes
    // its main form).
    Application->SetMainForm(Form.get());
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMinimized);
    Form->SetWindowState(TWindowState::wsNormal);
    Application->SetMainForm(main);
}

TEST_F(PlacementFixture, LinksSaveAndLoadWithThePlacement)
{
    std::vector<std::string> log;
    {
        TUxIniLink link;
        link.OnSave = [&](rtl::TObject*) { log.push_back("save"); };
        link.OnLoad = [&](rtl::TObject*) { log.push_back("load"); };
        link.SetStorage(Placement);
        Placement->SaveFormPlacement();
        Placement->RestoreFormPlacement();
    }
    Placement->SaveFormPlacement();  // the link is gone
    EXPECT_EQ(log, (std::vector<std::string>{"save", "load"}));
}

TEST_F(PlacementFixture, SizeLimitsAndPreventResize)
{
    // The limits reach the form through its window procedure: its answer
    // to WM_GETMINMAXINFO, which keeps SetBounds within them.  The form's
    // own Constraints stay as they were.
    Form->Constraints()->MaxWidth = 900;
    Placement->MinMaxInfo()->SetValue(7, 350);  // MinTrackWidth
    Placement->MinMaxInfo()->SetValue(4, 180);  // MaxTrackHeight
    EXPECT_FALSE(Placement->MinMaxInfo()->DefaultMinMaxInfo());
    EXPECT_EQ(Placement->WinHook()->Control(), Form.get());
    TMinMaxInfo info = GetMinMaxInfo(Form.get());
    EXPECT_EQ(info.ptMinTrackSize.X, 350);
    EXPECT_EQ(info.ptMaxTrackSize.Y, 180);
    EXPECT_EQ(info.ptMaxTrackSize.X, 900);  // the form's Constraints
    EXPECT_EQ(Bounds(), Rect(10, 20, 360, 200));  // applied at once
    Form->SetBounds(10, 20, 100, 400);
    EXPECT_EQ(Bounds(), Rect(10, 20, 360, 200));
    TUxWinMinMaxInfo none(nullptr);
    Placement->SetMinMaxInfo(&none);
    EXPECT_EQ(Placement->WinHook()->Control(), nullptr);
    EXPECT_EQ(GetMinMaxInfo(Form.get()).ptMinTrackSize.X, 0);
    EXPECT_EQ(Form->Constraints()->MaxWidth, 900);
    Form->Constraints()->MaxWidth = 0;

    // PreventResize: the size the form is shown with, nothing else.
    Form->SetBounds(10, 20, 300, 200);
    Form->Show();
    Placement->SetPreventResize(true);
    EXPECT_FALSE(Form->BorderIcons().Contains(TBorderIcon::biMaximize));
    info = GetMinMaxInfo(Form.get());
    EXPECT_EQ(info.ptMinTrackSize, TPoint(300, 200));
    EXPECT_EQ(info.ptMaxTrackSize, TPoint(300, 200));
    Form->SetBounds(10, 20, 500, 100);
    EXPECT_EQ(Form->Width(), 300);
    EXPECT_EQ(Form->Height(), 200);
    Placement->SetPreventResize(false);
    EXPECT_TRUE(Form->BorderIcons().Contains(TBorderIcon::biMaximize));
    Form->SetBounds(10, 20, 500, 100);
    EXPECT_EQ(Form->Width(), 500);
    Form->Hide();
}

namespace {
// A form whose frame answers the hit-test code the caller puts in WParam.
class TFramedForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(TMessage& m) override
    {
        TForm::WndProc(m);
        if (m.Msg == WM_NCHITTEST) m.Result = static_cast<int>(m.WParam);
    }
};
} // namespace

TEST(UxFormPlacementHitTest, PreventResizeTurnsSizingBordersIntoNowhere)
{
    TFramedForm form(nullptr);
    auto* placement = new TUxFormPlacement(&form);
    auto hit = [&](int code) { return static_cast<int>(form.Perform(WM_NCHITTEST, code, 0)); };
    EXPECT_EQ(hit(HTBOTTOMRIGHT), HTBOTTOMRIGHT);  // not hooked yet
    placement->SetPreventResize(true);
    for (int code = HTLEFT; code <= HTBOTTOMRIGHT; ++code) EXPECT_EQ(hit(code), HTNOWHERE) << code;
    EXPECT_EQ(hit(HTCAPTION), HTCAPTION);
    EXPECT_EQ(hit(HTCLIENT), HTCLIENT);
    EXPECT_EQ(hit(HTBOTTOMRIGHT + 1), HTBOTTOMRIGHT + 1);
    placement->SetPreventResize(false);
    EXPECT_EQ(hit(HTLEFT), HTLEFT);
}

TEST_F(PlacementFixture, MaximisedSizeAndPositionTakeEffect)
{
    const TRect area = Screen->WorkAreaRect();
    Form->Show();
    Placement->MinMaxInfo()->SetMaxSizeWidth(500);
    Placement->MinMaxInfo()->SetMaxSizeHeight(400);
    Placement->MinMaxInfo()->SetMaxPosLeft(30);
    Placement->MinMaxInfo()->SetMaxPosTop(40);
    Form->SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(Bounds(), gui::Bounds(area.Left + 30, area.Top + 40, 500, 400));
    // The placement keeps the normal bounds; restoring returns to them.
    EXPECT_EQ(GetWindowPlacement(Form.get()).NormalPosition, Rect(10, 20, 310, 220));
    Form->SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(Bounds(), Rect(10, 20, 310, 220));

    // A maximised form follows a changed size at once.
    Form->SetWindowState(TWindowState::wsMaximized);
    Placement->MinMaxInfo()->SetMaxSizeWidth(450);
    EXPECT_EQ(Bounds(), gui::Bounds(area.Left + 30, area.Top + 40, 450, 400));
    // Without values: the whole work area, as the window system maximises.
    Form->SetWindowState(TWindowState::wsNormal);
    TUxWinMinMaxInfo none(nullptr);
    Placement->SetMinMaxInfo(&none);
    Form->SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(Form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(GetWindowPlacement(Form.get()).NormalPosition, Rect(10, 20, 310, 220));
    Form->SetWindowState(TWindowState::wsNormal);
    Form->Hide();
}

TEST_F(PlacementFixture, ResetMaximizedPositionByBorderStyle)
{
    struct Case {
        TBorderStyle style;
        TPoint position;
    } cases[] = {
        {TBorderStyle::bsSizeable, TPoint(-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME))},
        {TBorderStyle::bsSingle, TPoint(-GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER))},
        {TBorderStyle::bsDialog, TPoint(-GetSystemMetrics(SM_CXDLGFRAME), -GetSystemMetrics(SM_CYDLGFRAME))},
        {TBorderStyle::bsNone, TPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        Form->SetBorderStyle(c.style);
        Placement->ResetMaximizedPosition();
        EXPECT_EQ(GetWindowPlacement(Form.get()).MaxPosition, c.position);
        EXPECT_EQ(Bounds(), Rect(10, 20, 310, 220));
    }
    // Restoring ends with it; the stored text carries it.
    Form->SetBorderStyle(TBorderStyle::bsSizeable);
    Storage.WriteString("MainDlg\\MinMaxPos", "1,2,3,4");
    Storage.WriteInteger("MainDlg\\PixelsPerInch", Screen->PixelsPerInch());
    Placement->RestoreFormPlacement();
    EXPECT_EQ(GetWindowPlacement(Form.get()).MaxPosition, cases[0].position);
    Placement->SaveFormPlacement();
    EXPECT_EQ(Storage.ReadString("MainDlg\\MinMaxPos"), "1,2," + std::to_string(cases[0].position.X) + "," +
                                                           std::to_string(cases[0].position.Y));
    // With a MinMaxInfo value or PreventResize it is left alone.
    Form->SetBorderStyle(TBorderStyle::bsNone);
    Placement->MinMaxInfo()->SetValue(6, 100);
    Placement->ResetMaximizedPosition();
    EXPECT_EQ(GetWindowPlacement(Form.get()).MaxPosition, cases[0].position);
}

TEST_F(PlacementFixture, FormEventsRestoreOnShowAndSaveOnClose)
{
    int oldShow = 0;
    Form->OnShow = [&](rtl::TObject*) { ++oldShow; };
    Storage.WriteString("MainDlg\\NormPos", "50,60,450,360");
    Storage.WriteInteger("MainDlg\\PixelsPerInch", Screen->PixelsPerInch());
    Placement->HookFormEvents();
    Form->Show();
    EXPECT_TRUE(Placement->Restored());
    EXPECT_EQ(oldShow, 1);
    EXPECT_EQ(Bounds().Left, 50);
    Form->SetBounds(30, 40, 320, 220);
    TRect r = Form->BoundsRect();  // as the window manager placed it
    Form->Close();
    EXPECT_EQ(Storage.ReadString("MainDlg\\NormPos"), std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                                                        std::to_string(r.Right) + "," + std::to_string(r.Bottom));
}

TEST_F(PlacementFixture, ActiveControlIsSavedAndRestoredByName)
{
    auto* first = new TEdit(Form.get());
    first->SetName("FirstEdit");
    first->SetParent(Form.get());
    auto* second = new TEdit(Form.get());
    second->SetName("SecondEdit");
    second->SetParent(Form.get());
    second->SetTop(40);
    Form->Show();
    Form->SetActiveControl(second);
    Placement->SetOptions({TPlacementOption::fpState, TPlacementOption::fpActiveControl});
    Placement->SaveFormPlacement();
    EXPECT_EQ(Storage.ReadString("MainDlg\\ActiveControl"), "SecondEdit");
    Form->SetActiveControl(first);
    Placement->RestoreFormPlacement();
    EXPECT_EQ(Form->ActiveControl(), second);
    // Only the active control: no window placement values.
    EXPECT_FALSE(Storage.ValueStored("MainDlg\\NormPos"));
}
