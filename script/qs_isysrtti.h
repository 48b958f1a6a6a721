// The binding module that gives every script its basic vocabulary: type
// names, the constants True, False, nil and Null and the Variant type
// codes, the exception variables, the hidden string and array indexers and
// the built-in routines (conversion, formatting, dates, strings, maths and
// a few others).
#pragma once

#include <functional>
#include <string>

#include "script/qs_iinterpreter.h"

namespace qs {

class TqsSysFunctions : public TqsRTTIModule {
public:
    explicit TqsSysFunctions(TqsScript* AScript);

private:
    std::string FCatConv = "ctConv";
    std::string FCatDate = "ctDate";
    std::string FCatFormat = "ctFormat";
    std::string FCatMath = "ctMath";
    std::string FCatOther = "ctOther";
    std::string FCatStr = "ctString";
};

// ShowMessage has no window in the interpreter itself; the GUI layer sets
// this hook (nothing is shown while it is empty).
extern std::function<void(const std::string& Msg)> qsShowMessageHook;

// Text routines of scripts count UTF-16 code units, as the script
// strings do: the character at a 1-based position (raises ERangeError
// outside the text) and its replacement.
std::string qsCharAt(const std::string& s, int32_t pos);
std::string qsSetCharAt(const std::string& s, int32_t pos, const std::string& ch);

} // namespace qs
