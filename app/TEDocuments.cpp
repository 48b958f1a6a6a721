// Building the documents: the option blocks, the memo, the scripts and the
// copy of the layout file.
#include "app/TEDocuments.h"

#include <memory>
#include <vector>

#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace app {

using compute::TLELocalCircumstances;
using compute::TSELocalCircumstances;
using xml::TWideXmlDom;
using xml::TWideXmlNode;

namespace {

const std::string CreditLine = "Eclipse Predictions by Fred Espenak, NASA's GSFC";
const std::string LayoutFileName = "l1.lyt";
const std::string CRLF = "\r\n";

std::string Separator()
{
    return RepeatString("-", 80);
}

std::string DoubleSeparator()
{
    return RepeatString("=", 80);
}

// Catalogue values in the memo.
std::string CatalogueNumber(long double value)
{
    return rtl::FloatToStrF(value, rtl::TFloatFormat::ffFixed, 8, 4);
}

char FirstLetter(const std::string& text)
{
    return text.empty() ? '\0' : text[0];
}

std::string LongitudeText(const TObserverData& location)
{
    compute::TDMS dms;
    compute::RadiansToDMS(dms, location.GeoLongitude());
    std::string text;
    compute::LongitudeToText(dms, text);
    return text;
}

std::string LatitudeText(const TObserverData& location)
{
    compute::TDMS dms;
    compute::RadiansToDMS(dms, location.GeoLatitude());
    std::string text;
    compute::LatitudeToText(dms, text);
    return text;
}

std::string TimeShiftName(int32_t mode)
{
    switch (mode) {
    case tsmMLT: return "mean local time";
    case tsmSTZ: return "standard time zone";
    default: return "no time shift";
    }
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) text += line + CRLF;
    return text;
}

// The memo lines naming the catalogue the values come from and the place the
// local circumstances below them are for.
void AppendSourceAndPlace(std::vector<std::string>& m, const char* kind, const TObserverData& location)
{
    m.push_back("");
    m.push_back(std::string("Data from Five Millennium Canon of ") + kind + " Eclipses -1999 to +3000");
    m.push_back(CreditLine);
    m.push_back(DoubleSeparator());
    m.push_back("");
    m.push_back("Local Circumstances at " + location.Place());
    m.push_back("  Longitude: " + LongitudeText(location));
    m.push_back("  Latitude : " + LatitudeText(location));
    m.push_back(Separator());
}

std::string GoToScript(const std::string& contact)
{
    return "begin" + CRLF + "  GoToJD(StrToJD('" + contact + "'));" + CRLF + "end;";
}

struct TEditor {
    int32_t ID;
    std::string Caption;
    std::string Contact;
};

// What differs between the solar and the lunar document.
struct TDocumentParts {
    std::string FileName;
    bool Lunar = false;
    int32_t TimeShift = 0;
    std::string MaximumText;
    std::string MemoText;
    std::vector<TEditor> Editors;
    std::vector<std::string> ShortCuts;  // empty: no AssignedScripts
};

void WriteBodies(TWideXmlNode* parent, const char* listName, const char* itemName, int count,
                 const std::vector<int>& selected)
{
    TWideXmlNode* list = parent->NodeNew(listName);
    for (int i = 0; i < count; ++i) {
        TWideXmlNode* item = list->NodeNew(itemName);
        item->AttributeAdd("idx", i);
        bool on = false;
        for (int s : selected) on = on || s == i;
        // The sibling reads these in lower case.
        item->SetValue(on ? "true" : "false");
    }
}

void WriteEphemeris(TWideXmlNode* root, const TDocumentParts& parts, const TObserverData& location)
{
    TWideXmlNode* e = root->NodeNew("Ephemeris");
    e->WriteInteger("AzimuthMode", 0);
    e->WriteInteger("CorrectionMode", 1);
    e->WriteInteger("DifferenceMode", 0);
    e->WriteInteger("DataView", 0);
    e->WriteInteger("EphemerisType", 0);
    e->WriteInteger("ReferenceFrame", 2);
    e->WriteInteger("CoordinateCenter", 3);
    e->WriteInteger("MagMode", 1);
    e->WriteBool("MoonCorrection", true);
    e->WriteBool("Nutation", true);
    e->WriteBool("Refraction", true);
    e->WriteBool("ShowLocalCalendar", false);
    e->WriteInteger("ReferenceBody", 10);
    // The azimuth mode is settled last and keeps its first place.
    e->WriteInteger("AzimuthMode", 1);

    TWideXmlNode* calendar = e->NodeNew("LocalCalendar");
    calendar->WriteInteger("Type", 0);
    calendar->WriteFloat("Introduction", 2299160.5);

    WriteBodies(e, "Bodies", "Body", 255, parts.Lunar ? std::vector<int>{9} : std::vector<int>{9, 10});
    WriteBodies(e, "Quantities", "Quantity", 57,
                parts.Lunar ? std::vector<int>{12, 13, 14, 15} : std::vector<int>{12, 13, 14, 15, 18});

    TWideXmlNode* dates = e->NodeNew("DateTimeList");
    dates->WriteInteger("TimeShift", parts.TimeShift);
    dates->WriteInteger("TimeScale", 1);
    dates->WriteBool("UseDST", true);
    dates->WriteBool("ShowSeconds", true);
    dates->WriteString("DSTs", location.DSTs());

    TWideXmlNode* observer = e->NodeNew("Observer");
    observer->WriteString("Place", location.Place());
    observer->WriteFloat("GeoLongitude", static_cast<double>(location.GeoLongitude()));
    observer->WriteFloat("GeoLatitude", static_cast<double>(location.GeoLatitude()));
    observer->WriteFloat("GeoElevation", static_cast<double>(location.GeoElevation()));
    observer->WriteFloat("Temperature", static_cast<double>(location.Temperature()));
    observer->WriteFloat("Pressure", static_cast<double>(location.Pressure()));
    observer->WriteInteger("StdTimeZone", location.StdTimeZone());
    observer->WriteString("DSTs", location.DSTs());

    TWideXmlNode* format = e->NodeNew("Format");
    format->WriteInteger("AngleFmt", 0);
    format->WriteInteger("DateTimeFmt", 0);
    format->WriteInteger("TimeSpanFmt", 1);
    format->WriteInteger("SatelliteDistFmt", 1);
    format->WriteInteger("PhaseFmt", 0);
    format->WriteInteger("RAFmt", 0);
    format->WriteInteger("VelocityFmt", 0);

    TWideXmlNode* small = e->NodeNew("SmallBodies");
    for (const char* name : {"1 Ceres", "2 Pallas", "3 Juno"}) small->NodeNew("Body")->WriteString("Name", name);
}

void WriteTimeDlg(TWideXmlNode* root, const TDocumentParts& parts, int32_t timeShiftMode)
{
    TWideXmlNode* t = root->NodeNew("TimeDlg");
    t->WriteInteger("Definition", 0);
    t->WriteInteger("TimeScale", 1);
    t->WriteString("TimeShift", TimeShiftName(timeShiftMode));
    t->WriteString("JD01", parts.MaximumText);
    t->WriteString("JD02", "Today");
    t->WriteString("JD12", "Tomorrow");
    t->WriteString("GoTo1", "JD0");
    t->WriteString("GoTo2", "Now");
    t->WriteString("StepsA", "600");
    t->WriteString("StepsB", "600");
    t->WriteString("StepSize1", "0:00:15");
    t->WriteString("StepSize2", "1:00");
    t->WriteString("Discrete", "");
    t->WriteString("Script", "");
}

void WriteStarChart(TWideXmlNode* root, bool lunar)
{
    TWideXmlNode* s = root->NodeNew("StarChart");
    TWideXmlNode* panel = s->NodeNew("ToolPanel");
    panel->WriteInteger("Left", 20);
    panel->WriteInteger("Top", 20);
    panel->WriteBool("Collapsed", false);
    s->NodeNew("ViewPort")->WriteFloat("dLat", 10);
    s->WriteInteger("EpochMode", 0);
    s->WriteInteger("GridMode", 2);
    s->WriteInteger("CentralBody", lunar ? 9 : 10);
    s->WriteBool("HoldCentered", true);
}

void WriteMemo(TWideXmlNode* root, const std::string& text)
{
    TWideXmlNode* m = root->NodeNew("Memo");
    m->WriteString("Text", text);
    m->WriteBool("Wordwrap", false);
    TWideXmlNode* font = m->NodeNew("Font");
    font->WriteString("Font", "Courier New");
    font->WriteInteger("Size", 8);
    font->WriteInteger("Color", 0);
}

void WriteEditor(TWideXmlNode* scripts, const std::string& fileName, const std::string& caption, bool unnamed,
                 int32_t id, const std::string& script)
{
    TWideXmlNode* e = scripts->NodeNew("Editor");
    e->WriteString("Filename", fileName);
    e->WriteString("Caption", caption);
    e->WriteBool("IsUnnamed", unnamed);
    e->WriteInteger("Language", 0);
    e->WriteInteger("CurX", 0);
    e->WriteInteger("CurY", 0);
    e->WriteInteger("ID", id);
    e->WriteString("Script", script);
}

void WriteScript(TWideXmlNode* root, const TDocumentParts& parts)
{
    TWideXmlNode* s = root->NodeNew("Script");
    TWideXmlNode* form = s->NodeNew("Form");
    form->WriteInteger("Left", 20);
    form->WriteInteger("Top", 100);
    form->WriteInteger("Width", 500);
    form->WriteInteger("Height", 500);
    form->WriteBool("Visible", true);
    form->WriteInteger("SplitterPos", 200);

    TWideXmlNode* scripts = s->NodeNew("Scripts");
    WriteEditor(scripts, "Control Script.tesp", "Control Script", true, 0, "begin end;");
    for (const TEditor& e : parts.Editors)
        WriteEditor(scripts, e.Caption + ".tesp", e.Caption, false, e.ID, GoToScript(e.Contact));

    auto assigned = [&] {
        if (parts.ShortCuts.empty()) return;
        TWideXmlNode* a = s->NodeNew("AssignedScripts");
        for (std::size_t i = 0; i < parts.ShortCuts.size(); ++i)
            a->WriteString("OnShortCut" + std::to_string(i), parts.ShortCuts[i]);
    };
    if (parts.Lunar) assigned();
    s->WriteInteger("LastID", 7);
    s->WriteInteger("ID", 3);
    if (!parts.Lunar) assigned();
}

// The root element of the layout file beside the executable, copied whole
// into a new last child of root.
void AppendLayout(TWideXmlNode* root)
{
    auto layout = std::make_unique<TWideXmlDom>();
    layout->LoadFromFile(ProgramPath + LayoutFileName);
    TWideXmlNode* docking = root->NodeNew("Docking");
    if (TWideXmlNode* source = layout->Root()) docking->Assign(source);
}

void WriteDocument(const TTEContext& context, TWideXmlDom& doc, const TDocumentParts& parts,
                   const TObserverData& location)
{
    TWideXmlNode* root = doc.Root();
    root->SetName(TEDocumentRoot);
    root->WriteInteger("Major", 4);
    root->WriteInteger("Minor", 0);
    root->WriteString("Content", "Tolmira Ephemeris Document File");
    root->WriteString("SFN", parts.FileName);
    TWideXmlNode* deltaT = root->NodeNew("DeltaT");
    deltaT->WriteBool("UseInternalDeltaTTable", compute::UseInternalDeltaTTable);
    deltaT->WriteString("DeltaTFile", context.DeltaTTableFile);
    WriteEphemeris(root, parts, location);
    WriteTimeDlg(root, parts, context.TimeShiftMode);
    root->NodeNew("Scripting")->WriteInteger("Language", 0);
    WriteStarChart(root, parts.Lunar);
    WriteMemo(root, parts.MemoText);
    WriteScript(root, parts);
    AppendLayout(root);
}

std::string GeneratedFileName(long double maximumJD, const std::string& typeWord, const char* kind,
                              const TObserverData& location)
{
    std::string name = UTDateText(maximumJD) + " - " + typeWord + kind + location.Place() + ".tlx";
    CleanFileName(name);
    return name;
}

} // namespace

std::string UTDateText(long double jd)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, jd);
    std::string text;
    compute::DateRecToYMDText(rec, text);
    return text;
}

std::string RepeatString(const std::string& text, int32_t count)
{
    std::string result;
    for (int32_t i = 0; i < count; ++i) result += text;
    return result;
}

int32_t TETimeShift(int32_t timeShiftMode, const TObserverData& location)
{
    switch (timeShiftMode) {
    case tsmMLT: return location.MeanLocalTimeShift();
    case tsmSTZ: return location.StdTimeZone();
    default: return 0;
    }
}

std::string TEContactText(long double jd, int32_t zone)
{
    if (jd == 0) return "";
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(zone, rec, jd);
    std::string text;
    compute::DateTimeRecToText(rec, 0, true, text);
    return text;
}

bool BuildSolarTEDocument(const TTEContext& context, TWideXmlDom& doc, const TObserverData& location,
                          const TSELocalCircumstances& lc, std::string& fileName)
{
    const char local = lc.EclipseType;
    if (local == 'N' || !context.SolarEclipse) return false;
    const compute::TSolarEclipse& se = *context.SolarEclipse;

    TDocumentParts parts;
    parts.TimeShift = TETimeShift(context.TimeShiftMode, location);
    const long double jd[5] = {lc.JD0, lc.JD1, lc.JD2, lc.JD3, lc.JD4};
    std::string C[5];
    for (int i = 0; i < 5; ++i) C[i] = TEContactText(jd[i], parts.TimeShift);
    parts.MaximumText = C[2];

    std::string typeWord;
    switch (local) {
    case 'T': typeWord = "Total "; break;
    case 'A': typeWord = "Annular "; break;
    case 'P': typeWord = "Partial "; break;
    case 'H': typeWord = "Hybrid "; break;
    }
    parts.FileName = GeneratedFileName(lc.JD2, typeWord, "Solar Eclipse - ", location);

    std::vector<std::string> m;
    m.push_back("Solar Eclipse of " + se.DT());
    m.push_back(Separator());
    switch (FirstLetter(se.EclipseType())) {
    case 'T': m.push_back("Eclipse type    : total"); break;
    case 'A': m.push_back("Eclipse type    : annular"); break;
    case 'P': m.push_back("Eclipse type    : partial"); break;
    case 'H': m.push_back("Eclipse type    : hybrid"); break;
    }
    m.push_back("Magnitude       : " + CatalogueNumber(se.Magnitude()));
    m.push_back("Gamma           : " + CatalogueNumber(se.Gamma()));
    m.push_back("Saros number    : " + CatalogueNumber(se.Saros()));
    m.push_back("Lunation number : " + CatalogueNumber(se.Lunation()));
    m.push_back("Catalogue number: " + CatalogueNumber(se.CatNo()));
    AppendSourceAndPlace(m, "Solar", location);
    switch (local) {
    case 'T': m.push_back("Eclipse type      : total"); break;
    case 'A': m.push_back("Eclipse type      : annular"); break;
    case 'P': m.push_back("Eclipse type      : partial"); break;
    case 'H': m.push_back("Eclipse type      : hybrid"); break;
    }
    const bool central = local == 'A' || local == 'H' || local == 'T';
    m.push_back("Magnitude         : " + rtl::FloatToStrF(lc.Magnitude, rtl::TFloatFormat::ffFixed, 8, 3));
    m.push_back("First contact     : " + C[0]);
    if (central) m.push_back("First int. contact: " + C[1]);
    m.push_back("Maximum eclipse   : " + C[2]);
    if (central) m.push_back("Last int. contact : " + C[3]);
    m.push_back("Last contact      : " + C[4]);
    m.push_back(DoubleSeparator());
    m.push_back("");
    m.push_back("Press F11 to go to first contact.");
    m.push_back("Press F12 to go to max. eclipse.");
    m.push_back("Press Ctrl+F11 to go to last contact.");
    parts.MemoText = JoinLines(m);

    parts.Editors = {{1, "Go to First Contact", C[0]}, {2, "Go to Maximum Eclipse", C[2]}, {3, "Go to Last Contact", C[4]}};
    parts.ShortCuts = {"Go to First Contact", "Go to Maximum Eclipse", "Go to Last Contact"};

    WriteDocument(context, doc, parts, location);
    fileName = parts.FileName;
    return true;
}

bool BuildLunarTEDocument(const TTEContext& context, TWideXmlDom& doc, const TObserverData& location,
                          const TLELocalCircumstances& lc, std::string& fileName)
{
    if (lc.State == 0 || !context.LunarEclipse) return false;
    const compute::TLunarEclipse& le = *context.LunarEclipse;
    const char type = FirstLetter(le.EclipseType());
    const bool partial = type == 'P' || type == 'T';
    const bool total = type == 'T';

    TDocumentParts parts;
    parts.Lunar = true;
    parts.TimeShift = TETimeShift(context.TimeShiftMode, location);
    // C1..C7; the partial and total contacts only for eclipses that have them.
    std::string C[7];
    for (int i = 0; i < 7; ++i) {
        const bool exists = (i == 1 || i == 5) ? partial : (i == 2 || i == 4) ? total : true;
        if (exists) C[i] = TEContactText(lc.JD[i], parts.TimeShift);
    }
    parts.MaximumText = C[3];

    std::string typeWord;
    switch (type) {
    case 'N': typeWord = "Penumbral "; break;
    case 'P': typeWord = "Partial "; break;
    case 'T': typeWord = "Total "; break;
    }
    parts.FileName = GeneratedFileName(lc.JD[3], typeWord, "Lunar Eclipse - ", location);

    std::vector<std::string> m;
    m.push_back(rtl::Trim(typeWord) + " Lunar Eclipse of " + le.DT());
    m.push_back(Separator());
    m.push_back("Magnitude (pen.) : " + CatalogueNumber(le.MagPenumbra()));
    m.push_back("Magnitude (umbra): " + CatalogueNumber(le.MagUmbra()));
    m.push_back("Gamma            : " + CatalogueNumber(le.Gamma()));
    m.push_back("Saros number     : " + CatalogueNumber(le.Saros()));
    m.push_back("Lunation number  : " + CatalogueNumber(le.Lunation()));
    m.push_back("Catalogue number : " + CatalogueNumber(le.CatNo()));
    AppendSourceAndPlace(m, "Lunar", location);
    m.push_back("Penumbral phase begins: " + C[0]);
    if (partial) m.push_back("Partial phase begins  : " + C[1]);
    if (total) m.push_back("Total phase begins    : " + C[2]);
    m.push_back("Maximum eclipse       : " + C[3]);
    if (total) m.push_back("Total phase ends      : " + C[4]);
    if (partial) m.push_back("Partial phase ends    : " + C[5]);
    m.push_back("Penumbral phase ends  : " + C[6]);
    m.push_back(DoubleSeparator());
    m.push_back("");
    const char* phase = total ? "total" : partial ? "partial" : type == 'N' ? "penumbral" : nullptr;
    if (phase) {
        m.push_back(std::string("Press F11 to go to begin of ") + phase + " phase.");
        m.push_back("Press F12 to go to maximum eclipse.");
        m.push_back(std::string("Press Ctrl+F11 to go to end of ") + phase + " phase.");
    }
    parts.MemoText = JoinLines(m);

    switch (type) {
    case 'N':
        parts.Editors = {{1, "Go to Begin of Penumbral Phase", C[0]},
                         {2, "Go to Maximum Eclipse", C[3]},
                         {3, "Go to End of Penumbral Phase", C[6]}};
        parts.ShortCuts = {"Go to Begin of Penumbral Phase", "Go to Maximum Eclipse", "Go to End of Penumbral Phase"};
        break;
    case 'P':
        parts.Editors = {{1, "Go to Begin of Partial Phase", C[1]},
                         {2, "Go to Maximum Eclipse", C[3]},
                         {3, "Go to End of Partial Phase", C[5]}};
        parts.ShortCuts = {"Go to Begin of Partial Phase", "Go to Maximum Eclipse", "Go to End of Partial Phase"};
        break;
    case 'T':
        parts.Editors = {{1, "Go to Begin of Partial Phase", C[1]},
                         {2, "Go to Begin of Total Phase", C[2]},
                         {3, "Go to Maximum Eclipse", C[3]},
                         {4, "Go to End of Total Phase", C[4]},
                         {5, "Go to End of Partial Phase", C[5]}};
        parts.ShortCuts = {"Go to Begin of Total Phase", "Go to Maximum Eclipse", "Go to End of Total Phase"};
        break;
    }

    WriteDocument(context, doc, parts, location);
    fileName = parts.FileName;
    return true;
}

} // namespace app
