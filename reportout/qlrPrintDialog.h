// The print dialog of a report: printer, pages, copies, odd or even pages,
// order, duplex and the print mode (split, join or scale onto a sheet).  OK
// writes the choices into the report's print options.
//
// The rule a caller must know: set AReport (or, without a report, Options
// and CurPreviewPage) and ADuplexMode before ShowModal; after OK read
// ADuplexMode back.  Cancel restores the printer that was current; OK
// keeps the printer chosen.
//
// Example:
//   qlr::TqlrPrintDialog dlg(nullptr);
//   dlg.AReport = report;
//   dlg.ADuplexMode = report->PrintOptions()->Duplex;
//   if (dlg.ShowModal() == gui::mrOk) report->PrintOptions()->Duplex = dlg.ADuplexMode;
#pragma once

#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/UpDown.h"
#include "report/qlrClass.h"

namespace qlr {

class TqlrPrintDialog : public gui::TForm {
public:
    explicit TqlrPrintDialog(rtl::TComponent* owner);

    // The report printed: its print options and its preview's page are
    // taken on show.
    TqlrReport* AReport = nullptr;
    TqlrPrintOptions* Options = nullptr;
    // The page the preview shows (for "Current page").
    int CurPreviewPage = 1;
    TqlrDuplexMode ADuplexMode = TqlrDuplexMode::dmNone;
    int OldIndex = -1;

    gui::TGroupBox *PrinterGB, *PagesGB, *CopiesGB, *OtherGB, *ModeGB;
    gui::TLabel *NameL, *WhereL, *WhereL1, *DescrL, *CopiesL, *PrintL, *OrderL, *DuplexL, *PagSizeL;
    gui::TComboBox *PrintersCB, *PrintPagesCB, *OrderCB, *DuplexCB, *PrintModeCB, *PagPageSizeCB;
    gui::TButton *PropButton, *OkB, *CancelB;
    gui::TCheckBox *FileCB, *CollateCB;
    gui::TRadioButton *AllRB, *CurPageRB, *PageNumbersRB;
    gui::TEdit *PageNumbersE, *CopiesE;
    gui::TUpDown* CopiesUD;
    gui::TPaintBox* CopiesPB;
    gui::TSaveDialog* FileDlg;

    void PrintersChanged();
    void PrintModeChanged();
    void PropertiesClicked();

protected:
    void DoShow() override;
    bool CloseQuery() override;

private:
    void DrawPrinterItem(int index, const gui::TRect& rect, gui::TOwnerDrawState state);
    void DrawModeItem(int index, const gui::TRect& rect, gui::TOwnerDrawState state);
    void PaintCopies();
    // The sheet list's index of a paper code of the current printer.
    int SheetIndex(int paper) const;
};

} // namespace qlr
