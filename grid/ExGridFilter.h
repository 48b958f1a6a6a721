// ExGridFilter: the string grid's filter list (TFilter of TFilterData
// conditions), the look of the filter drop-down (TFilterDropDown) and the
// drop-down list itself (TDropList), shown under a header cell without
// taking the activation from the grid's form.
//
// The rule a caller must know: a filter is applied in levels; every
// FilterActive := True (or ApplyFilter) hides the failing rows of the rows
// still shown as one new level, and RemoveLastFilter takes exactly that
// level back.  Rows hidden directly (HideRow) are no level and stay hidden.
//
//   auto* f = grid->Filter()->Add();
//   f->SetColumn(2);
//   f->SetCondition("A*");
//   grid->SetFilterActive(true);     // rows whose column 2 does not start with A go
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"

namespace gui {
class TPopupWindow;
}

namespace grid {

class TExStringGrid;

// Which form of a cell's value a condition tests.
enum class TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// How one condition's outcome joins the running result.
enum class TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };

class TFilterData : public rtl::TCollectionItem {
    RTL_CLASS(TFilterData, rtl::TCollectionItem)
public:
    explicit TFilterData(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    void Assign(const rtl::TPersistent* source) override;

    // The column (displayed index) whose cell is tested.
    int16_t Column() const { return FColumn; }
    void SetColumn(int16_t v) { FColumn = v; }
    const std::string& Condition() const { return FCondition; }
    void SetCondition(const std::string& v) { FCondition = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }
    const std::string& Prefix() const { return FPrefix; }
    void SetPrefix(const std::string& v) { FPrefix = v; }
    const std::string& Suffix() const { return FSuffix; }
    void SetSuffix(const std::string& v) { FSuffix = v; }
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation v) { FOperation = v; }
    TFilterCells Data() const { return FData; }
    void SetData(TFilterCells v) { FData = v; }

private:
    int16_t FColumn = 0;
    std::string FCondition;
    bool FCaseSensitive = true;
    std::string FPrefix, FSuffix;
    TFilterOperation FOperation = TFilterOperation::foSHORT;
    TFilterCells FData = TFilterCells::fcVirtual;
};

class TFilter : public rtl::TCollection {
    RTL_CLASS(TFilter, rtl::TCollection)
public:
    explicit TFilter(TExStringGrid* grid) : rtl::TCollection(TFilterData::StaticClassInfo()), FGrid(grid) {}
    TExStringGrid* Grid() const { return FGrid; }
    TFilterData* Add() { return static_cast<TFilterData*>(rtl::TCollection::Add()); }
    // A new item at the end (index is not used).
    TFilterData* Insert(int /*index*/) { return Add(); }
    TFilterData* GetItem(int index) const { return static_cast<TFilterData*>(rtl::TCollection::Items(index)); }
    TFilterData* Items(int index) const { return GetItem(index); }
    // The first item testing column, else a new one for it.
    TFilterData* FindOrAddColumn(int column);

private:
    TExStringGrid* FGrid;
};

// The size and look of the drop-down list opened from a filter button.
class TFilterDropDown : public rtl::TPersistent {
    RTL_CLASS(TFilterDropDown, rtl::TPersistent)
public:
    TFilterDropDown();
    ~TFilterDropDown() override;
    // Copies Color, ColumnWidth, Font, Height and Width.
    void Assign(const rtl::TPersistent* source) override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* v) { FFont->Assign(v); }
    // Any change of the glyph fires OnChange.
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const gui::TBitmap* v);
    // The list takes the width of its column.
    bool ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(bool v) { FColumnWidth = v; }
    rtl::TNotifyEvent OnChange;

private:
    bool FAutoSize = false;
    int FHeight = 150;
    int FWidth = 150;
    gui::TColor FColor = gui::clWindow;
    bool FColumnWidth = false;
    std::unique_ptr<gui::TFont> FFont;
    std::unique_ptr<gui::TBitmap> FGlyph;
};

// The filter drop-down list: a list box in a popup window that shows under
// a header cell and leaves the activation with the grid's form.  Enter or a
// click on an item picks it (OnSelect with the item's index); Esc closes
// the list without a choice (OnSelect with -1).
class TDropList : public gui::TListBox {
public:
    explicit TDropList(rtl::TComponent* owner);
    ~TDropList() override;
    // Shows the list at a screen point with the given size.
    void ShowAt(gui::TPoint screen, int width, int height);
    void CloseUp();
    bool Dropped() const;
    gui::TPopupWindow* Popup() const { return FPopup; }
    std::function<void(int itemIndex)> OnSelect;
    void Dispatch(gui::TMessage& m) override;

private:
    void Pick();
    gui::TPopupWindow* FPopup;
    bool FMouseDown = false;
};

} // namespace grid
