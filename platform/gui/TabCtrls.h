// TCustomTabControl: a tab strip drawn by the program, with the item list,
// selection, geometry, hit testing, owner drawing and change notifications
// of the classic tab control, as the base of page controls that paint their
// own tabs.  Also the small docking protocol a dock site inside this program
// uses (TDockSite).
//
// The rule a caller must know: a selection made by the user (mouse, arrow
// keys, accelerator) travels as CN_NOTIFY TCN_SELCHANGING (answer nonzero to
// refuse; the default answer asks CanChange, which fires OnChanging) and then
// TCN_SELCHANGE (default: Change, which fires OnChange).  SetTabIndex from
// code selects silently.  TabRect is the unenlarged item rectangle.
//
//     auto* tc = new gui::TCustomTabControl(form);
//     tc->SetParent(form);
//     tc->Tabs()->AddObject("First", nullptr);
//     tc->Tabs()->AddObject("Second", nullptr);
//     tc->OnChange = [tc](rtl::TObject*) { Show(tc->TabIndex()); };
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {

class TImageList;
class TCustomTabControl;

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
// Tabs, or buttons in place of tabs.
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// Tab-control messages and notification codes (classic values).
enum : uint32_t {
    TCM_FIRST = 0x1300,
    TCM_GETITEMCOUNT = TCM_FIRST + 4,
    TCM_GETITEMRECT = TCM_FIRST + 10,
    TCM_GETCURSEL = TCM_FIRST + 11,
    TCM_SETCURSEL = TCM_FIRST + 12,
    TCM_HITTEST = TCM_FIRST + 13,
    TCM_HIGHLIGHTITEM = TCM_FIRST + 51,
};
enum : int { TCN_SELCHANGE = -551, TCN_SELCHANGING = -552 };
// Hit-test answer flags.
enum : uint32_t { TCHT_NOWHERE = 1, TCHT_ONITEMICON = 2, TCHT_ONITEMLABEL = 4, TCHT_ONITEM = 6 };
// Owner-draw item state.
enum : uint32_t { ODS_SELECTED = 1, ODS_DISABLED = 4, ODS_FOCUS = 0x10 };

// The header of a WM_NOTIFY / CN_NOTIFY record (LParam points to it).
struct TNMHdr {
    HWND hwndFrom = 0;
    uintptr_t idFrom = 0;
    int code = 0;
};
// TCM_HITTEST: LParam points to it; the answer is the tab index or -1.
struct TTCHitTestInfo {
    TPoint pt;
    uint32_t flags = 0;
};
// CN_DRAWITEM: LParam points to it.
struct TDrawItemStruct {
    int itemID = -1;
    uint32_t itemState = 0;
    TCanvas* canvas = nullptr;
    TRect rcItem;
};

using TTabChangingEvent = std::function<void(rtl::TObject* sender, bool& allowChange)>;
using TDrawTabEvent = std::function<void(TCustomTabControl* control, int tabIndex, const TRect& rect, bool active)>;
using TTabGetImageEvent = std::function<void(rtl::TObject* sender, int tabIndex, int& imageIndex)>;

// The item list of a tab control: strings with an object each.
class TTabStrings {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Strings(int index) const;
    void SetStrings(int index, const std::string& s);
    rtl::TObject* Objects(int index) const;
    void SetObjects(int index, rtl::TObject* object);
    int AddObject(const std::string& s, rtl::TObject* object);
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    // Raises EListError for an index outside 0..Count.
    void InsertObject(int index, const std::string& s, rtl::TObject* object);
    void Delete(int index);
    void Move(int from, int to);
    void Clear();
    int IndexOf(const std::string& s) const;
    int IndexOfObject(const rtl::TObject* object) const;

private:
    friend class TCustomTabControl;
    explicit TTabStrings(TCustomTabControl* owner) : FOwner(owner) {}
    struct Item {
        std::string Text;
        rtl::TObject* Object = nullptr;
        bool Highlighted = false;
    };
    void Check(int index, bool allowEnd) const;
    TCustomTabControl* FOwner;
    std::vector<Item> FItems;
};

class TCustomTabControl : public TCustomControl {
public:
    explicit TCustomTabControl(rtl::TComponent* owner);
    ~TCustomTabControl() override;

    TTabStrings* Tabs() { return &FTabs; }
    const TTabStrings* Tabs() const { return &FTabs; }
    // The selected item, -1 for none.  Setting it from code sends no
    // notification; an index out of range selects nothing.
    int TabIndex() const { return FTabIndex; }
    virtual void SetTabIndex(int index);

    // The item's rectangle in client pixels (empty for an index out of range).
    TRect TabRect(int index) const;
    // The item at a client point, -1 for none (scroll arrows and empty strip).
    int IndexOfTabAt(int x, int y) const;
    // The area left for the pages.
    TRect DisplayRect() const;
    int RowCount() const;

    TImageList* Images() const { return FImages; }
    virtual void SetImages(TImageList* images);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    TTabPosition TabPosition() const { return FTabPosition; }
    virtual void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // 0: from the font.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    // 0: from the text.
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value) { FHotTrack = value; }
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool value);
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool value) { FScrollOpposite = value; }
    // Whether WM_SETREDRAW(False) holds repainting back.
    bool RedrawSuspended() const { return FRedrawOff; }
    // The first item shown of a single-line strip that is scrolled.
    int FirstVisibleTab() const { return FFirstTab; }
    // Whether the scroll arrows show, and where.
    bool ScrollArrowsVisible() const;
    TRect ScrollArrowsRect() const;

    void Invalidate() override;

    rtl::TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;
    TTabGetImageEvent OnGetImageIndex;

    void Dispatch(TMessage& m) override;
    void AdjustClientRect(TRect& rect) override;

protected:
    // Asked before a user selection changes (fires OnChanging).
    virtual bool CanChange();
    // Told after a user selection changed (fires OnChange).
    virtual void Change();
    // The image of an item (fires OnGetImageIndex; default the index itself).
    virtual int GetImageIndex(int tabIndex);
    // Width (top and bottom tabs) or height (side tabs) each item reserves
    // for its image; default the image list's.  0 reserves nothing.
    virtual int ImageExtent(bool sideTabs) const;
    // Whether a click may select the item.
    virtual bool IsTabEnabledAt(int) { return true; }
    // Owner drawing of one item (fires OnDrawTab).
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    // The items changed (text, count, images): the layout is rebuilt.
    virtual void TabsChanged();
    // An item's length along its row: its text and image with padding (the
    // fixed TabWidth when set).  An owner-drawing descendant gives the room
    // what it paints takes.
    virtual int ItemLength(int index) const;
    void Paint() override;
    void PaintWindow(TCanvas* canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    // Selects an item the way the user does: TCN_SELCHANGING, then
    // TCN_SELCHANGE.  False when refused.
    bool UserSelect(int index);

private:
    friend class TTabStrings;
    void Layout() const;
    int Depth() const;
    void PaintDefaultTab(TCanvas* c, int index, const TRect& r, bool active);
    void PaintArrows(TCanvas* c);
    void EnsureVisible(int index);
    LRESULT Notify(int code);

    TTabStrings FTabs{this};
    int FTabIndex = -1;
    TImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TTabPosition FTabPosition = TTabPosition::tpTop;
    bool FMultiLine = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TTabStyle FStyle = TTabStyle::tsTabs;
    bool FHotTrack = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    bool FRedrawOff = false;
    bool FInvalidPending = false;
    int FFirstTab = 0;
    // Layout cache.
    mutable bool FLayoutValid = false;
    mutable std::vector<TRect> FRects;
    mutable int FRows = 0;
    mutable bool FOverflow = false;
};

// ------------------------------------------------------------------ docking

class TDockSite;
// CM_DOCKCLIENT / CM_UNDOCKCLIENT / CM_DOCKNOTIFICATION: LParam points to it.
struct TDockMessage {
    TControl* Client = nullptr;
    TDockSite* NewTarget = nullptr;   // undocking: where the client goes (nullptr: floats)
    TRect DockRect;                   // docking: the drop rectangle (screen)
    uint32_t NotifyMsg = 0;           // notification: the client's message
    WPARAM NotifyWParam = 0;
    LPARAM NotifyLParam = 0;
};

// A window that takes other controls of this program docked into it.  The
// client is a form or control; docking moves it into the site, undocking
// takes it out (floating: back to a window of its own).  The site is told
// through the messages and the insertion and removal hooks.
class TDockSite : public TCustomTabControl {
public:
    using TCustomTabControl::TCustomTabControl;
    ~TDockSite() override;
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool value) { FDockSite = value; }
    // Docks a client here (CM_DOCKCLIENT, then the insertion hook).  A site
    // that is not a dock site, or that refuses in GetSiteInfo, leaves the
    // client where it is; false then.
    bool DockClient(TControl* client, const TRect& dockRect);
    // Takes a docked client out: CM_UNDOCKCLIENT, then the removal hook;
    // the client floats (parent nil, shown as a window of its own).
    void UndockClient(TControl* client);
    // A docked client reports a change of its own (WM_SETTEXT with the new
    // text in LParam as const char*, CM_VISIBLECHANGED with WParam).
    void NotifyDocked(TControl* client, uint32_t msg, WPARAM w, LPARAM l);
    // The site a control is docked in, or nullptr.
    static TDockSite* HostDockSite(const TControl* client);

    // Asked before a drop: whether the client may dock (default true).
    virtual void GetSiteInfo(TControl* client, TRect& influenceRect, TPoint mousePos, bool& canDock);
    // Asked while a client is dragged over: the drop rectangle and accept.
    virtual void DockOver(TControl* client, int x, int y, TRect& dockRect, bool& accept);
    std::function<void(rtl::TObject*, TControl*, int, int, bool&)> OnDockOver;
    std::function<void(rtl::TObject*, TControl*, TRect&, TPoint, bool&)> OnGetSiteInfo;

    void Dispatch(TMessage& m) override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    // The client enters: default makes the site its parent.
    virtual void DoAddDockClient(TControl* client, const TRect& rect);
    // The client left the site.
    virtual void DoRemoveDockClient(TControl* client);
    // Places the client into the site (what CM_DOCKCLIENT's handler calls).
    void ManualDockInto(TControl* client, const TRect& rect);

private:
    bool FDockSite = false;
};

} // namespace gui
