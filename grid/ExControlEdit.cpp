// The inline-control editors and the transparent editor: how Enter and Tab
// end them and where the focus goes next.
#include "grid/ExControlEdit.h"

#include "grid/ExGrid.h"
#include "platform/rtl/Strings.h"

namespace grid {

namespace {

// Enter and Tab of both inline editors: the value goes back through the
// exit handling; Tab then moves on.
bool InlineKey(gui::TWinControl* self, TExStringGrid* g, char16_t& key)
{
    if (key != 13 && key != 9) return false;
    const char16_t k = key;
    key = 0;
    const gui::TPoint cell = g->CtrlXY();
    const std::string id = g->CtrlID();
    if (self->OnExit) self->OnExit(self);
    if (k == 13) {
        if (g->CanFocus()) g->SetFocus();
        return true;
    }
    if (g->Navigation()->AdvanceAuto()) {
        if (g->CanFocus()) g->SetFocus();
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, true, true);
    } else {
        g->EditNextCellControl(g->RealToDisplayCol(cell.X), cell.Y, id);
    }
    return true;
}

} // namespace

TControlEdit::TControlEdit(TExStringGrid* grid) : gui::TCustomMaskEdit(grid), FGrid(grid) {}

void TControlEdit::SetEditMask(const std::string& v)
{
    FEditMask = v;
    FMask = v.empty() ? nullptr : std::make_unique<TEditMask>(v);
}

std::string TControlEdit::Value() const
{
    return FMask ? rtl::UTF16ToUTF8(FMask->Stored(rtl::UTF8ToUTF16(Text()))) : Text();
}

void TControlEdit::KeyPress(char16_t& key)
{
    if (InlineKey(this, FGrid, key)) return;
    if (FMask && (key >= 32 || key == 8)) {
        std::u16string shown = rtl::UTF8ToUTF16(Text());
        if (static_cast<int>(shown.size()) != FMask->Length()) shown = FMask->Display(shown);
        int at = SelStart();
        if (key == 8) FMask->Clear(shown, at, true);
        else if (!FMask->Put(shown, at, key)) at = -1;
        if (at >= 0) {
            SetText(rtl::UTF16ToUTF8(shown));
            SetSelStart(at);
        }
        key = 0;
        return;
    }
    gui::TCustomMaskEdit::KeyPress(key);
}

void TControlEdit::Dispatch(gui::TMessage& m)
{
    // Enter and Tab reach KeyPress as characters instead of the form.
    if (m.Msg == gui::CM_WANTSPECIALKEY && (m.WParam == 13 || m.WParam == 9)) {
        m.Result = 1;
        return;
    }
    gui::TCustomMaskEdit::Dispatch(m);
}

TControlCombo::TControlCombo(TExStringGrid* grid) : gridbase::TGRDComboBox(grid), FGrid(grid) {}

void TControlCombo::KeyPress(char16_t& key)
{
    if (!InlineKey(this, FGrid, key)) gridbase::TGRDComboBox::KeyPress(key);
}

void TControlCombo::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_WANTSPECIALKEY && (m.WParam == 9 || m.WParam == 13)) {
        m.Result = 1;
        return;
    }
    gridbase::TGRDComboBox::Dispatch(m);
}

TGridTransEdit::TGridTransEdit(TExStringGrid* grid) : gui::TCustomEdit(grid), FGrid(grid)
{
    SetVisible(false);
    SetBorderStyle(gui::TBorderStyle::bsNone);
    SetBackgroundTransparent(true);
}

bool TGridTransEdit::StopEdit()
{
    TExStringGrid* g = FGrid;
    if (!g) {
        SetVisible(false);
        return true;
    }
    if (FStopping || g->IsDestroying()) return true;
    FStopping = true;
    std::string text = Text();
    bool valid = true;
    if (g->OnCellValidate) g->OnCellValidate(g, FCol, FRow, text, valid);
    if (valid) {
        if (g->OnEditingDone) g->OnEditingDone(g);
        g->SetCellText(FCol, FRow, text);
        SetVisible(false);
    } else {
        g->SetCol(g->RealToDisplayCol(FCol));
        g->SetRow(FRow);
        if (CanFocus()) SetFocus();
    }
    FStopping = false;
    return valid;
}

void TGridTransEdit::KeyPress(char16_t& key)
{
    if (key == 13) key = 0;
    gui::TCustomEdit::KeyPress(key);
}

void TGridTransEdit::DoExit()
{
    gui::TCustomEdit::DoExit();
    if (Visible()) StopEdit();
}

} // namespace grid
