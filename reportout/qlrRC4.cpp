// RC4: the key schedule and the keystream.

#include "reportout/qlrRC4.h"

#include <utility>

namespace qlr {

void TqlrRC4::Start(const uint8_t* key, int length)
{
    if (length < 1 || length > 256) return;
    for (int i = 0; i < 256; ++i) FKey[i] = static_cast<uint8_t>(i);
    uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<uint8_t>(j + FKey[i] + key[i % length]);
        std::swap(FKey[i], FKey[j]);
    }
}

void TqlrRC4::Crypt(const uint8_t* source, uint8_t* target, std::size_t length) const
{
    uint8_t s[256];
    for (int k = 0; k < 256; ++k) s[k] = FKey[k];
    uint8_t i = 0, j = 0;
    for (std::size_t n = 0; n < length; ++n) {
        i = static_cast<uint8_t>(i + 1);
        j = static_cast<uint8_t>(j + s[i]);
        std::swap(s[i], s[j]);
        target[n] = source[n] ^ s[static_cast<uint8_t>(s[i] + s[j])];
    }
}

} // namespace qlr
