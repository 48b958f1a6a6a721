// The preview's page workspace: a scrolling surface that lays prepared
// report pages out in rows, paints the visible ones (at most the 40 before
// and 40 after the page at the top of the view) with a frame around the
// current page, pans on a left drag, passes mouse moves and clicks over a
// page to the prepared pages, and searches a text in the pages' drawing.
//
// The rule a caller must know: the workspace draws through the pages
// source it is given (IqlrWorkspacePages) and tells its owner about page
// changes through OnPageNoChange; it never changes PageNo itself.  The text
// search state is one for the whole program.
//
// Example:
//   auto* ws = new qlr::TqlrPreviewWorkspace(form);
//   ws->SetPreviewPages(&pages);
//   for (int i = 0; i < pages.Count(); ++i) ws->AddPageItem(794, 1123);
//   ws->LayOutPages(ws->ViewWidth() - 26); ws->UpdateScrollRanges();
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Metafile.h"
#include "reportout/qlrCtrls.h"
#include "reportout/qlrPageList.h"

namespace qlr {

// The prepared pages as the workspace sees them.
class IqlrWorkspacePages {
public:
    virtual ~IqlrWorkspacePages() = default;
    virtual int Count() = 0;
    // Draws page index scaled, its top-left at (offsetX, offsetY).
    virtual void DrawPage(int index, gui::TCanvas* canvas, long double scaleX, long double scaleY, int offsetX,
                          int offsetY) = 0;
    // Hit-tests the page's objects at (x, y); may change cursor.
    virtual void ObjectOver(int index, int x, int y, gui::TMouseButton button, gui::TShiftState shift,
                            long double scale, int offsetX, int offsetY, bool click, gui::TCursor& cursor,
                            bool dbClick) = 0;
    // The top margin (mm) of the report page of prepared page index; false
    // when there is no such page.
    virtual bool PageTopMargin(int index, long double& topMargin) = 0;
};

// The program-wide text search state.
struct TqlrTextSearch {
    std::string Text;
    bool CaseSensitive = false;
    bool Found = false;
    gui::TRect Bounds;      // of the last hit, page pixels at zoom 1
    int RecordNo = 0;
    // The last hit: the text record of its first character (-1: none yet)
    // and the character's byte offset in that record's text.
    int LastFoundRecord = -1;
    int LastFoundOffset = 0;
};
TqlrTextSearch& TextSearch();

class TqlrPreviewWorkspace : public TqlrScrollWin {
public:
    explicit TqlrPreviewWorkspace(rtl::TComponent* owner);
    ~TqlrPreviewWorkspace() override;

    IqlrWorkspacePages* PreviewPages() const { return FPreviewPages; }
    void SetPreviewPages(IqlrWorkspacePages* pages) { FPreviewPages = pages; }
    long double Zoom() const { return FZoom; }
    void SetZoom(long double zoom) { FZoom = zoom; }
    bool IsThumbnail() const { return FIsThumbnail; }
    void SetIsThumbnail(bool value) { FIsThumbnail = value; }
    bool Locked() const { return FLocked; }
    void SetLocked(bool value) { FLocked = value; }
    bool RTLLanguage() const { return FRTLLanguage; }
    void SetRTLLanguage(bool value) { FRTLLanguage = value; }

    gui::TColor BackColor = 8421504;
    gui::TColor FrameColor = gui::clBlack;
    gui::TColor ActiveFrameColor = 8405024;

    // The current page (1-based), kept equal to the preview's.
    int PageNo() const { return FPageNo; }
    void SetPageNo(int pageNo) { FPageNo = pageNo; }
    // While set, a change of the current page does not scroll.
    bool DisableUpdate() const { return FDisableUpdate; }
    const TqlrPageList& PageList() const { return FPageList; }
    gui::TPoint Offset() const { return FOffset; }

    void AddPageItem(int width, int height) { FPageList.AppendPage(width, height, FZoom); }
    void LayOutPages(int clientWidth) { FPageList.LayOutRows(clientWidth); }
    void ResetPageList() { FPageList.Clear(); }
    void UpdateScrollRanges();
    void ScrollToPage(int pageNo);
    void ScrollToPosition(int pageN, int top);
    int CurrentTopPosition();
    void PaintPageArea(bool framesOnly);
    // Continues the program-wide search from SearchPage.
    void ContinueTextSearch();
    int SearchPage = 0;
    // Forgets the cached drawing of a page (after a new layout).
    void ResetCachedPage() { FCachedPage = -1; }

    // The preview's part: the page the user moved to, and its events.
    std::function<void(int pageNo)> OnPageNoChange;
    gui::TMouseEvent OnPreviewMouseDown;
    rtl::TNotifyEvent OnPreviewClick;
    rtl::TNotifyEvent OnPreviewDblClick;

    // The clock and the double-click time (milliseconds); tests set them.
    static std::function<uint32_t()> TickCount;
    static uint32_t DoubleClickTime;
    // The report engine's hand cursor.
    static constexpr gui::TCursor DefaultCursor = 150;

protected:
    void HorzPositionChanged() override;
    void VertPositionChanged() override;
    void Paint() override;
    void Resize() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DblClick() override;

private:
    gui::TRect ShownPageRect(int index) const;
    bool SearchPageRecords(const gui::TMetafile& page);

    IqlrWorkspacePages* FPreviewPages = nullptr;
    long double FZoom = 1;
    bool FIsThumbnail = false, FLocked = false, FRTLLanguage = false;
    TqlrPageList FPageList;
    int FPageNo = 1;
    gui::TPoint FOffset{0, 0};
    bool FDisableUpdate = false;
    bool FDown = false;
    gui::TPoint FLastPoint{0, 0};
    uint32_t FLastClick = 0;
    std::unique_ptr<gui::TMetafile> FCachedDrawing;
    int FCachedPage = -1;
};

} // namespace qlr
