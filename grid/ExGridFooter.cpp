// ExGrid: the floating footer (settings, panel painting, footer
// calculation) and the search footer (settings, panel, edit box and the
// grid's search handlers).
#include <algorithm>
#include <vector>

#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace grid {

RTL_PUBLISHED(TSearchFooter) {}

using gui::TGridDrawStateItem;
using gui::TGridOption;

namespace {
// The controls of this platform have no right-to-left layout; the mirrored
// placements stay written out for when they do.
constexpr bool RightToLeft() { return false; }
} // namespace

// ================================================================ floating footer

void TFloatingFooter::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TFloatingFooter*>(source);
    if (!s) return;
    SetCalculateHiddenRows(s->CalculateHiddenRows());
    FColor = s->FColor;
    FColumn = s->FColumn;
    FCustomTemplate = s->FCustomTemplate;
    FFooterStyle = s->FFooterStyle;
    SetVisible(s->FVisible);
    SetShowHint(s->FShowHint);
}

void TFloatingFooter::SetVisible(bool v)
{
    FVisible = v;
    if (!FGrid) return;
    TFooterPanel* p = FGrid->FooterPanel();
    p->SetHeight(v ? std::max(0, FHeight - 1) : 0);
    p->SetVisible(v);
    const bool lastRow = FFooterStyle == TFooterStyle::fsFixedLastRow;
    FGrid->SetFixedFooters(v && lastRow ? 1 : 0);
    FGrid->SetHideLastRow(lastRow && v);
    FGrid->Invalidate();
}

void TFloatingFooter::SetHeight(int v)
{
    FHeight = v;
    if (FGrid && v > 0 && FVisible) FGrid->FooterPanel()->SetHeight(v - 1);
}

void TFloatingFooter::SetColor(TColor v)
{
    FColor = v;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    FFooterStyle = v;
    if (!FGrid) return;
    // FixedFooters follows on the next Visible.
    FGrid->SetHideLastRow(v == TFooterStyle::fsFixedLastRow && FVisible);
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetColumn(int v)
{
    FColumn = v;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const std::string& v)
{
    FCustomTemplate = v;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool v)
{
    FShowHint = v;
    if (FGrid) FGrid->FooterPanel()->SetShowHint(v);
}

void TFloatingFooter::Invalidate()
{
    if (FGrid) FGrid->FooterPanel()->Invalidate();
}

// ---------------------------------------------------------------- grid side

TFooterPanel* TExStringGrid::FooterPanel()
{
    if (!FFooterPanel) {
        FFooterPanel = new TFooterPanel(this);
        FFooterPanel->SetVisible(false);
        FFooterPanel->SetParent(this);
        FFooterPanel->SetAlign(gui::TAlign::alBottom);
        FFooterPanel->SetHeight(0);
        if (OnCreatedFloatingFooter) OnCreatedFloatingFooter(this);
    }
    return FFooterPanel;
}

void TExStringGrid::InvalidateFooterPanel()
{
    if (FFooterPanel) FFooterPanel->Invalidate();
}

void TExStringGrid::HiddenLastRowChanged()
{
    TBaseGrid::HiddenLastRowChanged();
    InvalidateFooterPanel();
}

void TExStringGrid::CalcFooter(int aCol) { CalcFooterColumns(aCol); }

void TExStringGrid::CalcFooterColumns(int aCol)
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff || !ff->Visible() || ff->FooterStyle() != TFooterStyle::fsFixedLastRow || !ff->EnableCalculation())
        return;
    const int c0 = aCol == -1 ? 0 : aCol;
    const int c1 = aCol == -1 ? AllColCount() - 1 : aCol;
    const int f = RowCount() - 1;
    const int h = ff->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const int last = RowCount() + h - 2;
    for (int c = c0; c <= c1; ++c) {
        TCellProperties* props = FindCellProperties(c, f);
        if (!props) continue;
        switch (props->CalcType()) {
        case gridbase::TColumnCalcType::acSUM: SetCellFloat(c, f, ColumnSum(c, FixedRows(), last)); break;
        case gridbase::TColumnCalcType::acAVG: SetCellFloat(c, f, ColumnAvg(c, FixedRows(), last)); break;
        case gridbase::TColumnCalcType::acCOUNT: SetCellInteger(c, f, RowCount() + h - FixedRows() - 1); break;
        case gridbase::TColumnCalcType::acMIN: SetCellFloat(c, f, ColumnMin(c, FixedRows(), last)); break;
        case gridbase::TColumnCalcType::acMAX: SetCellFloat(c, f, ColumnMax(c, FixedRows(), last)); break;
        case gridbase::TColumnCalcType::acCUSTOM: {
            std::string value;
            if (OnFooterCalc) OnFooterCalc(this, c, RowCount() - 1 + h, value);
            else if (ff->OnCalcFooter) ff->OnCalcFooter(this, c, RowCount() - 1 + h, value);
            SetCellText(c, f, value);
            break;
        }
        default: break;
        }
    }
}

int TExStringGrid::VisibleFixedRightCols() const
{
    if (FNumHidden == 0) return FFixedRightCols;
    int n = 0;
    const int lastReal = ColCount() + FNumHidden - 1;
    for (int i = 0; i < FFixedRightCols; ++i)
        if (!IsHiddenColumn(lastReal - i)) ++n;
    return n;
}

void TExStringGrid::DrawCellOn(gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect,
                               TGridDrawState state)
{
    FNoRTLOrientation = true;
    try {
        DrawCellText(canvas, aCol, aRow, rect, state);
    } catch (...) {
        FNoRTLOrientation = false;
        throw;
    }
    FNoRTLOrientation = false;
}

// ---------------------------------------------------------------- panel

TFooterPanel::TFooterPanel(TExStringGrid* grid) : gui::TCustomPanel(grid), FGrid(grid)
{
    SetBevelOuter(gui::TBevelCut::bvNone);
    SetShowCaption(false);
}

std::string TFooterPanel::ExpandTemplate(const std::string& templ)
{
    std::string s = templ, result;
    for (;;) {
        const std::size_t open = s.find("<#");
        if (open == std::string::npos) break;
        const std::size_t close = s.find('>', open);
        if (close == std::string::npos) break;  // unterminated: the rest stays as text
        result += s.substr(0, open);
        const std::string n = s.substr(open + 2, close - open - 2);
        s.erase(0, close + 1);
        int col = 0;
        if (rtl::TryStrToInt(n, col) && col >= 0 && col < FGrid->AllColCount())
            result += FGrid->GetCellText(col, FGrid->Row());
    }
    return result + s;
}

int TFooterPanel::FooterWidth() const
{
    int w = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) w += FGrid->ColWidths(c);
    for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
    return w;
}

gui::TRect TFooterPanel::MirrorRect(const gui::TRect& r) const
{
    if (!RightToLeft()) return r;
    const int cw = ClientWidth();
    return {cw - r.Right, r.Top, cw - r.Left, r.Bottom};
}

int TFooterPanel::ColumnAt(int x) const
{
    int sum = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) {
        sum += FGrid->ColWidths(c);
        if (x < sum) return c;
    }
    for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) {
        sum += FGrid->ColWidths(c);
        if (x < sum) return c;
    }
    return -1;
}

void TFooterPanel::FillBack(gui::TRect& r, int w)
{
    gui::TCanvas* cv = Canvas();
    const gui::TRect client = ClientRect();
    const bool rtl = RightToLeft();
    r = client;
    if (rtl) r.Left = client.Right - w;
    else r.Right = w;
    cv->Pen()->SetColor(FGrid->FloatingFooter()->Color());
    cv->Brush()->SetColor(FGrid->FloatingFooter()->Color());
    cv->FillRect(r);
    cv->Brush()->SetColor(FGrid->Color());
    cv->Pen()->SetColor(FGrid->Color());
    if (rtl) cv->FillRect({0, client.Top, client.Right - w, client.Bottom});
    else cv->FillRect({w, client.Top, client.Right, client.Bottom});
}

void TFooterPanel::SunkenFrame(const gui::TRect& r)
{
    gui::TCanvas* cv = Canvas();
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetColor(gui::clGray);
    cv->MoveTo(r.Left, r.Bottom - 1);
    cv->LineTo(r.Right - 1, r.Bottom - 1);
    cv->LineTo(r.Right - 1, r.Top);
    cv->Pen()->SetColor(gui::clWhite);
    cv->LineTo(r.Left, r.Top);
    cv->LineTo(r.Left, r.Bottom - 1);
}

int TFooterPanel::PaintFixedLastRow()
{
    gui::TCanvas* cv = Canvas();
    TExStringGrid* g = FGrid;
    gui::TRect r;
    FillBack(r, FooterWidth());
    const gui::TRect client = ClientRect();
    const auto opts = g->Options();
    const TGridLook look = g->Look();
    const bool softLook = (look == TGridLook::glSoft || look == TGridLook::glKVR || look == TGridLook::glXP ||
                           look == TGridLook::glVista) &&
                          !g->Flat();
    std::vector<int> cols;
    for (int c = 0; c < g->FixedCols(); ++c) cols.push_back(c);
    const int firstScrolling = static_cast<int>(cols.size());
    for (int c = g->LeftCol(); c < g->ColCount(); ++c) cols.push_back(c);

    // Lines.
    int x = 0;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const int w = g->ColWidths(cols[i]);
        cv->Pen()->SetColor(gui::clWhite);
        if (opts.Contains(TGridOption::goFixedVertLine) && softLook) {
            const gui::TRect m = MirrorRect({x, 0, x + 1, client.Bottom});
            cv->MoveTo(m.Left, client.Bottom);
            cv->LineTo(m.Left, 0);
        }
        x += w;
        cv->Pen()->SetColor(g->GridLineColor());
        if (opts.Contains(TGridOption::goFixedHorzLine)) {
            const gui::TRect m = MirrorRect({x - w, 0, x - 1, 1});
            cv->MoveTo(m.Left, 0);
            cv->LineTo(m.Right, 0);
        }
        if (static_cast<int>(i) >= firstScrolling && look != TGridLook::glVista &&
            opts.Contains(TGridOption::goFixedVertLine)) {
            cv->Pen()->SetColor(gui::clGray);
            const gui::TRect m = MirrorRect({x - 1, 0, x, 1});
            cv->MoveTo(m.Left, 0);
            cv->LineTo(m.Left, client.Bottom);
        }
    }

    // Cells.
    const int footRow = g->RowCount() - 1;
    int top = client.Top + (opts.Contains(TGridOption::goFixedHorzLine) ? 1 : 0);
    int left = 0, right = -1;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const int c = cols[i];
        const int rc = g->RealColIndex(c);
        right = left + g->ColWidths(c) - 1;
        if (g->IsMergedCell(rc, footRow) && g->IsBaseCell(rc, footRow)) {
            const gui::TPoint span = g->CellSpan(rc, footRow);
            for (int k = 1; k <= span.X && c + k < g->ColCount(); ++k) right += g->ColWidths(c + k);
        }
        gui::TRect cell{left + (softLook && opts.Contains(TGridOption::goFixedHorzLine) ? 1 : 0), top, right,
                        client.Bottom};
        if (static_cast<int>(i) >= firstScrolling) {
            if (g->OnGetCellColor) {
                cv->Brush()->SetColor(gui::clNone);
                g->OnGetCellColor(g, footRow, rc, TGridDrawState{TGridDrawStateItem::gdFixed}, cv->Brush(),
                                  cv->Font());
                if (cv->Brush()->Color() != gui::clNone) cv->FillRect(MirrorRect(cell));
            }
            if (TCellProperties* p = g->FindCellProperties(rc, footRow); p && p->BrushColor() != gui::clNone) {
                cv->Brush()->SetColor(p->BrushColor());
                cv->FillRect(MirrorRect(cell));
            }
        }
        if (g->IsBaseCell(rc, footRow)) {
            if (static_cast<int>(i) >= firstScrolling && g->OnFooterPaint)
                g->OnFooterPaint(this, c, cv, MirrorRect(cell));
            else
                g->DrawCellOn(cv, c, footRow, MirrorRect(cell), TGridDrawState{TGridDrawStateItem::gdFixed});
        }
        left = right + 1;
    }
    return right;
}

int TFooterPanel::PaintColumnPreview()
{
    gui::TCanvas* cv = Canvas();
    TExStringGrid* g = FGrid;
    gui::TRect r;
    const int w = FooterWidth();
    FillBack(r, w);
    SunkenFrame(r);
    if (RightToLeft()) r = {0, r.Top, w, r.Bottom};
    const TColor saved = g->SelectionTextColor();
    g->SetSelectionTextColor(0);
    const int col = g->FloatingFooter()->Column();
    if (g->OnFooterPaint) g->OnFooterPaint(this, col, cv, MirrorRect(r));
    else if (col >= 0 && col < g->ColCount()) g->DrawCellOn(cv, col, g->Row(), MirrorRect(r), TGridDrawState{});
    g->SetSelectionTextColor(saved);
    return r.Right;
}

int TFooterPanel::PaintCustomPreview()
{
    gui::TCanvas* cv = Canvas();
    TExStringGrid* g = FGrid;
    gui::TRect r;
    FillBack(r, FooterWidth());
    SunkenFrame(r);
    const TColor saved = g->SelectionTextColor();
    g->SetSelectionTextColor(0);
    const std::string text = ExpandTemplate(g->FloatingFooter()->CustomTemplate());
    gui::TRect tr = r;
    tr.Top += 2;
    tr.Left += 2;
    cv->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    htmltext::TMarkupOptions opts;
    opts.LinkColor = g->URLColor();
    htmltext::TMarkupResult res;
    htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, *cv, text, tr, opts, res);
    cv->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    g->SetSelectionTextColor(saved);
    return r.Right;
}

void TFooterPanel::Paint()
{
    int x = ClientWidth();
    Canvas()->Font()->Assign(FGrid->FixedFont());
    switch (FGrid->FloatingFooter()->FooterStyle()) {
    case TFooterStyle::fsFixedLastRow: x = PaintFixedLastRow(); break;
    case TFooterStyle::fsColumnPreview: x = PaintColumnPreview(); break;
    case TFooterStyle::fsCustomPreview: x = PaintCustomPreview(); break;
    }
    const TColor border = FGrid->FloatingFooter()->BorderColor();
    if (border != gui::clNone) {
        Canvas()->Pen()->SetColor(border);
        Canvas()->MoveTo(0, 0);
        Canvas()->LineTo(x, 0);
    }
}

void TFooterPanel::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    gui::TCustomPanel::MouseUp(button, shift, x, y);
    if (FGrid->OnClick) FGrid->OnClick(FGrid);
    if (FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, ColumnAt(x));
}

void TFooterPanel::MouseMove(gui::TShiftState shift, int x, int y)
{
    gui::TCustomPanel::MouseMove(shift, x, y);
    const int c = ColumnAt(x);
    if (FGrid->FloatingFooter()->ShowHint() && FLastHintX >= 0 && c != FLastHintX) {
        // Another column: its own hint comes next.
        if (gui::Application) gui::Application->CancelHint();
        FLastHintX = c;
    }
}

void TFooterPanel::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_HINTSHOW) {
        // The footer cell's hint comes from the grid's OnGridHint.
        auto* info = reinterpret_cast<gui::THintInfo*>(m.LParam);
        const int c = info ? ColumnAt(info->CursorPos.X) : -1;
        if (c >= 0 && FGrid->OnGridHint) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, c, info->HintStr);
        const bool show = FGrid->FloatingFooter()->ShowHint();
        FLastHintX = show && c >= 0 ? c : -1;
        m.Result = show ? 0 : 1;
        return;
    }
    if (m.Msg == gui::CM_MOUSELEAVE) {
        gui::TCustomPanel::Dispatch(m);
        FLastHintX = -1;
        return;
    }
    gui::TCustomPanel::Dispatch(m);
}

// ================================================================ search footer

TSearchFooter::TSearchFooter() : FFont(std::make_unique<gui::TFont>()) {}
TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TSearchFooter*>(source);
    if (!s) return;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FFindNextCaption = s->FFindNextCaption;
    FFindPrevCaption = s->FFindPrevCaption;
    FHighLightCaption = s->FHighLightCaption;
    FMatchCaseCaption = s->FMatchCaseCaption;
    FHintClose = s->FHintClose;
    FHintFindNext = s->FHintFindNext;
    FHintFindPrev = s->FHintFindPrev;
    FHintHighlight = s->FHintHighlight;
    FShowClose = s->FShowClose;
    FShowFindNext = s->FShowFindNext;
    FShowFindPrev = s->FShowFindPrev;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    SearchActiveColumnOnly = s->SearchActiveColumnOnly;
    SearchMatchStart = s->SearchMatchStart;
    SearchColumn = s->SearchColumn;
    SearchDirection = s->SearchDirection;
    FVisible = s->FVisible;
    FFont->Assign(s->FFont.get());
}

void TRetEdit::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::WM_KEYDOWN && m.WParam == gui::VK_RETURN) {
        const bool ctrl = gui::GetKeyState(gui::VK_CONTROL) < 0;
        if (ctrl) {
            if (OnCtrlReturn) OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        return;
    }
    if (m.Msg == gui::WM_CHAR && (m.WParam == 10 || m.WParam == 13)) {
        char16_t key = static_cast<char16_t>(m.WParam);
        if (OnKeyPress) OnKeyPress(this, key);
        m.Result = 0;
        return;
    }
    gui::TEdit::Dispatch(m);
}

namespace {
void LoadGlyph(gui::TBitmap* bmp, const char* name)
{
    try {
        bmp->LoadFromResourceName(name);
    } catch (...) {
        // A missing picture leaves the button without a glyph.
    }
}
} // namespace

TSearchPanel::TSearchPanel(TExStringGrid* grid) : gui::TCustomPanel(grid), FGrid(grid)
{
    SetBevelOuter(gui::TBevelCut::bvNone);
    SetShowCaption(false);
    FEdit = new TRetEdit(this);
    FEdit->SetParent(this);
    FEdit->OnChange = [this](rtl::TObject*) { EditChange(); };
    FEdit->OnReturn = [this](rtl::TObject*) { ForwardClick(); };
    FEdit->OnCtrlReturn = [this](rtl::TObject*) { BackwardClick(); };
    auto button = [this](const char* glyph, const char* disabled) {
        auto* b = new gridbase::TExGridButton(this);
        b->SetParent(this);
        b->SetParentFont(true);
        gui::TBitmap bmp;
        LoadGlyph(&bmp, glyph);
        b->SetGlyph(&bmp);
        if (disabled) {
            gui::TBitmap d;
            LoadGlyph(&d, disabled);
            b->SetGlyphDisabled(&d);
        }
        return b;
    };
    FForwardButton = button("GRDARDOWN", "GRDARDOWND");
    FForwardButton->OnClick = [this](rtl::TObject*) { ForwardClick(); };
    FForwardButton->SetEnabled(false);
    FBackwardButton = button("GRDARUP", "GRDARUPD");
    FBackwardButton->OnClick = [this](rtl::TObject*) { BackwardClick(); };
    FBackwardButton->SetEnabled(false);
    FExitButton = button("GRDCLOSE", nullptr);
    {
        gui::TBitmap hot, down;
        LoadGlyph(&hot, "GRDCLOSEH");
        LoadGlyph(&down, "GRDCLOSED");
        FExitButton->SetGlyphHot(&hot);
        FExitButton->SetGlyphDown(&down);
    }
    FExitButton->OnClick = [this](rtl::TObject*) { ExitClick(); };
    FHiliteButton = button("GRDHI", "GRDHID");
    FHiliteButton->SetStyle(gridbase::TExGridButtonStyle::tasCheck);
    FHiliteButton->SetAllowAllUp(true);
    FHiliteButton->SetGroupIndex(1);
    FHiliteButton->OnClick = [this](rtl::TObject*) { HighlightClick(); };
    FHiliteButton->SetEnabled(false);
    FMatchCase = new gui::TCheckBox(this);
    FMatchCase->SetParent(this);
    // The controls follow the panel's width: the row and the check box fit
    // in it, and right-to-left placing counts from it.
    OnResize = [this](rtl::TObject*) { Layout(); };
    Layout();
}

namespace {

// The width of a caption in a font, as a button or check box draws it (an
// '&' marks the accelerator and takes no room).
int CaptionWidth(const gui::TFont* font, const std::string& caption)
{
    if (caption.empty()) return 0;
    gui::TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->SetFont(font);
    gui::TRect r{0, 0, 0, 0};
    bmp.Canvas()->DrawText(caption, r, gui::DT_CALCRECT | gui::DT_SINGLELINE);
    return r.Width();
}

// A button's width: at least 90, or its frame, glyph, spacing and caption
// with a few pixels of room on either side.
int ButtonWidth(gridbase::TExGridButton* b)
{
    const int glyph = b->Glyph()->Empty() ? 0 : b->Glyph()->Width();
    const int text = CaptionWidth(b->Font(), b->Caption());
    const int spacing = glyph > 0 && text > 0 ? std::max(0, b->Spacing()) : 0;
    return std::max(90, 2 * 2 + 2 * 4 + glyph + spacing + text);
}

// The widest a captioned button may be so that the buttons of a row, 5
// pixels apart, and the check box after them fit in room: the widest
// captions give up their room first, none below 90.  No limit while the
// panel has no width yet.
int ButtonWidthLimit(const std::vector<int>& widths, int boxWidth, int room)
{
    int limit = widths.empty() ? 90 : *std::max_element(widths.begin(), widths.end());
    if (room <= 0) return limit;
    auto need = [&](int cap) {
        int n = boxWidth;
        for (int w : widths) n += std::min(w, cap) + 5;
        return n;
    };
    while (limit > 90 && need(limit) > room) --limit;
    return limit;
}

} // namespace

void TSearchPanel::Layout()
{
    const bool rtl = RightToLeft();
    auto place = [&](gui::TControl* c, int left, int top, int width, int height) {
        c->SetBounds(rtl ? Width() - width - left : left, top, width, height);
    };
    place(FEdit, 25, 6, 110, FEdit->Height() > 0 ? FEdit->Height() : 21);
    place(FExitButton, 5, 7, 14, 14);
    // The captioned buttons in a row 5 pixels apart, each as wide as its
    // caption needs; a hidden button keeps its place.  The check box takes
    // the highlight button's place when that is hidden; its box and the gap
    // before the caption take about 20 pixels.
    constexpr int rowLeft = 140, rightMargin = 5, boxOnly = 20;
    const bool hilite = FHiliteButton->Visible();
    std::vector<int> widths{ButtonWidth(FForwardButton), ButtonWidth(FBackwardButton)};
    if (hilite) widths.push_back(ButtonWidth(FHiliteButton));
    const int boxWidth = std::max(100, 24 + CaptionWidth(FMatchCase->Font(), FMatchCase->Caption()));
    const int room = Width() > 0 ? Width() - rightMargin - rowLeft : 0;
    const int limit = ButtonWidthLimit(widths, boxWidth, room);
    int left = rowLeft;
    for (gridbase::TExGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) {
        const int w = std::min(ButtonWidth(b), limit);
        // A shortened button shows its glyph and the start of its caption.
        b->SetMargin(w < ButtonWidth(b) ? 4 : -1);
        place(b, left, 5, w, b->Visible() ? 23 : 0);
        if (b != FHiliteButton || hilite) left += w + 5;
    }
    // A panel too narrow for the whole caption shortens it; the box stays.
    const int fits = Width() > 0 ? std::max(boxOnly, Width() - rightMargin - left) : boxWidth;
    place(FMatchCase, left, 8, std::min(boxWidth, fits), FMatchCase->Visible() ? 17 : 0);
}

void TSearchPanel::SetColorTo(gui::TColor v)
{
    FColorTo = v;
    Invalidate();
}

void TSearchPanel::ForwardClick()
{
    if (OnForwardClick) OnForwardClick(this);
}
void TSearchPanel::BackwardClick()
{
    if (OnBackwardClick) OnBackwardClick(this);
}
void TSearchPanel::ExitClick()
{
    if (OnExitClick) OnExitClick(this);
}
void TSearchPanel::HighlightClick()
{
    if (OnHighLightClick) OnHighLightClick(this);
}

void TSearchPanel::EditChange()
{
    const bool any = !FEdit->Text().empty();
    FForwardButton->SetEnabled(any);
    FBackwardButton->SetEnabled(any);
    FHiliteButton->SetEnabled(any);
    if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::Paint()
{
    gui::TCanvas* cv = Canvas();
    const gui::TRect r = ClientRect();
    cv->Brush()->SetColor(Color());
    cv->Pen()->SetColor(Color());
    if (FColorTo == gui::clNone) cv->FillRect(r);
    else gridbase::DrawGradient(cv, Color(), FColorTo, 32, r, false);
    cv->Pen()->SetColor(FGrid->GridLineColor());
    cv->MoveTo(0, 0);
    cv->LineTo(Width(), 0);
}

// ---------------------------------------------------------------- grid side

std::unique_ptr<TSearchFooter> TExStringGrid::MakeSearchFooter()
{
    auto f = std::make_unique<TSearchFooter>();
    f->OnChange = [this](rtl::TObject*) { UpdateSearchPanel(); };
    return f;
}

TSearchPanel* TExStringGrid::SearchPanel()
{
    if (!FSearchPanel) {
        FSearchPanel = new TSearchPanel(this);
        FSearchPanel->SetVisible(false);
        FSearchPanel->SetParent(this);
        FSearchPanel->SetAlign(gui::TAlign::alBottom);
        FSearchPanel->SetHeight(0);
        FSearchPanel->OnEditChange = [this](rtl::TObject*) { SearchEditChange(); };
        FSearchPanel->OnForwardClick = [this](rtl::TObject*) { SearchFindNext(); };
        FSearchPanel->OnBackwardClick = [this](rtl::TObject*) { SearchFindPrevious(); };
        FSearchPanel->OnExitClick = [this](rtl::TObject*) { SearchFooterClose(); };
        FSearchPanel->OnHighLightClick = [this](rtl::TObject*) { SearchFooterHighlight(); };
        if (OnCreatedSearchFooter) OnCreatedSearchFooter(this);
        UpdateSearchPanel();
    }
    return FSearchPanel;
}

bool TExStringGrid::SearchFooterShown() const { return FSearchPanel && FSearchFooter->Visible(); }

void TExStringGrid::UpdateSearchPanel()
{
    TSearchPanel* p = SearchPanel();
    TSearchFooter* f = FSearchFooter.get();
    if (p->HiliteButton()->Down() && p->Visible() && !f->Visible()) UnHilightInGrid(false);
    p->SetColor(f->Color());
    p->SetColorTo(f->ColorTo());
    p->FFindNextCaption = f->FindNextCaption();
    p->FFindPrevCaption = f->FindPrevCaption();
    p->FMatchCaseCaption = f->MatchCaseCaption();
    p->FHighLightCaption = f->HighLightCaption();
    p->FHintFindNext = f->HintFindNext();
    p->FHintFindPrev = f->HintFindPrev();
    p->FHintClose = f->HintClose();
    p->FHintHighlight = f->HintHighlight();
    p->ForwardButton()->SetCaption(f->FindNextCaption());
    p->BackwardButton()->SetCaption(f->FindPrevCaption());
    p->HiliteButton()->SetCaption(f->HighLightCaption());
    p->MatchCase()->SetCaption(f->MatchCaseCaption());
    auto hint = [](gui::TControl* c, const std::string& h) {
        c->SetHint(h);
        c->SetShowHint(!h.empty());
    };
    hint(p->ForwardButton(), f->HintFindNext());
    hint(p->BackwardButton(), f->HintFindPrev());
    hint(p->ExitButton(), f->HintClose());
    hint(p->HiliteButton(), f->HintHighlight());
    p->Font()->Assign(f->Font());
    const TControlStyle style = FControlLook->ControlStyle();
    // Flat for the flat and themed control styles; with theme adaptation the
    // buttons follow the theme and are flat whatever the style.
    const bool flat = AutoThemeAdapt() || style == TControlStyle::csFlat || style == TControlStyle::csWinXP ||
                      style == TControlStyle::csTheme;
    for (gridbase::TExGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton(), p->ExitButton()}) {
        b->SetFlat(flat);
        b->SetAutoThemeAdapt(AutoThemeAdapt());
    }
    p->HiliteButton()->SetVisible(f->ShowHighLight());
    p->ExitButton()->SetVisible(f->ShowClose());
    p->MatchCase()->SetVisible(f->ShowMatchCase());
    p->BackwardButton()->SetVisible(f->ShowFindPrev());
    p->ForwardButton()->SetVisible(f->ShowFindNext());
    p->Layout();
    if (f->Visible() && !p->Visible()) p->SetTop(Height());  // below the floating footer
    p->SetHeight(f->Visible() ? 32 : 0);
    p->SetVisible(f->Visible());
    SetBottomReserve(f->Visible() ? 32 : 0);  // the last row scrolls clear of the bar
    p->Invalidate();
    if (f->Visible()) KeepCurrentRowAboveFooter();
}

TFindParams TExStringGrid::SearchFooterParams(bool typing)
{
    TSearchPanel* p = SearchPanel();
    TSearchFooter* f = FSearchFooter.get();
    TFindParams fp{TFindParameters::fnAutoGoto};
    if (p->HiliteButton()->Down()) fp.Include(TFindParameters::fnIgnoreHTMLTags);
    if (p->MatchCase()->Checked()) fp.Include(TFindParameters::fnMatchCase);
    if (f->SearchActiveColumnOnly) fp.Include(TFindParameters::fnFindInCurrentCol);
    if (f->SearchMatchStart) fp.Include(TFindParameters::fnMatchStart);
    if (typing) {
        if (f->SearchFixedCells) fp.Include(TFindParameters::fnIncludeFixed);
        if (f->SearchDirection == TSearchDirection::sdLeftRight) fp.Include(TFindParameters::fnDirectionLeftRight);
    }
    if (f->SearchColumn >= 0 && f->SearchColumn < ColCount()) {
        FFindCol = f->SearchColumn;
        fp.Include(TFindParameters::fnFindInPresetCol);
    }
    return fp;
}

bool TExStringGrid::SearchFooterDialogChar(char16_t ch)
{
    if (!SearchFooterShown()) return false;
    TSearchPanel* p = SearchPanel();
    auto hit = [&](gridbase::TExGridButton* b, const std::string& caption) {
        return b->Visible() && b->Enabled() && gui::IsAccel(ch, caption);
    };
    if (hit(p->ForwardButton(), FSearchFooter->FindNextCaption())) {
        SearchFindNext();
        return true;
    }
    if (hit(p->BackwardButton(), FSearchFooter->FindPrevCaption())) {
        SearchFindPrevious();
        return true;
    }
    if (hit(p->HiliteButton(), FSearchFooter->HighLightCaption())) {
        p->HiliteButton()->SetDown(!p->HiliteButton()->Down());
        SearchFooterHighlight();
        return true;
    }
    return false;
}

bool TExStringGrid::LastRowClearOfSearchFooter()
{
    if (!SearchFooterShown() || TopRow() + VisibleRowCount() < RowCount() - 1) return false;
    const gui::TRect r = CellRect(Col(), RowCount() - 1);
    return r.Bottom != 0 && r.Bottom < ClientRect().Bottom - SearchPanel()->Height() + 2;
}

void TExStringGrid::ScrollLastRowAboveSearchFooter()
{
    while (SearchFooterShown()) {
        const gui::TRect r = CellRect(Col(), RowCount() - 1);
        if (r.Bottom == 0 || r.Bottom <= ClientRect().Bottom - SearchPanel()->Height() + 2 || Row() > RowCount() - 1 ||
            TopRow() >= RowCount() - 1)
            return;
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top) return;  // the grid scrolls no further
    }
}

void TExStringGrid::KeepCellAboveSearchFooter(int aCol, int aRow)
{
    while (SearchFooterShown() && aRow <= RowCount() - 1 && TopRow() < RowCount() - 1) {
        const gui::TRect r = CellRect(aCol, aRow);
        if (r.Bottom == 0 || r.Bottom <= ClientRect().Bottom - SearchPanel()->Height() + 2) return;
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top) return;
    }
}

void TExStringGrid::KeepCurrentRowAboveFooter()
{
    if (TopRow() + VisibleRowCount() - 2 < Row() && VisibleRowCount() + FixedRows() < RowCount())
        SetTopRow(TopRow() + 2);
}

void TExStringGrid::SetSearchEditColor(TColor color)
{
    TRetEdit* e = SearchPanel()->Edit();
    if (e->Color() == color) return;
    e->SetColor(color);
    // One pixel wider and back, so that it repaints at once.
    e->SetWidth(e->Width() + 1);
    e->SetWidth(e->Width() - 1);
}

void TExStringGrid::SearchEditChange()
{
    TSearchPanel* p = SearchPanel();
    const std::string text = p->Edit()->Text();
    bool defaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch) return;
    FFindParams = SearchFooterParams(true);
    if (!text.empty()) {
        SearchCell = Find({-1, -1}, text, FFindParams);
        SearchFooterAction(text, SearchCell.X, SearchCell.Y, TSearchAction::saFindFirst);
        if (SearchCell.X == -1) {
            SetSearchEditColor(gui::clRed);
            UnHilightInGrid(false);
        } else {
            SetSearchEditColor(gui::clWindow);
            ScrollInView(SearchCell.X, SearchCell.Y);
            UnHilightInGrid(false);
            if (p->HiliteButton()->Down()) HilightInGrid(false, false, text);
        }
    } else {
        SetSearchEditColor(gui::clWindow);
        UnHilightInGrid(false);
    }
    KeepCurrentRowAboveFooter();
}

void TExStringGrid::SearchFindNext()
{
    const std::string text = SearchPanel()->Edit()->Text();
    if (!FSearchFooter->AutoSearch) {
        if (text != FSearchFooter->LastSearch) SearchCell = {-1, -1};
        FSearchFooter->LastSearch = text;
    }
    FFindParams = SearchFooterParams(false);
    SearchCell = Find(SearchCell, text, FFindParams);
    if (SearchCell.X != -1) ScrollInView(SearchCell.X, SearchCell.Y);
    KeepCurrentRowAboveFooter();
    SearchFooterAction(text, SearchCell.X, SearchCell.Y, TSearchAction::saFindNext);
    SearchPanel()->Invalidate();
}

void TExStringGrid::SearchFindPrevious()
{
    const std::string text = SearchPanel()->Edit()->Text();
    if (!FSearchFooter->AutoSearch) {
        if (text != FSearchFooter->LastSearch) SearchCell = {-1, -1};
        FSearchFooter->LastSearch = text;
    }
    FFindParams = SearchFooterParams(false);
    FFindParams.Include(TFindParameters::fnBackward);
    SearchCell = Find(SearchCell, text, FFindParams);
    KeepCurrentRowAboveFooter();
    if (SearchCell.X != -1) ScrollInView(SearchCell.X, SearchCell.Y);
    SearchFooterAction(text, SearchCell.X, SearchCell.Y, TSearchAction::saFindPrevious);
    SearchPanel()->Invalidate();
}

void TExStringGrid::SearchFooterClose()
{
    if (OnSearchFooterClose) OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TExStringGrid::SearchFooterHighlight()
{
    TSearchPanel* p = SearchPanel();
    if (p->HiliteButton()->Down()) HilightInGrid(false, false, p->Edit()->Text());
    else UnHilightInGrid(false);
}

} // namespace grid
