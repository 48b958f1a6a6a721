#include "platform/rtl/IniFiles.h"

#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

namespace rtl {

// --- TCustomIniFile -----------------------------------------------------------

bool TCustomIniFile::SectionExists(const std::string& section) const
{
    TStringList names;
    ReadSections(names);
    for (int i = 0; i < names.Count(); ++i)
        if (SameText(names[i], section)) return true;
    return false;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    TStringList names;
    ReadSection(section, names);
    return names.IndexOf(ident) >= 0;
}

int32_t TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t def) const
{
    std::string s = ReadString(section, ident, "");
    int32_t v;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
    return TryStrToInt(s, v) ? v : def;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) const
{
    double v;
    return TryStrToFloat(ReadString(section, ident, ""), v) ? v : def;
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

namespace {
TDateTime ReadDateText(const std::string& s, TDateTime def)
{
    if (Trim(s).empty()) return def;
    try {
        return Variant(s).AsDate();
    } catch (const EVariantError&) {
        return def;
    }
}
} // namespace

TDateTime TCustomIniFile::ReadDate(const std::string& section, const std::string& ident, TDateTime def) const
{
    return ReadDateText(ReadString(section, ident, ""), def);
}

TDateTime TCustomIniFile::ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) const
{
    return ReadDateText(ReadString(section, ident, ""), def);
}

TDateTime TCustomIniFile::ReadTime(const std::string& section, const std::string& ident, TDateTime def) const
{
    return ReadDateText(ReadString(section, ident, ""), def);
}

void TCustomIniFile::WriteDate(const std::string& section, const std::string& ident, TDateTime value)
{
    WriteString(section, ident, DateToStr(value));
}

void TCustomIniFile::WriteDateTime(const std::string& section, const std::string& ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToStr(value));
}

void TCustomIniFile::WriteTime(const std::string& section, const std::string& ident, TDateTime value)
{
    WriteString(section, ident, TimeToStr(value));
}

// --- TMemIniFile -------------------------------------------------------------------

TMemIniFile::TMemIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) { Load(); }

void TMemIniFile::Load()
{
    FSections.clear();
    if (FFileName.empty() || !FileExists(FFileName)) return;
    TStringList lines;
    lines.LoadFromFile(FFileName);
    SetStrings(lines);
}

bool TMemIniFile::Same(const std::string& a, const std::string& b) const
{
    return FCaseSensitive ? a == b : SameText(a, b);
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) const
{
    for (const Section& s : FSections)
        if (&s != &FSections.front() || !s.Name.empty())
            if (Same(s.Name, name)) return &s;
    return nullptr;
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name)
{
    return const_cast<Section*>(static_cast<const TMemIniFile*>(this)->FindSection(name));
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& def) const
{
    if (const Section* s = FindSection(section))
        for (const Line& l : s->Lines)
            if (!l.Comment && Same(l.Name, ident)) return l.Value;
    return def;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    std::string name = Trim(ident), v = Trim(value);
    if (name.empty() || name.find('=') != std::string::npos || name[0] == '[' || name[0] == ';')
        throw EIniFileException("Invalid value name: '" + ident + "'");
    if (section.find_first_of("]\r\n") != std::string::npos)
        throw EIniFileException("Invalid section name: '" + section + "'");
    if (v.find_first_of("\r\n") != std::string::npos)
        throw EIniFileException("A value cannot hold a line break: '" + ident + "'");
    Section* s = FindSection(section);
    if (!s) {
        if (FSections.empty()) FSections.push_back({"", {}});  // the leading comments
        FSections.push_back({section, {}});
        s = &FSections.back();
    }
    for (Line& l : s->Lines)
        if (!l.Comment && Same(l.Name, name)) {
            l.Value = v;
            return;
        }
    s->Lines.push_back({name, v, false});
}

void TMemIniFile::ReadSection(const std::string& section, TStringList& names) const
{
    names.Clear();
    if (const Section* s = FindSection(section))
        for (const Line& l : s->Lines)
            if (!l.Comment) names.Add(l.Name);
}

void TMemIniFile::ReadSections(TStringList& sections) const
{
    sections.Clear();
    for (std::size_t i = 0; i < FSections.size(); ++i)
        if (i > 0 || !FSections[i].Name.empty()) sections.Add(FSections[i].Name);
}

void TMemIniFile::ReadSectionValues(const std::string& section, TStringList& values) const
{
    values.Clear();
    if (const Section* s = FindSection(section))
        for (const Line& l : s->Lines)
            if (!l.Comment) values.Add(l.Name + "=" + l.Value);
}

void TMemIniFile::EraseSection(const std::string& section)
{
    for (std::size_t i = 0; i < FSections.size(); ++i)
        if ((i > 0 || !FSections[i].Name.empty()) && Same(FSections[i].Name, section)) {
            FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    if (Section* s = FindSection(section))
        for (std::size_t i = 0; i < s->Lines.size(); ++i)
            if (!s->Lines[i].Comment && Same(s->Lines[i].Name, ident)) {
                s->Lines.erase(s->Lines.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    if (const Section* s = FindSection(section))
        for (const Line& l : s->Lines)
            if (!l.Comment && Same(l.Name, ident)) return true;
    return false;
}

void TMemIniFile::GetStrings(TStringList& lines) const
{
    lines.Clear();
    for (std::size_t i = 0; i < FSections.size(); ++i) {
        const Section& s = FSections[i];
        bool header = i > 0 || !s.Name.empty();
        if (!header && s.Lines.empty()) continue;
        if (header) lines.Add("[" + s.Name + "]");
        for (const Line& l : s.Lines) lines.Add(l.Comment ? l.Value : l.Name + "=" + l.Value);
        lines.Add("");
    }
}

void TMemIniFile::SetStrings(const TStringList& lines)
{
    FSections.clear();
    FSections.push_back({"", {}});
    for (int i = 0; i < lines.Count(); ++i) {
        std::string t = Trim(lines[i]);
        if (t.empty()) continue;
        if (t[0] == ';' || t[0] == '#') {
            FSections.back().Lines.push_back({"", t, true});
        } else if (t[0] == '[') {
            auto close = t.find(']');
            std::string name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            // A section named twice continues the first.
            bool found = false;
            for (std::size_t k = 1; k < FSections.size(); ++k)
                if (Same(FSections[k].Name, name)) {
                    Section moved = std::move(FSections[k]);
                    FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(k));
                    FSections.push_back(std::move(moved));
                    found = true;
                    break;
                }
            if (!found) FSections.push_back({name, {}});
        } else {
            auto eq = t.find('=');
            std::string name = Trim(eq == std::string::npos ? t : t.substr(0, eq));
            std::string value = eq == std::string::npos ? std::string() : Trim(t.substr(eq + 1));
            // The first of a repeated name is the one read; later ones are kept as they are.
            FSections.back().Lines.push_back({name, value, false});
        }
    }
}

void TMemIniFile::Rename(const std::string& fileName, bool reload)
{
    FFileName = fileName;
    if (reload) Load();
}

void TMemIniFile::UpdateFile()
{
    TStringList lines;
    GetStrings(lines);
    std::string tmp = FFileName + ".tmp";
    lines.SaveToFile(tmp);
    if (std::rename(tmp.c_str(), FFileName.c_str()) != 0) {
        DeleteFile(tmp);
        throw EFCreateError("Cannot create file \"" + FFileName + "\".");
    }
}

// --- TIniFile ------------------------------------------------------------------------

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    TMemIniFile::WriteString(section, ident, value);
    UpdateFile();
}

void TIniFile::EraseSection(const std::string& section)
{
    TMemIniFile::EraseSection(section);
    UpdateFile();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    TMemIniFile::DeleteKey(section, ident);
    UpdateFile();
}

// --- binary values --------------------------------------------------------------

int TCustomIniFile::ReadBinaryStream(const std::string& section, const std::string& ident, TStream& value) const
{
    std::string text = ReadString(section, ident, "");
    if (text.size() % 2 != 0) return 0;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string bytes(text.size() / 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        int hi = digit(text[2 * i]), lo = digit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return 0;
        bytes[i] = static_cast<char>(hi * 16 + lo);
    }
    if (!bytes.empty()) value.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return static_cast<int>(bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const std::string& section, const std::string& ident, TStream& value)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string bytes = value.ReadAll();
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text += hex[b >> 4];
        text += hex[b & 15];
    }
    WriteString(section, ident, text);
}

} // namespace rtl
