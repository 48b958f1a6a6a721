#include "app/SettingsFiles.h"

#include "app/AppMessages.h"
#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "app/XmlFiles.h"
#include "compute/AstroBase.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace app {

using xml::TWideXmlNode;

namespace {

constexpr int32_t CurrentMajor = 2;
constexpr int32_t CurrentMinor = 0;

std::string Numbered(const char* word, int index)
{
    return word + std::to_string(index);
}

void ReadDeltaT(TWideXmlNode* root, TSettings& s, const TDeltaTTableLoader& load, TSettingsReadResult& r)
{
    TWideXmlNode* node = root->NodeFindOrCreate("DeltaT");
    std::string file = node->ReadString("DeltaTFile", "");
    bool useInternal = node->ReadBool("UseInternalDeltaTTable", true);
    try {
        (load ? load : LoadDeltaTTableFromProgramFolder)(file);
        s.DeltaTTableFile = file;
    } catch (const std::exception& e) {
        // A table that is gone or broken must not cost the rest of the
        // configuration: fall back to the built-in model and say so once.
        // The name stays, so that the file is used again once mended; the
        // delta-T unit keeps the refused name and its error.
        std::string notice = std::string(e.what()) + "\r\nThe built-in delta T model is used instead.";
        r.Notices.push_back(notice);
        ShowNotice(notice);
        s.DeltaTTableFile = file;
        useInternal = true;
        compute::DeltaTTable.IsLoaded = false;
        compute::DeltaTTable.NumValues = 0;
    }
    s.UseInternalDeltaTTable = useInternal;
    compute::UseInternalDeltaTTable = useInternal;
}

void ReadCurves(TWideXmlNode* se, TSettings& s)
{
    TWideXmlNode* cem = se->NodeFindOrCreate("CEM");
    s.CEMScale = cem->ReadFloat("CEMScale", 0.25);
    s.CEMWidth = cem->ReadFloat("CEMWidth", 0.01);
    s.CEMLabelScale = cem->ReadInteger("CEMLabelScale", 30);
    s.CEMLabelOffset = cem->ReadInteger("CEMLabelOffset", 15);
    s.CEMLabelSize = cem->ReadInteger("CEMLabelSize", 9);
    TWideXmlNode* cet = se->NodeFindOrCreate("CET");
    s.CETScale = cet->ReadInteger("CETScale", 60);
    s.CETWidth = cet->ReadFloat("CETWidth", 0.25);
    s.CETLabelSize = cet->ReadInteger("CETLabelSize", 9);
    s.VBLWidth = se->NodeFindOrCreate("VBL")->ReadFloat("VBLWidth", 0.08);
}

void ReadConfiguration(TWideXmlNode* root, TSettings& s)
{
    TConfigurationSettings& c = s.Configuration;
    TWideXmlNode* node = root->NodeFindOrCreate("Configuration");
    c.Modified = node->ReadBool("Modified", false);
    c.ObserverDlgExpanded = node->NodeFindOrCreate("ObserverDlg")->ReadBool("Expanded", true);
    TWideXmlNode* form = node->NodeFindOrCreate("Form");
    c.FormWindowState = form->ReadInteger("WindowState", 2);
    if (c.FormWindowState == 0) {
        c.FormTop = form->ReadInteger("Top", 10);
        c.FormLeft = form->ReadInteger("Left", 10);
        c.FormWidth = form->ReadInteger("Width", 800);
        c.FormHeight = form->ReadInteger("Height", 700);
    }
    TWideXmlNode* panel = node->NodeFindOrCreate("LocationsPanel");
    c.LocationsPanelTop = panel->ReadInteger("Top", 100);
    c.LocationsPanelLeft = panel->ReadInteger("Left", 100);
    c.LocationsPanelWidth = panel->ReadInteger("Width", 500);
    c.LocationsPanelHeight = panel->ReadInteger("Height", 300);
    c.LocationsPanelVisible = panel->ReadBool("Visible", false);
    TWideXmlNode* tools = node->NodeFindOrCreate("ToolPanel");
    c.ToolPanelTop = tools->ReadInteger("Top", 50);
    c.ToolPanelLeft = tools->ReadInteger("Left", 10);
    c.ToolPanelCollapsed = tools->ReadBool("Collapsed", false);
    TWideXmlNode* te = node->NodeFindOrCreate("TEInstallation");
    c.AutoDetectPathToTE = te->ReadBool("AutoDetectPathToTE", true);
    ApplyConfiguredSibling(c.AutoDetectPathToTE, te->ReadString("PathToTE", TEPath));
}

// Reads format 2, or with older the format before it (curve nodes directly
// below Settings, no lunar settings, solar eclipse "CatNo" only).
void ReadBody(TWideXmlNode* root, bool older, bool withConfiguration, TSettings& s, TObserverDataList& locations,
              const TDeltaTTableLoader& load, TSettingsReadResult& r)
{
    ReadDeltaT(root, s, load, r);

    if (!ReadMapData(root->NodeFindOrCreate("MapData"), s.MapData)) r.Notices.push_back(InvalidMapDataMessage);

    locations.ReadFromNode(root->NodeFindOrCreate("LocationList"));

    TWideXmlNode* settings = root->NodeFindOrCreate("Settings");
    s.TimeShiftMode = settings->ReadInteger("TimeShiftMode", 1);
    ReadCurves(older ? settings : settings->NodeFindOrCreate("SE"), s);
    if (!older) {
        TWideXmlNode* le = settings->NodeFindOrCreate("LE");
        TWideXmlNode* shading = le->NodeFindOrCreate("Shading");
        for (int i = 0; i < 7; ++i) s.LEShadingIntensity[i] = shading->ReadInteger(Numbered("Intensity", i), 40 + 10 * i);
        s.LELongLabels = le->ReadBool("LongLabels", false);
        s.LELabelSize = le->ReadInteger("LELabelSize", 9);
    }
    s.InfoPosition = settings->NodeFindOrCreate("ChartInfo")->ReadInteger("Position", 0);
    TWideXmlNode* colors = settings->NodeFindOrCreate("Colors");
    for (int i = 0; i < 14; ++i) s.Colors[i] = colors->ReadColor(Numbered("Color", i), s.Colors[i]);
    TWideXmlNode* flags = settings->NodeFindOrCreate("Flags");
    for (int i = 0; i < 14; ++i) s.Flags[i] = flags->ReadBool(Numbered("Flag", i), true);
    s.GreyScaleMap = settings->ReadBool("GreyScale", false);

    TWideXmlNode* eclipse = root->NodeFindOrCreate("Eclipse");
    if (older) {
        s.EventType = 0;
        s.SECatNo = eclipse->ReadInteger("CatNo", 1);
        s.LECatNo = OlderFormatLunarCatNo;
    } else {
        s.EventType = eclipse->ReadInteger("Mode", 0);
        s.SECatNo = eclipse->ReadInteger("SECatNo", 1);
        s.LECatNo = eclipse->ReadInteger("LECatNo", 1);
    }

    TWideXmlNode* scroll = root->NodeFindOrCreate("ScrollPos");
    s.ScrollInfo.X = scroll->ReadInteger("X", 0);
    s.ScrollInfo.Y = scroll->ReadInteger("Y", 0);
    s.ScrollInfo.HasScrollInfo = true;

    if (withConfiguration) ReadConfiguration(root, s);
}

} // namespace

void LoadDeltaTTableFromProgramFolder(const std::string& fileName)
{
    if (fileName.empty()) {
        // No user table: the model falls back to the internal table and the
        // long-term expressions.
        compute::DeltaTTable.IsLoaded = false;
        compute::DeltaTTable.NumValues = 0;
        compute::DeltaTTable.FileName.clear();
        return;
    }
    compute::LoadDeltaTTable(DeltaTPath + fileName);
}

TSettingsReadResult ReadSettings(const std::string& fileName, bool withConfiguration, TSettings& settings,
                                 TObserverDataList& locations, const TDeltaTTableLoader& loadDeltaT)
{
    TSettingsReadResult r;
    r.FileMissing = !rtl::FileExists(fileName);
    try {
        xml::TWideXmlDom doc;
        doc.LoadFromFile(fileName);
        TWideXmlNode* root = doc.Root();
        if (!root) throw rtl::EReadError("\"" + fileName + "\" holds no root element.");
        r.Major = root->ReadInteger("Major", 0);
        r.Minor = root->ReadInteger("Minor", 0);
        if (r.Major < CurrentMajor) ReadBody(root, true, withConfiguration, settings, locations, loadDeltaT, r);
        else if (r.Major == CurrentMajor) ReadBody(root, false, withConfiguration, settings, locations, loadDeltaT, r);
        else r.TooNew = true;
        r.Ok = true;
    } catch (const std::exception& e) {
        r.Error = e.what();
    }
    return r;
}

void WriteSettings(const std::string& fileName, bool withConfiguration, const TSettings& s,
                   const TObserverDataList& locations)
{
    xml::TWideXmlDom doc("TSEC");
    TWideXmlNode* root = doc.Root();
    root->WriteInteger("Major", CurrentMajor);
    root->WriteInteger("Minor", CurrentMinor);

    TWideXmlNode* deltaT = root->NodeNew("DeltaT");
    deltaT->WriteString("DeltaTFile", s.DeltaTTableFile);
    deltaT->WriteBool("UseInternalDeltaTTable", s.UseInternalDeltaTTable);

    WriteMapData(root->NodeNew("MapData"), s.MapData);
    locations.WriteToNode(root->NodeNew("LocationList"));

    TWideXmlNode* settings = root->NodeNew("Settings");
    settings->WriteInteger("TimeShiftMode", s.TimeShiftMode);
    TWideXmlNode* se = settings->NodeNew("SE");
    TWideXmlNode* cem = se->NodeNew("CEM");
    cem->WriteFloat("CEMScale", s.CEMScale);
    cem->WriteFloat("CEMWidth", s.CEMWidth);
    cem->WriteInteger("CEMLabelScale", s.CEMLabelScale);
    cem->WriteInteger("CEMLabelOffset", s.CEMLabelOffset);
    cem->WriteInteger("CEMLabelSize", s.CEMLabelSize);
    TWideXmlNode* cet = se->NodeNew("CET");
    cet->WriteInteger("CETScale", s.CETScale);
    cet->WriteFloat("CETWidth", s.CETWidth);
    cet->WriteInteger("CETLabelSize", s.CETLabelSize);
    se->NodeNew("VBL")->WriteFloat("VBLWidth", s.VBLWidth);
    TWideXmlNode* le = settings->NodeNew("LE");
    TWideXmlNode* shading = le->NodeNew("Shading");
    for (int i = 0; i < 7; ++i) shading->WriteInteger(Numbered("Intensity", i), s.LEShadingIntensity[i]);
    le->WriteBool("LongLabels", s.LELongLabels);
    le->WriteInteger("LELabelSize", s.LELabelSize);
    settings->NodeNew("ChartInfo")->WriteInteger("Position", s.InfoPosition);
    TWideXmlNode* colors = settings->NodeNew("Colors");
    for (int i = 0; i < 14; ++i) colors->WriteColor(Numbered("Color", i), s.Colors[i]);
    TWideXmlNode* flags = settings->NodeNew("Flags");
    for (int i = 0; i < 14; ++i) flags->WriteBool(Numbered("Flag", i), s.Flags[i]);
    settings->WriteBool("GreyScale", s.GreyScaleMap);

    TWideXmlNode* eclipse = root->NodeNew("Eclipse");
    eclipse->WriteInteger("Mode", s.EventType);
    eclipse->WriteInteger("SECatNo", s.SECatNo);
    eclipse->WriteString("SEDate", s.SEDate);
    eclipse->WriteInteger("LECatNo", s.LECatNo);
    eclipse->WriteString("LEDate", s.LEDate);

    TWideXmlNode* scroll = root->NodeNew("ScrollPos");
    scroll->WriteInteger("X", s.ScrollInfo.X);
    scroll->WriteInteger("Y", s.ScrollInfo.Y);

    if (withConfiguration) {
        const TConfigurationSettings& c = s.Configuration;
        TWideXmlNode* node = root->NodeNew("Configuration");
        node->WriteBool("Modified", c.Modified);
        node->NodeNew("ObserverDlg")->WriteBool("Expanded", c.ObserverDlgExpanded);
        TWideXmlNode* form = node->NodeNew("Form");
        form->WriteInteger("Top", c.FormTop);
        form->WriteInteger("Left", c.FormLeft);
        form->WriteInteger("Width", c.FormWidth);
        form->WriteInteger("Height", c.FormHeight);
        form->WriteInteger("WindowState", c.FormWindowState);
        TWideXmlNode* panel = node->NodeNew("LocationsPanel");
        panel->WriteInteger("Top", c.LocationsPanelTop);
        panel->WriteInteger("Left", c.LocationsPanelLeft);
        panel->WriteInteger("Width", c.LocationsPanelWidth);
        panel->WriteInteger("Height", c.LocationsPanelHeight);
        panel->WriteBool("Visible", c.LocationsPanelVisible);
        TWideXmlNode* tools = node->NodeNew("ToolPanel");
        tools->WriteInteger("Top", c.ToolPanelTop);
        tools->WriteInteger("Left", c.ToolPanelLeft);
        tools->WriteBool("Visible", c.ToolPanelVisible);
        TWideXmlNode* te = node->NodeNew("TEInstallation");
        te->WriteBool("AutoDetectPathToTE", c.AutoDetectPathToTE);
        te->WriteString("PathToTE", TEPath);
    }

    SaveXmlDocument(doc, fileName);
}

// --- TConfigurationStore -------------------------------------------------------

TConfigurationStore::TConfigurationStore(std::string fileName) : FFileName(std::move(fileName)) {}

TSettingsReadResult TConfigurationStore::Load(TSettings& settings, TObserverDataList& locations,
                                              const TDeltaTTableLoader& loadDeltaT)
{
    if (FFileName.empty()) FFileName = ConfigFile;
    if (!rtl::FileExists(FFileName)) CopyFileTo(ProgramPath + "tec.ini", FFileName);
    TSettingsReadResult r = ReadSettings(FFileName, true, settings, locations, loadDeltaT);
    // A missing file has nothing to lose; an existing one that could not be
    // read, or that a newer version wrote, is kept as it is.
    FCanSave = r.FileMissing || (r.Ok && !r.TooNew);
    if (!r.Ok && !r.FileMissing) {
        std::string notice = "The configuration file could not be read:\r\n" + FFileName + "\r\n" + r.Error +
                             "\r\nThe file is left unchanged; settings of this session will not be saved to it.";
        r.Notices.push_back(notice);
        ShowNotice(notice);
    }
    return r;
}

bool TConfigurationStore::Save(const TSettings& settings, const TObserverDataList& locations)
{
    if (!FCanSave) return false;
    if (FFileName.empty()) FFileName = ConfigFile;
    WriteSettings(FFileName, true, settings, locations);
    return true;
}

// --- file commands ---------------------------------------------------------------

std::string DocumentCaption(const std::string& fileName)
{
    std::string name = rtl::Trim(fileName);
    if (name.empty()) return ApplicationTitle;
    return ApplicationTitle + " - [" + rtl::ExtractFileName(name) + "]";
}

bool IsDocumentFileName(const std::string& fileName)
{
    return rtl::LowerCase(rtl::ExtractFileExt(fileName)) == DocumentExtension;
}

std::string DocumentFromArgument(const std::string& argument)
{
    std::string name = argument;
    if (rtl::ExtractFilePath(name).empty()) name = DocumentsPath + name;
    return rtl::Trim(name);
}

} // namespace app
