// ExObj: the grid's small objects.  TIntList holds integers and tells its
// owner which cell it belongs to whenever a value is added, deleted or set;
// TSortIndexList holds the sort columns of a multi-column sort, each with a
// direction bit, and its short text form ("u2;d5") that the grid's sort
// settings store.  TControlList records which control is embedded in which
// cell; TFileStringList is the line buffer of the grid's text-file readers
// and writers; TFilePicture is a cell picture known by its file name.
// TExGridButton is the flat push or toggle button of the grid's search
// footer; TPopupButton and TArrowWindow are the floating header cell and
// the insertion arrows shown while a row or column is moved.
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

#include "gridbase/ExUtil.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
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

// --- grid button ----------------------------------------------------------------

enum class TExGridButtonStyle { tasButton, tasCheck };

// Where glyph and caption go in a client area of the size given (margin -1
// centres, spacing -1 spreads evenly).
struct TGridGlyphLayout {
    gui::TPoint GlyphPos;
    gui::TRect TextBounds;
    int Margin = 0, Spacing = 0;
};
TGridGlyphLayout CalcGridGlyphLayout(gui::TSize client, gui::TSize glyph, gui::TSize text,
                                     gui::TButtonLayout layout, int margin, int spacing);

// The colour scheme of the active visual style: 1 "NormalColor",
// 2 "HomeStead", 3 "Metallic", 0 any other or none.
int GridXPColorScheme();

// A windowless flat push or toggle button: colours and 16-band gradients
// for its normal, hot, pressed and checked states, rounded frames, a glyph
// per state with a generated shadow and disabled glyph, a drop-down arrow
// with a menu, exclusive groups, and, when not flat, a classic or themed
// push-button frame.  OnClick fires only for a left-button release inside
// the button that began on it; a press in the right 12 pixels of a
// DropDownButton fires OnDropDown and shows DropDownMenu instead.
class TExGridButton : public gui::TGraphicControl {
public:
    explicit TExGridButton(rtl::TComponent* owner);
    ~TExGridButton() override;

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c) { FColorTo = c; Invalidate(); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor c) { FColorHot = c; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor c) { FColorHotTo = c; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor c) { FColorDown = c; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor c) { FColorDownTo = c; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor c) { FColorChecked = c; Invalidate(); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor c) { FColorCheckedTo = c; Invalidate(); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor c) { FBorderColor = c; Invalidate(); }
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor c) { FBorderDownColor = c; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor c) { FBorderHotColor = c; }

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v) { FRounded = v; Invalidate(); }
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    gui::TButtonLayout Layout() const { return FLayout; }
    void SetLayout(gui::TButtonLayout l);
    // -1 centres; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    // A non-flat button takes the visual style when one is active.
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool v) { FAutoXPStyle = v; }

    TExGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TExGridButtonStyle s) { FStyle = s; Invalidate(); }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    gui::TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    // Copied on assignment; a new Glyph also makes GlyphDisabled when that is empty.
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const gui::TBitmap* b);
    gui::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(const gui::TBitmap* b) { FGlyphHot->Assign(b); }
    gui::TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(const gui::TBitmap* b) { FGlyphDown->Assign(b); }
    gui::TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(const gui::TBitmap* b) { FGlyphDisabled->Assign(b); }
    gui::TBitmap* GlyphShade() const { return FGlyphShade.get(); }

    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v) { FDropDownButton = v; Invalidate(); }
    gui::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(gui::TPopupMenu* menu);

    // Colours of look 1..4, BorderColor none, Rounded off, Flat on.
    void ApplyLook(int look);

    rtl::TNotifyEvent OnDropDown;

    void Click() override;
    void ActionChange(gui::TBasicAction* sender, bool checkDefaults) override;
    void Dispatch(gui::TMessage& m) override;
    void WndProc(gui::TMessage& m) override;
    void Loaded() override;

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    bool Hot() const;
    bool Designing() const;
    void ThemeAdapt();
    void SyncHotState();
    void NotifyGroup();
    void BuildShadeGlyph();
    void ButtonGradient(TColor from, TColor to, const gui::TRect& r, TColor frame);
    void DrawGlyphAndText(const gui::TRect& q, gui::TPoint offset, gui::TButtonState state);
    void DrawStateGlyph(gui::TPoint pos, bool hasCaption);
    void DrawCaptionText(gui::TRect r);
    bool Inside(int x, int y) const;

    TColor FColorTo = gui::clNone;
    TColor FColorHot = 0xCAC7C7, FColorHotTo = gui::clNone;
    TColor FColorDown = 0xD8D3D2, FColorDownTo = gui::clNone;
    TColor FColorChecked = 0x808080, FColorCheckedTo = gui::clNone;
    TColor FBorderColor = gui::clNone, FBorderDownColor = gui::clNone, FBorderHotColor = gui::clNone;
    bool FFlat = true;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    TExGridButtonStyle FStyle = TExGridButtonStyle::tasButton;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    gui::TButtonLayout FLayout = gui::TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FDropDownButton = false;
    gui::TPopupMenu* FDropDownMenu = nullptr;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;

    gui::TButtonState FState = gui::TButtonState::bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
    bool FIsComCtl6 = false;
    std::unique_ptr<gui::TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShade;
};

// --- move button and arrow windows ----------------------------------------------

// The floating button that follows the mouse while a header cell is moved:
// a top-most pop-up window the mouse passes through, with a gradient face
// and the cell's caption (markup when it contains "</").  Give it its parent
// first; Left and Top are then screen coordinates.
class TPopupButton : public gui::TCustomControl {
public:
    explicit TPopupButton(rtl::TComponent* owner);

    // Makes the window a pop-up of the parent's window.
    void SetParent(gui::TWinControl* parent) override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* v) { FImages = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TColor GradTo() const { return FGradTo; }
    void SetGradTo(TColor v);
    TColor GradFrom() const { return FGradFrom; }
    void SetGradFrom(TColor v);
    TColor GradMirrorTo() const { return FGradMirrorTo; }
    void SetGradMirrorTo(TColor v);
    TColor GradMirrorFrom() const { return FGradMirrorFrom; }
    void SetGradMirrorFrom(TColor v);

protected:
    void Paint() override;

private:
    std::string FCaption;
    gui::TImageList* FImages = nullptr;
    bool FFlat = false;
    TColor FGradTo = gui::clNone;
    TColor FGradFrom = gui::clNone;
    TColor FGradMirrorTo = 0;
    TColor FGradMirrorFrom = 0;
};

enum class TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A small arrow-shaped pop-up window marking the insertion point; arrLeft
// is placed left of the point and points right, arrRight the reverse.
class TArrowWindow : public gui::TPanel {
public:
    // Lime, a child of owner (a windowed control) made a pop-up, hidden.
    TArrowWindow(gui::TWinControl* owner, TArrowDirection direction);

    TArrowDirection Dir() const { return FDir; }
    // The seven points of the outline, in the window's coordinates.
    static std::vector<gui::TPoint> Outline(TArrowDirection direction);

protected:
    void Paint() override;

private:
    TArrowDirection FDir;
};

} // namespace gridbase
