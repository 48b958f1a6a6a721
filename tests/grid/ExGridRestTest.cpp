// Inline button controls drawn pressed while held, anchors opened with the
// desktop's program, the combo editor's caret placed under the mouse and
// the invalid-entry balloon on a special editor, headless.
#include <gtest/gtest.h>

#include <memory>

#include "TestPaths.h"
#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/gui/BalloonTip.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"

using namespace grid;
using gui::TGridOption;

namespace {

struct RestFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    std::vector<std::string> Opened;
    RestFixture()
    {
        gui::SetMessageBeepHandler([](uint32_t) {});
        gui::SetShellOpenHandler([this](const std::string& t) {
            Opened.push_back(t);
            return true;
        });
        Form.SetBounds(60, 40, 700, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 620, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(100);
        G->SetDefaultRowHeight(30);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
        Form.Show();
        G->SetFocus();
        gui::Application->ProcessMessages();
    }
    ~RestFixture() override
    {
        gui::SetShellOpenHandler(nullptr);
        gui::SetMessageBeepHandler(nullptr);
    }
    void Press(int c, int r, int dx, int dy)
    {
        const gui::TRect cr = G->CellRect(c, r);
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, cr.Left + dx, cr.Top + dy);
    }
    void Release(int c, int r, int dx, int dy)
    {
        const gui::TRect cr = G->CellRect(c, r);
        gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, cr.Left + dx, cr.Top + dy);
    }
    void ClickAt(int c, int r, int dx, int dy)
    {
        Press(c, r, dx, dy);
        Release(c, r, dx, dy);
    }
    // Leaves the grid's picture for a person to look at.
    void Snapshot(const std::string& name)
    {
        std::unique_ptr<gui::TBitmap> shot = G->GetImage();
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((tectest::SnapshotDir() / name).string());
    }
    // The cell's pixels, row by row.
    std::vector<gui::TColor> CellPixels(int c, int r)
    {
        std::unique_ptr<gui::TBitmap> shot = G->GetImage();
        const gui::TRect cr = G->CellRect(c, r);
        std::vector<gui::TColor> px;
        for (int y = cr.Top; y < cr.Bottom; ++y)
            for (int x = cr.Left; x < cr.Right; ++x) px.push_back(shot->Canvas()->Pixels(x, y));
        return px;
    }
};

int Brightness(gui::TColor c)
{
    const gui::TColor rgb = gui::ColorToRGB(c);
    return static_cast<int>((rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF));
}

} // namespace

TEST_F(RestFixture, InlineButtonIsDrawnPressedWhileHeld)
{
    G->SetCells(1, 1, "<CONTROL TYPE=\"BUTTON\" ID=\"go\" VALUE=\"Go\" WIDTH=\"60\">");
    const std::vector<gui::TColor> up = CellPixels(1, 1);
    Press(1, 1, 20, 12);
    ASSERT_TRUE(G->CtrlDown());
    const std::vector<gui::TColor> held = CellPixels(1, 1);
    Snapshot("gridrest_button_held.png");
    Release(1, 1, 20, 12);
    const std::vector<gui::TColor> after = CellPixels(1, 1);
    EXPECT_NE(held, up);
    EXPECT_EQ(after, up);

    // Raised: light top-left edge and dark bottom-right; sunken: the reverse.
    // The button's outline is the bounding box of what differs.
    const gui::TRect cr = G->CellRect(1, 1);
    const int w = cr.Width();
    int l = w, t = 1 << 20, rgt = -1, b = -1;
    for (std::size_t i = 0; i < up.size(); ++i)
        if (up[i] != held[i]) {
            const int x = static_cast<int>(i) % w, y = static_cast<int>(i) / w;
            l = std::min(l, x), rgt = std::max(rgt, x), t = std::min(t, y), b = std::max(b, y);
        }
    ASSERT_GE(rgt, l);
    const auto at = [&](const std::vector<gui::TColor>& px, int x, int y) { return px[static_cast<std::size_t>(y * w + x)]; };
    const int mid = (t + b) / 2;
    EXPECT_GT(Brightness(at(up, l, mid)), Brightness(at(up, rgt, mid)));
    EXPECT_LT(Brightness(at(held, l, mid)), Brightness(at(held, rgt, mid)));

    // Another cell's button stays up meanwhile.
    G->SetCells(2, 1, "<CONTROL TYPE=\"BUTTON\" ID=\"go\" VALUE=\"Go\" WIDTH=\"60\">");
    const std::vector<gui::TColor> other = CellPixels(2, 1);
    Press(1, 1, 20, 12);
    EXPECT_EQ(CellPixels(2, 1), other);
    Release(1, 1, 20, 12);
}

TEST_F(RestFixture, AnchorsOpenWithTheDesktopsProgramUnlessHandled)
{
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    bool autoHandle = true;
    std::vector<std::string> clicked;
    G->OnAnchorClick = [&](rtl::TObject*, int, int, const std::string& a, bool& ah) {
        clicked.push_back(a);
        ah = autoHandle;
    };
    G->SetCells(1, 1, "<A href=\"https://example.org/x\">site</A>");
    ClickAt(1, 1, 8, 10);
    ASSERT_EQ(clicked.size(), 1u);
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Opened[0], "https://example.org/x");

    // The handler may keep it for itself.
    autoHandle = false;
    ClickAt(1, 1, 8, 10);
    EXPECT_EQ(clicked.size(), 2u);
    EXPECT_EQ(Opened.size(), 1u);
    autoHandle = true;

    // A CELL:// anchor moves to the cell instead.
    G->SetCells(1, 2, "<A href=\"CELL://R4C3\">go</A>");
    ClickAt(1, 2, 8, 10);
    EXPECT_EQ(Opened.size(), 1u);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 4);

    // A plain mail address is an anchor as a whole with URLShow only.
    G->SetCells(2, 3, "mailto:someone@example.org");
    ClickAt(2, 3, 8, 10);
    EXPECT_EQ(Opened.size(), 1u);
    G->SetURLShow(true);
    ClickAt(2, 3, 8, 10);
    ASSERT_EQ(Opened.size(), 2u);
    EXPECT_EQ(Opened[1], "mailto:someone@example.org");
    // Plain words are no anchor.
    G->SetCells(2, 4, "no link here");
    ClickAt(2, 4, 8, 10);
    EXPECT_EQ(Opened.size(), 2u);
}

TEST_F(RestFixture, ComboEditorPutsItsCaretUnderTheMouse)
{
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edComboEdit; };
    G->SetCells(2, 2, "abcdefghijkl");
    const gui::TRect cr = G->CellRect(2, 2);
    // A press on the current cell opens the combo; with caret positioning
    // its caret lies under the mouse, nothing selected.
    const auto pressAt = [&](int dx) {
        G->HideInplaceEdit();
        G->SetFocus();
        G->MoveColRow(2, 2, true, false);
        const gui::TPoint at{cr.Left + dx, cr.Top + cr.Height() / 2};
        gui::SetCursorPos(G->ClientToScreen(at));
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, at.X, at.Y);
        gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, at.X, at.Y);
        return G->EditCombo();
    };
    G->MouseActions()->SetCaretPositioning(false);
    pressAt(50);
    EXPECT_FALSE(G->LButFlg);

    G->MouseActions()->SetCaretPositioning(true);
    TGridCombo* combo = pressAt(4);
    ASSERT_TRUE(G->SpecialEditorOpen());
    EXPECT_LE(combo->SelStart(), 1);
    EXPECT_EQ(combo->SelLength(), 0);
    EXPECT_FALSE(G->LButFlg);
    combo = pressAt(50);
    ASSERT_TRUE(G->SpecialEditorOpen());
    EXPECT_GT(combo->SelStart(), 2);
    EXPECT_LT(combo->SelStart(), 12);
    EXPECT_EQ(combo->SelLength(), 0);
    G->HideInplaceEdit();
}

TEST_F(RestFixture, TextEditorPutsItsCaretUnderTheMouse)
{
    G->SetCells(2, 2, "abcdefghijkl");
    G->MouseActions()->SetCaretPositioning(true);
    G->MoveColRow(2, 2, true, false);
    const gui::TRect cr = G->CellRect(2, 2);
    const gui::TPoint at{cr.Left + 50, cr.Top + cr.Height() / 2};
    gui::SetCursorPos(G->ClientToScreen(at));
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, at.X, at.Y);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, at.X, at.Y);
    if (!G->EditorMode()) G->ShowInplaceEdit();
    gui::TInplaceEdit* ed = G->InplaceEditor();
    ASSERT_TRUE(ed && ed->Visible());
    EXPECT_GT(ed->SelStart(), 2);
    EXPECT_LT(ed->SelStart(), 12);
    EXPECT_EQ(ed->SelLength(), 0);
    EXPECT_FALSE(G->LButFlg);
    G->HideInplaceEdit();
}

TEST_F(RestFixture, RefusedValueShowsTheInvalidEntryBalloonOnTheSpecialEditor)
{
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edComboEdit; };
    G->OnCellValidate = [](rtl::TObject*, int, int, std::string& v, bool& valid) { valid = v != "bad"; };
    G->SetInvalidEntryTitle("Not allowed");
    G->SetInvalidEntryText("Pick another value");
    G->SetInvalidEntryIcon(TInvalidEntryIcon::ieError);
    G->SetCells(2, 2, "good");
    G->MoveColRow(2, 2, true, false);
    G->SetFocus();
    G->ShowInplaceEdit();
    TGridCombo* combo = G->EditCombo();
    ASSERT_TRUE(combo->Visible());
    combo->SetText("bad");
    gui::sim::KeyDown(gui::VK_RETURN, {}, combo);
    ASSERT_TRUE(G->SpecialEditorOpen());
    gui::TBalloonTip* tip = G->BalloonTip();
    ASSERT_TRUE(tip->Showing());
    EXPECT_EQ(tip->Title(), "Not allowed");
    EXPECT_EQ(tip->Text(), "Pick another value");
    EXPECT_EQ(tip->Icon(), gui::TTI_ERROR);
    // It points into the editor.
    const gui::TPoint stem = combo->ScreenToClient(tip->StemPoint());
    EXPECT_GE(stem.X, 0);
    EXPECT_LT(stem.X, combo->Width());
    EXPECT_GE(stem.Y, 0);
    EXPECT_LE(stem.Y, combo->Height());

    // No title and no text: no balloon.
    tip->Pop();
    G->SetInvalidEntryTitle("");
    G->SetInvalidEntryText("");
    gui::sim::KeyDown(gui::VK_RETURN, {}, G->EditCombo());
    EXPECT_FALSE(tip->Showing());
    G->OnCellValidate = nullptr;
    G->HideInplaceEdit();
}

// ---------------------------------------------------- cell controls by key

TEST_F(RestFixture, SpaceAndEnterOperateCellControls)
{
    struct Event {
        std::string kind;
        int col, row, value;
    };
    std::vector<Event> ev;
    G->OnCheckBoxClick = [&](rtl::TObject*, int c, int r, bool s) { ev.push_back({"check", c, r, s ? 1 : 0}); };
    G->OnRadioClick = [&](rtl::TObject*, int c, int r, int i) { ev.push_back({"radio", c, r, i}); };
    G->OnRadioButtonClick = [&](rtl::TObject*, int c, int r) { ev.push_back({"radiobutton", c, r, 0}); };
    G->OnButtonClick = [&](rtl::TObject*, int c, int r) { ev.push_back({"button", c, r, 0}); };
    G->AddCheckBox(1, 1, false, false);
    rtl::TStringList* group = G->CreateRadio(1, 2, 0, 1);
    for (const char* s : {"a", "b", "c"}) group->Add(s);
    G->AddRadioButton(1, 3, true);
    G->AddRadioButton(1, 4, false);
    G->AddButton(1, 5, 40, 20, "Go", TCellHAlign::haLeft, TCellVAlign::vaTop);
    const auto key = [&](int r, uint16_t k) {
        G->SetFocus();
        G->MoveColRow(1, r, true, false);
        ev.clear();
        gui::sim::KeyDown(k, {}, G);
        gui::sim::KeyUp(k, {}, G);
        G->HideInplaceEdit();
    };

    // Space flips the check box; Enter never does.
    key(1, gui::VK_SPACE);
    EXPECT_TRUE(G->IsChecked(1, 1));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, "check");
    EXPECT_EQ(ev[0].col, 1);
    EXPECT_EQ(ev[0].row, 1);
    EXPECT_EQ(ev[0].value, 1);
    key(1, gui::VK_RETURN);
    EXPECT_TRUE(G->IsChecked(1, 1));
    EXPECT_TRUE(ev.empty());

    // A radio group moves to its next button and wraps.
    key(2, gui::VK_SPACE);
    int idx = -1;
    G->GetRadioIdx(1, 2, idx);
    EXPECT_EQ(idx, 2);
    key(2, gui::VK_SPACE);
    G->GetRadioIdx(1, 2, idx);
    EXPECT_EQ(idx, 0);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, "radio");
    EXPECT_EQ(ev[0].value, 0);

    // A radio button switches on and the others of its column off.
    key(4, gui::VK_SPACE);
    EXPECT_TRUE(G->IsRadioButtonChecked(1, 4));
    EXPECT_FALSE(G->IsRadioButtonChecked(1, 3));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].kind, "radiobutton");

    // Enter and Space both click a button.
    for (uint16_t k : {gui::VK_RETURN, gui::VK_SPACE}) {
        key(5, k);
        ASSERT_EQ(ev.size(), 1u) << k;
        EXPECT_EQ(ev[0].kind, "button");
        EXPECT_EQ(ev[0].row, 5);
    }

    // Without editing nothing is operated, unless CheckAlwaysActive says so
    // for the check box (or the editability hook grants it per cell).
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    key(1, gui::VK_SPACE);
    EXPECT_TRUE(G->IsChecked(1, 1));
    key(5, gui::VK_SPACE);
    EXPECT_TRUE(ev.empty());
    G->ControlLook()->SetCheckAlwaysActive(true);
    key(1, gui::VK_SPACE);
    EXPECT_FALSE(G->IsChecked(1, 1));
    G->ControlLook()->SetCheckAlwaysActive(false);
    G->OnCanEditCell = [](rtl::TObject*, int r, int, bool& can) { can = r == 1; };
    key(1, gui::VK_SPACE);
    EXPECT_TRUE(G->IsChecked(1, 1));
}

// --------------------------------------------------------- flat scroll bars

TEST_F(RestFixture, FlatScrollBarsAreDrawnFlatInTheScrollColour)
{
    G->SetRowCount(60);
    G->SetColCount(20);
    gui::Application->ProcessMessages();
    ASSERT_TRUE(G->ScrollBarVisible(gui::SB_VERT));
    gui::TRect whole, up, down, thumb;
    G->ScrollBarRects(gui::SB_VERT, whole, up, down, thumb);
    // A track pixel between the thumb's end and the down arrow.
    const gui::TPoint trackPt{(whole.Left + whole.Right) / 2, (thumb.Bottom + down.Top) / 2};
    const gui::TPoint upEdge{up.Left, (up.Top + up.Bottom) / 2};
    ASSERT_GT(down.Top - thumb.Bottom, 4);
    const auto px = [&](gui::TPoint p) { return G->GetImage()->Canvas()->Pixels(p.X, p.Y); };
    const gui::TColor normalTrack = px(trackPt);
    const gui::TColor normalEdge = px(upEdge);

    G->SetScrollColor(0x00C0FF);
    EXPECT_EQ(px(trackPt), normalTrack);  // the colour is for flat bars only
    EXPECT_FALSE(G->IsFlat());
    for (TScrollType t : {TScrollType::ssFlat, TScrollType::ssEncarta}) {
        G->SetScrollType(t);
        EXPECT_EQ(px(trackPt), 0x00C0FFu);
        Snapshot(t == TScrollType::ssFlat ? "gridrest_flat_bars.png" : "gridrest_encarta_bars.png");
        // The arrow button has no raised edge: its corner is track.
        EXPECT_EQ(px(upEdge), 0x00C0FFu);
        EXPECT_NE(px({(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2}), 0x00C0FFu);
        // The thumb range stays the grid's own.
        G->SetTopRow(G->RowCount() - G->VisibleRowCount());
        EXPECT_EQ(G->ScrollBarPos(gui::SB_VERT), 127);
        G->SetTopRow(1);
    }
    // Without a colour the track is the button face.
    G->SetScrollColor(gui::clNone);
    EXPECT_EQ(px(trackPt), gui::ColorToRGB(gui::clBtnFace));
    G->SetScrollType(TScrollType::ssNormal);
    EXPECT_EQ(px(upEdge), normalEdge);
}

// ------------------------------------------------------------------- looks

TEST_F(RestFixture, RotatedHeaderOfTheSortedColumnShowsTheSortMark)
{
    G->SetRowHeights(0, 60);
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetRow(0);
    for (int angle : {90, 270}) {
        SCOPED_TRACE(angle);
        G->AddRotated(1, 0, static_cast<int16_t>(angle), "Ab");
        G->AddRotated(2, 0, static_cast<int16_t>(angle), "Ab");
        // Dark pixels of the mark in the 9 x 9 box around its place.
        const auto markInk = [&](int c) {
            std::unique_ptr<gui::TBitmap> shot = G->GetImage();
            const gui::TRect r = G->CellRect(c, 0);
            const int x0 = r.Right - 10, y0 = r.Top + 8;
            int n = 0;
            for (int y = y0 - 4; y <= y0 + 4; ++y)
                for (int x = x0 - 4; x <= x0 + 4; ++x)
                    if (Brightness(shot->Canvas()->Pixels(x, y)) < 200) ++n;
            return n;
        };
        G->SortSettings()->SetColumn(1);
        EXPECT_GE(markInk(1), 4);
        Snapshot("gridrest_rotated_sort_" + std::to_string(angle) + ".png");
        EXPECT_EQ(markInk(2), 0);
        // A header row other than the sort row has no mark.
        G->SortSettings()->SetRow(1);
        EXPECT_EQ(markInk(1), 0);
        G->SortSettings()->SetRow(0);
        // Nor does a grid that does not show it.
        G->SortSettings()->SetShow(false);
        EXPECT_EQ(markInk(1), 0);
        G->SortSettings()->SetShow(true);
    }
}

TEST(GridLooks, LookSetsFixedGradientHoverAndFooterColours)
{
    const TColor none = gui::clNone, face = gui::clBtnFace, faceRGB = gui::ColorToRGB(gui::clBtnFace);
    struct Case {
        TGridLook look;
        TColor fgFrom, fgTo, hoverFrom, downMirrorTo, kvrFrom, kvrTo, footer, footerTo;
    } cases[] = {
        {TGridLook::glStandard, face, none, none, none, faceRGB, none, face, face},
        {TGridLook::glClassic, face, none, none, none, faceRGB, none, face, face},
        {TGridLook::glListView, 0xFFFFFF, face, none, none, 0xFFFFFF, faceRGB, face, face},
        // The footer takes the look colours before glKVR's own "to" colour.
        {TGridLook::glXP, 0xFFFFFF, face, 0xCFD0D1, 0x627376, 0xFFFFFF, faceRGB, 0xFFFFFF, faceRGB},
        {TGridLook::glKVR, 0xFFFFFF, 0xC0C0C0, 0xCFD0D1, 0x627376, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, faceRGB},
        // The style presets end with no fixed gradient of their own.
        {TGridLook::glVista, none, none, 0xFFF7E3, 0xF5D18A, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xF4F2F1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.look));
        gui::TForm form(nullptr);
        auto* g = new TExStringGrid(&form);
        g->SetParent(&form);
        g->SetLook(TGridLook::glCustom);
        g->SetLook(c.look);
        TControlLook* cl = g->ControlLook();
        EXPECT_EQ(cl->FixedGradientFrom(), c.fgFrom);
        EXPECT_EQ(cl->FixedGradientTo(), c.fgTo);
        EXPECT_EQ(cl->FixedGradientMirrorFrom(), c.look == TGridLook::glVista ? TColor{0xFAF8F7} : none);
        EXPECT_EQ(cl->FixedGradientHoverFrom(), c.hoverFrom);
        EXPECT_EQ(cl->FixedGradientDownMirrorTo(), c.downMirrorTo);
        EXPECT_EQ(g->KVRGradientFrom(), c.kvrFrom);
        EXPECT_EQ(g->KVRGradientTo(), c.kvrTo);
        if (c.hoverFrom != none) { EXPECT_EQ(g->KVRGradientHoverFrom(), c.hoverFrom); }
        EXPECT_EQ(g->SearchFooterColor(), c.footer);
        EXPECT_EQ(g->SearchFooterColorTo(), c.footerTo);
        // glCustom afterwards keeps every colour.
        g->SetLook(TGridLook::glCustom);
        EXPECT_EQ(cl->FixedGradientFrom(), c.fgFrom);
        EXPECT_EQ(g->SearchFooterColor(), c.footer);
    }
}

TEST(GridLooks, ThemeAdaptationAtLoadAndWhenSwitchedOn)
{
    gui::TForm form(nullptr);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    // The scheme the desktop runs with: "HomeStead" (olive) where schemes
    // have names, the later desktops' scheme 4 elsewhere.
    gui::SetThemeActive(true);
    gui::SetThemeColorScheme("HomeStead");
    const int scheme = g->CurrentThemeScheme();
    ASSERT_TRUE(scheme == 2 || scheme == 4);
    const TColor from = scheme == 2 ? TColor{0xCFF0EA} : TColor{0xFFFFFF};
    const TColor to = scheme == 2 ? TColor{0x8CC0B1} : TColor{0xFFFFFF};

    // Loaded with AutoThemeAdapt: the scheme's colours, the footer along.
    g->BeginLoading();
    g->SetLook(TGridLook::glStandard);
    g->SetAutoThemeAdapt(true);
    g->SetSearchFooterColor(0x123456);
    g->SetLook(TGridLook::glCustom);
    g->EndLoading();
    EXPECT_EQ(g->KVRGradientFrom(), from);
    EXPECT_EQ(g->KVRGradientTo(), to);
    EXPECT_EQ(g->ControlLook()->FixedGradientFrom(), from);
    EXPECT_NE(g->SearchFooterColor(), 0x123456u);
    EXPECT_TRUE(g->SearchFooter()->AutoThemeAdapt);

    // Off: loading leaves the colours alone; switching it on adapts at once.
    auto* h = new TExStringGrid(&form);
    h->SetParent(&form);
    h->BeginLoading();
    h->SetLook(TGridLook::glStandard);
    h->EndLoading();
    EXPECT_EQ(h->KVRGradientFrom(), gui::ColorToRGB(gui::clBtnFace));
    EXPECT_FALSE(h->SearchFooter()->AutoThemeAdapt);
    h->SetAutoThemeAdapt(true);
    EXPECT_EQ(h->KVRGradientFrom(), from);
    EXPECT_TRUE(h->SearchFooter()->AutoThemeAdapt);
    h->SetAutoThemeAdapt(false);
    EXPECT_FALSE(h->SearchFooter()->AutoThemeAdapt);
    gui::SetThemeActive(false);
}

// ------------------------------------------------------ cell controls by click

TEST_F(RestFixture, ClicksOperateCheckBoxesRadiosAndButtons)
{
    std::vector<std::string> ev;
    G->OnCheckBoxClick = [&](rtl::TObject*, int c, int r, bool s) {
        ev.push_back("check " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
    };
    G->OnRadioClick = [&](rtl::TObject*, int, int, int i) { ev.push_back("radio " + std::to_string(i)); };
    G->OnRadioButtonClick = [&](rtl::TObject*, int, int r) { ev.push_back("radiobutton " + std::to_string(r)); };
    G->OnButtonClick = [&](rtl::TObject*, int c, int r) {
        ev.push_back("button " + std::to_string(c) + "," + std::to_string(r));
    };
    G->AddCheckBox(1, 1, false, false);
    G->AddRadioButton(2, 1, true);
    G->AddRadioButton(2, 2, false);
    G->SetRowHeights(3, 60);
    rtl::TStringList* group = G->CreateRadio(3, 3, 0, 0);
    for (const char* s : {"a", "b", "c"}) group->Add(s);
    G->AddButton(4, 4, 40, 20, "Go", TCellHAlign::haLeft, TCellVAlign::vaTop);
    gui::Application->ProcessMessages();
    G->GetImage();  // the button's place is known once painted

    // A point of the cell's check box (or radio button).
    const auto boxPoint = [&](int c, int r) {
        const gui::TRect cr = G->CellRect(c, r);
        for (int y = cr.Top; y < cr.Bottom; ++y)
            for (int x = cr.Left; x < cr.Right; ++x)
                if (G->IsInCheckBox(c, r, x, y)) return gui::TPoint{x, y};
        return gui::TPoint{-1, -1};
    };
    const auto click = [&](gui::TPoint p) {
        ev.clear();
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, p.X, p.Y);
        gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, p.X, p.Y);
    };
    const gui::TPoint box = boxPoint(1, 1);
    ASSERT_GE(box.X, 0);
    click(box);
    EXPECT_TRUE(G->IsChecked(1, 1));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0], "check 1,1 on");
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 1);
    // With precise hits a click beside the box only selects the cell.
    G->MouseActions()->SetPreciseCheckBoxCheck(true);
    const gui::TRect c11 = G->CellRect(1, 1);
    click({c11.Right - 3, c11.Bottom - 3});
    EXPECT_TRUE(G->IsChecked(1, 1));
    EXPECT_TRUE(ev.empty());
    G->MouseActions()->SetPreciseCheckBoxCheck(false);

    const gui::TPoint rb = boxPoint(2, 2);
    ASSERT_GE(rb.X, 0);
    click(rb);
    EXPECT_TRUE(G->IsRadioButtonChecked(2, 2));
    EXPECT_FALSE(G->IsRadioButtonChecked(2, 1));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0], "radiobutton 2");

    // A vertical group: the second line's button.
    const gui::TRect g33 = G->CellRect(3, 3);
    const int line = std::max(G->ControlLook()->RadioSize(), G->Canvas()->TextHeight("gh"));
    click({g33.Left + 6, g33.Top + line + line / 2});
    int idx = -1;
    G->GetRadioIdx(3, 3, idx);
    EXPECT_EQ(idx, 1);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0], "radio 1");

    // A button clicks at the release, drawn pushed meanwhile; released
    // elsewhere on the grid it still clicks, and always comes up.
    gui::TRect b;
    G->GetCellControlRect(4, 4, b);
    ASSERT_GT(b.Width(), 0);
    const gui::TPoint bp{b.Left + 5, b.Top + 5};
    ev.clear();
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, bp.X, bp.Y);
    EXPECT_EQ(G->PushedCellButton().X, 4);
    EXPECT_TRUE(ev.empty());
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, bp.X, bp.Y);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0], "button 4,4");
    EXPECT_EQ(G->PushedCellButton().X, -1);
    ev.clear();
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, bp.X, bp.Y);
    const gui::TRect other = G->CellRect(2, 4);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, other.Left + 5, other.Top + 5);
    EXPECT_EQ(ev, std::vector<std::string>{"button 4,4"});
    EXPECT_EQ(G->PushedCellButton().X, -1);

    // Without editing the check box stays as it is.
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    click(box);
    EXPECT_TRUE(G->IsChecked(1, 1));
    EXPECT_TRUE(ev.empty());
}
