// The report engine's own XML tree: templates, prepared pages, variable
// files, style sheets and the picture cache are all kept as TqlrXMLItem
// trees owned by a TqlrXMLDocument, written and read by TqlrXMLWriter and
// TqlrXMLReader, which are each other's only partner.
//
// The report/ folder is the report model and engine; this unit is its
// foundation.  It builds on the script interpreter (script/, which runs
// every expression of a report and whose messages qlrRes replaces) and on
// platform/ (rtl streams, files, code pages, Variants and class
// descriptors; gui bitmaps, image lists, menus and message boxes), with
// zlib for the packed image resources.  It owns the report/ -> reportout/
// seam: the printers, paper table, progress window, preview and print,
// password and inherit dialogs the engine calls are one interface that
// report/ declares (with the report object, still to come) and reportout/
// registers; until it does, a default over gui::TPrinter serves.
//
// The rule a caller must know: an element's attributes are one unparsed
// text (Text), searched by Prop; every attribute value goes through
// StrToXML on writing and XMLToStr on reading.  Element content (Value) is
// written but never read back.  An Unloadable item may have its children
// out of memory -- on the stream the document was partially loaded from,
// or in the document's swap file -- and is brought back by LoadItem.
//
// Example: build, save and read back.
//
//   qlr::TqlrXMLDocument doc;
//   doc.Root()->SetName("report");
//   qlr::TqlrXMLItem* page = doc.Root()->Add();
//   page->SetName("page");
//   page->SetProp("Name", "Page1");          // Text: Name="Page1"
//   rtl::TMemoryStream ms;
//   doc.SaveToStream(ms);                      // <?xml ...?><report><page Name="Page1"/></report>
//   ms.SetPosition(0);
//   qlr::TqlrXMLDocument back;
//   back.LoadFromStream(ms);
//   back.Root()->Items(0)->Prop("name");       // "Page1": names match ignoring case
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"

namespace qlr {

// Raised for malformed input with the message "Invalid file format".
class TqlrInvalidXMLException : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// One element.  An item owns its children; deleting an item clears it and
// takes it out of its parent.
class TqlrXMLItem {
public:
    TqlrXMLItem() = default;
    ~TqlrXMLItem();
    TqlrXMLItem(const TqlrXMLItem&) = delete;
    TqlrXMLItem& operator=(const TqlrXMLItem&) = delete;

    // A new child appended at the end.
    TqlrXMLItem* Add();
    // Appends an existing item, then takes it out of its former parent
    // (first occurrence), so moving within one parent moves to the end.
    void AddItem(TqlrXMLItem* item);
    // As AddItem, then moves the item to position index.
    void InsertItem(int index, TqlrXMLItem* item);
    // Frees every child; an Unloadable item becomes not Loaded.
    void Clear();
    // Index of the first child named name (case ignored), -1 when none.
    int Find(std::string_view name) const;
    // That child, or a new child of that name appended.
    TqlrXMLItem* FindItem(std::string_view name);
    int IndexOf(const TqlrXMLItem* item) const;
    TqlrXMLItem* Root();
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrXMLItem* Items(int index) const;

    // Attribute access by name, ignoring case.  Prop returns the decoded
    // value, empty when the attribute is absent.
    std::string Prop(std::string_view name) const;
    // Replaces the value in place when the attribute exists, else appends
    // the pair (one blank before it unless it starts Text or follows one).
    void SetProp(std::string_view name, std::string_view value);
    bool PropExists(std::string_view name) const;
    // Deletes the pair and the one character after it.
    void DeleteProp(std::string_view name);

    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }
    // The stream position where reading of this item's start tag begins.
    // Kept as 40 bits (an 8-bit high part and a 32-bit low part).
    int64_t Offset() const { return (static_cast<int64_t>(FHiOffset) << 32) | FLoOffset; }
    void SetOffset(int64_t offset);
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool value) { FLoaded = value; }
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    TqlrXMLItem* Parent() const { return FParent; }
    // The attribute text: name="value" pairs separated by single blanks.
    const std::string& Text() const { return FText; }
    void SetText(std::string text) { FText = std::move(text); }
    bool Unloadable() const { return FUnloadable; }
    void SetUnloadable(bool value) { FUnloadable = value; }
    const std::string& Value() const { return FValue; }
    void SetValue(std::string value) { FValue = std::move(value); }

private:
    friend class TqlrXMLReader;
    // Position of the pair of attribute name in FText (0-based), or npos.
    std::size_t FindProp(std::string_view name) const;
    void RemoveChild(TqlrXMLItem* item);

    void* FData = nullptr;
    uint8_t FHiOffset = 0;
    uint32_t FLoOffset = 0;
    std::vector<TqlrXMLItem*> FItems;
    bool FLoaded = true;
    bool FModified = false;
    std::string FName;
    TqlrXMLItem* FParent = nullptr;
    std::string FText;
    bool FUnloadable = false;
    std::string FValue;
};

// Reads tags from a stream through a 4096-byte buffer.  Created at the
// stream's current position; on destruction the stream is left at the
// reader's Position, just behind the last tag read.
class TqlrXMLReader {
public:
    explicit TqlrXMLReader(rtl::TStream& stream);
    ~TqlrXMLReader();

    // Reads the declaration; its name must begin with "?xml".
    void ReadHeader();
    // Reads item with its descendants (see the .cpp for the marker rules).
    void ReadRootItem(TqlrXMLItem* item, bool readChildren);
    [[noreturn]] void RaiseException();

    int64_t Position() const { return FBytes.Position(); }
    void SetPosition(int64_t position) { FBytes.SetPosition(position); }
    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool value) { FOldFormat = value; }

private:
    bool ReadItem(TqlrXMLItem* item, bool readChildren);
    // One tag into name and text; both empty at the end of the stream.
    void ReadTag(std::string& name, std::string& text);
    bool NextByte(char& c) { return FBytes.Next(c); }

    // Puts the stream back right after the last byte consumed.
    rtl::TByteReader FBytes;
    bool FOldFormat = false;
    std::string FLastName;
    std::string FTag;
};

// Writes the header and items, collecting output in a buffer that goes to
// the stream whenever it passes 4096 bytes and at the end of WriteRootItem.
class TqlrXMLWriter {
public:
    explicit TqlrXMLWriter(rtl::TStream& stream);

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool value) { FAutoIndent = value; }
    // The stream unloaded items are read back from while writing.
    rtl::TStream* TempStream() const { return FTempStream; }
    void SetTempStream(rtl::TStream* stream) { FTempStream = stream; }
    // TempStream's text is in the old single-byte format.
    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool value) { FOldFormat = value; }

    void WriteHeader();
    void WriteRootItem(TqlrXMLItem* rootItem);

private:
    void WriteItem(TqlrXMLItem* item, int level);
    void WriteLn(std::string_view s);
    void Flush();

    bool FAutoIndent = false;
    bool FOldFormat = false;
    std::string FBuffer;
    rtl::TStream& FStream;
    // Where the next flush goes: reading back an unloaded item may move the
    // stream when it is also the temporary stream.
    int64_t FOutPosition = 0;
    rtl::TStream* FTempStream = nullptr;
};

// A tree with its root, and the stream its deferred items live on.
class TqlrXMLDocument {
public:
    TqlrXMLDocument();
    ~TqlrXMLDocument();
    TqlrXMLDocument(const TqlrXMLDocument&) = delete;
    TqlrXMLDocument& operator=(const TqlrXMLDocument&) = delete;

    // Clears the root and drops the swap file or remembered stream.
    void Clear();
    // Reads everything; the stream stays the caller's.
    void LoadFromStream(rtl::TStream& stream);
    // Partial loading: the children of items marked unloadable stay on the
    // stream, which the document owns from now on.
    void LoadFromStream(std::unique_ptr<rtl::TStream> stream);
    void SaveToStream(rtl::TStream& stream);
    // Opens the file for reading and loads it partially.
    void LoadFromFile(const std::string& fileName);
    // Saves through fileName + ".tmp", replaces the file and reloads it.
    void SaveToFile(const std::string& fileName);
    // Brings back the children of an unloaded item.
    void LoadItem(TqlrXMLItem* item);
    // Moves the children of a loaded unloadable item into the swap file.
    void UnloadItem(TqlrXMLItem* item);

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool value) { FAutoIndent = value; }
    TqlrXMLItem* Root() const { return FRoot.get(); }
    // Folder for the swap file; empty means the system temporary folder.
    const std::string& TempDir() const { return FTempDir; }
    void SetTempDir(std::string dir) { FTempDir = std::move(dir); }
    // The last document read had the old single-byte header.
    bool OldVersion() const { return FOldVersion; }
    void SetOldVersion(bool value) { FOldVersion = value; }
    // The swap file's name, empty while there is none.
    const std::string& TempFileName() const { return FTempFile; }

private:
    void CreateTempFile();
    void DeleteTempFile();

    bool FAutoIndent = false;
    std::unique_ptr<TqlrXMLItem> FRoot;
    std::string FTempDir;
    std::string FTempFile;
    // The swap stream, or the stream remembered by partial loading.
    std::unique_ptr<rtl::TStream> FTempStream;
    bool FTempFileCreated = false;
    bool FOldVersion = false;
};

// The six characters CR, LF, '"', '&', '<', '>' as decimal character
// references; an "&quot;" already in the text becomes "&#34;".
std::string StrToXML(std::string_view s);
// Decimal character references and &quot; &amp; &lt; &gt; decoded; other
// references stay as text.  A decimal reference that is no number raises
// EConvertError.
std::string XMLToStr(std::string_view s);
// The attribute text of a Variant: integers in decimal, floats in general
// format, dates as short date text, strings escaped, Booleans "1"/"0",
// anything else empty.
std::string ValueToXML(const rtl::Variant& value);

} // namespace qlr
