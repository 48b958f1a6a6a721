// The preview workspace: painting, scrolling, the mouse and the text search.

#include "reportout/qlrPreviewWorkspace.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/rtl/Strings.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

namespace {

constexpr int Gap = 10;

int Round(long double v) { return static_cast<int>(std::nearbyint(v)); }

uint32_t SteadyTicks()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

TqlrTextSearch& TextSearch()
{
    static TqlrTextSearch search;
    return search;
}

std::function<uint32_t()> TqlrPreviewWorkspace::TickCount = SteadyTicks;
uint32_t TqlrPreviewWorkspace::DoubleClickTime = 500;

TqlrPreviewWorkspace::TqlrPreviewWorkspace(rtl::TComponent* owner) : TqlrScrollWin(owner)
{
    SetSmallChange(8);
    SetLargeChange(300);
    SetCursor(DefaultCursor);
}

TqlrPreviewWorkspace::~TqlrPreviewWorkspace() = default;

void TqlrPreviewWorkspace::UpdateScrollRanges()
{
    const gui::TPoint extent = FPageList.TotalExtent();
    SetHorzRange(extent.X + Gap);
    SetVertRange(extent.Y + Gap);
    FitPagesToView();
}

void TqlrPreviewWorkspace::ScrollToPage(int pageNo)
{
    if (FDisableUpdate) return;
    SetVertPosition(FPageList.PageRect(pageNo - 1, ViewWidth(), FZoom, FRTLLanguage).Top - Gap);
}

void TqlrPreviewWorkspace::ScrollToPosition(int pageN, int top)
{
    long double margin = 0;
    if (!FPreviewPages || !FPreviewPages->PageTopMargin(pageN - 1, margin)) return;
    const int a = top == 0 ? 0 : Round((margin * 3.77953L + top) * FZoom);
    SetVertPosition(FPageList.PageRect(pageN - 1, ViewWidth(), FZoom, FRTLLanguage).Top + a - Gap);
}

int TqlrPreviewWorkspace::CurrentTopPosition()
{
    long double margin = 0;
    if (!FPreviewPages || !FPreviewPages->PageTopMargin(FPageNo - 1, margin)) return 0;
    const int pageTop = FPageList.PageRect(FPageNo - 1, ViewWidth(), FZoom, FRTLLanguage).Top;
    return Round((VertPosition() - pageTop + Gap) / FZoom - margin * 3.77953L);
}

gui::TRect TqlrPreviewWorkspace::ShownPageRect(int index) const
{
    gui::TRect r = FPageList.PageRect(index, ViewWidth(), FZoom, FRTLLanguage);
    r.Left -= FOffset.X;
    r.Right -= FOffset.X;
    r.Top -= FOffset.Y;
    r.Bottom -= FOffset.Y;
    return r;
}

void TqlrPreviewWorkspace::Paint() { PaintPageArea(false); }

void TqlrPreviewWorkspace::PaintPageArea(bool framesOnly)
{
    if (!Visible()) return;
    gui::TCanvas* c = Canvas();
    const gui::TRect client(0, 0, ViewWidth(), ViewHeight());
    if (FLocked || FPageList.Count() == 0) {
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(BackColor);
        c->FillRect(client);
        return;
    }
    if (!FPreviewPages) return;

    const gui::TRect clip = c->ClipRect();
    auto visible = [&](const gui::TRect& r, int bottomExtra) {
        return r.Top <= client.Bottom && r.Bottom + bottomExtra >= 0 && r.Left <= clip.Right &&
               r.Right >= clip.Left && r.Top <= clip.Bottom && r.Bottom + bottomExtra >= clip.Top;
    };
    gui::TRegion saved;
    const bool hadClip = c->GetClipRgn(saved);
    const int first = FPageList.PageAtOffset(FOffset.Y, 0);
    const int from = std::max(0, first - 40), to = std::min(FPageList.Count() - 1, first + 40);
    for (int i = from; i <= to; ++i) {
        const gui::TRect r = ShownPageRect(i);
        if (visible(r, 0)) c->ExcludeClipRect(r);
    }
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(BackColor);
    c->FillRect(client);
    c->SelectClipRgn(hadClip ? &saved : nullptr);

    // The current page's frame, two pixels wide, just outside the page.
    const gui::TRect cur = ShownPageRect(FPageNo - 1);
    gui::TPen* pen = c->Pen();
    pen->SetColor(ActiveFrameColor);
    pen->SetWidth(2);
    pen->SetStyle(gui::TPenStyle::psSolid);
    pen->SetMode(gui::TPenMode::pmCopy);
    c->Polyline({{cur.Left - 1, cur.Top - 1},
                 {cur.Right + 1, cur.Top - 1},
                 {cur.Right + 1, cur.Bottom + 1},
                 {cur.Left - 1, cur.Bottom + 1},
                 {cur.Left - 1, cur.Top - 2}});
    if (framesOnly) return;

    TqlrTextSearch& search = TextSearch();
    for (int i = from; i <= to; ++i) {
        const gui::TRect r = ShownPageRect(i);
        if (!visible(r, 1)) continue;
        pen->SetColor(FrameColor);
        pen->SetWidth(1);
        pen->SetStyle(gui::TPenStyle::psSolid);
        pen->SetMode(gui::TPenMode::pmCopy);
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(gui::clWhite);
        c->Rectangle(r);
        FPreviewPages->DrawPage(i, c, FZoom, FZoom, r.Left, r.Top);
        if (FIsThumbnail) {
            gui::TFont* font = c->Font();
            font->SetName("Arial");
            font->SetSize(8);
            font->SetStyle({});
            font->SetColor(gui::clWhite);
            c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            c->Brush()->SetColor(BackColor);
            c->TextOut(r.Left + 1, r.Top + 1, " " + std::to_string(i + 1) + " ");
        }
        if (search.Found && i == SearchPage) {
            const gui::TRect h(Round(search.Bounds.Left * FZoom), Round(search.Bounds.Top * FZoom),
                               Round(search.Bounds.Right * FZoom), Round(search.Bounds.Bottom * FZoom));
            pen->SetColor(gui::clWhite);
            pen->SetWidth(1);
            pen->SetMode(gui::TPenMode::pmXor);
            for (int y = r.Top + h.Top; y <= r.Top + h.Bottom; ++y) {
                c->MoveTo(r.Left + h.Left - 1, y);
                c->LineTo(r.Left + h.Right + 1, y);
            }
            pen->SetMode(gui::TPenMode::pmCopy);
        }
    }
}

void TqlrPreviewWorkspace::Resize()
{
    TqlrScrollWin::Resize();
    FitPagesToView();
}

void TqlrPreviewWorkspace::HorzPositionChanged()
{
    FOffset.X = HorzPosition();
    Invalidate();
}

void TqlrPreviewWorkspace::VertPositionChanged()
{
    FOffset.Y = VertPosition();
    Invalidate();
    if (FIsThumbnail) return;
    // The current page follows the view, without scrolling back to it.
    FDisableUpdate = true;
    if (OnPageNoChange) OnPageNoChange(FPageList.PageAtOffset(FOffset.Y, 0) + 1);
    FDisableUpdate = false;
}

void TqlrPreviewWorkspace::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    if (OnPreviewMouseDown) OnPreviewMouseDown(this, button, shift, x, y);
    if (FPageList.Count() == 0 || FLocked) return;
    if (button == gui::TMouseButton::mbLeft) {
        FDown = true;
        FLastPoint = {x, y};
    }
}

void TqlrPreviewWorkspace::MouseMove(gui::TShiftState shift, int x, int y)
{
    if (FPageList.Count() == 0 || FLocked || FIsThumbnail) return;
    if (FDown) {
        SetHorzPosition(HorzPosition() - (x - FLastPoint.X));
        SetVertPosition(VertPosition() - (y - FLastPoint.Y));
        FLastPoint = {x, y};
        return;
    }
    if (!FPreviewPages) return;
    const int i = FPageList.PageAtOffset(y + FOffset.Y, x + FOffset.X);
    const gui::TRect r = FPageList.PageRect(i, ViewWidth(), FZoom, FRTLLanguage);
    gui::TCursor cursor = DefaultCursor;
    FPreviewPages->ObjectOver(i, x, y, gui::TMouseButton::mbLeft, {}, FZoom, r.Left - FOffset.X,
                              r.Top - FOffset.Y, false, cursor, false);
    (void)shift;
    SetCursor(cursor);
}

void TqlrPreviewWorkspace::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    if (!FIsThumbnail && OnPreviewClick) OnPreviewClick(this);
    if (FPageList.Count() == 0 || FLocked) return;
    FDown = false;
    const int wx = FRTLLanguage ? ViewWidth() - FOffset.X - x : x + FOffset.X;
    const int i = FPageList.PageAtOffset(y + FOffset.Y, wx);
    FDisableUpdate = true;
    if (OnPageNoChange) OnPageNoChange(i + 1);
    FDisableUpdate = false;
    if (FIsThumbnail || button == gui::TMouseButton::mbRight || !FPreviewPages) return;
    const gui::TRect r = FPageList.PageRect(i, ViewWidth(), FZoom, FRTLLanguage);
    gui::TCursor cursor = Cursor();
    const uint32_t now = TickCount();
    bool dbClick = false;
    if (now - FLastClick > DoubleClickTime) {
        FLastClick = now;
    } else {
        FLastClick = 0;
        dbClick = true;
    }
    FPreviewPages->ObjectOver(i, x, y, button, shift, FZoom, r.Left - FOffset.X, r.Top - FOffset.Y, true, cursor,
                              dbClick);
}

void TqlrPreviewWorkspace::DblClick()
{
    if (!FIsThumbnail && OnPreviewDblClick) OnPreviewDblClick(this);
}

// The report engine draws a line of text as one record or in pieces (runs
// of one style, words of justified text, single characters): text records
// that follow each other on one line (same top and bottom, the next starting
// where the previous ends) are searched as one text.  A hit is numbered by
// the record of its first character and that character's place in it, and
// its bounds are those of the characters it covers.
bool TqlrPreviewWorkspace::SearchPageRecords(const gui::TMetafile& page)
{
    TqlrTextSearch& s = TextSearch();
    if (s.Text.empty()) return false;
    const std::string wanted = s.CaseSensitive ? s.Text : rtl::AnsiUpperCase(s.Text);
    const std::vector<gui::TMetaRecord>& recs = page.Records();
    struct Piece {
        std::size_t Offset;
        int RecordNo;
    };
    // The x of the character at byte offset at in record piece's text.
    auto charX = [&](const std::string& text, const Piece& piece, std::size_t at) {
        const gui::TMetaRecord& r = recs[static_cast<std::size_t>(piece.RecordNo)];
        const std::size_t units = rtl::UTF8ToUTF16(text.substr(piece.Offset, at - piece.Offset)).size();
        int x = r.Bounds.Left;
        for (std::size_t k = 0; k < units && k < r.Advances.size(); ++k) x += r.Advances[k];
        return std::min(x, r.Bounds.Right);
    };
    std::size_t i = 0;
    while (i < recs.size()) {
        if (recs[i].Kind != gui::TMetaRecord::TKind::Text) {
            ++i;
            continue;
        }
        // One run of text records on a line.
        std::string text;
        std::vector<Piece> pieces;
        std::size_t j = i;
        for (; j < recs.size() && recs[j].Kind == gui::TMetaRecord::TKind::Text; ++j) {
            if (j > i) {
                const gui::TRect& a = recs[j - 1].Bounds;
                const gui::TRect& b = recs[j].Bounds;
                const int h = std::max(1, a.Bottom - a.Top);
                if (b.Top != a.Top || b.Bottom != a.Bottom || b.Left < a.Left || b.Left - a.Right > h) break;
            }
            pieces.push_back({text.size(), static_cast<int>(j)});
            text += s.CaseSensitive ? recs[j].Text : rtl::AnsiUpperCase(recs[j].Text);
        }
        for (std::size_t pos = text.find(wanted); pos != std::string::npos; pos = text.find(wanted, pos + 1)) {
            // The records holding the first and the last character.
            std::size_t first = 0, last = 0;
            for (std::size_t k = 0; k < pieces.size(); ++k) {
                if (pieces[k].Offset <= pos) first = k;
                if (pieces[k].Offset < pos + wanted.size()) last = k;
            }
            const int record = pieces[first].RecordNo;
            const int offset = static_cast<int>(pos - pieces[first].Offset);
            if (record < s.LastFoundRecord || (record == s.LastFoundRecord && offset <= s.LastFoundOffset)) continue;
            gui::TRect r = recs[static_cast<std::size_t>(record)].Bounds;
            for (std::size_t k = first + 1; k <= last; ++k) {
                const gui::TRect& b = recs[static_cast<std::size_t>(pieces[k].RecordNo)].Bounds;
                r.Top = std::min(r.Top, b.Top);
                r.Bottom = std::max(r.Bottom, b.Bottom);
            }
            r.Left = charX(text, pieces[first], pos);
            r.Right = charX(text, pieces[last], pos + wanted.size());
            s.Found = true;
            s.Bounds = r;
            s.RecordNo = record;
            s.LastFoundRecord = record;
            s.LastFoundOffset = offset;
            return true;
        }
        i = j;
    }
    return false;
}

void TqlrPreviewWorkspace::ContinueTextSearch()
{
    TqlrTextSearch& s = TextSearch();
    s.Found = false;
    const int count = FPreviewPages ? FPreviewPages->Count() : 0;
    while (SearchPage < count) {
        if (!FCachedDrawing || FCachedPage != SearchPage) {
            FCachedDrawing = std::make_unique<gui::TMetafile>();
            int w = 794, h = 1123;
            if (SearchPage < FPageList.Count()) {
                w = Round(FPageList.Items(SearchPage).Width / FZoom);
                h = Round(FPageList.Items(SearchPage).Height / FZoom);
            }
            {
                gui::TMetafileCanvas canvas(FCachedDrawing.get(), std::max(1, w), std::max(1, h));
                FPreviewPages->DrawPage(SearchPage, &canvas, 1, 1, 0, 0);
            }
            FCachedPage = SearchPage;
        }
        if (SearchPageRecords(*FCachedDrawing)) {
            const gui::TRect h(Round(s.Bounds.Left * FZoom), Round(s.Bounds.Top * FZoom),
                               Round(s.Bounds.Right * FZoom), Round(s.Bounds.Bottom * FZoom));
            const gui::TRect p = FPageList.PageRect(SearchPage, ViewWidth(), FZoom, FRTLLanguage);
            if (p.Top + h.Top < FOffset.Y || p.Top + h.Bottom > FOffset.Y + ViewHeight())
                SetVertPosition(p.Top + h.Bottom - ViewHeight() + 20);
            if (p.Left + h.Left < FOffset.X || p.Left + h.Right > FOffset.X + ViewWidth())
                SetHorzPosition(p.Left + h.Right - ViewWidth() + 20);
            Invalidate();
            return;
        }
        s.LastFoundRecord = -1;
        ++SearchPage;
    }
    ShowReportInfo(GetResources().Get("clStrNotFound"));
}

} // namespace qlr
