#include "app/CreateLocationListLEDlgs.h"

#include "controls/ExGroupBox.h"

namespace app {

using namespace gui;

TZones TCreateLocationListLEDlg::ZonesOfButton(int tag)
{
    switch (tag) {
    case 0: return {6};
    case 1: return {5, 6, 7};
    case 2: return {4, 5, 6, 7, 8};
    case 3: return {3, 4, 5, 6, 7, 8, 9};
    case 4: return {2, 3, 4, 5, 6, 7, 8, 9, 10};
    case 5: return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    default: return {};
    }
}

TCreateLocationListLEDlg::TCreateLocationListLEDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Create location list");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(272, 234);
    CBOnlyLocationsInMap = new TCheckBox(this);
    CBOnlyLocationsInMap->SetParent(this);
    CBOnlyLocationsInMap->SetBounds(12, 12, 240, 20);
    CBOnlyLocationsInMap->SetCaption("Locations in map only");
    CBOnlyLocationsInMap->OnClick = [this](rtl::TObject*) {
        FLocationsInMapOnly = CBOnlyLocationsInMap->Checked();
    };
    GB = new controls::TExGroupBox(this);
    GB->SetParent(this);
    GB->SetBounds(12, 40, 248, 150);
    GB->SetBorderColor(clBlack);
    static const char* const captions[] = {"entire eclipse visible",           "entire partial phase visible",
                                           "entire total phase visible",       "any part of total phase visible",
                                           "any part of partial phase visible", "any part of eclipse visible"};
    for (int i = 0; i < 6; ++i) {
        RB[i] = new htmltext::THTMLRadioButton(this);
        RB[i]->SetParent(GB);
        RB[i]->SetBounds(10, 12 + 22 * i, 228, 20);
        RB[i]->SetTag(i);
        RB[i]->SetCaption(captions[i]);
        RB[i]->OnClick = [this, i](rtl::TObject*) { RBClick(i); };
    }
    RB[0]->SetChecked(true);
    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(94, 198, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(180, 198, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
}

void TCreateLocationListLEDlg::SetLocationsInMapOnly(bool value)
{
    FLocationsInMapOnly = value;
    CBOnlyLocationsInMap->SetChecked(value);
}

void TCreateLocationListLEDlg::SetEclipseType(const std::string& value)
{
    FEclipseType = value;
    const bool partial = value == "T" || value == "P";
    const bool total = value == "T";
    RB[1]->SetEnabled(partial);
    RB[4]->SetEnabled(partial);
    RB[2]->SetEnabled(total);
    RB[3]->SetEnabled(total);
}

void TCreateLocationListLEDlg::RBClick(int tag) { FZones = ZonesOfButton(tag); }

} // namespace app
