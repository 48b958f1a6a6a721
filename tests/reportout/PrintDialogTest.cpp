// The print dialog driven headless over fake printers and a scripted file
// dialog: what OK writes into the print options, what Cancel restores, the
// sheet list across printer changes, the printer's own duplex choice.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PrinterDevice.h"
#include "platform/rtl/Exceptions.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrPrintDialog.h"
#include "reportout/qlrPrinter.h"
#include "tests/common/TestPaths.h"

using namespace qlr;

namespace {

class PrintDialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto sys = std::make_unique<gui::TFakePrinterSystem>();
        gui::TFakePrinterSystem::TPrinterSpec office;
        office.Name = "Office";
        office.Papers = {{"A4", 9}, {"Letter", 1}, {"A3", 8}};
        office.Mode.DefaultSource = 7;
        Duplex = std::make_shared<gui::TPrinterDevMode>(office.Mode);
        office.DialogResult = Duplex;
        gui::TFakePrinterSystem::TPrinterSpec label;
        label.Name = "Label";
        label.Papers = {{"A4", 9}, {"Label 4 x 6", 300}};
        sys->Printers = {office, label};
        sys->DefaultEntry = "Office,,";
        FOldSystem = gui::SetPrinterSystem(std::move(sys));
        ResetGlobalPrinters();
        auto d = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = d.get();
        FOldDialogs = gui::SetDialogService(std::move(d));
    }
    void TearDown() override
    {
        ResetGlobalPrinters();
        gui::SetPrinterSystem(std::move(FOldSystem));
        gui::SetDialogService(std::move(FOldDialogs));
    }
    // Shows the dialog, lets act set its controls, then presses key.
    int Run(TqlrPrintDialog& d, const std::function<void()>& act, uint16_t key = gui::VK_RETURN)
    {
        d.OnShow = [&, act, key](rtl::TObject*) {
            if (act) act();
            gui::sim::PostKeyPress(key);
        };
        return d.ShowModal();
    }
    void SelectPrinter(TqlrPrintDialog& d, int index)
    {
        d.PrintersCB->SetItemIndex(index);
        d.PrintersChanged();
    }

    TqlrPrintOptions Options;
    gui::TScriptedDialogService* Dialogs = nullptr;
    std::shared_ptr<gui::TPrinterDevMode> Duplex;

private:
    std::unique_ptr<gui::IPrinterSystem> FOldSystem;
    std::unique_ptr<gui::IDialogService> FOldDialogs;
};

TEST_F(PrintDialogFixture, OkWritesTheChoices)
{
    struct Case {
        int pagesChoice;   // 0 all, 1 current, 2 numbers
        std::string expected;
    };
    for (const Case& c : {Case{0, ""}, Case{1, "7"}, Case{2, "1,3-5"}}) {
        TqlrPrintDialog d(nullptr);
        d.Options = &Options;
        d.CurPreviewPage = 7;
        Options.PageNumbers.clear();
        const int r = Run(d, [&] {
            d.CopiesE->SetText("3");
            d.CollateCB->SetChecked(false);
            (c.pagesChoice == 0 ? d.AllRB : c.pagesChoice == 1 ? d.CurPageRB : d.PageNumbersRB)->SetChecked(true);
            d.PageNumbersE->SetText("1,3-5");
            d.PrintPagesCB->SetItemIndex(2);
            d.OrderCB->SetItemIndex(1);
            d.DuplexCB->SetItemIndex(3);
            d.PrintModeCB->SetItemIndex(3);
            d.PrintModeChanged();
        });
        ASSERT_EQ(r, gui::mrOk);
        EXPECT_EQ(Options.PageNumbers, c.expected);
        EXPECT_EQ(Options.Copies, 3);
        EXPECT_FALSE(Options.Collate);
        EXPECT_EQ(Options.PrintPages, TqlrPrintPages::ppEven);
        EXPECT_TRUE(Options.Reverse);
        EXPECT_EQ(Options.PrintMode, TqlrPrintMode::pmScale);
        EXPECT_EQ(Options.PrintOnSheet, 9);   // the scale mode starts on A4
        EXPECT_EQ(d.ADuplexMode, TqlrDuplexMode::dmSimplex);
    }
    // The default sheet is the custom size.
    TqlrPrintDialog d(nullptr);
    d.Options = &Options;
    ASSERT_EQ(Run(d, [&] {
        d.PrintModeCB->SetItemIndex(0);
        d.PrintModeChanged();
    }), gui::mrOk);
    EXPECT_EQ(Options.PrintOnSheet, 256);
    EXPECT_FALSE(d.PagPageSizeCB->Enabled());
}

TEST_F(PrintDialogFixture, ShowReadsTheOptions)
{
    Options.Copies = 4;
    Options.PageNumbers = "2-";
    Options.PrintMode = TqlrPrintMode::pmJoin;
    Options.PrintOnSheet = 8;
    TqlrPrintDialog d(nullptr);
    d.Options = &Options;
    d.ADuplexMode = TqlrDuplexMode::dmHorizontal;
    ASSERT_EQ(Run(d, nullptr, gui::VK_ESCAPE), gui::mrCancel);
    EXPECT_EQ(d.CopiesE->Text(), "4");
    EXPECT_TRUE(d.PageNumbersRB->Checked());
    EXPECT_EQ(d.DuplexCB->ItemIndex(), 2);
    EXPECT_EQ(d.PagPageSizeCB->Text(), "A3");
    EXPECT_EQ(Options.Copies, 4);
}

TEST_F(PrintDialogFixture, CancelRestoresThePrinterAndFileCancelIsCancel)
{
    {
        TqlrPrintDialog d(nullptr);
        d.Options = &Options;
        EXPECT_EQ(d.OldIndex, 0);
        ASSERT_EQ(Run(d, [&] { SelectPrinter(d, 1); }, gui::VK_ESCAPE), gui::mrCancel);
        EXPECT_EQ(GlobalPrinters().FPrinterIndex, 0);
    }
    {
        TqlrPrintDialog d(nullptr);
        d.Options = &Options;
        Options.Copies = 1;
        Dialogs->FileAnswers.push_back({false, ""});
        ASSERT_EQ(Run(d, [&] {
            d.FileCB->SetChecked(true);
            d.CopiesE->SetText("5");
        }), gui::mrCancel);
        EXPECT_EQ(Options.Copies, 1);
        EXPECT_EQ(GlobalPrinters().Printer()->FFileName, "");
    }
    {
        TqlrPrintDialog d(nullptr);
        d.Options = &Options;
        Dialogs->FileAnswers.push_back({true, "/tmp/eclipse.out"});
        ASSERT_EQ(Run(d, [&] {
            SelectPrinter(d, 1);
            d.FileCB->SetChecked(true);
        }), gui::mrOk);
        EXPECT_EQ(GlobalPrinters().FPrinterIndex, 1);   // OK keeps the printer chosen
        EXPECT_EQ(GlobalPrinters().Printer()->FFileName, "/tmp/eclipse.prn");
    }
}

// Print to file: the registered hook places the file dialog, told the
// report printed; the name chosen gets ".prn".
TEST_F(PrintDialogFixture, PrintToFileDialogStartsWhereTheHookSays)
{
    TqlrReport report(nullptr);
    report.ReportOptions()->Name = "Total solar eclipse 2024 Apr 08";
    std::vector<TqlrFileDialogUse> uses;
    SetFileDialogHook([&](gui::TOpenDialog& d, const TqlrFileDialogUse& use) {
        uses.push_back(use);
        d.InitialDir = "/home/user/Documents";
        d.FileName = use.Report->ReportOptions()->Name + use.Extension;
    });
    TqlrPrintDialog d(nullptr);
    d.AReport = &report;
    Dialogs->FileAnswers.push_back({true, "/home/user/Documents/table"});
    const int result = Run(d, [&] { d.FileCB->SetChecked(true); });
    SetFileDialogHook(nullptr);
    ASSERT_EQ(result, gui::mrOk);
    ASSERT_EQ(uses.size(), 1u);
    EXPECT_EQ(uses[0].Report, &report);
    EXPECT_TRUE(uses[0].Save);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].File.InitialDir, "/home/user/Documents");
    EXPECT_EQ(Dialogs->Calls[0].File.FileName, "Total solar eclipse 2024 Apr 08.prn");
    EXPECT_EQ(GlobalPrinters().Printer()->FFileName, "/home/user/Documents/table.prn");
}

TEST_F(PrintDialogFixture, SheetKeptOrResetOnPrinterChange)
{
    TqlrPrintDialog d(nullptr);
    ASSERT_EQ(d.PagPageSizeCB->Items()->Strings(0), "Default");
    d.PagPageSizeCB->SetItemIndex(d.PagPageSizeCB->Items()->IndexOf("A4"));
    SelectPrinter(d, 1);
    EXPECT_EQ(d.PagPageSizeCB->Text(), "A4");   // the label printer has A4 too
    d.PagPageSizeCB->SetItemIndex(d.PagPageSizeCB->Items()->IndexOf("Label 4 x 6"));
    SelectPrinter(d, 0);
    EXPECT_EQ(d.PagPageSizeCB->Text(), "Default");
    EXPECT_EQ(d.PagPageSizeCB->Items()->IndexOf("Custom"), -1);
}

TEST_F(PrintDialogFixture, PrinterPropertiesDuplexSelectsTheList)
{
    TqlrPrintDialog d(nullptr);
    Duplex->Duplex = 2;   // vertical chosen in the printer's dialog
    d.PropertiesClicked();
    EXPECT_EQ(d.DuplexCB->ItemIndex(), 1);
    EXPECT_EQ(d.DuplexCB->Text(), "Vertical");
    EXPECT_EQ(d.ADuplexMode, TqlrDuplexMode::dmVertical);
    // Unchanged there: the list stays.
    d.DuplexCB->SetItemIndex(0);
    GlobalPrinters().Printer()->FDuplex = -1;
    Duplex->Duplex = 2;
    d.PropertiesClicked();
    EXPECT_EQ(d.DuplexCB->ItemIndex(), 0);
}

TEST_F(PrintDialogFixture, EmptyCopiesRaisesBeforeAnyOptionIsWritten)
{
    TqlrPrintDialog d(nullptr);
    d.Options = &Options;
    Options.Collate = true;
    EXPECT_THROW(Run(d, [&] {
        d.CopiesE->SetText("");
        d.CollateCB->SetChecked(false);
    }), rtl::EConvertError);
    EXPECT_TRUE(Options.Collate);
    d.Hide();
}

TEST_F(PrintDialogFixture, Screenshot)
{
    TqlrPrintDialog d(nullptr);
    d.Options = &Options;
    d.Show();
    gui::Application->ProcessMessages();
    const auto dir = tectest::ScratchDir("reportout-print");
    auto shot = d.GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "print-dialog.png").string());
    std::printf("print dialog picture: %s\n", (dir / "print-dialog.png").c_str());
    d.Hide();
}

} // namespace
