// Text layout (TqlrDrawText, HTML tags, hyphenation) and the memo views.
// Part of qlrClass.h.
#pragma once

#include "report/qlrClassDataSets.h"

namespace qlr {

class TWideStrings;

// ---------------------------------------------------------- text layout
//
// TqlrDrawText lays text out on a private 600-dpi canvas (so that line
// breaks never depend on the output device), measures it, cuts it at the
// bottom of a rectangle and draws it on any canvas, stretching each line to
// the 600-dpi layout (WYSIWYG).  Use: Lock; SetFont, SetOptions, SetGaps,
// SetDimensions, SetText; queries or DrawText; Unlock.  DrawText and
// CalcWidth consume the tags' change marks, so each needs its own SetText.

enum class TqlrHAlign { haLeft, haRight, haCenter, haBlock };
RTL_ENUM(TqlrHAlign, "haLeft", "haRight", "haCenter", "haBlock")
enum class TqlrVAlign { vaTop, vaBottom, vaCenter };
RTL_ENUM(TqlrVAlign, "vaTop", "vaBottom", "vaCenter")

// The attributes of one laid-out character.
struct TqlrHTMLTag {
    int Position = 0;   // 1-based in the source text, tags and line ends counted
    int Size = 0;       // points
    int AddY = 0;       // 1: lowered (subscript)
    gui::TFontStyles Style;
    gui::TColor Color = 0;
    bool Default = false;   // brings no change of attributes
    bool Small = false;     // drawn at the sub/superscript size
    bool DontWRAP = false;  // inside <nowrap>
    void Assign(const TqlrHTMLTag& t);
};
using TqlrHTMLTags = std::vector<TqlrHTMLTag>;

class TqlrHTMLTagsList {
public:
    bool AllowTags = true;
    int AddY = 0;
    gui::TColor Color = 0, DefColor = 0;
    int DefSize = 10, Size = 10;
    gui::TFontStyles DefStyle, Style;
    int Position = 1;
    bool DontWRAP = false;
    std::vector<TqlrHTMLTags> Items;

    void Clear() { Items.clear(); }
    int Count() const { return static_cast<int>(Items.size()); }
    void SetDefaults(gui::TColor defColor, int defSize, const gui::TFontStyles& defStyle);
    // Interprets and removes the tags of s, recording one tag per remaining
    // character on the last line.  An empty result becomes one blank.
    void ExpandHTMLTags(std::u16string& s);
    void BeginLine() { Items.emplace_back(); }
    void SplitLine(int count, bool hyphen);
    // The same as SplitLine for each (count, hyphen) in order, in one pass
    // over the last line (a long line splits in linear time).
    void SplitLines(const std::vector<std::pair<int, bool>>& splits);
    TqlrHTMLTags& LineAt(int index) { return Items[static_cast<std::size_t>(index)]; }
    // Per-character widths of line (cumulative when asked) plus spacing on
    // the canvas, styled by the tags of tag line tagLine; returns the total.
    int MeasureCharWidths(const std::u16string& line, std::vector<int>& widths, bool cumulative, int spacing,
                          int tagLine, gui::TCanvas& canvas);

private:
    void RecordCharTag();
    const TqlrHTMLTag* PreviousTag() const;
};

class TqlrDrawText {
public:
    TqlrDrawText();
    ~TqlrDrawText();
    TqlrDrawText(const TqlrDrawText&) = delete;
    TqlrDrawText& operator=(const TqlrDrawText&) = delete;

    // One lock for every instance.
    static void Lock();
    static void Unlock();

    void SetFont(const gui::TFont* font);
    void SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped, bool wysiwyg,
                    int rotation);
    void SetGaps(long double paragraphGap, long double charSpacing, long double lineSpacing);
    void SetDimensions(long double scaleX, long double scaleY, long double printScale, const gui::TRect& originalRect,
                       const gui::TRect& scaledRect);
    void SetText(const std::vector<std::u16string>& text);
    void SetParaBreaks(bool firstParaBreak, bool lastParaBreak);
    void DrawText(gui::TCanvas* canvas, TqlrHAlign hAlign, TqlrVAlign vAlign);
    long double CalcHeight() const;
    long double CalcWidth();
    long double LineHeight() const { return TextHeight() + FLineSpacing; }
    long double TextHeight() const;
    long double UnusedSpace() const;
    std::u16string GetOutBoundsText(bool& paraBreak);
    const std::u16string& GetInBoundsText() const { return FPlainText; }
    std::u16string GetWrappedText() const;
    std::u16string DeleteTags(std::u16string txt);

    // The laid-out lines and their flags (1: first line of a paragraph,
    // 2: last line).
    const std::vector<std::u16string>& Lines() const { return FText; }
    int LineFlags(int index) const { return FFlags[static_cast<std::size_t>(index)]; }
    const TqlrHTMLTagsList& Tags() const { return FHTMLTags; }
    gui::TCanvas* LayoutCanvas() const { return FCanvas; }
    bool UseDefaultCharset = true;

private:
    void WrapSourceLine(const std::u16string& line, int fullWidth, int firstWidth, int spacing);
    void AddLine(const std::u16string& line);
    void PaintLine(gui::TCanvas* canvas, int index, TqlrHAlign align, int wd, int y, int x, double cosA,
                   double sinA);
    void PlaceTextBlock(TqlrVAlign vAlign, int h, int& x, int& y, int& wd, double& cosA, double& sinA);
    int FitLines() const;

    std::unique_ptr<gui::TBitmap> FBMP;
    gui::TCanvas* FCanvas;
    int FDefPPI = 600, FScrPPI = 96;
    int FFontSize = 10;
    TqlrHTMLTagsList FHTMLTags;
    long double FCharSpacing = 0, FLineSpacing = 0, FParagraphGap = 0;
    uint32_t FOptions = 0;
    gui::TRect FOriginalRect, FScaledRect;
    std::u16string FPlainText;
    long double FPrintScale = 1;
    int FRotation = 0;
    bool FRTLReading = false;
    long double FScaleX = 1, FScaleY = 1;
    std::vector<std::u16string> FText;
    std::vector<int> FFlags;
    bool FWordBreak = false, FWordWrap = true, FWysiwyg = true;
    std::vector<int> FWidths;  // sized to the line, never a fixed capacity
};

// The instance of text objects outside a report and of the PDF export.
TqlrDrawText& SharedDrawText();
// Break positions (1-based, ascending) of an upper-case Cyrillic word.
std::vector<int> HyphenPositions(const std::u16string& w);
// The part of the word at from (1-based) that fits upto - from characters
// with a hyphen; empty when there is none.
std::u16string FindHyphenPoint(const std::u16string& s, int from, int upto, int n);
// Spreads n increments of step over a[lo..hi], halving recursively.
void SpreadIncrements(std::vector<int>& a, int lo, int hi, int step, int n);

// The text object.  Its text comes from a data field or from the template
// with [expressions] replaced by their formatted values; the serializer
// writes it as the pair "Text" and reads "Text", "x" and "u" into it.
class TqlrCustomMemoView : public TqlrStretcheable {
    RTL_CLASS(TqlrCustomMemoView, TqlrStretcheable)
public:
    explicit TqlrCustomMemoView(rtl::TComponent* owner);
    ~TqlrCustomMemoView() override;
    // The lines joined by CR LF.
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v) { FText = v; }
    std::vector<std::u16string> Lines() const;
    // The lines as a list scripts can change: its changes go to Text, and
    // a changed Text shows in it.
    TWideStrings* LinesObject();
    // The text as bytes of the single-byte (or multi-byte Asian) code page of
    // the font's character set, and back; raises EOSError for a character
    // set without a page.
    std::string AnsiText() const;
    void SetAnsiText(const std::string& bytes);
    // Whether data and expressions pass through the font's code page: the
    // font has a character set of its own (not 1) and UseDefaultCharset is
    // off.
    bool ConvertsCharset() const;
    bool AllowExpressions() const { return FAllowExpressions; }
    void SetAllowExpressions(bool v) { FAllowExpressions = v; }
    bool AllowHTMLTags() const { return FAllowHTMLTags; }
    void SetAllowHTMLTags(bool v) { FAllowHTMLTags = v; }
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool v) { FAutoWidth = v; }
    long double CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(long double v) { FCharSpacing = v; }
    bool Clipped() const { return FClipped; }
    void SetClipped(bool v) { FClipped = v; }
    TqlrFormat* DisplayFormat() const { return FDisplayFormat.get(); }
    void SetDisplayFormat(TqlrFormat* v) { FDisplayFormat->Assign(v); }
    const std::string& ExpressionDelimiters() const { return FExpressionDelimiters; }
    void SetExpressionDelimiters(const std::string& v) { FExpressionDelimiters = v; }
    TqlrCustomMemoView* FlowTo() const { return FFlowTo; }
    void SetFlowTo(TqlrCustomMemoView* v);
    bool FirstParaBreak() const { return FFirstParaBreak; }
    void SetFirstParaBreak(bool v) { FFirstParaBreak = v; }
    bool LastParaBreak() const { return FLastParaBreak; }
    void SetLastParaBreak(bool v) { FLastParaBreak = v; }
    long double GapX() const { return FGapX; }
    void SetGapX(long double v) { FGapX = v; }
    long double GapY() const { return FGapY; }
    void SetGapY(long double v) { FGapY = v; }
    TqlrHAlign HAlign() const { return FHAlign; }
    void SetHAlign(TqlrHAlign v) { FHAlign = v; }
    bool HideZeros() const { return FHideZeros; }
    void SetHideZeros(bool v) { FHideZeros = v; }
    TqlrHighlight* Highlight() const { return FHighlight.get(); }
    void SetHighlight(TqlrHighlight* v) { FHighlight->Assign(v); }
    long double LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(long double v) { FLineSpacing = v; }
    long double ParagraphGap() const { return FParagraphGap; }
    void SetParagraphGap(long double v) { FParagraphGap = v; }
    int Rotation() const { return FRotation; }
    void SetRotation(int v) { FRotation = v % 360; }
    bool RTLReading() const { return FRTLReading; }
    void SetRTLReading(bool v) { FRTLReading = v; }
    const std::string& Style() const { return FStyle; }
    void SetStyle(const std::string& v);
    bool SuppressRepeated() const { return FSuppressRepeated; }
    void SetSuppressRepeated(bool v) { FSuppressRepeated = v; }
    bool Underlines() const { return FUnderlines; }
    void SetUnderlines(bool v) { FUnderlines = v; }
    TqlrVAlign VAlign() const { return FVAlign; }
    void SetVAlign(TqlrVAlign v) { FVAlign = v; }
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool v) { FWordBreak = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool v) { FWysiwyg = v; }
    bool UseDefaultCharset() const { return FUseDefaultCharset; }
    void SetUseDefaultCharset(bool v) { FUseDefaultCharset = v; }
    const rtl::Variant& Value() const { return FValue; }
    void SetValue(const rtl::Variant& v) { FValue = v; }
    int TotalPages() const { return FTotalPages; }
    void SetTotalPages(int v) { FTotalPages = v; }
    int CopyNo() const { return FCopyNo; }
    void SetCopyNo(int v) { FCopyNo = v; }
    long double PrintScale() const { return FPrintScale; }
    void SetPrintScale(long double v) { FPrintScale = v; }
    const gui::TRect& TextRect() const { return FTextRect; }

    // Color, font and frame from a style item (nothing for nullptr).
    void ApplyStyle(const TqlrStyleItem* style);
    // The text of a value under a display format (nullptr: DisplayFormat).
    std::string FormatData(const rtl::Variant& value, const TqlrFormat* format = nullptr) const;
    void ResetSuppress() { FLastValue = rtl::Variant(std::string()); }
    void ExtractMacros();
    // The laid-out lines (wrapWords) or the text without its markup.
    std::string WrapText(bool wrapWords);
    std::string GetComponentText() override;
    std::string GetDescription() const override;

    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;
    std::string Diff(TqlrComponent* aComponent) override;
    long double CalcHeight() override;
    virtual long double CalcWidth();
    long double DrawPart() override;
    void InitPart() override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void PrepareDeviceRect(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                           long double offsetY) override;

private:
    TqlrDrawText& Layout() const;
    // The text area for a device rectangle already prepared.
    gui::TRect TextArea(long double scaleX, long double scaleY) const;
    long double ExtraHeight() const;
    long double ExtraWidth() const;
    void SetupLayout(TqlrDrawText& dt, long double scaleX, long double scaleY, long double offsetX,
                     long double offsetY, gui::TCanvas* canvas);
    void SetupFontAndOptions(TqlrDrawText& dt);
    std::string EvaluateExpression(const std::string& expr);

    bool FAllowExpressions = true, FAllowHTMLTags = false, FAutoWidth = false, FClipped = true;
    long double FCharSpacing = 0;
    std::unique_ptr<TqlrFormat> FDisplayFormat;
    std::string FExpressionDelimiters = "[,]";
    TqlrCustomMemoView* FFlowTo = nullptr;
    bool FFirstParaBreak = false, FLastParaBreak = false;
    long double FGapX = 2, FGapY = 1;
    TqlrHAlign FHAlign = TqlrHAlign::haLeft;
    bool FHideZeros = false;
    std::unique_ptr<TqlrHighlight> FHighlight;
    long double FLineSpacing = 2, FParagraphGap = 0;
    std::string FText;
    std::u16string FPartMemo;
    int FRotation = 0;
    bool FRTLReading = false;
    std::string FStyle;
    bool FSuppressRepeated = false;
    std::string FTempMemo;
    bool FUnderlines = false;
    TqlrVAlign FVAlign = TqlrVAlign::vaTop;
    rtl::Variant FValue = rtl::Variant::Null();
    bool FWordBreak = false, FWordWrap = true, FWysiwyg = true, FUseDefaultCharset = false;
    rtl::Variant FLastValue = rtl::Variant::Null();
    int FTotalPages = 0, FCopyNo = 0;
    gui::TRect FTextRect;
    long double FPrintScale = 1;
    std::unique_ptr<TWideStrings> FLinesObject;
};

class TqlrMemoView : public TqlrCustomMemoView {
    RTL_CLASS(TqlrMemoView, TqlrCustomMemoView)
public:
    using TqlrCustomMemoView::TqlrCustomMemoView;
};

// The system-text object: a memo for the report's system values and
// aggregates ("[Page#]", "[SUM(...)]"), described as such.
class TqlrSysMemoView : public TqlrCustomMemoView {
    RTL_CLASS(TqlrSysMemoView, TqlrCustomMemoView)
public:
    using TqlrCustomMemoView::TqlrCustomMemoView;
    std::string GetDescription() const override;
};

} // namespace qlr
