// GridIOHooks: the string grid's hook objects as gridio/ provides them:
// clipboard copy, cut and paste (GridClipboard.h), the full print settings
// every grid owns (GridPrintSettings.h), column sizes saved and loaded
// through ColumnSize (GridColumnStates.h), AssignCells through the native
// text stream, and the loading of dropped .CSV and .XLS files.  Installing
// also registers the automation objects of the XML import and the office
// exchange (XmlDomServer.h, OfficeServers.h).
//
// The rule a caller must know: call InstallGridIOHooks once at start, before
// the first grid is made (grids made earlier keep their plain printing
// options).
//
//   gridio::InstallGridIOHooks();
//   target->AssignCells(source);      // cells, widths and size of source
#pragma once

namespace gridio {

// Registers the hooks with grid/; calling it again changes nothing.
void InstallGridIOHooks();

} // namespace gridio
