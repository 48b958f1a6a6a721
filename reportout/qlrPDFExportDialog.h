// The options dialog of the PDF export: page range, export settings,
// document information, passwords and permissions, viewer preferences.
// TqlrPDFExport::ShowModal fills it from the export, shows it, reads the
// choices back and asks for the file name.
//
// The rule a caller must know: the dialog only holds the controls; the
// export copies its options in and out (see TqlrPDFExport::ShowModal).
//
//     qlr::TqlrPDFExportDialog dlg(nullptr);
//     dlg.CompressedCB->SetChecked(true);
//     if (dlg.ShowModal() == gui::mrOk) ...
#pragma once

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {

class TqlrPDFExportDialog : public gui::TForm {
public:
    explicit TqlrPDFExportDialog(rtl::TComponent* owner);

    gui::TPageControl* PageControl1;
    gui::TTabSheet *ExportPage, *InfoPage, *SecurityPage, *ViewerPage;
    gui::TGroupBox *GroupPageRange, *GroupQuality, *DocInfoGB, *SecGB, *PermGB, *ViewerGB;
    gui::TRadioButton *AllRB, *CurPageRB, *PageNumbersRB;
    gui::TEdit* PageNumbersE;
    gui::TLabel* DescrL;
    gui::TCheckBox *CompressedCB, *EmbeddedCB, *PrintOptCB, *OutlineCB, *BackgrCB, *OpenCB;
    gui::TLabel *TitleL, *AuthorL, *SubjectL, *KeywordsL, *CreatorL, *ProducerL;
    gui::TEdit *TitleE, *AuthorE, *SubjectE, *KeywordsE, *CreatorE, *ProducerE;
    gui::TLabel *OwnPassL, *UserPassL;
    gui::TEdit *OwnPassE, *UserPassE;
    gui::TCheckBox *PrintCB, *ModCB, *CopyCB, *AnnotCB;
    gui::TCheckBox *HideToolbarCB, *HideMenubarCB, *HideWindowUICB, *FitWindowCB, *CenterWindowCB, *PrintScalingCB;
    gui::TButton *OkB, *CancelB;
    gui::TSaveDialog* SaveDialog1;
};

// Adds the export filters' string table to the report engine's string
// resources (once; later calls do nothing).
void AddExportFilterStrings();
// The string table as XML (for tests).
const char* ExportFilterStringTable();

} // namespace qlr
