// TLocationsDlg: the locations database, a list kept in LocationsFile from
// which locations are picked and which is maintained in the dialog itself
// (add, edit, delete, import, sort, search).
// Rule: created once at start-up and kept to the end; every change is
// written to the file at once, through TLocationsDatabase, so a database
// that could not be read is never overwritten.
//   if (dlg->ShowModal() == gui::mrOk)
//       for (int j = 0; TObserverData* o = dlg->SelectedLocation(j); ++j) ...
#pragma once

#include <memory>
#include <string>

#include "app/LocationsDatabase.h"
#include "app/ObserverDataLists.h"
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TOpenDialogEx;

class TLocationsDlg : public gui::TForm {
public:
    // Reads the database (creating the file when there is none).
    explicit TLocationsDlg(rtl::TComponent* owner);
    // Writes the database back (nothing while it is broken).
    ~TLocationsDlg() override;

    grid::TExStringGrid* SG;
    gui::TEdit* EFind;
    gui::TLabel* LFind;
    gui::TButton *OKBtn, *CancelBtn;
    TOpenDialogEx* OpenDlg;
    gui::TPopupMenu* PopupMenu;
    gui::TMenuItem *MIAdd, *MIEdit, *MISort, *MISortByName, *MISortByCountry, *MISortByLongitude,
        *MISortByLatitude, *MIImport, *MIDelete;

    TObserverDataList& LocationList() { return *FLocationList; }
    // Takes a copy of the list's locations and shows them.
    void SetLocationList(const TObserverDataList& list);
    const TLocationsDatabase& Database() const { return FDatabase; }

    // The location of the j-th selected row when the dialog was confirmed;
    // nullptr for j at or beyond their number.
    TObserverData* SelectedLocation(int j) const;
    int SelCount() const { return FSelCount; }

    void RefreshGrid();
    void EFindChange();
    void SGClickCell(int aRow, int aCol);
    void SGDblClick();
    void OKBtnClick();
    void MIAddClick();
    void MIEditClick();
    void MIDeleteClick();
    void MIImportClick();
    void SortBy(const std::string& order);

private:
    // Writes the list; a write error is shown, not raised.
    void Save();
    // Makes row current, the selection that row alone.
    void SelectRow(int row);
    std::unique_ptr<TObserverDataList> FLocationList;
    TLocationsDatabase FDatabase;
    int FSelCount = 0;
};

} // namespace app
