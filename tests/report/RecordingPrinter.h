// A printer for tests: every call is logged as a line of text, and each
// printed page is kept as a bitmap (the printer's canvas while the page is
// open).  Registered through the report output services together with a
// scripted print dialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrOutputServices.h"

namespace qlrtest {

class RecordingPrinter : public qlr::IqlrPrinter {
public:
    std::vector<std::string> Log;
    std::vector<std::unique_ptr<gui::TBitmap>> PageBitmaps;
    bool Valid = true;
    int Dpi = 96;
    long double Width = 210, Height = 297;
    long double Left = 0, Top = 0, Right = 0, Bottom = 0;

    bool Initialized() override { return Valid; }
    gui::TCanvas* Canvas() override
    {
        if (PageBitmaps.empty()) NewBitmap();
        return PageBitmaps.back()->Canvas();
    }
    gui::TPoint DPI() override { return {Dpi, Dpi}; }
    long double PaperWidth() override { return Width; }
    long double PaperHeight() override { return Height; }
    long double LeftMargin() override { return Left; }
    long double TopMargin() override { return Top; }
    long double RightMargin() override { return Right; }
    long double BottomMargin() override { return Bottom; }
    void SetTitle(const std::string& title) override { Log.push_back("Title " + title); }
    void SetFileName(const std::string& fileName) override { Log.push_back("FileName " + fileName); }
    void BeginDoc() override { Log.push_back("BeginDoc"); }
    void BeginPage() override
    {
        Log.push_back("BeginPage");
        NewBitmap();
    }
    void EndPage() override { Log.push_back("EndPage"); }
    void EndDoc() override { Log.push_back("EndDoc"); }
    void Abort() override { Log.push_back("Abort"); }
    void SetViewParams(int paperSize, long double w, long double h, gui::TPrinterOrientation o) override
    {
        Log.push_back("SetViewParams " + std::to_string(paperSize));
        if (paperSize == 256 && w > 0) {
            Width = w;
            Height = h;
        }
        if (o == gui::TPrinterOrientation::poLandscape && Width < Height) std::swap(Width, Height);
    }
    void SetPrintParams(int paperSize, long double w, long double h, gui::TPrinterOrientation o, int bin,
                        int duplex, int copies) override
    {
        Log.push_back("SetPrintParams " + std::to_string(paperSize) + " " + rtl::FloatToStr(w) + "x" +
                      rtl::FloatToStr(h) + (o == gui::TPrinterOrientation::poLandscape ? " L" : " P") + " bin " +
                      std::to_string(bin) + " duplex " + std::to_string(duplex) + " copies " +
                      std::to_string(copies));
    }
    int Count(const std::string& line) const
    {
        int n = 0;
        for (const auto& l : Log) n += l == line;
        return n;
    }

private:
    void NewBitmap()
    {
        auto bmp = std::make_unique<gui::TBitmap>(static_cast<int>(Width * Dpi / 25.4L + 0.5L),
                                                  static_cast<int>(Height * Dpi / 25.4L + 0.5L));
        bmp->Canvas()->Brush()->SetColor(gui::clWhite);
        bmp->Canvas()->FillRect(gui::Rect(0, 0, bmp->Width(), bmp->Height()));
        bmp->Canvas()->SetPrinterCanvas(true);
        PageBitmaps.push_back(std::move(bmp));
    }
};

class RecordingServices : public qlr::IqlrOutputServices {
public:
    RecordingPrinter ThePrinter;
    bool Printers = true;
    int DialogResult = 1;
    int Dialogs = 0;
    std::vector<std::string> Selected;

    bool InputPassword(std::string&) override { return false; }
    bool LookupPaperSize(int code, long double& w, long double& h) override
    {
        if (code != 9) return false;
        w = 210;
        h = 297;
        return true;
    }
    qlr::TqlrPrinterDefaults CurrentPrinterDefaults() override { return {}; }
    bool HasPhysicalPrinters() override { return Printers; }
    qlr::IqlrPrinter* Printer() override { return &ThePrinter; }
    void SelectPrinter(const std::string& name) override { Selected.push_back(name); }
    int ShowPrintDialog(qlr::TqlrReport*, qlr::TqlrDuplexMode&) override
    {
        ++Dialogs;
        return DialogResult;
    }
};

// Registers a RecordingServices for the scope of a test.
struct ServicesScope {
    RecordingServices* Services;
    std::unique_ptr<qlr::IqlrOutputServices> Previous;
    ServicesScope()
    {
        auto s = std::make_unique<RecordingServices>();
        Services = s.get();
        Previous = qlr::RegisterOutputServices(std::move(s));
    }
    ~ServicesScope() { qlr::RegisterOutputServices(std::move(Previous)); }
    RecordingPrinter& Printer() { return Services->ThePrinter; }
};

} // namespace qlrtest
