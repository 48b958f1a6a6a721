// The wide node and document classes.
#include "xml/XmlDom.h"

namespace xml {

static TUtf8XmlNode* NewWideNode(TUtf8XmlDom* ADocument)
{
    return new TWideXmlNode(ADocument);
}

TWideXmlNode* TWideXmlNode::Cast(TUtf8XmlNode* ANode)
{
    if (!ANode) return nullptr;
    auto* wide = dynamic_cast<TWideXmlNode*>(ANode);
    if (!wide) throw EInvalidCast("Invalid class typecast");
    return wide;
}

TXmlNodeClass TWideXmlNode::NodeClass() const
{
    return &NewWideNode;
}

TWideXmlNode* TWideXmlNode::NodeNew(std::string_view AName)
{
    return Cast(TUtf8XmlNode::NodeNew(AName));
}

TWideXmlNode* TWideXmlNode::NodeNewAtIndex(int Index, std::string_view AName)
{
    return Cast(TUtf8XmlNode::NodeNewAtIndex(Index, AName));
}

TWideXmlNode* TWideXmlNode::NodeFindOrCreate(std::string_view AName)
{
    return Cast(TUtf8XmlNode::NodeFindOrCreate(AName));
}

TWideXmlNode* TWideXmlNode::NodeByName(std::string_view AName)
{
    return Cast(TUtf8XmlNode::NodeByName(AName));
}

TWideXmlNode* TWideXmlNode::NodeByElementType(TXmlElementType AType)
{
    return Cast(TUtf8XmlNode::NodeByElementType(AType));
}

TWideXmlNode* TWideXmlNode::FindNode(std::string_view ANodeName)
{
    return Cast(TUtf8XmlNode::FindNode(ANodeName));
}

TWideXmlNode* TWideXmlNode::NodeByAttributeValue(std::string_view ANodeName, std::string_view AAttribName,
                                                 std::string_view AAttribValue, bool ShouldRecurse)
{
    return Cast(TUtf8XmlNode::NodeByAttributeValue(ANodeName, AAttribName, AAttribValue, ShouldRecurse));
}

void TWideXmlNode::SortChildNodes(const TWideXmlNodeCompareFunction& Compare, void* Info)
{
    if (!Compare) {
        TUtf8XmlNode::SortChildNodes(nullptr, Info);
        return;
    }
    TUtf8XmlNode::SortChildNodes(
        [&](TUtf8XmlNode* a, TUtf8XmlNode* b, void* info) { return Compare(Cast(a), Cast(b), info); }, Info);
}

TWideXmlDom::TWideXmlDom() : TUtf8XmlDom(&NewWideNode) {}

TWideXmlDom::TWideXmlDom(std::string_view ARootName) : TUtf8XmlDom(&NewWideNode, ARootName) {}

TXmlNodeClass TWideXmlDom::NodeClass() const
{
    return &NewWideNode;
}

void TWideXmlDom::SetOnNodeNew(TWideXmlNodeEvent AEvent)
{
    if (!AEvent) {
        OnNodeNew = nullptr;
        return;
    }
    OnNodeNew = [e = std::move(AEvent)](rtl::TObject* s, TUtf8XmlNode* n) { e(s, TWideXmlNode::Cast(n)); };
}

void TWideXmlDom::SetOnNodeLoaded(TWideXmlNodeEvent AEvent)
{
    if (!AEvent) {
        OnNodeLoaded = nullptr;
        return;
    }
    OnNodeLoaded = [e = std::move(AEvent)](rtl::TObject* s, TUtf8XmlNode* n) { e(s, TWideXmlNode::Cast(n)); };
}

void TWideXmlDom::SetOnNodeCompare(TWideXmlNodeCompareEvent AEvent)
{
    if (!AEvent) {
        OnNodeCompare = nullptr;
        return;
    }
    OnNodeCompare = [e = std::move(AEvent)](rtl::TObject* s, TUtf8XmlNode* a, TUtf8XmlNode* b, void* info) {
        return e(s, TWideXmlNode::Cast(a), TWideXmlNode::Cast(b), info);
    };
}

} // namespace xml
