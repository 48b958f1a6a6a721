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

// The text layer of one cell, in the steps it is drawn in.  A friend of the
// grid: it reads the grid's look fields as the grid's own code would.
class TCellTextPainter {
public:
    using TCellTextContext = TExStringGrid::TCellTextContext;
    TCellTextPainter(TExStringGrid& grid, TCellTextContext& ctx)
        : g(grid), c(ctx), cv(ctx.Canvas), fixed(ctx.State.Contains(TGridDrawStateItem::gdFixed))
    {
    }

    void Draw()
    {
        SelectionColours();
        ReadText();
        r = c.Rect;
        if (fixed) {
            r.Left += g.GridLineWidth();
            r.Top += g.GridLineWidth();
        }
        if (g.DrawFilterButton(cv, c.RCol, c.Row, r)) r.Right -= 16;
        DisjunctSelectionColours();
        g.DrawBackgroundPicture(cv, c.Col, c.Row, r);
        SelectionRectangle();
        if (!TextRectangle()) return;
        g.FLastTextWidth = 0;
        if (kind == gridbase::ctHtmlText) DrawMarkup();
        else if (kind == gridbase::ctRtfText) DrawRichText();
        else DrawPlainText();
    }

private:
    // A selected non-fixed cell takes the selection colours (or, without
    // ShowSelection, its own colours back while the grid is not focused).
    void SelectionColours()
    {
        urlColor = g.FURLColor;
        const int fixedCols = g.TBaseGrid::FixedCols();
        selected = c.State.Contains(TGridDrawStateItem::gdSelected) ||
                   (g.Options().Contains(TGridOption::goRowSelect) &&
                    g.GetRowSelect(g.MouseActions()->RowSelectPersistent() ? g.DisplayToRealRow(c.Row) : c.Row) &&
                    c.RCol >= fixedCols && c.RCol < g.ColCount() - g.FFixedRightCols);
        if (!selected || fixed) return;
        if (g.TBaseGrid::ShowSelection()) {
            if (g.FSelectionColor != gui::clNone) cv->Brush()->SetColor(g.FSelectionColor);
            if (g.FSelectionTextColor != gui::clNone) {
                cv->Font()->SetColor(g.FSelectionTextColor);
                urlColor = g.FSelectionTextColor;
            }
        } else if (!g.Focused() || g.GetCellType(c.Col, c.Row) == TCellType::ctCheckBox) {
            cv->Brush()->SetColor(c.UnselectedBrush);
            cv->Font()->SetColor(c.UnselectedFont);
        }
    }

    // The shown text and its kind; formulas show their result, password
    // cells one password character per character.
    void ReadText()
    {
        g.GetFormattedCellText(c.RCol, c.Row, text);
        kind = gridbase::ClassifyCellText(text, g.EnableHTML());
        if (kind == gridbase::ctFormulaText) {
            g.GetFormulaText(c.RCol, c.Row, text);
            kind = gridbase::ClassifyCellText(text, g.EnableHTML());
        }
        if (kind == gridbase::ctWideText) {
            text = gridbase::DecodePrefixedWideText(text);
            kind = gridbase::ctPlainText;
        }
        if (g.CellIsPassword(c.RCol, c.Row)) gridbase::FillWithChar(text, static_cast<char32_t>(g.PasswordChar()));
        if (auto* gr = dynamic_cast<TCellGraphic*>(c.Graphic); gr && gr->CellType() == TCellType::ctEmpty) {
            errFrom = gr->CellErrFrom();
            errLen = gr->CellErrLen();
        }
    }

    // Cells outside a disjunct row or column selection show their own colours.
    void DisjunctSelectionColours()
    {
        const TMouseActions* ma = g.MouseActions();
        if (fixed || g.FMouseDown) return;
        if (!((ma->DisjunctRowSelect() && !g.GetRowSelect(c.Row)) || (ma->DisjunctColSelect() && !g.GetColSelect(c.Col))))
            return;
        urlColor = g.FURLColor;
        cv->Brush()->SetColor(g.Color());
        cv->Font()->SetColor(g.Font()->Color());
        g.GetCellColor(c.RCol, c.Row, c.State, cv->Brush(), cv->Font());
        if (g.ZoomFactor() != 0) cv->Font()->SetSize(cv->Font()->Size() + g.ZoomFactor());
    }

    void SelectionRectangle()
    {
        const gui::TGridRect sel = g.Selection();
        if (!g.FSelectionRectangle || !sel.Contains(c.Col, c.Row)) return;
        const int lw = g.GridLineWidth();
        cv->Pen()->SetColor(g.SelectionRectangleColor());
        cv->Pen()->SetWidth(2);
        const gui::TRect b = c.Rect;
        if (c.Col == sel.Left) {
            cv->MoveTo(b.Left - lw + 1, b.Bottom);
            cv->LineTo(b.Left - lw + 1, b.Top - lw);
        }
        if (c.Col == sel.Right) {
            cv->MoveTo(b.Right - 1, b.Bottom);
            cv->LineTo(b.Right - 1, b.Top - lw);
        }
        const int right = c.Col == sel.Right ? b.Right - 1 : b.Right;
        if (c.Row == sel.Top) {
            cv->MoveTo(b.Left - lw, b.Top - lw + 1);
            cv->LineTo(right, b.Top - lw + 1);
        }
        if (c.Row == sel.Bottom) {
            cv->MoveTo(b.Left - lw, b.Bottom);
            cv->LineTo(right, b.Bottom);
        }
        if (g.FSelectionResizer && c.Col == sel.Right && c.Row == sel.Bottom) {
            const TColor keep = cv->Brush()->Color();
            cv->Brush()->SetColor(g.SelectionRectangleColor());
            cv->FillRect({b.Right - 4, b.Bottom - 4, b.Right, b.Bottom});
            cv->Brush()->SetColor(keep);
        }
        cv->Pen()->SetWidth(1);
    }

    // The text rectangle inside the offsets, with room for the graphic and
    // the node indent; false when the graphic shows no text.
    bool TextRectangle()
    {
        r.Right -= g.FXYOffset.X;
        r.Left += g.FXYOffset.X;
        r.Top += g.FXYOffset.Y;
        if (c.Graphic) {
            const TCellGraphicLayout lay = g.GetCellGraphicLayout(c.RCol, c.Row);
            if (!lay.TextShown) return false;
            if (lay.HAlign == TCellHAlign::haBeforeText) r.Left += lay.Width;
            else if (lay.HAlign == TCellHAlign::haAfterText) r.Right -= lay.Width;
            if (lay.VAlign == TCellVAlign::vaAboveText) r.Top += lay.Height;
            else if (lay.VAlign == TCellVAlign::vaUnderText) r.Bottom -= lay.Height;
        }
        // Column 0 of a grid with nodes: a plain row's text stands at its level.
        if (c.RCol == 0 && g.FNumNodes > 0 && !g.IsNode(c.Row)) r.Left += g.GetNodeIndent(c.Row);
        const TSortSettings* ss = g.FSortSettings.get();
        sortHeader = ss->Show() && c.Row == ss->Row() && g.TBaseGrid::FixedRows() > 0 && c.RCol == ss->Column() &&
                     (c.RCol >= g.TBaseGrid::FixedCols() || ss->FixedCols());
        return true;
    }

    int SortMarkY(const gui::TRect& t) const
    {
        if (c.VAlign == TVAlignment::vtaCenter) return (t.Top + t.Bottom) / 2;
        if (c.VAlign == TVAlignment::vtaBottom) return t.Bottom - 8;
        return t.Top + 8;
    }

    void DrawMarkup()
    {
        gui::TRect hr = r;
        hr.Left -= 1;
        if (sortHeader && g.RowCount() > 2) hr.Right -= 10;
        htmltext::TMarkupOptions opt;
        opt.ShadowColor = 0x808080;
        opt.LinkColor = urlColor;
        opt.PictureCache = g.ImageCache();
        opt.WordWrap = c.WordWrap;
        if (g.FCtrlDown && g.FCtrlXY.X == c.RCol && g.FCtrlXY.Y == c.Row) {
            // An inline button held down is drawn pressed: the one under the
            // press point.
            opt.PointX = g.FPressPoint.X;
            opt.PointY = g.FPressPoint.Y;
            opt.MouseDown = true;
        }
        htmltext::TMarkupResult res;
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *cv, text, hr, opt, res);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        g.FLastTextWidth = res.XSize + 2;
        if (sortHeader) g.DrawSortIndicator(cv, c.RCol, SortMarkY(hr), hr.Right + 2);
    }

    void DrawRichText()
    {
        cv->Pen()->SetColor(cv->Brush()->Color());
        if (!(selected && !g.Focused() && g.FSelectionColor == gui::clNone)) cv->FillRect(c.Rect);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        g.RenderRichCell(c.RCol, c.Row, r, cv);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        cv->Font()->SetColor(0);
    }

    void DrawPlainText()
    {
        RoomForSortMark();
        const bool urlShown = g.URLShow() && gridbase::IsUrlOrMail(g.GetCellText(c.RCol, c.Row));
        if (urlShown) ShowAsUrl();
        const uint32_t flags = PlainTextFlags();
        if (c.Graphic && !text.empty()) {
            gui::TRect m = r;
            cv->DrawText(text, m, flags | gui::DT_CALCRECT);
            g.FLastTextWidth = m.Width() + 2;
        }
        cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        gui::TRect tr = r;
        cv->DrawText(text, tr, flags);
        cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        ErrorMarker();
        if (sortHeader) PlainSortMark();
        if (g.URLShow()) {
            gui::TFontStyles st = cv->Font()->Style();
            st -= gui::TFontStyles{gui::TFontStyle::fsUnderline};
            cv->Font()->SetStyle(st);
        }
    }

    void RoomForSortMark()
    {
        const TSortSettings* ss = g.FSortSettings.get();
        if (sortHeader && c.HAlign == TAlignment::taCenter) r.Left += 10;
        const int room = c.Row == 0 && ss->Show() && c.RCol == ss->Column() ? 14 : 0;
        if (c.HAlign == TAlignment::taLeftJustify) r.Right -= room;
        else r.Left += room;
    }

    void ShowAsUrl()
    {
        if (!g.URLFull()) gridbase::StripUrlScheme(text);
        gui::TFontStyles st = cv->Font()->Style();
        st += gui::TFontStyle::fsUnderline;
        cv->Font()->SetStyle(st);
        cv->Font()->SetColor(urlColor);
    }

    // A text of one line without word wrap is cut to that line; the flags
    // follow the cell's wrap and alignments.
    uint32_t PlainTextFlags()
    {
        uint32_t flags = gui::DT_EDITCONTROL;
        const int lines = g.Multilinecells() ? gridbase::CountTextLines(text, true) : 1;
        if (lines <= 1 && !c.WordWrap) {
            std::string rest = text;
            text = gridbase::CutFirstLine(rest, false);
            flags = gui::DT_SINGLELINE;
            if (g.EnhTextSize()) flags |= gui::DT_END_ELLIPSIS;
        } else if (c.WordWrap && g.EnhTextSize() && !g.Multilinecells()) {
            flags |= gui::DT_END_ELLIPSIS;
        }
        flags |= gui::DT_NOCLIP | gui::DT_NOPREFIX;
        if (c.WordWrap) flags |= gui::DT_WORDBREAK | gui::DT_EDITCONTROL;
        if (g.EnhTextSize()) flags &= ~gui::DT_NOCLIP;  // an ellipsis needs the cell's bounds
        if (c.HAlign == TAlignment::taRightJustify) flags |= gui::DT_RIGHT;
        else if (c.HAlign == TAlignment::taCenter) flags |= gui::DT_CENTER;
        if (c.VAlign == TVAlignment::vtaCenter) flags |= gui::DT_VCENTER;
        else if (c.VAlign == TVAlignment::vtaBottom) flags |= gui::DT_BOTTOM;
        g.FVAlign = flags & (gui::DT_VCENTER | gui::DT_BOTTOM);
        return flags;
    }

    // The marked characters of a marker cell get a red wavy underline.
    void ErrorMarker()
    {
        if (errLen <= 0) return;
        gridbase::DrawWavyUnderline(&g, cv, text, r, cv->TextHeight("hg"), errFrom, errLen);
    }

    void PlainSortMark()
    {
        const int w = std::max(0, std::min(c.Rect.Width() - 16, cv->TextWidth(text)));
        int x = c.Rect.Left + 8;
        if (c.HAlign == TAlignment::taLeftJustify) x = r.Left + w + 10;
        else if (c.HAlign == TAlignment::taRightJustify) x = c.Rect.Right - w - 10;
        g.DrawSortIndicator(cv, c.RCol, SortMarkY(r), x);
    }

    TExStringGrid& g;
    TCellTextContext& c;
    gui::TCanvas* cv;
    const bool fixed;
    bool selected = false, sortHeader = false;
    TColor urlColor = 0;
    std::string text;
    int kind = gridbase::ctPlainText;
    int errFrom = 0, errLen = 0;
    gui::TRect r;
};

void TExStringGrid::DrawCellTextLayer(TCellTextContext& ctx) { TCellTextPainter(*this, ctx).Draw(); }

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
