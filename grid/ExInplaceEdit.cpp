// TExInplaceEdit: character filtering by editor type, the length limit in
// characters, paste with its events and checks, Esc back to the cell's
// text, validation before leaving, lookup completion and password display.
#include "grid/ExInplaceEdit.h"

#include <algorithm>

#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TShiftStateItem;

namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters, not UTF-16 units: a pair of surrogates counts once.
int CharCount(const std::u16string& s)
{
    return static_cast<int>(std::count_if(s.begin(), s.end(), [](char16_t c) { return !IsLowSurrogate(c); }));
}

bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }

// Text through the OEM code page and back (OemConvert).
std::string OemRoundTrip(const std::string& text) { return rtl::OemToChar(rtl::CharToOem(text)); }

} // namespace

TExInplaceEdit::TExInplaceEdit(TExStringGrid* grid)
    : gui::TInplaceEdit(grid), FExGrid(grid), FWordWrap(grid && grid->WordWrap())
{
}

void TExInplaceEdit::SetVAlign(bool v)
{
    if (FVAlign == v) return;
    FVAlign = v;
    Invalidate();
}

void TExInplaceEdit::SetWordWrap(bool v)
{
    if (FWordWrap == v) return;
    FWordWrap = v;
    Invalidate();
}

void TExInplaceEdit::UpdateContents()
{
    TExStringGrid* g = FExGrid;
    FMask.reset();
    gui::TInplaceEdit::UpdateContents();
    CellLook();
    if (g->OnGetEditorProp) g->OnGetEditorProp(g, g->Col(), g->Row(), nullptr);
    const std::string mask = g->GetEditMask(g->RealColIndex(g->Col()), g->Row());
    if (mask.empty()) return;
    FMask = std::make_unique<TEditMask>(mask);
    const bool modified = Modified();
    SetEditText(rtl::UTF16ToUTF8(FMask->Display(rtl::UTF8ToUTF16(EditText()))));
    SetModified(modified);
    // The first input position takes the typing.
    int first = 0;
    while (first < FMask->Length() && FMask->IsLiteral(first)) ++first;
    SetSel(first, g->Navigation()->ImproveMaskSel() ? 1 : 0);
}

// The editor takes the cell's colour and font.
void TExInplaceEdit::CellLook()
{
    TExStringGrid* g = FExGrid;
    gui::TBrush brush;
    gui::TFont font;
    g->EditorLook(g->Col(), g->Row(), brush, font);
    SetColor(brush.Color());
    Font()->Assign(&font);
}

std::string TExInplaceEdit::StoredText(const std::string& shown) const
{
    if (!HasMask()) return shown;
    return rtl::UTF16ToUTF8(FMask->Stored(rtl::UTF8ToUTF16(shown)));
}

bool TExInplaceEdit::MaskKey(char16_t key)
{
    if (!HasMask()) return false;
    std::u16string shown = rtl::UTF8ToUTF16(EditText());
    int at = SelStart();
    if (key == 8) {
        FMask->Clear(shown, at, true);
    } else if (key == 127) {
        FMask->Clear(shown, at, false);
    } else if (key >= 32) {
        if (!FMask->Put(shown, at, key)) return Beep(), true;
    } else {
        return false;
    }
    SetEditText(rtl::UTF16ToUTF8(shown));
    SetSel(at, 0);
    Change();
    // A full mask with AdvanceAuto moves on as Enter does.
    TExStringGrid* g = FExGrid;
    if (key >= 32 && g->Navigation()->AdvanceAuto() && at >= FMask->Length() && FMask->Complete(shown)) {
        char16_t enter = 13;
        if (ValidateBeforeLeaving()) g->EnterFromEditor(enter);
    }
    return true;
}

bool TExInplaceEdit::Beep()
{
    gui::MessageBeep(0);
    return false;
}

bool TExInplaceEdit::ValidateBeforeLeaving()
{
    TExStringGrid* g = FExGrid;
    if (g->ValidateCell(StoredText(EditText()))) return true;
    gui::TInplaceEdit* ed = g->InplaceEditor();  // the refusal re-opens the editor
    if (ed) {
        if (g->Navigation()->EditSelectAll()) ed->SelectAll();
        else ed->Deselect();
    }
    return false;
}

void TExInplaceEdit::CopySelection()
{
    const std::u16string text = rtl::UTF8ToUTF16(EditText());
    gui::Clipboard()->SetAsText(
        rtl::UTF16ToUTF8(text.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))));
}

bool TExInplaceEdit::PasteText(const std::string& pasted)
{
    TExStringGrid* g = FExGrid;
    bool allow = true;
    std::string v = g->OemConvert() ? OemRoundTrip(pasted) : pasted;
    if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
    if (allow && g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), v, allow);
    const int limit = g->MaxEditLength();
    std::u16string v16 = rtl::UTF8ToUTF16(v);
    if (!allow || (limit >= 1 && CharCount(v16) > limit)) return false;
    if (v16.size() >= 2 && v16.compare(v16.size() - 2, 2, u"\r\n") == 0) v16.resize(v16.size() - 2);
    std::u16string n = rtl::UTF8ToUTF16(EditText());
    n.replace(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()), v16);
    const int caret = SelStart() + static_cast<int>(v16.size());
    if (limit >= 1 && CharCount(n) > limit) return false;
    std::string next = rtl::UTF16ToUTF8(n);
    switch (g->EditControl()) {
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
        if (gridbase::ClassifyNumberText(next) != gridbase::ntInteger) return false;
        break;
    case TEditorType::edFloat: {
        const int kind = gridbase::ClassifyNumberText(next);
        if (kind != gridbase::ntInteger && kind != gridbase::ntDecimal) return false;
        break;
    }
    case TEditorType::edMixedCase: next = gridbase::CapitalizeName(next); break;
    case TEditorType::edLowerCase: next = rtl::AnsiLowerCase(next); break;
    case TEditorType::edUpperCase: next = rtl::AnsiUpperCase(next); break;
    case TEditorType::edValidChars: {
        const std::u16string valid = rtl::UTF8ToUTF16(g->ValidChars());
        for (char16_t c : v16)
            if (valid.find(c) == std::u16string::npos) return false;
        break;
    }
    default: break;
    }
    SetEditText(next);
    SetSel(caret, 0);
    Change();
    return true;
}

void TExInplaceEdit::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FExGrid;
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool shiftDown = shift.Contains(TShiftStateItem::ssShift);
    g->EditorKeyDown(key, shift);
    if (key == 0) return;
    if (key == gui::VK_BACK || key == gui::VK_DELETE) FWorkmode = false;
    else if (key != gui::VK_RETURN && key != gui::VK_UP && key != gui::VK_DOWN) FWorkmode = true;

    FSelKeyDown = SelStart();
    bool leftByArrow = false;
    if (key == gui::VK_DELETE && HasMask()) {
        MaskKey(127);
        key = 0;
        return;
    }
    switch (key) {
    case gui::VK_ESCAPE:
        // Back to the text the cell had when editing began, markup included.
        SetModified(false);
        g->RestoreCellFromCache();
        g->HideEditor();
        g->EndEditing();
        key = 0;
        return;
    case gui::VK_RETURN:
        if (ctrl && !g->Navigation()->AllowCtrlEnter()) {
            key = 0;
            return;
        }
        FSkipEnter = false;
        if (ctrl || g->Navigation()->LineFeedOnEnter()) {
            // A line break; the Enter character that follows is not the grid's.
            InsertLineBreak();
            FSkipEnter = true;
            key = 0;
            return;
        }
        if (!ctrl && !g->Navigation()->LineFeedOnEnter() && !ValidateBeforeLeaving()) {
            FSkipEnter = true;
            key = 0;
            return;
        }
        break;
    case gui::VK_TAB:
        if (!g->EditorWantsTab()) break;
        if (!ValidateBeforeLeaving()) {
            key = 0;
            return;
        }
        g->HideEditor();
        if (g->Options().Contains(gui::TGridOption::goTabs)) g->TabNavigate(shiftDown);
        else gui::PostMessage(g->Handle(), gui::WM_KEYDOWN, gui::VK_TAB, 0);
        key = 0;
        return;
    case gui::VK_UP:
    case gui::VK_DOWN:
        // Between the lines of the text first; from the first (last) line
        // Up (Down) leaves the cell.
        if (!shiftDown && CaretToLine(key == gui::VK_UP ? -1 : 1)) {
            key = 0;
            return;
        }
        if (!ValidateBeforeLeaving()) {
            key = 0;
            return;
        }
        leftByArrow = true;
        break;
    case gui::VK_LEFT:
    case gui::VK_RIGHT:
        if (!CursorWalkKeyDown(key == gui::VK_LEFT, shiftDown)) break;
        key = 0;
        return;
    case gui::VK_INSERT:
        if (ctrl) {
            CopyOrCut(false);
            key = 0;
            return;
        }
        if (shiftDown) {
            PasteText(gui::Clipboard()->AsText());
            key = 0;
            return;
        }
        break;
    case 'C':
    case 'X':
    case 'V':
        if (!ctrl) break;
        if (key == 'V') PasteText(gui::Clipboard()->AsText());
        else CopyOrCut(key == 'X');
        key = 0;
        return;
    default: break;
    }
    gui::TInplaceEdit::KeyDown(key, shift);
    // Leaving by Up or Down restarts a disjunct row selection at the new row.
    if (leftByArrow && g->MouseActions()->DisjunctRowSelect()) {
        g->ClearRowSelect();
        g->SetRowSelect(g->Row(), true);
    }
}

// Cursor walk, key down at either end of the text: with Shift the value is
// validated and the grid takes over; without it the key is kept for its
// release, which walks.  False when the key is an ordinary caret move.
bool TExInplaceEdit::CursorWalkKeyDown(bool left, bool shiftDown)
{
    TExStringGrid* g = FExGrid;
    if (!g->Navigation()->CursorWalkEditor()) return false;
    const int n = static_cast<int>(rtl::UTF8ToUTF16(EditText()).size());
    if (shiftDown) {
        if (left ? SelStart() != 0 : SelStart() + SelLength() != n) return false;
        if (!ValidateBeforeLeaving()) return true;
        g->HideEditor();
        if (g->CanFocus()) g->SetFocus();
        return true;
    }
    return SelLength() == 0 && (left ? SelStart() == 0 : SelStart() == n);
}

// Cursor walk, key release: a Left (Right) released with the caret at the
// start (end) of the text both now and when it went down moves to the
// neighbouring editable cell of the row; a click control next door
// (check box, radio, button) becomes current without an editor.
bool TExInplaceEdit::CursorWalkKeyUp(bool left, gui::TShiftState shift)
{
    TExStringGrid* g = FExGrid;
    if (!g->Navigation()->CursorWalkEditor() || !shift.Empty() || SelLength() != 0) return false;
    const int n = static_cast<int>(rtl::UTF8ToUTF16(EditText()).size());
    const int edge = left ? 0 : n;
    if (SelStart() != edge || FSelKeyDown != edge) return false;
    if (!ValidateBeforeLeaving()) return true;
    const int next = left ? g->Col() - 1 : g->Col() + g->CellSpan(g->RealColIndex(g->Col()), g->Row()).X + 1;
    const bool inside = left ? next >= g->FixedCols() : next < g->ColCount() - g->FixedRightCols();
    g->HideEditor();
    if (inside && g->HasClickControl(g->RealColIndex(next), g->Row())) {
        g->SetCol(next);
        return true;
    }
    g->WalkToEditableCell(left ? -1 : 1);
    return true;
}

void TExInplaceEdit::CopyOrCut(bool cut)
{
    TExStringGrid* g = FExGrid;
    bool allow = true;
    const TAllowEvent& ev = cut ? g->OnClipboardCut : g->OnClipboardCopy;
    if (ev) ev(this, allow);
    if (!allow || SelLength() == 0) return;
    CopySelection();
    if (cut) {
        std::u16string text = rtl::UTF8ToUTF16(EditText());
        const int start = SelStart();
        text.erase(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
        SetEditText(rtl::UTF16ToUTF8(text));
        SetSel(start, 0);
        Change();
    }
}

void TExInplaceEdit::Change()
{
    gui::TInplaceEdit::Change();
    TExStringGrid* g = FExGrid;
    if (!g->NoEditChange() && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), EditText());
}

void TExInplaceEdit::Dispatch(gui::TMessage& message)
{
    if (message.Msg == gui::EM_CHARFROMPOS && OwnLayout()) {
        const int x = gui::GET_X_LPARAM(message.LParam), y = gui::GET_Y_LPARAM(message.LParam);
        message.Result = x < 0 || y < 0 || x >= Width() || y >= Height() ? -1 : gui::MAKELPARAM(CharAtPoint(x, y), 0);
        return;
    }
    if (message.Msg == gui::WM_KEYDOWN) FExGrid->EditorWMKeyDown(message);
    if (message.Msg == gui::WM_KILLFOCUS) FocusLost();
    // Filling the editor reports no change; the user's first edit does.
    if (message.Msg == gui::WM_SETFOCUS || message.Msg == gui::WM_KILLFOCUS) FExGrid->SetNoEditChange(false);
    // The keypad's decimal key (bit 22 of the key data) types the locale's
    // decimal separator when the grid asks for it.
    if (message.Msg == gui::WM_CHAR && message.WParam == '.' && (message.LParam & (gui::LPARAM(1) << 22)) &&
        FExGrid->ExcelStyleDecimalSeparator())
        message.WParam = static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator);
    gui::TInplaceEdit::Dispatch(message);
    if (message.Msg == gui::WM_LBUTTONDBLCLK && FExGrid->OnDblClickCell)
        FExGrid->OnDblClickCell(FExGrid, FExGrid->Row(), FExGrid->Col());
    if (message.Msg == gui::WM_SETFOCUS && FExGrid->LButFlg) {
        // Editing began with a click: the caret goes where the mouse is.
        const gui::TPoint p = ScreenToClient(gui::GetCursorPos());
        const gui::LRESULT at = Perform(gui::EM_CHARFROMPOS, 0, gui::MAKELPARAM(p.X, p.Y));
        if (at != -1) {
            SetSel(gui::LOWORD(static_cast<uintptr_t>(at)), 0);
            FExGrid->LButFlg = false;
        }
    }
}

// With LookupHistory the text joins the lookup list; the grid's hooks
// learn that the editor has no caret any more.
void TExInplaceEdit::FocusLost()
{
    TExStringGrid* g = FExGrid;
    const std::string text = EditText();
    if (g->LookupHistory() && !text.empty() && g->LookupItems()->IndexOf(text) < 0) g->LookupItems()->Add(text);
    g->FormulaEditMode(false);
    g->EditorTextPositionChanged(text, {-1, -1}, -1);
}

// The character before the caret (its left edge in client coordinates) and
// whether the text is a formula, after each key release.
void TExInplaceEdit::ReportCaret()
{
    const std::string text = EditText();
    const int caret = SelStart();
    if (caret > 0) {
        gui::TCanvas* c = Canvas();
        c->SetFont(Font());
        const std::u16string t = rtl::UTF8ToUTF16(text);
        const std::vector<TShownLine> lines = ShownLines(c);
        const int before = caret - 1;
        size_t l = 0;
        while (l + 1 < lines.size() && lines[l + 1].First <= before) ++l;
        const TShownLine& line = lines[l];
        const std::u16string head = t.substr(static_cast<size_t>(line.First), static_cast<size_t>(before - line.First));
        const int x = LineLeft(c, line) + c->TextWidth(rtl::UTF16ToUTF8(head));
        const int y = LinesTop(c, static_cast<int>(lines.size())) + static_cast<int>(l) * c->TextHeight("Xg");
        FExGrid->EditorTextPositionChanged(text, {x, y}, caret);
    }
    FExGrid->FormulaEditMode(!text.empty() && text[0] == '=');
}

void TExInplaceEdit::KeyUp(uint16_t& key, gui::TShiftState shift)
{
    const bool arrow = key == gui::VK_LEFT || key == gui::VK_RIGHT;
    if (arrow && Visible() && CursorWalkKeyUp(key == gui::VK_LEFT, shift)) {
        key = 0;
        return;
    }
    gui::TInplaceEdit::KeyUp(key, shift);
    if (Visible()) ReportCaret();
    // Left and Right only move the caret: no completion, no growth.
    if (arrow) return;
    if (FWorkmode && SelLength() == 0 && Visible()) DoChange();
    if (Visible()) GrowColumnToText();
}

void TExInplaceEdit::GrowColumnToText()
{
    TExStringGrid* g = FExGrid;
    if (!g->SizeWhileTyping()->Width()) return;
    gui::TCanvas* c = g->Canvas();
    c->SetFont(g->Font());
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    int widest = 0;
    size_t a = 0;
    while (a <= t.size()) {
        size_t b = t.find(u'\n', a);
        if (b == std::u16string::npos) b = t.size();
        std::u16string line = t.substr(a, b - a);
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        widest = std::max(widest, c->TextWidth(rtl::UTF16ToUTF8(line)));
        a = b + 1;
    }
    // As the column's own sizing measures it: lines, offset and margin.
    int want = 2 * g->GridLineWidth() + widest + g->XYOffset().X + 2;
    if (g->MaxColWidth() > 0) want = std::min(want, g->MaxColWidth());
    const int col = g->Col();
    if (g->ColWidths(col) >= want) return;
    g->SetColWidths(col, want);
    Move(g->gui::TCustomGrid::CellRect(col, g->Row()));
}

void TExInplaceEdit::DoChange()
{
    TExStringGrid* g = FExGrid;
    if (!g->Lookup() || g->LookupItems()->Count() == 0) return;
    const bool cs = g->LookupCaseSensitive();
    auto fold = [cs](const std::string& s) { return cs ? s : rtl::AnsiUpperCase(s); };
    const std::u16string text = rtl::UTF8ToUTF16(EditText());
    const std::u16string typed = text.substr(0, static_cast<size_t>(SelStart()));
    if (typed.empty()) return;
    const std::string p = fold(rtl::UTF16ToUTF8(typed));
    for (int i = 0; i < g->LookupItems()->Count(); ++i) {
        const std::string item = g->LookupItems()->Strings(i);
        if (fold(item).compare(0, p.size(), p) != 0) continue;
        const std::u16string item16 = rtl::UTF8ToUTF16(item);
        const std::u16string rest = item16.substr(std::min(typed.size(), item16.size()), 255);
        SetEditText(rtl::UTF16ToUTF8(typed + rest));
        SetSel(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        Change();
        SetSel(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        return;
    }
}

std::vector<int> TExInplaceEdit::LineStarts() const
{
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    std::vector<int> starts{0};
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i] == u'\n') starts.push_back(static_cast<int>(i) + 1);
    return starts;
}

int TExInplaceEdit::LineOf(int pos) const
{
    const std::vector<int> starts = LineStarts();
    int line = 0;
    while (line + 1 < static_cast<int>(starts.size()) && starts[static_cast<size_t>(line) + 1] <= pos) ++line;
    return line;
}

void TExInplaceEdit::InsertLineBreak()
{
    std::u16string t = rtl::UTF8ToUTF16(EditText());
    const int at = SelStart();
    t.replace(static_cast<size_t>(at), static_cast<size_t>(SelLength()), u"\r\n");
    SetEditText(rtl::UTF16ToUTF8(t));
    SetSel(at + 2, 0);
    Change();
    GrowRowToLines();
}

bool TExInplaceEdit::CaretToLine(int delta)
{
    const std::vector<int> starts = LineStarts();
    if (starts.size() < 2 || SelLength() != 0) return false;
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    const int line = LineOf(SelStart());
    const int to = line + delta;
    if (to < 0 || to >= static_cast<int>(starts.size())) return false;
    // The end of a line stops before its CR LF (or LF).
    auto lineEnd = [&](int l) {
        int e = l + 1 < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(l) + 1] - 1
                                                        : static_cast<int>(t.size());
        if (e > starts[static_cast<size_t>(l)] && e <= static_cast<int>(t.size()) && e > 0 &&
            l + 1 < static_cast<int>(starts.size()) && t[static_cast<size_t>(e) - 1] == u'\r')
            --e;
        return e;
    };
    const int column = SelStart() - starts[static_cast<size_t>(line)];
    SetSel(std::min(starts[static_cast<size_t>(to)] + column, lineEnd(to)), 0);
    return true;
}

void TExInplaceEdit::GrowRowToLines()
{
    TExStringGrid* g = FExGrid;
    if (!g->SizeWhileTyping()->Height() || !g->Multilinecells()) return;
    const int lines = static_cast<int>(LineStarts().size());
    gui::TCanvas* c = g->Canvas();
    c->SetFont(g->Font());
    const int lh = c->TextHeight("gh");
    const int want = 2 * g->XYOffset().Y + lines * (lh + lh / 8);
    const int row = g->Row();
    if (g->RowHeights(row) >= want) return;
    g->SetRowHeights(row, std::min(want, g->MaxRowHeight() > 0 ? g->MaxRowHeight() : want));
    if (g->OnEndRowSize) g->OnEndRowSize(g, row);
    Move(g->gui::TCustomGrid::CellRect(g->Col(), row));
}

std::vector<TExInplaceEdit::TShownLine> TExInplaceEdit::ShownLines(gui::TCanvas* c) const
{
    c->SetFont(Font());
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    const std::vector<int> starts = LineStarts();
    const int width = std::max(1, ClientWidth() - 4);
    auto widthOf = [&](int a, int b) {
        return c->TextWidth(rtl::UTF16ToUTF8(t.substr(static_cast<size_t>(a), static_cast<size_t>(b - a))));
    };
    std::vector<TShownLine> shown;
    for (size_t l = 0; l < starts.size(); ++l) {
        const int a = starts[l];
        int b = l + 1 < starts.size() ? starts[l + 1] - 1 : static_cast<int>(t.size());
        if (l + 1 < starts.size() && b > a && t[static_cast<size_t>(b) - 1] == u'\r') --b;
        if (!FWordWrap || a == b || widthOf(a, b) <= width) {
            shown.push_back({a, b});
            continue;
        }
        // As many characters as fit, cut after the last blank among them.
        for (int first = a; first < b;) {
            int fit = first + 1;
            while (fit < b && widthOf(first, fit + 1) <= width) ++fit;
            int cut = fit;
            if (fit < b)
                for (int k = fit; k > first + 1; --k)
                    if (t[static_cast<size_t>(k) - 1] == u' ') {
                        cut = k;
                        break;
                    }
            shown.push_back({first, cut});
            first = cut;
        }
    }
    return shown;
}

bool TExInplaceEdit::OwnLayout() { return FVAlign || ShownLines(Canvas()).size() > 1; }

int TExInplaceEdit::LineLeft(gui::TCanvas* c, const TShownLine& line) const
{
    if (!FVAlign) return 2;
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    const int w = c->TextWidth(
        rtl::UTF16ToUTF8(t.substr(static_cast<size_t>(line.First), static_cast<size_t>(line.End - line.First))));
    return std::max(2, ClientWidth() - 3 - w);
}

int TExInplaceEdit::LinesTop(gui::TCanvas* c, int count) const
{
    // One line sits in the middle as in the plain editor; several start at the top.
    return count > 1 ? 2 : std::max(0, (ClientHeight() - c->TextHeight("Xg")) / 2);
}

int TExInplaceEdit::CharAtPoint(int x, int y)
{
    gui::TCanvas* c = Canvas();
    const std::vector<TShownLine> lines = ShownLines(c);
    const int th = std::max(1, c->TextHeight("Xg"));
    const int n = static_cast<int>(lines.size());
    const TShownLine& line = lines[static_cast<size_t>(std::clamp((y - LinesTop(c, n)) / th, 0, n - 1))];
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    const int left = LineLeft(c, line);
    auto xAt = [&](int pos) {
        return left + c->TextWidth(rtl::UTF16ToUTF8(
                          t.substr(static_cast<size_t>(line.First), static_cast<size_t>(pos - line.First))));
    };
    for (int i = line.First; i < line.End; ++i)
        if (x < (xAt(i) + xAt(i + 1)) / 2) return i;
    return line.End;
}

void TExInplaceEdit::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    gui::TInplaceEdit::MouseDown(button, shift, x, y);
    if (button == gui::TMouseButton::mbLeft && OwnLayout()) SetSel(CharAtPoint(x, y), 0);
}

void TExInplaceEdit::PaintLines()
{
    gui::TCanvas* c = Canvas();
    const gui::TRect r = ClientRect();
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->SetFont(Font());
    c->SetBkMode(gui::TRANSPARENT);
    const std::u16string t = rtl::UTF8ToUTF16(EditText());
    const std::vector<TShownLine> lines = ShownLines(c);
    const int th = c->TextHeight("Xg");
    const int top = LinesTop(c, static_cast<int>(lines.size()));
    const int selA = SelStart(), selB = SelStart() + SelLength();
    // The caret shows on the last line that starts at or before it.
    size_t caretLine = 0;
    while (caretLine + 1 < lines.size() && lines[caretLine + 1].First <= selA) ++caretLine;
    for (size_t l = 0; l < lines.size(); ++l) {
        const int a = lines[l].First, b = lines[l].End;
        const std::u16string line = t.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
        const int y = top + static_cast<int>(l) * th;
        const int left = LineLeft(c, lines[l]);
        auto xAt = [&](int pos) {
            return left + c->TextWidth(rtl::UTF16ToUTF8(line.substr(0, static_cast<size_t>(pos - a))));
        };
        const int sa = std::max(selA, a), sb = std::min(selB, b);
        if (sa < sb) {
            c->Brush()->SetColor(gui::clHighlight);
            c->FillRect({xAt(sa), y, xAt(sb), y + th});
        }
        c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        c->Font()->SetColor(Font()->Color());
        c->TextOut(left, y, rtl::UTF16ToUTF8(line));
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        if (SelLength() == 0 && l == caretLine) {
            c->Brush()->SetColor(Font()->Color());
            const int x = xAt(std::clamp(selA, a, b));
            c->FillRect({x, y, x + 1, y + th});
        }
    }
    c->Brush()->SetColor(gui::clHighlight);
    c->FrameRect(r);
}

void TExInplaceEdit::Paint()
{
    TExStringGrid* g = FExGrid;
    bool password = g->EditControl() == TEditorType::edPassword;
    g->IsPasswordCell(g->RealColIndex(g->Col()), g->Row(), password);
    if (!password && OwnLayout()) {
        PaintLines();
        return;
    }
    if (!password) {
        gui::TInplaceEdit::Paint();
        return;
    }
    // Every character shows as the grid's PasswordChar.
    gui::TCanvas* c = Canvas();
    const gui::TRect r = ClientRect();
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->SetFont(Font());
    const int n = CharCount(rtl::UTF8ToUTF16(EditText()));
    const std::string masked(static_cast<size_t>(n), g->PasswordChar());
    const int th = c->TextHeight("Xg");
    const int y = std::max(0, (r.Height() - th) / 2);
    c->SetBkMode(gui::TRANSPARENT);
    c->TextOut(2, y, masked);
    const int x = 2 + c->TextWidth(masked);
    c->Brush()->SetColor(Font()->Color());
    c->FillRect({x, y, x + 1, y + th});
    c->Brush()->SetColor(gui::clHighlight);
    c->FrameRect(r);
}

void TExInplaceEdit::KeyPress(char16_t& key)
{
    TExStringGrid* g = FExGrid;
    if (key == 13) {
        // The character of an Enter whose value was refused does not advance.
        if (!FSkipEnter) g->EnterFromEditor(key);
        FSkipEnter = false;
        key = 0;
        return;
    }
    if (MaskKey(key)) {
        key = 0;
        return;
    }
    if (g->OemConvert() && key >= 128) {
        const std::u16string back = rtl::UTF8ToUTF16(OemRoundTrip(rtl::UTF16ToUTF8(std::u16string(1, key))));
        if (back.size() == 1) key = back[0];
    }
    const std::u16string text = rtl::UTF8ToUTF16(EditText());
    const bool ctrl = gui::GetKeyState(gui::VK_CONTROL) < 0;

    if (key == 10 && ctrl && !g->Navigation()->AllowCtrlEnter()) {
        key = 0;
        return;
    }
    const int limit = g->MaxEditLength();
    if (limit > 0 && CharCount(text) >= limit && SelLength() == 0 && key != 8 && key != 27 && key != 13) {
        key = 0;
        return;
    }
    const bool control = key == 8 || key == 9 || key == 13 || key == 27;
    const auto& fs = rtl::FormatSettings();
    const char16_t decimal = static_cast<unsigned char>(fs.DecimalSeparator);
    const char16_t thousand = static_cast<unsigned char>(fs.ThousandSeparator);
    const std::u16string selected = text.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
    bool pass = true;
    switch (g->EditControl()) {
    case TEditorType::edNumeric:
        if (key == '-') pass = (text.find(u'-') == std::u16string::npos && SelStart() == 0) || Beep();
        else pass = control || IsDigit(key) || Beep();
        break;
    case TEditorType::edPositiveNumeric: pass = control || IsDigit(key) || Beep(); break;
    case TEditorType::edFloat:
        if (control || IsDigit(key)) break;
        if (key == ',' || key == '-' || key == '.') {
            if (key == thousand && key != decimal) pass = false;
            else if (key == decimal) {
                // A second separator only when the first is being replaced.
                const bool outside = text.find(decimal) != std::u16string::npos &&
                                     selected.find(decimal) == std::u16string::npos;
                pass = !outside;
            } else if (key == '-') {
                const bool misplaced = SelStart() != 0 || text.find(u'-') != std::u16string::npos;
                pass = !misplaced || selected.find(u'-') != std::u16string::npos || Beep();
            }
        } else {
            pass = ctrl;
        }
        break;
    case TEditorType::edCapital:
    case TEditorType::edUpperCase:
        key = rtl::UTF8ToUTF16(rtl::AnsiUpperCase(rtl::UTF16ToUTF8(std::u16string(1, key))))[0];
        break;
    case TEditorType::edLowerCase:
        key = rtl::UTF8ToUTF16(rtl::AnsiLowerCase(rtl::UTF16ToUTF8(std::u16string(1, key))))[0];
        break;
    case TEditorType::edValidChars:
        pass = control || rtl::UTF8ToUTF16(g->ValidChars()).find(key) != std::u16string::npos || Beep();
        break;
    default: break;
    }
    if (!pass) {
        key = 0;
        return;
    }
    const int caret = SelStart();
    gui::TInplaceEdit::KeyPress(key);
    if (g->EditControl() == TEditorType::edMixedCase) {
        SetEditText(gridbase::CapitalizeName(EditText()));
        SetSel(caret + 1, 0);
        Change();
    }
}

} // namespace grid
