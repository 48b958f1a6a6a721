#include "platform/gui/MetafileNative.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace gui {

namespace {

class TWriter {
public:
    std::vector<uint8_t> Bytes;
    void U8(uint8_t v) { Bytes.push_back(v); }
    void I32(int32_t v) { Raw(&v, 4); }
    void U32(uint32_t v) { Raw(&v, 4); }
    void Raw(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        Bytes.insert(Bytes.end(), b, b + n);
    }
    void Str(const std::string& s)
    {
        U32(static_cast<uint32_t>(s.size()));
        Raw(s.data(), s.size());
    }
    void Rect(const TRect& r)
    {
        I32(r.Left);
        I32(r.Top);
        I32(r.Right);
        I32(r.Bottom);
    }
};

class TReader {
    static bool FitsInt(int64_t v)
    {
        return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    }

public:
    TReader(const uint8_t* p, std::size_t n) : FP(p), FN(n) {}
    void Need(std::size_t n) const
    {
        if (n > FN - FPos) throw EInvalidGraphic("The metafile's recorded drawing is damaged");
    }
    uint8_t U8()
    {
        Need(1);
        return FP[FPos++];
    }
    uint32_t U32()
    {
        Need(4);
        uint32_t v;
        std::memcpy(&v, FP + FPos, 4);
        FPos += 4;
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // A count of items of itemSize bytes each, checked against what is left.
    std::size_t Count(std::size_t itemSize)
    {
        std::size_t n = U32();
        Need(n * itemSize);
        return n;
    }
    std::string Str()
    {
        std::size_t n = Count(1);
        std::string s(reinterpret_cast<const char*>(FP + FPos), n);
        FPos += n;
        return s;
    }
    // A rectangle whose width or height does not fit an int (a damaged
    // file) is refused here, before any drawing measures it.
    TRect Rect()
    {
        TRect r;
        r.Left = I32();
        r.Top = I32();
        r.Right = I32();
        r.Bottom = I32();
        if (!FitsInt(int64_t{r.Right} - r.Left) || !FitsInt(int64_t{r.Bottom} - r.Top))
            throw EInvalidGraphic("The metafile's recorded drawing is damaged");
        return r;
    }
    std::size_t Pos() const { return FPos; }
    void Skip(std::size_t n)
    {
        Need(n);
        FPos += n;
    }
    const uint8_t* Here() const { return FP + FPos; }

private:
    const uint8_t* FP;
    std::size_t FN;
    std::size_t FPos = 0;
};

} // namespace

std::vector<uint8_t> EncodeMetaRecords(const std::vector<TMetaRecord>& records, int width, int height)
{
    TWriter w;
    w.Raw(kMetaRecordsTag, sizeof kMetaRecordsTag);
    w.I32(width);
    w.I32(height);
    w.U32(static_cast<uint32_t>(records.size()));
    for (const TMetaRecord& m : records) {
        w.U8(static_cast<uint8_t>(m.Kind));
        w.U32(static_cast<uint32_t>(m.Points.size()));
        for (const TPoint& p : m.Points) {
            w.I32(p.X);
            w.I32(p.Y);
        }
        w.Rect(m.Bounds);
        w.U32(m.PenColor);
        w.I32(m.PenWidth);
        w.U8(static_cast<uint8_t>(m.PenStyle));
        w.U32(m.BrushColor);
        w.U8(m.BrushVisible);
        w.Str(m.Text);
        w.Str(m.FontName);
        w.I32(m.FontHeight);
        w.U8(static_cast<uint8_t>(m.Bold | m.Italic << 1 | m.Underline << 2 | m.StrikeOut << 3));
        w.I32(m.Escapement);
        w.I32(m.Origin.X);
        w.I32(m.Origin.Y);
        w.U32(static_cast<uint32_t>(m.Advances.size()));
        for (int a : m.Advances) w.I32(a);
        w.I32(m.ImageWidth);
        w.I32(m.ImageHeight);
        w.U32(static_cast<uint32_t>(m.Pixels.size()));
        w.Raw(m.Pixels.data(), m.Pixels.size());
        w.U8(m.Clip.has_value());
        if (m.Clip) w.Rect(*m.Clip);
    }
    return std::move(w.Bytes);
}

bool DecodeMetaRecords(const uint8_t* data, std::size_t size, std::vector<TMetaRecord>& records, int& width,
                       int& height)
{
    if (size < sizeof kMetaRecordsTag || std::memcmp(data, kMetaRecordsTag, sizeof kMetaRecordsTag) != 0) return false;
    TReader r(data, size);
    r.Skip(sizeof kMetaRecordsTag);
    width = r.I32();
    height = r.I32();
    if (width < 0 || height < 0) throw EInvalidGraphic("The metafile's recorded drawing is damaged");
    std::size_t n = r.Count(1);
    std::vector<TMetaRecord> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        TMetaRecord m;
        uint8_t kind = r.U8();
        if (kind > static_cast<uint8_t>(TMetaRecord::TKind::Image))
            throw EInvalidGraphic("The metafile's recorded drawing is damaged");
        m.Kind = static_cast<TMetaRecord::TKind>(kind);
        std::size_t points = r.Count(8);
        m.Points.resize(points);
        for (TPoint& p : m.Points) {
            p.X = r.I32();
            p.Y = r.I32();
        }
        m.Bounds = r.Rect();
        m.PenColor = r.U32();
        m.PenWidth = r.I32();
        uint8_t style = r.U8();
        if (style > static_cast<uint8_t>(TPenStyle::psInsideFrame))
            throw EInvalidGraphic("The metafile's recorded drawing is damaged");
        m.PenStyle = static_cast<TPenStyle>(style);
        m.BrushColor = r.U32();
        m.BrushVisible = r.U8() != 0;
        m.Text = r.Str();
        m.FontName = r.Str();
        m.FontHeight = r.I32();
        uint8_t flags = r.U8();
        m.Bold = flags & 1;
        m.Italic = flags & 2;
        m.Underline = flags & 4;
        m.StrikeOut = flags & 8;
        m.Escapement = r.I32();
        m.Origin.X = r.I32();
        m.Origin.Y = r.I32();
        m.Advances.resize(r.Count(4));
        for (int& a : m.Advances) a = r.I32();
        m.ImageWidth = r.I32();
        m.ImageHeight = r.I32();
        std::size_t bytes = r.Count(1);
        if (m.ImageWidth < 0 || m.ImageHeight < 0 ||
            static_cast<uint64_t>(m.ImageWidth) * static_cast<uint64_t>(m.ImageHeight) * 3 != bytes)
            throw EInvalidGraphic("The metafile's recorded drawing is damaged");
        m.Pixels.assign(r.Here(), r.Here() + bytes);
        r.Skip(bytes);
        if (r.U8()) m.Clip = r.Rect();
        out.push_back(std::move(m));
    }
    records = std::move(out);
    return true;
}

void ReadRecorderEmf(const std::vector<uint8_t>& emf, std::vector<TMetaRecord>& records, int& width, int& height)
{
    auto u32 = [&emf](std::size_t at) {
        uint32_t v;
        std::memcpy(&v, emf.data() + at, 4);
        return v;
    };
    if (emf.size() < 88 || u32(0) != 1 || u32(40) != 0x464D4520)
        throw EInvalidGraphic("Not a metafile: the data is no enhanced metafile");
    std::size_t pos = 0;
    while (pos + 8 <= emf.size()) {
        uint32_t type = u32(pos), size = u32(pos + 4);
        if (size < 8 || size % 4 != 0 || size > emf.size() - pos) break;
        // A comment record: its data size, then the data.
        if (type == 70 && size >= 12) {
            uint32_t dataSize = u32(pos + 8);
            if (dataSize <= size - 12 &&
                DecodeMetaRecords(emf.data() + pos + 12, dataSize, records, width, height))
                return;
        }
        if (type == 14) break;   // end of file
        pos += size;
    }
    throw EInvalidGraphic("This metafile was written by another program; only metafiles this program recorded can be read");
}

} // namespace gui
