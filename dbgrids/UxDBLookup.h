// A list of the records of a lookup data set: the picked record's key
// becomes the list's Value and, when the list is bound to a field of
// another data set, is written into that field.  TUxLookupControl keeps the
// binding, the value model and the typed search; TUxDBLookupList shows the
// rows and follows keys, mouse and wheel.
//
// The one rule: Value is the key field's text; the empty value (EmptyValue)
// stands for "nothing picked" and is stored as null when EmptyStrIsNull.
//
//   auto* list = new dbgrids::TUxDBLookupList(form);
//   list->SetLookupSource(typesSource);
//   list->SetLookupField("Code");
//   list->SetLookupDisplay("Text");
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrids/UxDBUtils.h"
#include "dbgrids/UxExControls.h"
#include "platform/db/DataSet.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/PopupWindow.h"

namespace dbgrids {

enum class TLookupListStyle { lsFixed, lsDelimited };

class TUxLookupControl;

// Asks the host for a row's picture: graphic none and margin 0 come in; a
// margin of at least 1 reserves that many pixels left of the text, with the
// picture centred in them.
using TGetImageEvent =
    std::function<void(rtl::TObject* sender, bool isEmpty, gui::TGraphic*& graphic, int& textMargin)>;

// Milliseconds of a steady clock; tests replace it.
extern std::function<int64_t()> LookupTickCount;

// Checks a lookup format: every "%" must be followed by "%", "s" or "S";
// raises EUXLException otherwise.  Returns the number of fields it asks for.
int CheckLookupFormat(const std::string& format);

class TUxLookupControl : public TUxExCustomControl {
public:
    explicit TUxLookupControl(rtl::TComponent* owner);
    ~TUxLookupControl() override;

    db::TDataSource* DataSource() const;
    void SetDataSource(db::TDataSource* value);
    const std::string& DataField() const { return FDataFieldName; }
    void SetDataField(const std::string& value);
    db::TDataSource* LookupSource() const;
    void SetLookupSource(db::TDataSource* value);
    std::string LookupField() const { return FLookupMode ? std::string() : FLookupFieldName; }
    void SetLookupField(const std::string& value);
    const std::string& LookupDisplay() const { return FLookupDisplay; }
    void SetLookupDisplay(const std::string& value);
    int LookupDisplayIndex() const { return FDisplayIndex; }
    void SetLookupDisplayIndex(int value);
    const std::string& LookupFormat() const { return FLookupFormat; }
    void SetLookupFormat(const std::string& value);
    TLookupListStyle ListStyle() const { return FListStyle; }
    void SetListStyle(TLookupListStyle v) { FListStyle = v; Invalidate(); }
    char FieldsDelimiter() const { return FFieldsDelimiter; }
    void SetFieldsDelimiter(char v) { FFieldsDelimiter = v; Invalidate(); }
    const std::string& DisplayEmpty() const { return FDisplayEmpty; }
    void SetDisplayEmpty(const std::string& value);
    const std::string& EmptyValue() const { return FEmptyValue; }
    void SetEmptyValue(const std::string& value);
    bool EmptyStrIsNull() const { return FEmptyStrIsNull; }
    void SetEmptyStrIsNull(bool value) { FEmptyStrIsNull = value; }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool v) { FIgnoreCase = v; }
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    bool UseRecordCount() const { return FUseRecordCount; }
    void SetUseRecordCount(bool value);

    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& value);
    // Null for the empty value when Value is empty and EmptyStrIsNull.
    db::TFieldValue KeyValue() const;
    void SetKeyValue(const db::TFieldValue& value);
    const std::string& DisplayValue() const { return FDisplayValue; }
    void SetDisplayValue(const std::string& value);
    bool IsEmptyValue() const { return FValue == FEmptyValue; }
    const std::string& SearchText() const { return FSearchText; }
    bool ListActive() const { return FListActive; }
    db::TField* Field() const { return FDataField; }
    db::TField* KeyField() const { return FKeyField; }
    db::TField* DisplayField() const { return FDisplayField; }
    const std::vector<db::TField*>& ListFields() const { return FListFields; }
    bool CanModify() const;
    // Finds the record whose searchField text matches (whole or prefix).
    bool Locate(db::TField* searchField, const std::string& value, bool exact);

    gui::TColor EmptyItemColor() const { return FEmptyItemColor; }
    void SetEmptyItemColor(gui::TColor value);

    rtl::TNotifyEvent OnChange;
    TGetImageEvent OnGetImage;
    void KeyPress(char16_t& key) override;
    // The picture of a record row (or the empty row) and its text margin.
    virtual gui::TGraphic* GetPicture(bool isEmpty, int& textMargin);

protected:
    class TDataSourceLink;
    class TListSourceLink;
    virtual void ValueChanged() {}
    virtual void DisplayValueChanged() {}
    virtual void DataLinkRecordChanged(db::TField* field);
    virtual void ListLinkActiveChanged();
    virtual void ListSourceChanged() {}
    virtual void ResetField();
    void DataLinkActiveChanged();
    void CheckNotCircular();
    void CheckNotLookup();
    void StoreFieldValue(db::TField* field, const std::string& text);
    void SetValueSilently(const std::string& text);
    void UpdateDisplayValue();
    void ChooseKeyValue(const std::string& text);
    void SetLookupMode(bool value);
    void SearchDisplay(const std::string& text, std::string& found);
    db::TDataLink* ListLink() const;
    db::TDataLink* DataLink() const;

    std::unique_ptr<db::TDataSource> FLookupSource;  // own source in lookup mode
    std::unique_ptr<TDataSourceLink> FDataLink;
    std::unique_ptr<TListSourceLink> FLookupLink;
    std::string FDataFieldName, FLookupFieldName, FLookupDisplay;
    int FDisplayIndex = 0;
    db::TField* FDataField = nullptr;
    db::TField* FMasterField = nullptr;
    db::TField* FKeyField = nullptr;
    db::TField* FDisplayField = nullptr;
    std::vector<db::TField*> FListFields;
    std::string FValue, FDisplayValue, FDisplayEmpty, FSearchText, FEmptyValue;
    bool FEmptyStrIsNull = true;
    bool FListActive = false;
    std::unique_ptr<TUxLocateObject> FLocate;
    bool FIndexSwitch = true, FIgnoreCase = true;
    char FFieldsDelimiter = ',';
    TLookupListStyle FListStyle = TLookupListStyle::lsFixed;
    std::string FLookupFormat;
    bool FLookupMode = false;
    bool FUseRecordCount = false;
    bool FPopup = false;
    gui::TColor FEmptyItemColor = gui::clWindow;
    bool FFocused = false;
    void AdjustDialogCodes(TDialogCodeFlags& codes) override;
    void DoFocusReceived(gui::HWND previousWindow) override;
    void DoFocusLost(gui::HWND nextWindow) override;
};

class TUxDBLookupList : public TUxLookupControl {
public:
    explicit TUxDBLookupList(rtl::TComponent* owner);

    int RowCount() const { return FRowCount; }
    // 1..50 rows; the height follows.
    void SetRowCount(int value);
    // bsSingle (the default) frames the list: a sunken 3-D edge of 2 pixels
    // with Ctl3D, else a plain line of 1 pixel.  The frame counts in the
    // height; rows, scroll bar and mouse work inside it.  The pop-up list
    // has no frame of its own: its window draws one.
    gui::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(gui::TBorderStyle value);
    // Pixels the frame takes on each side (0, 1 or 2).
    int BorderSize() const;
    int ItemHeight() const;
    void SetItemHeight(int value) { FItemHeight = value; SetRowCount(FRowCount); }
    // The row of the lookup data set's current record in the window.
    int RecordIndex() const { return FRecordIndex; }
    int RecordCount() const { return FRecordCount; }

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    // While dragging outside the list it scrolls one record per tick of
    // this timer (200 - 15 ms per pixel beyond the edge, not below 0).
    gui::TTimer* ScrollTimer() const { return FTimer.get(); }
    bool Tracking() const { return FTracking; }
    bool DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos) override;
    bool DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos) override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(gui::TMessage& message) override;

    // The vertical scroll bar at the right: its range and position (0..4
    // when the record number is unknown: 0 first, 4 last, 2 between).
    int ScrollMin() const { return FScrollMin; }
    int ScrollMax() const { return FScrollMax; }
    int ScrollPos() const { return FScrollPos; }
    int ScrollBarWidth() const;
    // The width the rows are painted in (inside the frame, less the bar).
    int ListWidth() const { return std::max(0, ClientWidth() - 2 * BorderSize() - ScrollBarWidth()); }
    // The rows' area: inside the frame, left of the scroll bar.
    gui::TRect RowsRect() const;
    // False when no row is the current value and there is no empty row.
    bool KeySelected() const { return FKeySelected; }
    // A scroll-bar request: SB_LINEUP, SB_PAGEDOWN, SB_THUMBPOSITION ...
    void Scroll(int code, int pos);

protected:
    void Paint() override;
    // Fires OnDblClick only from MouseDown, for a double click on the
    // current row; the platform's double click on any spot does nothing.
    void DblClick() override {}
    // A new font changes the item height: the height follows.
    void DoFontChange() override;
    void UpdateScrollBar();
    void PaintScrollBar(gui::TCanvas* canvas);
    bool ScrollBarMouseDown(int x, int y);
    virtual void DrawItemText(gui::TCanvas* canvas, const gui::TRect& rect, bool selected, bool isEmpty);
    void ValueChanged() override;
    void DisplayValueChanged() override;
    void ListLinkActiveChanged() override;
    void ListSourceChanged() override;
    void SelectCurrent();
    void SelectItemAt(int y);
    int EmptyRows() const { return FDisplayEmpty.empty() ? 0 : 1; }
    // The row showing the current value: the empty row for the empty
    // value, else the current record's row.
    int CurrentRow() const;
    // The row under client y, y clamped into the rows' area.
    int RowAt(int y) const;
    void PaintBorder(gui::TCanvas* canvas);
    void MoveAndSelect(int delta);

private:
    int FRowCount = 7;
    int FItemHeight = 0;
    gui::TBorderStyle FBorderStyle = gui::TBorderStyle::bsSingle;
    int FRecordIndex = 0, FRecordCount = 0;
    bool FSelectEmpty = false;
    bool FLockPosition = false;
    bool FSizing = false;
    bool FTracking = false;
    int FScrollDirection = 0;
    std::unique_ptr<gui::TTimer> FTimer;
    int FScrollMin = 0, FScrollMax = 0, FScrollPos = 0;
    bool FKeySelected = false;
    bool FThumbTracking = false;
    int FThumbPos = 0;
    void StopTracking();
    void TimerScroll();
};

// The list as a pop-up window below a host control: it never takes the
// focus, the host sends it its keys, and it closes on Enter or Escape, on
// a release of the button over a row, or on a press outside it.
//
//   popup->SetKeyValue(current);
//   popup->DropDown(edit);                  // below edit, as wide as it
//   popup->OnCloseUp = [&](auto*, bool accept) { if (accept) take(popup->KeyValue()); };
class TUxPopupDataList : public TUxDBLookupList {
public:
    explicit TUxPopupDataList(rtl::TComponent* owner);
    ~TUxPopupDataList() override;
    // The owner when it is a lookup control.
    TUxLookupControl* LookupOwner() const;
    // Shows the list below (or, without room, above) the control.
    void DropDown(gui::TControl* below);
    void CloseUp(bool accept);
    bool DroppedDown() const;
    // The frame window the list sits in while it shows.
    gui::TPopupWindow* PopupWindow() const { return FWindow; }
    std::function<void(TUxPopupDataList* sender, bool accept)> OnCloseUp;

    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    gui::TPopupWindow* FWindow = nullptr;
    bool FClosing = false;
};

} // namespace dbgrids
