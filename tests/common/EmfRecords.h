// Reading enhanced metafiles back in tests: the header checked and the
// records listed, so that a test can look at what a writer produced.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tectest {

struct TEmfRecord {
    uint32_t Type = 0;
    std::vector<uint8_t> Bytes;   // the whole record, type and size included
    uint32_t U32(std::size_t offset) const
    {
        uint32_t v = 0;
        if (offset + 4 <= Bytes.size()) std::memcpy(&v, Bytes.data() + offset, 4);
        return v;
    }
    int32_t I32(std::size_t offset) const { return static_cast<int32_t>(U32(offset)); }
};

// The records of an EMF file; an empty text when it is well formed, else
// what is wrong: the header's signature, byte and record counts, record
// sizes (multiples of 4 within the file) and the end record last.
inline std::string ParseEmf(const std::vector<uint8_t>& bytes, std::vector<TEmfRecord>& records)
{
    records.clear();
    auto u32 = [&](std::size_t at) {
        uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    if (bytes.size() < 88) return "shorter than a header";
    if (u32(0) != 1) return "the first record is not the header";
    if (u32(40) != 0x464D4520) return "no EMF signature";
    if (u32(48) != bytes.size()) return "the header's byte count is not the file size";
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (at + 8 > bytes.size()) return "a record header runs past the end";
        const uint32_t type = u32(at), size = u32(at + 4);
        if (size < 8 || size % 4 || at + size > bytes.size()) return "record " + std::to_string(records.size()) + " has a bad size";
        records.push_back({type, std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                                      bytes.begin() + static_cast<std::ptrdiff_t>(at + size))});
        at += size;
    }
    if (records.back().Type != 14) return "the last record is not the end record";
    if (u32(52) != records.size()) return "the header's record count is wrong";
    return {};
}

inline int CountEmfRecords(const std::vector<TEmfRecord>& records, uint32_t type)
{
    int n = 0;
    for (const TEmfRecord& r : records) n += r.Type == type;
    return n;
}

} // namespace tectest
