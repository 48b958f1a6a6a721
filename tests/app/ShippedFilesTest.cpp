// What the program ships beside its executable and uses on its own: the
// delta-T table "Morrison and Stephenson (2004)", selected by default, and
// the user manual that F1 opens in the desktop's browser.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <set>

#include "MainWindowFixture.h"
#include "app/ProgramStart.h"
#include "app/SEMain.h"
#include "app/SEMainStates.h"
#include "app/SEPaths.h"
#include "compute/AstroBase.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"
#include "xml/XmlDom.h"

using namespace app;
namespace fs = std::filesystem;

namespace {

using apptest::MainWindow;

const std::string ManualFolder = std::string(TEC_RUNTIME_DIR) + "/doc";

// The program started as a new user starts it (no configuration of his
// own), from the build's program folder or from a copy of it.
class FirstStart : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        if (!fs::exists(apptest::CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        auto service = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = service.get();
        gui::SetDialogService(std::move(service));
    }
    void TearDown() override
    {
        if (Windows.Main) EndProgram(Windows);
        gui::SetDialogService(nullptr);
        compute::DeltaTTable.IsLoaded = false;
        compute::DeltaTTable.NumValues = 0;
        compute::UseInternalDeltaTTable = true;
        HomeFixture::TearDown();
    }
    void Start(const std::string& programFolder)
    {
        TPathsSetup setup;
        setup.ExecutableFile = programFolder + "/tolmira-eclipse";
        InitPaths(setup);
        ASSERT_FALSE(fs::exists(ConfigFile));
        gui::Application->Initialize();
        Windows = StartProgram({}, std::chrono::milliseconds(0));
        Windows.Main->Show();
        gui::Application->ProcessMessages();
    }
    void Calculate()
    {
        for (int i = 0; i < 10 && Windows.Main->Status() == stNeedCalculation; ++i) {
            bool done = false;
            gui::Application->DoIdle(done);
        }
        ASSERT_EQ(Windows.Main->Status(), stCalculated);
    }
    // Shows the solar eclipse of a catalogue date text ("-1000 Apr 09").
    void ShowSolarEclipse(const std::string& date)
    {
        TSEMainForm* f = Windows.Main;
        ASSERT_TRUE(f->CBE_SE->Locate("DT", db::TFieldValue(date)));
        ASSERT_TRUE(f->SelectCatalogueEntry(etSolarEclipse, static_cast<int>(f->CBE_SE->FieldByName("CatNo")->AsInteger())));
        Calculate();
    }
    int DeltaTNotices() const
    {
        int n = 0;
        for (const auto& call : Dialogs->Calls)
            if (call.Text.find("delta-T table") != std::string::npos) ++n;
        return n;
    }

    gui::TScriptedDialogService* Dialogs = nullptr;
    TProgramWindows Windows;
};

// The canon's point of greatest eclipse of -1000 Apr 09: 16.8 S, 156.3 W.
constexpr double CanonLat = -16.8, CanonLon = 156.3;

TEST_F(FirstStart, ShippedTableIsTheDefaultAndAgreesWithTheCatalogue)
{
    Start(TEC_RUNTIME_DIR);
    TSEMainForm* f = Windows.Main;
    EXPECT_EQ(f->DeltaTTableFile(), DefaultDeltaTTableFile);
    EXPECT_EQ(DeltaTNotices(), 0);
    ASSERT_TRUE(compute::DeltaTTable.IsLoaded);

    // 2024 Apr 08: the internal table serves (continued past its last year).
    Calculate();
    EXPECT_EQ(f->LTitle->Caption(), "Total Solar Eclipse of 2024 Apr 08");
    EXPECT_EQ(f->StatusText(1), "Internal delta T table");

    // -1000 Apr 09: the shipped table, and the greatest eclipse where the
    // canon has it.
    ShowSolarEclipse("-1000 Apr 09");
    EXPECT_EQ(f->StatusText(1), "Morrison and Stephenson (2004)");
    EXPECT_NEAR(f->SEE.MELat(), CanonLat, 0.2);
    EXPECT_NEAR(f->SEE.MELon(), CanonLon, 0.2);
    EXPECT_NEAR(static_cast<double>(f->SEE.DeltaT()) * 86400, 25310, 30);  // the canon's delta T then
}

TEST_F(FirstStart, WithoutTheShippedTableOneNoticeAndTheBuiltInModel)
{
    // A program folder with the catalogue and the shipped configuration but
    // an empty DeltaT folder.
    const fs::path folder = Root / "program";
    fs::create_directories(folder / "DeltaT");
    fs::create_symlink(apptest::CatalogueFile, folder / "be.db");
    fs::copy_file(std::string(TEC_RUNTIME_DIR) + "/tec.ini", folder / "tec.ini");
    Start(folder.string());
    TSEMainForm* f = Windows.Main;
    ASSERT_EQ(DeltaTNotices(), 1);
    EXPECT_NE(Dialogs->Calls.front().Text.find("Morrison and Stephenson (2004)"), std::string::npos);
    EXPECT_FALSE(compute::DeltaTTable.IsLoaded);

    Calculate();
    EXPECT_EQ(f->LTitle->Caption(), "Total Solar Eclipse of 2024 Apr 08");
    ShowSolarEclipse("-1000 Apr 09");
    EXPECT_EQ(f->StatusText(1), "Built-in delta T model");
    // The built-in polynomials put the eclipse degrees away from the canon.
    EXPECT_GT(std::fabs(f->SEE.MELon() - CanonLon), 5.0);
    EXPECT_EQ(DeltaTNotices(), 1);
}

// The manual's pages, as the build puts them beside the executable.
std::vector<fs::path> ManualPages()
{
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(ManualFolder))
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    return pages;
}

void CollectLinks(xml::TUtf8XmlNode* node, std::vector<std::string>& links)
{
    for (int i = 0; i < node->NodeCount(); ++i) {
        xml::TUtf8XmlNode* child = node->Nodes(i);
        for (const char* attribute : {"href", "src"}) {
            const std::string target = child->AttributeByName(attribute);
            if (!target.empty()) links.push_back(target);
        }
        CollectLinks(child, links);
    }
}

TEST(Manual, PagesAreWellFormedAndTheirLinksResolve)
{
    const std::vector<fs::path> pages = ManualPages();
    ASSERT_FALSE(pages.empty());
    EXPECT_TRUE(fs::exists(fs::path(ManualFolder) / "index.html"));
    // Every page of the source folder is copied.
    for (const auto& entry : fs::directory_iterator(fs::path(TEC_SOURCE_DIR) / "doc" / "manual"))
        EXPECT_TRUE(fs::exists(fs::path(ManualFolder) / entry.path().filename())) << entry.path();
    std::set<std::string> linked;
    for (const fs::path& page : pages) {
        SCOPED_TRACE(page.filename().string());
        xml::TUtf8XmlDom dom("html");
        dom.SetParserWarnings(true);
        ASSERT_NO_THROW(dom.LoadFromFile(page.string()));
        ASSERT_NE(dom.Root(), nullptr);
        EXPECT_EQ(dom.Root()->Name(), "html");
        std::vector<std::string> links;
        CollectLinks(dom.Root(), links);
        for (std::string link : links) {
            if (link.rfind("http:", 0) == 0 || link.rfind("https:", 0) == 0) continue;
            link = link.substr(0, link.find('#'));
            if (link.empty()) continue;
            EXPECT_TRUE(fs::exists(fs::path(ManualFolder) / link)) << link;
            linked.insert(link);
        }
    }
    // Every page is reached from another.
    for (const fs::path& page : pages)
        if (page.filename() != "index.html") { EXPECT_TRUE(linked.count(page.filename().string())) << page; }
}

// The commands of the menus and tool bars, by their captions.
void CollectCommands(gui::TMenuItem* item, std::set<gui::TBasicAction*>& actions)
{
    for (int i = 0; i < item->Count(); ++i) {
        if (item->Items(i)->Action()) actions.insert(item->Items(i)->Action());
        CollectCommands(item->Items(i), actions);
    }
}

TEST_F(MainWindow, ManualNamesEveryCommandThatCanRun)
{
    std::string manual;
    for (const fs::path& page : ManualPages()) manual += tectest::ReadText(page);
    std::set<gui::TBasicAction*> actions;
    CollectCommands(Form->MenuBar->Items(), actions);
    CollectCommands(Form->PMLocations->Items(), actions);
    for (gui::TToolBar* bar : {Form->ToolBar, Form->LocationsToolBar})
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (bar->Buttons(i)->Action()) actions.insert(bar->Buttons(i)->Action());
    ASSERT_GT(actions.size(), 20u);
    int named = 0;
    for (gui::TBasicAction* b : actions) {
        auto* a = dynamic_cast<gui::TAction*>(b);
        ASSERT_NE(a, nullptr);
        std::string caption;
        for (char c : a->Caption())
            if (c != '&') caption += c;
        if (caption.size() > 3 && caption.compare(caption.size() - 3, 3, "...") == 0) caption.resize(caption.size() - 3);
        EXPECT_NE(manual.find(caption), std::string::npos) << a->Name() << ": \"" << caption << "\"";
        ++named;
    }
    EXPECT_GT(named, 15);
}

TEST_F(MainWindow, F1OpensTheInstalledManual)
{
    std::vector<std::string> opened;
    gui::SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    gui::sim::KeyPress(gui::VK_F1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], ProgramPath + "doc/index.html");
    EXPECT_TRUE(fs::exists(opened[0]));
    EXPECT_EQ(gui::Application->HelpFile(), opened[0]);
    EXPECT_TRUE(Dialogs->Calls.empty());

    // A program folder without the manual: the message, no browser.
    const std::string installed = ProgramPath;
    ProgramPath = H("bare/");
    gui::sim::KeyPress(gui::VK_F1);
    ProgramPath = installed;
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "The documentation is not installed.");
    gui::SetShellOpenHandler(nullptr);
}

} // namespace
