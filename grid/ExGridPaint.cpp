// ExGrid: the paint pass and one cell's layers: the visual properties of a
// cell (font, brush, gradient, bands, fixed look, selection), alignment,
// the content layers in their order, borders and the focus rectangle.
#include <algorithm>

#include "grid/ExGrid.h"
#include "grid/ExGridFixedLook.h"

namespace grid {

using gui::TGridDrawStateItem;
using gui::TGridOption;

namespace {

TColor Darkened(TColor c)
{
    const TColor rgb = gui::ColorToRGB(c);
    return ((rgb & 0xFF) / 2) | ((((rgb >> 8) & 0xFF) / 2) << 8) | ((((rgb >> 16) & 0xFF) / 2) << 16);
}

bool IsControlType(TCellType t)
{
    return t == TCellType::ctCheckBox || t == TCellType::ctDataCheckBox || t == TCellType::ctRadio ||
           t == TCellType::ctButton || t == TCellType::ctRadioButton;
}

} // namespace

void TExStringGrid::SetRowIndicator(const gui::TBitmap* v)
{
    if (v) FRowIndicator->Assign(v);
    else FRowIndicator->SetSize(0, 0);
    Invalidate();
}

// ------------------------------------------------------------ paint pass

void TExStringGrid::Paint()
{
    // Nothing is painted while updates are locked; the end of the lock
    // repaints the whole grid.
    if (FUpdateCount > 0) return;
    Canvas()->Pen()->SetStyle(gui::TPenStyle::psSolid);
    TBaseGrid::Paint();
    gui::TCanvas* cv = Canvas();
    if (FEditing) {
        TColor pen = GridLineWidth() >= 1 ? GridLineColor() : Color();
        if (!Options().Contains(TGridOption::goHorzLine) && !Options().Contains(TGridOption::goVertLine))
            pen = Color();
        cv->Pen()->SetColor(pen);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        cv->Rectangle(gui::TCustomGrid::CellRect(Col(), Row()));
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    }
    cv->Pen()->SetColor(0);
    if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != gui::clNone) PaintBackgroundOutsideCells();
    PaintDesignHelper();
    PaintFlatScrollBars();
    if (OnPainted) OnPainted(this);
}

bool TExStringGrid::CanBlitScroll() const
{
    if (FUpdateCount > 0 || FEditing || EditorMode() || OnPainted) return false;
    // A picture or gradient stays where it is while the rows move over it.
    const TBackGroundDisplay display = FBackGround->Display();
    const bool gradient =
        display == TBackGroundDisplay::bdGradientHorz || display == TBackGroundDisplay::bdGradientVert;
    if (!FBackGround->Bitmap()->Empty() || (gradient && FBackGround->ColorTo() != gui::clNone)) return false;
    if (FFixedFooters > 0 || (FFloatingFooter && FFloatingFooter->Visible()) || SearchFooterShown()) return false;
    if (Designing() && ShowDesignHelper()) return false;
    return TBaseGrid::CanBlitScroll();
}

int TExStringGrid::ScrollFrameWidth() const
{
    // As PaintLookBorder decides.
    const TGridLook look = Look();
    const bool bordered = look == TGridLook::glSoft ||
                          (static_cast<int>(look) >= static_cast<int>(TGridLook::glKVR) &&
                           static_cast<int>(look) <= static_cast<int>(TGridLook::glOffice2007));
    return bordered && BorderStyle() != gui::TBorderStyle::bsNone && !Flat() ? 2 : 0;
}

// ------------------------------------------------------ visual properties

void TExStringGrid::EditorLook(int aCol, int aRow, gui::TBrush& brush, gui::TFont& font)
{
    font.Assign(Font());
    brush.SetColor(Color());
    TColor colorTo = gui::clNone, mirror = gui::clNone, mirrorTo = gui::clNone;
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = false;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    TGridDrawState state;
    GetVisualProperties(aCol, aRow, state, false, false, true, brush, colorTo, mirror, mirrorTo, font, ha, va, ww, gd);
}

void TExStringGrid::GetVisualProperties(int aCol, int aRow, TGridDrawState& state, bool print, bool select,
                                        bool map, gui::TBrush& brush, TColor& colorTo, TColor& mirrorColor,
                                        TColor& mirrorColorTo, gui::TFont& font, TAlignment& ha,
                                        TVAlignment& va, bool& ww, TCellGradientDirection& gd)
{
    const int rCol = map ? RealColIndex(aCol) : aCol;
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
    const bool fixedArea = aCol < fixedCols || aRow < fixedRows;

    // 1. Font.
    if (print && !FPrintSettings->UseDisplayFont())
        font.Assign(fixedArea ? FPrintSettings->FixedFont() : FPrintSettings->Font());
    else font.Assign(fixedArea ? FFixedFont.get() : Font());

    // 2-3. Stored properties.  They decide the colours on screen always;
    // only printing without the display fonts leaves them out.
    brush.SetColor(gui::clNone);
    colorTo = mirrorColor = mirrorColorTo = gui::clNone;
    bool ownColor = false, controlCell = false;
    const bool useStored = !print || FPrintSettings->UseDisplayFont();
    if (const TCellProperties* p = FindCellProperties(rCol, aRow); p && useStored) {
        const TCellType type = GetCellType(aCol, aRow);
        if (type != TCellType::ctNone && type != TCellType::ctEmpty) {
            brush.SetColor(p->BrushColor());
            controlCell = IsControlType(type);
        } else if (p->BrushColor() != gui::clNone) {
            ownColor = true;
            brush.SetColor(p->BrushColor());
        }
        if (p->FontColor() != gui::clNone) font.SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) font.SetStyle(p->FontStyle());
        if (p->FontSize() != 0) font.SetSize(p->FontSize());
        if (!p->FontName().empty()) font.SetName(p->FontName());
        ww = p->WordWrap();
        colorTo = p->BrushColorTo();
        gd = p->GradientDirection();
    }
    // 4.
    if (state.Contains(TGridDrawStateItem::gdSelected)) gd = TCellGradientDirection::GradientVertical;

    // 5. Bands and the fixed colour.
    if (brush.Color() == gui::clNone || (controlCell && !ownColor)) {
        if (brush.Color() == gui::clNone) brush.SetColor(Color());
        if (FBands->Active() && (!print || FBands->Print())) {
            if (aCol >= fixedCols && aCol < ColCount() + FNumHidden - FFixedRightCols && aRow >= fixedRows &&
                aRow < RowCount() - FFixedFooters) {
                const int period = FBands->TotalLength();
                if (period > 0)
                    brush.SetColor((aRow - fixedRows) % period < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                                        : FBands->SecondaryColor());
            }
        }
        if (aCol < fixedCols || aRow < fixedRows || DisplColIndex(aCol) >= ColCount() - FFixedRightCols ||
            aRow >= RowCount() - FFixedFooters)
            brush.SetColor(FixedColor());
    }

    // 6. Fixed cells on screen.
    const bool fixedCell = IsFixed(aCol, aRow) || fixedArea;
    if (fixedCell && !print) {
        if (!ownColor) brush.SetColor(FixedColor());
        font.Assign(FFixedFont.get());
        state += TGridDrawStateItem::gdFixed;
        // (A look whose gradient colours were cleared keeps the fixed colour.)
        if (!ownColor && FLook > TGridLook::glClassic && FKVRGradFrom != gui::clNone) {
            brush.SetColor(FKVRGradFrom);
            colorTo = FKVRGradTo;
            mirrorColor = FKVRGradMirrorFrom;
            mirrorColorTo = FKVRGradMirrorTo;
        }
    }

    // 7.
    if (OnGetCellGradient) {
        TColor c = brush.Color();
        OnGetCellGradient(this, aRow, rCol, c, colorTo, mirrorColor, mirrorColorTo, gd);
        brush.SetColor(c);
    }

    // 8.
    if (print) GetCellPrintColor(rCol, aRow, state, &brush, &font);
    else GetCellColor(rCol, aRow, state, &brush, &font);
    const TColor unselectedBrush = brush.Color(), unselectedFont = font.Color();
    const TColor unselectedTo = colorTo, unselectedMirror = mirrorColor, unselectedMirrorTo = mirrorColorTo;

    // 9. Selection.
    auto selectLook = [&] {
        brush.SetColor(FSelectionColor == gui::clNone ? gui::clHighlight : FSelectionColor);
        colorTo = FSelectionColorTo;
        mirrorColor = FSelectionMirrorColor;
        mirrorColorTo = FSelectionMirrorColorTo;
        if (FSelectionTextColor != gui::clNone) font.SetColor(FSelectionTextColor);
    };
    const bool disjunct = FMouseActions->DisjunctRowSelect() || FMouseActions->DisjunctColSelect();
    const bool showSel = TBaseGrid::ShowSelection();
    if (aCol >= fixedCols && aRow >= fixedRows && !fixedCell) {
        const int selRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent()
                               ? DisplayToRealRow(aRow)
                               : aRow;
        if (FMouseActions->DisjunctRowSelect() && select && !print && showSel) {
            const bool rowSel = GetRowSelect(selRow);
            if (((!FMouseDown || aRow != Row()) && rowSel) ||
                (FMouseDown && !rowSel && state.Contains(TGridDrawStateItem::gdSelected))) {
                state = {TGridDrawStateItem::gdSelected};
                selectLook();
            }
        }
        if (FMouseActions->DisjunctColSelect() && select && !print && showSel) {
            const bool colSel = GetColSelect(aCol);
            if (((!FMouseDown || aCol != Col()) && colSel) ||
                (FMouseDown && !colSel && state.Contains(TGridDrawStateItem::gdSelected))) {
                state = {TGridDrawStateItem::gdSelected};
                selectLook();
            }
        }
        if ((select && !print && showSel && IsSelected(aCol, aRow) && !disjunct) ||
            (state.Contains(TGridDrawStateItem::gdSelected) && FMouseDown && showSel)) {
            selectLook();
            state += TGridDrawStateItem::gdSelected;
        }
        // Disjunct cells: the listed cells are selected; the current cell
        // shows as selected only when it is listed.
        if (FMouseActions->DisjunctCellSelect() && showSel) {
            if (IsCellInSelectedList(aCol, aRow)) {
                selectLook();
                state += TGridDrawStateItem::gdSelected;
            } else if (aCol == Col() && aRow == Row()) {
                state -= TGridDrawStateItem::gdSelected;
                brush.SetColor(unselectedBrush);
                font.SetColor(unselectedFont);
                colorTo = unselectedTo;
                mirrorColor = unselectedMirror;
                mirrorColorTo = unselectedMirrorTo;
            }
        }
    }

    // 10.
    GetCellWordWrap(rCol, aRow, ww);
    const uint16_t align = ResolveCellAlignment(rCol, aRow);
    ha = static_cast<TAlignment>(align & 0xFF);
    va = static_cast<TVAlignment>(align >> 8);
}

uint16_t TExStringGrid::ResolveCellAlignment(int aCol, int aRow)
{
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = FVAlignment;
    if (AutoNumAlign()) {
        std::string text = GetCellText(aCol, aRow);
        if ((!text.empty() && text[0] == '=') || (text.size() > 3 && text.compare(0, 2, "|\\") == 0 && text[3] == '='))
            GetFormulaText(aCol, aRow, text);
        const int kind = gridbase::ClassifyNumberText(rtl::Trim(text));
        if (kind == gridbase::ntInteger || kind == gridbase::ntDecimal || kind == gridbase::ntExponent)
            ha = TAlignment::taRightJustify;
    } else if (const TCellProperties* p = FindCellProperties(aCol, aRow)) {
        ha = p->Alignment();
    }
    QueryCellAlignment(aCol, aRow, ha, va);
    return static_cast<uint16_t>(static_cast<int>(ha) | (static_cast<int>(va) << 8));
}

void TExStringGrid::GetFontProperties(int aCol, int rCol, bool, gui::TBrush& brush, gui::TFont& font,
                                      TGridDrawState& state, int aRow)
{
    const bool fixedArea = aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows();
    font.Assign(fixedArea ? FFixedFont.get() : Font());
    if (const TCellProperties* p = FindCellProperties(rCol, aRow)) {
        if (p->FontColor() != gui::clNone) font.SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) font.SetStyle(p->FontStyle());
        if (p->FontSize() != 0) font.SetSize(p->FontSize());
        if (!p->FontName().empty()) font.SetName(p->FontName());
    }
    if (IsFixed(aCol, aRow) || fixedArea) font.Assign(FFixedFont.get());
    GetCellColor(rCol, aRow, state, &brush, &font);
}

// ------------------------------------------------------------ cell layers

void TExStringGrid::DrawCellText(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& cellRect,
                                 TGridDrawState state)
{
    const int rCol = RealColIndex(aCol);
    gui::TRect rect = cellRect;
    SetCtl3D(!FFlat);

    // 3. Visual properties without selection colours.
    bool ww = FWordWrapEx;
    TColor colorTo = gui::clNone, mirror = gui::clNone, mirrorTo = gui::clNone;
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = FVAlignment;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(aCol, aRow, state, false, false, true, *canvas->Brush(), colorTo, mirror, mirrorTo,
                        *canvas->Font(), ha, va, ww, gd);
    rtl::TObject* graphic = GetCellGraphic(rCol, aRow);

    // 5.
    if (state.Contains(TGridDrawStateItem::gdSelected) && !state.Contains(TGridDrawStateItem::gdFocused) &&
        FSelectionColor == gui::clNone)
        canvas->Brush()->SetColor(gui::clHighlight);
    if (FZoomFactor != 0) canvas->Font()->SetSize(canvas->Font()->Size() + FZoomFactor);
    const TColor savedBrush = canvas->Brush()->Color();
    const TColor savedFont = canvas->Font()->Color();
    const bool fixed = state.Contains(TGridDrawStateItem::gdFixed);

    // 6. Look background of fixed cells.
    if (fixed && !FFlat &&
        (FLook == TGridLook::glKVR || FLook == TGridLook::glXP || FLook == TGridLook::glVista ||
         FLook == TGridLook::glWin7 || FLook == TGridLook::glOffice2007)) {
        gui::TRect r = rect;
        const int fc = TBaseGrid::FixedCols(), fr = TBaseGrid::FixedRows();
        if (DrawHotFixedCell(*this, canvas, aCol, aRow, rect)) {
            // The hovered cell's gradients stand for the others.
        } else if (FActiveCellShow && ((fc > 0 && aCol == fc - 1 && aRow == Row()) ||
                                (fr >= 1 && aRow == fr - 1 && aCol == Col()))) {
            gridbase::DrawGradient(canvas, FActiveCellColor, FActiveCellColorTo, 64, r, false);
        } else if (FSortSettings->Column() != -1 && FSortSettings->Column() == rCol &&
                   FSortSettings->HeaderColor() != gui::clNone && aRow == fr - 1 &&
                   (aCol >= fc || FSortSettings->FixedCols())) {
            gridbase::DrawMirrorGradient(canvas, r, FSortSettings->HeaderColor(), FSortSettings->HeaderColorTo(),
                                         FSortSettings->HeaderMirrorColor(), FSortSettings->HeaderMirrorColorTo(),
                                         true, gui::clNone, true, true);
        } else if (colorTo != gui::clNone) {
            // The background below already holds this gradient: only the
            // side lines are added.
            gridbase::DrawMirrorGradient(canvas, r, savedBrush, colorTo, mirror, mirrorTo, true,
                                         FLook == TGridLook::glVista ? gui::clWhite : gui::clNone, true,
                                         mirror != gui::clNone);
        }
        canvas->Brush()->SetColor(savedBrush);
    }

    // 7. Row indicator.
    int indicatorShift = 0;
    if (rCol == 0 && aRow == Row() && TBaseGrid::FixedCols() > 0 && !FRowIndicator->Empty()) {
        const int bh = FRowIndicator->Height();
        int y = rect.Top;
        if (va == TVAlignment::vtaCenter) y = rect.Top + (rect.Height() - bh) / 2;
        else if (va == TVAlignment::vtaBottom) y = rect.Bottom - bh;
        FRowIndicator->SetTransparent(true);
        canvas->Draw(rect.Left + 2, y, FRowIndicator.get());
        indicatorShift = FRowIndicator->Width() + 2;
        rect.Left += indicatorShift;
    }

    // 8. The list-view look's header cells.
    if (fixed && !FFlat && FLook == TGridLook::glListView) DrawListViewFixedCell(*this, canvas, aCol, aRow, rect);

    // 10. Editor buttons shown always.
    const int savedRight = rect.Right;
    if (!fixed) {
        if (FControlLook->DropDownAlwaysVisible() && HasCombo(rCol, aRow)) {
            gridbase::DrawComboButton(canvas, Handle(), {rect.Right - 16, rect.Top - 1, rect.Right + 1, rect.Bottom},
                                      FIsWinXP && FIsComCtl6);
            rect.Right -= 16;
        }
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(rCol, aRow)) {
            gridbase::DrawSpinButtons(canvas, Handle(), {rect.Right - 16, rect.Top - 1, rect.Right + 1, rect.Bottom},
                                      FIsWinXP);
            rect.Right -= 16;
        }
    }

    // 12. Text.
    if (!(graphic && FNoImageAndText) && (!(OnDrawCell || OnCustomCellDraw) || !FNoDefaultDraw)) {
        TCellTextContext ctx{canvas, aCol, rCol, aRow, rect, state, ha, va, ww, savedBrush, savedFont, graphic};
        DrawCellTextLayer(ctx);
    }

    // 13. Borders.
    rect.Right = savedRight;
    canvas->Brush()->SetColor(savedBrush);
    canvas->Font()->SetColor(savedFont);
    gui::InflateRect(rect, 1, 1);
    {
        gui::TPen saved;
        saved.Assign(canvas->Pen());
        TCellBorders borders;
        GetCellBorder(rCol, aRow, canvas->Pen(), borders);
        if (!borders.Empty()) {
            gui::TPen lp, tp, rp, bp;
            lp.Assign(canvas->Pen());
            tp.Assign(canvas->Pen());
            rp.Assign(canvas->Pen());
            bp.Assign(canvas->Pen());
            if (OnGetCellBorderProp) OnGetCellBorderProp(this, aRow, rCol, &lp, &tp, &rp, &bp);
            const int hv = Options().Contains(TGridOption::goVertLine) ? (canvas->Pen()->Width() + 1) / 2 : 0;
            const int hh = Options().Contains(TGridOption::goHorzLine) ? (canvas->Pen()->Width() + 1) / 2 : 0;
            gui::TRect b{rect.Left + hv, rect.Top + hh, rect.Right - hv, rect.Bottom - hh};
            const int glw = GridLineWidth();
            if (borders.Contains(TCellBorder::cbLeft)) {
                canvas->Pen()->Assign(&lp);
                canvas->MoveTo(b.Left - hv, b.Top - hh);
                canvas->LineTo(b.Left - hv, b.Bottom);
            }
            if (borders.Contains(TCellBorder::cbRight)) {
                canvas->Pen()->Assign(&rp);
                canvas->MoveTo(b.Right - 1, b.Top);
                canvas->LineTo(b.Right - 1, b.Bottom);
            }
            if (borders.Contains(TCellBorder::cbTop)) {
                canvas->Pen()->Assign(&tp);
                const int y = glw == 0 ? b.Top + 1 : b.Top - glw;
                canvas->MoveTo(b.Left, y);
                canvas->LineTo(b.Right, y);
            }
            if (borders.Contains(TCellBorder::cbBottom)) {
                canvas->Pen()->Assign(&bp);
                canvas->MoveTo(b.Left - glw - 1, b.Bottom - 1);
                canvas->LineTo(b.Right, b.Bottom - 1);
            }
        }
        canvas->Pen()->Assign(&saved);
    }

    // 14.
    rect.Left -= indicatorShift;

    // 15. Look borders of fixed cells.
    if (fixed && !FFlat) {
        const gui::TGridOptions opt = Options();
        const TColor dark = Darkened(FixedColor());
        if (FLook == TGridLook::glClassic) {
            gui::TRect e1{rect.Left + 1, rect.Top, rect.Right, rect.Bottom + 1}, e2 = e1, e3 = e1;
            canvas->DrawEdge(e1, gui::BDR_RAISEDINNER, gui::BF_LEFT);
            canvas->DrawEdge(e2, gui::BDR_RAISEDINNER, gui::BF_TOP);
            canvas->DrawEdge(e3, gui::EDGE_RAISED, gui::BF_RIGHT | gui::BF_BOTTOM);
            canvas->Pen()->SetColor(0);
            canvas->MoveTo(rect.Right - 1, rect.Top);
            canvas->LineTo(rect.Right - 1, rect.Bottom - 1);
            canvas->LineTo(rect.Left - 1, rect.Bottom - 1);
        } else if (FLook == TGridLook::glKVR || FLook == TGridLook::glXP || FLook == TGridLook::glSoft) {
            gui::TRect e = rect;
            e.Bottom += 1;
            if (FLook == TGridLook::glSoft) e.Right += 1;
            if (opt.Contains(TGridOption::goFixedHorzLine)) {
                canvas->Pen()->SetColor(dark);
                canvas->MoveTo(e.Left, e.Bottom - 1);
                canvas->LineTo(e.Right - 1, e.Bottom - 1);
                canvas->Pen()->SetColor(gui::clWhite);
                canvas->MoveTo(e.Right, e.Top + 1);
                canvas->LineTo(e.Left + 1, e.Top + 1);
                canvas->LineTo(e.Left + 1, e.Bottom - 1);
            }
            if (FLook == TGridLook::glSoft && opt.Contains(TGridOption::goFixedVertLine)) {
                canvas->Pen()->SetColor(dark);
                canvas->MoveTo(e.Right - 2, e.Top);
                canvas->LineTo(e.Right - 2, e.Bottom - 1);
                canvas->Pen()->SetColor(gui::clWhite);
                canvas->MoveTo(e.Right - 1, e.Top);
                canvas->LineTo(e.Right - 1, e.Bottom - 1);
            }
        }
    }

    if (fixed) DrawPushedFixedCell(*this, canvas, aCol, aRow, cellRect);

    // 16. Fixed right columns.
    if (FFixedRightCols > 0 && FFixedRightCols >= ColCount() + FNumHidden - rCol && FLook != TGridLook::glClassic &&
        FFlat) {
        canvas->Pen()->SetColor(0x808080);
        canvas->Pen()->SetWidth(1);
        if (Options().Contains(TGridOption::goFixedHorzLine)) {
            canvas->MoveTo(rect.Left - 1, rect.Top - 1);
            canvas->LineTo(rect.Right + 1, rect.Top - 1);
            canvas->MoveTo(rect.Left - 1, rect.Bottom + 1);
            canvas->LineTo(rect.Right + 1, rect.Bottom + 1);
        }
        if (Options().Contains(TGridOption::goFixedVertLine)) {
            canvas->MoveTo(rect.Left - 1, rect.Top - 1);
            canvas->LineTo(rect.Left - 1, rect.Bottom + 1);
            canvas->MoveTo(rect.Right + 1, rect.Top - 1);
            canvas->LineTo(rect.Right + 1, rect.Bottom + 1);
        }
    }

    // 17. Tree lines of column 0 in a grid with nodes.
    if (rCol == 0 && FNumNodes > 0 && aRow >= FixedRows() && FCellNode->ShowTree())
        DrawNodeTreeLines(canvas, aRow, rect);

    // 18. Graphic.
    if (graphic) DrawCellGraphic(canvas, rCol, aRow, rect, state);

    // 19-20. Owner drawing.
    if (OnDrawCell) {
        const gui::TRect r{rect.Left + 1, rect.Top + 1, rect.Right - GridLineWidth(), rect.Bottom - GridLineWidth()};
        OnDrawCell(this, rCol, aRow, r, state);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, canvas, aCol, aRow, state, rect, false);

    // 21. Focus rectangle.
    if (!HideFocusRect()) {
        const gui::TPoint base = BaseCell(aCol, aRow);
        if (base.X == Col() && base.Y == Row() && Focused() && !Options().Contains(TGridOption::goRowSelect) &&
            Row() >= TBaseGrid::FixedRows() && Col() >= TBaseGrid::FixedCols()) {
            const int g = GridLineWidth() - 1;
            gui::TRect f{rect.Left - g, rect.Top - g, rect.Right + g - 1, rect.Bottom + g - 1};
            canvas->DrawFocusRect(f);
        }
    }
}

} // namespace grid
