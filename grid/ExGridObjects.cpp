// TExStringGrid: the families of objects attached to cells (bitmaps,
// pictures, icons, images, progress bars, comments, balloons, scroll bars,
// markers, buttons, rotated text, interfaced objects).
#include <cmath>

#include "grid/ExGrid.h"
#include "gridbase/ExObj.h"
#include "platform/gui/IconImage.h"
#include "platform/gui/ImgList.h"

namespace grid {

namespace {

template <class T>
T* ObjectOf(TCellGraphic* g, TCellType type)
{
    return g && g->CellType() == type ? dynamic_cast<T*>(g->CellBitmap()) : nullptr;
}

} // namespace

// --- bitmaps, pictures, icons -----------------------------------------------------

void TExStringGrid::AddBitmap(int aCol, int aRow, gui::TBitmap* bmp, bool transparent, TCellHAlign hal,
                              TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetBitmap(bmp, transparent, hal, val);
}

gui::TBitmap* TExStringGrid::CreateBitmap(int aCol, int aRow, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* bmp = new gui::TBitmap;
    g->SetBitmap(bmp, transparent, hal, val);
    g->SetCellCreated(true);
    return bmp;
}

gui::TBitmap* TExStringGrid::GetBitmap(int aCol, int aRow)
{
    return ObjectOf<gui::TBitmap>(GetCellGraphic(aCol, aRow), TCellType::ctBitmap);
}

void TExStringGrid::RemoveBitmap(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctBitmap);
}

void TExStringGrid::AddPicture(int aCol, int aRow, gui::TPicture* picture, bool transparent, TStretchMode mode,
                               int padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetPicture(picture, transparent, mode, padding, hal, val);
}

gui::TPicture* TExStringGrid::CreatePicture(int aCol, int aRow, bool transparent, TStretchMode mode, int padding,
                                            TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* picture = new gui::TPicture;
    g->SetPicture(picture, transparent, mode, padding, hal, val);
    g->SetCellCreated(true);
    return picture;
}

gui::TPicture* TExStringGrid::GetPicture(int aCol, int aRow)
{
    return ObjectOf<gui::TPicture>(GetCellGraphic(aCol, aRow), TCellType::ctPicture);
}

void TExStringGrid::RemovePicture(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctPicture);
}

void TExStringGrid::AddFilePicture(int aCol, int aRow, gridbase::TFilePicture* picture, bool transparent,
                                   TStretchMode mode, int padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetFilePicture(picture, transparent, mode, padding, hal, val);
}

gridbase::TFilePicture* TExStringGrid::CreateFilePicture(int aCol, int aRow, bool transparent, TStretchMode mode,
                                                         int padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* picture = new gridbase::TFilePicture;
    g->SetFilePicture(picture, transparent, mode, padding, hal, val);
    g->SetCellCreated(true);
    return picture;
}

gridbase::TFilePicture* TExStringGrid::GetFilePicture(int aCol, int aRow)
{
    return ObjectOf<gridbase::TFilePicture>(GetCellGraphic(aCol, aRow), TCellType::ctFilePicture);
}

void TExStringGrid::RemoveFilePicture(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctFilePicture);
}

void TExStringGrid::AddIcon(int aCol, int aRow, gui::TIcon* icon, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetIcon(icon, hal, val);
}

gui::TIcon* TExStringGrid::CreateIcon(int aCol, int aRow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* icon = new gui::TIcon;
    g->SetIcon(icon, hal, val);
    g->SetCellCreated(true);
    return icon;
}

void TExStringGrid::RemoveIcon(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctIcon);
}

// --- image-list images --------------------------------------------------------------

void TExStringGrid::AddImageIdx(int aCol, int aRow, int idx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    CreateCellGraphic(aCol, aRow)->SetImageIdx(idx, hal, val);
}

bool TExStringGrid::GetImageIdx(int aCol, int aRow, int& idx)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!FGridImages || !g || g->CellType() != TCellType::ctImageList) return false;
    idx = g->CellIndex();
    return true;
}

void TExStringGrid::RemoveImageIdx(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctImageList);
}

void TExStringGrid::AddDataImage(int aCol, int aRow, int idx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    CreateCellGraphic(aCol, aRow)->SetDataImage(idx, hal, val);
}

bool TExStringGrid::HasDataImage(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    return GetCellType(b.X, b.Y) == TCellType::ctDataImage;
}

void TExStringGrid::RemoveDataImage(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctDataImage);
}

void TExStringGrid::AddMultiImage(int aCol, int aRow, int dir, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages) return;
    // A change of the index list repaints its cell.
    CreateCellGraphic(aCol, aRow)->SetMultiImage(aCol, aRow, dir, hal, val, [this](rtl::TObject* sender) {
        if (const auto* list = dynamic_cast<const gridbase::TIntList*>(sender))
            RepaintCell(RealToDisplayCol(list->Col()), list->Row());
    });
}

void TExStringGrid::RemoveMultiImage(int aCol, int aRow)
{
    if (RemoveCellGraphicOfType(aCol, aRow, TCellType::ctImages)) RepaintCell(RealToDisplayCol(aCol), aRow);
}

// --- progress bars, pies, range indicators ----------------------------------------------

void TExStringGrid::AddProgress(int aCol, int aRow, TColor fgColor, TColor bkColor)
{
    AddProgressFormatted(aCol, aRow, fgColor, 0, bkColor, 0, "", 0, 100);
    GetCellGraphic(aCol, aRow)->SetCellBoolean(false);
}

void TExStringGrid::AddProgressEx(int aCol, int aRow, TColor fgColor, TColor fgTextColor, TColor bkColor,
                                  TColor bkTextColor)
{
    AddProgressFormatted(aCol, aRow, fgColor, fgTextColor, bkColor, bkTextColor, "", 0, 100);
}

void TExStringGrid::AddProgressFormatted(int aCol, int aRow, TColor fgColor, TColor fgTextColor, TColor bkColor,
                                         TColor bkTextColor, const std::string& fmt, int min, int max)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctProgress);
    g->SetCellBitmapColor(fgColor);
    g->SetCellIconColor(bkColor);
    g->SetCellIndex(static_cast<int>(fgTextColor));
    g->SetCellAngle(static_cast<int>(bkTextColor));
    g->SetCellErrFrom(min);
    g->SetCellErrLen(max);
    g->SetCellText(fmt);
    g->SetCellBoolean(true);
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
    if (AutoNumAlign()) SetCellAlignment(aCol, aRow, TAlignment::taRightJustify);
}

void TExStringGrid::RemoveProgress(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctProgress);
}

void TExStringGrid::AddExProgress(int aCol, int aRow, int min, int max)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctXPProgress);
    g->SetCellErrFrom(min);
    g->SetCellErrLen(max);
    g->SetCellBoolean(false);
    g->SetCellText("");
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TExStringGrid::RemoveExProgress(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctXPProgress);
}

void TExStringGrid::AddProgressPie(int aCol, int aRow, TColor color, int value)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctProgressPie);
    g->SetCellBitmapColor(color);
    g->SetCellAngle(value);
    g->SetCellHAlign(TCellHAlign::haBeforeText);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TExStringGrid::SetProgressPie(int aCol, int aRow, int value)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctProgressPie) return;
    g->SetCellAngle(value);
    RepaintCell(RealToDisplayCol(aCol), aRow);
}

void TExStringGrid::RemoveProgressPie(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctProgressPie);
}

void TExStringGrid::AddRangeIndicator(int aCol, int aRow, int range, TColor negColor, TColor posColor,
                                      bool showValue)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctRangeIndicator);
    g->SetCellIndex(range);
    g->SetCellBitmapColor(negColor);
    g->SetCellIconColor(posColor);
    g->SetCellBoolean(showValue);
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TExStringGrid::RemoveRangeIndicator(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctRangeIndicator);
}

// --- comments and balloons ------------------------------------------------------------

void TExStringGrid::AddComment(int aCol, int aRow, const std::string& comment)
{
    AddColorComment(aCol, aRow, comment, gui::clNone);
}

void TExStringGrid::AddColorComment(int aCol, int aRow, const std::string& comment, TColor color)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctComment);
    g->SetCellText(comment);
    g->SetCellAngle(static_cast<int>(color));
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

bool TExStringGrid::IsComment(int aCol, int aRow, std::string& comment)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctComment) return false;
    comment = g->CellText();
    return true;
}

void TExStringGrid::RemoveComment(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctComment);
}

void TExStringGrid::RemoveAllComments()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) RemoveComment(c, r);
}

void TExStringGrid::AddBalloon(int aCol, int aRow, const std::string& title, const std::string& text,
                               TBalloonIcon icon)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* lines = new rtl::TStringList;
    lines->Add(title);
    lines->Add(text);
    g->SetCellType(TCellType::ctBalloon);
    g->SetCellBitmap(lines);
    g->SetCellIndex(static_cast<int>(icon));
}

bool TExStringGrid::HasBalloon(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    return GetCellType(b.X, b.Y) == TCellType::ctBalloon;
}

bool TExStringGrid::IsBalloon(int aCol, int aRow, std::string& title, std::string& text, TBalloonIcon& icon)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    const auto* lines = ObjectOf<rtl::TStringList>(g, TCellType::ctBalloon);
    if (!lines) return false;
    title = lines->Count() > 0 ? lines->Strings(0) : std::string();
    text = lines->Count() > 1 ? lines->Strings(1) : std::string();
    icon = static_cast<TBalloonIcon>(g->CellIndex());
    return true;
}

void TExStringGrid::RemoveBalloon(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctBalloon);
}

// --- scroll bars -------------------------------------------------------------------------

void TExStringGrid::AddScrollBar(int aCol, int aRow, bool autoRange)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctScrollbar);
    g->SetCellIndex(0);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellBoolean(autoRange);
    if (autoRange) CellTextChanged(aCol, aRow);
}

bool TExStringGrid::HasScrollBar(int aCol, int aRow)
{
    return GetCellType(aCol, aRow) == TCellType::ctScrollbar;
}

bool TExStringGrid::HasAutoRangeScrollBar(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    return g && g->CellType() == TCellType::ctScrollbar && g->CellBoolean();
}

void TExStringGrid::SetScrollPosition(int aCol, int aRow, int pos)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctScrollbar) return;
    g->SetCellIndex(pos);
    RepaintCell(RealToDisplayCol(aCol), aRow);
}

int TExStringGrid::GetScrollPosition(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    return g && g->CellType() == TCellType::ctScrollbar ? g->CellIndex() : -1;
}

void TExStringGrid::SetScrollProp(int aCol, int aRow, TScrollProp prop)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctScrollbar) return;
    g->SetCellAngle(prop.PageSize);
    g->SetCellErrFrom(prop.Range);
}

TScrollProp TExStringGrid::GetScrollProp(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctScrollbar) return {-1, -1};
    return {g->CellAngle(), g->CellErrFrom()};
}

void TExStringGrid::RemoveScrollBar(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctScrollbar);
}

// --- markers -------------------------------------------------------------------------------

void TExStringGrid::AddMarker(int aCol, int aRow, int errPos, int errLen)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) {
        g = CreateCellGraphic(aCol, aRow);
        g->SetCellType(TCellType::ctEmpty);
    }
    g->SetCellErrFrom(errPos);
    g->SetCellErrLen(errLen);
    RepaintCell(RealToDisplayCol(aCol), aRow);
}

void TExStringGrid::RemoveMarker(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return;
    if (g->CellType() == TCellType::ctEmpty) {
        RemoveCellGraphic(aCol, aRow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
}

void TExStringGrid::RemoveAllMarkers()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) RemoveMarker(c, r);
}

void TExStringGrid::GetMarker(int aCol, int aRow, int& errPos, int& errLen)
{
    errPos = 0;
    errLen = 0;
    if (TCellGraphic* g = GetCellGraphic(aCol, aRow)) {
        errPos = g->CellErrFrom();
        errLen = g->CellErrLen();
    }
}

// --- buttons -----------------------------------------------------------------------------------

void TExStringGrid::AddButton(int aCol, int aRow, int bw, int bh, const std::string& caption, TCellHAlign hal,
                              TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetButton(bw, bh, caption, hal, val);
}

void TExStringGrid::AddBitButton(int aCol, int aRow, int bw, int bh, const std::string& caption,
                                 gui::TBitmap* glyph, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(aCol, aRow)->SetBitButton(bw, bh, caption, glyph, hal, val);
}

gui::TBitmap* TExStringGrid::CreateBitButton(int aCol, int aRow, int bw, int bh, const std::string& caption,
                                             TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* glyph = new gui::TBitmap;
    g->SetBitButton(bw, bh, caption, glyph, hal, val);
    g->SetCellCreated(true);
    return glyph;
}

void TExStringGrid::SetButtonText(int aCol, int aRow, const std::string& caption)
{
    if (TCellGraphic* g = GetCellGraphic(RealColIndex(aCol), aRow)) {
        g->SetCellText(caption);
        RepaintCell(aCol, aRow);
    }
}

std::string TExStringGrid::GetButtonText(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(RealColIndex(aCol), aRow);
    return g ? g->CellText() : std::string();
}

void TExStringGrid::PushButton(int aCol, int aRow, bool push)
{
    TCellGraphic* g = GetCellGraphic(RealColIndex(aCol), aRow);
    if (!g || g->CellType() == TCellType::ctNode) return;
    g->SetCellBoolean(push);
    RepaintCell(aCol, aRow);
}

bool TExStringGrid::HasButton(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellType t = GetCellType(b.X, b.Y);
    return t == TCellType::ctButton || t == TCellType::ctBitButton;
}

void TExStringGrid::RemoveButton(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctButton);
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctBitButton);
}

void TExStringGrid::GetCellControlRect(int aCol, int aRow, gui::TRect& rect)
{
    TCellGraphic* g = GetCellGraphic(RealColIndex(aCol), aRow);
    if (!g) return;
    const gui::TRect cell = CellRect(aCol, aRow);
    const auto pos = static_cast<uint32_t>(static_cast<int64_t>(std::nearbyint(g->CellValue())));
    const auto size = static_cast<uint32_t>(g->CellIndex());
    rect.Left = cell.Left + static_cast<int>(pos & 0xFFFF);
    rect.Top = cell.Top + static_cast<int>(pos >> 16);
    rect.Right = rect.Left + static_cast<int>(size & 0xFFFF);
    rect.Bottom = rect.Top + static_cast<int>(size >> 16);
    if (g->CellVAlign() == TCellVAlign::vaFull) {
        rect.Top = cell.Top;
        rect.Bottom = cell.Bottom;
    }
    if (g->CellHAlign() == TCellHAlign::haFull) {
        rect.Left = cell.Left;
        rect.Right = cell.Right;
    }
}

// --- rotated text and interfaced objects -------------------------------------------------------

void TExStringGrid::AddRotated(int aCol, int aRow, int16_t angle, const std::string& s)
{
    CreateCellGraphic(aCol, aRow)->SetAngle(angle);
    SetCellText(aCol, aRow, s);
}

void TExStringGrid::SetRotated(int aCol, int aRow, int16_t angle)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) g = CreateCellGraphic(aCol, aRow);
    g->SetAngle(angle);
}

void TExStringGrid::RemoveRotated(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctRotated);
}

void TExStringGrid::AddInterfacedCell(int aCol, int aRow, rtl::TObject* object)
{
    CreateCellGraphic(aCol, aRow)->SetInterfacedCell(object);
}

rtl::TObject* TExStringGrid::GetInterfacedCell(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    return g && g->CellType() == TCellType::ctInterface ? g->CellBitmap() : nullptr;
}

void TExStringGrid::RemoveInterfacedCell(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctInterface);
}

// --- questions of the keyboard, editing and printing ----------------------------------------------

bool TExStringGrid::IsTextReplacedByGraphic(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    switch (GetCellType(b.X, b.Y)) {
    case TCellType::ctDataCheckBox:
    case TCellType::ctDataImage:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
        return true;
    default:
        return false;
    }
}

bool TExStringGrid::HasClickControl(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    switch (GetCellType(b.X, b.Y)) {
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctRadio:
    case TCellType::ctButton:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
    case TCellType::ctRadioButton:
        return true;
    default:
        return false;
    }
}

} // namespace grid
