// The page control's page list and activation: sheets attaching and
// detaching, native tab items, the active page, change checks, keyboard,
// images and margins, colour defaults, redraw suspension and docking.

#include "controls/ExPageControl.h"

#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace controls {

using namespace gui;

// ------------------------------------------------------------- TTabMargin

void TTabMargin::SetMargin(int index, TMarginSize value)
{
    TMarginSize& field = index == 0 ? FLeftMargin : index == 1 ? FTopMargin : FRightMargin;
    if (field == value) return;
    if (OnMarginChange) OnMarginChange(value, field, index);
    field = value;
}

void TTabMargin::Assign(const rtl::TPersistent* source)
{
    if (const auto* m = dynamic_cast<const TTabMargin*>(source)) {
        FLeftMargin = m->FLeftMargin;
        FTopMargin = m->FTopMargin;
        FRightMargin = m->FRightMargin;
        return;
    }
    rtl::TPersistent::Assign(source);
}

// ------------------------------------------------------------ TExTabSheet

TExTabSheet::TExTabSheet(rtl::TComponent* owner) : TCustomControl(owner)
{
    SetAlign(TAlign::alClient);
    ControlStyleRef().Include(TControlStyleItem::csAcceptsControls);
    ControlStyleRef().Include(TControlStyleItem::csNoDesignVisible);
    FVisible = false;
    RebuildTabCaption();
}

TExTabSheet::~TExTabSheet()
{
    if (FExPageControl) {
        if (FExPageControl->FUndockingPage == this) FExPageControl->FUndockingPage = nullptr;
        FExPageControl->DetachSheet(this);
    }
}

void TExTabSheet::RebuildTabCaption()
{
    const std::string caption = Caption();
    if (FShowClose) {
        FTabCaption = caption + " ";
        return;
    }
    // The caption without its last two characters (whole UTF-8 sequences).
    std::string s = caption;
    for (int k = 0; k < 2 && !s.empty(); ++k) {
        std::size_t n = s.size() - 1;
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
        s.erase(n);
    }
    FTabCaption = s;
}

void TExTabSheet::SetExPageControl(TExPageControl* pc)
{
    if (pc == FExPageControl) return;
    if (FExPageControl) FExPageControl->DetachSheet(this);
    SetParent(pc);
    if (!pc) return;
    pc->AppendSheet(this);
    if (FTextColor == 0) FTextColor = pc->FDefaultTextColor;
    if (FTabColor == clNone) FTabColor = pc->FDefaultTabColor;
    if (FTabColorTo == clNone) FTabColorTo = pc->FDefaultTabColorTo;
}

int TExTabSheet::PageIndex() const
{
    if (!FExPageControl) return -1;
    const auto& v = FExPageControl->FPages;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TExTabSheet::SetPageIndex(int value)
{
    if (!FExPageControl) return;
    auto& pages = FExPageControl->FPages;
    const int count = FExPageControl->PageCount();
    if (value > count - 1)
        throw rtl::EListError(rtl::Format(
            "%d ist ein ungültiger Wert für PageIndex. PageIndex muss zwischen 0 und %d liegen", value, count - 1));
    if (value < 0) throw rtl::EListError(rtl::Format("Listenindex überschreitet das Maximum (%d)", value));
    const int oldTab = TabIndex();
    const int from = PageIndex();
    pages.erase(pages.begin() + from);
    pages.insert(pages.begin() + value, this);
    if (FTabShowing && oldTab >= 0) FExPageControl->Tabs()->Move(oldTab, TabIndex());
}

int TExTabSheet::TabIndex() const
{
    if (!FTabShowing || !FExPageControl) return -1;
    int n = 0;
    for (TExTabSheet* p : FExPageControl->FPages) {
        if (p == this) return n;
        if (p->FTabShowing) ++n;
    }
    return -1;
}

void TExTabSheet::SetColorTo(TColor c)
{
    FColorTo = c;
    Invalidate();
    if (FExPageControl) FExPageControl->Invalidate();
}

void TExTabSheet::SetHighlighted(bool v)
{
    if (FExPageControl && !ComponentState().Contains(rtl::TComponentStateItem::csReading))
        FExPageControl->Perform(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(TabIndex()), v ? 1 : 0);
    FHighlighted = v;
}

void TExTabSheet::SetImageIndex(int v)
{
    if (v < 0) {
        FImageIndex = -1;
        FImageIndexDummy = 0;
    } else {
        FImageIndex = FImageIndexDummy = v;
    }
    RebuildTabCaption();
    if (FExPageControl) FExPageControl->RefreshTabText(this);
}

void TExTabSheet::SetTabGradientDirection(TGradientDirection v)
{
    if (v == FTabGradientDirection) return;
    FTabGradientDirection = v;
    if (FExPageControl) FExPageControl->Invalidate();
}

void TExTabSheet::SetShowClose(bool v)
{
    FShowClose = v;
    RebuildTabCaption();
    if (FExPageControl) {
        FExPageControl->RefreshTabText(this);
        FExPageControl->Invalidate();
    }
}

void TExTabSheet::SetTabEnable(bool v)
{
    if (FExPageControl && FExPageControl->FActivePage == this && v != FTabEnable)
        throw rtl::Exception("Can not disable active tab.");
    FTabEnable = v;
    if (FExPageControl) FExPageControl->Invalidate();
}

void TExTabSheet::SetTabVisible(bool v)
{
    if (v == FTabVisible) return;
    FTabVisible = v;
    if (FExPageControl) {
        FExPageControl->RefreshNativeTab(this);
        FExPageControl->RefreshTabText(this);
    }
}

void TExTabSheet::SetTabColor(TColor c)
{
    FTabColor = c;
    Invalidate();
}

void TExTabSheet::SetTabColorTo(TColor c)
{
    FTabColorTo = c;
    Invalidate();
}

void TExTabSheet::SetTextColor(TColor c)
{
    FTextColor = c;
    if (FExPageControl) FExPageControl->Invalidate();
}

void TExTabSheet::SelectFirstControl()
{
    SelectFirst();
}

bool TExTabSheet::AskCanClose()
{
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

void TExTabSheet::FireClose()
{
    if (OnClose) OnClose(this);
}

void TExTabSheet::FireHide()
{
    if (OnHide) OnHide(this);
}

void TExTabSheet::FireShow()
{
    if (OnShow) OnShow(this);
}

void TExTabSheet::SetVisible(bool visible)
{
    const bool was = Visible();
    TCustomControl::SetVisible(visible);
    if (was == Visible()) return;
    // The showing change completes even when a handler raises.
    try {
        if (visible) FireShow();
        else FireHide();
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TExTabSheet::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (FColorTo != clNone) DrawPageGradient(c, Color(), FColorTo, 64, ClientRect(), false);
}

void TExTabSheet::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(m);
        RebuildTabCaption();
        if (FExPageControl && FTabShowing) FExPageControl->RefreshTabText(this);
        return;
    case CM_COLORCHANGED:
        TCustomControl::Dispatch(m);
        if (FExPageControl) FExPageControl->Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(m);
        if (FExPageControl) FExPageControl->Invalidate();
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

// --------------------------------------------------------- TExPageControl

TExPageControl::TExPageControl(rtl::TComponent* owner) : TDockSite(owner)
{
    ControlStyleRef().Include(TControlStyleItem::csOpaque);
    ControlStyleRef().Include(TControlStyleItem::csDoubleClicks);
    FClosedTabList = std::make_unique<rtl::TStringList>();
    FTabBackGround = std::make_unique<TBitmap>();
    FTabBackGroundActive = std::make_unique<TBitmap>();
    FCloseGlyph = std::make_unique<TBitmap>();
    FActiveFont = std::make_unique<TFont>();
    FActiveFont->SetName("Tahoma");
    FActiveFont->OnChange = [this](rtl::TObject*) { UpdateActiveTab(FActivePage); };
    SetOwnerDraw(!FTabBorder3D);
    FTabMargin = std::make_unique<TTabMargin>();
    FTabMargin->OnMarginChange = [this](TMarginSize n, TMarginSize o, int i) { MarginChanged(n, o, i); };
    TCustomTabControl::OnChange = [this](rtl::TObject*) { NotifyTabsChanged(); };
    SetDoubleBuffered(true);
}

TExPageControl::~TExPageControl()
{
    for (TExTabSheet* p : FPages) {
        p->FExPageControl = nullptr;
        p->FTabShowing = false;
    }
    FPages.clear();
    FActivePage = nullptr;
}

std::string TExPageControl::Version() const
{
    return rtl::Format("%d.%d.%d.%d", (VersionNr >> 24) & 0xFF, (VersionNr >> 16) & 0xFF, (VersionNr >> 8) & 0xFF,
                       VersionNr & 0xFF);
}

bool TExPageControl::SideTabs() const
{
    return TabPosition() == TTabPosition::tpLeft || TabPosition() == TTabPosition::tpRight;
}

// --- attaching and native items

void TExPageControl::AppendSheet(TExTabSheet* sheet)
{
    FPages.push_back(sheet);
    sheet->FExPageControl = this;
    RefreshNativeTab(sheet);
}

void TExPageControl::DetachSheet(TExTabSheet* sheet)
{
    TExTabSheet* next = FindNextPage(sheet, true, !IsDesigning());
    ShowNativeTab(sheet, false);
    sheet->FExPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), sheet), FPages.end());
    if (FHoverTab >= PageCount()) FHoverTab = -1;
    if (FActivePage == sheet) SetActivePage(next == sheet ? nullptr : next);
    // The next page may refuse (TabEnable False): the removed sheet must not
    // stay active.
    if (FActivePage == sheet) {
        FActivePage = nullptr;
        SyncActivePage();
        if (FActivePage == sheet) FActivePage = nullptr;
    }
}

void TExPageControl::RefreshNativeTab(TExTabSheet* sheet)
{
    ShowNativeTab(sheet, sheet->FExPageControl == this && sheet->FTabVisible);
}

void TExPageControl::ShowNativeTab(TExTabSheet* sheet, bool value)
{
    if (sheet->FTabShowing == value) return;
    if (value) {
        sheet->FTabShowing = true;
        Tabs()->InsertObject(sheet->TabIndex(), FTabBorder3D ? sheet->Caption() : sheet->FTabCaption, sheet);
        SyncActivePage();
        return;
    }
    const int index = sheet->TabIndex();
    sheet->FTabShowing = false;
    const bool wasSelected = TabIndex() == index;
    Tabs()->Delete(index);
    if (sheet == FActivePage || wasSelected) {
        const int count = Tabs()->Count();
        SetTabIndex(count == 0 ? -1 : std::min(index, count - 1));
    }
    SyncActivePage();
}

void TExPageControl::SyncActivePage()
{
    const int i = TabIndex();
    if (i >= 0) SetActivePage(static_cast<TExTabSheet*>(Tabs()->Objects(i)));
    else SetActivePage(nullptr);
}

void TExPageControl::RefreshTabText(TExTabSheet* sheet)
{
    if (!sheet || !sheet->FTabShowing) return;
    if (FTabBorder3D) {
        Tabs()->SetStrings(sheet->TabIndex(), sheet->Caption());
        return;
    }
    const bool styled = FActiveFont->Style().Contains(TFontStyle::fsBold) ||
                        FActiveFont->Style().Contains(TFontStyle::fsItalic);
    if (sheet == FActivePage && styled) UpdateActiveTab(sheet);
    else Tabs()->SetStrings(sheet->TabIndex(), sheet->FTabCaption);
}

void TExPageControl::UpdateActiveTab(TExTabSheet* sheet)
{
    if (FTabBorder3D || !sheet || !sheet->FTabShowing) return;
    const bool styled = FActiveFont->Style().Contains(TFontStyle::fsBold) ||
                        FActiveFont->Style().Contains(TFontStyle::fsItalic);
    if (sheet == FActivePage && styled) {
        // Widen the item by spaces so that the bold or italic caption fits.
        TBitmap probe(1, 1);
        TCanvas* c = probe.Canvas();
        c->Font()->Assign(FActiveFont.get());
        const int w1 = c->TextWidth(sheet->FTabCaption);
        c->Font()->Assign(Font());
        const int w2 = c->TextWidth(sheet->FTabCaption);
        std::string filler;
        while (c->TextWidth(filler) < w1 - w2) filler += ' ';
        Tabs()->SetStrings(sheet->TabIndex(), sheet->FTabCaption + filler);
        return;
    }
    Tabs()->SetStrings(sheet->TabIndex(), sheet->FTabCaption);
}

// --- activation

void TExPageControl::SetActivePage(TExTabSheet* value)
{
    if (value && value->FExPageControl != this) return;
    SwitchActivePage(value);
    if (!value) {
        SetTabIndex(-1);
        FActivePage = nullptr;
    } else if (value == FActivePage) {
        SetTabIndex(value->TabIndex());
    }
}

void TExPageControl::SwitchActivePage(TExTabSheet* page)
{
    if (page == FActivePage || !page || (!IsDesigning() && !page->FTabEnable)) return;
    TCustomForm* form = GetParentForm();
    if (form && FActivePage && form->ActiveControl() && FActivePage->ContainsControl(form->ActiveControl())) {
        try {
            form->SetActiveControl(FActivePage);
        } catch (const rtl::Exception&) {
        }
        if (form->ActiveControl() != FActivePage) {
            SetTabIndex(FActivePage->TabIndex());
            return;
        }
    }
    page->BringToFront();
    page->SetVisible(true);
    if (form && FActivePage && form->ActiveControl() == FActivePage) {
        try {
            if (page->CanFocus()) form->SetActiveControl(page);
            else form->SetActiveControl(this);
        } catch (const rtl::Exception&) {
        }
    }
    TExTabSheet* old = FActivePage;
    if (old) old->SetVisible(false);
    // A page left showing by SetActivePage(nil) goes as well: only the
    // active page is visible.
    for (TExTabSheet* p : FPages)
        if (p != page && p->Visible()) p->SetVisible(false);
    FActivePage = page;
    UpdateActiveTab(old);
    UpdateActiveTab(page);
    if (form && form->ActiveControl() == page) page->SelectFirstControl();
}

int TExPageControl::GetSelectedPageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TExPageControl::SetSelectedPageIndex(int value)
{
    if (value >= 0 && value < PageCount()) SetActivePage(FPages[static_cast<std::size_t>(value)]);
    else SetActivePage(nullptr);
}

void TExPageControl::Change()
{
    SyncActivePage();
    TDockSite::Change();
}

void TExPageControl::NotifyTabsChanged()
{
    if (OnChange) OnChange(this);
    Invalidate();
}

bool TExPageControl::CanChange()
{
    const TPoint p = FInMouseDown ? FMouseDownPos : ScreenToClient(GetCursorPos());
    int target = PageIndexAt(p.X, p.Y);
    if (target < 0) {
        target = ActivePageIndex() + (GetShiftState().Contains(TShiftStateItem::ssShift) ? -1 : 1);
        if (target >= PageCount()) target = 0;
        if (target < 0) target = PageCount() - 1;
    }
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), target, allow);
    if (!allow) {
        if (MultiLine()) EndUpdate();
        return false;
    }
    if (MultiLine()) EndUpdate();
    const bool result = TDockSite::CanChange();
    if (result && MultiLine()) BeginUpdate();
    return result;
}

void TExPageControl::BeginUpdate()
{
    if (!Visible() || IsLoading()) return;
    ++FUpdateCount;
    Perform(WM_SETREDRAW, 0, 0);
}

void TExPageControl::EndUpdate()
{
    if (!Visible()) return;
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) {
        Perform(WM_SETREDRAW, 1, 0);
        Invalidate();
    }
}

TExTabSheet* TExPageControl::FindNextPage(TExTabSheet* curPage, bool goForward, bool checkTabVisible) const
{
    const int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), curPage);
    int start = it == FPages.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TExTabSheet* p = FPages[static_cast<std::size_t>(i)];
        if (!checkTabVisible || p->FTabVisible) return p;
    } while (i != start);
    return nullptr;
}

void TExPageControl::SelectNextPage(bool goForward)
{
    // Pages whose tab is disabled are passed over: stopping on one would
    // leave the active page unchanged and the next Ctrl+Tab stuck there.
    TExTabSheet* p = FindNextPage(FActivePage, goForward, true);
    TExTabSheet* first = p;
    while (p && !IsDesigning() && !p->FTabEnable) {
        p = FindNextPage(p, goForward, true);
        if (p == first) p = nullptr;
    }
    if (p && p != FActivePage && CanChange()) {
        SetTabIndex(p->TabIndex());
        Change();
    }
}

bool TExPageControl::IsTabEnabledAt(int index)
{
    return index >= 0 && index < PageCount() && FPages[static_cast<std::size_t>(index)]->Enabled();
}

int TExPageControl::GetImageIndex(int tabIndex)
{
    if (TCustomTabControl::OnGetImageIndex) return TDockSite::GetImageIndex(tabIndex);
    int seen = 0;
    for (TExTabSheet* p : FPages) {
        if (!p->FTabVisible) continue;
        if (seen++ == tabIndex) return p->FImageIndexDummy;
    }
    return 0;
}

int TExPageControl::ImageExtent(bool sideTabs) const
{
    if (FTabBorder3D) return TDockSite::ImageExtent(sideTabs);
    return sideTabs ? FDummyHeight : FDummyWidth;
}

int TExPageControl::PageIndexAt(int x, int y) const
{
    int i = IndexOfTabAt(x, y);
    if (i < 0) return -1;
    for (int j = 0; j < PageCount(); ++j)
        if (j <= i && !FPages[static_cast<std::size_t>(j)]->FTabVisible) ++i;
    return i;
}

TRect TExPageControl::PageTabRect(int pageIndex) const
{
    int index = pageIndex;
    for (int j = 0; j < pageIndex && j < PageCount(); ++j)
        if (!FPages[static_cast<std::size_t>(j)]->FTabVisible) --index;
    return TabRect(index);
}

// --- images, margins, defaults

int TExPageControl::ItemLength(int index) const
{
    auto* self = const_cast<TExPageControl*>(this);
    auto* page = index >= 0 && index < self->Tabs()->Count() ? static_cast<TExTabSheet*>(self->Tabs()->Objects(index)) : nullptr;
    if (FTabBorder3D || TabWidth() > 0 || !page) return TDockSite::ItemLength(index);
    // Where PlaceTabText starts the text: 4 pixels in, past a close glyph on
    // the leading side, the leading margin and the image.
    const bool side = SideTabs();
    const bool closeLeft = page->ShowClose() && FClosePosition == TClosePosition::cpLeft;
    const bool closeRight = page->ShowClose() && FClosePosition == TClosePosition::cpRight;
    int lead = 4 + (closeLeft ? (side ? 13 : 14) : 0);
    lead += side ? FTabMargin->TopMargin() : FTabMargin->LeftMargin();
    if (FImages && page->ImageIndex() >= 0) lead += ImagesExtent(side);
    // The caption in the active font on the active tab, else in the font.
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(page == FActivePage ? FActiveFont.get() : Font());
    const int text = probe.Canvas()->TextWidth(page->Caption());
    // After the text: a gap, the trailing margin and a close glyph there.
    constexpr int gap = 6, glyph = 14;
    return lead + text + gap + FTabMargin->RightMargin() + (closeRight ? glyph : 0);
}

int TExPageControl::ImagesExtent(bool sideTabs) const
{
    if (!FImages) return 0;
    return sideTabs ? FImages->Height() : FImages->Width();
}

void TExPageControl::SetImages(TImageList* images)
{
    const bool side = SideTabs();
    if (FImages) (side ? FDummyHeight : FDummyWidth) -= ImagesExtent(side);
    FImages = images;
    if (FImages) (side ? FDummyHeight : FDummyWidth) += ImagesExtent(side);
    TDockSite::SetImages(FTabBorder3D ? FImages : nullptr);
    Invalidate();
}

void TExPageControl::SetTabPosition(TTabPosition value)
{
    TImageList* saved = FImages;
    if (saved) SetImages(nullptr);
    TDockSite::SetTabPosition(value);
    if (saved) SetImages(saved);
    UpdateImageExtent();
}

void TExPageControl::UpdateImageExtent()
{
    if (SideTabs()) FDummyHeight = ImagesExtent(true) + FTabMargin->RightMargin() + FTabMargin->TopMargin();
    else FDummyWidth = ImagesExtent(false) + FTabMargin->RightMargin() + FTabMargin->LeftMargin();
    TabsChanged();
}

void TExPageControl::MarginChanged(TMarginSize newValue, TMarginSize oldValue, int index)
{
    if (FPropertiesLoaded || IsDesigning()) {
        const bool side = SideTabs();
        if (index == 0 && !side) FDummyWidth = FTabMargin->RightMargin() + ImagesExtent(false) + newValue;
        else if (index == 1 && side) FDummyHeight = FTabMargin->RightMargin() + ImagesExtent(true) + newValue;
        else if (index == 2) (side ? FDummyHeight : FDummyWidth) += newValue - oldValue;
    }
    TabsChanged();   // the margins size the tabs
}

void TExPageControl::SetTabMargin(const TTabMargin* m)
{
    if (m) FTabMargin->Assign(m);
}

void TExPageControl::SetActiveFont(const TFont* f)
{
    FActiveFont->Assign(f);
    Invalidate();
}

void TExPageControl::SetClosePosition(TClosePosition v)
{
    if (v == FClosePosition) return;
    FClosePosition = v;
    TabsChanged();   // the glyph's room moves to the other end
}

void TExPageControl::SetDefaultTextColor(TColor c)
{
    for (TExTabSheet* p : FPages)
        if (p->FTextColor == FDefaultTextColor) p->SetTextColor(c);
    FDefaultTextColor = c;
    Invalidate();
}

void TExPageControl::SetDefaultTabColor(TColor c)
{
    for (TExTabSheet* p : FPages)
        if (p->FTabColor == FDefaultTabColor) p->SetTabColor(c);
    FDefaultTabColor = c;
    Invalidate();
}

void TExPageControl::SetDefaultTabColorTo(TColor c)
{
    for (TExTabSheet* p : FPages)
        if (p->FTabColorTo == FDefaultTabColorTo) p->SetTabColorTo(c);
    FDefaultTabColorTo = c;
    Invalidate();
}

void TExPageControl::SetTabBorder3D(bool v)
{
    if (v == FTabBorder3D) return;
    FTabBorder3D = v;
    TDockSite::SetImages(v ? FImages : nullptr);
    SetOwnerDraw(!v);
    for (int i = PageCount() - 1; i >= 0; --i) RefreshTabText(FPages[static_cast<std::size_t>(i)]);
    if (!v) UpdateActiveTab(FActivePage);
    TabsChanged();
}

void TExPageControl::SetTabBackGround(const TBitmap* b)
{
    FTabBackGround->Assign(b);
    if (IsDesigning() && !FTabBackGround->Empty())
        SetTabHeight((SideTabs() ? FTabBackGround->Width() : FTabBackGround->Height()) - 3);
    Invalidate();
}

void TExPageControl::SetTabBackGroundActive(const TBitmap* b)
{
    FTabBackGroundActive->Assign(b);
    Invalidate();
}

void TExPageControl::SetTabSplitLine(bool v)
{
    if (v && (FTabStyle == TTabStyle::tsDotNet || FTabStyle == TTabStyle::tsLined))
        throw rtl::Exception("TabSplitLine must be false when TabStyle is tsDotNet/tsLined");
    FTabSplitLine = v;
    Invalidate();
}

// --- streaming

void TExPageControl::GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent*)
{
    for (TExTabSheet* p : FPages) proc(p);
}

void TExPageControl::SetChildOrder(rtl::TComponent* child, int order)
{
    if (auto* sheet = dynamic_cast<TExTabSheet*>(child)) sheet->SetPageIndex(order);
}

void TExPageControl::Loaded()
{
    TDockSite::Loaded();
    for (TExTabSheet* p : FPages) p->SetHighlighted(p->FHighlighted);
    UpdateImageExtent();
    FPropertiesLoaded = true;
    for (int i = PageCount() - 1; i >= 0; --i) RefreshTabText(FPages[static_cast<std::size_t>(i)]);
    UpdateActiveTab(FActivePage);
}

// --- messages

void TExPageControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGKEY:
        if ((Focused() || (Screen && Screen->ActiveControl() && ContainsControl(Screen->ActiveControl()))) &&
            m.WParam == VK_TAB && GetShiftState().Contains(TShiftStateItem::ssCtrl)) {
            SelectNextPage(!GetShiftState().Contains(TShiftStateItem::ssShift));
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        for (int i = 0; i < PageCount(); ++i) {
            TExTabSheet* p = FPages[static_cast<std::size_t>(i)];
            if (IsAccel(static_cast<char16_t>(m.WParam), p->Caption()) && IsTabEnabledAt(i) && CanFocus()) {
                m.Result = 1;
                bool allow = true;
                if (OnCanChange) OnCanChange(this, ActivePageIndex(), i, allow);
                if (allow) {
                    SetTabIndex(p->TabIndex());
                    Change();
                }
                return;
            }
        }
        break;
    case CN_NOTIFY: {
        const auto* hdr = reinterpret_cast<const TNMHdr*>(m.LParam);
        if (hdr && hdr->code == TCN_SELCHANGING && MultiLine()) {
            BeginUpdate();
            TDockSite::Dispatch(m);
            return;
        }
        if (hdr && hdr->code == TCN_SELCHANGE) {
            TDockSite::Dispatch(m);
            if (MultiLine()) EndUpdate();
            return;
        }
        break;
    }
    case CN_DRAWITEM:
        if (FUpdateCount > 0) {
            m.Result = 1;
            return;
        }
        break;
    case CM_MOUSELEAVE:
        if (FTabBackGround->Empty() && FHoverTab != -1) InvalidateTab(FHoverTab);
        FHoverTab = -1;
        break;
    case CM_DOCKCLIENT: {
        const auto* dm = reinterpret_cast<const TDockMessage*>(m.LParam);
        m.Result = 0;
        if (!dm || !dm->Client) return;
        FNewDockSheet = new TExTabSheet(this);
        if (auto* form = dynamic_cast<TCustomForm*>(dm->Client)) FNewDockSheet->SetCaption(form->Caption());
        FNewDockSheet->SetExPageControl(this);
        try {
            ManualDockInto(dm->Client, dm->DockRect);
        } catch (...) {
            delete FNewDockSheet;
            FNewDockSheet = nullptr;
            throw;
        }
        FNewDockSheet->SetTabVisible(dm->Client->Visible());
        if (dm->Client->Visible()) SetActivePage(FNewDockSheet);
        dm->Client->SetAlign(TAlign::alClient);
        FNewDockSheet = nullptr;
        return;
    }
    case CM_UNDOCKCLIENT: {
        const auto* dm = reinterpret_cast<const TDockMessage*>(m.LParam);
        m.Result = 0;
        if (dm && dm->Client) {
            if (TExTabSheet* s = SheetOfDockedControl(dm->Client)) {
                FUndockingPage = s;
                dm->Client->SetAlign(TAlign::alNone);
            }
        }
        return;
    }
    case CM_DOCKNOTIFICATION: {
        const auto* dm = reinterpret_cast<const TDockMessage*>(m.LParam);
        if (dm && dm->Client) {
            if (TExTabSheet* s = SheetOfDockedControl(dm->Client)) {
                if (dm->NotifyMsg == WM_SETTEXT) {
                    std::string text = dm->NotifyLParam ? reinterpret_cast<const char*>(dm->NotifyLParam) : "";
                    s->SetCaption(text.substr(0, text.find_first_of("\r\n")));
                } else if (dm->NotifyMsg == CM_VISIBLECHANGED) {
                    s->SetTabVisible(dm->NotifyWParam != 0);
                }
            }
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        TDockSite::Dispatch(m);
        // A press on a docked form's tab begins dragging it; released
        // outside the control it floats (MouseUp).
        FDragClient = nullptr;
        if (TControl* c = DockClientAt({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            c && Style() == gui::TTabStyle::tsTabs)
            FDragClient = c;
        return;
    }
    case WM_LBUTTONDBLCLK: {
        TDockSite::Dispatch(m);
        if (TControl* c = DockClientAt({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) UndockClient(c);
        return;
    }
    default: break;
    }
    TDockSite::Dispatch(m);
}

// --- docking

TExTabSheet* TExPageControl::SheetOfDockedControl(const TControl* client) const
{
    if (!client || HostDockSite(client) != this) return nullptr;
    auto* sheet = dynamic_cast<TExTabSheet*>(client->Parent());
    return sheet && sheet->FExPageControl == this ? sheet : nullptr;
}

TControl* TExPageControl::DockClientAt(TPoint p) const
{
    if (!DockSite()) return nullptr;
    TTCHitTestInfo info{p, 0};
    const int i = static_cast<int>(const_cast<TExPageControl*>(this)->Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (i < 0) return nullptr;
    TExTabSheet* page = nullptr;
    for (int k = 0; k <= i; ++k) page = FindNextPage(page, true, true);
    if (!page || page->ControlCount() == 0) return nullptr;
    TControl* c = page->Controls(0);
    return HostDockSite(c) == this ? c : nullptr;
}

void TExPageControl::DoAddDockClient(TControl* client, const TRect&)
{
    if (FNewDockSheet) client->SetParent(FNewDockSheet);
}

void TExPageControl::DoRemoveDockClient(TControl*)
{
    if (FUndockingPage && !IsDestroying()) {
        SelectNextPage(true);
        TExTabSheet* s = FUndockingPage;
        FUndockingPage = nullptr;
        delete s;
    }
}

void TExPageControl::DockOver(TControl* client, int x, int y, TRect& dockRect, bool& accept)
{
    dockRect = Rect(ClientOrigin().X, ClientOrigin().Y, ClientOrigin().X + Width(), ClientOrigin().Y + Height());
    TDockSite::DockOver(client, x, y, dockRect, accept);
}

void TExPageControl::GetSiteInfo(TControl* client, TRect& influenceRect, TPoint mousePos, bool& canDock)
{
    canDock = SheetOfDockedControl(client) == nullptr;
    TDockSite::GetSiteInfo(client, influenceRect, mousePos, canDock);
}

} // namespace controls
