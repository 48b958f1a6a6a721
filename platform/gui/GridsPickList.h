// TInplaceEditList: the grid's in-place editor with a drop-down pick list.
// While the pick list has items a small arrow button sits at the editor's
// right edge; the button, Alt+Down or F4 drop the list below the cell.
// Up/Down move the list's selection, Enter or a click on an item accept it,
// Escape or a press outside the list close it without a change.
//
// The one rule a caller must know: DropDown shows the items of PickList()
// as they are at that moment; a subclass fills PickList (and sets
// DropDownRows) in its own DropDown before calling this one, and changes
// what an accepted item does by overriding PickItem.
//
//     auto* ed = new gui::TInplaceEditList(grid);
//     ed->PickList()->SetText("one\ntwo\n");
//     ed->DropDown();            // ListVisible() is now true
//     ed->CloseUp(true);         // the selected item becomes the text
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Grids.h"
#include "platform/rtl/Lists.h"

namespace gui {

class TDropDownForm;

class TInplaceEditList : public TInplaceEdit {
public:
    explicit TInplaceEditList(rtl::TComponent* owner);
    ~TInplaceEditList() override;

    rtl::TStringList* PickList() const { return FPickList.get(); }
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value) { FDropDownRows = value < 1 ? 1 : value; }
    // The list shown while it is down (created on first use): the items,
    // the selected one and the first one in view.
    class TPickListBox;
    TPickListBox* ActiveList();
    // The window holding the list.
    TCustomForm* DropDownWindow() const;
    bool ListVisible() const { return FListVisible; }
    // Width of the arrow button; 0 while the pick list is empty.
    int ButtonWidth() const;

    virtual void DropDown();
    // Hides the list; with accept, a selected item goes to PickItem.
    virtual void CloseUp(bool accept);

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetVisible(bool visible) override;
    std::string ClassName() const override { return "TInplaceEditList"; }

protected:
    void Paint() override;
    // An item accepted from the list: by default it becomes the text.
    virtual void PickItem(const std::string& item);

private:
    class TPickWindow;
    TPickWindow* FWindow = nullptr;
    TPickListBox* FList = nullptr;
    std::unique_ptr<rtl::TStringList> FPickList;
    int FDropDownRows = 7;
    bool FListVisible = false;
    bool FClosedByPress = false;
};

class TInplaceEditList::TPickListBox : public TCustomControl {
public:
    explicit TPickListBox(TInplaceEditList* editor);
    rtl::TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    // Selects an item (-1: none) and scrolls it into view.
    void SetItemIndex(int index);
    int TopIndex() const { return FTopIndex; }
    int ItemHeight();
    int VisibleRows();
    // The item at a client point, or -1.
    int ItemAtPos(TPoint p);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

protected:
    void Paint() override;

private:
    TInplaceEditList* FEditor;
    std::unique_ptr<rtl::TStringList> FItems;
    int FItemIndex = -1;
    int FTopIndex = 0;
};

} // namespace gui
