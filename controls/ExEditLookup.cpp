// TExEdit: the type-ahead lookup list, a top-most popup under the caret
// listing the display entries that start with the typed text, and the drop
// target switch.

#include "controls/ExEdit.h"

#include <algorithm>

#include "platform/gui/PopupWindow.h"
#include "platform/rtl/Strings.h"

namespace controls {

using namespace gui;

// The popup of the lookup list with its list box.
class TListHintWindow : public TPopupWindow {
public:
    explicit TListHintWindow(TExEdit* edit) : TPopupWindow(edit)
    {
        ListControl = new TListBox(this);
        ListControl->SetParent(this);
        ListControl->SetAlign(TAlign::alClient);
        ListControl->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
        ListControl->SetItemHeight(12);
        ListControl->SetCtl3D(false);
        ListControl->SetTabStop(true);
        ListControl->OnKeyPress = [edit](rtl::TObject*, char16_t& key) {
            if (key == 13) edit->TakeLookupEntry();
        };
        ListControl->OnMouseUp = [edit](rtl::TObject*, TMouseButton, TShiftState, int, int) { edit->TakeLookupEntry(); };
    }
    TListBox* ListControl = nullptr;
};

void TExEdit::EnsureLookupList()
{
    if (!FLookupList) FLookupList = new TListHintWindow(this);
}

gui::TListBox* TExEdit::LookupListBox() const { return FLookupList ? FLookupList->ListControl : nullptr; }

bool TExEdit::LookupVisible() const { return FLookupList && FLookupList->Visible(); }

void TExEdit::HideLookup()
{
    if (FLookupList && FLookupList->Visible()) FLookupList->Hide();
}

void TExEdit::UpdateLookupList()
{
    if (!FLookup->Enabled) return;
    const std::u16string v = rtl::UTF8ToUTF16(Text());
    std::u16string s = v;
    int k = 0;
    if (FLookup->Multi) {
        const std::size_t sep = v.rfind(static_cast<char16_t>(FLookup->Separator));
        if (sep != std::u16string::npos) {
            k = static_cast<int>(sep) + 1;
            s = v.substr(sep + 1);
        }
    }
    if (static_cast<int>(s.size()) < FLookup->NumChars()) {
        HideLookup();
        return;
    }
    EnsureLookupList();
    TListBox* list = FLookupList->ListControl;
    FLookupList->SetCaption("  ");
    list->SetColor(FLookup->Color);
    list->Font()->SetName("Arial");
    list->Font()->SetSize(8);
    int h = 0;
    const TPoint origin = ClientToScreen({0, 0});
    const int top = origin.Y + Height() - 6;
    const int left = origin.X + PosFromChar(PrefixLen() + k).X + 8;
    FLookupList->SetColor(clWindow);

    const std::string typed = rtl::UTF16ToUTF8(s);
    const std::string key = FLookup->CaseSensitive ? typed : rtl::AnsiUpperCase(typed);
    std::vector<std::pair<std::string, int>> rows;
    rtl::TStringList* d = FLookup->DisplayList();
    for (int i = 0; i < d->Count(); ++i) {
        const std::string& entry = d->Strings(i);
        const std::string cmp = FLookup->CaseSensitive ? entry : rtl::AnsiUpperCase(entry);
        if (cmp.compare(0, key.size(), key) == 0) rows.emplace_back(entry, i);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return rtl::AnsiCompareText(a.first, b.first) < 0; });
    list->Items()->Clear();
    FLookupIndex.clear();
    for (const auto& [text, index] : rows) {
        list->Items()->Add(text);
        FLookupIndex.push_back(index);
    }
    if (d->Count() > 0 && !rows.empty()) list->SetItemIndex(0);
    const int n = static_cast<int>(rows.size());
    // Rows are 12 pixels in the classic list; this list's own rows (and
    // frame) may be taller, so the popup takes the height they need.
    const int row = std::max(12, list->ItemHeight());
    const int frame = row == 12 ? 4 : 4 + 2 * GetSystemMetrics(SM_CXEDGE);
    h = std::min(n, FLookup->DisplayCount) * row + frame;
    if (n == 0) {
        HideLookup();
        return;
    }
    int w = 50;
    TBitmap probe;
    probe.Canvas()->SetFont(list->Font());
    for (const auto& r : rows) w = std::max(w, probe.Canvas()->TextWidth(r.first));
    if (n > FLookup->DisplayCount) w += GetSystemMetrics(SM_CXVSCROLL);
    const int width = FLookupList->Visible() ? FLookupList->Width() : w + 10;
    FLookupList->SetBounds(left, top, width, h);
    FLookupList->Show();
}

void TExEdit::TakeLookupEntry()
{
    if (CanFocus() && !Focused()) SetFocus();
    HideLookup();
    if (!FLookupList) return;
    TListBox* list = FLookupList->ListControl;
    const int row = list->ItemIndex();
    if (row < 0 || row >= static_cast<int>(FLookupIndex.size())) return;
    const int i = FLookupIndex[static_cast<std::size_t>(row)];
    std::string value = i >= 0 && i < FLookup->ValueList()->Count() ? FLookup->ValueList()->Strings(i)
                                                                     : list->Items()->Strings(row);
    if (OnLookupSelect) OnLookupSelect(this, value);
    if (OnLookupIndexSelect) OnLookupIndexSelect(this, i, value);
    if (FLookup->Multi) {
        value += FLookup->Separator;
        const std::string t = Text();
        const std::size_t sep = t.rfind(FLookup->Separator);
        const std::string head = sep == std::string::npos ? std::string() : t.substr(0, sep + 1);
        SetText(head + value);
        const int end = PrefixLen() + static_cast<int>(rtl::UTF8ToUTF16(head + value).size());
        Perform(EM_SETSEL, static_cast<WPARAM>(end), end);
    } else {
        SetText(value);
        SelectAll();
    }
}

void TExEdit::MoveLookupIndex(int delta, bool absolute)
{
    if (!FLookupList) return;
    TListBox* list = FLookupList->ListControl;
    const int n = list->Count();
    if (n == 0) return;
    int i = list->ItemIndex();
    if (absolute) {
        i = delta < 0 ? n - 1 : 0;
    } else if (delta > 1) {
        i = i + delta >= n ? n - 1 : i + delta;
    } else if (delta < -1) {
        i = i <= -delta ? 0 : i + delta;
    } else {
        i = std::clamp(i + delta, 0, n - 1);
    }
    list->SetItemIndex(i);
}


} // namespace controls
