// Data sets: a cursor over rows of named, typed fields, as the eclipse
// objects, the catalogue dialog and the data-aware controls use them.
//
// TDataSet keeps the cursor (current record, Bof/Eof) and the fields; a
// concrete data set supplies the rows (TCustomMemDataSet keeps them in
// memory; the SQLite data sets of SQLiteDataSet.h fill such a store from
// the database).  Every change of the current row or of the data is
// reported to the data sources attached to the data set (DataEvent), which
// is where data-aware controls hook in: a control owns a TDataLink, joins
// it to a TDataSource and is told through the link's virtual notifications.
//
// A data link sees the records through a window of BufferCount records
// that always holds the current record (a grid sets it to its visible
// rows).  ActiveRecord is the current record's row inside that window;
// setting it makes the fields read another record of the window without
// moving the cursor, which is how a grid paints its rows.  Moving the
// cursor slides the window as little as possible and tells the link how
// far it slid (DataSetScrolled).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/db/IndexDefs.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"

namespace db {

// Raised for every misuse of a data set and every database failure; the
// message names the data set, field or file concerned.
class EDatabaseError : public rtl::Exception {
public:
    using Exception::Exception;
};

enum class TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean,
    ftFloat, ftAutoInc, ftLargeint,
    ftMemo,     // text of any length, kept as a string
    ftBlob,     // bytes, kept as a string
    // Days since 1899-12-30 (the fraction is the time of day), kept as a
    // real number: ftDate shows the date, ftTime the time, ftDateTime both.
    ftDate, ftTime, ftDateTime,
    ftWideString,   // UTF-8 text of any script, kept as a string
    ftGraphic,      // picture bytes (BMP, JPEG, PNG, GIF), kept as a string
    // The further types a data-access library may report; kept as a string
    // (bytes and texts), a whole number or a real number by their kind.
    ftBytes, ftVarBytes, ftTypedBinary, ftOraBlob, ftOraClob,   // bytes
    ftFmtMemo, ftWideMemo, ftFixedWideChar,                     // texts
    ftParadoxOle, ftDBaseOle, ftCursor, ftReference, ftDataSet, ftADT,  // bytes
    ftShortint, ftLongWord,                                     // whole numbers
    ftBCD, ftFMTBcd, ftExtended                                 // real numbers
};

// One stored value: null, a whole number, a real number or a text.
using TFieldValue = std::variant<std::monostate, int64_t, long double, std::string>;

// dsEdit: the current record is being changed; dsInsert: a new record
// (already shown at the cursor) is being filled.  Post or Cancel end both.
enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

// A position in a data set that survives a change of order; empty for
// none.  Only the data set that made it can read it.
using TBookmark = std::vector<uint8_t>;

enum class TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = rtl::Set<TLocateOption>;

// What a data set tells its data sources.
enum class TDataEvent {
    deFieldChange,      // a field's value changed
    deRecordChange,     // the current record's values changed
    deDataSetChange,    // the data changed as a whole (opened, re-queried, sorted)
    deDataSetScroll,    // the cursor moved to another record
    deLayoutChange,     // fields were added or removed
    deUpdateState       // the state changed (opened, closed)
};

class TDataSet;
class TDataSource;
class TDataLink;
class TField;

// Called for the text of a field: displayText is true for the shown text,
// false for the text an editor starts with.
using TFieldGetTextEvent = std::function<void(TField* sender, std::string& text, bool displayText)>;

// A column of a data set, reading the value of the data set's current
// record.  Reading a null value gives 0, 0.0, "" or false.
class TField : public rtl::TPersistent {
public:
    TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int size, int index);

    TDataSet* DataSet() const { return FDataSet; }
    const std::string& FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    // Declared text length for string fields, 0 otherwise.
    int Size() const { return FSize; }
    // Position among the data set's fields (0-based).  Moving a field
    // changes the order of Fields (and of a grid's default columns), not
    // the data it reads.
    int Index() const { return FIndex; }
    void SetIndex(int value);
    // The field's column in the data (1-based), whatever its Index.
    int FieldNo() const { return FDataIndex + 1; }
    std::string FullName() const { return FFieldName; }
    // fkData reads the stored value; fkCalculated is set by the data set's
    // OnCalcFields; fkLookup reads LookupResultField of the record of
    // LookupDataSet whose LookupKeyFields equal this data set's KeyFields.
    TFieldKind FieldKind() const { return FFieldKind; }
    bool Lookup() const { return FFieldKind == TFieldKind::fkLookup; }
    const std::string& KeyFields() const { return FKeyFields; }
    TDataSet* LookupDataSet() const { return FLookupDataSet; }
    const std::string& LookupKeyFields() const { return FLookupKeyFields; }
    const std::string& LookupResultField() const { return FLookupResultField; }
    // Memo and blob fields.
    bool IsBlob() const
    {
        switch (FDataType) {
        case TFieldType::ftMemo: case TFieldType::ftBlob: case TFieldType::ftGraphic:
        case TFieldType::ftBytes: case TFieldType::ftVarBytes: case TFieldType::ftTypedBinary:
        case TFieldType::ftOraBlob: case TFieldType::ftOraClob: case TFieldType::ftFmtMemo:
        case TFieldType::ftWideMemo: case TFieldType::ftParadoxOle: case TFieldType::ftDBaseOle:
            return true;
        default:
            return false;
        }
    }
    bool IsDateTime() const
    {
        return FDataType == TFieldType::ftDate || FDataType == TFieldType::ftTime ||
               FDataType == TFieldType::ftDateTime;
    }
    bool IsNumeric() const;

    // --- how controls show the field ------------------------------------
    // The column title: DisplayLabel when set, else the field name.
    std::string DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& value);
    std::string DisplayName() const { return DisplayLabel(); }
    // Width in characters: the text size of string fields, a width by
    // type for the others, unless set.
    int DisplayWidth() const;
    void SetDisplayWidth(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Numbers are right-aligned, everything else left-aligned, unless set.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Picture of FormatFloat ("0.000", "#,##0") for numeric fields; empty
    // gives the general text.  Other fields ignore it.
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& value);
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value) { FEditMask = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // The shown text: OnGetText when assigned, else the value formatted by
    // DisplayFormat; Boolean fields read "True" / "False"; null gives "".
    std::string DisplayText() const { return GetText(true); }
    // The text an editor starts with (the value without DisplayFormat).
    std::string Text() const { return GetText(false); }

    TFieldGetTextEvent OnGetText;
    // Writes an edited text: OnSetText when assigned, else SetAsString.
    std::function<void(TField* sender, const std::string& text)> OnSetText;
    void SetText(const std::string& text);
    // The value's bytes (a blob's content, else its text) into stream.
    void SaveToStream(rtl::TStream& stream) const;

    bool IsNull() const;
    TFieldValue Value() const;
    // Whole numbers convert exactly, reals are rounded to the nearest
    // integer (ties to even), texts are parsed; an empty text or null
    // gives 0.  A text that is no number raises EConvertError.
    long double AsFloat() const;
    int32_t AsInteger() const;
    int64_t AsLargeInt() const;
    bool AsBoolean() const;
    // Numbers as their general text ("0.5", "-12"); null gives "".
    std::string AsString() const;

    // --- writing --------------------------------------------------------
    // Data fields are written while the data set edits or inserts (else
    // EDatabaseError "<data set>: Dataset not in edit or insert mode"), a
    // read-only field raises "Field '<name>' cannot be modified".  Values
    // are converted to the field's type: a text for a numeric field is
    // parsed (EConvertError when it is no number), an empty text is null;
    // Boolean fields keep 1 or 0.  Calculated fields are written only
    // inside OnCalcFields.
    void SetValue(const TFieldValue& value);
    void SetAsString(const std::string& value) { SetValue(value); }
    void SetAsInteger(int32_t value) { SetValue(int64_t(value)); }
    void SetAsLargeInt(int64_t value) { SetValue(value); }
    void SetAsFloat(long double value) { SetValue(value); }
    void SetAsBoolean(bool value) { SetValue(int64_t(value ? 1 : 0)); }
    void Clear() { SetValue(TFieldValue{}); }
    // Whether the field may be written now (data set editable, field not
    // read-only, data field).
    bool CanModify() const;

    std::string ClassName() const override { return "TField"; }

private:
    friend class TDataSet;
    std::string GetText(bool displayText) const;
    void PropertyChanged(bool layoutAffected);

    TDataSet* FDataSet;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
    int FDataIndex;
    bool FPersistent = false;
    // Slot among the calculated and lookup fields, -1 for data fields.
    int FCalcIndex = -1;
    TFieldKind FFieldKind = TFieldKind::fkData;
    std::string FKeyFields, FLookupKeyFields, FLookupResultField;
    TDataSet* FLookupDataSet = nullptr;
    std::string FDisplayLabel;
    int FDisplayWidth = 0;
    bool FVisible = true;
    TAlignment FAlignment;
    std::string FDisplayFormat;
    std::string FEditMask;
    bool FReadOnly = false;
};

// The cursor over a data set's rows.  Rows are numbered 1..RecordCount
// (RecNo); an empty or closed data set has RecNo 0 and Bof = Eof = true.
// Navigation, Locate and field access on a closed data set raise
// EDatabaseError "<name>: Cannot perform this operation on a closed dataset".
class TDataSet : public rtl::TComponent {
public:
    explicit TDataSet(rtl::TComponent* owner = nullptr);
    ~TDataSet() override;

    void Open();
    void Close();
    bool Active() const { return FState != TDataSetState::dsInactive; }
    void SetActive(bool value);
    TDataSetState State() const { return FState; }

    // --- fields ---------------------------------------------------------
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int index) const;
    // The field of that name (ASCII case ignored), or nullptr.
    TField* FindField(const std::string& fieldName) const;
    // As FindField; a missing field raises EDatabaseError
    // "<name>: Field '<fieldName>' not found".
    TField* FieldByName(const std::string& fieldName) const;
    std::vector<std::string> FieldNames() const;

    // --- navigation -----------------------------------------------------
    virtual void First();
    virtual void Last();
    virtual void Next();
    virtual void Prior();
    // Moves by distance records (negative: backwards), stopping at either
    // end; returns the number of records actually moved (signed).
    virtual int MoveBy(int distance);
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecordCount() const;
    int RecNo() const;
    // Moves to record value (1-based); values outside 1..RecordCount are
    // ignored.
    virtual void SetRecNo(int value);

    // Moves to the first record (in the current order) whose key fields
    // (names separated by ";") equal the key values, one per field.  With
    // loPartialKey a text field matches when its text begins with the key;
    // with loCaseInsensitive texts are compared ignoring case.  A numeric
    // field matches a key of equal numeric value (a key text is parsed).
    // Returns true when found; otherwise the cursor stays where it was.
    virtual bool Locate(const std::string& keyFields, const std::vector<TFieldValue>& keyValues,
                        TLocateOptions options = {});
    bool Locate(const std::string& keyField, const TFieldValue& keyValue,
                TLocateOptions options = {});

    // The value of a field of the active record (the current one, or the
    // record a data link made active); null for an empty set.
    TFieldValue GetFieldValue(const TField* field) const;

    // --- bookmarks ------------------------------------------------------
    // A bookmark of the active record (the current one, or the record a
    // data link made active; empty when there is none).
    TBookmark GetBookmark() const;
    TBookmark Bookmark() const { return GetBookmark(); }
    // Moves to the bookmarked record; an empty or foreign bookmark, or one
    // whose record is gone, raises EDatabaseError "<name>: Record not found".
    void GotoBookmark(const TBookmark& bookmark);
    void SetBookmark(const TBookmark& bookmark) { GotoBookmark(bookmark); }
    bool BookmarkValid(const TBookmark& bookmark) const;
    // Order of two bookmarks in the current order of the records (-1, 0,
    // 1); an empty bookmark comes first.
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;

    // --- controls -------------------------------------------------------
    // While disabled (counted), the data sources hear nothing; enabling
    // the last time tells them once that the data changed, if anything
    // happened meanwhile.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // What controls ask of a data set: whether records may be edited,
    // inserted and deleted (by default not), sequenced (RecNo is the
    // position) and two-way.
    virtual bool CanModify() const { return false; }
    virtual bool IsSequenced() const { return true; }
    virtual bool IsUniDirectional() const { return false; }
    // False once persistent fields exist (CreatePersistentField).
    bool DefaultFields() const { return !FHasPersistentFields; }
    // A persistent field, created while the data set is closed: it stays
    // across Close and Open (so it can be found by name while closed), and
    // once any exists, opening keeps only the persistent fields (plus
    // calculated and lookup ones), each reading the data's column of its
    // name.  Opening raises "<name>: Field 'X' not found" for a column the
    // data lacks and "<name>: Type mismatch for field 'X'" for another type.
    TField* CreatePersistentField(const std::string& name, TFieldType type, int size = 0);
    // With Filtered on, only records that OnFilterRecord accepts are shown
    // (the fields read the record being judged); turning it on or off, or
    // Refilter, applies it to an open data set.
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool value);
    std::function<void(TDataSet* dataSet, bool& accept)> OnFilterRecord;
    void Refilter() { if (Active()) FilterChanged(); }
    // Ends a pending edit before the cursor moves: an inserted record that
    // nobody changed is dropped, anything else is posted.  Checks that the
    // data set is open.
    void CheckBrowseMode();

    // --- editing --------------------------------------------------------
    // Edit starts changing the current record (an empty data set gets a
    // new record instead); Insert adds a blank record at the cursor and
    // Append one at the end, both made current.  Post stores the changed
    // values (a sorted data set moves the record to its place and keeps the
    // cursor on it); Cancel drops them (and an inserted record).  Delete
    // removes the current record.  A data set that cannot be modified
    // raises EDatabaseError "<name>: Cannot modify a read-only dataset".
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Whether a field was written since Edit / Insert.
    bool Modified() const { return FModified; }
    // Ends a pending edit (as CheckBrowseMode) and reads the records
    // anew, keeping the cursor on its record; the sources are told that
    // the data changed.
    void Refresh();

    // The value of resultField in the first record whose keyFields equal
    // keyValues (exact, case-sensitive), without moving the cursor; null
    // when there is none.
    TFieldValue Lookup(const std::string& keyFields, const std::vector<TFieldValue>& keyValues,
                       const std::string& resultField) const;

    // --- calculated and lookup fields -----------------------------------
    // Declared while closed; the fields are created at Open after the
    // stored ones.  A lookup field reads resultField of the record of
    // lookupDataSet whose lookupKeyFields equal keyFields (names separated
    // by ";").
    void AddCalcField(const std::string& name, TFieldType type, int size = 0);
    void AddLookupField(const std::string& name, TFieldType type, int size,
                        const std::string& keyFields, TDataSet* lookupDataSet,
                        const std::string& lookupKeyFields, const std::string& lookupResultField);
    // Records are read at once; kept for callers that tell the data set
    // its position may have moved underneath.
    void CursorPosChanged() {}

    // Name used in messages: Name(), else a description of the source.
    virtual std::string DisplayName() const;

    // Events, called before and after the action.  An exception from a
    // Before event stops the action.
    rtl::TNotifyEvent BeforeOpen;
    rtl::TNotifyEvent AfterOpen;
    rtl::TNotifyEvent BeforeClose;
    rtl::TNotifyEvent AfterClose;
    rtl::TNotifyEvent BeforeScroll;
    rtl::TNotifyEvent AfterScroll;
    rtl::TNotifyEvent BeforeEdit, AfterEdit, BeforeInsert, AfterInsert;
    rtl::TNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    rtl::TNotifyEvent BeforeDelete, AfterDelete;
    // Fills a new record (after Insert / Append) with its first values.
    rtl::TNotifyEvent OnNewRecord;
    // Sets the calculated fields of the record being read; only they may
    // be written here.
    rtl::TNotifyEvent OnCalcFields;

    std::string ClassName() const override { return "TDataSet"; }

protected:
    // --- what a concrete data set provides ------------------------------
    // Loads the rows and declares the fields (AddField); raises on failure.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual int InternalRecordCount() const = 0;
    // The value of field fieldIndex in record recordIndex (0-based each).
    virtual TFieldValue InternalGetValue(int recordIndex, int fieldIndex) const = 0;
    // A key of the record at recordIndex that survives a change of order,
    // and back (-1 when no record has the key).  By default the position.
    virtual int64_t InternalBookmarkKey(int recordIndex) const { return recordIndex; }
    virtual int InternalBookmarkIndex(int64_t key) const;
    // Editing, for data sets that CanModify: add a blank record at
    // position index (0-based) and return where it is; remove the record
    // at index; store values (one per data field) in the record at index
    // and return its position afterwards.  The defaults raise.
    virtual int InternalInsert(int index);
    virtual void InternalDelete(int index);
    virtual int InternalPost(int index, const std::vector<TFieldValue>& values);

    TField* AddField(const std::string& name, TFieldType type, int size = 0);
    void ClearFields();
    // The current record (0-based), -1 when there is none.
    int CurrentIndex() const { return FCurrent; }
    // Puts the cursor on record index (0-based, clamped) without events.
    void SetCurrentIndex(int index);
    // Re-reads the rows after a change of the data or of their order,
    // keeping the cursor on record index (clamped), and tells the sources.
    void DataChanged(int newCurrentIndex);
    void CheckActive() const;
    // Whether the record at recordIndex passes the filter (true without one).
    bool RecordAccepted(int recordIndex);
    // The filter changed on an open data set; the memory data sets re-read
    // their order.
    virtual void FilterChanged() {}
    // Right after opening, with the data set active: applies the filter
    // (the memory data sets re-read their order).
    virtual void ApplyOpenFilter() {}
    // Tells every attached data source.
    void DataEvent(TDataEvent event, TField* field = nullptr);

    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TDataSource;
    friend class TDataLink;
    friend class TField;
    void AttachSource(TDataSource* source);
    void DetachSource(TDataSource* source);
    void MoveField(TField* field, int newIndex);
    void DoBeforeScroll();
    void Scrolled(int oldIndex);
    // The value of field in record recordIndex: the edit buffer for the
    // record being edited, the calculation for calculated and lookup fields.
    TFieldValue ValueOf(int recordIndex, const TField* field) const;
    TFieldValue CalcValue(int recordIndex, const TField* field) const;
    void SetFieldValue(TField* field, const TFieldValue& value);
    void CheckCanModify() const;
    void StartInsert(bool atEnd);
    void AddExtraFields();
    // Opening: binds the persistent fields (moved out of the field list
    // meanwhile) to the default fields InternalOpen made, which they replace.
    void BindPersistentFields(std::vector<std::unique_ptr<TField>>& persistent);
    bool FHasPersistentFields = false;
    // Columns of the data as InternalOpen found them (the edit buffer's size).
    int FDataColumnCount = 0;
    bool RecordMatches(int recordIndex, const std::vector<TField*>& fields,
                       const std::vector<TFieldValue>& keys, TLocateOptions options) const;

    TDataSetState FState = TDataSetState::dsInactive;
    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<TDataSource*> FDataSources;
    int FCurrent = -1;
    bool FBof = true;
    bool FEof = true;
    // Record the fields read instead of the current one (a data link's
    // ActiveRecord), -1 for none.
    int FActiveOverride = -1;
    int FDisableCount = 0;
    TDataSetState FDisableState = TDataSetState::dsInactive;
    bool FEventsMissed = false;
    bool FLayoutMissed = false;
    bool FFiltered = false;

    struct TExtraFieldDef {
        std::string Name;
        TFieldType DataType;
        int Size;
        TFieldKind Kind;
        std::string KeyFields;
        TDataSet* LookupDataSet;
        std::string LookupKeyFields, LookupResultField;
    };
    std::vector<TExtraFieldDef> FExtraDefs;
    // Values of the data fields of the record being edited or inserted.
    std::vector<TFieldValue> FEditBuffer;
    bool FModified = false;
    // While OnCalcFields runs: the record calculated and its values.
    mutable bool FCalculating = false;
    mutable int FCalcRecord = -1;
    mutable std::vector<TFieldValue> FCalcBuffer;
};

// Rows kept in memory: field definitions and records added by the owner of
// the data set, with an optional client sort.  TMemDataSet exposes this for
// tests and small tables; the SQLite data sets fill it from a query.
class TCustomMemDataSet : public TDataSet {
    RTL_CLASS(TCustomMemDataSet, TDataSet)
public:
    explicit TCustomMemDataSet(rtl::TComponent* owner = nullptr);

    // Published as "IndexFieldNames": the sort under the name the sorting
    // grids look for.
    const std::string& IndexFieldNames() const { return FSort; }
    void SetIndexFieldNames(const std::string& value) { SetSort(value); }
    // Published as "IndexDefs" and "IndexName": choosing a definition by
    // name orders the data set by its fields (setting Sort clears the
    // name); an unknown name raises EDatabaseError "<name>: Index '<x>'
    // not found" (on a closed data set: when it opens); "" returns to
    // stored order.
    TIndexDefs* IndexDefs() const { return FIndexDefs.get(); }
    const std::string& IndexName() const { return FIndexName; }
    void SetIndexName(const std::string& value);

    // One key of a sort text: the field name as written and the direction.
    struct TSortKey {
        std::string Name;
        bool Descending;
    };
    // The keys of a sort text (see Sort); no check against the fields.
    static std::vector<TSortKey> ParseSort(const std::string& sort);

    // Client sort: field names separated by "," or ";", each optionally
    // in brackets and followed by "ASC" or "DESC" ("CatNo", "Type,CatNo
    // DESC", "[CatNo] ASC,[Saros] DESC").  Nulls
    // come first; equal keys keep their stored order.  Setting it on an
    // open data set re-sorts and keeps the cursor on the same record.  An
    // unknown field raises EDatabaseError naming it.  "" gives stored order.
    const std::string& Sort() const { return FSort; }
    void SetSort(const std::string& sort);

    std::string ClassName() const override { return "TCustomMemDataSet"; }

protected:
    struct TFieldDef {
        std::string Name;
        TFieldType DataType;
        int Size;
    };

    void DefineField(const std::string& name, TFieldType type, int size = 0);
    void ClearFieldDefs();
    void AddRecord(std::vector<TFieldValue> values);
    void ClearRecords();
    const std::vector<TFieldDef>& FieldDefs() const { return FFieldDefs; }

    // A data set that orders its rows itself (a query re-run with an
    // ORDER BY) returns true: the client keeps the order it is given.
    virtual bool SortsOnServer() const { return false; }
    // Brings the rows into the order of Sort() on an open data set; by
    // default the client sort.
    virtual void Reorder();
    // Re-applies the current order after records were added.
    void Resort();
    // Shows the stored records in the order of rows, the same records read
    // anew in another order: each row is matched to a stored record of equal
    // values, so that bookmarks stay valid.  False (nothing changed) when
    // the rows are not exactly the stored records.
    bool OrderFromRows(const std::vector<std::vector<TFieldValue>>& rows);
    // At open: a chosen IndexName becomes the sort (its definition must
    // exist by then).
    void ResolveIndexName();

    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    TFieldValue InternalGetValue(int recordIndex, int fieldIndex) const override;
    // The stored record: its place survives a new sort.
    int64_t InternalBookmarkKey(int recordIndex) const override;
    int InternalBookmarkIndex(int64_t key) const override;
    int InternalInsert(int index) override;
    void InternalDelete(int index) override;
    int InternalPost(int index, const std::vector<TFieldValue>& values) override;

    void ApplySort();
    void FilterChanged() override { Resort(); }
    void ApplyOpenFilter() override
    {
        if (Filtered() && OnFilterRecord) ApplySort();
    }

private:
    void ChangeOrder(const std::string& sort);

    std::vector<TFieldDef> FFieldDefs;
    std::vector<std::vector<TFieldValue>> FRecords;
    // Deleted records stay stored (so that bookmarks keep their meaning)
    // but leave the order.
    std::vector<bool> FDeleted;
    // Stored records in their unsorted order (where they were inserted).
    std::vector<int> FNatural;
    std::vector<int> FOrder;      // display position -> stored record
    std::string FSort;
    std::string FIndexName;
    std::unique_ptr<TIndexDefs> FIndexDefs;
};

// An in-memory data set for tests and small tables.  Field definitions are
// made while closed; records may be appended at any time (an open data set
// tells its sources).  A record with the wrong number of values raises
// EDatabaseError.  It can be edited unless ReadOnly.
class TMemDataSet : public TCustomMemDataSet {
public:
    explicit TMemDataSet(rtl::TComponent* owner = nullptr) : TCustomMemDataSet(owner) {}

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool CanModify() const override { return Active() && !FReadOnly; }
    // Off: the data set stands for one without record numbers (RecNo -1),
    // as some server cursors are; controls must walk it.
    bool IsSequenced() const override { return FSequenced; }
    void SetSequenced(bool value) { FSequenced = value; }

    void AddFieldDef(const std::string& name, TFieldType type, int size = 0);
    void AppendRecord(std::vector<TFieldValue> values);
    void ClearRecords();

    std::string ClassName() const override { return "TMemDataSet"; }

private:
    bool FReadOnly = false;
    bool FSequenced = true;
};

// Connects a data set to the controls that show it and reports changes of
// the current row and of the data (OnDataChange, with the field concerned
// or nullptr for the whole row) and of the state (OnStateChange).  A
// disabled source reports nothing.
class TDataSource : public rtl::TComponent {
public:
    explicit TDataSource(rtl::TComponent* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TDataSetState State() const;

    std::function<void(rtl::TObject* sender, TField* field)> OnDataChange;
    rtl::TNotifyEvent OnStateChange;

    std::string ClassName() const override { return "TDataSource"; }

protected:
    // Called by the data set for every event; the base tells the data
    // links, then turns the event into OnDataChange / OnStateChange.
    virtual void DataEvent(TDataEvent event, TField* field);
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;
    // Tells every link that the data set, its state or Enabled changed.
    void UpdateLinkStates();

    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    std::vector<TDataLink*> FDataLinks;
};

// The tie of one data-aware control to a data source.  The control
// derives its link from this class and overrides the notifications.  A
// link is active while its source is enabled and has an open data set.
class TDataLink : public rtl::TPersistent {
public:
    TDataLink();
    ~TDataLink() override;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    // Whether the data set is being edited or a record inserted.
    bool Editing() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Marks the link of a control on screen (a grid or an edit).
    bool VisualControl() const { return FVisualControl; }
    void SetVisualControl(bool value) { FVisualControl = value; }

    // The window of records (see the top of this file).
    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int value);
    int ActiveRecord() const;
    void SetActiveRecord(int value);
    // Records in the window (fewer than BufferCount near the end).
    int RecordCount() const;
    // Absolute position (0-based) of the window's first record.
    int FirstRecord() const { return FFirstRecord; }
    bool Eof() const;
    bool Bof() const;
    // Moves the data set's cursor; returns the distance moved.
    int MoveBy(int distance);
    // Puts the data set into editing (unless it already is); false when
    // the link or the data cannot be modified.
    bool Edit();
    // Asks the control to write its pending value (UpdateData).
    void UpdateRecord();

    std::string ClassName() const override { return "TDataLink"; }

protected:
    // --- notifications, for the control to override --------------------
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    // By default: RecordChanged(nullptr).
    virtual void DataSetChanged();
    // distance: how many records the window slid (positive: forward).
    // By default: DataSetChanged.
    virtual void DataSetScrolled(int distance);
    virtual void EditingChanged() {}
    virtual void FocusControl(TField** field) { (void)field; }
    // By default: DataSetChanged.
    virtual void LayoutChanged();
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    friend class TDataSet;
    void DataEvent(TDataEvent event, TField* field);
    void UpdateState();
    void SlideWindow();

    TDataSource* FDataSource = nullptr;
    int FBufferCount = 1;
    int FFirstRecord = 0;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FVisualControl = false;
    bool FUpdating = false;
};

} // namespace db
