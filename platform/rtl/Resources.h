// Resources embedded in the executable: pictures, cursors, raw data and text
// the program carries inside itself, found by name or by number.
//
// A resource is a name (or a number), a type and the exact bytes of the file
// it was made from.  Names compare without regard to ASCII case, and the name
// "#123" stands for the number 123.  The bytes live in the program image for
// its whole run; a resource is never copied.
//
// Resources are added at build time by the CMake function
// tec_embed_resources (cmake/TecResources.cmake), which generates the
// registration code; nothing per resource is written by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace rtl {

// Resource types.  The numbers of the classic types keep their customary
// values so that type numbers written in tables stay recognisable.
enum class TResourceType : int32_t {
    Cursor = 1,       // a cursor file (.cur)
    Bitmap = 2,       // a bitmap file (.bmp, whole file with its header)
    Icon = 3,         // an icon file (.ico)
    StringTable = 6,  // text
    RCData = 10,      // raw data, loaded by whoever asks for it
    PNG = 256,        // a PNG image
};

// The type's name as written in tec_embed_resources ("BITMAP", "RCDATA", ...).
std::string_view ResourceTypeName(TResourceType type);

struct TResource {
    std::string_view Name;   // as registered; empty for a resource known by number only
    int32_t Id = -1;         // number, or -1 for a resource known by name only
    TResourceType Type = TResourceType::RCData;
    const uint8_t* Data = nullptr;  // the file's bytes, followed by one 0 byte
    size_t Size = 0;                // without that 0 byte

    std::string_view Text() const { return {reinterpret_cast<const char*>(Data), Size}; }
};

// The resource of that name and type, or nullptr.  "#<number>" looks up
// by number.
const TResource* FindResource(std::string_view name, TResourceType type);
// The resource of that number and type, or nullptr.
const TResource* FindResource(int32_t id, TResourceType type);
// Every resource, in registration order.
std::vector<const TResource*> Resources();

// Adds resources to the registry; the array must live as long as the
// program.  Called by the generated registration code.  A resource whose
// type and name (or number) are already registered is ignored, so the first
// registration wins.
void RegisterResources(const TResource* resources, size_t count);

RTL_DECLARE_EXCEPTION(EResNotFound, Exception)

// A read-only stream over a resource's bytes.  A missing resource raises
// EResNotFound "Resource <name> not found"; writing raises EStreamError.
class TResourceStream : public TStream {
public:
    TResourceStream(std::string_view name, TResourceType type);
    TResourceStream(int32_t id, TResourceType type);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FResource->Size); }
    void SetSize(int64_t newSize) override;

    const TResource& Resource() const { return *FResource; }
    const uint8_t* Memory() const { return FResource->Data; }

private:
    const TResource* FResource;
    int64_t FPosition = 0;
};

} // namespace rtl
