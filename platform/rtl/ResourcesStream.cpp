// TResourceStream: reading a registered resource through the stream
// interface, as the picture loaders expect.

#include "platform/rtl/Resources.h"

#include <algorithm>
#include <cstring>

namespace rtl {

namespace {

[[noreturn]] void ResourceNotFound(std::string_view name)
{
    throw EResNotFound("Resource " + std::string(name) + " not found");
}

const TResource& Require(std::string_view name, TResourceType type)
{
    const TResource* r = FindResource(name, type);
    if (!r)
        ResourceNotFound(name);
    return *r;
}

const TResource& Require(int32_t id, TResourceType type)
{
    const TResource* r = FindResource(id, type);
    if (!r)
        ResourceNotFound("#" + std::to_string(id));
    return *r;
}

} // namespace

TResourceStream::TResourceStream(std::string_view name, TResourceType type)
    : FResource(&Require(name, type))
{
}

TResourceStream::TResourceStream(int32_t id, TResourceType type)
    : FResource(&Require(id, type))
{
}

int64_t TResourceStream::Read(void* buffer, int64_t count)
{
    int64_t size = Size();
    if (count <= 0 || FPosition >= size)
        return 0;
    int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FResource->Data + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TResourceStream::Write(const void*, int64_t)
{
    throw EStreamError("Can't write to a read-only resource stream");
}

void TResourceStream::SetSize(int64_t)
{
    throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case TSeekOrigin::soBeginning: FPosition = offset; break;
    case TSeekOrigin::soCurrent: FPosition += offset; break;
    case TSeekOrigin::soEnd: FPosition = Size() + offset; break;
    }
    if (FPosition < 0)
        FPosition = 0;
    return FPosition;
}

} // namespace rtl
