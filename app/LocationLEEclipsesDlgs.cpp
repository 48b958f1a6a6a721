#include "app/LocationLEEclipsesDlgs.h"

#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

TLocationLEEclipsesDlg::TLocationLEEclipsesDlg(rtl::TComponent* owner) : TLocationEclipsesDlg(owner, "BE_LE")
{
    SetCaption("Lunar Eclipses");
    Constraints()->MinWidth = 710;
    SetClientSize(900, ClientHeight());
    CBIncludePenumbral = new htmltext::THTMLCheckBox(this);
    CBIncludePenumbral->SetParent(this);
    CBIncludePenumbral->SetBounds(500, 334, 120, 32);
    CBIncludePenumbral->SetCaption("include<br>penumbral ecl.");
    CBIncludePenumbral->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akBottom});
    CBIncludePenumbral->OnClick = [this](rtl::TObject*) { CBIncludePenumbralClick(); };
    ProgressBar->SetBounds(626, 340, 266, 20);
    if (CatalogueAvailable()) {
        LE.ReadFromDataSet(CBE);
        try {
            SetCatNo(1);
        } catch (const std::exception&) {
            // A catalogue without number 1: the year search positions it.
        }
    }
}

void TLocationLEEclipsesDlg::SetIncludePenumbral(bool value)
{
    FIncludePenumbral = value;
    CBIncludePenumbral->SetChecked(value);
}

void TLocationLEEclipsesDlg::CBIncludePenumbralClick()
{
    if (Searching()) return;
    FIncludePenumbral = CBIncludePenumbral->Checked();
    // From the start year again, so that the list with and without the
    // penumbral eclipses begins at the same eclipse.
    SetYearStart(YearStart());
    SearchEclipses();
}

void TLocationLEEclipsesDlg::PrepareGrid()
{
    static const char* headers[] = {"Date", "Saros", "delta T", "Type", "Mag.\r\n(umbra)",
                                    "Penumbral\r\nphase\r\nbegins", "Partial\r\nphase\r\nbegins",
                                    "Total\r\nphase\r\nbegins", "Maximum\r\neclipse", "Total\r\nphase\r\nends",
                                    "Partial\r\nphase\r\nends", "Penumbral\r\nphase\r\nends"};
    static const int widths[] = {85, 45, 54, 66, 58, 74, 68, 68, 68, 68, 68, 74};
    SG->SetColCount(12);
    SG->SetRowHeights(0, 45);
    for (int c = 0; c < 12; ++c) {
        SG->SetColWidths(c, widths[c]);
        SG->SetCells(c, 0, headers[c]);
    }
}

bool TLocationLEEclipsesDlg::ReadAndSolve()
{
    LE.ReadFromDataSet(CBE);
    FLC = {};
    FLC.Longitude = compute::RadiansToDeg(FLocation->GeoLongitude());
    FLC.Latitude = compute::RadiansToDeg(FLocation->GeoLatitude());
    LE.LocalCircumstances(FLC);
    const std::string& type = LE.EclipseType();
    return FLC.State != 0 && (type == "T" || type == "P" || (type == "N" && FIncludePenumbral));
}

void TLocationLEEclipsesDlg::FillRow(int r, int z)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, LE.JD());
    std::string text;
    compute::DateRecToText(rec, 0, text);
    SG->SetCells(0, r, text);
    SG->SetCells(1, r, rtl::IntToStr(LE.Saros()));
    compute::FormatDHMS(text, LE.deltaT());
    SG->SetCells(2, r, text);
    const std::string& type = LE.EclipseType();
    SG->SetCells(3, r, type == "T" ? "total" : (type == "P" ? "partial" : "penumbral"));
    SG->SetCells(4, r, rtl::FloatToStrF(LE.MagUmbra(), rtl::TFloatFormat::ffFixed, 15, 3));
    for (int c = 0; c <= 4; ++c) SG->SetCellFontColor(c, r, clBlack);
    // Contacts 0..6 (P1, U1, U2, greatest, U3, U4, P4) in columns 5..11,
    // those the eclipse's kind has.
    static const std::vector<int> total{0, 1, 2, 3, 4, 5, 6}, partial{0, 1, 3, 5, 6}, penumbral{0, 3, 6};
    const std::vector<int>& contacts = type == "T" ? total : (type == "P" ? partial : penumbral);
    for (int k : contacts) ContactCell(5 + k, r, FLC.JD[k], FLC.Moon[k][1], z);
}

} // namespace app
