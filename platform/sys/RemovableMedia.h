// Whether a file lies on removable media.  Desktop Linux mounts USB sticks
// and memory cards under /media/<user>/... or /run/media/<user>/..., so a
// path below one of those mount roots counts as removable.  The roots can be
// given for tests.
#pragma once

#include <string>
#include <vector>

namespace sys {

class TRemovableMedia {
public:
    // The mount roots of removable media: /media and /run/media.
    static std::vector<std::string> DefaultRoots();

    TRemovableMedia() : TRemovableMedia(DefaultRoots()) {}
    explicit TRemovableMedia(std::vector<std::string> roots);

    // True when path (after resolving symbolic links and "..") lies strictly
    // below one of the roots.
    bool Holds(const std::string& path) const;

    const std::vector<std::string>& Roots() const { return FRoots; }

private:
    std::vector<std::string> FRoots;
};

} // namespace sys
