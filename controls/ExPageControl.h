// TExPageControl: a page control that paints its own tabs (colours,
// gradients, tab pictures, close glyphs, rotated captions on side tabs)
// over the program-drawn tab strip, with pages of class TExTabSheet that
// carry their own tab colours, close button and the switches TabVisible and
// TabEnable; closed pages are kept by name and can be reopened; with
// DockSite, forms of this program dropped on it become pages.  Also the
// drawing routines the tabs use (gradient bands, transparent and sliced
// bitmap copies).
//
// The rule a caller must know: a page belongs to the page control through
// SetExPageControl (not SetParent); page index = order in the page list,
// tab index counts only pages whose tab is visible (-1 for a hidden tab).
// A page with TabEnable False is never activated outside design time.
//
//     auto* pc = new controls::TExPageControl(form);
//     pc->SetParent(form);
//     pc->SetBounds(8, 8, 400, 300);
//     auto* sheet = new controls::TExTabSheet(form);
//     sheet->SetExPageControl(pc);
//     sheet->SetCaption("Solar Eclipses");
//     pc->OnChange = [pc](rtl::TObject*) { Use(pc->ActivePageIndex()); };
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ExGradient.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/TabCtrls.h"
#include "platform/rtl/Lists.h"

namespace controls {

using gui::TColor;

enum class TTabStyle { tsClassic, tsDotNet, tsLined };
enum class TClosePosition { cpLeft, cpRight };
using TTabOverlapSize = uint8_t;   // 0..15
using TMarginSize = int32_t;
using TMarginChange = std::function<void(TMarginSize newValue, TMarginSize oldValue, int index)>;
using TCanCloseEvent = std::function<void(rtl::TObject* sender, bool& canClose)>;
using TCanChangeEvent = std::function<void(rtl::TObject* sender, int fromPage, int toPage, bool& allowChange)>;

// -------------------------------------------------------- drawing routines

// Fills r with Steps bands from one colour to the other (Steps 0 counts as
// 1); the bands overlap by a pixel and the last one has the colour of step
// Steps - 1.  Pen and brush keep the last band's colour.
void DrawPageGradient(gui::TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const gui::TRect& r,
                      bool horizontal);
// Copies a block of the bitmap, leaving the destination where the source
// has the transparent colour.
void TransparentBlit(gui::TCanvas* dest, const gui::TBitmap* source, int x, int y, TColor transparent, int srcX,
                     int srcY, int width, int height);
// As TransparentBlit with the block stretched to width x height.
void TransparentStretchBlit(gui::TCanvas* dest, const gui::TBitmap* source, int x, int y, int width, int height,
                            TColor transparent, int srcX, int srcY, int srcWidth, int srcHeight);
// Draws the bitmap over Length pixels of height (V) or width (H): the two
// halves unscaled, the two middle rows (columns) stretched between them.
// The colour of the bottom-left pixel is transparent.  A length below the
// bitmap's own cuts each half to its share of the length.
void DrawBitmapStretchedV(const gui::TBitmap* bitmap, gui::TCanvas* canvas, int x, int length, int y);
void DrawBitmapStretchedH(const gui::TBitmap* bitmap, gui::TCanvas* canvas, int x, int length, int y);

// ---------------------------------------------------------------- margins

class TTabMargin : public rtl::TPersistent {
public:
    TMarginSize LeftMargin() const { return FLeftMargin; }
    TMarginSize TopMargin() const { return FTopMargin; }
    TMarginSize RightMargin() const { return FRightMargin; }
    void SetLeftMargin(TMarginSize v) { SetMargin(0, v); }
    void SetTopMargin(TMarginSize v) { SetMargin(1, v); }
    void SetRightMargin(TMarginSize v) { SetMargin(2, v); }
    void Assign(const rtl::TPersistent* source) override;
    TMarginChange OnMarginChange;

private:
    void SetMargin(int index, TMarginSize value);
    TMarginSize FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0;
};

class TExPageControl;

// ------------------------------------------------------------------ sheet

class TExTabSheet : public gui::TCustomControl {
public:
    explicit TExTabSheet(rtl::TComponent* owner);
    ~TExTabSheet() override;

    TExPageControl* ExPageControl() const { return FExPageControl; }
    // Attaches the sheet to a page control (appended, gets its tab) or
    // detaches it (nullptr).
    void SetExPageControl(TExPageControl* pc);
    int PageIndex() const;
    // Raises EListError for an index beyond the last page or below 0.
    void SetPageIndex(int value);
    // Position among the visible tabs, -1 without a tab.
    int TabIndex() const;

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int ImageIndexDummy() const { return FImageIndexDummy; }
    TGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
    void SetTabGradientDirection(TGradientDirection v);
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection v) { FHoverGradientDirection = v; }
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool v);
    bool TabEnable() const { return FTabEnable; }
    // Raises "Can not disable active tab." on the active page.
    void SetTabEnable(bool v);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor c);
    TColor TabColorTo() const { return FTabColorTo; }
    void SetTabColorTo(TColor c);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor c);
    // The text given to the native tab item; the painted tab is sized from
    // the whole caption (TExPageControl::ItemLength).
    const std::string& TabCaption() const { return FTabCaption; }

    void SelectFirstControl();
    bool AskCanClose();
    void FireClose();

    rtl::TNotifyEvent OnHide, OnShow, OnClose;
    TCanCloseEvent OnCanClose;

    void Dispatch(gui::TMessage& m) override;
    void SetVisible(bool visible) override;

protected:
    void Paint() override;
    virtual void FireHide();
    virtual void FireShow();

private:
    friend class TExPageControl;
    void RebuildTabCaption();
    std::string FTabCaption;
    TColor FTextColor = 0, FTabColor = gui::clNone, FTabColorTo = gui::clNone;
    bool FShowClose = false;
    TGradientDirection FTabGradientDirection = TGradientDirection::gdVertical;
    TGradientDirection FHoverGradientDirection = TGradientDirection::gdVertical;
    int FImageIndex = 0, FImageIndexDummy = 0;
    TExPageControl* FExPageControl = nullptr;
    bool FTabVisible = true, FTabShowing = false, FHighlighted = false;
    bool FTabEnable = true;
    TColor FColorTo = gui::clNone;
};

// ----------------------------------------------------------- page control

class TExPageControl : public gui::TDockSite {
public:
    explicit TExPageControl(rtl::TComponent* owner);
    ~TExPageControl() override;

    static constexpr uint32_t VersionNr = 0x01060101;
    std::string Version() const;
    void SetVersion(const std::string&) {}

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TExTabSheet* Pages(int index) const { return FPages.at(static_cast<std::size_t>(index)); }
    TExTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TExTabSheet* page);
    int ActivePageIndex() const { return GetSelectedPageIndex(); }
    void SetActivePageIndex(int value) { SetSelectedPageIndex(value); }
    int GetSelectedPageIndex() const;
    void SetSelectedPageIndex(int value);

    TExTabSheet* FindNextPage(TExTabSheet* curPage, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);
    bool OpenClosedTab(const std::string& tabName);
    void OpenAllClosedTabs();
    const rtl::TStringList* ClosedTabList() const { return FClosedTabList.get(); }
    // The page whose tab is at a client point, -1 for none.
    int PageIndexAt(int x, int y) const;
    gui::TRect PageTabRect(int pageIndex) const;
    bool PtInCloseGlyph(int pageIndex, int x, int y) const;

    // -- look
    gui::TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(const gui::TFont* f);
    gui::TBitmap* CloseGlyph() const { return FCloseGlyph.get(); }
    TClosePosition ClosePosition() const { return FClosePosition; }
    void SetClosePosition(TClosePosition v);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool v) { FFreeOnClose = v; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v) { FShowFocus = v; }
    TColor DefaultTextColor() const { return FDefaultTextColor; }
    void SetDefaultTextColor(TColor c);
    TColor DefaultTabColor() const { return FDefaultTabColor; }
    void SetDefaultTabColor(TColor c);
    TColor DefaultTabColorTo() const { return FDefaultTabColorTo; }
    void SetDefaultTabColorTo(TColor c);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor c) { FActiveColor = c; Invalidate(); }
    TColor ActiveColorTo() const { return FActiveColorTo; }
    void SetActiveColorTo(TColor c) { FActiveColorTo = c; Invalidate(); }
    bool TabBorder3D() const { return FTabBorder3D; }
    void SetTabBorder3D(bool v);
    TColor TabBorderColor() const { return FTabBorderColor; }
    void SetTabBorderColor(TColor c) { FTabBorderColor = c; Invalidate(); }
    bool TabSheet3D() const { return FTabSheet3D; }
    void SetTabSheet3D(bool v) { FTabSheet3D = v; Invalidate(); }
    TColor TabSheetBorderColor() const { return FTabSheetBorderColor; }
    void SetTabSheetBorderColor(TColor c) { FTabSheetBorderColor = c; Invalidate(); }
    TColor TabHoverColor() const { return FTabHoverColor; }
    void SetTabHoverColor(TColor c) { FTabHoverColor = c; }
    TColor TabHoverColorTo() const { return FTabHoverColorTo; }
    void SetTabHoverColorTo(TColor c) { FTabHoverColorTo = c; }
    TColor TabHoverBorder() const { return FTabHoverBorder; }
    void SetTabHoverBorder(TColor c) { FTabHoverBorder = c; }
    TColor TabBackGroundColor() const { return FTabBackGroundColor; }
    void SetTabBackGroundColor(TColor c) { FTabBackGroundColor = c; Invalidate(); }
    gui::TBitmap* TabBackGround() const { return FTabBackGround.get(); }
    void SetTabBackGround(const gui::TBitmap* b);
    gui::TBitmap* TabBackGroundActive() const { return FTabBackGroundActive.get(); }
    void SetTabBackGroundActive(const gui::TBitmap* b);
    TTabMargin* TabMargin() const { return FTabMargin.get(); }
    void SetTabMargin(const TTabMargin* m);
    TTabOverlapSize TabOverlap() const { return FTabOverlap; }
    void SetTabOverlap(TTabOverlapSize v) { FTabOverlap = static_cast<TTabOverlapSize>(v > 15 ? 15 : v); Invalidate(); }
    bool TabSplitLine() const { return FTabSplitLine; }
    // Raises when TabStyle is tsDotNet or tsLined.
    void SetTabSplitLine(bool v);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool v) { FRoundEdges = v; Invalidate(); }
    TTabStyle TabStyle() const { return FTabStyle; }
    void SetTabStyle(TTabStyle v) { FTabStyle = v; Invalidate(); }
    int LowerActive() const { return FLowerActive; }
    void SetLowerActive(int v) { FLowerActive = v; Invalidate(); }
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* images) override;
    void SetTabPosition(gui::TTabPosition value) override;
    bool FullRefresh() const { return FFullRefresh; }
    void SetFullRefresh(bool v) { FFullRefresh = v; }
    int HoverTab() const { return FHoverTab; }
    int UpdateCount() const { return FUpdateCount; }

    void BeginUpdate();
    void EndUpdate();

    // -- drawing (Paint uses them; the close glyph states also go straight
    // to the control's canvas from the mouse handling)
    void PaintTabs(gui::TCanvas* canvas);
    void DrawCloseGlyph(const gui::TRect& r, bool lowered);
    void DrawCloseGlyphHot(const gui::TRect& r);
    void DrawCloseGlyphDown(const gui::TRect& r);
    // Where the glyphs of the three states were last drawn (tests and hover).
    using TGlyphDrawn = std::function<void(const gui::TRect& box, int state)>;
    TGlyphDrawn OnGlyphDrawn;
    // Told for every tab rectangle the hover tracking invalidates.
    std::function<void(int pageIndex)> OnTabInvalidated;

    rtl::TNotifyEvent OnChange;
    TCanChangeEvent OnCanChange;
    gui::TDrawTabEvent OnDrawTab;

    void GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent* root) override;
    void SetChildOrder(rtl::TComponent* child, int order);
    void Loaded() override;
    void Dispatch(gui::TMessage& m) override;
    void GetSiteInfo(gui::TControl* client, gui::TRect& influenceRect, gui::TPoint mousePos, bool& canDock) override;
    void DockOver(gui::TControl* client, int x, int y, gui::TRect& dockRect, bool& accept) override;
    // The docked control on the tab under a client point, or nullptr.
    gui::TControl* DockClientAt(gui::TPoint p) const;
    TExTabSheet* SheetOfDockedControl(const gui::TControl* client) const;

protected:
    bool CanChange() override;
    void Change() override;
    int GetImageIndex(int tabIndex) override;
    int ImageExtent(bool sideTabs) const override;
    // The room the painted tab takes: the text's indent, the full caption
    // in the font it is painted in, and the margin and close glyph after it.
    int ItemLength(int index) const override;
    bool IsTabEnabledAt(int index) override;
    virtual void SyncActivePage();
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DoAddDockClient(gui::TControl* client, const gui::TRect& rect) override;
    void DoRemoveDockClient(gui::TControl* client) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TExTabSheet;
    struct PaintState;
    void AppendSheet(TExTabSheet* sheet);
    void DetachSheet(TExTabSheet* sheet);
    void ShowNativeTab(TExTabSheet* sheet, bool value);
    void RefreshNativeTab(TExTabSheet* sheet);
    void RefreshTabText(TExTabSheet* sheet);
    void UpdateActiveTab(TExTabSheet* sheet);
    void SwitchActivePage(TExTabSheet* page);
    void UpdateImageExtent();
    void MarginChanged(TMarginSize newValue, TMarginSize oldValue, int index);
    void NotifyTabsChanged();
    void CloseActiveTab();
    void InvalidateTab(int pageIndex);
    int ImagesExtent(bool sideTabs) const;
    bool SideTabs() const;
    // Painting steps.
    void PaintFrame(gui::TCanvas* c, PaintState& s);
    void PaintOneTab(gui::TCanvas* c, PaintState& s, int i);
    struct TabPaint;
    void ChooseTabColours(TabPaint& t);
    void PlaceTabText(TabPaint& t);
    void FillTab(gui::TCanvas* c, TabPaint& t);
    void OutlineTab(gui::TCanvas* c, PaintState& s, TabPaint& t);
    bool TabHasSeparator(const PaintState& s, const TabPaint& t) const;
    void OutlineClassicTab(gui::TCanvas* c, PaintState& s, TabPaint& t);
    void OutlineLinedTab(gui::TCanvas* c, const PaintState& s, const TabPaint& t);
    void OutlineDotNetTab(gui::TCanvas* c, const PaintState& s, const TabPaint& t);
    void DrawTabPicture(gui::TCanvas* c, PaintState& s, TabPaint& t);
    void ApplyTabMargins(TabPaint& t);
    void DrawTabImage(gui::TCanvas* c, TabPaint& t);
    void DrawTabCaption(gui::TCanvas* c, const TabPaint& t);
    void PaintDeferredTab(gui::TCanvas* c, PaintState& s);
    void PaintHoverOutline(gui::TCanvas* c);
    void DrawFocusFrame(gui::TCanvas* c, const gui::TRect& r, bool active, int overlap);
    void DrawGlyphBox(gui::TCanvas* c, int x, int y, bool leftTabs, TColor fill, TColor outline, TColor strokes);
    void DrawCloseGlyphAt(gui::TCanvas* c, const gui::TRect& r, int lower, bool hotAnchor, int state);
    void RotatedFont(gui::TCanvas* c, const gui::TFont* from);

    std::vector<TExTabSheet*> FPages;
    TExTabSheet* FActivePage = nullptr;
    TExTabSheet* FNewDockSheet = nullptr;
    TExTabSheet* FUndockingPage = nullptr;
    std::unique_ptr<TTabMargin> FTabMargin;
    std::unique_ptr<rtl::TStringList> FClosedTabList;
    gui::TImageList* FImages = nullptr;
    // The image extent every tab reserves while the tabs are drawn here
    // (width for top and bottom tabs, height for side tabs).
    int FDummyWidth = 1, FDummyHeight = 1;
    TColor FDefaultTextColor = 0, FDefaultTabColor = gui::clBtnFace, FDefaultTabColorTo = gui::clNone;
    TColor FActiveColor = gui::clBtnFace, FActiveColorTo = gui::clNone;
    bool FTabBorder3D = false;
    TColor FTabBorderColor = 0x808080;
    TColor FTabHoverColor = gui::clNone, FTabHoverColorTo = gui::clNone, FTabHoverBorder = gui::clNone;
    bool FShowFocus = false, FHoverClosedButton = false;
    TTabOverlapSize FTabOverlap = 0;
    bool FTabSheet3D = false;
    TColor FTabSheetBorderColor = 0x808080;
    TColor FTabBackGroundColor = gui::clBtnFace;
    bool FTabSplitLine = false, FRoundEdges = false;
    int FHoverTab = -1;
    std::unique_ptr<gui::TBitmap> FTabBackGround, FTabBackGroundActive;
    TTabStyle FTabStyle = TTabStyle::tsClassic;
    int FLowerActive = 2;
    bool FPropertiesLoaded = false, FFreeOnClose = false;
    std::unique_ptr<gui::TFont> FActiveFont;
    std::unique_ptr<gui::TBitmap> FCloseGlyph;
    bool FFullRefresh = false;
    int FUpdateCount = 0;
    TClosePosition FClosePosition = TClosePosition::cpLeft;
    bool FClosedOnPress = false, FGlyphPressed = false;
    // The press being handled: the change check looks at its point.
    bool FInMouseDown = false;
    // The docked control whose tab was pressed (dragging it out).
    gui::TControl* FDragClient = nullptr;
    gui::TPoint FMouseDownPos;
    // The canvas PaintTabs draws on (the glyph routines follow it).
    gui::TCanvas* FPaintCanvas = nullptr;
};

} // namespace controls
