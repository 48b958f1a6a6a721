// The settings-file and base-class binding modules: their registrations and
// scripts that use lists, streams and settings files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "ScriptTestUtil.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "script/qs_iclassesrtti.h"

using namespace qstest;
using qs::Variant;

namespace {

std::unique_ptr<qs::TqsScript> ModuleScript(const std::string& lang = "PascalScript")
{
    qs::qsRegisterFileModules();
    return NewScript(lang);
}

std::string TempName(const std::string& stem)
{
    return (std::filesystem::temp_directory_path() /
            (stem + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tmp"))
        .string();
}

TEST(FileModules, RegistrationTable)
{
    auto s = ModuleScript();
    struct TConst { const char* Name; int Value; };
    for (TConst c : {TConst{"fmCreate", 65280}, {"fmOpenRead", 0}, {"fmOpenReadWrite", 2}, {"fmShareDenyNone", 64},
                     {"soFromEnd", 2}, {"dupError", 2}, {"poLandscape", 1}}) {
        qs::TqsCustomVariable* v = s->Find(c.Name);
        ASSERT_NE(v, nullptr) << c.Name;
        EXPECT_EQ(v->GetValue().AsInteger(), c.Value) << c.Name;
    }
    for (const char* cls : {"TObject", "TPersistent", "TCollection", "TList", "TStrings", "TStringList", "TStream",
                            "TFileStream", "TMemoryStream", "TComponent", "TCustomIniFile", "TMemIniFile", "TIniFile"})
        EXPECT_NE(s->FindClass(cls), nullptr) << cls;
    // TIniFile has no Clear of its own; TMemIniFile has.
    EXPECT_EQ(s->FindClass("TIniFile")->Find("Clear"), nullptr);
    EXPECT_NE(s->FindClass("TMemIniFile")->Find("Clear"), nullptr);
    // A constant registered again keeps its first value.
    s->AddConst("fmCreate", "Integer", Variant(1));
    EXPECT_EQ(s->Find("fmCreate")->GetValue().AsInteger(), 65280);
}

TEST(FileModules, UnknownMemberNameReturnsZero)
{
    auto s = ModuleScript();
    qs::TqsClassVariable* list = s->FindClass("TStringList");
    ASSERT_NE(list, nullptr);
    auto* sort = dynamic_cast<qs::TqsMethodHelper*>(list->Find("Sort"));
    ASSERT_NE(sort, nullptr);
    rtl::TStringList l;
    EXPECT_EQ(sort->OnCallNew(&l, list->ClassRef(), "NOSUCHMEMBER", sort), Variant(0));
    // A known name reached with a class the module did not register does nothing.
    EXPECT_EQ(sort->OnCallNew(&l, &rtl::TComponent::StaticClassInfo(), "SORT", sort), Variant(0));
}

TEST(FileModules, StringListFindHandsTheIndexBack)
{
    auto s = ModuleScript();
    s->AddVariable("Out", "String", Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "var L: TStringList; i: Integer; b: Boolean;\n"
                           "begin\n"
                           "  L := TStringList.Create;\n"
                           "  L.Add('pear'); L.Add('apple'); L.Add('fig');\n"
                           "  L.Sort;\n"
                           "  b := L.Find('fig', i);\n"
                           "  Out := L.CommaText + ';' + IntToStr(i) + ';' + BoolToStr(b) + ';' + L[2] + ';' + IntToStr(L.Count);\n"
                           "  b := L.Find('banana', i);\n"
                           "  Out := Out + ';' + IntToStr(i) + BoolToStr(b) + ';' + L.ClassName;\n"
                           "  L.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "apple,fig,pear;1;-1;pear;3;10;TStringList");
}

TEST(FileModules, StringListInTheOtherLanguages)
{
    struct TCase { const char* Lang; const char* Text; };
    for (TCase c : {TCase{"JScript", "var L = TStringList.Create; L.Add(\"b\"); L.Add(\"a\"); L.Sort; Out = L.Text; L.Free;"},
                    TCase{"BasicScript", "Dim L\nL = TStringList.Create\nL.Add(\"b\")\nL.Add(\"a\")\nL.Sort\nOut = L.Text\nL.Free\n"},
                    TCase{"C++Script", "TStringList L;\n{ L = TStringList.Create; L.Add(\"b\"); L.Add(\"a\"); L.Sort; Out = L.Text; L.Free; }"}}) {
        auto s = ModuleScript(c.Lang);
        s->AddVariable("Out", "String", Variant(std::string()));
        auto r = CompileAndRun(*s, c.Text);
        ASSERT_TRUE(r.Compiled) << c.Lang << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, "") << c.Lang;
        EXPECT_EQ(Str(*s, "Out"), "a\nb\n") << c.Lang;
    }
}

TEST(FileModules, StreamsRoundTripBytes)
{
    std::string file = TempName("qs-stream");
    auto s = ModuleScript();
    s->AddVariable("FileName", "String", Variant(file));
    s->AddVariable("Out", "String", Variant(std::string()));
    // Bytes 0-255 travel as the characters 0-255; a Count beyond the text
    // writes only the text's characters.
    auto r = CompileAndRun(*s,
                           "var M: TMemoryStream; F: TFileStream; t, u: String; n, w: Integer;\n"
                           "begin\n"
                           "  t := 'ab' + Chr(0) + Chr(200) + Chr(255);\n"
                           "  M := TMemoryStream.Create;\n"
                           "  w := M.Write(t, 100);\n"
                           "  M.Seek(1, soFromBeginning);\n"
                           "  n := M.Read(u, 3);\n"
                           "  Out := IntToStr(w) + ';' + IntToStr(M.Size) + ';' + IntToStr(n) + ';' + IntToStr(Ord(u[2])) + ',' + IntToStr(Ord(u[3])) + ';' + IntToStr(M.Position);\n"
                           "  F := TFileStream.Create(FileName, fmCreate);\n"
                           "  M.Position := 0;\n"
                           "  F.CopyFrom(M, 0);\n"
                           "  F.Free;\n"
                           "  F := TFileStream.Create(FileName, fmOpenRead);\n"
                           "  n := F.Read(u, 10);\n"
                           "  F.Free;\n"
                           "  M.Free;\n"
                           "  if u = t then Out := Out + ';same' else Out := Out + ';differs';\n"
                           "  Out := Out + ';' + IntToStr(n);\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "5;5;3;0,200;4;same;5");
    std::string bytes = rtl::ReadFileBytes(file);
    EXPECT_EQ(bytes, std::string("ab\0\xC8\xFF", 5));
    std::remove(file.c_str());
}

TEST(FileModules, StreamErrorsReachTheScript)
{
    auto s = ModuleScript();
    auto r = CompileAndRun(*s, "var F: TFileStream;\nbegin\n  F := TFileStream.Create('/nonexistent/dir/x', fmOpenRead);\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    EXPECT_NE(r.RuntimeError.find("Cannot open file"), std::string::npos) << r.RuntimeError;
}

TEST(FileModules, IniStringsAndSections)
{
    std::string file = TempName("qs-ini");
    std::remove(file.c_str());
    auto s = ModuleScript();
    s->AddVariable("FileName", "String", Variant(file));
    s->AddVariable("Out", "String", Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "var Ini: TIniFile; L, V: TStringList;\n"
                           "begin\n"
                           "  Ini := TIniFile.Create(FileName);\n"
                           "  L := TStringList.Create; V := TStringList.Create;\n"
                           "  L.Add('one'); L.Add('two');\n"
                           "  Ini.WriteTStrings('Lines', L);\n"
                           "  L.Clear; L.Add('kept');\n"
                           "  Ini.ReadTStrings('Lines', L, False);\n"
                           "  Ini.WriteInteger('Main', 'Count', 7);\n"
                           "  Ini.WriteString('Main', 'Name', 'Sun');\n"
                           "  Ini.ReadSectionValuesEx('Main', V);\n"
                           "  Out := L.CommaText + ';' + V.CommaText + ';' + IntToStr(Ini.ReadInteger('Main', 'Count', 0)) + ';' + Ini.FileName;\n"
                           "  Ini.Free; L.Free; V.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "kept,one,two;7,Sun;7;" + file);
    // TIniFile writes through: the keys are in the file.
    rtl::TMemIniFile check(file);
    EXPECT_EQ(check.ReadString("Lines", "Items0", ""), "one");
    EXPECT_EQ(check.ReadString("Lines", "Items1", ""), "two");
    EXPECT_EQ(check.ReadString("Lines", "Count", ""), "2");
    std::remove(file.c_str());
}

TEST(FileModules, IniMembersDispatchWithTheRegisteringClass)
{
    auto s = ModuleScript();
    qs::TqsClassVariable* ini = s->FindClass("TIniFile");
    ASSERT_NE(ini, nullptr);
    auto* read = dynamic_cast<qs::TqsMethodHelper*>(ini->Find("ReadInteger"));
    auto* create = dynamic_cast<qs::TqsMethodHelper*>(ini->Find("Create"));
    ASSERT_NE(read, nullptr);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(read->ClassRef()->Name(), "TCustomIniFile");
    EXPECT_EQ(create->ClassRef()->Name(), "TCustomIniFile");
    // Yet the class the script named builds the instance.
    s->AddVariable("Out", "String", Variant(std::string()));
    auto r = CompileAndRun(*s, "var Ini: TIniFile;\nbegin\n  Ini := TIniFile.Create('/tmp/none.ini');\n  Out := Ini.ClassName;\n  Ini.Free;\nend.");
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "TIniFile");
}

TEST(FileModules, SaveAndLoadIniContentThroughStreams)
{
    std::string file = TempName("qs-ini2");
    rtl::TStringList seed{"[A]", "x=1"};
    seed.SaveToFile(file);
    auto s = ModuleScript();
    s->AddVariable("FileName", "String", Variant(file));
    s->AddVariable("Out", "String", Variant(std::string()));
    // A TIniFile's content is its file (read as it is now); a TMemIniFile's
    // content is its memory.
    auto r = CompileAndRun(*s,
                           "var Ini: TIniFile; Mem: TMemIniFile; M: TMemoryStream; L: TStringList;\n"
                           "begin\n"
                           "  Ini := TIniFile.Create(FileName);\n"
                           "  Mem := TMemIniFile.Create('');\n"
                           "  M := TMemoryStream.Create; L := TStringList.Create;\n"
                           "  Ini.SaveIniFileToStream(M);\n"
                           "  M.Position := 0;\n"
                           "  Mem.LoadIniFileFromStream(M);\n"
                           "  Mem.WriteString('B', 'y', '2');\n"
                           "  M.Clear;\n"
                           "  Mem.SaveIniFileToStream(M);\n"
                           "  M.Position := 0;\n"
                           "  Ini.LoadIniFileFromStream(M);\n"
                           "  Out := Ini.ReadString('B', 'y', '?') + Mem.ReadString('A', 'x', '?');\n"
                           "  Ini.Free; Mem.Free; M.Free; L.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "21");
    rtl::TMemIniFile check(file);
    EXPECT_EQ(check.ReadString("B", "y", ""), "2");
    std::remove(file.c_str());
}

TEST(FileModules, IniBinaryValuesAreHexText)
{
    rtl::TMemIniFile ini("");
    rtl::TStringStream in(std::string("\x00\x7F\xFF", 3));
    ini.WriteBinaryStream("S", "B", in);
    EXPECT_EQ(ini.ReadString("S", "B", ""), "007FFF");
    rtl::TStringStream out;
    EXPECT_EQ(ini.ReadBinaryStream("S", "B", out), 3);
    EXPECT_EQ(out.DataString(), std::string("\x00\x7F\xFF", 3));
    for (const char* bad : {"ABC", "0G", "zz"}) {
        ini.WriteString("S", "Bad", bad);
        rtl::TStringStream none;
        EXPECT_EQ(ini.ReadBinaryStream("S", "Bad", none), 0) << bad;
        EXPECT_EQ(none.DataString(), "") << bad;
    }
}

} // namespace

namespace {

TEST(FileModules, XmlDocumentBuiltSavedAndLoaded)
{
    auto s = ModuleScript();
    s->AddVariable("Out", "String", Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "var D, E: TqsXMLDocument; M: TMemoryStream; I, Own: TqsXMLItem;\n"
                           "begin\n"
                           "  D := TqsXMLDocument.Create;\n"
                           "  D.Root.Name := 'report';\n"
                           "  I := D.Root.Add;\n"
                           "  I.Name := 'page'; I.Prop['n'] := 'a<b'; I.Data := 42;\n"
                           "  Own := TqsXMLItem.Create;\n"
                           "  Own.Name := 'band';\n"
                           "  Own.Add.Name := 'memo';\n"
                           "  I.AddItem(Own);\n"
                           "  M := TMemoryStream.Create;\n"
                           "  D.SaveToStream(M);\n"
                           "  M.Position := 0;\n"
                           "  E := TqsXMLDocument.Create;\n"
                           "  E.LoadFromStream(M);\n"
                           "  I := E.Root.FindItem('page');\n"
                           "  Out := E.Root.Name + ';' + IntToStr(E.Root.Count) + ';' + I.Prop['n'] + ';' + I[0].Name + ';' +\n"
                           "         I[0][0].Name + ';' + I[0][0].Parent.Parent.Name + ';' + IntToStr(I.Find('band')) + ';' +\n"
                           "         IntToStr(D.Root[0].Data) + ';' + Own.Root.Name;\n"
                           "  D.Free; E.Free; M.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "report;1;a<b;band;memo;page;0;42;report");
}

TEST(FileModules, XmlItemsNeverOutliveTheirTree)
{
    struct TCase { const char* Name; const char* Body; const char* Error; };
    for (TCase c : {TCase{"cycle", "I := T.Add; I.AddItem(T);", "An XML item cannot be put below itself"},
                    TCase{"document root", "I := TqsXMLItem.Create; I.AddItem(D.Root);", "The root of a document cannot be moved"},
                    // A view of a cleared subtree is gone; using it does nothing.
                    TCase{"cleared", "I := T.Add; I.Add; T.Clear; I.Name := 'x'; Out := IntToStr(T.Count);", ""},
                    // A view of a freed tree is gone with it.
                    TCase{"freed", "I := T.Add; T.Free; T := nil; I.Name := 'x'; Out := 'done';", ""}}) {
        auto s = ModuleScript();
        s->AddVariable("Out", "String", Variant(std::string()));
        auto r = CompileAndRun(*s, std::string("var T, I: TqsXMLItem; D: TqsXMLDocument;\nbegin\n"
                                               "  T := TqsXMLItem.Create; D := TqsXMLDocument.Create;\n  ") +
                                       c.Body + "\nend.");
        ASSERT_TRUE(r.Compiled) << c.Name << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_NE(r.RuntimeError.find(c.Error), std::string::npos) << c.Name << ": " << r.RuntimeError;
        if (!*c.Error) { EXPECT_EQ(r.RuntimeError, "") << c.Name; }
    }
}

} // namespace
