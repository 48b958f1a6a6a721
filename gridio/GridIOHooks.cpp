// GridIOHooks: gridio/'s answer to the string grid's hook interface.
#include "gridio/GridIOHooks.h"

#include "grid/ExGrid.h"
#include "gridio/GridClipboard.h"
#include "gridio/GridColumnStates.h"
#include "gridio/GridFiles.h"
#include "gridio/GridOffice.h"
#include "gridio/GridPrintSettings.h"
#include "gridio/OfficeServers.h"
#include "gridio/XmlDomServer.h"

namespace gridio {

namespace {

class TGridIOHooksImpl : public grid::TGridIOHooks {
public:
    void CopySelectionToClipboard(grid::TExStringGrid& g) override { TGridClipboard(g).CopySelectionToClipboard(); }
    void CutSelectionToClipboard(grid::TExStringGrid& g) override { TGridClipboard(g).CutSelectionToClipboard(); }
    void PasteSelectionFromClipboard(grid::TExStringGrid& g) override
    {
        TGridClipboard(g).PasteSelectionFromClipboard();
    }
    // Dropped text is measured by the hooks' default (MeasureTextBlock).
    int PasteTextAtCell(grid::TExStringGrid& g, int aCol, int aRow, int& lines, int& fields,
                        const std::string& text) override
    {
        return TGridClipboard(g).PasteTextAtCell(aCol, aRow, lines, fields, text);
    }
    void LoadFromCSV(grid::TExStringGrid& g, const std::string& fileName, int column) override
    {
        TGridFiles(g).LoadFromCSV(fileName, column);
    }
    void LoadFromXLS(grid::TExStringGrid& g, const std::string& fileName) override
    {
        TGridOffice(g).LoadFromXLS(fileName);
    }
    void SaveColSizes(grid::TExStringGrid& g) override { gridio::SaveColSizes(g); }
    void LoadColSizes(grid::TExStringGrid& g) override { gridio::LoadColSizes(g); }
    void AssignCells(grid::TExStringGrid& g, const grid::TExStringGrid& source) override
    {
        rtl::TMemoryStream stream;
        // Saving reads the source's save texts, which fire its OnSaveCell.
        TGridFiles(const_cast<grid::TExStringGrid&>(source)).SaveToStream(stream);
        stream.SetPosition(0);
        TGridFiles(g).LoadFromStream(stream);
    }
    std::unique_ptr<grid::TPrintSettings> CreatePrintSettings(grid::TExStringGrid& g) override
    {
        return std::make_unique<TPrintSettings>(&g);
    }
};

} // namespace

void InstallGridIOHooks()
{
    static TGridIOHooksImpl hooks;
    grid::SetGridIOHooks(&hooks);
    RegisterXmlDomServer();
    RegisterOfficeServers();
}

} // namespace gridio
