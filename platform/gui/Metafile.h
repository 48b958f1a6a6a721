// Metafiles: a picture kept as the list of drawing operations that made it.
// A TMetafileCanvas records everything drawn on it into a TMetafile; the
// metafile replays onto any canvas (scaled into a rectangle), lets callers
// search its texts, and is written as an enhanced metafile (EMF) for other
// programs.
//
// The rule a caller must know: records are in the metafile's own pixels
// (the recording canvas's device units); the canvas must be destroyed (or
// Finish called) before the metafile is used.
//
//     gui::TMetafile mf;
//     {
//         gui::TMetafileCanvas c(&mf, 400, 200);
//         c.Rectangle(10, 10, 100, 50);
//         c.TextOut(20, 20, "Sun");
//     }
//     mf.SaveToFile("chart.wmf");            // EMF bytes
//     other.Draw(0, 0, &mf);                 // replayed
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

namespace gui {

// One drawing operation in device pixels.
struct TMetaRecord {
    enum class TKind { Polyline, Polygon, Ellipse, Text, Image };
    TKind Kind = TKind::Polyline;
    std::vector<TPoint> Points;   // Polyline, Polygon
    TRect Bounds;                 // Ellipse, Image; the text's box; the points' extent
    // Pen (PenWidth 0: no outline) and brush (BrushVisible false: no fill).
    TColor PenColor = clBlack;
    int PenWidth = 1;
    TPenStyle PenStyle = TPenStyle::psSolid;
    TColor BrushColor = clWhite;
    bool BrushVisible = false;
    // Text: the string (UTF-8), its font, top-left origin and advances.
    std::string Text;
    std::string FontName;
    int FontHeight = 0;           // pixels
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int Escapement = 0;           // tenths of a degree, anticlockwise
    TPoint Origin;
    std::vector<int> Advances;
    // Image: 24-bit pixels, rows top-down, RGB order.
    int ImageWidth = 0, ImageHeight = 0;
    std::vector<uint8_t> Pixels;
    // The clip in force, in device pixels (none: nothing clips).
    std::optional<TRect> Clip;
};

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;

    bool Empty() const override { return FRecords.empty(); }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetSize(int w, int h) override;
    const std::vector<TMetaRecord>& Records() const { return FRecords; }
    void Clear();
    void Add(TMetaRecord record) { FRecords.push_back(std::move(record)); }

    // The enhanced-metafile bytes (header, objects, drawing, end record)
    // at 96 pixels per inch.
    std::vector<uint8_t> EmfBytes() const;
    // Reads back a metafile this recorder saved (exactly, from its own
    // record block); another program's metafile raises EInvalidGraphic.
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) const override;
    void Draw(TCanvas& canvas, const TRect& r) const override;
    TGraphic* NewEmpty() const override { return new TMetafile; }
    std::string DefaultExtension() const override { return "emf"; }
    void Assign(const rtl::TPersistent* source) override;

private:
    std::vector<TMetaRecord> FRecords;
    int FWidth = 0, FHeight = 0;
};

// A canvas that records into a metafile of width x height pixels.
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile* metafile, int width, int height);
    ~TMetafileCanvas() override;
    // Ends the recording; drawing afterwards is ignored.
    void Finish();

    struct Impl;

private:
    std::unique_ptr<Impl> FRec;
};

} // namespace gui
