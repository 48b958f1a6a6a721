// The standard security handler (revision 3, 128-bit key) and the PDF
// string encodings.

#include "reportout/qlrPDFSecurity.h"

#include <cstring>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Strings.h"
#include "reportout/qlrRC4.h"
#include "reportout/qlrmd5.h"

namespace qlr {

namespace {

// The padding string of the PDF standard security handler.
constexpr uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::array<uint8_t, 16> Md5(const std::vector<uint8_t>& bytes)
{
    std::array<uint8_t, 16> out{};
    MD5OfBuffer(bytes.data(), bytes.size(), out.data());
    return out;
}

template <std::size_t N> void Rc4(const uint8_t* key, int keyLength, std::array<uint8_t, N>& data)
{
    TqlrRC4 rc4;
    rc4.Start(key, keyLength);
    rc4.Crypt(data.data(), data.data(), N);
}

// Twenty RC4 passes: the key itself, then the key XOR 1 .. 19.
template <std::size_t N> void Rc4Twenty(const std::array<uint8_t, 16>& key, std::array<uint8_t, N>& data)
{
    for (int i = 0; i <= 19; ++i) {
        std::array<uint8_t, 16> k;
        for (int b = 0; b < 16; ++b) k[b] = static_cast<uint8_t>(key[b] ^ i);
        Rc4(k.data(), 16, data);
    }
}

} // namespace

int32_t PermissionValue(TqlrPDFEncBits flags)
{
    int32_t p = -64;
    if (flags.Contains(TqlrPDFEncBit::ePrint)) p += 4;
    if (flags.Contains(TqlrPDFEncBit::eModify)) p += 8;
    if (flags.Contains(TqlrPDFEncBit::eCopy)) p += 16;
    if (flags.Contains(TqlrPDFEncBit::eAnnot)) p += 32;
    return p;
}

std::array<uint8_t, 32> PadPassword(std::string_view password)
{
    std::array<uint8_t, 32> out{};
    const std::size_t n = std::min<std::size_t>(password.size(), 32);
    std::memcpy(out.data(), password.data(), n);
    std::memcpy(out.data() + n, kPadding, 32 - n);
    return out;
}

std::string EscapePDFString(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\n': s += "\\n"; break;
        case '\r': s += "\\r"; break;
        case '(': s += "\\("; break;
        case ')': s += "\\)"; break;
        case '\\': s += "\\\\"; break;
        default: s += c; break;
        }
    }
    return s;
}

std::string UnicodeToPDFHex(std::u16string_view text)
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string s = "FEFF";
    for (char16_t u : text)
        for (int shift = 12; shift >= 0; shift -= 4) s += kDigits[(u >> shift) & 15];
    return s;
}

// ---------------------------------------------------------- TPDFSecurity

void TPDFSecurity::Reset()
{
    FProtected = false;
    FOPass.fill(0);
    FUPass.fill(0);
    FEncKey.fill(0);
}

void TPDFSecurity::Prepare(const std::string& userPassword, std::string& ownerPassword, int32_t permissions,
                           std::string_view fileId)
{
    if (ownerPassword.empty()) ownerPassword = userPassword;
    FP = permissions;
    FProtected = true;

    // Owner entry.
    const std::array<uint8_t, 32> ownerPad = PadPassword(ownerPassword), userPad = PadPassword(userPassword);
    std::array<uint8_t, 16> h = Md5({ownerPad.begin(), ownerPad.end()});
    for (int i = 0; i < 50; ++i) h = Md5({h.begin(), h.end()});
    std::array<uint8_t, 32> o = userPad;
    Rc4Twenty(h, o);
    FOPass = o;

    // File key.
    uint8_t id[16] = {};
    for (std::size_t i = 0; i < 16 && 2 * i + 1 < fileId.size(); ++i)
        id[i] = static_cast<uint8_t>(HexValue(fileId[2 * i]) << 4 | HexValue(fileId[2 * i + 1]));
    std::vector<uint8_t> in(userPad.begin(), userPad.end());
    in.insert(in.end(), FOPass.begin(), FOPass.end());
    for (int b = 0; b < 4; ++b) in.push_back(static_cast<uint8_t>(static_cast<uint32_t>(FP) >> (8 * b)));
    in.insert(in.end(), id, id + 16);
    h = Md5(in);
    for (int i = 0; i < 50; ++i) h = Md5({h.begin(), h.end()});
    FEncKey = h;

    // User entry: 16 checked bytes, then 16 zero bytes.
    std::vector<uint8_t> x(kPadding, kPadding + 32);
    x.insert(x.end(), id, id + 16);
    std::array<uint8_t, 16> u = Md5(x);
    Rc4Twenty(FEncKey, u);
    FUPass.fill(0);
    std::memcpy(FUPass.data(), u.data(), 16);
}

std::array<uint8_t, 16> TPDFSecurity::ObjectKey(int objectNumber) const
{
    std::vector<uint8_t> in(FEncKey.begin(), FEncKey.end());
    for (int b = 0; b < 3; ++b) in.push_back(static_cast<uint8_t>(static_cast<uint32_t>(objectNumber) >> (8 * b)));
    in.push_back(0);
    in.push_back(0);
    return Md5(in);
}

std::string TPDFSecurity::Encrypt(std::string_view bytes, int objectNumber) const
{
    const std::array<uint8_t, 16> key = ObjectKey(objectNumber);
    TqlrRC4 rc4;
    rc4.Start(key.data(), 16);
    std::string out(bytes);
    rc4.Crypt(reinterpret_cast<const uint8_t*>(bytes.data()), reinterpret_cast<uint8_t*>(out.data()), out.size());
    return out;
}

void TPDFSecurity::EncryptPDFStream(rtl::TStream& source, rtl::TStream& target, int objectNumber) const
{
    std::string bytes(static_cast<std::size_t>(source.Size() - source.Position()), '\0');
    if (!bytes.empty()) source.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    const std::string out = Encrypt(bytes, objectNumber);
    if (!out.empty()) target.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

std::string TPDFSecurity::EncryptPDFString(std::string_view text, int objectNumber) const
{
    return EscapePDFString(FProtected ? Encrypt(text, objectNumber) : std::string(text));
}

std::string TPDFSecurity::PDFInfoString(std::string_view text, int objectNumber) const
{
    if (FProtected) {
        // UTF-16BE with its byte-order mark, so that no character is lost.
        std::string bytes = "\xFE\xFF";
        for (char16_t c : rtl::UTF8ToUTF16(text)) {
            bytes += static_cast<char>(c >> 8);
            bytes += static_cast<char>(c & 0xFF);
        }
        return "(" + EncryptPDFString(bytes, objectNumber) + ")";
    }
    return "<" + UnicodeToPDFHex(rtl::UTF8ToUTF16(text)) + ">";
}

std::string TPDFSecurity::EncryptDictionary() const
{
    auto bytes = [](const std::array<uint8_t, 32>& a) { return std::string(a.begin(), a.end()); };
    return "/Encrypt <<\r\n/Filter /Standard\r\n/V 2\r\n/R 3\r\n/Length 128\r\n/P " + std::to_string(FP) +
           "\r\n/O (" + EscapePDFString(bytes(FOPass)) + ")\r\n/U (" + EscapePDFString(bytes(FUPass)) +
           ")\r\n>>\r\n";
}

} // namespace qlr
