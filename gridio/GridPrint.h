// GridPrint: printing and previewing a string grid after its print
// settings (gridio::TPrintSettings).  A layout run works in 0.1 mm with y
// growing upward (rows go into negative y): column strips that fit the page
// width, row pages that fit its height, optional fit-to-page scaling,
// repeated fixed rows and columns, header and footer with date, time, page
// number and title, page frames and cell borders.  Pages come strip by
// strip.  Drawing maps the units onto the target canvas at its own
// resolution (a printer's canvas, or any canvas for a preview).
//
// The rule a caller must know: a preview draws the page PreviewPage only;
// every run lays out the pages before it too.
//
//   gridio::TGridPrinter pr(*grid);
//   pr.OnPrintStart = [](rtl::TObject*, int pages, int& from, int& to) {};
//   pr.Print(*gui::Printer());
//   pr.SetPreviewPage(2);
//   pr.PrintPreview(bitmap.Canvas(), gui::TRect{0, 0, 794, 1123});
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "grid/ExGrid.h"
#include "gridio/GridPrintSettings.h"
#include "platform/gui/Printers.h"

namespace gridio {

enum class TPrintRunMode { prmPreviewDraw, prmPrint, prmCountPrint, prmCountPreview };

class TGridPrinter {
public:
    explicit TGridPrinter(grid::TExStringGrid& grid);

    // --- print and preview operations ------------------------------------------
    void Print(gui::TPrinter& printer);
    void PrintRect(gui::TPrinter& printer, const gui::TGridRect& r) { PrintRange(printer, r, false); }
    void PrintSelection(gui::TPrinter& printer);
    // Only the selected rows and columns (both operations restrict both).
    void PrintSelectedRows(gui::TPrinter& printer);
    void PrintSelectedCols(gui::TPrinter& printer) { PrintSelectedRows(printer); }
    void PrintPreview(gui::TCanvas* canvas, const gui::TRect& displayRect);
    void PrintPreviewRect(gui::TCanvas* canvas, const gui::TRect& displayRect, const gui::TGridRect& r)
    {
        PreviewRange(canvas, displayRect, false, r);
    }
    void PrintPreviewSelectedRows(gui::TCanvas* canvas, const gui::TRect& displayRect);
    void PrintRange(gui::TPrinter& printer, const gui::TGridRect& r, bool selectedOnly);
    void PreviewRange(gui::TCanvas* canvas, const gui::TRect& displayRect, bool selectedOnly, const gui::TGridRect& r);
    // One layout run on canvas (page size from PageRect for the preview and
    // counting modes, the canvas's clip box for prmPrint); the pages laid out.
    int BuildPrintPages(gui::TCanvas* canvas, TPrintRunMode mode, bool selectedOnly, int pageTotal);

    // Draws page 1 of the grid (or of gridRect) on canvas, the page being
    // drawRect; no export notifications.
    void PrintDraw(gui::TCanvas* canvas, const gui::TRect& drawRect)
    {
        PrintDrawRect(canvas, drawRect, gui::TGridRect{0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1});
    }
    void PrintDrawRect(gui::TCanvas* canvas, const gui::TRect& drawRect, const gui::TGridRect& gridRect);
    // The printer driver's landscape rotation (DC_ORIENTATION): 90, 270 or 0.
    int PrinterOrientationDegrees() const;
    // Rotated text on a printer turns the other way when the driver's
    // landscape rotation is not 270.
    bool PrinterDriverFix = false;

    int PreviewPage() const { return FPageFrom; }
    void SetPreviewPage(int page) { FPageFrom = FPageTo = page; }
    int PrintNrOfPages() const { return FPageNum; }
    bool FastPrint = false;

    // The device rectangle a preview draws the page in (or the page size in
    // device pixels of a counting pass).
    gui::TRect PageRect;

    // --- events ---------------------------------------------------------------------
    std::function<void(rtl::TObject*, int nrOfPages, int& fromPage, int& toPage)> OnPrintStart;
    std::function<void(rtl::TObject*, gui::TCanvas*, int pageNr, int pageXSize, int pageYSize)> OnPrintPage;
    std::function<void(rtl::TObject*, int aRow, bool& newPage)> OnPrintNewPage;
    std::function<void(rtl::TObject*, gui::TCanvas*, int lastRow, int lastRowOffset, int lastPage, int pageXSize,
                       int pageYSize)>
        OnPrintPageDone;
    std::function<void(rtl::TObject*, int pageNr, bool& cancel)> OnPrintCancel;
    std::function<void(rtl::TObject*, int aCol, int& width)> OnPrintSetColumnWidth;
    std::function<void(rtl::TObject*, int aRow, int& height)> OnPrintSetRowHeight;
    std::function<void(rtl::TObject*, double& scaleFactor, bool& allow)> OnFitToPage;

    // --- the last run, for callers that follow it -----------------------------------
    const std::vector<int>& MaxWidths() const { return FMaxWidths; }
    // The page number texts drawn (or that would be drawn), in page order.
    const std::vector<std::string>& PageNumberTexts() const { return FPageTexts; }
    double FitFactor() const { return FE; }

    // The text-origin rule for rotated text (see the implementation).
    static void RotatedTextOrigin(gui::TRect& r, int hAlign, int vAlign, int angle, int cw, int sh, int sw, int ch);

private:
    struct TRun;
    void MeasureCell(TRun& run, int aCol, int aRow, int& w, int& h);
    void ComputeColumnWidths(TRun& run);
    int RowHeight(TRun& run, int aRow);
    int PrintGridRow(TRun& run, int y, int fromCol, int toCol, int aRow);
    void HeaderFooter(TRun& run);
    void PageFrame(TRun& run, int fromCol, int toCol, int y);
    void StartNextPage(TRun& run);
    std::string PageNumberText(TRun& run) const;
    bool IsPrintedRow(bool selectedOnly, int r) const;
    bool IsPrintedColumn(bool selectedOnly, int c) const;

    grid::TExStringGrid& FGrid;
    TPrintSettings& FPS;
    gui::TGridRect FRect{};
    int FPageFrom = 1, FPageTo = 1, FPageNum = 0;
    double FE = 1.0;
    std::vector<int> FMaxWidths, FIndents;
    std::vector<std::string> FPageTexts;
    gui::TPrinter* FPrinter = nullptr;
};

} // namespace gridio
