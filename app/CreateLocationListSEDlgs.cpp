#include "app/CreateLocationListSEDlgs.h"

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

TCreateLocationListSEDlg::TCreateLocationListSEDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Create location list");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(272, 150);
    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(12, 16, 100, 16);
    Label1->SetCaption("Magnitude limit:");
    EMagLimit = new TFloatEdit(this);
    EMagLimit->SetParent(this);
    EMagLimit->SetBounds(116, 12, 64, 22);
    EMagLimit->SetAlignment(TAlignment::taRightJustify);
    EMagLimit->SetDigits(4);
    EMagLimit->SetMaxValue(1.0);
    EMagLimit->SetValue(0.8);
    LInfo = new TLabel(this);
    LInfo->SetParent(this);
    LInfo->SetBounds(116, 38, 150, 16);
    LInfo->SetCaption("");
    CBMaximumVisible = new htmltext::THTMLCheckBox(this);
    CBMaximumVisible->SetParent(this);
    CBMaximumVisible->SetBounds(12, 62, 250, 20);
    CBMaximumVisible->SetCaption("Maximum eclipse visible");
    CBMaximumVisible->OnClick = [this](rtl::TObject*) { FMaximumVisible = CBMaximumVisible->Checked(); };
    CBOnlyLocationsInMap = new htmltext::THTMLCheckBox(this);
    CBOnlyLocationsInMap->SetParent(this);
    CBOnlyLocationsInMap->SetBounds(12, 84, 250, 20);
    CBOnlyLocationsInMap->SetCaption("Locations in map only");
    CBOnlyLocationsInMap->OnClick = [this](rtl::TObject*) {
        FLocationsInMapOnly = CBOnlyLocationsInMap->Checked();
    };
    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(94, 114, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(180, 114, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    OnShow = [this](rtl::TObject*) {
        if (EMagLimit->CanFocus()) EMagLimit->SetFocus();
    };
}

void TCreateLocationListSEDlg::SetMagnitude(double value)
{
    FMagnitude = value;
    EMagLimit->SetValue(value);
}

void TCreateLocationListSEDlg::SetMaxMagnitude(double value)
{
    FMaxMagnitude = value;
    if (value >= 1.0) {
        LInfo->SetCaption("");
        FMaxMagnitude = 2.0;
    } else {
        LInfo->SetCaption("max. magnitude is " + rtl::FloatToStrF(value, rtl::TFloatFormat::ffFixed, 15, 4));
    }
}

void TCreateLocationListSEDlg::SetMaximumVisible(bool value)
{
    FMaximumVisible = value;
    CBMaximumVisible->SetChecked(value);
}

void TCreateLocationListSEDlg::SetLocationsInMapOnly(bool value)
{
    FLocationsInMapOnly = value;
    CBOnlyLocationsInMap->SetChecked(value);
}

void TCreateLocationListSEDlg::OKBtnClick()
{
    FMagnitude = static_cast<double>(EMagLimit->Value());
    if (FMagnitude > FMaxMagnitude) {
        ShowMessage("The limiting magnitude exceeds the allowed range.");
        SetModalResult(mrNone);
    }
}

} // namespace app
