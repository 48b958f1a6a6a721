// The chart control: creation, properties, the standard layouts, the item
// methods, text labels and size limits.  Ranges and coordinates are in
// PlotChartRanges.cpp, painting in PlotChartPaint.cpp.

#include "chart/PlotChart.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/Cursors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/CodePages.h"

namespace chart {

using gui::TAlignment;

namespace {

constexpr TColor kLayerColors[MaxLayers] = {
    gui::clBlack, gui::clMaroon, gui::clGreen, gui::clOlive, gui::clNavy, gui::clPurple,
    gui::clTeal, gui::clGray, gui::clSilver, gui::clRed, gui::clLime, gui::clYellow,
    gui::clBlue, gui::clFuchsia, gui::clAqua, gui::clWhite};

constexpr const char* kCursorNames[4] = {"CURHAND", "CURZOOMW", "CURZOOMD", "CURZOOMP"};

// Loads the chart cursors into the screen's slots 1..4 once per program.
void LoadChartCursors()
{
    gui::TScreen* screen = gui::Screen;
    if (!screen || screen->HasCursor(crPlotHand)) return;
    for (int i = 0; i < 4; ++i) {
        try {
            gui::TCursorImage cur = gui::LoadCursorResource(kCursorNames[i]);
            gui::TBitmap bmp;
            bmp.Assign(cur.Image.get());
            screen->SetCursorImage(crPlotHand + i, &bmp, cur.HotSpot);
        } catch (const rtl::Exception&) {
            // A program built without the chart cursors keeps the arrow.
        }
    }
}

} // namespace

// ---------------------------------------------------------------- creation

TCustomPlotChart::TCustomPlotChart(rtl::TComponent* owner) : gui::TCustomControl(owner)
{
    FSuppressPaint = true;
    FArea.MarginLeft = 50;
    FArea.MarginRight = 10;
    FArea.MarginTop = 16;
    FArea.MarginBottom = 32;
    FLayerVisib.set();
    FMouseAffLayer.reset();
    FMouseAffLayer.set(1);
    FItClassVisib.set();

    for (int i = 1; i <= MaxCrossHairs; ++i) {
        FCrossHairs[i] = std::make_unique<TCrossHair>();
        FCrossHairs[i]->SetLayer(i);
        FCrossHairs[i]->OnChange = [this](rtl::TObject*) { RepaintByRule(); };
    }
    for (int i = 1; i <= MaxTextLabels; ++i) {
        auto label = std::make_unique<TTextLabel>();
        label->SetPosX(0);
        label->SetPosY(0);
        label->SetLayer(1);
        label->SetAttachToData(TTxtLblAttachMode::tlamBoth);
        label->SetAlignment(TAlignment::taCenter);
        label->SetVerticalAlignment(TVerticalAlignment::vaBottom);
        label->SetColorBkg(gui::clWhite);
        label->SetColorBorder(gui::clBlack);
        label->SetShadowDx(3);
        label->SetShadowDy(3);
        label->SetColorShadow(0x808080);
        label->SetTransparent(false);
        label->SetFont(Font());
        label->SetVisible(false);
        label->SetMode(TTxtLblMode::tlOff);
        label->OnChange = [this](rtl::TObject*) { RepaintByRule(); };
        FTextLabels[i] = std::move(label);
    }
    FBackGround = std::make_unique<TBakGndImg>();
    FBackGround->OnChange = [this](rtl::TObject*) { RepaintByRule(); };
    FJointLayers = std::make_unique<TJointLayers>(this);
    FJointLayers->OnChange = [this](rtl::TObject*) { RepaintByRule(); };

    LoadChartCursors();

    FGrafBmp = std::make_unique<gui::TBitmap>();
    FChartBmp = std::make_unique<gui::TBitmap>(std::max(Width(), 1), std::max(Height(), 1));
    FAuxBmp = std::make_unique<gui::TBitmap>(10, 10);
    FXAsp = FAuxBmp->Canvas()->GetDeviceCaps(gui::ASPECTX);
    FYAsp = FAuxBmp->Canvas()->GetDeviceCaps(gui::ASPECTY);
    if (FXAsp <= 0 || FYAsp <= 0) FXAsp = FYAsp = 1;

    for (int i = 1; i <= MaxLayers; ++i) {
        for (int axis = 0; axis < 2; ++axis) {
            const bool horizontal = axis == 0;
            auto* scale = new TScale(this);
            scale->SetName((horizontal ? "RC_FScale_X_" : "RC_FScale_Y_") + std::to_string(i));
            scale->SetSuppressPaint(true);
            scale->SetIsHelperComponent(true);
            scale->UseForeignCanvas(FChartBmp->Canvas(), 0, 0);
            scale->OnScaleTickDrawn = [this](rtl::TObject*, gui::TCanvas*& canvas, TScaleType type, double pos,
                                             int cx, int cy) {
                if (OnScaleTickDrawn) OnScaleTickDrawn(this, canvas, type, pos, cx, cy);
            };
            (horizontal ? FScalesX : FScalesY)[i] = scale;
        }
        auto px = std::make_unique<TScalePropsHoriz>();
        auto py = std::make_unique<TScalePropsVert>();
        px->SetColorScale(kLayerColors[i - 1]);
        py->SetColorScale(kLayerColors[i - 1]);
        px->SetScaleType(i % 2 ? TScaleType::sctXT : TScaleType::sctXB);
        px->SetScalePos((i - 1) / 2 * 30);
        py->SetScaleType(i % 2 ? TScaleType::sctYR : TScaleType::sctYL);
        py->SetScalePos((i - 1) / 2 * 50);
        px->OnChange = [this](rtl::TObject*) { ScalePropsChanged(); };
        py->OnChange = [this](rtl::TObject*) { ScalePropsChanged(); };
        if (px->DateFormat()) px->DateFormat()->OnChange = [this](rtl::TObject*) { ScalePropsChanged(); };
        if (py->DateFormat()) py->DateFormat()->OnChange = [this](rtl::TObject*) { ScalePropsChanged(); };
        FScalePropsX[i] = std::move(px);
        FScalePropsY[i] = std::move(py);
    }

    gui::TCustomControl::SetBounds(Left(), Top(), 280, 200);
    SetStandardLayout(TrcLayout::rcl_X1Bottom_Y1Left);
    for (int i = 1; i <= MaxLayers; ++i) {
        for (TScale* s : {FScalesX[i], FScalesY[i]}) {
            s->SetTransparent(true);
            s->SetColorBackGnd(FWindColor);
            s->SetFrameStyle(TFrameStyle::fsNone);
        }
    }
    PlaceScales();
    ClearZoomHistory();
    FConstructed = true;
    // The window exists from construction on this platform, so painting
    // is allowed from now on.
    FSuppressPaint = false;
}

TCustomPlotChart::~TCustomPlotChart()
{
    // Leaving the sharing group here keeps the other charts of the group
    // working on their own copy of the items (the store's destructor).
    if (FUseDataOf) std::erase(FUseDataOf->FDataUsers, this);
    for (TCustomPlotChart* u : FDataUsers) u->FUseDataOf = nullptr;
    FUseDataOf = nullptr;
    for (int i = 1; i <= MaxLayers; ++i) {
        for (TScale* s : {FScalesX[i], FScalesY[i]}) {
            if (s) s->UseForeignCanvas(nullptr, 0, 0);
        }
    }
}

// ----------------------------------------------------------- repaint rules

void TCustomPlotChart::RepaintByRule()
{
    if (!FConstructed) return;
    if (FAutoRedraw || IsDesigning()) Paint();
}

void TCustomPlotChart::Changed() { RepaintByRule(); }

void TCustomPlotChart::RepaintIfAutoRedraw()
{
    if (!IsLoading()) RepaintByRule();
}

void TCustomPlotChart::SetSuppressPaint(bool v)
{
    if (v == FSuppressPaint) return;
    FSuppressPaint = v;
    if (!v && FConstructed) Paint();
}

// --------------------------------------------------------------- properties

void TCustomPlotChart::SetActiveLayer(int v)
{
    if (v < 1 || v > MaxLayers) return;
    FActiveLayer = v;
    RepaintByRule();
}

void TCustomPlotChart::SetClassDefault(uint8_t v)
{
    if (v != 255) FClassDefault = v;
}

#define TEC_CHART_SETTER(Name, Type, Field)         \
    void TCustomPlotChart::Set##Name(Type v)        \
    {                                               \
        Field = v;                                  \
        RepaintByRule();                            \
    }
TEC_CHART_SETTER(ShadowStyle, TShadowStyle, FShadowStyle)
TEC_CHART_SETTER(ShadowColor, TColor, FShadowColor)
TEC_CHART_SETTER(ShadowBakColor, TColor, FShadowBakColor)
TEC_CHART_SETTER(ChartColor, TColor, FChartColor)
TEC_CHART_SETTER(ChartFrameColor, TColor, FChartFrameColor)
TEC_CHART_SETTER(GridStyle, GridStyleType, FGridStyle)
TEC_CHART_SETTER(GridColor, TColor, FGridColor)
TEC_CHART_SETTER(CaptionPosX, int, FCaptionPosX)
TEC_CHART_SETTER(CaptionPosY, int, FCaptionPosY)
TEC_CHART_SETTER(CaptionAlignment, gui::TAlignment, FCaptionAlignment)
TEC_CHART_SETTER(CaptionAnchorHoriz, TCaptionAnchorHoriz, FCaptionAnchorHoriz)
TEC_CHART_SETTER(CaptionAnchorVert, TCaptionAnchorVert, FCaptionAnchorVert)
TEC_CHART_SETTER(TextFontStyle, gui::TFontStyles, FTextFontStyle)
TEC_CHART_SETTER(TextBkStyle, TTextBkg, FTextBkStyle)
TEC_CHART_SETTER(TextBkColor, TColor, FTextBkColor)
TEC_CHART_SETTER(TextAlignment, gui::TAlignment, FTextAlignment)
#undef TEC_CHART_SETTER

void TCustomPlotChart::SetCaption(const std::string& v)
{
    FCaption = v;
    RepaintByRule();
}

void TCustomPlotChart::SetWindColor(TColor v)
{
    FWindColor = v;
    for (int i = 1; i <= MaxLayers; ++i) {
        FScalesX[i]->SetColorBackGnd(v);
        FScalesY[i]->SetColorBackGnd(v);
    }
    RepaintByRule();
}

void TCustomPlotChart::SetGridDx(double v)
{
    if (v < -3) return;
    FGridDx = v;
    RepaintByRule();
}

void TCustomPlotChart::SetGridDy(double v)
{
    if (v < -3) return;
    FGridDy = v;
    RepaintByRule();
}

void TCustomPlotChart::SetBackGroundImg(const TBakGndImg* value)
{
    if (value && value != FBackGround.get()) FBackGround->Assign(value);
}

void TCustomPlotChart::SetJointLayers(const TJointLayers* value)
{
    if (value && value != FJointLayers.get()) FJointLayers->Assign(value);
}

TCrossHair* TCustomPlotChart::CrossHair(int index) const
{
    return index >= 1 && index <= MaxCrossHairs ? FCrossHairs[index].get() : nullptr;
}

void TCustomPlotChart::SetCrossHair(int index, const TCrossHair* value)
{
    TCrossHair* ch = CrossHair(index);
    if (!ch || !value || value == ch) return;
    ch->SetPosX(value->PosX());
    ch->SetPosY(value->PosY());
    ch->SetColor(value->Color());
    ch->SetMode(value->Mode());
    ch->SetLineType(value->LineType());
    ch->SetLineWid(value->LineWid());
    ch->SetLayer(value->Layer());
}

TScalePropsHoriz* TCustomPlotChart::ScaleX(int layer) const
{
    return FScalePropsX[layer >= 1 && layer <= MaxLayers ? layer : 1].get();
}

TScalePropsVert* TCustomPlotChart::ScaleY(int layer) const
{
    return FScalePropsY[layer >= 1 && layer <= MaxLayers ? layer : 1].get();
}

void TCustomPlotChart::SetScaleX(int layer, const TScalePropsHoriz* value)
{
    TScalePropsHoriz* p = ScaleX(layer);
    if (value && value != p) p->Assign(value);
    if (IsDesigning()) RepaintByRule();
}

void TCustomPlotChart::SetScaleY(int layer, const TScalePropsVert* value)
{
    TScalePropsVert* p = ScaleY(layer);
    if (value && value != p) p->Assign(value);
    if (IsDesigning()) RepaintByRule();
}

void TCustomPlotChart::SetUseDataOf(TCustomPlotChart* q)
{
    if (q == this) {
        gui::MessageDlg("PlotChart: Cannot share data with myself", gui::TMsgDlgType::mtInformation,
                        {gui::TMsgDlgBtn::mbOK});
        return;
    }
    const std::string refusal = FItems.SetUseDataOf(q ? &q->FItems : nullptr);
    if (!refusal.empty()) {
        gui::MessageDlg(refusal, gui::TMsgDlgType::mtInformation, {gui::TMsgDlgBtn::mbOK});
        return;
    }
    TCustomPlotChart* owner = q ? (q->FUseDataOf ? q->FUseDataOf : q) : nullptr;
    if (owner != FUseDataOf) {
        if (FUseDataOf) std::erase(FUseDataOf->FDataUsers, this);
        FUseDataOf = owner;
        if (owner) owner->FDataUsers.push_back(this);
    }
    RepaintByRule();
}

// ------------------------------------------------------------ item methods

void TCustomPlotChart::AppendItem(TrcItem kind, double x, double y, double x2, double y2)
{
    TrcChartItem it{};
    it.ItemKind = kind;
    it.x = x;
    it.y = y;
    it.x2 = x2;
    it.y2 = y2;
    it.Color = FDataColor;
    switch (kind) {
    case TrcItem::tkLine: case TrcItem::tkLineto: case TrcItem::tkRect: case TrcItem::tkRectFrame:
    case TrcItem::tk3DBar: case TrcItem::tkEllipse: case TrcItem::tkLineRelPix: case TrcItem::tkArrow:
    case TrcItem::tkRectRelPix:
        it.FillColor = FFillColor;
        break;
    default: break;
    }
    switch (kind) {
    case TrcItem::tkRect: case TrcItem::tkRectRelPix: case TrcItem::tkEllipse: case TrcItem::tkArrow:
        it.Transp = FTransparentItems ? 1 : 0;
        break;
    default: break;
    }
    it.PenStyle = static_cast<uint8_t>(FPenStyle);
    it.Tag = FDataTag;
    it.LWid = FLineWidth;
    it.ItemClass = FClassDefault;
    it.Layer = FActiveLayer;
    FItems.Append(it);
}

void TCustomPlotChart::MoveTo(double x, double y) { AppendItem(TrcItem::tkMoveTo, x, y, 0, 0); }
void TCustomPlotChart::DrawTo(double x, double y) { AppendItem(TrcItem::tkLineto, x, y, 0, 0); }
void TCustomPlotChart::MoveToRelPix(int dx, int dy) { AppendItem(TrcItem::tkMoveRelPix, dx, dy, 0, 0); }
void TCustomPlotChart::DrawToRelPix(int dx, int dy) { AppendItem(TrcItem::tkLineRelPix, dx, dy, 0, 0); }

void TCustomPlotChart::Line(double x1, double y1, double x2, double y2)
{
    AppendItem(TrcItem::tkLine, x1, y1, x2, y2);
}

void TCustomPlotChart::MarkAt(double x, double y, uint8_t mark)
{
    AppendItem(TrcItem::tkMarkAt, x, y, 0, 0);
    TrcChartItem it = FItems.GetItemParams(FItems.NumItems() - 1);
    it.MarkOrAlign = mark;
    FItems.SetItemParams(FItems.NumItems() - 1, it);
}

void TCustomPlotChart::Rectangle(double x1, double y1, double x2, double y2)
{
    AppendItem(TrcItem::tkRect, x1, y1, x2, y2);
}

void TCustomPlotChart::RectangleRelPix(double cx, double cy, int dx, int dy)
{
    AppendItem(TrcItem::tkRectRelPix, cx, cy, dx, dy);
}

namespace {
// Edits the item just appended.
template <typename F> void EditLast(TChartItemStore& items, F edit)
{
    const int last = items.NumItems() - 1;
    TrcChartItem it = items.GetItemParams(last);
    edit(it);
    items.SetItemParams(last, it);
}
} // namespace

void TCustomPlotChart::RectFrame(double x1, double y1, double x2, double y2, TFrameStyle frameStyle,
                                 TColor shadowColor, TColor hiLightColor)
{
    AppendItem(TrcItem::tkRectFrame, x1, y1, x2, y2);
    EditLast(FItems, [&](TrcChartItem& it) {
        it.FrameStyle = static_cast<uint8_t>(frameStyle);
        it.ShadowColor = shadowColor;
        it.HiLightColor = hiLightColor;
        it.LWid = 1;
    });
}

void TCustomPlotChart::Bar3D(double llx, double lly, double urx, double ury, int depth, int angle)
{
    AppendItem(TrcItem::tk3DBar, llx, lly, urx, ury);
    EditLast(FItems, [&](TrcChartItem& it) {
        it.Depth = depth;
        it.SizeOrAngle = std::clamp(angle, 0, 180);
    });
}

void TCustomPlotChart::Ellipse(double cx, double cy, double horizHalfAxis, double vertHalfAxis)
{
    AppendItem(TrcItem::tkEllipse, cx, cy, horizHalfAxis, vertHalfAxis);
}

void TCustomPlotChart::Arrow(double x1, double y1, double x2, double y2, int headSize)
{
    AppendItem(TrcItem::tkArrow, x1, y1, x2, y2);
    EditLast(FItems, [&](TrcChartItem& it) { it.SizeOrAngle = headSize; });
}

void TCustomPlotChart::Text(double x, double y, int size, const std::string& txt)
{
    AppendItem(TrcItem::tkText, x, y, 0, 0);
    EditLast(FItems, [&](TrcChartItem& it) {
        it.SizeOrAngle = size;
        it.MarkOrAlign = static_cast<uint8_t>(FTextAlignment);
        SetItemText(it, rtl::UTF8ToCodePage(txt, rtl::SystemCodePage()), 15);
    });
}

void TCustomPlotChart::Text(double x, double y, int size, const std::string& txt, int dx, int dy,
                            gui::TAlignment alignment)
{
    AppendItem(TrcItem::tkTextOfs, x, y, dx, dy);
    EditLast(FItems, [&](TrcChartItem& it) {
        it.SizeOrAngle = size;
        it.MarkOrAlign = static_cast<uint8_t>(alignment);
        SetItemText(it, rtl::UTF8ToCodePage(txt, rtl::SystemCodePage()), 15);
    });
}

// ------------------------------------------------------------- text labels

TTextLabel* TCustomPlotChart::TextLabel(int index) const
{
    return index >= 1 && index <= MaxTextLabels ? FTextLabels[index].get() : nullptr;
}

int TCustomPlotChart::AddTextLabel(double posX, double posY, TColor txtColor, const std::string& txt,
                                   int propertyTemplate)
{
    for (int i = 1; i <= MaxTextLabels; ++i) {
        if (FTextLabels[i]->Mode() == TTxtLblMode::tlOff) {
            SetTextLabel(i, posX, posY, txtColor, txt, propertyTemplate);
            return i;
        }
    }
    return 0;
}

void TCustomPlotChart::SetTextLabel(int index, double posX, double posY, TColor txtColor,
                                    const std::string& txt, int propertyTemplate)
{
    TTextLabel* l = TextLabel(index);
    if (!l) return;
    l->SetPosX(posX);
    l->SetPosY(posY);
    l->SetLayer(FActiveLayer);
    l->SetCaption(txt);
    l->Font()->SetColor(txtColor);
    l->SetVisible(true);
    if (const TTextLabel* t = TextLabel(propertyTemplate)) {
        l->SetAttachToData(t->AttachToData());
        l->SetAlignment(t->Alignment());
        l->SetShadowDx(t->ShadowDx());
        l->SetShadowDy(t->ShadowDy());
        l->SetColorShadow(t->ColorShadow());
        l->SetColorBkg(t->ColorBkg());
        l->SetColorBorder(t->ColorBorder());
        l->SetTransparent(t->Transparent());
        l->SetMode(t->Mode() == TTxtLblMode::tlOff ? TTxtLblMode::tlsimple : t->Mode());
    } else {
        l->SetAttachToData(TTxtLblAttachMode::tlamBoth);
        l->SetAlignment(TAlignment::taCenter);
        l->SetShadowDx(0);
        l->SetShadowDy(0);
        l->SetColorShadow(0x808080);
        l->SetColorBkg(FChartColor);
        l->SetColorBorder(FChartFrameColor);
        l->SetTransparent(false);
        l->SetMode(TTxtLblMode::tlsimple);
    }
}

void TCustomPlotChart::AllTextLabelsOff()
{
    for (int i = 1; i <= MaxTextLabels; ++i) FTextLabels[i]->SetVisible(false);
}

// ------------------------------------------------------------------ layouts

void TCustomPlotChart::ApplyLayoutRow(int scale, bool horizontal, int capX, int capY, TAlignment alignment,
                                      TScaleUnitAnchor anchor, int scalePos, bool visible,
                                      bool secondLocation)
{
    TScaleProps* p = horizontal ? static_cast<TScaleProps*>(FScalePropsX[scale].get())
                                : static_cast<TScaleProps*>(FScalePropsY[scale].get());
    if (horizontal)
        FScalePropsX[scale]->SetScaleLocation(secondLocation ? TScaleLocationHoriz::slTop
                                                             : TScaleLocationHoriz::slBottom);
    else
        FScalePropsY[scale]->SetScaleLocation(secondLocation ? TScaleLocationVert::slRight
                                                             : TScaleLocationVert::slLeft);
    p->SetCaptionPosX(capX);
    p->SetCaptionPosY(capY);
    p->SetCaptionAlignment(alignment);
    p->SetCaptionAnchor(anchor);
    p->SetScalePos(scalePos);
    p->SetVisible(visible);
}

void TCustomPlotChart::SetStandardLayout(TrcLayout layout)
{
    using A = TAlignment;
    using U = TScaleUnitAnchor;
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    FLayout = layout;
    struct TMargins { int L, R, T, B; };
    TMargins m{50, 20, 20, 40};
    int capY = -16;
    A capAlign = A::taRightJustify;
    TCaptionAnchorHoriz capAnchor = TCaptionAnchorHoriz::cahChartRight;
    int visibleY = 1;   // Y scales 1..visibleY shown on the left
    switch (layout) {
    case TrcLayout::rcl_X1Bottom_Y1Left: break;
    case TrcLayout::rcl_X1Bottom_Y2Left: m = {100, 20, 24, 40}; visibleY = 2; break;
    case TrcLayout::rcl_X1Bottom_Y3Left: m = {150, 20, 24, 40}; visibleY = 3; break;
    case TrcLayout::rcl_X1Bottom_Y4Left: m = {200, 20, 24, 40}; visibleY = 4; break;
    case TrcLayout::rcl_X1Bottom_Y2Both:
        m = {50, 50, 24, 40};
        capY = -20;
        capAlign = A::taCenter;
        capAnchor = TCaptionAnchorHoriz::cahChartCenter;
        break;
    case TrcLayout::rcl_X2Bottom_Y2Left: m = {100, 20, 24, 70}; visibleY = 2; break;
    case TrcLayout::rcl_X2Both_Y2Both:
        m = {50, 50, 48, 40};
        capY = -46;
        capAlign = A::taCenter;
        capAnchor = TCaptionAnchorHoriz::cahChartCenter;
        break;
    }
    SetMarginLeft(m.L);
    SetMarginRight(m.R);
    SetMarginTop(m.T);
    SetMarginBottom(m.B);
    FCaptionPosX = 0;
    FCaptionPosY = capY;
    FCaptionAlignment = capAlign;
    FCaptionAnchorHoriz = capAnchor;
    FCaptionAnchorVert = TCaptionAnchorVert::cavChartTop;

    // Hidden rows first; the layout's own rows below override them.
    for (int s = 2; s <= 4; ++s) {
        ApplyLayoutRow(s, true, 10, 100, A::taCenter, U::uaSclCenter, 0, false, false);
        ApplyLayoutRow(s, false, 10, 100, A::taRightJustify, U::uaSclTopLft, 0, false, false);
    }
    for (int s = 5; s <= MaxLayers; ++s) {
        FScalePropsX[s]->SetVisible(false);
        FScalePropsY[s]->SetVisible(false);
    }
    switch (layout) {
    case TrcLayout::rcl_X1Bottom_Y1Left:
        ApplyLayoutRow(1, true, 0, 22, A::taCenter, U::uaSclCenter, 0, true, false);
        ApplyLayoutRow(1, false, 0, -16, A::taLeftJustify, U::uaSclTopLft, 0, true, false);
        break;
    case TrcLayout::rcl_X1Bottom_Y2Left:
    case TrcLayout::rcl_X1Bottom_Y3Left:
    case TrcLayout::rcl_X1Bottom_Y4Left:
        ApplyLayoutRow(1, true, 0, 22, A::taCenter, U::uaSclCenter, 0, true, false);
        for (int s = 1; s <= visibleY; ++s)
            ApplyLayoutRow(s, false, 0, -23, A::taRightJustify, U::uaSclTopLft, (s - 1) * 50, true, false);
        break;
    case TrcLayout::rcl_X1Bottom_Y2Both:
        ApplyLayoutRow(1, true, 0, 22, A::taCenter, U::uaSclCenter, 0, true, false);
        ApplyLayoutRow(1, false, 0, -23, A::taRightJustify, U::uaSclTopLft, 0, true, false);
        ApplyLayoutRow(2, false, 0, -23, A::taLeftJustify, U::uaSclTopLft, 0, true, true);
        break;
    case TrcLayout::rcl_X2Bottom_Y2Left:
        ApplyLayoutRow(1, true, -20, 7, A::taRightJustify, U::uaSclTopLft, 0, true, false);
        ApplyLayoutRow(2, true, -20, 7, A::taRightJustify, U::uaSclTopLft, 30, true, false);
        ApplyLayoutRow(1, false, 0, -23, A::taRightJustify, U::uaSclTopLft, 0, true, false);
        ApplyLayoutRow(2, false, 0, -23, A::taRightJustify, U::uaSclTopLft, 50, true, false);
        break;
    case TrcLayout::rcl_X2Both_Y2Both:
        ApplyLayoutRow(1, true, -20, 7, A::taRightJustify, U::uaSclTopLft, 0, true, false);
        ApplyLayoutRow(2, true, -20, -24, A::taRightJustify, U::uaSclTopLft, 0, true, true);
        ApplyLayoutRow(1, false, 0, -40, A::taRightJustify, U::uaSclTopLft, 0, true, false);
        ApplyLayoutRow(2, false, 0, -40, A::taLeftJustify, U::uaSclTopLft, 0, true, true);
        for (int s = 3; s <= 4; ++s)
            ApplyLayoutRow(s, false, 0, -23, A::taRightJustify, U::uaSclTopLft, 0, false, false);
        break;
    }
    SyncAllScales();
    FSuppressPaint = saved;
}

// --------------------------------------------------------- size and loading

void TCustomPlotChart::SetBounds(int left, int top, int width, int height)
{
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    height = std::max(height, FArea.MarginTop + FArea.MarginBottom + FArea.ShadowWidth + 20);
    width = std::max(width, FArea.MarginLeft + FArea.MarginRight + FArea.ShadowWidth + 80);
    gui::TCustomControl::SetBounds(left, top, width, height);
    FArea.Width = Width();
    FArea.Height = Height();
    if (FConstructed) {
        if (FIsometric) RecomputeIsometricRanges(false);
        PlaceScales();
        gui::TCustomControl::SetBounds(left, top, width, height);
        CalcScaleCoefficients();
    }
    FSuppressPaint = saved;
}

void TCustomPlotChart::Loaded()
{
    gui::TCustomControl::Loaded();
    for (int i = 1; i <= MaxLayers; ++i) {
        FScalePropsX[i]->SetLoading(false);
        FScalePropsY[i]->SetLoading(false);
    }
    SyncAllScales();
    for (int i = 1; i <= MaxLayers; ++i) {
        FScalesX[i]->Loaded();
        FScalesY[i]->Loaded();
    }
    CalcScaleCoefficients();
    Invalidate();
}

void TCustomPlotChart::Dispatch(gui::TMessage& m)
{
    gui::TCustomControl::Dispatch(m);
    switch (m.Msg) {
    case gui::WM_GETDLGCODE: m.Result = 3; break;   // arrow keys and Tab reach the chart in dialogs
    case gui::WM_MOUSEMOVE:
        if (OnMouseMoveInChart) {
            const int x = gui::GET_X_LPARAM(m.LParam), y = gui::GET_Y_LPARAM(m.LParam);
            double rx = 0, ry = 0;
            M2R(FActiveLayer, x, y, rx, ry);
            OnMouseMoveInChart(this, InPlot(x, y), gui::KeysToShiftState(static_cast<uint32_t>(m.WParam)), rx, ry);
        }
        break;
    default: break;
    }
}

} // namespace chart
