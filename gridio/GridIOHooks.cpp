// GridIOHooks: gridio/'s answer to the string grid's hook interface.
#include "gridio/GridIOHooks.h"

#include "gridio/GridFiles.h"
#include "gridio/XmlDomServer.h"
#include "platform/gui/Clipbrd.h"

namespace gridio {

namespace {

class TGridIOHooksImpl : public grid::TGridIOHooks {
public:
    void CopySelectionToClipboard(grid::TExStringGrid& g) override
    {
        const gui::TGridRect s = g.Selection();
        std::string text;
        for (int r = s.Top; r <= s.Bottom; ++r) {
            for (int c = s.Left; c <= s.Right; ++c) {
                if (c > s.Left) text += '\t';
                text += g.GetCellText(g.DisplayToRealCol(c), r);
            }
            text += "\r\n";
        }
        gui::Clipboard()->SetAsText(text);
    }
    void CutSelectionToClipboard(grid::TExStringGrid&) override {}
    void PasteSelectionFromClipboard(grid::TExStringGrid&) override {}
    void SaveColSizes(grid::TExStringGrid&) override {}
    void LoadColSizes(grid::TExStringGrid&) override {}
    void AssignCells(grid::TExStringGrid& g, const grid::TExStringGrid& source) override
    {
        rtl::TMemoryStream stream;
        // Saving reads the source's save texts, which fire its OnSaveCell.
        TGridFiles(const_cast<grid::TExStringGrid&>(source)).SaveToStream(stream);
        stream.SetPosition(0);
        TGridFiles(g).LoadFromStream(stream);
    }
    std::unique_ptr<grid::TPrintSettings> CreatePrintSettings(grid::TExStringGrid&) override { return nullptr; }
};

} // namespace

void InstallGridIOHooks()
{
    static TGridIOHooksImpl hooks;
    grid::SetGridIOHooks(&hooks);
    RegisterXmlDomServer();
}

} // namespace gridio
