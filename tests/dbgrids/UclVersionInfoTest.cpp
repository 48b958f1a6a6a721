// Version information blocks: parsing, languages, key cleaning, raw
// values, version parts, and the program's own block.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "TestPaths.h"
#include "dbgrids/ucl/UclFileUtils.h"
#include "dbgrids/ucl/UclVersionBlob.h"
#include "platform/rtl/Files.h"

using namespace ucl;

namespace {

TVersionNode Text(const std::string& key, const std::string& value)
{
    TVersionNode n;
    n.Key = key;
    n.Value = value;
    return n;
}

TVersionNode Raw(const std::string& key, const std::string& bytes)
{
    TVersionNode n;
    n.Key = key;
    n.ValueType = 0;
    n.Value = bytes;
    return n;
}

// A block with the given string tables and translations (pairs of
// language and code page).
std::string Blob(std::vector<TVersionNode> tables, std::vector<std::pair<uint16_t, uint16_t>> translations, bool wide = true)
{
    sys::TVersionRecord rec;
    rec.Strings["FileVersion"] = "1.2.3.4";
    TVersionNode root = VersionTreeOf(rec, 0x0409, 0x04B0);
    root.Children[0].Children = std::move(tables);
    std::string tr;
    for (auto [l, c] : translations) {
        tr += static_cast<char>(l & 0xFF);
        tr += static_cast<char>(l >> 8);
        tr += static_cast<char>(c & 0xFF);
        tr += static_cast<char>(c >> 8);
    }
    root.Children[1].Children[0].Value = tr;
    return WriteVersionBlob(root, wide);
}

TVersionNode Table(const std::string& key, std::vector<TVersionNode> strings)
{
    TVersionNode t;
    t.Key = key;
    t.Children = std::move(strings);
    return t;
}

std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rtl::Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

TEST(UclVersionInfo, OneLanguageTable)
{
    for (bool wide : {true, false}) {
        auto info = TUclFileVersionInfo::Attach(
            Blob({Table("040904b0", {Text("ProductName", "Demo"), Text("FileVersion", "2, 0, 0, 456")})}, {{0x0409, 0x04B0}}, wide));
        ASSERT_EQ(info->LanguageCount(), 1);
        EXPECT_EQ(info->Languages(0).LangId, 0x0409);
        EXPECT_EQ(info->Languages(0).CodePage, 0x04B0);
        EXPECT_EQ(TUclFileVersionInfo::VersionLanguageId(info->Languages(0)), "040904B0");
        EXPECT_EQ(info->ProductName(), "Demo");
        EXPECT_EQ(info->Items(), (std::vector<std::string>{"ProductName=Demo", "FileVersion=2, 0, 0, 456"}));
        EXPECT_EQ(info->FileVersionMajor(), "2");
        EXPECT_EQ(info->FileVersionMinor(), "0");
        EXPECT_EQ(info->FileVersionRelease(), "0");
        EXPECT_EQ(info->FileVersionBuild(), "456");
        EXPECT_EQ(info->BinFileVersion(), "1.2.3.4");
        EXPECT_TRUE(info->TranslationMatchesLanguages());
    }
}

TEST(UclVersionInfo, VersionPartsOfShortTexts)
{
    EXPECT_EQ(TUclFileVersionInfo::VersionPart("2.0", 0), "2");
    EXPECT_EQ(TUclFileVersionInfo::VersionPart("2.0", 1), "");
    EXPECT_EQ(TUclFileVersionInfo::VersionPart("2.0", 2), "");
    EXPECT_EQ(TUclFileVersionInfo::VersionPart("2.0", 3), "0");
    EXPECT_EQ(TUclFileVersionInfo::VersionPart("7", 3), "7");
}

TEST(UclVersionInfo, LanguageKeysAreCleanedOrRejected)
{
    auto info = TUclFileVersionInfo::Attach(Blob({Table("0x0409-0x04B0", {Text("A", "1")})}, {}));
    EXPECT_EQ(info->Languages(0).Pair(), 0x04B00409u);
    for (const char* bad : {"0409", "040904B0FF", "zz"})
        EXPECT_EQ(MessageOf([&] { TUclFileVersionInfo::Attach(Blob({Table(bad, {})}, {})); }),
                  "File contains no version information")
            << bad;
}

TEST(UclVersionInfo, RawValuesAsHexadecimal)
{
    auto info = TUclFileVersionInfo::Attach(
        Blob({Table("040904B0", {Raw("Two", std::string("\x34\x12", 2)), Raw("One", "\xAB"), Raw("None", "")})}, {}));
    EXPECT_EQ(info->GetCustomFieldValue("Two"), "$1234");
    EXPECT_EQ(info->GetCustomFieldValue("one"), "$AB");
    EXPECT_EQ(info->GetCustomFieldValue("None"), "");
    EXPECT_EQ(MessageOf([&] { info->GetCustomFieldValue(""); }), "No value was supplied");
    EXPECT_EQ(MessageOf([&] { info->GetCustomFieldValue("Three"); }), "The value Three was not found.");
}

TEST(UclVersionInfo, LanguageIndexAndTranslations)
{
    auto info = TUclFileVersionInfo::Attach(Blob({Table("040904B0", {Text("ProductName", "English")}),
                                                   Table("040704B0", {Text("ProductName", "Deutsch")})},
                                                  {{0x0407, 0x04B0}}));
    ASSERT_EQ(info->LanguageCount(), 2);
    EXPECT_EQ(info->ProductName(), "English");
    info->SetLanguageIndex(1);
    EXPECT_EQ(info->ProductName(), "Deutsch");
    EXPECT_EQ(MessageOf([&] { info->SetLanguageIndex(2); }), "Illegal language index");
    EXPECT_EQ(info->LanguageIndex(), 1);
    EXPECT_EQ(info->ProductName(), "Deutsch");
    EXPECT_TRUE(info->TranslationMatchesLanguages(false));
    EXPECT_FALSE(info->TranslationMatchesLanguages(true));
    auto other = TUclFileVersionInfo::Attach(Blob({Table("040904B0", {})}, {{0x0407, 0x04E4}}));
    EXPECT_FALSE(other->TranslationMatchesLanguages(true));
}

TEST(UclVersionInfo, DamagedBlocksAreRejectedWithoutStrayReads)
{
    std::string good = Blob({Table("040904B0", {Text("ProductName", "Demo")})}, {});
    for (size_t cut : {size_t(0), size_t(4), size_t(40), good.size() / 2, good.size() - 3}) {
        std::string bad = good.substr(0, cut);
        EXPECT_THROW(TUclFileVersionInfo::Attach(bad), EUclFileVersionInfoError) << cut;
    }
    std::string badSignature = good;
    badSignature[40] = 0;  // inside the fixed block's signature
    EXPECT_THROW(TUclFileVersionInfo::Attach(badSignature), EUclFileVersionInfoError);
}

TEST(UclVersionInfo, FilesWithAndWithoutABlock)
{
    EXPECT_EQ(MessageOf([] { TUclFileVersionInfo("/nonexistent/te.bin"); }),
              "The file /nonexistent/te.bin does not exist");
    std::string dir = rtl::TempDir() + "/ucl_version_" + std::to_string(std::random_device()());
    rtl::ForceDirectories(dir);
    std::string plain = dir + "/ucl_version_plain.bin";
    rtl::WriteFileAtomic(plain, "just some bytes VS_VERSION_INFO here");
    EXPECT_EQ(MessageOf([&] { TUclFileVersionInfo v(plain); }), "File contains no version information");
    std::string carrier = dir + "/ucl_version_carrier.bin";
    rtl::WriteFileAtomic(carrier, "header..." + Blob({Table("040904B0", {Text("ProductName", "Carried")})}, {}) + "trailer");
    TUclFileVersionInfo v(carrier);
    EXPECT_EQ(v.ProductName(), "Carried");
    std::remove(plain.c_str());
    std::remove(carrier.c_str());
    std::remove(dir.c_str());
}

TEST(UclVersionInfo, TheProgramCarriesItsOwnBlock)
{
    auto own = TUclFileVersionInfo::Attach(ProgramVersionBlob());
    EXPECT_EQ(own->ProductName(), "Tolmira Eclipse Calculator");
    EXPECT_FALSE(own->FileVersion().empty());
    EXPECT_EQ(own->BinFileVersion(), own->FileVersion());
    EXPECT_EQ(TUclFileVersionInfo::VersionLanguageId(own->Translations(0)), "040904B0");
    auto exe = TUclFileVersionInfo::FromModule(HInstance);
    EXPECT_EQ(exe->ProductName(), "Tolmira Eclipse Calculator");
    EXPECT_EQ(MessageOf([] { TUclFileVersionInfo::FromModule(0); }), "The Module with handle 0 is not valid");
    EXPECT_THROW(TUclFileVersionInfo::FromWindow(5), EUclError);
}
