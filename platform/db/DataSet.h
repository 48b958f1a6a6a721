// Data sets: a cursor over rows of named, typed fields, as the eclipse
// objects, the catalogue dialog and the data-aware controls use them.
//
// TDataSet keeps the cursor (current record, Bof/Eof) and the fields; a
// concrete data set supplies the rows (TCustomMemDataSet keeps them in
// memory; the SQLite data sets of SQLiteDataSet.h fill such a store from
// the database).  Every change of the current row or of the data is
// reported to the data sources attached to the data set (DataEvent), which
// is where data-aware controls hook in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Set.h"

namespace db {

// Raised for every misuse of a data set and every database failure; the
// message names the data set, field or file concerned.
class EDatabaseError : public rtl::Exception {
public:
    using Exception::Exception;
};

enum class TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean,
    ftFloat, ftAutoInc, ftLargeint
};

// One stored value: null, a whole number, a real number or a text.
using TFieldValue = std::variant<std::monostate, int64_t, long double, std::string>;

enum class TDataSetState { dsInactive, dsBrowse };

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
    // Position among the data set's fields (0-based).
    int Index() const { return FIndex; }
    int FieldNo() const { return FIndex + 1; }

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

    std::string ClassName() const override { return "TField"; }

private:
    TDataSet* FDataSet;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
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

    // The value of a field of the current record; null for an empty set.
    TFieldValue GetFieldValue(const TField* field) const;

    // Name used in messages: Name(), else a description of the source.
    virtual std::string DisplayName() const;

    // Events, called after the action has happened.
    rtl::TNotifyEvent AfterOpen;
    rtl::TNotifyEvent AfterClose;
    rtl::TNotifyEvent AfterScroll;

    std::string ClassName() const override { return "TDataSet"; }

protected:
    // --- what a concrete data set provides ------------------------------
    // Loads the rows and declares the fields (AddField); raises on failure.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual int InternalRecordCount() const = 0;
    // The value of field fieldIndex in record recordIndex (0-based each).
    virtual TFieldValue InternalGetValue(int recordIndex, int fieldIndex) const = 0;

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
    // Tells every attached data source.
    void DataEvent(TDataEvent event, TField* field = nullptr);

    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TDataSource;
    void AttachSource(TDataSource* source);
    void DetachSource(TDataSource* source);
    void Scrolled(int oldIndex);
    bool RecordMatches(int recordIndex, const std::vector<TField*>& fields,
                       const std::vector<TFieldValue>& keys, TLocateOptions options) const;

    TDataSetState FState = TDataSetState::dsInactive;
    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<TDataSource*> FDataSources;
    int FCurrent = -1;
    bool FBof = true;
    bool FEof = true;
};

// Rows kept in memory: field definitions and records added by the owner of
// the data set, with an optional client sort.  TMemDataSet exposes this for
// tests and small tables; the SQLite data sets fill it from a query.
class TCustomMemDataSet : public TDataSet {
public:
    explicit TCustomMemDataSet(rtl::TComponent* owner = nullptr);

    // Client sort: field names separated by "," or ";", each optionally
    // followed by "ASC" or "DESC" ("CatNo", "Type,CatNo DESC").  Nulls
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

    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    TFieldValue InternalGetValue(int recordIndex, int fieldIndex) const override;

private:
    void ApplySort();

    std::vector<TFieldDef> FFieldDefs;
    std::vector<std::vector<TFieldValue>> FRecords;
    std::vector<int> FOrder;      // display position -> stored record
    std::string FSort;
};

// An in-memory data set for tests and small tables.  Field definitions are
// made while closed; records may be appended at any time (an open data set
// tells its sources).  A record with the wrong number of values raises
// EDatabaseError.
class TMemDataSet : public TCustomMemDataSet {
public:
    explicit TMemDataSet(rtl::TComponent* owner = nullptr) : TCustomMemDataSet(owner) {}

    void AddFieldDef(const std::string& name, TFieldType type, int size = 0);
    void AppendRecord(std::vector<TFieldValue> values);
    void ClearRecords();

    std::string ClassName() const override { return "TMemDataSet"; }
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
    // Called by the data set for every event; the base turns them into
    // OnDataChange / OnStateChange.
    virtual void DataEvent(TDataEvent event, TField* field);
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TDataSet;
    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
};

} // namespace db
