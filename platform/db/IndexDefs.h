// Index definitions of a data set: a name, the fields it orders by
// (names separated by ";"), the fields among them ordered descending, and
// options.  A data set publishes them as "IndexDefs" and picks one by
// "IndexName"; choosing one orders the data set by its fields.
//
//   ds.IndexDefs()->Add("ByDate", "DT;CatNo", "DT");   // DT descending
//   ds.SetIndexName("ByDate");
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Collections.h"
#include "platform/rtl/Set.h"

namespace db {

// The field names of a ";"-separated list, trimmed, empty entries dropped.
std::vector<std::string> SplitFieldNames(const std::string& list);

enum class TIndexOption { ixPrimary, ixUnique, ixDescending, ixCaseInsensitive };
RTL_ENUM(TIndexOption, "ixPrimary", "ixUnique", "ixDescending", "ixCaseInsensitive")
using TIndexOptions = rtl::Set<TIndexOption>;
RTL_SET(TIndexOptions, TIndexOption)

class TIndexDef : public rtl::TCollectionItem {
    RTL_CLASS(TIndexDef, rtl::TCollectionItem)
public:
    explicit TIndexDef(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    const std::string& Fields() const { return FFields; }
    void SetFields(const std::string& value) { FFields = value; }
    // Fields ordered descending (all of them with ixDescending).
    const std::string& DescFields() const { return FDescFields; }
    void SetDescFields(const std::string& value) { FDescFields = value; }
    TIndexOptions Options() const { return FOptions; }
    void SetOptions(TIndexOptions value) { FOptions = value; }

    // The order as a sort text: "[A] ASC,[B] DESC".
    std::string SortText() const;

    std::string DisplayName() const override { return FName.empty() ? "TIndexDef" : FName; }
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FName, FFields, FDescFields;
    TIndexOptions FOptions;
};

class TIndexDefs : public rtl::TOwnedCollection {
    RTL_CLASS(TIndexDefs, rtl::TOwnedCollection)
public:
    explicit TIndexDefs(rtl::TPersistent* owner);

    TIndexDef* Items(int index) const { return static_cast<TIndexDef*>(TCollection::Items(index)); }
    TIndexDef* Add(const std::string& name, const std::string& fields,
                   const std::string& descFields = {}, TIndexOptions options = {});
    // The definition of that name (ASCII case ignored), or nullptr.
    TIndexDef* Find(const std::string& name) const;
};

} // namespace db
