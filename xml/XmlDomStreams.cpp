// Encoding detection, conversion and buffering streams.
#include "xml/XmlDomStreams.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "xml/XmlDomTexts.h"

namespace xml {

using rtl::EStreamError;
using rtl::TSeekOrigin;

const TEncodingSignature cEncodingSignatures[15] = {
    {{0x00, 0x00, 0xFE, 0xFF}, 4, seUCS4BE, true},
    {{0xFF, 0xFE, 0x00, 0x00}, 4, seUCS4LE, true},
    {{0x00, 0x00, 0xFF, 0xFE}, 4, seUCS4_2143, true},
    {{0xFE, 0xFF, 0x00, 0x00}, 4, seUCS4_3412, true},
    {{0xFE, 0xFF, 0x00, 0x00}, 2, seUTF16BE, true},
    {{0xFF, 0xFE, 0x00, 0x00}, 2, seUTF16LE, true},
    {{0xEF, 0xBB, 0xBF, 0x00}, 3, seUTF8, true},
    {{0x00, 0x00, 0x00, 0x3C}, 4, seUCS4BE, false},
    {{0x3C, 0x00, 0x00, 0x00}, 4, seUCS4LE, false},
    {{0x00, 0x00, 0x3C, 0x00}, 4, seUCS4_2143, false},
    {{0x00, 0x3C, 0x00, 0x00}, 4, seUCS4_3412, false},
    {{0x00, 0x3C, 0x00, 0x3F}, 4, seUTF16BE, false},
    {{0x3C, 0x00, 0x3F, 0x00}, 4, seUTF16LE, false},
    {{0x3C, 0x3F, 0x78, 0x6D}, 4, seAnsi, false},
    {{0x4C, 0x6F, 0xA7, 0x94}, 4, seEBCDIC, false},
};

static bool IsUnsupported(TStringEncodingType e)
{
    return e == seUCS4BE || e == seUCS4_2143 || e == seUCS4_3412 || e == seEBCDIC;
}

[[noreturn]] static void RaiseUnsupported()
{
    throw EStreamError("Unsupported string encoding");
}

// --- TsdCodecStream --------------------------------------------------------

TsdCodecStream::TsdCodecStream(rtl::TStream* AStream) : FStream(AStream) {}

void TsdCodecStream::SetEncoding(TStringEncodingType AValue)
{
    FEncoding = AValue;
    FSwapByteOrder = AValue == se16BitBE || AValue == seUTF16BE;
    FPendingUnit = -1;
}

void TsdCodecStream::FirstRead()
{
    FMode = umRead;
    if (!FStream) throw EStreamError("Encoding stream unassigned");
    int64_t start = FStream->Position();
    uint8_t sig[4] = {0, 0, 0, 0};
    int64_t n = FStream->Read(sig, 4);
    if (n < 0) n = 0;
    const TEncodingSignature* found = nullptr;
    for (const auto& row : cEncodingSignatures) {
        int m = std::min<int>(static_cast<int>(n), row.Length);
        if (std::memcmp(sig, row.Bytes, static_cast<size_t>(m)) == 0) {
            found = &row;
            break;
        }
    }
    TStringEncodingType enc = found ? found->Encoding : seAnsi;
    bool bom = found && found->HasBom;
    if (IsUnsupported(enc)) RaiseUnsupported();
    FStream->Seek(bom ? start + found->Length : start, TSeekOrigin::soBeginning);
    SetEncoding(enc);
    FWriteBom = bom;
}

int64_t TsdCodecStream::Read(void* Buffer, int64_t Count)
{
    if (FMode == umUnknown) FirstRead();
    if (FMode == umWrite) throw EStreamError("Cannot read from a conversion stream opened for writing");
    if (Count != 1) throw EStreamError("Cannot read multiple chars from conversion stream at once");
    uint8_t b = ReadByte();
    *static_cast<uint8_t*>(Buffer) = b;
    return b == 0 ? 0 : 1;
}

uint8_t TsdCodecStream::ReadByte()
{
    return 0;
}

void TsdCodecStream::StorePrevPositions()
{
    FPosMin2 = FPosMin1;
    FPosMin1 = FStream->Position();
}

void TsdCodecStream::WriteByte(uint8_t) {}

void TsdCodecStream::WriteBuf(const uint8_t* Buffer, int64_t Count)
{
    for (int64_t i = 0; i < Count; ++i) WriteByte(Buffer[i]);
}

void TsdCodecStream::WriteRaw(const void* Buffer, int64_t Count)
{
    if (Count <= 0) return;
    if (FStream->Write(Buffer, Count) < Count) throw EStreamError("Cannot write to output stream");
}

void TsdCodecStream::FirstWrite()
{
    FMode = umWrite;
    if (!FStream) throw EStreamError("Encoding stream unassigned");
    if (IsUnsupported(FEncoding)) RaiseUnsupported();
    FWriteBom = false;
    for (const auto& row : cEncodingSignatures) {
        if (row.Encoding == FEncoding) {
            FWriteBom = row.HasBom;
            if (FWriteBom) WriteRaw(row.Bytes, row.Length);
            break;
        }
    }
    FSwapByteOrder = FEncoding == se16BitBE || FEncoding == seUTF16BE;
}

int64_t TsdCodecStream::Write(const void* Buffer, int64_t Count)
{
    if (FMode == umUnknown) FirstWrite();
    if (FMode == umRead) throw EStreamError("Cannot write to an UTF stream opened for reading");
    WriteBuf(static_cast<const uint8_t*>(Buffer), Count);
    return Count;
}

int64_t TsdCodecStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if (FMode == umUnknown)
        throw EStreamError("Cannot seek before reading or writing in conversion stream");
    if (Origin == TSeekOrigin::soCurrent && Offset == 0) return FStream->Position();
    if (FMode == umRead && Origin == TSeekOrigin::soCurrent && (Offset == -1 || Offset == -2)) {
        FBuffer.clear();
        FBufferPos = 0;
        FPendingUnit = -1;
        return FStream->Seek(Offset == -1 ? FPosMin1 : FPosMin2, TSeekOrigin::soBeginning);
    }
    if (Origin == TSeekOrigin::soEnd && Offset == 0) return FStream->Size();
    if (Origin == TSeekOrigin::soBeginning) return 0;
    throw EStreamError("Cannot perform seek on codec stream");
}

int64_t TsdCodecStream::Size()
{
    return FStream ? FStream->Size() : 0;
}

// --- TsdUtf8Stream ----------------------------------------------------------

// UTF-8 of each code page byte, computed once.
static const std::string& AnsiCharUtf8(uint8_t b)
{
    static const auto table = [] {
        std::vector<std::string> t(256);
        for (int i = 0; i < 256; ++i) {
            char c = static_cast<char>(i);
            t[static_cast<size_t>(i)] = CodePageToUtf8(std::string_view(&c, 1));
        }
        return t;
    }();
    return table[b];
}

uint32_t TsdUtf8Stream::ReadUnit(bool& AEnd)
{
    if (FPendingUnit >= 0) {
        uint32_t u = static_cast<uint32_t>(FPendingUnit);
        FPendingUnit = -1;
        return u;
    }
    uint8_t b[2] = {0, 0};
    int64_t n = FStream->Read(b, 2);
    if (n < 2) AEnd = true;
    return FSwapByteOrder ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0];
}

void TsdUtf8Stream::DecodeNextChar()
{
    FBuffer.clear();
    FBufferPos = 0;
    switch (FEncoding) {
    case seAnsi: {
        uint8_t b = 0;
        if (FStream->Read(&b, 1) < 1) b = 0;
        FBuffer = AnsiCharUtf8(b);
        break;
    }
    case seUTF8: {
        uint8_t b = 0;
        if (FStream->Read(&b, 1) < 1) b = 0;
        FBuffer += static_cast<char>(b);
        int extra = b < 0x80 ? 0 : (b & 0xF8) == 0xF0 ? 3 : (b & 0x20) ? 2 : 1;
        for (int k = 0; k < extra; ++k) {
            uint8_t c = 0;
            if (FStream->Read(&c, 1) < 1) c = 0;
            FBuffer += static_cast<char>(c);
        }
        break;
    }
    case se16BitBE:
    case se16BitLE:
    case seUTF16BE:
    case seUTF16LE: {
        bool end = false;
        uint32_t u = ReadUnit(end);
        if (u >= 0xD800 && u <= 0xDBFF && !end) {
            // Join a surrogate pair into one four-byte sequence.
            bool end2 = false;
            uint32_t u2 = ReadUnit(end2);
            if (u2 >= 0xDC00 && u2 <= 0xDFFF) {
                char16_t pair[2] = {static_cast<char16_t>(u), static_cast<char16_t>(u2)};
                FBuffer = WideToUtf8(std::u16string_view(pair, 2));
                break;
            }
            if (!end2) FPendingUnit = static_cast<int32_t>(u2);
        }
        char16_t w = static_cast<char16_t>(u);
        FBuffer = WideToUtf8(std::u16string_view(&w, 1));
        break;
    }
    default:
        RaiseUnsupported();
    }
    if (FBuffer.empty()) FBuffer.push_back('\0');
}

uint8_t TsdUtf8Stream::ReadByte()
{
    if (FBufferPos >= FBuffer.size()) {
        StorePrevPositions();
        DecodeNextChar();
    }
    return static_cast<uint8_t>(FBuffer[FBufferPos++]);
}

void TsdUtf8Stream::WriteBuf(const uint8_t* Buffer, int64_t Count)
{
    if (FEncoding == seUTF8) {
        WriteRaw(Buffer, Count);
        return;
    }
    for (int64_t i = 0; i < Count; ++i) WriteByte(Buffer[i]);
}

void TsdUtf8Stream::WriteByte(uint8_t B)
{
    switch (FEncoding) {
    case seAnsi:
    case se16BitBE:
    case se16BitLE:
    case seUTF8:
    case seUTF16BE:
    case seUTF16LE:
        break;
    default:
        RaiseUnsupported();
    }
    if (FEncoding == seUTF8) {
        WriteRaw(&B, 1);
        return;
    }
    FBuffer += static_cast<char>(B);
    uint8_t first = static_cast<uint8_t>(FBuffer[0]);
    size_t need = first < 0x80 ? 1 : (first & 0xF8) == 0xF0 ? 4 : (first & 0x20) ? 3 : 2;
    if (FBuffer.size() < need) return;
    std::string seq;
    seq.swap(FBuffer);
    if (FEncoding == seAnsi) {
        std::string a = Utf8ToCodePage(seq);
        if (a.size() == 1) WriteRaw(a.data(), 1);
        return;
    }
    std::u16string w = Utf8ToWide(seq);
    if (w.empty() || w.size() > 2) return;
    uint8_t out[4];
    for (size_t i = 0; i < w.size(); ++i) {
        uint8_t lo = static_cast<uint8_t>(w[i] & 0xFF), hi = static_cast<uint8_t>(w[i] >> 8);
        out[2 * i] = FSwapByteOrder ? hi : lo;
        out[2 * i + 1] = FSwapByteOrder ? lo : hi;
    }
    WriteRaw(out, static_cast<int64_t>(2 * w.size()));
}

// --- TsdBufferedReadStream ----------------------------------------------------

static constexpr int64_t cPageSize = 65536;

TsdBufferedReadStream::TsdBufferedReadStream(rtl::TStream* AStream, bool AOwned)
    : FStream(AStream), FBuffer(cPageSize), FOwned(AOwned)
{
}

TsdBufferedReadStream::~TsdBufferedReadStream()
{
    if (FOwned) delete FStream;
}

bool TsdBufferedReadStream::LoadPage(int64_t APage)
{
    int64_t start = APage * cPageSize;
    int64_t len = std::min(cPageSize, FStream->Size() - start);
    FPage = APage;
    FBufSize = 0;
    if (len <= 0) return false;
    FStream->Seek(start, TSeekOrigin::soBeginning);
    while (FBufSize < len) {
        int64_t n = FStream->Read(FBuffer.data() + FBufSize, len - FBufSize);
        if (n <= 0) break;
        FBufSize += n;
    }
    return FBufSize > 0;
}

int64_t TsdBufferedReadStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0) return 0;
    if (FMustCheck) {
        int64_t page = FPosition / cPageSize;
        if (page != FPage) LoadPage(page);
        FBufPos = FPosition % cPageSize;
        FMustCheck = false;
    }
    auto* out = static_cast<uint8_t*>(Buffer);
    // The parser reads one byte at a time: the common case.
    if (Count == 1 && FBufPos < FBufSize - 1) {
        *out = FBuffer[static_cast<size_t>(FBufPos++)];
        ++FPosition;
        return 1;
    }
    int64_t copied = 0;
    while (copied < Count) {
        if (FBufPos >= FBufSize) {
            if (FBufSize < cPageSize) break;  // the last page is read
            if (!LoadPage(FPage + 1)) break;
            FBufPos = 0;
        }
        int64_t n = std::min(Count - copied, FBufSize - FBufPos);
        std::memcpy(out + copied, FBuffer.data() + FBufPos, static_cast<size_t>(n));
        FBufPos += n;
        copied += n;
    }
    FPosition += copied;
    return copied;
}

int64_t TsdBufferedReadStream::Write(const void*, int64_t)
{
    throw EStreamError("Cannot write to an UTF stream opened for reading");
}

int64_t TsdBufferedReadStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case TSeekOrigin::soBeginning:
        FPosition = Offset;
        FMustCheck = true;
        break;
    case TSeekOrigin::soCurrent:
        if (Offset != 0) {
            FPosition += Offset;
            FMustCheck = true;
        }
        break;
    case TSeekOrigin::soEnd:
        FPosition = Size() + Offset;
        FMustCheck = true;
        break;
    }
    if (FPosition < 0) FPosition = 0;
    return FPosition;
}

int64_t TsdBufferedReadStream::Size()
{
    return FStream->Size();
}

// --- TsdBufferedWriteStream ---------------------------------------------------

TsdBufferedWriteStream::TsdBufferedWriteStream(rtl::TStream* AStream, bool AOwned)
    : FStream(AStream), FBuffer(cPageSize), FOwned(AOwned)
{
}

TsdBufferedWriteStream::~TsdBufferedWriteStream()
{
    try {
        Flush();
    } catch (...) {
        // A destructor reports nothing; callers that care call Flush.
    }
    if (FOwned) delete FStream;
}

void TsdBufferedWriteStream::Flush()
{
    if (FBufPos <= 0) return;
    int64_t n = FBufPos;
    FBufPos = 0;
    if (FStream->Write(FBuffer.data(), n) < n) throw EStreamError("Cannot write to output stream");
}

int64_t TsdBufferedWriteStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0) return 0;
    const auto* in = static_cast<const uint8_t*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        int64_t n = std::min(Count - done, cPageSize - FBufPos);
        std::memcpy(FBuffer.data() + FBufPos, in + done, static_cast<size_t>(n));
        FBufPos += n;
        done += n;
        if (FBufPos == cPageSize) Flush();
    }
    FPosition += Count;
    return Count;
}

int64_t TsdBufferedWriteStream::Read(void*, int64_t)
{
    throw EStreamError("Cannot read from a conversion stream opened for writing");
}

int64_t TsdBufferedWriteStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if ((Origin == TSeekOrigin::soBeginning && Offset == FPosition) ||
        (Origin != TSeekOrigin::soBeginning && Offset == 0))
        return FPosition;
    throw EStreamError("Cannot perform seek on codec stream");
}

// --- TsdUTF8StringStream --------------------------------------------------------

TsdUTF8StringStream::TsdUTF8StringStream(const std::string& S)
{
    FData.assign(S.begin(), S.end());
    FPosition = 0;
}

std::string TsdUTF8StringStream::DataString() const
{
    return std::string(reinterpret_cast<const char*>(FData.data()), FData.size());
}

} // namespace xml
