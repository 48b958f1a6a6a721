// The report engine's named user-interface texts: captions, messages and
// descriptions found by name through TqlrResources::Get, filled from XML
// string tables (the start-up table built into the program, and language
// files "*.frc" beside it), plus the list of those language files and the
// help file's name.
//
// The rule a caller must know: Get never fails -- an unknown name yields
// the name itself -- and one leading "!" of the text is always removed.
// Loading any string table also copies its script-message texts over the
// script interpreter's messages (qs_iconst), so the report engine and the
// scripts it runs speak with one voice.
//
// Example:
//
//   qlr::TqlrResources& res = qlr::GetResources();   // start-up table loaded
//   res.Get("mbError");          // "Error"
//   res.Get("207");              // "Other" (stored as "!Other")
//   res.Get("obDMPText");        // "obDMPText": not in the table
//   res.LoadFromFile(rtl::ExecutableDir() + "German.frc");   // replaces texts
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Streams.h"
#include "report/qlrUnicodeUtils.h"

namespace gui {
class TBitmap;
class TImageList;
} // namespace gui

namespace qlr {

class TqlrResources {
public:
    TqlrResources();
    ~TqlrResources();
    TqlrResources(const TqlrResources&) = delete;
    TqlrResources& operator=(const TqlrResources&) = delete;

    // The text of a name (the name itself when unknown), one leading "!"
    // removed.
    std::string Get(std::string_view name) const;
    // Adds the name with a new text, or replaces its text in place.
    void AddW(std::string_view ref, std::u16string_view str);
    void Add(std::string_view ref, std::string_view str);
    // Lines "name=text"; lines with an empty name or text are skipped.
    void AddStrings(std::string_view str);
    // A string table given as text.
    void AddXML(std::string_view str);
    // A string table from a file; a missing file does nothing.
    void LoadFromFile(const std::string& fileName);
    // Root "Resources" with "CodePage" and "StrRes" children (Name, Text);
    // a document with another root is ignored.  Then UpdateFSResources.
    void LoadFromStream(rtl::TStream& stream);
    void Clear();
    // Copies the seventeen script-message texts into the interpreter.
    void UpdateFSResources();
    // Help: no help viewer exists here, so this does nothing.
    void Help(const void* sender) {}

    int Count() const { return FValues.Count(); }
    // The code page stated by the last table loaded, 0 before any.
    uint32_t CP() const { return FCP; }
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(std::string name) { FHelpFile = std::move(name); }
    // Language files "*.frc" beside the program: "German" for "german.frc".
    const std::vector<std::string>& Languages() const { return FLanguages; }
    void ScanLanguages();

    // The image lists, filled on first use from the program's gzip-packed
    // bitmap resources.  Only "PreviewButtons" (25 images of 16 x 16) is
    // carried here; the getters of the other three raise EResNotFound.
    gui::TImageList& GetMainButtonImages();
    gui::TImageList& GetDisabledButtonImages();
    gui::TImageList& GetPreviewButtonImages();
    gui::TImageList& GetObjectImages();
    gui::TImageList& GetWizardImages();
    // Strips of 16 x 16 tiles (32 x 32 for the wizard list); with clear the
    // list is emptied first.  SetButtonImages takes pairs of normal and
    // disabled images.
    void SetButtonImages(const gui::TBitmap& images, bool clear);
    void SetPreviewButtonImages(const gui::TBitmap& images, bool clear);
    void SetObjectImages(const gui::TBitmap& images, bool clear);
    void SetWizardImages(const gui::TBitmap& images, bool clear);

private:
    gui::TImageList& List(std::unique_ptr<gui::TImageList>& list, int size);
    // Fills list from the named resource when it is empty.
    void LoadImages(const char* resource, gui::TImageList& list,
                    void (TqlrResources::*setter)(const gui::TBitmap&, bool));

    std::unique_ptr<gui::TImageList> FDisabledButtonImages, FMainButtonImages, FObjectImages,
        FPreviewButtonImages, FWizardImages;
    struct LessText {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    // Name -> index of its text in FValues.
    std::map<std::string, int, LessText> FNames;
    TqlrWideStrings FValues;
    std::vector<std::string> FLanguages;
    std::string FHelpFile;
    uint32_t FCP = 0;
};

// The global table, created on first call with the start-up texts (which
// also replace the script interpreter's messages).
TqlrResources& GetResources();
// Get of the decimal text of id.
std::string GetResourceString(int id);

// Unpacks one gzip member (RFC 1952) from source into destination; name
// receives the member's file name when it carries one.  The member's
// modification-time field must hold the Adler-32 of the content (big-endian
// bytes), as the program's resources are built: the member becomes a zlib
// stream with that trailer.  Source that is no gzip member writes nothing;
// damaged data raises EReadError "Stream decompress error".
void UnpackGzipResource(rtl::TStream& source, rtl::TStream& destination, std::string& name);
// The whole source, from its start, compressed as a zlib stream of the
// given level (0..9) into destination.
void CompressStream(rtl::TStream& source, rtl::TStream& destination, int level);

} // namespace qlr
