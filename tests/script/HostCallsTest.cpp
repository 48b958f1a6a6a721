// What a host program asks of a compiled script: stopping it from the
// line hook, which lines hold code, calling its routines with their var
// parameters written back, members bound when first used, and events that
// fire while their handler runs.
#include <gtest/gtest.h>

#include "ScriptTestUtil.h"
#include "TestBindings.h"
#include "platform/rtl/OleClasses.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

using namespace qstest;
using qs::Variant;

namespace {

// Terminate from the line hook stops the run at once, in the main block
// and inside a routine; the next run starts afresh.
TEST(HostCalls, TerminateFromTheLineHook)
{
    struct TCase {
        const char* Text;
        int StopAtLine;      // the hook terminates when this line is reached
        const char* Out;
    } cases[] = {
        {"begin\nOut := 'a';\nOut := Out + 'b';\nOut := Out + 'c';\nend.", 3, "a"},
        {"procedure P;\nbegin\nOut := Out + 'p';\nOut := Out + 'q';\nend;\n"
         "begin\nOut := 'a';\nP;\nOut := Out + 'z';\nend.", 4, "ap"},
        {"var i: Integer;\nbegin\nOut := '';\nfor i := 1 to 10 do\nOut := Out + 'x';\nend.", 0, "xxxxxxxxxx"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        auto s = NewScript("PascalScript");
        s->AddVariable("Out", "String", Variant(std::string()));
        std::vector<int> lines;
        s->OnRunLine = [&](qs::TqsScript*, const std::string&, const std::string& pos) {
            const int line = rtl::StrToIntDef(pos.substr(0, pos.find(':')), -1);
            lines.push_back(line);
            if (line == c.StopAtLine) s->Terminate();   // the host stops its script
        };
        s->SetText(c.Text);
        ASSERT_TRUE(s->Compile()) << s->ErrorMsg() << " at " << s->ErrorPos();
        s->Execute();
        EXPECT_EQ(Str(*s, "Out"), c.Out);
        // Every line the hook met holds code.
        for (int l : lines) EXPECT_TRUE(s->IsExecutableLine(l, "")) << "line " << l;
        lines.clear();
        s->OnRunLine = nullptr;
        s->Execute();
        EXPECT_FALSE(s->Terminated());
    }
}

TEST(HostCalls, ExecutableLines)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", Variant(std::string()));
    s->SetText("var i: Integer;\n"        // 1: a declaration
               "begin\n"                  // 2
               "  // a comment\n"          // 3
               "  Out := 'x';\n"           // 4: code
               "\n"                        // 5
               "  i := 2;\n"               // 6: code
               "end.");
    ASSERT_TRUE(s->Compile()) << s->ErrorMsg();
    struct TLine { int Line; bool Code; };
    for (TLine l : {TLine{1, false}, {3, false}, {4, true}, {5, false}, {6, true}, {99, false}})
        EXPECT_EQ(s->IsExecutableLine(l.Line, ""), l.Code) << "line " << l.Line;
    EXPECT_FALSE(s->IsExecutableLine(4, "OtherUnit"));
}

// CallFunction hands the parameters in; CallFunction1 also writes the var
// parameters back into the caller's array.
TEST(HostCalls, CallFunctionAndVarParameterWriteBack)
{
    auto s = NewScript("PascalScript");
    s->SetText("function Twice(var a: Integer; b: Integer): Integer;\n"
               "begin a := a * 2; b := b + 1; Result := a + b end;\n"
               "procedure Named(var t: String); begin t := t + '!' end;\n"
               "begin end.");
    ASSERT_TRUE(s->Compile()) << s->ErrorMsg();
    s->Execute();

    Variant plain = rtl::VarArrayOf({Variant(int32_t(5)), Variant(int32_t(1))});
    EXPECT_EQ(s->CallFunction("Twice", plain).AsInteger(), 12);
    EXPECT_EQ(plain.GetElement({0}).AsInteger(), 5);   // not written back

    Variant params = rtl::VarArrayOf({Variant(int32_t(5)), Variant(int32_t(1))});
    EXPECT_EQ(s->CallFunction1("Twice", params).AsInteger(), 12);
    EXPECT_EQ(params.GetElement({0}).AsInteger(), 10);
    EXPECT_EQ(params.GetElement({1}).AsInteger(), 2);

    Variant text = rtl::VarArrayOf({Variant(std::string("hi"))});
    s->CallFunction1("Named", text);
    EXPECT_EQ(rtl::VarToStr(text.GetElement({0})), "hi!");
    // An unknown routine answers Null and leaves the parameters alone.
    EXPECT_TRUE(s->CallFunction1("Missing", text).IsNull());
    EXPECT_EQ(rtl::VarToStr(text.GetElement({0})), "hi!");
}

// An in-process automation object: a counter with a Value property and
// an Add method, reached from scripts through late binding.
class TCounter : public rtl::IDispatchObject {
public:
    Variant GetProperty(const std::string& name, const std::vector<Variant>&) override
    {
        if (rtl::SameText(name, "Value")) return Variant(FValue);
        throw rtl::Exception("Unknown name");
    }
    void SetProperty(const std::string& name, const std::vector<Variant>&, const Variant& value) override
    {
        if (!rtl::SameText(name, "Value")) throw rtl::Exception("Unknown name");
        FValue = value.AsInteger();
    }
    Variant Call(const std::string& name, const std::vector<Variant>& args) override
    {
        if (!rtl::SameText(name, "Add") || args.size() != 1) throw rtl::Exception("Unknown name");
        FValue += args[0].AsInteger();
        return Variant(FValue);
    }

private:
    int32_t FValue = 0;
};

TEST(HostCalls, CreateOleObjectWithAnInProcessClass)
{
    rtl::RegisterOleClass("Test.Counter", [] { return std::make_shared<TCounter>(); });
    struct TCase {
        const char* Text;
        const char* Out;
        const char* Error;
    } cases[] = {
        {"var o: Variant; begin o := CreateOleObject('test.counter'); o.Value := 5; o.Add(3); "
         "Out := IntToStr(o.Value) end.", "8", ""},
        {"var o: Variant; begin o := CreateOleObject('No.Such.Class') end.", "", "Invalid class string"},
        {"var o: Variant; begin try o := CreateOleObject('No.Such.Class') except Out := ExceptionMessage end end.",
         "Invalid class string", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        auto s = NewScript("PascalScript");
        s->AddVariable("Out", "String", Variant(std::string()));
        auto r = CompileAndRun(*s, c.Text);
        ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, c.Error);
        EXPECT_EQ(Str(*s, "Out"), c.Out);
    }
    rtl::UnregisterOleClass("Test.Counter");
}

// A member that a class-typed item lacks while it holds nothing at compile
// time: with late binding it is looked up on the object the item holds when
// the line first runs (here a component it owns); without, the compiler
// refuses it.
TEST(HostCalls, LateBoundMembers)
{
    RegisterTestModule();
    struct TCase {
        const char* Text;
        bool Late;
        const char* CompileError;   // "" when it compiles
        const char* Out;
        const char* RuntimeError;
    } cases[] = {
        {"var c: TComponent; begin c := Obj; c.Child.Caption := 'x'; Out := c.Child.Caption end.", true, "", "x", ""},
        {"var c: TComponent; begin c := Obj; c.Child.Caption := 'x' end.", false, "Undeclared identifier: 'Child'", "",
         ""},
        // A routine's own program takes the setting over from the script.
        {"var c: TComponent;\nprocedure P; begin c.Child.Add(4); Out := IntToStr(c.Child.Count) end;\n"
         "begin c := Obj; P end.",
         true, "", "4", ""},
        // Bound once: the second pass through the loop reuses the first binding.
        {"var c: TComponent; i: Integer; begin c := Obj; for i := 1 to 3 do c.Child.Add(i); "
         "Out := IntToStr(c.Child.Count) end.",
         true, "", "6", ""},
        // An object the compiler can see is resolved at once, late binding or not.
        {"begin Obj.Child.Caption := 'y'; Out := Obj.Child.Caption end.", false, "", "y", ""},
        // What the object does not have is still an error, raised when the line runs
        // and caught like any other.
        {"var c: TComponent; begin c := Obj; c.Nothing.Caption := 'x' end.", true, "", "", "Undeclared identifier: 'Nothing'"},
        {"var c: TComponent; begin c := Obj; try c.Nothing.Caption := 'x' except Out := ExceptionMessage end end.", true,
         "", "Undeclared identifier: 'Nothing'", ""},
        // A failed binding is tried again, not replaced by the item before it.
        {"var c: TComponent; i: Integer; begin c := Obj; "
         "for i := 1 to 2 do try c.Nothing.Caption := 'x' except Out := Out + '!' end; "
         "if c = Obj then Out := Out + '=' end.",
         true, "", "!!=", ""},
        // A Variant is bound by what it holds when the line runs; holding
        // nothing then, it has no members.
        {"var v: Variant; begin v := Obj; v.Caption := 'z'; Out := v.Caption end.", false, "", "z", ""},
        {"var v: Variant; begin v.Foo := 1; Out := 'written' end.", false, "", "", "Undeclared identifier: 'Foo'"},
        {"var v: Variant; begin Out := v.Foo end.", false, "", "", "Undeclared identifier: 'Foo'"},
        {"var v: Variant; begin v[1] := 'J'; Out := 'written' end.", false, "", "", "Array type required"},
        {"var v: Variant; begin v := 'abc'; v[2] := 'x'; Out := v end.", false, "", "axc", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TScriptCounter obj(nullptr);
        auto* child = new TScriptCounter(&obj);
        child->SetName("Child");
        auto s = NewScript("PascalScript");
        s->SetUseClassLateBinding(c.Late);
        s->AddVariable("Out", "String", Variant(std::string()));
        s->AddObject("Obj", &obj);
        auto r = CompileAndRun(*s, c.Text);
        EXPECT_EQ(r.ErrorMsg, c.CompileError);
        EXPECT_EQ(r.RuntimeError, c.RuntimeError);
        EXPECT_EQ(Str(*s, "Out"), c.Out);
    }
}

// An event that fires while its handler runs (raised by the handler itself,
// or while the script called that routine directly) is dropped; another
// handler still runs, and a handler that failed runs again next time.
TEST(HostCalls, EventsDoNotReenterTheirHandler)
{
    RegisterTestModule();
    struct TCase {
        const char* Text;
        const char* Out;
    } cases[] = {
        {"procedure H(Sender: TObject); begin Out := Out + 'E'; Obj.Fire end;\n"
         "begin Obj.OnChange := 'H'; Obj.Fire; Obj.Fire end.",
         "EE"},
        {"procedure H(Sender: TObject); begin Out := Out + 'E'; Obj.Fire end;\n"
         "begin Obj.OnChange := 'H'; H(nil); Out := Out + '|'; Obj.Fire end.",
         "E|E"},
        // The same handler on two objects: the second object's event is dropped too.
        {"procedure H(Sender: TObject); begin Out := Out + 'E'; Other.Fire end;\n"
         "begin Obj.OnChange := 'H'; Other.OnChange := 'H'; Obj.Fire end.",
         "E"},
        // Different handlers nest.
        {"procedure A(Sender: TObject); begin Out := Out + 'A'; Other.Fire; Out := Out + 'a' end;\n"
         "procedure B(Sender: TObject); begin Out := Out + 'B'; Obj.Fire end;\n"
         "begin Obj.OnChange := 'A'; Other.OnChange := 'B'; Obj.Fire end.",
         "ABa"},
        // A recursive routine is not an event: it still recurses.
        {"procedure H(Sender: TObject); begin Out := Out + 'E'; if Length(Out) < 3 then H(nil) end;\n"
         "begin Obj.OnChange := 'H'; Obj.Fire end.",
         "EEE"},
        // A handler that raised is free to run on the next event.
        {"procedure H(Sender: TObject); begin Out := Out + 'E'; RaiseException('x') end;\n"
         "begin Obj.OnChange := 'H'; try Obj.Fire except Out := Out + '!' end; "
         "try Obj.Fire except Out := Out + '!' end end.",
         "E!E!"},
        // A handler without parameters takes none of the event's arguments;
        // a function serves too, its result unused.
        {"procedure H; begin Out := Out + 'E' end;\nbegin Obj.OnChange := 'H'; Obj.Fire end.", "E"},
        {"function H(Sender: TObject): Integer; begin Out := Out + 'F'; Obj.Fire; Result := 5 end;\n"
         "begin Obj.OnChange := 'H'; Obj.Fire end.",
         "F"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TScriptCounter obj(nullptr), other(nullptr);
        auto s = NewScript("PascalScript");
        s->AddVariable("Out", "String", Variant(std::string()));
        s->AddObject("Obj", &obj);
        s->AddObject("Other", &other);
        auto r = CompileAndRun(*s, c.Text);
        ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, "");
        EXPECT_EQ(Str(*s, "Out"), c.Out);
    }
}

} // namespace
