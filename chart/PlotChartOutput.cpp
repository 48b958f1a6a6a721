// The chart's exports: the picture as a bitmap (clipboard, bitmap object,
// bitmap file) and on the printer (a job of its own, or placed on a page
// of the caller's job), optionally in black and white.  Every export draws
// afresh without the cross-hairs and, whatever happens, leaves colours,
// the scales' canvas and the paint suppression as they were.

#include "chart/PlotChart.h"

#include <cmath>
#include <filesystem>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Metafile.h"
#include "platform/gui/Printers.h"

namespace chart {

namespace {

// The export's file name: the folder of name, its file name cut before
// the first ".", and the extension given.
std::string ExportFileName(const std::string& name, const char* extension)
{
    const std::filesystem::path p(name);
    std::string file = p.filename().string();
    file = file.substr(0, file.find('.'));
    return (p.parent_path() / (file + extension)).string();
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

} // namespace

// Sets up an export and undoes it on every path, exceptions included.
class TCustomPlotChart::TExportScope {
public:
    TExportScope(TCustomPlotChart& chart, bool blackAndWhite) : C(chart), FBlackAndWhite(blackAndWhite)
    {
        C.FSuppressPaint = true;
        if (blackAndWhite) Substitute();
    }
    ~TExportScope()
    {
        try {
            if (FBlackAndWhite) Restore();
            for (int i = 1; i <= MaxLayers; ++i) {
                C.FScalesX[i]->UseForeignCanvas(C.FChartBmp->Canvas(), 0, 0);
                C.FScalesY[i]->UseForeignCanvas(C.FChartBmp->Canvas(), 0, 0);
            }
        } catch (...) {
            // Nothing of the restoring may escape a destructor.
        }
        C.FSuppressPaint = false;
    }
    TExportScope(const TExportScope&) = delete;
    TExportScope& operator=(const TExportScope&) = delete;

    void DrawScalesOn(gui::TCanvas* canvas)
    {
        for (int i = 1; i <= MaxLayers; ++i) {
            C.FScalesX[i]->UseForeignCanvas(canvas, 0, 0);
            C.FScalesY[i]->UseForeignCanvas(canvas, 0, 0);
        }
    }

private:
    struct TScaleColours {
        TColor Scale, Font;
    };

    static void SetScaleColours(TScaleProps& p, TColor scale, TColor font)
    {
        rtl::TNotifyEvent saved = std::move(p.OnChange);
        p.OnChange = nullptr;
        p.SetColorScale(scale);
        p.Font()->SetColor(font);
        p.OnChange = std::move(saved);
    }

    void Substitute()
    {
        FWind = C.FWindColor;
        FFrame = C.FChartFrameColor;
        FChart = C.FChartColor;
        FFont = C.Font()->Color();
        FShadow = C.FShadowColor;
        FShadowBak = C.FShadowBakColor;
        for (int i = 1; i <= MaxLayers; ++i) {
            FX[i] = {C.FScalePropsX[i]->ColorScale(), C.FScalePropsX[i]->Font()->Color()};
            FY[i] = {C.FScalePropsY[i]->ColorScale(), C.FScalePropsY[i]->Font()->Color()};
        }
        FSubstituted = true;
        Apply(gui::clWhite, gui::clBlack, gui::clWhite, gui::clBlack, 0xC0C0C0, gui::clWhite, nullptr, nullptr);
    }

    void Restore()
    {
        if (FSubstituted) Apply(FWind, FFrame, FChart, FFont, FShadow, FShadowBak, &FX, &FY);
    }

    void Apply(TColor wind, TColor frame, TColor chart, TColor font, TColor shadow, TColor shadowBak,
               const std::array<TScaleColours, MaxLayers + 1>* xs,
               const std::array<TScaleColours, MaxLayers + 1>* ys)
    {
        C.FWindColor = wind;
        C.FChartFrameColor = frame;
        C.FChartColor = chart;
        C.Font()->SetColor(font);
        C.FShadowColor = shadow;
        C.FShadowBakColor = shadowBak;
        for (int i = 1; i <= MaxLayers; ++i) {
            SetScaleColours(*C.FScalePropsX[i], xs ? (*xs)[i].Scale : gui::clBlack, xs ? (*xs)[i].Font : gui::clBlack);
            SetScaleColours(*C.FScalePropsY[i], ys ? (*ys)[i].Scale : gui::clBlack, ys ? (*ys)[i].Font : gui::clBlack);
            C.FScalesX[i]->SetColorBackGnd(wind);
            C.FScalesY[i]->SetColorBackGnd(wind);
        }
        C.SyncAllScales();
    }

    TCustomPlotChart& C;
    bool FBlackAndWhite;
    bool FSubstituted = false;
    TColor FWind = 0, FFrame = 0, FChart = 0, FFont = 0, FShadow = 0, FShadowBak = 0;
    std::array<TScaleColours, MaxLayers + 1> FX{}, FY{};
};

// ---------------------------------------------------------------- bitmaps

void TCustomPlotChart::RenderExportBitmap(bool blackAndWhite)
{
    TExportScope scope(*this, blackAndWhite);
    gui::TBitmap plot(std::max(FGrafBmp->Width(), 1), std::max(FGrafBmp->Height(), 1));
    RenderFrameAndScales(*FChartBmp->Canvas());
    RenderBackground(*plot.Canvas(), 0, 0);
    RenderData(*plot.Canvas(), 0, 0, blackAndWhite, 0);
    FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, &plot);
}

void TCustomPlotChart::CopyToBitmap(gui::TBitmap* bitmap, bool blackAndWhite)
{
    if (!bitmap) return;
    bitmap->SetSize(FChartBmp->Width(), FChartBmp->Height());
    RenderExportBitmap(blackAndWhite);
    bitmap->Assign(FChartBmp.get());
}

void TCustomPlotChart::CopyToBMP(const std::string& fileName, bool blackAndWhite)
{
    RenderExportBitmap(blackAndWhite);
    FChartBmp->SaveToFile(ExportFileName(fileName, ".bmp"));
}

void TCustomPlotChart::CopyToClipboard(bool blackAndWhite)
{
    RenderExportBitmap(blackAndWhite);
    gui::Clipboard()->SetBitmap(*FChartBmp);
}

// -------------------------------------------------------------- metafiles

void TCustomPlotChart::RenderMetafile(gui::TMetafile& metafile, bool forFile, bool blackAndWhite)
{
    TExportScope scope(*this, blackAndWhite);
    gui::TMetafileCanvas canvas(&metafile, Width(), Height());
    const int p = gui::Screen ? gui::Screen->PixelsPerInch() : 96;
    const int X = canvas.GetDeviceCaps(gui::LOGPIXELSX), Y = canvas.GetDeviceCaps(gui::LOGPIXELSY);
    canvas.SetMapMode(gui::MM_ISOTROPIC);
    canvas.SetWindowExt(p, p);
    canvas.SetViewportExt(X, Y);
    scope.DrawScalesOn(&canvas);
    RenderFrameAndScales(canvas);
    RenderBackground(canvas, FArea.MarginLeft, FArea.MarginTop);
    // A zero-length line at the far corner makes the picture span the control.
    canvas.Pen()->SetColor(gui::clBlack);
    canvas.MoveTo(Width(), Height());
    canvas.LineTo(Width(), Height());
    const int S = FArea.ShadowWidth, inner = forFile ? 1 : 0;
    const gui::TRegion clip = gui::TRegion::CreateRect(
        gui::TRect(Round(double(X) * FArea.MarginLeft / p), Round(double(Y) * FArea.MarginTop / p),
                   Round(double(X) * (Width() - FArea.MarginRight - S - inner) / p),
                   Round(double(Y) * (Height() - FArea.MarginBottom - S - inner) / p)));
    canvas.SelectClipRgn(&clip);
    RenderData(canvas, FArea.MarginLeft, FArea.MarginTop, blackAndWhite, 0);
    canvas.SelectClipRgn(nullptr);
    canvas.Finish();
}

void TCustomPlotChart::CopyToClipboardWMF(bool blackAndWhite)
{
    gui::TMetafile metafile;
    RenderMetafile(metafile, false, blackAndWhite);
    const std::vector<uint8_t> bytes = metafile.EmfBytes();
    gui::Clipboard()->SetData(gui::CF_ENHMETAFILE, bytes);
}

void TCustomPlotChart::CopyToWMF(const std::string& fileName, bool blackAndWhite)
{
    gui::TMetafile metafile;
    RenderMetafile(metafile, true, blackAndWhite);
    // The name keeps its ".wmf" although the content is an enhanced metafile.
    metafile.SaveToFile(ExportFileName(fileName, ".wmf"));
}

// ---------------------------------------------------------------- printer

void TCustomPlotChart::PrintOnCanvas(gui::TCanvas& canvas, int h, int v, double scaleF, bool blackAndWhite,
                                     TExportScope& scope)
{
    const int X = canvas.GetDeviceCaps(gui::LOGPIXELSX), Y = canvas.GetDeviceCaps(gui::LOGPIXELSY);
    const int p = gui::Screen ? gui::Screen->PixelsPerInch() : 96;
    canvas.SetMapMode(gui::MM_ISOTROPIC);
    canvas.SetWindowExt(p, p);
    canvas.SetViewportExt(Round(scaleF * X), Round(scaleF * Y));
    canvas.SetViewportOrg(h, v);
    scope.DrawScalesOn(&canvas);
    RenderFrameAndScales(canvas);
    RenderBackground(canvas, FArea.MarginLeft, FArea.MarginTop);
    const int S = FArea.ShadowWidth;
    const gui::TRegion clip = gui::TRegion::CreateRect(gui::TRect(h + Round(scaleF * X * FArea.MarginLeft / p), v + Round(scaleF * Y * FArea.MarginTop / p),
                                 h + Round(scaleF * X * (Width() - FArea.MarginRight - S - 1) / p),
                                 v + Round(scaleF * Y * (Height() - FArea.MarginBottom - S - 1) / p)));
    canvas.SelectClipRgn(&clip);
    RenderData(canvas, FArea.MarginLeft, FArea.MarginTop, blackAndWhite, 0);
    canvas.SelectClipRgn(nullptr);
}

void TCustomPlotChart::PrintIt(double scaleF, bool blackAndWhite)
{
    gui::TPrinter* printer = gui::Printer();
    printer->SetTitle(!FCaption.empty() ? FCaption : Name());
    printer->BeginDoc();
    try {
        TExportScope scope(*this, blackAndWhite);
        gui::TCanvas& canvas = *printer->Canvas();
        const int X = canvas.GetDeviceCaps(gui::LOGPIXELSX), Y = canvas.GetDeviceCaps(gui::LOGPIXELSY);
        const int p = gui::Screen ? gui::Screen->PixelsPerInch() : 96;
        const int PW0 = printer->GetDeviceCaps(gui::PHYSICALWIDTH);
        const int h = std::max(0, (PW0 - Round(X * scaleF * Width() / p)) / 2);
        const int v = Y / 2;
        const int saved = canvas.SaveDC();
        PrintOnCanvas(canvas, h, v, scaleF, blackAndWhite, scope);
        canvas.RestoreDC(saved);
    } catch (...) {
        printer->Abort();
        throw;
    }
    printer->EndDoc();
}

void TCustomPlotChart::CopyToOpenPrinter(int& x, int& y, double scaleF, bool blackAndWhite)
{
    gui::TCanvas& canvas = *gui::Printer()->Canvas();
    const TColor brush = canvas.Brush()->Color(), pen = canvas.Pen()->Color();
    gui::TFont font;
    font.Assign(canvas.Font());
    const int saved = canvas.SaveDC();
    auto restore = [&] {
        canvas.RestoreDC(saved);
        canvas.Font()->Assign(&font);
        canvas.Brush()->SetColor(brush);
        canvas.Pen()->SetColor(pen);
    };
    try {
        TExportScope scope(*this, blackAndWhite);
        PrintOnCanvas(canvas, x, y, scaleF, blackAndWhite, scope);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    const int X = canvas.GetDeviceCaps(gui::LOGPIXELSX), Y = canvas.GetDeviceCaps(gui::LOGPIXELSY);
    const int p = gui::Screen ? gui::Screen->PixelsPerInch() : 96;
    x += Round(X * scaleF * Width() / p);
    y += Round(Y * scaleF * Height() / p);
}

} // namespace chart
