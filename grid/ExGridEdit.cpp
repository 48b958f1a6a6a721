// ExGrid: typed cell values: cells read and written as integers and
// floating-point numbers.
#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace grid {

int TExStringGrid::GetCellInteger(int aCol, int aRow)
{
    std::string s = GetCellText(aCol, aRow);
    if (s.empty() || s == "-") s = "0";
    int32_t value = 0;
    if (!rtl::TryStrToInt(s, value)) throw ZEziDoroZezuz("Cell does not contain integer value");
    return value;
}

void TExStringGrid::SetCellInteger(int aCol, int aRow, int value)
{
    SetCellText(aCol, aRow, std::to_string(value));
    if (FNumHidden > 0) RepaintCell(RealToDisplayCol(aCol), aRow);
}

double TExStringGrid::GetCellFloat(int aCol, int aRow)
{
    std::string s = gridbase::ExtractNumberText(GetCellText(aCol, aRow));
    if (s.empty() || s == "-") s = "0";
    double value = 0;
    if (!rtl::TryStrToFloat(s, value)) throw ZEziDoroZezuz("Cell does not contain a float value");
    return value;
}

void TExStringGrid::SetCellFloat(int aCol, int aRow, double value)
{
    SetCellText(aCol, aRow, rtl::Format(rtl::FormatSettings(), FloatFormat(), {value}));
}

} // namespace grid
