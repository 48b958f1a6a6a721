// Grid file speed: SaveToCSV and LoadFromCSV of 100,000 rows x 10 columns
// (target: each under 1 s on one core) and the native text stream of the
// same grid, and the binary cell stream of 10,000 cells with properties
// (target under 0.5 s).  Reports the times and always succeeds.
//
//   build/tests/gridio_files_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gridio/GridBinary.h"
#include "gridio/GridFiles.h"
#include "platform/gui/Forms.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    gui::TForm form(nullptr);
    auto* g = new grid::TExStringGrid(&form);
    g->SetParent(&form);
    g->SetColCount(11);
    g->SetRowCount(100001);
    g->SetSaveFixedCells(false);
    for (int r = 1; r <= 100000; ++r)
        for (int c = 1; c <= 10; ++c) g->SetCells(c, r, "r" + std::to_string(r) + (c % 3 ? "" : ",\"x\""));
    const std::string file =
        (std::filesystem::temp_directory_path() / ("gridio-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".csv")).string();

    gridio::TGridFiles files(*g);
    auto start = std::chrono::steady_clock::now();
    files.SaveToCSV(file, false);
    const double save = Since(start);

    auto* h = new grid::TExStringGrid(&form);
    h->SetParent(&form);
    h->SetSaveFixedCells(false);
    gridio::TGridFiles in(*h);
    start = std::chrono::steady_clock::now();
    in.LoadFromCSV(file, -1);
    const double load = Since(start);
    const bool intact = h->RowCount() == 100001 && h->Cells(3, 50000) == "r50000,\"x\"";
    std::filesystem::remove(file);

    rtl::TMemoryStream stream;
    start = std::chrono::steady_clock::now();
    files.SaveToStream(stream);
    stream.SetPosition(0);
    in.LoadFromStream(stream);
    const double streamed = Since(start);

    auto* b = new grid::TExStringGrid(&form);
    b->SetParent(&form);
    b->SetColCount(10);
    b->SetRowCount(1000);
    for (int r = 0; r < 1000; ++r)
        for (int c = 0; c < 10; ++c) {
            b->SetCells(c, r, "cell " + std::to_string(r * 10 + c));
            b->GetCellProperties(c, r)->SetBrushColor(static_cast<gui::TColor>(r * 10 + c));
        }
    rtl::TMemoryStream bin;
    start = std::chrono::steady_clock::now();
    gridio::SaveToBinStream(*b, bin);
    const double binSave = Since(start);
    bin.SetPosition(0);
    start = std::chrono::steady_clock::now();
    gridio::LoadFromBinStream(*h, bin);
    const double binLoad = Since(start);
    const bool binIntact = h->Cells(3, 500) == "cell 5003" && h->FindCellProperties(3, 500) &&
                           h->FindCellProperties(3, 500)->BrushColor() == 5003;

    std::printf("SaveToCSV 100000 x 10:   %8.1f ms (target < 1000)\n", save);
    std::printf("LoadFromCSV 100000 x 10: %8.1f ms (target < 1000)%s\n", load, intact ? "" : "  CONTENT WRONG");
    std::printf("text stream save + load: %8.1f ms\n", streamed);
    std::printf("binary stream 10000 cells with properties: save %8.1f ms, load %8.1f ms (target < 500)%s\n",
                binSave, binLoad, binIntact ? "" : "  CONTENT WRONG");
    return 0;
}
