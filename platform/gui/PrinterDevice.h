// The printer device layer: the installed printers, per printer its papers
// (name and paper code), bins (name and number), device-mode record,
// measured capabilities for that record, and its jobs (page by page, or raw
// bytes sent unchanged).  A back-end serves it: the system's, or a fake
// that tests install with SetPrinterSystem.
//
// The rule a caller must know: capabilities are always those of the
// device-mode record last given with SetDevMode; a device mode's fields
// count only where its Fields mask has their bit (DM_* below).
//
// Example:
//   auto dev = gui::PrinterSystem().Open("Office");
//   gui::TPrinterDevMode dm;
//   if (dev && dev->GetDevMode(dm)) { dm.Fields = gui::DM_PAPERSIZE; dm.PaperSize = 9;
//                                     dev->SetDevMode(dm); auto caps = dev->Caps(); }
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gui {

class TCanvas;

// Bits of TPrinterDevMode::Fields.
constexpr int DM_ORIENTATION = 0x1;
constexpr int DM_PAPERSIZE = 0x2;
constexpr int DM_PAPERLENGTH = 0x4;
constexpr int DM_PAPERWIDTH = 0x8;
constexpr int DM_COPIES = 0x100;
constexpr int DM_DEFAULTSOURCE = 0x200;
constexpr int DM_DUPLEX = 0x1000;

// A printer's settings: paper code, orientation (1 portrait, 2 landscape),
// custom length and width in 0.1 mm, copies, bin number, duplex (1 simplex,
// 2 vertical, 3 horizontal).
struct TPrinterDevMode {
    int Fields = 0;
    int PaperSize = 9;
    int Orientation = 1;
    int PaperLength = 0;
    int PaperWidth = 0;
    int Copies = 1;
    int DefaultSource = 7;
    int Duplex = 1;
    bool operator==(const TPrinterDevMode&) const = default;
};

// Measured capabilities in device pixels (LogPixels in dots per inch).
struct TPrinterCaps {
    int LogPixelsX = 0, LogPixelsY = 0;
    int PhysicalWidth = 0, PhysicalHeight = 0;
    int PhysicalOffsetX = 0, PhysicalOffsetY = 0;
    int HorzRes = 0, VertRes = 0;
};

using TPrinterNamedCodes = std::vector<std::pair<std::string, int>>;

// One opened printer.
class IPrinterDevice {
public:
    virtual ~IPrinterDevice() = default;
    // The driver's current device mode; false when it has none.
    virtual bool GetDevMode(TPrinterDevMode& mode) = 0;
    // Applies the fields of mode that its mask names.
    virtual void SetDevMode(const TPrinterDevMode& mode) = 0;
    virtual TPrinterNamedCodes Papers() = 0;
    virtual TPrinterNamedCodes Bins() = 0;
    virtual TPrinterCaps Caps() = 0;
    // Binds canvas to the printer: measuring outside a job, drawing on the
    // current page inside one.  nullptr unbinds.
    virtual void BindCanvas(TCanvas* canvas) = 0;
    // A job: fileName empty prints to the device, otherwise the job's
    // print-ready output goes to that file.
    virtual void StartDoc(const std::string& title, const std::string& fileName) = 0;
    virtual void StartPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
    virtual void AbortDoc() = 0;
    // A raw job: the bytes go to the printer unchanged.
    virtual void StartRawDoc(const std::string& title) = 0;
    virtual void WriteRaw(const std::string& bytes) = 0;
    virtual void EndRawDoc() = 0;
    // The printer's own settings dialog on mode; false when cancelled.
    virtual bool PropertiesDialog(TPrinterDevMode& mode) = 0;
};

class IPrinterSystem {
public:
    virtual ~IPrinterSystem() = default;
    virtual std::vector<std::string> PrinterNames() = 0;
    // The default printer as "name,driver,port" (the part before the first
    // comma is the name); empty when there is none.
    virtual std::string DefaultPrinterEntry() = 0;
    // nullptr when the printer cannot be opened.
    virtual std::unique_ptr<IPrinterDevice> Open(const std::string& name) = 0;
};

// The back-end in use (the system's unless replaced).
IPrinterSystem& PrinterSystem();
// Replaces the back-end; nullptr restores the system's.  Returns the old one.
std::unique_ptr<IPrinterSystem> SetPrinterSystem(std::unique_ptr<IPrinterSystem> system);

// A back-end of scripted printers for tests.
class TFakePrinterSystem : public IPrinterSystem {
public:
    struct TPrinterSpec {
        std::string Name;
        bool HasDevMode = true;
        TPrinterDevMode Mode;
        TPrinterNamedCodes Papers, Bins;
        int DpiX = 600, DpiY = 600;
        // Physical offsets in device pixels.
        int OffsetX = 0, OffsetY = 0;
        // Printable size = physical size minus these pixels on each axis.
        int LostX = 0, LostY = 0;
        // When set, Caps answers this whatever the device mode.
        std::shared_ptr<TPrinterCaps> CapsOverride;
        // The answer of the settings dialog: nullptr cancels.
        std::shared_ptr<TPrinterDevMode> DialogResult;
    };
    // What happened, for the tests: device-mode records set, job calls
    // ("StartDoc title|file", "StartPage", "EndPage", "EndDoc", "Abort",
    // "Raw ...").
    struct TLog {
        std::vector<TPrinterDevMode> Modes;
        std::vector<std::string> Calls;
    };

    std::vector<TPrinterSpec> Printers;
    std::string DefaultEntry;
    std::shared_ptr<TLog> Log = std::make_shared<TLog>();

    std::vector<std::string> PrinterNames() override;
    std::string DefaultPrinterEntry() override { return DefaultEntry; }
    std::unique_ptr<IPrinterDevice> Open(const std::string& name) override;
};

} // namespace gui
