// Editing, loading and saving prepared pages.
#include "report/qlrPreviewPages.h"

namespace qlr {

void TqlrPreviewPages::AddEmptyPage(int) {}
void TqlrPreviewPages::DeletePage(int) {}
void TqlrPreviewPages::ModifyPage(int, TqlrReportPage*) {}
void TqlrPreviewPages::AddFrom(TqlrReport*) {}
void TqlrPreviewPages::LoadFromStream(rtl::TStream&, bool) {}
void TqlrPreviewPages::SaveToStream(rtl::TStream&) {}
bool TqlrPreviewPages::LoadFromFile(const std::string&, bool) { return false; }
void TqlrPreviewPages::SaveToFile(const std::string&) {}
void TqlrPreviewPages::WritePage(TqlrReportPage*, TqlrXMLItem*) {}
void TqlrPreviewPages::WritePreparedParts() {}
void TqlrPreviewPages::ReadPreparedParts() {}

} // namespace qlr
