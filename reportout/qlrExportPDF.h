// The PDF export filter: writes the prepared pages of a report as one PDF
// file (version 1.5) or into the caller's stream, with text as glyphs of
// TrueType fonts (Identity-H, with a ToUnicode map so text can be searched
// and copied), lines and shapes as paths, everything else as inline JPEG
// pictures, optional compression, embedded fonts and password protection.
//
// The rule a caller must know: the report's export driver calls ShowModal
// (when ShowDialog), Start, then per page StartPage, ExportObject for each
// object, FinishPage, and at the end Finish; a protected export turns
// EmbeddedFonts on for good and an empty owner password takes the user's.
//
//     qlr::TqlrPDFExport pdf(form);
//     pdf.ShowDialog = false;
//     pdf.FileName = "/tmp/report.pdf";
//     report.Export(&pdf);
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrExpressionCache.h"
#include "reportout/qlrPDFSecurity.h"

namespace gui {
class TFontProgram;
}

namespace qlr {

class TqlrCustomLineView;
class TqlrShapeView;

// One font (name and style) of an export, measured at 1000 units per em:
// the glyphs used so far in order of first use, their advances and the
// characters they stand for.
class TqlrPDFFont {
public:
    explicit TqlrPDFFont(const gui::TFont& font);
    // The font's fallback program: what the screen draws the characters
    // the font lacks with.
    TqlrPDFFont(const gui::TFont& font, std::shared_ptr<const gui::TFontProgram> fallback);
    ~TqlrPDFFont();

    std::unique_ptr<gui::TFont> SourceFont;
    std::shared_ptr<const gui::TFontProgram> Program;   // nullptr: no TrueType font at all
    std::vector<int> UsedAlphabet;
    std::vector<int> Widths;
    std::vector<char16_t> UsedAlphabetUnicode;
    std::string Name;   // "/F" + index in the export's font list
    int Reference = 0;
    bool Saved = false;
    bool Fallback = false;   // a fallback program: text comes already as drawn

    // A piece of a line for one program: Program is nullptr for this
    // font's own, else the fallback that has the piece's characters.
    struct TRun {
        std::shared_ptr<const gui::TFontProgram> Program;
        std::u16string Text;
    };
    // The line cut where the program drawing it changes, in logical order:
    // characters this font lacks go to the screen's fallback for them;
    // blanks and punctuation stay with the piece before them when its
    // program has them, so a right-to-left phrase is shaped as one.
    std::vector<TRun> SplitRuns(std::u16string_view text) const;

    // The glyph string of a line (one code unit per glyph, the glyph
    // number), recording glyphs not seen before.  Text in the Symbol font is
    // shaped as the Greek letters the report draws.
    std::u16string RemapString(std::u16string_view text, bool rightToLeft);
    // The advance of the text as RemapString shapes it, in thousandths of
    // an em, and the number of its glyphs; nothing is recorded.
    std::pair<long double, int> Advance(std::u16string_view text, bool rightToLeft) const;
    // The name written as /BaseFont: the family actually used with ","
    // and the style suffix, escaped as a PDF name.
    std::string GetFontName() const;
    // Metrics in thousandths of an em.
    struct TMetrics {
        int BBoxLeft = 0, BBoxBottom = 0, BBoxRight = 1000, BBoxTop = 1000;
        double ItalicAngle = 0;
        int Ascent = 800, Descent = -200, Leading = 0, CapHeight = 1000, Weight = 400;
        int AvgWidth = 500, MaxWidth = 1000;
        char16_t DefaultChar = 0;
    };
    const TMetrics& Metrics() const { return FMetrics; }

private:
    void ReadMetrics();
    TMetrics FMetrics;
};

// The escaped PDF name of a font: blanks and delimiters as "#xx", ","
// and "Bold"/"Italic" for the style, bytes above 127 as "#xx".
std::string PDFFontName(const std::string& family, bool bold, bool italic);
// Each code unit as four upper-case hexadecimal digits.
std::string GlyphsToHex(std::u16string_view glyphs);
// The ToUnicode map of glyphs to code units, at most 100 per bfchar block;
// glyph 0 (a character the font lacks) and characters unknown are left out.
std::string ToUnicodeMap(const std::string& cmapName, const std::vector<int>& glyphs,
                         const std::vector<char16_t>& unicode);

// The base point and the two barbs of an arrow (points, PDF coordinates).
struct TqlrPDFArrow {
    double X = 0, Y = 0;               // base on the line
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;   // barbs
};
TqlrPDFArrow ArrowGeometry(double x1, double y1, double x2, double y2, double length, double width);
// The dash operator for a frame style and a width in report units.
std::string PDFDash(TqlrFrameStyle style, long double width);

enum class TqlrPDFOutput { Nothing, Text, Line, Shape, Image };

class TqlrPDFExport : public TqlrCustomExportFilter {
public:
    explicit TqlrPDFExport(rtl::TComponent* owner);
    explicit TqlrPDFExport(NoRegister);
    ~TqlrPDFExport() override;

    bool Compressed = true;
    bool EmbeddedFonts = false;
    bool OpenAfterExport = false;
    bool PrintOptimized = false;
    bool Outline = false;
    bool Background = false;
    bool HTMLTags = true;
    // Information texts (UTF-8).  Title comes from TqlrCustomExportFilter.
    std::string Author = "Quillory Report";
    std::string Subject = "Quillory Report PDF export";
    std::string Keywords;
    std::string Creator;
    std::string Producer;
    std::string UserPassword, OwnerPassword;
    bool HideToolbar = false, HideMenubar = false, HideWindowUI = false, FitWindow = false,
         CenterWindow = false, PrintScaling = false;

    // Called with the options dialog just before it is shown (tests drive
    // it from here).
    std::function<void(class TqlrPDFExportDialog&)> OnShowDialog;

    TqlrPDFEncBits ProtectionFlags() const { return FProtectionFlags; }
    void SetProtectionFlags(TqlrPDFEncBits flags);
    int32_t EncBits() const { return FEncBits; }

    std::string GetDescription() override;
    int ShowModal() override;
    bool Start() override;
    void ExportObject(TqlrComponent* obj) override;
    void Finish() override;
    void FinishPage(TqlrReportPage* page, int index) override;
    void StartPage(TqlrReportPage* page, int index) override;

    // Stand-ins that tests replace: the local time of the dates (year,
    // month, day, hour, minute, second) and the braced 38-character GUID
    // text the file identifier is made from.
    static void SetClock(std::function<std::array<int, 6>()> clock);
    static void SetGuidSource(std::function<std::string()> source);

    // What ExportObject writes for a view.
    TqlrPDFOutput OutputKind(TqlrView* view) const;
    // The current page's content so far (between StartPage and FinishPage).
    std::string PageContent() const;
    const std::vector<std::unique_ptr<TqlrPDFFont>>& Fonts() const { return FFonts; }
    const std::string& FileID() const { return FFileID; }

    long double PDFX(long double x) const { return x * 0.75L + FMarginLeft; }
    long double PDFY(long double y) const { return FHeight - FMarginTop - y * 0.75L; }
    std::string PDFColor(gui::TColor color);
    // Finds or adds the font (name and style; with fallback, that program
    // standing in for the font); returns its index.
    int FindPageFont(const gui::TFont& font, const std::shared_ptr<const gui::TFontProgram>& fallback = nullptr);

private:
    void Init();
    void Line(const std::string& s);
    void Put(const std::string& s);
    void OutLine(const std::string& s);
    int NewObject();
    void ClearFonts();
    // "<< /Length ... >>", the data (compressed, encrypted with the
    // object's key when protected), a line end, "endstream", "endobj".
    void WriteStreamObject(int object, const std::string& data, bool compress, bool length1);
    void WriteFontObjects(TqlrPDFFont& font);
    void ExportView(TqlrView* view);
    void WriteLine(TqlrCustomLineView* view);
    void WriteArrow(TqlrCustomLineView* view, long double x1, long double y1, long double x2, long double y2);
    void WriteShape(TqlrShapeView* view);
    void WriteImage(TqlrView* view);
    void WriteFrame(TqlrView* view);
    void WriteText(TqlrCustomMemoView* memo);
    // One line's glyphs, each piece in the program that draws it.
    void WriteGlyphRuns(const gui::TFont& font, TqlrPDFFont* own, const std::u16string& line, bool rightToLeft);
    // The width of a line in report units as WriteGlyphRuns draws it, each
    // piece in its own program; a negative value when the line is the
    // font's own throughout (the layout's measure holds then).
    long double RunsWidth(const gui::TFont& font, TqlrPDFFont* own, const std::u16string& line, bool rightToLeft,
                          long double charSpacing);

    rtl::TStream* pdf = nullptr;
    std::unique_ptr<rtl::TStream> FOwnStream;
    std::vector<std::string> FXRef;
    std::vector<int> FPagesRef;
    std::vector<std::unique_ptr<TqlrPDFFont>> FFonts;
    std::vector<TqlrPDFFont*> FPageFonts;
    int FPagesNumber = 1;
    int64_t FStartXRef = 0;
    long double FWidth = 0, FHeight = 0, FMarginLeft = 0, FMarginTop = 0;
    std::unique_ptr<rtl::TMemoryStream> OutStream;
    std::string FFileID;
    bool FProtection = false;
    TPDFSecurity FSecurity;
    TqlrPDFEncBits FProtectionFlags;
    int32_t FEncBits = -4;
    gui::TColor FLastColor = 0;
    std::string FLastColorResult = "0 0 0";
};

// The export's own lock around the output of a text object.
std::mutex& PDFExportLock();

} // namespace qlr
