// Common controls: status bar with panels, page control with tab sheets,
// progress bar, and tool bars with tool buttons (usually built from actions).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"

namespace gui {

class TImageList;
class TStatusBar;

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* bar) : FBar(bar) {}
    const std::string& Text() const { return FText; }
    void SetText(const std::string& t);
    int Width() const { return FWidth; }
    void SetWidth(int w);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle s);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel b);
    int Index() const;

private:
    TStatusBar* FBar;
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
    TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
};

using TDrawPanelEvent = std::function<void(TStatusBar* bar, TStatusPanel* panel, const TRect& rect)>;

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(rtl::TComponent* owner);
    ~TStatusBar() override;
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    TStatusPanel* Panels(int index) const { return FPanels.at(static_cast<std::size_t>(index)).get(); }
    TStatusPanel* AddPanel();
    void ClearPanels();
    // One text over the whole bar instead of the panels.
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& t);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v) { FSizeGrip = v; Invalidate(); }
    // Shows Application's hint in the bar as it changes.
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool v) { FAutoHint = v; }
    // The rectangle of a panel (the last one reaches to the right edge).
    TRect PanelRect(int index) const;
    TDrawPanelEvent OnDrawPanel;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;

private:
    std::vector<std::unique_ptr<TStatusPanel>> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    bool FAutoHint = false;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(rtl::TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pc);
    int PageIndex() const;
    void SetPageIndex(int i);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i) { FImageIndex = i; }
    void Dispatch(TMessage& m) override;
    void SetParent(TWinControl* parent) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

using TTabChangingEvent = std::function<void(rtl::TObject* sender, bool& allowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(rtl::TComponent* owner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    // Shows the next or previous visible page (OnChanging may refuse).
    void SelectNextPage(bool goForward, bool checkTabVisible = true);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* il) { FImages = il; }
    // The area the pages cover.
    TRect DisplayRect() const;
    // The index of the tab at a client point, -1 when none.
    int IndexOfTabAt(int x, int y) const;
    void AdjustClientRect(TRect& rect) override;
    rtl::TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    void Dispatch(TMessage& m) override;

protected:
    virtual bool CanChange();
    virtual void Change();

private:
    friend class TTabSheet;
    friend struct PageAccess;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    void ShowPage(TTabSheet* page);
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TImageList* FImages = nullptr;
    bool FSyncing = false;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(rtl::TComponent* owner);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v) { FStep = v; }
    void StepIt();
    void StepBy(int delta) { SetPosition(FPosition + delta); }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v) { FSmooth = v; }
    bool Vertical() const { return FVertical; }
    void SetVertical(bool v);

private:
    void Sync();
    int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
    bool FSmooth = false;
    bool FVertical = false;
};

// ----------------------------------------------------------------- tool bar

class TToolBar;
enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(rtl::TComponent* owner);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle s);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i) { FImageIndex = i; Invalidate(); }
    bool Down() const { return FDown; }
    void SetDown(bool v);
    int Grouped() const { return FGrouped; }
    void SetGrouped(bool v) { FGrouped = v; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* m) { FDropdownMenu = m; }
    bool Pressed() const { return FPressed; }
    void Click() override;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;
    void SetParent(TWinControl* parent) override;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TToolBar* Bar() const;
    TToolButtonStyle FStyle = TToolButtonStyle::tbsButton;
    int FImageIndex = -1;
    bool FDown = false;
    bool FGrouped = false;
    bool FAllowAllUp = false;
    bool FPressed = false;
    bool FHot = false;
    TPopupMenu* FDropdownMenu = nullptr;
};

class TToolBar : public TCustomControl {
public:
    explicit TToolBar(rtl::TComponent* owner);
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* il) { FImages = il; Invalidate(); }
    TImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TImageList* il) { FDisabledImages = il; }
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonWidth(int w) { FButtonWidth = w; Realign(); }
    void SetButtonHeight(int h) { FButtonHeight = h; Realign(); }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool v) { FShowCaptions = v; Realign(); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; Invalidate(); }
    // Appends a button for the action, or a separator for nullptr.
    TToolButton* AddActionButton(TBasicAction* action);
    TToolButton* AddSeparator();
    // Buttons that do not fit the width continue on a further row, and the
    // bar grows by the rows it needs (and shrinks back when they fit again).
    void AlignControls(TControl* control, TRect& rect) override;
    int RowCount() const { return FRowCount; }

protected:
    void Paint() override;

private:
    TImageList* FImages = nullptr;
    TImageList* FDisabledImages = nullptr;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FShowCaptions = false;
    bool FFlat = true;
    int FRowCount = 1;
    int FWrapExtra = 0;   // height added for the rows beyond the first
};

} // namespace gui
