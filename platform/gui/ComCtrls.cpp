// Status bar, page control, progress bar and tool bars.
#include "platform/gui/ComCtrls.h"

#include <QProgressBar>
#include <QTabBar>

#include <algorithm>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"

namespace gui {

// ------------------------------------------------------------ status bar

void TStatusPanel::SetText(const std::string& t) { FText = t; FBar->Invalidate(); }
void TStatusPanel::SetWidth(int w) { FWidth = w; FBar->Invalidate(); }
void TStatusPanel::SetAlignment(TAlignment a) { FAlignment = a; FBar->Invalidate(); }
void TStatusPanel::SetStyle(TStatusPanelStyle s) { FStyle = s; FBar->Invalidate(); }
void TStatusPanel::SetBevel(TStatusPanelBevel b) { FBevel = b; FBar->Invalidate(); }

int TStatusPanel::Index() const
{
    for (int i = 0; i < FBar->PanelCount(); ++i)
        if (FBar->Panels(i) == this) return i;
    return -1;
}

TStatusBar::TStatusBar(rtl::TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {TControlStyleItem::csCaptureMouse, TControlStyleItem::csClickEvents,
                     TControlStyleItem::csDoubleClicks, TControlStyleItem::csOpaque};
    FColor = clBtnFace;
    SetBounds(0, 0, 200, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

TStatusPanel* TStatusBar::AddPanel()
{
    FPanels.push_back(std::make_unique<TStatusPanel>(this));
    Invalidate();
    return FPanels.back().get();
}

void TStatusBar::ClearPanels()
{
    FPanels.clear();
    Invalidate();
}

void TStatusBar::SetSimplePanel(bool v) { FSimplePanel = v; Invalidate(); }
void TStatusBar::SetSimpleText(const std::string& t) { FSimpleText = t; Invalidate(); }

TRect TStatusBar::PanelRect(int index) const
{
    int x = 0;
    for (int i = 0; i < index; ++i) x += FPanels[static_cast<std::size_t>(i)]->Width();
    const bool last = index == PanelCount() - 1;
    const int right = last ? ClientWidth() : x + FPanels.at(static_cast<std::size_t>(index))->Width();
    return Rect(x, 2, std::max(x, right), ClientHeight());
}

void TStatusBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(ClientRect());
    c->SetFont(Font());
    auto text = [&](TRect r, const std::string& s, TAlignment a) {
        InflateRect(r, -3, 0);
        uint32_t flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (a == TAlignment::taCenter) flags |= DT_CENTER;
        else if (a == TAlignment::taRightJustify) flags |= DT_RIGHT;
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->DrawText(s, r, flags);
    };
    if (FSimplePanel || FPanels.empty()) {
        text(Rect(0, 2, ClientWidth(), ClientHeight()), FSimplePanel ? FSimpleText : Caption(), TAlignment::taLeftJustify);
        return;
    }
    for (int i = 0; i < PanelCount(); ++i) {
        TStatusPanel* p = Panels(i);
        TRect r = PanelRect(i);
        if (p->Bevel() != TStatusPanelBevel::pbNone) {
            TRect f = r;
            f.Right -= 2;
            const bool low = p->Bevel() == TStatusPanelBevel::pbLowered;
            c->Frame3D(f, low ? clBtnShadow : clBtnHighlight, low ? clBtnHighlight : clBtnShadow, 1);
        }
        if (p->Style() == TStatusPanelStyle::psOwnerDraw) {
            if (OnDrawPanel) OnDrawPanel(this, p, r);
        } else {
            text(r, p->Text(), p->Alignment());
        }
    }
}

void TStatusBar::Dispatch(TMessage& m)
{
    if (m.Msg == CM_FONTCHANGED || m.Msg == CM_TEXTCHANGED) Invalidate();
    TCustomControl::Dispatch(m);
}

// ----------------------------------------------------------- page control

TTabSheet::TTabSheet(rtl::TComponent* owner) : TWinControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks};
    FVisible = false;
    FParentColor = true;
}

TTabSheet::~TTabSheet()
{
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (FPageControl && FPageControl != pc) FPageControl->RemovePage(this);
    TWinControl::SetParent(parent);
    if (pc && FPageControl != pc) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) { SetParent(pc); }

int TTabSheet::PageIndex() const
{
    if (!FPageControl) return -1;
    auto& v = FPageControl->FPages;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TTabSheet::SetPageIndex(int i)
{
    if (!FPageControl) return;
    auto& v = FPageControl->FPages;
    v.erase(std::find(v.begin(), v.end(), this));
    v.insert(v.begin() + std::clamp(i, 0, static_cast<int>(v.size())), this);
    FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool v)
{
    FTabVisible = v;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
    TWinControl::Dispatch(m);
}

struct PageAccess {
    static QTabBar* Bar(const TPageControl* pc)
    {
        return ControlAccess::Widget(pc)->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

TPageControl::TPageControl(rtl::TComponent* owner) : TWinControl(owner)
{
    FControlStyle = {TControlStyleItem::csDoubleClicks, TControlStyleItem::csOpaque};
    FTabStop = true;
    auto* bar = new QTabBar(ControlAccess::Widget(this));
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->show();
    QObject::connect(bar, &QTabBar::currentChanged, bar, qtw::Guarded<int>([this](int tab) {
        if (FSyncing) return;
        int n = -1;
        TTabSheet* target = nullptr;
        for (TTabSheet* p : FPages)
            if (p->TabVisible() && ++n == tab) target = p;
        if (!target || target == FActivePage) return;
        if (!CanChange()) {
            UpdateTabs();
            return;
        }
        ShowPage(target);
        Change();
    }));
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* p : FPages) p->FPageControl = nullptr;
    FPages.clear();
}

void TPageControl::InsertPage(TTabSheet* page)
{
    FPages.push_back(page);
    page->FPageControl = this;
    const TRect r = DisplayRect();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (!FActivePage) ShowPage(page);
    else ControlAccess::SetVisibleFlag(page, true), page->SetVisible(false);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    const int i = static_cast<int>(it - FPages.begin());
    FPages.erase(it);
    page->FPageControl = nullptr;
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty() && !IsDestroying()) ShowPage(FPages[static_cast<std::size_t>(std::min(i, PageCount() - 1))]);
    }
    if (!IsDestroying()) UpdateTabs();
}

void TPageControl::UpdateTabs()
{
    QTabBar* bar = PageAccess::Bar(this);
    FSyncing = true;
    while (bar->count() > 0) bar->removeTab(0);
    int current = -1, n = 0;
    for (TTabSheet* p : FPages) {
        if (!p->TabVisible()) continue;
        bar->addTab(QString::fromStdString(p->Caption()));
        if (p == FActivePage) current = n;
        ++n;
    }
    bar->setCurrentIndex(current);
    bar->setGeometry(2, 0, std::max(0, Width() - 4), bar->sizeHint().height());
    FSyncing = false;
    const TRect r = DisplayRect();
    for (TTabSheet* p : FPages) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    Realign();
}

void TPageControl::ShowPage(TTabSheet* page)
{
    TTabSheet* old = FActivePage;
    FActivePage = page;
    if (page) {
        const TRect r = DisplayRect();
        page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        page->SetVisible(true);
        page->BringToFront();
    }
    if (old && old != page) old->SetVisible(false);
    QTabBar* bar = PageAccess::Bar(this);
    FSyncing = true;
    int n = 0, current = -1;
    for (TTabSheet* p : FPages) {
        if (!p->TabVisible()) continue;
        if (p == page) current = n;
        ++n;
    }
    bar->setCurrentIndex(current);
    FSyncing = false;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->FPageControl != this) return;
    ShowPage(page);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i)
{
    SetActivePage(i >= 0 && i < PageCount() ? FPages[static_cast<std::size_t>(i)] : nullptr);
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible)
{
    if (FPages.empty()) return;
    const int n = PageCount();
    int i = std::max(0, ActivePageIndex());
    for (int k = 0; k < n; ++k) {
        i = (i + (goForward ? 1 : n - 1)) % n;
        TTabSheet* p = FPages[static_cast<std::size_t>(i)];
        if (checkTabVisible && !p->TabVisible()) continue;
        if (p == FActivePage) return;
        if (!CanChange()) return;
        ShowPage(p);
        Change();
        return;
    }
}

TRect TPageControl::DisplayRect() const
{
    QTabBar* bar = PageAccess::Bar(this);
    const int th = bar ? bar->sizeHint().height() : 20;
    return Rect(4, th + 2, std::max(4, Width() - 4), std::max(th + 2, Height() - 4));
}

int TPageControl::IndexOfTabAt(int x, int y) const
{
    QTabBar* bar = PageAccess::Bar(this);
    return bar->tabAt(bar->mapFrom(ControlAccess::Widget(this), QPoint(x, y)));
}

void TPageControl::AdjustClientRect(TRect& rect) { rect = DisplayRect(); }

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange) OnChange(this);
}

void TPageControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
        TWinControl::Dispatch(m);
        if (QTabBar* bar = PageAccess::Bar(this)) bar->setGeometry(2, 0, std::max(0, Width() - 4), bar->sizeHint().height());
        if (FActivePage) {
            const TRect r = DisplayRect();
            FActivePage->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        }
        return;
    case WM_PAINT:
        if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) {
            // The control is opaque: it paints all of itself, the strip
            // beside the tabs and the ring around the page included.
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Brush()->SetColor(Color());
            c->FillRect(ClientRect());
            TRect r = DisplayRect();
            InflateRect(r, 2, 2);
            c->Frame3D(r, clBtnHighlight, clBtnShadow, 1);
        }
        TWinControl::Dispatch(m);
        return;
    case CM_DIALOGKEY:
        if (m.WParam == VK_TAB && GetShiftState().Contains(TShiftStateItem::ssCtrl) && Focused()) {
            SelectNextPage(!GetShiftState().Contains(TShiftStateItem::ssShift));
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(m);
}

// ------------------------------------------------------------ progress bar

TProgressBar::TProgressBar(rtl::TComponent* owner) : TWinControl(owner, TWindowKind::wkProgressBar)
{
    auto* pb = static_cast<QProgressBar*>(ControlAccess::Widget(this));
    pb->setTextVisible(false);
    Sync();
    SetBounds(0, 0, 150, 17);
}

void TProgressBar::Sync()
{
    auto* pb = static_cast<QProgressBar*>(ControlAccess::Widget(this));
    pb->setRange(FMin, FMax);
    pb->setValue(FPosition);
}

void TProgressBar::SetMin(int v) { FMin = v; FPosition = std::max(FPosition, v); Sync(); }
void TProgressBar::SetMax(int v) { FMax = v; FPosition = std::min(FPosition, v); Sync(); }
void TProgressBar::SetPosition(int v) { FPosition = std::clamp(v, FMin, std::max(FMin, FMax)); Sync(); }

void TProgressBar::StepIt()
{
    int p = FPosition + FStep;
    if (p > FMax) p = FMin + (p - FMax - 1);   // wraps round as the native bar does
    SetPosition(p);
}

void TProgressBar::SetVertical(bool v)
{
    FVertical = v;
    static_cast<QProgressBar*>(ControlAccess::Widget(this))->setOrientation(v ? Qt::Vertical : Qt::Horizontal);
}

// ----------------------------------------------------------------- tool bar

TToolButton::TToolButton(rtl::TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle = {TControlStyleItem::csCaptureMouse, TControlStyleItem::csClickEvents,
                     TControlStyleItem::csSetCaption, TControlStyleItem::csActionClient};
    SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::Bar() const { return dynamic_cast<TToolBar*>(FParent); }

void TToolButton::SetParent(TWinControl* parent)
{
    TGraphicControl::SetParent(parent);
    if (TToolBar* b = Bar()) b->Realign();
}

void TToolButton::SetStyle(TToolButtonStyle s)
{
    FStyle = s;
    if (TToolBar* b = Bar()) b->Realign();
    Invalidate();
}

void TToolButton::SetDown(bool v)
{
    if (FDown == v) return;
    FDown = v;
    if (v && FGrouped && FParent) {
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* t = dynamic_cast<TToolButton*>(FParent->Controls(i)))
                if (t != this && t->FGrouped && t->FStyle == TToolButtonStyle::tbsCheck) t->SetDown(false);
    }
    Invalidate();
}

void TToolButton::Click()
{
    if (FStyle == TToolButtonStyle::tbsSeparator || FStyle == TToolButtonStyle::tbsDivider) return;
    if (FStyle == TToolButtonStyle::tbsCheck && !Action()) {
        if (!FDown) SetDown(true);
        else if (!FGrouped || FAllowAllUp) SetDown(false);
    }
    TGraphicControl::Click();
    if (FDropdownMenu && !OnClick && !Action()) {
        const TPoint p = ClientToScreen({0, Height()});
        FDropdownMenu->SetPopupComponent(this);
        FDropdownMenu->Popup(p.X, p.Y);
    }
}

void TToolButton::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    TGraphicControl::ActionChange(sender, checkDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(sender)) {
        FImageIndex = a->ImageIndex();
        FDown = a->Checked();
        if (a->Checked() || a->AutoCheck()) FStyle = TToolButtonStyle::tbsCheck;
        if (!a->Hint().empty()) SetShowHint(true);
        Invalidate();
        if (TToolBar* b = Bar()) b->Realign();
    }
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft && Enabled()) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::Dispatch(TMessage& m)
{
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        FHot = m.Msg == CM_MOUSEENTER && Enabled();
        Invalidate();
    }
    TGraphicControl::Dispatch(m);
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (FStyle == TToolButtonStyle::tbsSeparator) return;
    if (FStyle == TToolButtonStyle::tbsDivider) {
        TRect d = Rect(r.Width() / 2 - 1, 2, r.Width() / 2 + 1, r.Height() - 2);
        c->Frame3D(d, clBtnShadow, clBtnHighlight, 1);
        return;
    }
    TToolBar* bar = Bar();
    const bool flat = !bar || bar->Flat();
    if (FDown || FPressed) c->Frame3D(r, clBtnShadow, clBtnHighlight, 1);
    else if (FHot || !flat) c->Frame3D(r, clBtnHighlight, clBtnShadow, 1);
    if (FDown && !FPressed) {
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(r);
    }
    const int off = FPressed || FDown ? 1 : 0;
    TImageList* il = bar ? bar->Images() : nullptr;
    int textTop = 2;
    if (il && FImageIndex >= 0) {
        const int x = (Width() - il->Width()) / 2 + off;
        const int y = (bar && bar->ShowCaptions() ? 3 : (Height() - il->Height()) / 2) + off;
        il->Draw(c, x, y, FImageIndex, Enabled());
        textTop = y + il->Height() + 1;
    }
    if (bar && bar->ShowCaptions()) {
        c->SetFont(Font());
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (!Enabled()) c->Font()->SetColor(clGrayText);
        TRect t = Rect(0, textTop + off, Width(), Height());
        // The bar takes no Alt letters (the menus carry them): an "&" of the
        // caption shows no underline.
        c->DrawText(Caption(), t, DT_CENTER | DT_SINGLELINE | DT_HIDEPREFIX);
    }
}

TToolBar::TToolBar(rtl::TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csDoubleClicks,
                     TControlStyleItem::csMenuEvents, TControlStyleItem::csSetCaption};
    SetBounds(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

int TToolBar::ButtonCount() const
{
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i) n += dynamic_cast<TToolButton*>(Controls(i)) != nullptr;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const
{
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(Controls(i)))
            if (n++ == index) return b;
    return nullptr;
}

TToolButton* TToolBar::AddActionButton(TBasicAction* action)
{
    if (!action) return AddSeparator();
    auto* b = new TToolButton(Owner());
    b->SetParent(this);
    b->SetAction(action);
    Realign();
    return b;
}

TToolButton* TToolBar::AddSeparator()
{
    auto* b = new TToolButton(Owner());
    b->SetStyle(TToolButtonStyle::tbsSeparator);
    b->SetParent(this);
    Realign();
    return b;
}

void TToolBar::AlignControls(TControl* control, TRect& rect)
{
    int x = rect.Left + 2;
    int y = rect.Top + 2;
    int rows = 1;
    TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Font());
    int h = FButtonHeight;
    if (FShowCaptions) h = std::max(h, (FImages ? FImages->Height() + 4 : 0) + probe.Canvas()->TextHeight("Ag") + 4);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        auto* b = dynamic_cast<TToolButton*>(c);
        int w = c->Width();
        if (b) {
            if (b->Style() == TToolButtonStyle::tbsSeparator || b->Style() == TToolButtonStyle::tbsDivider) w = 8;
            else {
                w = FButtonWidth;
                if (FShowCaptions) w = std::max(w, probe.Canvas()->TextWidth(StripHotkey(b->Caption())) + 8);
            }
        }
        // Wrap before a control that would cross the right edge (a
        // separator at the end of a row is simply left there).
        const bool separator = b && (b->Style() == TToolButtonStyle::tbsSeparator ||
                                     b->Style() == TToolButtonStyle::tbsDivider);
        if (!separator && x > rect.Left + 2 && x + w > rect.Right - 2 && rect.Right > rect.Left) {
            x = rect.Left + 2;
            y += h;
            ++rows;
        }
        if (b) b->SetBounds(x, y, w, h);
        else c->SetBounds(x, y, c->Width(), c->Height());
        x += w;
    }
    (void)control;
    FRowCount = rows;
    const int extra = (rows - 1) * h;
    if (extra != FWrapExtra) {
        const int base = Height() - FWrapExtra;
        FWrapExtra = extra;
        SetHeight(base + extra);
    }
}

void TToolBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

} // namespace gui
