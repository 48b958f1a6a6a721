// The flat zoom box of the preview window: a drop-down combo that paints
// its own one-pixel frame and narrow button (normal, hot, dropped,
// disabled), with a drop-down list of adjustable width and a read-only
// mode.
//
// The rule a caller must know: the list is ListWidth wide (the control's
// width when 0) and ItemHeight x min(DropDownCount, items) + 2 high, one
// row for an empty list.
//
// Example:
//   auto* zoom = new qlr::TqlrComboBox(form);
//   zoom->SetParent(toolBar);
//   zoom->Items()->Add("100%");
//   zoom->SetListWidth(140);
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/PopupWindow.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Lists.h"

namespace qlr {

class TqlrCustomComboBox : public gui::TCustomControl {
public:
    static constexpr int ButtonWidth = 11;

    explicit TqlrCustomComboBox(rtl::TComponent* owner);
    ~TqlrCustomComboBox() override;

    rtl::TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    std::string Text() const { return FEdit->Text(); }
    void SetText(const std::string& text);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int n) { FDropDownCount = n; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int h) { FItemHeight = h; }
    int ListWidth() const { return FListWidth; }
    void SetListWidth(int w) { FListWidth = w; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int EditOffset() const { return FEditOffset; }

    // The drop-down list's size by the rule above.
    gui::TSize ListSize() const;
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    bool MouseInControl() const { return FMouseInControl; }
    gui::TEdit* Edit() const { return FEdit; }

    void SetBounds(int left, int top, int width, int height) override;
    void SetEnabled(bool enabled) override;
    void Dispatch(gui::TMessage& message) override;

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnDropDown;
    // Fills the item area left of the edit field (used when EditOffset > 0).
    std::function<void(gui::TCanvas* canvas, gui::TRect rect)> OnDrawItemArea;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    bool Hot() const;
    void PlaceEdit();
    void DrawButton(gui::TCanvas* c, bool hot);
    void ListClicked();

    std::unique_ptr<rtl::TStringList> FItems;
    gui::TEdit* FEdit = nullptr;
    gui::TPopupWindow* FPopup = nullptr;
    gui::TListBox* FList = nullptr;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    int FItemHeight = 16;
    int FListWidth = 0;
    bool FReadOnly = false;
    int FEditOffset = 0;
    bool FMouseInControl = false;
};

class TqlrComboBox : public TqlrCustomComboBox {
public:
    using TqlrCustomComboBox::TqlrCustomComboBox;
};

} // namespace qlr
