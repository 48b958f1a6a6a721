// TUxDBGrid: the column layout kept in an application storage, and the
// property engine for a grid's Columns collection.
#include <cstdio>

#include "dbgrids/UxAppStoragePropertyEngineDB.h"
#include "dbgrids/UxDBGrid.h"
#include "dbgrids/UxDBUtils.h"
#include "dbgrids/UxFormPlacement.h"
#include "dbgrids/UxUtils.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;

// --- the Columns engine ------------------------------------------------------

bool TUxAppStoragePropertyDBGridColumnsEngine::Supports(rtl::TObject* object, rtl::TObject* property)
{
    (void)object;
    return dynamic_cast<TDBGridColumns*>(property) != nullptr;
}

void TUxAppStoragePropertyDBGridColumnsEngine::ReadProperty(TUxCustomAppStorage* storage, const std::string& path,
                                                            rtl::TObject* object, rtl::TObject* property,
                                                            bool recursive, bool clearFirst)
{
    (void)recursive;
    auto* grid = dynamic_cast<TCustomDBGrid*>(object);
    auto* columns = dynamic_cast<TDBGridColumns*>(property);
    if (grid) grid->BeginLayout();
    try {
        if (columns) storage->ReadCollection(path, columns, clearFirst, "Item");
    } catch (...) {
        if (grid) grid->EndLayout();
        throw;
    }
    if (grid) grid->EndLayout();
}

void TUxAppStoragePropertyDBGridColumnsEngine::WriteProperty(TUxCustomAppStorage* storage, const std::string& path,
                                                             rtl::TObject* object, rtl::TObject* property,
                                                             bool recursive)
{
    (void)object;
    (void)recursive;
    if (auto* columns = dynamic_cast<TDBGridColumns*>(property)) storage->WriteCollection(path, columns, "Item");
}

void RegisterDBGridColumnsEngine()
{
    static const bool registered = [] {
        RegisterPropertyEngine<TUxAppStoragePropertyDBGridColumnsEngine>();
        return true;
    }();
    (void)registered;
}

// --- column layout -------------------------------------------------------------

namespace {

int WordAsInt(const std::string& text, int n, int def)
{
    int64_t v;
    return rtl::TryStrToInt64(NthWord(n, text, ", "), v) && v >= INT32_MIN && v <= INT32_MAX ? static_cast<int>(v)
                                                                                             : def;
}

} // namespace

void TUxDBGrid::SaveColumnsLayout(TUxCustomAppStorage* storage, const std::string& path)
{
    if (!storage) return;
    std::string section = path.empty() ? ComponentStorageName(this) : path;
    storage->DeleteSubTree(section);
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* column = Columns()->Items(i);
        char value[48];
        std::snprintf(value, sizeof value, "%d,%d", column->Index(), column->Visible() ? column->Width() : -1);
        storage->WriteString(TUxCustomAppStorage::ConcatPaths({section, Name() + "." + column->FieldName()}), value);
    }
}

void TUxDBGrid::LoadColumnsLayout(TUxCustomAppStorage* storage, const std::string& path)
{
    if (!storage) return;
    std::string section = path.empty() ? ComponentStorageName(this) : path;
    struct Item {
        TColumn* Column;
        int Target;
    };
    std::vector<Item> items;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* column = Columns()->Items(i);
        std::string s =
            storage->ReadString(TUxCustomAppStorage::ConcatPaths({section, Name() + "." + column->FieldName()}), "");
        Item item{column, column->Index()};
        if (!s.empty()) {
            item.Target = WordAsInt(s, 1, column->Index());
            int width = WordAsInt(s, 2, column->Width());
            // A hidden column was stored with -1: it keeps its width.
            if (width >= 0) column->SetWidth(width);
            column->SetVisible(NthWord(2, s, ", ") != "-1");
        }
        items.push_back(item);
    }
    for (int p = 0; p < static_cast<int>(items.size()); ++p)
        for (const Item& item : items)
            if (item.Target == p) {
                item.Column->SetIndex(p);
                break;
            }
}

void TUxDBGrid::SaveToAppStore(TUxCustomAppStorage* storage, const std::string& path)
{
    db::TDataSet* ds = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!ds) return;
    if (Columns()->State() == TDBGridColumnsState::csCustomized) SaveColumnsLayout(storage, path);
    else if (storage) SaveFieldsLayout(ds, storage, path);
}

void TUxDBGrid::LoadFromAppStore(TUxCustomAppStorage* storage, const std::string& path)
{
    db::TDataSet* ds = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!ds) return;
    BeginLayout();
    try {
        if (Columns()->State() == TDBGridColumnsState::csCustomized) LoadColumnsLayout(storage, path);
        else if (storage) RestoreFieldsLayout(ds, storage, path, false);
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

TUxFormPlacement* TUxDBGrid::IniStorage() const { return FIniLink->Storage(); }

void TUxDBGrid::SetIniStorage(TUxFormPlacement* value) { FIniLink->SetStorage(value); }

std::string TUxDBGrid::IniStoragePath()
{
    std::string section;
    db::TDataSet* ds = DataSource() ? DataSource()->DataSet() : nullptr;
    if (Columns()->State() == TDBGridColumnsState::csCustomized) section = ComponentStorageName(this);
    else if (ds) section = DataSetSection(ds);
    else return {};
    return TUxCustomAppStorage::ConcatPaths({IniStorage()->AppStoragePath(), section});
}

void TUxDBGrid::Save()
{
    if (Name().empty() || !IniStorage()) return;
    SaveToAppStore(IniStorage()->AppStorage(), IniStoragePath());
}

void TUxDBGrid::Load()
{
    if (Name().empty() || !IniStorage()) return;
    LoadFromAppStore(IniStorage()->AppStorage(), IniStoragePath());
}

} // namespace dbgrids
