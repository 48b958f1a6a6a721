// Text layout: the tag interpreter, wrapping at 600 dpi with Cyrillic
// hyphenation, measuring and fitting, and drawing a line (a run of one
// style, a justified word) in one call over the width its per-character
// advances give it, with justification and rotation.

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/gui/TextExtents.h"
#include "platform/gui/Types.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"

namespace qlr {

namespace {

std::recursive_mutex& DrawTextMutex()
{
    static std::recursive_mutex m;
    return m;
}

int Round(long double x)
{
    return static_cast<int>(std::nearbyint(x));  // ties to even
}

constexpr long double kScale = 600.0L / 96.0L;  // layout pixels per report unit

char16_t Upper(char16_t c)
{
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 32);
    if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 80);
    return c;
}

std::u16string UpperText(std::u16string_view s)
{
    std::u16string r(s);
    for (char16_t& c : r) c = Upper(c);
    return r;
}

// 1-based position of needle in s, 0 when absent.
int Pos16(std::u16string_view needle, std::u16string_view s)
{
    std::size_t at = s.find(needle);
    return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}

// The platform's colour names, "cl" included.
bool ColorByName(const std::string& name, gui::TColor& color)
{
    static const std::pair<const char*, gui::TColor> kNames[] = {
        {"clBlack", gui::clBlack}, {"clMaroon", gui::clMaroon}, {"clGreen", gui::clGreen},
        {"clOlive", gui::clOlive}, {"clNavy", gui::clNavy}, {"clPurple", gui::clPurple},
        {"clTeal", gui::clTeal}, {"clGray", gui::clGray}, {"clSilver", gui::clSilver},
        {"clRed", gui::clRed}, {"clLime", gui::clLime}, {"clYellow", gui::clYellow},
        {"clBlue", gui::clBlue}, {"clFuchsia", gui::clFuchsia}, {"clAqua", gui::clAqua},
        {"clWhite", gui::clWhite}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0}, {"clNone", gui::clNone},
        {"clDefault", gui::clDefault}, {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},
    };
    for (const auto& [n, c] : kNames)
        if (rtl::SameText(n, name)) {
            color = c;
            return true;
        }
    return false;
}

const std::u16string kVowels = u"АЕЁИОУЫЭЮЯ";
const std::u16string kConsonants = u"БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ";
const std::u16string kSigns = u"ЬЪ";

bool In(char16_t c, const std::u16string& set)
{
    return set.find(c) != std::u16string::npos;
}

bool ContainsVowel(std::u16string_view s)
{
    if (s.size() < 2) return false;
    for (char16_t c : s)
        if (In(c, kVowels)) return true;
    return false;
}

} // namespace

// --- tags --------------------------------------------------------------------

void TqlrHTMLTag::Assign(const TqlrHTMLTag& t)
{
    Position = t.Position;
    Size = t.Size;
    AddY = t.AddY;
    Style = t.Style;
    Color = t.Color;
    Default = t.Default;
    Small = t.Small;
}

void TqlrHTMLTagsList::SetDefaults(gui::TColor defColor, int defSize, const gui::TFontStyles& defStyle)
{
    DefColor = Color = defColor;
    DefSize = Size = defSize;
    DefStyle = Style = defStyle;
    AddY = 0;
    DontWRAP = false;
    Position = 1;
    Clear();
}

const TqlrHTMLTag* TqlrHTMLTagsList::PreviousTag() const
{
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
        if (!it->empty()) return &it->back();
    return nullptr;
}

void TqlrHTMLTagsList::RecordCharTag()
{
    if (Items.empty()) BeginLine();
    TqlrHTMLTag t;
    t.Position = Position;
    t.Size = Size;
    t.Style = Style;
    t.Color = Color;
    t.AddY = AddY;
    t.DontWRAP = DontWRAP;
    if (AllowTags) {
        if (const TqlrHTMLTag* p = PreviousTag())
            t.Default = p->Style == Style && p->Color == Color && p->Size == Size && p->AddY == AddY &&
                        p->DontWRAP == DontWRAP;
        else
            t.Default = Style == DefStyle && Color == DefColor && Size == DefSize;
    } else {
        t.Default = true;
    }
    t.Small = Size != DefSize;
    Items.back().push_back(t);
}

void TqlrHTMLTagsList::ExpandHTMLTags(std::u16string& s)
{
    std::size_t i = 1;  // 1-based
    auto at = [&s](std::size_t k) -> char16_t { return s[k - 1]; };
    while (i <= s.size()) {
        std::size_t tagLength = 0;
        if (AllowTags && at(i) == u'<') {
            const std::size_t len = s.size();
            const std::u16string up = UpperText(s);
            auto keywordAt = [&](std::u16string_view keyword, std::size_t where) {
                return Pos16(keyword, up) == static_cast<int>(where);
            };
            if (len >= i + 2 && at(i + 2) == u'>') {
                switch (Upper(at(i + 1))) {
                case u'B': Style.Include(gui::TFontStyle::fsBold); tagLength = 3; break;
                case u'I': Style.Include(gui::TFontStyle::fsItalic); tagLength = 3; break;
                case u'U': Style.Include(gui::TFontStyle::fsUnderline); tagLength = 3; break;
                default: break;
                }
            } else if (len >= i + 4 && at(i + 4) == u'>') {
                if (keywordAt(u"SUB>", i + 1)) {
                    Size = Round(DefSize / 1.5L);
                    AddY = 1;
                    tagLength = 5;
                } else if (keywordAt(u"SUP>", i + 1)) {
                    Size = Round(DefSize / 1.5L);
                    AddY = 0;
                    tagLength = 5;
                }
            } else if (len >= i + 7 && Upper(at(i + 1)) == u'N') {
                if (keywordAt(u"NOWRAP>", i + 1)) {
                    DontWRAP = true;
                    tagLength = 8;
                }
            } else if (len >= i + 1 && Upper(at(i + 1)) == u'S') {
                if (keywordAt(u"STRIKE>", i + 1)) {
                    Style.Include(gui::TFontStyle::fsStrikeOut);
                    tagLength = 8;
                }
            } else if (len >= i + 1 && at(i + 1) == u'/') {
                if (len >= i + 3 && at(i + 3) == u'>') {
                    switch (Upper(at(i + 2))) {
                    case u'B': Style.Exclude(gui::TFontStyle::fsBold); tagLength = 4; break;
                    case u'I': Style.Exclude(gui::TFontStyle::fsItalic); tagLength = 4; break;
                    case u'U': Style.Exclude(gui::TFontStyle::fsUnderline); tagLength = 4; break;
                    default: break;
                    }
                } else if (keywordAt(u"STRIKE>", i + 2)) {
                    Style.Exclude(gui::TFontStyle::fsStrikeOut);
                    tagLength = 9;
                } else if (keywordAt(u"NOWRAP>", i + 2)) {
                    DontWRAP = false;
                    tagLength = 9;
                } else if (keywordAt(u"FONT>", i + 2)) {
                    Color = DefColor;
                    tagLength = 7;
                } else if (keywordAt(u"SUB>", i + 2) || keywordAt(u"SUP>", i + 2)) {
                    Size = DefSize;
                    AddY = 0;
                    tagLength = 6;
                }
            } else if (keywordAt(u"FONT COLOR", i + 1)) {
                std::size_t eq = s.find(u'=', i + 10);
                std::size_t close = eq == std::u16string::npos ? eq : s.find(u'>', eq);
                if (close != std::u16string::npos) {
                    std::size_t v = eq + 1;
                    while (v < close && s[v] == u' ') ++v;
                    std::string value = rtl::UTF16ToUTF8(s.substr(v, close - v));
                    gui::TColor color = 0;
                    bool ok = false;
                    if (value.size() > 3 && value[0] == '"' && value[1] == '#' && value.back() == '"') {
                        int rgb = rtl::StrToInt("$" + value.substr(2, value.size() - 3));
                        color = static_cast<gui::TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
                        ok = true;
                    } else if (!value.empty()) {
                        ok = ColorByName("cl" + value, color);
                    }
                    if (ok) {
                        Color = color;
                        tagLength = close + 1 - (i - 1);
                    }
                }
            }
        }
        if (tagLength > 0) {
            s.erase(i - 1, tagLength);
            Position += static_cast<int>(tagLength);
        } else {
            RecordCharTag();
            ++i;
            ++Position;
        }
    }
    if (s.empty()) {
        RecordCharTag();
        s = u" ";
    }
}

void TqlrHTMLTagsList::SplitLine(int count, bool hyphen)
{
    TqlrHTMLTags& p = Items.back();
    if (static_cast<int>(p.size()) <= count) return;
    TqlrHTMLTags q(p.begin() + count, p.end());
    p.resize(static_cast<std::size_t>(count));
    if (hyphen) {
        TqlrHTMLTag t;
        t.Assign(p.back());
        p.push_back(t);
    } else if (!q.empty() && q.front().Default) {
        q.front().Assign(p.back());
    }
    Items.push_back(std::move(q));
}

void TqlrHTMLTagsList::SplitLines(const std::vector<std::pair<int, bool>>& splits)
{
    if (splits.empty()) return;
    TqlrHTMLTags source = std::move(Items.back());
    Items.pop_back();
    std::size_t offset = 0;
    TqlrHTMLTag first;  // the (possibly re-assigned) first tag of the rest
    bool firstChanged = false;
    for (const auto& [count, hyphen] : splits) {
        const std::size_t rest = source.size() - offset;
        if (rest <= static_cast<std::size_t>(count)) break;
        TqlrHTMLTags line(source.begin() + static_cast<std::ptrdiff_t>(offset),
                          source.begin() + static_cast<std::ptrdiff_t>(offset + count));
        if (firstChanged && !line.empty()) line.front() = first;
        offset += static_cast<std::size_t>(count);
        firstChanged = false;
        if (hyphen) {
            TqlrHTMLTag t;
            t.Assign(line.back());
            line.push_back(t);
        } else if (source[offset].Default) {
            first = source[offset];
            first.Assign(line.back());
            firstChanged = true;
        }
        Items.push_back(std::move(line));
    }
    TqlrHTMLTags last(source.begin() + static_cast<std::ptrdiff_t>(offset), source.end());
    if (firstChanged && !last.empty()) last.front() = first;
    Items.push_back(std::move(last));
}

int TqlrHTMLTagsList::MeasureCharWidths(const std::u16string& line, std::vector<int>& widths, bool cumulative,
                                        int spacing, int tagLine, gui::TCanvas& canvas)
{
    const int n = static_cast<int>(line.size());
    widths.assign(static_cast<std::size_t>(n), 0);
    if (n == 0) return 0;
    const TqlrHTMLTags* tags = tagLine >= 0 && tagLine < Count() ? &Items[static_cast<std::size_t>(tagLine)] : nullptr;
    auto tagAt = [&](int j) -> const TqlrHTMLTag* {
        return tags && j < static_cast<int>(tags->size()) ? &(*tags)[static_cast<std::size_t>(j)] : nullptr;
    };
    if (const TqlrHTMLTag* t = tagAt(0); t && !t->Default) canvas.Font()->SetStyle(t->Style);
    std::vector<int> extents;
    gui::GetTextExtentExPoint(canvas, line, extents);
    int total = 0;
    for (int j = 0; j < n; ++j) {
        const TqlrHTMLTag* t = tagAt(j);
        if (j > 0 && t && !t->Default) {
            canvas.Font()->SetStyle(t->Style);
            gui::GetTextExtentExPoint(canvas, line, extents);
        }
        int w = extents[static_cast<std::size_t>(j)] - (j > 0 ? extents[static_cast<std::size_t>(j - 1)] : 0) + spacing;
        if (t && t->Small) w = Round(w / 1.5L);
        widths[static_cast<std::size_t>(j)] = w;
        total += w;
    }
    if (cumulative)
        for (int j = 1; j < n; ++j) widths[static_cast<std::size_t>(j)] += widths[static_cast<std::size_t>(j - 1)];
    return total;
}

// --- hyphenation ---------------------------------------------------------------------

std::vector<int> HyphenPositions(const std::u16string& w)
{
    std::vector<int> result;
    const int len = static_cast<int>(w.size());
    if (len < 4) return result;
    auto W = [&w](int k) { return w[static_cast<std::size_t>(k - 1)]; };
    for (int i = 1; i <= len; ++i) {
        bool candidate = false;
        if (In(W(i), kConsonants)) {
            candidate = i == len || (!In(W(i + 1), kVowels) && !In(W(i + 1), kSigns));
        } else if (In(W(i), kVowels)) {
            candidate = (i == len || W(i + 1) != u'Й') &&
                        !(i < len - 2 && In(W(i + 1), kConsonants) && W(i + 2) == W(i + 1) && In(W(i + 3), kVowels));
        }
        if (!candidate) continue;
        std::u16string_view all(w);
        if (ContainsVowel(all.substr(0, static_cast<std::size_t>(i))) &&
            ContainsVowel(all.substr(static_cast<std::size_t>(i), 255)))
            result.push_back(i);
    }
    return result;
}

std::u16string FindHyphenPoint(const std::u16string& s, int from, int upto, int n)
{
    int end = n;  // last character of the word
    for (int k = upto; k <= n; ++k)
        if (std::u16string_view(u" .,-;").find(s[static_cast<std::size_t>(k - 1)]) != std::u16string_view::npos) {
            end = k - 1;
            break;
        }
    if (end < from) return u"";
    std::u16string word = s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(end - from + 1));
    const int fits = upto - from;
    std::vector<int> positions = HyphenPositions(UpperText(word));
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        if (*it < fits) return word.substr(0, static_cast<std::size_t>(*it));
    return u"";
}

void SpreadIncrements(std::vector<int>& a, int lo, int hi, int step, int n)
{
    if (n <= 0) return;
    int h = std::max(1, (hi - lo + 1) / 2);
    if (n == 1) {
        a[static_cast<std::size_t>(lo + h - 1)] += step;
        return;
    }
    SpreadIncrements(a, lo, lo + h - 1, step, n / 2);
    SpreadIncrements(a, lo + h, hi, step, n - n / 2);
}

// --- the layout object ------------------------------------------------------------------

TqlrDrawText::TqlrDrawText() : FBMP(std::make_unique<gui::TBitmap>(1, 1)), FCanvas(FBMP->Canvas()) {}

TqlrDrawText::~TqlrDrawText() = default;

void TqlrDrawText::Lock()
{
    DrawTextMutex().lock();
}

void TqlrDrawText::Unlock()
{
    DrawTextMutex().unlock();
}

TqlrDrawText& SharedDrawText()
{
    static TqlrDrawText shared;
    return shared;
}

void TqlrDrawText::SetFont(const gui::TFont* font)
{
    FFontSize = font->Size();
    gui::TFont* f = FCanvas->Font();
    if (f->Name() != font->Name()) f->SetName(font->Name());
    int height = -Round(FFontSize * 600.0L / 72.0L);
    if (f->Height() != height) f->SetHeight(height);
    if (f->Style() != font->Style()) f->SetStyle(font->Style());
    if (f->Charset() != font->Charset()) f->SetCharset(font->Charset());
    if (f->Color() != font->Color()) f->SetColor(font->Color());
}

void TqlrDrawText::SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped,
                              bool wysiwyg, int rotation)
{
    FWordWrap = wordWrap;
    FHTMLTags.AllowTags = htmlTags;
    FRTLReading = rtlReading;
    FWordBreak = wordBreak;
    FWysiwyg = wysiwyg;
    FOptions = (rtlReading ? gui::ETO_RTLREADING : 0) | (clipped ? gui::ETO_CLIPPED : 0);
    FRotation = rotation % 360;
}

void TqlrDrawText::SetGaps(long double paragraphGap, long double charSpacing, long double lineSpacing)
{
    FParagraphGap = paragraphGap;
    FCharSpacing = charSpacing;
    FLineSpacing = lineSpacing;
}

void TqlrDrawText::SetDimensions(long double scaleX, long double scaleY, long double printScale,
                                 const gui::TRect& originalRect, const gui::TRect& scaledRect)
{
    FScaleX = scaleX;
    FScaleY = scaleY;
    FPrintScale = printScale;
    FOriginalRect = originalRect;
    FScaledRect = scaledRect;
}

void TqlrDrawText::AddLine(const std::u16string& line)
{
    FText.push_back(line);
    FFlags.push_back(0);
}

void TqlrDrawText::SetText(const std::vector<std::u16string>& text)
{
    std::lock_guard<std::recursive_mutex> guard(DrawTextMutex());
    FPlainText.clear();
    FText.clear();
    FFlags.clear();
    FHTMLTags.Clear();
    if (text.empty()) return;
    gui::TFont* f = FCanvas->Font();
    FHTMLTags.SetDefaults(f->Color(), FFontSize, f->Style());
    const gui::TFontStyles savedStyle = f->Style();
    int rot = FRotation;
    bool turned = (rot >= 90 && rot <= 179) || (rot >= 270 && rot <= 359);
    long double w = turned ? FOriginalRect.Height() : FOriginalRect.Width();
    for (std::u16string line : text) {
        if (line.empty()) line = u" ";
        FPlainText += line + u"\r\n";
        std::size_t before = FText.size();
        WrapSourceLine(line, Round(kScale * w), Round(kScale * (w - FParagraphGap)), Round(kScale * FCharSpacing));
        if (FText.size() > before) {
            FFlags[before] |= 1;
            FFlags.back() |= 2;
        }
    }
    f->SetStyle(savedStyle);
}

void TqlrDrawText::WrapSourceLine(const std::u16string& source, int fullWidth, int firstWidth, int spacing)
{
    FHTMLTags.BeginLine();
    std::u16string s = source;
    FHTMLTags.ExpandHTMLTags(s);
    FHTMLTags.Position += 2;
    const int n = static_cast<int>(s.size());
    const int tagLine = FHTMLTags.Count() - 1;
    if (n < 2 || !FWordWrap) {
        AddLine(s);
        const TqlrHTMLTags& tags = FHTMLTags.LineAt(tagLine);
        if (!tags.empty() && !tags.front().Default) FCanvas->Font()->SetStyle(tags.front().Style);
        return;
    }
    std::vector<int>& c = FWidths;
    int total = FHTMLTags.MeasureCharWidths(s, c, true, spacing, tagLine, *FCanvas);
    if (total < firstWidth) {
        AddLine(s);
        return;
    }
    auto C = [&c](int k) { return c[static_cast<std::size_t>(k - 1)]; };
    // The tags of the whole line: splitting moves tags between lines but
    // never changes a tag's DontWRAP, so the blank rule reads them here;
    // the splits are made in one pass at the end.
    const TqlrHTMLTags tagsOfLine = FHTMLTags.Items.back();
    std::vector<std::pair<int, bool>> splits;
    auto split = [&splits](int count, bool hyphen) { splits.emplace_back(count, hyphen); };
    auto sub = [&s](int from, int to) {  // 1-based, inclusive
        return to < from ? std::u16string() : s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
    };
    int start = 1, b = 1, d = 0, limit = firstWidth;
    int i = 1;
    while (i <= n) {
        if (s[static_cast<std::size_t>(i - 1)] == u' ') {
            bool noWrap = FHTMLTags.AllowTags && i - 1 < static_cast<int>(tagsOfLine.size()) &&
                          tagsOfLine[static_cast<std::size_t>(i - 1)].DontWRAP;
            if (!noWrap) b = i;
        }
        if (C(i) - d <= limit) {
            ++i;
            continue;
        }
        std::u16string line;
        if (b != start && FWordBreak) {
            std::u16string h = FindHyphenPoint(s, b + 1, i, n);
            line = h.empty() ? sub(start, b - 1) : sub(start, b) + h + u"-";
            int m = static_cast<int>(h.size()) + (b - start) + 1;
            split(m, !h.empty());
            if (!h.empty()) b = start + m - 1;
        } else if (b != start) {
            line = sub(start, b - 1);
            split(b - start + 1, false);
        } else if (i == start) {
            line = sub(start, start);
            split(1, false);
        } else if (FWordBreak) {
            std::u16string h = FindHyphenPoint(s, start, i, n);
            bool hyphen = !h.empty();
            if (hyphen) line = h + u"-";
            else line = h = sub(start, i - 1);
            split(static_cast<int>(h.size()), hyphen);
            b = start + static_cast<int>(h.size()) - 1;
        } else {
            line = sub(start, i - 1);
            split(i - start, false);
            b = i - 1;
        }
        AddLine(line);
        d = C(b);
        start = b + 1;
        b = start;
        limit = fullWidth;
        i = start;
    }
    FHTMLTags.SplitLines(splits);
    if (start <= n) AddLine(sub(start, n));
}

void TqlrDrawText::SetParaBreaks(bool firstParaBreak, bool lastParaBreak)
{
    if (FText.empty()) return;
    if (firstParaBreak) FFlags.front() &= ~1;
    if (lastParaBreak) FFlags.back() &= ~2;
}

long double TqlrDrawText::TextHeight() const
{
    return -static_cast<long double>(FCanvas->Font()->Height()) / kScale;
}

long double TqlrDrawText::CalcHeight() const
{
    if (FText.empty()) return 0;
    long double h = (TextHeight() + FLineSpacing) * static_cast<long double>(FText.size());
    if (FLineSpacing < 0) h -= FLineSpacing;
    return h;
}

long double TqlrDrawText::CalcWidth()
{
    if (FText.empty()) return 0;
    std::lock_guard<std::recursive_mutex> guard(DrawTextMutex());
    gui::TFont* f = FCanvas->Font();
    const gui::TFontStyles saved = f->Style();
    int widest = 0;
    std::vector<int> ext;
    for (std::size_t li = 0; li < FText.size(); ++li) {
        const std::u16string& line = FText[li];
        int w = 0;
        TqlrHTMLTags* tags = li < FHTMLTags.Items.size() ? &FHTMLTags.Items[li] : nullptr;
        if (FHTMLTags.AllowTags && tags && !tags->empty()) {
            std::size_t runStart = 0;
            for (std::size_t j = 0; j <= line.size(); ++j) {
                bool change = j == line.size() || (j > 0 && j < tags->size() && !(*tags)[j].Default);
                if (j == 0 && !tags->empty() && !(*tags)[0].Default) {
                    f->SetStyle((*tags)[0].Style);
                    (*tags)[0].Default = true;
                }
                if (!change) continue;
                if (j > runStart) {
                    gui::GetTextExtentExPoint(*FCanvas, std::u16string_view(line).substr(runStart, j - runStart), ext);
                    w += ext.back();
                }
                if (j < line.size()) {
                    f->SetStyle((*tags)[j].Style);
                    (*tags)[j].Default = true;
                }
                runStart = j;
            }
        } else {
            gui::GetTextExtentExPoint(*FCanvas, line, ext);
            if (!ext.empty()) w = ext.back();
        }
        w += Round(kScale * static_cast<long double>(line.size()) * FCharSpacing);
        if (FFlags[li] & 1) w += Round(kScale * FParagraphGap);
        widest = std::max(widest, w);
    }
    f->SetStyle(saved);
    return widest / kScale;
}

int TqlrDrawText::FitLines() const
{
    long double lh = TextHeight() + FLineSpacing;
    if (lh <= 0) return static_cast<int>(FText.size());
    return static_cast<int>(std::trunc((FOriginalRect.Bottom - FOriginalRect.Top + 1) / lh));
}

long double TqlrDrawText::UnusedSpace() const
{
    int f = FitLines();
    if (f == 0) return 0;
    long double r = (FOriginalRect.Bottom - FOriginalRect.Top + 1) - f * (TextHeight() + FLineSpacing);
    return r == 0 ? 0.0001L : r;
}

std::u16string TqlrDrawText::GetOutBoundsText(bool& paraBreak)
{
    paraBreak = false;
    std::u16string result;
    if (FText.empty()) return result;
    int f = std::min(FitLines(), static_cast<int>(FText.size()));
    if (f >= FHTMLTags.Count()) return result;
    const TqlrHTMLTag tag = FHTMLTags.Items[static_cast<std::size_t>(f)].empty()
                                ? TqlrHTMLTag{}
                                : FHTMLTags.Items[static_cast<std::size_t>(f)].front();
    FText.resize(static_cast<std::size_t>(f));
    FFlags.resize(static_cast<std::size_t>(f));
    FHTMLTags.Items.resize(static_cast<std::size_t>(f));
    paraBreak = f > 0 && !(FFlags[static_cast<std::size_t>(f - 1)] & 2);
    std::size_t p = static_cast<std::size_t>(std::max(1, tag.Position));
    if (p - 1 < FPlainText.size()) result = FPlainText.substr(p - 1);
    if (paraBreak && !result.empty() && result[0] == u' ') result.erase(0, 1);
    FPlainText.resize(std::min(FPlainText.size(), p - 1));
    if (FWordBreak && f > 0) {
        const std::u16string& last = FText.back();
        if (last.size() > 2 && last.back() == u'-') FPlainText += u"-";
    }
    if (FHTMLTags.AllowTags) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02X%02X%02X", tag.Color & 0xFF, (tag.Color >> 8) & 0xFF, (tag.Color >> 16) & 0xFF);
        std::u16string prefix = u"<font color=\"#" + rtl::UTF8ToUTF16(buf) + u"\">";
        if (tag.Style.Contains(gui::TFontStyle::fsUnderline)) prefix += u"<u>";
        if (tag.Style.Contains(gui::TFontStyle::fsItalic)) prefix += u"<i>";
        if (tag.Style.Contains(gui::TFontStyle::fsBold)) prefix += u"<b>";
        result = prefix + result;
    }
    return result;
}

std::u16string TqlrDrawText::GetWrappedText() const
{
    std::u16string r;
    for (std::size_t i = 0; i < FText.size(); ++i) {
        if (i) r += u"\r\n";
        r += FText[i];
    }
    return r;
}

std::u16string TqlrDrawText::DeleteTags(std::u16string txt)
{
    TqlrHTMLTagsList scratch = FHTMLTags;
    scratch.BeginLine();
    scratch.ExpandHTMLTags(txt);
    return txt;
}

// --- drawing -----------------------------------------------------------------------------

void TqlrDrawText::PlaceTextBlock(TqlrVAlign vAlign, int h, int& x, int& y, int& wd, double& cosA, double& sinA)
{
    int rot = ((FRotation % 360) + 360) % 360;
    FRotation = rot;
    const gui::TRect& r = FScaledRect;
    const double rad = rot * M_PI / 180.0;
    double c = std::cos(rad), s = std::sin(rad);
    double ac = std::fabs(c), as = std::fabs(s);
    int wr = ac > 1e-12 ? Round(((r.Right - r.Left) - h * as) / ac) : r.Right - r.Left;
    int m = 0;
    double dc = c, ds = s;  // direction of the vertical alignment
    if (rot == 0) {
        x = r.Left; y = r.Top; wd = r.Right - r.Left; m = r.Bottom - r.Top;
    } else if (rot < 90) {
        x = r.Left; wd = wr; y = r.Top + Round(wd * as); m = r.Bottom - y - Round(h * ac) + h; dc = 1; ds = 0;
    } else if (rot == 90) {
        x = r.Left; y = r.Bottom; wd = r.Bottom - r.Top; m = r.Right - r.Left;
    } else if (rot < 180) {
        wd = wr; x = r.Left + Round(wd * ac); y = r.Bottom; m = (r.Bottom - r.Top) - Round(h * ac + wd * as) + h; dc = -1; ds = 0;
    } else if (rot == 180) {
        x = r.Right; y = r.Bottom; wd = r.Right - r.Left; m = r.Bottom - r.Top;
    } else if (rot < 270) {
        wd = wr; x = r.Right; y = r.Bottom - Round(wd * as); m = y - r.Top - Round(h * ac) + h; dc = -1; ds = 0;
    } else if (rot == 270) {
        x = r.Right; y = r.Top; wd = r.Bottom - r.Top; m = r.Right - r.Left;
    } else {
        wd = wr; x = r.Left + Round(h * as); y = r.Top; m = (r.Bottom - r.Top) - Round(wd * as + h * ac) + h; dc = 1; ds = 0;
    }
    if (vAlign == TqlrVAlign::vaBottom) {
        y += Round((m - h) * dc);
        x += Round((m - h) * ds);
    } else if (vAlign == TqlrVAlign::vaCenter) {
        y += Round((m - h) * dc / 2);
        x += Round((m - h) * ds / 2);
    }
    cosA = c;
    sinA = s;
}

void TqlrDrawText::DrawText(gui::TCanvas* canvas, TqlrHAlign hAlign, TqlrVAlign vAlign)
{
    if (FText.empty() || FHTMLTags.Count() == 0) return;
    std::lock_guard<std::recursive_mutex> guard(DrawTextMutex());
    const bool printer = canvas->IsPrinterCanvas();
    int ppiY = canvas->GetDeviceCaps(gui::LOGPIXELSY);
    if (ppiY <= 0) ppiY = 96;
    auto outHeight = [&](int size) {
        return printer ? -Round(size * ppiY * FPrintScale / 72.0L) : -Round(size * FScaleY * 96.0L / 72.0L);
    };
    gui::TFont* lf = FCanvas->Font();
    gui::TFont* of = canvas->Font();
    of->SetName(lf->Name());
    of->SetCharset(lf->Charset());
    of->SetStyle(lf->Style());
    of->SetColor(lf->Color());
    of->SetHeight(outHeight(FFontSize));
    TqlrHTMLTag& first = FHTMLTags.Items.front().front();
    if (!first.Default) {
        of->SetStyle(first.Style);
        of->SetColor(first.Color);
        of->SetHeight(outHeight(first.Size));
        first.Default = true;
    }
    const int oldOrientation = of->Orientation();
    if (FRotation != 0) of->SetOrientation(FRotation * 10);

    const int n = static_cast<int>(FText.size());
    const int ho = -of->Height();
    const int hl = -lf->Height();
    int H;
    if (printer) {
        long double q = 600.0L / ppiY / FPrintScale;
        H = Round((FLineSpacing * FScaleY * q * n + static_cast<long double>(hl) * n) / q);
    } else {
        long double q = kScale;
        H = Round((FLineSpacing * q * n + static_cast<long double>(hl) * n) / q * FScaleY);
    }
    int D = FWysiwyg ? H - (Round(FLineSpacing * FScaleY) * n + ho * n) : 0;

    int x = 0, y = 0, wd = 0;
    double c = 1, s = 0;
    PlaceTextBlock(vAlign, H, x, y, wd, c, s);

    std::vector<int> g(static_cast<std::size_t>(std::max(0, n - 1)), Round(FLineSpacing * FScaleY) + ho);
    if (n > 1 && D != 0) {
        int sign = D > 0 ? 1 : -1, ad = std::abs(D);
        if (ad < n) {
            SpreadIncrements(g, 0, n - 2, sign, ad);
        } else {
            for (int& v : g) v += (ad / (n - 1)) * sign;
            SpreadIncrements(g, 0, n - 2, sign, ad % (n - 1));
        }
    }
    canvas->SetBkMode(gui::TRANSPARENT);
    for (int i = 0; i < n; ++i) {
        int flags = FFlags[static_cast<std::size_t>(i)];
        int e = (flags & 1) && (hAlign == TqlrHAlign::haLeft || hAlign == TqlrHAlign::haBlock)
                    ? Round(FParagraphGap * FScaleX) : 0;
        TqlrHAlign a = hAlign;
        if ((flags & 2) && hAlign == TqlrHAlign::haBlock) a = FRTLReading ? TqlrHAlign::haRight : TqlrHAlign::haLeft;
        PaintLine(canvas, i, a, wd - e, y, x + e, c, s);
        if (i < n - 1) {
            y += Round(g[static_cast<std::size_t>(i)] * c);
            x += Round(g[static_cast<std::size_t>(i)] * s);
        }
    }
    of->SetOrientation(oldOrientation);
}

void TqlrDrawText::PaintLine(gui::TCanvas* canvas, int index, TqlrHAlign align, int wd, int y, int x, double c,
                             double s)
{
    const std::u16string& line = FText[static_cast<std::size_t>(index)];
    if (line.empty()) return;
    const bool printer = canvas->IsPrinterCanvas();
    gui::TFont* of = canvas->Font();
    const gui::TFontStyles outStyle = of->Style();
    FCanvas->Font()->SetStyle(outStyle);
    std::vector<int> layoutWidths, w;
    int spacingL = Round(FCharSpacing * kScale);
    int sl = FHTMLTags.MeasureCharWidths(line, layoutWidths, false, spacingL, index, *FCanvas) - spacingL;
    int spacingO = Round(FCharSpacing * FScaleX);
    int wo = FHTMLTags.MeasureCharWidths(line, w, false, spacingO, index, *canvas) - spacingO;
    of->SetStyle(outStyle);
    int ppiX = canvas->GetDeviceCaps(gui::LOGPIXELSX);
    if (ppiX <= 0) ppiX = 96;
    int v = printer ? Round(sl * FPrintScale / (600.0L / ppiX)) : Round(sl / kScale * FScaleX);
    if (!FWysiwyg) v = wo;
    int D = v - wo;
    const bool rotated = FRotation != 0;
    switch (align) {
    case TqlrHAlign::haRight:
        x += Round((wd - v + 1) * c) - 1;
        y -= Round((wd - v + 1) * s);
        if (!rotated && (of->Style().Contains(gui::TFontStyle::fsBold) || of->Style().Contains(gui::TFontStyle::fsItalic)))
            --x;
        break;
    case TqlrHAlign::haCenter:
        x += Round((wd - v) / 2.0 * c);
        y -= Round((wd - v) / 2.0 * s);
        break;
    default:
        break;
    }
    const int units = static_cast<int>(w.size());
    const std::vector<int> natural = FWysiwyg ? std::vector<int>() : w;  // the font's own advances
    int blanks = 0;
    if (align == TqlrHAlign::haBlock) {
        for (char16_t ch : line)
            if (ch == u' ' || ch == 0xA0) ++blanks;
        if (blanks > 0) D = std::abs(wd) - wo;
    }
    if (D != 0) {
        int sign = D > 0 ? 1 : -1, ad = std::abs(D);
        if (align == TqlrHAlign::haBlock && blanks > 0) {
            int extra = ad % blanks, k = 0;
            for (int j = 0; j < units; ++j) {
                char16_t ch = line[static_cast<std::size_t>(j)];
                if (ch != u' ' && ch != 0xA0) continue;
                w[static_cast<std::size_t>(j)] += (ad / blanks) * sign + (k < extra ? sign : 0);
                ++k;
            }
        } else if (ad < units) {
            SpreadIncrements(w, 0, units - 1, sign, ad);
        } else {
            for (int& v2 : w) v2 += (ad / units) * sign;
            SpreadIncrements(w, 0, units - 1, sign, ad % units);
        }
    }
    // Output in runs of equal attributes.  A run goes out in one call, its
    // letters evenly spaced over the width the advances w give it (the
    // font's own advances without WYSIWYG); justified text goes out a word
    // (with its blanks) at a time, each word where w puts it.  Spacing
    // between the letters and right-to-left reading place every character
    // by w itself.
    TqlrHTMLTags& tags = FHTMLTags.Items[static_cast<std::size_t>(index)];
    auto lift = [&](const TqlrHTMLTag& t) { return Round(t.AddY * t.Size * FScaleY); };
    int liftY = tags.empty() ? 0 : lift(tags.front());
    const gui::TRect* clip = (FOptions & gui::ETO_CLIPPED) ? &FScaledRect : nullptr;
    const bool perCharacter = spacingO != 0 || (FOptions & gui::ETO_RTLREADING);
    const bool byWord = FWysiwyg && align == TqlrHAlign::haBlock && blanks > 0;
    auto blank = [&line](int k) {
        const char16_t ch = line[static_cast<std::size_t>(k)];
        return ch == u' ' || ch == 0xA0;
    };
    auto writePieces = [&](int from, int to) {
        int along = 0;
        for (int a = from; a < to;) {
            int b = to;
            if (byWord) {
                b = a + 1;
                while (b < to && !blank(b - 1)) ++b;
                while (b < to && blank(b)) ++b;
            }
            int span = 0;
            for (int k = a; k < b; ++k) span += (FWysiwyg ? w : natural)[static_cast<std::size_t>(k)];
            gui::ExtTextOutSpanning(*canvas, x + Round(along * c) + Round(liftY * s),
                                    y - Round(along * s) + Round(liftY * c), FOptions, clip,
                                    std::u16string_view(line).substr(static_cast<std::size_t>(a),
                                                                     static_cast<std::size_t>(b - a)),
                                    span);
            for (int k = a; k < b; ++k) along += w[static_cast<std::size_t>(k)];
            a = b;
        }
    };
    int runStart = 0;
    for (int j = 1; j <= units; ++j) {
        bool change = j == units || (j < static_cast<int>(tags.size()) && !tags[static_cast<std::size_t>(j)].Default);
        if (!change) continue;
        if (perCharacter) {
            std::u16string_view run = std::u16string_view(line).substr(static_cast<std::size_t>(runStart),
                                                                       static_cast<std::size_t>(j - runStart));
            gui::ExtTextOut(*canvas, x + Round(liftY * s), y + Round(liftY * c), FOptions, clip, run,
                            FWysiwyg ? &w[static_cast<std::size_t>(runStart)] : nullptr);
        } else {
            writePieces(runStart, j);
        }
        if (j == units) break;
        int r = 0;
        for (int k = runStart; k < j; ++k) r += w[static_cast<std::size_t>(k)];
        TqlrHTMLTag& t = tags[static_cast<std::size_t>(j)];
        t.Default = true;
        of->SetHeight(printer ? -Round(t.Size * ppiX * FPrintScale / 72.0L) : -Round(t.Size * FScaleY * 96.0L / 72.0L));
        of->SetStyle(t.Style);
        of->SetColor(t.Color);
        liftY = lift(t);
        if (!rotated) x += r;
        else {
            x += Round(r * c);
            y -= Round(r * s);
        }
        runStart = j;
    }
}

} // namespace qlr
