// The delta-T dialog offscreen: the plot's pieces per span and flag, the
// legend and caption, a broken table, Cancel and OK, and the main window's
// command with its status bar and configuration.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "MainWindowFixture.h"
#include "app/DeltaTDlgs.h"
#include "compute/DatesAndTimes.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"

using namespace app;

namespace {

namespace fs = std::filesystem;

// A curve of the chart: colour, layer, first and last year, points.
struct TCurve {
    gui::TColor Color;
    int Layer;
    double First, Last;
    int Points;
};

std::vector<TCurve> Curves(const chart::TPlotChart& chart)
{
    std::vector<TCurve> curves;
    for (int i = 0; i < chart.NumItems(); ++i) {
        const chart::TrcChartItem it = chart.GetItemParams(i);
        if (it.ItemKind == chart::TrcItem::tkMoveTo) {
            curves.push_back({it.Color, it.Layer, it.x, it.x, 1});
        } else if (it.ItemKind == chart::TrcItem::tkLineto && !curves.empty()) {
            EXPECT_EQ(it.Color, curves.back().Color);
            curves.back().Last = it.x;
            ++curves.back().Points;
        }
    }
    return curves;
}

// The delta-T state is process-wide: each test starts from no table, the
// internal table on, and a scratch DeltaT folder with a good and a broken
// table.
class DeltaTDialog : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        gui::Application->Initialize();
        auto service = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = service.get();
        gui::SetDialogService(std::move(service));
        SavedPath = DeltaTPath;
        DeltaTPath = (Root / "DeltaT").string() + "/";
        fs::create_directories(DeltaTPath);
        // 1000 s in the year 1000 falling to 60 s in 2000.
        apptest::WriteText(DeltaTPath + "good", "! test table\n1000 : 1000\n2000 : 60\n");
        apptest::WriteText(DeltaTPath + "broken", "1000 : 1000\nnot a line\n2000 : 60\n");
        compute::DeltaTTable = compute::TDeltaTTable();
        compute::UseInternalDeltaTTable = true;
        Dlg = new TDeltaTDlg(nullptr);
    }
    void TearDown() override
    {
        delete Dlg;
        DeltaTPath = SavedPath;
        compute::DeltaTTable = compute::TDeltaTTable();
        compute::UseInternalDeltaTTable = true;
        gui::SetDialogService(nullptr);
        HomeFixture::TearDown();
    }
    // Chooses a file as a click in the list does.
    void Choose(const std::string& name)
    {
        Dlg->DeltaTFileListBox->SetFileName(DeltaTPath + name);
        Dlg->DeltaTFileListBoxClick();
    }
    // Runs `inside` from the dialog's modal loop, then returns its result.
    gui::TModalResult RunModal(std::function<void()> inside)
    {
        // A dialog that refuses to close fails the test instead of hanging
        // it: a timer gives up after 10 s.
        gui::TTimer guard(nullptr);
        guard.SetInterval(10000);
        guard.OnTimer = [this, &guard](rtl::TObject*) {
            guard.SetEnabled(false);
            if (!Dlg->Visible()) return;
            ADD_FAILURE() << "the dialog did not close";
            compute::DeltaTTable.Error = 0;
            Dlg->SetModalResult(gui::mrAbort);
        };
        guard.SetEnabled(true);
        gui::QueueInMainThread([this, inside] {
            EXPECT_TRUE(Dlg->Visible());
            inside();
        });
        return Dlg->ShowModal();
    }

    gui::TScriptedDialogService* Dialogs = nullptr;
    TDeltaTDlg* Dlg = nullptr;
    std::string SavedPath;
};

TEST_F(DeltaTDialog, PlotPiecesFollowSpanAndInternalTableFlag)
{
    ASSERT_EQ(compute::LoadDeltaTTable(DeltaTPath + "good"), 0);
    Dlg->FormShow();
    const gui::TColor navy = gui::clNavy, red = gui::clRed, green = gui::clGreen;
    struct Case {
        int Item;
        bool Internal;
        std::vector<std::tuple<gui::TColor, double, double>> Pieces;
    };
    const Case cases[] = {
        {0, true, {{navy, -3000, 1620}, {red, 1620, 2020}, {green, 2020, 3000}}},
        {1, true, {{navy, 0, 1620}, {red, 1620, 2020}, {green, 2020, 3000}}},
        {2, true, {{navy, 1500, 1620}, {red, 1620, 2020}, {green, 2020, 2200}}},
        {3, true, {{red, 1800, 2020}, {green, 2020, 2100}}},
        {0, false, {{navy, -3000, 3000}}},
        {1, false, {{navy, 0, 3000}}},
        {2, false, {{navy, 1500, 2200}}},
        {3, false, {{navy, 1800, 2100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.Item << " internal " << c.Internal);
        Dlg->CBUseInternalTable->SetChecked(c.Internal);
        Dlg->CBUseInternalTableClick();
        EXPECT_EQ(compute::UseInternalDeltaTTable, c.Internal);
        Dlg->CBTimeSpan->SetItemIndex(c.Item);
        Dlg->CBTimeSpanChange();
        const std::vector<TCurve> curves = Curves(*Dlg->Chart);
        ASSERT_EQ(curves.size(), c.Pieces.size());
        for (std::size_t i = 0; i < curves.size(); ++i) {
            EXPECT_EQ(curves[i].Color, std::get<0>(c.Pieces[i])) << i;
            EXPECT_EQ(curves[i].Layer, 1);
            EXPECT_EQ(curves[i].First, std::get<1>(c.Pieces[i])) << i;
            EXPECT_EQ(curves[i].Last, std::get<2>(c.Pieces[i])) << i;
            // One point for every whole year.
            EXPECT_EQ(curves[i].Points, curves[i].Last - curves[i].First + 1) << i;
        }
        const TDeltaTSpan& span = DeltaTSpan(c.Item);
        EXPECT_EQ(Dlg->Chart->Scale1X()->RangeLow(), span.FirstYear);
        EXPECT_EQ(Dlg->Chart->Scale1X()->RangeHigh(), span.LastYear);
        EXPECT_EQ(Dlg->Chart->Scale1Y()->Caption(), c.Item < 2 ? "delta T [h]" : "delta T [min]");
    }
}

// Values on the curves: the user table interpolated (1500: 530 s), and with
// the internal table the published delta T of 1900 (-2.7 s) and 2000 (63.8 s).
TEST_F(DeltaTDialog, PlottedValuesAreDeltaTInTheSpansUnit)
{
    ASSERT_EQ(compute::LoadDeltaTTable(DeltaTPath + "good"), 0);
    Dlg->FormShow();
    auto valueAt = [&](double year) {
        for (int i = 0; i < Dlg->Chart->NumItems(); ++i) {
            const chart::TrcChartItem it = Dlg->Chart->GetItemParams(i);
            if (it.x == year) return it.y;
        }
        ADD_FAILURE() << "no point at " << year;
        return 0.0;
    };
    Dlg->CBUseInternalTable->SetChecked(false);
    Dlg->CBUseInternalTableClick();
    Dlg->CBTimeSpan->SetItemIndex(1);   // hours
    Dlg->CBTimeSpanChange();
    EXPECT_NEAR(valueAt(1500), 530.0 / 3600, 0.002);
    Dlg->CBUseInternalTable->SetChecked(true);
    Dlg->CBUseInternalTableClick();
    Dlg->CBTimeSpan->SetItemIndex(3);   // minutes
    Dlg->CBTimeSpanChange();
    EXPECT_NEAR(valueAt(1900), -2.7 / 60, 0.2 / 60);
    EXPECT_NEAR(valueAt(2000), 63.8 / 60, 0.3 / 60);
}

TEST_F(DeltaTDialog, LegendAndCaptionFollowTheFlag)
{
    EXPECT_EQ(Dlg->CBUseInternalTable->Caption(), "from 1620 use internal delta T table  (v2010/1)");
    EXPECT_EQ(Dlg->ButtonType(), htmltext::TButtonType::btVantor);
    EXPECT_EQ(Dlg->CBUseInternalTable->ButtonType(), htmltext::TButtonType::btVantor);
    EXPECT_EQ(Dlg->Caption(), "delta T");
    EXPECT_EQ(Dlg->CBTimeSpan->ItemIndex(), 1);
    ASSERT_EQ(compute::LoadDeltaTTable(DeltaTPath + "good"), 0);
    Dlg->FormShow();
    EXPECT_EQ(Dlg->LLegend->HTMLText()->Strings(0),
              "<font color=\"clNavy\">from delta T table file   </font> <font color=\"clRed\">from internal table   "
              "</font> <font color=\"clGreen\">extrapolated</font>");
    Dlg->CBUseInternalTable->SetChecked(false);
    Dlg->CBUseInternalTableClick();
    EXPECT_EQ(Dlg->LLegend->HTMLText()->Strings(0), "<font color=\"clNavy\">from delta T table file </font>");
}

TEST_F(DeltaTDialog, BrokenTableIsReportedAndKeepsTheDialogOpen)
{
    ASSERT_EQ(compute::LoadDeltaTTable(DeltaTPath + "good"), 0);
    Dlg->FormShow();
    EXPECT_EQ(Dlg->DeltaTFileListBox->Items()->Count(), 2);
    try {
        Choose("broken");
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Error reading delta-T table:\r\nLine 2: Syntax error.\r\n" + DeltaTPath + "broken");
    }
    EXPECT_THROW(Dlg->OKBtnClick(), std::exception);
    EXPECT_FALSE(Dlg->FormCloseQuery());
    Choose("good");
    Dlg->OKBtnClick();
    EXPECT_TRUE(Dlg->FormCloseQuery());
    EXPECT_EQ(compute::DeltaTTable.FileName, DeltaTPath + "good");

    // Through the modal loop: the error goes to the application's display
    // and OK does not close; Cancel restores the good table.
    std::vector<std::string> shown;
    gui::Application->OnException = [&](rtl::TObject*, const std::exception& e) { shown.push_back(e.what()); };
    const gui::TModalResult r = RunModal([&] {
        Dlg->DeltaTFileListBox->SetFileName(DeltaTPath + "broken");
        Dlg->DeltaTFileListBox->OnClick(Dlg->DeltaTFileListBox);
        Dlg->OKBtn->Click();
        gui::Application->ProcessMessages();
        EXPECT_TRUE(Dlg->Visible());
        Dlg->CancelBtn->Click();
    });
    gui::Application->OnException = nullptr;
    EXPECT_EQ(r, gui::mrCancel);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find("Line 2: Syntax error."), std::string::npos);
    EXPECT_TRUE(compute::DeltaTTable.IsLoaded);
    EXPECT_EQ(compute::DeltaTTable.Error, 0);
    EXPECT_EQ(compute::DeltaTTable.FileName, DeltaTPath + "good");
}

TEST_F(DeltaTDialog, OkWithoutChangeReloadsAndCancelKeepsTheFlag)
{
    ASSERT_EQ(compute::LoadDeltaTTable(DeltaTPath + "good"), 0);
    compute::UseInternalDeltaTTable = false;
    Dlg->SetDeltaTFile(DeltaTPath + "good");
    EXPECT_EQ(RunModal([&] {
                  // The table is loaded anew: a changed file shows.
                  apptest::WriteText(DeltaTPath + "good", "1000 : 500\n2000 : 60\n");
                  Dlg->OKBtn->Click();
              }),
              gui::mrOk);
    EXPECT_EQ(Dlg->DeltaTFile(), DeltaTPath + "good");
    EXPECT_EQ(compute::DeltaTTable.Values[0].Value, 500);

    // Ticking the box and cancelling leaves the internal table in use.
    EXPECT_EQ(RunModal([&] {
                  EXPECT_FALSE(Dlg->CBUseInternalTable->Checked());
                  Dlg->CBUseInternalTable->SetChecked(true);
                  Dlg->CBUseInternalTableClick();
                  Dlg->CancelBtn->Click();
              }),
              gui::mrCancel);
    EXPECT_TRUE(compute::UseInternalDeltaTTable);
    EXPECT_EQ(compute::DeltaTTable.FileName, DeltaTPath + "good");
}

// A table that failed before the dialog (or none at all): Cancel and OK
// without a choice keep that state and close.
TEST_F(DeltaTDialog, FailedTableBeforeTheDialogDoesNotLockItOpen)
{
    for (const std::string& before : {std::string("broken"), std::string()}) {
        SCOPED_TRACE(before);
        compute::DeltaTTable = compute::TDeltaTTable();
        if (!before.empty()) { EXPECT_THROW(compute::LoadDeltaTTable(DeltaTPath + before), std::exception); }
        const compute::TDeltaTTable was = compute::DeltaTTable;
        gui::Application->OnException = [](rtl::TObject*, const std::exception&) {};
        EXPECT_EQ(RunModal([&] { Dlg->CancelBtn->Click(); }), gui::mrCancel);
        EXPECT_EQ(compute::DeltaTTable.FileName, was.FileName);
        EXPECT_EQ(compute::DeltaTTable.Error, was.Error);
        EXPECT_FALSE(compute::DeltaTTable.IsLoaded);
        EXPECT_EQ(RunModal([&] { Dlg->OKBtn->Click(); }), gui::mrOk);
        EXPECT_EQ(compute::DeltaTTable.FileName, was.FileName);
        EXPECT_FALSE(compute::DeltaTTable.IsLoaded);
        // Choosing a good table then loads it.
        EXPECT_EQ(RunModal([&] {
                      Choose("good");
                      Dlg->OKBtn->Click();
                  }),
                  gui::mrOk);
        EXPECT_TRUE(compute::DeltaTTable.IsLoaded);
        gui::Application->OnException = nullptr;
    }
}

// The dialog for the four spans, internal table in use, as PNG pictures.
TEST_F(DeltaTDialog, Screenshots)
{
    // The table the program ships, when it is built, else the test's own.
    const std::string shipped = std::string(TEC_RUNTIME_DIR) + "/DeltaT/" + DefaultDeltaTTableFile;
    std::string table = DeltaTPath + "good";
    if (fs::exists(shipped)) {
        table = DeltaTPath + DefaultDeltaTTableFile;
        fs::copy_file(shipped, table);
    }
    ASSERT_EQ(compute::LoadDeltaTTable(table), 0);
    fs::create_directories(apptest::Shots);
    Dlg->Show();
    for (int item = 0; item < 4; ++item) {
        Dlg->CBTimeSpan->SetItemIndex(item);
        Dlg->CBTimeSpanChange();
        gui::Application->ProcessMessages();
        auto image = Dlg->GetImage();
        ASSERT_TRUE(image);
        gui::TPicture picture;
        picture.SetGraphic(image.get());
        picture.SaveToFile((apptest::Shots / ("deltat-dialog-" + std::to_string(item) + ".png")).string());
    }
    Dlg->Hide();
}

} // namespace
