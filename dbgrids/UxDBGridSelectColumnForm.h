// The dialog in which the user ticks the columns of a TUxDBGrid to show.
// It lists the data set's fields that have a column (or, for scGrid, the
// grid's columns), ticked when visible; OK applies the ticks, Escape
// changes nothing; the last tick cannot be removed.
//
// The one rule: FillList runs on activation (and when the field-name box
// is clicked); ApplyColumns only with OK.
//
//   grid->ShowColumnsDialog();   // builds, places, shows and frees it
#pragma once

#include <string>

#include "dbgrids/UxDBGrid.h"
#include "dbgrids/UxExForms.h"
#include "platform/gui/CheckLst.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace dbgrids {

class TfrmSelectColumn : public TUxForm {
public:
    static constexpr int kItemHeight = 13;
    static constexpr int kMaxListHeight = 400;

    explicit TfrmSelectColumn(rtl::TComponent* owner);
    ~TfrmSelectColumn() override;

    gui::TPanel* Panel1;
    gui::TCheckBox* cbWithFieldName;
    gui::TButton* ButtonOK;
    gui::TCheckListBox* clbList;

    void SetGrid(TUxDBGrid* grid) { FUxDBGrid = grid; }
    void SetDataSource(db::TDataSource* source) { FDataSource = source; }
    void SetSelectColumn(TSelectColumn value) { FSelectColumn = value; }
    const std::string& NoSelectionWarning() const { return FNoSelectionWarning; }
    void SetNoSelectionWarning(const std::string& v) { FNoSelectionWarning = v; }
    bool ColumnUpdate() const { return FColumnUpdate; }
    bool CanHide() const { return FCanHide; }

    // Lists the columns with their ticks and sizes the form to them.
    void FillList();
    // After the user ticked or unticked an item.
    void ListClickCheck();
    // Sets every listed column's visibility to its tick.
    void ApplyColumns();
    // The column (index into the grid's columns) of an item.
    int ColumnOfItem(int item) const;

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;

protected:
    void Activate() override;
    void DoClose(gui::TCloseAction& action) override;

private:
    db::TDataSource* FDataSource = nullptr;
    TUxDBGrid* FUxDBGrid = nullptr;
    TSelectColumn FSelectColumn = TSelectColumn::scDataBase;
    bool FColumnUpdate = true, FCanHide = true;
    std::string FNoSelectionWarning = "At least one column must be visible!";
};

// The top-left corner for a dialog of that size shown below a grid's cell
// (0, 0): 1 pixel under its bottom-left corner, moved left and up into the
// work area.
gui::TPoint SelectColumnDialogPosition(TUxDBGrid* grid, int width, int height, const gui::TRect& workArea);

} // namespace dbgrids
