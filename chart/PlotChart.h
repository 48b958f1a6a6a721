// The chart control: a flat list of drawing items (marks, lines, polyline
// steps, shapes, texts) in the coordinates of 16 layers, each with its own
// horizontal and vertical scale, drawn into a plot area framed by the
// scales, with 30 text labels and 4 cross-hairs on top.
//
// The rule a caller must know: the item methods only append; nothing shows
// until ShowGraf (or a repaint).  Property setters repaint at once when
// AutoRedraw is on.  A typical drawing:
//
//     auto* chart = new chart::TPlotChart(form);
//     chart->SetParent(form);
//     chart->Scale1X()->SetRangeLow(1700);  chart->Scale1X()->SetRangeHigh(2000);
//     chart->Scale1Y()->SetRangeLow(-20);   chart->Scale1Y()->SetRangeHigh(120);
//     chart->ClearGraf();
//     chart->SetDataColor(gui::clRed);
//     chart->MoveTo(1700, 10);
//     for (...) chart->DrawTo(year, deltaT);
//     chart->ShowGraf();
#pragma once

#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/PlotBase.h"
#include "chart/PlotChartCoords.h"
#include "chart/PlotChartFrame.h"
#include "chart/PlotChartItems.h"
#include "chart/PlotChartProps.h"
#include "chart/PlotChartRender.h"
#include "chart/PlotScale.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

namespace gui {
class TMetafile;
}

namespace chart {

constexpr int MaxLayers = 16;
constexpr int MaxTextLabels = 30;
constexpr int MaxCrossHairs = 4;

// Screen cursor slots of the chart's cursors.
constexpr gui::TCursor crPlotHand = 1, crPlotZoomWindow = 2, crPlotZoomDrag = 3, crPlotZoomPan = 4;

enum class TrcLayout {
    rcl_X1Bottom_Y1Left, rcl_X1Bottom_Y2Left, rcl_X1Bottom_Y3Left, rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both, rcl_X2Bottom_Y2Left, rcl_X2Both_Y2Both
};

// maZoom and the rotations have no behaviour in this chart.
enum class TMouseActMode {
    maNone, maPan, maPanHoriz, maPanVert, maRubberBand, maZoom, maZoomWind, maZoomWindPos, maZoomDrag,
    maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly
};
enum class TZoomState { zsNormal, zsDrawWin };
enum class TMouseBoxState { msNormal, msFirstCorner, msRectDraw, msFinished };

using TMouseMoveInChartEvent = std::function<void(rtl::TObject* sender, bool inChart, gui::TShiftState shift,
                                                  double x, double y)>;
using TRubberBandEvent = std::function<void(rtl::TObject* sender, int layer, double loX, double loY, double hiX,
                                            double hiY)>;
using TCrossHairMoveEvent = std::function<void(rtl::TObject* sender, TCrossHair* which)>;
using TTextLabelMoveEvent = std::function<void(rtl::TObject* sender, TTextLabel* which)>;

// Canvas is passed by reference: a handler may draw elsewhere.  Subtracting
// (Left, Top) from a control pixel gives the canvas pixel.
using TRenderEvent = std::function<void(rtl::TObject* sender, gui::TCanvas*& canvas, int top, int left)>;

class TCustomPlotChart : public gui::TCustomControl, public TJointLayersChart {
public:
    explicit TCustomPlotChart(rtl::TComponent* owner);
    ~TCustomPlotChart() override;

    // ---------------------------------------------------------------- items
    int NumItems() const { return FItems.NumItems(); }
    int AllocSize() const { return FItems.AllocSize(); }
    void SetAllocSize(int v) { FItems.SetAllocSize(v); }
    TrcItem TypeOfFirstItem() const { return FItems.TypeOfFirstItem(); }
    TrcItem TypeOfLastItem() const { return FItems.TypeOfLastItem(); }
    const TChartItemStore& Items() const { return FItems; }
    TChartItemStore& Items() { return FItems; }
    void RemoveLastItem() { FItems.RemoveLastItem(); }
    void RemoveFirstItem() { FItems.RemoveFirstItem(); }
    void RemoveItem(int index) { FItems.RemoveItem(index); }
    int RemoveItemsByClass(uint8_t classNumber) { return FItems.RemoveItemsByClass(classNumber); }
    TrcChartItem GetItemParams(int index) const { return FItems.GetItemParams(index); }
    void SetItemParams(int index, const TrcChartItem& p) { FItems.SetItemParams(index, p); }
    // The nearest item in pixels, all points mapped through ActiveLayer.
    int FindNearestItemScreen(double mx, double my, TrcItem itemID, uint8_t classNumber, double& dist) const;
    std::bitset<17> FindUsedLayers() const { return FItems.FindUsedLayers(); }

    // Sharing the items of another chart; a refusal is shown to the user.
    TCustomPlotChart* UseDataOf() const { return FUseDataOf; }
    void SetUseDataOf(TCustomPlotChart* q);

    // The item list as a binary file of 104-byte records, and as a text
    // listing.  Failures end silently; a file that cannot be read whole
    // (or holds an item the chart cannot draw) leaves the list unchanged.
    void SaveData(const std::string& fileName) const;
    void LoadData(const std::string& fileName, bool appendIt);
    void SaveDataASC(const std::string& fileName) const;

    // Current attributes copied into appended items.
    int ActiveLayer() const { return FActiveLayer; }
    void SetActiveLayer(int v);
    TColor DataColor() const { return FDataColor; }
    void SetDataColor(TColor c) { FDataColor = c; }
    gui::TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(gui::TPenStyle s) { FPenStyle = s; }
    TColor FillColor() const { return FFillColor; }
    void SetFillColor(TColor c) { FFillColor = c; }
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(uint8_t w) { FLineWidth = w; }
    uint8_t ClassDefault() const { return FClassDefault; }
    // 255 (every class) is refused.
    void SetClassDefault(uint8_t v);
    int DataTag() const { return FDataTag; }
    void SetDataTag(int v) { FDataTag = v; }
    bool TransparentItems() const { return FTransparentItems; }
    void SetTransparentItems(bool v) { FTransparentItems = v; }

    // ------------------------------------------------------- item methods
    void MoveTo(double x, double y);
    void DrawTo(double x, double y);
    void MoveToRelPix(int dx, int dy);
    void DrawToRelPix(int dx, int dy);
    void Line(double x1, double y1, double x2, double y2);
    void MarkAt(double x, double y, uint8_t mark);
    void Rectangle(double x1, double y1, double x2, double y2);
    void RectangleRelPix(double cx, double cy, int dx, int dy);
    void RectFrame(double x1, double y1, double x2, double y2, TFrameStyle frameStyle, TColor shadowColor,
                   TColor hiLightColor);
    // Angle clamped to 0..180 degrees.
    void Bar3D(double llx, double lly, double urx, double ury, int depth, int angle);
    void Ellipse(double cx, double cy, double horizHalfAxis, double vertHalfAxis);
    void Arrow(double x1, double y1, double x2, double y2, int headSize);
    // The text is stored in the system's single-byte code page, at most 15
    // characters.
    void Text(double x, double y, int size, const std::string& txt);
    void Text(double x, double y, int size, const std::string& txt, int dx, int dy, gui::TAlignment alignment);

    // ----------------------------------------------------------- text labels
    TTextLabel* TextLabel(int index) const;   // 1..30, nullptr outside
    // The first free label (mode tlOff) takes the text; 0 when none is free.
    int AddTextLabel(double posX, double posY, TColor txtColor, const std::string& txt, int propertyTemplate);
    void SetTextLabel(int index, double posX, double posY, TColor txtColor, const std::string& txt,
                      int propertyTemplate);
    void AllTextLabelsOff();

    // ------------------------------------------------------------ cross-hairs
    TCrossHair* CrossHair(int index) const;   // 1..4, nullptr outside
    void SetCrossHair(int index, const TCrossHair* value);
    void CrossHairSetPos(int chnum, double x, double y);
    void CrossHairSetup(int ch, TColor color, TCrossHMode mode, gui::TPenStyle lineType, int lineWidth);

    // ---------------------------------------------------------------- scales
    TScalePropsHoriz* ScaleX(int layer) const;   // layer outside 1..16: layer 1
    TScalePropsVert* ScaleY(int layer) const;
    TScalePropsHoriz* Scale1X() const { return ScaleX(1); }
    TScalePropsVert* Scale1Y() const { return ScaleY(1); }
    TScalePropsHoriz* Scale2X() const { return ScaleX(2); }
    TScalePropsVert* Scale2Y() const { return ScaleY(2); }
    TScalePropsHoriz* Scale3X() const { return ScaleX(3); }
    TScalePropsVert* Scale3Y() const { return ScaleY(3); }
    TScalePropsHoriz* Scale4X() const { return ScaleX(4); }
    TScalePropsVert* Scale4Y() const { return ScaleY(4); }
    // Copies the settings of value into the layer's scale properties.
    void SetScaleX(int layer, const TScalePropsHoriz* value);
    void SetScaleY(int layer, const TScalePropsVert* value);
    TScale* ScaleControlX(int layer) const { return FScalesX[ClampLayer(layer)]; }
    TScale* ScaleControlY(int layer) const { return FScalesY[ClampLayer(layer)]; }
    int TickNumX() const { return FScalesX[FActiveLayer]->NumTicks(); }
    int TickNumY() const { return FScalesY[FActiveLayer]->NumTicks(); }
    TJointLayers* JointLayers() const { return FJointLayers.get(); }
    void SetJointLayers(const TJointLayers* value);
    TrcLayout StandardLayout() const { return FLayout; }
    void SetStandardLayout(TrcLayout layout);

    // --------------------------------------------------------- coordinates
    void R2M(int layer, double xin, double yin, int& xout, int& yout) const;
    gui::TPoint R2M(int layer, double x, double y) const;
    // A layer outside 1..16 is clamped as R2M does.
    void M2R(int layer, int xin, int yin, double& xout, double& yout) const;
    void SetRange(int layer, long double xLo, long double yLo, long double xHi, long double yHi);
    void AutoRange(int layer, double margin, double minRange = 0);
    void AutoRangeXOnly(int layer, double margin, double minRange = 0);
    void AutoRangeYOnly(int layer, double margin, double minRange = 0);
    // Layers: bit n for layer n.
    void SetEqualRange(std::bitset<17> layers);
    void SetEqualRangeXOnly(std::bitset<17> layers);
    void SetEqualRangeYOnly(std::bitset<17> layers);
    void ConfineZoomRange(double xLo, double yLo, double xHi, double yHi);
    void ZoomHistory(int index);
    void ClearZoomHistory();
    bool Isometric() const { return FIsometric; }
    void SetIsometric(bool v);
    // The isometric factor (PH + 1) / (PW + 1) x aspect.
    double IsometricFactor() const;

    // ------------------------------------------------------ look and frame
    int MarginLeft() const { return FArea.MarginLeft; }
    void SetMarginLeft(int v);
    int MarginRight() const { return FArea.MarginRight; }
    void SetMarginRight(int v);
    int MarginTop() const { return FArea.MarginTop; }
    void SetMarginTop(int v);
    int MarginBottom() const { return FArea.MarginBottom; }
    void SetMarginBottom(int v);
    int ShadowWidth() const { return FArea.ShadowWidth; }
    void SetShadowWidth(int v);   // clamped to 0..32
    TShadowStyle ShadowStyle() const { return FShadowStyle; }
    void SetShadowStyle(TShadowStyle v);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v);
    TColor ShadowBakColor() const { return FShadowBakColor; }
    void SetShadowBakColor(TColor v);
    TColor WindColor() const { return FWindColor; }
    void SetWindColor(TColor v);
    TColor ChartColor() const { return FChartColor; }
    void SetChartColor(TColor v);
    TColor ChartFrameColor() const { return FChartFrameColor; }
    void SetChartFrameColor(TColor v);
    GridStyleType GridStyle() const { return FGridStyle; }
    void SetGridStyle(GridStyleType v);
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor v);
    double GridDx() const { return FGridDx; }
    void SetGridDx(double v);   // below -3 refused
    double GridDy() const { return FGridDy; }
    void SetGridDy(double v);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    int CaptionPosX() const { return FCaptionPosX; }
    void SetCaptionPosX(int v);
    int CaptionPosY() const { return FCaptionPosY; }
    void SetCaptionPosY(int v);
    gui::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(gui::TAlignment v);
    TCaptionAnchorHoriz CaptionAnchorHoriz() const { return FCaptionAnchorHoriz; }
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz v);
    TCaptionAnchorVert CaptionAnchorVert() const { return FCaptionAnchorVert; }
    void SetCaptionAnchorVert(TCaptionAnchorVert v);
    TBakGndImg* BackGroundImg() const { return FBackGround.get(); }
    void SetBackGroundImg(const TBakGndImg* value);
    gui::TFontStyles TextFontStyle() const { return FTextFontStyle; }
    void SetTextFontStyle(gui::TFontStyles v);
    TTextBkg TextBkStyle() const { return FTextBkStyle; }
    void SetTextBkStyle(TTextBkg v);
    TColor TextBkColor() const { return FTextBkColor; }
    void SetTextBkColor(TColor v);
    gui::TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(gui::TAlignment v);
    TMouseActMode MouseAction() const { return FMouseAction; }
    void SetMouseAction(TMouseActMode v) { FMouseAction = v; }
    bool MouseCursorFixed() const { return FMouseCursorFixed; }
    void SetMouseCursorFixed(bool v) { FMouseCursorFixed = v; }

    // --------------------------------------------------------------- output
    // Each draws the chart afresh without cross-hairs; black and white makes
    // pens and texts black, fills silver and the backgrounds white.
    void CopyToClipboard(bool blackAndWhite);
    // Nothing for a null bitmap.
    void CopyToBitmap(gui::TBitmap* bitmap, bool blackAndWhite);
    // Written as the name's folder, its file name up to the first ".", and ".bmp".
    void CopyToBMP(const std::string& fileName, bool blackAndWhite);
    // An enhanced metafile of the chart on the clipboard, or in a file named
    // as CopyToBMP does but with ".wmf" (the content is nevertheless EMF).
    void CopyToClipboardWMF(bool blackAndWhite);
    void CopyToWMF(const std::string& fileName, bool blackAndWhite);
    // One print job, the chart scaleF times its screen size, centred across
    // the page half an inch below the top.
    void PrintIt(double scaleF, bool blackAndWhite);
    // Onto the page of the job the caller has begun, at (x, y) in device
    // units; x and y then point past the chart.
    void CopyToOpenPrinter(int& x, int& y, double scaleF, bool blackAndWhite);

    // ---------------------------------------------------------------- mouse
    // The last mouse position inside the plot, in the active layer's units.
    double MousePosX() const { return FMousePosX; }
    double MousePosY() const { return FMousePosY; }
    TZoomState ZoomState() const { return FZoomState; }
    // Lets the user drag a rectangle in the plot and waits for it (the
    // message loop runs meanwhile).  False when cancelled by the right
    // button or MouseBoxAbort; the out-parameters then keep their values.
    bool MouseBox(double& xLo, double& yLo, double& xHi, double& yHi);
    void MouseBoxAbort();
    // The zoom, rubber-band or mouse-box rectangles shown over the picture
    // (drawing one twice takes it away again).
    const std::vector<gui::TRect>& WindowRects() const { return FWindowRects; }

    TMouseMoveInChartEvent OnMouseMoveInChart;
    rtl::TNotifyEvent OnZoomPan;
    TRubberBandEvent OnRubberBand;
    TCrossHairMoveEvent OnCrossHairMove;
    TTextLabelMoveEvent OnTextLabelMove;

    // -------------------------------------------------------------- drawing
    bool AutoRedraw() const { return FAutoRedraw; }
    void SetAutoRedraw(bool v) { FAutoRedraw = v; }
    bool SuppressPaint() const { return FSuppressPaint; }
    // Switching to False repaints.
    void SetSuppressPaint(bool v);
    void ShowGraf();
    void ShowGrafNewOnly();
    // Empties the item list and clears the plot bitmap; shows nothing yet.
    void ClearGraf();
    // The whole control and the plot area as last painted.
    gui::TBitmap* ChartBmp() const { return FChartBmp.get(); }
    gui::TBitmap* GrafBmp() const { return FGrafBmp.get(); }

    // Control frame, caption and scales onto canvas (the chart bitmap's
    // canvas when it is that one).
    void RenderFrameAndScales(gui::TCanvas& canvas);
    // The plot background with its top-left corner at (x0, y0).
    virtual void RenderBackground(gui::TCanvas& canvas, int x0, int y0);
    // Grid, items, text labels and the plot frame, the plot's top-left
    // corner at (x0, y0).  skipGrid not 0 leaves the grid out.
    virtual void RenderData(gui::TCanvas& canvas, int x0, int y0, bool blackAndWhite, int skipGrid);
    virtual void CalcScaleCoefficients();

    // The plot width and height PW, PH.
    int PlotWidth() const { return FArea.PlotWidth(); }
    int PlotHeight() const { return FArea.PlotHeight(); }

    TRenderEvent OnBeforeRenderData, OnDataRendered, OnScalesRendered;
    TScaleTickDrawnEvent OnScaleTickDrawn;
    // Called with the point count of every data polyline drawn (a test hook).
    std::function<void(int points)> OnPolylineDrawn;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

    // TJointLayersChart
    void GetLayerRange(int layer, double& xLo, double& yLo, double& xHi, double& yHi) const override;
    void ApplyLayerRange(int layer, bool pushHistory, bool confine, double xLo, double yLo, double xHi,
                         double yHi) override;
    void ApplyJointRange(int layer, bool pushHistory, bool confine, double xLo, double yLo, double xHi,
                         double yHi);

protected:
    void Paint() override;
    void Dispatch(gui::TMessage& m) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DblClick() override;

private:
    static int ClampLayer(int layer) { return layer < 1 ? 1 : layer > MaxLayers ? MaxLayers : layer; }
    // Stores and repaints by the repaint rule.
    void Changed();
    void RepaintByRule();
    void AppendItem(TrcItem kind, double x, double y, double x2, double y2);
    void SyncScale(int layer, bool horizontal);
    void SyncAllScales();
    void PlaceScales();
    void ScalePropsChanged();
    void PushZoomHistory();
    void ResizeGrafBmp(bool printer);
    void MarginsChanged(bool isometric);
    void RecomputeIsometricRanges(bool throughSetters);
    TLayerRange LayerRange(int layer) const;
    TLayerRange AutoRangeOf(int layer, double margin, double minRange) const;
    void AutoRangeAxes(int layer, double margin, double minRange, bool x, bool y);
    void EqualRanges(std::bitset<17> layers, bool x, bool y);
    void RepaintIfAutoRedraw();
    void DrawCrossHairs(gui::TCanvas& canvas, int a, int b);
    void DrawTextLabels(gui::TCanvas& canvas, int x0, int y0);
    void DrawGridOf(gui::TCanvas& canvas, int x0, int y0);
    void CopyToControl(gui::TBitmap& bmp, int x, int y);
    class TExportScope;
    friend class TExportScope;
    void RenderExportBitmap(bool blackAndWhite);
    void RenderMetafile(gui::TMetafile& metafile, bool forFile, bool blackAndWhite);
    void PrintOnCanvas(gui::TCanvas& canvas, int h, int v, double scaleF, bool blackAndWhite, TExportScope& scope);
    bool InPlot(int x, int y) const;
    gui::TPoint ClampToPlot(int x, int y) const;
    void ToggleWindowRect(gui::TPoint a, gui::TPoint b);
    void TakeAnchors(int x, int y);
    void DragRanges(int x, int y);
    void ZoomWindowDone(gui::TMouseButton button);
    int NearestCrossHair(int x, int y) const;
    int NearestTextLabel(int x, int y) const;
    gui::TPoint LabelAnchor(const TTextLabel& l) const;
    void SetMouseCursor(int x, int y);
    void ApplyLayoutRow(int scale, bool horizontal, int capX, int capY, gui::TAlignment alignment,
                        TScaleUnitAnchor anchor, int scalePos, bool visible, bool secondLocation);

    TChartItemStore FItems;
    TCustomPlotChart* FUseDataOf = nullptr;
    std::vector<TCustomPlotChart*> FDataUsers;
    TPlotArea FArea;
    std::array<TScale*, MaxLayers + 1> FScalesX{}, FScalesY{};
    std::array<std::unique_ptr<TScalePropsHoriz>, MaxLayers + 1> FScalePropsX;
    std::array<std::unique_ptr<TScalePropsVert>, MaxLayers + 1> FScalePropsY;
    std::array<TAxisCoefficients, MaxLayers + 1> FCx{}, FCy{};
    std::array<std::unique_ptr<TCrossHair>, MaxCrossHairs + 1> FCrossHairs;
    std::array<std::unique_ptr<TTextLabel>, MaxTextLabels + 1> FTextLabels;
    std::unique_ptr<TBakGndImg> FBackGround;
    std::unique_ptr<TJointLayers> FJointLayers;
    std::unique_ptr<gui::TBitmap> FChartBmp, FGrafBmp, FAuxBmp;
    std::bitset<MaxLayers + 1> FLayerVisib, FMouseAffLayer;
    std::bitset<256> FItClassVisib;
    TZoomHistory FZoom;
    long double FZoomRange[4] = {0, 0, 0, 0};   // XLo, YLo, XHi, YHi
    double FXAsp = 1, FYAsp = 1;

    int FActiveLayer = 1;
    TColor FDataColor = gui::clBlack;
    gui::TPenStyle FPenStyle = gui::TPenStyle::psSolid;
    TColor FFillColor = 0xC0C0C0;
    int FLineWidth = 1;
    uint8_t FClassDefault = 0;
    int FDataTag = 0;
    bool FTransparentItems = false;

    TShadowStyle FShadowStyle = TShadowStyle::ssFlying;
    TColor FShadowColor = gui::clGrayText, FShadowBakColor = gui::clBtnFace;
    TColor FWindColor = gui::clBtnFace, FChartColor = gui::clWhite, FChartFrameColor = gui::clBlack;
    GridStyleType FGridStyle = GridStyleType::gsNone;
    TColor FGridColor = gui::clBlack;
    double FGridDx = 0, FGridDy = 0;
    std::string FCaption;
    int FCaptionPosX = 0, FCaptionPosY = -15;
    gui::TAlignment FCaptionAlignment = gui::TAlignment::taRightJustify;
    TCaptionAnchorHoriz FCaptionAnchorHoriz = TCaptionAnchorHoriz::cahChartRight;
    TCaptionAnchorVert FCaptionAnchorVert = TCaptionAnchorVert::cavChartTop;
    gui::TFontStyles FTextFontStyle;
    TTextBkg FTextBkStyle = TTextBkg::tbClear;
    TColor FTextBkColor = gui::clWhite;
    gui::TAlignment FTextAlignment = gui::TAlignment::taCenter;
    TMouseActMode FMouseAction = TMouseActMode::maNone;
    bool FMouseCursorFixed = true;
    bool FIsometric = false;
    TrcLayout FLayout = TrcLayout::rcl_X1Bottom_Y1Left;

    // Mouse state.
    struct TAnchor {
        int X = 0, Y = 0;
        double LoX = 0, HiX = 0, LoY = 0, HiY = 0;
    };
    std::array<TAnchor, MaxLayers + 1> FAnchors{};
    bool FLButtonWasDown = false;
    TZoomState FZoomState = TZoomState::zsNormal;
    gui::TPoint FWindAnchor, FWindCorner;
    TMouseBoxState FMouseBoxState = TMouseBoxState::msNormal;
    gui::TPoint FMouseBox1, FMouseBox2, FMouseBoxCorner;
    int FCHNext = 1, FTLNext = 1;
    double FMousePosX = 0, FMousePosY = 0;
    bool FWasDblClk = false;
    std::vector<gui::TRect> FWindowRects;

    bool FAutoRedraw = true;
    bool FSuppressPaint = true;
    bool FConstructed = false;
};

// The chart as forms place it.
class TPlotChart : public TCustomPlotChart {
public:
    using TCustomPlotChart::TCustomPlotChart;
};

} // namespace chart
