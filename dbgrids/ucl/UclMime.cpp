#include "dbgrids/ucl/UclMime.h"

#include <vector>

namespace ucl {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DecodeChar(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

} // namespace

int64_t MimeEncodedLength(int64_t n)
{
    if (n <= 0) return n;
    return (n + 2) / 3 * 4 + (n - 1) / 57 * 2;
}

int64_t MimeDecodedLength(int64_t n)
{
    return (n + 3) / 4 * 3;
}

size_t MimeEncodeTail(const uint8_t* in, size_t count, char* out)
{
    size_t o = 0, i = 0;
    for (; i + 3 <= count; i += 3) {
        uint32_t b = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        out[o++] = kAlphabet[(b >> 18) & 63];
        out[o++] = kAlphabet[(b >> 12) & 63];
        out[o++] = kAlphabet[(b >> 6) & 63];
        out[o++] = kAlphabet[b & 63];
    }
    if (count - i == 1) {
        out[o++] = kAlphabet[in[i] >> 2];
        out[o++] = kAlphabet[(in[i] & 3) << 4];
        out[o++] = '=';
        out[o++] = '=';
    } else if (count - i == 2) {
        out[o++] = kAlphabet[in[i] >> 2];
        out[o++] = kAlphabet[((in[i] & 3) << 4) | (in[i + 1] >> 4)];
        out[o++] = kAlphabet[(in[i + 1] & 15) << 2];
        out[o++] = '=';
    }
    return o;
}

size_t MimeEncodeLines(const uint8_t* in, size_t count, char* out)
{
    size_t o = 0;
    for (size_t i = 0; i + 57 <= count; i += 57) o += MimeEncodeTail(in + i, 57, out + o);
    return o;
}

std::string MimeEncodeText(const std::string& s)
{
    if (s.empty()) return {};
    const auto* in = reinterpret_cast<const uint8_t*>(s.data());
    std::string out(static_cast<size_t>(MimeEncodedLength(static_cast<int64_t>(s.size()))), '\0');
    size_t o = 0;
    size_t i = 0;
    for (; i < s.size(); i += 57) {
        if (i > 0) {
            out[o++] = '\r';
            out[o++] = '\n';
        }
        size_t n = s.size() - i < 57 ? s.size() - i : 57;
        o += MimeEncodeTail(in + i, n, &out[o]);
    }
    out.resize(o);
    return out;
}

size_t MimeDecodeRun(const char* in, size_t count, uint8_t* out, uint32_t& space, uint32_t& bits)
{
    size_t o = 0;
    for (size_t i = 0; i < count; ++i) {
        int v = DecodeChar(in[i]);
        if (v < 0) continue;
        bits = (bits << 6) | static_cast<uint32_t>(v);
        if (++space == 4) {
            out[o++] = static_cast<uint8_t>(bits >> 16);
            out[o++] = static_cast<uint8_t>(bits >> 8);
            out[o++] = static_cast<uint8_t>(bits);
            bits = 0;
            space = 0;
        }
    }
    return o;
}

size_t MimeDecodeFinish(uint8_t* out, uint32_t bits, uint32_t space)
{
    if (space == 3) {
        bits >>= 2;
        out[0] = static_cast<uint8_t>(bits >> 8);
        out[1] = static_cast<uint8_t>(bits);
        return 2;
    }
    if (space == 2) {
        out[0] = static_cast<uint8_t>(bits >> 4);
        return 1;
    }
    return 0;
}

std::string MimeDecodeText(const std::string& s)
{
    std::vector<uint8_t> out(static_cast<size_t>(MimeDecodedLength(static_cast<int64_t>(s.size()))) + 3);
    uint32_t space = 0, bits = 0;
    size_t n = MimeDecodeRun(s.data(), s.size(), out.data(), space, bits);
    n += MimeDecodeFinish(out.data() + n, bits, space);
    return std::string(reinterpret_cast<const char*>(out.data()), n);
}

} // namespace ucl
