// The clipboard: text, pictures and data in named formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"

namespace gui {

using TClipboardFormat = uint32_t;
// CF_ENHMETAFILE carries the bytes of an enhanced metafile ("image/emf").
enum : TClipboardFormat { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14, CF_HDROP = 15 };

// A format of the program's own (or a known one such as "Rich Text Format"),
// numbered from 0xC000; the same name gives the same number.
TClipboardFormat RegisterClipboardFormat(const std::string& name);
std::string ClipboardFormatName(TClipboardFormat format);

// Raised when the clipboard cannot be opened (another program holds it).
class EClipboardException : public rtl::Exception {
public:
    using Exception::Exception;
};

class TClipboard {
public:
    // Open / Close bracket several Set calls into one clipboard content.
    // Open raises EClipboardException while another program holds the
    // clipboard; so does a Set outside an Open bracket.
    void Open();
    void Close();
    // Ends an Open bracket without publishing what was set in it (a copy
    // that failed half-way leaves the clipboard as it was).
    void Abandon();
    void Clear();
    bool HasFormat(TClipboardFormat format) const;
    std::string AsText() const;
    void SetAsText(const std::string& text);
    // Bytes of a named format (empty when absent).  "HTML Format" is offered
    // to other programs as text/html from its "<!DOCTYPE" on; the program
    // reads back the whole description.
    std::vector<uint8_t> GetData(TClipboardFormat format) const;
    void SetData(TClipboardFormat format, const std::vector<uint8_t>& data);
    // A picture on the clipboard, into bitmap; false when there is none.
    bool GetBitmap(TBitmap& bitmap) const;
    void SetBitmap(const TBitmap& bitmap);

private:
    void Commit();
    int FOpenCount = 0;
    bool FPending = false;
};

// The process's clipboard.
TClipboard* Clipboard();

// Tests: makes the clipboard look held open by another program (true) or
// free again (false).
void SetClipboardHeldByOtherProgram(bool held);

} // namespace gui
