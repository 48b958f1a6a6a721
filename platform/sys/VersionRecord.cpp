#include "platform/sys/VersionRecord.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace sys {

std::string TVersionRecord::Value(const std::string& name) const
{
    for (const auto& [k, v] : Strings)
        if (rtl::SameText(k, name)) return v;
    return {};
}

std::string TVersionRecord::RecordFileOf(const std::string& executable)
{
    return executable + ".version";
}

TVersionRecord TVersionRecord::Parse(const std::string& text)
{
    TVersionRecord r;
    std::string body = text;
    if (body.rfind("\xEF\xBB\xBF", 0) == 0) body.erase(0, 3);
    for (const auto& raw : rtl::SplitString(body, '\n')) {
        std::string line = rtl::Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string name = rtl::Trim(line.substr(0, eq));
        std::string value = rtl::Trim(line.substr(eq + 1));
        uint32_t* number = nullptr;
        if (rtl::SameText(name, "FileFlagsMask")) number = &r.FileFlagsMask;
        else if (rtl::SameText(name, "FileFlags")) number = &r.FileFlags;
        else if (rtl::SameText(name, "FileType")) number = &r.FileType;
        else if (rtl::SameText(name, "FileSubtype")) number = &r.FileSubtype;
        if (number) {
            std::string digits = value;
            if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) digits = "$" + digits.substr(2);
            int64_t n = 0;
            if (rtl::TryStrToInt64(digits, n) && n >= 0 && n <= 0xFFFFFFFFLL) {
                *number = static_cast<uint32_t>(n);
                r.HasFixedRecord = true;
            }
        } else {
            r.Strings[name] = value;
        }
    }
    return r;
}

bool TVersionRecord::Read(const std::string& executable, TVersionRecord& record)
{
    record = TVersionRecord{};
    std::string file = RecordFileOf(executable);
    if (!rtl::FileExists(file)) return false;
    try {
        record = Parse(rtl::ReadFileBytes(file));
        return true;
    } catch (const rtl::Exception&) {
        record = TVersionRecord{};
        return false;
    }
}

bool TFileKind::IsExecutable(const std::string& fileName)
{
    struct stat st{};
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(fileName.c_str(), X_OK) == 0;
}

std::string TFileKind::TypeName(const std::string& fileName)
{
    struct stat st{};
    if (::stat(fileName.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return "Folder";
    if (IsExecutable(fileName)) return "Application";
    std::string ext = rtl::ExtractFileExt(fileName);
    if (ext.size() > 1) return rtl::UpperCase(ext.substr(1)) + " File";
    return "File";
}

} // namespace sys
