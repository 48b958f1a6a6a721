// XmlDomServer: the "Microsoft.XMLDOM" stand-in on the xml/ library.
#include "gridio/XmlDomServer.h"

#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/OleClasses.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace gridio {

namespace {

using rtl::Variant;
using DomPtr = std::shared_ptr<xml::TUtf8XmlDom>;

// Read-only objects: property reads and calls share one member table.
class TReadOnlyDispatch : public rtl::IDispatchObject {
public:
    void SetProperty(const std::string& name, const std::vector<Variant>&, const Variant&) override
    {
        throw rtl::Exception("Member " + name + " cannot be set");
    }
    Variant Call(const std::string& name, const std::vector<Variant>& args) override
    {
        return GetProperty(name, args);
    }

protected:
    static std::string Key(const std::string& name) { return rtl::AnsiUpperCase(name); }
    [[noreturn]] static void Unknown(const std::string& name) { throw rtl::Exception("Unknown name " + name); }
};

// One DOM node: an element, a text run or an attribute.
struct TNodeRef {
    DomPtr Doc;
    const xml::TUtf8XmlNode* Node = nullptr;  // the element, or the attribute's element
    enum { nkElement, nkText, nkAttribute } Kind = nkElement;
    int Attribute = -1;
    std::string TextValue;
};

std::vector<TNodeRef> ChildNodes(const TNodeRef& n)
{
    std::vector<TNodeRef> list;
    if (n.Kind != TNodeRef::nkElement) return list;
    // The library keeps an element's first text as its value.
    if (!n.Node->Value().empty())
        list.push_back({n.Doc, n.Node, TNodeRef::nkText, -1, n.Node->ValueAsString()});
    for (int i = 0; i < n.Node->NodeCount(); ++i) {
        const xml::TUtf8XmlNode* c = n.Node->Nodes(i);
        switch (c->ElementType()) {
        case xml::xeNormal: list.push_back({n.Doc, c, TNodeRef::nkElement, -1, {}}); break;
        case xml::xeCharData: list.push_back({n.Doc, c, TNodeRef::nkText, -1, c->ValueAsString()}); break;
        case xml::xeCData: list.push_back({n.Doc, c, TNodeRef::nkText, -1, c->Value()}); break;
        default: break;
        }
    }
    return list;
}

std::string NodeText(const TNodeRef& n)
{
    if (n.Kind == TNodeRef::nkText) return n.TextValue;
    if (n.Kind == TNodeRef::nkAttribute) return n.Node->AttributeValue(n.Attribute);
    std::string t;
    for (const TNodeRef& c : ChildNodes(n)) t += NodeText(c);
    return t;
}

class TNodeList : public TReadOnlyDispatch {
public:
    explicit TNodeList(std::vector<TNodeRef> items) : FItems(std::move(items)) {}
    Variant GetProperty(const std::string& name, const std::vector<Variant>& args) override;

private:
    std::vector<TNodeRef> FItems;
};

class TNode : public TReadOnlyDispatch {
public:
    explicit TNode(TNodeRef ref) : FRef(std::move(ref)) {}
    Variant GetProperty(const std::string& name, const std::vector<Variant>& args) override
    {
        const std::string k = Key(name);
        if (k == "NODENAME") {
            if (FRef.Kind == TNodeRef::nkText) return Variant("#text");
            if (FRef.Kind == TNodeRef::nkAttribute) return Variant(FRef.Node->AttributeName(FRef.Attribute));
            return Variant(FRef.Node->Name());
        }
        if (k == "TEXT") return Variant(NodeText(FRef));
        if (k == "CHILDNODES") return Variant(std::make_shared<TNodeList>(ChildNodes(FRef)));
        if (k == "ATTRIBUTES") {
            if (FRef.Kind != TNodeRef::nkElement) return Variant::Null();
            std::vector<TNodeRef> attrs;
            for (int i = 0; i < FRef.Node->AttributeCount(); ++i)
                attrs.push_back({FRef.Doc, FRef.Node, TNodeRef::nkAttribute, i, {}});
            return Variant(std::make_shared<TNodeList>(std::move(attrs)));
        }
        Unknown(name);
    }

private:
    TNodeRef FRef;
};

Variant TNodeList::GetProperty(const std::string& name, const std::vector<Variant>& args)
{
    const std::string k = Key(name);
    if (k == "LENGTH") return Variant(static_cast<int32_t>(FItems.size()));
    if (k == "ITEM") {
        const int i = args.empty() ? -1 : args[0].AsInteger();
        if (i < 0 || i >= static_cast<int>(FItems.size())) return Variant::Null();
        return Variant(std::make_shared<TNode>(FItems[static_cast<size_t>(i)]));
    }
    Unknown(name);
}

class TParseError : public TReadOnlyDispatch {
public:
    TParseError(int code, int line, std::string reason) : FCode(code), FLine(line), FReason(std::move(reason)) {}
    Variant GetProperty(const std::string& name, const std::vector<Variant>&) override
    {
        const std::string k = Key(name);
        if (k == "ERRORCODE") return Variant(static_cast<int32_t>(FCode));
        if (k == "LINE") return Variant(static_cast<int32_t>(FLine));
        if (k == "REASON") return Variant(FReason);
        Unknown(name);
    }

private:
    int FCode, FLine;
    std::string FReason;
};

class TDocument : public TReadOnlyDispatch {
public:
    Variant GetProperty(const std::string& name, const std::vector<Variant>& args) override
    {
        const std::string k = Key(name);
        if (k == "LOAD") {
            const std::string file = args.empty() ? std::string() : args[0].AsString();
            auto doc = std::make_shared<xml::TUtf8XmlDom>();
            FError = 0;
            FReason.clear();
            try {
                doc->LoadFromFile(file);
                if (!doc->Root()) throw rtl::EFilerError("No root element found in xml");
                FDoc = doc;
            } catch (const rtl::EFilerError& e) {
                // A document that does not parse: an error code as the DOM
                // reports one (the library gives no line).
                FDoc.reset();
                FError = 1;
                FReason = e.Message();
            }
            return Variant(FError == 0);
        }
        if (k == "PARSEERROR") return Variant(std::make_shared<TParseError>(FError, 0, FReason));
        if (k == "DOCUMENTELEMENT") {
            if (!FDoc) return Variant::Null();
            return Variant(std::make_shared<TNode>(TNodeRef{FDoc, FDoc->Root(), TNodeRef::nkElement, -1, {}}));
        }
        Unknown(name);
    }

private:
    DomPtr FDoc;
    int FError = 0;
    std::string FReason;
};

} // namespace

void RegisterXmlDomServer()
{
    rtl::RegisterOleClass("Microsoft.XMLDOM", [] { return std::make_shared<TDocument>(); });
}

} // namespace gridio
