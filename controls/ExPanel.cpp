// The caption panel's data: its companions (caption, status bar, auto-size,
// position), property setters, collapse and expand, auto-size, child
// alignment and the form-file value FullHeight.
#include "controls/ExPanel.h"

#include <algorithm>

#include "controls/ThemeBinding.h"
#include "controls/VersionText.h"
#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StepPause.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Exceptions.h"

namespace controls {

using namespace gui;

namespace {
void CopyBitmap(TBitmap& into, const TBitmap* from)
{
    if (from && from != &into) into.Assign(from);
}
} // namespace

// ------------------------------------------------------------ TPanelCaption

TPanelCaption::TPanelCaption()
    : FFont(std::make_unique<TFont>()), FMinGlyph(std::make_unique<TBitmap>()),
      FMaxGlyph(std::make_unique<TBitmap>()), FCloseMinGlyph(std::make_unique<TBitmap>()),
      FCloseMaxGlyph(std::make_unique<TBitmap>()), FBackground(std::make_unique<TBitmap>())
{
    FFont->SetColor(clHighlightText);
    FFont->OnChange = [this](rtl::TObject*) { Changed(); };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::Changed()
{
    if (OnChange) OnChange(this);
}

void TPanelCaption::ShadeChanged()
{
    if (OnShadeChange) OnShadeChange(this);
    Changed();
}

void TPanelCaption::SetHeight(int v)
{
    if (v == FHeight) return;
    FHeight = v;
    Changed();
}

void TPanelCaption::SetText(const std::string& v)
{
    FText = v;
    Changed();
}

void TPanelCaption::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    ShadeChanged();
}

void TPanelCaption::SetVisible(bool v)
{
    FVisible = v;
    Changed();
    if (OnStateChange) OnStateChange(this);
}

void TPanelCaption::SetCloseButton(bool v)
{
    if (v == FCloseButton) return;
    FCloseButton = v;
    Changed();
}

void TPanelCaption::SetMinMaxButton(bool v)
{
    if (v == FMinMaxButton) return;
    FMinMaxButton = v;
    Changed();
}

void TPanelCaption::SetMinMaxButtonColor(TColor v)
{
    if (v == FMinMaxButtonColor) return;
    FMinMaxButtonColor = v;
    Changed();
}

void TPanelCaption::SetCloseButtonColor(TColor v)
{
    if (v == FCloseButtonColor) return;
    FCloseButtonColor = v;
    Changed();
}

void TPanelCaption::SetMinGlyph(const TBitmap* b) { CopyBitmap(*FMinGlyph, b); }
void TPanelCaption::SetMaxGlyph(const TBitmap* b) { CopyBitmap(*FMaxGlyph, b); }

void TPanelCaption::SetCloseMinGlyph(const TBitmap* b)
{
    CopyBitmap(*FCloseMinGlyph, b);
    Changed();
}

void TPanelCaption::SetCloseMaxGlyph(const TBitmap* b)
{
    CopyBitmap(*FCloseMaxGlyph, b);
    Changed();
}

void TPanelCaption::SetCloseColor(TColor v)
{
    if (v == FCloseColor) return;
    FCloseColor = v;
    Changed();
}

void TPanelCaption::SetShadeLight(int v)
{
    FShadeLight = std::max(v, 200);
    ShadeChanged();
}

void TPanelCaption::SetShadeGrain(uint8_t v)
{
    FShadeGrain = v;
    ShadeChanged();
}

void TPanelCaption::SetShadeType(TShadeType v)
{
    FShadeType = v;
    ShadeChanged();
}

void TPanelCaption::SetShape(TCaptionShape v)
{
    FShape = v;
    ShadeChanged();
}

void TPanelCaption::SetFlat(bool v)
{
    FFlat = v;
    ShadeChanged();
}

void TPanelCaption::SetBackground(const TBitmap* b)
{
    CopyBitmap(*FBackground, b);
    ShadeChanged();
}

void TPanelCaption::SetIndent(int v)
{
    if (v == FIndent) return;
    FIndent = v;
    Changed();
}

void TPanelCaption::SetTopIndent(int v)
{
    if (v == FTopIndent) return;
    FTopIndent = v;
    Changed();
}

void TPanelCaption::SetColorTo(TColor v)
{
    FColorTo = v;
    Changed();
}

void TPanelCaption::SetPosition(TCaptionPosition v)
{
    if (v == FPosition) return;
    FPosition = v;
    if (OnPositionChange) OnPositionChange(this);
}

void TPanelCaption::SetGradientDirection(TGradientDirection v)
{
    FGradientDirection = v;
    Changed();
}

void TPanelCaption::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TPanelCaption*>(source);
    if (!s) {
        rtl::TPersistent::Assign(source);
        return;
    }
    if (s == this) return;
    SetBackground(s->Background());
    FButtonPosition = s->FButtonPosition;
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetCloseColor(s->FCloseColor);
    SetCloseButton(s->FCloseButton);
    SetCloseButtonColor(s->FCloseButtonColor);
    FCloseButtonHoverColor = s->FCloseButtonHoverColor;
    SetCloseMinGlyph(s->CloseMinGlyph());
    SetCloseMaxGlyph(s->CloseMaxGlyph());
    SetFlat(s->FFlat);
    FFont->Assign(s->Font());
    SetHeight(s->FHeight);
    SetIndent(s->FIndent);
    SetMaxGlyph(s->MaxGlyph());
    SetMinGlyph(s->MinGlyph());
    SetMinMaxButton(s->FMinMaxButton);
    SetMinMaxButtonColor(s->FMinMaxButtonColor);
    FMinMaxButtonHoverColor = s->FMinMaxButtonHoverColor;
    SetShadeLight(s->FShadeLight);
    SetShadeGrain(s->FShadeGrain);
    SetShadeType(s->FShadeType);
    SetShape(s->FShape);
    SetGradientDirection(s->FGradientDirection);
}

// ---------------------------------------------------------- TPanelStatusBar

TPanelStatusBar::TPanelStatusBar() : FFont(std::make_unique<TFont>())
{
    FFont->SetName("Tahoma");
    FFont->OnChange = [this](rtl::TObject*) { Changed(); };
}

TPanelStatusBar::~TPanelStatusBar() = default;

void TPanelStatusBar::Changed()
{
    if (OnChange) OnChange(this);
}

#define TEC_STATUS_SETTER(Name, Type)         \
    void TPanelStatusBar::Set##Name(Type v)   \
    {                                         \
        if (v == F##Name) return;             \
        F##Name = v;                          \
        Changed();                            \
    }
TEC_STATUS_SETTER(ImageIndex, int)
TEC_STATUS_SETTER(Color, TColor)
TEC_STATUS_SETTER(ColorTo, TColor)
TEC_STATUS_SETTER(GradientDirection, TGradientDirection)
TEC_STATUS_SETTER(Visible, bool)
TEC_STATUS_SETTER(Height, int)
TEC_STATUS_SETTER(BevelInner, bool)
TEC_STATUS_SETTER(BorderStyle, TBorderStyle)
TEC_STATUS_SETTER(BorderColor, TColor)
#undef TEC_STATUS_SETTER

void TPanelStatusBar::SetText(const std::string& v)
{
    if (v == FText) return;
    FText = v;
    Changed();
}

void TPanelStatusBar::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TPanelStatusBar*>(source);
    if (!s || s == this) return;
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetGradientDirection(s->FGradientDirection);
    SetBorderStyle(s->FBorderStyle);
    SetBorderColor(s->FBorderColor);
    FFont->Assign(s->Font());
}

// ---------------------------------------------------------------- TAutoSize

void TAutoSize::SetEnabled(bool v)
{
    FEnabled = v;
    if (v && FOwner) FOwner->DoAutoSize();
}

void TAutoSize::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TAutoSize*>(source);
    if (!s) {
        rtl::TPersistent::Assign(source);
        return;
    }
    FHeight = s->FHeight;
    FWidth = s->FWidth;
    SetEnabled(s->FEnabled);
}

// ----------------------------------------------------------- TCustomExPanel

TCustomExPanel::TCustomExPanel(rtl::TComponent* owner)
    : TCustomPanel(owner), FCaption(std::make_unique<TPanelCaption>()),
      FStatusBar(std::make_unique<TPanelStatusBar>()), FPosition(std::make_unique<TPanelPosition>(this)),
      FAutoSize(std::make_unique<TAutoSize>(this)), FBackground(std::make_unique<TExImage>()),
      FCache(std::make_unique<htmltext::THTMLPictureCache>()), FShade(std::make_unique<TBitmap>())
{
    ControlStyleRef().Exclude(TControlStyleItem::csSetCaption);
    TControl::SetCaption("");
    SetDoubleBuffered(true);
    SetShowCaption(false);
    FOldColor = Color();
    FFullHeight = Height();
    FIsXP = true;   // the desktop counts as a system with themes
    FCaption->OnChange = [this](rtl::TObject* s) { CaptionChanged(s); };
    FCaption->OnShadeChange = [this](rtl::TObject* s) { CaptionShadeChanged(s); };
    FCaption->OnStateChange = [this](rtl::TObject* s) { CaptionStateChanged(s); };
    FCaption->OnPositionChange = [this](rtl::TObject* s) { CaptionPositionChanged(s); };
    FStatusBar->OnChange = [this](rtl::TObject*) { Invalidate(); };
    FBackground->OnChange = [this](rtl::TObject*) { Invalidate(); };
}

TCustomExPanel::~TCustomExPanel()
{
    // A collapse loop still running on the stack learns that the panel is gone.
    for (TAliveGuard* g = FAliveGuard; g; g = g->prev) g->alive = false;
    // Destroying the panel by itself saves nothing (only the window's end does).
    FPosition.reset();
}

std::string TCustomExPanel::Version() const { return VersionText(GetVersionNr()); }

bool TCustomExPanel::IsThemed() const { return FIsXP && APXPVS().ThemeActive(); }

// -- size

void TCustomExPanel::SetHeight(int v)
{
    TControl::SetHeight(v);
    if (!FCollaps && !FCollapsing && FCaption->Position() == TCaptionPosition::cpTop) FFullHeight = v;
}

void TCustomExPanel::SetWidth(int v)
{
    TControl::SetWidth(v);
    if (!FCollaps && !FCollapsing && FCaption->Position() == TCaptionPosition::cpLeft) FFullHeight = v;
}

void TCustomExPanel::SetBounds(int left, int top, int width, int height)
{
    TCustomPanel::SetBounds(left, top, width, height);
    if (IsDesigning()) Synchronize();
    if (Width() != FLastWidth || Height() != FLastHeight) {
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
        Invalidate();
    }
    FLastWidth = Width();
    FLastHeight = Height();
}

// -- collapse and expand

void TCustomExPanel::SetChildrenVisible(bool visible)
{
    if (!visible) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) FHiddenChildren.push_back(c);
            c->SetVisible(false);
        }
        return;
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (std::find(FHiddenChildren.begin(), FHiddenChildren.end(), c) == FHiddenChildren.end())
            c->SetVisible(true);
    }
    FHiddenChildren.clear();
}

void TCustomExPanel::SetCollaps(bool v)
{
    if (FCollaps && !v && OnMaximize) OnMaximize(this);
    if (v && !FCollaps && OnMinimize) OnMinimize(this);
    if (FCollapsing) return;
    // A handler or a message pumped during the animation may free the panel:
    // the loop stops as soon as it learns so and touches nothing after.
    TAliveGuard guard{true, FAliveGuard};
    FAliveGuard = &guard;
    const int extra = (BorderWidth() > 0 && FBorderShadow) ? BorderWidth() + 4 : 0;
    if (v != FCollaps) {
        FCollapsing = true;
        FCollaps = v;
        if (!IsLoading()) {
            const int H = FCaption->Height();
            const int SB = FStatusBar->Visible() ? FStatusBar->Height() : 0;
            const int BW = BorderWidth();
            const int N = FCollapsSteps;
            const bool top = FCaption->Position() == TCaptionPosition::cpTop;
            // One step's pause: pending messages, the parent group re-arranged
            // to the new size, then the delay (the group shows the step while
            // the animation waits).
            auto pump = [&]() {
                Application->ProcessMessages();
                if (!guard.alive) return false;
                Synchronize();
                if (!guard.alive) return false;
                ProcessMessagesAndSleep(FCollapsDelay);
                return guard.alive;
            };
            bool ok = true;
            if (v) {
                FFullHeight = top ? Height() : Width();
                if (FAutoHideChildren) SetChildrenVisible(false);
                FOldColor = Color();
                if (N > 0) {
                    SetColor(FCollapsColor);
                    const int step = top ? (Height() - H - SB - 2 * BW) / N : (Width() - H - SB) / N;
                    for (int i = 0; i < N && ok; ++i) {
                        if (top) TControl::SetHeight(Height() - step);
                        else TControl::SetWidth(Width() - step);
                        ok = pump();
                    }
                }
                if (ok) {
                    if (top) TControl::SetHeight(H + SB - 2 + extra);
                    else TControl::SetWidth(H + SB + extra);
                }
            } else {
                if (N > 0) {
                    SetColor(FOldColor);
                    const int step = (FFullHeight - H - SB) / N;
                    for (int i = 0; i < N && ok; ++i) {
                        if (top) TControl::SetHeight(Height() + step);
                        else TControl::SetWidth(Width() + step);
                        ok = pump();
                    }
                }
                if (ok) {
                    if (top) TControl::SetHeight(FFullHeight);
                    else TControl::SetWidth(FFullHeight);
                    if (FAutoHideChildren) SetChildrenVisible(true);
                }
            }
            if (ok) Synchronize();
        }
        if (!guard.alive) return;
        FCollapsing = false;
    }
    CollapsChanged();
    if (!guard.alive) return;
    if (OnEndCollapsExpand) OnEndCollapsExpand(this);
    if (!guard.alive) return;
    FAliveGuard = guard.prev;
    // A close with FreeOnClose handled during the animation frees the panel now.
    if (FReleasePending && !FCollapsing) {
        FReleasePending = false;
        ReleaseLater();
    }
}

// -- companions and plain setters

void TCustomExPanel::SetAutoSize(const TAutoSize* a)
{
    if (!a || IsLoading()) return;
    FAutoSize->Assign(a);
}

#define TEC_PANEL_SETTER(Name, Type)            \
    void TCustomExPanel::Set##Name(Type v)      \
    {                                           \
        F##Name = v;                            \
        Invalidate();                           \
    }
TEC_PANEL_SETTER(BackgroundPosition, TBackGroundPosition)
TEC_PANEL_SETTER(URLColor, TColor)
TEC_PANEL_SETTER(ShadowColor, TColor)
TEC_PANEL_SETTER(ShadowOffset, int)
TEC_PANEL_SETTER(CanSize, bool)
TEC_PANEL_SETTER(BorderShadow, bool)
TEC_PANEL_SETTER(TextVAlign, TTextVAlignment)
TEC_PANEL_SETTER(GradientDirection, TGradientDirection)
TEC_PANEL_SETTER(Ellipsis, bool)
TEC_PANEL_SETTER(BorderColor, TColor)
TEC_PANEL_SETTER(Indent, int)
TEC_PANEL_SETTER(TopIndent, int)
TEC_PANEL_SETTER(LineSpacing, int)
#undef TEC_PANEL_SETTER

void TCustomExPanel::SetColorTo(TColor v)
{
    if (v == FColorTo) return;
    FColorTo = v;
    Invalidate();
}

void TCustomExPanel::SetColorMirror(TColor v)
{
    if (v == FColorMirror) return;
    FColorMirror = v;
    Invalidate();
}

void TCustomExPanel::SetColorMirrorTo(TColor v)
{
    if (v == FColorMirrorTo) return;
    FColorMirrorTo = v;
    Invalidate();
}

void TCustomExPanel::SetText(const std::string& v)
{
    FText = v;
    Invalidate();
    DoAutoSize();
}

std::string TCustomExPanel::PlainText() const
{
    return htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdPanel, FText);
}

void TCustomExPanel::SetImages(TImageList* v)
{
    if (FImages == v) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

void TCustomExPanel::SetPictureContainer(htmltext::TPictureContainer* v)
{
    if (FPictureContainer == v) return;
    if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
    FPictureContainer = v;
    if (FPictureContainer) FPictureContainer->FreeNotification(this);
    Invalidate();
}

void TCustomExPanel::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomPanel::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FPictureContainer) FPictureContainer = nullptr;
    if (component == FStyler) FStyler = nullptr;
}

void TCustomExPanel::SetCursor(TCursor c)
{
    FOwnCursor = c;
    TControl::SetCursor(c);
}

void TCustomExPanel::BeginUpdate() { Perform(WM_SETREDRAW, 0, 0); }

void TCustomExPanel::EndUpdate()
{
    Perform(WM_SETREDRAW, 1, 0);
    Repaint();
}

void TCustomExPanel::Synchronize()
{
    if (auto* arranger = dynamic_cast<IPanelArranger*>(Parent())) arranger->ChildPanelChanged(this);
}

// -- companions' notices

void TCustomExPanel::CaptionChanged(rtl::TObject*)
{
    if (ControlCount() > 0) Realign();
    Invalidate();
}

void TCustomExPanel::CaptionShadeChanged(rtl::TObject*) { ShadeHeader(); }

void TCustomExPanel::CaptionStateChanged(rtl::TObject*) { CollapsChanged(); }

void TCustomExPanel::CaptionPositionChanged(rtl::TObject*)
{
    DoAutoSize();
    ShadeHeader();
    Invalidate();
}

// -- auto-size

void TCustomExPanel::DoAutoSize()
{
    if (!FAutoSize->Enabled() || IsLoading()) return;
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    const int BV = 2 * BevelWidth();
    const TRect r{0, 0, FAutoSize->Width() ? 65535 : Width() - BV, FAutoSize->Height() ? 65535 : Height() - BV};
    int w = 0, h = 0;
    DrawMarkup(*c, FText, r, true, true, false, -1, -1, -1, &w, &h, nullptr, nullptr, nullptr);
    w += 2 * BorderWidth();
    h += 2 * BorderWidth();
    const int H = FCaption->Height();
    const int SB = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    if (FAutoSize->Width()) {
        if (top) SetWidth(BV + w + FIndent);
        else if (FCaption->Visible()) SetWidth(H + w + SB + BV + FIndent);
        else SetWidth(SB + w + BV + FIndent);
    }
    if (FAutoSize->Height()) {
        if (!top) SetHeight(BV + h + FTopIndent);
        else if (FCaption->Visible() && FStatusBar->Visible())
            SetHeight(H + h + SB + BV + FTopIndent + 2 * BorderWidth());
        else if (FCaption->Visible()) SetHeight(H + h + BV + FTopIndent);
        else if (FStatusBar->Visible()) SetHeight(SB + h + BV + FTopIndent);
        else SetHeight(BV + h + FTopIndent);
    }
    Synchronize();
}

void TCustomExPanel::Resize()
{
    Invalidate();
    TCustomPanel::Resize();
    DoAutoSize();
}

// -- child alignment: children stay clear of the caption bar and the status bar

void TCustomExPanel::AlignControls(TControl* control, TRect& rect)
{
    const int H = FCaption->Height();
    const int SB = FStatusBar->Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    if (FCaption->Visible()) {
        if (top && rect.Top < H) rect.Top = H - 2;
        if (!top && rect.Left < H) rect.Left = H - 2;
    }
    if (FStatusBar->Visible()) {
        if (top) rect.Bottom = std::min(rect.Bottom, Height() - SB);
        else rect.Right = std::min(rect.Right, Width() - SB);
    }
    TCustomPanel::AlignControls(control, rect);
}

// -- streaming and copying

void TCustomExPanel::DefineProperties(rtl::TFiler& filer)
{
    TCustomPanel::DefineProperties(filer);
    filer.DefineProperty(
        "FullHeight", [this](rtl::TReader& r) { FFullHeight = static_cast<int>(r.ReadInteger()); },
        [this](rtl::TWriter& w) { w.WriteInteger(FFullHeight); }, true);
}

void TCustomExPanel::Loaded()
{
    TCustomPanel::Loaded();
    if (FPosition && FPosition->Save()) LoadPosition();
    FSizeMoveOrigin = ClientOrigin();
    FSizeMoveSize = {Width(), Height()};
    FOwnCursor = Cursor();
    FOldColor = Color();
    if (FStyler && FStyler->Settings()) ApplySettings(FStyler->Settings());
}

void TCustomExPanel::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TCustomExPanel*>(source);
    if (!s) throw rtl::EConvertError("Invalid class typecast");
    if (s == this) return;
    FAnchorHint = s->FAnchorHint;
    FAutoHideChildren = s->FAutoHideChildren;
    FBackground->Assign(s->FBackground.get());
    SetBackgroundPosition(s->FBackgroundPosition);
    SetBevelInner(s->BevelInner());
    SetBevelOuter(s->BevelOuter());
    SetBevelWidth(s->BevelWidth());
    SetBorderColor(s->FBorderColor);
    SetBorderShadow(s->FBorderShadow);
    SetBorderStyle(s->BorderStyle());
    FCanMove = s->FCanMove;
    SetCanSize(s->FCanSize);
    FCaption->Assign(s->FCaption.get());
    FCollapsColor = s->FCollapsColor;
    FCollapsDelay = s->FCollapsDelay;
    FCollapsSteps = s->FCollapsSteps;
    SetColor(s->Color());
    SetColorTo(s->FColorTo);
    SetColorMirror(s->FColorMirror);
    SetColorMirrorTo(s->FColorMirrorTo);
    SetCursor(s->Cursor());
    SetEnabled(s->Enabled());
    TControl::SetFont(s->Font());
    FFixedTop = s->FFixedTop;
    FFixedLeft = s->FFixedLeft;
    FFixedHeight = s->FFixedHeight;
    FFixedWidth = s->FFixedWidth;
    FFreeOnClose = s->FFreeOnClose;
    SetHeight(s->Height());
    SetHint(s->Hint());
    FHover = s->FHover;
    FHoverColor = s->FHoverColor;
    FHoverFontColor = s->FHoverFontColor;
    SetImages(s->FImages);
    SetParentColor(s->ParentColor());
    SetParentFont(s->ParentFont());
    SetParentShowHint(s->ParentShowHint());
    SetPictureContainer(s->FPictureContainer);
    SetPopupMenu(s->PopupMenu());
    FPosition->Assign(s->FPosition.get());
    FStatusBar->Assign(s->FStatusBar.get());
    SetShadowColor(s->FShadowColor);
    SetShadowOffset(s->FShadowOffset);
    SetShowHint(s->ShowHint());
    FShowMoveCursor = s->FShowMoveCursor;
    SetTabStop(s->TabStop());
    SetTag(s->Tag());
    SetText(s->FText);
    SetTextVAlign(s->FTextVAlign);
    SetURLColor(s->FURLColor);
    SetVisible(s->Visible());
}

// -- markup through the panel dialect of the renderer

bool TCustomExPanel::DrawMarkup(TCanvas& c, const std::string& text, const TRect& r, bool wordWrap, bool measure,
                                bool check, int hoverIndex, int px, int py, int* w, int* h, std::string* anchor,
                                int* index, TRect* anchorRect, bool hitTestColours)
{
    htmltext::TMarkupOptions o;
    o.Images = FImages;
    o.PointX = px;
    o.PointY = py;
    o.HoverIndex = hoverIndex;
    o.ShadowOffset = hitTestColours ? 2 : FShadowOffset;
    o.HotSpotCheck = check;
    o.HeightCheck = measure;
    o.HoverStyle = hitTestColours ? false : FHover;
    o.WordWrap = wordWrap;
    o.LinkColor = FURLColor;
    o.HoverColor = hitTestColours ? 0xFF0000 : FHoverColor;
    o.HoverFontColor = hitTestColours ? 0x0000FF : FHoverFontColor;
    o.ShadowColor = hitTestColours ? 0x808080 : FShadowColor;
    o.PictureCache = FCache.get();
    o.PictureContainer = FPictureContainer;
    o.LineSpacing = FLineSpacing;
    htmltext::TMarkupResult res;
    const bool hit = htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdPanel, c, text, r, o, res);
    if (w) *w = res.XSize;
    if (h) *h = res.YSize;
    if (anchor) *anchor = hit ? res.AnchorValue : std::string();
    if (index) *index = hit ? res.MouseLink : -1;
    if (anchorRect && hit) *anchorRect = res.HoverRect;
    return hit;
}

} // namespace controls
