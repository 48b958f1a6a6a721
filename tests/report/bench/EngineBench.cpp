// A master band over 10,000 rows with five memos prepared into the
// report's prepared pages: in one pass, with DoublePass, and with the memos
// measuring their text; prints the times, never fails.
#include <chrono>
#include <cstdio>
#include <string>

#include "report/qlrClass.h"

namespace {

double Prepare(bool doublePass, bool stretch, int& pages)
{
    qlr::TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = qlr::TqlrSilentMode::simSilent;
    report.EngineOptions()->DoublePass = doublePass;
    auto* page = new qlr::TqlrReportPage(&report);
    page->SetName("Page1");
    auto* band = new qlr::TqlrMasterData(page);
    band->SetName("MasterData1");
    band->SetBounds(0, 0, 700, 20);
    band->SetRowCount(10000);
    const char* texts[] = {"[Line]", "Row [Line#]", "[Line] * 2 = [Get('Line') * 2]", "fixed text", "[Page#]"};
    for (int i = 0; i < 5; ++i) {
        auto* memo = new qlr::TqlrMemoView(band);
        memo->SetName("Memo" + std::to_string(i + 1));
        memo->SetBounds(i * 140, 0, 135, 18);
        memo->SetText(texts[i]);
        if (stretch) memo->SetStretchMode(qlr::TqlrStretchMode::smActualHeight);
    }
    auto* footer = new qlr::TqlrPageFooter(page);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 500, 700, 20);
    auto* pageNo = new qlr::TqlrMemoView(footer);
    pageNo->SetName("PageNo");
    pageNo->SetBounds(300, 0, 100, 18);
    pageNo->SetText("[Page#] / [TotalPages#]");

    auto t0 = std::chrono::steady_clock::now();
    bool ok = report.PrepareReport();
    auto t1 = std::chrono::steady_clock::now();
    pages = ok ? report.PreviewPages()->GetCount() : -1;
    if (!ok) std::printf("errors: %s\n", report.Errors()->Text().c_str());
    return std::chrono::duration<double>(t1 - t0).count();
}

} // namespace

int main()
{
    int pages = 0;
    double one = Prepare(false, false, pages);
    std::printf("10,000 rows x 5 memos, one pass: %.2f s, %d pages\n", one, pages);
    double two = Prepare(true, false, pages);
    std::printf("10,000 rows x 5 memos, DoublePass: %.2f s, %d pages\n", two, pages);
    double grown = Prepare(false, true, pages);
    std::printf("10,000 rows x 5 memos measuring their text (smActualHeight): %.2f s, %d pages\n", grown, pages);
    return 0;
}
