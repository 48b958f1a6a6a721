#include "app/ObserverDataLists.h"

#include <cmath>
#include <memory>

#include "app/XmlFiles.h"
#include "compute/AstroMath.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace app {

// --- TObserverData -----------------------------------------------------------

TObserverData::TObserverData()
    : FPressure(1010),
      FTemperature(20),
      FGeoLongitude(compute::DegToRadians(-13.511L)),
      FGeoLatitude(compute::DegToRadians(52.5L)),
      FGeoElevation(50),
      FPlace("Berlin (Germany)"),
      FStdTimeZone(3600),
      FDSTs("202-003###203-010###199600000600")
{
}

void TObserverData::Changed()
{
    if (OnChanged) OnChanged(this);
}

void TObserverData::SetPlace(const std::string& value)
{
    FPlace = value;
    Changed();
}

void TObserverData::SetGeoLongitude(long double value)
{
    FGeoLongitude = value;
    Changed();
}

void TObserverData::SetGeoLatitude(long double value)
{
    FGeoLatitude = value;
    Changed();
}

void TObserverData::SetGeoElevation(long double value)
{
    FGeoElevation = value;
    Changed();
}

void TObserverData::SetTemperature(long double value)
{
    FTemperature = value;
    Changed();
}

void TObserverData::SetPressure(long double value)
{
    FPressure = value;
    Changed();
}

void TObserverData::SetStdTimeZone(int32_t value)
{
    FStdTimeZone = value;
    Changed();
}

void TObserverData::SetDSTs(const std::string& value)
{
    FDSTs = value;
    Changed();
}

void TObserverData::Assign(const TObserverData* source)
{
    if (!source || source == this) return;
    FPressure = source->FPressure;
    FTemperature = source->FTemperature;
    FGeoLongitude = source->FGeoLongitude;
    FGeoLatitude = source->FGeoLatitude;
    FGeoElevation = source->FGeoElevation;
    FPlace = source->FPlace;
    FStdTimeZone = source->FStdTimeZone;
    FDSTs = source->FDSTs;
    OnChanged = source->OnChanged;
    Tag = source->Tag;
    Changed();
}

int32_t TObserverData::MeanLocalTimeShift() const
{
    return static_cast<int32_t>(-rtl::Round(FGeoLongitude * 43200.0L / compute::Pi));
}

double TObserverData::LMST(double UT) const
{
    return static_cast<double>(compute::GreenwichSiderealTime(UT) * compute::Pi / 12.0L - FGeoLongitude);
}

compute::TRectangular TObserverData::Position(double UT) const
{
    constexpr long double ba = 0.9966471868221031L;  // polar / equatorial radius
    constexpr long double a = 6378140.0L;            // equatorial radius, metres
    const double u = std::atan(static_cast<double>(ba * std::tan(FGeoLatitude)));
    const long double rhoSin = ba * std::sin(static_cast<long double>(u)) + FGeoElevation / a * std::sin(FGeoLatitude);
    const long double rhoCos = std::cos(static_cast<long double>(u)) + FGeoElevation / a * std::cos(FGeoLatitude);
    const long double theta = LMST(UT);
    compute::TRectangular r;
    r.x = rhoCos * std::cos(theta);
    r.y = rhoCos * std::sin(theta);
    r.z = rhoSin;
    return r;
}

// --- TObserverDataList -------------------------------------------------------

TObserverDataList::TObserverDataList(const std::string& name) : FName(name) {}

TObserverDataList::~TObserverDataList()
{
    Clear();
}

void TObserverDataList::Clear()
{
    for (int i = 0; i < Count(); ++i) delete Items(i);
    rtl::TList::Clear();
}

void TObserverDataList::FreeAndDelete(int index)
{
    TObserverData* item = Items(index);
    rtl::TList::Delete(index);
    delete item;
}

int TObserverDataList::FindPlace(const std::string& place) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiSameText(Items(i)->Place(), place)) return i;
    return -1;
}

void TObserverDataList::ReadFromNode(xml::TWideXmlNode* node)
{
    Clear();
    FName = node->ReadString("Name", "");
    xml::TWideXmlNode* locations = node->NodeByName("Locations");
    if (!locations) return;
    for (int i = 0; i < locations->NodeCount(); ++i) {
        xml::TWideXmlNode* n = locations->Nodes(i);
        if (n->ElementType() != xml::xeNormal) continue;
        auto o = std::make_unique<TObserverData>();
        o->SetPlace(n->ReadString("Place", ""));
        o->SetGeoLongitude(n->ReadFloat("GeoLongitude", 0));
        o->SetGeoLatitude(n->ReadFloat("GeoLatitude", 0));
        o->SetGeoElevation(n->ReadFloat("GeoElevation", 0));
        o->SetTemperature(n->ReadFloat("Temperature", 20));
        o->SetPressure(n->ReadFloat("Pressure", 1010));
        o->SetStdTimeZone(n->ReadInteger("StdTimeZone", 0));
        o->SetDSTs(n->ReadString("DSTs", ""));
        Add(o.release());
    }
}

void TObserverDataList::ReadFromFile(const std::string& fileName)
{
    xml::TWideXmlDom doc;
    doc.LoadFromFile(fileName);
    xml::TWideXmlNode* root = doc.Root();
    if (!root) throw rtl::EReadError("\"" + fileName + "\" holds no location list.");
    ReadFromNode(root);
}

void TObserverDataList::WriteToNode(xml::TWideXmlNode* node) const
{
    node->WriteString("Name", FName);
    xml::TWideXmlNode* locations = node->NodeNew("Locations");
    for (int i = 0; i < Count(); ++i) {
        const TObserverData* o = Items(i);
        xml::TWideXmlNode* n = locations->NodeNew("Location");
        n->WriteString("Place", o->Place());
        n->WriteFloat("GeoLongitude", static_cast<double>(o->GeoLongitude()));
        n->WriteFloat("GeoLatitude", static_cast<double>(o->GeoLatitude()));
        n->WriteFloat("GeoElevation", static_cast<double>(o->GeoElevation()));
        n->WriteFloat("Temperature", static_cast<double>(o->Temperature()));
        n->WriteFloat("Pressure", static_cast<double>(o->Pressure()));
        n->WriteInteger("StdTimeZone", o->StdTimeZone());
        n->WriteString("DSTs", o->DSTs());
    }
}

void TObserverDataList::SaveToFile(const std::string& fileName) const
{
    xml::TWideXmlDom doc("LocationList");
    WriteToNode(doc.Root());
    SaveXmlDocument(doc, fileName);
}

void TObserverDataList::SplitPlaceCountry(const std::string& place, std::string& name, std::string& country)
{
    auto open = place.rfind('(');
    if (open == std::string::npos) {
        name = place;
        country.clear();
        return;
    }
    name = rtl::Trim(place.substr(0, open));
    country = rtl::Trim(place.substr(open + 1));
    if (!country.empty() && country.back() == ')') country.pop_back();
}

void TObserverDataList::SortList(const std::string& order)
{
    const std::string key = rtl::UpperCase(order);
    std::function<int(void*, void*)> compare;
    auto obs = [](void* p) { return static_cast<TObserverData*>(p); };
    auto descending = [](long double a, long double b) { return a > b ? -1 : (a < b ? 1 : 0); };
    if (key == "NAME") {
        compare = [&](void* a, void* b) { return rtl::AnsiCompareText(obs(a)->Place(), obs(b)->Place()); };
    } else if (key == "COUNTRY") {
        compare = [&](void* a, void* b) {
            std::string na, ca, nb, cb;
            SplitPlaceCountry(obs(a)->Place(), na, ca);
            SplitPlaceCountry(obs(b)->Place(), nb, cb);
            return rtl::AnsiCompareText(ca + na, cb + nb);
        };
    } else if (key == "LONGITUDE") {
        compare = [&](void* a, void* b) { return descending(obs(a)->GeoLongitude(), obs(b)->GeoLongitude()); };
    } else if (key == "LATITUDE") {
        compare = [&](void* a, void* b) { return descending(obs(a)->GeoLatitude(), obs(b)->GeoLatitude()); };
    } else if (key == "TAG") {
        compare = [&](void* a, void* b) { return descending(obs(a)->Tag, obs(b)->Tag); };
    } else {
        return;
    }
    Sort(compare);
}

int TObserverDataList::ImportList(const TObserverDataList& other)
{
    int added = 0;
    for (int i = 0; i < other.Count(); ++i) {
        if (FindPlace(other[i]->Place()) >= 0) continue;
        auto o = std::make_unique<TObserverData>();
        o->Assign(other[i]);
        Add(o.release());
        ++added;
    }
    return added;
}

int TObserverDataList::ImportFromFile(const std::string& fileName)
{
    TObserverDataList temporary;
    temporary.ReadFromFile(fileName);
    return ImportList(temporary);
}

void CheckLocationCoordinates(const TObserverDataList& list, const std::string& fileName)
{
    // Radians; a small margin for the last digit of a value written as text.
    const long double margin = 1e-9L;
    for (int i = 0; i < list.Count(); ++i) {
        const TObserverData* o = list[i];
        const char* bad = nullptr;
        if (!std::isfinite(o->GeoLongitude()) || std::fabs(o->GeoLongitude()) > compute::Pi + margin)
            bad = "longitude";
        else if (!std::isfinite(o->GeoLatitude()) || std::fabs(o->GeoLatitude()) > compute::Pi / 2 + margin)
            bad = "latitude";
        if (bad)
            throw rtl::EReadError("The location list \"" + fileName + "\" cannot be used: the location '" +
                                  o->Place() + "' has an invalid " + bad + ".");
    }
}

} // namespace app
