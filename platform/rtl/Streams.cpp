#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/Exceptions.h"

namespace rtl {

// --- TStream --------------------------------------------------------------

int64_t TStream::Size()
{
    int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(int64_t)
{
    throw EStreamError("Stream size cannot be changed");
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    int64_t done = 0;
    char buf[65536];
    while (done < count) {
        int64_t n = std::min<int64_t>(count - done, sizeof buf);
        source.ReadBuffer(buf, n);
        WriteBuffer(buf, n);
        done += n;
    }
    return done;
}

std::string TStream::ReadAll()
{
    std::string out;
    char buf[65536];
    while (true) {
        int64_t n = Read(buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

// --- THandleStream / TFileStream -----------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::read(FHandle, static_cast<char*>(buffer) + done, static_cast<std::size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? done : -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(FHandle, static_cast<const char*>(buffer) + done, static_cast<std::size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? done : -1;
        }
        done += n;
    }
    return done;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    return static_cast<int64_t>(::lseek(FHandle, static_cast<off_t>(offset), whence));
}

void THandleStream::SetSize(int64_t newSize)
{
    if (::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(std::string("Stream size cannot be changed. ") + std::strerror(errno));
    if (Position() > newSize) SetPosition(newSize);
}

TFileStream::TFileStream(const std::string& fileName, uint32_t mode)
    : THandleStream(-1), FFileName(fileName)
{
    if ((mode & 0xFF00) == fmCreate) {
        FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode & 3) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    FHandle = ::open(fileName.c_str(), flags);
    if (FHandle < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat st{};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(EISDIR));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

// --- memory streams -------------------------------------------------------

template <typename Container>
int64_t TBufferStream<Container>::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FPosition >= Size()) return 0;
    int64_t n = std::min<int64_t>(count, Size() - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

template <typename Container>
int64_t TBufferStream<Container>::Write(const void* buffer, int64_t count)
{
    if (count <= 0) return 0;
    if (FPosition + count > Size()) FData.resize(static_cast<std::size_t>(FPosition + count));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
    FPosition += count;
    return count;
}

template <typename Container>
int64_t TBufferStream<Container>::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? FPosition : Size();
    int64_t p = base + offset;
    if (p < 0) return -1;
    FPosition = p;
    return FPosition;
}

template <typename Container>
void TBufferStream<Container>::SetSize(int64_t newSize)
{
    if (newSize < 0) newSize = 0;
    FData.resize(static_cast<std::size_t>(newSize));
    if (FPosition > newSize) FPosition = newSize;
}

template class TBufferStream<std::vector<uint8_t>>;
template class TBufferStream<std::string>;

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    int64_t n = stream.Size();
    FData.resize(static_cast<std::size_t>(n));
    stream.ReadBuffer(FData.data(), n);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& stream)
{
    stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream f(fileName, fmCreate);
    SaveToStream(f);
}

// --- TStringStream --------------------------------------------------------

std::string TStringStream::ReadString(int64_t count)
{
    if (count < 0 || FPosition >= Size()) return {};
    int64_t n = std::min<int64_t>(count, Size() - FPosition);
    std::string r = FData.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
    FPosition += n;
    return r;
}

// --- TByteReader -----------------------------------------------------------

TByteReader::TByteReader(TStream& stream, int bufferSize)
    : FStream(stream), FBuffer(static_cast<std::size_t>(bufferSize > 0 ? bufferSize : 4096)),
      FPosition(stream.Position()), FSize(stream.Size())
{
}

TByteReader::~TByteReader()
{
    try {
        FStream.SetPosition(FPosition);
    } catch (...) {
    }
}

void TByteReader::SetPosition(int64_t position)
{
    FStream.SetPosition(position);
    FPosition = position;
    FBufPos = FBufEnd = 0;
}

bool TByteReader::Fill()
{
    if (FPosition >= FSize) return false;
    const int64_t want = std::min<int64_t>(static_cast<int64_t>(FBuffer.size()), FSize - FPosition);
    const int64_t got = FStream.Read(FBuffer.data(), want);
    if (got <= 0) return false;
    FBufPos = 0;
    FBufEnd = static_cast<int>(got);
    return true;
}

} // namespace rtl
