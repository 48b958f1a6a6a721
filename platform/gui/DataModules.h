// TDataModule, a non-visual container of components (data sets, dialogs,
// timers) that scripts and forms reach by name, and the printer set-up
// dialog.
//
// The rule a caller must know: it owns what it contains, like a form, but
// has no window.
//
//     gui::TDataModule dm(nullptr);
//     auto* dlg = new gui::TOpenDialog(&dm);   // freed with dm
#pragma once

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Classes.h"

namespace gui {

class TDataModule : public rtl::TComponent {
public:
    explicit TDataModule(rtl::TComponent* owner) : rtl::TComponent(owner) {}
    rtl::TNotifyEvent OnCreate;
    rtl::TNotifyEvent OnDestroy;
};

// The printer set-up dialog: the print dialog on the current printer's
// settings; OK hands the choice (printer, paper, orientation) to Printer().
class TPrinterSetupDialog : public TCommonDialog {
public:
    explicit TPrinterSetupDialog(rtl::TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;
};

} // namespace gui
