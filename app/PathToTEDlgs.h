// The dialog about the sibling ephemeris program's installation: detect it
// automatically or name its folder, with the result of the check shown.
// Created at start-up and kept for the whole run.
#pragma once

#include <string>

#include "controls/ExDirectoryEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

// The sibling program's home page (opened by the dialog's link).
inline const std::string SiblingWebPage = "https://www.tolmira.example/ephemeris";

class TPathToTEDlg : public gui::TForm {
public:
    explicit TPathToTEDlg(rtl::TComponent* owner);

    gui::TCheckBox* CBAutoDetectPath;
    controls::TExDirectoryEdit* EPathToTE;
    gui::TLabel* LMessage;
    gui::TLabel* LTEHomePage;
    gui::TButton *OKBtn, *CancelBtn;

    bool AutoDetectPathToTE() const { return FAutoDetectPathToTE; }
    // Checks or clears the box; the edit is enabled only without detection.
    void SetAutoDetectPathToTE(bool value);
    const std::string& TEInstallationPath() const { return FTEInstallationPath; }
    // Stores the folder with a trailing separator and shows it in the edit.
    void SetTEInstallationPath(const std::string& value);

    void CBAutoDetectPathClick();
    void EPathToTEChange();

private:
    bool FAutoDetectPathToTE = true;
    std::string FTEInstallationPath;
};

} // namespace app
