// TCustomGrid: scroll bars and their messages, the mouse (selecting,
// sizing and moving columns and rows, clicks on fixed cells).
#include "platform/gui/Grids.h"

#include <algorithm>

namespace gui {

namespace {

int MulDivRound(int a, int b, int c)
{
    if (c == 0) return 0;
    long long p = static_cast<long long>(a) * b;
    return static_cast<int>((p + (p >= 0 ? c / 2 : -c / 2)) / c);
}

} // namespace

int TCustomGrid::ScrollBarSize() { return 16; }

TRect TCustomGrid::ClientRect() const
{
    int w = Width() - (FVertBar ? ScrollBarSize() : 0);
    int h = Height() - (FHorzBar ? ScrollBarSize() : 0);
    return {0, 0, std::max(0, w), std::max(0, h)};
}

void TCustomGrid::ComputeScrollBars()
{
    const bool wantV = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    const bool wantH = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    FVertBar = FHorzBar = false;
    // A bar takes room from the other direction: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        bool v = wantV && (FForceVert || Vert().MaxFirst() > FFixedRows);
        bool h = wantH && (FForceHorz || Horz().MaxFirst() > FFixedCols);
        if (v == FVertBar && h == FHorzBar) break;
        FVertBar = v;
        FHorzBar = h;
    }
}

void TCustomGrid::UpdateScrollRange()
{
    bool oldV = FVertBar, oldH = FHorzBar;
    ComputeScrollBars();
    TGridCoord maxTL = MaxTopLeft();
    FVertPos = maxTL.Y > FFixedRows
                   ? MulDivRound(FTopLeft.Y - FFixedRows, GridScrollBarMax, maxTL.Y - FFixedRows)
                   : 0;
    FHorzPos = maxTL.X > FFixedCols
                   ? MulDivRound(FTopLeft.X - FFixedCols, GridScrollBarMax, maxTL.X - FFixedCols)
                   : 0;
    FVertPos = std::clamp(FVertPos, 0, GridScrollBarMax);
    FHorzPos = std::clamp(FHorzPos, 0, GridScrollBarMax);
    if (oldV != FVertBar || oldH != FHorzBar) Invalidate();
    else if (FVertBar || FHorzBar) {
        TRect c = ClientRect();
        InvalidateRect({c.Right, 0, Width(), Height()});
        InvalidateRect({0, c.Bottom, Width(), Height()});
    }
}

void TCustomGrid::ModifyScrollBar(int bar, int code, int pos)
{
    const bool vert = bar == SB_VERT;
    TGridCoord maxTL = MaxTopLeft();
    const int fixed = vert ? FFixedRows : FFixedCols;
    const int maxFirst = vert ? maxTL.Y : maxTL.X;
    const int page = vert ? PageHeight() : PageWidth();
    int first = vert ? FTopLeft.Y : FTopLeft.X;
    switch (code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(TGridOption::goThumbTracking)) return;
        [[fallthrough]];
    case SB_THUMBPOSITION:
        first = fixed + MulDivRound(std::clamp(pos, 0, GridScrollBarMax), maxFirst - fixed,
                                    GridScrollBarMax);
        break;
    case SB_TOP: first = fixed; break;
    case SB_BOTTOM: first = maxFirst; break;
    default: return;
    }
    if (vert) MoveTopLeft(FTopLeft.X, first);
    else MoveTopLeft(first, FTopLeft.Y);
}

void TCustomGrid::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        ModifyScrollBar(message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, message.WParamLo(),
                        static_cast<int16_t>(message.WParamHi()));
        message.Result = 0;
        return;
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS;
        if (FOptions.Contains(TGridOption::goRowSelect)) return;
        if (FOptions.Contains(TGridOption::goTabs)) message.Result |= DLGC_WANTTAB;
        if (FOptions.Contains(TGridOption::goEditing)) message.Result |= DLGC_WANTCHARS;
        return;
    default:
        TCustomControl::Dispatch(message);
    }
}

void TCustomGrid::ScrollBarExtent(int bar, int& visible, int& total) const
{
    const TScrollInfo& info = bar == SB_VERT ? FVertInfo : FHorzInfo;
    if (info.Page > 0) {
        visible = info.Page;
        total = std::max(info.Page, info.Max - info.Min + 1);
        return;
    }
    if (bar == SB_VERT) {
        visible = VisibleRowCount();
        total = FRowCount - FFixedRows;
    } else {
        visible = VisibleColCount();
        total = FColCount - FFixedCols;
    }
}

TCustomGrid::BarGeometry TCustomGrid::ScrollBarGeometry(int bar) const
{
    int visible, total;
    ScrollBarExtent(bar, visible, total);
    visible = std::max(1, visible);
    total = std::max(1, total);
    BarGeometry g;
    const int s = ScrollBarSize();
    TRect c = ClientRect();
    if (bar == SB_VERT) {
        g.Whole = {c.Right, 0, c.Right + s, c.Bottom};
        g.Up = {g.Whole.Left, 0, g.Whole.Right, std::min(s, c.Bottom / 2)};
        g.Down = {g.Whole.Left, std::max(g.Up.Bottom, c.Bottom - s), g.Whole.Right, c.Bottom};
        g.Track = {g.Whole.Left, g.Up.Bottom, g.Whole.Right, g.Down.Top};
        int len = std::max(s / 2 + 4, g.Track.Height() * visible / total);
        len = std::min(len, g.Track.Height());
        int top = g.Track.Top + MulDivRound(g.Track.Height() - len, FVertPos, GridScrollBarMax);
        g.Thumb = {g.Whole.Left + 2, top, g.Whole.Right - 2, top + len};
    } else {
        g.Whole = {0, c.Bottom, c.Right, c.Bottom + s};
        g.Up = {0, g.Whole.Top, std::min(s, c.Right / 2), g.Whole.Bottom};
        g.Down = {std::max(g.Up.Right, c.Right - s), g.Whole.Top, c.Right, g.Whole.Bottom};
        g.Track = {g.Up.Right, g.Whole.Top, g.Down.Left, g.Whole.Bottom};
        int len = std::max(s / 2 + 4, g.Track.Width() * visible / total);
        len = std::min(len, g.Track.Width());
        int left = g.Track.Left + MulDivRound(g.Track.Width() - len, FHorzPos, GridScrollBarMax);
        g.Thumb = {left, g.Whole.Top + 2, left + len, g.Whole.Bottom - 2};
    }
    return g;
}

void TCustomGrid::ScrollBarRects(int bar, TRect& whole, TRect& up, TRect& down, TRect& thumb) const
{
    const BarGeometry g = ScrollBarGeometry(bar);
    whole = g.Whole;
    up = g.Up;
    down = g.Down;
    thumb = g.Thumb;
}

bool TCustomGrid::ScrollBarMouseDown(int x, int y)
{
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!(bar == SB_VERT ? FVertBar : FHorzBar)) continue;
        BarGeometry g = ScrollBarGeometry(bar);
        TPoint p{x, y};
        if (!g.Whole.Contains(p)) continue;
        if (!ScrollBarEnabled(bar)) return true;
        const uint32_t msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        if (g.Up.Contains(p)) Perform(msg, SB_LINEUP);
        else if (g.Down.Contains(p)) Perform(msg, SB_LINEDOWN);
        else if (g.Thumb.Contains(p)) {
            FBarDrag = bar;
            FBarDragOfs = bar == SB_VERT ? y - g.Thumb.Top : x - g.Thumb.Left;
        } else if (bar == SB_VERT ? y < g.Thumb.Top : x < g.Thumb.Left) {
            Perform(msg, SB_PAGEUP);
        } else {
            Perform(msg, SB_PAGEDOWN);
        }
        return true;
    }
    return false;
}

void TCustomGrid::ScrollBarMouseMove(int x, int y, bool release)
{
    BarGeometry g = ScrollBarGeometry(FBarDrag);
    int room, at;
    if (FBarDrag == SB_VERT) {
        room = g.Track.Height() - g.Thumb.Height();
        at = y - FBarDragOfs - g.Track.Top;
    } else {
        room = g.Track.Width() - g.Thumb.Width();
        at = x - FBarDragOfs - g.Track.Left;
    }
    int pos = room > 0 ? std::clamp(MulDivRound(at, GridScrollBarMax, room), 0, GridScrollBarMax) : 0;
    Perform(FBarDrag == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
            MAKEWPARAM(release ? SB_THUMBPOSITION : SB_THUMBTRACK, pos));
}

// ------------------------------------------------------------------ mouse

void TCustomGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos,
                                  int& sizingOfs)
{
    state = TGridState::gsNormal;
    index = -1;
    const int zone = 3;
    AxisInfo h = Horz(), v = Vert();
    if (FOptions.Contains(TGridOption::goColSizing) && y >= 0 && y < v.FixedBoundary) {
        for (int i = 0; i < FColCount; ++i) {
            int start = h.Start(i);
            if (start < 0) continue;
            int end = start + h.Extent(i);
            if (std::abs(x - end) <= zone) {
                state = TGridState::gsColSizing;
                index = i;
                sizingPos = start;
                sizingOfs = end - x;
            }
        }
    }
    if (state == TGridState::gsNormal && FOptions.Contains(TGridOption::goRowSizing) && x >= 0 &&
        x < h.FixedBoundary) {
        for (int i = 0; i < FRowCount; ++i) {
            int start = v.Start(i);
            if (start < 0) continue;
            int end = start + v.Extent(i);
            if (std::abs(y - end) <= zone) {
                state = TGridState::gsRowSizing;
                index = i;
                sizingPos = start;
                sizingOfs = end - y;
            }
        }
    }
}

void TCustomGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos,
                                  int& sizingOfs, TGridDrawInfo&)
{
    CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& info) const
{
    auto fill = [](const AxisInfo& a, TGridAxisDrawInfo& d) {
        d.FixedBoundary = a.FixedBoundary;
        d.GridBoundary = a.GridBoundary;
        d.FixedCellCount = a.FixedCount;
        d.FirstGridCell = a.First;
        d.LastFullVisibleCell = a.LastFullVisible;
        d.LastVisibleCell = a.LastVisible;
        d.GridCellCount = a.Count;
    };
    fill(Horz(), info.Horz);
    fill(Vert(), info.Vert);
}

void TCustomGrid::SetScrollInfo(int bar, const TScrollInfo& info)
{
    (bar == SB_VERT ? FVertInfo : FHorzInfo) = info;
    if (bar == SB_VERT ? FVertBar : FHorzBar) Invalidate();
}

TScrollInfo TCustomGrid::GetScrollInfo(int bar) const
{
    TScrollInfo info = bar == SB_VERT ? FVertInfo : FHorzInfo;
    info.Pos = bar == SB_VERT ? FVertPos : FHorzPos;
    return info;
}

void TCustomGrid::ShowScrollBar(int bar, bool show)
{
    if (bar == SB_VERT || bar == SB_BOTH) FForceVert = show;
    if (bar == SB_HORZ || bar == SB_BOTH) FForceHorz = show;
    UpdateScrollRange();
}

void TCustomGrid::EnableScrollBar(int bar, uint32_t flags)
{
    const bool disable = flags == ESB_DISABLE_BOTH;
    bool changed = false;
    if ((bar == SB_VERT || bar == SB_BOTH) && FVertDisabled != disable) FVertDisabled = disable, changed = true;
    if ((bar == SB_HORZ || bar == SB_BOTH) && FHorzDisabled != disable) FHorzDisabled = disable, changed = true;
    if (changed && (FVertBar || FHorzBar)) Invalidate();
}

bool TCustomGrid::BeginColumnDrag(int&, int&, const TPoint&) { return true; }
bool TCustomGrid::EndColumnDrag(int&, int&, const TPoint&) { return true; }

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TRect client = ClientRect();
    if (button == TMouseButton::mbLeft && (x >= client.Right || y >= client.Bottom)) {
        ScrollBarMouseDown(x, y);
        TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    if (CanFocus() && !Focused()) SetFocus();
    if (button == TMouseButton::mbLeft && !shift.Contains(TShiftStateItem::ssDouble)) {
        TGridState state;
        int index, pos, ofs;
        TGridDrawInfo info;
        CalcDrawInfo(info);
        CalcSizingState(x, y, state, index, pos, ofs, info);
        if (state != TGridState::gsNormal) {
            FGridState = state;
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
        } else {
            TGridCoord cell = MouseCoord(x, y);
            if (cell.X >= 0) {
                const bool fixedRow = cell.Y < FFixedRows, fixedCol = cell.X < FFixedCols;
                int origin = cell.X, dest = cell.X;
                if (fixedRow && !fixedCol && FOptions.Contains(TGridOption::goColMoving) &&
                    BeginColumnDrag(origin, dest, {x, y})) {
                    FGridState = TGridState::gsColMoving;
                    FMoveIndex = FMovePos = origin;
                } else if (fixedCol && !fixedRow && FOptions.Contains(TGridOption::goRowMoving)) {
                    FGridState = TGridState::gsRowMoving;
                    FMoveIndex = FMovePos = cell.Y;
                } else if (fixedRow || fixedCol) {
                    FPressedCell = cell;
                } else if (FOptions.Contains(TGridOption::goEditing) && cell == FCurrent &&
                           !FOptions.Contains(TGridOption::goRowSelect)) {
                    ShowEditor();
                } else {
                    MoveColRow(cell.X, cell.Y, !shift.Contains(TShiftStateItem::ssShift), true);
                    UpdateEdit();
                    FGridState = TGridState::gsSelecting;
                }
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    if (FBarDrag >= 0) {
        ScrollBarMouseMove(x, y, false);
    } else {
        switch (FGridState) {
        case TGridState::gsSelecting: {
            TGridCoord cell = MouseCoord(x, y);
            if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
                MoveColRow(cell.X, cell.Y, false, true);
            break;
        }
        case TGridState::gsColSizing:
            SetColWidths(FSizingIndex, std::max(1, x + FSizingOfs - FSizingPos));
            break;
        case TGridState::gsRowSizing:
            SetRowHeights(FSizingIndex, std::max(1, y + FSizingOfs - FSizingPos));
            break;
        case TGridState::gsColMoving: {
            int c = Horz().CellAt(x);
            if (c >= FFixedCols) FMovePos = c;
            break;
        }
        case TGridState::gsRowMoving: {
            int r = Vert().CellAt(y);
            if (r >= FFixedRows) FMovePos = r;
            break;
        }
        default: {
            TGridState state;
            int index, pos, ofs;
            TGridDrawInfo info;
            CalcDrawInfo(info);
            CalcSizingState(x, y, state, index, pos, ofs, info);
            // Shown, not stored: the grid's own Cursor stays what it was set to.
            ShowWindowCursor(this, state == TGridState::gsColSizing   ? crHSplit
                                   : state == TGridState::gsRowSizing ? crVSplit
                                                                      : Cursor());
        }
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FBarDrag >= 0) {
        ScrollBarMouseMove(x, y, true);
        FBarDrag = -1;
    }
    switch (FGridState) {
    case TGridState::gsColMoving: {
        int origin = FMoveIndex, dest = FMovePos;
        FGridState = TGridState::gsNormal;
        if (origin != dest && EndColumnDrag(origin, dest, {x, y})) MoveColumn(origin, dest);
        break;
    }
    case TGridState::gsRowMoving: {
        int origin = FMoveIndex, dest = FMovePos;
        FGridState = TGridState::gsNormal;
        if (origin != dest) MoveRow(origin, dest);
        break;
    }
    default: {
        TGridCoord pressed = FPressedCell;
        FPressedCell = {-1, -1};
        FGridState = TGridState::gsNormal;
        if (pressed.X >= 0 && button == TMouseButton::mbLeft && MouseCoord(x, y) == pressed &&
            ((FOptions.Contains(TGridOption::goFixedColClick) && pressed.Y < FFixedRows) ||
             (FOptions.Contains(TGridOption::goFixedRowClick) && pressed.X < FFixedCols)))
            FixedCellClick(pressed.X, pressed.Y);
    }
    }
    FSizingIndex = FMoveIndex = FMovePos = -1;
    TCustomControl::MouseUp(button, shift, x, y);
}

} // namespace gui
