// TLocationEclipsesDlg: what the dialogs of the solar and the lunar
// eclipses of one location share: the form (table, start year, number of
// events, calculate and print buttons, progress bar, time scale and delta-T
// labels, OK and Cancel), the year search over the catalogue's eclipse
// times, the checks of the two edits and the walk of the catalogue that
// lists the next eclipses seen from the place.  TLocationSEEclipsesDlg and
// TLocationLEEclipsesDlg say what is seen and what a row shows.
// Rule: the dialogs are created once and never raise for a missing or
// empty catalogue; CatalogueAvailable() says whether they can be used.
//   dlg->SetCatNo(see.CatNo());        // raises for a number not in it
//   dlg->SetNumEvents(50);
//   dlg->SetLocation(place);
//   if (dlg->ShowModal() == gui::mrOk && dlg->CatNo() >= 0) Use(dlg->CatNo());
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ObserverDataLists.h"
#include "controls/ExEdit.h"
#include "controls/ExProgressBar.h"
#include "grid/ExGrid.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {
class TqlrReport;
}

namespace app {

class TLocationEclipsesDlg : public gui::TForm {
public:
    // tableName: "BE_SE" or "BE_LE" of DatabaseFile.
    TLocationEclipsesDlg(rtl::TComponent* owner, const std::string& tableName);
    ~TLocationEclipsesDlg() override;

    grid::TExStringGrid* SG;
    controls::TExEdit *EYearStart, *ENumEvents;
    gui::TSpeedButton *SBCalculate, *SBPrint;
    controls::TExProgressBar* ProgressBar;
    gui::TLabel *LTimeShift, *LDeltaT;
    gui::TShape* Shape1;
    gui::TButton *OKBtn, *CancelBtn;
    db::TSQLiteTable* CBE;
    // The list report (A4 portrait, a cross-tab fed from SG).
    qlr::TqlrReport* qlrReport;

    // Whether the catalogue table opened with rows; without it the dialog
    // cannot list anything.
    bool CatalogueAvailable() const { return FCatalogueAvailable; }
    // Catalogue number of each listed eclipse, by grid row - 1.
    const std::vector<int32_t>& CatNoList() const { return FCatNoList; }

    int32_t CatNo() const { return FCatNo; }
    // Locates the number (rtl::Exception "Catalogue number out of range."
    // when the catalogue has no such row, nothing changed) and takes the
    // start year from its eclipse.
    void SetCatNo(int32_t value);
    int32_t YearStart() const { return FYearStart; }
    // -1999 .. 2999 (else ignored): positions the catalogue on the last
    // eclipse before 1 January of the year, or on number 1.
    void SetYearStart(int32_t value);
    int32_t NumEvents() const { return FNumEvents; }
    void SetNumEvents(int32_t value);
    const TObserverData& Location() const { return *FLocation; }
    void SetLocation(const TObserverData* value);
    int32_t TimeShiftMode() const { return FTimeShiftMode; }
    void SetTimeShiftMode(int32_t value);
    // The delta-T table file in use (no folder), named by LDeltaT where the
    // internal table does not serve.
    std::string DeltaTTableFile;

    // Return in either edit, and the Calculate button: both edits checked
    // (each out-of-range value told and its edit focused), the search run
    // when both are valid.  Ignored while a search runs.
    void CheckAndSearch();
    // Lists the next NumEvents eclipses seen from the location, from the
    // catalogue's current row on.
    void SearchEclipses();
    bool Searching() const { return FSearching; }
    void OKBtnClick();
    void SGDblClick();
    // The print button: the list report in the preview window.  Ignored
    // while a search runs.
    void SBPrintClick();
    // The report's variables and name for the next run: title, delta-T
    // source, time scale and the credit text.
    void SetUpReport();

protected:
    // The caption's start ("Solar Eclipses").
    virtual std::string Title() const = 0;
    // Grid columns, widths and headers.
    virtual void PrepareGrid() = 0;
    // Reads the catalogue's current row and solves it at the location:
    // whether it is listed.
    virtual bool ReadAndSolve() = 0;
    // Fills grid row r of the eclipse just solved (time offset z seconds).
    virtual void FillRow(int r, int z) = 0;
    // The eclipse read last: its catalogue number and Julian Day.
    virtual int32_t CurrentCatNo() const = 0;
    virtual long double CurrentJD() const = 0;
    // The credit text of the report: the program and the predictions' source.
    virtual std::string Notice() const = 0;
    // A contact cell: hh:mm:ss in zone z, CR LF, the altitude with one
    // decimal; grey below the horizon.
    void ContactCell(int c, int r, long double jd, long double altitude, int z);

    std::unique_ptr<TObserverData> FLocation;

private:
    std::vector<double> FEclipseTimes;   // JDE by catalogue number - 1
    std::vector<int32_t> FCatNoList;
    bool FCatalogueAvailable = false;
    bool FSearching = false;
    bool FStopSearch = false;
    int32_t FYearStart = 2000;
    int32_t FNumEvents = 100;
    int32_t FTimeShiftMode = 0;
    int32_t FCatNo = -1;
};

} // namespace app
