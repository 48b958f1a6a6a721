// Standard controls: label, push button, check box, radio button, edit,
// memo, combo box, list box, group box and scroll bar.  The windowed ones
// wrap the matching native widget and answer the classic messages sent to
// them (EM_*, CB_*, LB_*, WM_CUT / WM_COPY / WM_PASTE, WM_GETDLGCODE).
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/rtl/Lists.h"

namespace gui {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(rtl::TComponent* owner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout l);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* c);
    // Fits the size to the caption (with AutoSize).
    void AdjustBounds();
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
    void Notification(rtl::TComponent* c, rtl::TOperation op) override;
    // Draws (or measures with DT_CALCRECT) the caption.
    virtual void DoDrawText(TRect& r, uint32_t flags);

private:
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FWordWrap = false;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(rtl::TComponent* owner) : TCustomLabel(owner) {}
};

// -------------------------------------------------------------- buttons

class TButtonControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Dispatch(TMessage& m) override;

protected:
    TButtonControl(rtl::TComponent* owner, TWindowKind kind) : TWinControl(owner, kind) {}
    void SetTextBuf(const std::string& s) override;
    bool NativeMessage(TMessage& m) override;
};

class TButton : public TButtonControl {
public:
    explicit TButton(rtl::TComponent* owner);
    // Enter anywhere on the form clicks the default button; Escape the cancel one.
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult r) { FModalResult = r; }
    // A click: OnClick, then the form's ModalResult.
    void Click() override;
    void Dispatch(TMessage& m) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FActive = false;   // the button Enter clicks now
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(rtl::TComponent* owner);
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    // Changing the state by code fires OnClick too.
    void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a) { FAlignment = a; }
    void Dispatch(TMessage& m) override;

private:
    void Toggle();
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
    bool FSyncing = false;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(rtl::TComponent* owner);
    bool Checked() const { return FChecked; }
    // Checking one unchecks the other radio buttons of the same parent.
    void SetChecked(bool v);
    void Dispatch(TMessage& m) override;

private:
    bool FChecked = false;
    bool FSyncing = false;
};

// ---------------------------------------------------------------- edits

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(rtl::TComponent* owner) : TCustomEdit(owner, TWindowKind::wkEdit) {}
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    char16_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char16_t c);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase c) { FCharCase = c; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { FHideSelection = v; }
    // Whether the text was changed by the user since Modified was cleared.
    bool Modified() const;
    void SetModified(bool v);
    // Selection in characters (UTF-16 units) from 0.
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    std::string SelText() const;
    void SetSelText(const std::string& s);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const;
    rtl::TNotifyEvent OnChange;
    void Dispatch(TMessage& m) override;
    // The parent shows through the edit's background (its text stays).
    bool BackgroundTransparent() const { return FBackgroundTransparent; }
    void SetBackgroundTransparent(bool v);

protected:
    TCustomEdit(rtl::TComponent* owner, TWindowKind kind);
    bool FBackgroundTransparent = false;
    virtual void Change();
    void SetTextBuf(const std::string& s) override;
    std::string GetText() const override;
    bool NativeMessage(TMessage& m) override;
    void DoEnter() override;

    bool FReadOnly = false;
    int FMaxLength = 0;
    char16_t FPasswordChar = 0;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSelect = true;
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    bool FHideSelection = true;
    bool FSetting = false;
    // The formatting rectangle set by EM_SETRECT(NP); empty: the default.
    TRect FFormatRect;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(rtl::TComponent* owner) : TCustomEdit(owner) {}
};

enum class TScrollStyleMemo { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(rtl::TComponent* owner);
    ~TMemo() override;
    // The lines; changing them changes the text shown.
    rtl::TStringList* Lines() const { return FLines.get(); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle s);
    // Caret position: X the column, Y the line (from 0).
    TPoint CaretPos() const;
    void Dispatch(TMessage& m) override;

protected:
    void SetTextBuf(const std::string& s) override;
    std::string GetText() const override;
    bool NativeMessage(TMessage& m) override;

private:
    void LinesChanged();
    std::unique_ptr<rtl::TStringList> FLines;
    bool FWordWrap = true;
    bool FWantTabs = false;
    bool FWantReturns = true;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    bool FSyncing = false;
};

// ------------------------------------------------------- combo and list

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum class TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = rtl::Set<TOwnerDrawStateItem, 16>;
using TDrawItemEvent = std::function<void(TWinControl* control, int index, const TRect& rect, TOwnerDrawState state)>;

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(rtl::TComponent* owner);
    ~TCustomComboBox() override;
    rtl::TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const;
    void SetItemIndex(int i);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle s);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int n);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int h) { FItemHeight = h; }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v) { FItems->SetSorted(v); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    void Clear();
    void AddItem(const std::string& s, rtl::TObject* obj) { FItems->AddObject(s, obj); }

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnSelect;
    rtl::TNotifyEvent OnDropDown;
    rtl::TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    void Dispatch(TMessage& m) override;
    // The canvas OnDrawItem draws on (owner-drawn styles): the closed box's
    // item field and each row of the open list.
    TCanvas* GetCanvas() override;
    bool OwnerDrawn() const
    {
        return (FStyle == TComboBoxStyle::csOwnerDrawFixed || FStyle == TComboBoxStyle::csOwnerDrawVariable) &&
               OnDrawItem != nullptr;
    }

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void SetTextBuf(const std::string& s) override;
    std::string GetText() const override;
    bool NativeMessage(TMessage& m) override;

private:
    friend struct ComboAccess;
    void ItemsChanged();
    std::unique_ptr<rtl::TStringList> FItems;
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    int FDropDownCount = 8;
    int FItemHeight = 16;
    int FMaxLength = 0;
    int FDroppedWidth = 0;
    bool FSyncing = false;
    std::unique_ptr<TCanvas> FCanvas;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(rtl::TComponent* owner) : TCustomComboBox(owner) {}
};

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(rtl::TComponent* owner);
    ~TCustomListBox() override;
    rtl::TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int i);
    int ItemHeight() const;
    void SetItemHeight(int h);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v) { FItems->SetSorted(v); }
    int Count() const { return FItems->Count(); }
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle s) { FStyle = s; }
    // The item at a client point (-1 when none).
    int ItemAtPos(TPoint p, bool existing = true) const;
    TRect ItemRect(int index) const;
    void Clear() { FItems->Clear(); }
    TDrawItemEvent OnDrawItem;
    void Dispatch(TMessage& m) override;
    // Owner-drawn styles: each item is painted by OnDrawItem on GetCanvas,
    // in the item's rectangle of the list.
    bool OwnerDraws() const;
    TCanvas* GetCanvas() override;
    // The item height set for owner-drawn items (0: the font's).
    int OwnerItemHeight() const { return FOwnerItemHeight; }

protected:
    bool NativeMessage(TMessage& m) override;

private:
    void ItemsChanged();
    std::unique_ptr<rtl::TStringList> FItems;
    bool FMultiSelect = false;
    bool FSyncing = false;
    TListBoxStyle FStyle = TListBoxStyle::lbStandard;
    int FOwnerItemHeight = 0;
    std::unique_ptr<TCanvas> FCanvas;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(rtl::TComponent* owner) : TCustomListBox(owner) {}
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(rtl::TComponent* owner);
    void AdjustClientRect(TRect& rect) override;

protected:
    void SetTextBuf(const std::string& s) override;
};

enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(rtl::TObject* sender, TScrollCode code, int& scrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(rtl::TComponent* owner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind k);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    int PageSize() const { return FPageSize; }
    int SmallChange() const { return FSmallChange; }
    int LargeChange() const { return FLargeChange; }
    void SetParams(int position, int min, int max);
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    void SetPageSize(int v);
    void SetSmallChange(int v);
    void SetLargeChange(int v);
    rtl::TNotifyEvent OnChange;
    TScrollEvent OnScroll;

private:
    friend struct ScrollBarAccess;
    void Sync();
    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
    bool FSyncing = false;
};

} // namespace gui
