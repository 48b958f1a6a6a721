// ExGridDragDrop: the string grid in drag and drop.  TGridDropTarget turns
// what is dropped on the grid into cells (text blocks, rich text, URLs, one
// CSV or sheet file) or hands a dragged column to OnOleDropCol, with the
// arrows showing where it lands; TGridDropSource follows a drag the grid
// started.  The grid registers its target while
// DragDropSettings.OleDropTarget is on.
//
// The rule a caller must know: dropped text is measured and pasted, and a
// dropped .CSV or .XLS file loaded, through the data-exchange hooks
// (TGridIOHooks, registered by gridio/).  Without hooks a text goes as it
// is into the non-fixed cells, and a file is asked about (OnOleDropFile,
// OnOleDrop) but not loaded.
//
//   grid->DragDropSettings()->SetOleDropTarget(true);
//   grid->OnOleDrop = [](rtl::TObject*, int r, int c, const std::string& s, bool& allow) { allow = r > 0; };
#pragma once

#include <string>

#include "gridbase/grddd.h"

namespace grid {

class TExStringGrid;

class TGridDropTarget : public gridbase::TGRDDropTarget {
public:
    explicit TGridDropTarget(TExStringGrid* grid);

    // Takes the accept flags from the grid's drag-and-drop settings first.
    int DragEnter(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pt, int allowed) override;
    void DropText(gui::TPoint pt, const std::string& s) override;
    void DropCol(gui::TPoint pt, int col) override;
    void DropRTF(gui::TPoint pt, const std::string& s) override;
    void DropFiles(gui::TPoint pt, rtl::TStringList* files) override;
    void DropURL(gui::TPoint pt, const std::string& s) override;
    void DragMouseMove(gui::TPoint pt, bool& allow, gridbase::TDropFormats dropFormats) override;
    void DragMouseLeave() override;

private:
    void DragScroll(gui::TPoint pt);
    TExStringGrid* FGrid;
};

class TGridDropSource : public gridbase::TGRDDropSource {
public:
    explicit TGridDropSource(TExStringGrid* grid) : FGrid(grid) {}
    void DragEnded() override;
    void CurrentEffect(int effect) override;
    void QueryDrag() override;
    // DROPEFFECT_COPY or DROPEFFECT_MOVE as last reported (0 before).
    int LastEffect() const { return FLastEffect; }

private:
    TExStringGrid* FGrid;
    int FLastEffect = 0;
};

} // namespace grid
