#include "script/qs_iexpression.h"

#include <map>
#include <memory>

#include "platform/rtl/Strings.h"
#include "script/qs_itools.h"

namespace qs {

namespace {

int PriorityOf(TqsOperatorType op)
{
    switch (op) {
    case opNone: return 7;
    case opGreat: case opLess: case opLessEq: case opGreatEq: case opNonEq: case opEq: case opIn: case opIs:
        return 4;
    case opPlus: case opMinus: case opOr: case opXor: return 3;
    case opMul: case opDivFloat: case opDivInt: case opMod: case opAnd: case opShl: case opShr: return 2;
    case opLeftBracket: return 6;
    case opRightBracket: return 5;
    case opNot: case opUnMinus: return 1;
    }
    return 7;
}

Variant L(TqsExpressionNode* n) { return n->FLeft ? n->FLeft->GetValue() : Variant::Null(); }
Variant R(TqsExpressionNode* n) { return n->FRight ? n->FRight->GetValue() : Variant::Null(); }

#define QS_BINARY_NODE(Name, Op, Expr)                                        \
    class Name : public TqsOperatorNode {                                     \
    public:                                                                   \
        Name() : TqsOperatorNode(Op) {}                                       \
        Variant GetValue() override                                           \
        {                                                                     \
            Variant a = L(this);                                              \
            Variant b = R(this);                                              \
            return Expr;                                                      \
        }                                                                     \
    };

class TNoneNode : public TqsOperatorNode {
public:
    TNoneNode() : TqsOperatorNode(opNone) {}
    Variant GetValue() override { return L(this); }
};

QS_BINARY_NODE(TGreatNode, opGreat, Variant(a > b))
QS_BINARY_NODE(TLessNode, opLess, Variant(a < b))
QS_BINARY_NODE(TLessEqNode, opLessEq, Variant(a <= b))
QS_BINARY_NODE(TGreatEqNode, opGreatEq, Variant(a >= b))
QS_BINARY_NODE(TNonEqNode, opNonEq, Variant(a != b))
QS_BINARY_NODE(TEqNode, opEq, Variant(a == b))
void CheckTextLength(size_t length)
{
    if (length > kMaxScriptText) throw rtl::EOutOfMemory("Out of memory");
}

Variant CheckedText(Variant v)
{
    if (v.IsString()) CheckTextLength(v.TextRef().size());
    return v;
}

// "+", and Basic's "&" (strCat), which joins a text with the text of any
// operand.
class TJoinNode : public TqsOperatorNode {
public:
    explicit TJoinNode(bool strCat) : TqsOperatorNode(opPlus), FStrCat(strCat) {}
    Variant GetValue() override
    {
        Variant a = L(this);
        Variant b = R(this);
        qsAppendValue(a, b, FStrCat);
        return a;
    }
    const bool FStrCat;
};

QS_BINARY_NODE(TMinusNode, opMinus, a - b)
QS_BINARY_NODE(TXorNode, opXor, rtl::VarXor(a, b))
QS_BINARY_NODE(TMulNode, opMul, a * b)
QS_BINARY_NODE(TDivFloatNode, opDivFloat, a / b)
QS_BINARY_NODE(TDivIntNode, opDivInt, rtl::VarIntDiv(a, b))
QS_BINARY_NODE(TModNode, opMod, rtl::VarMod(a, b))
QS_BINARY_NODE(TShlNode, opShl, rtl::VarShl(a, b))
QS_BINARY_NODE(TShrNode, opShr, rtl::VarShr(a, b))

class TOrNode : public TqsOperatorNode {
public:
    TOrNode() : TqsOperatorNode(opOr) {}
    Variant GetValue() override
    {
        if (FOptimizeBool) {
            Variant a = L(this);
            if (a.IsBoolean() && a.AsBoolean()) return a;
            return R(this);
        }
        return rtl::VarOr(L(this), R(this));
    }
};

class TAndNode : public TqsOperatorNode {
public:
    TAndNode() : TqsOperatorNode(opAnd) {}
    Variant GetValue() override
    {
        if (FOptimizeBool) {
            Variant a = L(this);
            if (a.IsBoolean() && !a.AsBoolean()) return a;
            return R(this);
        }
        return rtl::VarAnd(L(this), R(this));
    }
};

class TLeftBracketNode : public TqsOperatorNode {
public:
    TLeftBracketNode() : TqsOperatorNode(opLeftBracket) {}
    Variant GetValue() override { return L(this); }
};

class TRightBracketNode : public TqsOperatorNode {
public:
    TRightBracketNode() : TqsOperatorNode(opRightBracket) {}
    Variant GetValue() override { return L(this); }
};

class TNotNode : public TqsOperatorNode {
public:
    TNotNode() : TqsOperatorNode(opNot) {}
    Variant GetValue() override { return rtl::VarNot(L(this)); }
};

class TUnMinusNode : public TqsOperatorNode {
public:
    TUnMinusNode() : TqsOperatorNode(opUnMinus) {}
    Variant GetValue() override { return -L(this); }
};

class TInNode : public TqsOperatorNode {
public:
    TInNode() : TqsOperatorNode(opIn) {}
    Variant GetValue() override
    {
        Variant a = L(this);
        if (auto* s = dynamic_cast<TqsSetNode*>(FRight)) return Variant(s->FSetExpression->Check(a));
        Variant arr = R(this);
        if (!arr.IsArray()) return Variant(a == arr);
        int32_t lo = arr.LowBound(1), hi = arr.HighBound(1);
        for (int32_t i = lo; i <= hi; ++i) {
            Variant e = arr.GetElement({i});
            if (i + 2 <= hi && arr.GetElement({i + 1}).IsNull()) {
                Variant h = arr.GetElement({i + 2});
                if (a >= e && a <= h) return Variant(true);
                i += 2;
                continue;
            }
            if (a == e) return Variant(true);
        }
        return Variant(false);
    }
};

class TIsNode : public TqsOperatorNode {
public:
    TIsNode() : TqsOperatorNode(opIs) {}
    Variant GetValue() override
    {
        rtl::TObject* obj = L(this).AsObject();
        if (!obj) return Variant(false);
        auto* d = dynamic_cast<TqsDesignatorNode*>(FRight);
        if (!d || d->FDesignator->Count() == 0) return Variant(false);
        auto* cls = dynamic_cast<TqsClassVariable*>(d->FDesignator->Step(0)->FRef);
        if (!cls) return Variant(false);
        if (cls->ClassRef() && cls->ClassRef()->IsInstance(obj)) return Variant(true);
        return Variant(obj->InheritsFrom(cls->Name()));
    }
};

TqsOperatorNode* MakeOperator(const std::string& upper)
{
    if (upper == " ") return new TNoneNode();
    if (upper == ">") return new TGreatNode();
    if (upper == "<") return new TLessNode();
    if (upper == "<=") return new TLessEqNode();
    if (upper == ">=") return new TGreatEqNode();
    if (upper == "<>") return new TNonEqNode();
    if (upper == "=") return new TEqNode();
    if (upper == "+") return new TJoinNode(false);
    if (upper == "STRCAT") return new TJoinNode(true);
    if (upper == "-") return new TMinusNode();
    if (upper == "OR") return new TOrNode();
    if (upper == "XOR") return new TXorNode();
    if (upper == "*") return new TMulNode();
    if (upper == "/") return new TDivFloatNode();
    if (upper == "DIV") return new TDivIntNode();
    if (upper == "MOD") return new TModNode();
    if (upper == "AND") return new TAndNode();
    if (upper == "SHL") return new TShlNode();
    if (upper == "SHR") return new TShrNode();
    if (upper == "(") return new TLeftBracketNode();
    if (upper == ")") return new TRightBracketNode();
    if (upper == "NOT") return new TNotNode();
    if (upper == "UNMINUS") return new TUnMinusNode();
    if (upper == "IN") return new TInNode();
    if (upper == "IS") return new TIsNode();
    return nullptr;
}

TqsVarType OperandType(const Variant& v)
{
    switch (v.VarType()) {
    case rtl::varBoolean: return fvtBool;
    case rtl::varSingle: case rtl::varDouble: case rtl::varCurrency: return fvtFloat;
    case rtl::varOleStr: case rtl::varString: case rtl::varUString: return fvtString;
    default: return fvtInt;
    }
}

} // namespace

void qsAppendValue(Variant& acc, const Variant& tail, bool strCat)
{
    if (strCat) {
        // "&" joins a text with the text of anything; otherwise it is "+".
        if (acc.IsString()) {
            std::string text = rtl::VarToStr(tail);
            CheckTextLength(acc.TextRef().size() + text.size());
            acc.AppendText(text);
            if (acc.VarType() != rtl::varUString) acc = acc.AsType(rtl::varUString);
            return;
        }
        acc = CheckedText(acc + tail);
        return;
    }
    if (acc.ConcatenatesWith(tail)) {
        CheckTextLength(acc.TextRef().size() + tail.TextRef().size());
        acc.AppendInPlace(tail);
        return;
    }
    acc = CheckedText(acc + tail);
}

// --- nodes -------------------------------------------------------------------------

TqsExpressionNode::~TqsExpressionNode()
{
    delete FLeft;
    delete FRight;
}

void TqsExpressionNode::AddNode(TqsExpressionNode* node)
{
    if (!FLeft) FLeft = node;
    else FRight = node;
    node->FParent = this;
}

void TqsExpressionNode::RemoveNode(TqsExpressionNode* node)
{
    if (FLeft == node) FLeft = nullptr;
    if (FRight == node) FRight = nullptr;
    node->FParent = nullptr;
}

TqsOperandNode::TqsOperandNode(const Variant& value)
{
    FValue = value;
    FTyp = OperandType(value);
}

TqsDesignatorNode::TqsDesignatorNode(TqsDesignator* d) : TqsOperandNode(Variant::Null()), FDesignator(d)
{
    FVar = d->Kind() == dkVariable && d->RefItem() ? d->RefItem() : d;
    if (dynamic_cast<TqsVariableDesignator*>(d) && d->RefItem()) FVar = d->RefItem();
    else FVar = d;
    FTyp = d->Typ();
    FTypeName = d->TypeName();
}

TqsDesignatorNode::~TqsDesignatorNode() { delete FDesignator; }

TqsSetNode::TqsSetNode(TqsSetExpression* s) : TqsOperandNode(Variant::Null()), FSetExpression(s)
{
    FTyp = fvtVariant;
}

TqsSetNode::~TqsSetNode() { delete FSetExpression; }

Variant TqsSetNode::GetValue() { return FSetExpression->GetValue(); }

int TqsOperatorNode::Priority() const { return PriorityOf(FOp); }

// --- expression ----------------------------------------------------------------------

TqsExpression::TqsExpression(TqsScript* Script)
    : TqsCustomExpression("", fvtVariant, ""), FScript(Script)
{
    FNode = new TNoneNode();
    FCurNode = FNode;
}

TqsExpression::~TqsExpression() { delete FNode; }

void TqsExpression::CountItem()
{
    if (++FItemCount > kMaxItems) throw rtl::Exception("Expression too complex");
}

void TqsExpression::AddOperand(TqsExpressionNode* node)
{
    std::unique_ptr<TqsExpressionNode> owned(node);   // freed when the expression is too long
    CountItem();
    node->SetSourcePos(FSourcePos);
    FCurNode->AddNode(owned.release());
    FCurNode = node;
}

void TqsExpression::AddConst(const Variant& Value) { AddOperand(new TqsOperandNode(Value)); }

void TqsExpression::AddDesignator(TqsDesignator* Designator) { AddOperand(new TqsDesignatorNode(Designator)); }

void TqsExpression::AddSet(TqsSetExpression* Set) { AddOperand(new TqsSetNode(Set)); }

void TqsExpression::AddOperator(const std::string& OpText)
{
    CountItem();
    std::string upper = rtl::UpperCase(OpText);
    TqsOperatorNode* n = MakeOperator(upper);
    if (!n) throw rtl::Exception("Unknown operator: '" + OpText + "'");
    n->SetSourcePos(FSourcePos);
    if (OpText == "(" || OpText == "unminus" || OpText == "not") {
        FCurNode->AddNode(n);
        FCurNode = n;
        return;
    }
    if (n->FOp == opRightBracket) {
        TqsExpressionNode* node = FCurNode;
        while (node && node->Priority() <= 5) node = node->FParent;
        // node is the matching "(" (priority 6) or the root when unbalanced.
        if (!node || node->Priority() != 6) {
            delete n;
            return;
        }
        TqsExpressionNode* child = node->FLeft;
        TqsExpressionNode* parent = node->FParent;
        if (child) node->RemoveNode(child);
        parent->RemoveNode(node);
        if (child) parent->AddNode(child);
        delete node;
        delete n;
        FCurNode = child ? child : parent;
        return;
    }
    if (FCurNode == FNode) {
        FNode->AddNode(n);
        FCurNode = n;
        return;
    }
    TqsExpressionNode* K = FCurNode;
    TqsExpressionNode* A = K->FParent;
    if (auto* op = dynamic_cast<TqsOperatorNode*>(K); op && op->FOp == opLeftBracket) {
        A = K;
        K = nullptr;
    }
    while (A && A->Priority() <= n->Priority()) {
        K = A;
        A = A->FParent;
    }
    if (!A) {
        delete n;
        return;
    }
    if (K) A->RemoveNode(K);
    A->AddNode(n);
    if (K) n->AddNode(K);
    FCurNode = n;
}

namespace {

bool IsOp(TqsOperatorType op, std::initializer_list<TqsOperatorType> ops)
{
    for (auto o : ops)
        if (o == op) return true;
    return false;
}

void TypeNode(TqsExpressionNode* node, TqsScript* script, std::string& firstError)
{
    auto* op = dynamic_cast<TqsOperatorNode*>(node);
    if (!op) return;
    if (node->FLeft) TypeNode(node->FLeft, script, firstError);
    if (node->FRight) TypeNode(node->FRight, script, firstError);
    TqsVarType t1 = node->FLeft ? node->FLeft->Typ() : fvtVariant;
    TqsVarType t2 = node->FRight ? node->FRight->Typ() : fvtVariant;
    std::string n1 = node->FLeft ? node->FLeft->TypeName() : std::string();
    std::string n2 = node->FRight ? node->FRight->TypeName() : std::string();
    if (t1 == fvtBool && t2 == fvtBool) op->FOptimizeBool = true;
    bool error = false;
    if (!(op->FOp == opIs && t1 == fvtClass && t2 == fvtClass)) {
        if (!VarTypesCompatible(t1, n1, t2, n2, script)) error = true;
        if (t1 == fvtBool && !IsOp(op->FOp, {opNonEq, opEq, opOr, opXor, opAnd, opNot})) error = true;
        if ((t1 == fvtChar || t1 == fvtString) &&
            !IsOp(op->FOp, {opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opIn}))
            error = true;
        if ((t1 == fvtClass || t1 == fvtArray) && !IsOp(op->FOp, {opNonEq, opEq})) error = true;
    }
    TqsVarType t = t1;
    std::string tn = n1;
    if (!error) {
        if ((t1 == fvtInt && t2 == fvtFloat) || (t1 == fvtFloat && t2 == fvtInt)) t = fvtFloat;
        if (op->FOp == opDivFloat && t1 == fvtInt && t2 == fvtInt) t = fvtFloat;
        if (IsOp(op->FOp, {opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opIn, opIs})) {
            t = fvtBool;
            tn.clear();
        }
    } else if (firstError.empty()) {
        firstError = node->SourcePos();
    }
    node->SetTyp(t);
    node->SetTypeName(tn);
}

} // namespace

std::string TqsExpression::Finalize()
{
    if (!FFinalized) {
        TqsExpressionNode* tree = FNode->FLeft;
        if (tree) FNode->RemoveNode(tree);
        delete FNode;
        FNode = tree;
        FCurNode = tree;
        FFinalized = true;
    }
    std::string err;
    if (FNode) {
        TypeNode(FNode, FScript, err);
        FTyp = FNode->Typ();
        FTypeName = FNode->TypeName();
    } else {
        FTyp = fvtVariant;
    }
    auto* d = dynamic_cast<TqsDesignatorNode*>(FNode);
    FIsReadOnly = !(d && !d->FDesignator->IsReadOnly());
    return err;
}

char TqsExpression::Optimize(TqsDesignator* Designator)
{
    auto* vd = dynamic_cast<TqsVariableDesignator*>(Designator);
    auto* root = dynamic_cast<TqsOperatorNode*>(FNode);
    if (!vd || !root || !IsOp(root->FOp, {opPlus, opMinus, opMul, opDivFloat})) return ' ';
    if (auto* join = dynamic_cast<TJoinNode*>(root); join && join->FStrCat) return ' ';
    char c = root->FOp == opPlus ? '+' : root->FOp == opMinus ? '-' : root->FOp == opMul ? '*' : '/';
    TqsCustomVariable* var = vd->RefItem();
    auto reads = [var](TqsExpressionNode* n) {
        auto* d = dynamic_cast<TqsDesignatorNode*>(n);
        return d && dynamic_cast<TqsVariableDesignator*>(d->FDesignator) && d->FDesignator->RefItem() == var;
    };
    if (reads(root->FLeft) && root->FRight) {
        TqsExpressionNode* right = root->FRight;
        root->RemoveNode(right);
        delete root;
        FNode = right;
        return c;
    }
    if (reads(root->FRight) && root->FLeft && (c == '+' || c == '*') && var->Typ() != fvtString &&
        var->Typ() != fvtVariant) {
        TqsExpressionNode* left = root->FLeft;
        root->RemoveNode(left);
        delete root;
        FNode = left;
        return c;
    }
    return ' ';
}

bool TqsExpression::AppendChain(TqsDesignator* Designator, std::vector<std::pair<TqsCustomVariable*, bool>>& tails) const
{
    auto* vd = dynamic_cast<TqsVariableDesignator*>(Designator);
    if (!vd || vd->LateBindingXmlSource() || !vd->RefItem()) return false;
    TqsCustomVariable* var = vd->RefItem();
    std::vector<std::pair<TqsCustomVariable*, bool>> found;
    TqsExpressionNode* n = FNode;
    while (auto* op = dynamic_cast<TqsOperatorNode*>(n)) {
        auto* join = dynamic_cast<TJoinNode*>(op);
        if (!join || !op->FLeft || !op->FRight) return false;
        found.emplace_back(op->FRight, join->FStrCat);
        n = op->FLeft;
    }
    auto* leaf = dynamic_cast<TqsDesignatorNode*>(n);
    if (found.empty() || !leaf) return false;
    auto* ld = dynamic_cast<TqsVariableDesignator*>(leaf->FDesignator);
    if (!ld || ld->LateBindingXmlSource() || ld->RefItem() != var) return false;
    tails.assign(found.rbegin(), found.rend());
    return true;
}

TqsCustomVariable* TqsExpression::SingleItem() const
{
    if (auto* d = dynamic_cast<TqsDesignatorNode*>(FNode)) return d->FVar;
    if (dynamic_cast<TqsSetNode*>(FNode)) return FNode;
    if (dynamic_cast<TqsOperandNode*>(FNode)) return FNode;
    return nullptr;
}

Variant TqsExpression::GetValue() { return FNode ? FNode->GetValue() : Variant::Null(); }

void TqsExpression::SetValue(const Variant& value)
{
    if (FIsReadOnly) return;
    if (auto* d = dynamic_cast<TqsDesignatorNode*>(FNode)) d->FDesignator->SetValue(value);
}

} // namespace qs
