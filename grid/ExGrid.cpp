// ExGrid: the string grid's lifecycle: construction with its companions,
// destruction, window creation, loading, copying, repaint requests, size
// and the always-visible scroll bars; the unit's registrations and the
// data-exchange seam.
#include "grid/ExGrid.h"

#include <algorithm>
#include <cstring>

#include "htmltext/PictureContainer.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"
#include "platform/sys/SystemInfo.h"

namespace grid {

RTL_PUBLISHED(TExStringGrid) {}
RTL_PUBLISHED(TGridChangeNotifier) {}
RTL_PUBLISHED(TExHintInfo) {}

namespace {

constexpr uintptr_t GridTimerId = 111;
constexpr unsigned GridTimerMs = 500;

TGridIOHooks*& HooksSlot()
{
    static TGridIOHooks* hooks = nullptr;
    return hooks;
}

struct UnitState {
    uint32_t CellClipboardFormat = 0;
    uint32_t EditDoneMessage = 0;
    bool ComCtrlsOK = false;
};

// The unit's registrations, made once on first use.
const UnitState& Unit()
{
    static const UnitState state = [] {
        UnitState s;
        try {
            rtl::RegisterClass<TExStringGrid>();
        } catch (...) {
            // A second registration under the same name is harmless.
        }
        // This platform's controls library always has the date pickers.
        s.ComCtrlsOK = true;
        s.CellClipboardFormat = gui::RegisterClipboardFormat("TExStringGrid Cells");
        s.EditDoneMessage = gui::RegisterWindowMessage("GridEditDone");
        return s;
    }();
    return state;
}

int SystemScrollBarExtent(int index)
{
    const int own = sys::SystemInfo().ScrollBarExtent;
    return own > 0 ? own : gui::GetSystemMetrics(index);
}

} // namespace

void SetGridIOHooks(TGridIOHooks* hooks) { HooksSlot() = hooks; }
TGridIOHooks* GridIOHooks() { return HooksSlot(); }
uint32_t GridCellClipboardFormat() { return Unit().CellClipboardFormat; }
uint32_t GridEditDoneMessage() { return Unit().EditDoneMessage; }
bool GridComCtrlsOK() { return Unit().ComCtrlsOK; }

int32_t GetModuleFileVersionMS(const std::vector<uint8_t>& versionRecord)
{
    // Fixed version record: signature, structure version, file version MS, LS ...
    if (versionRecord.size() < 12) return -1;
    auto dword = [&](std::size_t at) {
        return uint32_t(versionRecord[at]) | uint32_t(versionRecord[at + 1]) << 8 |
               uint32_t(versionRecord[at + 2]) << 16 | uint32_t(versionRecord[at + 3]) << 24;
    };
    if (dword(0) != 0xFEEF04BDu) return -1;
    return static_cast<int32_t>(dword(8));
}

void TExHintInfo::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TExHintInfo*>(source);
    if (!src) return;
    FTitle = src->FTitle;
    FNotes = src->FNotes;
    FShowHelp = src->FShowHelp;
}

// ------------------------------------------------------------ construction

TExGridState::TExGridState(rtl::TComponent* owner) : gridbase::TBaseGrid(owner) {}

// Out of line: the picture cache is complete only here.
TExGridState::~TExGridState() = default;

TExStringGrid::TExStringGrid(rtl::TComponent* owner) : TExGridStructure(owner)
{
    // The settings objects that are handed the grid itself.
    FFilter = std::make_unique<TFilter>(this);
    FSearchFooter = MakeSearchFooter();
    FProgressAppearance = MakeProgressAppearance();
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FBalloon = MakeBalloon();
    FShowModified = MakeShowModified();
    Unit();
    std::fill(std::begin(FVisibleCol), std::end(FVisibleCol), true);
    std::fill(std::begin(FAllColWidths), std::end(FAllColWidths), int16_t(0));
    SetControlStyle(ControlStyle() + gui::TControlStyle{gui::TControlStyleItem::csAcceptsControls});

    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    if (TGridIOHooks* hooks = GridIOHooks()) FPrintSettings = hooks->CreatePrintSettings(*this);
    if (!FPrintSettings) FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>();
    FSortSettings->SetOwnerGrid(this);
    FControlLook = std::make_unique<TControlLook>(this);
    SetNonClientPaint(true);  // the look border
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->OnChange = [this](rtl::TObject*) { NavigationChanged(); };
    FColumnSize = std::make_unique<TColumnSize>(this);
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>(this);
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FMouseActions->OnChange = [this](rtl::TObject*) { MouseActionsChanged(); };
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders = std::make_unique<rtl::TStringList>();
    FImageCache = std::make_unique<htmltext::THTMLPictureCache>();
    FColumnHeaders->OnChange = [this](rtl::TObject*) {
        ColumnHeadersChanged();
        ShowColumnHeaders();
    };

    FFixedFont = std::make_unique<gui::TFont>();
    FFixedFont->SetName("Tahoma");
    FFixedFont->SetStyle({gui::TFontStyle::fsBold});
    FFixedFont->OnChange = [this](rtl::TObject* s) { AppearanceChange(s); };
    FActiveCellFont = std::make_unique<gui::TFont>();
    if (Designing()) FActiveCellFont->SetName("Tahoma");
    FActiveCellFont->SetStyle({gui::TFontStyle::fsBold});
    FActiveCellFont->OnChange = [this](rtl::TObject* s) { AppearanceChange(s); };

    FRowHeaders = std::make_unique<rtl::TStringList>();
    FRowHeaders->OnChange = [this](rtl::TObject*) { ShowRowHeaders(); };
    FMergedColumns->OnChange = [this](rtl::TObject*, int, int) { MergedColumnsChange(); };
    FLookupItems = std::make_unique<rtl::TStringList>();
    FFilterList = std::make_unique<rtl::TStringList>();
    FRowIndicator = std::make_unique<gui::TBitmap>();
    FBackGround = std::make_unique<TBackGround>(this);
    gui::TCustomGrid::SetScrollBars(gui::TScrollStyle::ssBoth);
    TBaseGrid::SetWordWrap(true);

    FMaxColCount = ColCount();
    SetRowCount(10);
    SetWidth(400);
    SetHeight(250);
    FGridItems = std::make_unique<TGridItems>();
    FOfficeHint = std::make_unique<TExHintInfo>();
    TBaseGrid::SetShowSelection(true);

    // The owner form's resize handler is the grid's while it lives.
    if (auto* form = dynamic_cast<gui::TCustomForm*>(owner); form && !Designing()) {
        if (form->OnResize) {
            FOnResize = form->OnResize;
            ResizeAssigned = true;
        }
        form->OnResize = [this](rtl::TObject* sender) { ParentFormResize(sender); };
        FResizeForm = form;
        PrevSizeX = form->Width();
        PrevSizeY = form->Height();
    }

    SetDefaultRowHeight(22);
    FFixedRowHeight = TBaseGrid::DefaultRowHeight();
    FKVRGradTo = gui::ColorToRGB(gui::clBtnFace);
    SetScrollWidth(SystemScrollBarExtent(gui::SM_CXVSCROLL));

    const sys::TSystemInfo& si = sys::SystemInfo();
    FIsWinXP = si.MajorVersion > 5 || (si.MajorVersion == 5 && si.MinorVersion != 0);
    FIsWin7 = si.MajorVersion > 6 || (si.MajorVersion == 6 && si.MinorVersion != 0);
    FIsWinVista = si.VistaOrLater;
    FIsComCtl6 = si.ComCtlMajorVersion > 5;
    // The wheel: lines per notch from the desktop's setting.
    FWheelMsg = gui::WM_MOUSEWHEEL;
    FWheelScrl = si.WheelScrollLines;
}

TExStringGrid::~TExStringGrid()
{
    // The drag loop must not find the freed grid's target.
    if (FDropTargetOK) RevokeGridDropTarget();
    if (FResizeForm && !FResizeForm->IsDestroying()) FResizeForm->OnResize = ResizeAssigned ? FOnResize : rtl::TNotifyEvent();
    if (FColumnSize->Save()) SaveColSizes();
    if (FGridTimerID) gui::KillTimer(Handle(), FGridTimerID);
    FClearTextOnly = false;
    // Cells beyond the current counts (rows cut, columns hidden) may hold
    // records too: clear over the largest counts the grid ever had, hidden
    // columns included, whatever is hidden now.
    FColumnHeaders->OnChange = nullptr;
    FMergedColumns->OnChange = nullptr;
    FRowHeaders->OnChange = nullptr;
    const int rows = std::max(RowCount(), FMaxRowCount);
    const int cols = std::max(ColCount() + FNumHidden, FMaxColCount);
    if (rows > 0 && cols > 0 && HasCellProps()) {
        gui::TCustomGrid::BeginUpdate();
        if (rows > RowCount()) gui::TCustomGrid::SetRowCount(rows);
        if (cols > ColCount()) gui::TCustomGrid::SetColCount(cols);
        ClearRect(0, 0, cols - 1, rows - 1);
    }
    // The base class frees whatever records remain.
}

// ------------------------------------------------------------- window

void TExStringGrid::SetParent(gui::TWinControl* parent)
{
    TBaseGrid::SetParent(parent);
    if (parent && !FWndCreated && !IsDestroying()) {
        FWndCreated = true;
        CreateWnd();
    }
}

void TExStringGrid::CreateWnd()
{
    if (IsDestroying() || !Parent()) return;
    if (FColumnSize->Save()) LoadColSizes();
    if (gui::SetTimer(Handle(), GridTimerId, GridTimerMs)) FGridTimerID = GridTimerId;
    if (Designing() && !FLoaded && !Loading()) Font()->SetName("Tahoma");
    FIsWinXP = FIsWinXP && gui::IsThemeActive();
}

void TExStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    FOldCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FColumnSize->Save()) LoadColSizes();
    FFixedRowsMin = TBaseGrid::FixedRows();
    FFixedColsMin = TBaseGrid::FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    FLoaded = true;
    gui::TGridOptions opts = Options();
    if (opts.Contains(gui::TGridOption::goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        SetOptions(opts - gui::TGridOptions{gui::TGridOption::goAlwaysShowEditor});
    }
    if (!FIsWinXP && !Designing() && FControlLook->ControlStyle() == TControlStyle::csTheme)
        FControlLook->SetControlStyle(TControlStyle::csClassic);
    FSearchFooter->AutoThemeAdapt = FAutoThemeAdapt;
    UpdateSearchPanel();
    UpdateAlwaysScrollBars(false);
    if (FAutoThemeAdapt) ThemeAdapt();
    InitOrigColSizes();
}

gui::TCustomForm* TExStringGrid::FindParentForm(const gui::TControl* control)
{
    for (const gui::TControl* c = control; c; c = c->Parent())
        if (auto* f = dynamic_cast<gui::TCustomForm*>(const_cast<gui::TControl*>(c))) return f;
    return nullptr;
}

void TExStringGrid::ParentFormResize(rtl::TObject* sender)
{
    if (Designing() || IsDestroying()) return;
    if (auto* form = dynamic_cast<gui::TCustomForm*>(sender); form && SizeWithForm()) {
        const int w = Width() + (form->Width() - PrevSizeX);
        const int h = Height() + (form->Height() - PrevSizeY);
        if (w > 0 && h > 0) {
            SetBounds(Left(), Top(), w, h);
            PrevSizeX = form->Width();
            PrevSizeY = form->Height();
        }
    }
    if (ResizeAssigned && FOnResize) {
        try {
            FOnResize(sender);
        } catch (...) {
            // The form's own handler must not break the grid's resizing.
        }
    }
    if (ColCount() > 0 && FColumnSize->StretchColumn() < ColCount()) StretchColumn(FColumnSize->StretchColumn());
}

// --------------------------------------------------------------- copying

void TExStringGrid::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TExStringGrid*>(source);
    if (!src) return;
    Font()->Assign(src->Font());
    FActiveCellColor = src->FActiveCellColor;
    FActiveCellColorTo = src->FActiveCellColorTo;
    FActiveCellFont->Assign(src->FActiveCellFont.get());
    FActiveCellShow = src->FActiveCellShow;
    SetActiveRowShow(src->ActiveRowShow());
    SetAlign(src->Align());
    SetAnchorHint(src->AnchorHint());
    SetAutoNumAlign(src->AutoNumAlign());
    FAutoSize = src->FAutoSize;
    SetAutoThemeAdapt(src->AutoThemeAdapt());
    SetAutoFilterUpdate(src->AutoFilterUpdate());
    FMouseActions->Assign(src->FMouseActions.get());
    FNavigation->Assign(src->FNavigation.get());
    FGrouping->Assign(src->FGrouping.get());
    FSearchFooter->Assign(src->FSearchFooter.get());
    UpdateSearchPanel();
    FPrintSettings->Assign(src->FPrintSettings.get());
    FFilter->Assign(src->FFilter.get());
    FFilterDropDown->Assign(src->FFilterDropDown.get());
    FHTMLSettings->Assign(src->FHTMLSettings.get());
    FBands->Assign(src->FBands.get());
    FCellNode->Assign(src->FCellNode.get());
    FSortSettings->Assign(src->FSortSettings.get());
    FDragScrollOptions->Assign(src->FDragScrollOptions.get());
    FDragDropSettings->Assign(src->FDragDropSettings.get());
    FProgressAppearance->Assign(src->FProgressAppearance.get());
    FColumnSize->Assign(src->FColumnSize.get());
    FOfficeHint->Assign(src->FOfficeHint.get());
    FFixedRowAlways = src->FFixedRowAlways;
    // Counts before widths and heights, so that every column and row arrives.
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->TBaseGrid::FixedRows());
    SetFixedCols(src->TBaseGrid::FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    SetFixedRowHeight(src->FixedRowHeight());
    SetFixedColWidth(src->FixedColWidth());
    SetInvalidEntryTitle(src->InvalidEntryTitle());
    SetInvalidEntryIcon(src->InvalidEntryIcon());
    SetInvalidEntryText(src->InvalidEntryText());
    SetOptions(src->Options());
    for (int c = 0; c < ColCount(); ++c) SetColWidths(c, src->ColWidths(c));
    FColumnHeaders->Assign(src->FColumnHeaders.get());
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, src->RowHeights(r));
    SetScrollProportional(src->ScrollProportional());
    SetScrollSynch(src->ScrollSynch());
    SetScrollHints(src->ScrollHints());
    SetScrollBarAlways(src->ScrollBarAlways());
    SetScrollBars(src->ScrollBars());
    SetScrollColor(src->ScrollColor());
    SetScrollType(src->ScrollType());
    SetScrollWidth(src->ScrollWidth());
    AssignCells(src);
}

void TExStringGrid::AssignCells(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TExStringGrid*>(source);
    if (!src) return;
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->AssignCells(*this, *src);
}

// ---------------------------------------------------------- repaint, size

void TExStringGrid::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!Loading() && FFloatingFooter && FFloatingFooter->Visible()) InvalidateFooterPanel();
}

void TExStringGrid::Resize()
{
    TBaseGrid::Resize();  // fires OnResize
    if (FBackGround &&
        (FBackGround->Display() == TBackGroundDisplay::bdGradientHorz ||
         FBackGround->Display() == TBackGroundDisplay::bdGradientVert) &&
        FBackGround->ColorTo() != gui::clNone)
        Invalidate();
    UpdateAlwaysScrollBars(false);
    UpdateVertScrollProportional();
    UpdateHorzScrollProportional();
    CellControlsUpdate();
    if (Designing()) Invalidate();
}

void TExStringGrid::SetBounds(int left, int top, int width, int height)
{
    const int rowH = TBaseGrid::DefaultRowHeight();
    if (FIntegralHeight && FUpdateCount == 0 && rowH > 0) {
        const int s = VisibleColCount() + TBaseGrid::FixedCols() < ColCount()
                          ? SystemScrollBarExtent(gui::SM_CYHSCROLL)
                          : 0;
        const int b = BorderStyle() == gui::TBorderStyle::bsSingle ? 2 : 0;
        int rest = (height - s - b) % rowH;
        if (rest < 0) rest += rowH;
        height = height + b - rest;
    }
    TBaseGrid::SetBounds(left, top, width, height);
}

void TExStringGrid::UpdateAlwaysScrollBars(bool force)
{
    const TScrollBarAlways sa = ScrollBarAlways();
    const bool rowsFit = VisibleRowCount() + TBaseGrid::FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + TBaseGrid::FixedCols() >= ColCount();
    if (sa != TScrollBarAlways::saNone) {
        const bool vert = sa == TScrollBarAlways::saVert || sa == TScrollBarAlways::saBoth;
        const bool horz = sa == TScrollBarAlways::saHorz || sa == TScrollBarAlways::saBoth;
        if (rowsFit) ShowScrollBar(gui::SB_VERT, vert);
        if (colsFit) ShowScrollBar(gui::SB_HORZ, horz);
        EnableScrollBar(gui::SB_VERT, rowsFit ? gui::ESB_DISABLE_BOTH : gui::ESB_ENABLE_BOTH);
        EnableScrollBar(gui::SB_HORZ, colsFit ? gui::ESB_DISABLE_BOTH : gui::ESB_ENABLE_BOTH);
    } else if (force) {
        if (rowsFit) ShowScrollBar(gui::SB_VERT, false);
        if (colsFit) ShowScrollBar(gui::SB_HORZ, false);
    }
}

// ------------------------------------------------------- data exchange

void TExStringGrid::CopySelectionToClipboard()
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->CopySelectionToClipboard(*this);
    else CopySelectionAsText();
}

void TExStringGrid::CutSelectionToClipboard()
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->CutSelectionToClipboard(*this);
}

void TExStringGrid::PasteSelectionFromClipboard()
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->PasteSelectionFromClipboard(*this);
}

void TExStringGrid::SaveColSizes()
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->SaveColSizes(*this);
}

void TExStringGrid::LoadColSizes()
{
    if (TGridIOHooks* hooks = GridIOHooks()) hooks->LoadColSizes(*this);
}

void TExStringGrid::CopySelectionAsText()
{
    const gui::TGridRect sel = Selection();
    std::string text;
    for (int r = sel.Top; r <= sel.Bottom; ++r) {
        for (int c = sel.Left; c <= sel.Right; ++c) {
            if (c > sel.Left) text += '\t';
            text += GetCellText(RealColIndex(c), r);
        }
        text += "\r\n";
    }
    gui::Clipboard()->SetAsText(text);
}

} // namespace grid
