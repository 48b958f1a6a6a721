// The report engine's printers: the paper table, one printer object per
// installed printer (papers, bins, resolution, margins, defaults, a canvas
// and the page-by-page job), and the one global list with the selected
// printer.  With no printer installed the list holds a virtual printer that
// lays out and previews but prints nothing.
//
// The rule a caller must know: sizes and margins are millimetres, already
// swapped for landscape; reach the list only through GlobalPrinters(), and
// the selected printer is initialised by the list before it is handed out.
//
// Example:
//   qlr::TqlrCustomPrinter* p = qlr::GlobalPrinters().Printer();
//   p->SetViewParams(9, 0, 0, gui::TPrinterOrientation::poLandscape);
//   // p->FPaperWidth == 297, p->FPaperHeight == 210
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/PrinterDevice.h"
#include "platform/gui/Printers.h"

namespace qlr {

// One row of the paper table: code, name, portrait sheet in 0.1 mm.
struct TPaperInfo {
    int Typ;
    const char* Name;
    int X, Y;
};

constexpr int PAPERCOUNT = 66;
extern const TPaperInfo PaperSizeTable[PAPERCOUNT];

// The portrait size in millimetres of a listed code; false, outputs
// untouched, otherwise.
bool LookupPaperSize(int code, long double& width, long double& height);

// Names with their codes (papers) or numbers (bins), in list order.
using TqlrNamedCodes = std::vector<std::pair<std::string, int>>;

class TqlrCustomPrinter;

// A printer's canvas: keeps its font sized for the printer's vertical
// resolution whenever the canvas is about to draw.
class TqlrPrinterCanvas : public gui::TCanvas {
public:
    explicit TqlrPrinterCanvas(TqlrCustomPrinter* printer);
    void SyncFontResolution();

private:
    TqlrCustomPrinter* FPrinter;
    bool FSyncing = false;
};

class TqlrCustomPrinter : public rtl::TObject {
public:
    TqlrCustomPrinter(const std::string& name, const std::string& port);
    ~TqlrCustomPrinter() override;

    virtual void Init() = 0;
    virtual void Abort() = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void BeginRAWDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void EndPage() = 0;
    virtual void EndRAWDoc() = 0;
    virtual void WriteRAWDoc(const std::string& buf) = 0;
    virtual void SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                               gui::TPrinterOrientation orientation) = 0;
    virtual void SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                                gui::TPrinterOrientation orientation, int bin, int duplex, int copies) = 0;
    virtual void PropertiesDlg() = 0;

    int BinIndex(int bin) const;
    int PaperIndex(int paper) const;
    // Unknown names give the first entry's number: 7 for bins, 256 for papers.
    int BinNameToNumber(const std::string& bin) const;
    int PaperNameToNumber(const std::string& paper) const;

    TqlrPrinterCanvas* Canvas() { return FCanvas.get(); }

    std::string FName, FPort, FTitle, FFileName;
    bool FInitialized = false;
    bool FPrinting = false;
    TqlrNamedCodes FPapers, FBins;
    int FPaper = 0;
    long double FPaperWidth = 0, FPaperHeight = 0;
    gui::TPrinterOrientation FOrientation = gui::TPrinterOrientation::poPortrait;
    long double FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
    gui::TPoint FDPI{0, 0};
    int FDefPaper = 0;
    long double FDefPaperWidth = 0, FDefPaperHeight = 0;
    gui::TPrinterOrientation FDefOrientation = gui::TPrinterOrientation::poPortrait;
    int FDefBin = 7, FDefDuplex = 1;
    // Chosen in the printer's settings dialog (-1: none); they override
    // what a job asks for until the job ends.
    int FBin = -1, FDuplex = -1;

protected:
    std::unique_ptr<TqlrPrinterCanvas> FCanvas;
};

// Lays out on the table's papers and prints nothing.
class TqlrVirtualPrinter : public TqlrCustomPrinter {
public:
    using TqlrCustomPrinter::TqlrCustomPrinter;
    void Init() override;
    void Abort() override {}
    void BeginDoc() override {}
    void BeginPage() override {}
    void BeginRAWDoc() override {}
    void EndDoc() override {}
    void EndPage() override {}
    void EndRAWDoc() override {}
    void WriteRAWDoc(const std::string&) override {}
    void SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                       gui::TPrinterOrientation orientation) override;
    void SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                        gui::TPrinterOrientation orientation, int bin, int duplex, int copies) override;
    void PropertiesDlg() override {}
};

// A printer of the device layer (gui::PrinterSystem()).
class TqlrPrinter : public TqlrCustomPrinter {
public:
    using TqlrCustomPrinter::TqlrCustomPrinter;
    ~TqlrPrinter() override;
    void Init() override;
    void Abort() override;
    void BeginDoc() override;
    void BeginPage() override;
    void BeginRAWDoc() override;
    void EndDoc() override;
    void EndPage() override;
    void EndRAWDoc() override;
    void WriteRAWDoc(const std::string& buf) override;
    void SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                       gui::TPrinterOrientation orientation) override;
    void SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                        gui::TPrinterOrientation orientation, int bin, int duplex, int copies) override;
    void PropertiesDlg() override;

    void RecreateDC();
    // Reads resolution, sheet and margins (whole millimetres); a zero
    // resolution shows "Printer selected is not valid" and answers false.
    bool UpdateDeviceCaps();
    // The device-mode record last sent (for callers that show it).
    const gui::TPrinterDevMode& DeviceMode() const { return FMode; }

private:
    bool OpenDeviceMode();
    void CloseDeviceMode();
    void EnsureDC();

    std::unique_ptr<gui::IPrinterDevice> FDevice;
    gui::TPrinterDevMode FMode;
    bool FHasMode = false;
    bool FDC = false;
};

class TqlrPrinters : public rtl::TObject {
public:
    TqlrPrinters();
    ~TqlrPrinters() override;

    void Clear();
    void FillPrinters();
    // Case-insensitive; -1 when absent.
    int IndexOf(const std::string& name) const;
    int PrinterIndex() const { return FPrinterIndex; }
    // -1 selects the system default printer by name (may stay -1); the
    // printer selected is initialised.  An index past the end raises
    // rtl::EListError.
    void SetPrinterIndex(int index);
    TqlrCustomPrinter* Printer() const { return GetItem(FPrinterIndex); }
    TqlrCustomPrinter* GetItem(int index) const;
    int Count() const { return static_cast<int>(FPrinterList.size()); }
    std::string GetDefaultPrinterName() const;

    bool FHasPhysicalPrinters = false;
    std::vector<std::string> FPrinters;
    int FPrinterIndex = -1;

private:
    std::vector<std::unique_ptr<TqlrCustomPrinter>> FPrinterList;
};

// The global list, made on first use.
TqlrPrinters& GlobalPrinters();
// Drops the global list so that the next use builds it anew (after the
// printer back-end changed).
void ResetGlobalPrinters();

// Registers report output's services with the report engine: the paper
// table, the selected printer's defaults and the password dialog.
void RegisterReportOutput();

} // namespace qlr
