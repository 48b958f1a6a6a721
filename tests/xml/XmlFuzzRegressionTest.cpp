// Replays every input kept in tests/data/xml/fuzz/ (inputs that once made
// the reader fail under the fuzzer, and hand-made hostile ones) through
// what the fuzz target does: none may crash or hang.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestPaths.h"
#include "fuzz/XmlFuzzInput.h"
#include "platform/rtl/Files.h"

TEST(XmlFuzzRegression, KeptInputsRunCleanly)
{
    namespace fs = std::filesystem;
    const fs::path dir = tectest::DataFile("xml/fuzz");
    ASSERT_TRUE(fs::is_directory(dir));
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().filename().string());
        xmlfuzz::RunOne(rtl::ReadFileBytes(entry.path().string()));
        ++count;
    }
    EXPECT_GT(count, 0);
}

TEST(XmlFuzzRegression, HostileShapes)
{
    const std::string shapes[] = {
        std::string(100000, '<'),
        std::string(100000, '='),
        "<a " + std::string(100000, '=') + ">",
        "<a b=" + std::string(50000, '"') + "></a>",
        "<!DOCTYPE a [" + std::string(50000, '%') + "]><a/>",
        "<!DOCTYPE a [" + std::string(20000, '[') + "<!DOCTYPE b [<!DOCTYPE c [",
        std::string("\xFF\xFE", 2) + std::string(30001, '\xD8'),
        std::string("\xFE\xFF\xD8\x00\xD8\x00\xDC\x00", 8),
        "<?xml encoding=\"UTF-8\"?><?xml encoding=\"UTF-8\"?><a>\xF0\x9F</a>",
        "<a>" + std::string(30000, '&') + ";</a>",
    };
    for (const auto& s : shapes) xmlfuzz::RunOne(s);
}
