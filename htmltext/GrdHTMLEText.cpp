// The markup language's pieces that need no canvas: colour values,
// attribute and number reading, the rewrites before layout, plain text,
// entity conversion, tag insertion around matches and the text operations
// on inline controls.

#include "htmltext/GrdHTMLE.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/rtl/Strings.h"

namespace htmltext {

namespace {

char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsWithNoCase(std::string_view s, std::size_t pos, std::string_view what)
{
    if (pos + what.size() > s.size()) return false;
    for (std::size_t i = 0; i < what.size(); ++i)
        if (Up(s[pos + i]) != Up(what[i])) return false;
    return true;
}

// Position of what in s at or after from, ASCII case ignored; npos when none.
std::size_t FindNoCase(std::string_view s, std::string_view what, std::size_t from = 0)
{
    if (what.empty()) return std::string::npos;
    for (std::size_t p = from; p + what.size() <= s.size(); ++p)
        if (Up(s[p]) == Up(what[0]) && StartsWithNoCase(s, p, what)) return p;
    return std::string::npos;
}

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to)
{
    if (from.empty() || s.find(from) == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    std::size_t p = 0;
    for (;;) {
        std::size_t q = s.find(from, p);
        if (q == std::string::npos) break;
        out.append(s, p, q - p);
        out.append(to);
        p = q + from.size();
    }
    out.append(s, p, std::string::npos);
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = Up(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct NamedColor {
    const char* name;
    gui::TColor color;
};

const NamedColor kPlainColors[] = {
    {"clred", gui::RGB(255, 0, 0)},      {"clblack", gui::RGB(0, 0, 0)},
    {"clblue", gui::RGB(0, 0, 255)},     {"clgreen", gui::RGB(0, 128, 0)},
    {"claqua", gui::RGB(0, 255, 255)},   {"clyellow", gui::RGB(255, 255, 0)},
    {"clfuchsia", gui::RGB(255, 0, 255)}, {"clwhite", gui::RGB(255, 255, 255)},
    {"cllime", gui::RGB(0, 255, 0)},     {"clsilver", gui::RGB(192, 192, 192)},
    {"clgray", gui::RGB(128, 128, 128)}, {"clolive", gui::RGB(128, 128, 0)},
    {"clnavy", gui::RGB(0, 0, 128)},     {"clpurple", gui::RGB(128, 0, 128)},
    {"clteal", gui::RGB(0, 128, 128)},   {"clmaroon", gui::RGB(128, 0, 0)},
};

const char* const kSystemColors[] = {
    "clbackground", "clactivecaption", "clinactivecaption", "clmenu", "clwindow",
    "clwindowframe", "clmenutext", "clwindowtext", "clcaptiontext", "clactiveborder",
    "clinactiveborder", "clappworkspace", "clhighlight", "clhighlighttext", "clbtnface",
    "clbtnshadow", "clgraytext", "clbtntext", "clinactivecaptiontext", "clbtnhighlight",
    "cl3ddkshadow", "cl3dlight", "clinfotext", "clinfobk",
};

// The 51 characters of the entity table and their names, in table order.
struct Entity {
    const char* ch;
    const char* name;
};
const Entity kEntities[] = {
    {"é", "&eacute;"}, {"è", "&egrave;"}, {"ë", "&euml;"}, {"ê", "&ecirc;"},
    {"ó", "&oacute;"}, {"ò", "&ograve;"}, {"ö", "&ouml;"}, {"ô", "&ocirc;"},
    {"í", "&iacute;"}, {"ì", "&igrave;"}, {"ï", "&iuml;"}, {"î", "&icirc;"},
    {"ú", "&uacute;"}, {"ù", "&ugrave;"}, {"ü", "&uuml;"}, {"û", "&ucirc;"},
    {"á", "&aacute;"}, {"à", "&agrave;"}, {"ä", "&auml;"}, {"â", "&acirc;"},
    {"É", "&Eacute;"}, {"È", "&Egrave;"}, {"Ë", "&Euml;"}, {"Ê", "&Ecirc;"},
    {"Ó", "&Oacute;"}, {"Ò", "&Ograve;"}, {"Ö", "&Ouml;"}, {"Ô", "&Ocirc;"},
    {"Í", "&Iacute;"}, {"Ì", "&Igrave;"}, {"Ï", "&Iuml;"}, {"Î", "&Icirc;"},
    {"Ú", "&Uacute;"}, {"Ù", "&Ugrave;"}, {"Ü", "&Uuml;"}, {"Û", "&Ucirc;"},
    {"Á", "&Aacute;"}, {"À", "&Agrave;"}, {"Ä", "&Auml;"}, {"Â", "&Acirc;"},
    {"ç", "&ccedil;"}, {"Ç", "&Ccedil;"}, {"ø", "&oslash;"}, {"Ø", "&Oslash;"},
    {"å", "&aring;"}, {"Å", "&Aring;"}, {"©", "&copy;"}, {"®", "&reg;"},
    {"€", "&euro;"}, {"«", "&laquo;"}, {"»", "&raquo;"},
};

// The entities rewritten before layout (ASCII case ignored).
const Entity kLayoutEntities[] = {
    {"&&", "&amp;"}, {"\"", "&quot;"}, {"§", "&sect;"}, {"‰", "&permil;"}, {"®", "&reg;"},
    {"©", "&copy;"}, {"¶", "&para;"}, {"™", "&trade;"}, {"€", "&euro;"},
};

} // namespace

// ---------------------------------------------------------------- values

gui::TColor MarkupColor(const std::string& value)
{
    if (value.empty()) return gui::clNone;
    if (value[0] == '#') {
        int ch[3] = {0, 0, 0};
        for (int i = 0; i < 3; ++i) {
            std::size_t p = 1 + 2 * static_cast<std::size_t>(i);
            if (p + 1 >= value.size()) break;   // a missing or short pair counts 0
            int hi = HexDigit(value[p]), lo = HexDigit(value[p + 1]);
            ch[i] = (hi < 0 || lo < 0) ? 0 : hi * 16 + lo;
        }
        return gui::RGB(static_cast<uint8_t>(ch[0]), static_cast<uint8_t>(ch[1]), static_cast<uint8_t>(ch[2]));
    }
    std::string name = rtl::LowerCase(value);
    for (const NamedColor& c : kPlainColors)
        if (name == c.name && c.color != gui::clBlack) return c.color;
    for (std::size_t i = 0; i < std::size(kSystemColors); ++i)
        if (name == kSystemColors[i]) return gui::clSystemColor | static_cast<gui::TColor>(i + 1);
    return gui::clBlack;
}

std::string TagAttribute(const std::string& tagText, const std::string& name, bool keepCase)
{
    std::string up = rtl::UpperCase(tagText);
    std::size_t p = up.find(name);
    if (p == std::string::npos) return {};
    std::size_t q1 = up.find('"', p + name.size());
    if (q1 == std::string::npos) return {};
    std::size_t q2 = up.find('"', q1 + 1);
    if (q2 == std::string::npos) return {};
    return (keepCase ? tagText : up).substr(q1 + 1, q2 - q1 - 1);
}

int ReadMarkupNumber(const std::string& text, bool* valid)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool neg = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) neg = text[i++] == '-';
    int base = 10;
    if (i < n && text[i] == '$') { base = 16; ++i; }
    else if (i < n && (text[i] == 'x' || text[i] == 'X')) { base = 16; ++i; }
    else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) { base = 16; i += 2; }
    int64_t v = 0;
    bool digits = false;
    while (i < n) {
        int d = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) break;
        digits = true;
        v = v * base + d;
        if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;   // a runaway number saturates
        ++i;
    }
    if (valid) *valid = digits && i == n;
    return static_cast<int>(neg ? -v : v);
}

int ReadMarkupCoordinate(const std::string& text, bool* valid)
{
    return std::clamp(ReadMarkupNumber(text, valid), -kMarkupCoordinateLimit, kMarkupCoordinateLimit);
}

// ---------------------------------------------------------------- rewrites

std::string PrepareMarkup(TMarkupDialect dialect, const std::string& markup)
{
    std::string s = markup;
    if (s.find('&') != std::string::npos) {
        // One left-to-right scan does what repeated passes over the entity
        // list until nothing changes would do: a replacement can only make a
        // new entity start with the "&" it produced, so that "&" is scanned
        // again as input.
        std::string out;
        out.reserve(s.size());
        std::size_t i = 0;
        while (i < s.size()) {
            if (s[i] != '&') { out += s[i++]; continue; }
            bool done = false;
            for (const Entity& e : kLayoutEntities) {
                std::size_t len = std::strlen(e.name);
                if (!StartsWithNoCase(s, i, e.name)) continue;
                if (e.ch[0] == '&') {
                    out += '&';
                    s[i + len - 1] = '&';   // the second "&" is input again
                    i += len - 1;
                } else {
                    out += e.ch;
                    i += len;
                }
                done = true;
                break;
            }
            if (!done) out += s[i++];
        }
        s.swap(out);
    }
    // "<#": the "<" and the next ">" go, the text between is shown as written.
    std::size_t from = 0;
    for (;;) {
        std::size_t p = s.find("<#", from);
        if (p == std::string::npos) break;
        s.erase(p, 1);
        std::size_t g = s.find('>', p);
        if (g != std::string::npos) s.erase(g, 1);
        if (dialect == TMarkupDialect::mdPanel) break;
        from = g == std::string::npos ? s.size() : g;
    }
    if (s.find_first_of("\r\n") != std::string::npos) {
        std::string out;
        out.reserve(s.size() + 16);
        for (char c : s) {
            if (c == '\r') out += "<BR>";
            else if (c != '\n') out += c;
        }
        s.swap(out);
    }
    return s;
}

std::string MarkupToPlainText(TMarkupDialect dialect, const std::string& markup)
{
    std::string s;
    s.reserve(markup.size());
    // BR and HR in any letter case become CR LF.
    for (std::size_t i = 0; i < markup.size();) {
        if (markup[i] == '<' && (StartsWithNoCase(markup, i, "<BR>") || StartsWithNoCase(markup, i, "<HR>"))) {
            s += "\r\n";
            i += 4;
        } else {
            s += markup[i++];
        }
    }
    if (dialect == TMarkupDialect::mdPanel) {
        for (const char* pair : {"z", "Z"}) {
            std::string open = std::string("<") + pair + ">", close = std::string("</") + pair + ">";
            std::string out;
            std::size_t p = 0;
            for (;;) {
                std::size_t a = s.find(open, p);
                if (a == std::string::npos) { out.append(s, p, std::string::npos); break; }
                out.append(s, p, a - p);
                std::size_t b = s.find(close, a + open.size());
                if (b == std::string::npos) break;
                p = b + close.size();
            }
            s.swap(out);
        }
    }
    std::string out;
    out.reserve(s.size());
    std::size_t p = 0;
    for (;;) {
        std::size_t a = s.find('<', p);
        if (a == std::string::npos) break;
        std::size_t b = s.find('>', a);
        if (b == std::string::npos) break;
        out.append(s, p, a - p);
        p = b + 1;
    }
    out.append(s, p, std::string::npos);
    return out;
}

// ---------------------------------------------------------------- entities

std::string DecodeHTMLEntities(const std::string& text)
{
    static const Entity kBasic[] = {{"<", "&lt;"}, {">", "&gt;"}, {"&", "&amp;"}, {"\"", "&quot;"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '&') {
            bool done = false;
            for (const Entity& e : kBasic)
                if (text.compare(i, std::strlen(e.name), e.name) == 0) {
                    out += e.ch;
                    i += std::strlen(e.name);
                    done = true;
                    break;
                }
            if (!done)
                for (const Entity& e : kEntities)
                    if (text.compare(i, std::strlen(e.name), e.name) == 0) {
                        out += e.ch;
                        i += std::strlen(e.name);
                        done = true;
                        break;
                    }
            if (done) continue;
        }
        out += text[i++];
    }
    return out;
}

std::string EncodeHTMLEntities(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '&') { out += "&amp;"; ++i; continue; }
        if (c == '"') { out += "&quot;"; ++i; continue; }
        if (c == '<') { out += "&lt;"; ++i; continue; }
        if (c == '>') { out += "&gt;"; ++i; continue; }
        bool done = false;
        if (static_cast<unsigned char>(c) >= 0x80)
            for (const Entity& e : kEntities) {
                std::size_t len = std::strlen(e.ch);
                if (text.compare(i, len, e.ch) == 0) {
                    out += e.name;
                    i += len;
                    done = true;
                    break;
                }
            }
        if (!done) out += text[i++];
    }
    return out;
}

std::string EncodeNonBreakingSpaces(const std::string& text) { return ReplaceAll(text, " ", "&nbsp;"); }

// ---------------------------------------------------------------- matching

std::string StripTagsForMatching(const std::string& markup)
{
    std::string out;
    std::size_t p = 0;
    for (;;) {
        std::size_t lt = markup.find('<', p);
        std::size_t gt = markup.find('>', p);
        if (lt == std::string::npos || gt == std::string::npos || gt < lt) break;
        out.append(markup, p, lt - p);
        p = gt + 1;
    }
    out.append(markup, p, std::string::npos);
    return out;
}

namespace {

// Position (0-based) in markup right after shown character k (0 = before
// any tag that precedes the first shown character); npos past the end.
std::vector<std::size_t> ShownBoundaries(const std::string& markup)
{
    // boundary[k]: the markup offset reached just after k shown characters,
    // before any tags that follow them.
    std::vector<std::size_t> b;
    b.push_back(0);
    bool inTag = false;
    std::size_t lastGt = markup.rfind('>');
    for (std::size_t i = 0; i < markup.size(); ++i) {
        char c = markup[i];
        if (inTag) {
            if (c == '>') inTag = false;
            continue;
        }
        if (c == '<' && lastGt != std::string::npos && lastGt > i) {
            inTag = true;
            continue;
        }
        b.push_back(i + 1);
    }
    return b;
}

} // namespace

int MarkupPosOfPlainChar(const std::string& markup, int n)
{
    if (n < 1) return 0;
    std::vector<std::size_t> b = ShownBoundaries(markup);
    const int count = static_cast<int>(b.size()) - 1;
    if (n <= count) return static_cast<int>(b[static_cast<std::size_t>(n - 1)]) + 1;
    if (n == count + 1) return static_cast<int>(markup.size()) + 1;
    return 0;
}

namespace {

char32_t FoldCodePoint(char32_t cp, TMarkupDialect dialect)
{
    if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
    if (dialect == TMarkupDialect::mdPanel) return cp;
    std::string one;
    rtl::AppendUTF8(one, cp);
    std::string up = rtl::AnsiUpperCase(one);
    std::size_t i = 0;
    char32_t r = rtl::NextUTF8(up, i);
    return i == up.size() ? r : cp;
}

} // namespace

std::string InsertTagAroundMatches(TMarkupDialect dialect, const std::string& markup,
                                   const std::string& search, const std::string& tag,
                                   bool caseSensitive)
{
    // An empty search text matches nothing (a search for it would never
    // move on).
    if (search.empty() || markup.empty()) return markup;
    std::string shown = StripTagsForMatching(markup);
    std::string work = markup;
    std::string needle = search;
    if (dialect == TMarkupDialect::mdGrid && shown.find_first_of("<>") != std::string::npos) {
        auto esc = [](const std::string& s) { return ReplaceAll(ReplaceAll(s, "<", "&lt;"), ">", "&gt;"); };
        shown = esc(shown);
        work = shown;
        needle = esc(needle);
    }
    // Matches in the shown text, as byte ranges.
    std::vector<std::pair<std::size_t, std::size_t>> matches;
    if (caseSensitive) {
        std::size_t p = shown.find(needle);
        while (p != std::string::npos) {
            matches.emplace_back(p, needle.size());
            p = shown.find(needle, p + needle.size());
        }
    } else {
        // Code points folded one by one keep the byte positions of the text.
        struct CP { std::size_t pos; char32_t cp; };
        std::vector<CP> hay;
        for (std::size_t i = 0; i < shown.size();) {
            std::size_t at = i;
            char32_t c = rtl::NextUTF8(shown, i);
            if (i == at) ++i;
            hay.push_back({at, FoldCodePoint(c, dialect)});
        }
        std::vector<char32_t> pat;
        for (std::size_t i = 0; i < needle.size();) {
            std::size_t at = i;
            char32_t c = rtl::NextUTF8(needle, i);
            if (i == at) ++i;
            pat.push_back(FoldCodePoint(c, dialect));
        }
        std::size_t k = 0;
        while (k + pat.size() <= hay.size()) {
            bool eq = true;
            for (std::size_t j = 0; j < pat.size() && eq; ++j) eq = hay[k + j].cp == pat[j];
            if (!eq) { ++k; continue; }
            std::size_t from = hay[k].pos;
            std::size_t to = k + pat.size() < hay.size() ? hay[k + pat.size()].pos : shown.size();
            matches.emplace_back(from, to - from);
            k += pat.size();
        }
    }
    if (matches.empty()) return work;
    // Tags go where the shown characters start and end; a closing tag and
    // the next opening tag at the same place are written in that order, so
    // that adjacent matches make two separate pairs.
    std::vector<std::size_t> bound = ShownBoundaries(work);
    const std::size_t count = bound.size() - 1;
    auto at = [&](std::size_t shownIndex) {
        return shownIndex < count ? bound[shownIndex] : work.size();
    };
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    std::string out;
    out.reserve(work.size() + matches.size() * (open.size() + close.size()));
    std::size_t copied = 0;
    for (const auto& [b, n] : matches) {
        std::size_t o = std::max(at(b), copied);
        out.append(work, copied, o - copied);
        out += open;
        std::size_t c = std::max(at(b + n), o);
        out.append(work, o, c - o);
        out += close;
        copied = c;
    }
    out.append(work, copied, std::string::npos);
    return out;
}

std::string RemoveTagPairs(TMarkupDialect dialect, const std::string& markup, const std::string& tag)
{
    std::string s = markup;
    for (const std::string& t : {"<" + tag + ">", "</" + tag + ">"}) {
        std::string out;
        std::size_t p = 0;
        for (;;) {
            std::size_t q = FindNoCase(s, t, p);
            if (q == std::string::npos) break;
            out.append(s, p, q - p);
            p = q + t.size();
        }
        out.append(s, p, std::string::npos);
        s.swap(out);
    }
    if (dialect == TMarkupDialect::mdGrid) s = ReplaceAll(ReplaceAll(s, "&lt;", "<"), "&gt;", ">");
    return s;
}

// ---------------------------------------------------------------- inline controls

namespace {

std::string ControlAttr(const std::string& tagText, const char* name)
{
    std::string up = rtl::UpperCase(tagText);
    std::size_t p = up.find(std::string(name) + "=");
    if (p == std::string::npos) return {};
    std::size_t q1 = up.find('"', p);
    if (q1 == std::string::npos) return {};
    std::size_t q2 = up.find('"', q1 + 1);
    if (q2 == std::string::npos) return {};
    return tagText.substr(q1 + 1, q2 - q1 - 1);
}

// Calls visit(tagStart, tagEnd, parsed) for every "<CONTROL " tag in order;
// visit returns false to stop.
template <typename F>
void ForEachControl(const std::string& text, F visit)
{
    std::size_t p = 0;
    for (;;) {
        std::size_t a = FindNoCase(text, "<CONTROL ", p);
        if (a == std::string::npos) return;
        std::size_t g = text.find('>', a);
        std::size_t end = g == std::string::npos ? text.size() : g;
        TControlTag tag = ParseControlTag(text.substr(a + 8, end - a - 8));
        if (!visit(a, end, tag)) return;
        p = a + 1;
    }
}

} // namespace

TControlTag ParseControlTag(const std::string& tagText)
{
    TControlTag t;
    t.Type = rtl::UpperCase(ControlAttr(tagText, "TYPE"));
    t.ID = ControlAttr(tagText, "ID");
    t.Value = DecodeHTMLEntities(ControlAttr(tagText, "VALUE"));
    t.Width = ControlAttr(tagText, "WIDTH");
    t.Prop = ControlAttr(tagText, "PROP");
    t.MaxLen = ControlAttr(tagText, "MAXLEN");
    return t;
}

bool HasInlineControl(const std::string& text) { return FindNoCase(text, "<CONTROL") != std::string::npos; }

std::string NextEditableControlID(const std::string& text, const std::string& currentID)
{
    bool passed = currentID.empty();
    std::string found;
    ForEachControl(text, [&](std::size_t, std::size_t, const TControlTag& t) {
        if (!passed) {
            if (t.ID == currentID) passed = true;
            return true;
        }
        if (t.Type != "BUTTON" && t.Type != "CHECK" && t.Type != "RADIO") {
            found = t.ID;
            return false;
        }
        return true;
    });
    return found;
}

std::string ClearRadioControls(const std::string& text)
{
    std::string s = text;
    std::vector<std::string> ids;
    ForEachControl(s, [&](std::size_t, std::size_t, const TControlTag& t) {
        if (t.Type == "RADIO") ids.push_back(t.ID);
        return true;
    });
    for (const std::string& id : ids) SetControlValue(s, id, "FALSE");
    return s;
}

std::string GetControlProp(const std::string& text, const std::string& id)
{
    std::string prop;
    ForEachControl(text, [&](std::size_t, std::size_t, const TControlTag& t) {
        if (t.ID != id) return true;
        prop = t.Prop;
        return false;
    });
    return prop;
}

int GetControlMaxLen(const std::string& text, const std::string& id)
{
    int v = 0;
    ForEachControl(text, [&](std::size_t, std::size_t, const TControlTag& t) {
        if (t.ID != id) return true;
        v = ReadMarkupNumber(t.MaxLen);
        return false;
    });
    return v;
}

bool SetControlValue(std::string& text, const std::string& id, const std::string& value)
{
    bool done = false;
    ForEachControl(text, [&](std::size_t a, std::size_t end, const TControlTag& t) {
        if (t.ID != id) return true;
        auto attr = [](const char* name, const std::string& v) { return std::string(" ") + name + "=\"" + v + "\""; };
        std::string tag = "<CONTROL" + attr("ID", t.ID) + attr("VALUE", EncodeHTMLEntities(value)) +
                          attr("WIDTH", t.Width) + attr("TYPE", t.Type);
        if (!t.Prop.empty()) tag += attr("PROP", t.Prop);
        if (!t.MaxLen.empty()) tag += attr("MAXLEN", t.MaxLen);
        tag += ">";
        std::size_t stop = end < text.size() ? end + 1 : text.size();
        text.replace(a, stop - a, tag);
        done = true;
        return false;
    });
    return done;
}

// ---------------------------------------------------------------- gradient

void DrawGradient(gui::TCanvas& canvas, gui::TColor startColor, gui::TColor endColor,
                  bool leftToRight, const gui::TRect& r, int stripes, gui::TColor frameColor)
{
    if (stripes <= 0) stripes = 1;
    gui::TColor a = gui::ColorToRGB(startColor), b = gui::ColorToRGB(endColor);
    if (a == gui::clNone) a = gui::clWhite;
    if (b == gui::clNone) b = gui::clWhite;
    const int size = leftToRight ? r.Width() : r.Height();
    const double d = static_cast<double>(size) / stripes;
    auto mix = [&](int from, int to, int i) {
        return static_cast<uint8_t>(from + static_cast<int>(std::nearbyint(static_cast<double>(i) * (to - from) / stripes)));
    };
    canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    for (int i = 0; i < stripes; ++i) {
        gui::TColor c = gui::RGB(mix(gui::GetRValue(a), gui::GetRValue(b), i),
                                 mix(gui::GetGValue(a), gui::GetGValue(b), i),
                                 mix(gui::GetBValue(a), gui::GetBValue(b), i));
        canvas.Pen()->SetColor(c);
        canvas.Brush()->SetColor(c);
        int from = static_cast<int>(std::nearbyint(i * d));
        int to = std::min(size, from + static_cast<int>(d) + 1);
        if (leftToRight)
            canvas.FillRect(gui::Rect(r.Left + from, r.Top, r.Left + to, r.Bottom));
        else
            canvas.FillRect(gui::Rect(r.Left, r.Top + from, r.Right, r.Top + to));
    }
    if (frameColor != gui::clNone) {
        canvas.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        canvas.Pen()->SetColor(frameColor);
        canvas.Rectangle(r);
    }
}

} // namespace htmltext
