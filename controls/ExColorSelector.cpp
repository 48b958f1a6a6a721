// The colour selector: the 40-colour table, the three kinds of drop-down
// (palette, cube, spectrum), reporting a choice, and the colour shown on
// the button.

#include "controls/ExSelectors.h"

namespace controls {

using namespace gui;

TExCustomColorSelector::TExCustomColorSelector(rtl::TComponent* owner) : TExCustomSelector(owner)
{
    SetButtonsPerRow(8);
    InitializeColors();
}

TExCustomColorSelector::~TExCustomColorSelector() = default;   // the window frees the panels

void TExCustomColorSelector::SetSelectedColor(TColor c)
{
    FSelectedColor = c;
    Invalidate();
}

void TExCustomColorSelector::PrepareDropDown()
{
    if (!FDropDownWindow) return;
    TExCustomSelectorPanel* shown = nullptr;
    switch (FSelectionStyle) {
    case TColorSelectionStyle::csDiscrete: {
        if (FColorCubePanel) FColorCubePanel->Hide();
        if (FSpectrumPanel) FSpectrumPanel->Hide();
        TExCustomSelector::PrepareDropDown();
        TExSelectorPanel* p = FSelectorPanel;
        p->OnShouldHide = [this](rtl::TObject*) { PanelShouldHide(); };
        p->OnDrawItem = [this](rtl::TObject*, int i, const TRect& r) { DrawColorItem(i, r); };
        p->SetMinButtonSize(18, 18);
        if (FSelectedColor != clNone) {
            for (int i = 0; i < p->Items()->Count(); ++i)
                if (p->Items()->Items(i)->BackGroundColor() == FSelectedColor) {
                    p->SetItemIndex(i);
                    SetSelectedIndex(i);
                    break;
                }
        }
        p->SetButtonsPerRow(ButtonsPerRow());
        p->ArrangeItems();
        FDropDownWindow->SetSelectorPanel(p);
        shown = p;
        break;
    }
    case TColorSelectionStyle::csColorCube:
        if (FSelectorPanel) FSelectorPanel->Hide();
        if (FSpectrumPanel) FSpectrumPanel->Hide();
        if (!FColorCubePanel) {
            FColorCubePanel = new TExColorCubePanel(FDropDownWindow);
            FColorCubePanel->SetParent(FDropDownWindow);
            FColorCubePanel->SetWindowBorderColor(BorderDropDownColor());
            FColorCubePanel->OnShouldHide = [this](rtl::TObject*) { PanelShouldHide(); };
            FColorCubePanel->OnSelect = [this](rtl::TObject*) {
                FSelectedColor = FColorCubePanel->SelectedColor();
                Invalidate();
                if (OnSelect) OnSelect(this, -1, nullptr);
            };
        }
        FColorCubePanel->SetShowRGBHint(FShowRGBHint);
        FDropDownWindow->SetSelectorPanel(FColorCubePanel);
        FColorCubePanel->SetSelectedColor(FSelectedColor);
        FColorCubePanel->ResetHotCell();
        shown = FColorCubePanel;
        break;
    case TColorSelectionStyle::csSpectrum:
        if (FSelectorPanel) FSelectorPanel->Hide();
        if (FColorCubePanel) FColorCubePanel->Hide();
        if (!FSpectrumPanel) {
            FSpectrumPanel = new TExColorSpectrumPanel(FDropDownWindow);
            FSpectrumPanel->SetParent(FDropDownWindow);
            FSpectrumPanel->SetWindowBorderColor(BorderDropDownColor());
            FSpectrumPanel->OnShouldHide = [this](rtl::TObject*) { PanelShouldHide(); };
            FSpectrumPanel->OnSelect = [this](rtl::TObject*) {
                FSelectedColor = FSpectrumPanel->SelectedColor();
                Invalidate();
                if (OnSelect) OnSelect(this, -1, nullptr);
            };
        }
        FDropDownWindow->SetSelectorPanel(FSpectrumPanel);
        FSpectrumPanel->SetSelectedColor(FSelectedColor);
        FSpectrumPanel->ArrangeSpectrum();
        shown = FSpectrumPanel;
        break;
    }
    shown->SetBounds(0, 0, shown->Width(), shown->Height());
    if (!shown->Visible()) shown->Show();
}

void TExCustomColorSelector::DoSelect()
{
    const int i = SelectedIndex();
    if (i >= 0 && i < Tools()->Count() && Tools()->Items(i)->BackGroundColor() != clNone)
        FSelectedColor = Tools()->Items(i)->BackGroundColor();
    Invalidate();
    TExCustomSelector::DoSelect();
}

void TExCustomColorSelector::DrawColorItem(int index, const TRect& r)
{
    if (!FSelectorPanel || index < 0 || index >= FSelectorPanel->Items()->Count()) return;
    TExSelectorItem* it = FSelectorPanel->Items()->Items(index);
    TCanvas* c = FSelectorPanel->Canvas();
    if (it->ItemType() == TSelectorItemType::itFullWidthButton) {
        if (it->BackGroundColor() != clNone) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Pen()->SetColor(0x808080);
            c->Brush()->SetColor(it->BackGroundColor());
            c->Rectangle(r.Left + 4, r.Top + 4, r.Left + 16, r.Top + 16);
        }
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (!it->Caption().empty()) {
            TRect t = r;
            uint32_t flags = DT_VCENTER | DT_SINGLELINE;
            switch (it->CaptionAlignment()) {
            case TAlignment::taLeftJustify: t.Left += 21; flags |= DT_LEFT; break;
            case TAlignment::taRightJustify: flags |= DT_RIGHT; break;
            case TAlignment::taCenter: flags |= DT_CENTER; break;
            }
            c->DrawText(it->Caption(), t, flags);
        }
    } else if (it->BackGroundColor() != clNone) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Pen()->SetColor(0x808080);
        c->Brush()->SetColor(it->BackGroundColor());
        c->Rectangle(r.Left + 3, r.Top + 3, r.Left + 15, r.Top + 15);
    }
}

void TExCustomColorSelector::DrawGlyphAndCaption(TBitmap* glyph, TRect r)
{
    TCanvas* c = Canvas();
    const TColor savedPen = c->Pen()->Color();
    const bool bar = FShowSelectedColor && FSelectedColor != clNone;
    auto colourBar = [&](int l, int t, int rt, int b) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Pen()->SetColor(FSelectedColor);
        c->Brush()->SetColor(FSelectedColor);
        c->Rectangle(l, t, rt, b);
    };
    c->Font()->Assign(Font());
    if (Style() == TExSelectorStyle::ssButton) {
        TRect text = r;
        if (glyph && !glyph->Empty()) {
            if (bar) {
                text.Left = PaintGlyph(glyph, Rect(r.Left, r.Top, r.Right, r.Bottom - 5));
                text.Bottom -= 5;
                colourBar(r.Left + 3, r.Bottom - 6, r.Right - 3, r.Bottom - 2);
            } else {
                text.Left = PaintGlyph(glyph, r);
            }
        } else if (bar) {
            if (!Caption().empty()) {
                colourBar(r.Left + 4, r.Bottom - 6, r.Right - 4, r.Bottom - 3);
                text.Bottom -= 5;
            } else {
                colourBar(r.Left + 4, r.Top + 3, r.Right - 4, r.Bottom - 3);
            }
        }
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (!Caption().empty()) c->DrawText(Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else if (Caption().empty() && FSelectedColor != clNone) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Pen()->SetColor(0);
        c->Brush()->SetColor(FSelectedColor);
        c->Rectangle(r.Left + 4, r.Top + 3, r.Right - 4, r.Bottom - 3);
    }
    c->Pen()->SetColor(savedPen);
}

// ------------------------------------------------------- the colour table

TExColorSelector::TExColorSelector(rtl::TComponent* owner) : TExCustomColorSelector(owner)
{
    InitializeColors();
}

void TExColorSelector::InitializeColors()
{
    static const TColor colours[40] = {
        0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x353333, 0x333333,
        0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
        0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999,
        0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,
        0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,
    };
    Tools()->Clear();
    TExSelectorItem* automatic = Tools()->Add();
    automatic->SetItemType(TSelectorItemType::itFullWidthButton);
    automatic->SetCaptionAlignment(TAlignment::taCenter);
    automatic->SetCaption("Automatic");
    automatic->SetHint("Automatic");
    automatic->SetBackGroundColor(0);
    for (TColor c : colours) Tools()->Add()->SetBackGroundColor(c);
    TExSelectorItem* more = Tools()->Add();
    more->SetItemType(TSelectorItemType::itFullWidthButton);
    more->SetCaptionAlignment(TAlignment::taCenter);
    more->SetCaption("More Colors...");
    more->SetHint("More Color");
    more->SetBackGroundColor(clNone);
}

} // namespace controls
