// The file dialogs with settable texts: what they hand to the dialog
// service for each set of enhanced options, and the desktop dialog showing
// the look-in text and hiding what the options leave out.
#include <gtest/gtest.h>

#include "app/FileDialogsEx.h"
#include "platform/gui/Dialogs.h"

using namespace app;
using gui::TFileDialogControl;
using gui::TFileDialogControls;

namespace {

struct FileDialogsEx : testing::Test {
    gui::TScriptedDialogService* Dialogs = nullptr;
    std::unique_ptr<gui::IDialogService> Previous;
    void SetUp() override
    {
        auto s = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = s.get();
        Previous = gui::SetDialogService(std::move(s));
    }
    void TearDown() override { gui::SetDialogService(std::move(Previous)); }
};

TEST_F(FileDialogsEx, PassTheirTextsAndHideWhatTheOptionsLeaveOut)
{
    TOpenDialogEx open(nullptr);
    TSaveDialogEx save(nullptr);
    open.Execute();
    save.Execute();
    ASSERT_EQ(Dialogs->Calls.size(), 2u);
    const gui::TFileDialogRequest& o = Dialogs->Calls[0].File;
    const gui::TFileDialogRequest& s = Dialogs->Calls[1].File;
    // The defaults: every text passed on, nothing hidden.
    EXPECT_EQ(o.OkButtonText, "&Open");
    EXPECT_EQ(s.OkButtonText, "&Save");
    for (const gui::TFileDialogRequest* r : {&o, &s}) {
        EXPECT_EQ(r->CancelButtonText, "Cancel");
        EXPECT_EQ(r->LookInLabel, "Look &in");
        EXPECT_EQ(r->FileNameLabel, "File &name");
        EXPECT_EQ(r->FileTypeLabel, "File &type");
        EXPECT_EQ(r->HelpButtonText, "&Help");
        EXPECT_TRUE(r->HiddenControls.Empty());
    }
    EXPECT_EQ(o.ReadOnlyLabel, "Open as &read-only");
    EXPECT_EQ(s.ReadOnlyLabel, "");
    EXPECT_FALSE(o.Save);
    EXPECT_TRUE(s.Save);

    // Each option left out hides its control; the texts still go along.
    struct Case {
        TEnhancedOptions options;
        TFileDialogControls hidden;
    } cases[] = {
        {{TEnhancedOption::ofCancelButton, TEnhancedOption::ofDrive, TEnhancedOption::ofFileName,
          TEnhancedOption::ofFileType},
         {TFileDialogControl::fdcOkButton}},
        {{TEnhancedOption::ofOKButton, TEnhancedOption::ofDrive, TEnhancedOption::ofFileName,
          TEnhancedOption::ofFileType},
         {TFileDialogControl::fdcCancelButton}},
        {{TEnhancedOption::ofOKButton, TEnhancedOption::ofCancelButton, TEnhancedOption::ofFileName,
          TEnhancedOption::ofFileType},
         {TFileDialogControl::fdcLookIn}},
        {{TEnhancedOption::ofOKButton, TEnhancedOption::ofCancelButton, TEnhancedOption::ofDrive,
          TEnhancedOption::ofFileType},
         {TFileDialogControl::fdcFileName}},
        {{TEnhancedOption::ofOKButton, TEnhancedOption::ofCancelButton, TEnhancedOption::ofDrive,
          TEnhancedOption::ofFileName},
         {TFileDialogControl::fdcFileType}},
        {{},
         {TFileDialogControl::fdcOkButton, TFileDialogControl::fdcCancelButton, TFileDialogControl::fdcLookIn,
          TFileDialogControl::fdcFileName, TFileDialogControl::fdcFileType}},
    };
    for (const Case& c : cases) {
        Dialogs->Calls.clear();
        save.EnhancedOptions = c.options;
        save.DriveText = "Folder";
        save.Execute();
        const gui::TFileDialogRequest& r = Dialogs->Calls.at(0).File;
        EXPECT_TRUE(r.HiddenControls == c.hidden) << c.hidden.Count();
        EXPECT_EQ(r.LookInLabel, "Folder");
        EXPECT_EQ(r.FileTypeLabel, "File &type");
    }
}

// The request the open dialog makes, shown by the desktop dialog offscreen.
TEST_F(FileDialogsEx, DesktopDialogShowsTheLookInTextAndHidesTheFileType)
{
    TOpenDialogEx open(nullptr);
    open.DriveText = "Look &in";
    open.EnhancedOptions.Exclude(TEnhancedOption::ofFileType);
    open.Execute();
    const gui::TDesktopFileDialogView v = gui::ViewDesktopFileDialog(Dialogs->Calls.at(0).File);
    EXPECT_EQ(v.LookIn.Text, "Look &in");
    EXPECT_TRUE(v.LookIn.Shown);
    EXPECT_TRUE(v.LookInListShown);
    EXPECT_EQ(v.OkButton.Text, "&Open");
    EXPECT_FALSE(v.FileType.Shown);
    EXPECT_FALSE(v.FileTypeListShown);
    EXPECT_TRUE(v.FileName.Shown);
}

} // namespace
