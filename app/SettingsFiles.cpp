#include "app/SettingsFiles.h"

#include <cstdint>

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

// A value outside [low, high] goes back to its default; the element is named.
template <class T>
T InRange(T value, T low, T high, T def, const std::string& element, TSettingsReadResult& r)
{
    if (value >= low && value <= high) return value;
    r.OutOfRange.push_back(element);
    return def;
}

// Above low (excluded) and at most high.
double AboveAndUpTo(double value, double low, double high, double def, const std::string& element,
                    TSettingsReadResult& r)
{
    if (value > low && value <= high) return value;
    r.OutOfRange.push_back(element);
    return def;
}

constexpr int32_t LargestCoordinate = 32767;

void ReadCurves(TWideXmlNode* se, const std::string& path, TSettings& s, TSettingsReadResult& r)
{
    TWideXmlNode* cem = se->NodeFindOrCreate("CEM");
    const std::string cemPath = path + "CEM/", cetPath = path + "CET/";
    s.CEMScale = AboveAndUpTo(cem->ReadFloat("CEMScale", 0.25), 0, 1, 0.25, cemPath + "CEMScale", r);
    s.CEMWidth = AboveAndUpTo(cem->ReadFloat("CEMWidth", 0.01), 0, 1, 0.01, cemPath + "CEMWidth", r);
    s.CEMLabelScale = cem->ReadInteger("CEMLabelScale", 30);
    s.CEMLabelOffset = cem->ReadInteger("CEMLabelOffset", 15);
    s.CEMLabelSize = InRange(cem->ReadInteger("CEMLabelSize", 9), 8, 16, 9, cemPath + "CEMLabelSize", r);
    TWideXmlNode* cet = se->NodeFindOrCreate("CET");
    // A step of no minutes would never end the curves of equal time.
    s.CETScale = InRange(cet->ReadInteger("CETScale", 60), 1, INT32_MAX, 60, cetPath + "CETScale", r);
    s.CETWidth = InRange(cet->ReadFloat("CETWidth", 0.25), 0.0, 10.0, 0.25, cetPath + "CETWidth", r);
    s.CETLabelSize = InRange(cet->ReadInteger("CETLabelSize", 9), 8, 16, 9, cetPath + "CETLabelSize", r);
    s.VBLWidth = AboveAndUpTo(se->NodeFindOrCreate("VBL")->ReadFloat("VBLWidth", 0.08), 0, 1, 0.08,
                              path + "VBL/VBLWidth", r);
}

// A whole number that identifies the document's eclipse: a text that is
// not one is refused with the element named, never read as the default.
int32_t ReadWholeNumber(TWideXmlNode* node, const char* name, int32_t def, const std::string& element)
{
    if (!node->NodeByName(name)) return def;
    const std::string text = rtl::Trim(node->ReadString(name, ""));
    int32_t value = 0;
    if (!rtl::TryStrToInt(text, value))
        throw rtl::EConvertError("The element " + element + " holds \"" + PrintableExcerpt(text, 20) +
                                 "\", which is not a whole number.");
    return value;
}

void ReadConfiguration(TWideXmlNode* root, TSettings& s, TSettingsReadResult& r)
{
    TConfigurationSettings& c = s.Configuration;
    TWideXmlNode* node = root->NodeFindOrCreate("Configuration");
    c.Modified = node->ReadBool("Modified", false);
    c.ObserverDlgExpanded = node->NodeFindOrCreate("ObserverDlg")->ReadBool("Expanded", true);
    TWideXmlNode* form = node->NodeFindOrCreate("Form");
    c.FormWindowState = InRange(form->ReadInteger("WindowState", 2), 0, 2, 2, "Configuration/Form/WindowState", r);
    if (c.FormWindowState == 0) {
        const int32_t big = LargestCoordinate;
        c.FormTop = InRange(form->ReadInteger("Top", 10), -big, big, 10, "Configuration/Form/Top", r);
        c.FormLeft = InRange(form->ReadInteger("Left", 10), -big, big, 10, "Configuration/Form/Left", r);
        c.FormWidth = InRange(form->ReadInteger("Width", 800), 1, big, 800, "Configuration/Form/Width", r);
        c.FormHeight = InRange(form->ReadInteger("Height", 700), 1, big, 700, "Configuration/Form/Height", r);
    }
    // The panels lie inside the window: never left of or above it, never
    // smaller than their minimum size (100 x 50).
    TWideXmlNode* panel = node->NodeFindOrCreate("LocationsPanel");
    const std::string p = "Configuration/LocationsPanel/", t = "Configuration/ToolPanel/";
    c.LocationsPanelTop = InRange(panel->ReadInteger("Top", 100), 0, LargestCoordinate, 100, p + "Top", r);
    c.LocationsPanelLeft = InRange(panel->ReadInteger("Left", 100), 0, LargestCoordinate, 100, p + "Left", r);
    c.LocationsPanelWidth = InRange(panel->ReadInteger("Width", 500), 100, LargestCoordinate, 500, p + "Width", r);
    c.LocationsPanelHeight = InRange(panel->ReadInteger("Height", 300), 50, LargestCoordinate, 300, p + "Height", r);
    c.LocationsPanelVisible = panel->ReadBool("Visible", false);
    TWideXmlNode* tools = node->NodeFindOrCreate("ToolPanel");
    c.ToolPanelTop = InRange(tools->ReadInteger("Top", 50), 0, LargestCoordinate, 50, t + "Top", r);
    c.ToolPanelLeft = InRange(tools->ReadInteger("Left", 10), 0, LargestCoordinate, 10, t + "Left", r);
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
    for (const char* key : {"Width", "Height"}) {
        const int32_t size = key[0] == 'W' ? s.MapData.Width : s.MapData.Height;
        if (size >= 1 && size <= LargestCoordinate) continue;
        // The size of a picture no bitmap can hold: the built-in map's record.
        r.OutOfRange.push_back(std::string("MapData/") + key);
        s.MapData = s.MapData.ResourceName == StandardMapData.ResourceName ? StandardMapData : GeneralMapData;
    }

    locations.ReadFromNode(root->NodeFindOrCreate("LocationList"));

    TWideXmlNode* settings = root->NodeFindOrCreate("Settings");
    s.TimeShiftMode = settings->ReadInteger("TimeShiftMode", 1);
    ReadCurves(older ? settings : settings->NodeFindOrCreate("SE"), older ? "Settings/" : "Settings/SE/", s, r);
    if (!older) {
        TWideXmlNode* le = settings->NodeFindOrCreate("LE");
        TWideXmlNode* shading = le->NodeFindOrCreate("Shading");
        for (int i = 0; i < 7; ++i) {
            const std::string name = Numbered("Intensity", i);
            s.LEShadingIntensity[i] =
                InRange(shading->ReadInteger(name, 40 + 10 * i), 0, 100, 40 + 10 * i, "Settings/LE/Shading/" + name, r);
        }
        s.LELongLabels = le->ReadBool("LongLabels", false);
        s.LELabelSize = InRange(le->ReadInteger("LELabelSize", 9), 8, 16, 9, "Settings/LE/LELabelSize", r);
    }
    s.InfoPosition =
        InRange(settings->NodeFindOrCreate("ChartInfo")->ReadInteger("Position", 0), 0, 5, 0, "Settings/ChartInfo/Position", r);
    TWideXmlNode* colors = settings->NodeFindOrCreate("Colors");
    for (int i = 0; i < 14; ++i) s.Colors[i] = colors->ReadColor(Numbered("Color", i), s.Colors[i]);
    TWideXmlNode* flags = settings->NodeFindOrCreate("Flags");
    for (int i = 0; i < 14; ++i) s.Flags[i] = flags->ReadBool(Numbered("Flag", i), true);
    s.GreyScaleMap = settings->ReadBool("GreyScale", false);

    TWideXmlNode* eclipse = root->NodeFindOrCreate("Eclipse");
    if (older) {
        s.EventType = 0;
        s.SECatNo = ReadWholeNumber(eclipse, "CatNo", 1, "Eclipse/CatNo");
        s.LECatNo = OlderFormatLunarCatNo;
    } else {
        s.EventType = ReadWholeNumber(eclipse, "Mode", 0, "Eclipse/Mode");
        if (s.EventType != 0 && s.EventType != 1)
            throw rtl::EConvertError("The element Eclipse/Mode holds " + std::to_string(s.EventType) +
                                     ", which names no kind of eclipse (0 solar, 1 lunar).");
        s.SECatNo = ReadWholeNumber(eclipse, "SECatNo", 1, "Eclipse/SECatNo");
        s.LECatNo = ReadWholeNumber(eclipse, "LECatNo", 1, "Eclipse/LECatNo");
    }
    s.SEDate = eclipse->ReadString("SEDate", "");
    s.LEDate = eclipse->ReadString("LEDate", "");

    TWideXmlNode* scroll = root->NodeFindOrCreate("ScrollPos");
    s.ScrollInfo.X = scroll->ReadInteger("X", 0);
    s.ScrollInfo.Y = scroll->ReadInteger("Y", 0);
    s.ScrollInfo.HasScrollInfo = true;

    if (withConfiguration) ReadConfiguration(root, s, r);
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
        if (!r.FileMissing && rtl::FileSize(fileName) == 0)
            throw rtl::EReadError("The file is empty: it is not a document of this program.");
        xml::TWideXmlDom doc;
        doc.LoadFromFile(fileName);
        TWideXmlNode* root = doc.Root();
        if (!root || root->Name() != "TSEC")
            throw rtl::EReadError("The file is not a document of this program (its root element is not TSEC).");
        r.Major = root->ReadInteger("Major", 0);
        r.Minor = root->ReadInteger("Minor", 0);
        if (r.Major < CurrentMajor) ReadBody(root, true, withConfiguration, settings, locations, loadDeltaT, r);
        else if (r.Major == CurrentMajor) ReadBody(root, false, withConfiguration, settings, locations, loadDeltaT, r);
        else r.TooNew = true;
        r.Ok = true;
    } catch (const std::exception& e) {
        // The library's text may quote the file's own bytes: only a short,
        // printable excerpt of it reaches the user.
        r.Error = PrintableExcerpt(e.what(), 300);
    }
    return r;
}

std::string OutOfRangeNotice(const std::vector<std::string>& elements)
{
    if (elements.empty()) return "";
    std::string text = "Out of range, the default is used: ";
    for (std::size_t i = 0; i < elements.size(); ++i) text += (i ? ", " : "") + elements[i];
    return text;
}

std::string PrintableExcerpt(const std::string& text, std::size_t maxLength)
{
    std::string out;
    std::size_t i = 0, shown = 0;
    while (i < text.size() && shown < maxLength) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // A whole, well-formed UTF-8 character beyond ASCII stays (names of
        // files and places); anything else unprintable becomes "?".
        const std::size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 1;
        bool whole = length > 1 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (whole) {
            out.append(text, i, length);
            i += length;
        } else {
            out += c == '\r' || c == '\n' || c == '\t' ? ' ' : c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
            ++i;
        }
        ++shown;
    }
    if (i < text.size()) out += "...";
    return out;
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
