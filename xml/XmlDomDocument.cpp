// The document: options, the top level of the tree, declaration texts.
#include "xml/XmlDom.h"

#include <algorithm>

namespace xml {

static TUtf8XmlNode* NewUtf8DocNode(TUtf8XmlDom* ADocument)
{
    return new TUtf8XmlNode(ADocument);
}

TUtf8XmlDom::TUtf8XmlDom()
{
    Init(&NewUtf8DocNode);
}

TUtf8XmlDom::TUtf8XmlDom(std::string_view ARootName)
{
    Init(&NewUtf8DocNode);
    Root()->SetName(ARootName);
}

TUtf8XmlDom::TUtf8XmlDom(TXmlNodeClass ANodeClass)
{
    Init(ANodeClass);
}

TUtf8XmlDom::TUtf8XmlDom(TXmlNodeClass ANodeClass, std::string_view ARootName)
{
    Init(ANodeClass);
    Root()->SetName(ARootName);
}

void TUtf8XmlDom::Init(TXmlNodeClass ANodeClass)
{
    FRootNodes = ANodeClass(this);
    TUtf8XmlDom::Clear();
}

TUtf8XmlDom::~TUtf8XmlDom()
{
    delete FRootNodes;
}

TXmlNodeClass TUtf8XmlDom::NodeClass() const
{
    return &NewUtf8DocNode;
}

void TUtf8XmlDom::SetDefaults()
{
    FAbortParsing = false;
    FBinaryEncoding = xbeBase64;
    FDropCommentsOnParse = false;
    FExternalEncoding = seUTF8;
    FFloatAllowScientific = true;
    FFloatSignificantDigits = 12;
    FParserWarnings = false;
    FIndentString = "  ";
    FUseFullNodes = false;
    FWriteOnDefault = true;
    FXmlFormat = xfCompact;
    OnNodeNew = nullptr;
    OnNodeLoaded = nullptr;
}

void TUtf8XmlDom::Clear()
{
    SetDefaults();
    FRootNodes->NodesClear();
    TUtf8XmlNode* declaration = FRootNodes->NodeNew("xml");
    declaration->SetElementType(xeDeclaration);
    declaration->AttributeAdd("version", "1.0");
    declaration->AttributeAdd("encoding", "UTF-8");
    FRootNodes->NodeNew("");
}

TUtf8XmlNode* TUtf8XmlDom::Root() const
{
    for (int i = 0; i < FRootNodes->NodeCount(); ++i)
        if (FRootNodes->Nodes(i)->ElementType() == xeNormal) return FRootNodes->Nodes(i);
    return nullptr;
}

bool TUtf8XmlDom::IsEmpty() const
{
    TUtf8XmlNode* root = Root();
    return !root || root->IsClear();
}

// A new top-level node of AType at index 1 (or at the end of a shorter
// list).
static TUtf8XmlNode* InsertTopLevel(TUtf8XmlNode* AList, TXmlElementType AType, std::string_view AName)
{
    TUtf8XmlNode* node = AList->NodeNewAtIndex(std::min(1, AList->NodeCount()), AName);
    node->SetElementType(AType);
    return node;
}

TUtf8XmlNode* TUtf8XmlDom::StyleSheetNode()
{
    TUtf8XmlNode* node = FRootNodes->NodeByElementType(xeStylesheet);
    return node ? node : InsertTopLevel(FRootNodes, xeStylesheet, "xml-stylesheet");
}

std::string TUtf8XmlDom::CommentString() const
{
    TUtf8XmlNode* node = FRootNodes->NodeByElementType(xeComment);
    return node ? node->ValueAsString() : std::string();
}

void TUtf8XmlDom::SetCommentString(std::string_view AValue)
{
    TUtf8XmlNode* node = FRootNodes->NodeByElementType(xeComment);
    if (!node) {
        if (AValue.empty()) return;
        node = InsertTopLevel(FRootNodes, xeComment, "Comment");
    }
    node->SetValueAsString(AValue);
}

static TUtf8XmlNode* Declaration(TUtf8XmlNode* AList)
{
    TUtf8XmlNode* first = AList->Nodes(0);
    return first && first->ElementType() == xeDeclaration ? first : nullptr;
}

std::string TUtf8XmlDom::EncodingString() const
{
    TUtf8XmlNode* declaration = Declaration(FRootNodes);
    return declaration ? declaration->AttributeByName("encoding") : std::string();
}

void TUtf8XmlDom::SetEncodingString(std::string_view AValue)
{
    if (AValue == EncodingString()) return;
    TUtf8XmlNode* declaration = Declaration(FRootNodes);
    if (!declaration) {
        declaration = FRootNodes->NodeNewAtIndex(0, "xml");
        declaration->SetElementType(xeDeclaration);
    }
    declaration->SetAttributeByName("encoding", AValue);
}

std::string TUtf8XmlDom::VersionString() const
{
    TUtf8XmlNode* declaration = Declaration(FRootNodes);
    return declaration ? declaration->AttributeByName("version") : std::string();
}

void TUtf8XmlDom::SetVersionString(std::string_view AValue)
{
    if (AValue == VersionString()) return;
    TUtf8XmlNode* declaration = Declaration(FRootNodes);
    if (!declaration) {
        if (AValue.empty()) return;
        declaration = FRootNodes->NodeNewAtIndex(0, "xml");
        declaration->SetElementType(xeDeclaration);
    }
    declaration->SetAttributeByName("version", AValue);
}

std::string TUtf8XmlDom::EntityValueByName(std::string_view AName) const
{
    for (int i = 0; i < FRootNodes->NodeCount(); ++i) {
        TUtf8XmlNode* dtd = FRootNodes->Nodes(i);
        if (dtd->ElementType() != xeDoctype) continue;
        for (int k = 0; k < dtd->NodeCount(); ++k) {
            TUtf8XmlNode* entity = dtd->Nodes(k);
            if (entity->ElementType() == xeEntity && entity->Name() == AName)
                return UnquoteString(TrimXmlBlanks(entity->Value()));
        }
    }
    return {};
}

void TUtf8XmlDom::ResolveEntityReferences()
{
    if (TUtf8XmlNode* root = Root()) root->ResolveEntities();
}

void TUtf8XmlDom::Assign(const rtl::TPersistent* Source)
{
    if (auto* doc = dynamic_cast<const TUtf8XmlDom*>(Source)) {
        if (doc == this) return;
        FBinaryEncoding = doc->FBinaryEncoding;
        FDropCommentsOnParse = doc->FDropCommentsOnParse;
        FExternalEncoding = doc->FExternalEncoding;
        FParserWarnings = doc->FParserWarnings;
        FIndentString = doc->FIndentString;
        FUseFullNodes = doc->FUseFullNodes;
        FWriteOnDefault = doc->FWriteOnDefault;
        FXmlFormat = doc->FXmlFormat;
        FRootNodes->Assign(doc->FRootNodes);
    } else if (dynamic_cast<const TUtf8XmlNode*>(Source)) {
        FRootNodes->Assign(Source);
    } else {
        rtl::TPersistent::Assign(Source);
        return;
    }
    FRootNodes->SetDocumentDeep(this);
}

void TUtf8XmlDom::AssignFrom(const rtl::TPersistent* Source)
{
    if (Source) Assign(Source);
}

} // namespace xml
