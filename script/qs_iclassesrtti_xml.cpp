// The script XML tree as seen by scripts: item and document objects over
// the tree of qs_xml.h, with views that never outlive the items they show.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/rtl/TypInfo.h"
#include "script/qs_iclassesrtti.h"

namespace qs::classes {

using rtl::TClassInfo;

// The script objects of one tree: the owner's own object and the views,
// by the item they show.
struct TXmlForest {
    std::unordered_map<const qs::TqsXMLItem*, TqsXMLItem*> Objects;
    TqsXMLItem* Owner = nullptr;                 // the object that owns the tree, if any
    const qs::TqsXMLItem* FixedRoot = nullptr;   // a document's root: never moved

    ~TXmlForest()
    {
        std::vector<TqsXMLItem*> views;
        for (auto& [item, obj] : Objects)
            if (obj != Owner) views.push_back(obj);
        Objects.clear();
        for (TqsXMLItem* v : views) {
            v->FForest = nullptr;
            delete v;
        }
    }

    // The object for item: the existing one or a new view.
    TqsXMLItem* Wrap(qs::TqsXMLItem* item)
    {
        if (!item) return nullptr;
        auto it = Objects.find(item);
        if (it != Objects.end()) return it->second;
        auto* view = new TqsXMLItem(item, this);
        Objects.emplace(item, view);
        return view;
    }

    // Frees the views of the items below item (and of item itself with
    // self), before those items are deleted.
    void DropBelow(const qs::TqsXMLItem* item, bool self)
    {
        if (self) {
            auto it = Objects.find(item);
            if (it != Objects.end() && it->second != Owner) {
                TqsXMLItem* v = it->second;
                Objects.erase(it);
                v->FForest = nullptr;
                delete v;
            }
        }
        for (const qs::TqsXMLItem* child : item->Children()) DropBelow(child, true);
    }

    static void Adopt(TqsXMLItem* parent, TqsXMLItem* child, int index);

    // Moves the objects of item's subtree from this forest to another one.
    void MoveSubtree(const qs::TqsXMLItem* item, TXmlForest& to)
    {
        auto it = Objects.find(item);
        if (it != Objects.end()) {
            TqsXMLItem* obj = it->second;
            Objects.erase(it);
            obj->FForest = &to;
            to.Objects.emplace(item, obj);
        }
        for (const qs::TqsXMLItem* child : item->Children()) MoveSubtree(child, to);
    }
};

TqsXMLItem::TqsXMLItem()
    : FItem(nullptr), FForest(nullptr), FOwnedForest(std::make_unique<TXmlForest>()),
      FOwnedItem(std::make_unique<qs::TqsXMLItem>())
{
    FItem = FOwnedItem.get();
    FForest = FOwnedForest.get();
    FForest->Owner = this;
    FForest->Objects.emplace(FItem, this);
}

TqsXMLItem::TqsXMLItem(qs::TqsXMLItem* item, TXmlForest* forest) : FItem(item), FForest(forest) {}

TqsXMLItem::~TqsXMLItem()
{
    if (FOwnedForest) {
        // The views go first, then the tree they show.
        FOwnedForest->Objects.erase(FItem);
        FOwnedForest.reset();
        FOwnedItem.reset();
    } else if (FForest) {
        FForest->Objects.erase(FItem);
    }
}

TqsXMLDocument::TqsXMLDocument()
    : FDocument(std::make_unique<qs::TqsXMLDocument>()), FForest(std::make_unique<TXmlForest>())
{
    FForest->FixedRoot = FDocument->Root();
}

TqsXMLDocument::~TqsXMLDocument()
{
    FForest.reset();
    FDocument.reset();
}

const TClassInfo& XMLItemClass()
{
    static const TClassInfo& info = [] () -> const TClassInfo& {
        const TClassInfo& i = rtl::TClassDecl<TqsXMLItem>::Build("TqsXMLItem", &rtl::TObject::StaticClassInfo(), nullptr);
        const_cast<TClassInfo&>(i).FFactory = [](rtl::TObject*) -> rtl::TObject* { return new TqsXMLItem(); };
        return i;
    }();
    return info;
}

const TClassInfo& XMLDocumentClass()
{
    static const TClassInfo& info =
        rtl::TClassDecl<TqsXMLDocument>::Build("TqsXMLDocument", &rtl::TObject::StaticClassInfo(), nullptr);
    return info;
}

const TClassInfo* TqsXMLItem::ClassType() const { return &XMLItemClass(); }
const TClassInfo* TqsXMLDocument::ClassType() const { return &XMLDocumentClass(); }

namespace {

std::string StrParam(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }

TqsXMLItem* ItemParam(TqsMethodHelper* c, int i)
{
    auto* item = dynamic_cast<TqsXMLItem*>(c->GetParam(i).AsObject());
    if (!item || !item->Forest()) throw rtl::EInvalidOperation("An XML item is expected");
    return item;
}

rtl::TStream& StreamParam(TqsMethodHelper* c, int i)
{
    rtl::TStream* s = StreamOf(c->GetParam(i));
    if (!s) throw rtl::EInvalidOperation("A stream object is expected");
    return *s;
}

Variant Obj(rtl::TObject* o) { return Variant::FromObject(o); }

} // namespace

void TXmlForest::Adopt(TqsXMLItem* parent, TqsXMLItem* child, int index)
{
    qs::TqsXMLItem* p = parent->FItem;
    qs::TqsXMLItem* c = child->FItem;
    for (qs::TqsXMLItem* a = p; a; a = a->Parent())
        if (a == c) throw rtl::EInvalidOperation("An XML item cannot be put below itself");
    TXmlForest* from = child->FForest;
    TXmlForest* to = parent->FForest;
    if (from->FixedRoot == c) throw rtl::EInvalidOperation("The root of a document cannot be moved");
    if (index < 0) p->AddItem(c);
    else p->InsertItem(index, c);
    if (from == to) return;
    from->MoveSubtree(c, *to);
    if (from->Owner == child) {
        // The child owned its tree: the parent's tree has taken it over.
        (void)child->FOwnedItem.release();
        from->Owner = nullptr;
        child->FOwnedForest.reset();
    }
}

Variant CallXml(rtl::TObject* Instance, const TClassInfo* ClassType, const std::string& n, TqsMethodHelper* Caller)
{
    Variant result(0);
    if (ClassType == &XMLItemClass()) {
        if (n == "CREATE") return Obj(new TqsXMLItem());
        auto* obj = dynamic_cast<TqsXMLItem*>(Instance);
        if (!obj || !obj->Forest()) return result;
        qs::TqsXMLItem* item = obj->Item();
        TXmlForest& forest = *obj->Forest();
        if (n == "ADDITEM") TXmlForest::Adopt(obj, ItemParam(Caller, 0), -1);
        else if (n == "INSERTITEM") TXmlForest::Adopt(obj, ItemParam(Caller, 1), std::max(0, Caller->GetParam(0).AsInteger()));
        else if (n == "CLEAR") {
            forest.DropBelow(item, false);
            item->Clear();
        }
        else if (n == "ADD") result = Obj(forest.Wrap(item->Add()));
        else if (n == "FIND") result = Variant(item->Find(StrParam(Caller, 0)));
        else if (n == "FINDITEM") result = Obj(forest.Wrap(item->FindItem(StrParam(Caller, 0))));
        else if (n == "ROOT") result = Obj(forest.Wrap(item->Root()));
        else if (n == "ITEMS.GET") {
            int32_t i = Caller->GetParam(0).AsInteger();
            if (i < 0 || i >= item->Count()) throw rtl::EListError("List index out of bounds (" + std::to_string(i) + ")");
            result = Obj(forest.Wrap(item->Items(i)));
        }
        else if (n == "PROP.GET") result = Variant(item->Prop(StrParam(Caller, 0)));
        else if (n == "PROP.SET") item->SetProp(StrParam(Caller, 0), StrParam(Caller, 1));
        // Properties.
        else if (n == "DATA") result = Variant(static_cast<int32_t>(reinterpret_cast<intptr_t>(item->Data())));
        else if (n == "COUNT") result = Variant(item->Count());
        else if (n == "NAME") result = Variant(item->Name());
        else if (n == "PARENT") result = Obj(forest.Wrap(item->Parent()));
        else if (n == "TEXT") result = Variant(item->Text());
        return result;
    }
    if (ClassType == &XMLDocumentClass()) {
        if (n == "CREATE") return Obj(new TqsXMLDocument());
        auto* doc = dynamic_cast<TqsXMLDocument*>(Instance);
        if (!doc) return result;
        if (n == "SAVETOSTREAM") doc->Document().SaveToStream(StreamParam(Caller, 0));
        else if (n == "SAVETOFILE") doc->Document().SaveToFile(StrParam(Caller, 0));
        else if (n == "LOADFROMSTREAM" || n == "LOADFROMFILE") {
            // The root's subtree is replaced: its views go first.
            doc->Forest().DropBelow(doc->Document().Root(), false);
            if (n == "LOADFROMSTREAM") doc->Document().LoadFromStream(StreamParam(Caller, 0));
            else doc->Document().LoadFromFile(StrParam(Caller, 0));
        }
        else if (n == "ROOT") result = Obj(doc->Forest().Wrap(doc->Document().Root()));
    }
    return result;
}

void SetXml(rtl::TObject* Instance, const std::string& n, const Variant& Value)
{
    auto* obj = dynamic_cast<TqsXMLItem*>(Instance);
    if (!obj || !obj->Forest()) return;
    if (n == "DATA") obj->Item()->SetData(reinterpret_cast<void*>(static_cast<intptr_t>(Value.AsInteger())));
    else if (n == "NAME") obj->Item()->SetName(rtl::VarToStr(Value));
    else if (n == "TEXT") obj->Item()->SetText(rtl::VarToStr(Value));
}

} // namespace qs::classes
