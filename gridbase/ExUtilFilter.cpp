// ExUtil: filter conditions.  A condition is evaluated strictly left to
// right without precedence ("a|b&c" is (a or b) and c); parentheses group.
// Nothing here keeps state, and no condition, however malformed, raises or
// fails to end; a wildcard pattern takes time polynomial in the lengths of
// pattern and text, however many "*" it holds.
#include <cmath>
#include <vector>

#include "gridbase/ExUtil.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

constexpr size_t cMaxOperandChars = 255;

bool IsOperatorChar(char c) { return c == '(' || c == ';' || c == '^' || c == '&' || c == '|'; }

// The first operator character outside double quotes, or npos.
size_t FindOperator(std::string_view c)
{
    bool quoted = false;
    for (size_t i = 0; i < c.size(); ++i) {
        if (c[i] == '"') quoted = !quoted;
        else if (!quoted && IsOperatorChar(c[i])) return i;
    }
    return std::string_view::npos;
}

// The first n characters (code points) of s.
std::string_view FirstChars(std::string_view s, size_t n)
{
    size_t i = 0;
    for (size_t k = 0; k < n && i < s.size(); ++k) rtl::NextUTF8(s, i);
    return s.substr(0, i);
}

// The operand of a comparison whose operator character stands at opPos.
std::string ReadOperand(std::string_view cond, size_t opPos, bool& inclusive)
{
    size_t i = opPos + 1;
    inclusive = i < cond.size() && cond[i] == '=';
    if (inclusive) ++i;
    while (i < cond.size() && cond[i] == ' ') ++i;
    const size_t start = i;
    bool quoted = false;
    for (; i < cond.size(); ++i) {
        const char c = cond[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == ' ' || c == '&' || c == '|')) break;
    }
    std::string_view op = cond.substr(start, i - start);
    if (!op.empty() && op.front() == '"') op.remove_prefix(1);
    if (!op.empty() && op.back() == '"') op.remove_suffix(1);
    return std::string(FirstChars(op, cMaxOperandChars));
}

// Number reading: thousand separators dropped, the decimal separator read
// as ".", the whole text a floating-point number, and not a date.
bool ReadNumber(std::string_view text, long double& value)
{
    const char thousand = rtl::FormatSettings().ThousandSeparator;
    const char decimal = rtl::FormatSettings().DecimalSeparator;
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        if (c == thousand) continue;
        plain += c == decimal ? '.' : c;
    }
    if (!rtl::TryStrToFloat(plain, value)) return false;
    rtl::TDateTime dt = 0;
    return !ParseDateTimeText(text, dt);
}

// A date-time as a number that grows with the calendar also before 1899,
// where the day count is negative and the time of day is added to its
// absolute value.
double ChronologicalKey(rtl::TDateTime dt)
{
    if (dt >= 0) return dt;
    const double day = std::trunc(dt);
    return day + (day - dt);
}

template <typename T>
int Sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// value against operand: numbers, then date-times, then text (UTF-16 code
// units, at most 255 of them, a prefix before the longer text).
int CompareWithOperand(std::string_view value, std::string_view operand)
{
    long double a = 0, b = 0;
    if (ReadNumber(value, a) && ReadNumber(operand, b)) return Sign(a, b);
    rtl::TDateTime da = 0, db = 0;
    if (ParseDateTimeText(value, da) && ParseDateTimeText(operand, db))
        return Sign(ChronologicalKey(da), ChronologicalKey(db));
    std::u16string wa = rtl::UTF8ToUTF16(value), wb = rtl::UTF8ToUTF16(operand);
    if (wa.size() > cMaxOperandChars) wa.resize(cMaxOperandChars);
    if (wb.size() > cMaxOperandChars) wb.resize(cMaxOperandChars);
    return Sign(wa, wb);
}

// One simple condition against a text, decided with memory.  What follows a
// "*" is matched as a whole simple condition against every later part of
// the text, shortest first; the answer for a pattern position and a text
// position never changes, so each "*" remembers how far down the text it
// has been tried and the last position where its rest matched.  Every pair
// of positions is so decided at most once, and a pattern with n "*" costs
// at most n passes over the text instead of time growing as 2^n.
class SimpleMatcher {
public:
    SimpleMatcher(std::string_view pattern, std::string_view text) : pattern_(pattern), text_(text) {}

    // The condition from pattern position p against the text from t.
    bool Match(size_t p, size_t t)
    {
        const std::string_view condition = pattern_.substr(p), value = text_.substr(t);
        const size_t gt = condition.find('>'), lt = condition.find('<');
        // A "!" before a comparison negates the comparison as a whole.
        if (!condition.empty() && condition[0] == '!' &&
            (gt != std::string_view::npos || lt != std::string_view::npos))
            return !Match(p + 1, t);
        bool inclusive = false;
        if (gt != std::string_view::npos) {
            const int cmp = CompareWithOperand(value, ReadOperand(condition, gt, inclusive));
            if (cmp > 0 || (inclusive && cmp == 0)) return true;
        }
        if (lt != std::string_view::npos) {
            const int cmp = CompareWithOperand(value, ReadOperand(condition, lt, inclusive));
            if (cmp < 0 || (inclusive && cmp == 0)) return true;
        }
        return MatchWildcard(p, t);
    }

private:
    // What a "*" whose rest starts at a pattern position has learnt: the
    // text positions from tried on have been tried, and with found the
    // rest matched at lastMatch (the largest such position).
    struct StarMemo {
        size_t tried;
        size_t lastMatch;
        bool found;
    };

    // Does the rest from pattern position p match the text from some
    // character start s >= t (or from the end)?
    bool RestMatchesFrom(size_t p, size_t t)
    {
        if (memo_.empty()) memo_.assign(pattern_.size() + 1, StarMemo{text_.size() + 1, 0, false});
        // Match(p, s) only reaches "*" further on in the pattern, so this
        // entry is never changed underneath.
        StarMemo& m = memo_[p];
        if (m.found) return t <= m.lastMatch;
        while (m.tried > t) {
            const size_t s = --m.tried;
            if (s < text_.size() && (static_cast<unsigned char>(text_[s]) & 0xC0) == 0x80) continue;
            if (Match(p, s)) {
                m.found = true;
                m.lastMatch = s;
                return true;
            }
        }
        return false;
    }

    bool MatchWildcard(size_t p, size_t t)
    {
        const std::string_view pattern = pattern_, text = text_;
        if (p >= pattern.size() && t >= text.size()) return true;
        bool negate = false, match = true;
        auto sameChar = [&](size_t& pp) {  // the character at pp against the one at t
            size_t pe = pp, te = t;
            rtl::NextUTF8(pattern, pe);
            rtl::NextUTF8(text, te);
            if (pattern.substr(pp, pe - pp) != text.substr(t, te - t)) return false;
            pp = pe;
            t = te;
            return true;
        };
        while (match && !(p >= pattern.size() && t >= text.size())) {
            if (p >= pattern.size()) {
                match = false;  // text left over
                break;
            }
            const char c = pattern[p];
            if (c == '!') {
                negate = true;
                ++p;
            } else if (c == '"') {
                ++p;
            } else if (c == '?') {
                if (t >= text.size()) {
                    match = false;
                } else {
                    rtl::NextUTF8(text, t);
                    ++p;
                }
            } else if (c == '*') {
                while (p < pattern.size() && pattern[p] == '*') ++p;
                match = RestMatchesFrom(p, t);
                p = pattern.size();
                t = text.size();
            } else if (t >= text.size()) {
                match = false;
            } else if (c == '\\') {
                ++p;
                if (p >= pattern.size()) {
                    // A "\" with nothing after it stands for itself.
                    match = text[t] == '\\';
                    ++t;
                } else {
                    match = sameChar(p);
                }
            } else {
                match = sameChar(p);
            }
        }
        const bool result = match && p >= pattern.size() && t >= text.size();
        return negate ? !result : result;
    }

    std::string_view pattern_, text_;
    std::vector<StarMemo> memo_;  // by pattern position; empty until a "*" is met
};

bool EvaluateSimple(std::string_view simple, std::string_view value, std::string_view upperValue,
                    bool caseSensitive)
{
    if (caseSensitive) return MatchSimpleCondition(simple, value);
    return MatchSimpleCondition(rtl::AnsiUpperCase(simple), upperValue);
}

bool Combine(bool accumulated, bool piece, char previous)
{
    switch (previous) {
    case 0: return piece;
    case '&': return accumulated && piece;
    case '(': return accumulated;
    default: return accumulated || piece;  // ';' '^' '|'
    }
}

bool Evaluate(std::string_view condition, std::string_view value, std::string_view upperValue,
              bool caseSensitive)
{
    std::string c = RemoveUnquotedSpaces(rtl::Trim(condition));
    if (!c.empty() && c[0] == '=') c.erase(0, 1);
    bool accumulated = true;
    char previous = 0;
    for (size_t p = FindOperator(c); p != std::string::npos; p = FindOperator(c)) {
        bool piece = false;
        char op = 0;
        if (c[0] == '(') {
            // The group closes where as many ")" as "(" have been read; a
            // missing ")" is taken as standing at the end.
            int open = 0, closed = 0;
            size_t end = std::string::npos;
            for (size_t i = 0; i < c.size(); ++i) {
                if (c[i] == '(') ++open;
                else if (c[i] == ')' && ++closed == open) {
                    end = i;
                    break;
                }
            }
            const std::string inner = end == std::string::npos ? c.substr(1) : c.substr(1, end - 1);
            piece = Evaluate(inner, value, upperValue, caseSensitive);
            c.erase(0, end == std::string::npos ? c.size() : end + 1);
            op = '(';
        } else {
            piece = EvaluateSimple(std::string_view(c).substr(0, p), value, upperValue, caseSensitive);
            op = c[p];
            c.erase(0, p + 1);
        }
        accumulated = Combine(accumulated, piece, previous);
        previous = op;
    }
    return Combine(accumulated, EvaluateSimple(c, value, upperValue, caseSensitive), previous);
}

} // namespace

std::string RemoveUnquotedSpaces(std::string_view text)
{
    std::string r;
    r.reserve(text.size());
    int quotes = 0;
    for (char c : text) {
        if (c == '"') ++quotes;
        if (c != ' ' || quotes % 2 == 1) r += c;
    }
    return r;
}

bool MatchSimpleCondition(std::string_view condition, std::string_view value)
{
    return SimpleMatcher(condition, value).Match(0, 0);
}

bool MatchFilterCondition(std::string_view condition, std::string_view value, bool caseSensitive)
{
    const std::string upperValue = caseSensitive ? std::string() : rtl::AnsiUpperCase(value);
    return Evaluate(condition, value, upperValue, caseSensitive);
}

bool ParseDateTimeText(std::string_view text, rtl::TDateTime& dateTime)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    const char sep = fs.DateSeparator;
    const size_t s1 = text.find(sep);
    if (s1 == std::string_view::npos) return false;
    const size_t s2 = text.find(sep, s1 + 1);
    if (s2 == std::string_view::npos) return false;
    int32_t parts[3] = {0, 0, 0};
    if (!rtl::TryStrToInt(text.substr(0, s1), parts[0]) ||
        !rtl::TryStrToInt(text.substr(s1 + 1, s2 - s1 - 1), parts[1]))
        return false;
    const std::string rest = rtl::Trim(text.substr(s2 + 1));
    const size_t space = rest.find(' ');
    if (!rtl::TryStrToInt(std::string_view(rest).substr(0, space), parts[2])) return false;

    // The order of day, month and year follows the short date format.
    const std::string fmt = rtl::UpperCase(fs.ShortDateFormat);
    const size_t pos[3] = {fmt.find('D'), fmt.find('M'), fmt.find('Y')};
    int day = 0, month = 0, year = 0;
    int* fields[3] = {&day, &month, &year};
    for (int k = 0; k < 3; ++k) {
        int rank = 0;
        for (int j = 0; j < 3; ++j)
            if (pos[j] < pos[k] || (pos[j] == pos[k] && j < k)) ++rank;
        *fields[k] = parts[rank];
    }
    if (day > 31 || month > 12) return false;

    int hour = 0, minute = 0, second = 0;
    if (space != std::string::npos) {
        const std::string timeText = rtl::Trim(std::string_view(rest).substr(space));
        const size_t t1 = timeText.find(fs.TimeSeparator);
        if (t1 == std::string::npos) return false;
        const size_t t2 = timeText.find(fs.TimeSeparator, t1 + 1);
        std::string_view h = std::string_view(timeText).substr(0, t1);
        std::string_view m = t2 == std::string::npos ? std::string_view(timeText).substr(t1 + 1)
                                                     : std::string_view(timeText).substr(t1 + 1, t2 - t1 - 1);
        std::string_view s = t2 == std::string::npos ? std::string_view("0") : std::string_view(timeText).substr(t2 + 1);
        int32_t hv = 0, mv = 0, sv = 0;
        if (!rtl::TryStrToInt(h, hv) || !rtl::TryStrToInt(m, mv) || !rtl::TryStrToInt(s, sv)) return false;
        if (hv > 23 || mv > 59 || sv > 59) return false;
        hour = hv;
        minute = mv;
        second = sv;
    }
    rtl::TDateTime date = 0, time = 0;
    if (!rtl::TryEncodeDate(year, month, day, date) || !rtl::TryEncodeTime(hour, minute, second, 0, time))
        return false;
    dateTime = date >= 0 ? date + time : date - time;
    return true;
}

} // namespace gridbase
