// TEditMask: parsing the mask and placing typed characters.
#include "grid/ExEditMask.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

namespace {

bool IsLetter(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0; }
bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }

char16_t Cased(char16_t c, int mode)
{
    const std::string s = rtl::UTF16ToUTF8(std::u16string(1, c));
    const std::u16string r = rtl::UTF8ToUTF16(mode > 0 ? rtl::AnsiUpperCase(s) : rtl::AnsiLowerCase(s));
    return r.size() == 1 ? r[0] : c;
}

} // namespace

TEditMask::TEditMask(const std::string& maskText)
{
    const std::u16string all = rtl::UTF8ToUTF16(maskText);
    // The fields after the mask: ";0" (no literals stored) and the blank.
    std::u16string mask = all;
    const size_t semi = all.find(u';');
    if (semi != std::u16string::npos) {
        mask = all.substr(0, semi);
        const std::u16string rest = all.substr(semi + 1);
        if (!rest.empty()) FSaveLiterals = rest[0] != u'0';
        const size_t semi2 = rest.find(u';');
        if (semi2 != std::u16string::npos && semi2 + 1 < rest.size()) FBlank = rest[semi2 + 1];
    }
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    int mode = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        const char16_t c = mask[i];
        switch (c) {
        case u'!': break;
        case u'>':
            if (i + 1 < mask.size() && mask[i + 1] == u'<') {
                mode = 0;
                ++i;
            } else {
                mode = 1;
            }
            break;
        case u'<':
            if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                mode = 0;
                ++i;
            } else {
                mode = -1;
            }
            break;
        case u'\\':
            if (i + 1 < mask.size()) FSlots.push_back({0, mask[++i], false, 0});
            break;
        case u'0': case u'9': case u'#': case u'L': case u'l': case u'A': case u'a': case u'C': case u'c':
            FSlots.push_back({c, 0, c == u'0' || c == u'L' || c == u'A' || c == u'C', mode});
            break;
        case u':': FSlots.push_back({0, static_cast<char16_t>(static_cast<unsigned char>(fs.TimeSeparator)), false, 0}); break;
        case u'/': FSlots.push_back({0, static_cast<char16_t>(static_cast<unsigned char>(fs.DateSeparator)), false, 0}); break;
        default: FSlots.push_back({0, c, false, 0}); break;
        }
    }
}

bool TEditMask::IsLiteral(int pos) const
{
    return pos >= 0 && pos < Length() && FSlots[static_cast<size_t>(pos)].Kind == 0;
}

bool TEditMask::Fits(const Slot& s, char16_t& ch) const
{
    bool ok = false;
    switch (s.Kind) {
    case u'0': case u'9': ok = IsDigit(ch); break;
    case u'#': ok = IsDigit(ch) || ch == u'+' || ch == u'-'; break;
    case u'L': case u'l': ok = IsLetter(ch); break;
    case u'A': case u'a': ok = IsLetter(ch) || IsDigit(ch); break;
    case u'C': case u'c': ok = ch >= 32; break;
    default: break;
    }
    if (ok && s.Case != 0) ch = Cased(ch, s.Case);
    return ok;
}

std::u16string TEditMask::Display(const std::u16string& text) const
{
    std::u16string shown;
    size_t k = 0;
    const bool withLiterals = text.size() == FSlots.size();
    for (size_t i = 0; i < FSlots.size(); ++i) {
        const Slot& s = FSlots[i];
        if (s.Kind == 0) {
            shown += s.Literal;
            if (withLiterals) ++k;
            continue;
        }
        char16_t ch = k < text.size() ? text[k] : FBlank;
        ++k;
        if (ch == u' ' || !Fits(s, ch)) ch = FBlank;
        shown += ch;
    }
    return shown;
}

bool TEditMask::Put(std::u16string& shown, int& at, char16_t ch) const
{
    int p = at;
    while (p < Length() && FSlots[static_cast<size_t>(p)].Kind == 0) ++p;
    if (p >= Length() || !Fits(FSlots[static_cast<size_t>(p)], ch)) return false;
    shown[static_cast<size_t>(p)] = ch;
    at = p + 1;
    while (at < Length() && FSlots[static_cast<size_t>(at)].Kind == 0) ++at;
    return true;
}

void TEditMask::Clear(std::u16string& shown, int& at, bool backward) const
{
    int p = backward ? at - 1 : at;
    while (p >= 0 && p < Length() && FSlots[static_cast<size_t>(p)].Kind == 0) p += backward ? -1 : 1;
    if (p < 0 || p >= Length()) return;
    shown[static_cast<size_t>(p)] = FBlank;
    at = backward ? p : at;
}

bool TEditMask::Complete(const std::u16string& shown) const
{
    for (size_t i = 0; i < FSlots.size() && i < shown.size(); ++i)
        if (FSlots[i].Required && shown[i] == FBlank) return false;
    return shown.size() >= FSlots.size();
}

std::u16string TEditMask::Stored(const std::u16string& shown) const
{
    // Nothing typed at all keeps the cell empty, literals or not.
    bool any = false;
    for (size_t i = 0; i < FSlots.size() && i < shown.size(); ++i)
        if (FSlots[i].Kind != 0 && shown[i] != FBlank) any = true;
    if (!any) return {};
    std::u16string out;
    for (size_t i = 0; i < FSlots.size() && i < shown.size(); ++i) {
        if (FSlots[i].Kind == 0 && !FSaveLiterals) continue;
        out += FSlots[i].Kind != 0 && shown[i] == FBlank ? u' ' : shown[i];
    }
    // Blanks at the end are no content.
    while (!out.empty() && out.back() == u' ') out.pop_back();
    return out;
}

} // namespace grid
