// Expression trees: operands and operators built in source order with an
// operator-precedence algorithm, typed by Finalize and evaluated over
// Variants with the platform's Variant arithmetic and comparisons.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "script/qs_iinterpreter.h"

namespace qs {

enum TqsOperatorType {
    opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor, opMul,
    opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot, opUnMinus,
    opIn, opIs
};

// Texts longer than this many bytes are refused with EOutOfMemory (a
// doubling loop would otherwise exhaust memory).
constexpr size_t kMaxScriptText = 64u << 20;

// acc := acc + tail ("+"), or acc := acc & tail ("&", strCat): the value,
// kind and errors those operators give, with texts appended in place where
// acc's text is not shared.
void qsAppendValue(Variant& acc, const Variant& tail, bool strCat);

class TqsExpressionNode : public TqsCustomVariable {
public:
    TqsExpressionNode() : TqsCustomVariable("", fvtVariant, "") {}
    ~TqsExpressionNode() override;
    virtual int Priority() const = 0;
    void AddNode(TqsExpressionNode* node);
    void RemoveNode(TqsExpressionNode* node);
    TqsExpressionNode* FLeft = nullptr;
    TqsExpressionNode* FRight = nullptr;
    TqsExpressionNode* FParent = nullptr;
};

class TqsOperandNode : public TqsExpressionNode {
public:
    explicit TqsOperandNode(const Variant& value);
    int Priority() const override { return 0; }
};

class TqsDesignatorNode : public TqsOperandNode {
public:
    explicit TqsDesignatorNode(TqsDesignator* d);
    ~TqsDesignatorNode() override;
    Variant GetValue() override { return FVar->GetValue(); }
    TqsDesignator* FDesignator;
    TqsCustomVariable* FVar;
};

class TqsSetNode : public TqsOperandNode {
public:
    explicit TqsSetNode(TqsSetExpression* s);
    ~TqsSetNode() override;
    Variant GetValue() override;
    TqsSetExpression* FSetExpression;
};

class TqsOperatorNode : public TqsExpressionNode {
public:
    explicit TqsOperatorNode(TqsOperatorType op) : FOp(op) {}
    int Priority() const override;
    TqsOperatorType FOp;
    bool FOptimizeInt = false;
    bool FOptimizeBool = false;
};

class TqsExpression : public TqsCustomExpression {
public:
    explicit TqsExpression(TqsScript* Script);
    ~TqsExpression() override;
    void AddConst(const Variant& Value);
    void AddDesignator(TqsDesignator* Designator);
    void AddSet(TqsSetExpression* Set);
    void AddOperator(const std::string& OpText);
    // Position text of the first type error, "" when well typed.
    std::string Finalize();
    // The operator of a compound assignment to Designator, or " ".
    char Optimize(TqsDesignator* Designator);
    // True when the expression is "Designator + a + b ..." or
    // "Designator & a & b ..." (any mix) with the assigned variable as its
    // leftmost operand; tails gets the other operands in evaluation order,
    // each with whether it joins by "&".
    bool AppendChain(TqsDesignator* Designator, std::vector<std::pair<TqsCustomVariable*, bool>>& tails) const;
    TqsCustomVariable* SingleItem() const;
    Variant GetValue() override;
    void SetValue(const Variant& value) override;

    TqsScript* Script() const { return FScript; }
    const std::string& Source() const { return FSource; }
    void SetSource(const std::string& s) { FSource = s; }
    void SetCurrentPos(const std::string& p) { FSourcePos = p; }
    TqsExpressionNode* Tree() const { return FNode; }

    // An expression holds at most this many operands and operators, so
    // that its tree stays shallow enough to evaluate recursively.
    static constexpr int kMaxItems = 4000;

private:
    void AddOperand(TqsExpressionNode* node);
    void CountItem();
    int FItemCount = 0;
    TqsExpressionNode* FCurNode;
    TqsExpressionNode* FNode;
    TqsScript* FScript;
    std::string FSource;
    bool FFinalized = false;
};

} // namespace qs
