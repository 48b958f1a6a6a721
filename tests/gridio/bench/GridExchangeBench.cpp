// Grid exchange speed: copy and paste of 10,000 x 10 cells through the
// clipboard (target: each under 0.5 s), SaveToXLS of 50,000 x 10 cells
// (target under 3 s) and the counting pass of printing 10,000 rows x 8
// columns (target under 2 s).  Reports the times and always succeeds.
//
//   build/tests/gridio_exchange_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gridio/GridClipboard.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridOffice.h"
#include "gridio/GridPrint.h"
#include "platform/gui/Forms.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

grid::TExStringGrid* MakeGrid(gui::TForm& form, int rows)
{
    auto* g = new grid::TExStringGrid(&form);
    g->SetParent(&form);
    g->SetColCount(11);
    g->SetRowCount(rows + 1);
    g->SetOptions(g->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    return g;
}

} // namespace

int main()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    gridio::InstallGridIOHooks();
    gui::TForm form(nullptr);
    auto* g = MakeGrid(form, 10000);
    for (int r = 1; r <= 10000; ++r)
        for (int c = 1; c <= 10; ++c) g->SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
    g->SetSelection({1, 1, 10, 10000});
    auto start = std::chrono::steady_clock::now();
    gridio::TGridClipboard(*g).CopySelectionToClipboard();
    const double copy = Since(start);

    auto* h = MakeGrid(form, 10000);
    h->SetSelection({1, 1, 1, 1});
    start = std::chrono::steady_clock::now();
    gridio::TGridClipboard(*h).PasteSelectionFromClipboard();
    const double paste = Since(start);

    auto* x = MakeGrid(form, 50000);
    for (int r = 1; r <= 50000; ++r)
        for (int c = 1; c <= 10; ++c) x->SetCells(c, r, c % 2 ? std::to_string(r * c) : "t" + std::to_string(r));
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("gridio-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".xlsx"))
                                 .string();
    start = std::chrono::steady_clock::now();
    gridio::TGridOffice(*x).SaveToXLS(file, true);
    const double xls = Since(start);
    std::filesystem::remove(file);

    // The counting pass of a print layout: 10,000 rows x 8 columns.
    auto* p = MakeGrid(form, 10000);
    p->SetColCount(8);
    for (int r = 0; r <= 10000; ++r)
        for (int c = 0; c < 8; ++c) p->SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
    gui::TBitmap page;
    page.SetSize(794, 1123);
    gridio::TGridPrinter printer(*p);
    start = std::chrono::steady_clock::now();
    printer.PrintPreview(page.Canvas(), gui::TRect{0, 0, 794, 1123});  // counts all pages, draws page 1
    const double count = Since(start);

    std::printf("print count 10,000 x 8:    %8.1f ms (target < 2000; with page 1 drawn), %d pages\n", count,
                printer.PrintNrOfPages());
    std::printf("copy 10,000 x 10 cells:    %8.1f ms (target < 500)\n", copy);
    std::printf("paste 10,000 x 10 cells:   %8.1f ms (target < 500) %s\n", paste,
                h->Cells(10, 10000) == "r10000c10" ? "" : "(cells differ!)");
    std::printf("SaveToXLS 50,000 x 10:     %8.1f ms (target < 3000)\n", xls);
    return 0;
}
