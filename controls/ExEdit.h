// TExEdit: a single-line edit whose content is typed by EditType (plain,
// integer, decimal, money, hexadecimal, range list, case-forced, password,
// alphanumeric or a custom character set).  The value sits between a fixed
// Prefix and Suffix; numbers are shown with Precision decimals in the
// locale's separators (rtl::FormatSettings()).  The edit filters what is
// typed and pasted, changes its colours on focus, error and modification,
// carries an attached caption label, a type-ahead lookup list, optional
// persistence of its value and a flat or custom-bordered look.
//
// The rule a caller must know: Text() and SetText() are the value without
// the affixes and go through the formatting of the edit type; the window's
// display text (Caption()) is Prefix + value + Suffix.  Call the edit's own
// Text/SetText/SetVisible/SetEnabled (not TControl's) so the label and the
// formatting follow.
//
//     auto* e = new controls::TExEdit(dialog);
//     e->SetParent(dialog);
//     e->SetBounds(100, 20, 60, 19);
//     e->SetEditType(controls::TExEditType::etNumeric);
//     e->SetLabelCaption("Saros");
//     e->SetLabelPosition(controls::TExEdit::TLabelPosition::lpLeftCenter);
//     int saros = e->IntValue();
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Lists.h"

namespace controls {

using gui::TColor;

enum class TExEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney,
    etRange, etHex, etAlphaNumeric, etValidChars,
};
enum class TEditAlign { eaLeft, eaRight, eaDefault, eaCenter };
enum class TPrecisionDisplay { pdNormal, pdShortest };

namespace exedit {
// The positions of the edit's attached label (the unit's own enumeration;
// lpRighBottom is spelled so).
enum class TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom,
};
} // namespace exedit

// ------------------------------------------------------- number texts

enum class TNumberTextKind { ntkInteger, ntkDecimal, ntkHex, ntkNone };

// Classifies a text by its characters in the locale's separators.
TNumberTextKind NumberTextKind(const std::string& s);
// Thousand separators removed, read with the locale's decimal separator;
// 0 for a text that is not a number.
double EditTextToFloat(const std::string& s);
// Hexadecimal digits read from the right; other characters count 0; 32 bits.
int32_t HexToInt(const std::string& s);
// Capitalises words: "o'neil-smith" -> "O'Neil-Smith", "mcdonald" -> "McDonald".
std::string ProperCase(const std::string& s);

// ---------------------------------------------------------- range list

// A set of non-negative integers written as "1-5,7;9".  Add keeps the
// items unique (a hash set makes it constant time).
class TRangeList {
public:
    // The longest range one element may span; a longer one is refused
    // (StrToList returns false, nothing of that element is added).
    static constexpr int64_t MaxRangeLength = 1000000;

    int Count() const { return static_cast<int>(FItems.size()); }
    int32_t Items(int i) const { return FItems.at(static_cast<std::size_t>(i)); }
    void Add(int32_t value);
    void AddMultiple(int32_t value, int count);
    void Delete(int index);
    bool InList(int32_t value) const;
    void Clear();
    void Sort();
    // Each item to the debug log, one line each.
    void Show() const;
    // Parses a range text; false when an element does not read.
    bool StrToList(std::string s);
    // The sorted list as range text ("1-3,5,7-8"); "" for an empty list.
    std::string ToRangeStr();

private:
    std::vector<int32_t> FItems;
    std::unordered_set<int32_t> FSet;
};

// ------------------------------------------------- lookup and persistence

class TLookupSettings : public rtl::TPersistent {
public:
    TLookupSettings();
    bool CaseSensitive = false;
    TColor Color = gui::clWindow;
    int DisplayCount = 4;
    bool Enabled = false;
    bool History = false;
    bool Multi = false;
    char Separator = ';';
    rtl::TStringList* DisplayList() const { return FDisplayList.get(); }
    void SetDisplayList(const rtl::TStringList* l) { FDisplayList->Assign(l); }
    rtl::TStringList* ValueList() const { return FValueList.get(); }
    void SetValueList(const rtl::TStringList* l) { FValueList->Assign(l); }
    int NumChars() const { return FNumChars; }
    // Values below 1 are ignored.
    void SetNumChars(int v) { if (v >= 1) FNumChars = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    int FNumChars = 2;
    std::unique_ptr<rtl::TStringList> FDisplayList;
    std::unique_ptr<rtl::TStringList> FValueList;
};

enum class TPersistenceLocation { plInifile, plRegistry };

class TPersistence : public rtl::TPersistent {
public:
    bool Enable = false;
    std::string Key;
    std::string Section;
    TPersistenceLocation Location = TPersistenceLocation::plInifile;
};

// Where persistence goes by default: "<program>.INI" in the user's
// configuration folder, and the registry stand-in "<program>/registry.ini"
// there (registry key and subkey as the section "Key\Section").
std::string PersistenceIniFile();
std::string PersistenceRegistryFile();

using TValueValidateEvent = std::function<void(rtl::TObject* sender, const std::string& value, bool& isValid)>;
using TClipboardEvent = std::function<void(rtl::TObject* sender, const std::string& value, bool& allow)>;
using TURLClickEvent = std::function<void(rtl::TObject* sender, const std::string& url, bool& show)>;
using TLookupSelectEvent = std::function<void(rtl::TObject* sender, std::string& value)>;
using TLookupIndexSelectEvent = std::function<void(rtl::TObject* sender, int index, std::string& value)>;

class TListHintWindow;
class TAEDropTarget;

// --------------------------------------------------------------- the edit

class TExEdit : public gui::TCustomEdit {
public:
    using TLabelPosition = exedit::TLabelPosition;

    explicit TExEdit(rtl::TComponent* owner);
    ~TExEdit() override;

    // -- value
    std::string Text() const;
    void SetText(const std::string& v);
    double FloatValue() const;
    void SetFloatValue(double x);
    int32_t IntValue() const;
    void SetIntValue(int32_t n);
    bool Modified() const { return FModified; }
    void SetModified(bool v);
    bool IsError() const { return FIsError; }
    void SetIsError(bool v);
    // Selects the value (not the affixes).
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    int CharFromPos(gui::TPoint p);
    gui::TPoint PosFromChar(int index);
    int GetTextSize();
    void Init();
    bool RangeStrToList(TRangeList& list);
    void ListToRangeStr(TRangeList& list);

    // -- type and format
    TExEditType EditType() const { return FEditType; }
    void SetEditType(TExEditType t);
    int Precision() const { return FPrecision; }
    void SetPrecision(int p);
    TPrecisionDisplay PrecisionDisplay() const { return FPrecisionDisplay; }
    void SetPrecisionDisplay(TPrecisionDisplay p);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign a);
    TEditAlign FocusAlign() const { return FFocusAlign; }
    void SetFocusAlign(TEditAlign a) { FFocusAlign = a; }
    const std::string& Prefix() const { return FPrefix; }
    void SetPrefix(const std::string& s);
    const std::string& Suffix() const { return FSuffix; }
    void SetSuffix(const std::string& s);
    bool Signed() const { return FSigned; }
    void SetSigned(bool v) { FSigned = v; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool v);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    const std::string& ValidChars() const { return FValidChars; }
    void SetValidChars(const std::string& s) { FValidChars = s; }
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int v) { FLengthLimit = v; }
    bool TabOnFullLength() const { return FTabOnFullLength; }
    void SetTabOnFullLength(bool v) { FTabOnFullLength = v; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool v);
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool v) { FDefaultHandling = v; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool v) { FHintShowLargeText = v; }

    // -- colours
    TColor Color() const { return TControl::Color(); }
    void SetColor(TColor c);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor c) { FFocusColor = c; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor c) { FFocusFontColor = c; }
    TColor ErrorColor() const { return FErrorColor; }
    void SetErrorColor(TColor c) { FErrorColor = c; }
    TColor ErrorFontColor() const { return FErrorFontColor; }
    void SetErrorFontColor(TColor c) { FErrorFontColor = c; }
    TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(TColor c) { FModifiedColor = c; }
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor c) { FDisabledColor = c; Invalidate(); }
    bool ShowError() const { return FShowError; }
    void SetShowError(bool v) { FShowError = v; }
    bool ShowModified() const { return FShowModified; }
    void SetShowModified(bool v) { FShowModified = v; }
    bool ShowURL() const { return FShowURL; }
    void SetShowURL(bool v) { FShowURL = v; }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor c) { FURLColor = c; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    int FocusWidthInc() const { return FFocusWidthInc; }
    void SetFocusWidthInc(int v) { FFocusWidthInc = v; }

    // -- look (painting)
    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool v);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor c) { FFlatLineColor = c; Invalidate(); }
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v) { FFlatParentColor = v; Invalidate(); }
    bool SoftBorder() const { return FSoftBorder; }
    void SetSoftBorder(bool v);
    bool Border3D() const { return FBorder3D; }
    void SetBorder3D(bool v) { FBorder3D = v; Invalidate(); }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; Invalidate(); }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor c) { FFocusBorderColor = c; Invalidate(); }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; Invalidate(); }
    const std::string& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const std::string& s) { FEmptyText = s; Invalidate(); }
    int ErrorMarkerPos() const { return FErrorMarkerPos; }
    void SetErrorMarkerPos(int v) { FErrorMarkerPos = v; Invalidate(); }
    int ErrorMarkerLen() const { return FErrorMarkerLen; }
    void SetErrorMarkerLen(int v) { FErrorMarkerLen = v; Invalidate(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

    // -- label
    std::string LabelCaption() const;
    void SetLabelCaption(const std::string& s);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition p);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    gui::TFont* LabelFont() const { return FLabelFont.get(); }
    // Taken only when ParentFont is False.
    void SetLabelFont(const gui::TFont* f);
    gui::TLabel* EditLabel() const { return FLabel; }

    // -- lookup and persistence
    TLookupSettings* Lookup() const { return FLookup.get(); }
    TPersistence* Persistence() const { return FPersistence.get(); }
    // The lookup popup's list (nullptr before the first lookup).
    gui::TListBox* LookupListBox() const;
    bool LookupVisible() const;
    virtual void LoadPersist();
    virtual void SavePersist();

    // -- drag and drop
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool v) { FOleDropSource = v; }
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool v);

    // -- control overrides
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(gui::TWinControl* parent) override;
    void Loaded() override;
    void Dispatch(gui::TMessage& m) override;

    std::string Version() const;
    void SetVersion(const std::string&) {}
    virtual uint32_t GetVersionNr() const { return 0x02080201; }

    TValueValidateEvent OnValueValidate;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;
    TURLClickEvent OnURLClick;
    TLookupSelectEvent OnLookupSelect;
    TLookupIndexSelectEvent OnLookupIndexSelect;
    rtl::TNotifyEvent OnLabelClick;
    rtl::TNotifyEvent OnLabelDblClick;

protected:
    virtual bool ValidateValue(const std::string& value);
    virtual void DoValueValidate(const std::string& value, bool& isValid);
    virtual bool IsURL() const;
    void Change() override;
    void DoEnter() override;
    void CreateWnd() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

    // The display text (Prefix + value + Suffix) set without formatting.
    void SetDisplayText(const std::string& s);
    std::string DisplayText() const { return GetText(); }
    int PrefixLen() const;
    bool Loading() const;
    bool Designing() const;
    void SetFlatRect(bool flat);
    bool HasFocus() const;

    // Key and clipboard filter (ExEditKeys.cpp).
    void WMChar(gui::TMessage& m);
    void WMKeyDown(gui::TMessage& m);
    void CMWantSpecialKey(gui::TMessage& m);
    void WMCopy(gui::TMessage& m);
    void WMCut(gui::TMessage& m);
    void WMPaste(gui::TMessage& m);
    // Hands a character to the edit as the native control would type it.
    void PassChar(gui::TMessage& m);
    void CommonTail();
    void ToggleSign();
    bool DecimalRules(char16_t& ch, gui::TMessage& m);
    void UpdateThousandSeparators();
    int IntegerDigits() const;

    // Painting (ExEditPaint.cpp).
    void PaintExtras(gui::TCanvas* canvas);
    void DrawBorder(gui::TCanvas* windowCanvas);
    void DrawErrorMarker(gui::TCanvas* canvas);

    // Label (ExEditLabel.cpp).
    void UpdateLabel();
    void CreateLabel();

    // Lookup (ExEditLookup.cpp).
    void UpdateLookupList();
    void TakeLookupEntry();
    void HideLookup();
    void MoveLookupIndex(int delta, bool absolute = false);

    // Focus and misc (ExEdit.cpp).
    void WMSetFocus(gui::TMessage& m);
    void WMKillFocus(gui::TMessage& m);
    void SetURLLook(bool on);
    void ApplyFontColor(TColor c);
    void NudgeWidth();
    void ApplyAlignment(TEditAlign a);

    bool FBlockDefaultHandling = false;
    int FIndentL = 0;
    int FIndentR = 0;

private:
    friend class TListHintWindow;
    TExEditType FEditType = TExEditType::etString;
    int FPrecision = 0;
    TPrecisionDisplay FPrecisionDisplay = TPrecisionDisplay::pdNormal;
    TEditAlign FEditAlign = TEditAlign::eaLeft;
    TEditAlign FFocusAlign = TEditAlign::eaDefault;
    std::string FPrefix, FSuffix;
    bool FSigned = false;
    bool FAllowNumericNullValue = false;
    bool FAutoThousandSeparator = true;
    bool FExcelStyleDecimalSeparator = false;
    std::string FValidChars;
    int FLengthLimit = 0;
    bool FTabOnFullLength = false;
    bool FReturnIsTab = false;
    bool FCanUndo = true;
    bool FDefaultHandling = true;
    bool FAutoFocus = false;
    bool FHintShowLargeText = false;

    TColor FFocusColor = gui::clNone;
    TColor FFocusFontColor = gui::clWindowText;
    TColor FErrorColor = gui::clRed;
    TColor FErrorFontColor = gui::clWhite;
    TColor FModifiedColor = gui::clHighlight;
    TColor FDisabledColor = gui::clSilver;
    TColor FURLColor = gui::clBlue;
    bool FShowError = false;
    bool FShowModified = false;
    bool FShowURL = false;
    bool FFocusLabel = false;
    int FFocusWidthInc = 0;

    bool FFlat = false;
    TColor FFlatLineColor = gui::clBlack;
    bool FFlatParentColor = true;
    bool FSoftBorder = false;
    bool FBorder3D = false;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = gui::clNone;
    bool FDisabledBorder = true;
    std::string FEmptyText;
    int FErrorMarkerPos = 0;
    int FErrorMarkerLen = 0;
    bool FTransparent = false;
    gui::TBorderStyle FOldBorder = gui::TBorderStyle::bsSingle;

    TLabelPosition FLabelPosition = TLabelPosition::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    std::unique_ptr<gui::TFont> FLabelFont;
    gui::TLabel* FLabel = nullptr;
    bool FParentFnt = false;

    std::unique_ptr<TLookupSettings> FLookup;
    std::unique_ptr<TPersistence> FPersistence;
    TListHintWindow* FLookupList = nullptr;
    std::vector<int> FLookupIndex;   // DisplayList index of each row
    void EnsureLookupList();

    bool FOleDropSource = false;
    bool FOleDropTarget = false;
    bool FOleDropTargetAssigned = false;
    std::unique_ptr<TAEDropTarget> FDropTarget;
    bool FDroppedOnSelf = false;   // the last drag ended on its own selection
    void WMLButtonDown(gui::TMessage& m);
    void WMMouseMove(gui::TMessage& m);
    bool FIsDragSource = false;
    bool FButtonDown = false;
    gui::TPoint FCaretPos{-1, -1};

    std::string FOldString;
    TColor FNormalColor = gui::clWindow;
    TColor FFontColor = gui::clWindowText;
    TEditAlign FOldEditAlign = TEditAlign::eaLeft;
    bool FAlignChanging = false;
    bool FBlockChange = false;
    bool FBlockCopy = false;
    bool FIsUrl = false;
    bool FMouseInControl = false;
    bool FIsValidating = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FModified = false;
    bool FIsError = false;
    bool FHasFocus = false;

    friend class TEditDropTarget;
};

} // namespace controls
