// The PDF export's ciphers against their published test vectors, the
// standard security handler's entries checked by undoing them, and the
// string encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reportout/qlrPDFSecurity.h"
#include "reportout/qlrRC4.h"
#include "reportout/qlrmd5.h"

using namespace qlr;

namespace {

std::string Hex(const uint8_t* p, std::size_t n)
{
    static const char* const d = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

std::string Rc4Hex(const std::string& key, const std::string& plain)
{
    TqlrRC4 rc4;
    rc4.Start(reinterpret_cast<const uint8_t*>(key.data()), static_cast<int>(key.size()));
    std::vector<uint8_t> out(plain.size());
    rc4.Crypt(reinterpret_cast<const uint8_t*>(plain.data()), out.data(), out.size());
    return Hex(out.data(), out.size());
}

// Undoes twenty RC4 passes keyed with key XOR 19 .. 0.
template <std::size_t N> std::array<uint8_t, N> UndoTwenty(const std::array<uint8_t, 16>& key, std::array<uint8_t, N> d)
{
    for (int i = 19; i >= 0; --i) {
        std::array<uint8_t, 16> k;
        for (int b = 0; b < 16; ++b) k[b] = static_cast<uint8_t>(key[b] ^ i);
        TqlrRC4 rc4;
        rc4.Start(k.data(), 16);
        rc4.Crypt(d.data(), d.data(), N);
    }
    return d;
}

std::array<uint8_t, 16> Md5Of(const std::vector<uint8_t>& v)
{
    std::array<uint8_t, 16> out{};
    MD5OfBuffer(v.data(), v.size(), out.data());
    return out;
}

} // namespace

TEST(PdfCiphers, Md5OfTheReferenceSuite)
{
    // The test suite of the MD5 definition.
    const std::pair<std::string, std::string> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : cases) EXPECT_EQ(MD5HexOfText(text), digest) << text;

    // Fed in pieces across block boundaries: the same digest.
    TqlrMD5 md5;
    const std::string s = cases[6].first;
    md5.Update(s.data(), 7);
    md5.Update(s.data() + 7, 60);
    md5.Update(s.data() + 67, s.size() - 67);
    md5.Finalize();
    EXPECT_EQ(Hex(md5.Digest(), 16), cases[6].second);
    EXPECT_EQ(DigestToHex(md5.Digest()), "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(PdfCiphers, Rc4KnownAnswers)
{
    EXPECT_EQ(Rc4Hex("Key", "Plaintext"), "bbf316e8d940af0ad3");
    EXPECT_EQ(Rc4Hex("Wiki", "pedia"), "1021bf0420");
    EXPECT_EQ(Rc4Hex("Secret", "Attack at dawn"), "45a01f645fc35b383552544b9bf5");
    // RFC 6229, the 40-bit key 0102030405: the first 16 keystream bytes.
    EXPECT_EQ(Rc4Hex("\x01\x02\x03\x04\x05", std::string(16, '\0')), "b2396305f03dc027ccc3524a0a1118a8");

    // Each Crypt starts the keystream afresh; a bad key length keeps the state.
    TqlrRC4 rc4;
    rc4.Start(reinterpret_cast<const uint8_t*>("Key"), 3);
    uint8_t a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
    rc4.Crypt(a, a, 3);
    rc4.Start(reinterpret_cast<const uint8_t*>("Other"), 0);
    std::vector<uint8_t> big(300, 1);
    rc4.Start(big.data(), 257);
    rc4.Crypt(b, b, 3);
    EXPECT_EQ(Hex(a, 3), Hex(b, 3));
}

TEST(PdfSecurity, PermissionsPaddingAndEncodings)
{
    EXPECT_EQ(PermissionValue({}), -64);
    EXPECT_EQ(PermissionValue(AllPermissions()), -4);
    EXPECT_EQ(PermissionValue({TqlrPDFEncBit::ePrint}), -60);

    const auto pad = PadPassword("");
    EXPECT_EQ(Hex(pad.data(), 32), "28bf4e5e4e758a4164004e56fffa01082e2e00b6d0683e802f0ca9fe6453697a");
    const auto abc = PadPassword("abc");
    EXPECT_EQ(Hex(abc.data(), 5), "61626328bf");
    EXPECT_EQ(abc[31], pad[28]);
    const auto longer = PadPassword(std::string(40, 'x'));
    EXPECT_EQ(longer[31], 'x');

    EXPECT_EQ(EscapePDFString("a(b)c\\d\ne\rf"), "a\\(b\\)c\\\\d\\ne\\rf");
    EXPECT_EQ(UnicodeToPDFHex(u"A\u00e9\u20ac"), "FEFF004100E920AC");
}

TEST(PdfSecurity, EntriesUndoToTheirInputs)
{
    const std::string id = "0123456789abcdef0123456789ABCDEF";
    TPDFSecurity sec;
    std::string owner;
    sec.Prepare("user", owner, -4, id);
    EXPECT_EQ(owner, "user");   // the owner password took the user password
    EXPECT_TRUE(sec.Protected());

    // O: twenty passes under the owner key over the padded user password.
    const auto ownerPad = PadPassword("user");
    std::array<uint8_t, 16> h = Md5Of({ownerPad.begin(), ownerPad.end()});
    for (int i = 0; i < 50; ++i) h = Md5Of({h.begin(), h.end()});
    EXPECT_EQ(UndoTwenty(h, sec.OwnerEntry()), PadPassword("user"));

    // U: its first half undoes to the digest of the padding and the identifier;
    // its second half is zero.
    const auto padding = PadPassword("");
    std::vector<uint8_t> x(padding.begin(), padding.end());
    const uint8_t idBytes[16] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};
    x.insert(x.end(), idBytes, idBytes + 16);
    std::array<uint8_t, 16> u{};
    std::copy_n(sec.UserEntry().begin(), 16, u.begin());
    EXPECT_EQ(UndoTwenty(sec.FileKey(), u), Md5Of(x));
    for (int i = 16; i < 32; ++i) EXPECT_EQ(sec.UserEntry()[i], 0);

    // Only an owner password: the key comes from the empty user password.
    TPDFSecurity other;
    std::string secret = "secret";
    other.Prepare("", secret, -4, id);
    EXPECT_EQ(secret, "secret");
    EXPECT_NE(other.FileKey(), sec.FileKey());

    // Object keys differ per object; strings round-trip through RC4.
    EXPECT_NE(sec.ObjectKey(1), sec.ObjectKey(2));
    const std::string enc = sec.Encrypt("Title", 7);
    EXPECT_NE(enc, "Title");
    EXPECT_EQ(sec.Encrypt(enc, 7), "Title");
    // Encrypted strings and entries escape their parentheses.
    for (int n = 1; n < 400; ++n) {
        const std::string raw = sec.Encrypt("((((((((", n);
        const std::string esc = sec.EncryptPDFString("((((((((", n);
        if (raw.find('(') != std::string::npos) {
            EXPECT_NE(esc.find("\\("), std::string::npos);
            break;
        }
    }
    const std::string dict = sec.EncryptDictionary();
    EXPECT_EQ(dict.rfind("/Encrypt <<\r\n/Filter /Standard\r\n/V 2\r\n/R 3\r\n/Length 128\r\n/P -4\r\n/O (", 0), 0u);
    EXPECT_EQ(dict.substr(dict.size() - 7), ")\r\n>>\r\n");
}

TEST(PdfSecurity, InformationStrings)
{
    TPDFSecurity plain;
    EXPECT_EQ(plain.PDFInfoString("Sonnenfinsternis \xE2\x82\xAC", 3),
              "<FEFF0053006F006E006E0065006E00660069006E0073007400650072006E0069007300" "2020AC>");
    TPDFSecurity sec;
    std::string owner;
    sec.Prepare("", owner, -4, "00000000000000000000000000000000");
    const std::string s = sec.PDFInfoString("Caf\xC3\xA9", 3);
    ASSERT_EQ(s.front(), '(');
    ASSERT_EQ(s.back(), ')');
    // The text is encrypted as UTF-16BE with its byte-order mark.
    const std::string body = s.substr(1, s.size() - 2);
    std::string raw;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            raw += body[i];
            continue;
        }
        const char c = body[++i];
        raw += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    EXPECT_EQ(raw, sec.Encrypt(std::string("\xFE\xFF\0C\0a\0f\0\xE9", 10), 3));
}
