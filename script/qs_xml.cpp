#include "script/qs_xml.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/Strings.h"

namespace qs {

namespace {

const char* const kInvalidFormat = "Invalid file format";
// Elements nested deeper than this are refused as a format error, so a
// hostile file cannot exhaust the stack.
constexpr int kMaxDepth = 4000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string EscapeAttribute(std::string_view s)
{
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        switch (c) {
        case '\n': r += "&#10;"; break;
        case '\r': r += "&#13;"; break;
        case '"': r += "&#34;"; break;
        case '<': r += "&#60;"; break;
        case '>': r += "&#62;"; break;
        case '&':
            if (s.substr(i, 6) == "&quot;") {
                r += "&#34;";
                i += 5;
            } else {
                r += '&';
            }
            break;
        default: r += c;
        }
    }
    return r;
}

std::string UnescapeAttribute(std::string_view s)
{
    if (s.find('&') == std::string_view::npos) return std::string(s);
    std::string r;
    r.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == '&') {
            // "&#" followed by at least two more characters: a numeric
            // reference up to the next ';'.
            if (i + 3 < s.size() && s[i + 1] == '#') {
                size_t semi = s.find(';', i + 2);
                if (semi != std::string_view::npos) {
                    std::string_view digits = s.substr(i + 2, semi - i - 2);
                    if (!digits.empty() && digits.size() <= 7 &&
                        std::all_of(digits.begin(), digits.end(), IsDigit)) {
                        rtl::AppendUTF8(r, static_cast<char32_t>(std::stoul(std::string(digits))));
                        i = semi + 1;
                        continue;
                    }
                }
            } else if (s.substr(i + 1, 5) == "quot;") {
                r += '"';
                i += 6;
                continue;
            }
        }
        r += c;
        ++i;
    }
    return r;
}

// --- TqsXMLItem ----------------------------------------------------------------

TqsXMLItem::~TqsXMLItem()
{
    Clear();
    Detach();
}

void TqsXMLItem::Detach()
{
    if (!FParent) return;
    auto& list = FParent->FItems;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) list.erase(it);
    FParent = nullptr;
}

TqsXMLItem* TqsXMLItem::Add()
{
    auto* item = new TqsXMLItem();
    AddItem(item);
    return item;
}

void TqsXMLItem::AddItem(TqsXMLItem* item)
{
    FItems.push_back(item);
    if (item->FParent) {
        // Leave the previous parent's list (the last occurrence there when
        // the previous parent is this item itself).
        auto& list = item->FParent->FItems;
        if (item->FParent == this) {
            auto it = std::find(list.begin(), list.end() - 1, item);
            if (it != list.end() - 1) list.erase(it);
        } else {
            auto it = std::find(list.begin(), list.end(), item);
            if (it != list.end()) list.erase(it);
        }
    }
    item->FParent = this;
}

void TqsXMLItem::InsertItem(int index, TqsXMLItem* item)
{
    AddItem(item);
    FItems.pop_back();
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
}

int TqsXMLItem::Find(std::string_view name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (rtl::AnsiSameText(FItems[i]->FName, name)) return static_cast<int>(i);
    return -1;
}

TqsXMLItem* TqsXMLItem::FindItem(std::string_view name)
{
    int i = Find(name);
    if (i >= 0) return FItems[static_cast<size_t>(i)];
    TqsXMLItem* item = Add();
    item->FName = std::string(name);
    return item;
}

TqsXMLItem* TqsXMLItem::Root()
{
    TqsXMLItem* r = this;
    while (r->FParent) r = r->FParent;
    return r;
}

size_t TqsXMLItem::Locate(std::string_view name, size_t& end) const
{
    // Search " NAME=\"" in " " + text, both upper-cased (ASCII letters).
    std::string hay = " " + rtl::UpperCase(FText);
    std::string needle = " " + rtl::UpperCase(name) + "=\"";
    size_t p = hay.find(needle);
    if (p == std::string::npos) return std::string::npos;
    size_t valueStart = p + needle.size() - 1;  // index in FText
    size_t close = FText.find('"', valueStart);
    end = close == std::string::npos ? FText.size() : close + 1;
    return p;  // the name's first character in FText
}

bool TqsXMLItem::PropExists(std::string_view name) const
{
    size_t end;
    return Locate(name, end) != std::string::npos;
}

std::string TqsXMLItem::Prop(std::string_view name) const
{
    size_t end;
    size_t p = Locate(name, end);
    if (p == std::string::npos) return {};
    size_t valueStart = p + name.size() + 2;
    size_t close = FText.find('"', valueStart);
    if (close == std::string::npos) close = FText.size();
    return UnescapeAttribute(std::string_view(FText).substr(valueStart, close - valueStart));
}

void TqsXMLItem::SetProp(std::string_view name, std::string_view value)
{
    size_t end;
    size_t p = Locate(name, end);
    std::string ins = std::string(name) + "=\"" + EscapeAttribute(value) + "\"";
    if (p != std::string::npos) {
        FText.erase(p, end - p);
    } else {
        p = FText.size();
    }
    if (p > 0 && FText[p - 1] != ' ') ins.insert(ins.begin(), ' ');
    FText.insert(p, ins);
}

int TqsXMLItem::IndexOf(const TqsXMLItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TqsXMLItem::Assign(const TqsXMLItem* item)
{
    Clear();
    if (!item) return;
    FName = item->FName;
    FText = item->FText;
    FData = item->FData;
    for (const TqsXMLItem* child : item->FItems) Add()->Assign(child);
}

void TqsXMLItem::Clear()
{
    std::vector<TqsXMLItem*> items;
    items.swap(FItems);
    for (TqsXMLItem* child : items) {
        child->FParent = nullptr;
        delete child;
    }
}

void TqsXMLItem::SetParent(TqsXMLItem* p)
{
    Detach();
    FParent = p;
}

// --- reader ------------------------------------------------------------------------

TqsXMLReader::TqsXMLReader(rtl::TStream& stream) : FBytes(stream) {}

TqsXMLReader::~TqsXMLReader() = default;

void TqsXMLReader::RaiseException() { throw EqsXMLError(kInvalidFormat); }

void TqsXMLReader::ReadTag(std::string& name, std::string& text)
{
    name.clear();
    text.clear();
    std::string tag;
    char c;
    for (;;) {
        // Skip text up to the next '<'.
        do {
            if (!ReadByte(c)) return;
        } while (c != '<');
        tag.clear();
        bool closed = false;
        while (ReadByte(c)) {
            if (c == '<') RaiseException();
            if (c == '>') {
                closed = true;
                break;
            }
            tag += c;
            if (tag.size() == 3 && tag == "!--") break;
        }
        if (tag == "!--" && !closed) {
            // A comment: skip to "-->".
            int dashes = 0;
            for (;;) {
                if (!ReadByte(c)) return;
                if (c == '-') {
                    ++dashes;
                } else if (c == '>' && dashes >= 2) {
                    break;
                } else {
                    dashes = 0;
                }
            }
            continue;
        }
        if (!closed) RaiseException();
        break;
    }
    if (!tag.empty() && tag.back() == ' ') tag.pop_back();
    size_t blank = tag.find(' ');
    if (blank == std::string::npos) {
        name = tag;
    } else {
        name = tag.substr(0, blank);
        text = tag.substr(blank + 1);
    }
}

void TqsXMLReader::ReadHeader()
{
    std::string name, text;
    ReadTag(name, text);
    if (name.compare(0, 4, "?xml") != 0) RaiseException();
}

void TqsXMLReader::ReadItem(TqsXMLItem* item, int depth)
{
    std::string name, text;
    ReadTag(name, text);
    bool empty = SplitEmpty(name, text);
    item->SetName(name);
    item->SetText(text);
    if (empty || name.empty() || name[0] == '/') return;
    ReadContent(item, depth);
}

bool TqsXMLReader::SplitEmpty(std::string& name, std::string& text)
{
    bool empty = false;
    if (!name.empty() && name.back() == '/') {
        name.pop_back();
        empty = true;
    }
    if (!text.empty() && text.back() == '/') {
        text.pop_back();
        empty = true;
    }
    return empty;
}

void TqsXMLReader::ReadContent(TqsXMLItem* item, int depth)
{
    if (depth > kMaxDepth) RaiseException();
    for (;;) {
        std::string name, text;
        ReadTag(name, text);
        if (name.empty()) return;  // the stream ended before the closing tag
        if (name[0] == '/') {
            if (!rtl::AnsiSameText(std::string_view(name).substr(1), item->Name())) RaiseException();
            return;
        }
        bool empty = SplitEmpty(name, text);
        TqsXMLItem* child = item->Add();
        child->SetName(name);
        child->SetText(text);
        if (!empty) ReadContent(child, depth + 1);
    }
}

void TqsXMLReader::ReadRootItem(TqsXMLItem* item) { ReadItem(item, 0); }

// --- writer ------------------------------------------------------------------------

TqsXMLWriter::TqsXMLWriter(rtl::TStream& stream) : FStream(stream) {}

TqsXMLWriter::~TqsXMLWriter()
{
    try {
        Flush();
    } catch (...) {
    }
}

void TqsXMLWriter::Flush()
{
    if (FBuffer.empty()) return;
    FStream.WriteString(FBuffer);
    FBuffer.clear();
}

void TqsXMLWriter::WriteLn(std::string_view s, int level)
{
    if (FAutoIndent) FBuffer.append(static_cast<size_t>(level) * 2, ' ');
    FBuffer += s;
    if (FAutoIndent) FBuffer += "\r\n";
    if (FBuffer.size() > 4096) Flush();
}

void TqsXMLWriter::WriteHeader() { WriteLn("<?xml version=\"1.0\"?>", 0); }

void TqsXMLWriter::WriteItem(TqsXMLItem* item, int level)
{
    std::string line = "<" + item->Name();
    if (!item->Text().empty()) {
        if (item->Text()[0] != ' ') line += ' ';
        line += item->Text();
    }
    line += item->Count() > 0 ? ">" : "/>";
    WriteLn(line, level);
    if (item->Count() > 0) {
        for (TqsXMLItem* child : item->Children()) WriteItem(child, level + 1);
        WriteLn("</" + item->Name() + ">", level);
    }
}

void TqsXMLWriter::WriteRootItem(TqsXMLItem* item)
{
    WriteItem(item, 0);
    Flush();
}

// --- document ----------------------------------------------------------------------

TqsXMLDocument::TqsXMLDocument() : FRoot(new TqsXMLItem()) {}

TqsXMLDocument::~TqsXMLDocument() { delete FRoot; }

void TqsXMLDocument::Clear() { FRoot->Clear(); }

void TqsXMLDocument::LoadFromStream(rtl::TStream& stream)
{
    FRoot->Clear();
    TqsXMLReader reader(stream);
    reader.ReadHeader();
    reader.ReadRootItem(FRoot);
}

void TqsXMLDocument::SaveToStream(rtl::TStream& stream)
{
    TqsXMLWriter writer(stream);
    writer.SetAutoIndent(FAutoIndent);
    writer.WriteHeader();
    writer.WriteRootItem(FRoot);
}

void TqsXMLDocument::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(f);
}

void TqsXMLDocument::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmCreate);
    SaveToStream(f);
}

void TqsXMLDocument::LoadFromString(std::string_view text)
{
    rtl::TStringStream s{std::string(text)};
    LoadFromStream(s);
}

std::string TqsXMLDocument::SaveToString()
{
    rtl::TStringStream s;
    SaveToStream(s);
    return s.DataString();
}

} // namespace qs
