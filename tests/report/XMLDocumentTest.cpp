// The report XML document: the writer's exact text, the reader on that text
// and on malformed input, attribute editing, partial loading by offset, the
// swap file, and the escape routines.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestPaths.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrXML.h"

using namespace qlr;

namespace {

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

// name{text}(children) -- enough to compare trees in one line.
std::string Dump(const TqlrXMLItem* item)
{
    std::string s = item->Name();
    if (!item->Text().empty()) s += "{" + item->Text() + "}";
    if (item->Count() > 0) {
        s += "(";
        for (int i = 0; i < item->Count(); ++i) s += (i ? "," : "") + Dump(item->Items(i));
        s += ")";
    }
    return s;
}

std::string Save(TqlrXMLDocument& doc)
{
    rtl::TStringStream out;
    doc.SaveToStream(out);
    return out.DataString();
}

// report > page(memo with content), empty, band (unloadable, one child),
// band2 (unloadable, attributes, no children).
void BuildSample(TqlrXMLDocument& doc)
{
    TqlrXMLItem* root = doc.Root();
    root->SetName("report");
    TqlrXMLItem* page = root->Add();
    page->SetName("page");
    page->SetProp("Name", "P1");
    TqlrXMLItem* memo = page->Add();
    memo->SetName("memo");
    memo->SetText("x=\"1\"");
    memo->SetValue("hello");
    root->Add()->SetName("empty");
    TqlrXMLItem* band = root->Add();
    band->SetName("band");
    band->SetUnloadable(true);
    band->Add()->SetName("obj");
    TqlrXMLItem* band2 = root->Add();
    band2->SetName("band2");
    band2->SetText("a=\"2\"");
    band2->SetUnloadable(true);
}

const std::string kCompact = kHeader +
    "<report><page Name=\"P1\"><memo x=\"1\">hello</memo></page><empty/>"
    "<band ld=\"0\"><obj/></band><band2 a=\"2\" ld=\"0\"/></report>";

const std::string kIndented = kHeader + "\r\n"
    "<report>\r\n"
    "  <page Name=\"P1\">\r\n"
    "    <memo x=\"1\">hello</memo>\r\n"
    "  </page>\r\n"
    "  <empty/>\r\n"
    "  <band ld=\"0\">\r\n"
    "    <obj/>\r\n"
    "  </band>\r\n"
    "  <band2 a=\"2\" ld=\"0\"/>\r\n"
    "</report>\r\n";

} // namespace

TEST(ReportXMLWriter, GoldenTextCompactAndIndented)
{
    TqlrXMLDocument doc;
    BuildSample(doc);
    EXPECT_EQ(Save(doc), kCompact);
    doc.SetAutoIndent(true);
    EXPECT_EQ(Save(doc), kIndented);
}

TEST(ReportXMLWriter, TextAlreadyStartingWithBlankGetsNoSecondBlank)
{
    TqlrXMLDocument doc;
    doc.Root()->SetName("a");
    doc.Root()->SetText(" x=\"1\"");
    EXPECT_EQ(Save(doc), kHeader + "<a x=\"1\"/>");
}

TEST(ReportXMLReader, ReadsTheWrittenTextBack)
{
    for (const std::string& text : {kCompact, kIndented}) {
        SCOPED_TRACE(text);
        rtl::TStringStream in(text);
        TqlrXMLDocument doc;
        doc.LoadFromStream(in);
        // The marker leaves a parent's text; a childless item keeps it.
        EXPECT_EQ(Dump(doc.Root()), "report(page{Name=\"P1\"}(memo{x=\"1\"}),empty,band(obj),band2{a=\"2\" ld=\"0\"})");
        EXPECT_EQ(doc.Root()->Items(0)->Items(0)->Value(), "");  // content is never read
        EXPECT_FALSE(doc.OldVersion());
        TqlrXMLItem* band = doc.Root()->Items(2);
        EXPECT_TRUE(band->Loaded());
        EXPECT_FALSE(band->Unloadable());
    }
}

TEST(ReportXMLReader, EdgeCases)
{
    const std::string H = kHeader;
    struct Case {
        const char* what;
        std::string input;
        std::string tree;  // "!" for "Invalid file format"
    };
    const Case cases[] = {
        {"empty-element tags", H + "<a><b/><c /><d x=\"1\"/><e x=\"1\" /></a>", "a(b,c,d{x=\"1\"},e{x=\"1\" })"},
        {"closing tag in other case", H + "<a><B></b></A>", "a(B)"},
        {"mismatched closing tag", H + "<a><b></c></a>", "!"},
        {"cut off after start tags", H + "<a><b><c x=\"1\">", "a(b(c{x=\"1\"}))"},
        {"comments anywhere", H + "<!-- c --><a><!----><b/><!-- x ---> <z/> --></a><!-- end -->", "a(b)"},
        {"comment never closed", H + "<a><b/><!-- open", "a(b)"},
        {"text content skipped", H + "<a>hello<b>world</b> tail &amp; more</a>", "a(b)"},
        {"byte-order mark and line breaks", "\xEF\xBB\xBF" + H + "\r\n<a>\r\n<b/>\r\n</a>\r\n", "a(b)"},
        {"tab stays in the name", H + "<a\tx=\"1\"/>", "a\tx=\"1\""},
        {"header not ?xml", "<a/>", "!"},
        {"< inside a tag", H + "<a <b/></a>", "!"},
        {"end of stream inside a tag", H + "<a><b x=\"1\"", "!"},
        {"UTF-8 attribute text", H + "<a n=\"\xD0\xB4\"/>", "a{n=\"\xD0\xB4\"}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rtl::TStringStream in(c.input);
        TqlrXMLDocument doc;
        if (c.tree == "!") {
            try {
                doc.LoadFromStream(in);
                ADD_FAILURE() << "no exception";
            } catch (const TqlrInvalidXMLException& e) {
                EXPECT_EQ(e.Message(), "Invalid file format");
            }
        } else {
            doc.LoadFromStream(in);
            EXPECT_EQ(Dump(doc.Root()), c.tree);
        }
    }
}

TEST(ReportXMLReader, OldFormatHeaderReadsSingleByteText)
{
    // A version 1.0 declaration without standalone= marks the old format,
    // whose attribute text is in the system single-byte page.
    rtl::TStringStream in("<?xml version=\"1.0\"?><a n=\"\xE9\"/>");
    TqlrXMLDocument doc;
    doc.LoadFromStream(in);
    EXPECT_TRUE(doc.OldVersion());
    EXPECT_EQ(doc.Root()->Prop("n"), "\xC3\xA9");
}

TEST(ReportXMLReader, LeavesTheStreamJustBehindTheItem)
{
    std::string text = kHeader + "<a><b/></a><next/>";
    rtl::TStringStream in(text);
    TqlrXMLReader* reader = new TqlrXMLReader(in);
    TqlrXMLItem item;
    reader->ReadHeader();
    reader->ReadRootItem(&item, true);
    delete reader;
    EXPECT_EQ(in.Position(), static_cast<int64_t>(text.find("<next/>")));
}

TEST(ReportXMLItem, AttributeEditing)
{
    TqlrXMLItem item;
    item.SetText("Name=\"m1\" Left=\"10\" MyName=\"x\"");
    EXPECT_EQ(item.Prop("name"), "m1");        // not the longer MyName
    EXPECT_EQ(item.Prop("LEFT"), "10");
    EXPECT_EQ(item.Prop("Top"), "");
    EXPECT_TRUE(item.PropExists("myname"));
    EXPECT_FALSE(item.PropExists("ame"));

    item.SetProp("LEFT", "a\"b");             // replaced in place, name as given
    EXPECT_EQ(item.Text(), "Name=\"m1\" LEFT=\"a&#34;b\" MyName=\"x\"");
    EXPECT_EQ(item.Prop("left"), "a\"b");
    item.SetProp("Top", "5");                 // appended with one blank
    EXPECT_EQ(item.Text(), "Name=\"m1\" LEFT=\"a&#34;b\" MyName=\"x\" Top=\"5\"");

    item.DeleteProp("Name");                  // the second moves to the start
    EXPECT_EQ(item.Text(), "LEFT=\"a&#34;b\" MyName=\"x\" Top=\"5\"");
    item.DeleteProp("Top");
    EXPECT_EQ(item.Text(), "LEFT=\"a&#34;b\" MyName=\"x\" ");
    item.SetProp("w", "1");                   // no second blank after one
    EXPECT_EQ(item.Text(), "LEFT=\"a&#34;b\" MyName=\"x\" w=\"1\"");

    TqlrXMLItem empty;
    empty.SetProp("a", "1");
    EXPECT_EQ(empty.Text(), "a=\"1\"");
}

TEST(ReportXMLItem, TreeOperations)
{
    TqlrXMLItem root;
    TqlrXMLItem* a = root.Add();
    a->SetName("a");
    TqlrXMLItem* b = root.FindItem("B");      // created
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.FindItem("b"), b);         // found, ignoring case
    EXPECT_EQ(root.Find("A"), 0);
    EXPECT_EQ(root.Find("zz"), -1);

    root.AddItem(a);                          // within its parent: to the end
    EXPECT_EQ(root.IndexOf(a), 1);
    TqlrXMLItem* c = b->Add();
    root.InsertItem(0, c);                    // moved from b to the front
    EXPECT_EQ(b->Count(), 0);
    EXPECT_EQ(root.IndexOf(c), 0);
    EXPECT_EQ(c->Parent(), &root);
    EXPECT_EQ(c->Root(), &root);

    delete a;                                 // leaves its parent
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.IndexOf(a), -1);

    b->SetUnloadable(true);
    b->Add();
    b->Clear();
    EXPECT_FALSE(b->Loaded());
    EXPECT_EQ(b->Count(), 0);
}

TEST(ReportXMLDocument, PartialLoadingDefersMarkedItemsByOffset)
{
    for (const std::string& text : {kCompact, kIndented}) {
        SCOPED_TRACE(text.size());
        TqlrXMLDocument doc;
        doc.LoadFromStream(std::make_unique<rtl::TStringStream>(text));
        TqlrXMLItem* band = doc.Root()->Items(2);
        EXPECT_EQ(band->Name(), "band");
        EXPECT_TRUE(band->Unloadable());
        EXPECT_FALSE(band->Loaded());
        EXPECT_EQ(band->Count(), 0);
        // The first byte after the preceding tag.
        EXPECT_EQ(band->Offset(), static_cast<int64_t>(text.find("<empty/>") + 8));
        // Saving reads the deferred children back for the output only; the
        // memo's content was never read, so it is not written again.
        doc.SetAutoIndent(text == kIndented);
        std::string expected = text;
        expected.replace(expected.find(">hello</memo>"), 13, "/>");
        EXPECT_EQ(Save(doc), expected);
        EXPECT_EQ(band->Count(), 0);

        band->SetText("kept=\"1\"");
        doc.LoadItem(band);
        EXPECT_TRUE(band->Loaded());
        EXPECT_EQ(Dump(band), "band{kept=\"1\"}(obj)");
    }
}

TEST(ReportXMLDocument, OffsetsBeyond32BitsRoundTrip)
{
    TqlrXMLItem item;
    for (int64_t off : {int64_t(0x80000001), int64_t(0x100000007), (int64_t(1) << 40) - 1}) {
        item.SetOffset(off);
        EXPECT_EQ(item.Offset(), off);
    }

    // A sparse file with the deferred item's content placed above 4 GiB.
    auto dir = tectest::ScratchDir("report-sparse");
    std::string file = (dir / "big.xml").string();
    const int64_t far = (int64_t(1) << 32) + 12345;
    {
        rtl::TFileStream out(file, rtl::fmCreate);
        out.WriteString(kHeader + "<r><band ld=\"0\"><near/></band></r>");
        out.SetPosition(far);
        out.WriteString("<band><far a=\"1\"/></band>");
    }
    TqlrXMLDocument doc;
    doc.LoadFromFile(file);
    TqlrXMLItem* band = doc.Root()->Items(0);
    ASSERT_FALSE(band->Loaded());
    band->SetOffset(far);
    doc.LoadItem(band);
    EXPECT_EQ(Dump(band), "band(far{a=\"1\"})");
    doc.Clear();
    std::filesystem::remove_all(dir);
}

TEST(ReportXMLDocument, SwapFileHoldsUnloadedItemsAndIsDeleted)
{
    auto dir = tectest::ScratchDir("report-swap");
    std::string swapName;
    {
        TqlrXMLDocument doc;
        doc.SetTempDir(dir.string());
        BuildSample(doc);
        TqlrXMLItem* page = doc.Root()->Items(0);
        TqlrXMLItem* band = doc.Root()->Items(2);
        page->SetUnloadable(true);
        doc.UnloadItem(page);
        doc.UnloadItem(band);
        swapName = doc.TempFileName();
        ASSERT_FALSE(swapName.empty());
        EXPECT_EQ(rtl::ExtractFilePath(swapName), rtl::IncludeTrailingPathDelimiter(dir.string()));
        EXPECT_TRUE(rtl::ExtractFileName(swapName).starts_with("ql"));
        EXPECT_TRUE(rtl::FileExists(swapName));
        EXPECT_EQ(page->Count(), 0);
        EXPECT_EQ(band->Offset() > page->Offset(), true);

        // While swapped out the document still saves whole (content, which
        // the reader skips, excepted).
        std::string whole = Save(doc);
        EXPECT_NE(whole.find("<page Name=\"P1\" ld=\"0\"><memo x=\"1\"/></page>"), std::string::npos);
        EXPECT_NE(whole.find("<band ld=\"0\"><obj/></band>"), std::string::npos);

        doc.LoadItem(band);
        doc.LoadItem(page);
        EXPECT_EQ(Dump(page), "page{Name=\"P1\"}(memo{x=\"1\"})");
        EXPECT_EQ(Dump(band), "band(obj)");
        // Swapping an item again appends; the first copy stays readable.
        doc.UnloadItem(band);
        doc.LoadItem(band);
        EXPECT_EQ(Dump(band), "band(obj)");
    }
    EXPECT_FALSE(rtl::FileExists(swapName));
    std::filesystem::remove_all(dir);
}

TEST(ReportXMLDocument, SwapAfterPartialLoadingKeepsDeferredItems)
{
    // The deferred items point into the remembered stream; swapping another
    // item must not lose them.
    TqlrXMLDocument doc;
    doc.LoadFromStream(std::make_unique<rtl::TStringStream>(kCompact));
    TqlrXMLItem* band = doc.Root()->Items(2);
    TqlrXMLItem* page = doc.Root()->Items(0);
    page->SetUnloadable(true);
    doc.UnloadItem(page);
    doc.LoadItem(band);
    doc.LoadItem(page);
    EXPECT_EQ(Dump(band), "band(obj)");
    EXPECT_EQ(Dump(page), "page{Name=\"P1\"}(memo{x=\"1\"})");
    std::string swapName = doc.TempFileName();
    doc.Clear();
    EXPECT_FALSE(rtl::FileExists(swapName));
}

TEST(ReportXMLDocument, SaveToFileReplacesAndReloads)
{
    auto dir = tectest::ScratchDir("report-save");
    std::string file = (dir / "t.xml").string();
    rtl::WriteFileAtomic(file, "old");
    TqlrXMLDocument doc;
    BuildSample(doc);
    doc.SaveToFile(file);
    EXPECT_EQ(tectest::ReadText(file), kCompact);
    EXPECT_FALSE(rtl::FileExists(file + ".tmp"));
    EXPECT_FALSE(doc.Root()->Items(2)->Loaded());   // reloaded partially
    doc.LoadItem(doc.Root()->Items(2));
    EXPECT_EQ(Dump(doc.Root()->Items(2)), "band(obj)");
    doc.Clear();
    std::filesystem::remove_all(dir);
}

TEST(ReportXMLTexts, StrToXML)
{
    const std::string longText(40, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"a&b", "a&#38;b"},
        {longText + "&" + longText, longText + "&#38;" + longText},
        {"say &quot;hi&quot;", "say &#34;hi&#34;"},
        {longText + "&quot;", longText + "&#34;"},
        {"<\r\n>\"", "&#60;&#13;&#10;&#62;&#34;"},
        {"plain 'text' \xD0\xB4", "plain 'text' \xD0\xB4"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(StrToXML(in), out) << in;
}

TEST(ReportXMLTexts, XMLToStr)
{
    const std::pair<std::string, std::string> cases[] = {
        {"&#65;", "A"},
        {"&lt;&gt;&amp;&quot;", "<>&\""},
        {"a &foo; b & c", "a &foo; b & c"},
        {"&#38;lt;", "&lt;"},                  // a decoded & starts nothing
        {"&#65", "&#65"},                      // no semicolon: kept
        {"&#1076;", "\xD0\xB4"},
        {"&#", "&#"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(XMLToStr(in), out) << in;
    EXPECT_THROW(XMLToStr("&#x41;"), rtl::EConvertError);
    for (const std::string& s : {std::string("a\"b&c<d>\r\n"), std::string(50, '&')})
        EXPECT_EQ(XMLToStr(StrToXML(s)), s);
}

TEST(ReportXMLTexts, ValueToXML)
{
    using rtl::Variant;
    const std::pair<Variant, std::string> cases[] = {
        {Variant(int16_t(-5)), "-5"},
        {Variant(int32_t(123456)), "123456"},
        {Variant(uint8_t(200)), "200"},
        {Variant(2.5f), "2.5"},
        {Variant(0.1), "0.1"},
        {Variant::FromCurrency(1.25L), "1.25"},
        {Variant::FromDate(rtl::EncodeDate(2024, 3, 1)), "2024-03-01"},
        {Variant::AnsiString("a<b"), "a&#60;b"},
        {Variant::OleStr("\"q\""), "&#34;q&#34;"},
        {Variant::UString("x&y"), "x&#38;y"},
        {Variant(true), "1"},
        {Variant(false), "0"},
        {Variant(), ""},
        {Variant::Null(), ""},
        {Variant(int64_t(5)), ""},
        {Variant(uint32_t(5)), ""},
    };
    for (const auto& [v, out] : cases) EXPECT_EQ(ValueToXML(v), out) << rtl::VarTypeAsText(v.VarType());
}

TEST(ReportXMLDocument, SwappingAnItemThatHoldsASwappedItem)
{
    // Writing the outer item reads the inner one back from the same swap
    // file; the outer copy must still land at the end of the file.
    TqlrXMLDocument doc;
    doc.Root()->SetName("r");
    TqlrXMLItem* band = doc.Root()->Add();
    band->SetName("band");
    band->SetUnloadable(true);
    TqlrXMLItem* sub = band->Add();
    sub->SetName("sub");
    sub->SetUnloadable(true);
    sub->Add()->SetName("leaf");
    TqlrXMLItem* other = doc.Root()->Add();
    other->SetName("other");
    other->SetUnloadable(true);
    other->Add()->SetName("kept");
    doc.UnloadItem(sub);
    const int64_t subOffset = sub->Offset();
    doc.UnloadItem(other);                      // sub's copy is no longer last
    doc.UnloadItem(band);                       // frees sub
    EXPECT_GT(band->Offset(), other->Offset());
    EXPECT_GT(other->Offset(), subOffset);
    doc.LoadItem(band);
    doc.LoadItem(other);
    EXPECT_EQ(Dump(band), "band(sub(leaf))");
    EXPECT_EQ(Dump(other), "other(kept)");
    // Read back whole, the inner item's marker is consumed: it is an
    // ordinary item now.
    EXPECT_FALSE(band->Items(0)->Unloadable());
    EXPECT_EQ(Save(doc), kHeader + "<r><band ld=\"0\"><sub><leaf/></sub></band><other ld=\"0\"><kept/></other></r>");
}
