// OfficeExcel: the "excel.application" stand-in.  Workbooks are read and
// written as Office Open XML spreadsheets whatever the file's extension.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "gridio/OfficeDispatch.h"
#include "gridio/OfficeServers.h"
#include "gridio/ZipArchive.h"
#include "platform/rtl/OleClasses.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

namespace gridio {

namespace {

struct TSheet {
    std::string Name;
    std::map<std::pair<int, int>, Variant> Cells;  // (row, column), 1-based
};

struct TBook {
    std::vector<std::shared_ptr<TSheet>> Sheets;
    int Active = 0;
    std::string FileName;  // set when opened from a file
    int ActiveRow = 1;
};

struct TExcelState {
    std::vector<std::shared_ptr<TBook>> Books;
    std::shared_ptr<TBook> ActiveBook;
};

[[noreturn]] void IncorrectFile() { throw rtl::Exception("Incorrect XLS file"); }

std::string LocalName(const std::string& n)
{
    const size_t colon = n.find(':');
    return colon == std::string::npos ? n : n.substr(colon + 1);
}

std::unique_ptr<xml::TUtf8XmlDom> ParseXml(const std::string& text)
{
    auto dom = std::make_unique<xml::TUtf8XmlDom>();
    rtl::TStringStream s(text);
    dom->LoadFromStream(s);
    if (!dom->Root()) IncorrectFile();
    return dom;
}

std::vector<xml::TUtf8XmlNode*> Children(xml::TUtf8XmlNode* n, const std::string& local)
{
    std::vector<xml::TUtf8XmlNode*> out;
    if (!n) return out;
    for (int i = 0; i < n->NodeCount(); ++i)
        if (n->Nodes(i)->ElementType() == xml::xeNormal && LocalName(n->Nodes(i)->Name()) == local)
            out.push_back(n->Nodes(i));
    return out;
}

xml::TUtf8XmlNode* Child(xml::TUtf8XmlNode* n, const std::string& local)
{
    auto c = Children(n, local);
    return c.empty() ? nullptr : c.front();
}

std::string Attr(xml::TUtf8XmlNode* n, const std::string& local)
{
    for (int i = 0; i < n->AttributeCount(); ++i)
        if (LocalName(n->AttributeName(i)) == local) return n->AttributeValue(i);
    return {};
}

// All <t> texts below n (phonetic runs left out).
std::string CollectText(xml::TUtf8XmlNode* n)
{
    std::string t;
    for (int i = 0; i < n->NodeCount(); ++i) {
        xml::TUtf8XmlNode* c = n->Nodes(i);
        if (c->ElementType() != xml::xeNormal) continue;
        const std::string l = LocalName(c->Name());
        if (l == "t") t += c->ValueAsString();
        else if (l != "rPh") t += CollectText(c);
    }
    return t;
}

std::string NumberText(double v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

bool IsDateFormat(int id, const std::string& code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)) return true;
    if (code.empty()) return false;
    std::string plain;
    bool quoted = false, bracket = false;
    for (char ch : code) {
        if (ch == '"') quoted = !quoted;
        else if (ch == '[') bracket = true;
        else if (ch == ']') bracket = false;
        else if (!quoted && !bracket) plain += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return plain.find('y') != std::string::npos || plain.find('d') != std::string::npos;
}

std::shared_ptr<TBook> ReadBook(const std::string& fileName)
{
    const std::string bytes = ReadWholeFile(fileName);
    // A legacy binary workbook (compound file) is not read.
    if (bytes.size() < 4 || bytes.compare(0, 4, "\xD0\xCF\x11\xE0") == 0) IncorrectFile();
    TZipArchive zip;
    try {
        zip.LoadFromBytes(bytes);
    } catch (const rtl::Exception&) {
        IncorrectFile();
    }
    if (!zip.Has("xl/workbook.xml")) IncorrectFile();
    auto book = std::make_shared<TBook>();
    book->FileName = fileName;

    std::vector<std::string> shared;
    if (zip.Has("xl/sharedStrings.xml")) {
        auto dom = ParseXml(zip.Get("xl/sharedStrings.xml"));
        for (xml::TUtf8XmlNode* si : Children(dom->Root(), "si")) shared.push_back(CollectText(si));
    }
    std::vector<bool> dateStyle;
    if (zip.Has("xl/styles.xml")) {
        auto dom = ParseXml(zip.Get("xl/styles.xml"));
        std::map<int, std::string> codes;
        for (xml::TUtf8XmlNode* f : Children(Child(dom->Root(), "numFmts"), "numFmt"))
            codes[std::atoi(Attr(f, "numFmtId").c_str())] = Attr(f, "formatCode");
        for (xml::TUtf8XmlNode* xf : Children(Child(dom->Root(), "cellXfs"), "xf")) {
            const int id = std::atoi(Attr(xf, "numFmtId").c_str());
            dateStyle.push_back(IsDateFormat(id, codes.count(id) ? codes[id] : std::string()));
        }
    }
    std::map<std::string, std::string> targets;
    if (zip.Has("xl/_rels/workbook.xml.rels")) {
        auto dom = ParseXml(zip.Get("xl/_rels/workbook.xml.rels"));
        for (xml::TUtf8XmlNode* r : Children(dom->Root(), "Relationship")) {
            std::string t = Attr(r, "Target");
            t = t.rfind('/', 0) == 0 ? t.substr(1) : "xl/" + t;
            targets[Attr(r, "Id")] = t;
        }
    }
    auto wb = ParseXml(zip.Get("xl/workbook.xml"));
    if (xml::TUtf8XmlNode* view = Child(Child(wb->Root(), "bookViews"), "workbookView"))
        book->Active = std::atoi(Attr(view, "activeTab").c_str());
    for (xml::TUtf8XmlNode* s : Children(Child(wb->Root(), "sheets"), "sheet")) {
        auto sheet = std::make_shared<TSheet>();
        sheet->Name = Attr(s, "name");
        const std::string part = targets[Attr(s, "id")];
        if (!zip.Has(part)) IncorrectFile();
        auto dom = ParseXml(zip.Get(part));
        int rowNo = 0;
        for (xml::TUtf8XmlNode* row : Children(Child(dom->Root(), "sheetData"), "row")) {
            const std::string rAttr = Attr(row, "r");
            rowNo = rAttr.empty() ? rowNo + 1 : std::atoi(rAttr.c_str());
            int colNo = 0;
            for (xml::TUtf8XmlNode* c : Children(row, "c")) {
                int col = colNo + 1, r = rowNo;
                const std::string ref = Attr(c, "r");
                if (!ref.empty() && !ParseCellAddress(ref, col, r)) IncorrectFile();
                colNo = col;
                const std::string type = Attr(c, "t");
                xml::TUtf8XmlNode* v = Child(c, "v");
                const std::string vt = v ? v->ValueAsString() : std::string();
                Variant value;
                if (type == "inlineStr") {
                    if (xml::TUtf8XmlNode* is = Child(c, "is")) value = CollectText(is);
                } else if (type == "s") {
                    const size_t i = static_cast<size_t>(std::atoi(vt.c_str()));
                    if (i >= shared.size()) IncorrectFile();
                    value = shared[i];
                } else if (type == "str") {
                    value = vt;
                } else if (type == "b") {
                    value = vt == "1";
                } else if (type == "e" || !v) {
                    continue;  // errors and empty cells are not kept
                } else {
                    double d = 0;
                    const auto res = std::from_chars(vt.data(), vt.data() + vt.size(), d);
                    if (res.ec != std::errc()) IncorrectFile();
                    const size_t style = static_cast<size_t>(std::atoi(Attr(c, "s").c_str()));
                    value = style < dateStyle.size() && dateStyle[style] ? Variant::FromDate(d) : Variant(d);
                }
                sheet->Cells[{r, col}] = value;
            }
        }
        book->Sheets.push_back(sheet);
    }
    if (book->Sheets.empty()) IncorrectFile();
    book->Active = std::clamp(book->Active, 0, static_cast<int>(book->Sheets.size()) - 1);
    return book;
}

void WriteBook(const TBook& book, const std::string& fileName)
{
    const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    TZipArchive zip;
    zip.Set("[Content_Types].xml", "");  // the package's first part; filled below
    zip.Set("_rels/.rels", "");
    std::string types = head +
                        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                        "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    std::string sheets, rels = head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (size_t i = 0; i < book.Sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        sheets += "<sheet name=\"" + XmlEscape(book.Sheets[i]->Name) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet" +
                n + ".xml\"/>";

        std::string data;
        int lastRow = 0, minR = 0, minC = 0, maxR = 0, maxC = 0;
        for (const auto& [key, value] : book.Sheets[i]->Cells) {
            if (value.IsEmpty() || value.IsNull() || (value.IsString() && value.TextRef().empty())) continue;
            const auto [r, c] = key;
            if (r != lastRow) {
                if (lastRow) data += "</row>";
                data += "<row r=\"" + std::to_string(r) + "\">";
                lastRow = r;
            }
            minR = minR ? std::min(minR, r) : r;
            minC = minC ? std::min(minC, c) : c;
            maxR = std::max(maxR, r);
            maxC = std::max(maxC, c);
            const std::string ref = ColumnLetters(c) + std::to_string(r);
            if (value.VarType() == rtl::varDate)
                data += "<c r=\"" + ref + "\" s=\"1\"><v>" + NumberText(value.AsDouble()) + "</v></c>";
            else if (value.IsBoolean())
                data += "<c r=\"" + ref + "\" t=\"b\"><v>" + (value.AsBoolean() ? "1" : "0") + "</v></c>";
            else if (value.IsNumeric())
                data += "<c r=\"" + ref + "\"><v>" + NumberText(value.AsDouble()) + "</v></c>";
            else
                data += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" +
                        XmlEscape(value.AsString()) + "</t></is></c>";
        }
        if (lastRow) data += "</row>";
        const std::string dim = minR ? ColumnLetters(minC) + std::to_string(minR) + ":" + ColumnLetters(maxC) +
                                           std::to_string(maxR)
                                     : "A1";
        zip.Set("xl/worksheets/sheet" + n + ".xml", head + "<worksheet xmlns=\"" + ns + "\"><dimension ref=\"" + dim +
                                                        "\"/><sheetData>" + data + "</sheetData></worksheet>");
    }
    const std::string styleRel = std::to_string(book.Sheets.size() + 1);
    rels += "<Relationship Id=\"rId" + styleRel +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
            "</Relationships>";
    types += "</Types>";
    zip.Set("[Content_Types].xml", types);
    zip.Set("_rels/.rels", head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                  "<Relationship Id=\"rId1\" Type=\"" + rel +
                                  "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    zip.Set("xl/workbook.xml", head + "<workbook xmlns=\"" + ns + "\" xmlns:r=\"" + rel +
                                   "\"><bookViews><workbookView activeTab=\"" + std::to_string(book.Active) +
                                   "\"/></bookViews><sheets>" + sheets + "</sheets></workbook>");
    zip.Set("xl/_rels/workbook.xml.rels", rels);
    zip.Set("xl/styles.xml",
            head + "<styleSheet xmlns=\"" + ns +
                "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
                "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
                "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
                "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                "<xf numFmtId=\"14\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
                "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>");
    zip.SaveToFile(fileName);
}

std::string RangeAddress(int c1, int r1, int c2, int r2)
{
    const std::string a = "$" + ColumnLetters(c1) + "$" + std::to_string(r1);
    if (c1 == c2 && r1 == r2) return a;
    return a + ":$" + ColumnLetters(c2) + "$" + std::to_string(r2);
}

class TRangeObj : public TMemberDispatch {
public:
    TRangeObj(std::shared_ptr<TSheet> sheet, gui::TRect r) : FSheet(std::move(sheet)), FR(r)
    {
        Member("ADDRESS", [this](const TArgs&) { return Variant(RangeAddress(FR.Left, FR.Top, FR.Right, FR.Bottom)); });
        Member("VALUE", [this](const TArgs&) {
            Variant a = rtl::VarArrayCreate({1, FR.Bottom - FR.Top + 1, 1, FR.Right - FR.Left + 1}, rtl::varVariant);
            for (int r = FR.Top; r <= FR.Bottom; ++r)
                for (int c = FR.Left; c <= FR.Right; ++c) {
                    auto it = FSheet->Cells.find({r, c});
                    if (it != FSheet->Cells.end()) a.SetElement({r - FR.Top + 1, c - FR.Left + 1}, it->second);
                }
            return a;
        });
        Setter("VALUE", [this](const TArgs&, const Variant& v) {
            if (!v.IsArray()) {
                for (int r = FR.Top; r <= FR.Bottom; ++r)
                    for (int c = FR.Left; c <= FR.Right; ++c) FSheet->Cells[{r, c}] = v;
                return;
            }
            const int lr = v.LowBound(1), lc = v.DimCount() > 1 ? v.LowBound(2) : 0;
            for (int r = FR.Top; r <= FR.Bottom; ++r)
                for (int c = FR.Left; c <= FR.Right; ++c) {
                    const int i = lr + r - FR.Top, j = lc + c - FR.Left;
                    const bool inside = i <= v.HighBound(1) && (v.DimCount() == 1 || j <= v.HighBound(2));
                    Variant e = inside ? (v.DimCount() > 1 ? v.GetElement({i, j}) : v.GetElement({i})) : Variant();
                    // Texts that read as numbers are kept as numbers, as a spreadsheet does.
                    if (e.IsString() && !e.TextRef().empty()) {
                        const std::string& t = e.TextRef();
                        double d = 0;
                        const auto res = std::from_chars(t.data(), t.data() + t.size(), d);
                        if (res.ec == std::errc() && res.ptr == t.data() + t.size() && std::isfinite(d)) e = d;
                    }
                    if (e.IsString() && e.TextRef().empty()) e = Variant();
                    if (e.IsEmpty()) FSheet->Cells.erase({r, c});
                    else FSheet->Cells[{r, c}] = e;
                }
        });
    }

private:
    std::shared_ptr<TSheet> FSheet;
    gui::TRect FR;
};

class TSheetObj : public TMemberDispatch {
public:
    explicit TSheetObj(std::shared_ptr<TSheet> s) : FS(std::move(s))
    {
        Member("NAME", [this](const TArgs&) { return Variant(FS->Name); });
        Setter("NAME", [this](const TArgs&, const Variant& v) { FS->Name = v.AsString(); });
        Member("USEDRANGE", [this](const TArgs&) {
            gui::TRect r{1, 1, 1, 1};
            bool any = false;
            for (const auto& [key, value] : FS->Cells) {
                if (value.IsEmpty()) continue;
                if (!any) r = {key.second, key.first, key.second, key.first};
                any = true;
                r.Left = std::min(r.Left, key.second);
                r.Right = std::max(r.Right, key.second);
                r.Top = std::min(r.Top, key.first);
                r.Bottom = std::max(r.Bottom, key.first);
            }
            return MakeDispatch<TRangeObj>(FS, r);
        });
        Member("RANGE", [this](const TArgs& a) {
            gui::TRect r;
            const std::string address = Arg(a, 0).AsString();
            if (address.find(':') == std::string::npos) {
                if (!ParseCellAddress(address, r.Left, r.Top)) throw rtl::Exception("Invalid range " + address);
                r.Right = r.Left;
                r.Bottom = r.Top;
            } else if (!ParseRangeAddress(address, r)) {
                throw rtl::Exception("Invalid range " + address);
            }
            return MakeDispatch<TRangeObj>(FS, r);
        });
    }

private:
    std::shared_ptr<TSheet> FS;
};

class TSheetsObj : public TMemberDispatch {
public:
    explicit TSheetsObj(std::shared_ptr<TBook> b) : FB(std::move(b))
    {
        Member("COUNT", [this](const TArgs&) { return Variant(static_cast<int32_t>(FB->Sheets.size())); });
        Member("ITEM", [this](const TArgs& a) { return Item(Arg(a, 0).AsInteger()); });
        Member("ADD", [this](const TArgs&) {
            auto s = std::make_shared<TSheet>();
            s->Name = "Sheet" + std::to_string(FB->Sheets.size() + 1);
            FB->Sheets.push_back(s);
            FB->Active = static_cast<int>(FB->Sheets.size()) - 1;
            return MakeDispatch<TSheetObj>(s);
        });
    }
    Variant Item(int i)
    {
        if (i < 1 || i > static_cast<int>(FB->Sheets.size())) throw rtl::Exception("Invalid index");
        return MakeDispatch<TSheetObj>(FB->Sheets[static_cast<size_t>(i - 1)]);
    }

private:
    std::shared_ptr<TBook> FB;
};

class TBookObj : public TMemberDispatch {
public:
    TBookObj(std::shared_ptr<TExcelState> st, std::shared_ptr<TBook> b) : FSt(std::move(st)), FB(std::move(b))
    {
        auto sheets = [this](const TArgs& a) {
            auto coll = std::make_shared<TSheetsObj>(FB);
            if (!a.empty()) return coll->Item(a[0].AsInteger());
            return Variant(std::shared_ptr<rtl::IDispatchObject>(coll));
        };
        Member("WORKSHEETS", sheets);
        Member("SHEETS", sheets);
        Member("ACTIVESHEET", [this](const TArgs&) { return MakeDispatch<TSheetObj>(FB->Sheets[FB->Active]); });
        Setter("SAVED", [](const TArgs&, const Variant&) {});
        Member("CLOSE", [this](const TArgs&) {
            auto& books = FSt->Books;
            books.erase(std::remove(books.begin(), books.end(), FB), books.end());
            if (FSt->ActiveBook == FB) FSt->ActiveBook = books.empty() ? nullptr : books.back();
            return Variant();
        });
        Member("SAVE", [this](const TArgs&) {
            if (FB->FileName.empty()) throw rtl::Exception("The workbook has no file name");
            WriteBook(*FB, FB->FileName);
            return Variant();
        });
        Member("SAVEAS", [this](const TArgs& a) {
            FB->FileName = Arg(a, 0).AsString();
            WriteBook(*FB, FB->FileName);
            return Variant();
        });
    }

private:
    std::shared_ptr<TExcelState> FSt;
    std::shared_ptr<TBook> FB;
};

class TBooksObj : public TMemberDispatch {
public:
    explicit TBooksObj(std::shared_ptr<TExcelState> st) : FSt(std::move(st))
    {
        Member("COUNT", [this](const TArgs&) { return Variant(static_cast<int32_t>(FSt->Books.size())); });
        Member("OPEN", [this](const TArgs& a) { return Add(ReadBook(Arg(a, 0).AsString())); });
        Member("ADD", [this](const TArgs&) {
            auto b = std::make_shared<TBook>();
            b->Sheets.push_back(std::make_shared<TSheet>());
            b->Sheets.back()->Name = "Sheet1";
            return Add(b);
        });
    }

private:
    Variant Add(std::shared_ptr<TBook> b)
    {
        FSt->Books.push_back(b);
        FSt->ActiveBook = b;
        return MakeDispatch<TBookObj>(FSt, b);
    }
    std::shared_ptr<TExcelState> FSt;
};

class TActiveCellObj : public TMemberDispatch {
public:
    explicit TActiveCellObj(std::shared_ptr<TBook> b) : FB(std::move(b))
    {
        Member("ROW", [this](const TArgs&) { return Variant(static_cast<int32_t>(FB->ActiveRow)); });
        Setter("ROW", [this](const TArgs&, const Variant& v) { FB->ActiveRow = std::max(1, v.AsInteger()); });
    }

private:
    std::shared_ptr<TBook> FB;
};

class TExcelApp : public TMemberDispatch {
public:
    TExcelApp()
    {
        Member("WORKBOOKS", [this](const TArgs&) { return MakeDispatch<TBooksObj>(FSt); });
        Member("ACTIVEWORKBOOK", [this](const TArgs&) {
            if (!FSt->ActiveBook) return Variant();
            return MakeDispatch<TBookObj>(FSt, FSt->ActiveBook);
        });
        Member("ACTIVECELL", [this](const TArgs&) {
            if (!FSt->ActiveBook) throw rtl::Exception("No workbook is open");
            return MakeDispatch<TActiveCellObj>(FSt->ActiveBook);
        });
        Member("QUIT", [this](const TArgs&) {
            FSt->Books.clear();
            FSt->ActiveBook = nullptr;
            return Variant();
        });
    }

private:
    std::shared_ptr<TExcelState> FSt = std::make_shared<TExcelState>();
};

} // namespace

std::string ColumnLetters(int col)
{
    std::string s;
    for (; col > 0; col = (col - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (col - 1) % 26));
    return s;
}

bool ParseCellAddress(std::string_view t, int& col, int& row)
{
    size_t i = 0;
    if (i < t.size() && t[i] == '$') ++i;
    int c = 0;
    const size_t letters = i;
    while (i < t.size() && std::isalpha(static_cast<unsigned char>(t[i])))
        c = c * 26 + (std::toupper(static_cast<unsigned char>(t[i++])) - 'A' + 1);
    if (i == letters || i - letters > 3) return false;
    if (i < t.size() && t[i] == '$') ++i;
    int r = 0;
    const auto res = std::from_chars(t.data() + i, t.data() + t.size(), r);
    if (res.ec != std::errc() || res.ptr != t.data() + t.size() || r < 1) return false;
    col = c;
    row = r;
    return true;
}

bool ParseRangeAddress(std::string_view address, gui::TRect& range)
{
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos) {
        // A single cell: the cell itself when it reads as one, else A1.
        range = {1, 1, 1, 1};
        int c = 1, r = 1;
        if (ParseCellAddress(address, c, r)) range = {c, r, c, r};
        return true;
    }
    std::string_view a = address.substr(0, colon), b = address.substr(colon + 1);
    if (!a.empty() && a[0] == '$') a.remove_prefix(1);
    if (!b.empty() && b[0] == '$') b.remove_prefix(1);
    auto number = [](std::string_view s, int& v) {
        const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
        return res.ec == std::errc() && res.ptr == s.data() + s.size();
    };
    int r1 = 0, r2 = 0;
    if (a.find('$') == std::string_view::npos && !a.empty() && std::isdigit(static_cast<unsigned char>(a[0]))) {
        if (!number(a, r1) || !number(b, r2)) return false;
        range = {1, r1, 256, r2};
        return true;
    }
    int c1 = 0, c2 = 0;
    if (!ParseCellAddress(a, c1, r1) || !ParseCellAddress(b, c2, r2)) return false;
    range = {c1, r1, c2, r2};
    return true;
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(ch) < 32 && ch != '\t' && ch != '\n' && ch != '\r') break;
            out += ch;
        }
    }
    return out;
}

void RegisterExcelServer()
{
    rtl::RegisterOleClass("excel.application", [] { return std::make_shared<TExcelApp>(); });
}

void RegisterOfficeServers()
{
    RegisterExcelServer();
    RegisterWordServer();
    RegisterAdoServer();
}

void UnregisterOfficeServers()
{
    for (const char* id : {"excel.application", "word.application", "ADODB.Connection", "ADODB.RecordSet"})
        rtl::UnregisterOleClass(id);
}

} // namespace gridio
