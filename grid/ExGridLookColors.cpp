// ExGrid: theme adaptation switched on and off.
#include "grid/ExGrid.h"
#include "grid/ExGridFooter.h"

namespace grid {

void TExStringGrid::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    FSearchFooter->AutoThemeAdapt = v;
    if (!v) return;
    ThemeAdapt();
    Invalidate();
}

} // namespace grid
