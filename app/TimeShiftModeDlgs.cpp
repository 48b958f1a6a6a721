#include "app/TimeShiftModeDlgs.h"

namespace app {

using namespace gui;

TTimeShiftModeDlg::TTimeShiftModeDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Time shift mode");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(260, 96);
    CBTimeShiftMode = new controls::TExComboBox(this);
    CBTimeShiftMode->SetParent(this);
    CBTimeShiftMode->SetFlat(true);
    CBTimeShiftMode->SetEtched(true);
    CBTimeShiftMode->SetBounds(12, 14, 236, 21);
    CBTimeShiftMode->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* item : {"No time shift", "Mean local time", "Standard time zone"})
        CBTimeShiftMode->Items()->Add(item);
    CBTimeShiftMode->SetItemIndex(0);
    CBTimeShiftMode->OnChange = [this](rtl::TObject*) { CBTimeShiftModeChange(); };
    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(82, 56, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(168, 56, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
}

void TTimeShiftModeDlg::SetTimeShiftMode(int32_t value)
{
    FTimeShiftMode = value;
    CBTimeShiftMode->SetItemIndex(value);
}

void TTimeShiftModeDlg::CBTimeShiftModeChange() { FTimeShiftMode = CBTimeShiftMode->ItemIndex(); }

} // namespace app
