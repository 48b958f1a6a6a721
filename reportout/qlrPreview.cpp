// The preview control: layout and zoom, navigation, the progress calls of
// a report run, the report commands and the keys.

#include "reportout/qlrPreview.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Files.h"
#include "report/qlrClassPages.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrPageSettings.h"
#include "reportout/qlrPreviewForm.h"
#include "reportout/qlrReportDialogs.h"

namespace qlr {

namespace {

constexpr int LayoutGap = 26;

uint32_t SteadyTicks()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The report's prepared pages as the workspaces draw them.
class TPreparedPages : public IqlrWorkspacePages {
public:
    explicit TPreparedPages(TqlrPreview* preview) : FPreview(preview) {}
    int Count() override { return Pages() ? Pages()->GetCount() : 0; }
    void DrawPage(int index, gui::TCanvas* canvas, long double scaleX, long double scaleY, int offsetX,
                  int offsetY) override
    {
        if (Pages()) Pages()->DrawPage(index, canvas, scaleX, scaleY, offsetX, offsetY);
    }
    void ObjectOver(int index, int x, int y, gui::TMouseButton button, gui::TShiftState shift, long double scale,
                    int offsetX, int offsetY, bool click, gui::TCursor& cursor, bool dbClick) override
    {
        if (!Pages()) return;
        int c = cursor;
        Pages()->ObjectOver(index, x, y, button, shift, scale, offsetX, offsetY, click, c, dbClick);
        cursor = static_cast<gui::TCursor>(c);
    }
    bool PageTopMargin(int index, long double& topMargin) override
    {
        if (!Pages() || index < 0 || index >= Pages()->GetCount()) return false;
        TqlrReportPage* page = Pages()->GetPage(index);
        if (!page) return false;
        topMargin = page->TopMargin();
        return true;
    }

private:
    TqlrCustomPreviewPages* Pages() const { return FPreview->PreviewPages; }
    TqlrPreview* FPreview;
};

} // namespace

std::function<uint32_t()> TqlrPreview::TickCount = SteadyTicks;

TqlrPreview::TqlrPreview(rtl::TComponent* owner) : gui::TCustomControl(owner)
{
    SetBounds(0, 0, 100, 100);
    FPages = std::make_unique<TPreparedPages>(this);

    FOutlinePopup = new gui::TPopupMenu(this);
    FOutlinePopup->SetImages(&GetResources().GetPreviewButtonImages());
    auto* collapse = new gui::TMenuItem(this);
    collapse->SetCaption(GetResources().Get("601"));
    collapse->SetImageIndex(13);
    collapse->OnClick = [this](rtl::TObject*) {
        FOutlineTree->FullCollapse();
        if (FWorkspace->CanFocus()) FWorkspace->SetFocus();
    };
    auto* expand = new gui::TMenuItem(this);
    expand->SetCaption(GetResources().Get("600"));
    expand->SetImageIndex(14);
    expand->OnClick = [this](rtl::TObject*) {
        FOutlineTree->FullExpand();
        if (FOutlineTree->Count() > 0) FOutlineTree->SetTopItem(FOutlineTree->Item(0));
        if (FWorkspace->CanFocus()) FWorkspace->SetFocus();
    };
    FOutlinePopup->Items()->Add(collapse);
    FOutlinePopup->Items()->Add(expand);

    FOutlineTree = new gui::TTreeView(this);
    FOutlineTree->SetParent(this);
    FOutlineTree->SetAlign(gui::TAlign::alLeft);
    FOutlineTree->SetWidth(FOutlineWidth);
    FOutlineTree->SetVisible(false);
    FOutlineTree->SetPopupMenu(FOutlinePopup);
    FOutlineTree->OnClick = [this](rtl::TObject*) {
        if (gui::TTreeNode* n = FOutlineTree->Selected()) {
            SetPosition(n->ImageIndex, n->StateIndex);
            if (CanFocus()) SetFocus();
        }
    };

    FThumbnail = new TqlrPreviewWorkspace(this);
    FThumbnail->SetParent(this);
    FThumbnail->SetAlign(gui::TAlign::alLeft);
    FThumbnail->SetVisible(false);
    FThumbnail->SetIsThumbnail(true);
    FThumbnail->SetZoom(0.1L);
    FThumbnail->SetWidth(FOutlineWidth);
    FThumbnail->SetPreviewPages(FPages.get());
    FThumbnail->OnPageNoChange = [this](int n) { SetPageNo(n); };

    FSplitter = new gui::TSplitter(this);
    FSplitter->SetParent(this);
    FSplitter->SetAlign(gui::TAlign::alLeft);
    FSplitter->SetLeft(FOutlineWidth + 1);
    FSplitter->SetVisible(false);
    FSplitter->OnMoved = [this](rtl::TObject*) { RelayoutPages(); };

    FWorkspace = new TqlrPreviewWorkspace(this);
    FWorkspace->SetParent(this);
    FWorkspace->SetAlign(gui::TAlign::alClient);
    FWorkspace->SetPreviewPages(FPages.get());
    FWorkspace->OnPageNoChange = [this](int n) { SetPageNo(n); };
    FWorkspace->OnPreviewDblClick = [this](rtl::TObject*) {
        if (FPreviewForm && FPreviewForm->FullScreen()) FPreviewForm->SwitchToFullScreen();
        if (OnDblClick) OnDblClick(this);
    };
    FWorkspace->OnPreviewClick = [this](rtl::TObject*) {
        if (OnClick) OnClick(this);
    };

    FMessagePanel = new gui::TPanel(this);
    FMessagePanel->SetParent(this);
    FMessagePanel->SetVisible(false);
    FMessagePanel->SetBounds(0, 0, 260, 75);
    FMessageLabel = new gui::TLabel(this);
    FMessageLabel->SetParent(FMessagePanel);
    FMessageLabel->SetAutoSize(false);
    FMessageLabel->SetAlignment(gui::TAlignment::taCenter);
    FMessageLabel->SetBounds(4, 20, 255, 20);
    FCancelB = new gui::TButton(this);
    FCancelB->SetParent(FMessagePanel);
    FCancelB->SetBounds(92, 44, 75, 25);
    FCancelB->SetVisible(false);
    FCancelB->SetCaption(GetResources().Get("clCancel"));
    FCancelB->OnClick = [this](rtl::TObject*) {
        if (Report) Report->SetTerminated(true);
    };
    SetTabStop(true);
}

TqlrPreview::~TqlrPreview()
{
    if (Report && Report->Preview() == this) Report->SetPreview(nullptr);
    FWorkspace->SetPreviewPages(nullptr);
    FThumbnail->SetPreviewPages(nullptr);
}

bool TqlrPreview::HasButton(TqlrPreviewButton b) const
{
    return Report && Report->PreviewOptions()->Buttons.Contains(b);
}

int TqlrPreview::PageCount() { return PreviewPages ? PreviewPages->GetCount() : 0; }

int TqlrPreview::LayoutWidth() const
{
    return FWorkspace->Width() - FWorkspace->VertScrollBar()->Width() - LayoutGap;
}

void TqlrPreview::LayOutInView(TqlrPreviewWorkspace* ws)
{
    // Laid out beside the vertical bar first; when the pages fit the height
    // and the bar hides, again in the whole width, so that they are centred
    // in what the view shows.
    ws->LayOutPages(ws->Width() - ws->VertScrollBar()->Width() - LayoutGap);
    ws->UpdateScrollRanges();
    if (ws->VertScrollBar()->Visible()) return;
    ws->LayOutPages(ws->Width() - LayoutGap);
    ws->UpdateScrollRanges();
}

// ------------------------------------------------------------------ Init

void TqlrPreview::Init()
{
    TqlrTextSearch& s = TextSearch();
    s.Found = false;
    s.LastFoundRecord = -1;
    FWorkspace->SearchPage = 0;
    FAllowF3 = false;
    FWorkspace->SetDoubleBuffered(true);
    if (Report) {
        TqlrPreviewOptions* o = Report->PreviewOptions();
        SetOutlineWidth(o->OutlineWidth);
        SetOutlineVisible(o->OutlineVisible);
        SetThumbnailVisible(o->ThumbnailVisible);
        FZoomMode = o->ZoomMode;
        FZoom = o->Zoom;
    }
    RelayoutPages();
    RebuildOutlineTree();
    First();
}

// ------------------------------------------------------------------ view

void TqlrPreview::SetPageNo(int value)
{
    const int old = FPageNo;
    value = std::max(value, 1);
    value = std::min(value, PageCount());
    FPageNo = value;
    FWorkspace->SetPageNo(value);
    FThumbnail->SetPageNo(value);
    if (old != value) {
        FWorkspace->PaintPageArea(true);
        FThumbnail->PaintPageArea(true);
        FWorkspace->Invalidate();
        FThumbnail->Invalidate();
    }
    FWorkspace->ScrollToPage(value);
    if (FThumbnail->Visible()) FThumbnail->ScrollToPage(value);
    PageChanged();
}

void TqlrPreview::PageChanged()
{
    if (OnPageChanged) OnPageChanged(this, FPageNo);
    if (FPreviewForm) FPreviewForm->PageChanged(FPageNo);
}

void TqlrPreview::SetPosition(int pageN, int top)
{
    pageN = std::min(pageN, PageCount());
    pageN = std::max(pageN, 1);
    FWorkspace->ScrollToPosition(pageN, top);
}

void TqlrPreview::SetZoom(long double value)
{
    FZoom = std::max(value, 0.25L);
    FZoomMode = TqlrZoomMode::zmDefault;
    RelayoutPages();
}

void TqlrPreview::SetZoomMode(TqlrZoomMode value)
{
    FZoomMode = value;
    RelayoutPages();
}

void TqlrPreview::ShowPanel(gui::TControl* panel, bool value)
{
    const bool changed = panel->Visible() != value;
    gui::TControl* other = panel == FOutlineTree ? static_cast<gui::TControl*>(FThumbnail) : FOutlineTree;
    if (value) other->SetVisible(false);
    FSplitter->SetVisible(value || other->Visible());
    if (value && Report && Report->PreviewOptions()->RTLPreview) panel->SetLeft(Width());
    panel->SetVisible(value);
    // The bar stays right of the panel it resizes.
    if (value) FSplitter->SetLeft(panel->Left() + panel->Width() + 1);
    if (FPreviewForm) FPreviewForm->PanelsChanged();
    if (changed) RelayoutPages();
}

void TqlrPreview::SetOutlineVisible(bool value) { ShowPanel(FOutlineTree, value); }

void TqlrPreview::SetThumbnailVisible(bool value)
{
    ShowPanel(FThumbnail, value);
    if (value) {
        FThumbnail->SetHorzPosition(FThumbnail->HorzPosition());
        FThumbnail->SetVertPosition(FThumbnail->VertPosition());
    }
}

void TqlrPreview::SetOutlineWidth(int value)
{
    FOutlineWidth = value;
    FOutlineTree->SetWidth(value);
    FThumbnail->SetWidth(value);
}

void TqlrPreview::ShowMessage(const std::string& text)
{
    FMessagePanel->SetBounds((Width() - 260) / 2, (Height() - 75) / 3, 260, 75);
    FMessageLabel->SetCaption(text);
    FMessagePanel->SetVisible(true);
    FMessagePanel->BringToFront();
    FMessagePanel->Update();
}

void TqlrPreview::HideMessage()
{
    FMessagePanel->SetVisible(false);
    FCancelB->SetVisible(false);
}

void TqlrPreview::MouseWheelScroll(int delta, bool horz, bool zoom)
{
    if (delta == 0) return;
    const int sign = delta > 0 ? 1 : -1;
    if (zoom) {
        long double z = FZoom + sign * 0.1L;
        if (z < 0.3L) z = 0.3L;
        SetZoom(z);
        return;
    }
    if (horz)
        FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() - sign * 20);
    else
        FWorkspace->SetVertPosition(FWorkspace->VertPosition() - sign * 20);
}

void TqlrPreview::RelayoutPages()
{
    if (FLocked || PageCount() == 0) return;
    FAllowF3 = false;
    FWorkspace->ResetCachedPage();
    const gui::TPoint size = PreviewPages->GetPageSize(FPageNo - 1);
    if (size.Y == 0) return;
    const int sbw = FWorkspace->VertScrollBar()->Width();
    if (FZoomMode == TqlrZoomMode::zmWholePage) {
        if (static_cast<long double>(size.Y) / std::max(1, ClientHeight()) >=
            static_cast<long double>(size.X) / std::max(1, ClientWidth()))
            FZoom = static_cast<long double>(FWorkspace->Height() - LayoutGap) / size.Y;
        else
            FZoom = static_cast<long double>(FWorkspace->Width() - sbw - LayoutGap) / size.X;
    } else if (FZoomMode == TqlrZoomMode::zmPageWidth) {
        FZoom = static_cast<long double>(FWorkspace->Width() - sbw - LayoutGap) / size.X;
    }
    FThumbnail->SetDoubleBuffered(true);
    FWorkspace->SetZoom(FZoom);
    FThumbnail->SetZoom(0.1L);
    FWorkspace->ResetPageList();
    FThumbnail->ResetPageList();
    const int count = PageCount();
    for (int i = 0; i < count; ++i) {
        const gui::TPoint s = PreviewPages->GetPageSize(i);
        FWorkspace->AddPageItem(s.X, s.Y);
        if (!FRunning) FThumbnail->AddPageItem(s.X, s.Y);
    }
    LayOutInView(FWorkspace);
    if (!FRunning) LayOutInView(FThumbnail);
    else FThumbnail->UpdateScrollRanges();
    FWorkspace->SetHorzPosition(FWorkspace->HorzPosition());
    FWorkspace->SetVertPosition(FWorkspace->VertPosition());
    if (FZoomMode == TqlrZoomMode::zmWholePage) SetPosition(FPageNo, 0);
    if (!FRefreshing) {
        FWorkspace->Invalidate();
        FThumbnail->Invalidate();
    }
    if (FPreviewForm) FPreviewForm->ZoomChanged();
    FThumbnail->SetDoubleBuffered(false);
}

void TqlrPreview::RebuildOutlineTree()
{
    FOutlineTree->BeginUpdate();
    FOutlineTree->Clear();
    if (PreviewPages && PreviewPages->Outline()) {
        TqlrCustomOutline* outline = PreviewPages->Outline();
        std::function<void(gui::TTreeNode*)> walk = [&](gui::TTreeNode* parent) {
            const int n = outline->GetCount();
            for (int i = 0; i < n; ++i) {
                std::string text;
                int page = 0, top = 0;
                outline->GetItem(i, text, page, top);
                gui::TTreeNode* node = FOutlineTree->AddChild(parent, text);
                node->ImageIndex = page + 1;
                node->StateIndex = top;
                outline->LevelDown(i);
                walk(node);
                outline->LevelUp();
            }
        };
        outline->LevelRoot();
        walk(nullptr);
        if (Report && Report->PreviewOptions()->OutlineExpand) FOutlineTree->FullExpand();
    }
    FOutlineTree->EndUpdate();
    if (FOutlineTree->Count() > 0) FOutlineTree->SetTopItem(FOutlineTree->Item(0));
}

// ------------------------------------------------------------------ lock

void TqlrPreview::Lock()
{
    FLocked = true;
    FWorkspace->SetLocked(true);
    FThumbnail->SetLocked(true);
}

void TqlrPreview::Unlock()
{
    HideMessage();
    FLocked = false;
    FWorkspace->SetLocked(false);
    FThumbnail->SetLocked(false);
    RelayoutPages();
    FWorkspace->Invalidate();
    FThumbnail->Invalidate();
}

void TqlrPreview::Invalidate()
{
    gui::TCustomControl::Invalidate();
    if (FWorkspace) FWorkspace->Invalidate();
    if (FThumbnail) FThumbnail->Invalidate();
}

// A failed preparation unlocks too, so that the preview does not stay
// blank and deaf to the mouse; the failure propagates.
void TqlrPreview::RefreshReport()
{
    if (!Report) return;
    const int hPos = FWorkspace->HorzPosition(), vPos = FWorkspace->VertPosition();
    const int pageNo = FPageNo;
    Lock();
    FRefreshing = true;
    bool ok = false;
    try {
        ok = Report->PrepareReport(true);
    } catch (...) {
        FRefreshing = false;
        Unlock();
        throw;
    }
    FLocked = false;
    FThumbnail->SetLocked(false);
    FPageNo = pageNo > PageCount() ? 1 : pageNo;
    RelayoutPages();
    RebuildOutlineTree();
    FRefreshing = false;
    if (!ok) {
        Unlock();
        return;
    }
    FWorkspace->SetHorzPosition(hPos);
    FWorkspace->SetVertPosition(vPos);
    FWorkspace->SetLocked(false);
    FWorkspace->Invalidate();
    FThumbnail->Invalidate();
    if (PageCount() < pageNo) SetPageNo(1);
}

// ------------------------------------------------------------------ progress

void TqlrPreview::InternalOnProgressStart(TqlrReport* report, TqlrProgressType, int)
{
    if (FRefreshing) return;
    Clear();
    if (report) report->DrillState()->Clear();
    FRunning = true;
    if (FPreviewForm) FPreviewForm->RefreshCommandStates();
}

void TqlrPreview::InternalOnProgress(TqlrReport* report, TqlrProgressType, int progress)
{
    if (FRefreshing) {
        PageChanged();
        return;
    }
    TqlrCustomEngine* engine = report ? report->Engine() : nullptr;
    const bool finalPass = !engine || engine->FinalPass;
    if (finalPass && progress < 50 && PreviewPages) {
        const gui::TPoint s = PreviewPages->GetPageSize(progress);
        FWorkspace->AddPageItem(s.X, s.Y);
        FWorkspace->LayOutPages(LayoutWidth());
    }
    if (progress == 0) {
        SetPageNo(1);
        if (finalPass) RelayoutPages();
        if (FPreviewForm) FPreviewForm->SetCancelCaption(GetResources().Get("clCancel"));
        FTickStart = TickCount();
    } else if (progress == 1) {
        const uint32_t ms = TickCount() - FTickStart;
        FTick = ms < 5 ? 50 : ms < 10 ? 20 : 5;
        SetPageNo(1);
        if (finalPass) RelayoutPages();
    } else if (FTick > 0 && progress % FTick == 0) {
        PageChanged();
        if (finalPass) FWorkspace->UpdateScrollRanges();
    }
    if (gui::Application) gui::Application->ProcessMessages();
}

void TqlrPreview::InternalOnProgressStop(TqlrReport*, TqlrProgressType, int)
{
    if (FRefreshing) return;
    FRunning = false;
    PageChanged();
    FWorkspace->UpdateScrollRanges();
    FThumbnail->UpdateScrollRanges();
    RelayoutPages();
    RebuildOutlineTree();
    if (FPreviewForm) {
        FPreviewForm->SetCancelCaption(GetResources().Get("clClose"));
        FPreviewForm->SetMessageText("", false);
        FPreviewForm->RefreshCommandStates();
    }
}

// ------------------------------------------------------------------ commands

void TqlrPreview::Print()
{
    if (FRunning || !PreviewPages) return;
    PreviewPages->CurPreviewPage = FPageNo;
    try {
        PreviewPages->Print();
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

void TqlrPreview::Export(TqlrCustomExportFilter* filter)
{
    if (FRunning || !PreviewPages || !filter) return;
    PreviewPages->CurPreviewPage = FPageNo;
    try {
        PreviewPages->Export(filter);
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

namespace {

std::string PreparedReportFilter() { return GetResources().Get("clQP3files") + " (*.qp3)|*.qp3"; }

} // namespace

void TqlrPreview::SaveToFile()
{
    if (FRunning || !PreviewPages) return;
    gui::TSaveDialog dialog(gui::Application);
    dialog.Options += gui::TOpenOption::ofNoChangeDir;
    dialog.Filter = PreparedReportFilter();
    PrepareFileDialog(dialog, {Report, true, ".qp3"});
    if (!dialog.Execute()) return;
    FWorkspace->Repaint();
    SaveToFile(rtl::ChangeFileExt(dialog.FileName, ".qp3"));
}

void TqlrPreview::SaveToFile(const std::string& fileName)
{
    if (FRunning || !PreviewPages) return;
    Lock();
    try {
        ShowMessage(GetResources().Get("clSaving"));
        PreviewPages->SaveToFile(fileName);
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

void TqlrPreview::LoadFromFile()
{
    if (FRunning || !PreviewPages) return;
    gui::TOpenDialog dialog(gui::Application);
    dialog.Options = {gui::TOpenOption::ofHideReadOnly, gui::TOpenOption::ofNoChangeDir};
    dialog.Filter = PreparedReportFilter();
    PrepareFileDialog(dialog, {Report, false, ".qp3"});
    if (!dialog.Execute()) return;
    FWorkspace->Repaint();
    LoadFromFile(dialog.FileName);
}

void TqlrPreview::LoadFromFile(const std::string& fileName)
{
    if (FRunning || !PreviewPages) return;
    Lock();
    auto after = [this] {
        FPageNo = 1;
        RebuildOutlineTree();
        Unlock();
        SetPageNo(1);
    };
    try {
        ShowMessage(GetResources().Get("clLoading"));
        PreviewPages->LoadFromFile(fileName, false);
    } catch (...) {
        after();
        throw;
    }
    after();
}

void TqlrPreview::Clear()
{
    if (FRunning || !PreviewPages) return;
    Lock();
    try {
        PreviewPages->Clear();
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
    FWorkspace->ResetPageList();
    FThumbnail->ResetPageList();
    RebuildOutlineTree();
    SetPageNo(1);
    FWorkspace->SetHorzRange(0);
    FWorkspace->SetVertRange(0);
    if (FThumbnail->Visible()) {
        FThumbnail->SetHorzRange(0);
        FThumbnail->SetVertRange(0);
    }
}

void TqlrPreview::AddPage()
{
    if (FRunning || !PreviewPages) return;
    PreviewPages->AddEmptyPage(FPageNo - 1);
    RelayoutPages();
    SetPageNo(FPageNo);
}

void TqlrPreview::DeletePage()
{
    if (FRunning || !PreviewPages || PageCount() == 0) return;
    PreviewPages->DeletePage(FPageNo - 1);
    if (FPageNo >= PageCount()) FPageNo = std::max(PageCount() == 0 ? 0 : 1, FPageNo - 1);
    FWorkspace->SetPageNo(FPageNo);
    FThumbnail->SetPageNo(FPageNo);
    RelayoutPages();
    PageChanged();
}

void TqlrPreview::PageSetupDlg()
{
    if (FRunning || !PreviewPages || !Report) return;
    TqlrReportPage* page = PreviewPages->GetPage(FPageNo - 1);
    if (!page) return;
    TqlrPageSettingsForm dialog(gui::Application);
    dialog.SetReport(Report);
    dialog.SetPage(page);
    if (dialog.ShowModal() != gui::mrOk) return;
    if (dialog.NeedRebuild()) {
        for (int i = 0; i < Report->GetPagesCount(); ++i) {
            auto* p = dynamic_cast<TqlrReportPage*>(Report->GetPages(i));
            if (!p) continue;
            p->SetOrientation(page->Orientation());
            p->SetPaperWidth(page->PaperWidth());
            p->SetPaperHeight(page->PaperHeight());
            p->SetPaperSize(page->PaperSize());
            p->SetLeftMargin(page->LeftMargin());
            p->SetTopMargin(page->TopMargin());
            p->SetRightMargin(page->RightMargin());
            p->SetBottomMargin(page->BottomMargin());
        }
        Report->PrepareReport(true);
        return;
    }
    Lock();
    try {
        PreviewPages->ModifyPage(FPageNo - 1, page);
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

void TqlrPreview::Cancel()
{
    if (FRunning && Report) Report->SetTerminated(true);
}

// ------------------------------------------------------------------ search

void TqlrPreview::Find()
{
    TqlrSearchDialog dialog(gui::Application);
    if (dialog.ShowModal() == gui::mrOk) {
        TqlrTextSearch& s = TextSearch();
        s.Text = dialog.TextE->Text();
        s.CaseSensitive = dialog.CaseCB->Checked();
        FWorkspace->SearchPage = dialog.TopCB->Checked() ? 0 : FPageNo - 1;
        s.LastFoundRecord = -1;
        FWorkspace->ContinueTextSearch();
    }
    FAllowF3 = true;
}

void TqlrPreview::FindNext()
{
    if (FAllowF3) FWorkspace->ContinueTextSearch();
}

bool TqlrPreview::FindText(const std::string& text, bool fromTop, bool caseSensitive)
{
    TqlrTextSearch& s = TextSearch();
    s.Text = text;
    s.CaseSensitive = caseSensitive;
    FWorkspace->SearchPage = fromTop ? 0 : FPageNo - 1;
    s.LastFoundRecord = -1;
    FWorkspace->ContinueTextSearch();
    FAllowF3 = true;
    return s.Found;
}

void TqlrPreview::FindTextClear()
{
    TqlrTextSearch& s = TextSearch();
    s.LastFoundRecord = -1;
    FWorkspace->SearchPage = 0;
    s.Found = false;
    Invalidate();
}

// ------------------------------------------------------------------ window

void TqlrPreview::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    const bool ctrl = shift.Contains(gui::TShiftStateItem::ssCtrl);
    switch (key) {
    case gui::VK_UP: FWorkspace->SetVertPosition(FWorkspace->VertPosition() - 8); break;
    case gui::VK_DOWN: FWorkspace->SetVertPosition(FWorkspace->VertPosition() + 8); break;
    case gui::VK_LEFT: FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() - 8); break;
    case gui::VK_RIGHT: FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() + 8); break;
    case gui::VK_PRIOR:
        if (ctrl)
            Prior();
        else
            FWorkspace->SetVertPosition(FWorkspace->VertPosition() - 300);
        break;
    case gui::VK_NEXT:
        if (ctrl)
            Next();
        else
            FWorkspace->SetVertPosition(FWorkspace->VertPosition() + 300);
        break;
    case gui::VK_HOME: First(); break;
    case gui::VK_END: Last(); break;
    case gui::VK_F3:
        if (HasButton(TqlrPreviewButton::pbFind)) FindNext();
        break;
    default:
        if (ctrl && key == 'P' && HasButton(TqlrPreviewButton::pbPrint)) Print();
        if (ctrl && key == 'S' && HasButton(TqlrPreviewButton::pbSave)) SaveToFile();
        if (ctrl && key == 'F' && HasButton(TqlrPreviewButton::pbFind)) Find();
        if (ctrl && key == 'O' && HasButton(TqlrPreviewButton::pbLoad)) LoadFromFile();
        break;
    }
    gui::TCustomControl::KeyDown(key, shift);
}

void TqlrPreview::Dispatch(gui::TMessage& message)
{
    if (message.Msg == gui::WM_GETDLGCODE) {
        message.Result = gui::DLGC_WANTARROWS;
        return;
    }
    if (message.Msg == gui::WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    gui::TCustomControl::Dispatch(message);
}

void TqlrPreview::Paint() {}

void TqlrPreview::Resize()
{
    gui::TCustomControl::Resize();
    if (FWorkspace) RelayoutPages();
}

} // namespace qlr
