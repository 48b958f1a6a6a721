// TExCustomCombo / TExComboBox: a drop-down combo box with a flat or etched
// look painted over the native control, an attached caption label kept
// beside it (ten positions), an optional focus border and focus colour, a
// hot-tracking drop-down button drawn in the active visual style when there
// is one, a settable list width, and OnDropUp when the list closes.
//
// The rule a caller must know: the label follows the combo (position,
// Visible, Enabled unless LabelAlwaysEnabled); hide and show the combo
// through SetVisible so the label goes with it.
//
//     auto* cb = new controls::TExComboBox(dialog);
//     cb->SetParent(dialog);
//     cb->SetBounds(100, 50, 150, 21);
//     cb->SetFlat(true);
//     cb->SetLabelPosition(controls::TLabelPosition::lpTopLeft);
//     cb->SetLabelCaption("Time zone");
#pragma once

#include <memory>
#include <string>

#include "platform/gui/StdCtrls.h"

namespace controls {

using gui::TColor;

enum class TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft,
    lpLeftCenterLeft, lpLeftBottomLeft, lpTopCenter, lpBottomCenter,
};

class TExCustomCombo : public gui::TCustomComboBox {
public:
    explicit TExCustomCombo(rtl::TComponent* owner);
    ~TExCustomCombo() override;

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    // Only 14..32 are taken.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor c);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor c) { FFocusBorderColor = c; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor c) { FFocusColor = c; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int v);

    // -- the attached label (created when a caption is first set)
    std::string LabelCaption() const;
    void SetLabelCaption(const std::string& s);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition p);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    gui::TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const gui::TFont* f) { FLabelFont->Assign(f); }
    gui::TLabel* Label() const { return FLabel; }

    // Base colour; while loading also the colour a flat combo returns to.
    void SetColor(TColor c);
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(gui::TWinControl* parent) override;

    // Selects the item with that text; nothing when there is none.
    void SelectItem(const std::string& s);
    void Init();

    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr uint32_t GetVersionNr() { return 0x01020503; }

    rtl::TNotifyEvent OnDropUp;

    void Dispatch(gui::TMessage& m) override;
    void Loaded() override;

protected:
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    bool ThemesActive() const;
    bool OwnPaint() const;
    bool HasFocus() const;
    void PlaceLabel();
    void RefreshFrame();
    void PaintFrame(gui::TCanvas* windowCanvas);
    void PaintDropDownButton(gui::TCanvas* canvas);
    void DrawOuterFrame(gui::TCanvas* c);
    void DrawButtonEdge(gui::TCanvas* c);
    bool Loading() const;
    bool Designing() const;

    bool FFlat = false;
    bool FEtched = false;
    int FButtonWidth = 0;
    TColor FFlatLineColor = gui::clBlack;
    bool FFlatParentColor = true;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = gui::clNone;
    TColor FFocusColor = gui::clNone;
    bool FDisabledBorder = true;
    bool FAutoFocus = false;
    int FDropWidth = 0;
    TLabelPosition FLabelPosition = TLabelPosition::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    std::unique_ptr<gui::TFont> FLabelFont;
    gui::TLabel* FLabel = nullptr;

    TColor FOldColor = gui::clWindow;
    bool FOldParentColor = false;
    TColor FLoadedColor = gui::clWindow;
    TColor FNormalColor = gui::clWindow;
    bool FMouseInControl = false;
    bool FButtonHover = false;
    bool FHasFocus = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
};

class TExComboBox : public TExCustomCombo {
public:
    explicit TExComboBox(rtl::TComponent* owner) : TExCustomCombo(owner) {}
};

} // namespace controls
