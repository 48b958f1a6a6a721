// The catalogue rows under their former names, for tests that still include
// this header; the rows and the published eclipses are in
// tests/common/CanonEclipses.h.
#pragma once

#include "CanonEclipses.h"

namespace comptest {

using tectest::LunarDataSet;
using tectest::SolarDataSet;
using tectest::TLunarRow;
using tectest::TSolarRow;

} // namespace comptest
