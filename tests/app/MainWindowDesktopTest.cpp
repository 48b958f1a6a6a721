// The main window on the desktop: leaving the program (Exit, the close
// button, the end of the session) asks about unsaved changes, the window
// title follows the document, and the accelerators of every menu level and
// form differ.  (The title of a document named at start and the status bar
// below the locations panel are tested with the window's layout.)
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>

#include "MainWindowFixture.h"
#include "app/MapDlgs.h"
#include "app/PathToTEDlgs.h"
#include "app/PrintSelectDlgs.h"
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
    const std::string doc = WriteDocument(0, 9561);
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

} // namespace

namespace {

// The accelerator letter of a caption ("Save &as..." -> 'A'), 0 for none.
char Accelerator(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

// Every entry of a menu level and of the levels below has a letter, and no
// two of one level share it.
void CheckMenuLevel(gui::TMenuItem* level, const std::string& path)
{
    std::map<char, std::string> taken;
    for (int i = 0; i < level->Count(); ++i) {
        gui::TMenuItem* item = level->Items(i);
        if (item->IsLine()) continue;
        const std::string caption = item->Caption();
        const char letter = Accelerator(caption);
        EXPECT_NE(letter, 0) << path << ": \"" << caption << "\" has no accelerator";
        if (letter) {
            EXPECT_TRUE(taken.emplace(letter, caption).second)
                << path << ": \"" << caption << "\" and \"" << taken[letter] << "\" share " << letter;
        }
        if (item->Count() > 0) CheckMenuLevel(item, path + " > " + caption);
    }
}

// The buttons, check boxes and radio buttons of a form: their letters
// differ; buttons other than the default and cancel ones (Enter and Esc)
// have one.
void CheckForm(gui::TWinControl* parent, std::map<char, std::string>& taken, const std::string& form)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        gui::TControl* c = parent->Controls(i);
        const std::string caption = c->Caption();
        const char letter = Accelerator(caption);
        if (auto* b = dynamic_cast<gui::TButton*>(c)) {
            if (!b->Default() && !b->Cancel() && caption != "...") {
                EXPECT_NE(letter, 0) << form << ": button \"" << caption << "\" has no accelerator";
            }
        }
        if (letter) {
            EXPECT_TRUE(taken.emplace(letter, caption).second)
                << form << ": \"" << caption << "\" and \"" << taken[letter] << "\" share " << letter;
        }
        if (dynamic_cast<gui::TTabSheet*>(c)) {
            // One page shows at a time: each page's letters differ from
            // the form's own.
            std::map<char, std::string> page = taken;
            CheckForm(static_cast<gui::TWinControl*>(c), page, form + " > " + caption);
        } else if (auto* w = dynamic_cast<gui::TWinControl*>(c)) {
            CheckForm(w, taken, form);
        }
    }
}

} // namespace

TEST_F(MainWindow, AcceleratorsDifferInEveryMenuLevelAndForm)
{
    CheckMenuLevel(Form->MenuBar->Items(), "menu bar");
    CheckMenuLevel(Form->PMLocations->Items(), "location table menu");

    // The main window: its bar letters are its only Alt letters, besides
    // the commands' own Alt shortcuts, which take their key even while they
    // cannot run.  Tool buttons take none (their captions show no "&").
    std::map<char, std::string> bar;
    for (int i = 0; i < Form->MenuBar->Items()->Count(); ++i) {
        const std::string caption = Form->MenuBar->Items()->Items(i)->Caption();
        EXPECT_TRUE(bar.emplace(Accelerator(caption), caption).second) << caption;
    }
    for (gui::TToolBar* tools : {Form->ToolBar, Form->LocationsToolBar})
        for (int i = 0; i < tools->ButtonCount(); ++i) {
            gui::TToolButton* b = tools->Buttons(i);
            if (!Accelerator(b->Caption())) continue;
            // The caption is drawn as it would be without its "&".
            auto shown = b->Parent()->GetImage();
            const std::string caption = b->Caption();
            std::string plain;
            for (char ch : caption)
                if (ch != '&') plain += ch;
            b->SetCaption(plain);
            auto bare = b->Parent()->GetImage();
            b->SetCaption(caption);
            ASSERT_TRUE(shown && bare);
            bool same = true;
            for (int y = b->Top(); y < b->Top() + b->Height() && same; ++y)
                for (int x = b->Left(); x < b->Left() + b->Width() && same; ++x)
                    same = shown->Canvas()->Pixels(x, y) == bare->Canvas()->Pixels(x, y);
            EXPECT_TRUE(same) << "tool button \"" << caption << "\" shows an accelerator";
            break;  // one button of each bar shows how the bar draws
        }

    std::vector<std::pair<std::string, std::unique_ptr<gui::TForm>>> forms;
    forms.emplace_back("Print", std::make_unique<TPrintSelectDlg>(nullptr));
    forms.emplace_back("Maps", std::make_unique<TMapsDlg>(nullptr));
    forms.emplace_back("Map Information", std::make_unique<TMapInfoDlg>(nullptr));
    forms.emplace_back("Map default properties", std::make_unique<TDefaultsDlg>(nullptr));
    forms.emplace_back("Tolmira Ephemeris Installation", std::make_unique<TPathToTEDlg>(nullptr));
    forms.emplace_back("Eclipse Catalogue", std::make_unique<TCatalogueDlg>(nullptr));
    for (auto& [name, form] : forms) {
        std::map<char, std::string> taken;
        CheckForm(form.get(), taken, name);
    }
}
