// The report object model: every object of a report template is a node of
// one tree (report, pages, bands, views, dialog components, data sets) with
// bounds in report units, a font that may follow the parent's, unique
// names, copying through the XML serializer and the attribute text ("Diff")
// that prepared pages store instead of whole objects.
//
// Report units are long double pixels at 96 per inch (3.77953 per mm).
// The rule a caller must know: a component created with a TqlrComponent
// owner is owned (freed, name-checked) by that owner's report and becomes
// the owner's last child; its parent frees it in Clear.
//
// Example:
//   auto report = std::make_unique<qlr::TqlrReport>(nullptr);
//   auto* page = new qlr::TqlrReportPage(report.get());
//   auto* memo = new qlr::TqlrMemoView(page);
//   memo->CreateUniqueName();                       // "Memo1"
//   memo->SetBounds(10, 10, 200, 20);
//   report->FindObject("memo1") == memo;            // case ignored
//
// Units: qlrClassTree.cpp (the tree), qlrClassViews.cpp (views, frames,
// highlights, formats, dialog components), qlrClassDataSets.cpp (data sets
// and the global list), qlrClassObjects.cpp (pages, bands, memo, picture,
// report root and the class registrations).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsTypInfo.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Variant.h"
#include "report/qlrExpressionCache.h"

namespace gui {
class TTimer;
} // namespace gui

namespace qlr {

class TqlrReport;
class TqlrPage;
class TqlrReportPage;
class TqlrDialogPage;
class TqlrBand;
class TqlrNullBand;
class TqlrPictureView;
class TqlrDataSet;
class TqlrUserDataSet;
class TqlrXMLSerializer;
class TqlrVariables;
class TqlrXMLItem;
class TqlrStyleItem;
class IqlrProgressWindow;
class IqlrPreviewWindow;

struct TqlrRect {
    long double Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct TqlrPoint {
    long double X = 0, Y = 0;
};

// Report units per millimetre, centimetre, tenth of an inch and inch.
constexpr long double fr01cm = 3.77953L;
constexpr long double fr1cm = 37.7953L;
constexpr long double fr01in = 9.6L;
constexpr long double fr1in = 96.0L;
// A dot-matrix character cell.
constexpr long double fr1CharX = 9.6L;
constexpr long double fr1CharY = 17.0L;

// X rounded to 8 decimals (ties to even), so that values written and read
// back compare equal.
long double RoundTo8Decimals(long double x);
// |A - B| > 0.0001: the comparison of every Diff.
bool FloatsDiffer(long double a, long double b);
// General float text, 15 significant digits, "." separator.
std::string qlrFloatToStr(long double x);

enum class TqlrRestriction { rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit };
using TqlrRestrictions = rtl::Set<TqlrRestriction, 8>;
RTL_ENUM(TqlrRestriction, "rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete", "rfDontEdit")
RTL_SET(TqlrRestrictions, TqlrRestriction)

enum class TqlrComponentStyleItem { csContainer, csPreviewVisible, csDefaultDiff };
using TqlrComponentStyle = rtl::Set<TqlrComponentStyleItem, 8>;

enum class TqlrAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
RTL_ENUM(TqlrAlign, "baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baClient")
enum class TqlrFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
RTL_ENUM(TqlrFrameStyle, "fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot", "fsDouble", "fsAltDot",
         "fsSquare")
enum class TqlrFrameType { ftLeft, ftRight, ftTop, ftBottom };
using TqlrFrameTypes = rtl::Set<TqlrFrameType, 8>;
RTL_ENUM(TqlrFrameType, "ftLeft", "ftRight", "ftTop", "ftBottom")
RTL_SET(TqlrFrameTypes, TqlrFrameType)
enum class TqlrShiftMode { smDontShift, smAlways, smWhenOverlapped };
RTL_ENUM(TqlrShiftMode, "smDontShift", "smAlways", "smWhenOverlapped")
enum class TqlrStretchMode { smDontStretch, smActualHeight, smMaxHeight };
RTL_ENUM(TqlrStretchMode, "smDontStretch", "smActualHeight", "smMaxHeight")
enum class TqlrFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
RTL_ENUM(TqlrFormatKind, "fkText", "fkNumeric", "fkDateTime", "fkBoolean")
enum class TqlrRangeBegin { rbFirst, rbCurrent };
RTL_ENUM(TqlrRangeBegin, "rbFirst", "rbCurrent")
enum class TqlrRangeEnd { reLast, reCurrent, reCount };
RTL_ENUM(TqlrRangeEnd, "reLast", "reCurrent", "reCount")
enum class TqlrFieldType { fftNumeric, fftString, fftBoolean };

// ----------------------------------------------------------------- tree

class TqlrComponent : public rtl::TComponent {
    RTL_CLASS(TqlrComponent, rtl::TComponent)
public:
    explicit TqlrComponent(rtl::TComponent* owner);
    ~TqlrComponent() override;
    // Sets IsDesigning before the object is built: use as
    // DesignCreate<TqlrMemoView>(page).
    template <typename T>
    static T* DesignCreate(rtl::TComponent* owner, int flags = 0)
    {
        SetNextDesigning(true, flags);
        return new T(owner);
    }

    // Children in drawing and streaming order.
    const std::vector<TqlrComponent*>& Objects() const { return FObjects; }
    // Every descendant, depth first, parents before children; rebuilt on
    // each call.
    const std::vector<TqlrComponent*>& AllObjects();
    virtual const std::vector<TqlrComponent*>& ContainerObjects() { return FObjects; }

    TqlrComponent* Parent() const { return FParent; }
    virtual void SetParent(TqlrComponent* value);
    TqlrPage* Page() const;
    TqlrReport* Report() const;

    long double Left() const { return FLeft; }
    long double Top() const { return FTop; }
    long double Width() const { return FWidth; }
    long double Height() const { return FHeight; }
    virtual void SetLeft(long double value);
    virtual void SetTop(long double value);
    virtual void SetWidth(long double value);
    virtual void SetHeight(long double value);
    void SetBounds(long double aLeft, long double aTop, long double aWidth, long double aHeight);
    // The values stored past the setters (no restrictions, no snapping).
    void SetLeftDirect(long double v) { FLeft = v; }
    void SetTopDirect(long double v) { FTop = v; }
    void SetWidthDirect(long double v) { FWidth = v; }
    void SetHeightDirect(long double v) { FHeight = v; }
    long double AbsLeft() const;
    long double AbsTop() const;

    gui::TFont* Font() const { return FFont.get(); }
    virtual void SetFont(gui::TFont* value);
    bool ParentFont() const { return FParentFont; }
    virtual void SetParentFont(bool value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool IsFontStored() const { return !FParentFont; }

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    const TqlrRestrictions& Restrictions() const { return FRestrictions; }
    void SetRestrictions(const TqlrRestrictions& value) { FRestrictions = value; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& value) { FDescription = value; }
    const TqlrComponentStyle& qlComponentStyle() const { return FComponentStyle; }
    void SetqlComponentStyle(const TqlrComponentStyle& value) { FComponentStyle = value; }
    // The stem of unique names: the class name without "Tqlr" and "View".
    std::string BaseName() const;

    bool IsDesigning() const { return FIsDesigning; }
    void SetIsDesigning(bool value) { FIsDesigning = value; }
    bool IsLoading() const;
    void SetIsLoading(bool value) { FIsLoading = value; }
    bool IsPrinting() const { return FIsPrinting; }
    void SetIsPrinting(bool value) { FIsPrinting = value; }
    bool IsWriting() const { return FIsWriting; }
    void SetIsWriting(bool value) { FIsWriting = value; }
    bool IsAncestor() const;
    void SetIsAncestor(bool value) { FAncestor = value; }

    const std::string& AliasName() const { return FAliasName; }
    void SetAliasName(const std::string& value) { FAliasName = value; }
    TqlrComponent* OriginalComponent() const { return FOriginalComponent; }
    void SetOriginalComponent(TqlrComponent* value) { FOriginalComponent = value; }
    TqlrComponent* OriginalBand() const { return FOriginalBand; }
    void SetOriginalBand(TqlrComponent* value) { FOriginalBand = value; }

    virtual std::string GetDescription() const { return ClassName(); }
    virtual void AlignChildren();
    virtual void BeforeStartReport() {}
    // Frees every child except those inherited from an ancestor report,
    // which are cleared themselves.
    virtual void Clear();
    virtual void LoadFromStream(rtl::TStream& stream);
    virtual void SaveToStream(rtl::TStream& stream, bool saveChildren = true, bool saveDefaultValues = false,
                              bool streaming = false);
    virtual void OnNotify(TObject*) {}
    virtual void OnPaste() {}
    // The attributes (" l=\"10\"" ...) in which this object differs from
    // aComponent, an object of the same class.
    virtual std::string Diff(TqlrComponent* aComponent);
    // The object's serialized attributes, then " " + the base Diff.
    std::string AllDiff(TqlrComponent* aComponent);
    virtual bool ContainerAdd(TqlrComponent*) { return false; }

    void Assign(const rtl::TPersistent* source) override;
    void AssignAll(TqlrComponent* source, bool streaming = false);
    void CreateUniqueName();
    void SetName(const std::string& newName) override;
    // First object of AllObjects named aName (case ignored); never this.
    TqlrComponent* FindObject(const std::string& aName);
    // A data set by name: the report's enabled data sets, or the global list.
    TqlrDataSet* FindDataSet(TqlrDataSet* dataSet, const std::string& dsName);

    void GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent* root) override;

protected:
    virtual void FontChanged();
    // Changes the font without the change handling (ParentFont stays).
    void ChangeFontQuietly(const std::function<void(gui::TFont*)>& change);
    // The base Diff of this class (views extend Diff, AllDiff appends this).
    std::string BaseDiff(TqlrComponent* aComponent);
    // The prepared pages store first-pass objects by their base Diff.
    friend class TqlrPreviewPages;
    // Points a data-set field at v, moving the free notification with it, so
    // that the field is cleared when the data set goes (see Notification).
    void LinkDataSet(TqlrDataSet*& field, TqlrDataSet* v);

    std::string FBaseName;
    TqlrComponentStyle FComponentStyle;

private:
    static void SetNextDesigning(bool designing, int flags);

    std::unique_ptr<gui::TFont> FFont;
    std::vector<TqlrComponent*> FObjects;
    std::vector<TqlrComponent*> FAllObjects;
    TqlrComponent* FParent = nullptr;
    long double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FParentFont = true;
    int FGroupIndex = 0;
    bool FIsDesigning = false;
    bool FIsLoading = false;
    bool FIsPrinting = false;
    bool FIsWriting = false;
    TqlrRestrictions FRestrictions;
    bool FVisible = true;
    std::string FDescription;
    bool FAncestor = false;
    std::string FAliasName;
    TqlrComponent* FOriginalComponent = nullptr;
    TqlrComponent* FOriginalBand = nullptr;

protected:
    int FDesignFlags = 0;
};

class TqlrReportComponent : public TqlrComponent {
    RTL_CLASS(TqlrReportComponent, TqlrComponent)
public:
    explicit TqlrReportComponent(rtl::TComponent* owner);

    // Draws at device position offset + scale * report units.  The base
    // class has nothing to draw and raises EAbstractError.
    virtual void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                      long double offsetY);
    virtual void BeforePrint();
    virtual void GetData() {}
    virtual void AfterPrint();
    virtual std::string GetComponentText() { return ""; }
    virtual TqlrRect GetRealBounds();

    // Event texts name script procedures; they are stored, never run here.
    std::string OnAfterData, OnAfterPrint, OnBeforePrint, OnPreviewClick, OnPreviewDblClick;
    long double ShiftAmount = 0;
    std::vector<TqlrReportComponent*> ShiftChildren;
    // Set by an object that prints bands of its own (the cross-tab) once it
    // has run the report's before-print event for this object, with the
    // object's row, column and value at hand: the engine then leaves the
    // event out when it prints the object's band, and clears the mark.
    bool BeforePrintEventDone = false;

protected:
    TqlrRect FOriginalRect;
};

// -------------------------------------------------------------- frames

class TqlrFrame;

class TqlrFrameLine : public rtl::TPersistent {
    RTL_CLASS(TqlrFrameLine, rtl::TPersistent)
public:
    explicit TqlrFrameLine(TqlrFrame* frame = nullptr) : FFrame(frame) {}
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    TqlrFrameStyle Style() const { return FStyle; }
    void SetStyle(TqlrFrameStyle v) { FStyle = v; }
    long double Width() const { return FWidth; }
    void SetWidth(long double v) { FWidth = v; }
    bool IsColorStored() const;
    bool IsStyleStored() const;
    bool IsWidthStored() const;
    void Assign(const rtl::TPersistent* source) override;
    std::string Diff(const TqlrFrameLine* aLine, const std::string& lineName, bool colorChanged,
                     bool styleChanged, bool widthChanged) const;

private:
    TqlrFrame* FFrame;
    gui::TColor FColor = gui::clBlack;
    TqlrFrameStyle FStyle = TqlrFrameStyle::fsSolid;
    long double FWidth = 1;
};

class TqlrFrame : public rtl::TPersistent {
    RTL_CLASS(TqlrFrame, rtl::TPersistent)
public:
    TqlrFrame();
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v);
    bool DropShadow() const { return FDropShadow; }
    void SetDropShadow(bool v) { FDropShadow = v; }
    gui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(gui::TColor v) { FShadowColor = v; }
    long double ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(long double v) { FShadowWidth = v; }
    TqlrFrameStyle Style() const { return FStyle; }
    void SetStyle(TqlrFrameStyle v);
    const TqlrFrameTypes& Typ() const { return FTyp; }
    void SetTyp(const TqlrFrameTypes& v) { FTyp = v; }
    long double Width() const { return FWidth; }
    void SetWidth(long double v);
    TqlrFrameLine* LeftLine() const { return FLeftLine.get(); }
    TqlrFrameLine* TopLine() const { return FTopLine.get(); }
    TqlrFrameLine* RightLine() const { return FRightLine.get(); }
    TqlrFrameLine* BottomLine() const { return FBottomLine.get(); }
    void SetLeftLine(TqlrFrameLine* v) { FLeftLine->Assign(v); }
    void SetTopLine(TqlrFrameLine* v) { FTopLine->Assign(v); }
    void SetRightLine(TqlrFrameLine* v) { FRightLine->Assign(v); }
    void SetBottomLine(TqlrFrameLine* v) { FBottomLine->Assign(v); }
    void Assign(const rtl::TPersistent* source) override;
    std::string Diff(const TqlrFrame* aFrame) const;

private:
    std::unique_ptr<TqlrFrameLine> FLeftLine, FTopLine, FRightLine, FBottomLine;
    gui::TColor FColor = gui::clBlack;
    bool FDropShadow = false;
    long double FShadowWidth = 4;
    gui::TColor FShadowColor = gui::clBlack;
    TqlrFrameStyle FStyle = TqlrFrameStyle::fsSolid;
    TqlrFrameTypes FTyp;
    long double FWidth = 1;
};

// The conditional look of a memo: Font and Color while Condition holds.
class TqlrHighlight : public rtl::TPersistent {
    RTL_CLASS(TqlrHighlight, rtl::TPersistent)
public:
    TqlrHighlight();
    bool Active() const { return FActive; }
    void SetActive(bool v) { FActive = v; }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(gui::TFont* v) { FFont->Assign(v); }
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    const std::string& Condition() const { return FCondition; }
    void SetCondition(const std::string& v) { FCondition = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    bool FActive = false;
    gui::TColor FColor = gui::clNone;
    std::string FCondition;
    std::unique_ptr<gui::TFont> FFont;
};

class TqlrFormat : public rtl::TPersistent {
    RTL_CLASS(TqlrFormat, rtl::TPersistent)
public:
    const std::string& DecimalSeparator() const { return FDecimalSeparator; }
    void SetDecimalSeparator(const std::string& v) { FDecimalSeparator = v; }
    const std::string& ThousandSeparator() const { return FThousandSeparator; }
    void SetThousandSeparator(const std::string& v) { FThousandSeparator = v; }
    const std::string& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const std::string& v) { FFormatStr = v; }
    TqlrFormatKind Kind() const { return FKind; }
    void SetKind(TqlrFormatKind v) { FKind = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FDecimalSeparator = ".";
    std::string FThousandSeparator;
    std::string FFormatStr;
    TqlrFormatKind FKind = TqlrFormatKind::fkText;
};

// ---------------------------------------------------------------- views

class TqlrView : public TqlrReportComponent {
    RTL_CLASS(TqlrView, TqlrReportComponent)
public:
    explicit TqlrView(rtl::TComponent* owner);
    ~TqlrView() override;

    TqlrAlign Align() const { return FAlign; }
    void SetAlign(TqlrAlign v) { FAlign = v; }
    gui::TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(gui::TBrushStyle v) { FBrushStyle = v; }
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    int Cursor() const { return FCursor; }
    void SetCursor(int v) { FCursor = v; }
    const std::string& DataField() const { return FDataField; }
    void SetDataField(const std::string& v) { FDataField = v; }
    TqlrDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TqlrDataSet* v);
    std::string DataSetName() const;
    void SetDataSetName(const std::string& v);
    TqlrFrame* Frame() const { return FFrame.get(); }
    void SetFrame(TqlrFrame* v) { FFrame->Assign(v); }
    bool Printable() const { return FPrintable; }
    void SetPrintable(bool v) { FPrintable = v; }
    TqlrShiftMode ShiftMode() const { return FShiftMode; }
    void SetShiftMode(TqlrShiftMode v) { FShiftMode = v; }
    const std::string& TagStr() const { return FTagStr; }
    void SetTagStr(const std::string& v) { FTagStr = v; }
    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& v) { FURL = v; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool v) { FPlainText = v; }
    bool IsDataField() const;

    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;
    std::string Diff(TqlrComponent* aComponent) override;

    // The device rectangle of the last drawing.
    int FX = 0, FY = 0, FX1 = 0, FY1 = 0, FDX = 0, FDY = 0, FFrameWidth = 0;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    virtual void PrepareDeviceRect(gui::TCanvas* canvas, long double scaleX, long double scaleY,
                                   long double offsetX, long double offsetY);
    virtual void PaintBackground();
    virtual void PaintFrame();
    // Replaces each [expression] of s by its value through the report's Calc.
    std::string ExpandBrackets(const std::string& s);

    long double FScaleX = 1, FScaleY = 1, FOffsetX = 0, FOffsetY = 0;
    gui::TCanvas* FCanvas = nullptr;

private:
    TqlrAlign FAlign = TqlrAlign::baNone;
    gui::TBrushStyle FBrushStyle = gui::TBrushStyle::bsSolid;
    gui::TColor FColor = gui::clNone;
    int FCursor = 0;
    std::string FDataField;
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
    std::unique_ptr<TqlrFrame> FFrame;
    bool FPrintable = true;
    TqlrShiftMode FShiftMode = TqlrShiftMode::smAlways;
    std::string FTagStr, FTempTag, FTempURL, FHint, FURL;
    bool FShowHint = false;
    bool FPlainText = false;
};

class TqlrStretcheable : public TqlrView {
    RTL_CLASS(TqlrStretcheable, TqlrView)
public:
    using TqlrView::TqlrView;
    TqlrStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TqlrStretchMode v) { FStretchMode = v; }
    virtual long double CalcHeight() { return Height(); }
    virtual long double DrawPart() { return 0; }
    virtual void InitPart() {}
    long double FSaveHeight = 0, FSavedTop = 0;

private:
    TqlrStretchMode FStretchMode = TqlrStretchMode::smDontStretch;
};

// A non-visual component on a dialog or data page, drawn as a 28 x 28 icon.
class TqlrDialogComponent : public TqlrReportComponent {
    RTL_CLASS(TqlrDialogComponent, TqlrReportComponent)
public:
    explicit TqlrDialogComponent(rtl::TComponent* owner);
    ~TqlrDialogComponent() override;
    rtl::TComponent* Component() const { return FComponent; }
    void SetComponent(rtl::TComponent* c) { FComponent = c; }
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    void DefineProperties(rtl::TFiler& filer) override;

protected:
    rtl::TComponent* FComponent = nullptr;  // owned
    int FImageIndex = -1;
};

// A window control of a dialog page; the control itself comes with the
// dialog page.  Until then it keeps its values here.
class TqlrDialogControl : public TqlrReportComponent {
    RTL_CLASS(TqlrDialogControl, TqlrReportComponent)
public:
    explicit TqlrDialogControl(rtl::TComponent* owner);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    void SetName(const std::string& newName) override;
    void Draw(gui::TCanvas*, long double, long double, long double, long double) override {}
    std::string OnClick, OnDblClick, OnEnter, OnExit, OnKeyDown, OnKeyUp, OnKeyPress, OnMouseDown, OnMouseUp,
        OnMouseMove, OnActivate;

private:
    std::string FCaption, FHint;
    bool FEnabled = true, FShowHint = false;
};

// ------------------------------------------------------------ data sets

class TqlrDataSet : public TqlrDialogComponent {
    RTL_CLASS(TqlrDataSet, TqlrDialogComponent)
public:
    explicit TqlrDataSet(rtl::TComponent* owner);
    ~TqlrDataSet() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    TqlrRangeBegin RangeBegin() const { return FRangeBegin; }
    void SetRangeBegin(TqlrRangeBegin v) { FRangeBegin = v; }
    TqlrRangeEnd RangeEnd() const { return FRangeEnd; }
    void SetRangeEnd(TqlrRangeEnd v) { FRangeEnd = v; }
    int RangeEndCount() const { return FRangeEndCount; }
    void SetRangeEndCount(int v) { FRangeEndCount = v; }
    const std::string& UserName() const { return FUserName; }
    // Raises "prInvProp"'s text for a blank name.
    virtual void SetUserName(const std::string& v);
    bool CloseDataSource() const { return FCloseDataSource; }
    void SetCloseDataSource(bool v) { FCloseDataSource = v; }
    bool OpenDataSource() const { return FOpenDataSource; }
    void SetOpenDataSource(bool v) { FOpenDataSource = v; }
    int RecNo() const { return FRecNo; }
    TqlrReport* ReportRef() const { return FReportRef; }
    void SetReportRef(TqlrReport* r) { FReportRef = r; }
    void SetName(const std::string& newName) override;

    virtual std::string DisplayText(const std::string&) { return ""; }
    virtual int DisplayWidth(const std::string&) { return 10; }
    virtual TqlrFieldType FieldType(const std::string&) { return TqlrFieldType::fftNumeric; }
    virtual rtl::Variant Value(const std::string&) { return rtl::Variant::Null(); }
    virtual void Initialize() {}
    virtual void Finalize() {}
    virtual void Open();
    virtual void Close();
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    virtual int FieldsCount() { return 0; }
    virtual bool IsBlobField(const std::string&) { return false; }
    virtual int RecordCount();
    virtual void AssignBlobTo(const std::string&, rtl::TObject*) {}
    // The same into a stream (the picture view's way of reading a BLOB).
    virtual void AssignBlobToStream(const std::string&, rtl::TStream&) {}
    virtual void GetFieldList(rtl::TStringList& list) { list.Clear(); }
    bool HasField(const std::string& fName);

    // Host-program events (the script's names are the published texts).
    std::function<void(TqlrDataSet*, bool&)> OnCheckEOF;
    std::function<void(TqlrDataSet*)> OnFirst, OnNext, OnPrior, OnOpen, OnClose;
    std::string OnCheckEOFName, OnFirstName, OnNextName, OnPriorName;

private:
    bool FCloseDataSource = false;
    bool FEnabled = true;
    bool FEof = false;
    bool FOpenDataSource = true;
    TqlrRangeBegin FRangeBegin = TqlrRangeBegin::rbFirst;
    TqlrRangeEnd FRangeEnd = TqlrRangeEnd::reLast;
    int FRangeEndCount = 0;
    TqlrReport* FReportRef = nullptr;
    std::string FUserName;
    bool FInitialized = false;
    int FRecNo = 0;
};

class TqlrUserDataSet : public TqlrDataSet {
    RTL_CLASS(TqlrUserDataSet, TqlrDataSet)
public:
    explicit TqlrUserDataSet(rtl::TComponent* owner);
    rtl::TStringList* Fields() const { return FFields.get(); }
    void SetFields(rtl::TStringList* v) { FFields->Assign(v); }
    std::string DisplayText(const std::string& field) override;
    rtl::Variant Value(const std::string& field) override;
    int FieldsCount() override { return FFields->Count(); }
    void GetFieldList(rtl::TStringList& list) override;

    std::function<void(const std::string&, rtl::Variant&)> OnGetValue;
    std::function<void(TqlrUserDataSet*, const std::string&, rtl::Variant&)> OnNewGetValue;

private:
    std::unique_ptr<rtl::TStringList> FFields;
};

class TqlrCustomDBDataSet : public TqlrDataSet {
    RTL_CLASS(TqlrCustomDBDataSet, TqlrDataSet)
public:
    explicit TqlrCustomDBDataSet(rtl::TComponent* owner);
    rtl::TStringList* FieldAliases() const { return FAliases.get(); }
    void SetFieldAliases(rtl::TStringList* v) { FAliases->Assign(v); }
    // The alias of a field (the field itself when it has none), and back.
    std::string GetAlias(const std::string& fName) const;
    std::string ConvertAlias(const std::string& fName) const;
    int FieldsCount() override;

protected:
    std::unique_ptr<rtl::TStringList> FAliases, FFields;
};

// The interface of a database connection; no connection class exists here.
class TqlrCustomDatabase : public TqlrDialogComponent {
    RTL_CLASS(TqlrCustomDatabase, TqlrDialogComponent)
public:
    using TqlrDialogComponent::TqlrDialogComponent;
    virtual void SetConnected(bool) {}
    virtual void SetDatabaseName(const std::string&) {}
    virtual void SetLoginPrompt(bool) {}
    virtual void SetParams(rtl::TStringList*) {}
    virtual bool Connected() const { return false; }
    virtual std::string DatabaseName() const { return ""; }
    virtual bool LoginPrompt() const { return false; }
    virtual rtl::TStringList* Params() const { return nullptr; }
    virtual std::string ToString() const { return ""; }
    virtual void FromString(const std::string&) {}
    virtual void SetLogin(const std::string&, const std::string&) {}
};

// Every data set alive, in creation order.
const std::vector<TqlrDataSet*>& GlobalDataSets();
// A data set by user name (case ignored) from the global list, passing over
// sets owned by another report; the fallback when none matches.
TqlrDataSet* FindGlobalDataSet(TqlrDataSet* dataSet, const std::string& name, rtl::TComponent* owner);
// User names and objects of the enabled, named data sets.
void ListGlobalDataSets(rtl::TStringList& list);

// ---------------------------------------------------------- text layout
//
// TqlrDrawText lays text out on a private 600-dpi canvas (so that line
// breaks never depend on the output device), measures it, cuts it at the
// bottom of a rectangle and draws it on any canvas, stretching each line to
// the 600-dpi layout (WYSIWYG).  Use: Lock; SetFont, SetOptions, SetGaps,
// SetDimensions, SetText; queries or DrawText; Unlock.  DrawText and
// CalcWidth consume the tags' change marks, so each needs its own SetText.

enum class TqlrHAlign { haLeft, haRight, haCenter, haBlock };
RTL_ENUM(TqlrHAlign, "haLeft", "haRight", "haCenter", "haBlock")
enum class TqlrVAlign { vaTop, vaBottom, vaCenter };
RTL_ENUM(TqlrVAlign, "vaTop", "vaBottom", "vaCenter")

// The attributes of one laid-out character.
struct TqlrHTMLTag {
    int Position = 0;   // 1-based in the source text, tags and line ends counted
    int Size = 0;       // points
    int AddY = 0;       // 1: lowered (subscript)
    gui::TFontStyles Style;
    gui::TColor Color = 0;
    bool Default = false;   // brings no change of attributes
    bool Small = false;     // drawn at the sub/superscript size
    bool DontWRAP = false;  // inside <nowrap>
    void Assign(const TqlrHTMLTag& t);
};
using TqlrHTMLTags = std::vector<TqlrHTMLTag>;

class TqlrHTMLTagsList {
public:
    bool AllowTags = true;
    int AddY = 0;
    gui::TColor Color = 0, DefColor = 0;
    int DefSize = 10, Size = 10;
    gui::TFontStyles DefStyle, Style;
    int Position = 1;
    bool DontWRAP = false;
    std::vector<TqlrHTMLTags> Items;

    void Clear() { Items.clear(); }
    int Count() const { return static_cast<int>(Items.size()); }
    void SetDefaults(gui::TColor defColor, int defSize, const gui::TFontStyles& defStyle);
    // Interprets and removes the tags of s, recording one tag per remaining
    // character on the last line.  An empty result becomes one blank.
    void ExpandHTMLTags(std::u16string& s);
    void BeginLine() { Items.emplace_back(); }
    void SplitLine(int count, bool hyphen);
    // The same as SplitLine for each (count, hyphen) in order, in one pass
    // over the last line (a long line splits in linear time).
    void SplitLines(const std::vector<std::pair<int, bool>>& splits);
    TqlrHTMLTags& LineAt(int index) { return Items[static_cast<std::size_t>(index)]; }
    // Per-character widths of line (cumulative when asked) plus spacing on
    // the canvas, styled by the tags of tag line tagLine; returns the total.
    int MeasureCharWidths(const std::u16string& line, std::vector<int>& widths, bool cumulative, int spacing,
                          int tagLine, gui::TCanvas& canvas);

private:
    void RecordCharTag();
    const TqlrHTMLTag* PreviousTag() const;
};

class TqlrDrawText {
public:
    TqlrDrawText();
    ~TqlrDrawText();
    TqlrDrawText(const TqlrDrawText&) = delete;
    TqlrDrawText& operator=(const TqlrDrawText&) = delete;

    // One lock for every instance.
    static void Lock();
    static void Unlock();

    void SetFont(const gui::TFont* font);
    void SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped, bool wysiwyg,
                    int rotation);
    void SetGaps(long double paragraphGap, long double charSpacing, long double lineSpacing);
    void SetDimensions(long double scaleX, long double scaleY, long double printScale, const gui::TRect& originalRect,
                       const gui::TRect& scaledRect);
    void SetText(const std::vector<std::u16string>& text);
    void SetParaBreaks(bool firstParaBreak, bool lastParaBreak);
    void DrawText(gui::TCanvas* canvas, TqlrHAlign hAlign, TqlrVAlign vAlign);
    long double CalcHeight() const;
    long double CalcWidth();
    long double LineHeight() const { return TextHeight() + FLineSpacing; }
    long double TextHeight() const;
    long double UnusedSpace() const;
    std::u16string GetOutBoundsText(bool& paraBreak);
    const std::u16string& GetInBoundsText() const { return FPlainText; }
    std::u16string GetWrappedText() const;
    std::u16string DeleteTags(std::u16string txt);

    // The laid-out lines and their flags (1: first line of a paragraph,
    // 2: last line).
    const std::vector<std::u16string>& Lines() const { return FText; }
    int LineFlags(int index) const { return FFlags[static_cast<std::size_t>(index)]; }
    const TqlrHTMLTagsList& Tags() const { return FHTMLTags; }
    gui::TCanvas* LayoutCanvas() const { return FCanvas; }
    bool UseDefaultCharset = true;

private:
    void WrapSourceLine(const std::u16string& line, int fullWidth, int firstWidth, int spacing);
    void AddLine(const std::u16string& line);
    void PaintLine(gui::TCanvas* canvas, int index, TqlrHAlign align, int wd, int y, int x, double cosA,
                   double sinA);
    void PlaceTextBlock(TqlrVAlign vAlign, int h, int& x, int& y, int& wd, double& cosA, double& sinA);
    int FitLines() const;

    std::unique_ptr<gui::TBitmap> FBMP;
    gui::TCanvas* FCanvas;
    int FDefPPI = 600, FScrPPI = 96;
    int FFontSize = 10;
    TqlrHTMLTagsList FHTMLTags;
    long double FCharSpacing = 0, FLineSpacing = 0, FParagraphGap = 0;
    uint32_t FOptions = 0;
    gui::TRect FOriginalRect, FScaledRect;
    std::u16string FPlainText;
    long double FPrintScale = 1;
    int FRotation = 0;
    bool FRTLReading = false;
    long double FScaleX = 1, FScaleY = 1;
    std::vector<std::u16string> FText;
    std::vector<int> FFlags;
    bool FWordBreak = false, FWordWrap = true, FWysiwyg = true;
    std::vector<int> FWidths;  // sized to the line, never a fixed capacity
};

// The instance of text objects outside a report and of the PDF export.
TqlrDrawText& SharedDrawText();
// Break positions (1-based, ascending) of an upper-case Cyrillic word.
std::vector<int> HyphenPositions(const std::u16string& w);
// The part of the word at from (1-based) that fits upto - from characters
// with a hyphen; empty when there is none.
std::u16string FindHyphenPoint(const std::u16string& s, int from, int upto, int n);
// Spreads n increments of step over a[lo..hi], halving recursively.
void SpreadIncrements(std::vector<int>& a, int lo, int hi, int step, int n);

// The text object.  Its text comes from a data field or from the template
// with [expressions] replaced by their formatted values; the serializer
// writes it as the pair "Text" and reads "Text", "x" and "u" into it.
class TqlrCustomMemoView : public TqlrStretcheable {
    RTL_CLASS(TqlrCustomMemoView, TqlrStretcheable)
public:
    explicit TqlrCustomMemoView(rtl::TComponent* owner);
    ~TqlrCustomMemoView() override;
    // The lines joined by CR LF.
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v) { FText = v; }
    std::vector<std::u16string> Lines() const;
    // The text as bytes of the single-byte (or multi-byte Asian) code page of
    // the font's character set, and back; raises EOSError for a character
    // set without a page.
    std::string AnsiText() const;
    void SetAnsiText(const std::string& bytes);
    // Whether data and expressions pass through the font's code page: the
    // font has a character set of its own (not 1) and UseDefaultCharset is
    // off.
    bool ConvertsCharset() const;
    bool AllowExpressions() const { return FAllowExpressions; }
    void SetAllowExpressions(bool v) { FAllowExpressions = v; }
    bool AllowHTMLTags() const { return FAllowHTMLTags; }
    void SetAllowHTMLTags(bool v) { FAllowHTMLTags = v; }
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool v) { FAutoWidth = v; }
    long double CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(long double v) { FCharSpacing = v; }
    bool Clipped() const { return FClipped; }
    void SetClipped(bool v) { FClipped = v; }
    TqlrFormat* DisplayFormat() const { return FDisplayFormat.get(); }
    void SetDisplayFormat(TqlrFormat* v) { FDisplayFormat->Assign(v); }
    const std::string& ExpressionDelimiters() const { return FExpressionDelimiters; }
    void SetExpressionDelimiters(const std::string& v) { FExpressionDelimiters = v; }
    TqlrCustomMemoView* FlowTo() const { return FFlowTo; }
    void SetFlowTo(TqlrCustomMemoView* v);
    bool FirstParaBreak() const { return FFirstParaBreak; }
    void SetFirstParaBreak(bool v) { FFirstParaBreak = v; }
    bool LastParaBreak() const { return FLastParaBreak; }
    void SetLastParaBreak(bool v) { FLastParaBreak = v; }
    long double GapX() const { return FGapX; }
    void SetGapX(long double v) { FGapX = v; }
    long double GapY() const { return FGapY; }
    void SetGapY(long double v) { FGapY = v; }
    TqlrHAlign HAlign() const { return FHAlign; }
    void SetHAlign(TqlrHAlign v) { FHAlign = v; }
    bool HideZeros() const { return FHideZeros; }
    void SetHideZeros(bool v) { FHideZeros = v; }
    TqlrHighlight* Highlight() const { return FHighlight.get(); }
    void SetHighlight(TqlrHighlight* v) { FHighlight->Assign(v); }
    long double LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(long double v) { FLineSpacing = v; }
    long double ParagraphGap() const { return FParagraphGap; }
    void SetParagraphGap(long double v) { FParagraphGap = v; }
    int Rotation() const { return FRotation; }
    void SetRotation(int v) { FRotation = v % 360; }
    bool RTLReading() const { return FRTLReading; }
    void SetRTLReading(bool v) { FRTLReading = v; }
    const std::string& Style() const { return FStyle; }
    void SetStyle(const std::string& v);
    bool SuppressRepeated() const { return FSuppressRepeated; }
    void SetSuppressRepeated(bool v) { FSuppressRepeated = v; }
    bool Underlines() const { return FUnderlines; }
    void SetUnderlines(bool v) { FUnderlines = v; }
    TqlrVAlign VAlign() const { return FVAlign; }
    void SetVAlign(TqlrVAlign v) { FVAlign = v; }
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool v) { FWordBreak = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool v) { FWysiwyg = v; }
    bool UseDefaultCharset() const { return FUseDefaultCharset; }
    void SetUseDefaultCharset(bool v) { FUseDefaultCharset = v; }
    const rtl::Variant& Value() const { return FValue; }
    void SetValue(const rtl::Variant& v) { FValue = v; }
    int TotalPages() const { return FTotalPages; }
    void SetTotalPages(int v) { FTotalPages = v; }
    int CopyNo() const { return FCopyNo; }
    void SetCopyNo(int v) { FCopyNo = v; }
    long double PrintScale() const { return FPrintScale; }
    void SetPrintScale(long double v) { FPrintScale = v; }
    const gui::TRect& TextRect() const { return FTextRect; }

    // Color, font and frame from a style item (nothing for nullptr).
    void ApplyStyle(const TqlrStyleItem* style);
    // The text of a value under a display format (nullptr: DisplayFormat).
    std::string FormatData(const rtl::Variant& value, const TqlrFormat* format = nullptr) const;
    void ResetSuppress() { FLastValue = rtl::Variant(std::string()); }
    void ExtractMacros();
    // The laid-out lines (wrapWords) or the text without its markup.
    std::string WrapText(bool wrapWords);
    std::string GetComponentText() override;
    std::string GetDescription() const override;

    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;
    std::string Diff(TqlrComponent* aComponent) override;
    long double CalcHeight() override;
    virtual long double CalcWidth();
    long double DrawPart() override;
    void InitPart() override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void PrepareDeviceRect(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                           long double offsetY) override;

private:
    TqlrDrawText& Layout() const;
    // The text area for a device rectangle already prepared.
    gui::TRect TextArea(long double scaleX, long double scaleY) const;
    long double ExtraHeight() const;
    long double ExtraWidth() const;
    void SetupLayout(TqlrDrawText& dt, long double scaleX, long double scaleY, long double offsetX,
                     long double offsetY, gui::TCanvas* canvas);
    void SetupFontAndOptions(TqlrDrawText& dt);
    std::string EvaluateExpression(const std::string& expr);

    bool FAllowExpressions = true, FAllowHTMLTags = false, FAutoWidth = false, FClipped = true;
    long double FCharSpacing = 0;
    std::unique_ptr<TqlrFormat> FDisplayFormat;
    std::string FExpressionDelimiters = "[,]";
    TqlrCustomMemoView* FFlowTo = nullptr;
    bool FFirstParaBreak = false, FLastParaBreak = false;
    long double FGapX = 2, FGapY = 1;
    TqlrHAlign FHAlign = TqlrHAlign::haLeft;
    bool FHideZeros = false;
    std::unique_ptr<TqlrHighlight> FHighlight;
    long double FLineSpacing = 2, FParagraphGap = 0;
    std::string FText;
    std::u16string FPartMemo;
    int FRotation = 0;
    bool FRTLReading = false;
    std::string FStyle;
    bool FSuppressRepeated = false;
    std::string FTempMemo;
    bool FUnderlines = false;
    TqlrVAlign FVAlign = TqlrVAlign::vaTop;
    rtl::Variant FValue = rtl::Variant::Null();
    bool FWordBreak = false, FWordWrap = true, FWysiwyg = true, FUseDefaultCharset = false;
    rtl::Variant FLastValue = rtl::Variant::Null();
    int FTotalPages = 0, FCopyNo = 0;
    gui::TRect FTextRect;
    long double FPrintScale = 1;
};

class TqlrMemoView : public TqlrCustomMemoView {
    RTL_CLASS(TqlrMemoView, TqlrCustomMemoView)
public:
    using TqlrCustomMemoView::TqlrCustomMemoView;
};

// ------------------------------------------------------ options and styles

enum class TqlrSilentMode { simMessageBoxes, simSilent, simReThrow };
RTL_ENUM(TqlrSilentMode, "simMessageBoxes", "simSilent", "simReThrow")
enum class TqlrPreviewButton {
    pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator,
    pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail
};
using TqlrPreviewButtons = rtl::Set<TqlrPreviewButton, 16>;
RTL_ENUM(TqlrPreviewButton, "pbPrint", "pbLoad", "pbSave", "pbExport", "pbZoom", "pbFind", "pbOutline",
         "pbPageSetup", "pbTools", "pbEdit", "pbNavigator", "pbExportQuick", "pbNoClose", "pbNoFullScreen",
         "pbNoEmail")
RTL_SET(TqlrPreviewButtons, TqlrPreviewButton)
enum class TqlrZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
RTL_ENUM(TqlrZoomMode, "zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages")
enum class TqlrPrintMode { pmDefault, pmSplit, pmJoin, pmScale };
RTL_ENUM(TqlrPrintMode, "pmDefault", "pmSplit", "pmJoin", "pmScale")
enum class TqlrPrintPages { ppAll, ppOdd, ppEven };
RTL_ENUM(TqlrPrintPages, "ppAll", "ppOdd", "ppEven")
enum class TqlrDuplexMode { dmNone, dmVertical, dmHorizontal, dmSimplex };
RTL_ENUM(TqlrDuplexMode, "dmNone", "dmVertical", "dmHorizontal", "dmSimplex")

class TqlrEngineOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrEngineOptions, rtl::TPersistent)
public:
    TqlrEngineOptions() { Clear(); }
    bool ConvertNulls = true, DestroyForms = true, DoublePass = false;
    int MaxMemSize = 10;
    bool PrintIfEmpty = true;
    void* ReportThread = nullptr;
    bool EnableThreadSafe = false;
    TqlrSilentMode NewSilentMode = TqlrSilentMode::simMessageBoxes;
    std::string TempDir;
    bool UseFileCache = false, UseGlobalDataSetList = true, IgnoreDevByZero = false;
    // True exactly for simSilent; writing False gives simMessageBoxes.
    bool SilentMode() const { return NewSilentMode == TqlrSilentMode::simSilent; }
    void SetSilentMode(bool v) { NewSilentMode = v ? TqlrSilentMode::simSilent : TqlrSilentMode::simMessageBoxes; }
    // Copies all but DestroyForms, ReportThread, EnableThreadSafe and
    // UseGlobalDataSetList.
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrPreviewOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrPreviewOptions, rtl::TPersistent)
public:
    TqlrPreviewOptions() { Clear(); }
    bool AllowEdit = true;
    TqlrPreviewButtons Buttons = TqlrPreviewButtons::FromMask(0x0FFF);
    bool DoubleBuffered = true, Maximized = true, MDIChild = false, Modal = true, OutlineExpand = true,
         OutlineVisible = false;
    int OutlineWidth = 120, PagesInCache = 50;
    bool ShowCaptions = false, ThumbnailVisible = false;
    long double Zoom = 1.0;
    TqlrZoomMode ZoomMode = TqlrZoomMode::zmDefault;
    bool PictureCacheInFile = false, RTLPreview = false;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrPrintOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrPrintOptions, rtl::TPersistent)
public:
    TqlrPrintOptions();
    int Copies = 1;
    bool Collate = true;
    std::string PageNumbers;
    int PagesOnSheet = 0;
    std::string Printer;
    TqlrPrintMode PrintMode = TqlrPrintMode::pmDefault;
    int PrintOnSheet = 0;
    TqlrPrintPages PrintPages = TqlrPrintPages::ppAll;
    bool Reverse = false, ShowDialog = true, SwapPageSize = false;
    std::string PrnOutFileName;
    TqlrDuplexMode Duplex = TqlrDuplexMode::dmNone;
    int SplicingLine = 3;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrReportOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrReportOptions, rtl::TPersistent)
public:
    explicit TqlrReportOptions(TqlrReport* report = nullptr);
    std::string Author;
    bool Compressed = false;
    std::string ConnectionName;
    double CreateDate = 0, LastChange = 0;
    rtl::TStringList* Description() const { return FDescription.get(); }
    void SetDescription(rtl::TStringList* v) { FDescription->Assign(v); }
    std::string InitString, Name, Password;
    std::string VersionBuild, VersionMajor, VersionMinor, VersionRelease;
    // The password accepted while the program runs.
    std::string PrevPassword;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
    // Stores the name; with a name and the report's OnSetConnection set,
    // hands it every non-empty connection string stored under that name in
    // the registry stand-in ("Software\Quillory\Connections", then
    // "...ConnectionsFIB": a later one overrides).  The registry is only read.
    void SetConnectionName(const std::string& value);
    // Asks for the password at most once per run (see the .cpp).
    bool CheckPassword();
    TqlrReport* Report() const { return FReport; }

private:
    TqlrReport* FReport;
    std::unique_ptr<rtl::TStringList> FDescription;
};

class TqlrStyleItem : public rtl::TCollectionItem {
    RTL_CLASS(TqlrStyleItem, rtl::TCollectionItem)
public:
    explicit TqlrStyleItem(rtl::TCollection* collection);
    const std::string& Name() const { return FName; }
    // Raises "Duplicate name" for a name another item has (case ignored).
    void SetName(const std::string& v);
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(gui::TFont* v) { FFont->Assign(v); }
    TqlrFrame* Frame() const { return FFrame.get(); }
    void SetFrame(TqlrFrame* v) { FFrame->Assign(v); }
    void Assign(const rtl::TPersistent* source) override;
    void CreateUniqueName();

private:
    std::string FName;
    gui::TColor FColor = gui::clNone;
    std::unique_ptr<gui::TFont> FFont;
    std::unique_ptr<TqlrFrame> FFrame;
};

class TqlrStyles : public rtl::TCollection {
    RTL_CLASS(TqlrStyles, rtl::TCollection)
public:
    explicit TqlrStyles(TqlrReport* report = nullptr);
    TqlrStyleItem* Add() { return static_cast<TqlrStyleItem*>(rtl::TCollection::Add()); }
    TqlrStyleItem* Item(int index) const { return static_cast<TqlrStyleItem*>(Items(index)); }
    TqlrStyleItem* Find(const std::string& name) const;
    void GetList(rtl::TStringList& list) const;
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    TqlrReport* Report() const { return FReport; }
    void LoadFromXMLItem(TqlrXMLItem* item, bool oldXMLFormat = false);
    void SaveToXMLItem(TqlrXMLItem* item);
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream);
    // Re-applies the styles to the report's memos; a memo whose style is not
    // here loses its style name.
    void Apply();

private:
    std::string FName;
    TqlrReport* FReport;
};

class TqlrStyleSheet {
public:
    void Clear() { FItems.clear(); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    TqlrStyles* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrStyles* Items(int index) const { return FItems[static_cast<std::size_t>(index)].get(); }
    TqlrStyles* Find(const std::string& name) const;
    int IndexOf(const std::string& name) const;
    void GetList(rtl::TStringList& list) const;
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream);

private:
    std::vector<std::unique_ptr<TqlrStyles>> FItems;
};

// ------------------------------------------------------------ the report

// One entry of a report's data-set list: a data set, or only its name
// when the data set is gone.
class TqlrDataSetItem : public rtl::TCollectionItem {
    RTL_CLASS(TqlrDataSetItem, rtl::TCollectionItem)
public:
    explicit TqlrDataSetItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    TqlrDataSet* DataSet() const { return FDataSet; }
    // Also stores the data set's user name.
    void SetDataSet(TqlrDataSet* v);
    // The data set's current user name when one is set, else the stored one.
    std::string DataSetName() const;
    // Looks the data set up by name among the report's data sets (an empty
    // name clears it).
    void SetDataSetName(const std::string& v);
    void Assign(const rtl::TPersistent* source) override;

private:
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
};

class TqlrReportDataSets : public rtl::TCollection {
    RTL_CLASS(TqlrReportDataSets, rtl::TCollection)
public:
    explicit TqlrReportDataSets(TqlrReport* report = nullptr);
    TqlrReport* Report() const { return FReport; }
    TqlrDataSetItem* Add(TqlrDataSet* dataSet);
    TqlrDataSetItem* Item(int index) const { return static_cast<TqlrDataSetItem*>(Items(index)); }
    TqlrDataSetItem* Find(TqlrDataSet* dataSet) const;
    // By user name, case ignored.
    TqlrDataSetItem* Find(const std::string& name) const;
    void Delete(const std::string& name);
    // Gives each data set the report and calls its Initialize / Finalize.
    void Initialize();
    void Finalize();

private:
    TqlrReport* FReport;
};

enum class TqlrProgressType { ptRunning, ptExporting, ptPrinting };

// What InheritFromTemplate does with objects of the report whose names the
// template already uses: ask (imDefault), delete them, or rename them.
enum class TqlrInheriteMode { imDefault, imDelete, imRename };

// The template compressor and encryptor hooks.  None is registered in this
// program, so templates are plain XML; a registered factory is asked for
// one object per load or save.
class TqlrCustomCompressor {
public:
    explicit TqlrCustomCompressor(TqlrReport* report) : Report(report) {}
    virtual ~TqlrCustomCompressor() = default;
    TqlrReport* Report;
    // True when source (read from its position) held a compressed template;
    // its plain bytes are then written into output.  False leaves output
    // empty and the position of source as it was.
    virtual bool Decompress(rtl::TStream& source, rtl::TStream& output) = 0;
    // Compresses the whole of plain into dest.
    virtual void Compress(rtl::TStream& plain, rtl::TStream& dest) = 0;
};

class TqlrCustomCrypter {
public:
    explicit TqlrCustomCrypter(TqlrReport* report) : Report(report) {}
    virtual ~TqlrCustomCrypter() = default;
    TqlrReport* Report;
    // As Decompress; key: the UTF-8 password known so far (may be empty:
    // the encryptor may then ask for one).
    virtual bool Decrypt(rtl::TStream& source, rtl::TStream& output, const std::string& key) = 0;
    virtual void Encrypt(rtl::TStream& plain, rtl::TStream& dest, const std::string& key) = 0;
};

using TqlrCompressorClass = std::function<std::unique_ptr<TqlrCustomCompressor>(TqlrReport*)>;
using TqlrCrypterClass = std::function<std::unique_ptr<TqlrCustomCrypter>(TqlrReport*)>;
// The process-wide class cells (empty: none); setting returns the previous.
const TqlrCompressorClass& CompressorClass();
TqlrCompressorClass SetCompressorClass(TqlrCompressorClass cls);
const TqlrCrypterClass& CrypterClass();
TqlrCrypterClass SetCrypterClass(TqlrCrypterClass cls);

// The root of a template.  It owns the variables, the data-set list, the
// script into which PrepareScript publishes every object, the expression
// cache, the options, the styles, the engine and the prepared pages; it
// evaluates expressions (Calc), prepares, prints and exports, and loads and
// saves its template (qlrReport*.cpp).
class TqlrCustomDesigner;

class TqlrReport : public TqlrComponent {
    RTL_CLASS(TqlrReport, TqlrComponent)
public:
    explicit TqlrReport(rtl::TComponent* owner);
    ~TqlrReport() override;

    rtl::TStringList* Errors() const { return FErrors.get(); }
    TqlrVariables* Variables() const { return FVariables.get(); }
    TqlrReportDataSets* DataSets() const { return FDataSets.get(); }
    // The enabled data sets FindDataSet searches when the global list is
    // not used.
    std::vector<TqlrDataSet*>& EnabledDataSets() { return FEnabledDataSets; }
    bool UseGlobalDataSetList() const { return FEngineOptions->UseGlobalDataSetList; }
    void SetUseGlobalDataSetList(bool v) { FEngineOptions->UseGlobalDataSetList = v; }
    TqlrXMLSerializer* CurrentSerializer() const { return FSerializer; }
    void SetCurrentSerializer(TqlrXMLSerializer* s) { FSerializer = s; }
    // Whether child objects go into form resources (component streaming).
    bool StoreInDFM() const { return FStoreInDFM; }
    void SetStoreInDFM(bool v) { FStoreInDFM = v; }

    // ---- contents
    // Frees pages and objects, empties data sets, variables and styles,
    // resets the options and the script text.
    void Clear() override;
    std::string GetDescription() const override;
    int GetPagesCount() const { return static_cast<int>(Objects().size()); }
    TqlrPage* GetPages(int index) const;
    const std::string& Version() const { return FVersion; }
    void SetVersion(const std::string&) { FVersion = "4.9"; }
    const std::string& ScriptLanguage() const { return FScriptLanguage; }
    void SetScriptLanguage(const std::string& v) { FScriptLanguage = v; }
    rtl::TStringList* ScriptText() const { return FScriptText.get(); }
    void SetScriptText(rtl::TStringList* v) { FScriptText->Assign(v); }
    const std::string& IniFile() const { return FIniFile; }
    void SetIniFile(const std::string& v) { FIniFile = v; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool v) { FShowProgress = v; }
    bool OldStyleProgress() const { return FOldStyleProgress; }
    void SetOldStyleProgress(bool v) { FOldStyleProgress = v; }
    bool DotMatrixReport() const { return FDotMatrixReport; }
    void SetDotMatrixReport(bool v) { FDotMatrixReport = v; }
    const std::string& FileName() const { return FFileName; }
    rtl::TStringList* SysVariables() const { return FSysVariables.get(); }
    bool Terminated() const { return FTerminated; }
    // True also stops the report script.
    void SetTerminated(bool v);
    bool Reloading() const { return FReloading; }
    bool ExprCaseSensitive() const { return FExpressionCache->CaseSensitive(); }
    void SetExprCaseSensitive(bool v) { FExpressionCache->SetCaseSensitive(v); }
    std::string OnRunDialogs, OnStartReport, OnStopReport, OnReportPrint;

    // ---- data sets
    TqlrDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TqlrDataSet* v);
    std::string DataSetName() const;
    void SetDataSetName(const std::string& v);
    // "" for nil, the user name of a listed data set, else the
    // "(dataset is not included ...)" text.
    std::string GetAlias(TqlrDataSet* dataSet) const;
    TqlrDataSet* GetDataset(const std::string& alias) const;
    // Splits Alias."Field"; both empty without such a pair.
    void GetDatasetAndField(const std::string& complexName, TqlrDataSet*& dataSet, std::string& field) const;
    void GetDataSetList(rtl::TStringList& list, bool onlyDB = false) const;
    void GetActiveDataSetList(rtl::TStringList& list) const;
    // Ensures a data page (named "Data") in the first position.
    void CheckDataPage();

    // ---- evaluation (qlrReportCalc.cpp)
    // Evaluates an expression: a plain name by LookupValue, anything else
    // through the expression cache.  Raises (after recording the error)
    // when it fails.  script: nullptr for the report's script; fromScript
    // when a running script asks (errors then carry the script prefix).
    rtl::Variant Calc(const std::string& expr, qs::TqsScript* script = nullptr, bool fromScript = false);
    // Test hook: when set, Calc asks it instead of evaluating.
    std::function<rtl::Variant(const std::string&)> OnCalc;
    bool LookupValue(const std::string& name, rtl::Variant& value);
    bool PrepareScript();
    // A script function answered by OnUserFunction; survives PrepareScript.
    void AddFunction(const std::string& funcName, const std::string& category = {},
                     const std::string& description = {});
    qs::TqsScript* Script() const { return FScript.get(); }
    TqlrExpressionCache* ExpressionCache() const { return FExpressionCache.get(); }
    // The view being printed ("Self" of expressions); its name prefixes
    // expression errors.  CurValue: the "Value" of the last memo.
    TqlrComponent* CurObject = nullptr;
    rtl::Variant CurValue;
    std::string CurObjectName() const;

    // ---- running (qlrReportRun.cpp)
    // True only for a complete run without errors (a cancelled run gives
    // False, without a message).
    bool PrepareReport(bool clearLastReport = true);
    bool Print();
    bool Export(TqlrCustomExportFilter* filter);
    TqlrCustomEngine* Engine() const { return FEngine.get(); }
    TqlrCustomPreviewPages* PreviewPages() const { return FPreviewPages.get(); }
    // Installs the engine / prepared pages (the report owns them).
    void SetEngine(std::unique_ptr<TqlrCustomEngine> engine);
    void SetPreviewPages(std::unique_ptr<TqlrCustomPreviewPages> pages);
    void DoBeforePrint(TqlrReportComponent* obj);
    void DoAfterPrint(TqlrReportComponent* obj);
    void DoNotifyEvent(TqlrComponent*, const std::string&) {}
    void DoParamEvent(TqlrComponent*, const std::string&) {}
    // Shows the errors through the report error display by NewSilentMode.
    void ShowErrors();

    // ---- templates (qlrReportTemplate.cpp)
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream, bool saveChildren = true, bool saveDefaultValues = false,
                      bool streaming = false) override;
    // False (report empty) for a missing file unless exceptionIfNotFound.
    bool LoadFromFile(const std::string& fileName, bool exceptionIfNotFound = false);
    void SaveToFile(const std::string& fileName);

    // ---- inheritance (qlrReportInherit.cpp)
    // The template this one inherits from.  Setting a name loads it into
    // the report (OnLoadTemplate, or the file relative to this report's
    // file, then to the application folder), keeps a copy as the ancestor
    // and marks every object inherited; saving then writes only what
    // differs from the ancestor.  Empty forgets the ancestor.
    const std::string& ParentReport() const { return FParentReport; }
    void SetParentReport(const std::string& value);
    TqlrReport* ParentReportObject() const { return FParentReportObject.get(); }
    // The open designer (none in this program; not owned) and the flag a
    // designer sets when it changes the report.
    TqlrCustomDesigner* Designer() const { return FDesigner; }
    void SetDesigner(TqlrCustomDesigner* designer) { FDesigner = designer; }
    bool Modified = false;
    std::function<void(TqlrReport*, const std::string&)> OnLoadTemplate;
    // Makes the report inherit from templName keeping its own objects;
    // False for the report's own file or when the user cancels.
    bool InheritFromTemplate(const std::string& templName,
                             TqlrInheriteMode inheriteMode = TqlrInheriteMode::imDefault);

    // ---- events (host callbacks)
    std::function<void(TqlrReportComponent*)> OnBeforePrint, OnAfterPrint;
    std::function<void(TqlrReport*)> OnBeginDoc, OnEndDoc;
    std::function<void(const std::string&, rtl::Variant&)> OnGetValue;
    std::function<void(TqlrReport*, const std::string&, rtl::Variant&)> OnNewGetValue;
    // A stored connection string for ReportOptions.ConnectionName.
    std::function<void(const std::string&)> OnSetConnection;
    std::function<rtl::Variant(const std::string&, const std::vector<rtl::Variant>&)> OnUserFunction;
    std::function<void(TqlrReport*, TqlrProgressType, int)> OnProgressStart, OnProgress, OnProgressStop;
    // Builds a page's content itself (through the engine's ShowBand,
    // NewPage...) in place of the page's data bands.
    std::function<void(TqlrReportPage*)> OnManualBuild;

    // ---- output: preview link, progress and the events of printing,
    // export and preview clicks (qlrReportOutput.cpp)
    TqlrCustomPreview* Preview() const { return FPreview; }
    // Unlinks the old control and links v to the report and its pages.
    void SetPreview(TqlrCustomPreview* v);
    // Prepares and shows: with OldStyleProgress first prepared, then shown;
    // otherwise shown at once and prepared on a 50 ms timer.
    void ShowReport(bool clearLastReport = true);
    // Shows the prepared pages in the host's preview control or in a new
    // preview window.
    void ShowPreparedReport();
    IqlrPreviewWindow* PreviewForm() const { return FPreviewForm.get(); }
    std::function<void(TqlrReport*)> OnPreview;
    void InternalOnProgressStart(TqlrProgressType type);
    void InternalOnProgress(TqlrProgressType type, int progress);
    void InternalOnProgressStop(TqlrProgressType type);
    // The preview window's status text (IsHint: the hint panel).
    void SetProgressMessage(const std::string& value, bool isHint = false);
    // Host hook for SetProgressMessage (the preview window's status bar).
    std::function<void(const std::string&, bool)> OnProgressMessage;
    // Makes PrintOptions.Printer the current printer when it is installed.
    void SelectPrinter();
    // OnDblClickObject for a double click, else OnClickObject.
    void DoPreviewClick(TqlrView* view, gui::TMouseButton button, const rtl::Set<gui::TShiftStateItem, 8>& shift,
                        bool& modified, bool dblClick);
    // Keys of the drill-down groups the user has toggled.
    rtl::TStringList* DrillState() const { return FDrillState.get(); }
    std::function<void(TqlrReport*)> OnPrintReport, OnAfterPrintReport;
    std::function<void(TqlrReportPage*, int)> OnPrintPage;
    std::function<void(TqlrView*)> OnMouseOverObject;
    std::function<void(TqlrView*, gui::TMouseButton, const rtl::Set<gui::TShiftStateItem, 8>&, bool&)>
        OnClickObject, OnDblClickObject;

    // The report's own text layout.
    TqlrDrawText& DrawText() { return FDrawText; }
    TqlrStyles* Styles() const { return FStyles.get(); }
    // Copies the styles and applies them.
    void SetStyles(TqlrStyles* styles);
    TqlrEngineOptions* EngineOptions() const { return FEngineOptions.get(); }
    TqlrPreviewOptions* PreviewOptions() const { return FPreviewOptions.get(); }
    TqlrPrintOptions* PrintOptions() const { return FPrintOptions.get(); }
    TqlrReportOptions* ReportOptions() const { return FReportOptions.get(); }

    void DefineProperties(rtl::TFiler& filer) override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    rtl::Variant DoGet(const std::string& name);
    rtl::Variant DoAggregate(const std::string& func, qs::TqsMethodHelper* caller);

    std::string FVersion = "4.9";
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
    std::unique_ptr<TqlrReportDataSets> FDataSets;
    std::unique_ptr<rtl::TStringList> FErrors;
    std::unique_ptr<TqlrVariables> FVariables;
    std::unique_ptr<qs::TqsScript> FScript;
    std::vector<TqlrDataSet*> FEnabledDataSets;
    bool FStoreInDFM = true, FShowProgress = true, FOldStyleProgress = false, FDotMatrixReport = false;
    bool FTerminated = false, FReloading = false;
    std::string FIniFile = "\\Software\\Quillory";
    std::string FFileName;
    std::string FScriptLanguage = "PascalScript";
    std::unique_ptr<rtl::TStringList> FScriptText;
    std::unique_ptr<rtl::TStringList> FSysVariables;
    TqlrXMLSerializer* FSerializer = nullptr;
    TqlrDrawText FDrawText;
    std::unique_ptr<TqlrStyles> FStyles;
    std::unique_ptr<TqlrEngineOptions> FEngineOptions;
    std::unique_ptr<TqlrPreviewOptions> FPreviewOptions;
    std::unique_ptr<TqlrPrintOptions> FPrintOptions;
    std::unique_ptr<TqlrReportOptions> FReportOptions;
    std::unique_ptr<TqlrExpressionCache> FExpressionCache;
    std::unique_ptr<TqlrCustomEngine> FEngine;
    std::unique_ptr<TqlrCustomPreviewPages> FPreviewPages;
    qs::TqsCustomVariable* FLocalValue = nullptr;
    qs::TqsCustomVariable* FSelfValue = nullptr;
    // Output (qlrReportOutput.cpp).
    TqlrCustomPreview* FPreview = nullptr;
    std::unique_ptr<IqlrProgressWindow> FProgress;
    std::unique_ptr<IqlrPreviewWindow> FPreviewForm;
    std::unique_ptr<gui::TTimer> FTimer;
    void ClosePreviewForm();
    std::unique_ptr<rtl::TStringList> FDrillState = std::make_unique<rtl::TStringList>();
    std::string FParentReport;
    std::unique_ptr<TqlrReport> FParentReportObject;
    TqlrCustomDesigner* FDesigner = nullptr;
    void SaveTemplate(rtl::TStream& stream, bool saveChildren, bool saveDefaultValues, bool streaming);
};

// The name a reference to c is written under from root: the plain name
// (no owner, owned by root, or by the report's own owner), "Form.Name" for
// a form or data module, "Owner.Frame.Name" for a frame; empty otherwise.
std::string ComponentFullName(rtl::TComponent* c, rtl::TComponent* root);
// A component by such a name: plain names among owner's components (then
// the report's owner's), dotted ones among the global forms.  nullptr when a
// part is missing; any failure raises EClassNotFound "Missing <name>".
rtl::TComponent* FindComponentByPath(rtl::TComponent* owner, const std::string& name);
// Shows, re-raises or swallows an error by the report's silent mode.
void ReportErrorHandler(TqlrReport* report, const std::string& message);
// A collection in a form stream: while owner is written as a template, a
// list of one-string lists holding each item's attribute text; otherwise
// the stream's own collection form.  Reading accepts both.
void WriteCollectionXML(rtl::TCollection& collection, rtl::TWriter& writer, TqlrComponent* owner);
void ReadCollectionXML(rtl::TCollection& collection, rtl::TReader& reader, TqlrComponent* owner);

// The process's global variables (qlrGlobalVariables): read by the memo's
// [COPYNAME#] macro.
TqlrVariables& GlobalVariables();

// Registers the report classes for reading by class name (once).
void RegisterReportClasses();
// Registers the script binding modules of the class library and of the
// report classes (once, before the first report's script adds them).
void RegisterReportScriptModules();

} // namespace qlr

#include "report/qlrClassPages.h"
