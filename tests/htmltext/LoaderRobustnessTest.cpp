// Damaged pictures of the markup engine's picture loader: decoded or
// refused (nullptr), never a crash, a hang or an absurd allocation.

#include <gtest/gtest.h>

#include "MalformedInputs.h"
#include "TestPaths.h"
#include "htmltext/PictureDecode.h"

TEC_LIMIT_ALLOCATIONS()

TEST(LoaderRobustness, MarkupPictures)
{
    for (const char* name : {"htmltext/still.gif", "htmltext/frames3.gif", "platform/gui/palette8.png"}) {
        SCOPED_TRACE(name);
        const std::string valid = tectest::ReadText(tectest::DataFile(name));
        ASSERT_FALSE(valid.empty());
        std::vector<std::size_t> at;
        for (std::size_t k = 4; k + 4 < valid.size() && k < 120; k += 3) at.push_back(k);
        for (const auto& c : MalformedVariants(valid, at))
            ExpectReadsOrRaises(c, [](const std::string& bytes) {
                auto g = htmltext::DecodeImageBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                if (g) {
                    gui::TBitmap out(8, 8, gui::TPixelFormat::pf24bit);
                    out.Canvas()->Draw(0, 0, g.get());
                }
            });
    }
}
