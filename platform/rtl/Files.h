// Files and folders.  "/" is the path delimiter; paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/DateTime.h"

namespace rtl {

constexpr char PathDelim = '/';

bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& dir);
// Creates dir and any missing parents; true when the folder exists after.
bool ForceDirectories(const std::string& dir);
bool CreateDir(const std::string& dir);
bool RemoveDir(const std::string& dir);
bool DeleteFile(const std::string& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);
// Copies a file; with failIfExists an existing target is left alone and
// false is returned.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
int64_t FileSize(const std::string& fileName);  // -1 when missing
// Last modification time, local time; 0 when missing.
TDateTime FileDateTime(const std::string& fileName);

// Path pieces.  ExtractFilePath keeps the trailing delimiter; ExtractFileExt
// includes the dot ("" when there is none); ChangeFileExt replaces or adds.
std::string ExtractFilePath(std::string_view fileName);
std::string ExtractFileDir(std::string_view fileName);
std::string ExtractFileName(std::string_view fileName);
std::string ExtractFileExt(std::string_view fileName);
std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
// An absolute, normalised path (relative names against the current folder).
std::string ExpandFileName(std::string_view fileName);
std::string GetCurrentDir();
// The folder of the running executable, with a trailing delimiter.
std::string ExecutableDir();
// The full file name of the running executable.
std::string ExecutableFileName();
std::string TempDir();
// Creates a new, uniquely named empty file whose name begins with prefix in
// folder (TempDir() when folder is empty) and returns its full name.  The
// caller deletes it.  Failure raises EFCreateError naming the folder.
std::string CreateTempFile(std::string_view folder, std::string_view prefix);

// Wildcard match of a file name against "*" and "?" (ASCII case ignored,
// as file masks are matched on the original platform).
bool MatchesMask(std::string_view name, std::string_view mask);

// Attributes of a found file.
enum : int { faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faDirectory = 0x10,
             faArchive = 0x20, faAnyFile = 0x3F };

struct TSearchRec {
    std::string Name;     // file name without folder
    int64_t Size = 0;
    int Attr = 0;
    TDateTime Time = 0;   // modification time, local
    // Iteration state.
    std::shared_ptr<void> FindHandle;
};

// Lists the entries of a folder matching a mask ("dir/*.map").  Returns 0
// when an entry was found, non-zero otherwise.  Entries are returned in
// name order; "." and ".." are included for faDirectory searches, as on
// the original platform, only when they match.
int FindFirst(const std::string& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// The same as a plain list: names (without folder) of the files in dir that
// match mask, sorted; folders only when withDirs.
std::vector<std::string> ListFiles(const std::string& dir, std::string_view mask,
                                   bool withDirs = false);

// Reads or writes a whole file as bytes.  Failures raise EFOpenError or
// EFCreateError naming the file.
std::string ReadFileBytes(const std::string& fileName);
// Writes through a temporary file in the same folder that is renamed over
// the target, so readers never see a half-written file.
void WriteFileAtomic(const std::string& fileName, std::string_view bytes);

} // namespace rtl
