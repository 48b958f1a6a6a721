// Damaged report files: templates (with their hex-coded property data) and
// prepared pages are read or refused with rtl::Exception; none crashes,
// hangs or asks for absurd memory, and what was read can be drawn.

#include <gtest/gtest.h>


#include "MalformedInputs.h"
#include "TestPaths.h"
#include "PreparedPagesFixture.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

TEC_LIMIT_ALLOCATIONS()

using namespace qlr;

namespace {

// Attribute values replaced by numbers out of range, empty and odd texts
// (the XML reader, fuzzed on its own, lets these through); at most limit
// attributes, spread over the file.
std::vector<MalformedCase> AttributeVariants(const std::string& valid, std::size_t limit)
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t at = valid.find("=\""); at != std::string::npos; at = valid.find("=\"", at + 2)) {
        const std::size_t end = valid.find('"', at + 2);
        if (end == std::string::npos) break;
        spans.emplace_back(at + 2, end);
    }
    std::vector<MalformedCase> out;
    const std::size_t step = std::max<std::size_t>(1, spans.size() / limit);
    for (std::size_t k = 0; k < spans.size(); k += step) {
        const auto [from, to] = spans[k];
        for (const char* v : {"", "-1", "0", "1e308", "-1e308", "nan", "2147483648", "-2147483648", "zz", "0F0"}) {
            std::string f = valid;
            f.replace(from, to - from, v);
            out.push_back({"attribute " + std::to_string(k) + " = '" + v + "'", f});
        }
    }
    return out;
}

// Hex property data with bytes changed and cut: every byte of its start
// (names, types and counts), then bytes spread over the rest.
std::vector<MalformedCase> PropDataVariants(const std::string& valid)
{
    std::vector<MalformedCase> out;
    for (std::size_t at = valid.find("PropData=\""); at != std::string::npos;
         at = valid.find("PropData=\"", at + 10)) {
        const std::size_t from = at + 10, to = valid.find('"', from), bytes = (to - from) / 2;
        if (bytes < 2) continue;
        std::vector<std::size_t> positions;
        for (std::size_t k = 0; k < bytes && k < 32; ++k) positions.push_back(k);
        for (std::size_t k = 32; k < bytes; k += std::max<std::size_t>(1, bytes / 32)) positions.push_back(k);
        for (std::size_t k : positions)
            for (const char* v : {"FF", "7F", "00", "80"}) {
                std::string f = valid;
                f.replace(from + 2 * k, 2, v);
                out.push_back({"PropData at " + std::to_string(at) + " byte " + std::to_string(k) + " = " + v, f});
            }
        for (std::size_t cut : {std::size_t{1}, bytes / 2, bytes - 1}) {
            std::string f = valid;
            f.erase(from + 2 * cut, 2 * (bytes - cut));
            out.push_back({"PropData at " + std::to_string(at) + " cut at " + std::to_string(cut), f});
        }
    }
    return out;
}

void Draw(TqlrPreviewPages* pages)
{
    gui::TBitmap bmp(60, 80, gui::TPixelFormat::pf24bit);
    for (int i = 0; i < pages->GetCount() && i < 5; ++i) {
        pages->GetPage(i);
        pages->DrawPage(i, bmp.Canvas(), 0.1L, 0.1L, 0, 0);
    }
}

void LoadTemplate(const std::string& bytes)
{
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    rtl::TStringStream s(bytes);
    report.LoadFromStream(s);
    rtl::TStringStream out;
    report.SaveToStream(out);
}

void LoadPrepared(const std::string& bytes, bool partial)
{
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    auto* pages = dynamic_cast<TqlrPreviewPages*>(report.PreviewPages());
    rtl::TStringStream s(bytes);
    pages->LoadFromStream(s, partial);
    Draw(pages);
}

} // namespace

TEST(LoaderRobustness, ReportTemplates)
{
    for (const std::string& file : {std::string(TEST_DATA_DIR "/template.xml"),
                                    std::string(TEST_DATA_DIR "/LocationTableTemplate.xml"),
                                    std::string(TEC_SOURCE_DIR "/app/reports/LocationTable.xml")}) {
        SCOPED_TRACE(file);
        const std::string valid = tectest::ReadText(file);
        ASSERT_FALSE(valid.empty());
        for (const auto& c : MalformedVariants(valid)) ExpectReadsOrRaises(c, LoadTemplate);
        for (const auto& c : AttributeVariants(valid, 20)) ExpectReadsOrRaises(c, LoadTemplate);
        for (const auto& c : PropDataVariants(valid)) ExpectReadsOrRaises(c, LoadTemplate);
    }
}

TEST(LoaderRobustness, PreparedPages)
{
    qlrtest::PagesFixture f;
    auto* picture = new TqlrPictureView(f.Page);
    picture->SetName("Picture1");
    picture->SetBounds(300, 100, 40, 30);
    gui::TBitmap bmp(4, 3);
    picture->Picture()->SetGraphic(&bmp);
    f.Pages->Initialize();
    f.Pages->AddSourcePage(f.Page);
    for (int i = 0; i < 2; ++i) {
        f.Pages->AddPage(f.Page);
        f.Memo->SetText("Page " + std::to_string(i + 1));
        f.Pages->AddObject(f.Band);
        if (i == 1) f.Pages->AddObject(picture);
        f.Pages->AddAnchor("a" + std::to_string(i));
        f.Pages->Outline()->LevelRoot();
        f.Pages->Outline()->AddItem("Chapter", 10 * i);
    }
    f.Pages->Finish();
    rtl::TMemoryStream ms;
    f.Pages->SaveToStream(ms);
    const std::string saved(reinterpret_cast<const char*>(ms.Memory()), static_cast<std::size_t>(ms.Size()));

    for (const std::string& valid : {saved, tectest::ReadText(TEST_DATA_DIR "/prepared_two_objects.xml")})
        for (bool partial : {false, true}) {
            SCOPED_TRACE(partial ? "partial" : "whole");
            auto load = [partial](const std::string& b) { LoadPrepared(b, partial); };
            for (const auto& c : MalformedVariants(valid)) ExpectReadsOrRaises(c, load);
            for (const auto& c : AttributeVariants(valid, 60)) ExpectReadsOrRaises(c, load);
        }
}
