// The C++Script grammar: its document is shipped as the resource QS_CPPSCRIPT
// (script/grammars/C++Script.xml) and registered under the name "C++Script".
#pragma once

namespace qs {

void RegisterCppScriptGrammar();

} // namespace qs
