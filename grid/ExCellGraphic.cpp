// TCellGraphic: the per-cell graphic record.
#include "grid/ExCellGraphic.h"

#include <cmath>

#include "gridbase/ExObj.h"

namespace grid {

RTL_PUBLISHED(TCellGraphic) {}

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
