// Where the file dialogs of the report output start: the preview's save and
// open of prepared reports (".qp3") and the print dialog's print to file
// (".prn").  The program registers a hook that names the folder and the
// file name to offer; without one the dialogs start where the desktop
// chooses, with no name.
//
// The rule a caller must know: the hook runs just before the dialog shows
// and may set the dialog's InitialDir and FileName; the dialog's own
// options, filter and title are already set.  Registering an empty hook
// removes it.
//
// Example:
//   qlr::SetFileDialogHook([](gui::TOpenDialog& d, const qlr::TqlrFileDialogUse& use) {
//       d.InitialDir = documents;
//       if (use.Save && use.Report) d.FileName = use.Report->ReportOptions()->Name + use.Extension;
//   });
#pragma once

#include <functional>
#include <string>

#include "platform/gui/Dialogs.h"

namespace qlr {

class TqlrReport;

// What a file dialog is for: the report concerned (nullptr when none), a
// save or an open dialog, and the extension of its files (".qp3", ".prn").
struct TqlrFileDialogUse {
    TqlrReport* Report = nullptr;
    bool Save = false;
    std::string Extension;
};

using TqlrFileDialogHook = std::function<void(gui::TOpenDialog& dialog, const TqlrFileDialogUse& use)>;

void SetFileDialogHook(TqlrFileDialogHook hook);

// Lets the registered hook set the dialog's folder and file name.
void PrepareFileDialog(gui::TOpenDialog& dialog, const TqlrFileDialogUse& use);

} // namespace qlr
