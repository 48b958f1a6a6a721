// The RC4 stream cipher, as the PDF export's standard security handler
// uses it: a key schedule, then the keystream XORed over a buffer.
//
// The rule a caller must know: each Crypt starts the keystream afresh from
// the permutation that Start left, so Start once per message.
//
//     TqlrRC4 rc4;
//     rc4.Start(key, 16);
//     rc4.Crypt(data, data, length);   // in place
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/rtl/Classes.h"

namespace qlr {

class TqlrRC4 : public rtl::TObject {
public:
    // Does nothing for a length below 1 or above 256.
    void Start(const uint8_t* key, int length);
    // source and target may be the same buffer.
    void Crypt(const uint8_t* source, uint8_t* target, std::size_t length) const;

private:
    uint8_t FKey[256] = {};
};

} // namespace qlr
