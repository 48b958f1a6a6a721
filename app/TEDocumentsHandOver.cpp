// Saving the documents, the commands of the location table, and the
// hand-over to the running or started sibling.
#include <iostream>
#include <memory>

#include "app/ObserverDataLists.h"
#include "app/Pipes.h"
#include "app/SEPaths.h"
#include "app/TEDocuments.h"
#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/WindowMessages.h"
#include "xml/XmlDom.h"

namespace app {

using compute::TLELocalCircumstances;
using compute::TSELocalCircumstances;
using xml::TWideXmlDom;

namespace {

bool Lunar(const TTEContext& context)
{
    return context.EventType == TEEventLunar;
}

void Message(const TTEContext& context, const std::string& text)
{
    if (context.ShowMessage) context.ShowMessage(text);
    else std::cerr << text << std::endl;
}

const TObserverData* SelectedLocation(const TTEContext& context)
{
    if (!TEFound || !context.Locations) return nullptr;
    if (context.SelectedIndex < 0 || context.SelectedIndex >= context.Locations->Count()) return nullptr;
    return context.Locations->Items(context.SelectedIndex);
}

// Saves a built document to folder + name, or where the user chooses.
bool SaveBuilt(const TTEContext& context, TWideXmlDom& doc, const std::string& folder, std::string& fileName,
               const std::string& generated, bool ask)
{
    fileName = folder + (fileName.empty() ? generated : fileName);
    if (ask) {
        TTESaveRequest request;
        request.Title = TESaveDialogTitle;
        request.Filter = TESaveDialogFilter;
        request.DefaultExt = "tlx";
        request.InitialDir = folder;
        request.FileName = rtl::ExtractFileName(fileName);
        std::string chosen;
        if (!context.SaveDialog || !context.SaveDialog(request, chosen)) return false;
        fileName = chosen;
    }
    doc.SaveToFile(fileName);
    return true;
}

} // namespace

bool SaveSolarTEDocument(const TTEContext& context, const std::string& folder, std::string& fileName, bool ask,
                         const TSELocalCircumstances& lc, const TObserverData& location)
{
    auto doc = std::make_unique<TWideXmlDom>(TEDocumentRoot);
    std::string generated;
    if (!BuildSolarTEDocument(context, *doc, location, lc, generated)) return false;
    return SaveBuilt(context, *doc, folder, fileName, generated, ask);
}

bool SaveLunarTEDocument(const TTEContext& context, const std::string& folder, std::string& fileName, bool ask,
                         const TLELocalCircumstances& lc, const TObserverData& location)
{
    auto doc = std::make_unique<TWideXmlDom>(TEDocumentRoot);
    std::string generated;
    if (!BuildLunarTEDocument(context, *doc, location, lc, generated)) return false;
    return SaveBuilt(context, *doc, folder, fileName, generated, ask);
}

bool TELocalCircumstances(const TTEContext& context, const TObserverData& location, TSELocalCircumstances& se,
                          TLELocalCircumstances& le)
{
    const long double longitude = compute::RadiansToDeg(location.GeoLongitude());
    const long double latitude = compute::RadiansToDeg(location.GeoLatitude());
    if (Lunar(context)) {
        if (!context.LunarEclipse) return false;
        le = TLELocalCircumstances();
        le.Longitude = longitude;
        le.Latitude = latitude;
        return context.LunarEclipse->LocalCircumstances(le);
    }
    if (!context.SolarEclipse) return false;
    se = TSELocalCircumstances();
    se.Longitude = longitude;
    se.Latitude = latitude;
    return context.SolarEclipse->LocalCircumstances(se);
}

void SaveTEDocumentForSelection(const TTEContext& context)
{
    const TObserverData* location = SelectedLocation(context);
    if (!location) return;
    TSELocalCircumstances se;
    TLELocalCircumstances le;
    if (!TELocalCircumstances(context, *location, se, le)) return;
    std::string fileName;
    if (Lunar(context)) SaveLunarTEDocument(context, TEDocumentsPath, fileName, true, le, *location);
    else SaveSolarTEDocument(context, TEDocumentsPath, fileName, true, se, *location);
}

void CreateAllTEDocuments(const TTEContext& context)
{
    if (!TEFound || !context.Locations) return;
    for (int i = 0; i < context.Locations->Count(); ++i) {
        const TObserverData& location = *context.Locations->Items(i);
        TSELocalCircumstances se;
        TLELocalCircumstances le;
        if (!TELocalCircumstances(context, location, se, le)) continue;
        const std::string folder = TEDocumentsPath + (Lunar(context) ? "Lunar Eclipse of " : "Solar Eclipse of ") +
                                   UTDateText(Lunar(context) ? le.JD[3] : se.JD2) + "/";
        if (!rtl::DirectoryExists(folder) && !rtl::ForceDirectories(folder))
            throw rtl::EInOutError("Cannot create the folder \"" + folder + "\".");
        std::string fileName;
        if (Lunar(context)) SaveLunarTEDocument(context, folder, fileName, false, le, location);
        else SaveSolarTEDocument(context, folder, fileName, false, se, location);
    }
}

bool ConnectTEClient(const TTEContext& context)
{
    TPipeClient* client = context.TEClient;
    if (!client) return false;
    if (client->Connected()) return true;
    client->SetServerName("");
    return client->Connect(TEConnectWait);
}

TTEHandOver RunInTE(const TTEContext& context, std::string* fileName)
{
    const TObserverData* location = SelectedLocation(context);
    if (!location) return TTEHandOver::thoNothing;
    TSELocalCircumstances se;
    TLELocalCircumstances le;
    if (!TELocalCircumstances(context, *location, se, le)) return TTEHandOver::thoNothing;
    if (Lunar(context) ? le.State == 0 : se.EclipseType == 'N') return TTEHandOver::thoNothing;

    if (TEPipeInterface) {
        auto doc = std::make_unique<TWideXmlDom>(TEDocumentRoot);
        std::string name;
        if (Lunar(context)) BuildLunarTEDocument(context, *doc, *location, le, name);
        else BuildSolarTEDocument(context, *doc, *location, se, name);
        if (ConnectTEClient(context)) {
            // One document per message, as the library writes it.
            rtl::TMemoryStream stream;
            doc->SaveToStream(stream);
            context.TEClient->Write(stream.Memory(), static_cast<uint32_t>(stream.Size()));
            return TTEHandOver::thoPipe;
        }
        const std::string path = TemporaryPath + name;
        doc->SaveToFile(path);
        if (fileName) *fileName = path;
        switch (StartSibling(path)) {
        case 2:
            Message(context, TECouldNotConnect);
            return TTEHandOver::thoNotConnected;
        case 1: return TTEHandOver::thoStarted;
        case -1: return TTEHandOver::thoDeclined;
        default: return TTEHandOver::thoNothing;
        }
    }

    // An older sibling takes files in its drop folder.
    std::string path;
    const bool saved = Lunar(context) ? SaveLunarTEDocument(context, TETemporaryPath, path, false, le, *location)
                                      : SaveSolarTEDocument(context, TETemporaryPath, path, false, se, *location);
    if (!saved) return TTEHandOver::thoNothing;
    if (fileName) *fileName = path;
    switch (StartSibling(path)) {
    case 2:
        return sys::PostWindowClassMessage(TEWindowClass, TEDocumentMessage, 0, 0) ? TTEHandOver::thoWindowMessage
                                                                                 : TTEHandOver::thoNotAnnounced;
    case 1: return TTEHandOver::thoStarted;
    case -1: return TTEHandOver::thoDeclined;
    default: return TTEHandOver::thoNothing;
    }
}

} // namespace app
