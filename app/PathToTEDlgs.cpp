#include "app/PathToTEDlgs.h"

#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

TPathToTEDlg::TPathToTEDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Tolmira Ephemeris Installation");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(440, 200);

    CBAutoDetectPath = new TCheckBox(this);
    CBAutoDetectPath->SetParent(this);
    CBAutoDetectPath->SetBounds(12, 12, 200, 20);
    CBAutoDetectPath->SetCaption("&Auto-detect");
    CBAutoDetectPath->OnClick = [this](rtl::TObject*) { CBAutoDetectPathClick(); };

    // The folder edit: its button and F4 open the folder dialog; typed and
    // chosen folders alike reach EPathToTEChange.
    EPathToTE = new controls::TExDirectoryEdit(this);
    EPathToTE->SetParent(this);
    EPathToTE->SetBounds(12, 60, 249, 19);
    EPathToTE->SetLabelPosition(controls::TExEdit::TLabelPosition::lpTopLeft);
    EPathToTE->SetLabelAlwaysEnabled(true);
    EPathToTE->SetLabelCaption("Tolmira Ephemeris installation directory");
    EPathToTE->SetButtonStyle(controls::TButtonStyle::bsButton);
    EPathToTE->SetButtonWidth(18);
    EPathToTE->SetBrowseDialogText("Select Directory");
    EPathToTE->OnChange = [this](rtl::TObject*) { EPathToTEChange(); };

    LMessage = new TLabel(this);
    LMessage->SetParent(this);
    LMessage->SetAutoSize(false);
    LMessage->SetWordWrap(true);
    LMessage->SetBounds(12, 92, 416, 34);
    LMessage->SetCaption("Message");

    LTEHomePage = new TLabel(this);
    LTEHomePage->SetParent(this);
    LTEHomePage->SetBounds(12, 166, 220, 16);
    LTEHomePage->SetCaption("visit Tolmira Ephemeris home page");
    LTEHomePage->Font()->SetColor(clBlue);
    LTEHomePage->Font()->SetStyle({TFontStyle::fsUnderline});
    LTEHomePage->SetCursor(crHandPoint);
    LTEHomePage->OnClick = [](rtl::TObject*) { ShellOpen(SiblingWebPage); };

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(262, 162, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(348, 162, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
}

void TPathToTEDlg::SetAutoDetectPathToTE(bool value)
{
    FAutoDetectPathToTE = value;
    CBAutoDetectPath->SetChecked(value);
    EPathToTE->SetEnabled(!value);
}

void TPathToTEDlg::SetTEInstallationPath(const std::string& value)
{
    FTEInstallationPath = rtl::Trim(value).empty() ? "" : rtl::IncludeTrailingPathDelimiter(value);
    EPathToTE->SetText(FTEInstallationPath);
}

void TPathToTEDlg::CBAutoDetectPathClick()
{
    FAutoDetectPathToTE = CBAutoDetectPath->Checked();
    EPathToTE->SetEnabled(!FAutoDetectPathToTE);
    if (FAutoDetectPathToTE) SetTEInstallationPath(FindSiblingFolder());
}

void TPathToTEDlg::EPathToTEChange()
{
    const std::string text = rtl::Trim(EPathToTE->Text());
    FTEInstallationPath = text.empty() ? "" : rtl::IncludeTrailingPathDelimiter(text);
    switch (CheckSiblingVersion(FTEInstallationPath)) {
    case 0:
    case 1:
        LMessage->SetCaption("Tolmira Ephemeris installation has been found.");
        LMessage->Font()->SetColor(clBlack);
        break;
    case 2:
        LMessage->SetCaption("Tolmira Ephemeris v4.0 or higher is required.");
        LMessage->Font()->SetColor(clRed);
        break;
    default:
        LMessage->SetCaption("Tolmira Ephemeris installation has NOT been found.");
        LMessage->Font()->SetColor(clRed);
        break;
    }
}

} // namespace app
