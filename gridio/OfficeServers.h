// OfficeServers: in-process stand-ins for the office automation servers
// the grid's office exchange talks to by late binding: "excel.application"
// (workbooks kept as Office Open XML spreadsheets), "word.application"
// (Office Open XML word-processing documents) and "ADODB.Connection" /
// "ADODB.RecordSet" (queries on the SQLite file named by DBQ=).  Each
// object answers only the members the grid calls, names without regard to
// case; collections and cells count from 1.
//
// The rule a caller must know: register at start-up (InstallGridIOHooks
// does); an unregistered server makes the grid raise "... OLE server not
// found".
//
//   gridio::RegisterOfficeServers();
//   rtl::Variant xl = rtl::CreateOleObject("excel.application");
//   xl.AsDispatch()->GetProperty("WorkBooks", {});
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/Types.h"

namespace gridio {

void RegisterOfficeServers();
void UnregisterOfficeServers();

// Column letters: 1 -> "A", 26 -> "Z", 27 -> "AA", 52 -> "AZ".
std::string ColumnLetters(int col);
// "A1", "$B$2" ...: column and row (1-based); false for anything else.
bool ParseCellAddress(std::string_view text, int& col, int& row);
// A range address in A1 form ("$B$2:$C$3", "$A$1", "$3:$5" for whole
// rows, which span columns 1 .. 256): Left/Top the first column and row,
// Right/Bottom the last.  False when a row does not read as a number.
bool ParseRangeAddress(std::string_view address, gui::TRect& range);

} // namespace gridio
