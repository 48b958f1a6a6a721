// The prepared pages: the store the engine fills, the dictionary, the
// outline and the rebuilding of pages from their differences.
#include "report/qlrPreviewPages.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Strings.h"
#include "report/qlrDMPClass.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

namespace {

TqlrXMLItem* ChildNamed(TqlrXMLItem* parent, std::string_view name)
{
    int i = parent->Find(name);
    return i < 0 ? nullptr : parent->Items(i);
}

long double PropFloat(const TqlrXMLItem* item, std::string_view name, long double def)
{
    if (!item->PropExists(name)) return def;
    return rtl::StrToFloatDef(item->Prop(name), def);
}

int PropInt(const TqlrXMLItem* item, std::string_view name, int def)
{
    return item->PropExists(name) ? rtl::StrToIntDef(item->Prop(name), def) : def;
}

std::string Trimmed(std::string s)
{
    std::size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

bool InFinalPassOfTwo(TqlrCustomEngine* engine)
{
    return engine && engine->DoublePass() && engine->FinalPass;
}

} // namespace

// ---------------------------------------------------------------- dictionary

bool TqlrDictionary::LessNoCase::operator()(const std::string& a, const std::string& b) const
{
    return rtl::CompareText(a, b) < 0;
}

void TqlrDictionary::Add(const std::string& name, const std::string& sourceName, TqlrComponent* obj)
{
    FSourceNames.emplace_back(sourceName, obj);
    FNames[name] = static_cast<int>(FSourceNames.size()) - 1;
}

std::string TqlrDictionary::AddUnique(const std::string& base, const std::string& sourceName, TqlrComponent* obj)
{
    std::string name = CreateUniqueName(base);
    Add(name, sourceName, obj);
    return name;
}

std::string TqlrDictionary::CreateUniqueName(const std::string& base) const
{
    // The names of one base are an unbroken run from 1: halve down to the
    // run, then step up to its end.
    int i = 10000;
    while (i > 1 && FNames.find(base + std::to_string(i)) == FNames.end()) i /= 2;
    while (FNames.find(base + std::to_string(i)) != FNames.end()) ++i;
    return base + std::to_string(i);
}

TqlrComponent* TqlrDictionary::GetObject(const std::string& name) const
{
    auto it = FNames.find(name);
    return it == FNames.end() ? nullptr : FSourceNames[static_cast<std::size_t>(it->second)].second;
}

std::string TqlrDictionary::GetSourceName(const std::string& name) const
{
    auto it = FNames.find(name);
    return it == FNames.end() ? std::string() : FSourceNames[static_cast<std::size_t>(it->second)].first;
}

void TqlrDictionary::Clear()
{
    FNames.clear();
    FSourceNames.clear();
}

std::vector<std::pair<std::string, std::string>> TqlrDictionary::Entries() const
{
    std::vector<std::pair<std::string, std::string>> result;
    result.reserve(FNames.size());
    for (const auto& [name, index] : FNames)
        result.emplace_back(name, FSourceNames[static_cast<std::size_t>(index)].first);
    return result;
}

// ---------------------------------------------------------------- outline

RTL_PUBLISHED(TqlrOutline) {}

TqlrOutline::TqlrOutline(TqlrPreviewPages* pages) : TqlrCustomOutline(pages), FPages(pages) {}

TqlrXMLItem* TqlrOutline::Root() const
{
    return FPages->Root()->FindItem("outline");
}

int TqlrOutline::GetCount()
{
    return CurItem ? CurItem->Count() : 0;
}

void TqlrOutline::AddItem(const std::string& text, int top)
{
    if (!CurItem) CurItem = Root();
    TqlrXMLItem* item = CurItem->Add();
    item->SetName("item");
    item->SetProp("text", text);
    item->SetProp("page", std::to_string(FPages->CurPage));
    item->SetProp("top", std::to_string(top));
    CurItem = item;
}

void TqlrOutline::LevelDown(int index)
{
    if (CurItem && index >= 0 && index < CurItem->Count()) CurItem = CurItem->Items(index);
}

void TqlrOutline::LevelRoot()
{
    CurItem = Root();
}

void TqlrOutline::LevelUp()
{
    if (CurItem && CurItem != Root() && CurItem->Parent()) CurItem = CurItem->Parent();
}

void TqlrOutline::GetItem(int index, std::string& text, int& page, int& top)
{
    if (!CurItem || index < 0 || index >= CurItem->Count()) return;
    TqlrXMLItem* item = CurItem->Items(index);
    text = item->Prop("text");
    if (item->PropExists("page")) page = PropInt(item, "page", page);
    if (item->PropExists("top")) top = PropInt(item, "top", top);
}

void TqlrOutline::ShiftItems(TqlrXMLItem* from, int newTop)
{
    if (!from || !from->Parent()) return;
    TqlrXMLItem* parent = from->Parent();
    int i = parent->IndexOf(from);
    if (i < 0 || i + 1 >= parent->Count()) return;
    const int shift = newTop - PropInt(parent->Items(i + 1), "top", 0);
    // Every node recorded after from moves to the next page.
    std::function<void(TqlrXMLItem*)> move = [&](TqlrXMLItem* item) {
        item->SetProp("page", std::to_string(PropInt(item, "page", 0) + 1));
        item->SetProp("top", std::to_string(PropInt(item, "top", 0) + shift));
        for (int k = 0; k < item->Count(); ++k) move(item->Items(k));
    };
    for (int k = i + 1; k < parent->Count(); ++k) move(parent->Items(k));
}

TqlrXMLItem* TqlrOutline::GetCurPosition()
{
    return CurItem && CurItem->Count() > 0 ? CurItem->Items(CurItem->Count() - 1) : nullptr;
}

// ---------------------------------------------------------------- life

TqlrPreviewPages::TqlrPreviewPages(TqlrReport* report) : TqlrCustomPreviewPages(report)
{
    SetOutline(std::make_unique<TqlrOutline>(this));
    Root()->SetName("preparedreport");
    Clear();
}

TqlrPreviewPages::~TqlrPreviewPages()
{
    ClearPageCache();
    FSourcePages.clear();
}

void TqlrPreviewPages::ClearPageCache()
{
    FPageCache.clear();
}

void TqlrPreviewPages::Clear()
{
    ClearPageCache();
    FSourcePages.clear();
    FSourceText.clear();
    FXMLDoc.Clear();
    Root()->SetName("preparedreport");
    // The parts stand in this order in every file written.
    for (const char* part : {"previewpages", "sourcepages", "dictionary", "report", "picturecache", "outline",
                             "anchors", "logicalpagenumbers"})
        Root()->FindItem(part);
    FPagesItem = Root()->FindItem("previewpages");
    FDictionary.Clear();
    FPictureCache.Clear();
    Outline()->CurItem = Root()->FindItem("outline");
    CurPage = -1;
    XMLSize = 0;
    LogicalPageN = 0;
    FirstPageIndex = -1;
    FirstObjectIndex = 0;
    FirstOutlineIndex = 0;
}

void TqlrPreviewPages::Initialize()
{
    if (TqlrReport* r = Report()) {
        FPictureCache.SetUseFileCache(r->PreviewOptions()->PictureCacheInFile);
        FPictureCache.SetTempDir(r->EngineOptions()->TempDir);
        FXMLDoc.SetTempDir(r->EngineOptions()->TempDir);
        r->InternalOnProgressStart(TqlrProgressType::ptRunning);
    }
}

void TqlrPreviewPages::Finish()
{
    ClearPageCache();
    for (auto& page : FSourcePages) page->SetOriginalComponent(nullptr);
    if (TqlrReport* r = Report()) r->InternalOnProgressStop(TqlrProgressType::ptRunning);
}

// ---------------------------------------------------------------- pages and objects

int TqlrPreviewPages::GetCount()
{
    return FPagesItem ? FPagesItem->Count() : 0;
}

TqlrXMLItem* TqlrPreviewPages::CurPageItem()
{
    if (CurPage < 0 || CurPage >= GetCount()) return nullptr;
    return FPagesItem->Items(CurPage);
}

int TqlrPreviewPages::GetCurPosition()
{
    TqlrXMLItem* page = CurPageItem();
    return page ? page->Count() : 0;
}

int TqlrPreviewPages::SourcePageIndexOf(TqlrReportPage* templatePage) const
{
    for (std::size_t i = 0; i < FSourcePages.size(); ++i)
        if (FSourcePages[i]->OriginalComponent() == templatePage) return static_cast<int>(i);
    return -1;
}

int TqlrPreviewPages::SourcePageIndexOf(TqlrXMLItem* pageItem) const
{
    const std::string& name = pageItem->Name();
    if (name.size() < 5 || rtl::CompareText(name.substr(0, 4), "page") != 0) return -1;
    int n = rtl::StrToIntDef(name.substr(4, 5), -1);
    return n >= 0 && n < static_cast<int>(FSourcePages.size()) ? n : -1;
}

void TqlrPreviewPages::AddPage(TqlrReportPage* page)
{
    TqlrReport* report = Report();
    if (report && report->EngineOptions()->UseFileCache &&
        XMLSize > static_cast<int64_t>(report->EngineOptions()->MaxMemSize) * 1048576) {
        // The last page stays in memory; the walk back ends at the first
        // page already swapped out.
        for (int i = GetCount() - 2; i >= 0; --i) {
            TqlrXMLItem* item = FPagesItem->Items(i);
            if (!item->Loaded()) break;
            FXMLDoc.UnloadItem(item);
        }
        XMLSize = 0;
    }

    ++CurPage;
    if (CurPage < GetCount() && AddPageAction != TqlrAddPageAction::apAdd) return;

    TqlrXMLItem* item = FPagesItem->Add();
    item->SetName("page" + std::to_string(SourcePageIndexOf(page)));
    if (FPagesItem->Count() > 2) item->SetUnloadable(true);
    if (report) report->InternalOnProgress(TqlrProgressType::ptRunning, CurPage + 1);
    AddPageAction = TqlrAddPageAction::apWriteOver;
    CurPage = GetCount() - 1;
    IncLogicalPageNumber();
}

void TqlrPreviewPages::DoAdd(TqlrComponent* c, TqlrXMLItem* parentItem)
{
    if (!c->Visible() || !c->qlComponentStyle().Contains(TqlrComponentStyleItem::csPreviewVisible)) return;
    TqlrXMLItem* item = parentItem->Add();
    std::string text;
    if (TqlrComponent* source = c->OriginalComponent()) {
        item->SetName(source->AliasName());
        TqlrCustomEngine* engine = Engine();
        if (engine && !engine->FinalPass)
            text = c->BaseDiff(source);
        else if (c->qlComponentStyle().Contains(TqlrComponentStyleItem::csDefaultDiff))
            text = c->AllDiff(source);
        else
            text = c->Diff(source);
    } else {
        item->SetName(c->ClassName());
        text = c->AllDiff(nullptr);
    }
    item->SetText(Trimmed(std::move(text)));
    XMLSize += static_cast<int64_t>(item->Name().size() + item->Text().size() + sizeof(TqlrXMLItem) + 16);
    for (TqlrComponent* child : c->Objects()) DoAdd(child, item);
}

void TqlrPreviewPages::AddObject(TqlrComponent* obj)
{
    TqlrXMLItem* page = CurPageItem();
    if (page && obj) DoAdd(obj, page);
}

void TqlrPreviewPages::RegisterSource(TqlrComponent* copy, int sourcePageIndex)
{
    std::string base = dynamic_cast<TqlrBand*>(copy)
                           ? std::string("b")
                           : rtl::LowerCase(copy->BaseName().substr(0, 1));
    std::string alias =
        FDictionary.AddUnique(base, "Page" + std::to_string(sourcePageIndex) + "." + copy->Name(), copy);
    copy->SetAliasName(alias);
    if (TqlrComponent* templ = copy->OriginalComponent()) templ->SetAliasName(alias);
    if (auto* view = dynamic_cast<TqlrView*>(copy)) {
        // Rebuilt objects take their data from the stored text, never from
        // a data set.
        view->SetDataSet(nullptr);
        view->SetDataField("");
    }
    if (copy->qlComponentStyle().Contains(TqlrComponentStyleItem::csDefaultDiff)) {
        FSourceText[copy] = copy->ClassName();
    } else {
        TqlrXMLSerializer serializer(nullptr);
        FSourceText[copy] = serializer.WriteComponentStr(copy);
    }
}

std::string TqlrPreviewPages::SourceText(TqlrComponent* source) const
{
    auto it = FSourceText.find(source);
    return it == FSourceText.end() ? source->ClassName() : it->second;
}

namespace {

// A copy of c (properties only) as a new child of parent.
TqlrComponent* CopyComponent(TqlrComponent* c, TqlrComponent* parent, TqlrPreviewPages* pages)
{
    auto* copy = dynamic_cast<TqlrComponent*>(c->ClassType()->Create(parent));
    if (!copy) return nullptr;
    if (auto* picture = dynamic_cast<TqlrPictureView*>(c)) {
        // The picture travels through the picture cache, not the source.
        bool stored = picture->IsPictureStored;
        picture->IsPictureStored = false;
        copy->Assign(c);
        picture->IsPictureStored = stored;
        // A changed picture goes to the cache when the object is stored.
        picture->OnAddPicture = [pages](TqlrPictureView* p) { pages->AddPicture(p); };
    } else {
        copy->Assign(c);
    }
    if (copy->Name() != c->Name()) copy->SetName(c->Name());
    copy->SetOriginalComponent(c);
    c->SetOriginalComponent(copy);
    return copy;
}

} // namespace

void TqlrPreviewPages::AddSourcePage(TqlrReportPage* page)
{
    if (!page) return;
    auto* created = dynamic_cast<TqlrReportPage*>(page->ClassType()->Create(nullptr));
    if (!created) return;
    std::unique_ptr<TqlrReportPage> copy(created);
    copy->Assign(page);
    copy->SetName(page->Name());
    copy->SetOriginalComponent(page);
    const int index = static_cast<int>(FSourcePages.size());
    TqlrReportPage* copyPage = copy.get();
    FSourcePages.push_back(std::move(copy));

    std::vector<TqlrComponent*> copies;
    std::function<void(TqlrComponent*, TqlrComponent*)> walk = [&](TqlrComponent* from, TqlrComponent* to) {
        for (TqlrComponent* child : std::vector<TqlrComponent*>(from->Objects())) {
            if (!child->qlComponentStyle().Contains(TqlrComponentStyleItem::csPreviewVisible)) continue;
            TqlrComponent* c2 = CopyComponent(child, to, this);
            if (!c2) continue;
            copies.push_back(c2);
            walk(child, c2);
        }
    };
    walk(page, copyPage);
    for (TqlrComponent* c2 : copies) RegisterSource(c2, index);
}

void TqlrPreviewPages::AddToSourcePage(TqlrComponent* obj)
{
    if (!obj || FSourcePages.empty()) return;
    TqlrReportPage* page = FSourcePages.back().get();
    auto* copy = dynamic_cast<TqlrComponent*>(obj->ClassType()->Create(page));
    if (!copy) return;
    copy->Assign(obj);
    std::string base = copy->BaseName();
    int n = 1;
    while (page->FindObject(base + std::to_string(n))) ++n;
    copy->SetName(base + std::to_string(n));
    copy->SetOriginalComponent(obj);
    obj->SetOriginalComponent(copy);
    RegisterSource(copy, static_cast<int>(FSourcePages.size()) - 1);
}

void TqlrPreviewPages::AddPicture(TqlrPictureView* picture)
{
    FPictureCache.AddPicture(picture);
}

bool TqlrPreviewPages::BandExists(TqlrBand* band)
{
    TqlrXMLItem* page = CurPageItem();
    if (!page || !band) return false;
    for (int i = 0; i < page->Count(); ++i) {
        TqlrComponent* source = FDictionary.GetObject(page->Items(i)->Name());
        if (!source) continue;
        TqlrComponent* templ = source->OriginalComponent();
        if (templ == band) return true;
        if (dynamic_cast<TqlrPageFooter*>(band) && dynamic_cast<TqlrPageFooter*>(source)) return true;
        if (dynamic_cast<TqlrColumnFooter*>(band) && dynamic_cast<TqlrColumnFooter*>(source)) return true;
    }
    return false;
}

long double TqlrPreviewPages::GetLastY(long double columnPosition)
{
    TqlrXMLItem* page = CurPageItem();
    long double result = 0;
    if (!page) return 0;
    for (int i = 0; i < page->Count(); ++i) {
        TqlrXMLItem* item = page->Items(i);
        TqlrComponent* source = FDictionary.GetObject(item->Name());
        auto* band = dynamic_cast<TqlrBand*>(source);
        if (!band || dynamic_cast<TqlrPageFooter*>(band) || dynamic_cast<TqlrOverlay*>(band)) continue;
        const long double left = PropFloat(item, "l", band->Left());
        if (columnPosition != 0 && !dynamic_cast<TqlrPageHeader*>(band) && !dynamic_cast<TqlrReportTitle*>(band) &&
            std::fabs(left - columnPosition) >= 0.001L)
            continue;
        const long double bottom = PropFloat(item, "t", band->Top()) + PropFloat(item, "h", band->Height());
        result = std::max(result, bottom);
    }
    return result;
}

void TqlrPreviewPages::CutObjects(int position)
{
    TqlrXMLItem* page = CurPageItem();
    if (!page) return;
    TqlrXMLItem* cutted = Root()->FindItem("cutted");
    while (position >= 0 && page->Count() > position) cutted->AddItem(page->Items(position));
}

void TqlrPreviewPages::PasteObjects(long double x, long double y)
{
    TqlrXMLItem* cutted = ChildNamed(Root(), "cutted");
    if (!cutted) return;
    TqlrXMLItem* page = CurPageItem();
    if (cutted->Count() > 0 && page) {
        TqlrXMLItem* first = cutted->Items(0);
        const long double dx = x - PropFloat(first, "l", 0);
        const long double dy = y - PropFloat(first, "t", 0);
        while (cutted->Count() > 0) {
            TqlrXMLItem* item = cutted->Items(0);
            item->SetProp("l", qlrFloatToStr(PropFloat(item, "l", 0) + dx));
            item->SetProp("t", qlrFloatToStr(PropFloat(item, "t", 0) + dy));
            page->AddItem(item);
        }
    }
    delete cutted;
}

void TqlrPreviewPages::UpdatePageDimensions(TqlrReportPage* page, long double width, long double height)
{
    if (FSourcePages.empty()) return;
    int i = SourcePageIndexOf(page);
    TqlrReportPage* source = FSourcePages[static_cast<std::size_t>(i < 0 ? FSourcePages.size() - 1 : i)].get();
    source->SetSizeAndDimensions(256, width / fr01cm, height / fr01cm);
    // The page's own text is read back whenever the page is rebuilt.
    TqlrXMLItem tmp;
    tmp.SetText(FSourceText[source]);
    tmp.SetProp("PaperSize", "256");
    tmp.SetProp("PaperWidth", qlrFloatToStr(source->PaperWidth()));
    tmp.SetProp("PaperHeight", qlrFloatToStr(source->PaperHeight()));
    FSourceText[source] = tmp.Text();
    ClearPageCache();
}

// ---------------------------------------------------------------- passes

void TqlrPreviewPages::BeginPass()
{
    FirstPageIndex = GetCount() - 1;
    if (FirstPageIndex >= 0) {
        FirstObjectIndex = FPagesItem->Items(FirstPageIndex)->Count();
        FirstOutlineIndex = Root()->FindItem("outline")->Count();
    }
    ResetLogicalPageNumber();
}

void TqlrPreviewPages::ClearFirstPassPages()
{
    if (FirstPageIndex == -1) {
        for (int i = 0; i < Root()->Count(); ++i) {
            TqlrXMLItem* part = Root()->Items(i);
            if (rtl::CompareText(part->Name(), "anchors") != 0 &&
                rtl::CompareText(part->Name(), "logicalpagenumbers") != 0)
                part->Clear();
        }
    } else {
        TqlrXMLItem* page = FPagesItem->Items(FirstPageIndex);
        FXMLDoc.LoadItem(page);
        while (page->Count() > FirstObjectIndex) delete page->Items(page->Count() - 1);
        while (FPagesItem->Count() > FirstPageIndex + 1) delete FPagesItem->Items(FPagesItem->Count() - 1);
        TqlrXMLItem* outline = Root()->FindItem("outline");
        while (outline->Count() > FirstOutlineIndex) delete outline->Items(outline->Count() - 1);
    }
    Outline()->CurItem = Root()->FindItem("outline");
    ClearPageCache();
    ResetLogicalPageNumber();
    CurPage = FirstPageIndex;
    XMLSize = 0;
}

// ---------------------------------------------------------------- logical page numbers

TqlrXMLItem* TqlrPreviewPages::LogicalEntry(int pageIndex)
{
    TqlrXMLItem* numbers = Root()->FindItem("logicalpagenumbers");
    return pageIndex >= 0 && pageIndex < numbers->Count() ? numbers->Items(pageIndex) : nullptr;
}

void TqlrPreviewPages::IncLogicalPageNumber()
{
    if (InFinalPassOfTwo(Engine())) return;
    ++LogicalPageN;
    TqlrXMLItem* entry = Root()->FindItem("logicalpagenumbers")->Add();
    entry->SetName("page");
    entry->SetProp("n", std::to_string(LogicalPageN));
}

void TqlrPreviewPages::ResetLogicalPageNumber()
{
    if (InFinalPassOfTwo(Engine())) return;
    for (int i = CurPage; i > FirstPageIndex; --i) {
        TqlrXMLItem* entry = LogicalEntry(i);
        if (!entry) continue;
        entry->SetProp("t", std::to_string(LogicalPageN));
        if (entry->Prop("n") == "1") break;
    }
    LogicalPageN = 0;
}

int TqlrPreviewPages::GetLogicalPageNo()
{
    if (TqlrXMLItem* entry = LogicalEntry(CurPage)) return PropInt(entry, "n", 0);
    return CurPage - FirstPage + 1;
}

int TqlrPreviewPages::GetLogicalTotalPages()
{
    if (TqlrXMLItem* entry = LogicalEntry(CurPage)) return PropInt(entry, "t", 0);
    return (Engine() ? Engine()->TotalPages : 0) - FirstPage;
}

// ---------------------------------------------------------------- anchors

void TqlrPreviewPages::AddAnchor(const std::string& text)
{
    TqlrXMLItem* item = Root()->FindItem("anchors")->Add();
    item->SetName("item");
    item->SetProp("text", text);
    item->SetProp("page", std::to_string(CurPage));
    const long double y = Engine() ? Engine()->CurY : 0;
    item->SetProp("top", std::to_string(static_cast<long long>(std::llround(static_cast<double>(y)))));
}

TqlrXMLItem* TqlrPreviewPages::FindAnchor(const std::string& text)
{
    TqlrXMLItem* anchors = Root()->FindItem("anchors");
    for (int i = anchors->Count() - 1; i >= 0; --i)
        if (rtl::CompareText(anchors->Items(i)->Prop("text"), text) == 0) return anchors->Items(i);
    return nullptr;
}

int TqlrPreviewPages::GetAnchorPage(const std::string& text)
{
    TqlrXMLItem* anchor = FindAnchor(text);
    return anchor ? PropInt(anchor, "page", 0) + 1 : 1;
}

int TqlrPreviewPages::GetAnchorCurPosition()
{
    return Root()->FindItem("anchors")->Count() - 1;
}

void TqlrPreviewPages::ShiftAnchors(int from, int newTop)
{
    TqlrXMLItem* anchors = Root()->FindItem("anchors");
    if (from + 1 < 0 || from + 1 >= anchors->Count()) return;
    const int t0 = PropInt(anchors->Items(from + 1), "top", 0);
    for (int i = from + 1; i < anchors->Count(); ++i) {
        TqlrXMLItem* a = anchors->Items(i);
        a->SetProp("page", std::to_string(PropInt(a, "page", 0) + 1));
        a->SetProp("top", std::to_string(newTop + PropInt(a, "top", 0) - t0));
    }
}

// ---------------------------------------------------------------- rebuilding

TqlrReportPage* TqlrPreviewPages::RebuildPage(TqlrXMLItem* pageItem)
{
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetOldFormat(FXMLDoc.OldVersion());
    const std::string& name = pageItem->Name();
    if (rtl::CompareText(name, "TqlrReportPage") == 0 || rtl::CompareText(name, "TqlrDMPPage") == 0) {
        std::unique_ptr<TqlrReportPage> page(rtl::CompareText(name, "TqlrDMPPage") == 0
                                                 ? new TqlrDMPPage(nullptr)
                                                 : new TqlrReportPage(nullptr));
        serializer.ReadRootComponent(page.get(), pageItem);
        page->AlignChildren();
        return page.release();
    }

    // A page of the engine: a copy of its source page with each object read
    // from its source's text followed by its difference.  A page whose
    // template was never registered has no source page; it keeps the
    // default paper and only its objects.
    const int n = SourcePageIndexOf(pageItem);
    std::unique_ptr<TqlrReportPage> page;
    if (n >= 0) {
        TqlrReportPage* source = FSourcePages[static_cast<std::size_t>(n)].get();
        page.reset(dynamic_cast<TqlrReportPage*>(source->ClassType()->Create(nullptr)));
        page->Assign(source);
        page->SetName(source->Name());
    } else {
        page = std::make_unique<TqlrReportPage>(nullptr);
    }
    std::function<void(TqlrXMLItem*, TqlrComponent*)> read = [&](TqlrXMLItem* item, TqlrComponent* parent) {
        for (int i = 0; i < item->Count(); ++i) {
            TqlrXMLItem* child = item->Items(i);
            TqlrComponent* source = FDictionary.GetObject(child->Name());
            TqlrComponent* obj;
            if (source) {
                obj = serializer.ReadComponentStr(parent, SourceText(source) + " " + child->Text(), true);
                if (obj && obj->Name() != source->Name()) obj->SetName(source->Name());
                if (auto* picture = dynamic_cast<TqlrPictureView*>(obj))
                    if (picture->Picture()->Graphic() == nullptr) FPictureCache.GetPicture(picture);
            } else {
                obj = serializer.ReadComponentStr(parent, child->Name() + " " + child->Text(), true);
            }
            if (!obj) continue;
            if (obj->Parent() != parent) obj->SetParent(parent);
            read(child, obj);
        }
    };
    read(pageItem, page.get());
    page->AlignChildren();
    return page.release();
}

void TqlrPreviewPages::AddToCache(int index, TqlrReportPage* page)
{
    FPageCache.insert(FPageCache.begin(), {index, std::unique_ptr<TqlrReportPage>(page)});
    TqlrReport* report = Report();
    const int limit = report ? report->PreviewOptions()->PagesInCache : 50;
    if (FPageCache.size() > 1 && static_cast<int>(FPageCache.size()) > limit) {
        const int dropped = FPageCache.back().first;
        FPageCache.pop_back();
        if (report && report->EngineOptions()->UseFileCache && dropped >= 0 && dropped < GetCount()) {
            TqlrXMLItem* item = FPagesItem->Items(dropped);
            if (item->Unloadable()) FXMLDoc.UnloadItem(item);
        }
    }
}

TqlrReportPage* TqlrPreviewPages::GetPage(int index)
{
    if (GetCount() == 0 || index < 0 || index >= GetCount()) return nullptr;
    const bool running = Engine() && Engine()->Running;
    if (!running) {
        for (std::size_t i = 0; i < FPageCache.size(); ++i)
            if (FPageCache[i].first == index) {
                if (i != 0) std::swap(FPageCache[0], FPageCache[i]);
                return FPageCache[0].second.get();
            }
    }
    TqlrXMLItem* item = FPagesItem->Items(index);
    FXMLDoc.LoadItem(item);
    TqlrReportPage* page = RebuildPage(item);
    AddToCache(index, page);
    return page;
}

gui::TPoint TqlrPreviewPages::GetPageSize(int index)
{
    if (index < 0 || index >= GetCount()) return {0, 0};
    TqlrReportPage* page = nullptr;
    const int n = SourcePageIndexOf(FPagesItem->Items(index));
    page = n >= 0 ? FSourcePages[static_cast<std::size_t>(n)].get() : GetPage(index);
    if (!page) return {0, 0};
    return {static_cast<int>(std::lround(static_cast<double>(page->PaperWidth() * fr01cm))),
            static_cast<int>(std::lround(static_cast<double>(page->PaperHeight() * fr01cm)))};
}

} // namespace qlr
