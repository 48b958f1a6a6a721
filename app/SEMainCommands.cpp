// The main window's commands: choosing an eclipse, documents, printing,
// saving the picture, maps and help.
#include <algorithm>
#include <filesystem>

#include "app/CatalogueDlgs.h"
#include "app/DeltaTDlgs.h"
#include "app/MapDlgs.h"
#include "app/PrintSelectDlgs.h"
#include "app/PrnUtils.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "app/SettingsDlgs.h"
#include "app/SplashScreens.h"
#include "app/TEDocuments.h"
#include "compute/AstroBase.h"
#include "platform/gui/Printers.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

// The name a save dialog suggests: the document's own name, else the
// eclipse's date (UT, of greatest eclipse) and type, such as
// "2024-04-08 total solar eclipse", with the extension given.
std::string SuggestedFileName(const std::string& document, TEventType type, const compute::TSolarEclipse& se,
                              const compute::TLunarEclipse& le, const std::string& extension)
{
    if (!document.empty()) return std::filesystem::path(document).stem().string() + extension;
    const bool solar = type == etSolarEclipse;
    const std::string letter = solar ? se.EclipseType() : le.EclipseType();
    if (letter.empty() || (solar ? se.CatNo() : le.CatNo()) <= 0) return "";
    std::string word;
    switch (letter[0]) {
    case 'T': word = "total"; break;
    case 'A': word = "annular"; break;
    case 'H': word = "hybrid"; break;
    case 'P': word = "partial"; break;
    case 'N': word = solar ? "" : "penumbral"; break;
    default: break;
    }
    const long double jd = compute::TDToUT(solar ? se.JDE() : static_cast<long double>(le.JD()));
    std::string name = UTDateText(jd) + (word.empty() ? "" : " " + word) + (solar ? " solar" : " lunar") +
                       " eclipse" + extension;
    CleanFileName(name);
    return name;
}

} // namespace

// ------------------------------------------------------------- eclipse

bool TSEMainForm::AskEclipse(TEventType& type, int& catNo)
{
    if (!CatalogueDlg) return false;
    CatalogueDlg->SetSECatNo(SEE.CatNo());
    CatalogueDlg->SetLECatNo(LEE.CatNo());
    CatalogueDlg->SetEventType(FEventType);
    CatalogueDlg->SetUseGeneralMap(true);
    if (CatalogueDlg->ShowModal() != mrOk) return false;
    type = CatalogueDlg->EventType();
    catNo = type == etSolarEclipse ? CatalogueDlg->SECatNo() : CatalogueDlg->LECatNo();
    return true;
}

void TSEMainForm::SelectEclipse()
{
    TEventType type;
    int catNo = 0;
    if (!AskEclipse(type, catNo)) return;
    SelectCatalogueEntry(type, catNo);
    FFileName.clear();
    SetCaption(ApplicationTitle);
}

// ------------------------------------------------------------ documents

TSettings TSEMainForm::GatherSettings() const
{
    TSettings s;
    const TMapDrawSettings& d = FEclipseMap->Settings;
    s.DeltaTTableFile = FDeltaTTableFile;
    s.UseInternalDeltaTTable = compute::UseInternalDeltaTTable;
    s.MapData = FEclipseMap->MapData;
    s.CEMScale = d.CEMScale;
    s.CEMWidth = d.CEMWidth;
    s.CEMLabelScale = d.CEMLabelScale;
    s.CEMLabelOffset = d.CEMLabelOffset;
    s.CEMLabelSize = d.CEMLabelSize;
    s.CETScale = d.CETScale;
    s.CETWidth = d.CETWidth;
    s.CETLabelSize = d.CETLabelSize;
    s.VBLWidth = d.VBLWidth;
    s.LEShadingIntensity = d.LEShadingIntensity;
    s.LELongLabels = d.LELongLabels;
    s.LELabelSize = d.LELabelSize;
    s.InfoPosition = static_cast<int32_t>(d.InfoPosition);
    for (int i = 0; i < MapSlotCount; ++i) {
        s.Colors[static_cast<std::size_t>(i)] = d.Colors[static_cast<std::size_t>(i)];
        s.Flags[static_cast<std::size_t>(i)] = d.Flags[static_cast<std::size_t>(i)];
    }
    s.GreyScaleMap = FEclipseMap->GreyScaleMap;
    s.TimeShiftMode = FTimeShiftMode;
    s.EventType = FEventType == etSolarEclipse ? 0 : 1;
    s.SECatNo = SEE.CatNo();
    s.LECatNo = LEE.CatNo();
    if (CBE_SE->Active() && !CBE_SE->IsEmpty()) s.SEDate = CBE_SE->FieldByName("DT")->AsString();
    if (CBE_LE->Active() && !CBE_LE->IsEmpty()) s.LEDate = CBE_LE->FieldByName("DT")->AsString();
    // Without a catalogue the eclipses stay those the configuration named.
    if (!CBE_SE->Active()) {
        s.SECatNo = FStoredSECatNo;
        s.SEDate = FStoredSEDate;
    }
    if (!CBE_LE->Active()) {
        s.LECatNo = FStoredLECatNo;
        s.LEDate = FStoredLEDate;
    }
    // A stored position that no calculation has applied yet is still the
    // one the user left; the view is not scrolled until then.
    s.ScrollInfo = ScrollInfo.HasScrollInfo
                       ? ScrollInfo
                       : TScrollInfo{ScrollBox->HorzScrollBar()->Position(), ScrollBox->VertScrollBar()->Position(), true};
    s.Configuration = FConfiguration;
    s.Configuration.Modified = FModified;
    s.Configuration.ObserverDlgExpanded = ExpandObserverDlg;
    const TRect bounds = NormalBounds();
    s.Configuration.FormLeft = bounds.Left;
    s.Configuration.FormTop = bounds.Top;
    s.Configuration.FormWidth = bounds.Width();
    s.Configuration.FormHeight = bounds.Height();
    switch (WindowState()) {
    case TWindowState::wsNormal: s.Configuration.FormWindowState = 0; break;
    case TWindowState::wsMinimized: s.Configuration.FormWindowState = 1; break;
    case TWindowState::wsMaximized: s.Configuration.FormWindowState = 2; break;
    }
    // The floating panels' places as the user left them.
    s.Configuration.LocationsPanelTop = LocationsPanel->Top();
    s.Configuration.LocationsPanelLeft = LocationsPanel->Left();
    s.Configuration.LocationsPanelWidth = LocationsPanel->GetWidth();
    s.Configuration.LocationsPanelHeight = LocationsPanel->GetHeight();
    s.Configuration.LocationsPanelVisible = LocationsPanel->Visible();
    s.Configuration.ToolPanelTop = ControlPanel->Top();
    s.Configuration.ToolPanelLeft = ControlPanel->Left();
    return s;
}

void TSEMainForm::ApplySettings(const TSettings& s)
{
    TMapDrawSettings& d = FEclipseMap->Settings;
    FEclipseMap->MapData = s.MapData;
    // Values outside a setter's range leave the field as it was.
    if (s.CEMScale > 0 && s.CEMScale <= 1) d.CEMScale = s.CEMScale;
    if (s.CEMWidth > 0 && s.CEMWidth <= 1) d.CEMWidth = s.CEMWidth;
    if (s.VBLWidth > 0 && s.VBLWidth <= 1) d.VBLWidth = s.VBLWidth;
    if (s.CEMLabelSize >= 8 && s.CEMLabelSize <= 16) d.CEMLabelSize = s.CEMLabelSize;
    d.CEMLabelScale = s.CEMLabelScale;
    d.CEMLabelOffset = s.CEMLabelOffset;
    // A step of no minutes would never end the curves of equal time.
    if (s.CETScale > 0) d.CETScale = s.CETScale;
    d.CETWidth = s.CETWidth;
    d.CETLabelSize = s.CETLabelSize;
    d.LEShadingIntensity = s.LEShadingIntensity;
    d.LELongLabels = s.LELongLabels;
    d.LELabelSize = s.LELabelSize;
    if (s.InfoPosition >= 0 && s.InfoPosition <= 5) d.InfoPosition = static_cast<TInfoPosition>(s.InfoPosition);
    for (int i = 0; i < MapSlotCount; ++i) {
        d.Colors[static_cast<std::size_t>(i)] = s.Colors[static_cast<std::size_t>(i)];
        d.Flags[static_cast<std::size_t>(i)] = s.Flags[static_cast<std::size_t>(i)];
    }
    SetTimeShiftMode(s.TimeShiftMode);
    // The setter marks the document modified and asks for a calculation;
    // the readers set the modified flag afterwards.
    SetGreyScaleMap(s.GreyScaleMap);
    SetDeltaTTableFile(s.DeltaTTableFile);
    FConfiguration = s.Configuration;
    ExpandObserverDlg = s.Configuration.ObserverDlgExpanded;
    SetLocationsPanelVisible(s.Configuration.LocationsPanelVisible);
    ScrollInfo = s.ScrollInfo;
    FillLocationTable();
    // The eclipse last: it sets the status.
    FStoredSECatNo = s.SECatNo;
    FStoredSEDate = s.SEDate;
    FStoredLECatNo = s.LECatNo;
    FStoredLEDate = s.LEDate;
    const TEventType type = s.EventType == 0 ? etSolarEclipse : etLunarEclipse;
    const int other = type == etSolarEclipse ? s.LECatNo : s.SECatNo;
    db::TSQLiteTable* otherTable = type == etSolarEclipse ? CBE_LE : CBE_SE;
    if (otherTable->Active()) otherTable->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(other)));
    if (otherTable == CBE_SE && CBE_SE->Active() && !CBE_SE->IsEmpty()) SEE.ReadFromDataSet(CBE_SE);
    if (otherTable == CBE_LE && CBE_LE->Active() && !CBE_LE->IsEmpty()) LEE.ReadFromDataSet(CBE_LE);
    SelectCatalogueEntry(type, type == etSolarEclipse ? s.SECatNo : s.LECatNo);
}

void TSEMainForm::ApplyWindowLayout(const TConfigurationSettings& c)
{
    switch (c.FormWindowState) {
    case 0: {
        // A window too small to use, or out of sight (the screen it was on
        // has gone), comes back usable and on the screen.
        const TRect area = Screen->WorkAreaRect();
        const int width = std::clamp(c.FormWidth, MinimumFormWidth, std::max(MinimumFormWidth, area.Width()));
        const int height = std::clamp(c.FormHeight, MinimumFormHeight, std::max(MinimumFormHeight, area.Height()));
        int left = c.FormLeft, top = c.FormTop;
        if (left + width <= area.Left || left >= area.Right || top + height <= area.Top || top >= area.Bottom) {
            left = area.Left + 10;
            top = area.Top + 10;
        }
        SetBounds(left, top, width, height);
        SetWindowState(TWindowState::wsNormal);
        break;
    }
    case 1: SetWindowState(TWindowState::wsMinimized); break;
    default: SetWindowState(TWindowState::wsMaximized); break;
    }
    // The floating panels take their stored places; the location panel its
    // stored size (the reader keeps it at least 100 x 50).
    // A place out of the window (stored with a larger window) is pulled
    // back so that the caption can still be reached.
    const auto reachable = [this](int left, int top) {
        const int maxLeft = std::max(0, ClientWidth() - 40), maxTop = std::max(0, ClientHeight() - 40);
        return TPoint{std::clamp(left, 0, maxLeft), std::clamp(top, 0, maxTop)};
    };
    const TPoint lp = reachable(c.LocationsPanelLeft, c.LocationsPanelTop);
    LocationsPanel->SetBounds(lp.X, lp.Y, LocationsPanel->Width(), LocationsPanel->Height());
    LocationsPanel->SetWidth(c.LocationsPanelWidth);
    LocationsPanel->SetHeight(std::max(MinimumLocationsPanelHeight, c.LocationsPanelHeight));
    const TPoint tp = reachable(c.ToolPanelLeft, c.ToolPanelTop);
    ControlPanel->SetBounds(tp.X, tp.Y, ControlPanel->Width(), ControlPanel->Height());
    ControlPanel->SetCollaps(c.ToolPanelCollapsed);
}

void TSEMainForm::FileNew()
{
    if (!CanDiscardDocument()) return;
    // The eclipse is chosen first: cancelled, everything stays as it was.
    TEventType type;
    int catNo = 0;
    if (!AskEclipse(type, catNo)) return;
    SetDefaults();
    FFileName.clear();
    SetCaption(ApplicationTitle);
    FEclipseMap->LoadMap();
    PaintBox->Invalidate();
    SelectCatalogueEntry(type, catNo);
    SetModified(false);
}

void TSEMainForm::FileOpen()
{
    if (!CanDiscardDocument()) return;
    OpenDlg->Title = "Open";
    OpenDlg->Filter = DocumentFilter;
    OpenDlg->DefaultExt = "sec";
    OpenDlg->InitialDir = DocumentsPath;
    OpenDlg->FileName = "";
    if (!OpenDlg->Execute()) return;
    SetFileName(OpenDlg->FileName);
}

bool TSEMainForm::FileSave()
{
    if (rtl::Trim(FFileName).empty()) return FileSaveAs();
    try {
        WriteSettings(FFileName, false, GatherSettings(), *FLocationList);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return false;
    }
    SetModified(false);
    return true;
}

bool TSEMainForm::FileSaveAs()
{
    SaveDlg->Title = "Save as";
    SaveDlg->Filter = DocumentFilter;
    SaveDlg->DefaultExt = "sec";
    SaveDlg->InitialDir = DocumentsPath;
    SaveDlg->FileName = SuggestedFileName(FFileName, FEventType, SEE, LEE, DocumentExtension);
    SaveDlg->Options += TOpenOption::ofOverwritePrompt;
    if (!SaveDlg->Execute()) return false;
    std::string name = SaveDlg->FileName;
    if (std::filesystem::path(name).extension().empty()) name += DocumentExtension;
    try {
        WriteSettings(name, false, GatherSettings(), *FLocationList);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return false;
    }
    FFileName = name;
    SetCaption(DocumentCaption(name));
    SetModified(false);
    return true;
}

void TSEMainForm::OpenCommandLineDocument(const std::string& argument)
{
    const std::string name = DocumentFromArgument(argument);
    if (!name.empty()) SetFileName(name);
}

void TSEMainForm::FilesDropped(const std::vector<std::string>& files)
{
    if (!AcceptsDroppedFiles(FStatus)) return;
    for (const std::string& f : files)
        if (IsDocumentFileName(f)) {
            if (CanDiscardDocument()) SetFileName(f);
            return;
        }
}

// ------------------------------------------------------------- printing

void TSEMainForm::FilePrint()
{
    if (Printer()->Printing()) {
        MessageDlg("The printer is already in use. Please try again later.", TMsgDlgType::mtInformation,
                   {TMsgDlgBtn::mbOK});
        return;
    }
    TPrintSelectDlg dlg(nullptr);
    dlg.SetPrintEclipseMap(true);
    dlg.SetPreview(false);
    if (dlg.ShowModal() != mrOk) return;
    if (dlg.FPrintEclipseMap) PrintMap();
    else if (dlg.FPrintLocationTable) PrintLocationTable(dlg.FPreview);
}

void TSEMainForm::PrintMap()
{
    PrintDlg->Copies = 1;
    if (!PrintDlg->Execute()) return;
    TPrinter* printer = Printer();
    printer->SetOrientation(FEclipseMap->MapData.Height < FEclipseMap->MapData.Width
                                ? TPrinterOrientation::poLandscape
                                : TPrinterOrientation::poPortrait);
    std::unique_ptr<TBitmap> picture = FEclipseMap->MapPicture(FLocationList.get());
    TDibBlock info, bits;
    int w, h;
    if (!BitmapToDIB(*picture, info, bits, w, h)) {
        MessageDlg("Printing error: Could not load bitmap.\r\nPrinting aborted.", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        return;
    }
    TAbortDialog* abort = CreateAbortDialog(this);
    TPrnMessageOwner previous = PrnSetMessageOwner([](const std::string& text) {
        MessageDlgCaptions(text, "TQuorvaImagePrinter", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, {});
    });
    PrnSetShowErrors(true);
    PrnSetUseBlit(true);
    PrnSetPixelScale(1, 1);
    PrnSetSourceBands(true);
    int result = 0;
    try {
        printer->SetTitle(ApplicationTitle);
        printer->BeginDoc();
        TCanvasPrnDevice device(*printer->Canvas(), {Screen ? Screen->Width() : 1920, Screen ? Screen->Height() : 1080});
        const int copies = std::max(1, PrintDlg->Copies);
        for (int copy = 1; copy <= copies; ++copy) {
            if (copy > 1) printer->NewPage();
            result = PrintDIB(device, info, bits, true, true, [abort](int tile, int count) {
                const int percent = static_cast<int>(static_cast<double>(tile) / count * 100);
                SetAbortDialogText(abort, "Printing the map - " + rtl::IntToStr(percent) + "%");
                return AbortDialogCanceled(abort) ? 0 : 1;
            });
            if (result <= 0) break;
        }
        if (result > 0) printer->EndDoc();
        else printer->Abort();
    } catch (const std::exception& e) {
        if (printer->Printing()) printer->Abort();
        result = -1;
    }
    FreeAbortDialog(abort);
    PrnSetMessageOwner(previous);
    if (result <= 0)
        MessageDlg("Printing error: User abort or other error.\r\nPrinting aborted.", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
}

void TSEMainForm::SaveAsGraphics()
{
    SaveDlg->Title = "Save as graphics file";
    SaveDlg->Filter = "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg;*.jpeg|Bitmap files (*.bmp)|*.bmp";
    SaveDlg->FilterIndex = 1;
    SaveDlg->DefaultExt = "png";
    SaveDlg->InitialDir = ExportPath;
    SaveDlg->FileName = SuggestedFileName(FFileName, FEventType, SEE, LEE, ".png");
    if (!SaveDlg->Execute()) return;
    try {
        FEclipseMap->SaveAsGraphics(SaveDlg->FileName, FLocationList.get());
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    }
}

// ------------------------------------------------------------------ maps

void TSEMainForm::UseBuiltInMap(const TMapData& map)
{
    FEclipseMap->MapData = map;
    TMapDrawSettings& d = FEclipseMap->Settings;
    d.CEMWidth = map.CEMWidth;
    d.CEMScale = map.CEMScale;
    d.CEMLabelScale = map.CEMLabelScale;
    d.CEMLabelOffset = map.CEMLabelOffset;
    d.VBLWidth = map.VBLWidth;
    SetModified(true);
    SetStatus(stNeedCalculation);
}

void TSEMainForm::MapStandard() { UseBuiltInMap(StandardMapData); }

void TSEMainForm::MapGeneral() { UseBuiltInMap(GeneralMapData); }

void TSEMainForm::MapOpenFile()
{
    TMapsDlg dlg(nullptr);
    dlg.SetMapsPath(MapsPath);
    try {
        if (dlg.ShowModal() != mrOk) return;
    } catch (const std::exception& e) {
        // A description in the Maps folder that cannot be read: the list
        // is not shown and the map stays.
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return;
    }
    TMapData data;
    if (dlg.FStandardMap) data = StandardMapData;
    else if (dlg.FGeneralMap) data = GeneralMapData;
    else {
        try {
            data = FEclipseMap->MapData;
            if (!ReadMapDataFile(dlg.FFileName, data)) data = StandardMapData;
        } catch (const std::exception& e) {
            MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            return;
        }
    }
    FEclipseMap->MapData = data;
    ApplyMapCurveDefaults(FEclipseMap->Settings, data);
    SetModified(true);
    SetStatus(stNeedCalculation);
}

void TSEMainForm::MapInformation()
{
    TMapInfoDlg dlg(nullptr);
    dlg.SetMapData(FEclipseMap->MapData);
    dlg.ShowModal();
}

void TSEMainForm::HelpAbout()
{
    TSplashScreen splash(nullptr);
    splash.FCanClose = true;
    splash.ShowModal();
}

// ------------------------------------------------------------ settings

void TSEMainForm::SettingsDeltaT()
{
    TDeltaTDlg dlg(this);
    dlg.SetDeltaTFile(DeltaTPath + FDeltaTTableFile);
    if (dlg.ShowModal() != mrOk) return;
    SetDeltaTTableFile(std::filesystem::path(dlg.DeltaTFile()).filename().string());
    SetStatus(stNeedCalculation);
}

void TSEMainForm::SettingsOptions()
{
    if (!SettingsDlg) SettingsDlg = new TSettingsDlg(this);
    TMapDrawSettings& d = FEclipseMap->Settings;
    SettingsDlg->SetOptions(d);
    SettingsDlg->SetPageIndex(FEventType == etSolarEclipse ? 0 : 1);
    if (SettingsDlg->ShowModal() != mrOk) return;
    const bool recompute = OptionsNeedCalculation(d, SettingsDlg->Options(d));
    TakeOptions(*SettingsDlg, d);
    SetModified(true);
    // Locations, their names and the information box are drawn at paint time.
    if (recompute) SetStatus(stNeedCalculation);
    else PaintBox->Invalidate();
}

} // namespace app
