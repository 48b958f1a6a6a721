// Tolmira Eclipse Calculator: the program's start-up.
#include <chrono>
#include <clocale>
#include <thread>

#include "app/AppMessages.h"
#include "app/CatalogueDlgs.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "app/SplashScreens.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/DateTime.h"

using namespace app;

int main(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "C");
    rtl::FormatSettings().DecimalSeparator = '.';
    InitPaths();
    gui::Application->Initialize();
    gui::Application->SetMainFormOnTaskBar(true);
    gui::Application->SetTitle(ApplicationTitle);
    PathsQuestion = [](const std::string& text, const std::string& caption) {
        return gui::MessageDlgCaptions(text, caption, gui::TMsgDlgType::mtCustom, gui::mbYesNo(), {}) == gui::mrYes;
    };
    PathsErrorMessage = [](const std::string& text, const std::string& caption) {
        gui::MessageDlgCaptions(text, caption, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK}, {});
    };
    AppNotice = [](const std::string& text) { gui::ShowMessage(text); };

    auto* splash = new TSplashScreen(nullptr);
    splash->Show();
    splash->Update();
    gui::Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));

    TSEMainForm* mainForm = nullptr;
    gui::Application->CreateForm(mainForm);
    TCatalogueDlg* catalogue = nullptr;
    gui::Application->CreateForm(catalogue);
    mainForm->CatalogueDlg = catalogue;
    if (argc > 1) mainForm->OpenCommandLineDocument(argv[1]);
    delete splash;
    gui::Application->Run();
    return 0;
}
