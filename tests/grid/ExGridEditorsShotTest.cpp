// A look at every special editor open on cell (2, 2) of a test grid, one
// tile per editor, classic faces and themed ones (two pictures).
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "TestPaths.h"
#include <functional>

#include "grid/ExControlEdit.h"
#include "grid/ExEditLink.h"
#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"

using namespace grid;

namespace {

struct LineEditLink : TEditLink {
    using TEditLink::TEditLink;
    gui::TEdit* Ed = nullptr;
    void CreateEditor(gui::TWinControl* parent) override
    {
        if (!Ed) Ed = new gui::TEdit(this);
        Ed->SetParent(parent);
    }
    gui::TWinControl* GetEditControl() override { return Ed; }
    std::string GetEditorValue() override { return Ed ? Ed->Text() : std::string(); }
    void SetEditorValue(const std::string& v) override { Ed->SetText(v); }
};

void Shoot(bool themed, const std::string& fileName)
{
    ScopedFormatSettings saved;
    rtl::FormatSettings().DateSeparator = '/';
    rtl::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    rtl::FormatSettings().TimeSeparator = ':';
    gui::ResetThemeService();
    gui::SetThemeActive(themed);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 520, 200);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 500, 180);
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetDefaultColWidth(150);
    g->SetDefaultRowHeight(26);
    g->SetOptions(g->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    TEditorType type = TEditorType::edNormal;
    g->OnGetEditorType = [&](rtl::TObject*, int, int, TEditorType& e) { e = type; };
    for (const char* s : {"Total", "Annular", "Partial", "Hybrid"}) g->EditCombo()->Items()->Add(s);
    for (int c = 1; c < 4; ++c)
        for (int r = 1; r < 5; ++r) g->SetCells(c, r, "cell " + std::to_string(c) + "," + std::to_string(r));
    form.Show();
    g->SetFocus();
    struct Tile {
        const char* name;
        TEditorType type;
        const char* text;
    };
    const Tile tiles[] = {
        {"check box", TEditorType::edCheckBox, "Visible"},
        {"spin", TEditorType::edSpinEdit, "42"},
        {"float spin", TEditorType::edFloatSpinEdit, "12.5"},
        {"date spin", TEditorType::edDateSpinEdit, "12/08/2026"},
        {"combo edit", TEditorType::edComboEdit, "Annular"},
        {"combo list", TEditorType::edComboList, "Total"},
        {"date", TEditorType::edDateEdit, "12/08/2026"},
        {"time", TEditorType::edTimeEdit, "17:46:00"},
        {"date-time", TEditorType::edDateTimeEdit, "12/08/2026 17:46"},
        {"edit button", TEditorType::edEditBtn, "eclipses.csv"},
        {"unit edit", TEditorType::edUnitEditBtn, "1013 hPa"},
        {"button", TEditorType::edButton, "Compute"},
    };
    const int tileW = 340, tileH = 100, perRow = 3;
    gui::TBitmap sheet;
    const int rows = (static_cast<int>(std::size(tiles)) + 4 + perRow - 1) / perRow;
    sheet.SetSize(tileW * perRow, tileH * rows);
    sheet.Canvas()->Brush()->SetColor(gui::clWhite);
    sheet.Canvas()->FillRect({0, 0, sheet.Width(), sheet.Height()});
    int i = 0;
    for (const Tile& t : tiles) {
        type = t.type;
        g->SetCells(2, 2, t.text);
        g->MoveColRow(2, 2, true, false);
        g->SetFocus();
        g->ShowInplaceEdit();
        EXPECT_TRUE(g->SpecialEditorOpen()) << t.name;
        gui::Application->ProcessMessages();
        auto img = g->GetImage();
        const gui::TRect cell = g->CellRect(2, 2);
        const gui::TRect src{cell.Left - 160, cell.Top - 30, cell.Left - 160 + tileW - 10, cell.Top - 30 + tileH - 22};
        const int x = (i % perRow) * tileW, y = (i / perRow) * tileH;
        sheet.Canvas()->CopyRect({x + 5, y + 18, x + tileW - 5, y + tileH - 4}, img->Canvas(), src);
        sheet.Canvas()->Font()->SetColor(gui::clBlack);
        sheet.Canvas()->TextOut(x + 6, y + 2, t.name);
        g->HideInplaceEdit();
        ++i;
    }
    // The inline controls, the transparent editor and an edit link.
    type = TEditorType::edNormal;
    struct Extra {
        const char* name;
        std::function<void()> open;
    };
    LineEditLink link(nullptr);
    g->SetEditLink(&link);
    const Extra extras[] = {
        {"inline edit",
         [&] {
             g->SetCells(2, 2, "Site <CONTROL TYPE=\"EDIT\" ID=\"s\" VALUE=\"Tromso\" WIDTH=\"80\">");
             g->EditNextCellControl(2, 2, "");
         }},
        {"inline combo",
         [&] {
             g->SetCells(2, 2, "Type <CONTROL TYPE=\"COMBO\" ID=\"t\" VALUE=\"Total\" WIDTH=\"90\">");
             g->EditNextCellControl(2, 2, "");
             g->InlineCombo()->SetDroppedDown(false);
         }},
        {"transparent editor",
         [&] {
             g->SetCells(2, 0, "Header");
             g->ShowTransparentEditor(2, 0);
         }},
        {"edit link",
         [&] {
             type = TEditorType::edCustom;
             g->SetCells(2, 2, "linked");
             g->MoveColRow(2, 2, true, false);
             g->SetFocus();
             g->ShowInplaceEdit();
         }},
    };
    for (const Extra& e : extras) {
        e.open();
        gui::Application->ProcessMessages();
        auto img = g->GetImage();
        const bool header = std::string(e.name) == "transparent editor";
        const gui::TRect cell = g->CellRect(2, header ? 1 : 2);
        const gui::TRect src{cell.Left - 160, cell.Top - 30, cell.Left - 160 + tileW - 10, cell.Top - 30 + tileH - 22};
        const int x = (i % perRow) * tileW, y = (i / perRow) * tileH;
        sheet.Canvas()->CopyRect({x + 5, y + 18, x + tileW - 5, y + tileH - 4}, img->Canvas(), src);
        sheet.Canvas()->TextOut(x + 6, y + 2, e.name);
        g->SetFocus();
        g->InlineControlExit(nullptr);
        g->HideInplaceEdit();
        ++i;
    }
    g->SetEditLink(nullptr);
    gui::TPngImage png;
    png.Assign(&sheet);
    const std::string file = (tectest::SnapshotDir() / fileName).string();
    png.SaveToFile(file);
    testing::Test::RecordProperty("screenshot", file);
    gui::ResetThemeService();
}

} // namespace

TEST(GridEditorsShot, Classic) { Shoot(false, "grid-editors-classic.png"); }
TEST(GridEditorsShot, Themed) { Shoot(true, "grid-editors-themed.png"); }
