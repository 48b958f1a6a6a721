// The print selection dialog: print the eclipse map or the location table
// (the latter optionally as a preview).
#pragma once

#include "htmltext/htmlbuttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TPrintSelectDlg : public gui::TForm {
public:
    explicit TPrintSelectDlg(rtl::TComponent* owner);
    gui::TButton* OKBtn;
    gui::TButton* CancelBtn;
    htmltext::THTMLRadioButton* RBEclipseMap;
    htmltext::THTMLRadioButton* RBLocationTable;
    htmltext::THTMLCheckBox* CBPreview;
    bool FPrintLocationTable = false;
    bool FPrintEclipseMap = true;
    bool FPreview = false;
    void SetPreview(bool value);
    void SetPrintEclipseMap(bool value);
    void SetPrintLocationTable(bool value);

private:
    void RadioClick();
};

} // namespace app
