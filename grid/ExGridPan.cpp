// ExGrid: middle-button panning.  A middle press starts it: while the
// pointer stays more than 5 pixels away from the press point, each tick of
// timer 999 moves the view (WheelAction waScroll) or the current cell
// (waMoveSelection) one row and one column towards it, with a cursor that
// shows the direction.  The next button press or key ends it.
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

namespace grid {

namespace {

constexpr uintptr_t PanTimerId = 999;
constexpr unsigned PanTimerMs = 10;

int16_t LowWord(gui::LPARAM v) { return static_cast<int16_t>(v & 0xFFFF); }
int16_t HighWord(gui::LPARAM v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }

// The panning cursors: a ring, with an arrow head towards the direction
// (none for the neutral cursor 8000).
void RegisterPanCursors()
{
    static bool done = false;
    if (done || !gui::Screen) return;
    done = true;
    const struct {
        int id, dx, dy;
    } shapes[] = {{8000, 0, 0},  {8001, 0, 1},  {8002, -1, 0}, {8003, 1, 0}, {8004, 0, -1},
                  {8005, 1, -1}, {8006, -1, -1}, {8007, 1, 1},  {8008, -1, 1}};
    for (const auto& s : shapes) {
        gui::TBitmap bmp;
        bmp.SetSize(32, 32);
        gui::TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(gui::clWhite);
        c->FillRect({0, 0, 32, 32});
        c->Pen()->SetColor(gui::clBlack);
        c->Brush()->SetColor(gui::clWhite);
        c->Ellipse(11, 11, 21, 21);
        c->Brush()->SetColor(gui::clBlack);
        c->Ellipse(15, 15, 17, 17);
        if (s.dx || s.dy) {
            // A triangle 10 pixels out from the centre, pointing outwards.
            const double len = std::hypot(s.dx, s.dy);
            const double ux = s.dx / len, uy = s.dy / len;
            const double tipX = 16 + ux * 15, tipY = 16 + uy * 15;
            const double baseX = 16 + ux * 8, baseY = 16 + uy * 8;
            c->Polygon({{static_cast<int>(tipX), static_cast<int>(tipY)},
                        {static_cast<int>(baseX - uy * 5), static_cast<int>(baseY + ux * 5)},
                        {static_cast<int>(baseX + uy * 5), static_cast<int>(baseY - ux * 5)}});
        }
        bmp.SetTransparentColor(gui::clWhite);
        bmp.SetTransparent(true);
        gui::Screen->SetCursorImage(s.id, &bmp, {16, 16});
    }
}

} // namespace

bool TExStringGrid::PanMessage(gui::TMessage& message)
{
    switch (message.Msg) {
    case gui::WM_MBUTTONDOWN:
        if (FPanning) {
            EndPanning();
            return true;
        }
        if (FIntelliPan == TIntelliPan::ipNone || RowCount() <= TBaseGrid::FixedRows()) return false;
        StartPanning({LowWord(message.LParam), HighWord(message.LParam)});
        return true;
    case gui::WM_LBUTTONDOWN:
    case gui::WM_RBUTTONDOWN:
    case gui::WM_KEYDOWN:
        if (FPanning) EndPanning();
        return false;
    case gui::WM_MOUSEMOVE:
        if (FPanning) FPanPointer = {LowWord(message.LParam), HighWord(message.LParam)};
        return false;
    case gui::WM_DESTROY:
        if (FPanning) {
            gui::KillTimer(Handle(), PanTimerId);
            FPanning = false;
        }
        return false;
    case gui::WM_TIMER:
        if (message.WParam != PanTimerId) return false;
        if (FPanning) PanTick();
        return true;
    default: return false;
    }
}

void TExStringGrid::StartPanning(gui::TPoint at)
{
    RegisterPanCursors();
    FPanPrevCursor = Cursor();
    FPanCursor = 8000;
    SetCursor(FPanCursor);
    FPanning = true;
    gui::SetTimer(Handle(), PanTimerId, PanTimerMs);
    FPanOrigin = FPanPointer = at;
    SetMouseCapture(true);
    SetShowHint(false);
    DrawPanMarker();
}

void TExStringGrid::EndPanning()
{
    SetMouseCapture(false);
    gui::KillTimer(Handle(), PanTimerId);
    SetCursor(FPanPrevCursor);
    SetShowHint(true);
    FPanning = false;
    ErasePanMarker();
}

void TExStringGrid::PanTick()
{
    const gui::TPoint p = FPanPointer;
    auto direction = [](int delta) { return delta > 5 ? 1 : delta < -5 ? -1 : 0; };
    const int v = FIntelliPan == TIntelliPan::ipHorizontal ? 0 : direction(p.Y - FPanOrigin.Y);
    const int h = FIntelliPan == TIntelliPan::ipVertical ? 0 : direction(p.X - FPanOrigin.X);
    static const int cursors[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
    FPanCursor = cursors[v + 1][h + 1];
    SetCursor(FPanCursor == 8000 ? 8000 : FPanCursor);

    const int fixedRows = TBaseGrid::FixedRows(), fixedCols = TBaseGrid::FixedCols();
    const int lastRow = RowCount() - FFixedFooters - 1, lastCol = ColCount() - FFixedRightCols - 1;
    if (lastRow < fixedRows || lastCol < fixedCols) return;
    // The current cell stays out of footer rows and right fixed columns.
    const int r = std::clamp(Row(), fixedRows, lastRow), c = std::clamp(Col(), fixedCols, lastCol);
    if (r != Row() || c != Col()) MoveColRow(c, r, true, false);
    if (!h && !v) return;
    const gui::TGridRect before = Selection();
    ErasePanMarker();
    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        if (h < 0 && LeftCol() > fixedCols) SetLeftCol(LeftCol() - 1);
        if (h > 0 && LeftCol() < ColCount() - VisibleColCount()) SetLeftCol(LeftCol() + 1);
        if (v < 0 && TopRow() > fixedRows) SetTopRow(TopRow() - 1);
        if (v > 0 && TopRow() < RowCount() - VisibleRowCount()) SetTopRow(TopRow() + 1);
    } else {
        MoveColRow(std::clamp(Col() + h, fixedCols, lastCol), std::clamp(Row() + v, fixedRows, lastRow), true,
                   true);
    }
    DrawPanMarker();
    const gui::TGridRect after = Selection();
    if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

// The origin marker: a ring with the directions panning can take.
void TExStringGrid::DrawPanMarker()
{
    gui::TCanvas* c = Canvas();
    const int x = FPanOrigin.X, y = FPanOrigin.Y;
    c->Pen()->SetColor(gui::clBlack);
    c->Pen()->SetMode(gui::TPenMode::pmCopy);
    c->Brush()->SetColor(gui::clWhite);
    c->Ellipse(x + 4, y + 4, x + 28, y + 28);
    c->Brush()->SetColor(gui::clBlack);
    c->Ellipse(x + 14, y + 14, x + 18, y + 18);
    if (FIntelliPan != TIntelliPan::ipHorizontal) {
        c->Polygon({{x + 16, y + 6}, {x + 12, y + 11}, {x + 20, y + 11}});
        c->Polygon({{x + 16, y + 26}, {x + 12, y + 21}, {x + 20, y + 21}});
    }
    if (FIntelliPan != TIntelliPan::ipVertical) {
        c->Polygon({{x + 6, y + 16}, {x + 11, y + 12}, {x + 11, y + 20}});
        c->Polygon({{x + 26, y + 16}, {x + 21, y + 12}, {x + 21, y + 20}});
    }
}

void TExStringGrid::ErasePanMarker()
{
    InvalidateRect({FPanOrigin.X, FPanOrigin.Y, FPanOrigin.X + 32, FPanOrigin.Y + 32});
}

} // namespace grid
