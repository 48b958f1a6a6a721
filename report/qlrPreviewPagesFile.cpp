// Editing, loading and saving prepared pages (the prepared-report file,
// root "preparedreport").
#include <memory>

#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "report/qlrDMPClass.h"
#include "report/qlrPreviewPages.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

// ---------------------------------------------------------------- editing

void TqlrPreviewPages::WritePage(TqlrReportPage* page, TqlrXMLItem* item)
{
    item->Clear();
    item->SetText("");
    TqlrXMLSerializer serializer(nullptr);
    serializer.WriteRootComponent(page, true, item);
    item->SetUnloadable(false);
}

void TqlrPreviewPages::AddEmptyPage(int index)
{
    if (GetCount() == 0 || index < 0 || index >= GetCount()) return;
    auto* item = new TqlrXMLItem;
    item->SetName(FPagesItem->Items(index)->Name());
    FPagesItem->InsertItem(index, item);
    ClearPageCache();
}

void TqlrPreviewPages::DeletePage(int index)
{
    if (GetCount() < 2 || index < 0 || index >= GetCount()) return;
    delete FPagesItem->Items(index);
    ClearPageCache();
}

void TqlrPreviewPages::ModifyPage(int index, TqlrReportPage* page)
{
    if (index < 0 || index >= GetCount() || !page) return;
    TqlrXMLItem* item = FPagesItem->Items(index);
    FXMLDoc.LoadItem(item);
    // The page may be the cached one: write it before the cache goes.
    WritePage(page, item);
    ClearPageCache();
}

void TqlrPreviewPages::AddFrom(TqlrReport* report)
{
    auto* other = report ? dynamic_cast<TqlrPreviewPages*>(report->PreviewPages()) : nullptr;
    if (!other || other == this) return;
    const int k = GetCount();
    for (int i = 0; i < other->GetCount(); ++i) {
        TqlrReportPage* page = other->GetPage(i);
        if (!page) continue;
        TqlrXMLItem* item = FPagesItem->Add();
        WritePage(page, item);
    }
    TqlrXMLItem* anchors = other->Root()->FindItem("anchors");
    TqlrXMLItem* mine = Root()->FindItem("anchors");
    for (int i = 0; i < anchors->Count(); ++i) {
        TqlrXMLItem* a = mine->Add();
        a->SetName("item");
        a->SetText(anchors->Items(i)->Text());
        a->SetProp("page", std::to_string(rtl::StrToIntDef(a->Prop("page"), 0) + k));
    }
    const int savedPage = CurPage;
    TqlrCustomOutline* outline = Outline();
    outline->LevelRoot();
    std::function<void(TqlrXMLItem*)> copy = [&](TqlrXMLItem* from) {
        for (int i = 0; i < from->Count(); ++i) {
            TqlrXMLItem* node = from->Items(i);
            CurPage = k + rtl::StrToIntDef(node->Prop("page"), 0);
            outline->AddItem(node->Prop("text"), rtl::StrToIntDef(node->Prop("top"), 0));
            copy(node);
            outline->LevelUp();
        }
    };
    copy(other->Root()->FindItem("outline"));
    outline->LevelRoot();
    CurPage = savedPage;
    ClearPageCache();
}

// ---------------------------------------------------------------- saving

void TqlrPreviewPages::WritePreparedParts()
{
    if (TqlrReport* r = Report()) {
        TqlrXMLItem* part = Root()->FindItem("report");
        part->Clear();
        TqlrXMLItem* item = part->Add();
        item->SetName(r->ClassName());
        item->SetProp("DotMatrixReport", ValueToXML(rtl::Variant(r->DotMatrixReport())));
        item->SetProp("PreviewOptions.OutlineVisible", ValueToXML(rtl::Variant(r->PreviewOptions()->OutlineVisible)));
        item->SetProp("PreviewOptions.OutlineWidth", std::to_string(r->PreviewOptions()->OutlineWidth));
        item->SetProp("ReportOptions.Name", r->ReportOptions()->Name);
    }

    TqlrXMLItem* sources = Root()->FindItem("sourcepages");
    sources->Clear();
    TqlrXMLSerializer serializer(nullptr);
    for (auto& page : FSourcePages) serializer.WriteRootComponent(page.get(), true, sources->Add());

    TqlrXMLItem* dictionary = Root()->FindItem("dictionary");
    dictionary->Clear();
    for (const auto& [alias, sourceName] : FDictionary.Entries()) {
        TqlrXMLItem* item = dictionary->Add();
        item->SetName(alias);
        item->SetProp("name", sourceName);
    }

    TqlrXMLItem* pictures = Root()->FindItem("picturecache");
    pictures->Clear();
    pictures->SetText("");
    FPictureCache.SaveToXML(pictures);
}

void TqlrPreviewPages::SaveToStream(rtl::TStream& stream)
{
    FTempStream = &stream;
    WritePreparedParts();
    FXMLDoc.SetAutoIndent(false);
    FXMLDoc.SaveToStream(stream);
    FTempStream = nullptr;
}

void TqlrPreviewPages::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream stream(fileName, rtl::fmCreate);
    SaveToStream(stream);
}

// ---------------------------------------------------------------- loading

void TqlrPreviewPages::ReadPreparedParts()
{
    FPagesItem = Root()->FindItem("previewpages");
    // Engine pages from the third on may swap again (a whole load drops
    // the marker).
    for (int i = 2; i < FPagesItem->Count(); ++i) {
        TqlrXMLItem* page = FPagesItem->Items(i);
        if (rtl::CompareText(page->Name().substr(0, 4), "page") == 0) page->SetUnloadable(true);
    }

    TqlrXMLItem* report = Root()->FindItem("report");
    if (report->Count() > 0 && Report()) {
        TqlrXMLSerializer serializer(nullptr);
        serializer.ReadRootComponent(Report(), report->Items(0));
    }

    FSourcePages.clear();
    FSourceText.clear();
    TqlrXMLItem* sources = Root()->FindItem("sourcepages");
    for (int i = 0; i < sources->Count(); ++i) {
        TqlrXMLItem* item = sources->Items(i);
        std::unique_ptr<TqlrReportPage> page(rtl::SameText(item->Name(), "TqlrDMPPage")
                                                 ? new TqlrDMPPage(nullptr)
                                                 : new TqlrReportPage(nullptr));
        TqlrXMLSerializer serializer(nullptr);
        serializer.SetOwner(page.get());
        serializer.ReadRootComponent(page.get(), item);
        TqlrXMLSerializer writer(nullptr);
        for (TqlrComponent* c : std::vector<TqlrComponent*>(page->AllObjects()))
            FSourceText[c] = writer.WriteComponentStr(c);
        FSourcePages.push_back(std::move(page));
    }
    // The source pages hold the text now.
    sources->Clear();

    FDictionary.Clear();
    TqlrXMLItem* dictionary = Root()->FindItem("dictionary");
    for (int i = 0; i < dictionary->Count(); ++i) {
        TqlrXMLItem* item = dictionary->Items(i);
        const std::string sourceName = item->Prop("name");
        const std::size_t dot = sourceName.find('.');
        TqlrComponent* obj = nullptr;
        if (dot != std::string::npos && dot > 4) {
            const int n = rtl::StrToIntDef(sourceName.substr(4, dot - 4), -1);
            if (n >= 0 && n < static_cast<int>(FSourcePages.size()))
                obj = FSourcePages[static_cast<std::size_t>(n)]->FindObject(sourceName.substr(dot + 1));
        }
        FDictionary.Add(item->Name(), sourceName, obj);
    }

    FPictureCache.LoadFromXML(Root()->FindItem("picturecache"));
    Outline()->CurItem = Root()->FindItem("outline");
}

void TqlrPreviewPages::LoadFromStream(rtl::TStream& stream, bool allowPartialLoading)
{
    Clear();
    FTempStream = &stream;
    AllowPartialLoading = allowPartialLoading;
    try {
        if (allowPartialLoading) {
            // The document keeps reading from its own copy of the stream.
            auto copy = std::make_unique<rtl::TMemoryStream>();
            copy->CopyFrom(stream, stream.Size() - stream.Position());
            copy->SetPosition(0);
            FXMLDoc.LoadFromStream(std::move(copy));
        } else {
            FXMLDoc.LoadFromStream(stream);
        }
        FTempStream = nullptr;
        ReadPreparedParts();
    } catch (...) {
        // Loading frees the items the pages point into: a failed load
        // leaves no pages rather than pointers to freed items.
        FTempStream = nullptr;
        Clear();
        throw;
    }
}

bool TqlrPreviewPages::LoadFromFile(const std::string& fileName, bool exceptionIfNotFound)
{
    const bool exists = rtl::FileExists(fileName);
    if (exists || exceptionIfNotFound) {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        LoadFromStream(stream, false);
    }
    return exists;
}

} // namespace qlr
