// TPrinter over QPrinter.

#include "platform/gui/Printers.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

#include "platform/gui/GraphicsQt.h"

namespace gui {

struct TPrinter::Impl {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    double paperW = 210, paperH = 297;
    QMarginsF margins{6.35, 6.35, 6.35, 6.35};
};

namespace {

class TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter* owner) : FOwner(owner) { SetPrinterCanvas(true); }
    void Attach(QPainter* painter) { qt::AttachPainter(*this, painter, 0, 0, 96); }
    void Detach() { qt::DetachPainter(*this); }
    void SetGeometry(int w, int h, int dpi, int pw, int ph, int ox, int oy, int mmx, int mmy)
    {
        Impl& d = *FImpl;
        d.width = w;
        d.height = h;
        d.dpiX = d.dpiY = dpi;
        d.rasterDevice = false;
        d.physWidth = pw;
        d.physHeight = ph;
        d.physOffsetX = ox;
        d.physOffsetY = oy;
        d.sizeMmX = mmx;
        d.sizeMmY = mmy;
    }

private:
    TPrinter* FOwner;
};

} // namespace

TPrinter::TPrinter() : FImpl(std::make_unique<Impl>()) {}

TPrinter::~TPrinter()
{
    if (FPrinting) {
        try { Abort(); } catch (...) {}
    }
}

std::vector<std::string> TPrinter::Printers() const
{
    qt::EnsureApplication();
    std::vector<std::string> out;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) out.push_back(n.toStdString());
    return out;
}

void TPrinter::CheckNotPrinting() const
{
    if (FPrinting) throw EPrinter("Printing in progress");
}

void TPrinter::CheckPrinting() const
{
    if (!FPrinting) throw EPrinter("Printer is not currently printing");
}

void TPrinter::SetPrinterIndex(int index)
{
    CheckNotPrinting();
    if (index < -1 || index >= static_cast<int>(Printers().size()))
        throw EPrinter("Printer index out of range");
    FPrinterIndex = index;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    CheckNotPrinting();
    FOrientation = orientation;
}

void TPrinter::SetTitle(const std::string& title)
{
    CheckNotPrinting();
    FTitle = title;
}

void TPrinter::SetCopies(int copies)
{
    CheckNotPrinting();
    FCopies = std::max(1, copies);
}

void TPrinter::SetOutputFileName(const std::string& fileName)
{
    CheckNotPrinting();
    FOutputFileName = fileName;
}

void TPrinter::SetResolution(int dpi)
{
    CheckNotPrinting();
    if (dpi > 0) FResolution = dpi;
}

void TPrinter::SetPaper(double widthMm, double heightMm)
{
    CheckNotPrinting();
    if (widthMm > 0 && heightMm > 0) { FImpl->paperW = widthMm; FImpl->paperH = heightMm; }
}

double TPrinter::PaperWidthMm() const { return FImpl->paperW; }
double TPrinter::PaperHeightMm() const { return FImpl->paperH; }

void TPrinter::SetMargins(double leftMm, double topMm, double rightMm, double bottomMm)
{
    CheckNotPrinting();
    FImpl->margins = QMarginsF(leftMm, topMm, rightMm, bottomMm);
}

// Brings the QPrinter and the canvas geometry up to date with the settings.
void TPrinter::Configure() const
{
    qt::EnsureApplication();
    Impl& d = *FImpl;
    if (!d.printer) d.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& p = *d.printer;
    if (!FOutputFileName.empty()) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(FOutputFileName));
    } else {
        p.setOutputFormat(QPrinter::NativeFormat);
        p.setOutputFileName(QString());
        std::vector<std::string> names = Printers();
        if (FPrinterIndex >= 0 && FPrinterIndex < static_cast<int>(names.size()))
            p.setPrinterName(QString::fromStdString(names[static_cast<std::size_t>(FPrinterIndex)]));
    }
    p.setResolution(FResolution);
    p.setFullPage(false);
    p.setDocName(QString::fromStdString(FTitle));
    p.setCopyCount(FCopies);
    QPageLayout layout(QPageSize(QSizeF(d.paperW, d.paperH), QPageSize::Millimeter),
                       FOrientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait,
                       d.margins, QPageLayout::Millimeter);
    layout.setMode(QPageLayout::StandardMode);
    p.setPageLayout(layout);
    UpdateGeometry();
}

// The canvas's device capabilities from the printer's own page layout.
void TPrinter::UpdateGeometry() const
{
    QPrinter& p = *FImpl->printer;
    const int dpi = p.resolution();
    QPageLayout actual = p.pageLayout();
    QRect full = actual.fullRectPixels(dpi);
    QRect paint = actual.paintRectPixels(dpi);
    auto* canvas = static_cast<TPrinterCanvas*>(const_cast<TPrinter*>(this)->Canvas());
    QRectF paintMm = actual.paintRect(QPageLayout::Millimeter);
    canvas->SetGeometry(paint.width(), paint.height(), dpi, full.width(), full.height(), paint.left(),
                        paint.top(), static_cast<int>(std::lround(paintMm.width())),
                        static_cast<int>(std::lround(paintMm.height())));
}

TCanvas* TPrinter::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TPrinterCanvas>(this);
        Configure();
        int points = FCanvas->Font()->Size();
        FCanvas->Font()->SetPixelsPerInch(FCanvas->GetDeviceCaps(LOGPIXELSY));
        FCanvas->Font()->SetSize(points);
    }
    return FCanvas.get();
}

int TPrinter::PageWidth() const { return GetDeviceCaps(HORZRES); }
int TPrinter::PageHeight() const { return GetDeviceCaps(VERTRES); }

int TPrinter::GetDeviceCaps(int index) const
{
    TCanvas* c = const_cast<TPrinter*>(this)->Canvas();
    if (!FPrinting) Configure();
    if (index == RASTERCAPS)
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
               RC_SCALING;
    return c->GetDeviceCaps(index);
}

void TPrinter::BeginDoc()
{
    CheckNotPrinting();
    auto* canvas = static_cast<TPrinterCanvas*>(Canvas());
    Configure();
    // The canvas font follows the printer's resolution, keeping its size in points.
    int points = canvas->Font()->Size();
    canvas->Font()->SetPixelsPerInch(FResolution);
    canvas->Font()->SetSize(points);
    Impl& d = *FImpl;
    d.painter = std::make_unique<QPainter>();
    if (!d.painter->begin(d.printer.get())) {
        // The device may stay half started: the next job gets a fresh one.
        d.painter.reset();
        d.printer.reset();
        throw EPrinter("Printer selected is not valid");
    }
    canvas->Attach(d.painter.get());
    UpdateGeometry();   // Attach set the painter's geometry; the printer's page holds
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::NewPage()
{
    CheckPrinting();
    if (!FImpl->printer->newPage()) throw EPrinter("Cannot start a new page");
    ++FPageNumber;
}

void TPrinter::EndDoc()
{
    CheckPrinting();
    static_cast<TPrinterCanvas*>(Canvas())->Detach();
    bool ok = FImpl->painter->end();
    FImpl->painter.reset();
    FImpl->printer.reset();   // a finished device takes no new settings
    FPrinting = false;
    if (!ok) throw EPrinter("Printing failed");
}

void TPrinter::Abort()
{
    CheckPrinting();
    static_cast<TPrinterCanvas*>(Canvas())->Detach();
    FImpl->printer->abort();
    if (FImpl->painter->isActive()) FImpl->painter->end();
    FImpl->painter.reset();
    FImpl->printer.reset();
    FPrinting = false;
    FAborted = true;
    if (!FOutputFileName.empty()) {
        std::error_code ec;
        std::filesystem::remove(FOutputFileName, ec);
    }
}

namespace {
std::unique_ptr<TPrinter>& ThePrinter()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}
} // namespace

TPrinter* Printer()
{
    auto& p = ThePrinter();
    if (!p) p = std::make_unique<TPrinter>();
    return p.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer)
{
    auto& p = ThePrinter();
    std::unique_ptr<TPrinter> old = std::move(p);
    p = std::move(printer);
    return old;
}

} // namespace gui
