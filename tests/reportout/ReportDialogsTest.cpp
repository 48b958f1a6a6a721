// The report dialogs driven headless: the progress window's layout, steps,
// Cancel and the form it disables; the search, password and inheritance
// dialogs' answers.
#include <gtest/gtest.h>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "tests/common/TestPaths.h"
#include "report/qlrOutputServices.h"
#include "reportout/qlrPrinter.h"
#include "reportout/qlrProgress.h"
#include "reportout/qlrReportDialogs.h"
#include "report/qlrClass.h"
#include "report/qlrClassPages.h"
#include "report/qlrPreviewPages.h"
#include "script/qs_iinterpreter.h"

using namespace qlr;

namespace {

TEST(Progress, ExecuteWithoutBarTicksAndCancel)
{
    gui::TForm main(nullptr);
    main.Show();
    main.SetFocus();
    gui::Application->ProcessMessages();
    auto* p = new TqlrProgress(nullptr);
    EXPECT_EQ(p->ClientWidth(), 271);
    EXPECT_EQ(p->ClientHeight(), 101);
    const bool hadActive = p->ActiveFormAtStart() == &main;
    ASSERT_TRUE(hadActive);
    EXPECT_FALSE(main.Enabled());

    p->Execute(0, "", true, false);
    EXPECT_TRUE(p->Visible());
    EXPECT_TRUE(p->CancelB->Visible());
    EXPECT_FALSE(p->Bar->Visible());
    EXPECT_FALSE(p->BarVisible());
    EXPECT_EQ(p->LMessage->Top(), 35);
    EXPECT_FALSE(p->Terminated());

    p->Execute(3, "Printing page 1", false, true);
    EXPECT_FALSE(p->CancelB->Visible());
    EXPECT_EQ(p->LMessage->Top(), 15);
    EXPECT_EQ(p->LMessage->Caption(), "Printing page 1");
    for (int i = 0; i < 5; ++i) p->Tick();
    EXPECT_EQ(p->Position(), 3);   // stops at the maximum
    EXPECT_EQ(p->Bar->Position(), 3);
    p->Reset();
    EXPECT_EQ(p->Position(), 0);

    p->Execute(0, "", true, false);
    gui::sim::Click(p->CancelB, 5, 5);
    gui::Application->ProcessMessages();
    EXPECT_TRUE(p->Terminated());
    EXPECT_FALSE(p->Visible());
    EXPECT_TRUE(main.Enabled());
    delete p;
    EXPECT_TRUE(main.Enabled());
}

TEST(Progress, AnyPointDragsTheWindow)
{
    auto* p = new TqlrProgress(nullptr);
    p->Execute(0, "x", false, false);
    const int left = p->Left(), top = p->Top();
    gui::sim::MouseDown(p->Panel1, gui::TMouseButton::mbLeft, 5, 5);
    gui::sim::MouseMove(p->Panel1, 25, 15, gui::TShiftState{gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(p->Panel1, gui::TMouseButton::mbLeft, 25, 15);
    EXPECT_EQ(p->Left(), left + 20);
    EXPECT_EQ(p->Top(), top + 10);
    delete p;
}

// Runs a modal form: on show, types text into edit (when given) and
// presses the key.
int RunModal(gui::TForm& form, gui::TEdit* edit, const std::string& text, uint16_t key)
{
    form.OnShow = [&](rtl::TObject*) {
        if (edit) {
            edit->SetFocus();
            edit->SelectAll();
            gui::QueueInMainThread([text] { gui::sim::TypeText(text); });
        }
        gui::sim::PostKeyPress(key);
    };
    return form.ShowModal();
}

TEST(SearchDialog, RemembersTheConfirmedTextOnly)
{
    TqlrSearchDialog::LastSearchText().clear();
    {
        TqlrSearchDialog d(nullptr);
        EXPECT_EQ(d.Caption(), "Find Text");
        EXPECT_EQ(d.TopCB->Caption(), "Search from beginning");
        EXPECT_FALSE(d.ReplacePanel->Visible());
        EXPECT_EQ(RunModal(d, d.TextE, "Saros", gui::VK_RETURN), gui::mrOk);
    }
    {
        TqlrSearchDialog d(nullptr);
        std::string shown;
        d.OnShow = [&](rtl::TObject*) {
            shown = d.TextE->Text();
            gui::QueueInMainThread([] { gui::sim::TypeText("other"); });
            gui::sim::PostKeyPress(gui::VK_ESCAPE);
        };
        EXPECT_EQ(d.ShowModal(), gui::mrCancel);
        EXPECT_EQ(shown, "Saros");
    }
    EXPECT_EQ(TqlrSearchDialog::LastSearchText(), "Saros");
    TqlrSearchDialog d(nullptr);
    d.OnShow = [&](rtl::TObject*) { gui::sim::PostKeyPress(gui::VK_ESCAPE); };
    d.ShowModal();
    EXPECT_EQ(d.TextE->Text(), "Saros");
}

TEST(PasswordDialog, OkGivesTheTypedTextCancelNothing)
{
    auto old = RegisterOutputServices(nullptr);
    RegisterReportOutput();
    struct Case {
        uint16_t key;
        bool ok;
    };
    for (const Case& c : {Case{gui::VK_RETURN, true}, Case{gui::VK_ESCAPE, false}}) {
        bool answered = false;
        std::string typed = "stale";
        // The dialog is made inside the service: script it through the
        // application's form list when it shows.
        gui::QueueInMainThread([&] {
            for (int i = 0; i < gui::Screen->FormCount(); ++i)
                if (auto* f = dynamic_cast<TqlrPasswordForm*>(gui::Screen->Forms(i))) {
                    f->PasswordE->SetFocus();
                    gui::sim::TypeText("moon");
                    gui::sim::PostKeyPress(c.key);
                }
        });
        answered = OutputServices().InputPassword(typed);
        EXPECT_EQ(answered, c.ok);
        EXPECT_EQ(typed, c.ok ? "moon" : "");
    }
    RegisterOutputServices(std::move(old));
    TqlrPasswordForm f(nullptr);
    EXPECT_EQ(f.Caption(), "Password");
    EXPECT_EQ(f.PasswordL->Caption(), "Enter the password:");
}

TEST(InheritErrorForm, DeleteIsTheFirstChoice)
{
    TqlrInheritErrorForm f(nullptr);
    EXPECT_EQ(f.Caption(), "Error");
    EXPECT_TRUE(f.DeleteRB->Checked());
    EXPECT_FALSE(f.RenameRB->Checked());
    EXPECT_EQ(RunModal(f, nullptr, "", gui::VK_RETURN), gui::mrOk);
    TqlrInheritErrorForm g(nullptr);
    EXPECT_EQ(RunModal(g, nullptr, "", gui::VK_ESCAPE), gui::mrCancel);
}

TEST(DialogForm, RefusesToCloseAndReportsMoves)
{
    rtl::TComponent page(nullptr);
    page.SetTag(318);
    auto* f = new TqlrDialogForm(&page);
    EXPECT_TRUE(f->ThreadSafe());
    EXPECT_EQ(f->Owner(), nullptr);
    bool canClose = true;
    f->OnCloseQuery(f, canClose);
    EXPECT_FALSE(canClose);
    EXPECT_FALSE(f->CloseQuery());
    int modified = 0;
    f->OnModify = [&](rtl::TObject*) { ++modified; };
    f->Perform(gui::WM_EXITSIZEMOVE);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(f->Perform(gui::WM_GETDLGCODE), 3);
    delete f;
    page.SetTag(0);
    TqlrDialogForm plain(&page);
    EXPECT_FALSE(plain.ThreadSafe());
}

namespace {

// A dialog control wrapping an edit box.
class TqlrEditControl : public TqlrDialogControl {
    RTL_CLASS(TqlrEditControl, TqlrDialogControl)
public:
    explicit TqlrEditControl(rtl::TComponent* owner) : TqlrDialogControl(owner)
    {
        SetControl(std::make_unique<gui::TEdit>(nullptr));
    }
};

RTL_PUBLISHED(TqlrEditControl) {}

// A report with a dialog page holding two edit boxes, in a window of
// report output.
struct DialogReport {
    std::unique_ptr<IqlrOutputServices> old = RegisterOutputServices(nullptr);
    bool registered = (RegisterReportOutput(), true);
    TqlrReport report{nullptr};
    TqlrDialogPage* page = new TqlrDialogPage(&report);
    TqlrEditControl* edit1 = new TqlrEditControl(page);
    TqlrEditControl* edit2 = new TqlrEditControl(page);
    DialogReport()
    {
        report.EngineOptions()->NewSilentMode = TqlrSilentMode::simSilent;
        page->SetName("Dialog1");
        page->SetClientWidth(240);
        page->SetClientHeight(120);
        edit1->SetName("Edit1");
        edit1->SetBounds(8, 8, 100, 21);
        edit2->SetName("Edit2");
        edit2->SetBounds(8, 40, 100, 21);
        report.PrepareScript();
        report.Script()->AddClass(&TqlrEditControl::StaticClassInfo(), "TqlrDialogControl");
    }
    ~DialogReport() { RegisterOutputServices(std::move(old)); }
    std::string Calc(const std::string& e) { return rtl::VarToStr(report.Calc(e)); }
};

} // namespace

TEST(DialogPage, ShowModalFromAScriptAnswersTheResultAndFocusGoesWhereAsked)
{
    DialogReport d;
    gui::TForm* form = d.page->DialogForm();
    ASSERT_NE(dynamic_cast<TqlrDialogForm*>(form), nullptr);
    EXPECT_EQ(d.edit1->Control()->Parent(), form);
    EXPECT_EQ(d.edit2->Control()->Top(), 40);
    d.page->SetBorderStyle(gui::TBorderStyle::bsDialog);

    // While the page shows, a script focuses the second edit box and sets
    // the page's modal result: ShowModal answers it.
    gui::TWinControl* focused = nullptr;
    bool modal = false;
    std::string asked;
    gui::QueueInMainThread([&] {
        modal = form->FormState().Contains(gui::TFormStateItem::fsModal);
        rtl::TStringList program;
        program.SetText("begin Edit2.SetFocus; Dialog1.ModalResult := 6 end.");
        qs::TqsScript s(nullptr);
        s.SetParent(d.report.Script());
        s.Lines().Assign(&program);
        if (s.Compile()) s.Execute();
        asked = s.ErrorMsg();
        focused = form->FocusedControl();
        // A failing script must not leave the dialog open.
        if (form->ModalResult() == gui::mrNone) form->SetModalResult(gui::mrAbort);
    });
    EXPECT_EQ(d.Calc("Dialog1.ShowModal"), "6");
    EXPECT_TRUE(modal);
    EXPECT_EQ(asked, "");
    EXPECT_EQ(focused, d.edit2->Control());
    EXPECT_EQ(d.Calc("Dialog1.ModalResult"), "6");
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->BorderStyle(), gui::TBorderStyle::bsDialog);
    EXPECT_EQ(form->FormStyle(), gui::TFormStyle::fsStayOnTop);
    // Forms freed after each run: the page's events do not run always.
    EXPECT_TRUE(d.report.EngineOptions()->DestroyForms);
    EXPECT_FALSE(d.page->RunAlways());
    d.report.EngineOptions()->DestroyForms = false;

    // The page's own close query replaces the form's refusal: closing ends
    // the modal show as cancelled.
    gui::QueueInMainThread([&] { form->Close(); });
    EXPECT_EQ(d.page->ShowModal(), gui::mrCancel);
    EXPECT_TRUE(d.page->RunAlways());
    EXPECT_EQ(form->FormStyle(), gui::TFormStyle::fsStayOnTop);
    EXPECT_EQ(d.report.Errors()->Count(), 0) << d.report.Errors()->Text();

    // The pointer moving over the shown form clears the hint text.
    std::vector<std::pair<std::string, bool>> messages;
    d.report.OnProgressMessage = [&](const std::string& text, bool hint) { messages.emplace_back(text, hint); };
    gui::QueueInMainThread([&] {
        gui::sim::MouseMove(form, 150, 90, gui::TShiftState{});
        form->SetModalResult(gui::mrOk);
    });
    EXPECT_EQ(d.page->ShowModal(), gui::mrOk);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), (std::pair<std::string, bool>{"", true}));
}

// A title memo asks the dialog page while the report prepares: the page
// shows modally with its controls drawn at their places, a script moves the
// focus and closes it with a result, and the answer prints.
TEST(DialogPage, ShownByAnExpressionWhileTheReportPreparesItsAnswerPrints)
{
    DialogReport d;
    d.report.EngineOptions()->DestroyForms = false;
    auto* page = new TqlrReportPage(&d.report);
    page->SetName("Page1");
    auto* title = new TqlrReportTitle(page);
    title->SetName("ReportTitle1");
    title->SetBounds(0, 0, 500, 30);
    auto* memo = new TqlrMemoView(title);
    memo->SetName("Memo1");
    memo->SetBounds(0, 0, 300, 18);
    memo->SetText("Answer [Dialog1.ShowModal]");
    d.edit1->SetCaption("first");
    d.edit2->SetCaption("second");
    gui::TForm* form = d.page->DialogForm();

    bool modal = false;
    int fieldWhite = 0, besideFace = 0;
    std::string asked;
    gui::TWinControl* focused = nullptr;
    // The run handles window messages before the dialog shows: a timer
    // answers once the form is up.
    gui::TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.OnTimer = [&](rtl::TObject*) {
        if (!form->Visible()) return;
        timer.SetEnabled(false);
        modal = form->FormState().Contains(gui::TFormStateItem::fsModal);
        gui::TBitmap shot(form->ClientWidth(), form->ClientHeight(), gui::TPixelFormat::pf24bit);
        form->PaintTo(shot.Canvas(), 0, 0);
        for (int y : {12, 44})  // inside each edit box's field, left of its text
            for (int x = 80; x < 104; ++x) fieldWhite += gui::ColorToRGB(shot.Canvas()->Pixels(x, y)) == gui::clWhite;
        for (int x = 120; x < 230; ++x)  // right of the boxes: the page's colour
            besideFace += shot.Canvas()->Pixels(x, 30) == gui::ColorToRGB(gui::clBtnFace);
        rtl::TStringList program;
        program.SetText("begin Edit2.SetFocus; Dialog1.ModalResult := 1 end.");
        qs::TqsScript s(nullptr);
        s.SetParent(d.report.Script());
        s.Lines().Assign(&program);
        if (s.Compile()) s.Execute();
        asked = s.ErrorMsg();
        focused = form->FocusedControl();
        if (form->ModalResult() == gui::mrNone) form->SetModalResult(gui::mrAbort);
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(d.report.PrepareReport(true)) << d.report.Errors()->Text();
    EXPECT_TRUE(modal);
    EXPECT_EQ(fieldWhite, 48);
    EXPECT_EQ(besideFace, 110);
    EXPECT_EQ(asked, "");
    EXPECT_EQ(focused, d.edit2->Control());
    EXPECT_FALSE(form->Visible());
    TqlrCustomPreviewPages* pages = d.report.PreviewPages();
    ASSERT_EQ(pages->GetCount(), 1);
    std::string printed;
    for (TqlrComponent* c : pages->GetPage(0)->AllObjects())
        if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) printed += m->Text();
    EXPECT_EQ(printed, "Answer 1");
}

TEST(DialogPage, MovedOrSizedFormGivesItsBoundsToThePage)
{
    DialogReport d;
    gui::TForm* form = d.page->DialogForm();
    form->SetBounds(50, 60, 300, 200);
    EXPECT_NE(d.page->Left(), 50);
    form->Perform(gui::WM_EXITSIZEMOVE);
    EXPECT_EQ(d.page->Left(), 50);
    EXPECT_EQ(d.page->Top(), 60);
    EXPECT_EQ(d.page->Width(), 300);
    EXPECT_EQ(d.page->Height(), 200);
    // A control moved by the report follows; a hidden one hides.
    d.edit1->SetLeft(20.4L);
    EXPECT_EQ(d.edit1->Control()->Left(), 20);
    d.edit1->SetVisible(false);
    EXPECT_FALSE(d.edit1->Control()->Visible());
    d.edit1->SetCaption("typed");
    EXPECT_EQ(d.edit1->Control()->Caption(), "typed");

    // Drawn, the control shows itself at its place: the edit box's white
    // field with the dark letters of its text, nothing around it.
    d.edit2->SetCaption("WWWW");
    gui::TBitmap bmp(200, 100, gui::TPixelFormat::pf24bit);
    bmp.Canvas()->Brush()->SetColor(gui::clRed);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, 200, 100});
    d.edit2->Draw(bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(4, 45), gui::clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(150, 45), gui::clRed);
    int white = 0, dark = 0;
    for (int y = 40; y < 61; ++y)
        for (int x = 8; x < 108; ++x) {
            const gui::TColor c = gui::ColorToRGB(bmp.Canvas()->Pixels(x, y));
            white += c == gui::clWhite;
            dark += (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60;
        }
    EXPECT_GT(white, 800);
    EXPECT_GT(dark, 20);
}

TEST(TBPanel, AlignsByTheParentsParent)
{
    gui::TForm form(nullptr);
    struct Case {
        gui::TAlign outer;
        gui::TAlign expected;
    };
    for (const Case& c : {Case{gui::TAlign::alLeft, gui::TAlign::alTop}, Case{gui::TAlign::alRight, gui::TAlign::alTop},
                          Case{gui::TAlign::alTop, gui::TAlign::alLeft}}) {
        auto* outer = new gui::TPanel(&form);
        outer->SetParent(&form);
        outer->SetAlign(c.outer);
        auto* bar = new gui::TPanel(&form);
        bar->SetParent(outer);
        auto* tb = new TqlrTBPanel(&form);
        EXPECT_EQ(tb->Align(), gui::TAlign::alLeft);
        tb->SetParent(bar);
        EXPECT_EQ(tb->Align(), c.expected);
    }
    // A parent that is no panel leaves the alignment alone.
    auto* tb = new TqlrTBPanel(&form);
    tb->SetAlign(gui::TAlign::alRight);
    tb->SetParent(&form);
    EXPECT_EQ(tb->Align(), gui::TAlign::alRight);
}

TEST(ReportDialogs, Screenshots)
{
    const auto dir = tectest::SnapshotDir();
    auto save = [&](gui::TForm& f, const std::string& name) {
        f.Show();
        gui::Application->ProcessMessages();
        auto shot = f.GetImage();
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((dir / name).string());
        std::printf("dialog picture: %s\n", (dir / name).c_str());
        f.Hide();
    };
    auto* p = new TqlrProgress(nullptr);
    p->Execute(10, "Printing page 4", true, true);
    p->SetPosition(4);
    save(*p, "progress.png");
    delete p;
    TqlrSearchDialog s(nullptr);
    save(s, "search.png");
    TqlrInheritErrorForm i(nullptr);
    save(i, "inherit.png");
    // The message keeps its width and stays clear of the choices below it.
    EXPECT_EQ(i.MessageL->Width(), 190);
    EXPECT_LE(i.MessageL->Top() + i.MessageL->Height(), i.DeleteRB->Top());
    TqlrPasswordForm pw(nullptr);
    save(pw, "password.png");
}

} // namespace
