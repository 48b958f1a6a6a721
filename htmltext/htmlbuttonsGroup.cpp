// The markup check group: a framed group of check boxes in columns.

#include "htmltext/htmlbuttons.h"

#include <algorithm>

#include "platform/gui/ImgList.h"
#include "platform/rtl/Exceptions.h"

namespace htmltext {

using gui::TRect;

TGroupCheck::TGroupCheck(TCustomHTMLCheckGroup* group) : THTMLCheckBox(group), FGroup(group)
{
    group->FButtons.push_back(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    OnClick = [group](rtl::TObject* sender) { group->CheckClicked(sender); };
    OnAnchorClick = [group](rtl::TObject* sender, const std::string& a) {
        if (group->OnAnchorClick) group->OnAnchorClick(sender, a);
    };
    OnAnchorEnter = [group](rtl::TObject* sender, const std::string& a) {
        if (group->OnAnchorEnter) group->OnAnchorEnter(sender, a);
    };
    OnAnchorExit = [group](rtl::TObject* sender, const std::string& a) {
        if (group->OnAnchorExit) group->OnAnchorExit(sender, a);
    };
    SetParent(group);
}

TGroupCheck::~TGroupCheck()
{
    auto& list = FGroup->FButtons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

TCustomHTMLCheckGroup::TCustomHTMLCheckGroup(rtl::TComponent* owner)
    : gui::TCustomControl(owner), FItems(std::make_unique<rtl::TStringList>())
{
    gui::TControlStyle style;
    style.Include(gui::TControlStyleItem::csSetCaption);
    style.Include(gui::TControlStyleItem::csDoubleClicks);
    SetControlStyle(style);
    FItems->OnChange = [this](rtl::TObject*) { ItemsChanged(); };
    SetBounds(Left(), Top(), 185, 105);
}

TCustomHTMLCheckGroup::~TCustomHTMLCheckGroup()
{
    FDestroying = true;
    FItems->OnChange = nullptr;
    SetCheckCount(0);
}

void TCustomHTMLCheckGroup::SetItems(const rtl::TStringList* value) { FItems->Assign(value); }

void TCustomHTMLCheckGroup::SetColumns(int value)
{
    value = std::clamp(value, 1, 16);
    if (value == FColumns) return;
    FColumns = value;
    LayoutChecks();
    Invalidate();
}

void TCustomHTMLCheckGroup::SetImages(gui::TImageList* v)
{
    FImages = v;
    if (v) v->FreeNotification(this);
    LayoutChecks();
}

void TCustomHTMLCheckGroup::SetPictureContainer(TPictureContainer* v)
{
    FContainer = v;
    if (v) v->FreeNotification(this);
    LayoutChecks();
}

bool TCustomHTMLCheckGroup::GetItemChecked(int index) const
{
    if (index < 0 || index >= FItems->Count() || index >= ButtonCount())
        throw rtl::Exception("Invalid checkbox index");
    return FButtons[static_cast<std::size_t>(index)]->Checked();
}

void TCustomHTMLCheckGroup::SetItemChecked(int index, bool value)
{
    if (index < 0 || index >= FItems->Count() || index >= ButtonCount()) return;
    FButtons[static_cast<std::size_t>(index)]->SetChecked(value);
}

void TCustomHTMLCheckGroup::ItemsChanged()
{
    if (FReading || FDestroying) return;
    RefreshChecks();
}

void TCustomHTMLCheckGroup::Loaded()
{
    gui::TCustomControl::Loaded();
    FReading = false;
    RefreshChecks();
}

void TCustomHTMLCheckGroup::SetCheckCount(int count)
{
    while (ButtonCount() < count) new TGroupCheck(this);
    while (ButtonCount() > count) delete FButtons.back();
}

void TCustomHTMLCheckGroup::RefreshChecks()
{
    SetCheckCount(FItems->Count());
    for (int i = 0; i < ButtonCount(); ++i) FButtons[static_cast<std::size_t>(i)]->SetCaption(FItems->Strings(i));
    LayoutChecks();
    Invalidate();
}

void TCustomHTMLCheckGroup::LayoutChecks()
{
    if (FButtons.empty() || FReading) return;
    gui::TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Font());
    const int t = probe.Canvas()->GetTextMetrics().tmHeight;
    const int count = ButtonCount();
    const int rows = (count + FColumns - 1) / FColumns;
    const int colWidth = (Width() - 10) / FColumns;
    const int freeHeight = Height() - t - 5;
    const int rowHeight = freeHeight / rows;
    const int firstTop = (freeHeight % rows) / 2 + t + 1;
    for (int i = 0; i < count; ++i) {
        TGroupCheck* b = FButtons[static_cast<std::size_t>(i)];
        b->SetAlignment(FAlignment);
        b->SetButtonType(FButtonType);
        b->SetButtonVertAlign(FBtnVAlign);
        b->SetCheckColor(FCheckColor);
        b->SetImages(FImages);
        b->SetPictureContainer(FContainer);
        b->SetEllipsis(FEllipsis);
        b->SetShadowOffset(FShadowOffset);
        b->SetShadowColor(FShadowColor);
        bool enabled = Enabled();
        if (OnIsEnabled) OnIsEnabled(this, i, enabled);
        b->SetEnabled(enabled);
        const int col = i / rows, row = i % rows;
        b->SetBounds(col * colWidth + 8, row * rowHeight + firstTop, colWidth, rowHeight);
        b->SetVisible(true);
    }
}

void TCustomHTMLCheckGroup::CheckClicked(rtl::TObject*)
{
    if (FUpdating) return;
    if (OnClick) OnClick(this);
}

void TCustomHTMLCheckGroup::SetEnabled(bool enabled)
{
    gui::TCustomControl::SetEnabled(enabled);
    for (TGroupCheck* b : FButtons) b->SetEnabled(enabled);
}

void TCustomHTMLCheckGroup::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    gui::TCustomControl::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FContainer) FContainer = nullptr;
}

void TCustomHTMLCheckGroup::Dispatch(gui::TMessage& m)
{
    gui::TCustomControl::Dispatch(m);
    if (m.Msg == gui::WM_SIZE || m.Msg == gui::CM_FONTCHANGED) LayoutChecks();
}

void TCustomHTMLCheckGroup::Paint()
{
    // The group frame: an etched rectangle with the caption in its top edge.
    gui::TCanvas& c = *Canvas();
    c.SetFont(Font());
    c.Brush()->SetColor(Color());
    c.FillRect(ClientRect());
    const int t = c.TextHeight("0");
    TRect frame(0, t / 2, Width(), Height());
    c.DrawEdge(frame, gui::EDGE_ETCHED, gui::BF_RECT);
    const std::string cap = Caption();
    if (!cap.empty()) {
        TRect r(8, 0, 8 + c.TextWidth(cap), t);
        c.Brush()->SetColor(Color());
        c.FillRect(r);
        c.DrawText(cap, r, gui::DT_SINGLELINE | gui::DT_NOPREFIX);
    }
}

} // namespace htmltext
