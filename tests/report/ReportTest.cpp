// The report object: expression evaluation through the script interpreter
// (name lookup, the cache, errors), the script bindings of report classes,
// PrepareReport around a stub engine and template files.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrVariables.h"
#include "report/qlrWideStrings.h"
#include "script/qs_iinterpreter.h"

using namespace qlr;

namespace {

// An engine whose band run is a callback.
class StubEngine : public TqlrCustomEngine {
public:
    using TqlrCustomEngine::TqlrCustomEngine;
    std::function<bool()> OnRun;
    int Runs = 0;
    void EndPage() override {}
    void NewColumn() override {}
    void NewPage() override {}
    long double FreeSpace() override { return 0; }
    rtl::Variant GetAggregateValue(const std::string&, const std::string&, rtl::TObject*, int) override
    {
        return rtl::Variant(42);
    }
    bool Run() override
    {
        ++Runs;
        return OnRun ? OnRun() : true;
    }
};

class StubPages : public TqlrCustomPreviewPages {
public:
    using TqlrCustomPreviewPages::TqlrCustomPreviewPages;
    int Pages = 0;
    int GetCount() override { return Pages; }
    void Clear() override { Pages = 0; }
};

struct Fixture {
    TqlrReport report{nullptr};
    StubEngine* engine;
    StubPages* pages;
    TqlrReportPage* page;
    TqlrMemoView* memo;

    Fixture()
    {
        auto e = std::make_unique<StubEngine>(&report);
        engine = e.get();
        report.SetEngine(std::move(e));
        auto p = std::make_unique<StubPages>(&report);
        pages = p.get();
        report.SetPreviewPages(std::move(p));
        report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        page = new TqlrReportPage(&report);
        page->SetName("Page1");
        memo = new TqlrMemoView(page);
        memo->SetName("Memo1");
        memo->SetText("hello");
        report.PrepareScript();
    }
    rtl::Variant Calc(const std::string& e) { return report.Calc(e); }
};

} // namespace

TEST(ReportCalc, PlainNamesAndVariables)
{
    Fixture f;
    f.report.Variables()->SetVariable("Title", rtl::Variant("'Title';"));
    f.report.Variables()->SetVariable("Two", rtl::Variant("1 + 1"));
    f.report.Variables()->SetVariable("Lines", rtl::Variant("a\r\nb"));
    f.report.Variables()->SetVariable("Num", rtl::Variant(7));
    GlobalVariables().SetVariable("GlobalOnly", rtl::Variant(5));
    EXPECT_EQ(rtl::VarToStr(f.Calc("Title")), "Title");
    EXPECT_EQ(f.Calc("Two").AsInteger(), 2);
    EXPECT_EQ(rtl::VarToStr(f.Calc("Lines")), "a\r\nb");
    EXPECT_EQ(f.Calc("Num").AsInteger(), 7);
    EXPECT_EQ(f.Calc("GlobalOnly").AsInteger(), 5);
    GlobalVariables().DeleteVariable("GlobalOnly");
    // System variables come before host callbacks; the host answers other names.
    f.report.OnGetValue = [](const std::string& n, rtl::Variant& v) {
        if (n == "Page" || n == "Host") v = rtl::Variant(99);
    };
    EXPECT_EQ(f.Calc("Page#").AsInteger(), 1);
    EXPECT_EQ(f.Calc("Page").AsInteger(), 1);
    EXPECT_EQ(f.Calc("Host").AsInteger(), 99);
    // A host answer beats a report variable of the same name.
    f.report.Variables()->SetVariable("Host", rtl::Variant(1));
    EXPECT_EQ(f.Calc("Host").AsInteger(), 99);
}

TEST(ReportCalc, ScriptReachesReportObjects)
{
    Fixture f;
    EXPECT_EQ(f.Calc("1 + 2").AsInteger(), 3);
    EXPECT_EQ(rtl::VarToStr(f.Calc("Memo1.Text")), "hello");
    EXPECT_EQ(f.Calc("Page1.Orientation").AsInteger(), 0);
    EXPECT_EQ(rtl::VarToStr(f.Calc("Report.FindObject('Memo1').Name")), "Memo1");
    EXPECT_EQ(f.Calc("fr1CharY").AsDouble(), 17.0);
    EXPECT_EQ(f.Calc("clTransparent").AsInteger(), 536870911);
    EXPECT_EQ(f.Calc("DayOf(EncodeDate(2010, 12, 31))").AsInteger(), 31);
    EXPECT_EQ(f.Calc("MonthOf(EncodeDate(2010, 12, 31))").AsInteger(), 12);
    EXPECT_EQ(f.Calc("YearOf(EncodeDate(2010, 12, 31))").AsInteger(), 2010);
    EXPECT_EQ(f.Calc("SUM(1)").AsInteger(), 42);   // the engine answers aggregates
}

// A memo's Lines are a wide-string list over its text: what a script does
// to them is what the memo prints, and a new text shows in them.
TEST(ReportCalc, MemoLinesReachTheMemoText)
{
    Fixture f;
    struct Case {
        const char* expression;
        const char* value;
        const char* text;   // the memo's text afterwards
    };
    const Case cases[] = {
        {"Memo1.Lines.Count", "1", "hello"},
        {"Memo1.Lines.Add('world')", "1", "hello\r\nworld"},
        {"Memo1.Lines[1]", "world", "hello\r\nworld"},
        {"Memo1.Lines.Strings[0]", "hello", "hello\r\nworld"},
        {"Memo1.Lines.IndexOf('world')", "1", "hello\r\nworld"},
        {"Memo1.Lines.IndexOf('none')", "-1", "hello\r\nworld"},
        {"Memo1.Lines.Text", "hello\r\nworld\r\n", "hello\r\nworld"},
        {"Memo1.Lines.AddObject('self', Memo1)", "2", "hello\r\nworld\r\nself"},
        {"Memo1.Lines.Objects[2] = Memo1", "True", "hello\r\nworld\r\nself"},
        {"Memo1.Lines.Objects[0] = nil", "True", "hello\r\nworld\r\nself"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rtl::VarToStr(f.Calc(c.expression)), c.value) << c.expression;
        EXPECT_EQ(f.memo->Text(), c.text) << c.expression;
    }
    EXPECT_EQ(f.report.Errors()->Count(), 0) << f.report.Errors()->Text();
    // A text set from outside shows in the list at once.
    f.memo->SetText("a\r\nb\r\nc");
    EXPECT_EQ(rtl::VarToStr(f.Calc("Memo1.Lines.Count")), "3");
    EXPECT_EQ(rtl::VarToStr(f.Calc("Memo1.Lines[2]")), "c");

    // Statements: a new list made by the script, given to the memo, then
    // changed through the memo; Insert on a line replaces it.
    rtl::TStringList program;
    program.SetText("var l: TWideStrings;\n"
                    "begin\n"
                    "  l := TWideStrings.Create;\n"
                    "  l.Add('one');\n"
                    "  l.Add('two');\n"
                    "  l.Text := l.Text + 'three';\n"
                    "  Memo1.Lines := l;\n"
                    "  l.Free;\n"
                    "  Memo1.Lines.Insert(0, 'ONE');\n"
                    "  Memo1.Lines.Delete(1);\n"
                    "  Memo1.Lines[1] := 'THREE';\n"
                    "  Memo1.Lines.Objects[0] := Memo1;\n"
                    "end.\n");
    qs::TqsScript s(nullptr);
    s.SetParent(f.report.Script());
    s.Lines().Assign(&program);
    ASSERT_TRUE(s.Compile()) << s.ErrorMsg();
    s.Execute();
    EXPECT_EQ(s.ErrorMsg(), "");
    EXPECT_EQ(f.memo->Text(), "ONE\r\nTHREE");
    auto* lines = f.memo->LinesObject();
    EXPECT_EQ(lines->Objects(0), f.memo);
    lines->Clear();
    EXPECT_EQ(f.memo->Text(), "");
    EXPECT_EQ(lines->Count(), 0);
}

// The system-text object streams by its class name, describes itself as
// system text and is a text object to scripts.
TEST(ReportCalc, SystemTextObjectLoadsSavesAndScripts)
{
    const std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TqlrReport><TqlrReportPage Name=\"Page1\">"
                            "<TqlrSysMemoView Name=\"Sys1\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"20\" "
                            "HAlign=\"haRight\" Text=\"[Page#]\"/></TqlrReportPage></TqlrReport>";
    TqlrReport report(nullptr);
    report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    rtl::TMemoryStream in;
    in.WriteString(doc);
    in.SetPosition(0);
    report.LoadFromStream(in);
    auto* sys = dynamic_cast<TqlrSysMemoView*>(report.FindObject("Sys1"));
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(sys->Text(), "[Page#]");
    EXPECT_EQ(sys->HAlign(), TqlrHAlign::haRight);
    EXPECT_EQ(sys->GetDescription(), GetResources().Get("obSysText"));
    EXPECT_NE(sys->GetDescription(), TqlrMemoView(nullptr).GetDescription());
    rtl::TMemoryStream out;
    report.SaveToStream(out);
    out.SetPosition(0);
    EXPECT_NE(out.ReadAll().find("<TqlrSysMemoView Name=\"Sys1\""), std::string::npos);

    report.PrepareScript();
    EXPECT_EQ(rtl::VarToStr(report.Calc("Sys1.Lines[0]")), "[Page#]");
    EXPECT_EQ(rtl::VarToStr(report.Calc("Sys1.CalcWidth > 0")), "True");
    EXPECT_EQ(report.Errors()->Count(), 0) << report.Errors()->Text();
}

TEST(ReportCalc, SetNamesCarryTheirBits)
{
    Fixture f;
    EXPECT_EQ(f.Calc("pbTree").AsInteger(), 64);
    EXPECT_EQ(f.Calc("pbRefresh").AsInteger(), 256);
    EXPECT_EQ(f.Calc("ftBottom").AsInteger(), 8);
    EXPECT_EQ(f.Calc("smMaxHeight").AsInteger(), 2);
}

TEST(ReportCalc, GetIifAndUnknownNames)
{
    Fixture f;
    f.report.Variables()->SetVariable("V", rtl::Variant(3));
    EXPECT_EQ(f.Calc("Get('V') * 2").AsInteger(), 6);
    EXPECT_TRUE(f.Calc("Get('Nowhere')").IsNull());
    EXPECT_GE(f.report.Errors()->IndexOf("Unknown variable or datafield: Nowhere"), 0);
    // Only the chosen branch runs: the other would divide by zero.
    EXPECT_EQ(f.Calc("IIF(1 > 0, 10, 1 / 0)").AsInteger(), 10);
    EXPECT_EQ(f.Calc("IIF(1 < 0, 1 / 0, 20)").AsInteger(), 20);
}

TEST(ReportCalc, ErrorsArePrefixedSortedAndListedOnce)
{
    Fixture f;
    f.report.CurObject = f.memo;
    for (int i = 0; i < 100; ++i) EXPECT_THROW(f.Calc("1 / 0"), rtl::Exception);
    ASSERT_EQ(f.report.Errors()->Count(), 1);
    EXPECT_EQ(f.report.Errors()->Strings(0), "Memo1: Floating point division by zero");
    f.report.EngineOptions()->IgnoreDevByZero = true;
    EXPECT_TRUE(f.Calc("1 / 0").IsEmpty());
    EXPECT_THROW(f.Calc("1 +* 2"), rtl::Exception);
    ASSERT_EQ(f.report.Errors()->Count(), 2);
    // Sorted: "Memo1: Error ..." comes before "Memo1: Floating ...".
    EXPECT_EQ(f.report.Errors()->Strings(0).rfind("Memo1: Error in expression '1 +* 2': ", 0), 0u);
    // From a script the message carries its own prefix and is not listed.
    f.report.EngineOptions()->IgnoreDevByZero = false;
    try {
        f.report.Calc("1 / 0", nullptr, true);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Error in Calc expression: Floating point division by zero");
    }
}

TEST(ExpressionCache, CompilesOnceAndNeverKeepsErrors)
{
    qs::TqsScript main;
    main.AddRTTI();
    TqlrExpressionCache cache(&main);
    std::string err;
    EXPECT_EQ(cache.Calc("2 * 3", err, &main).AsInteger(), 6) << err;
    EXPECT_EQ(cache.Calc("2 * 3", err, &main).AsInteger(), 6);
    EXPECT_EQ(cache.CompileCount(), 1);
    cache.Calc("1 / 0", err, &main);
    EXPECT_EQ(err, "Floating point division by zero");
    cache.Calc("1 / 0", err, &main);
    EXPECT_EQ(err, "Floating point division by zero");
    EXPECT_EQ(cache.CompileCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(cache.Calc("2 +* 3", err, &main).IsNull());
        EXPECT_EQ(err.rfind("Error in expression '2 +* 3': ", 0), 0u);
    }
    EXPECT_EQ(cache.CompileCount(), 4);
    EXPECT_EQ(cache.Count(), 2);
    // Letter case alone does not make a new entry unless asked.
    main.AddVariable("abc", "Integer", rtl::Variant(5));
    EXPECT_EQ(cache.Calc("abc + 1", err, &main).AsInteger(), 6);
    EXPECT_EQ(cache.Calc("ABC + 1", err, &main).AsInteger(), 6);
    EXPECT_EQ(cache.CompileCount(), 5);
    cache.SetCaseSensitive(true);
    cache.Calc("ABC + 1", err, &main);
    EXPECT_EQ(cache.CompileCount(), 6);
}

TEST(ExpressionCache, WrappersRunInEveryLanguage)
{
    struct Case {
        const char* language;
        const char* expr;
        int expected;
    } cases[] = {{"PascalScript", "(2 + 3) * 4", 20},
                 {"C++Script", "(2 + 3) * 4", 20},
                 {"BasicScript", "(2 + 3) * 4", 20},
                 {"JScript", "(2 + 3) * 4", 20}};
    for (const Case& c : cases) {
        qs::TqsScript main;
        main.AddRTTI();
        TqlrExpressionCache cache(&main);
        cache.SetScriptLanguage(c.language);
        std::string err;
        EXPECT_EQ(cache.Calc(c.expr, err, &main).AsInteger(), c.expected) << c.language << ": " << err;
        EXPECT_EQ(cache.Calc(std::string(c.expr) + " + 1", err, &main).AsInteger(), c.expected + 1)
            << c.language << ": " << err;
        EXPECT_EQ(err, "") << c.language;
    }
}

TEST(ReportPrepare, TemplateRestoredAfterTheRun)
{
    Fixture f;
    f.engine->OnRun = [&] {
        f.memo->SetText("changed");
        f.pages->Pages = 2;
        return true;
    };
    bool begun = false, ended = false;
    f.report.OnBeginDoc = [&](TqlrReport*) { begun = true; };
    f.report.OnEndDoc = [&](TqlrReport*) { ended = true; };
    f.report.ReportOptions()->Password = "pw";
    f.report.PrintOptions()->SplicingLine = 7;
    EXPECT_TRUE(f.report.PrepareReport(true));
    EXPECT_TRUE(begun && ended);
    EXPECT_EQ(f.pages->Pages, 2);
    auto* memo = dynamic_cast<TqlrMemoView*>(f.report.FindObject("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Text(), "hello");
    EXPECT_EQ(f.report.ReportOptions()->Password, "pw");
    EXPECT_EQ(f.report.PrintOptions()->SplicingLine, 7);
}

TEST(ReportPrepare, FailuresAndCancel)
{
    {
        Fixture f;  // a data set that no longer exists stops before the engine
        f.report.DataSets()->Add(nullptr)->SetDataSetName("Gone");
        EXPECT_FALSE(f.report.PrepareReport());
        EXPECT_EQ(f.engine->Runs, 0);
        EXPECT_EQ(f.report.Errors()->Strings(0), "Dataset \"Gone\" does not exist");
    }
    {
        Fixture f;  // a cancelled run is not complete and shows no error
        f.engine->OnRun = [&] {
            f.report.SetTerminated(true);
            return true;
        };
        f.report.EngineOptions()->NewSilentMode = TqlrSilentMode::simReThrow;
        EXPECT_FALSE(f.report.PrepareReport());
        EXPECT_EQ(f.report.Errors()->Count(), 0);
    }
    {
        Fixture f;  // an error in the run: silent drops it, re-throw raises it
        // The run's objects are rebuilt after each run: find them by name.
        f.engine->OnRun = [&] {
            f.report.CurObject = f.report.FindObject("Memo1");
            f.report.Calc("1 / 0");
            return true;
        };
        EXPECT_FALSE(f.report.PrepareReport());
        EXPECT_GE(f.report.Errors()->IndexOf("Memo1: Floating point division by zero"), 0);
        EXPECT_EQ(f.report.CurObject, nullptr);  // never left pointing at a freed object
        f.report.EngineOptions()->NewSilentMode = TqlrSilentMode::simReThrow;
        try {
            f.report.PrepareReport();
            FAIL();
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(),
                      "The following error(s) have occured:\r\nMemo1: Floating point division by zero\n");
        }
    }
}

TEST(ReportTemplate, FilesAndContents)
{
    const std::string file = rtl::TempDir() + "/ql_report_test_" + std::to_string(::getpid()) + ".qlr";
    {
        Fixture f;
        f.report.ReportOptions()->Name = "Locations";
        f.report.ReportOptions()->Password = "ab";
        f.report.ReportOptions()->PrevPassword.clear();
        f.report.SaveToFile(file);
        EXPECT_EQ(f.report.ReportOptions()->PrevPassword, "ab");  // the saver knows it
        TqlrReport again(nullptr);
        again.ReportOptions()->PrevPassword = "ab";
        EXPECT_TRUE(again.LoadFromFile(file));
        EXPECT_EQ(again.FileName(), file);
        EXPECT_EQ(again.ReportOptions()->Name, "Locations");
        EXPECT_EQ(again.ReportOptions()->Password, "ab");
        EXPECT_NE(again.FindObject("Memo1"), nullptr);
        EXPECT_NE(again.FindObject("Data"), nullptr);  // a data page is ensured
        std::string text;
        {
            rtl::TFileStream s(file, rtl::fmOpenRead);
            text = s.ReadAll();
        }
        EXPECT_NE(text.find("ReportOptions.Password=\"WX\""), std::string::npos);
    }
    rtl::DeleteFile(file);
    TqlrReport missing(nullptr);
    new TqlrReportPage(&missing);
    EXPECT_FALSE(missing.LoadFromFile(file, false));
    EXPECT_EQ(missing.GetPagesCount(), 0);
    EXPECT_THROW(missing.LoadFromFile(file, true), rtl::Exception);
}

TEST(ReportDataSets, ListLookupAndTemplate)
{
    Fixture f;
    auto* places = new TqlrUserDataSet(f.report.FindObject("Data") ? f.report.FindObject("Data") : &f.report);
    places->SetName("PlacesDS");
    places->SetUserName("Places");
    places->OnGetValue = [](const std::string& field, rtl::Variant& v) {
        if (field == "City") v = rtl::Variant("Lima");
        if (field == "Height") v = rtl::Variant::Null();
    };
    f.report.DataSets()->Add(places);
    EXPECT_EQ(f.report.GetAlias(places), "Places");
    EXPECT_EQ(f.report.GetAlias(nullptr), "");
    EXPECT_EQ(f.report.GetDataset("places"), places);
    TqlrDataSet* ds = nullptr;
    std::string field;
    f.report.GetDatasetAndField("Places.\"City\"", ds, field);
    EXPECT_EQ(ds, places);
    EXPECT_EQ(field, "City");
    f.report.GetDatasetAndField("Places.City", ds, field);
    EXPECT_EQ(ds, nullptr);
    EXPECT_EQ(field, "");
    f.report.PrepareScript();
    EXPECT_EQ(rtl::VarToStr(f.Calc("Places.\"City\"")), "Lima");
    EXPECT_EQ(f.Calc("Places.\"Height\"").AsInteger(), 0);  // ConvertNulls: numeric default
    f.report.EngineOptions()->ConvertNulls = false;
    EXPECT_TRUE(f.Calc("Places.\"Height\"").IsNull());

    // The list travels with the template by the data set's name.
    rtl::TMemoryStream ms;
    f.report.SaveToStream(ms);
    TqlrReport again(nullptr);
    again.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
    ms.SetPosition(0);
    again.LoadFromStream(ms);
    ASSERT_EQ(again.DataSets()->Count(), 1);
    EXPECT_EQ(again.DataSets()->Item(0)->DataSetName(), "Places");
    EXPECT_NE(again.DataSets()->Item(0)->DataSet(), nullptr);
}
