// The main window offscreen for the window tests: a scratch home, the
// program folders of the built tree, scripted dialogs and helpers to run
// the idle calculation and to take screenshots.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "AppTestEnv.h"
#include "app/CatalogueDlgs.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"

namespace apptest {

using namespace app;

inline const std::string CatalogueFile = std::string(TEC_RUNTIME_DIR) + "/be.db";
inline const std::filesystem::path Shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";

class MainWindow : public HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        if (!std::filesystem::exists(CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        TPathsSetup setup;
        setup.ExecutableFile = std::string(TEC_RUNTIME_DIR) + "/tolmira-eclipse";
        InitPaths(setup);
        gui::Application->Initialize();
        auto service = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = service.get();
        gui::SetDialogService(std::move(service));
        Form = new TSEMainForm(nullptr);
        Form->AfterConstruction();
        Form->Show();
        gui::Application->ProcessMessages();
        std::filesystem::create_directories(Shots);
    }
    void TearDown() override
    {
        delete Catalogue;
        if (Form) {
            Form->BeforeDestruction();
            delete Form;
        }
        gui::SetDialogService(nullptr);
        HomeFixture::TearDown();
    }
    // Map files of a test go into the user's own Maps folder (which takes
    // precedence), never into the program's.
    void UseOwnMapsFolder()
    {
        std::filesystem::create_directories(DocumentsPath + "Maps");
        MapsPath = DocumentsPath + "Maps/";
    }
    // Runs idle calls until the status settles.
    void RunIdle()
    {
        for (int i = 0; i < 5 && Form->Status() == stNeedCalculation; ++i) {
            bool done = false;
            gui::Application->DoIdle(done);
        }
    }
    std::string WriteDocument(int eventType, int catNo, TScrollInfo scroll = {})
    {
        TSettings s = Form->GatherSettings();
        s.EventType = eventType;
        (eventType == 0 ? s.SECatNo : s.LECatNo) = catNo;
        s.ScrollInfo = scroll;
        TObserverDataList none("SE");
        const std::string file = H("eclipse.sec");
        WriteSettings(file, false, s, none);
        return file;
    }
    void Shot(gui::TWinControl* control, const std::string& name)
    {
        gui::Application->ProcessMessages();
        auto image = control->GetImage();
        if (!image) return;
        gui::TPicture picture;
        picture.SetGraphic(image.get());
        picture.SaveToFile((Shots / name).string());
    }

    gui::TScriptedDialogService* Dialogs = nullptr;
    TSEMainForm* Form = nullptr;
    TCatalogueDlg* Catalogue = nullptr;
};

} // namespace apptest
