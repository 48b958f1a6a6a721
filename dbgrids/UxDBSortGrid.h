// The sorting data-aware grid: TUxDBGrid with a sort of several columns at
// once done by the data set (an index definition, the index field names, a
// routine of the owner or a sort clause), the markers of the sorted
// columns, the saved grid position and a search for a value in chosen
// fields.
//
// The one rule: the grid only writes the data set's published "IndexName"
// or "IndexFieldNames"; field names go into a sort string in brackets
// ("[CatNo] ASC,[Saros] DESC") and the data set checks them.
//
//   grid->Sort({{"CatNo", true}, {"Saros", false}});
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dbgrids/UxDBGrid.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Variant.h"

namespace dbgrids {

class EUXLDbGridException : public EUXLException {
public:
    using EUXLException::EUXLException;
};

struct TSortField {
    std::string Name;
    bool Order = true;  // ascending
    bool operator==(const TSortField& o) const { return Name == o.Name && Order == o.Order; }
};
using TSortFields = std::vector<TSortField>;

enum class TSortWith { swIndex, swFields, swUserFunc, swWhere };

class TUxDBSortGrid;
using TIndexNotFoundEvent = std::function<void(TUxDBSortGrid* sender, const TSortFields& fields,
                                               const std::string& indexFieldNames, const std::string& descFields,
                                               bool& retry)>;
using TUserSortEvent =
    std::function<void(TUxDBSortGrid* sender, TSortFields& fields, const std::string& sortString, bool& sortOK)>;
using TCheckIfValidSortFieldEvent = std::function<bool(TUxDBSortGrid* sender, db::TField* field)>;
using TRestoreGridPosEvent = std::function<void(TUxDBSortGrid* sender, const db::TBookmark& bookmark, int rowPos)>;
using TGetSortFieldNameEvent = std::function<void(TUxDBSortGrid* sender, std::string& fieldName)>;

class TUxDBSortGrid : public TUxDBGrid {
public:
    explicit TUxDBSortGrid(rtl::TComponent* owner);
    std::string ClassName() const override { return "TUxDBSortGrid"; }

    const TSortFields& SortedFields() const { return FSortedFields; }
    TSortWith SortWith() const { return FSortWith; }
    void SetSortWith(TSortWith v) { FSortWith = v; }
    bool SortOK() const { return FSortOK; }
    bool MultiColSort() const { return FMultiColSort; }
    void SetMultiColSort(bool value);
    rtl::TStringList* SearchFields() { return &FSearchFields; }

    // Raises EUXLDbGridException "Cannot sort. ..." (see the Part's texts).
    void Sort(TSortFields fieldsToSort);
    void SaveGridPosition();
    void RestoreGridPosition();
    bool Search(rtl::Variant& valueToSearch, int& resultCol, db::TField*& resultField, bool caseSensitive,
                bool wholeFieldOnly, bool focus);
    bool SearchNext(int& resultCol, db::TField*& resultField, bool caseSensitive, bool wholeFieldOnly, bool focus);

private:
    bool FinishSearch(bool found, int resultCol, bool focus);

public:
    bool IsSortedField(const std::string& fieldName) const override;

    TIndexNotFoundEvent OnIndexNotFound;
    TUserSortEvent OnUserSort;
    TCheckIfValidSortFieldEvent OnCheckIfValidSortField;
    TRestoreGridPosEvent OnRestoreGridPosition;
    TGetSortFieldNameEvent OnGetSortFieldName;
    rtl::TNotifyEvent OnAfterSort;
    // Whether Shift or Ctrl is held (the keyboard state unless a test
    // supplies another answer).
    std::function<bool()> ExtendKeyHeld;

protected:
    void DoTitleClick(int aCol, db::TField* field) override;
    virtual void GetSortFieldName(std::string& fieldName);
    bool FindSortIndex(TSortFields& fields, const std::string& sortString, const std::string& descFields);
    bool FindValue(int& resultCol, db::TField*& resultField, bool caseSensitive, bool wholeFieldOnly, bool fromCurrent);

private:
    TSortFields FSortedFields;
    TSortWith FSortWith = TSortWith::swIndex;
    bool FSortOK = true;
    bool FMultiColSort = true;
    db::TBookmark FSavedBookmark;
    int FSavedRowPos = 0;
    rtl::Variant FValueToSearch;
    rtl::TStringList FSearchFields;
};

} // namespace dbgrids
