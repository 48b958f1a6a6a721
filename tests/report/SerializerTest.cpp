// The report XML serializer: attribute texts by property kind, defaults and
// ancestors, paths, errors, component texts and a template round trip
// against a golden file.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrVariables.h"
#include "report/qlrXMLSerializer.h"
#include "platform/gui/Forms.h"

using namespace qlr;

namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string SaveToText(TqlrComponent* c)
{
    rtl::TMemoryStream ms;
    c->SaveToStream(ms);
    return std::string(ms.View());
}

// The template of the round-trip test: two pages, bands, memos with fonts,
// frames, highlights and formats, a picture placeholder and a band whose
// data set is a reference to a data set on the data page.
std::unique_ptr<TqlrReport> BuildTemplate()
{
    auto report = std::make_unique<TqlrReport>(nullptr);
    report->SetName("Report1");
    report->ReportOptions()->Name = "Solar eclipses";
    report->ReportOptions()->CreateDate = 46000.5;
    report->ReportOptions()->LastChange = 46001.25;
    report->PrintOptions()->Copies = 2;
    report->Variables()->SetVariable(" Eclipse", rtl::Variant::Null());
    report->Variables()->SetVariable("Title", rtl::Variant("'Solar eclipses';"));

    auto* data = new TqlrDataPage(report.get());
    data->SetName("Data");
    auto* ds = new TqlrUserDataSet(data);
    ds->SetName("Eclipses");
    ds->SetUserName("Eclipse list");
    ds->SetBounds(100, 50, 28, 28);
    ds->Fields()->Add("Date");
    ds->Fields()->Add("Type");

    auto* page1 = new TqlrReportPage(report.get());
    page1->SetName("Page1");
    auto* title = new TqlrReportTitle(page1);
    title->SetName("ReportTitle1");
    title->SetBounds(0, 18.89765, 718.1107, 30);
    auto* head = new TqlrMemoView(title);
    head->SetName("Memo1");
    head->SetBounds(0, 0, 400, 22.67718);
    gui::TFont font;
    font.SetName("Arial");
    font.SetSize(14);
    font.SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
    font.SetColor(gui::clBlack);
    head->SetFont(&font);
    head->SetText("Eclipses & \"shadows\"\r\n<second line>\r\n");
    head->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftTop});
    head->Frame()->SetWidth(2);
    head->Frame()->BottomLine()->SetColor(gui::clRed);

    auto* master = new TqlrMasterData(page1);
    master->SetName("MasterData1");
    master->SetBounds(0, 71.81107, 718.1107, 18.89765);
    master->SetRowCount(1);
    master->SetDataSet(ds);
    auto* value = new TqlrMemoView(master);
    value->SetName("Memo2");
    value->SetBounds(10, 0, 120.5, 18.89765);
    value->SetText("[Eclipse list.\"Date\"]");
    value->Highlight()->SetCondition("Value > 0");
    value->Highlight()->SetColor(gui::clYellow);
    value->DisplayFormat()->SetKind(TqlrFormatKind::fkNumeric);
    value->DisplayFormat()->SetFormatStr("%2.2f");
    value->SetColor(0x00FF00);
    value->SetAlign(TqlrAlign::baWidth);
    auto* picture = new TqlrPictureView(master);
    picture->SetName("Picture1");
    picture->SetBounds(600, 0, 18, 18);
    picture->SetCenter(true);

    auto* page2 = new TqlrReportPage(report.get());
    page2->SetName("Page2");
    page2->SetOrientation(gui::TPrinterOrientation::poLandscape);
    auto* footer = new TqlrPageFooter(page2);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 200, 1046, 18);
    auto* pages = new TqlrMemoView(footer);
    pages->SetName("Memo3");
    pages->SetBounds(0, 0, 100, 18);
    pages->SetText("[Page#] / [TotalPages#]");
    pages->SetHAlign(TqlrHAlign::haCenter);
    pages->SetGapX(3);
    return report;
}

} // namespace

TEST(ReportSerializer, TemplateRoundTripMatchesTheGoldenFile)
{
    auto report = BuildTemplate();
    std::string written = SaveToText(report.get());
    std::string golden = ReadFile(TEST_DATA_DIR "/template.xml");
    EXPECT_EQ(written, golden);
    if (written != golden) {
        std::ofstream out(GetTempFolder() + "template.actual.xml", std::ios::binary);
        out << written;
    }

    auto back = std::make_unique<TqlrReport>(nullptr);
    rtl::TMemoryStream in;
    in.WriteString(golden);
    in.SetPosition(0);
    back->LoadFromStream(in);
    EXPECT_EQ(back->Errors()->Count(), 0) << back->Errors()->Text();
    EXPECT_EQ(SaveToText(back.get()), golden);

    // The band's data set came back as a reference resolved after reading.
    auto* master = dynamic_cast<TqlrMasterData*>(back->FindObject("MasterData1"));
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(master->DataSet(), back->FindObject("Eclipses"));
    EXPECT_EQ(master->DataSetName(), "Eclipse list");
    auto* memo = dynamic_cast<TqlrMemoView*>(back->FindObject("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Text(), "Eclipses & \"shadows\"\r\n<second line>");
    EXPECT_EQ(memo->Font()->Size(), 14);
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_EQ(memo->Frame()->BottomLine()->Color(), gui::clRed);
    EXPECT_EQ(memo->Frame()->LeftLine()->Width(), 2);
    auto* memo2 = dynamic_cast<TqlrMemoView*>(back->FindObject("Memo2"));
    EXPECT_EQ(memo2->Highlight()->Condition(), "Value > 0");
    EXPECT_EQ(memo2->DisplayFormat()->Kind(), TqlrFormatKind::fkNumeric);
    EXPECT_EQ(back->Variables()->GetVariable("title").AsString(), "'Solar eclipses';");
    EXPECT_TRUE(back->Variables()->GetVariable(" Eclipse").IsNull());
    EXPECT_EQ(back->FindObject("Page2")->Objects().size(), 1u);
}

TEST(ReportSerializer, ValuesByKindDefaultsAndAncestors)
{
    TqlrXMLSerializer s(nullptr);
    TqlrMemoView memo(nullptr);
    // Defaults omitted; floats always written without an ancestor.
    TqlrFrame frame;
    EXPECT_EQ(s.ObjToXML(&frame), "");
    frame.SetShadowWidth(4.5);
    EXPECT_EQ(s.ObjToXML(&frame), " ShadowWidth=\"4.5\"");
    std::string plainText = s.ObjToXML(&memo);
    EXPECT_EQ(plainText.rfind(" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" DisplayFormat.", 0), 0u) << plainText;
    for (const char* absent : {"Align=", "Printable=", "Visible=", "ShiftMode=", "ParentFont=", " Font.", "Tag="})
        EXPECT_EQ(plainText.find(absent), std::string::npos) << absent;
    memo.SetLeft(1.5);
    memo.SetAlign(TqlrAlign::baWidth);
    memo.SetPrintable(false);
    memo.SetTagStr("a\"b&c\r\nd");
    memo.Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftBottom});
    std::string text = s.ObjToXML(&memo);
    EXPECT_NE(text.find(" Align=\"baWidth\""), std::string::npos);
    EXPECT_NE(text.find(" Printable=\"False\""), std::string::npos);
    EXPECT_NE(text.find(" Left=\"1.5\""), std::string::npos);
    EXPECT_NE(text.find(" Frame.Typ=\"9\""), std::string::npos);
    EXPECT_NE(text.find(" TagStr=\"a&#34;b&#38;c&#13;&#10;d\""), std::string::npos);

    TqlrMemoView copy(nullptr);
    s.XMLToObj(text, &copy);
    EXPECT_EQ(copy.TagStr(), "a\"b&c\r\nd");
    EXPECT_EQ(copy.Align(), TqlrAlign::baWidth);
    EXPECT_FALSE(copy.Printable());
    EXPECT_EQ(copy.Frame()->Typ().ToMask(), 9u);

    // With the ancestor only the differences; floats with a 0.000001 tolerance.
    copy.SetLeft(1.5000000001L);
    copy.SetTop(3);
    EXPECT_EQ(s.ObjToXML(&copy, "", &memo), " Top=\"3\"");

    // SerializeDefaultValues writes every value.
    s.SetSerializeDefaultValues(true);
    TqlrMemoView plain(nullptr);
    std::string all = s.ObjToXML(&plain);
    EXPECT_NE(all.find(" Printable=\"True\""), std::string::npos);
    EXPECT_NE(all.find(" Align=\"baNone\""), std::string::npos);
    EXPECT_NE(all.find(" Visible=\"True\""), std::string::npos);
}

TEST(ReportSerializer, ReadingAttributes)
{
    TqlrXMLSerializer s(nullptr);
    TqlrMemoView memo(nullptr);
    struct Case {
        const char* text;
        std::function<bool()> check;
    } cases[] = {
        {" Align=\"4\"", [&] { return memo.Align() == TqlrAlign::baWidth; }},
        {" Align=\"baRight\"", [&] { return memo.Align() == TqlrAlign::baRight; }},
        {" Left=\"1,25\"", [&] { return memo.Left() == 1.25L; }},
        {" l=\"7\" t=\"8\" w=\"9\" h=\"10\"",
         [&] { return memo.Left() == 7 && memo.Top() == 8 && memo.Width() == 9 && memo.Height() == 10; }},
        {" x=\"one&#13;&#10;two\"", [&] { return memo.Text() == "one\r\ntwo"; }},
        {" Frame.LeftLine.Color=\"255\"", [&] { return memo.Frame()->LeftLine()->Color() == 255; }},
        {" Font.Name=\"Courier New\"", [&] { return memo.Font()->Name() == "Courier New" && !memo.ParentFont(); }},
        {" TagStr=\"&quot;q&quot;\"", [&] { return memo.TagStr() == "\"q\""; }},
        {" Unknown=\"1\" Frame.Nothing.Color=\"3\" Nothing.Left=\"5\" Width=\"33\"",
         [&] { return memo.Width() == 33; }},
    };
    for (const Case& c : cases) {
        s.XMLToObj(c.text, &memo);
        EXPECT_TRUE(c.check()) << c.text;
    }
    EXPECT_EQ(s.Errors().Count(), 0);
    // A bad value reports its error and the next attribute still applies.
    s.XMLToObj(" Align=\"baSideways\" Top=\"44\"", &memo);
    EXPECT_EQ(s.Errors().Count(), 1);
    EXPECT_EQ(memo.Top(), 44);
}

TEST(ReportSerializer, MemoTextLosesOneFinalLineBreak)
{
    TqlrXMLSerializer s(nullptr);
    TqlrMemoView memo(nullptr);
    memo.SetText("line\r\n");
    std::string text = s.ObjToXML(&memo);
    EXPECT_NE(text.find(" Text=\"line\""), std::string::npos);
    TqlrMemoView back(nullptr);
    s.XMLToObj(text, &back);
    EXPECT_EQ(back.Text(), "line");
}

TEST(ReportSerializer, UnregisteredClassGivesOneErrorAndItsChildrenAreSkipped)
{
    const std::string doc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<TqlrReport>"
        "<TqlrReportPage Name=\"Page1\">"
        "<TqlrMysteryBand Name=\"X1\"><TqlrMemoView Name=\"Lost\"/></TqlrMysteryBand>"
        "<TqlrMasterData Name=\"MasterData1\" Height=\"20\"><TqlrMemoView Name=\"Kept\"/></TqlrMasterData>"
        "</TqlrReportPage></TqlrReport>";
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;  // no message box
    rtl::TMemoryStream in;
    in.WriteString(doc);
    in.SetPosition(0);
    report.LoadFromStream(in);
    ASSERT_EQ(report.Errors()->Count(), 1);
    EXPECT_EQ(report.Errors()->Strings(0), GetResources().Get("xrCantFindClass") + " TqlrMysteryBand");
    EXPECT_EQ(report.FindObject("Lost"), nullptr);
    EXPECT_NE(report.FindObject("Kept"), nullptr);
    EXPECT_EQ(report.FindObject("MasterData1")->Height(), 20);
}

TEST(ReportSerializer, ComponentTexts)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    TqlrXMLSerializer s(nullptr);
    auto* bare = s.ReadComponentStr(page, "TqlrMemoView");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->Parent(), page);
    auto* memo = dynamic_cast<TqlrMemoView*>(bare);
    EXPECT_TRUE(memo->Printable());
    EXPECT_EQ(memo->Align(), TqlrAlign::baNone);
    EXPECT_EQ(s.ReadComponentStr(page, "   "), nullptr);
    EXPECT_THROW(s.ReadComponentStr(page, "TqlrNoSuchView Left=\"1\""), rtl::EClassNotFound);

    memo->SetBounds(1, 2, 3, 4);
    std::string text = s.WriteComponentStr(memo);
    EXPECT_EQ(text.rfind("TqlrMemoView Left=\"1\" Top=\"2\"", 0), 0u) << text;
    auto* copy = dynamic_cast<TqlrMemoView*>(s.ReadComponentStr(page, text));
    EXPECT_EQ(copy->Height(), 4);

    // AllDiff: the serialized attributes, then the base Diff.
    EXPECT_EQ(memo->AllDiff(nullptr), text.substr(text.find(' ') + 1));
    copy->SetLeft(9);
    EXPECT_EQ(copy->AllDiff(memo), s.WriteComponentStr(copy).substr(13) + "  l=\"9\"");
}

TEST(ReportSerializer, DialogComponentPositionsTravelAsPropData)
{
    TqlrReport report(nullptr);
    auto* data = new TqlrDataPage(&report);
    auto* ds = new TqlrUserDataSet(data);
    ds->SetBounds(12.4, 30.6, 28, 28);
    TqlrXMLSerializer s(nullptr);
    s.SetOwner(&report);
    std::string text = s.ObjToXML(ds);
    EXPECT_NE(text.find(" PropData=\""), std::string::npos);
    auto* back = new TqlrUserDataSet(data);
    // The Left and Top attributes are not there to help: only PropData.
    std::size_t at = text.find(" PropData=");
    s.XMLToObj(text.substr(at), back);
    EXPECT_EQ(back->Left(), 12);
    EXPECT_EQ(back->Top(), 31);
}

TEST(ReportSerializer, FullNamesOfReferences)
{
    TqlrReport report(nullptr);
    auto* data = new TqlrDataPage(&report);
    auto* ds = new TqlrUserDataSet(data);
    ds->SetName("DS1");
    TqlrXMLSerializer s(nullptr);
    s.SetOwner(&report);
    EXPECT_EQ(s.ComponentFullName(ds), "DS1");
    // A band pointing at nothing writes no DataSet; "nil" against an ancestor.
    auto* page = new TqlrReportPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* other = new TqlrMasterData(page);
    other->SetDataSet(ds);
    EXPECT_EQ(s.ObjToXML(band).find("DataSet="), std::string::npos);
    EXPECT_NE(s.ObjToXML(band, "", other).find(" DataSet=\"nil\""), std::string::npos);
    // A fix-up naming nothing leaves the link alone.
    s.XMLToObj(" DataSet=\"Nobody\"", other);
    s.FixupReferences();
    EXPECT_EQ(other->DataSet(), ds);
}

TEST(ReportSerializer, CollectionsInBothStreamForms)
{
    TqlrReport report(nullptr);
    TqlrVariables vars;
    vars.SetVariable("Title", rtl::Variant("Caf\x01i"));
    // Not being written as a template: the stream's own collection form,
    // whose "\1c" escapes stand for c + 128 on reading.
    rtl::TMemoryStream plain;
    {
        rtl::TWriter w(plain);
        WriteCollectionXML(vars, w, &report);
    }
    TqlrVariables back;
    plain.SetPosition(0);
    {
        rtl::TReader r(plain);
        ReadCollectionXML(back, r, &report);
    }
    EXPECT_EQ(back.GetVariable("Title").AsString(), "Caf\xC3\xA9");  // 'i' + 128 = U+00E9

    // Being written: a list of attribute texts.
    report.SetIsWriting(true);
    rtl::TMemoryStream listed;
    {
        rtl::TWriter w(listed);
        WriteCollectionXML(vars, w, &report);
    }
    report.SetIsWriting(false);
    EXPECT_NE(std::string(listed.View()).find("Name=\"Title\""), std::string::npos);
    TqlrVariables again;
    listed.SetPosition(0);
    {
        rtl::TReader r(listed);
        ReadCollectionXML(again, r, &report);
    }
    EXPECT_EQ(again.Count(), 1);
    EXPECT_EQ(again.GetItem(0)->Name(), "Title");
}

TEST(ReportSerializer, StylesTravelWithTheTemplate)
{
    TqlrReport report(nullptr);
    TqlrStyleItem* s = report.Styles()->Add();
    s->SetName("Heading");
    s->SetColor(gui::clAqua);
    auto* memo = new TqlrMemoView(new TqlrReportPage(&report));
    memo->SetName("Memo1");
    memo->SetStyle("Heading");
    rtl::TMemoryStream ms;
    report.SaveToStream(ms);
    TqlrReport back(nullptr);
    ms.SetPosition(0);
    back.LoadFromStream(ms);
    ASSERT_EQ(back.Styles()->Count(), 1);
    EXPECT_EQ(back.Styles()->Item(0)->Color(), gui::clAqua);
    auto* m = dynamic_cast<TqlrMemoView*>(back.FindObject("Memo1"));
    EXPECT_EQ(m->Style(), "Heading");
    EXPECT_EQ(m->Color(), gui::clAqua);
}

TEST(ReportSerializer, PathsAndErrorHandling)
{
    gui::TForm form(nullptr);
    form.SetName("MainForm");
    rtl::AddGlobalComponent(&form);
    auto* ds = new TqlrUserDataSet(&form);
    ds->SetName("FormData");
    TqlrReport report(&form);
    EXPECT_EQ(ComponentFullName(ds, &report), "FormData");  // the report's own owner
    TqlrReport other(nullptr);
    EXPECT_EQ(ComponentFullName(ds, &other), "MainForm.FormData");
    EXPECT_EQ(ComponentFullName(nullptr, &other), "");
    EXPECT_EQ(FindComponentByPath(&other, "MainForm.FormData"), ds);
    EXPECT_EQ(FindComponentByPath(&report, "FormData"), ds);
    EXPECT_EQ(FindComponentByPath(&other, "MainForm.Nothing"), nullptr);
    EXPECT_EQ(FindComponentByPath(&other, "NoForm.FormData"), nullptr);

    // A band of a report refers to the form's data set across the form.
    auto* band = new TqlrMasterData(new TqlrReportPage(&other));
    TqlrXMLSerializer s(nullptr);
    s.SetOwner(&other);
    s.XMLToObj(" DataSet=\"MainForm.FormData\"", band);
    s.FixupReferences();
    EXPECT_EQ(band->DataSet(), ds);
    rtl::RemoveGlobalComponent(&form);

    other.EngineOptions()->NewSilentMode = TqlrSilentMode::simReThrow;
    EXPECT_THROW(ReportErrorHandler(&other, "boom"), rtl::Exception);
    other.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    EXPECT_NO_THROW(ReportErrorHandler(&other, "quiet"));
}
