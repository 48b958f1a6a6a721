// The theme binding over the platform's theme service: loading rules, the
// themed test and the colour scheme.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ThemeBinding.h"

using namespace controls;
using controls_test::CleanSystem;

TEST(ThemeBinding, ThemedTestAndColourSchemeFollowTheService)
{
    struct Case {
        bool installed, active;
        const char* scheme;
        bool loaded, themed;
        int colourScheme;
    };
    const Case cases[] = {
        {false, false, "NormalColor", false, false, 0},
        {true, false, "NormalColor", true, false, 0},
        {true, true, "NormalColor", true, true, 1},
        {true, true, "HomeStead", true, true, 2},
        {true, true, "Metallic", true, true, 3},
        {true, true, "Royale", true, true, 0},
        {true, true, "normalcolor", true, true, 0},
    };
    for (const Case& c : cases) {
        CleanSystem clean;
        gui::SetThemeServiceInstalled(c.installed);
        gui::SetThemeActive(c.active);
        gui::SetThemeColorScheme(c.scheme);
        TThemeBinding b("ACXPVS");
        b.Load();
        SCOPED_TRACE(c.scheme);
        EXPECT_EQ(b.Loaded(), c.loaded);
        EXPECT_EQ(b.ThemeActive(), c.themed);
        EXPECT_EQ(CurrentXPColorScheme(), c.colourScheme);
        if (!c.loaded) {
            EXPECT_EQ(b.OpenThemeData, nullptr);
            EXPECT_EQ(b.CloseThemeData, nullptr);
            EXPECT_EQ(b.DrawThemeBackground, nullptr);
            EXPECT_EQ(b.IsThemeActive, nullptr);
        }
    }
}

TEST(ThemeBinding, BeforeXPThereIsNoColourScheme)
{
    CleanSystem clean;
    sys::SetSystemInfo({5, 0, 5, false});
    EXPECT_FALSE(IsXPOrLater());
    EXPECT_EQ(CurrentXPColorScheme(), 0);
    sys::SetSystemInfo({5, 1, 6, false});
    EXPECT_TRUE(IsXPOrLater());
    EXPECT_EQ(CurrentXPColorScheme(), 1);
}

TEST(ThemeBinding, LoadsOnceAndAsksForTheThemeAtEveryCall)
{
    CleanSystem clean;
    const int before = gui::ThemeLibraryRefCount();
    {
        TThemeBinding b("APXPVS");
        b.Load();
        auto open = b.OpenThemeData;
        b.Load();
        EXPECT_EQ(gui::ThemeLibraryRefCount(), before + 1);
        EXPECT_EQ(b.OpenThemeData, open);
        EXPECT_TRUE(b.ThemeActive());
        gui::SetThemeActive(false);
        EXPECT_FALSE(b.ThemeActive());
        gui::SetThemeActive(true);
        EXPECT_TRUE(b.ThemeActive());
        // A failed load is never retried by the service coming back.
        gui::SetThemeServiceInstalled(false);
        TThemeBinding missing("AEBXPVS");
        missing.Load();
        gui::SetThemeServiceInstalled(true);
        EXPECT_FALSE(missing.Loaded());
        EXPECT_FALSE(missing.ThemeActive());
    }
    EXPECT_EQ(gui::ThemeLibraryRefCount(), before);
    // The five families each hold their own handle.
    EXPECT_TRUE(ACXPVS().Loaded());
    EXPECT_NE(&ACXPVS(), &APXPVS());
}

TEST(ThemeService, PartsDrawDifferentlyByStateAndClass)
{
    CleanSystem clean;
    auto draw = [](const char* cls, int part, int state) {
        gui::TBitmap b(24, 20);
        gui::HTHEME t = gui::OpenThemeData(nullptr, cls);
        EXPECT_NE(t, 0u) << cls;
        EXPECT_TRUE(gui::DrawThemeBackground(t, *b.Canvas(), part, state, gui::TRect{0, 0, 24, 20}, nullptr));
        gui::CloseThemeData(t);
        std::string px;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x) px += std::to_string(b.Canvas()->Pixels(x, y)) + ",";
        return px;
    };
    EXPECT_NE(draw("combobox", 1, 1), draw("combobox", 1, 4));
    EXPECT_NE(draw("spin", 1, 1), draw("spin", 2, 1));
    EXPECT_NE(draw("button", 3, 1), draw("button", 3, 5));
    EXPECT_EQ(gui::OpenThemeData(nullptr, "tooltip"), 0u);
    gui::SetThemeActive(false);
    EXPECT_EQ(gui::OpenThemeData(nullptr, "combobox"), 0u);
}
