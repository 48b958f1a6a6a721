#include "app/SettingsDlgs.h"

#include <cmath>

#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

const char* const CEMScaleInfo =
    "The Scale parameter determines the magnitude interval of the set of curves of equal magnitude. For instance, "
    "with a value of 0.25 the curves of magnitude 0.25, 0.50, and 0.75 will be shown.";
const char* const CEMWidthInfo =
    "The Width parameter specifies the colored magnitude range of the curves of equal magnitude. For instance, with "
    "a value of 0.01 the curve of magnitude 0.25 is colored as the magnitude range 0.24-0.26, the curve of magnitude "
    "0.50 as the range 0.49-0.51 and so on.";
const char* const CEMLabelInfo =
    "Magnitude labels are aligned to the map's longitude lines. The Scale and Scale offset parameters are measured "
    "in degrees of longitude. For instance, with values of 30\u00b0 (scale) and 15\u00b0 (offset) magnitude labels "
    "are drawn at longitudes 15\u00b0, 45\u00b0, 75\u00b0, 105\u00b0 and so on.";
const char* const CEMSizeInfo = "The Size parameter specifies the font size used for magnitude labels.";
const char* const CETScaleInfo =
    "The Scale parameter determines the time interval of the set of curves of equal time (of maximum eclipse) in "
    "minutes. For instance, with a value of 30 the curves 12:00, 12:30, 13:00, 13:30 (and so on) will be shown.";
const char* const CETWidthInfo =
    "The Width parameter specifies the colored time range (in minutes) of the curves of equal time of maximum "
    "eclipse. For instance, with a value of 0.3 minutes (18 seconds) the curve of time 15:00 is colored as the time "
    "range 14:59:42 - 15:00:18, the curve of time 15:30 as the range 15:29:42 - 15:30:18 and so on.";
const char* const CETSizeInfo =
    "The Size parameter specifies the font size used for time labels. Note, that times are given in universat time "
    "(UT)";

// The 40 palette colours of the selectors, in order.
const TColor Palette[40] = {
    clBlack,  13209,    13107,    13056,    6697728,  clNavy,    3486515,  3355443,  clMaroon, 26367,
    clOlive,  clGreen,  clTeal,   clBlue,   10053222, clGray,    clRed,    39423,    52377,    6723891,
    13421619, 16737843, clPurple, 10066329, clFuchsia, 52479,    clYellow, clLime,   clAqua,   16763904,
    6697881,  clSilver, 13408767, 10079487, 10092543, 13434828, 16777164, 16764057, 16751052, clWhite,
};

const char* const ShadingCaptions[7] = {
    "Eclipse not observable",
    "Part of penumbral phase observable only",
    "Part of partial phase observable only",
    "Part of total phase observable only",
    "Eclipse partial observable only, but entire total phase ",
    "Eclipse partial observable only, but entire partial phase",
    "Entire eclipse observable",
};

controls::TExTabSheet* Sheet(rtl::TComponent* owner, controls::TExPageControl* pc, const std::string& caption)
{
    auto* s = new controls::TExTabSheet(owner);
    s->SetExPageControl(pc);
    s->SetCaption(caption);
    s->SetColor(clBtnFace);
    s->SetColorTo(clNone);
    s->SetTabColor(clBtnFace);
    s->SetTabColorTo(clNone);
    return s;
}

controls::TExPageControl* PageControl(rtl::TComponent* owner, TWinControl* parent, int l, int t, int w, int h)
{
    auto* pc = new controls::TExPageControl(owner);
    pc->SetParent(parent);
    pc->SetBounds(l, t, w, h);
    pc->SetTabBackGroundColor(clBtnFace);
    return pc;
}

TLabel* Label(rtl::TComponent* owner, TWinControl* parent, int l, int t, const std::string& caption)
{
    auto* label = new TLabel(owner);
    label->SetParent(parent);
    label->SetLeft(l);
    label->SetTop(t);
    label->SetCaption(caption);
    return label;
}

controls::TExComboBox* SizeList(rtl::TComponent* owner, TWinControl* parent, int l, int t, const std::string& label)
{
    auto* cb = new controls::TExComboBox(owner);
    cb->SetParent(parent);
    cb->SetFlat(true);
    cb->SetEtched(true);
    cb->SetButtonWidth(18);
    cb->SetBounds(l, t, 60, 21);
    cb->SetStyle(TComboBoxStyle::csDropDownList);
    for (int size = 8; size <= 16; ++size) cb->Items()->Add(std::to_string(size));
    cb->SetItemIndex(0);
    cb->SetLabelCaption(label);
    cb->SetLabelPosition(controls::TLabelPosition::lpLeftCenter);
    return cb;
}

controls::TExEdit* WholeNumberEdit(rtl::TComponent* owner, TWinControl* parent, int l, int t)
{
    auto* e = new controls::TExEdit(owner);
    e->SetParent(parent);
    e->SetBounds(l, t, 60, 21);
    e->SetEditType(controls::TExEditType::etNumeric);
    e->SetSigned(false);
    e->SetEditAlign(controls::TEditAlign::eaRight);
    return e;
}

TFloatEdit* FloatEdit(rtl::TComponent* owner, TWinControl* parent, int l, int t, long double lo, long double hi)
{
    auto* e = new TFloatEdit(owner);
    e->SetParent(parent);
    e->SetBounds(l, t, 60, 21);
    e->SetMinValue(lo);
    e->SetMaxValue(hi);
    e->SetDigits(3);
    return e;
}

} // namespace

TColor ShadingGrey(int32_t percent)
{
    const int64_t v = static_cast<int64_t>(percent) * 255;
    int64_t q = v / 100;
    const int64_t r = v % 100;
    if (r > 50 || (r == 50 && q % 2 != 0)) ++q;
    const int level = static_cast<int>(q < 0 ? 0 : q > 255 ? 255 : q);
    return static_cast<TColor>(level | (level << 8) | (level << 16));
}

TSettingsDlg::TSettingsDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Options");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientSize(560, 340);

    ExPageControl = PageControl(this, this, 8, 8, 544, 290);
    TSSE = Sheet(this, ExPageControl, "Solar eclipses");
    TSLE = Sheet(this, ExPageControl, "Lunar eclipses");
    TSLocations = Sheet(this, ExPageControl, "Locations");
    TSChartInfo = Sheet(this, ExPageControl, "Chart information");

    // The 14 overlay check boxes and colour selectors; their pages place them.
    static const char* const captions[MapSlotCount] = {
        "Show path of total or<br>annular phase",
        "Show curve of central<br>eclipse",
        "Show curves of equal<br>magnitude",
        "Show curves of limit of<br>visibility of eclipse (mag=0)",
        "Show curves of limit of<br>visibility of maximum eclipse",
        "Show curves of limit of<br>visibility of first contact",
        "Show curves of limit of<br>visibility of last contact",
        "Show curves of equal<br>time of max. eclipse",
        "Show magnitude labels",
        "Show time labels",
        "Show locations",
        "Show location labels",
        "Show eclipse information",
        "Show labels",
    };
    for (int slot = 0; slot < MapSlotCount; ++slot) {
        auto* box = new htmltext::THTMLCheckBox(this);
        box->SetCaption(captions[slot]);
        box->SetTag(slot);
        box->OnClick = [this, box](rtl::TObject*) { CBShowClick(box); };
        ShowBoxes[static_cast<std::size_t>(slot)] = box;
        auto* cs = new controls::TExColorSelector(this);
        cs->SetStyle(controls::TExSelectorStyle::ssButton);
        cs->SetTag(slot);
        cs->SetShowRGBHint(true);
        // The palette and a full-width "More Colors..." as item 40.
        cs->Tools()->Clear();
        for (TColor c : Palette) cs->Tools()->Add()->SetBackGroundColor(c);
        controls::TExSelectorItem* more = cs->Tools()->Add();
        more->SetItemType(controls::TSelectorItemType::itFullWidthButton);
        more->SetCaptionAlignment(TAlignment::taCenter);
        more->SetCaption("More Colors...");
        more->SetHint("More Color");
        more->SetBackGroundColor(clNone);
        cs->OnSelect = [this, cs](rtl::TObject*, int index, controls::TExSelectorItem*) { CSColorSelect(cs, index); };
        ColorSelectors[static_cast<std::size_t>(slot)] = cs;
    }
    CBShowPOT = ShowBoxes[0], CBShowCCE = ShowBoxes[1], CBShowCEM = ShowBoxes[2], CBShowMA0 = ShowBoxes[3];
    CBShowLVM = ShowBoxes[4], CBShowLVF = ShowBoxes[5], CBShowLVL = ShowBoxes[6], CBShowCET = ShowBoxes[7];
    CBShowCEMLabels = ShowBoxes[8], CBShowCETLabels = ShowBoxes[9], CBShowLOC = ShowBoxes[10];
    CBShowLOCLabels = ShowBoxes[11], CBShowInfo = ShowBoxes[12], CBShowLELabels = ShowBoxes[13];
    CSPOTColor = ColorSelectors[0], CSCCEColor = ColorSelectors[1], CSCEMColor = ColorSelectors[2];
    CSMA0Color = ColorSelectors[3], CSLVMColor = ColorSelectors[4], CSLVFColor = ColorSelectors[5];
    CSLVLColor = ColorSelectors[6], CSCETColor = ColorSelectors[7], CSCEMLabelColor = ColorSelectors[8];
    CSCETLabelColor = ColorSelectors[9], CSLOCColor = ColorSelectors[10], CSLOCLabelColor = ColorSelectors[11];
    CSInfoColor = ColorSelectors[12], CSLELabels = ColorSelectors[13];

    BuildSolarPages();
    BuildLunarPages();
    BuildOtherPages();

    ColorDialog = new TColorDialog(this);
    ColorDialog->FullOpen = true;

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(396, 308, 75, 25);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(477, 308, 75, 25);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    // FormCreate: the first page and its first sub-page.
    ExPageControl->SetActivePage(TSSE);
    SEPageControl->SetActivePage(TSTotalAnnularEclipse);
    ExPageControl1->SetActivePage(TSLEShading);
    // The edits start with the fields' values (the caller writes its own).
    SetOptions(Options());
}

TSettingsDlg::~TSettingsDlg() = default;

// A slot's row: its check box at (8, y), "Color" and the selector beside it.
static void PlaceSlot(TSettingsDlg& d, int slot, TWinControl* page, int y, int labelNumber)
{
    htmltext::THTMLCheckBox* box = d.ShowBoxes[static_cast<std::size_t>(slot)];
    box->SetParent(page);
    box->SetBounds(8, y, 230, 34);
    d.Labels[static_cast<std::size_t>(labelNumber)] = Label(&d, page, 250, y + 10, "Color");
    controls::TExColorSelector* cs = d.ColorSelectors[static_cast<std::size_t>(slot)];
    cs->SetParent(page);
    cs->SetBounds(290, y + 6, 60, 22);
}

void TSettingsDlg::BuildSolarPages()
{
    SEPageControl = PageControl(this, TSSE, 4, 4, 530, 254);
    TSTotalAnnularEclipse = Sheet(this, SEPageControl, "Total / annular eclipse");
    TSLimitsOfVisibility = Sheet(this, SEPageControl, "Limits of visibility");
    TSCurveOfEqualMagnitude = Sheet(this, SEPageControl, "Curves of equal magnitude");
    TSCurveOfEqualTime = Sheet(this, SEPageControl, "Curves of equal time");

    PlaceSlot(*this, 0, TSTotalAnnularEclipse, 8, 3);
    PlaceSlot(*this, 1, TSTotalAnnularEclipse, 48, 4);
    PlaceSlot(*this, 3, TSLimitsOfVisibility, 8, 7);
    PlaceSlot(*this, 4, TSLimitsOfVisibility, 48, 8);
    PlaceSlot(*this, 5, TSLimitsOfVisibility, 88, 6);
    PlaceSlot(*this, 6, TSLimitsOfVisibility, 128, 5);

    // Curves of equal magnitude, with their labels and an explanation.
    TWinControl* cem = TSCurveOfEqualMagnitude;
    PlaceSlot(*this, 2, cem, 4, 1);
    Labels[16] = Label(this, cem, 24, 44, "Scale [mag]");
    ECEMScale = FloatEdit(this, cem, 110, 40, 0.01L, 1.0L);
    Labels[17] = Label(this, cem, 24, 70, "Width [mag]");
    // A width of 0 would draw nothing and is refused by the map: the
    // smallest width shown with three decimals is the least one taken.
    ECEMWidth = FloatEdit(this, cem, 110, 66, 0.001L, 1.0L);
    PlaceSlot(*this, 8, cem, 92, 2);
    CBShowCEMLabels->SetLeft(24);
    CBShowCEMLabels->SetWidth(214);
    Labels[18] = Label(this, cem, 40, 134, "Scale [\u00b0]");
    ECEMLabelScale = WholeNumberEdit(this, cem, 110, 130);
    Labels[19] = Label(this, cem, 40, 160, "Scale offset");
    ECEMLabelOffset = WholeNumberEdit(this, cem, 110, 156);
    CBCEMLabelSize = SizeList(this, cem, 110, 182, "Size");
    LInfoCEM = Label(this, cem, 250, 130, "");
    LInfoCEM->SetAutoSize(false);
    LInfoCEM->SetWordWrap(true);
    LInfoCEM->SetBounds(200, 130, 320, 92);
    for (TWinControl* c : {static_cast<TWinControl*>(ECEMScale), static_cast<TWinControl*>(ECEMWidth),
                           static_cast<TWinControl*>(ECEMLabelScale), static_cast<TWinControl*>(ECEMLabelOffset),
                           static_cast<TWinControl*>(CBCEMLabelSize)}) {
        const char* text = c == ECEMScale ? CEMScaleInfo : c == ECEMWidth ? CEMWidthInfo
                           : c == CBCEMLabelSize                          ? CEMSizeInfo
                                                                          : CEMLabelInfo;
        c->OnEnter = [this, text](rtl::TObject*) { LInfoCEM->SetCaption(text); };
        // ECEMExit; the float edits commit their text themselves.
        auto previous = c->OnExit;
        c->OnExit = [this, previous](rtl::TObject* s) {
            if (previous) previous(s);
            LInfoCEM->SetCaption("");
        };
    }
    CBCEMLabelSize->OnChange = [this](rtl::TObject*) { FCEMLabelSize = CBCEMLabelSize->ItemIndex() + 8; };

    // Curves of equal time.
    TWinControl* cet = TSCurveOfEqualTime;
    PlaceSlot(*this, 7, cet, 4, 13);
    Labels[14] = Label(this, cet, 24, 44, "Scale [min]");
    ECETScale = WholeNumberEdit(this, cet, 110, 40);
    ECETScale->SetHint("Scale interval of curves of equal time in minutes");
    ECETScale->SetShowHint(true);
    Labels[15] = Label(this, cet, 24, 70, "Width [min]");
    ECETWidth = FloatEdit(this, cet, 110, 66, 0.0L, 10.0L);
    ECETWidth->SetHint("Width of curves of equal time in minutes");
    ECETWidth->SetShowHint(true);
    PlaceSlot(*this, 9, cet, 92, 12);
    CBShowCETLabels->SetLeft(24);
    CBShowCETLabels->SetWidth(214);
    CBCETLabelSize = SizeList(this, cet, 110, 130, "Size");
    LInfoCET = Label(this, cet, 190, 130, "");
    LInfoCET->SetAutoSize(false);
    LInfoCET->SetWordWrap(true);
    LInfoCET->SetBounds(200, 130, 320, 92);
    for (TWinControl* c : {static_cast<TWinControl*>(ECETScale), static_cast<TWinControl*>(ECETWidth),
                           static_cast<TWinControl*>(CBCETLabelSize)}) {
        const char* text = c == ECETScale ? CETScaleInfo : c == ECETWidth ? CETWidthInfo : CETSizeInfo;
        c->OnEnter = [this, text](rtl::TObject*) { LInfoCET->SetCaption(text); };
        auto previous = c->OnExit;
        c->OnExit = [this, previous](rtl::TObject* s) {
            if (previous) previous(s);
            LInfoCET->SetCaption("");
        };
    }
    CBCETLabelSize->OnChange = [this](rtl::TObject*) { FCETLabelSize = CBCETLabelSize->ItemIndex() + 8; };
}

void TSettingsDlg::BuildLunarPages()
{
    ExPageControl1 = PageControl(this, TSLE, 4, 4, 530, 254);
    TSLEShading = Sheet(this, ExPageControl1, "Shading");
    TSLELabels = Sheet(this, ExPageControl1, "Labels");

    LIntensity = Label(this, TSLEShading, 8, 6, "Intensity [%]");
    for (int i = 0; i < 7; ++i) {
        const int y = 26 + i * 28;
        controls::TExEdit* e = WholeNumberEdit(this, TSLEShading, 8, y);
        e->SetWidth(50);
        e->SetTag(i);
        e->OnExit = [this, e](rtl::TObject*) { ELESExit(e); };
        ELES[static_cast<std::size_t>(i)] = e;
        auto* sh = new TShape(this);
        sh->SetParent(TSLEShading);
        sh->SetBounds(66, y + 1, 19, 19);
        Sh[static_cast<std::size_t>(i)] = sh;
        LELESLabels[static_cast<std::size_t>(i)] = Label(this, TSLEShading, 94, y + 3, ShadingCaptions[i]);
    }

    PlaceSlot(*this, 13, TSLELabels, 8, 20);
    CBLELongLabels = new htmltext::THTMLCheckBox(this);
    CBLELongLabels->SetParent(TSLELabels);
    CBLELongLabels->SetBounds(24, 48, 200, 22);
    CBLELongLabels->SetCaption("Long captions");
    CBLELongLabels->OnClick = [this](rtl::TObject*) { SetLELongLabels(CBLELongLabels->Checked()); };
    CBLELabelSize = SizeList(this, TSLELabels, 60, 84, "Size");
    CBLELabelSize->OnChange = [this](rtl::TObject*) { FLELabelSize = CBLELabelSize->ItemIndex() + 8; };
}

void TSettingsDlg::BuildOtherPages()
{
    PlaceSlot(*this, 10, TSLocations, 8, 10);
    PlaceSlot(*this, 11, TSLocations, 48, 9);
    CBShowLOCLabels->SetLeft(24);
    CBShowLOCLabels->SetWidth(214);
    PlaceSlot(*this, 12, TSChartInfo, 8, 11);
    CBInfoPosition = new controls::TExComboBox(this);
    CBInfoPosition->SetParent(TSChartInfo);
    CBInfoPosition->SetFlat(true);
    CBInfoPosition->SetEtched(true);
    CBInfoPosition->SetButtonWidth(18);
    CBInfoPosition->SetBounds(90, 52, 120, 21);
    CBInfoPosition->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* item : {"top left", "top center", "top right", "bottom left", "bottom center", "bottom right"})
        CBInfoPosition->Items()->Add(item);
    CBInfoPosition->SetLabelCaption("Alignment");
    CBInfoPosition->SetLabelPosition(controls::TLabelPosition::lpLeftCenter);
    CBInfoPosition->SetItemIndex(static_cast<int>(FInfoPosition));
    CBInfoPosition->OnChange = [this](rtl::TObject*) {
        const int i = CBInfoPosition->ItemIndex();
        if (i >= 0 && i <= 5) FInfoPosition = static_cast<TInfoPosition>(i);
    };
}

// ------------------------------------------------------------ properties

void TSettingsDlg::SetColors(int i, TColor value)
{
    FColors[Index(i)] = value;
    ColorSelectors[Index(i)]->SetSelectedColor(value);
}

void TSettingsDlg::SetFlags(int i, bool value)
{
    FFlags[Index(i)] = value;
    UpdateControls();
}

void TSettingsDlg::SetLEShadingIntensity(int i, int32_t value)
{
    if (i < 0 || i > 6) return;
    FLEShadingIntensity[static_cast<std::size_t>(i)] = value;
    ELES[static_cast<std::size_t>(i)]->SetIntValue(value);
    RecolorSwatches();
}

void TSettingsDlg::SetCEMScale(double value)
{
    FCEMScale = value;
    ECEMScale->SetValue(value);
}

void TSettingsDlg::SetCEMWidth(double value)
{
    FCEMWidth = value;
    ECEMWidth->SetValue(value);
}

void TSettingsDlg::SetCETWidth(double value)
{
    FCETWidth = value;
    ECETWidth->SetValue(value);
}

void TSettingsDlg::SetCEMLabelScale(int32_t value)
{
    FCEMLabelScale = value;
    ECEMLabelScale->SetIntValue(value);
}

void TSettingsDlg::SetCEMLabelOffset(int32_t value)
{
    FCEMLabelOffset = value;
    ECEMLabelOffset->SetIntValue(value);
}

void TSettingsDlg::SetCETScale(int32_t value)
{
    FCETScale = value;
    ECETScale->SetIntValue(value);
}

void TSettingsDlg::SetCEMLabelSize(int32_t value)
{
    if (value < 8 || value > 16) return;
    FCEMLabelSize = value;
    CBCEMLabelSize->SetItemIndex(value - 8);
}

void TSettingsDlg::SetCETLabelSize(int32_t value)
{
    if (value < 8 || value > 16) return;
    FCETLabelSize = value;
    CBCETLabelSize->SetItemIndex(value - 8);
}

void TSettingsDlg::SetLELabelSize(int32_t value)
{
    FLELabelSize = value;
    if (value >= 8 && value <= 16) CBLELabelSize->SetItemIndex(value - 8);
}

void TSettingsDlg::SetLELongLabels(bool value)
{
    FLELongLabels = value;
    UpdateControls();
}

void TSettingsDlg::SetInfoPosition(TInfoPosition value)
{
    FInfoPosition = value;
    CBInfoPosition->SetItemIndex(static_cast<int>(value));
}

void TSettingsDlg::SetPageIndex(int value) { ExPageControl->SetActivePageIndex(value); }

void TSettingsDlg::SetOptions(const TMapDrawSettings& s)
{
    for (int i = 0; i < MapSlotCount; ++i) {
        SetColors(i, s.Colors[static_cast<std::size_t>(i)]);
        SetFlags(i, s.Flags[static_cast<std::size_t>(i)]);
    }
    SetCEMScale(s.CEMScale);
    SetCEMWidth(s.CEMWidth);
    SetCEMLabelScale(s.CEMLabelScale);
    SetCEMLabelOffset(s.CEMLabelOffset);
    SetCEMLabelSize(s.CEMLabelSize);
    SetCETScale(s.CETScale);
    SetCETWidth(s.CETWidth);
    SetCETLabelSize(s.CETLabelSize);
    SetInfoPosition(s.InfoPosition);
    for (int i = 0; i < 7; ++i) SetLEShadingIntensity(i, s.LEShadingIntensity[static_cast<std::size_t>(i)]);
    SetLELabelSize(s.LELabelSize);
    SetLELongLabels(s.LELongLabels);
}

TMapDrawSettings TSettingsDlg::Options(const TMapDrawSettings& base) const
{
    TMapDrawSettings s = base;
    s.Colors = FColors;
    s.Flags = FFlags;
    s.CEMScale = FCEMScale;
    s.CEMWidth = FCEMWidth;
    s.CEMLabelScale = FCEMLabelScale;
    s.CEMLabelOffset = FCEMLabelOffset;
    s.CEMLabelSize = FCEMLabelSize;
    s.CETScale = FCETScale;
    s.CETWidth = FCETWidth;
    s.CETLabelSize = FCETLabelSize;
    s.InfoPosition = FInfoPosition;
    s.LEShadingIntensity = FLEShadingIntensity;
    s.LELabelSize = FLELabelSize;
    s.LELongLabels = FLELongLabels;
    return s;
}

std::vector<TControl*> TSettingsDlg::SlotControls(int slot) const
{
    auto L = [this](int n) -> TControl* { return Labels[static_cast<std::size_t>(n)]; };
    auto C = [this](int s) -> TControl* { return ColorSelectors[static_cast<std::size_t>(s)]; };
    switch (slot) {
    case 0: return {C(0), L(3)};
    case 1: return {C(1), L(4)};
    case 2: return {C(2), L(1), L(16), L(17), ECEMScale, ECEMWidth, CBShowCEMLabels};
    case 3: return {C(3), L(7)};
    case 4: return {C(4), L(8)};
    case 5: return {C(5), L(6)};
    case 6: return {C(6), L(5)};
    case 7: return {C(7), L(13), L(14), L(15), ECETScale, ECETWidth, CBShowCETLabels};
    case 8: return {C(8), L(2), L(18), L(19), ECEMLabelScale, ECEMLabelOffset, CBCEMLabelSize};
    case 9: return {C(9), L(12), CBCETLabelSize};
    case 10: return {C(10), L(10), CBShowLOCLabels};
    case 11: return {C(11), L(9)};
    case 12: return {C(12), L(11), CBInfoPosition};
    case 13: return {C(13), L(20), CBLELongLabels};
    default: return {};
    }
}

// --------------------------------------------------------------- handlers

void TSettingsDlg::UpdateControls()
{
    if (FUpdating) return;
    FUpdating = true;
    for (int slot = 0; slot < MapSlotCount; ++slot)
        ShowBoxes[static_cast<std::size_t>(slot)]->SetChecked(FFlags[static_cast<std::size_t>(slot)]);
    for (int slot = 0; slot < MapSlotCount; ++slot) {
        bool shown = FFlags[static_cast<std::size_t>(slot)];
        // The label slots need their curves (or locations) shown too.
        if (slot == slotCEMLabels) shown = shown && FFlags[slotCEM];
        if (slot == slotCETLabels) shown = shown && FFlags[slotCET];
        if (slot == slotLocationNames) shown = shown && FFlags[slotLocations];
        for (TControl* c : SlotControls(slot))
            if (c) c->SetVisible(shown);
    }
    CBLELongLabels->SetChecked(FLELongLabels);
    FUpdating = false;
}

void TSettingsDlg::CBShowClick(htmltext::THTMLCheckBox* box)
{
    if (FUpdating) return;
    FFlags[Index(box->Tag())] = box->Checked();
    UpdateControls();
}

void TSettingsDlg::CSColorSelect(controls::TExColorSelector* selector, int index)
{
    if (index == 40) {
        ColorDialog->Color = selector->SelectedColor();
        ColorDialog->FullOpen = true;
        if (ColorDialog->Execute()) selector->SetSelectedColor(ColorDialog->Color);
    }
    FColors[Index(selector->Tag())] = selector->SelectedColor();
}

void TSettingsDlg::RecolorSwatches()
{
    for (std::size_t i = 0; i < 7; ++i) {
        if (!Sh[i]) continue;
        Sh[i]->Brush()->SetColor(ShadingGrey(FLEShadingIntensity[i]));
        Sh[i]->Invalidate();
    }
}

void TSettingsDlg::ELESExit(controls::TExEdit* edit)
{
    const std::size_t i = static_cast<std::size_t>(edit->Tag() < 0 ? 0 : edit->Tag() > 6 ? 6 : edit->Tag());
    const int32_t value = edit->IntValue();
    if (value >= 0 && value <= 100) {
        FLEShadingIntensity[i] = value;
    } else {
        ShowMessage("The value exceeds the allowed range [0..100].");
        edit->SetIntValue(FLEShadingIntensity[i]);
        if (edit->CanFocus()) edit->SetFocus();
    }
    RecolorSwatches();
}

void TSettingsDlg::OKBtnClick()
{
    // Reading a real-number edit commits its text; a refused text keeps the
    // value before.
    FCEMScale = static_cast<double>(ECEMScale->Value());
    FCEMWidth = static_cast<double>(ECEMWidth->Value());
    FCETScale = ECETScale->IntValue();
    FCETWidth = static_cast<double>(ECETWidth->Value());
    FCEMLabelScale = ECEMLabelScale->IntValue();
    FCEMLabelOffset = ECEMLabelOffset->IntValue();
    SetModalResult(mrOk);
}

// ------------------------------------------------------------- decisions

bool OptionsNeedCalculation(const TMapDrawSettings& before, const TMapDrawSettings& after)
{
    for (int slot : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13}) {
        const std::size_t i = static_cast<std::size_t>(slot);
        if (before.Colors[i] != after.Colors[i] || before.Flags[i] != after.Flags[i]) return true;
    }
    auto differ = [](double a, double b) { return std::fabs(a - b) > 1e-5; };
    if (differ(before.CEMScale, after.CEMScale) || differ(before.CEMWidth, after.CEMWidth) ||
        differ(before.CETScale, after.CETScale) || differ(before.CETWidth, after.CETWidth) ||
        differ(before.CEMLabelScale, after.CEMLabelScale) || differ(before.CEMLabelOffset, after.CEMLabelOffset) ||
        differ(before.CEMLabelSize, after.CEMLabelSize) || differ(before.CETLabelSize, after.CETLabelSize) ||
        differ(before.LELabelSize, after.LELabelSize))
        return true;
    return before.LELongLabels != after.LELongLabels || before.LEShadingIntensity != after.LEShadingIntensity;
}

void TakeOptions(const TSettingsDlg& dlg, TMapDrawSettings& d)
{
    for (int i = 0; i < MapSlotCount; ++i) {
        d.Colors[static_cast<std::size_t>(i)] = dlg.Colors(i);
        d.Flags[static_cast<std::size_t>(i)] = dlg.Flags(i);
    }
    if (dlg.CEMScale() > 0 && dlg.CEMScale() <= 1) d.CEMScale = dlg.CEMScale();
    if (dlg.CEMWidth() > 0 && dlg.CEMWidth() <= 1) d.CEMWidth = dlg.CEMWidth();
    if (dlg.CEMLabelScale() >= 0) d.CEMLabelScale = dlg.CEMLabelScale();
    if (dlg.CEMLabelOffset() >= 0) d.CEMLabelOffset = dlg.CEMLabelOffset();
    if (dlg.CEMLabelSize() >= 8 && dlg.CEMLabelSize() <= 16) d.CEMLabelSize = dlg.CEMLabelSize();
    // A step of 0 minutes draws no curves of equal time.
    if (dlg.CETScale() >= 0) d.CETScale = dlg.CETScale();
    if (dlg.CETWidth() >= 0) d.CETWidth = dlg.CETWidth();
    if (dlg.CETLabelSize() >= 8 && dlg.CETLabelSize() <= 16) d.CETLabelSize = dlg.CETLabelSize();
    for (int i = 0; i < 7; ++i) {
        const int32_t v = dlg.LEShadingIntensity(i);
        if (v >= 0 && v <= 100) d.LEShadingIntensity[static_cast<std::size_t>(i)] = v;
    }
    d.LELabelSize = dlg.LELabelSize();
    d.LELongLabels = dlg.LELongLabels();
    const int pos = static_cast<int>(dlg.InfoPosition());
    if (pos >= 0 && pos <= 5) d.InfoPosition = dlg.InfoPosition();
}

} // namespace app
