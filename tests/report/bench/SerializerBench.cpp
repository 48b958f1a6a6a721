// Writing a template of 5,000 objects with SaveToStream (ObjToXML per
// object) and reading it back (XMLToObj per object); prints the times,
// never fails.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    auto report = std::make_unique<qlr::TqlrReport>(nullptr);
    int objects = 0;
    for (int p = 0; p < 10; ++p) {
        auto* page = new qlr::TqlrReportPage(report.get());
        page->CreateUniqueName();
        ++objects;
        for (int b = 0; b < 9; ++b) {
            auto* band = new qlr::TqlrMasterData(page);
            band->SetName("Band" + std::to_string(p) + "_" + std::to_string(b));
            band->SetBounds(0, b * 60, 718, 55);
            ++objects;
            for (int m = 0; m < 54; ++m) {
                auto* memo = new qlr::TqlrMemoView(band);
                memo->SetName("M" + std::to_string(p) + "_" + std::to_string(b) + "_" + std::to_string(m));
                memo->SetBounds(m * 13.3, 2, 12.5, 18.89765);
                memo->SetText("Value [Row#] of " + std::to_string(m));
                memo->Frame()->SetTyp(qlr::TqlrFrameTypes{qlr::TqlrFrameType::ftBottom});
                ++objects;
            }
        }
    }
    rtl::TMemoryStream ms;
    auto t0 = Clock::now();
    report->SaveToStream(ms);
    auto t1 = Clock::now();
    auto back = std::make_unique<qlr::TqlrReport>(nullptr);
    ms.SetPosition(0);
    back->LoadFromStream(ms);
    auto t2 = Clock::now();
    auto ms_ = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("objects %d, %lld bytes: write %.1f ms, read %.1f ms, total %.1f ms (target under 500 ms)\n",
                objects, static_cast<long long>(ms.Size()), ms_(t1 - t0), ms_(t2 - t1), ms_(t2 - t0));
    std::printf("objects read back: %zu\n", back->AllObjects().size());
    return 0;
}
