// Drawing prepared pages and the preview's mouse over them.
#include "platform/gui/Controls.h"
#include "report/qlrPreviewPages.h"

namespace qlr {

void TqlrPreviewPages::DrawPage(int, gui::TCanvas*, long double, long double, long double, long double) {}

void TqlrPreviewPages::ObjectOver(int, int, int, gui::TMouseButton, const rtl::Set<gui::TShiftStateItem, 8>&,
                                  long double, int, int, bool, int&, bool)
{
}

} // namespace qlr
