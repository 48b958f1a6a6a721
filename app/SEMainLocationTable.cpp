// The main window's location table: one row per location of the list with
// the local circumstances of the current eclipse there, in one of five
// layouts (central or partial solar, total, partial or penumbral lunar)
// and in the time scale of the time-shift mode.  The table is rebuilt as a
// whole after every change of the eclipse, the list or the time scale.
#include <cmath>
#include <string>
#include <vector>

#include "app/SEMain.h"
#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

const TColor Grey = TColor(0x808080);
const TColor LightRow = TColor(0xF0FAFF);
const std::string CRLF = "\r\n";

struct THeader {
    const char* Text;
    int Width;
};

// The solver's finer iteration limit for the time of one fill, restored
// also when a fill raises.
struct TFineAccuracy {
    TFineAccuracy() { compute::SetEclipseAccuracy(true); }
    ~TFineAccuracy() { compute::SetEclipseAccuracy(false); }
};

// Local magnitude x 10000, ties to even: the sort key of "by magnitude".
int32_t MagnitudeTag(long double magnitude)
{
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(magnitude) * 10000));
}

// Offset in seconds of the table's time scale at a location.
int TimeOffset(const TObserverData& o, int mode)
{
    if (mode == tsmMLT) return o.MeanLocalTimeShift();
    if (mode == tsmSTZ) return o.StdTimeZone();
    return 0;
}

// "Findlay (USA)", CR LF, "83° 39'  W, 41° 02'  N".
std::string LocationText(const TObserverData& o)
{
    compute::TDMS dms;
    std::string lon, lat;
    compute::RadiansToDMS(dms, o.GeoLongitude());
    compute::LongitudeToText(dms, lon);
    compute::RadiansToDMS(dms, o.GeoLatitude());
    compute::LatitudeToText(dms, lat);
    return o.Place() + CRLF + lon + ", " + lat;
}

std::string DurationText(long double days)
{
    std::string text;
    compute::FormatDHMS(text, days);
    return text;
}

std::string InParentheses(const std::string& text, bool yes) { return yes ? "(" + text + ")" : text; }

// Clears the grid and sets rows, columns, widths and header texts; the
// lunar layouts have three header lines and a taller header row.
void StartTable(grid::TExStringGrid* sg, int locations, const std::vector<THeader>& headers, bool lunar)
{
    sg->Clear();
    sg->SetRowCount(std::max(2, locations + 1));
    sg->SetColCount(static_cast<int>(headers.size()));
    sg->SetFixedRows(1);
    for (int c = 0; c < static_cast<int>(headers.size()); ++c) {
        sg->SetColWidths(c, headers[c].Width);
        std::string text = headers[c].Text;
        for (std::size_t p = text.find(" / "); p != std::string::npos; p = text.find(" / "))
            text.replace(p, 3, CRLF);
        sg->SetCells(c, 0, text);
        if (c > 0) sg->SetCellAlignment(c, 0, TAlignment::taRightJustify);
    }
    if (lunar) sg->SetRowHeights(0, 48);
}

// The start of row r for location i: row colour and the place.
void StartRow(grid::TExStringGrid* sg, int i, const TObserverData& o)
{
    const int r = i + 1;
    sg->SetRowColor(r, i % 2 == 0 ? LightRow : clWhite);
    sg->SetCells(0, r, LocationText(o));
}

// Columns 1 .. last merged into one grey cell saying why nothing is shown.
void NotVisibleRow(grid::TExStringGrid* sg, int r, const std::string& text)
{
    sg->MergeCells(1, r, sg->ColCount() - 1, 1);
    sg->SetCells(1, r, text);
    sg->SetCellFontColor(1, r, Grey);
    sg->SetCellFontStyle(1, r, {});
    sg->SetCellAlignment(1, r, TAlignment::taLeftJustify);
}

void RightAlignRow(grid::TExStringGrid* sg, int r)
{
    for (int c = 1; c < sg->ColCount(); ++c) sg->SetCellAlignment(c, r, TAlignment::taRightJustify);
}

// hh:mm:ss of a contact in the shifted time scale, CR LF, the body's
// altitude with one decimal; grey below the horizon.
void ContactCell(grid::TExStringGrid* sg, int c, int r, long double jd, long double altitude, int zone)
{
    compute::TDateTimeRec rec;
    compute::JDToCivilDateRec(zone, rec, jd);
    std::string time;
    compute::TimeRecToText(rec, true, time);
    sg->SetCells(c, r, time + CRLF + rtl::FloatToStrF(altitude, rtl::TFloatFormat::ffFixed, 15, 1) + "\xC2\xB0");
    sg->SetCellFontColor(c, r, altitude >= 0 ? clBlack : Grey);
}

bool SolarVisible(bool solved, const compute::TSELocalCircumstances& lc)
{
    // A place the solver found no eclipse at has no contacts to show.
    return solved && (lc.SA0 >= 0 || lc.SA2 >= 0 || lc.SA4 >= 0) && lc.Magnitude > 0;
}

std::string MagnitudeCell(const compute::TSELocalCircumstances& lc)
{
    return rtl::FloatToStrF(lc.Magnitude, rtl::TFloatFormat::ffFixed, 15, 3) + CRLF + std::string(1, lc.EclipseType);
}

bool SolveSolar(const compute::TSolarEclipse& see, const TObserverData& o, compute::TSELocalCircumstances& lc)
{
    lc.Longitude = compute::RadiansToDeg(o.GeoLongitude());
    lc.Latitude = compute::RadiansToDeg(o.GeoLatitude());
    return see.LocalCircumstances(lc);
}

} // namespace

std::string CentralDurationText(long double days)
{
    std::string text = DurationText(days);
    if (text.rfind("0:", 0) == 0) text.erase(0, 2);
    return text;
}

int TSEMainForm::SelectedLocationIndex() const
{
    const int index = SG->Row() - SG->FixedRows();
    return index >= 0 && index < FLocationList->Count() ? index : -1;
}

void TSEMainForm::FillLocationTable()
{
    TFineAccuracy fine;
    // One repaint for the whole fill, not one per cell written.
    SG->BeginUpdate();
    try {
        bool filled = false;
        if (FEventType == etSolarEclipse) {
            const std::string& type = SEE.EclipseType();
            if (!type.empty() && (type[0] == 'A' || type[0] == 'H' || type[0] == 'T')) {
                FillCentralSolarTable();
                filled = true;
            } else if (type == "P") {
                FillPartialSolarTable();
                filled = true;
            }
        } else {
            const std::string& type = LEE.EclipseType();
            if (type == "T") FillTotalLunarTable();
            else if (type == "P") FillPartialLunarTable();
            else if (type == "N") FillPenumbralLunarTable();
            filled = type == "T" || type == "P" || type == "N";
        }
        if (!filled) {
            // No eclipse read yet (no catalogue): the places alone, so that
            // the rows still match the list the commands work on.
            FEclipseMap->ClearMarker();
            StartTable(SG, FLocationList->Count(), {{"Location", 180}}, false);
            for (int i = 0; i < FLocationList->Count(); ++i) StartRow(SG, i, *FLocationList->Items(i));
        }
    } catch (...) {
        SG->EndUpdate();
        throw;
    }
    SG->EndUpdate();
    LocationsPanel->Caption()->SetText(rtl::IntToStr(FLocationList->Count()) + " Locations");
    UpdateActionStates();
}

void TSEMainForm::FillCentralSolarTable()
{
    FEclipseMap->ClearMarker();
    const int n = FLocationList->Count();
    StartTable(SG, n,
               {{"Location", 180}, {"Mag.", 48}, {"First / contact", 62}, {"Second / contact", 62},
                {"Maximum / eclipse", 66}, {"Third / contact", 62}, {"Fourth / contact", 62}, {"Duration", 62},
                {"Duration / tot./ann.", 62}},
               false);
    for (int i = 0; i < n; ++i) {
        TObserverData& o = *FLocationList->Items(i);
        const int r = i + 1;
        StartRow(SG, i, o);
        compute::TSELocalCircumstances lc;
        const bool solved = SolveSolar(SEE, o, lc);
        o.Tag = 0;
        if (!SolarVisible(solved, lc)) {
            NotVisibleRow(SG, r, "no eclipse visible");
            continue;
        }
        o.Tag = MagnitudeTag(lc.Magnitude);
        const int z = TimeOffset(o, FTimeShiftMode);
        const bool central = lc.EclipseType == 'A' || lc.EclipseType == 'T';
        RightAlignRow(SG, r);
        SG->SetCells(1, r, MagnitudeCell(lc));
        ContactCell(SG, 2, r, lc.JD0, lc.SA0, z);
        ContactCell(SG, 4, r, lc.JD2, lc.SA2, z);
        ContactCell(SG, 6, r, lc.JD4, lc.SA4, z);
        SG->SetCells(7, r, InParentheses(DurationText(lc.JD4 - lc.JD0), lc.SA0 < 0 || lc.SA4 < 0));
        if (central) {
            ContactCell(SG, 3, r, lc.JD1, lc.SA1, z);
            ContactCell(SG, 5, r, lc.JD3, lc.SA3, z);
            SG->SetCells(8, r, InParentheses(CentralDurationText(lc.JD3 - lc.JD1), lc.SA1 < 0 || lc.SA3 < 0));
            for (int c = 0; c < SG->ColCount(); ++c) SG->SetCellFontStyle(c, r, {TFontStyle::fsBold});
        }
    }
}

void TSEMainForm::FillPartialSolarTable()
{
    FEclipseMap->ClearMarker();
    const int n = FLocationList->Count();
    StartTable(SG, n,
               {{"Location", 140}, {"Mag.", 48}, {"First / contact", 62}, {"Maximum / eclipse", 66},
                {"Last / contact", 62}, {"Duration", 62}},
               false);
    for (int i = 0; i < n; ++i) {
        TObserverData& o = *FLocationList->Items(i);
        const int r = i + 1;
        StartRow(SG, i, o);
        compute::TSELocalCircumstances lc;
        const bool solved = SolveSolar(SEE, o, lc);
        // Kept for places without an eclipse too: sorting by magnitude
        // still orders them.
        o.Tag = MagnitudeTag(lc.Magnitude);
        if (!SolarVisible(solved, lc)) {
            NotVisibleRow(SG, r, "no eclipse visible");
            continue;
        }
        const int z = TimeOffset(o, FTimeShiftMode);
        RightAlignRow(SG, r);
        SG->SetCells(1, r, MagnitudeCell(lc));
        ContactCell(SG, 2, r, lc.JD0, lc.SA0, z);
        ContactCell(SG, 3, r, lc.JD2, lc.SA2, z);
        ContactCell(SG, 4, r, lc.JD4, lc.SA4, z);
        SG->SetCells(5, r, InParentheses(DurationText(lc.JD4 - lc.JD0), lc.SA0 < 0 || lc.SA4 < 0));
    }
}

namespace {

// The lunar contacts by index: P1, U1, U2, greatest eclipse, U3, U4, P4.
enum { P1 = 0, U1 = 1, U2 = 2, GE = 3, U3 = 4, U4 = 5, P4 = 6 };

const THeader LunarContactHeaders[7] = {
    {"Penumbral / phase / begins", 74}, {"Partial / phase / begins", 70}, {"Total / phase / begins", 70},
    {"Maximum / eclipse", 70},          {"Total / phase / ends", 70},     {"Partial / phase / ends", 70},
    {"Penumbral / phase / ends", 74}};

struct TLunarPhase {
    THeader Header;
    int First, Last;   // the phase's contacts
    double Hours;      // its catalogue duration
};

// One lunar layout: the contacts shown, then the phases' durations.
void FillLunarTable(grid::TExStringGrid* sg, TObserverDataList& list, const compute::TLunarEclipse& lee, int mode,
                    const std::vector<int>& contacts, const std::vector<TLunarPhase>& phases, const char* notVisible)
{
    std::vector<THeader> headers{{"Location", 180}};
    for (int k : contacts) headers.push_back(LunarContactHeaders[k]);
    for (const TLunarPhase& p : phases) headers.push_back(p.Header);
    StartTable(sg, list.Count(), headers, true);
    for (int i = 0; i < list.Count(); ++i) {
        TObserverData& o = *list.Items(i);
        const int r = i + 1;
        StartRow(sg, i, o);
        o.Tag = 0;
        compute::TLELocalCircumstances lc;
        lc.Longitude = compute::RadiansToDeg(o.GeoLongitude());
        lc.Latitude = compute::RadiansToDeg(o.GeoLatitude());
        lee.LocalCircumstances(lc);
        if (lc.State == 0) {
            NotVisibleRow(sg, r, notVisible);
            continue;
        }
        const int z = TimeOffset(o, mode);
        RightAlignRow(sg, r);
        int c = 1;
        for (int k : contacts) ContactCell(sg, c++, r, lc.JD[k], lc.Moon[k][1], z);
        for (const TLunarPhase& p : phases) {
            const bool firstDown = lc.Moon[p.First][1] < 0, lastDown = lc.Moon[p.Last][1] < 0;
            sg->SetCells(c, r, InParentheses(DurationText(p.Hours / 24), firstDown || lastDown));
            sg->SetCellFontColor(c, r, firstDown && lastDown ? Grey : clBlack);
            ++c;
        }
    }
}

TLunarPhase PenumbralPhase(const compute::TLunarEclipse& lee)
{
    return {{"Duration of / penumbral / phase", 76}, P1, P4, lee.DurationPenumbra()};
}
TLunarPhase PartialPhase(const compute::TLunarEclipse& lee)
{
    return {{"Duration of / partial / phase", 76}, U1, U4, lee.DurationPartial()};
}
TLunarPhase TotalPhase(const compute::TLunarEclipse& lee)
{
    return {{"Duration of / total / phase", 76}, U2, U3, lee.DurationTotal()};
}

} // namespace

void TSEMainForm::FillTotalLunarTable()
{
    FEclipseMap->ClearMarker();
    FillLunarTable(SG, *FLocationList, LEE, FTimeShiftMode, {P1, U1, U2, GE, U3, U4, P4},
                   {PenumbralPhase(LEE), PartialPhase(LEE), TotalPhase(LEE)}, "no eclipse visible");
}

void TSEMainForm::FillPartialLunarTable()
{
    FEclipseMap->ClearMarker();
    FillLunarTable(SG, *FLocationList, LEE, FTimeShiftMode, {P1, U1, GE, U4, P4},
                   {PenumbralPhase(LEE), PartialPhase(LEE)}, "no eclipse visible");
}

void TSEMainForm::FillPenumbralLunarTable()
{
    FEclipseMap->ClearMarker();
    FillLunarTable(SG, *FLocationList, LEE, FTimeShiftMode, {P1, GE, P4}, {PenumbralPhase(LEE)}, "no eclipse");
}

void TSEMainForm::SGClick(rtl::TObject*)
{
    const int index = SG->Row() - 1;
    FEclipseMap->ClearMarker();
    if (index >= 0 && index < FLocationList->Count()) FEclipseMap->MarkLocation(*FLocationList->Items(index));
    PaintBox->Invalidate();
}

void TSEMainForm::SGDblClick(rtl::TObject*)
{
    if (TAction* a = Action("actLocationsShowInMap"); a && a->Enabled()) a->Execute();
}

} // namespace app
