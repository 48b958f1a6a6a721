#include "app/LocationSEEclipsesDlgs.h"

#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

TLocationSEEclipsesDlg::TLocationSEEclipsesDlg(rtl::TComponent* owner) : TLocationEclipsesDlg(owner, "BE_SE")
{
    SetCaption("Solar Eclipses");
    if (CatalogueAvailable()) {
        SE.ReadFromDataSet(CBE);
        try {
            SetCatNo(1);
        } catch (const std::exception&) {
            // A catalogue without number 1: the year search positions it.
        }
    }
}

void TLocationSEEclipsesDlg::PrepareGrid()
{
    static const char* headers[] = {"Date", "Saros", "delta T", "Mag.", "First\r\ncontact", "Second\r\ncontact",
                                    "Maximum\r\neclipse", "Third\r\ncontact", "Fourth\r\ncontact", "Duration",
                                    "Duration\r\ntot./ann."};
    SG->SetColCount(11);
    for (int c = 0; c < 11; ++c) {
        SG->SetColWidths(c, c == 0 ? 85 : c < 3 ? 50 : c == 6 ? 66 : 62);
        SG->SetCells(c, 0, headers[c]);
    }
}

bool TLocationSEEclipsesDlg::ReadAndSolve()
{
    SE.ReadFromDataSet(CBE);
    FLC = {};
    FLC.Longitude = compute::RadiansToDeg(FLocation->GeoLongitude());
    FLC.Latitude = compute::RadiansToDeg(FLocation->GeoLatitude());
    const bool solved = SE.LocalCircumstances(FLC);
    return solved && (FLC.SA0 >= 0 || FLC.SA2 >= 0 || FLC.SA4 >= 0) && FLC.Magnitude > 0;
}

void TLocationSEEclipsesDlg::FillRow(int r, int z)
{
    const compute::TSELocalCircumstances& lc = FLC;
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(0, rec, SE.JD0());
    std::string text;
    compute::DateRecToText(rec, 0, text);
    SG->SetCells(0, r, text);
    SG->SetCells(1, r, rtl::IntToStr(SE.Saros()));
    compute::FormatDHMS(text, SE.DeltaT());
    SG->SetCells(2, r, text);
    SG->SetCells(3, r, rtl::FloatToStrF(lc.Magnitude, rtl::TFloatFormat::ffFixed, 15, 3) + "\r\n" +
                           std::string(1, lc.EclipseType));
    const bool central = lc.EclipseType == 'A' || lc.EclipseType == 'T';
    ContactCell(4, r, lc.JD0, lc.SA0, z);
    ContactCell(6, r, lc.JD2, lc.SA2, z);
    ContactCell(8, r, lc.JD4, lc.SA4, z);
    compute::FormatDHMS(text, lc.JD4 - lc.JD0);
    SG->SetCells(9, r, lc.SA0 >= 0 && lc.SA4 >= 0 ? text : "(" + text + ")");
    if (central) {
        ContactCell(5, r, lc.JD1, lc.SA1, z);
        ContactCell(7, r, lc.JD3, lc.SA3, z);
        compute::FormatDHMS(text, lc.JD3 - lc.JD1);
        if (text.rfind("0:", 0) == 0) text.erase(0, 2);
        SG->SetCells(10, r, lc.SA1 >= 0 && lc.SA3 >= 0 ? text : "(" + text + ")");
        for (int c = 0; c < 11; ++c) SG->SetCellFontStyle(c, r, {TFontStyle::fsBold});
    }
}

} // namespace app
