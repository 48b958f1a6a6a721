// Report pages (paper, orientation, columns, defaults from a fake printer,
// the dialog page's client size), bands (names, numbers, child links,
// columns, dot-matrix snapping) and the dot-matrix objects.

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "report/qlrClass.h"
#include "report/qlrDMPClass.h"
#include "report/qlrOutputServices.h"

using namespace qlr;
using gui::TPrinterOrientation;

namespace {

// A printer whose default paper is Letter, with a small paper table.
class TFakeOutput : public IqlrOutputServices {
public:
    bool InputPassword(std::string&) override { return false; }
    bool LookupPaperSize(int code, long double& w, long double& h) override
    {
        switch (code) {
        case 1: w = 215.9L; h = 279.4L; return true;
        case 8: w = 297; h = 420; return true;
        case 9: w = 210; h = 297; return true;
        default: return false;
        }
    }
    TqlrPrinterDefaults CurrentPrinterDefaults() override
    {
        TqlrPrinterDefaults d;
        d.DefPaper = 1;
        d.DefPaperWidth = 215.9L;
        d.DefPaperHeight = 279.4L;
        return d;
    }
};

struct FakePrinter {
    std::unique_ptr<IqlrOutputServices> previous = RegisterOutputServices(std::make_unique<TFakeOutput>());
    ~FakePrinter() { RegisterOutputServices(std::move(previous)); }
};

} // namespace

TEST(ReportPages, NewPageIsA4PortraitAndDefaultsComeFromThePrinter)
{
    FakePrinter fake;
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->PaperWidth(), 210);
    EXPECT_EQ(page->PaperHeight(), 297);
    EXPECT_EQ(page->Width(), 794);
    EXPECT_EQ(page->Height(), 1123);
    EXPECT_EQ(page->LeftMargin(), 0);
    EXPECT_EQ(page->Orientation(), TPrinterOrientation::poPortrait);
    page->SetDefaults();
    EXPECT_EQ(page->LeftMargin(), 10);
    EXPECT_EQ(page->BottomMargin(), 10);
    EXPECT_EQ(page->PaperSize(), 1);
    EXPECT_EQ(page->PaperWidth(), 215.9L);
    EXPECT_EQ(page->Width(), 816);  // 215.9 * 3.77953 = 815.99
}

TEST(ReportPages, OrientationTurnsPaperAndMargins)
{
    TqlrReportPage page(nullptr);
    page.SetLeftMargin(10);
    page.SetRightMargin(20);
    page.SetTopMargin(30);
    page.SetBottomMargin(40);
    page.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    EXPECT_EQ(page.LeftMargin(), 30);
    EXPECT_EQ(page.RightMargin(), 40);
    EXPECT_EQ(page.TopMargin(), 20);
    EXPECT_EQ(page.BottomMargin(), 10);
    EXPECT_EQ(page.Width(), 1123);
    // The same value again changes nothing.
    page.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(page.LeftMargin(), 30);
    EXPECT_EQ(page.PaperWidth(), 297);
    page.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(page.LeftMargin(), 10);
    EXPECT_EQ(page.RightMargin(), 20);
    EXPECT_EQ(page.TopMargin(), 30);
    EXPECT_EQ(page.BottomMargin(), 40);
    EXPECT_EQ(page.PaperWidth(), 210);
}

TEST(ReportPages, PaperCodesAndSizes)
{
    FakePrinter fake;
    TqlrReportPage page(nullptr);
    page.SetOrientation(TPrinterOrientation::poLandscape);
    page.SetPaperSize(9);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    page.SetPaperWidth(250.123456789L);
    EXPECT_EQ(page.PaperSize(), 256);
    EXPECT_EQ(page.PaperWidth(), RoundTo8Decimals(250.123456789L));
    // An unknown code keeps the dimensions.
    page.SetPaperSize(44);
    EXPECT_EQ(page.PaperSize(), 44);
    EXPECT_EQ(page.PaperWidth(), RoundTo8Decimals(250.123456789L));
    page.SetPageCount(0);
    EXPECT_EQ(page.PageCount(), 1);
}

TEST(ReportPages, Columns)
{
    TqlrReportPage page(nullptr);
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetColumns(3);
    EXPECT_NEAR(static_cast<double>(page.ColumnWidth()), 190.0 / 3, 1e-12);
    ASSERT_EQ(page.ColumnPositions()->Count(), 3);
    EXPECT_EQ(page.ColumnPositions()->Strings(0), "0");
    EXPECT_EQ(page.ColumnPositions()->Strings(1).substr(0, 8), "63.33333");
    EXPECT_EQ(page.ColumnPositions()->Strings(2).substr(0, 8), "126.6666");

    // AlignChildren sizes the bands to the printable area or the column.
    TqlrReport report(nullptr);
    auto* p = new TqlrReportPage(&report);
    p->SetLeftMargin(10);
    p->SetRightMargin(10);
    p->SetColumns(2);
    auto* title = new TqlrReportTitle(p);
    auto* data = new TqlrMasterData(p);
    p->AlignChildren();
    EXPECT_NEAR(static_cast<double>(title->Width()), 190 * 3.77953, 1e-9);
    EXPECT_NEAR(static_cast<double>(data->Width()), 95 * 3.77953, 1e-9);
    EXPECT_EQ(p->Width(), 794);
}

TEST(ReportPages, DialogPageKeepsItsStoredClientWidth)
{
    const std::string doc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TqlrReport>"
        "<TqlrDialogPage Name=\"Dialog1\" BorderStyle=\"bsDialog\" Width=\"500\" ClientWidth=\"300\" Height=\"400\" "
        "ClientHeight=\"200\" Position=\"poDesigned\" WindowState=\"wsMaximized\"/>"
        "</TqlrReport>";
    TqlrReport report(nullptr);
    rtl::TMemoryStream ms;
    ms.WriteString(doc);
    ms.SetPosition(0);
    report.LoadFromStream(ms);
    auto* dialog = dynamic_cast<TqlrDialogPage*>(report.FindObject("Dialog1"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ClientWidth(), 300);
    EXPECT_EQ(dialog->ClientHeight(), 200);
    EXPECT_EQ(dialog->DialogForm()->ClientWidth(), 300);
    // The form's look is stored with the page and given to the form when shown.
    EXPECT_EQ(dialog->BorderStyle(), gui::TBorderStyle::bsDialog);
    EXPECT_EQ(dialog->Position(), gui::TPosition::poDesigned);
    EXPECT_EQ(dialog->WindowState(), gui::TWindowState::wsMaximized);
    rtl::TMemoryStream out;
    report.SaveToStream(out);
    out.SetPosition(0);
    const std::string saved = out.ReadAll();
    for (const char* attr : {"BorderStyle=\"bsDialog\"", "Position=\"poDesigned\"", "WindowState=\"wsMaximized\""})
        EXPECT_NE(saved.find(attr), std::string::npos) << attr << " in " << saved;
    TqlrDialogPage plain(nullptr);
    EXPECT_EQ(plain.BorderStyle(), gui::TBorderStyle::bsSizeable);
    EXPECT_EQ(plain.Position(), gui::TPosition::poScreenCenter);
}

TEST(ReportBands, NamesNumbersAndChildLinks)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    TqlrDetailData detail(nullptr);
    TqlrNullBand null(nullptr);
    TqlrDataBand4 data4(nullptr);
    EXPECT_EQ(detail.BandNumber(), 7);
    EXPECT_EQ(null.BandNumber(), 0);
    EXPECT_EQ(TqlrOverlay(nullptr).BandNumber(), 17);
    EXPECT_EQ(detail.BandName(), "DetailData");
    EXPECT_EQ(data4.BandName(), "Data4");
    EXPECT_EQ(null.BandName(), "Null");

    auto* a = new TqlrChild(page);
    auto* b = new TqlrChild(page);
    auto* master = new TqlrMasterData(page);
    master->SetChild(a);
    a->SetChild(b);
    const std::string circular = "Circular child reference is not allowed";
    try {
        b->SetChild(a);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), circular);
    }
    EXPECT_EQ(b->Child(), nullptr);
    try {
        a->SetChild(a);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), circular);
    }
    EXPECT_EQ(a->Child(), b);
    delete b;
    EXPECT_EQ(a->Child(), nullptr);
}

TEST(ReportBands, DataBandColumnsAndRows)
{
    TqlrMasterData band(nullptr);
    band.SetColumns(3);
    band.SetColumnWidth(100);
    band.SetColumnGap(10);
    long double lefts[4];
    for (int c = 1; c <= 4; ++c) {
        band.SetCurColumn(c);
        lefts[c - 1] = band.Left();
    }
    EXPECT_EQ(lefts[0], 0);
    EXPECT_EQ(lefts[1], 110);
    EXPECT_EQ(lefts[2], 220);
    EXPECT_EQ(lefts[3], 0);
    EXPECT_EQ(band.CurColumn(), 1);
    band.SetRowCount(5);
    EXPECT_EQ(band.VirtualDataSet()->RangeEndCount(), 5);
    EXPECT_EQ(band.VirtualDataSet()->RangeEnd(), TqlrRangeEnd::reCount);
}

TEST(ReportBands, SnapToTheCharacterGridOnADotMatrixPage)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrDMPPage(&report);
    auto* band = new TqlrMasterData(page);
    band->SetTop(40);
    EXPECT_EQ(band->Top(), 34);
    band->SetHeight(30);
    EXPECT_EQ(band->Height(), 34);
    band->SetLeft(10);
    EXPECT_NEAR(static_cast<double>(band->Left()), 9.6, 1e-12);
    auto* plain = new TqlrMasterData(new TqlrReportPage(&report));
    plain->SetTop(40);
    EXPECT_EQ(plain->Top(), 40);
}

TEST(ReportDotMatrix, ObjectsSnapToCells)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrDMPPage(&report);
    auto* memo = new TqlrDMPMemoView(page);
    struct Case {
        long double in, out;
        TqlrAlign align;
    } lefts[] = {{10, 9.6L, TqlrAlign::baNone}, {14.5L, 19.2L, TqlrAlign::baNone}, {14.5L, 9.6L, TqlrAlign::baRight}};
    for (const Case& c : lefts) {
        memo->SetAlign(c.align);
        memo->SetLeft(c.in);
        EXPECT_NEAR(static_cast<double>(memo->Left()), static_cast<double>(c.out), 1e-12) << static_cast<double>(c.in);
    }
    memo->SetTop(20);
    EXPECT_EQ(memo->Top(), 17);
    auto* line = new TqlrDMPLineView(page);
    line->SetTop(20);
    EXPECT_EQ(line->Top(), 25.5L);
    line->SetLeft(5);
    EXPECT_NEAR(static_cast<double>(line->Left()), 4.8, 1e-12);
    auto* cmd = new TqlrDMPCommand(page);
    cmd->SetLeft(14.5L);
    EXPECT_NEAR(static_cast<double>(cmd->Left()), 19.2, 1e-12);
}

TEST(ReportDotMatrix, ToChrTable)
{
    EXPECT_EQ(TqlrDMPCommand::ToChr("#27#64"), std::string("\x1B\x40"));
    EXPECT_EQ(TqlrDMPCommand::ToChr("1B40"), std::string("\x1B\x40"));
    EXPECT_EQ(TqlrDMPCommand::ToChr("1B4"), std::string("\x1B"));
    EXPECT_EQ(TqlrDMPCommand::ToChr(""), "");
    EXPECT_THROW(TqlrDMPCommand::ToChr("#27##64"), rtl::EConvertError);
    EXPECT_THROW(TqlrDMPCommand::ToChr("1G"), rtl::EConvertError);
}

TEST(ReportDotMatrix, PageFontStyleReachesParentFontObjects)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrDMPPage(&report);
    auto* follows = new TqlrDMPMemoView(page);
    auto* own = new TqlrDMPMemoView(page);
    own->SetFontStyle(TqlrDMPFontStyles{TqlrDMPFontStyle::fsxItalic});
    EXPECT_FALSE(own->ParentFont());
    page->SetFontStyle(TqlrDMPFontStyles{TqlrDMPFontStyle::fsxBold});
    EXPECT_TRUE(follows->FontStyle().Contains(TqlrDMPFontStyle::fsxBold));
    EXPECT_TRUE(follows->Font()->Style().Contains(gui::TFontStyle::fsBold));
    EXPECT_EQ(follows->Font()->Name(), "Courier New");
    EXPECT_FALSE(own->FontStyle().Contains(TqlrDMPFontStyle::fsxBold));
    EXPECT_TRUE(own->Font()->Style().Contains(gui::TFontStyle::fsItalic));
}

TEST(ReportDotMatrix, OutBoundTextIsCutToTheCells)
{
    TqlrDMPMemoView memo(nullptr);
    memo.SetText("abcdefgh\r\nsecond\r\nthird");
    memo.SetBoundsDirect(0, 0, 48, 17);
    EXPECT_EQ(memo.GetoutBoundText(), "abcde\r\n");
    memo.SetBoundsDirect(0, 0, 19.2L, 34);
    EXPECT_EQ(memo.GetoutBoundText(), "ab\r\nse\r\n");
}
