// The JScript grammar: its document is shipped as the resource QS_JSCRIPT
// (script/grammars/JScript.xml) and registered under the name "JScript".
#pragma once

namespace qs {

void RegisterJScriptGrammar();

} // namespace qs
