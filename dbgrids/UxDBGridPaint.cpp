// TUxDBGrid: glyphs that replace the text of Boolean-like fields, the sort
// markers of title buttons, and title and indicator cells in the desktop's
// header theme.
#include "dbgrids/UxDBGrid.h"

#include <memory>
#include <utility>

#include "dbgrids/UxGraphics.h"
#include "platform/gui/Themes.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;
using O = TDBGridOption;

namespace {

const char* const kBitmapNames[12] = {"UxDBGridBLOB",   "UxDBGridMEMO",     "UxDBGridPICT",    "UxDBGridOLE",
                                      "UxDBGridOBJECT", "UxDBGridDATA",     "UxDBGridNOTEMPTY", "UxDBGridSMDOWN",
                                      "UxDBGridSMUP",   "UxDBGridCHECKED", "UxDBGridUNCHECKED", "UxDBGridPOPUP"};
std::unique_ptr<TBitmap> gBitmaps[12];
std::unique_ptr<TBitmap> gMarks[2];

} // namespace

TBitmap* GetDBGridBitmap(TUxDBGridBitmap index)
{
    int i = static_cast<int>(index);
    if (i < 0 || i >= 12) return nullptr;
    if (!gBitmaps[i]) {
        auto b = std::make_unique<TBitmap>(1, 1);
        b->LoadFromResourceName(kBitmapNames[i]);
        gBitmaps[i] = std::move(b);
    }
    return gBitmaps[i].get();
}

TBitmap* GetDBGridIndicatorBitmap(int index)
{
    if (index < 0 || index > 1) return nullptr;
    if (!gMarks[index]) {
        auto b = std::make_unique<TBitmap>(1, 1);
        b->LoadFromResourceName(index == 0 ? "UxDBGridMSDOT" : "UxDBGridMSARROW");
        gMarks[index] = std::move(b);
    }
    return gMarks[index].get();
}

void FreeDBGridBitmaps()
{
    for (auto& b : gMarks) b.reset();
    for (auto& b : gBitmaps) b.reset();
}

bool TUxDBGrid::IsBooleanField(db::TField* field)
{
    if (!FBooleanEditor || !field) return false;
    switch (field->DataType()) {
    case db::TFieldType::ftBoolean: return true;
    case db::TFieldType::ftString:
    case db::TFieldType::ftSmallint:
    case db::TFieldType::ftInteger:
    case db::TFieldType::ftWord:
    case db::TFieldType::ftLargeint:
        if (!OnCheckIfBooleanField) return false;
        FStringForTrue = "1";
        FStringForFalse = "0";
        return OnCheckIfBooleanField(this, field, FStringForTrue, FStringForFalse);
    default: return false;
    }
}

TUxDBGridBitmap TUxDBGrid::GetGlyphIndex(db::TField* field)
{
    using B = TUxDBGridBitmap;
    if (!FShowGlyphs || !field) return B::gpNone;
    switch (field->DataType()) {
    case db::TFieldType::ftString:
        if (IsBooleanField(field) && !field->IsNull())
            return rtl::AnsiSameText(field->AsString(), FStringForFalse) ? B::gpUnChecked : B::gpChecked;
        return B::gpNone;
    case db::TFieldType::ftSmallint:
    case db::TFieldType::ftInteger:
    case db::TFieldType::ftWord:
    case db::TFieldType::ftLargeint:
        if (IsBooleanField(field) && !field->IsNull()) return field->AsLargeInt() != 0 ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    case db::TFieldType::ftBoolean:
        if (FBooleanEditor && !field->IsNull()) return field->AsBoolean() ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    default: return B::gpNone;
    }
}

// ------------------------------------------------------- themed headers

namespace {

enum : int { kHeaderRoot = 0, kHeaderItem = 1 };
enum : int { kItemNormal = 1, kItemHot = 2, kItemPressed = 3 };

void DrawHeaderPart(TWinControl* owner, TCanvas* canvas, int part, int state, const TRect& r)
{
    const HTHEME theme = OpenThemeData(owner, "header");
    if (!theme) return;
    DrawThemeBackground(theme, *canvas, part, state, r, nullptr);
    CloseThemeData(theme);
}

} // namespace

bool TUxDBGrid::ThemesInUse() const { return FUseXPThemes && IsThemeActive(); }

void TUxDBGrid::Paint()
{
    // Header items draw their own edges: the fixed cells lose their lines.
    if (ThemesInUse()) {
        TGridOptions go = TCustomGrid::Options();
        if (go.Contains(TGridOption::goFixedVertLine) || go.Contains(TGridOption::goFixedHorzLine)) {
            go.Exclude(TGridOption::goFixedVertLine);
            go.Exclude(TGridOption::goFixedHorzLine);
            TCustomGrid::SetOptions(go);
        }
    }
    TUxExDBGrid::Paint();
}

void TUxDBGrid::DrawThemedFixedCell(int aCol, int aRow, TGridDrawState state, const TRect& rect)
{
    (void)state;
    if (!ThemesInUse()) return;
    TCanvas* c = Canvas();
    const bool designing = ComponentState().Contains(rtl::TComponentStateItem::csDesigning);
    // Items not pressed overlap their neighbours by the edge lines the
    // platform would have drawn.
    const TRect wide(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 2);
    const bool titles = Options().Contains(O::dgTitles);
    if (aRow < TitleOffset() && aCol >= IndicatorOffset() && titles) {
        const int dataCol = RawToDataColumn(aCol);
        const bool pressed = FPressed && FPressedCol && dataCol < Columns()->Count() &&
                             Columns()->Items(dataCol) == FPressedCol;
        const bool hot = !designing && aCol == FMouseCol;
        if (pressed) DrawHeaderPart(this, c, kHeaderItem, TitleClickSorts() ? kItemPressed : hot ? kItemHot : kItemNormal, rect);
        else DrawHeaderPart(this, c, kHeaderItem, hot ? kItemHot : kItemNormal, wide);
        return;
    }
    if (aCol == 0 && Options().Contains(O::dgIndicator)) {
        if (aRow < TitleOffset()) {
            DrawHeaderPart(this, c, kHeaderItem, kItemNormal, wide);
            return;
        }
        DrawHeaderPart(this, c, kHeaderRoot, 0, wide);
        // The current record's arrow, in white and then in black one pixel
        // to the left, so that it reads on light and dark headers.
        const int record = aRow - TitleOffset();
        if (DataLink()->Active() && record == DataLink()->ActiveRecord()) {
            constexpr int size = 5;
            for (const auto& [dx, colour] : {std::pair{4, clWhite}, std::pair{3, clBlack}}) {
                const int x = rect.Left + dx, y = rect.Top + 3;
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->Brush()->SetColor(colour);
                c->Pen()->SetColor(colour);
                c->Polygon({{x, y}, {x + size - 1, y + size - 1}, {x, y + 2 * (size - 1)}});
            }
        }
    }
}

void TUxDBGrid::TrackHotTitle(int x, int y)
{
    if (!ThemesInUse() || ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return;
    int col = -1;
    if (TitleColumnAt(x, y)) {
        int row = 0;
        MouseToCell(x, y, col, row);
    }
    if (col == FMouseCol) return;
    for (int r = 0; r < TitleOffset(); ++r) {
        if (FMouseCol >= 0) InvalidateCell(FMouseCol, r);
        if (col >= 0) InvalidateCell(col, r);
    }
    FMouseCol = col;
}

void TUxDBGrid::DoMouseLeave(TControl* control)
{
    if (FMouseCol >= 0 && !ComponentState().Contains(rtl::TComponentStateItem::csDesigning))
        for (int r = 0; r < TitleOffset(); ++r) InvalidateCell(FMouseCol, r);
    FMouseCol = -1;
    TUxExDBGrid::DoMouseLeave(control);
}

} // namespace dbgrids
