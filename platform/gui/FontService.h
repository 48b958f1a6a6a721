// The font service: a font of the program (name and style) resolved to the
// TrueType program the screen draws it with, its metrics and glyph widths
// in font units, text shaped into glyphs (with right-to-left runs put in
// visual order), and the font program whole or reduced to the glyphs used.
// The report engine's text layout and the PDF export measure through it.
//
// The rule a caller must know: glyph numbers are those of the font
// program; a subset keeps them (unused glyphs are emptied, not removed), so
// a document can name glyphs by number whether it embeds the whole program
// or a subset.  Only fonts with TrueType outlines are found.
//
//     auto font = gui::TFontProgram::Find("Arial", /*bold*/ false, /*italic*/ false);
//     auto glyphs = font->Shape(u"Sunrise", false);
//     int em = font->UnitsPerEm();                  // advances are in these units
//     std::vector<uint8_t> bytes = font->Subset({glyphs[0].Glyph});
//     auto cjk = gui::TFontProgram::FindFallback("Arial", false, false, U'\u65E5');   // what draws it
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gui {

// The family the program's fonts are drawn with on this platform ("Arial"
// is drawn with "Liberation Sans", ...); other names are kept.
std::string PlatformFontFamily(const std::string& name);

class TFontProgram {
public:
    // In font units, y up.
    struct TMetrics {
        int Ascent = 0, Descent = 0, LineGap = 0;   // Descent negative
        int CapHeight = 0, XHeight = 0;
        int AvgWidth = 0, MaxWidth = 0;
        int BBoxLeft = 0, BBoxBottom = 0, BBoxRight = 0, BBoxTop = 0;
        double ItalicAngle = 0;                     // degrees, negative for a right slant
        int Weight = 400;
        char16_t DefaultChar = 0;
        bool FixedPitch = false;
    };
    struct TShapedGlyph {
        int Glyph = 0;
        int Advance = 0;   // font units
        int Cluster = 0;   // index of the first UTF-16 unit it stands for
    };

    // The program of the font as the screen draws it, or nullptr when no
    // TrueType font can be found (a missing family falls back to the
    // desktop's default sans-serif as the screen does).  Cached per name
    // and style; safe from any thread.
    static std::shared_ptr<const TFontProgram> Find(const std::string& name, bool bold, bool italic);
    // The program the screen draws ch with when the font of this name and
    // style lacks it: the first font of the fallback list for that font
    // that has the character and TrueType outlines; nullptr when none has
    // it.  Cached per name, style and character; safe from any thread.
    static std::shared_ptr<const TFontProgram> FindFallback(const std::string& name, bool bold, bool italic,
                                                            char32_t ch);

    ~TFontProgram();
    TFontProgram(const TFontProgram&) = delete;
    TFontProgram& operator=(const TFontProgram&) = delete;

    const std::string& FileName() const { return FFileName; }
    int FaceIndex() const { return FFaceIndex; }
    const std::string& FamilyName() const { return FFamily; }
    const std::string& PostScriptName() const { return FPostScriptName; }
    int UnitsPerEm() const { return FUnitsPerEm; }
    const TMetrics& Metrics() const { return FMetrics; }
    int GlyphCount() const;
    int GlyphIndex(char32_t ch) const;   // 0 when the font lacks it
    int GlyphAdvance(int glyph) const;

    // A line of text as glyphs in visual order: itemised into runs of one
    // direction (rightToLeft sets the paragraph's direction), each run
    // shaped, the runs ordered for display.
    std::vector<TShapedGlyph> Shape(std::u16string_view text, bool rightToLeft) const;

    // The face's whole program as a standalone font file.
    std::vector<uint8_t> ProgramBytes() const;
    // The program with only these glyphs (and glyph 0) kept, glyph numbers
    // unchanged; empty when it cannot be made.
    std::vector<uint8_t> Subset(const std::vector<int>& glyphs) const;

    struct Impl;

private:
    TFontProgram();
    // A face with TrueType outlines read from the file, or nullptr.
    static std::shared_ptr<const TFontProgram> Open(const std::string& file, int index, const std::string& family);

    std::unique_ptr<Impl> FImpl;
    std::string FFileName, FFamily, FPostScriptName;
    int FFaceIndex = 0;
    int FUnitsPerEm = 1000;
    TMetrics FMetrics;
};

} // namespace gui
