// ExGridEvents: TExGridEvents, the event properties of the string grid
// (grid/ExGrid.h), grouped by the grid's feature areas.  It is a base of
// TExStringGrid and nothing else: callers assign the events on the grid
// (grid->OnGetCellColor = ...), and the grid's code fires them with itself
// as the sender.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "grid/ExGridFooter.h"
#include "grid/ExGridTypes.h"

namespace gui {
class TPopupMenu;
}

namespace grid {

class TExGridEvents {
public:
    // --- clipboard and drops (ExGridClipboard.cpp) -----------------------------------------------
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::u16string& value, bool& allow)>
        OnClipboardBeforePasteWideCell;

    // --- selection model (ExGridSelect.cpp) ------------------------------------------------------
    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;

    // --- notification and validation (ExGridMessages.cpp) ----------------------------------------
    TCellValidateEvent OnCellValidate;
    TCellValidateWideEvent OnCellValidateWide;
    TEditCellDoneEvent OnEditCellDone;
    rtl::TNotifyEvent OnEditingDone;
    TCellsChangedEvent OnCellsChanged;
    TRowChangedEvent OnRowChanged;

    // --- input (ExGridInput.cpp) -----------------------------------------------------------------
    TScrollHintEvent OnScrollHint;

    // --- editing and Tab navigation (ExGridTab.cpp, ExGridEdit.cpp) ------------------------------
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, const std::string& value)> OnEditChange;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value, bool& allow)>
        OnClipboardBeforePasteCell;
    TRowEvent OnEndColumnSize;
    TRowEvent OnEndRowSize;
    // While a column or row is sized: its index (0 for the grid's own
    // sizing of a fixed one) and the size reached.
    std::function<void(rtl::TObject* sender, int index, int size)> OnColumnSizing;
    std::function<void(rtl::TObject* sender, int index, int size)> OnRowSizing;
    std::function<void(rtl::TObject* sender, const gui::TGridRect& original, const gui::TGridRect& now)>
        OnSelectionResize;
    std::function<void(rtl::TObject* sender, const gui::TGridRect& original, const gui::TGridRect& now)>
        OnSelectionResized;
    std::function<void(rtl::TObject* sender, int oldRow, int oldCol, int& newRow, int& newCol, bool& allow)>
        OnAutoAdvance;
    TRowEvent OnAutoInsertCol;

    // --- special editors, edit link, inline controls (ExGridSpecial.cpp, ExGridInline.cpp) -------
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)> OnGetEditMask;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int value, bool upDown)> OnSpinClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, double value, bool upDown)> OnFloatSpinClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, rtl::TDateTime value, bool upDown)>
        OnDateSpinClick, OnTimeSpinClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int itemIndex, const std::string& selection)>
        OnComboChange;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int itemIndex, const std::string& selection,
                       rtl::TObject* object)>
        OnComboObjectChange;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& s)> OnEllipsClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, class TEditLink* link)> OnGetEditorProp;
    std::function<void(rtl::TObject* sender, const std::string& value, rtl::TDateTime& date)> OnCustomStrToDate;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& anchor, bool& autoHandle)>
        OnAnchorClick;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& ctrlID,
                       const std::string& ctrlType, const std::string& ctrlVal)>
        OnControlClick, OnControlEditDone;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& ctrlID,
                       const std::string& ctrlType, const std::string& ctrlVal, rtl::TStringList* values,
                       bool& edit, int& dropCount)>
        OnControlComboList;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, int itemIndex, const std::string& ctrlID,
                       const std::string& ctrlValue)>
        OnControlComboSelect;

    // --- cells, painting, clicks, clipboard, rows and sizing -------------------------------------
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TIsFixedCellEvent OnIsFixedCell;
    TCanEditCellEvent OnCanEditCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TWordWrapEvent OnGetWordWrap;
    TGetColumnFilterEvent OnGetColumnFilter;
    TSearchFooterActionEvent OnSearchFooterAction;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TOfficeHintEvent OnOfficeHint;
    TGetCellGradientEvent OnGetCellGradient;
    TCustomCellDrawEvent OnCustomCellDraw;
    TGetCellBorderPropEvent OnGetCellBorderProp;
    TFloatFormatEvent OnGetFloatFormat;
    rtl::TNotifyEvent OnPainted;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnDblClickCell;
    TClickCellEvent OnRightClickCell;
    TCanClickCellEvent OnCanClickCell;
    TSelectionChangedEvent OnSelectionChanged;
    TAllowEvent OnClipboardCopy;
    TAllowEvent OnClipboardCut;
    TAllowEvent OnClipboardPaste;
    TCanAddRowEvent OnCanAddRow;
    TRowEvent OnAutoAddRow;
    TCanRowEvent OnCanInsertRow;
    TRowEvent OnAutoInsertRow;
    TCanRowEvent OnCanDeleteRow;
    TRowEvent OnAutoDeleteRow;
    TCellValueEvent OnSaveCell;
    TCellValueEvent OnLoadCell;
    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;
    // OnResize (the control's) is the grid's own resize event.

    // --- filtering (ExGridFilter.cpp) ------------------------------------------------------------
    std::function<void(rtl::TObject* sender, int aRow, bool& acceptRow)> OnCustomFilter;
    std::function<void(rtl::TObject* sender, int16_t progress)> OnFilterProgress;
    std::function<void(rtl::TObject* sender, int column, int itemIndex, const std::string& friendlyName,
                       std::string& condition)>
        OnFilterSelect;
    rtl::TNotifyEvent OnFilterDone;

    // --- floating footer (ExGridFooter.cpp) ------------------------------------------------------
    TCalcFooterEvent OnFooterCalc;
    std::function<void(rtl::TObject* sender, int aColumn, gui::TCanvas* canvas, gui::TRect rect)> OnFooterPaint;
    rtl::TNotifyEvent OnCreatedFloatingFooter;

    // --- search footer (ExGridFooter.cpp) --------------------------------------------------------
    std::function<void(rtl::TObject* sender, const std::string& value, bool& defaultSearch)> OnSearchEditChange;
    rtl::TNotifyEvent OnSearchFooterClose;
    rtl::TNotifyEvent OnCreatedSearchFooter;

    // --- rich-text cells (ExRichEdit.cpp) --------------------------------------------------------
    rtl::TNotifyEvent OnRichEditSelectionChange;

    // --- hints, balloons, moving, drag and drop (ExGridHints.cpp, ExGridMoving.cpp, ExGridDragDrop.cpp) ---
    std::function<void(rtl::TObject* sender, int aRow, int aCol, std::string& anchor)> OnAnchorHint;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& title, std::string& text, int& icon)>
        OnCellBalloon;
    // WM_NOTIFY from the grid's controls: a date picker's change (a
    // TNMDateTime) reaches OnDateTimeChange with the current cell.
    std::function<void(rtl::TObject* sender, int aCol, int aRow, double dateTime)> OnDateTimeChange;
    // A date picker editor's calendar closed (Sender the grid, the current cell).
    std::function<void(rtl::TObject* sender, int aRow, int aCol)> OnDatePickerCloseUp;
    // Column and row moving: OnColumnMove / OnRowMove asked while a header is
    // dragged, OnColumnMoving / OnRowMoving for each new drop target.
    std::function<void(rtl::TObject* sender, int index, bool& allow)> OnColumnMove, OnRowMove, OnColumnMoving,
        OnRowMoving;
    // Drag and drop events (rows before columns, as published).
    std::function<void(rtl::TObject* sender, int aRow, int aCol, bool& allow)> OnOleDragOver;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& data, bool& allow)> OnOleDrop;
    std::function<void(rtl::TObject* sender, const gui::TGridRect& rect)> OnOleDropped;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, int dropCol)> OnOleDropCol;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& fileName, bool& allow)>
        OnOleDropFile;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& url, bool& allow)> OnOleDropURL;
    // A press on a selected cell of a drag source (OleDropSource) starts a
    // drag once the pointer leaves 3 pixels around the press point.
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& data, bool& allow)> OnOleDrag;
    std::function<void(rtl::TObject* sender, int aRow, int aCol)> OnOleDragStart;
    std::function<void(rtl::TObject* sender, int effect)> OnOleDragStop;

    // --- cell controls by key and click (ExGridCellControls.cpp) -----------------------------------------
    // Fired when Space or a click operates a cell control: ACol is the real
    // column for a key, the displayed one for a click; ARow the display row.
    std::function<void(rtl::TObject* sender, int aCol, int aRow, bool state)> OnCheckBoxClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int aIdx)> OnRadioClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow)> OnRadioButtonClick;
    std::function<void(rtl::TObject* sender, int aCol, int aRow)> OnButtonClick;
    // A left release on a check box (radio group) cell: its state (index) after the click.
    std::function<void(rtl::TObject* sender, int aCol, int aRow, bool state)> OnCheckBoxMouseUp;
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int aIdx)> OnRadioMouseUp;
    // Pointer entering (leaving) an anchor of an HTML cell.
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& anchor)> OnAnchorEnter;
    std::function<void(rtl::TObject* sender, int aRow, int aCol, const std::string& anchor)> OnAnchorExit;
    // A press on a fixed cell's drop-down button: menu (FixedDropDownMenu at
    // first) may be replaced or cleared; keep leaves the cell highlighted.
    std::function<void(rtl::TObject* sender, int aCol, int aRow, gui::TPopupMenu*& menu, bool& keep)>
        OnFixedDropDownClick;
    // A cell's scroll bar moved by the user: its new position and range.
    std::function<void(rtl::TObject* sender, int aCol, int aRow, int pos, int min, int max)> OnScrollCell;

    // --- sorting (ExGridSort.cpp) ----------------------------------------------------------------
    std::function<void(rtl::TObject* sender, const std::string& s1, const std::string& s2, int& res)>
        OnCustomCompare;
    std::function<void(rtl::TObject* sender, int aCol, int aRow1, int aRow2, int& res)> OnRawCompare;
    std::function<void(rtl::TObject* sender, int aCol, bool& doSort)> OnCanSort;
    std::function<void(rtl::TObject* sender, int aCol)> OnClickSort;

    // --- nodes (ExGridNodes.cpp) -----------------------------------------------------------------
    std::function<void(rtl::TObject* sender, int aRow, bool& allow)> OnBeforeExpandNode;
    std::function<void(rtl::TObject* sender, int aRow, bool& allow)> OnBeforeContractNode;
    std::function<void(rtl::TObject* sender, int aRow)> OnExpandNode;
    std::function<void(rtl::TObject* sender, int aRow)> OnContractNode;

    // --- grouping (ExGridGroup.cpp) --------------------------------------------------------------
    std::function<void(rtl::TObject* sender, int aCol, int fromRow, int toRow, double& res)> OnGroupCalc;

    // --- auto sizing (ExGridAutoSize.cpp) --------------------------------------------------------
    std::function<void(rtl::TObject* sender, int aCol, int& width)> OnUpdateColumnSize;

protected:
    TExGridEvents() = default;
    ~TExGridEvents() = default;
};

} // namespace grid
