// TList (untyped pointers) and TStringList (texts with objects, sorting,
// name=value pairs, delimited texts, files).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"

namespace rtl {

class TStream;

// A list of pointers it does not own.  Index errors raise EListError
// "List index out of bounds (<index>)".
class TList : public TObject {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void SetCount(int count);
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);       // index it had, or -1
    int IndexOf(void* item) const;
    void* Extract(void* item);    // removes without freeing; nullptr if absent
    void Exchange(int a, int b);
    void Move(int from, int to);
    void Clear() { FItems.clear(); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    // compare returns < 0, 0, > 0.
    void Sort(const std::function<int(void*, void*)>& compare);
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void SetCapacity(int capacity) { FItems.reserve(capacity); }

private:
    void Check(int index) const;
    std::vector<void*> FItems;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TPersistent {
public:
    TStringList() = default;
    explicit TStringList(std::initializer_list<std::string> items);

    int Count() const { return static_cast<int>(FItems.size()); }
    // Index errors raise EStringListError "List index out of bounds (<i>)".
    const std::string& Strings(int index) const;
    void SetStrings(int index, const std::string& s);
    const std::string& operator[](int index) const { return Strings(index); }
    TObject* Objects(int index) const;
    void SetObjects(int index, TObject* obj);

    // In a sorted list Add puts the text at its place and obeys Duplicates
    // (dupError raises EStringListError "String list does not allow
    // duplicates"; dupIgnore returns the existing index).
    int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* obj);
    void AddStrings(const TStringList& other);
    // Insert into a sorted list raises EStringListError
    // "Operation not allowed on sorted list".
    void Insert(int index, const std::string& s);
    void InsertObject(int index, const std::string& s, TObject* obj);
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    void Move(int from, int to);
    int IndexOf(const std::string& s) const;
    int IndexOfObject(TObject* obj) const;
    // Binary search of a sorted list: true when found; index is where s is
    // or would go.
    bool Find(const std::string& s, int& index) const;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates d) { FDuplicates = d; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);
    void Sort();
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    // name=value pairs.
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char c) { FNameValueSeparator = c; }
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    // Setting "" removes the pair; an absent name is added.
    void SetValues(const std::string& name, const std::string& value);
    int IndexOfName(const std::string& name) const;

    // Delimited texts: items separated by Delimiter; an item holding the
    // delimiter, the quote or (unless StrictDelimiter) a blank is quoted.
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char c) { FDelimiter = c; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char c) { FQuoteChar = c; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool v) { FStrictDelimiter = v; }
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    // CommaText: DelimitedText with "," and '"' and blanks as separators.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // Lines joined by LineBreak ("\n"), the last one terminated too.
    std::string Text() const;
    // Splits at "\n", "\r\n" or "\r".
    void SetText(std::string_view text);
    const std::string& LineBreak() const { return FLineBreak; }
    void SetLineBreak(std::string lb) { FLineBreak = std::move(lb); }

    // Files are UTF-8; a leading byte-order mark is skipped on loading.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    void Assign(const TPersistent* source) override;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    std::vector<std::string> ToVector() const;

protected:
    int CompareStrings(const std::string& a, const std::string& b) const;
    void Changed();
    void Changing();

private:
    struct Item {
        std::string s;
        TObject* obj = nullptr;
    };
    void CheckIndex(int index) const;
    void SortItems();
    struct UpdateScope;
    std::string JoinDelimited(char delimiter, char quoteChar, bool strict) const;
    void SplitDelimited(std::string_view text, char delimiter, char quoteChar, bool strict);

    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    std::string FLineBreak = "\n";
    int FUpdateCount = 0;
};

using TStrings = TStringList;

} // namespace rtl
