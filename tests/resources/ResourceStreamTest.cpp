// TResourceStream: a resource read through the stream interface.

#include "platform/rtl/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/TestPaths.h"

using rtl::TResourceStream;
using rtl::TResourceType;
using rtl::TSeekOrigin;

TEST(ResourceStream, ReadsTheResourceBytes)
{
    std::ifstream in(tectest::DataFile("resources/binary.dat"), std::ios::binary);
    std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    TResourceStream byName("binarydata", TResourceType::RCData);
    EXPECT_EQ(byName.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(byName.ReadAll(), expected);

    TResourceStream byNumber(7, TResourceType::RCData);
    byNumber.Seek(-5, TSeekOrigin::soEnd);
    EXPECT_EQ(byNumber.ReadAll(), expected.substr(expected.size() - 5));
    char c;
    EXPECT_EQ(byNumber.Read(&c, 1), 0);
    byNumber.SetPosition(256);
    EXPECT_EQ(byNumber.Read(&c, 1), 1);
    EXPECT_EQ(c, 0);
}

TEST(ResourceStream, MissingResourceRaises)
{
    try {
        TResourceStream s("NoSuchThing", TResourceType::RCData);
        FAIL() << "no exception";
    } catch (const rtl::EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NoSuchThing not found");
    }
    try {
        TResourceStream s(99, TResourceType::RCData);
        FAIL() << "no exception";
    } catch (const rtl::EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource #99 not found");
    }
}

TEST(ResourceStream, IsReadOnly)
{
    TResourceStream s("Hello_Text", TResourceType::RCData);
    EXPECT_THROW(s.WriteString("x"), rtl::EStreamError);
    EXPECT_THROW(s.SetSize(0), rtl::EStreamError);
    EXPECT_EQ(s.ReadAll(), "Hello, resources.\n");
}
