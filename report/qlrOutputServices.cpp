// The default report output services.

#include "report/qlrOutputServices.h"

#include "platform/gui/Dialogs.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {

class TDefaultOutputServices : public IqlrOutputServices {
public:
    bool InputPassword(std::string& password) override
    {
        password.clear();
        return gui::InputQuery(GetResources().Get("prPassword"), GetResources().Get("prPassword"), password);
    }
};

std::unique_ptr<IqlrOutputServices>& Registered()
{
    static std::unique_ptr<IqlrOutputServices> services;
    return services;
}

} // namespace

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
