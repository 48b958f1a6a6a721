// The report object: inheriting from another template (ParentReport) and
// turning a report into one that inherits (InheritFromTemplate).
#include <algorithm>
#include <map>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrOutputServices.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

namespace {

bool IsAbsolutePath(const std::string& name)
{
    return (!name.empty() && name[0] == '/') || (name.size() > 1 && name[1] == ':') ||
           name.rfind("\\\\", 0) == 0;
}

// name relative to folder when it lies inside it, else unchanged.
std::string RelativeTo(const std::string& name, const std::string& folder)
{
    if (folder.empty() || !IsAbsolutePath(name)) return name;
    const std::string full = rtl::ExpandFileName(name);
    const std::string base = rtl::IncludeTrailingPathDelimiter(rtl::ExpandFileName(folder));
    if (full.size() > base.size() && full.compare(0, base.size(), base) == 0) return full.substr(base.size());
    return name;
}

// The templates being loaded as ancestors right now: a template that
// inherits from itself, directly or through others, is loaded once.
std::vector<std::string>& LoadingAncestors()
{
    static std::vector<std::string> chain;
    return chain;
}

void CopyTemplate(TqlrReport& from, TqlrReport& to)
{
    rtl::TMemoryStream ms;
    from.SaveToStream(ms, true, false, true);
    ms.SetPosition(0);
    to.LoadFromStream(ms);
}

} // namespace

void TqlrReport::SetParentReport(const std::string& value)
{
    FParentReport = value;
    FParentReportObject.reset();
    if (value.empty()) {
        for (TqlrComponent* c : AllObjects()) c->SetIsAncestor(false);
        return;
    }
    const std::string fileName = FFileName;
    std::string path = value;
    if (OnLoadTemplate) {
        OnLoadTemplate(this, value);
    } else {
        if (value.size() > 1 && !IsAbsolutePath(value)) {
            path = rtl::ExtractFilePath(FFileName) + value;
            if (!rtl::FileExists(path)) path = ModuleFolder() + value;
        }
        const std::string key = rtl::ExpandFileName(path);
        std::vector<std::string>& chain = LoadingAncestors();
        if (std::find(chain.begin(), chain.end(), key) != chain.end()) {
            FErrors->Add("Circular inheritance: " + value);
            FParentReport.clear();
            return;
        }
        chain.push_back(key);
        try {
            LoadFromFile(path, false);
        } catch (...) {
            chain.pop_back();
            throw;
        }
        chain.pop_back();
    }
    FFileName = fileName;
    // The ancestor as loaded; its pages keep their sizes as they are.
    FParentReportObject = std::make_unique<TqlrReport>(nullptr);
    CopyTemplate(*this, *FParentReportObject);
    for (TqlrComponent* c : FParentReportObject->AllObjects())
        if (auto* page = dynamic_cast<TqlrReportPage*>(c))
            page->SetSizeAndDimensions(256, page->PaperWidth(), page->PaperHeight());
    for (TqlrComponent* c : AllObjects()) c->SetIsAncestor(true);
    FParentReport = value;
}

bool TqlrReport::InheritFromTemplate(const std::string& templName, TqlrInheriteMode inheriteMode)
{
    if (!FFileName.empty() && rtl::ExpandFileName(templName) == rtl::ExpandFileName(FFileName)) return false;

    TqlrReport copy(nullptr);
    CopyTemplate(*this, copy);
    const std::string fileName = FFileName;
    SetParentReport(RelativeTo(templName, rtl::ExtractFilePath(FFileName)));
    FFileName = fileName;

    // Objects of the report (not pages) whose names the template uses.
    bool hasDuplicates = false;
    for (TqlrComponent* c : copy.AllObjects())
        if (!dynamic_cast<TqlrPage*>(c) && FindObject(c->Name())) hasDuplicates = true;
    bool rename = inheriteMode == TqlrInheriteMode::imRename;
    if (hasDuplicates && inheriteMode == TqlrInheriteMode::imDefault) {
        const int answer = OutputServices().AskInheritDuplicates();
        if (answer == 0) {
            // Cancelled: the report as it was.
            SetParentReport("");
            Clear();
            CopyTemplate(copy, *this);
            FFileName = fileName;
            return false;
        }
        rename = answer == 2;
    }

    TqlrXMLSerializer writer(nullptr), reader(nullptr);
    writer.SetOwner(&copy);
    writer.SetSerializeDefaultValues(true);
    reader.SetOwner(this);

    // The copy's own properties, its script included.
    const std::string parent = FParentReport;
    std::unique_ptr<TqlrReport> ancestor = std::move(FParentReportObject);
    TqlrXMLSerializer own(nullptr);
    own.SetOwner(&copy);
    reader.XMLToObj(own.ObjToXML(&copy), this);
    FParentReport = parent;
    FParentReportObject = std::move(ancestor);

    // Objects level by level; pages of the same name are shared.
    std::map<TqlrComponent*, TqlrComponent*> placed;   // copy's object -> report's
    placed[&copy] = this;
    std::vector<TqlrComponent*> level(copy.Objects().begin(), copy.Objects().end());
    std::vector<std::pair<std::string, std::string>> renamed;
    while (!level.empty()) {
        std::vector<TqlrComponent*> next;
        for (TqlrComponent* src : level) {
            auto parentIt = placed.find(src->Parent());
            if (parentIt == placed.end()) continue;   // its parent was skipped
            TqlrComponent* existing = FindObject(src->Name());
            TqlrComponent* target = nullptr;
            if (existing && dynamic_cast<TqlrPage*>(src)) {
                target = existing;
            } else {
                if (existing && !rename) continue;
                const rtl::TClassInfo* cls = rtl::GetClass(src->ClassName());
                if (!cls) continue;
                target = dynamic_cast<TqlrComponent*>(cls->Create(parentIt->second));
                if (!target) continue;
                target->SetParent(parentIt->second);
                if (existing) {
                    target->CreateUniqueName();
                    renamed.emplace_back(src->Name(), target->Name());
                } else {
                    target->SetName(src->Name());
                }
                if (auto* sub = dynamic_cast<TqlrSubreport*>(src); sub && sub->Page()) {
                    // A subreport gets a page of its own in the report.
                    auto* page = new TqlrReportPage(this);
                    page->CreateUniqueName();
                    placed[sub->Page()] = page;
                    dynamic_cast<TqlrSubreport*>(target)->SetPage(page);
                }
                if (auto* ds = dynamic_cast<TqlrDataSet*>(target)) FDataSets->Add(ds);
            }
            std::string attrs = writer.ObjToXML(src);
            reader.XMLToObj(attrs, target);
            placed[src] = target;
            for (TqlrComponent* child : src->Objects()) next.push_back(child);
        }
        level.swap(next);
    }
    for (const auto& [oldName, newName] : renamed) reader.RenameFixups(oldName, newName);

    // The template's script is kept as a comment after the report's own.
    std::string open, close;
    const std::string lang = FParentReportObject ? FParentReportObject->ScriptLanguage() : FScriptLanguage;
    if (rtl::SameText(lang, "C++Script") || rtl::SameText(lang, "JScript")) open = "/*", close = "*/";
    else if (rtl::SameText(lang, "BasicScript")) open = "/\\", close = "/\\";
    else if (rtl::SameText(lang, "PascalScript")) open = "{", close = "}";
    FScriptText->Add(open);
    FScriptText->Add("**********Script from parent report**********");
    if (FParentReportObject)
        for (int i = 0; i < FParentReportObject->ScriptText()->Count(); ++i)
            FScriptText->Add(FParentReportObject->ScriptText()->Strings(i));
    FScriptText->Add(close);

    for (int i = 0; i < FDataSets->Count(); ++i) {
        TqlrDataSetItem* item = FDataSets->Item(i);
        item->SetDataSetName(item->DataSetName());
    }
    reader.FixupReferences();
    for (int i = 0; i < reader.Errors().Count(); ++i) FErrors->Add(reader.Errors().Strings(i));
    return true;
}

} // namespace qlr
