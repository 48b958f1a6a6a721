// The main window: components, state setters, the status machine and the
// idle calculation.  The commands are in SEMainCommands.cpp.
#include "app/SEMain.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/AppMessages.h"
#include "app/CatalogueDlgs.h"
#include "app/MapImages.h"
#include "app/MapView.h"
#include "app/Pipes.h"
#include "app/SEPaths.h"
#include "compute/AstroBase.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"
#include "reportout/qlrFileDialogs.h"

namespace app {

using namespace gui;

TSEMainForm* SEMainForm = nullptr;

namespace {

TLabel* MakeLabel(rtl::TComponent* owner, TWinControl* parent, int x, int y, const std::string& caption)
{
    auto* l = new TLabel(owner);
    l->SetParent(parent);
    l->SetBounds(x, y, 100, 16);
    l->SetCaption(caption);
    return l;
}

} // namespace

TSEMainForm::TSEMainForm(rtl::TComponent* owner) : TForm(owner)
{
    FEclipseMap = std::make_unique<TEclipseMap>(this);
    CreateComponents();
    CreateReportExport();
    CreateActions();
    CreateMenus();
    OnCreate = [this](rtl::TObject*) { FormCreate(); };
    OnDestroy = [this](rtl::TObject*) { FormDestroy(); };
    OnShow = [this](rtl::TObject*) { UpdateActionStates(); };
    // Exit, the window's close button and the end of the desktop session
    // all ask before unsaved changes go.
    OnCloseQuery = [this](rtl::TObject*, bool& canClose) { canClose = CanDiscardDocument(); };
    OnFilesDropped = [this](rtl::TObject*, const std::vector<std::string>& files) { FilesDropped(files); };
    // Alt with a letter that a command shows as its shortcut means that
    // command only: while it cannot run the key does nothing, rather than
    // open the menu of the same letter (menus open with Alt released first).
    OnShortCut = [this](TMessage& message, bool& handled) {
        const TShiftState shift = KeyDataToShiftState(message.LParam);
        if (shift != TShiftState{TShiftStateItem::ssAlt}) return;
        const TShortCut key = ShortCut(static_cast<uint16_t>(message.WParam), shift);
        for (const auto& [name, action] : FActions)
            if (action->ShortCut() == key && !action->Enabled()) handled = true;
    };
    SEMainForm = this;
}

TSEMainForm::~TSEMainForm()
{
    // The configuration is written while the window's members still live,
    // however the window is freed.
    BeforeDestruction();
    if (SEMainForm == this) SEMainForm = nullptr;
    qlr::SetFileDialogHook(nullptr);
}

void TSEMainForm::CreateComponents()
{
    SetCaption(ApplicationTitle);
    SetBounds(10, 10, 1100, 760);
    SetKeyPreview(true);

    ToolBar = new TToolBar(this);
    ToolBar->SetParent(this);
    ToolBar->SetAlign(TAlign::alTop);
    ToolBar->SetShowCaptions(true);
    ToolBar->SetFlat(false);
    ToolBar->SetShowHint(true);

    // The information panel floats over the map: moved by its caption,
    // collapsed to it by its min/max button.
    ControlPanel = new controls::TExPanel(this);
    ControlPanel->SetParent(this);
    ControlPanel->SetBevelOuter(TBevelCut::bvNone);
    ControlPanel->SetBorderWidth(1);
    ControlPanel->SetBorderColor(clGray);
    ControlPanel->SetCanMove(true);
    ControlPanel->Caption()->SetVisible(true);
    ControlPanel->Caption()->SetText("Information");
    ControlPanel->Caption()->SetMinMaxButton(true);
    ControlPanel->Caption()->SetFlat(true);
    ControlPanel->Caption()->SetColor(clHighlight);
    ControlPanel->Caption()->SetCloseColor(clHighlight);
    ControlPanel->Caption()->Font()->SetColor(clHighlightText);
    ControlPanel->Caption()->Font()->SetStyle({TFontStyle::fsBold});
    ControlPanel->SetCollapsColor(clMenuHighlight);
    ControlPanel->SetBounds(10, 50, 322, 223);
    ControlPanel->SetFullHeight(93);
    ControlPanel->SetHeight(223);
    LTitle = MakeLabel(this, ControlPanel, 6, 22, "");
    LTitle->SetAutoSize(false);
    LTitle->SetBounds(6, 22, 310, 16);
    LTitle->Font()->SetStyle({TFontStyle::fsBold});
    LTitle->Font()->SetColor(clNavy);
    LTitle->SetCursor(crHandPoint);
    const char* names[] = {"Gamma:", "Magnitude:", "Lunation:", "Saros:", "Delta T:", "Position:"};
    TLabel** values[] = {&LGamma, &LMagnitude, &LLunation, &LSaros, &LDeltaT, &LPosition};
    for (int i = 0; i < 6; ++i) {
        MakeLabel(this, ControlPanel, 6, 38 + 13 * i, names[i]);
        *values[i] = MakeLabel(this, ControlPanel, 80, 38 + 13 * i, "");
    }
    // Contacts in rows beside the altitude chart, which grows with them.
    for (int i = 0; i < 7; ++i) {
        InfoLabels[static_cast<std::size_t>(i)] = MakeLabel(this, ControlPanel, 6, 118 + 16 * i, "");
        InfoLabels[static_cast<std::size_t>(7 + i)] = MakeLabel(this, ControlPanel, 40, 118 + 16 * i, "");
    }
    PBInfo = new TPaintBox(this);
    PBInfo->SetParent(ControlPanel);
    PBInfo->SetBounds(172, 118, 144, 92);
    PBInfo->OnPaint = [this](rtl::TObject*) {
        TCanvas* c = PBInfo->Canvas();
        c->Brush()->SetColor(ControlPanel->Color());
        c->FillRect({0, 0, PBInfo->Width(), PBInfo->Height()});
    };
    // Navy until the computation completes, the level-3 colours at 100 %;
    // under the contacts, it keeps to the panel's bottom edge.
    ProgressBar = new controls::TExProgressBar(this);
    ProgressBar->SetParent(ControlPanel);
    ProgressBar->SetBounds(6, 200, 148, 18);
    ProgressBar->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
    ProgressBar->SetCompletionSmooth(true);
    ProgressBar->SetLevel0Color(clNavy);
    ProgressBar->SetLevel0ColorTo(clNavy);
    ProgressBar->SetLevel1Perc(100);
    ProgressBar->SetLevel2Perc(100);
    ProgressBar->SetShowBorder(true);
    ProgressBar->PercentFont()->SetName("Verdana");
    ProgressBar->PercentFont()->SetColor(clGray);
    ProgressBar->SetPosition(0);
    LDeltaT->SetCursor(crHandPoint);

    // The location panel floats too: moved by its caption, sized at its
    // right and bottom edges, hidden by its close button.
    LocationsPanel = new controls::TExPanel(this);
    LocationsPanel->SetParent(this);
    LocationsPanel->SetBevelOuter(TBevelCut::bvNone);
    LocationsPanel->SetCanMove(true);
    LocationsPanel->SetCanSize(true);
    LocationsPanel->SetBorderWidth(2);
    LocationsPanel->SetCollapsSteps(20);
    LocationsPanel->SetCollapsDelay(200);
    LocationsPanel->Constraints()->MinWidth = 100;
    LocationsPanel->Constraints()->MinHeight = 50;
    LocationsPanel->Caption()->SetVisible(true);
    LocationsPanel->Caption()->SetText("Locations");
    LocationsPanel->Caption()->SetCloseButton(true);
    LocationsPanel->Caption()->Font()->SetStyle({TFontStyle::fsBold});
    LocationsPanel->SetBounds(100, 100, 500, 300);
    LocationsPanel->SetVisible(false);
    LocationsPanel->OnClose = [this](rtl::TObject*) { UpdateActionStates(); };
    LocationsToolBar = new TToolBar(this);
    LocationsToolBar->SetParent(LocationsPanel);
    LocationsToolBar->SetAlign(TAlign::alTop);
    LocationsToolBar->SetShowCaptions(true);
    LocationsToolBar->SetShowHint(true);
    SG = new grid::TExStringGrid(this);
    SG->SetParent(LocationsPanel);
    SG->SetAlign(TAlign::alClient);
    SG->SetColCount(2);
    SG->SetRowCount(2);
    SG->SetFixedRows(1);
    SG->SetFixedCols(0);
    SG->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                    TGridOption::goHorzLine, TGridOption::goRowSelect});
    SG->SetDefaultRowHeight(32);
    SG->SetFixedRowHeight(34);
    SG->Font()->SetName("Tahoma");
    SG->Font()->SetSize(8);
    SG->FixedFont()->SetName("Tahoma");
    SG->FixedFont()->SetSize(8);
    SG->FixedFont()->SetStyle({TFontStyle::fsBold});
    SG->ActiveCellFont()->SetStyle({TFontStyle::fsBold});
    SG->SetFlat(true);
    SG->SetLook(grid::TGridLook::glStandard);
    SG->SetSelectionColor(clActiveCaption);
    SG->SetSelectionTextColor(clHighlightText);
    SG->SetMultilinecells(true);
    // The cells break their lines themselves; a header wider than its
    // column is cut rather than broken inside a word.
    SG->SetWordWrap(false);
    SG->MouseActions()->SetWheelIncrement(1);
    SG->Navigation()->SetAllowClipboardShortCuts(true);
    SG->Navigation()->SetHomeEndKey(grid::THomeEndAction::heFirstLastRow);
    SG->SetScrollBars(TScrollStyle::ssBoth);
    SG->OnClick = [this](rtl::TObject* s) { SGClick(s); };
    SG->OnDblClick = [this](rtl::TObject* s) { SGDblClick(s); };
    LTimeShift = MakeLabel(this, LocationsPanel, 6, 2, "");
    LTimeShift->SetAlign(TAlign::alTop);

    // Created after the locations panel: the outermost bottom row.
    StatusBar = new TStatusBar(this);
    StatusBar->SetParent(this);
    StatusBar->SetAlign(TAlign::alBottom);
    StatusBar->SetHeight(22);
    for (int i = 0; i < 4; ++i) StatusBar->AddPanel()->SetWidth(0);

    ScrollBox = new controls::TExScrollBox(this);
    ScrollBox->SetParent(this);
    ScrollBox->SetAlign(TAlign::alClient);
    ScrollBox->SetBorderColor(clNavy);
    ScrollBox->SetCtl3D(false);
    ScrollBox->SetDoubleBuffered(true);
    ScrollBox->HorzScrollBar()->SetTracking(true);
    ScrollBox->VertScrollBar()->SetTracking(true);
    PaintBox = new TPaintBox(this);
    PaintBox->SetParent(ScrollBox);
    PaintBox->SetCursor(crCross);
    PaintBox->OnPaint = [this](rtl::TObject*) { PaintBoxPaint(); };
    PaintBox->OnMouseMove = [this](rtl::TObject*, TShiftState, int x, int y) { PaintBoxMouseMove(x, y); };
    PaintBox->OnMouseDown = [this](rtl::TObject*, TMouseButton button, TShiftState, int x, int y) {
        PaintBoxMouseDown(button, x, y);
    };
    PaintBox->OnClick = [this](rtl::TObject*) {
        if (ScrollBox->CanFocus()) ScrollBox->SetFocus();
    };
    ScrollBox->OnMouseWheelDown = [this](rtl::TObject*, TShiftState, TPoint, bool& handled) {
        ScrollBox->VertScrollBar()->SetPosition(ScrollBox->VertScrollBar()->Position() + 10);
        handled = true;
    };
    ScrollBox->OnMouseWheelUp = [this](rtl::TObject*, TShiftState, TPoint, bool& handled) {
        ScrollBox->VertScrollBar()->SetPosition(std::max(0, ScrollBox->VertScrollBar()->Position() - 10));
        handled = true;
    };

    // The floating panels lie over the map.
    ControlPanel->BringToFront();
    LocationsPanel->BringToFront();

    CBE_SE = new db::TSQLiteTable(this);
    CBE_LE = new db::TSQLiteTable(this);
    OpenDlg = new TOpenDialogEx(this);
    SaveDlg = new TSaveDialogEx(this);
    PrintDlg = new TPrintDialog(this);
    TEClient = new TPipeClient(this);
    TEClient->SetPipeName(TEPipeName);
    // Label links: the title chooses an eclipse, delta T opens its table,
    // the time shift its mode (each only while its command is enabled).
    for (auto [label, action] : {std::pair{LTitle, "actSelectEclipse"}, {LDeltaT, "actSettingsDeltaT"},
                                 {LTimeShift, "actLocationsTimeShiftMode"}}) {
        label->SetCursor(crHandPoint);
        const std::string name = action;
        label->OnClick = [this, name](rtl::TObject*) {
            TAction* a = Action(name);
            if (a && a->Enabled()) a->Execute();
        };
        TLabel* l = label;
        label->OnMouseEnter = [this, l](rtl::TObject*) { LabelLinkEnter(l); };
        label->OnMouseLeave = [this, l](rtl::TObject*) { LabelLinkLeave(l); };
    }
    ApplicationEvents = new TApplicationEvents(this);
    ApplicationEvents->OnIdle = [this](rtl::TObject*, bool& done) {
        IdleCalculation();
        done = true;
    };
    // Hints of the menu entry or control under the mouse or the keyboard's
    // highlight, in the last panel (the first ones are the document's).
    ApplicationEvents->OnHint = [this](rtl::TObject*) { SetStatusText(3, Application->Hint()); };
}

gui::TAction* TSEMainForm::AddAction(const std::string& name, const std::string& caption, TShortCut shortCut,
                                     std::function<void()> execute)
{
    auto* a = new TAction(this);
    a->SetName(name);
    a->SetCaption(caption);
    a->SetShortCut(shortCut);
    a->SetActionList(ActionManager);
    if (execute) a->OnExecute = [execute](rtl::TObject*) { execute(); };
    FActions[name] = a;
    return a;
}

gui::TAction* TSEMainForm::Action(const std::string& name) const
{
    auto it = FActions.find(name);
    return it == FActions.end() ? nullptr : it->second;
}

void TSEMainForm::CreateActions()
{
    ActionManager = new TActionList(this);
    const TShiftState none, ctrl{TShiftStateItem::ssCtrl}, alt{TShiftStateItem::ssAlt},
        ctrlAlt{TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt};
    AddAction("actSelectEclipse", "Select &eclipse", ShortCut(VK_F9, none), [this] { SelectEclipse(); });
    AddAction("actCancelCalculation", "Cancel calculation", ShortCut(VK_ESCAPE, none), [this] { SetStatus(stCancel); })
        ->AddSecondaryShortCut(ShortCut(VK_F2, ctrl));
    AddAction("actFileNew", "&New...", scNone, [this] { FileNew(); });
    AddAction("actFileOpen", "&Open...", ShortCut('O', ctrl), [this] { FileOpen(); });
    AddAction("actFileSave", "&Save", scNone, [this] { FileSave(); });
    AddAction("actFileSaveAs", "Save &as...", ShortCut('S', ctrl), [this] { FileSaveAs(); });
    AddAction("actSaveAsGraphics", "Save as &graphics file...", scNone, [this] { SaveAsGraphics(); });
    AddAction("actFilePrint", "&Print...", ShortCut('P', ctrl), [this] { FilePrint(); });
    AddAction("actExit", "E&xit", scNone, [this] { Close(); });
    AddAction("actMapOpenFile", "&Open map...", ShortCut('M', alt), [this] { MapOpenFile(); });
    AddAction("actMapGeneral", "&General map", ShortCut('G', alt), [this] { MapGeneral(); });
    AddAction("actMapStandard", "&Standard map", ShortCut('W', alt), [this] { MapStandard(); });
    AddAction("actMapGreyScale", "G&reyscale", scNone, [this] { SetGreyScaleMap(!GreyScaleMap()); });
    AddAction("actMapInformation", "Map &information...", scNone, [this] { MapInformation(); });
    AddAction("actSettingsSettings", "&Options...", scNone, [this] { SettingsOptions(); });
    AddAction("actSettingsDeltaT", "&Delta T...", scNone, [this] { SettingsDeltaT(); });
    AddAction("actLocationsAdd", "&Add new location...", scNone, [this] { LocationsAdd(); });
    AddAction("actLocationsAddFromDatabase", "Add location from &database...", scNone,
              [this] { LocationsAddFromDatabase(); });
    AddAction("actLocationsEdit", "&Edit location...", scNone, [this] { LocationsEdit(); });
    AddAction("actLocationsDelete", "De&lete location from table", scNone, [this] { LocationsDelete(); });
    AddAction("actLocationsClear", "&Clear location table", scNone, [this] { LocationsClear(); });
    AddAction("actLocationsOpenList", "&Open location list...", ShortCut('L', alt), [this] { LocationsOpenList(); });
    AddAction("actLocationsSaveList", "&Save location list...", scNone, [this] { LocationsSaveList(); });
    AddAction("actLocationsPrint", "&Print location table...", scNone, [this] { PrintLocationTable(true); });
    AddAction("actLocationsViewList", "Show &location table", ShortCut('L', ctrl), [this] {
        SetLocationsPanelVisible(!LocationsPanel->Visible());
        UpdateActionStates();
    });
    struct TSortAction {
        const char *Name, *Caption, *Order;
    };
    for (const TSortAction& a : {TSortAction{"actLocationsSortByName", "by &name", "Name"},
                                 {"actLocationsSortByCountry", "by &country / region", "Country"},
                                 {"actLocationsSortByLatitude", "by &latitude", "Latitude"},
                                 {"actLocationsSortByLongitude", "by l&ongitude", "Longitude"},
                                 {"actLocationsSortByMagnitude", "by &magnitude", "Tag"}}) {
        const std::string order = a.Order;
        AddAction(a.Name, a.Caption, scNone, [this, order] { LocationsSort(order); });
    }
    AddAction("actLocationsShowInMap", "Show location in map", scNone, [this] { LocationsShowInMap(); });
    AddAction("actLocationsTimeShiftMode", "&Time shift mode...", scNone, [this] { LocationsTimeShiftMode(); });
    AddAction("actLocationsFind", "C&reate location list for eclipse...", scNone, [this] { LocationsFind(); });
    AddAction("actLocationsSEEclipses", "Calculate solar eclipses &for location...", scNone,
              [this] { LocationsEclipses(etSolarEclipse); });
    AddAction("actLocationsLEEclipses", "Calculate &lunar eclipses for location...", scNone,
              [this] { LocationsEclipses(etLunarEclipse); });
    AddAction("actLocationsRunInTE", "R&un in Tolmira Ephemeris", scNone, [this] { RunInTE(TEContext()); });
    AddAction("actLocationsSaveAsTEDocument", "Create Tolmira Ephemeris Docu&ment", scNone,
              [this] { SaveTEDocumentForSelection(TEContext()); });
    AddAction("actLocationsCreateAllTEDocuments", "Create TE Documents (complete list)", ShortCut('A', ctrlAlt), [this] {
        try {
            CreateAllTEDocuments(TEContext());
        } catch (const std::exception& e) {
            ShowError(e.what());
        }
    });
    AddAction("actHelpDocumentation", "&Documentation", ShortCut(VK_F1, none), [] {
        const std::string help = ProgramPath + HelpFileName;
        if (!std::filesystem::exists(help) || !ShellOpen(help))
            MessageDlg("The documentation is not installed.", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    });
    AddAction("actHelpOnline", "Tolmira Solar Eclipse Calculator on the &web", scNone, [] { ShellOpen(MakerWebPage); });
    AddAction("actHelpAbout", "&About...", scNone, [this] { HelpAbout(); });
}

void TSEMainForm::CreateMenus()
{
    MenuBar = new TMainMenu(this);
    auto menu = [this](const std::string& caption, std::initializer_list<const char*> actions) {
        auto* top = new TMenuItem(this);
        top->SetCaption(caption);
        MenuBar->Items()->Add(top);
        for (const char* name : actions) {
            auto* item = new TMenuItem(this);
            if (std::string(name) == "-") item->SetCaption("-");
            else item->SetAction(Action(name));
            top->Add(item);
        }
    };
    menu("&File", {"actFileNew", "actFileOpen", "actFileSaveAs", "-", "actSaveAsGraphics", "actFilePrint", "-", "actExit"});
    menu("&Map", {"actMapOpenFile", "-", "actMapGeneral", "actMapStandard", "-", "actMapGreyScale", "actMapInformation"});
    menu("&Settings", {"actSelectEclipse", "actSettingsSettings", "actSettingsDeltaT"});
    menu("&Locations", {"actLocationsAdd", "actLocationsAddFromDatabase", "-", "actLocationsOpenList",
                        "actLocationsSaveList", "-", "actLocationsClear", "actLocationsFind", "actLocationsPrint", "-",
                        "actLocationsViewList"});
    menu("&Help", {"actHelpDocumentation", "actHelpOnline", "actHelpAbout"});
    SetMenu(MenuBar);

    // The location table's pop-up menu, with the sort commands in a submenu.
    PMLocations = new TPopupMenu(this);
    auto item = [this](TMenuItem* parent, const char* name) {
        auto* i = new TMenuItem(this);
        if (std::string(name) == "-") i->SetCaption("-");
        else i->SetAction(Action(name));
        parent->Add(i);
        return i;
    };
    for (const char* name : {"actLocationsClear", "actLocationsFind", "actLocationsOpenList", "actLocationsSaveList",
                             "actLocationsPrint", "-", "actLocationsAdd", "actLocationsAddFromDatabase",
                             "actLocationsEdit"})
        item(PMLocations->Items(), name);
    auto* sort = new TMenuItem(this);
    sort->SetCaption("Sor&t");
    PMLocations->Items()->Add(sort);
    for (const char* name : {"actLocationsSortByName", "actLocationsSortByCountry", "actLocationsSortByLatitude",
                             "actLocationsSortByLongitude", "actLocationsSortByMagnitude"})
        item(sort, name);
    for (const char* name : {"actLocationsDelete", "-", "actLocationsRunInTE", "actLocationsSaveAsTEDocument",
                             "actLocationsSEEclipses"})
        item(PMLocations->Items(), name);
    SG->SetPopupMenu(PMLocations);

    for (const char* name : {"actLocationsClear", "actLocationsFind", "actLocationsOpenList", "actLocationsSaveList",
                             "actLocationsPrint", "-", "actLocationsAdd", "actLocationsAddFromDatabase",
                             "actLocationsEdit", "actLocationsDelete", "-", "actLocationsRunInTE",
                             "actLocationsSaveAsTEDocument", "-", "actLocationsSEEclipses", "actLocationsLEEclipses"}) {
        if (std::string(name) == "-") LocationsToolBar->AddSeparator();
        else LocationsToolBar->AddActionButton(Action(name))->SetShowHint(true);
    }

    for (const char* name : {"actFileNew", "actFileOpen", "actFileSaveAs", "actFilePrint", "-", "actMapOpenFile", "-",
                             "actSettingsSettings", "actSettingsDeltaT", "-", "actSelectEclipse",
                             "actCancelCalculation", "-", "actHelpDocumentation", "-", "actExit"}) {
        if (std::string(name) == "-") {
            ToolBar->AddSeparator();
            continue;
        }
        TToolButton* b = ToolBar->AddActionButton(Action(name));
        b->SetShowHint(true);
    }
}

// ------------------------------------------------------------------ life

void TSEMainForm::FormCreate()
{
    SetStatus(stNeedCalculation);
    SetCaption(ApplicationTitle);
    OpenDlg->InitialDir = DocumentsPath;
    ExpandObserverDlg = true;
    FLocationList = std::make_unique<TObserverDataList>("SE");
    if (Application) Application->SetHelpFile(ProgramPath + HelpFileName);
    for (TLabel* l : InfoLabels) l->SetCaption("");
    SetEventType(etLunarEclipse);
    SetDefaults();
    FEclipseMap->LoadMap();

    for (auto [table, name] : {std::pair{CBE_SE, "BE_SE"}, {CBE_LE, "BE_LE"}}) {
        table->SetDatabaseFile(DatabaseFile);
        table->SetTableName(name);
        try {
            table->Open();
            table->SetSort("CatNo");
            table->First();
        } catch (const std::exception& e) {
            // Both tables live in one file: its fault is told once.
            if (FCatalogueError.empty()) FCatalogueError = "The eclipse catalogue cannot be opened: " + std::string(e.what());
        }
    }
    if (!FCatalogueError.empty()) {
        ShowError(FCatalogueError);
        SetError(FCatalogueError);
    }
    if (CBE_SE->Active() && !CBE_SE->IsEmpty()) SEE.ReadFromDataSet(CBE_SE);
    if (CBE_LE->Active() && !CBE_LE->IsEmpty()) LEE.ReadFromDataSet(CBE_LE);
    // The shipped table, quietly: the configuration read next names the
    // table in use and reports one that cannot be read, once.
    FDeltaTTableFile = DefaultDeltaTTableFile;
    try {
        LoadDeltaTTableFromProgramFolder(FDeltaTTableFile);
    } catch (const std::exception&) {
        LoadDeltaTTableFromProgramFolder("");
    }
    FEclipseMap->DeltaTTableFile = FDeltaTTableFile;
    SetGreyScaleMap(false);
    SetModified(false);
    SetFileName("");

    FConfigurationStore = std::make_unique<TConfigurationStore>(ConfigFile);
    TSettings settings = GatherSettings();
    SetStatus(stReading);
    const TSettingsReadResult r = FConfigurationStore->Load(settings, *FLocationList, LoadDeltaTTableFromProgramFolder);
    if (r.Ok || r.FileMissing) {
        ApplySettings(settings);
        ApplyWindowLayout(settings.Configuration);
        ShowReadNotice(r);
        // Last: the grey-scale setter has marked the document modified.
        SetModified(settings.Configuration.Modified);
    } else {
        SetError(r.Error.empty() ? "The configuration could not be read." : r.Error);
    }
}

void TSEMainForm::FormDestroy()
{
    if (FDestroyed) return;
    FDestroyed = true;
    ApplicationEvents->OnIdle = nullptr;
    ApplicationEvents->OnHint = nullptr;
    if (FConfigurationStore && FLocationList) {
        try {
            FConfigurationStore->Save(GatherSettings(), *FLocationList);
        } catch (const std::exception& e) {
            ShowNotice(std::string("The configuration could not be written: ") + e.what());
        }
    }
    CBE_SE->Close();
    CBE_LE->Close();
}

void TSEMainForm::SetDefaults()
{
    FEclipseMap->MapData = GeneralMapData;
    FEclipseMap->ResourceMapMode = rmmNormal;
    FEclipseMap->Settings = DefaultMapDrawSettings(GeneralMapData);
    SetTimeShiftMode(tsmSTZ);
    FEclipseMap->ClearMarker();
    SetLocationsPanelVisible(false);
    if (FLocationList) ClearLocations();
}

void TSEMainForm::SetTimeShiftMode(int32_t value)
{
    static const char* captions[] = {"Times in UTC", "Times in mean local time", "Times in local time"};
    // A mode that names no time scale would give no time offset: the
    // current one stays.
    if (value < tsmNone || value > tsmSTZ) return;
    FTimeShiftMode = value;
    LTimeShift->SetCaption(captions[value]);
}

void TSEMainForm::ShowLocation(const std::string& place)
{
    const int index = FLocationList->FindPlace(place);
    if (index < 0) return;
    SG->SetRow(index + SG->FixedRows());
    if (FEclipseMap->MarkLocation(*FLocationList->Items(index))) PaintBox->Invalidate();
}

TTEContext TSEMainForm::TEContext()
{
    TTEContext c;
    const bool lunar = FEventType == etLunarEclipse;
    c.EventType = lunar ? TEEventLunar : TEEventSolar;
    c.SolarEclipse = &SEE;
    c.LunarEclipse = &LEE;
    c.TimeShiftMode = FTimeShiftMode;
    c.DeltaTTableFile = FDeltaTTableFile;
    c.Locations = FLocationList.get();
    c.SelectedIndex = SG->Row() - SG->FixedRows();
    c.TEClient = TEClient;
    c.SaveDialog = [this](const TTESaveRequest& request, std::string& fileName) {
        SaveDlg->Title = request.Title;
        SaveDlg->Filter = request.Filter;
        SaveDlg->FilterIndex = 1;
        SaveDlg->DefaultExt = request.DefaultExt;
        SaveDlg->InitialDir = request.InitialDir;
        SaveDlg->FileName = request.FileName;
        if (!SaveDlg->Execute()) return false;
        fileName = SaveDlg->FileName;
        return true;
    };
    c.ShowMessage = [](const std::string& text) {
        MessageDlg(text, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    };
    return c;
}

void TSEMainForm::ClearLocations()
{
    FLocationList->Clear();
    FEclipseMap->ClearMarker();
    PaintBox->Invalidate();
    FillLocationTable();
}

// --------------------------------------------------------------- setters

void TSEMainForm::SetStatus(TStatus status)
{
    FStatus = status;
    if (status != stError) FErrorMessage.clear();
    SetAcceptFiles(AcceptsDroppedFiles(status));
    SetStatusText(2, FErrorMessage.empty() ? FReadNotice : FErrorMessage);
    UpdateActionStates();
}

void TSEMainForm::SetError(const std::string& message)
{
    FErrorMessage = message;
    FStatus = stError;
    SetAcceptFiles(true);
    SetStatusText(2, message);
    UpdateActionStates();
}

void TSEMainForm::SetModified(bool value)
{
    FModified = value;
    SetStatusText(0, value ? "Modified" : "");
    UpdateActionStates();
}

void TSEMainForm::SetFileName(const std::string& name)
{
    if (!rtl::Trim(name).empty()) {
        // A document that cannot be read leaves the current one, its name
        // included: Save must not write over the file the user may repair.
        if (!ReadDocument(name, false)) return;
        FFileName = name;
        SetCaption(DocumentCaption(name));
    } else {
        FFileName = name;
        SetCaption(ApplicationTitle);
    }
}

bool TSEMainForm::ReadDocument(const std::string& fileName, bool withConfiguration)
{
    // Read into a copy of the settings and a list of its own: only a whole
    // read is applied.
    TSettings settings = GatherSettings();
    auto locations = std::make_unique<TObserverDataList>(FLocationList->Name());
    const TStatus previous = FStatus;
    const bool useInternalDeltaT = compute::UseInternalDeltaTTable;
    SetStatus(stReading);
    TSettingsReadResult r =
        ReadSettings(fileName, withConfiguration, settings, *locations, LoadDeltaTTableFromProgramFolder);
    if (r.Ok && r.TooNew) {
        r.Ok = false;
        r.Error = "It was written by a newer version of this program (format " + rtl::IntToStr(r.Major) + ").";
    }
    if (!r.Ok) {
        // What the reader set on its way (delta-T table, map projection)
        // goes back to the current document's.
        compute::UseInternalDeltaTTable = useInternalDeltaT;
        try {
            LoadDeltaTTableFromProgramFolder(FDeltaTTableFile);
        } catch (const std::exception&) {
        }
        UseMapProjection(FEclipseMap->MapData);
        SetStatus(previous == stReading ? stNeedCalculation : previous);
        ShowError("The document \"" + fileName + "\" could not be opened:\r\n" +
                  (r.Error.empty() ? std::string("The file could not be read.") : r.Error));
        return false;
    }
    FLocationList.swap(locations);
    FEclipseMap->ClearMarker();
    ApplySettings(settings);
    ShowReadNotice(r);
    SetModified(false);
    if (FStatus != stError) SetStatus(stNeedCalculation);
    return true;
}

void TSEMainForm::ShowReadNotice(const TSettingsReadResult& r)
{
    FReadNotice = OutOfRangeNotice(r.OutOfRange);
    if (FStatus != stError) SetStatusText(2, FReadNotice);
}

void TSEMainForm::SetEventType(TEventType type)
{
    FEventType = type;
    const bool solar = type == etSolarEclipse;
    static const char* solarCaptions[] = {"T1:", "T2:", "Max.:", "T3:", "T4:"};
    static const char* solarHints[] = {"T1: First contact", "T2: Second contact (total phase begins)", "Maximum eclipse",
                                       "T3: Third contact (total phase ends)", "T4: Last contact"};
    static const char* lunarCaptions[] = {"P1:", "U1:", "U2:", "Max.:", "U3:", "U4:", "P4:"};
    static const char* lunarHints[] = {"P1: Penumbral phase begins", "U1: Partial phase begins",
                                       "U2: Total phase begins", "Maximum eclipse", "U3: Total phase ends",
                                       "U4: Partial phase ends", "P4: Penumbral phase ends"};
    for (int i = 0; i < 7; ++i) {
        TLabel* name = InfoLabels[static_cast<std::size_t>(i)];
        TLabel* value = InfoLabels[static_cast<std::size_t>(7 + i)];
        const bool visible = !solar || i < 5;
        name->SetVisible(visible);
        value->SetVisible(visible);
        if (!visible) continue;
        name->SetCaption(solar ? solarCaptions[i] : lunarCaptions[i]);
        name->SetHint(solar ? solarHints[i] : lunarHints[i]);
        name->SetShowHint(true);
    }
    PBInfo->SetHeight(solar ? 92 : 122);
    ControlPanel->SetHeight(solar ? 223 : 253);
    FEclipseMap->Notices = solar ? SolarNotices : LunarNotices;
    if (TAction* a = Action("actLocationsSortByMagnitude"))
        a->SetEnabled(solar && FLocationList && FLocationList->Count() > 0);
}

void TSEMainForm::SetDeltaTTableFile(const std::string& name)
{
    FDeltaTTableFile = rtl::Trim(name).empty() ? "" : std::filesystem::path(name).filename().string();
    if (!FDeltaTTableFile.empty()) {
        // The configuration reader has just tried this table: it is loaded,
        // or it was refused and reported once.
        const compute::TDeltaTTable& t = compute::DeltaTTable;
        const bool tried = t.FileName == DeltaTPath + FDeltaTTableFile && (t.IsLoaded || t.Error != 0);
        if (!tried) {
            try {
                LoadDeltaTTableFromProgramFolder(FDeltaTTableFile);
            } catch (const std::exception& e) {
                ShowNotice(e.what());
            }
        }
        // A refused table keeps its name (it is written back, so that the
        // mended file is used next time) while the built-in model serves.
        if (!t.IsLoaded) compute::UseInternalDeltaTTable = true;
    }
    FEclipseMap->DeltaTTableFile = DeltaTTableInUse();
    SetStatusText(1, DeltaTSource(SEE.JDE()));
}

void TSEMainForm::SetGreyScaleMap(bool value)
{
    FEclipseMap->GreyScaleMap = value;
    Action("actMapGreyScale")->SetChecked(value);
    SetModified(true);
    SetStatus(stNeedCalculation);
}

void TSEMainForm::SetStatusText(int panel, const std::string& text)
{
    if (panel < 0 || panel >= StatusBar->PanelCount()) return;
    TStatusPanel* p = StatusBar->Panels(panel);
    // The text's width + 10, and the 3 pixels each side by which this
    // status bar insets a panel's text.
    StatusBar->Canvas()->SetFont(StatusBar->Font());
    p->SetWidth(text.empty() ? 0 : StatusBar->Canvas()->TextWidth(text) + 10 + 6);
    p->SetAlignment(TAlignment::taCenter);
    p->SetText(text);
}

std::string TSEMainForm::StatusText(int panel) const
{
    return panel >= 0 && panel < StatusBar->PanelCount() ? StatusBar->Panels(panel)->Text() : std::string();
}

std::string TSEMainForm::DeltaTTableInUse() const
{
    const compute::TDeltaTTable& t = compute::DeltaTTable;
    return !FDeltaTTableFile.empty() && t.IsLoaded && t.FileName == DeltaTPath + FDeltaTTableFile ? FDeltaTTableFile
                                                                                                 : std::string();
}

std::string TSEMainForm::DeltaTSource(long double jde) const
{
    // Without a table file the values come from the delta-T unit's own
    // table and expressions: say so rather than show nothing.
    const std::string text = DeltaTSourceText(jde, DeltaTTableInUse());
    return text.empty() ? "Built-in delta T model" : text;
}

void TSEMainForm::UpdateActionStates()
{
    if (FActions.empty()) return;
    TActionStateInput in;
    in.Status = FStatus;
    in.LocationCount = FLocationList ? FLocationList->Count() : 0;
    in.TEFound = TEFound;
    in.LocationsPanelVisible = LocationsPanel && LocationsPanel->Visible();
    in.SolarEclipse = FEventType == etSolarEclipse;
    for (const auto& [name, enabled] : ActionEnabledStates(in))
        if (TAction* a = Action(name)) a->SetEnabled(enabled);
    Action("actLocationsViewList")->SetChecked(in.LocationsPanelVisible);
    // The built-in map in use is marked in the Map menu (neither for a map file).
    const TMapData& map = FEclipseMap->MapData;
    Action("actMapGeneral")->SetChecked(map.ResourceName == GeneralMapData.ResourceName);
    Action("actMapStandard")->SetChecked(map.ResourceName == StandardMapData.ResourceName);
}

bool TSEMainForm::CanDiscardDocument()
{
    if (!FModified) return true;
    const int answer = MessageDlg("The document has unsaved changes. Do you want to save them?",
                                  TMsgDlgType::mtConfirmation, mbYesNoCancel());
    if (answer == mrYes) return FileSave();
    return answer == mrNo;
}

// ------------------------------------------------------------------ idle

bool TSEMainForm::SelectCatalogueEntry(TEventType type, int catNo)
{
    SetEventType(type);
    db::TSQLiteTable* table = type == etSolarEclipse ? CBE_SE : CBE_LE;
    if (!table->Active() && !FCatalogueError.empty()) {
        // No catalogue: its fault is the cause, and the eclipse asked for is
        // kept for the configuration.
        (type == etSolarEclipse ? FStoredSECatNo : FStoredLECatNo) = catNo;
        SetError(FCatalogueError);
        return false;
    }
    bool found = false;
    try {
        found = table->Active() && table->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(catNo)));
    } catch (const std::exception&) {
        found = false;
    }
    if (found) {
        // The eclipse of the row: the configuration is right also when the
        // program ends before the calculation.
        if (type == etSolarEclipse) SEE.ReadFromDataSet(table);
        else LEE.ReadFromDataSet(table);
        SetStatus(stNeedCalculation);
    } else SetError("Catalogue number " + rtl::IntToStr(catNo) + " is not in the " +
                  (type == etSolarEclipse ? "solar" : "lunar") + " eclipse catalogue.");
    return found;
}

void TSEMainForm::IdleCalculation()
{
    if (FStatus != stNeedCalculation) return;
    try {
        db::TDataSet* table = FEventType == etSolarEclipse ? static_cast<db::TDataSet*>(CBE_SE) : CBE_LE;
        if (FEventType == etSolarEclipse) SEE.ReadFromDataSet(table);
        else LEE.ReadFromDataSet(table);
        const double meLat = static_cast<double>(table->FieldByName("MELat")->AsFloat());
        const double meLon = static_cast<double>(table->FieldByName("MELon")->AsFloat());
        FEclipseMap->ResourceMapMode = ResourceMapModeFor(meLon);
        FEclipseMap->LoadMap();
        int x = 0, y = 0;
        if (!FEclipseMap->GeoToPixel(meLat, meLon, x, y)) x = y = 0;
        // The scroll ranges follow the paint box's new size first.
        ScrollBox->Realign();
        ScrollBox->UpdateScrollBars();
        if (ScrollInfo.HasScrollInfo) {
            ScrollBox->HorzScrollBar()->SetPosition(ScrollInfo.X);
            ScrollBox->VertScrollBar()->SetPosition(ScrollInfo.Y);
            ScrollInfo.HasScrollInfo = false;
        } else {
            CenterViewOn(x, y);
        }
        Calculate();
    } catch (const std::exception& e) {
        SetProgress(0);
        SetStatus(stCancelled);
        ShowError(CalculationErrorMessage);
    }
    PaintBox->Invalidate();
}

void TSEMainForm::Calculate()
{
    if (FEventType == etSolarEclipse) FEclipseMap->CalculateSolarEclipseMap(SEE);
    else FEclipseMap->CalculateLunarEclipseMap(LEE);
    SetStatusText(1, DeltaTSource(FEventType == etSolarEclipse ? SEE.JDE() : LEE.JD()));
}

// --------------------------------------------------------------- host

void TSEMainForm::ShowHeading(const TEclipseHeading& h)
{
    // A new eclipse: the readout of the last one under the mouse goes.
    LPosition->SetCaption("");
    for (std::size_t i = 7; i < 14; ++i) {
        InfoLabels[i]->SetCaption("");
        InfoLabels[i]->Font()->SetColor(clBlack);
    }
    PBInfo->Invalidate();
    LTitle->SetCaption(h.Title);
    LGamma->SetCaption(h.Gamma);
    LMagnitude->SetCaption(h.Magnitude);
    LLunation->SetCaption(h.Lunation);
    LSaros->SetCaption(h.Saros);
    LDeltaT->SetCaption(h.DeltaT);
    SetStatusText(1, h.DeltaTSource.empty() ? DeltaTSource(FEventType == etSolarEclipse ? SEE.JDE() : LEE.JD())
                                            : h.DeltaTSource);
}

void TSEMainForm::MapSizeChanged(int width, int height)
{
    // The scroll box scrolls by moving the paint box: keep its place.
    PaintBox->SetBounds(PaintBox->Left(), PaintBox->Top(), width, height);
}
void TSEMainForm::InvalidateMap() { PaintBox->Invalidate(); }

void TSEMainForm::SetProgress(int percent) { ProgressBar->SetPosition(std::clamp(percent, 0, 100)); }

void TSEMainForm::ProcessMessages()
{
    if (Application) Application->ProcessMessages();
}

void TSEMainForm::ShowError(const std::string& text)
{
    MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

void TSEMainForm::PaintBoxMouseMove(int x, int y)
{
    const bool solar = FEventType == etSolarEclipse;
    const TMapData& map = FEclipseMap->MapData;
    const TMapReadout r = solar ? SolarReadout(map, SEE, x, y) : LunarReadout(map, LEE, x, y);
    LPosition->SetCaption(r.Position);
    for (std::size_t i = 0; i < 7; ++i) {
        TLabel* value = InfoLabels[7 + i];
        value->SetCaption(r.Values[i]);
        value->Font()->SetColor(r.Grey[i] ? TColor(0x808080) : clBlack);
    }
    if (r.ChartCleared || r.ChartDrawn)
        DrawAltitudeChart(*PBInfo->Canvas(), PBInfo->Width(), PBInfo->Height(), ControlPanel->Color(), !solar, r);
}

void TSEMainForm::PaintBoxMouseDown(TMouseButton button, int x, int y)
{
    if (button == TMouseButton::mbRight && FLocationList) {
        EditLocationAt(x, y);
        return;
    }
    if (button != TMouseButton::mbLeft || !FLocationList) return;
    const int i = FindLocationAt(FEclipseMap->MapData, *FLocationList, x, y);
    if (i < 0) return;
    ShowLocation(FLocationList->Items(i)->Place());
    SetLocationsPanelVisible(true);
    UpdateActionStates();
}

void TSEMainForm::SetLocationsPanelVisible(bool value)
{
    LocationsPanel->SetVisible(value);
    if (value) LocationsPanel->BringToFront();
}

void TSEMainForm::LabelLinkEnter(TLabel* label)
{
    label->Font()->SetStyle(label->Font()->Style() + TFontStyles{TFontStyle::fsUnderline});
    label->Font()->SetColor(TColor(0xFF0000));
}

void TSEMainForm::LabelLinkLeave(TLabel* label)
{
    if (label == LTitle) {
        label->Font()->SetStyle({TFontStyle::fsBold});
        label->Font()->SetColor(clNavy);
    } else {
        label->Font()->SetStyle({});
        label->Font()->SetColor(clBlack);
    }
}

void TSEMainForm::PaintBoxPaint() { FEclipseMap->PaintMap(*PaintBox->Canvas(), FLocationList.get()); }

} // namespace app
