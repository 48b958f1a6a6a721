// The move button and the arrow windows as the screen shows them: plain and
// markup captions, the raised frame against the flat gradient, the ellipsis
// of a long caption, the seven-point shape of each arrow, and where a click
// over them lands.
#include <gtest/gtest.h>

#include "gridbase/BaseGrid.h"
#include "gridbase/ExObj.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PopupWindows.h"
#include "TestPaths.h"

using namespace gridbase;
using namespace gui;

namespace {

TColor PixelAt(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

struct PopupFixture : testing::Test {
    TForm Form{nullptr};
    TBaseGrid* Grid;
    PopupFixture()
    {
        Form.SetBounds(100, 100, 420, 260);
        Form.SetColor(clWhite);
        Grid = new TBaseGrid(&Form);
        Grid->SetParent(&Form);
        Grid->SetBounds(0, 0, 400, 240);
        Grid->SetColCount(6);
        Grid->SetRowCount(10);
        for (int c = 0; c < 6; ++c) Grid->SetCellText(c, 0, "Col " + std::to_string(c));
        Form.Show();
        Application->ProcessMessages();
    }
    TPopupButton* Button(const std::string& caption, int w = 80, int h = 22)
    {
        auto* b = new TPopupButton(&Form);
        b->SetParent(Grid);
        b->SetCaption(caption);
        b->SetGradMirrorFrom(clNone);  // one gradient over the whole face
        const TPoint at = Grid->ClientToScreen({100, 60});
        b->SetBounds(at.X, at.Y, w, h);
        b->SetVisible(true);
        Application->ProcessMessages();
        return b;
    }
    std::unique_ptr<TBitmap> Shot(const TControl* c)
    {
        Application->ProcessMessages();
        const TPoint p = c->ClientToScreen({0, 0});
        return GrabScreen(TRect(p.X, p.Y, p.X + c->Width(), p.Y + c->Height()));
    }
    static int Count(TBitmap& b, const TRect& r, const std::function<bool(TColor)>& test)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += test(PixelAt(b, x, y));
        return n;
    }
};

bool Reddish(TColor c) { return (c & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100 && ((c >> 16) & 0xFF) < 100; }
bool Dark(TColor c) { return (c & 0xFF) < 100 && ((c >> 8) & 0xFF) < 100 && ((c >> 16) & 0xFF) < 100; }

} // namespace

TEST_F(PopupFixture, MoveButtonCaptionsPlainAndMarkup)
{
    auto* plain = Button("Name");
    plain->SetFlat(true);
    plain->SetGradFrom(0xF0F0F0);
    plain->SetGradTo(0xF0F0F0);
    auto img = Shot(plain);
    const TRect inner(2, 2, 78, 20);
    EXPECT_GT(Count(*img, inner, Dark), 10);
    // Centred: ink on both sides of the middle, none near the edges.
    EXPECT_GT(Count(*img, TRect(20, 2, 40, 20), Dark), 0);
    EXPECT_GT(Count(*img, TRect(40, 2, 60, 20), Dark), 0);
    EXPECT_EQ(Count(*img, TRect(2, 2, 15, 20), Dark), 0);
    EXPECT_EQ(Count(*img, TRect(65, 2, 78, 20), Dark), 0);
    EXPECT_EQ(Count(*img, inner, Reddish), 0);

    plain->SetCaption("<font color=\"#FF0000\">Name</font>");
    img = Shot(plain);
    EXPECT_GT(Count(*img, inner, Reddish), 10);  // the markup renderer took the colour
    EXPECT_EQ(Count(*img, inner, Dark), 0);       // no tag text drawn
}

TEST_F(PopupFixture, MoveButtonFramesAndEllipsis)
{
    auto* b = Button("x");
    b->SetGradFrom(0x00C000);
    b->SetGradTo(0x00C000);
    auto raised = Shot(b);
    EXPECT_EQ(PixelAt(*raised, 0, 0), ColorToRGB(clWindowFrame));  // the window border
    EXPECT_EQ(PixelAt(*raised, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*raised, 78, 20), 0x808080u);
    EXPECT_EQ(PixelAt(*raised, 2, 2), 0x00C000u);
    b->SetFlat(true);
    auto flat = Shot(b);
    EXPECT_EQ(PixelAt(*flat, 1, 1), 0x00C000u);
    EXPECT_EQ(PixelAt(*flat, 78, 20), 0x00C000u);

    b->SetGradFrom(0xFFFFFF);
    b->SetGradTo(0xFFFFFF);
    b->SetCaption("A caption far too long for the button that shows it");
    auto longCaption = Shot(b);
    // Cut with an ellipsis: it starts at the left edge of the face and ends
    // within it, so it is not centred and clipped on both sides.
    EXPECT_GT(Count(*longCaption, TRect(1, 1, 8, 21), Dark), 0);
    EXPECT_EQ(Count(*longCaption, TRect(1, 1, 2, 21), Dark), 0);
}

TEST_F(PopupFixture, ArrowShapesAndClicksOutsideThem)
{
    struct Case {
        TArrowDirection dir;
        TPoint inside[2], outside[2];
    };
    const Case cases[] = {
        {TArrowDirection::arrUp, {{5, 1}, {5, 7}}, {{0, 0}, {9, 8}}},
        {TArrowDirection::arrDown, {{5, 2}, {5, 6}}, {{0, 0}, {9, 1}}},
        {TArrowDirection::arrLeft, {{1, 5}, {6, 5}}, {{0, 0}, {1, 9}}},
        {TArrowDirection::arrRight, {{2, 5}, {6, 5}}, {{0, 0}, {8, 9}}},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dir));
        auto* arrow = new TArrowWindow(Grid, c.dir);
        const TPoint at = Grid->ClientToScreen({40 + 30 * i++, 120});
        arrow->SetBounds(at.X, at.Y, 11, 11);
        arrow->SetVisible(true);
        EXPECT_TRUE(IsPopupWindow(arrow));
        auto img = Shot(arrow);
        for (TPoint p : c.inside) {
            EXPECT_EQ(PixelAt(*img, p.X, p.Y), 0x00FF00u) << p.X << "," << p.Y;
            EXPECT_EQ(ControlAtScreenPoint({at.X + p.X, at.Y + p.Y}), arrow);
        }
        for (TPoint p : c.outside) {
            EXPECT_NE(PixelAt(*img, p.X, p.Y), 0x00FF00u) << p.X << "," << p.Y;
            EXPECT_EQ(ControlAtScreenPoint({at.X + p.X, at.Y + p.Y}), Grid);
        }
        // Lime covers exactly the points of the polygon.
        int lime = 0, shaped = 0;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x) {
                const bool in = WindowShapeContains(arrow, {x, y});
                shaped += in;
                lime += in == (PixelAt(*img, x, y) == 0x00FF00u);
            }
        EXPECT_EQ(lime, 121);
        EXPECT_GT(shaped, 20);
    }
}

TEST_F(PopupFixture, MoveButtonLetsTheMouseThrough)
{
    auto* b = Button("Name");
    const TPoint p = b->ClientToScreen({10, 10});
    EXPECT_EQ(ControlAtScreenPoint(p), Grid);
}

// A look at the move button and the four arrows over a grid.
TEST_F(PopupFixture, Screenshot)
{
    auto* b = Button("Col 2");
    b->SetGradFrom(0xFCEBDC);
    b->SetGradTo(0xFCDBC1);
    b->SetGradMirrorFrom(0xF8D0B0);
    b->SetGradMirrorTo(0xF0C090);
    const TArrowDirection dirs[] = {TArrowDirection::arrUp, TArrowDirection::arrDown, TArrowDirection::arrLeft,
                                    TArrowDirection::arrRight};
    const TPoint places[] = {{150, 44}, {150, 5}, {130, 20}, {170, 20}};
    for (int i = 0; i < 4; ++i) {
        auto* a = new TArrowWindow(Grid, dirs[i]);
        const TPoint at = Grid->ClientToScreen(places[i]);
        a->SetBounds(at.X, at.Y, 11, 11);
        a->SetVisible(true);
    }
    Application->ProcessMessages();
    const TPoint o = Grid->ClientToScreen({0, 0});
    auto img = GrabScreen(TRect(o.X, o.Y, o.X + 400, o.Y + 240));
    TPngImage png;
    png.Assign(img.get());
    const std::string file = (tectest::SnapshotDir() / "grid-popups.png").string();
    png.SaveToFile(file);
    RecordProperty("screenshot", file);
    SUCCEED();
}
