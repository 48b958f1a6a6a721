// ExObj: the move button and the arrow windows.
#include "gridbase/ExObj.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/PopupWindows.h"

namespace gridbase {

using namespace gui;

// --- TPopupButton ----------------------------------------------------------------

TPopupButton::TPopupButton(rtl::TComponent* owner) : TCustomControl(owner)
{
    SetDoubleBuffered(true);
    SetColor(clBtnFace);
}

void TPopupButton::SetParent(TWinControl* parent)
{
    TCustomControl::SetParent(parent);
    // Disabled and top-most: it floats over everything and never takes the mouse.
    if (parent) SetPopupWindow(this, TPopupWindowOptions{true, true});
}

void TPopupButton::SetCaption(const std::string& v)
{
    FCaption = v;
    Invalidate();
}

void TPopupButton::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TPopupButton::SetGradTo(TColor v)
{
    FGradTo = v;
    Invalidate();
}

void TPopupButton::SetGradFrom(TColor v)
{
    FGradFrom = v;
    Invalidate();
}

void TPopupButton::SetGradMirrorTo(TColor v)
{
    FGradMirrorTo = v;
    Invalidate();
}

void TPopupButton::SetGradMirrorFrom(TColor v)
{
    FGradMirrorFrom = v;
    Invalidate();
}

void TPopupButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    // The thin window border.
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    InflateRect(r, -1, -1);
    if (!FFlat) c->Frame3D(r, 0xFFFFFF, 0x808080, 1);
    DrawMirrorGradient(c, r, FGradFrom, FGradTo, FGradMirrorFrom, FGradMirrorTo, true, clNone, false, true);
    c->SetBkMode(TRANSPARENT);
    c->Font()->Assign(Font());
    if (FCaption.find("</") != std::string::npos) {
        htmltext::TMarkupOptions options;
        options.Images = FImages;
        options.PointX = 2;
        options.PointY = 2;
        options.ShadowOffset = 2;
        options.WordWrap = false;
        options.LinkColor = 0xFF0000;
        options.ShadowColor = 0x808080;
        htmltext::TMarkupResult result;
        htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *c, FCaption, r, options, result);
    } else {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->DrawText(FCaption, r, DT_CENTER | DT_END_ELLIPSIS);
    }
}

// --- TArrowWindow -------------------------------------------------------------------

std::vector<TPoint> TArrowWindow::Outline(TArrowDirection direction)
{
    switch (direction) {
    case TArrowDirection::arrUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case TArrowDirection::arrDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case TArrowDirection::arrLeft: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case TArrowDirection::arrRight: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    }
    return {};
}

TArrowWindow::TArrowWindow(TWinControl* owner, TArrowDirection direction) : TPanel(owner), FDir(direction)
{
    SetColor(0x00FF00);
    SetVisible(false);
    SetParent(owner);
    SetPopupWindow(this, TPopupWindowOptions{false, false});
    SetWindowShape(this, Outline(direction));
}

void TArrowWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    const TRect r = ClientRect();
    c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

} // namespace gridbase
