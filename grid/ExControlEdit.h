// The small editors that float over a grid cell outside the grid's own
// editing: TControlEdit and TControlCombo edit the value of an inline form
// control written into an HTML cell ("<CONTROL TYPE=\"EDIT\" ...>"), and
// TGridTransEdit is the borderless editor of a cell that may not be edited
// (a fixed cell).  Enter ends them; Tab moves on to the next inline control
// of the cell (or, with Navigation.AdvanceAuto, to the next cell).
//
// The one rule: the grid opens, places and closes them and writes their
// value back into the cell's markup (ShowInlineControl, InlineControlExit,
// ShowTransparentEditor); an application never shows them itself.
//
//   grid->SetCells(1, 1, "Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"\" WIDTH=\"60\">");
//   grid->EditNextCellControl(1, 1, "");   // the TControlEdit opens on "n"
#pragma once

#include <memory>
#include <string>

#include "grid/ExEditMask.h"
#include "gridbase/grdcombo.h"
#include "platform/gui/Mask.h"

namespace grid {

class TExStringGrid;

class TControlEdit : public gui::TCustomMaskEdit {
public:
    explicit TControlEdit(TExStringGrid* grid);
    // The control's PROP attribute for MASK controls: typing fills the
    // mask's input positions (ExEditMask.h); empty for none.
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& v);
    // The value to write back: the text as the mask stores it.
    std::string Value() const;
    const TEditMask* Mask() const { return FMask.get(); }
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;

private:
    TExStringGrid* FGrid;
    std::string FEditMask;
    std::unique_ptr<TEditMask> FMask;
};

class TControlCombo : public gridbase::TGRDComboBox {
public:
    explicit TControlCombo(TExStringGrid* grid);
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;

private:
    TExStringGrid* FGrid;
};

class TGridTransEdit : public gui::TCustomEdit {
public:
    explicit TGridTransEdit(TExStringGrid* grid);
    // Validates and writes the text into its cell; false (the box keeps
    // the focus on its cell) when the validation refuses.
    bool StopEdit();
    int FCol = -1, FRow = -1;
    void KeyPress(char16_t& key) override;
    void DoExit() override;

private:
    TExStringGrid* FGrid;
    bool FStopping = false;
};

} // namespace grid
