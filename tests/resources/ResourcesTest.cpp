// The resource registry: resources embedded by tec_embed_resources into a
// static library are found by name in any case, by number, and hold exactly
// the bytes of their files.

#include "platform/rtl/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "common/TestPaths.h"

using rtl::FindResource;
using rtl::TResource;
using rtl::TResourceType;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ResourceRegistry, NameLookupIgnoresCase)
{
    const TResource* r = FindResource("Hello_Text", TResourceType::RCData);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Name, "Hello_Text");
    for (const char* name : {"hello_text", "HELLO_TEXT", "hElLo_tExT"})
        EXPECT_EQ(FindResource(name, TResourceType::RCData), r) << name;
}

TEST(ResourceRegistry, TypeIsPartOfTheKey)
{
    const TResource* data = FindResource("hello_text", TResourceType::RCData);
    const TResource* text = FindResource("hello_text", TResourceType::StringTable);
    ASSERT_NE(data, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_NE(data, text);
    EXPECT_EQ(text->Text(), ReadFile(tectest::DataFile("resources/binary.dat")));
    EXPECT_EQ(FindResource("Hello_Text", TResourceType::Bitmap), nullptr);
    EXPECT_EQ(FindResource("BinaryData", TResourceType::PNG), nullptr);

    // One file given two types: one copy of the bytes, found under both.
    const TResource* png = FindResource("twice", TResourceType::PNG);
    const TResource* raw = FindResource("TWICE", TResourceType::RCData);
    ASSERT_NE(png, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(png->Data, raw->Data);
    EXPECT_EQ(raw->Text(), "Hello, resources.\n");
}

TEST(ResourceRegistry, NumberLookup)
{
    const TResource* named = FindResource("BinaryData", TResourceType::RCData);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->Id, 7);
    EXPECT_EQ(FindResource(7, TResourceType::RCData), named);
    EXPECT_EQ(FindResource("#7", TResourceType::RCData), named);

    const TResource* numbered = FindResource(12, TResourceType::Bitmap);
    ASSERT_NE(numbered, nullptr);
    EXPECT_TRUE(numbered->Name.empty());
    EXPECT_EQ(FindResource("#12", TResourceType::Bitmap), numbered);
    EXPECT_EQ(FindResource(12, TResourceType::RCData), nullptr);
}

TEST(ResourceRegistry, MissingResourcesGiveNull)
{
    for (const char* name : {"", "Hello", "Hello_Text_", "#", "#x", "#7x", "#-7", "#99"})
        EXPECT_EQ(FindResource(name, TResourceType::RCData), nullptr) << name;
    EXPECT_EQ(FindResource(-1, TResourceType::RCData), nullptr);
    EXPECT_EQ(FindResource(8, TResourceType::RCData), nullptr);
}

TEST(ResourceRegistry, BytesAreTheFilesBytes)
{
    struct Case {
        const char* name;
        int id;
        TResourceType type;
        const char* file;
    } cases[] = {
        {"Hello_Text", -1, TResourceType::RCData, "resources/hello.txt"},
        {"BinaryData", -1, TResourceType::RCData, "resources/binary.dat"},
        {nullptr, 12, TResourceType::Bitmap, "resources/binary.dat"},
    };
    for (const Case& c : cases) {
        const TResource* r = c.name ? FindResource(c.name, c.type) : FindResource(c.id, c.type);
        ASSERT_NE(r, nullptr) << c.file;
        std::string expected = ReadFile(tectest::DataFile(c.file));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(r->Size, expected.size()) << c.file;
        EXPECT_EQ(r->Text(), expected) << c.file;
        // A 0 byte follows, so text resources can be used as C strings.
        EXPECT_EQ(r->Data[r->Size], 0) << c.file;
    }
}

TEST(ResourceRegistry, EnumeratesEveryResourceOnce)
{
    auto all = rtl::Resources();
    EXPECT_EQ(std::count(all.begin(), all.end(), FindResource("Hello_Text", TResourceType::RCData)), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), FindResource(12, TResourceType::Bitmap)), 1);
    EXPECT_GE(all.size(), 4u);
}

TEST(ResourceRegistry, RegisteringAgainAddsNothing)
{
    // The generated registration function may also be called explicitly.
    size_t before = rtl::Resources().size();
    static const uint8_t bytes[] = {1, 2, 3, 0};
    static const TResource again[] = {
        {"HELLO_TEXT", -1, TResourceType::RCData, bytes, 3},
        {"", 12, TResourceType::Bitmap, bytes, 3},
    };
    rtl::RegisterResources(again, std::size(again));
    EXPECT_EQ(rtl::Resources().size(), before);
    EXPECT_NE(FindResource("Hello_Text", TResourceType::RCData)->Data, bytes);
}
