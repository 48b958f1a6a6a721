// The default report output services.

#include "report/qlrOutputServices.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Printers.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {

class TDefaultOutputServices : public IqlrOutputServices {
public:
    bool InputPassword(std::string& password) override
    {
        password.clear();
        return gui::InputQuery("Password", "Enter the password:", password);
    }
    // Until report output brings its table: the sizes the report model
    // names, A4 (9) and Letter (1), in tenths of a millimetre.
    bool LookupPaperSize(int code, long double& width, long double& height) override
    {
        if (code == 9) {
            width = 2100 / 10.0L;
            height = 2970 / 10.0L;
            return true;
        }
        if (code == 1) {
            width = 2159 / 10.0L;
            height = 2794 / 10.0L;
            return true;
        }
        return false;
    }
    // A4 in the orientation the platform printer is set to.
    TqlrPrinterDefaults CurrentPrinterDefaults() override
    {
        TqlrPrinterDefaults d;
        d.DefLandscape = gui::Printer()->Orientation() == gui::TPrinterOrientation::poLandscape;
        return d;
    }
};

std::unique_ptr<IqlrOutputServices>& Registered()
{
    static std::unique_ptr<IqlrOutputServices> services;
    return services;
}

} // namespace

std::unique_ptr<gui::TForm> IqlrOutputServices::CreateDialogForm(rtl::TComponent*, std::function<void()>)
{
    return std::make_unique<gui::TForm>(nullptr);
}

IqlrOutputServices& OutputServices()
{
    static TDefaultOutputServices fallback;
    auto& r = Registered();
    return r ? *r : static_cast<IqlrOutputServices&>(fallback);
}

std::unique_ptr<IqlrOutputServices> RegisterOutputServices(std::unique_ptr<IqlrOutputServices> services)
{
    std::unique_ptr<IqlrOutputServices> old = std::move(Registered());
    Registered() = std::move(services);
    return old;
}

} // namespace qlr
