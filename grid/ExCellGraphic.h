// ExCellGraphic: TCellGraphic, the record of the one graphic or control a
// string grid cell carries besides its text (bitmap, check box, radio group,
// button, picture, progress bar ...), kept in the cell's property record.
//
// The rule a caller must know: CellCreated says whether the record owns the
// object in CellBitmap / CellIcon; an owned object is freed with the record,
// a caller's object (CellCreated false) stays with the caller.  ctImages and
// ctBalloon always own their object.
//
//   auto* g = new grid::TCellGraphic;
//   g->SetCheckBox(true, false, true, grid::TCellHAlign::haBeforeText, grid::TCellVAlign::vaCenter);
//   g->CellType();                         // ctCheckBox
#pragma once

#include <functional>
#include <string>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Variant.h"

namespace gui {
class TIcon;
class TImageList;
}

namespace gridbase {
class TIntList;
class TFilePicture;
}

namespace grid {

enum class TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode,
    ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton,
    ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator,
    ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon
};
enum class TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum class TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum class TBalloonIcon { biNone, biInfo, biWarning, biError };
// A cell scroll bar's page size and range.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};
enum class TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// A cell object drawn by its own code (the ctInterface graphic).
class ICellDrawable {
public:
    virtual ~ICellDrawable() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws into r; selected when the cell is selected.
    virtual void Draw(gui::TCanvas* canvas, const gui::TRect& r, int aCol, int aRow, bool selected) = 0;
    // Whether the cell's text is drawn after (over) the object.
    virtual bool DrawFirst() const { return true; }
};

class TCellGraphic : public rtl::TPersistent {
    RTL_CLASS(TCellGraphic, rtl::TPersistent)
public:
    TCellGraphic() = default;
    // Frees the owned object of the kinds that can own one.
    ~TCellGraphic() override;
    std::string ClassName() const override { return "TCellGraphic"; }

    // Type, placement and parameters of another TCellGraphic; the object
    // references and CellVar stay.
    void Assign(const rtl::TPersistent* source) override;

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType v) { FCellType = v; }
    rtl::TObject* CellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(rtl::TObject* v) { FCellBitmap = v; }
    rtl::TObject* CellIcon() const { return FCellIcon; }
    void SetCellIcon(rtl::TObject* v) { FCellIcon = v; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign v) { FCellVAlign = v; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign v) { FCellHAlign = v; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int v) { FCellIndex = v; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool v) { FCellTransparent = v; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool v) { FCellCreated = v; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool v) { FCellBoolean = v; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int v) { FCellAngle = v; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double v) { FCellValue = v; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int v) { FCellErrFrom = v; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int v) { FCellErrLen = v; }
    const std::string& CellText() const { return FCellText; }
    void SetCellText(const std::string& v) { FCellText = v; }
    // The colours of the kinds that keep colours where others keep objects
    // (progress bar: foreground / background; pie: its colour; range
    // indicator: negative / positive).
    gui::TColor CellBitmapColor() const { return FCellBitmapColor; }
    void SetCellBitmapColor(gui::TColor v) { FCellBitmapColor = v; }
    gui::TColor CellIconColor() const { return FCellIconColor; }
    void SetCellIconColor(gui::TColor v) { FCellIconColor = v; }
    const rtl::Variant& CellVar() const { return FCellVar; }
    void SetCellVar(const rtl::Variant& v) { FCellVar = v; }

    // Each turns the record into one kind and sets the listed fields only.
    void SetBitmap(gui::TBitmap* bmp, bool transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(rtl::TObject* icon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // An owned index list for (col, row); dir 0 runs the images horizontally.
    void SetMultiImage(int col, int row, int dir, TCellHAlign hal, TCellVAlign val,
                       std::function<void(rtl::TObject*)> notifier = {});
    void SetPicture(gui::TPicture* picture, bool transparent, TStretchMode mode, int padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(gridbase::TFilePicture* picture, bool transparent, TStretchMode mode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val);
    // Rotated text; the angle is brought into 0..360 (360 stays 360).
    void SetAngle(int16_t angle);
    // The size is kept packed: height in the high 16 bits, width in the low.
    void SetButton(int bw, int bh, const std::string& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const std::string& caption, gui::TBitmap* glyph, TCellHAlign hal,
                      TCellVAlign val);
    // The object must also be an ICellDrawable to be measured and drawn.
    void SetInterfacedCell(rtl::TObject* object);

    // The size a ctPicture / ctFilePicture is drawn in within a cw x ch cell
    // (padding and stretch mode applied); (0, 0) for other kinds.
    gui::TPoint GetPictureSize(int cw, int ch, bool hasText) const;
    TStretchMode StretchMode() const { return static_cast<TStretchMode>(FCellAngle & 0xFF); }

private:
    TCellType FCellType = TCellType::ctNone;
    rtl::TObject* FCellBitmap = nullptr;
    rtl::TObject* FCellIcon = nullptr;
    TCellVAlign FCellVAlign = TCellVAlign::vaTop;
    TCellHAlign FCellHAlign = TCellHAlign::haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    std::string FCellText;
    rtl::Variant FCellVar;
    gui::TColor FCellBitmapColor = 0;
    gui::TColor FCellIconColor = 0;
};

// The size a cell's graphic is drawn in, its placement and whether the
// cell's text is shown beside it (check boxes standing for the text,
// rotated text, radio groups and bars show none).
struct TCellGraphicLayout {
    TCellGraphic* Graphic = nullptr;
    int Width = 0, Height = 0;
    bool TextShown = true;
    TCellHAlign HAlign = TCellHAlign::haLeft;
    TCellVAlign VAlign = TCellVAlign::vaTop;
};

} // namespace grid
