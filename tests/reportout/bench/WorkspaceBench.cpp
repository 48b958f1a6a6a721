// Preview workspace speed: a 1,000-page fake report painted at zoom 1 and
// 0.25, and scrolled through from top to bottom in screen-sized steps with
// a repaint each.  Reports the times and always succeeds.
//
//   build/tests/reportout_workspace_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gui/Forms.h"
#include "reportout/qlrPreviewWorkspace.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Pages with a title, a dozen lines of text and a box.
class TPages : public qlr::IqlrWorkspacePages {
public:
    int Count() override { return 1000; }
    void DrawPage(int index, gui::TCanvas* c, long double sx, long double sy, int ox, int oy) override
    {
        ++Drawn;
        c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        c->Font()->SetHeight(-static_cast<int>(16 * sy) - 1);
        c->TextOut(ox + static_cast<int>(60 * sx), oy + static_cast<int>(60 * sy), "Page " + std::to_string(index + 1));
        for (int l = 0; l < 12; ++l)
            c->TextOut(ox + static_cast<int>(60 * sx), oy + static_cast<int>((120 + 40 * l) * sy),
                       "Total solar eclipse, contact times and altitude");
        c->Rectangle(ox + static_cast<int>(50 * sx), oy + static_cast<int>(50 * sy), ox + static_cast<int>(744 * sx),
                     oy + static_cast<int>(1073 * sy));
    }
    void ObjectOver(int, int, int, gui::TMouseButton, gui::TShiftState, long double, int, int, bool, gui::TCursor&,
                    bool) override
    {
    }
    bool PageTopMargin(int, long double& m) override
    {
        m = 10;
        return true;
    }
    long Drawn = 0;
};

} // namespace

int main()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 1000, 800);
    TPages pages;
    for (long double zoom : {1.0L, 0.25L}) {
        auto* ws = new qlr::TqlrPreviewWorkspace(&form);
        ws->SetParent(&form);
        ws->SetBounds(0, 0, 980, 760);
        ws->SetZoom(zoom);
        ws->SetPreviewPages(&pages);
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 1000; ++i) ws->AddPageItem(794, 1123);
        ws->LayOutPages(ws->ViewWidth() - 26);
        ws->UpdateScrollRanges();
        ws->SetHorzPage(ws->ViewWidth());
        ws->SetVertPage(ws->ViewHeight());
        const double layout = Since(start);
        gui::TBitmap bmp(ws->Width(), ws->Height());
        pages.Drawn = 0;
        start = std::chrono::steady_clock::now();
        ws->PaintTo(bmp.Canvas(), 0, 0);
        const double paint = Since(start);
        const long drawnOnce = pages.Drawn;
        start = std::chrono::steady_clock::now();
        int steps = 0;
        while (ws->VertPosition() < ws->VertRange() - ws->VertPage() && steps < 100000) {
            ws->SetVertPosition(ws->VertPosition() + ws->ViewHeight());
            ws->PaintTo(bmp.Canvas(), 0, 0);
            ++steps;
        }
        const double scroll = Since(start);
        std::printf("workspace, 1000 pages at zoom %.2f: layout %.1f ms, one paint %.1f ms (%ld pages drawn), "
                    "scrolling through in %d screens %.1f ms (%.2f ms a screen)\n",
                    static_cast<double>(zoom), layout, paint, drawnOnce, steps, scroll, steps ? scroll / steps : 0.0);
        delete ws;
    }
    return 0;
}
