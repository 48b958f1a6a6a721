// The program-drawn tab strip: item list, layout in rows or a scrolled
// line, hit testing, notifications, default and owner drawing; and the dock
// site protocol between windows of this program.

#include "platform/gui/TabCtrls.h"

#include <algorithm>
#include <map>

#include "platform/gui/ActnList.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace gui {

namespace {
constexpr int kArrowsWidth = 34;   // two 16-pixel buttons and their gap
constexpr int kTextPad = 6;        // on each side of an item's text
constexpr int kImageGap = 6;       // between an item's image and its text (the padding)
} // namespace

// ------------------------------------------------------------ TTabStrings

void TTabStrings::Check(int index, bool allowEnd) const
{
    if (index < 0 || index > Count() || (!allowEnd && index == Count()))
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
}

const std::string& TTabStrings::Strings(int index) const
{
    Check(index, false);
    return FItems[static_cast<std::size_t>(index)].Text;
}

void TTabStrings::SetStrings(int index, const std::string& s)
{
    Check(index, false);
    FItems[static_cast<std::size_t>(index)].Text = s;
    FOwner->TabsChanged();
}

rtl::TObject* TTabStrings::Objects(int index) const
{
    Check(index, false);
    return FItems[static_cast<std::size_t>(index)].Object;
}

void TTabStrings::SetObjects(int index, rtl::TObject* object)
{
    Check(index, false);
    FItems[static_cast<std::size_t>(index)].Object = object;
}

int TTabStrings::AddObject(const std::string& s, rtl::TObject* object)
{
    InsertObject(Count(), s, object);
    return Count() - 1;
}

void TTabStrings::InsertObject(int index, const std::string& s, rtl::TObject* object)
{
    Check(index, true);
    FItems.insert(FItems.begin() + index, Item{s, object, false});
    // The first item of an empty strip is selected; otherwise the
    // selection stays on the same item.
    if (FItems.size() == 1) FOwner->FTabIndex = 0;
    else if (FOwner->FTabIndex >= index) ++FOwner->FTabIndex;
    FOwner->TabsChanged();
}

void TTabStrings::Delete(int index)
{
    Check(index, false);
    FItems.erase(FItems.begin() + index);
    int& sel = FOwner->FTabIndex;
    if (sel == index) sel = -1;
    else if (sel > index) --sel;
    FOwner->FFirstTab = std::clamp(FOwner->FFirstTab, 0, std::max(0, Count() - 1));
    FOwner->TabsChanged();
}

void TTabStrings::Move(int from, int to)
{
    Check(from, false);
    Check(to, false);
    if (from == to) return;
    Item item = FItems[static_cast<std::size_t>(from)];
    const bool selected = FOwner->FTabIndex == from;
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
    int& sel = FOwner->FTabIndex;
    if (selected) sel = to;
    else if (sel >= 0) {
        if (from < sel && to >= sel) --sel;
        else if (from > sel && to <= sel) ++sel;
    }
    FOwner->TabsChanged();
}

void TTabStrings::Clear()
{
    FItems.clear();
    FOwner->FTabIndex = -1;
    FOwner->FFirstTab = 0;
    FOwner->TabsChanged();
}

int TTabStrings::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].Text == s) return i;
    return -1;
}

int TTabStrings::IndexOfObject(const rtl::TObject* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].Object == object) return i;
    return -1;
}

// ------------------------------------------------------ TCustomTabControl

TCustomTabControl::TCustomTabControl(rtl::TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csDoubleClicks,
                     TControlStyleItem::csOpaque, TControlStyleItem::csClickEvents};
    FTabStop = true;
    SetBounds(FLeft, FTop, 289, 193);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::TabsChanged()
{
    FLayoutValid = false;
    Invalidate();
}

void TCustomTabControl::SetTabIndex(int index)
{
    if (index < -1 || index >= FTabs.Count()) index = -1;
    if (index == FTabIndex) return;
    FTabIndex = index;
    EnsureVisible(index);
    FLayoutValid = false;   // multi-line rows move the selected row to the page
    Invalidate();
}

void TCustomTabControl::SetImages(TImageList* images)
{
    FImages = images;
    TabsChanged();
}

void TCustomTabControl::SetOwnerDraw(bool value)
{
    FOwnerDraw = value;
    Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition value)
{
    if (value == FTabPosition) return;
    FTabPosition = value;
    FFirstTab = 0;
    TabsChanged();
    Realign();
}

void TCustomTabControl::SetMultiLine(bool value)
{
    if (value == FMultiLine) return;
    FMultiLine = value;
    FFirstTab = 0;
    TabsChanged();
    Realign();
}

void TCustomTabControl::SetTabHeight(int value)
{
    FTabHeight = std::max(0, value);
    TabsChanged();
    Realign();
}

void TCustomTabControl::SetTabWidth(int value)
{
    FTabWidth = std::max(0, value);
    TabsChanged();
}

void TCustomTabControl::SetStyle(TTabStyle value)
{
    FStyle = value;
    Invalidate();
}

void TCustomTabControl::SetRaggedRight(bool value)
{
    FRaggedRight = value;
    TabsChanged();
}

void TCustomTabControl::Invalidate()
{
    if (FRedrawOff) {
        FInvalidPending = true;
        return;
    }
    TCustomControl::Invalidate();
}

int TCustomTabControl::Depth() const
{
    if (FTabHeight > 0) return FTabHeight;
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(Font());
    return probe.Canvas()->TextHeight("Ag") + 6;
}

int TCustomTabControl::ItemLength(int index) const
{
    if (FTabWidth > 0) return FTabWidth;
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(Font());
    int len = probe.Canvas()->TextWidth(FTabs.Strings(index)) + 2 * kTextPad;
    const bool side = FTabPosition == TTabPosition::tpLeft || FTabPosition == TTabPosition::tpRight;
    const int extent = ImageExtent(side);
    if (extent > 0 && const_cast<TCustomTabControl*>(this)->GetImageIndex(index) >= 0) len += extent + kImageGap;
    return len;
}

int TCustomTabControl::ImageExtent(bool sideTabs) const
{
    if (!FImages) return 0;
    return sideTabs ? FImages->Height() : FImages->Width();
}

int TCustomTabControl::GetImageIndex(int tabIndex)
{
    int image = tabIndex;
    if (OnGetImageIndex) OnGetImageIndex(this, tabIndex, image);
    return image;
}

void TCustomTabControl::Layout() const
{
    if (FLayoutValid) return;
    FLayoutValid = true;
    const int n = FTabs.Count();
    FRects.assign(static_cast<std::size_t>(n), TRect{});
    FOverflow = false;
    FRows = 0;
    if (n == 0) return;
    const bool side = FTabPosition == TTabPosition::tpLeft || FTabPosition == TTabPosition::tpRight;
    const int h = Depth();
    const int avail = std::max(1, (side ? Height() : Width()) - 4);
    std::vector<int> len(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) len[static_cast<std::size_t>(i)] = ItemLength(i);

    // Rows: the items in order, a new row when the next one does not fit.
    std::vector<std::pair<int, int>> rows;   // first, last
    const bool wrap = FMultiLine || side;
    if (wrap) {
        int first = 0, used = 0;
        for (int i = 0; i < n; ++i) {
            const int l = len[static_cast<std::size_t>(i)];
            if (i > first && used + l > avail) {
                rows.push_back({first, i - 1});
                first = i;
                used = 0;
            }
            used += l;
        }
        rows.push_back({first, n - 1});
    } else {
        rows.push_back({0, n - 1});
        int total = 0;
        for (int l : len) total += l;
        FOverflow = total > avail;
    }
    FRows = static_cast<int>(rows.size());

    // The row of the selected item lies next to the pages; the rows after
    // it come first (farthest), in order, then the rows before it.
    int selRow = FRows - 1;
    for (int r = 0; r < FRows; ++r)
        if (FTabIndex >= rows[static_cast<std::size_t>(r)].first && FTabIndex <= rows[static_cast<std::size_t>(r)].second)
            selRow = r;
    for (int r = 0; r < FRows; ++r) {
        const int k = (r - selRow - 1 + 2 * FRows) % FRows;   // 0 = farthest from the pages
        int offset = 0;
        if (FRows == 1 && FOverflow)
            for (int i = 0; i < FFirstTab && i < n; ++i) offset -= len[static_cast<std::size_t>(i)];
        const auto [first, last] = rows[static_cast<std::size_t>(r)];
        int used = 0;
        for (int i = first; i <= last; ++i) used += len[static_cast<std::size_t>(i)];
        const int count = last - first + 1;
        const int extra = (FRows > 1 && !FRaggedRight) ? std::max(0, avail - used) : 0;
        int pos = 2 + offset;
        for (int i = first; i <= last; ++i) {
            int l = len[static_cast<std::size_t>(i)];
            if (extra > 0) l += extra / count + ((i - first) < extra % count ? 1 : 0);
            TRect rc;
            switch (FTabPosition) {
            case TTabPosition::tpTop: rc = Rect(pos, 2 + k * h, pos + l, 2 + (k + 1) * h); break;
            case TTabPosition::tpBottom: rc = Rect(pos, Height() - 2 - (k + 1) * h, pos + l, Height() - 2 - k * h); break;
            case TTabPosition::tpLeft: rc = Rect(2 + k * h, pos, 2 + (k + 1) * h, pos + l); break;
            case TTabPosition::tpRight: rc = Rect(Width() - 2 - (k + 1) * h, pos, Width() - 2 - k * h, pos + l); break;
            }
            FRects[static_cast<std::size_t>(i)] = rc;
            pos += l;
        }
    }
}

int TCustomTabControl::RowCount() const
{
    Layout();
    return FRows;
}

bool TCustomTabControl::ScrollArrowsVisible() const
{
    Layout();
    return FOverflow;
}

TRect TCustomTabControl::ScrollArrowsRect() const
{
    if (!ScrollArrowsVisible()) return {};
    const int h = std::min(Depth(), 18);
    if (FTabPosition == TTabPosition::tpBottom) return Rect(Width() - 2 - kArrowsWidth, Height() - 2 - h, Width() - 2, Height() - 2);
    return Rect(Width() - 2 - kArrowsWidth, 2, Width() - 2, 2 + h);
}

TRect TCustomTabControl::TabRect(int index) const
{
    Layout();
    if (index < 0 || index >= FTabs.Count()) return {};
    return FRects[static_cast<std::size_t>(index)];
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const
{
    Layout();
    const TPoint p{x, y};
    if (FOverflow && (ScrollArrowsRect().Contains(p) || x >= Width() - 2 - kArrowsWidth)) return -1;
    for (int i = 0; i < FTabs.Count(); ++i)
        if (FRects[static_cast<std::size_t>(i)].Contains(p)) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() const
{
    Layout();
    const int d = std::max(FRows, 1) * Depth() + 2;
    const int w = Width(), h = Height();
    switch (FTabPosition) {
    case TTabPosition::tpTop: return Rect(4, d + 4, std::max(4, w - 4), std::max(d + 4, h - 4));
    case TTabPosition::tpBottom: return Rect(4, 4, std::max(4, w - 4), std::max(4, h - d - 4));
    case TTabPosition::tpLeft: return Rect(d + 4, 4, std::max(d + 4, w - 4), std::max(4, h - 4));
    case TTabPosition::tpRight: return Rect(4, 4, std::max(4, w - d - 4), std::max(4, h - 4));
    }
    return ClientRect();
}

void TCustomTabControl::AdjustClientRect(TRect& rect) { rect = DisplayRect(); }

void TCustomTabControl::EnsureVisible(int index)
{
    if (index < 0) return;
    if (index < FFirstTab) {
        FFirstTab = index;
        FLayoutValid = false;
        return;
    }
    FLayoutValid = false;
    Layout();
    if (!FOverflow) return;
    const int limit = Width() - 2 - kArrowsWidth;
    while (FFirstTab < index && FRects[static_cast<std::size_t>(index)].Right > limit) {
        ++FFirstTab;
        FLayoutValid = false;
        Layout();
    }
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

LRESULT TCustomTabControl::Notify(int code)
{
    TNMHdr hdr{Handle(), 0, code};
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
}

bool TCustomTabControl::UserSelect(int index)
{
    if (index < 0 || index >= FTabs.Count() || index == FTabIndex) return false;
    if (Notify(TCN_SELCHANGING) != 0) return false;
    FTabIndex = index;
    EnsureVisible(index);
    FLayoutValid = false;
    Invalidate();
    Notify(TCN_SELCHANGE);
    return true;
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        const TRect arrows = ScrollArrowsRect();
        if (!arrows.IsEmpty() && arrows.Contains(TPoint{x, y})) {
            const bool back = x < arrows.Left + arrows.Width() / 2;
            const int first = std::clamp(FFirstTab + (back ? -1 : 1), 0, std::max(0, FTabs.Count() - 1));
            if (first != FFirstTab) {
                FFirstTab = first;
                TabsChanged();
            }
        } else {
            const int i = IndexOfTabAt(x, y);
            if (i >= 0) {
                if (TabStop() && CanFocus() && !Focused()) SetFocus();
                UserSelect(i);
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomTabControl::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_LEFT || key == VK_UP) {
        if (FTabIndex > 0) UserSelect(FTabIndex - 1);
        key = 0;
    } else if (key == VK_RIGHT || key == VK_DOWN) {
        if (FTabIndex + 1 < FTabs.Count()) UserSelect(FTabIndex + 1);
        key = 0;
    }
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active)
{
    if (OnDrawTab) OnDrawTab(this, tabIndex, rect, active);
}

void TCustomTabControl::PaintDefaultTab(TCanvas* c, int index, const TRect& r0, bool active)
{
    TRect r = r0;
    if (active) InflateRect(r, 2, 2);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(FTabs.FItems[static_cast<std::size_t>(index)].Highlighted ? clHighlight : Color());
    c->FillRect(r);
    if (FStyle == TTabStyle::tsTabs) {
        TRect e = r;
        c->Frame3D(e, clBtnHighlight, clBtnShadow, 1);
    } else {
        TRect e = r;
        if (active) c->Frame3D(e, clBtnShadow, clBtnHighlight, 1);
        else if (FStyle == TTabStyle::tsButtons) c->Frame3D(e, clBtnHighlight, clBtnShadow, 1);
    }
    int x = r0.Left + kTextPad;
    if (FImages && FImages->Width() > 0) {
        const int img = GetImageIndex(index);
        if (img >= 0) {
            FImages->Draw(c, x, r0.Top + (r0.Height() - FImages->Height()) / 2, img, Enabled());
            x += FImages->Width() + kImageGap;
        }
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->Assign(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    TRect tr{x, r0.Top, r0.Right, r0.Bottom};
    c->DrawText(FTabs.Strings(index), tr, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

void TCustomTabControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TRect frame = DisplayRect();
    InflateRect(frame, 2, 2);
    if (FStyle == TTabStyle::tsTabs && !FOwnerDraw) c->Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
    Layout();
    for (int i = FTabs.Count() - 1; i >= 0; --i) {
        if (i == FTabIndex) continue;
        const TRect r = FRects[static_cast<std::size_t>(i)];
        if (FOwnerDraw) {
            TDrawItemStruct dis{i, 0, c, r};
            Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        } else {
            PaintDefaultTab(c, i, r, false);
        }
    }
    if (FTabIndex >= 0) {
        const TRect r = FRects[static_cast<std::size_t>(FTabIndex)];
        if (FOwnerDraw) {
            TDrawItemStruct dis{FTabIndex, ODS_SELECTED, c, r};
            Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        } else {
            PaintDefaultTab(c, FTabIndex, r, true);
        }
    }
}

void TCustomTabControl::PaintArrows(TCanvas* c)
{
    const TRect a = ScrollArrowsRect();
    if (a.IsEmpty()) return;
    const int half = a.Width() / 2;
    for (int k = 0; k < 2; ++k) {
        TRect b{a.Left + k * half, a.Top, a.Left + (k + 1) * half, a.Bottom};
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(b);
        TRect e = b;
        c->Frame3D(e, clBtnHighlight, clBtnShadow, 1);
        const int cx = b.Left + b.Width() / 2, cy = b.Top + b.Height() / 2;
        const bool enabled = k == 0 ? FFirstTab > 0 : FFirstTab < FTabs.Count() - 1;
        c->Pen()->SetColor(enabled ? clBtnText : clGrayText);
        c->Brush()->SetColor(enabled ? clBtnText : clGrayText);
        if (k == 0) c->Polygon({{cx - 2, cy}, {cx + 1, cy - 3}, {cx + 1, cy + 3}});
        else c->Polygon({{cx + 2, cy}, {cx - 1, cy - 3}, {cx - 1, cy + 3}});
    }
}

void TCustomTabControl::PaintWindow(TCanvas* canvas)
{
    TCustomControl::PaintWindow(canvas);
    PaintArrows(canvas);
}

void TCustomTabControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        const auto* hdr = reinterpret_cast<const TNMHdr*>(m.LParam);
        if (!hdr) break;
        if (hdr->code == TCN_SELCHANGING) m.Result = CanChange() ? 0 : 1;
        else if (hdr->code == TCN_SELCHANGE) Change();
        return;
    }
    case CN_DRAWITEM: {
        const auto* dis = reinterpret_cast<const TDrawItemStruct*>(m.LParam);
        if (dis) DrawTab(dis->itemID, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
        m.Result = 1;
        return;
    }
    case WM_SETREDRAW:
        FRedrawOff = m.WParam == 0;
        if (!FRedrawOff) FInvalidPending = false;
        m.Result = 0;
        return;
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TTCHitTestInfo*>(m.LParam);
        if (!info) {
            m.Result = -1;
            return;
        }
        m.Result = IndexOfTabAt(info->pt.X, info->pt.Y);
        info->flags = m.Result < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
        return;
    }
    case TCM_HIGHLIGHTITEM: {
        const int i = static_cast<int>(m.WParam);
        m.Result = 0;
        if (i >= 0 && i < FTabs.Count()) {
            FTabs.FItems[static_cast<std::size_t>(i)].Highlighted = m.LParam != 0;
            m.Result = 1;
            Invalidate();
        }
        return;
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;   // arrows move the selection
    case TCM_GETCURSEL: m.Result = FTabIndex; return;
    case TCM_SETCURSEL: {
        const int old = FTabIndex;
        SetTabIndex(static_cast<int>(m.WParam));
        m.Result = old;
        return;
    }
    case TCM_GETITEMCOUNT: m.Result = FTabs.Count(); return;
    case TCM_GETITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        const int i = static_cast<int>(m.WParam);
        m.Result = (r && i >= 0 && i < FTabs.Count()) ? 1 : 0;
        if (m.Result) *r = TabRect(i);
        return;
    }
    case CM_DIALOGCHAR:
        for (int i = 0; i < FTabs.Count(); ++i) {
            if (IsAccel(static_cast<char16_t>(m.WParam), FTabs.Strings(i)) && IsTabEnabledAt(i) && CanFocus()) {
                m.Result = 1;
                if (i != FTabIndex) UserSelect(i);
                return;
            }
        }
        break;
    case WM_SIZE:
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(m);
        FLayoutValid = false;
        Invalidate();
        Realign();
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------- docking

namespace {
// Keyed by the component's address: a removal notice may come from a
// component that is not a control, or one already being destroyed, so the
// key is never cast down to look it up.
std::map<const rtl::TComponent*, TDockSite*>& DockHosts()
{
    static std::map<const rtl::TComponent*, TDockSite*> hosts;
    return hosts;
}
} // namespace

TDockSite* TDockSite::HostDockSite(const TControl* client)
{
    auto it = DockHosts().find(client);
    return it == DockHosts().end() ? nullptr : it->second;
}

TDockSite::~TDockSite()
{
    auto& hosts = DockHosts();
    for (auto it = hosts.begin(); it != hosts.end();) {
        if (it->second == this) {
            const_cast<rtl::TComponent*>(it->first)->RemoveFreeNotification(this);
            it = hosts.erase(it);
        } else {
            ++it;
        }
    }
}

void TDockSite::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomTabControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove) {
        auto it = DockHosts().find(component);
        if (it != DockHosts().end() && it->second == this) DockHosts().erase(it);
    }
}

void TDockSite::GetSiteInfo(TControl* client, TRect& influenceRect, TPoint mousePos, bool& canDock)
{
    if (OnGetSiteInfo) OnGetSiteInfo(this, client, influenceRect, mousePos, canDock);
}

void TDockSite::DockOver(TControl* client, int x, int y, TRect&, bool& accept)
{
    if (OnDockOver) OnDockOver(this, client, x, y, accept);
}

bool TDockSite::DockClient(TControl* client, const TRect& dockRect)
{
    if (!client || !FDockSite || HostDockSite(client) == this) return false;
    bool canDock = true;
    TRect influence = BoundsRect();
    GetSiteInfo(client, influence, {}, canDock);
    if (!canDock) return false;
    TDockMessage dm;
    dm.Client = client;
    dm.NewTarget = this;
    dm.DockRect = dockRect;
    Perform(CM_DOCKCLIENT, 0, reinterpret_cast<LPARAM>(&dm));
    return HostDockSite(client) == this;
}

void TDockSite::ManualDockInto(TControl* client, const TRect& rect)
{
    if (TDockSite* old = HostDockSite(client); old && old != this) old->UndockClient(client);
    DockHosts()[client] = this;
    client->FreeNotification(this);
    try {
        DoAddDockClient(client, rect);
    } catch (...) {
        DockHosts().erase(client);
        throw;
    }
}

void TDockSite::UndockClient(TControl* client)
{
    if (HostDockSite(client) != this) return;
    TDockMessage dm;
    dm.Client = client;
    Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<LPARAM>(&dm));
    DockHosts().erase(client);
    client->RemoveFreeNotification(this);
    client->SetParent(nullptr);
    DoRemoveDockClient(client);
}

void TDockSite::NotifyDocked(TControl* client, uint32_t msg, WPARAM w, LPARAM l)
{
    if (HostDockSite(client) != this) return;
    TDockMessage dm;
    dm.Client = client;
    dm.NotifyMsg = msg;
    dm.NotifyWParam = w;
    dm.NotifyLParam = l;
    Perform(CM_DOCKNOTIFICATION, 0, reinterpret_cast<LPARAM>(&dm));
}

void TDockSite::DoAddDockClient(TControl* client, const TRect&)
{
    if (auto* w = dynamic_cast<TWinControl*>(this)) client->SetParent(w);
}

void TDockSite::DoRemoveDockClient(TControl*) {}

void TDockSite::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DOCKCLIENT) {
        const auto* dm = reinterpret_cast<const TDockMessage*>(m.LParam);
        if (dm && dm->Client) ManualDockInto(dm->Client, dm->DockRect);
        m.Result = 0;
        return;
    }
    TCustomTabControl::Dispatch(m);
}

} // namespace gui
