// GridIOHooks: gridio/'s answer to the string grid's hook interface.
#include "gridio/GridIOHooks.h"

#include "grid/ExGridDragDrop.h"
#include "gridio/GridClipboard.h"
#include "gridio/GridColumnStates.h"
#include "gridio/GridFiles.h"
#include "gridio/GridOffice.h"
#include "gridio/GridPrintSettings.h"
#include "gridio/OfficeServers.h"
#include "platform/rtl/Strings.h"
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
    void MeasurePasteText(grid::TExStringGrid&, const std::string& text, gui::TPoint& size) override
    {
        TGridClipboard::MeasurePasteText(text, size);
    }
    int PasteTextAtCell(grid::TExStringGrid& g, int aCol, int aRow, int& lines, int& fields,
                        const std::string& text) override
    {
        return TGridClipboard(g).PasteTextAtCell(aCol, aRow, lines, fields, text);
    }
    bool LoadDroppedFile(grid::TExStringGrid& g, const std::string& fileName) override
    {
        const std::string upper = rtl::AnsiUpperCase(fileName);
        if (upper.find(".CSV") != std::string::npos) {
            TGridFiles(g).LoadFromCSV(fileName, -1);
            return true;
        }
        if (upper.find(".XLS") != std::string::npos) {
            TGridOffice(g).LoadFromXLS(fileName);
            return true;
        }
        return false;
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

// The files a drop on the grid loads.
class TDropLoadHooksImpl : public grid::TGridDropLoadHooks {
public:
    void LoadFromCSV(grid::TExStringGrid& g, const std::string& fileName, int maxRows) override
    {
        TGridFiles(g).LoadFromCSV(fileName, maxRows);
    }
    void LoadFromXLS(grid::TExStringGrid& g, const std::string& fileName) override
    {
        TGridOffice(g).LoadFromXLS(fileName);
    }
};

} // namespace

void InstallGridIOHooks()
{
    static TGridIOHooksImpl hooks;
    static TDropLoadHooksImpl dropHooks;
    grid::SetGridIOHooks(&hooks);
    grid::SetGridDropLoadHooks(&dropHooks);
    RegisterXmlDomServer();
    RegisterOfficeServers();
}

} // namespace gridio
