// Calc of one cached expression 1,000,000 times, and creating a report
// (its script adds every binding module) with a small template loaded;
// prints the times, never fails.
#include <chrono>
#include <cstdio>

#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    qlr::TqlrReport report(nullptr);
    auto* page = new qlr::TqlrReportPage(&report);
    page->SetName("Page1");
    auto* memo = new qlr::TqlrMemoView(page);
    memo->SetName("Memo1");
    memo->SetText("[Page#] / [TotalPages#]");
    report.PrepareScript();
    rtl::TMemoryStream templ;
    report.SaveToStream(templ);

    auto t0 = Clock::now();
    double sum = 0;
    for (int i = 0; i < 1000000; ++i) sum += report.Calc("2 * 3 + 1").AsDouble();
    auto t1 = Clock::now();
    std::printf("Calc of one cached expression x 1,000,000: %.3f s (sum %.0f)\n",
                std::chrono::duration<double>(t1 - t0).count(), sum);

    const int n = 20;
    auto t2 = Clock::now();
    for (int i = 0; i < n; ++i) {
        qlr::TqlrReport r(nullptr);
        templ.SetPosition(0);
        r.LoadFromStream(templ);
    }
    auto t3 = Clock::now();
    std::printf("Create a report and load a template: %.2f ms each\n",
                std::chrono::duration<double, std::milli>(t3 - t2).count() / n);
#ifdef LOCATION_TEMPLATE
    rtl::TFileStream location(LOCATION_TEMPLATE, rtl::fmOpenRead);
    auto t4 = Clock::now();
    for (int i = 0; i < n; ++i) {
        qlr::TqlrReport r(nullptr);
        location.SetPosition(0);
        r.LoadFromStream(location);
    }
    auto t5 = Clock::now();
    std::printf("Create a report and load the location-table template: %.2f ms each\n",
                std::chrono::duration<double, std::milli>(t5 - t4).count() / n);
#endif
    return 0;
}
