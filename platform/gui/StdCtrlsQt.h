// Private to the standard controls' sources of platform/gui: small helpers
// shared by their files (text in and out of messages, the native widget).
#pragma once

#include <QString>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gui/ControlsQt.h"

namespace gui::stdctrls {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

template <class W>
W* NativeOf(const TWinControl* c)
{
    return static_cast<W*>(ControlAccess::Widget(c));
}

// Copies UTF-8 text with its terminating zero into a caller's buffer.
inline LRESULT CopyOut(const std::string& s, LPARAM buffer, std::size_t size)
{
    if (!buffer) return static_cast<LRESULT>(s.size());
    auto* out = reinterpret_cast<char*>(buffer);
    const std::size_t n = size ? std::min(s.size(), size - 1) : s.size();
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

inline std::string TextArg(LPARAM l) { return l ? std::string(reinterpret_cast<const char*>(l)) : std::string(); }

} // namespace gui::stdctrls
