// Settings files of sections and name=value lines.
//
//   [Section]
//   ; a comment
//   Name=Value
//
// Section and value names compare without regard to case (unless
// CaseSensitive is set on a TMemIniFile); blanks around names and values
// are dropped; comment lines are kept.  Files are UTF-8 (a byte-order mark
// is skipped) and are replaced as a whole when written, through a
// temporary file, so a failed write leaves the old file intact.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"

namespace rtl {

// Names and values that cannot be written ("Invalid value name: '<name>'").
RTL_DECLARE_EXCEPTION(EIniFileException, Exception)

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    const std::string& FileName() const { return FFileName; }

    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& def) const = 0;
    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) = 0;
    // The value names of a section, in file order.
    virtual void ReadSection(const std::string& section, TStringList& names) const = 0;
    virtual void ReadSections(TStringList& sections) const = 0;
    // The section's lines as name=value.
    virtual void ReadSectionValues(const std::string& section, TStringList& values) const = 0;
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    // Writes pending changes to the file.
    virtual void UpdateFile() = 0;

    bool SectionExists(const std::string& section) const;
    virtual bool ValueExists(const std::string& section, const std::string& ident) const;

    // Decimal or "$"/"0x" hexadecimal; anything else gives def.
    int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t def) const;
    void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
    // An integer value: 0 is false, others true; anything else gives def.
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
    void WriteBool(const std::string& section, const std::string& ident, bool value);  // "1" / "0"
    // "." is the decimal point; anything else gives def.
    double ReadFloat(const std::string& section, const std::string& ident, double def) const;
    void WriteFloat(const std::string& section, const std::string& ident, double value);
    // Texts in the date and time formats of FormatSettings.
    TDateTime ReadDate(const std::string& section, const std::string& ident, TDateTime def) const;
    TDateTime ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) const;
    TDateTime ReadTime(const std::string& section, const std::string& ident, TDateTime def) const;
    void WriteDate(const std::string& section, const std::string& ident, TDateTime value);
    void WriteDateTime(const std::string& section, const std::string& ident, TDateTime value);
    void WriteTime(const std::string& section, const std::string& ident, TDateTime value);
    // Bytes as a hexadecimal text value (two digits per byte).  Reading
    // appends the decoded bytes to value at its position and returns their
    // count; an absent or malformed value gives 0 and writes nothing.
    int ReadBinaryStream(const std::string& section, const std::string& ident, TStream& value) const;
    // Writes the bytes of value from its position to its end.
    void WriteBinaryStream(const std::string& section, const std::string& ident, TStream& value);

protected:
    std::string FFileName;
};

// The whole file in memory; UpdateFile writes it.
class TMemIniFile : public TCustomIniFile {
public:
    // Loads the file when it exists.
    explicit TMemIniFile(std::string fileName);

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) const override;
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) override;
    void ReadSection(const std::string& section, TStringList& names) const override;
    void ReadSections(TStringList& sections) const override;
    void ReadSectionValues(const std::string& section, TStringList& values) const override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    bool ValueExists(const std::string& section, const std::string& ident) const override;
    void UpdateFile() override;

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    void Clear() { FSections.clear(); }
    // The file's text as lines, and back.
    void GetStrings(TStringList& lines) const;
    void SetStrings(const TStringList& lines);
    // Another file name; with reload, its content replaces the current one.
    void Rename(const std::string& fileName, bool reload);

protected:
    struct Line {
        std::string Name;   // empty for a comment
        std::string Value;  // the comment's text for a comment
        bool Comment = false;
    };
    struct Section {
        std::string Name;
        std::vector<Line> Lines;
    };
    bool Same(const std::string& a, const std::string& b) const;
    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);
    void Load();

    std::vector<Section> FSections;  // a first unnamed section holds leading comments
    bool FCaseSensitive = false;
};

// Writes through: every change is in the file when the call returns.
class TIniFile : public TMemIniFile {
public:
    using TMemIniFile::TMemIniFile;
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
};

} // namespace rtl
