// The printer device layer's registry and its fake back-end.

#include "platform/gui/PrinterDevice.h"

#include <cmath>

namespace gui {

std::unique_ptr<IPrinterSystem> MakeSystemPrinterSystem();

namespace {

std::unique_ptr<IPrinterSystem>& Installed()
{
    static std::unique_ptr<IPrinterSystem> system;
    return system;
}

class TFakeDevice : public IPrinterDevice {
public:
    TFakeDevice(TFakePrinterSystem::TPrinterSpec spec, std::shared_ptr<TFakePrinterSystem::TLog> log)
        : FSpec(std::move(spec)), FLog(std::move(log)), FMode(FSpec.Mode) {}

    bool GetDevMode(TPrinterDevMode& mode) override
    {
        if (!FSpec.HasDevMode) return false;
        mode = FMode;
        return true;
    }
    void SetDevMode(const TPrinterDevMode& mode) override
    {
        FLog->Modes.push_back(mode);
        const int f = mode.Fields;
        if (f & DM_ORIENTATION) FMode.Orientation = mode.Orientation;
        if (f & DM_PAPERSIZE) FMode.PaperSize = mode.PaperSize;
        if (f & DM_PAPERLENGTH) FMode.PaperLength = mode.PaperLength;
        if (f & DM_PAPERWIDTH) FMode.PaperWidth = mode.PaperWidth;
        if (f & DM_COPIES) FMode.Copies = mode.Copies;
        if (f & DM_DEFAULTSOURCE) FMode.DefaultSource = mode.DefaultSource;
        if (f & DM_DUPLEX) FMode.Duplex = mode.Duplex;
    }
    TPrinterNamedCodes Papers() override { return FSpec.Papers; }
    TPrinterNamedCodes Bins() override { return FSpec.Bins; }
    TPrinterCaps Caps() override
    {
        if (FSpec.CapsOverride) return *FSpec.CapsOverride;
        // Sheet in 0.1 mm: the custom size, Letter, A3, else A4.
        int w = 2100, h = 2970;
        if (FMode.PaperSize == 256 && FMode.PaperLength > 0 && FMode.PaperWidth > 0) {
            w = FMode.PaperWidth;
            h = FMode.PaperLength;
        } else if (FMode.PaperSize == 1) {
            w = 2159;
            h = 2794;
        } else if (FMode.PaperSize == 8) {
            w = 2970;
            h = 4200;
        }
        if (FMode.Orientation == 2) std::swap(w, h);
        TPrinterCaps c;
        c.LogPixelsX = FSpec.DpiX;
        c.LogPixelsY = FSpec.DpiY;
        c.PhysicalWidth = static_cast<int>(std::lround(w / 254.0 * FSpec.DpiX));
        c.PhysicalHeight = static_cast<int>(std::lround(h / 254.0 * FSpec.DpiY));
        c.PhysicalOffsetX = FSpec.OffsetX;
        c.PhysicalOffsetY = FSpec.OffsetY;
        c.HorzRes = c.PhysicalWidth - FSpec.LostX;
        c.VertRes = c.PhysicalHeight - FSpec.LostY;
        return c;
    }
    void BindCanvas(TCanvas*) override {}
    void StartDoc(const std::string& title, const std::string& fileName) override
    {
        FLog->Calls.push_back("StartDoc " + title + "|" + fileName);
    }
    void StartPage() override { FLog->Calls.push_back("StartPage"); }
    void EndPage() override { FLog->Calls.push_back("EndPage"); }
    void EndDoc() override { FLog->Calls.push_back("EndDoc"); }
    void AbortDoc() override { FLog->Calls.push_back("Abort"); }
    void StartRawDoc(const std::string& title) override { FLog->Calls.push_back("Raw start " + title); }
    void WriteRaw(const std::string& bytes) override { FLog->Calls.push_back("Raw " + bytes); }
    void EndRawDoc() override { FLog->Calls.push_back("Raw end"); }
    bool PropertiesDialog(TPrinterDevMode& mode) override
    {
        if (!FSpec.DialogResult) return false;
        mode = *FSpec.DialogResult;
        FMode = mode;
        return true;
    }

private:
    TFakePrinterSystem::TPrinterSpec FSpec;
    std::shared_ptr<TFakePrinterSystem::TLog> FLog;
    TPrinterDevMode FMode;
};

} // namespace

IPrinterSystem& PrinterSystem()
{
    auto& s = Installed();
    if (!s) s = MakeSystemPrinterSystem();
    return *s;
}

std::unique_ptr<IPrinterSystem> SetPrinterSystem(std::unique_ptr<IPrinterSystem> system)
{
    std::unique_ptr<IPrinterSystem> old = std::move(Installed());
    Installed() = std::move(system);
    return old;
}

std::vector<std::string> TFakePrinterSystem::PrinterNames()
{
    std::vector<std::string> out;
    for (const auto& p : Printers) out.push_back(p.Name);
    return out;
}

std::unique_ptr<IPrinterDevice> TFakePrinterSystem::Open(const std::string& name)
{
    for (const auto& p : Printers)
        if (p.Name == name) return std::make_unique<TFakeDevice>(p, Log);
    return nullptr;
}

} // namespace gui
