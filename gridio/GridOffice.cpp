// GridOffice: spreadsheet, document and database exchange by late binding.
#include "gridio/GridOffice.h"

#include "gridio/OfficeServers.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/OleClasses.h"

namespace gridio {

using rtl::Variant;
using TArgs = std::vector<Variant>;

namespace {

Variant Get(const Variant& obj, const std::string& name, const TArgs& args = {})
{
    return obj.AsDispatch()->GetProperty(name, args);
}

Variant Call(const Variant& obj, const std::string& name, const TArgs& args = {})
{
    return obj.AsDispatch()->Call(name, args);
}

void Put(const Variant& obj, const std::string& name, const Variant& value)
{
    obj.AsDispatch()->SetProperty(name, {}, value);
}

// The hourglass while an office operation runs; the previous cursor after.
class THourGlass {
public:
    THourGlass()
    {
        if (gui::Screen) {
            FSaved = gui::Screen->Cursor();
            gui::Screen->SetCursor(gui::crHourGlass);
        }
    }
    ~THourGlass()
    {
        if (gui::Screen) gui::Screen->SetCursor(FSaved);
    }

private:
    gui::TCursor FSaved = gui::crDefault;
};

// A server instance: the running one when asked for and registered, else a
// new one (created is then true).
Variant Server(const std::string& progID, const std::string& notFound, bool running, bool& created)
{
    Variant app;
    created = false;
    if (running && rtl::GetActiveOleObject(progID, app)) return app;
    try {
        app = rtl::CreateOleObject(progID);
    } catch (const rtl::Exception&) {
        throw grid::ZEziDoroZezuz(notFound);
    }
    created = true;
    return app;
}

void QuitQuietly(const Variant& app)
{
    try {
        Call(app, "Quit");
    } catch (const rtl::Exception&) {
    }
}

} // namespace

std::vector<std::string> TGridOffice::GetXLSSheets(const std::string& fileName)
{
    THourGlass wait;
    bool created = false;
    const Variant app = Server("excel.application", "Excel OLE server not found", false, created);
    std::vector<std::string> names;
    try {
        const Variant book = Call(Get(app, "WorkBooks"), "Open", {fileName});
        const Variant sheets = Get(book, "WorkSheets");
        const int n = Get(sheets, "Count").AsInteger();
        for (int i = 1; i <= n; ++i) names.push_back(Get(Call(sheets, "item", {i}), "Name").AsString());
        Put(book, "Saved", true);
    } catch (...) {
        QuitQuietly(app);
        throw;
    }
    Call(app, "Quit");
    return names;
}

void TGridOffice::LoadXLS(const std::string& fileName, const std::string& sheetName)
{
    THourGlass wait;
    bool created = false;
    const Variant app = Server("excel.application", "Excel OLE server not found", false, created);
    auto finish = [&] {
        FGrid.CellsChanged(gui::TRect{0, 0, FGrid.ColCount(), FGrid.RowCount()});
        FGrid.CalcFooter(-1);
    };
    try {
        const Variant book = Call(Get(app, "WorkBooks"), "Open", {fileName});
        Variant sheet;
        if (sheetName.empty()) {
            sheet = Get(book, "ActiveSheet");
        } else {
            const int n = Get(Get(book, "Sheets"), "Count").AsInteger();
            for (int i = 1; i <= n; ++i) {
                const Variant s = Get(book, "Sheets", {i});
                if (Get(s, "Name").AsString() == sheetName) sheet = s;
            }
            if (sheet.IsEmpty()) throw grid::ZEziDoroZezuz("Excel worksheet " + sheetName + " not found");
        }
        const std::string address = Get(Get(sheet, "UsedRange"), "Address").AsString();
        gui::TRect r;
        const bool usable = ParseRangeAddress(address, r);
        if (usable) {
            const int fixedCols = FGrid.FixedCols(), fixedRows = FGrid.FixedRows();
            const bool fixed = FGrid.SaveFixedCells();
            const int ox = fixed ? 0 : fixedCols, oy = fixed ? 0 : fixedRows;
            FGrid.SetColCount(r.Right - r.Left + 1 + ox);
            FGrid.SetRowCount(r.Bottom - r.Top + 1 + oy);
            if (fixedCols < FGrid.ColCount()) FGrid.SetFixedCols(fixedCols);
            if (fixedRows < FGrid.RowCount()) FGrid.SetFixedRows(fixedRows);
            const std::string a1 = ColumnLetters(r.Left) + std::to_string(r.Top) + ":" + ColumnLetters(r.Right) +
                                   std::to_string(r.Bottom);
            const Variant values = Get(Call(sheet, "Range", {a1}), "Value");
            for (int i = 1; i <= FGrid.RowCount() - oy; ++i)
                for (int j = 1; j <= FGrid.ColCount() - ox; ++j) {
                    std::string text;
                    try {
                        const Variant e = values.GetElement({i, j});
                        if (e.IsDispatch() || e.VarType() == rtl::varError) continue;
                        text = rtl::VarToStr(e);
                    } catch (const rtl::Exception&) {
                        throw rtl::Exception("Incorrect XLS file");
                    }
                    FGrid.LoadCellText(j + ox - 1, i + oy - 1, text);
                }
        }
        Call(book, "Close", {false});
    } catch (...) {
        QuitQuietly(app);
        finish();
        throw;
    }
    Call(app, "Quit");
    finish();
}

void TGridOffice::SaveXLS(const std::string& fileName, const std::string& sheetName, bool createNewSheet)
{
    THourGlass wait;
    bool created = false;
    const Variant app = Server("excel.application", "Excel OLE server not found", true, created);
    try {
        const Variant books = Get(app, "WorkBooks");
        Variant book, sheet;
        bool opened = false;
        int startRow = 1;
        if (!sheetName.empty()) {
            try {
                opened = rtl::FileExists(fileName);
                book = opened ? Call(books, "Open", {fileName}) : Call(books, "Add");
            } catch (const rtl::Exception&) {
                opened = false;
                try {
                    book = Call(books, "Add");
                } catch (const rtl::Exception&) {
                    if (created) QuitQuietly(app);
                    return;  // no workbook to write into
                }
            }
            const Variant sheets = Get(book, "WorkSheets");
            const int n = Get(sheets, "Count").AsInteger();
            for (int i = 1; i <= n; ++i) {
                const Variant s = Call(sheets, "item", {i});
                if (Get(s, "Name").AsString() == sheetName) sheet = s;
            }
            if (sheet.IsEmpty()) {
                sheet = Call(sheets, "Add");
                Put(sheet, "Name", sheetName);
            }
        } else if (createNewSheet || Get(books, "Count").AsInteger() == 0) {
            book = Call(books, "Add");
            sheet = Call(Get(book, "WorkSheets"), "item", {1});
        } else {
            book = Get(app, "ActiveWorkBook");
            sheet = Get(book, "ActiveSheet");
            startRow = Get(Get(app, "ActiveCell"), "Row").AsInteger();
        }

        const bool fixed = FGrid.SaveFixedCells();
        const int ox = fixed ? 0 : FGrid.FixedCols(), oy = fixed ? 0 : FGrid.FixedRows();
        const int rows = FGrid.RowCount() - oy, cols = FGrid.ColCount() - ox;
        Variant values = rtl::VarArrayCreate({1, rows, 1, cols}, rtl::varVariant);
        FGrid.ExportNotification(grid::TGridExportState::esExportStart, -1);
        for (int r = oy; r < FGrid.RowCount(); ++r) {
            FGrid.ExportNotification(grid::TGridExportState::esExportNewRow, r);
            for (int c = ox; c < FGrid.ColCount(); ++c) {
                std::string t;
                FGrid.SaveCellText(FGrid.DisplayToRealCol(c), r, t);
                values.SetElement({r - oy + 1, c - ox + 1}, gridbase::RemoveCRChars(t));
            }
        }
        FGrid.ExportNotification(grid::TGridExportState::esExportDone, -1);
        const std::string address = "A" + std::to_string(startRow) + ":" + ColumnLetters(cols) +
                                    std::to_string(startRow + rows - 1);
        Put(Call(sheet, "Range", {address}), "Value", values);
        try {
            if (opened) Call(book, "Save");
            else Call(book, "SaveAs", {fileName});
        } catch (const rtl::Exception&) {
            // A workbook that cannot be saved is left as it is.
        }
    } catch (...) {
        if (created) QuitQuietly(app);
        throw;
    }
    if (created) Call(app, "Quit");
}

void TGridOffice::SaveDOC(const std::string& fileName, bool createNew, bool append, const std::string& bookmark)
{
    THourGlass wait;
    bool created = false;
    const Variant app = Server("word.application", "Word OLE server not found", true, created);
    try {
        const Variant docs = Get(app, "Documents");
        Variant doc;
        if (append) doc = Call(docs, "Open", {fileName});
        else if (createNew || Get(docs, "Count").AsInteger() == 0) doc = Call(docs, "Add");
        else doc = Get(app, "ActiveDocument");
        Put(doc, "ShowSpellingErrors", false);
        const Variant sel = Get(app, "Selection");
        Call(sel, "TypeText", {FGrid.Text()});
        Call(sel, "TypeParagraph");
        Variant place;
        if (append) {
            if (!bookmark.empty() && Call(Get(doc, "Bookmarks"), "Exists", {bookmark}).AsBoolean()) {
                place = Call(doc, "Goto", {-1, bookmark});
            } else {
                Call(Get(doc, "Paragraphs"), "Add");
                Call(sel, "Goto", {3, -1});
                const Variant end = Get(sel, "End");
                place = Call(doc, "Range", {end, end});
            }
        } else {
            place = Call(doc, "Range", {0, 0});
        }
        const int rows = FGrid.RowCount(), cols = FGrid.ColCount();
        const Variant table = Call(Get(doc, "Tables"), "Add", {place, rows, cols});
        for (int i = 1; i <= rows; ++i)
            for (int j = 1; j <= cols; ++j) {
                const int rc = FGrid.DisplayToRealCol(j - 1);
                std::string t;
                FGrid.SaveCellText(rc, i - 1, t);
                const Variant range = Get(Call(table, "Cell", {i, j}), "Range");
                Call(range, "InsertAfter", {t});
                const auto h = static_cast<gui::TAlignment>(FGrid.ResolveCellAlignment(rc, i - 1) & 0xFF);
                if (h == gui::TAlignment::taRightJustify) Put(Get(range, "ParagraphFormat"), "Alignment", 2);
                else if (h == gui::TAlignment::taCenter) Put(Get(range, "ParagraphFormat"), "Alignment", 1);
            }
        Call(doc, "SaveAs", {fileName});
    } catch (...) {
        if (created) QuitQuietly(app);
        throw;
    }
    if (created) Call(app, "Quit");
}

void TGridOffice::LoadFromMDBSQL(const std::string& fileName, const std::string& sql)
{
    const Variant conn = rtl::CreateOleObject("ADODB.Connection");
    Call(conn, "Open", {"Driver={Microsoft Access Driver (*.mdb)};DBQ=" + fileName});
    const Variant rs = rtl::CreateOleObject("ADODB.RecordSet");
    Put(rs, "ActiveConnection", conn);
    Call(rs, "Open", {sql});
    const int n = Get(Get(rs, "Fields"), "Count").AsInteger();
    const int fc = FGrid.FixedCols(), fr = FGrid.FixedRows();
    FGrid.SetColCount(n + fc);
    if (fr > 0)
        for (int i = 0; i < n; ++i) FGrid.SetCellText(i + fc, fr - 1, Get(Get(rs, "Fields", {i}), "Name").AsString());
    const int count = Get(rs, "RecordCount").AsInteger();
    if (count > 0) FGrid.SetRowCount(fr + count);
    int r = fr;
    while (!Get(rs, "Eof").AsBoolean()) {
        if (r >= FGrid.RowCount()) FGrid.SetRowCount(r + 1);
        for (int i = 0; i < n; ++i) {
            const Variant f = Get(rs, "Fields", {i});
            FGrid.LoadCellText(i + fc, r, Get(f, "ActualSize").AsInteger() > 0 ? rtl::VarToStr(Get(f, "Value")) : "");
        }
        Call(rs, "MoveNext");
        ++r;
    }
    Call(rs, "Close");
    Call(conn, "Close");
}

} // namespace gridio
