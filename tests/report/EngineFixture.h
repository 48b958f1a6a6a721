// A small recording store of prepared pages for the band engine's tests:
// it keeps, per page, the bands handed to it with their place and the texts
// of their memos, supports cut and paste, passes and the last used Y, and
// writes the whole as XML for comparison with hand-written golden files.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrEngine.h"
#include "report/qlrPreviewPages.h"
#include "platform/rtl/Streams.h"

namespace enginetest {

using namespace qlr;

inline std::string Num(long double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

struct Rec {
    TqlrBand* Band = nullptr;
    std::string Name;
    long double L = 0, T = 0, W = 0, H = 0;
    std::string Children;  // XML of the visible children
};

struct Page {
    std::vector<Rec> Objects;
    long double Width = 0, Height = 0;  // set by UpdatePageDimensions
};

class RecordingPages : public TqlrCustomPreviewPages {
public:
    explicit RecordingPages(TqlrReport* report) : TqlrCustomPreviewPages(report) { CurPage = -1; }
    std::vector<Page> Pages;
    std::vector<Rec> Cutted;
    int FirstPageIndex = -1, FirstObjectIndex = 0, Passes = 0;
    // Memos of the bands, in the order added (for tests that read texts).
    std::vector<std::pair<std::string, std::string>> Texts;

    int GetCount() override { return static_cast<int>(Pages.size()); }
    void Clear() override
    {
        Pages.clear();
        Cutted.clear();
        Texts.clear();
        CurPage = -1;
    }
    void AddPage(TqlrReportPage*) override
    {
        ++CurPage;
        if (CurPage < GetCount() && AddPageAction != TqlrAddPageAction::apAdd) return;
        Pages.emplace_back();
        AddPageAction = TqlrAddPageAction::apWriteOver;
        CurPage = GetCount() - 1;
        if (Report()->OnProgress) Report()->OnProgress(Report(), TqlrProgressType::ptRunning, CurPage + 1);
    }
    void AddObject(TqlrComponent* obj) override
    {
        auto* band = dynamic_cast<TqlrBand*>(obj);
        if (!band || !band->Visible() || CurPage < 0) return;
        Rec r{band, band->Name(), band->Left(), band->Top(), band->Width(), band->Height(), {}};
        for (TqlrComponent* c : band->Objects()) {
            if (!c->Visible()) continue;
            r.Children += "<" + c->Name() + " t=\"" + Num(c->Top()) + "\" h=\"" + Num(c->Height()) + "\"";
            if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) {
                r.Children += ">" + m->Text() + "</" + c->Name() + ">";
                Texts.emplace_back(c->Name(), m->Text());
            } else {
                r.Children += "/>";
            }
        }
        Pages[static_cast<std::size_t>(CurPage)].Objects.push_back(r);
    }
    void BeginPass() override
    {
        ++Passes;
        FirstPageIndex = GetCount() - 1;
        FirstObjectIndex = FirstPageIndex >= 0 ? static_cast<int>(Pages.back().Objects.size()) : 0;
    }
    void ClearFirstPassPages() override
    {
        if (FirstPageIndex < 0) {
            Pages.clear();
        } else {
            Pages.resize(static_cast<std::size_t>(FirstPageIndex) + 1);
            Pages.back().Objects.resize(static_cast<std::size_t>(FirstObjectIndex));
        }
        Texts.clear();
        CurPage = FirstPageIndex;
    }
    int GetCurPosition() override
    {
        return CurPage < 0 ? 0 : static_cast<int>(Pages[static_cast<std::size_t>(CurPage)].Objects.size());
    }
    void CutObjects(int position) override
    {
        auto& objs = Pages[static_cast<std::size_t>(CurPage)].Objects;
        Cutted.assign(objs.begin() + position, objs.end());
        objs.resize(static_cast<std::size_t>(position));
    }
    void PasteObjects(long double x, long double y) override
    {
        if (Cutted.empty()) return;
        const long double dx = x - Cutted.front().L, dy = y - Cutted.front().T;
        for (Rec r : Cutted) {
            r.L += dx;
            r.T += dy;
            Pages[static_cast<std::size_t>(CurPage)].Objects.push_back(r);
        }
        Cutted.clear();
    }
    bool BandExists(TqlrBand* band) override
    {
        for (const Rec& r : Pages[static_cast<std::size_t>(CurPage)].Objects)
            if (r.Band == band || (dynamic_cast<TqlrPageFooter*>(r.Band) && dynamic_cast<TqlrPageFooter*>(band)) ||
                (dynamic_cast<TqlrColumnFooter*>(r.Band) && dynamic_cast<TqlrColumnFooter*>(band)))
                return true;
        return false;
    }
    long double GetLastY(long double column) override
    {
        long double y = 0;
        if (CurPage < 0) return 0;
        for (const Rec& r : Pages[static_cast<std::size_t>(CurPage)].Objects) {
            if (dynamic_cast<TqlrPageFooter*>(r.Band) || dynamic_cast<TqlrOverlay*>(r.Band)) continue;
            const bool any = column == 0 || dynamic_cast<TqlrPageHeader*>(r.Band) ||
                             dynamic_cast<TqlrReportTitle*>(r.Band);
            if (!any && std::fabs(static_cast<double>(r.L - column)) > 0.001) continue;
            y = std::max(y, r.T + r.H);
        }
        return y;
    }
    void UpdatePageDimensions(TqlrReportPage*, long double width, long double height) override
    {
        if (CurPage < 0) return;
        Pages[static_cast<std::size_t>(CurPage)].Width = width;
        Pages[static_cast<std::size_t>(CurPage)].Height = height;
    }

    std::string Xml() const
    {
        std::string s = "<pages>\n";
        for (std::size_t i = 0; i < Pages.size(); ++i) {
            s += "  <page n=\"" + std::to_string(i) + "\"";
            if (Pages[i].Height > 0) s += " w=\"" + Num(Pages[i].Width) + "\" h=\"" + Num(Pages[i].Height) + "\"";
            s += ">\n";
            for (const Rec& r : Pages[i].Objects) {
                s += "    <" + r.Name + " l=\"" + Num(r.L) + "\" t=\"" + Num(r.T) + "\" h=\"" + Num(r.H) + "\"";
                s += r.Children.empty() ? "/>\n" : ">" + r.Children + "</" + r.Name + ">\n";
            }
            s += "  </page>\n";
        }
        return s + "</pages>\n";
    }
    // Names of the bands in output order, page breaks as "|".
    std::string Order() const
    {
        std::string s;
        for (std::size_t i = 0; i < Pages.size(); ++i) {
            if (i) s += "|";
            for (const Rec& r : Pages[i].Objects) s += (s.empty() || s.back() == '|' ? "" : " ") + r.Name;
        }
        return s;
    }
    // The memo texts in output order joined by blanks.
    std::string AllTexts(const std::string& memoName = "") const
    {
        std::string s;
        for (auto& [name, text] : Texts)
            if (memoName.empty() || name == memoName) s += (s.empty() ? "" : " ") + text;
        return s;
    }
};

// A report with one page of 100 x 100 mm without margins (377.95 pixels
// square), the engine and the recording store.
struct Rig {
    TqlrReport report{nullptr};
    RecordingPages* pages;
    TqlrEngine* engine;
    TqlrReportPage* page;
    std::vector<std::unique_ptr<TqlrUserDataSet>> dataSets;

    Rig()
    {
        auto e = std::make_unique<TqlrEngine>(&report);
        engine = e.get();
        report.SetEngine(std::move(e));
        auto p = std::make_unique<RecordingPages>(&report);
        pages = p.get();
        report.SetPreviewPages(std::move(p));
        report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        page = AddPage("Page1");
    }
    TqlrReportPage* AddPage(const std::string& name)
    {
        auto* pg = new TqlrReportPage(&report);
        pg->SetName(name);
        pg->SetLeftMargin(0);
        pg->SetRightMargin(0);
        pg->SetTopMargin(0);
        pg->SetBottomMargin(0);
        pg->SetPaperSize(256);
        pg->SetPaperWidth(100);
        pg->SetPaperHeight(100);
        return pg;
    }
    template <typename B> B* Band(const std::string& name, long double top, long double height, TqlrReportPage* on = nullptr)
    {
        auto* b = new B(on ? on : page);
        b->SetName(name);
        b->SetBounds(0, top, 300, height);
        return b;
    }
    TqlrMemoView* Memo(TqlrBand* band, const std::string& name, const std::string& text, long double top = 0,
                       long double height = 18, long double left = 0, long double width = 200)
    {
        auto* m = new TqlrMemoView(band);
        m->SetName(name);
        m->SetBounds(left, top, width, height);
        m->SetText(text);
        return m;
    }
    // A data set of n records; Value(field) comes from values(row, field).
    TqlrUserDataSet* Data(const std::string& name, int n,
                          std::function<rtl::Variant(int, const std::string&)> values = nullptr)
    {
        auto ds = std::make_unique<TqlrUserDataSet>(nullptr);
        ds->SetName(name);
        ds->SetRangeEnd(TqlrRangeEnd::reCount);
        ds->SetRangeEndCount(n);
        if (values) {
            TqlrUserDataSet* raw = ds.get();
            ds->OnGetValue = [raw, values](const std::string& f, rtl::Variant& v) { v = values(raw->RecNo(), f); };
        }
        dataSets.push_back(std::move(ds));
        return dataSets.back().get();
    }
    bool Run() { return report.PrepareReport(); }
    std::string Errors() const { return report.Errors()->Text(); }
};

inline std::string ReadGolden(const std::string& name)
{
    std::ifstream f(std::string(TEST_DATA_DIR) + "/engine/" + name);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

} // namespace enginetest
