// The PDF export's protection and string encodings: the standard security
// handler of revision 3 with a 128-bit key (owner and user entries, the
// file key, per-object keys), literal-string escaping, hexadecimal UTF-16
// strings and the information-dictionary strings.
//
// The rule a caller must know: an empty owner password takes the user
// password (the caller's value changes too); the identifier is 32
// hexadecimal digits read as 16 bytes.
//
//     qlr::TPDFSecurity sec;
//     std::string owner = "";
//     sec.Prepare("secret", owner, qlr::PermissionValue(qlr::AllPermissions()), fileId);
//     auto key = sec.ObjectKey(5);             // RC4 key of object 5
//     std::string s = sec.EncryptString("Title", 5);
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"

namespace qlr {

enum class TqlrPDFEncBit { ePrint, eModify, eCopy, eAnnot };
using TqlrPDFEncBits = rtl::Set<TqlrPDFEncBit, 8>;
inline TqlrPDFEncBits AllPermissions()
{
    return {TqlrPDFEncBit::ePrint, TqlrPDFEncBit::eModify, TqlrPDFEncBit::eCopy, TqlrPDFEncBit::eAnnot};
}
// P: -64 plus 4, 8, 16, 32 for print, modify, copy, annotate.
int32_t PermissionValue(TqlrPDFEncBits flags);

// The password cut to 32 bytes and completed from the standard padding.
std::array<uint8_t, 32> PadPassword(std::string_view password);

// "\n", "\r", "\(", "\)", "\\" for those bytes; every other byte as it is.
std::string EscapePDFString(std::string_view text);
// "FEFF" then each UTF-16 code unit as four upper-case hexadecimal digits.
std::string UnicodeToPDFHex(std::u16string_view text);

class TPDFSecurity {
public:
    bool Protected() const { return FProtected; }
    // Computes O, the file key and U; ownerPassword takes the user password
    // when empty.  fileId: 32 hexadecimal digits.
    void Prepare(const std::string& userPassword, std::string& ownerPassword, int32_t permissions,
                 std::string_view fileId);
    // Back to an unprotected export.
    void Reset();
    const std::array<uint8_t, 32>& OwnerEntry() const { return FOPass; }
    const std::array<uint8_t, 32>& UserEntry() const { return FUPass; }
    const std::array<uint8_t, 16>& FileKey() const { return FEncKey; }
    int32_t Permissions() const { return FP; }

    std::array<uint8_t, 16> ObjectKey(int objectNumber) const;
    // The bytes RC4-encrypted with the object's key.
    std::string Encrypt(std::string_view bytes, int objectNumber) const;
    void EncryptPDFStream(rtl::TStream& source, rtl::TStream& target, int objectNumber) const;
    // Encrypted (when protected) and escaped.
    std::string EncryptPDFString(std::string_view text, int objectNumber) const;
    // Protected: "(" encrypted UTF-16BE text with its byte-order mark ")"; otherwise
    // "<" hexadecimal UTF-16 ">".  text is UTF-8.
    std::string PDFInfoString(std::string_view text, int objectNumber) const;
    // The trailer's encryption dictionary, one entry per line (CR LF ends).
    std::string EncryptDictionary() const;

private:
    bool FProtected = false;
    int32_t FP = -4;
    std::array<uint8_t, 32> FOPass{}, FUPass{};
    std::array<uint8_t, 16> FEncKey{};
};

} // namespace qlr
