// The markup label.

#include "htmltext/HTMLLabel.h"

#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"

namespace htmltext {

using gui::TColor;
using gui::TRect;

void DrawLabelGradient(gui::TCanvas& c, TColor from, TColor to, bool horizontal, const TRect& r, int steps)
{
    if (steps <= 0) steps = 1;
    TColor a = gui::ColorToRGB(from);
    TColor b = to == gui::clNone ? gui::clWhite : gui::ColorToRGB(to);
    const int size = horizontal ? r.Width() : r.Height();
    for (int i = 0; i < steps; ++i) {
        auto mix = [&](int f, int t) {
            return static_cast<uint8_t>(f + static_cast<int>(std::nearbyint(static_cast<double>(i) * (t - f) / steps)));
        };
        TColor col = gui::RGB(mix(gui::GetRValue(a), gui::GetRValue(b)), mix(gui::GetGValue(a), gui::GetGValue(b)),
                              mix(gui::GetBValue(a), gui::GetBValue(b)));
        c.Pen()->SetColor(col);
        c.Brush()->SetColor(col);
        const int off = static_cast<int>(std::nearbyint(static_cast<double>(i) * size / steps));
        const int end = off + size / steps + 1;
        if (horizontal)
            c.FillRect(TRect(r.Left + off, r.Top, std::min(r.Right, r.Left + end), r.Bottom));
        else
            c.FillRect(TRect(r.Left, r.Top + off, r.Right, std::min(r.Bottom, r.Top + end)));
    }
}

THTMLLabel::THTMLLabel(rtl::TComponent* owner)
    : gui::TGraphicControl(owner), FHTMLText(std::make_unique<rtl::TStringList>()),
      FImageCache(std::make_unique<THTMLPictureCache>())
{
    FHTMLText->OnChange = [this](rtl::TObject*) { HTMLTextChanged(); };
    SetBounds(Left(), Top(), 120, 17);
    SetText("");
}

THTMLLabel::~THTMLLabel() { FHTMLText->OnChange = nullptr; }

void THTMLLabel::Loaded()
{
    gui::TGraphicControl::Loaded();
    SetText("");
}

std::string THTMLLabel::MarkupText() const
{
    std::string s;
    for (int i = 0; i < FHTMLText->Count(); ++i) {
        if (i > 0) s += ' ';
        s += FHTMLText->Strings(i);
    }
    return s;
}

std::string THTMLLabel::Text() const { return MarkupToPlainText(TMarkupDialect::mdPanel, MarkupText()); }

void THTMLLabel::SetHTMLText(const rtl::TStringList* value)
{
    if (value) {
        std::string t = value->Text(), joined;
        for (char ch : t)
            if (ch != '\r' && ch != '\n') joined += ch;
        ReplaceText(joined);
    }
    MarkupChanged();
}

void THTMLLabel::ReplaceText(const std::string& markup)
{
    FHTMLText->BeginUpdate();
    FHTMLText->Clear();
    FHTMLText->Add(markup);
    FHTMLText->EndUpdate();
}

void THTMLLabel::HTMLTextChanged()
{
    FImageCache->ClearPictures();
    Invalidate();
}

void THTMLLabel::SetAutoSizing(bool v)
{
    FAutoSizing = v;
    if (v) {
        if (Align() == gui::TAlign::alLeft || Align() == gui::TAlign::alRight) SetWidth(6);
        if (Align() == gui::TAlign::alTop || Align() == gui::TAlign::alBottom) SetHeight(6);
    }
    Invalidate();
}

void THTMLLabel::SetImages(gui::TImageList* v)
{
    FImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void THTMLLabel::SetPictureContainer(TPictureContainer* v)
{
    FContainer = v;
    if (v) v->FreeNotification(this);
}

void THTMLLabel::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    if (operation == rtl::TOperation::opRemove) {
        if (component == FImages) FImages = nullptr;
        if (component == FContainer) FContainer = nullptr;
    }
    gui::TGraphicControl::Notification(component, operation);
}

void THTMLLabel::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) Invalidate();
}

bool THTMLLabel::RenderHTML(gui::TCanvas& canvas, const TRect& r, int x, int y, int hoverIndex, bool hotSpot,
                            bool printing, bool hoverStyle, TColor linkColor, TColor hoverColor,
                            TColor hoverFontColor, TMarkupResult& res)
{
    TMarkupOptions o;
    o.Images = FImages;
    o.PointX = x;
    o.PointY = y;
    o.FocusIndex = -1;
    o.HoverIndex = hoverIndex;
    o.ShadowOffset = printing ? 1 : FShadowOffset;
    o.HotSpotCheck = hotSpot;
    o.Printing = printing;
    o.HoverStyle = hoverStyle;
    o.WordWrap = !FEllipsis;
    o.LinkColor = linkColor;
    o.HoverColor = hoverColor;
    o.HoverFontColor = hoverFontColor;
    o.ShadowColor = printing ? gui::clGray : FShadowColor;
    o.PictureCache = FImageCache.get();
    o.PictureContainer = FContainer;
    o.LineSpacing = FLineSpacing;
    bool hit = DrawMarkupText(TMarkupDialect::mdPanel, canvas, MarkupText(), r, o, res);
    FXSize = res.XSize;
    FYSize = res.YSize;
    return hit;
}

gui::TSize THTMLLabel::GetSizeWithMaxWidth(int maxWidth)
{
    gui::TCanvas& c = *Canvas();
    c.SetFont(Font());
    TMarkupResult res;
    RenderHTML(c, TRect(0, 0, maxWidth, 4096), 0, 0, FHoverHyperLink, true, false, FHover, FURLColor,
               FHoverColor, FHoverFontColor, res);
    return {res.XSize, res.YSize};
}

gui::TSize THTMLLabel::HTMLSize() { return GetSizeWithMaxWidth(4096); }

void THTMLLabel::HTMLPrint(gui::TCanvas& canvas, const TRect& r)
{
    TMarkupResult res;
    RenderHTML(canvas, r, 0, 0, -1, false, true, false, FURLColor, gui::clNone, gui::clNone, res);
}

void THTMLLabel::HilightText(const std::string& hiText, bool doCase)
{
    ReplaceText(InsertTagAroundMatches(TMarkupDialect::mdPanel, MarkupText(), hiText, "hi", doCase));
}

void THTMLLabel::MarkText(const std::string& hiText, bool doCase)
{
    ReplaceText(InsertTagAroundMatches(TMarkupDialect::mdPanel, MarkupText(), hiText, "e", doCase));
}

void THTMLLabel::UnHilightText() { ReplaceText(RemoveTagPairs(TMarkupDialect::mdPanel, MarkupText(), "hi")); }
void THTMLLabel::UnMarkText() { ReplaceText(RemoveTagPairs(TMarkupDialect::mdPanel, MarkupText(), "e")); }

void THTMLLabel::Paint()
{
    TRect r = ClientRect();
    if (r.IsEmpty()) return;
    SetText("");
    const int steps = r.Width() / 4;
    gui::TCanvas* target = Canvas();
    std::unique_ptr<gui::TBitmap> offscreen;
    if (!FTransparent) {
        offscreen = std::make_unique<gui::TBitmap>(r.Width(), r.Height());
        target = offscreen->Canvas();
        if (FColorTo != gui::clNone &&
            (FGradientType == TGradientType::gtFullHorizontal || FGradientType == TGradientType::gtFullVertical)) {
            DrawLabelGradient(*target, Color(), FColorTo, FGradientType == TGradientType::gtFullHorizontal, r, steps);
        } else {
            target->Pen()->SetColor(Color());
            target->Brush()->SetColor(Color());
            target->FillRect(r);
        }
    }
    {
        TRect line = r;
        bool isLine = true;
        switch (FGradientType) {
        case TGradientType::gtBottomLine: line.Top = line.Bottom - FLineWidth; break;
        case TGradientType::gtCenterLine:
            line.Top += (line.Bottom - line.Top - FLineWidth) / 2;
            line.Bottom = line.Top + FLineWidth;
            break;
        case TGradientType::gtTopLine: line.Bottom = line.Top + FLineWidth; break;
        default: isLine = false; break;
        }
        if (isLine) DrawLabelGradient(*target, Color(), FColorTo, true, line, steps);
    }
    target->SetFont(Font());
    if (FUpdateCount > 0) return;

    r = ClientRect();
    if (FBevelOuter != gui::TBevelCut::bvNone) {
        TColor tl = FBevelOuter == gui::TBevelCut::bvLowered ? gui::clBtnShadow : gui::clBtnHighlight;
        TColor br = FBevelOuter == gui::TBevelCut::bvLowered ? gui::clBtnHighlight : gui::clBtnShadow;
        target->Frame3D(r, tl, br, FBevelWidth);
    }
    if (FBorderWidth > 0) target->Frame3D(r, Color(), Color(), FBorderWidth);
    if (FBevelInner != gui::TBevelCut::bvNone) {
        TColor tl = FBevelInner == gui::TBevelCut::bvLowered ? gui::clBtnShadow : gui::clBtnHighlight;
        TColor br = FBevelInner == gui::TBevelCut::bvLowered ? gui::clBtnHighlight : gui::clBtnShadow;
        target->Frame3D(r, tl, br, FBevelWidth);
    }
    if (FBorderStyle == gui::TBorderStyle::bsSingle && FBorderWidth > 0 && FBorderColor != gui::clNone) {
        const int a = (FBorderWidth + 1) / 2, b = FBorderWidth / 2;
        target->Pen()->SetWidth(FBorderWidth);
        target->Pen()->SetColor(FBorderColor);
        target->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        target->Polygon({{r.Left - a, r.Top - a}, {r.Right + b, r.Top - a}, {r.Right + b, r.Bottom + b}, {r.Left - a, r.Bottom + b}});
        target->Pen()->SetWidth(1);
    }
    if (FBevelInner != gui::TBevelCut::bvNone || FBevelOuter != gui::TBevelCut::bvNone) gui::InflateRect(r, -FBevelWidth, -FBevelWidth);
    if (FBorderStyle == gui::TBorderStyle::bsSingle) gui::InflateRect(r, -FBorderWidth, -FBorderWidth);

    target->Brush()->SetColor(Color());
    target->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    const bool alignH = Align() == gui::TAlign::alNone || Align() == gui::TAlign::alLeft || Align() == gui::TAlign::alRight;
    const bool alignV = Align() == gui::TAlign::alNone || Align() == gui::TAlign::alTop || Align() == gui::TAlign::alBottom;
    const bool sizeH = FAutoSizeType == TAutoSizeType::asHorizontal || FAutoSizeType == TAutoSizeType::asBoth;
    const bool sizeV = FAutoSizeType == TAutoSizeType::asVertical || FAutoSizeType == TAutoSizeType::asBoth;
    if (FAutoSizing) {
        if (alignH && sizeH) r.Right += 65535;
        if (alignV && sizeV) r.Bottom += 65535;
    }
    gui::TPoint mouse = ScreenToClient(gui::GetCursorPos());
    int W = 0, H = 0;
    if (FAutoSizing || FVAlignment != TVAlignment::tvaTop) {
        TMarkupResult res;
        RenderHTML(*target, r, mouse.X, mouse.Y, FHoverHyperLink, true, false, FHover, FURLColor, FHoverColor,
                   FHoverFontColor, res);
        W = res.XSize;
        H = res.YSize;
    }
    if (FAutoSizing) {
        if (FVAlignment == TVAlignment::tvaCenter) r.Top += 3;
        if (FVAlignment == TVAlignment::tvaBottom) r.Top += 6;
        if (alignV && sizeV && Height() != H + 6) SetHeight(H + 6);
        if (alignH && sizeH && Width() != W + 6) SetWidth(W + 6);
    }
    if (FVAlignment == TVAlignment::tvaCenter) r.Top += (Height() - H) / 2;
    else if (FVAlignment == TVAlignment::tvaBottom) r.Top = Height() - H;
    TMarkupResult res;
    RenderHTML(*target, r, mouse.X, mouse.Y, FHoverHyperLink, false, false, FHover, FURLColor, FHoverColor,
               FHoverFontColor, res);
    if (offscreen) Canvas()->Draw(0, 0, offscreen.get());
}

std::string THTMLLabel::AnchorAtPoint(int x, int y, TRect& hoverRect)
{
    TRect r = ClientRect();
    if (FBevelInner != gui::TBevelCut::bvNone || FBevelOuter != gui::TBevelCut::bvNone) gui::InflateRect(r, -FBevelWidth, -FBevelWidth);
    gui::InflateRect(r, -FBorderWidth, -FBorderWidth);
    hoverRect = TRect(-1, -1, -1, -1);
    gui::TCanvas& c = *Canvas();
    c.SetFont(Font());
    if (FVAlignment != TVAlignment::tvaTop) {
        TMarkupResult m;
        RenderHTML(c, r, x, y, -1, true, false, FHover, FURLColor, FHoverColor, FHoverFontColor, m);
        if (m.YSize < Height()) {
            if (FVAlignment == TVAlignment::tvaCenter) r.Top += (r.Bottom - r.Top - m.YSize) / 2;
            else r.Top = r.Bottom - m.YSize;
        }
    }
    TMarkupResult res;
    res.HoverRect = hoverRect;
    bool hit = RenderHTML(c, r, x, y, FHoverHyperLink, true, false, FHover, gui::clWhite, gui::clNone, gui::clNone, res);
    FHoverHyperLink = res.MouseLink;
    hoverRect = res.HoverRect;
    if (hit) return res.AnchorValue;
    FHoverHyperLink = -1;
    return {};
}

void THTMLLabel::InvalidateOnParent(const TRect& r)
{
    if (!Parent()) return;
    if (r.Left == -1) {
        Invalidate();
        return;
    }
    TRect moved = r;
    gui::OffsetRect(moved, Left(), Top());
    Parent()->InvalidateRect(moved);
}

void THTMLLabel::MouseMove(gui::TShiftState shift, int x, int y)
{
    gui::TGraphicControl::MouseMove(shift, x, y);
    TRect q;
    std::string a = AnchorAtPoint(x, y, q);
    if (!a.empty()) {
        if ((a != FAnchor || !(q == FCurrHoverRect) || FHoverHyperLink == -1) && FHover && q.Left != -1)
            InvalidateOnParent(FCurrHoverRect);
        if (Cursor() == gui::crDefault || a != FAnchor || FOldHoverHyperLink != FHoverHyperLink) {
            if (FAnchorHint && gui::Application) gui::Application->CancelHint();
            SetCursor(gui::crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, a);
            if (FHover) InvalidateOnParent(q.Left == -1 ? TRect(-1, -1, -1, -1) : FCurrHoverRect);
        }
        FAnchor = a;
        FOldHoverHyperLink = FHoverHyperLink;
        FCurrHoverRect = q;
        if (FHover) InvalidateOnParent(q);
    } else if (Cursor() == gui::crHandPoint) {
        SetCursor(gui::crDefault);
        if (OnAnchorExit) OnAnchorExit(this, a);
        if (FHover) InvalidateOnParent(FCurrHoverRect);
        FCurrHoverRect = q;
        if (FHover) InvalidateOnParent(q);
    }
}

void THTMLLabel::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    gui::TGraphicControl::MouseDown(button, shift, x, y);
    TRect q;
    std::string a = AnchorAtPoint(x, y, q);
    if (a.empty()) return;
    if (OnAnchorClick) OnAnchorClick(this, a);
    if (IsUrlOrMail(a)) OpenAddress(a);
}

std::string THTMLLabel::HintAt(int x, int y, gui::TPoint* hintPos)
{
    if (FAnchorHint) {
        TRect q;
        std::string a = AnchorAtPoint(x, y, q);
        if (!a.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, a);
            if (hintPos) *hintPos = ClientToScreen(gui::TPoint(x + 10, y - 10));
            return a;
        }
    }
    if (FHintShowFull) return FHTMLHint ? MarkupText() : Text();
    return Hint();
}

void THTMLLabel::Dispatch(gui::TMessage& m)
{
    switch (m.Msg) {
    case gui::CM_MOUSELEAVE:
        if (FHover && FHoverHyperLink != -1) InvalidateOnParent(FCurrHoverRect);
        FHoverHyperLink = -1;
        gui::TGraphicControl::Dispatch(m);
        return;
    case gui::CM_HINTSHOW: {
        auto* info = reinterpret_cast<gui::THintInfo*>(m.LParam);
        if (info) {
            gui::TPoint pos = info->HintPos;
            info->HintStr = HintAt(info->CursorPos.X, info->CursorPos.Y, &pos);
            info->HintPos = pos;
        }
        m.Result = 0;
        return;
    }
    default:
        gui::TGraphicControl::Dispatch(m);
    }
}

} // namespace htmltext
