// The caption panel: collapse and expand with FullHeight, its painting
// probed pixel by pixel, and the mouse (buttons, anchors, moving and sizing
// through the window system's hit codes).

#include <gtest/gtest.h>

#include <set>

#include "ControlsFixture.h"
#include "controls/ExPanel.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StepPause.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Streams.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

// Animations without delay; the sleep hook counts the steps.
struct NoDelay {
    int steps = 0;
    std::function<void(int)> onStep;
    NoDelay()
    {
        SetAnimationSleepHandler([this](int) {
            ++steps;
            if (onStep) onStep(steps);
        });
    }
    ~NoDelay() { SetAnimationSleepHandler(nullptr); }
};

class CountingPanel : public TExPanel {
public:
    using TExPanel::TExPanel;
    int collapsChanged = 0;
    void CollapsChanged() override { ++collapsChanged; }
};

TExPanel* MakePanel(TForm& form, int l, int t, int w, int h)
{
    auto* p = new TExPanel(&form);
    p->SetParent(&form);
    p->SetBevelOuter(TBevelCut::bvNone);
    p->SetBevelInner(TBevelCut::bvNone);
    p->SetBounds(l, t, w, h);
    return p;
}

} // namespace

// ------------------------------------------------------------------ collapse

TEST(ExPanel, CollapsedHeightsTable)
{
    struct Case {
        int captionHeight, borderWidth;
        bool shadow, statusBar;
        int expected;
    } cases[] = {
        {19, 0, false, false, 17},
        {19, 2, true, false, 23},    // extra = BorderWidth + 4
        {19, 2, false, false, 17},   // no shadow: no extra
        {20, 0, false, true, 36},    // status bar 18 stays visible
    };
    Host h;
    NoDelay nd;
    for (const Case& c : cases) {
        auto* p = MakePanel(h.form, 0, 0, 200, 93);
        p->Caption()->SetVisible(true);
        p->Caption()->SetHeight(c.captionHeight);
        p->SetBorderWidth(c.borderWidth);
        p->SetBorderShadow(c.shadow);
        p->StatusBar()->SetVisible(c.statusBar);
        p->SetCollaps(true);
        EXPECT_EQ(p->Height(), c.expected) << c.captionHeight << " " << c.borderWidth;
        EXPECT_EQ(p->FullHeight(), 93);
        p->SetCollaps(false);
        EXPECT_EQ(p->Height(), 93);
        delete p;
    }
}

TEST(ExPanel, StepsSwapTheColourOnlyWhenAnimated)
{
    Host h;
    NoDelay nd;
    auto* p = MakePanel(h.form, 0, 0, 200, 120);
    p->SetColor(0x00FF00);
    p->SetCollaps(true);
    EXPECT_EQ(p->Color(), 0x00FF00u);   // CollapsSteps 0: no swap, no steps
    EXPECT_EQ(nd.steps, 0);
    p->SetCollaps(false);
    EXPECT_EQ(p->Color(), 0x00FF00u);

    p->SetCollapsSteps(4);
    p->SetCollapsColor(0x0000FF);
    std::vector<int> heights;
    nd.onStep = [&](int) { heights.push_back(p->Height()); };
    p->SetCollaps(true);
    EXPECT_EQ(p->Color(), 0x0000FFu);
    // step = (120 - 20 - 0) div 4 = 25, then the final height 18.
    EXPECT_EQ(heights, (std::vector<int>{95, 70, 45, 20}));
    EXPECT_EQ(p->Height(), 18);
    heights.clear();
    p->SetCollaps(false);
    EXPECT_EQ(p->Color(), 0x00FF00u);
    // step = (FullHeight 120 - 20) div 4 = 25 from 18.
    EXPECT_EQ(heights, (std::vector<int>{43, 68, 93, 118}));
    EXPECT_EQ(p->Height(), 120);
}

TEST(ExPanel, HeightWhileCollapsedKeepsFullHeight)
{
    Host h;
    NoDelay nd;
    auto* p = MakePanel(h.form, 0, 0, 200, 93);
    p->SetHeight(150);
    EXPECT_EQ(p->FullHeight(), 150);
    p->SetCollaps(true);
    p->SetHeight(40);
    EXPECT_EQ(p->Height(), 40);
    EXPECT_EQ(p->FullHeight(), 150);
    p->SetCollaps(false);
    EXPECT_EQ(p->Height(), 150);
    // Caption on the left: Width is the full extent instead.
    p->Caption()->SetPosition(TCaptionPosition::cpLeft);
    p->SetWidth(180);
    EXPECT_EQ(p->FullHeight(), 180);
    p->SetHeight(90);
    EXPECT_EQ(p->FullHeight(), 180);
}

TEST(ExPanel, SameStateFiresEndButNotMinimizeOrMaximize)
{
    Host h;
    NoDelay nd;
    auto* p = new CountingPanel(&h.form);
    p->SetParent(&h.form);
    p->SetBounds(0, 0, 100, 80);
    int mins = 0, maxs = 0, ends = 0;
    p->OnMinimize = [&](rtl::TObject*) { ++mins; };
    p->OnMaximize = [&](rtl::TObject*) { ++maxs; };
    p->OnEndCollapsExpand = [&](rtl::TObject*) { ++ends; };
    p->SetCollaps(false);
    EXPECT_EQ(p->collapsChanged, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(mins + maxs, 0);
    p->SetCollaps(true);
    EXPECT_EQ(mins, 1);
    p->SetCollaps(true);
    EXPECT_EQ(mins, 1);
    EXPECT_EQ(ends, 3);
    p->SetCollaps(false);
    EXPECT_EQ(maxs, 1);
}

TEST(ExPanel, NestedCollapseDuringTheAnimationIsRefused)
{
    Host h;
    NoDelay nd;
    auto* p = MakePanel(h.form, 0, 0, 200, 120);
    p->SetCollapsSteps(3);
    int mins = 0, maxs = 0;
    p->OnMinimize = [&](rtl::TObject*) { ++mins; };
    p->OnMaximize = [&](rtl::TObject*) { ++maxs; };
    nd.onStep = [&](int step) {
        if (step == 1) p->SetCollaps(false);   // input pumped during the animation
    };
    p->SetCollaps(true);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(maxs, 1);   // the event still fires, the expand does not run
    EXPECT_EQ(p->Height(), 18);
}

TEST(ExPanel, FormFreedDuringTheAnimationEndsItCleanly)
{
    NoDelay nd;
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* p = MakePanel(*form, 0, 0, 200, 150);
    p->SetCollapsSteps(10);
    int ends = 0;
    p->OnEndCollapsExpand = [&](rtl::TObject*) { ++ends; };
    form->Show();
    nd.onStep = [&](int step) {
        if (step == 2) delete form;
    };
    p->SetCollaps(true);
    EXPECT_EQ(nd.steps, 2);
    EXPECT_EQ(ends, 0);
}

TEST(ExPanel, FullHeightGoesThroughTheComponentStream)
{
    Host h;
    NoDelay nd;
    auto* p = MakePanel(h.form, 0, 0, 200, 93);
    p->SetCollaps(true);
    rtl::TMemoryStream s;
    {
        rtl::TWriter w(s);
        w.WriteDefinedProperties(p);
    }
    auto* q = MakePanel(h.form, 0, 0, 50, 50);
    s.SetPosition(0);
    rtl::TReader r(s);
    r.ReadProperty(q);
    EXPECT_EQ(q->FullHeight(), 93);
}

TEST(ExPanel, DefaultsAndCopies)
{
    Host h;
    auto* p = MakePanel(h.form, 0, 0, 100, 100);
    EXPECT_EQ(p->Version(), "1.9.0.0");
    EXPECT_EQ(p->Caption()->Height(), 20);
    EXPECT_EQ(p->Caption()->Color(), clHighlight);
    EXPECT_EQ(p->StatusBar()->Height(), 18);
    EXPECT_EQ(p->CollapsColor(), 0x808080u);
    EXPECT_EQ(p->URLColor(), 0xFF0000u);
    EXPECT_TRUE(p->AutoHideChildren());
    p->Caption()->SetShadeLight(100);
    EXPECT_EQ(p->Caption()->ShadeLight(), 200);

    auto* q = MakePanel(h.form, 0, 0, 60, 60);
    p->Caption()->SetText("not copied");
    p->Caption()->SetCloseButton(true);
    p->SetText("<b>body</b>");
    p->SetCanMove(true);
    p->SetHeight(77);
    q->Assign(p);
    EXPECT_TRUE(q->Caption()->CloseButton());
    EXPECT_EQ(q->Caption()->Text(), "");
    EXPECT_TRUE(q->CanMove());
    EXPECT_EQ(q->Height(), 77);
    EXPECT_EQ(q->Width(), 60);
    EXPECT_EQ(q->PlainText(), "body");
    rtl::TComponent other(nullptr);
    EXPECT_THROW(q->Assign(&other), rtl::EConvertError);
}

TEST(ExPanel, ChildrenHiddenWhileCollapsedKeepTheirOwnState)
{
    Host h;
    NoDelay nd;
    auto* p = MakePanel(h.form, 0, 0, 200, 120);
    auto* a = new TPanel(&h.form);
    a->SetParent(p);
    auto* b = new TPanel(&h.form);
    b->SetParent(p);
    b->SetVisible(false);
    p->SetCollaps(true);
    EXPECT_FALSE(a->Visible());
    p->SetCollaps(false);
    EXPECT_TRUE(a->Visible());
    EXPECT_FALSE(b->Visible());
}

// ------------------------------------------------------------------- painting

TEST(ExPanel, GradientBandsAndRounding)
{
    TBitmap b;
    b.SetSize(320, 10);
    TCustomExPanel::DrawPanelGradient(*b.Canvas(), 0x000000, 0xFFFFFF, 64, {0, 0, 320, 10}, true);
    std::set<TColor> colours;
    for (int x = 0; x < 320; ++x) colours.insert(b.Canvas()->Pixels(x, 5));
    EXPECT_EQ(colours.size(), 32u);
    EXPECT_EQ(b.Canvas()->Pixels(16 * 10 + 5, 5) & 0xFF, 128u);
    EXPECT_EQ(b.Canvas()->Pixels(31 * 10 + 5, 5) & 0xFF, 247u);
    EXPECT_EQ(b.Canvas()->Pixels(0, 5), 0x000000u);
    // Zero steps: one band.
    TCustomExPanel::DrawPanelGradient(*b.Canvas(), 0x0000FF, 0x00FF00, 0, {0, 0, 320, 10}, true);
    EXPECT_EQ(b.Canvas()->Pixels(319, 5), 0x0000FFu);
    EXPECT_EQ(TCustomExPanel::BlendColor(0xFF0000, 0x0000FF, 100), 0xFF0000u);
    EXPECT_EQ(TCustomExPanel::BlendColor(0xC80000, 0x000000, 50), 0x640000u);
}

TEST(ExPanel, BodyGradientBorderAndFrame)
{
    Host h(400, 200);
    auto* p = MakePanel(h.form, 0, 0, 320, 100);
    p->SetColor(0x000000);
    p->SetColorTo(0xFFFFFF);
    p->SetGradientDirection(TGradientDirection::gdHorizontal);
    p->SetBorderColor(clNone);
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 165, 50) & 0xFF, 128u);
    EXPECT_EQ(PixelAt(*img, 315, 50) & 0xFF, 247u);
    // No border colour: a one-pixel frame in the panel colour.
    EXPECT_EQ(PixelAt(*img, 319, 50), 0x000000u);
    EXPECT_EQ(PixelAt(*img, 165, 0), 0x000000u);

    p->SetBorderWidth(1);
    p->SetBorderColor(0x0000FF);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 0, 50), 0x0000FFu);
    EXPECT_EQ(PixelAt(*img, 319, 50), 0x0000FFu);
    p->SetBorderShadow(true);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 317, 50), 0x0000FFu);
    // The inner shadow line mixes the border colour half with clBtnFace.
    EXPECT_EQ(PixelAt(*img, 318, 50), TCustomExPanel::BlendColor(0x0000FF, clBtnFace, 50));
}

TEST(ExPanel, HorizontalShadeRunsBetweenItsEndColours)
{
    Host h(400, 200);
    auto* p = MakePanel(h.form, 0, 0, 300, 100);
    p->Caption()->SetVisible(true);
    p->Caption()->SetColor(0xFFFFFF);
    p->Caption()->SetShadeLight(255);
    p->Caption()->SetShadeType(TShadeType::stHShade);
    TBitmap* shade = p->CaptionShade();
    ASSERT_EQ(shade->Width(), 300);
    EXPECT_EQ(shade->Canvas()->Pixels(0, 5), 0x848484u);     // 255 - 123 = 132
    EXPECT_EQ(shade->Canvas()->Pixels(299, 5), 0xFBFBFBu);   // 255 - 4 = 251
    p->Caption()->SetShadeType(TShadeType::stHShadeInv);
    EXPECT_EQ(shade->Canvas()->Pixels(0, 5), 0xFBFBFBu);
    // The shade shows in the caption of a flat rectangle.
    p->Caption()->SetFlat(true);
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 2, 10), 0xFBFBFBu);
}

TEST(ExPanel, EveryShadeOfASquareCaptionPaints)
{
    Host h(200, 200);
    auto* p = MakePanel(h.form, 0, 0, 40, 80);
    p->Caption()->SetVisible(true);
    p->Caption()->SetHeight(40);
    p->Caption()->SetColor(0x0080FF);
    h.Show();
    for (int t = 0; t <= static_cast<int>(TShadeType::stBitmapLStretch); ++t) {
        p->Caption()->SetShadeType(static_cast<TShadeType>(t));
        for (auto shape : {TCaptionShape::csRectangle, TCaptionShape::csRounded, TCaptionShape::csSemiRounded}) {
            p->Caption()->SetShape(shape);
            h.Image();
        }
    }
    p->Caption()->SetShadeType(TShadeType::stIRadial);
    p->Caption()->SetShadeLight(255);
    // Inner radial: full light in the middle, dark in the corners.
    EXPECT_EQ(p->CaptionShade()->Canvas()->Pixels(20, 20), 0x0080FFu);
    EXPECT_LT(p->CaptionShade()->Canvas()->Pixels(0, 0) & 0xFF00, 0x1000u);
}

TEST(ExPanel, CaptionButtonsInFourLayouts)
{
    struct Case {
        TCaptionButtonPosition bp;
        TCaptionPosition cp;
        int crossX, crossY;   // the crossing of the close button's lines
    } cases[] = {
        {TCaptionButtonPosition::cbpRight, TCaptionPosition::cpTop, 200 - 7, 7},
        {TCaptionButtonPosition::cbpRight, TCaptionPosition::cpLeft, 7, 7},
        {TCaptionButtonPosition::cbpLeft, TCaptionPosition::cpTop, 7, 7},
        {TCaptionButtonPosition::cbpLeft, TCaptionPosition::cpLeft, 7, 120 - 7},
    };
    for (const Case& c : cases) {
        Host h(300, 200);
        auto* p = MakePanel(h.form, 0, 0, 200, 120);
        p->Caption()->SetVisible(true);
        p->Caption()->SetColor(0x800000);
        p->Caption()->SetFlat(true);
        p->Caption()->SetCloseButton(true);
        p->Caption()->SetMinMaxButton(true);
        p->Caption()->SetMinMaxButtonColor(0x00FF00);
        p->Caption()->SetButtonPosition(c.bp);
        p->Caption()->SetPosition(c.cp);
        h.Show();
        auto img = h.Image();
        EXPECT_EQ(PixelAt(*img, c.crossX, c.crossY), 0xFFFFFFu) << int(c.bp) << int(c.cp);
        // The min/max triangle lies 12 pixels further along the caption.
        int gx = 0, gy = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x)
                if (PixelAt(*img, x, y) == 0x00FF00u) { gx = x; gy = y; }
        EXPECT_NE(gx + gy, 0) << "no triangle " << int(c.bp) << int(c.cp);
        if (c.cp == TCaptionPosition::cpTop) { EXPECT_NEAR(std::abs(gx - c.crossX), 12, 4); }
        else EXPECT_NEAR(std::abs(gy - c.crossY), 12, 4);
    }
}

TEST(ExPanel, RotatedCaptionOnTheLeft)
{
    Host h(300, 300);
    auto* p = MakePanel(h.form, 0, 0, 150, 200);
    p->Caption()->SetVisible(true);
    p->Caption()->SetColor(0xFFFFFF);
    p->Caption()->SetFlat(true);
    p->Caption()->Font()->SetColor(0x000000);
    p->Caption()->SetPosition(TCaptionPosition::cpLeft);
    p->Caption()->SetText("<b>Locations</b>");
    h.Show();
    auto img = h.Image();
    int minX = 999, maxX = -1, minY = 999, maxY = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 150; ++x)
            if (PixelAt(*img, x, y) == 0x000000u) {
                minX = std::min(minX, x); maxX = std::max(maxX, x);
                minY = std::min(minY, y); maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_LT(maxX, 20);                       // inside the caption band
    EXPECT_GT(maxY - minY, 2 * (maxX - minX)); // running up the band
}

// ---------------------------------------------------------------------- mouse

TEST(ExPanel, HitCodesForCaptionAndEdges)
{
    Host h(400, 300);
    NoDelay nd;
    auto* p = MakePanel(h.form, 10, 10, 200, 100);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->SetCanMove(true);
    p->SetCanSize(true);
    h.Show();
    auto hit = [&](int x, int y) {
        const TPoint s = p->ClientToScreen({x, y});
        return static_cast<int>(p->Perform(WM_NCHITTEST, 0, MAKELPARAM(s.X, s.Y)));
    };
    EXPECT_EQ(hit(50, 10), HTCAPTION);
    EXPECT_EQ(hit(195, 10), HTCLIENT);   // on the close button
    EXPECT_EQ(hit(197, 50), HTRIGHT);
    EXPECT_EQ(hit(50, 97), HTBOTTOM);
    EXPECT_EQ(hit(196, 96), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(50, 50), HTCLIENT);
    p->SetCollaps(true);
    EXPECT_EQ(hit(p->Width() - 1, p->Height() - 1), HTCLIENT);
    p->SetCanMove(false);
    EXPECT_EQ(hit(50, 10), HTCLIENT);
}

TEST(ExPanel, DragMovesAndSizingHonoursConstraints)
{
    Host h(500, 400);
    auto* p = MakePanel(h.form, 10, 10, 200, 100);
    p->Caption()->SetVisible(true);
    p->SetCanMove(true);
    p->SetCanSize(true);
    p->Constraints()->MinWidth = 100;
    p->Constraints()->MinHeight = 50;
    int ends = 0;
    p->OnEndMoveSize = [&](rtl::TObject*) { ++ends; };
    h.Show();
    sim::MouseDown(p, TMouseButton::mbLeft, 50, 10);
    sim::MouseMove(p, 80, 30);
    sim::MouseUp(p, TMouseButton::mbLeft, 50, 10);   // the panel moved under the mouse
    EXPECT_EQ(p->Left(), 40);
    EXPECT_EQ(p->Top(), 30);
    EXPECT_EQ(ends, 1);
    // Size at the corner, far below the minimum.
    sim::MouseDown(p, TMouseButton::mbLeft, 198, 98);
    sim::MouseMove(p, 20, 10);
    sim::MouseUp(p, TMouseButton::mbLeft, 20, 10);
    EXPECT_EQ(p->Width(), 100);
    EXPECT_EQ(p->Height(), 50);
    EXPECT_EQ(p->FullHeight(), 50);
    EXPECT_EQ(ends, 2);
    // FixedWidth keeps the width while the bottom edge is dragged.
    p->SetFixedWidth(true);
    sim::MouseDown(p, TMouseButton::mbLeft, 50, 48);
    sim::MouseMove(p, 90, 98);
    sim::MouseUp(p, TMouseButton::mbLeft, 90, 98);
    EXPECT_EQ(p->Width(), 100);
    EXPECT_EQ(p->Height(), 100);
}

TEST(ExPanel, CloseAndMinMaxButtons)
{
    Host h(400, 300);
    NoDelay nd;
    auto* p = MakePanel(h.form, 10, 10, 200, 100);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    p->Caption()->SetMinMaxCaption(true);
    int closes = 0, clicks = 0;
    p->OnClose = [&](rtl::TObject*) { ++closes; };
    p->OnCaptionClick = [&](rtl::TObject*) { ++clicks; };
    h.Show();
    // The min/max button (next to the close button) toggles once, and the
    // click counts as a caption click as well.
    sim::Click(p, 200 - 2 - 12 - 6, 8);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(clicks, 1);
    // A click elsewhere on the caption toggles through MinMaxCaption.
    sim::Click(p, 60, 8);
    EXPECT_FALSE(p->Collaps());
    // The right button acts like the left one on the close button.
    sim::Click(p, 200 - 8, 8, TMouseButton::mbRight);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(closes, 1);
}

TEST(ExPanel, FreeOnCloseFreesAfterTheHandler)
{
    Host h(400, 300);
    auto* p = MakePanel(h.form, 10, 10, 200, 100);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->SetFreeOnClose(true);
    const HWND handle = p->Handle();
    bool aliveInHandler = false;
    p->OnClose = [&](rtl::TObject* s) { aliveInHandler = FindControl(handle) == s; };
    h.Show();
    sim::Click(p, 192, 8);
    EXPECT_TRUE(aliveInHandler);
    Application->ProcessMessages();
    EXPECT_EQ(FindControl(handle), nullptr);
    EXPECT_EQ(h.form.ControlCount(), 0);
}

TEST(ExPanel, AnchorsGoToTheShellOrToTheEvent)
{
    Host h(400, 300);
    std::vector<std::string> opened, clicked;
    SetShellOpenHandler([&](const std::string& t) {
        opened.push_back(t);
        return true;
    });
    auto* p = MakePanel(h.form, 0, 0, 380, 200);
    p->SetText("<a href=\"https://example.org\">web</a><br><a href=\"mailto:x@y.z\">mail</a><br>"
               "<a href=\"local\">here</a>");
    p->OnAnchorClick = [&](rtl::TObject*, const std::string& a) { clicked.push_back(a); };
    h.Show();
    // Find each anchor's line by probing down the left edge of the text.
    std::vector<int> rows;
    std::string last;
    for (int y = 0; y < 80; ++y) {
        const std::string a = p->AnchorAt(8, y);
        if (!a.empty() && a != last) rows.push_back(y);
        last = a;
    }
    ASSERT_EQ(rows.size(), 3u);
    for (int y : rows) sim::Click(p, 8, y + 2);
    SetShellOpenHandler(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org", "mailto:x@y.z"}));
    EXPECT_EQ(clicked, (std::vector<std::string>{"local"}));
}

TEST(ExPanel, AnchorHoverAndHint)
{
    Host h(400, 300);
    auto* p = MakePanel(h.form, 0, 0, 380, 200);
    p->SetCursor(crCross);
    p->SetText("<a href=\"first\">anchor</a>");
    p->SetAnchorHint(true);
    std::vector<std::string> entered, left;
    p->OnAnchorEnter = [&](rtl::TObject*, const std::string& a) { entered.push_back(a); };
    p->OnAnchorExit = [&](rtl::TObject*, const std::string& a) { left.push_back(a); };
    p->OnAnchorHint = [](rtl::TObject*, std::string& a) { a = "go to " + a; };
    h.Show();
    int y = -1;
    for (int yy = 0; yy < 40 && y < 0; ++yy)
        if (!p->AnchorAt(8, yy).empty()) y = yy;
    ASSERT_GE(y, 0);
    sim::MouseMove(p, 8, y + 1);
    EXPECT_EQ(p->Cursor(), crHandPoint);
    EXPECT_EQ(entered, std::vector<std::string>{"first"});
    THintInfo info;
    info.HintControl = p;
    info.CursorPos = {8, y + 1};
    EXPECT_EQ(p->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, "go to first");
    sim::MouseMove(p, 300, 150);
    EXPECT_EQ(p->Cursor(), crCross);
    EXPECT_EQ(left, std::vector<std::string>{"first"});
}

TEST(ExPanel, CloseDuringTheAnimationFreesThePanelAfterIt)
{
    Host h(400, 300);
    NoDelay nd;
    auto* p = MakePanel(h.form, 10, 10, 200, 150);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->SetFreeOnClose(true);
    p->SetCollapsSteps(4);
    const HWND handle = p->Handle();
    int ends = 0;
    p->OnEndCollapsExpand = [&](rtl::TObject*) { ++ends; };
    h.Show();
    nd.onStep = [&](int step) {
        if (step == 1) sim::Click(p, 192, 8);   // handled inside the animation's pump
    };
    p->SetCollaps(true);
    // The animation ran to its end on a living panel, then the panel goes.
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(nd.steps, 4);
    EXPECT_EQ(FindControl(handle), p);
    Application->ProcessMessages();
    EXPECT_EQ(FindControl(handle), nullptr);
}

TEST(ExPanel, LoadingRecordsTheStateWithoutResizing)
{
    Host h;
    auto* p = MakePanel(h.form, 0, 0, 200, 120);
    int mins = 0;
    p->OnMinimize = [&](rtl::TObject*) { ++mins; };
    p->BeginLoading();
    p->SetCollaps(true);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(p->Height(), 120);
    EXPECT_EQ(mins, 1);
    p->EndLoading();
}

TEST(ExPanel, AutoSizeFitsTheTextAndTheCaption)
{
    Host h;
    auto* p = MakePanel(h.form, 0, 0, 300, 300);
    p->SetText("A line of text<br>and a second one");
    p->AutoSize()->SetEnabled(true);
    const int w = p->Width(), hh = p->Height();
    EXPECT_GT(w, 40);
    EXPECT_LT(w, 300);
    EXPECT_GT(hh, 20);
    EXPECT_LT(hh, 100);
    p->Caption()->SetVisible(true);
    p->SetText(p->Text());   // auto-size runs again after the text is set
    EXPECT_EQ(p->Height(), hh + 20);
    EXPECT_EQ(p->Width(), w);
    p->SetIndent(5);
    p->SetText(p->Text());
    EXPECT_EQ(p->Width(), w + 5);
}

TEST(ExPanel, ThemedCaptionFollowsTheDesktopStyle)
{
    Host h(300, 200);
    auto* p = MakePanel(h.form, 0, 0, 200, 120);
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    p->Caption()->SetColor(0x0000FF);
    p->Caption()->SetShadeType(TShadeType::stXPCaption);
    h.Show();
    EXPECT_TRUE(p->IsThemed());
    EXPECT_EQ(p->ButtonSize(true), 16);
    auto themed = h.Image();
    // The themed caption is the style's, not the plain red bar.
    EXPECT_NE(PixelAt(*themed, 60, 10), 0x0000FFu);
    SetThemeActive(false);
    EXPECT_FALSE(p->IsThemed());
    EXPECT_EQ(p->ButtonSize(true), 12);
    p->Invalidate();
    auto plain = h.Image();
    EXPECT_EQ(PixelAt(*plain, 60, 10), 0x0000FFu);
}

TEST(ExPanel, PanelFreedWhileMovedLeavesNoLoopBehind)
{
    Host h(500, 400);
    auto* p = MakePanel(h.form, 10, 10, 200, 100);
    p->Caption()->SetVisible(true);
    p->SetCanMove(true);
    auto* q = MakePanel(h.form, 250, 10, 200, 100);
    q->Caption()->SetVisible(true);
    q->SetCanMove(true);
    h.Show();
    sim::MouseDown(p, TMouseButton::mbLeft, 50, 10);
    delete p;
    // Another panel moves as usual afterwards.
    sim::MouseDown(q, TMouseButton::mbLeft, 50, 10);
    sim::MouseMove(q, 60, 30);
    sim::MouseUp(q, TMouseButton::mbLeft, 60, 30);
    EXPECT_EQ(q->Left(), 260);
    EXPECT_EQ(q->Top(), 30);
}
