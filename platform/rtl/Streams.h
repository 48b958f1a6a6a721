// Streams: a byte stream with position and size, over files, memory and
// strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Read and Write move up to count bytes and return how many moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t newSize);

    // Move exactly count bytes or raise EReadError "Stream read error" /
    // EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteString(std::string_view s) { WriteBuffer(s.data(), static_cast<int64_t>(s.size())); }
    // Copies count bytes from source (count 0: all of source from its start).
    int64_t CopyFrom(TStream& source, int64_t count);
    // The remaining bytes from the current position.
    std::string ReadAll();
};

// File access modes.  fmCreate creates or truncates; the fmShare* flags are
// accepted for the callers' sake and have no effect on this platform.
enum : uint32_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class THandleStream : public TStream {
public:
    explicit THandleStream(int handle) : FHandle(handle) {}
    int Handle() const { return FHandle; }
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;

protected:
    int FHandle;
};

// A file opened by name; failure raises EFOpenError
// "Cannot open file "<name>". <reason>" or EFCreateError
// "Cannot create file "<name>". <reason>".
class TFileStream : public THandleStream {
public:
    TFileStream(const std::string& fileName, uint32_t mode);
    ~TFileStream() override;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
};

// A stream over bytes held in memory: a vector (TMemoryStream) or a string
// (TStringStream).  Seeking past the end is allowed; writing there fills the
// gap with zeros.
template <typename Container>
class TBufferStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t newSize) override;

protected:
    TBufferStream() = default;
    explicit TBufferStream(Container data) : FData(std::move(data)) {}
    Container FData;
    int64_t FPosition = 0;
};

extern template class TBufferStream<std::vector<uint8_t>>;
extern template class TBufferStream<std::string>;

class TMemoryStream : public TBufferStream<std::vector<uint8_t>> {
public:
    void Clear();
    uint8_t* Memory() { return FData.data(); }
    const uint8_t* Memory() const { return FData.data(); }
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    std::string_view View() const
    {
        return {reinterpret_cast<const char*>(FData.data()), FData.size()};
    }
};

// A stream over a byte string.
class TStringStream : public TBufferStream<std::string> {
public:
    explicit TStringStream(std::string data = {}) : TBufferStream(std::move(data)) {}
    const std::string& DataString() const { return FData; }
    // Reads count bytes (or up to the end) as a string.
    std::string ReadString(int64_t count);
};

// Reads a stream byte by byte through a buffer of its own, keeping the
// position of the next byte it has not handed out.  On destruction the
// stream is put back at that position, so whatever was buffered but not
// read stays unread for the stream's next reader.
//   rtl::TByteReader bytes(stream);
//   char c;
//   while (bytes.Next(c)) ...
class TByteReader {
public:
    explicit TByteReader(TStream& stream, int bufferSize = 4096);
    ~TByteReader();
    TByteReader(const TByteReader&) = delete;
    TByteReader& operator=(const TByteReader&) = delete;

    // The next byte; false at the end of the stream.
    bool Next(char& c)
    {
        if (FBufPos >= FBufEnd && !Fill()) return false;
        c = FBuffer[static_cast<std::size_t>(FBufPos++)];
        ++FPosition;
        return true;
    }
    int64_t Position() const { return FPosition; }
    // Moves to a position of the stream; the buffer starts again there.
    void SetPosition(int64_t position);

private:
    bool Fill();

    TStream& FStream;
    std::vector<char> FBuffer;
    int FBufPos = 0;
    int FBufEnd = 0;
    int64_t FPosition;
    int64_t FSize;
};

} // namespace rtl
