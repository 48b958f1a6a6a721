// Report options with their defaults and selective Assign, the password
// check through a scripted dialog, styles and style sheets.

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "report/qlrClass.h"
#include "report/qlrXML.h"

using namespace qlr;

TEST(ReportOptions, DefaultsAndSelectiveAssign)
{
    TqlrEngineOptions e;
    EXPECT_FALSE(e.SilentMode());
    EXPECT_EQ(e.NewSilentMode, TqlrSilentMode::simMessageBoxes);
    e.SetSilentMode(true);
    EXPECT_EQ(e.NewSilentMode, TqlrSilentMode::simSilent);
    e.NewSilentMode = TqlrSilentMode::simReThrow;
    EXPECT_FALSE(e.SilentMode());
    e.SetSilentMode(false);
    EXPECT_EQ(e.NewSilentMode, TqlrSilentMode::simMessageBoxes);

    TqlrEngineOptions src;
    src.DestroyForms = false;
    src.EnableThreadSafe = true;
    src.UseGlobalDataSetList = false;
    src.DoublePass = true;
    src.MaxMemSize = 99;
    src.TempDir = "/x";
    TqlrEngineOptions dst;
    dst.Assign(&src);
    EXPECT_TRUE(dst.DestroyForms);
    EXPECT_FALSE(dst.EnableThreadSafe);
    EXPECT_TRUE(dst.UseGlobalDataSetList);
    EXPECT_TRUE(dst.DoublePass);
    EXPECT_EQ(dst.MaxMemSize, 99);
    EXPECT_EQ(dst.TempDir, "/x");

    TqlrPreviewOptions p;
    EXPECT_EQ(p.Buttons.ToMask(), 0x0FFFu);
    EXPECT_FALSE(p.Buttons.Contains(TqlrPreviewButton::pbNoClose));

    TqlrPrintOptions print;
    EXPECT_EQ(print.Printer, "Default");
    print.Duplex = TqlrDuplexMode::dmVertical;
    TqlrPrintOptions other;
    other.Copies = 3;
    other.SwapPageSize = true;
    other.PrnOutFileName = "out.prn";
    other.Duplex = TqlrDuplexMode::dmHorizontal;
    print.Assign(&other);
    EXPECT_EQ(print.Copies, 3);
    EXPECT_FALSE(print.SwapPageSize);
    EXPECT_EQ(print.PrnOutFileName, "");
    EXPECT_EQ(print.Duplex, TqlrDuplexMode::dmVertical);

    TqlrReportOptions r;
    r.Name = "Title";
    r.Description()->Add("line");
    r.PrevPassword = "secret";
    TqlrReportOptions r2;
    r2.Assign(&r);
    EXPECT_EQ(r2.Name, "Title");
    EXPECT_EQ(r2.Description()->Text(), "line\n");
    EXPECT_EQ(r2.PrevPassword, "");
}

TEST(ReportOptions, OptionsTravelWithTheTemplate)
{
    TqlrReport a(nullptr);
    a.EngineOptions()->DoublePass = true;
    a.PreviewOptions()->Zoom = 1.5;
    a.PreviewOptions()->OutlineVisible = true;
    a.PrintOptions()->Printer = "Office";
    a.ReportOptions()->Password = "pw";
    rtl::TMemoryStream ms;
    a.SaveToStream(ms);
    std::string xml(ms.View());
    EXPECT_NE(xml.find("ReportOptions.Password=\"fm\""), std::string::npos);  // each code less 10
    TqlrReport b(nullptr);
    ms.SetPosition(0);
    b.LoadFromStream(ms);
    EXPECT_TRUE(b.EngineOptions()->DoublePass);
    // The host's preview settings stay; the outline settings travel.
    EXPECT_EQ(b.PreviewOptions()->Zoom, 1.0L);
    EXPECT_TRUE(b.PreviewOptions()->OutlineVisible);
    EXPECT_EQ(b.PrintOptions()->Printer, "Office");
    EXPECT_EQ(b.ReportOptions()->Password, "pw");
}

TEST(ReportOptions, PasswordIsAskedAtMostOnce)
{
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    auto* dialogs = scripted.get();
    auto previous = gui::SetDialogService(std::move(scripted));
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    TqlrReportOptions& o = *report.ReportOptions();
    o.Password = "pw";
    dialogs->InputAnswers.push_back({true, "wrong"});
    EXPECT_FALSE(o.CheckPassword());
    EXPECT_EQ(report.Errors()->IndexOf("Invalid password"), 0);
    dialogs->InputAnswers.push_back({true, "pw"});
    EXPECT_TRUE(o.CheckPassword());
    EXPECT_TRUE(o.CheckPassword());  // not asked again
    EXPECT_EQ(dialogs->Calls.size(), 2u);
    o.Password.clear();
    EXPECT_TRUE(o.CheckPassword());
    gui::SetDialogService(std::move(previous));
}

TEST(ReportStyles, NamesAndApplying)
{
    TqlrReport report(nullptr);
    TqlrStyles* styles = report.Styles();
    TqlrStyleItem* s1 = styles->Add();
    s1->SetName("Style1");
    s1->SetColor(gui::clYellow);
    s1->Font()->SetSize(14);
    TqlrStyleItem* s3 = styles->Add();
    s3->SetName("Style3");
    TqlrStyleItem* s = styles->Add();
    EXPECT_THROW(s->SetName("STYLE1"), rtl::Exception);
    s->CreateUniqueName();
    EXPECT_EQ(s->Name(), "Style2");

    auto* page = new TqlrReportPage(&report);
    auto* memo = new TqlrMemoView(page);
    memo->SetStyle("style1");
    EXPECT_EQ(memo->Color(), gui::clYellow);
    EXPECT_EQ(memo->Font()->Size(), 14);
    EXPECT_FALSE(memo->ParentFont());
    auto* orphan = new TqlrMemoView(page);
    orphan->SetStyle("Gone");
    styles->Apply();
    EXPECT_EQ(orphan->Style(), "");
    EXPECT_EQ(memo->Style(), "style1");
}

TEST(ReportStyles, FilesAndSheets)
{
    TqlrStyles styles;
    styles.SetName("Plain");
    TqlrStyleItem* item = styles.Add();
    item->SetName("Heading");
    item->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftBottom});
    rtl::TMemoryStream ms;
    styles.SaveToStream(ms);
    std::string xml(ms.View());
    EXPECT_NE(xml.find("<style Name=\"Plain\">"), std::string::npos);
    EXPECT_NE(xml.find("<item Name=\"Heading\""), std::string::npos);
    TqlrStyles back;
    ms.SetPosition(0);
    back.LoadFromStream(ms);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Name(), "Plain");
    EXPECT_EQ(back.Find("heading")->Frame()->Typ().ToMask(), 8u);

    TqlrStyleSheet sheet;
    sheet.Add()->SetName("A");
    sheet.Add()->SetName("B");
    sheet.Items(1)->Add()->SetName("X");
    rtl::TMemoryStream sheetStream;
    sheet.SaveToStream(sheetStream);
    TqlrStyleSheet sheetBack;
    sheetStream.SetPosition(0);
    sheetBack.LoadFromStream(sheetStream);
    ASSERT_EQ(sheetBack.Count(), 2);
    EXPECT_EQ(sheetBack.IndexOf("b"), 1);
    EXPECT_EQ(sheetBack.Find("B")->Count(), 1);

    // A style sheet file read as one style collection leaves it empty.
    TqlrStyles wrong;
    wrong.Add()->SetName("Stale");
    sheetStream.SetPosition(0);
    wrong.LoadFromStream(sheetStream);
    EXPECT_EQ(wrong.Count(), 0);
}
