// Panel settings, the styler with its 17 colour presets, the theme-change
// notifier, and how a panel takes settings.
#include "controls/ExPanel.h"
#include "controls/ThemeBinding.h"

namespace controls {

using namespace gui;

// ---------------------------------------------------------- TExPanelSettings

TExPanelSettings::TExPanelSettings()
    : FFont(std::make_unique<TFont>()), FCaption(std::make_unique<TPanelCaption>()),
      FStatusBar(std::make_unique<TPanelStatusBar>())
{
    FFont->OnChange = [this](rtl::TObject*) { Changed(); };
    FStatusBar->OnChange = [this](rtl::TObject*) { Changed(); };
    HookCaption();
}

TExPanelSettings::~TExPanelSettings() = default;

void TExPanelSettings::HookCaption()
{
    if (FCaption) FCaption->OnChange = [this](rtl::TObject*) { Changed(); };
}

void TExPanelSettings::Changed()
{
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TExPanelSettings::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) Changed();
}

void TExPanelSettings::SetColorTo(TColor v)
{
    if (v == FColorTo) return;
    FColorTo = v;
    Changed();
}

void TExPanelSettings::SetColorMirror(TColor v)
{
    if (v == FColorMirror) return;
    FColorMirror = v;
    Changed();
}

void TExPanelSettings::SetColorMirrorTo(TColor v)
{
    if (v == FColorMirrorTo) return;
    FColorMirrorTo = v;
    Changed();
}

void TExPanelSettings::SetFont(const TFont* f)
{
    FFont->Assign(f);
    Changed();
}

void TExPanelSettings::SetCaption(std::unique_ptr<TPanelCaption> c)
{
    if (!c) return;
    FCaption = std::move(c);
    HookCaption();
    Changed();
}

void TExPanelSettings::SetStatusBar(const TPanelStatusBar* s)
{
    FStatusBar->Assign(s);
    Changed();
}

// ------------------------------------------------------ TThemeNotifierWindow

TThemeNotifierWindow::TThemeNotifierWindow(rtl::TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
}

void TThemeNotifierWindow::WndProc(TMessage& m)
{
    if (m.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
    TWinControl::WndProc(m);
}

// ------------------------------------------------------------ TExPanelStyler

int PanelXPColorScheme() { return CurrentXPColorScheme(); }

TExPanelStyler::TExPanelStyler(rtl::TComponent* owner) : rtl::TComponent(owner)
{
    FNotifier = new TThemeNotifierWindow(this);
    for (rtl::TComponent* c = owner; c; c = c->Owner())
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            FNotifier->SetParent(w);
            break;
        }
    FNotifier->OnThemeChange = [this](rtl::TObject*) { ThemeChanged(); };
    FSettings = std::make_unique<TExPanelSettings>();
    FSettings->OnChange = [this](rtl::TObject*) { SettingsChanged(); };
    SetStyle(TExPanelStyle::psXP);
    FAutoThemeAdapt = false;
}

TExPanelStyler::~TExPanelStyler()
{
    // Panels styled by this one drop the reference through their notices;
    // the settings go before the notifier.
    FSettings.reset();
}

void TExPanelStyler::SetSettings(std::unique_ptr<TExPanelSettings> s)
{
    if (!s) return;
    FSettings = std::move(s);
    FSettings->OnChange = [this](rtl::TObject*) { SettingsChanged(); };
}

void TExPanelStyler::SettingsChanged()
{
    if (IsLoading() || !FSettings || !Owner()) return;
    rtl::TComponent* owner = Owner();
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(owner->Components(i)))
            if (p->Styler() == this) p->ApplySettings(FSettings.get());
}

void TExPanelStyler::ThemeChanged()
{
    if (!FAutoThemeAdapt) return;
    switch (PanelXPColorScheme()) {
    case 1: SetStyle(TExPanelStyle::psOffice2003Blue); break;
    case 2: SetStyle(TExPanelStyle::psOffice2003Olive); break;
    case 3: SetStyle(TExPanelStyle::psOffice2003Silver); break;
    default: SetStyle(TExPanelStyle::psXP); break;
    }
}

void TExPanelStyler::Loaded()
{
    rtl::TComponent::Loaded();
    if (!IsDesigning()) ThemeChanged();
    SettingsChanged();
}

void TExPanelStyler::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TExPanelStyler*>(source);
    if (!s) {
        rtl::TComponent::Assign(source);
        return;
    }
    FAutoThemeAdapt = s->FAutoThemeAdapt;
    FSettings->Assign(s->FSettings.get());
    FComments = s->FComments;
    SetStyle(s->FStyle);
}

void TExPanelStyler::SetComponentStyle(TQuorStyle style)
{
    switch (style) {
    case TQuorStyle::tsOffice2003Blue: SetStyle(TExPanelStyle::psOffice2003Blue); break;
    case TQuorStyle::tsOffice2003Silver: SetStyle(TExPanelStyle::psOffice2003Silver); break;
    case TQuorStyle::tsOffice2003Olive: SetStyle(TExPanelStyle::psOffice2003Olive); break;
    case TQuorStyle::tsOffice2003Classic: SetStyle(TExPanelStyle::psOffice2003Classic); break;
    case TQuorStyle::tsOffice2007Luna: SetStyle(TExPanelStyle::psOffice2007Luna); break;
    case TQuorStyle::tsOffice2007Obsidian: SetStyle(TExPanelStyle::psOffice2007Obsidian); break;
    case TQuorStyle::tsWindowsXP: SetStyle(TExPanelStyle::psWindowsXP); break;
    case TQuorStyle::tsWhidbey: SetStyle(TExPanelStyle::psWhidbey); break;
    case TQuorStyle::tsOffice2007Silver: SetStyle(TExPanelStyle::psOffice2007Silver); break;
    case TQuorStyle::tsWindowsVista: SetStyle(TExPanelStyle::psWindowsVista); break;
    case TQuorStyle::tsWindows7: SetStyle(TExPanelStyle::psWindows7); break;
    case TQuorStyle::tsTerminal: SetStyle(TExPanelStyle::psTerminal); break;
    default: break;
    }
}

namespace {

constexpr TColor KEEP = 0xFFFFFFFE;   // "-" in the preset tables: the value stays
constexpr int KEEPI = -1000;

struct TBodyPreset {
    TColor color, colorTo, mirror, mirrorTo, font;
    TBevelCut bevelOuter;
    TColor borderColor;
    bool borderShadow;
    TColor collapsColor;
};
struct TCaptionPreset {
    TColor font, color, colorTo;
    TGradientDirection dir;
    TShadeType shade;
    int grain, light;    // KEEPI: stays
    int height;          // KEEPI: stays; 20 written without a notice
    bool heightQuiet;
    int indent;          // KEEPI: stays
    int visible;         // -1 stays, 0 / 1
};
struct TStatusPreset {
    TColor color, colorTo;
    int dir;             // -1 stays, else TGradientDirection
    TColor borderColor;
    TBorderStyle borderStyle;
    bool bevelInner;
    TColor font;
};

using enum TGradientDirection;
using enum TBevelCut;
using enum TShadeType;
using enum TBorderStyle;
constexpr int V = static_cast<int>(gdVertical);

// Rows in the order of TExPanelStyle (psCustom's row is never used).
const TBodyPreset kBody[] = {
    {0xFFFFFF, 0xE3F0F2, clNone, clNone, KEEP, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvNone, 0x808080, false, clBtnFace},
    {0xFFFFFF, 0xE4E4E4, clNone, clNone, clWindowText, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvRaised, 0x808080, false, clBtnFace},
    {0xFDEADA, 0xE4AE88, clNone, clNone, clWindowText, bvNone, 0x808080, false, clHighlight},
    {0xCFF0EA, 0x8CC0B1, clNone, clNone, clWindowText, bvNone, 0x808080, false, clHighlight},
    {0xECE2E1, 0xB39698, clNone, clNone, clWindowText, bvNone, 0x808080, false, clHighlight},
    {0xFFFFFF, 0xE3F0F2, clNone, clNone, KEEP, bvNone, 0x808080, true, clBtnFace},
    {0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0x723708, bvNone, 0xFFD2AF, false, clHighlight},
    {0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x723708, bvNone, 0xFFD2AF, false, clHighlight},
    {0xFFFFFF, 0xE3F0F2, clNone, clNone, KEEP, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvRaised, 0x808080, false, clBtnFace},
    {},
    {0xF9F5F3, 0xE7DCD5, 0xE7DCD5, 0xFBFAF0, 0x723708, bvNone, 0xFFD2AF, false, clHighlight},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0x723708, bvNone, 0xFDDE99, false, clHighlight},
    {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0x723708, bvNone, 0xFFD2AF, false, clHighlight},
    {clBtnFace, clNone, clNone, clNone, 0x000000, bvNone, 0x808080, false, clHighlight},
};
const TCaptionPreset kCaption[] = {
    {clHighlightText, clHighlight, 0xFF0000, gdHorizontal, stNormal, KEEPI, KEEPI, 20, true, 2, -1},
    {clHighlightText, clHighlight, clNone, gdHorizontal, stNormal, KEEPI, KEEPI, 20, false, 0, -1},
    {0x000000, 0xFFFFFF, clNone, gdHorizontal, stRMetal, 32, 255, 20, true, 4, 1},
    {0x000000, 0xFFFFFF, clNone, gdHorizontal, stNormal, 32, 255, KEEPI, false, KEEPI, 0},
    {0xFFFFFF, 0xD68759, 0x933803, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xC6EFE7, 0x94BDB5, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xEFE7E7, 0xAA8888, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {clHighlightText, clHighlight, 0xFF0000, gdHorizontal, stNormal, KEEPI, KEEPI, 20, true, 2, -1},
    {0x000000, 0xFFEFE3, 0xFFD2AF, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0xFFFFFF, 0xB8B8B6, 0xA0A09E, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xF3F7F8, 0xACC3C3, gdVertical, stNormal, KEEPI, KEEPI, 20, true, 2, -1},
    {clHighlightText, 0xFFFFFF, clNone, gdHorizontal, stNormal, 32, 255, KEEPI, false, KEEPI, 0},
    {},
    {0x000000, 0xF8F7F6, 0xE8E0DB, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xFDF8F1, 0xFCEFD5, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xFCEBDC, 0xFCDBC1, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
    {0x000000, 0xC0C0C0, clNone, gdVertical, stNormal, 32, 255, KEEPI, false, KEEPI, -1},
};
const TStatusPreset kStatus[] = {
    {0xE3F0F2, 0xFFFFFF, -1, 0xC0C0C0, bsSingle, false, 0x000000},
    {clBtnFace, clNone, -1, 0xC0C0C0, bsSingle, false, 0x000000},
    {0xDEDEDE, 0xA9A9A9, -1, 0xFFFFFF, bsSingle, false, 0x000000},
    {clBtnFace, clNone, -1, clNone, bsNone, true, 0x000000},
    {0xE08F65, 0xF9DBC4, -1, clNone, bsSingle, false, 0xFFFFFF},
    {0x80B0A1, 0xD3E4E3, -1, clNone, bsSingle, false, 0x000000},
    {0xBFA8A9, 0xDECFCF, -1, clNone, bsSingle, false, 0x000000},
    {0xE3F0F2, 0xFFFFFF, -1, 0xC0C0C0, bsSingle, false, 0x000000},
    {0xF7E3D3, 0xF5D0B3, V, 0xFFD2AF, bsSingle, false, 0x723708},
    {0xA19F9E, 0x534D4B, V, 0x000000, bsSingle, false, 0xFFFFFF},
    {0xE3F0F2, 0xFFFFFF, -1, 0xC0C0C0, bsSingle, false, 0x000000},
    {clBtnFace, clNone, -1, clNone, bsNone, true, 0x000000},
    {},
    {0xFAEEEB, 0xE5DBD7, V, 0x000000, bsSingle, false, 0x723708},
    {0xFDF8F1, 0xFCEFD5, V, 0xFDDE99, bsSingle, false, 0x723708},
    {0xFCEBDC, 0xFCDBC1, V, 0xCEA27D, bsSingle, false, 0x723708},
    {0xC0C0C0, clNone, V, 0x000000, bsSingle, false, 0x000000},
};

} // namespace

void TExPanelStyler::SetStyle(TExPanelStyle v)
{
    FStyle = v;
    TExPanelSettings& s = *FSettings;
    s.BeginUpdate();
    if (v != TExPanelStyle::psCustom) {
        const auto i = static_cast<std::size_t>(v);
        const TBodyPreset& b = kBody[i];
        const TCaptionPreset& c = kCaption[i];
        const TStatusPreset& t = kStatus[i];
        s.SetBevelInner(bvNone);
        s.SetBorderStyle(bsNone);
        s.SetColor(b.color);
        s.SetColorTo(b.colorTo);
        s.SetColorMirror(b.mirror);
        s.SetColorMirrorTo(b.mirrorTo);
        if (b.font != KEEP) s.Font()->SetColor(b.font);
        s.SetBevelOuter(b.bevelOuter);
        s.SetBorderColor(b.borderColor);
        s.SetBorderShadow(b.borderShadow);
        s.SetCollapsColor(b.collapsColor);

        TPanelCaption& cap = *s.Caption();
        cap.Font()->SetColor(c.font);
        cap.SetColor(c.color);
        cap.SetColorTo(c.colorTo);
        cap.SetGradientDirection(c.dir);
        cap.SetShadeType(c.shade);
        if (c.grain != KEEPI) cap.SetShadeGrain(static_cast<uint8_t>(c.grain));
        if (c.light != KEEPI) cap.SetShadeLight(c.light);
        if (c.height != KEEPI) {
            if (c.heightQuiet) cap.SetHeightQuiet(c.height);
            else cap.SetHeight(c.height);
        }
        if (c.indent != KEEPI) cap.SetIndent(c.indent);
        if (c.visible >= 0) cap.SetVisible(c.visible == 1);

        TPanelStatusBar& st = *s.StatusBar();
        st.SetColor(t.color);
        st.SetColorTo(t.colorTo);
        if (t.dir >= 0) st.SetGradientDirection(static_cast<TGradientDirection>(t.dir));
        st.SetBorderColor(t.borderColor);
        st.SetBorderStyle(t.borderStyle);
        st.SetBevelInner(t.bevelInner);
        st.Font()->SetColor(t.font);
    }
    s.EndUpdate();
}

// ------------------------------------------------- a panel taking settings

void TCustomExPanel::SetStyler(TExPanelStyler* v)
{
    if (FStyler) FStyler->RemoveFreeNotification(this);
    FStyler = v;
    if (FStyler) FStyler->FreeNotification(this);
    if (!IsLoading() && FStyler && FStyler->Settings()) ApplySettings(FStyler->Settings());
}

void TCustomExPanel::ApplySettings(const TExPanelSettings* s)
{
    if (!s) return;
    FAnchorHint = s->AnchorHint();
    FAutoHideChildren = s->AutoHideChildren();
    SetBevelInner(s->BevelInner());
    SetBevelOuter(s->BevelOuter());
    SetBevelWidth(s->BevelWidth());
    SetBorderColor(s->BorderColor());
    SetBorderShadow(s->BorderShadow());
    SetBorderStyle(s->BorderStyle());
    SetBorderWidth(s->BorderWidth());
    FCanMove = s->CanMove();
    SetCanSize(s->CanSize());
    // The panel keeps its own caption buttons.
    const bool minMax = FCaption->MinMaxButton(), close = FCaption->CloseButton();
    FCaption->Assign(s->Caption());
    FCaption->SetMinMaxButton(minMax);
    FCaption->SetCloseButton(close);
    FCollapsColor = s->CollapsColor();
    FCollapsDelay = s->CollapsDelay();
    FCollapsSteps = s->CollapsSteps();
    SetColor(s->Color());
    SetColorTo(s->ColorTo());
    SetColorMirror(s->ColorMirror());
    SetColorMirrorTo(s->ColorMirrorTo());
    SetCursor(s->Cursor());
    TControl::SetFont(s->Font());
    FFixedTop = s->FixedTop();
    FFixedLeft = s->FixedLeft();
    FFixedHeight = s->FixedHeight();
    FFixedWidth = s->FixedWidth();
    FHover = s->Hover();
    FHoverColor = s->HoverColor();
    FHoverFontColor = s->HoverFontColor();
    SetIndent(s->Indent());
    SetShadowColor(s->ShadowColor());
    SetShadowOffset(s->ShadowOffset());
    SetShowHint(s->ShowHint());
    FShowMoveCursor = s->ShowMoveCursor();
    FStatusBar->Assign(s->StatusBar());
    SetTextVAlign(s->TextVAlign());
    SetTopIndent(s->TopIndent());
    SetURLColor(s->URLColor());
}

void TCustomExPanel::AssignSettings(const TExPanelSettings* s)
{
    if (!s) return;
    ApplySettings(s);
    SetHeight(s->Height());
    SetWidth(s->Width());
    SetHint(s->Hint());
}

} // namespace controls
