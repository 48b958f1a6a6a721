// The catalogue dialog: the solar and lunar eclipse catalogues filtered by
// eclipse type and Saros series, sorted by any column, with a jump to a
// year and a small preview map of the eclipse under the cursor.
//
// The query building, the year jump and the preview are free functions
// here so that the dialog's behaviour can be driven without a window.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/MapTypes.h"

namespace db {
class TDataSet;
}
namespace gui {
class TBitmap;
}

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

} // namespace app
