#include "app/LocationEclipsesDlgs.h"

#include <algorithm>
#include <chrono>

#include "app/EclipseMap.h"
#include "app/LocationReports.h"
#include "app/SEPaths.h"
#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

const TColor Grey = TColor(0x808080);
const TColor Cream = TColor(0xF0FBFF);

} // namespace

TLocationEclipsesDlg::TLocationEclipsesDlg(rtl::TComponent* owner, const std::string& tableName)
    : TForm(owner), FLocation(std::make_unique<TObserverData>())
{
    SetBorderStyle(TBorderStyle::bsSizeable);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(760, 420);
    Constraints()->MinWidth = 650;
    Constraints()->MinHeight = 320;

    SG = new grid::TExStringGrid(this);
    SG->SetParent(this);
    SG->SetBounds(8, 8, 744, 320);
    SG->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akRight, TAnchorKind::akBottom});
    SG->SetFixedCols(0);
    SG->SetDefaultRowHeight(32);
    SG->SetFixedRowHeight(34);
    SG->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                    TGridOption::goHorzLine, TGridOption::goRowSelect});
    SG->FixedFont()->SetStyle({TFontStyle::fsBold});
    SG->ActiveCellFont()->SetStyle({TFontStyle::fsBold});
    SG->SetSelectionColor(clActiveCaption);
    SG->SetSelectionTextColor(clHighlightText);
    SG->SetMultilinecells(true);
    SG->SetWordWrap(false);
    SG->SetScrollBars(TScrollStyle::ssBoth);
    SG->OnDblClick = [this](rtl::TObject*) { SGDblClick(); };

    auto edit = [this](int x, const std::string& label, bool isSigned) {
        auto* e = new controls::TExEdit(this);
        e->SetParent(this);
        e->SetBounds(x, 340, 56, 21);
        e->SetEditType(controls::TExEditType::etNumeric);
        e->SetSigned(isSigned);
        e->SetAlignment(TAlignment::taRightJustify);
        e->SetFocusColor(Cream);
        e->SetLabelCaption(label);
        e->SetLabelPosition(controls::TExEdit::TLabelPosition::lpLeftCenter);
        e->OnChange = [this](rtl::TObject*) { SBCalculate->SetEnabled(true); };
        e->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) {
            if (key == 13) CheckAndSearch();
        };
        e->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
        return e;
    };
    SBCalculate = new TSpeedButton(this);
    EYearStart = edit(100, "Start in year:", true);
    ENumEvents = edit(280, "Number of events:", false);
    SBCalculate->SetParent(this);
    SBCalculate->SetBounds(346, 338, 72, 25);
    SBCalculate->SetCaption("Calculate");
    SBCalculate->SetFlat(true);
    SBCalculate->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
    SBCalculate->OnClick = [this](rtl::TObject*) { CheckAndSearch(); };
    SBPrint = new TSpeedButton(this);
    SBPrint->SetParent(this);
    SBPrint->SetBounds(422, 338, 72, 25);
    SBPrint->SetCaption("Print");
    SBPrint->SetFlat(true);
    SBPrint->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
    SBPrint->OnClick = [this](rtl::TObject*) { SBPrintClick(); };
    ProgressBar = new controls::TExProgressBar(this);
    ProgressBar->SetParent(this);
    ProgressBar->SetBounds(500, 340, 252, 20);
    ProgressBar->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akRight, TAnchorKind::akBottom});
    Shape1 = new TShape(this);
    Shape1->SetParent(this);
    Shape1->SetBounds(8, 370, 744, 1);
    Shape1->Pen()->SetColor(clGray);
    Shape1->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akRight, TAnchorKind::akBottom});
    LTimeShift = new TLabel(this);
    LTimeShift->SetParent(this);
    LTimeShift->SetBounds(8, 384, 200, 16);
    LTimeShift->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
    LDeltaT = new TLabel(this);
    LDeltaT->SetParent(this);
    LDeltaT->SetBounds(212, 384, 360, 16);
    LDeltaT->SetAlignment(TAlignment::taRightJustify);
    LDeltaT->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(586, 380, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(672, 380, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    CancelBtn->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
    CancelBtn->OnClick = [this](rtl::TObject*) { FStopSearch = true; };
    OnShow = [this](rtl::TObject*) { SearchEclipses(); };
    OnClose = [this](rtl::TObject*, TCloseAction&) { FStopSearch = true; };

    // The catalogue in catalogue order, with the time of every eclipse for
    // the year search.  A missing or empty catalogue leaves the dialog
    // unusable but does not stop the program.
    CBE = new db::TSQLiteTable(this);
    try {
        CBE->SetDatabaseFile(DatabaseFile);
        CBE->SetTableName(tableName);
        CBE->Open();
        CBE->SetSort("CatNo");
        for (CBE->First(); !CBE->Eof(); CBE->Next())
            FEclipseTimes.push_back(static_cast<double>(CBE->FieldByName("JDE")->AsFloat()));
        CBE->First();
        FCatalogueAvailable = !FEclipseTimes.empty();
    } catch (const std::exception&) {
        FCatalogueAvailable = false;
    }
    SetNumEvents(100);
    SBCalculate->SetEnabled(false);

    qlrReport = new qlr::TqlrReport(this);
    qlrReport->SetName("qlrReport");
    LoadReportTemplate(*qlrReport, LocationEclipsesReportResource);
    qlrReport->OnBeforePrint = [this](qlr::TqlrReportComponent* sender) {
        if (auto* cross = dynamic_cast<qlr::TqlrCrossView*>(sender)) FeedGridToCross(*SG, *cross, false);
    };
}

TLocationEclipsesDlg::~TLocationEclipsesDlg()
{
    FStopSearch = true;
    if (CBE) CBE->Close();
}

void TLocationEclipsesDlg::SetCatNo(int32_t value)
{
    bool found = false;
    try {
        found = FCatalogueAvailable && CBE->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(value)));
    } catch (const std::exception&) {
        found = false;
    }
    if (!found) throw rtl::Exception("Catalogue number out of range.");
    FCatNo = value;
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, CBE->FieldByName("JDE")->AsFloat());
    FYearStart = rec.Year < 0 ? rec.Year + 1 : rec.Year;
    EYearStart->SetText(rtl::IntToStr(FYearStart));
}

void TLocationEclipsesDlg::SetYearStart(int32_t value)
{
    if (value < -1999 || value > 2999) return;
    FYearStart = value;
    EYearStart->SetText(rtl::IntToStr(value));
    if (!FCatalogueAvailable) return;
    const double x = static_cast<double>(compute::DecimalYearToJD(value));
    // The first eclipse after the year's start, then one back: the search
    // begins at the last eclipse at or before it (or at the first one).
    std::size_t n = static_cast<std::size_t>(std::upper_bound(FEclipseTimes.begin(), FEclipseTimes.end(), x) -
                                             FEclipseTimes.begin());
    if (n > 0) --n;
    CBE->SetRecNo(static_cast<int>(n) + 1);
    FCatNo = static_cast<int32_t>(CBE->FieldByName("CatNo")->AsInteger());
}

void TLocationEclipsesDlg::SetNumEvents(int32_t value)
{
    FNumEvents = value;
    ENumEvents->SetText(rtl::IntToStr(value));
}

void TLocationEclipsesDlg::SetLocation(const TObserverData* value)
{
    FLocation->Assign(value);
    FLocation->OnChanged = nullptr;
    SetCaption(Title() + " in " + FLocation->Place());
}

void TLocationEclipsesDlg::SetTimeShiftMode(int32_t value)
{
    static const char* captions[] = {"Times in UTC", "Times in mean local time", "Times in local time"};
    FTimeShiftMode = value;
    if (value >= 0 && value <= 2) LTimeShift->SetCaption(captions[value]);
}

void TLocationEclipsesDlg::CheckAndSearch()
{
    if (FSearching) return;
    bool valid = true;
    const int32_t year = EYearStart->IntValue();
    if (year < -1999 || year > 2999) {
        if (EYearStart->CanFocus()) EYearStart->SetFocus();
        EYearStart->SelectAll();
        MessageDlg("Starting year out of allowed range [-1999..2999].", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        valid = false;
    } else {
        SetYearStart(year);
    }
    const int32_t events = ENumEvents->IntValue();
    if (events < 1 || events > 2000) {
        if (ENumEvents->CanFocus()) ENumEvents->SetFocus();
        ENumEvents->SelectAll();
        MessageDlg("Number of events out of allowed range [1..2000].", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        valid = false;
    } else {
        SetNumEvents(events);
    }
    if (valid) SearchEclipses();
}

void TLocationEclipsesDlg::SearchEclipses()
{
    if (FSearching || !FCatalogueAvailable) return;
    FSearching = true;
    FStopSearch = false;
    LDeltaT->SetCaption(DeltaTSourceText(CurrentJD(), DeltaTTableFile));
    SG->BeginUpdate();
    SG->Clear();
    SG->SetRowCount(2);
    SG->SetFixedRows(1);
    PrepareGrid();
    for (int c = 1; c < SG->ColCount(); ++c) SG->SetCellAlignment(c, 0, TAlignment::taRightJustify);
    FCatNoList.clear();
    ProgressBar->SetMax(FNumEvents);
    const int z0 = FTimeShiftMode == 1 ? FLocation->MeanLocalTimeShift()
                                       : (FTimeShiftMode == 2 ? FLocation->StdTimeZone() : 0);
    int count = 0;
    // Messages run after every listed row, as the user expects a live
    // list; the grid and the bar repaint at most every 50 ms, since a
    // repaint per row would cost far more than the search.
    auto lastPaint = std::chrono::steady_clock::now();
    try {
        while (!CBE->Eof() && count < FNumEvents && !FStopSearch) {
            if (ReadAndSolve()) {
                ++count;
                FCatNoList.push_back(CurrentCatNo());
                if (count > 1) SG->SetRowCount(SG->RowCount() + 1);
                SG->SetRowColor(count, count % 2 == 1 ? clWhite : TColor(0xF0FAFF));
                for (int c = 1; c < SG->ColCount(); ++c) SG->SetCellAlignment(c, count, TAlignment::taRightJustify);
                FillRow(count, z0);
                const auto now = std::chrono::steady_clock::now();
                if (now - lastPaint >= std::chrono::milliseconds(50)) {
                    lastPaint = now;
                    ProgressBar->SetPosition(count);
                    SG->EndUpdate();
                    if (Application) Application->ProcessMessages();
                    SG->BeginUpdate();
                } else if (Application) {
                    Application->ProcessMessages();
                }
            }
            CBE->Next();
        }
    } catch (...) {
        SG->EndUpdate();
        FSearching = false;
        throw;
    }
    SG->EndUpdate();
    ProgressBar->SetPosition(0);
    SBCalculate->SetEnabled(false);
    FSearching = false;
}

void TLocationEclipsesDlg::ContactCell(int c, int r, long double jd, long double altitude, int z)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(z, rec, jd);
    std::string time;
    compute::TimeRecToText(rec, true, time);
    SG->SetCells(c, r, time + "\r\n" + rtl::FloatToStrF(altitude, rtl::TFloatFormat::ffFixed, 15, 1) + "\xC2\xB0");
    SG->SetCellFontColor(c, r, altitude >= 0 ? clBlack : Grey);
}

void TLocationEclipsesDlg::OKBtnClick()
{
    FStopSearch = true;
    const int r = SG->Row() - 1;
    if (r >= 0 && r < static_cast<int>(FCatNoList.size())) {
        try {
            SetCatNo(FCatNoList[static_cast<std::size_t>(r)]);
        } catch (const std::exception&) {
            FCatNo = -1;
        }
    } else {
        FCatNo = -1;
    }
}

void TLocationEclipsesDlg::SetUpReport()
{
    qlr::TqlrVariables* v = qlrReport->Variables();
    v->Clear();
    v->SetVariable("Title", QuoteReportValue(Caption()));
    v->SetVariable("DeltaTDetermination", QuoteReportValue(LDeltaT->Caption()));
    v->SetVariable("TimeShift", QuoteReportValue(LTimeShift->Caption()));
    v->SetVariable("Notice", QuoteReportValue(Notice()));
    qlrReport->ReportOptions()->Name = Caption();
}

void TLocationEclipsesDlg::SBPrintClick()
{
    if (FSearching) return;
    SetUpReport();
    qlrReport->ShowReport();
}

void TLocationEclipsesDlg::SGDblClick()
{
    SetModalResult(mrOk);
    OKBtnClick();
}

} // namespace app
