// The printer: the list of printers, the print job (BeginDoc / NewPage /
// EndDoc / Abort), its canvas and the device capabilities.  A job goes to
// the selected system printer, or to a PDF file when an output file is set
// (which is how the tests print).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"

namespace gui {

class EPrinter : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum class TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public rtl::TObject {
public:
    TPrinter();
    ~TPrinter() override;

    // Names of the installed printers.
    std::vector<std::string> Printers() const;
    // Index into Printers(); -1 is the default printer.
    int PrinterIndex() const { return FPrinterIndex; }
    void SetPrinterIndex(int index);

    // True between BeginDoc and EndDoc or Abort.
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    // Changing these while printing raises EPrinter "Printing in progress".
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation orientation);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    int Copies() const { return FCopies; }
    void SetCopies(int copies);

    // BeginDoc raises EPrinter "Printing in progress" during a job, or
    // "Printer selected is not valid" when the job cannot start; NewPage,
    // EndDoc and Abort raise EPrinter "Printer is not currently printing"
    // outside one.  An aborted job leaves no output file.  Every job, also
    // one that could not start or failed, leaves the printer ready for the
    // next one with any settings.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    int PageNumber() const { return FPageNumber; }

    // Draws on the current page; measures text at the printer's resolution
    // at any time.  Its font's PixelsPerInch is the printer's resolution.
    TCanvas* Canvas();
    // Printable area in device pixels.
    int PageWidth() const;
    int PageHeight() const;
    // As TCanvas::GetDeviceCaps, with the paper's physical size and offsets.
    int GetDeviceCaps(int index) const;

    // The PDF file jobs are written to; empty: the system printer.
    const std::string& OutputFileName() const { return FOutputFileName; }
    void SetOutputFileName(const std::string& fileName);
    // Device resolution in dots per inch (default 600).
    int Resolution() const { return FResolution; }
    void SetResolution(int dpi);
    // Paper size and unprintable margins in millimetres (default A4 with
    // margins of 6.35 mm; a system printer's own margins apply when larger).
    void SetPaper(double widthMm, double heightMm);
    double PaperWidthMm() const;
    double PaperHeightMm() const;
    void SetMargins(double leftMm, double topMm, double rightMm, double bottomMm);

    struct Impl;

private:
    void CheckNotPrinting() const;
    void CheckPrinting() const;
    void Configure() const;
    void UpdateGeometry() const;

    std::unique_ptr<Impl> FImpl;
    std::unique_ptr<TCanvas> FCanvas;
    int FPrinterIndex = -1;
    bool FPrinting = false;
    bool FAborted = false;
    TPrinterOrientation FOrientation = TPrinterOrientation::poPortrait;
    std::string FTitle;
    int FCopies = 1;
    int FPageNumber = 0;
    std::string FOutputFileName;
    int FResolution = 600;
    int FOrientationDegrees = 90;

public:
    // The driver's landscape rotation as the device-capabilities query
    // DC_ORIENTATION reports it: 90, 270, or 0 without landscape (90 for
    // the PDF printer; settable for tests).
    int OrientationDegrees() const { return FOrientationDegrees; }
    void SetOrientationDegrees(int degrees) { FOrientationDegrees = degrees; }
};

// The process's printer, made on first use.
TPrinter* Printer();
// Replaces the process's printer (taking ownership); returns the old one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

} // namespace gui
