#include "script/gui/qs_iguimodules.h"

#include "script/gui/qs_idialogsrtti.h"
#include "script/gui/qs_iformsrtti.h"
#include "script/gui/qs_igraphicsrtti.h"
#include "script/qs_iclassesrtti.h"
#include "script/qs_iinirtti.h"

namespace qs {

void qsRegisterBindingModules()
{
    qsRegisterFileModules();
    qsRegisterModule(&qsModuleFactory<TqsDialogsFunctions>);
    qsRegisterModule(&qsModuleFactory<TqsGraphicsFunctions>);
    qsRegisterModule(&qsModuleFactory<TqsFormsFunctions>);
}

void qsUnregisterBindingModules()
{
    for (TqsRTTIModuleClass m : {&qsModuleFactory<TqsIniFunctions>, &qsModuleFactory<TqsClassesFunctions>,
                                 &qsModuleFactory<TqsDialogsFunctions>, &qsModuleFactory<TqsGraphicsFunctions>,
                                 &qsModuleFactory<TqsFormsFunctions>})
        qsUnregisterModule(m);
}

} // namespace qs
