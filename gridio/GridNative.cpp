// GridFiles: the native text file and stream, the ASCII table and
// CellToReal.
#include <algorithm>
#include <charconv>

#include "gridio/GridFiles.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"

namespace gridio {

// ------------------------------------------------------------- progress

int TProgressReporter::Percent(int64_t r, int64_t d)
{
    if (d <= 0) d = 1;
    const bool neg = r < 0;
    const int64_t n = 100 * (neg ? -r : r);
    int64_t q = n / d;
    const int64_t rem2 = 2 * (n % d);
    if (rem2 > d || (rem2 == d && (q & 1))) ++q;
    return static_cast<int>(neg ? -q : q);
}

void TProgressReporter::Report(int64_t r, int64_t d)
{
    if (!FEvent) return;
    const int p = Percent(r, d);
    if (p == FLast) return;
    FLast = p;
    FEvent(FSender, static_cast<int16_t>(p));
}

namespace {

// Leading blanks, a sign, then decimal digits or hexadecimal ones after
// "$", "x" or "0x"; reading stops at the first character that does not fit.
int LenientNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    int64_t v = 0;
    bool stopped = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else {
            stopped = true;
            break;
        }
        v = std::min<int64_t>(v * base + d, INT32_MAX);
    }
    // A number cut short keeps its digits but not its sign.
    return static_cast<int>(neg && !stopped ? -v : v);
}

// UTF-16 LE code units of the text followed by 13 10.
void WriteWideLine(rtl::TStream& stream, std::string_view line)
{
    std::u16string units = rtl::UTF8ToUTF16(line);
    units += u"\r\n";
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// Code units up to the first 13; the 13 and the unit after it are dropped.
// False at the end of the stream.
bool ReadWideLine(rtl::TStream& stream, std::string& line)
{
    std::u16string units;
    uint8_t b[2];
    bool any = false;
    while (stream.Read(b, 2) == 2) {
        any = true;
        const char16_t u = static_cast<char16_t>(b[0] | (b[1] << 8));
        if (u == 13) {
            stream.Read(b, 2);
            break;
        }
        units.push_back(u);
    }
    line = rtl::UTF16ToUTF8(units);
    return any;
}

std::string CellLine(int c, int r, const std::string& text)
{
    return std::to_string(c) + "," + std::to_string(r) + "," + gridbase::EncodeCellLineBreaks(text);
}

// The lines of a text as the ASCII export measures them: split at CR, an
// LF right after it dropped.
std::vector<std::string> CellLines(std::string text, bool multiLine)
{
    std::vector<std::string> lines;
    do {
        lines.push_back(gridbase::CutFirstLine(text, true));
    } while (multiLine && !text.empty());
    return lines;
}

} // namespace

void TGridFiles::FinishLoad()
{
    FGrid.CellsChanged(gui::TRect{0, 0, FGrid.ColCount(), FGrid.RowCount()});
    FGrid.CalcFooter(-1);
}

// --------------------------------------------------------- native text file

void TGridFiles::SaveToFile(const std::string& fileName, bool unicode)
{
    const int h = Hidden();
    std::vector<std::string> lines;
    lines.push_back(std::to_string(FGrid.SaveColCount() + h) + "," + std::to_string(FGrid.SaveRowCount()));
    const int c0 = FGrid.SaveStartCol(), c1 = FGrid.SaveEndCol() + h;
    for (int i = c0; i <= c1; ++i) {
        const int w = i < FGrid.ColCount() ? FGrid.ColWidths(i) : FGrid.DefaultColWidth();
        lines.push_back("cw " + std::to_string(i) + "," + std::to_string(w));
    }
    TProgressReporter progress(OnFileProgress, &FGrid);
    const int r0 = FGrid.SaveStartRow(), r1 = FGrid.SaveEndRow();
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = r0; r <= r1; ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            // With hidden cells saved every stored column goes out by its
            // storage index; otherwise the shown columns in shown order.
            const std::string t = SaveText(h > 0 ? c : FGrid.DisplayToRealCol(c), r);
            if (!t.empty()) lines.push_back(CellLine(c, r, t));
        }
        progress.Report(r, std::max(1, FGrid.SaveRowCount() - 1));
    }
    Export(grid::TGridExportState::esExportDone, -1);
    rtl::WriteTextFileLines(fileName, lines,
                            unicode ? rtl::TTextFileEncoding::tfeUTF16LE : rtl::TTextFileEncoding::tfeAnsi);
}

void TGridFiles::LoadFromFile(const std::string& fileName)
{
    const std::vector<std::string> lines = rtl::ReadTextFileLines(fileName);
    TProgressReporter progress(OnFileProgress, &FGrid);
    for (size_t k = 0; k < lines.size(); ++k) {
        std::string line = lines[k];
        if (k == 0) {
            if (line.empty()) continue;
            const int f = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
            const int g = FGrid.SaveFixedCells() ? 0 : FGrid.FixedRows();
            const size_t comma = line.find(',');
            const int nc = LenientNumber(line.substr(0, comma));
            const int nr = comma == std::string::npos ? 0 : LenientNumber(line.substr(comma + 1));
            FGrid.SetColCount(std::max(f + nc, f + 1));
            FGrid.SetRowCount(std::max(g + nr, g + 1));
            continue;
        }
        if (line.rfind("cw", 0) == 0) {
            const std::string rest = line.size() > 3 ? line.substr(3) : std::string();
            const size_t comma = rest.find(',');
            const int i = LenientNumber(rest.substr(0, comma));
            const int w = comma == std::string::npos ? 0 : LenientNumber(rest.substr(comma + 1, 255));
            if (i >= 0 && i < FGrid.ColCount()) FGrid.SetColWidths(i, w);
            continue;
        }
        const int c = LenientNumber(gridbase::CutLeadingField(line, ","));
        const int r = LenientNumber(gridbase::CutLeadingField(line, ","));
        if (c >= 0 && c < FGrid.ColCount() && r >= 0 && r < FGrid.RowCount())
            FGrid.LoadCellText(c, r, gridbase::DecodeCellLineBreaks(line, FGrid.Multilinecells()));
        progress.Report(r, std::max(1, FGrid.RowCount() - 1));
    }
    FinishLoad();
}

// ------------------------------------------------------- native text stream

void TGridFiles::SaveToStream(rtl::TStream& stream)
{
    WriteWideLine(stream, std::to_string(FGrid.SaveColCount()) + "," + std::to_string(FGrid.SaveRowCount()));
    for (int i = 0; i < FGrid.ColCount(); ++i)
        WriteWideLine(stream, "cw " + std::to_string(i) + "," + std::to_string(FGrid.ColWidths(i)));
    const int c0 = FGrid.SaveStartCol(), r0 = FGrid.SaveStartRow();
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = r0; r <= FGrid.SaveEndRow(); ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
        for (int c = c0; c <= FGrid.SaveEndCol(); ++c) {
            const std::string t = SaveText(FGrid.DisplayToRealCol(c), r);
            if (!t.empty()) WriteWideLine(stream, CellLine(c - c0, r - r0, t));
        }
    }
    Export(grid::TGridExportState::esExportDone, -1);
}

void TGridFiles::LoadFromStream(rtl::TStream& stream)
{
    std::string line;
    int64_t pos = stream.Position();
    if (ReadWideLine(stream, line)) {
        if (!line.empty()) {
            const int c0 = FGrid.SaveStartCol(), r0 = FGrid.SaveStartRow();
            const size_t comma = line.find(',');
            const int nc = rtl::StrToInt(line.substr(0, comma));
            const int nr = rtl::StrToInt(comma == std::string::npos ? std::string() : line.substr(comma + 1));
            FGrid.SetColCount(std::max(1, nc + c0));
            FGrid.SetRowCount(std::max(1, nr + r0));
        }
        for (;;) {
            pos = stream.Position();
            if (!ReadWideLine(stream, line)) break;
            if (line.rfind("cw", 0) == 0) {
                std::string rest = line.substr(std::min<size_t>(3, line.size()));
                const size_t comma = rest.find(',');
                const int i = rtl::StrToInt(rest.substr(0, comma));
                const int w = rtl::StrToInt(comma == std::string::npos ? std::string() : rest.substr(comma + 1));
                if (i >= 0 && i < FGrid.ColCount()) FGrid.SetColWidths(i, w);
                continue;
            }
            const std::string cf = gridbase::CutLeadingField(line, ",");
            if (cf.empty()) {
                stream.SetPosition(pos);
                break;
            }
            const int c = rtl::StrToInt(cf);
            const std::string rf = gridbase::CutLeadingField(line, ",");
            if (rf.empty()) {
                stream.SetPosition(pos);
                break;
            }
            const int r = rtl::StrToInt(rf);
            const int tc = FGrid.SaveStartCol() + c, tr = FGrid.SaveStartRow() + r;
            if (tc >= 0 && tc < FGrid.AllColCount() && tr >= 0 && tr < FGrid.RowCount())
                FGrid.LoadCellText(tc, tr, gridbase::DecodeCellLineBreaks(line, FGrid.Multilinecells()));
        }
    }
    FinishLoad();
}

// ------------------------------------------------------------ ASCII table

std::vector<int> TGridFiles::ColumnTextWidths(int fromCol, int toCol, bool realIndex)
{
    std::vector<int> widths;
    for (int c = fromCol; c <= toCol; ++c) {
        const int rc = realIndex ? c : FGrid.DisplayToRealCol(c);
        int w = 0;
        for (int r = 0; r < FGrid.RowCount(); ++r)
            for (const std::string& l : CellLines(SaveText(rc, r), FGrid.Multilinecells()))
                w = std::max(w, rtl::UTF8Length(l));
        widths.push_back(w);
    }
    return widths;
}

void TGridFiles::WriteASCII(const std::string& fileName, bool unicode, bool append)
{
    std::vector<std::string> lines;
    if (append && rtl::FileExists(fileName)) lines = rtl::ReadTextFileLines(fileName);
    auto write = [&] {
        Export(grid::TGridExportState::esExportDone, -1);
        rtl::WriteTextFileLines(fileName, lines,
                                unicode ? rtl::TTextFileEncoding::tfeUTF16LE : rtl::TTextFileEncoding::tfeAnsi);
    };
    try {
        // Hidden columns saved: every stored column by its storage index;
        // otherwise the shown columns in shown order.
        const bool hidden = Hidden() > 0;
        const int c0 = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
        const int c1 = hidden ? FGrid.AllColCount() - 1 : FGrid.ColCount() - 1;
        const int r0 = FGrid.SaveFixedCells() ? 0 : FGrid.FixedRows();
        // One integer per column: long lines and wide grids keep their alignment.
        const std::vector<int> widths = ColumnTextWidths(c0, c1, hidden);
        Export(grid::TGridExportState::esExportStart, -1);
        for (int r = r0; r < FGrid.RowCount(); ++r) {
            Export(grid::TGridExportState::esExportNewRow, r);
            std::string main;
            std::vector<std::string> more;
            size_t offset = 0;
            for (int c = c0; c <= c1; ++c) {
                const int rc = hidden ? c : FGrid.DisplayToRealCol(c);
                const int w = widths[c - c0];
                const auto align = static_cast<gui::TAlignment>(FGrid.ResolveCellAlignment(rc, r) & 0xFF);
                auto aligned = [&](std::string t) {
                    int len = rtl::UTF8Length(t);
                    if (align == gui::TAlignment::taRightJustify) {
                        if (len < w) t.insert(0, static_cast<size_t>(w - len), ' ');
                    } else if (align == gui::TAlignment::taCenter) {
                        const int pad = len < w ? (w - len + 1) / 2 : 0;
                        t = std::string(pad, ' ') + t + std::string(pad, ' ');
                    }
                    return t;
                };
                const std::string t = SaveText(rc, r);
                std::vector<std::string> parts =
                    t.find("\r\n") != std::string::npos && FGrid.Multilinecells()
                        ? CellLines(t, true)
                        : std::vector<std::string>{t.substr(0, t.find("\r\n"))};
                for (size_t k = 1; k < parts.size(); ++k) {
                    if (more.size() < k) more.emplace_back();
                    std::string& cl = more[k - 1];
                    const size_t have = static_cast<size_t>(rtl::UTF8Length(cl));
                    if (have < offset) cl.append(offset - have, ' ');
                    cl += aligned(parts[k]);
                }
                std::string a = aligned(parts[0]);
                const int len = rtl::UTF8Length(a);
                if (len <= w) a.append(static_cast<size_t>(w - len + 1), ' ');
                main += a;
                offset += static_cast<size_t>(w) + 1;
            }
            lines.push_back(std::move(main));
            for (std::string& l : more) lines.push_back(std::move(l));
        }
    } catch (...) {
        write();
        throw;
    }
    write();
}

// ----------------------------------------------------------------- numbers

double TGridFiles::CellToReal(int aCol, int aRow)
{
    const std::string text = FGrid.GetCellText(aCol, aRow);
    if (text.empty()) return 0.0;
    const std::string num = gridbase::ExtractNumberText(text);
    const char* first = num.data();
    const char* last = num.data() + num.size();
    const bool plus = first != last && *first == '+';
    double value = 0.0;
    const auto res = std::from_chars(first + (plus ? 1 : 0), last, value);
    if (num.empty() || res.ec != std::errc() || res.ptr != last) {
        const size_t at = res.ec == std::errc() ? static_cast<size_t>(res.ptr - first) : (plus ? 1 : 0);
        throw grid::ZEziDoroZezuz("Error at position: " + std::to_string(at + 1) + " in Cell [" +
                                  std::to_string(aCol) + ", " + std::to_string(aRow) + "].");
    }
    return value;
}

} // namespace gridio
