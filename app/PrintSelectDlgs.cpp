#include "app/PrintSelectDlgs.h"

namespace app {

using namespace gui;

TPrintSelectDlg::TPrintSelectDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Print");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(300, 130);
    RBEclipseMap = new htmltext::THTMLRadioButton(this);
    RBEclipseMap->SetParent(this);
    RBEclipseMap->SetBounds(16, 12, 260, 20);
    RBEclipseMap->SetCaption("Print eclipse &map");
    RBLocationTable = new htmltext::THTMLRadioButton(this);
    RBLocationTable->SetParent(this);
    RBLocationTable->SetBounds(16, 36, 260, 20);
    RBLocationTable->SetCaption("Print location &table");
    CBPreview = new htmltext::THTMLCheckBox(this);
    CBPreview->SetParent(this);
    CBPreview->SetBounds(36, 60, 200, 20);
    CBPreview->SetCaption("&Preview");
    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(124, 96, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(210, 96, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    RBEclipseMap->OnClick = [this](rtl::TObject*) { RadioClick(); };
    RBLocationTable->OnClick = [this](rtl::TObject*) { RadioClick(); };
    CBPreview->OnClick = [this](rtl::TObject*) { FPreview = CBPreview->Checked(); };
    SetPrintEclipseMap(true);
}

void TPrintSelectDlg::RadioClick()
{
    FPrintEclipseMap = RBEclipseMap->Checked();
    FPrintLocationTable = RBLocationTable->Checked();
    CBPreview->SetEnabled(FPrintLocationTable);
}

void TPrintSelectDlg::SetPreview(bool value)
{
    FPreview = value;
    CBPreview->SetChecked(value);
}

void TPrintSelectDlg::SetPrintEclipseMap(bool value)
{
    RBEclipseMap->SetChecked(value);
    RadioClick();
}

void TPrintSelectDlg::SetPrintLocationTable(bool value)
{
    RBLocationTable->SetChecked(value);
    RadioClick();
}

} // namespace app
