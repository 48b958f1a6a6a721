// The main window: the world map in a scroll box with the eclipse computed
// into it from the idle loop, the information panel, the location table,
// the menus and commands, and the catalogue tables.  The status machine
// (SEMainStates.h) decides which commands are enabled.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/EclipseMap.h"
#include "app/FileDialogsEx.h"
#include "app/ObserverDataLists.h"
#include "app/SEMainStates.h"
#include "app/SettingsFiles.h"
#include "app/TEDocuments.h"
#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"
#include "controls/ExProgressBar.h"
#include "controls/ExPanel.h"
#include "controls/ExScrollBox.h"
#include "grid/ExGrid.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {
class TqlrPDFExport;
class TqlrReport;
class TqlrReportComponent;
}

namespace app {

class TCatalogueDlg;
class TLocationsDlg;
class TLocationSEEclipsesDlg;
class TLocationLEEclipsesDlg;
class TSettingsDlg;
class TPipeClient;

class TSEMainForm : public gui::TForm, public TMapHost {
public:
    explicit TSEMainForm(rtl::TComponent* owner);
    ~TSEMainForm() override;

    // --- components (names as the window description gives them) --------
    gui::TMainMenu* MenuBar = nullptr;
    gui::TToolBar* ToolBar = nullptr;        // buttons bound to the actions, with captions
    controls::TExScrollBox* ScrollBox = nullptr;
    gui::TPaintBox* PaintBox = nullptr;
    controls::TExPanel* ControlPanel = nullptr;     // caption panel "Information"
    gui::TLabel *LTitle = nullptr, *LGamma = nullptr, *LMagnitude = nullptr, *LLunation = nullptr,
                *LSaros = nullptr, *LDeltaT = nullptr, *LPosition = nullptr;
    std::array<gui::TLabel*, 14> InfoLabels{};
    gui::TPaintBox* PBInfo = nullptr;
    controls::TExProgressBar* ProgressBar = nullptr;
    controls::TExPanel* LocationsPanel = nullptr;   // caption panel "Locations"
    grid::TExStringGrid* SG = nullptr;       // the location table
    gui::TToolBar* LocationsToolBar = nullptr;
    gui::TPopupMenu* PMLocations = nullptr;  // pop-up menu of SG
    gui::TStatusBar* StatusBar = nullptr;    // four panels: modified, delta T source, error, rest
    db::TSQLiteTable* CBE_SE = nullptr;
    db::TSQLiteTable* CBE_LE = nullptr;
    TOpenDialogEx* OpenDlg = nullptr;
    TSaveDialogEx* SaveDlg = nullptr;
    gui::TPrintDialog* PrintDlg = nullptr;
    gui::TApplicationEvents* ApplicationEvents = nullptr;
    gui::TActionList* ActionManager = nullptr;
    gui::TLabel* LTimeShift = nullptr;       // time scale of the location table, a link
    TPipeClient* TEClient = nullptr;         // the sibling's pipe "TE"
    qlr::TqlrPDFExport* PDFExport = nullptr; // the report preview's "PDF file..." export
    qlr::TqlrReport* qlrReport = nullptr;    // the location table report (one page, a cross-tab)
    // Actions by name ("actSelectEclipse" ...).
    gui::TAction* Action(const std::string& name) const;

    // --- state -----------------------------------------------------------
    TEclipseMap& EclipseMap() { return *FEclipseMap; }
    compute::TSolarEclipse SEE;
    compute::TLunarEclipse LEE;
    TScrollInfo ScrollInfo;
    bool ExpandObserverDlg = true;
    // Whether the sibling program's folder is detected (configuration).
    bool AutoDetectPathToTE() const { return FConfiguration.AutoDetectPathToTE; }

    TStatus Status() const override { return FStatus; }
    void SetStatus(TStatus status) override;
    // The status stError with the reason shown in the status bar.
    void SetError(const std::string& message);
    const std::string& ErrorMessage() const { return FErrorMessage; }
    bool Modified() const { return FModified; }
    void SetModified(bool value);
    const std::string& FileName() const { return FFileName; }
    // Opens the document (empty: no document).
    void SetFileName(const std::string& name);
    TEventType EventType() const { return FEventType; }
    void SetEventType(TEventType type);
    const std::string& DeltaTTableFile() const { return FDeltaTTableFile; }
    void SetDeltaTTableFile(const std::string& name);
    bool GreyScaleMap() const { return FEclipseMap->GreyScaleMap; }
    void SetGreyScaleMap(bool value);
    TObserverDataList& LocationList() { return *FLocationList; }
    void SetStatusText(int panel, const std::string& text);
    // The delta-T source shown in status panel 1 for an eclipse at jde:
    // "Internal delta T table" or the table's file name as the delta-T
    // unit decides, "Built-in delta T model" when neither applies.
    std::string DeltaTSource(long double jde) const;
    // The configured delta-T table when it is loaded; "" while it is refused.
    std::string DeltaTTableInUse() const;
    std::string StatusText(int panel) const;
    void UpdateActionStates();
    // Asks before unsaved changes are dropped (Yes saves, No drops, Cancel
    // keeps the document); true when the caller may go on.
    bool CanDiscardDocument();
    void SetDefaults();
    // The time scale of the location table (tsmNone, tsmMLT, tsmSTZ): stored
    // and named by LTimeShift.  A value outside them keeps the current mode.
    int32_t TimeShiftMode() const { return FTimeShiftMode; }
    void SetTimeShiftMode(int32_t value);
    // The location of that place (letter case ignored) becomes the table's
    // current row, and the marker moves to it when it lies on the map.
    void ShowLocation(const std::string& place);
    // The location table's click (marks the current row's location on the
    // map) and double click (shows it in the map).
    void SGClick(rtl::TObject* sender);
    void SGDblClick(rtl::TObject* sender);
    // Empties the location list, clears the marker and refills the table.
    void ClearLocations();
    // What the sibling-program commands read of the window: the eclipse,
    // the time scale, the list with the current row, the pipe client, the
    // save dialog and message boxes.
    TTEContext TEContext();

    // Locates a catalogue number in the table of the event type: found:
    // the row read into SEE or LEE, stNeedCalculation; not found: stError.
    // Without a catalogue: stError with its cause, the number kept for the
    // configuration.
    bool SelectCatalogueEntry(TEventType type, int catNo);
    // One idle step: runs the calculation when the status asks for it.
    void IdleCalculation();
    // Opens the document named on the command line.
    void OpenCommandLineDocument(const std::string& argument);
    // Documents dropped on the window: the first ".sec" one is opened.
    void FilesDropped(const std::vector<std::string>& files);

    // The catalogue dialog the select command shows (set by the program).
    TCatalogueDlg* CatalogueDlg = nullptr;
    // The locations database dialog (created at start-up; none in tests
    // that build the window alone).
    TLocationsDlg* LocationsDlg = nullptr;
    // The eclipses of one location (created at start-up by the program,
    // else on first use).
    TLocationSEEclipsesDlg* LocationSEEclipsesDlg = nullptr;
    TLocationLEEclipsesDlg* LocationLEEclipsesDlg = nullptr;
    // Map printing into the printer (after the selection dialog).
    void PrintMap();
    // The location table report (SEMainReportOut.cpp): the variables set
    // from the information panel, then previewed, or prepared and printed.
    void PrintLocationTable(bool preview);
    // Portrait page, variables, report name and PDF title for the next run.
    void SetUpLocationReport();
    // The report's before-print event: fills the cross-tab from the table.
    void qlrReportBeforePrint(qlr::TqlrReportComponent* sender);

    // --- TMapHost ----------------------------------------------------------
    void ShowHeading(const TEclipseHeading& heading) override;
    void FillLocationTable() override;
    void MapSizeChanged(int width, int height) override;
    void InvalidateMap() override;
    void SetProgress(int percent) override;
    void ProcessMessages() override;
    void ShowError(const std::string& text) override;

    // --- the map under the mouse ---------------------------------------------
    // The readout of the local circumstances at a map pixel in the
    // information panel, with the altitude chart.
    void PaintBoxMouseMove(int x, int y);
    // Left button: the location under the pointer is marked and the
    // locations panel shown.
    void PaintBoxMouseDown(gui::TMouseButton button, int x, int y);
    // The map's right button: edits the location within 3 pixels of (x, y),
    // else offers a new one at the place clicked (SEMainLocations.cpp).
    void EditLocationAt(int x, int y);
    // Shows or hides the locations panel (above the status bar).
    void SetLocationsPanelVisible(bool value);

    // --- location table and commands (SEMainLocationTable.cpp, SEMainLocations.cpp)
    // The five layouts of the location table; FillLocationTable picks one
    // by the current eclipse.  Every fill starts from a cleared grid.
    void FillCentralSolarTable();
    void FillPartialSolarTable();
    void FillTotalLunarTable();
    void FillPartialLunarTable();
    void FillPenumbralLunarTable();
    // The list of database locations from which the current eclipse is
    // seen, after the criteria dialog: the number found, -1 when the
    // dialog was cancelled or the database could not be read (the list
    // then stays as it was).
    int CreateSolarLocationList();
    int CreateLunarLocationList();
    // Scrolls the map so that map pixel (x, y) lies in the view's centre.
    void CenterViewOn(int x, int y);
    // The location commands (the actions of the category "Locations").
    void LocationsAdd();
    void LocationsAddFromDatabase();
    void LocationsClear();
    void LocationsDelete();
    void LocationsEdit();
    void LocationsFind();
    void LocationsOpenList();
    void LocationsSaveList();
    // order: "Name", "Country", "Latitude", "Longitude" or "Tag".
    void LocationsSort(const std::string& order);
    void LocationsShowInMap();
    void LocationsTimeShiftMode();
    // The eclipses of the kind (solar or lunar) seen from the current row's
    // location; OK makes the chosen one the current eclipse and computes it.
    void LocationsEclipses(TEventType kind);
    // The list index of the table's current row; -1 when it shows none.
    int SelectedLocationIndex() const;
    // Label links of the information panel: underlined blue under the mouse.
    void LabelLinkEnter(gui::TLabel* label);
    void LabelLinkLeave(gui::TLabel* label);

    // --- commands --------------------------------------------------------
    void SelectEclipse();
    void FileNew();
    void FileOpen();
    bool FileSave();
    bool FileSaveAs();
    void FilePrint();
    void SaveAsGraphics();
    void MapStandard();
    void MapGeneral();
    void MapOpenFile();
    void MapInformation();
    void HelpAbout();
    // The delta-T dialog; on OK its file becomes the configured table and
    // the map is computed again.
    void SettingsDeltaT();
    // The options dialog with every display setting and the page of the
    // eclipse kind; on OK the values are taken over, and the map computed
    // again when something drawn into it changed (else only repainted).
    void SettingsOptions();
    // The options dialog (created at start-up by the program, else on first use).
    TSettingsDlg* SettingsDlg = nullptr;

    // Settings exchanged with the configuration and documents.  The window
    // layout goes into settings.Configuration: the window's normal bounds
    // and state, the locations panel's height and visibility.
    TSettings GatherSettings() const;
    void ApplySettings(const TSettings& settings);
    // The window state of the configuration, and with the normal state its
    // bounds (kept on the screen); the locations panel's height.  Applied
    // once, when the window is created.
    void ApplyWindowLayout(const TConfigurationSettings& configuration);
    // Reads a document (or with withConfiguration the configuration) into
    // the window; one that cannot be read changes nothing and is reported
    // in a message box naming the file and the reason (false).
    bool ReadDocument(const std::string& fileName, bool withConfiguration);

private:
    void CreateComponents();
    void CreateReportExport();
    // The PDF export's save dialog: starting folder and file name.
    void SuggestExportFile(gui::TSaveDialog& save);
    void CreateActions();
    void CreateMenus();
    void FormCreate();
    void FormDestroy();
    void Calculate();
    // Switches to a built-in map with its magnitude-curve and limit-band
    // settings (the time-curve settings stay).
    void UseBuiltInMap(const TMapData& map);
    void PaintBoxPaint();
    // The catalogue dialog: true with the chosen event type and catalogue
    // number on OK.
    bool AskEclipse(TEventType& type, int& catNo);
    // Status panel 2 names the values a read replaced by their defaults.
    void ShowReadNotice(const TSettingsReadResult& r);
    gui::TAction* AddAction(const std::string& name, const std::string& caption, gui::TShortCut shortCut,
                            std::function<void()> execute);

    std::unique_ptr<TEclipseMap> FEclipseMap;
    std::unique_ptr<TObserverDataList> FLocationList;
    std::unique_ptr<TConfigurationStore> FConfigurationStore;
    TConfigurationSettings FConfiguration;
    std::map<std::string, gui::TAction*> FActions;
    TStatus FStatus = stNeedCalculation;
    std::string FErrorMessage;
    bool FModified = false;
    std::string FFileName;
    TEventType FEventType = etLunarEclipse;
    int32_t FTimeShiftMode = tsmSTZ;
    // A note of the last read shown in status panel 2 while no error is
    // (values out of range replaced by their defaults).
    std::string FReadNotice;
    // Why the eclipse catalogue cannot be used ("" while it can), and the
    // eclipses the configuration named meanwhile: written back unchanged.
    std::string FCatalogueError;
    int32_t FStoredSECatNo = 0, FStoredLECatNo = 0;
    std::string FStoredSEDate, FStoredLEDate;
    std::string FDeltaTTableFile;
    bool FDestroyed = false;
};

// The smallest window and locations panel the configuration can ask for.
inline constexpr int MinimumFormWidth = 400;
inline constexpr int MinimumFormHeight = 300;
inline constexpr int MinimumLocationsPanelHeight = 50;

// The message after adding places from the locations database, by the
// places skipped because the list holds them already ("" for none).
std::string SkippedLocationsMessage(const std::vector<std::string>& places);

// The total or annular duration of the location table: the duration of
// days as "h:mm:ss" with a leading "0:" removed ("03:25", "1:02:00").
std::string CentralDurationText(long double days);

// The program's main window, once created.
extern TSEMainForm* SEMainForm;

// The credits texts and the maker's web address.
inline const std::string MakerWebPage = "https://www.tolmira.example/eclipse";
// The delta-T table the program ships and selects until the configuration
// names another (a file of the DeltaT folder).
inline const std::string DefaultDeltaTTableFile = "Morrison and Stephenson (2004)";
// The user manual, relative to the program folder; F1 opens it.
inline const std::string HelpFileName = "doc/index.html";

} // namespace app
