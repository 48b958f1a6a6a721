// TEditLink: the keys that hand the cell back to the grid, focus and
// window-procedure hand-over, the value written back, and the popup form's
// deactivation.
#include "grid/ExEditLink.h"

#include "grid/ExGrid.h"

namespace grid {

using gui::TShiftStateItem;

TEditLink::TEditLink(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TEditLink::~TEditLink()
{
    if (FOwner && FOwner->EditLink() == this) FOwner->SetEditLink(nullptr);
}

void TEditLink::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    if (operation == rtl::TOperation::opRemove && component == FPopupForm) FPopupForm = nullptr;
    if (operation == rtl::TOperation::opRemove && component == FOwner) {
        FOwner = nullptr;
        FPopupForm = nullptr;  // owned by the grid
    }
    rtl::TComponent::Notification(component, operation);
}

void TEditLink::EditKeyDown(rtl::TObject* sender, uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FOwner;
    if (!g) return;
    bool candidate = false;
    switch (key) {
    case gui::VK_TAB: candidate = true; break;
    case gui::VK_RETURN: candidate = !WantKeyReturn; break;
    case gui::VK_ESCAPE: candidate = !WantKeyEscape; break;
    case gui::VK_PRIOR:
    case gui::VK_NEXT: candidate = !WantKeyPriorNext; break;
    case gui::VK_END: candidate = !WantKeyHomeEnd; break;
    case gui::VK_UP:
    case gui::VK_DOWN: candidate = !WantKeyUpDown; break;
    case gui::VK_LEFT:
    case gui::VK_RIGHT: candidate = !WantKeyLeftRight; break;
    default: break;
    }
    if (!candidate) return;
    if (key == gui::VK_ESCAPE) SetEditorValue(g->CellCache());
    FForcedExit = true;
    if (g->CanFocus()) g->SetFocus();
    FForcedExit = false;
    g->HideSpecialEditor(g->Col(), g->Row());
    g->SetEditorMode(false);
    if (key == gui::VK_RETURN && g->FLastValidation) {
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !shift.Contains(TShiftStateItem::ssShift), true,
                             true);
        key = 0;
    } else if (!g->FLastValidation) {
        // The value was refused: the editor opens again on the cell.
        g->FLastValidation = true;
        g->ShowSpecialEditor(g->Col(), g->Row());
    } else {
        g->FLastValidation = true;
        if (key == gui::VK_ESCAPE) {
            key = 0;
        } else {
            uint16_t k = key;
            g->KeyDown(k, shift);
            if (gui::TWinControl* c = GetEditControl()) c->SetEnabled(false);
            FForcedExit = true;
            if (g->CanFocus()) g->SetFocus();
            FForcedExit = false;
        }
    }
}

void TEditLink::SetFocus(bool value)
{
    gui::TWinControl* c = GetEditControl();
    if (!c) return;
    if (value) {
        c->SetVisible(true);
        c->SetEnabled(true);
    }
    if (EditStyle == TEditStyle::esInplace && FOwner) {
        FOwner->FGridControlWndProc = c->WindowProc;
        TExStringGrid* g = FOwner;
        c->WindowProc = [g](gui::TMessage& m) { g->EditLinkWndProc(m); };
    }
    if (value) {
        if (c->CanFocus()) c->SetFocus();
    } else if (FOwner && FOwner->CanFocus()) {
        FOwner->SetFocus();
    }
}

void TEditLink::RestoreWinProc()
{
    gui::TWinControl* c = GetEditControl();
    if (!c || EditStyle != TEditStyle::esInplace || !FOwner) return;
    if (FOwner->FGridControlWndProc) c->WindowProc = FOwner->FGridControlWndProc;
    FOwner->FGridControlWndProc = nullptr;
    c->SetVisible(false);
}

void TEditLink::SetRect(const gui::TRect& r)
{
    gui::TWinControl* c = GetEditControl();
    if (!c) return;
    const int line = FOwner ? FOwner->GridLineWidth() : 0;
    c->SetBounds(r.Left, r.Top, r.Width() - line, r.Height() - line);
}

void TEditLink::SetVisible(bool value)
{
    if (gui::TWinControl* c = GetEditControl()) c->SetVisible(value);
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FOwner) FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(rtl::TObject* sender)
{
    HideEditor();
    if (EditStyle == TEditStyle::esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::SetGrid(TExStringGrid* g)
{
    if (FOwner == g) return;
    if (FOwner) FOwner->RemoveFreeNotification(this);
    FOwner = g;
    if (g) g->FreeNotification(this);
}

void TEditLink::FormExit(rtl::TObject* sender)
{
    if (!FOwner) return;
    if (gui::TInplaceEdit* ed = FOwner->InplaceEditor()) ed->SetEditText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
    } else {
        EditExit(sender);
    }
}

std::string TEditLink::GetCellValue()
{
    return FOwner ? FOwner->GetCellText(FOwner->DisplayToRealCol(FOwner->Col()), FOwner->Row()) : std::string();
}

void TEditLink::SetCellValue(const std::string& value)
{
    if (FOwner) FOwner->StoreEditorText(FOwner->DisplayToRealCol(FOwner->Col()), FOwner->Row(), value);
}

gui::TWinControl* TEditLink::GetParent()
{
    if (EditStyle == TEditStyle::esPopup) return FPopupForm;
    return FOwner;
}

} // namespace grid
