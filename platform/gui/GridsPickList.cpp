// The in-place editor's drop-down pick list: a painted list in a drop-down
// window below the cell, driven by the editor's keys and by the mouse.
#include "platform/gui/GridsPickList.h"

#include <algorithm>

#include "platform/gui/DropDown.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Monitors.h"

namespace gui {

// The drop-down window: closes the list when the program or a press outside
// takes the activation away.
class TInplaceEditList::TPickWindow : public TDropDownForm {
public:
    TPickWindow(rtl::TComponent* owner, TInplaceEditList* editor) : TDropDownForm(owner), FEditor(editor)
    {
        SetCtl3D(false);
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_ACTIVATE && m.WParamLo() == WA_INACTIVE && FEditor->ListVisible()) {
            FEditor->CloseUp(false);
            // A press on the editor's own button comes after this: it must
            // not open the list again.  The flag lives until the next tick.
            FEditor->FClosedByPress = true;
            if (!FClearTimer) {
                FClearTimer = new TTimer(this);
                FClearTimer->SetInterval(1);
                FClearTimer->OnTimer = [this](rtl::TObject*) {
                    FEditor->FClosedByPress = false;
                    FClearTimer->SetEnabled(false);
                };
            }
            FClearTimer->SetEnabled(false);
            FClearTimer->SetEnabled(true);
        }
        TDropDownForm::Dispatch(m);
    }

private:
    TInplaceEditList* FEditor;
    TTimer* FClearTimer = nullptr;
};

// ------------------------------------------------------------ the list

TInplaceEditList::TPickListBox::TPickListBox(TInplaceEditList* editor)
    : TCustomControl(nullptr), FEditor(editor), FItems(std::make_unique<rtl::TStringList>())
{
    SetColor(clWindow);
    SetTabStop(false);
}

int TInplaceEditList::TPickListBox::ItemHeight()
{
    Canvas()->SetFont(Font());
    return std::max(1, Canvas()->TextHeight("Xg") + 2);
}

int TInplaceEditList::TPickListBox::VisibleRows() { return std::max(1, ClientHeight() / ItemHeight()); }

void TInplaceEditList::TPickListBox::SetItemIndex(int index)
{
    FItemIndex = std::clamp(index, -1, FItems->Count() - 1);
    if (FItemIndex >= 0) {
        if (FItemIndex < FTopIndex) FTopIndex = FItemIndex;
        else if (FItemIndex >= FTopIndex + VisibleRows()) FTopIndex = FItemIndex - VisibleRows() + 1;
    }
    FTopIndex = std::clamp(FTopIndex, 0, std::max(0, FItems->Count() - VisibleRows()));
    Invalidate();
}

int TInplaceEditList::TPickListBox::ItemAtPos(TPoint p)
{
    if (p.X < 0 || p.X >= ClientWidth() || p.Y < 0 || p.Y >= ClientHeight()) return -1;
    int i = FTopIndex + p.Y / ItemHeight();
    return i < FItems->Count() ? i : -1;
}

void TInplaceEditList::TPickListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft) {
        int i = ItemAtPos({x, y});
        if (i >= 0) SetItemIndex(i);
    }
}

void TInplaceEditList::TPickListBox::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    int i = ItemAtPos({x, y});
    if (i >= 0 && i != FItemIndex) SetItemIndex(i);
}

void TInplaceEditList::TPickListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    // A release over an item takes it; anywhere else the list stays.
    if (button == TMouseButton::mbLeft && ItemAtPos({x, y}) >= 0) FEditor->CloseUp(true);
}

bool TInplaceEditList::TPickListBox::DoMouseWheelDown(TShiftState, TPoint)
{
    FTopIndex = std::clamp(FTopIndex + 1, 0, std::max(0, FItems->Count() - VisibleRows()));
    Invalidate();
    return true;
}

bool TInplaceEditList::TPickListBox::DoMouseWheelUp(TShiftState, TPoint)
{
    FTopIndex = std::max(0, FTopIndex - 1);
    Invalidate();
    return true;
}

void TInplaceEditList::TPickListBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    const int h = ItemHeight();
    for (int i = FTopIndex, y = 0; i < FItems->Count() && y < ClientHeight(); ++i, y += h) {
        TRect r{0, y, ClientWidth(), y + h};
        const bool selected = i == FItemIndex;
        c->Brush()->SetColor(selected ? clHighlight : Color());
        c->FillRect(r);
        c->Font()->SetColor(selected ? clHighlightText : Font()->Color());
        c->SetBkMode(TRANSPARENT);
        c->TextRect(r, r.Left + 2, r.Top + 1, FItems->Strings(i));
    }
}

// ------------------------------------------------------------ the editor

TInplaceEditList::TInplaceEditList(rtl::TComponent* owner)
    : TInplaceEdit(owner), FPickList(std::make_unique<rtl::TStringList>())
{
}

TInplaceEditList::~TInplaceEditList()
{
    delete FWindow;  // owns the list
}

TInplaceEditList::TPickListBox* TInplaceEditList::ActiveList()
{
    if (!FWindow) {
        FWindow = new TPickWindow(nullptr, this);
        FList = new TPickListBox(this);
        FWindow->InsertComponent(FList);
        FList->SetParent(FWindow);
        FList->SetAlign(TAlign::alClient);
    }
    return FList;
}

TCustomForm* TInplaceEditList::DropDownWindow() const { return FWindow; }

int TInplaceEditList::ButtonWidth() const { return FPickList->Count() > 0 ? 16 : 0; }

void TInplaceEditList::DropDown()
{
    if (FListVisible || FPickList->Count() == 0) return;
    TPickListBox* list = ActiveList();
    list->Items()->Assign(FPickList.get());
    const int rows = std::min(FDropDownRows, FPickList->Count());
    const int border = 2;
    FWindow->SetClientWidth(std::max(Width(), 40));
    FWindow->SetClientHeight(rows * list->ItemHeight() + border);
    // Below the cell; above it when the screen has no room below.
    TPoint p = ClientToScreen({0, Height()});
    TRect work = WorkAreaNearest(this);
    if (p.Y + FWindow->Height() > work.Bottom) p.Y = ClientToScreen({0, 0}).Y - FWindow->Height();
    FWindow->SetBounds(p.X, p.Y, FWindow->Width(), FWindow->Height());
    list->SetItemIndex(FPickList->IndexOf(EditText()));
    FListVisible = true;
    FWindow->Show();
    Invalidate();
}

void TInplaceEditList::CloseUp(bool accept)
{
    if (!FListVisible) return;
    if (GetCaptureControl()) SetCaptureControl(nullptr);
    const int index = FList->ItemIndex();
    const std::string item = index >= 0 ? FList->Items()->Strings(index) : std::string();
    FListVisible = false;
    FWindow->Hide();
    Invalidate();
    if (accept && index >= 0) PickItem(item);
}

void TInplaceEditList::PickItem(const std::string& item)
{
    if (EditText() == item) return;
    SetEditText(item);
    SelectAll();
    Change();
}

void TInplaceEditList::KeyDown(uint16_t& key, TShiftState shift)
{
    const bool alt = shift.Contains(TShiftStateItem::ssAlt);
    if ((key == VK_F4 && !alt) || ((key == VK_DOWN || key == VK_UP) && alt)) {
        if (FListVisible) CloseUp(true);
        else DropDown();
        if (FPickList->Count() > 0) {
            key = 0;
            return;
        }
    }
    if (FListVisible) {
        switch (key) {
        case VK_RETURN: CloseUp(true); key = 0; return;
        case VK_ESCAPE: CloseUp(false); key = 0; return;
        case VK_UP: FList->SetItemIndex(std::max(0, FList->ItemIndex() - 1)); key = 0; return;
        case VK_DOWN: FList->SetItemIndex(FList->ItemIndex() + 1); key = 0; return;
        case VK_PRIOR: FList->SetItemIndex(std::max(0, FList->ItemIndex() - FList->VisibleRows() + 1)); key = 0; return;
        case VK_NEXT: FList->SetItemIndex(FList->ItemIndex() + FList->VisibleRows() - 1); key = 0; return;
        default: break;
        }
    }
    TInplaceEdit::KeyDown(key, shift);
}

void TInplaceEditList::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft && ButtonWidth() > 0 && x >= ClientWidth() - ButtonWidth()) {
        if (CanFocus() && !Focused()) SetFocus();
        if (FListVisible) CloseUp(false);
        else if (!FClosedByPress) DropDown();
        FClosedByPress = false;
        return;
    }
    TInplaceEdit::MouseDown(button, shift, x, y);
}

void TInplaceEditList::SetVisible(bool visible)
{
    if (!visible) CloseUp(false);
    TInplaceEdit::SetVisible(visible);
}

void TInplaceEditList::Paint()
{
    TInplaceEdit::Paint();
    const int bw = ButtonWidth();
    if (bw == 0) return;
    TRect r{ClientWidth() - bw, 0, ClientWidth(), ClientHeight()};
    Canvas()->DrawFrameControl(r, DFC_SCROLL, static_cast<uint32_t>(DFCS_SCROLLDOWN) | (FListVisible ? static_cast<uint32_t>(DFCS_PUSHED) : 0u));
}

} // namespace gui
