// TExInplaceEdit: the string grid's default text editor.  It filters typed
// and pasted characters by the cell's editor type, keeps the grid's length
// limit, shows password cells masked, completes from the grid's lookup list
// and lets Esc put back the text the cell had when editing began.  Its text
// may hold lines: Ctrl+Enter (with Navigation.AllowCtrlEnter) or Enter
// (with Navigation.LineFeedOnEnter) types a CR LF line break, and Up and
// Down move between the lines before they leave the cell.
//
// The one rule: the grid creates it (CreateEditor) and shows, places and
// hides it; an application never creates one itself.
//
//   grid->SetOptions(grid->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
//   grid->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edNumeric; };
//   grid->ShowEditor();   // a TExInplaceEdit that takes digits only
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "grid/ExEditMask.h"
#include "platform/gui/Grids.h"

namespace grid {

class TExStringGrid;

class TExInplaceEdit : public gui::TInplaceEdit {
public:
    explicit TExInplaceEdit(TExStringGrid* grid);

    // Inserts text as a paste does: the paste events may refuse it, a
    // trailing line break is dropped and the editor type may reject it.
    // True when the text went in.
    bool PasteText(const std::string& text);
    // Whether auto-completion runs after the next key (off after Backspace
    // and Delete).
    bool Workmode() const { return FWorkmode; }
    // The cell's edit mask (OnGetEditMask) while the editor is open on it.
    bool HasMask() const { return FMask && !FMask->Empty(); }
    const TEditMask* Mask() const { return FMask.get(); }
    // The text the cell keeps for a text shown in the mask.
    std::string StoredText(const std::string& shown) const;
    void UpdateContents() override;
    // Right-aligned text (set by the grid for each cell it fills from the
    // cell's alignment).
    bool VAlign() const { return FVAlign; }
    void SetVAlign(bool v);
    // Long lines wrap at the editor's width (the grid's WordWrap).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Dispatch(gui::TMessage& message) override;

    std::string ClassName() const override { return "TExInplaceEdit"; }

protected:
    void Paint() override;
    // Reports the change (OnEditChange) unless the grid is filling the editor.
    void Change() override;

private:
    // Multi-line text: the lines (UTF-16 start of each, line breaks CR LF
    // or LF), the line of a position, a line break typed at the caret, the
    // caret moved to the line above or below (false at the first / last).
    std::vector<int> LineStarts() const;
    int LineOf(int pos) const;
    void InsertLineBreak();
    bool CaretToLine(int delta);
    // The lines as shown: the text's own lines, each cut at the editor's
    // width with WordWrap ([first, end) in UTF-16 units, line breaks left out).
    struct TShownLine {
        int First, End;
    };
    std::vector<TShownLine> ShownLines(gui::TCanvas* c) const;
    // Drawn by the editor itself (not the plain one-line way): several
    // shown lines or right alignment.
    bool OwnLayout();
    // Left edge of a shown line's text, its vertical start, and the
    // character nearest a client point.
    int LineLeft(gui::TCanvas* c, const TShownLine& line) const;
    int LinesTop(gui::TCanvas* c, int count) const;
    int CharAtPoint(int x, int y);
    void PaintLines();
    // SizeWhileTyping.Height with MultilineCells: the row grows to the lines typed.
    void GrowRowToLines();
    // SizeWhileTyping.Width: the column grows to the widest line typed.
    void GrowColumnToText();
    void CellLook();
    void FocusLost();
    void ReportCaret();
    // Completes the text before the caret from the lookup list.
    void DoChange();
    // Validates the text before a key leaves the cell; on refusal the
    // editor stays with the validated text selected (or the caret at its end).
    bool ValidateBeforeLeaving();
    bool CursorWalkKeyDown(bool left, bool shiftDown);
    bool CursorWalkKeyUp(bool left, gui::TShiftState shift);
    void CopySelection();
    void CopyOrCut(bool cut);
    bool Beep();

    // Masked typing, Backspace and Delete; true when the key was the mask's.
    bool MaskKey(char16_t key);
    TExStringGrid* FExGrid;
    std::unique_ptr<TEditMask> FMask;
    bool FWorkmode = true;
    bool FSkipEnter = false;
    int FSelKeyDown = 0;  // caret when the last key went down
    bool FVAlign = false;
    bool FWordWrap = false;
};

} // namespace grid
