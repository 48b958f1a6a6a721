// The node: structure, attributes, values and binary values.
#include <algorithm>
#include <cctype>

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace xml {

// --- name rule ---------------------------------------------------------------

static bool IsAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

static char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool XmlSameName(std::string_view A, std::string_view B)
{
    if (A == B) return true;
    bool asciiA = IsAscii(A), asciiB = IsAscii(B);
    if (asciiA && asciiB) {
        if (A.size() != B.size()) return false;
        for (size_t i = 0; i < A.size(); ++i)
            if (AsciiUpper(A[i]) != AsciiUpper(B[i])) return false;
        return true;
    }
    return rtl::AnsiSameText(A, B);
}

// --- attribute list ----------------------------------------------------------

const std::string& TsdUTF8StringList::Items(int Index) const
{
    static const std::string empty;
    if (Index < 0 || Index >= Count()) return empty;
    return FItems[static_cast<size_t>(Index)];
}

void TsdUTF8StringList::SetItems(int Index, std::string AValue)
{
    if (Index >= 0 && Index < Count()) FItems[static_cast<size_t>(Index)] = std::move(AValue);
}

int TsdUTF8StringList::Add(std::string AValue)
{
    FItems.push_back(std::move(AValue));
    return Count() - 1;
}

void TsdUTF8StringList::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TsdUTF8StringList::Exchange(int Index1, int Index2)
{
    if (Index1 >= 0 && Index1 < Count() && Index2 >= 0 && Index2 < Count())
        std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
}

int TsdUTF8StringList::IndexOfName(std::string_view AName) const
{
    const size_t n = AName.size();
    for (size_t i = 0; i < FItems.size(); ++i) {
        const std::string& s = FItems[i];
        if (s.size() <= n || s[n] != '=') continue;
        bool same = true;
        for (size_t k = 0; k < n && same; ++k) same = AsciiUpper(s[k]) == AsciiUpper(AName[k]);
        if (same) return static_cast<int>(i);
    }
    return -1;
}

std::string TsdUTF8StringList::Values(std::string_view AName) const
{
    int i = IndexOfName(AName);
    if (i < 0) return {};
    return FItems[static_cast<size_t>(i)].substr(AName.size() + 1);
}

void TsdUTF8StringList::SetValues(std::string_view AName, std::string_view AValue)
{
    int i = IndexOfName(AName);
    if (AValue.empty()) {
        Delete(i);
        return;
    }
    std::string item = std::string(AName) + "=" + std::string(AValue);
    if (i >= 0) FItems[static_cast<size_t>(i)] = std::move(item);
    else FItems.push_back(std::move(item));
}

std::string TsdUTF8StringList::Text() const
{
    std::string r;
    for (const auto& s : FItems) r += s + "\r\n";
    return r;
}

void TsdUTF8StringList::Assign(const rtl::TPersistent* Source)
{
    if (auto* list = dynamic_cast<const TsdUTF8StringList*>(Source)) {
        FItems = list->FItems;
        return;
    }
    rtl::TPersistent::Assign(Source);
}

// --- node construction ----------------------------------------------------------

TUtf8XmlNode::TUtf8XmlNode(TUtf8XmlDom* ADocument) : FDocument(ADocument) {}

TUtf8XmlNode::TUtf8XmlNode(TUtf8XmlDom* ADocument, std::string_view AName) : FDocument(ADocument)
{
    SetName(AName);
}

TUtf8XmlNode::TUtf8XmlNode(TUtf8XmlDom* ADocument, std::string_view AName, std::string_view AValue)
    : FDocument(ADocument)
{
    SetName(AName);
    SetValueAsString(AValue);
}

TUtf8XmlNode::TUtf8XmlNode(TUtf8XmlDom* ADocument, TXmlElementType AType)
    : FDocument(ADocument), FElementType(AType)
{
}

TUtf8XmlNode::~TUtf8XmlNode()
{
    delete FAttributes;
    if (!FNodes) return;
    // Free the subtree without recursion, so that any depth of nesting
    // is safe.
    std::vector<TUtf8XmlNode*> pending;
    pending.swap(*FNodes);
    delete FNodes;
    FNodes = nullptr;
    while (!pending.empty()) {
        TUtf8XmlNode* n = pending.back();
        pending.pop_back();
        if (n->FNodes) {
            pending.insert(pending.end(), n->FNodes->begin(), n->FNodes->end());
            delete n->FNodes;
            n->FNodes = nullptr;
        }
        delete n;
    }
}

static TUtf8XmlNode* NewUtf8Node(TUtf8XmlDom* ADocument)
{
    return new TUtf8XmlNode(ADocument);
}

TXmlNodeClass TUtf8XmlNode::NodeClass() const
{
    return &NewUtf8Node;
}

void TUtf8XmlNode::SetName(std::string_view AName)
{
    if (AName == FName) return;
    for (char c : AName)
        if (IsXmlBlank(c))
            throw rtl::Exception(rtl::Format("Illegal character in node name \"%s\"", AName));
    FName = AName;
}

// --- settings of the node's document ----------------------------------------------

bool TUtf8XmlNode::WriteOnDefault() const
{
    return FDocument ? FDocument->WriteOnDefault() : true;
}

int TUtf8XmlNode::FloatDigits() const
{
    return FDocument ? FDocument->FloatSignificantDigits() : 12;
}

bool TUtf8XmlNode::FloatAllowScientific() const
{
    return FDocument ? FDocument->FloatAllowScientific() : true;
}

TBinaryEncodingType TUtf8XmlNode::BinaryEncoding() const
{
    return FDocument ? FDocument->BinaryEncoding() : xbeBinHex;
}

void TUtf8XmlNode::SetDocumentDeep(TUtf8XmlDom* ADocument)
{
    std::vector<TUtf8XmlNode*> pending{this};
    while (!pending.empty()) {
        TUtf8XmlNode* n = pending.back();
        pending.pop_back();
        n->FDocument = ADocument;
        if (n->FNodes) pending.insert(pending.end(), n->FNodes->begin(), n->FNodes->end());
    }
}

// --- children -----------------------------------------------------------------------

std::vector<TUtf8XmlNode*>& TUtf8XmlNode::ChildList()
{
    if (!FNodes) FNodes = new std::vector<TUtf8XmlNode*>();
    return *FNodes;
}

TUtf8XmlNode* TUtf8XmlNode::Nodes(int Index) const
{
    if (Index < 0 || Index >= NodeCount()) return nullptr;
    return (*FNodes)[static_cast<size_t>(Index)];
}

int TUtf8XmlNode::NodeAdd(TUtf8XmlNode* ANode)
{
    if (!ANode) return -1;
    ANode->FParent = this;
    if (ANode->FDocument != FDocument || ANode->FNodes) ANode->SetDocumentDeep(FDocument);
    ChildList().push_back(ANode);
    return NodeCount() - 1;
}

// A new node of the class, freed again when the name is refused.
static TUtf8XmlNode* NewNamedNode(TXmlNodeClass AClass, TUtf8XmlDom* ADocument, std::string_view AName)
{
    TUtf8XmlNode* node = AClass(ADocument);
    try {
        node->SetName(AName);
    } catch (...) {
        delete node;
        throw;
    }
    return node;
}

TUtf8XmlNode* TUtf8XmlNode::NodeNew(std::string_view AName)
{
    TUtf8XmlNode* node = NewNamedNode(NodeClass(), FDocument, AName);
    NodeAdd(node);
    return node;
}

TUtf8XmlNode* TUtf8XmlNode::NodeNewAtIndex(int Index, std::string_view AName)
{
    if (Index < 0 || Index > NodeCount()) return nullptr;
    TUtf8XmlNode* node = NewNamedNode(NodeClass(), FDocument, AName);
    NodeInsert(Index, node);
    return node;
}

void TUtf8XmlNode::NodeInsert(int Index, TUtf8XmlNode* ANode)
{
    if (!ANode || Index < 0 || Index > NodeCount()) return;
    ANode->FParent = this;
    auto& list = ChildList();
    list.insert(list.begin() + Index, ANode);
}

TUtf8XmlNode* TUtf8XmlNode::NodeFindOrCreate(std::string_view AName)
{
    TUtf8XmlNode* node = TUtf8XmlNode::NodeByName(AName);
    return node ? node : NodeNew(AName);
}

TUtf8XmlNode* TUtf8XmlNode::NodeByName(std::string_view AName)
{
    return Nodes(TUtf8XmlNode::NodeIndexByName(AName));
}

int TUtf8XmlNode::NodeIndexByName(std::string_view AName)
{
    return TUtf8XmlNode::NodeIndexByNameFrom(AName, 0);
}

int TUtf8XmlNode::NodeIndexByNameFrom(std::string_view AName, int AFrom)
{
    for (int i = std::max(AFrom, 0); i < NodeCount(); ++i)
        if (XmlSameName((*FNodes)[static_cast<size_t>(i)]->FName, AName)) return i;
    return -1;
}

int TUtf8XmlNode::NodeIndexOf(const TUtf8XmlNode* ANode) const
{
    if (!ANode || !FNodes) return -1;
    auto it = std::find(FNodes->begin(), FNodes->end(), ANode);
    return it == FNodes->end() ? -1 : static_cast<int>(it - FNodes->begin());
}

void TUtf8XmlNode::NodesByName(std::string_view AName, std::vector<TUtf8XmlNode*>* AList)
{
    if (!AList) return;
    AList->clear();
    for (int i = 0; i < NodeCount(); ++i)
        if (XmlSameName((*FNodes)[static_cast<size_t>(i)]->FName, AName))
            AList->push_back((*FNodes)[static_cast<size_t>(i)]);
}

TUtf8XmlNode* TUtf8XmlNode::NodeByElementType(TXmlElementType AType)
{
    for (int i = 0; i < NodeCount(); ++i)
        if ((*FNodes)[static_cast<size_t>(i)]->FElementType == AType) return (*FNodes)[static_cast<size_t>(i)];
    return nullptr;
}

void TUtf8XmlNode::NodeDelete(int Index)
{
    if (Index < 0 || Index >= NodeCount()) return;
    TUtf8XmlNode* node = (*FNodes)[static_cast<size_t>(Index)];
    FNodes->erase(FNodes->begin() + Index);
    delete node;
}

int TUtf8XmlNode::NodeRemove(TUtf8XmlNode* ANode)
{
    int index = NodeIndexOf(ANode);
    if (index >= 0) NodeDelete(index);
    return index;
}

TUtf8XmlNode* TUtf8XmlNode::NodeExtract(TUtf8XmlNode* ANode)
{
    int index = NodeIndexOf(ANode);
    if (index < 0) return nullptr;
    FNodes->erase(FNodes->begin() + index);
    return ANode;
}

void TUtf8XmlNode::NodeExchange(int Index1, int Index2)
{
    if (Index1 < 0 || Index1 >= NodeCount() || Index2 < 0 || Index2 >= NodeCount()) return;
    std::swap((*FNodes)[static_cast<size_t>(Index1)], (*FNodes)[static_cast<size_t>(Index2)]);
}

void TUtf8XmlNode::NodesClear()
{
    if (!FNodes) return;
    std::vector<TUtf8XmlNode*>* list = FNodes;
    FNodes = nullptr;
    for (TUtf8XmlNode* n : *list) delete n;
    delete list;
}

void TUtf8XmlNode::Delete()
{
    if (FParent) FParent->NodeRemove(this);
}

void TUtf8XmlNode::Clear()
{
    FName.clear();
    FValue.clear();
    AttributesClear();
    NodesClear();
}

bool TUtf8XmlNode::IsEmpty() const
{
    return FValue.empty() && NodeCount() == 0 && AttributeCount() == 0;
}

bool TUtf8XmlNode::IsClear() const
{
    return FName.empty() && IsEmpty();
}

int TUtf8XmlNode::IndexInParent() const
{
    return FParent ? FParent->NodeIndexOf(this) : -1;
}

// --- attributes ------------------------------------------------------------------------

void TUtf8XmlNode::AttributeAdd(std::string_view AName, std::string_view AValue)
{
    if (!FAttributes) FAttributes = new TsdUTF8StringList();
    FAttributes->Add(std::string(AName) + "=" + QuoteString(EscapeString(AValue)));
}

void TUtf8XmlNode::AttributeAdd(std::string_view AName, int32_t AValue)
{
    AttributeAdd(AName, std::to_string(AValue));
}

std::string TUtf8XmlNode::AttributeByName(std::string_view AName) const
{
    int index = AttributeIndexByname(AName);
    return index < 0 ? std::string() : AttributeValue(index);
}

void TUtf8XmlNode::SetAttributeByName(std::string_view AName, std::string_view AValue)
{
    if (!FAttributes) FAttributes = new TsdUTF8StringList();
    FAttributes->SetValues(AName, QuoteString(EscapeString(AValue)));
}

int TUtf8XmlNode::AttributeIndexByname(std::string_view AName) const
{
    return FAttributes ? FAttributes->IndexOfName(AName) : -1;
}

bool TUtf8XmlNode::HasAttribute(std::string_view AName) const
{
    return AttributeIndexByname(AName) >= 0;
}

std::string TUtf8XmlNode::AttributeName(int Index) const
{
    if (!FAttributes) return {};
    const std::string& item = FAttributes->Items(Index);
    return item.substr(0, item.find('='));
}

std::string TUtf8XmlNode::AttributeValue(int Index) const
{
    if (!FAttributes) return {};
    const std::string& item = FAttributes->Items(Index);
    size_t eq = item.find('=');
    if (eq == std::string::npos) return {};
    return UnescapeString(UnquoteString(std::string_view(item).substr(eq + 1)));
}

void TUtf8XmlNode::SetAttributeValue(int Index, std::string_view AValue)
{
    if (Index < 0 || Index >= AttributeCount()) return;
    FAttributes->SetItems(Index, AttributeName(Index) + "=" + QuoteString(EscapeString(AValue)));
}

std::string TUtf8XmlNode::AttributePair(int Index) const
{
    return FAttributes ? FAttributes->Items(Index) : std::string();
}

void TUtf8XmlNode::AttributeDelete(int Index)
{
    if (FAttributes) FAttributes->Delete(Index);
}

void TUtf8XmlNode::AttributeExchange(int Index1, int Index2)
{
    if (FAttributes) FAttributes->Exchange(Index1, Index2);
}

void TUtf8XmlNode::AttributesClear()
{
    delete FAttributes;
    FAttributes = nullptr;
}

void TUtf8XmlNode::DeleteEmptyAttributes()
{
    for (int i = AttributeCount() - 1; i >= 0; --i)
        if (AttributeValue(i).empty()) FAttributes->Delete(i);
}

// --- values -------------------------------------------------------------------------------

bool TUtf8XmlNode::ValueAsBool() const
{
    return TextToBool(FValue);
}

int32_t TUtf8XmlNode::ValueAsInteger() const
{
    return XmlStrToInt(FValue);
}

int64_t TUtf8XmlNode::ValueAsInt64() const
{
    return XmlStrToInt64(FValue);
}

double TUtf8XmlNode::ValueAsFloat() const
{
    double v;
    if (!XmlTextToFloat(FValue, v)) throw rtl::Exception("Cannot convert value to float");
    return v;
}

void TUtf8XmlNode::SetValueAsFloat(double AValue)
{
    FValue = FloatToXmlText(AValue, FloatDigits(), FloatAllowScientific());
}

rtl::TDateTime TUtf8XmlNode::ValueAsDateTime() const
{
    return XmlTextToDateTime(ValueAsString());
}

bool TUtf8XmlNode::ValueAsBoolDef(bool ADefault) const
{
    if (FValue.empty()) return ADefault;
    switch (AsciiUpper(FValue[0])) {
    case 'T': case 'Y': return true;
    case 'F': case 'N': return false;
    default: return ADefault;
    }
}

rtl::TDateTime TUtf8XmlNode::ValueAsDateTimeDef(rtl::TDateTime ADefault) const
{
    return XmlTextToDateTime(ValueAsString(), ADefault);
}

double TUtf8XmlNode::ValueAsFloatDef(double ADefault) const
{
    double v;
    return XmlTextToFloat(FValue, v) ? v : ADefault;
}

int64_t TUtf8XmlNode::ValueAsInt64Def(int64_t ADefault) const
{
    int64_t v;
    return XmlTryStrToInt64(FValue, v) ? v : ADefault;
}

int32_t TUtf8XmlNode::ValueAsIntegerDef(int32_t ADefault) const
{
    int32_t v;
    return XmlTryStrToInt(FValue, v) ? v : ADefault;
}

std::string TUtf8XmlNode::UnescapeValue(const std::string& AValue) const
{
    return UnescapeString(AValue);
}

// --- binary values ---------------------------------------------------------------------------

void TUtf8XmlNode::BufferWrite(const void* Buffer, int Count)
{
    std::string text;
    if (Count > 0)
        text = BinaryEncoding() == xbeBinHex ? BufferToHex(Buffer, Count) : EncodeBase64(Buffer, Count);
    std::string chars;
    if (FDocument && FDocument->XmlFormat() == xfReadable) {
        chars = "\r\n";
        for (int d = TreeDepth(); d > 0; --d) chars += FDocument->IndentString();
    }
    FValue = AddControlChars(text, chars, 76);
}

int TUtf8XmlNode::BufferLength() const
{
    std::string s = RemoveControlChars(FValue);
    const int len = static_cast<int>(s.size());
    if (BinaryEncoding() == xbeBinHex) {
        if (len % 2 != 0) throw rtl::EFilerError("Error while calculating streamlength");
        return len / 2;
    }
    if (len % 4 != 0) throw rtl::EFilerError("Error while calculating streamlength");
    int r = len / 4 * 3;
    if (len > 0 && s[static_cast<size_t>(len - 1)] == '=') {
        --r;
        if (len > 1 && s[static_cast<size_t>(len - 2)] == '=') --r;
    }
    return r;
}

void TUtf8XmlNode::BufferRead(void* Buffer, int Count)
{
    std::string s = RemoveControlChars(FValue);
    if (BinaryEncoding() == xbeBinHex) HexToBuffer(s, Buffer, Count);
    else DecodeBase64(s, Buffer, Count);
}

std::string TUtf8XmlNode::BinaryString()
{
    if (!FDocument) {
        std::string r(static_cast<size_t>(BufferLength()), '\0');
        BufferRead(r.data(), static_cast<int>(r.size()));
        return r;
    }
    TBinaryEncodingType saved = FDocument->BinaryEncoding();
    FDocument->SetBinaryEncoding(xbeBase64);
    try {
        std::string r(static_cast<size_t>(BufferLength()), '\0');
        BufferRead(r.data(), static_cast<int>(r.size()));
        FDocument->SetBinaryEncoding(saved);
        return r;
    } catch (...) {
        FDocument->SetBinaryEncoding(saved);
        throw;
    }
}

void TUtf8XmlNode::SetBinaryString(std::string_view AValue)
{
    if (AValue.empty()) {
        SetValueAsString("");
        return;
    }
    if (!FDocument) {
        BufferWrite(AValue.data(), static_cast<int>(AValue.size()));
        return;
    }
    TBinaryEncodingType saved = FDocument->BinaryEncoding();
    FDocument->SetBinaryEncoding(xbeBase64);
    try {
        BufferWrite(AValue.data(), static_cast<int>(AValue.size()));
    } catch (...) {
        FDocument->SetBinaryEncoding(saved);
        throw;
    }
    FDocument->SetBinaryEncoding(saved);
}

} // namespace xml
