// ExGrid: the text layer of a cell (plain, multi-line, wrapped, URL, HTML,
// rich and password texts, the sort mark and the selection rectangle), the
// shown text of a cell and the size its content needs.
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TGridDrawStateItem;
using gui::TGridOption;

namespace {

bool IsNumberKind(int kind)
{
    return kind == gridbase::ntInteger || kind == gridbase::ntDecimal || kind == gridbase::ntExponent;
}

// "." of a formatted number written with the locale's decimal separator.
std::string LocalDecimals(std::string text)
{
    const char sep = rtl::FormatSettings().DecimalSeparator;
    if (sep != '.') std::replace(text.begin(), text.end(), '.', sep);
    return text;
}

} // namespace

// ------------------------------------------------------------ shown text

void TExStringGrid::GetFormattedCellText(int aCol, int aRow, std::string& text)
{
    text = GetCellText(aCol, aRow);
    if (!OnGetFloatFormat || !IsNumberKind(gridbase::ClassifyNumberText(rtl::Trim(text)))) return;
    bool isFloat = true;
    std::string fmt = FloatFormat();
    OnGetFloatFormat(this, aCol, aRow, isFloat, fmt);
    if (!isFloat) return;
    try {
        const long double value = rtl::StrToFloat(gridbase::ExtractNumberText(rtl::Trim(text)));
        if (fmt.find('d') != std::string::npos)
            text = rtl::Format(fmt, static_cast<long long>(std::llround(value)));
        else text = LocalDecimals(rtl::Format(fmt, value));
    } catch (...) {
        // A format that does not fit the value leaves the text as it is.
    }
}

void TExStringGrid::GetFormulaText(int aCol, int aRow, std::string& text) { text = GetCellText(aCol, aRow); }

bool TExStringGrid::CellIsPassword(int aCol, int aRow)
{
    bool pw = false;
    IsPasswordCell(aCol, aRow, pw);
    return pw;
}

// ------------------------------------------------------------ text layer

void TExStringGrid::DrawCellTextLayer(TCellTextContext& ctx)
{
    gui::TCanvas* cv = ctx.Canvas;
    const bool fixed = ctx.State.Contains(TGridDrawStateItem::gdFixed);
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();

    // 1. Selection colours.
    TColor urlColor = FURLColor;
    const bool selected = ctx.State.Contains(TGridDrawStateItem::gdSelected) ||
                          (Options().Contains(TGridOption::goRowSelect) &&
                           GetRowSelect(FMouseActions->RowSelectPersistent() ? DisplayToRealRow(ctx.Row) : ctx.Row) &&
                           ctx.RCol >= fixedCols && ctx.RCol < ColCount() - FFixedRightCols);
    if (selected && !fixed) {
        if (TBaseGrid::ShowSelection()) {
            if (FSelectionColor != gui::clNone) cv->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != gui::clNone) {
                cv->Font()->SetColor(FSelectionTextColor);
                urlColor = FSelectionTextColor;
            }
        } else if (!Focused() || GetCellType(ctx.Col, ctx.Row) == TCellType::ctCheckBox) {
            cv->Brush()->SetColor(ctx.UnselectedBrush);
            cv->Font()->SetColor(ctx.UnselectedFont);
        }
    }

    // 2. The text.
    std::string text;
    GetFormattedCellText(ctx.RCol, ctx.Row, text);
    int kind = gridbase::ClassifyCellText(text, EnableHTML());
    if (kind == gridbase::ctFormulaText) {
        GetFormulaText(ctx.RCol, ctx.Row, text);
        kind = gridbase::ClassifyCellText(text, EnableHTML());
    }
    if (kind == gridbase::ctWideText) {
        text = gridbase::DecodePrefixedWideText(text);
        kind = gridbase::ctPlainText;
    }
    if (CellIsPassword(ctx.RCol, ctx.Row)) gridbase::FillWithChar(text, static_cast<char32_t>(PasswordChar()));

    // 3.
    gui::TRect r = ctx.Rect;
    if (fixed) {
        r.Left += GridLineWidth();
        r.Top += GridLineWidth();
    }

    // 4. Filter button, with room left for it.
    if (DrawFilterButton(cv, ctx.RCol, ctx.Row, r)) r.Right -= 16;

    // 5. Unselected cells of a disjunct selection.
    if (!fixed && !FMouseDown &&
        ((FMouseActions->DisjunctRowSelect() && !GetRowSelect(ctx.Row)) ||
         (FMouseActions->DisjunctColSelect() && !GetColSelect(ctx.Col)))) {
        urlColor = FURLColor;
        cv->Brush()->SetColor(Color());
        cv->Font()->SetColor(Font()->Color());
        GetCellColor(ctx.RCol, ctx.Row, ctx.State, cv->Brush(), cv->Font());
        if (FZoomFactor != 0) cv->Font()->SetSize(cv->Font()->Size() + FZoomFactor);
    }

    // 6. Background picture.
    DrawBackgroundPicture(cv, ctx.Col, ctx.Row, r);

    // 7. Selection rectangle.
    const gui::TGridRect sel = Selection();
    if (FSelectionRectangle && sel.Contains(ctx.Col, ctx.Row)) {
        const int g = GridLineWidth();
        cv->Pen()->SetColor(SelectionRectangleColor());
        cv->Pen()->SetWidth(2);
        const gui::TRect c = ctx.Rect;
        if (ctx.Col == sel.Left) {
            cv->MoveTo(c.Left - g + 1, c.Bottom);
            cv->LineTo(c.Left - g + 1, c.Top - g);
        }
        if (ctx.Col == sel.Right) {
            cv->MoveTo(c.Right - 1, c.Bottom);
            cv->LineTo(c.Right - 1, c.Top - g);
        }
        const int right = ctx.Col == sel.Right ? c.Right - 1 : c.Right;
        if (ctx.Row == sel.Top) {
            cv->MoveTo(c.Left - g, c.Top - g + 1);
            cv->LineTo(right, c.Top - g + 1);
        }
        if (ctx.Row == sel.Bottom) {
            cv->MoveTo(c.Left - g, c.Bottom);
            cv->LineTo(right, c.Bottom);
        }
        if (FSelectionResizer && ctx.Col == sel.Right && ctx.Row == sel.Bottom) {
            const TColor b = cv->Brush()->Color();
            cv->Brush()->SetColor(SelectionRectangleColor());
            cv->FillRect({c.Right - 4, c.Bottom - 4, c.Right, c.Bottom});
            cv->Brush()->SetColor(b);
        }
        cv->Pen()->SetWidth(1);
    }

    // 9. Text rectangle (graphics make room for themselves when they exist).
    r.Right -= FXYOffset.X;
    r.Left += FXYOffset.X;
    r.Top += FXYOffset.Y;
    // 8. Text shown beside the graphic, and room for it.
    if (ctx.Graphic) {
        const TCellGraphicLayout lay = GetCellGraphicLayout(ctx.RCol, ctx.Row);
        if (!lay.TextShown) return;
        if (lay.HAlign == TCellHAlign::haBeforeText) r.Left += lay.Width;
        else if (lay.HAlign == TCellHAlign::haAfterText) r.Right -= lay.Width;
        if (lay.VAlign == TCellVAlign::vaAboveText) r.Top += lay.Height;
        else if (lay.VAlign == TCellVAlign::vaUnderText) r.Bottom -= lay.Height;
    }
    // Column 0 of a grid with nodes: a plain row's text stands at its level.
    if (ctx.RCol == 0 && FNumNodes > 0 && !IsNode(ctx.Row)) r.Left += GetNodeIndent(ctx.Row);
    const bool sortHeader = FSortSettings->Show() && ctx.Row == FSortSettings->Row() && fixedRows > 0 &&
                            ctx.RCol == FSortSettings->Column() &&
                            (ctx.RCol >= fixedCols || FSortSettings->FixedCols());
    FLastTextWidth = 0;

    if (kind == gridbase::ctHtmlText) {
        // 10. Markup.
        gui::TRect hr = r;
        hr.Left -= 1;
        if (sortHeader && RowCount() > 2) hr.Right -= 10;
        htmltext::TMarkupOptions opt;
        opt.ShadowColor = 0x808080;
        opt.LinkColor = urlColor;
        opt.PictureCache = FImageCache.get();
        opt.WordWrap = ctx.WordWrap;
        if (FCtrlDown && FCtrlXY.X == ctx.RCol && FCtrlXY.Y == ctx.Row) {
            // An inline button held down is drawn pressed: the one under the
            // press point.
            opt.PointX = FPressPoint.X;
            opt.PointY = FPressPoint.Y;
            opt.MouseDown = true;
        }
        htmltext::TMarkupResult res;
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *cv, text, hr, opt, res);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        FLastTextWidth = res.XSize + 2;
        if (sortHeader) {
            int y = hr.Top + 8;
            if (ctx.VAlign == TVAlignment::vtaCenter) y = (hr.Top + hr.Bottom) / 2;
            else if (ctx.VAlign == TVAlignment::vtaBottom) y = hr.Bottom - 8;
            DrawSortIndicator(cv, ctx.RCol, y, hr.Right + 2);
        }
        return;
    }
    if (kind == gridbase::ctRtfText) {
        // 11. Rich text.
        cv->Pen()->SetColor(cv->Brush()->Color());
        if (!(selected && !Focused() && FSelectionColor == gui::clNone)) cv->FillRect(ctx.Rect);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        RenderRichCell(ctx.RCol, ctx.Row, r, cv);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        cv->Font()->SetColor(0);
        return;
    }

    // 12. Plain text.
    if (sortHeader && ctx.HAlign == TAlignment::taCenter) r.Left += 10;
    const int room = ctx.Row == 0 && FSortSettings->Show() && ctx.RCol == FSortSettings->Column() ? 14 : 0;
    if (ctx.HAlign == TAlignment::taLeftJustify) r.Right -= room;
    else r.Left += room;

    const bool urlShown = URLShow() && gridbase::IsUrlOrMail(GetCellText(ctx.RCol, ctx.Row));
    if (urlShown) {
        if (!URLFull()) gridbase::StripUrlScheme(text);
        gui::TFontStyles st = cv->Font()->Style();
        st += gui::TFontStyle::fsUnderline;
        cv->Font()->SetStyle(st);
        cv->Font()->SetColor(urlColor);
    }

    uint32_t flags = gui::DT_EDITCONTROL;
    const int lines = FMultilinecells ? gridbase::CountTextLines(text, true) : 1;
    if (lines <= 1 && !ctx.WordWrap) {
        std::string rest = text;
        text = gridbase::CutFirstLine(rest, false);
        flags = gui::DT_SINGLELINE;
        if (EnhTextSize()) flags |= gui::DT_END_ELLIPSIS;
    } else if (ctx.WordWrap && EnhTextSize() && !FMultilinecells) {
        flags |= gui::DT_END_ELLIPSIS;
    }
    flags |= gui::DT_NOCLIP | gui::DT_NOPREFIX;
    if (ctx.WordWrap) flags |= gui::DT_WORDBREAK | gui::DT_EDITCONTROL;
    if (EnhTextSize()) flags &= ~gui::DT_NOCLIP;  // an ellipsis needs the cell's bounds
    if (ctx.HAlign == TAlignment::taRightJustify) flags |= gui::DT_RIGHT;
    else if (ctx.HAlign == TAlignment::taCenter) flags |= gui::DT_CENTER;
    if (ctx.VAlign == TVAlignment::vtaCenter) flags |= gui::DT_VCENTER;
    else if (ctx.VAlign == TVAlignment::vtaBottom) flags |= gui::DT_BOTTOM;
    FVAlign = flags & (gui::DT_VCENTER | gui::DT_BOTTOM);

    if (ctx.Graphic && !text.empty()) {
        gui::TRect m = r;
        cv->DrawText(text, m, flags | gui::DT_CALCRECT);
        FLastTextWidth = m.Width() + 2;
    }
    cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    gui::TRect tr = r;
    cv->DrawText(text, tr, flags);
    cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);

    if (sortHeader) {
        const int w = std::max(0, std::min(ctx.Rect.Width() - 16, cv->TextWidth(text)));
        int x = ctx.Rect.Left + 8;
        if (ctx.HAlign == TAlignment::taLeftJustify) x = r.Left + w + 10;
        else if (ctx.HAlign == TAlignment::taRightJustify) x = ctx.Rect.Right - w - 10;
        int y = r.Top + 8;
        if (ctx.VAlign == TVAlignment::vtaCenter) y = (r.Top + r.Bottom) / 2;
        else if (ctx.VAlign == TVAlignment::vtaBottom) y = r.Bottom - 8;
        DrawSortIndicator(cv, ctx.RCol, y, x);
    }
    if (URLShow()) {
        gui::TFontStyles st = cv->Font()->Style();
        st -= gui::TFontStyles{gui::TFontStyle::fsUnderline};
        cv->Font()->SetStyle(st);
    }
}

void TExStringGrid::DrawSortIndicator(gui::TCanvas* canvas, int, int y, int x)
{
    const TColor pen = canvas->Pen()->Color();
    if (FSortSettings->Direction() == TSortDirection::sdDescending) {
        canvas->Pen()->SetColor(gui::clWhite);
        canvas->MoveTo(x + 4, y - 4);
        canvas->LineTo(x, y + 4);
        canvas->Pen()->SetColor(0x808080);
        canvas->LineTo(x - 4, y - 4);
        canvas->Pen()->SetColor(0);
        canvas->LineTo(x + 4, y - 4);
    } else {
        canvas->Pen()->SetColor(gui::clWhite);
        canvas->MoveTo(x - 4, y + 4);
        canvas->LineTo(x + 4, y + 4);
        canvas->Pen()->SetColor(0x808080);
        canvas->LineTo(x, y - 4);
        canvas->Pen()->SetColor(0);
        canvas->LineTo(x - 4, y + 4);
    }
    canvas->Pen()->SetColor(pen);
}

// -------------------------------------------------------------- measuring

void TExStringGrid::GetCellTextSize(int aCol, int aRow, gui::TPoint& size, bool reserveGraphic, bool wordWrapped)
{
    CalcCellTextSize(RealColIndex(aCol), aCol, size, reserveGraphic, wordWrapped, aRow);
}

void TExStringGrid::CalcCellTextSize(int rCol, int dCol, gui::TPoint& size, bool reserveGraphic,
                                     bool wordWrapped, int aRow)
{
    gui::TCanvas* cv = Canvas();
    std::string text;
    GetFormattedCellText(rCol, aRow, text);
    int kind = gridbase::ClassifyCellText(text, EnableHTML());
    TGridDrawState state;
    GetFontProperties(rCol, dCol, true, *cv->Brush(), *cv->Font(), state, aRow);
    if (FZoomFactor != 0) cv->Font()->SetSize(cv->Font()->Size() + FZoomFactor);
    if (kind == gridbase::ctFormulaText) GetFormulaText(rCol, aRow, text);
    if (kind == gridbase::ctWideText) {
        text = gridbase::DecodePrefixedWideText(text);
        kind = gridbase::ctPlainText;
    }

    gui::TRect r = CalcCellRect(dCol, aRow);
    r = {r.Left + FXYOffset.X, r.Top + FXYOffset.Y, r.Right - FXYOffset.X, r.Bottom - FXYOffset.Y};
    if (reserveGraphic) r.Right -= 17;

    if (kind == gridbase::ctHtmlText) {
        if (!wordWrapped) r.Right = 65535;
        r.Bottom = 65535;
        htmltext::TMarkupOptions opt;
        opt.HeightCheck = true;
        opt.LinkColor = FURLColor;
        opt.ShadowColor = 0x808080;
        opt.PictureCache = FImageCache.get();
        htmltext::TMarkupResult res;
        gui::TBitmap scratch(1, 1);
        scratch.Canvas()->SetFont(cv->Font());
        htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *scratch.Canvas(), text, r, opt, res);
        size = {res.XSize + 2 * FXYOffset.X + 2, res.YSize + 2 * FXYOffset.Y + 2};
        return;
    }

    int w = 0, h = 0;
    if (wordWrapped) {
        gui::InflateRect(r, -2, -2);
        // A trailing line break opens a line only in the editor (where the
        // caret stands on it); elsewhere it adds nothing.
        if (!text.empty() && text.back() == '\n') {
            if (FEditing && Col() == DisplColIndex(rCol) && Row() == aRow) text += "w";
            else {
                text.pop_back();
                if (!text.empty() && text.back() == '\r') text.pop_back();
            }
        }
        gui::TRect m = r;
        const int th =
            cv->DrawText(text, m, gui::DT_EDITCONTROL | gui::DT_NOPREFIX | gui::DT_CALCRECT | gui::DT_WORDBREAK);
        h = th + 2 * FXYOffset.Y;
        w = m.Width() + 2 * FXYOffset.X;
    } else {
        std::vector<std::string> lines;
        if (FMultilinecells) {
            std::string rest = text;
            while (true) {
                const std::size_t cr = rest.find_first_of("\r\n");
                if (cr == std::string::npos) {
                    lines.push_back(rest);
                    break;
                }
                lines.push_back(rest.substr(0, cr));
                std::size_t next = cr + 1;
                if (rest[cr] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
                rest = rest.substr(next);
            }
        } else {
            lines.push_back(text);
        }
        int widest = 0;
        for (std::string line : lines) {
            if (URLShow() && !URLFull() && gridbase::IsUrlOrMail(line)) gridbase::StripUrlScheme(line);
            widest = std::max(widest, cv->TextWidth(line));
        }
        w = widest + 2 * FXYOffset.X;
        h = static_cast<int>(lines.size()) * cv->TextHeight("gh") + 2 * FXYOffset.Y;
    }

    int angle = 0;
    if (IsRotated(rCol, aRow, angle)) {
        const double a = angle * 3.14159265358979323846 / 180.0;
        const long hs = std::labs(static_cast<long>(h * std::sin(a)));
        const long wc = std::labs(static_cast<long>(w * std::cos(a)));
        const long hc = std::labs(static_cast<long>(h * std::cos(a)));
        const long ws = std::labs(static_cast<long>(w * std::sin(a)));
        w = static_cast<int>(std::labs(hs - wc)) + 12;
        h = static_cast<int>(std::labs(hc - ws)) + 12;
    }
    size = {w, h};
}

} // namespace grid
