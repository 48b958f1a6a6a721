// The MD5 message digest, for the PDF export's keys and identifiers.
//
//     TqlrMD5 md5;
//     md5.Update(data, length);
//     md5.Finalize();
//     const uint8_t* digest = md5.Digest();   // 16 bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Classes.h"

namespace qlr {

class TqlrMD5 : public rtl::TObject {
public:
    TqlrMD5() { Init(); }
    void Init();
    void Update(const void* data, std::size_t length);
    // Completes the digest, then clears state, count and buffer.
    void Finalize();
    const uint8_t* Digest() const { return m_Digest; }

private:
    void Transform(const uint8_t* block);

    uint32_t m_State[4] = {};
    uint32_t m_Count[2] = {};   // message length in bits, low word first
    uint8_t m_Buffer[64] = {};
    uint8_t m_Digest[16] = {};
};

void MD5OfBuffer(const void* data, std::size_t length, uint8_t out[16]);
// Each byte as two upper-case hexadecimal digits.
std::string DigestToHex(const uint8_t digest[16]);
// The digest of an 8-bit text as 32 lower-case hexadecimal digits.
std::string MD5HexOfText(std::string_view text);

} // namespace qlr
