// GridIOHooks: the string grid's hook object (grid::TGridIOHooks) as
// gridio/ provides it: AssignCells copies through the native text stream,
// copying puts the selection on the clipboard as tab and CR LF separated
// text.  The operations gridio/ does not provide yet do nothing.  Installing
// also registers the XML DOM automation object the XML import uses.
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
