// Office exchange of the string grid through the automation stand-ins:
// range addresses, workbooks loaded and saved, document tables, database
// queries, and the errors the grid raises.
#include <gtest/gtest.h>


#include <cstdlib>

#include "platform/db/SQLiteEditTable.h"
#include "TestPaths.h"
#include "grid/ExGridDragDrop.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridOffice.h"
#include "gridio/OfficeServers.h"
#include "gridio/ZipArchive.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/OleClasses.h"

using namespace grid;
using rtl::Variant;

namespace {

Variant Get(const Variant& o, const std::string& n, const std::vector<Variant>& a = {})
{
    return o.AsDispatch()->GetProperty(n, a);
}
Variant Call(const Variant& o, const std::string& n, const std::vector<Variant>& a = {})
{
    return o.AsDispatch()->Call(n, a);
}

struct OfficeFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("office");
    OfficeFixture()
    {
        gridio::InstallGridIOHooks();
        G->SetParent(&Form);
    }
    std::string File(const std::string& name) { return (Dir / name).string(); }
    // A workbook written through the spreadsheet stand-in: cells by A1 range.
    void MakeBook(const std::string& file, const std::vector<std::pair<std::string, std::vector<std::vector<Variant>>>>& sheets)
    {
        const Variant xl = rtl::CreateOleObject("excel.application");
        const Variant book = Call(Get(xl, "WorkBooks"), "Add");
        bool first = true;
        for (const auto& [where, rows] : sheets) {
            const std::string name = where.substr(0, where.find('!'));
            const std::string range = where.substr(where.find('!') + 1);
            const Variant sheet = first ? Get(book, "ActiveSheet") : Call(Get(book, "WorkSheets"), "Add");
            first = false;
            sheet.AsDispatch()->SetProperty("Name", {}, name);
            Variant a = rtl::VarArrayCreate({1, static_cast<int>(rows.size()), 1, static_cast<int>(rows[0].size())},
                                            rtl::varVariant);
            for (size_t r = 0; r < rows.size(); ++r)
                for (size_t c = 0; c < rows[r].size(); ++c)
                    a.SetElement({static_cast<int>(r + 1), static_cast<int>(c + 1)}, rows[r][c]);
            Get(sheet, "Range", {range}).AsDispatch()->SetProperty("Value", {}, a);
        }
        Call(book, "SaveAs", {file});
        Call(xl, "Quit");
    }
    std::string UsedAddress(const std::string& file, const std::string& sheet = "")
    {
        const Variant xl = rtl::CreateOleObject("excel.application");
        const Variant book = Call(Get(xl, "WorkBooks"), "Open", {file});
        Variant s = Get(book, "ActiveSheet");
        if (!sheet.empty())
            for (int i = 1; i <= Get(Get(book, "Sheets"), "Count").AsInteger(); ++i)
                if (Get(Get(book, "Sheets", {i}), "Name").AsString() == sheet) s = Get(book, "Sheets", {i});
        return Get(Get(s, "UsedRange"), "Address").AsString();
    }
    std::string Grid()
    {
        std::string s;
        for (int r = 0; r < G->RowCount(); ++r) {
            for (int c = 0; c < G->ColCount(); ++c) s += G->Cells(c, r) + (c + 1 < G->ColCount() ? "," : "");
            s += ";";
        }
        return s;
    }
};

} // namespace

TEST(OfficeAddress, ColumnLettersAndRanges)
{
    const std::pair<int, const char*> letters[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}};
    for (const auto& [n, t] : letters) EXPECT_EQ(gridio::ColumnLetters(n), t);
    struct Case {
        const char* address;
        bool ok;
        gui::TRect r;
    };
    const Case cases[] = {
        {"$B$2:$C$3", true, {2, 2, 3, 3}}, {"$A$1", true, {1, 1, 1, 1}},   {"$D$7", true, {4, 7, 4, 7}},
        {"$3:$5", true, {1, 3, 256, 5}},   {"$A$1:$AA$4", true, {1, 1, 27, 4}}, {"$B$1:$AZ$2", true, {2, 1, 52, 2}},
        {"$A$x:$B$2", false, {}},          {"$3:$q", false, {}},
    };
    for (const Case& c : cases) {
        gui::TRect r;
        EXPECT_EQ(gridio::ParseRangeAddress(c.address, r), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(r, c.r) << c.address;
        }
    }
}

TEST_F(OfficeFixture, WorkbookLoadsByTheOriginRule)
{
    const std::string f = File("b2.xlsx");
    MakeBook(f, {{"Data!B2:C3", {{"b2", 5}, {Variant::FromDate(rtl::EncodeDate(2024, 3, 1)), "c3"}}}});
    EXPECT_EQ(UsedAddress(f), "$B$2:$C$3");
    gridio::TGridOffice office(*G);
    office.LoadFromXLS(f);
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(Grid(), "b2,5;" + rtl::DateTimeToStr(rtl::EncodeDate(2024, 3, 1)) + ",c3;");

    G->SetSaveFixedCells(false);
    office.LoadFromXLSSheet(f, "Data");
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->RowCount(), 3);
    EXPECT_EQ(G->Cells(1, 1), "b2");
    EXPECT_EQ(G->Cells(2, 2), "c3");
    EXPECT_EQ(G->FixedCols(), 1);

    // A single used cell loads one cell.
    const std::string one = File("one.xlsx");
    MakeBook(one, {{"S!C4", {{"only"}}}});
    G->SetSaveFixedCells(true);
    office.LoadFromXLS(one);
    EXPECT_EQ(Grid(), "only;");
}

TEST_F(OfficeFixture, SaveLoadRoundTripAndWideRanges)
{
    G->SetColCount(27);
    G->SetRowCount(3);
    for (int c = 0; c < 27; ++c)
        for (int r = 0; r < 3; ++r) G->SetCells(c, r, c == 5 ? "line\r\nbreak" : "r" + std::to_string(r) + "c" + std::to_string(c));
    G->SetCells(3, 2, "-2.5");
    gridio::TGridOffice office(*G);
    const std::string f = File("wide.xls");  // any extension: the content is a workbook
    office.SaveToXLS(f, true);
    EXPECT_EQ(UsedAddress(f), "$A$1:$AA$3");
    EXPECT_EQ(gridio::ReadWholeFile(f).substr(0, 2), "PK");

    auto* h = new TExStringGrid(&Form);
    gridio::TGridOffice(*h).LoadFromXLS(f);
    EXPECT_EQ(h->ColCount(), 27);
    EXPECT_EQ(h->Cells(26, 2), "r2c26");
    EXPECT_EQ(h->Cells(5, 0), "line\nbreak");  // CRs are not written
    EXPECT_EQ(h->Cells(3, 2), "-2.5");

    G->SetColCount(52);
    G->SetCells(51, 0, "end");
    office.SaveToXLSSheet(f, "Second");
    EXPECT_EQ(office.GetXLSSheets(f), (std::vector<std::string>{"Sheet1", "Second"}));
    EXPECT_EQ(UsedAddress(f, "Second"), "$A$1:$AZ$3");
    EXPECT_EQ(UsedAddress(f, "Sheet1"), "$A$1:$AA$3");  // the first sheet kept
    if (const char* keep = std::getenv("GRIDIO_KEEP_OFFICE"))
        std::filesystem::copy_file(f, std::string(keep) + ".xlsx", std::filesystem::copy_options::overwrite_existing);
}

TEST_F(OfficeFixture, SavingIntoARunningInstanceWritesAtTheActiveRow)
{
    const Variant xl = rtl::CreateOleObject("excel.application");
    const Variant book = Call(Get(xl, "WorkBooks"), "Add");
    Get(xl, "ActiveCell").AsDispatch()->SetProperty("Row", {}, 5);
    rtl::RegisterActiveOleObject("excel.application", xl);
    G->SetColCount(3);
    G->SetRowCount(3);
    G->SetCells(0, 0, "top");
    const std::string f = File("running.xlsx");
    gridio::TGridOffice(*G).SaveToXLS(f, false);
    rtl::RevokeActiveOleObject("excel.application");
    EXPECT_EQ(UsedAddress(f), "$A$5");  // only the non-empty cell is used
    EXPECT_EQ(Get(Get(xl, "WorkBooks"), "Count").AsInteger(), 1);  // the instance was not quit
    const Variant v = Get(Call(Get(book, "ActiveSheet"), "Range", {"A5:C7"}), "Value");
    EXPECT_EQ(v.HighBound(1), 3);
    EXPECT_EQ(v.GetElement({1, 1}).AsString(), "top");
}

TEST_F(OfficeFixture, WorkbookErrors)
{
    gridio::TGridOffice office(*G);
    const std::string legacy = File("old.xls");
    gridio::WriteWholeFile(legacy, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    G->SetCells(1, 1, "kept");
    try {
        office.LoadFromXLS(legacy);
        ADD_FAILURE() << "a legacy workbook loaded";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Incorrect XLS file");
    }
    EXPECT_EQ(G->Cells(1, 1), "kept");

    const std::string f = File("named.xlsx");
    MakeBook(f, {{"A!A1", {{"x"}}}});
    EXPECT_THROW(
        {
            try {
                office.LoadFromXLSSheet(f, "Missing");
            } catch (const ZEziDoroZezuz& e) {
                EXPECT_EQ(e.Message(), "Excel worksheet Missing not found");
                throw;
            }
        },
        ZEziDoroZezuz);

    gridio::UnregisterOfficeServers();
    for (auto op : {+[](gridio::TGridOffice& o, const std::string& n) { o.LoadFromXLS(n); },
                    +[](gridio::TGridOffice& o, const std::string& n) { o.SaveToXLS(n, true); },
                    +[](gridio::TGridOffice& o, const std::string& n) { o.SaveToDOC(n, true); }}) {
        try {
            op(office, f);
            ADD_FAILURE() << "no server, no error";
        } catch (const ZEziDoroZezuz& e) {
            EXPECT_TRUE(e.Message() == "Excel OLE server not found" || e.Message() == "Word OLE server not found")
                << e.Message();
        }
    }
    gridio::RegisterOfficeServers();
}

TEST_F(OfficeFixture, DocumentTables)
{
    G->SetColCount(2);
    G->SetRowCount(2);
    G->SetCells(0, 0, "Name");
    G->SetCells(1, 0, "Size & kind");
    G->SetCells(0, 1, "Io");
    G->SetCells(1, 1, "3643");
    G->SetCellAlignment(1, 1, gui::TAlignment::taRightJustify);
    gridio::TGridOffice office(*G);
    const std::string f = File("new.docx");
    office.SaveToDOC(f, true);
    gridio::TZipArchive zip;
    zip.LoadFromFile(f);
    const std::string doc = zip.Get("word/document.xml");
    EXPECT_NE(doc.find("<w:tbl>"), std::string::npos);
    EXPECT_LT(doc.find(">Name<"), doc.find("Size &amp; kind"));
    EXPECT_NE(doc.find("<w:jc w:val=\"right\"/></w:pPr><w:r><w:t xml:space=\"preserve\">3643"), std::string::npos);

    // Another program's document with a bookmark: the table lands right
    // after the bookmarked paragraph, and the content is kept.
    const std::string other = File("other.docx");
    gridio::TZipArchive o = zip;
    o.Set("word/document.xml",
          "<?xml version=\"1.0\"?><w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
          "<w:body><w:p><w:r><w:t>First</w:t></w:r></w:p>"
          "<w:p><w:bookmarkStart w:id=\"0\" w:name=\"here\"/><w:r><w:t>Marked</w:t></w:r><w:bookmarkEnd w:id=\"0\"/></w:p>"
          "<w:p><w:r><w:t>Last</w:t></w:r></w:p><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>");
    o.SaveToFile(other);
    office.AppendToDoc(other, "here");
    zip.LoadFromFile(other);
    std::string d = zip.Get("word/document.xml");
    EXPECT_LT(d.find("Marked"), d.find("<w:tbl>"));
    EXPECT_LT(d.find("<w:tbl>"), d.find("Last"));
    EXPECT_NE(d.find("<w:pgSz w:w=\"11906\""), std::string::npos);

    // An unknown bookmark: the table goes to the end.
    office.AppendToDoc(other, "nowhere");
    zip.LoadFromFile(other);
    d = zip.Get("word/document.xml");
    EXPECT_LT(d.find("Last"), d.rfind("<w:tbl>"));
    EXPECT_LT(d.rfind("<w:tbl>"), d.find("<w:sectPr"));
    if (const char* keep = std::getenv("GRIDIO_KEEP_OFFICE")) {
        std::filesystem::copy_file(f, std::string(keep) + "-new.docx", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(other, std::string(keep) + "-appended.docx",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

TEST_F(OfficeFixture, DatabaseQueries)
{
    const std::string f = File("q.sqlite");
    db::ExecuteSQLiteScript(
        f, "CREATE TABLE Sites(Name TEXT, Lat REAL, Note TEXT);"
           "INSERT INTO Sites VALUES('Greenwich', 51.4779, NULL), ('Quito', -0.22, 'equator');");
    G->SetColCount(2);
    G->SetRowCount(6);
    G->SetCells(1, 5, "below");
    gridio::TGridOffice office(*G);
    office.LoadFromMDBTable(f, "Sites");
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->RowCount(), 3);
    EXPECT_EQ(Grid(), ",Name,Lat,Note;,Greenwich,51.4779,;,Quito,-0.22,equator;");

    G->SetRowCount(4);
    G->SetCells(1, 1, "old");
    office.LoadFromMDBSQL(f, "SELECT Name FROM Sites WHERE Lat > 90");
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->Cells(1, 0), "Name");
    EXPECT_EQ(G->Cells(1, 1), "old");  // no rows: only the field names change
}

TEST_F(OfficeFixture, DroppedFilesLoadByTheirExtension)
{
    // A single file dropped on the grid's drop target loads through the hooks.
    G->DragDropSettings()->SetOleDropTarget(true);
    auto drop = [&](const std::string& name) {
        rtl::TStringList one;
        one.Add(name);
        G->GridDropTarget()->DropFiles(gui::TPoint{5, 5}, &one);
    };
    const std::string csv = File("drop.CSV");
    gridio::WriteWholeFile(csv, "a,b\r\nc,d\r\n");
    G->SetColCount(2);
    G->SetRowCount(2);
    drop(csv);
    EXPECT_EQ(Grid(), "a,b;c,d;");
    const std::string xls = File("drop.xlsx");
    MakeBook(xls, {{"S!A1:B1", {{"x", "y"}}}});
    drop(xls);
    EXPECT_EQ(Grid(), "x,y;");
    const std::string txt = File("notes.txt");
    gridio::WriteWholeFile(txt, "p,q\r\n");
    drop(txt);
    EXPECT_EQ(Grid(), "x,y;");
    const std::string again = File("again.XLSX");
    MakeBook(again, {{"S!A1:C1", {{"p", "q", "r"}}}});
    drop(again);
    EXPECT_EQ(Grid(), "p,q,r;");
}
