// The page settings dialog on the virtual printer: units, the custom size
// turned by the orientation buttons, a listed sheet measured by the
// printer, and what OK writes into the page.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "tests/common/TestPaths.h"
#include "platform/gui/PrinterDevice.h"
#include "reportout/qlrPageSettings.h"
#include "reportout/qlrPrinter.h"

using namespace qlr;

namespace {

class PageSettingsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        FOldSystem = gui::SetPrinterSystem(std::make_unique<gui::TFakePrinterSystem>());
        ResetGlobalPrinters();
        GlobalPrinters();
        Page = std::make_unique<TqlrReportPage>(nullptr);
        Page->SetSizeAndDimensions(9, 210, 297);
        Page->SetOrientation(gui::TPrinterOrientation::poPortrait);
        Page->SetLeftMargin(10);
        Page->SetTopMargin(20);
        Page->SetRightMargin(10);
        Page->SetBottomMargin(15);
    }
    void TearDown() override
    {
        Page.reset();
        ResetGlobalPrinters();
        gui::SetPrinterSystem(std::move(FOldSystem));
    }
    int Run(TqlrPageSettingsForm& d, const std::function<void()>& act, uint16_t key)
    {
        d.OnShow = [&, act, key](rtl::TObject*) {
            if (act) act();
            gui::sim::PostKeyPress(key);
        };
        return d.ShowModal();
    }

    std::unique_ptr<TqlrReportPage> Page;

private:
    std::unique_ptr<gui::IPrinterSystem> FOldSystem;
};

TEST_F(PageSettingsFixture, UnitsTable)
{
    struct Case {
        int units;
        const char *width, *height, *unit, *top;
    };
    for (const Case& c : {Case{1, "8.27", "11.69", "in", "0.79"}, Case{0, "21", "29.70", "cm", "2"},
                          Case{2, "21", "29.70", "cm", "2"}, Case{7, "21", "29.70", "cm", "2"}}) {
        TqlrPageSettingsForm d(nullptr);
        d.SetPage(Page.get());
        d.FUnits = c.units;
        ASSERT_EQ(Run(d, nullptr, gui::VK_ESCAPE), gui::mrCancel);
        EXPECT_EQ(d.WidthE->Text(), c.width) << c.units;
        EXPECT_EQ(d.HeightE->Text(), c.height) << c.units;
        EXPECT_EQ(d.UnitL1->Caption(), c.unit);
        EXPECT_EQ(d.UnitL6->Caption(), c.unit);
        EXPECT_EQ(d.MarginTopE->Text(), c.top);
        EXPECT_EQ(d.SizeCB->Text(), "A4 (210 x 297 mm)");
        EXPECT_TRUE(d.PortraitRB->Checked());
    }
}

TEST_F(PageSettingsFixture, OrientationTurnsCustomAndListedSheets)
{
    TqlrPageSettingsForm d(nullptr);
    d.SetPage(Page.get());
    ASSERT_EQ(Run(d, [&] {
        // Typing a size selects the custom size.
        d.WidthE->SetText("10");
        d.HeightE->SetText("15");
        EXPECT_EQ(d.SizeCB->ItemIndex(), 0);
        d.LandscapeRB->SetChecked(true);
        EXPECT_EQ(d.WidthE->Text(), "15");
        EXPECT_EQ(d.HeightE->Text(), "10");
        // A4 turned, as the printer measures it.
        d.SizeCB->SetItemIndex(d.SizeCB->Items()->IndexOf("A4 (210 x 297 mm)"));
        d.PaperChanged();
        EXPECT_EQ(d.WidthE->Text(), "29.70");
        EXPECT_EQ(d.HeightE->Text(), "21");
        d.MarginLeftE->SetText("1,5");
        d.ApplyToAllRB->SetChecked(true);
    }, gui::VK_RETURN), gui::mrOk);
    EXPECT_TRUE(d.NeedRebuild());
    EXPECT_EQ(Page->Orientation(), gui::TPrinterOrientation::poLandscape);
    EXPECT_EQ(Page->PaperSize(), 9);
    EXPECT_EQ(Page->PaperWidth(), 297);
    EXPECT_EQ(Page->PaperHeight(), 210);
    EXPECT_EQ(Page->LeftMargin(), 15);
}

TEST_F(PageSettingsFixture, BadNumberRaisesAndLeavesThePage)
{
    TqlrPageSettingsForm d(nullptr);
    d.SetPage(Page.get());
    EXPECT_THROW(Run(d, [&] { d.MarginTopE->SetText("two"); }, gui::VK_RETURN), rtl::EConvertError);
    EXPECT_EQ(Page->TopMargin(), 20);
    EXPECT_EQ(Page->Orientation(), gui::TPrinterOrientation::poPortrait);
    d.Hide();
}

TEST_F(PageSettingsFixture, Screenshot)
{
    TqlrPageSettingsForm d(nullptr);
    d.SetPage(Page.get());
    d.Show();
    gui::Application->ProcessMessages();
    const auto dir = tectest::SnapshotDir();
    auto shot = d.GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "page-settings.png").string());
    std::printf("page settings picture: %s\n", (dir / "page-settings.png").c_str());
    d.Hide();
}

} // namespace
