// A windowless label that shows markup: anchors with hover colours and
// events, gradient backgrounds, bevels and border, autosizing, vertical
// alignment, anchor hints, highlighting and printing onto any canvas.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "htmltext/htmlbuttons.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/Lists.h"

namespace gui {
class TImageList;
}

namespace htmltext {

enum class TAutoSizeType { asVertical, asHorizontal, asBoth };
enum class TVAlignment { tvaTop, tvaCenter, tvaBottom };
enum class TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };
using TAnchorHintEvent = std::function<void(rtl::TObject* sender, std::string& anchor)>;

class THTMLLabel : public gui::TGraphicControl {
public:
    explicit THTMLLabel(rtl::TComponent* owner);
    ~THTMLLabel() override;

    // The markup, one or more lines (shown joined by one blank).
    rtl::TStringList* HTMLText() const { return FHTMLText.get(); }
    // Takes the list's text with its line breaks removed, as one line.
    void SetHTMLText(const rtl::TStringList* value);
    // The markup as plain text.
    std::string Text() const;
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    // The markup's size in a box of 4096 x 4096.
    gui::TSize HTMLSize();
    gui::TSize GetSizeWithMaxWidth(int maxWidth);

    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }
    bool AutoSizing() const { return FAutoSizing; }
    void SetAutoSizing(bool v);
    TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
    void SetAutoSizeType(TAutoSizeType v) { FAutoSizeType = v; SetAutoSizing(FAutoSizing); }
    gui::TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(gui::TBevelCut v) { FBevelInner = v; Invalidate(); }
    gui::TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(gui::TBevelCut v) { FBevelOuter = v; Invalidate(); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v) { FBevelWidth = v; Invalidate(); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { FBorderWidth = v; Invalidate(); }
    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(gui::TBorderStyle v) { FBorderStyle = v; Invalidate(); }
    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor v) { if (v != FBorderColor) { FBorderColor = v; Invalidate(); } }
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v) { if (v != FColorTo) { FColorTo = v; Invalidate(); } }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v) { if (v != FEllipsis) { FEllipsis = v; Invalidate(); } }
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType v) { if (v != FGradientType) { FGradientType = v; Invalidate(); } }
    bool HintShowFull() const { return FHintShowFull; }
    void SetHintShowFull(bool v) { FHintShowFull = v; }
    bool Hover() const { return FHover; }
    void SetHover(bool v) { FHover = v; }
    gui::TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(gui::TColor v) { FHoverColor = v; }
    gui::TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(gui::TColor v) { FHoverFontColor = v; }
    bool HTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool v) { FHTMLHint = v; }
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* v);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* v);
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int v) { if (v != FLineWidth) { FLineWidth = v; Invalidate(); } }
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int v) { if (v != FLineSpacing) { FLineSpacing = v; Invalidate(); } }
    gui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(gui::TColor v) { if (v != FShadowColor) { FShadowColor = v; Invalidate(); } }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v) { if (v != FShadowOffset) { FShadowOffset = v; Invalidate(); } }
    gui::TColor URLColor() const { return FURLColor; }
    void SetURLColor(gui::TColor v) { if (v != FURLColor) { FURLColor = v; Invalidate(); } }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v) { if (v != FVAlignment) { FVAlignment = v; Invalidate(); } }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; Invalidate(); }
    std::string Version() const { return VersionText(static_cast<uint32_t>(VersionNumber())); }
    void SetVersion(const std::string&) {}
    virtual int VersionNumber() const { return 17301506; }
    int HoverHyperLink() const { return FHoverHyperLink; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Paints at once.
    void Doit() { Repaint(); }
    // Draws the markup into r of any canvas (its font unchanged).
    void HTMLPrint(gui::TCanvas& canvas, const gui::TRect& r);
    void HilightText(const std::string& hiText, bool doCase);
    void MarkText(const std::string& hiText, bool doCase);
    void UnHilightText();
    void UnMarkText();
    // The anchor under a client point and its hover rectangle (left -1: none).
    std::string AnchorAtPoint(int x, int y, gui::TRect& hoverRect);
    // The hint for a client point: the anchor, the whole text, or Hint.
    std::string HintAt(int x, int y, gui::TPoint* hintPos = nullptr);

    void Loaded() override;

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;

protected:
    virtual std::string MarkupText() const;
    virtual void MarkupChanged() { Invalidate(); }
    virtual bool RenderHTML(gui::TCanvas& canvas, const gui::TRect& r, int x, int y, int hoverIndex,
                            bool hotSpot, bool printing, bool hoverStyle, gui::TColor linkColor,
                            gui::TColor hoverColor, gui::TColor hoverFontColor, TMarkupResult& res);
    void Paint() override;
    void Dispatch(gui::TMessage& m) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    void HTMLTextChanged();
    void InvalidateOnParent(const gui::TRect& r);
    void ReplaceText(const std::string& markup);

    std::string FAnchor;
    bool FAutoSizing = false;
    TAutoSizeType FAutoSizeType = TAutoSizeType::asVertical;
    std::unique_ptr<rtl::TStringList> FHTMLText;
    bool FAnchorHint = false;
    gui::TImageList* FImages = nullptr;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    int FUpdateCount = 0;
    gui::TColor FURLColor = gui::clBlue;
    gui::TBevelCut FBevelInner = gui::TBevelCut::bvNone;
    gui::TBevelCut FBevelOuter = gui::TBevelCut::bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    gui::TBorderStyle FBorderStyle = gui::TBorderStyle::bsNone;
    int FShadowOffset = 2;
    gui::TColor FShadowColor = gui::clGray;
    bool FHover = false;
    int FHoverHyperLink = -1;
    int FOldHoverHyperLink = -1;
    gui::TColor FHoverColor = gui::clNone;
    gui::TColor FHoverFontColor = gui::clNone;
    TVAlignment FVAlignment = TVAlignment::tvaTop;
    bool FEllipsis = false;
    gui::TRect FCurrHoverRect{-1, -1, -1, -1};
    TPictureContainer* FContainer = nullptr;
    TGradientType FGradientType = TGradientType::gtFullHorizontal;
    gui::TColor FBorderColor = gui::clBlack;
    int FLineWidth = 2;
    int FLineSpacing = 0;
    bool FHTMLHint = false;
    bool FHintShowFull = false;
    int FXSize = 0, FYSize = 0;
    gui::TColor FColorTo = gui::clNone;
    bool FTransparent = false;
};

// The label's gradient: steps bands from one colour towards the other.
void DrawLabelGradient(gui::TCanvas& canvas, gui::TColor from, gui::TColor to, bool horizontal,
                       const gui::TRect& r, int steps);

} // namespace htmltext
