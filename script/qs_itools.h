// Shared services of the script interpreter: the registry that maps a
// language name to its grammar, the type compatibility rules of the
// compiler, literal conversion, open-array items for Format, and the
// parser of the declaration strings with which built-in routines and bound
// methods are registered ("function Copy(s: String; from, count: Integer):
// String").
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Format.h"
#include "script/qs_iinterpreter.h"

namespace qs {

struct TqsTypeRec {
    TqsVarType Typ = fvtVariant;
    std::string TypeName;
};

// --- language registry ---
// Adds or replaces (in place) the grammar of a language.
void AddLanguageGrammar(const std::string& Name, const std::string& Grammar);
// Raises Format(SLangNotFound, [Name]) for an unknown name.
const std::string& GetLanguageGrammar(const std::string& Name);
// The registered names, in registration order.
std::vector<std::string> LanguageNames();
// A counter that changes whenever a grammar is added or replaced (lets the
// grammar interpreter keep its parsed grammars between compilations).
unsigned LanguageRegistryVersion();

// --- types ---
TqsVarType TypeNameToVarType(const std::string& TypeName, const TqsScript* Script);
bool ClassTypesCompatible(const std::string& ClassName1, const std::string& ClassName2, const TqsScript* Script);
bool VarTypesCompatible(TqsVarType Type1, const std::string& TypeName1, TqsVarType Type2,
                        const std::string& TypeName2, const TqsScript* Script);
bool AssignmentCompatible(const TqsCustomVariable* Var1, const TqsCustomVariable* Var2, const TqsScript* Script);

// --- values ---
// "" gives Null; a quoted text its inside; otherwise an integer ("$" hex)
// or a float; raises EConvertError for anything else.
Variant LiteralToVariant(const std::string& Text);
// Format arguments from a one-dimensional Variant array: 8-bit and OLE
// strings are cut to 255 characters, Unicode strings passed whole.
std::vector<rtl::TFormatArg> VariantToOpenArray(const Variant& Values);

// A new item for a declaration; the caller owns it.
TqsCustomVariable* DeclarationToVariable(const std::string& Syntax, const TqsScript* Script);

struct TqsPoint {
    int X = 0;
    int Y = 0;
};
TqsPoint PositionTextToPoint(const std::string& Text);

} // namespace qs
