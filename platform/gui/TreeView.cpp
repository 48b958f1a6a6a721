// The program-drawn tree view and the splitter bar.
#include "platform/gui/TreeView.h"

#include <algorithm>

namespace gui {

namespace {

constexpr int Indent = 16;

void Collect(const TTreeNode& node, std::vector<TTreeNode*>& out)
{
    for (int i = 0; i < node.Count(); ++i) {
        TTreeNode* c = node.Item(i);
        out.push_back(c);
        if (c->Expanded) Collect(*c, out);
    }
}

} // namespace

TTreeView::TTreeView(rtl::TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TTreeView::~TTreeView() = default;

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text)
{
    TTreeNode* p = parent ? parent : &FRoot;
    auto node = std::make_unique<TTreeNode>();
    node->Text = text;
    node->FParent = parent;
    p->FChildren.push_back(std::move(node));
    Changed();
    return p->FChildren.back().get();
}

void TTreeView::Clear()
{
    FRoot.FChildren.clear();
    FSelected = nullptr;
    FTopRow = 0;
    Changed();
}

void TTreeView::EndUpdate()
{
    if (FUpdating > 0) --FUpdating;
    Changed();
}

void TTreeView::Changed()
{
    if (FUpdating == 0) Invalidate();
}

void TTreeView::SetExpandedAll(TTreeNode* node, bool expanded)
{
    for (int i = 0; i < node->Count(); ++i) {
        TTreeNode* c = node->Item(i);
        if (c->Count() > 0) c->Expanded = expanded;
        SetExpandedAll(c, expanded);
    }
}

void TTreeView::FullExpand()
{
    SetExpandedAll(&FRoot, true);
    Changed();
}

void TTreeView::FullCollapse()
{
    SetExpandedAll(&FRoot, false);
    FTopRow = 0;
    // A selection inside a collapsed branch moves to its top-level node.
    while (FSelected && FSelected->Parent()) FSelected = FSelected->Parent();
    Changed();
}

std::vector<TTreeNode*> TTreeView::VisibleNodes() const
{
    std::vector<TTreeNode*> rows;
    Collect(FRoot, rows);
    return rows;
}

void TTreeView::SetSelected(TTreeNode* node)
{
    FSelected = node;
    if (node) {
        // Open the branch and scroll the row into view.
        for (TTreeNode* p = node->Parent(); p; p = p->Parent()) p->Expanded = true;
        const std::vector<TTreeNode*> rows = VisibleNodes();
        const int row = static_cast<int>(std::find(rows.begin(), rows.end(), node) - rows.begin());
        const int shown = std::max(1, ClientHeight() / FRowHeight);
        if (row < FTopRow) FTopRow = row;
        if (row >= FTopRow + shown) FTopRow = row - shown + 1;
    }
    Changed();
}

TTreeNode* TTreeView::TopItem() const
{
    const std::vector<TTreeNode*> rows = VisibleNodes();
    return FTopRow < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(FTopRow)] : nullptr;
}

void TTreeView::SetTopItem(TTreeNode* node)
{
    const std::vector<TTreeNode*> rows = VisibleNodes();
    const auto it = std::find(rows.begin(), rows.end(), node);
    FTopRow = it == rows.end() ? 0 : static_cast<int>(it - rows.begin());
    Changed();
}

TTreeNode* TTreeView::GetNodeAt(int, int y) const
{
    const std::vector<TTreeNode*> rows = VisibleNodes();
    const int row = FTopRow + y / FRowHeight;
    return y >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : nullptr;
}

void TTreeView::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Font()->Assign(Font());
    const std::vector<TTreeNode*> rows = VisibleNodes();
    int y = 0;
    for (std::size_t i = static_cast<std::size_t>(FTopRow); i < rows.size() && y < ClientHeight(); ++i) {
        TTreeNode* n = rows[i];
        const int x = 2 + n->Level() * Indent;
        if (n->Count() > 0) {
            // The +/- box.
            const TRect box(x + 2, y + FRowHeight / 2 - 4, x + 11, y + FRowHeight / 2 + 5);
            c->Pen()->SetColor(clGray);
            c->Brush()->SetColor(clWindow);
            c->Rectangle(box);
            c->Pen()->SetColor(clBlack);
            c->MoveTo(box.Left + 2, box.Top + 4);
            c->LineTo(box.Right - 2, box.Top + 4);
            if (!n->Expanded) {
                c->MoveTo(box.Left + 4, box.Top + 2);
                c->LineTo(box.Left + 4, box.Bottom - 2);
            }
        }
        const int tx = x + Indent;
        const int tw = c->TextWidth(n->Text) + 4;
        const bool sel = n == FSelected;
        c->Brush()->SetColor(sel ? clHighlight : Color());
        if (sel) c->FillRect(TRect(tx, y, tx + tw, y + FRowHeight));
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Font()->SetColor(sel ? clHighlightText : clWindowText);
        c->TextOut(tx + 2, y + (FRowHeight - c->TextHeight("Ag")) / 2, n->Text);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        y += FRowHeight;
    }
}

void TTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    TTreeNode* n = GetNodeAt(x, y);
    if (!n) return;
    const int left = 2 + n->Level() * Indent;
    if (n->Count() > 0 && x >= left && x < left + Indent) {
        n->Expanded = !n->Expanded;
        Changed();
        return;
    }
    if (x < left + Indent) return;
    SetSelected(n);
    if (OnClick) OnClick(this);
}

bool TTreeView::DoMouseWheel(TShiftState, int wheelDelta, TPoint)
{
    const int rows = static_cast<int>(VisibleNodes().size());
    const int shown = std::max(1, ClientHeight() / FRowHeight);
    FTopRow = std::clamp(FTopRow - (wheelDelta > 0 ? 3 : -3), 0, std::max(0, rows - shown));
    Changed();
    return true;
}

// ------------------------------------------------------------------ splitter

TSplitter::TSplitter(rtl::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 4, 100);
    SetAlign(TAlign::alLeft);
    SetCursor(crHSplit);
    // Moves keep coming to the bar while it is dragged.
    FControlStyle.Include(TControlStyleItem::csCaptureMouse);
}

TControl* TSplitter::Neighbour() const
{
    TWinControl* p = Parent();
    if (!p) return nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c != this && c->Visible() && c->Align() == TAlign::alLeft && c->Left() + c->Width() == Left())
            return c;
    }
    return nullptr;
}

void TSplitter::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    FDown = true;
    FDownX = x;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDown) return;
    TControl* n = Neighbour();
    if (!n || x == FDownX) return;
    const int w = std::max(FMinSize, n->Width() + x - FDownX);
    if (w == n->Width()) return;
    n->SetWidth(w);
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    FDown = false;
}

} // namespace gui
