#include "report/qlrRes.h"

#include <algorithm>
#include <memory>

#include <zlib.h>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrGraphicUtils.h"
#include "report/qlrUtils.h"
#include "report/qlrXML.h"
#include "script/qs_iconst.h"

extern "C" void tec_resources_tec_report_0();

namespace qlr {

namespace {

// The start-up string table: 178 texts, the script messages among them.
// Attribute values are decoded twice, so a double quote is "&#38;#34;".
const char* const kStartupTable =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
    "<Resources CodePage=\"1252\">"
    "<StrRes Name=\"1\" Text=\"OK\"/>"
    "<StrRes Name=\"2\" Text=\"Cancel\"/>"
    "<StrRes Name=\"3\" Text=\"All\"/>"
    "<StrRes Name=\"4\" Text=\"Current page\"/>"
    "<StrRes Name=\"5\" Text=\"Pages:\"/>"
    "<StrRes Name=\"6\" Text=\"Page breaks\"/>"
    "<StrRes Name=\"7\" Text=\"Page range\"/>"
    "<StrRes Name=\"8\" Text=\"Export settings\"/>"
    "<StrRes Name=\"9\" Text=\"Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12\"/>"
    "<StrRes Name=\"100\" Text=\"Preview\"/>"
    "<StrRes Name=\"101\" Text=\"Print\"/>"
    "<StrRes Name=\"102\" Text=\"Print\"/>"
    "<StrRes Name=\"103\" Text=\"Open\"/>"
    "<StrRes Name=\"104\" Text=\"Open\"/>"
    "<StrRes Name=\"105\" Text=\"Save\"/>"
    "<StrRes Name=\"106\" Text=\"Save\"/>"
    "<StrRes Name=\"107\" Text=\"Export\"/>"
    "<StrRes Name=\"108\" Text=\"Export\"/>"
    "<StrRes Name=\"109\" Text=\"Find\"/>"
    "<StrRes Name=\"110\" Text=\"Find\"/>"
    "<StrRes Name=\"111\" Text=\"Whole Page\"/>"
    "<StrRes Name=\"112\" Text=\"Whole Page\"/>"
    "<StrRes Name=\"113\" Text=\"Page Width\"/>"
    "<StrRes Name=\"114\" Text=\"Page Width\"/>"
    "<StrRes Name=\"115\" Text=\"100%\"/>"
    "<StrRes Name=\"116\" Text=\"100%\"/>"
    "<StrRes Name=\"117\" Text=\"Two Pages\"/>"
    "<StrRes Name=\"118\" Text=\"Two Pages\"/>"
    "<StrRes Name=\"119\" Text=\"Zoom\"/>"
    "<StrRes Name=\"120\" Text=\"Page Settings\"/>"
    "<StrRes Name=\"121\" Text=\"Page Settings\"/>"
    "<StrRes Name=\"122\" Text=\"Outline\"/>"
    "<StrRes Name=\"123\" Text=\"Outline\"/>"
    "<StrRes Name=\"124\" Text=\"Zoom In\"/>"
    "<StrRes Name=\"125\" Text=\"Zoom In\"/>"
    "<StrRes Name=\"126\" Text=\"Zoom Out\"/>"
    "<StrRes Name=\"127\" Text=\"Zoom Out\"/>"
    "<StrRes Name=\"128\" Text=\"Outline\"/>"
    "<StrRes Name=\"129\" Text=\"Report outline\"/>"
    "<StrRes Name=\"130\" Text=\"Thumbnails\"/>"
    "<StrRes Name=\"131\" Text=\"Thumbnails\"/>"
    "<StrRes Name=\"132\" Text=\"Edit\"/>"
    "<StrRes Name=\"133\" Text=\"Edit Page\"/>"
    "<StrRes Name=\"134\" Text=\"First\"/>"
    "<StrRes Name=\"135\" Text=\"First Page\"/>"
    "<StrRes Name=\"136\" Text=\"Prior\"/>"
    "<StrRes Name=\"137\" Text=\"Prior Page\"/>"
    "<StrRes Name=\"138\" Text=\"Next\"/>"
    "<StrRes Name=\"139\" Text=\"Next Page\"/>"
    "<StrRes Name=\"140\" Text=\"Last\"/>"
    "<StrRes Name=\"141\" Text=\"Last Page\"/>"
    "<StrRes Name=\"142\" Text=\"Page Number\"/>"
    "<StrRes Name=\"150\" Text=\"Full Screen\"/>"
    "<StrRes Name=\"151\" Text=\"Export to PDF\"/>"
    "<StrRes Name=\"152\" Text=\"Send by E-mail\"/>"
    "<StrRes Name=\"zmPageWidth\" Text=\"Page width\"/>"
    "<StrRes Name=\"zmWholePage\" Text=\"Whole page\"/>"
    "<StrRes Name=\"200\" Text=\"Print\"/>"
    "<StrRes Name=\"201\" Text=\"Printer\"/>"
    "<StrRes Name=\"202\" Text=\"Pages\"/>"
    "<StrRes Name=\"203\" Text=\"Number of copies\"/>"
    "<StrRes Name=\"204\" Text=\"Collate\"/>"
    "<StrRes Name=\"205\" Text=\"Copies\"/>"
    "<StrRes Name=\"206\" Text=\"Print\"/>"
    "<StrRes Name=\"207\" Text=\"!Other\"/>"
    "<StrRes Name=\"208\" Text=\"Where:\"/>"
    "<StrRes Name=\"209\" Text=\"Properties...\"/>"
    "<StrRes Name=\"210\" Text=\"Print to file\"/>"
    "<StrRes Name=\"211\" Text=\"!Order\"/>"
    "<StrRes Name=\"212\" Text=\"Name:\"/>"
    "<StrRes Name=\"213\" Text=\"Print mode\"/>"
    "<StrRes Name=\"214\" Text=\"Print on sheet\"/>"
    "<StrRes Name=\"216\" Text=\"Duplex\"/>"
    "<StrRes Name=\"ppAll\" Text=\"All pages\"/>"
    "<StrRes Name=\"ppOdd\" Text=\"Odd pages\"/>"
    "<StrRes Name=\"ppEven\" Text=\"Even pages\"/>"
    "<StrRes Name=\"pgDefault\" Text=\"Default\"/>"
    "<StrRes Name=\"pmDefault\" Text=\"Default\"/>"
    "<StrRes Name=\"pmSplit\" Text=\"Split big pages\"/>"
    "<StrRes Name=\"pmJoin\" Text=\"Join small pages\"/>"
    "<StrRes Name=\"pmScale\" Text=\"Scale\"/>"
    "<StrRes Name=\"poDirect\" Text=\"!Direct (1-9)\"/>"
    "<StrRes Name=\"poReverse\" Text=\"!Reverse (9-1)\"/>"
    "<StrRes Name=\"300\" Text=\"Find Text\"/>"
    "<StrRes Name=\"301\" Text=\"Text to find:\"/>"
    "<StrRes Name=\"302\" Text=\"Search options\"/>"
    "<StrRes Name=\"303\" Text=\"Replace with\"/>"
    "<StrRes Name=\"304\" Text=\"Search from beginning\"/>"
    "<StrRes Name=\"305\" Text=\"Case sensitive\"/>"
    "<StrRes Name=\"400\" Text=\"Page Settings\"/>"
    "<StrRes Name=\"401\" Text=\"Width\"/>"
    "<StrRes Name=\"402\" Text=\"Height\"/>"
    "<StrRes Name=\"403\" Text=\"Size\"/>"
    "<StrRes Name=\"404\" Text=\"Orientation\"/>"
    "<StrRes Name=\"405\" Text=\"Left\"/>"
    "<StrRes Name=\"406\" Text=\"Top\"/>"
    "<StrRes Name=\"407\" Text=\"Right\"/>"
    "<StrRes Name=\"408\" Text=\"Bottom\"/>"
    "<StrRes Name=\"409\" Text=\"Margins\"/>"
    "<StrRes Name=\"410\" Text=\"Portrait\"/>"
    "<StrRes Name=\"411\" Text=\"Landscape\"/>"
    "<StrRes Name=\"412\" Text=\"Other\"/>"
    "<StrRes Name=\"413\" Text=\"Apply to the current page\"/>"
    "<StrRes Name=\"414\" Text=\"Apply to all pages\"/>"
    "<StrRes Name=\"500\" Text=\"Print\"/>"
    "<StrRes Name=\"501\" Text=\"Printer\"/>"
    "<StrRes Name=\"502\" Text=\"Pages\"/>"
    "<StrRes Name=\"503\" Text=\"Copies\"/>"
    "<StrRes Name=\"504\" Text=\"Number of copies\"/>"
    "<StrRes Name=\"505\" Text=\"Options\"/>"
    "<StrRes Name=\"506\" Text=\"Escape commands\"/>"
    "<StrRes Name=\"507\" Text=\"Print to file\"/>"
    "<StrRes Name=\"508\" Text=\"OEM codepage\"/>"
    "<StrRes Name=\"509\" Text=\"Pseudographic\"/>"
    "<StrRes Name=\"510\" Text=\"Printer file (*.prn)|*.prn\"/>"
    "<StrRes Name=\"mbConfirm\" Text=\"Confirm\"/>"
    "<StrRes Name=\"mbError\" Text=\"Error\"/>"
    "<StrRes Name=\"mbInfo\" Text=\"Information\"/>"
    "<StrRes Name=\"xrCantFindClass\" Text=\"Cannot find class\"/>"
    "<StrRes Name=\"prVirtual\" Text=\"Virtual\"/>"
    "<StrRes Name=\"prDefault\" Text=\"Default\"/>"
    "<StrRes Name=\"prCustom\" Text=\"Custom\"/>"
    "<StrRes Name=\"enUnconnHeader\" Text=\"Unconnected header/footer\"/>"
    "<StrRes Name=\"enUnconnGroup\" Text=\"No data band for the group\"/>"
    "<StrRes Name=\"enUnconnGFooter\" Text=\"No group header for\"/>"
    "<StrRes Name=\"enBandPos\" Text=\"Incorrect band position:\"/>"
    "<StrRes Name=\"dbNotConn\" Text=\"DataSet %s is not connected to data\"/>"
    "<StrRes Name=\"dbFldNotFound\" Text=\"Field not found:\"/>"
    "<StrRes Name=\"clDSNotIncl\" Text=\"(dataset is not included in Report.DataSets)\"/>"
    "<StrRes Name=\"clUnknownVar\" Text=\"Unknown variable or datafield:\"/>"
    "<StrRes Name=\"clScrError\" Text=\"Script error at %s: %s\"/>"
    "<StrRes Name=\"clDSNotExist\" Text=\"Dataset &#38;#34;%s&#38;#34; does not exist\"/>"
    "<StrRes Name=\"clErrors\" Text=\"The following error(s) have occured:\"/>"
    "<StrRes Name=\"clExprError\" Text=\"Error in expression\"/>"
    "<StrRes Name=\"clQP3files\" Text=\"Prepared Report\"/>"
    "<StrRes Name=\"clSaving\" Text=\"Saving file...\"/>"
    "<StrRes Name=\"clCancel\" Text=\"Cancel\"/>"
    "<StrRes Name=\"clClose\" Text=\"Close\"/>"
    "<StrRes Name=\"clPrinting\" Text=\"Printing page\"/>"
    "<StrRes Name=\"clLoading\" Text=\"Loading file...\"/>"
    "<StrRes Name=\"clPageOf\" Text=\"Page %d of %d\"/>"
    "<StrRes Name=\"clFirstPass\" Text=\"First pass: page \"/>"
    "<StrRes Name=\"clNoPrinters\" Text=\"No printers installed on your system\"/>"
    "<StrRes Name=\"clDecompressError\" Text=\"Stream decompress error\"/>"
    "<StrRes Name=\"crFillMx\" Text=\"Filling the cross-tab...\"/>"
    "<StrRes Name=\"crBuildMx\" Text=\"Building the cross-tab...\"/>"
    "<StrRes Name=\"prRunningFirst\" Text=\"First pass: page %d\"/>"
    "<StrRes Name=\"prRunning\" Text=\"Preparing page %d\"/>"
    "<StrRes Name=\"prPrinting\" Text=\"Printing page %d\"/>"
    "<StrRes Name=\"prExporting\" Text=\"Exporting page %d\"/>"
    "<StrRes Name=\"uCm\" Text=\"cm\"/>"
    "<StrRes Name=\"uInch\" Text=\"in\"/>"
    "<StrRes Name=\"uPix\" Text=\"px\"/>"
    "<StrRes Name=\"uChar\" Text=\"chr\"/>"
    "<StrRes Name=\"dupDefault\" Text=\"Default\"/>"
    "<StrRes Name=\"dupVert\" Text=\"Vertical\"/>"
    "<StrRes Name=\"dupHorz\" Text=\"Horizontal\"/>"
    "<StrRes Name=\"dupSimpl\" Text=\"Simplex\"/>"
    "<StrRes Name=\"SLangNotFound\" Text=\"Language '%s' not found\"/>"
    "<StrRes Name=\"SInvalidLanguage\" Text=\"Invalid language definition\"/>"
    "<StrRes Name=\"SIdRedeclared\" Text=\"Identifier redeclared: \"/>"
    "<StrRes Name=\"SUnknownType\" Text=\"Unknown type: \"/>"
    "<StrRes Name=\"SIncompatibleTypes\" Text=\"Incompatible types\"/>"
    "<StrRes Name=\"SIdUndeclared\" Text=\"Undeclared identifier: \"/>"
    "<StrRes Name=\"SClassRequired\" Text=\"Class type required\"/>"
    "<StrRes Name=\"SIndexRequired\" Text=\"Index required\"/>"
    "<StrRes Name=\"SStringError\" Text=\"Strings do not have properties or methods\"/>"
    "<StrRes Name=\"SClassError\" Text=\"Class %s does not have a default property\"/>"
    "<StrRes Name=\"SArrayRequired\" Text=\"Array type required\"/>"
    "<StrRes Name=\"SVarRequired\" Text=\"Variable required\"/>"
    "<StrRes Name=\"SNotEnoughParams\" Text=\"Not enough actual parameters\"/>"
    "<StrRes Name=\"STooManyParams\" Text=\"Too many actual parameters\"/>"
    "<StrRes Name=\"SLeftCantAssigned\" Text=\"Left side cannot be assigned to\"/>"
    "<StrRes Name=\"SForError\" Text=\"For loop variable must be numeric variable\"/>"
    "<StrRes Name=\"SEventError\" Text=\"Event handler must be a procedure\"/>"
    "<StrRes Name=\"600\" Text=\"Expand all\"/>"
    "<StrRes Name=\"601\" Text=\"Collapse all\"/>"
    "<StrRes Name=\"clStrNotFound\" Text=\"Text not found\"/>"
    "</Resources>";

std::unique_ptr<TqlrResources>& Instance()
{
    static std::unique_ptr<TqlrResources> instance;
    return instance;
}

} // namespace

bool TqlrResources::LessText::operator()(const std::string& a, const std::string& b) const
{
    return rtl::CompareText(a, b) < 0;
}

TqlrResources::TqlrResources() : FHelpFile("VURudo.chm") { ScanLanguages(); }

TqlrResources::~TqlrResources() = default;

gui::TImageList& TqlrResources::List(std::unique_ptr<gui::TImageList>& list, int size)
{
    if (!list) {
        list = std::make_unique<gui::TImageList>();
        list->SetWidth(size);
        list->SetHeight(size);
    }
    return *list;
}

void TqlrResources::LoadImages(const char* resource, gui::TImageList& list,
                               void (TqlrResources::*setter)(const gui::TBitmap&, bool))
{
    if (list.Count() > 0) return;
    tec_resources_tec_report_0();
    gui::TBitmap bitmap;
    rtl::TMemoryStream unpacked;
    rtl::TResourceStream packed(resource, rtl::TResourceType::RCData);
    std::string name;
    UnpackGzipResource(packed, unpacked, name);
    unpacked.SetPosition(0);
    bitmap.LoadFromStream(unpacked);
    (this->*setter)(bitmap, false);
}

gui::TImageList& TqlrResources::GetMainButtonImages()
{
    gui::TImageList& list = List(FMainButtonImages, 16);
    LoadImages("DesgnButtons", list, &TqlrResources::SetButtonImages);
    return list;
}

gui::TImageList& TqlrResources::GetDisabledButtonImages()
{
    GetMainButtonImages();
    return List(FDisabledButtonImages, 16);
}

gui::TImageList& TqlrResources::GetPreviewButtonImages()
{
    gui::TImageList& list = List(FPreviewButtonImages, 16);
    LoadImages("PreviewButtons", list, &TqlrResources::SetPreviewButtonImages);
    return list;
}

gui::TImageList& TqlrResources::GetObjectImages()
{
    gui::TImageList& list = List(FObjectImages, 16);
    LoadImages("ObjectButtons", list, &TqlrResources::SetObjectImages);
    return list;
}

gui::TImageList& TqlrResources::GetWizardImages()
{
    gui::TImageList& list = List(FWizardImages, 32);
    LoadImages("WizardButtons", list, &TqlrResources::SetWizardImages);
    return list;
}

void TqlrResources::SetButtonImages(const gui::TBitmap& images, bool clear)
{
    gui::TImageList& main = List(FMainButtonImages, 16);
    gui::TImageList& disabled = List(FDisabledButtonImages, 16);
    if (clear) {
        main.Clear();
        disabled.Clear();
    }
    SplitImageStrip(images, 16, 16, &disabled, main);
}

void TqlrResources::SetPreviewButtonImages(const gui::TBitmap& images, bool clear)
{
    gui::TImageList& list = List(FPreviewButtonImages, 16);
    if (clear) list.Clear();
    SplitImageStrip(images, 16, 16, nullptr, list);
}

void TqlrResources::SetObjectImages(const gui::TBitmap& images, bool clear)
{
    gui::TImageList& list = List(FObjectImages, 16);
    if (clear) list.Clear();
    SplitImageStrip(images, 16, 16, nullptr, list);
}

void TqlrResources::SetWizardImages(const gui::TBitmap& images, bool clear)
{
    gui::TImageList& list = List(FWizardImages, 32);
    if (clear) list.Clear();
    SplitImageStrip(images, 32, 32, nullptr, list);
}

std::string TqlrResources::Get(std::string_view name) const
{
    auto it = FNames.find(std::string(name));
    std::string s = it == FNames.end() ? std::string(name) : rtl::UTF16ToUTF8(FValues.Strings(it->second));
    if (!s.empty() && s[0] == '!') s.erase(0, 1);
    return s;
}

void TqlrResources::AddW(std::string_view ref, std::u16string_view str)
{
    auto it = FNames.find(std::string(ref));
    if (it != FNames.end())
        FValues.Insert(it->second, str);
    else
        FNames.emplace(std::string(ref), FValues.Add(str));
}

void TqlrResources::Add(std::string_view ref, std::string_view str) { AddW(ref, rtl::UTF8ToUTF16(str)); }

void TqlrResources::AddStrings(std::string_view str)
{
    TqlrWideStrings lines;
    lines.SetText(rtl::UTF8ToUTF16(str));
    for (int i = 0; i < lines.Count(); ++i) {
        std::string line = rtl::UTF16ToUTF8(lines.Strings(i));
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        if (!name.empty() && !value.empty()) Add(name, value);
    }
}

void TqlrResources::AddXML(std::string_view str)
{
    rtl::TMemoryStream ms;
    ms.WriteString(str);
    ms.SetPosition(0);
    LoadFromStream(ms);
}

void TqlrResources::LoadFromFile(const std::string& fileName)
{
    if (!rtl::FileExists(fileName)) return;
    rtl::TFileStream in(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(in);
}

void TqlrResources::LoadFromStream(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    doc.LoadFromStream(stream);
    TqlrXMLItem* root = doc.Root();
    if (!rtl::SameText(root->Name(), "Resources")) return;
    FCP = static_cast<uint32_t>(rtl::StrToInt(root->Prop("CodePage")));
    for (int i = 0; i < root->Count(); ++i) {
        TqlrXMLItem* item = root->Items(i);
        if (!rtl::SameText(item->Name(), "StrRes")) continue;
        std::string text = XMLToStr(item->Prop("Text"));
        // An old-format table holds UTF-8 bytes read as single-byte text.
        if (doc.OldVersion())
            text = rtl::CodePageToUTF8(rtl::UTF8ToCodePage(text, rtl::SystemCodePage()), rtl::cpUTF8);
        AddW(item->Prop("Name"), rtl::UTF8ToUTF16(text));
    }
    UpdateFSResources();
}

void TqlrResources::Clear()
{
    FNames.clear();
    FValues.Clear();
}

void TqlrResources::UpdateFSResources()
{
    qs::SLangNotFound = Get("SLangNotFound");
    qs::SInvalidLanguage = Get("SInvalidLanguage");
    qs::SIdRedeclared = Get("SIdRedeclared");
    qs::SUnknownType = Get("SUnknownType");
    qs::SIncompatibleTypes = Get("SIncompatibleTypes");
    qs::SIdUndeclared = Get("SIdUndeclared");
    qs::SClassRequired = Get("SClassRequired");
    qs::SIndexRequired = Get("SIndexRequired");
    qs::SStringError = Get("SStringError");
    qs::SClassError = Get("SClassError");
    qs::SArrayRequired = Get("SArrayRequired");
    qs::SVarRequired = Get("SVarRequired");
    qs::SNotEnoughParams = Get("SNotEnoughParams");
    qs::STooManyParams = Get("STooManyParams");
    qs::SLeftCantAssigned = Get("SLeftCantAssigned");
    qs::SForError = Get("SForError");
    qs::SEventError = Get("SEventError");
}

void TqlrResources::ScanLanguages()
{
    FLanguages.clear();
    for (const std::string& file : rtl::ListFiles(ModuleFolder(), "*.frc")) {
        std::string name = rtl::LowerCase(file);
        if (!name.empty()) name[0] = rtl::UpperCase(name.substr(0, 1))[0];
        std::size_t ext = name.find(".frc");
        if (ext != std::string::npos) name.erase(ext, 4);
        FLanguages.push_back(name);
    }
    std::sort(FLanguages.begin(), FLanguages.end());
}

TqlrResources& GetResources()
{
    auto& instance = Instance();
    if (!instance) {
        instance = std::make_unique<TqlrResources>();
        instance->AddXML(kStartupTable);
    }
    return *instance;
}

std::string GetResourceString(int id) { return GetResources().Get(rtl::IntToStr(id)); }

void UnpackGzipResource(rtl::TStream& source, rtl::TStream& destination, std::string& name)
{
    uint8_t head[4];
    if (source.Read(head, 4) != 4 || head[0] != 31 || head[1] != 139 || head[2] != 8) return;
    uint8_t mtime[4], extra[2];
    source.ReadBuffer(mtime, 4);
    source.ReadBuffer(extra, 2);
    if (head[3] & 8) {
        name.clear();
        char c;
        while (source.Read(&c, 1) == 1 && c != 0) name += c;
    }
    std::string rest = source.ReadAll();
    if (rest.size() < 8) throw rtl::EReadError("Stream decompress error");
    std::string zstream;
    zstream.reserve(rest.size() + 2);
    zstream += '\x78';
    zstream += '\xDA';
    zstream.append(rest, 0, rest.size() - 8);
    zstream.append(reinterpret_cast<const char*>(mtime), 4);

    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw rtl::EReadError("Stream decompress error");
    z.next_in = reinterpret_cast<Bytef*>(zstream.data());
    z.avail_in = static_cast<uInt>(zstream.size());
    std::string out;
    int rc = Z_OK;
    char buf[65536];
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buf, sizeof buf - z.avail_out);
        if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) throw rtl::EReadError("Stream decompress error");
    destination.WriteString(out);
}

void CompressStream(rtl::TStream& source, rtl::TStream& destination, int level)
{
    source.SetPosition(0);
    std::string in = source.ReadAll();
    uLongf size = compressBound(static_cast<uLong>(in.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.data()),
                  static_cast<uLong>(in.size()), std::clamp(level, 0, 9)) != Z_OK)
        throw rtl::EWriteError("Stream write error");
    out.resize(size);
    destination.WriteString(out);
}

} // namespace qlr
