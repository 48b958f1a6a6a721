// A tree of text nodes drawn by the program (TTreeView) and a bar that
// resizes its left neighbour when dragged (TSplitter).
//
// TTreeView: each node has a text, an image index and a state index (free
// numbers for the caller), children and an expanded flag; rows of the
// expanded nodes are drawn 16 pixels deeper per level, with a +/- box
// before a node that has children.  A click on the box expands or
// collapses; a click on the text selects the node and fires OnClick.
// The selection stays drawn when the tree loses the focus.
//
// The rule a caller must know: nodes belong to the tree; pointers to them
// live until Clear (or the tree's end).  Between BeginUpdate and EndUpdate
// nothing is repainted.
//
// Example:
//   auto* tree = new gui::TTreeView(form);
//   tree->SetParent(form);
//   gui::TTreeNode* n = tree->AddChild(nullptr, "Chapter 1");
//   n->ImageIndex = 3;
//   tree->AddChild(n, "Section 1.1");
//   tree->FullExpand();
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {

class TTreeNode {
public:
    std::string Text;
    int ImageIndex = -1;
    int StateIndex = -1;
    bool Expanded = false;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FChildren.size()); }
    TTreeNode* Item(int index) const { return FChildren.at(static_cast<std::size_t>(index)).get(); }
    int Level() const { return FParent ? FParent->Level() + 1 : 0; }

private:
    friend class TTreeView;
    TTreeNode* FParent = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TTreeView : public TCustomControl {
public:
    explicit TTreeView(rtl::TComponent* owner);
    ~TTreeView() override;

    // parent nullptr: a top-level node.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    void Clear();
    // Top-level nodes.
    int Count() const { return FRoot.Count(); }
    TTreeNode* Item(int index) const { return FRoot.Item(index); }
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate();
    void FullExpand();
    void FullCollapse();
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* node);
    // The first node shown at the top; scrolls so that it is.
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* node);
    int RowHeight() const { return FRowHeight; }
    // The node whose row holds the client point, nullptr when none.
    TTreeNode* GetNodeAt(int x, int y) const;
    // The expanded nodes in row order.
    std::vector<TTreeNode*> VisibleNodes() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

private:
    void Changed();
    void SetExpandedAll(TTreeNode* node, bool expanded);

    TTreeNode FRoot;
    TTreeNode* FSelected = nullptr;
    int FTopRow = 0;
    int FUpdating = 0;
    int FRowHeight = 18;
};

// A bar, usually left-aligned, that resizes the control left of it while
// dragged; OnMoved follows each drag.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(rtl::TComponent* owner);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = v; }
    rtl::TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // The visible left-aligned sibling whose right edge touches the bar.
    TControl* Neighbour() const;
    bool FDown = false;
    int FDownX = 0;
    int FMinSize = 30;
};

} // namespace gui
