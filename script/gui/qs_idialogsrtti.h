// Binding module of the common dialogs and the message functions
// MessageDlg, InputBox and InputQuery.  Everything is shown through the
// platform's dialog service, which tests replace with scripted answers.
//
// The rule a caller must know: button sets are bit masks in the order of
// TMsgDlgButtons (mbYes 1, mbNo 2, mbOK 4, ...), and MessageDlg returns
// the modal result (mrYes, mrNo, ...).
//
//     if MessageDlg('Save?', mtConfirmation, mbYes + mbNo, 0) = mrYes then ...
#pragma once

#include "script/qs_iinterpreter.h"

namespace qs {

class TqsDialogsFunctions : public TqsRTTIModule {
public:
    explicit TqsDialogsFunctions(TqsScript* AScript);

private:
    Variant CallMethod(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& MethodName,
                       TqsMethodHelper* Caller);
};

} // namespace qs
