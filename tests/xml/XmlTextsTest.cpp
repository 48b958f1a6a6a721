// Value texts: escaping, quoting, number, date and Boolean texts, binary
// text forms and the UTF-8 / UTF-16 / code-page conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "xml/XmlDomTexts.h"

using namespace xml;

TEST(XmlFloatText, SignificantDigitsAndExponent)
{
    struct Case {
        double value;
        int digits;
        bool exponent;
        const char* text;
    };
    const Case cases[] = {
        {60, 12, true, "60"},
        {1010, 12, true, "1010"},
        {0.25, 12, true, ".25"},
        {0.01, 12, true, ".01"},
        {23.4375, 12, true, "23.4375"},
        {1.5e-7, 12, true, "1.5E-7"},
        {1e13, 12, true, "10000000000000"},
        {1e15, 12, true, "1.00000000000E15"},
        {1e15, 12, false, "1000000000000000"},
        {-0.5, 12, true, "-.5"},
        {0.001, 12, true, "1E-3"},
        {2.5, 1, false, "2"},    // ties to even
        {3.5, 1, false, "4"},
        {0, 12, true, "0"},
        {-123.456, 12, true, "-123.456"},
        {0.1, 12, true, ".1"},
        {1.0 / 3.0, 12, true, ".333333333333"},
        {2.0 / 3.0, 4, true, ".6667"},
        {9.9999999999999, 12, true, "10"},  // rounding carries into a new digit
        {51.4769, 12, true, "51.4769"},
        {-0.1278, 12, true, "-.1278"},
        {123456789012.0, 12, true, "123456789012"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToXmlText(c.value, c.digits, c.exponent), c.text)
            << c.value << " digits " << c.digits;
}

TEST(XmlFloatText, DigitsOutOfRangeAndNonFinite)
{
    for (int digits : {0, 13, -1}) {
        try {
            FloatToXmlText(1.0, digits, true);
            FAIL() << digits;
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), "Significant digits out of range");
        }
    }
    // Non-finite values end (no endless scaling loop) and read back as the
    // reader's default.
    EXPECT_EQ(FloatToXmlText(std::numeric_limits<double>::infinity(), 12, true), "INF");
    EXPECT_EQ(FloatToXmlText(-std::numeric_limits<double>::infinity(), 12, true), "-INF");
    EXPECT_EQ(FloatToXmlText(std::nan(""), 12, true), "NAN");
    double v = 7;
    EXPECT_FALSE(XmlTextToFloat("INF", v));
    EXPECT_FALSE(XmlTextToFloat("NAN", v));
}

TEST(XmlFloatText, ReadingIsStrict)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1,5", true, 1.5},       {".25", true, 0.25},     {"-.5", true, -0.5},
        {"  +3", true, 3},        {"1.5E-7", true, 1.5e-7}, {"2e3", true, 2000},
        {"1.00000000000E15", true, 1e15},
        {"1,000.5", false, 0},    {"", false, 0},          {"abc", false, 0},
        {"1.5x", false, 0},       {"1.5 ", false, 0},      {"E5", false, 0},
        {".", false, 0},          {"1E", false, 0},        {"1e999", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(XmlTextToFloat(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    // Every text the writer produces reads back to the value.
    for (double x : {60.0, 0.25, 1.5e-7, 1e15, -0.5, 1e-300, 6.02214076e23, 51.4769})
        for (bool e : {true, false}) {
            if (!e && (x < 1e-12 || x > 1e20)) continue;
            double back = 0;
            ASSERT_TRUE(XmlTextToFloat(FloatToXmlText(x, 12, e), back)) << x;
            EXPECT_NEAR(back, x, std::abs(x) * 1e-11) << x;
        }
}

TEST(XmlEscape, EntitiesAndReferences)
{
    const std::string all = "a&b<c>d'e\"f";
    EXPECT_EQ(EscapeString(all), "a&amp;b&lt;c&gt;d&apos;e&quot;f");
    EXPECT_EQ(UnescapeString(EscapeString(all)), all);
    // An existing reference gets its ampersand escaped again.
    EXPECT_EQ(EscapeString("&lt;"), "&amp;lt;");

    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"&#65;", "A"},
        {"&#x41;", "A"},
        {"&#X41;", "A"},
        {"&nbsp;", "&nbsp;"},          // unknown entity stays
        {"&#65535;", "&#65535;"},      // beyond the range stays
        {"&#xZZ;", "&#xZZ;"},          // malformed stays
        {"&#;", "&#;"},
        {"&LT;", "&LT;"},              // entity names are case-sensitive
        {"a & b", "a & b"},            // no ";" at all
        {"x &amp", "x &amp"},
        {"&amp;lt;", "&lt;"},          // replaced text is not scanned again
        {"&#233;t&#xE9;", "\xC3\xA9t\xC3\xA9"},
        {"&#x1F600;", "\xF0\x9F\x98\x80"},  // beyond the basic plane
        {"&#x110000;", "&#x110000;"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeString(c.in), c.out) << c.in;

    // NUL survives as a reference.
    std::string withNul("a\0b", 3);
    EXPECT_EQ(EscapeString(withNul), "a&#0;b");
    EXPECT_EQ(UnescapeString(EscapeString(withNul)), withNul);
}

TEST(XmlEscape, Quoting)
{
    EXPECT_EQ(QuoteString("abc"), "\"abc\"");
    EXPECT_EQ(QuoteString("a\"b"), "'a\"b'");
    EXPECT_EQ(QuoteString("a\"b'c"), "'a\"b''c'");
    EXPECT_EQ(UnquoteString("'a\"b''c'"), "a\"b'c");
    EXPECT_EQ(UnquoteString("\"x\"rest"), "x");
    EXPECT_EQ(UnquoteString("plain"), "plain");
    EXPECT_EQ(UnquoteString("\""), "\"");
    EXPECT_EQ(UnquoteString("\"\""), "");
}

TEST(XmlDateText, WritingAndReading)
{
    rtl::TDateTime day = rtl::EncodeDate(2011, 4, 24);
    EXPECT_EQ(DateTimeToXmlText(day), "2011-04-24");
    rtl::TDateTime t = day + rtl::EncodeTime(10, 30, 0, 0);
    EXPECT_EQ(DateTimeToXmlText(t), "2011-04-24T10:30:00.000Z");
    EXPECT_DOUBLE_EQ(XmlTextToDateTime("2011-04-24T10:30:00.000Z"), t);
    EXPECT_DOUBLE_EQ(XmlTextToDateTime("2011-04-24"), day);
    // Exactly 16 characters: hours and minutes only, read as midnight.
    EXPECT_DOUBLE_EQ(XmlTextToDateTime("2011-04-24T10:30"), day);
    // Seconds and milliseconds are forgiving.
    EXPECT_DOUBLE_EQ(XmlTextToDateTime("2011-04-24T10:30:xx"), t);
    EXPECT_THROW(XmlTextToDateTime("2011-13-24"), rtl::EConvertError);
    EXPECT_THROW(XmlTextToDateTime("garbage"), rtl::EConvertError);
    EXPECT_THROW(XmlTextToDateTime(""), rtl::EConvertError);
    EXPECT_DOUBLE_EQ(XmlTextToDateTime("garbage", 5.0), 5.0);
}

TEST(XmlBoolText, FirstCharacterDecides)
{
    for (const char* t : {"1", "T", "true", "Yes", "y"}) EXPECT_TRUE(TextToBool(t)) << t;
    for (const char* t : {"0", "F", "false", "No", "n"}) EXPECT_FALSE(TextToBool(t)) << t;
    for (const char* t : {"", "maybe", " true"}) {
        try {
            TextToBool(t);
            FAIL() << t;
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), "Cannot convert value to bool");
        }
    }
    EXPECT_EQ(BoolToText(true), "true");
    EXPECT_EQ(BoolToText(false), "false");
}

TEST(XmlIntegerText, DecimalAndHexadecimal)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"255", true, 255},        {"$FF", true, 255},     {"$000000FF", true, 255},
        {"0xff", true, 255},       {"x1F", true, 31},      {"-12", true, -12},
        {" 7", true, 7},           {"$FFFFFFFF", true, -1}, {"2147483647", true, 2147483647},
        {"2147483648", false, 0},  {"", false, 0},         {"12a", false, 0},
        {"7 ", false, 0},          {"$", false, 0},        {"$123456789", false, 0},
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(XmlTryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    try {
        XmlStrToInt("abc");
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(XmlStrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(XmlStrToInt64("9223372036854775808"), rtl::EConvertError);
}

TEST(XmlBinaryText, Base64AndBinHex)
{
    const std::string bytes = "Man is\x01\xFF";
    EXPECT_EQ(EncodeBase64("Man", 3), "TWFu");
    EXPECT_EQ(EncodeBase64("Ma", 2), "TWE=");
    EXPECT_EQ(EncodeBase64("M", 1), "TQ==");
    std::string b64 = EncodeBase64(bytes.data(), static_cast<int>(bytes.size()));
    std::string back(bytes.size(), '\0');
    DecodeBase64(b64, back.data(), static_cast<int>(back.size()));
    EXPECT_EQ(back, bytes);

    EXPECT_EQ(BufferToHex("\x01\xAB", 2), "01AB");
    char two[2] = {0, 0};
    HexToBuffer("01ab", two, 2);
    EXPECT_EQ(std::string(two, 2), "\x01\xAB");
    // Stops at the first character that is no hex digit.
    char three[3] = {'x', 'y', 'z'};
    HexToBuffer("01zz02", three, 3);
    EXPECT_EQ(three[0], '\x01');
    EXPECT_EQ(three[1], 'y');

    for (auto f : {&DecodeBase64, &HexToBuffer}) {
        char buf[8];
        try {
            f("AB", buf, 8);
            FAIL();
        } catch (const rtl::EFilerError& e) {
            EXPECT_EQ(e.Message(), "Missing data in binary stream");
        }
    }
}

TEST(XmlBinaryText, ControlChars)
{
    EXPECT_EQ(AddControlChars("abcdef", "|", 2), "|ab|cd|ef|");
    EXPECT_EQ(AddControlChars("abcde", "|", 2), "|ab|cd|e|");
    EXPECT_EQ(AddControlChars("", "|", 2), "|");
    EXPECT_EQ(AddControlChars("abc", "", 2), "abc");
    EXPECT_EQ(AddControlChars("abc", "|", 0), "abc");
    EXPECT_EQ(RemoveControlChars(" a\tb\r\nc "), "abc");
}

TEST(XmlUnicodeText, Utf16Conversions)
{
    EXPECT_EQ(WideToUtf8(u"A\u00E9\u4E2D"), "A\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(Utf8ToWide("A\xC3\xA9\xE4\xB8\xAD"), u"A\u00E9\u4E2D");
    // A byte 0xE9 followed by a letter is no UTF-8: the whole text is lost.
    EXPECT_EQ(Utf8ToWide("caf\xE9s"), u"");
    EXPECT_EQ(Utf8ToWide("\xC3"), u"");
    // Characters beyond U+FFFF: one four-byte sequence, and back to the
    // surrogate pair.
    const std::u16string grin = u"x\U0001F600y";
    EXPECT_EQ(WideToUtf8(grin), "x\xF0\x9F\x98\x80y");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(grin)), grin);
    // The older six-byte form of a pair is still read.
    EXPECT_EQ(Utf8ToWide("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600");
    // A lone surrogate is kept.
    const std::u16string lone(1, char16_t(0xD800));
    EXPECT_EQ(Utf8ToWide(WideToUtf8(lone)), lone);
}

TEST(XmlUnicodeText, CodePage)
{
    EXPECT_EQ(CodePageToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCodePage("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(Utf8ToCodePage("\xE4\xB8\xAD"), "?");
    for (int b = 1; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(one)), one) << b;
    }
}

TEST(XmlReplace, LeftToRightNoRescan)
{
    EXPECT_EQ(ReplaceString("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceString("abcabc", "bc", "X"), "aXaX");
    EXPECT_EQ(ReplaceString("ABC", "b", "X"), "ABC");
    EXPECT_EQ(ReplaceString("abc", "", "X"), "abc");
}
