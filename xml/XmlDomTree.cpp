// Whole-subtree operations: search, paths, comparison, sorting, deleting
// empty nodes, copying and entity expansion.  All walk the tree with heap
// stacks, so deep nesting is safe.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"
#include "xml/XmlDomParser.h"

namespace xml {

// Visits the descendants of ARoot in pre-order until AVisit returns true;
// returns that node.  With ARecurse false only the children are visited.
template <typename F>
static TUtf8XmlNode* PreOrder(TUtf8XmlNode* ARoot, bool ARecurse, F AVisit)
{
    std::vector<std::pair<TUtf8XmlNode*, int>> stack{{ARoot, 0}};
    while (!stack.empty()) {
        auto& top = stack.back();
        if (top.second >= top.first->NodeCount()) {
            stack.pop_back();
            continue;
        }
        TUtf8XmlNode* child = top.first->Nodes(top.second++);
        if (AVisit(child)) return child;
        if (ARecurse && child->NodeCount() > 0) stack.push_back({child, 0});
    }
    return nullptr;
}

static bool MatchesName(TUtf8XmlNode* ANode, std::string_view ANodeName)
{
    if (!ANodeName.empty() && ANodeName[0] == '/') return XmlSameName(ANode->FullPath(), ANodeName);
    return XmlSameName(ANode->Name(), ANodeName);
}

TUtf8XmlNode* TUtf8XmlNode::FindNode(std::string_view ANodeName)
{
    return PreOrder(this, true, [&](TUtf8XmlNode* n) { return MatchesName(n, ANodeName); });
}

void TUtf8XmlNode::FindNodes(std::string_view ANodeName, std::vector<TUtf8XmlNode*>* AList)
{
    if (!AList) return;
    AList->clear();
    PreOrder(this, true, [&](TUtf8XmlNode* n) {
        if (MatchesName(n, ANodeName)) AList->push_back(n);
        return false;
    });
}

TUtf8XmlNode* TUtf8XmlNode::NodeByAttributeValue(std::string_view ANodeName, std::string_view AAttribName,
                                                 std::string_view AAttribValue, bool ShouldRecurse)
{
    return PreOrder(this, ShouldRecurse, [&](TUtf8XmlNode* n) {
        return XmlSameName(n->Name(), ANodeName) && n->HasAttribute(AAttribName) &&
               XmlSameName(n->AttributeByName(AAttribName), AAttribValue);
    });
}

std::string TUtf8XmlNode::FullPath() const
{
    std::vector<const TUtf8XmlNode*> chain;
    for (const TUtf8XmlNode* n = this; n; n = n->FParent) chain.push_back(n);
    // The names from the root element (depth 0) down to this node; a node
    // without parent has only its own name.
    size_t top = chain.size() >= 2 ? chain.size() - 2 : 0;
    std::string r;
    for (size_t i = top + 1; i-- > 0;) r += "/" + chain[i]->FName;
    return r;
}

int TUtf8XmlNode::TreeDepth() const
{
    int depth = -1;
    for (const TUtf8XmlNode* p = FParent; p; p = p->FParent) ++depth;
    return depth;
}

int TUtf8XmlNode::TotalNodeCount() const
{
    int count = 0;
    PreOrder(const_cast<TUtf8XmlNode*>(this), true, [&](TUtf8XmlNode*) {
        ++count;
        return false;
    });
    return count;
}

std::string TUtf8XmlNode::CascadedName() const
{
    std::vector<const TUtf8XmlNode*> chain;
    for (const TUtf8XmlNode* n = this; n; n = n->FParent) chain.push_back(n);
    std::string r;
    for (size_t i = chain.size(); i-- > 0;) {
        int32_t index = 0;
        if (!XmlTryStrToInt(chain[i]->AttributeByName("Index"), index)) index = 0;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.4d", index);
        std::string own = chain[i]->FName + buf;
        r = i + 1 == chain.size() ? own : r + "_" + own;
    }
    return r;
}

void TUtf8XmlNode::DeleteEmptyNodes()
{
    // Post-order, children from the last to the first.
    std::vector<std::pair<TUtf8XmlNode*, int>> stack{{this, NodeCount() - 1}};
    while (!stack.empty()) {
        auto& top = stack.back();
        if (top.second >= 0) {
            TUtf8XmlNode* child = top.first->Nodes(top.second);
            stack.push_back({child, child->NodeCount() - 1});
            continue;
        }
        stack.pop_back();
        if (stack.empty()) break;
        auto& parent = stack.back();
        if (parent.first->Nodes(parent.second)->IsEmpty()) parent.first->NodeDelete(parent.second);
        --parent.second;
    }
}

// Compares the node itself (not its children) under AOptions.
static bool SelfEqual(TUtf8XmlNode* A, TUtf8XmlNode* B, const TXmlCompareOptions& O)
{
    if (O.Contains(xcNodeName) && !XmlSameName(A->Name(), B->Name())) return false;
    if (O.Contains(xcNodeType) && A->ElementType() != B->ElementType()) return false;
    if (O.Contains(xcNodeValue) && !XmlSameName(A->ValueAsString(), B->ValueAsString())) return false;
    if (O.Contains(xcAttribCount) && A->AttributeCount() != B->AttributeCount()) return false;
    if (O.Contains(xcAttribNames) || O.Contains(xcAttribValues)) {
        for (int i = 0; i < A->AttributeCount(); ++i) {
            std::string name = A->AttributeName(i);
            if (!B->HasAttribute(name)) {
                if (O.Contains(xcAttribNames)) return false;
                continue;
            }
            if (O.Contains(xcAttribValues) && !XmlSameName(A->AttributeValue(i), B->AttributeByName(name)))
                return false;
        }
    }
    if (O.Contains(xcChildCount) && A->NodeCount() != B->NodeCount()) return false;
    return true;
}

bool TUtf8XmlNode::IsEqualTo(TUtf8XmlNode* ANode, TXmlCompareOptions Options,
                             std::vector<TUtf8XmlNode*>* MismatchNodes)
{
    if (!ANode) return false;
    const bool childPass = Options.Contains(xcChildNames) || Options.Contains(xcChildValues) ||
                           Options.Contains(xcRecursive);
    struct TFrame {
        TUtf8XmlNode* A;
        TUtf8XmlNode* B;
        int Next;
        bool ChildrenEqual;
    };
    std::vector<TFrame> stack{{this, ANode, 0, true}};
    bool result = true;
    while (!stack.empty()) {
        TFrame& f = stack.back();
        if (childPass && f.Next < f.A->NodeCount()) {
            TUtf8XmlNode* k = f.A->Nodes(f.Next++);
            TUtf8XmlNode* other = f.B->Nodes(f.B->NodeIndexByName(k->Name()));
            if (!other) {
                if (Options.Contains(xcChildNames)) {
                    if (MismatchNodes) MismatchNodes->push_back(k);
                    f.ChildrenEqual = false;
                }
                continue;
            }
            if (Options.Contains(xcChildValues) && !XmlSameName(k->ValueAsString(), other->ValueAsString())) {
                if (MismatchNodes) MismatchNodes->push_back(k);
                f.ChildrenEqual = false;
            }
            if (Options.Contains(xcRecursive)) stack.push_back({k, other, 0, true});
            continue;
        }
        bool self = SelfEqual(f.A, f.B, Options);
        if (!self && MismatchNodes) MismatchNodes->insert(MismatchNodes->begin(), f.A);
        result = self && f.ChildrenEqual;
        stack.pop_back();
        if (!stack.empty() && !result) stack.back().ChildrenEqual = false;
    }
    return result;
}

static int CompareNames(std::string_view A, std::string_view B)
{
    bool ascii = true;
    for (char c : A) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    for (char c : B) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii) return rtl::AnsiCompareText(A, B);
    return rtl::CompareText(A, B);
}

void TUtf8XmlNode::SortChildNodes(const TXmlNodeCompareFunction& Compare, void* Info)
{
    if (NodeCount() < 2) return;
    auto order = [&](int i, int j) -> int {
        TUtf8XmlNode* a = Nodes(i);
        TUtf8XmlNode* b = Nodes(j);
        if (Compare) return Compare(a, b, Info);
        if (FDocument && FDocument->OnNodeCompare) return FDocument->OnNodeCompare(FDocument, a, b, Info);
        return CompareNames(a->Name(), b->Name());
    };
    // The classic quicksort over child indices, with an explicit stack of
    // ranges; the bounds checks keep an inconsistent order inside the list.
    std::vector<std::pair<int, int>> ranges{{0, NodeCount() - 1}};
    while (!ranges.empty()) {
        auto [l, r] = ranges.back();
        ranges.pop_back();
        int i = l, j = r, p = (l + r) / 2;
        do {
            while (i < r && order(i, p) < 0) ++i;
            while (j > l && order(j, p) > 0) --j;
            if (i <= j) {
                NodeExchange(i, j);
                if (p == i) p = j;
                else if (p == j) p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < r) ranges.push_back({i, r});
        if (l < j) ranges.push_back({l, j});
    }
}

void TUtf8XmlNode::Assign(const rtl::TPersistent* Source)
{
    if (auto* doc = dynamic_cast<const TUtf8XmlDom*>(Source)) {
        Assign(doc->RootNodeList());
        return;
    }
    auto* source = dynamic_cast<const TUtf8XmlNode*>(Source);
    if (!source) {
        rtl::TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    // Copying from inside this node's own subtree goes through a copy.
    for (const TUtf8XmlNode* p = source->FParent; p; p = p->FParent) {
        if (p == this) {
            std::unique_ptr<TUtf8XmlNode> copy(NodeClass()(FDocument));
            copy->Assign(source);
            Assign(copy.get());
            return;
        }
    }
    std::vector<std::pair<TUtf8XmlNode*, const TUtf8XmlNode*>> pending{{this, source}};
    while (!pending.empty()) {
        auto [dst, src] = pending.back();
        pending.pop_back();
        dst->Clear();
        dst->FElementType = src->FElementType;
        dst->FName = src->FName;
        dst->FTag = src->FTag;
        dst->FValue = src->FValue;
        if (src->FAttributes) {
            dst->FAttributes = new TsdUTF8StringList();
            dst->FAttributes->Assign(src->FAttributes);
        }
        for (int i = 0; i < src->NodeCount(); ++i)
            pending.push_back({dst->NodeNew(""), src->Nodes(i)});
    }
}

// Expands references to DTD entities whose text is markup into child
// nodes.  An entity is not expanded inside its own expansion, and the
// expansion stops growing after a million inserted nodes, so that
// self-referring or exponentially nested entities end.
void TUtf8XmlNode::ResolveEntities()
{
    constexpr long cMaxInserted = 1000000;
    long inserted = 0;
    struct TFrame {
        TUtf8XmlNode* Node;
        int Next;
        std::vector<std::string> Active;  // entities being expanded above
    };
    auto resolveOwn = [&](TUtf8XmlNode* n, const std::vector<std::string>& active,
                          std::vector<std::string>& childActive) {
        childActive = active;
        if (n->FElementType == xeNormal && !n->FValue.empty() && n->FDocument) {
            const std::string& v = n->FValue;
            size_t amp = v.find('&');
            size_t semi = amp == std::string::npos ? std::string::npos : v.find(';', amp);
            if (semi != std::string::npos) {
                std::string name = v.substr(amp + 1, semi - amp - 1);
                std::string entity = name.empty() ? std::string() : n->FDocument->EntityValueByName(name);
                bool recursive = std::find(active.begin(), active.end(), name) != active.end();
                if (!entity.empty() && entity.find('<') != std::string::npos && !recursive &&
                    inserted < cMaxInserted) {
                    detail::TStringSource source(entity);
                    detail::TXmlParser parser(n->FDocument, source);
                    int at = 0;
                    while (!source.AtEnd()) {
                        std::unique_ptr<TUtf8XmlNode> node(n->NodeClass()(n->FDocument));
                        int64_t before = source.Position();
                        parser.ParseNode(node.get());
                        if (!node->IsEmpty()) {
                            n->NodeInsert(at++, node.release());
                            ++inserted;
                        }
                        if (source.Position() == before) break;
                    }
                    if (at > 0) {
                        std::string after = v.substr(semi + 1);
                        n->FValue = v.substr(0, amp);
                        if (!TrimXmlBlanks(after).empty()) {
                            TUtf8XmlNode* run = n->NodeClass()(n->FDocument);
                            run->FElementType = xeCharData;
                            run->FValue = after;
                            n->NodeInsert(at, run);
                        }
                        childActive.push_back(name);
                    }
                }
            }
        }
        for (int i = 0; i < n->AttributeCount(); ++i) {
            std::string value = n->AttributeValue(i);
            std::string out;
            size_t pos = 0;
            bool changed = false;
            while (pos < value.size()) {
                size_t amp = value.find('&', pos);
                size_t semi = amp == std::string::npos ? std::string::npos : value.find(';', amp);
                if (semi == std::string::npos) break;
                std::string name = value.substr(amp + 1, semi - amp - 1);
                std::string entity = name.empty() || !n->FDocument ? std::string()
                                                                    : n->FDocument->EntityValueByName(name);
                out += value.substr(pos, amp - pos);
                if (entity.empty()) out += value.substr(amp, semi - amp + 1);
                else {
                    out += entity;
                    changed = true;
                }
                pos = semi + 1;
            }
            if (changed) {
                out += value.substr(pos);
                n->SetAttributeValue(i, out);
            }
        }
    };
    std::vector<TFrame> stack;
    stack.push_back({this, 0, {}});
    resolveOwn(this, {}, stack.back().Active);
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.Next < top.Node->NodeCount()) {
            TUtf8XmlNode* child = top.Node->Nodes(top.Next++);
            std::vector<std::string> childActive;
            resolveOwn(child, top.Active, childActive);
            stack.push_back({child, 0, std::move(childActive)});
            continue;
        }
        TUtf8XmlNode* done = top.Node;
        stack.pop_back();
        for (int i = done->NodeCount() - 1; i >= 0; --i) {
            TUtf8XmlNode* c = done->Nodes(i);
            if (c->FElementType == xeCharData && c->FValue.empty()) done->NodeDelete(i);
        }
    }
}

void TUtf8XmlNode::ResolveEntityReferences()
{
    ResolveEntities();
}

} // namespace xml
