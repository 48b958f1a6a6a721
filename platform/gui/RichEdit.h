// RichEdit: TRichEdit, a control holding formatted text (bold, italic,
// underline, strike-out, colour, size, font, sub- and superscript, lines)
// that reads and writes the rich-text format's common subset, measures the
// height its text needs for a width, and draws itself or into any canvas.
//
// It is edited as users expect: typed characters go in with the typing
// format, Enter starts a new line, Backspace and Delete remove, the arrows,
// Home, End, Page keys and Ctrl+arrows move the caret (with Shift they
// select), a press places the caret and a drag selects; Ctrl+A selects
// all, Ctrl+C, Ctrl+X and Ctrl+V copy, cut and paste plain text, and
// Ctrl+B, Ctrl+I and Ctrl+U switch bold, italic and underline.
//
// The rule a caller must know: rich text is read forgivingly (unknown
// control words and groups are skipped, a cut-off text loads as far as it
// reads) and written back as the same subset; bytes are UTF-8.
//
//   gui::TRichEdit re(form);
//   re.LoadRichText("{\\rtf1 plain {\\b bold}\\par next}");
//   re.PlainText();                    // "plain bold\nnext"
//   re.RequiredSize(100).cy;           // pixels the text needs at width 100
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Controls.h"

namespace gui {

// Character format of a stretch of rich text.  Offset: the vertical offset
// in twips (negative: subscript, positive: superscript).
struct TRichCharFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Offset = 0;
    TColor Color = clBlack;
    int Size = 0;            // points; 0: the control's font size
    std::string FontName;    // empty: the control's font
};

// Which fields of a TRichCharFormat a change applies.
enum class TRichFormatPart { rfBold, rfItalic, rfUnderline, rfStrikeOut, rfOffset, rfColor, rfSize, rfFontName };
using TRichFormatParts = rtl::Set<TRichFormatPart, 8>;

class TRichEdit : public TCustomControl {
public:
    explicit TRichEdit(rtl::TComponent* owner);
    ~TRichEdit() override;

    // Rich text when it starts with "{\rtf", plain text otherwise.
    void LoadRichText(const std::string& text);
    std::string SaveRichText() const;
    // The whole stream read as LoadRichText / written as SaveRichText.
    void LoadFromStream(rtl::TStream& stream);
    void SaveToStream(rtl::TStream& stream) const;
    void Clear();
    // The text without formatting, lines separated by "\n".
    std::string PlainText() const;
    void SetPlainText(const std::string& text);

    // Selection in characters from the start of the text.
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    void SelectAll();
    // The format at the start of the selection (of the character after it
    // for an empty selection).
    TRichCharFormat SelFormat() const;
    // Applies the listed parts to the selection (to the typing format for
    // an empty selection).
    void SetSelFormat(const TRichCharFormat& format, TRichFormatParts parts);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Width: the width given; height: what the text needs at that width.
    TSize RequiredSize(int width) const;
    // Draws the text into r of the canvas (clipped to r).
    void RenderTo(TCanvas* canvas, const TRect& r) const;
    // Formats the text into a rectangle given in twips (1440 per inch) of
    // the canvas's device (a printer's resolution from LOGPIXELSX/Y), the
    // way a printout lays it out: the rectangle and the text are scaled from
    // the screen's 96 pixels per inch to the device's.  The canvas should be
    // in MM_TEXT while this runs.
    void FormatRange(TCanvas* canvas, const TRect& twips) const;

    // After each change of the text: the size the text asks for at the
    // control's width.
    std::function<void(rtl::TObject* sender, const TRect& requested)> OnRequestResize;
    rtl::TNotifyEvent OnSelectionChange;
    // After each change the user made to the text.
    rtl::TNotifyEvent OnChange;

    // The caret: the end of the selection that moves with Shift.
    int CaretPos() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Replaces the selection with text (lines separated by "\n") in the
    // typing format, the caret after it.
    void InsertText(const std::string& text);

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;
    virtual void Change();

private:
    void ContentChanged();
    void EditedTo(int pos);
    // Moves the caret; with extend the anchor stays and the text between is selected.
    void MoveCaret(int pos, bool extend);
    // The caret position a movement key leads to (-1: not a movement key).
    int CaretTarget(uint16_t key, bool ctrl);
    bool ShortcutKey(uint16_t key);
    void DeleteSelectionOr(int direction);
    void ToggleFormat(uint16_t key);
    int PosAt(int x, int y) const;
    void LayoutForEditing() const;
    struct Impl;
    std::unique_ptr<Impl> FImpl;
    bool FWordWrap = true;
    bool FReadOnly = false;
};

} // namespace gui
