// The selector's items and the item panel: sizes, rows of buttons and
// full-width buttons, the drawing of each item in its state, and the mouse
// (press, drag to another item, release selects).

#include <algorithm>

#include "controls/ExSelectors.h"
#include "platform/gui/Forms.h"

namespace controls {

using namespace gui;

RTL_PUBLISHED(TExSelectorItem)
{
    c.Property("Caption", &TExSelectorItem::Caption, &TExSelectorItem::SetCaption);
    c.Property("Hint", &TExSelectorItem::Hint, &TExSelectorItem::SetHint);
    c.Property("Value", &TExSelectorItem::Value, &TExSelectorItem::SetValue);
    c.Property("ImageIndex", &TExSelectorItem::ImageIndex, &TExSelectorItem::SetImageIndex);
    c.Property("Tag", &TExSelectorItem::Tag, &TExSelectorItem::SetTag);
}

TExSelectorItem::TExSelectorItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}

void TExSelectorItem::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TExSelectorItem*>(source);
    if (!s) return;
    FBackGroundColor = s->FBackGroundColor;
    FCaption = s->FCaption;
    FCaptionAlignment = s->FCaptionAlignment;
    FImageIndex = s->FImageIndex;
    FHint = s->FHint;
    FValue = s->FValue;
    FItemType = s->FItemType;
    FTag = s->FTag;
}

RTL_PUBLISHED(TExSelectorItems) {}

TExSelectorItems::TExSelectorItems(rtl::TPersistent* owner)
    : rtl::TOwnedCollection(owner, TExSelectorItem::StaticClassInfo())
{
}

// ------------------------------------------------------------ item panel

TExSelectorPanel::TExSelectorPanel(rtl::TComponent* owner)
    : TExCustomSelectorPanel(owner), FItems(new TExSelectorItems(this))
{
    SetShowHint(true);
}

TExSelectorPanel::~TExSelectorPanel() { delete FItems; }

void TExSelectorPanel::SetItemIndex(int v)
{
    if (v < 0) FItemIndex = -1;
    else if (v < FItems->Count() && v != FItemIndex) FItemIndex = v;
}

void TExSelectorPanel::ItemButtonSize(int& bw, int& bh)
{
    bw = FMinButtonWidth;
    bh = FMinButtonHeight;
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    const int th = c->TextHeight("gh");
    for (int i = 0; i < FItems->Count(); ++i) {
        TExSelectorItem* it = FItems->Items(i);
        if (it->ItemType() != TSelectorItemType::itAutoSizeButton) continue;
        const int tw = it->Caption().empty() ? 0 : c->TextWidth(it->Caption());
        if (FImages && it->ImageIndex() >= 0) {
            bw = std::max(bw, tw + FImages->Width() + 2 * FButtonMargin);
            bh = std::max(bh, std::max(th, FImages->Height()) + FButtonMargin);
        } else {
            bw = std::max(bw, tw + 2 * FButtonMargin);
            bh = std::max(bh, th + FButtonMargin);
        }
        FMaxCaptionLength = std::max(FMaxCaptionLength, tw);
    }
}

int TExSelectorPanel::GetPanelWidth()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    int w1 = 2 * FLeftOffSet + FMinButtonWidth;
    int n = 0;
    for (int i = 0; i < FItems->Count(); ++i) {
        TExSelectorItem* it = FItems->Items(i);
        if (it->ItemType() == TSelectorItemType::itFullWidthButton) {
            int w = c->TextWidth(it->Caption());
            if (FImages && it->ImageIndex() >= 0) w += FImages->Width();
            w1 = std::max(w1, w + 2 * FButtonMargin + 2 * FLeftOffSet);
        } else {
            ++n;
        }
    }
    n = std::min(n, FButtonsPerRow);
    int bw = 0, bh = 0;
    ItemButtonSize(bw, bh);
    return std::max(n * bw + 2 * FLeftOffSet, w1);
}

void TExSelectorPanel::ArrangeItems()
{
    const int W = GetPanelWidth();
    int bw = 0, bh = 0;
    ItemButtonSize(bw, bh);
    SetWidth(W);
    int y = FTopOffSet, x = FLeftOffSet, col = 0;
    bool placed = false;
    for (int i = 0; i < FItems->Count(); ++i) {
        TExSelectorItem* it = FItems->Items(i);
        if (it->ItemType() == TSelectorItemType::itAutoSizeButton) {
            if (++col > FButtonsPerRow) {
                col = 1;
                y += bh;
                x = FLeftOffSet;
            }
            it->SetItemRect(Rect(x, y, x + bw, y + bh));
            placed = true;
            x += bw;
        } else {
            if (placed) y += bh + 2;
            it->SetItemRect(Rect(FLeftOffSet, y, W - FLeftOffSet, y + FButtonHeight));
            placed = false;
            col = 0;
            y += FButtonHeight;
            x = FLeftOffSet;
        }
    }
    if (FItems->Count() > 0) SetHeight(FItems->Items(FItems->Count() - 1)->ItemRect().Bottom + FTopOffSet);
}

int TExSelectorPanel::ItemAtPos(int x, int y) const
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ItemRect().Contains(TPoint{x, y})) return i;
    return -1;
}

void TExSelectorPanel::PaintItem(int index, bool erase)
{
    if (IsDesigning() || index < 0 || index >= FItems->Count()) return;
    TExSelectorItem* it = FItems->Items(index);
    TCanvas* c = Canvas();
    const TRect R = it->ItemRect();
    TRect TR = R;
    TR.Left += FButtonMargin;
    const uint32_t format = DT_SINGLELINE | DT_VCENTER;
    auto fill = [&](TColor f, TColor ft, bool lessLastColumn) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        if (ft == clNone) {
            c->Pen()->SetColor(f);
            c->Brush()->SetColor(f);
            c->Rectangle(R);
        } else {
            TRect g = R;
            if (lessLastColumn) g.Right -= 1;
            DrawSelectorGradient(c, f, ft, true, g, 16);
        }
    };
    auto frame = [&](TColor k) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (k == clNone) return;
        c->Pen()->SetColor(k);
        c->Rectangle(R);
    };
    c->Font()->Assign(Font());
    if (index == FDownItemIndex) {
        fill(FColorDown, FColorDownTo, false);
        frame(FBorderDownColor);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->SetColor(0xFFFFFF);
    } else if (index == FHotItemIndex) {
        fill(FColorHot, FColorHotTo, true);
        frame(FBorderHotColor);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->SetColor(0);
    } else if (erase) {
        InvalidateRect(R);
        return;
    } else {
        if (!OnDrawItem && it->BackGroundColor() != clNone) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Pen()->SetColor(it->BackGroundColor());
            c->Brush()->SetColor(it->BackGroundColor());
            c->Rectangle(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
        }
        if (index == FItemIndex) {
            fill(FColorSelected, FColorSelectedTo, true);
            frame(FBorderSelectedColor);
        }
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->SetColor(0);
    }
    if (!OnDrawItem) {
        const std::string& cap = it->Caption();
        if (it->CaptionAlignment() == TAlignment::taLeftJustify && !cap.empty()) {
            TRect t = TR;
            c->DrawText(cap, t, format);
        }
        if (FImages && it->ImageIndex() >= 0) {
            const int x = it->CaptionAlignment() == TAlignment::taLeftJustify ? TR.Left + FMaxCaptionLength + 2 : TR.Left;
            FImages->Draw(c, x, TR.Top + 2, it->ImageIndex(), true);
            TR.Left += FImages->Width() + 2;
        }
        if (!cap.empty() && it->CaptionAlignment() == TAlignment::taCenter) {
            TRect t = TR;
            c->DrawText(cap, t, format | DT_CENTER);
        } else if (!cap.empty() && it->CaptionAlignment() == TAlignment::taRightJustify) {
            TRect t = TR;
            c->DrawText(cap, t, format);
        }
    }
    if (OnDrawItem) OnDrawItem(this, index, R);
}

void TExSelectorPanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    for (int i = 0; i < FItems->Count(); ++i) PaintItem(i, false);
}

void TExSelectorPanel::MouseMove(TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseMove(shift, x, y);
    const int i = ItemAtPos(x, y);
    if (i < 0) {
        if (FHotItemIndex >= 0) {
            const int old = FHotItemIndex;
            FHotItemIndex = -1;
            if (FDownItemIndex >= 0) FDownItemIndex = -1;
            PaintItem(old, true);
        }
        return;
    }
    if (i == FHotItemIndex) return;
    if (FHotItemIndex >= 0) {
        const int old = FHotItemIndex;
        FHotItemIndex = -1;
        if (FDownItemIndex >= 0) FDownItemIndex = i;
        PaintItem(old, true);
    }
    FHotItemIndex = i;
    if (FMouseDown) FDownItemIndex = i;
    Invalidate();   // hot or pressed at the next paint
    SetHint(FItems->Items(i)->Hint());
    if (Application) Application->CancelHint();
    if (OnHotTool) OnHotTool(this, i);
}

void TExSelectorPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseDown(button, shift, x, y);
    FMouseDown = true;
    const int i = ItemAtPos(x, y);
    if (i >= 0) {
        FDownItemIndex = i;
        Invalidate();
    }
}

void TExSelectorPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TExCustomSelectorPanel::MouseUp(button, shift, x, y);
    FMouseDown = false;
    if (OnShouldHide) OnShouldHide(this);
    if (FDownItemIndex >= 0 && FHotItemIndex >= 0) {
        SetItemIndex(FDownItemIndex);
        if (OnSelect) OnSelect(this);
    }
    FHotItemIndex = -1;
    FDownItemIndex = -1;
}

void TExSelectorPanel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_MOUSELEAVE) {
        TExCustomSelectorPanel::Dispatch(m);
        const int old = FHotItemIndex;
        FHotItemIndex = -1;
        FDownItemIndex = -1;
        if (old >= 0) PaintItem(old, true);
        return;
    }
    TExCustomSelectorPanel::Dispatch(m);
}

} // namespace controls
