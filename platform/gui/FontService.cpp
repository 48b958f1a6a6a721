// The font service on fontconfig (finding the file), HarfBuzz (tables,
// glyphs, shaping, subsetting) and ICU (bidirectional runs).

#include "platform/gui/FontService.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>
#include <unicode/ubidi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/rtl/Strings.h"

namespace gui {

namespace {

// Big-endian reads from a table.
struct TTable {
    hb_blob_t* Blob = nullptr;
    const uint8_t* Data = nullptr;
    unsigned Length = 0;
    TTable(hb_face_t* face, hb_tag_t tag) : Blob(hb_face_reference_table(face, tag))
    {
        Data = reinterpret_cast<const uint8_t*>(hb_blob_get_data(Blob, &Length));
    }
    ~TTable() { hb_blob_destroy(Blob); }
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;
    bool Has(unsigned offset, unsigned size) const { return Data && offset + size <= Length; }
    int S16(unsigned o) const { return Has(o, 2) ? static_cast<int16_t>(Data[o] << 8 | Data[o + 1]) : 0; }
    unsigned U16(unsigned o) const { return Has(o, 2) ? unsigned(Data[o] << 8 | Data[o + 1]) : 0; }
    int32_t S32(unsigned o) const
    {
        return Has(o, 4) ? static_cast<int32_t>(uint32_t(Data[o]) << 24 | uint32_t(Data[o + 1]) << 16 |
                                                uint32_t(Data[o + 2]) << 8 | Data[o + 3])
                         : 0;
    }
};

// The pattern of a font of the program as fontconfig completes it.
FcPattern* FontPattern(const std::string& name, bool bold, bool italic)
{
    const std::string family = PlatformFontFamily(name);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

} // namespace

// The families the program's fonts are drawn with on this platform.
std::string PlatformFontFamily(const std::string& name)
{
    static const std::pair<const char*, const char*> kMap[] = {
        {"arial", "Liberation Sans"},        {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"}, {"microsoft sans serif", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
        {"courier new", "Liberation Mono"},  {"courier", "Liberation Mono"},
        {"tahoma", "DejaVu Sans"},           {"verdana", "DejaVu Sans"},
        {"segoe ui", "DejaVu Sans"},         {"small fonts", "DejaVu Sans"},
        {"symbol", "DejaVu Sans"},
    };
    const std::string lower = rtl::LowerCase(name);
    for (const auto& [from, to] : kMap)
        if (lower == from) return to;
    return name;
}

struct TFontProgram::Impl {
    hb_blob_t* Blob = nullptr;
    hb_face_t* Face = nullptr;
    hb_font_t* Font = nullptr;
    ~Impl()
    {
        if (Font) hb_font_destroy(Font);
        if (Face) hb_face_destroy(Face);
        if (Blob) hb_blob_destroy(Blob);
    }
};

TFontProgram::TFontProgram() : FImpl(std::make_unique<Impl>()) {}
TFontProgram::~TFontProgram() = default;

std::shared_ptr<const TFontProgram> TFontProgram::Find(const std::string& name, bool bold, bool italic)
{
    static std::mutex mutex;
    static std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<const TFontProgram>> cache;
    const auto key = std::make_tuple(rtl::LowerCase(name), bold, italic);
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::shared_ptr<const TFontProgram> found;
    FcPattern* pattern = FontPattern(name, bold, italic);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    for (int i = 0; set && i < set->nfont && !found; ++i) {
        FcChar8* file = nullptr;
        FcChar8* fam = nullptr;
        int index = 0;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &fam);
        // The first candidate is what the screen draws with; later ones
        // only when it has no TrueType outlines.
        found = Open(reinterpret_cast<const char*>(file), index, fam ? reinterpret_cast<const char*>(fam) : "");
    }
    if (set) FcFontSetDestroy(set);
    FcPatternDestroy(pattern);
    cache[key] = found;
    return found;
}

std::shared_ptr<const TFontProgram> TFontProgram::FindFallback(const std::string& name, bool bold, bool italic,
                                                              char32_t ch)
{
    static std::mutex mutex;
    static std::map<std::tuple<std::string, bool, bool, char32_t>, std::shared_ptr<const TFontProgram>> cache;
    // One program per file and face, shared by every character it serves.
    static std::map<std::pair<std::string, int>, std::shared_ptr<const TFontProgram>> opened;
    const auto key = std::make_tuple(rtl::LowerCase(name), bold, italic, ch);
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::shared_ptr<const TFontProgram> found;
    FcPattern* pattern = FontPattern(name, bold, italic);
    FcResult result = FcResultNoMatch;
    // The whole fallback list in the screen's order, untrimmed.
    FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    for (int i = 0; set && i < set->nfont && !found; ++i) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch ||
            !FcCharSetHasChar(chars, static_cast<FcChar32>(ch)))
            continue;
        FcChar8* file = nullptr;
        FcChar8* fam = nullptr;
        int index = 0;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &fam);
        const auto at = std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
        if (auto it = opened.find(at); it != opened.end()) {
            found = it->second;
        } else {
            found = Open(at.first, index, fam ? reinterpret_cast<const char*>(fam) : "");
            if (found) opened[at] = found;
        }
        if (found && found->GlyphIndex(ch) == 0) found = nullptr;
    }
    if (set) FcFontSetDestroy(set);
    FcPatternDestroy(pattern);
    cache[key] = found;
    return found;
}

std::shared_ptr<const TFontProgram> TFontProgram::Open(const std::string& file, int index,
                                                      const std::string& family)
{
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.c_str());
    if (!blob) return nullptr;
    std::shared_ptr<TFontProgram> p(new TFontProgram());
    Impl& d = *p->FImpl;
    d.Blob = blob;
    d.Face = hb_face_create(blob, static_cast<unsigned>(index));
    if (TTable(d.Face, HB_TAG('g', 'l', 'y', 'f')).Length == 0) return nullptr;
    d.Font = hb_font_create(d.Face);
    p->FUnitsPerEm = static_cast<int>(hb_face_get_upem(d.Face));
    hb_font_set_scale(d.Font, p->FUnitsPerEm, p->FUnitsPerEm);
    p->FFileName = file;
    p->FFaceIndex = index;
    p->FFamily = family;
    char ps[256] = {};
    unsigned psLength = sizeof ps;
    hb_ot_name_get_utf8(d.Face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &psLength, ps);
    p->FPostScriptName = ps;

    TMetrics& m = p->FMetrics;
    const TTable head(d.Face, HB_TAG('h', 'e', 'a', 'd')), hhea(d.Face, HB_TAG('h', 'h', 'e', 'a'));
    const TTable os2(d.Face, HB_TAG('O', 'S', '/', '2')), post(d.Face, HB_TAG('p', 'o', 's', 't'));
    m.BBoxLeft = head.S16(36);
    m.BBoxBottom = head.S16(38);
    m.BBoxRight = head.S16(40);
    m.BBoxTop = head.S16(42);
    m.Ascent = hhea.S16(4);
    m.Descent = hhea.S16(6);
    m.LineGap = hhea.S16(8);
    m.MaxWidth = static_cast<int>(hhea.U16(10));
    if (os2.Length > 0) {
        m.AvgWidth = os2.S16(2);
        m.Weight = static_cast<int>(os2.U16(4));
        if (os2.U16(0) >= 2) {
            m.XHeight = os2.S16(86);
            m.CapHeight = os2.S16(88);
            m.DefaultChar = static_cast<char16_t>(os2.U16(90));
        }
    }
    if (m.CapHeight == 0) m.CapHeight = m.Ascent;
    m.ItalicAngle = post.S32(4) / 65536.0;
    m.FixedPitch = post.S32(12) != 0;
    return p;
}

int TFontProgram::GlyphCount() const { return static_cast<int>(hb_face_get_glyph_count(FImpl->Face)); }

int TFontProgram::GlyphIndex(char32_t ch) const
{
    hb_codepoint_t g = 0;
    return hb_font_get_nominal_glyph(FImpl->Font, ch, &g) ? static_cast<int>(g) : 0;
}

int TFontProgram::GlyphAdvance(int glyph) const
{
    return static_cast<int>(hb_font_get_glyph_h_advance(FImpl->Font, static_cast<hb_codepoint_t>(glyph)));
}

std::vector<TFontProgram::TShapedGlyph> TFontProgram::Shape(std::u16string_view text, bool rightToLeft) const
{
    std::vector<TShapedGlyph> out;
    if (text.empty()) return out;
    const auto* units = reinterpret_cast<const UChar*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    UErrorCode error = U_ZERO_ERROR;
    UBiDi* bidi = ubidi_openSized(length, 0, &error);
    if (U_SUCCESS(error)) ubidi_setPara(bidi, units, length, rightToLeft ? 1 : 0, nullptr, &error);
    const int32_t runs = U_SUCCESS(error) ? ubidi_countRuns(bidi, &error) : 0;
    auto shapeRun = [&](int32_t start, int32_t count, bool rtl) {
        hb_buffer_t* buf = hb_buffer_create();
        hb_buffer_add_utf16(buf, reinterpret_cast<const uint16_t*>(text.data()), length,
                            static_cast<unsigned>(start), count);
        hb_buffer_set_direction(buf, rtl ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_guess_segment_properties(buf);
        hb_shape(FImpl->Font, buf, nullptr, 0);
        unsigned n = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
        for (unsigned i = 0; i < n; ++i)
            out.push_back({static_cast<int>(info[i].codepoint), pos[i].x_advance, static_cast<int>(info[i].cluster)});
        hb_buffer_destroy(buf);
    };
    if (runs <= 0) {
        shapeRun(0, length, rightToLeft);
    } else {
        for (int32_t r = 0; r < runs; ++r) {
            int32_t start = 0, count = 0;
            const UBiDiDirection dir = ubidi_getVisualRun(bidi, r, &start, &count);
            shapeRun(start, count, dir == UBIDI_RTL);
        }
    }
    if (bidi) ubidi_close(bidi);
    return out;
}

std::vector<uint8_t> TFontProgram::ProgramBytes() const
{
    if (FFaceIndex == 0) {
        unsigned length = 0;
        const char* data = hb_blob_get_data(FImpl->Blob, &length);
        return std::vector<uint8_t>(data, data + length);
    }
    // A face of a collection: every glyph of it as a file of its own.
    std::vector<int> all(static_cast<std::size_t>(GlyphCount()));
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    return Subset(all);
}

std::vector<uint8_t> TFontProgram::Subset(const std::vector<int>& glyphs) const
{
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input) return {};
    hb_set_t* set = hb_subset_input_glyph_set(input);
    hb_set_add(set, 0);
    for (int g : glyphs)
        if (g >= 0) hb_set_add(set, static_cast<hb_codepoint_t>(g));
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NAME_LEGACY |
                                         HB_SUBSET_FLAGS_GLYPH_NAMES);
    hb_face_t* subset = hb_subset_or_fail(FImpl->Face, input);
    hb_subset_input_destroy(input);
    if (!subset) return {};
    hb_blob_t* blob = hb_face_reference_blob(subset);
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    std::vector<uint8_t> out(data, data + length);
    hb_blob_destroy(blob);
    hb_face_destroy(subset);
    return out;
}

} // namespace gui
