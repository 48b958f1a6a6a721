#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestPaths.h"
#include "platform/rtl/IniFiles.h"

using namespace rtl;

namespace {

void Spit(const std::filesystem::path& p, const std::string& s)
{
    std::ofstream out(p, std::ios::binary);
    out << s;
}

} // namespace

TEST(IniFiles, ReadsTypedValuesWithDefaults)
{
    auto dir = tectest::ScratchDir("ini-read");
    auto file = dir / "settings.ini";
    Spit(file, "\xEF\xBB\xBF; leading comment\r\n"
               "[Print]\r\n"
               "  Copies = 3 \r\n"
               "Hex=$1F\r\n"
               "Hex2=0x10\r\n"
               "Bad=12a\r\n"
               "Flag=0\r\n"
               "Flag2=-1\r\n"
               "Scale=1.25\r\n"
               "Comma=1,25\r\n"
               "When=2024-03-05 06:00\r\n"
               "Copies=99\r\n"
               "[Empty]\r\n");
    TMemIniFile ini(file.string());
    struct IntCase {
        const char* ident;
        int32_t def, expected;
    };
    for (const IntCase& c : std::initializer_list<IntCase>{
             {"copies", 0, 3}, {"Hex", 0, 31}, {"Hex2", 0, 16}, {"Bad", 7, 7}, {"Missing", 5, 5}}) {
        EXPECT_EQ(ini.ReadInteger("PRINT", c.ident, c.def), c.expected) << c.ident;
    }
    EXPECT_FALSE(ini.ReadBool("Print", "Flag", true));
    EXPECT_TRUE(ini.ReadBool("Print", "Flag2", false));
    EXPECT_TRUE(ini.ReadBool("Print", "Bad", true));  // not a number: the default
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Print", "Scale", 0), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Print", "Comma", -1), -1);
    EXPECT_DOUBLE_EQ(ini.ReadDateTime("Print", "When", 0), EncodeDate(2024, 3, 5) + 0.25);
    EXPECT_DOUBLE_EQ(ini.ReadDate("Print", "Bad", 42), 42);
    EXPECT_EQ(ini.ReadString("Print", "Missing", "def"), "def");
    EXPECT_TRUE(ini.SectionExists("empty"));
    EXPECT_FALSE(ini.SectionExists("Nope"));
    EXPECT_TRUE(ini.ValueExists("print", "SCALE"));

    TStringList sections, names;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.CommaText(), "Print,Empty");
    ini.ReadSection("Print", names);
    EXPECT_EQ(names[0], "Copies");
    EXPECT_EQ(names.Count(), 10);  // a repeated name is kept
}

TEST(IniFiles, WritesKeepCommentsAndRoundTrip)
{
    auto dir = tectest::ScratchDir("ini-write");
    auto file = dir / "a.ini";
    Spit(file, "; keep me\n[Grid]\n; and me\nWidth=10\n");
    {
        TMemIniFile ini(file.string());
        ini.WriteInteger("grid", "width", 20);  // the existing spelling stays
        ini.WriteBool("Grid", "Show", true);
        ini.WriteFloat("Grid", "Ratio", 0.1);
        ini.WriteDate("Dates", "Start", EncodeDate(2024, 3, 5));
        ini.WriteString("Texts", "Name", "  padded  ");
        EXPECT_THROW(ini.WriteString("Texts", "a=b", "x"), EIniFileException);
        EXPECT_THROW(ini.WriteString("Texts", "Two", "line\nbreak"), EIniFileException);
        // Nothing reaches the file before UpdateFile.
        EXPECT_EQ(tectest::ReadText(file), "; keep me\n[Grid]\n; and me\nWidth=10\n");
        ini.UpdateFile();
    }
    EXPECT_EQ(tectest::ReadText(file),
              "; keep me\n\n[Grid]\n; and me\nWidth=20\nShow=1\nRatio=0.1\n\n[Dates]\nStart=2024-03-05\n\n"
              "[Texts]\nName=padded\n\n");
    TMemIniFile back(file.string());
    EXPECT_EQ(back.ReadInteger("Grid", "Width", 0), 20);
    EXPECT_TRUE(back.ReadBool("Grid", "Show", false));
    EXPECT_DOUBLE_EQ(back.ReadFloat("Grid", "Ratio", 0), 0.1);
    EXPECT_DOUBLE_EQ(back.ReadDate("Dates", "Start", 0), EncodeDate(2024, 3, 5));
    back.DeleteKey("Grid", "Show");
    back.EraseSection("Dates");
    EXPECT_FALSE(back.ValueExists("Grid", "Show"));
    EXPECT_FALSE(back.SectionExists("Dates"));
}

TEST(IniFiles, IniFileWritesThroughAndReportsFailures)
{
    auto dir = tectest::ScratchDir("ini-through");
    auto file = dir / "b.ini";
    TIniFile ini(file.string());
    ini.WriteString("S", "K", "V");
    EXPECT_EQ(tectest::ReadText(file), "[S]\nK=V\n\n");
    TMemIniFile other(file.string());
    EXPECT_EQ(other.ReadString("s", "k", ""), "V");
    ini.EraseSection("S");
    EXPECT_EQ(tectest::ReadText(file), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "b.ini.tmp"));

    // A case-sensitive file tells names apart.
    TMemIniFile cs((dir / "c.ini").string());
    cs.SetCaseSensitive(true);
    cs.WriteString("S", "Key", "1");
    cs.WriteString("S", "KEY", "2");
    EXPECT_EQ(cs.ReadString("S", "Key", ""), "1");
    EXPECT_EQ(cs.ReadString("S", "key", "none"), "none");

    TIniFile bad((dir / "missing-folder" / "x.ini").string());
    EXPECT_THROW(bad.WriteString("S", "K", "V"), EFCreateError);
}
