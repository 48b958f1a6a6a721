// Writes version-information blocks (the VS_VERSION_INFO tree of the
// version-resource format) from a tree of keyed nodes, in the wide layout
// (UTF-16 keys, a type word) or the narrow one (single-byte keys).  The
// build writes the program's own blob with it (see ucl_version_blob in
// CMakeLists.txt); tests build odd blobs with it.
//
//   ucl::TVersionNode root = ucl::VersionTreeOf(record, 0x0409, 0x04B0);
//   std::string blob = ucl::WriteVersionBlob(root, true);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sys/VersionRecord.h"

namespace ucl {

struct TVersionNode {
    std::string Key;            // UTF-8; written as UTF-16 in the wide layout
    uint16_t ValueType = 1;     // 1 text, 0 raw bytes
    std::string Value;          // text (UTF-8) or raw bytes
    bool ValueIsText() const { return ValueType == 1; }
    // The value length word; by default the text's characters with its
    // terminator (wide) or the raw byte count.
    int ValueLength = -1;
    std::vector<TVersionNode> Children;
};

std::string WriteVersionBlob(const TVersionNode& root, bool wide);

// "VS_VERSION_INFO" with the 52-byte fixed block from the record (versions
// from FileVersion and ProductVersion "a.b.c.d"), one string table for
// langId/codePage and the matching translation.
TVersionNode VersionTreeOf(const sys::TVersionRecord& record, uint16_t langId, uint16_t codePage);

} // namespace ucl
