// The code-page facility: published byte values of the pages the system
// uses, the replacement rule in both directions, the OEM choice, the charset
// table and the Unicode number category.
#include <gtest/gtest.h>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

using namespace rtl;

namespace {

// Restores the OEM page a test changed.
struct OemPageScope {
    uint32_t saved = OemCodePage();
    ~OemPageScope() { SetOemCodePage(saved); }
};

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

} // namespace

// Byte values from the code-page charts the pages are published with.
TEST(CodePages, KnownCharactersInEachPage)
{
    struct Case {
        uint32_t cp;
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {437, "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", Bytes({0x8E, 0x99, 0x9A, 0xE1})},  // ÄÖÜß
        {850, "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", Bytes({0x8E, 0x99, 0x9A, 0xE1})},
        {437, "\xE2\x95\x94\xC2\xBD", Bytes({0xC9, 0xAB})},                            // ╔½
        {850, "\xC3\x98\xC2\xAE", Bytes({0x9D, 0xA9})},                                // Ø®
        {1252, "\xE2\x82\xAC\xC3\xA9\xC5\x93", Bytes({0x80, 0xE9, 0x9C})},             // €éœ
        {1250, "\xC5\x99\xC5\x91", Bytes({0xF8, 0xF5})},                               // řő
        {1251, "\xD0\x96\xD1\x8F", Bytes({0xC6, 0xFF})},                               // Жя
        {1253, "\xCE\xA9", Bytes({0xD9})},                                             // Ω
        {1254, "\xC4\x9F", Bytes({0xF0})},                                             // ğ
        {1255, "\xD7\x90", Bytes({0xE0})},                                             // א
        {1256, "\xD8\xA7", Bytes({0xC7})},                                             // ا
        {1257, "\xC4\x85", Bytes({0xE0})},                                             // ą
        {1258, "\xC4\x91", Bytes({0xF0})},                                             // đ
        {874, "\xE0\xB8\x81", Bytes({0xA1})},                                          // ก
        {932, "\xE6\x97\xA5\xEF\xBD\xB1", Bytes({0x93, 0xFA, 0xB1})},                  // 日ｱ
        {936, "\xE4\xB8\xAD", Bytes({0xD6, 0xD0})},                                    // 中
        {949, "\xED\x95\x9C", Bytes({0xC7, 0xD1})},                                    // 한
        {950, "\xE4\xB8\xAD", Bytes({0xA4, 0xA4})},                                    // 中
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cp);
        EXPECT_EQ(UTF8ToCodePage(c.utf8, c.cp), c.bytes);
        EXPECT_EQ(CodePageToUTF8(c.bytes, c.cp), c.utf8);
        EXPECT_EQ(CodePageToUTF16(c.bytes, c.cp), UTF8ToUTF16(c.utf8));
        EXPECT_EQ(UTF16ToCodePage(UTF8ToUTF16(c.utf8), c.cp), c.bytes);
        EXPECT_EQ(UTF8ToCodePage("A z~", c.cp), "A z~");
    }
}

TEST(CodePages, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    // A CJK character, an emoji (a surrogate pair in UTF-16) and malformed
    // UTF-8 are one "?" each.
    EXPECT_EQ(UTF8ToCodePage("a\xE4\xB8\xAD" "b\xF0\x9F\x98\x80" "c\xFF" "d", 1252), "a?b?c?d");
    EXPECT_EQ(UTF16ToCodePage(u"x\U0001F600y", 437), "x?y");
    EXPECT_EQ(UTF16ToCodePage(std::u16string{u'a', char16_t(0xD800), u'b'}, 1252), "a?b");
    EXPECT_EQ(UTF8ToCodePage("\xE0\xB8\x81", 936), "?");                         // Thai in GBK
    EXPECT_EQ(UTF8ToCodePage("\xE2\x82\xAC", 437), "?");                         // no euro in 437
}

TEST(CodePages, UndefinedBytes)
{
    // The five gaps of Windows-1252 stand for the C1 controls and come back.
    const std::string gaps = Bytes({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    EXPECT_EQ(CodePageToUTF16(gaps, 1252), (std::u16string{0x81, 0x8D, 0x8F, 0x90, 0x9D}));
    EXPECT_EQ(UTF8ToCodePage(CodePageToUTF8(gaps, 1252), 1252), gaps);
    // Every byte survives a trip through ANSI text.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(UTF8ToCodePage(CodePageToUTF8(all, 1252), 1252), all);
    EXPECT_EQ(UTF8ToCodePage(CodePageToUTF8(all, 437), 437), all);
    // Undefined bytes above 0x9F and broken double-byte sequences: U+FFFD per byte.
    EXPECT_EQ(CodePageToUTF16(Bytes({0xFC}), 874), u"\uFFFD");
    EXPECT_EQ(CodePageToUTF16(Bytes({'a', 0x93}), 932), u"a\uFFFD");      // lead byte at the end
    EXPECT_EQ(CodePageToUTF16(Bytes({0x93, 0xFA, 'z'}), 932), u"\u65E5z");
}

TEST(CodePages, ComposingPagesWriteAccentedLettersAsLetterAndMark)
{
    // Vietnamese ầ (U+1EA7) has no byte of its own in 1258: â (0xE2) + grave (0xCC).
    EXPECT_EQ(UTF8ToCodePage("\xE1\xBA\xA7", 1258), Bytes({0xE2, 0xCC}));
}

TEST(CodePages, OemPageAndCharsets)
{
    OemPageScope scope;
    EXPECT_EQ(SystemCodePage(), 1252u);
    EXPECT_EQ(OemCodePage(), 437u);
    EXPECT_EQ(CharToOem("\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F"), Bytes({0x8E, 0x99, 0x9A, 0xE1}));
    EXPECT_EQ(OemToChar(Bytes({0x9B, 0x9D})), "\xC2\xA2\xC2\xA5");  // ¢¥ in 437
    EXPECT_EQ(CharsetToCodePage(255), 437u);
    SetOemCodePage(850);
    EXPECT_EQ(OemToChar(Bytes({0x9B, 0x9D})), "\xC3\xB8\xC3\x98");  // øØ in 850
    EXPECT_EQ(CharsetToCodePage(255), 850u);
    EXPECT_THROW(SetOemCodePage(1252), EConvertError);
    EXPECT_EQ(OemCodePage(), 850u);

    const std::pair<int, uint32_t> charsets[] = {
        {0, 1252},    {1, 1252},    {2, 1252},    {77, 1252},   {128, 932},   {129, 949},
        {134, 936},   {136, 950},   {161, 1253},  {162, 1254},  {163, 1258},  {177, 1255},
        {178, 1256},  {186, 1257},  {204, 1251},  {222, 874},   {238, 1250},  {99, 1252}};
    for (auto [charset, cp] : charsets) EXPECT_EQ(CharsetToCodePage(static_cast<uint8_t>(charset)), cp) << charset;
}

TEST(CodePages, UnsupportedPagesRaise)
{
    EXPECT_FALSE(IsCodePageSupported(1200));
    EXPECT_TRUE(IsCodePageSupported(65001));
    EXPECT_THROW(UTF8ToCodePage("a", 1200), EConvertError);
    EXPECT_THROW(CodePageToUTF8("a", 7), EConvertError);
    EXPECT_EQ(UTF8ToCodePage("a\xC3\xA9", cpUTF8), "a\xC3\xA9");
    EXPECT_EQ(CodePageToUTF8("a\xFF", cpUTF8), "a\xEF\xBF\xBD");
}

TEST(CharCategories, NumberCategories)
{
    const std::pair<char32_t, bool> cases[] = {
        {U'0', true},     {U'9', true},      {U'/', false},    {U':', false},   {U'a', false},
        {0xB2, true},     {0xBD, true},      {0xB1, false},    {0x0663, true},  {0x2163, true},   // ² ½ ± ٣ Ⅳ
        {0xFF15, true},   {0x3007, true},    {0x4E00, false},  {0x1D7CE, true}, {0x1F10C, true},  // ５ 〇 一 𝟎 🄌
        {0x1F10D, false}, {0x10FFFF, false}, {0, false}};
    for (auto [c, expected] : cases) EXPECT_EQ(IsNumberChar(c), expected) << std::hex << uint32_t(c);
}
