// The catalogue file: the SQLite database with the tables BE_SE and BE_LE.
#pragma once

#include <string>
#include <vector>

#include "tools/catalogue/Eclipses.h"

namespace catalogue {

// Writes both tables into a new file at path (through a temporary file
// renamed into place, so that an interrupted run leaves no half-written
// catalogue).  Catalogue numbers are given 1.. in the order of the vectors,
// which must be chronological.  Raises std::runtime_error on failure.
void WriteCatalogue(const std::string& path, const std::vector<SolarRecord>& solar,
                    const std::vector<LunarRecord>& lunar);

// The QSE text of a lunar eclipse: the type letters (lower case) of the
// solar eclipses a fortnight before and after, "-" for none.
std::string QuincenaText(const SolarRecord* before, const SolarRecord* after);

} // namespace catalogue
