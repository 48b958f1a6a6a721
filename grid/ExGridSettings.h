// ExGridSettings: the small settings objects the string grid groups its
// options in (Navigation, MouseActions, ColumnSize, SizeWhileTyping,
// CellNode, HTMLSettings, BackGround, Bands and the smaller companions the
// grid's hooks read), the hidden-row record TGridItem and the change
// notifier base class.  Part of the ExGrid unit (grid/ExGrid.h).
//
// The rule a caller must know: options are plain stored values that the
// grid reads at the moment it needs them; only the few options marked below
// repaint the grid or raise the object's OnChange (and only on a real
// change).  Assign copies from an object of the same class and ignores any
// other source.
//
//   grid->Navigation()->SetAdvanceDirection(grid::TAdvanceDirection::adTopBottom);  // OnChange once
//   grid->Bands()->SetPrimaryLength(3);    // period 3 + SecondaryLength
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/TypInfo.h"

namespace grid {

class TExStringGrid;
using TColor = gui::TColor;

enum class TAdvanceDirection { adLeftRight, adTopBottom };
enum class TClipboardPasteAction { paReplace, paInsert };
enum class TInsertPosition { pInsertBefore, pInsertAfter };
enum class THomeEndAction { heFirstLastColumn, heFirstLastRow };
enum class TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum class TWheelAction { waMoveSelection, waScroll };
enum class TColumnSizeLocation { clRegistry, clIniFile };
enum class TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum class TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum class TBackGroundCells { bcNormal, bcFixed, bcAll };
// The look of cell controls (check boxes, buttons); value 3 is the bevelled style.
enum class TControlStyle { csClassic, csFlat, csWinXP, csBevelled, csKVR, csGlyph, csTheme };

// A stored option: Name() and SetName(v) over the field FName.
#define EXGRID_STORED(Type, Name, Default)                                         \
public:                                                                            \
    Type Name() const { return F##Name; }                                          \
    void Set##Name(Type v) { F##Name = v; }                                        \
                                                                                   \
private:                                                                           \
    Type F##Name = Default;                                                        \
                                                                                   \
public:

// Keyboard and clipboard behaviour.  AdvanceInsert and AdvanceDirection
// raise OnChange when they change; the others only store.
class TNavigation : public rtl::TPersistent {
    RTL_CLASS(TNavigation, rtl::TPersistent)
public:
    TNavigation() = default;
    // Every option except KeepScrollOnSort.
    void Assign(const rtl::TPersistent* source) override;

    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool v);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection v);

    EXGRID_STORED(bool, AllowInsertRow, false)
    EXGRID_STORED(bool, AllowDeleteRow, false)
    EXGRID_STORED(bool, AdvanceOnEnter, false)
    EXGRID_STORED(bool, AutoGotoWhenSorted, false)
    EXGRID_STORED(bool, AutoGotoIncremental, false)
    EXGRID_STORED(bool, AutoComboDropSize, false)
    EXGRID_STORED(bool, AllowClipboardShortCuts, false)
    EXGRID_STORED(bool, AllowRTFClipboard, false)
    EXGRID_STORED(bool, AllowSmartClipboard, false)
    EXGRID_STORED(bool, AllowClipboardAlways, false)
    EXGRID_STORED(bool, AllowClipboardColGrow, true)
    EXGRID_STORED(bool, AllowClipboardRowGrow, true)
    EXGRID_STORED(TClipboardPasteAction, ClipboardPasteAction, TClipboardPasteAction::paReplace)
    EXGRID_STORED(bool, CopyHTMLTagsToClipboard, true)
    EXGRID_STORED(bool, AdvanceAuto, false)
    EXGRID_STORED(bool, AdvanceAutoEdit, true)
    EXGRID_STORED(bool, CursorWalkEditor, false)
    EXGRID_STORED(bool, CursorWalkAlwaysEdit, true)
    EXGRID_STORED(bool, MoveRowOnSort, false)
    EXGRID_STORED(bool, KeepScrollOnSort, false)
    EXGRID_STORED(bool, ImproveMaskSel, false)
    EXGRID_STORED(bool, AlwaysEdit, false)
    EXGRID_STORED(TInsertPosition, InsertPosition, TInsertPosition::pInsertBefore)
    EXGRID_STORED(bool, LineFeedOnEnter, false)
    EXGRID_STORED(THomeEndAction, HomeEndKey, THomeEndAction::heFirstLastColumn)
    EXGRID_STORED(bool, KeepHorizScroll, false)
    EXGRID_STORED(bool, AllowFmtClipboard, false)
    EXGRID_STORED(bool, TabToNextAtEnd, false)
    EXGRID_STORED(bool, EditSelectAll, true)
    EXGRID_STORED(TAdvanceDirection, TabAdvanceDirection, TAdvanceDirection::adLeftRight)
    EXGRID_STORED(bool, SkipFixedCells, true)
    EXGRID_STORED(bool, AllowCtrlEnter, true)
    EXGRID_STORED(bool, AppendOnArrowDown, false)
    EXGRID_STORED(bool, LeftRightRowSelect, true)
    EXGRID_STORED(bool, MoveScrollOnly, false)

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = TAdvanceDirection::adLeftRight;
};

// Mouse behaviour.  WheelAction raises OnChange when it changes;
// HotmailRowSelect repaints; EditOnDblClickOnly takes goEditing off the
// grid for good; the disjunct selections exclude each other at design time.
class TMouseActions : public rtl::TPersistent {
    RTL_CLASS(TMouseActions, rtl::TPersistent)
public:
    explicit TMouseActions(TExStringGrid* grid) : FGrid(grid) {}
    // Every option except SizeFixedRow, HotmailRowSelect and
    // EditOnDblClickOnly; fires nothing.
    void Assign(const rtl::TPersistent* source) override;

    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool v);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool v);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool v);
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool v);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction v);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool v);

    EXGRID_STORED(bool, ColSelect, false)
    EXGRID_STORED(bool, RowSelect, false)
    EXGRID_STORED(bool, AllSelect, false)
    EXGRID_STORED(bool, DirectEdit, false)
    EXGRID_STORED(bool, DirectComboDrop, false)
    EXGRID_STORED(bool, DirectComboClose, false)
    EXGRID_STORED(bool, DirectDateDrop, false)
    EXGRID_STORED(bool, DirectDateClose, false)
    EXGRID_STORED(bool, AllColumnSize, false)
    EXGRID_STORED(bool, AllRowSize, false)
    EXGRID_STORED(bool, CaretPositioning, false)
    EXGRID_STORED(bool, SizeFixedCol, false)
    EXGRID_STORED(bool, SizeFixedRow, false)
    EXGRID_STORED(TGridFixedCellEdit, FixedRowsEdit, TGridFixedCellEdit::fceNone)
    EXGRID_STORED(TGridFixedCellEdit, FixedColsEdit, TGridFixedCellEdit::fceNone)
    EXGRID_STORED(bool, RangeSelectAndEdit, false)
    EXGRID_STORED(bool, NoAutoRangeScroll, false)
    EXGRID_STORED(bool, PreciseCheckBoxCheck, false)
    EXGRID_STORED(bool, CheckAllCheck, false)
    EXGRID_STORED(bool, NodeAllExpandContract, false)
    EXGRID_STORED(bool, MoveRowOnNodeClick, false)
    EXGRID_STORED(bool, RowSelectPersistent, false)
    EXGRID_STORED(bool, SelectOnRightClick, false)
    EXGRID_STORED(bool, NoScrollOnPartialRow, false)
    EXGRID_STORED(int, WheelIncrement, 0)
    EXGRID_STORED(bool, AutoSizeColOnDblClick, true)

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool Designing() const;
    TExStringGrid* FGrid;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    TWheelAction FWheelAction = TWheelAction::waMoveSelection;
    bool FEditOnDblClickOnly = false;
};

// Persistence and stretching of column widths.
class TColumnSize : public rtl::TPersistent {
    RTL_CLASS(TColumnSize, rtl::TPersistent)
public:
    explicit TColumnSize(rtl::TComponent* owner) : FOwner(owner) {}
    // All eight options; Stretch as a plain store.
    void Assign(const rtl::TPersistent* source) override;

    bool Stretch() const { return FStretch; }
    // With a parented grid, stretches the stretch column at once.
    void SetStretch(bool v);

    EXGRID_STORED(bool, Save, false)
    EXGRID_STORED(std::string, Key, "")
    EXGRID_STORED(std::string, Section, "")
    EXGRID_STORED(TColumnSizeLocation, Location, TColumnSizeLocation::clRegistry)
    EXGRID_STORED(int, StretchColumn, -1)
    EXGRID_STORED(bool, SynchWithGrid, false)
    EXGRID_STORED(bool, SynchNormalCellsOnly, false)

private:
    rtl::TComponent* FOwner;
    bool FStretch = false;
};

// Grow the current row (Height) or column (Width) while the editor's text grows.
class TSizeWhileTyping : public rtl::TPersistent {
    RTL_CLASS(TSizeWhileTyping, rtl::TPersistent)
public:
    TSizeWhileTyping() = default;
    // Both fields.
    void Assign(const rtl::TPersistent* source) override;

    EXGRID_STORED(bool, Height, false)
    EXGRID_STORED(bool, Width, false)
};

// The look of node cells; owns its two glyphs.
class TCellNode : public rtl::TPersistent {
    RTL_CLASS(TCellNode, rtl::TPersistent)
public:
    explicit TCellNode(TExStringGrid* grid);
    ~TCellNode() override;
    // All ten options, the glyphs by copy, without repainting.
    void Assign(const rtl::TPersistent* source) override;

    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int v);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool v);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor v);
    gui::TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    // Copies the picture; the caller keeps its bitmap.
    void SetExpandGlyph(const gui::TBitmap* v);
    gui::TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(const gui::TBitmap* v);

    EXGRID_STORED(TColor, Color, 0xC0C0C0)
    EXGRID_STORED(TColor, NodeColor, 0)
    EXGRID_STORED(bool, ExpandOne, false)

private:
    void Repaint();
    TExStringGrid* FGrid;
    TNodeType FNodeType = TNodeType::cnXP;
    int FNodeIndent = 12;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    TColor FTreeColor = 0x808080;
    std::unique_ptr<gui::TBitmap> FExpandGlyph;
    std::unique_ptr<gui::TBitmap> FContractGlyph;
};

// Options of the HTML export.
class THTMLSettings : public rtl::TPersistent {
    RTL_CLASS(THTMLSettings, rtl::TPersistent)
public:
    THTMLSettings() = default;
    // Every published option except ExportImages; not the column widths.
    void Assign(const rtl::TPersistent* source) override;

    EXGRID_STORED(bool, AutoPreview, false)
    EXGRID_STORED(bool, ConvertSpecialChars, false)
    EXGRID_STORED(bool, NonBreakingText, false)
    EXGRID_STORED(bool, SaveColor, true)
    EXGRID_STORED(bool, SaveFonts, true)
    EXGRID_STORED(std::string, FooterFile, "")
    EXGRID_STORED(std::string, HeaderFile, "")
    EXGRID_STORED(int, BorderSize, 1)
    EXGRID_STORED(int, CellSpacing, 0)
    EXGRID_STORED(int, CellPadding, 0)
    EXGRID_STORED(std::string, TableStyle, "")
    EXGRID_STORED(std::string, PrefixTag, "")
    EXGRID_STORED(std::string, SuffixTag, "")
    EXGRID_STORED(std::string, Summary, "")
    EXGRID_STORED(int, Width, 100)
    EXGRID_STORED(bool, XHTML, false)
    EXGRID_STORED(bool, ExportImages, true)

    // Column widths of the export (not copied by Assign).
    std::vector<int>& ColWidths() { return FColWidths; }

private:
    std::vector<int> FColWidths;
};

// Background picture or gradient of the grid; owns its bitmap.  Every
// setter repaints the grid.
class TBackGround : public rtl::TPersistent {
    RTL_CLASS(TBackGround, rtl::TPersistent)
public:
    explicit TBackGround(TExStringGrid* grid);
    ~TBackGround() override;
    // Every field, the bitmap by copy; repaints once.
    void Assign(const rtl::TPersistent* source) override;

    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    gui::TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(const gui::TBitmap* v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);

private:
    void Repaint();
    TExStringGrid* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = TBackGroundDisplay::bdTile;
    std::unique_ptr<gui::TBitmap> FBitmap;
    TBackGroundCells FCells = TBackGroundCells::bcNormal;
    TColor FColor = gui::clWindow;
    TColor FColorTo = gui::clBtnFace;
};

// Alternating row colours: PrimaryLength rows in PrimaryColor, then
// SecondaryLength rows in SecondaryColor, repeating.
class TBands : public rtl::TPersistent {
    RTL_CLASS(TBands, rtl::TPersistent)
public:
    explicit TBands(TExStringGrid* grid) : FGrid(grid) {}
    // The six options; the period follows.
    void Assign(const rtl::TPersistent* source) override;

    bool Active() const { return FActive; }
    void SetActive(bool v);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor v);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int v);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor v);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int v);
    bool Print() const { return FPrint; }
    void SetPrint(bool v) { FPrint = v; }
    // PrimaryLength + SecondaryLength (a length of 0 is allowed).
    int TotalLength() const { return FTotalLength; }

private:
    void RepaintIfActive();
    TExStringGrid* FGrid;
    bool FActive = false;
    TColor FPrimaryColor = gui::clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = gui::clWindow;
    int FSecondaryLength = 1;
    bool FPrint = false;
    int FTotalLength = 2;
};

// Permanent editor buttons and the look of cell controls (the parts the
// grid's hooks read; the rest of the appearance settings come with the
// cell-control painting).
class TControlLook : public rtl::TPersistent {
    RTL_CLASS(TControlLook, rtl::TPersistent)
public:
    // grid: the grid whose look colours the fixed-cell gradients set.
    explicit TControlLook(TExStringGrid* grid = nullptr) : FGrid(grid) {}
    void Assign(const rtl::TPersistent* source) override;

    EXGRID_STORED(bool, DropDownAlwaysVisible, false)
    EXGRID_STORED(bool, SpinButtonsAlwaysVisible, false)
    EXGRID_STORED(TControlStyle, ControlStyle, TControlStyle::csWinXP)

    // --- cell check boxes and radio buttons --------------------------------
    EXGRID_STORED(int, CheckSize, 15)
    EXGRID_STORED(int, RadioSize, 10)
    // Toggling by the user skips the editability question.
    EXGRID_STORED(bool, CheckAlwaysActive, false)
    EXGRID_STORED(bool, RadioAlwaysActive, false)

    // --- look of cell controls and progress bars ---------------------------
    // Tick of the bevelled check box, inner mark of its radio button.
    EXGRID_STORED(TColor, Color, gui::clBlack)
    EXGRID_STORED(TColor, CommentColor, gui::clRed)
    EXGRID_STORED(TColor, ProgressBorderColor, gui::clGray)
    EXGRID_STORED(int, ProgressMarginX, 2)
    EXGRID_STORED(int, ProgressMarginY, 2)
    EXGRID_STORED(bool, ProgressXP, false)
    EXGRID_STORED(bool, FlatButton, false)
    EXGRID_STORED(bool, NoDisabledCheckRadioLook, false)
    EXGRID_STORED(bool, NoDisabledButtonLook, false)
    // The csGlyph look's pictures (owned; the setters copy).
public:
    gui::TBitmap* CheckedGlyph() const { return Glyph(0); }
    gui::TBitmap* UnCheckedGlyph() const { return Glyph(1); }
    gui::TBitmap* RadioOnGlyph() const { return Glyph(2); }
    gui::TBitmap* RadioOffGlyph() const { return Glyph(3); }
    void SetCheckedGlyph(const gui::TBitmap* v) { SetGlyph(0, v); }
    void SetUnCheckedGlyph(const gui::TBitmap* v) { SetGlyph(1, v); }
    void SetRadioOnGlyph(const gui::TBitmap* v) { SetGlyph(2, v); }
    void SetRadioOffGlyph(const gui::TBitmap* v) { SetGlyph(3, v); }

private:
    gui::TBitmap* Glyph(int i) const;
    void SetGlyph(int i, const gui::TBitmap* v);
    mutable std::unique_ptr<gui::TBitmap> FGlyphs[4];

    // --- fixed-cell gradients (ExGridLooks.cpp) ------------------------------
    // Each stores; a colour other than clNone also goes to the grid's own
    // look colour of the same role (KVRGradientFrom ...).
public:
    TColor FixedGradientFrom() const { return FFixed[0]; }
    void SetFixedGradientFrom(TColor v);
    TColor FixedGradientTo() const { return FFixed[1]; }
    void SetFixedGradientTo(TColor v);
    TColor FixedGradientMirrorFrom() const { return FFixed[2]; }
    void SetFixedGradientMirrorFrom(TColor v);
    TColor FixedGradientMirrorTo() const { return FFixed[3]; }
    void SetFixedGradientMirrorTo(TColor v);
    TColor FixedGradientHoverFrom() const { return FFixed[4]; }
    void SetFixedGradientHoverFrom(TColor v);
    TColor FixedGradientHoverTo() const { return FFixed[5]; }
    void SetFixedGradientHoverTo(TColor v);
    TColor FixedGradientHoverMirrorFrom() const { return FFixed[6]; }
    void SetFixedGradientHoverMirrorFrom(TColor v);
    TColor FixedGradientHoverMirrorTo() const { return FFixed[7]; }
    void SetFixedGradientHoverMirrorTo(TColor v);
    TColor FixedGradientHoverBorder() const { return FFixed[8]; }
    void SetFixedGradientHoverBorder(TColor v);
    TColor FixedGradientDownFrom() const { return FFixed[9]; }
    void SetFixedGradientDownFrom(TColor v);
    TColor FixedGradientDownTo() const { return FFixed[10]; }
    void SetFixedGradientDownTo(TColor v);
    TColor FixedGradientDownMirrorFrom() const { return FFixed[11]; }
    void SetFixedGradientDownMirrorFrom(TColor v);
    TColor FixedGradientDownMirrorTo() const { return FFixed[12]; }
    void SetFixedGradientDownMirrorTo(TColor v);
    TColor FixedGradientDownBorder() const { return FFixed[13]; }
    void SetFixedGradientDownBorder(TColor v);
    EXGRID_STORED(bool, FixedDropDownButton, false)

private:
    void SetFixed(int i, TColor v);
    TExStringGrid* FGrid = nullptr;
    TColor FFixed[14] = {gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone,
                         gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone, gui::clNone};
};

// Lines under group headers and over summary rows (the parts the border
// hook reads; grouping itself comes with its own operations).
class TGrouping : public rtl::TPersistent {
    RTL_CLASS(TGrouping, rtl::TPersistent)
public:
    TGrouping() = default;
    void Assign(const rtl::TPersistent* source) override;

    EXGRID_STORED(bool, HeaderUnderline, false)
    EXGRID_STORED(TColor, HeaderLineColor, 0xFF0000)
    EXGRID_STORED(int, HeaderLineWidth, 2)
    EXGRID_STORED(bool, SummaryLine, false)
    EXGRID_STORED(TColor, SummaryLineColor, 0xFF0000)
    EXGRID_STORED(int, SummaryLineWidth, 2)
    // Grouping rows (ExGridGroup.cpp); the colours clNone leave rows as they are.
    EXGRID_STORED(bool, MergeHeader, false)
    EXGRID_STORED(bool, MergeSummary, false)
    EXGRID_STORED(bool, Summary, false)
    EXGRID_STORED(TColor, HeaderColor, gui::clNone)
    EXGRID_STORED(TColor, HeaderColorTo, gui::clNone)
    EXGRID_STORED(TColor, HeaderTextColor, gui::clNone)
    EXGRID_STORED(TColor, SummaryColor, gui::clNone)
    EXGRID_STORED(TColor, SummaryColorTo, gui::clNone)
    EXGRID_STORED(TColor, SummaryTextColor, gui::clNone)
    EXGRID_STORED(bool, ShowGroupCount, false)
    EXGRID_STORED(std::string, GroupCountFormat, "")
    EXGRID_STORED(bool, AutoSelectGroup, false)
};

// Whether the last row shows as a floating footer and how high it is (the
// footer's panel and calculations come with their own operations).
// What the floating footer shows: the grid's last row as a fixed row, the
// current row's cell of one column, or a template filled from the current row.
enum class TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };
using TCalcFooterEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow, std::string& value)>;

// The floating footer's settings (the footer panel and calculation live in
// grid/ExGridFooter.h).  Setters that change what shows repaint the panel;
// Visible and FooterStyle also set the grid's FixedFooters and whether the
// grid leaves its last row to the footer.
class TFloatingFooter : public rtl::TPersistent {
    RTL_CLASS(TFloatingFooter, rtl::TPersistent)
public:
    explicit TFloatingFooter(TExStringGrid* grid = nullptr) : FGrid(grid) {}
    // Copies CalculateHiddenRows, Color, Column, CustomTemplate, FooterStyle,
    // Visible (through its setter) and ShowHint.
    void Assign(const rtl::TPersistent* source) override;
    TExStringGrid* Grid() const { return FGrid; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle v);
    int Column() const { return FColumn; }
    void SetColumn(int v);
    const std::string& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const std::string& v);
    EXGRID_STORED(bool, CalculateHiddenRows, true)
    EXGRID_STORED(bool, EnableCalculation, true)
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    TCalcFooterEvent OnCalcFooter;
    // Repaints the footer panel.
    void Invalidate();

private:
    TExStringGrid* FGrid;
    bool FVisible = false;
    int FHeight = 22;
    TColor FColor = gui::clBtnFace;
    TColor FBorderColor = gui::clNone;
    TFooterStyle FFooterStyle = TFooterStyle::fsFixedLastRow;
    int FColumn = 0;
    std::string FCustomTemplate;
    bool FShowHint = false;
};

// The printing options the grid paints with.  The full printing options
// live with the grid's printing operations, which create their own
// descendant of this class through the grid's data-exchange hook.
class TPrintSettings : public rtl::TPersistent {
    RTL_CLASS(TPrintSettings, rtl::TPersistent)
public:
    explicit TPrintSettings(TExStringGrid* grid);
    ~TPrintSettings() override;
    void Assign(const rtl::TPersistent* source) override;

    TExStringGrid* Grid() const { return FGrid; }
    gui::TFont* Font() const { return FFont.get(); }
    gui::TFont* FixedFont() const { return FFixedFont.get(); }
    gui::TFont* HeaderFont() const { return FHeaderFont.get(); }
    gui::TFont* FooterFont() const { return FFooterFont.get(); }

    // True: cells print with the fonts and colours they show on screen.
    EXGRID_STORED(bool, UseDisplayFont, true)

private:
    TExStringGrid* FGrid;
    std::unique_ptr<gui::TFont> FFont, FFixedFont, FHeaderFont, FFooterFont;
};

enum class TSortDirection { sdAscending, sdDescending };
enum class TSortBlankPosition { blFirst, blLast };

// Where the sort mark shows (the sorting operations keep the rest).
class TSortSettings : public rtl::TPersistent {
    RTL_CLASS(TSortSettings, rtl::TPersistent)
public:
    TSortSettings() = default;
    void Assign(const rtl::TPersistent* source) override;

    // Repaints the grid when it changes.
    bool Show() const { return FShow; }
    void SetShow(bool v);
    EXGRID_STORED(int, Column, -1)
    EXGRID_STORED(int, Row, 0)
    EXGRID_STORED(bool, FixedCols, false)
    EXGRID_STORED(TSortDirection, Direction, TSortDirection::sdAscending)
    EXGRID_STORED(bool, IndexShow, false)
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor v);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor v);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor v);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor v);
    // Sorting, comparison and header-click options (ExGridSort.cpp).
    EXGRID_STORED(TColor, IndexColor, 0x00FFFF)
    EXGRID_STORED(bool, Full, true)
    EXGRID_STORED(bool, SingleColumn, false)
    EXGRID_STORED(bool, IgnoreBlanks, false)
    EXGRID_STORED(TSortBlankPosition, BlankPos, TSortBlankPosition::blFirst)
    EXGRID_STORED(bool, AutoFormat, true)
    EXGRID_STORED(bool, IgnoreCase, false)
    EXGRID_STORED(bool, NormalCellsOnly, false)
    EXGRID_STORED(bool, AutoColumnMerge, false)
    EXGRID_STORED(TSortDirection, InitSortDirection, TSortDirection::sdAscending)
    EXGRID_STORED(bool, UndoSort, false)
    EXGRID_STORED(bool, AutoSortForGrouping, true)
    EXGRID_STORED(bool, SortOnVirtualCells, true)
    // Indicator pictures, owned; the setters copy the given bitmap (empty by default).
    gui::TBitmap* UpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(const gui::TBitmap* v);
    gui::TBitmap* DownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(const gui::TBitmap* v);
    gui::TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(const gui::TBitmap* v);
    gui::TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(const gui::TBitmap* v);
    // The grid whose rows these settings sort (set by the grid).
    void SetOwnerGrid(TExStringGrid* grid) { FOwnerGrid = grid; }
    // "u3" / "d3" by Column and Direction, or "i;" and the sort index list
    // with IndexShow.  LoadFromString sorts the grid by the text ("" does
    // nothing; one character raises "Invalid sort settings specifier").
    std::string SaveToString() const;
    void LoadFromString(const std::string& value);
    // Column -1 and an empty index list.
    void Remove();
    // Raises "Sort row should be smaller than number of fixed rows" above
    // the grid's FixedRows.
    void SetSortRow(int v);

private:
    // Repaints the header row above the normal rows.
    void RepaintHeader();
    bool FShow = false;
    TColor FHeaderColor = gui::clNone;
    TColor FHeaderColorTo = gui::clNone;
    TColor FHeaderMirrorColor = gui::clNone;
    TColor FHeaderMirrorColorTo = gui::clNone;
    TExStringGrid* FOwnerGrid = nullptr;
    std::unique_ptr<gui::TBitmap> FUpGlyph = std::make_unique<gui::TBitmap>();
    std::unique_ptr<gui::TBitmap> FDownGlyph = std::make_unique<gui::TBitmap>();
    std::unique_ptr<gui::TBitmap> FIndexUpGlyph = std::make_unique<gui::TBitmap>();
    std::unique_ptr<gui::TBitmap> FIndexDownGlyph = std::make_unique<gui::TBitmap>();
};

// One hidden row: its real index, its height before it was hidden, the
// hiding level and its cells (one string with object per column).
class TGridItem : public rtl::TCollectionItem {
    RTL_CLASS(TGridItem, rtl::TCollectionItem)
public:
    explicit TGridItem(rtl::TCollection* collection);
    ~TGridItem() override;

    int Idx() const { return FIdx; }
    // Tells the owning TGridItems that its hidden set changed.
    void SetIdx(int v);
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }
    rtl::TStringList* Items() const { return FItems; }
    // Keeps the caller's list (no copy) and owns it from then on; the list
    // it held before is freed.
    void SetItems(rtl::TStringList* v)
    {
        if (v == FItems) return;
        delete FItems;
        FItems = v;
    }

private:
    int FIdx = 0;
    int FHeight = 0;
    int FLevel = 0;
    rtl::TStringList* FItems;
};

class TGridItems : public rtl::TCollection {
    RTL_CLASS(TGridItems, rtl::TCollection)
public:
    TGridItems() : rtl::TCollection(TGridItem::StaticClassInfo()) {}
    TGridItem* Add() { return static_cast<TGridItem*>(TCollection::Add()); }
    TGridItem* Items(int index) const { return static_cast<TGridItem*>(TCollection::Items(index)); }

    // The items' real rows in ascending order.  Kept as an index that is
    // rebuilt only after an item was added, removed or given another row, so
    // mapping rows costs a binary search, not a pass over the hidden rows.
    const std::vector<int>& SortedIdx() const;
    // The item of a hidden real row, nullptr when the row is shown.
    TGridItem* ItemOfRow(int realRow) const;
    // The number of hidden rows below realRow, and the row's item (nullptr
    // when it is shown).  Walking the rows in order costs a step each: the
    // place of the last answer is tried before a binary search.
    int Locate(int realRow, TGridItem** item = nullptr) const;
    void IdxChanged() { ++FStamp; }

protected:
    void Notify(rtl::TCollectionItem* item, rtl::TCollectionNotification action) override;

private:
    std::uint64_t FStamp = 0;
    mutable std::uint64_t FBuiltStamp = ~std::uint64_t{0};
    mutable int FBuiltCount = -1;
    mutable std::vector<int> FSorted;
    mutable std::vector<TGridItem*> FSortedItems;  // in the order of FSorted
    mutable std::size_t FHint = 0;                 // the last answer of Locate
    void Rebuild() const;
};

} // namespace grid
