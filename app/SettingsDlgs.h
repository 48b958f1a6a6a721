// The options dialog: which map overlays are drawn and in which colour, the
// curves of equal magnitude and time with their labels, the position of the
// eclipse information box, and the shading and labels of the lunar map.
//
// The rule a caller must know: the dialog keeps no settings of its own.
// The caller writes every value before showing it and reads them back
// after OK (TakeOptions does both with the map's settings); values typed
// are stored at once, so Cancel only means "do not read them".
//
//     dlg->SetOptions(map.Settings);
//     dlg->SetPageIndex(solar ? 0 : 1);
//     if (dlg->ShowModal() == gui::mrOk) {
//         const bool recompute = OptionsNeedCalculation(map.Settings, dlg->Options());
//         TakeOptions(*dlg, map.Settings);
//     }
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/FloatEdit.h"
#include "app/MapTypes.h"
#include "controls/ExCombo.h"
#include "controls/ExEdit.h"
#include "controls/ExPageControl.h"
#include "controls/ExSelectors.h"
#include "htmltext/htmlbuttons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

using TLEShadingIntensity = std::array<int32_t, 7>;

// The grey of a lunar shading intensity in percent: level = p * 255 / 100
// rounded to the nearest whole number, halves to the even one.
gui::TColor ShadingGrey(int32_t percent);

class TSettingsDlg : public gui::TForm {
public:
    explicit TSettingsDlg(rtl::TComponent* owner);
    ~TSettingsDlg() override;

    // --- components ------------------------------------------------------
    controls::TExPageControl *ExPageControl = nullptr, *SEPageControl = nullptr, *ExPageControl1 = nullptr;
    controls::TExTabSheet *TSSE = nullptr, *TSLE = nullptr, *TSLocations = nullptr, *TSChartInfo = nullptr,
                          *TSTotalAnnularEclipse = nullptr, *TSLimitsOfVisibility = nullptr,
                          *TSCurveOfEqualMagnitude = nullptr, *TSCurveOfEqualTime = nullptr, *TSLEShading = nullptr,
                          *TSLELabels = nullptr;
    // The overlay check boxes and colour selectors by slot (Tag = slot).
    htmltext::THTMLCheckBox *CBShowPOT = nullptr, *CBShowCCE = nullptr, *CBShowCEM = nullptr, *CBShowMA0 = nullptr,
                            *CBShowLVM = nullptr, *CBShowLVF = nullptr, *CBShowLVL = nullptr, *CBShowCET = nullptr,
                            *CBShowCEMLabels = nullptr, *CBShowCETLabels = nullptr, *CBShowLOC = nullptr,
                            *CBShowLOCLabels = nullptr, *CBShowInfo = nullptr, *CBShowLELabels = nullptr,
                            *CBLELongLabels = nullptr;
    controls::TExColorSelector *CSPOTColor = nullptr, *CSCCEColor = nullptr, *CSCEMColor = nullptr,
                               *CSMA0Color = nullptr, *CSLVMColor = nullptr, *CSLVFColor = nullptr,
                               *CSLVLColor = nullptr, *CSCETColor = nullptr, *CSCEMLabelColor = nullptr,
                               *CSCETLabelColor = nullptr, *CSLOCColor = nullptr, *CSLOCLabelColor = nullptr,
                               *CSInfoColor = nullptr, *CSLELabels = nullptr;
    std::array<htmltext::THTMLCheckBox*, MapSlotCount> ShowBoxes{};
    std::array<controls::TExColorSelector*, MapSlotCount> ColorSelectors{};
    // Label1 .. Label20 at their numbers (entry 0 unused).
    std::array<gui::TLabel*, 21> Labels{};
    TFloatEdit *ECEMScale = nullptr, *ECEMWidth = nullptr, *ECETWidth = nullptr;
    controls::TExEdit *ECEMLabelScale = nullptr, *ECEMLabelOffset = nullptr, *ECETScale = nullptr;
    controls::TExComboBox *CBCEMLabelSize = nullptr, *CBCETLabelSize = nullptr, *CBLELabelSize = nullptr,
                          *CBInfoPosition = nullptr;
    gui::TLabel *LInfoCEM = nullptr, *LInfoCET = nullptr, *LIntensity = nullptr;
    std::array<controls::TExEdit*, 7> ELES{};
    std::array<gui::TShape*, 7> Sh{};
    std::array<gui::TLabel*, 7> LELESLabels{};
    gui::TColorDialog* ColorDialog = nullptr;
    gui::TButton *OKBtn = nullptr, *CancelBtn = nullptr;

    // --- properties --------------------------------------------------------
    gui::TColor Colors(int i) const { return FColors[Index(i)]; }
    void SetColors(int i, gui::TColor value);
    bool Flags(int i) const { return FFlags[Index(i)]; }
    void SetFlags(int i, bool value);
    int32_t LEShadingIntensity(int i) const { return FLEShadingIntensity[static_cast<std::size_t>(i)]; }
    void SetLEShadingIntensity(int i, int32_t value);
    double CEMScale() const { return FCEMScale; }
    void SetCEMScale(double value);
    double CEMWidth() const { return FCEMWidth; }
    void SetCEMWidth(double value);
    double CETWidth() const { return FCETWidth; }
    void SetCETWidth(double value);
    int32_t CEMLabelScale() const { return FCEMLabelScale; }
    void SetCEMLabelScale(int32_t value);
    int32_t CEMLabelOffset() const { return FCEMLabelOffset; }
    void SetCEMLabelOffset(int32_t value);
    int32_t CETScale() const { return FCETScale; }
    void SetCETScale(int32_t value);
    int32_t CEMLabelSize() const { return FCEMLabelSize; }
    void SetCEMLabelSize(int32_t value);   // ignored outside 8 .. 16
    int32_t CETLabelSize() const { return FCETLabelSize; }
    void SetCETLabelSize(int32_t value);   // ignored outside 8 .. 16
    int32_t LELabelSize() const { return FLELabelSize; }
    void SetLELabelSize(int32_t value);    // always stored; the list follows 8 .. 16 only
    bool LELongLabels() const { return FLELongLabels; }
    void SetLELongLabels(bool value);
    TInfoPosition InfoPosition() const { return FInfoPosition; }
    void SetInfoPosition(TInfoPosition value);
    int PageIndex() const { return ExPageControl->ActivePageIndex(); }
    void SetPageIndex(int value);

    // Every value at once, from and into the map's settings (VBLWidth is
    // not the dialog's and is left as given).
    void SetOptions(const TMapDrawSettings& s);
    TMapDrawSettings Options(const TMapDrawSettings& base = {}) const;

    // The controls shown only while the slot's flag is set (for slots 8, 9
    // and 11 only while the flag of slot 2, 7 or 10 is set too).
    std::vector<gui::TControl*> SlotControls(int slot) const;

    // --- handlers ------------------------------------------------------------
    void CBShowClick(htmltext::THTMLCheckBox* box);
    void CSColorSelect(controls::TExColorSelector* selector, int index);
    void ELESExit(controls::TExEdit* edit);
    void OKBtnClick();
    // Makes the check boxes and the visibility of the controls follow the
    // fields.
    void UpdateControls();

private:
    static std::size_t Index(int i) { return static_cast<std::size_t>(i < 0 ? 0 : i >= MapSlotCount ? MapSlotCount - 1 : i); }
    void BuildSolarPages();
    void BuildLunarPages();
    void BuildOtherPages();
    void RecolorSwatches();

    double FCEMWidth = 0.01, FCEMScale = 0.25;
    int32_t FCEMLabelOffset = 15, FCEMLabelScale = 30;
    std::array<gui::TColor, MapSlotCount> FColors{};
    std::array<bool, MapSlotCount> FFlags{};
    int32_t FCEMLabelSize = 8;
    TInfoPosition FInfoPosition = ipBottomRight;
    int32_t FCETScale = 30;
    double FCETWidth = 0.3;
    int32_t FCETLabelSize = 8;
    bool FLELongLabels = false;
    int32_t FLELabelSize = 8;
    TLEShadingIntensity FLEShadingIntensity{};
    bool FUpdating = false;
};

// Whether the options changed from `before` to `after` need the map
// computed again: colours and flags of the slots drawn into the map (all
// but 10, 11 and 12, which are drawn at paint time), the curve values
// (compared with a tolerance of 1e-5), the label sizes, the long-label
// switch and the shading.  The information position only repaints.
bool OptionsNeedCalculation(const TMapDrawSettings& before, const TMapDrawSettings& after);

// Takes the dialog's values into the map's settings through their ranges:
// CEM scale and width in (0, 1], CET width at least 0, CET scale and the
// label steps at least 0, label sizes 8 .. 16 (the lunar one any), shading
// 0 .. 100, the information position one of the six.  A value outside its
// range leaves the setting as it was.
void TakeOptions(const TSettingsDlg& dlg, TMapDrawSettings& settings);

} // namespace app
