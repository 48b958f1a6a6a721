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

namespace {

using FT = db::TFieldType;

bool IsStringType(FT t)
{
    return t == FT::ftString || t == FT::ftWideString || t == FT::ftFixedWideChar;
}

bool IsWholeNumberType(FT t)
{
    switch (t) {
    case FT::ftSmallint: case FT::ftInteger: case FT::ftWord: case FT::ftBCD: case FT::ftLargeint:
    case FT::ftFMTBcd: case FT::ftLongWord: case FT::ftShortint:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TUxDBGrid::IsBooleanField(db::TField* field)
{
    if (!FBooleanEditor || !field) return false;
    const FT t = field->DataType();
    if (t == FT::ftBoolean) return true;
    // Texts and whole numbers count as Boolean only when the owner says so.
    if (t == FT::ftFixedWideChar || !(IsStringType(t) || IsWholeNumberType(t)) || !OnCheckIfBooleanField)
        return false;
    FStringForTrue = "1";
    FStringForFalse = "0";
    return OnCheckIfBooleanField(this, field, FStringForTrue, FStringForFalse);
}

TUxDBGridBitmap TUxDBGrid::GetGlyphIndex(db::TField* field)
{
    using B = TUxDBGridBitmap;
    if (!FShowGlyphs || !field) return B::gpNone;
    const FT t = field->DataType();
    if (IsStringType(t)) {
        if (IsBooleanField(field) && !field->IsNull())
            return rtl::AnsiSameText(field->AsString(), FStringForFalse) ? B::gpUnChecked : B::gpChecked;
        return B::gpNone;
    }
    if (IsWholeNumberType(t)) {
        if (IsBooleanField(field) && !field->IsNull()) return field->AsLargeInt() != 0 ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    }
    switch (t) {
    case FT::ftBoolean:
        if (FBooleanEditor && !field->IsNull()) return field->AsBoolean() ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    case FT::ftBytes: case FT::ftVarBytes: case FT::ftBlob: case FT::ftTypedBinary: case FT::ftOraBlob:
    case FT::ftOraClob:
        return B::gpBlob;
    case FT::ftMemo: case FT::ftFmtMemo: case FT::ftWideMemo:
        return FShowMemos ? B::gpNone : B::gpMemo;
    case FT::ftGraphic: return B::gpPicture;
    case FT::ftParadoxOle: case FT::ftDBaseOle: return B::gpOle;
    case FT::ftCursor: case FT::ftReference: case FT::ftDataSet: return B::gpData;
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
    if (OnBeforePaint) OnBeforePaint(this);
    PaintCells();
    if (OnAfterPaint) OnAfterPaint(this);
}

void TUxDBGrid::PaintCells()
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

// ------------------------------------------------------------ text output

namespace dbgrids {

uint32_t TUxDBGrid::TextFlags(TAlignment alignment, bool rightToLeft, uint32_t extraFlags) const
{
    // A right-to-left canvas mirrors the alignment.
    if (rightToLeft && alignment != TAlignment::taCenter)
        alignment = alignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
    uint32_t flags = alignment == TAlignment::taRightJustify ? DT_RIGHT
                     : alignment == TAlignment::taCenter     ? DT_CENTER
                                                             : DT_LEFT;
    if (rightToLeft) flags |= DT_RTLREADING;
    flags |= DT_NOPREFIX | DT_EXPANDTABS | extraFlags;
    if (FWordWrap) flags |= DT_WORDBREAK;
    return flags;
}

void TUxDBGrid::WriteCellText(const TRect& rect, int dx, int dy, const std::string& text, TAlignment alignment,
                              bool rightToLeft, uint32_t extraFlags, bool isTitle)
{
    TCanvas* c = Canvas();
    const bool themed = ThemesInUse();
    const bool fill = !(isTitle && themed);
    const uint32_t flags = TextFlags(alignment, rightToLeft, extraFlags);
    auto textRect = [&](int left, int top, int right, int bottom) {
        return rightToLeft ? TRect(left + 1, top + dy, right - dx - 1, bottom - dy - 1)
                           : TRect(left + dx, top + dy, right - 1, bottom - 1);
    };
    if (!FReduceFlicker || themed) {
        if (fill) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->FillRect(rect);
        }
        TRect r = textRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
        c->SetBkMode(TRANSPARENT);
        c->DrawText(text, r, flags);
        return;
    }
    // Off screen: the cell is drawn whole and copied in one step.
    TBitmap buffer(std::max(1, rect.Width()), std::max(1, rect.Height()));
    TCanvas* b = buffer.Canvas();
    b->Lock();
    b->Font()->Assign(c->Font());
    b->Brush()->Assign(c->Brush());
    b->Brush()->SetStyle(TBrushStyle::bsSolid);
    const TRect whole(0, 0, rect.Width(), rect.Height());
    if (fill) b->FillRect(whole);
    else b->CopyRect(whole, c, rect);
    TRect r = textRect(0, 0, rect.Width(), rect.Height());
    b->SetBkMode(TRANSPARENT);
    b->DrawText(text, r, flags);
    c->CopyRect(rect, b, whole);
    b->Unlock();
}

void TUxDBGrid::DrawTitleCaption(TCanvas* canvas, const TRect& rect, TColumn* column)
{
    const int lineHeight = canvas->TextHeight("^g");
    const std::string caption = column->Title()->Caption();
    uint32_t flags = DT_END_ELLIPSIS;
    int freeSpace = rect.Height() - lineHeight;
    if (FWordWrap) {
        TRect measured(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
        canvas->DrawText(caption, measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (measured.Bottom - measured.Top > rect.Height()) {
            flags = DT_END_ELLIPSIS | DT_SINGLELINE;
        } else {
            freeSpace = rect.Bottom - measured.Bottom;
            flags = measured.Bottom - measured.Top > lineHeight ? 0u : uint32_t(DT_END_ELLIPSIS);
        }
    }
    const int dy = std::max(1, freeSpace / 2);
    WriteCellText(rect, 1, dy, caption, column->Title()->Alignment(), false, flags, true);
}

} // namespace dbgrids

// ------------------------------------------------------------ title cells

namespace dbgrids {

void TUxDBGrid::GetBtnParams(db::TField* field, TFont* font, TColor& background, TSortMarker& sortMarker, bool isDown)
{
    if (OnGetBtnParams) OnGetBtnParams(this, field, font, background, sortMarker, isDown);
}

void TUxDBGrid::DoDrawColumnTitle(TCanvas* canvas, const TRect& rect, TColumn* column, TBitmap*& sortMarker,
                                  bool isDown, int& offset, bool& defaultDrawText, bool& defaultDrawSortMarker)
{
    if (OnDrawColumnTitle)
        OnDrawColumnTitle(this, canvas, rect, column, sortMarker, isDown, offset, defaultDrawText,
                          defaultDrawSortMarker);
}

void TUxDBGrid::DrawTitleCell(int aCol, const TRect& cell)
{
    TCanvas* c = Canvas();
    const TColor pen = c->Pen()->Color();
    c->Pen()->SetColor(clWindowFrame);
    TColumn* column = Columns()->Items(RawToDataColumn(aCol));
    db::TField* field = column->Field();
    const bool themed = ThemesInUse();
    const bool isDown = FTitleButtons && FPressed && FPressedCol == column;
    TRect rect = cell;
    // The button edge, sunken while pressed.
    if (!themed && (FTitleButtons || (Options().Contains(O::dgColLines) && Options().Contains(O::dgRowLines)))) {
        const uint32_t edge = isDown ? BDR_SUNKENINNER : BDR_RAISEDINNER;
        TRect r = rect;
        c->DrawEdge(r, edge, BF_BOTTOMRIGHT);
        c->DrawEdge(r, edge, BF_TOPLEFT);
        InflateRect(rect, -1, -1);
    }
    c->SetFont(TitleFont());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(column->Title()->Color());
    TSortMarker marker = TitleMarker(field, isDown);
    if (isDown) OffsetRect(rect, 1, 1);
    if (!themed) c->FillRect(rect);
    TBitmap* bitmap = marker == TSortMarker::smDown ? GetDBGridBitmap(TUxDBGridBitmap::gpMarkDown)
                      : marker == TSortMarker::smUp ? GetDBGridBitmap(TUxDBGridBitmap::gpMarkUp)
                                                    : nullptr;
    int offset = bitmap ? bitmap->Width() + 6 : 1;
    bool defaultDrawText = true, defaultDrawSortMarker = true;
    DoDrawColumnTitle(c, rect, column, bitmap, isDown, offset, defaultDrawText, defaultDrawSortMarker);
    // The caption leaves room for the marker.
    TRect textRect = rect;
    if (bitmap) textRect.Right -= bitmap->Width() + 4;
    if (defaultDrawText) DrawTitleCaption(c, textRect, column);
    if (defaultDrawSortMarker && bitmap) {
        const int x = rect.Right - offset + 3;
        if (!themed) c->FillRect(TRect(textRect.Right, rect.Top, rect.Right, rect.Bottom));
        const int y = (rect.Top + rect.Bottom - bitmap->Height()) / 2;
        if (x > rect.Left && y >= rect.Top && x + bitmap->Width() < rect.Right && y + bitmap->Height() <= rect.Bottom)
            DrawMaskedBitmap(c, x, y, bitmap, 0xFF00FF);
    }
    c->Pen()->SetColor(pen);
}

TSortMarker TUxDBGrid::TitleMarker(db::TField* field, bool isDown)
{
    // Sort markers belong to title buttons only.
    if (!FTitleButtons || !field) return TSortMarker::smNone;
    TCanvas* c = Canvas();
    TColor background = c->Brush()->Color();
    TSortMarker marker = TSortMarker::smNone;
    if (IsSortedField(field->FieldName())) {
        marker = FSortMarker;
        GetBtnParams(field, c->Font(), background, marker, isDown);
        // Stored without a repaint: this painting already shows it, and the
        // sorting grid sets its own marker again on every paint, so a repaint
        // here would never end.
        SetSortMarkerQuiet(marker);
    } else {
        GetBtnParams(field, c->Font(), background, marker, isDown);
    }
    c->Brush()->SetColor(background);
    return marker;
}

void TUxDBGrid::EditChanged()
{
    if (OnEditChange) OnEditChange(this);
}

TSysCharSet TUxDBGrid::DefaultCharList()
{
    TSysCharSet set;
    for (int ch : {8, int(' '), int('+'), int(','), int('-'), int('.')}) set.set(static_cast<std::size_t>(ch));
    for (int ch = '0'; ch <= '9'; ++ch) set.set(static_cast<std::size_t>(ch));
    for (int ch = 'A'; ch <= 'Z'; ++ch) set.set(static_cast<std::size_t>(ch));
    for (int ch = 'a'; ch <= 'z'; ++ch) set.set(static_cast<std::size_t>(ch));
    for (int ch : {224, 226, 228, 231, 232, 233, 234, 235, 238, 239, 244, 246, 249, 251})
        set.set(static_cast<std::size_t>(ch));
    return set;
}

} // namespace dbgrids
