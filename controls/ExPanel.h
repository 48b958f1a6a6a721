// TExPanel: a container panel with a caption bar, markup body text, an
// optional status bar and two caption buttons -- min/max collapses the panel
// to its caption bar (animated) and expands it again, close hides it.  The
// user drags it by its caption and sizes it at its right and bottom edges.
//
// The one rule: FullHeight is the extent the panel returns to when it
// expands.  Height (caption on top) or Width (caption on the left) written
// while expanded also sets it; written while collapsed it does not.
//
//     auto* p = new controls::TExPanel(form);
//     p->SetParent(form);
//     p->Caption()->SetVisible(true);
//     p->Caption()->SetText("Information");
//     p->Caption()->SetMinMaxButton(true);
//     p->SetHeight(93);        // FullHeight 93
//     p->SetCollaps(true);     // caption bar only; SetCollaps(false) -> 93
//
// Painting is in ExPanelPaint.cpp, the mouse in ExPanelMouse.cpp, position
// saving in ExPanelPosition.cpp; the panel group (TExPanelGroup) in
// ExPanelGroup.cpp, the settings and styler in ExPanelStyler.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ComponentStyle.h"
#include "controls/ExGradient.h"
#include "controls/ExImage.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

namespace gui {
class TImageList;
}
namespace htmltext {
class THTMLPictureCache;
class TPictureContainer;
}

namespace controls {

class TCustomExPanel;
class TExPanelStyler;
class TExPanelSettings;

enum class TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };
enum class TTextVAlignment { tvaTop, tvaCenter, tvaBottom };
enum class TCaptionPosition { cpTop, cpLeft };
enum class TCaptionButtonPosition { cbpRight, cbpLeft };
enum class TCaptionShape { csRectangle, csRounded, csSemiRounded };
enum class TShadeType {
    stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump,
    stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap,
    stBitmapRStretch, stBitmapLStretch,
};
enum class TPanelPositionLocation { clRegistry, clInifile };
enum class TExPanelStyle {
    psXP, psFlat, psQuor, psClassic, psOffice2003Blue, psOffice2003Olive, psOffice2003Silver,
    psOffice2003Classic, psOffice2007Luna, psOffice2007Obsidian, psWhidbey, psWindowsXP, psCustom,
    psOffice2007Silver, psWindowsVista, psWindows7, psTerminal,
};
enum class TGroupStyle { gsVertical, gsHorizontal };

using TAnchorEvent = std::function<void(rtl::TObject* sender, const std::string& anchor)>;
using TAnchorHintEvent = std::function<void(rtl::TObject* sender, std::string& anchor)>;
using TPanelPaintEvent = std::function<void(rtl::TObject* sender, gui::TCanvas* canvas, const gui::TRect& r)>;

// ---------------------------------------------------------------- companions

class TPanelCaption : public rtl::TPersistent {
public:
    TPanelCaption();
    ~TPanelCaption() override;

    int Height() const { return FHeight; }
    void SetHeight(int v);
    // Scaling sets the height without a notice.
    void SetHeightQuiet(int v) { FHeight = v; }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v);
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* f) { FFont->Assign(f); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool v);
    bool MinMaxButton() const { return FMinMaxButton; }
    void SetMinMaxButton(bool v);
    gui::TColor MinMaxButtonColor() const { return FMinMaxButtonColor; }
    void SetMinMaxButtonColor(gui::TColor v);
    gui::TColor CloseButtonColor() const { return FCloseButtonColor; }
    void SetCloseButtonColor(gui::TColor v);
    gui::TBitmap* MinGlyph() const { return FMinGlyph.get(); }
    void SetMinGlyph(const gui::TBitmap* b);
    gui::TBitmap* MaxGlyph() const { return FMaxGlyph.get(); }
    void SetMaxGlyph(const gui::TBitmap* b);
    gui::TBitmap* CloseMinGlyph() const { return FCloseMinGlyph.get(); }
    void SetCloseMinGlyph(const gui::TBitmap* b);
    gui::TBitmap* CloseMaxGlyph() const { return FCloseMaxGlyph.get(); }
    void SetCloseMaxGlyph(const gui::TBitmap* b);
    gui::TColor CloseColor() const { return FCloseColor; }
    void SetCloseColor(gui::TColor v);
    int ShadeLight() const { return FShadeLight; }
    // Values below 200 are stored as 200.
    void SetShadeLight(int v);
    uint8_t ShadeGrain() const { return FShadeGrain; }
    void SetShadeGrain(uint8_t v);
    TShadeType ShadeType() const { return FShadeType; }
    void SetShadeType(TShadeType v);
    TCaptionShape Shape() const { return FShape; }
    void SetShape(TCaptionShape v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    gui::TBitmap* Background() const { return FBackground.get(); }
    void SetBackground(const gui::TBitmap* b);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int v);
    TCaptionButtonPosition ButtonPosition() const { return FButtonPosition; }
    void SetButtonPosition(TCaptionButtonPosition v) { FButtonPosition = v; }
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v);
    TCaptionPosition Position() const { return FPosition; }
    void SetPosition(TCaptionPosition v);
    bool MinMaxCaption() const { return FMinMaxCaption; }
    void SetMinMaxCaption(bool v) { FMinMaxCaption = v; }
    gui::TColor CloseButtonHoverColor() const { return FCloseButtonHoverColor; }
    void SetCloseButtonHoverColor(gui::TColor v) { FCloseButtonHoverColor = v; }
    gui::TColor MinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
    void SetMinMaxButtonHoverColor(gui::TColor v) { FMinMaxButtonHoverColor = v; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);

    // Copies the look but not Text, Visible, Position, TopIndent or MinMaxCaption.
    void Assign(const rtl::TPersistent* source) override;

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnShadeChange;
    rtl::TNotifyEvent OnStateChange;
    rtl::TNotifyEvent OnPositionChange;

private:
    void Changed();
    void ShadeChanged();
    int FHeight = 20;
    std::string FText;
    gui::TColor FColor = gui::clHighlight;
    std::unique_ptr<gui::TFont> FFont;
    bool FVisible = false;
    bool FCloseButton = false;
    bool FMinMaxButton = false;
    gui::TColor FMinMaxButtonColor = 0xFFFFFF;
    gui::TColor FCloseButtonColor = 0xFFFFFF;
    std::unique_ptr<gui::TBitmap> FMinGlyph, FMaxGlyph, FCloseMinGlyph, FCloseMaxGlyph;
    gui::TColor FCloseColor = gui::clBtnFace;
    int FShadeLight = 200;
    uint8_t FShadeGrain = 32;
    TShadeType FShadeType = TShadeType::stNormal;
    TCaptionShape FShape = TCaptionShape::csRectangle;
    bool FFlat = false;
    std::unique_ptr<gui::TBitmap> FBackground;
    int FIndent = 0;
    int FTopIndent = 0;
    TCaptionButtonPosition FButtonPosition = TCaptionButtonPosition::cbpRight;
    gui::TColor FColorTo = gui::clNone;
    TCaptionPosition FPosition = TCaptionPosition::cpTop;
    bool FMinMaxCaption = false;
    gui::TColor FCloseButtonHoverColor = gui::clNone;
    gui::TColor FMinMaxButtonHoverColor = gui::clNone;
    TGradientDirection FGradientDirection = TGradientDirection::gdHorizontal;
};

class TPanelStatusBar : public rtl::TPersistent {
public:
    TPanelStatusBar();
    ~TPanelStatusBar() override;

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v);
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    bool BevelInner() const { return FBevelInner; }
    void SetBevelInner(bool v);
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* f) { FFont->Assign(f); }
    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(gui::TBorderStyle v);
    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor v);

    // Copies Color, ColorTo, GradientDirection, BorderStyle, BorderColor and
    // Font, only from another status bar.
    void Assign(const rtl::TPersistent* source) override;

    rtl::TNotifyEvent OnChange;

private:
    void Changed();
    int FImageIndex = -1;
    std::string FText;
    gui::TColor FColor = gui::clBtnFace;
    gui::TColor FColorTo = gui::clNone;
    TGradientDirection FGradientDirection = TGradientDirection::gdHorizontal;
    bool FVisible = false;
    int FHeight = 18;
    bool FBevelInner = false;
    std::unique_ptr<gui::TFont> FFont;
    gui::TBorderStyle FBorderStyle = gui::TBorderStyle::bsNone;
    gui::TColor FBorderColor = 0;
};

class TAutoSize : public rtl::TPersistent {
public:
    explicit TAutoSize(TCustomExPanel* owner) : FOwner(owner) {}
    bool Enabled() const { return FEnabled; }
    // True runs the owner's auto-size at once.
    void SetEnabled(bool v);
    bool Height() const { return FHeight; }
    void SetHeight(bool v) { FHeight = v; }
    bool Width() const { return FWidth; }
    void SetWidth(bool v) { FWidth = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    TCustomExPanel* FOwner;
    bool FEnabled = false;
    bool FHeight = true;
    bool FWidth = true;
};

// Where a panel keeps its place between runs (ExPanelPosition.cpp).
class TPanelPosition : public rtl::TPersistent {
public:
    explicit TPanelPosition(rtl::TComponent* owner) : FOwner(owner) {}
    bool Save() const { return FSave; }
    void SetSave(bool v) { FSave = v; }
    const std::string& Key() const { return FKey; }
    void SetKey(const std::string& v) { FKey = v; }
    const std::string& Section() const { return FSection; }
    void SetSection(const std::string& v) { FSection = v; }
    TPanelPositionLocation Location() const { return FLocation; }
    void SetLocation(TPanelPositionLocation v) { FLocation = v; }
    rtl::TComponent* Owner() const { return FOwner; }
    // Copies Key, Section, Save and Location from another position.
    void Assign(const rtl::TPersistent* source) override;

private:
    rtl::TComponent* FOwner;
    bool FSave = false;
    std::string FKey, FSection;
    TPanelPositionLocation FLocation = TPanelPositionLocation::clRegistry;
};

// -------------------------------------------------------------------- panel

// A parent that arranges caption panels (the panel group) and is told when
// one of them changes size, place or state.
class IPanelArranger {
public:
    virtual ~IPanelArranger() = default;
    virtual void ChildPanelChanged(TCustomExPanel* panel) = 0;
};

class TCustomExPanel : public gui::TCustomPanel {
public:
    explicit TCustomExPanel(rtl::TComponent* owner);
    ~TCustomExPanel() override;

    // -- size with FullHeight bookkeeping
    int GetHeight() const { return Height(); }
    void SetHeight(int v);
    int GetWidth() const { return Width(); }
    void SetWidth(int v);
    int FullHeight() const { return FFullHeight; }
    void SetFullHeight(int v) { FFullHeight = v; }

    // -- collapse
    bool Collaps() const { return FCollaps; }
    void SetCollaps(bool v);
    bool Collapsing() const { return FCollapsing; }
    gui::TColor CollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(gui::TColor v) { FCollapsColor = v; }
    int CollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(int v) { FCollapsDelay = v; }
    int CollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(int v) { FCollapsSteps = v; }
    bool AutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool v) { FAutoHideChildren = v; }

    // -- companions (the setters copy)
    TPanelCaption* Caption() const { return FCaption.get(); }
    void SetCaption(const TPanelCaption* c) { FCaption->Assign(c); }
    TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(const TPanelStatusBar* s) { FStatusBar->Assign(s); }
    TAutoSize* AutoSize() const { return FAutoSize.get(); }
    void SetAutoSize(const TAutoSize* a);
    TPanelPosition* Position() const { return FPosition.get(); }
    void SetPosition(const TPanelPosition* p) { FPosition->Assign(p); }
    TExImage* Background() const { return FBackground.get(); }
    void SetBackground(const TExImage* b) { FBackground->Assign(b); }

    // -- look
    TBackGroundPosition BackgroundPosition() const { return FBackgroundPosition; }
    void SetBackgroundPosition(TBackGroundPosition v);
    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor v);
    bool BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool v);
    bool Buffered() const { return FBuffered; }
    void SetBuffered(bool v) { FBuffered = v; }
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v);
    gui::TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(gui::TColor v);
    gui::TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(gui::TColor v);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int v);
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int v);
    gui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(gui::TColor v);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v);
    gui::TColor URLColor() const { return FURLColor; }
    void SetURLColor(gui::TColor v);
    bool Hover() const { return FHover; }
    void SetHover(bool v) { FHover = v; }
    gui::TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(gui::TColor v) { FHoverColor = v; }
    gui::TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(gui::TColor v) { FHoverFontColor = v; }
    TTextVAlignment TextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment v);
    // HTML body text; the plain accessor strips the markup.
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    std::string PlainText() const;
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* v);
    htmltext::TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(htmltext::TPictureContainer* v);
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }

    // -- behaviour
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool v) { FCanMove = v; }
    bool CanSize() const { return FCanSize; }
    void SetCanSize(bool v);
    bool FixedTop() const { return FFixedTop; }
    void SetFixedTop(bool v) { FFixedTop = v; }
    bool FixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool v) { FFixedLeft = v; }
    bool FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool v) { FFixedHeight = v; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool v) { FFixedWidth = v; }
    // The panel is freed once its close button's release has been handled.
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool v) { FFreeOnClose = v; }
    bool ShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool v) { FShowMoveCursor = v; }

    TExPanelStyler* Styler() const { return FStyler; }
    // Stores the reference and, unless loading, applies the styler's settings.
    virtual void SetStyler(TExPanelStyler* v);

    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr uint32_t GetVersionNr() { return 0x01090000; }

    // -- operations
    void SetCursor(gui::TCursor c);
    void BeginUpdate();
    void EndUpdate();
    // Tells a parent panel group that this panel changed.
    void Synchronize();
    void SavePosition();
    void LoadPosition();
    // The anchor text under a client point (empty when none).
    std::string AnchorAt(int x, int y);
    virtual void ShadeHeader();
    virtual void CollapsChanged() {}
    void DoAutoSize();
    // Copies the look and behaviour of the settings, keeping the panel's own
    // caption buttons; AssignSettings also takes Height, Width and Hint.
    virtual void ApplySettings(const TExPanelSettings* s);
    void AssignSettings(const TExPanelSettings* s);
    int OrderIndex() const { return FOrderIndex; }
    void SetOrderIndex(int v) { FOrderIndex = v; }
    // The shade bitmap of the caption (for looking at and for tests).
    gui::TBitmap* CaptionShade() const { return FShade.get(); }
    // The caption button size used for hit tests.
    int ButtonSize(bool forHitTest) const;
    bool IsThemed() const;

    void Assign(const rtl::TPersistent* source) override;
    void DefineProperties(rtl::TFiler& filer) override;
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void AlignControls(gui::TControl* control, gui::TRect& rect) override;
    void WndProc(gui::TMessage& m) override;
    void Dispatch(gui::TMessage& m) override;

    // -- events
    TAnchorEvent OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    rtl::TNotifyEvent OnCaptionClick, OnCaptionDBlClick, OnClose, OnEndCollapsExpand, OnEndMoveSize,
        OnMaximize, OnMinimize;
    TPanelPaintEvent OnPaint;

    // -- colour routines of the painting
    static gui::TColor BlendColor(gui::TColor a, gui::TColor b, int percent);
    static void DrawPanelGradient(gui::TCanvas& c, gui::TColor from, gui::TColor to, int steps, const gui::TRect& r,
                                  bool horizontal);
    static void DrawMirrorGradient(gui::TCanvas& c, const gui::TRect& r, gui::TColor color, gui::TColor colorTo,
                                   gui::TColor mirror, gui::TColor mirrorTo, TGradientDirection dir);

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Resize() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TAutoSize;
    void CaptionChanged(rtl::TObject*);
    void CaptionShadeChanged(rtl::TObject*);
    void CaptionStateChanged(rtl::TObject*);
    void CaptionPositionChanged(rtl::TObject*);
    void SetChildrenVisible(bool visible);
    // Painting pieces (ExPanelPaint.cpp).
    void PaintCaption(gui::TCanvas& c);
    void PaintCaptionButtons(gui::TCanvas& c, int& L, int& T, int& R, int& B);
    void PaintStatusBar(gui::TCanvas& c);
    void DrawCaptionShape(gui::TCanvas& c, gui::TRect r);
    bool DrawMarkup(gui::TCanvas& c, const std::string& text, const gui::TRect& r, bool wordWrap, bool measure,
                    bool check, int hoverIndex, int px, int py, int* w, int* h, std::string* anchor, int* index,
                    gui::TRect* anchorRect, bool hitTestColours = false);
    // Mouse pieces (ExPanelMouse.cpp).
    gui::TRect CloseRect(int s) const;
    gui::TRect MinMaxRect(int s) const;
    gui::TRect CaptionRect(bool movedForButtons, int s) const;
    void WMNCHitTest(gui::TMessage& m);
    void WMSizing(gui::TMessage& m);
    void WMMoving(gui::TMessage& m);
    void CMMouseLeave(gui::TMessage& m);
    void CMHintShow(gui::TMessage& m);
    void DoBringToTop();
    // Frees the panel after the message being handled (FreeOnClose).
    void ReleaseLater();
    // Tells a collapse loop running on the stack that the panel was freed.
    struct TAliveGuard {
        bool alive;
        TAliveGuard* prev;
    };
    TAliveGuard* FAliveGuard = nullptr;
    bool FReleasePending = false;

    std::unique_ptr<TPanelCaption> FCaption;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
    std::unique_ptr<TPanelPosition> FPosition;
    std::unique_ptr<TAutoSize> FAutoSize;
    std::unique_ptr<TExImage> FBackground;
    std::unique_ptr<htmltext::THTMLPictureCache> FCache;
    std::unique_ptr<gui::TBitmap> FShade;
    std::vector<gui::TControl*> FHiddenChildren;
    gui::TImageList* FImages = nullptr;
    htmltext::TPictureContainer* FPictureContainer = nullptr;
    TExPanelStyler* FStyler = nullptr;

    bool FAnchorHint = false;
    bool FAutoHideChildren = true;
    TBackGroundPosition FBackgroundPosition = TBackGroundPosition::bpTopLeft;
    gui::TColor FBorderColor = 0;
    bool FBorderShadow = false;
    bool FBuffered = true;
    bool FCanMove = false;
    bool FCanSize = false;
    bool FCollaps = false;
    gui::TColor FCollapsColor = 0x808080;
    int FCollapsDelay = 20;
    int FCollapsSteps = 0;
    gui::TColor FColorTo = gui::clNone;
    gui::TColor FColorMirror = gui::clNone;
    gui::TColor FColorMirrorTo = gui::clNone;
    bool FEllipsis = false;
    bool FFixedTop = false, FFixedLeft = false, FFixedHeight = false, FFixedWidth = false;
    bool FFreeOnClose = false;
    TGradientDirection FGradientDirection = TGradientDirection::gdVertical;
    bool FHover = false;
    gui::TColor FHoverColor = gui::clNone;
    gui::TColor FHoverFontColor = gui::clNone;
    int FIndent = 0, FTopIndent = 0, FLineSpacing = 0;
    gui::TColor FShadowColor = 0x808080;
    int FShadowOffset = 2;
    bool FShowMoveCursor = false;
    std::string FText;
    TTextVAlignment FTextVAlign = TTextVAlignment::tvaTop;
    gui::TColor FURLColor = 0xFF0000;

    gui::TColor FOldColor = gui::clBtnFace;
    int FFullHeight = 0;
    std::string FAnchor;
    int FHoverHyperLink = -1, FOldHoverHyperLink = -1, FCaptionHoverHyperLink = -1;
    gui::TRect FHoverRect, FCaptionHoverRect;
    gui::TPoint FSizeMoveOrigin, FSizeMoveSize;
    gui::TCursor FOwnCursor = gui::crDefault;
    bool FMoving = false;
    bool FCollapsing = false;
    bool FIsXP = true;
    bool FCloseHover = false, FMinMaxHover = false;
    bool FReleasing = false;
    int FOrderIndex = 0;
    int FLastWidth = -1, FLastHeight = -1;
};

class TExPanel : public TCustomExPanel {
public:
    explicit TExPanel(rtl::TComponent* owner) : TCustomExPanel(owner) {}
};

// ------------------------------------------------------- settings and styler

// The look and behaviour of a caption panel in one object, to style many
// panels alike.  Every notifying setter fires OnChange unless an update
// bracket (BeginUpdate / EndUpdate) holds it back until its end.
class TExPanelSettings : public rtl::TPersistent {
public:
    TExPanelSettings();
    ~TExPanelSettings() override;

#define TEC_PLAIN(Type, Name, Def)                  \
    Type Name() const { return F##Name; }           \
    void Set##Name(Type v) { F##Name = v; }
#define TEC_NOTIFY(Type, Name, Def)                 \
    Type Name() const { return F##Name; }           \
    void Set##Name(Type v) { F##Name = v; Changed(); }
#define TEC_SETTINGS_FIELDS(PLAIN, NOTIFY)                           \
    PLAIN(bool, FixedHeight, false)                                   \
    NOTIFY(bool, CanMove, false)                                      \
    PLAIN(bool, FixedWidth, false)                                    \
    NOTIFY(bool, Hover, false)                                        \
    NOTIFY(bool, AutoHideChildren, true)                              \
    NOTIFY(bool, AnchorHint, false)                                   \
    PLAIN(bool, FixedLeft, false)                                     \
    NOTIFY(bool, CanSize, false)                                      \
    PLAIN(bool, ShowHint, false)                                      \
    PLAIN(bool, FixedTop, false)                                      \
    NOTIFY(bool, Collaps, false)                                      \
    PLAIN(bool, ShowMoveCursor, false)                                \
    NOTIFY(int, CollapsDelay, 0)                                      \
    NOTIFY(int, BevelWidth, 1)                                        \
    NOTIFY(int, CollapsSteps, 0)                                      \
    PLAIN(int, Height, 120)                                           \
    PLAIN(int, ShadowOffset, 0)                                       \
    NOTIFY(std::string, Text, {})                                     \
    PLAIN(std::string, Hint, {})                                      \
    NOTIFY(gui::TBevelCut, BevelOuter, gui::TBevelCut::bvNone)        \
    NOTIFY(gui::TBevelCut, BevelInner, gui::TBevelCut::bvNone)        \
    NOTIFY(gui::TColor, HoverColor, gui::clNone)                      \
    NOTIFY(gui::TColor, CollapsColor, gui::clBtnFace)                 \
    NOTIFY(gui::TColor, BorderColor, 0)                               \
    NOTIFY(gui::TColor, HoverFontColor, gui::clNone)                  \
    PLAIN(gui::TColor, ShadowColor, 0)                                \
    PLAIN(gui::TColor, Color, gui::clBtnFace)                         \
    NOTIFY(gui::TColor, URLColor, 0xFF0000)                           \
    NOTIFY(TTextVAlignment, TextVAlign, TTextVAlignment::tvaTop)      \
    NOTIFY(gui::TBorderStyle, BorderStyle, gui::TBorderStyle::bsSingle) \
    NOTIFY(gui::TCursor, Cursor, gui::crDefault)                      \
    NOTIFY(bool, BorderShadow, false)                                 \
    NOTIFY(int, Indent, 0)                                            \
    NOTIFY(int, TopIndent, 0)                                         \
    PLAIN(int, Width, 0)                                              \
    NOTIFY(int, BorderWidth, 0)
    TEC_SETTINGS_FIELDS(TEC_PLAIN, TEC_NOTIFY)
#undef TEC_PLAIN
#undef TEC_NOTIFY

    // Fire only when the value changes.
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v);
    gui::TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(gui::TColor v);
    gui::TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(gui::TColor v);
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* f);
    TPanelCaption* Caption() const { return FCaption.get(); }
    // Takes the caption in place of the owned one.
    void SetCaption(std::unique_ptr<TPanelCaption> c);
    TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(const TPanelStatusBar* s);
    // No position object exists unless one is given (not owned).
    TPanelPosition* Position() const { return FPosition; }
    void SetPosition(TPanelPosition* p) { FPosition = p; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Copies nothing: code that wants other defaults sets the fields.
    void Assign(const rtl::TPersistent*) override {}

    rtl::TNotifyEvent OnChange;

private:
    void Changed();
    void HookCaption();
#define TEC_FIELD(Type, Name, Def) Type F##Name = Def;
    TEC_SETTINGS_FIELDS(TEC_FIELD, TEC_FIELD)
#undef TEC_FIELD
#undef TEC_SETTINGS_FIELDS
    gui::TColor FColorTo = gui::clNone, FColorMirror = gui::clNone, FColorMirrorTo = gui::clNone;
    std::unique_ptr<gui::TFont> FFont;
    std::unique_ptr<TPanelCaption> FCaption;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
    TPanelPosition* FPosition = nullptr;
    int FUpdateCount = 0;
};

// A hidden window that reports a change of the desktop's style (WM_THEMECHANGED).
class TThemeNotifierWindow : public gui::TWinControl {
public:
    explicit TThemeNotifierWindow(rtl::TComponent* owner);
    void WndProc(gui::TMessage& m) override;
    rtl::TNotifyEvent OnThemeChange;
};

// Fills its settings from one of 17 colour presets and pushes them into
// every panel of its owner whose Styler is this one.
//
//     auto* styler = new controls::TExPanelStyler(form);
//     panel->SetStyler(styler);
//     styler->SetStyle(controls::TExPanelStyle::psOffice2003Blue);   // panels follow
class TExPanelStyler : public rtl::TComponent, public IComponentStyle {
public:
    explicit TExPanelStyler(rtl::TComponent* owner);
    ~TExPanelStyler() override;

    TExPanelSettings* Settings() const { return FSettings.get(); }
    // Takes the settings in place of the owned ones.
    void SetSettings(std::unique_ptr<TExPanelSettings> s);
    TExPanelStyle Style() const { return FStyle; }
    void SetStyle(TExPanelStyle v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v) { FAutoThemeAdapt = v; }
    const std::string& Comments() const { return FComments; }
    void SetComments(const std::string& v) { FComments = v; }
    TThemeNotifierWindow* Notifier() const { return FNotifier; }

    void SetComponentStyle(TQuorStyle style) override;
    void Assign(const rtl::TPersistent* source) override;
    void Loaded() override;

private:
    void SettingsChanged();
    void ThemeChanged();
    std::unique_ptr<TExPanelSettings> FSettings;
    std::string FComments;
    TThemeNotifierWindow* FNotifier = nullptr;
    TExPanelStyle FStyle = TExPanelStyle::psXP;
    bool FAutoThemeAdapt = false;
};

// The colour scheme of the active desktop style as the panel family sees
// it: 1 blue, 2 olive, 3 silver, 0 otherwise or without a style.
int PanelXPColorScheme();

// ------------------------------------------------------------- panel group

// A caption panel that stacks the caption panels placed in it: top to
// bottom in columns (gsVertical) or side by side (gsHorizontal), with a
// scroll bar when they do not fit.  A panel freed elsewhere leaves the
// group's list by its removal notice.
//
//     auto* group = new controls::TExPanelGroup(form);
//     group->SetParent(form);
//     auto* p = group->AddPanel();   // placed, styled by DefaultPanel
//     p->Caption()->SetText("First");
class TExPanelGroup : public TExPanel, public IPanelArranger {
public:
    explicit TExPanelGroup(rtl::TComponent* owner);
    ~TExPanelGroup() override;

    int HorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(int v);
    int VertPadding() const { return FVertPadding; }
    void SetVertPadding(int v);
    TGroupStyle GroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(TGroupStyle v);
    int Columns() const { return FColumns; }
    // Values <= 0 are ignored.
    void SetColumns(int v);
    bool ScrollSmooth() const { return FScrollSmooth; }
    void SetScrollSmooth(bool v) { FScrollSmooth = v; }
    TExPanelSettings* DefaultPanel() const { return FDefaultPanel.get(); }
    void SetDefaultPanel(const TExPanelSettings* s) { FDefaultPanel->Assign(s); }
    gui::TScrollBar* ScrollBar() const { return FScrollBar; }

    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    TCustomExPanel* Panels(int i) const { return FPanels.at(static_cast<std::size_t>(i)); }
    void ChildPanelChanged(TCustomExPanel* panel) override;
    void UpdateGroup();
    void OpenAllPanels();
    void CloseAllPanels();
    void BeginUpdate();
    void EndUpdate();
    void InitPanels();
    TCustomExPanel* AddPanel();
    TCustomExPanel* AppendPanel();
    TCustomExPanel* InsertPanel(int index);
    // Ignored unless 0 <= index < PanelCount.
    void RemovePanel(int index);
    // Raises rtl::EListError for an index outside the list.
    void MovePanel(int fromIndex, int toIndex);
    void Clear();
    void SavePanelPositions();
    void LoadPanelPositions();
    // The extent the visible panels need (height for gsVertical, width for gsHorizontal).
    int NeededExtent() const;

    void SetBounds(int left, int top, int width, int height) override;
    void AlignControls(gui::TControl* control, gui::TRect& rect) override;
    void CollapsChanged() override;
    void Loaded() override;
    void Dispatch(gui::TMessage& m) override;
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    TCustomExPanel* NewPanel();
    void Track(TCustomExPanel* p);
    void Renumber();
    void ArrangePanels();
    void ArrangeVertical();
    void ArrangeHorizontal();
    void FitScrollBar();
    std::vector<TCustomExPanel*> SortedChildPanels(bool byLeft) const;
    void WheelBy(int delta);

    int FUpdateCount = 0;
    int FHorzPadding = 8, FVertPadding = 8;
    TGroupStyle FGroupStyle = TGroupStyle::gsVertical;
    bool FArranging = false;
    gui::TScrollBar* FScrollBar = nullptr;
    std::vector<TCustomExPanel*> FPanels;
    std::unique_ptr<TExPanelSettings> FDefaultPanel;
    int FColumns = 1;
    bool FIndexOrder = false;
    bool FScrollSmooth = false;
    int FLastWidth = 0, FLastHeight = 0;
};

} // namespace controls
