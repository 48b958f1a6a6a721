// The report designer as the report sees it.  No designer exists in this
// program and none is registered; the report only tells an open designer
// to refresh its data tree when a data set goes away.
//
// The rule a caller must know: the designer does not own its report; the
// report does not own its designer (TqlrReport::SetDesigner links them).
//
//   class TMyDesigner : public qlr::TqlrCustomDesigner { ... };
//   TMyDesigner d(nullptr, &report, false);
//   report.SetDesigner(&d);
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Forms.h"

namespace qlr {

class TqlrComponent;
class TqlrPage;
class TqlrReport;

class TqlrCustomDesigner : public gui::TForm {
public:
    // Stores the report and whether it edits prepared pages.
    TqlrCustomDesigner(rtl::TComponent* owner, TqlrReport* report, bool previewDesigner);
    ~TqlrCustomDesigner() override;

    TqlrReport* Report() const { return FReport; }
    bool IsPreviewDesigner() const { return FIsPreviewDesigner; }
    std::string MemoFontName;
    int MemoFontSize = 0;
    bool UseObjectFont = false;
    std::vector<TqlrComponent*>& Objects() { return FObjects; }
    std::vector<TqlrComponent*>& SelectedObjects() { return FSelectedObjects; }

    bool Modified() const { return FModified; }
    // True also marks the report modified.
    virtual void SetModified(bool value);
    TqlrPage* Page() const { return FPage; }
    virtual void SetPage(TqlrPage* value) { FPage = value; }

    virtual bool InsertExpression(std::string& expr) = 0;
    virtual void Lock() = 0;
    virtual void ReloadPages(int index) = 0;
    virtual void ReloadReport() = 0;
    virtual void UpdateDataTree() = 0;
    virtual void UpdatePage() = 0;

protected:
    TqlrReport* FReport;
    bool FIsPreviewDesigner;
    bool FModified = false;
    std::vector<TqlrComponent*> FObjects, FSelectedObjects;
    TqlrPage* FPage = nullptr;
};

} // namespace qlr
