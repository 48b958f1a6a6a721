// A prepared report of 1,000 pages of 50 memos each: filled as the engine
// would, saved and loaded, then 200 random pages rebuilt with pages swapped
// to the temporary file.  Prints the times, never fails.
#include <chrono>
#include <cstdio>
#include <random>

#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrPreviewPages.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    qlr::TqlrReport report(nullptr);
    report.EngineOptions()->UseFileCache = true;
    report.EngineOptions()->MaxMemSize = 1;    // swap every megabyte
    report.PreviewOptions()->PagesInCache = 5;
    auto* pages = dynamic_cast<qlr::TqlrPreviewPages*>(report.PreviewPages());
    auto* page = new qlr::TqlrReportPage(&report);
    page->SetName("Page1");
    page->SetPaperSize(9);
    std::vector<qlr::TqlrMemoView*> memos;
    for (int i = 0; i < 50; ++i) {
        auto* m = new qlr::TqlrMemoView(page);
        m->SetName("Memo" + std::to_string(i + 1));
        m->SetBounds(10, 20.0L * i, 300, 18);
        memos.push_back(m);
    }

    auto t0 = Clock::now();
    pages->Initialize();
    pages->AddSourcePage(page);
    for (int p = 0; p < 1000; ++p) {
        pages->AddPage(page);
        for (int i = 0; i < 50; ++i) {
            memos[static_cast<std::size_t>(i)]->SetText("Eclipse " + std::to_string(p * 50 + i));
            pages->AddObject(memos[static_cast<std::size_t>(i)]);
        }
    }
    pages->Finish();
    auto t1 = Clock::now();

    rtl::TMemoryStream file;
    pages->SaveToStream(file);
    auto t2 = Clock::now();
    qlr::TqlrReport other(nullptr);
    other.EngineOptions()->UseFileCache = true;
    other.PreviewOptions()->PagesInCache = 5;
    auto* loaded = dynamic_cast<qlr::TqlrPreviewPages*>(other.PreviewPages());
    file.SetPosition(0);
    loaded->LoadFromStream(file, false);
    auto t3 = Clock::now();

    std::mt19937 rng(7);
    int objects = 0;
    for (int i = 0; i < 200; ++i) {
        qlr::TqlrReportPage* rebuilt = pages->GetPage(static_cast<int>(rng() % 1000));
        objects += static_cast<int>(rebuilt->Objects().size());
    }
    auto t4 = Clock::now();

    std::printf("1,000 pages x 50 memos: fill %.0f ms; save %.0f ms (%lld bytes, target under 2000 ms); "
                "load %.0f ms (target under 2000 ms); %d pages loaded\n",
                ms(t1 - t0), ms(t2 - t1), static_cast<long long>(file.Size()), ms(t3 - t2), loaded->GetCount());
    std::printf("200 random GetPage with the swap file: %.2f ms per page (target under 5 ms); %d objects\n",
                ms(t4 - t3) / 200, objects);
    return 0;
}
