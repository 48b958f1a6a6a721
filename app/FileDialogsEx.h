// The open and save dialogs whose button and label texts can be set and
// whose controls can be hidden.  Each control whose option is missing from
// EnhancedOptions is hidden when the dialog shows; every text is passed on,
// also for hidden controls.  The desktop dialog has no read-only box and no
// help button, so ReadOnlyText and HelpText never show.
//
//   TSaveDialogEx save(owner);
//   save.EnhancedOptions.Exclude(TEnhancedOption::ofFileType);
//   save.OKText = "&Export";
//   if (save.Execute()) Use(save.FileName);
#pragma once

#include <string>

#include "platform/gui/Dialogs.h"

namespace app {

enum class TEnhancedOption { ofOKButton, ofCancelButton, ofDrive, ofFileName, ofFileType };
using TEnhancedOptions = rtl::Set<TEnhancedOption, 8>;

// The texts and options both dialogs add ("&" marks the access key).
struct TFileDialogExTexts {
    std::string OKText;
    std::string CancelText = "Cancel";
    std::string DriveText = "Look &in";
    std::string FileNameText = "File &name";
    std::string FileTypeText = "File &type";
    std::string ReadOnlyText;
    std::string HelpText = "&Help";
    TEnhancedOptions EnhancedOptions{TEnhancedOption::ofOKButton, TEnhancedOption::ofCancelButton,
                                     TEnhancedOption::ofDrive, TEnhancedOption::ofFileName,
                                     TEnhancedOption::ofFileType};
};

class TOpenDialogEx : public gui::TOpenDialog, public TFileDialogExTexts {
public:
    // OKText "&Open", ReadOnlyText "Open as &read-only".
    explicit TOpenDialogEx(rtl::TComponent* owner);
    bool Execute() override;
};

class TSaveDialogEx : public gui::TSaveDialog, public TFileDialogExTexts {
public:
    // OKText "&Save", ReadOnlyText empty.
    explicit TSaveDialogEx(rtl::TComponent* owner);
    bool Execute() override;
};

} // namespace app
