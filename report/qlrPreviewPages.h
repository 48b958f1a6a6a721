// The prepared pages of a report: the finished result of a run, kept as one
// XML document (root "preparedreport") in which every printed object is
// only the difference between it and a copy of its template object (its
// source object).  Source objects are stored once per template page, under
// short dictionary names (aliases such as "m12"); pages are rebuilt into
// objects on demand and kept in a small cache; pages from the third on may
// be swapped to a temporary file during long runs.  The same document,
// written to a stream, is the prepared-report file.  The engine fills the
// store (AddSourcePage, AddPage, AddObject ...); the preview, printing and
// export read it (GetPage, DrawPage, Print, Export, ObjectOver).
//
// The rule a caller must know: a page returned by GetPage belongs to the
// page cache and lives only until the next edit, print, export, Clear or
// until the cache drops it -- never keep it across such calls.
//
// Example: a run by hand.
//   qlr::TqlrPreviewPages pages(&report);
//   pages.Initialize();
//   pages.AddSourcePage(page1);            // page1: a template page
//   pages.AddPage(page1);                   // prepared page 0
//   memo1->SetText("Total: 10");
//   pages.AddObject(memo1);                 // stored as <m1 .../>
//   pages.Finish();
//   pages.GetPage(0)->Objects()[0];         // a memo reading "Total: 10"
//
// Units: qlrPreviewPages.cpp (store, dictionary, outline, rebuilding),
// qlrPreviewPagesFile.cpp (editing, loading and saving),
// qlrPreviewPagesDraw.cpp (DrawPage, ObjectOver), qlrPreviewPagesPrint.cpp
// (Print, Export).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "report/qlrClass.h"
#include "report/qlrPictureCache.h"
#include "report/qlrXML.h"

namespace gui {
enum class TMouseButton;
}

namespace qlr {

class TqlrPreviewPages;

// Short names of source objects: alias -> source name ("Page0.Memo1") and
// the source object.  Aliases are compared ignoring case.
class TqlrDictionary {
public:
    void Add(const std::string& name, const std::string& sourceName, TqlrComponent* obj);
    // Add under CreateUniqueName(base); returns that name.
    std::string AddUnique(const std::string& base, const std::string& sourceName, TqlrComponent* obj);
    // base + the lowest free number (the names of one base run from 1).
    std::string CreateUniqueName(const std::string& base) const;
    // nullptr / empty when the alias is unknown.
    TqlrComponent* GetObject(const std::string& name) const;
    std::string GetSourceName(const std::string& name) const;
    void Clear();
    int Count() const { return static_cast<int>(FNames.size()); }
    // Aliases in alias order, each with its source name.
    std::vector<std::pair<std::string, std::string>> Entries() const;

private:
    struct LessNoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, int, LessNoCase> FNames;
    std::vector<std::pair<std::string, TqlrComponent*>> FSourceNames;
};

// The outline: nested "item" elements (text, page, top) under the
// document's "outline" element.
class TqlrOutline : public TqlrCustomOutline {
    RTL_CLASS(TqlrOutline, TqlrCustomOutline)
public:
    explicit TqlrOutline(TqlrPreviewPages* pages);
    TqlrXMLItem* Root() const;
    int GetCount() override;
    void AddItem(const std::string& text, int top) override;
    void LevelDown(int index) override;
    void LevelRoot() override;
    void LevelUp() override;
    void GetItem(int index, std::string& text, int& page, int& top) override;
    void ShiftItems(TqlrXMLItem* from, int newTop) override;
    TqlrXMLItem* GetCurPosition() override;

private:
    TqlrPreviewPages* FPages;
};

class TqlrPreviewPages : public TqlrCustomPreviewPages {
public:
    explicit TqlrPreviewPages(TqlrReport* report);
    ~TqlrPreviewPages() override;
    TqlrPreviewPages(const TqlrPreviewPages&) = delete;
    TqlrPreviewPages& operator=(const TqlrPreviewPages&) = delete;

    // ---- the store (engine side)
    int GetCount() override;
    TqlrReportPage* GetPage(int index) override;
    gui::TPoint GetPageSize(int index) override;
    void Clear() override;
    void Initialize() override;
    void AddObject(TqlrComponent* obj) override;
    void AddPage(TqlrReportPage* page) override;
    void AddSourcePage(TqlrReportPage* page) override;
    void AddToSourcePage(TqlrComponent* obj) override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void CutObjects(int position) override;
    void Finish() override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    void PasteObjects(long double x, long double y) override;
    void ShiftAnchors(int from, int newTop) override;
    void AddPicture(TqlrPictureView* picture) override;
    bool BandExists(TqlrBand* band) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override;
    long double GetLastY(long double columnPosition = 0) override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddAnchor(const std::string& text);
    // The last anchor of that text (case ignored), nullptr when none.
    TqlrXMLItem* FindAnchor(const std::string& text);
    // Its page + 1; 1 for an unknown anchor.
    int GetAnchorPage(const std::string& text);
    // Width, Height: pixels.  The source page of the template page (the
    // last source page when none matches) gets a custom paper of that size.
    void UpdatePageDimensions(TqlrReportPage* page, long double width, long double height);

    // ---- editing, loading and saving (qlrPreviewPagesFile.cpp)
    void AddEmptyPage(int index) override;
    void DeletePage(int index) override;
    void ModifyPage(int index, TqlrReportPage* page) override;
    void AddFrom(TqlrReport* report) override;
    void LoadFromStream(rtl::TStream& stream, bool allowPartialLoading = false) override;
    void SaveToStream(rtl::TStream& stream) override;
    bool LoadFromFile(const std::string& fileName, bool exceptionIfNotFound = false) override;
    void SaveToFile(const std::string& fileName) override;

    // ---- output (qlrPreviewPagesDraw.cpp, qlrPreviewPagesPrint.cpp)
    void DrawPage(int index, gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                  long double offsetY) override;
    void ObjectOver(int index, int x, int y, gui::TMouseButton button,
                    const rtl::Set<gui::TShiftStateItem, 8>& shift, long double scale, int offsetX, int offsetY,
                    bool click, int& cursor, bool dbClick = false) override;
    bool Print() override;
    bool Export(TqlrCustomExportFilter* filter) override;

    // ---- state
    bool AllowPartialLoading = false;
    int CopyNo = 0;
    int FirstObjectIndex = 0, FirstPageIndex = -1, FirstOutlineIndex = 0;
    int LogicalPageN = 0;
    long double PrintScale = 1;
    int64_t XMLSize = 0;
    TqlrDictionary& Dictionary() { return FDictionary; }
    TqlrXMLDocument& XMLDoc() { return FXMLDoc; }
    TqlrPictureCache& PictureCache() { return FPictureCache; }
    TqlrXMLItem* PagesItem() const { return FPagesItem; }
    const std::vector<std::unique_ptr<TqlrReportPage>>& SourcePages() const { return FSourcePages; }
    // The complete text a source object is rebuilt from.
    std::string SourceText(TqlrComponent* source) const;
    // Pages rebuilt and cached, most recent first.
    int PageCacheCount() const { return static_cast<int>(FPageCache.size()); }
    // Frees every cached page.
    void ClearPageCache();

private:
    friend class TqlrOutline;
    TqlrXMLItem* Root() const { return FXMLDoc.Root(); }
    TqlrXMLItem* CurPageItem();
    // The source page index named by a page element ("page" + N), -1 for a
    // page stored whole.
    int SourcePageIndexOf(TqlrXMLItem* pageItem) const;
    int SourcePageIndexOf(TqlrReportPage* templatePage) const;
    void RegisterSource(TqlrComponent* copy, int sourcePageIndex);
    void DoAdd(TqlrComponent* c, TqlrXMLItem* parentItem);
    TqlrReportPage* RebuildPage(TqlrXMLItem* pageItem);
    void AddToCache(int index, TqlrReportPage* page);
    // Whole serialization of a page into item (ModifyPage, AddFrom).
    void WritePage(TqlrReportPage* page, TqlrXMLItem* item);
    void WritePreparedParts();
    void ReadPreparedParts();
    TqlrXMLItem* LogicalEntry(int pageIndex);

    TqlrDictionary FDictionary;
    TqlrXMLDocument FXMLDoc;
    TqlrPictureCache FPictureCache;
    TqlrXMLItem* FPagesItem = nullptr;
    std::vector<std::unique_ptr<TqlrReportPage>> FSourcePages;
    std::map<TqlrComponent*, std::string> FSourceText;
    std::vector<std::pair<int, std::unique_ptr<TqlrReportPage>>> FPageCache;
    rtl::TStream* FTempStream = nullptr;
};

} // namespace qlr
