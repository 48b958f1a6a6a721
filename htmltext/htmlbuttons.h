// Check box, radio button and check group whose captions are markup.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/Lists.h"

namespace gui {
class TImageList;
}

namespace htmltext {

// The look of the box.  btDrawn is a 12 x 12 box (or diamond) drawn with
// lines in the 3-D colours.
enum class TButtonType { btClassic, btDrawn, btFlat, btVantor, btWinXP, btTheme };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

using TAnchorClick = std::function<void(rtl::TObject* sender, const std::string& anchor)>;
using TEnabledEvent = std::function<void(rtl::TObject* sender, int itemIndex, bool& enabled)>;

// Hands a web or mail address to the desktop's default handler.  Tests
// replace it; the default starts xdg-open.
using TOpenAddressHandler = std::function<void(const std::string& address)>;
void SetOpenAddressHandler(TOpenAddressHandler handler);
void OpenAddress(const std::string& address);
// Whether an address goes to the desktop ("://" or "mailto:") rather than
// only to the anchor event.
bool IsUrlOrMail(const std::string& anchor);

// Themed buttons need the desktop's theme service, which this platform
// lacks: false, so btTheme paints as btClassic and btWinXP uses its bitmaps.
bool ThemedButtonsAvailable();
// The file's version (major in the high 16 bits); -1 without version data.
int FileVersionNumber(const std::string& fileName);

// What the check box and the radio button share: caption, box looks, anchors,
// transparency, keyboard and mouse handling.
class TCustomHTMLButton : public gui::TCustomControl {
public:
    explicit TCustomHTMLButton(rtl::TComponent* owner);
    ~TCustomHTMLButton() override;

    // The caption is the control's text (markup); setting it repaints.
    void SetCaption(const std::string& value);
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment value);
    TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TButtonType value);
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout value);
    gui::TColor CheckColor() const { return FCheckColor; }
    void SetCheckColor(gui::TColor value);
    bool Down() const { return FDown; }
    void SetDown(bool value) { FDown = value; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* value);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    gui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(gui::TColor value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool value) { FTransparentCaching = value; }
    gui::TColor URLColor() const { return FURLColor; }
    void SetURLColor(gui::TColor value);
    std::string Version() const { return VersionText(static_cast<uint32_t>(VersionNumber())); }
    void SetVersion(const std::string&) {}
    virtual int VersionNumber() const { return 17105665; }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    bool Focused_() const { return FFocused; }
    bool Hot() const { return FHot; }

    // The anchor's target under a client point, empty when none.
    std::string AnchorAtPoint(int x, int y);
    // The rectangle the caption is drawn in for the current look.
    gui::TRect CaptionRect();

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

protected:
    // The look that paints: btTheme resolved, themes unavailable here.
    TButtonType EffectiveLook() const;
    // Draws the box and answers the caption offset.
    virtual int DrawBox(gui::TCanvas& c, bool draw) = 0;
    virtual int CaptionLeftGap(int offset) const = 0;   // from the box side
    virtual void PressedByKey() = 0;                     // Space released
    virtual void AcceleratorHit() = 0;
    void Paint() override;
    void PaintParentImage(gui::TCanvas& c);
    void DrawCaption(gui::TCanvas& c, const gui::TRect& r, int& w, int& h);
    void Dispatch(gui::TMessage& m) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    bool InClient(int x, int y) const { return x >= 0 && x <= Width() && y >= 0 && y <= Height(); }
    // Mouse press shared by both: anchors when focused, else focus; capture
    // and Down when no anchor was hit.
    void PressAt(gui::TMouseButton button, gui::TShiftState shift, int x, int y);

    bool FDown = false;
    bool FFocused = false;
    gui::TColor FCheckColor = gui::clBlack;
    TButtonType FButtonType = TButtonType::btClassic;
    bool FReturnIsTab = false;
    gui::TImageList* FImages = nullptr;
    std::string FAnchor;
    gui::TColor FURLColor = gui::clBlue;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    TTextLayout FBtnVAlign = TTextLayout::tlTop;
    gui::TAlignment FAlignment = gui::TAlignment::taLeftJustify;
    bool FEllipsis = false;
    TPictureContainer* FContainer = nullptr;
    int FShadowOffset = 1;
    gui::TColor FShadowColor = gui::clGray;
    bool FIsWinXP = false;
    bool FHot = false;
    gui::TCursor FOldCursor = gui::crDefault;
    bool FMouseDown = false;
    std::unique_ptr<gui::TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
};

class TCustomHTMLCheckBox : public TCustomHTMLButton {
public:
    explicit TCustomHTMLCheckBox(rtl::TComponent* owner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Checked := not Checked, unless read-only (grayed becomes checked).
    virtual void Toggle();

protected:
    bool IsChecked() const { return FState == TCheckBoxState::cbChecked; }
    void SetCheckedState(bool value);
    int DrawBox(gui::TCanvas& c, bool draw) override;
    int CaptionLeftGap(int offset) const override { return 12 + offset; }
    void PressedByKey() override;
    void AcceleratorHit() override { Toggle(); }
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FReadOnly = false;
};

class THTMLCheckBox : public TCustomHTMLCheckBox {
public:
    explicit THTMLCheckBox(rtl::TComponent* owner) : TCustomHTMLCheckBox(owner) {}
    bool Checked() const { return IsChecked(); }
    void SetChecked(bool value);
};

class THTMLRadioButton : public TCustomHTMLButton {
public:
    explicit THTMLRadioButton(rtl::TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = static_cast<uint8_t>(value); }
    // Fires OnClick (the only way OnClick fires).
    virtual void ClickChecked();
    void Click() override {}

protected:
    void UncheckGroup();
    int DrawBox(gui::TCanvas& c, bool draw) override;
    int CaptionLeftGap(int offset) const override { return offset + 5; }
    void PressedByKey() override;
    void AcceleratorHit() override { SetChecked(true); }
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DoEnter() override;

    bool FChecked = false;
    uint8_t FGroupIndex = 0;
};

class TCustomHTMLCheckGroup;

// An item box of a check group.
class TGroupCheck : public THTMLCheckBox {
public:
    explicit TGroupCheck(TCustomHTMLCheckGroup* group);
    ~TGroupCheck() override;

private:
    TCustomHTMLCheckGroup* FGroup;
    bool FInClick = false;
};

// A framed group of markup check boxes, one per line of Items, in columns.
class TCustomHTMLCheckGroup : public gui::TCustomControl {
public:
    explicit TCustomHTMLCheckGroup(rtl::TComponent* owner);
    ~TCustomHTMLCheckGroup() override;

    rtl::TStringList* Items() const { return FItems.get(); }
    void SetItems(const rtl::TStringList* value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TButtonType v) { FButtonType = v; LayoutChecks(); }
    gui::TColor CheckColor() const { return FCheckColor; }
    void SetCheckColor(gui::TColor v) { FCheckColor = v; LayoutChecks(); }
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment v) { FAlignment = v; LayoutChecks(); }
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout v) { FBtnVAlign = v; LayoutChecks(); }
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* v);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v) { FEllipsis = v; LayoutChecks(); }
    gui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(gui::TColor v) { FShadowColor = v; LayoutChecks(); }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v) { FShadowOffset = v; LayoutChecks(); }
    std::string Version() const { return VersionText(17105665); }
    void SetVersion(const std::string&) {}

    // "Invalid checkbox index" for an index outside the items.
    bool GetItemChecked(int index) const;
    // An invalid index is ignored; OnClick does not fire.
    void SetItemChecked(int index, bool value);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TGroupCheck* Buttons(int index) const { return FButtons.at(static_cast<std::size_t>(index)); }
    virtual bool AllowsChange() const { return true; }

    void SetEnabled(bool enabled) override;
    void Loaded() override;

    TEnabledEvent OnIsEnabled;
    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

protected:
    friend class TGroupCheck;
    void Paint() override;
    void Dispatch(gui::TMessage& m) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void ItemsChanged();
    void RefreshChecks();
    void SetCheckCount(int count);
    void LayoutChecks();
    void CheckClicked(rtl::TObject* sender);

    std::vector<TGroupCheck*> FButtons;
    std::unique_ptr<rtl::TStringList> FItems;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
    TButtonType FButtonType = TButtonType::btClassic;
    gui::TColor FCheckColor = gui::clBlack;
    gui::TAlignment FAlignment = gui::TAlignment::taLeftJustify;
    TTextLayout FBtnVAlign = TTextLayout::tlTop;
    gui::TImageList* FImages = nullptr;
    TPictureContainer* FContainer = nullptr;
    bool FEllipsis = false;
    int FShadowOffset = 1;
    gui::TColor FShadowColor = gui::clSilver;
    bool FDestroying = false;
};

using THTMLCheckGroup = TCustomHTMLCheckGroup;

} // namespace htmltext
