// The main window on the desktop: leaving the program (Exit, the close
// button, the end of the session) asks about unsaved changes, the window
// title follows the document, and the status bar stays the bottom row when
// the locations panel is shown from the start.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "MainWindowFixture.h"
#include "app/ProgramStart.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"

using namespace app;

namespace {

using apptest::MainWindow;

// The three ways out, each with the answers of the question.
TEST_F(MainWindow, LeavingAsksAboutUnsavedChanges)
{
    struct Way {
        const char* name;
        std::function<bool(TSEMainForm*)> leave;  // true when the program may end
    };
    const Way ways[] = {
        {"Exit", [](TSEMainForm* f) { f->Action("actExit")->Execute(); return !f->Visible(); }},
        {"close button", [](TSEMainForm* f) { f->Perform(gui::WM_CLOSE); return !f->Visible(); }},
        {"end of session", [](TSEMainForm*) { return gui::Application->QueryEndSession(); }},
    };
    gui::Application->SetMainForm(nullptr);
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        // The session asks the program's main form; Exit and the close
        // button close this window, which is not the test's main form (that
        // would end the test's message loop).
        const bool session = std::string(way.name) == "end of session";
        if (session) gui::Application->SetMainForm(Form);
        // No document yet: Yes goes through Save as.
        Form->SetFileName("");

        // Unchanged: no question.
        Form->SetModified(false);
        Dialogs->Calls.clear();
        EXPECT_TRUE(way.leave(Form));
        EXPECT_TRUE(Dialogs->Calls.empty());
        Form->Show();

        // Cancel: the window stays with its changes.
        Form->SetModified(true);
        Dialogs->Calls.clear();
        Dialogs->MessageAnswers.push_back(gui::mrCancel);
        EXPECT_FALSE(way.leave(Form));
        ASSERT_EQ(Dialogs->Calls.size(), 1u);
        EXPECT_EQ(Dialogs->Calls[0].Kind, "MessageDlg");
        EXPECT_EQ(Dialogs->Calls[0].Buttons, gui::mbYesNoCancel());
        EXPECT_TRUE(Form->Visible());
        EXPECT_TRUE(Form->Modified());

        // No: the changes go.
        Dialogs->MessageAnswers.push_back(gui::mrNo);
        EXPECT_TRUE(way.leave(Form));
        Form->Show();

        // Yes: saved first (Save as, since there is no document yet); a
        // cancelled Save as keeps the program open.
        Form->SetModified(true);
        Dialogs->MessageAnswers.push_back(gui::mrYes);
        Dialogs->FileAnswers.push_back({false, ""});
        EXPECT_FALSE(way.leave(Form));
        EXPECT_TRUE(Form->Modified());
        const std::string doc = H(std::string("saved-") + (session ? "session" : way.name[0] == 'E' ? "exit" : "close") + ".sec");
        Dialogs->MessageAnswers.push_back(gui::mrYes);
        Dialogs->FileAnswers.push_back({true, doc});
        EXPECT_TRUE(way.leave(Form));
        EXPECT_TRUE(std::filesystem::exists(doc));
        EXPECT_FALSE(Form->Modified());
        Form->Show();
        gui::Application->SetMainForm(nullptr);
    }
}

TEST_F(MainWindow, TitleFollowsTheDocumentOnce)
{
    gui::Application->SetTitle(ApplicationTitle);
    EXPECT_EQ(Form->WindowTitle(), "Tolmira Eclipse Calculator");

    // Opened: the document's name, and the program's name once.
    const std::string doc = WriteDocument(0, 9563);
    Dialogs->FileAnswers.push_back({true, doc});
    Form->FileOpen();
    ASSERT_EQ(Form->FileName(), doc);
    EXPECT_EQ(Form->WindowTitle(), "Tolmira Eclipse Calculator - [eclipse.sec]");

    // Saved under another name: that name.
    Dialogs->FileAnswers.push_back({true, H("renamed.sec")});
    ASSERT_TRUE(Form->FileSaveAs());
    EXPECT_EQ(Form->WindowTitle(), "Tolmira Eclipse Calculator - [renamed.sec]");

    // A document that cannot be read does not take the title.
    apptest::WriteText(H("broken.sec"), "<TSEC><Major>2</Major>");
    Dialogs->FileAnswers.push_back({true, H("broken.sec")});
    Form->FileOpen();
    EXPECT_EQ(Form->FileName(), H("renamed.sec"));
    EXPECT_EQ(Form->WindowTitle(), "Tolmira Eclipse Calculator - [renamed.sec]");

    // The caption may be set at any time, hidden or shown.
    Form->Hide();
    Form->SetCaption("Hidden");
    EXPECT_EQ(Form->WindowTitle(), "Hidden");
    Form->Show();
    Form->SetCaption(ApplicationTitle);
    EXPECT_EQ(Form->WindowTitle(), "Tolmira Eclipse Calculator");
}

// The program from its start, with a configuration written for the test.
class ProgramWindow : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        if (!std::filesystem::exists(apptest::CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        gui::SetDialogService(std::make_unique<gui::TScriptedDialogService>());
        TPathsSetup setup;
        setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
        InitPaths(setup);
        gui::Application->Initialize();
        TObserverDataList list("SE");
        ASSERT_TRUE(ReadSettings(ProgramPath + "tec.ini", true, Config, list).Ok);
    }
    void TearDown() override
    {
        if (Windows.Main) EndProgram(Windows);
        gui::SetDialogService(nullptr);
        HomeFixture::TearDown();
    }
    void Start(const std::vector<std::string>& arguments = {})
    {
        TObserverDataList none("SE");
        WriteSettings(ConfigFile, true, Config, none);
        Windows = StartProgram(arguments, std::chrono::milliseconds(0));
        Windows.Main->Show();
        gui::Application->ProcessMessages();
    }
    TSettings Config;
    TProgramWindows Windows;
};

TEST_F(ProgramWindow, DocumentOnTheCommandLineNamedOnceInTheTitle)
{
    TSettings s = Config;
    s.EventType = 0;
    s.SECatNo = 9563;
    TObserverDataList none("SE");
    WriteSettings(H("good.sec"), false, s, none);
    Start({H("good.sec")});
    EXPECT_EQ(Windows.Main->WindowTitle(), "Tolmira Eclipse Calculator - [good.sec]");
}

TEST_F(ProgramWindow, StatusBarStaysBelowTheLocationsPanelShownAtStart)
{
    // The shipped configuration's maximised window and panel height, taller
    // than the panel's own.
    ASSERT_EQ(Config.Configuration.FormWindowState, 2);
    ASSERT_EQ(Config.Configuration.LocationsPanelHeight, 300);
    Config.Configuration.LocationsPanelVisible = true;
    Start();
    TSEMainForm* f = Windows.Main;
    ASSERT_TRUE(f->LocationsPanel->Visible());
    // Map, locations panel, status bar from top to bottom, the status bar
    // on the window's lower edge.
    EXPECT_EQ(f->StatusBar->Top() + f->StatusBar->Height(), f->ClientHeight());
    EXPECT_EQ(f->LocationsPanel->Top() + f->LocationsPanel->Height(), f->StatusBar->Top());
    EXPECT_EQ(f->ScrollBox->Top() + f->ScrollBox->Height(), f->LocationsPanel->Top());
    EXPECT_EQ(f->LocationsPanel->Height(), 300);
    // Hidden and shown again: the same order.
    f->Action("actLocationsViewList")->Execute();
    f->Action("actLocationsViewList")->Execute();
    EXPECT_EQ(f->StatusBar->Top() + f->StatusBar->Height(), f->ClientHeight());
    EXPECT_EQ(f->LocationsPanel->Top() + f->LocationsPanel->Height(), f->StatusBar->Top());
}

} // namespace
