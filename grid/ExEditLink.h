// TEditLink: the way a control of the application's own edits grid cells.
// A descendant creates, fills, places and reads its control through the
// virtual operations; the grid shows it for cells whose editor type is
// edCustom, either over the cell (esInplace) or on a borderless popup form
// that stays on top (esPopup) and closes when the user clicks elsewhere.
//
// The one rule: the control's key-down event must call EditKeyDown, which
// hands the keys that leave the cell back to the grid; and the control
// must be returned by GetEditControl.
//
//   class TMyLink : public grid::TEditLink {
//       gui::TEdit* Ed = nullptr;
//       void CreateEditor(gui::TWinControl* parent) override {
//           if (!Ed) { Ed = new gui::TEdit(parent); Ed->OnKeyDown = [this](auto* s, uint16_t& k, auto sh) {
//               EditKeyDown(s, k, sh); }; }
//           Ed->SetParent(parent); }
//       gui::TWinControl* GetEditControl() override { return Ed; }
//       std::string GetEditorValue() override { return Ed->Text(); }
//       void SetEditorValue(const std::string& v) override { Ed->SetText(v); }
//   };
//   grid->SetEditLink(&myLink);
#pragma once

#include <string>

#include "platform/gui/Forms.h"

namespace grid {

class TExStringGrid;

enum class TEditStyle { esInplace, esPopup };

class TEditLink : public rtl::TComponent {
public:
    explicit TEditLink(rtl::TComponent* owner);
    ~TEditLink() override;

    // The handler the control's key-down event calls.
    virtual void EditKeyDown(rtl::TObject* sender, uint16_t& key, gui::TShiftState shift);
    virtual gui::TWinControl* GetEditControl() { return nullptr; }
    // parent: the popup form (esPopup) or the grid (esInplace).
    virtual void CreateEditor(gui::TWinControl* parent) {}
    // Called when a popup edit ends.
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool value);
    virtual void SetRect(const gui::TRect& r);
    virtual void SetVisible(bool value);
    virtual void SetProperties() {}
    virtual void SetCellProps(gui::TColor color, gui::TFont* font) {}
    virtual std::string GetEditorValue() { return {}; }
    virtual void SetEditorValue(const std::string& value) {}

    // The control's exit and the popup form's deactivation.
    void EditExit(rtl::TObject* sender);
    void FormExit(rtl::TObject* sender);
    void HideEditor();
    std::string GetCellValue();
    void SetCellValue(const std::string& value);
    gui::TWinControl* GetParent();
    void RestoreWinProc();

    TExStringGrid* Grid() const { return FOwner; }
    void SetGrid(TExStringGrid* g);
    gui::TPoint EditCell() const { return FEditCell; }
    void SetEditCell(gui::TPoint p) { FEditCell = p; }
    gui::TForm* PopupForm() const { return FPopupForm; }
    void SetPopupForm(gui::TForm* f) { FPopupForm = f; }
    bool ForcedExit() const { return FForcedExit; }

    bool WantKeyLeftRight = false;
    bool WantKeyUpDown = false;
    bool WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false;
    bool WantKeyReturn = false;
    bool WantKeyEscape = false;
    TEditStyle EditStyle = TEditStyle::esInplace;
    int PopupWidth = 0;
    int PopupHeight = 0;
    int PopupLeft = -1;
    int PopupTop = -1;
    bool AutoPopupWidth = false;
    int Tag = 0;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    TExStringGrid* FOwner = nullptr;
    gui::TForm* FPopupForm = nullptr;
    bool FForcedExit = false;
    gui::TPoint FEditCell{-1, -1};
};

} // namespace grid
