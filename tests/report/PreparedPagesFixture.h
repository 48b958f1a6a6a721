// A report with one template page (a master band holding two memos), its
// prepared pages and a stub engine, for the prepared-pages tests.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "report/qlrClass.h"
#include "report/qlrPreviewPages.h"

namespace qlrtest {

// An engine that runs nothing: the tests drive the prepared pages.
class StubEngine : public qlr::TqlrCustomEngine {
public:
    using qlr::TqlrCustomEngine::TqlrCustomEngine;
    void EndPage() override {}
    void NewColumn() override {}
    void NewPage() override {}
    long double FreeSpace() override { return 0; }
    rtl::Variant GetAggregateValue(const std::string&, const std::string&, rtl::TObject*, int) override
    {
        return rtl::Variant();
    }
    bool Run() override { return true; }
};

struct PagesFixture {
    qlr::TqlrReport Report{nullptr};
    StubEngine* Engine;
    qlr::TqlrPreviewPages* Pages;
    qlr::TqlrReportPage* Page;
    qlr::TqlrMasterData* Band;
    qlr::TqlrMemoView* Memo;
    qlr::TqlrMemoView* Memo2;

    PagesFixture()
    {
        auto e = std::make_unique<StubEngine>(&Report);
        Engine = e.get();
        Report.SetEngine(std::move(e));
        Pages = dynamic_cast<qlr::TqlrPreviewPages*>(Report.PreviewPages());
        Report.EngineOptions()->NewSilentMode = qlr::TqlrSilentMode::simSilent;
        Report.ReportOptions()->Name = "Fixture";
        Page = new qlr::TqlrReportPage(&Report);
        Page->SetName("Page1");
        Page->SetPaperSize(9);
        Page->SetLeftMargin(10);
        Page->SetRightMargin(10);
        Page->SetTopMargin(10);
        Page->SetBottomMargin(10);
        Band = new qlr::TqlrMasterData(Page);
        Band->SetName("MasterData1");
        Band->SetBounds(0, 0, 700, 40);
        Memo = new qlr::TqlrMemoView(Band);
        Memo->SetName("Memo1");
        Memo->SetBounds(10, 5, 100, 20);
        Memo->SetText("first");
        Memo2 = new qlr::TqlrMemoView(Band);
        Memo2->SetName("Memo2");
        Memo2->SetBounds(200, 5, 100, 20);
        Memo2->SetText("second");
    }
};

} // namespace qlrtest
