// TCellGraphic: the per-cell graphic record.
#include "grid/ExCellGraphic.h"

#include <cmath>

#include "gridbase/ExObj.h"

namespace grid {

namespace {

const rtl::TTypeInfo* CellTypeType()
{
    static const rtl::TTypeInfo t = rtl::TTypeInfo::Enumeration(
        "TCellType", {"ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated",
                      "ctDataImage", "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture",
                      "ctValue", "ctProgress", "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox",
                      "ctRowCheckBox", "ctProgressPie", "ctSummary", "ctRangeIndicator", "ctXPProgress",
                      "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon"});
    return &t;
}
const rtl::TTypeInfo* CellVAlignType()
{
    static const rtl::TTypeInfo t = rtl::TTypeInfo::Enumeration(
        "TCellVAlign", {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"});
    return &t;
}
const rtl::TTypeInfo* CellHAlignType()
{
    static const rtl::TTypeInfo t = rtl::TTypeInfo::Enumeration(
        "TCellHAlign", {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"});
    return &t;
}

} // namespace

// The graphic's published values in their stream order (the payload objects are not among them).
RTL_PUBLISHED(TCellGraphic)
{
    using P = TCellGraphic;
    c.Property(
         "CellType", [](P& p) { return static_cast<int32_t>(p.CellType()); },
         [](P& p, int32_t v) { p.SetCellType(static_cast<TCellType>(v)); })
        .As(CellTypeType());
    c.Property(
         "CellVAlign", [](P& p) { return static_cast<int32_t>(p.CellVAlign()); },
         [](P& p, int32_t v) { p.SetCellVAlign(static_cast<TCellVAlign>(v)); })
        .As(CellVAlignType());
    c.Property(
         "CellHAlign", [](P& p) { return static_cast<int32_t>(p.CellHAlign()); },
         [](P& p, int32_t v) { p.SetCellHAlign(static_cast<TCellHAlign>(v)); })
        .As(CellHAlignType());
    c.Property("CellIndex", &P::CellIndex, &P::SetCellIndex);
    c.Property("CellTransparent", &P::CellTransparent, &P::SetCellTransparent);
    c.Property("CellCreated", &P::CellCreated, &P::SetCellCreated);
    c.Property("CellBoolean", &P::CellBoolean, &P::SetCellBoolean);
    c.Property("CellAngle", &P::CellAngle, &P::SetCellAngle);
    c.Property("CellValue", &P::CellValue, &P::SetCellValue);
    c.Property("CellErrFrom", &P::CellErrFrom, &P::SetCellErrFrom);
    c.Property("CellErrLen", &P::CellErrLen, &P::SetCellErrLen);
    c.Property(
        "CellText", [](P& p) { return p.CellText(); }, [](P& p, std::string v) { p.SetCellText(v); });
}

TCellGraphic::~TCellGraphic()
{
    switch (FCellType) {
    case TCellType::ctBitmap:
    case TCellType::ctRadio:
    case TCellType::ctPicture:
    case TCellType::ctFilePicture:
    case TCellType::ctBitButton:
        if (FCellCreated) delete FCellBitmap;
        break;
    case TCellType::ctIcon:
        if (FCellCreated) delete FCellIcon;
        break;
    case TCellType::ctImages:
    case TCellType::ctBalloon:
        delete FCellBitmap;
        break;
    default:
        break;
    }
}

void TCellGraphic::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TCellGraphic*>(source);
    if (!src) return;
    FCellType = src->FCellType;
    FCellVAlign = src->FCellVAlign;
    FCellHAlign = src->FCellHAlign;
    FCellIndex = src->FCellIndex;
    FCellTransparent = src->FCellTransparent;
    FCellValue = src->FCellValue;
    FCellAngle = src->FCellAngle;
    FCellBoolean = src->FCellBoolean;
    FCellErrFrom = src->FCellErrFrom;
    FCellErrLen = src->FCellErrLen;
    FCellText = src->FCellText;
    FCellCreated = src->FCellCreated;
    FCellBitmapColor = src->FCellBitmapColor;
    FCellIconColor = src->FCellIconColor;
}

void TCellGraphic::SetBitmap(gui::TBitmap* bmp, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctBitmap;
    FCellBitmap = bmp;
    FCellTransparent = transparent;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetIcon(rtl::TObject* icon, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctIcon;
    FCellIcon = icon;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctImageList;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctDataImage;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetMultiImage(int col, int row, int dir, TCellHAlign hal, TCellVAlign val,
                                 std::function<void(rtl::TObject*)> notifier)
{
    FCellType = TCellType::ctImages;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBoolean = dir == 0;
    auto* list = new gridbase::TIntList(col, row);
    if (notifier) list->OnChange = [notifier](rtl::TObject* sender, int, int) { notifier(sender); };
    FCellBitmap = list;
    FCellCreated = true;
}

void TCellGraphic::SetPicture(gui::TPicture* picture, bool transparent, TStretchMode mode, int padding,
                              TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctPicture;
    FCellBitmap = picture;
    FCellTransparent = transparent;
    FCellAngle = static_cast<int>(mode);
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetFilePicture(gridbase::TFilePicture* picture, bool transparent, TStretchMode mode,
                                  int padding, TCellHAlign hal, TCellVAlign val)
{
    SetPicture(nullptr, transparent, mode, padding, hal, val);
    FCellType = TCellType::ctFilePicture;
    FCellBitmap = picture;
}

void TCellGraphic::SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = data ? TCellType::ctDataCheckBox : TCellType::ctCheckBox;
    FCellBoolean = value;
    FCellTransparent = flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctRadioButton;
    FCellBoolean = value;
    FCellTransparent = flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetAngle(int16_t angle)
{
    FCellType = TCellType::ctRotated;
    int a = angle;
    while (a < 0) a += 360;
    while (a > 360) a -= 360;
    FCellAngle = a;
}

void TCellGraphic::SetButton(int bw, int bh, const std::string& caption, TCellHAlign hal, TCellVAlign val)
{
    FCellType = TCellType::ctButton;
    FCellIndex = static_cast<int>((static_cast<uint32_t>(bh) << 16) | (static_cast<uint32_t>(bw) & 0xFFFF));
    FCellBoolean = false;
    FCellText = caption;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetBitButton(int bw, int bh, const std::string& caption, gui::TBitmap* glyph,
                                TCellHAlign hal, TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    FCellType = TCellType::ctBitButton;
    FCellBitmap = glyph;
}

void TCellGraphic::SetInterfacedCell(rtl::TObject* object)
{
    FCellType = TCellType::ctInterface;
    FCellBitmap = object;
}

gui::TPoint TCellGraphic::GetPictureSize(int cw, int ch, bool /*hasText*/) const
{
    int w = 0, h = 0;
    if (FCellType == TCellType::ctPicture) {
        if (const auto* p = dynamic_cast<const gui::TPicture*>(FCellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else if (FCellType == TCellType::ctFilePicture) {
        if (const auto* p = dynamic_cast<const gridbase::TFilePicture*>(FCellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else {
        return {0, 0};
    }
    const int a = cw - FCellIndex;
    const int b = ch - FCellIndex;
    const auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    const double rx0 = w < 1 ? 1.0 : static_cast<double>(a) / w;
    const double ry0 = h < 1 ? 1.0 : static_cast<double>(b) / h;
    switch (StretchMode()) {
    case TStretchMode::Stretch:
        return {a, b};
    case TStretchMode::StretchWithAspectRatio:
        return rx0 >= ry0 ? gui::TPoint{round(w * ry0), b} : gui::TPoint{a, round(h * rx0)};
    case TStretchMode::Shrink:
        if (a >= w && b >= h) return {w, h};
        return {a, b};
    case TStretchMode::ShrinkWithAspectRatio: {
        if (a >= w && b >= h) return {w, h};
        const double rx = std::min(rx0, 1.0), ry = std::min(ry0, 1.0);
        return rx >= ry ? gui::TPoint{round(w * ry), b} : gui::TPoint{a, round(h * rx)};
    }
    default:
        return {w, h};
    }
}

} // namespace grid
