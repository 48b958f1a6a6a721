// ExGrid: a key released, step by step (declared in ExGridStructure.h).
#include "grid/ExGrid.h"
#include "grid/ExGridSettings.h"

namespace grid {

void TExGridStructure::KeyUp(uint16_t& key, gui::TShiftState shift)
{
    ClearSearchOnMovingKey(key);
    TExGridSlots::KeyUp(key, shift);  // OnKeyUp
    EditorAfterMovingKey(key);
    const bool editing = Options().Contains(gui::TGridOption::goEditing);
    if (FMouseActions->DisjunctCellSelect() && key == gui::VK_SPACE && !editing) DisjunctCellSpaceUp(shift);
}

// Keys that move the current cell end the incremental search.
void TExGridStructure::ClearSearchOnMovingKey(uint16_t key)
{
    switch (key) {
    case gui::VK_PRIOR:
    case gui::VK_NEXT:
    case gui::VK_END:
    case gui::VK_LEFT:
    case gui::VK_UP:
    case gui::VK_RIGHT:
    case gui::VK_DOWN:
    case gui::VK_INSERT:
    case gui::VK_DELETE:
        SearchInc.clear();
        break;
    default:
        break;
    }
}

// With Navigation.AlwaysEdit the editor opens on the cell an arrow key (or
// Tab under goTabs) moved to; a cell whose click control answers a click
// opens none.
void TExGridStructure::EditorAfterMovingKey(uint16_t key)
{
    if (!FNavigation->AlwaysEdit()) return;
    const bool arrow = key >= gui::VK_LEFT && key <= gui::VK_DOWN;
    const bool tab = key == gui::VK_TAB && Options().Contains(gui::TGridOption::goTabs);
    if (!arrow && !tab) return;
    TExStringGrid& g = Self();
    if (g.HasClickControl(g.RealColIndex(gui::TCustomGrid::Col()), Row())) return;
    g.ShowInplaceEdit();
}

} // namespace grid
