// The file dialogs with settable texts: the texts and hidden controls are
// handed to the platform dialog when it is shown.
#include "app/FileDialogsEx.h"

namespace app {

namespace {

void PassTexts(const TFileDialogExTexts& t, gui::TOpenDialog& dialog)
{
    using gui::TFileDialogControl;
    dialog.OkButtonText = t.OKText;
    dialog.CancelButtonText = t.CancelText;
    dialog.ReadOnlyLabel = t.ReadOnlyText;
    dialog.FileTypeLabel = t.FileTypeText;
    dialog.FileNameLabel = t.FileNameText;
    dialog.LookInLabel = t.DriveText;
    dialog.HelpButtonText = t.HelpText;
    static const std::pair<TEnhancedOption, TFileDialogControl> controls[] = {
        {TEnhancedOption::ofOKButton, TFileDialogControl::fdcOkButton},
        {TEnhancedOption::ofCancelButton, TFileDialogControl::fdcCancelButton},
        {TEnhancedOption::ofDrive, TFileDialogControl::fdcLookIn},
        {TEnhancedOption::ofFileName, TFileDialogControl::fdcFileName},
        {TEnhancedOption::ofFileType, TFileDialogControl::fdcFileType},
    };
    dialog.HiddenControls.Clear();
    for (const auto& [option, control] : controls)
        if (!t.EnhancedOptions.Contains(option)) dialog.HiddenControls.Include(control);
}

} // namespace

TOpenDialogEx::TOpenDialogEx(rtl::TComponent* owner) : TOpenDialog(owner)
{
    OKText = "&Open";
    ReadOnlyText = "Open as &read-only";
}

bool TOpenDialogEx::Execute()
{
    PassTexts(*this, *this);
    return TOpenDialog::Execute();
}

TSaveDialogEx::TSaveDialogEx(rtl::TComponent* owner) : TSaveDialog(owner) { OKText = "&Save"; }

bool TSaveDialogEx::Execute()
{
    PassTexts(*this, *this);
    return TSaveDialog::Execute();
}

} // namespace app
