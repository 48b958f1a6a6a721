// Prepared-report files: the document written for a small page against a
// golden file, and a three-page report with outline, anchors, logical page
// numbers, a picture and the report attributes saved and read back.  Also
// the preview's editing of pages.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "PreparedPagesFixture.h"
#include "platform/rtl/Streams.h"

using namespace qlr;
using qlrtest::PagesFixture;

namespace {

std::string Saved(TqlrPreviewPages* pages)
{
    rtl::TMemoryStream ms;
    pages->SaveToStream(ms);
    return std::string(reinterpret_cast<const char*>(ms.Memory()), static_cast<std::size_t>(ms.Size()));
}

void Load(TqlrPreviewPages* pages, const std::string& text, bool partial = false)
{
    rtl::TMemoryStream ms;
    ms.Write(text.data(), static_cast<int64_t>(text.size()));
    ms.SetPosition(0);
    pages->LoadFromStream(ms, partial);
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TqlrMemoView* MemoAt(TqlrComponent* parent, std::size_t i)
{
    return dynamic_cast<TqlrMemoView*>(parent->Objects().at(i));
}

} // namespace

// One page, two memos straight on the page: the whole file by hand.
TEST(PreparedFile, TwoObjectPageMatchesTheGoldenFile)
{
    TqlrReport report(nullptr);
    auto* pages = dynamic_cast<TqlrPreviewPages*>(report.PreviewPages());
    report.ReportOptions()->Name = "Two & one";
    report.PreviewOptions()->OutlineVisible = true;
    report.PreviewOptions()->OutlineWidth = 150;
    auto* page = new TqlrReportPage(&report);
    page->SetName("Page1");
    page->SetPaperSize(9);
    auto* a = new TqlrMemoView(page);
    a->SetName("Memo1");
    a->SetBounds(10, 20, 100, 18);
    a->SetText("Title");
    auto* b = new TqlrMemoView(page);
    b->SetName("Memo2");
    b->SetBounds(10, 50, 100, 18);
    pages->AddSourcePage(page);
    pages->AddPage(page);
    a->SetText("Eclipse <1>");
    pages->AddObject(a);
    b->SetTop(60);
    pages->AddObject(b);
    pages->Finish();

    const std::string saved = Saved(pages);
    EXPECT_EQ(saved, ReadFile(TEST_DATA_DIR "/prepared_two_objects.xml")) << saved;
}

TEST(PreparedFile, ThreePagesSurviveSavingAndLoading)
{
    PagesFixture f;
    f.Report.ReportOptions()->Name = "Eclipses \"2026\"";
    f.Report.PreviewOptions()->OutlineVisible = true;
    f.Report.PreviewOptions()->OutlineWidth = 200;
    f.Report.SetDotMatrixReport(false);
    auto* picture = new TqlrPictureView(f.Page);
    picture->SetName("Picture1");
    picture->SetBounds(300, 100, 40, 30);
    gui::TBitmap bmp(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 12; ++x) bmp.ScanLine(y)[x] = static_cast<uint8_t>(20 * y + x);
    picture->Picture()->SetGraphic(&bmp);

    f.Pages->Initialize();
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < 3; ++i) {
        f.Pages->AddPage(f.Page);
        f.Memo->SetText("Page " + std::to_string(i + 1));
        f.Pages->AddObject(f.Band);
        if (i == 1) f.Pages->AddObject(picture);
        f.Engine->CurY = 100 + i;
        f.Pages->AddAnchor("a" + std::to_string(i));
        f.Pages->Outline()->LevelRoot();
        f.Pages->Outline()->AddItem("Chapter " + std::to_string(i + 1), 10 * i);
        f.Pages->Outline()->AddItem("Section", 5);
    }
    f.Pages->ResetLogicalPageNumber();
    f.Pages->Finish();
    ASSERT_EQ(f.Pages->PictureCache().Count(), 1);
    const std::string first = Saved(f.Pages);
    EXPECT_EQ(first.find('\n'), std::string::npos);    // one line

    for (bool partial : {false, true}) {
        SCOPED_TRACE(partial ? "partial" : "whole");
        TqlrReport other(nullptr);
        auto* pages = dynamic_cast<TqlrPreviewPages*>(other.PreviewPages());
        Load(pages, first, partial);
        EXPECT_EQ(other.ReportOptions()->Name, "Eclipses \"2026\"");
        EXPECT_TRUE(other.PreviewOptions()->OutlineVisible);
        EXPECT_EQ(other.PreviewOptions()->OutlineWidth, 200);
        ASSERT_EQ(pages->GetCount(), 3);
        for (int i = 0; i < 3; ++i) {
            TqlrReportPage* page = pages->GetPage(i);
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(MemoAt(page->Objects().at(0), 0)->Text(), "Page " + std::to_string(i + 1));
            EXPECT_EQ(MemoAt(page->Objects().at(0), 1)->Text(), "second");
        }
        auto* pic = dynamic_cast<TqlrPictureView*>(pages->GetPage(1)->Objects().at(1));
        ASSERT_NE(pic, nullptr);
        ASSERT_NE(pic->Picture()->Graphic(), nullptr);
        EXPECT_EQ(pic->Picture()->Graphic()->Width(), 4);
        EXPECT_EQ(pic->Picture()->Bitmap()->ScanLine(2)[5], 45);
        EXPECT_EQ(pages->GetAnchorPage("a2"), 3);
        EXPECT_EQ(pages->FindAnchor("a1")->Prop("top"), "101");
        pages->Outline()->LevelRoot();
        EXPECT_EQ(pages->Outline()->GetCount(), 3);
        std::string text;
        int page = 0, top = 0;
        pages->Outline()->GetItem(2, text, page, top);
        EXPECT_EQ(text, "Chapter 3");
        EXPECT_EQ(page, 2);
        EXPECT_EQ(top, 20);
        pages->CurPage = 1;
        EXPECT_EQ(pages->GetLogicalPageNo(), 2);
        EXPECT_EQ(pages->GetLogicalTotalPages(), 3);
        // Saved again, the file is the same.
        EXPECT_EQ(Saved(pages), first);
    }
}

TEST(PreparedFile, FilesAndMissingFiles)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    const std::string name = testing::TempDir() + "prepared_file_test.qlp";
    f.Pages->SaveToFile(name);
    TqlrReport other(nullptr);
    EXPECT_TRUE(other.PreviewPages()->LoadFromFile(name));
    EXPECT_EQ(other.PreviewPages()->GetCount(), 1);
    EXPECT_FALSE(other.PreviewPages()->LoadFromFile(name + ".none"));
    EXPECT_EQ(other.PreviewPages()->GetCount(), 1);
    EXPECT_ANY_THROW(other.PreviewPages()->LoadFromFile(name + ".none", true));
    std::remove(name.c_str());
}

// A file that is not a prepared report: the error propagates and the pages
// are left empty and usable, not pointing into the items the load freed.
TEST(PreparedFile, ADamagedFileLeavesNoPages)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    const std::string name = testing::TempDir() + "prepared_file_damaged.qlp";
    {
        std::ofstream bad(name, std::ios::binary);
        bad << "not xml <<<";
    }
    for (bool partial : {false, true}) {
        rtl::TFileStream in(name, rtl::fmOpenRead);
        EXPECT_ANY_THROW(f.Pages->LoadFromStream(in, partial));
        EXPECT_EQ(f.Pages->GetCount(), 0);
        f.Pages->AddPage(f.Page);
        EXPECT_EQ(f.Pages->GetCount(), 1);
    }
    std::remove(name.c_str());
}

TEST(PreparedEditing, DeleteInsertModifyAndAddFrom)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    // Nothing to do on an empty store or on the only page.
    f.Pages->AddEmptyPage(0);
    EXPECT_EQ(f.Pages->GetCount(), 0);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    f.Pages->DeletePage(0);
    EXPECT_EQ(f.Pages->GetCount(), 1);

    f.Pages->AddEmptyPage(0);
    ASSERT_EQ(f.Pages->GetCount(), 2);
    EXPECT_TRUE(f.Pages->GetPage(0)->Objects().empty());
    EXPECT_EQ(f.Pages->GetPage(1)->Objects().size(), 1u);
    f.Pages->DeletePage(0);
    ASSERT_EQ(f.Pages->GetCount(), 1);

    // A modified page is stored whole and read back as it was changed.
    TqlrReportPage* page = f.Pages->GetPage(0);
    MemoAt(page->Objects().at(0), 0)->SetText("edited");
    f.Pages->ModifyPage(0, page);
    EXPECT_EQ(f.Pages->PagesItem()->Items(0)->Name(), "TqlrReportPage");
    EXPECT_EQ(f.Pages->PageCacheCount(), 0);
    EXPECT_EQ(MemoAt(f.Pages->GetPage(0)->Objects().at(0), 0)->Text(), "edited");

    PagesFixture g;
    g.Pages->AddSourcePage(g.Page);
    g.Pages->AddPage(g.Page);
    g.Pages->AddPage(g.Page);
    g.Memo->SetText("from g");
    g.Pages->AddObject(g.Band);
    g.Pages->AddAnchor("g");
    g.Pages->Outline()->LevelRoot();
    g.Pages->Outline()->AddItem("G", 7);
    g.Pages->Outline()->AddItem("G.1", 8);
    f.Pages->AddFrom(&g.Report);
    ASSERT_EQ(f.Pages->GetCount(), 3);
    EXPECT_EQ(MemoAt(f.Pages->GetPage(2)->Objects().at(0), 0)->Text(), "from g");
    EXPECT_EQ(f.Pages->GetAnchorPage("g"), 3);
    f.Pages->Outline()->LevelRoot();
    ASSERT_EQ(f.Pages->Outline()->GetCount(), 1);
    std::string text;
    int pageNo = 0, top = 0;
    f.Pages->Outline()->GetItem(0, text, pageNo, top);
    EXPECT_EQ(pageNo, 2);
    f.Pages->Outline()->LevelDown(0);
    EXPECT_EQ(f.Pages->Outline()->GetCount(), 1);
}
