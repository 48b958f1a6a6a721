// MD5: 64-byte blocks of four rounds, the length in bits appended.

#include "reportout/qlrmd5.h"

#include <cstring>

#include "report/qlrUnicodeUtils.h"

namespace qlr {

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

} // namespace

void TqlrMD5::Init()
{
    m_State[0] = 0x67452301;
    m_State[1] = 0xefcdab89;
    m_State[2] = 0x98badcfe;
    m_State[3] = 0x10325476;
    m_Count[0] = m_Count[1] = 0;
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void TqlrMD5::Transform(const uint8_t* block)
{
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    uint32_t a = m_State[0], b = m_State[1], c = m_State[2], d = m_State[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t t = d;
        d = c;
        c = b;
        b = b + Rotl(a + f + kSine[i] + m[g], kShift[i]);
        a = t;
    }
    m_State[0] += a;
    m_State[1] += b;
    m_State[2] += c;
    m_State[3] += d;
}

void TqlrMD5::Update(const void* data, std::size_t length)
{
    const auto* p = static_cast<const uint8_t*>(data);
    std::size_t index = (m_Count[0] >> 3) & 63;
    const uint64_t bits = (uint64_t(m_Count[1]) << 32 | m_Count[0]) + uint64_t(length) * 8;
    m_Count[0] = static_cast<uint32_t>(bits);
    m_Count[1] = static_cast<uint32_t>(bits >> 32);
    for (std::size_t n = 0; n < length; ++n) {
        m_Buffer[index++] = p[n];
        if (index == 64) {
            Transform(m_Buffer);
            index = 0;
        }
    }
}

void TqlrMD5::Finalize()
{
    uint8_t length[8];
    for (int i = 0; i < 4; ++i) {
        length[i] = static_cast<uint8_t>(m_Count[0] >> (8 * i));
        length[4 + i] = static_cast<uint8_t>(m_Count[1] >> (8 * i));
    }
    const std::size_t index = (m_Count[0] >> 3) & 63;
    const std::size_t padLength = index < 56 ? 56 - index : 120 - index;
    uint8_t padding[64] = {0x80};
    Update(padding, padLength);
    Update(length, 8);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k) m_Digest[4 * i + k] = static_cast<uint8_t>(m_State[i] >> (8 * k));
    std::memset(m_State, 0, sizeof m_State);
    std::memset(m_Count, 0, sizeof m_Count);
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void MD5OfBuffer(const void* data, std::size_t length, uint8_t out[16])
{
    TqlrMD5 md5;
    md5.Update(data, length);
    md5.Finalize();
    std::memcpy(out, md5.Digest(), 16);
}

std::string DigestToHex(const uint8_t digest[16])
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < 16; ++i) {
        s += kDigits[digest[i] >> 4];
        s += kDigits[digest[i] & 15];
    }
    return s;
}

std::string MD5HexOfText(std::string_view text)
{
    uint8_t digest[16];
    MD5OfBuffer(text.data(), text.size(), digest);
    return AnsiLowerCaseASCII(DigestToHex(digest));
}

} // namespace qlr
