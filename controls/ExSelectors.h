// Selector buttons: a small flat button (TExCustomSelector) that drops a
// window down with a panel in it; the user picks an entry, the window
// closes and the button reports the choice through OnSelect.  The panels:
// the item panel (rows of equal buttons and full-width buttons), and for
// the colour selector (TExColorSelector) a 40-colour palette, a hexagon
// colour cube and a spectrum picture.
//
// The rule a caller must know: OnSelect runs after every choice, also for
// the item already selected; for the colour selector SelectedColor already
// holds the new colour then (palette index and item, or -1 and nullptr for
// the cube and the spectrum).  "More Colors..." leaves SelectedColor alone.
//
//     auto* c = new controls::TExColorSelector(form);
//     c->SetParent(form);
//     c->SetBounds(8, 8, 120, 22);
//     c->SetSelectedColor(gui::clRed);
//     c->OnSelect = [c](rtl::TObject*, int, controls::TExSelectorItem*) { Use(c->SelectedColor()); };
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "controls/ExGradient.h"
#include "platform/gui/Controls.h"
#include "platform/gui/DropDown.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Collections.h"

namespace controls {

using gui::TColor;

enum class TExSelectorStyle { ssButton, ssCombo };
enum class TExAppearanceStyle {
    esOffice2003Blue, esOffice2003Silver, esOffice2003Olive, esOffice2003Classic, esWhidbey, esCustom, esXP
};
enum class TExButtonState { absUp, absDown, absDropDown };
enum class TSelectorItemType { itAutoSizeButton, itFullWidthButton };
enum class TColorSelectionStyle { csDiscrete, csColorCube, csSpectrum };

class TExSelectorItem;
using TSelectEvent = std::function<void(rtl::TObject* sender, int index, TExSelectorItem* item)>;
using THotToolEvent = std::function<void(rtl::TObject* sender, int hotItemIndex)>;
using TDrawToolEvent = std::function<void(rtl::TObject* sender, gui::TCanvas* canvas, int itemIndex, const gui::TRect& r)>;
using TItemDrawEvent = std::function<void(rtl::TObject* sender, int index, const gui::TRect& r)>;

// Bands from one colour to the other (count 0 counts as 1); each band one
// pixel longer than its step so that neighbours overlap.
void DrawSelectorGradient(gui::TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const gui::TRect& r,
                          int count);

// Where a drop-down of the size given goes for a button whose bottom-left
// corner is at p (screen), inside the work area.
struct TDropDownPlacement {
    int Left = 0, Top = 0;
    bool ShowAbove = false, ShowLeft = false;
};
TDropDownPlacement PlaceDropDown(gui::TPoint p, int buttonWidth, int buttonHeight, int width, int height,
                                 const gui::TRect& workArea);

// ------------------------------------------------------------------ items

class TExSelectorItem : public rtl::TCollectionItem {
    RTL_CLASS(TExSelectorItem, rtl::TCollectionItem)
public:
    explicit TExSelectorItem(rtl::TCollection* collection);
    // Only from another TExSelectorItem; other sources are ignored.
    void Assign(const rtl::TPersistent* source) override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    gui::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(gui::TAlignment v) { FCaptionAlignment = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& v) { FValue = v; }
    TSelectorItemType ItemType() const { return FItemType; }
    void SetItemType(TSelectorItemType v) { FItemType = v; }
    TColor BackGroundColor() const { return FBackGroundColor; }
    void SetBackGroundColor(TColor v) { FBackGroundColor = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    const gui::TRect& ItemRect() const { return FItemRect; }
    void SetItemRect(const gui::TRect& r) { FItemRect = r; }

private:
    std::string FCaption, FHint, FValue;
    gui::TAlignment FCaptionAlignment = gui::TAlignment::taCenter;
    int FImageIndex = -1;
    TSelectorItemType FItemType = TSelectorItemType::itAutoSizeButton;
    TColor FBackGroundColor = gui::clNone;
    int FTag = 0;
    gui::TRect FItemRect;
};

class TExSelectorItems : public rtl::TOwnedCollection {
    RTL_CLASS(TExSelectorItems, rtl::TOwnedCollection)
public:
    explicit TExSelectorItems(rtl::TPersistent* owner);
    TExSelectorItem* Add() { return static_cast<TExSelectorItem*>(TCollection::Add()); }
    TExSelectorItem* Insert(int index) { return static_cast<TExSelectorItem*>(TCollection::Insert(index)); }
    TExSelectorItem* Items(int index) const { return static_cast<TExSelectorItem*>(TCollection::Items(index)); }
};

// ----------------------------------------------------------------- panels

class TSelectorDropDownWindow;

// The base of every drop-down panel: background gradient and the window
// border that leaves a gap where it adjoins the button.
class TExCustomSelectorPanel : public gui::TCustomPanel {
public:
    explicit TExCustomSelectorPanel(rtl::TComponent* owner);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c)
    {
        if (FColorTo == c) return;
        FColorTo = c;
        Invalidate();
    }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection d) { FGradientDirection = d; }
    TColor WindowBorderColor() const { return FWindowBorderColor; }
    void SetWindowBorderColor(TColor c)
    {
        if (FWindowBorderColor == c) return;
        FWindowBorderColor = c;
        Invalidate();
    }
    virtual int GetPanelHeight() { return Height(); }
    rtl::TNotifyEvent OnShouldHide;

protected:
    void Paint() override;
    TSelectorDropDownWindow* DropDownWindow() const;

private:
    TColor FColorTo = gui::clNone;
    TGradientDirection FGradientDirection = TGradientDirection::gdHorizontal;
    TColor FWindowBorderColor = 0x808080;
};

// Rows of item buttons.
class TExSelectorPanel : public TExCustomSelectorPanel {
public:
    explicit TExSelectorPanel(rtl::TComponent* owner);
    ~TExSelectorPanel() override;

    TExSelectorItems* Items() const { return FItems; }
    void SetItems(TExSelectorItems* items) { FItems = items; }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    int HotItemIndex() const { return FHotItemIndex; }
    int DownItemIndex() const { return FDownItemIndex; }
    int ButtonsPerRow() const { return FButtonsPerRow; }
    void SetButtonsPerRow(int v) { FButtonsPerRow = v; }
    int ButtonMargin() const { return FButtonMargin; }
    void SetButtonMargin(int v) { FButtonMargin = v; }
    void SetMinButtonSize(int w, int h) { FMinButtonWidth = w; FMinButtonHeight = h; }
    int MaxCaptionLength() const { return FMaxCaptionLength; }
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* images) { FImages = images; }

    // Colour setters store and repaint.
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor c) { StoreColor(FColorHot, c); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor c) { StoreColor(FColorHotTo, c); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor c) { StoreColor(FColorDown, c); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor c) { StoreColor(FColorDownTo, c); }
    TColor ColorSelected() const { return FColorSelected; }
    void SetColorSelected(TColor c) { StoreColor(FColorSelected, c); }
    TColor ColorSelectedTo() const { return FColorSelectedTo; }
    void SetColorSelectedTo(TColor c) { StoreColor(FColorSelectedTo, c); }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor c) { StoreColor(FBorderHotColor, c); }
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor c) { StoreColor(FBorderDownColor, c); }
    TColor BorderSelectedColor() const { return FBorderSelectedColor; }
    void SetBorderSelectedColor(TColor c) { StoreColor(FBorderSelectedColor, c); }

    // Sizes the buttons, places the items and sets the panel's size.
    void ArrangeItems();
    int ItemAtPos(int x, int y) const;
    void ItemButtonSize(int& width, int& height);
    int GetPanelWidth();

    rtl::TNotifyEvent OnSelect;
    THotToolEvent OnHotTool;
    TItemDrawEvent OnDrawItem;

    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    void StoreColor(TColor& field, TColor c)
    {
        if (field == c) return;
        field = c;
        Invalidate();
    }
    void PaintItem(int index, bool erase);
    TColor FColorHot = 0xD2BDB6, FColorHotTo = gui::clNone;
    TColor FColorDown = 0x40A9FF, FColorDownTo = gui::clNone;
    TColor FColorSelected = 0xD8D5D4, FColorSelectedTo = gui::clNone;
    TColor FBorderHotColor = 0, FBorderDownColor = 0, FBorderSelectedColor = 0;
    TExSelectorItems* FItems;
    int FItemIndex = -1, FHotItemIndex = -1, FDownItemIndex = -1;
    gui::TImageList* FImages = nullptr;
    int FButtonsPerRow = 1, FButtonMargin = 3, FButtonHeight = 20;
    int FTopOffSet = 4, FLeftOffSet = 4;
    int FMinButtonWidth = 16, FMinButtonHeight = 16;
    int FMaxCaptionLength = 0;
    bool FMouseDown = false;
};

// The honeycomb of 127 colour cells.
class TExColorCubePanel : public TExCustomSelectorPanel {
public:
    explicit TExColorCubePanel(rtl::TComponent* owner);
    TColor SelectedColor() const { return FSelectedColor; }
    // Selects the first cell of that colour, or none.
    void SetSelectedColor(TColor c) { SelectColor(c, -1); }
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool v);
    // Cell 1..127 at a client point, -1 for none.
    int CellAtPos(int x, int y) const;
    gui::TPoint CellCentre(int i) const { return FCells[static_cast<std::size_t>(i)].Centre; }
    TColor CellColor(int i) const { return FCells[static_cast<std::size_t>(i)].Color; }
    // No hot cell; the panel's size.
    void ResetHotCell();
    rtl::TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    struct Cell {
        gui::TPoint Centre;
        TColor Color = 0;
    };
    void InitializeCube();
    void SelectColor(TColor c, int index);
    void DrawCubeCell(gui::TCanvas* c, int i);
    void RedrawCell(int i);
    Cell FCells[128];
    gui::TPoint FCubeSize{6, 3};
    TColor FSelectedColor = gui::clNone;
    int FSelectedIndex = -1, FHotIndex = -1;
    bool FShowRGBHint = true;
};

// The spectrum picture the colour under the mouse is picked from.
class TExColorSpectrumPanel : public TExCustomSelectorPanel {
public:
    explicit TExColorSpectrumPanel(rtl::TComponent* owner);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor c) { FSelectedColor = c; }
    TColor HotColor() const { return FHotColor; }
    gui::TImage* SpectrumImage() const { return FSpectrumImage; }
    const gui::TRect& HotRect() const { return FHotRect; }
    const gui::TRect& SelectedRect() const { return FSelectedRect; }
    void ArrangeSpectrum();
    rtl::TNotifyEvent OnSelect;

    static constexpr gui::TCursor EyedropperCursor = 54;
    // The 128 x 128 spectrum and the 32 x 32 eyedropper, made from their
    // descriptions.
    static std::unique_ptr<gui::TBitmap> MakeSpectrumBitmap();
    static std::unique_ptr<gui::TBitmap> MakeEyedropperBitmap();

protected:
    void Paint() override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    void DrawSample(gui::TCanvas* c, const gui::TRect& r, TColor color);
    void SpectrumMouseMove(int x, int y);
    void SpectrumMouseDown();
    gui::TImage* FSpectrumImage;
    std::unique_ptr<gui::TBitmap> FSpectrum;
    TColor FHotColor = gui::clNone, FSelectedColor = 0xFFFFFF;
    gui::TRect FHotRect, FSelectedRect;
};

// ------------------------------------------------------------ the window

class TExCustomSelector;

class TSelectorDropDownWindow : public gui::TDropDownForm {
public:
    TSelectorDropDownWindow(rtl::TComponent* owner, TExCustomSelector* selector);
    TExCustomSelectorPanel* SelectorPanel() const { return FSelectorPanel; }
    void SetSelectorPanel(TExCustomSelectorPanel* p) { FSelectorPanel = p; }
    void SetWindowSize();
    bool ShowAbove() const { return FShowAbove; }
    bool ShowLeft() const { return FShowLeft; }
    bool ShowFullBorder() const { return FShowFullBorder; }
    TExCustomSelector* Selector() const { return FOwner; }
    gui::TTimer* HideTimer() const { return FHideTimer; }
    void Dispatch(gui::TMessage& m) override;

private:
    friend class TExCustomSelector;
    TExCustomSelectorPanel* FSelectorPanel = nullptr;
    bool FHideOnDeActivate = true, FShowAbove = false, FShowLeft = false, FShowFullBorder = false;
    TExCustomSelector* FOwner;
    gui::TTimer* FHideTimer;
};

// ---------------------------------------------------------------- button

class TExCustomSelector : public gui::TCustomControl {
public:
    explicit TExCustomSelector(rtl::TComponent* owner);
    ~TExCustomSelector() override;

    TExAppearanceStyle AppearanceStyle() const { return FAppearanceStyle; }
    void SetAppearanceStyle(TExAppearanceStyle v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    TExSelectorStyle Style() const { return FStyle; }
    void SetStyle(TExSelectorStyle v);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v) { FDropDownButton = v; Invalidate(); }
    int DropDownButtonWidth() const { return FDropDownBtnWidth; }
    TExButtonState State() const { return FState; }

    // Colour setters store and repaint.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c) { StoreColor(FColorTo, c); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor c) { StoreColor(FColorHot, c); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor c) { StoreColor(FColorHotTo, c); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor c) { StoreColor(FColorDown, c); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor c) { StoreColor(FColorDownTo, c); }
    TColor ColorDropDown() const { return FColorDropDown; }
    void SetColorDropDown(TColor c) { StoreColor(FColorDropDown, c); }
    TColor ColorDropDownTo() const { return FColorDropDownTo; }
    void SetColorDropDownTo(TColor c) { StoreColor(FColorDropDownTo, c); }
    TColor ColorSelected() const { return FColorSelected; }
    void SetColorSelected(TColor c) { StoreColor(FColorSelected, c); }
    TColor ColorSelectedTo() const { return FColorSelectedTo; }
    void SetColorSelectedTo(TColor c) { StoreColor(FColorSelectedTo, c); }
    TColor ColorSelectionHot() const { return FColorSelectionHot; }
    void SetColorSelectionHot(TColor c) { StoreColor(FColorSelectionHot, c); }
    TColor ColorSelectionHotTo() const { return FColorSelectionHotTo; }
    void SetColorSelectionHotTo(TColor c) { StoreColor(FColorSelectionHotTo, c); }
    TColor ColorSelectionDown() const { return FColorSelectionDown; }
    void SetColorSelectionDown(TColor c) { StoreColor(FColorSelectionDown, c); }
    TColor ColorSelectionDownTo() const { return FColorSelectionDownTo; }
    void SetColorSelectionDownTo(TColor c) { StoreColor(FColorSelectionDownTo, c); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor c) { StoreColor(FBorderColor, c); }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor c) { StoreColor(FBorderHotColor, c); }
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor c) { StoreColor(FBorderDownColor, c); }
    TColor BorderDropDownColor() const { return FBorderDropDownColor; }
    void SetBorderDropDownColor(TColor c) { StoreColor(FBorderDropDownColor, c); }
    TColor BorderSelectedColor() const { return FBorderSelectedColor; }
    void SetBorderSelectedColor(TColor c) { StoreColor(FBorderSelectedColor, c); }
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    gui::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    gui::TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    TExSelectorItems* Tools() const { return FTools.get(); }
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int v);
    int ButtonsPerRow() const { return FButtonsPerRow; }
    void SetButtonsPerRow(int v) { FButtonsPerRow = v; }
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* images);
    std::string Version() const;
    void SetVersion(const std::string&) {}
    virtual int GetVersionNr() const { return 0x01040000; }

    TSelectorDropDownWindow* DropDownWindow() const { return FDropDownWindow; }
    TExSelectorPanel* SelectorPanel() const { return FSelectorPanel; }
    bool MouseInControl() const { return FMouseInControl; }

    void ShowDropDown() { ToggleDropDown(); }
    void HideDropDown();
    void ToggleDropDown();

    // OnClick (of the control): the main part released (DropDownButton).
    TSelectEvent OnSelect;
    THotToolEvent OnHotTool;
    TDrawToolEvent OnDrawTool;

    void Loaded() override;
    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    virtual void DoSelect();
    virtual void DrawGlyphAndCaption(gui::TBitmap* glyph, gui::TRect r);
    virtual void PrepareDropDown();
    // The glyph placed in r; answers where the caption starts (0: nowhere).
    int PaintGlyph(gui::TBitmap* glyph, const gui::TRect& r);
    void ThemeAdapt();
    void PanelShouldHide();
    void PanelSelect();
    TExSelectorPanel* EnsureItemPanel();

    TSelectorDropDownWindow* FDropDownWindow = nullptr;
    TExSelectorPanel* FSelectorPanel = nullptr;

private:
    void StoreColor(TColor& field, TColor c)
    {
        if (field == c) return;
        field = c;
        Invalidate();
    }
    void PaintButton();
    void PaintCombo();
    void PaintDropArrow(int x, int y, TColor c);
    void Fill(const gui::TRect& r, TColor from, TColor to);
    void Frame(const gui::TRect& r, TColor k);
    void ButtonPartClick();
    void DrawComboArrowButton();

    TExAppearanceStyle FAppearanceStyle = TExAppearanceStyle::esOffice2003Classic;
    bool FAutoThemeAdapt = false;
    TExSelectorStyle FStyle = TExSelectorStyle::ssButton;
    bool FDropDownButton = false;
    std::unique_ptr<gui::TBitmap> FGlyph, FGlyphHot, FGlyphDown;
    std::unique_ptr<TExSelectorItems> FTools;
    int FSelectedIndex = -1, FRememberedIndex = -1;
    int FButtonsPerRow = 1;
    gui::TImageList* FImages = nullptr;
    bool FMouseInControl = false, FMouseDown = false;
    int FDropDownBtnWidth = 12;
    TExButtonState FState = TExButtonState::absUp;
    bool FIsThemed = false;
    TColor FColorTo = gui::clNone;
    TColor FColorHot = 0xD6BEB5, FColorHotTo = gui::clNone;
    TColor FColorDown = 0xB59584, FColorDownTo = gui::clNone;
    TColor FColorDropDown = 0xF7F8F9, FColorDropDownTo = gui::clNone;
    TColor FColorSelected = 0xDED7D6, FColorSelectedTo = gui::clNone;
    TColor FColorSelectionHot = 0xD6BEB5, FColorSelectionHotTo = gui::clNone;
    TColor FColorSelectionDown = 0xDED7D6, FColorSelectionDownTo = gui::clNone;
    TColor FBorderColor = gui::clNone, FBorderHotColor = 0x6B2408, FBorderDownColor = 0x6B2408;
    TColor FBorderDropDownColor = 0x808080, FBorderSelectedColor = 0;
    TGradientDirection FGradientDirection = TGradientDirection::gdVertical;
};

// ---------------------------------------------------------- colour picker

class TExCustomColorSelector : public TExCustomSelector {
public:
    explicit TExCustomColorSelector(rtl::TComponent* owner);
    ~TExCustomColorSelector() override;
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor c);
    TColorSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TColorSelectionStyle v) { FSelectionStyle = v; }
    bool ShowSelectedColor() const { return FShowSelectedColor; }
    void SetShowSelectedColor(bool v) { FShowSelectedColor = v; Invalidate(); }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool v) { FShowRGBHint = v; }
    TExColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
    TExColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }

protected:
    void DoSelect() override;
    void DrawGlyphAndCaption(gui::TBitmap* glyph, gui::TRect r) override;
    void PrepareDropDown() override;
    virtual void InitializeColors() {}

private:
    void DrawColorItem(int index, const gui::TRect& r);
    TExColorCubePanel* FColorCubePanel = nullptr;
    TExColorSpectrumPanel* FSpectrumPanel = nullptr;
    TColorSelectionStyle FSelectionStyle = TColorSelectionStyle::csDiscrete;
    bool FShowSelectedColor = true, FShowRGBHint = true;
    TColor FSelectedColor = gui::clNone;
};

class TExColorSelector : public TExCustomColorSelector {
public:
    explicit TExColorSelector(rtl::TComponent* owner);

protected:
    void InitializeColors() override;
};

} // namespace controls
