// TExToolButton: a windowless flat push or toggle button with colours and
// optional vertical gradients for its normal, hot, pressed and checked
// states, rounded frames, a glyph per state (with a generated shadow and a
// generated disabled glyph), an optional drop-down arrow with a pop-up
// menu, exclusive groups among its siblings, and fourteen colour looks.
//
// The rule a caller must know: OnClick fires only for a left-button release
// inside the button that began on it; a press on the drop-down part (the
// right 12 pixels with DropDownSplit) fires OnDropDown and shows
// DropDownMenu instead of pressing.
//
//     auto* b = new controls::TExToolButton(form);
//     b->SetParent(form);
//     b->SetBounds(8, 8, 88, 19);
//     b->SetCaption("Reset");
//     b->SetBorderColor(gui::clBlack);
//     b->OnClick = [](rtl::TObject*) { ... };
#pragma once

#include <memory>

#include "controls/ComponentStyle.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Menus.h"

namespace controls {

using gui::TColor;

enum class TExToolButtonStyle { tasButton, tasCheck };

// Where glyph and caption go in a client area of the size given.
struct TGlyphLayout {
    gui::TPoint GlyphPos;
    gui::TRect TextBounds;
    int Margin = 0, Spacing = 0;
};
TGlyphLayout CalcGlyphLayout(gui::TSize client, gui::TSize glyph, gui::TSize text, gui::TButtonLayout layout,
                             int margin, int spacing);

class TExToolButton : public gui::TGraphicControl, public IComponentStyle {
public:
    explicit TExToolButton(rtl::TComponent* owner);
    ~TExToolButton() override;

    // -- colours (clNone: none)
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c) { FColorTo = c; Invalidate(); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor c) { FColorHot = c; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor c) { FColorHotTo = c; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor c) { FColorDown = c; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor c) { FColorDownTo = c; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor c) { FColorChecked = c; Invalidate(); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor c) { FColorCheckedTo = c; Invalidate(); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor c) { FBorderColor = c; Invalidate(); }
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor c) { FBorderDownColor = c; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor c) { FBorderHotColor = c; }

    // -- look
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v) { FRounded = v; Invalidate(); }
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    gui::TButtonLayout Layout() const { return FLayout; }
    void SetLayout(gui::TButtonLayout l);
    // -1 centres; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);

    // -- state
    TExToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TExToolButtonStyle s) { FStyle = s; Invalidate(); }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    gui::TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    // -- glyphs (copied on assignment)
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const gui::TBitmap* b);
    gui::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(const gui::TBitmap* b) { FGlyphHot->Assign(b); }
    gui::TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(const gui::TBitmap* b) { FGlyphDown->Assign(b); }
    gui::TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(const gui::TBitmap* b) { FGlyphDisabled->Assign(b); }
    gui::TBitmap* GlyphShade() const { return FGlyphShade.get(); }

    // -- drop-down
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v) { FDropDownButton = v; Invalidate(); }
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool v) { FDropDownSplit = v; }
    gui::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(gui::TPopupMenu* menu);
    void ShowDropDownMenu();

    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr uint32_t GetVersionNr() { return 0x01040000; }

    // Writes colours, BorderColor and Rounded of look 0..13, then Flat.
    void ApplyLook(int look);
    void SetComponentStyle(TQuorStyle style) override;

    rtl::TNotifyEvent OnDropDown;

    void Click() override;
    // The linked action's caption, enabled state, hint and visibility (the
    // base), and its Checked as Down for a button of a group that may be all up.
    void ActionChange(gui::TBasicAction* sender, bool checkDefaults) override;
    void Dispatch(gui::TMessage& m) override;
    void WndProc(gui::TMessage& m) override;
    void Loaded() override;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    bool Hot() const;
    bool Designing() const;
    void ThemeAdapt();
    void SyncHotState();
    void NotifyGroup();
    void BuildShadeGlyph();
    void ButtonGradient(TColor from, TColor to, const gui::TRect& r, TColor frame);
    void DrawGlyphAndText(const gui::TRect& q, gui::TPoint offset, gui::TButtonState state);
    void DrawStateGlyph(gui::TPoint pos);
    void DrawCaptionText(gui::TRect r);
    bool Inside(int x, int y) const;

    TColor FColorTo = gui::clNone;
    TColor FColorHot = 0xCAC7C7, FColorHotTo = gui::clNone;
    TColor FColorDown = 0xD8D3D2, FColorDownTo = gui::clNone;
    TColor FColorChecked = 0x808080, FColorCheckedTo = gui::clNone;
    TColor FBorderColor = gui::clNone, FBorderDownColor = gui::clNone, FBorderHotColor = gui::clNone;
    bool FFlat = true;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    TExToolButtonStyle FStyle = TExToolButtonStyle::tasButton;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    gui::TButtonLayout FLayout = gui::TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FDropDownButton = false;
    bool FDropDownSplit = true;
    gui::TPopupMenu* FDropDownMenu = nullptr;
    bool FAutoThemeAdapt = false;

    gui::TButtonState FState = gui::TButtonState::bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
    std::unique_ptr<gui::TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShade;
};

} // namespace controls
