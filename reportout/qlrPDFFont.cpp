// The PDF export's fonts: one record per font name and style with the
// glyphs used, text shaped into glyph numbers of the font program the
// screen draws with, and the six objects of each font (font file,
// descriptor, ToUnicode map, CID system information, descendant and
// Type 0 font).

#include <cmath>
#include <cstdio>

#include "platform/gui/FontService.h"
#include "platform/gui/TextExtents.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Strings.h"
#include "report/qlrUtils.h"
#include "reportout/qlrExportPDF.h"

namespace qlr {

namespace {

std::string Hex4(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFFu);
    return buf;
}

// Six capital letters naming a subset of a font program (from its glyphs).
std::string SubsetTag(const std::vector<int>& glyphs)
{
    uint32_t h = 2166136261u;
    for (int g : glyphs) h = (h ^ static_cast<uint32_t>(g)) * 16777619u;
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag += static_cast<char>('A' + h % 26);
        h /= 26;
    }
    return tag;
}

bool IsBold(const gui::TFont& f) { return f.Style().Contains(gui::TFontStyle::fsBold); }
bool IsItalic(const gui::TFont& f) { return f.Style().Contains(gui::TFontStyle::fsItalic); }

} // namespace

TqlrPDFFont::TqlrPDFFont(const gui::TFont& font) : SourceFont(std::make_unique<gui::TFont>())
{
    SourceFont->Assign(&font);
    Program = gui::TFontProgram::Find(font.Name(), IsBold(font), IsItalic(font));
    // A font without outline metrics is measured as "Arial".
    if (!Program) Program = gui::TFontProgram::Find("Arial", IsBold(font), IsItalic(font));
    ReadMetrics();
}

TqlrPDFFont::TqlrPDFFont(const gui::TFont& font, std::shared_ptr<const gui::TFontProgram> fallback)
    : SourceFont(std::make_unique<gui::TFont>()), Program(std::move(fallback)), Fallback(true)
{
    SourceFont->Assign(&font);
    ReadMetrics();
}

void TqlrPDFFont::ReadMetrics()
{
    if (!Program) return;
    const auto& m = Program->Metrics();
    const double k = 1000.0 / Program->UnitsPerEm();
    auto s = [k](int v) { return static_cast<int>(std::lround(v * k)); };
    FMetrics.BBoxLeft = s(m.BBoxLeft);
    FMetrics.BBoxBottom = s(m.BBoxBottom);
    FMetrics.BBoxRight = s(m.BBoxRight);
    FMetrics.BBoxTop = s(m.BBoxTop);
    FMetrics.ItalicAngle = m.ItalicAngle;
    FMetrics.Ascent = s(m.Ascent);
    FMetrics.Descent = s(m.Descent);
    FMetrics.Leading = s(m.LineGap);
    FMetrics.CapHeight = s(m.Ascent - m.Descent);
    FMetrics.Weight = m.Weight;
    FMetrics.AvgWidth = s(m.AvgWidth);
    FMetrics.MaxWidth = s(m.MaxWidth);
    FMetrics.DefaultChar = m.DefaultChar;
}

TqlrPDFFont::~TqlrPDFFont() = default;

namespace {

// Blanks and punctuation of the Latin and general ranges: they go with the
// piece of text around them.
bool IsNeutral(char32_t c)
{
    if (c < 0x80) return !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
    return c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x3003);
}

// The code point at i and the number of code units it takes.
std::pair<char32_t, std::size_t> CodePointAt(std::u16string_view s, std::size_t i)
{
    const char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
        return {0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00), 2};
    return {c, 1};
}

} // namespace

std::vector<TqlrPDFFont::TRun> TqlrPDFFont::SplitRuns(std::u16string_view text) const
{
    std::vector<TRun> runs;
    const std::u16string drawn = Fallback ? std::u16string(text) : gui::DrawnFontText(*SourceFont, text);
    // Text the font draws as other letters (Symbol) stays whole.
    if (!Program || Fallback || drawn.size() != text.size()) return {TRun{nullptr, std::u16string(text)}};
    for (std::size_t i = 0; i < drawn.size();) {
        const auto [c, n] = CodePointAt(drawn, i);
        const bool own = Program->GlyphIndex(c) != 0;
        std::shared_ptr<const gui::TFontProgram> program;
        if (!runs.empty() && runs.back().Program && (IsNeutral(c) || !own) && runs.back().Program->GlyphIndex(c) != 0)
            program = runs.back().Program;
        else if (!own && !IsNeutral(c))
            program = gui::TFontProgram::FindFallback(SourceFont->Name(), IsBold(*SourceFont), IsItalic(*SourceFont), c);
        // A fallback piece holds the characters as drawn; the font's own,
        // as written (it converts them itself).
        const std::u16string_view piece = (program ? std::u16string_view(drawn) : text).substr(i, n);
        if (runs.empty() || runs.back().Program != program) runs.push_back(TRun{program, {}});
        runs.back().Text += piece;
        i += n;
    }
    return runs;
}

std::u16string TqlrPDFFont::RemapString(std::u16string_view text, bool rightToLeft)
{
    std::u16string result;
    if (!Program || text.empty()) return result;
    const std::u16string drawn = Fallback ? std::u16string(text) : gui::DrawnFontText(*SourceFont, text);
    auto glyphs = Program->Shape(drawn, rightToLeft);
    // The glyphs of one line hold at most three per character.
    const std::size_t limit = 3 * drawn.size();
    if (glyphs.size() > limit) glyphs.resize(limit);
    const bool oneToOne = glyphs.size() == drawn.size();
    const double k = 1000.0 / Program->UnitsPerEm();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const auto& g = glyphs[i];
        bool known = false;
        for (int u : UsedAlphabet)
            if (u == g.Glyph) {
                known = true;
                break;
            }
        if (!known) {
            UsedAlphabet.push_back(g.Glyph);
            Widths.push_back(static_cast<int>(std::lround(g.Advance * k)));
            char16_t ch = FMetrics.DefaultChar;
            if (oneToOne) {
                // The character the glyph was shaped from (for a run of one
                // direction: counted from the left, or from the right when
                // the run reads right to left).
                const std::size_t at = g.Cluster >= 0 && static_cast<std::size_t>(g.Cluster) < drawn.size()
                                           ? static_cast<std::size_t>(g.Cluster)
                                           : (rightToLeft ? drawn.size() - 1 - i : i);
                ch = drawn[at];
            }
            UsedAlphabetUnicode.push_back(ch);
        }
        result += static_cast<char16_t>(g.Glyph);
    }
    return result;
}

std::pair<long double, int> TqlrPDFFont::Advance(std::u16string_view text, bool rightToLeft) const
{
    if (!Program || text.empty()) return {0, 0};
    const std::u16string drawn = Fallback ? std::u16string(text) : gui::DrawnFontText(*SourceFont, text);
    auto glyphs = Program->Shape(drawn, rightToLeft);
    const std::size_t limit = 3 * drawn.size();
    if (glyphs.size() > limit) glyphs.resize(limit);
    const double k = 1000.0 / Program->UnitsPerEm();
    long double total = 0;
    // Each glyph counts with the width written for it, as a viewer places it.
    for (const auto& g : glyphs) total += std::lround(g.Advance * k);
    return {total, static_cast<int>(glyphs.size())};
}

std::string PDFFontName(const std::string& family, bool bold, bool italic)
{
    // "#" first, so that the escapes below stay as they are.
    std::string s = rtl::StringReplace(family, "#", "#23");
    static const std::pair<const char*, const char*> kEscapes[] = {
        {" ", "#20"}, {"(", "#28"}, {")", "#29"}, {"%", "#25"}, {"<", "#3C"}, {">", "#3E"},
        {"[", "#5B"}, {"]", "#5D"}, {"{", "#7B"}, {"}", "#7D"}, {"/", "#2F"}};
    for (const auto& [from, to] : kEscapes) s = rtl::StringReplace(s, from, to);
    std::string suffix = std::string(bold ? "Bold" : "") + (italic ? "Italic" : "");
    if (!suffix.empty()) s += "," + suffix;
    // Bytes of the code page above 127 as "#xx".
    std::string out;
    for (unsigned char c : rtl::UTF8ToCodePage(s, 1252)) {
        if (c >= 128) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "#%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string TqlrPDFFont::GetFontName() const
{
    // The family actually drawn (the glyph numbers are that font's), so a
    // viewer without the embedded program does not pair them with another.
    const std::string family = Program ? Program->FamilyName() : SourceFont->Name();
    return PDFFontName(family, IsBold(*SourceFont), IsItalic(*SourceFont));
}

std::string GlyphsToHex(std::u16string_view glyphs)
{
    std::string s;
    s.reserve(glyphs.size() * 4);
    for (char16_t g : glyphs) s += Hex4(g);
    return s;
}

std::string ToUnicodeMap(const std::string& cmapName, const std::vector<int>& glyphs,
                         const std::vector<char16_t>& unicode)
{
    std::string s;
    auto line = [&s](const std::string& t) { s += t + "\r\n"; };
    line("/CIDInit /ProcSet findresource begin");
    line("12 dict begin");
    line("begincmap");
    line("/CIDSystemInfo");
    line("<< /Registry (Adobe)");
    line("/Ordering (UCS)");
    line("/Supplement 0");
    line(">> def");
    line("/CMapName /" + cmapName + " def");
    line("/CMapType 2 def");
    line("1 begincodespacerange");
    line("<0000> <FFFF>");
    line("endcodespacerange");
    // Glyph 0 stands for any character the font lacks: it maps to none.
    std::vector<std::size_t> mapped;
    for (std::size_t i = 0; i < glyphs.size() && i < unicode.size(); ++i)
        if (glyphs[i] != 0 && unicode[i] != 0) mapped.push_back(i);
    // A bfchar block holds at most 100 mappings.
    for (std::size_t start = 0; start < mapped.size(); start += 100) {
        const std::size_t end = std::min(mapped.size(), start + 100);
        line(std::to_string(end - start) + " beginbfchar");
        for (std::size_t k = start; k < end; ++k) {
            const std::size_t i = mapped[k];
            line("<" + Hex4(static_cast<unsigned>(glyphs[i])) + "> <" + Hex4(unicode[i]) + ">");
        }
        line("endbfchar");
    }
    line("endcmap");
    line("CMapName currentdict /CMap defineresource pop");
    line("end");
    line("end");
    return s;
}

int TqlrPDFExport::FindPageFont(const gui::TFont& font, const std::shared_ptr<const gui::TFontProgram>& fallback)
{
    auto same = [&](const TqlrPDFFont* f) {
        return f->SourceFont->Name() == font.Name() && f->SourceFont->Style() == font.Style() &&
               f->Fallback == (fallback != nullptr) && (!fallback || f->Program == fallback);
    };
    for (std::size_t i = 0; i < FPageFonts.size(); ++i)
        if (same(FPageFonts[i])) return static_cast<int>(i);
    TqlrPDFFont* found = nullptr;
    for (auto& f : FFonts)
        if (same(f.get())) {
            found = f.get();
            break;
        }
    if (!found) {
        FFonts.push_back(fallback ? std::make_unique<TqlrPDFFont>(font, fallback) : std::make_unique<TqlrPDFFont>(font));
        found = FFonts.back().get();
        found->Name = "/F" + std::to_string(FFonts.size() - 1);
    }
    FPageFonts.push_back(found);
    return static_cast<int>(FPageFonts.size() - 1);
}

void TqlrPDFExport::WriteFontObjects(TqlrPDFFont& font)
{
    std::string name = font.GetFontName();
    const std::string cmapName = rtl::StringReplace(name, ",", "+");
    const auto& m = font.Metrics();
    int f = 0;
    if (EmbeddedFonts) {
        f = NewObject();
        Line(std::to_string(f) + " 0 obj");
        std::string program;
        if (font.Program) {
            // Only the glyphs used, under their own numbers; the whole
            // program when no subset can be made.
            auto bytes = font.Program->Subset(font.UsedAlphabet);
            if (!bytes.empty()) name = SubsetTag(font.UsedAlphabet) + "+" + name;
            else bytes = font.Program->ProgramBytes();
            program.assign(bytes.begin(), bytes.end());
        }
        WriteStreamObject(f, program, Compressed, true);
    }
    const int d = NewObject();
    Line(std::to_string(d) + " 0 obj");
    Line("<<");
    Line("/Type /FontDescriptor");
    Line("/FontName /" + name);
    Line("/FontFamily /" + name);
    Line("/Flags 32");
    Line("/FontBBox [" + std::to_string(m.BBoxLeft) + " " + std::to_string(m.BBoxBottom) + " " +
         std::to_string(m.BBoxRight) + " " + std::to_string(m.BBoxTop) + " ]");
    Line("/ItalicAngle " + FloatToFixedText(2, '.', m.ItalicAngle));
    Line("/Ascent " + std::to_string(m.Ascent));
    Line("/Descent " + std::to_string(m.Descent));
    Line("/Leading " + std::to_string(m.Leading));
    Line("/CapHeight " + std::to_string(m.CapHeight));
    Line("/StemV " + std::to_string(std::lround(std::pow(m.Weight / 65.0, 2)) + 50));
    Line("/AvgWidth " + std::to_string(m.AvgWidth));
    Line("/MxWidth " + std::to_string(m.MaxWidth));
    Line("/MissingWidth " + std::to_string(m.AvgWidth));
    if (EmbeddedFonts) Line("/FontFile2 " + std::to_string(f) + " 0 R");
    Line(">>");
    Line("endobj");

    const int u = NewObject();
    Line(std::to_string(u) + " 0 obj");
    const std::string map = ToUnicodeMap(cmapName, font.UsedAlphabet,
                                         font.UsedAlphabetUnicode);
    WriteStreamObject(u, map, Compressed, true);

    const int s = NewObject();
    Line(std::to_string(s) + " 0 obj");
    Line("<<");
    Line("/Registry (Adobe) /Ordering (Identity) /Supplement 0");
    Line(">>");
    Line("endobj");

    const int c = NewObject();
    Line(std::to_string(c) + " 0 obj");
    Line("<<");
    Line("/Type /Font");
    Line("/Subtype /CIDFontType2");
    Line("/BaseFont /" + name);
    Line("/CIDSystemInfo " + std::to_string(s) + " 0 R");
    Line("/FontDescriptor " + std::to_string(d) + " 0 R");
    Put("/W [ ");
    for (std::size_t i = 0; i < font.UsedAlphabet.size(); ++i)
        Put(std::to_string(font.UsedAlphabet[i]) + " [" + std::to_string(font.Widths[i]) + "] ");
    Line("]");
    Line(">>");
    Line("endobj");

    FXRef[static_cast<std::size_t>(font.Reference - 1)] = [this] {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%010lld", static_cast<long long>(pdf->Position()));
        return std::string(buf);
    }();
    Line(std::to_string(font.Reference) + " 0 obj");
    Line("<<");
    Line("/Type /Font");
    Line("/Subtype /Type0");
    Line("/BaseFont /" + name);
    Line("/Encoding /Identity-H");
    Line("/DescendantFonts [" + std::to_string(c) + " 0 R]");
    Line("/ToUnicode " + std::to_string(u) + " 0 R");
    Line(">>");
    Line("endobj");
}

} // namespace qlr
