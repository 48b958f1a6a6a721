// The delta-T dialog: the user's delta-T table file from the program's
// DeltaT folder, the switch for the internal yearly table from 1620 on, and
// a plot of delta T over one of four spans of years to show the choice.
//
// The rule a caller must know: the dialog changes the process-wide delta-T
// state itself (it loads tables into compute::DeltaTTable and sets
// compute::UseInternalDeltaTTable); after OK the caller takes the file name
// of DeltaTFile() over.  Cancel, and OK without a file chosen, keep the
// table that was loaded before the dialog (or none).
//
//     TDeltaTDlg dlg(mainForm);
//     dlg.SetDeltaTFile(DeltaTPath + "Morrison and Stephenson (2004)");
//     if (dlg.ShowModal() == gui::mrOk) UseTable(dlg.DeltaTFile());
#pragma once

#include <memory>
#include <string>

#include "chart/PlotChart.h"
#include "compute/AstroBase.h"
#include "controls/ExCombo.h"
#include "htmltext/HTMLLabel.h"
#include "htmltext/htmlbuttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/FileCtrl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

// Declared only: its header and the caption panel's both name a
// controls::TCaptionPosition, so the two cannot meet in one unit.
namespace controls {
class TExGroupBox;
}

namespace app {

// One of the four spans of the plot (item of CBTimeSpan): years, Y range,
// Y caption and the factor from days to the caption's unit.
struct TDeltaTSpan {
    int FirstYear, LastYear;
    double YLow, YHigh;
    const char* Caption;
    double Factor;
};
const TDeltaTSpan& DeltaTSpan(int item);   // item 0..3; others give item 1

class TDeltaTDlg : public gui::TForm {
public:
    explicit TDeltaTDlg(rtl::TComponent* owner);
    ~TDeltaTDlg() override;

    gui::TButton* OKBtn = nullptr;
    gui::TButton* CancelBtn = nullptr;
    gui::TPanel* MainPanel = nullptr;
    controls::TExGroupBox* GBDeltaT = nullptr;
    gui::TFileListBox* DeltaTFileListBox = nullptr;
    htmltext::THTMLCheckBox* CBUseInternalTable = nullptr;
    chart::TPlotChart* Chart = nullptr;
    controls::TExComboBox* CBTimeSpan = nullptr;
    htmltext::THTMLLabel* LLegend = nullptr;

    // The chosen table file with its folder.  Writing it selects it in the
    // file list and makes it the initial file too.
    const std::string& DeltaTFile() const { return FDeltaTFile; }
    void SetDeltaTFile(const std::string& value);
    const std::string& InitialDeltaTFile() const { return FInitialDeltaTFile; }
    htmltext::TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(htmltext::TButtonType value);

    // The handlers (a table that fails to load raises its exception).
    void FormShow();
    void DeltaTFileListBoxClick();
    void DeltaTFileListBoxDblClick();
    void OKBtnClick();
    void CancelBtnClick();
    bool FormCloseQuery();
    void CBTimeSpanChange();
    void CBUseInternalTableClick();
    // Loads the chosen file and draws delta T over the selected span.
    void PlotDeltaT();

private:
    // Puts back the table as it was when the dialog was shown.
    void RestoreInitialTable();

    std::string FInitialDeltaTFile, FDeltaTFile;
    htmltext::TButtonType FButtonType = htmltext::TButtonType::btClassic;
    // The table as the dialog found it, and whether it was loaded then.
    std::unique_ptr<compute::TDeltaTTable> FInitialTable;
    // Set once the table from before is back: the dialog may close
    // although that state was a failed table.
    bool FRestored = false;
};

} // namespace app
