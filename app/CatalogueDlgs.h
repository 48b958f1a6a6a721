// The catalogue dialog: the solar and lunar eclipse catalogues filtered by
// eclipse type and Saros series, sorted by any column, with a jump to a
// year and a small preview map of the eclipse under the cursor.
//
// The query building, the year jump and the preview are free functions
// here so that the dialog's behaviour can be driven without a window.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/MapTypes.h"
#include "controls/ExPageControl.h"
#include "controls/ExEdit.h"
#include "controls/ExToolBtn.h"
#include "dbgrids/UxDBSortGrid.h"
#include "htmltext/htmlbuttons.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/DBGrids.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

// Whether the Saros edit's text can go into a statement: empty (no
// filter) or a whole number.
bool ValidSarosText(const std::string& text);

// The statement lines of the catalogue query: the table, the types checked
// (solar: partial, total, annular, hybrid; lunar: penumbral, partial,
// total; the fourth item is ignored for the lunar table), the Saros
// filter when the trimmed text is not empty (it must be a whole number),
// and the order.  Texts in double quotes are string literals.
std::vector<std::string> CatalogueStatement(TEventType eventType, const std::array<bool, 4>& types,
                                            const std::string& sarosText, const std::string& order);

// The ORDER BY columns for a click on the title of column 0..6.
std::string CatalogueOrderForColumn(int column, TEventType eventType);

// The text a catalogue date (DT) of year y begins with: at least four
// digits, "-" in front for negative years.
std::string CatalogueYearKey(int year);

// Moves the cursor to the first row, in the current order, whose DT
// begins with the year, trying later years up to 2999 (a start year of
// 3000 or more is tried once).  False (cursor unchanged) when none matched.
bool GoToYear(db::TDataSet& dataSet, int year);

// The HSV brightness factor of a lunar visibility zone 0..11 in the
// preview (zone 6, totality visible, keeps the pixel).
double PreviewZoneFactor(int zone);

// Draws the eclipse of the data set's current row on the 360 x 180
// preview map: the built-in picture WORLD_360, then for each pixel the
// local circumstances at longitude 180 - i and latitude 90 - j (degrees,
// west positive).
void DrawCataloguePreview(db::TDataSet& dataSet, TEventType eventType, gui::TBitmap& map);

// The dialog.  The type filters are markup check groups, the preview's
// "General map" a markup check box, the lists sorting data-aware grids over
// the two queries (their titles are plain titles: a click orders the loaded
// rows in the dialog's own ORDER BY, in memory; a filter change re-queries).
class TCatalogueDlg : public gui::TForm {
public:
    explicit TCatalogueDlg(rtl::TComponent* owner);
    ~TCatalogueDlg() override;

    int SECatNo() const { return FSECatNo; }
    void SetSECatNo(int value);
    int LECatNo() const { return FLECatNo; }
    void SetLECatNo(int value);
    TEventType EventType() const { return FEventType; }
    void SetEventType(TEventType value);
    bool UseGeneralMap() const { return FUseGeneralMap; }
    void SetUseGeneralMap(bool value);

    // --- controls ----------------------------------------------------------
    controls::TExPageControl* PageControl;
    controls::TExTabSheet* TSSolarEclipses;  // page 0 "Solar Eclipses"
    controls::TExTabSheet* TSLunarEclipses;  // page 1 "Lunar Eclipses"
    dbgrids::TUxDBSortGrid* SEGrid;
    dbgrids::TUxDBSortGrid* LEGrid;
    htmltext::THTMLCheckGroup* CGSEType;  // partial, total, annular, hybrid
    htmltext::THTMLCheckGroup* CGLEType;  // penumbral, partial, total
    controls::TExEdit *ESESaros, *ELESaros, *ESEGoTo, *ELEGoTo;
    controls::TExToolButton *TBSEReset, *TBLEReset;
    gui::TPaintBox* PaintBox;
    htmltext::THTMLCheckBox* CBGeneralMap;
    gui::TTimer* Timer;
    gui::TButton *OKBtn, *CancelBtn;
    db::TSQLiteQuery* SETable;
    db::TSQLiteQuery* LETable;
    db::TDataSource *SEDataSource, *LEDataSource;

    std::string Order = "k";
    gui::TBitmap& Map() { return *FMap; }

    // --- handlers ----------------------------------------------------------
    void ApplyFilter();
    // A click on the title of column 0..6 of a page's grid.
    void TitleClick(TEventType page, int column);
    void GoToYearEdit(TEventType page);
    void ResetClick(TEventType page);
    void TimerTimer();
    void OKBtnClick();

private:
    void PageControlChange();
    void SetUpGrid(dbgrids::TUxDBSortGrid* grid, TEventType page);
    void FormatFields(db::TSQLiteQuery* query);
    db::TSQLiteQuery* Query(TEventType page) const { return page == etSolarEclipse ? SETable : LETable; }
    // The page's rows were read with the filter its controls show now
    // (whatever their order).
    bool LoadedWithCurrentFilter(TEventType page) const;
    // OK is enabled while the current page lists an eclipse.
    void UpdateOKButton();

    int FSECatNo = 0;
    int FLECatNo = 0;
    TEventType FEventType = etSolarEclipse;
    bool FUseGeneralMap = true;
    std::unique_ptr<gui::TBitmap> FMap;
    // Why the catalogue could not be opened ("" while it could).
    std::string FCatalogueError;
};

} // namespace app
