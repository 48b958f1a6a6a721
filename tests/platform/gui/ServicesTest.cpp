// Dialogs through the scripted dialog service, exception display, the
// clipboard, desktop opening, pop-up menus and hints.
#include <gtest/gtest.h>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

using namespace gui;

namespace {

// Installs a scripted dialog service for one test.
struct Scripted : ::testing::Test {
    TScriptedDialogService* dialogs = nullptr;
    std::unique_ptr<IDialogService> previous;
    void SetUp() override
    {
        auto s = std::make_unique<TScriptedDialogService>();
        dialogs = s.get();
        previous = SetDialogService(std::move(s));
        Application->SetTitle("Tolmira Eclipse Calculator");
    }
    void TearDown() override { SetDialogService(std::move(previous)); }
};

using Dialogs = Scripted;
using Errors = Scripted;

} // namespace

TEST_F(Dialogs, MessageBoxesAnswerFromTheScriptAndAreRecorded)
{
    dialogs->MessageAnswers = {mrYes, mrCancel, IDNO};
    EXPECT_EQ(MessageDlg("Save changes?", TMsgDlgType::mtConfirmation, mbYesNoCancel()), mrYes);
    EXPECT_EQ(MessageDlgCaptions("Replace the map?", "Maps", TMsgDlgType::mtCustom, mbYesNoCancel(),
                                 {"Replace", "Keep", "Cancel"}),
              mrCancel);
    EXPECT_EQ(Application->MessageBox("Overwrite?", "", MB_YESNO | MB_ICONQUESTION), IDNO);
    ShowMessage("Done");
    ASSERT_EQ(dialogs->Calls.size(), 4u);
    EXPECT_EQ(dialogs->Calls[0].Caption, "Confirm");
    EXPECT_TRUE(dialogs->Calls[0].Buttons == mbYesNoCancel());
    EXPECT_EQ(dialogs->Calls[1].ButtonCaptions[0], "Replace");
    EXPECT_EQ(dialogs->Calls[2].Caption, "Tolmira Eclipse Calculator");   // the title when none is given
    EXPECT_EQ(dialogs->Calls[2].Flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(dialogs->Calls[3].Text, "Done");
}

// The desktop's own file dialog, set up offscreen and read without showing
// it: texts with "&" as access keys, the controls asked to hide, filter
// lines whose description already names the patterns shown once, and the
// suggested file name.
TEST(DesktopFileDialog, ShowsTheTextsAndHidesTheControlsAsked)
{
    TFileDialogRequest r;
    r.Save = true;
    r.InitialDir = "/tmp";
    r.Filter = "PNG files (*.png)|*.png|JPEG files (*.jpg)|*.jpg;*.jpeg|Bitmap files|*.bmp|All files (*.*)|*.*";
    r.FileName = "2024-04-08 total solar eclipse.png";
    r.OkButtonText = "&Save";
    r.CancelButtonText = "Cancel";
    r.LookInLabel = "Look &in";
    r.FileNameLabel = "File &name";
    r.FileTypeLabel = "File &type";
    TDesktopFileDialogView v = ViewDesktopFileDialog(r);
    EXPECT_EQ(v.LookIn.Text, "Look &in");
    EXPECT_EQ(v.FileName.Text, "File &name");
    EXPECT_EQ(v.FileType.Text, "File &type");
    for (const auto* item : {&v.LookIn, &v.FileName, &v.FileType}) {
        EXPECT_TRUE(item->Shown) << item->Text;
        EXPECT_TRUE(item->AccessKey) << item->Text;   // an access key, not a literal "&"
    }
    EXPECT_EQ(v.OkButton.Text, "&Save");
    EXPECT_TRUE(v.OkButton.Shown);
    EXPECT_TRUE(v.CancelButton.Shown);
    EXPECT_TRUE(v.LookInListShown && v.FileNameEditShown && v.FileTypeListShown);
    EXPECT_EQ(v.Filters, (std::vector<std::string>{"PNG files (*.png)", "JPEG files (*.jpg *.jpeg)",
                                                   "Bitmap files (*.bmp)", "All files (*.*)"}));
    EXPECT_EQ(v.FileNameText, "2024-04-08 total solar eclipse.png");

    // Each control hidden on its own, with its label.
    struct Case {
        TFileDialogControl control;
        bool TDesktopFileDialogView::*list;
        TDesktopFileDialogView::Item TDesktopFileDialogView::*label;
    } cases[] = {
        {TFileDialogControl::fdcLookIn, &TDesktopFileDialogView::LookInListShown, &TDesktopFileDialogView::LookIn},
        {TFileDialogControl::fdcFileName, &TDesktopFileDialogView::FileNameEditShown, &TDesktopFileDialogView::FileName},
        {TFileDialogControl::fdcFileType, &TDesktopFileDialogView::FileTypeListShown, &TDesktopFileDialogView::FileType},
        {TFileDialogControl::fdcOkButton, nullptr, &TDesktopFileDialogView::OkButton},
        {TFileDialogControl::fdcCancelButton, nullptr, &TDesktopFileDialogView::CancelButton},
    };
    for (const Case& c : cases) {
        TFileDialogRequest h = r;
        h.HiddenControls = {c.control};
        v = ViewDesktopFileDialog(h);
        EXPECT_FALSE((v.*c.label).Shown) << static_cast<int>(c.control);
        if (c.list) {
            EXPECT_FALSE(v.*c.list) << static_cast<int>(c.control);
        }
        // The others stay.
        const int shown = v.LookIn.Shown + v.FileName.Shown + v.FileType.Shown + v.OkButton.Shown + v.CancelButton.Shown;
        EXPECT_EQ(shown, 4) << static_cast<int>(c.control);
    }
}

TEST_F(Dialogs, FileDialogsPassTheirSettingsAndAddTheFilterExtension)
{
    TSaveDialog save(nullptr);
    save.Title = "Export map";
    save.Filter = "PNG image|*.png|JPEG image|*.jpg;*.jpeg|All files|*.*";
    save.FilterIndex = 2;
    save.DefaultExt = "png";
    save.InitialDir = "/tmp";
    save.OkButtonText = "Export";
    save.LookInLabel = "Look &in";
    save.HiddenControls = {TFileDialogControl::fdcFileType};
    save.Options.Include(TOpenOption::ofOverwritePrompt);
    struct Case {
        std::string typed;
        int filterIndex;
        std::string expected;
    };
    const Case cases[] = {
        {"/tmp/map", 1, "/tmp/map.png"},       // the chosen filter's extension
        {"/tmp/map", 2, "/tmp/map.jpg"},
        {"/tmp/map", 3, "/tmp/map.png"},       // "*.*": the default extension
        {"/tmp/map.bmp", 1, "/tmp/map.bmp"},   // an extension typed is kept
    };
    for (const Case& c : cases) {
        dialogs->FileAnswers.push_back({true, c.typed, c.filterIndex, {}});
        ASSERT_TRUE(save.Execute());
        EXPECT_EQ(save.FileName, c.expected) << c.typed << " " << c.filterIndex;
        EXPECT_EQ(save.FilterIndex, c.filterIndex);
    }
    const auto& req = dialogs->Calls.front().File;
    EXPECT_TRUE(req.Save);
    EXPECT_EQ(req.Title, "Export map");
    EXPECT_EQ(req.FilterIndex, 2);
    EXPECT_EQ(req.OkButtonText, "Export");
    EXPECT_EQ(req.LookInLabel, "Look &in");
    EXPECT_TRUE(req.HiddenControls == TFileDialogControls{TFileDialogControl::fdcFileType});
    EXPECT_TRUE(req.Options.Contains(TOpenOption::ofOverwritePrompt));

    // Cancel leaves the name as it was.
    TOpenDialog open(nullptr);
    open.FileName = "old.sec";
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "old.sec");

    std::string dir = "/home";
    dialogs->FolderAnswers.push_back({true, "/tmp/maps"});
    EXPECT_TRUE(SelectDirectory("Maps folder", "", dir));
    EXPECT_EQ(dir, "/tmp/maps");
    TColorDialog colors(nullptr);
    dialogs->ColorAnswers.push_back({true, clTeal});
    EXPECT_TRUE(colors.Execute());
    EXPECT_EQ(colors.Color, clTeal);
}

TEST_F(Errors, AnExceptionInAHandlerIsShownAndTheProgramGoesOn)
{
    TForm form(nullptr);
    auto* b = new TButton(&form);
    b->SetParent(&form);
    b->OnClick = [](rtl::TObject*) { throw rtl::EConvertError("'abc' is not a valid integer value"); };
    auto* quiet = new TButton(&form);
    quiet->SetParent(&form);
    quiet->SetLeft(100);
    quiet->OnClick = [](rtl::TObject*) { rtl::Abort(); };
    form.Show();
    sim::Click(b, 5, 5);
    ASSERT_EQ(dialogs->Calls.size(), 1u);
    EXPECT_EQ(dialogs->Calls[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(dialogs->Calls[0].Flags, MB_OK | MB_ICONSTOP);
    sim::Click(quiet, 5, 5);                  // EAbort is silent
    EXPECT_EQ(dialogs->Calls.size(), 1u);
    // An application events component may take the errors over.
    TApplicationEvents events(nullptr);
    std::string seen;
    events.OnException = [&](rtl::TObject*, const std::exception& e) { seen = e.what(); };
    sim::Click(b, 5, 5);
    EXPECT_EQ(seen, "'abc' is not a valid integer value");
    EXPECT_EQ(dialogs->Calls.size(), 1u);
    form.Hide();
}

TEST(Clipboard, TextAndNamedFormats)
{
    Clipboard()->SetAsText("51.4779 N");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "51.4779 N");
    const TClipboardFormat cells = RegisterClipboardFormat("TExStringGrid Cells");
    EXPECT_EQ(RegisterClipboardFormat("TExStringGrid Cells"), cells);
    EXPECT_GE(cells, 0xC000u);
    Clipboard()->Open();
    Clipboard()->SetAsText("a\tb");
    Clipboard()->SetData(cells, {1, 2, 3});
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->AsText(), "a\tb");
    EXPECT_EQ(Clipboard()->GetData(cells), (std::vector<uint8_t>{1, 2, 3}));
    // The edit's paste takes the text.
    TForm form(nullptr);
    auto* e = new TEdit(&form);
    e->SetParent(&form);
    Clipboard()->SetAsText("Tolmira");
    e->Perform(WM_PASTE);
    EXPECT_EQ(e->Text(), "Tolmira");
}

TEST(Desktop, ShellOpenGoesThroughTheHandler)
{
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& t) { opened.push_back(t); return true; });
    EXPECT_TRUE(ShellOpen("https://example.org/eclipses"));
    EXPECT_TRUE(ShellOpen("/tmp/doc.html"));
    SetShellOpenHandler(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/eclipses", "/tmp/doc.html"}));
}

TEST(Menus, RightClickOpensThePopupMenuAndItemsRunTheirAction)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 200);
    auto* pb = new TPaintBox(&form);
    pb->SetParent(&form);
    pb->SetBounds(10, 10, 100, 100);
    auto* menu = new TPopupMenu(&form);
    auto* edit = new TMenuItem(&form);
    edit->SetCaption("&Edit");
    auto* del = new TMenuItem(&form);
    del->SetCaption("&Delete");
    del->SetShortCut(ShortCut(VK_DELETE, {}));
    int deletes = 0;
    del->OnClick = [&](rtl::TObject*) { ++deletes; };
    menu->Items()->Add(edit);
    edit->Add(del);
    pb->SetPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](rtl::TObject*) { ++popups; };
    form.Show();
    sim::Click(pb, 30, 40, TMouseButton::mbRight);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), pb);
    EXPECT_EQ(menu->PopupPoint(), pb->ClientToScreen({30, 40}));
    menu->CloseMenu();
    // The item's key works through the menu; a handler that takes the context
    // menu request keeps the menu shut.
    TMessage key{WM_KEYDOWN, VK_DELETE, 1, 0};
    EXPECT_TRUE(menu->IsShortCut(key));
    EXPECT_EQ(deletes, 1);
    pb->OnContextPopup = [](rtl::TObject*, TPoint, bool& handled) { handled = true; };
    sim::Click(pb, 30, 40, TMouseButton::mbRight);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(del->GetParentMenu(), menu);
    delete edit;                              // frees its sub-item too
    EXPECT_EQ(menu->Items()->Count(), 0);
    form.Hide();
}

TEST(Hints, MouseOverAControlSetsTheLongHintAndCanRefuseThePopup)
{
    TForm form(nullptr);
    auto* b = new TButton(&form);
    b->SetParent(&form);
    b->SetHint("Recalculate|Computes the map again");
    b->SetShowHint(true);
    auto* plain = new TPanel(&form);
    plain->SetParent(&form);
    plain->SetBounds(100, 0, 50, 50);
    std::vector<std::string> hints;
    Application->OnHint = [&](rtl::TObject*) { hints.push_back(Application->Hint()); };
    form.Show();
    sim::MouseMove(b, 5, 5);
    sim::MouseMove(plain, 5, 5);
    EXPECT_EQ(hints, (std::vector<std::string>{"Computes the map again", ""}));
    EXPECT_TRUE(Application->ShowControlHint(b, {5, 5}));
    EXPECT_EQ(Application->ShownHint(), "Recalculate");
    auto old = b->WindowProc;
    b->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_HINTSHOW) {
            reinterpret_cast<THintInfo*>(m.LParam)->HintStr = "changed";
            m.Result = 1;                  // refuse
            return;
        }
        old(m);
    };
    EXPECT_FALSE(Application->ShowControlHint(b, {5, 5}));
    b->WindowProc = old;
    Application->OnHint = nullptr;
    Application->CancelHint();
    form.Hide();
}

TEST(Hints, MouseEnterAndLeaveFollowThePointerAcrossGraphicControls)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* a = new TLabel(&form);
    a->SetParent(&form);
    a->SetBounds(10, 10, 40, 20);
    a->SetAutoSize(false);
    a->SetHint("first label");
    auto* b = new TLabel(&form);
    b->SetParent(&form);
    b->SetBounds(100, 10, 40, 20);
    b->SetAutoSize(false);
    auto* status = new TStatusBar(&form);
    status->SetParent(&form);
    status->SetAutoHint(true);
    status->SetSimplePanel(true);
    std::vector<std::string> log;
    a->OnMouseEnter = [&](rtl::TObject*) { log.push_back("enter a"); };
    a->OnMouseLeave = [&](rtl::TObject*) { log.push_back("leave a"); };
    b->OnMouseEnter = [&](rtl::TObject*) { log.push_back("enter b"); };
    form.Show();
    sim::MouseMove(&form, 15, 15);
    EXPECT_EQ(status->SimpleText(), "first label");
    sim::MouseMove(&form, 20, 15);                 // still on a: nothing new
    sim::MouseMove(&form, 105, 15);
    EXPECT_EQ(log, (std::vector<std::string>{"enter a", "leave a", "enter b"}));
    EXPECT_TRUE(b->MouseInClient());
    EXPECT_EQ(status->SimpleText(), "");
    form.Hide();
}
