// Wide text in the report engine: TqlrWideStrings, the list of UTF-16
// lines that text objects, the text layout, the string resources and the
// PDF export keep, and the routines that turn single-byte text of a font
// character set into wide text and back, through the code-page facility of
// platform/rtl (the one charset -> code-page table of the tree).
//
// The rule a caller must know: Insert(Index, S) on an existing index
// REPLACES the string there (the object stays); only Insert(Count, S)
// appends.  Reading an item or object outside the list gives "" or 0.
// Single-byte text here is a byte string in a code page, not UTF-8.
//
// Example:
//
//   qlr::TqlrWideStrings lines;
//   lines.SetText(u"one\r\ntwo\nthree");   // three items
//   lines.Insert(0, u"ONE");               // still three: item 0 replaced
//   std::string cp = qlr::WideTextToAnsi(lines.Strings(0), 204, 0);  // Windows-1251 bytes
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"

namespace qlr {

class TqlrWideStrings {
public:
    TqlrWideStrings() = default;
    TqlrWideStrings(const TqlrWideStrings&) = delete;
    TqlrWideStrings& operator=(const TqlrWideStrings&) = delete;

    void Clear() { FItems.clear(); }
    int Add(std::u16string_view s);
    int AddObject(std::u16string_view s, intptr_t object);
    void AddStrings(const TqlrWideStrings& strings);
    // 0 <= index < Count: replaces the string; index = Count: appends;
    // otherwise raises Exception "Wide String Out of Bounds".
    void Insert(int index, std::u16string_view s);
    // An invalid index raises EListError.
    void Delete(int index);
    int IndexOf(std::u16string_view s) const;
    int Count() const { return static_cast<int>(FItems.size()); }

    // "" / 0 outside the list; writing an object there does nothing.
    std::u16string Strings(int index) const;
    void SetStrings(int index, std::u16string_view s) { Insert(index, s); }
    intptr_t Objects(int index) const;
    void SetObjects(int index, intptr_t object);

    // Every string followed by CR LF, the last one included.
    std::u16string Text() const;
    // Splits at CR LF, CR, LF and U+2028; the text ends at the first NUL.
    void SetText(std::u16string_view text);

    // From another list, or from a TStringList (UTF-8 lines, objects kept).
    void Assign(const TqlrWideStrings& source);
    void Assign(const rtl::TStringList& source);
    // Into a TStringList: cleared, then every line as UTF-8 with its object.
    void AssignTo(rtl::TStringList& dest) const;

    void LoadFromFile(const std::string& fileName);
    // UTF-16 LE after a FEFF mark, otherwise single-byte text of the
    // system code page.
    void LoadFromStream(rtl::TStream& stream);
    // All remaining bytes as UTF-16 LE without a mark.
    void LoadFromWStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName) const;
    // The text as UTF-16 LE, without a byte-order mark.
    void SaveToStream(rtl::TStream& stream) const;

private:
    struct Item {
        std::u16string S;
        intptr_t Object = 0;
    };
    std::vector<Item> FItems;
};

// The code page of a font character set: 1 (default) gives the system
// page, 77 (Mac) gives 2, 255 (OEM) gives 1; the sets with a page of their
// own are translated; any other raises EOSError.
uint32_t CodePageOfCharset(uint8_t charset);
// Single-byte text to wide and back; code page 0 means the page of the
// charset.  The pseudo pages 1 (OEM) and 2 (Mac, converted as the system
// page here) are resolved first.
std::u16string AnsiTextToWide(std::string_view s, uint8_t charset, uint32_t codePage);
std::string WideTextToAnsi(std::u16string_view s, uint8_t charset, uint32_t codePage);
// The locale identifier of a charset; others give the user's default
// locale (1024).
uint32_t LocaleOfCharset(uint8_t charset);

enum : int { rfReplaceAll = 1, rfIgnoreCase = 2 };
// S with OldPattern replaced by NewPattern: every occurrence with
// rfReplaceAll, else the first; rfIgnoreCase ignores case.
std::string AnsiStringReplace(std::string_view s, std::string_view oldPattern,
                              std::string_view newPattern, int flags);
// Only the letters A to Z made lower case.
std::string AnsiLowerCaseASCII(std::string_view s);
std::string AnsiUpperText(std::string_view s);
// 1-based position of subStr in s, 0 when absent or subStr is empty.
int AnsiTextPos(std::string_view subStr, std::string_view s);

} // namespace qlr
