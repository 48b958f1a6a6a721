// The report preview control: a main page workspace with an outline tree
// or a thumbnail strip beside it, navigation, zoom modes, the text search, and the report
// commands (print, export, save, open, page setup).  The report attaches it
// (TqlrReport::SetPreview fills Report and PreviewPages and calls Init) and
// drives it with the progress calls while pages are prepared, so that the
// first pages show before the run ends.
//
// The rule a caller must know: PageNo stays within 1..PageCount (0 without
// pages); the report commands do nothing while the report is prepared; an
// operation that locks the preview unlocks it also when it fails, and the
// failure propagates.
//
// Example:
//   auto* preview = new qlr::TqlrPreview(form);
//   preview->SetParent(form);
//   preview->SetAlign(gui::TAlign::alClient);
//   report.SetPreview(preview);       // Init: lays the pages out, page 1
//   preview->SetZoom(1.5);
//   preview->Next();
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/TreeView.h"
#include "platform/gui/StdCtrls.h"
#include "report/qlrClass.h"
#include "reportout/qlrPreviewWorkspace.h"

namespace qlr {

class TqlrPreview;
class TqlrPreviewForm;
using TqlrPageChangedEvent = std::function<void(TqlrPreview* sender, int pageNo)>;

class TqlrPreview : public gui::TCustomControl, public TqlrCustomPreview {
public:
    explicit TqlrPreview(rtl::TComponent* owner);
    ~TqlrPreview() override;

    // ---- TqlrCustomPreview
    void Init() override;
    void Lock() override;
    void Unlock() override;
    void RefreshReport() override;
    void InternalOnProgressStart(TqlrReport* report, TqlrProgressType type, int progress) override;
    void InternalOnProgress(TqlrReport* report, TqlrProgressType type, int progress) override;
    void InternalOnProgressStop(TqlrReport* report, TqlrProgressType type, int progress) override;
    void Invalidate() override;
    void Refresh() override { Invalidate(); }
    void HideMessage() override;
    void SetPageNo(int value) override;
    void SetPosition(int pageN, int top) override;
    void SetHint(const std::string& hint) override { gui::TCustomControl::SetHint(hint); }
    void SetShowHint(bool show) override { gui::TCustomControl::SetShowHint(show); }

    // ---- navigation and view
    int PageCount();
    int PageNo() const { return FPageNo; }
    void First() { SetPageNo(1); }
    void Prior() { SetPageNo(FPageNo - 1); }
    void Next() { SetPageNo(FPageNo + 1); }
    void Last() { SetPageNo(PageCount()); }
    int GetTopPosition() { return FWorkspace->CurrentTopPosition(); }
    long double Zoom() const { return FZoom; }
    // Below 0.25 becomes 0.25; the mode becomes zmDefault.
    void SetZoom(long double value);
    TqlrZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TqlrZoomMode value);
    bool Locked() const { return FLocked; }
    bool Running() const { return FRunning; }
    void SetOutlineVisible(bool value);
    bool OutlineVisible() const { return FOutlineTree->Visible(); }
    bool ThumbnailVisible() const { return FThumbnail->Visible(); }
    void SetThumbnailVisible(bool value);
    int OutlineWidth() const { return FOutlineWidth; }
    void SetOutlineWidth(int value);
    void ShowMessage(const std::string& text);
    void MouseWheelScroll(int delta, bool horz, bool zoom);
    void RelayoutPages();
    // The outline tree from the prepared pages' outline: per node its text,
    // image index = page, state index = top.
    void RebuildOutlineTree();

    // ---- report commands (nothing while the report is prepared)
    void Print();
    void Export(TqlrCustomExportFilter* filter);
    void SaveToFile();
    void SaveToFile(const std::string& fileName);
    void LoadFromFile();
    void LoadFromFile(const std::string& fileName);
    void Clear();
    void AddPage();
    void DeletePage();
    void PageSetupDlg();
    // The page designer does not exist in this system: nothing changes.
    void Edit() {}
    void Cancel();

    // ---- searching
    void Find();
    void FindNext();
    bool FindText(const std::string& text, bool fromTop, bool caseSensitive);
    bool FindTextFound() const { return TextSearch().Found; }
    void FindTextClear();

    TqlrPreviewWorkspace* Workspace() const { return FWorkspace; }
    gui::TTreeView* OutlineTree() const { return FOutlineTree; }
    gui::TSplitter* Splitter() const { return FSplitter; }
    gui::TPopupMenu* OutlinePopup() const { return FOutlinePopup; }
    TqlrPreviewWorkspace* Thumbnail() const { return FThumbnail; }
    gui::TPanel* MessagePanel() const { return FMessagePanel; }
    gui::TLabel* MessageLabel() const { return FMessageLabel; }
    gui::TButton* CancelButton() const { return FCancelB; }
    // The preview window that holds this control, nullptr when none.
    TqlrPreviewForm* PreviewForm() const { return FPreviewForm; }
    void SetPreviewForm(TqlrPreviewForm* form) { FPreviewForm = form; }

    TqlrPageChangedEvent OnPageChanged;
    // The clock of the progress interval (milliseconds); tests set it.
    static std::function<uint32_t()> TickCount;
    // The interval (in pages) between page-count updates while preparing.
    int ProgressInterval() const { return FTick; }

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void Dispatch(gui::TMessage& message) override;

protected:
    void Paint() override;
    void Resize() override;

private:
    // Shows or hides a side panel (the other one hides when it shows).
    void ShowPanel(gui::TControl* panel, bool value);
    // The workspace width pages are laid out in.
    int LayoutWidth() const;
    // Lays the pages of a workspace out and sets its scroll ranges.
    void LayOutInView(TqlrPreviewWorkspace* ws);
    bool HasButton(TqlrPreviewButton b) const;
    void PageChanged();

    gui::TPopupMenu* FOutlinePopup = nullptr;
    gui::TTreeView* FOutlineTree = nullptr;
    gui::TSplitter* FSplitter = nullptr;
    TqlrPreviewWorkspace* FWorkspace = nullptr;
    TqlrPreviewWorkspace* FThumbnail = nullptr;
    gui::TPanel* FMessagePanel = nullptr;
    gui::TLabel* FMessageLabel = nullptr;
    gui::TButton* FCancelB = nullptr;
    std::unique_ptr<IqlrWorkspacePages> FPages;
    TqlrPreviewForm* FPreviewForm = nullptr;

    int FPageNo = 1;
    long double FZoom = 1;
    TqlrZoomMode FZoomMode = TqlrZoomMode::zmDefault;
    bool FLocked = false, FRunning = false, FRefreshing = false, FAllowF3 = false;
    int FOutlineWidth = 120;
    uint32_t FTickStart = 0;
    int FTick = 0;
};

} // namespace qlr
