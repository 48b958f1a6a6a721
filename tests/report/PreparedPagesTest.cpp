// The prepared pages as the engine fills them: the dictionary, objects
// stored as differences and rebuilt, cut and paste, passes and logical page
// numbers, anchors, the outline, the page cache and the swap file.

#include <gtest/gtest.h>

#include <memory>

#include "PreparedPagesFixture.h"

using namespace qlr;
using qlrtest::PagesFixture;

TEST(PreparedDictionary, AliasesOfOneBaseRunFromOne)
{
    TqlrDictionary d;
    TqlrComponent* a = reinterpret_cast<TqlrComponent*>(0x10);
    EXPECT_EQ(d.AddUnique("m", "Page0.Memo1", a), "m1");
    EXPECT_EQ(d.AddUnique("m", "Page0.Memo2", nullptr), "m2");
    EXPECT_EQ(d.AddUnique("M", "Page0.Memo3", nullptr), "M3");   // aliases ignore case
    EXPECT_EQ(d.AddUnique("b", "Page0.MasterData1", nullptr), "b1");
    EXPECT_EQ(d.GetObject("M1"), a);
    EXPECT_EQ(d.GetSourceName("m2"), "Page0.Memo2");
    EXPECT_EQ(d.GetObject("x1"), nullptr);
    EXPECT_EQ(d.GetSourceName("x1"), "");
    for (int i = 4; i <= 20; ++i) d.AddUnique("m", "s", nullptr);
    EXPECT_EQ(d.CreateUniqueName("m"), "m21");
    EXPECT_EQ(d.CreateUniqueName("q"), "q1");
}

TEST(PreparedStore, SourcePageRegistersEveryObjectOnce)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    ASSERT_EQ(f.Pages->SourcePages().size(), 1u);
    EXPECT_EQ(f.Band->AliasName(), "b1");
    EXPECT_EQ(f.Memo->AliasName(), "m1");
    EXPECT_EQ(f.Memo2->AliasName(), "m2");
    EXPECT_EQ(f.Pages->Dictionary().GetSourceName("m2"), "Page0.Memo2");
    // The template and its source copy point at each other.
    TqlrComponent* copy = f.Memo->OriginalComponent();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->OriginalComponent(), f.Memo);
    EXPECT_EQ(copy->Parent()->OriginalComponent(), f.Band);
    EXPECT_EQ(f.Pages->SourcePages()[0]->OriginalComponent(), f.Page);
}

TEST(PreparedStore, ObjectStoredAsItsDifferenceIsRebuiltEqual)
{
    PagesFixture f;
    f.Pages->Initialize();
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Memo->SetText("Total: 10");
    f.Memo->SetBounds(30, 4, 150, 22);
    f.Memo->Frame()->SetTyp({TqlrFrameType::ftLeft, TqlrFrameType::ftBottom});
    f.Memo->Frame()->SetWidth(2);
    f.Memo->SetParentFont(false);
    f.Memo->Font()->SetName("Courier New");
    f.Memo->Font()->SetSize(14);
    f.Band->SetTop(100);
    f.Pages->AddObject(f.Band);
    f.Pages->Finish();

    TqlrXMLItem* page = f.Pages->PagesItem()->Items(0);
    EXPECT_EQ(page->Name(), "page0");
    ASSERT_EQ(page->Count(), 1);
    TqlrXMLItem* band = page->Items(0);
    EXPECT_EQ(band->Name(), "b1");
    ASSERT_EQ(band->Count(), 2);
    EXPECT_EQ(band->Items(0)->Name(), "m1");
    // Only what changed is stored: the unchanged memo has no left, no text.
    EXPECT_EQ(band->Items(1)->Text().find("l="), std::string::npos);
    EXPECT_NE(band->Items(0)->Text().find("Total: 10"), std::string::npos);

    TqlrReportPage* rebuilt = f.Pages->GetPage(0);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->Name(), "Page1");
    EXPECT_DOUBLE_EQ(static_cast<double>(rebuilt->PaperWidth()), 210.0);
    ASSERT_EQ(rebuilt->Objects().size(), 1u);
    auto* b = dynamic_cast<TqlrMasterData*>(rebuilt->Objects()[0]);
    ASSERT_NE(b, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<double>(b->Top()), 100.0);
    ASSERT_EQ(b->Objects().size(), 2u);
    auto* m = dynamic_cast<TqlrMemoView*>(b->Objects()[0]);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Name(), "Memo1");
    EXPECT_EQ(m->Text(), "Total: 10");
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Left()), 30.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Top()), 4.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Width()), 150.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Height()), 22.0);
    EXPECT_TRUE(m->Frame()->Typ().Contains(TqlrFrameType::ftLeft));
    EXPECT_TRUE(m->Frame()->Typ().Contains(TqlrFrameType::ftBottom));
    EXPECT_FALSE(m->Frame()->Typ().Contains(TqlrFrameType::ftTop));
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Frame()->Width()), 2.0);
    EXPECT_EQ(m->Font()->Name(), "Courier New");
    EXPECT_EQ(m->Font()->Size(), 14);
    auto* m2 = dynamic_cast<TqlrMemoView*>(b->Objects()[1]);
    ASSERT_NE(m2, nullptr);
    EXPECT_EQ(m2->Text(), "second");
    EXPECT_DOUBLE_EQ(static_cast<double>(m2->Left()), 200.0);
}

TEST(PreparedStore, InvisibleObjectsAndTheirChildrenAreLeftOut)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Memo->SetVisible(false);
    f.Pages->AddObject(f.Band);
    ASSERT_EQ(f.Pages->PagesItem()->Items(0)->Items(0)->Count(), 1);
    f.Band->SetVisible(false);
    f.Pages->AddObject(f.Band);
    EXPECT_EQ(f.Pages->GetCurPosition(), 1);
}

TEST(PreparedStore, ObjectWithoutSourceIsStoredWhole)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    TqlrMemoView loose(nullptr);
    loose.SetText("loose");
    loose.SetBounds(5, 6, 70, 8);
    f.Pages->AddObject(&loose);
    TqlrXMLItem* item = f.Pages->PagesItem()->Items(0)->Items(0);
    EXPECT_EQ(item->Name(), "TqlrMemoView");
    auto* m = dynamic_cast<TqlrMemoView*>(f.Pages->GetPage(0)->Objects().at(0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Text(), "loose");
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Width()), 70.0);
}

TEST(PreparedStore, AddToSourcePageGivesRunTimeObjectsASource)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    TqlrMemoView made(nullptr);
    made.SetText("made");
    f.Pages->AddToSourcePage(&made);
    ASSERT_NE(made.OriginalComponent(), nullptr);
    EXPECT_EQ(made.AliasName(), "m3");
    EXPECT_EQ(made.OriginalComponent()->Name(), "Memo3");
    made.SetTop(50);
    f.Pages->AddObject(&made);
    EXPECT_EQ(f.Pages->PagesItem()->Items(0)->Items(0)->Name(), "m3");
    auto* m = dynamic_cast<TqlrMemoView*>(f.Pages->GetPage(0)->Objects().at(0));
    ASSERT_NE(m, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<double>(m->Top()), 50.0);
}

TEST(PreparedStore, CutAndPasteMovesTheBlockKeepingOffsets)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Band->SetTop(10);
    f.Pages->AddObject(f.Band);          // stays
    f.Band->SetTop(40);
    f.Pages->AddObject(f.Band);          // first of the block: l 0, t 40
    f.Memo->SetLeft(25);
    f.Memo->SetTop(70);
    TqlrMemoView* lone = f.Memo;
    lone->SetParent(f.Page);
    f.Pages->AddObject(lone);            // l 25, t 70
    f.Pages->CutObjects(1);
    EXPECT_EQ(f.Pages->GetCurPosition(), 1);
    f.Pages->AddPage(f.Page);
    f.Pages->PasteObjects(8, 300);
    TqlrXMLItem* page = f.Pages->PagesItem()->Items(1);
    ASSERT_EQ(page->Count(), 2);
    EXPECT_EQ(page->Items(0)->Prop("l"), "8");
    EXPECT_EQ(page->Items(0)->Prop("t"), "300");
    EXPECT_EQ(page->Items(1)->Prop("l"), "33");
    EXPECT_EQ(page->Items(1)->Prop("t"), "330");
    // The cut store is gone; a second paste does nothing.
    EXPECT_LT(f.Pages->XMLDoc().Root()->Find("cutted"), 0);
    f.Pages->PasteObjects(0, 0);
    EXPECT_EQ(page->Count(), 2);
}

TEST(PreparedStore, PageCacheKeepsRebuiltPagesOnlyWhenNotRunning)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddPage(f.Page);
    TqlrReportPage* first = f.Pages->GetPage(0);
    EXPECT_EQ(f.Pages->GetPage(0), first);
    f.Engine->Running = true;
    EXPECT_NE(f.Pages->GetPage(0), first);
    f.Engine->Running = false;
    EXPECT_EQ(f.Pages->GetPage(5), nullptr);
    EXPECT_EQ(f.Pages->GetPage(-1), nullptr);

    // The cache is bounded by PagesInCache (but always holds one page).
    f.Pages->ClearPageCache();
    f.Report.PreviewOptions()->PagesInCache = 1;
    f.Pages->GetPage(0);
    f.Pages->GetPage(1);
    EXPECT_EQ(f.Pages->PageCacheCount(), 1);
    f.Report.PreviewOptions()->PagesInCache = 0;
    f.Pages->GetPage(0);
    EXPECT_EQ(f.Pages->PageCacheCount(), 1);
}

TEST(PreparedStore, PagesFromTheThirdOnSwapToTheTempFile)
{
    PagesFixture f;
    f.Report.EngineOptions()->UseFileCache = true;
    f.Report.EngineOptions()->MaxMemSize = 0;    // swap at every new page
    f.Pages->Initialize();
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < 3; ++i) {
        f.Pages->AddPage(f.Page);
        f.Memo->SetText("page " + std::to_string(i + 1));
        f.Pages->AddObject(f.Band);
    }
    // Three pages: the two first can never swap and the last stays.
    TqlrXMLItem* pages = f.Pages->PagesItem();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(pages->Items(i)->Loaded()) << i;
    EXPECT_FALSE(pages->Items(1)->Unloadable());
    EXPECT_TRUE(pages->Items(2)->Unloadable());
    EXPECT_TRUE(f.Pages->XMLDoc().TempFileName().empty());

    // The fourth page swaps the pages before the third: none can go.
    f.Pages->AddPage(f.Page);
    EXPECT_TRUE(pages->Items(2)->Loaded());
    f.Pages->AddObject(f.Band);
    f.Pages->AddPage(f.Page);
    EXPECT_FALSE(pages->Items(2)->Loaded());
    EXPECT_EQ(pages->Items(2)->Count(), 0);
    EXPECT_FALSE(f.Pages->XMLDoc().TempFileName().empty());
    EXPECT_TRUE(pages->Items(0)->Loaded());
    EXPECT_TRUE(pages->Items(3)->Loaded());
    f.Pages->Finish();

    TqlrReportPage* third = f.Pages->GetPage(2);
    ASSERT_NE(third, nullptr);
    auto* m = dynamic_cast<TqlrMemoView*>(third->Objects().at(0)->Objects().at(0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Text(), "page 3");
}

TEST(PreparedStore, AnchorsOfUnknownTextGoToPageOne)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    EXPECT_EQ(f.Pages->GetAnchorPage("nowhere"), 1);
    f.Pages->AddPage(f.Page);
    f.Engine->CurY = 40.6L;
    f.Pages->AddAnchor("first");
    f.Pages->AddPage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Engine->CurY = 12;
    f.Pages->AddAnchor("Third");
    f.Pages->AddAnchor("third");
    EXPECT_EQ(f.Pages->GetAnchorPage("first"), 1);
    EXPECT_EQ(f.Pages->GetAnchorPage("THIRD"), 3);
    EXPECT_EQ(f.Pages->GetAnchorPage("nowhere"), 1);
    ASSERT_NE(f.Pages->FindAnchor("first"), nullptr);
    EXPECT_EQ(f.Pages->FindAnchor("first")->Prop("top"), "41");
    EXPECT_EQ(f.Pages->FindAnchor("third")->Prop("text"), "third");    // the last one
    EXPECT_EQ(f.Pages->GetAnchorCurPosition(), 2);
    // The anchors after position 0 move to the next page, top 100 on.
    f.Pages->ShiftAnchors(0, 100);
    EXPECT_EQ(f.Pages->GetAnchorPage("first"), 1);
    EXPECT_EQ(f.Pages->GetAnchorPage("third"), 4);
    EXPECT_EQ(f.Pages->FindAnchor("third")->Prop("top"), "100");
}

TEST(PreparedStore, LogicalPageNumbersAcrossATwoPassRun)
{
    PagesFixture f;
    f.Report.EngineOptions()->DoublePass = true;
    f.Engine->FinalPass = false;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->BeginPass();
    // A group of two pages, then a group of one.
    f.Pages->AddPage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->ResetLogicalPageNumber();
    f.Pages->AddPage(f.Page);
    f.Pages->ResetLogicalPageNumber();
    TqlrXMLItem* numbers = f.Pages->XMLDoc().Root()->FindItem("logicalpagenumbers");
    ASSERT_EQ(numbers->Count(), 3);
    EXPECT_EQ(numbers->Items(0)->Text(), "n=\"1\" t=\"2\"");
    EXPECT_EQ(numbers->Items(1)->Text(), "n=\"2\" t=\"2\"");
    EXPECT_EQ(numbers->Items(2)->Text(), "n=\"1\" t=\"1\"");

    // The final pass writes over the pages and keeps the first pass's numbers.
    f.Engine->FinalPass = true;
    f.Pages->ClearFirstPassPages();
    EXPECT_EQ(f.Pages->GetCount(), 0);
    f.Pages->AddPageAction = TqlrAddPageAction::apAdd;
    f.Pages->AddPage(f.Page);
    f.Pages->AddPage(f.Page);
    EXPECT_EQ(f.Pages->GetLogicalPageNo(), 2);
    EXPECT_EQ(f.Pages->GetLogicalTotalPages(), 2);
    f.Pages->ResetLogicalPageNumber();
    f.Pages->AddPage(f.Page);
    f.Pages->ResetLogicalPageNumber();
    EXPECT_EQ(numbers->Count(), 3);
    EXPECT_EQ(f.Pages->GetLogicalPageNo(), 1);
    EXPECT_EQ(f.Pages->GetLogicalTotalPages(), 1);
    EXPECT_EQ(numbers->Items(1)->Text(), "n=\"2\" t=\"2\"");
}

TEST(PreparedStore, PassesKeepWhatCameBeforeTheSecondPass)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    f.Pages->Outline()->AddItem("before", 0);
    f.Pages->Outline()->LevelRoot();
    f.Pages->BeginPass();
    EXPECT_EQ(f.Pages->FirstPageIndex, 0);
    EXPECT_EQ(f.Pages->FirstObjectIndex, 1);
    f.Pages->AddObject(f.Band);
    f.Pages->AddPage(f.Page);
    f.Pages->AddObject(f.Band);
    f.Pages->Outline()->AddItem("pass", 0);
    f.Pages->ClearFirstPassPages();
    EXPECT_EQ(f.Pages->GetCount(), 1);
    EXPECT_EQ(f.Pages->CurPage, 0);
    EXPECT_EQ(f.Pages->GetCurPosition(), 1);
    f.Pages->Outline()->LevelRoot();
    EXPECT_EQ(f.Pages->Outline()->GetCount(), 1);
}

TEST(PreparedStore, WriteOverReusesPagesUnlessAdding)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->AddPage(f.Page);
    f.Pages->CurPage = -1;
    f.Pages->AddPage(f.Page);             // writes over page 0
    EXPECT_EQ(f.Pages->GetCount(), 2);
    EXPECT_EQ(f.Pages->CurPage, 0);
    f.Pages->AddPageAction = TqlrAddPageAction::apAdd;
    f.Pages->AddPage(f.Page);
    EXPECT_EQ(f.Pages->GetCount(), 3);
    EXPECT_EQ(f.Pages->CurPage, 2);
    EXPECT_EQ(f.Pages->AddPageAction, TqlrAddPageAction::apWriteOver);
}

// A page whose template was never registered has no source page: it is
// rebuilt on a plain page and its size comes from that page.
TEST(PreparedStore, PageWithoutSourcePageTakesItsOwnSize)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    TqlrReportPage other(nullptr);
    f.Pages->AddPage(&other);
    EXPECT_EQ(f.Pages->PagesItem()->Items(0)->Name(), "page-1");
    TqlrMemoView loose(nullptr);
    loose.SetText("x");
    f.Pages->AddObject(&loose);
    TqlrReportPage* page = f.Pages->GetPage(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Objects().size(), 1u);
    gui::TPoint size = f.Pages->GetPageSize(0);
    EXPECT_EQ(size.X, static_cast<int>(std::lround(static_cast<double>(page->PaperWidth() * fr01cm))));
    EXPECT_EQ(size.Y, static_cast<int>(std::lround(static_cast<double>(page->PaperHeight() * fr01cm))));
    EXPECT_GT(size.X, 0);
}

TEST(PreparedStore, PageSizeComesFromTheSourcePage)
{
    PagesFixture f;
    f.Page->SetOrientation(gui::TPrinterOrientation::poLandscape);
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    gui::TPoint size = f.Pages->GetPageSize(0);
    EXPECT_EQ(size.X, static_cast<int>(std::lround(297 * 3.77953)));
    EXPECT_EQ(size.Y, static_cast<int>(std::lround(210 * 3.77953)));
    EXPECT_EQ(f.Pages->GetPageSize(1).X, 0);
    f.Pages->UpdatePageDimensions(f.Page, 500, 700);
    EXPECT_EQ(f.Pages->GetPageSize(0).Y, 700);
    EXPECT_EQ(f.Pages->GetPage(0)->PaperSize(), 256);
    EXPECT_EQ(static_cast<int>(std::lround(static_cast<double>(f.Pages->GetPage(0)->PaperHeight() * fr01cm))), 700);
}

TEST(PreparedStore, LastYAndBandExists)
{
    PagesFixture f;
    auto* footer = new TqlrPageFooter(f.Page);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 900, 700, 30);
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    EXPECT_FALSE(f.Pages->BandExists(f.Band));
    f.Band->SetTop(60);                   // height 40
    f.Pages->AddObject(f.Band);
    f.Pages->AddObject(footer);
    EXPECT_TRUE(f.Pages->BandExists(f.Band));
    EXPECT_TRUE(f.Pages->BandExists(footer));
    EXPECT_DOUBLE_EQ(static_cast<double>(f.Pages->GetLastY()), 100.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(f.Pages->GetLastY(300)), 0.0);
}

TEST(PreparedOutline, NestedItemsAndShifting)
{
    PagesFixture f;
    f.Pages->AddSourcePage(f.Page);
    f.Pages->AddPage(f.Page);
    TqlrCustomOutline* o = f.Pages->Outline();
    o->LevelRoot();
    o->AddItem("Group A", 10);
    o->AddItem("Row 1", 20);
    o->LevelUp();
    TqlrXMLItem* keepFrom = o->GetCurPosition();
    o->AddItem("Row 2", 50);
    o->AddItem("Detail", 55);
    o->LevelUp();
    o->LevelUp();
    o->AddItem("Row 3", 70);
    o->LevelUp();
    o->LevelRoot();
    EXPECT_EQ(o->GetCount(), 1);
    std::string text;
    int page = -5, top = -5;
    o->GetItem(0, text, page, top);
    EXPECT_EQ(text, "Group A");
    EXPECT_EQ(page, 0);
    EXPECT_EQ(top, 10);
    o->LevelDown(0);
    EXPECT_EQ(o->GetCount(), 3);
    // Every node recorded after Row 1 (Row 2 with its detail, Row 3) moves
    // to the next page, Row 2 to the top 5.
    o->ShiftItems(keepFrom, 5);
    o->GetItem(1, text, page, top);
    EXPECT_EQ(text, "Row 2");
    EXPECT_EQ(page, 1);
    EXPECT_EQ(top, 5);
    o->GetItem(2, text, page, top);
    EXPECT_EQ(text, "Row 3");
    EXPECT_EQ(page, 1);
    EXPECT_EQ(top, 25);
    o->LevelDown(1);
    o->GetItem(0, text, page, top);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(top, 10);
    o->ShiftItems(nullptr, 0);    // nothing
}
