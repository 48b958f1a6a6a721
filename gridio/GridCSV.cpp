// GridFiles: CSV and fixed-width files.
#include <algorithm>

#include "gridio/GridFiles.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"

namespace gridio {

namespace {

constexpr char kCandidates[] = {',', ';', '#', '\t', '|', '@', '*', '-', '+', '&'};

bool Has(const std::string& s, char c) { return s.find(c) != std::string::npos; }

// Byte offset of character index i (0-based) in UTF-8 text.
size_t CharOffset(std::string_view s, int i)
{
    size_t at = 0;
    while (at < s.size() && i > 0) {
        ++at;
        while (at < s.size() && (static_cast<uint8_t>(s[at]) & 0xC0) == 0x80) ++at;
        --i;
    }
    return at;
}

std::string CharSub(std::string_view s, int from, int count)
{
    const size_t a = CharOffset(s, from);
    const size_t b = a + CharOffset(s.substr(a), count);
    return std::string(s.substr(a, b - a));
}

// The records of a CSV text.  A quoted field may hold line breaks, as other
// programs write them; its quotes, doubled inside, always come in pairs, so
// a line with an odd number of quotes goes on in the next line.  The break
// joins the two as the cell's own line break.  The grid's own files keep
// their breaks as character 11 inside a line and are not touched.
std::vector<std::string> JoinQuotedLineBreaks(const std::vector<std::string>& lines)
{
    std::vector<std::string> records;
    records.reserve(lines.size());
    bool open = false;
    for (const std::string& l : lines) {
        const bool odd = std::count(l.begin(), l.end(), '"') % 2 == 1;
        if (open) records.back() += "\r\n" + l;
        else records.push_back(l);
        open = open != odd;
    }
    return records;
}

} // namespace

char TGridFiles::DetectDelimiter(const std::string& l1, const std::string& l2)
{
    char found = '\0';
    int best = 0;
    for (char d : kCandidates) {
        const int k1 = gridbase::CountClosingQuotes(d, l1), k2 = gridbase::CountClosingQuotes(d, l2);
        if (k1 == k2 && k1 > best) {
            found = d;
            best = k1;
        }
    }
    if (found) return found;
    for (char d : kCandidates) {
        const int k1 = gridbase::CountCharOccurrences(d, l1), k2 = gridbase::CountCharOccurrences(d, l2);
        if (k1 == k2 && k1 > best) {
            found = d;
            best = k1;
        }
    }
    if (found) return found;
    for (char d : kCandidates) {
        const int k1 = gridbase::CountCharOccurrences(d, l1), k2 = gridbase::CountCharOccurrences(d, l2);
        if (k1 > best || k2 > best) {
            found = d;
            best = std::max(k1, k2);
        }
    }
    return found;
}

// --------------------------------------------------------------- writing

void TGridFiles::WriteCSV(const std::string& fileName, bool unicode, bool append)
{
    std::vector<std::string> lines;
    // Appending needs the file: a missing one fails here, before anything is written.
    if (append) lines = rtl::ReadTextFileLines(fileName);
    const int h = Hidden();
    const char d = FGrid.Delimiter() ? FGrid.Delimiter() : ',';
    const bool java = FGrid.JavaCSV(), multi = FGrid.Multilinecells();
    TProgressReporter progress(OnFileProgress, &FGrid);
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = FGrid.SaveStartRow(); r <= FGrid.SaveEndRow(); ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
        std::string line;
        for (int c = FGrid.SaveStartCol(); c <= FGrid.SaveEndCol() + h; ++c) {
            if (c > FGrid.SaveStartCol()) line += d;
            std::string t = gridbase::DoubleQuoteMarks(SaveText(h > 0 ? c : FGrid.DisplayToRealCol(c), r));
            // The field goes out as OEM bytes, which the reader converts back.
            if (OemConvert) gridbase::ConvertToOem(t);
            bool quoted = false;
            if (FGrid.AlwaysQuotes() || (!Has(t, d) && Has(t, '"'))) {
                t = '"' + t + '"';
                quoted = true;
            }
            if (t.empty()) {
                if (java) t = "^";
                else if (FGrid.QuoteEmptyCells()) t = "\"\"";
            }
            if (Has(t, d) || (multi && Has(t, '\r'))) {
                if (java) {
                    gridbase::CRToTilde(t);
                    // A delimiter inside an unquoted field would split it on reading.
                    if (!quoted && Has(t, d)) t = '"' + t + '"';
                } else if (quoted) {
                    // Line breaks as character 11 here too: a bare LF would
                    // end the line when the file is read back.
                    t = rtl::StringReplace(t, "\r\n", "\v");
                } else {
                    gridbase::QuoteWithVTBreaks(t);
                }
            }
            line += t;
        }
        lines.push_back(std::move(line));
        progress.Report(r, std::max(1, FGrid.RowCount() - 1));
    }
    Export(grid::TGridExportState::esExportDone, -1);
    rtl::WriteTextFileLines(fileName, lines,
                            unicode ? rtl::TTextFileEncoding::tfeUTF16LE : rtl::TTextFileEncoding::tfeAnsi);
}

// --------------------------------------------------------------- reading

void TGridFiles::ReadCSV(const std::string& fileName, int maxRows, bool insert)
{
    const int f = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
    const int g = FGrid.SaveFixedCells() ? 0 : FGrid.FixedRows();
    const int h = Hidden();
    const std::vector<std::string> lines = JoinQuotedLineBreaks(rtl::ReadTextFileLines(fileName));
    if (lines.empty()) throw rtl::Exception("File is empty");

    int p = g;
    std::vector<std::string> footer;
    const bool keepFooter = insert && FGrid.FloatingFooter()->Visible();
    if (insert) {
        p = FGrid.RowCount();
        if (keepFooter) {
            const int last = FGrid.RowCount() - 1;
            for (int c = 0; c < FGrid.AllColCount(); ++c) footer.push_back(FGrid.GetRawCellText(c, last));
            FGrid.ResetRowCells(last);
            p = last;
        }
    }
    char d = FGrid.Delimiter();
    if (!d) d = DetectDelimiter(lines[0], lines.size() > 1 ? lines[1] : std::string());

    const size_t first = FGrid.LoadFirstRow() ? 0 : 1;
    const int j = static_cast<int>(lines.size() - first);
    if (OnFileProgress) {
        if (insert) FGrid.SetRowCount(FGrid.RowCount() + static_cast<int>(lines.size()));
        else FGrid.SetRowCount(static_cast<int>(lines.size()) + g + FGrid.FixedFooters());
    }
    auto convert = [&](std::string field) {
        if (Has(field, '"')) field = gridbase::UnescapeQuoteChar('"', field);
        if (FGrid.JavaCSV()) gridbase::TildeToCRLF(field);
        else gridbase::VTToCRLF(field);
        return field;
    };
    auto store = [&](int c, const std::string& text) {
        if (c >= FGrid.ColCount() + h) FGrid.SetColCount(c + 1 - h);
        if (c < FGrid.AllColCount() && p < FGrid.RowCount()) FGrid.LoadCellText(c, p, text);
    };
    TProgressReporter progress(OnFileProgress, &FGrid);
    int read = 0;
    for (size_t li = first; li < lines.size(); ++li) {
        if (maxRows > 0 && read >= maxRows) break;
        std::string line = lines[li];
        if (OemConvert) gridbase::ConvertFromOem(line);
        int c = f;
        if (p >= FGrid.RowCount() - FGrid.FixedFooters()) FGrid.SetRowCount(p + 1000);
        size_t k;
        while (d && (k = line.find(d)) != std::string::npos) {
            std::string field;
            if (line[0] == '"') {
                line.erase(0, 1);
                const int q = gridbase::FindClosingQuote('"', line);
                if (q > 0) {
                    field = line.substr(0, static_cast<size_t>(q - 1));
                    line.erase(0, static_cast<size_t>(q));
                }
                k = line.find(d);
                if (k == std::string::npos) {
                    line.clear();
                    store(c++, convert(field));
                    break;
                }
            } else {
                field = line.substr(0, k);
            }
            store(c++, convert(field));
            line.erase(0, k + 1);
        }
        if (!line.empty()) {
            if (line.front() == '"') line.erase(0, 1);
            if (!line.empty() && line.back() == '"') line.pop_back();
            store(c++, convert(line));
        }
        ++p;
        ++read;
        if (OnFileProgress && j >= 1) progress.Report(read, j);
    }
    FGrid.SetRowCount(std::max(p + FGrid.FixedFooters(), 1));
    if (keepFooter) {
        const int last = FGrid.RowCount() - 1;
        for (size_t c = 0; c < footer.size() && static_cast<int>(c) < FGrid.AllColCount(); ++c)
            FGrid.SetRawCellText(static_cast<int>(c), last, footer[c]);
    }
    FinishLoad();
}

// ----------------------------------------------------------- fixed width

void TGridFiles::SaveToFixed(const std::string& fileName, std::vector<int>& widths)
{
    const int h = Hidden();
    const int c0 = FGrid.SaveStartCol(), c1 = FGrid.SaveEndCol() + h;
    auto real = [&](int c) { return h > 0 ? c : FGrid.DisplayToRealCol(c); };
    for (int c = c0 + static_cast<int>(widths.size()); c <= c1; ++c) {
        int w = 0;
        for (int r = 0; r < FGrid.RowCount(); ++r) {
            std::string t = SaveText(real(c), r);
            do {
                w = std::max(w, rtl::UTF8Length(gridbase::CutFirstLine(t, true)));
            } while (FGrid.Multilinecells() && !t.empty());
        }
        widths.push_back(w + 1);
    }
    std::vector<std::string> lines;
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = FGrid.SaveStartRow(); r <= FGrid.SaveEndRow(); ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
        std::string line;
        for (int c = c0; c <= c1; ++c) {
            const int w = widths[static_cast<size_t>(c - c0)];
            std::string t = SaveText(real(c), r);
            const int len = rtl::UTF8Length(t);
            if (len > w) t = CharSub(t, 0, w);
            else t.append(static_cast<size_t>(w - len), ' ');
            line += t;
        }
        lines.push_back(std::move(line));
    }
    Export(grid::TGridExportState::esExportDone, -1);
    try {
        rtl::WriteTextFileLines(fileName, lines, rtl::TTextFileEncoding::tfeAnsi);
    } catch (const rtl::EStreamError&) {
        throw grid::ZEziDoroZezuz("Cannot Create file " + fileName);
    }
}

void TGridFiles::LoadFromFixed(const std::string& fileName, std::vector<int> positions, bool doTrim, int maxRows)
{
    std::vector<std::string> lines;
    try {
        lines = rtl::ReadTextFileLines(fileName);
    } catch (const rtl::EStreamError&) {
        throw grid::ZEziDoroZezuz("File " + fileName + " not found");
    }
    if (positions.size() < 2) return;
    std::sort(positions.begin(), positions.end());
    const int fields = static_cast<int>(positions.size()) - 1;
    FGrid.SetColCount(FGrid.FixedCols() + fields);
    int a = FGrid.SaveStartRow();
    int read = 0;
    for (size_t li = 0; li < lines.size(); ++li) {
        if (a >= FGrid.RowCount()) FGrid.SetRowCount(a + 1);
        for (int k = 0; k < fields; ++k) {
            std::string field = CharSub(lines[li], positions[k] - 1, positions[k + 1] - positions[k]);
            if (doTrim) field = rtl::Trim(field);
            const int c = FGrid.SaveStartCol() + k;
            if (c < FGrid.AllColCount()) FGrid.LoadCellText(c, a, field);
        }
        ++read;
        if (maxRows != -1 && read > maxRows) break;
        if (a + 1 >= FGrid.RowCount() && li + 1 < lines.size()) FGrid.SetRowCount(a + 2);
        ++a;
    }
    FinishLoad();
}

} // namespace gridio
