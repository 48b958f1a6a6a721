// GRDEdit: the grid's edit-with-button cell editors.  TGrdEditBtn is a
// single-line edit with a push button at its right edge (the button or F4
// fires OnClickBtn); TGrdUnitEditBtn shows a unit after the value and lets
// the user pick it from a menu under the button.  TGrdEditButton hosts the
// speed button (TExSpeedButton) inside the edit.
//
// The rules a caller must know: OnClickBtn's sender is the button host for
// a click and the edit for F4; with EditorEnabled off typing, cut and paste
// are dropped silently while the button and F4 still work.
//
//   auto* e = new gridbase::TGrdUnitEditBtn(form);
//   e->SetParent(form);
//   e->Units()->Add("mm");
//   e->Units()->Add("cm");
//   e->SetUnitID("mm");
#pragma once

#include <memory>

#include "platform/gui/Buttons.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Lists.h"

namespace gridbase {

// The speed button of the edit: classic, flat or themed push-button face.
class TExSpeedButton : public gui::TSpeedButton {
public:
    explicit TExSpeedButton(rtl::TComponent* owner) : gui::TSpeedButton(owner) {}
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v)
    {
        FIsWinXP = v;
        Invalidate();
    }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v)
    {
        FFlat = v;
        Invalidate();
    }
    bool Hot() const { return FHot; }
    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;

private:
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
};

// The child window of the edit that carries the speed button.
class TGrdEditButton : public gui::TWinControl {
public:
    explicit TGrdEditButton(rtl::TComponent* owner);

    TExSpeedButton* Button() const { return FButton; }
    gui::TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const gui::TBitmap* v) { FButton->SetGlyph(v); }
    std::string ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const std::string& v) { FButton->SetCaption(v); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int v) { FButton->SetNumGlyphs(v); }
    gui::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(gui::TWinControl* v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);

    // Fires when the left button is released after a press on the button.
    rtl::TNotifyEvent OnClick;

    void SetBounds(int left, int top, int width, int height) override;
    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    void LayoutButton();
    void BtnMouseUp(rtl::TObject* sender, gui::TMouseButton button);

    TExSpeedButton* FButton = nullptr;
    gui::TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
};

class TGrdEditBtn : public gui::TCustomEdit {
public:
    explicit TGrdEditBtn(rtl::TComponent* owner);
    ~TGrdEditBtn() override;

    std::string ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const std::string& v) { FButton->SetButtonCaption(v); }
    int ButtonWidth() const { return FButtonWidth; }
    // Sets the host's width; the text area follows at the next size change.
    void SetButtonWidth(int v);
    gui::TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const gui::TBitmap* v) { FButton->SetGlyph(v); }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);

    TGrdEditButton* Button() const { return FButton; }

    rtl::TNotifyEvent OnClickBtn;

    // Fires OnClickBtn.
    virtual void ButtonClick(rtl::TObject* sender);
    int GetMinHeight();
    void SetEditRect();

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void Dispatch(gui::TMessage& m) override;

protected:
    int FUnitSize = 0;

private:
    void Resized();

    TGrdEditButton* FButton = nullptr;
    int FButtonWidth = 0;
    bool FEditorEnabled = true;
    bool FRightAlign = false;
    bool FIsWinXP = false;
};

class TGrdUnitEditBtn : public TGrdEditBtn {
public:
    explicit TGrdUnitEditBtn(rtl::TComponent* owner);
    ~TGrdUnitEditBtn() override;

    rtl::TStringList* Units() const { return FUnits.get(); }
    // Copies the list; nullptr changes nothing.
    void SetUnits(const rtl::TStringList* v);
    const std::string& UnitID() const { return FUnitID; }
    void SetUnitID(const std::string& v);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int v);
    // The unit menu while it is shown, else nullptr.
    gui::TPopupMenu* UnitMenu() const { return FMenu; }

    // Shows the unit menu under the button; OnClickBtn does not fire.
    void ButtonClick(rtl::TObject* sender) override;
    void Dispatch(gui::TMessage& m) override;

private:
    std::string FUnitID;
    std::unique_ptr<rtl::TStringList> FUnits;
    gui::TPopupMenu* FMenu = nullptr;
};

} // namespace gridbase
