// Report variables: the named values report expressions refer to, in one
// ordered list grouped into categories (a variable whose name begins with a
// blank heads a category), with a small XML file of their own; and
// TqlrArray, the same items keyed by any value's text.
//
// The rule a caller must know: names compare ignoring case, and SetVariable
// of a new name appends it at the very end, so it falls into the last
// category; AddVariable puts it into a named category.
//
// Example:
//   qlr::TqlrVariables vars;
//   vars.SetVariable("Title", rtl::Variant("'Solar eclipses';"));
//   vars.GetVariable("TITLE");          // the same variable
//   vars.SaveToFile("report.vars");      // <variables><item Name="Title" .../>
#pragma once

#include <string>

#include "platform/rtl/Collections.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"
#include "report/qlrXML.h"

namespace qlr {

class TqlrVariable : public rtl::TCollectionItem {
    RTL_CLASS(TqlrVariable, rtl::TCollectionItem)
public:
    explicit TqlrVariable(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    const rtl::Variant& Value() const { return FValue; }
    void SetValue(const rtl::Variant& v) { FValue = v; }
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FName;
    rtl::Variant FValue = rtl::Variant::Null();
};

class TqlrVariables : public rtl::TCollection {
    RTL_CLASS(TqlrVariables, rtl::TCollection)
public:
    TqlrVariables();
    TqlrVariable* Add() { return static_cast<TqlrVariable*>(rtl::TCollection::Add()); }
    TqlrVariable* Insert(int index) { return static_cast<TqlrVariable*>(rtl::TCollection::Insert(index)); }
    TqlrVariable* GetItem(int index) const { return static_cast<TqlrVariable*>(Items(index)); }

    int IndexOf(const std::string& name) const;
    // Null when absent.
    rtl::Variant GetVariable(const std::string& name) const;
    void SetVariable(const std::string& name, const rtl::Variant& value);
    // Into an existing category only (nothing happens otherwise).
    void AddVariable(const std::string& category, const std::string& name, const rtl::Variant& value);
    void DeleteVariable(const std::string& name);
    void DeleteCategory(const std::string& name);
    void GetCategoriesList(rtl::TStringList& list, bool clearList = true) const;
    // An empty category lists the variables before the first header.
    void GetVariablesList(const std::string& category, rtl::TStringList& list) const;

    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void LoadFromXMLItem(TqlrXMLItem* item, bool oldXMLFormat = false);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream);
    void SaveToXMLItem(TqlrXMLItem* item);

private:
    int CategoryIndex(const std::string& category) const;
};

class TqlrArray : public rtl::TCollection {
    RTL_CLASS(TqlrArray, rtl::TCollection)
public:
    TqlrArray();
    // Keys compare as text ignoring case: 1 and "1" are the same key.
    int IndexOf(const rtl::Variant& name) const;
    rtl::Variant GetVariable(const rtl::Variant& name) const;
    void SetVariable(const rtl::Variant& name, const rtl::Variant& value);
    TqlrVariable* GetItem(int index) const { return static_cast<TqlrVariable*>(Items(index)); }
};

} // namespace qlr
