// The PascalScript grammar: its document is shipped as the resource QS_PASCALSCRIPT
// (script/grammars/PascalScript.xml) and registered under the name "PascalScript".
#pragma once

namespace qs {

void RegisterPascalScriptGrammar();

} // namespace qs
