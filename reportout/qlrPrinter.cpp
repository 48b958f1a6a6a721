// The paper table, the printer objects and the global printer list.

#include "reportout/qlrPrinter.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

// Names carry the size so that every row is distinct and a name picked in a
// list maps back to its code.
const TPaperInfo PaperSizeTable[PAPERCOUNT] = {
    {1, "Letter (8 1/2 x 11 in)", 2159, 2794},
    {2, "Letter Small (8 1/2 x 11 in)", 2159, 2794},
    {3, "Tabloid (11 x 17 in)", 2794, 4318},
    {4, "Ledger (17 x 11 in)", 4318, 2794},
    {5, "Legal (8 1/2 x 14 in)", 2159, 3556},
    {6, "Statement (5 1/2 x 8 1/2 in)", 1397, 2159},
    {7, "Executive (7 1/4 x 10 1/2 in)", 1842, 2667},
    {8, "A3 (297 x 420 mm)", 2970, 4200},
    {9, "A4 (210 x 297 mm)", 2100, 2970},
    {10, "A4 Small (210 x 297 mm)", 2100, 2970},
    {11, "A5 (148 x 210 mm)", 1480, 2100},
    {12, "B4 (JIS) (250 x 354 mm)", 2500, 3540},
    {13, "B5 (JIS) (182 x 257 mm)", 1820, 2570},
    {14, "Folio (8 1/2 x 13 in)", 2159, 3302},
    {15, "Quarto (215 x 275 mm)", 2150, 2750},
    {16, "10 x 14 in", 2540, 3556},
    {17, "11 x 17 in", 2794, 4318},
    {18, "Note (8 1/2 x 11 in)", 2159, 2794},
    {19, "Envelope #9 (3 7/8 x 8 7/8 in)", 984, 2254},
    {20, "Envelope #10 (4 1/8 x 9 1/2 in)", 1048, 2413},
    {21, "Envelope #11 (4 1/2 x 10 3/8 in)", 1143, 2635},
    {22, "Envelope #12 (4 3/4 x 11 in)", 1207, 2794},
    {23, "Envelope #14 (5 x 11 1/2 in)", 1270, 2921},
    {24, "C Size Sheet (17 x 22 in)", 4318, 5588},
    {25, "D Size Sheet (22 x 34 in)", 5588, 8636},
    {26, "E Size Sheet (34 x 44 in)", 8636, 11176},
    {27, "Envelope DL (110 x 220 mm)", 1100, 2200},
    {28, "Envelope C5 (162 x 229 mm)", 1620, 2290},
    {29, "Envelope C3 (324 x 458 mm)", 3240, 4580},
    {30, "Envelope C4 (229 x 324 mm)", 2290, 3240},
    {31, "Envelope C6 (114 x 162 mm)", 1140, 1620},
    {32, "Envelope C65 (114 x 229 mm)", 1140, 2290},
    {33, "Envelope B4 (250 x 353 mm)", 2500, 3530},
    {34, "Envelope B5 (176 x 250 mm)", 1760, 2500},
    {35, "Envelope B6 (176 x 125 mm)", 1760, 1250},
    {36, "Envelope Italy (110 x 230 mm)", 1100, 2300},
    {37, "Envelope Monarch (3 7/8 x 7 1/2 in)", 984, 1905},
    {38, "6 3/4 Envelope (3 5/8 x 6 1/2 in)", 920, 1651},
    {39, "US Std Fanfold (14 7/8 x 11 in)", 3778, 2794},
    {40, "German Std Fanfold (8 1/2 x 12 in)", 2159, 3048},
    {41, "German Legal Fanfold (8 1/2 x 13 in)", 2159, 3302},
    {42, "B4 (ISO) (250 x 353 mm)", 2500, 3530},
    {43, "Japanese Postcard (100 x 148 mm)", 1000, 1480},
    {44, "9 x 11 in", 2286, 2794},
    {45, "10 x 11 in", 2540, 2794},
    {46, "15 x 11 in", 3810, 2794},
    {47, "Envelope Invite (220 x 220 mm)", 2200, 2200},
    {50, "Letter Extra (9 1/4 x 12 in)", 2355, 3048},
    {51, "Legal Extra (9 1/4 x 15 in)", 2355, 3810},
    {52, "Tabloid Extra (11.69 x 18 in)", 2969, 4572},
    {53, "A4 Extra (235 x 322 mm)", 2354, 3223},
    {54, "Letter Transverse (8 1/2 x 11 in)", 2101, 2794},
    {55, "A4 Transverse (210 x 297 mm)", 2100, 2970},
    {56, "Letter Extra Transverse (9 1/4 x 12 in)", 2355, 3048},
    {57, "Super A (227 x 356 mm)", 2270, 3560},
    {58, "Super B (305 x 487 mm)", 3050, 4870},
    {59, "Letter Plus (8 1/2 x 12.69 in)", 2159, 3223},
    {60, "A4 Plus (210 x 330 mm)", 2100, 3300},
    {61, "A5 Transverse (148 x 210 mm)", 1480, 2100},
    {62, "B5 (JIS) Transverse (182 x 257 mm)", 1820, 2570},
    {63, "A3 Extra (322 x 445 mm)", 3220, 4450},
    {64, "A5 Extra (174 x 235 mm)", 1740, 2350},
    {65, "B5 (ISO) Extra (201 x 276 mm)", 2010, 2760},
    {66, "A2 (420 x 594 mm)", 4200, 5940},
    {67, "A3 Transverse (297 x 420 mm)", 2970, 4200},
    {68, "A3 Extra Transverse (322 x 445 mm)", 3220, 4450},
};

bool LookupPaperSize(int code, long double& width, long double& height)
{
    for (const TPaperInfo& p : PaperSizeTable)
        if (p.Typ == code) {
            width = p.X / 10.0L;
            height = p.Y / 10.0L;
            return true;
        }
    return false;
}

// --- TqlrPrinterCanvas ------------------------------------------------------

TqlrPrinterCanvas::TqlrPrinterCanvas(TqlrCustomPrinter* printer) : FPrinter(printer)
{
    // Text layout and drawing tell a printer's canvas by this flag.
    SetPrinterCanvas(true);
    OnChanging = [this](rtl::TObject*) { SyncFontResolution(); };
}

void TqlrPrinterCanvas::SyncFontResolution()
{
    if (FSyncing || FPrinter->FDPI.Y <= 0) return;
    gui::TFont* font = Font();
    if (font->PixelsPerInch() == FPrinter->FDPI.Y) return;
    FSyncing = true;
    const int size = font->Size();
    font->SetPixelsPerInch(FPrinter->FDPI.Y);
    font->SetSize(size);
    FSyncing = false;
}

// --- TqlrCustomPrinter ------------------------------------------------------

TqlrCustomPrinter::TqlrCustomPrinter(const std::string& name, const std::string& port)
    : FName(name), FPort(port), FCanvas(std::make_unique<TqlrPrinterCanvas>(this))
{
    FPapers.emplace_back(GetResources().Get("prCustom"), 256);
    FBins.emplace_back(GetResources().Get("prDefault"), 7);
}

TqlrCustomPrinter::~TqlrCustomPrinter() = default;

namespace {

int IndexOfCode(const TqlrNamedCodes& list, int code)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].second == code) return static_cast<int>(i);
    return -1;
}

int NumberOfName(const TqlrNamedCodes& list, const std::string& name)
{
    for (const auto& e : list)
        if (e.first == name) return e.second;
    return list.empty() ? -1 : list[0].second;
}

// Device units to whole millimetres, half to even, computed exactly
// (pixels x 254 / (dpi x 10)) so that a sheet measured at exactly half a
// millimetre rounds the same on every machine.
long double ToMm(int pixels, int dpi)
{
    long long num = static_cast<long long>(pixels) * 254;
    const long long den = static_cast<long long>(dpi) * 10;
    const bool negative = num < 0;
    if (negative) num = -num;
    long long q = num / den;
    const long long rest2 = (num % den) * 2;
    if (rest2 > den || (rest2 == den && (q & 1))) ++q;
    return static_cast<long double>(negative ? -q : q);
}

} // namespace

int TqlrCustomPrinter::BinIndex(int bin) const { return IndexOfCode(FBins, bin); }
int TqlrCustomPrinter::PaperIndex(int paper) const { return IndexOfCode(FPapers, paper); }
int TqlrCustomPrinter::BinNameToNumber(const std::string& bin) const { return NumberOfName(FBins, bin); }
int TqlrCustomPrinter::PaperNameToNumber(const std::string& paper) const
{
    return NumberOfName(FPapers, paper);
}

// --- TqlrVirtualPrinter -----------------------------------------------------

void TqlrVirtualPrinter::Init()
{
    if (FInitialized) return;
    FDPI = {600, 600};
    FDefPaper = 9;
    FDefOrientation = gui::TPrinterOrientation::poPortrait;
    FDefPaperWidth = 210;
    FDefPaperHeight = 297;
    for (const TPaperInfo& p : PaperSizeTable) FPapers.emplace_back(p.Name, p.Typ);
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

void TqlrVirtualPrinter::SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                                       gui::TPrinterOrientation orientation)
{
    long double w = 0, h = 0;
    if (paperSize != 256 && LookupPaperSize(paperSize, w, h)) {
        if (orientation == gui::TPrinterOrientation::poLandscape) std::swap(w, h);
        FPaper = paperSize;
    } else {
        w = paperWidth;
        h = paperHeight;
        FPaper = 256;
    }
    FOrientation = orientation;
    FPaperWidth = w;
    FPaperHeight = h;
    FLeftMargin = FTopMargin = FRightMargin = FBottomMargin = 5;
}

void TqlrVirtualPrinter::SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                                        gui::TPrinterOrientation orientation, int bin, int, int)
{
    SetViewParams(paperSize, paperWidth, paperHeight, orientation);
    FBin = bin;
}

// --- TqlrPrinters -----------------------------------------------------------

TqlrPrinters::TqlrPrinters()
{
    FillPrinters();
    if (!FPrinterList.empty()) {
        FHasPhysicalPrinters = true;
        SetPrinterIndex(IndexOf(GetDefaultPrinterName()));
        if (FPrinterIndex == -1) SetPrinterIndex(0);
    } else {
        FPrinterList.push_back(std::make_unique<TqlrVirtualPrinter>(GetResources().Get("prVirtual"), ""));
        FPrinters.push_back(FPrinterList.back()->FName);
        FHasPhysicalPrinters = false;
        SetPrinterIndex(0);
    }
}

TqlrPrinters::~TqlrPrinters() { Clear(); }

void TqlrPrinters::Clear()
{
    FPrinterList.clear();
    FPrinters.clear();
}

void TqlrPrinters::FillPrinters()
{
    Clear();
    // The print system reports no ports: one printer per queue.
    for (const std::string& name : gui::PrinterSystem().PrinterNames()) {
        FPrinterList.push_back(std::make_unique<TqlrPrinter>(name, ""));
        FPrinters.push_back(name);
    }
}

int TqlrPrinters::IndexOf(const std::string& name) const
{
    for (size_t i = 0; i < FPrinters.size(); ++i)
        if (rtl::AnsiSameText(FPrinters[i], name)) return static_cast<int>(i);
    return -1;
}

void TqlrPrinters::SetPrinterIndex(int index)
{
    if (index >= Count()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", {index}));
    FPrinterIndex = index == -1 ? IndexOf(GetDefaultPrinterName()) : index;
    if (FPrinterIndex != -1) FPrinterList[FPrinterIndex]->Init();
}

TqlrCustomPrinter* TqlrPrinters::GetItem(int index) const
{
    if (index < 0) return nullptr;
    if (index >= Count()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", {index}));
    return FPrinterList[index].get();
}

std::string TqlrPrinters::GetDefaultPrinterName() const
{
    const std::string entry = gui::PrinterSystem().DefaultPrinterEntry().substr(0, 255);
    const size_t comma = entry.find(',');
    return comma == std::string::npos ? std::string() : entry.substr(0, comma);
}

namespace {

std::unique_ptr<TqlrPrinters>& GlobalList()
{
    static std::unique_ptr<TqlrPrinters> list;
    return list;
}

} // namespace

TqlrPrinters& GlobalPrinters()
{
    auto& l = GlobalList();
    if (!l) l = std::make_unique<TqlrPrinters>();
    return *l;
}

void ResetGlobalPrinters() { GlobalList().reset(); }

// --- TqlrPrinter ------------------------------------------------------------

TqlrPrinter::~TqlrPrinter() { CloseDeviceMode(); }

bool TqlrPrinter::OpenDeviceMode()
{
    FDevice = gui::PrinterSystem().Open(FName);
    if (!FDevice) return false;
    if (!FDevice->GetDevMode(FMode)) {
        FDevice.reset();
        FHasMode = false;
        return false;
    }
    FHasMode = true;
    return true;
}

void TqlrPrinter::CloseDeviceMode()
{
    if (FDevice) FDevice->BindCanvas(nullptr);
    FDevice.reset();
    FHasMode = false;
    FDC = false;
}

void TqlrPrinter::EnsureDC()
{
    if (FDC || !FDevice) return;
    FDevice->BindCanvas(FCanvas.get());
    FDC = true;
    FCanvas->SyncFontResolution();
}

void TqlrPrinter::RecreateDC()
{
    if (FDevice && FDC) {
        try {
            FDevice->BindCanvas(nullptr);
        } catch (...) {
        }
    }
    FDC = false;
    EnsureDC();
}

bool TqlrPrinter::UpdateDeviceCaps()
{
    if (!FDevice) return false;
    EnsureDC();
    const gui::TPrinterCaps c = FDevice->Caps();
    FDPI = {c.LogPixelsX, c.LogPixelsY};
    if (FDPI.X == 0 || FDPI.Y == 0) {
        ShowReportError("Printer selected is not valid");
        return false;
    }
    FPaperHeight = ToMm(c.PhysicalHeight, FDPI.Y);
    FPaperWidth = ToMm(c.PhysicalWidth, FDPI.X);
    FLeftMargin = ToMm(c.PhysicalOffsetX, FDPI.X);
    FTopMargin = ToMm(c.PhysicalOffsetY, FDPI.Y);
    FRightMargin = FPaperWidth - ToMm(c.HorzRes, FDPI.X) - FLeftMargin;
    FBottomMargin = FPaperHeight - ToMm(c.VertRes, FDPI.Y) - FTopMargin;
    FCanvas->SyncFontResolution();
    return true;
}

void TqlrPrinter::Init()
{
    if (FInitialized) return;
    if (!OpenDeviceMode()) return;
    RecreateDC();
    if (!UpdateDeviceCaps()) {
        CloseDeviceMode();
        return;
    }
    FDefPaper = FMode.PaperSize;
    FDefBin = FMode.DefaultSource;
    FDefDuplex = FMode.Duplex;
    FDefOrientation = FMode.Orientation == 1 ? gui::TPrinterOrientation::poPortrait
                                             : gui::TPrinterOrientation::poLandscape;
    FPaper = FDefPaper;
    FDefPaperWidth = FPaperWidth;
    FDefPaperHeight = FPaperHeight;
    FOrientation = FDefOrientation;
    // At most 256 entries of each, as the driver's query buffers hold.
    const gui::TPrinterNamedCodes papers = FDevice->Papers();
    for (size_t i = 0; i < papers.size() && i < 256; ++i)
        if (papers[i].second != 256) FPapers.push_back(papers[i]);
    const gui::TPrinterNamedCodes bins = FDevice->Bins();
    for (size_t i = 0; i < bins.size() && i < 256; ++i)
        if (bins[i].second != 7) FBins.push_back(bins[i]);
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

void TqlrPrinter::SetViewParams(int paperSize, long double paperWidth, long double paperHeight,
                                gui::TPrinterOrientation orientation)
{
    if (!FDevice) return;
    if (paperSize == 256) {
        SetViewParams(9, 0, 0, orientation);
        FPaperWidth = paperWidth;
        FPaperHeight = paperHeight;
        FPaper = 256;
        FOrientation = orientation;
        return;
    }
    FMode.Fields = gui::DM_ORIENTATION | gui::DM_PAPERSIZE;
    FMode.PaperSize = paperSize;
    FMode.Orientation = orientation == gui::TPrinterOrientation::poPortrait ? 1 : 2;
    FDevice->SetDevMode(FMode);
    RecreateDC();
    if (UpdateDeviceCaps()) {
        FPaper = paperSize;
        FOrientation = orientation;
    }
}

void TqlrPrinter::SetPrintParams(int paperSize, long double paperWidth, long double paperHeight,
                                 gui::TPrinterOrientation orientation, int bin, int duplex, int copies)
{
    if (!FDevice) return;
    const bool landscape = orientation == gui::TPrinterOrientation::poLandscape;
    FMode.Fields = gui::DM_ORIENTATION | gui::DM_PAPERSIZE | gui::DM_COPIES;
    if (paperSize == 256) {
        FMode.Fields |= gui::DM_PAPERLENGTH | gui::DM_PAPERWIDTH;
        FMode.PaperLength = static_cast<int>(std::lround((landscape ? paperWidth : paperHeight) * 10));
        FMode.PaperWidth = static_cast<int>(std::lround((landscape ? paperHeight : paperWidth) * 10));
    } else {
        FMode.PaperLength = 0;
        FMode.PaperWidth = 0;
    }
    FMode.Fields |= gui::DM_DEFAULTSOURCE | gui::DM_DUPLEX;
    FMode.PaperSize = paperSize;
    FMode.Orientation = landscape ? 2 : 1;
    FMode.Copies = copies;
    if (FBin != -1) bin = FBin;
    if (bin == 7) bin = FDefBin;
    FMode.DefaultSource = bin;
    int dup = duplex == 0 ? FDefDuplex : duplex + 1;
    if (dup == 4) dup = 1;
    if (FDuplex != -1) dup = FDuplex;
    FMode.Duplex = dup;
    FDevice->SetDevMode(FMode);
    if (UpdateDeviceCaps()) {
        FPaper = paperSize;
        FOrientation = orientation;
    }
}

void TqlrPrinter::BeginDoc()
{
    FPrinting = true;
    if (!FDevice) return;
    const std::string title = FTitle.empty() ? std::string("Quillory Report Document") : FTitle;
    RecreateDC();
    FDevice->StartDoc(title, FFileName);
    FDevice->BindCanvas(FCanvas.get());
}

void TqlrPrinter::BeginPage()
{
    if (FDevice) FDevice->StartPage();
}

void TqlrPrinter::EndPage()
{
    if (FDevice) FDevice->EndPage();
}

void TqlrPrinter::EndDoc()
{
    if (FDevice) {
        try {
            FDevice->EndDoc();
        } catch (...) {
        }
    }
    FPrinting = false;
    RecreateDC();
    FBin = -1;
    FDuplex = -1;
    if (!FDevice) return;
    FMode.Fields = gui::DM_DEFAULTSOURCE | gui::DM_DUPLEX;
    FMode.DefaultSource = FDefBin;
    FMode.Duplex = FDefDuplex;
    FDevice->SetDevMode(FMode);
}

void TqlrPrinter::Abort()
{
    if (FDevice) FDevice->AbortDoc();
    EndDoc();
}

void TqlrPrinter::BeginRAWDoc()
{
    RecreateDC();
    if (FDevice) FDevice->StartRawDoc(FTitle);
}

void TqlrPrinter::WriteRAWDoc(const std::string& buf)
{
    if (FDevice) FDevice->WriteRaw(buf);
}

void TqlrPrinter::EndRAWDoc()
{
    if (FDevice) FDevice->EndRawDoc();
}

void TqlrPrinter::PropertiesDlg()
{
    if (!FDevice) return;
    const int oldDuplex = FMode.Duplex;
    gui::TPrinterDevMode mode = FMode;
    if (!FDevice->PropertiesDialog(mode)) return;
    FMode = mode;
    FBin = FMode.DefaultSource;
    if (FMode.Duplex != oldDuplex) FDuplex = FMode.Duplex;
    RecreateDC();
}

} // namespace qlr
