// GridOffice: the string grid's exchange with office applications and
// databases through their automation servers (late binding by ProgID):
// spreadsheet workbooks ("excel.application"), word-processor documents
// ("word.application") and database queries ("ADODB.Connection",
// "ADODB.RecordSet").  The stand-ins of OfficeServers.h answer them here.
//
// The rule a caller must know: an unregistered server raises
// grid::ZEziDoroZezuz "Excel OLE server not found" / "Word OLE server not
// found"; the hourglass shows while a spreadsheet or document operation
// runs.  Saving uses a running instance (rtl::RegisterActiveOleObject)
// when there is one and leaves it running.
//
//   gridio::TGridOffice office(*grid);
//   office.SaveToXLS("/tmp/a.xlsx", true);
//   office.LoadFromXLSSheet("/tmp/a.xlsx", "Sheet1");
#pragma once

#include <string>
#include <vector>

#include "grid/ExGrid.h"

namespace gridio {

class TGridOffice {
public:
    explicit TGridOffice(grid::TExStringGrid& grid) : FGrid(grid) {}

    std::vector<std::string> GetXLSSheets(const std::string& fileName);
    // The used range of the active (or named) sheet; "Excel worksheet <name>
    // not found", "Incorrect XLS file".
    void LoadFromXLS(const std::string& fileName) { LoadXLS(fileName, ""); }
    void LoadFromXLSSheet(const std::string& fileName, const std::string& sheetName) { LoadXLS(fileName, sheetName); }
    void SaveToXLS(const std::string& fileName, bool createNewSheet) { SaveXLS(fileName, "", createNewSheet); }
    void SaveToXLSSheet(const std::string& fileName, const std::string& sheetName) { SaveXLS(fileName, sheetName, false); }
    void SaveToDOC(const std::string& fileName, bool createNewDocument) { SaveDOC(fileName, createNewDocument, false, ""); }
    // The table at the bookmark when the document has it, else at the end.
    void AppendToDoc(const std::string& fileName, const std::string& bookmark) { SaveDOC(fileName, false, true, bookmark); }
    void LoadFromMDBTable(const std::string& fileName, const std::string& table)
    {
        LoadFromMDBSQL(fileName, "SELECT * FROM " + table);
    }
    void LoadFromMDBSQL(const std::string& fileName, const std::string& sql);

private:
    void LoadXLS(const std::string& fileName, const std::string& sheetName);
    void SaveXLS(const std::string& fileName, const std::string& sheetName, bool createNewSheet);
    void SaveDOC(const std::string& fileName, bool createNew, bool append, const std::string& bookmark);
    grid::TExStringGrid& FGrid;
};

} // namespace gridio
