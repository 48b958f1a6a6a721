#include "platform/rtl/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace fs = std::filesystem;

namespace rtl {

bool FileExists(const std::string& fileName)
{
    struct stat st{};
    return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& dir)
{
    struct stat st{};
    return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& dir)
{
    if (dir.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(ExcludeTrailingPathDelimiter(dir)), ec);
    return DirectoryExists(dir);
}

bool CreateDir(const std::string& dir) { return ::mkdir(dir.c_str(), 0777) == 0; }
bool RemoveDir(const std::string& dir) { return ::rmdir(dir.c_str()) == 0; }
bool DeleteFile(const std::string& fileName) { return ::unlink(fileName.c_str()) == 0; }
bool RenameFile(const std::string& oldName, const std::string& newName)
{
    // Like the original, renaming onto an existing file fails.
    if (FileExists(newName) || DirectoryExists(newName)) return false;
    return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists)
{
    std::error_code ec;
    auto opt = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(from, to, opt, ec) && !ec;
}

int64_t FileSize(const std::string& fileName)
{
    struct stat st{};
    if (::stat(fileName.c_str(), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

static TDateTime LocalFromUnix(time_t t)
{
    std::tm tmLocal{};
    localtime_r(&t, &tmLocal);
    return EncodeDate(tmLocal.tm_year + 1900, tmLocal.tm_mon + 1, tmLocal.tm_mday) +
           EncodeTime(tmLocal.tm_hour, tmLocal.tm_min, tmLocal.tm_sec, 0);
}

TDateTime FileDateTime(const std::string& fileName)
{
    struct stat st{};
    if (::stat(fileName.c_str(), &st) != 0) return 0;
    return LocalFromUnix(st.st_mtime);
}

std::string ExtractFilePath(std::string_view fileName)
{
    auto p = fileName.rfind(PathDelim);
    return p == std::string_view::npos ? std::string() : std::string(fileName.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view fileName)
{
    auto p = fileName.rfind(PathDelim);
    if (p == std::string_view::npos) return {};
    if (p == 0) return "/";
    return std::string(fileName.substr(0, p));
}

std::string ExtractFileName(std::string_view fileName)
{
    auto p = fileName.rfind(PathDelim);
    return std::string(p == std::string_view::npos ? fileName : fileName.substr(p + 1));
}

std::string ExtractFileExt(std::string_view fileName)
{
    auto slash = fileName.rfind(PathDelim);
    auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view ext)
{
    std::string cur = ExtractFileExt(fileName);
    return std::string(fileName.substr(0, fileName.size() - cur.size())) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path)
{
    std::string r(path);
    if (r.empty() || r.back() != PathDelim) r += PathDelim;
    return r;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path)
{
    std::string r(path);
    while (r.size() > 1 && r.back() == PathDelim) r.pop_back();
    return r;
}

std::string ExpandFileName(std::string_view fileName)
{
    fs::path p(fileName);
    if (p.is_relative()) p = fs::current_path() / p;
    return p.lexically_normal().string();
}

std::string GetCurrentDir()
{
    std::error_code ec;
    return fs::current_path(ec).string();
}

std::string ExecutableDir()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return IncludeTrailingPathDelimiter(GetCurrentDir());
    buf[n] = 0;
    return ExtractFilePath(std::string(buf));
}

std::string ExecutableFileName()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    buf[n] = 0;
    return std::string(buf);
}

std::string TempDir()
{
    const char* t = std::getenv("TMPDIR");
    return IncludeTrailingPathDelimiter(t && *t ? t : "/tmp");
}

std::string CreateTempFile(std::string_view folder, std::string_view prefix)
{
    std::string dir = folder.empty() ? TempDir() : IncludeTrailingPathDelimiter(folder);
    std::string tmpl = dir + std::string(prefix) + "XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back(0);
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw EFCreateError("Cannot create file \"" + tmpl + "\". " + std::strerror(errno));
    ::close(fd);
    return std::string(name.data());
}

bool MatchesMask(std::string_view name, std::string_view mask)
{
    // Iterative wildcard match with back-tracking to the last "*".
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    auto eq = [](char a, char b) {
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
        return a == b;
    };
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || eq(mask[m], name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    // "*.*" matches names without a dot too, as on the original platform.
    if (m < mask.size() && mask.substr(m) == ".*") return true;
    return m == mask.size();
}

namespace {
struct FindState {
    std::string dir;
    std::vector<std::string> names;
    std::size_t next = 0;
    int attr = 0;
};

bool FillRec(FindState& st, TSearchRec& rec)
{
    while (st.next < st.names.size()) {
        const std::string& name = st.names[st.next++];
        std::string full = st.dir + name;
        struct stat s{};
        if (::stat(full.c_str(), &s) != 0) continue;
        int a = 0;
        if (S_ISDIR(s.st_mode)) a |= faDirectory;
        if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= faHidden;
        if (::access(full.c_str(), W_OK) != 0) a |= faReadOnly;
        if (!S_ISDIR(s.st_mode)) a |= faArchive;
        if ((a & faDirectory) && !(st.attr & faDirectory)) continue;
        if ((a & faHidden) && !(st.attr & faHidden)) continue;
        rec.Name = name;
        rec.Size = static_cast<int64_t>(s.st_size);
        rec.Attr = a;
        rec.Time = LocalFromUnix(s.st_mtime);
        return true;
    }
    return false;
}
} // namespace

int FindFirst(const std::string& path, int attr, TSearchRec& rec)
{
    auto st = std::make_shared<FindState>();
    st->dir = ExtractFilePath(path);
    std::string mask = ExtractFileName(path);
    st->attr = attr;
    DIR* d = ::opendir(st->dir.empty() ? "." : st->dir.c_str());
    if (!d) return ENOENT;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (MatchesMask(name, mask)) st->names.push_back(name);
    }
    ::closedir(d);
    std::sort(st->names.begin(), st->names.end());
    rec.FindHandle = st;
    return FillRec(*st, rec) ? 0 : ENOENT;
}

int FindNext(TSearchRec& rec)
{
    auto st = std::static_pointer_cast<FindState>(rec.FindHandle);
    if (!st) return ENOENT;
    return FillRec(*st, rec) ? 0 : ENOENT;
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }

std::vector<std::string> ListFiles(const std::string& dir, std::string_view mask, bool withDirs)
{
    std::vector<std::string> out;
    TSearchRec rec;
    int attr = faAnyFile & ~(withDirs ? 0 : faDirectory);
    std::string base = IncludeTrailingPathDelimiter(dir);
    if (FindFirst(base + std::string(mask), attr, rec) == 0) {
        do {
            if (rec.Name == "." || rec.Name == "..") continue;
            if ((rec.Attr & faDirectory) && !withDirs) continue;
            out.push_back(rec.Name);
        } while (FindNext(rec) == 0);
    }
    FindClose(rec);
    return out;
}

std::string ReadFileBytes(const std::string& fileName)
{
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::string data;
    char buf[65536];
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            throw EReadError("Cannot read file \"" + fileName + "\". " + std::strerror(err));
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

void WriteFileAtomic(const std::string& fileName, std::string_view bytes)
{
    std::string dir = ExtractFilePath(fileName);
    std::string tmpl = dir + "." + ExtractFileName(fileName) + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back(0);
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(name.data());
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(err));
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    // Keep the permissions of the file we replace; new files get the usual
    // mode under the user's umask.
    struct stat st{};
    if (::stat(fileName.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(name.data());
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(err));
    }
    if (::rename(name.data(), fileName.c_str()) != 0) {
        int err = errno;
        ::unlink(name.data());
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(err));
    }
}

} // namespace rtl
