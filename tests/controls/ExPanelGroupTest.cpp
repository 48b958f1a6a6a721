// The caption-panel family around the panel: the group that stacks panels,
// the settings with the styler's presets and theme following, and position
// saving to an ini file and to the registry stand-in.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ControlsFixture.h"
#include "controls/ExPanel.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StepPause.h"
#include "platform/sys/RegistryIni.h"

using namespace controls;
using namespace gui;
using controls_test::Host;

namespace {

struct NoDelay {
    NoDelay() { SetAnimationSleepHandler([](int) {}); }
    ~NoDelay() { SetAnimationSleepHandler(nullptr); }
};

TExPanelGroup* MakeGroup(TForm& form, int w, int h)
{
    auto* g = new TExPanelGroup(&form);
    g->SetParent(&form);
    g->SetBevelOuter(TBevelCut::bvNone);
    g->SetBounds(0, 0, w, h);
    return g;
}

std::vector<TCustomExPanel*> AddPanels(TExPanelGroup* g, std::initializer_list<int> heights)
{
    std::vector<TCustomExPanel*> list;
    for (int h : heights) {
        g->DefaultPanel()->SetHeight(h);
        list.push_back(g->AddPanel());
    }
    return list;
}

std::string ReadFile(const std::string& name)
{
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::string TempFile(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("tec-panels-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::filesystem::remove(path);
    return path;
}

class CountingPanel : public TExPanel {
public:
    using TExPanel::TExPanel;
    int applied = 0;
    void ApplySettings(const TExPanelSettings* s) override
    {
        ++applied;
        TExPanel::ApplySettings(s);
    }
};

} // namespace

// ---------------------------------------------------------------------- group

TEST(ExPanelGroup, OneColumnTopsAndNeededHeight)
{
    Host h(400, 500);
    auto* g = MakeGroup(h.form, 300, 400);
    auto p = AddPanels(g, {50, 60, 70});
    EXPECT_EQ(g->PanelCount(), 3);
    EXPECT_EQ(p[0]->Top(), 8);
    EXPECT_EQ(p[1]->Top(), 66);
    EXPECT_EQ(p[2]->Top(), 134);
    EXPECT_EQ(p[0]->Left(), 8);
    EXPECT_EQ(p[0]->Width(), 300 - 16);
    EXPECT_EQ(g->NeededExtent(), 212);
    EXPECT_FALSE(g->ScrollBar()->Visible());
    // A visible group caption moves the stack down by its height.
    g->Caption()->SetVisible(true);
    g->UpdateGroup();
    EXPECT_EQ(p[0]->Top(), 8 + 20);
}

TEST(ExPanelGroup, TwoColumnsStartTheNextRowBelowTheSecondPanel)
{
    Host h(400, 500);
    auto* g = MakeGroup(h.form, 300, 400);
    g->SetColumns(2);
    auto p = AddPanels(g, {50, 80, 60, 40});
    EXPECT_EQ(p[0]->Top(), 8);
    EXPECT_EQ(p[1]->Top(), 8);
    EXPECT_EQ(p[0]->Left(), 8);
    EXPECT_EQ(p[1]->Left(), (300 - 8) / 2 + 8);
    EXPECT_EQ(p[0]->Width(), (300 - 16) / 2);
    EXPECT_EQ(p[2]->Top(), 8 + 80 + 8);
    EXPECT_EQ(p[3]->Top(), 96);
    // The needed height follows the same rows: 8 + (80 + 8) + (40 + 8).
    EXPECT_EQ(g->NeededExtent(), 144);
    g->SetBounds(0, 0, 300, 140);
    EXPECT_TRUE(g->ScrollBar()->Visible());
    EXPECT_EQ(g->ScrollBar()->Max(), 144);
    g->SetColumns(0);   // ignored
    EXPECT_EQ(g->Columns(), 2);
}

TEST(ExPanelGroup, CollapsingAChildMovesTheOthersUp)
{
    Host h(400, 500);
    NoDelay nd;
    auto* g = MakeGroup(h.form, 300, 400);
    auto p = AddPanels(g, {50, 60, 70});
    p[0]->Caption()->SetVisible(true);
    p[0]->SetCollaps(true);
    EXPECT_EQ(p[0]->Height(), 18);
    EXPECT_EQ(p[1]->Top(), 8 + 18 + 8);
    EXPECT_EQ(p[2]->Top(), 8 + 18 + 8 + 60 + 8);
    p[0]->SetCollaps(false);
    EXPECT_EQ(p[2]->Top(), 134);
}

// Each step of the animation re-arranges the group before the pause, so
// the panels below follow the step while it is shown.
TEST(ExPanelGroup, CollapseStepsMoveTheOthersBeforeEachPause)
{
    Host h(400, 500);
    std::vector<int> topsAtPause;
    TExPanelGroup* g = MakeGroup(h.form, 300, 400);
    auto p = AddPanels(g, {50, 60, 70});
    SetAnimationSleepHandler([&](int) { topsAtPause.push_back(p[1]->Top()); });
    p[0]->Caption()->SetVisible(true);
    p[0]->SetCollapsSteps(4);
    const int step = (50 - p[0]->Caption()->Height() - 2 * p[0]->BorderWidth()) / 4;
    p[0]->SetCollaps(true);
    SetAnimationSleepHandler(nullptr);
    ASSERT_EQ(topsAtPause.size(), 4u);
    for (size_t i = 0; i < topsAtPause.size(); ++i)
        EXPECT_EQ(topsAtPause[i], 8 + 50 - int(i + 1) * step + 8) << "step " << i;
}

TEST(ExPanelGroup, ScrollBarWheelAndStyleSwitch)
{
    Host h(400, 300);
    auto* g = MakeGroup(h.form, 300, 150);
    auto p = AddPanels(g, {50, 60, 70});
    h.Show();
    TScrollBar* bar = g->ScrollBar();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), 212);
    EXPECT_EQ(bar->PageSize(), 150);
    EXPECT_EQ(bar->LargeChange(), 50);
    EXPECT_EQ(p[0]->Width(), 300 - 16 - 16);
    sim::Wheel(g, -WHEEL_DELTA, 100, 100);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(p[0]->Top(), 4);
    sim::Wheel(g, WHEEL_DELTA, 100, 100);
    EXPECT_EQ(p[0]->Top(), 8);

    g->SetGroupStyle(TGroupStyle::gsHorizontal);
    EXPECT_EQ(bar->Align(), TAlign::alBottom);
    EXPECT_EQ(bar->Kind(), TScrollBarKind::sbHorizontal);
    g->SetGroupStyle(TGroupStyle::gsVertical);
    EXPECT_EQ(bar->Align(), TAlign::alRight);
    EXPECT_EQ(bar->Kind(), TScrollBarKind::sbVertical);
}

TEST(ExPanelGroup, SideBySide)
{
    Host h(600, 300);
    auto* g = MakeGroup(h.form, 500, 200);
    auto p = AddPanels(g, {50, 50, 50});
    g->SetGroupStyle(TGroupStyle::gsHorizontal);
    // The panels keep the widths the column gave them: too wide together.
    EXPECT_EQ(p[1]->Left(), 8 + 484 + 8);
    EXPECT_TRUE(g->ScrollBar()->Visible());
    EXPECT_EQ(p[1]->Height(), 200 - 16 - 16);
    for (auto* q : p) q->SetWidth(100);
    g->UpdateGroup();
    EXPECT_FALSE(g->ScrollBar()->Visible());
    EXPECT_EQ(p[0]->Left(), 8);
    EXPECT_EQ(p[1]->Left(), 116);
    EXPECT_EQ(p[2]->Left(), 224);
    EXPECT_EQ(p[1]->Top(), 8);
    EXPECT_EQ(p[1]->Height(), 200 - 16);
}

TEST(ExPanelGroup, ListOperations)
{
    Host h(400, 500);
    auto* g = MakeGroup(h.form, 300, 450);
    auto p = AddPanels(g, {40, 40, 40});
    g->RemovePanel(-1);
    g->RemovePanel(3);
    EXPECT_EQ(g->PanelCount(), 3);
    g->MovePanel(0, 2);
    EXPECT_EQ(g->Panels(0)->OrderIndex(), 3);
    EXPECT_EQ(g->Panels(1)->OrderIndex(), 2);
    EXPECT_EQ(g->Panels(2)->OrderIndex(), 1);
    // Arranged by ascending index: the list's last entry (p[0]) on top.
    EXPECT_EQ(p[0]->Top(), 8);
    EXPECT_EQ(p[2]->Top(), 56);
    EXPECT_EQ(p[1]->Top(), 104);
    EXPECT_THROW(g->MovePanel(0, 7), rtl::EListError);
    TCustomExPanel* ins = g->InsertPanel(1);
    EXPECT_EQ(g->Panels(1), ins);
    EXPECT_EQ(ins->OrderIndex(), 1);
    g->RemovePanel(1);
    EXPECT_EQ(g->PanelCount(), 3);
    g->Clear();
    EXPECT_EQ(g->PanelCount(), 0);
    EXPECT_EQ(g->ControlCount(), 1);   // the scroll bar
}

TEST(ExPanelGroup, PanelFreedByItsCloseButtonLeavesTheList)
{
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 400, 400);
    auto* g = MakeGroup(*form, 300, 350);
    g->DefaultPanel()->Caption()->SetVisible(true);
    g->DefaultPanel()->Caption()->SetCloseButton(true);
    auto p = AddPanels(g, {50, 60});
    p[0]->SetFreeOnClose(true);
    // A panel of the form adopted into the list, freed by the program.
    auto* adopted = new TExPanel(form);
    adopted->SetParent(g);
    g->InitPanels();
    EXPECT_EQ(g->PanelCount(), 3);
    form->Show();
    Application->ProcessMessages();
    sim::Click(p[0], p[0]->Width() - 8, 8);
    Application->ProcessMessages();
    EXPECT_EQ(g->PanelCount(), 2);
    // The survivors closed the gap: the adopted panel (top 0) first, then p[1].
    EXPECT_EQ(adopted->Top(), 8);
    EXPECT_EQ(p[1]->Top(), 8 + adopted->Height() + 8);
    delete adopted;
    EXPECT_EQ(g->PanelCount(), 1);
    delete form;   // frees the group and its remaining panel once
}

// ------------------------------------------------------------------- styler

TEST(ExPanelStyler, PresetsAndChangeCounts)
{
    Host h;
    auto* styler = new TExPanelStyler(&h.form);
    EXPECT_EQ(styler->Style(), TExPanelStyle::psXP);
    TExPanelSettings* s = styler->Settings();
    EXPECT_EQ(s->Color(), 0xFFFFFFu);
    EXPECT_EQ(s->ColorTo(), 0xE3F0F2u);
    EXPECT_TRUE(s->BorderShadow());
    int changes = 0;
    auto forward = s->OnChange;
    s->OnChange = [&](rtl::TObject* o) {
        ++changes;
        forward(o);
    };
    styler->SetStyle(TExPanelStyle::psCustom);
    EXPECT_EQ(changes, 1);
    styler->SetStyle(TExPanelStyle::psQuor);
    EXPECT_TRUE(s->Caption()->Visible());
    EXPECT_EQ(s->Caption()->ShadeType(), TShadeType::stRMetal);
    styler->SetStyle(TExPanelStyle::psXP);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s->Caption()->ShadeType(), TShadeType::stNormal);
    EXPECT_TRUE(s->Caption()->Visible());
    EXPECT_EQ(s->Caption()->ShadeGrain(), 32);
    EXPECT_EQ(s->Caption()->ShadeLight(), 255);
    EXPECT_EQ(s->Caption()->Indent(), 2);
    styler->SetComponentStyle(TQuorStyle::tsOffice2010Blue);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(styler->Style(), TExPanelStyle::psXP);
    styler->SetComponentStyle(TQuorStyle::tsOffice2007Luna);
    EXPECT_EQ(styler->Style(), TExPanelStyle::psOffice2007Luna);
    EXPECT_EQ(s->ColorMirror(), 0xEDD8C7u);
    EXPECT_EQ(s->StatusBar()->GradientDirection(), TGradientDirection::gdVertical);
}

TEST(ExPanelStyler, PanelsFollowTheStylerOncePerUpdate)
{
    Host h;
    auto* styler = new TExPanelStyler(&h.form);
    auto* p = new CountingPanel(&h.form);
    p->SetParent(&h.form);
    p->Caption()->SetCloseButton(true);
    p->SetText("kept");
    p->SetHeight(77);
    p->SetStyler(styler);
    EXPECT_EQ(p->applied, 1);
    styler->SetStyle(TExPanelStyle::psOffice2003Blue);
    EXPECT_EQ(p->applied, 2);
    EXPECT_EQ(p->Color(), 0xFDEADAu);
    EXPECT_EQ(p->ColorTo(), 0xE4AE88u);
    EXPECT_EQ(p->Caption()->Color(), 0xD68759u);
    EXPECT_TRUE(p->Caption()->CloseButton());   // its own button stays
    EXPECT_EQ(p->Text(), "kept");
    EXPECT_EQ(p->Height(), 77);
    styler->Settings()->BeginUpdate();
    styler->Settings()->SetCanMove(true);
    styler->Settings()->SetCollapsSteps(5);
    EXPECT_EQ(p->applied, 2);
    styler->Settings()->EndUpdate();
    EXPECT_EQ(p->applied, 3);
    EXPECT_TRUE(p->CanMove());
    EXPECT_EQ(p->CollapsSteps(), 5);
    delete styler;
    EXPECT_EQ(p->Styler(), nullptr);
}

TEST(ExPanelStyler, FollowsTheDesktopStyle)
{
    Host h;
    SetThemeColorScheme("Metallic");
    auto* styler = new TExPanelStyler(&h.form);
    styler->SetAutoThemeAdapt(true);
    styler->Loaded();
    EXPECT_EQ(styler->Style(), TExPanelStyle::psOffice2003Silver);
    // A change of the desktop's scheme is noticed by the notifier window.
    SetThemeColorScheme("HomeStead");
    EXPECT_EQ(styler->Style(), TExPanelStyle::psOffice2003Olive);
    SetThemeActive(false);
    EXPECT_EQ(styler->Style(), TExPanelStyle::psXP);
    SetThemeActive(true);
    EXPECT_EQ(styler->Style(), TExPanelStyle::psOffice2003Olive);
    styler->SetAutoThemeAdapt(false);
    SetThemeColorScheme("NormalColor");
    EXPECT_EQ(styler->Style(), TExPanelStyle::psOffice2003Olive);
}

// -------------------------------------------------------------- persistence

TEST(ExPanelPosition, GoldenIniFileAndRoundTrip)
{
    Host h;
    NoDelay nd;
    const std::string file = TempFile("panel.ini");
    auto* p = new TExPanel(&h.form);
    p->SetParent(&h.form);
    p->SetBevelOuter(TBevelCut::bvNone);
    p->Caption()->SetVisible(true);
    p->Caption()->SetHeight(19);
    p->SetBounds(12, 34, 150, 93);
    p->SetCollaps(true);
    ASSERT_EQ(p->Height(), 17);
    p->Position()->SetLocation(TPanelPositionLocation::clInifile);
    p->Position()->SetKey(file);
    p->Position()->SetSection("Info");
    p->SavePosition();
    EXPECT_EQ(ReadFile(file), "[Info]\nTop=34\nLeft=12\nHeight=17\nFullHeight=93\nWidth=150\nCollaps=1\n\n");

    auto* q = new TExPanel(&h.form);
    q->SetParent(&h.form);
    q->Caption()->SetVisible(true);
    q->Caption()->SetHeight(19);
    q->SetBounds(0, 0, 60, 60);
    q->Position()->Assign(p->Position());
    q->LoadPosition();
    EXPECT_TRUE(q->Collaps());
    EXPECT_EQ(q->Height(), 17);
    EXPECT_EQ(q->FullHeight(), 93);
    EXPECT_EQ(q->Left(), 12);
    EXPECT_EQ(q->Width(), 150);
    q->SetCollaps(false);
    EXPECT_EQ(q->Height(), 93);

    // Only 1 means collapsed.
    {
        rtl::TIniFile ini(file);
        ini.WriteInteger("Info", "Collaps", 2);
    }
    auto* r = new TExPanel(&h.form);
    r->SetParent(&h.form);
    r->Position()->Assign(p->Position());
    r->LoadPosition();
    EXPECT_FALSE(r->Collaps());
}

TEST(ExPanelPosition, EmptyKeyOrSectionDoesNothing)
{
    Host h;
    const std::string file = TempFile("none.ini");
    auto* p = new TExPanel(&h.form);
    p->SetParent(&h.form);
    p->SetBounds(5, 5, 80, 80);
    p->Position()->SetLocation(TPanelPositionLocation::clInifile);
    p->Position()->SetKey(file);
    p->SavePosition();   // no section
    EXPECT_FALSE(std::filesystem::exists(file));
    p->Position()->SetKey("");
    p->Position()->SetSection("S");
    p->SavePosition();
    p->LoadPosition();
    EXPECT_EQ(p->Left(), 5);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ExPanelPosition, GroupSavesEveryPanelInTheRegistryStandIn)
{
    Host h;
    const std::string store = TempFile("registry.ini");
    sys::TRegistryIniFile::SetStoreFileName(store);
    auto* g = MakeGroup(h.form, 300, 400);
    auto p = AddPanels(g, {50, 60});
    p[0]->SetName("First");
    p[1]->SetName("Second");
    p[1]->Position()->SetSection("own");
    g->Position()->SetKey("Software\\Tolmira\\Panels");
    g->Position()->SetSection("ignored");
    g->SavePanelPositions();
    EXPECT_EQ(p[1]->Position()->Section(), "own");   // its own position is given back
    {
        sys::TRegistryIniFile reg("Software\\Tolmira\\Panels");
        EXPECT_EQ(reg.ReadInteger("Second", "Top", -1), 66);
        EXPECT_EQ(reg.ReadInteger("First", "Height", -1), 50);
        reg.WriteInteger("First", "Height", 90);
        reg.UpdateFile();
    }
    EXPECT_NE(ReadFile(store).find("[Software\\Tolmira\\Panels\\First]"), std::string::npos);
    g->LoadPanelPositions();
    // Height goes through the setter, then the stored FullHeight wins.
    EXPECT_EQ(p[0]->Height(), 90);
    EXPECT_EQ(p[0]->FullHeight(), 50);
    sys::TRegistryIniFile::SetStoreFileName("");
}

TEST(ExPanelGroup, StyledTwoColumnGroupPicture)
{
    Host h(520, 330);
    NoDelay nd;
    auto* styler = new TExPanelStyler(&h.form);
    styler->SetStyle(TExPanelStyle::psOffice2003Blue);
    auto* g = MakeGroup(h.form, 500, 310);
    g->SetColumns(2);
    g->DefaultPanel()->Caption()->SetVisible(true);
    g->DefaultPanel()->Caption()->SetMinMaxButton(true);
    auto p = AddPanels(g, {110, 110, 90, 90});
    const char* names[] = {"Contacts", "Circumstances", "Notes", "Sites"};
    for (int i = 0; i < 4; ++i) {
        p[static_cast<std::size_t>(i)]->SetStyler(styler);
        p[static_cast<std::size_t>(i)]->Caption()->SetText(names[i]);
        p[static_cast<std::size_t>(i)]->SetText("Body text of <b>" + std::string(names[i]) + "</b>");
    }
    p[1]->StatusBar()->SetVisible(true);
    p[1]->StatusBar()->SetText("status");
    p[2]->SetCollaps(true);
    h.Show();
    auto img = h.Image();
    controls_test::Keep(*img, "panel-group-two-columns");
    EXPECT_EQ(p[2]->Height(), 18);
    // The caption's vertical gradient starts in the preset's colour.
    EXPECT_EQ(controls_test::PixelAt(*img, p[0]->Left() + 50, p[0]->Top()), 0xD68759u);
    // The body runs from 0xFDEADA down towards 0xE4AE88.
    const TColor body = controls_test::PixelAt(*img, p[0]->Left() + 50, p[0]->Top() + 60);
    EXPECT_LT(body & 0xFF, 0xDAu);
    EXPECT_GT(body & 0xFF, 0x88u);
}

TEST(ExPanelPosition, SavedWhenTheFormGoesAndLoadedWithIt)
{
    const std::string file = TempFile("auto.ini");
    auto make = [&](TForm* form) {
        auto* p = new TExPanel(form);
        p->SetParent(form);
        p->Position()->SetLocation(TPanelPositionLocation::clInifile);
        p->Position()->SetKey(file);
        p->Position()->SetSection("Auto");
        p->Position()->SetSave(true);
        return p;
    };
    {
        TForm form(nullptr);
        TExPanel* p = make(&form);
        p->SetBounds(21, 22, 123, 77);
        delete p;   // the panel alone saves nothing
        EXPECT_FALSE(std::filesystem::exists(file));
        p = make(&form);
        p->SetBounds(21, 22, 123, 77);
    }
    EXPECT_NE(ReadFile(file).find("Width=123"), std::string::npos);
    TForm form(nullptr);
    TExPanel* q = make(&form);
    q->BeginLoading();
    q->EndLoading();   // Loaded reads the place back
    EXPECT_EQ(q->BoundsRect(), Rect(21, 22, 144, 99));

    // A write that fails while the form goes reaches the exception handler.
    std::vector<std::string> errors;
    Application->OnException = [&](rtl::TObject*, const std::exception& e) { errors.push_back(e.what()); };
    {
        TForm broken(nullptr);
        TExPanel* p = make(&broken);
        p->Position()->SetKey("/nonexistent-folder/tec/panel.ini");
    }
    Application->OnException = nullptr;
    EXPECT_EQ(errors.size(), 1u);
}
