// GridVisualProps: the grid's look (colours, fonts, looks of its settings
// objects) as a text file of name=value lines in the 8-bit code page.
// Colours are identifiers ("clBlack") or "$" and eight hexadecimal digits;
// an empty colour reads as clNone; Booleans "true"/"false"; enumerations by
// name (an unknown name keeps the value).
//
// The rule a caller must know: a bad integer or colour raises EConvertError
// part-way; the properties read before it keep their new values.
//
//   gridio::SaveVisualProps(*grid, "/tmp/look.txt");
//   gridio::LoadVisualProps(*other, "/tmp/look.txt");
#pragma once

#include <string>

#include "grid/ExGrid.h"

namespace gridio {

// "Cannot Create <file>" when the file cannot be made.
void SaveVisualProps(grid::TExStringGrid& grid, const std::string& fileName);
// "Cannot open file <file>" when it cannot be read.
void LoadVisualProps(grid::TExStringGrid& grid, const std::string& fileName);

} // namespace gridio
