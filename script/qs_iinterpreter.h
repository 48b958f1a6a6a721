// The script program and everything a script can name: variables, types,
// parameters, procedures, host classes with their members, designators and
// the statement tree the interpreter executes.
//
// A TqsScript is at once a compiled program and its symbol table; programs
// chain through Parent (every script routine owns a program whose parent is
// the program it was declared in), and a name not found locally is looked
// up in the parents.  Every value is an rtl::Variant; an object travels as
// its 32-bit handle (Variant::FromObject), 0 for none.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Variant.h"

namespace qs {

using rtl::Variant;

class TqsScript;
class TqsParamItem;
class TqsProcVariable;
class TqsClassVariable;
class TqsCustomHelper;
class TqsMethodHelper;
class TqsPropertyHelper;
class TqsStatement;
class TqsXMLItem;

enum TqsVarType {
    fvtInt, fvtBool, fvtFloat, fvtChar, fvtString, fvtClass, fvtArray, fvtVariant, fvtEnum,
    fvtConstructor
};

// Marker stamped into AddedBy of every item a binding module registers.
inline const void* const kqsModuleMarker = reinterpret_cast<const void*>(1);

// --- items ------------------------------------------------------------------------

// An owning list of items (parameters, statements, argument expressions).
// Entries may be nullptr (a range marker in a set expression).
class TqsItemList : public rtl::TObject {
public:
    TqsItemList() = default;
    ~TqsItemList() override;
    int Count() const { return static_cast<int>(FItems.size()); }
    TqsItemList* Item(int index) const { return FItems[static_cast<size_t>(index)]; }
    void Add(TqsItemList* item) { FItems.push_back(item); }
    // Takes the item out without freeing it.
    void Remove(TqsItemList* item);
    // Frees every item and empties the list.
    virtual void Clear();
    // Exchanges the entries of two lists.
    void SwapItems(TqsItemList& other) { FItems.swap(other.FItems); }

protected:
    std::vector<TqsItemList*> FItems;
};

using TqsGetVariableValueEvent =
    std::function<Variant(const std::string& VarName, TqsVarType VarTyp, const Variant& OldValue)>;
using TqsRunLineEvent =
    std::function<void(TqsScript* Sender, const std::string& UnitName, const std::string& SourcePos)>;
using TqsGetUnitEvent =
    std::function<void(TqsScript* Sender, const std::string& UnitName, std::string& UnitText)>;

class TqsCustomVariable : public TqsItemList {
public:
    TqsCustomVariable(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName);

    virtual void SetValue(const Variant& value);
    virtual Variant GetValue();
    // Drops the stored value just before a SetValue that replaces it, so
    // that a text read from the variable earlier is held only by the reader
    // and can be appended to in place.  Plain storage only; the others keep
    // their value.
    virtual void ReleaseStoredValue() {}

    TqsParamItem* Params(int index) const;
    std::string GetFullTypeName() const;
    int GetNumberOfRequiredParams() const;

    const void* AddedBy() const { return FAddedBy; }
    void SetAddedBy(const void* v) { FAddedBy = v; }
    bool IsMacro() const { return FIsMacro; }
    void SetIsMacro(bool v) { FIsMacro = v; }
    bool IsReadOnly() const { return FIsReadOnly; }
    void SetIsReadOnly(bool v) { FIsReadOnly = v; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& n);
    const std::string& UppercaseName() const { return FUppercaseName; }
    bool NeedResult() const { return FNeedResult; }
    void SetNeedResult(bool v) { FNeedResult = v; }
    Variant* PValue() { return &FValue; }
    TqsCustomVariable* RefItem() const { return FRefItem; }
    void SetRefItem(TqsCustomVariable* v) { FRefItem = v; }
    const std::string& SourcePos() const { return FSourcePos; }
    void SetSourcePos(const std::string& v) { FSourcePos = v; }
    const std::string& SourceUnit() const { return FSourceUnit; }
    void SetSourceUnit(const std::string& v) { FSourceUnit = v; }
    TqsVarType Typ() const { return FTyp; }
    void SetTyp(TqsVarType t) { FTyp = t; }
    const std::string& TypeName() const { return FTypeName; }
    void SetTypeName(const std::string& v) { FTypeName = v; }

    TqsGetVariableValueEvent OnGetVarValue;

protected:
    const void* FAddedBy = nullptr;
    bool FIsMacro = false;
    bool FIsReadOnly = false;
    std::string FName;
    bool FNeedResult = true;
    TqsCustomVariable* FRefItem = nullptr;
    std::string FSourcePos;
    std::string FSourceUnit;
    TqsVarType FTyp;
    std::string FTypeName;
    std::string FUppercaseName;
    Variant FValue = Variant::Null();
};

// A script variable or constant: assignments convert by kind (Integer to a
// 32-bit integer, Boolean, Extended to a float, String to text); reading
// asks the host hook when there is one.
class TqsVariable : public TqsCustomVariable {
public:
    using TqsCustomVariable::TqsCustomVariable;
    void SetValue(const Variant& value) override;
    Variant GetValue() override;
    void ReleaseStoredValue() override;
    // The stored value without conversion (for-loop counters).
    void SetStored(const Variant& value) { FValue = value; }
};

class TqsTypeVariable : public TqsCustomVariable {
public:
    using TqsCustomVariable::TqsCustomVariable;
};

// A declared Char or String variable: keeps its own text, which string
// indexing changes in place.
class TqsStringVariable : public TqsVariable {
public:
    using TqsVariable::TqsVariable;
    void SetValue(const Variant& value) override;
    Variant GetValue() override;
    void ReleaseStoredValue() override;
    const std::string& Str() const { return FText.TextRef(); }
    void SetStr(std::string s) { FText = Variant(std::move(s)); }

private:
    Variant FText = Variant(std::string());   // always a Unicode text
};

class TqsParamItem : public TqsCustomVariable {
public:
    TqsParamItem(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                 bool AIsOptional, bool AIsVarParam);
    const Variant& DefValue() const { return FDefValue; }
    void SetDefValue(const Variant& v) { FDefValue = v; }
    bool IsOptional() const { return FIsOptional; }
    void SetIsOptional(bool v) { FIsOptional = v; }
    bool IsVarParam() const { return FIsVarParam; }
    void SetIsVarParam(bool v) { FIsVarParam = v; }
    void ReleaseStoredValue() override;

private:
    Variant FDefValue = Variant::Null();
    bool FIsOptional;
    bool FIsVarParam;
};

// A script procedure or function; reading its value calls it with the
// parameter values the caller has stored.
class TqsProcVariable : public TqsCustomVariable {
public:
    TqsProcVariable(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                    TqsScript* AParent, bool AIsFunc);
    ~TqsProcVariable() override;
    Variant GetValue() override;
    bool Executing() const { return FExecuting; }
    bool IsFunc() const { return FIsFunc; }
    TqsScript* Prog() const { return FProgram; }

private:
    bool FExecuting = false;
    bool FIsFunc;
    TqsScript* FProgram;
};

class TqsCustomExpression : public TqsCustomVariable {
public:
    using TqsCustomVariable::TqsCustomVariable;
};

// --- binding modules ------------------------------------------------------------

// A binding module registers its vocabulary into a program in its
// constructor.
class TqsRTTIModule : public rtl::TObject {
public:
    explicit TqsRTTIModule(TqsScript* AScript) : FScript(AScript) {}
    TqsScript* Script() const { return FScript; }

protected:
    TqsScript* FScript;
};

using TqsRTTIModuleClass = TqsRTTIModule* (*)(TqsScript* AScript);
template <typename T>
TqsRTTIModule* qsModuleFactory(TqsScript* s) { return new T(s); }

// The global list of module classes, in start-up order; nullptr after the
// interpreter has shut down.
std::vector<TqsRTTIModuleClass>* GetRTTIModuleList();

// --- the program --------------------------------------------------------------------

class TqsScript : public rtl::TComponent {
public:
    explicit TqsScript(rtl::TComponent* AOwner = nullptr);
    ~TqsScript() override;
    std::string ClassName() const override { return "TqsScript"; }

    // --- symbol table ---
    void Add(const std::string& Name, rtl::TObject* Item);
    void Remove(rtl::TObject* Item);
    int Count() const { return static_cast<int>(FItems.size()); }
    rtl::TObject* Items(int index) const { return FItems[static_cast<size_t>(index)].Obj; }
    TqsCustomVariable* Find(const std::string& Name) const;
    TqsCustomVariable* FindLocal(const std::string& Name) const;
    TqsClassVariable* FindClass(const std::string& Name) const;

    // --- registration (overridable) ---
    virtual TqsClassVariable* AddClass(const rtl::TClassInfo* AClass, const std::string& Ancestor);
    virtual void AddConst(const std::string& Name, const std::string& Typ, const Variant& Value);
    virtual void AddEnum(const std::string& Typ, const std::string& Names);
    virtual void AddEnumSet(const std::string& Typ, const std::string& Names);
    virtual void AddComponent(rtl::TComponent* Form);
    virtual void AddForm(rtl::TComponent* Form);
    virtual TqsMethodHelper* AddMethod(const std::string& Syntax,
                                       std::function<Variant(rtl::TObject*, const rtl::TClassInfo*,
                                                             const std::string&, TqsMethodHelper*)> CallEvent,
                                       const std::string& Category = {}, const std::string& Description = {});
    virtual TqsMethodHelper* AddMethod(const std::string& Syntax,
                                       std::function<Variant(rtl::TObject*, const rtl::TClassInfo*,
                                                             const std::string&, Variant&)> CallEvent,
                                       const std::string& Category = {}, const std::string& Description = {});
    virtual void AddObject(const std::string& Name, rtl::TObject* Obj);
    virtual void AddVariable(const std::string& Name, const std::string& Typ, const Variant& Value);
    virtual void AddType(const std::string& TypeName, TqsVarType ParentType);

    void AddRTTI();
    void ClearRTTI();
    void Clear();
    void ClearItems(const void* Owner);
    void RemoveItems(const void* Owner);

    // --- compiling and running ---
    bool Compile();
    void Execute();
    bool Run();
    bool GetILCode(rtl::TStream& Stream);
    bool SetILCode(rtl::TStream& Stream);
    Variant Evaluate(const std::string& Expression);
    Variant CallFunction(const std::string& Name, const Variant& Params);
    Variant CallFunction1(const std::string& Name, Variant& Params);
    Variant CallFunction2(TqsProcVariable* Func, const Variant& Params);
    void Terminate();
    void SetVariable(const std::string& Name, const Variant& Value);

    void AddCodeLine(const std::string& UnitName, const std::string& APos);
    bool IsExecutableLine(int LineN, const std::string& UnitName) const;

    // --- properties ---
    const void* AddedBy() const { return FAddedBy; }
    void SetAddedBy(const void* v) { FAddedBy = v; }
    const std::string& ErrorMsg() const { return FErrorMsg; }
    void SetErrorMsg(const std::string& v) { FErrorMsg = v; }
    const std::string& ErrorPos() const { return FErrorPos; }
    void SetErrorPos(const std::string& v) { FErrorPos = v; }
    const std::string& ErrorUnit() const { return FErrorUnit; }
    void SetErrorUnit(const std::string& v) { FErrorUnit = v; }
    bool ExtendedCharset() const { return FExtendedCharset; }
    void SetExtendedCharset(bool v) { FExtendedCharset = v; }
    bool IsRunning() const { return FIsRunning; }
    void SetIsRunning(bool v) { FIsRunning = v; }
    rtl::TStringList& Lines() { return FLines; }
    void SetLines(const rtl::TStringList& l);
    // Convenience: the lines from one text (split at line ends).
    void SetText(const std::string& text);
    rtl::TStringList& Macros() { return FMacros; }
    bool MainProg() const { return FMainProg; }
    void SetMainProg(bool v) { FMainProg = v; }
    TqsScript* Parent() const { return FParent; }
    void SetParent(TqsScript* p) { FParent = p; }
    TqsScript* ProgRunning() const { return FProgRunning; }
    void SetProgRunning(TqsScript* p) { FProgRunning = p; }
    TqsStatement* Statement() const { return FStatement; }
    const std::string& SyntaxType() const { return FSyntaxType; }
    void SetSyntaxType(const std::string& v) { FSyntaxType = v; }
    rtl::TStringList& IncludePath() { return FIncludePath; }
    bool UseClassLateBinding() const { return FUseClassLateBinding; }
    void SetUseClassLateBinding(bool v) { FUseClassLateBinding = v; }
    bool EvaluteRiseError() const { return FEvaluteRiseError; }
    bool Terminated() const { return FTerminated; }
    bool ModulesAdded() const { return FModulesAdded; }

    TqsGetUnitEvent OnGetILUnit;
    TqsGetUnitEvent OnGetUnit;
    TqsRunLineEvent OnRunLine;
    TqsGetVariableValueEvent OnGetVarValue;

    // Loop and exit requests of the running statements.
    bool FBreakCalled = false;
    bool FContinueCalled = false;
    bool FExitCalled = false;
    bool FTerminated = false;

private:
    struct Entry {
        std::string Upper;
        rtl::TObject* Obj;
    };
    // Index of the first entry of that (upper-case) name, or -1.
    int IndexOfUpper(const std::string& upper) const;
    void FreeItemAt(int index);

    const void* FAddedBy = nullptr;
    std::string FErrorMsg;
    std::string FErrorPos;
    std::string FErrorUnit;
    bool FExtendedCharset = false;
    std::vector<Entry> FItems;
    bool FIsRunning = false;
    rtl::TStringList FLines;
    rtl::TStringList FMacros;
    bool FMainProg = false;
    TqsScript* FParent = nullptr;
    TqsScript* FProgRunning = nullptr;
    bool FModulesAdded = false;
    TqsStatement* FStatement;
    std::string FSyntaxType = "PascalScript";
    std::map<std::string, std::set<int>> FUnitLines;
    rtl::TStringList FIncludePath;
    bool FUseClassLateBinding = false;
    bool FEvaluteRiseError = false;
};

// --- class bindings ----------------------------------------------------------------

using TqsCallMethodNewEvent = std::function<Variant(rtl::TObject* Instance, const rtl::TClassInfo* ClassType,
                                                    const std::string& MethodName, TqsMethodHelper* Caller)>;
using TqsCallMethodEvent = std::function<Variant(rtl::TObject* Instance, const rtl::TClassInfo* ClassType,
                                                 const std::string& MethodName, Variant& Params)>;
using TqsGetValueEvent =
    std::function<Variant(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName)>;
using TqsSetValueEvent = std::function<void(rtl::TObject* Instance, const rtl::TClassInfo* ClassType,
                                            const std::string& PropName, const Variant& Value)>;
using TqsGetValueNewEvent = std::function<Variant(rtl::TObject* Instance, const rtl::TClassInfo* ClassType,
                                                  const std::string& PropName, TqsPropertyHelper* Caller)>;
using TqsSetValueNewEvent =
    std::function<void(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName,
                       const Variant& Value, TqsPropertyHelper* Caller)>;

// A member of a class as a designator applies it: the item before it, that
// item's value (normally the object) and the program.
class TqsCustomHelper : public TqsCustomVariable {
public:
    using TqsCustomVariable::TqsCustomVariable;
    TqsCustomVariable* ParentRef() const { return FParentRef; }
    void SetParentRef(TqsCustomVariable* v) { FParentRef = v; }
    const Variant& ParentValue() const { return FParentValue; }
    void SetParentValue(const Variant& v) { FParentValue = v; }
    TqsScript* Prog() const { return FProgram; }
    void SetProg(TqsScript* p) { FProgram = p; }

protected:
    TqsCustomVariable* FParentRef = nullptr;
    Variant FParentValue;
    TqsScript* FProgram = nullptr;
};

class TqsPropertyHelper : public TqsCustomHelper {
public:
    TqsPropertyHelper(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                      const rtl::TClassInfo* AClass);
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
    const rtl::TClassInfo* ClassRef() const { return FClassRef; }
    bool IsPublished() const { return FIsPublished; }
    void SetIsPublished(bool v) { FIsPublished = v; }

    TqsGetValueEvent OnGetValue;
    TqsSetValueEvent OnSetValue;
    TqsGetValueNewEvent OnGetValueNew;
    TqsSetValueNewEvent OnSetValueNew;

private:
    const rtl::TClassInfo* FClassRef;
    bool FIsPublished = false;
};

class TqsMethodHelper : public TqsCustomHelper {
public:
    TqsMethodHelper(const std::string& Syntax, TqsScript* Script);
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
    // The Index-th actual parameter; Count() gives the value being assigned
    // in an indexed-property write.
    Variant GetParam(int Index);
    void SetParam(int Index, const Variant& Value);

    // For constructor handlers: the class being constructed (the class item
    // before this member, else the registering class).
    const rtl::TClassInfo* ConstructedClass() const;

    const std::string& Category() const { return FCategory; }
    void SetCategory(const std::string& v) { FCategory = v; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& v) { FDescription = v; }
    bool IndexMethod() const { return FIndexMethod; }
    void SetIndexMethod(bool v) { FIndexMethod = v; }
    const std::string& Syntax() const { return FSyntax; }
    const rtl::TClassInfo* ClassRef() const { return FClassRef; }
    void SetClassRef(const rtl::TClassInfo* c) { FClassRef = c; }

    TqsCallMethodEvent OnCall;
    TqsCallMethodNewEvent OnCallNew;

private:
    std::string FCategory;
    const rtl::TClassInfo* FClassRef = nullptr;
    std::string FDescription;
    bool FIndexMethod = false;
    Variant FSetValue = Variant::Null();
    std::string FSyntax;
    Variant FVarArray;
};

class TqsComponentHelper : public TqsCustomHelper {
public:
    explicit TqsComponentHelper(rtl::TComponent* AComponent);
    Variant GetValue() override;
    rtl::TComponent* Component() const { return FComponent; }

private:
    rtl::TComponent* FComponent;
};

class TqsCustomEvent;
using TqsEventClass = TqsCustomEvent* (*)(rtl::TObject* AObject, TqsProcVariable* AHandler);
template <typename T>
TqsCustomEvent* qsEventFactory(rtl::TObject* o, TqsProcVariable* h) { return new T(o, h); }

class TqsEventHelper : public TqsCustomHelper {
public:
    TqsEventHelper(const std::string& AName, const rtl::TClassInfo* AClass, TqsEventClass AEvent);
    Variant GetValue() override { return Variant(std::string()); }
    void SetValue(const Variant& value) override;

private:
    const rtl::TClassInfo* FClassRef;
    TqsEventClass FEvent;
};

// The indexer of an array variable (DimCount -1: the generic indexer of
// array Variants with one to three indexes).
class TqsArrayHelper : public TqsCustomHelper {
public:
    TqsArrayHelper(const std::string& AName, int DimCount, TqsVarType ATyp, const std::string& ATypeName);
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

class TqsStringHelper : public TqsCustomHelper {
public:
    TqsStringHelper();
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

// Base of event adapters: binds itself into an instance's published event
// property and calls the script procedure when the event fires.
class TqsCustomEvent : public rtl::TObject {
public:
    TqsCustomEvent(rtl::TObject* AObject, TqsProcVariable* AHandler);
    ~TqsCustomEvent() override;
    // Stores the adapter's handler into the event property of the instance.
    virtual void Attach(const rtl::TPropInfo* Prop) = 0;
    TqsProcVariable* Handler() const { return FHandler; }
    rtl::TObject* Instance() const { return FInstance; }

protected:
    // Calls the script procedure with the event's arguments; nothing when
    // the procedure is running already.  Var arguments come back in args.
    void CallHandler(std::vector<Variant>& args);
    // A token the bound closures hold weakly: once the adapter is freed,
    // the event does nothing.
    std::shared_ptr<TqsCustomEvent*> FAlive;
    TqsProcVariable* FHandler;
    rtl::TObject* FInstance;
};

// Adapter for TNotifyEvent properties (procedure(Sender)).
class TqsNotifyEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

class TqsClassVariable : public TqsCustomVariable {
public:
    TqsClassVariable(const rtl::TClassInfo* AClass, const std::string& Ancestor);
    ~TqsClassVariable() override;
    Variant GetValue() override;

    TqsMethodHelper* AddConstructor(const std::string& Syntax, TqsCallMethodNewEvent CallEvent);
    TqsMethodHelper* AddConstructor(const std::string& Syntax, TqsCallMethodEvent CallEvent);
    TqsMethodHelper* AddMethod(const std::string& Syntax, TqsCallMethodNewEvent CallEvent);
    TqsMethodHelper* AddMethod(const std::string& Syntax, TqsCallMethodEvent CallEvent);
    TqsPropertyHelper* AddProperty(const std::string& Name, const std::string& Typ, TqsGetValueEvent GetEvent,
                                   TqsSetValueEvent SetEvent = nullptr);
    TqsPropertyHelper* AddPropertyEx(const std::string& Name, const std::string& Typ,
                                     TqsGetValueNewEvent GetEvent, TqsSetValueNewEvent SetEvent = nullptr);
    TqsMethodHelper* AddIndexProperty(const std::string& Name, const std::string& Params, const std::string& Typ,
                                      TqsCallMethodNewEvent CallEvent, bool AReadOnly = false);
    TqsMethodHelper* AddIndexProperty(const std::string& Name, const std::string& Params, const std::string& Typ,
                                      TqsCallMethodEvent CallEvent, bool AReadOnly = false);
    TqsMethodHelper* AddDefaultProperty(const std::string& Name, const std::string& Params,
                                        const std::string& Typ, TqsCallMethodNewEvent CallEvent,
                                        bool AReadOnly = false);
    TqsMethodHelper* AddDefaultProperty(const std::string& Name, const std::string& Params,
                                        const std::string& Typ, TqsCallMethodEvent CallEvent,
                                        bool AReadOnly = false);
    void AddEvent(const std::string& Name, TqsEventClass AEvent);
    void AddComponent(rtl::TComponent* Component);
    TqsCustomHelper* Find(const std::string& Name) const;

    const std::string& Ancestor() const { return FAncestor; }
    const rtl::TClassInfo* ClassRef() const { return FClassRef; }
    TqsCustomHelper* DefProperty() const { return FDefProperty; }
    void SetDefProperty(TqsCustomHelper* h) { FDefProperty = h; }
    int MembersCount() const { return FMembers.Count(); }
    TqsCustomHelper* Members(int i) const { return static_cast<TqsCustomHelper*>(FMembers.Item(i)); }
    TqsScript* Prog() const { return FProgram; }
    void SetProg(TqsScript* p) { FProgram = p; }

private:
    TqsCustomHelper* FindOwn(const std::string& Upper) const;

    std::string FAncestor;
    const rtl::TClassInfo* FClassRef;
    TqsCustomHelper* FDefProperty = nullptr;
    TqsItemList FMembers;
    TqsScript* FProgram = nullptr;
};

// --- designators ------------------------------------------------------------------------

class TqsDesignatorItem : public TqsItemList {
public:
    bool FFlag = false;
    TqsCustomVariable* FRef = nullptr;
    std::string FSourcePos;
    const std::string& SourcePos() const { return FSourcePos; }
};

enum TqsDesignatorKind { dkOther, dkVariable, dkStringArray, dkArray };

class TqsDesignator : public TqsCustomVariable {
public:
    explicit TqsDesignator(TqsScript* AProgram);
    ~TqsDesignator() override;
    void Borrow(TqsDesignator* ADesignator);
    void Finalize();
    Variant GetValue() override;
    void SetValue(const Variant& value) override;

    TqsDesignatorItem* Step(int i) const { return static_cast<TqsDesignatorItem*>(Item(i)); }
    TqsDesignatorKind Kind() const { return FKind; }
    TqsScript* Program() const { return FProgram; }
    TqsXMLItem* LateBindingXmlSource() const { return FLateBindingXmlSource; }
    // Takes ownership.
    void SetLateBindingXmlSource(TqsXMLItem* x);

    TqsDesignatorKind FKind = dkOther;
    TqsScript* FMainProg;
    TqsScript* FProgram;
    TqsCustomVariable* FRef1 = nullptr;
    TqsDesignatorItem* FRef2 = nullptr;

protected:
    void ResolveLateBinding();
    Variant Walk(bool write, const Variant& value);
    TqsXMLItem* FLateBindingXmlSource = nullptr;
};

class TqsVariableDesignator : public TqsDesignator {
public:
    using TqsDesignator::TqsDesignator;
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

class TqsStringDesignator : public TqsDesignator {
public:
    using TqsDesignator::TqsDesignator;
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

class TqsArrayDesignator : public TqsDesignator {
public:
    using TqsDesignator::TqsDesignator;
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

// Case labels and "in" sets: expressions, a range being low, nullptr, high.
class TqsSetExpression : public TqsCustomVariable {
public:
    TqsSetExpression();
    bool Check(const Variant& Value);
    Variant GetValue() override;
};

// --- statements ----------------------------------------------------------------------------

// The base of all statements and the compound statement itself.
class TqsStatement : public TqsItemList {
public:
    TqsStatement(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos);
    virtual void Execute();
    void RunLine();
    TqsStatement* Stmt(int i) const { return static_cast<TqsStatement*>(Item(i)); }
    TqsScript* Program() const { return FProgram; }
    const std::string& SourcePos() const { return FSourcePos; }
    const std::string& UnitName() const { return FUnitName; }

protected:
    // Runs the items as a compound statement.
    void ExecuteList();
    TqsScript* FProgram;
    std::string FSourcePos;
    std::string FUnitName;
};

class TqsAssignmentStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsAssignmentStmt() override;
    void Execute() override;
    void Optimize();
    TqsDesignator* FDesignator = nullptr;
    TqsCustomExpression* FExpression = nullptr;
    TqsCustomVariable* FVar = nullptr;
    TqsCustomVariable* FExpr = nullptr;
};

// "v := v + a", "v += a", and chains "v := v + a + b" / "v := v & a & b"
// whose leftmost operand is the assigned variable.  Texts are appended to
// the variable's own text in place when nothing else holds it, so a loop
// that grows a text runs in linear time; the operands are evaluated, and
// errors raised, exactly as the expression would.
class TqsAssignPlusStmt : public TqsAssignmentStmt {
public:
    using TqsAssignmentStmt::TqsAssignmentStmt;
    void Execute() override;
    // The operands after the variable, in evaluation order, each with
    // whether it joins by "&"; empty: the single operand FExpr joins by "+".
    std::vector<std::pair<TqsCustomVariable*, bool>> FTails;
};
class TqsAssignMinusStmt : public TqsAssignmentStmt {
public:
    using TqsAssignmentStmt::TqsAssignmentStmt;
    void Execute() override;
};
class TqsAssignMulStmt : public TqsAssignmentStmt {
public:
    using TqsAssignmentStmt::TqsAssignmentStmt;
    void Execute() override;
};
class TqsAssignDivStmt : public TqsAssignmentStmt {
public:
    using TqsAssignmentStmt::TqsAssignmentStmt;
    void Execute() override;
};

class TqsCallStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsCallStmt() override;
    void Execute() override;
    TqsDesignator* FDesignator = nullptr;
    std::string FModificator;
};

class TqsIfStmt : public TqsStatement {
public:
    TqsIfStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos);
    ~TqsIfStmt() override;
    void Execute() override;
    TqsCustomExpression* FCondition = nullptr;
    TqsStatement* FElseStmt;
};

class TqsCaseSelector : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsCaseSelector() override;
    bool Check(const Variant& Value);
    void Execute() override { ExecuteList(); }
    TqsSetExpression* FSetExpression = nullptr;
};

class TqsCaseStmt : public TqsStatement {
public:
    TqsCaseStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos);
    ~TqsCaseStmt() override;
    void Execute() override;
    TqsCustomExpression* FCondition = nullptr;
    TqsStatement* FElseStmt;
};

class TqsRepeatStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsRepeatStmt() override;
    void Execute() override;
    TqsCustomExpression* FCondition = nullptr;
    bool FInverseCondition = false;
};

class TqsWhileStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsWhileStmt() override;
    void Execute() override;
    TqsCustomExpression* FCondition = nullptr;
};

class TqsForStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsForStmt() override;
    void Execute() override;
    TqsCustomExpression* FBeginValue = nullptr;
    bool FDown = false;
    TqsCustomExpression* FEndValue = nullptr;
    TqsCustomVariable* FVariable = nullptr;
};

class TqsVbForStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsVbForStmt() override;
    void Execute() override;
    TqsCustomExpression* FBeginValue = nullptr;
    TqsCustomExpression* FEndValue = nullptr;
    TqsCustomExpression* FStep = nullptr;
    TqsCustomVariable* FVariable = nullptr;
};

class TqsCppForStmt : public TqsStatement {
public:
    TqsCppForStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos);
    ~TqsCppForStmt() override;
    void Execute() override;
    TqsStatement* FFirstStmt;
    TqsCustomExpression* FExpression = nullptr;
    TqsStatement* FSecondStmt;
};

class TqsTryStmt : public TqsStatement {
public:
    TqsTryStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos);
    ~TqsTryStmt() override;
    void Execute() override;
    bool FIsExcept = false;
    TqsStatement* FExceptStmt;
};

class TqsBreakStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    void Execute() override;
};
class TqsContinueStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    void Execute() override;
};
class TqsExitStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    void Execute() override;
};

class TqsWithStmt : public TqsStatement {
public:
    using TqsStatement::TqsStatement;
    ~TqsWithStmt() override;
    void Execute() override;
    TqsDesignator* FDesignator = nullptr;
    TqsCustomVariable* FVariable = nullptr;
};

// The exception raised when script routines nest deeper than the native
// stack allows (a runaway recursion), instead of exhausting it: "Stack
// overflow".  Scripts catch it with try...except like any run-time error.
class EqsStackOverflow : public rtl::Exception {
public:
    using Exception::Exception;
};

// A bound on the statements and loop iterations a thread's scripts may
// run (for untrusted scripts and tests); -1, the default, is no bound.
// Past it the running script raises EqsStepLimit "Step limit exceeded".
class EqsStepLimit : public rtl::Exception {
public:
    using Exception::Exception;
};
void SetStepLimit(int64_t steps);
// Counts one step against the limit.
void CountStep();

} // namespace qs
