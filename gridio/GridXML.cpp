// GridFiles: the XML export (a flat list of records) and import (records
// from attributes and leaf elements), the import through the XML DOM
// automation object ("Microsoft.XMLDOM", XmlDomServer.h).
#include <algorithm>

#include "gridio/GridFiles.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"
#include "platform/rtl/OleClasses.h"

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
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = r0; r <= r1; ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
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
    Export(grid::TGridExportState::esExportDone, -1);
    try {
        rtl::WriteTextFileLines(fileName, lines, rtl::TTextFileEncoding::tfeAnsi);
    } catch (const rtl::EFCreateError&) {
        throw grid::ZEziDoroZezuz("Cannot Create file " + fileName);
    }
}

void TGridFiles::LoadFromXML(const std::string& fileName, bool levelToRow)
{
    using rtl::Variant;
    if (!rtl::FileExists(fileName)) throw rtl::Exception("XML file not found");
    Variant dom;
    try {
        dom = rtl::CreateOleObject("Microsoft.XMLDOM");
    } catch (const rtl::Exception&) {
        throw rtl::Exception("XMLDOM server component not found");
    }
    auto get = [](const Variant& obj, const std::string& name, std::vector<Variant> args = {}) {
        return obj.AsDispatch()->GetProperty(name, args);
    };
    dom.AsDispatch()->Call("load", {Variant(rtl::UTF8ToUTF16(fileName))});
    const Variant err = get(dom, "parseError");
    const int code = get(err, "errorCode").AsInteger();
    if (code != 0)
        throw rtl::Exception("XMLDOM Parsing error " + std::to_string(code) + " on line " +
                             std::to_string(get(err, "line").AsInteger()));
    const Variant root = get(dom, "documentElement");

    const int q = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
    const int s = FGrid.FixedRows();
    FGrid.SetColCount(FGrid.FixedCols() + 1);
    FGrid.SetRowCount(FGrid.FixedRows() + 1);
    int rOff = 0, j = 0, level = 1;
    auto ensure = [&](int c, int r) {
        if (c >= FGrid.ColCount()) FGrid.SetColCount(c + 1);
        if (r >= FGrid.RowCount()) FGrid.SetRowCount(r + 1);
    };
    auto store = [&](const Variant& node, bool leaf) {
        const int c = q + j, r = s + rOff;
        ensure(c, r);
        if (FGrid.SaveFixedCells() && FGrid.GetCellText(c, 0).empty())
            FGrid.LoadCellText(c, 0, get(node, "nodeName").AsString());
        std::string t = UnescapeXMLField(get(node, "Text").AsString());
        if (leaf && FGrid.QuoteEmptyCells() && t == "\"\"") t.clear();
        if (r >= 0) FGrid.LoadCellText(c, r, t);
        ++j;
    };
    std::function<void(const Variant&)> process = [&](const Variant& n) {
        bool newRow = false;
        const Variant attrs = get(n, "attributes");
        if (attrs.IsDispatch()) {
            const int count = get(attrs, "length").AsInteger();
            for (int k = 0; k < count; ++k) store(get(attrs, "item", {Variant(static_cast<int32_t>(k))}), false);
            if (levelToRow && count > 0) {
                ++rOff;
                j = level;
                newRow = true;
            }
        }
        const Variant children = get(n, "childNodes");
        const int count = get(children, "length").AsInteger();
        if (count > 1) {
            if (levelToRow && !newRow) ++rOff;
            ++level;
            for (int i = 0; i < count; ++i) process(get(children, "item", {Variant(static_cast<int32_t>(i))}));
        } else if (count == 1) {
            store(n, true);
        }
    };
    const Variant records = get(root, "childNodes");
    const int n = get(records, "length").AsInteger();
    for (int i = 0; i < n; ++i) {
        const Variant rec = get(records, "item", {Variant(static_cast<int32_t>(i))});
        j = 0;
        level = 1;
        if (levelToRow && i == 0 && get(get(rec, "childNodes"), "length").AsInteger() == 0) rOff = -1;
        process(rec);
        if (!levelToRow) ++rOff;
    }
    FGrid.CalcFooter(-1);
}

} // namespace gridio
