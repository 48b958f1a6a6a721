#include "platform/db/IndexDefs.h"

#include "platform/rtl/Strings.h"

namespace db {

std::vector<std::string> SplitFieldNames(const std::string& list)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : list + ";") {
        if (c == ';') {
            if (!rtl::Trim(cur).empty()) out.push_back(rtl::Trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

RTL_PUBLISHED(TIndexDef)
{
    c.Property("Name", &TIndexDef::Name, &TIndexDef::SetName);
    c.Property("Fields", &TIndexDef::Fields, &TIndexDef::SetFields);
    c.Property("DescFields", &TIndexDef::DescFields, &TIndexDef::SetDescFields);
    c.Property("Options", &TIndexDef::Options, &TIndexDef::SetOptions);
}

std::string TIndexDef::SortText() const
{
    const bool allDesc = FOptions.Contains(TIndexOption::ixDescending);
    std::vector<std::string> desc = SplitFieldNames(FDescFields);
    std::string out;
    for (const std::string& name : SplitFieldNames(FFields)) {
        bool d = allDesc;
        for (const std::string& x : desc)
            if (rtl::SameText(x, name)) d = true;
        if (!out.empty()) out += ",";
        out += "[" + name + "] " + (d ? "DESC" : "ASC");
    }
    return out;
}

void TIndexDef::Assign(const rtl::TPersistent* source)
{
    if (auto* d = dynamic_cast<const TIndexDef*>(source)) {
        FName = d->FName;
        FFields = d->FFields;
        FDescFields = d->FDescFields;
        FOptions = d->FOptions;
        return;
    }
    rtl::TCollectionItem::Assign(source);
}

RTL_PUBLISHED(TIndexDefs) {}

TIndexDefs::TIndexDefs(rtl::TPersistent* owner)
    : rtl::TOwnedCollection(owner, TIndexDef::StaticClassInfo())
{
}

TIndexDef* TIndexDefs::Add(const std::string& name, const std::string& fields,
                           const std::string& descFields, TIndexOptions options)
{
    auto* d = static_cast<TIndexDef*>(TCollection::Add());
    d->SetName(name);
    d->SetFields(fields);
    d->SetDescFields(descFields);
    d->SetOptions(options);
    return d;
}

TIndexDef* TIndexDefs::Find(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::SameText(Items(i)->Name(), name)) return Items(i);
    return nullptr;
}

} // namespace db
