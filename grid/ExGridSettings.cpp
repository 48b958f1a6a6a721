// ExGrid: the settings objects of the grid, the hidden-row record and the
// printing options the grid paints with.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

RTL_PUBLISHED(TNavigation) {}
RTL_PUBLISHED(TMouseActions) {}
RTL_PUBLISHED(TColumnSize) {}
RTL_PUBLISHED(TSizeWhileTyping) {}
RTL_PUBLISHED(TCellNode) {}
RTL_PUBLISHED(THTMLSettings) {}
RTL_PUBLISHED(TBackGround) {}
RTL_PUBLISHED(TBands) {}
RTL_PUBLISHED(TControlLook) {}
RTL_PUBLISHED(TGrouping) {}
RTL_PUBLISHED(TFloatingFooter) {}
RTL_PUBLISHED(TPrintSettings) {}
RTL_PUBLISHED(TGridItem) {}
RTL_PUBLISHED(TGridItems) {}

namespace {

// A copy of a bitmap's picture (an empty bitmap for none).
void CopyBitmap(gui::TBitmap& dest, const gui::TBitmap* src)
{
    if (src) dest.Assign(src);
    else dest.SetSize(0, 0);
}

} // namespace

// ------------------------------------------------------------ TNavigation

void TNavigation::Changed()
{
    if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceInsert(bool v)
{
    if (FAdvanceInsert == v) return;
    FAdvanceInsert = v;
    Changed();
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection v)
{
    if (FAdvanceDirection == v) return;
    FAdvanceDirection = v;
    Changed();
}

void TNavigation::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TNavigation*>(source);
    if (!s) return;
    FAllowInsertRow = s->FAllowInsertRow;
    FAllowDeleteRow = s->FAllowDeleteRow;
    FAdvanceOnEnter = s->FAdvanceOnEnter;
    FAdvanceInsert = s->FAdvanceInsert;
    FAutoGotoWhenSorted = s->FAutoGotoWhenSorted;
    FAutoGotoIncremental = s->FAutoGotoIncremental;
    FAutoComboDropSize = s->FAutoComboDropSize;
    FAllowClipboardShortCuts = s->FAllowClipboardShortCuts;
    FAllowRTFClipboard = s->FAllowRTFClipboard;
    FAllowSmartClipboard = s->FAllowSmartClipboard;
    FAllowClipboardAlways = s->FAllowClipboardAlways;
    FAllowClipboardColGrow = s->FAllowClipboardColGrow;
    FAllowClipboardRowGrow = s->FAllowClipboardRowGrow;
    FClipboardPasteAction = s->FClipboardPasteAction;
    FCopyHTMLTagsToClipboard = s->FCopyHTMLTagsToClipboard;
    FAdvanceDirection = s->FAdvanceDirection;
    FAdvanceAuto = s->FAdvanceAuto;
    FAdvanceAutoEdit = s->FAdvanceAutoEdit;
    FCursorWalkEditor = s->FCursorWalkEditor;
    FCursorWalkAlwaysEdit = s->FCursorWalkAlwaysEdit;
    FMoveRowOnSort = s->FMoveRowOnSort;
    FImproveMaskSel = s->FImproveMaskSel;
    FAlwaysEdit = s->FAlwaysEdit;
    FInsertPosition = s->FInsertPosition;
    FLineFeedOnEnter = s->FLineFeedOnEnter;
    FHomeEndKey = s->FHomeEndKey;
    FKeepHorizScroll = s->FKeepHorizScroll;
    FAllowFmtClipboard = s->FAllowFmtClipboard;
    FTabToNextAtEnd = s->FTabToNextAtEnd;
    FEditSelectAll = s->FEditSelectAll;
    FTabAdvanceDirection = s->FTabAdvanceDirection;
    FSkipFixedCells = s->FSkipFixedCells;
    FAllowCtrlEnter = s->FAllowCtrlEnter;
    FAppendOnArrowDown = s->FAppendOnArrowDown;
    FLeftRightRowSelect = s->FLeftRightRowSelect;
    FMoveScrollOnly = s->FMoveScrollOnly;
}

// ---------------------------------------------------------- TMouseActions

void TMouseActions::Changed()
{
    if (OnChange) OnChange(this);
}

bool TMouseActions::Designing() const
{
    return FGrid && FGrid->ComponentState().Contains(rtl::TComponentStateItem::csDesigning);
}

void TMouseActions::SetDisjunctRowSelect(bool v)
{
    FDisjunctRowSelect = v;
    if (v && Designing()) FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool v)
{
    FDisjunctColSelect = v;
    if (v && Designing()) FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool v)
{
    FDisjunctCellSelect = v;
    if (v && Designing()) FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::SetHotmailRowSelect(bool v)
{
    FHotmailRowSelect = v;
    if (FGrid) FGrid->Invalidate();
}

void TMouseActions::SetWheelAction(TWheelAction v)
{
    if (FWheelAction == v) return;
    FWheelAction = v;
    Changed();
}

void TMouseActions::SetEditOnDblClickOnly(bool v)
{
    FEditOnDblClickOnly = v;
    // The grid then starts editing itself on a double click.
    if (v && FGrid) FGrid->SetOptions(FGrid->Options() - gui::TGridOptions{gui::TGridOption::goEditing});
}

void TMouseActions::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TMouseActions*>(source);
    if (!s) return;
    FAllColumnSize = s->FAllColumnSize;
    FAllRowSize = s->FAllRowSize;
    FAllSelect = s->FAllSelect;
    FAutoSizeColOnDblClick = s->FAutoSizeColOnDblClick;
    FCaretPositioning = s->FCaretPositioning;
    FCheckAllCheck = s->FCheckAllCheck;
    FColSelect = s->FColSelect;
    FDirectComboClose = s->FDirectComboClose;
    FDirectComboDrop = s->FDirectComboDrop;
    FDirectDateClose = s->FDirectDateClose;
    FDirectDateDrop = s->FDirectDateDrop;
    FDirectEdit = s->FDirectEdit;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
    FFixedRowsEdit = s->FFixedRowsEdit;
    FFixedColsEdit = s->FFixedColsEdit;
    FMoveRowOnNodeClick = s->FMoveRowOnNodeClick;
    FNoAutoRangeScroll = s->FNoAutoRangeScroll;
    FNodeAllExpandContract = s->FNodeAllExpandContract;
    FNoScrollOnPartialRow = s->FNoScrollOnPartialRow;
    FPreciseCheckBoxCheck = s->FPreciseCheckBoxCheck;
    FRangeSelectAndEdit = s->FRangeSelectAndEdit;
    FRowSelect = s->FRowSelect;
    FRowSelectPersistent = s->FRowSelectPersistent;
    FSelectOnRightClick = s->FSelectOnRightClick;
    FSizeFixedCol = s->FSizeFixedCol;
    FWheelIncrement = s->FWheelIncrement;
    FWheelAction = s->FWheelAction;
}

// ------------------------------------------------------------ TColumnSize

void TColumnSize::SetStretch(bool v)
{
    FStretch = v;
    // Stretching itself comes with the column sizing operations.
}

void TColumnSize::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TColumnSize*>(source);
    if (!s) return;
    FSave = s->FSave;
    FKey = s->FKey;
    FSection = s->FSection;
    FLocation = s->FLocation;
    FStretch = s->FStretch;
    FStretchColumn = s->FStretchColumn;
    FSynchWithGrid = s->FSynchWithGrid;
    FSynchNormalCellsOnly = s->FSynchNormalCellsOnly;
}

void TSizeWhileTyping::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TSizeWhileTyping*>(source);
    if (!s) return;
    FHeight = s->FHeight;
    FWidth = s->FWidth;
}

// -------------------------------------------------------------- TCellNode

TCellNode::TCellNode(TExStringGrid* grid)
    : FGrid(grid), FExpandGlyph(std::make_unique<gui::TBitmap>()),
      FContractGlyph(std::make_unique<gui::TBitmap>())
{
}

TCellNode::~TCellNode() = default;

void TCellNode::Repaint()
{
    if (FGrid) FGrid->Invalidate();
}

void TCellNode::SetNodeType(TNodeType v)
{
    if (FNodeType == v) return;
    FNodeType = v;
    Repaint();
}

void TCellNode::SetNodeIndent(int v)
{
    if (FNodeIndent == v) return;
    FNodeIndent = v;
    Repaint();
}

void TCellNode::SetShowTree(bool v)
{
    if (FShowTree == v) return;
    FShowTree = v;
    Repaint();
}

void TCellNode::SetShowTreeFull(bool v)
{
    if (FShowTreeFull == v) return;
    FShowTreeFull = v;
    Repaint();
}

void TCellNode::SetTreeColor(TColor v)
{
    if (FTreeColor == v) return;
    FTreeColor = v;
    Repaint();
}

void TCellNode::SetExpandGlyph(const gui::TBitmap* v) { CopyBitmap(*FExpandGlyph, v); }
void TCellNode::SetContractGlyph(const gui::TBitmap* v) { CopyBitmap(*FContractGlyph, v); }

void TCellNode::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TCellNode*>(source);
    if (!s) return;
    FColor = s->FColor;
    FNodeType = s->FNodeType;
    FNodeColor = s->FNodeColor;
    FExpandOne = s->FExpandOne;
    FNodeIndent = s->FNodeIndent;
    CopyBitmap(*FExpandGlyph, s->FExpandGlyph.get());
    CopyBitmap(*FContractGlyph, s->FContractGlyph.get());
    FShowTree = s->FShowTree;
    FShowTreeFull = s->FShowTreeFull;
    FTreeColor = s->FTreeColor;
}

// ---------------------------------------------------------- THTMLSettings

void THTMLSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const THTMLSettings*>(source);
    if (!s) return;
    FAutoPreview = s->FAutoPreview;
    FConvertSpecialChars = s->FConvertSpecialChars;
    FNonBreakingText = s->FNonBreakingText;
    FSaveColor = s->FSaveColor;
    FSaveFonts = s->FSaveFonts;
    FFooterFile = s->FFooterFile;
    FHeaderFile = s->FHeaderFile;
    FBorderSize = s->FBorderSize;
    FCellSpacing = s->FCellSpacing;
    FCellPadding = s->FCellPadding;
    FTableStyle = s->FTableStyle;
    FPrefixTag = s->FPrefixTag;
    FSuffixTag = s->FSuffixTag;
    FSummary = s->FSummary;
    FWidth = s->FWidth;
    FXHTML = s->FXHTML;
}

// ------------------------------------------------------------ TBackGround

TBackGround::TBackGround(TExStringGrid* grid) : FGrid(grid), FBitmap(std::make_unique<gui::TBitmap>()) {}
TBackGround::~TBackGround() = default;

void TBackGround::Repaint()
{
    if (FGrid) FGrid->Invalidate();
}

void TBackGround::SetTop(int v)
{
    FTop = v;
    Repaint();
}

void TBackGround::SetLeft(int v)
{
    FLeft = v;
    Repaint();
}

void TBackGround::SetDisplay(TBackGroundDisplay v)
{
    FDisplay = v;
    Repaint();
}

void TBackGround::SetBitmap(const gui::TBitmap* v)
{
    CopyBitmap(*FBitmap, v);
    Repaint();
}

void TBackGround::SetCells(TBackGroundCells v)
{
    FCells = v;
    Repaint();
}

void TBackGround::SetColor(TColor v)
{
    FColor = v;
    Repaint();
}

void TBackGround::SetColorTo(TColor v)
{
    FColorTo = v;
    Repaint();
}

void TBackGround::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TBackGround*>(source);
    if (!s) return;
    FTop = s->FTop;
    FLeft = s->FLeft;
    FDisplay = s->FDisplay;
    CopyBitmap(*FBitmap, s->FBitmap.get());
    FCells = s->FCells;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    Repaint();
}

// ----------------------------------------------------------------- TBands

void TBands::RepaintIfActive()
{
    if (FActive && FGrid) FGrid->Invalidate();
}

void TBands::SetActive(bool v)
{
    FActive = v;
    if (FGrid) FGrid->Invalidate();
}

void TBands::SetPrimaryColor(TColor v)
{
    FPrimaryColor = v;
    RepaintIfActive();
}

void TBands::SetSecondaryColor(TColor v)
{
    FSecondaryColor = v;
    RepaintIfActive();
}

void TBands::SetPrimaryLength(int v)
{
    FPrimaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    RepaintIfActive();
}

void TBands::SetSecondaryLength(int v)
{
    FSecondaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    RepaintIfActive();
}

void TBands::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TBands*>(source);
    if (!s) return;
    FActive = s->FActive;
    FPrimaryColor = s->FPrimaryColor;
    FPrimaryLength = s->FPrimaryLength;
    FSecondaryColor = s->FSecondaryColor;
    FSecondaryLength = s->FSecondaryLength;
    FPrint = s->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

// ---------------------------------------------------- smaller companions

void TControlLook::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TControlLook*>(source);
    if (!s) return;
    FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
    FControlStyle = s->FControlStyle;
    FCheckSize = s->FCheckSize;
    FRadioSize = s->FRadioSize;
    FCheckAlwaysActive = s->FCheckAlwaysActive;
    FRadioAlwaysActive = s->FRadioAlwaysActive;
    FColor = s->FColor;
    FCommentColor = s->FCommentColor;
    FProgressBorderColor = s->FProgressBorderColor;
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    for (int i = 0; i < 4; ++i) SetGlyph(i, s->Glyph(i));
    // As fields: the grid's own look colours do not follow.
    for (int i = 0; i < 14; ++i) FFixed[i] = s->FFixed[i];
}

gui::TBitmap* TControlLook::Glyph(int i) const
{
    if (!FGlyphs[i]) FGlyphs[i] = std::make_unique<gui::TBitmap>();
    return FGlyphs[i].get();
}

void TControlLook::SetGlyph(int i, const gui::TBitmap* v)
{
    if (v == Glyph(i)) return;
    if (v) Glyph(i)->Assign(v);
    else Glyph(i)->SetSize(0, 0);
}

void TGrouping::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TGrouping*>(source);
    if (!s) return;
    FHeaderUnderline = s->FHeaderUnderline;
    FHeaderLineColor = s->FHeaderLineColor;
    FHeaderLineWidth = s->FHeaderLineWidth;
    FSummaryLine = s->FSummaryLine;
    FSummaryLineColor = s->FSummaryLineColor;
    FSummaryLineWidth = s->FSummaryLineWidth;
    FGroupCountFormat = s->FGroupCountFormat;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderTextColor = s->FHeaderTextColor;
    FMergeHeader = s->FMergeHeader;
    FMergeSummary = s->FMergeSummary;
    FShowGroupCount = s->FShowGroupCount;
    FSummaryColor = s->FSummaryColor;
    FSummaryColorTo = s->FSummaryColorTo;
    FSummaryTextColor = s->FSummaryTextColor;
}

RTL_PUBLISHED(TSortSettings) {}

void TSortSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TSortSettings*>(source);
    if (!s) return;
    FShow = s->FShow;
    FColumn = s->FColumn;
    FRow = s->FRow;
    FFixedCols = s->FFixedCols;
    FDirection = s->FDirection;
    FIndexShow = s->FIndexShow;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderMirrorColor = s->FHeaderMirrorColor;
    FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
    // Every sort option but SortOnVirtualCells and IgnoreCase.
    FIndexColor = s->FIndexColor;
    FFull = s->FFull;
    FSingleColumn = s->FSingleColumn;
    FIgnoreBlanks = s->FIgnoreBlanks;
    FBlankPos = s->FBlankPos;
    FAutoFormat = s->FAutoFormat;
    FNormalCellsOnly = s->FNormalCellsOnly;
    FAutoColumnMerge = s->FAutoColumnMerge;
    FInitSortDirection = s->FInitSortDirection;
    FUndoSort = s->FUndoSort;
    FAutoSortForGrouping = s->FAutoSortForGrouping;
    CopyBitmap(*FUpGlyph, s->FUpGlyph.get());
    CopyBitmap(*FDownGlyph, s->FDownGlyph.get());
    CopyBitmap(*FIndexUpGlyph, s->FIndexUpGlyph.get());
    CopyBitmap(*FIndexDownGlyph, s->FIndexDownGlyph.get());
}

void TSortSettings::SetUpGlyph(const gui::TBitmap* v) { CopyBitmap(*FUpGlyph, v); }
void TSortSettings::SetDownGlyph(const gui::TBitmap* v) { CopyBitmap(*FDownGlyph, v); }
void TSortSettings::SetIndexUpGlyph(const gui::TBitmap* v) { CopyBitmap(*FIndexUpGlyph, v); }
void TSortSettings::SetIndexDownGlyph(const gui::TBitmap* v) { CopyBitmap(*FIndexDownGlyph, v); }

TPrintSettings::TPrintSettings(TExStringGrid* grid)
    : FGrid(grid), FFont(std::make_unique<gui::TFont>()), FFixedFont(std::make_unique<gui::TFont>()),
      FHeaderFont(std::make_unique<gui::TFont>()), FFooterFont(std::make_unique<gui::TFont>())
{
}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TPrintSettings*>(source);
    if (!s) return;
    FFont->Assign(s->FFont.get());
    FFixedFont->Assign(s->FFixedFont.get());
    FHeaderFont->Assign(s->FHeaderFont.get());
    FFooterFont->Assign(s->FFooterFont.get());
    FUseDisplayFont = s->FUseDisplayFont;
}

// -------------------------------------------------------------- TGridItem

TGridItem::TGridItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), FItems(new rtl::TStringList)
{
}

TGridItem::~TGridItem() { delete FItems; }

void TGridItem::SetIdx(int v)
{
    if (v == FIdx) return;
    FIdx = v;
    if (auto* owner = dynamic_cast<TGridItems*>(Collection())) owner->IdxChanged();
}

// ------------------------------------------------------------- TGridItems

void TGridItems::Notify(rtl::TCollectionItem* item, rtl::TCollectionNotification action)
{
    rtl::TCollection::Notify(item, action);
    ++FStamp;
}

void TGridItems::Rebuild() const
{
    // Deletion is announced before the item leaves: the count tells.
    if (FBuiltStamp == FStamp && FBuiltCount == Count()) return;
    FSortedItems.clear();
    for (int i = 0; i < Count(); ++i) FSortedItems.push_back(Items(i));
    std::stable_sort(FSortedItems.begin(), FSortedItems.end(),
                     [](const TGridItem* a, const TGridItem* b) { return a->Idx() < b->Idx(); });
    FSorted.clear();
    for (const TGridItem* it : FSortedItems) FSorted.push_back(it->Idx());
    FBuiltStamp = FStamp;
    FBuiltCount = Count();
}

const std::vector<int>& TGridItems::SortedIdx() const
{
    Rebuild();
    return FSorted;
}

TGridItem* TGridItems::ItemOfRow(int realRow) const
{
    TGridItem* item = nullptr;
    Locate(realRow, &item);
    return item;
}

int TGridItems::Locate(int realRow, TGridItem** item) const
{
    Rebuild();
    const std::size_t n = FSorted.size();
    // p is the answer when every hidden row before it is below realRow and
    // the one at it is not.
    auto fits = [&](std::size_t p) { return (p == 0 || FSorted[p - 1] < realRow) && (p == n || FSorted[p] >= realRow); };
    std::size_t p = std::min(FHint, n);
    if (!fits(p)) {
        if (p < n && fits(p + 1)) ++p;
        else p = static_cast<std::size_t>(std::lower_bound(FSorted.begin(), FSorted.end(), realRow) - FSorted.begin());
    }
    FHint = p;
    if (item) *item = p < n && FSorted[p] == realRow ? FSortedItems[p] : nullptr;
    return static_cast<int>(p);
}

} // namespace grid
