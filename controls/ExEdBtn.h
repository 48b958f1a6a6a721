// TExEditBtn: the typed edit (TExEdit) with a small button at its right
// edge, a push button or a combo-style drop-down button with a glyph and/or
// a caption, drawn in the active visual style when there is one.  A click
// on the button or F4 (without Ctrl or Alt) fires OnClickBtn; the text
// stays clear of the button through the edit's right indent.
//
// The rule a caller must know: the button lives in a small child window
// (TEditButton) that the edit places itself; set ButtonWidth, never the
// container's bounds.
//
//     auto* e = new controls::TExEditBtn(form);
//     e->SetParent(form);
//     e->SetBounds(10, 10, 200, 21);
//     e->SetButtonCaption("...");
//     e->OnClickBtn = [](rtl::TObject*) { /* choose */ };
#pragma once

#include "controls/ExEdit.h"
#include "platform/gui/Buttons.h"

namespace controls {

enum class TButtonStyle { bsButton, bsDropDown };

class TExEditBtn;

// The button face of the edit.
class TExSpeedButton : public gui::TSpeedButton {
public:
    explicit TExSpeedButton(rtl::TComponent* owner);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    void SetUp() { FUp = true; }
    bool Hot() const { return FHot; }
    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;

private:
    TExEditBtn* Edit() const;
    void PaintPush(bool unusable, bool themed);
    void PaintDropDown(bool unusable, bool themed);
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP = false;
};

// The child window that holds the face and forwards its click.
class TEditButton : public gui::TWinControl {
public:
    explicit TEditButton(rtl::TComponent* owner);
    TExSpeedButton* Button() const { return FButton; }
    gui::TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const gui::TBitmap* b) { FButton->SetGlyph(b); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int n) { FButton->SetNumGlyphs(n); }
    std::string ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const std::string& s) { FButton->SetCaption(s); }
    int BWidth() const { return FBWidth; }
    void SetBWidth(int w) { FBWidth = w; }
    gui::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(gui::TWinControl* c) { FFocusControl = c; }
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void Dispatch(gui::TMessage& m) override;
    rtl::TNotifyEvent OnClick;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    void AdjustButtonSize(int& width, int height);
    void ButtonMouseUp(rtl::TObject* sender, gui::TMouseButton button, gui::TShiftState shift, int x, int y);
    TExSpeedButton* FButton = nullptr;
    gui::TWinControl* FFocusControl = nullptr;
    int FBWidth = 16;
};

class TExEditBtn : public TExEdit {
public:
    explicit TExEditBtn(rtl::TComponent* owner);
    ~TExEditBtn() override;

    TEditButton* ButtonContainer() const { return FButton; }
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle s);
    int ButtonWidth() const { return FButton ? FButton->BWidth() : 17; }
    void SetButtonWidth(int w);
    std::string ButtonCaption() const { return FButton ? FButton->ButtonCaption() : std::string(); }
    void SetButtonCaption(const std::string& s);
    const std::string& ButtonHint() const { return FButtonHint; }
    void SetButtonHint(const std::string& s);
    gui::TBitmap* Glyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetGlyph(const gui::TBitmap* b);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    void SetFlat(bool v) override;
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool ReadOnly() const { return TExEdit::ReadOnly(); }
    void SetReadOnly(bool v);
    int IndentR() const { return FIndentR; }
    // Minimum height for the edit's font; PlaceButton grows a lower edit to it.
    int MinimumHeight();
    // Places the button container at the right edge.
    void PlaceButton();
    void SetEditRect() {}
    void ClickButton() { FireButtonClick(this); }
    uint32_t GetVersionNr() const override { return 0x01030105; }

    rtl::TNotifyEvent OnClickBtn;

    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;

protected:
    virtual void FireButtonClick(rtl::TObject* sender);
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void CreateWnd() override;

private:
    friend class TExSpeedButton;
    void FocusLook();
    bool Unusable() const { return !Enabled() || ReadOnly(); }
    TEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    bool FEtched = false;
    bool FHot = false;
    std::string FButtonHint;
    TButtonStyle FButtonStyle = TButtonStyle::bsButton;
};

} // namespace controls
