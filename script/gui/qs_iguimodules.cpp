#include "script/gui/qs_iguimodules.h"

#include "script/gui/qs_idialogsrtti.h"
#include "script/gui/qs_iformsrtti.h"
#include "script/gui/qs_igraphicsrtti.h"
#include "script/qs_iclassesrtti.h"
#include "script/qs_iinirtti.h"
#include "script/qs_isysrtti.h"
#include "platform/gui/Dialogs.h"

namespace qs {

void qsRegisterBindingModules()
{
    qsRegisterFileModules();
    qsRegisterModule(&qsModuleFactory<TqsDialogsFunctions>);
    qsRegisterModule(&qsModuleFactory<TqsGraphicsFunctions>);
    qsRegisterModule(&qsModuleFactory<TqsFormsFunctions>);
    // The interpreter's ShowMessage shows its text in the program's modal
    // message box (through the dialog service).
    qsShowMessageHook = [](const std::string& msg) { gui::ShowMessage(msg); };
}

void qsUnregisterBindingModules()
{
    for (TqsRTTIModuleClass m : {&qsModuleFactory<TqsIniFunctions>, &qsModuleFactory<TqsClassesFunctions>,
                                 &qsModuleFactory<TqsDialogsFunctions>, &qsModuleFactory<TqsGraphicsFunctions>,
                                 &qsModuleFactory<TqsFormsFunctions>})
        qsUnregisterModule(m);
    qsShowMessageHook = nullptr;
}

} // namespace qs
