// ZipArchive: reading and writing zip containers with zlib.
#include "gridio/ZipArchive.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/rtl/Exceptions.h"

namespace gridio {

namespace {

[[noreturn]] void NotZip() { throw rtl::Exception("Not a zip archive"); }

uint32_t U16(const std::string& b, size_t at)
{
    if (at + 2 > b.size()) NotZip();
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

void Put16(std::string& b, uint32_t v)
{
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

std::string Inflate(const std::string& data, size_t expected)
{
    // Deflate packs at most 1032 bytes into one; a size beyond that is a
    // damaged header, refused before the room for it is taken.
    if (expected > data.size() * 1032 + 64) NotZip();
    std::string out(expected, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) NotZip();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (rc != Z_STREAM_END || z.total_out != expected) NotZip();
    return out;
}

std::string Deflate(const std::string& data)
{
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace

std::string ReadWholeFile(const std::string& fileName)
{
    std::ifstream f(fileName, std::ios::binary);
    if (!f) throw rtl::Exception("Cannot open file " + fileName);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& fileName, const std::string& bytes)
{
    std::ofstream f(fileName, std::ios::binary | std::ios::trunc);
    if (!f) throw rtl::Exception("Cannot create file " + fileName);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw rtl::Exception("Cannot write file " + fileName);
}

void TZipArchive::LoadFromBytes(const std::string& b)
{
    if (b.size() < 22) NotZip();
    size_t eocd = std::string::npos;
    for (size_t i = b.size() - 22 + 1; i-- > 0 && b.size() - i <= 22 + 65535;)
        if (U32(b, i) == 0x06054b50) {
            eocd = i;
            break;
        }
    if (eocd == std::string::npos) NotZip();
    const uint32_t count = U16(b, eocd + 10);
    size_t at = U32(b, eocd + 16);
    std::vector<std::pair<std::string, std::string>> entries;
    for (uint32_t i = 0; i < count; ++i) {
        if (U32(b, at) != 0x02014b50) NotZip();
        const uint32_t method = U16(b, at + 10), csize = U32(b, at + 20), usize = U32(b, at + 24);
        const uint32_t nlen = U16(b, at + 28), xlen = U16(b, at + 30), clen = U16(b, at + 32);
        const uint32_t local = U32(b, at + 42);
        if (at + 46 + nlen > b.size()) NotZip();
        std::string name = b.substr(at + 46, nlen);
        at += 46 + nlen + xlen + clen;
        if (U32(b, local) != 0x04034b50) NotZip();
        const size_t data = local + 30 + U16(b, local + 26) + U16(b, local + 28);
        if (data + csize > b.size()) NotZip();
        const std::string raw = b.substr(data, csize);
        if (method == 0) entries.emplace_back(name, raw);
        else if (method == 8) entries.emplace_back(name, Inflate(raw, usize));
        else NotZip();
    }
    FEntries = std::move(entries);
}

void TZipArchive::LoadFromFile(const std::string& fileName) { LoadFromBytes(ReadWholeFile(fileName)); }

std::string TZipArchive::SaveToBytes() const
{
    std::string out, central;
    for (const auto& [name, data] : FEntries) {
        const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
        const std::string packed = Deflate(data);
        const uint32_t offset = static_cast<uint32_t>(out.size());
        auto common = [&](std::string& h) {
            Put16(h, 20);          // version needed
            Put16(h, 0x0800);      // UTF-8 names
            Put16(h, 8);           // deflated
            Put16(h, 0);           // time
            Put16(h, (2020 - 1980) << 9 | 1 << 5 | 1);  // date
            Put32(h, crc);
            Put32(h, static_cast<uint32_t>(packed.size()));
            Put32(h, static_cast<uint32_t>(data.size()));
            Put16(h, static_cast<uint32_t>(name.size()));
            Put16(h, 0);  // extra
        };
        Put32(out, 0x04034b50);
        common(out);
        out += name;
        out += packed;
        Put32(central, 0x02014b50);
        Put16(central, 20);  // made by
        common(central);
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, 0);  // external attributes
        Put32(central, offset);
        central += name;
    }
    const uint32_t dirAt = static_cast<uint32_t>(out.size());
    out += central;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(FEntries.size()));
    Put16(out, static_cast<uint32_t>(FEntries.size()));
    Put32(out, static_cast<uint32_t>(central.size()));
    Put32(out, dirAt);
    Put16(out, 0);
    return out;
}

void TZipArchive::SaveToFile(const std::string& fileName) const { WriteWholeFile(fileName, SaveToBytes()); }

bool TZipArchive::Has(const std::string& name) const
{
    for (const auto& e : FEntries)
        if (e.first == name) return true;
    return false;
}

std::string TZipArchive::Get(const std::string& name) const
{
    for (const auto& e : FEntries)
        if (e.first == name) return e.second;
    return {};
}

void TZipArchive::Set(const std::string& name, const std::string& data)
{
    for (auto& e : FEntries)
        if (e.first == name) {
            e.second = data;
            return;
        }
    FEntries.emplace_back(name, data);
}

} // namespace gridio
