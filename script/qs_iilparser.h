// TqsILParser compiles a script in two passes.  The first loads a
// language's grammar document, sets the lexer up from it and parses the
// script by interpreting the grammar's rules top-down with backtracking,
// emitting the intermediate code: an XML document (root "program") whose
// elements are named by the grammar and carry the source positions of what
// they stand for.  The second pass turns the intermediate code into the
// program's items and statement tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Lists.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iparser.h"
#include "script/qs_xml.h"

namespace qs {

struct TqsGrammar;
struct TqsGrammarElem;
class TqsExpression;
class TqsSetExpression;

enum TqsEmitOp { emNone, emCreate, emFree };

class TqsILParser {
public:
    explicit TqsILParser(TqsScript* AProgram);
    ~TqsILParser();

    // Loads and applies a grammar; raises for an unknown language.
    void SelectLanguage(const std::string& LangName);
    // First pass: fills ILScript; true on success.  Sets the program's
    // ErrorMsg and ErrorPos in every case.
    bool MakeILScript(const std::string& Text);
    // Second pass: builds the program from ILScript.
    void ParseILScript();
    // A designator for a "dsgn" element (also used at run time to resolve
    // late-bound designators).
    TqsDesignator* DoDesignator(TqsXMLItem* Element, TqsScript* Program, TqsEmitOp EmitOp);
    // Builds a late-bound designator's steps when it is first evaluated: a
    // member that still cannot be found is an "Undeclared identifier", an
    // index of a value that has none "Array type required".
    TqsDesignator* ResolveLateDesignator(TqsXMLItem* Element, TqsScript* Program);

    TqsXMLDocument& ILScript() { return FILScript; }
    TqsParser& Lexer() { return FParser; }
    const std::string& LangName() const { return FLangName; }
    bool NeedDeclareVars() const { return FNeedDeclareVars; }
    void SetNeedDeclareVars(bool v) { FNeedDeclareVars = v; }
    const std::string& UnitName() const { return FUnitName; }
    void SetUnitName(const std::string& u) { FUnitName = u; }
    rtl::TStringList& UsesList() { return FUsesList; }

private:
    // --- first pass ---
    bool Run(const TqsGrammarElem* E);
    bool RunLoop(const TqsGrammarElem* E);
    void RecordError(const TqsGrammarElem* E, int start);
    std::string PosAfterSkip(int position);
    void EmitNode(const std::string& node, int start, size_t mark);
    void EmitUses(size_t mark);
    void EmitItem(const std::string& name, const std::string& text, const std::string& pos);

    // --- second pass (qs_iilparser_il.cpp) ---
    void DoBlock(TqsXMLItem* B, TqsScript* P);
    void DeclareRoutines(TqsXMLItem* B, TqsScript* P);
    void DeclareRoutine(TqsXMLItem* E, TqsScript* P);
    // Declarations.
    void DoVar(TqsXMLItem* E, TqsScript* P, TqsStatement* L, TqsCustomVariable* routine);
    void DeclareVar(TqsXMLItem* E, int i, const std::string& typeName, bool namesFirst, TqsScript* P,
                    TqsStatement* L, TqsCustomVariable* routine);
    std::vector<int32_t> ArrayBounds(TqsXMLItem* arrayEl, TqsScript* P);
    void SetParamDefault(TqsParamItem* prm, TqsXMLItem* X, TqsScript* P);
    void DoConst(TqsXMLItem* E, TqsScript* P);
    // Statements, one step per kind of element.
    void DoStatement(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoStatements(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoAssign(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void AddAssignment(const std::string& text, const std::string& target, const std::string& pos, TqsXMLItem* X,
                       TqsScript* P, TqsStatement* L);
    void DoCall(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoIf(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoCase(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoVbFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoCppFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    TqsCustomVariable* ForVariable(TqsXMLItem* v, TqsScript* P);
    TqsExpression* ForBound(TqsXMLItem* X, TqsCustomVariable* var, TqsScript* P);
    void DoWhile(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoRepeat(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoTry(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoBreak(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoContinue(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoExit(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoReturn(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoWith(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoDelete(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoUses(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoVarStmt(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoConstStmt(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    void DoRoutineBody(TqsXMLItem* E, TqsScript* P, TqsStatement* L);
    // Expressions.
    TqsExpression* DoExpression(TqsXMLItem* E, TqsScript* P);
    void AddExprItems(TqsExpression* Expr, TqsXMLItem* E, TqsScript* P);
    TqsSetExpression* DoSet(TqsXMLItem* E, TqsScript* P);
    // Designators: what a step decided about the elements after it.
    enum class TStepResult {
        Next,    // go on with the next element
        Stop,    // no further element is read
        Done,    // the designator is complete as it stands
        ByType,  // the member is resolved by the type just found
    };
    struct TDsgnBuild;
    TStepResult FirstDsgnStep(TDsgnBuild& b, const std::string& T, const std::string& pos, TqsEmitOp EmitOp);
    TStepResult MemberStep(TDsgnBuild& b, size_t i, const std::string& T, const std::string& pos);
    TStepResult VariantMemberStep(TDsgnBuild& b, size_t i, TqsCustomVariable* R, const std::string& T,
                                  const std::string& pos, TqsVarType& rt, std::string& rtn);
    void AutomationSteps(TDsgnBuild& b, size_t i);
    TStepResult ClassMemberStep(TDsgnBuild& b, TqsCustomVariable* R, const std::string& T, const std::string& pos,
                                const std::string& rtn);
    TqsDesignator* FinishDesignator(TDsgnBuild& b, TqsEmitOp EmitOp);
    [[noreturn]] void NothingToBind(const std::string& T);
    TqsCustomVariable* FindVar(const std::string& Name, TqsScript* P);
    std::string ResolveTypeName(const std::string& Name, TqsVarType& Typ, TqsScript* P);
    void CheckRedeclared(const std::string& Name, TqsScript* P);
    void MatchArguments(TqsDesignator* D, TqsScript* P);
    bool WithLookup(TqsDesignator* D, TqsXMLItem* Element, const std::string& T, TqsScript* P,
                    const std::string& pos, bool& done);
    void SetPos(TqsXMLItem* E);
    template <typename S>
    S* NewStmt(TqsXMLItem* E, TqsScript* P);
    [[noreturn]] void Error(const std::string& Msg);

    std::string FErrorPos;
    std::shared_ptr<TqsGrammar> FGrammar;
    TqsXMLDocument FILScript;
    std::string FLangName;
    bool FNeedDeclareVars = true;
    TqsParser FParser;
    TqsScript* FProgram;
    TqsXMLItem* FProgRoot = nullptr;
    std::string FUnitName;
    bool FResolvingLate = false;   // inside ResolveLateDesignator: nothing is left for later
    rtl::TStringList FUsesList;
    struct TWithEntry {
        std::string Name;
        TqsWithStmt* Stmt;
    };
    std::vector<TWithEntry> FWithList;

    // First-pass state.
    std::vector<std::string> FLines;
    std::string FErrMsg;
    std::string FErrPosText;
    bool FErrTerm = false;
    int FDepth = 0;
    std::uintptr_t FStackTop = 0;   // where the outermost grammar rule's frame lies
    int FFurthest = 1;
};

// Registers the four built-in grammars (JScript, BasicScript, C++Script,
// PascalScript, in this order) once; the interpreter calls it on first use.
void RegisterBuiltinGrammars();

} // namespace qs
