// The page settings dialog: paper size, orientation and margins of a report
// page, shown in centimetres or inches, applied to the current page or to
// all pages.
//
// The rule a caller must know: set Page (and Units, the designer's unit
// setting: 1 inches, anything else centimetres) before ShowModal; after OK
// the page holds the new settings and NeedRebuild() says "all pages".
//
// Example:
//   qlr::TqlrPageSettingsForm dlg(nullptr);
//   dlg.SetPage(page);
//   if (dlg.ShowModal() == gui::mrOk && dlg.NeedRebuild()) ...
#pragma once

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "report/qlrClassPages.h"

namespace qlr {

class TqlrPageSettingsForm : public gui::TForm {
public:
    explicit TqlrPageSettingsForm(rtl::TComponent* owner);

    TqlrReportPage* Page() const { return FPage; }
    // The report whose page is edited.
    TqlrReport* Report() const { return FReport; }
    void SetReport(TqlrReport* report) { FReport = report; }
    void SetPage(TqlrReportPage* page) { FPage = page; }
    bool NeedRebuild() const { return ApplyToAllRB->Checked(); }
    // duCM 0, duInches 1, duPixels 2, duChars 3.
    int FUnits = 0;

    gui::TGroupBox *SizeGB, *OrientationGB, *MarginsGB, *OtherGB;
    gui::TComboBox* SizeCB;
    gui::TLabel *WidthL, *HeightL, *UnitL1, *UnitL2, *LeftL, *TopL, *RightL, *BottomL;
    gui::TLabel *UnitL3, *UnitL4, *UnitL5, *UnitL6;
    gui::TEdit *WidthE, *HeightE, *MarginLeftE, *MarginTopE, *MarginRightE, *MarginBottomE;
    gui::TRadioButton *PortraitRB, *LandscapeRB, *ApplyToCurRB, *ApplyToAllRB;
    gui::TPaintBox* OrientationPB;
    gui::TButton *OKB, *CancelB;

    // A paper or orientation click: the printer measures the chosen sheet.
    void PaperChanged();
    // Millimetres as shown in the unit, and back.
    std::string ToUnits(long double mm) const;
    long double FromUnits(const std::string& text) const;

protected:
    void DoShow() override;
    bool CloseQuery() override;

private:
    void PaintOrientation();
    bool Inches() const { return FUnits == 1; }

    TqlrReportPage* FPage = nullptr;
    TqlrReport* FReport = nullptr;
    bool FUpdating = false;
};

} // namespace qlr
