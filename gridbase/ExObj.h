// ExObj: the grid's integer lists.  TIntList holds integers and tells its
// owner which cell it belongs to whenever a value is added, deleted or set;
// TSortIndexList holds the sort columns of a multi-column sort, each with a
// direction bit, and its short text form ("u2;d5") that the grid's sort
// settings store.
//
// The rule a caller must know: Add, Delete, SetItem and DeleteValue fire
// OnChange once each; Insert and the clearing by SetValuesText and
// LoadFromString fire nothing.
//
//   gridbase::TSortIndexList order(-1, -1);
//   order.AddIndex(2, true);
//   order.AddIndex(5, false);
//   order.SaveToString();          // "u2;d5"
//   order.ToggleIndex(5);          // column 5 ascending now
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/rtl/Lists.h"

namespace gridbase {

// Sender, then the column and row of the cell the list belongs to.
using TImageChangeEvent = std::function<void(rtl::TObject* sender, int aCol, int aRow)>;

// A TList whose items are 32-bit integers.  Index errors raise EListError.
class TIntList : public rtl::TList {
public:
    TIntList(int col, int row) : FCol(col), FRow(row) {}

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    void Add(int32_t value);
    void Delete(int index);
    void Insert(int index, int32_t value);
    int32_t Items(int index) const;
    void SetItem(int index, int32_t value);
    int32_t operator[](int index) const { return Items(index); }
    bool HasValue(int32_t value) const;
    // Deletes the first occurrence through Delete; nothing when absent.
    void DeleteValue(int32_t value);

    // "3,-1,12"; "" for an empty list.
    std::string GetValuesText() const;
    // Clears silently, then adds each comma-text part read with StrToInt; a
    // part that is no whole number raises EConvertError, the values before
    // it staying added.
    void SetValuesText(std::string_view value);

    TImageChangeEvent OnChange;

private:
    void Changed();
    int FCol;
    int FRow;
};

// A sort column list: bit 31 of an entry set means descending.
class TSortIndexList : public TIntList {
public:
    static constexpr uint32_t cDescendingBit = 0x80000000u;
    static constexpr uint32_t cColumnMask = 0x7FFFFFFFu;

    using TIntList::TIntList;

    void AddIndex(int32_t columnIndex, bool ascending);
    // Position of the first entry for the column (direction ignored), or -1.
    int FindIndex(int32_t columnIndex) const;
    int32_t GetIndexColumn(int index) const;
    bool IsAscending(int index) const;
    // Flips the direction of the column's first entry through SetItem.
    void ToggleIndex(int32_t columnIndex);

    // "u<column>" or "d<column>" per entry, joined by ";"; the column's low
    // 16 bits are written.
    std::string SaveToString() const;
    // Clears silently and adds every entry of the text; entries shorter than
    // two characters are skipped, a column that is no number reads as
    // Val reads it, and any first letter but "u" means descending.
    void LoadFromString(std::string_view s);
};

} // namespace gridbase
