#include "app/MapData.h"

#include "app/AppMessages.h"
#include "app/SEPaths.h"
#include "app/XmlFiles.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "resources/BuiltinMaps.h"
#include "xml/XmlDom.h"

namespace app {

namespace {

TMapData FromBuiltin(const TBuiltinMap& m)
{
    TMapData d;
    d.ResourceName = m.ResourceName;
    d.Description = m.Description;
    d.Source = BuiltinMapSource;
    d.Width = m.Width;
    d.Height = m.Height;
    d.Projection = static_cast<compute::TProjection>(m.Projection);
    d.dLat = m.dLat;
    d.dLon = m.dLon;
    d.X0 = m.X0;
    d.Y0 = m.Y0;
    d.X1 = m.X1;
    d.Y1 = m.Y1;
    d.F1 = m.F1;
    d.F2 = m.F2;
    d.F3 = m.F3;
    d.F4 = m.F4;
    d.CEMWidth = m.CEMWidth;
    d.CEMScale = m.CEMScale;
    d.CEMLabelScale = m.CEMLabelScale;
    d.CEMLabelOffset = m.CEMLabelOffset;
    d.CETWidth = m.CETWidth;
    d.CETScale = m.CETScale;
    d.VBLWidth = m.VBLWidth;
    return d;
}

bool IsValid(const TMapData& d)
{
    if (d.ResourceName.empty()) {
        std::string file = MapsPath + d.FileName;
        if (d.FileName.empty() || !rtl::FileExists(file) || rtl::DirectoryExists(file)) return false;
    }
    return d.X1 != 0 && d.Y1 != 0;
}

} // namespace

const TMapData StandardMapData = FromBuiltin(StandardWorldMap);
const TMapData GeneralMapData = FromBuiltin(GeneralWorldMap);

void WriteMapData(xml::TWideXmlNode* node, const TMapData& d)
{
    node->WriteString("Description", d.Description);
    node->WriteString("Source", d.Source);
    node->WriteString("File", d.FileName);
    node->WriteString("Resource", d.ResourceName);
    node->WriteInteger("Projection", static_cast<int32_t>(d.Projection));
    node->WriteInteger("Width", d.Width);
    node->WriteInteger("Height", d.Height);
    node->WriteFloat("dLat", d.dLat);
    node->WriteFloat("dLon", d.dLon);
    node->WriteFloat("X0", d.X0);
    node->WriteFloat("X1", d.X1);
    node->WriteFloat("Y0", d.Y0);
    node->WriteFloat("Y1", d.Y1);
    node->WriteFloat("F1", d.F1);
    node->WriteFloat("F2", d.F2);
    node->WriteFloat("F3", d.F3);
    node->WriteFloat("F4", d.F4);
    xml::TWideXmlNode* def = node->NodeNew("Default");
    def->WriteFloat("CEMWidth", d.CEMWidth);
    def->WriteFloat("CEMScale", d.CEMScale);
    def->WriteInteger("CEMLabelScale", d.CEMLabelScale);
    def->WriteInteger("CEMLabelOffset", d.CEMLabelOffset);
    def->WriteFloat("CETWidth", d.CETWidth);
    def->WriteInteger("CETScale", d.CETScale);
    def->WriteFloat("VBLWidth", d.VBLWidth);
}

bool ReadMapElements(xml::TWideXmlNode* node, TMapData& d, bool withEqualTimeCurves)
{
    d.Description = node->ReadString("Description", "");
    d.Source = node->ReadString("Source", "");
    d.FileName = node->ReadString("File", "");
    d.ResourceName = rtl::Trim(node->ReadString("Resource", ""));
    int32_t projection = node->ReadInteger("Projection", 0);
    bool knownProjection = projection >= 0 && projection <= 4;
    d.Projection = knownProjection ? static_cast<compute::TProjection>(projection) : compute::prjRobinson;
    d.Width = node->ReadInteger("Width", 0);
    d.Height = node->ReadInteger("Height", 0);
    d.dLat = node->ReadFloat("dLat", 0);
    d.dLon = node->ReadFloat("dLon", 0);
    d.X0 = node->ReadFloat("X0", 0);
    d.X1 = node->ReadFloat("X1", 0);
    d.Y0 = node->ReadFloat("Y0", 0);
    d.Y1 = node->ReadFloat("Y1", 0);
    d.F1 = node->ReadFloat("F1", 0);
    d.F2 = node->ReadFloat("F2", 0);
    d.F3 = node->ReadFloat("F3", 0);
    d.F4 = node->ReadFloat("F4", 0);
    xml::TWideXmlNode* def = node->NodeFindOrCreate("Default");
    d.CEMWidth = def->ReadFloat("CEMWidth", 0.01);
    d.CEMScale = def->ReadFloat("CEMScale", 0.2);
    d.CEMLabelScale = def->ReadInteger("CEMLabelScale", 30);
    d.CEMLabelOffset = def->ReadInteger("CEMLabelOffset", 0);
    if (withEqualTimeCurves) {
        d.CETWidth = def->ReadFloat("CETWidth", 0.025);
        d.CETScale = def->ReadInteger("CETScale", 60);
    }
    d.VBLWidth = def->ReadFloat("VBLWidth", 0.08);
    return knownProjection;
}

bool ReadMapData(xml::TWideXmlNode* node, TMapData& d)
{
    const bool knownProjection = ReadMapElements(node, d, true);

    // A projection number the program does not know makes the record
    // invalid like a missing bitmap does.
    bool valid = knownProjection && IsValid(d);
    if (!valid) {
        d = StandardMapData;
        ShowNotice(InvalidMapDataMessage);
    }
    UseMapProjection(d);
    return valid;
}

void UseMapProjection(const TMapData& d)
{
    if (d.Projection == compute::prjLambertConformalConic) compute::SetConicParallels(d.F1, d.F2);
    else if (d.Projection == compute::prjLambertAzimuthalEqualArea) compute::SetAzimuthalCenter(d.F1);
}

bool ReadMapDataFile(const std::string& fileName, TMapData& data)
{
    xml::TWideXmlDom doc;
    doc.LoadFromFile(fileName);
    xml::TWideXmlNode* root = doc.Root();
    if (!root) throw rtl::EReadError("\"" + fileName + "\" holds no map description.");
    return ReadMapData(root, data);
}

void SaveMapDataFile(const std::string& fileName, const TMapData& data)
{
    xml::TWideXmlDom doc("MapData");
    WriteMapData(doc.Root(), data);
    SaveXmlDocument(doc, fileName);
}

} // namespace app
