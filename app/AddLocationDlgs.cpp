#include "app/AddLocationDlgs.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "compute/AstroMath.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

const char* const TimeShiftItems[] = {
    "-12:00", "-11:00", "-10:00", "-9:00", "-8:00", "-7:00", "-6:00", "-5:00", "-4:00", "-3:00", "-2:00",
    "-1:00",  "+0:00",  "+1:00",  "+2:00", "+3:00", "+4:00", "+5:00", "+6:00", "+7:00", "+8:00", "+9:00",
    "+10:00", "+11:00", "+12:00", "ACST",  "AEST",  "AKST",  "AST",   "AWST",  "CET",   "CST",   "CXT",
    "EDT",    "EET",    "EST",    "HAST",  "MEZ",   "MST",   "NFT",   "NST",   "PST",   "UTC"};

// The zone abbreviations the time zone box understands.
const std::pair<const char*, const char*> ZoneAbbreviations[] = {
    {"UTC", "0:00"},    {"NFT", "+11:30"},  {"AEST", "+10:00"}, {"ACST", "+9:30"}, {"AWST", "+8:00"},
    {"CXT", "+7:00"},   {"HAST", "-10:00"}, {"AKST", "-9:00"},  {"PST", "-8:00"},  {"CST", "-6:00"},
    {"EST", "-5:00"},   {"EDT", "-4:00"},   {"NST", "-3:30"},   {"AST", "-3:00"},  {"CET", "+1:00"},
    {"MEZ", "+1:00"},   {"EET", "+2:00"},   {"MST", "-7:00"}};

const char* const Countries[] = {
    "Afghanistan", "Albania", "Algeria", "Andorra", "Angola", "Antigua and Barbuda", "Argentina", "Armenia",
    "Australia", "Austria", "Azerbaijan", "Bahamas", "Bahrain", "Bangladesh", "Barbados", "Belarus", "Belgium",
    "Belize", "Benin", "Bhutan", "Bolivia", "Bosnia and Herzegovina", "Botswana", "Brazil", "Brunei", "Bulgaria",
    "Burkina Faso", "Burma", "Burundi", "Cambodia", "Cameroon", "Canada", "Cape Verde",
    "Central African Republic", "Chad", "Chile", "China", "Colombia", "Comoros", "Congo", "Costa Rica",
    "Cote d'Ivoire", "Croatia", "Cuba", "Cyprus", "Czech Republic", "Denmark", "Djibouti", "Dominica",
    "Dominican Republic", "Ecuador", "Egypt", "El Salvador", "Equatorial Guinea", "Eritrea", "Estonia",
    "Ethiopia", "Fiji", "Finland", "France", "Gabon", "Gambia", "Georgia", "Germany", "Ghana", "Greece",
    "Grenada", "Guatemala", "Guinea", "Guinea-Bissau", "Guyana", "Haiti", "Holy See", "Honduras", "Hong Kong",
    "Hungary", "Iceland", "India", "Indonesia", "Iran", "Iraq", "Ireland", "Israel", "Italy", "Jamaica", "Japan",
    "Jordan", "Kazakhstan", "Kenya", "Kiribati", "Kosovo", "Kuwait", "Kyrgyzstan", "Laos", "Latvia", "Lebanon",
    "Lesotho", "Liberia", "Libya", "Liechtenstein", "Lithuania", "Luxembourg", "Macau", "Macedonia",
    "Madagascar", "Malawi", "Malaysia", "Maldives", "Mali", "Malta", "Marshall Islands", "Mauritania",
    "Mauritius", "Mexico", "Micronesia", "Moldova", "Monaco", "Mongolia", "Montenegro", "Morocco", "Mozambique",
    "Namibia", "Nauru", "Nepal", "Netherlands", "Netherlands Antilles", "New Zealand", "Nicaragua", "Niger",
    "Nigeria", "North Korea", "Norway", "Oman", "Pakistan", "Palau", "Palestinian Territories", "Panama",
    "Papua New Guinea", "Paraguay", "Peru", "Philippines", "Poland", "Portugal", "Qatar", "Romania", "Russia",
    "Rwanda", "Saint Kitts and Nevis", "Saint Lucia", "Saint Vincent and the Grenadines", "Samoa", "San Marino",
    "Sao Tome and Principe", "Saudi Arabia", "Senegal", "Serbia", "Seychelles", "Sierra Leone", "Singapore",
    "Slovakia", "Slovenia", "Solomon Islands", "Somalia", "South Africa", "South Korea", "Spain", "Sri Lanka",
    "Sudan", "Suriname", "Swaziland", "Sweden", "Switzerland", "Syria", "Taiwan", "Tajikistan", "Tanzania",
    "Thailand", "Timor-Leste", "Togo", "Tonga", "Trinidad and Tobago", "Tunisia", "Turkey", "Turkmenistan",
    "Tuvalu", "Uganda", "Ukraine", "United Arab Emirates", "United Kingdom", "Uruguay", "USA", "Uzbekistan",
    "Vanuatu", "Venezuela", "Vietnam", "Yemen", "Zambia", "Zimbabwe"};

std::string LongitudeText(long double radians)
{
    compute::TDMS dms;
    compute::RadiansToDMS(dms, radians);
    std::string text;
    compute::LongitudeToText(dms, text);
    return text;
}

std::string LatitudeText(long double radians)
{
    compute::TDMS dms;
    compute::RadiansToDMS(dms, radians);
    std::string text;
    compute::LatitudeToText(dms, text);
    return text;
}

controls::TExEdit* MakeEdit(TForm* form, int left, int top, int width, const std::string& label)
{
    auto* e = new controls::TExEdit(form);
    e->SetParent(form);
    e->SetBounds(left, top, width, 21);
    e->SetLabelPosition(controls::TExEdit::TLabelPosition::lpTopLeft);
    e->SetLabelCaption(label);
    return e;
}

controls::TExComboBox* MakeCombo(TForm* form, int left, int top, int width, const std::string& label)
{
    auto* c = new controls::TExComboBox(form);
    c->SetParent(form);
    c->SetFlat(true);
    c->SetEtched(true);
    c->SetBounds(left, top, width, 21);
    c->SetLabelPosition(controls::TLabelPosition::lpTopLeft);
    c->SetLabelCaption(label);
    return c;
}

} // namespace

std::string FormatTimeZone(int32_t seconds)
{
    const int32_t a = std::abs(seconds);
    const int32_t minutes = a % 3600 / 60;
    return std::string(seconds < 0 ? "-" : "+") + rtl::IntToStr(a / 3600) + ":" + (minutes < 10 ? "0" : "") +
           rtl::IntToStr(minutes);
}

TAddLocationDlg::TAddLocationDlg(rtl::TComponent* owner) : TForm(owner), FLocation(std::make_unique<TObserverData>())
{
    SetCaption("Location");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(360, 156);

    ELocation = MakeEdit(this, 12, 28, 190, "Location name");
    CBCountry = MakeCombo(this, 212, 28, 136, "Country / Region");
    for (const char* c : Countries) CBCountry->Items()->Add(c);
    CBCountry->OnExit = [this](rtl::TObject*) { CBTimeShiftExit(); };
    ELongitude = MakeEdit(this, 12, 80, 110, "Longitude");
    ELongitude->OnExit = [this](rtl::TObject*) { ELongitudeExit(); };
    ELatitude = MakeEdit(this, 132, 80, 110, "Latitude");
    ELatitude->OnExit = [this](rtl::TObject*) { ELatitudeExit(); };
    CBTimeShift = MakeCombo(this, 252, 80, 96, "Std. time zone");
    for (const char* z : TimeShiftItems) CBTimeShift->Items()->Add(z);
    CBTimeShift->SetDropDownCount(16);
    CBTimeShift->OnExit = [this](rtl::TObject*) { CBTimeShiftExit(); };

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(182, 118, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(268, 118, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    OnShow = [this](rtl::TObject*) {
        if (ELocation->CanFocus()) ELocation->SetFocus();
    };
}

void TAddLocationDlg::SetLocation(const TObserverData* value)
{
    FLocation->Assign(value);
    ELongitude->SetText(LongitudeText(FLocation->GeoLongitude()));
    ELatitude->SetText(LatitudeText(FLocation->GeoLatitude()));
    std::string name, country;
    TObserverDataList::SplitPlaceCountry(FLocation->Place(), name, country);
    ELocation->SetText(name);
    CBCountry->SetText(country);
    CBTimeShift->SetText(FormatTimeZone(FLocation->StdTimeZone()));
}

void TAddLocationDlg::ELongitudeExit()
{
    try {
        compute::TDMS dms;
        compute::ParseLongitude(ELongitude->Text(), dms);
        FLocation->SetGeoLongitude(compute::DMSToRadians(dms));
    } catch (const std::exception&) {
        // An unreadable text keeps the previous longitude.
    }
    ELongitude->SetText(LongitudeText(FLocation->GeoLongitude()));
}

void TAddLocationDlg::ELatitudeExit()
{
    try {
        compute::TDMS dms;
        compute::ParseLatitude(ELatitude->Text(), dms);
        FLocation->SetGeoLatitude(compute::DMSToRadians(dms));
    } catch (const std::exception&) {
        // An unreadable text keeps the previous latitude.
    }
    ELatitude->SetText(LatitudeText(FLocation->GeoLatitude()));
}

void TAddLocationDlg::CBTimeShiftExit()
{
    std::string text = CBTimeShift->Text();
    const std::string upper = rtl::UpperCase(rtl::Trim(text));
    for (const auto& [abbreviation, offset] : ZoneAbbreviations)
        if (upper == abbreviation) {
            text = offset;
            break;
        }
    try {
        long double days = 0;
        compute::ParseDHMS(text, days);
        const long double seconds = std::round(days * 86400);
        // A zone beyond any 32-bit count is no zone; the old one stays.
        if (std::fabs(seconds) < 2e9L) FLocation->SetStdTimeZone(static_cast<int32_t>(seconds));
    } catch (const std::exception&) {
        // Neither an abbreviation nor a time: the previous zone stays.
    }
    CBTimeShift->SetText(FormatTimeZone(FLocation->StdTimeZone()));
}

void TAddLocationDlg::OKBtnClick()
{
    ELongitudeExit();
    ELatitudeExit();
    CBTimeShiftExit();
    const std::string name = rtl::Trim(ELocation->Text());
    const std::string country = rtl::Trim(CBCountry->Text());
    FLocation->SetPlace(country.empty() ? name : name + " (" + country + ")");
}

std::unique_ptr<TObserverData> AskNewLocation()
{
    auto location = std::make_unique<TObserverData>();
    location->SetPlace("");
    location->SetGeoLatitude(0);
    location->SetGeoLongitude(0);
    location->SetGeoElevation(0);
    location->SetStdTimeZone(0);
    location->SetDSTs("");
    TAddLocationDlg dlg(nullptr);
    dlg.SetCaption("Add location to list");
    dlg.SetLocation(location.get());
    if (dlg.ShowModal() != gui::mrOk) return nullptr;
    location->Assign(dlg.Location());
    return location;
}

} // namespace app
