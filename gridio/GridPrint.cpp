// GridPrint: the layout run, the page parts and the print and preview runs.
#include "gridio/GridPrint.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "gridbase/ExUtil.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/rtl/DateTime.h"

namespace gridio {

namespace {

int RoundEven(double x) { return static_cast<int>(std::nearbyint(x)); }

bool IsTop(TPrintPosition p)
{
    return p == TPrintPosition::ppTopLeft || p == TPrintPosition::ppTopRight || p == TPrintPosition::ppTopCenter;
}
bool IsBottom(TPrintPosition p)
{
    return p == TPrintPosition::ppBottomLeft || p == TPrintPosition::ppBottomRight ||
           p == TPrintPosition::ppBottomCenter;
}

TPrintSettings& SettingsOf(grid::TExStringGrid& g)
{
    TPrintSettings* ps = PrintSettingsOf(g);
    if (!ps) throw grid::ZEziDoroZezuz("The grid has no print settings of its own");
    return *ps;
}

} // namespace

// One layout run: the canvas, the mapping of 0.1 mm onto it and the page state.
struct TGridPrinter::TRun {
    gui::TCanvas* C = nullptr;
    TPrintRunMode Mode = TPrintRunMode::prmCountPreview;
    bool SelectedOnly = false;
    int PageTotal = -1;
    double S = 1;       // device pixels per 0.1 mm
    int Ox = 0, Oy = 0;  // device position of the page's top-left corner
    int W = 0, H = 0;    // page width and (negative) height
    double P = 254.0 / 96;
    int U = 0, Th = 0, Tf = 0, D = 0;
    int K = 0, L = 0, J = 0, Strips = 0, InStrip = 0, Hh = 0, Hf = 0;
    bool SeveralStrips = false, RepeatCols = false, Cancel = false;
    int CachedRow = -1, CachedHeight = 0;

    bool Drawing() const { return Mode == TPrintRunMode::prmPreviewDraw || Mode == TPrintRunMode::prmPrint; }
    int X(int lx) const { return Ox + RoundEven(lx * S); }
    int Y(int ly) const { return Oy - RoundEven(ly * S); }
    int Logical(int px) const { return RoundEven(px / S); }
    int TextW(const std::string& t) const { return Logical(C->TextWidth(t)); }
    int TextH(const std::string& t) const { return Logical(C->TextHeight(t)); }
    void UseFont(const gui::TFont* f, double scale)
    {
        C->Font()->Assign(f);
        C->Font()->SetHeight(-std::max(1, RoundEven(f->Size() * scale * S * 254 / 72)));
    }
    void Text(int x, int y, const std::string& t) const { C->TextOut(X(x), Y(y), t); }
    void Line(int x1, int y1, int x2, int y2) const
    {
        C->MoveTo(X(x1), Y(y1));
        C->LineTo(X(x2), Y(y2));
    }
};

TGridPrinter::TGridPrinter(grid::TExStringGrid& grid) : FGrid(grid), FPS(SettingsOf(grid)) {}

bool TGridPrinter::IsPrintedRow(bool selectedOnly, int r) const
{
    if (!selectedOnly) return true;
    if (r < FGrid.FixedRows() && FPS.FixedCellsAlways) return true;
    const grid::TMouseActions* ma = FGrid.MouseActions();
    if (ma->DisjunctRowSelect()) return FGrid.GetRowSelect(ma->RowSelectPersistent() ? FGrid.DisplayToRealRow(r) : r);
    const gui::TGridRect s = FGrid.Selection();
    return r >= s.Top && r <= s.Bottom;
}

bool TGridPrinter::IsPrintedColumn(bool selectedOnly, int c) const
{
    if (!selectedOnly) return true;
    if (c < FGrid.FixedCols() && FPS.FixedCellsAlways) return true;
    if (FGrid.MouseActions()->DisjunctColSelect()) return FGrid.GetColSelect(c);
    const gui::TGridRect s = FGrid.Selection();
    return c >= s.Left && c <= s.Right;
}

// ------------------------------------------------------------ cell layout

void TGridPrinter::MeasureCell(TRun& run, int aCol, int aRow, int& w, int& h)
{
    std::string text = FGrid.GetCellText(aCol, aRow);
    gui::TBrush brush;
    gui::TFont font;
    font.Assign(aRow < FGrid.FixedRows() || aCol < FGrid.FixedCols() ? FPS.FixedFont() : FPS.Font());
    if (FPS.UseDisplayFont()) font.Assign(aRow < FGrid.FixedRows() || aCol < FGrid.FixedCols() ? FGrid.FixedFont() : FGrid.Font());
    run.UseFont(&font, FE);
    if (FGrid.EnableHTML() && gridbase::ClassifyCellText(text, true) == gridbase::ctHtmlText) {
        // Markup is measured by its renderer in device units.
        htmltext::TMarkupOptions o;
        o.HeightCheck = true;
        o.Printing = true;
        htmltext::TMarkupResult res;
        const int width = FPS.NoAutoSize ? RoundEven((FGrid.ColWidths(aCol) + 12) * run.P * run.S) : 65535;
        htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *run.C, text, gui::TRect{0, 0, width, 65535}, o, res);
        w = run.Logical(res.XSize);
        h = run.Logical(res.YSize);
        return;
    }
    if (text.empty()) text = "gh";
    int widest = 0, lines = 0;
    std::string rest = text;
    do {
        std::string line = gridbase::CutFirstLine(rest, FGrid.Multilinecells());
        widest = std::max(widest, run.TextW(line));
        ++lines;
    } while (!rest.empty());
    w = widest;
    h = run.TextH("gh") * lines;
    int angle = 0;
    if (FGrid.IsRotated(aCol, aRow, angle)) {
        const double a = angle * 3.14159265358979323846 / 180;
        const int rw = std::abs(RoundEven(std::cos(a) * w)) + std::abs(RoundEven(std::sin(a) * h));
        h = std::abs(RoundEven(std::sin(a) * widest)) + std::abs(RoundEven(std::cos(a) * h));
        w = rw;
    }
    if (FPS.PrintGraphics && FGrid.HasCheckBox(aCol, aRow)) {
        const int g = RoundEven(16 * run.P);
        w += g;
        h = std::max(h, g);
    }
}

void TGridPrinter::ComputeColumnWidths(TRun& run)
{
    FMaxWidths.assign(static_cast<size_t>(std::max(FGrid.ColCount(), FRect.Right + 1) + 1), 0);
    if (FPS.NoAutoSize) {
        for (int c = FRect.Left; c <= FRect.Right; ++c)
            if (IsPrintedColumn(run.SelectedOnly, c)) FMaxWidths[c] = RoundEven(FGrid.ColWidths(c) * run.P);
        return;
    }
    for (int r = 0; r < FGrid.RowCount(); ++r) {
        const bool fixedRepeat = FPS.RepeatFixedRows && r < FGrid.FixedRows();
        if (r < FRect.Top && !fixedRepeat) continue;
        if (r > FRect.Bottom && !(FPS.RepeatFixedRows && r <= FGrid.FixedRows())) break;
        for (int c = FRect.Left; c <= FRect.Right; ++c) {
            if (!IsPrintedColumn(run.SelectedOnly, c)) continue;
            const int ac = FGrid.DisplayToRealCol(c);
            int w = 0, h = 0;
            if (FPS.UseFixedWidth) w = FPS.FixedWidth;
            else MeasureCell(run, ac, r, w, h);
            if (w > FMaxWidths[c] && !FGrid.IsXMergedCell(ac, r)) FMaxWidths[c] = w;
        }
    }
}

int TGridPrinter::RowHeight(TRun& run, int aRow)
{
    if (aRow == run.CachedRow) return run.CachedHeight;
    int result = 0;
    if (aRow >= FGrid.RowCount()) {
        result = 0;
    } else if (FPS.NoAutoSizeRow) {
        result = RoundEven(FGrid.RowHeights(aRow) * run.P) - 4;
    } else if (FPS.UseFixedHeight) {
        result = FPS.FixedHeight;
    } else {
        int m = -1, last = 0;
        for (int c = FRect.Left; c <= FRect.Right; ++c) {
            const int ac = FGrid.DisplayToRealCol(c);
            int w = 0, h = 0;
            MeasureCell(run, ac, aRow, w, h);
            last = h;
            if (!FGrid.IsYMergedCell(ac, aRow)) m = std::max(m, h);
        }
        if (m < 0) m = last;
        result = m + m / 8;
        if (OnPrintSetRowHeight) OnPrintSetRowHeight(&FGrid, aRow, result);
    }
    run.CachedRow = aRow;
    run.CachedHeight = result;
    return result;
}

int TGridPrinter::PrintGridRow(TRun& run, int y, int fromCol, int toCol, int aRow)
{
    const int h = RowHeight(run, aRow);
    const int rowH = 2 * run.U + h + FPS.RowSpacing;
    if (!run.Drawing() || run.J + 1 < FPageFrom || run.J + 1 > FPageTo) return rowH;
    gui::TCanvas* cv = run.C;
    for (int c = fromCol; c <= toCol; ++c) {
        if (!IsPrintedColumn(run.SelectedOnly, c)) continue;
        const int ac = FGrid.DisplayToRealCol(c);
        const gui::TPoint span = FGrid.IsBaseCell(ac, aRow) ? FGrid.CellSpan(ac, aRow) : gui::TPoint{0, 0};
        const gui::TPoint ext{std::max(0, span.X), std::max(0, span.Y)};
        int n = 0;
        for (int k = 0; k <= ext.X && c + k < static_cast<int>(FMaxWidths.size()); ++k) n += FMaxWidths[c + k] + run.D;
        const int pc = (ext.Y + 1) * rowH;
        int left = FIndents[c], right = left + n;
        if (right > run.W) right = FIndents[run.L + 1];  // cut at the strip's end
        const int top = y, bottom = y - pc;
        if (FGrid.IsBaseCell(ac, aRow)) {
            gui::TBrush brush;
            gui::TFont font;
            font.Assign(FPS.Font());
            gui::TColor colorTo = gui::clNone, mirror = gui::clNone, mirrorTo = gui::clNone;
            gui::TAlignment ha = gui::TAlignment::taLeftJustify;
            gridbase::TVAlignment va{};
            bool ww = false;
            gridbase::TCellGradientDirection gd{};
            gui::TGridDrawState state;
            if (aRow < FGrid.FixedRows() || ac < FGrid.FixedCols()) state.Include(gui::TGridDrawStateItem::gdFixed);
            FGrid.GetVisualProperties(ac, aRow, state, true, false, false, brush, colorTo, mirror, mirrorTo, font, ha,
                                      va, ww, gd);
            if (!FPS.UseDisplayFont()) {
                const bool fixed = aRow < FGrid.FixedRows() || ac < FGrid.FixedCols();
                font.Assign(fixed ? FPS.FixedFont() : FPS.Font());
            }
            cv->Brush()->Assign(&brush);
            cv->Pen()->SetColor(brush.Color());
            cv->Pen()->SetStyle(gui::TPenStyle::psClear);
            if (brush.Color() != gui::clNone && brush.Style() != gui::TBrushStyle::bsClear)
                cv->FillRect(gui::TRect{run.X(left), run.Y(top), run.X(right), run.Y(bottom)});
            run.UseFont(&font, FE);
            cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
            std::string text = FGrid.GetCellText(ac, aRow);
            const int align = FGrid.ResolveCellAlignment(ac, aRow) & 0xFF;
            int tl = left + 4, tr = right - 4;
            if (FPS.PrintGraphics && FGrid.HasCheckBox(ac, aRow)) {
                bool checked = false;
                FGrid.GetCheckBoxState(ac, aRow, checked);
                const int g = RoundEven(16 * run.P);
                const int gx = text.empty() ? left + (n - g) / 2 : left + RoundEven(run.P);
                const int gy = top - (pc - g) / 2;
                // A flat check box drawn at the target's resolution.
                cv->Pen()->SetStyle(gui::TPenStyle::psSolid);
                cv->Pen()->SetColor(gui::clBlack);
                cv->Pen()->SetWidth(std::max(1, RoundEven(run.P * run.S)));
                cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
                cv->Rectangle(run.X(gx), run.Y(gy), run.X(gx + g), run.Y(gy - g));
                if (checked) {
                    cv->Pen()->SetWidth(std::max(1, RoundEven(2 * run.P * run.S)));
                    cv->Polyline({{run.X(gx + g / 5), run.Y(gy - g / 2)},
                                  {run.X(gx + 2 * g / 5), run.Y(gy - 3 * g / 4)},
                                  {run.X(gx + 4 * g / 5), run.Y(gy - g / 4)}});
                }
                tl = gx + g + 4;
            }
            // Cell graphics: a bitmap before the text, a progress bar instead of it.
            grid::TCellGraphic* graphic = FPS.PrintGraphics ? FGrid.GetCellGraphic(ac, aRow) : nullptr;
            if (graphic && graphic->CellType() == grid::TCellType::ctBitmap) {
                if (auto* bmp = dynamic_cast<gui::TBitmap*>(graphic->CellBitmap())) {
                    const int gw = RoundEven(bmp->Width() * run.P), gh = RoundEven(bmp->Height() * run.P);
                    const int gx = graphic->CellHAlign() == grid::TCellHAlign::haRight ? right - gw : left + RoundEven(run.P);
                    const int gy = top - std::max(0, (pc - gh) / 2);
                    cv->StretchDraw(gui::TRect{run.X(gx), run.Y(gy), run.X(gx + gw), run.Y(gy - gh)}, bmp);
                    if (graphic->CellHAlign() == grid::TCellHAlign::haRight) tr = gx - 4;
                    else tl = gx + gw + 4;
                }
            } else if (graphic && graphic->CellType() == grid::TCellType::ctProgress) {
                const double value = std::atof(text.c_str());
                const gui::TColor fill = graphic->CellBitmapColor(), empty = graphic->CellIconColor();
                const gui::TColor fillText = graphic->CellBoolean() ? static_cast<gui::TColor>(graphic->CellAngle()) : fill ^ 0xFFFFFF;
                const gui::TColor emptyText = graphic->CellBoolean() ? static_cast<gui::TColor>(graphic->CellIndex()) : empty ^ 0xFFFFFF;
                const int inset = RoundEven(2 * run.P);
                const gui::TRect pr{run.X(left + inset), run.Y(top - inset), run.X(right - inset), run.Y(bottom + inset)};
                gridbase::DrawProgressBar(cv, pr, fill, fillText, empty, emptyText, value, 0, 0, graphic->CellErrFrom(),
                                          graphic->CellErrLen(), graphic->CellText(), FGrid.ControlLook()->ProgressBorderColor(),
                                          false);
                run.UseFont(&font, FE);
                cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
                text.clear();
            }
            if (FGrid.EnableHTML() && gridbase::ClassifyCellText(text, true) == gridbase::ctHtmlText) {
                htmltext::TMarkupOptions o;
                o.Printing = true;
                o.LinkColor = FGrid.URLColor();
                htmltext::TMarkupResult res;
                htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *cv, text,
                                         gui::TRect{run.X(tl), run.Y(top - run.U), run.X(tr), run.Y(bottom)}, o, res);
                text.clear();
            }
            const int lh = run.TextH("gh");
            int angle = 0;
            if (FGrid.IsRotated(ac, aRow, angle) && !text.empty()) {
                // Rotated text: placed by the origin rule in device units (y down).
                const double a = angle * 3.14159265358979323846 / 180;
                const int tw = cv->TextWidth(text), th = cv->TextHeight(text);
                const int cw = std::abs(RoundEven(std::cos(a) * tw)), sh = std::abs(RoundEven(std::sin(a) * th));
                const int sw = std::abs(RoundEven(std::sin(a) * tw)), ch = std::abs(RoundEven(std::cos(a) * th));
                gui::TRect o{run.X(left) + 2, run.Y(top) + 2, run.X(right) - 2, run.Y(bottom) - 2};
                const int vAlign = va == gridbase::TVAlignment::vtaTop ? 0 : va == gridbase::TVAlignment::vtaBottom ? 2 : 1;
                RotatedTextOrigin(o, align, vAlign, angle, cw, sh, sw, ch);
                // Orientation in tenths of a degree; some printer drivers turn it the other way.
                const bool flip = PrinterDriverFix && run.Mode != TPrintRunMode::prmPreviewDraw &&
                                  PrinterOrientationDegrees() != 270;
                cv->Font()->SetOrientation(angle * (flip ? -10 : 10));
                cv->TextRect(gui::TRect{run.X(left), run.Y(top), run.X(right), run.Y(bottom)}, o.Left, o.Top, text);
                cv->Font()->SetOrientation(0);
                text.clear();
            }
            std::vector<std::string> lines;
            std::string rest = text;
            while (!rest.empty()) lines.push_back(gridbase::CutFirstLine(rest, FGrid.Multilinecells()));
            int ty = top - run.U;
            const gui::TRect clip{run.X(left), run.Y(top), run.X(right), run.Y(bottom)};
            for (const std::string& line : lines) {
                const int lw = run.TextW(line);
                const int x = align == 1 ? tr - lw : align == 2 ? left + (right - left - lw) / 2 : tl;
                cv->TextRect(clip, run.X(x), run.Y(ty), line);
                ty -= lh;
            }
        }
        if (FGrid.OnCustomCellDraw && FGrid.IsBaseCell(ac, aRow)) {
            FGrid.OnCustomCellDraw(&FGrid, cv, ac, aRow, gui::TGridDrawState{},
                                   gui::TRect{run.X(left), run.Y(y), run.X(right), run.Y(y - rowH)}, true);
        }
        // Cell border lines.
        bool lt = false, rt = false, tp = false, bt = false;
        switch (FPS.Borders) {
        case TPrintBorders::pbSingle: case TPrintBorders::pbDouble: lt = rt = tp = bt = true; break;
        case TPrintBorders::pbHorizontal: case TPrintBorders::pbAroundHorizontal: tp = bt = true; break;
        case TPrintBorders::pbVertical: case TPrintBorders::pbAroundVertical: lt = rt = true; break;
        default: break;
        }
        if (ext.X > 0) lt = rt = false;
        if (ext.Y > 0) tp = bt = false;
        if (FGrid.IsBaseCell(ac, aRow) && (FPS.Borders == TPrintBorders::pbSingle || FPS.Borders == TPrintBorders::pbDouble))
            tp = lt = true;
        if (FGrid.IsYMergedCell(ac, aRow) && !FGrid.IsBaseCell(ac, aRow)) tp = false;
        if (FGrid.IsXMergedCell(ac, aRow) && !FGrid.IsBaseCell(ac, aRow)) lt = false;
        cv->Pen()->SetStyle(gui::TPenStyle::psSolid);
        cv->Pen()->SetColor(FPS.BorderColor);
        cv->Pen()->SetWidth(run.Mode == TPrintRunMode::prmPreviewDraw ? 1 : std::max(1, RoundEven(run.P * run.S)));
        int lb = bottom;
        if (lb < run.H + FPS.FooterSize) {
            lb = y - rowH;
            bt = false;
        }
        if (lt) run.Line(left, top, left, lb);
        if (rt) run.Line(right, top, right, lb);
        if (tp) run.Line(left, top, right, top);
        if (bt) run.Line(left, lb, right, lb);
    }
    return rowH;
}

// ------------------------------------------------------------- page parts

std::string TGridPrinter::PageNumberText(TRun& run) const
{
    if (run.SeveralStrips) return std::to_string(run.InStrip + 1) + "-" + std::to_string(run.Strips);
    // Without a counted total (FastPrint) the number stands alone.
    const bool counted = run.PageTotal > 1 && run.PageTotal != INT_MAX;
    if (!FPS.PageNumSep.empty() && counted)
        return std::to_string(run.J + 1 + FPS.PageNumberOffset) + FPS.PageNumSep +
               std::to_string(run.PageTotal + FPS.MaxPagesOffset);
    return std::to_string(run.J + 1 + FPS.PageNumberOffset);
}

void TGridPrinter::HeaderFooter(TRun& run)
{
    if (run.PageTotal >= 0 && FPS.PageNr != TPrintPosition::ppNone) FPageTexts.push_back(PageNumberText(run));
    if (!run.Drawing() || run.J + 1 < FPageFrom || run.J + 1 > FPageTo) return;
    std::string texts[7];
    auto add = [&](TPrintPosition p, const std::string& item) {
        if (p == TPrintPosition::ppNone) return;
        std::string& t = texts[static_cast<int>(p)];
        if (p == TPrintPosition::ppTopLeft || p == TPrintPosition::ppBottomLeft) t = item + " " + t;
        else t = t + " " + item;
    };
    const double now = rtl::Now();
    add(FPS.Time, rtl::FormatDateTime("hh:nn", now));
    add(FPS.Date, rtl::FormatDateTime(FPS.DateFormat, now));
    add(FPS.PageNr, FPS.PagePrefix + " " + PageNumberText(run) + " " + FPS.PageSuffix);
    if (!FPS.TitleText.empty()) add(FPS.Title, FPS.TitleText);
    else if (FPS.TitleLines()->Count() > 0 && FPS.Title != TPrintPosition::ppNone) add(FPS.Title, FPS.TitleLines()->Strings(0));
    auto trim = [](std::string s) { return rtl::Trim(s); };
    gui::TCanvas* cv = run.C;
    cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    auto place = [&](int idx, int y, TPrintPosition left, TPrintPosition right) {
        const std::string t = trim(texts[idx]);
        if (t.empty()) return;
        const int tw = run.TextW(t);
        int x = FPS.LeftSize;
        if (idx == static_cast<int>(right)) x = run.W - tw - FPS.RightSize - 20;
        else if (idx != static_cast<int>(left)) x = (run.W - tw) / 2;
        run.Text(x, y, t);
    };
    run.UseFont(FPS.HeaderFont(), FE);
    for (int i = 1; i <= 3; ++i) place(i, -FPS.HeaderSize, TPrintPosition::ppTopLeft, TPrintPosition::ppTopRight);
    if (IsTop(FPS.Title) && FPS.TitleText.empty())
        for (int k = 1; k < FPS.TitleLines()->Count(); ++k) {
            const std::string t = FPS.TitleLines()->Strings(k);
            const int x = FPS.Title == TPrintPosition::ppTopLeft ? FPS.LeftSize
                          : FPS.Title == TPrintPosition::ppTopRight ? run.W - run.TextW(t) - FPS.RightSize - 20
                                                                     : (run.W - run.TextW(t)) / 2;
            run.Text(x, -FPS.HeaderSize - k * run.TextH("gh"), t);
        }
    run.UseFont(FPS.FooterFont(), FE);
    const int fy = run.H + FPS.FooterSize + run.U + run.Tf;
    for (int i = 4; i <= 6; ++i) place(i, fy, TPrintPosition::ppBottomLeft, TPrintPosition::ppBottomRight);
}

void TGridPrinter::PageFrame(TRun& run, int fromCol, int toCol, int y)
{
    if (!run.Drawing() || run.J + 1 < FPageFrom || run.J + 1 > FPageTo) return;
    gui::TCanvas* cv = run.C;
    cv->Pen()->SetColor(gui::clBlack);
    cv->Pen()->SetStyle(FPS.BorderStyle);
    cv->Pen()->SetWidth(std::max(1, RoundEven((FPS.Borders == TPrintBorders::pbDouble ? 10 : 2) * run.S)));
    const int xl = run.RepeatCols ? FIndents[0] : FIndents[fromCol];
    const int xr = FIndents[toCol + 1];
    const int yt = -run.Hh - FPS.TitleSpacing, yb = y + run.U / 2;
    const TPrintBorders b = FPS.Borders;
    if (b == TPrintBorders::pbAround || b == TPrintBorders::pbAroundVertical || b == TPrintBorders::pbAroundHorizontal) {
        run.Line(xl, yt, xr, yt);
        run.Line(xr, yt, xr, yb);
        run.Line(xr, yb, xl, yb);
        run.Line(xl, yb, xl, yt);
    }
    if (b == TPrintBorders::pbDouble || b == TPrintBorders::pbHorizontal || b == TPrintBorders::pbAroundHorizontal)
        run.Line(xl, yb, xr, yb);
    if ((b == TPrintBorders::pbDouble || b == TPrintBorders::pbVertical || b == TPrintBorders::pbAroundVertical) &&
        run.RepeatCols)
        for (int c = 0; c < FGrid.FixedCols(); ++c) run.Line(FIndents[c], yt, FIndents[c], yb);
}

void TGridPrinter::StartNextPage(TRun& run)
{
    const int next = run.J + 2;
    if (next < FPageFrom || next > FPageTo) return;
    if (run.Mode == TPrintRunMode::prmPrint && FPrinter && run.J + 1 >= FPageFrom) FPrinter->NewPage();
    if (run.Drawing() && OnPrintPage) OnPrintPage(&FGrid, run.C, next, run.W, run.H);
}

// ------------------------------------------------------------- layout run

int TGridPrinter::BuildPrintPages(gui::TCanvas* canvas, TPrintRunMode mode, bool selectedOnly, int pageTotal)
{
    TRun run;
    run.C = canvas;
    run.Mode = mode;
    run.SelectedOnly = selectedOnly;
    run.PageTotal = pageTotal;
    int dpi = canvas->GetDeviceCaps(gui::LOGPIXELSX);
    if (dpi <= 0) dpi = 96;
    run.S = dpi / 254.0;
    FE = 1.0;
    FPageTexts.clear();
    gui::TFont savedFont;
    savedFont.Assign(canvas->Font());
    gui::TPen savedPen;
    savedPen.Assign(canvas->Pen());
    gui::TBrush savedBrush;
    savedBrush.Assign(canvas->Brush());

    // Page size: the preview rectangle, or the printer's printable page.
    gui::TRect page = PageRect;
    if (mode == TPrintRunMode::prmPrint && FPrinter) page = gui::TRect{0, 0, FPrinter->PageWidth(), FPrinter->PageHeight()};
    run.Ox = page.Left;
    run.Oy = page.Top;
    run.W = run.Logical(page.Right - page.Left);
    run.H = -run.Logical(page.Bottom - page.Top);

    run.UseFont(FPS.HeaderFont(), 1);
    run.Th = run.TextH("gh");
    run.UseFont(FPS.FooterFont(), 1);
    run.Tf = run.TextH("gh");
    run.UseFont(FPS.Font(), 1);
    run.U = run.TextH("gh") / 8;
    run.D = FPS.UseFixedWidth ? 0 : FPS.ColumnSpacing + 20;

    ComputeColumnWidths(run);
    auto total = [&](bool printedOnly) {
        int t = 0;
        for (int c = FRect.Left; c <= FRect.Right; ++c)
            if (!printedOnly || IsPrintedColumn(selectedOnly, c)) t += FMaxWidths[c] + run.D;
        return t;
    };
    int t = total(true);
    if (FPS.FitToPage != TFitToPage::fpNever) {
        const int s = (FRect.Right - FRect.Left + 1) * run.D;
        if (t != s) FE = static_cast<double>(run.W - FPS.RightSize - FPS.LeftSize - s) / (t - s);
        if (FPS.FitToPage == TFitToPage::fpShrink && FE > 1) FE = 1;
        if (FPS.FitToPage == TFitToPage::fpGrow && FE < 1) FE = 1;
        if (FPS.FitToPage == TFitToPage::fpCustom && FE != 1 && OnFitToPage) {
            bool allow = true;
            OnFitToPage(&FGrid, FE, allow);
            if (!allow) FE = 1;
        }
        if (FE != 1) {
            for (int c = FRect.Left; c <= FRect.Right; ++c) FMaxWidths[c] = RoundEven(FMaxWidths[c] * FE);
            t = total(false);
        }
    }
    if (OnPrintSetColumnWidth) {
        for (int c = FRect.Left; c <= FRect.Right; ++c) OnPrintSetColumnWidth(&FGrid, c, FMaxWidths[c]);
        t = total(true);
    }
    const bool selRows = FGrid.FixedRows() < FRect.Top || FRect.Bottom < FGrid.RowCount() - FGrid.FixedFooters() - 1;
    const grid::TGridExportState exportState =
        selRows ? grid::TGridExportState::esExportSelRow : grid::TGridExportState::esExportNewRow;
    FIndents.assign(FMaxWidths.size() + 2, 0);

    auto headerSizes = [&] {
        const bool top = IsTop(FPS.Time) || IsTop(FPS.Date) || IsTop(FPS.PageNr) || IsTop(FPS.Title);
        const bool bottom = IsBottom(FPS.Time) || IsBottom(FPS.Date) || IsBottom(FPS.PageNr) || IsBottom(FPS.Title);
        const int extra = FPS.TitleLines()->Count() > 0 ? FPS.TitleLines()->Count() - 1 : 0;
        run.Hh = top ? run.U + run.Th + FPS.HeaderSize + (IsTop(FPS.Title) ? extra * run.Th : 0) : FPS.HeaderSize;
        run.Hf = bottom ? 2 * (run.U + run.Tf) + FPS.FooterSize + (IsBottom(FPS.Title) ? extra * run.Tf : 0)
                        : run.U + run.Tf + FPS.FooterSize;
    };

    run.K = FRect.Left;
    while (run.K <= FRect.Right && !run.Cancel) {
        ++run.Strips;
        run.InStrip = 0;
        const int fixedCols = FGrid.FixedCols();
        run.RepeatCols = fixedCols > 0 && FPS.RepeatFixedCols && (run.K != FRect.Left || FRect.Left > fixedCols);
        int f = 0;
        if (run.RepeatCols)
            for (int c = 0; c < fixedCols; ++c) f += FMaxWidths[c] + run.D;
        int n = f, l = run.K;
        while (n <= run.W - FPS.RightSize && l <= FRect.Right) {
            n += FMaxWidths[l] + run.D;
            if (n <= run.W - FPS.RightSize) ++l;
        }
        if (n > run.W - FPS.RightSize) {
            n -= FMaxWidths[l] + run.D;
            --l;
        }
        l = std::min(l, FRect.Right);
        // A strip always takes its first column, even one wider than the page
        // (it is cut at the page edge), so that the layout moves on.
        if (l < run.K) {
            l = run.K;
            n = f + FMaxWidths[run.K] + run.D;
        }
        run.L = l;
        if (l < FRect.Right) run.SeveralStrips = true;

        const int base = FPS.Centered ? 0 : FPS.LeftSize;
        FIndents[run.K] = base;
        FIndents[0] = base;
        for (int c = run.K; c <= l; ++c)
            FIndents[c + 1] = FIndents[c] + (IsPrintedColumn(selectedOnly, c) ? FMaxWidths[c] + run.D : 0);
        if (run.RepeatCols)
            for (int c = 1; c < fixedCols; ++c) FIndents[c] = FIndents[c - 1] + FMaxWidths[c - 1] + run.D;
        if (FPS.Centered && n < run.W) {
            const int off = (run.W - n) / 2;
            for (int c = run.K; c <= l + 1; ++c) FIndents[c] += off;
            if (run.RepeatCols)
                for (int c = 0; c <= fixedCols; ++c) FIndents[c] += off;
        }
        for (int c = run.K; c <= l + 1; ++c) FIndents[c] += f;
        headerSizes();
        if (run.J == 0 && run.Drawing() && 1 >= FPageFrom && 1 <= FPageTo && OnPrintPage)
            OnPrintPage(&FGrid, canvas, 1, run.W, run.H);

        int w = FRect.Top, y = 0, rowsOnPage = 0, lastBreak = -1;
        while (w <= FRect.Bottom && !run.Cancel) {
            FGrid.ExportNotification(exportState, w);
            if (rowsOnPage == 0) {
                y = -run.Hh;
                HeaderFooter(run);
                y -= FPS.TitleSpacing;
                if (w > 0 && FPS.RepeatFixedRows && FGrid.FixedRows() > 0 && (run.J > 0 || FRect.Top >= FGrid.FixedRows())) {
                    for (int r = 0; r < FGrid.FixedRows(); ++r) {
                        if (run.RepeatCols) PrintGridRow(run, y, 0, fixedCols - 1, r);
                        y -= PrintGridRow(run, y, run.K, l, r);
                    }
                }
            }
            if (IsPrintedRow(selectedOnly, w)) {
                if (run.RepeatCols) PrintGridRow(run, y, 0, fixedCols - 1, w);
                y -= PrintGridRow(run, y, run.K, l, w);
            }
            ++w;
            ++rowsOnPage;
            bool newPage = false;
            if (OnPrintNewPage) OnPrintNewPage(&FGrid, w, newPage);
            const int hn = w <= FRect.Bottom ? 2 * run.U + RowHeight(run, w) + FPS.RowSpacing : 0;
            const bool full = y - hn < run.H + run.Hf;
            if (run.Drawing() && (full || w > FRect.Bottom || newPage)) {
                if (OnPrintPageDone) OnPrintPageDone(&FGrid, canvas, w, y, run.J + 1, run.W, run.H);
                if (OnPrintCancel) OnPrintCancel(&FGrid, run.J + 1, run.Cancel);
            }
            if ((full && w <= FRect.Bottom) || newPage) {
                PageFrame(run, run.K, l, y);
                rowsOnPage = 0;
                lastBreak = w;
                StartNextPage(run);
                if (FastPrint && run.J > FPageFrom) w = FRect.Bottom + 1;
                ++run.J;
                ++run.InStrip;
                headerSizes();
            }
        }
        if (lastBreak != w) PageFrame(run, run.K, l, y);
        run.K = l + 1;
        if (run.K <= FRect.Right) {
            StartNextPage(run);
            ++run.J;
        }
    }
    canvas->Font()->Assign(&savedFont);
    canvas->Pen()->Assign(&savedPen);
    canvas->Brush()->Assign(&savedBrush);
    return run.J + 1;
}

// ---------------------------------------------------------- print and preview

void TGridPrinter::Print(gui::TPrinter& printer)
{
    PrintRange(printer, gui::TGridRect{0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1}, false);
}

void TGridPrinter::PrintSelection(gui::TPrinter& printer) { PrintRange(printer, FGrid.Selection(), false); }

void TGridPrinter::PrintSelectedRows(gui::TPrinter& printer)
{
    PrintRange(printer, gui::TGridRect{0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1}, true);
}

void TGridPrinter::PrintRange(gui::TPrinter& printer, const gui::TGridRect& r, bool selectedOnly)
{
    FGrid.ExportNotification(grid::TGridExportState::esExportStart, -1);
    struct TDone {
        grid::TExStringGrid& G;
        gui::TPrinter*& P;
        ~TDone()
        {
            P = nullptr;
            G.ExportNotification(grid::TGridExportState::esExportDone, -1);
        }
    } done{FGrid, FPrinter};
    FRect = r;
    if (!FPS.UseDefaultOrientation) printer.SetOrientation(FPS.Orientation);
    printer.SetTitle(FPS.JobName);
    FPrinter = &printer;
    PageRect = gui::TRect{0, 0, printer.PageWidth(), printer.PageHeight()};
    int pages = INT_MAX;
    if (!FastPrint) pages = BuildPrintPages(printer.Canvas(), TPrintRunMode::prmCountPrint, selectedOnly, -1);
    FPageFrom = 1;
    FPageTo = pages;
    FPageNum = pages;
    if (OnPrintStart) {
        OnPrintStart(&FGrid, pages, FPageFrom, FPageTo);
        if (FPageFrom == 0 || FPageTo == 0 || FPageTo < FPageFrom) return;
    }
    FPageNum = FPageTo;
    printer.BeginDoc();
    try {
        BuildPrintPages(printer.Canvas(), TPrintRunMode::prmPrint, selectedOnly, pages);
    } catch (...) {
        printer.EndDoc();
        throw;
    }
    printer.EndDoc();
}

void TGridPrinter::PrintPreview(gui::TCanvas* canvas, const gui::TRect& displayRect)
{
    PreviewRange(canvas, displayRect, false, gui::TGridRect{0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1});
}

void TGridPrinter::PrintPreviewSelectedRows(gui::TCanvas* canvas, const gui::TRect& displayRect)
{
    PreviewRange(canvas, displayRect, true, gui::TGridRect{0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1});
}

void TGridPrinter::PreviewRange(gui::TCanvas* canvas, const gui::TRect& displayRect, bool selectedOnly,
                                const gui::TGridRect& r)
{
    FGrid.ExportNotification(grid::TGridExportState::esExportStart, -1);
    struct TDone {
        grid::TExStringGrid& G;
        ~TDone() { G.ExportNotification(grid::TGridExportState::esExportDone, -1); }
    } done{FGrid};
    FRect = r;
    PageRect = displayRect;
    const int keepFrom = FPageFrom, keepTo = FPageTo;
    int pages = 1;
    if (!FastPrint) {
        pages = BuildPrintPages(canvas, TPrintRunMode::prmCountPreview, selectedOnly, -1);
        FPageNum = pages;
    }
    int from = 1, to = pages;
    if (OnPrintStart) OnPrintStart(&FGrid, pages, from, to);
    if (from > 0 && to > 0 && to >= from) {
        FPageFrom = keepFrom;
        FPageTo = keepTo;
        BuildPrintPages(canvas, TPrintRunMode::prmPreviewDraw, selectedOnly, FastPrint ? INT_MAX : pages);
    }
}

void TGridPrinter::PrintDrawRect(gui::TCanvas* canvas, const gui::TRect& drawRect, const gui::TGridRect& gridRect)
{
    FRect = gridRect;
    PageRect = drawRect;
    FPageFrom = FPageTo = FPageNum = 1;
    BuildPrintPages(canvas, TPrintRunMode::prmPrint, false, 1);
}

int TGridPrinter::PrinterOrientationDegrees() const { return gui::Printer()->OrientationDegrees(); }

// ------------------------------------------------------------ rotated text

void TGridPrinter::RotatedTextOrigin(gui::TRect& r, int hAlign, int vAlign, int angle, int cw, int sh, int sw, int ch)
{
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const int q = angle <= 90 ? 1 : angle <= 180 ? 2 : angle <= 270 ? 3 : 4;
    int x = L, y = T;
    switch (q) {
    case 1:
        x = hAlign == 0 ? L : hAlign == 1 ? R - cw - sh : L + (R - L - sh - cw) / 2;
        y = vAlign == 0 ? T + sw : vAlign == 2 ? B - ch : T + sw - (ch + sw + T - B) / 2;
        break;
    case 2:
        x = hAlign == 0 ? L + cw : hAlign == 1 ? R - sh : R - (sh + R - L - cw) / 2;
        y = vAlign == 0 ? T + sw + ch : vAlign == 2 ? B : T + ch + sw - (sw + T + ch - B) / 2;
        break;
    case 3:
        x = hAlign == 0 ? L + sh + cw : hAlign == 1 ? R : R - (R - L - sh - cw) / 2;
        y = vAlign == 0 ? T + ch : vAlign == 2 ? B - sw : T + ch - (sw + T + ch - B) / 2;
        break;
    default:
        x = hAlign == 0 ? L + sh : hAlign == 1 ? R - cw : L + (sh + R - L - cw) / 2;
        y = vAlign == 0 ? T : vAlign == 2 ? B - ch - sw : T - (sw + T + ch - B) / 2;
        break;
    }
    r.Left = x;
    r.Top = y;
}

} // namespace gridio
