// The system's printer back-end over the toolkit's printer support (the
// print system's queues).  Paper codes are the toolkit's page-size ids
// mapped to their classic codes; a job prints through a painter, to the
// queue or, with a file name, into that file.

#include "platform/gui/PrinterDevice.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

#include "platform/gui/QtBridge.h"

namespace gui {

namespace {

class TQtDevice : public IPrinterDevice {
public:
    explicit TQtDevice(const QPrinterInfo& info) : FInfo(info), FPrinter(info, QPrinter::HighResolution)
    {
        FMode.PaperSize = FInfo.defaultPageSize().windowsId();
        if (FMode.PaperSize <= 0) FMode.PaperSize = 9;
        FMode.Orientation = 1;
        FMode.Duplex = FInfo.defaultDuplexMode() == QPrinter::DuplexLongSide    ? 2
                       : FInfo.defaultDuplexMode() == QPrinter::DuplexShortSide ? 3
                                                                                : 1;
        Apply();
    }
    ~TQtDevice() override
    {
        if (FPainter.isActive()) FPainter.end();
    }

    bool GetDevMode(TPrinterDevMode& mode) override
    {
        mode = FMode;
        return true;
    }
    void SetDevMode(const TPrinterDevMode& mode) override
    {
        const int f = mode.Fields;
        if (f & DM_ORIENTATION) FMode.Orientation = mode.Orientation;
        if (f & DM_PAPERSIZE) FMode.PaperSize = mode.PaperSize;
        if (f & DM_PAPERLENGTH) FMode.PaperLength = mode.PaperLength;
        if (f & DM_PAPERWIDTH) FMode.PaperWidth = mode.PaperWidth;
        if (f & DM_COPIES) FMode.Copies = mode.Copies;
        if (f & DM_DEFAULTSOURCE) FMode.DefaultSource = mode.DefaultSource;
        if (f & DM_DUPLEX) FMode.Duplex = mode.Duplex;
        Apply();
    }
    TPrinterNamedCodes Papers() override
    {
        TPrinterNamedCodes out;
        for (const QPageSize& s : FInfo.supportedPageSizes()) {
            const int code = s.windowsId();
            if (code > 0) out.emplace_back(s.name().toStdString(), code);
        }
        return out;
    }
    TPrinterNamedCodes Bins() override { return {}; }
    TPrinterCaps Caps() override
    {
        TPrinterCaps c;
        const int dpi = FPrinter.resolution();
        c.LogPixelsX = c.LogPixelsY = dpi;
        const QPageLayout layout = FPrinter.pageLayout();
        const QRect full = layout.fullRectPixels(dpi);
        const QRect paint = layout.paintRectPixels(dpi);
        c.PhysicalWidth = full.width();
        c.PhysicalHeight = full.height();
        c.PhysicalOffsetX = paint.left();
        c.PhysicalOffsetY = paint.top();
        c.HorzRes = paint.width();
        c.VertRes = paint.height();
        return c;
    }
    void BindCanvas(TCanvas* canvas) override
    {
        if (FCanvas && FCanvas != canvas) qt::DetachPainter(*FCanvas);
        FCanvas = canvas;
        if (FCanvas && FPainter.isActive()) {
            const TPrinterCaps c = Caps();
            qt::AttachPainter(*FCanvas, &FPainter, c.HorzRes, c.VertRes, c.LogPixelsY);
        }
    }
    void StartDoc(const std::string& title, const std::string& fileName) override
    {
        FPrinter.setDocName(QString::fromStdString(title));
        FPrinter.setOutputFileName(QString::fromStdString(fileName));
        FFirstPage = true;
        FPainter.begin(&FPrinter);
        if (FCanvas) BindCanvas(FCanvas);
    }
    void StartPage() override
    {
        if (!FFirstPage && FPainter.isActive()) FPrinter.newPage();
        FFirstPage = false;
    }
    void EndPage() override {}
    void EndDoc() override
    {
        if (FCanvas) qt::DetachPainter(*FCanvas);
        if (FPainter.isActive()) FPainter.end();
        FPrinter.setOutputFileName(QString());
    }
    void AbortDoc() override
    {
        if (FPainter.isActive()) FPrinter.abort();
        EndDoc();
    }
    // Raw jobs go to the queue through the print system's command with the
    // raw option, so the bytes reach the printer unchanged.
    void StartRawDoc(const std::string& title) override
    {
        FRawTitle = title;
        FRaw.clear();
    }
    void WriteRaw(const std::string& bytes) override { FRaw += bytes; }
    void EndRawDoc() override
    {
        QProcess lp;
        lp.start("lp", {"-d", FInfo.printerName(), "-o", "raw", "-t", QString::fromStdString(FRawTitle)});
        if (!lp.waitForStarted(5000)) return;
        lp.write(FRaw.data(), static_cast<qint64>(FRaw.size()));
        lp.closeWriteChannel();
        lp.waitForFinished(30000);
        FRaw.clear();
    }
    // The print system offers no driver dialog here; the caller's own
    // settings dialog stands in, so this answers "cancelled".
    bool PropertiesDialog(TPrinterDevMode&) override { return false; }

private:
    void Apply()
    {
        QPageSize size;
        if (FMode.PaperSize == 256 && FMode.PaperLength > 0 && FMode.PaperWidth > 0)
            size = QPageSize(QSizeF(FMode.PaperWidth / 10.0, FMode.PaperLength / 10.0), QPageSize::Millimeter);
        else
            size = QPageSize(QPageSize::id(FMode.PaperSize));
        if (!size.isValid()) size = QPageSize(QPageSize::A4);
        FPrinter.setPageSize(size);
        FPrinter.setPageOrientation(FMode.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        FPrinter.setCopyCount(FMode.Copies > 0 ? FMode.Copies : 1);
        FPrinter.setDuplex(FMode.Duplex == 2 ? QPrinter::DuplexLongSide
                           : FMode.Duplex == 3 ? QPrinter::DuplexShortSide
                                               : QPrinter::DuplexNone);
    }

    QPrinterInfo FInfo;
    QPrinter FPrinter;
    QPainter FPainter;
    TPrinterDevMode FMode;
    TCanvas* FCanvas = nullptr;
    bool FFirstPage = true;
    std::string FRawTitle, FRaw;
};

class TQtPrinterSystem : public IPrinterSystem {
public:
    std::vector<std::string> PrinterNames() override
    {
        qt::EnsureApplication();
        std::vector<std::string> out;
        for (const QString& n : QPrinterInfo::availablePrinterNames()) out.push_back(n.toStdString());
        return out;
    }
    std::string DefaultPrinterEntry() override
    {
        qt::EnsureApplication();
        const QString name = QPrinterInfo::defaultPrinterName();
        return name.isEmpty() ? std::string() : name.toStdString() + ",,";
    }
    std::unique_ptr<IPrinterDevice> Open(const std::string& name) override
    {
        qt::EnsureApplication();
        QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
        if (info.isNull()) return nullptr;
        return std::make_unique<TQtDevice>(info);
    }
};

} // namespace

std::unique_ptr<IPrinterSystem> MakeSystemPrinterSystem() { return std::make_unique<TQtPrinterSystem>(); }

} // namespace gui
