// ExObj: the grid's small containers.  TControlList records which control
// is embedded in which cell; TFileStringList is the line buffer of the
// grid's text-file readers and writers; TFilePicture is a cell picture known
// by its file name.  TIntList holds integers and tells its
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
//
// TControlList owns its items, never their controls.  TFileStringList:
//   lines.Write("a"); lines.Write("b"); lines.WriteLn("c");   // line "abc"
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
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

// One control embedded in the cell (X, Y); the control is not owned.
class TControlItem : public rtl::TObject {
public:
    TControlItem(int aX, int aY, gui::TControl* aObject) : FX(aX), FY(aY), FObject(aObject) {}
    int X() const { return FX; }
    void SetX(int v) { FX = v; }
    int Y() const { return FY; }
    void SetY(int v) { FY = v; }
    gui::TControl* Control() const { return FObject; }
    void SetControl(gui::TControl* v) { FObject = v; }

private:
    int FX;
    int FY;
    gui::TControl* FObject;
};

// The cell controls of a grid.  Owns its items, not their controls.
class TControlList : public rtl::TList {
public:
    TControlList() = default;
    ~TControlList() override;
    TControlList(const TControlList&) = delete;
    TControlList& operator=(const TControlList&) = delete;

    void AddControl(int x, int y, gui::TControl* object);
    // Frees the item at i (its control stays) and deletes it from the list.
    void RemoveControl(int i);
    // The first item added for the cell, or -1.
    int ControlIndex(int x, int y) const;
    TControlItem* GetItem(int index) const { return static_cast<TControlItem*>(Items(index)); }
    // Some windowed control of the list has this window handle.
    bool HasHandle(gui::HWND handle) const;
};

// A string list read a line at a time and written a piece at a time.
class TFileStringList : public rtl::TStringList {
public:
    // Back to the first line, dropping text not yet closed by WriteLn.
    void Reset();
    bool IsAtEnd() const { return fp >= Count(); }
    // The next line; past the end the list raises its index error.
    void ReadLn(std::string& s);
    // Appends to the line being built.
    void Write(const std::string& s) { cache += s; }
    // Adds the line being built plus s, and starts a new one.
    void WriteLn(const std::string& s);

private:
    int fp = 0;
    std::string cache;
};

// A cell picture known by its file name: the file is read only to measure
// it (when the name is set) and to draw it.
class TFilePicture : public rtl::TPersistent {
public:
    const std::string& Filename() const { return FFilename; }
    // Stores the name and reads the picture's size from the file; a file
    // that cannot be read as a picture raises the picture error.
    void SetFilename(const std::string& value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The file stretched into r; nothing for an empty name.
    void DrawPicture(gui::TCanvas* canvas, const gui::TRect& r) const;
    // Name and size of another TFilePicture, without reading the file.
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

} // namespace gridbase
