// Character extents through the font service and text output with explicit
// advances.

#include "platform/gui/TextExtents.h"

#include <cmath>

#include "platform/gui/FontService.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/Types.h"
#include "platform/rtl/Strings.h"

namespace gui {

namespace {

// The letters the Symbol font shows in place of the Latin ones (the canvas
// draws them so; measuring must agree).
char16_t SymbolChar(char16_t c)
{
    static const char16_t kUpper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι',
                                        u'ϑ', u'Κ', u'Λ', u'Μ', u'Ν', u'Ο', u'Π', u'Θ', u'Ρ',
                                        u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
    static const char16_t kLower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι',
                                        u'ϕ', u'κ', u'λ', u'μ', u'ν', u'ο', u'π', u'θ', u'ρ',
                                        u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
    if (c >= 'A' && c <= 'Z') return kUpper[c - 'A'];
    if (c >= 'a' && c <= 'z') return kLower[c - 'a'];
    return c;
}

// The em of the font in pixels.
double EmPixels(const TFont& font, const TFontProgram& program)
{
    int h = font.Height();
    if (h < 0) return -h;
    // A positive height is the whole cell: ascent plus descent.
    const auto& m = program.Metrics();
    double cell = static_cast<double>(m.Ascent - m.Descent);
    return cell > 0 ? h * program.UnitsPerEm() / cell : h;
}

} // namespace

void GetTextExtentExPoint(const TCanvas& canvas, std::u16string_view text, std::vector<int>& extents)
{
    extents.assign(text.size(), 0);
    const TFont& font = *canvas.Font();
    auto program = TFontProgram::Find(font.Name(), font.Style().Contains(TFontStyle::fsBold),
                                      font.Style().Contains(TFontStyle::fsItalic));
    if (!program) {
        // No TrueType program: the canvas's own measure, character by
        // character (linear in the length of the text).
        int sum = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            sum += canvas.TextWidth(rtl::UTF16ToUTF8(std::u16string(1, text[i])));
            extents[i] = sum;
        }
        return;
    }
    const bool symbol = rtl::SameText(font.Name(), "Symbol");
    const double scale = EmPixels(font, *program) / program->UnitsPerEm();
    double sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = symbol ? SymbolChar(text[i]) : text[i];
        sum += program->GlyphAdvance(program->GlyphIndex(c)) * scale;
        extents[i] = static_cast<int>(std::nearbyint(sum));
    }
}

int GetTextFit(const TCanvas& canvas, std::u16string_view text, int maxExtent, std::vector<int>& extents)
{
    GetTextExtentExPoint(canvas, text, extents);
    int fit = 0;
    while (fit < static_cast<int>(extents.size()) && extents[fit] <= maxExtent) ++fit;
    return fit;
}

namespace {

// The canvas set for text output (clipped when asked, text aligned at its
// top left, no background) while it lives.
class TextOutput {
public:
    TextOutput(TCanvas& canvas, uint32_t options, const TRect* clip) : FCanvas(canvas)
    {
        if ((options & ETO_CLIPPED) && clip) {
            FSaved = canvas.SaveDC();
            canvas.IntersectClipRect(*clip);
        }
        FOldAlign = canvas.SetTextAlign(0);
        FOldMode = canvas.SetBkMode(TRANSPARENT);
    }
    ~TextOutput()
    {
        FCanvas.SetBkMode(FOldMode);
        FCanvas.SetTextAlign(FOldAlign);
        if (FSaved) FCanvas.RestoreDC(FSaved);
    }
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

private:
    TCanvas& FCanvas;
    int FSaved = 0, FOldMode = 0;
    uint32_t FOldAlign = 0;
};

} // namespace

int ExtTextOut(TCanvas& canvas, int x, int y, uint32_t options, const TRect* clip, std::u16string_view text,
               const int* dx)
{
    if (text.empty()) return 0;
    std::vector<int> own;
    if (!dx) {
        std::vector<int> ext;
        GetTextExtentExPoint(canvas, text, ext);
        own.resize(ext.size());
        for (std::size_t i = 0; i < ext.size(); ++i) own[i] = ext[i] - (i ? ext[i - 1] : 0);
        dx = own.data();
    }
    const double angle = canvas.Font()->Orientation() / 10.0 * M_PI / 180.0;
    const double c = std::cos(angle), s = std::sin(angle);
    const bool rtl = (options & ETO_RTLREADING) != 0;
    TextOutput output(canvas, options, clip);
    long along = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string one(1, text[i]);
        long pos = rtl ? -(along + dx[i]) : along;
        int px = x + static_cast<int>(std::lround(pos * c));
        int py = y - static_cast<int>(std::lround(pos * s));
        canvas.TextOut(px, py, rtl::UTF16ToUTF8(one));
        along += dx[i];
    }
    return static_cast<int>(along);
}

void ExtTextOutSpanning(TCanvas& canvas, int x, int y, uint32_t options, const TRect* clip,
                        std::u16string_view text, int width)
{
    if (text.empty()) return;
    TextOutput output(canvas, options, clip);
    TextOutSpanning(canvas, x, y, rtl::UTF16ToUTF8(text), width);
}

std::u16string DrawnFontText(const TFont& font, std::u16string_view text)
{
    std::u16string s(text);
    if (rtl::SameText(font.Name(), "Symbol"))
        for (char16_t& c : s) c = SymbolChar(c);
    return s;
}

} // namespace gui
