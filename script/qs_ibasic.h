// The BasicScript grammar: its document is shipped as the resource QS_BASICSCRIPT
// (script/grammars/BasicScript.xml) and registered under the name "BasicScript".
#pragma once

namespace qs {

void RegisterBasicScriptGrammar();

} // namespace qs
