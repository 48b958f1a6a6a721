#include "dbgrids/ucl/UclVersionBlob.h"

#include <cstdio>

#include "platform/rtl/Strings.h"

namespace ucl {

namespace {

void Put16(std::string& b, size_t at, uint16_t v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

void Append16(std::string& b, uint16_t v)
{
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
}

void Append32(std::string& b, uint32_t v)
{
    Append16(b, static_cast<uint16_t>(v & 0xFFFF));
    Append16(b, static_cast<uint16_t>(v >> 16));
}

void Align(std::string& b)
{
    while (b.size() % 4) b += '\0';
}

void WriteNode(std::string& b, const TVersionNode& n, bool wide)
{
    Align(b);
    size_t start = b.size();
    Append16(b, 0);  // length, filled in below
    std::u16string wtext = rtl::UTF8ToUTF16(n.Value);
    int valLen = n.ValueLength;
    if (valLen < 0) {
        if (n.ValueType == 1) valLen = n.Value.empty() ? 0 : static_cast<int>(wide ? wtext.size() + 1 : n.Value.size() + 1);
        else valLen = static_cast<int>(n.Value.size());
    }
    Append16(b, static_cast<uint16_t>(valLen));
    if (wide) {
        Append16(b, n.ValueType);
        for (char16_t c : rtl::UTF8ToUTF16(n.Key)) Append16(b, c);
        Append16(b, 0);
    } else {
        b += n.Key;
        b += '\0';
    }
    Align(b);
    if (n.ValueType == 1 && !n.Value.empty()) {
        if (wide) {
            for (char16_t c : wtext) Append16(b, c);
            Append16(b, 0);
        } else {
            b += n.Value;
            b += '\0';
        }
    } else {
        b += n.Value;
    }
    for (const TVersionNode& c : n.Children) WriteNode(b, c, wide);
    Put16(b, start, static_cast<uint16_t>(b.size() - start));
}

void ParseVersion(const std::string& text, uint32_t& ms, uint32_t& ls)
{
    unsigned p[4] = {0, 0, 0, 0};
    std::string t = rtl::StringReplace(text, ",", ".");
    auto parts = rtl::SplitString(t, '.');
    for (size_t i = 0; i < parts.size() && i < 4; ++i) p[i] = static_cast<unsigned>(rtl::StrToIntDef(rtl::Trim(parts[i]), 0));
    ms = (p[0] << 16) | (p[1] & 0xFFFF);
    ls = (p[2] << 16) | (p[3] & 0xFFFF);
}

} // namespace

std::string WriteVersionBlob(const TVersionNode& root, bool wide)
{
    std::string b;
    WriteNode(b, root, wide);
    return b;
}

TVersionNode VersionTreeOf(const sys::TVersionRecord& record, uint16_t langId, uint16_t codePage)
{
    static const char* const keys[] = {"Comments", "CompanyName", "FileDescription", "FileVersion",
                                       "InternalName", "LegalCopyright", "LegalTradeMarks", "OriginalFilename",
                                       "ProductName", "ProductVersion", "SpecialBuild", "PrivateBuild"};
    TVersionNode root;
    root.Key = "VS_VERSION_INFO";
    root.ValueType = 0;
    std::string fixed;
    uint32_t fms = 0, fls = 0, pms = 0, pls = 0;
    ParseVersion(record.Value("FileVersion"), fms, fls);
    ParseVersion(record.Value("ProductVersion"), pms, pls);
    Append32(fixed, 0xFEEF04BD);
    Append32(fixed, 0x00010000);
    Append32(fixed, fms);
    Append32(fixed, fls);
    Append32(fixed, pms);
    Append32(fixed, pls);
    Append32(fixed, record.FileFlagsMask);
    Append32(fixed, record.FileFlags);
    Append32(fixed, 0x00040004);  // VOS_NT_WINDOWS32, as the format knows it
    Append32(fixed, record.FileType);
    Append32(fixed, record.FileSubtype);
    Append32(fixed, 0);
    Append32(fixed, 0);
    root.Value = fixed;

    char langKey[16];
    std::snprintf(langKey, sizeof langKey, "%.4X%.4X", langId, codePage);
    TVersionNode table;
    table.Key = langKey;
    for (const char* k : keys) {
        std::string v = record.Value(k);
        if (v.empty()) continue;
        TVersionNode s;
        s.Key = k;
        s.Value = v;
        table.Children.push_back(s);
    }
    TVersionNode sfi;
    sfi.Key = "StringFileInfo";
    sfi.Children.push_back(table);
    root.Children.push_back(sfi);

    TVersionNode tr;
    tr.Key = "Translation";
    tr.ValueType = 0;
    Append16(tr.Value, langId);
    Append16(tr.Value, codePage);
    TVersionNode vfi;
    vfi.Key = "VarFileInfo";
    vfi.Children.push_back(tr);
    root.Children.push_back(vfi);
    return root;
}

} // namespace ucl
