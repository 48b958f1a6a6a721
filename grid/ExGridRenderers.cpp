// TExStringGrid: the graphic layer of a cell: placement of the cell's
// graphic and the drawing of each kind (bitmaps, icons, pictures, check
// boxes in their styles, radio groups and buttons, rotated text, nodes,
// progress bars and pies, range indicators, comments, buttons and
// interfaced objects).
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "gridbase/ExObj.h"
#include "platform/gui/IconImage.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Themes.h"

namespace grid {

using gui::TGridDrawStateItem;

namespace {

bool IsCheckKind(TCellType t)
{
    return t == TCellType::ctCheckBox || t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox ||
           t == TCellType::ctRowCheckBox;
}

// A bitmap drawn with the colour of its bottom-left pixel left out.
void DrawTransparent(gui::TCanvas* canvas, const gui::TBitmap* bmp, int x, int y)
{
    if (!bmp || bmp->Width() <= 0 || bmp->Height() <= 0) return;
    const TColor key = const_cast<gui::TBitmap*>(bmp)->Canvas()->Pixels(0, bmp->Height() - 1);
    canvas->BrushCopy({x, y, x + bmp->Width(), y + bmp->Height()}, bmp, {0, 0, bmp->Width(), bmp->Height()}, key);
}

TCellVAlign FromTextVAlign(TVAlignment va)
{
    switch (va) {
    case TVAlignment::vtaCenter:
        return TCellVAlign::vaCenter;
    case TVAlignment::vtaBottom:
        return TCellVAlign::vaBottom;
    default:
        return TCellVAlign::vaTop;
    }
}

} // namespace

// --- layout ------------------------------------------------------------------------------

TCellGraphicLayout TExStringGrid::GetCellGraphicLayout(int aCol, int aRow)
{
    TCellGraphicLayout lay;
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return lay;
    lay.Graphic = g;
    lay.HAlign = g->CellHAlign();
    lay.VAlign = g->CellVAlign();
    auto graphicSize = [&](const rtl::TObject* o) {
        if (const auto* gr = dynamic_cast<const gui::TGraphic*>(o)) {
            lay.Width = gr->Width();
            lay.Height = gr->Height();
        }
    };
    const int check = ControlLook()->CheckSize();
    switch (g->CellType()) {
    case TCellType::ctBitmap:
        graphicSize(g->CellBitmap());
        break;
    case TCellType::ctIcon:
        graphicSize(g->CellIcon());
        break;
    case TCellType::ctImageList:
    case TCellType::ctDataImage:
        if (FGridImages) {
            lay.Width = FGridImages->Width();
            lay.Height = FGridImages->Height();
        }
        lay.TextShown = g->CellType() != TCellType::ctDataImage;
        break;
    case TCellType::ctCheckBox:
        lay.Width = lay.Height = check;
        break;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
        lay.Width = lay.Height = check;
        lay.TextShown = false;
        break;
    case TCellType::ctRotated:
    case TCellType::ctRadio:
    case TCellType::ctProgress:
    case TCellType::ctRangeIndicator:
    case TCellType::ctXPProgress:
        lay.TextShown = false;
        break;
    case TCellType::ctImages:
        if (FGridImages) {
            const auto* list = dynamic_cast<const gridbase::TIntList*>(g->CellBitmap());
            const int n = list ? list->Count() : 0;
            lay.Width = g->CellBoolean() ? n * FGridImages->Width() : FGridImages->Width();
            lay.Height = g->CellBoolean() ? FGridImages->Height() : n * FGridImages->Height();
        }
        break;
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
        const gui::TPoint cs = CellSize(aCol, aRow);
        const gui::TPoint s = g->GetPictureSize(cs.X, cs.Y, true);
        lay.Width = s.X;
        lay.Height = s.Y;
        break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton:
        lay.Width = g->CellIndex() & 0xFFFF;
        lay.Height = static_cast<int>((static_cast<uint32_t>(g->CellIndex()) >> 16) & 0xFFFF);
        break;
    case TCellType::ctProgressPie:
        lay.Width = lay.Height = 20;
        break;
    case TCellType::ctInterface:
        if (const auto* d = dynamic_cast<const ICellDrawable*>(g->CellBitmap())) {
            lay.Width = d->Width();
            lay.Height = d->Height();
        }
        break;
    case TCellType::ctRadioButton:
        lay.Width = lay.Height = ControlLook()->RadioSize() + 4;
        break;
    default:
        break;
    }
    return lay;
}

gui::TRect TExStringGrid::PlaceGraphic(const TCellGraphic& g, const gui::TRect& cell, int w, int h, int textWidth,
                                       TAlignment textHa, TVAlignment textVa) const
{
    const int left = cell.Left, right = cell.Right, top = cell.Top, bottom = cell.Bottom;
    const int t = textWidth;
    gui::TRect d;
    switch (g.CellHAlign()) {
    case TCellHAlign::haRight:
        d.Left = right - w - 1;
        break;
    case TCellHAlign::haCenter:
        d.Left = w < right - left ? left + (right - left - w) / 2 : left + 1;
        break;
    case TCellHAlign::haBeforeText:
        if (textHa == TAlignment::taRightJustify) d.Left = std::max(left + 1, right - t - w);
        else if (textHa == TAlignment::taCenter) d.Left = std::max(left + 1, left + (right - left - t - w) / 2);
        else d.Left = left + 1;
        break;
    case TCellHAlign::haAfterText:
        if (textHa == TAlignment::taRightJustify) d.Left = right - w - 1;
        else if (textHa == TAlignment::taCenter) d.Left = std::max(left + 1, left + t + (right - left - t - w) / 2);
        else d.Left = left + t;
        break;
    case TCellHAlign::haFull:
        d.Left = left;
        break;
    default:
        d.Left = left + 1;
        break;
    }
    d.Right = g.CellHAlign() == TCellHAlign::haFull ? right : d.Left + w;

    TCellVAlign va = g.CellVAlign();
    const TCellType type = g.CellType();
    if ((IsCheckKind(type) || type == TCellType::ctRadioButton) && textVa != VAlignment()) va = FromTextVAlign(textVa);
    switch (va) {
    case TCellVAlign::vaBottom:
        d.Top = bottom - h - 1;
        d.Bottom = bottom - 1;
        break;
    case TCellVAlign::vaCenter:
        d.Top = h < bottom - top ? top + (bottom - top - h) / 2 : top + 1;
        d.Bottom = d.Top + h;
        break;
    case TCellVAlign::vaUnderText:
        d.Top = bottom - h;
        d.Bottom = bottom;
        break;
    case TCellVAlign::vaFull:
        d.Top = top;
        d.Bottom = bottom;
        break;
    default:
        d.Top = top + 1;
        d.Bottom = top + 1 + h;
        break;
    }
    return d;
}

// --- primitives ------------------------------------------------------------------------

bool TExStringGrid::ThemedControls() const
{
    return IsComCtl6() && gui::IsThemeActive();
}

void TExStringGrid::DrawGridFrameControl(gui::TCanvas* canvas, const gui::TRect& r, uint32_t type, uint32_t state)
{
    gui::TRect rr = r;
    canvas->DrawFrameControl(rr, type, state);
}

void TExStringGrid::DrawGridThemePart(gui::TCanvas* canvas, const std::string& themeClass, int part, int state,
                                      const gui::TRect& r)
{
    gui::HTHEME theme = gui::OpenThemeData(this, themeClass);
    if (!theme) return;
    gui::DrawThemeBackground(theme, *canvas, part, state, r, nullptr);
    gui::CloseThemeData(theme);
}

void TExStringGrid::DrawGridResource(gui::TCanvas* canvas, const std::string& name, int x, int y)
{
    gui::TBitmap bmp;
    try {
        bmp.LoadFromResourceName(name);
    } catch (const rtl::Exception&) {
        return;  // a missing picture draws nothing
    }
    DrawTransparent(canvas, &bmp, x, y);
}

// --- check boxes and radio buttons -------------------------------------------------------

void TExStringGrid::DrawCheck(gui::TCanvas* canvas, const gui::TRect& rect, bool checked, TControlStyle style,
                              bool enabled)
{
    TControlLook* cl = ControlLook();
    if (cl->NoDisabledCheckRadioLook() || cl->CheckAlwaysActive()) enabled = true;
    if (style == TControlStyle::csTheme && !ThemedControls()) style = TControlStyle::csClassic;
    const int s = cl->CheckSize();
    switch (style) {
    case TControlStyle::csClassic:
    case TControlStyle::csFlat: {
        const int x = rect.Left + (rect.Right - rect.Left - s) / 2;
        const int y = rect.Top + (rect.Bottom - rect.Top - s) / 2;
        uint32_t state = gui::DFCS_BUTTONCHECK;
        if (checked) state |= gui::DFCS_CHECKED;
        if (style == TControlStyle::csFlat) state |= gui::DFCS_FLAT;
        if (!enabled) state |= gui::DFCS_INACTIVE;
        DrawGridFrameControl(canvas, {x, y, x + s, y + s}, gui::DFC_BUTTON, state);
        break;
    }
    case TControlStyle::csWinXP:
    case TControlStyle::csKVR: {
        const int first = style == TControlStyle::csKVR ? 1 : 5;
        const int n = first + (checked ? 0 : 1) + (enabled ? 0 : 2);
        DrawGridResource(canvas, "GRDCHK0" + std::to_string(n), rect.Left, rect.Top);
        break;
    }
    case TControlStyle::csBevelled: {
        const gui::TRect r = rect;
        canvas->Brush()->SetColor(enabled ? gui::clBtnFace : gui::clBtnShadow);
        canvas->Pen()->SetColor(gui::clBtnFace);
        canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        canvas->Pen()->SetColor(gui::clBtnHighlight);
        canvas->MoveTo(r.Left, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Top);
        canvas->LineTo(r.Right - 1, r.Top);
        canvas->Pen()->SetColor(gui::clBtnShadow);
        canvas->LineTo(r.Right - 1, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Bottom - 1);
        if (checked) {
            canvas->Pen()->SetColor(enabled ? cl->Color() : 0x808080);
            canvas->Pen()->SetWidth(1);
            const int top = r.Top - 1, bottom = r.Bottom - 1, left = r.Left, right = r.Right;
            canvas->MoveTo(left + 2, top + s / 2);
            canvas->LineTo(left + 2, bottom - 1);
            canvas->MoveTo(left + 3, top + s / 2);
            canvas->LineTo(left + 3, bottom - 2);
            canvas->MoveTo(left + 2, bottom - 1);
            canvas->LineTo(right - 2, top + 3);
            canvas->MoveTo(left + 3, bottom - 1);
            canvas->LineTo(right - 1, top + 3);
        }
        break;
    }
    case TControlStyle::csGlyph:
        DrawTransparent(canvas, checked ? cl->CheckedGlyph() : cl->UnCheckedGlyph(), rect.Left, rect.Top);
        break;
    case TControlStyle::csTheme: {
        const int state = checked ? (enabled ? 5 : 8) : (enabled ? 1 : 4);
        DrawGridThemePart(canvas, "button", 3, state, {rect.Left, rect.Top, rect.Left + s, rect.Top + s});
        break;
    }
    default:
        break;
    }
}

void TExStringGrid::DrawRadioGroup(gui::TCanvas* canvas, const gui::TRect& rect, bool reversed, double scale,
                                   TControlStyle style, int aRow, int aCol, bool selected,
                                   const rtl::TStringList* captions, bool disabled, bool horizontal,
                                   int checkedIndex, int count)
{
    TControlLook* cl = ControlLook();
    if (cl->NoDisabledCheckRadioLook() || cl->RadioAlwaysActive()) disabled = false;
    if (count <= 0) return;
    if (style == TControlStyle::csTheme && !ThemedControls()) style = TControlStyle::csClassic;
    const gui::TBrushStyle oldBrush = canvas->Brush()->Style();
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    const TColor oldFont = canvas->Font()->Color();
    if (selected && TBaseGrid::ShowSelection() && SelectionTextColor() != gui::clNone)
        canvas->Font()->SetColor(SelectionTextColor());
    const int S = cl->RadioSize();
    const int TH = canvas->TextHeight("gh");
    const int dir = reversed ? -1 : 1;
    const int left = rect.Left, top = rect.Top, width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
    const std::string cellText = captions ? GetCellText(aCol, aRow) : std::string();
    int sum = 0;
    for (int i = 1; i <= count; ++i) {
        const bool hasCaption = captions && captions->Count() >= i;
        const std::string caption = hasCaption ? captions->Strings(i - 1) : std::string();
        // The text rule needs captions: a lone radio button is on only by its index.
        const bool checked = checkedIndex == i - 1 || (checkedIndex == -1 && hasCaption && caption == cellText);
        int x = 0, y = 0, cx = 0, cy = 0;
        if (style == TControlStyle::csClassic || style == TControlStyle::csFlat) {
            if (horizontal) {
                x = (i - 1) * S + sum + left + 2;
                y = top + (height - S) / 2;
                cx = x + static_cast<int>(std::lround(scale * S));
                cy = y - 2;
            } else {
                const int step = (i - 1) * TH * dir;
                if (hasCaption) {
                    x = left + 2;
                    y = top + step + 2;
                    cx = left + 2 + static_cast<int>(std::lround(scale * (S + 4)));
                    cy = top + step;
                } else {
                    x = left + (width - static_cast<int>(std::lround(scale * S))) / 2;
                    y = top + step + 2;
                }
            }
            const int box = static_cast<int>(std::lround(scale * (style == TControlStyle::csFlat ? S + 2 : S)));
            uint32_t state = gui::DFCS_BUTTONRADIO;
            if (style == TControlStyle::csFlat) state |= gui::DFCS_FLAT;
            if (disabled) state |= gui::DFCS_INACTIVE;
            if (checked) state |= gui::DFCS_CHECKED;
            DrawGridFrameControl(canvas, {x, y, x + box, y + box}, gui::DFC_BUTTON, state);
        } else {
            const bool bitmapStyle = style == TControlStyle::csWinXP || style == TControlStyle::csKVR ||
                                     style == TControlStyle::csGlyph;
            if (horizontal) {
                x = sum + left + (i - 1) * 16 + 2;
                y = top + (height - 16) / 2;
                cx = x + 16;
                cy = bitmapStyle ? y + 1 : y - 2;
            } else {
                const int step = (i - 1) * std::max(16, TH) * dir;
                if (hasCaption) {
                    x = left + 2;
                    y = top + step + 2;
                    cx = bitmapStyle ? left + 18 : left + 20;
                    cy = bitmapStyle ? y + 1 : top + step;
                } else {
                    x = left + (width - 16) / 2;
                    y = top + step + 2;
                }
            }
            if (style == TControlStyle::csBevelled) {
                const TColor upper = checked ? gui::clWhite : 0x808080, lower = checked ? 0x808080 : gui::clWhite;
                canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
                canvas->Brush()->SetColor(gui::clBtnFace);
                canvas->Pen()->SetColor(gui::clBtnFace);
                canvas->Polygon({{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}});
                canvas->Pen()->SetColor(lower);
                canvas->MoveTo(x + 2, y + 8);
                canvas->LineTo(x + 8, y + 14);
                canvas->MoveTo(x + 2, y + 8);
                canvas->LineTo(x + 8, y + 2);
                canvas->Pen()->SetColor(upper);
                canvas->LineTo(x + 14, y + 8);
                canvas->LineTo(x + 8, y + 14);
                if (checked) {
                    canvas->Brush()->SetColor(cl->Color());
                    canvas->Pen()->SetColor(cl->Color());
                    canvas->Polygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
                }
                canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
            } else if (style == TControlStyle::csTheme) {
                const int state = checked ? (disabled ? 8 : 5) : (disabled ? 4 : 1);
                DrawGridThemePart(canvas, "button", 2, state, {x, y, x + 16, y + 16});
            } else if (style == TControlStyle::csGlyph) {
                DrawTransparent(canvas, checked ? cl->RadioOnGlyph() : cl->RadioOffGlyph(), x, y);
            } else {
                const int first = style == TControlStyle::csKVR ? 1 : 5;
                const int n = first + (checked ? 0 : 1) + (disabled ? 2 : 0);
                DrawGridResource(canvas, "GRDRAD0" + std::to_string(n), x, y);
            }
        }
        if (hasCaption) {
            canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
            canvas->TextOut(cx, cy, caption);
            sum += canvas->TextWidth(caption);
        }
    }
    canvas->Font()->SetColor(oldFont);
    canvas->Brush()->SetStyle(oldBrush);
}

// --- the graphic layer ---------------------------------------------------------------

// The graphic of one cell: where it goes (the cell less the grid's offset,
// beside or over the text by its alignment), then one step per kind.  A
// friend of the grid: it reads the grid's look fields as the grid's own
// code would.
class TCellGraphicPainter {
public:
    TCellGraphicPainter(TExStringGrid& g, gui::TCanvas* c, int col, int row, const gui::TRect& cellRect,
                        TGridDrawState drawState)
        : grid(g), canvas(c), rCol(col), aRow(row), rect(cellRect), state(drawState)
    {
    }

    void Draw()
    {
        if (!Place()) return;
        switch (type) {
        case TCellType::ctBitmap:
            Bitmap();
            break;
        case TCellType::ctIcon:
            Icon();
            break;
        case TCellType::ctImageList:
            ImageListImage();
            break;
        case TCellType::ctDataImage:
            DataImage();
            break;
        case TCellType::ctImages:
            Images();
            break;
        case TCellType::ctCheckBox:
        case TCellType::ctRowCheckBox:
        case TCellType::ctDataCheckBox:
        case TCellType::ctVirtCheckBox:
            CheckBox();
            break;
        case TCellType::ctRadioButton:
            RadioButton();
            break;
        case TCellType::ctRadio:
            RadioGroup();
            break;
        case TCellType::ctRotated:
            RotatedText();
            break;
        case TCellType::ctPicture:
            Picture();
            break;
        case TCellType::ctFilePicture:
            FilePicture();
            break;
        case TCellType::ctProgress:
            Progress();
            break;
        case TCellType::ctXPProgress:
            XPProgress();
            break;
        case TCellType::ctProgressPie:
            ProgressPie();
            break;
        case TCellType::ctRangeIndicator:
            RangeIndicator();
            break;
        case TCellType::ctComment:
            Comment();
            break;
        case TCellType::ctButton:
        case TCellType::ctBitButton:
            Button();
            break;
        case TCellType::ctInterface:
            Interface();
            break;
        case TCellType::ctNode:
            Node();
            break;
        default: break;
        }
    }

private:
    // The graphic's rectangle d in the cell (r: the cell less the offset,
    // kept whole for nodes and bars) by the graphic's and the text's alignment.
    bool Place()
    {
        const TCellGraphicLayout lay = grid.GetCellGraphicLayout(rCol, aRow);
        gr = lay.Graphic;
        if (!gr) return false;
        type = gr->CellType();
        r = rect;
        if (type != TCellType::ctNode && type != TCellType::ctProgress && type != TCellType::ctRangeIndicator &&
            type != TCellType::ctXPProgress) {
            r.Left += grid.FXYOffset.X - 1;
            r.Right -= grid.FXYOffset.X - 1;
            r.Top += grid.FXYOffset.Y - 1;
            r.Bottom -= grid.FXYOffset.Y - 1;
        }
        const uint16_t align = grid.ResolveCellAlignment(rCol, aRow);
        textHa = static_cast<TAlignment>(align & 0xFF);
        const auto textVa = static_cast<TVAlignment>(align >> 8);
        t = grid.FLastTextWidth > 0 ? grid.FLastTextWidth + 2 : 0;
        w = lay.Width;
        h = lay.Height;
        d = grid.PlaceGraphic(*gr, r, w, h, t, textHa, textVa);
        selected = state.Contains(TGridDrawStateItem::gdSelected);
        return true;
    }

    // A bitmap, drawn through the cell's (or selection's) colour when transparent.
    void Bitmap()
    {
        const auto* bmp = dynamic_cast<const gui::TBitmap*>(gr->CellBitmap());
        if (!bmp || bmp->Width() <= 0) return;
        if (!gr->CellTransparent()) {
            canvas->Draw(d.Left, d.Top, bmp);
        } else {
            const bool showSel =
                grid.TBaseGrid::ShowSelection() && selected && !grid.MouseActions()->DisjunctRowSelect();
            gui::TBitmap tmp;
            tmp.SetSize(w, h);
            const bool selColour = showSel && grid.SelectionColor() != gui::clNone;
            tmp.Canvas()->Brush()->SetColor(selColour ? grid.SelectionColor() : canvas->Brush()->Color());
            tmp.Canvas()->FillRect({0, 0, w, h});
            tmp.Canvas()->BrushCopy({0, 0, w, h}, bmp, {0, 0, w, h},
                                    const_cast<gui::TBitmap*>(bmp)->Canvas()->Pixels(0, 0));
            canvas->Draw(d.Left, d.Top, &tmp);
        }
    }

    // An icon at its place.
    void Icon()
    {
        if (const auto* icon = dynamic_cast<const gui::TGraphic*>(gr->CellIcon())) canvas->Draw(d.Left, d.Top, icon);
    }

    // An image of the grid's image list.
    void ImageListImage()
    {
        if (grid.FGridImages) grid.FGridImages->Draw(canvas, d.Left, d.Top, gr->CellIndex(), true);
    }

    // The image whose index is the cell's number plus the stored offset.
    void DataImage()
    {
        if (grid.FGridImages) {
            const int idx = std::atoi(grid.GetCellText(rCol, aRow).c_str()) + gr->CellIndex();
            if (idx >= 0 && idx < grid.FGridImages->Count()) grid.FGridImages->Draw(canvas, d.Left, d.Top, idx, true);
        }
    }

    // Several images of the grid's list, side by side or one below the other.
    void Images()
    {
        if (grid.FGridImages) {
            if (const auto* list = dynamic_cast<const gridbase::TIntList*>(gr->CellBitmap())) {
                int x = d.Left, y = d.Top;
                for (int i = 0; i < list->Count(); ++i) {
                    grid.FGridImages->Draw(canvas, x, y, list->Items(i), true);
                    if (gr->CellBoolean()) x += grid.FGridImages->Width();
                    else y += grid.FGridImages->Height();
                }
            }
        }
    }

    // A check box, placed by the text's alignment; data and virtual check boxes read their state from the text.
    void CheckBox()
    {
        bool checked = gr->CellBoolean();
        if (type == TCellType::ctDataCheckBox || type == TCellType::ctVirtCheckBox) {
            std::string checkTrue;
            grid.GetCheckTrue(rCol, aRow, checkTrue);
            checked = grid.GetCellText(rCol, aRow) == checkTrue;
        }
        // Placed by the text's alignment; a box shown beside its text keeps left of it.
        int x = r.Left + 1;
        if (textHa == TAlignment::taRightJustify) {
            x = r.Right - w - 1 - (type == TCellType::ctCheckBox ? t : 0);
            x = std::max(x, r.Left + 1);
        } else if (textHa == TAlignment::taCenter) {
            if (type != TCellType::ctCheckBox || t == 0) x = r.Left + std::max(0, r.Right - w - r.Left) / 2;
            else x = std::max(r.Left + 1, r.Left + std::max(0, r.Right - t - r.Left) / 2 - w);
        }
        bool enabled = true;
        grid.CanEditBaseCell(rCol, aRow, enabled);
        grid.DrawCheck(canvas, {x, d.Top, x + w, d.Top + h}, checked, grid.ControlLook()->ControlStyle(), enabled);
    }

    // A single radio button.
    void RadioButton()
    {
        const int s = grid.ControlLook()->RadioSize();
        gui::TRect rb{d.Left + grid.FXYOffset.X, d.Top, d.Left + grid.FXYOffset.X + s, d.Top + s};
        bool enabled = true;
        grid.CanEditBaseCell(rCol, aRow, enabled);
        grid.DrawRadioGroup(canvas, rb, false, 1.0, grid.ControlLook()->ControlStyle(), aRow, rCol, selected, nullptr,
                            !enabled, false, gr->CellBoolean() ? 0 : -1, 1);
    }

    // A radio group with its captions.
    void RadioGroup()
    {
        bool enabled = true;
        grid.CanEditBaseCell(rCol, aRow, enabled);
        const auto* captions = dynamic_cast<const rtl::TStringList*>(gr->CellBitmap());
        grid.DrawRadioGroup(canvas, r, false, 1.0, grid.ControlLook()->ControlStyle(), aRow, rCol, selected, captions,
                            !enabled, gr->CellBoolean(), gr->CellIndex(), captions ? captions->Count() : 0);
    }

    // The cell's text turned about the cell's centre; a sorted header keeps its sort mark.
    void RotatedText()
    {
        const std::string text = grid.GetCellText(rCol, aRow);
        const double a = gr->CellAngle() * 3.14159265358979323846 / 180.0;
        const int tw = canvas->TextWidth(text), th = canvas->TextHeight(text.empty() ? "gh" : text);
        // The text's centre at the cell's centre; its start turned with it.
        const double cx = (rect.Left + rect.Right) / 2.0, cy = (rect.Top + rect.Bottom) / 2.0;
        const double sx = cx - (tw / 2.0 * std::cos(a) + th / 2.0 * std::sin(a));
        const double sy = cy - (-tw / 2.0 * std::sin(a) + th / 2.0 * std::cos(a));
        const int oldOrientation = canvas->Font()->Orientation();
        canvas->Font()->SetOrientation(gr->CellAngle() * 10);
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        gui::TRect clip{rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
        canvas->TextRect(clip, static_cast<int>(std::lround(sx)), static_cast<int>(std::lround(sy)), text);
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        canvas->Font()->SetOrientation(oldOrientation);
        // A rotated header of the sorted column keeps its sort mark, in the
        // top right corner where turned text leaves room.
        TSortSettings* ss = grid.FSortSettings.get();
        const bool sorted = rCol == ss->Column() || (ss->IndexShow() && grid.FSortIndexes->FindIndex(rCol) >= 0);
        if (ss->Show() && aRow == ss->Row() && grid.RowCount() >= 3 && grid.TBaseGrid::FixedRows() >= 1 && sorted &&
            (rCol >= grid.TBaseGrid::FixedCols() || ss->FixedCols()))
            grid.DrawSortIndicator(canvas, rCol, rect.Top + 8, rect.Right - 10);
    }

    // A picture, stretched when a stretch mode is set.
    void Picture()
    {
        if (const auto* pic = dynamic_cast<const gui::TPicture*>(gr->CellBitmap())) {
            if (!pic->Graphic()) return;
            if (gr->CellAngle() != 0) canvas->StretchDraw(d, pic->Graphic());
            else canvas->Draw(d.Left, d.Top, pic->Graphic());
        }
    }

    // A picture kept in a file.
    void FilePicture()
    {
        if (const auto* fp = dynamic_cast<const gridbase::TFilePicture*>(gr->CellBitmap())) fp->DrawPicture(canvas, d);
    }

    // A progress bar: themed, or in the cell's own colours.
    void Progress()
    {
        TControlLook* cl = grid.ControlLook();
        gui::TRect pr = rect;
        const double value = std::atof(grid.GetCellText(rCol, aRow).c_str());
        if ((cl->ControlStyle() == TControlStyle::csWinXP || cl->ControlStyle() == TControlStyle::csTheme) &&
            grid.ThemedControls() && cl->ProgressXP()) {
            pr = {pr.Left + cl->ProgressMarginX(), pr.Top + cl->ProgressMarginY(), pr.Right - cl->ProgressMarginX(),
                  pr.Bottom - cl->ProgressMarginY()};
            grid.DrawGridThemePart(canvas, "Progress", 1, 0, pr);
            pr = {pr.Left + 2, pr.Top + 2, pr.Right - 2, pr.Bottom - 2};
            const double v = std::clamp(value, 0.0, 100.0);
            const int fill = static_cast<int>(std::lround(v * (pr.Right - pr.Left) / 100.0));
            if (fill > 0)
                grid.DrawGridThemePart(canvas, "Progress", 3, 1, {pr.Left, pr.Top, pr.Left + fill, pr.Bottom});
            return;
        }
        pr = {pr.Left + 2, pr.Top + 2, pr.Right - 2, pr.Bottom - 2};
        const TColor fill = gr->CellBitmapColor(), empty = gr->CellIconColor();
        const TColor fillText = gr->CellBoolean() ? static_cast<TColor>(gr->CellAngle()) : fill ^ 0xFFFFFF;
        const TColor emptyText = gr->CellBoolean() ? static_cast<TColor>(gr->CellIndex()) : empty ^ 0xFFFFFF;
        gridbase::DrawProgressBar(canvas, pr, fill, fillText, empty, emptyText, value, cl->ProgressMarginY(),
                                  cl->ProgressMarginX(), gr->CellErrFrom(), gr->CellErrLen(), gr->CellText(),
                                  cl->ProgressBorderColor(), false);
    }

    // A progress bar in levels of the grid's ProgressAppearance.
    void XPProgress()
    {
        TControlLook* cl = grid.ControlLook();
        gui::TRect pr{rect.Left + cl->ProgressMarginX(), rect.Top + cl->ProgressMarginY(),
                      rect.Right - cl->ProgressMarginX() - 1, rect.Bottom - cl->ProgressMarginY() - 1};
        const int range = gr->CellErrLen() - gr->CellErrFrom();
        const int value = std::atoi(grid.GetCellText(rCol, aRow).c_str());
        const int percent = range != 0 ? static_cast<int>(std::lround(value * 100.0 / range)) : 0;
        const TGridProgressAppearance* pa = grid.ProgressAppearance();
        gridbase::TProgressAppearance look;
        look.Level0Color = pa->Level0Color();
        look.Level0ColorTo = pa->Level0ColorTo();
        look.Level1Color = pa->Level1Color();
        look.Level1ColorTo = pa->Level1ColorTo();
        look.Level2Color = pa->Level2Color();
        look.Level2ColorTo = pa->Level2ColorTo();
        look.Level3Color = pa->Level3Color();
        look.Level3ColorTo = pa->Level3ColorTo();
        look.Level1Perc = pa->Level1Perc();
        look.Level2Perc = pa->Level2Perc();
        look.BorderColor = pa->BorderColor();
        look.ShowBorder = pa->ShowBorder();
        look.Stacked = pa->Stacked();
        look.ShowPercentage = pa->ShowPercentage();
        look.CompletionSmooth = pa->CompletionSmooth();
        look.ShowGradient = pa->ShowGradient();
        look.Steps = pa->Steps();
        look.UnCompleteColor = pa->UnCompleteColor() != gui::clNone ? pa->UnCompleteColor() : canvas->Brush()->Color();
        gui::TFont font;
        font.Assign(grid.Font());
        font.SetColor(pa->CompleteFontColor());
        look.Font = &font;
        gridbase::DrawLevelProgressBar(canvas, pr, percent, look);
    }

    // A progress pie.
    void ProgressPie()
    {
        // Drawn on a bitmap of the cell's colour: the sector fill reads pixels back.
        gui::TBitmap pie;
        pie.SetSize(21, 21);
        pie.Canvas()->Brush()->SetColor(canvas->Brush()->Color());
        pie.Canvas()->FillRect({0, 0, 21, 21});
        gridbase::DrawProgressPie(pie.Canvas(), {0, 0, 20, 20}, gr->CellBitmapColor(), gr->CellAngle(), false);
        canvas->Draw(d.Left, d.Top, &pie);
    }

    // A bar left or right of a zero line.
    void RangeIndicator()
    {
        TControlLook* cl = grid.ControlLook();
        gui::TRect pr{rect.Left + cl->ProgressMarginX(), rect.Top + cl->ProgressMarginY(),
                      rect.Right - cl->ProgressMarginX(), rect.Bottom - cl->ProgressMarginY()};
        gridbase::DrawSignedBar(canvas, pr, std::atoi(grid.GetCellText(rCol, aRow).c_str()), gr->CellIndex(),
                                gr->CellBoolean(), gr->CellBitmapColor(), gr->CellIconColor());
    }

    // The comment mark in the top right corner.
    void Comment()
    {
        const TColor look = grid.ControlLook()->CommentColor();
        if (look == gui::clNone) return;
        const auto own = static_cast<TColor>(gr->CellAngle());
        const TColor c = own != gui::clNone ? own : look;
        const TColor oldBrush = canvas->Brush()->Color(), oldPen = canvas->Pen()->Color();
        canvas->Brush()->SetColor(c);
        canvas->Pen()->SetColor(c);
        const int x = r.Right + grid.FXYOffset.X, y = r.Top - grid.FXYOffset.Y;
        canvas->Polygon({{x - 8, y + 1}, {x - 3, y + 1}, {x - 3, y + 6}});
        canvas->Brush()->SetColor(oldBrush);
        canvas->Pen()->SetColor(oldPen);
    }

    // A push button (with a glyph for a bit button) and its caption.
    void Button()
    {
        gr->SetCellValue(static_cast<double>(((d.Top - rect.Top) << 16) | ((d.Left - rect.Left) & 0xFFFF)));
        const TColor oldBrush = canvas->Brush()->Color();
        canvas->Brush()->SetColor(gui::clBtnFace);
        bool enabled = true;
        if (!grid.ControlLook()->NoDisabledButtonLook()) grid.CanEditBaseCell(rCol, aRow, enabled);
        const bool pushed = gr->CellBoolean();
        gui::TRect br = d;
        if (grid.ThemedControls()) {
            grid.DrawGridThemePart(canvas, "button", 1, !enabled ? 4 : pushed ? 3 : 1, br);
        } else {
            uint32_t st = gui::DFCS_BUTTONPUSH;
            if (grid.ControlLook()->FlatButton()) st |= gui::DFCS_FLAT;
            if (pushed) st |= gui::DFCS_PUSHED;
            grid.DrawGridFrameControl(canvas, br, gui::DFC_BUTTON, st);
        }
        const int in = pushed ? 3 : 2;
        br = {br.Left + in, br.Top + in, br.Right - in, br.Bottom - in};
        if (type == TCellType::ctBitButton) {
            if (const auto* glyph = dynamic_cast<const gui::TBitmap*>(gr->CellBitmap()); glyph && glyph->Width() > 0) {
                DrawTransparent(canvas, glyph, br.Left + 1, br.Top + 1);
                br.Left += glyph->Width() + 2;
            }
        }
        uint32_t flags = gr->CellText().find('\r') != std::string::npos ? gui::DT_WORDBREAK : gui::DT_SINGLELINE;
        flags |= gui::DT_CENTER | gui::DT_VCENTER | gui::DT_END_ELLIPSIS;
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        gui::TRect tr{br.Left + 1, br.Top, br.Right, br.Bottom};
        canvas->DrawText(gr->CellText(), tr, flags);
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(oldBrush);
    }

    // An object that draws itself.
    void Interface()
    {
        if (auto* dr = dynamic_cast<ICellDrawable*>(gr->CellBitmap()))
            dr->Draw(canvas, {rect.Left - 1, rect.Top - 1, rect.Right, rect.Bottom}, rCol, aRow, selected);
    }

    // A node: the tree lines with ShowTree, then its button box.
    void Node()
    {
        NodeTreeLines();
        NodeButton();
    }

    // The line on to the next row of the tree and the one from the row above.
    void NodeTreeLines()
    {
        const TCellNode* cn = grid.CellNode();
        const int indent = grid.GetNodeIndent(aRow);
        if (cn->ShowTree() && aRow >= grid.FixedRows()) {
            const int x = r.Left + indent - cn->NodeIndent() + cn->NodeIndent() / 2 + 2;
            const int mid = (r.Top + r.Bottom) / 2;
            canvas->Pen()->SetColor(cn->TreeColor());
            canvas->Pen()->SetWidth(1);
            const int nextIndent = aRow + 1 < grid.RowCount() ? grid.GetNodeIndent(aRow + 1) : 0;
            if (nextIndent > 0 && !(grid.GetNodeState(aRow) && nextIndent < indent)) {
                canvas->MoveTo(x, mid);
                canvas->LineTo(x, r.Bottom);
            }
            if (aRow > 0 && grid.GetNodeIndent(aRow - 1) >= indent) {
                canvas->MoveTo(x, r.Top);
                canvas->LineTo(x, r.Top + 6);
            }
        }
    }

    // The button box of a node row: a plus for a closed node, a minus for an
    // open one (or the look's glyphs).
    void NodeButton()
    {
        const TCellNode* cn = grid.CellNode();
        const int indent = grid.GetNodeIndent(aRow);
        // The button stands half an indent before the row's level.
        // (A node has a level of 1 at least.)
        const int left = r.Left + std::max(indent, cn->NodeIndent()) - cn->NodeIndent() / 2 - 4;
        const int bx = left + 4, by = r.Top + std::max(0, r.Bottom - r.Top - 8) / 2;
        const TColor oldBrush = canvas->Brush()->Color();
        switch (cn->NodeType()) {
        case TNodeType::cnLeaf:
            grid.DrawGridResource(canvas, gr->CellBoolean() ? "GRDLEAFCLOSE" : "GRDLEAFOPEN", left,
                                  r.Top + (r.Bottom - r.Top - 12) / 2);
            break;
        case TNodeType::cnXP:
            grid.DrawGridResource(canvas, gr->CellBoolean() ? "XPNODEC" : "XPNODEO", left + 4,
                                  r.Top + (r.Bottom - r.Top - 10) / 2);
            break;
        case TNodeType::cnGlyph:
            if (!cn->ExpandGlyph()->Empty() && !cn->ContractGlyph()->Empty()) {
                const gui::TBitmap* gl = gr->CellBoolean() ? cn->ContractGlyph() : cn->ExpandGlyph();
                DrawTransparent(canvas, gl, left, r.Top + (r.Bottom - r.Top - gl->Height()) / 2);
                break;
            }
            [[fallthrough]];
        default: {
            canvas->Brush()->SetColor(cn->Color());
            if (cn->NodeType() == TNodeType::cnFlat) {
                canvas->Pen()->SetColor(cn->NodeColor());
                canvas->Rectangle(bx - 1, by - 1, bx + 9, by + 9);
                canvas->MoveTo(bx + 1, by + 3 + 1);
                canvas->LineTo(bx + 7, by + 3 + 1);
                if (gr->CellBoolean()) {
                    canvas->MoveTo(bx + 4, by + 1);
                    canvas->LineTo(bx + 4, by + 7);
                }
            } else {
                canvas->FillRect({bx, by, bx + 8, by + 8});
                gui::TRect er{bx, by, bx + 8, by + 8};
                canvas->DrawEdge(er, gr->CellBoolean() ? gui::EDGE_RAISED : gui::EDGE_SUNKEN,
                                 gui::BF_RECT | gui::BF_SOFT);
            }
            break;
        }
        }
        canvas->Brush()->SetColor(oldBrush);
    }

    TExStringGrid& grid;
    gui::TCanvas* canvas;
    const int rCol, aRow;
    const gui::TRect rect;
    const TGridDrawState state;
    TCellGraphic* gr = nullptr;
    TCellType type = TCellType::ctNone;
    gui::TRect r, d;
    TAlignment textHa = TAlignment::taLeftJustify;
    int t = 0, w = 0, h = 0;
    bool selected = false;
};

void TExStringGrid::DrawCellGraphic(gui::TCanvas* canvas, int rCol, int aRow, const gui::TRect& rect,
                                    TGridDrawState state)
{
    TCellGraphicPainter(*this, canvas, rCol, aRow, rect, state).Draw();
}

} // namespace grid
