// Number and date texts under English and German settings, date steps,
// name capitalisation and the clipboard HTML wrapper.
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "gridbase/ExUtil.h"
#include "platform/rtl/Exceptions.h"

using namespace gridbase;
using rtl::EncodeDate;

TEST(NumberTexts, ClassifyNumberTextEnglish)
{
    EnglishFormatSettings english;
    const std::pair<const char*, int> cases[] = {
        {"-", 0},          {"", 2},          {"123", 0},       {"-42", 0},       {"1,23", 1},
        {"1,234.5", 1},    {"12,34,567", 2}, {"1e", 2},        {"e5", 2},        {"+5", 2},
        {"1.5e-3", 5},     {"-1.5E-3", 5},   {"1e5e6", 2},     {"1.2.3", 2},     {"--1", 2},
        {"1-2", 2},        {"abc", 2},       {"1,234,567", 1}, {"1e+5", 5},      {"1,5e3", 2},
        {"\xC2\xB2", 0},   {"\xD9\xA3\xD9\xA4", 0},  // superscript two, Arabic-Indic 34
    };
    for (auto [text, kind] : cases) EXPECT_EQ(ClassifyNumberText(text), kind) << text;
}

TEST(NumberTexts, ClassifyNumberTextGerman)
{
    GermanFormatSettings german;
    EXPECT_EQ(ClassifyNumberText("1.234,5"), 1);
    EXPECT_EQ(ClassifyNumberText("1,5"), 1);
    EXPECT_EQ(ClassifyNumberText("1,5,0"), 2);
    EXPECT_EQ(ClassifyNumberText("1,5e3"), 5);
}

TEST(NumberTexts, ExtractNumberText)
{
    {
        EnglishFormatSettings english;
        const std::pair<const char*, const char*> cases[] = {
            {"  (5)  ", "-5"}, {"x", ""},       {"", ""},          {"(1,234.50)", "-1234.50"},
            {"$ -12", "-12"},  {"12 kg", "12"}, {"Eur 5", "E"},    {"-5", "-5"},
            {"1.5e-3", "1.5e-3"}, {"\t42\r\n", "42"}, {"(-3)", "-3"}};
        for (auto [text, number] : cases) EXPECT_EQ(ExtractNumberText(text), number) << text;
    }
    GermanFormatSettings german;
    EXPECT_EQ(ExtractNumberText("1.234,50 \xE2\x82\xAC"), "1234.50");
    EXPECT_EQ(ExtractNumberText("(2,5)"), "-2.5");
}

TEST(DateTexts, TwoAndFourDigitYearsInCalendarOrder)
{
    EnglishFormatSettings english;
    EXPECT_EQ(ParseMDYDate("12/31/2011"), EncodeDate(2011, 12, 31));
    EXPECT_EQ(ParseMDYDate("12/31/11"), EncodeDate(2011, 12, 31));
    EXPECT_EQ(ParseMDYDate("1-2-99"), EncodeDate(1999, 1, 2));
    EXPECT_EQ(ParseMDYDate("1.2.25"), EncodeDate(2025, 1, 2));
    EXPECT_EQ(ParseMDYDate("1/2/26"), EncodeDate(1926, 1, 2));
    EXPECT_EQ(ParseMDYDate("3/4/1899"), EncodeDate(1899, 3, 4));
    EXPECT_EQ(ParseDMYDate("31.12.2011"), EncodeDate(2011, 12, 31));
    EXPECT_EQ(ParseDMYDate("31.12.11"), EncodeDate(2011, 12, 31));
    EXPECT_EQ(ParseDMYDate("5/6/0"), EncodeDate(2000, 6, 5));
    // Not dates: 0.
    for (const char* text : {"", "2011", "1/2", "a/b/c", "1/2/2011 10:00", "12:30"}) {
        EXPECT_EQ(ParseMDYDate(text), 0) << text;
        EXPECT_EQ(ParseDMYDate(text), 0) << text;
    }
    // Impossible dates raise to the caller.
    EXPECT_THROW(ParseMDYDate("2/30/2011"), rtl::EConvertError);
    EXPECT_THROW(ParseDMYDate("31.4.2011"), rtl::EConvertError);
    // A date column in four and two digits sorts in calendar order.
    EXPECT_LT(ParseDMYDate("31.12.1999"), ParseDMYDate("1.1.00"));
    EXPECT_LT(ParseDMYDate("1.1.00"), ParseDMYDate("2.1.2000"));
}

TEST(DateTexts, GermanSettingsDoNotChangeTheParsers)
{
    GermanFormatSettings german;
    EXPECT_EQ(ParseDMYDate("24.12.2011"), EncodeDate(2011, 12, 24));
    EXPECT_EQ(ParseMDYDate("12/24/11"), EncodeDate(2011, 12, 24));
    EXPECT_TRUE(HasTwoDateSeparators("24.12.2011"));
    EXPECT_FALSE(HasTwoDateSeparators("12/24/2011"));
    EXPECT_FALSE(HasTwoDateSeparators(".12.2011"));
    EXPECT_FALSE(HasTwoDateSeparators("24..2011"));
}

TEST(DateSteps, AddDateStep)
{
    const rtl::TDateTime dec15 = EncodeDate(2010, 12, 15);
    EXPECT_EQ(AddDateStep(0, 1, 0, dec15, 0), EncodeDate(2011, 1, 15));
    EXPECT_EQ(AddDateStep(0, 65535, 0, EncodeDate(2011, 1, 15), 0), dec15);
    EXPECT_EQ(AddDateStep(0, 65535, 0, EncodeDate(2011, 3, 15), 0), EncodeDate(2011, 2, 15));
    // Steps of a year or more carry whole years.
    EXPECT_EQ(AddDateStep(0, 13, 0, dec15, 0), EncodeDate(2012, 1, 15));
    EXPECT_EQ(AddDateStep(0, 65534, 0, EncodeDate(2011, 1, 15), 0), EncodeDate(2010, 11, 15));
    EXPECT_EQ(AddDateStep(0, 65523, 0, EncodeDate(2011, 1, 15), 0), EncodeDate(2009, 12, 15));
    EXPECT_EQ(AddDateStep(2, 0, 0, dec15, 0), EncodeDate(2012, 12, 15));
    EXPECT_EQ(AddDateStep(0, 0, 20, dec15, 0), EncodeDate(2011, 1, 4));
    EXPECT_EQ(AddDateStep(1, 1, 0, dec15, 7.5), dec15 + 7.5);
    EXPECT_EQ(AddDateStep(0, 0, 0, dec15, 1), dec15 + 1);
    EXPECT_THROW(AddDateStep(0, 1, 0, EncodeDate(2011, 3, 31), 0), rtl::EConvertError);
    EXPECT_THROW(AddDateStep(1, 0, 0, EncodeDate(2012, 2, 29), 0), rtl::EConvertError);
}

TEST(Names, CapitalizeName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"mcdonald", "McDonald"},
        {"john smith iii", "John Smith III"},
        {"JOHN SMITH II", "John Smith II"},
        {"mary-jane o'neil", "Mary-Jane O'Neil"},
        {"ronald mcdonald", "Ronald McDonald"},
        {"ronald mcdonald and tom mcbride", "Ronald McDonald And Tom Mcbride"},  // only the first " Mc"
        {"\xC3\xA9mile zola", "\xC3\x89mile Zola"},
        {"", ""},
    };
    for (auto [in, out] : cases) EXPECT_EQ(CapitalizeName(in), out) << in;
}

TEST(ClipboardHtml, OffsetsOfTheHeader)
{
    std::string html;
    WrapClipboardHtml(html);
    EXPECT_NE(html.find("EndHTML:00000301\r\n"), std::string::npos);
    EXPECT_NE(html.find("EndFragment:00000269\r\n"), std::string::npos);
    EXPECT_EQ(html.size(), 301u);

    std::string frag = "<b>x</b>";
    WrapClipboardHtml(frag);
    EXPECT_EQ(frag.rfind("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000309\r\n", 0), 0u);
    EXPECT_EQ(frag.substr(97, 9), "<!DOCTYPE");
    EXPECT_EQ(frag.substr(269, 8), "<b>x</b>");
    EXPECT_EQ(frag.substr(277), "<!--EndFragment--></body></html>");
    EXPECT_EQ(frag.size(), 309u);
}
