// The dialog, graphics and forms binding modules and the event adapters,
// run headless: dialogs answer through the scripted dialog service, forms
// are driven through queued input.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "ScriptTestUtil.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/GuiClassInfo.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"
#include "script/gui/qs_iguimodules.h"
#include "script/qs_isysrtti.h"

using namespace qstest;
using qs::Variant;

namespace {

std::unique_ptr<qs::TqsScript> ModuleScript(const std::string& lang = "PascalScript")
{
    qs::qsRegisterBindingModules();
    auto s = NewScript(lang);
    s->AddVariable("Out", "String", Variant(std::string()));
    return s;
}

// Installs a scripted dialog service for one test.
struct TScriptedDialogs {
    gui::TScriptedDialogService* Service;
    std::unique_ptr<gui::IDialogService> Previous;
    TScriptedDialogs()
    {
        auto s = std::make_unique<gui::TScriptedDialogService>();
        Service = s.get();
        Previous = gui::SetDialogService(std::move(s));
    }
    ~TScriptedDialogs() { gui::SetDialogService(std::move(Previous)); }
};

TEST(GuiModules, RegistrationTable)
{
    auto s = ModuleScript();
    struct TConst { const char* Name; int64_t Value; };
    for (TConst c : {TConst{"mrYesToAll", 10}, {"mrOk", 1}, {"crSizeAll", -22}, {"crHandPoint", -21}, {"VK_F12", 123},
                     {"VK_F3", 114}, {"VK_NUMPAD9", 105}, {"clNone", 0x1FFFFFFF}, {"clRed", 0x0000FF},
                     {"clBtnFace", static_cast<int32_t>(0xFF00000F)}, {"fmCreate", 65280}, {"ofReadOnly", 1},
                     {"ofNoChangeDir", 8}, {"ofEnableSizing", 1 << 19}, {"mbYes", 1}, {"mbNo", 2}, {"mbHelp", 1 << 10},
                     {"mtConfirmation", 3}, {"fsStrikeout", 8}, {"pmNotXor", 15}, {"caFree", 2}, {"ssDouble", 64},
                     {"taCenter", 2}, {"bsSizeToolWin", 5}, {"poScreenCenter", 4}}) {
        qs::TqsCustomVariable* v = s->Find(c.Name);
        ASSERT_NE(v, nullptr) << c.Name;
        EXPECT_EQ(v->GetValue().AsInt64(), c.Value) << c.Name;
    }
    for (const char* cls : {"TFont", "TPen", "TBrush", "TCanvas", "TGraphic", "TPicture", "TMetafile", "TMetafileCanvas",
                            "TBitmap", "TCommonDialog", "TOpenDialog", "TSaveDialog", "TColorDialog", "TFontDialog",
                            "TPrintDialog", "TPrinterSetupDialog", "TControl", "TWinControl", "TCustomControl",
                            "TGroupBox", "TEdit", "TMemo", "TButton", "TCheckBox", "TRadioButton", "TGraphicControl",
                            "TLabel", "TCustomComboBox", "TComboBox", "TCustomListBox", "TListBox", "TControlScrollBar",
                            "TScrollingWinControl", "TScrollBox", "TCustomForm", "TForm", "TDataModule", "TApplication"}) {
        qs::TqsClassVariable* c = s->FindClass(cls);
        ASSERT_NE(c, nullptr) << cls;
        EXPECT_EQ(c->ClassRef()->Name(), cls);
    }
    // Published properties come with the class; the module adds the rest.
    EXPECT_NE(s->FindClass("TButton")->Find("ModalResult"), nullptr);
    EXPECT_NE(s->FindClass("TFont")->Find("Style"), nullptr);
    EXPECT_NE(s->FindClass("TEdit")->Find("OnKeyDown"), nullptr);
    EXPECT_NE(s->Find("Application"), nullptr);
    // An unknown member name returns 0.
    auto* show = dynamic_cast<qs::TqsMethodHelper*>(s->FindClass("TCustomForm")->Find("ShowModal"));
    ASSERT_NE(show, nullptr);
    gui::TForm form(nullptr);
    EXPECT_EQ(show->OnCallNew(&form, show->ClassRef(), "NOSUCHMEMBER", show), Variant(0));
}

TEST(GuiModules, CanvasDrawsOnABitmap)
{
    auto s = ModuleScript();
    auto r = CompileAndRun(*s,
                           "var B: TBitmap;\n"
                           "begin\n"
                           "  B := TBitmap.Create;\n"
                           "  B.Width := 40; B.Height := 30;\n"
                           "  B.Canvas.Brush.Color := clWhite;\n"
                           "  B.Canvas.Pen.Color := clWhite;\n"
                           "  B.Canvas.Rectangle(0, 0, 40, 30);\n"
                           "  B.Canvas.Brush.Color := clRed;\n"
                           "  B.Canvas.Pen.Color := clBlue;\n"
                           "  B.Canvas.Rectangle(5, 5, 20, 20);\n"
                           "  B.Canvas.Pixels[30, 25] := clLime;\n"
                           "  Out := IntToStr(B.Canvas.Pixels[10, 10]) + ',' + IntToStr(B.Canvas.Pixels[5, 12]) + ',' +\n"
                           "         IntToStr(B.Canvas.Pixels[30, 25]) + ',' + IntToStr(B.Canvas.Pixels[35, 2]) + ',' +\n"
                           "         IntToStr(B.Width) + ',' + B.ClassName;\n"
                           "  B.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    // Inside red (0x0000FF), the outline blue (0xFF0000), the set pixel
    // lime, the background white.
    EXPECT_EQ(Str(*s, "Out"), "255,16711680,65280,16777215,40,TBitmap");
}

TEST(GuiModules, AbstractGraphicCannotBeCreated)
{
    auto s = ModuleScript();
    auto r = CompileAndRun(*s, "var G: TGraphic;\nbegin\n  G := TGraphic.Create;\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    EXPECT_NE(r.RuntimeError.find("Cannot create an instance of TGraphic"), std::string::npos) << r.RuntimeError;
}

TEST(GuiModules, MessageDialogsThroughTheDialogService)
{
    TScriptedDialogs dialogs;
    dialogs.Service->MessageAnswers = {gui::mrNo};
    dialogs.Service->InputAnswers = {{true, "edited"}, {false, "ignored"}};
    auto s = ModuleScript();
    auto r = CompileAndRun(*s,
                           "var v: String; b: Boolean;\n"
                           "begin\n"
                           "  Out := IntToStr(MessageDlg('Save?', mtConfirmation, mbYes + mbNo, 0));\n"
                           "  v := 'start';\n"
                           "  b := InputQuery('Title', 'Name', v);\n"
                           "  Out := Out + ';' + v + ';' + BoolToStr(b);\n"
                           "  Out := Out + ';' + InputBox('Title', 'Name', 'dflt');\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "7;edited;-1;dflt");
    ASSERT_EQ(dialogs.Service->Calls.size(), 3u);
    EXPECT_EQ(dialogs.Service->Calls[0].Kind, "MessageDlg");
    EXPECT_EQ(dialogs.Service->Calls[0].Text, "Save?");
    EXPECT_EQ(dialogs.Service->Calls[0].Type, gui::TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.Service->Calls[0].Buttons, (gui::TMsgDlgButtons{gui::TMsgDlgBtn::mbYes, gui::TMsgDlgBtn::mbNo}));
    EXPECT_EQ(dialogs.Service->Calls[1].Kind, "Input");
}

// ShowMessage of a script shows its text in the program's message box and
// waits for the answer; unregistered, the modules take the hook with them.
TEST(GuiModules, ShowMessageThroughTheDialogService)
{
    TScriptedDialogs dialogs;
    dialogs.Service->MessageAnswers = {gui::mrOk};
    auto s = ModuleScript();
    auto r = CompileAndRun(*s, "begin\n  ShowMessage('Eclipse at ' + IntToStr(12));\n  Out := 'after';\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "after");
    ASSERT_EQ(dialogs.Service->Calls.size(), 1u);
    EXPECT_EQ(dialogs.Service->Calls[0].Kind, "MessageDlg");
    EXPECT_EQ(dialogs.Service->Calls[0].Text, "Eclipse at 12");
    EXPECT_EQ(dialogs.Service->Calls[0].Buttons, (gui::TMsgDlgButtons{gui::TMsgDlgBtn::mbOK}));

    qs::qsUnregisterBindingModules();
    EXPECT_FALSE(qs::qsShowMessageHook);
    qs::qsRegisterBindingModules();
    EXPECT_TRUE(qs::qsShowMessageHook);
}

// A form handed to a program with AddForm is reached by its name, and its
// components by theirs, as members of the form.
TEST(GuiModules, AddFormExposesTheFormAndItsComponents)
{
    gui::TForm form(nullptr);
    form.SetName("EntryForm");
    auto* edit = new gui::TEdit(&form);
    edit->SetName("NameEdit");
    edit->SetParent(&form);
    auto s = ModuleScript();
    s->AddForm(&form);
    auto r = CompileAndRun(*s, "begin\n  EntryForm.NameEdit.Text := 'Tolmira';\n"
                               "  Out := EntryForm.Name + ':' + EntryForm.NameEdit.Text;\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "EntryForm:Tolmira");
    EXPECT_EQ(edit->Text(), "Tolmira");
}

TEST(GuiModules, MessageDlgInTheOtherLanguages)
{
    struct TCase { const char* Lang; const char* Text; };
    for (TCase c : {TCase{"JScript", "Out = IntToStr(MessageDlg(\"Q\", mtWarning, mbOK, 0));"},
                    TCase{"BasicScript", "Out = IntToStr(MessageDlg(\"Q\", mtWarning, mbOK, 0))\n"},
                    TCase{"C++Script", "{ Out = IntToStr(MessageDlg(\"Q\", mtWarning, mbOK, 0)); }"}}) {
        TScriptedDialogs dialogs;
        dialogs.Service->MessageAnswers = {gui::mrOk};
        auto s = ModuleScript(c.Lang);
        auto r = CompileAndRun(*s, c.Text);
        ASSERT_TRUE(r.Compiled) << c.Lang << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, "") << c.Lang;
        EXPECT_EQ(Str(*s, "Out"), "1") << c.Lang;
    }
}

// A script form with an edit and an OK button; the test's ClickLater
// queues a click on a control, which the modal loop then handles.
const char* const kFormScript =
    "var F: TForm; E: TEdit; B: TButton; Tries: Integer;\n"
    "procedure FormShow(Sender: TObject);\n"
    "begin\n"
    "  E.Text := 'typed';\n"
    "  ClickLater(B);\n"
    "end;\n"
    "procedure FormCloseQuery(Sender: TObject; var CanClose: Boolean);\n"
    "begin\n"
    "  Tries := Tries + 1;\n"
    "  CanClose := Tries > 1;\n"
    "  if not CanClose then ClickLater(B);\n"
    "end;\n"
    "begin\n"
    "  F := TForm.Create(nil);\n"
    "  F.SetBounds(10, 10, 200, 120);\n"
    "  E := TEdit.Create(F); E.Parent := F; E.SetBounds(8, 8, 100, 22);\n"
    "  B := TButton.Create(F); B.Parent := F; B.SetBounds(8, 40, 80, 25);\n"
    "  B.Caption := 'OK'; B.ModalResult := mrOk;\n"
    "  F.OnShow := 'FormShow';\n"
    "  F.OnCloseQuery := 'FormCloseQuery';\n"
    "  if F.ShowModal = mrOk then Out := 'ok' else Out := 'other';\n"
    "  Out := Out + ';' + IntToStr(Tries) + ';' + E.Text + ';' + IntToStr(F.ModalResult);\n"
    "  F.Free;\n"
    "end.";

TEST(GuiModules, ScriptFormShowsModallyAndReturnsTheButtonsResult)
{
    auto s = ModuleScript();
    s->AddMethod("procedure ClickLater(C: TObject)",
                 [](rtl::TObject*, const rtl::TClassInfo*, const std::string&, qs::TqsMethodHelper* h) {
                     if (auto* c = dynamic_cast<gui::TControl*>(h->GetParam(0).AsObject())) gui::sim::PostClick(c, 5, 5);
                     return Variant(0);
                 });
    auto r = CompileAndRun(*s, kFormScript);
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    // The first close was refused by OnCloseQuery, the second went through.
    EXPECT_EQ(Str(*s, "Out"), "ok;2;typed;1");
}

// Events fired on a control built by the script, with handlers of each
// adapter kind.
TEST(GuiModules, EventAdaptersWriteBackTheVarParameters)
{
    auto s = ModuleScript();
    gui::TForm form(nullptr);
    gui::TEdit edit(&form);
    edit.SetParent(&form);
    s->AddObject("Edit", &edit);
    auto r = CompileAndRun(*s,
                           "procedure KeyDown(Sender: TObject; var Key: Integer; Shift: Integer);\n"
                           "begin\n"
                           "  Out := Out + 'down' + IntToStr(Key) + ',' + IntToStr(Shift) + ';';\n"
                           "  Key := 0;\n"
                           "end;\n"
                           "procedure KeyPress(Sender: TObject; var Key: String);\n"
                           "begin\n"
                           "  Out := Out + 'press' + Key + ';';\n"
                           "  if Key = 'a' then Key := 'b' else Key := '';\n"
                           "end;\n"
                           "procedure CanResize(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean);\n"
                           "begin\n"
                           "  NewWidth := NewWidth * 2; NewHeight := 7; Resize := False;\n"
                           "end;\n"
                           "procedure Short(Sender: TObject);\n"
                           "begin\n"
                           "  Out := Out + 'short;';\n"
                           "end;\n"
                           "procedure Mouse(Sender: TObject; Button, Shift, X, Y: Integer);\n"
                           "begin\n"
                           "  Out := Out + 'mouse' + IntToStr(Button) + ',' + IntToStr(X) + ',' + IntToStr(Y) + ';';\n"
                           "end;\n"
                           "begin\n"
                           "  Edit.OnKeyDown := 'KeyDown';\n"
                           "  Edit.OnKeyPress := 'KeyPress';\n"
                           "  Edit.OnCanResize := 'CanResize';\n"
                           "  Edit.OnKeyUp := 'Short';\n"
                           "  Edit.OnMouseDown := 'Mouse';\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    ASSERT_EQ(r.RuntimeError, "");
    ASSERT_TRUE(edit.OnKeyDown && edit.OnKeyPress && edit.OnCanResize && edit.OnKeyUp);

    uint16_t key = 65;
    edit.OnKeyDown(&edit, key, gui::TShiftState{gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(key, 0);

    char16_t ch = u'a';
    edit.OnKeyPress(&edit, ch);
    EXPECT_EQ(ch, u'b');
    // An empty string leaves the key as it was.
    ch = u'x';
    edit.OnKeyPress(&edit, ch);
    EXPECT_EQ(ch, u'x');

    int w = 50, h = 20;
    bool resize = true;
    edit.OnCanResize(&edit, w, h, resize);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 7);
    EXPECT_FALSE(resize);

    // A handler declaring fewer parameters than the event writes back runs
    // and leaves the native arguments alone.
    key = 13;
    edit.OnKeyUp(&edit, key, {});
    EXPECT_EQ(key, 13);

    // Through the control's own input handling.
    gui::sim::MouseDown(&edit, gui::TMouseButton::mbRight, 3, 4);
    EXPECT_EQ(Str(*s, "Out"), "down65,4;pressa;pressx;short;mouse1,3,4;");
}

TEST(GuiModules, AssigningTheTextZeroClearsAnEvent)
{
    auto s = ModuleScript();
    gui::TButton button(nullptr);
    s->AddObject("Btn", &button);
    auto r = CompileAndRun(*s,
                           "procedure Clicked(Sender: TObject);\nbegin\n  Out := Out + 'c';\nend;\n"
                           "begin\n  Btn.OnClick := 'Clicked';\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    ASSERT_TRUE(button.OnClick);
    button.OnClick(&button);
    EXPECT_EQ(Str(*s, "Out"), "c");
    r = CompileAndRun(*s, "begin\n  Btn.OnClick := '0';\nend.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_FALSE(button.OnClick);
}

// Reports how long a new program takes to add every module; never fails.
TEST(GuiModules, BenchmarkAddRTTI)
{
    qs::qsRegisterBindingModules();
    const int rounds = 50;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        qs::TqsScript s(nullptr);
        s.AddRTTI();
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / rounds;
    std::printf("[ bench    ] AddRTTI with every module: %.3f ms per program\n", ms);
    RecordProperty("AddRTTIMs", std::to_string(ms));
}

} // namespace

namespace {

// Scripts size a bitmap one side at a time: the width set first must
// survive until the height arrives.
TEST(GuiModules, BitmapKeepsTheWidthSetBeforeTheHeight)
{
    gui::TBitmap b;
    b.SetWidth(40);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_TRUE(b.Empty());
    b.SetHeight(30);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 30);
    EXPECT_FALSE(b.Empty());
    b.SetSize(0, 0);
    EXPECT_EQ(b.Width(), 0);
}

} // namespace

namespace {

TEST(GuiModules, RecordedPictureReplaysScaledAndReadsBack)
{
    auto s = ModuleScript();
    std::string file = (std::filesystem::temp_directory_path() /
                        ("qs-meta-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".emf"))
                           .string();
    s->AddVariable("FileName", "String", Variant(file));
    auto r = CompileAndRun(*s,
                           "var M, M2: TMetafile; C: TMetafileCanvas; B: TBitmap;\n"
                           "begin\n"
                           "  M := TMetafile.Create;\n"
                           "  M.Width := 50; M.Height := 50;\n"
                           "  C := TMetafileCanvas.Create(M, 0);\n"
                           "  C.Brush.Color := clBlue; C.Pen.Color := clBlue;\n"
                           "  C.Rectangle(0, 0, 25, 25);\n"
                           "  C.Free;\n"
                           "  M.SaveToFile(FileName);\n"
                           "  M2 := TMetafile.Create;\n"
                           "  M2.LoadFromFile(FileName);\n"
                           "  B := TBitmap.Create; B.Width := 100; B.Height := 100;\n"
                           "  B.Canvas.StretchDraw(0, 0, 100, 100, M2);\n"
                           "  Out := IntToStr(B.Canvas.Pixels[40, 40]) + ',' + IntToStr(B.Canvas.Pixels[70, 70]) + ',' + IntToStr(M2.Width);\n"
                           "  M.Free; M2.Free; B.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    // The quarter square fills the top-left quarter of the doubled picture.
    EXPECT_EQ(Str(*s, "Out"), "16711680,16777215,50");
    std::remove(file.c_str());
}

} // namespace

namespace {

TEST(GuiModules, CommonDialogsExecuteWithTheirPublishedProperties)
{
    TScriptedDialogs dialogs;
    dialogs.Service->FileAnswers = {{true, "/tmp/chosen.txt", 2, {}}};
    dialogs.Service->PrintAnswers = {{false, {}}};
    auto s = ModuleScript();
    auto r = CompileAndRun(*s,
                           "var O: TOpenDialog; P: TPrinterSetupDialog; D: TDataModule;\n"
                           "begin\n"
                           "  D := TDataModule.Create(nil);\n"
                           "  O := TOpenDialog.Create(D);\n"
                           "  O.Title := 'Pick'; O.Filter := 'Text|*.txt|All|*'; O.Options := ofFileMustExist + ofHideReadOnly;\n"
                           "  if O.Execute then Out := O.FileName + ';' + IntToStr(O.FilterIndex);\n"
                           "  P := TPrinterSetupDialog.Create(D);\n"
                           "  Out := Out + ';' + BoolToStr(P.Execute) + ';' + O.Owner.ClassName;\n"
                           "  D.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "/tmp/chosen.txt;2;0;TDataModule");
    ASSERT_EQ(dialogs.Service->Calls.size(), 2u);
    EXPECT_EQ(dialogs.Service->Calls[0].File.Title, "Pick");
    EXPECT_EQ(dialogs.Service->Calls[0].File.Filter, "Text|*.txt|All|*");
    EXPECT_EQ(dialogs.Service->Calls[0].File.Options,
              (gui::TOpenOptions{gui::TOpenOption::ofFileMustExist, gui::TOpenOption::ofHideReadOnly}));
    EXPECT_EQ(dialogs.Service->Calls[1].Kind, "Print");
}

// The descriptors serve any caller by name, not only scripts.
TEST(GuiModules, PublishedPropertiesByName)
{
    gui::DescribeGuiClasses();
    gui::TFont font;
    rtl::SetPropValue(&font, "Style", Variant("[fsBold,fsItalic]"));
    rtl::SetPropValue(&font, "Name", Variant("Arial"));
    EXPECT_EQ(font.Style(), (gui::TFontStyles{gui::TFontStyle::fsBold, gui::TFontStyle::fsItalic}));
    EXPECT_EQ(rtl::VarToStr(rtl::GetPropValue(&font, "Name")), "Arial");
    gui::TForm form(nullptr);
    gui::TEdit edit(&form);
    rtl::SetPropValue(&edit, "Font.Color", Variant(static_cast<int32_t>(gui::clRed)));
    EXPECT_EQ(edit.Font()->Color(), gui::clRed);
    rtl::SetPropValue(&form, "BorderStyle", Variant("bsDialog"));
    EXPECT_EQ(form.BorderStyle(), gui::TBorderStyle::bsDialog);
    EXPECT_EQ(edit.ClassType()->Name(), "TEdit");
    EXPECT_TRUE(edit.ClassType()->InheritsFrom("TWinControl"));
}

} // namespace

namespace {

TEST(GuiModules, ListsCombosAndTheApplication)
{
    auto s = ModuleScript();
    auto r = CompileAndRun(*s,
                           "var F: TForm; L: TListBox; C: TComboBox;\n"
                           "begin\n"
                           "  F := TForm.Create(nil);\n"
                           "  L := TListBox.Create(F); L.Parent := F;\n"
                           "  L.Items.Add('a'); L.Items.Add('b'); L.Items.Add('c');\n"
                           "  L.ItemIndex := 1;\n"
                           "  C := TComboBox.Create(F); C.Parent := F;\n"
                           "  C.Items.CommaText := 'x,y';\n"
                           "  C.ItemIndex := 1;\n"
                           "  Out := IntToStr(L.ItemIndex) + ',' + BoolToStr(L.Selected[1]) + ',' + IntToStr(L.SelCount) + ';' +\n"
                           "         C.Text + ',' + IntToStr(C.ItemIndex) + ';' + L.Parent.ClassName;\n"
                           "  Application.ProcessMessages;\n"
                           "  if Application.ExeName <> '' then Out := Out + ';exe';\n"
                           "  F.Free;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "1,-1,-1;y,1;TForm;exe");
}

// A parent that is no windowed control is refused: by the compiler where
// the types are known, at run time with a message otherwise.
TEST(GuiModules, ParentMustBeAWindowedControl)
{
    auto s = ModuleScript();
    auto r = CompileAndRun(*s,
                           "var F: TForm; L: TLabel; B: TButton; X: Variant;\n"
                           "begin\n"
                           "  F := TForm.Create(nil);\n"
                           "  L := TLabel.Create(F); B := TButton.Create(F);\n"
                           "  try\n"
                           "    X := L;\n"
                           "    B.Parent := X;\n"
                           "  finally\n"
                           "    F.Free;\n"
                           "  end;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_NE(r.RuntimeError.find("windowed control"), std::string::npos) << r.RuntimeError;
}

} // namespace

namespace {

// Misuse from a script ends in an error message or nothing, never a crash.
TEST(GuiModules, MisuseIsHarmless)
{
    struct TCase { const char* Name; const char* Body; const char* Error; };
    for (TCase c : {TCase{"canvas without a device", "C := TCanvas.Create; C.Rectangle(0, 0, 10, 10); C.TextOut(1, 1, 'a'); "
                                                     "Out := IntToStr(C.Pixels[1, 1]); C.Free;", ""},
                    TCase{"draw nothing", "B := TBitmap.Create; B.Width := 5; B.Height := 5; B.Canvas.Draw(0, 0, nil); "
                                          "B.Canvas.StretchDraw(0, 0, 5, 5, nil); B.Free;", ""},
                    TCase{"metafile canvas without metafile", "C := TMetafileCanvas.Create(nil, 0);", "A metafile is expected"},
                    TCase{"bad dialog type", "MessageDlg('x', 9, mbOK, 0);", "Invalid message dialog type"},
                    TCase{"missing file", "B := TBitmap.Create; B.LoadFromFile('/nonexistent/x.bmp');", "x.bmp"}}) {
        auto s = ModuleScript();
        auto r = CompileAndRun(*s, std::string("var C: TCanvas; B: TBitmap;\nbegin\n  ") + c.Body + "\nend.");
        ASSERT_TRUE(r.Compiled) << c.Name << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_NE(r.RuntimeError.find(c.Error), std::string::npos) << c.Name << ": " << r.RuntimeError;
        if (!*c.Error) { EXPECT_EQ(r.RuntimeError, "") << c.Name; }
    }
}

} // namespace
