// Version records of programs.  A program installs its record beside its
// executable as "<executable>.version" ("te" -> "te.version"), a UTF-8 text
// file of "Name=Value" lines:
//
//   FileVersion=4.2.0.117           the twelve string values, by name:
//   ProductName=...                 CompanyName, FileDescription, FileVersion,
//   ...                             InternalName, LegalCopyRight,
//                                   LegalTradeMarks, OriginalFileName,
//                                   ProductName, ProductVersion, Comments,
//                                   SpecialBuild, PrivateBuild
//   FileFlagsMask=0x3F              the fixed record (decimal or 0x hex):
//   FileFlags=0                     flag mask, flags, file type, subtype
//   FileType=1
//   FileSubtype=0
//
// Blank lines and lines starting with "#" are ignored; names are matched
// without regard to ASCII case.  The fixed record counts as present when
// any of its four numbers is given.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace sys {

class TVersionRecord {
public:
    std::map<std::string, std::string> Strings;  // keys in the case of the file
    bool HasFixedRecord = false;
    uint32_t FileFlagsMask = 0;
    uint32_t FileFlags = 0;
    uint32_t FileType = 0;
    uint32_t FileSubtype = 0;

    // The string value of that name (ASCII case ignored); "" when absent.
    std::string Value(const std::string& name) const;

    // The name of the record file of an executable.
    static std::string RecordFileOf(const std::string& executable);
    // Reads the record installed beside the executable; false (and an
    // empty record) when there is none or it cannot be read.
    static bool Read(const std::string& executable, TVersionRecord& record);
    // Parses the text of a record file.
    static TVersionRecord Parse(const std::string& text);
};

// What the file browser would say about a file.
class TFileKind {
public:
    // A regular file the user may execute.
    static bool IsExecutable(const std::string& fileName);
    // A short type name: "Application" for executables, "Folder" for
    // folders, "<EXT> File" for other files with an extension, "File"
    // otherwise; "" when the file does not exist.
    static std::string TypeName(const std::string& fileName);
};

} // namespace sys
