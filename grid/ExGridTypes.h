// ExGridTypes: the types and free functions that come with the string grid
// (grid/ExGrid.h): its enumerations, its exception, the office-hint text,
// the event signatures, the change notifier, the data-exchange hooks that
// gridio/ registers, and the unit's registered numbers.  Callers include
// grid/ExGrid.h, which includes this header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/ExGridSettings.h"
#include "gridbase/BaseGrid.h"
#include "platform/rtl/Exceptions.h"

namespace grid {

class TExStringGrid;

using gridbase::TCellGradientDirection;
using gridbase::TCellProperties;
using gridbase::TEditorType;
using gridbase::TVAlignment;
using gui::TAlignment;
using gui::TGridDrawState;

enum class TGridLook {
    glStandard, glSoft, glClassic, glKVR, glXP, glListView, glVista, glWin7, glOffice2007, glCustom
};
enum class TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum class TScrollType { ssNormal, ssFlat, ssEncarta };
enum class TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum class TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
// What a press acts on, decided by where the pointer rests before it.
enum class TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
enum class TSearchAction { saFindFirst, saFindPrevious, saFindNext };
enum class TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
    ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
    ssImages, ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
enum class TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = rtl::Set<TCellBorder, 8>;
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum class TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
// Colour presets of SetStyle.
enum class TKVRStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
    tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

// The grid's exception ("Cell does not contain integer value", "Invalid
// row accessed" ...).
class ZEziDoroZezuz : public rtl::Exception {
public:
    using Exception::Exception;
};

// The text of an office-style cell hint: a title and notes.
class TExHintInfo : public rtl::TPersistent {
    RTL_CLASS(TExHintInfo, rtl::TPersistent)
public:
    TExHintInfo() = default;
    void Assign(const rtl::TPersistent* source) override;
    EXGRID_STORED(std::string, Title, "")
    EXGRID_STORED(std::string, Notes, "")
    EXGRID_STORED(bool, ShowHelp, false)
};

// Events, parameters in their published order (note the order of ACol and ARow).
using TGridColorEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, TGridDrawState state,
                                           gui::TBrush* brush, gui::TFont* font)>;
using TGridBorderEvent =
    std::function<void(rtl::TObject* sender, int aRow, int aCol, gui::TPen* pen, TCellBorders& borders)>;
using TGridAlignEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, TAlignment& hAlign,
                                           TVAlignment& vAlign)>;
using TGridFormatEvent = std::function<void(rtl::TObject* sender, int aCol, TSortStyle& style,
                                            std::string& prefix, std::string& suffix)>;
using TGetEditorTypeEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, TEditorType& editor)>;
using THasComboEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, bool& hasComboBox)>;
using THasSpinEditEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, bool& hasSpinEdit)>;
using TIsFixedCellEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, bool& isFixed)>;
using TCanEditCellEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, bool& canEdit)>;
using TIsPasswordCellEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, bool& isPassword)>;
using TGetCheckEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;
using TWordWrapEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, bool& wordWrap)>;
using TGetColumnFilterEvent = std::function<void(rtl::TObject* sender, int column, rtl::TStringList* filter)>;
using TSearchFooterActionEvent = std::function<void(rtl::TObject* sender, const std::string& value, int aCol,
                                                    int aRow, TSearchAction action)>;
using TGridHintEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, std::string& hint)>;
using TGridWideHintEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, std::u16string& hint)>;
using TOfficeHintEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, TExHintInfo* officeHint)>;
using TGetCellGradientEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, TColor& color,
                                                 TColor& colorTo, TColor& mirror, TColor& mirrorTo,
                                                 TCellGradientDirection& direction)>;
using TCustomCellDrawEvent = std::function<void(rtl::TObject* sender, gui::TCanvas* canvas, int aCol, int aRow,
                                                TGridDrawState state, gui::TRect rect, bool printing)>;
using TGetCellBorderPropEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, gui::TPen* left,
                                                   gui::TPen* top, gui::TPen* right, gui::TPen* bottom)>;
using TFloatFormatEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, bool& isFloat, std::string& floatFormat)>;
using TRowDisjunctSelectEvent = std::function<void(rtl::TObject* sender, int aRow, bool state, bool& allow)>;
using TRowDisjunctSelectedEvent = std::function<void(rtl::TObject* sender, int aRow)>;
using TCellValidateEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value, bool& valid)>;
using TCellValidateWideEvent =
    std::function<void(rtl::TObject* sender, int aCol, int aRow, std::u16string& value, bool& valid)>;
using TEditCellDoneEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow)>;
using TCellsChangedEvent = std::function<void(rtl::TObject* sender, const gui::TRect& r)>;
using TRowChangedEvent = std::function<void(rtl::TObject* sender, int oldRow, int newRow)>;
using TClickCellEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol)>;
using TCanClickCellEvent = std::function<void(rtl::TObject* sender, int aRow, int aCol, bool& allow)>;
using TSelectionChangedEvent =
    std::function<void(rtl::TObject* sender, int aLeft, int aTop, int aRight, int aBottom)>;
using TAllowEvent = std::function<void(rtl::TObject* sender, bool& allow)>;
using TCanAddRowEvent = std::function<void(rtl::TObject* sender, bool& canAdd)>;
using TRowEvent = std::function<void(rtl::TObject* sender, int aRow)>;
using TCanRowEvent = std::function<void(rtl::TObject* sender, int aRow, bool& allow)>;
using TCellValueEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;
using TScrollHintEvent = std::function<void(rtl::TObject* sender, int index, std::string& hint)>;
using TColumnSizeEvent = std::function<void(rtl::TObject* sender, int aCol, bool& allow)>;
using TRowSizeEvent = std::function<void(rtl::TObject* sender, int aRow, bool& allow)>;
// Editing and Tab navigation.
using TRowChangingEvent = std::function<void(rtl::TObject* sender, int oldRow, int newRow, bool& allow)>;
using TColChangingEvent = std::function<void(rtl::TObject* sender, int oldCol, int newCol, bool& allow)>;
using TCellChangingEvent =
    std::function<void(rtl::TObject* sender, int oldRow, int oldCol, int newRow, int newCol, bool& allow)>;

// A component that hears about changed cells: the grid calls CellsChanged
// on every registered notifier with the rectangle of the cells (columns
// Left..Right, rows Top..Bottom) that changed.
class TGridChangeNotifier : public rtl::TComponent {
    RTL_CLASS(TGridChangeNotifier, rtl::TComponent)
public:
    explicit TGridChangeNotifier(rtl::TComponent* owner) : rtl::TComponent(owner) {}
    virtual void CellsChanged(const gui::TRect& r) {}
};

// What an export or import announces to the grid (ExportNotification,
// ImportNotification): the start (row -1), each row, the end (row -1).
// esExportFail ends a run that found what it looked for (Find): the
// data-aware grid keeps the record it reached.
enum class TGridExportState { esExportStart, esExportNewRow, esExportSelRow, esExportDone, esExportFail };
enum class TGridImportState { isImportStart, isImportNewRow, isImportSelRow, isImportDone };

// The grid's clipboard, file, print and settings operations, registered by
// gridio/ at start.  Every call gets the grid it acts on.
class TGridIOHooks {
public:
    virtual ~TGridIOHooks() = default;
    virtual void CopySelectionToClipboard(TExStringGrid& grid) = 0;
    virtual void CutSelectionToClipboard(TExStringGrid& grid) = 0;
    virtual void PasteSelectionFromClipboard(TExStringGrid& grid) = 0;
    virtual void SaveColSizes(TExStringGrid& grid) = 0;
    virtual void LoadColSizes(TExStringGrid& grid) = 0;
    // Copies the cells of source into grid through the cell stream.
    virtual void AssignCells(TExStringGrid& grid, const TExStringGrid& source) = 0;
    // The printing options object the grid owns (a TPrintSettings descendant).
    virtual std::unique_ptr<TPrintSettings> CreatePrintSettings(TExStringGrid& grid) = 0;
    // Text and file drops on the grid (ExGridDragDrop.h); the defaults
    // measure the plain block and take nothing.
    virtual void MeasurePasteText(TExStringGrid& grid, const std::string& text, gui::TPoint& size);
    virtual int PasteTextAtCell(TExStringGrid& grid, int aCol, int aRow, int& lines, int& fields,
                                const std::string& text) { return 0; }
    virtual void LoadFromCSV(TExStringGrid& grid, const std::string& fileName, int column) {}
    virtual void LoadFromXLS(TExStringGrid& grid, const std::string& fileName) {}
};
// The size of a tab-separated text block: X the most fields on one line,
// Y the number of non-empty lines minus 1 (-1 for a text without any).
// Lines end at CR; an LF right after a CR belongs to the line break.
void MeasureTextBlock(const std::string& text, gui::TPoint& size);
// Registers (nullptr: removes) the hooks; grids made afterwards create
// their printing options through them.  Not owned.
void SetGridIOHooks(TGridIOHooks* hooks);
TGridIOHooks* GridIOHooks();

// The numbers the grid's unit registers on first use: the clipboard format
// "TExStringGrid Cells" and the window message "GridEditDone".
uint32_t GridCellClipboardFormat();
uint32_t GridEditDoneMessage();
// Whether the common-controls library is recent enough for the date pickers
// (always so on this platform).
bool GridComCtrlsOK();

// The most significant 32 bits of a file version (major version in the high
// word, minor in the low word) from the bytes of a fixed version record;
// -1 for a record that is too short or whose signature is not 0xFEEF04BD.
int32_t GetModuleFileVersionMS(const std::vector<uint8_t>& versionRecord);

} // namespace grid
