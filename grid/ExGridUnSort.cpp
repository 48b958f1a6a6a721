// Sorting of TExStringGrid: the restore of the order the rows had before
// the sorts since the cross-reference was taken.
#include <functional>
#include <string>
#include <vector>

#include "grid/ExGrid.h"

namespace grid {

void TExStringGrid::QUnSort()
{
    // Rows added or removed since the last sort leave nothing to restore.
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) return;
    FUnSortRowXRef = FSortRowXRef;
    const bool keep0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    std::vector<std::string> texts0;
    std::vector<rtl::TObject*> objects0;
    if (keep0)
        for (int r = 0; r < RowCount(); ++r) {
            texts0.push_back(GetRawCellText(0, r));
            objects0.push_back(GetRawObject(0, r));
        }
    BeginUpdate();
    struct TRestore {
        TExStringGrid& G;
        std::vector<std::string>& Texts;
        std::vector<rtl::TObject*>& Objects;
        ~TRestore()
        {
            for (int r = 0; r < static_cast<int>(Texts.size()); ++r) G.SetRawObject(0, r, nullptr);
            for (int r = 0; r < static_cast<int>(Texts.size()); ++r) {
                G.SetRawCellText(0, r, Texts[static_cast<std::size_t>(r)]);
                G.SetRawObject(0, r, Objects[static_cast<std::size_t>(r)]);
            }
            G.EndUpdate();
        }
    } restore{*this, texts0, objects0};
    // A quicksort on the remembered positions; the smaller part nests.
    std::vector<int>& x = FUnSortRowXRef;
    std::function<void(int, int)> range = [&](int left, int right) {
        while (left < right) {
            const int pv = x[static_cast<std::size_t>((left + right) / 2)];
            int i = left, j = right;
            do {
                while (x[static_cast<std::size_t>(i)] < pv && i < right) ++i;
                while (x[static_cast<std::size_t>(j)] > pv && left < j) --j;
                if (i <= j) {
                    if (i != j && x[static_cast<std::size_t>(i)] != x[static_cast<std::size_t>(j)]) {
                        SortSwapRows(i, j);
                        std::swap(x[static_cast<std::size_t>(i)], x[static_cast<std::size_t>(j)]);
                    }
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j - left < right - i) {
                if (left < j) range(left, j);
                left = i;
            } else {
                if (i < right) range(i, right);
                right = j;
            }
        }
    };
    range(0, RowCount() - 1);
}

} // namespace grid
