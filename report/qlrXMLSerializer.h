// The report XML serializer: the attribute text of an object's published
// properties (ObjToXML / XMLToObj), whole component trees as XML elements
// (WriteRootComponent / ReadRootComponent) and one-line component texts
// (WriteComponentStr / ReadComponentStr).  This is the template format.
//
// The rule a caller must know: reading never stops at a bad attribute or an
// unregistered class -- the messages collect in Errors(), which the caller
// reads; references between components are kept as fix-ups and resolved
// by name after everything is read.
//
// Example: copy the attributes of one memo to another.
//
//   qlr::TqlrXMLSerializer s(nullptr);
//   std::string text = s.ObjToXML(memo1);      // ' Left="10" Top="8" ...'
//   s.XMLToObj(text, memo2);
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "report/qlrXML.h"

namespace qlr {

class TqlrComponent;

struct TqlrFixupItem {
    rtl::TObject* Obj = nullptr;
    const rtl::TPropInfo* PropInfo = nullptr;
    std::string Value;
};

class TqlrXMLSerializer {
public:
    // stream: the document stream of the whole-document operations (may be
    // nullptr for the text operations).
    explicit TqlrXMLSerializer(rtl::TStream* stream);
    ~TqlrXMLSerializer();
    TqlrXMLSerializer(const TqlrXMLSerializer&) = delete;
    TqlrXMLSerializer& operator=(const TqlrXMLSerializer&) = delete;

    // Sorted, each message once.
    const rtl::TStringList& Errors() const { return FErrors; }
    rtl::TStringList& Errors() { return FErrors; }
    // Where references are resolved and components are found by name.
    TqlrComponent* Owner() const { return FOwner; }
    void SetOwner(TqlrComponent* owner) { FOwner = owner; }
    bool SerializeDefaultValues() const { return FSerializeDefaultValues; }
    void SetSerializeDefaultValues(bool value) { FSerializeDefaultValues = value; }
    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool value) { FOldFormat = value; }
    // Supplies the ancestor of an inherited component while writing.
    std::function<void(const std::string& name, TqlrComponent*& ancestor)> OnGetAncestor;

    // The attribute text (each pair preceded by one blank); add prefixes
    // every name, ancestor's values count as defaults.
    std::string ObjToXML(rtl::TObject* obj, const std::string& add = "", rtl::TObject* ancestor = nullptr);
    void XMLToObj(const std::string& s, rtl::TObject* obj);

    // Without item, a whole indented document is written to the stream.
    void WriteRootComponent(TqlrComponent* root, bool saveChildren = true, TqlrXMLItem* item = nullptr,
                            bool streaming = false);
    // Without item, the whole document is loaded from the stream first.
    void ReadRootComponent(TqlrComponent* root, TqlrXMLItem* item = nullptr);

    std::string WriteComponentStr(TqlrComponent* c);
    // The component a text describes, created with root as owner; nullptr
    // for a blank text.  An unregistered class raises EClassNotFound.
    TqlrComponent* ReadComponentStr(TqlrComponent* root, const std::string& s, bool dontFixup = false);
    void WriteComponent(TqlrComponent* c);
    TqlrComponent* ReadComponent(TqlrComponent* root);
    void ReadPersistentStr(TqlrComponent* root, rtl::TObject* obj, const std::string& s);

    void CopyFixupList(std::vector<TqlrFixupItem>* fixList) const;
    void FixupReferences();
    void ClearFixups() { FFixups.clear(); }
    const std::vector<TqlrFixupItem>& Fixups() const { return FFixups; }
    // Points the pending references to oldName (case ignored) at newName.
    void RenameFixups(const std::string& oldName, const std::string& newName);

    // The name a reference to c is written under (empty when it cannot be
    // reached from the owner).
    std::string ComponentFullName(rtl::TComponent* c) const;

private:
    void ApplyAttribute(rtl::TObject* obj, const std::string& name, const std::string& value);
    void WriteItem(TqlrComponent* c, TqlrXMLItem* item, bool isRoot, bool saveChildren, bool streaming);
    void ReadItem(TqlrXMLItem* item, TqlrComponent* parent, TqlrComponent* root,
                  std::vector<TqlrComponent*>& loaded);
    rtl::TComponent* FindReference(const std::string& name) const;

    rtl::TStringList FErrors;
    std::vector<TqlrFixupItem> FFixups;
    TqlrComponent* FOwner = nullptr;
    rtl::TStream* FStream;
    bool FSerializeDefaultValues = false;
    bool FOldFormat = false;
};

} // namespace qlr
