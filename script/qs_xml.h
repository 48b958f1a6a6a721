// The script interpreter's own small XML dialect: grammars and intermediate
// code are trees of elements that carry a name, a raw attribute text and
// children, and nothing else (no text content, no namespaces, no DTD).
//
// The attribute text is kept exactly as it stands in the file (name="value"
// pairs separated by blanks, values escaped); Prop reads and writes single
// attributes in it.  Values escape only line feed, carriage return, the
// double quote and the angle brackets, as "&#NN;"; a lone ampersand stays
// as it is, which is why the general XML library is not used to read these
// documents.  All text is UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace qs {

// Escapes LF, CR, '"', '<' and '>' as "&#NN;" and "&quot;" as "&#34;".
std::string EscapeAttribute(std::string_view s);
// Resolves "&#NN;" and "&quot;"; other ampersands stay.
std::string UnescapeAttribute(std::string_view s);

class TqsXMLItem {
public:
    TqsXMLItem() = default;
    TqsXMLItem(const TqsXMLItem&) = delete;
    TqsXMLItem& operator=(const TqsXMLItem&) = delete;
    // Frees the subtree and leaves the parent's list.
    ~TqsXMLItem();

    // A new empty child appended at the end.
    TqsXMLItem* Add();
    // Appends an existing item, taking it out of its previous parent.
    void AddItem(TqsXMLItem* item);
    void InsertItem(int index, TqsXMLItem* item);
    // Index of the first child of that name (case ignored), or -1.
    int Find(std::string_view name) const;
    // That child; a missing one is appended (never nullptr).
    TqsXMLItem* FindItem(std::string_view name);
    TqsXMLItem* Root();
    bool PropExists(std::string_view name) const;
    int IndexOf(const TqsXMLItem* item) const;
    // Deep copy of name, attribute text, Data and subtree (nullptr copies
    // nothing after clearing).
    void Assign(const TqsXMLItem* item);
    void Clear();

    int Count() const { return static_cast<int>(FItems.size()); }
    TqsXMLItem* Items(int index) const { return FItems[static_cast<size_t>(index)]; }
    const std::vector<TqsXMLItem*>& Children() const { return FItems; }
    // Attribute value by name (case ignored), unescaped; "" when absent.
    std::string Prop(std::string_view name) const;
    void SetProp(std::string_view name, std::string_view value);

    const std::string& Name() const { return FName; }
    void SetName(std::string v) { FName = std::move(v); }
    const std::string& Text() const { return FText; }
    void SetText(std::string v) { FText = std::move(v); }
    void* Data() const { return FData; }
    void SetData(void* d) { FData = d; }
    TqsXMLItem* Parent() const { return FParent; }
    // Detaches from the old parent's list and stores the reference only.
    void SetParent(TqsXMLItem* p);

private:
    // Start of the attribute's name in FText and end past its closing
    // quote; npos when absent.
    size_t Locate(std::string_view name, size_t& end) const;
    void Detach();

    void* FData = nullptr;
    std::vector<TqsXMLItem*> FItems;
    std::string FName;
    TqsXMLItem* FParent = nullptr;
    std::string FText;
};

// Raised for every format error: "Invalid file format".
class EqsXMLError : public rtl::Exception {
public:
    using Exception::Exception;
};

class TqsXMLReader {
public:
    explicit TqsXMLReader(rtl::TStream& stream);
    // Puts the stream back right after the last byte consumed.
    ~TqsXMLReader();
    void ReadHeader();
    void ReadRootItem(TqsXMLItem* item);
    [[noreturn]] void RaiseException();

private:
    bool ReadByte(char& c) { return FBytes.Next(c); }
    // Reads the next tag into name and attribute text; false at the end.
    void ReadTag(std::string& name, std::string& text);
    void ReadItem(TqsXMLItem* item, int depth);
    void ReadContent(TqsXMLItem* item, int depth);
    static bool SplitEmpty(std::string& name, std::string& text);

    rtl::TByteReader FBytes;
};

class TqsXMLWriter {
public:
    explicit TqsXMLWriter(rtl::TStream& stream);
    ~TqsXMLWriter();
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool v) { FAutoIndent = v; }
    void WriteHeader();
    void WriteRootItem(TqsXMLItem* item);
    void Flush();

private:
    void WriteLn(std::string_view s, int level);
    void WriteItem(TqsXMLItem* item, int level);

    bool FAutoIndent = false;
    std::string FBuffer;
    rtl::TStream& FStream;
};

class TqsXMLDocument {
public:
    TqsXMLDocument();
    ~TqsXMLDocument();
    TqsXMLDocument(const TqsXMLDocument&) = delete;
    TqsXMLDocument& operator=(const TqsXMLDocument&) = delete;

    // Clears the root's children, keeping its name and attributes.
    void Clear();
    void LoadFromStream(rtl::TStream& stream);
    void SaveToStream(rtl::TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    // Convenience for in-memory documents.
    void LoadFromString(std::string_view text);
    std::string SaveToString();

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool v) { FAutoIndent = v; }
    TqsXMLItem* Root() const { return FRoot; }

private:
    bool FAutoIndent = false;
    TqsXMLItem* FRoot;
};

} // namespace qs
