// Printing and exporting prepared pages.
#include "report/qlrPreviewPages.h"

namespace qlr {

bool TqlrPreviewPages::Print() { return false; }

bool TqlrPreviewPages::Export(TqlrCustomExportFilter*) { return false; }

} // namespace qlr
