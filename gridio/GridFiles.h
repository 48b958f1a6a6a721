// GridFiles: the string grid's own text files and exports, a companion that
// acts on one TExStringGrid: the native text file and stream, the ASCII
// table, CSV and fixed-width files, HTML and XML, and CellToReal.  (The
// binary cell stream is GridBinary.h.)
//
// Every writer takes a cell's text from the grid's save text
// (SaveCellText: OnSaveCell and the display rules), every reader stores
// through LoadCellText (OnLoadCell), and readers finish with CellsChanged
// over the whole grid and a footer recount.
//
// The rule a caller must know: readers never clear the grid; cells a file
// does not mention keep their text.  Cells that would land outside the grid
// are skipped.
//
//   gridio::TGridFiles files(*grid);
//   files.OnFileProgress = [](rtl::TObject*, int16_t p) { ... };
//   files.SaveToCSV("/tmp/a.csv", false);
//   files.LoadFromCSV("/tmp/a.csv", -1);
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "grid/ExGrid.h"
#include "platform/rtl/Streams.h"

namespace gridio {

using TFileProgressEvent = std::function<void(rtl::TObject* sender, int16_t progress)>;

// Round(100 * r / d) with halves to even, fired only when it changes.
class TProgressReporter {
public:
    TProgressReporter(const TFileProgressEvent& ev, rtl::TObject* sender) : FEvent(ev), FSender(sender) {}
    static int Percent(int64_t r, int64_t d);
    void Report(int64_t r, int64_t d);

private:
    const TFileProgressEvent& FEvent;
    rtl::TObject* FSender;
    int FLast = -1;
};

class TGridFiles {
public:
    explicit TGridFiles(grid::TExStringGrid& grid) : FGrid(grid) {}

    // --- native text file and stream (GridNative.cpp) ---------------------
    void SaveToFile(const std::string& fileName, bool unicode);
    void LoadFromFile(const std::string& fileName);
    // UTF-16 LE lines ended by 13 10 at the stream's position.
    void SaveToStream(rtl::TStream& stream);
    // Leaves the stream at the first line that is not grid data; a
    // malformed number raises EConvertError, cells read before it stay.
    void LoadFromStream(rtl::TStream& stream);

    // --- ASCII table and numbers (GridNative.cpp) ---------------------------
    void SaveToASCII(const std::string& fileName, bool unicode) { WriteASCII(fileName, unicode, false); }
    void AppendToASCII(const std::string& fileName, bool unicode) { WriteASCII(fileName, unicode, true); }
    // The cell's number; 0 for an empty cell; ZEziDoroZezuz
    // "Error at position: p in Cell [c, r]." for a text that is no number.
    double CellToReal(int aCol, int aRow);

    // --- HTML (GridHTML.cpp) ---------------------------------------------------
    // The document after the grid's HTMLSettings; dir (ending with "/" or
    // empty) is where cell pictures would go.
    std::string SaveToHTMLString(const std::string& dir);
    // Replaces the file ("Cannot Create file <name>" when it cannot); with
    // show or HTMLSettings.AutoPreview opens it with the shell.
    void SaveToHTML(const std::string& fileName, bool show) { WriteHTML(fileName, show, false); }
    // Adds the document behind the file's content (creating the file).
    void AppendToHTML(const std::string& fileName) { WriteHTML(fileName, false, true); }

    // --- XML (GridXML.cpp) -------------------------------------------------------
    // A flat list of records, one element per non-empty field (empty ones
    // too with exportEmptyCells); fields named by fieldDescr, else FIELDi.
    void SaveToXML(const std::string& fileName, const std::string& listDescr, const std::string& recordDescr,
                   const std::vector<std::string>* fieldDescr, bool exportEmptyCells);
    // Records from the document element's children: attributes and leaf
    // elements become cells; levelToRow gives every nesting level's
    // attributes a row of their own.  "XML file not found", "XMLDOM Parsing
    // error ..." before anything is stored.
    void LoadFromXML(const std::string& fileName, bool levelToRow);

    // --- CSV and fixed width (GridCSV.cpp) -----------------------------------
    void SaveToCSV(const std::string& fileName, bool unicode) { WriteCSV(fileName, unicode, false); }
    // The file must exist.
    void AppendToCSV(const std::string& fileName, bool unicode) { WriteCSV(fileName, unicode, true); }
    // maxRows > 0 limits the rows read.  "File is empty" for a file without lines.
    void LoadFromCSV(const std::string& fileName, int maxRows) { ReadCSV(fileName, maxRows, false); }
    void InsertFromCSV(const std::string& fileName, int maxRows) { ReadCSV(fileName, maxRows, true); }
    // widths: one field width per saved column; missing ones are added
    // (longest text + 1).
    void SaveToFixed(const std::string& fileName, std::vector<int>& widths);
    // positions: 1-based field starts, N positions giving N - 1 fields;
    // maxRows -1 reads all lines.
    void LoadFromFixed(const std::string& fileName, std::vector<int> positions, bool doTrim, int maxRows);

    // Fields converted to and from the OEM code page.
    bool OemConvert = false;
    TFileProgressEvent OnFileProgress;

    // The delimiter a CSV reader picks for the first two lines: one of
    // , ; # TAB | @ * - + &, or '\0' when none fits.
    static char DetectDelimiter(const std::string& line1, const std::string& line2);
    // The widest line of each exported column (widths in characters).
    std::vector<int> ColumnTextWidths(int fromCol, int toCol, bool realIndex);

private:
    void WriteHTML(const std::string& fileName, bool show, bool append);
    std::string HTMLCellStyle(int aCol, int aRow, bool header);
    std::string HTMLCellContent(int aCol, int aRow, bool header);
    bool FHTMLNoWrap = false;
    bool FHTMLHeaderWritten = false;
    // Cell pictures of the HTML export: written as JPEG files below
    // FHTMLDir + "images/", numbered over the whole document.
    std::string HTMLCellPictures(int realCol, int aRow, std::string text);
    std::string HTMLImageTag(const gui::TGraphic& graphic);
    std::string FHTMLDir;
    int FHTMLImageCount = 0;
    void WriteASCII(const std::string& fileName, bool unicode, bool append);
    void WriteCSV(const std::string& fileName, bool unicode, bool append);
    void ReadCSV(const std::string& fileName, int maxRows, bool insert);
    int Hidden() const { return FGrid.SaveHiddenCells() ? FGrid.NumHiddenColumns() : 0; }
    std::string SaveText(int aCol, int aRow)
    {
        std::string t;
        FGrid.SaveCellText(aCol, aRow, t);
        return t;
    }
    void FinishLoad();
    void Export(grid::TGridExportState s, int aRow) { FGrid.ExportNotification(s, aRow); }

    grid::TExStringGrid& FGrid;
};

} // namespace gridio
