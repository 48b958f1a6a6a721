// Report pages (paper, orientation turning the margins, columns, the back
// picture; the dialog page and its form; the data page) and bands (roles,
// names and numbers, the child link, dot-matrix snapping, data band
// columns and the virtual data set).

#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/gui/FormsTypInfo.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrClassProps.h"
#include "report/qlrDMPClass.h"
#include "report/qlrOutputServices.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrXML.h"

namespace qlr {

using namespace props;

namespace {

long double Round(long double x)
{
    return std::nearbyint(x);
}

} // namespace

// --- published properties ----------------------------------------------------------

RTL_PUBLISHED(TqlrPage)
{
    FontProps(c);
    c.Property("Visible", [](TqlrPage& o) { return o.Visible(); }, [](TqlrPage& o, bool v) { o.SetVisible(v); })
        .Default(true);
}

RTL_PUBLISHED(TqlrReportPage)
{
    using P = TqlrReportPage;
    c.Property("Orientation", &P::Orientation, &P::SetOrientation).Default(TPrinterOrientation::poPortrait);
    c.Property("PaperWidth", &P::PaperWidth, [](P& p, long double v) { p.SetPaperWidth(v); });
    c.Property("PaperHeight", &P::PaperHeight, [](P& p, long double v) { p.SetPaperHeight(v); });
    c.Property("PaperSize", &P::PaperSize, [](P& p, int v) { p.SetPaperSize(v); });
    c.Property("LeftMargin", &P::LeftMargin, &P::SetLeftMargin);
    c.Property("RightMargin", &P::RightMargin, &P::SetRightMargin);
    c.Property("TopMargin", &P::TopMargin, &P::SetTopMargin);
    c.Property("BottomMargin", &P::BottomMargin, &P::SetBottomMargin);
    c.Property("MirrorMargins", &P::MirrorMargins, &P::SetMirrorMargins).Default(false);
    c.Property("Columns", &P::Columns, &P::SetColumns).Default(0);
    c.Property("ColumnWidth", &P::ColumnWidth, &P::SetColumnWidth);
    c.Property("ColumnPositions", &P::ColumnPositions, &P::SetColumnPositions);
    c.Property("Bin", &P::Bin, &P::SetBin).Default(7);
    c.Property("BinOtherPages", &P::BinOtherPages, &P::SetBinOtherPages).Default(7);
    c.Property("BackPictureVisible", &P::BackPictureVisible, &P::SetBackPictureVisible).Default(true);
    c.Property("BackPicturePrintable", &P::BackPicturePrintable, &P::SetBackPicturePrintable).Default(true);
    c.Property("PageCount", &P::PageCount, &P::SetPageCount).Default(1);
    c.Property("Color", &P::Color, &P::SetColor).Default(gui::clNone);
    c.Property("DataSet", &P::DataSet, &P::SetDataSet);
    c.Property("DataSetName", &P::DataSetName, &P::SetDataSetName)
        .Stored([](P& p) { return p.DataSet() == nullptr; });
    c.Property("Duplex", &P::Duplex, &P::SetDuplex).Default(TqlrDuplexMode::dmNone);
    c.Property("Frame", &P::Frame, &P::SetFrame);
    QLR_FIELD(P, EndlessHeight).Default(false);
    QLR_FIELD(P, EndlessWidth).Default(false);
    QLR_FIELD(P, LargeDesignHeight).Default(false);
    QLR_FIELD(P, OutlineText);
    QLR_FIELD(P, PrintIfEmpty).Default(true);
    QLR_FIELD(P, PrintOnPreviousPage).Default(false);
    QLR_FIELD(P, ResetPageNumbers).Default(false);
    QLR_FIELD(P, TitleBeforeHeader).Default(true);
    c.Property("HGuides", &P::HGuides, &P::SetHGuides);
    c.Property("VGuides", &P::VGuides, &P::SetVGuides);
    QLR_FIELD(P, OnAfterPrint);
    QLR_FIELD(P, OnBeforePrint);
    QLR_FIELD(P, OnManualBuild);
}

RTL_PUBLISHED(TqlrDialogPage)
{
    using P = TqlrDialogPage;
    c.Property("BorderStyle", &P::BorderStyle, &P::SetBorderStyle).Default(gui::TBorderStyle::bsSizeable);
    c.Property("Caption", [](P& p) { return p.Caption(); }, &P::SetCaption);
    c.Property("Color", &P::Color, &P::SetColor);
    c.Property("Height", [](P& o) { return o.Height(); }, [](P& o, long double v) { o.SetHeight(v); });
    c.Property("ClientHeight", &P::ClientHeight, &P::SetClientHeight);
    c.Property("Left", [](P& o) { return o.Left(); }, [](P& o, long double v) { o.SetLeft(v); });
    c.Property("Position", &P::Position, &P::SetPosition).Default(gui::TPosition::poScreenCenter);
    c.Property("Top", [](P& o) { return o.Top(); }, [](P& o, long double v) { o.SetTop(v); });
    c.Property("Width", [](P& o) { return o.Width(); }, [](P& o, long double v) { o.SetWidth(v); });
    c.Property("ClientWidth", &P::ClientWidth, &P::SetClientWidth);
    c.Property("WindowState", &P::WindowState, &P::SetWindowState).Default(gui::TWindowState::wsNormal);
    for (const char* e : {"OnActivate", "OnClick", "OnDeactivate", "OnHide", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnResize", "OnShow", "OnCloseQuery"}) {
        std::string name = e;
        std::string P::*member = name == "OnActivate" ? &P::OnActivate : name == "OnClick" ? &P::OnClick
                               : name == "OnDeactivate" ? &P::OnDeactivate : name == "OnHide" ? &P::OnHide
                               : name == "OnKeyDown" ? &P::OnKeyDown : name == "OnKeyPress" ? &P::OnKeyPress
                               : name == "OnKeyUp" ? &P::OnKeyUp : name == "OnResize" ? &P::OnResize
                               : name == "OnShow" ? &P::OnShow : &P::OnCloseQuery;
        c.Property(e, [member](P& p) { return p.*member; }, [member](P& p, std::string v) { p.*member = v; });
    }
}

RTL_PUBLISHED(TqlrDataPage) { Bounds(c); }

RTL_PUBLISHED(TqlrBand)
{
    using B = TqlrBand;
    FontProps(c);
    Bounds(c);
    c.Property("Restrictions", [](B& o) { return o.Restrictions(); },
               [](B& o, TqlrRestrictions v) { o.SetRestrictions(v); })
        .Default(TqlrRestrictions());
    QLR_FIELD(B, Vertical).Default(false);
    c.Property("Visible", [](B& o) { return o.Visible(); }, [](B& o, bool v) { o.SetVisible(v); }).Default(true);
    QLR_FIELD(B, OnAfterCalcHeight);
    QLR_FIELD(B, AllowSplit).Default(false);
    c.Property("Child", &B::Child, &B::SetChild);
    QLR_FIELD(B, KeepChild).Default(false);
    QLR_FIELD(B, OutlineText);
    QLR_FIELD(B, PrintChildIfInvisible).Default(false);
    QLR_FIELD(B, StartNewPage).Default(false);
    QLR_FIELD(B, Stretched).Default(false);
}

RTL_PUBLISHED(TqlrDataBand)
{
    using D = TqlrDataBand;
    c.Property("Columns", &D::Columns, &D::SetColumns).Default(0);
    c.Property("ColumnWidth", &D::ColumnWidth, &D::SetColumnWidth);
    c.Property("ColumnGap", &D::ColumnGap, &D::SetColumnGap);
    c.Property("DataSet", &D::DataSet, &D::SetDataSet);
    c.Property("DataSetName", &D::DataSetName, &D::SetDataSetName)
        .Stored([](D& b) { return b.DataSet() == nullptr; });
    QLR_FIELD(D, FooterAfterEach).Default(false);
    QLR_FIELD(D, KeepFooter).Default(false);
    QLR_FIELD(D, KeepHeader).Default(false);
    QLR_FIELD(D, KeepTogether).Default(false);
    QLR_FIELD(D, PrintIfDetailEmpty).Default(false);
    c.Property("RowCount", &D::RowCount, &D::SetRowCount).Default(0);
    QLR_FIELD(D, OnMasterDetail);
}

RTL_PUBLISHED(TqlrPageHeader) { QLR_FIELD(TqlrPageHeader, PrintOnFirstPage).Default(true); }
RTL_PUBLISHED(TqlrPageFooter)
{
    QLR_FIELD(TqlrPageFooter, PrintOnFirstPage).Default(true);
    QLR_FIELD(TqlrPageFooter, PrintOnLastPage).Default(true);
}
RTL_PUBLISHED(TqlrGroupHeader)
{
    using G = TqlrGroupHeader;
    QLR_FIELD(G, Condition);
    QLR_FIELD(G, DrillDown).Default(false);
    QLR_FIELD(G, ExpandDrillDown).Default(false);
    QLR_FIELD(G, KeepTogether).Default(false);
    QLR_FIELD(G, ReprintOnNewPage).Default(false);
    QLR_FIELD(G, ResetPageNumbers).Default(false);
    QLR_FIELD(G, ShowFooterIfDrillDown).Default(false);
    QLR_FIELD(G, ShowChildIfDrillDown).Default(false);
    QLR_FIELD(G, DrillName);
}

RTL_PUBLISHED(TqlrHeader) { QLR_FIELD(TqlrHeader, ReprintOnNewPage).Default(false); }
RTL_PUBLISHED(TqlrOverlay) { QLR_FIELD(TqlrOverlay, PrintOnTop).Default(false); }
RTL_PUBLISHED(TqlrGroupFooter) { QLR_FIELD(TqlrGroupFooter, HideIfSingleDataRecord).Default(false); }

#define QLR_NO_PROPS(Class) RTL_PUBLISHED(Class) {}
QLR_NO_PROPS(TqlrReportTitle)
QLR_NO_PROPS(TqlrReportSummary)
QLR_NO_PROPS(TqlrFooter)
QLR_NO_PROPS(TqlrMasterData)
QLR_NO_PROPS(TqlrDetailData)
QLR_NO_PROPS(TqlrSubdetailData)
QLR_NO_PROPS(TqlrDataBand4)
QLR_NO_PROPS(TqlrDataBand5)
QLR_NO_PROPS(TqlrDataBand6)
QLR_NO_PROPS(TqlrChild)
QLR_NO_PROPS(TqlrColumnHeader)
QLR_NO_PROPS(TqlrColumnFooter)
QLR_NO_PROPS(TqlrNullBand)
#undef QLR_NO_PROPS

// --- pages ------------------------------------------------------------------------------

TqlrPage::TqlrPage(rtl::TComponent* owner) : TqlrComponent(owner)
{
    FBaseName = "Page";
}

TqlrReportPage::TqlrReportPage(rtl::TComponent* owner)
    : TqlrPage(owner), FBackPicture(std::make_unique<TqlrPictureView>(nullptr)),
      FColumnPositions(std::make_unique<rtl::TStringList>()), FHGuides(std::make_unique<rtl::TStringList>()),
      FVGuides(std::make_unique<rtl::TStringList>())
{
    FBackPicture->SetColor(gui::clNone);
    FBackPicture->SetKeepAspectRatio(false);
    UpdateDimensions();
}

TqlrReportPage::~TqlrReportPage()
{
    if (FDataSet) FDataSet->RemoveFreeNotification(this);
    if (FSubReport) FSubReport->SetPage(nullptr);
}

std::string TqlrReportPage::GetDescription() const
{
    return GetResources().Get("obRepPage");
}

void TqlrReportPage::UpdateDimensions()
{
    SetWidth(Round(FPaperWidth * fr01cm));
    SetHeight(Round(FPaperHeight * fr01cm));
}

void TqlrReportPage::SetPaperWidth(long double v)
{
    FPaperWidth = RoundTo8Decimals(v);
    FPaperSize = 256;
    UpdateDimensions();
}

void TqlrReportPage::SetPaperHeight(long double v)
{
    FPaperHeight = RoundTo8Decimals(v);
    FPaperSize = 256;
    UpdateDimensions();
}

void TqlrReportPage::SetPaperSize(int v)
{
    FPaperSize = v;
    if (v < 256) {
        long double w = 0, h = 0;
        if (OutputServices().LookupPaperSize(v, w, h)) {
            if (FOrientation == TPrinterOrientation::poLandscape) std::swap(w, h);
            FPaperWidth = w;
            FPaperHeight = h;
        }
    }
    UpdateDimensions();
}

void TqlrReportPage::SetSizeAndDimensions(int aSize, long double aWidth, long double aHeight)
{
    FPaperSize = aSize;
    FPaperWidth = RoundTo8Decimals(aWidth);
    FPaperHeight = RoundTo8Decimals(aHeight);
    UpdateDimensions();
}

void TqlrReportPage::SetOrientation(TPrinterOrientation v)
{
    if (v != FOrientation) {
        std::swap(FPaperWidth, FPaperHeight);
        long double l = FLeftMargin, r = FRightMargin, t = FTopMargin, b = FBottomMargin;
        if (v == TPrinterOrientation::poLandscape) {
            FLeftMargin = t;
            FRightMargin = b;
            FTopMargin = r;
            FBottomMargin = l;
        } else {
            FLeftMargin = b;
            FRightMargin = t;
            FTopMargin = l;
            FBottomMargin = r;
        }
        FOrientation = v;
        UpdateDimensions();
    }
    FOrientation = v;
}

void TqlrReportPage::SetDefaults()
{
    FLeftMargin = FRightMargin = FTopMargin = FBottomMargin = 10;
    TqlrPrinterDefaults d = OutputServices().CurrentPrinterDefaults();
    FPaperSize = d.DefPaper;
    FPaperWidth = d.DefPaperWidth;
    FPaperHeight = d.DefPaperHeight;
    FOrientation = d.DefLandscape ? TPrinterOrientation::poLandscape : TPrinterOrientation::poPortrait;
    UpdateDimensions();
}

void TqlrReportPage::SetColumns(int v)
{
    FColumns = v;
    FColumnPositions->Clear();
    if (v > 0) {
        FColumnWidth = (FPaperWidth - FLeftMargin - FRightMargin) / v;
        for (int i = 0; i < v; ++i) FColumnPositions->Add(qlrFloatToStr(i * FColumnWidth));
    }
}

void TqlrReportPage::ClearGuides()
{
    FHGuides->Clear();
    FVGuides->Clear();
}

gui::TColor TqlrReportPage::Color() const
{
    return FBackPicture->Color();
}

void TqlrReportPage::SetColor(gui::TColor v)
{
    FBackPicture->SetColor(v);
}

TqlrFrame* TqlrReportPage::Frame() const
{
    return FBackPicture->Frame();
}

void TqlrReportPage::SetFrame(TqlrFrame* v)
{
    FBackPicture->SetFrame(v);
}

void TqlrReportPage::SetDataSet(TqlrDataSet* v)
{
    if (FDataSet == v) return;
    LinkDataSet(FDataSet, v);
    FDataSetName = v ? v->UserName() : std::string();
}

std::string TqlrReportPage::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TqlrReportPage::SetDataSetName(const std::string& v)
{
    FDataSetName = v;
    LinkDataSet(FDataSet, FindDataSet(FDataSet, v));
}

void TqlrReportPage::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrPage::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FDataSet) FDataSet = nullptr;
}

TqlrBand* TqlrReportPage::FindBand(const rtl::TClassInfo& bandClass) const
{
    for (TqlrComponent* c : Objects())
        if (bandClass.IsInstance(c)) return dynamic_cast<TqlrBand*>(c);
    return nullptr;
}

void TqlrReportPage::DefineProperties(rtl::TFiler& filer)
{
    TqlrPage::DefineProperties(filer);
    gui::TGraphic* g = FBackPicture->Picture()->Graphic();
    filer.DefineBinaryProperty(
        "BackPictureData",
        [this](rtl::TStream& s) {
            rtl::TMemoryStream ms;
            ms.CopyFrom(s, 0);
            ms.SetPosition(0);
            FBackPicture->LoadPictureFromStream(ms, true);
        },
        [this](rtl::TStream& s) { FBackPicture->Picture()->Graphic()->SaveToStream(s); }, g && !g->Empty());
}

void TqlrReportPage::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                          long double offsetY)
{
    FBackPicture->SetWidth((FPaperWidth - FLeftMargin - FRightMargin) * fr01cm);
    FBackPicture->SetHeight((FPaperHeight - FTopMargin - FBottomMargin) * fr01cm);
    if (FBackPictureVisible && (!IsPrinting() || FBackPicturePrintable))
        FBackPicture->Draw(canvas, scaleX, scaleY, offsetX + FLeftMargin * fr01cm * scaleX,
                           offsetY + FTopMargin * fr01cm * scaleY);
}

void TqlrReportPage::AlignChildren()
{
    const long double width = (FPaperWidth - FLeftMargin - FRightMargin) * fr01cm;
    const long double height = (FPaperHeight - FTopMargin - FBottomMargin) * fr01cm;
    SetWidth(width);
    SetHeight(height);
    TqlrPage::AlignChildren();
    for (TqlrComponent* c : Objects()) {
        auto* band = dynamic_cast<TqlrBand*>(c);
        if (!band) continue;
        if (band->Vertical) {
            band->SetHeight(height - band->Top());
        } else if (FColumns < 2 || dynamic_cast<TqlrNullBand*>(band) || dynamic_cast<TqlrReportSummary*>(band) ||
                   dynamic_cast<TqlrPageHeader*>(band) || dynamic_cast<TqlrPageFooter*>(band) ||
                   dynamic_cast<TqlrReportTitle*>(band)) {
            band->SetWidth(width - band->Left());
        } else {
            band->SetWidth(FColumnWidth * fr01cm);
        }
        band->AlignChildren();
    }
    UpdateDimensions();
}

// --- dialog and data pages ------------------------------------------------------------------

TqlrDialogPage::TqlrDialogPage(rtl::TComponent* owner)
    : TqlrPage(owner), FBorderStyle(gui::TBorderStyle::bsSizeable), FColor(gui::clBtnFace),
      FPosition(gui::TPosition::poScreenCenter), FWindowState(gui::TWindowState::wsNormal),
      FForm(OutputServices().CreateDialogForm(this, [this] { TakeFormBounds(); }))
{
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    FForm->SetColor(FColor);
    FForm->SetKeyPreview(true);
    FForm->SetShowHint(true);
}

int TqlrDialogPage::ModalResult() const { return FForm->ModalResult(); }
void TqlrDialogPage::SetModalResult(int v) { FForm->SetModalResult(v); }

void TqlrDialogPage::TakeFormBounds()
{
    SetLeft(FForm->Left());
    SetTop(FForm->Top());
    SetWidth(FForm->Width());
    SetHeight(FForm->Height());
}

void TqlrDialogPage::Initialize()
{
    TqlrReport* report = Report();
    FRunAlways = !(report && report->EngineOptions()->DestroyForms);
    if (FForm->Visible()) FForm->Hide();
    FForm->SetPosition(FPosition);
    FForm->SetWindowState(FWindowState);
    ConnectFormEvents(report);
}

// Every event of the form goes to the report's script-event hooks under the
// name the page keeps for it; activation first takes the form's bounds.
void TqlrDialogPage::ConnectFormEvents(TqlrReport* report)
{
    auto notify = [this, report](std::string TqlrDialogPage::*event) {
        return [this, report, event](rtl::TObject*) {
            if (report) report->DoNotifyEvent(this, this->*event);
        };
    };
    FForm->OnActivate = [this, report](rtl::TObject*) {
        TakeFormBounds();
        if (report) report->DoNotifyEvent(this, OnActivate);
    };
    FForm->OnDeactivate = notify(&TqlrDialogPage::OnDeactivate);
    FForm->OnHide = notify(&TqlrDialogPage::OnHide);
    FForm->OnShow = notify(&TqlrDialogPage::OnShow);
    FForm->OnClick = notify(&TqlrDialogPage::OnClick);
    FForm->OnResize = notify(&TqlrDialogPage::OnResize);
    FForm->OnCloseQuery = [this, report](rtl::TObject*, bool&) {
        if (report) report->DoParamEvent(this, OnCloseQuery);
    };
    auto key = [this, report](std::string TqlrDialogPage::*event) {
        return [this, report, event](rtl::TObject*, uint16_t&, gui::TShiftState) {
            if (report) report->DoParamEvent(this, this->*event);
        };
    };
    FForm->OnKeyDown = key(&TqlrDialogPage::OnKeyDown);
    FForm->OnKeyUp = key(&TqlrDialogPage::OnKeyUp);
    FForm->OnKeyPress = [this, report](rtl::TObject*, char16_t&) {
        if (report) report->DoParamEvent(this, OnKeyPress);
    };
    // A hint shown for a control goes once the pointer moves over the form.
    FForm->OnMouseMove = [report](rtl::TObject*, gui::TShiftState, int, int) {
        if (report) report->SetProgressMessage("", true);
    };
}

int TqlrDialogPage::ShowModal()
{
    Initialize();
    FForm->SetBorderStyle(FBorderStyle);
    FForm->SetFormStyle(gui::TFormStyle::fsNormal);
    struct StayOnTop {
        gui::TForm* form;
        ~StayOnTop() { form->SetFormStyle(gui::TFormStyle::fsStayOnTop); }
    } stayOnTop{FForm.get()};
    return FForm->ShowModal();
}

TqlrDialogPage::~TqlrDialogPage()
{
    // The form may still report its hiding: nothing reaches the page then.
    FForm->OnActivate = FForm->OnDeactivate = FForm->OnHide = FForm->OnShow = nullptr;
    FForm->OnClick = FForm->OnResize = nullptr;
    FForm->OnCloseQuery = nullptr;
    FForm->OnKeyDown = FForm->OnKeyUp = nullptr;
    FForm->OnKeyPress = nullptr;
    FForm->OnMouseMove = nullptr;
    // The controls leave the form before it goes: a form frees the
    // controls still in it.
    for (TqlrComponent* c : AllObjects())
        if (auto* control = dynamic_cast<TqlrDialogControl*>(c)) control->DetachControl();
    FForm.reset();
}

std::string TqlrDialogPage::GetDescription() const
{
    return GetResources().Get("obDlgPage");
}

void TqlrDialogPage::SetCaption(const std::string& v)
{
    FCaption = v;
    FForm->SetCaption(v);
}

void TqlrDialogPage::SetColor(gui::TColor v)
{
    FColor = v;
    FForm->SetColor(v);
}

void TqlrDialogPage::SetLeft(long double value)
{
    TqlrPage::SetLeft(value);
    FForm->SetLeft(static_cast<int>(Round(value)));
}

void TqlrDialogPage::SetTop(long double value)
{
    TqlrPage::SetTop(value);
    FForm->SetTop(static_cast<int>(Round(value)));
}

void TqlrDialogPage::SetWidth(long double value)
{
    TqlrPage::SetWidth(value);
    // A stored client size wins over a stored outer size.
    if (!(IsLoading() && FClientWidth != 0)) FForm->SetWidth(static_cast<int>(Round(value)));
}

void TqlrDialogPage::SetHeight(long double value)
{
    TqlrPage::SetHeight(value);
    if (!(IsLoading() && FClientHeight != 0)) FForm->SetHeight(static_cast<int>(Round(value)));
}

long double TqlrDialogPage::ClientWidth() const
{
    return FForm->ClientWidth();
}

void TqlrDialogPage::SetClientWidth(long double v)
{
    FForm->SetClientWidth(static_cast<int>(Round(v)));
    FClientWidth = v;
    TqlrPage::SetWidth(FForm->Width());
}

long double TqlrDialogPage::ClientHeight() const
{
    return FForm->ClientHeight();
}

void TqlrDialogPage::SetClientHeight(long double v)
{
    FForm->SetClientHeight(static_cast<int>(Round(v)));
    FClientHeight = v;
    TqlrPage::SetHeight(FForm->Height());
}

void TqlrDialogPage::FontChanged()
{
    TqlrPage::FontChanged();
    if (FForm) FForm->Font()->Assign(Font());
}

TqlrDataPage::TqlrDataPage(rtl::TComponent* owner) : TqlrPage(owner)
{
    FBaseName = "Data";
    SetWidth(1000);
    SetHeight(1000);
}

std::string TqlrDataPage::GetDescription() const
{
    return GetResources().Get("obDataPage");
}

// --- bands ----------------------------------------------------------------------------------

TqlrBand::TqlrBand(rtl::TComponent* owner) : TqlrReportComponent(owner) {}

std::string TqlrBand::GetDescription() const
{
    return GetResources().Get("obBand");
}

bool TqlrBand::OnDotMatrixPage() const
{
    return dynamic_cast<const TqlrDMPPage*>(Parent()) != nullptr;
}

void TqlrBand::SetLeft(long double value)
{
    if (OnDotMatrixPage()) value = Round(value / fr1CharX) * fr1CharX;
    TqlrReportComponent::SetLeft(value);
}

void TqlrBand::SetTop(long double value)
{
    if (OnDotMatrixPage()) value = Round(value / fr1CharY) * fr1CharY;
    TqlrReportComponent::SetTop(value);
}

void TqlrBand::SetHeight(long double value)
{
    if (OnDotMatrixPage()) value = Round(value / fr1CharY) * fr1CharY;
    TqlrReportComponent::SetHeight(value);
}

void TqlrBand::SetChild(TqlrChild* value)
{
    for (TqlrBand* b = value; b; b = b->Child())
        if (b == this) throw rtl::Exception("Circular child reference is not allowed");
    if (FChild) FChild->RemoveFreeNotification(this);
    FChild = value;
    if (FChild) FChild->FreeNotification(this);
}

void TqlrBand::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrReportComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FChild) FChild = nullptr;
}

std::string TqlrBand::BandName() const
{
    std::string name = ClassName();
    for (const char* part : {"Tqlr", "Band"}) {
        std::size_t at = name.find(part);
        if (at != std::string::npos) name.erase(at, std::char_traits<char>::length(part));
    }
    return name;
}

int TqlrBand::BandNumber() const
{
    const rtl::TClassInfo* list[] = {
        &TqlrReportTitle::StaticClassInfo(),   &TqlrReportSummary::StaticClassInfo(),
        &TqlrPageHeader::StaticClassInfo(),    &TqlrPageFooter::StaticClassInfo(),
        &TqlrHeader::StaticClassInfo(),        &TqlrFooter::StaticClassInfo(),
        &TqlrMasterData::StaticClassInfo(),    &TqlrDetailData::StaticClassInfo(),
        &TqlrSubdetailData::StaticClassInfo(), &TqlrDataBand4::StaticClassInfo(),
        &TqlrDataBand5::StaticClassInfo(),     &TqlrDataBand6::StaticClassInfo(),
        &TqlrGroupHeader::StaticClassInfo(),   &TqlrGroupFooter::StaticClassInfo(),
        &TqlrChild::StaticClassInfo(),         &TqlrColumnHeader::StaticClassInfo(),
        &TqlrColumnFooter::StaticClassInfo(),  &TqlrOverlay::StaticClassInfo()};
    int result = 0;
    for (int i = 0; i < 18; ++i)
        if (list[i]->IsInstance(this)) result = i;
    return result;
}

std::string TqlrGroupHeader::Diff(TqlrComponent* aComponent)
{
    std::string s = BaseDiff(aComponent);
    if (DrillDown) s += " DrillName=\"" + DrillName + "\"";
    return s;
}

TqlrDataBand::TqlrDataBand(rtl::TComponent* owner)
    : TqlrBand(owner), FVirtualDataSet(std::make_unique<TqlrUserDataSet>(nullptr))
{
    FVirtualDataSet->SetRangeEnd(TqlrRangeEnd::reCount);
}

TqlrDataBand::~TqlrDataBand()
{
    if (FDataSet) FDataSet->RemoveFreeNotification(this);
}

std::string TqlrDataBand::GetDescription() const
{
    return GetResources().Get("obDataBand");
}

void TqlrDataBand::SetDataSet(TqlrDataSet* v)
{
    if (FDataSet == v) return;
    LinkDataSet(FDataSet, v);
    FDataSetName = v ? v->UserName() : std::string();
}

std::string TqlrDataBand::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TqlrDataBand::SetDataSetName(const std::string& v)
{
    FDataSetName = v;
    LinkDataSet(FDataSet, FindDataSet(FDataSet, v));
}

void TqlrDataBand::SetRowCount(int v)
{
    FRowCount = v;
    FVirtualDataSet->SetRangeEndCount(v);
}

void TqlrDataBand::SetCurColumn(int v)
{
    if (v > FColumns) v = 1;
    FCurColumn = v;
    if (FCurColumn == 1) MaxY = 0;
    // Straight to the stored value: no snapping, no restrictions.
    SetLeftDirect((FCurColumn - 1) * (FColumnWidth + FColumnGap));
}

void TqlrDataBand::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrBand::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FDataSet) FDataSet = nullptr;
}

} // namespace qlr
