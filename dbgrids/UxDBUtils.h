// Small data-access services of the data-aware controls: a data link whose
// focus request becomes FocusField, an object that finds a record by the
// text of a key field, a guarded bookmark jump, an emptiness test, the
// database error, and saving / restoring a data set's field layout.
//
// The one rule: a failed Locate returns false and leaves the cursor where it
// was; it never raises for a key field it cannot compare.
//
//   auto finder = dbgrids::CreateLocate(ds);
//   finder->Locate("DT", "2024", false, false, true, true);   // prefix, any case
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/db/DataSet.h"

namespace dbgrids {

class TUxCustomAppStorage;

class TUxDataLink : public db::TDataLink {
protected:
    // Called with the field a focus request names; does nothing here.
    virtual void FocusField(db::TField* field) { (void)field; }
    void FocusControl(db::TField** field) override;
};

class TUxLocateObject {
public:
    TUxLocateObject() = default;
    virtual ~TUxLocateObject() = default;

    db::TDataSet* DataSet() const { return FDataSet; }
    // Calls DataSetChanging, then keeps the data set.
    void SetDataSet(db::TDataSet* value);
    // Set by the users of the object; nothing here reads it.
    bool IndexSwitch() const { return FIndexSwitch; }
    void SetIndexSwitch(bool value) { FIndexSwitch = value; }

    // Finds the first record whose keyField text matches keyValue (whole
    // or prefix, with or without case; non-string fields always compare
    // with case).  A current record that already matches is kept.
    bool Locate(const std::string& keyField, const std::string& keyValue, bool exact,
                bool caseSensitive, bool disableControls, bool rightTrimmedLookup);

protected:
    // Rejects a non-string key field by raising; accepts all here.
    virtual void CheckFieldType(db::TField* field) { (void)field; }
    virtual void DataSetChanging() {}
    // The data set's own Locate (stored fields).
    virtual bool LocateFilter();
    virtual bool FindByKey() { return false; }
    // A scan from the first record (calculated and lookup fields).
    virtual bool LocateFull();
    virtual bool UseKey() { return false; }
    virtual bool FilterApplicable();
    bool MatchesLookup(db::TField* field) const;

    db::TDataSet* FDataSet = nullptr;
    db::TField* FLookupField = nullptr;
    std::string FLookupValue;
    bool FLookupExact = false;
    bool FCaseSensitive = false;
    db::TBookmark FBookmark;
    bool FIndexSwitch = false;
};

// A replacement for the creation of locate objects; none is installed by
// the system.
extern std::function<std::unique_ptr<TUxLocateObject>()> CreateLocateObjectRoutine;
std::unique_ptr<TUxLocateObject> CreateLocate(db::TDataSet* dataSet);

// Goes to the bookmark when the data set is open, not empty and the
// bookmark valid; false otherwise (also when the jump raises).
bool TryGotoBookmark(db::TDataSet* dataSet, const db::TBookmark& bookmark);
// True when the data set is closed or at both Bof and Eof.
bool IsDataSetEmpty(db::TDataSet* dataSet);
[[noreturn]] void RaiseDatabaseError(const std::string& message);
// The storage section of a data set: its owner form's storage name, else
// its Name.
std::string DataSetSection(db::TDataSet* dataSet);

// One value per field, "<Index>,<DisplayWidth>,<Visible 0/1>", under
// <path or DataSetSection>/<data set Name><FieldName>.
void SaveFieldsLayout(db::TDataSet* dataSet, TUxCustomAppStorage* storage, const std::string& path);
void RestoreFieldsLayout(db::TDataSet* dataSet, TUxCustomAppStorage* storage, const std::string& path,
                         bool restoreVisible);

} // namespace dbgrids
