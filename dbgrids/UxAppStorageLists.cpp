// Stored lists: a count under "Count" and numbered items, for string lists,
// wide-string lists, object lists, string lists with objects and
// collections.
#include "dbgrids/UxAppStorage.h"

#include "platform/rtl/Strings.h"

namespace dbgrids {

namespace {

// Joins without normalising, so that an absolute path stays absolute.
std::string Join(const std::string& a, const std::string& b)
{
    return a.empty() ? b : a + "\\" + b;
}

// Keeps an update bracket of a string list or collection balanced.
template <typename L>
struct TUpdateGuard {
    L* List;
    explicit TUpdateGuard(L* l) : List(l) { List->BeginUpdate(); }
    ~TUpdateGuard() { List->EndUpdate(); }
};

} // namespace

std::string TUxCustomAppStorage::ItemNameIndexPath(const std::string& itemName, int index) const
{
    if (FStorageOptions->UseOldItemNameFormat()) return itemName + std::to_string(index);
    return itemName + "[" + std::to_string(index) + "]";
}

int TUxCustomAppStorage::ReadItemCount(const std::string& path, const std::string&)
{
    return ReadInteger(Join(path, "Count"), 0);
}

void TUxCustomAppStorage::WriteItemCount(const std::string& path, int count, const std::string&)
{
    WriteInteger(Join(path, "Count"), count);
}

int TUxCustomAppStorage::ReadList(const std::string& path, rtl::TObject* list, const TUxAppStorageListItemEvent& onReadItem,
                                  const std::string& itemName)
{
    int count = ReadItemCount(path, itemName);
    for (int i = 0; i < count; ++i) onReadItem(this, path, list, i, itemName);
    return count;
}

void TUxCustomAppStorage::WriteList(const std::string& path, rtl::TObject* list, int itemCount,
                                    const TUxAppStorageListItemEvent& onWriteItem,
                                    const TUxAppStorageListDeleteEvent& onDeleteItems, const std::string& itemName)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(Join(path, "*"), s, p);
    if (s->ReadOnly()) return;
    int old = ReadItemCount(path, itemName);
    for (int i = 0; i < itemCount; ++i) onWriteItem(this, path, list, i, itemName);
    if (itemCount < old && onDeleteItems) onDeleteItems(this, path, list, itemCount, old - 1, itemName);
    WriteItemCount(path, itemCount, itemName);
}

// ------------------------------------------------------------ string lists

int TUxCustomAppStorage::ReadStringList(const std::string& path, rtl::TStringList* sl, bool clearFirst,
                                        const std::string& itemName)
{
    if (clearFirst) sl->Clear();
    if (ListStored(path, itemName)) {
        TUpdateGuard<rtl::TStringList> guard(sl);
        ReadPersistent(path, sl, true, false, nullptr);
        return ReadList(path, sl, [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int i,
                                     const std::string& name) {
            auto* l = dynamic_cast<rtl::TStringList*>(list);
            if (l) l->Add(sender->ReadString(Join(p, sender->ItemNameIndexPath(name, i)), ""));
        }, itemName);
    }
    if (ValueStored(path)) sl->SetText(ReadString(path, ""));
    return sl->Count();
}

void TUxCustomAppStorage::WriteStringList(const std::string& path, rtl::TStringList* sl, const std::string& itemName)
{
    if (FStorageOptions->StoreStringListAsSingleString()) {
        if (ListStored(path, itemName)) DeleteSubTree(path);
        WriteString(path, sl->Text());
        return;
    }
    WriteList(path, sl, sl->Count(),
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int i, const std::string& name) {
                  if (auto* l = dynamic_cast<rtl::TStringList*>(list))
                      sender->WriteString(Join(p, sender->ItemNameIndexPath(name, i)), (*l)[i]);
              },
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int first, int last,
                 const std::string& name) {
                  if (!dynamic_cast<rtl::TStringList*>(list)) return;
                  for (int i = first; i <= last; ++i) sender->DeleteValue(Join(p, sender->ItemNameIndexPath(name, i)));
              },
              itemName);
    WritePersistent(path, sl, true, nullptr);
}

// ------------------------------------------------------- wide-string lists

int TUxCustomAppStorage::ReadWideStringList(const std::string& path, TUxWideStrings* sl, bool clearFirst,
                                            const std::string& itemName)
{
    if (!ListStored(path, itemName) && FStorageOptions->DefaultIfValueNotExists())
        return static_cast<int>(sl->Items.size());
    if (clearFirst) sl->Items.clear();
    ReadPersistent(path, sl, true, false, nullptr);
    return ReadList(path, sl, [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int i,
                                 const std::string& name) {
        if (auto* l = dynamic_cast<TUxWideStrings*>(list))
            l->Items.push_back(sender->ReadWideString(Join(p, name + std::to_string(i)), u""));
    }, itemName);
}

void TUxCustomAppStorage::WriteWideStringList(const std::string& path, TUxWideStrings* sl, const std::string& itemName)
{
    WriteList(path, sl, static_cast<int>(sl->Items.size()),
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int i, const std::string& name) {
                  if (auto* l = dynamic_cast<TUxWideStrings*>(list))
                      sender->WriteWideString(Join(p, name + std::to_string(i)), l->Items[static_cast<size_t>(i)]);
              },
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* list, int first, int last,
                 const std::string& name) {
                  if (!dynamic_cast<TUxWideStrings*>(list)) return;
                  for (int i = first; i <= last; ++i) sender->DeleteValue(Join(p, name + std::to_string(i)));
              },
              itemName);
    WritePersistent(path, sl, true, nullptr);
}

// ------------------------------------------------------------ object lists

rtl::TPersistent* TUxCustomAppStorage::CreateListItem(const std::string& itemPath, int index)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(itemPath, s, p);
    if (s->FCurrentInstanceCreateEvent) return s->FCurrentInstanceCreateEvent(this, itemPath, index);
    return nullptr;
}

namespace {

// The default item creator: the class named by the item's "Classname"
// value, made with its plain constructor.  An unknown class is an error
// that names it; the items read before stay in the list.
rtl::TPersistent* DefaultItemCreator(TUxCustomAppStorage* sender, const std::string& path, int)
{
    std::string name = sender->ReadString(Join(path, "Classname"), "");
    const rtl::TClassInfo* cls = rtl::GetClass(name);
    if (!cls || !cls->CanCreate())
        throw EUXLAppStorageError("Cannot create the list item at '" + path + "': class '" + name + "' is not registered");
    rtl::TObject* obj = cls->Create(nullptr);
    auto* item = dynamic_cast<rtl::TPersistent*>(obj);
    if (!item) {
        delete obj;
        throw EUXLAppStorageError("Cannot create the list item at '" + path + "': class '" + name + "' is not persistent");
    }
    return item;
}

} // namespace

int TUxCustomAppStorage::ReadObjectList(const std::string& path, TUxObjectList* list,
                                        const TUxAppStorageObjectListItemCreateEvent& itemCreator, bool clearFirst,
                                        const std::string& itemName)
{
    if (!ListStored(path, itemName) && FStorageOptions->DefaultIfValueNotExists())
        return static_cast<int>(list->Items.size());
    if (clearFirst) list->Items.clear();
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(Join(path, "*"), s, p);
    TUxAppStorageObjectListItemCreateEvent saved = s->FCurrentInstanceCreateEvent;
    s->FCurrentInstanceCreateEvent = itemCreator ? itemCreator : TUxAppStorageObjectListItemCreateEvent(&DefaultItemCreator);
    try {
        int n = ReadList(path, list, [](TUxCustomAppStorage* sender, const std::string& lp, rtl::TObject* l, int i,
                                        const std::string& name) {
            auto* objects = dynamic_cast<TUxObjectList*>(l);
            if (!objects) return;
            std::string ip = Join(lp, sender->ItemNameIndexPath(name, i));
            rtl::TPersistent* item = sender->CreateListItem(ip, i);
            objects->Items.push_back(item);
            sender->ReadPersistent(ip, item, true, true, nullptr);
        }, itemName);
        s->FCurrentInstanceCreateEvent = saved;
        return n;
    } catch (...) {
        s->FCurrentInstanceCreateEvent = saved;
        throw;
    }
}

void TUxCustomAppStorage::WriteObjectList(const std::string& path, TUxObjectList* list, const std::string& itemName)
{
    WriteList(path, list, static_cast<int>(list->Items.size()),
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* l, int i, const std::string& name) {
                  auto* objects = dynamic_cast<TUxObjectList*>(l);
                  if (!objects) return;
                  if (auto* item = dynamic_cast<rtl::TPersistent*>(objects->Items[static_cast<size_t>(i)]))
                      sender->WritePersistent(Join(p, sender->ItemNameIndexPath(name, i)), item, true, nullptr);
              },
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* l, int first, int last,
                 const std::string& name) {
                  if (!dynamic_cast<TUxObjectList*>(l)) return;
                  for (int i = first; i <= last; ++i) sender->DeleteValue(Join(p, sender->ItemNameIndexPath(name, i)));
              },
              itemName);
}

// -------------------------------------------------- string lists with objects

int TUxCustomAppStorage::ReadStringObjectList(const std::string& path, rtl::TStringList* sl,
                                              const TUxAppStorageObjectListItemCreateEvent& itemCreator,
                                              bool clearFirst, const std::string& itemName)
{
    if (!ListStored(path, itemName) && FStorageOptions->DefaultIfValueNotExists()) return sl->Count();
    TUpdateGuard<rtl::TStringList> guard(sl);
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(Join(path, "*"), s, p);
    p.resize(p.size() - 2);
    if (clearFirst) sl->Clear();
    ReadPersistent(path, sl, true, false, nullptr);
    TUxAppStorageObjectListItemCreateEvent saved = s->FCurrentInstanceCreateEvent;
    s->FCurrentInstanceCreateEvent = itemCreator ? itemCreator : TUxAppStorageObjectListItemCreateEvent(&DefaultItemCreator);
    try {
        int n = s->ReadList(p, sl, [](TUxCustomAppStorage* sender, const std::string& lp, rtl::TObject* l, int i,
                                      const std::string& name) {
            auto* list = dynamic_cast<rtl::TStringList*>(l);
            if (!list) return;
            std::string ip = Join(lp, sender->ItemNameIndexPath(name, i));
            rtl::TPersistent* item = sender->CreateListItem(Join(ip, "Object"), i);
            list->AddObject(sender->ReadString(Join(ip, "Itemname"), ""), item);
            sender->ReadPersistent(Join(ip, "Object"), item, true, true, nullptr);
        }, itemName);
        s->FCurrentInstanceCreateEvent = saved;
        return n;
    } catch (...) {
        s->FCurrentInstanceCreateEvent = saved;
        throw;
    }
}

void TUxCustomAppStorage::WriteStringObjectList(const std::string& path, rtl::TStringList* sl, const std::string& itemName)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(Join(path, "*"), s, p);
    p.resize(p.size() - 2);
    s->WriteList(p, sl, sl->Count(),
                 [](TUxCustomAppStorage* sender, const std::string& lp, rtl::TObject* l, int i, const std::string& name) {
                     auto* list = dynamic_cast<rtl::TStringList*>(l);
                     if (!list) return;
                     std::string ip = Join(lp, sender->ItemNameIndexPath(name, i));
                     sender->WriteString(Join(ip, "Itemname"), (*list)[i]);
                     if (auto* obj = dynamic_cast<rtl::TPersistent*>(list->Objects(i)))
                         sender->WritePersistent(Join(ip, "Object"), obj, true, nullptr);
                 },
                 [](TUxCustomAppStorage* sender, const std::string& lp, rtl::TObject* l, int first, int last,
                    const std::string& name) {
                     if (!dynamic_cast<rtl::TStringList*>(l)) return;
                     for (int i = first; i <= last; ++i) sender->DeleteValue(Join(lp, sender->ItemNameIndexPath(name, i)));
                 },
                 itemName);
    WritePersistent(path, sl, true, nullptr);
}

// ------------------------------------------------------------- collections

int TUxCustomAppStorage::ReadCollection(const std::string& path, rtl::TCollection* list, bool clearFirst,
                                        const std::string& itemName)
{
    if (!ListStored(path, itemName) && FStorageOptions->DefaultIfValueNotExists()) return list->Count();
    TUpdateGuard<rtl::TCollection> guard(list);
    if (clearFirst) list->Clear();
    ReadPersistent(path, list, true, false, nullptr);
    return ReadList(path, list, [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* l, int i,
                                   const std::string& name) {
        auto* c = dynamic_cast<rtl::TCollection*>(l);
        if (!c) return;
        rtl::TCollectionItem* item = c->Add();
        sender->ReadPersistent(Join(p, sender->ItemNameIndexPath(name, i)), item, true, true, nullptr);
    }, itemName);
}

void TUxCustomAppStorage::WriteCollection(const std::string& path, rtl::TCollection* list, const std::string& itemName)
{
    WriteList(path, list, list->Count(),
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* l, int i, const std::string& name) {
                  auto* c = dynamic_cast<rtl::TCollection*>(l);
                  if (c && c->Items(i)) sender->WritePersistent(Join(p, sender->ItemNameIndexPath(name, i)), c->Items(i), true, nullptr);
              },
              [](TUxCustomAppStorage* sender, const std::string& p, rtl::TObject* l, int first, int last,
                 const std::string& name) {
                  if (!dynamic_cast<rtl::TCollection*>(l)) return;
                  for (int i = first; i <= last; ++i) sender->DeleteValue(Join(p, sender->ItemNameIndexPath(name, i)));
              },
              itemName);
    WritePersistent(path, list, true, nullptr);
}

} // namespace dbgrids
