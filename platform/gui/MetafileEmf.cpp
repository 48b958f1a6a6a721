// Writing a metafile's records as an enhanced metafile (EMF): the header,
// pens, brushes and fonts as objects, polylines, polygons, ellipses, text,
// pictures as device-independent bitmaps, rectangular clips, and the end
// record.  Device units are the metafile's pixels at 96 per inch.

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gui/Metafile.h"
#include "platform/gui/MetafileNative.h"

namespace gui {

namespace {

enum : uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_INTERSECTCLIPRECT = 30,
    EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84,
};
constexpr uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008, kSystemFont = 0x8000000D;
constexpr uint32_t kPen = 1, kBrush = 2, kFont = 3;   // object slots

class TEmfWriter {
public:
    std::vector<uint8_t> Bytes;
    uint32_t Records = 0;

    // Starts a record; End fills in its size.
    void Begin(uint32_t type)
    {
        FStart = Bytes.size();
        U32(type);
        U32(0);
    }
    void End()
    {
        while ((Bytes.size() - FStart) % 4) Bytes.push_back(0);
        const uint32_t size = static_cast<uint32_t>(Bytes.size() - FStart);
        std::memcpy(Bytes.data() + FStart + 4, &size, 4);
        ++Records;
    }
    void U8(uint8_t v) { Bytes.push_back(v); }
    void U16(uint16_t v) { Raw(&v, 2); }
    void U32(uint32_t v) { Raw(&v, 4); }
    void I32(int32_t v) { Raw(&v, 4); }
    void F32(float v) { Raw(&v, 4); }
    void Rect(const TRect& r)
    {
        I32(r.Left);
        I32(r.Top);
        I32(r.Right);
        I32(r.Bottom);
    }
    void Raw(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        Bytes.insert(Bytes.end(), b, b + n);
    }
    std::size_t RecordOffset() const { return Bytes.size() - FStart; }
    void Simple(uint32_t type, uint32_t value)
    {
        Begin(type);
        U32(value);
        End();
    }

private:
    std::size_t FStart = 0;
};

uint32_t RGBOf(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

uint32_t PenStyleOf(TPenStyle s)
{
    switch (s) {
    case TPenStyle::psDash: return 1;
    case TPenStyle::psDot: return 2;
    case TPenStyle::psDashDot: return 3;
    case TPenStyle::psDashDotDot: return 4;
    case TPenStyle::psClear: return 5;
    default: return 0;
    }
}

struct TState {
    bool Known = false;
    int PenWidth = -1;
    uint32_t PenColor = 0, PenStyle = 0;
    bool BrushVisible = false;
    uint32_t BrushColor = 0;
    std::string FontName;
    int FontHeight = 0, Escapement = 0;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    uint32_t TextColor = 0xFFFFFFFF;
    bool HavePen = false, HaveBrush = false, HaveFont = false;
};

class TEmfBuilder {
public:
    TEmfBuilder(TEmfWriter& w) : W(w) {}

    void Pen(const TMetaRecord& m)
    {
        const uint32_t color = RGBOf(m.PenColor), style = m.PenWidth == 0 ? 5 : PenStyleOf(m.PenStyle);
        if (S.HavePen && S.PenWidth == m.PenWidth && S.PenColor == color && S.PenStyle == style) return;
        W.Simple(EMR_SELECTOBJECT, kNullPen);
        if (FPenMade) W.Simple(EMR_DELETEOBJECT, kPen);
        W.Begin(EMR_CREATEPEN);
        W.U32(kPen);
        W.U32(style);
        W.I32(std::max(m.PenWidth, 1));
        W.I32(0);
        W.U32(color);
        W.End();
        W.Simple(EMR_SELECTOBJECT, kPen);
        FPenMade = S.HavePen = true;
        S.PenWidth = m.PenWidth;
        S.PenColor = color;
        S.PenStyle = style;
    }

    void Brush(const TMetaRecord& m)
    {
        const uint32_t color = RGBOf(m.BrushColor);
        if (S.HaveBrush && S.BrushVisible == m.BrushVisible && (!m.BrushVisible || S.BrushColor == color)) return;
        W.Simple(EMR_SELECTOBJECT, kNullBrush);
        if (m.BrushVisible) {
            if (FBrushMade) W.Simple(EMR_DELETEOBJECT, kBrush);
            W.Begin(EMR_CREATEBRUSHINDIRECT);
            W.U32(kBrush);
            W.U32(0);   // BS_SOLID
            W.U32(color);
            W.U32(0);
            W.End();
            W.Simple(EMR_SELECTOBJECT, kBrush);
            FBrushMade = true;
        }
        S.HaveBrush = true;
        S.BrushVisible = m.BrushVisible;
        S.BrushColor = color;
    }

    void Font(const TMetaRecord& m)
    {
        if (S.HaveFont && S.FontName == m.FontName && S.FontHeight == m.FontHeight && S.Bold == m.Bold &&
            S.Italic == m.Italic && S.Underline == m.Underline && S.StrikeOut == m.StrikeOut &&
            S.Escapement == m.Escapement)
            return;
        W.Simple(EMR_SELECTOBJECT, kSystemFont);
        if (FFontMade) W.Simple(EMR_DELETEOBJECT, kFont);
        W.Begin(EMR_EXTCREATEFONTINDIRECTW);
        W.U32(kFont);
        W.I32(-std::max(1, m.FontHeight));   // character height in pixels
        W.I32(0);
        W.I32(m.Escapement);
        W.I32(m.Escapement);
        W.I32(m.Bold ? 700 : 400);
        W.U8(m.Italic);
        W.U8(m.Underline);
        W.U8(m.StrikeOut);
        W.U8(1);   // DEFAULT_CHARSET
        W.U8(0);
        W.U8(0);
        W.U8(0);
        W.U8(0);
        const std::u16string face = QString::fromStdString(m.FontName).left(31).toStdU16String();
        for (int i = 0; i < 32; ++i) W.U16(i < static_cast<int>(face.size()) ? face[static_cast<std::size_t>(i)] : 0);
        W.End();
        W.Simple(EMR_SELECTOBJECT, kFont);
        FFontMade = S.HaveFont = true;
        S.FontName = m.FontName;
        S.FontHeight = m.FontHeight;
        S.Bold = m.Bold;
        S.Italic = m.Italic;
        S.Underline = m.Underline;
        S.StrikeOut = m.StrikeOut;
        S.Escapement = m.Escapement;
    }

    // Rectangular clips: each change restores the saved state (objects
    // included, so they are selected again) and intersects anew.
    void Clip(const std::optional<TRect>& clip)
    {
        if (clip == FClip) return;
        if (FClip) {
            W.Simple(EMR_RESTOREDC, static_cast<uint32_t>(-1));
            S.HavePen = S.HaveBrush = S.HaveFont = false;
            S.TextColor = 0xFFFFFFFF;
        }
        if (clip) {
            W.Begin(EMR_SAVEDC);
            W.End();
            W.Begin(EMR_INTERSECTCLIPRECT);
            W.Rect(*clip);
            W.End();
        }
        FClip = clip;
    }

    void TextColor(TColor c)
    {
        const uint32_t color = RGBOf(c);
        if (S.TextColor == color) return;
        W.Simple(EMR_SETTEXTCOLOR, color);
        S.TextColor = color;
    }

private:
    TEmfWriter& W;
    TState S;
    bool FPenMade = false, FBrushMade = false, FFontMade = false;
    std::optional<TRect> FClip;
};

void WritePoly(TEmfWriter& w, const TMetaRecord& m)
{
    w.Begin(m.Kind == TMetaRecord::TKind::Polygon ? EMR_POLYGON : EMR_POLYLINE);
    w.Rect(m.Bounds);
    w.U32(static_cast<uint32_t>(m.Points.size()));
    for (const TPoint& p : m.Points) {
        w.I32(p.X);
        w.I32(p.Y);
    }
    w.End();
}

void WriteText(TEmfWriter& w, const TMetaRecord& m)
{
    const std::u16string text = QString::fromStdString(m.Text).toStdU16String();
    const uint32_t n = static_cast<uint32_t>(text.size());
    w.Begin(EMR_EXTTEXTOUTW);
    w.Rect(m.Bounds);
    w.U32(1);   // GM_COMPATIBLE
    w.F32(0);
    w.F32(0);
    w.I32(m.Origin.X);
    w.I32(m.Origin.Y);
    w.U32(n);
    const uint32_t offString = 76;
    const uint32_t offDx = offString + ((2 * n + 3) / 4) * 4;
    w.U32(offString);
    w.U32(0);   // options
    w.Rect({0, 0, -1, -1});
    w.U32(offDx);
    for (char16_t ch : text) w.U16(ch);
    while (w.RecordOffset() < offDx) w.U8(0);
    for (uint32_t i = 0; i < n; ++i) w.I32(i < m.Advances.size() ? m.Advances[i] : 0);
    w.End();
}

void WriteImage(TEmfWriter& w, const TMetaRecord& m)
{
    const int rowBytes = ((m.ImageWidth * 3 + 3) / 4) * 4;
    const uint32_t bitsSize = static_cast<uint32_t>(rowBytes * m.ImageHeight);
    w.Begin(EMR_STRETCHDIBITS);
    w.Rect(m.Bounds);
    w.I32(m.Bounds.Left);
    w.I32(m.Bounds.Top);
    w.I32(0);
    w.I32(0);
    w.I32(m.ImageWidth);
    w.I32(m.ImageHeight);
    w.U32(80);   // the bitmap header follows the fixed part
    w.U32(40);
    w.U32(120);
    w.U32(bitsSize);
    w.U32(0);             // DIB_RGB_COLORS
    w.U32(0x00CC0020);    // SRCCOPY
    w.I32(m.Bounds.Width());
    w.I32(m.Bounds.Height());
    // BITMAPINFOHEADER: 24 bits, rows bottom-up.
    w.U32(40);
    w.I32(m.ImageWidth);
    w.I32(m.ImageHeight);
    w.U16(1);
    w.U16(24);
    w.U32(0);
    w.U32(bitsSize);
    w.I32(3780);
    w.I32(3780);
    w.U32(0);
    w.U32(0);
    for (int y = m.ImageHeight - 1; y >= 0; --y) {
        const uint8_t* row = m.Pixels.data() + static_cast<std::size_t>(y) * m.ImageWidth * 3;
        for (int x = 0; x < m.ImageWidth; ++x) {
            w.U8(row[3 * x + 2]);
            w.U8(row[3 * x + 1]);
            w.U8(row[3 * x]);
        }
        for (int pad = m.ImageWidth * 3; pad < rowBytes; ++pad) w.U8(0);
    }
    w.End();
}

} // namespace

std::vector<uint8_t> TMetafile::EmfBytes() const
{
    TEmfWriter w;
    const int width = std::max(FWidth, 1), height = std::max(FHeight, 1);
    // Header: bounds in pixels, frame in hundredths of a millimetre, a
    // reference device of 1920 x 1080 pixels at 96 per inch.
    w.Begin(EMR_HEADER);
    w.Rect({0, 0, width - 1, height - 1});
    w.Rect({0, 0, static_cast<int>(std::lround(width * 2540.0 / 96)) - 1,
            static_cast<int>(std::lround(height * 2540.0 / 96)) - 1});
    w.U32(0x464D4520);   // " EMF"
    w.U32(0x00010000);
    w.U32(0);            // bytes, filled in below
    w.U32(0);            // records, filled in below
    w.U16(4);            // object slots 1..3 and the reserved 0
    w.U16(0);
    w.U32(0);
    w.U32(0);
    w.U32(0);
    w.I32(1920);
    w.I32(1080);
    w.I32(508);
    w.I32(286);
    w.U32(0);
    w.U32(0);
    w.U32(0);
    w.U32(508000);
    w.U32(285750);
    w.End();

    w.Simple(EMR_SETBKMODE, 1);        // TRANSPARENT
    w.Simple(EMR_SETTEXTALIGN, 0);     // TA_LEFT | TA_TOP
    w.Simple(EMR_SETPOLYFILLMODE, 1);  // ALTERNATE

    // The recorder's own form of the drawing, for reading the file back.
    {
        const std::vector<uint8_t> own = EncodeMetaRecords(FRecords, FWidth, FHeight);
        w.Begin(70);   // EMR_COMMENT
        w.U32(static_cast<uint32_t>(own.size()));
        w.Raw(own.data(), own.size());
        w.End();
    }

    TEmfBuilder b(w);
    for (const TMetaRecord& m : FRecords) {
        b.Clip(m.Clip);
        switch (m.Kind) {
        case TMetaRecord::TKind::Polyline:
        case TMetaRecord::TKind::Polygon:
            if (m.Points.size() < 2) break;
            b.Pen(m);
            b.Brush(m);
            WritePoly(w, m);
            break;
        case TMetaRecord::TKind::Ellipse:
            b.Pen(m);
            b.Brush(m);
            w.Begin(EMR_ELLIPSE);
            w.Rect(m.Bounds);
            w.End();
            break;
        case TMetaRecord::TKind::Text:
            if (m.Text.empty()) break;
            b.Font(m);
            b.TextColor(m.PenColor);
            WriteText(w, m);
            break;
        case TMetaRecord::TKind::Image:
            if (m.ImageWidth <= 0 || m.ImageHeight <= 0) break;
            WriteImage(w, m);
            break;
        }
    }
    b.Clip(std::nullopt);

    w.Begin(EMR_EOF);
    w.U32(0);
    w.U32(16);
    w.U32(20);
    w.End();

    const uint32_t bytes = static_cast<uint32_t>(w.Bytes.size());
    std::memcpy(w.Bytes.data() + 48, &bytes, 4);
    std::memcpy(w.Bytes.data() + 52, &w.Records, 4);
    return w.Bytes;
}

} // namespace gui
