#include "platform/rtl/Collections.h"

#include <algorithm>

namespace rtl {

RTL_PUBLISHED(TCollectionItem) {}
RTL_PUBLISHED(TCollection) {}
RTL_PUBLISHED(TOwnedCollection) {}

void* CollectionOf(TObject* owner)
{
    auto* collection = dynamic_cast<TCollection*>(owner);
    if (!collection) throw EInvalidOperation("A collection item needs a collection");
    return collection;
}

// --- TCollectionItem ------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem()
{
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value)
{
    if (value == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value)
{
    int cur = Index();
    if (cur < 0 || value == cur) return;
    auto& items = FCollection->FItems;
    value = std::clamp(value, 0, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + value, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

std::string TCollectionItem::GetNamePath() const
{
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

// --- TCollection ------------------------------------------------------------------

TCollection::TCollection(const TClassInfo& itemClass) : FItemClass(&itemClass)
{
    if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()))
        throw EInvalidOperation(itemClass.Name() + " is not a collection item class");
}

TCollection::~TCollection()
{
    FUpdateCount = 1;  // no change reports while going
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TCollection::SetItems(int index, const TCollectionItem* source) { Items(index)->Assign(source); }

TCollectionItem* TCollection::Add()
{
    TObject* obj = FItemClass->Create(this);
    auto* item = dynamic_cast<TCollectionItem*>(obj);
    if (!item) {
        delete obj;
        throw EInvalidOperation(FItemClass->Name() + " is not a collection item class");
    }
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, TCollectionNotification::cnDeleting);
    delete item;
}

void TCollection::DeleteItems(const std::vector<TCollectionItem*>& items)
{
    // This collection's items, each once, in the order first given.
    std::vector<TCollectionItem*> sorted;
    sorted.reserve(items.size());
    for (TCollectionItem* item : items)
        if (item && item->FCollection == this) sorted.push_back(item);
    if (sorted.empty()) return;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<char> taken(sorted.size(), 0);
    std::vector<TCollectionItem*> doomed;
    doomed.reserve(sorted.size());
    for (TCollectionItem* item : items) {
        if (!item || item->FCollection != this) continue;
        const auto at = static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), item) - sorted.begin());
        if (taken[at]) continue;
        taken[at] = 1;
        doomed.push_back(item);
    }
    BeginUpdate();
    try {
        // The notifications of Delete and of the item's leaving, one item
        // at a time, while all of them are still in the list.
        for (TCollectionItem* item : doomed) {
            Notify(item, TCollectionNotification::cnDeleting);
            Notify(item, TCollectionNotification::cnExtracting);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(),
                                [&sorted](TCollectionItem* item) {
                                    return std::binary_search(sorted.begin(), sorted.end(), item);
                                }),
                 FItems.end());
    for (TCollectionItem* item : doomed) {
        item->FCollection = nullptr;  // out of the list already
        delete item;
    }
    EndUpdate();
}

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    try {
        while (!FItems.empty()) {
            TCollectionItem* item = FItems.back();
            Notify(item, TCollectionNotification::cnDeleting);
            delete item;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->FItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const
{
    TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    std::string path = owner->GetNamePath();
    // The owner's property that holds this collection, when it is published.
    for (const TPropInfo* p : owner->ClassType()->Properties())
        if (p->Kind() == TTypeKind::tkClass && p->GetObject(owner) == this)
            return path.empty() ? p->Name() : path + "." + p->Name();
    return path;
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, TCollectionNotification::cnExtracting);
    // The last item first: Clear and the destructor free the items from
    // the end, which keeps emptying the list linear.
    if (!FItems.empty() && FItems.back() == item) {
        FItems.pop_back();
    } else {
        auto it = std::find(FItems.begin(), FItems.end(), item);
        if (it != FItems.end()) FItems.erase(it);
    }
    item->FCollection = nullptr;
    Changed();
}

} // namespace rtl
