// TCanvas text: TextOut, TextRect, measuring and DrawText with its format
// flags ("&" prefixes, tabs, word breaks, ellipsis, alignment, CALCRECT).

#include "platform/gui/GraphicsQt.h"

#include <QFontMetrics>

#include <cmath>
#include <optional>

namespace gui {

namespace {

QFontMetrics Metrics(const TCanvas& c)
{
    const QFont& f = CanvasAccess::Font(c);
    QPainter* p = c.Data().painter;
    if (p && p->device()) return QFontMetrics(f, p->device());
    return QFontMetrics(f);
}

// Width of a line, tabs expanded to stops every tabWidth pixels when tabWidth > 0.
int LineWidth(const QFontMetrics& m, const QString& s, int tabWidth)
{
    if (tabWidth <= 0 || !s.contains(QLatin1Char('\t'))) return m.horizontalAdvance(s);
    int x = 0;
    const auto parts = s.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        x += m.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) x = (x / tabWidth + 1) * tabWidth;
    }
    return x;
}

// Draws a line at (x, baseline), tabs expanded as LineWidth does.
void DrawLine(QPainter* p, const QFontMetrics& m, int x, int baseline, const QString& s, int tabWidth)
{
    if (tabWidth <= 0 || !s.contains(QLatin1Char('\t'))) {
        p->drawText(QPoint(x, baseline), s);
        return;
    }
    int cx = 0;
    const auto parts = s.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        p->drawText(QPoint(x + cx, baseline), parts[i]);
        cx += m.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) cx = (cx / tabWidth + 1) * tabWidth;
    }
}

struct TextLine {
    QString text;
    int underline = -1;   // index of the "&"-marked character, or -1
};

// Removes "&" prefixes: "&&" is one "&", "&x" marks x.
TextLine StripPrefix(const QString& s)
{
    TextLine line;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) {
                line.text += QLatin1Char('&');
                ++i;
            } else if (i + 1 < s.size()) {
                line.underline = static_cast<int>(line.text.size());
            }
            continue;
        }
        line.text += s[i];
    }
    return line;
}

// Breaks one paragraph into lines no wider than width, at spaces; a word
// wider than the line is split only for edit controls.
std::vector<TextLine> WrapLine(const QFontMetrics& m, const TextLine& para, int width,
                               int tabWidth, bool breakWords)
{
    std::vector<TextLine> out;
    const QString& s = para.text;
    qsizetype start = 0;
    while (start < s.size()) {
        qsizetype end = start, lastBreak = -1;
        while (end < s.size()) {
            if (s[end] == QLatin1Char(' ')) lastBreak = end;
            if (LineWidth(m, s.mid(start, end - start + 1), tabWidth) > width) break;
            ++end;
        }
        qsizetype next;
        if (end >= s.size()) {
            next = end;
        } else if (lastBreak >= start) {
            end = lastBreak;
            next = lastBreak + 1;
        } else if (breakWords) {
            if (end == start) end = start + 1;
            next = end;
        } else {
            // The word stays whole: it runs to the next space.
            qsizetype sp = s.indexOf(QLatin1Char(' '), start);
            end = sp < 0 ? s.size() : sp;
            next = sp < 0 ? s.size() : sp + 1;
        }
        TextLine line;
        line.text = s.mid(start, end - start);
        while (line.text.endsWith(QLatin1Char(' '))) line.text.chop(1);
        if (para.underline >= start && para.underline < end)
            line.underline = static_cast<int>(para.underline - start);
        out.push_back(line);
        start = next;
        while (start < s.size() && s[start] == QLatin1Char(' ')) ++start;
    }
    if (out.empty()) out.push_back(TextLine{});
    return out;
}

void ApplyEllipsis(const QFontMetrics& m, TextLine& line, int width, int tabWidth)
{
    if (LineWidth(m, line.text, tabWidth) <= width) return;
    const QString dots = QStringLiteral("...");
    QString t = line.text;
    while (!t.isEmpty() && LineWidth(m, t + dots, tabWidth) > width) t.chop(1);
    line.text = t + dots;
    if (line.underline >= t.size()) line.underline = -1;
}

} // namespace

TTextMetric TCanvas::GetTextMetrics() const
{
    QFontMetrics m = Metrics(*this);
    TTextMetric tm;
    tm.tmAscent = m.ascent();
    tm.tmDescent = m.descent();
    tm.tmHeight = m.ascent() + m.descent();
    tm.tmInternalLeading = std::max(0, tm.tmHeight - CanvasAccess::Font(*this).pixelSize());
    tm.tmExternalLeading = std::max(0, m.leading());
    tm.tmAveCharWidth = m.averageCharWidth();
    tm.tmMaxCharWidth = m.maxWidth();
    return tm;
}

TSize TCanvas::TextExtent(const std::string& text) const
{
    QFontMetrics m = Metrics(*this);
    QString s = CanvasText(*FFont, text);
    return {m.horizontalAdvance(s), m.ascent() + m.descent()};
}

namespace {

// Draws text with its top-left (per the text alignment) at (x, y), rotated by
// the font's orientation; fills the cell first when fillCell.  With span
// given the characters move apart (or closer) evenly so that the text
// spans that many pixels.
void PaintText(TCanvas& c, int x, int y, const QString& s, bool fillCell, std::optional<int> span = std::nullopt)
{
    TCanvas::Impl& d = c.Data();
    QPainter* p = d.painter;
    const TFont& font = CanvasAccess::FontObj(c);
    QFontMetrics m = Metrics(c);
    QFont qfont = CanvasAccess::Font(c);
    int w = m.horizontalAdvance(s);
    if (span && s.size() > 1) {
        const double natural = p && p->device() ? QFontMetricsF(qfont, p->device()).horizontalAdvance(s)
                                                : QFontMetricsF(qfont).horizontalAdvance(s);
        // The spacing follows every character; after the last it adds nothing seen.
        qfont.setLetterSpacing(QFont::AbsoluteSpacing, (*span - natural) / static_cast<double>(s.size() - 1));
        w = *span;
    }
    int h = m.ascent() + m.descent();
    int dx = 0, dy = 0;
    switch (d.textAlign & TA_CENTER) {
    case TA_RIGHT: dx = -w; break;
    case TA_CENTER: dx = -w / 2; break;
    default: break;
    }
    switch (d.textAlign & TA_BASELINE) {
    case TA_BASELINE: dy = -m.ascent(); break;
    case TA_BOTTOM: dy = -h; break;
    default: break;
    }
    p->save();
    p->translate(x, y);
    if (font.Orientation() != 0) p->rotate(-font.Orientation() / 10.0);
    if (fillCell) p->fillRect(QRect(dx, dy, w, h), ToQColor(d.bkColor));
    p->setFont(qfont);
    p->setPen(ToQColor(font.Color()));
    p->drawText(QPoint(dx, dy + m.ascent()), s);
    p->restore();
}

} // namespace

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    bool updateCp = (FImpl->textAlign & TA_UPDATECP) != 0;
    if (updateCp) { x = FImpl->penPos.x(); y = FImpl->penPos.y(); }
    QString s = CanvasText(*FFont, text);
    int w = Metrics(*this).horizontalAdvance(s);
    if (CanvasAccess::Begin(*this)) {
        Changing();
        PaintText(*this, x, y, s, FImpl->bkMode == OPAQUE);
        Changed();
    }
    FImpl->penPos = QPoint(x + w, y);
}

void TextOutSpanning(TCanvas& c, int x, int y, const std::string& text, int width)
{
    if (!CanvasAccess::Begin(c)) return;
    CanvasAccess::Changing(c);
    PaintText(c, x, y, CanvasText(CanvasAccess::FontObj(c), text), c.Data().bkMode == OPAQUE, width);
    CanvasAccess::Changed(c);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QPainter* p = FImpl->painter;
    p->save();
    QRect qr(r.Left, r.Top, r.Width(), r.Height());
    p->setClipRect(qr, Qt::IntersectClip);
    if (FBrush->Style() != TBrushStyle::bsClear)
        p->fillRect(qr, ToQColor(FImpl->bkColor));
    PaintText(*this, x, y, CanvasText(*FFont, text), false);
    p->restore();
    Changed();
}

int TCanvas::DrawText(const std::string& text, TRect& r, uint32_t flags)
{
    QFontMetrics m = Metrics(*this);
    const bool single = flags & DT_SINGLELINE;
    const int tabWidth = (flags & DT_EXPANDTABS) ? 8 * std::max(1, m.averageCharWidth()) : 0;
    int lineHeight = m.ascent() + m.descent();
    if (flags & DT_EXTERNALLEADING) lineHeight += std::max(0, m.leading());

    // Paragraphs, prefixes, wrapping and ellipsis give the lines to show.
    QString all = CanvasText(*FFont, text);
    QStringList paras;
    if (single) {
        QString s = all;
        s.remove(QLatin1Char('\r'));
        s.remove(QLatin1Char('\n'));
        paras << s;
    } else {
        all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        paras = all.split(QLatin1Char('\n'));
    }
    std::vector<TextLine> lines;
    for (const QString& para : paras) {
        TextLine line = (flags & DT_NOPREFIX) ? TextLine{para, -1} : StripPrefix(para);
        if ((flags & DT_WORDBREAK) && !single) {
            for (TextLine& l : WrapLine(m, line, std::max(1, r.Width()), tabWidth, flags & DT_EDITCONTROL))
                lines.push_back(l);
        } else {
            lines.push_back(line);
        }
    }
    if (flags & DT_END_ELLIPSIS)
        for (TextLine& l : lines) ApplyEllipsis(m, l, r.Width(), tabWidth);

    int maxWidth = 0;
    std::vector<int> widths;
    for (const TextLine& l : lines) {
        widths.push_back(LineWidth(m, l.text, tabWidth));
        maxWidth = std::max(maxWidth, widths.back());
    }
    int total = lineHeight * static_cast<int>(lines.size());

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + maxWidth;
        r.Bottom = r.Top + total;
        return total;
    }

    int y0 = r.Top;
    if (single) {
        if (flags & DT_VCENTER) y0 = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM) y0 = r.Bottom - lineHeight;
    }
    int result = (single && (flags & (DT_VCENTER | DT_BOTTOM))) ? y0 - r.Top + total : total;

    if (!CanvasAccess::Begin(*this)) return result;
    Changing();
    QPainter* p = FImpl->painter;
    p->save();
    if (!(flags & DT_NOCLIP))
        p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    p->setFont(CanvasAccess::Font(*this));
    QColor textColor = ToQColor(FFont->Color());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextLine& l = lines[i];
        int w = widths[i];
        int x = r.Left;
        if (flags & DT_CENTER) x = r.Left + (r.Width() - w) / 2;
        else if (flags & DT_RIGHT) x = r.Right - w;
        int y = y0 + static_cast<int>(i) * lineHeight;
        if (!(flags & DT_PREFIXONLY)) {
            if (FImpl->bkMode == OPAQUE)
                p->fillRect(QRect(x, y, w, lineHeight), ToQColor(FImpl->bkColor));
            p->setPen(textColor);
            DrawLine(p, m, x, y + m.ascent(), l.text, tabWidth);
        }
        if (l.underline >= 0 && l.underline < l.text.size() && !(flags & DT_HIDEPREFIX)) {
            int ux = x + LineWidth(m, l.text.left(l.underline), tabWidth);
            int uw = m.horizontalAdvance(l.text[l.underline]);
            int uy = y + m.ascent() + std::max(1, m.underlinePos());
            p->fillRect(QRect(ux, uy, std::max(1, uw), std::max(1, m.lineWidth())), textColor);
        }
    }
    p->restore();
    Changed();
    return result;
}

} // namespace gui
