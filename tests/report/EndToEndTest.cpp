// A report as an author builds it, prepared into the program's own store of
// prepared pages, saved, loaded into another report and read back: groups
// with a reprinted header, the five aggregates and a running sum in the
// group footer, a page sum in the page footer, a summary, sub-reports in the
// title and the summary, empty values, three pages.  Every figure expected
// is computed here from the rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "EngineFixture.h"
#include "platform/rtl/Streams.h"

using namespace enginetest;

namespace {

struct Row {
    std::string Group;
    std::optional<int> V;  // empty value when not set
};

const std::vector<Row> kRows = {
    {"Europe", 4},  {"Europe", {}}, {"Europe", 7},  {"Europe", 1},  {"Europe", 10}, {"Europe", 2},
    {"Asia", 3},    {"Asia", 8},    {"Asia", {}},   {"Asia", 5},    {"Asia", 6},    {"Asia", 9},
    {"Asia", 11},   {"Africa", {}}, {"Africa", 12}, {"Africa", 2},  {"Africa", 20}, {"Africa", 6},
};

std::string Fmt(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// One memo of a prepared page: its name and text, in output order.
struct Printed {
    std::string Name, Text;
};

std::vector<std::vector<Printed>> ReadPages(TqlrPreviewPages* pages)
{
    std::vector<std::vector<Printed>> out;
    for (int i = 0; i < pages->GetCount(); ++i) {
        out.emplace_back();
        for (TqlrComponent* c : pages->GetPage(i)->AllObjects())
            if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) out.back().push_back({m->Name(), m->Text()});
    }
    return out;
}

std::vector<std::string> TextsOf(const std::vector<std::vector<Printed>>& pages, const std::string& name)
{
    std::vector<std::string> texts;
    for (auto& page : pages)
        for (auto& p : page)
            if (p.Name == name) texts.push_back(p.Text);
    return texts;
}

struct AuthorReport : Rig {
    TqlrUserDataSet* ds = nullptr;

    AuthorReport()
    {
        report.SetPreviewPages(std::make_unique<TqlrPreviewPages>(&report));
        pages = nullptr;
        ds = Data("Data", static_cast<int>(kRows.size()), [](int row, const std::string& f) {
            const Row& r = kRows[static_cast<std::size_t>(row)];
            if (f == "A") return rtl::Variant(r.Group);
            if (f == "Id") return rtl::Variant("r" + std::to_string(row + 1));
            return r.V ? rtl::Variant(*r.V) : rtl::Variant::Null();
        });
        report.OnGetValue = [this](const std::string& name, rtl::Variant& v) {
            if (name == "A" || name == "V" || name == "Id") v = ds->Value(name);
        };
        auto* title = Band<TqlrReportTitle>("ReportTitle1", 0, 30);
        Memo(title, "TitleText", "Eclipses by region", 0, 18);
        SubReport(title, "TitleSub", "TitleRow", "T", 4);

        auto* header = Band<TqlrGroupHeader>("GH1", 60, 20);
        header->Condition = "A";
        header->ReprintOnNewPage = true;
        Memo(header, "GroupName", "[A]");
        auto* data = Band<TqlrMasterData>("MasterData1", 90, 25);
        data->SetDataSet(ds);
        Memo(data, "RowId", "[Id]", 0, 18, 0, 50);
        Memo(data, "RowV", "[V]", 0, 18, 60, 50);
        auto* footer = Band<TqlrGroupFooter>("GF1", 130, 20);
        const char* calls[][2] = {{"Sum", "[SUM(Get('V'))]"},     {"Count", "[COUNT(MasterData1)]"},
                                  {"Avg", "[AVG(Get('V'))]"},     {"Min", "[MIN(Get('V'))]"},
                                  {"Max", "[MAX(Get('V'))]"},     {"Running", "[SUM(Get('V'), MasterData1, 2)]"}};
        for (int i = 0; i < 6; ++i) Memo(footer, calls[i][0], calls[i][1], 0, 18, i * 50, 50);
        Memo(Band<TqlrPageFooter>("PageFooter1", 300, 20), "PageSum", "[SUM(Get('V'))]");
        auto* summary = Band<TqlrReportSummary>("ReportSummary1", 200, 30);
        Memo(summary, "Total", "[SUM(Get('V'), MasterData1)]", 0, 18);
        SubReport(summary, "SummarySub", "SummaryRow", "S", 3);
    }

    // A sub-report at the bottom of band whose page prints rows prefix1..prefixN.
    void SubReport(TqlrBand* band, const std::string& name, const std::string& memo, const std::string& prefix, int n)
    {
        TqlrReportPage* sub = AddPage(name + "Page");
        auto* rows = Band<TqlrMasterData>(name + "Data", 0, 18, sub);
        rows->SetRowCount(n);
        Memo(rows, memo, prefix + "[Line]");
        auto* s = new TqlrSubreport(band);
        s->SetName(name);
        s->SetBounds(0, 20, 100, 10);
        s->SetPage(sub);
    }
};

} // namespace

TEST(EngineEndToEnd, PreparedSavedAndReloadedReportCarriesEveryRowAndTotal)
{
    AuthorReport r;
    ASSERT_TRUE(r.Run()) << r.Errors();
    auto* store = dynamic_cast<TqlrPreviewPages*>(r.report.PreviewPages());
    rtl::TMemoryStream saved;
    store->SaveToStream(saved);
    saved.SetPosition(0);
    TqlrReport other(nullptr);
    auto* loaded = dynamic_cast<TqlrPreviewPages*>(other.PreviewPages());
    loaded->LoadFromStream(saved);
    ASSERT_EQ(loaded->GetCount(), 3);
    const auto pages = ReadPages(loaded);

    // Both sub-reports print all their rows, the title's on the first page.
    EXPECT_EQ(TextsOf(pages, "TitleRow"), (std::vector<std::string>{"T1", "T2", "T3", "T4"}));
    EXPECT_EQ(TextsOf({pages[0]}, "TitleRow").size(), 4u);
    EXPECT_EQ(TextsOf(pages, "SummaryRow"), (std::vector<std::string>{"S1", "S2", "S3"}));

    // Every row once, empty values printed empty.
    std::vector<std::string> ids, values;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ids.push_back("r" + std::to_string(i + 1));
        values.push_back(kRows[i].V ? std::to_string(*kRows[i].V) : "");
    }
    EXPECT_EQ(TextsOf(pages, "RowId"), ids);
    EXPECT_EQ(TextsOf(pages, "RowV"), values);

    // Group footers: totals of each group's rows and the running total.
    std::vector<std::string> groups;
    for (const Row& row : kRows)
        if (groups.empty() || groups.back() != row.Group) groups.push_back(row.Group);
    std::vector<std::string> sums, counts, avgs, mins, maxs, running;
    int runningSum = 0;
    for (const std::string& g : groups) {
        int sum = 0, n = 0, count = 0, lo = 1 << 30, hi = -(1 << 30);
        for (const Row& row : kRows) {
            if (row.Group != g) continue;
            ++count;
            if (!row.V) continue;
            sum += *row.V;
            ++n;
            lo = std::min(lo, *row.V);
            hi = std::max(hi, *row.V);
        }
        runningSum += sum;
        sums.push_back(std::to_string(sum));
        counts.push_back(std::to_string(count));
        avgs.push_back(Fmt(static_cast<double>(sum) / n));
        mins.push_back(std::to_string(lo));
        maxs.push_back(std::to_string(hi));
        running.push_back(std::to_string(runningSum));
    }
    EXPECT_EQ(TextsOf(pages, "Sum"), sums);
    EXPECT_EQ(TextsOf(pages, "Count"), counts);
    EXPECT_EQ(TextsOf(pages, "Avg"), avgs);
    EXPECT_EQ(TextsOf(pages, "Min"), mins);
    EXPECT_EQ(TextsOf(pages, "Max"), maxs);
    EXPECT_EQ(TextsOf(pages, "Running"), running);
    EXPECT_EQ(TextsOf(pages, "Total"), std::vector<std::string>{std::to_string(runningSum)});

    // Each page footer sums the rows printed on its page; a group that goes
    // on over a page break has its header printed again above its rows.
    std::map<std::string, const Row*> byId;
    for (std::size_t i = 0; i < kRows.size(); ++i) byId["r" + std::to_string(i + 1)] = &kRows[i];
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        int pageSum = 0;
        std::string lastGroupHeader;
        bool firstRow = true;
        for (const Printed& m : pages[p]) {
            if (m.Name == "GroupName") lastGroupHeader = m.Text;
            if (m.Name != "RowId") continue;
            const Row* row = byId.at(m.Text);
            if (row->V) pageSum += *row->V;
            if (firstRow) {
                EXPECT_EQ(lastGroupHeader, row->Group) << m.Text;
            }
            firstRow = false;
        }
        EXPECT_EQ(TextsOf({pages[p]}, "PageSum"), std::vector<std::string>{std::to_string(pageSum)});
    }
}

TEST(EngineEndToEnd, TitleSubreportLongerThanAPageGoesOnWithoutANewTitle)
{
    AuthorReport r;
    // The title's sub-report gets 30 rows of 18 pixels: more than a page.
    auto* titleRows = dynamic_cast<TqlrMasterData*>(r.report.FindObject("TitleSubData"));
    ASSERT_NE(titleRows, nullptr);
    titleRows->SetRowCount(30);
    ASSERT_TRUE(r.Run()) << r.Errors();
    auto* store = dynamic_cast<TqlrPreviewPages*>(r.report.PreviewPages());
    const auto pages = ReadPages(store);
    ASSERT_GE(pages.size(), 2u);
    std::vector<std::string> rows;
    for (int i = 1; i <= 30; ++i) rows.push_back("T" + std::to_string(i));
    EXPECT_EQ(TextsOf(pages, "TitleRow"), rows);
    EXPECT_EQ(TextsOf(pages, "TitleText").size(), 1u);
    EXPECT_EQ(TextsOf({pages[1]}, "TitleText").size(), 0u);
}

// Report code reaches the engine, bands, pages, memos and the outline while
// the report runs: each expression evaluated from the first row's
// BeforePrint, with the value it must give.
TEST(EngineEndToEnd, ScriptExpressionsDuringARun)
{
    AuthorReport r;
    auto* lines = r.Memo(dynamic_cast<TqlrBand*>(r.report.FindObject("ReportTitle1")), "Lines", "first\r\nsecond", 0, 18,
                         200, 90);
    (void)lines;
    struct Case {
        const char* expression;
        std::function<std::string()> expected;
    };
    const Case cases[] = {
        {"Engine.FreeSpace", [&] { return rtl::VarToStr(rtl::Variant(static_cast<double>(r.engine->FreeSpace()))); }},
        {"MasterData1.Overflow", [] { return std::string("False"); }},
        {"GH1.Overflow", [] { return std::string("False"); }},
        {"Page1.Objects.Count", [&] { return std::to_string(r.page->Objects().size()); }},
        {"Page1.AllObjects.Count", [&] { return std::to_string(r.page->AllObjects().size()); }},
        {"Lines.Lines.Count", [] { return std::string("2"); }},
        {"Lines.Lines[1]", [] { return std::string("second"); }},
        {"Lines.AnsiText", [] { return std::string("first\r\nsecond"); }},
        {"Engine.FreeSpace > 0", [] { return std::string("True"); }},
        {"Engine.GetAnchorPage('here')", [] { return std::string("1"); }},
    };
    auto* data = dynamic_cast<TqlrBand*>(r.report.FindObject("MasterData1"));
    std::vector<std::pair<std::string, std::string>> got;
    bool done = false;
    r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
        if (c != data || done) return;
        done = true;
        r.report.Calc("Engine.AddAnchor('here')");
        for (const Case& k : cases) got.emplace_back(rtl::VarToStr(r.report.Calc(k.expression)), k.expected());
        r.report.Calc("Outline.AddItem('From a script')");
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(got.size(), std::size(cases)) << r.Errors();
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].first, got[i].second) << cases[i].expression;
    EXPECT_EQ(r.Errors(), "");
    auto* outline = r.report.PreviewPages()->Outline();
    outline->LevelRoot();
    ASSERT_GE(outline->GetCount(), 1);
    std::string text;
    int page = -1, top = -1;
    outline->GetItem(0, text, page, top);
    EXPECT_EQ(text, "From a script");
    EXPECT_EQ(page, 0);
}
