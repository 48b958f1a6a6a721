// The sort settings' text form (direction and column, or the index list)
// and the setters that repaint the sort row.
#include <string>

#include "grid/ExGrid.h"
#include "platform/rtl/Strings.h"

namespace grid {

// --- the text form of the sort settings -------------------------------------------------

std::string TSortSettings::SaveToString() const
{
    if (IndexShow()) return "i;" + (FOwnerGrid ? FOwnerGrid->SortIndexes()->SaveToString() : std::string());
    return (Direction() == TSortDirection::sdDescending ? "d" : "u") + std::to_string(Column());
}

void TSortSettings::LoadFromString(const std::string& value)
{
    if (value.empty()) return;
    SetShow(true);
    if (value.size() < 2) throw rtl::Exception("Invalid sort settings specifier");
    if (value.find("i;") != std::string::npos) {
        SetIndexShow(true);
        if (FOwnerGrid) {
            FOwnerGrid->SortIndexes()->LoadFromString(value.substr(2));
            FOwnerGrid->QSortIndexed();
        }
        return;
    }
    SetIndexShow(false);
    SetDirection(value.find('u') != std::string::npos ? TSortDirection::sdAscending : TSortDirection::sdDescending);
    const std::string rest = value.substr(1);
    char* end = nullptr;
    const long col = std::strtol(rest.c_str(), &end, 10);
    if (rest.empty() || *end != '\0') return;
    SetColumn(static_cast<int>(col));
    if (FOwnerGrid) FOwnerGrid->QSort();
}

void TSortSettings::SetShow(bool v)
{
    if (FShow == v) return;
    FShow = v;
    if (FOwnerGrid) FOwnerGrid->Invalidate();
}

void TSortSettings::RepaintHeader()
{
    if (FOwnerGrid && FOwnerGrid->FixedRows() > 0) FOwnerGrid->RepaintRow(FOwnerGrid->FixedRows() - 1);
}

void TSortSettings::SetHeaderColor(TColor v)
{
    if (FHeaderColor == v) return;
    FHeaderColor = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderColorTo(TColor v)
{
    if (FHeaderColorTo == v) return;
    FHeaderColorTo = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColor(TColor v)
{
    if (FHeaderMirrorColor == v) return;
    FHeaderMirrorColor = v;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColorTo(TColor v)
{
    if (FHeaderMirrorColorTo == v) return;
    FHeaderMirrorColorTo = v;
    RepaintHeader();
}

void TSortSettings::Remove()
{
    SetColumn(-1);
    if (!FOwnerGrid) return;
    FOwnerGrid->SortIndexes()->Clear();
    if (FOwnerGrid->FixedRows() > 0) FOwnerGrid->RepaintRow(FOwnerGrid->FixedRows() - 1);
}

void TSortSettings::SetSortRow(int v)
{
    if (FOwnerGrid && v > FOwnerGrid->FixedRows())
        throw rtl::Exception("Sort row should be smaller than number of fixed rows");
    SetRow(v);
}

} // namespace grid
