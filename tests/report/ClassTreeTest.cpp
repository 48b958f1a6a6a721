// The report component tree: names, lookup, fonts, restrictions, absolute
// positions, AlignChildren and Diff.

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

using namespace qlr;

namespace {

struct Fixture {
    std::unique_ptr<TqlrReport> report = std::make_unique<TqlrReport>(nullptr);
    TqlrReportPage* page = new TqlrReportPage(report.get());
    TqlrMasterData* band = new TqlrMasterData(page);

    Fixture()
    {
        page->SetName("Page1");
        band->SetName("MasterData1");
        band->SetBounds(0, 20, 700, 100);
    }
    TqlrMemoView* Memo(const std::string& name, long double l = 0, long double t = 0, long double w = 50,
                       long double h = 20)
    {
        auto* m = new TqlrMemoView(band);
        if (!name.empty()) m->SetName(name);
        m->SetBounds(l, t, w, h);
        return m;
    }
};

} // namespace

TEST(ReportTree, OwnershipParentsAndAllObjects)
{
    Fixture f;
    auto* a = f.Memo("A");
    auto* b = f.Memo("B");
    EXPECT_EQ(a->Owner(), f.report.get());
    EXPECT_EQ(a->Parent(), f.band);
    EXPECT_EQ(a->Report(), f.report.get());
    EXPECT_EQ(a->Page(), f.page);
    const auto& all = f.report->AllObjects();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], f.page);
    EXPECT_EQ(all[1], f.band);
    EXPECT_EQ(all[2], a);
    EXPECT_EQ(all[3], b);
    // Moving to another parent appends there.
    auto* band2 = new TqlrPageFooter(f.page);
    a->SetParent(band2);
    EXPECT_EQ(f.band->Objects().size(), 1u);
    EXPECT_EQ(band2->Objects().back(), a);
    // Clear frees the children; the report's owned list follows.
    f.page->Clear();
    EXPECT_TRUE(f.page->Objects().empty());
    EXPECT_EQ(f.report->ComponentCount(), 1);
}

TEST(ReportTree, FindObjectAtAnyDepthIgnoringCaseNeverItself)
{
    Fixture f;
    auto* m = f.Memo("Memo1");
    EXPECT_EQ(f.report->FindObject("MEMO1"), m);
    EXPECT_EQ(f.report->FindObject("masterdata1"), f.band);
    EXPECT_EQ(f.band->FindObject("MasterData1"), nullptr);
    EXPECT_EQ(f.report->FindObject("Nothing"), nullptr);
}

TEST(ReportTree, NamesAreUniqueAndCaseChangesAreIgnored)
{
    Fixture f;
    auto* m1 = f.Memo("Memo1");
    m1->SetName("MEMO1");
    EXPECT_EQ(m1->Name(), "Memo1");
    auto* m2 = f.Memo("memo2");
    try {
        m2->SetName("Memo1");
        FAIL() << "duplicate accepted";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), GetResources().Get("prDupl"));
    }
    EXPECT_EQ(m2->Name(), "memo2");
    m1->SetIsAncestor(true);
    try {
        m1->SetName("Other");
        FAIL() << "ancestor renamed";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Could not rename Memo1, it was introduced in the ancestor report");
    }
}

TEST(ReportTree, CreateUniqueName)
{
    Fixture f;
    f.Memo("Memo1");
    f.Memo("memo2");
    auto* m = f.Memo("");
    m->CreateUniqueName();
    EXPECT_EQ(m->Name(), "Memo3");
    auto* p = new TqlrReportPage(f.report.get());
    p->CreateUniqueName();
    EXPECT_EQ(p->Name(), "Page2");
    auto* data = new TqlrDetailData(f.page);
    data->CreateUniqueName();
    EXPECT_EQ(data->Name(), "DetailData1");
    // Neither in a report nor under a parent: nothing to avoid.
    auto lone = std::make_unique<TqlrMemoView>(nullptr);
    lone->CreateUniqueName();
    EXPECT_EQ(lone->Name(), "Memo1");
}

TEST(ReportTree, ParentFontFollowsTheParent)
{
    Fixture f;
    auto* m = f.Memo("Memo1");
    EXPECT_TRUE(m->ParentFont());
    f.band->Font()->SetName("Courier New");
    f.band->Font()->SetSize(14);
    EXPECT_EQ(m->Font()->Name(), "Courier New");
    EXPECT_EQ(m->Font()->Size(), 14);
    EXPECT_FALSE(f.band->ParentFont());
    gui::TFont own;
    own.SetName("Times New Roman");
    own.SetSize(10);
    m->SetFont(&own);
    EXPECT_FALSE(m->ParentFont());
    f.band->Font()->SetSize(8);
    EXPECT_EQ(m->Font()->Size(), 10);
    m->SetParentFont(true);
    EXPECT_EQ(m->Font()->Name(), "Courier New");
    EXPECT_EQ(m->Font()->Size(), 8);
}

TEST(ReportTree, RestrictionsAtDesignTime)
{
    Fixture f;
    auto* m = TqlrComponent::DesignCreate<TqlrMemoView>(f.band);
    EXPECT_TRUE(m->IsDesigning());
    m->SetRestrictions(TqlrRestrictions{TqlrRestriction::rfDontMove});
    m->SetBounds(5, 6, 70, 80);
    EXPECT_EQ(m->Left(), 0);
    EXPECT_EQ(m->Top(), 0);
    EXPECT_EQ(m->Width(), 70);
    EXPECT_EQ(m->Height(), 80);
    // Outside design time the restriction does not apply.
    auto* n = f.Memo("N");
    n->SetRestrictions(TqlrRestrictions{TqlrRestriction::rfDontMove});
    n->SetBounds(5, 6, 7, 8);
    EXPECT_EQ(n->Left(), 5);
}

TEST(ReportTree, AbsolutePositions)
{
    Fixture f;
    f.page->SetBounds(1000, 1000, 0, 0);
    auto* m = f.Memo("M", 10, 5);
    EXPECT_EQ(m->AbsLeft(), 1010);
    EXPECT_EQ(m->AbsTop(), 1025);
    auto* dialog = new TqlrDialogPage(f.report.get());
    dialog->SetBounds(300, 400, 200, 200);
    auto* control = new TqlrDialogControl(dialog);
    control->SetBounds(10, 20, 50, 20);
    EXPECT_EQ(control->AbsLeft(), 10);
    EXPECT_EQ(control->AbsTop(), 20);
}

TEST(ReportTree, AlignChildren)
{
    Fixture f;
    auto* fixed = f.Memo("Fixed", 100, 10, 50, 20);
    auto* left = f.Memo("Left", 300, 10, 40, 20);
    left->SetAlign(TqlrAlign::baLeft);
    auto* below = f.Memo("Below", 500, 60, 40, 20);  // no overlap with the row above
    below->SetAlign(TqlrAlign::baLeft);
    auto* right = f.Memo("Right", 600, 10, 30, 20);
    (void)fixed;
    f.band->AlignChildren();
    EXPECT_EQ(left->Left(), 150);  // right edge of Fixed
    EXPECT_EQ(below->Left(), 0);   // nothing on its left at its height

    // A width-aligned view stretches to the next view on its right.
    auto* stretch = f.Memo("Stretch", 160, 10, 10, 20);
    stretch->SetAlign(TqlrAlign::baWidth);
    left->SetAlign(TqlrAlign::baNone);
    left->SetLeft(400);
    f.band->AlignChildren();
    EXPECT_EQ(stretch->Left(), 150);
    EXPECT_EQ(stretch->Width(), 400 - 150);

    auto* centre = f.Memo("Centre", 0, 80, 100, 10);
    centre->SetAlign(TqlrAlign::baCenter);
    auto* bottom = f.Memo("Bottom", 0, 0, 10, 10);
    bottom->SetAlign(TqlrAlign::baBottom);
    right->SetAlign(TqlrAlign::baRight);
    f.band->AlignChildren();
    EXPECT_EQ(centre->Left(), 300);
    EXPECT_EQ(bottom->Top(), 90);
    EXPECT_EQ(right->Left(), 700 - 30);
}

TEST(ReportTree, DiffOfAnUnchangedCopy)
{
    Fixture f;
    auto* m = f.Memo("M", 10, 20, 30, 40);
    auto copy = std::make_unique<TqlrMemoView>(nullptr);
    copy->Assign(m);
    // A memo always writes its text (" u="), empty here.
    EXPECT_EQ(m->Diff(copy.get()), " u=\"\"");
    auto* shape = new TqlrShapeView(f.band);
    shape->SetBounds(1, 2, 3, 4);
    auto shapeCopy = std::make_unique<TqlrShapeView>(nullptr);
    shapeCopy->Assign(shape);
    EXPECT_EQ(shape->Diff(shapeCopy.get()), "");
    auto band2 = std::make_unique<TqlrMasterData>(nullptr);
    band2->Assign(f.band);
    EXPECT_EQ(f.band->Diff(band2.get()), " t=\"20\"");

    m->SetLeft(12.5);
    m->SetHeight(40.00005);  // within the tolerance
    m->SetVisible(false);
    m->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold, gui::TFontStyle::fsItalic});
    m->SetTag(7);
    EXPECT_EQ(m->Diff(copy.get()),
              " l=\"12.5\" Visible=\"0\" Font.Style=\"3\" ParentFont=\"0\" Tag=\"7\" u=\"\"");
    m->SetAutoWidth(true);
    m->SetWidth(99);
    EXPECT_EQ(m->Diff(copy.get()).find(" w="), std::string::npos);
}

TEST(ReportTree, RoundingHelpers)
{
    EXPECT_EQ(RoundTo8Decimals(210.000000004L), 210.0L);
    EXPECT_NEAR(static_cast<double>(RoundTo8Decimals(2.123456789L)), 2.12345679, 1e-12);
    EXPECT_EQ(RoundTo8Decimals(-0.000000004L), 0.0L);
    EXPECT_TRUE(FloatsDiffer(1, 1.0002L));
    EXPECT_FALSE(FloatsDiffer(1, 1.00005L));
}

TEST(ReportTree, BeforeAndAfterPrintRestoreTheBounds)
{
    Fixture f;
    auto* m = f.Memo("M", 1, 2, 3, 4);
    m->BeforePrint();
    m->SetBounds(10, 20, 30, 40);
    m->AfterPrint();
    EXPECT_EQ(m->Left(), 1);
    EXPECT_EQ(m->Height(), 4);
    TqlrRect r = m->GetRealBounds();
    EXPECT_EQ(r.Top, 22);
    EXPECT_EQ(r.Right, 4);
    // A class without drawing raises.
    TqlrReportComponent plain(nullptr);
    EXPECT_THROW(plain.Draw(nullptr, 1, 1, 0, 0), rtl::Exception);
}
