// Identifier maps of integer types: names for some values of a type whose
// values are integers ("clRed" for the colour $0000FF, "crHourGlass" for a
// cursor), registered per type so that texts can carry names.
//
// The one rule: a map is found by the type's descriptor, so a property that
// wants names declares its type (.As(gui::TypeInfoColor())).
//
//   int32_t v;
//   if (auto toInt = rtl::FindIdentToInt(gui::TypeInfoColor())) toInt("clRed", v);   // v = 0xFF
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/TypInfo.h"

namespace rtl {

struct TIdentMapEntry {
    int32_t Value;
    const char* Name;
};
using TIdentToInt = std::function<bool(const std::string& ident, int32_t& value)>;
using TIntToIdent = std::function<bool(int32_t value, std::string& ident)>;

void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent);
// The maps of a type; empty functions when none is registered.
TIdentToInt FindIdentToInt(const TTypeInfo* type);
TIntToIdent FindIntToIdent(const TTypeInfo* type);
// Look-ups in a table (names compared without regard to ASCII case).
bool IdentToInt(const std::string& ident, int32_t& value, const std::vector<TIdentMapEntry>& map);
bool IntToIdent(int32_t value, std::string& ident, const std::vector<TIdentMapEntry>& map);

} // namespace rtl
