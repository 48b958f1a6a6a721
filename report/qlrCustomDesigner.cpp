#include "report/qlrCustomDesigner.h"

#include "report/qlrClass.h"

namespace qlr {

TqlrCustomDesigner::TqlrCustomDesigner(rtl::TComponent* owner, TqlrReport* report, bool previewDesigner)
    : gui::TForm(owner), FReport(report), FIsPreviewDesigner(previewDesigner)
{
}

TqlrCustomDesigner::~TqlrCustomDesigner()
{
    if (FReport && FReport->Designer() == this) FReport->SetDesigner(nullptr);
}

void TqlrCustomDesigner::SetModified(bool value)
{
    FModified = value;
    if (value && FReport) FReport->Modified = true;
}

} // namespace qlr
