// TExEdit: the attached caption label, created with the first caption and
// kept beside the edit (thirteen positions), shown, hidden and enabled with it.

#include "controls/ExEdit.h"

namespace controls {

using namespace gui;

std::string TExEdit::LabelCaption() const { return FLabel ? FLabel->Caption() : std::string(); }

void TExEdit::CreateLabel()
{
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->SetFont(FLabelFont.get());
    FLabel->OnClick = [this](rtl::TObject*) {
        if (OnLabelClick) OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](rtl::TObject*) {
        if (OnLabelDblClick) OnLabelDblClick(this);
    };
    FLabel->SetParentFont(ParentFont());
}

void TExEdit::SetLabelCaption(const std::string& s)
{
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(s);
    UpdateLabel();
}

void TExEdit::SetLabelPosition(TLabelPosition p)
{
    FLabelPosition = p;
    if (FLabel) UpdateLabel();
}

void TExEdit::SetLabelMargin(int v)
{
    FLabelMargin = v;
    if (FLabel) UpdateLabel();
}

void TExEdit::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    if (FLabel) UpdateLabel();
}

void TExEdit::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (v && FLabel) FLabel->SetEnabled(true);
    Invalidate();
}

void TExEdit::SetLabelFont(const TFont* f)
{
    if (!ParentFont()) FLabelFont->Assign(f);
    if (FLabel) UpdateLabel();
}

void TExEdit::UpdateLabel()
{
    TLabel* l = FLabel;
    if (!l) return;
    l->SetTransparent(FLabelTransparent);
    l->SetFont(FParentFnt ? Font() : FLabelFont.get());
    // The focus mark survives a move while focused (FocusWidthInc moves it).
    if (FFocusLabel && HasFocus()) {
        TFontStyles st = l->Font()->Style();
        st += TFontStyle::fsBold;
        l->Font()->SetStyle(st);
    }
    int t = l->Width();
    if (TCanvas* c = l->Canvas()) {
        c->SetFont(l->Font());
        t = c->TextWidth(l->Caption());
    }
    const int lw = l->Width(), lh = l->Height(), m = FLabelMargin;
    const int middle = Top() + (Height() - lh) / 2;
    const int centre = Left() + (Width() - lw) / 2;
    int top = Top(), left = Left();
    switch (FLabelPosition) {
    case TLabelPosition::lpLeftTop: top = Top(); left = Left() - t - m; break;
    case TLabelPosition::lpLeftCenter: top = middle; left = Left() - t - m; break;
    case TLabelPosition::lpLeftBottom: top = Top() + Height() - lh; left = Left() - t - m; break;
    case TLabelPosition::lpTopLeft: top = Top() - lh - m; left = Left(); break;
    case TLabelPosition::lpBottomLeft: top = Top() + Height() + m; left = Left(); break;
    case TLabelPosition::lpLeftTopLeft: top = Top(); left = Left() - m; break;
    case TLabelPosition::lpLeftCenterLeft: top = middle; left = Left() - m; break;
    case TLabelPosition::lpLeftBottomLeft: top = Top() + Height() - lh; left = Left() - m; break;
    case TLabelPosition::lpTopCenter: top = Top() - lh - m; left = centre; break;
    case TLabelPosition::lpBottomCenter: top = Top() + Height() + m; left = centre; break;
    case TLabelPosition::lpRightTop: top = Top(); left = Left() + Width() + m; break;
    case TLabelPosition::lpRightCenter: top = middle; left = Left() + Width() + m; break;
    case TLabelPosition::lpRighBottom: top = Top() + Height() - lh; left = Left() + Width() + m; break;
    }
    l->SetBounds(left, top, lw, lh);
    l->SetVisible(Visible());
}

void TExEdit::SetParent(TWinControl* parent)
{
    TCustomEdit::SetParent(parent);
    if (FLabel) {
        FLabel->SetParent(parent);
        UpdateLabel();
    }
}

void TExEdit::SetBounds(int left, int top, int width, int height)
{
    TCustomEdit::SetBounds(left, top, width, height);
    if (FLabel && FLabel->Parent()) UpdateLabel();
    if (FFlat) SetFlatRect(true);
}

} // namespace controls
