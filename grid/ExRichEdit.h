// ExRichEdit: TExRichEdit, the string grid's rich editor: the platform rich
// edit plus sub- and superscript selection helpers and the size it last
// asked for.  The grid owns two: a hidden one that measures and draws
// rich-text cells and the inplace one that edits them.
//
// The rule a caller must know: the owner must be the grid; while Locked the
// inplace editor does not grow the row as the text grows.
//
//   grid->CellToRich(1, 2, grid->RichEdit());
//   grid->RichEdit()->SelectAll();
//   grid->RichEdit()->SelSuperscript();
//   grid->RichToCell(1, 2, grid->RichEdit());
#pragma once

#include "platform/gui/RichEdit.h"

namespace grid {

class TExStringGrid;

class TExRichEdit : public gui::TRichEdit {
public:
    explicit TExRichEdit(TExStringGrid* grid);

    TExStringGrid* Grid() const { return FGrid; }
    // Vertical offset of the selection: 0, -40 or 40 twips.
    void SelNormal() { SelOffset(0); }
    void SelSubscript() { SelOffset(-40); }
    void SelSuperscript() { SelOffset(40); }
    bool IsSelNormal() const { return SelFormat().Offset == 0; }
    bool IsSelSubscript() const { return SelFormat().Offset == -40; }
    bool IsSelSuperscript() const { return SelFormat().Offset == 40; }
    void Lock() { FLocked = true; }
    void Unlock() { FLocked = false; }
    bool Locked() const { return FLocked; }
    // The size the editor last asked for.
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }

    // Up and Down leave the editor for the grid's own handling when the
    // grid has neither WordWrap nor multi-line cells.
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    // The inplace editor closes when the focus goes back to the grid.
    void Dispatch(gui::TMessage& message) override;

private:
    void SelOffset(int twips);
    void RequestResize(const gui::TRect& r);
    TExStringGrid* FGrid;
    int FReqWidth = 0;
    int FReqHeight = 0;
    bool FLocked = false;
};

} // namespace grid
