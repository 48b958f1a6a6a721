#include "app/SplashScreens.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "app/uFileInfo.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/DateTime.h"

namespace app {

using namespace gui;

std::string SplashVersionText()
{
    std::string version = TEC_VERSION_TEXT;
    std::string date;
    std::error_code ec;
    const std::string exe = Application ? Application->ExeName() : "";
    const auto time = std::filesystem::last_write_time(exe, ec);
    if (!ec) {
        const auto sys = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            time - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
        const std::time_t t = std::chrono::system_clock::to_time_t(sys);
        std::tm tm{};
        localtime_r(&t, &tm);
        char buffer[16];
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &tm);
        date = buffer;
    }
    return "v" + version + (date.empty() ? "" : "  (" + date + ")");
}

std::string SplashCreditsMarkup()
{
    return "Solar eclipse predictions after the <a href=\"https://eclipse.gsfc.nasa.gov/SEpubs/5MCSE.html\">"
           "Five Millennium Canon of Solar Eclipses</a>, lunar eclipse predictions after the "
           "<a href=\"https://eclipse.gsfc.nasa.gov/SEpubs/5MCLE.html\">Five Millennium Canon of Lunar "
           "Eclipses</a> (F. Espenak and J. Meeus, NASA).<br><br>"
           "<a href=\"" + MakerWebPage + "\">" + MakerWebPage.substr(MakerWebPage.find("//") + 2) + "</a>";
}

TSplashScreen::TSplashScreen(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("About");
    SetBorderStyle(TBorderStyle::bsNone);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(420, 220);
    // The short date format of the run becomes ISO, as dates in the program show.
    rtl::FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(TAlign::alClient);
    Panel1->SetCaption("");
    Panel1->SetColor(clWhite);
    ProgramIcon = new TImage(this);
    ProgramIcon->SetParent(Panel1);
    ProgramIcon->SetBounds(16, 16, 64, 64);
    ProgramIcon->SetStretch(true);
    ProgramIcon->SetProportional(true);
    {
        TPngImage icon;
        icon.LoadFromResourceName(ProgramIconResource);
        ProgramIcon->Picture()->SetGraphic(&icon);
    }
    ProductName = new TLabel(this);
    ProductName->SetParent(Panel1);
    ProductName->SetBounds(96, 20, 300, 30);
    ProductName->Font()->SetSize(16);
    ProductName->Font()->SetStyle({TFontStyle::fsBold});
    ProductName->SetCaption(Application && !Application->Title().empty() ? Application->Title() : ApplicationTitle);
    Version = new TLabel(this);
    Version->SetParent(Panel1);
    Version->SetBounds(96, 56, 300, 18);
    Version->SetCaption(SplashVersionText());
    HTMLLabel = new htmltext::THTMLLabel(this);
    HTMLLabel->SetParent(Panel1);
    HTMLLabel->SetBounds(16, 96, 388, 110);
    HTMLLabel->SetColor(clWhite);
    rtl::TStringList credits;
    credits.Add(SplashCreditsMarkup());
    HTMLLabel->SetHTMLText(&credits);
    for (TControl* c : std::initializer_list<TControl*>{Panel1, ProductName, HTMLLabel})
        c->OnClick = [this](rtl::TObject*) { ClickClose(); };
    // As the About box, Escape closes it too.
    SetKeyPreview(true);
    OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) {
        if (key == VK_ESCAPE && FCanClose) {
            key = 0;
            ClickClose();
        }
    };
}

void TSplashScreen::ClickClose()
{
    if (FCanClose) SetModalResult(mrOk);
}

} // namespace app
