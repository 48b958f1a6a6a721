// TWideStrings, the wide-string list as report scripts see it: Add,
// AddObject, Clear, Delete, IndexOf, Insert, the file and stream
// operations, Count, Objects, Strings and Text over a list of UTF-16 lines
// (TqlrWideStrings).  TWideStringList keeps its own lines; a text object's
// Lines are a TWideStrings over the object's text, so that a script's
// Memo1.Lines.Add('x') changes what the memo prints.
//
// The rule a caller must know: a descendant supplies the lines (List) and
// hears of every change (Changed); strings cross the script boundary as
// UTF-8.  Insert on an existing index replaces that line, as
// TqlrWideStrings does.
//
// Example:
//   qlr::TWideStringList list;
//   list.Add("one");
//   list.SetText("a\r\nb");     // two lines
//   memo->LinesObject()->Assign(&list);
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"
#include "report/qlrUnicodeUtils.h"

namespace qlr {

class TWideStrings : public rtl::TPersistent {
    RTL_CLASS(TWideStrings, rtl::TPersistent)
public:
    int Add(const std::string& s);
    int AddObject(const std::string& s, rtl::TObject* object);
    void Clear();
    void Delete(int index);
    int IndexOf(const std::string& s) const;
    void Insert(int index, const std::string& s);
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(rtl::TStream& stream) const;

    int Count() const;
    rtl::TObject* Objects(int index) const;
    void SetObjects(int index, rtl::TObject* object);
    std::string Strings(int index) const;
    void SetStrings(int index, const std::string& s);
    // Every line followed by CR LF; setting splits at CR LF, CR, LF.
    std::string Text() const;
    void SetText(const std::string& text);

    // From another TWideStrings or a TStringList (objects kept).
    void Assign(const rtl::TPersistent* source) override;

protected:
    // The lines the list works on.
    virtual TqlrWideStrings& List() const = 0;
    // After every change of the lines.
    virtual void Changed() {}
};

class TWideStringList : public TWideStrings {
    RTL_CLASS(TWideStringList, TWideStrings)
public:
    TWideStringList() = default;

protected:
    TqlrWideStrings& List() const override { return FList; }

private:
    mutable TqlrWideStrings FList;
};

} // namespace qlr
