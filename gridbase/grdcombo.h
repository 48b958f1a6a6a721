// grdcombo: the grid's combo-box cell editor.  TGRDCustomCombo draws a
// flat look over the platform's combo: its own two-pixel border, which
// turns three-dimensional while the mouse is over it or it has the focus
// (with FocusBorder on), and its own drop-down button with a raised or
// etched edge.  TGRDComboBox publishes it.
//
// The rule a caller must know: ButtonWidth takes 14 to 32 pixels and
// ignores anything else; a disabled flat combo shows its parent's colour and
// gets its own back when enabled.
//
//   auto* c = new gridbase::TGRDComboBox(form);
//   c->SetParent(form);
//   c->Items()->Add("North");
//   c->SetFocusBorder(true);
#pragma once

#include <string>

#include "platform/gui/StdCtrls.h"

namespace gridbase {

class TGRDCustomCombo : public gui::TCustomComboBox {
public:
    explicit TGRDCustomCombo(rtl::TComponent* owner);

    bool Flat() const { return FFlat; }
    // Ctl3D follows: off while flat.
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    int DropWidth() const { return FDropWidth; }
    // Stores; a value above 0 also goes to the list.
    void SetDropWidth(int v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool MouseInControl() const { return FMouseInControl; }

    virtual uint32_t GetVersionNr() const { return 0x01020001; }
    std::string Version() const;
    void SetVersion(const std::string&) {}

    void Dispatch(gui::TMessage& m) override;

protected:
    bool NeedDraw3DBorder() const;

private:
    void DrawButton(gui::TCanvas* c);
    void DrawBorders(gui::TCanvas* c);
    void DrawControlBorder(gui::TCanvas* c);
    void DrawButtonBorder(gui::TCanvas* c);

    bool FAutoFocus = false;
    bool FFlat = true;
    bool FEtched = false;
    gui::TColor FOldColor;
    bool FOldParentColor;
    int FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
};

class TGRDComboBox : public TGRDCustomCombo {
public:
    using TGRDCustomCombo::TGRDCustomCombo;
};

} // namespace gridbase
