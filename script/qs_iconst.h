// Compiler and run-time message texts of the script interpreter.  They are
// process-wide values so that a host (the report engine) can replace them
// with its own texts of the same meaning at start-up.
#pragma once

#include <string>

namespace qs {

extern std::string SLangNotFound;          // "Language '%s' not found"
extern std::string SInvalidLanguage;       // "Invalid language definition"
extern std::string SIdRedeclared;          // "Identifier redeclared: "
extern std::string SUnknownType;           // "Unknown type: "
extern std::string SIncompatibleTypes;     // "Incompatible types"
extern std::string SIdUndeclared;          // "Undeclared identifier: "
extern std::string SClassRequired;         // "Class type required"
extern std::string SIndexRequired;         // "Index required"
extern std::string SStringError;           // "Strings doesn't have properties or methods"
extern std::string SClassError;            // "Class %s does not have a default property"
extern std::string SArrayRequired;         // "Array type required"
extern std::string SVarRequired;           // "Variable required"
extern std::string SNotEnoughParams;       // "Not enough actual parameters"
extern std::string STooManyParams;         // "Too many actual parameters"
extern std::string SLeftCantAssigned;      // "Left side cannot be assigned to"
extern std::string SForError;              // "For loop variable must be numeric variable"
extern std::string SEventError;            // "Event handler must be a procedure"

} // namespace qs
