// Report pages, bands and the line, picture, shape and sub-report views:
// part of the report object model (qlrClass.h, which includes this file).
//
// The rule a caller must know: a report page's Width and Height always
// equal its paper (millimetres times 3.77953), updated by every paper
// setter; the paper table and the printer's defaults come through
// OutputServices() (qlrOutputServices.h).
//
// Example: turn the application's page to landscape.
//   auto* page = dynamic_cast<qlr::TqlrReportPage*>(report->FindObject("Page1"));
//   page->SetOrientation(gui::TPrinterOrientation::poLandscape);   // 297 x 210 mm
//   page->Width();                                                 // 1123 units
#pragma once

#include "report/qlrClass.h"

namespace gui {
class TForm;
enum class TBorderStyle;
enum class TPosition;
enum class TWindowState;
} // namespace gui

namespace qlr {

using gui::TPrinterOrientation;

// ---------------------------------------------------------------- pages

class TqlrPage : public TqlrComponent {
    RTL_CLASS(TqlrPage, TqlrComponent)
public:
    explicit TqlrPage(rtl::TComponent* owner);
};

class TqlrSubreport;

class TqlrReportPage : public TqlrPage {
    RTL_CLASS(TqlrReportPage, TqlrPage)
public:
    explicit TqlrReportPage(rtl::TComponent* owner);
    ~TqlrReportPage() override;

    TPrinterOrientation Orientation() const { return FOrientation; }
    // Turns the paper and the margins a quarter when the value changes.
    void SetOrientation(TPrinterOrientation v);
    long double PaperWidth() const { return FPaperWidth; }
    virtual void SetPaperWidth(long double v);
    long double PaperHeight() const { return FPaperHeight; }
    virtual void SetPaperHeight(long double v);
    int PaperSize() const { return FPaperSize; }
    // Looks the code up in the paper table (swapped in landscape); an
    // unknown code keeps the dimensions.
    virtual void SetPaperSize(int v);
    void SetSizeAndDimensions(int aSize, long double aWidth, long double aHeight);
    // Margins of 10 mm and the current printer's paper and orientation.
    virtual void SetDefaults();

    long double LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(long double v) { FLeftMargin = v; }
    long double RightMargin() const { return FRightMargin; }
    void SetRightMargin(long double v) { FRightMargin = v; }
    long double TopMargin() const { return FTopMargin; }
    void SetTopMargin(long double v) { FTopMargin = v; }
    long double BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(long double v) { FBottomMargin = v; }
    bool MirrorMargins() const { return FMirrorMargins; }
    void SetMirrorMargins(bool v) { FMirrorMargins = v; }

    int Columns() const { return FColumns; }
    void SetColumns(int v);
    long double ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(long double v) { FColumnWidth = v; }
    rtl::TStringList* ColumnPositions() const { return FColumnPositions.get(); }
    void SetColumnPositions(rtl::TStringList* v) { FColumnPositions->Assign(v); }
    rtl::TStringList* HGuides() const { return FHGuides.get(); }
    void SetHGuides(rtl::TStringList* v) { FHGuides->Assign(v); }
    rtl::TStringList* VGuides() const { return FVGuides.get(); }
    void SetVGuides(rtl::TStringList* v) { FVGuides->Assign(v); }
    void ClearGuides();

    int Bin() const { return FBin; }
    void SetBin(int v) { FBin = v; }
    int BinOtherPages() const { return FBinOtherPages; }
    void SetBinOtherPages(int v) { FBinOtherPages = v; }
    TqlrDuplexMode Duplex() const { return FDuplex; }
    void SetDuplex(TqlrDuplexMode v) { FDuplex = v; }
    int PageCount() const { return FPageCount; }
    // Values below 1 are ignored.
    void SetPageCount(int v)
    {
        if (v > 0) FPageCount = v;
    }

    TqlrPictureView* BackPicture() const { return FBackPicture.get(); }
    gui::TColor Color() const;
    void SetColor(gui::TColor v);
    TqlrFrame* Frame() const;
    void SetFrame(TqlrFrame* v);
    bool BackPictureVisible() const { return FBackPictureVisible; }
    void SetBackPictureVisible(bool v) { FBackPictureVisible = v; }
    bool BackPicturePrintable() const { return FBackPicturePrintable; }
    void SetBackPicturePrintable(bool v) { FBackPicturePrintable = v; }

    TqlrDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TqlrDataSet* v);
    std::string DataSetName() const;
    void SetDataSetName(const std::string& v);

    bool EndlessHeight = false, EndlessWidth = false, LargeDesignHeight = false, PrintIfEmpty = true,
         PrintOnPreviousPage = false, ResetPageNumbers = false, TitleBeforeHeader = true;
    std::string OutlineText, OnAfterPrint, OnBeforePrint, OnManualBuild;

    TqlrSubreport* SubReport() const { return FSubReport; }
    void SetSubReport(TqlrSubreport* v) { FSubReport = v; }
    bool IsSubReport() const { return FSubReport != nullptr; }
    // The first child band of that class, or nullptr.
    TqlrBand* FindBand(const rtl::TClassInfo& bandClass) const;

    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX, long double offsetY);
    void AlignChildren() override;
    std::string GetDescription() const override;
    // The back picture travels with the template as "BackPictureData" (the
    // graphic's own file bytes), read back by format sniffing.
    void DefineProperties(rtl::TFiler& filer) override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    // Width and Height from the paper.
    void UpdateDimensions();

private:
    std::unique_ptr<TqlrPictureView> FBackPicture;
    int FBin = 7, FBinOtherPages = 7;
    long double FBottomMargin = 0, FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0;
    int FColumns = 0;
    long double FColumnWidth = 0;
    std::unique_ptr<rtl::TStringList> FColumnPositions, FHGuides, FVGuides;
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
    TqlrDuplexMode FDuplex = TqlrDuplexMode::dmNone;
    bool FMirrorMargins = false;
    TPrinterOrientation FOrientation = TPrinterOrientation::poPortrait;
    TqlrSubreport* FSubReport = nullptr;
    bool FBackPictureVisible = true, FBackPicturePrintable = true;
    int FPageCount = 1;
    long double FPaperHeight = 297, FPaperWidth = 210;
    int FPaperSize = 9;
};

// A dialog page: its children's AbsLeft / AbsTop stop at it.  Its form is
// created with it and shown only on request (headless in tests).
class TqlrDialogPage : public TqlrPage {
    RTL_CLASS(TqlrDialogPage, TqlrPage)
public:
    explicit TqlrDialogPage(rtl::TComponent* owner);
    ~TqlrDialogPage() override;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v);
    long double ClientWidth() const;
    void SetClientWidth(long double v);
    long double ClientHeight() const;
    void SetClientHeight(long double v);
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    void SetWidth(long double value) override;
    void SetHeight(long double value) override;
    gui::TForm* DialogForm() const { return FForm.get(); }
    // Taken by the form when it is shown.
    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(gui::TBorderStyle v) { FBorderStyle = v; }
    gui::TPosition Position() const { return FPosition; }
    void SetPosition(gui::TPosition v) { FPosition = v; }
    gui::TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(gui::TWindowState v) { FWindowState = v; }
    bool RunAlways() const { return FRunAlways; }
    // The form's modal result.
    int ModalResult() const;
    void SetModalResult(int v);
    // Readies the form: position and state from the page, its events
    // handed to the report's script-event hooks.
    void Initialize();
    // Shows the form modally and returns its modal result; the form's
    // bounds go back into the page whenever the user moved or sized it,
    // and afterwards the form stays on top.
    int ShowModal();
    std::string GetDescription() const override;
    std::string OnActivate, OnClick, OnDeactivate, OnHide, OnKeyDown, OnKeyPress, OnKeyUp, OnResize, OnShow,
        OnCloseQuery;

protected:
    void FontChanged() override;

private:
    void TakeFormBounds();
    void ConnectFormEvents(TqlrReport* report);

    gui::TBorderStyle FBorderStyle;
    std::string FCaption;
    gui::TColor FColor;
    bool FRunAlways = false;
    gui::TPosition FPosition;
    gui::TWindowState FWindowState;
    long double FClientWidth = 0, FClientHeight = 0;
    std::unique_ptr<gui::TForm> FForm;
};

// The page that holds a report's data sets and connections.
class TqlrDataPage : public TqlrPage {
    RTL_CLASS(TqlrDataPage, TqlrPage)
public:
    explicit TqlrDataPage(rtl::TComponent* owner);
    std::string GetDescription() const override;
};

// ---------------------------------------------------------------- bands

class TqlrChild;

class TqlrBand : public TqlrReportComponent {
    RTL_CLASS(TqlrBand, TqlrReportComponent)
public:
    explicit TqlrBand(rtl::TComponent* owner);
    TqlrChild* Child() const { return FChild; }
    // Raises "Circular child reference is not allowed" for a loop and
    // keeps the old link.
    void SetChild(TqlrChild* value);
    // On a dot-matrix page the values snap to the character grid.
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    void SetHeight(long double value) override;
    // The class name without "Tqlr" and "Band" ("MasterData", "Data4").
    std::string BandName() const;
    // The index of the last class of the fixed band list this band is one of.
    int BandNumber() const;
    void Draw(gui::TCanvas*, long double, long double, long double, long double) override {}
    std::string GetDescription() const override;

    bool AllowSplit = false, KeepChild = false, Overflow = false, StartNewPage = false, Stretched = false,
         PrintChildIfInvisible = false, Vertical = false;
    std::string OutlineText, OnAfterCalcHeight;
    std::vector<TqlrBand*> SubBands;
    TqlrBand* Header = nullptr;
    TqlrBand* Footer = nullptr;
    TqlrBand* Group = nullptr;
    int LineN = 0, LineThrough = 0, OriginalObjectsCount = -1;
    bool HasVBands = false;
    long double StretchedHeight = 0;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    bool OnDotMatrixPage() const;
    TqlrChild* FChild = nullptr;
};

class TqlrDataBand : public TqlrBand {
    RTL_CLASS(TqlrDataBand, TqlrBand)
public:
    explicit TqlrDataBand(rtl::TComponent* owner);
    ~TqlrDataBand() override;
    TqlrDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TqlrDataSet* v);
    std::string DataSetName() const;
    void SetDataSetName(const std::string& v);
    int RowCount() const { return FRowCount; }
    // The virtual data set runs this many rows.
    void SetRowCount(int v);
    TqlrUserDataSet* VirtualDataSet() const { return FVirtualDataSet.get(); }
    int Columns() const { return FColumns; }
    void SetColumns(int v) { FColumns = v; }
    long double ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(long double v) { FColumnWidth = v; }
    long double ColumnGap() const { return FColumnGap; }
    void SetColumnGap(long double v) { FColumnGap = v; }
    int CurColumn() const { return FCurColumn; }
    // Past Columns back to 1; Left follows the column, without snapping or
    // restrictions.
    void SetCurColumn(int v);
    std::string GetDescription() const override;

    bool FooterAfterEach = false, KeepFooter = false, KeepHeader = false, KeepTogether = false,
         PrintIfDetailEmpty = false;
    std::string OnMasterDetail;
    long double MaxY = 0;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    long double FColumnGap = 0, FColumnWidth = 0;
    int FColumns = 0, FCurColumn = 0;
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
    int FRowCount = 0;
    std::unique_ptr<TqlrUserDataSet> FVirtualDataSet;
};

#define QLR_BAND_CLASS(Class, Base)                                            \
    class Class : public Base {                                                \
        RTL_CLASS(Class, Base)                                                 \
    public:                                                                    \
        using Base::Base;                                                      \
    };
QLR_BAND_CLASS(TqlrReportTitle, TqlrBand)
QLR_BAND_CLASS(TqlrReportSummary, TqlrBand)
QLR_BAND_CLASS(TqlrFooter, TqlrBand)
QLR_BAND_CLASS(TqlrMasterData, TqlrDataBand)
QLR_BAND_CLASS(TqlrDetailData, TqlrDataBand)
QLR_BAND_CLASS(TqlrSubdetailData, TqlrDataBand)
QLR_BAND_CLASS(TqlrDataBand4, TqlrDataBand)
QLR_BAND_CLASS(TqlrDataBand5, TqlrDataBand)
QLR_BAND_CLASS(TqlrDataBand6, TqlrDataBand)
QLR_BAND_CLASS(TqlrChild, TqlrBand)
QLR_BAND_CLASS(TqlrColumnHeader, TqlrBand)
QLR_BAND_CLASS(TqlrColumnFooter, TqlrBand)
QLR_BAND_CLASS(TqlrNullBand, TqlrBand)
#undef QLR_BAND_CLASS

// A data band's header; with ReprintOnNewPage it prints again at the top of
// every page and column its data band continues on.
class TqlrHeader : public TqlrBand {
    RTL_CLASS(TqlrHeader, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    bool ReprintOnNewPage = false;
};

// A group's footer; with HideIfSingleDataRecord it is left out after a
// group of one row.
class TqlrGroupFooter : public TqlrBand {
    RTL_CLASS(TqlrGroupFooter, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    bool HideIfSingleDataRecord = false;
};

// Printed over each page: under the other bands, or above them with
// PrintOnTop.
class TqlrOverlay : public TqlrBand {
    RTL_CLASS(TqlrOverlay, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    bool PrintOnTop = false;
};

class TqlrPageHeader : public TqlrBand {
    RTL_CLASS(TqlrPageHeader, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    bool PrintOnFirstPage = true;
};

class TqlrPageFooter : public TqlrBand {
    RTL_CLASS(TqlrPageFooter, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    bool PrintOnFirstPage = true, PrintOnLastPage = true;
};

class TqlrGroupHeader : public TqlrBand {
    RTL_CLASS(TqlrGroupHeader, TqlrBand)
public:
    using TqlrBand::TqlrBand;
    std::string Condition, DrillName;
    bool DrillDown = false, ExpandDrillDown = false, ShowFooterIfDrillDown = false, ShowChildIfDrillDown = false,
         KeepTogether = false, ReprintOnNewPage = false, ResetPageNumbers = false;
    rtl::Variant LastValue;
    // The base attributes, then " DrillName=" when DrillDown is set.
    std::string Diff(TqlrComponent* aComponent) override;
};

// ---------------------------------------------------------------- views

class TqlrCustomLineView : public TqlrStretcheable {
    RTL_CLASS(TqlrCustomLineView, TqlrStretcheable)
public:
    // Flags of DesignCreate: 0 straight, 1 diagonal, 2 arrow at the end,
    // 3 at the start, 4 both.
    explicit TqlrCustomLineView(rtl::TComponent* owner);
    bool Diagonal = false, ArrowEnd = false, ArrowSolid = false, ArrowStart = false;
    int ArrowLength = 20, ArrowWidth = 5;
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;

private:
    void DrawArrow(gui::TCanvas* canvas, gui::TPoint tip, gui::TPoint other);
};

class TqlrLineView : public TqlrCustomLineView {
    RTL_CLASS(TqlrLineView, TqlrCustomLineView)
public:
    using TqlrCustomLineView::TqlrCustomLineView;
    std::string GetDescription() const override;
};

class TqlrPictureView : public TqlrView {
    RTL_CLASS(TqlrPictureView, TqlrView)
public:
    explicit TqlrPictureView(rtl::TComponent* owner);
    ~TqlrPictureView() override;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v) { FCenter = v; }
    bool KeepAspectRatio() const { return FKeepAspectRatio; }
    void SetKeepAspectRatio(bool v) { FKeepAspectRatio = v; }
    bool Stretched() const { return FStretched; }
    void SetStretched(bool v) { FStretched = v; }
    const std::string& FileLink() const { return FFileLink; }
    void SetFileLink(const std::string& v) { FFileLink = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    bool HightQuality = false, IsImageIndexStored = false, IsPictureStored = true;
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; }
    gui::TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(gui::TColor v) { FTransparentColor = v; }
    gui::TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(gui::TPicture* v) { FPicture->Assign(v); }
    bool PictureChanged() const { return FPictureChanged; }
    void SetPictureChanged(bool v) { FPictureChanged = v; }

    // Recognises the format by the data's first bytes (a database graphic
    // header skipped); 0 on success, 0x80070057 when no format is known
    // (the picture is then cleared).
    uint32_t LoadPictureFromStream(rtl::TStream& stream, bool resetStreamPos);
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    void GetData() override;
    std::string Diff(TqlrComponent* aComponent) override;
    std::string GetDescription() const override;
    // The prepared pages' picture cache, asked by Diff when the picture
    // changed (nullptr: none).
    std::function<void(TqlrPictureView*)> OnAddPicture;

    void DefineProperties(rtl::TFiler& filer) override;

private:
    void PictureChangedHandler();
    bool FAutoSize = false, FCenter = false, FKeepAspectRatio = true, FStretched = true, FTransparent = false;
    bool FPictureChanged = false;
    std::string FFileLink;
    int FImageIndex = 0;
    gui::TColor FTransparentColor = gui::clWhite;
    std::unique_ptr<gui::TPicture> FPicture;
};

enum class TqlrShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2 };
RTL_ENUM(TqlrShapeKind, "skRectangle", "skRoundRectangle", "skEllipse", "skTriangle", "skDiamond", "skDiagonal1",
         "skDiagonal2")

class TqlrShapeView : public TqlrView {
    RTL_CLASS(TqlrShapeView, TqlrView)
public:
    explicit TqlrShapeView(rtl::TComponent* owner);
    int Curve() const { return FCurve; }
    void SetCurve(int v) { FCurve = v; }
    TqlrShapeKind Shape() const { return FShape; }
    void SetShape(TqlrShapeKind v) { FShape = v; }
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    std::string Diff(TqlrComponent* aComponent) override;
    std::string GetDescription() const override;

private:
    void PaintShape(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                    long double offsetY);
    int FCurve = 0;
    TqlrShapeKind FShape = TqlrShapeKind::skRectangle;
};

class TqlrSubreport : public TqlrView {
    RTL_CLASS(TqlrSubreport, TqlrView)
public:
    explicit TqlrSubreport(rtl::TComponent* owner);
    ~TqlrSubreport() override;
    TqlrReportPage* Page() const { return FPage; }
    void SetPage(TqlrReportPage* v);
    bool PrintOnParent = false;
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    std::string GetDescription() const override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    TqlrReportPage* FPage = nullptr;
};

// A graphic whose format has no decoder here (metafiles, GIF): its bytes are
// kept so that templates and prepared pages round-trip them, and it draws as
// a framed placeholder.
class TqlrKeptGraphic : public gui::TGraphic {
public:
    explicit TqlrKeptGraphic(std::string extension = "wmf") : FExtension(std::move(extension)) {}
    bool Empty() const override { return FBytes.empty(); }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetSize(int w, int h) override;
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) const override;
    void Draw(gui::TCanvas& canvas, const gui::TRect& r) const override;
    gui::TGraphic* NewEmpty() const override { return new TqlrKeptGraphic(FExtension); }
    std::string DefaultExtension() const override { return FExtension; }
    void Assign(const rtl::TPersistent* source) override;
    const std::string& Bytes() const { return FBytes; }

private:
    std::string FExtension;
    std::string FBytes;
    int FWidth = 0, FHeight = 0;
};

} // namespace qlr
