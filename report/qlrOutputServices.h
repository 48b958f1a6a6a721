// The report engine's door to report output: the printers, the paper table
// and the dialogs (password, print, inherit) that the engine calls but that
// belong to report output (reportout/), which builds on this folder.
// reportout/ implements the interface and registers it at start-up; until
// it does, a default serves (the printer through gui::TPrinter, the
// password dialog through the platform's dialog service).
//
// The rule a caller must know: always reach it through OutputServices();
// a registered implementation stays until another replaces it.
//
// Example:
//   std::string typed;
//   if (qlr::OutputServices().InputPassword(typed) && typed == password) ...
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"

namespace gui {
class TForm;
}

namespace qlr {

class TqlrReport;
enum class TqlrDuplexMode;

// The current printer as the prepared pages print on it.  Sizes and
// margins are millimetres of the paper now selected; the canvas is a
// printer canvas (IsPrinterCanvas) in device pixels.
class IqlrPrinter {
public:
    virtual ~IqlrPrinter() = default;
    // The device could be opened; printing starts only then.
    virtual bool Initialized() = 0;
    virtual gui::TCanvas* Canvas() = 0;
    virtual gui::TPoint DPI() = 0;
    virtual long double PaperWidth() = 0;
    virtual long double PaperHeight() = 0;
    virtual long double LeftMargin() = 0;
    virtual long double TopMargin() = 0;
    virtual long double RightMargin() = 0;
    virtual long double BottomMargin() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The file the job is written to; empty prints to the device.
    virtual void SetFileName(const std::string& fileName) = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
    // Aborts the job, then ends it.
    virtual void Abort() = 0;
    // Selects a paper for measuring; 256 takes the given size.
    virtual void SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                               gui::TPrinterOrientation orientation) = 0;
    // Configures the device for the next pages (duplex: the report's
    // duplex mode as a number).
    virtual void SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                                gui::TPrinterOrientation orientation, int bin, int duplex, int copies) = 0;
};

class TqlrCustomPreview;

// The preview window ShowPreparedReport opens (it owns one preview control).
class IqlrPreviewWindow {
public:
    virtual ~IqlrPreviewWindow() = default;
    virtual TqlrCustomPreview* Preview() = 0;
    // Applies the report's preview options.
    virtual void Init() = 0;
    // modal: returns when the window is closed.
    virtual void Show(bool modal) = 0;
    virtual void Close() = 0;
    // The status bar: the second panel, or the hint panel.
    virtual void SetMessageText(const std::string& value, bool isHint) = 0;
};

// The progress window (Cancel sets Terminated).
class IqlrProgressWindow {
public:
    virtual ~IqlrProgressWindow() = default;
    virtual void Execute(int maxValue, const std::string& msg, bool showBar, bool showCancel) = 0;
    virtual void SetMessage(const std::string& value) = 0;
    virtual bool Terminated() = 0;
};

// The defaults of the currently selected printer (millimetres).
struct TqlrPrinterDefaults {
    int DefPaper = 9;
    long double DefPaperWidth = 210, DefPaperHeight = 297;
    bool DefLandscape = false;
};

class IqlrOutputServices {
public:
    virtual ~IqlrOutputServices() = default;
    // The modal password dialog ("Password", "Enter the password:"); true
    // when confirmed, with the text typed.
    virtual bool InputPassword(std::string& password) = 0;
    // The paper table: true and the portrait size in millimetres for a
    // listed code; false, outputs untouched, otherwise.
    virtual bool LookupPaperSize(int code, long double& width, long double& height) = 0;
    virtual TqlrPrinterDefaults CurrentPrinterDefaults() = 0;

    // Printing (the defaults: no printer at all).
    virtual bool HasPhysicalPrinters() { return false; }
    // The current printer, nullptr when none.
    virtual IqlrPrinter* Printer() { return nullptr; }
    // Makes the named printer current when it is installed (case ignored).
    virtual void SelectPrinter(const std::string& /*name*/) {}
    // The print dialog over the report's print options; the modal result
    // (1: OK) and the duplex mode chosen.
    virtual int ShowPrintDialog(TqlrReport* /*report*/, TqlrDuplexMode& /*duplex*/) { return 2; }
    // A new progress window, nullptr for none.
    virtual std::unique_ptr<IqlrProgressWindow> CreateProgressWindow() { return nullptr; }
    // A new preview window for the report, nullptr for none.
    virtual std::unique_ptr<IqlrPreviewWindow> CreatePreviewWindow(TqlrReport* /*report*/) { return nullptr; }
    // The inheritance dialog titled "Error": "Base and inherited reports have
    // duplicate objects. What should we do?" with "Delete duplicates"
    // (preselected) and "Rename duplicates".  0 Cancel, 1 delete, 2 rename;
    // without a dialog the preselected choice.
    virtual int AskInheritDuplicates() { return 1; }
    // The window of a dialog page (page: the dialog page); onModify runs
    // after the user ends moving or sizing it.  The default is a plain
    // form that never reports such moves.
    virtual std::unique_ptr<gui::TForm> CreateDialogForm(rtl::TComponent* page, std::function<void()> onModify);
};

// The services in use (the default until reportout/ registers its own).
IqlrOutputServices& OutputServices();
// Replaces the services; returns the previous registration (nullptr
// restores the default).
std::unique_ptr<IqlrOutputServices> RegisterOutputServices(std::unique_ptr<IqlrOutputServices> services);

} // namespace qlr
