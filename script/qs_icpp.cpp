#include "script/qs_icpp.h"

#include "platform/rtl/Resources.h"
#include "script/qs_itools.h"

extern "C" void tec_resources_tec_script_0();

namespace qs {

void RegisterCppScriptGrammar()
{
    // The grammar resources may not be registered yet while static
    // initialisers run; registering them again is harmless.
    tec_resources_tec_script_0();
    const rtl::TResource* r = rtl::FindResource("QS_CPPSCRIPT", rtl::TResourceType::RCData);
    if (r) AddLanguageGrammar("C++Script", std::string(r->Text()));
}

} // namespace qs
