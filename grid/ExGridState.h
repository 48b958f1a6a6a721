// ExGridState: TExGridState, what the string grid (grid/ExGrid.h) stores:
// its plain settings with their accessors (stored options, the look colours
// that only store and repaint, limits), the settings objects it owns, and
// the fields its code keeps.  TExStringGrid builds on it and adds the
// behaviour; the grid makes the settings objects in its constructor.
// Callers use TExStringGrid; only TExGridStructure (grid/ExGridStructure.h)
// stands between the two.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/ExGridFilter.h"
#include "grid/ExGridFooter.h"
#include "grid/ExGridLookSettings.h"
#include "grid/ExGridSettings.h"
#include "grid/ExGridTypes.h"
#include "gridbase/BaseGrid.h"

namespace gui {
class TPopupMenu;
class TScrollBar;
}
namespace htmltext {
class THTMLPictureCache;
}

namespace grid {

class THTMLHintWindow;

class TExGridState : public gridbase::TBaseGrid {
public:
    // --- settings objects (ExGridSettings.cpp) ---------------------------------------------------
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(const TNavigation* v) { FNavigation->Assign(v); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(const TMouseActions* v) { FMouseActions->Assign(v); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(const TColumnSize* v) { FColumnSize->Assign(v); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    void SetSizeWhileTyping(const TSizeWhileTyping* v) { FSizeWhileTyping->Assign(v); }
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(const TCellNode* v) { FCellNode->Assign(v); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(const THTMLSettings* v) { FHTMLSettings->Assign(v); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackGround(const TBackGround* v) { FBackGround->Assign(v); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(const TBands* v) { FBands->Assign(v); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    void SetControlLook(const TControlLook* v) { FControlLook->Assign(v); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    htmltext::THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    TExHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    TGridItems* GridItems() const { return FGridItems.get(); }
    rtl::TStringList* FilterList() const { return FFilterList.get(); }
    rtl::TStringList* LookupItems() const { return FLookupItems.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    // Columns merged cell by cell (equal neighbours); a change re-merges them.
    gridbase::TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    void SetFilterDropDown(const TFilterDropDown* v) { FFilterDropDown->Assign(v); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(const TSearchFooter* v) { FSearchFooter->Assign(v); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(const TGridProgressAppearance* v) { FProgressAppearance->Assign(v); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(const TDragDropSettings* v) { FDragDropSettings->Assign(v); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    void SetBalloon(const TBalloonSettings* v) { FBalloon->Assign(v); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    void SetShowModified(const TShowModified* v) { FShowModified->Assign(v); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    void SetDragScrollOptions(const TDragScrollOptions* v) { FDragScrollOptions->Assign(v); }
    // The search footer's colours (SearchFooter()->Color() and ColorTo()).
    TColor SearchFooterColor() const { return FSearchFooter->Color(); }
    void SetSearchFooterColor(TColor v) { FSearchFooter->SetColor(v); }
    TColor SearchFooterColorTo() const { return FSearchFooter->ColorTo(); }
    void SetSearchFooterColorTo(TColor v) { FSearchFooter->SetColorTo(v); }

    // --- clipboard state (kept by gridio/) -------------------------------------------------------
    enum class TClipOperation { coCut, coCopy };
    gui::TPoint ClipTopLeft() const { return FClipTopLeft; }
    void SetClipTopLeft(gui::TPoint p) { FClipTopLeft = p; }
    TClipOperation ClipLastOp() const { return FClipLastOp; }
    void SetClipLastOp(TClipOperation op) { FClipLastOp = op; }

    // --- view services (ExGridView.cpp) ----------------------------------------------------------
    // Controls placed in cells: column X, real row Y (kept in step when
    // columns and rows move).
    struct TGridControlItem {
        int X = 0, Y = 0;
        gui::TControl* Control = nullptr;
    };
    std::vector<TGridControlItem>& ControlItems() { return FControlItems; }

    // --- structure and clearing (ExGridRows.cpp) -------------------------------------------------
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool v) { FClearTextOnly = v; }

    // --- dimensions and appearance (ExGridDims.cpp) ----------------------------------------------
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool v) { FFixedRowAlways = v; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool v) { FFixedColAlways = v; }
    int MinRowHeight() const { return FMinRowHeight; }
    void SetMinRowHeight(int v) { FMinRowHeight = v; }
    int MaxRowHeight() const { return FMaxRowHeight; }
    void SetMaxRowHeight(int v) { FMaxRowHeight = v; }
    int MinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(int v) { FMinColWidth = v; }
    int MaxColWidth() const { return FMaxColWidth; }
    void SetMaxColWidth(int v) { FMaxColWidth = v; }

    // Appearance that only stores and repaints.
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor v) { StoreAndRepaint(FSelectionColor, v); }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor v) { StoreAndRepaint(FSelectionColorTo, v); }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor v) { StoreAndRepaint(FSelectionMirrorColor, v); }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor v) { StoreAndRepaint(FSelectionMirrorColorTo, v); }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor v) { StoreAndRepaint(FSelectionTextColor, v); }
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool v) { StoreAndRepaint(FSelectionRectangle, v); }
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool v) { StoreAndRepaint(FSelectionResizer, v); }
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool v) { StoreAndRepaint(FActiveCellShow, v); }
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor v) { StoreAndRepaint(FActiveCellColor, v); }
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor v) { StoreAndRepaint(FActiveCellColorTo, v); }
    TColor KVRGradientFrom() const { return FKVRGradFrom; }
    void SetKVRGradientFrom(TColor v) { StoreAndRepaint(FKVRGradFrom, gui::ColorToRGB(v)); }
    TColor KVRGradientTo() const { return FKVRGradTo; }
    void SetKVRGradientTo(TColor v) { StoreAndRepaint(FKVRGradTo, gui::ColorToRGB(v)); }
    TColor KVRGradientMirrorFrom() const { return FKVRGradMirrorFrom; }
    void SetKVRGradientMirrorFrom(TColor v) { StoreAndRepaint(FKVRGradMirrorFrom, gui::ColorToRGB(v)); }
    TColor KVRGradientMirrorTo() const { return FKVRGradMirrorTo; }
    void SetKVRGradientMirrorTo(TColor v) { StoreAndRepaint(FKVRGradMirrorTo, gui::ColorToRGB(v)); }
    bool AutoSize() const { return FAutoSize; }

    // Stored here, read by the painting, editing and data-exchange code.
    EXGRID_STORED(std::string, FloatFormat, "%.2f")
    EXGRID_STORED(std::string, CheckTrue, "Y")
    EXGRID_STORED(std::string, CheckFalse, "N")
    EXGRID_STORED(TEditorType, DefaultEditor, TEditorType::edNormal)
    EXGRID_STORED(char, PasswordChar, '*')
    EXGRID_STORED(bool, EnableHTML, true)
    EXGRID_STORED(bool, HideFocusRect, false)
    EXGRID_STORED(TColor, HintColor, gui::clInfoBk)
    EXGRID_STORED(TScrollBarAlways, ScrollBarAlways, TScrollBarAlways::saNone)
    EXGRID_STORED(int, ScrollWidth, 16)
    EXGRID_STORED(bool, ScrollSynch, false)
    EXGRID_STORED(TScrollHintType, ScrollHints, TScrollHintType::shNone)
    EXGRID_STORED(bool, SaveFixedCells, true)
    EXGRID_STORED(bool, SaveHiddenCells, false)
    EXGRID_STORED(bool, SaveVirtCells, true)
    EXGRID_STORED(bool, SaveWithHTML, true)
    EXGRID_STORED(bool, SaveWithRTF, false)
    EXGRID_STORED(bool, QuoteEmptyCells, true)
    EXGRID_STORED(bool, AlwaysQuotes, false)
    EXGRID_STORED(bool, JavaCSV, false)
    EXGRID_STORED(char, Delimiter, '\0')
    EXGRID_STORED(bool, LoadFirstRow, true)
    EXGRID_STORED(std::string, XMLEncoding, "ISO-8859-1")
    EXGRID_STORED(bool, AutoNumAlign, false)
    EXGRID_STORED(bool, AutoFilterUpdate, true)
    EXGRID_STORED(bool, AnchorHint, false)
    EXGRID_STORED(bool, EnableWheel, true)
    EXGRID_STORED(bool, IntelliZoom, true)
    EXGRID_STORED(bool, SizeGrowOnly, false)
    EXGRID_STORED(bool, ShowNullDates, true)
    EXGRID_STORED(bool, VirtualCells, false)
    EXGRID_STORED(bool, EnhRowColMove, true)
    EXGRID_STORED(bool, ShowDesignHelper, true)
    EXGRID_STORED(bool, ExcelClipboardFormat, false)
    EXGRID_STORED(bool, EnableBlink, false)
    EXGRID_STORED(bool, EnhTextSize, false)
    EXGRID_STORED(bool, SizeWithForm, false)
    EXGRID_STORED(THoverFixedCells, HoverFixedCells, THoverFixedCells::hfNone)
    EXGRID_STORED(std::string, InvalidEntryTitle, "")
    EXGRID_STORED(std::string, InvalidEntryText, "")
    EXGRID_STORED(TInvalidEntryIcon, InvalidEntryIcon, TInvalidEntryIcon::ieWarning)
    EXGRID_STORED(int, ZoomFactor, 0)

    // --- platform tests and lifecycle state (ExGrid.cpp) -----------------------------------------
    // Platform tests made at construction.
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsWinVista() const { return FIsWinVista; }
    bool IsComCtl6() const { return FIsComCtl6; }
    bool IsLoaded() const { return FLoaded; }
    int MaxRowCountEver() const { return FMaxRowCount; }
    int MaxColCountEver() const { return FMaxColCount; }
    int WheelScrollLines() const { return FWheelScrl; }
    int TimerTicks() const { return FTimerTicks; }
    // The editor just changed the cell: the next Invalidate is swallowed.
    void SetEditChange(bool v) { FEditChange = v; }

    // --- notification and validation (ExGridMessages.cpp) ----------------------------------------
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    EXGRID_STORED(bool, AlwaysValidate, false)
    EXGRID_STORED(bool, ExcelStyleDecimalSeparator, false)
    EXGRID_STORED(bool, Multilinecells, false)
    EXGRID_STORED(bool, NoDefaultDraw, false)
    EXGRID_STORED(bool, NoImageAndText, false)
    EXGRID_STORED(TColor, SelectionRectangleColor, 0)
    gui::TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(gui::TPoint p) { FXYOffset = p; }

    // --- input (ExGridInput.cpp) -----------------------------------------------------------------
    EXGRID_STORED(bool, HintShowSizing, false)

    // --- editing and Tab navigation (ExGridTab.cpp, ExGridEdit.cpp) ------------------------------
    EXGRID_STORED(bool, EditWithTags, false)
    EXGRID_STORED(bool, Lookup, false)
    EXGRID_STORED(bool, LookupCaseSensitive, false)
    EXGRID_STORED(std::string, ValidChars, "")
    // Middle-button panning (ipNone switches it off).
    TIntelliPan IntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan v) { FIntelliPan = v; }

    // --- special editors (ExGridSpecial.cpp) -----------------------------------------------------
    EXGRID_STORED(int, ComboIdx, -1)
    EXGRID_STORED(int, MaxComboLength, 0)
    EXGRID_STORED(bool, LookupHistory, false)
    // The text editor passes typed and pasted text through the OEM code
    // page: characters it cannot hold become "?".
    EXGRID_STORED(bool, OemConvert, false)

    // --- look settings (ExGridLooks.cpp) ---------------------------------------------------------
    // Hover and pressed colours of fixed cells (written without a repaint).
    EXGRID_STORED(TColor, KVRGradientHoverFrom, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientHoverTo, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientHoverMirrorFrom, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientHoverMirrorTo, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientHoverBorder, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientDownFrom, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientDownTo, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientDownMirrorFrom, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientDownMirrorTo, gui::clNone)
    EXGRID_STORED(TColor, KVRGradientDownBorder, gui::clNone)

    // --- hints (ExGridHints.cpp) -----------------------------------------------------------------
    EXGRID_STORED(bool, HintShowCells, false)
    EXGRID_STORED(bool, HintShowLargeText, false)
    EXGRID_STORED(bool, HTMLHint, false)
    EXGRID_STORED(bool, SelectionRTFKeep, false)
    // Switches the application's hint window class: the HTML hint window
    // (markup shown formatted, in every control's hints) or the plain one.
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool v);

    // --- editing (ExGridSpecial.cpp) -------------------------------------------------------------
    // Set while the grid hides a special editor itself: the editors' own
    // focus-loss handling leaves the focus change alone meanwhile.
    bool BlockKill() const { return FBlockKill; }

    // --- auto sizing (ExGridAutoSize.cpp) --------------------------------------------------------
    int AutoNumberStart() const { return FAutoNumberStart; }
    void SetAutoNumberStart(int v) { FAutoNumberStart = v; }
    int AutoNumberOffset() const { return FAutoNumberOffset; }
    void SetAutoNumberOffset(int v) { FAutoNumberOffset = v; }
    TSortDirection AutoNumberDirection() const { return FAutoNumberDirection; }
    void SetAutoNumberDirection(TSortDirection v) { FAutoNumberDirection = v; }

    // --- incremental search (ExGridAdvance.cpp) --------------------------------------------------
    // The incremental search text typed so far.
    const std::string& IncrementalSearchText() const { return SearchInc; }

    // --- the pointer over fixed cells and anchors (ExGridPress.cpp, ExGridFixedLook.cpp) --------
    // A press only reaches CellSelectorClick.
    EXGRID_STORED(bool, CellSelectorMode, false)
    // Fixed cells are pressed in like buttons (with both fixed grid lines and 3-D).
    EXGRID_STORED(bool, FixedAsButtons, false)
    // The colour of the arrows shown while a column or row is moved.
    EXGRID_STORED(TColor, ArrowColor, 0x00FF00)
    // With URLShow a right click on an address cell edits it.
    EXGRID_STORED(bool, URLEdit, false)
    // The menu of a fixed cell's drop-down button (ControlLook.FixedDropDownButton).
    gui::TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
    void SetFixedDropDownMenu(gui::TPopupMenu* menu);
    // The hovered fixed cell (HoverFixedCells), (-1, -1) when none.
    gui::TPoint HoverFixedCell() const { return FHoverFixed; }
    // The cell under the pointer, kept for the list-view look's hot header.
    gui::TPoint HotFixedCell() const { return FHotFixedCell; }
    // The fixed cell pressed in (FixedAsButtons), (-1, -1) when none.
    gui::TPoint PushedFixedCell() const { return FFixedCellPushed ? FPushedFixed : gui::TPoint{-1, -1}; }
    // A left press is under way; its drop-down part (FixedDropDownButton) is pressed.
    bool MouseDownMove() const { return FMouseDownMove; }
    bool DropDownDown() const { return FDropDownDown; }
    // The column whose header is dragged to another place, -1 when none.
    int MovingColumn() const { return GridState() == gui::TGridState::gsColMoving ? FMoveIndex : -1; }
    // The window showing a column's width or a row's height while it is
    // sized (HintShowSizing), nullptr before the first sizing.
    THTMLHintWindow* SizingHintWindow() const { return FSizingHintWnd; }
    // The anchor under the pointer, empty when none.
    const std::string& HoverAnchor() const { return FHoverAnchor; }

protected:
    explicit TExGridState(rtl::TComponent* owner);
    ~TExGridState() override;

    // Dimensions and formatting.
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FFixedRowsMin = 1;
    int FFixedColsMin = 1;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FFixedRowHeight = 22;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    int FMinRowHeight = 0, FMaxRowHeight = 0, FMinColWidth = 0, FMaxColWidth = 0;
    bool FWordWrapEx = true;
    TVAlignment FVAlignment = TVAlignment::vtaTop;
    uint32_t FVAlign = 0;
    bool FIntegralHeight = false;
    bool FVisibleCol[513];
    int16_t FAllColWidths[513];
    int FNumHidden = 0;
    gui::TCursor FOldCursor = gui::crDefault;
    // The cursor the grid itself shows for the pointer's place (crDefault: none).
    gui::TCursor FGridShownCursor = gui::crDefault;
    std::vector<int> FSortRowXRef;

    // Lifecycle.
    bool FLoaded = false;
    bool FWndCreated = false;
    bool FIsWinXP = false, FIsWin7 = false, FIsWinVista = false, FIsComCtl6 = false;
    uintptr_t FGridTimerID = 0;
    int FTimerTicks = 0;
    rtl::TNotifyEvent FOnResize;  // the owner form's own handler
    bool ResizeAssigned = false;
    gui::TCustomForm* FResizeForm = nullptr;
    int PrevSizeX = 0, PrevSizeY = 0;
    int FUpdateCount = 0;
    bool FNilObjects = false;
    bool FEditChange = false;
    bool FEditDisable = false;
    bool FUseHTMLHints = false;
    bool FBlockKill = false;
    gui::TGridRect FPressSelection;
    // Mouse input (ExGridInput.cpp, ExGridPress.cpp).  Set by a double click:
    // the release that follows it does not sort.
    bool FDblClk = false;
    gui::TPoint FPressPoint{-1, -1};
    // A fixed column's (row's) border under the pointer, and its sizing by the grid.
    bool FSizeFixed = false, FSizeFixedR = false, FSizingFixed = false, FSizingFixedR = false;
    int FSizeFixedCol = 0, FSizeFixedRow = 0, FSizeFixedX = 0, FSizeFixedY = 0;
    bool FMouseResize = false;
    gui::TGridRect FDropSelection;
    // What the next press selects (from the pointer's place) and where a
    // header drag started.
    TMouseSelectMode FMouseSelectMode = TMouseSelectMode::msNormal;
    int FMouseSelectStart = -1;
    // Width (height) of the column (row) a mouse sizing started on.
    int Colclickedsize = 0, Rowclickedsize = 0;
    // The scroll bar shown over a scroll-bar cell under the pointer, and its cell.
    gui::TScrollBar* FCellScrollBar = nullptr;
    int FScrollCol = -1, FScrollRow = -1;
    // LeftCol at the press, kept through it with KeepHorizScroll in row-select mode.
    int FOldKeepLeftCol = -1;
    std::string FLastScrollHint;
    std::string FLastSizingHint;
    THTMLHintWindow* FSizingHintWnd = nullptr;
    int Colclicked = -1, Rowclicked = -1, Clickposdx = 0, Clickposdy = 0;
    std::vector<int> FOrigColSizes;
    int FOldSize = 0;
    std::vector<int> FColumnOrder;
    bool FStretching = false;
    bool FScrollProportional = false;
    bool FScrollLock = false;
    gui::TGridCoord FPressCell{-1, -1};
    bool FValidating = false;
    int FPlatformLocks = 0;
    bool FRedrawOff = false;   // the window's redraw was switched off by BeginUpdate
    bool FModified = false;
    bool FOldModifiedValue = false;
    int FOldCol = -1, FOldRow = -1;
    std::string FOldCellText, FNewCellText, FLastBalloonText;
    std::u16string FOldCellTextWide;
    bool FSelHidden = false;
    gui::TGridRect FOldSelection;
    int FOldRowSel = -1;
    // A row change SelectCell accepted is reported once the current cell
    // has moved (a handler reads the new Row()).
    bool FRowChangePending = false;
    // Pointer state of fixed cells and anchors.
    gui::TPopupMenu* FFixedDropDownMenu = nullptr;
    gui::TPoint FHoverFixed{-1, -1}, FHotFixedCell{-1, -1}, FPushedFixed{-1, -1};
    bool FFixedCellPushed = false, FDropDownDown = false, FNoMouseLeave = false;
    bool FMouseDownMove = false, FDeselectState = false;
    std::string FHoverAnchor;
    void SelectionMoved(const gui::TGridRect& oldSel) override;
    virtual void CurrentCellMoved() {}
    int SearchTics = 0;
    mutable std::vector<char> FRowSelect, FColSelect;
    std::vector<int> FSelectedRows;
    std::vector<char> FModifiedRows;
    bool FEditing = false;
    bool FMouseDown = false;
    bool FURLShow = false;
    bool FURLFull = false;
    TColor FURLColor = 0xFF0000;
    bool FLastDrawnHadGraphic = false;
    int FLastTextWidth = 0;
    bool FClearTextOnly = false;
    int FNumNodes = 0;
    int FWheelMsg = 0;
    int FWheelScrl = 0;
    std::string SearchInc;

    // Look.
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = gui::clNone;
    TColor FSelectionMirrorColor = gui::clNone;
    TColor FSelectionMirrorColorTo = gui::clNone;
    TColor FSelectionTextColor = 0;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FFlat = false;
    bool FActiveCellShow = false;
    TColor FActiveCellColor = 0x808080;
    TColor FActiveCellColorTo = gui::clNone;
    TColor FKVRGradFrom = 0xFFFFFF;
    TColor FKVRGradTo = 0;
    TColor FKVRGradMirrorFrom = gui::clNone;
    TColor FKVRGradMirrorTo = gui::clNone;
    TGridLook FLook = TGridLook::glXP;
    int FMaxEditLength = 0;
    bool FAutoSize = false;
    gui::TPoint FXYOffset{2, 2};

private:
    friend class TExStringGrid;
    friend class TExGridStructure;
    template <typename T>
    void StoreAndRepaint(T& field, T value)
    {
        if (field == value) return;
        field = value;
        Invalidate();
    }

    std::unique_ptr<TNavigation> FNavigation;
    TIntelliPan FIntelliPan = TIntelliPan::ipVertical;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<htmltext::THTMLPictureCache> FImageCache;
    std::unique_ptr<TExHintInfo> FOfficeHint;
    std::unique_ptr<TGridItems> FGridItems;
    std::unique_ptr<rtl::TStringList> FLookupItems;
    std::unique_ptr<rtl::TStringList> FFilterList;
    std::unique_ptr<TFilterDropDown> FFilterDropDown = std::make_unique<TFilterDropDown>();
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    std::unique_ptr<gridbase::TIntList> FMergedColumns = std::make_unique<gridbase::TIntList>(-1, -1);
    // Made by the grid's constructor, which hands them the grid.
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    gui::TPoint FClipTopLeft{-1, -1};
    TClipOperation FClipLastOp = TClipOperation::coCopy;
    std::vector<TGridControlItem> FControlItems;
    int FAutoNumberStart = 0;
    int FAutoNumberOffset = 0;
    TSortDirection FAutoNumberDirection = TSortDirection::sdAscending;
};

} // namespace grid
