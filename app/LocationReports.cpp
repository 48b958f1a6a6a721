#include "app/LocationReports.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Streams.h"

namespace app {

std::string QuoteReportValue(const std::string& text)
{
    std::string quoted = "'";
    for (char ch : text) {
        if (ch == '\'') quoted += '\'';
        quoted += ch;
    }
    return quoted + "';";
}

void LoadReportTemplate(qlr::TqlrReport& report, const std::string& resourceName)
{
    const rtl::TResource* res = rtl::FindResource(resourceName, rtl::TResourceType::RCData);
    if (!res) throw rtl::Exception("The report template " + resourceName + " is missing.");
    rtl::TStringStream stream{std::string(res->Text())};
    report.LoadFromStream(stream);
}

std::string CrossCellText(grid::TExStringGrid& grid, int col, int row, bool replaceNotVisible)
{
    // A covered cell reads as its block's base cell; printing that text in
    // every column would repeat it across the row.
    std::string text = grid.IsMergedNonBaseCell(col, row) ? std::string() : grid.Cells(col, row);
    if (const std::size_t p = text.find("\r\n"); p != std::string::npos) text.insert(p, " ");
    text = " " + text + " ";
    if (replaceNotVisible && text.find("no eclipse visible") != std::string::npos) text = "---";
    return text;
}

void FeedGridToCross(grid::TExStringGrid& grid, qlr::TqlrCustomCrossView& cross, bool replaceNotVisible)
{
    for (int c = 0; c < grid.ColCount(); ++c) {
        const rtl::Variant header(grid.Cells(c, 0));
        for (int r = 1; r < grid.RowCount(); ++r)
            cross.AddValue({rtl::Variant(r)}, {header}, {rtl::Variant(CrossCellText(grid, c, r, replaceNotVisible))});
    }
}

} // namespace app
