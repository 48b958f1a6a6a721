// The flat combo box.

#include "reportout/qlrComboBox.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/Messages.h"
#include "reportout/qlrCtrls.h"

namespace qlr {

TqlrCustomComboBox::TqlrCustomComboBox(rtl::TComponent* owner)
    : gui::TCustomControl(owner), FItems(std::make_unique<rtl::TStringList>())
{
    FEdit = new gui::TEdit(this);
    FEdit->SetParent(this);
    FEdit->SetBorderStyle(gui::TBorderStyle::bsNone);
    FEdit->OnChange = [this](rtl::TObject*) {
        if (OnChange) OnChange(this);
    };
    FEdit->OnEnter = [this](rtl::TObject*) { Invalidate(); };
    FEdit->OnExit = [this](rtl::TObject*) { Invalidate(); };
    SetColor(gui::clWindow);
    FItemHeight = GetFontHeight(Font());
    SetBounds(0, 0, 100, FItemHeight + 8);
}

TqlrCustomComboBox::~TqlrCustomComboBox() = default;

void TqlrCustomComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= FItems->Count()) index = -1;
    FItemIndex = index;
    FEdit->SetText(index >= 0 ? FItems->Strings(index) : std::string());
    Invalidate();
}

void TqlrCustomComboBox::SetText(const std::string& text)
{
    FEdit->SetText(text);
    FItemIndex = FItems->IndexOf(text);
    Invalidate();
}

void TqlrCustomComboBox::SetReadOnly(bool value)
{
    if (value == FReadOnly) return;
    FReadOnly = value;
    FEdit->SetReadOnly(value);
}

gui::TSize TqlrCustomComboBox::ListSize() const
{
    const int w = FListWidth != 0 ? FListWidth : Width();
    const int count = FItems->Count();
    const int h = FDropDownCount <= 0 || count == 0 ? FItemHeight + 2
                                                    : FItemHeight * std::min(FDropDownCount, count) + 2;
    return {w, h};
}

void TqlrCustomComboBox::SetBounds(int left, int top, int width, int height)
{
    gui::TCustomControl::SetBounds(left, top, width, height);
    PlaceEdit();
}

void TqlrCustomComboBox::PlaceEdit()
{
    if (!FEdit) return;
    FEdit->SetBounds(FEditOffset + 3, 3, std::max(0, Width() - ButtonWidth - FEditOffset - 8),
                     std::max(0, Height() - 6));
}

void TqlrCustomComboBox::SetEnabled(bool enabled)
{
    gui::TCustomControl::SetEnabled(enabled);
    FEdit->SetEnabled(enabled);
    Invalidate();
}

bool TqlrCustomComboBox::DroppedDown() const { return FPopup && FPopup->Visible(); }

bool TqlrCustomComboBox::Hot() const
{
    return DroppedDown() || FEdit->Focused() || FMouseInControl;
}

void TqlrCustomComboBox::SetDroppedDown(bool value)
{
    if (value == DroppedDown()) return;
    if (!value) {
        FPopup->SetVisible(false);
        Invalidate();
        return;
    }
    if (OnDropDown) OnDropDown(this);
    if (!FPopup) {
        FPopup = new gui::TPopupWindow(this);
        FList = new gui::TListBox(FPopup);
        FList->SetParent(FPopup);
        FList->SetAlign(gui::TAlign::alClient);
        FList->OnClick = [this](rtl::TObject*) { ListClicked(); };
        FPopup->OnHide = [this](rtl::TObject*) { Invalidate(); };
    }
    FList->Items()->Assign(FItems.get());
    FList->SetItemIndex(FItemIndex);
    const gui::TSize size = ListSize();
    const gui::TPoint at = ClientToScreen({0, Height()});
    FPopup->SetBounds(at.X, at.Y, size.cx, size.cy);
    FPopup->Show();
    Invalidate();
}

void TqlrCustomComboBox::ListClicked()
{
    const int i = FList->ItemIndex();
    SetDroppedDown(false);
    if (i >= 0) {
        SetItemIndex(i);
        if (OnChange) OnChange(this);
    }
}

void TqlrCustomComboBox::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    gui::TCustomControl::MouseDown(button, shift, x, y);
    if (button == gui::TMouseButton::mbLeft && Enabled()) SetDroppedDown(!DroppedDown());
}

void TqlrCustomComboBox::Dispatch(gui::TMessage& message)
{
    switch (message.Msg) {
    case gui::CM_MOUSEENTER:
        FMouseInControl = true;
        if (Enabled()) Invalidate();
        break;
    case gui::CM_MOUSELEAVE:
        FMouseInControl = false;
        if (Enabled()) Invalidate();
        break;
    case gui::CM_FONTCHANGED:
        FItemHeight = GetFontHeight(Font());
        Invalidate();
        break;
    default: break;
    }
    gui::TCustomControl::Dispatch(message);
}

void TqlrCustomComboBox::DrawButton(gui::TCanvas* c, bool hot)
{
    const int w = Width(), h = Height();
    const gui::TRect r(w - ButtonWidth - 3, 1, w - 1, h - 1);
    const bool dropped = DroppedDown();
    gui::TColor arrow = gui::clBtnText;
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(gui::TPenMode::pmCopy);
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    if (!hot) {
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(r);
        c->Brush()->SetColor(gui::clWindow);
        c->FrameRect(r);
        c->Pen()->SetColor(gui::clWindow);
    } else {
        c->Brush()->SetColor(MixColors(gui::clHighlight, gui::clWindow, dropped ? 50 : 30));
        c->FillRect(r);
        c->Pen()->SetColor(gui::clHighlight);
        if (dropped) arrow = gui::clCaptionText;
    }
    // The separator at the left edge of the button.
    const int sx = w - (ButtonWidth + 4);
    c->MoveTo(sx, 1);
    c->LineTo(sx, h - 1);
    c->Pen()->SetColor(arrow);
    const int x = w - 9;
    const int y = static_cast<int>(std::nearbyint((h - 4) / 2.0)) + 1;
    for (int i = 0; i < 3; ++i) {
        c->MoveTo(x + i, y + i);
        c->LineTo(x - i + 5, y + i);
    }
}

void TqlrCustomComboBox::Paint()
{
    gui::TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    const gui::TRect all(0, 0, w, h);
    if (!Enabled()) {
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(all);
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(all);
        c->Pen()->SetColor(gui::clGrayText);
        c->Pen()->SetWidth(1);
        const int x = w - 9;
        const int y = static_cast<int>(std::nearbyint((h - 4) / 2.0)) + 1;
        for (int i = 0; i < 3; ++i) {
            c->MoveTo(x + i, y + i);
            c->LineTo(x - i + 5, y + i);
        }
        return;
    }
    const bool hot = Hot();
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(gui::clWindow);
    c->FillRect(all);
    if (FEditOffset > 0) {
        const gui::TRect item(3, 3, FEditOffset + 3, h - 3);
        if (OnDrawItemArea) OnDrawItemArea(c, item);
        else c->FillRect(item);
    }
    c->Brush()->SetColor(hot ? gui::clHighlight : gui::clBtnFace);
    c->FrameRect(all);
    c->Brush()->SetColor(gui::clWindow);
    c->FrameRect(gui::TRect(1, 1, w - 1, h - 1));
    c->FrameRect(gui::TRect(2, 2, w - 2 - (ButtonWidth + 2), h - 2));
    DrawButton(c, hot);
}

} // namespace qlr
