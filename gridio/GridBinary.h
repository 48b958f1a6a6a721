// GridBinary: the string grid's binary cell stream.  A rectangle of cells
// is written as a sequence of component-stream records: one TGridPropIO
// header, then per cell a TGridCellIO and, for a cell with properties, a
// TGridCellPropIO.  The grid's private clipboard format carries the same
// stream.
//
// The rule a caller must know: cell coordinates are 16-bit; saving a
// rectangle that reaches column or row 65536 raises ZEziDoroZezuz before
// anything is written, and loading skips cells that land outside the grid.
//
//   rtl::TMemoryStream s;
//   gridio::SaveRectToBinStream(*grid, gui::TRect{1, 1, 3, 4}, s);
//   s.SetPosition(0);
//   gridio::LoadAtPointFromBinStream(*other, gui::TPoint{5, 5}, s);
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "grid/ExGrid.h"
#include "gridio/GridFiles.h"
#include "platform/rtl/Streams.h"

namespace gui {
class TIcon;
}

namespace gridio {

// The header record: the rectangle's size, widths and heights.
class TGridPropIO : public rtl::TComponent {
    RTL_CLASS(TGridPropIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridPropIO"; }
    int32_t ColCount = 0, RowCount = 0;
    std::string ColWidths, RowHeights;
    bool FullGrid = false;
    int32_t ID = 0;
};

// One cell: absolute coordinates, merge-aware text, whether properties follow.
class TGridCellIO : public rtl::TComponent {
    RTL_CLASS(TGridCellIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridCellIO"; }
    uint16_t Col = 0, Row = 0;
    std::string Cell;
    bool HasProp = false;
};

// The properties of the cell before it.
class TGridCellPropIO : public rtl::TComponent {
    RTL_CLASS(TGridCellPropIO, rtl::TComponent)
public:
    TGridCellPropIO(rtl::TComponent* owner, gridbase::TBaseGrid* grid)
        : rtl::TComponent(owner), FProps(std::make_unique<gridbase::TCellProperties>(grid, 0, 0))
    {
    }
    explicit TGridCellPropIO(rtl::TComponent* owner) : TGridCellPropIO(owner, nullptr) {}
    std::string ClassName() const override { return "TGridCellPropIO"; }
    gridbase::TCellProperties* CellProperties() const { return FProps.get(); }
    void SetCellProperties(gridbase::TCellProperties* p) { FProps->Assign(p); }
    bool HasGraphic = false;

private:
    std::unique_ptr<gridbase::TCellProperties> FProps;
};

// The published values of the cell's graphic (after its properties).
class TGridGraphicIO : public rtl::TComponent {
    RTL_CLASS(TGridGraphicIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridGraphicIO"; }
    grid::TCellGraphic* CellGraphic() const { return FGraphic.get(); }
    void SetCellGraphic(grid::TCellGraphic* g) { FGraphic->Assign(g); }

private:
    std::unique_ptr<grid::TCellGraphic> FGraphic = std::make_unique<grid::TCellGraphic>();
};

// A bitmap as the stream carries it: "Data" holds a 32-bit size and the
// bytes of the bitmap file.
class TStreamedBitmap : public rtl::TPersistent {
    RTL_CLASS(TStreamedBitmap, rtl::TPersistent)
public:
    TStreamedBitmap() = default;
    gui::TBitmap& Bitmap() { return FBitmap; }
    void Assign(const rtl::TPersistent* source) override;
    void DefineProperties(rtl::TFiler& filer) override;

private:
    gui::TBitmap FBitmap;
};

// The bitmap payload of a ctBitmap or ctBitButton graphic.
class TGridBMPIO : public rtl::TComponent {
    RTL_CLASS(TGridBMPIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridBMPIO"; }
    TStreamedBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TStreamedBitmap* b) { FBitmap->Assign(b); }

private:
    std::unique_ptr<TStreamedBitmap> FBitmap = std::make_unique<TStreamedBitmap>();
};

// An icon as the stream carries it: "Data" holds a 32-bit size and the
// bytes of the icon file.
class TStreamedIcon : public rtl::TPersistent {
    RTL_CLASS(TStreamedIcon, rtl::TPersistent)
public:
    TStreamedIcon();
    ~TStreamedIcon() override;
    gui::TIcon& Icon() { return *FIcon; }
    // Back to an empty icon (records that carry no data keep it so).
    void Reset();
    void Assign(const rtl::TPersistent* source) override;
    void DefineProperties(rtl::TFiler& filer) override;

private:
    std::unique_ptr<gui::TIcon> FIcon;
};

// A picture as the stream carries it: "Data" holds a 32-bit size, then the
// class name of its graphic (a short string) and the graphic's own bytes.
class TStreamedPicture : public rtl::TPersistent {
    RTL_CLASS(TStreamedPicture, rtl::TPersistent)
public:
    TStreamedPicture() = default;
    gui::TPicture& Picture() { return FPicture; }
    void Reset() { FPicture.SetGraphic(nullptr); }
    void Assign(const rtl::TPersistent* source) override;
    void DefineProperties(rtl::TFiler& filer) override;

private:
    gui::TPicture FPicture;
};

// A file picture as the stream carries it: only its Filename (the size is
// read from the file when the picture is attached to a cell).
class TStreamedFilePicture : public rtl::TPersistent {
    RTL_CLASS(TStreamedFilePicture, rtl::TPersistent)
public:
    TStreamedFilePicture() = default;
    const std::string& Filename() const { return FFilename; }
    void SetFilename(const std::string& v) { FFilename = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FFilename;
};

// The icon payload of a ctIcon graphic.
class TGridIconIO : public rtl::TComponent {
    RTL_CLASS(TGridIconIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridIconIO"; }
    TStreamedIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TStreamedIcon* v) { FIcon->Assign(v); }

private:
    std::unique_ptr<TStreamedIcon> FIcon = std::make_unique<TStreamedIcon>();
};

// The picture payload of a ctPicture graphic.
class TGridPicIO : public rtl::TComponent {
    RTL_CLASS(TGridPicIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridPicIO"; }
    TStreamedPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TStreamedPicture* v) { FPicture->Assign(v); }

private:
    std::unique_ptr<TStreamedPicture> FPicture = std::make_unique<TStreamedPicture>();
};

// The file picture payload of a ctFilePicture graphic.
class TGridFilePicIO : public rtl::TComponent {
    RTL_CLASS(TGridFilePicIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridFilePicIO"; }
    TStreamedFilePicture* Picture() const { return FPicture.get(); }
    void SetPicture(TStreamedFilePicture* v) { FPicture->Assign(v); }

private:
    std::unique_ptr<TStreamedFilePicture> FPicture = std::make_unique<TStreamedFilePicture>();
};

// A list payload: the captions of a ctRadio graphic, or the image indexes
// of a ctImages graphic (one decimal number per string).
class TGridSLIO : public rtl::TComponent {
    RTL_CLASS(TGridSLIO, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;
    std::string ClassName() const override { return "TGridSLIO"; }
    rtl::TStringList* Strings() const { return FStrings.get(); }
    void SetStrings(rtl::TStringList* v) { FStrings->Assign(v); }

private:
    std::unique_ptr<rtl::TStringList> FStrings = std::make_unique<rtl::TStringList>();
};

void SaveRectToBinStream(grid::TExStringGrid& grid, const gui::TRect& rect, rtl::TStream& stream,
                         const TFileProgressEvent& progress = {});
// The whole saveable grid (fixed cells with SaveFixedCells; footers and
// fixed right columns included, hidden columns not).
void SaveToBinStream(grid::TExStringGrid& grid, rtl::TStream& stream);
void SaveToBinFile(grid::TExStringGrid& grid, const std::string& fileName);
// A full-grid stream clears the grid and restores its size, widths and
// heights; any other is placed with its first cell at point.
void LoadAtPointFromBinStream(grid::TExStringGrid& grid, gui::TPoint point, rtl::TStream& stream);
void LoadFromBinStream(grid::TExStringGrid& grid, rtl::TStream& stream);
// Reads the header record at the stream's position (the paste sizes the
// grid from it before loading).
void ReadBinStreamHeader(rtl::TStream& stream, TGridPropIO* header);
void LoadFromBinFile(grid::TExStringGrid& grid, const std::string& fileName);

} // namespace gridio
