// GridFiles: the XML export (a flat list of records) and import (records
// from attributes and leaf elements), the import on the xml/ library.
#include <algorithm>

#include "gridio/GridFiles.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"
#include "xml/XmlDom.h"

namespace gridio {

namespace {

// The export's own escaping: "&" becomes "$amp;" (read back by the import).
std::string EscapeXMLField(std::string t)
{
    t = rtl::StringReplace(t, "&", "$amp;");
    t = rtl::StringReplace(t, ">", "&gt;");
    t = rtl::StringReplace(t, "<", "&lt;");
    return rtl::StringReplace(t, "\"", "&quot;");
}

std::string UnescapeXMLField(std::string t)
{
    t = rtl::StringReplace(t, "$amp;", "&");
    t = rtl::StringReplace(t, "&gt;", ">");
    t = rtl::StringReplace(t, "&lt;", "<");
    return rtl::StringReplace(t, "&quot;", "\"");
}

// The document's nodes as a DOM sees them: an element's leading text is a
// child of its own (the library keeps it as the element's value).
int ChildCount(const xml::TUtf8XmlNode* n)
{
    return (n->Value().empty() ? 0 : 1) + n->NodeCount();
}

std::string NodeText(const xml::TUtf8XmlNode* n)
{
    std::string t = n->ElementType() == xml::xeCData ? n->Value() : n->ValueAsString();
    for (int i = 0; i < n->NodeCount(); ++i) {
        const xml::TUtf8XmlNode* c = n->Nodes(i);
        if (c->ElementType() == xml::xeNormal || c->ElementType() == xml::xeCharData ||
            c->ElementType() == xml::xeCData)
            t += NodeText(c);
    }
    return t;
}

} // namespace

void TGridFiles::SaveToXML(const std::string& fileName, const std::string& listDescr,
                           const std::string& recordDescr, const std::vector<std::string>* fieldDescr,
                           bool exportEmptyCells)
{
    std::vector<std::string> lines;
    lines.push_back("<?xml version=\"1.0\" encoding=\"" + FGrid.XMLEncoding() + "\" ?>");
    lines.push_back("<" + listDescr + ">");
    TProgressReporter progress(OnFileProgress, &FGrid);
    const int c0 = FGrid.SaveStartCol(), r0 = FGrid.SaveStartRow(), r1 = FGrid.SaveEndRow();
    for (int r = r0; r <= r1; ++r) {
        lines.push_back("<" + recordDescr + ">");
        for (int c = c0; c <= FGrid.SaveEndCol(); ++c) {
            const int rc = FGrid.DisplayToRealCol(c);
            if (!FGrid.IsBaseCell(rc, r)) continue;
            std::string t = SaveText(rc, r);
            if (t.empty() && !exportEmptyCells) continue;
            t = EscapeXMLField(t);
            if (t.empty() && FGrid.QuoteEmptyCells()) t = "\"\"";
            const size_t i = static_cast<size_t>(c - c0);
            const std::string name =
                fieldDescr && i < fieldDescr->size() ? (*fieldDescr)[i] : "FIELD" + std::to_string(i);
            lines.push_back("<" + name + ">" + t + "</" + name + ">");
        }
        lines.push_back("</" + recordDescr + ">");
        progress.Report(r, std::max(1, r1 - r0));
    }
    lines.push_back("</" + listDescr + ">");
    try {
        rtl::WriteTextFileLines(fileName, lines, rtl::TTextFileEncoding::tfeAnsi);
    } catch (const rtl::EFCreateError&) {
        throw grid::ZEziDoroZezuz("Cannot Create file " + fileName);
    }
}

void TGridFiles::LoadFromXML(const std::string& fileName, bool levelToRow)
{
    if (!rtl::FileExists(fileName)) throw rtl::Exception("XML file not found");
    xml::TUtf8XmlDom doc;
    try {
        doc.LoadFromFile(fileName);
    } catch (const rtl::EFilerError& e) {
        throw rtl::Exception("XMLDOM Parsing error 1 on line 0 (" + e.Message() + ")");
    }
    const xml::TUtf8XmlNode* root = doc.Root();
    if (!root) throw rtl::Exception("XMLDOM Parsing error 1 on line 0");

    const int q = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
    const int s = FGrid.FixedRows();
    FGrid.SetColCount(FGrid.FixedCols() + 1);
    FGrid.SetRowCount(FGrid.FixedRows() + 1);
    int rOff = 0, j = 0, level = 1;
    auto ensure = [&](int c, int r) {
        if (c >= FGrid.ColCount()) FGrid.SetColCount(c + 1);
        if (r >= FGrid.RowCount()) FGrid.SetRowCount(r + 1);
    };
    auto storeHeading = [&](int c, const std::string& name) {
        if (FGrid.SaveFixedCells() && FGrid.GetCellText(c, 0).empty()) FGrid.LoadCellText(c, 0, name);
    };
    std::function<void(const xml::TUtf8XmlNode*)> process = [&](const xml::TUtf8XmlNode* n) {
        bool newRow = false;
        for (int k = 0; k < n->AttributeCount(); ++k) {
            ensure(q + j, s + rOff);
            storeHeading(q + j, n->AttributeName(k));
            FGrid.LoadCellText(q + j, s + rOff, UnescapeXMLField(n->AttributeValue(k)));
            ++j;
        }
        if (levelToRow && n->AttributeCount() > 0) {
            ++rOff;
            j = level;
            newRow = true;
        }
        const int count = ChildCount(n);
        if (count > 1) {
            if (levelToRow && !newRow) ++rOff;
            ++level;
            for (int i = 0; i < n->NodeCount(); ++i)
                if (n->Nodes(i)->ElementType() == xml::xeNormal) process(n->Nodes(i));
        } else if (count == 1) {
            ensure(q + j, s + rOff);
            storeHeading(q + j, n->Name());
            std::string t = UnescapeXMLField(NodeText(n));
            if (FGrid.QuoteEmptyCells() && t == "\"\"") t.clear();
            FGrid.LoadCellText(q + j, s + rOff, t);
            ++j;
        }
    };
    for (int i = 0; i < root->NodeCount(); ++i) {
        const xml::TUtf8XmlNode* rec = root->Nodes(i);
        if (rec->ElementType() != xml::xeNormal) continue;
        j = 0;
        level = 1;
        if (levelToRow && i == 0 && ChildCount(rec) == 0) rOff = -1;
        process(rec);
        if (!levelToRow) ++rOff;
    }
    FGrid.CalcFooter(-1);
}

} // namespace gridio
