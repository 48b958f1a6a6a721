// The PDF export's page content: each report object as operators of the
// current page's content stream: text as clipped glyph strings, lines with
// arrows and shapes as paths, everything else as an inline JPEG picture
// with the frame drawn on top.

#include <algorithm>
#include <cmath>

#include "platform/gui/JpegImage.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClassPages.h"
#include "report/qlrUtils.h"
#include "reportout/qlrExportPDF.h"

namespace qlr {

namespace {

std::string F(long double v) { return FloatToFixedText(2, '.', v); }
std::string P(long double x, long double y) { return F(x) + " " + F(y); }

constexpr double kKappa1 = 1.5522847498, kKappa0 = 0.4477152502;

} // namespace

std::string PDFDash(TqlrFrameStyle style, long double width)
{
    const std::string d = F(width * 6) + " ", g = F(width * 2) + " ";
    switch (style) {
    case TqlrFrameStyle::fsDash: return "[" + d + "] 0 d";
    case TqlrFrameStyle::fsDot: return "[" + g + d + "] 0 d";
    case TqlrFrameStyle::fsDashDot: return "[" + d + d + g + d + "] 0 d";
    case TqlrFrameStyle::fsDashDotDot: return "[" + d + d + g + d + g + d + "] 0 d";
    default: return "[] 0 d";
    }
}

TqlrPDFArrow ArrowGeometry(double x1, double y1, double x2, double y2, double e, double f)
{
    TqlrPDFArrow a;
    if (x1 != x2) {
        const double r = (y1 - y2) / (x1 - x2);
        const double k = (x1 * y2 - y1 * x2) / (x1 - x2);
        const double t = 2 * (r * (k - y1) - x1);
        const double u = r * r + 1;
        const double D = t * t - 4 * u * (k * k + x1 * x1 + y1 * y1 - e * e - 2 * y1 * k);
        const double sq = std::sqrt(std::max(0.0, D));
        double x = (-t + sq) / (2 * u);
        if ((x > x1 && x > x2) || (x < x1 && x < x2)) x = (-t - sq) / (2 * u);
        const double yb = r * x + k;
        a.X = x;
        a.Y = yb;
        if (y1 != y2) {
            const double an = std::atan(r);
            a.X1 = x + f * std::sin(an);
            a.Y1 = yb - f * std::cos(an);
            a.X2 = x - f * std::sin(an);
            a.Y2 = yb + f * std::cos(an);
        } else {
            a.X1 = a.X2 = x;
            a.Y1 = yb - f;
            a.Y2 = yb + f;
        }
    } else {
        double yb = y1 - e;
        if ((yb > y1 && yb > y2) || (yb < y1 && yb < y2)) yb = y1 + e;
        a.X = x1;
        a.Y = yb;
        a.X1 = x1 - f;
        a.Y1 = yb;
        a.X2 = x1 + f;
        a.Y2 = yb;
    }
    return a;
}

std::string TqlrPDFExport::PDFColor(gui::TColor color)
{
    if (color == 0) return "0 0 0";
    if (color == 0xFFFFFF) return "1 1 1";
    if (color == FLastColor) return FLastColorResult;
    const gui::TColor rgb = gui::ColorToRGB(color);
    const std::string s = F((rgb & 0xFF) / 255.0L) + " " + F(((rgb >> 8) & 0xFF) / 255.0L) + " " +
                          F(((rgb >> 16) & 0xFF) / 255.0L);
    FLastColor = color;
    FLastColorResult = s;
    return s;
}

TqlrPDFOutput TqlrPDFExport::OutputKind(TqlrView* view) const
{
    const auto brush = view->BrushStyle();
    const bool solidOrClear = brush == gui::TBrushStyle::bsSolid || brush == gui::TBrushStyle::bsClear;
    if (auto* memo = dynamic_cast<TqlrCustomMemoView*>(view)) {
        const bool html = memo->AllowHTMLTags() && HTMLTags && memo->Text().find('<') != std::string::npos;
        if (solidOrClear && !html) return TqlrPDFOutput::Text;
    } else if (dynamic_cast<TqlrCustomLineView*>(view)) {
        return TqlrPDFOutput::Line;
    } else if (dynamic_cast<TqlrShapeView*>(view)) {
        return TqlrPDFOutput::Shape;
    }
    if (view->Width() <= 0 || view->Height() <= 0) return TqlrPDFOutput::Nothing;
    if (view->Name() == "_pagebackground" && !Background) return TqlrPDFOutput::Nothing;
    return TqlrPDFOutput::Image;
}

void TqlrPDFExport::ExportObject(TqlrComponent* obj)
{
    auto* view = dynamic_cast<TqlrView*>(obj);
    if (!view || !OutStream) return;
    if (!view->Printable() && !ExportNotPrintable) return;
    ExportView(view);
}

void TqlrPDFExport::ExportView(TqlrView* view)
{
    switch (OutputKind(view)) {
    case TqlrPDFOutput::Text: WriteText(static_cast<TqlrCustomMemoView*>(view)); break;
    case TqlrPDFOutput::Line: WriteLine(static_cast<TqlrCustomLineView*>(view)); break;
    case TqlrPDFOutput::Shape: WriteShape(static_cast<TqlrShapeView*>(view)); break;
    case TqlrPDFOutput::Image: WriteImage(view); break;
    case TqlrPDFOutput::Nothing: break;
    }
}

void TqlrPDFExport::WriteLine(TqlrCustomLineView* view)
{
    const long double l = view->AbsLeft(), t = view->AbsTop();
    const long double xL = PDFX(l), yT = PDFY(t), xR = PDFX(l + view->Width()), yB = PDFY(t + view->Height());
    TqlrFrame* fr = view->Frame();
    OutLine(PDFDash(fr->Style(), fr->Width()));
    OutLine(PDFColor(fr->Color()) + " RG");
    OutLine(F(fr->Width() * 0.75L) + " w");
    OutLine(P(xL, yT) + " m");
    OutLine(P(xR, yB) + " l");
    OutLine("S");
    if (view->ArrowStart) WriteArrow(view, xL, yT, xR, yB);
    if (view->ArrowEnd) WriteArrow(view, xR, yB, xL, yT);
}

void TqlrPDFExport::WriteArrow(TqlrCustomLineView* view, long double x1, long double y1, long double x2,
                               long double y2)
{
    const TqlrPDFArrow a = ArrowGeometry(static_cast<double>(x1), static_cast<double>(y1), static_cast<double>(x2),
                                         static_cast<double>(y2), view->ArrowLength * 0.75, view->ArrowWidth * 0.75);
    TqlrFrame* fr = view->Frame();
    OutLine(PDFDash(fr->Style(), fr->Width()));
    OutLine(P(a.X1, a.Y1) + " m");
    OutLine(P(x1, y1) + " l");
    OutLine(P(a.X2, a.Y2) + " l");
    if (view->ArrowSolid) {
        OutLine("1 j");
        OutLine(PDFColor(fr->Color()) + " rg");
        OutLine("b");
    } else {
        OutLine("S");
    }
}

void TqlrPDFExport::WriteShape(TqlrShapeView* view)
{
    const long double l = view->AbsLeft(), t = view->AbsTop(), w = view->Width(), h = view->Height();
    const long double xL = PDFX(l), yT = PDFY(t), xR = PDFX(l + w), yB = PDFY(t + h);
    TqlrFrame* fr = view->Frame();
    const std::string paint = view->Color() == gui::clNone ? "S" : "B";
    auto head = [&](bool fill) {
        OutLine(PDFDash(fr->Style(), fr->Width()));
        OutLine(PDFColor(fr->Color()) + " RG");
        OutLine(F(fr->Width() * 0.75L) + " w");
        if (fill) OutLine(PDFColor(view->Color() == gui::clNone ? gui::clWhite : view->Color()) + " rg");
    };
    auto pt = [&](long double x, long double y) { return P(PDFX(x), PDFY(y)); };
    switch (view->Shape()) {
    case TqlrShapeKind::skRectangle:
    case TqlrShapeKind::skRoundRectangle:
        head(true);
        {
            const std::string s = P(xL, yB) + " \r\n" + F(w * 0.75L) + " " + F(h * 0.75L) + " re";
            OutLine(s);
        }
        OutLine(paint);
        break;
    case TqlrShapeKind::skEllipse: {
        head(true);
        const long double rx = w / 2, ry = h / 2;
        OutLine(pt(l + 2 * rx, t + ry) + " m");
        OutLine(pt(l + 2 * rx, t + kKappa1 * ry) + " " + pt(l + kKappa1 * rx, t + 2 * ry) + " " + pt(l + rx, t + 2 * ry) + " c");
        OutLine(pt(l + kKappa0 * rx, t + 2 * ry) + " " + pt(l, t + kKappa1 * ry) + " " + pt(l, t + ry) + " c");
        OutLine(pt(l, t + kKappa0 * ry) + " " + pt(l + kKappa0 * rx, t) + " " + pt(l + rx, t) + " c");
        OutLine(pt(l + kKappa1 * rx, t) + " " + pt(l + 2 * rx, t + kKappa0 * ry) + " " + pt(l + 2 * rx, t + ry) + " c");
        OutLine(paint);
        break;
    }
    case TqlrShapeKind::skTriangle:
        head(true);
        OutLine(pt(l + w / 2, t) + " m " + pt(l + w, t + h) + " l " + pt(l, t + h) + " l " + pt(l + w / 2, t) + " l");
        OutLine(paint);
        break;
    case TqlrShapeKind::skDiamond:
        head(true);
        OutLine(pt(l + w / 2, t) + " m " + pt(l + w, t + h / 2) + " l " + pt(l + w / 2, t + h) + " l " +
                pt(l, t + h / 2) + " l " + pt(l + w / 2, t) + " l");
        OutLine(paint);
        break;
    case TqlrShapeKind::skDiagonal1:
        head(false);
        OutLine(P(xL, yB) + " m");
        OutLine(P(xR, yT) + " l");
        OutLine("S");
        break;
    case TqlrShapeKind::skDiagonal2:
        head(false);
        OutLine(P(xL, yT) + " m");
        OutLine(P(xR, yB) + " l");
        OutLine("S");
        break;
    }
}

void TqlrPDFExport::WriteFrame(TqlrView* view)
{
    TqlrFrame* fr = view->Frame();
    if (fr->Typ().Empty() || fr->Color() == gui::clNone) return;
    const long double l = view->AbsLeft(), t = view->AbsTop();
    const long double xL = PDFX(l), yT = PDFY(t), xR = PDFX(l + view->Width()), yB = PDFY(t + view->Height());
    OutLine(PDFColor(fr->Color()) + " RG");
    struct Edge {
        TqlrFrameType type;
        TqlrFrameLine* line;
        long double x1, y1, x2, y2;
    };
    const Edge edges[] = {{TqlrFrameType::ftTop, fr->TopLine(), xL, yT, xR, yT},
                          {TqlrFrameType::ftRight, fr->RightLine(), xR, yT, xR, yB},
                          {TqlrFrameType::ftBottom, fr->BottomLine(), xL, yB, xR, yB},
                          {TqlrFrameType::ftLeft, fr->LeftLine(), xL, yT, xL, yB}};
    for (const Edge& e : edges) {
        if (!fr->Typ().Contains(e.type)) continue;
        OutLine(PDFDash(e.line->Style(), e.line->Width()));
        OutLine(F(e.line->Width() * 0.75L) + " w");
        OutLine(P(e.x1, e.y1) + " m");
        OutLine(P(e.x2, e.y2) + " l");
        OutLine("S");
    }
}

void TqlrPDFExport::WriteImage(TqlrView* view)
{
    TqlrFrame* fr = view->Frame();
    const long double frameWidth = fr->Width();
    const bool hadFrame = frameWidth > 0;
    if (hadFrame) fr->SetWidth(0);
    struct Restore {
        TqlrFrame* fr;
        long double w;
        bool on;
        ~Restore()
        {
            if (on) fr->SetWidth(w);
        }
    } restore{fr, frameWidth, hadFrame};

    const long double left = view->AbsLeft(), top = view->AbsTop();
    const TqlrRect b = view->GetRealBounds();
    const long double dx = b.Right - b.Left, dy = b.Bottom - b.Top;
    long double ox = 0, oy = 0;
    if (dx != view->Width() && left != b.Left) ox = b.Right != left + view->Width() ? (dx - view->Width()) / 2 : dx - view->Width();
    if (dy != view->Height() && top != b.Top) oy = b.Bottom != top + view->Height() ? (dy - view->Height()) / 2 : dy - view->Height();
    const auto brush = view->BrushStyle();
    const bool solidOrClear = brush == gui::TBrushStyle::bsSolid || brush == gui::TBrushStyle::bsClear;
    const bool barCode = view->ClassName() == std::string("TqlrBarCodeView");
    long double s = (PrintOptimized || dynamic_cast<TqlrCustomMemoView*>(view)) && solidOrClear ? 3 : 1;
    int shift = 0;
    if (barCode && !PrintOptimized) {
        s = 2;
        shift = 2;
    }
    const int bw = static_cast<int>(std::lround(s * dx)) + static_cast<int>(s);
    const int bh = static_cast<int>(std::lround(s * dy)) + static_cast<int>(s);
    if (bw <= 0 || bh <= 0) return;
    gui::TBitmap bmp(bw, bh, gui::TPixelFormat::pf24bit);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, bw, bh});
    view->Draw(bmp.Canvas(), s, s, shift - std::lround((left - ox) * s), -std::lround((top - oy) * s));
    if (hadFrame) fr->SetWidth(frameWidth);
    restore.on = false;

    OutLine("q");
    OutLine((dx == 0 ? std::string("1") : F(dx * 0.75L)) + " 0 0 " + (dy == 0 ? std::string("1") : F(dy * 0.75L)) + " " +
            F(PDFX(left - ox)) + " " + F(PDFY(top - oy + dy)) + " cm");
    OutLine("BI");
    OutLine("/W " + std::to_string(bw));
    OutLine("/H " + std::to_string(bh));
    // A bar code is written as grey levels, so the picture's colour space is
    // grey too: under RGB a one-channel JPEG would be read as a third of
    // the samples it needs.
    OutLine(barCode ? "/CS /G" : "/CS /RGB");
    OutLine("/BPC 8");
    OutLine("/I true");
    OutLine("/F [/DCT]");
    // One white-space byte after "ID": the image data starts right after it.
    {
        const std::string id = "ID ";
        OutStream->Write(id.data(), static_cast<int64_t>(id.size()));
    }
    gui::TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    jpeg.SetGrayscale(barCode);
    jpeg.SetCompressionQuality(barCode ? 95 : 90);
    jpeg.SaveToStream(*OutStream);
    OutLine("");
    OutLine("EI");
    OutLine("Q");
    WriteFrame(view);
}

void TqlrPDFExport::WriteText(TqlrCustomMemoView* memo)
{
    const long double left = memo->AbsLeft(), top = memo->AbsTop();
    long double width = memo->Width(), height = memo->Height();
    TqlrFrame* fr = memo->Frame();
    const long double fw = fr->Typ().Empty() ? 0 : fr->Width();
    // The clip takes in the frame's width on every side, edges or not.
    const long double clip = fr->Width();
    OutLine("q");
    OutLine(P(PDFX(left - clip), PDFY(top + height + clip)) + " " + F((2 * clip + width) * 0.75L) + " " +
            F((2 * clip + height) * 0.75L) + " re");
    OutLine("W");
    OutLine("n");
    const long double shadow = fr->ShadowWidth();
    const long double W1 = width - shadow, H1 = height - shadow;
    long double xL = PDFX(left), xR = PDFX(left + width), yB = PDFY(top + height);
    long double w = width * 0.75L, h = height * 0.75L;
    if (fr->DropShadow()) {
        w = W1 * 0.75L;
        h = H1 * 0.75L;
        xR = PDFX(left + W1);
        yB = PDFY(top + H1);
        const std::string c = PDFColor(fr->ShadowColor());
        OutLine(c + " rg");
        OutLine(c + " RG");
        OutLine(P(PDFX(left + W1), PDFY(top + H1 + shadow)) + " " + F(shadow * 0.75L) + " " + F(H1 * 0.75L) + " re");
        OutLine("B");
        OutLine(P(PDFX(left + shadow), PDFY(top + H1 + shadow)) + " " + F(W1 * 0.75L) + " " + F(shadow * 0.75L) + " re");
        OutLine("B");
    }

    TqlrDrawText& dt = SharedDrawText();
    TqlrDrawText::Lock();
    struct Unlock {
        ~Unlock() { TqlrDrawText::Unlock(); }
    } unlockDrawText;
    std::lock_guard<std::mutex> own(PDFExportLock());

    gui::TFont font;
    font.Assign(memo->Font());
    gui::TColor color = memo->Color();
    if (memo->Highlight()->Active() && memo->Highlight()->Font()) {
        font.Assign(memo->Highlight()->Font());
        color = memo->Highlight()->Color();
    }
    dt.SetFont(&font);
    dt.SetOptions(true, memo->AllowHTMLTags(), memo->RTLReading(), memo->WordBreak(), memo->Clipped(), memo->Wysiwyg(),
                  memo->Rotation());
    dt.SetGaps(memo->ParagraphGap(), memo->CharSpacing(), memo->LineSpacing());
    long double L = std::nearbyint(left), T = std::nearbyint(top), R = std::nearbyint(left + width),
                B = std::nearbyint(top + height);
    if (fr->Typ().Contains(TqlrFrameType::ftLeft)) L += std::nearbyint((fw - 1) / 2);
    if (fr->Typ().Contains(TqlrFrameType::ftRight)) R -= std::nearbyint(fw / 2);
    if (fr->Typ().Contains(TqlrFrameType::ftTop)) T += std::nearbyint((fw - 1) / 2);
    if (fr->Typ().Contains(TqlrFrameType::ftBottom)) B -= std::nearbyint(fw / 2);
    const int gx = static_cast<int>(std::nearbyint(memo->GapX())), gy = static_cast<int>(std::nearbyint(memo->GapY()));
    const gui::TRect rect{static_cast<int>(L) + gx, static_cast<int>(T) + gy, static_cast<int>(R) - gx + 1,
                          static_cast<int>(B) - gy + 1};
    dt.SetDimensions(1, 1, 1, rect, rect);
    dt.SetText(memo->Lines());
    const long double lh = dt.LineHeight();

    if (color != gui::clNone) {
        OutLine(PDFColor(color) + " rg");
        OutLine(P(xL, yB) + " " + F(w) + " " + F(h) + " re");
        OutLine("f");
    }
    WriteFrame(memo);
    if (memo->Underlines() && lh > 0) {
        const int n = static_cast<int>(height / lh);
        for (int k = 1; k <= n; ++k) {
            const long double y = PDFY(top + memo->GapY() + 1 + k * lh);
            OutLine(PDFColor(fr->Color()) + " RG");
            OutLine(F(fw * 0.75L) + " w");
            OutLine(P(xL, y) + " m");
            OutLine(P(xR, y) + " l");
            OutLine("S");
        }
    }
    const int rotation = memo->Rotation();
    if (rotation > 0) {
        const double a = rotation * M_PI / 180;
        OutLine(F(std::cos(a)) + " " + F(std::sin(a)) + " " + F(-std::sin(a)) + " " + F(std::cos(a)) + " " +
                F(PDFX(left + width / 2)) + " " + F(PDFY(top + height / 2)) + " cm");
    }
    const std::vector<std::u16string> lines = dt.Lines();
    if (!lines.empty()) {
        const int index = FindPageFont(font);
        TqlrPDFFont* pf = FPageFonts[static_cast<std::size_t>(index)];
        const long double size = font.Size();
        OutLine(pf->Name + " " + std::to_string(font.Size()) + " Tf");
        const gui::TColor fontColor = font.Color() == gui::clNone ? gui::clBlack : font.Color();
        OutLine(PDFColor(fontColor) + " rg");
        const long double cs = memo->CharSpacing() * 0.75L;
        if (cs != 0) OutLine(F(cs) + " Tc");
        dt.SetGaps(0, memo->CharSpacing(), memo->LineSpacing());
        const int n = static_cast<int>(lines.size());
        const bool swap = (rotation >= 45 && rotation <= 135) || (rotation >= 225 && rotation <= 315);
        const long double p = (swap ? H1 : W1) / 2, q = (swap ? W1 : H1) / 2;
        const auto ha = memo->HAlign();
        const auto va = memo->VAlign();
        for (int i = 0; i < n; ++i) {
            // An empty line (the layout keeps it as a blank) writes nothing
            // but still takes its place.
            if (lines[static_cast<std::size_t>(i)].find_first_not_of(u' ') == std::u16string::npos) continue;
            const long double pg = i == 0 ? memo->ParagraphGap() : 0;
            dt.SetText({lines[static_cast<std::size_t>(i)]});
            long double lw = dt.CalcWidth();
            // Pieces in a fallback program advance by that program's widths:
            // the line is as wide as the viewer draws it.
            const long double drawnWidth =
                RunsWidth(font, pf, lines[static_cast<std::size_t>(i)], memo->RTLReading(), memo->CharSpacing());
            if (drawnWidth >= 0) lw = drawnWidth;
            long double x, y;
            if (rotation <= 0) {
                const long double b0 = left + 1.5L * memo->GapX() + 0.01L * size + pg;
                const long double a0 = W1 - 2 * memo->GapX() - pg;
                if (ha == TqlrHAlign::haCenter) x = PDFX(b0 + (a0 - lw) / 2);
                else if (ha == TqlrHAlign::haRight) x = PDFX(a0 + b0 - lw) + cs;
                else x = PDFX(b0);
                const long double t0 = top + memo->GapY() - 0.1L * size;
                const long double v = H1 - 2 * memo->GapY();
                long double base;
                if (va == TqlrVAlign::vaBottom) base = t0 + v - (n - i - 1) * lh;
                else if (va == TqlrVAlign::vaCenter) base = t0 + (v - n * lh) / 2 + (i + 1) * lh;
                else base = t0 + (i + 1) * lh;
                y = PDFY(base);
            } else {
                if (ha == TqlrHAlign::haCenter) x = 0.75L * (-lw / 2);
                else if (ha == TqlrHAlign::haRight) x = 0.75L * (p - lw) + cs;
                else x = 0.75L * -p;
                long double k;
                if (va == TqlrVAlign::vaBottom) k = q - (n - i - 1) * lh;
                else if (va == TqlrVAlign::vaCenter) k = (i + 1) * lh - n * lh / 2;
                else k = (i + 1) * lh - q;
                y = 0.4L * size - 0.75L * k;
            }
            OutLine("BT");
            OutLine(P(x, y) + " Td");
            WriteGlyphRuns(font, pf, lines[static_cast<std::size_t>(i)], memo->RTLReading());
            OutLine("ET");
            const std::string fc = PDFColor(fontColor);
            if (font.Style().Contains(gui::TFontStyle::fsUnderline)) {
                OutLine(fc + " RG");
                OutLine(F(0.08L * size) + " w");
                OutLine(P(x, y - 0.12L * size) + " m");
                OutLine(P(x + 0.75L * lw, y - 0.12L * size) + " l");
                OutLine("S");
            }
            if (font.Style().Contains(gui::TFontStyle::fsStrikeOut)) {
                OutLine(fc + " RG");
                OutLine(F(0.08L * size) + " w");
                OutLine(P(x, y + 0.28L * size) + " m");
                OutLine(P(x + 0.75L * lw, y + 0.28L * size) + " l");
                OutLine("S");
            }
        }
    }
    OutLine("Q");
}

long double TqlrPDFExport::RunsWidth(const gui::TFont& font, TqlrPDFFont* own, const std::u16string& line,
                                     bool rightToLeft, long double charSpacing)
{
    const std::vector<TqlrPDFFont::TRun> runs = own->SplitRuns(line);
    bool foreign = false;
    for (const TqlrPDFFont::TRun& run : runs) foreign = foreign || run.Program != nullptr;
    if (!foreign) return -1;
    long double units = 0;
    int glyphs = 0;
    for (const TqlrPDFFont::TRun& run : runs) {
        TqlrPDFFont* pf = run.Program ? FPageFonts[static_cast<std::size_t>(FindPageFont(font, run.Program))] : own;
        const auto [advance, count] = pf->Advance(run.Text, rightToLeft);
        units += advance;
        glyphs += count;
    }
    // Thousandths of an em at the font size in points, then report units;
    // the character spacing follows every glyph.
    return units * font.Size() / 1000 / 0.75L + glyphs * charSpacing;
}

void TqlrPDFExport::WriteGlyphRuns(const gui::TFont& font, TqlrPDFFont* own, const std::u16string& line,
                                   bool rightToLeft)
{
    std::vector<TqlrPDFFont::TRun> runs = own->SplitRuns(line);
    // Pieces follow one another on the line: from the right in a
    // right-to-left paragraph.
    if (rightToLeft) std::reverse(runs.begin(), runs.end());
    TqlrPDFFont* current = own;
    for (const TqlrPDFFont::TRun& run : runs) {
        TqlrPDFFont* pf = run.Program ? FPageFonts[static_cast<std::size_t>(FindPageFont(font, run.Program))] : own;
        if (pf != current) OutLine(pf->Name + " " + std::to_string(font.Size()) + " Tf");
        current = pf;
        OutLine("<" + GlyphsToHex(pf->RemapString(run.Text, rightToLeft)) + "> Tj");
    }
    // The next line starts in the memo's own font again.
    if (current != own) OutLine(own->Name + " " + std::to_string(font.Size()) + " Tf");
}

} // namespace qlr
