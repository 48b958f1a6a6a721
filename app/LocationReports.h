// What the reports of the location table and of the eclipse lists share:
// the report templates built into the program, the quoting of report
// variable values, and the feed of a string grid into the cross-tab that
// prints it.
// Rule: feed the grid from the report's OnBeforePrint, for the cross-tab
// only; the cross-tab then prints the grid's columns in grid order.
//   report->OnBeforePrint = [&](qlr::TqlrReportComponent* c) {
//       if (auto* cross = dynamic_cast<qlr::TqlrCrossView*>(c)) FeedGridToCross(*SG, *cross, true);
//   };
#pragma once

#include <string>

#include "grid/ExGrid.h"
#include "report/qlrClass.h"
#include "report/qlrVariables.h"
#include "reportout/qlrCross.h"

namespace app {

// Resource names of the two templates.
inline constexpr const char* LocationTableReportResource = "LOCATIONTABLE_REPORT";
inline constexpr const char* LocationEclipsesReportResource = "LOCATIONECLIPSES_REPORT";

// A report variable's value as an expression giving text: the text in
// apostrophes, each apostrophe inside doubled, then ";" ("It's" ->
// "'It''s';").
std::string QuoteReportValue(const std::string& text);

// Loads the built-in template of that resource name into the report
// (rtl::Exception when the program carries no such template).
void LoadReportTemplate(qlr::TqlrReport& report, const std::string& resourceName);

// One cell value of the cross-tab: a blank before the text's first line
// break and one at each end.  A cell covered by a merged block (not its
// base cell) gives blank padded text, since its text is the base cell's.
// With replaceNotVisible, a text holding "no eclipse visible" gives "---".
std::string CrossCellText(grid::TExStringGrid& grid, int col, int row, bool replaceNotVisible);

// Adds every data cell of the grid, column by column: row key the row
// number, column key the column's header text.
void FeedGridToCross(grid::TExStringGrid& grid, qlr::TqlrCustomCrossView& cross, bool replaceNotVisible);

} // namespace app
