// Binding module of the controls, forms, data modules and the application
// object, with the modal-result, cursor, border-style, virtual-key and
// alignment constants.  Events of controls and forms are served by script
// procedures through the adapters of qs_ievents.h.
//
// The rule a caller must know: a form a script creates belongs to the
// owner the script gives it (nil: the script must Free it).
//
//     F := TForm.Create(nil);
//     B := TButton.Create(F); B.Parent := F; B.ModalResult := mrOk;
//     if F.ShowModal = mrOk then ...
#pragma once

#include "script/qs_iinterpreter.h"

namespace qs {

class TqsFormsFunctions : public TqsRTTIModule {
public:
    explicit TqsFormsFunctions(TqsScript* AScript);

private:
    Variant CallMethod(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& MethodName,
                       TqsMethodHelper* Caller);
    Variant GetProp(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName);
    void SetProp(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName,
                 const Variant& Value);
};

} // namespace qs
