// The in-place editor and how the grid hosts it: the editor opens over the
// current cell with GetEditText, every change goes back through
// SetEditText, and Escape restores the text the cell had.
#include "platform/gui/Grids.h"

#include <algorithm>

#include "platform/rtl/Strings.h"

namespace gui {

// ------------------------------------------------------------ TInplaceEdit

TInplaceEdit::TInplaceEdit(rtl::TComponent* owner) : TCustomControl(owner)
{
    FGrid = dynamic_cast<TCustomGrid*>(owner);
    SetVisible(false);
    SetColor(clWindow);
    SetTabStop(false);
    SetCursor(crIBeam);
}

std::string TInplaceEdit::EditText() const { return rtl::UTF16ToUTF8(FText); }

void TInplaceEdit::SetEditText(const std::string& text)
{
    FText = rtl::UTF8ToUTF16(text);
    if (FMaxLength > 0 && static_cast<int>(FText.size()) > FMaxLength)
        FText.resize(static_cast<std::size_t>(FMaxLength));
    SetSel(static_cast<int>(FText.size()), 0);
    Invalidate();
}

void TInplaceEdit::SetSel(int start, int length)
{
    const int n = static_cast<int>(FText.size());
    FSelStart = std::clamp(start, 0, n);
    FSelLength = std::clamp(length, -FSelStart, n - FSelStart);
    if (FSelLength < 0) {
        FSelStart += FSelLength;
        FSelLength = -FSelLength;
    }
    Invalidate();
}

void TInplaceEdit::SelectAll() { SetSel(0, static_cast<int>(FText.size())); }

void TInplaceEdit::UpdateContents()
{
    if (!FGrid) return;
    FMaxLength = FGrid->GetEditLimit();
    FText = rtl::UTF8ToUTF16(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    FModified = false;
    SelectAll();
}

void TInplaceEdit::Move(const TRect& r)
{
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    Show();
    Invalidate();
}

void TInplaceEdit::ReplaceSelection(const std::u16string& text)
{
    std::u16string t = text;
    if (FMaxLength > 0) {
        int room = FMaxLength - (static_cast<int>(FText.size()) - FSelLength);
        if (room <= 0) return;
        if (static_cast<int>(t.size()) > room) t.resize(static_cast<std::size_t>(room));
    }
    FText.replace(static_cast<std::size_t>(FSelStart), static_cast<std::size_t>(FSelLength), t);
    FSelStart += static_cast<int>(t.size());
    FSelLength = 0;
    Change();
    Invalidate();
}

void TInplaceEdit::Change()
{
    FModified = true;
    if (FGrid) FGrid->UpdateText();
}

void TInplaceEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == 0 || !FGrid) return;
    const int n = static_cast<int>(FText.size());
    const bool extend = shift.Contains(TShiftStateItem::ssShift);
    // The caret end of the selection.
    auto caret = [this] { return FSelStart + FSelLength; };
    auto moveCaret = [&](int to) {
        if (extend) {
            int anchor = FSelLength >= 0 ? FSelStart : FSelStart + FSelLength;
            SetSel(anchor, to - anchor);
        } else {
            SetSel(to, 0);
        }
    };
    switch (key) {
    case VK_ESCAPE:
        FGrid->SetEditText(FGrid->FInplaceCell.X, FGrid->FInplaceCell.Y, FGrid->FInplaceOriginal);
        FModified = false;
        FGrid->HideEditor();
        key = 0;
        return;
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_RETURN: case VK_TAB:
        FGrid->KeyDown(key, shift);
        key = 0;
        return;
    case VK_LEFT:
        if (FSelLength == 0 && FSelStart == 0 && !extend) { FGrid->KeyDown(key, shift); key = 0; return; }
        moveCaret(extend ? std::max(0, caret() - 1) : (FSelLength ? FSelStart : FSelStart - 1));
        break;
    case VK_RIGHT:
        if (FSelLength == 0 && FSelStart == n && !extend) { FGrid->KeyDown(key, shift); key = 0; return; }
        moveCaret(extend ? std::min(n, caret() + 1)
                         : (FSelLength ? FSelStart + FSelLength : FSelStart + 1));
        break;
    case VK_HOME: moveCaret(0); break;
    case VK_END: moveCaret(n); break;
    case VK_DELETE:
        if (FSelLength == 0 && FSelStart < n) FSelLength = 1;
        if (FSelLength > 0) ReplaceSelection(u"");
        break;
    default:
        return;
    }
    key = 0;
}

void TInplaceEdit::KeyPress(char16_t& key)
{
    TCustomControl::KeyPress(key);
    if (key == 0 || !FGrid) return;
    if (key == 8) {
        if (FSelLength == 0 && FSelStart > 0) {
            --FSelStart;
            FSelLength = 1;
        }
        if (FSelLength > 0) ReplaceSelection(u"");
    } else if (key >= 32 && key != 127 && FGrid->CanEditAcceptKey(key)) {
        ReplaceSelection(std::u16string(1, key));
    }
    key = 0;
}

void TInplaceEdit::Dispatch(TMessage& message)
{
    if (message.Msg == WM_GETDLGCODE) {
        // Arrows and characters are the editor's; Tab only when the grid
        // moves between cells with it.
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (FGrid && FGrid->Options().Contains(TGridOption::goTabs)) message.Result |= DLGC_WANTTAB;
        return;
    }
    if (message.Msg == EM_CHARFROMPOS) {
        // The character under a point of the editor (its line is 0).
        const int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
        message.Result = x < 0 || y < 0 || x >= Width() || y >= Height() ? -1 : MAKELPARAM(CharAtX(x), 0);
        return;
    }
    TCustomControl::Dispatch(message);
}

int TInplaceEdit::CharAtX(int x)
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    const int n = static_cast<int>(FText.size());
    for (int i = 0; i < n; ++i) {
        int a = c->TextWidth(rtl::UTF16ToUTF8(FText.substr(0, static_cast<std::size_t>(i))));
        int b = c->TextWidth(rtl::UTF16ToUTF8(FText.substr(0, static_cast<std::size_t>(i + 1))));
        if (x - 2 < (a + b) / 2) return i;
    }
    return n;
}

void TInplaceEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (button == TMouseButton::mbLeft) SetSel(CharAtX(x), 0);
    TCustomControl::MouseDown(button, shift, x, y);
}

void TInplaceEdit::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->SetFont(Font());
    const std::string text = rtl::UTF16ToUTF8(FText);
    const int th = c->TextHeight(text.empty() ? "Xg" : text);
    const int y = std::max(0, (r.Height() - th) / 2);
    auto xAt = [&](int i) {
        return 2 + c->TextWidth(rtl::UTF16ToUTF8(FText.substr(0, static_cast<std::size_t>(i))));
    };
    c->SetBkMode(TRANSPARENT);
    if (FSelLength > 0) {
        c->Brush()->SetColor(clHighlight);
        c->FillRect({xAt(FSelStart), y, xAt(FSelStart + FSelLength), y + th});
    }
    // The text goes over the backgrounds already drawn.
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(2, y, text);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (FSelLength > 0) {
        TRect sr{xAt(FSelStart), y, xAt(FSelStart + FSelLength), y + th};
        c->Font()->SetColor(clHighlightText);
        c->TextRect(sr, xAt(FSelStart),  y,
                    rtl::UTF16ToUTF8(FText.substr(static_cast<std::size_t>(FSelStart),
                                                  static_cast<std::size_t>(FSelLength))));
    } else {
        c->Brush()->SetColor(Font()->Color());
        int x = xAt(FSelStart);
        c->FillRect({x, y, x + 1, y + th});
    }
    // The frame of the desktop's line edit.
    c->Brush()->SetColor(clHighlight);
    c->FrameRect(r);
}

// ---------------------------------------------------------- editor hosting

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() const
{
    return FOptions.Contains(TGridOption::goEditing) &&
           !FOptions.Contains(TGridOption::goRowSelect) && FCurrent.X >= FFixedCols &&
           FCurrent.Y >= FFixedRows;
}

void TCustomGrid::SetEditorMode(bool value)
{
    if (value) ShowEditor();
    else HideEditor();
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow()) return;
    TRect r = CellRect(FCurrent.X, FCurrent.Y);
    if (r.IsEmpty()) ClampInView(FCurrent);
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->FGrid = this;
        FInplaceEdit->SetParent(this);
    }
    FEditorMode = true;
    if (FInplaceCell == FCurrent && FInplaceEdit->Visible()) return;
    FInplaceCell = FCurrent;
    FInplaceOriginal = GetEditText(FCurrent.X, FCurrent.Y);
    FInplaceEdit->UpdateContents();
    FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
    if (Focused() && FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::ShowEditorChar(char16_t ch)
{
    ShowEditor();
    if (!FInplaceEdit || !FInplaceEdit->Visible()) return;
    FInplaceEdit->SetSel(0, static_cast<int>(FInplaceEdit->FText.size()));
    FInplaceEdit->ReplaceSelection(std::u16string(1, ch));
}

void TCustomGrid::HideEditor()
{
    if (FInplaceEdit && FInplaceEdit->Visible()) {
        UpdateText();
        const bool hadFocus = FInplaceEdit->Focused();
        FInplaceEdit->Hide();
        if (hadFocus && CanFocus()) SetFocus();
        InvalidateCell(FInplaceCell.X, FInplaceCell.Y);
    }
    FInplaceCell = {-1, -1};
    FEditorMode = false;
}

void TCustomGrid::UpdateText()
{
    if (!FInplaceEdit || FInplaceCell.X < 0 || !FInplaceEdit->Modified()) return;
    if (FInplaceCell.X >= FColCount || FInplaceCell.Y >= FRowCount) return;
    SetEditText(FInplaceCell.X, FInplaceCell.Y, FInplaceEdit->EditText());
}

void TCustomGrid::UpdateEdit()
{
    const bool always = FOptions.Contains(TGridOption::goAlwaysShowEditor) &&
                        FOptions.Contains(TGridOption::goEditing);
    if (always || (FEditorMode && FInplaceEdit && FInplaceEdit->Visible())) {
        if (!(FInplaceCell == FCurrent)) {
            if (FInplaceEdit && FInplaceEdit->Visible()) {
                UpdateText();
                FInplaceEdit->Hide();
            }
            FInplaceCell = {-1, -1};
            ShowEditor();
        }
    }
}

void TCustomGrid::InvalidateEditor()
{
    if (!FInplaceEdit || FInplaceCell.X < 0) return;
    TRect r = CellRect(FInplaceCell.X, FInplaceCell.Y);
    if (r.IsEmpty()) FInplaceEdit->Hide();
    else FInplaceEdit->Move(r);
}

} // namespace gui
