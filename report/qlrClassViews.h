// Frames, highlights, formats, views and dialog components of the report
// tree.  Part of qlrClass.h.
#pragma once

#include "report/qlrClassTree.h"

namespace gui {
class TControl;
} // namespace gui

namespace qlr {

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

// A window control of a dialog page.  A descendant gives the control it
// wraps (SetControl); the values are kept here too and handed to it, and
// on a dialog page the control lives in the page's form.
class TqlrDialogControl : public TqlrReportComponent {
    RTL_CLASS(TqlrDialogControl, TqlrReportComponent)
public:
    explicit TqlrDialogControl(rtl::TComponent* owner);
    ~TqlrDialogControl() override;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    // The wrapped control (nullptr when the class wraps none).
    gui::TControl* Control() const { return FControl.get(); }
    // Focuses the control when it is a windowed one.
    void SetFocus();
    // Takes the control out of its window (before that window goes).
    void DetachControl();
    void SetParent(TqlrComponent* value) override;
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    void SetWidth(long double value) override;
    void SetHeight(long double value) override;
    void SetVisible(bool value) override;
    void SetName(const std::string& newName) override;
    // The live control as a picture at its place (scale and offsets unused).
    void Draw(gui::TCanvas* canvas, long double, long double, long double, long double) override;
    std::string OnClick, OnDblClick, OnEnter, OnExit, OnKeyDown, OnKeyUp, OnKeyPress, OnMouseDown, OnMouseUp,
        OnMouseMove, OnActivate;

protected:
    // Takes the control and gives it the object's values and window.
    void SetControl(std::unique_ptr<gui::TControl> control);

private:
    void PlaceControl();

    std::string FCaption, FHint;
    bool FEnabled = true, FShowHint = false;
    std::unique_ptr<gui::TControl> FControl;
};

} // namespace qlr
