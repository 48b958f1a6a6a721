// TExStringGrid: cell graphic access and measurement.  The queries read the
// property store without creating records: painting asks them for every
// visible cell.
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "gridbase/ExObj.h"

namespace grid {

namespace {

bool IsSharedKind(TCellType t)
{
    return t == TCellType::ctVirtCheckBox || t == TCellType::ctRowCheckBox;
}

bool BesideText(TCellHAlign h)
{
    return h == TCellHAlign::haBeforeText || h == TCellHAlign::haAfterText;
}

bool AboveOrUnderText(TCellVAlign v)
{
    return v == TCellVAlign::vaUnderText || v == TCellVAlign::vaAboveText;
}

gui::TPoint GraphicSize(const rtl::TObject* object)
{
    if (const auto* g = dynamic_cast<const gui::TGraphic*>(object)) return {g->Width(), g->Height()};
    return {0, 0};
}

int RoundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

TCellGraphic* TExStringGrid::GetCellGraphic(int aCol, int aRow)
{
    if (aCol == 0 && aRow >= 0 && aRow < RowCount() && MouseActions()->HotmailRowSelect()) {
        FCellGraphic->SetCellType(TCellType::ctRowCheckBox);
        FCellGraphic->SetCellTransparent(ControlLook()->ControlStyle() == TControlStyle::csFlat);
        FCellGraphic->SetCellBoolean(GetRowSelect(aRow));
        return FCellGraphic.get();
    }
    if (aCol < 0 || aRow < 0) return nullptr;
    return dynamic_cast<TCellGraphic*>(TBaseGrid::GetCellGraphic(aCol, aRow));
}

TCellType TExStringGrid::GetCellType(int aCol, int aRow)
{
    const TCellGraphic* g = GetCellGraphic(aCol, aRow);
    return g ? g->CellType() : TCellType::ctEmpty;
}

TCellGraphic* TExStringGrid::CreateCellGraphic(int aCol, int aRow)
{
    // The slot's own graphic goes; a shared one answered for column 0 is
    // never the slot's and is never freed.
    auto* old = dynamic_cast<TCellGraphic*>(TBaseGrid::GetCellGraphic(aCol, aRow));
    if (old && !IsSharedKind(old->CellType())) {
        if (TCellProperties* props = FindCellProperties(aCol, aRow)) props->SetGraphicObject(nullptr);
        delete old;
    }
    auto* g = new TCellGraphic;
    SetCellGraphic(aCol, aRow, g);
    if (TBaseGrid::GetCellGraphic(aCol, aRow) != g) {
        // Outside the store: nothing holds the record.
        delete g;
        throw ZEziDoroZezuz("Invalid cell");
    }
    if (NumHiddenColumns() > 0 && DisplColIndex(aCol) != aCol) RepaintCell(DisplColIndex(aCol), aRow);
    return g;
}

bool TExStringGrid::RemoveCellGraphic(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return false;
    TCellProperties* props = FindCellProperties(aCol, aRow);
    if (props && props->GraphicObject() == g) props->SetGraphicObject(nullptr);
    if (!IsSharedKind(g->CellType()) && g != FCellGraphic.get()) delete g;
    return true;
}

void TExStringGrid::FreeOwnCellGraphic(int aCol, int aRow)
{
    TCellProperties* props = FindCellProperties(aCol, aRow);
    auto* g = props ? dynamic_cast<TCellGraphic*>(props->GraphicObject()) : nullptr;
    if (!g || g == FCellGraphic.get()) return;
    props->SetGraphicObject(nullptr);
    if (!IsSharedKind(g->CellType())) delete g;
}

bool TExStringGrid::RemoveCellGraphicOfType(int aCol, int aRow, TCellType type)
{
    if (GetCellType(aCol, aRow) != type) return false;
    return RemoveCellGraphic(aCol, aRow);
}

gridbase::TIntList* TExStringGrid::GetMultiImageList(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctImages) return nullptr;
    return dynamic_cast<gridbase::TIntList*>(g->CellBitmap());
}

intptr_t TExStringGrid::GetCellImageKey(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return -1;
    switch (g->CellType()) {
    case TCellType::ctBitmap:
        return reinterpret_cast<intptr_t>(g->CellBitmap());
    case TCellType::ctIcon:
        return reinterpret_cast<intptr_t>(g->CellIcon());
    case TCellType::ctImageList:
        return g->CellIndex();
    default:
        return -1;
    }
}

bool TExStringGrid::IsRotated(int aCol, int aRow, int& angle)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctRotated) return false;
    angle = g->CellAngle();
    return true;
}

gui::TPoint TExStringGrid::GetCellGraphicSize(int aCol, int aRow)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return {0, 0};
    const gui::TPoint base = BaseCell(aCol, aRow);
    const std::string text = GetCellText(base.X, base.Y);
    const bool noText = text.empty();
    const gui::TPoint cellSize = CellSize(aCol, aRow);
    gui::TCanvas* canvas = Canvas();
    int w = 0, h = 0;
    bool keepButtonWidth = false;
    switch (g->CellType()) {
    case TCellType::ctBitmap: {
        const gui::TPoint s = GraphicSize(g->CellBitmap());
        if (BesideText(g->CellHAlign()) || noText) w = s.X;
        if (AboveOrUnderText(g->CellVAlign()) || noText) h = s.Y;
        break;
    }
    case TCellType::ctIcon: {
        const gui::TPoint s = GraphicSize(g->CellIcon());
        if (BesideText(g->CellHAlign()) || noText) w = s.X;
        h = s.Y;
        break;
    }
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
        w = h = ControlLook()->CheckSize();
        break;
    case TCellType::ctRadio: {
        const auto* list = dynamic_cast<const rtl::TStringList*>(g->CellBitmap());
        const int n = list ? list->Count() : 0;
        if (g->CellBoolean()) {
            for (int i = 0; i < n; ++i) w += canvas->TextWidth(list->Strings(i)) + 12;
            h = canvas->TextHeight("gh");
        } else {
            w = 12;
            for (int i = 0; i < n; ++i) w = std::max(w, canvas->TextWidth(list->Strings(i)) + 12);
            h = n * std::max(16, canvas->TextHeight("gh"));
        }
        break;
    }
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
        const gui::TPoint s = g->GetPictureSize(cellSize.X, cellSize.Y, !noText);
        w = s.X;
        h = s.Y;
        break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton:
        w = g->CellIndex() & 0xFFFF;
        h = (static_cast<uint32_t>(g->CellIndex()) >> 16) & 0xFFFF;
        if (!noText) {
            if (g->CellHAlign() == TCellHAlign::haCenter) w = 0;
            if (g->CellHAlign() == TCellHAlign::haFull) w = canvas->TextWidth(g->CellText()) + 4;
            if (!AboveOrUnderText(g->CellVAlign())) h = 0;
        } else if (g->CellHAlign() == TCellHAlign::haFull) {
            canvas->Font()->Assign(Font());
            w = canvas->TextWidth(g->CellText()) + 4;
            keepButtonWidth = !g->CellText().empty();
        }
        break;
    case TCellType::ctProgressPie:
        w = h = 20;
        break;
    case TCellType::ctInterface:
        if (const auto* d = dynamic_cast<const ICellDrawable*>(g->CellBitmap())) {
            w = d->Width();
            h = d->Height();
        }
        break;
    case TCellType::ctRadioButton:
        w = h = ControlLook()->RadioSize();
        break;
    default:
        break;
    }
    const gui::TRect r = CellRect(aCol, aRow);
    if (g->CellVAlign() == TCellVAlign::vaFull) h = r.Bottom - r.Top;
    if (g->CellHAlign() == TCellHAlign::haFull && !keepButtonWidth) w = r.Right - r.Left;
    return {w, h};
}

gui::TPoint TExStringGrid::GetPrintGraphicSize(int aCol, int aRow, int availWidth, int availHeight, double scale)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return {0, 0};
    gui::TCanvas* canvas = Canvas();
    switch (g->CellType()) {
    case TCellType::ctBitmap:
        return GraphicSize(g->CellBitmap());
    case TCellType::ctIcon:
        return GraphicSize(g->CellIcon());
    case TCellType::ctRadio: {
        const auto* list = dynamic_cast<const rtl::TStringList*>(g->CellBitmap());
        const int n = list ? list->Count() : 0;
        int w = 0;
        if (g->CellBoolean()) {
            for (int i = 0; i < n; ++i) w += canvas->TextWidth(list->Strings(i)) + 12;
            return {w, canvas->TextHeight("gh")};
        }
        w = 12;
        for (int i = 0; i < n; ++i) w = std::max(w, canvas->TextWidth(list->Strings(i)) + 12);
        return {w, n * canvas->TextHeight("gh")};
    }
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
        const gui::TPoint s = g->GetPictureSize(availWidth, availHeight, !GetCellText(aCol, aRow).empty());
        if (scale <= 0) return s;
        return {RoundEven(s.X / scale), RoundEven(s.Y / scale)};
    }
    case TCellType::ctProgress:
    case TCellType::ctXPProgress:
        return {ColWidths(DisplColIndex(aCol)), RowHeights(aRow)};
    case TCellType::ctButton:
    case TCellType::ctBitButton:
        return {g->CellIndex() & 0xFFFF, static_cast<int>((static_cast<uint32_t>(g->CellIndex()) >> 16) & 0xFFFF)};
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
        return {ControlLook()->CheckSize(), ControlLook()->CheckSize()};
    case TCellType::ctRadioButton:
        return {ControlLook()->RadioSize(), ControlLook()->RadioSize()};
    case TCellType::ctProgressPie:
        return {20, 20};
    case TCellType::ctInterface:
        if (const auto* d = dynamic_cast<const ICellDrawable*>(g->CellBitmap())) return {d->Width(), d->Height()};
        return {0, 0};
    default:
        return {0, 0};
    }
}

} // namespace grid
