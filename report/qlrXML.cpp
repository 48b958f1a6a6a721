#include "report/qlrXML.h"

#include <algorithm>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace qlr {

namespace {

constexpr int kBufferSize = 4096;
constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";
constexpr std::string_view kMarker = "ld=\"0\"";

char UpChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool IsAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Single-byte text (the system code page) to UTF-8; ASCII passes as is.
std::string FromSingleByte(std::string_view s)
{
    return IsAscii(s) ? std::string(s) : rtl::CodePageToUTF8(s, rtl::SystemCodePage());
}

std::string ToSingleByte(std::string_view s)
{
    return IsAscii(s) ? std::string(s) : rtl::UTF8ToCodePage(s, rtl::SystemCodePage());
}

// Position of `ld="0"` (case ignored) as the first attribute or after a
// blank, or npos.
std::size_t FindMarker(const std::string& text)
{
    for (std::size_t i = 0; i + kMarker.size() <= text.size(); ++i) {
        if (i > 0 && text[i - 1] != ' ') continue;
        bool same = true;
        for (std::size_t k = 0; k < kMarker.size() && same; ++k)
            same = UpChar(text[i + k]) == UpChar(kMarker[k]);
        if (same) return i;
    }
    return std::string::npos;
}

} // namespace

// ---------------------------------------------------------------- item

TqlrXMLItem::~TqlrXMLItem()
{
    Clear();
    if (FParent) FParent->RemoveChild(this);
}

void TqlrXMLItem::RemoveChild(TqlrXMLItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end()) FItems.erase(it);
}

TqlrXMLItem* TqlrXMLItem::Add()
{
    auto* item = new TqlrXMLItem;
    item->FParent = this;
    FItems.push_back(item);
    return item;
}

void TqlrXMLItem::AddItem(TqlrXMLItem* item)
{
    FItems.push_back(item);
    if (item->FParent) item->FParent->RemoveChild(item);
    item->FParent = this;
}

void TqlrXMLItem::InsertItem(int index, TqlrXMLItem* item)
{
    AddItem(item);
    int from = IndexOf(item);
    index = std::clamp(index, 0, Count() - 1);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + index, item);
}

void TqlrXMLItem::Clear()
{
    std::vector<TqlrXMLItem*> items;
    items.swap(FItems);
    for (TqlrXMLItem* item : items) {
        item->FParent = nullptr;
        delete item;
    }
    if (FUnloadable) FLoaded = false;
}

int TqlrXMLItem::Find(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::SameText(FItems[i]->FName, name)) return i;
    return -1;
}

TqlrXMLItem* TqlrXMLItem::FindItem(std::string_view name)
{
    int i = Find(name);
    if (i >= 0) return FItems[i];
    TqlrXMLItem* item = Add();
    item->FName = std::string(name);
    return item;
}

int TqlrXMLItem::IndexOf(const TqlrXMLItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TqlrXMLItem* TqlrXMLItem::Root()
{
    TqlrXMLItem* item = this;
    while (item->FParent) item = item->FParent;
    return item;
}

TqlrXMLItem* TqlrXMLItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw rtl::EListError("List index out of bounds (" + rtl::IntToStr(index) + ")");
    return FItems[index];
}

void TqlrXMLItem::SetOffset(int64_t offset)
{
    FHiOffset = static_cast<uint8_t>((offset >> 32) & 0xFF);
    FLoOffset = static_cast<uint32_t>(offset & 0xFFFFFFFF);
}

// Searches " " + Text for " NAME=\"" ignoring ASCII case: the leading blank
// makes the first pair findable and excludes longer names ending in name.
std::size_t TqlrXMLItem::FindProp(std::string_view name) const
{
    const std::size_t need = name.size() + 2;
    if (name.empty() && FText.empty()) return std::string::npos;
    for (std::size_t i = 0; i + need <= FText.size(); ++i) {
        if (i > 0 && FText[i - 1] != ' ') continue;
        std::size_t k = 0;
        while (k < name.size() && UpChar(FText[i + k]) == UpChar(name[k])) ++k;
        if (k == name.size() && FText[i + k] == '=' && FText[i + k + 1] == '"') return i;
    }
    return std::string::npos;
}

std::string TqlrXMLItem::Prop(std::string_view name) const
{
    std::size_t p = FindProp(name);
    if (p == std::string::npos) return {};
    std::size_t start = p + name.size() + 2;
    std::size_t end = FText.find('"', start);
    if (end == std::string::npos) end = FText.size();
    return XMLToStr(std::string_view(FText).substr(start, end - start));
}

bool TqlrXMLItem::PropExists(std::string_view name) const
{
    return FindProp(name) != std::string::npos;
}

void TqlrXMLItem::SetProp(std::string_view name, std::string_view value)
{
    std::string pair = std::string(name) + "=\"" + StrToXML(value) + "\"";
    std::size_t p = FindProp(name);
    if (p != std::string::npos) {
        std::size_t end = FText.find('"', p + name.size() + 2);
        end = end == std::string::npos ? FText.size() : end + 1;
        FText.replace(p, end - p, pair);
        return;
    }
    if (!FText.empty() && FText.back() != ' ') FText += ' ';
    FText += pair;
}

void TqlrXMLItem::DeleteProp(std::string_view name)
{
    std::size_t p = FindProp(name);
    if (p == std::string::npos) return;
    std::size_t end = FText.find('"', p + name.size() + 2);
    end = end == std::string::npos ? FText.size() : end + 1;
    // The closing quote and the separating character after it.
    FText.erase(p, std::min(end + 1, FText.size()) - p);
}

// ---------------------------------------------------------------- reader

TqlrXMLReader::TqlrXMLReader(rtl::TStream& stream) : FBytes(stream, kBufferSize) {}

TqlrXMLReader::~TqlrXMLReader() = default;

void TqlrXMLReader::RaiseException() { throw TqlrInvalidXMLException("Invalid file format"); }

void TqlrXMLReader::ReadTag(std::string& name, std::string& text)
{
    std::string& tag = FTag;
    tag.clear();
    name.clear();
    text.clear();
    char c;
    for (;;) {
        // Outside a tag: skip to "<" (marks, content and line breaks alike).
        bool found = false;
        while (NextByte(c))
            if (c == '<') {
                found = true;
                break;
            }
        if (!found) return;
        bool comment = false;
        bool closed = false;
        while (NextByte(c)) {
            if (c == '>') {
                closed = true;
                break;
            }
            if (c == '<') RaiseException();
            tag += c;
            if (tag.size() == 3 && tag == "!--") {
                comment = true;
                break;
            }
        }
        if (comment) {
            // Ends at two hyphens directly followed by ">"; any other byte
            // after the second hyphen, a third hyphen too, restarts.
            int hyphens = 0;
            bool ended = false;
            while (NextByte(c)) {
                if (c == '-') {
                    hyphens = hyphens == 2 ? 0 : hyphens + 1;
                } else if (c == '>' && hyphens == 2) {
                    ended = true;
                    break;
                } else {
                    hyphens = 0;
                }
            }
            tag.clear();
            if (!ended) return;
            continue;
        }
        if (!closed) RaiseException();
        break;
    }
    if (!tag.empty() && tag.back() == ' ') tag.pop_back();
    std::size_t blank = tag.find(' ');
    std::string_view raw(tag);
    std::string_view rawName = raw.substr(0, blank);
    name = FromSingleByte(rawName);
    if (blank != std::string::npos) {
        std::string_view rawText = raw.substr(blank + 1);
        text = FOldFormat ? FromSingleByte(rawText) : std::string(rawText);
    }
}

void TqlrXMLReader::ReadHeader()
{
    std::string name, text;
    ReadTag(name, text);
    if (name.compare(0, 4, "?xml") != 0) RaiseException();
    std::size_t v = text.find("version=");
    FOldFormat = v != std::string::npos && text.compare(v + 9, 3, "1.0") == 0 &&
                 text.find("standalone=") == std::string::npos;
}

void TqlrXMLReader::ReadRootItem(TqlrXMLItem* item, bool readChildren)
{
    FLastName.clear();
    ReadItem(item, readChildren);
}

bool TqlrXMLReader::ReadItem(TqlrXMLItem* item, bool readChildren)
{
    int64_t start = FBytes.Position();
    ReadTag(item->FName, item->FText);
    FLastName = item->FName;
    const std::string& name = item->FName;
    if (name.empty() || name[0] == '/') return false;
    if (name.back() == '/') {
        item->FName.pop_back();
        return true;
    }
    if (!item->FText.empty() && item->FText.back() == '/') {
        item->FText.pop_back();
        return true;
    }
    for (;;) {
        auto* child = new TqlrXMLItem;
        if (!ReadItem(child, readChildren)) {
            delete child;
            break;
        }
        child->FParent = item;
        item->FItems.push_back(child);
    }
    if (!FLastName.empty() &&
        !(FLastName.size() == name.size() + 1 && rtl::SameText(std::string_view(FLastName).substr(1), name)))
        RaiseException();
    std::size_t m = FindMarker(item->FText);
    if (m != std::string::npos) {
        if (m == 0)
            item->FText.erase(0, std::min(kMarker.size() + 1, item->FText.size()));
        else
            item->FText.erase(m - 1, kMarker.size() + 1);
        if (!readChildren) {
            item->Clear();
            item->SetOffset(start);
            item->FUnloadable = true;
            item->FLoaded = false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- writer

TqlrXMLWriter::TqlrXMLWriter(rtl::TStream& stream) : FStream(stream)
{
    FOutPosition = stream.Position();
}

void TqlrXMLWriter::Flush()
{
    if (FBuffer.empty()) return;
    FStream.SetPosition(FOutPosition);
    FStream.WriteBuffer(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
    FOutPosition += static_cast<int64_t>(FBuffer.size());
    FBuffer.clear();
}

void TqlrXMLWriter::WriteLn(std::string_view s)
{
    FBuffer += s;
    if (FAutoIndent) FBuffer += "\r\n";
    if (FBuffer.size() > static_cast<std::size_t>(kBufferSize)) Flush();
}

void TqlrXMLWriter::WriteHeader() { WriteLn(kHeader); }

void TqlrXMLWriter::WriteRootItem(TqlrXMLItem* rootItem)
{
    WriteItem(rootItem, 0);
    Flush();
}

void TqlrXMLWriter::WriteItem(TqlrXMLItem* item, int level)
{
    bool readBack = item->Unloadable() && !item->Loaded() && FTempStream;
    if (readBack) {
        std::string text = item->Text();
        {
            TqlrXMLReader reader(*FTempStream);
            reader.SetOldFormat(FOldFormat);
            reader.SetPosition(item->Offset());
            reader.ReadRootItem(item, true);
        }
        item->SetText(std::move(text));
    }
    std::string line;
    if (FAutoIndent) line.assign(static_cast<std::size_t>(level), ' ');
    line += '<';
    line += ToSingleByte(item->Name());
    if (!item->Text().empty()) {
        if (item->Text()[0] != ' ') line += ' ';
        line += item->Text();
    }
    if (item->Unloadable()) line += " ld=\"0\"";
    if (item->Count() > 0) {
        line += '>';
        WriteLn(line);
        for (int i = 0; i < item->Count(); ++i) WriteItem(item->Items(i), level + 2);
        line.clear();
        if (FAutoIndent) line.assign(static_cast<std::size_t>(level), ' ');
        line += "</";
        line += ToSingleByte(item->Name());
        line += '>';
        WriteLn(line);
    } else if (!item->Value().empty()) {
        line += '>';
        line += item->Value();
        line += "</";
        line += ToSingleByte(item->Name());
        line += '>';
        WriteLn(line);
    } else {
        line += "/>";
        WriteLn(line);
    }
    if (readBack) item->Clear();
}

// ---------------------------------------------------------------- document

TqlrXMLDocument::TqlrXMLDocument() : FRoot(std::make_unique<TqlrXMLItem>()) {}

TqlrXMLDocument::~TqlrXMLDocument()
{
    FRoot.reset();
    DeleteTempFile();
}

void TqlrXMLDocument::Clear()
{
    FRoot->Clear();
    DeleteTempFile();
}

void TqlrXMLDocument::LoadFromStream(rtl::TStream& stream)
{
    DeleteTempFile();
    FRoot->Clear();
    FRoot->SetOffset(0);
    TqlrXMLReader reader(stream);
    reader.ReadHeader();
    FOldVersion = reader.OldFormat();
    reader.ReadRootItem(FRoot.get(), true);
}

void TqlrXMLDocument::LoadFromStream(std::unique_ptr<rtl::TStream> stream)
{
    DeleteTempFile();
    FRoot->Clear();
    FRoot->SetOffset(0);
    FTempStream = std::move(stream);
    TqlrXMLReader reader(*FTempStream);
    reader.ReadHeader();
    FOldVersion = reader.OldFormat();
    reader.ReadRootItem(FRoot.get(), false);
}

void TqlrXMLDocument::SaveToStream(rtl::TStream& stream)
{
    TqlrXMLWriter writer(stream);
    writer.SetAutoIndent(FAutoIndent);
    writer.SetTempStream(FTempStream.get());
    // A remembered stream keeps the format it was read in; the swap file is
    // always written by us.
    writer.SetOldFormat(FOldVersion && !FTempFileCreated);
    writer.WriteHeader();
    writer.WriteRootItem(FRoot.get());
}

void TqlrXMLDocument::LoadFromFile(const std::string& fileName)
{
    LoadFromStream(std::make_unique<rtl::TFileStream>(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite));
}

void TqlrXMLDocument::SaveToFile(const std::string& fileName)
{
    const std::string tmp = fileName + ".tmp";
    {
        rtl::TFileStream out(tmp, rtl::fmCreate);
        SaveToStream(out);
    }
    DeleteTempFile();
    rtl::DeleteFile(fileName);
    if (!rtl::RenameFile(tmp, fileName))
        throw rtl::EFCreateError("Cannot create file \"" + fileName + "\".");
    LoadFromFile(fileName);
}

void TqlrXMLDocument::LoadItem(TqlrXMLItem* item)
{
    if (!FTempStream || !item->Unloadable() || item->Loaded()) return;
    std::string text = item->Text();
    {
        TqlrXMLReader reader(*FTempStream);
        reader.SetOldFormat(FOldVersion && !FTempFileCreated);
        reader.SetPosition(item->Offset());
        reader.ReadRootItem(item, true);
    }
    item->SetText(std::move(text));
    item->SetLoaded(true);
}

void TqlrXMLDocument::UnloadItem(TqlrXMLItem* item)
{
    if (!item->Loaded() || !item->Unloadable()) return;
    if (!FTempFileCreated) CreateTempFile();
    int64_t offset = FTempStream->Size();
    FTempStream->SetPosition(offset);
    item->SetOffset(offset);
    TqlrXMLWriter writer(*FTempStream);
    writer.SetTempStream(FTempStream.get());
    writer.WriteRootItem(item);
    item->Clear();
}

void TqlrXMLDocument::CreateTempFile()
{
    if (FTempFileCreated) return;
    std::string dir = !FTempDir.empty() && rtl::DirectoryExists(FTempDir) ? FTempDir : rtl::TempDir();
    FTempFile = rtl::CreateTempFile(rtl::IncludeTrailingPathDelimiter(dir), "ql");
    auto swap = std::make_unique<rtl::TFileStream>(FTempFile, rtl::fmOpenReadWrite);
    // Items deferred by partial loading keep their offsets in the stream
    // they were read from; the swap file starts as a copy of it, so those
    // offsets stay good after the stream is released.
    if (FTempStream) {
        if (FOldVersion) {
            // The copy would be read as UTF-8: bring the deferred items in
            // first, while their format is still known.
            std::vector<TqlrXMLItem*> stack{FRoot.get()};
            while (!stack.empty()) {
                TqlrXMLItem* it = stack.back();
                stack.pop_back();
                LoadItem(it);
                for (int i = 0; i < it->Count(); ++i) stack.push_back(it->Items(i));
            }
        } else {
            FTempStream->SetPosition(0);
            swap->CopyFrom(*FTempStream, 0);
        }
    }
    FTempStream = std::move(swap);
    FTempFileCreated = true;
}

void TqlrXMLDocument::DeleteTempFile()
{
    FTempStream.reset();
    if (FTempFileCreated) {
        rtl::DeleteFile(FTempFile);
        FTempFile.clear();
        FTempFileCreated = false;
    }
}

// ---------------------------------------------------------------- texts

std::string StrToXML(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + 16);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        switch (c) {
        case '&':
            if (s.compare(i + 1, 5, "quot;") == 0) {
                out += "&#34;";
                i += 5;
            } else {
                out += "&#38;";
            }
            break;
        case '\r': out += "&#13;"; break;
        case '\n': out += "&#10;"; break;
        case '"': out += "&#34;"; break;
        case '<': out += "&#60;"; break;
        case '>': out += "&#62;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string XMLToStr(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        std::string_view rest = s.substr(i);
        if (rest.size() > 2 && rest[1] == '#') {
            std::size_t semi = rest.find(';', 2);
            if (semi == std::string_view::npos) {
                out += c;
                ++i;
                continue;
            }
            int32_t code = rtl::StrToInt(rest.substr(2, semi - 2));
            if (code < 0 || code > 0x10FFFF) code = 0xFFFD;
            rtl::AppendUTF8AllowSurrogates(out, static_cast<char32_t>(code));
            i += semi + 1;
        } else if (rest.starts_with("&quot;")) {
            out += '"';
            i += 6;
        } else if (rest.starts_with("&amp;")) {
            out += '&';
            i += 5;
        } else if (rest.starts_with("&lt;")) {
            out += '<';
            i += 4;
        } else if (rest.starts_with("&gt;")) {
            out += '>';
            i += 4;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string ValueToXML(const rtl::Variant& value)
{
    switch (value.VarType()) {
    case rtl::varSmallint:
    case rtl::varInteger:
    case rtl::varByte:
        return rtl::IntToStr(value.AsInt64());
    case rtl::varSingle:
    case rtl::varDouble:
        return rtl::FloatToStr(value.AsDouble());
    case rtl::varCurrency:
        return rtl::FloatToStr(static_cast<long double>(value.AsCurrencyScaled()) / 10000.0L);
    case rtl::varDate:
        return rtl::DateToStr(value.AsDouble());
    case rtl::varOleStr:
    case rtl::varString:
    case rtl::varUString:
        return StrToXML(value.AsString());
    case rtl::varBoolean:
        return value.AsBoolean() ? "1" : "0";
    default:
        return {};
    }
}

} // namespace qlr
