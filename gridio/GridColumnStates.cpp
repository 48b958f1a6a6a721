// GridColumnStates: column states text, column sizes and positions.
#include "gridio/GridColumnStates.h"

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/RegistryIni.h"

namespace gridio {

namespace {

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t at = s.find(sep, start);
        out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return out;
}

[[noreturn]] void IndexError(size_t i)
{
    throw rtl::EListError("List index out of bounds (" + std::to_string(i) + ")");
}

// The entries of order that are not -1, in ascending positions.
std::vector<int> Without(const std::vector<int>& order, int count)
{
    std::vector<int> list;
    for (int i = 0; i < count; ++i)
        if (order[static_cast<size_t>(i)] != -1) list.push_back(order[static_cast<size_t>(i)]);
    return list;
}

// For c = 0 .. count-1 the positions whose entry is c.
std::vector<int> Inverse(const std::vector<int>& list, int count)
{
    std::vector<int> inv;
    for (int c = 0; c < count; ++c)
        for (size_t p = 0; p < list.size(); ++p)
            if (list[p] == c) inv.push_back(static_cast<int>(p));
    return inv;
}

// Moves columns until display position i shows the column of unmoved index order[i].
void ApplyOrder(grid::TExStringGrid& g, const std::vector<int>& list, int count)
{
    std::vector<int> inv = Inverse(list, count);
    if (inv.size() > static_cast<size_t>(count)) inv.resize(static_cast<size_t>(count));
    g.SetColumnOrderList(inv);
    if (!inv.empty()) g.ResetColumnOrder();
}

bool Guarded(grid::TExStringGrid& g)
{
    const grid::TColumnSize* cs = g.ColumnSize();
    return cs->Key().empty() || cs->Section().empty() || g.ComponentState().Contains(rtl::TComponentStateItem::csDesigning);
}

std::unique_ptr<rtl::TCustomIniFile> Store(grid::TExStringGrid& g)
{
    if (g.ColumnSize()->Location() == grid::TColumnSizeLocation::clIniFile)
        return std::make_unique<rtl::TMemIniFile>(g.ColumnSize()->Key());
    return std::make_unique<sys::TRegistryIniFile>(g.ColumnSize()->Key());
}

} // namespace

std::string ColumnStatesToString(grid::TExStringGrid& g)
{
    const int n = g.ColCount() + g.NumHiddenColumns();
    std::string widths, order, vis;
    for (int c = 0; c < n; ++c) {
        if (c) widths += ",";
        widths += std::to_string(c < g.ColCount() ? g.ColWidths(c) : g.DefaultColWidth());
    }
    const std::vector<int>& list = g.ColumnOrderList();
    if (!list.empty()) {
        for (size_t i = 0; i < list.size(); ++i) order += (i ? "," : "") + std::to_string(list[i]);
    } else {
        for (int c = 0; c < n; ++c) order += (c ? "," : "") + std::to_string(c);
    }
    for (int c = 0; c < n; ++c) vis += std::string(c ? "," : "") + (g.IsHiddenColumn(c) ? "0" : "1");
    return std::to_string(n) + "#" + widths + "#" + order + "#" + vis;
}

void StringToColumnStates(grid::TExStringGrid& g, const std::string& value)
{
    if (value.find('#') == std::string::npos) {
        g.SetColumnOrderList({});
        return;
    }
    // The whole text is read and checked before the grid changes.
    const std::vector<std::string> fields = Split(value, '#');
    if (fields.size() < 4) IndexError(fields.size());
    const int n = rtl::StrToInt(rtl::Trim(fields[0]));
    auto numbers = [](const std::string& f) {
        std::vector<int> v;
        if (f.empty()) return v;
        for (const std::string& t : Split(f, ',')) v.push_back(rtl::StrToInt(rtl::Trim(t)));
        return v;
    };
    const std::vector<int> widths = numbers(fields[1]);
    const std::vector<int> order = numbers(fields[2]);
    const std::vector<std::string> vis = Split(fields[3], ',');
    if (n < 1) throw rtl::EConvertError("Invalid column count " + fields[0]);
    if (!order.empty() && order.size() < static_cast<size_t>(n)) IndexError(order.size());
    if (vis.size() < static_cast<size_t>(n)) IndexError(vis.size());
    int shown = n;
    for (int c = 0; c < n; ++c)
        if (vis[static_cast<size_t>(c)] == "0") --shown;
    if (widths.size() < static_cast<size_t>(shown)) IndexError(widths.size());

    g.SetColumnOrderList({});
    g.UnHideColumnsAll();
    g.SetColCount(n);
    if (!order.empty()) {
        ApplyOrder(g, Without(order, n), n);
        g.SetColumnOrderList(Without(order, n));
    }
    for (int c = n - 1; c >= 0; --c)
        if (vis[static_cast<size_t>(c)] == "0") g.HideColumn(c);
    for (int c = 0; c < g.ColCount(); ++c) g.SetColWidths(c, widths[static_cast<size_t>(c)]);
}

void SaveColSizes(grid::TExStringGrid& g)
{
    if (Guarded(g)) return;
    auto ini = Store(g);
    for (int c = 0; c < g.ColCount(); ++c) ini->WriteInteger(g.ColumnSize()->Section(), "Col" + std::to_string(c), g.ColWidths(c));
    ini->UpdateFile();
}

void LoadColSizes(grid::TExStringGrid& g)
{
    if (Guarded(g)) return;
    auto ini = Store(g);
    for (int c = 0; c < g.ColCount(); ++c) {
        const int w = ini->ReadInteger(g.ColumnSize()->Section(), "Col" + std::to_string(c), g.ColWidths(c));
        if (w != g.ColWidths(c)) g.SetColWidths(c, w);
    }
}

void SaveColPositions(grid::TExStringGrid& g)
{
    if (Guarded(g)) return;
    auto ini = Store(g);
    const std::vector<int>& list = g.ColumnOrderList();
    for (size_t i = 0; i < list.size(); ++i) ini->WriteInteger(g.ColumnSize()->Section(), "Pos" + std::to_string(i), list[i]);
    ini->UpdateFile();
}

void LoadColPositions(grid::TExStringGrid& g)
{
    if (Guarded(g)) return;
    auto ini = Store(g);
    const std::string& sec = g.ColumnSize()->Section();
    if (ini->ReadInteger(sec, "Pos0", -1) == -1) return;
    const int n = g.AllColCount();
    std::vector<int> stored;
    for (int i = 0; i < n; ++i) stored.push_back(ini->ReadInteger(sec, "Pos" + std::to_string(i), -1));
    const std::vector<int> list = Without(stored, n);
    // Every column must have its stored position before anything moves.
    const std::vector<int> inv = Inverse(list, n);
    if (inv.size() < static_cast<size_t>(n)) IndexError(inv.size());
    std::vector<int> hidden;
    for (int c = 0; c < n; ++c)
        if (g.IsHiddenColumn(c)) hidden.push_back(c);
    g.UnHideColumnsAll();
    ApplyOrder(g, list, n);
    for (int c : hidden) g.HideColumn(c);
    g.SetColumnOrderList(list);
}

} // namespace gridio
