// The report object's preview and progress: ShowReport with and without
// the old-style progress, the 50 ms timer on the manual clock, a failed run
// closing the preview window, the progress window for printing with Cancel,
// and the preview control's link.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PreparedPagesFixture.h"
#include "RecordingPrinter.h"
#include "platform/gui/ExtCtrls.h"

using namespace qlr;

namespace {

class StubPreviewControl : public TqlrCustomPreview {
public:
    std::vector<std::string>* Log;
    explicit StubPreviewControl(std::vector<std::string>* log) : Log(log) {}
    void Init() override { Log->push_back("Init"); }
    void Lock() override {}
    void Unlock() override {}
    void RefreshReport() override {}
    void InternalOnProgressStart(TqlrReport*, TqlrProgressType, int) override { Log->push_back("start"); }
    void InternalOnProgress(TqlrReport*, TqlrProgressType, int p) override
    {
        Log->push_back("progress " + std::to_string(p));
    }
    void InternalOnProgressStop(TqlrReport*, TqlrProgressType, int) override { Log->push_back("stop"); }
};

class StubWindow : public IqlrPreviewWindow {
public:
    std::vector<std::string>* Log;
    StubPreviewControl Control;
    explicit StubWindow(std::vector<std::string>* log) : Log(log), Control(log) {}
    ~StubWindow() override { Log->push_back("window freed"); }
    TqlrCustomPreview* Preview() override { return &Control; }
    void Init() override { Log->push_back("window Init"); }
    void Show(bool modal) override { Log->push_back(modal ? "ShowModal" : "Show"); }
    void Close() override { Log->push_back("Close"); }
    void SetMessageText(const std::string& v, bool hint) override
    {
        Log->push_back("status " + v + (hint ? " hint" : ""));
    }
};

class StubProgress : public IqlrProgressWindow {
public:
    std::vector<std::string>* Log;
    bool* Cancel;
    StubProgress(std::vector<std::string>* log, bool* cancel) : Log(log), Cancel(cancel) {}
    ~StubProgress() override { Log->push_back("progress closed"); }
    void Execute(int, const std::string&, bool bar, bool cancel) override
    {
        Log->push_back(std::string("progress open") + (bar ? " bar" : "") + (cancel ? " cancel" : ""));
    }
    void SetMessage(const std::string& v) override { Log->push_back(v); }
    bool Terminated() override { return *Cancel; }
};

class WindowServices : public qlrtest::RecordingServices {
public:
    std::vector<std::string> Log;
    bool Cancel = false;
    std::unique_ptr<IqlrPreviewWindow> CreatePreviewWindow(TqlrReport*) override
    {
        Log.push_back("window made");
        return std::make_unique<StubWindow>(&Log);
    }
    std::unique_ptr<IqlrProgressWindow> CreateProgressWindow() override
    {
        return std::make_unique<StubProgress>(&Log, &Cancel);
    }
};

// The stub services, registered for the fixture's lifetime.  A base class
// placed before the report's, so that they (with the log the preview window
// writes to) outlive the report and the window it frees.
struct ServicesScope {
    WindowServices* Services;
    std::unique_ptr<IqlrOutputServices> Previous;
    ServicesScope()
    {
        auto s = std::make_unique<WindowServices>();
        Services = s.get();
        Previous = RegisterOutputServices(std::move(s));
    }
    ~ServicesScope() { RegisterOutputServices(std::move(Previous)); }
};

struct ShowFixture : ServicesScope, qlrtest::PagesFixture {
    bool Fail = false;
    ShowFixture()
    {
        gui::TTimer::UseManualClock(true);
        Report.PreviewOptions()->Modal = false;
        Report.EngineOptions()->DestroyForms = false;
        // A run of two pages through the prepared pages.
        auto e = std::make_unique<RunEngine>(&Report, this);
        Report.SetEngine(std::move(e));
    }
    ~ShowFixture() { gui::TTimer::UseManualClock(false); }
    std::vector<std::string>& Log() { return Services->Log; }

    class RunEngine : public qlrtest::StubEngine {
    public:
        RunEngine(TqlrReport* r, ShowFixture* f) : qlrtest::StubEngine(r), F(f) {}
        ShowFixture* F;
        bool Run() override
        {
            F->Log().push_back("run");
            if (F->Fail) return false;
            F->Pages->Initialize();
            F->Pages->AddSourcePage(F->Page);
            F->Pages->AddPage(F->Page);
            F->Pages->AddPage(F->Page);
            F->Pages->Finish();
            return true;
        }
    };
};

} // namespace

TEST(ReportShow, PreviewFirstThenTheRunOnTheTimer)
{
    ShowFixture f;
    f.Report.ShowReport(true);
    EXPECT_EQ(f.Log(), (std::vector<std::string>{"window made", "Init", "window Init", "Show"}));
    EXPECT_EQ(f.Pages->GetCount(), 0);
    ASSERT_NE(f.Report.Preview(), nullptr);
    EXPECT_EQ(f.Report.Preview()->Report, &f.Report);
    EXPECT_EQ(f.Report.Preview()->PreviewPages, f.Report.PreviewPages());
    f.Log().clear();
    gui::TTimer::AdvanceClock(49);
    EXPECT_TRUE(f.Log().empty());
    gui::TTimer::AdvanceClock(1);
    EXPECT_EQ(f.Pages->GetCount(), 2);
    // The preview follows the run; no progress window for preparing.
    EXPECT_EQ(f.Log(), (std::vector<std::string>{"run", "start", "progress 0", "progress 1", "stop"}));
    gui::TTimer::AdvanceClock(200);
    EXPECT_EQ(f.Log().size(), 5u);    // the timer fired once
}

TEST(ReportShow, FailedRunClosesThePreviewAndOldStyleShowsNothing)
{
    {
        ShowFixture f;
        f.Fail = true;
        f.Report.ShowReport(true);
        gui::TTimer::AdvanceClock(50);
        EXPECT_EQ(f.Report.PreviewForm(), nullptr);
        EXPECT_EQ(f.Report.Preview(), nullptr);
        EXPECT_EQ(f.Log().back(), "window freed");
    }
    {
        ShowFixture f;
        f.Fail = true;
        f.Report.SetOldStyleProgress(true);
        f.Report.ShowReport(true);
        EXPECT_EQ(f.Log(), (std::vector<std::string>{"run"}));
    }
    {
        // Old style: prepared behind a progress window, then shown.
        ShowFixture f;
        f.Report.SetOldStyleProgress(true);
        f.Report.ShowReport(true);
        EXPECT_EQ(f.Log(), (std::vector<std::string>{"run", "progress open cancel", "Preparing page 1",
                                                     "Preparing page 2", "progress closed", "window made", "Init",
                                                     "window Init", "Show"}));
    }
}

TEST(ReportShow, HostPreviewControlIsLinkedNotAWindow)
{
    ShowFixture f;
    std::vector<std::string> log;
    StubPreviewControl control(&log);
    f.Report.SetPreview(&control);
    f.Report.ShowPreparedReport();
    EXPECT_EQ(log, (std::vector<std::string>{"Init", "Init"}));
    EXPECT_TRUE(f.Log().empty());
    StubPreviewControl other(&log);
    f.Report.SetPreview(&other);
    EXPECT_EQ(control.Report, nullptr);
    EXPECT_EQ(other.Report, &f.Report);
    f.Report.SetPreview(nullptr);
}

TEST(ReportShow, PrintingProgressWindowAndCancel)
{
    ShowFixture f;
    f.Report.PrepareReport();
    ASSERT_EQ(f.Pages->GetCount(), 2);
    f.Report.PrintOptions()->ShowDialog = false;
    f.Log().clear();
    f.Services->Cancel = true;    // Cancel pressed at once
    EXPECT_TRUE(f.Report.Print());
    EXPECT_EQ(f.Log(), (std::vector<std::string>{"progress open cancel", "Printing page 1", "progress closed"}));
    EXPECT_EQ(f.Services->ThePrinter.Count("EndPage"), 1);
    EXPECT_EQ(f.Services->ThePrinter.Count("Abort"), 1);
}
