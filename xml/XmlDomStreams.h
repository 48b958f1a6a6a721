// The streams between an XML document and its bytes: a conversion stream
// that detects the encoding of what it reads (byte-order mark or the first
// bytes of a declaration) and converts between that encoding and UTF-8 one
// character at a time, and 64 KiB buffering streams for reading and
// writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace xml {

enum TStringEncodingType {
    seAnsi,       // the platform's single-byte code page (Windows-1252)
    seUCS4BE,
    seUCS4LE,
    seUCS4_2143,
    seUCS4_3412,
    se16BitBE,
    se16BitLE,
    seUTF8,
    seUTF16BE,
    seUTF16LE,
    seEBCDIC
};

enum TsdStreamModeType { umUnknown, umRead, umWrite };

// One row of the detection table: signature bytes, their count, the
// encoding and whether the signature is a byte-order mark.
struct TEncodingSignature {
    uint8_t Bytes[4];
    int Length;
    TStringEncodingType Encoding;
    bool HasBom;
};
extern const TEncodingSignature cEncodingSignatures[15];

// The conversion stream.  Reading hands out the UTF-8 bytes of the decoded
// characters one byte per call (a NUL or the end of the input reads as 0
// bytes); writing takes UTF-8 and writes the external encoding, preceded by
// its byte-order mark where it has one.  The mode is fixed by the first
// Read or Write.  All errors are EStreamError.
class TsdCodecStream : public rtl::TStream {
public:
    // AStream is not owned.
    explicit TsdCodecStream(rtl::TStream* AStream);

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, rtl::TSeekOrigin Origin) override;
    int64_t Size() override;

    TStringEncodingType Encoding() const { return FEncoding; }
    // Sets the encoding: before writing, the one to write; while reading,
    // the one the following bytes are decoded from.
    void SetEncoding(TStringEncodingType AValue);
    bool WriteBom() const { return FWriteBom; }
    TsdStreamModeType Mode() const { return FMode; }

protected:
    virtual uint8_t ReadByte();
    virtual void StorePrevPositions();
    virtual void WriteByte(uint8_t B);
    virtual void WriteBuf(const uint8_t* Buffer, int64_t Count);

    void FirstRead();
    void FirstWrite();
    void WriteRaw(const void* Buffer, int64_t Count);

    std::string FBuffer;  // UTF-8 bytes of the current character not yet handed out
    size_t FBufferPos = 0;
    TStringEncodingType FEncoding = seUTF8;
    TsdStreamModeType FMode = umUnknown;
    int64_t FPosMin1 = 0;
    int64_t FPosMin2 = 0;
    rtl::TStream* FStream;
    bool FSwapByteOrder = false;
    bool FWriteBom = false;
    int32_t FPendingUnit = -1;  // a UTF-16 unit read ahead while pairing surrogates
};

// The conversion stream the documents use.
class TsdUtf8Stream : public TsdCodecStream {
public:
    using TsdCodecStream::TsdCodecStream;

protected:
    uint8_t ReadByte() override;
    void WriteByte(uint8_t B) override;
    void WriteBuf(const uint8_t* Buffer, int64_t Count) override;

private:
    void DecodeNextChar();
    uint32_t ReadUnit(bool& AEnd);
};

// Reads the underlying stream page by page (64 KiB); its own position
// starts at 0, so reading always begins at the start of the underlying
// stream.  Read-only.
class TsdBufferedReadStream : public rtl::TStream {
public:
    TsdBufferedReadStream(rtl::TStream* AStream, bool AOwned = false);
    ~TsdBufferedReadStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, rtl::TSeekOrigin Origin) override;
    int64_t Size() override;

private:
    bool LoadPage(int64_t APage);

    rtl::TStream* FStream;
    std::vector<uint8_t> FBuffer;
    int64_t FPage = -1;
    int64_t FBufPos = 0;
    int64_t FBufSize = 0;
    int64_t FPosition = 0;
    bool FOwned;
    bool FMustCheck = true;
    int64_t FSize = -1;
};

// Gathers the written bytes in a 64 KiB buffer and hands them to the
// underlying stream in large writes; the rest is written by Flush and on
// destruction.  Write-only; seeking only reports the position.
class TsdBufferedWriteStream : public rtl::TStream {
public:
    TsdBufferedWriteStream(rtl::TStream* AStream, bool AOwned = false);
    ~TsdBufferedWriteStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, rtl::TSeekOrigin Origin) override;
    int64_t Size() override { return FPosition; }
    // Writes the buffered bytes; EStreamError "Cannot write to output
    // stream" when the underlying stream takes fewer.
    void Flush();

private:
    rtl::TStream* FStream;
    std::vector<uint8_t> FBuffer;
    int64_t FBufPos = 0;
    int64_t FPosition = 0;
    bool FOwned;
};

// A memory stream over UTF-8 text, without conversion.
class TsdUTF8StringStream : public rtl::TMemoryStream {
public:
    explicit TsdUTF8StringStream(const std::string& S = std::string());
    std::string DataString() const;
};

} // namespace xml
