// TCollection and TCollectionItem: an owned, ordered list of items of one
// class, told about every change (Update) and stored in component streams.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/TypInfo.h"

namespace rtl {

class TCollection;

class TCollectionItem : public TPersistent {
    RTL_CLASS(TCollectionItem, TPersistent)
public:
    // Joins the collection (when given) at its end.
    explicit TCollectionItem(TCollection* collection);
    // Leaves its collection.
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (nullptr: to none).
    void SetCollection(TCollection* value);
    int Index() const;
    // Moves the item within its collection.
    void SetIndex(int value);
    // A number unique within the collection, kept across moves.
    int ID() const { return FID; }
    // The item's caption in editors and messages (its class name by default).
    virtual std::string DisplayName() const;

    TPersistent* GetOwner() const override;
    std::string GetNamePath() const override;

protected:
    // Tells the collection that this item (or, with allItems, every item)
    // changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
    RTL_CLASS(TCollection, TPersistent)
public:
    // itemClass must describe a TCollectionItem descendant.
    explicit TCollection(const TClassInfo& itemClass);
    // Frees the items.
    ~TCollection() override;

    const TClassInfo& ItemClass() const { return *FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Index errors raise EListError "List index out of bounds (<i>)".
    TCollectionItem* Items(int index) const;
    // Assigns source to the item at index.
    void SetItems(int index, const TCollectionItem* source);

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    // Deletes the given items of this collection (others, nulls and repeats
    // are skipped) in one pass: each is notified as Delete does, the rest
    // keep their order and the change is reported once.  Costs O(n + k log k)
    // where one Delete per item costs O(n) each.
    void DeleteItems(const std::vector<TCollectionItem*>& items);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    // Changes inside an update bracket are reported once, by EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // From another collection: its items are copied (Clear, then Add and
    // Assign per item).
    void Assign(const TPersistent* source) override;
    std::string GetNamePath() const override;

protected:
    // Called after a change: item is the changed one, nullptr for all.
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    const TClassInfo* FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};

// A collection that belongs to an object (its GetOwner).
class TOwnedCollection : public TCollection {
    RTL_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass)
        : TCollection(itemClass), FOwner(owner)
    {
    }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

} // namespace rtl
