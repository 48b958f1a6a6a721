// TExStringGrid: the HTML hint window, cell hints (what CM_HINTSHOW shows
// and where), cell balloons, rich-text cells drawn by the hidden rich
// editor, and sizing with the owner form.
#include "grid/ExGridHints.h"

#include <algorithm>

#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/BalloonTip.h"
#include "platform/gui/DateTimePicker.h"
#include "platform/gui/Forms.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/Monitors.h"
#include "platform/gui/PopupWindows.h"
#include "platform/rtl/Strings.h"

namespace grid {

RTL_PUBLISHED(THTMLHintWindow) {}

void TExGridState::SetUseHTMLHints(bool v)
{
    FUseHTMLHints = v;
    gui::SetHintWindowClass(v ? &THTMLHintWindow::StaticClassInfo() : nullptr);
}

namespace {
std::string gHintFontName;

bool IsWide(const std::string& s) { return s.size() >= 2 && s[0] == '|' && s[1] == '\\'; }

htmltext::TMarkupOptions HintMarkupOptions()
{
    htmltext::TMarkupOptions opt;
    opt.LinkColor = 0xFF0000;
    opt.ShadowColor = 0x808080;
    opt.HoverColor = gui::clNone;
    opt.HoverFontColor = gui::clNone;
    return opt;
}
} // namespace

void SetHTMLHintFontName(const std::string& name) { gHintFontName = name; }
const std::string& HTMLHintFontName() { return gHintFontName; }

std::string PrepareBalloonText(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == '\r' || text[i] == '\n' || text[i] == '\t')) ++i;
    std::string s = text.substr(i);
    std::replace(s.begin(), s.end(), '\t', ' ');
    std::u16string w = rtl::UTF8ToUTF16(s);
    if (w.size() <= 2048) return s;
    w.resize(2045);
    // Never cut a surrogate pair in two.
    if (!w.empty() && w.back() >= 0xD800 && w.back() <= 0xDBFF) w.pop_back();
    return rtl::UTF16ToUTF8(w) + "...";
}

std::string PrepareBalloonTitle(const std::string& title)
{
    std::u16string w = rtl::UTF8ToUTF16(title);
    if (w.size() <= 100) return title;
    w.resize(97);
    if (!w.empty() && w.back() >= 0xD800 && w.back() <= 0xDBFF) w.pop_back();
    return rtl::UTF16ToUTF8(w) + "...";
}

// ------------------------------------------------------------ hint window

THTMLHintWindow::THTMLHintWindow(rtl::TComponent* owner) : gui::THintWindow(owner)
{
    // Drop shadows: wished for, not drawn on this system.
    SetDropShadow(true);
}

void THTMLHintWindow::Measure(const std::string& hint, gui::TRect r, int& width, int& height)
{
    gui::TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    if (IsWide(hint)) {
        if (!gHintFontName.empty()) c->Font()->SetName(gHintFontName);
        FWideCaption = gridbase::DecodePrefixedWideText(hint);
        gui::TRect m = r;
        height = c->DrawText(FWideCaption, m, gui::DT_NOPREFIX | gui::DT_CALCRECT | gui::DT_SINGLELINE);
        width = m.Right - m.Left;
        return;
    }
    FWideCaption.clear();
    if (hint.empty()) {
        width = height = 0;
        return;
    }
    htmltext::TMarkupOptions opt = HintMarkupOptions();
    opt.HeightCheck = true;
    htmltext::TMarkupResult res;
    htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *c, hint, r, opt, res);
    width = res.XSize;
    height = res.YSize;
}

gui::TRect THTMLHintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    int w = 0, h = 0;
    Measure(hint, {0, 0, maxWidth, 0}, w, h);
    return {0, 0, w, h};
}

void THTMLHintWindow::ActivateHint(gui::TRect rect, const std::string& hint)
{
    SetCaption(hint);
    int extraW = 16;
    const int extraH = 4;
    rect.Right = rect.Left + 1008;
    Measure(hint, rect, FTextWidth, FTextHeight);
    if (IsWide(hint)) extraW = 8;
    rect.Right = rect.Left + FTextWidth + extraW;
    rect.Bottom = rect.Top + FTextHeight + extraH;
    // On the monitor of the top-left corner, 2 pixels inside its edges.
    const gui::TRect mon = gui::MonitorFromPoint({rect.Left, rect.Top}).BoundsRect;
    if (rect.Right - mon.Left > mon.Width()) {
        const int w = rect.Width();
        rect.Right = mon.Right - 2;
        rect.Left = rect.Right - w;
    }
    if (rect.Bottom - mon.Top > mon.Height()) {
        const int h = rect.Height();
        rect.Bottom = mon.Bottom - 2;
        rect.Top = rect.Bottom - h;
    }
    if (Parent() && !gui::IsPopupWindow(this)) gui::SetPopupWindow(this, gui::TPopupWindowOptions{true, true});
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    Show();
    Invalidate();
}

void THTMLHintWindow::Paint()
{
    gui::TCanvas* c = Canvas();
    const gui::TRect r = ClientRect();
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Pen()->SetColor(gui::cl3DLight);
    c->MoveTo(r.Left, r.Bottom - 2);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(gui::cl3DDkShadow);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Top - 1);
    gui::TRect t = r;
    t.Left += 4;
    t.Right -= 4;
    t.Top += (r.Height() - FTextHeight) / 2;
    t.Bottom = t.Top + FTextHeight + 8;
    c->Brush()->SetColor(Color());
    c->Font()->Assign(Font());
    if (IsWide(Caption())) {
        if (!gHintFontName.empty()) c->Font()->SetName(gHintFontName);
        c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        c->DrawText(FWideCaption, t, gui::DT_NOPREFIX | gui::DT_SINGLELINE);
        return;
    }
    htmltext::TMarkupOptions opt = HintMarkupOptions();
    htmltext::TMarkupResult res;
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *c, Caption(), t, opt, res);
}

// ------------------------------------------------------------ cell hints

void TExStringGrid::GetCellHintInfo(std::string& hintStr, bool& /*canShow*/, gui::THintInfo& hintInfo)
{
    int aCol = -1, aRow = -1;
    MouseToCell(hintInfo.CursorPos.X, hintInfo.CursorPos.Y, aCol, aRow);
    SetHTMLHintFontName(Font()->Name());
    hintInfo.HintColor = HintColor();
    if (aCol < 0 || aRow < 0) return;
    FLastHintPos = {aCol, aRow};
    const gui::TRect r = gui::TCustomGrid::CellRect(aCol, aRow);
    const int rc = RealColIndex(aCol);
    gui::TPoint hintPos{r.Left, r.Bottom + 6};
    if (IsComment(rc, aRow, hintStr)) hintPos = {r.Right, r.Top};
    const std::string text = GetCellText(rc, aRow);
    const int kind = gridbase::ClassifyCellText(text, EnableHTML());

    // An anchor under the cursor of a markup cell.
    if (kind == gridbase::ctHtmlText && AnchorHint()) {
        htmltext::TMarkupOptions opt;
        opt.PointX = hintInfo.CursorPos.X;
        opt.PointY = hintInfo.CursorPos.Y;
        opt.HotSpotCheck = true;
        opt.PictureCache = ImageCache();
        htmltext::TMarkupResult res;
        gui::TBitmap scratch;
        scratch.SetSize(1, 1);
        scratch.Canvas()->Font()->Assign(Font());
        gui::TRect ar = r;
        ar.Left -= 1;
        ar.Left += FXYOffset.X;
        ar.Top += FXYOffset.Y;
        if (htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *scratch.Canvas(), text, ar, opt, res) &&
            !res.AnchorValue.empty()) {
            std::string anchor = res.AnchorTitle.empty() ? res.AnchorValue : res.AnchorTitle;
            if (OnAnchorHint) OnAnchorHint(this, aRow, aCol, anchor);
            hintStr = anchor;
            hintPos = {hintInfo.CursorPos.X + 8, hintInfo.CursorPos.Y - 16};
        }
    }

    const bool normal = aRow >= FixedRows() && aCol >= FixedCols() && aCol < ColCount() - FFixedRightCols &&
                        aRow < RowCount() - FFixedFooters;
    auto shownText = [&] {
        if (kind == gridbase::ctWideText) return text;
        if (HTMLHint()) return text;
        std::string s;
        GetStrippedCellText(rc, aRow, s);
        return s;
    };
    if (HintShowCells() && normal) {
        hintPos.Y = r.Top;
        hintStr = shownText();
    }
    if (HintShowLargeText()) {
        gui::TPoint size;
        GetCellTextSize(aCol, aRow, size, true, false);
        if (size.X > r.Width() || size.Y > r.Height()) {
            hintPos.Y = r.Top;
            hintStr = shownText();
        }
    }
    if (!(FFloatingFooter->Visible() && aRow == RowCount() - 1)) {
        std::u16string wide;
        GetCellHint(aCol, aRow, hintStr, wide);
    }
    const int hintKind = gridbase::ClassifyCellText(hintStr, true);
    if (hintKind == gridbase::ctHtmlText || hintKind == gridbase::ctWideText)
        hintInfo.HintWindowClass = &THTMLHintWindow::StaticClassInfo();
    hintInfo.HintPos = ClientToScreen(hintPos);
}

void TExStringGrid::CMHintShow(gui::TMessage& message)
{
    auto* info = reinterpret_cast<gui::THintInfo*>(message.LParam);
    if (!info) return;
    bool canShow = true;
    GetCellHintInfo(info->HintStr, canShow, *info);
    message.Result = canShow ? 0 : 1;
}

// ---------------------------------------------------------- notifications

bool TExStringGrid::WMNotify(gui::TMessage& message)
{
    if (!message.LParam) return false;
    // Every notification record starts with the sender and the code.
    const auto* rec = reinterpret_cast<const gui::TNMDateTime*>(message.LParam);
    switch (rec->code) {
    case gui::DTN_DATETIMECHANGE:
        if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), rec->valid ? rec->value : 0.0);
        return false;
    case gui::TTN_GETDISPINFO:
    case gui::TTN_SHOW:
    case gui::TTN_POP:
        return true;  // the balloon popup is the grid's own
    default:
        return false;
    }
}

// --------------------------------------------------------------- balloons

gui::TBalloonTip* TExStringGrid::BalloonTip()
{
    if (!FBalloonTip) {
        FBalloonTip = new gui::TBalloonTip(this);
        FBalloonTip->SetAlphaBlendValue(255 - FBalloon->Transparency());
    }
    FBalloonTip->SetInitialDelay(FBalloon->InitialDelay());
    FBalloonTip->SetReshowDelay(FBalloon->ReshowDelay());
    FBalloonTip->SetAutoHideDelay(FBalloon->AutoHideDelay());
    return FBalloonTip;
}

bool TExStringGrid::GetBalloonInfo(gui::TPoint clientPos, std::string& title, std::string& text, int& icon)
{
    if (!FBalloon->Enable()) return false;
    int aCol = -1, aRow = -1;
    MouseToCell(clientPos.X, clientPos.Y, aCol, aRow);
    text.clear();
    if (aCol != -1 && aRow != -1) {
        const int rc = RealColIndex(aCol);
        const std::string s = gridbase::TBaseGrid::GetCellText(rc, aRow);
        switch (gridbase::ClassifyCellText(s, EnableHTML())) {
        case gridbase::ctHtmlText: text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, s); break;
        case gridbase::ctRtfText: {
            TExRichEdit* re = RichEdit();
            CellToRich(rc, aRow, re);
            text = re->PlainText();
            break;
        }
        case gridbase::ctWideText: text = gridbase::DecodePrefixedWideText(s); break;
        default: text = s;
        }
    }
    text = PrepareBalloonText(text);
    icon = 1;
    if (title.empty()) title = " ";
    if (aCol >= 0 && aRow >= 0) {
        std::string t, x;
        TBalloonIcon bi = TBalloonIcon::biInfo;
        if (IsBalloon(RealColIndex(aCol), aRow, t, x, bi)) {
            title = t;
            text = x;
            icon = static_cast<int>(bi);
        }
        if (OnCellBalloon) OnCellBalloon(this, aCol, aRow, title, text, icon);
    }
    FLastBalloonPos = {aCol, aRow};
    title = PrepareBalloonTitle(title);
    gui::TBalloonTip* tip = BalloonTip();
    tip->SetTextColor(FBalloon->TextColor());
    tip->SetBackColor(FBalloon->BackgroundColor());
    tip->SetIcon(icon);
    tip->SetTitle(title);
    tip->SetText(text);
    return true;
}

void TExStringGrid::BalloonMouseMove(int x, int y)
{
    if (!FBalloon->Enable()) {
        if (FBalloonTip) FBalloonTip->Pop();
        return;
    }
    int aCol = -1, aRow = -1;
    MouseToCell(x, y, aCol, aRow);
    if (gui::TPoint{aCol, aRow} == FLastBalloonPos && FBalloonTip && (FBalloonTip->Showing() || FBalloonTip->Pending()))
        return;
    if (FBalloonTip) FBalloonTip->Pop();
    std::string title, text;
    int icon = 1;
    if (!GetBalloonInfo({x, y}, title, text, icon) || text.empty()) return;
    BalloonTip()->Popup(ClientToScreen({x, y}));
}

void TExGridStructure::BalloonInit()
{
    TExStringGrid& g = Self();
    gui::TBalloonTip* tip = g.BalloonTip();
    tip->Pop();
    tip->SetTitle("ToolTipText");
    tip->SetIcon(gui::TTI_ERROR);
    tip->SetAlphaBlendValue(255 - FBalloon->Transparency());
}

void TExGridStructure::BalloonDone()
{
    TExStringGrid& g = Self();
    if (!g.FBalloonTip) return;
    g.FBalloonTip->Pop();
    delete g.FBalloonTip;
    g.FBalloonTip = nullptr;
    g.FLastBalloonPos = {-1, -1};
}

void TExGridStructure::BalloonSettingsChanged()
{
    if (Self().Loading()) return;
    if (FBalloon->Enable()) BalloonInit();
    else BalloonDone();
}

// --------------------------------------------------------------- rich cells

void TExStringGrid::RenderRichCell(int rCol, int aRow, const gui::TRect& rect, gui::TCanvas* canvas)
{
    if (Designing() || !canvas) return;
    TExRichEdit* re = RichEdit();
    CellToRich(rCol, aRow, re);
    re->SetSelection(0, 0);
    const int selRow = FMouseActions->RowSelectPersistent() ? DisplayToRealRow(aRow) : aRow;
    const int dCol = DisplColIndex(rCol);
    const gui::TGridRect sel = Selection();
    const bool disjunctRows = FMouseActions->DisjunctRowSelect();
    const bool inSel = dCol >= sel.Left && dCol <= sel.Right && aRow >= sel.Top && aRow <= sel.Bottom;
    const bool focusedCurrent = dCol == Col() && aRow == Row() &&
                                !Options().Contains(gui::TGridOption::goDrawFocusSelected);
    bool selected = (inSel && !focusedCurrent && !disjunctRows) || (disjunctRows && GetRowSelect(selRow)) ||
                    (FMouseActions->DisjunctColSelect() && GetColSelect(dCol));
    // Selection colours only on the screen: a printout keeps the cell's own.
    if (selected && !SelectionRTFKeep() && canvas->MapMode() == gui::MM_TEXT) {
        re->SetSelection(0, 65535);
        if (FSelectionTextColor != gui::clNone) {
            gui::TRichCharFormat f;
            f.Color = gui::ColorToRGB(FSelectionTextColor);
            re->SetSelFormat(f, {gui::TRichFormatPart::rfColor});
        }
    }
    // The rectangle in device units, the offset in logical ones.
    gui::TPoint corners[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
    canvas->LPtoDP(corners, 2);
    gui::TPoint off = FXYOffset;
    canvas->DPtoLP(&off, 1);
    const int lx = std::max(1, canvas->GetDeviceCaps(gui::LOGPIXELSX));
    const int ly = std::max(1, canvas->GetDeviceCaps(gui::LOGPIXELSY));
    const int ox = off.X * lx / 96, oy = off.Y * ly / 96;
    auto twips = [](int v, int dpi) { return static_cast<int>(static_cast<double>(v) / dpi * 1440.0 + 0.5); };
    gui::TRect tw;
    tw.Left = twips(corners[0].X + ox, lx);
    tw.Top = twips(corners[0].Y + oy, ly);
    tw.Right = tw.Left + twips(corners[1].X - corners[0].X - 2 * ox, lx);
    tw.Bottom = tw.Top + twips(corners[1].Y - corners[0].Y - 2 * oy, ly);
    const int oldMode = canvas->SetMapMode(gui::MM_TEXT);
    re->FormatRange(canvas, tw);
    canvas->SetMapMode(oldMode);
}

} // namespace grid
