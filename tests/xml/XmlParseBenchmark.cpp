// Reading and writing a 10 MB document shaped like the application's
// location lists (many elements with typed values, attributes, escaped
// and non-ASCII text).  Run: xml_benchmark
#include <benchmark/benchmark.h>

#include <string>

#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

namespace {

const std::string& TenMegabytes()
{
    static const std::string text = [] {
        xml::TWideXmlDom doc("LocationList");
        xml::TWideXmlNode* root = doc.Root();
        root->WriteString("Name", "Benchmark list");
        int i = 0;
        while (true) {
            xml::TWideXmlNode* loc = root->NodeNew("Location");
            loc->WriteAttributeInteger("Index", i);
            loc->WriteString("Place", "Saint-\xC3\x89tienne & Z\xC3\xBCrich <" + std::to_string(i) + ">");
            loc->WriteFloat("Latitude", 45.43 + i * 1e-5);
            loc->WriteFloat("Longitude", -4.39 - i * 1e-5);
            loc->WriteInteger("Elevation", 500 + i % 1000);
            loc->WriteFloat("Temperature", 15.5);
            loc->WriteFloat("Pressure", 1013.25);
            loc->WriteInteger("TimeZone", 3600);
            loc->WriteBool("Dst", i % 2 == 0);
            loc->WriteColor("Color", 0x00FF8000);
            if (++i % 1000 == 0 && doc.WriteToString().size() >= 10u * 1024 * 1024) break;
        }
        return doc.WriteToString();
    }();
    return text;
}

void BM_ReadFromString(benchmark::State& state)
{
    const std::string& text = TenMegabytes();
    for (auto _ : state) {
        xml::TWideXmlDom doc;
        doc.ReadFromString(text);
        benchmark::DoNotOptimize(doc.Root());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
}

void BM_LoadFromStream(benchmark::State& state)
{
    rtl::TMemoryStream bytes;
    bytes.Write("\xEF\xBB\xBF", 3);
    bytes.Write(TenMegabytes().data(), static_cast<int64_t>(TenMegabytes().size()));
    for (auto _ : state) {
        xml::TWideXmlDom doc;
        doc.LoadFromStream(bytes);
        benchmark::DoNotOptimize(doc.Root());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.Size());
}

void BM_SaveToStream(benchmark::State& state)
{
    xml::TWideXmlDom doc;
    doc.ReadFromString(TenMegabytes());
    for (auto _ : state) {
        rtl::TMemoryStream out;
        doc.SaveToStream(out);
        benchmark::DoNotOptimize(out.Size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(TenMegabytes().size()));
}

} // namespace

BENCHMARK(BM_ReadFromString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToStream)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
