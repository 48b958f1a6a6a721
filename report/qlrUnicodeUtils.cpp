#include "report/qlrUnicodeUtils.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace qlr {

// ---------------------------------------------------------------- list

int TqlrWideStrings::Add(std::u16string_view s)
{
    FItems.push_back(Item{std::u16string(s), 0});
    return Count() - 1;
}

int TqlrWideStrings::AddObject(std::u16string_view s, intptr_t object)
{
    int i = Add(s);
    FItems[i].Object = object;
    return i;
}

void TqlrWideStrings::AddStrings(const TqlrWideStrings& strings)
{
    if (&strings == this) {
        std::vector<Item> copy = FItems;
        for (const Item& it : copy) AddObject(it.S, it.Object);
        return;
    }
    for (const Item& it : strings.FItems) AddObject(it.S, it.Object);
}

void TqlrWideStrings::Insert(int index, std::u16string_view s)
{
    if (index >= 0 && index < Count())
        FItems[index].S = std::u16string(s);
    else if (index == Count())
        Add(s);
    else
        throw rtl::Exception("Wide String Out of Bounds");
}

void TqlrWideStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw rtl::EListError("List index out of bounds (" + rtl::IntToStr(index) + ")");
    FItems.erase(FItems.begin() + index);
}

int TqlrWideStrings::IndexOf(std::u16string_view s) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[i].S == s) return i;
    return -1;
}

std::u16string TqlrWideStrings::Strings(int index) const
{
    return index >= 0 && index < Count() ? FItems[index].S : std::u16string();
}

intptr_t TqlrWideStrings::Objects(int index) const
{
    return index >= 0 && index < Count() ? FItems[index].Object : 0;
}

void TqlrWideStrings::SetObjects(int index, intptr_t object)
{
    if (index >= 0 && index < Count()) FItems[index].Object = object;
}

std::u16string TqlrWideStrings::Text() const
{
    std::u16string t;
    for (const Item& it : FItems) {
        t += it.S;
        t += u"\r\n";
    }
    return t;
}

void TqlrWideStrings::SetText(std::u16string_view text)
{
    Clear();
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] != 0) {
        std::size_t start = i;
        while (i < n && text[i] != 0 && text[i] != u'\n' && text[i] != u'\r' && text[i] != 0x2028) ++i;
        Add(text.substr(start, i - start));
        if (i < n && text[i] == u'\r') ++i;
        if (i < n && text[i] == u'\n') ++i;
        if (i < n && text[i] == 0x2028) ++i;
    }
}

void TqlrWideStrings::Assign(const TqlrWideStrings& source)
{
    if (&source == this) return;
    Clear();
    AddStrings(source);
}

void TqlrWideStrings::Assign(const rtl::TStringList& source)
{
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        AddObject(rtl::UTF8ToUTF16(source[i]), reinterpret_cast<intptr_t>(source.Objects(i)));
}

void TqlrWideStrings::AssignTo(rtl::TStringList& dest) const
{
    dest.BeginUpdate();
    try {
        dest.Clear();
        for (const Item& it : FItems)
            dest.AddObject(rtl::UTF16ToUTF8(it.S), reinterpret_cast<rtl::TObject*>(it.Object));
    } catch (...) {
        dest.EndUpdate();
        throw;
    }
    dest.EndUpdate();
}

void TqlrWideStrings::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream in(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(in);
}

void TqlrWideStrings::LoadFromStream(rtl::TStream& stream)
{
    const int64_t n = stream.Size() - stream.Position();
    if (n > 2) {
        uint8_t mark[2];
        stream.ReadBuffer(mark, 2);
        if ((mark[0] | (mark[1] << 8)) == 0xFEFF) {
            LoadFromWStream(stream);
            return;
        }
        stream.Seek(-2, rtl::TSeekOrigin::soCurrent);
    }
    std::string bytes = stream.ReadAll();
    SetText(rtl::CodePageToUTF16(bytes, rtl::SystemCodePage()));
}

void TqlrWideStrings::LoadFromWStream(rtl::TStream& stream)
{
    std::string bytes = stream.ReadAll();
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    SetText(text);
}

void TqlrWideStrings::SaveToFile(const std::string& fileName) const
{
    rtl::TFileStream out(fileName, rtl::fmCreate);
    SaveToStream(out);
}

void TqlrWideStrings::SaveToStream(rtl::TStream& stream) const
{
    std::u16string text = Text();
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    stream.WriteString(bytes);
}

// ---------------------------------------------------------------- code pages

namespace {

constexpr uint32_t kOemPseudoPage = 1;
constexpr uint32_t kMacPseudoPage = 2;

// A code page the conversion facility knows: the pseudo pages resolved.
uint32_t RealCodePage(uint8_t charset, uint32_t codePage)
{
    if (codePage == 0) codePage = CodePageOfCharset(charset);
    if (codePage == kOemPseudoPage) return rtl::OemCodePage();
    // No Macintosh page here: its ASCII half is the system page's.
    if (codePage == kMacPseudoPage || codePage == 3) return rtl::SystemCodePage();
    return codePage;
}

} // namespace

uint32_t CodePageOfCharset(uint8_t charset)
{
    switch (charset) {
    case 0: return rtl::SystemCodePage();     // ANSI
    case 1: return rtl::SystemCodePage();     // default
    case 77: return kMacPseudoPage;
    case 255: return kOemPseudoPage;
    default: break;
    }
    // Every charset with a page of its own maps off the system page.
    uint32_t cp = rtl::CharsetToCodePage(charset);
    if (cp == rtl::SystemCodePage())
        throw rtl::EOSError("Character set " + rtl::IntToStr(charset) + " has no code page");
    return cp;
}

std::u16string AnsiTextToWide(std::string_view s, uint8_t charset, uint32_t codePage)
{
    return rtl::CodePageToUTF16(s, RealCodePage(charset, codePage));
}

std::string WideTextToAnsi(std::u16string_view s, uint8_t charset, uint32_t codePage)
{
    return rtl::UTF16ToCodePage(s, RealCodePage(charset, codePage));
}

uint32_t LocaleOfCharset(uint8_t charset)
{
    switch (charset) {
    case 128: return 1041;
    case 129: return 1042;
    case 130: return 2066;
    case 134: return 2052;
    case 136: return 3076;
    case 161: return 1032;
    case 162: return 1055;
    case 163: return 1066;
    case 177: return 1037;
    case 178: return 13313;
    case 186: return 1061;
    case 204: return 1049;
    case 222: return 1054;
    case 238: return 1029;
    default: return 1024;
    }
}

// ---------------------------------------------------------------- single-byte

std::string AnsiLowerCaseASCII(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

std::string AnsiUpperText(std::string_view s) { return rtl::AnsiUpperCase(s); }

int AnsiTextPos(std::string_view subStr, std::string_view s)
{
    if (subStr.empty()) return 0;
    return rtl::Pos(subStr, s);
}

std::string AnsiStringReplace(std::string_view s, std::string_view oldPattern,
                              std::string_view newPattern, int flags)
{
    std::string search(s), pattern(oldPattern);
    if (flags & rfIgnoreCase) {
        search = AnsiUpperText(s);
        pattern = AnsiUpperText(oldPattern);
        // Positions in the upper-cased copy must be positions in S.
        if (search.size() != s.size() || pattern.size() != oldPattern.size()) {
            search = rtl::UpperCase(s);
            pattern = rtl::UpperCase(oldPattern);
        }
    }
    std::string result;
    std::string rest(s);
    std::string_view view(search);
    while (!view.empty()) {
        int p = AnsiTextPos(pattern, view);
        if (p == 0) {
            result += rest;
            break;
        }
        result += rest.substr(0, static_cast<std::size_t>(p - 1));
        result += newPattern;
        std::size_t cut = static_cast<std::size_t>(p - 1) + oldPattern.size();
        rest.erase(0, cut);
        if (!(flags & rfReplaceAll)) {
            result += rest;
            break;
        }
        view.remove_prefix(cut);
    }
    return result;
}

} // namespace qlr
