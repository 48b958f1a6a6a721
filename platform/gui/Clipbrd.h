// The clipboard: text, pictures and data in named formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

namespace gui {

using TClipboardFormat = uint32_t;
// CF_ENHMETAFILE carries the bytes of an enhanced metafile ("image/emf").
enum : TClipboardFormat { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14, CF_HDROP = 15 };

// A format of the program's own (or a known one such as "Rich Text Format"),
// numbered from 0xC000; the same name gives the same number.
TClipboardFormat RegisterClipboardFormat(const std::string& name);
std::string ClipboardFormatName(TClipboardFormat format);

class TClipboard {
public:
    // Open / Close bracket several Set calls into one clipboard content.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(TClipboardFormat format) const;
    std::string AsText() const;
    void SetAsText(const std::string& text);
    // Bytes of a named format (empty when absent).
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

} // namespace gui
