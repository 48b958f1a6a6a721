#include "platform/sys/RemovableMedia.h"

#include <filesystem>

namespace sys {

namespace fs = std::filesystem;

namespace {

// An absolute, link-free form of the path as far as it exists.
std::string Resolved(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) p = fs::path(path).lexically_normal();
    std::string s = p.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

} // namespace

std::vector<std::string> TRemovableMedia::DefaultRoots()
{
    return {"/media", "/run/media"};
}

TRemovableMedia::TRemovableMedia(std::vector<std::string> roots)
{
    for (auto& r : roots)
        if (!r.empty()) FRoots.push_back(Resolved(r));
}

bool TRemovableMedia::Holds(const std::string& path) const
{
    if (path.empty()) return false;
    std::string p = Resolved(path);
    for (const auto& root : FRoots) {
        std::string prefix = root == "/" ? root : root + "/";
        if (p.size() > prefix.size() && p.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

} // namespace sys
