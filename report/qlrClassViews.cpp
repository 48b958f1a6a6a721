// Views: the device rectangle, background and frame of every visible report
// object; frames, highlights and display formats; dialog components and
// controls.

#include <algorithm>
#include <cmath>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Types.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrUtils.h"
#include "report/qlrXML.h"

namespace qlr {

namespace {

// Device pixels stay within this bound, so that a damaged position or size
// read from a file cannot overflow the sums drawing makes of them.
constexpr long double kPixelLimit = 1 << 28;

int Round(long double x)
{
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(x, -kPixelLimit, kPixelLimit)));  // ties to even
}

std::string Attr(const std::string& name, const std::string& value)
{
    return " " + name + "=\"" + value + "\"";
}

// A line of w pixels drawn as w one-pixel lines with the canvas's pen, the
// offsets running across the line.
void WideLine(gui::TCanvas* canvas, int x1, int y1, int x2, int y2, int w)
{
    if (w <= 0) w = 1;
    bool horizontal = std::abs(y2 - y1) < std::abs(x2 - x1);
    for (int i = -(w / 2); i <= w - 1 - w / 2; ++i) {
        if (horizontal) {
            canvas->MoveTo(x1, y1 + i);
            canvas->LineTo(x2, y2 + i);
        } else {
            canvas->MoveTo(x1 + i, y1);
            canvas->LineTo(x2 + i, y2);
        }
    }
}

// A solid line of width w with square caps, as a filled rectangle.
void SquareCapLine(gui::TCanvas* canvas, int x1, int y1, int x2, int y2, int w, gui::TColor color)
{
    if (w <= 0) w = 1;
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(color);
    int h = w / 2;
    if (x1 == x2) canvas->FillRect(gui::TRect(x1 - h, std::min(y1, y2) - h, x1 - h + w, std::max(y1, y2) - h + w));
    else canvas->FillRect(gui::TRect(std::min(x1, x2) - h, y1 - h, std::max(x1, x2) - h + w, y1 - h + w));
}

gui::TPenStyle DashStyle(TqlrFrameStyle s)
{
    switch (s) {
    case TqlrFrameStyle::fsDash: return gui::TPenStyle::psDash;
    case TqlrFrameStyle::fsDot: return gui::TPenStyle::psDot;
    case TqlrFrameStyle::fsDashDot: return gui::TPenStyle::psDashDot;
    case TqlrFrameStyle::fsDashDotDot: return gui::TPenStyle::psDashDotDot;
    default: return gui::TPenStyle::psSolid;
    }
}

} // namespace

// --- frames ------------------------------------------------------------------------

bool TqlrFrameLine::IsColorStored() const
{
    return !FFrame || FColor != FFrame->Color();
}

bool TqlrFrameLine::IsStyleStored() const
{
    return !FFrame || FStyle != FFrame->Style();
}

bool TqlrFrameLine::IsWidthStored() const
{
    return !FFrame || std::fabs(FWidth - FFrame->Width()) > 1e-12L;
}

void TqlrFrameLine::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrFrameLine*>(source)) {
        FColor = s->FColor;
        FStyle = s->FStyle;
        FWidth = s->FWidth;
    }
}

std::string TqlrFrameLine::Diff(const TqlrFrameLine* aLine, const std::string& lineName, bool colorChanged,
                                bool styleChanged, bool widthChanged) const
{
    std::string s;
    if (colorChanged ? FColor != FFrame->Color() : FColor != aLine->FColor)
        s += Attr(lineName + ".Color", std::to_string(FColor));
    if (styleChanged ? FStyle != FFrame->Style() : FStyle != aLine->FStyle)
        s += Attr(lineName + ".Style", std::to_string(static_cast<int>(FStyle)));
    if (widthChanged ? FloatsDiffer(FWidth, FFrame->Width()) : FloatsDiffer(FWidth, aLine->FWidth))
        s += Attr(lineName + ".Width", qlrFloatToStr(FWidth));
    return s;
}

TqlrFrame::TqlrFrame()
    : FLeftLine(std::make_unique<TqlrFrameLine>(this)), FTopLine(std::make_unique<TqlrFrameLine>(this)),
      FRightLine(std::make_unique<TqlrFrameLine>(this)), FBottomLine(std::make_unique<TqlrFrameLine>(this))
{
}

void TqlrFrame::SetColor(gui::TColor v)
{
    FColor = v;
    for (TqlrFrameLine* l : {LeftLine(), TopLine(), RightLine(), BottomLine()}) l->SetColor(v);
}

void TqlrFrame::SetStyle(TqlrFrameStyle v)
{
    FStyle = v;
    for (TqlrFrameLine* l : {LeftLine(), TopLine(), RightLine(), BottomLine()}) l->SetStyle(v);
}

void TqlrFrame::SetWidth(long double v)
{
    FWidth = v;
    for (TqlrFrameLine* l : {LeftLine(), TopLine(), RightLine(), BottomLine()}) l->SetWidth(v);
}

void TqlrFrame::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TqlrFrame*>(source);
    if (!s) return;
    FColor = s->FColor;
    FDropShadow = s->FDropShadow;
    FShadowWidth = s->FShadowWidth;
    FShadowColor = s->FShadowColor;
    FStyle = s->FStyle;
    FTyp = s->FTyp;
    FWidth = s->FWidth;
    FLeftLine->Assign(s->LeftLine());
    FTopLine->Assign(s->TopLine());
    FRightLine->Assign(s->RightLine());
    FBottomLine->Assign(s->BottomLine());
}

std::string TqlrFrame::Diff(const TqlrFrame* f) const
{
    std::string s;
    bool colorChanged = FColor != f->FColor;
    bool styleChanged = FStyle != f->FStyle;
    bool widthChanged = FloatsDiffer(FWidth, f->FWidth);
    if (colorChanged) s += Attr("Frame.Color", std::to_string(FColor));
    if (FDropShadow != f->FDropShadow) s += Attr("Frame.DropShadow", FDropShadow ? "1" : "0");
    if (FShadowColor != f->FShadowColor) s += Attr("Frame.ShadowColor", std::to_string(FShadowColor));
    if (FloatsDiffer(FShadowWidth, f->FShadowWidth)) s += Attr("Frame.ShadowWidth", qlrFloatToStr(FShadowWidth));
    if (styleChanged) s += Attr("Frame.Style", std::to_string(static_cast<int>(FStyle)));
    if (FTyp != f->FTyp) s += Attr("Frame.Typ", std::to_string(FTyp.ToMask()));
    if (widthChanged) s += Attr("Frame.Width", qlrFloatToStr(FWidth));
    s += LeftLine()->Diff(f->LeftLine(), "Frame.LeftLine", colorChanged, styleChanged, widthChanged);
    s += TopLine()->Diff(f->TopLine(), "Frame.TopLine", colorChanged, styleChanged, widthChanged);
    s += RightLine()->Diff(f->RightLine(), "Frame.RightLine", colorChanged, styleChanged, widthChanged);
    s += BottomLine()->Diff(f->BottomLine(), "Frame.BottomLine", colorChanged, styleChanged, widthChanged);
    return s;
}

// --- highlight and format -------------------------------------------------------------

TqlrHighlight::TqlrHighlight() : FFont(std::make_unique<gui::TFont>())
{
    FFont->SetName("Arial");
    FFont->SetSize(10);
    FFont->SetColor(gui::clRed);
    FFont->SetCharset(gui::DEFAULT_CHARSET);
}

void TqlrHighlight::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrHighlight*>(source)) {
        FFont->Assign(s->Font());
        FColor = s->FColor;
        FCondition = s->FCondition;
    }
}

void TqlrFormat::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrFormat*>(source)) {
        FDecimalSeparator = s->FDecimalSeparator;
        FThousandSeparator = s->FThousandSeparator;
        FFormatStr = s->FFormatStr;
        FKind = s->FKind;
    }
}

// --- views -----------------------------------------------------------------------

TqlrView::TqlrView(rtl::TComponent* owner) : TqlrReportComponent(owner), FFrame(std::make_unique<TqlrFrame>())
{
    FComponentStyle.Include(TqlrComponentStyleItem::csDefaultDiff);
}

TqlrView::~TqlrView()
{
    if (FDataSet) FDataSet->RemoveFreeNotification(this);
}

void TqlrView::SetDataSet(TqlrDataSet* v)
{
    if (FDataSet == v) return;
    LinkDataSet(FDataSet, v);
    FDataSetName = v ? v->UserName() : std::string();
}

std::string TqlrView::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TqlrView::SetDataSetName(const std::string& v)
{
    FDataSetName = v;
    LinkDataSet(FDataSet, FindDataSet(FDataSet, v));
}

void TqlrView::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrReportComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FDataSet) FDataSet = nullptr;
}

bool TqlrView::IsDataField() const
{
    return FDataSet && !FDataField.empty();
}

void TqlrView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                    long double offsetY)
{
    PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    PaintBackground();
    PaintFrame();
}

void TqlrView::PrepareDeviceRect(gui::TCanvas* canvas, long double scaleX, long double scaleY,
                                 long double offsetX, long double offsetY)
{
    FCanvas = canvas;
    FScaleX = scaleX;
    FScaleY = scaleY;
    FOffsetX = offsetX;
    FOffsetY = offsetY;
    FX = Round(offsetX + scaleX * AbsLeft());
    FY = Round(offsetY + scaleY * AbsTop());
    FX1 = Round(offsetX + scaleX * (AbsLeft() + Width()));
    FY1 = Round(offsetY + scaleY * (AbsTop() + Height()));
    if (FFrame->DropShadow()) {
        FX1 -= Round(scaleX * FFrame->ShadowWidth());
        FY1 -= Round(scaleY * FFrame->ShadowWidth());
    }
    FDX = FX1 - FX;
    FDY = FY1 - FY;
    FFrameWidth = Round(scaleX * FFrame->Width());
}

void TqlrView::PaintBackground()
{
    gui::TCanvas* c = FCanvas;
    c->Brush()->SetStyle(FBrushStyle);
    if (FColor != gui::clNone) {
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(FColor);
        c->FillRect(gui::TRect(FX, FY, FX1, FY1));
    }
    int style = static_cast<int>(FBrushStyle);
    if (style >= static_cast<int>(gui::TBrushStyle::bsHorizontal)) {
        c->Brush()->SetStyle(FBrushStyle);
        c->Brush()->SetColor(gui::ColorToRGB(FFrame->Color()));
        c->Rectangle(FX, FY, FX1 + 1, FY1 + 1);
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    }
}

void TqlrView::PaintFrame()
{
    gui::TCanvas* c = FCanvas;
    TqlrFrame* f = FFrame.get();
    if (f->DropShadow()) {
        int a = Round(f->ShadowWidth() * FScaleX);
        int b = Round(f->ShadowWidth() * FScaleY);
        c->Pen()->SetStyle(gui::TPenStyle::psSolid);
        c->Pen()->SetColor(f->ShadowColor());
        WideLine(c, FX1 + a / 2, FY + a, FX1 + a / 2, FY1, a);
        WideLine(c, FX + b, FY1 + b / 2, FX1 + b, FY1 + b / 2, b);
    }
    if (f->Typ().Empty() || f->Color() == gui::clNone || f->Width() == 0) return;

    const auto& typ = f->Typ();
    bool hasL = typ.Contains(TqlrFrameType::ftLeft), hasR = typ.Contains(TqlrFrameType::ftRight);
    bool hasT = typ.Contains(TqlrFrameType::ftTop), hasB = typ.Contains(TqlrFrameType::ftBottom);
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    if (f->Style() != TqlrFrameStyle::fsSolid) {
        if (FColor == gui::clNone) c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        else c->Brush()->SetColor(FColor);
    }

    // One line: vertical lines run from y1 to y2 at x1, horizontal ones from
    // x1 to x2 at y1; startFree / endFree: no adjoining line at that end;
    // outside: the sign of the direction away from the frame's inside.
    auto drawLine = [&](TqlrFrameLine* line, bool vertical, int x1, int y1, int x2, int y2, bool startFree,
                        bool endFree, int outside) {
        int w = Round(line->Width() * FScaleX);
        TqlrFrameStyle st = line->Style();
        c->Pen()->SetColor(line->Color());
        switch (st) {
        case TqlrFrameStyle::fsSolid:
        case TqlrFrameStyle::fsDouble: {
            int s1 = startFree ? w / 2 : 0, s2 = endFree ? w / 2 : 0;
            if (vertical) { y1 += s1; y2 -= s2; } else { x1 += s1; x2 -= s2; }
            if (st == TqlrFrameStyle::fsSolid) {
                SquareCapLine(c, x1, y1, x2, y2, w, line->Color());
                return;
            }
            int ox = vertical ? w : 0, oy = vertical ? 0 : w;
            int lo = startFree ? 0 : w, hi = endFree ? 0 : w;
            // outer line lengthened, inner line shortened at joined ends
            auto along = [&](int a, int b, int grow1, int grow2, int dx, int dy) {
                if (vertical) SquareCapLine(c, x1 + dx, a - grow1, x2 + dx, b + grow2, w, line->Color());
                else SquareCapLine(c, a - grow1, y1 + dy, b + grow2, y2 + dy, w, line->Color());
            };
            int a = vertical ? y1 : x1, b = vertical ? y2 : x2;
            if (FColor != gui::clNone) SquareCapLine(c, x1, y1, x2, y2, w, FColor);
            along(a, b, lo, hi, outside * ox, outside * oy);
            along(a, b, -lo, -hi, -outside * ox, -outside * oy);
            return;
        }
        case TqlrFrameStyle::fsAltDot:
        case TqlrFrameStyle::fsSquare: {
            if (FColor != gui::clNone) SquareCapLine(c, x1, y1, x2, y2, w, FColor);
            // A geometric pen with a user dash pattern: one on, one off for
            // w <= 1; squares of w every 2w; round dots of diameter w every 2w.
            gui::TPen* pen = c->Pen();
            pen->SetStyle(gui::TPenStyle::psSolid);
            pen->SetWidth(std::max(1, w));
            if (w <= 1) {
                pen->SetEndCap(gui::TPenEndCap::pecFlat);
                pen->SetUserDash({1, 1});
            } else if (st == TqlrFrameStyle::fsSquare) {
                pen->SetEndCap(gui::TPenEndCap::pecFlat);
                pen->SetUserDash({w, w});
            } else {
                pen->SetEndCap(gui::TPenEndCap::pecRound);
                pen->SetUserDash({0, 2 * w});
            }
            c->MoveTo(x1, y1);
            c->LineTo(vertical ? x2 : x2 + 1, vertical ? y2 + 1 : y2);
            pen->SetUserDash({});
            pen->SetEndCap(gui::TPenEndCap::pecRound);
            pen->SetWidth(1);
            return;
        }
        default:
            c->Pen()->SetStyle(DashStyle(st));
            c->Pen()->SetWidth(1);
            if (vertical) WideLine(c, x1, y1, x2, y2 + 1, w);
            else WideLine(c, x1, y1, x2 + 1, y2, w);
            c->Pen()->SetStyle(gui::TPenStyle::psSolid);
            return;
        }
    };

    int penWidth = Round(f->LeftLine()->Width() * FScaleX);
    bool corrections = f->Style() != TqlrFrameStyle::fsSolid;
    if (hasL) drawLine(f->LeftLine(), true, FX, FY - (corrections && penWidth == 2 ? 1 : 0), FX, FY1, !hasT, !hasB, -1);
    if (hasR) drawLine(f->RightLine(), true, FX1, FY, FX1, FY1, !hasT, !hasB, 1);
    if (hasT) drawLine(f->TopLine(), false, FX, FY, FX1, FY, !hasL, !hasR, -1);
    if (hasB) {
        int bw = Round(f->BottomLine()->Width() * FScaleX);
        drawLine(f->BottomLine(), false, FX, FY1, FX1 + (corrections && bw <= 1 ? 1 : 0), FY1, !hasL, !hasR, 1);
    }
}

std::string TqlrView::ExpandBrackets(const std::string& text)
{
    std::string s = text;
    TqlrReport* report = Report();
    int start = 1;
    while (start <= static_cast<int>(s.size())) {
        if (s[start - 1] != '[') {
            ++start;
            continue;
        }
        int stop = 0;
        std::string expr = ExtractBracketedExpression(s, "[", "]", start, stop);
        if (stop == start) break;
        std::string value;
        if (report) value = rtl::VarToStr(report->Calc(expr));
        s.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(stop - start + 1));
        s.insert(static_cast<std::size_t>(start - 1), value);
        start += static_cast<int>(value.size());
    }
    return s;
}

void TqlrView::BeforePrint()
{
    TqlrReportComponent::BeforePrint();
    FTempTag = FTagStr;
    FTempURL = FURL;
    if (TqlrReport* report = Report()) report->CurObject = this;
}

void TqlrView::GetData()
{
    if (FTagStr.find('[') != std::string::npos) FTagStr = ExpandBrackets(FTagStr);
    if (FURL.find('[') != std::string::npos) FURL = ExpandBrackets(FURL);
}

void TqlrView::AfterPrint()
{
    TqlrReportComponent::AfterPrint();
    FTagStr = FTempTag;
    FURL = FTempURL;
}

std::string TqlrView::Diff(TqlrComponent* aComponent)
{
    std::string s = BaseDiff(aComponent);
    auto* v = dynamic_cast<TqlrView*>(aComponent);
    if (!v) return s;
    if (FBrushStyle != v->FBrushStyle) s += Attr("BrushStyle", std::to_string(static_cast<int>(FBrushStyle)));
    if (FAlign != v->FAlign) s += Attr("Align", std::to_string(static_cast<int>(FAlign)));
    if (FColor != v->FColor) s += Attr("Color", std::to_string(FColor));
    s += FFrame->Diff(v->Frame());
    if (FCursor != v->FCursor) s += Attr("Cursor", std::to_string(FCursor));
    if (FPrintable != v->FPrintable) s += Attr("Printable", FPrintable ? "1" : "0");
    if (FTagStr != v->FTagStr) s += Attr("TagStr", StrToXML(FTagStr));
    if (FURL != v->FURL) s += Attr("URL", StrToXML(FURL));
    return s;
}

// --- dialog components and controls ---------------------------------------------------

TqlrDialogComponent::TqlrDialogComponent(rtl::TComponent* owner) : TqlrReportComponent(owner)
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csPreviewVisible);
    SetWidth(28);
    SetHeight(28);
}

TqlrDialogComponent::~TqlrDialogComponent()
{
    delete FComponent;
}

void TqlrDialogComponent::DefineProperties(rtl::TFiler& filer)
{
    TqlrReportComponent::DefineProperties(filer);
    if (!Report()) return;
    filer.DefineProperty(
        "pLeft", [this](rtl::TReader& r) { SetLeft(static_cast<long double>(r.ReadInteger())); },
        [this](rtl::TWriter& w) { w.WriteInteger(Round(Left())); }, true);
    filer.DefineProperty(
        "pTop", [this](rtl::TReader& r) { SetTop(static_cast<long double>(r.ReadInteger())); },
        [this](rtl::TWriter& w) { w.WriteInteger(Round(Top())); }, true);
}

void TqlrDialogComponent::Draw(gui::TCanvas* canvas, long double, long double, long double, long double)
{
    SetWidth(28);
    SetHeight(28);
    int x = Round(Left()), y = Round(Top());
    gui::TRect r(x, y, x + 28, y + 28);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(gui::clBtnFace);
    canvas->FillRect(r);
    canvas->DrawEdge(r, gui::EDGE_RAISED, gui::BF_RECT);
    // The object image list holds no object buttons in this system, so no
    // icon is drawn; the name below the square still identifies the object.
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetSize(8);
    canvas->Font()->SetColor(gui::clBlack);
    canvas->Brush()->SetColor(gui::clWindow);
    int w = canvas->TextWidth(Name());
    canvas->TextOut(x + 14 - w / 2, y + 28 + 4, Name());
}

TqlrDialogControl::TqlrDialogControl(rtl::TComponent* owner) : TqlrReportComponent(owner) {}

TqlrDialogControl::~TqlrDialogControl() { DetachControl(); }

void TqlrDialogControl::DetachControl()
{
    if (FControl) FControl->SetParent(nullptr);
}

void TqlrDialogControl::SetControl(std::unique_ptr<gui::TControl> control)
{
    FControl = std::move(control);
    if (!FControl) return;
    FControl->SetCaption(FCaption);
    FControl->SetEnabled(FEnabled);
    FControl->SetHint(FHint);
    FControl->SetShowHint(FShowHint);
    FControl->SetVisible(Visible());
    PlaceControl();
}

// The control's window: the form of a dialog page, the control of a
// dialog control, none otherwise; its bounds the object's, rounded.
void TqlrDialogControl::PlaceControl()
{
    if (!FControl) return;
    gui::TWinControl* window = nullptr;
    if (auto* page = dynamic_cast<TqlrDialogPage*>(Parent())) window = page->DialogForm();
    else if (auto* owner = dynamic_cast<TqlrDialogControl*>(Parent()))
        window = dynamic_cast<gui::TWinControl*>(owner->Control());
    FControl->SetParent(window);
    FControl->SetBounds(static_cast<int>(std::nearbyint(Left())), static_cast<int>(std::nearbyint(Top())),
                        static_cast<int>(std::nearbyint(Width())), static_cast<int>(std::nearbyint(Height())));
}

void TqlrDialogControl::Draw(gui::TCanvas* canvas, long double, long double, long double, long double)
{
    auto* window = dynamic_cast<gui::TWinControl*>(FControl.get());
    const int w = static_cast<int>(std::nearbyint(Width())), h = static_cast<int>(std::nearbyint(Height()));
    if (!window || w <= 0 || h <= 0) return;
    gui::TBitmap picture(w, h, gui::TPixelFormat::pf24bit);
    picture.Canvas()->Brush()->SetColor(gui::clBtnFace);
    picture.Canvas()->FillRect(gui::TRect{0, 0, w, h});
    window->PaintTo(picture.Canvas(), 0, 0);
    canvas->Draw(static_cast<int>(std::nearbyint(AbsLeft())), static_cast<int>(std::nearbyint(AbsTop())), &picture);
}

void TqlrDialogControl::SetFocus()
{
    if (auto* w = dynamic_cast<gui::TWinControl*>(FControl.get())) w->SetFocus();
}

void TqlrDialogControl::SetParent(TqlrComponent* value)
{
    TqlrReportComponent::SetParent(value);
    PlaceControl();
}

void TqlrDialogControl::SetLeft(long double value)
{
    TqlrReportComponent::SetLeft(value);
    PlaceControl();
}

void TqlrDialogControl::SetTop(long double value)
{
    TqlrReportComponent::SetTop(value);
    PlaceControl();
}

void TqlrDialogControl::SetWidth(long double value)
{
    TqlrReportComponent::SetWidth(value);
    PlaceControl();
}

void TqlrDialogControl::SetHeight(long double value)
{
    TqlrReportComponent::SetHeight(value);
    PlaceControl();
}

void TqlrDialogControl::SetVisible(bool value)
{
    TqlrReportComponent::SetVisible(value);
    if (FControl) FControl->SetVisible(value);
}

void TqlrDialogControl::SetCaption(const std::string& v)
{
    FCaption = v;
    if (FControl) FControl->SetCaption(v);
}

void TqlrDialogControl::SetEnabled(bool v)
{
    FEnabled = v;
    if (FControl) FControl->SetEnabled(v);
}

void TqlrDialogControl::SetHint(const std::string& v)
{
    FHint = v;
    if (FControl) FControl->SetHint(v);
}

void TqlrDialogControl::SetShowHint(bool v)
{
    FShowHint = v;
    if (FControl) FControl->SetShowHint(v);
}

void TqlrDialogControl::SetName(const std::string& newName)
{
    std::string old = Name();
    TqlrReportComponent::SetName(newName);
    if (FCaption == old && !IsLoading()) SetCaption(Name());
}

} // namespace qlr
