// The panel group: a caption panel that stacks the caption panels placed in
// it in columns or side by side, with a scroll bar when they do not fit.
#include <algorithm>

#include "controls/ExPanel.h"
#include "platform/rtl/Exceptions.h"

namespace controls {

using namespace gui;

TExPanelGroup::TExPanelGroup(rtl::TComponent* owner)
    : TExPanel(owner), FDefaultPanel(std::make_unique<TExPanelSettings>())
{
    ControlStyleRef().Include(TControlStyleItem::csAcceptsControls);
    ControlStyleRef().Exclude(TControlStyleItem::csSetCaption);
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(TScrollBarKind::sbVertical);
    FScrollBar->SetParent(this);
    FScrollBar->SetAlign(TAlign::alRight);
    FScrollBar->SetPosition(0);
    FScrollBar->SetVisible(false);
    FScrollBar->SetLargeChange(20);
    FScrollBar->SetSmallChange(2);
    FScrollBar->SetTabStop(false);
    FScrollBar->OnScroll = [this](rtl::TObject*, TScrollCode code, int& pos) {
        if (code != TScrollCode::scEndScroll) return;
        const int last = FScrollBar->Max() - FScrollBar->PageSize();
        if (pos > last) {
            pos = last;
            FScrollBar->SetPosition(last);
        }
        ArrangePanels();
    };
}

TExPanelGroup::~TExPanelGroup()
{
    // Each panel leaves the list through its removal notice as it goes.
    const std::vector<TCustomExPanel*> panels = FPanels;
    ++FUpdateCount;
    for (TCustomExPanel* p : panels)
        if (std::find(FPanels.begin(), FPanels.end(), p) != FPanels.end()) delete p;
    FPanels.clear();
}

void TExPanelGroup::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TExPanel::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    auto it = std::find(FPanels.begin(), FPanels.end(), component);
    if (it != FPanels.end()) FPanels.erase(it);
}

void TExPanelGroup::Track(TCustomExPanel* p)
{
    if (p->Owner() != this) p->FreeNotification(this);
}

// -- settings

void TExPanelGroup::SetHorzPadding(int v)
{
    if (v == FHorzPadding) return;
    FHorzPadding = v;
    ArrangePanels();
}

void TExPanelGroup::SetVertPadding(int v)
{
    if (v == FVertPadding) return;
    FVertPadding = v;
    ArrangePanels();
}

void TExPanelGroup::SetGroupStyle(TGroupStyle v)
{
    if (v == FGroupStyle) return;
    FGroupStyle = v;
    FitScrollBar();
    ArrangePanels();
}

void TExPanelGroup::SetColumns(int v)
{
    if (v <= 0) return;
    FColumns = v;
    FitScrollBar();
    ArrangePanels();
    FitScrollBar();
}

// -- list operations

void TExPanelGroup::ChildPanelChanged(TCustomExPanel*)
{
    FitScrollBar();
    ArrangePanels();
}

void TExPanelGroup::UpdateGroup()
{
    ArrangePanels();
    FitScrollBar();
    TControl::SetHeight(Height() + 1);
    TControl::SetHeight(Height() - 1);
}

void TExPanelGroup::OpenAllPanels()
{
    BeginUpdate();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) p->SetCollaps(false);
    EndUpdate();
}

void TExPanelGroup::CloseAllPanels()
{
    BeginUpdate();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) p->SetCollaps(true);
    EndUpdate();
    Invalidate();
}

void TExPanelGroup::BeginUpdate()
{
    Perform(WM_SETREDRAW, 0, 0);
    ++FUpdateCount;
}

void TExPanelGroup::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount > 0) return;
    Perform(WM_SETREDRAW, 1, 0);
    Invalidate();
    FitScrollBar();
    ArrangePanels();
    FitScrollBar();
}

void TExPanelGroup::InitPanels()
{
    FPanels.clear();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) {
            Track(p);
            FPanels.push_back(p);
        }
}

TCustomExPanel* TExPanelGroup::NewPanel()
{
    auto* p = new TExPanel(this);
    // A new panel starts after the others, where users look for it.
    if (FGroupStyle == TGroupStyle::gsVertical) p->SetTop(NeededExtent() + Height());
    else p->SetLeft(NeededExtent() + Width());
    p->SetParent(this);
    p->AssignSettings(FDefaultPanel.get());
    const TPanelCaption* dc = FDefaultPanel->Caption();
    p->Caption()->SetVisible(dc->Visible());
    p->Caption()->SetMinMaxButton(dc->MinMaxButton());
    p->Caption()->SetCloseButton(dc->CloseButton());
    return p;
}

void TExPanelGroup::Renumber()
{
    for (std::size_t i = 0; i < FPanels.size(); ++i) FPanels[i]->SetOrderIndex(static_cast<int>(i));
}

TCustomExPanel* TExPanelGroup::AddPanel()
{
    TCustomExPanel* p = NewPanel();
    p->SetOrderIndex(PanelCount());
    FPanels.push_back(p);
    FitScrollBar();
    ArrangePanels();
    FitScrollBar();
    return p;
}

TCustomExPanel* TExPanelGroup::AppendPanel()
{
    TCustomExPanel* p = AddPanel();
    if (PanelCount() > 1) MovePanel(PanelCount() - 1, 0);
    return p;
}

TCustomExPanel* TExPanelGroup::InsertPanel(int index)
{
    if (index < 0 || index > PanelCount())
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    TCustomExPanel* p = NewPanel();
    FPanels.insert(FPanels.begin() + index, p);
    Renumber();
    FitScrollBar();
    ArrangePanels();
    FitScrollBar();
    return p;
}

void TExPanelGroup::RemovePanel(int index)
{
    if (index < 0 || index >= PanelCount()) return;
    TCustomExPanel* p = FPanels[static_cast<std::size_t>(index)];
    delete p;   // its removal notice takes it off the list
    auto it = std::find(FPanels.begin(), FPanels.end(), p);
    if (it != FPanels.end()) FPanels.erase(it);
    Renumber();
    ArrangePanels();
}

void TExPanelGroup::MovePanel(int fromIndex, int toIndex)
{
    const int n = PanelCount();
    if (fromIndex < 0 || fromIndex >= n)
        throw rtl::EListError("List index out of bounds (" + std::to_string(fromIndex) + ")");
    if (toIndex < 0 || toIndex >= n)
        throw rtl::EListError("List index out of bounds (" + std::to_string(toIndex) + ")");
    TCustomExPanel* p = FPanels[static_cast<std::size_t>(fromIndex)];
    FPanels.erase(FPanels.begin() + fromIndex);
    FPanels.insert(FPanels.begin() + toIndex, p);
    for (int i = 0; i < n; ++i) FPanels[static_cast<std::size_t>(i)]->SetOrderIndex(n - i);
    FIndexOrder = true;
    ArrangePanels();
    FIndexOrder = false;
}

void TExPanelGroup::Clear()
{
    std::vector<TCustomExPanel*> children;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) children.push_back(p);
    ++FUpdateCount;
    for (TCustomExPanel* p : children) delete p;
    --FUpdateCount;
    FPanels.clear();
    FitScrollBar();
}

void TExPanelGroup::SavePanelPositions()
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) {
            TPanelPosition kept(nullptr);
            kept.Assign(p->Position());
            p->Position()->Assign(Position());
            p->Position()->SetSection(p->Name());
            p->SavePosition();
            p->Position()->Assign(&kept);
        }
}

void TExPanelGroup::LoadPanelPositions()
{
    std::vector<TCustomExPanel*> children;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) children.push_back(p);
    for (TCustomExPanel* p : children) {
        TPanelPosition kept(nullptr);
        kept.Assign(p->Position());
        p->Position()->Assign(Position());
        p->Position()->SetSection(p->Name());
        p->LoadPosition();
        p->Position()->Assign(&kept);
    }
}

// -- arrangement

std::vector<TCustomExPanel*> TExPanelGroup::SortedChildPanels(bool byLeft) const
{
    std::vector<TCustomExPanel*> list;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) list.push_back(p);
    auto key = [&](const TCustomExPanel* p) {
        if (FIndexOrder) return p->OrderIndex();
        return byLeft ? p->Left() : p->Top();
    };
    // Equal keys keep the child order.
    std::stable_sort(list.begin(), list.end(), [&](auto* a, auto* b) { return key(a) < key(b); });
    return list;
}

int TExPanelGroup::NeededExtent() const
{
    if (FGroupStyle == TGroupStyle::gsHorizontal) {
        int w = FHorzPadding;
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i)))
                if (p->Visible()) w += p->Width() + FHorzPadding;
        return w;
    }
    // The rows as the arrangement lays them out: each row ends with the
    // panel of its last column, whose height moves the next row down.
    // (Counting other child windows, such as the scroll bar, among the
    // positions would pick the wrong panel of each row.)
    int h = FVertPadding;
    const std::vector<TCustomExPanel*> list = SortedChildPanels(false);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->Visible() && (static_cast<int>(i) + 1) % FColumns == 0) h += list[i]->Height() + FVertPadding;
    return h;
}

void TExPanelGroup::ArrangePanels()
{
    if (IsLoading() || FArranging || FUpdateCount > 0) return;
    FArranging = true;
    if (FGroupStyle == TGroupStyle::gsHorizontal) ArrangeHorizontal();
    else ArrangeVertical();
    FArranging = false;
}

void TExPanelGroup::ArrangeVertical()
{
    if (FUpdateCount > 0) return;
    ++FUpdateCount;
    const std::vector<TCustomExPanel*> list = SortedChildPanels(false);
    const int Gw = Width();
    const bool bar = FScrollBar->Visible();
    const int SW = bar ? FScrollBar->Width() : 0;
    int y = FVertPadding - (bar ? FScrollBar->Position() : 0);
    if (Caption()->Visible()) y += Caption()->Height();
    if (FScrollSmooth)
        for (TCustomExPanel* p : list)
            if (p->Visible()) p->BeginUpdate();
    for (std::size_t k = 0; k < list.size(); ++k) {
        TCustomExPanel* p = list[k];
        const int i = static_cast<int>(k);
        const int left = ((Gw - SW - FHorzPadding) / FColumns) * (i % FColumns) + FHorzPadding;
        const int width = (Gw - 2 * FHorzPadding - SW) / FColumns;
        p->SetBounds(left, y, width, p->Height());
        if (p->Visible() && (i + 1) % FColumns == 0) y += p->Height() + FVertPadding;
    }
    for (TCustomExPanel* p : list) {
        if (FScrollSmooth && p->Visible()) p->EndUpdate();
        p->Invalidate();
        for (int c = 0; c < p->ControlCount(); ++c) {
            TControl* child = p->Controls(c);
            auto* w = dynamic_cast<TWinControl*>(child);
            if (w && w->Visible() && w->ControlCount() == 0) {
                w->Perform(WM_SETREDRAW, 0, 0);
                w->Perform(WM_SETREDRAW, 1, 0);
            }
            // Aligned children follow the new size.
            child->SetWidth(child->Width() + 1);
            child->SetWidth(child->Width() - 1);
        }
    }
    --FUpdateCount;
    Invalidate();
}

void TExPanelGroup::ArrangeHorizontal()
{
    const std::vector<TCustomExPanel*> list = SortedChildPanels(true);
    const bool bar = FScrollBar->Visible();
    int x = FHorzPadding - (bar ? FScrollBar->Position() : 0);
    const int h = Height() - 2 * FVertPadding - (bar ? FScrollBar->Height() : 0);
    for (TCustomExPanel* p : list) {
        p->SetBounds(x, FVertPadding, p->Width(), h);
        if (p->Visible()) x += p->Width() + FHorzPadding;
    }
}

void TExPanelGroup::FitScrollBar()
{
    if (FUpdateCount >= 1 || !FScrollBar) return;
    const bool horizontal = FGroupStyle == TGroupStyle::gsHorizontal;
    if (horizontal) {
        if (FScrollBar->Kind() == TScrollBarKind::sbVertical) FScrollBar->SetKind(TScrollBarKind::sbHorizontal);
        if (FScrollBar->Align() == TAlign::alRight) FScrollBar->SetAlign(TAlign::alBottom);
        FScrollBar->SetHeight(16);
    } else {
        if (FScrollBar->Kind() == TScrollBarKind::sbHorizontal) FScrollBar->SetKind(TScrollBarKind::sbVertical);
        if (FScrollBar->Align() != TAlign::alRight) FScrollBar->SetAlign(TAlign::alRight);
        FScrollBar->SetWidth(16);
    }
    const int have = horizontal ? Width() : Height();
    const int need = NeededExtent();
    const bool show = have < need && need > 0;
    if (show) {
        if (FScrollBar->Position() > need) FScrollBar->SetPosition(need);
        FScrollBar->SetParams(FScrollBar->Position(), 0, need);
        FScrollBar->SetPageSize(have);
        FScrollBar->SetLargeChange(have / 3);
    }
    FScrollBar->SetVisible(show);
    FScrollBar->Invalidate();
}

// -- handlers

void TExPanelGroup::SetBounds(int left, int top, int width, int height)
{
    TExPanel::SetBounds(left, top, width, height);
    if (Width() != FLastWidth || Height() != FLastHeight) ArrangePanels();
    FLastWidth = Width();
    FLastHeight = Height();
}

void TExPanelGroup::AlignControls(TControl* control, TRect& rect)
{
    TExPanel::AlignControls(control, rect);
    FitScrollBar();
}

void TExPanelGroup::CollapsChanged()
{
    ArrangePanels();
    FitScrollBar();
}

void TExPanelGroup::Loaded()
{
    TExPanel::Loaded();
    TControl::SetWidth(Width() + 1);
    TControl::SetWidth(Width() - 1);
    FitScrollBar();
    ArrangePanels();
    InitPanels();
}

void TExPanelGroup::Dispatch(TMessage& m)
{
    TExPanel::Dispatch(m);
    if (m.Msg == WM_SIZE) FitScrollBar();
}

void TExPanelGroup::WheelBy(int delta)
{
    FScrollBar->SetPosition(std::max(0, FScrollBar->Position() + delta));
    ArrangePanels();
}

bool TExPanelGroup::DoMouseWheelDown(TShiftState, TPoint)
{
    WheelBy(2 * FScrollBar->SmallChange());
    return true;
}

bool TExPanelGroup::DoMouseWheelUp(TShiftState, TPoint)
{
    WheelBy(-2 * FScrollBar->SmallChange());
    return true;
}

} // namespace controls
