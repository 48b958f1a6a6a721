// BaseGrid: the cell property store, merged cells, merge-aware cell text and
// cell rectangles.
#include <algorithm>
#include <atomic>

#include "gridbase/BaseGrid.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

std::atomic<long> gLiveCellProperties{0};

gui::TRect Union(const gui::TRect& a, const gui::TRect& b)
{
    return gui::TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                      std::max(a.Bottom, b.Bottom));
}

} // namespace

// --- published properties ------------------------------------------------------

namespace {

// The class library's enumerations the cell properties publish, described
// here for the run-time type information.
const rtl::TTypeInfo* AlignmentType()
{
    static const rtl::TTypeInfo t =
        rtl::TTypeInfo::Enumeration("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return &t;
}
const rtl::TTypeInfo* BrushStyleType()
{
    static const rtl::TTypeInfo t = rtl::TTypeInfo::Enumeration(
        "TBrushStyle",
        {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    return &t;
}
const rtl::TTypeInfo* FontStylesType()
{
    static const rtl::TTypeInfo style =
        rtl::TTypeInfo::Enumeration("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    static const rtl::TTypeInfo t = rtl::TTypeInfo::SetOf("TFontStyles", &style);
    return &t;
}

} // namespace

RTL_PUBLISHED(TCellProperties)
{
    using P = TCellProperties;
    c.Property("IsBaseCell", &P::IsBaseCell, &P::SetIsBaseCell);
    c.Property("CellSpanX", &P::CellSpanX, &P::SetCellSpanX);
    c.Property("CellSpanY", &P::CellSpanY, &P::SetCellSpanY);
    c.Property("OwnerCol", &P::OwnerCol, &P::SetOwnerCol).Stored(false);
    c.Property("OwnerRow", &P::OwnerRow, &P::SetOwnerRow).Stored(false);
    c.Property(
         "Alignment", [](P& p) { return static_cast<int32_t>(p.Alignment()); },
         [](P& p, int32_t v) { p.SetAlignment(static_cast<gui::TAlignment>(v)); })
        .As(AlignmentType());
    c.Property("BorderColor", &P::BorderColor, &P::SetBorderColor);
    c.Property("BorderWidth", &P::BorderWidth, &P::SetBorderWidth);
    c.Property("BrushColor", &P::BrushColor, &P::SetBrushColor);
    c.Property("BrushColorTo", &P::BrushColorTo, &P::SetBrushColorTo);
    c.Property(
         "BrushStyle", [](P& p) { return static_cast<int32_t>(p.BrushStyle()); },
         [](P& p, int32_t v) { p.SetBrushStyle(static_cast<gui::TBrushStyle>(v)); })
        .As(BrushStyleType());
    c.Property("CellObject", &P::CellObject, &P::SetCellObject);
    c.Property("FontColor", &P::FontColor, &P::SetFontColor);
    c.Property("FontName", &P::FontName, &P::SetFontName);
    c.Property("FontSize", &P::FontSize, &P::SetFontSize);
    c.Property(
         "FontStyle", [](P& p) { return static_cast<uint8_t>(p.FontStyle().ToMask()); },
         [](P& p, uint8_t v) { p.SetFontStyle(gui::TFontStyles::FromMask(v)); })
        .As(FontStylesType());
    c.Property("Editor", &P::Editor, &P::SetEditor);
    c.Property("GradientDirection", &P::GradientDirection, &P::SetGradientDirection);
    c.Property("ReadOnly", &P::ReadOnly, &P::SetReadOnly);
    c.Property("VAlignment", &P::VAlignment, &P::SetVAlignment);
    c.Property("WordWrap", &P::WordWrap, &P::SetWordWrap);
    c.Property("NodeLevel", &P::NodeLevel, &P::SetNodeLevel);
    c.Property("Control", &P::Control, &P::SetControl);
}

RTL_PUBLISHED(TBaseGrid)
{
    using G = TBaseGrid;
    c.Property("ActiveRowShow", &G::ActiveRowShow, &G::SetActiveRowShow).Default(false);
    c.Property("ActiveRowColor", &G::ActiveRowColor, &G::SetActiveRowColor).Default(gui::clInfoBk);
    c.Property("DefaultDrawing", &G::DefaultDrawing, &G::SetDefaultDrawing).Default(false);
    c.Property("GridLineWidth", &G::GridLineWidth, &G::SetGridLineWidth).Default(1);
    c.Property("GridLineColor", &G::GridLineColor, &G::SetGridLineColor).Default(0xC0C0C0);
    c.Property("GridFixedLineColor", &G::GridFixedLineColor, &G::SetGridFixedLineColor).Default(0x808080);
    c.Event("OnGetDisplText", &G::OnGetDisplText);
    c.Event("OnGetDisplWideText", &G::OnGetDisplWideText);
    c.Property("UndoRedo", &G::UndoRedo, &G::SetUndoRedo);
}

// --- TCellProperties ---------------------------------------------------------

TCellProperties::TCellProperties(TBaseGrid* owner, int aCol, int aRow)
    : FOwnerGrid(owner), FOwnerCol(aCol), FOwnerRow(aRow), FWordWrap(owner ? owner->WordWrap() : true)
{
    if (owner) owner->SetHasCellProps(true);
    ++gLiveCellProperties;
}

TCellProperties::~TCellProperties()
{
    --gLiveCellProperties;
    if (FOwnerGrid) FOwnerGrid->Forget(this);
}

long TCellProperties::LiveCount() { return gLiveCellProperties.load(); }

void TCellProperties::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TCellProperties*>(source);
    if (!src) return;
    FIsBaseCell = src->FIsBaseCell;
    FCellSpanX = src->FCellSpanX;
    FCellSpanY = src->FCellSpanY;
    FOwnerRow = src->FOwnerRow;
    FOwnerCol = src->FOwnerCol;
    FAlignment = src->FAlignment;
    FBorderColor = src->FBorderColor;
    FBorderWidth = src->FBorderWidth;
    FBrushColor = src->FBrushColor;
    FBrushStyle = src->FBrushStyle;
    FFontColor = src->FFontColor;
    FFontStyle = src->FFontStyle;
    FFontName = src->FFontName;
    FFontSize = src->FFontSize;
    FReadOnly = src->FReadOnly;
    FEditor = src->FEditor;
    FVAlignment = src->FVAlignment;
    FWordWrap = src->FWordWrap;
    FNodeLevel = src->FNodeLevel;
    FControl = src->FControl;
}

gui::TPoint TCellProperties::LocateBaseCell(int aCol, int aRow) const
{
    if (FIsBaseCell) return gui::TPoint(aCol, aRow);
    if (FCellSpanX != -1 && FCellSpanY != -1) return gui::TPoint(aCol - FCellSpanX, aRow - FCellSpanY);
    return gui::TPoint(aCol, aRow);
}

void TCellProperties::Repaint()
{
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    FBrushColor = v;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    FBrushColorTo = v;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    Repaint();
}

void TCellProperties::SetWordWrap(bool v)
{
    FWordWrap = v;
    Repaint();
}

// --- TBaseGrid: construction and properties --------------------------------------

TBaseGrid::TBaseGrid(rtl::TComponent* owner) : gui::TStringGrid(owner)
{
    gui::TStringGrid::SetDefaultDrawing(false);
    gui::TStringGrid::SetGridLineWidth(0);
}

TBaseGrid::~TBaseGrid()
{
    FreeAllCellProperties();
    // Properties no slot holds any more (moved out by raw writes) go too.
    while (!FOwned.empty()) FreeProperties(FOwned.begin()->first, true);
    if (FUndoRedo) FUndoRedo->SetGrid(nullptr);
}

void TBaseGrid::SetDefaultDrawing(bool value)
{
    FDefaultDrawing = value;
    gui::TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int value)
{
    FGridLineWidth = value;
    gui::TStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor value)
{
    FGridLineColor = value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor value)
{
    FGridFixedLineColor = value;
    Invalidate();
}

void TBaseGrid::SetActiveRowShow(bool value)
{
    if (value == FActiveRowShow) return;
    FActiveRowShow = value;
    Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor value)
{
    if (value == FActiveRowColor) return;
    FActiveRowColor = value;
    Invalidate();
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle value)
{
    if (value == FSelectionStyle) return;
    FSelectionStyle = value;
    Invalidate();
}

void TBaseGrid::SetUndoRedo(ZAdiZaviDuraRavi* value)
{
    if (FUndoRedo == value) return;
    if (FUndoRedo) FUndoRedo->RemoveFreeNotification(this);
    FUndoRedo = value;
    if (value) {
        value->FreeNotification(this);
        value->SetGrid(this);
    }
}

void TBaseGrid::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    if (operation == rtl::TOperation::opRemove && component == FUndoRedo) FUndoRedo = nullptr;
    gui::TStringGrid::Notification(component, operation);
}

// --- slot bookkeeping ------------------------------------------------------------

void TBaseGrid::Hold(rtl::TObject* object)
{
    auto* props = dynamic_cast<TCellProperties*>(object);
    if (props && props->FOwnerGrid == this) ++FOwned[props];
}

void TBaseGrid::Release(rtl::TObject* object, bool freeGraphic, bool freeWhenUnheld)
{
    auto* props = dynamic_cast<TCellProperties*>(object);
    if (!props) return;
    auto it = FOwned.find(props);
    if (it == FOwned.end()) return;
    if (it->second > 0) --it->second;
    if (it->second == 0 && freeWhenUnheld) FreeProperties(props, freeGraphic);
}

void TBaseGrid::FreeProperties(TCellProperties* props, bool freeGraphic)
{
    if (freeGraphic && props->FGraphicObject && props->FGraphicObject->ClassName() == "TCellGraphic")
        delete props->FGraphicObject;
    delete props;
}

// --- cell property store -----------------------------------------------------------

TCellProperties* TBaseGrid::FindCellProperties(int aCol, int aRow) const
{
    if (!Inside(aCol, aRow)) return nullptr;
    return dynamic_cast<TCellProperties*>(Objects(aCol, aRow));
}

TCellProperties* TBaseGrid::CreateCellProperties(int c, int r)
{
    auto* props = new TCellProperties(this, c, r);
    SetRawObject(c, r, props);
    gui::TFont font;
    gui::TBrush brush;
    TColor colorTo = gui::clNone, mirrorColor = gui::clNone, mirrorColorTo = gui::clNone;
    gui::TAlignment ha = gui::TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetDefaultCellProperties(c, r, font, brush, colorTo, mirrorColor, mirrorColorTo, ha, va, ww, gd);
    props->FCalcType = TColumnCalcType::acNONE;
    props->FAlignment = ha;
    props->FVAlignment = va;
    props->FWordWrap = ww;
    props->FFontName = font.Name();
    props->FFontSize = font.Size();
    props->FFontStyle = font.Style();
    props->FFontColor = font.Color();
    props->FBrushColor = brush.Color();
    props->FBrushColorTo = colorTo;
    props->FGradientDirection = gd;
    return props;
}

void TBaseGrid::GetDefaultCellProperties(int, int, gui::TFont& font, gui::TBrush& brush, TColor& colorTo,
                                         TColor& mirrorColor, TColor& mirrorColorTo, gui::TAlignment& ha,
                                         TVAlignment& va, bool& ww, TCellGradientDirection& gd)
{
    font.Assign(Font());
    brush.SetColor(Color());
    colorTo = mirrorColor = mirrorColorTo = gui::clNone;
    ha = gui::TAlignment::taLeftJustify;
    va = TVAlignment::vtaTop;
    ww = FWordWrap;
    gd = TCellGradientDirection::GradientVertical;
}

TCellProperties* TBaseGrid::GetCellProperties(int c, int r)
{
    if (!Inside(c, r)) return nullptr;
    rtl::TObject* slot = Objects(c, r);
    if (!slot) return CreateCellProperties(c, r);
    return dynamic_cast<TCellProperties*>(slot);
}

void TBaseGrid::SetCellProperties(int c, int r, TCellProperties* value)
{
    if (!Inside(c, r)) return;
    rtl::TObject* old = Objects(c, r);
    if (old == value) return;
    SetRawObject(c, r, value);
    Release(old, false, true);
}

bool TBaseGrid::HasCellProperties(int aCol, int aRow) const
{
    return Inside(aCol, aRow) && Objects(aCol, aRow) != nullptr;
}

rtl::TObject* TBaseGrid::GetRawObject(int aCol, int aRow) const
{
    return Inside(aCol, aRow) ? Objects(aCol, aRow) : nullptr;
}

void TBaseGrid::SetRawObject(int aCol, int aRow, rtl::TObject* object)
{
    if (!Inside(aCol, aRow)) return;
    rtl::TObject* old = Objects(aCol, aRow);
    if (old == object) return;
    Hold(object);
    gui::TStringGrid::SetObjects(aCol, aRow, object);
    Release(old, false, false);
}

rtl::TObject* TBaseGrid::GetCellObject(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    return props ? props->CellObject() : nullptr;
}

void TBaseGrid::SetCellObject(int aCol, int aRow, rtl::TObject* object)
{
    if (!Inside(aCol, aRow)) return;
    const bool wasEmpty = GetCellText(aCol, aRow).empty();
    if (wasEmpty) SetCellText(aCol, aRow, " ");
    if (TCellProperties* props = GetCellProperties(aCol, aRow)) props->SetCellObject(object);
    if (wasEmpty) SetCellText(aCol, aRow, "");
}

rtl::TObject* TBaseGrid::GetCellGraphic(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    return props ? props->GraphicObject() : nullptr;
}

void TBaseGrid::SetCellGraphic(int aCol, int aRow, rtl::TObject* graphic)
{
    if (IsDestroying() || !Inside(aCol, aRow)) return;
    const bool wasEmpty = GetCellText(aCol, aRow).empty();
    if (wasEmpty) SetCellText(aCol, aRow, " ");
    if (TCellProperties* props = GetCellProperties(aCol, aRow)) props->SetGraphicObject(graphic);
    if (wasEmpty) SetCellText(aCol, aRow, "");
}

rtl::TObject* TBaseGrid::GetPropertiesGraphic(const TCellProperties* props) const
{
    return props ? props->GraphicObject() : nullptr;
}

void TBaseGrid::FreeCellProperties(int aCol, int aRow)
{
    if (!Inside(aCol, aRow)) return;
    rtl::TObject* old = Objects(aCol, aRow);
    if (!old) return;
    gui::TStringGrid::SetObjects(aCol, aRow, nullptr);
    Release(old, false, true);
}

void TBaseGrid::FreeCellPropertiesRect(int fromCol, int fromRow, int toCol, int toRow)
{
    if (!FHasCellProps) return;
    fromCol = std::max(fromCol, 0);
    fromRow = std::max(fromRow, 0);
    toCol = std::min(toCol, ColCount() - 1);
    toRow = std::min(toRow, RowCount() - 1);
    for (int c = fromCol; c <= toCol; ++c)
        for (int r = fromRow; r <= toRow; ++r) {
            rtl::TObject* old = Objects(c, r);
            if (!old) continue;
            gui::TStringGrid::SetObjects(c, r, nullptr);
            Release(old, true, true);
        }
}

void TBaseGrid::FreeAllCellProperties() { FreeCellPropertiesRect(0, 0, ColCount() - 1, RowCount() - 1); }

void TBaseGrid::ResetCell(int aCol, int aRow)
{
    if (!Inside(aCol, aRow)) return;
    SetCellText(aCol, aRow, "");
    FreeCellProperties(aCol, aRow);
}

void TBaseGrid::ResetRowCells(int aRow)
{
    if (aRow < 0 || aRow >= RowCount()) return;
    for (int c = 0; c < ColCount(); ++c) {
        FreeCellProperties(c, aRow);
        SetCellText(c, aRow, "");
    }
}

void TBaseGrid::ResetColumnCells(int aCol)
{
    if (aCol < 0 || aCol >= ColCount()) return;
    for (int r = 0; r < RowCount(); ++r) {
        FreeCellProperties(aCol, r);
        SetCellText(aCol, r, "");
    }
}

// --- cell text ----------------------------------------------------------------------

void TBaseGrid::DoGetDisplText(int aCol, int aRow, std::string& value)
{
    if (OnGetDisplText) OnGetDisplText(this, aCol, aRow, value);
}

void TBaseGrid::DoGetDisplWideText(int aCol, int aRow, std::u16string& value)
{
    if (OnGetDisplWideText) OnGetDisplWideText(this, aCol, aRow, value);
}

std::string TBaseGrid::GetCellText(int aCol, int aRow)
{
    if (!Inside(aCol, aRow)) return std::string();
    const gui::TPoint b = BaseCell(aCol, aRow);
    std::string value = Cells(b.X, b.Y);
    if (b.Y < FNormalRowCount) {
        DoGetDisplText(b.X, b.Y, value);
        if (OnGetDisplWideText) {
            std::u16string wide = rtl::UTF8ToUTF16(DecodePrefixedWideText(value));
            DoGetDisplWideText(b.X, b.Y, wide);
            value = EncodePrefixedWideText(rtl::UTF16ToUTF8(wide));
        }
    }
    return value;
}

void TBaseGrid::SetCellText(int aCol, int aRow, const std::string& value)
{
    if (!Inside(aCol, aRow)) return;
    if (HasCellProperties(aCol, aRow)) {
        const gui::TPoint b = BaseCell(aCol, aRow);
        SetCells(b.X, b.Y, value);
        CellTextChanged(b.X, b.Y);
        if (Parent()) RepaintCell(aCol, aRow);
    } else {
        SetCells(aCol, aRow, value);
    }
    if (FHideLastRow && aRow == RowCount() - 1) HiddenLastRowChanged();
}

std::string TBaseGrid::GetRawCellText(int aCol, int aRow) const
{
    return Inside(aCol, aRow) ? Cells(aCol, aRow) : std::string();
}

void TBaseGrid::SetRawCellText(int aCol, int aRow, const std::string& value)
{
    if (Inside(aCol, aRow)) SetCells(aCol, aRow, value);
}

// --- merged cells ----------------------------------------------------------------------

void TBaseGrid::MergeCells(int c, int r, int spanX, int spanY)
{
    if (spanX < 1 || spanY < 1 || !Inside(c, r)) return;
    spanX = std::min(spanX, ColCount() - c);
    spanY = std::min(spanY, RowCount() - r);
    for (int i = c; i < c + spanX; ++i)
        for (int j = r; j < r + spanY; ++j) {
            TCellProperties* props = GetCellProperties(i, j);
            if (!props) continue;
            const bool base = i == c && j == r;
            props->FIsBaseCell = base;
            props->FCellSpanX = base ? spanX - 1 : i - c;
            props->FCellSpanY = base ? spanY - 1 : j - r;
        }
    for (int i = c; i < c + spanX; ++i)
        for (int j = r; j < r + spanY; ++j) RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r)
{
    TCellProperties* props = GetCellProperties(c, r);
    if (!props) return;
    const gui::TPoint b = props->LocateBaseCell(c, r);
    const TCellProperties* base = FindCellProperties(b.X, b.Y);
    if (!base) return;
    const int lastCol = std::min(b.X + base->FCellSpanX, ColCount() - 1);
    const int lastRow = std::min(b.Y + base->FCellSpanY, RowCount() - 1);
    for (int i = b.X; i <= lastCol; ++i)
        for (int j = b.Y; j <= lastRow; ++j) {
            TCellProperties* p = GetCellProperties(i, j);
            if (!p) continue;
            p->FIsBaseCell = true;
            p->FCellSpanX = -1;
            p->FCellSpanY = -1;
        }
    for (int i = b.X; i <= lastCol; ++i)
        for (int j = b.Y; j <= lastRow; ++j) RepaintCell(i, j);
}

gui::TPoint TBaseGrid::BaseCell(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    if (!props) return gui::TPoint(aCol, aRow);
    const gui::TPoint b = props->LocateBaseCell(aCol, aRow);
    return Inside(b.X, b.Y) ? b : gui::TPoint(aCol, aRow);
}

bool TBaseGrid::ResolveBaseCell(int aCol, int aRow, int& baseCol, int& baseRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    const gui::TPoint b = props && !props->FIsBaseCell ? BaseCell(aCol, aRow) : gui::TPoint(aCol, aRow);
    baseCol = b.X;
    baseRow = b.Y;
    return b == gui::TPoint(aCol, aRow);
}

bool TBaseGrid::IsBaseCell(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    return !props || props->FIsBaseCell;
}

gui::TPoint TBaseGrid::CellSpan(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    if (!props || props->FCellSpanX == -1 || props->FCellSpanY == -1) return gui::TPoint(0, 0);
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellProperties* base = FindCellProperties(b.X, b.Y);
    if (!base || base->FCellSpanX < 0 || base->FCellSpanY < 0) return gui::TPoint(0, 0);
    return gui::TPoint(base->FCellSpanX, base->FCellSpanY);
}

gui::TPoint TBaseGrid::CellExt(int aCol, int aRow) const
{
    const gui::TPoint span = CellSpan(aCol, aRow);
    if (span == gui::TPoint(0, 0)) return span;
    const gui::TPoint b = BaseCell(aCol, aRow);
    return gui::TPoint(b.X + span.X - aCol, b.Y + span.Y - aRow);
}

gui::TRect TBaseGrid::FullCell(int c, int r) const
{
    const gui::TPoint b = BaseCell(c, r);
    const gui::TPoint span = CellSpan(c, r);
    return gui::TRect(b.X, b.Y, b.X + span.X, b.Y + span.Y);
}

bool TBaseGrid::IsMergedCell(int aCol, int aRow) const
{
    const TCellProperties* props = FindCellProperties(aCol, aRow);
    return props && (props->FCellSpanX >= 1 || props->FCellSpanY >= 1);
}

bool TBaseGrid::IsMergedNonBaseCell(int aCol, int aRow) const
{
    return IsMergedCell(aCol, aRow) && !IsBaseCell(aCol, aRow);
}

bool TBaseGrid::IsXMergedCell(int aCol, int aRow) const
{
    if (!FindCellProperties(aCol, aRow)) return false;
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellProperties* base = FindCellProperties(b.X, b.Y);
    return base && base->FCellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(int aCol, int aRow) const
{
    if (!FindCellProperties(aCol, aRow)) return false;
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellProperties* base = FindCellProperties(b.X, b.Y);
    return base && base->FCellSpanY > 0;
}

int TBaseGrid::MinRowSpan(int aRow) const
{
    int result = RowCount();
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
        const int span = CellSpan(c, aRow).Y;
        if (span > 0 && (!any || span < result)) {
            result = span;
            any = true;
        }
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int aRow) const
{
    int result = 0;
    for (int c = 0; c < ColCount(); ++c) result = std::max(result, CellSpan(c, aRow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int aRow1, int aRow2) const
{
    bool counted = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, aRow1).Y > 0 && CellSpan(c, aRow2).Y > 0) {
            if (BaseCell(c, aRow1).Y != BaseCell(c, aRow2).Y) return false;
            counted = true;
        }
    }
    return counted;
}

bool TBaseGrid::ColSpanIdentical(int aCol1, int aCol2) const
{
    bool counted = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(aCol1, r).X, s2 = CellSpan(aCol2, r).X;
        if (s1 > 0 && s2 > 0) {
            if (BaseCell(aCol1, r).X != BaseCell(aCol2, r).X) return false;
            counted = true;
        } else if (s1 != s2) {
            return false;
        }
    }
    return counted;
}

// --- rectangles -----------------------------------------------------------------------

gui::TRect TBaseGrid::CalcCellRect(int aCol, int aRow) const
{
    auto widths = [&](int from, int to) {  // columns from .. to - 1
        int sum = 0;
        for (int i = std::max(from, 0); i < to; ++i) sum += std::max(ColWidths(i), 0);
        return sum;
    };
    auto heights = [&](int from, int to) {
        int sum = 0;
        for (int i = std::max(from, 0); i < to; ++i) sum += std::max(RowHeights(i), 0);
        return sum;
    };
    if (!Inside(aCol, aRow)) return gui::TRect();
    // Scrolling cells move by the scrolled-away columns and rows and start
    // behind the fixed ones.
    int x = widths(0, aCol), y = heights(0, aRow);
    if (aCol >= FixedCols()) x += widths(0, FixedCols()) - widths(0, LeftCol());
    if (aRow >= FixedRows()) y += heights(0, FixedRows()) - heights(0, TopRow());
    return gui::TRect(x, y, x + std::max(ColWidths(aCol), 0), y + std::max(RowHeights(aRow), 0));
}

gui::TRect TBaseGrid::CellRect(int c, int r) const
{
    if (!Inside(c, r)) return gui::TRect();
    const TCellProperties* props = FindCellProperties(c, r);
    if (props && (props->FCellSpanX != -1 || props->FCellSpanY != -1)) {
        const gui::TPoint b = BaseCell(c, r);
        const TCellProperties* base = FindCellProperties(b.X, b.Y);
        const int sx = base ? std::max(base->FCellSpanX, 0) : 0, sy = base ? std::max(base->FCellSpanY, 0) : 0;
        const int lastCol = std::min(b.X + sx, ColCount() - 1), lastRow = std::min(b.Y + sy, RowCount() - 1);
        return Union(CalcCellRect(b.X, b.Y), CalcCellRect(lastCol, lastRow));
    }
    if (props && props->Control()) return CalcCellRect(c, r);
    const gui::TRect inherited = gui::TStringGrid::CellRect(c, r);
    return gui::TRect(inherited.Left, inherited.Top, inherited.Left + ColWidths(c), inherited.Top + RowHeights(r));
}

gui::TPoint TBaseGrid::CellSize(int c, int r) const
{
    const TCellProperties* props = FindCellProperties(c, r);
    const gui::TRect rc = (!props || (props->FCellSpanX == -1 && props->FCellSpanY == -1)) ? CalcCellRect(c, r)
                                                                                         : CellRect(c, r);
    return gui::TPoint(rc.Right - rc.Left, rc.Bottom - rc.Top);
}

void TBaseGrid::RepaintCell(int c, int r)
{
    if (!HandleAllocated()) return;
    // A block wholly out of view needs no repaint (and its rectangle would
    // cost a sum over every row above it).
    const gui::TRect block = FullCell(c, r);
    auto seen = [](int first, int last, int fixed, int top, int visible) {
        return first < fixed || (last >= top && first <= top + visible);
    };
    if (!seen(block.Left, block.Right, FixedCols(), LeftCol(), VisibleColCount()) ||
        !seen(block.Top, block.Bottom, FixedRows(), TopRow(), VisibleRowCount()))
        return;
    InvalidateRect(CellRect(c, r));
}

} // namespace gridbase
