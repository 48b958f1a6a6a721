#include "app/DeltaTDlgs.h"

#include <algorithm>
#include <cmath>

#include "app/SEPaths.h"
#include "compute/DatesAndTimes.h"
#include "controls/ExGroupBox.h"

namespace app {

using namespace gui;

namespace {

const TDeltaTSpan Spans[4] = {
    {-3000, 3000, 0, 30, "delta T [h]", 24},
    {0, 3000, 0, 3, "delta T [h]", 24},
    {1500, 2200, -1, 10, "delta T [min]", 1440},
    {1800, 2100, -1, 4, "delta T [min]", 1440},
};

// The years from which the internal table, then its extrapolation, serve.
constexpr int InternalTableFirstYear = 1620;
constexpr int InternalTableLastYear = 2020;

// Runs a handler from an event: its exception goes to the application's
// error display.
template <class F>
void Guarded(rtl::TObject* sender, F f)
{
    try {
        f();
    } catch (...) {
        Application->HandleException(sender);
    }
}

} // namespace

const TDeltaTSpan& DeltaTSpan(int item) { return Spans[item >= 0 && item < 4 ? item : 1]; }

TDeltaTDlg::TDeltaTDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("delta T");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetKeyPreview(true);
    SetClientSize(660, 420);

    MainPanel = new TPanel(this);
    MainPanel->SetParent(this);
    MainPanel->SetBounds(8, 8, 644, 366);
    MainPanel->SetCaption("");

    GBDeltaT = new controls::TExGroupBox(this);
    GBDeltaT->SetParent(MainPanel);
    GBDeltaT->SetBounds(8, 6, 220, 290);
    GBDeltaT->SetCaption("delta T determination");
    DeltaTFileListBox = new TFileListBox(this);
    DeltaTFileListBox->SetParent(GBDeltaT);
    DeltaTFileListBox->SetBounds(8, 20, 204, 260);
    DeltaTFileListBox->OnClick = [this](rtl::TObject* s) { Guarded(s, [this] { DeltaTFileListBoxClick(); }); };
    DeltaTFileListBox->OnDblClick = [this](rtl::TObject* s) { Guarded(s, [this] { DeltaTFileListBoxDblClick(); }); };

    CBUseInternalTable = new htmltext::THTMLCheckBox(this);
    CBUseInternalTable->SetParent(MainPanel);
    CBUseInternalTable->SetBounds(8, 304, 220, 40);
    CBUseInternalTable->SetCaption("from 1620 use internal delta T table");
    CBUseInternalTable->OnClick = [this](rtl::TObject* s) { Guarded(s, [this] { CBUseInternalTableClick(); }); };

    Chart = new chart::TPlotChart(this);
    Chart->SetParent(MainPanel);
    Chart->SetBounds(236, 6, 400, 290);
    Chart->SetMarginLeft(35);
    Chart->SetMarginRight(5);
    Chart->SetMarginTop(14);
    Chart->SetMarginBottom(25);
    Chart->Scale1Y()->SetCaption("delta T [min]");

    CBTimeSpan = new controls::TExComboBox(this);
    CBTimeSpan->SetParent(MainPanel);
    CBTimeSpan->SetFlat(true);
    CBTimeSpan->SetEtched(true);
    CBTimeSpan->SetBounds(236, 304, 120, 21);
    CBTimeSpan->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* item : {"-3000 - 3000", "0 - 3000", "1500 - 2200", "1800 - 2100"}) CBTimeSpan->Items()->Add(item);
    CBTimeSpan->SetItemIndex(1);
    CBTimeSpan->OnChange = [this](rtl::TObject* s) { Guarded(s, [this] { CBTimeSpanChange(); }); };

    LLegend = new htmltext::THTMLLabel(this);
    LLegend->SetParent(MainPanel);
    LLegend->SetBounds(236, 334, 400, 20);

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(496, 386, 75, 25);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject* s) { Guarded(s, [this] { OKBtnClick(); }); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(577, 386, 75, 25);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    CancelBtn->OnClick = [this](rtl::TObject* s) { Guarded(s, [this] { CancelBtnClick(); }); };

    OnShow = [this](rtl::TObject* s) { Guarded(s, [this] { FormShow(); }); };
    OnCloseQuery = [this](rtl::TObject*, bool& canClose) { canClose = FormCloseQuery(); };

    // FormCreate: the check box's look and its caption with the version of
    // the yearly table.
    SetButtonType(htmltext::TButtonType::btVantor);
    CBUseInternalTable->SetCaption("from 1620 use internal delta T table  (v" +
                                   compute::YearlyDeltaTRecord().VersionText() + ")");
}

TDeltaTDlg::~TDeltaTDlg() = default;

void TDeltaTDlg::SetDeltaTFile(const std::string& value)
{
    FDeltaTFile = value;
    DeltaTFileListBox->SetFileName(value);
    FInitialDeltaTFile = value;
}

void TDeltaTDlg::SetButtonType(htmltext::TButtonType value)
{
    FButtonType = value;
    CBUseInternalTable->SetButtonType(value);
}

void TDeltaTDlg::FormShow()
{
    FRestored = false;
    FInitialTable = std::make_unique<compute::TDeltaTTable>(compute::DeltaTTable);
    DeltaTFileListBox->SetDirectory(DeltaTPath);
    DeltaTFileListBox->SetFileName(compute::DeltaTTable.FileName);
    FDeltaTFile = compute::DeltaTTable.FileName;
    FInitialDeltaTFile = FDeltaTFile;
    CBUseInternalTable->SetChecked(compute::UseInternalDeltaTTable);
    PlotDeltaT();
}

void TDeltaTDlg::DeltaTFileListBoxClick()
{
    FRestored = false;
    FDeltaTFile = DeltaTFileListBox->FileName();
    PlotDeltaT();
}

void TDeltaTDlg::DeltaTFileListBoxDblClick()
{
    FRestored = false;
    compute::LoadDeltaTTable(FDeltaTFile);
    SetModalResult(mrOk);
}

void TDeltaTDlg::RestoreInitialTable()
{
    if (FInitialTable) compute::DeltaTTable = *FInitialTable;
    FRestored = true;
}

void TDeltaTDlg::OKBtnClick()
{
    // No file chosen while the table from before had failed (or there was
    // none): that state stays, the dialog closes.
    if (FInitialTable && !FInitialTable->IsLoaded && FDeltaTFile == FInitialDeltaTFile) {
        RestoreInitialTable();
        return;
    }
    FRestored = false;
    compute::LoadDeltaTTable(FDeltaTFile);
}

void TDeltaTDlg::CancelBtnClick()
{
    // The table from before is read again when it was loaded; a table that
    // had failed (or none) is put back as it was, so that Cancel always
    // closes.  The check box's effect stays.
    if (FInitialTable && FInitialTable->IsLoaded) {
        try {
            compute::LoadDeltaTTable(FInitialDeltaTFile);
            return;
        } catch (const std::exception&) {
            // Changed on disk meanwhile: the copy read before serves.
        }
    }
    RestoreInitialTable();
}

bool TDeltaTDlg::FormCloseQuery() { return compute::DeltaTTable.Error == 0 || FRestored; }

void TDeltaTDlg::CBTimeSpanChange() { PlotDeltaT(); }

void TDeltaTDlg::CBUseInternalTableClick()
{
    compute::UseInternalDeltaTTable = CBUseInternalTable->Checked();
    PlotDeltaT();
}

void TDeltaTDlg::PlotDeltaT()
{
    rtl::TStringList legend;
    if (CBUseInternalTable->Checked())
        legend.Add("<font color=\"clNavy\">from delta T table file   </font> <font color=\"clRed\">from internal "
                   "table   </font> <font color=\"clGreen\">extrapolated</font>");
    else
        legend.Add("<font color=\"clNavy\">from delta T table file </font>");
    LLegend->SetHTMLText(&legend);

    const TDeltaTSpan& span = DeltaTSpan(CBTimeSpan->ItemIndex());
    Chart->SetRange(1, span.FirstYear, span.YLow, span.LastYear, span.YHigh);
    Chart->Scale1Y()->SetCaption(span.Caption);

    FRestored = false;
    compute::LoadDeltaTTable(FDeltaTFile);

    Chart->SetActiveLayer(1);
    Chart->ClearGraf();
    auto point = [&](int year) {
        return static_cast<double>(compute::DeltaT(compute::DecimalYearToJD(year))) * span.Factor;
    };
    // One piece from `from` to `to`, starting with a move; a piece without
    // a line (the span begins after its end) is left out.  Returns the year
    // the next piece starts from.
    auto piece = [&](int from, int to, TColor color) {
        if (from >= to) return from;
        Chart->SetDataColor(color);
        Chart->MoveTo(from, point(from));
        for (int year = from + 1; year <= to; ++year) Chart->DrawTo(year, point(year));
        return to;
    };
    if (compute::UseInternalDeltaTTable) {
        int year = piece(span.FirstYear, std::min(span.LastYear, InternalTableFirstYear), clNavy);
        if (year >= InternalTableFirstYear) {
            year = piece(year, std::min(span.LastYear, InternalTableLastYear), clRed);
            if (year >= InternalTableLastYear) piece(year, span.LastYear, clGreen);
        }
    } else {
        piece(span.FirstYear, span.LastYear, clNavy);
    }
    Chart->SetSuppressPaint(false);
    Chart->ShowGraf();
}

} // namespace app
