#include "dbgrids/ucl/UclFileUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/CharTypes.h"

// Written at build time by ucl_version_blob (see CMakeLists.txt).
extern const unsigned char kUclProgramVersionBlob[];
extern const size_t kUclProgramVersionBlobSize;

namespace ucl {

namespace {

const char* const kKeyNames[12] = {"Comments", "CompanyName", "FileDescription", "FileVersion",
                                   "InternalName", "LegalCopyright", "LegalTradeMarks", "OriginalFilename",
                                   "ProductName", "ProductVersion", "SpecialBuild", "PrivateBuild"};

const char kNoVersionInfo[] = "File contains no version information";

// A cursor over the block tree.  Every read checks its bounds: a block that
// points outside the buffer is an invalid resource, never a stray read.
class TBlockReader {
public:
    explicit TBlockReader(std::string_view data) : FData(data)
    {
        uint16_t type = 0;
        FWide = Read16(4, type) && type <= 1;
    }

    bool Wide() const { return FWide; }
    size_t Pos = 0;

    bool Read16(size_t at, uint16_t& v) const
    {
        if (at + 2 > FData.size()) return false;
        v = static_cast<uint16_t>(static_cast<uint8_t>(FData[at]) | (static_cast<uint8_t>(FData[at + 1]) << 8));
        return true;
    }
    bool Read32(size_t at, uint32_t& v) const
    {
        uint16_t lo = 0, hi = 0;
        if (!Read16(at, lo) || !Read16(at + 2, hi)) return false;
        v = lo | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    void Align() { Pos = (Pos + 3) & ~static_cast<size_t>(3); }
    size_t Size() const { return FData.size(); }

    // One block header; false (cursor kept) for a length of 0 or a header
    // beyond the buffer.
    bool ReadHeader(uint16_t& len, uint16_t& valLen, uint16_t& valType, std::string& key, size_t& headerSize)
    {
        size_t start = Pos;
        if (!Read16(start, len) || len == 0 || !Read16(start + 2, valLen)) return false;
        size_t p = start + 4;
        key.clear();
        if (FWide) {
            if (!Read16(p, valType)) return false;
            p += 2;
            std::u16string k;
            uint16_t c = 0;
            for (;;) {
                if (!Read16(p, c)) return false;
                p += 2;
                if (c == 0) break;
                k += static_cast<char16_t>(c);
            }
            key = rtl::UTF16ToUTF8(k);
        } else {
            valType = 1;
            size_t e = FData.find('\0', p);
            if (e == std::string_view::npos) return false;
            key = rtl::CodePageToUTF8(FData.substr(p, e - p), rtl::SystemCodePage());
            p = e + 1;
        }
        Pos = p;
        Align();
        headerSize = Pos - start;
        return true;
    }

    std::string WideTextAt(size_t at, size_t maxChars) const
    {
        std::u16string s;
        uint16_t c = 0;
        for (size_t i = 0; i < maxChars && Read16(at + 2 * i, c) && c != 0; ++i) s += static_cast<char16_t>(c);
        return rtl::UTF16ToUTF8(s);
    }
    std::string NarrowTextAt(size_t at) const
    {
        if (at >= FData.size()) return {};
        size_t e = FData.find('\0', at);
        if (e == std::string_view::npos) e = FData.size();
        return rtl::CodePageToUTF8(FData.substr(at, e - at), rtl::SystemCodePage());
    }

private:
    std::string_view FData;
    bool FWide;
};

int HexValue(const std::string& s)
{
    int v = 0;
    for (char c : s) {
        int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) return 0;
        v = v * 16 + d;
    }
    return v;
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Where a file carries a version block: the wide key "VS_VERSION_INFO"
// six bytes into a block, or the narrow one four bytes in.  Every place
// that parses is a candidate; the first that parses wins.
std::vector<size_t> CandidateStarts(const std::string& bytes)
{
    std::vector<size_t> out;
    static const char narrow[] = "VS_VERSION_INFO";
    std::string wide;
    for (const char* p = narrow; *p; ++p) {
        wide += *p;
        wide += '\0';
    }
    wide.append(2, '\0');
    for (size_t at = bytes.find(wide); at != std::string::npos; at = bytes.find(wide, at + 1))
        if (at >= 6) out.push_back(at - 6);
    std::string n(narrow, sizeof narrow);  // with its terminator
    for (size_t at = bytes.find(n); at != std::string::npos; at = bytes.find(n, at + 1))
        if (at >= 4) out.push_back(at - 4);
    return out;
}

} // namespace

std::string_view ProgramVersionBlob()
{
    return {reinterpret_cast<const char*>(kUclProgramVersionBlob), kUclProgramVersionBlobSize};
}

bool FileExistsNotDir(const std::string& fileName)
{
    return rtl::FileExists(fileName) && !rtl::DirectoryExists(fileName);
}

std::string ModuleFileName(uintptr_t module)
{
    return module == HInstance ? rtl::ExecutableFileName() : std::string();
}

TUclFileVersionInfo::TUclFileVersionInfo(const std::string& fileName)
{
    if (!FileExistsNotDir(fileName)) throw EUclFileVersionInfoError("The file " + fileName + " does not exist");
    std::string bytes = rtl::ReadFileBytes(fileName);
    for (size_t start : CandidateStarts(bytes)) {
        uint16_t len = static_cast<uint16_t>(static_cast<uint8_t>(bytes[start]) | (static_cast<uint8_t>(bytes[start + 1]) << 8));
        if (len < 6 || start + len > bytes.size()) continue;
        TUclFileVersionInfo probe;
        try {
            probe.Parse(std::string_view(bytes).substr(start, len));
        } catch (const EUclFileVersionInfoError&) {
            continue;
        }
        *this = std::move(probe);
        return;
    }
    throw EUclFileVersionInfoError(kNoVersionInfo);
}

std::unique_ptr<TUclFileVersionInfo> TUclFileVersionInfo::FromModule(uintptr_t module)
{
    if (module == 0 || ModuleFileName(module).empty())
        throw EUclError("The Module with handle " + std::to_string(module) + " is not valid");
    return std::make_unique<TUclFileVersionInfo>(ModuleFileName(module));
}

std::unique_ptr<TUclFileVersionInfo> TUclFileVersionInfo::FromWindow(uintptr_t window)
{
    if (window == 0) throw EUclError("The window with handle 0 is not valid");
    throw EUclError("Reading the version of another window's program is not supported");
}

std::unique_ptr<TUclFileVersionInfo> TUclFileVersionInfo::Attach(std::string_view data)
{
    std::unique_ptr<TUclFileVersionInfo> info(new TUclFileVersionInfo());
    info->Parse(data);
    return info;
}

void TUclFileVersionInfo::Parse(std::string_view data)
{
    FBuffer.assign(data.data(), data.size());
    TBlockReader r(FBuffer);
    bool error = true;
    uint16_t len = 0, valLen = 0, valType = 0;
    size_t headerSize = 0;
    std::string key;
    size_t rootStart = r.Pos;
    if (r.ReadHeader(len, valLen, valType, key, headerSize) && rtl::SameText(key, "VS_VERSION_INFO") && valLen == 52 &&
        r.Pos + 52 <= r.Size()) {
        uint32_t* f = &FFixedInfo.Signature;
        for (int i = 0; i < 13; ++i) r.Read32(r.Pos + 4 * static_cast<size_t>(i), f[i]);
        error = FFixedInfo.Signature != 0xFEEF04BD;
        r.Pos += valLen;
        r.Align();
        size_t end = std::min(rootStart + len, r.Size());
        while (!error && r.Pos < end) {
            if (!r.ReadHeader(len, valLen, valType, key, headerSize)) {
                error = true;
                break;
            }
            r.Pos += valLen;
            len = static_cast<uint16_t>(len - (headerSize + valLen));
            if (rtl::SameText(key, "StringFileInfo")) {
                // String tables, one per language.
                int langIndex = 0;
                size_t stop = r.Pos + len;
                while (!error && r.Pos < stop) {
                    size_t tableStart = r.Pos;
                    uint16_t tlen = 0, tvalLen = 0, ttype = 0;
                    size_t thead = 0;
                    std::string tkey;
                    if (!r.ReadHeader(tlen, tvalLen, ttype, tkey, thead)) {
                        error = true;
                        break;
                    }
                    std::string clean = rtl::StringReplace(tkey, "0x", "");
                    clean.erase(std::remove_if(clean.begin(), clean.end(), [](char c) { return !IsHex(c); }), clean.end());
                    if (tvalLen != 0 || clean.size() != 8) {
                        error = true;
                        break;
                    }
                    TLangIdRec lang;
                    lang.LangId = static_cast<uint16_t>(HexValue(clean.substr(0, 4)));
                    lang.CodePage = static_cast<uint16_t>(HexValue(clean.substr(4, 4)));
                    FLanguages.push_back(lang);
                    size_t tableEnd = tableStart + tlen;
                    while (!error && r.Pos < tableEnd) {
                        size_t sStart = r.Pos;
                        uint16_t slen = 0, svalLen = 0, stype = 0;
                        size_t shead = 0;
                        std::string skey, value;
                        if (!r.ReadHeader(slen, svalLen, stype, skey, shead)) {
                            error = true;
                            break;
                        }
                        if (stype == 0) {
                            if (svalLen >= 1 && svalLen <= 4) {
                                uint32_t raw = 0;
                                for (int i = 0; i < svalLen && r.Pos + static_cast<size_t>(i) < r.Size(); ++i)
                                    raw |= static_cast<uint32_t>(static_cast<uint8_t>(FBuffer[r.Pos + static_cast<size_t>(i)])) << (8 * i);
                                char buf[16];
                                std::snprintf(buf, sizeof buf, "$%.*X", svalLen * 2, raw);
                                value = buf;
                            } else if (svalLen > 4 && r.Wide()) {
                                value = r.WideTextAt(r.Pos, static_cast<size_t>(-1));
                            }
                        } else if (stype == 1) {
                            if (svalLen > 0) value = r.Wide() ? r.WideTextAt(r.Pos, svalLen) : r.NarrowTextAt(r.Pos);
                        } else {
                            error = true;
                            break;
                        }
                        r.Pos = sStart + slen;
                        r.Align();
                        FItemList.emplace_back(skey + "=" + value, langIndex);
                    }
                    ++langIndex;
                }
            } else if (rtl::SameText(key, "VarFileInfo")) {
                uint16_t vlen = 0, vvalLen = 0, vtype = 0;
                size_t vhead = 0;
                std::string vkey;
                if (r.ReadHeader(vlen, vvalLen, vtype, vkey, vhead) && rtl::SameText(vkey, "Translation")) {
                    for (int i = 0; i < vvalLen / 4; ++i) {
                        uint32_t pair = 0;
                        if (!r.Read32(r.Pos, pair)) break;
                        FTranslations.push_back({static_cast<uint16_t>(pair & 0xFFFF), static_cast<uint16_t>(pair >> 16)});
                        r.Pos += 4;
                    }
                }
            } else {
                break;
            }
        }
    }
    uint32_t flags = FFixedInfo.FileFlags & FFixedInfo.FileFlagsMask;
    FFileFlags.Clear();
    if (flags & 0x01) FFileFlags.Include(TFileFlag::ffDebug);
    if (flags & 0x10) FFileFlags.Include(TFileFlag::ffInfoInferred);
    if (flags & 0x04) FFileFlags.Include(TFileFlag::ffPatched);
    if (flags & 0x02) FFileFlags.Include(TFileFlag::ffPreRelease);
    if (flags & 0x08) FFileFlags.Include(TFileFlag::ffPrivateBuild);
    if (flags & 0x20) FFileFlags.Include(TFileFlag::ffSpecialBuild);
    BuildItems();
    if (error) throw EUclFileVersionInfoError(kNoVersionInfo);
}

void TUclFileVersionInfo::BuildItems()
{
    FItems.clear();
    for (const auto& [text, lang] : FItemList)
        if (lang == FLanguageIndex) FItems.push_back(text);
}

void TUclFileVersionInfo::SetLanguageIndex(int value)
{
    if (value < 0 || value >= LanguageCount()) throw EUclFileVersionInfoError("Illegal language index");
    FLanguageIndex = value;
    BuildItems();
}

std::string TUclFileVersionInfo::VersionKeyValue(int index) const
{
    if (index < 1 || index > 12) return {};
    std::string prefix = std::string(kKeyNames[index - 1]) + "=";
    for (const std::string& s : FItems)
        if (s.size() >= prefix.size() && rtl::SameText(std::string_view(s).substr(0, prefix.size()), prefix))
            return s.substr(prefix.size());
    return {};
}

std::string TUclFileVersionInfo::GetCustomFieldValue(const std::string& fieldName) const
{
    if (fieldName.empty()) throw EUclFileVersionInfoError("No value was supplied");
    std::string prefix = fieldName + "=";
    for (const std::string& s : FItems)
        if (s.size() >= prefix.size() && rtl::SameText(std::string_view(s).substr(0, prefix.size()), prefix))
            return s.substr(prefix.size());
    throw EUclFileVersionInfoError("The value " + fieldName + " was not found.");
}

std::string TUclFileVersionInfo::BinFileVersion() const
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", FFixedInfo.FileVersionMS >> 16, FFixedInfo.FileVersionMS & 0xFFFF,
                  FFixedInfo.FileVersionLS >> 16, FFixedInfo.FileVersionLS & 0xFFFF);
    return buf;
}

std::string TUclFileVersionInfo::BinProductVersion() const
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", FFixedInfo.ProductVersionMS >> 16,
                  FFixedInfo.ProductVersionMS & 0xFFFF, FFixedInfo.ProductVersionLS >> 16,
                  FFixedInfo.ProductVersionLS & 0xFFFF);
    return buf;
}

std::string TUclFileVersionInfo::VersionLanguageId(const TLangIdRec& rec)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.4X%.4X", rec.LangId, rec.CodePage);
    return buf;
}

std::string TUclFileVersionInfo::VersionLanguageName(uint16_t langId)
{
    return sys::LanguageNameOfLcid(langId);
}

bool TUclFileVersionInfo::TranslationMatchesLanguages(bool exact) const
{
    bool result = LanguageCount() == TranslationCount() || (!exact && TranslationCount() > 0);
    if (!result) return false;
    for (const TLangIdRec& t : FTranslations) {
        bool found = false;
        for (const TLangIdRec& l : FLanguages) found = found || l.Pair() == t.Pair();
        if (!found) return false;
    }
    return true;
}

std::string TUclFileVersionInfo::VersionPart(const std::string& version, int part)
{
    std::string s = rtl::StringReplace(version, ",", ".");
    std::vector<size_t> dots;
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '.') dots.push_back(i);
    auto cut = [&](size_t from, size_t to) { return rtl::Trim(s.substr(from, to - from)); };
    switch (part) {
    case 0: return dots.empty() ? rtl::Trim(s) : cut(0, dots[0]);
    case 1: return dots.size() < 2 ? std::string() : cut(dots[0] + 1, dots[1]);
    case 2: return dots.size() < 3 ? std::string() : cut(dots[1] + 1, dots[2]);
    default: return dots.empty() ? rtl::Trim(s) : cut(dots.back() + 1, s.size());
    }
}

bool ReadFixedFileInfo(const std::string& fileName, TFixedFileInfo& info)
{
    try {
        TUclFileVersionInfo v(fileName);
        info = v.FixedInfo();
        return true;
    } catch (const rtl::Exception&) {
        return false;
    }
}

} // namespace ucl
