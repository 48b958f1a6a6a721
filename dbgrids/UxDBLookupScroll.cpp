// The lookup list's scroll bar, pictures, focus and dialog codes, and the
// pop-up variant of the list.
#include <algorithm>

#include "dbgrids/UxDBLookup.h"
#include "dbgrids/UxGraphics.h"
#include "platform/gui/Monitors.h"

namespace dbgrids {

using namespace gui;

// --- TUxLookupControl: pictures, colours, focus ------------------------------------

TGraphic* TUxLookupControl::GetPicture(bool isEmpty, int& textMargin)
{
    textMargin = 0;
    TGraphic* graphic = nullptr;
    if (OnGetImage) OnGetImage(this, isEmpty, graphic, textMargin);
    return graphic;
}

void TUxLookupControl::SetEmptyItemColor(TColor value)
{
    if (value == FEmptyItemColor) return;
    FEmptyItemColor = value;
    if (!FDisplayEmpty.empty()) Invalidate();
}

void TUxLookupControl::AdjustDialogCodes(TDialogCodeFlags& codes)
{
    codes += TDialogCodeFlag::dcfWantArrows;
    codes += TDialogCodeFlag::dcfWantChars;
    codes -= TDialogCodeFlag::dcfNative;
}

void TUxLookupControl::DoFocusReceived(HWND previousWindow)
{
    FFocused = true;
    TUxExCustomControl::DoFocusReceived(previousWindow);
    Invalidate();
}

void TUxLookupControl::DoFocusLost(HWND nextWindow)
{
    FFocused = false;
    TUxExCustomControl::DoFocusLost(nextWindow);
    Invalidate();
}

// --- TUxDBLookupList: the scroll bar -----------------------------------------------

int TUxDBLookupList::ScrollBarWidth() const
{
    return std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, (ClientWidth() - 2 * BorderSize()) / 2));
}

void TUxDBLookupList::PaintBorder(TCanvas* c)
{
    const int b = BorderSize();
    if (b == 0) return;
    TRect r = ClientRect();
    if (b >= 2) {
        c->DrawEdge(r, EDGE_SUNKEN, BF_RECT);
        return;
    }
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
}

void TUxDBLookupList::UpdateScrollBar()
{
    int lo = 0, hi = 0, pos = 0;
    db::TDataSet* ds = FListActive ? ListLink()->DataSet() : nullptr;
    if (ds && ds->Active()) {
        const int rows = FRowCount - EmptyRows();
        const bool scrollable = FUseRecordCount ? rows < FRecordCount : rows == ListLink()->RecordCount();
        if (scrollable && FUseRecordCount && ds->RecNo() > 0) {
            hi = FRecordCount - 1;
            pos = ds->RecNo() - 1;
        } else if (scrollable) {
            hi = 4;
            pos = ds->Bof() ? 0 : ds->Eof() ? 4 : 2;
        }
    }
    if (lo == FScrollMin && hi == FScrollMax && pos == FScrollPos) return;
    FScrollMin = lo;
    FScrollMax = hi;
    FScrollPos = pos;
    Invalidate();
}

void TUxDBLookupList::Scroll(int code, int pos)
{
    db::TDataSet* ds = FListActive ? ListLink()->DataSet() : nullptr;
    FSearchText.clear();
    if (!ds || !ds->Active()) return;
    const int rows = FRowCount - EmptyRows();
    const bool recordRange = FUseRecordCount && FScrollMax > 4 && ds->RecNo() > 0;
    switch (code) {
    case SB_LINEUP: ds->MoveBy(-FRecordIndex - 1); break;
    case SB_LINEDOWN: ds->MoveBy(rows - FRecordIndex); break;
    case SB_PAGEUP: ds->MoveBy(1 - FRecordIndex - rows); break;
    case SB_PAGEDOWN: ds->MoveBy(2 * rows - FRecordIndex - 2); break;
    case SB_TOP: ds->First(); break;
    case SB_BOTTOM: ds->Last(); break;
    case SB_THUMBPOSITION:
        if (recordRange) {
            // On the record-number range the thumb names a record.
            ds->MoveBy(std::clamp(pos, 0, FScrollMax) + 1 - ds->RecNo());
            break;
        }
        switch (pos) {
        case 0: ds->First(); break;
        case 1: ds->MoveBy(1 - FRecordIndex - rows); break;
        case 3: ds->MoveBy(2 * rows - FRecordIndex - 2); break;
        case 4: ds->Last(); break;
        default: break;
        }
        break;
    default: break;
    }
    // A move that does not scroll the buffer (First on the first record)
    // still changes where the data set stands.
    ListSourceChanged();
}

bool TUxDBLookupList::ScrollBarMouseDown(int x, int y)
{
    const int bw = ScrollBarWidth();
    const TRect rows = RowsRect();
    if (bw == 0 || x < rows.Right || x >= rows.Right + bw || y < rows.Top || y >= rows.Bottom) return false;
    y -= rows.Top;
    const int h = rows.Height();
    if (FScrollMax <= FScrollMin) return true;  // a disabled bar
    const int arrow = std::min(bw, h / 2);
    const int track = h - 2 * arrow - bw;
    const int thumbTop = arrow + (track > 0 ? track * (FScrollPos - FScrollMin) / (FScrollMax - FScrollMin) : 0);
    if (y < arrow) Scroll(SB_LINEUP, 0);
    else if (y >= h - arrow) Scroll(SB_LINEDOWN, 0);
    else if (y < thumbTop) Scroll(SB_PAGEUP, 0);
    else if (y >= thumbTop + bw) Scroll(SB_PAGEDOWN, 0);
    else {
        FThumbTracking = true;
        FThumbPos = FScrollPos;
        SetMouseCapture(true);
    }
    return true;
}

void TUxDBLookupList::PaintScrollBar(TCanvas* c)
{
    const int bw = ScrollBarWidth();
    if (bw == 0) return;
    const TRect rows = RowsRect();
    const int h = rows.Height(), left = rows.Right, y0 = rows.Top;
    const bool enabled = FScrollMax > FScrollMin;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clScrollBar);
    c->FillRect({left, y0, left + bw, y0 + h});
    const int arrow = std::min(bw, h / 2);
    const uint32_t state = enabled ? 0u : static_cast<uint32_t>(DFCS_INACTIVE);
    TRect up{left, y0, left + bw, y0 + arrow};
    TRect down{left, y0 + h - arrow, left + bw, y0 + h};
    c->DrawFrameControl(up, DFC_SCROLL, static_cast<uint32_t>(DFCS_SCROLLUP) | state);
    c->DrawFrameControl(down, DFC_SCROLL, static_cast<uint32_t>(DFCS_SCROLLDOWN) | state);
    const int track = h - 2 * arrow - bw;
    if (!enabled || track <= 0) return;
    const int top = y0 + arrow + track * (FScrollPos - FScrollMin) / (FScrollMax - FScrollMin);
    TRect thumb{left, top, left + bw, top + bw};
    c->DrawFrameControl(thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
}

void TUxDBLookupList::DoFontChange()
{
    TUxLookupControl::DoFontChange();
    SetRowCount(FRowCount);
}

void TUxDBLookupList::WndProc(TMessage& m)
{
    if (m.Msg == WM_VSCROLL) {
        Scroll(static_cast<int>(m.WParamLo()), static_cast<int>(static_cast<uint16_t>(m.WParam >> 16)));
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_CANCELMODE) {
        StopTracking();
        FThumbTracking = false;
    }
    TUxLookupControl::WndProc(m);
    // The frame follows the 3-D look and counts in the height.
    if (m.Msg == CM_CTL3DCHANGED) {
        SetRowCount(FRowCount);
        Invalidate();
    }
}

// --- TUxPopupDataList ------------------------------------------------------------------

TUxPopupDataList::TUxPopupDataList(rtl::TComponent* owner) : TUxDBLookupList(owner)
{
    FPopup = true;
    SetTabStop(false);
    SetCtl3D(false);
    SetShowHint(false);
    FWindow = new TPopupWindow(nullptr);
    FWindow->SetVisible(false);
    FWindow->OnHide = [this](rtl::TObject*) {
        // A press outside or the focus going elsewhere: closed, nothing taken.
        if (!FClosing && OnCloseUp) OnCloseUp(this, false);
    };
}

TUxPopupDataList::~TUxPopupDataList()
{
    FWindow->OnHide = nullptr;
    if (Parent() == FWindow) SetParent(nullptr);
    delete FWindow;
}

TUxLookupControl* TUxPopupDataList::LookupOwner() const { return dynamic_cast<TUxLookupControl*>(Owner()); }

bool TUxPopupDataList::DroppedDown() const { return FWindow->Visible(); }

void TUxPopupDataList::DropDown(TControl* below)
{
    if (DroppedDown()) return;
    if (Parent() != FWindow) SetParent(FWindow);
    const int width = below ? std::max(below->Width(), Width()) : Width();
    SetBounds(0, 0, width, Height());  // snaps the height to whole rows
    // The frame adds its one-pixel border on each side.
    const int frameW = width + 2, frameH = Height() + 2;
    TPoint p = below ? below->ClientToScreen({0, below->Height()}) : TPoint{Left(), Top()};
    if (below) {
        TRect work = WorkAreaNearest(below);
        if (p.Y + frameH > work.Bottom) p.Y = below->ClientToScreen({0, 0}).Y - frameH;
        if (p.X + frameW > work.Right) p.X = std::max(work.Left, work.Right - frameW);
    }
    FWindow->SetBounds(p.X, p.Y, frameW, frameH);
    SetBounds(0, 0, width, Height());
    FWindow->Show();
    Invalidate();
}

void TUxPopupDataList::CloseUp(bool accept)
{
    if (!DroppedDown()) return;
    FClosing = true;
    FWindow->Hide();
    FClosing = false;
    if (OnCloseUp) OnCloseUp(this, accept);
}

void TUxPopupDataList::KeyDown(uint16_t& key, TShiftState shift)
{
    if (DroppedDown() && (key == VK_RETURN || key == VK_ESCAPE)) {
        CloseUp(key == VK_RETURN);
        key = 0;
        return;
    }
    TUxDBLookupList::KeyDown(key, shift);
}

void TUxPopupDataList::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const bool picked = button == TMouseButton::mbLeft && Tracking() && RowsRect().Contains({x, y});
    TUxDBLookupList::MouseUp(button, shift, x, y);
    if (picked) CloseUp(true);
}

} // namespace dbgrids
