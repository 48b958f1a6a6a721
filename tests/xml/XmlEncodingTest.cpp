// Encoding detection and conversion: every row of the detection table,
// UTF-16 in both byte orders, the code page, the switch by declaration,
// and the rules of the conversion and buffering streams.
#include <gtest/gtest.h>

#include "XmlTestUtil.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

using namespace xml;
using xmltest::ErrorOf;

namespace {

std::string Utf16(const std::u16string& s, bool bigEndian)
{
    std::string r;
    for (char16_t c : s) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        r += bigEndian ? hi : lo;
        r += bigEndian ? lo : hi;
    }
    return r;
}

struct Loaded {
    std::string error;
    TStringEncodingType encoding = seAnsi;
    std::string value;
};

Loaded Load(const std::string& bytes)
{
    Loaded r;
    TUtf8XmlDom doc;
    rtl::TMemoryStream m;
    m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    r.error = ErrorOf([&] { doc.LoadFromStream(m); });
    if (r.error.empty()) {
        r.encoding = doc.ExternalEncoding();
        r.value = doc.Root()->ValueAsString();
    }
    return r;
}

std::string Save(TUtf8XmlDom& doc)
{
    rtl::TMemoryStream m;
    doc.SaveToStream(m);
    return std::string(m.View());
}

} // namespace

TEST(XmlEncoding, DetectionTable)
{
    const std::u16string text = u"<r>\u00E9\u4E2D</r>";
    const std::string utf8 = "<r>\xC3\xA9\xE4\xB8\xAD</r>";
    const std::string eacute = "\xC3\xA9\xE4\xB8\xAD";
    struct Case {
        const char* what;
        std::string bytes;
        const char* error;
        TStringEncodingType encoding;
        std::string value;
    };
    const Case cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8, "", seUTF8, eacute},
        {"UTF-16 LE with mark", "\xFF\xFE" + Utf16(text, false), "", seUTF16LE, eacute},
        {"UTF-16 BE with mark", "\xFE\xFF" + Utf16(text, true), "", seUTF16BE, eacute},
        {"UTF-16 LE without mark", Utf16(u"<?xml version=\"1.0\"?>" + text, false), "", seUTF16LE, eacute},
        {"UTF-16 BE without mark", Utf16(u"<?xml version=\"1.0\"?>" + text, true), "", seUTF16BE, eacute},
        {"ASCII declaration", "<?xml version=\"1.0\"?><r>caf\xE9</r>", "", seAnsi, "caf\xC3\xA9"},
        {"no mark, no declaration", "<r>\x80 \xE9</r>", "", seAnsi, "\xE2\x82\xAC \xC3\xA9"},
        {"UCS-4 BE with mark", std::string("\0\0\xFE\xFF\0\0\0<", 8), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 LE with mark", std::string("\xFF\xFE\0\0<\0\0\0", 8), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 2143 with mark", std::string("\0\0\xFF\xFE", 4), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 3412 with mark", std::string("\xFE\xFF\0\0", 4), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 BE without mark", std::string("\0\0\0<", 4), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 LE without mark", std::string("<\0\0\0", 4), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 2143 without mark", std::string("\0\0<\0", 4), "Unsupported string encoding", seAnsi, ""},
        {"UCS-4 3412 without mark", std::string("\0<\0\0", 4), "Unsupported string encoding", seAnsi, ""},
        {"EBCDIC", "\x4C\x6F\xA7\x94", "Unsupported string encoding", seAnsi, ""},
        {"0-byte file", "", "Unsupported string encoding", seAnsi, ""},
        {"one byte \"<\"", "<", "Unsupported string encoding", seAnsi, ""},
    };
    for (const auto& c : cases) {
        Loaded r = Load(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.what;
        if (!*c.error) {
            EXPECT_EQ(r.encoding, c.encoding) << c.what;
            EXPECT_EQ(r.value, c.value) << c.what;
        }
    }
}

TEST(XmlEncoding, DeclarationSwitchesToUtf8)
{
    // Without a mark the start is read in the code page; a declaration
    // naming UTF-8 (in any case) switches to UTF-8.
    for (const char* name : {"UTF-8", "utf-8", "Utf-8"}) {
        Loaded r = Load(std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?><r>\xC3\xA9</r>");
        EXPECT_EQ(r.error, "") << name;
        EXPECT_EQ(r.encoding, seUTF8) << name;
        EXPECT_EQ(r.value, "\xC3\xA9") << name;
    }
    Loaded latin = Load("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE9</r>");
    EXPECT_EQ(latin.encoding, seAnsi);
    EXPECT_EQ(latin.value, "\xC3\xA9");
    // A byte-order mark outweighs a declaration naming another encoding.
    Loaded marked = Load("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xC3\xA9</r>");
    EXPECT_EQ(marked.encoding, seUTF8);
    EXPECT_EQ(marked.value, "\xC3\xA9");
    // A UTF-16 file that claims UTF-8 is read as UTF-8 after its
    // declaration and fails.
    std::string wrong = "\xFF\xFE" + Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>x</r>", false);
    EXPECT_EQ(Load(wrong).error, "Missing close tag in element r");
}

TEST(XmlEncoding, Utf16RoundTripKeepsByteOrder)
{
    for (bool big : {false, true}) {
        const std::u16string text =
            u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r a=\"\u00E9\">x\U0001F600\u4E2D</r>\n";
        std::string bytes = (big ? "\xFE\xFF" : "\xFF\xFE") + Utf16(text, big);
        TUtf8XmlDom doc;
        rtl::TMemoryStream m;
        m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        doc.LoadFromStream(m);
        EXPECT_EQ(doc.ExternalEncoding(), big ? seUTF16BE : seUTF16LE);
        EXPECT_EQ(doc.Root()->ValueAsString(), "x\xF0\x9F\x98\x80\xE4\xB8\xAD");
        EXPECT_EQ(doc.Root()->AttributeByName("a"), "\xC3\xA9");
        EXPECT_TRUE(Save(doc) == bytes) << big;
    }
}

TEST(XmlEncoding, CodePageRoundTrip)
{
    const std::string bytes = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r>\x80\xE9\xFC</r>\n";
    TUtf8XmlDom doc;
    rtl::TMemoryStream m;
    m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    doc.LoadFromStream(m);
    EXPECT_EQ(doc.ExternalEncoding(), seAnsi);
    EXPECT_EQ(doc.Root()->ValueAsString(), "\xE2\x82\xAC\xC3\xA9\xC3\xBC");
    EXPECT_EQ(Save(doc), bytes);  // no mark for the code page
    doc.Root()->SetValueAsString("\xE4\xB8\xAD");  // not in the code page
    EXPECT_NE(Save(doc).find("<r>?</r>"), std::string::npos);
}

TEST(XmlEncoding, LargeInputAcrossPages)
{
    TUtf8XmlDom doc("big");
    for (int i = 0; i < 12000; ++i) doc.Root()->NodeNew("item")->SetValueAsString("value \xC3\xA9 " + std::to_string(i));
    for (TStringEncodingType e : {seUTF8, seUTF16LE, seUTF16BE}) {
        doc.SetExternalEncoding(e);
        doc.SetEncodingString(e == seUTF8 ? "UTF-8" : "UTF-16");
        std::string bytes = Save(doc);
        ASSERT_GT(bytes.size(), 3u * 65536u);
        TUtf8XmlDom back;
        rtl::TMemoryStream m;
        m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        m.SetPosition(1000);  // loading starts at the beginning anyway
        back.LoadFromStream(m);
        EXPECT_EQ(back.ExternalEncoding(), e);
        EXPECT_TRUE(xmltest::Dump(back) == xmltest::Dump(doc)) << e;
    }
}

TEST(XmlStreams, ConversionStreamRules)
{
    rtl::TStringStream source("\xEF\xBB\xBF<a\xC3\xA9>");
    TsdUtf8Stream codec(&source);
    EXPECT_EQ(ErrorOf([&] { codec.Seek(0, rtl::TSeekOrigin::soCurrent); }),
              "Cannot seek before reading or writing in conversion stream");
    char two[2];
    EXPECT_EQ(ErrorOf([&] { codec.Read(two, 2); }), "Cannot read multiple chars from conversion stream at once");
    EXPECT_EQ(codec.Encoding(), seUTF8);
    std::string got;
    char c;
    while (codec.Read(&c, 1) == 1) got += c;
    EXPECT_EQ(got, "<a\xC3\xA9>");
    EXPECT_EQ(ErrorOf([&] { codec.Write("x", 1); }), "Cannot write to an UTF stream opened for reading");
    EXPECT_EQ(ErrorOf([&] { codec.Seek(5, rtl::TSeekOrigin::soCurrent); }), "Cannot perform seek on codec stream");

    // Stepping back repeats the last one or two characters.
    rtl::TStringStream s2("ab\xC3\xA9z");
    TsdUtf8Stream back(&s2);
    back.Read(&c, 1);
    back.Read(&c, 1);
    back.Read(&c, 1);
    back.Read(&c, 1);  // both bytes of the third character
    back.Seek(-2, rtl::TSeekOrigin::soCurrent);
    back.Read(&c, 1);
    EXPECT_EQ(c, 'b');

    rtl::TStringStream target;
    TsdUtf8Stream writer(&target);
    writer.SetEncoding(seUCS4BE);
    EXPECT_EQ(ErrorOf([&] { writer.Write("x", 1); }), "Unsupported string encoding");
    TsdUtf8Stream unassigned(nullptr);
    EXPECT_EQ(ErrorOf([&] { unassigned.Read(&c, 1); }), "Encoding stream unassigned");
}

TEST(XmlStreams, BufferedStreams)
{
    std::string data(200000, 'x');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    rtl::TStringStream source(data);
    source.SetPosition(500);
    TsdBufferedReadStream reader(&source);
    std::string got(data.size(), '\0');
    int64_t n = 0;
    char c;
    while (reader.Read(&c, 1) == 1) got[static_cast<size_t>(n++)] = c;
    EXPECT_EQ(n, static_cast<int64_t>(data.size()));
    EXPECT_TRUE(got == data);
    reader.Seek(70000, rtl::TSeekOrigin::soBeginning);
    char block[10];
    EXPECT_EQ(reader.Read(block, 10), 10);
    EXPECT_EQ(std::string(block, 10), data.substr(70000, 10));
    EXPECT_EQ(ErrorOf([&] { reader.Write("x", 1); }), "Cannot write to an UTF stream opened for reading");

    rtl::TStringStream target;
    {
        TsdBufferedWriteStream writer(&target);
        for (size_t i = 0; i < data.size(); i += 1000) writer.Write(data.data() + i, 1000);
        EXPECT_EQ(writer.Seek(0, rtl::TSeekOrigin::soCurrent), static_cast<int64_t>(data.size()));
        EXPECT_EQ(ErrorOf([&] { writer.Seek(0, rtl::TSeekOrigin::soBeginning); }),
                  "Cannot perform seek on codec stream");
        EXPECT_EQ(ErrorOf([&] { writer.Read(&c, 1); }), "Cannot read from a conversion stream opened for writing");
    }
    EXPECT_TRUE(target.DataString() == data);
}
