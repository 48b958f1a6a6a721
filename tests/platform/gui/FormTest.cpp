// A small working form (paint box, edit, combo box, check box, buttons,
// status bar, actions and a menu) driven headless with synthetic input,
// painted into a bitmap and checked; its picture is written as PNG.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gui/ActnList.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/DragDrop.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/StdCtrls.h"
#include "tests/common/TestPaths.h"

using namespace gui;

namespace {

class TTestForm : public TForm {
public:
    TPaintBox* PaintBox;
    TEdit* Edit;
    TComboBox* Combo;
    TCheckBox* Check;
    TButton* OK;
    TButton* Cancel;
    TStatusBar* Status;
    TLabel* Caption;
    TActionList* Actions;
    TAction* actRecalc;
    TMainMenu* Menu;

    std::vector<TPoint> Clicks;
    int Recalcs = 0;

    explicit TTestForm(rtl::TComponent* owner) : TForm(owner)
    {
        SetCaption("Test form");
        SetBounds(0, 0, 360, 260);
        SetColor(clBtnFace);

        Menu = new TMainMenu(this);
        Actions = new TActionList(this);
        actRecalc = new TAction(this);
        actRecalc->SetCaption("&Recalculate");
        actRecalc->SetShortCut(ShortCut(VK_F9, {}));
        actRecalc->AddSecondaryShortCut(ShortCut('R', {TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt}));
        actRecalc->SetActionList(Actions);
        actRecalc->OnExecute = [this](rtl::TObject*) { ++Recalcs; };
        auto* file = new TMenuItem(this);
        file->SetCaption("&File");
        Menu->Items()->Add(file);
        auto* recalc = new TMenuItem(this);
        recalc->SetAction(actRecalc);
        file->Add(recalc);

        Caption = new TLabel(this);
        Caption->SetParent(this);
        Caption->SetLeft(200);
        Caption->SetTop(12);
        Caption->SetCaption("&Name:");

        PaintBox = new TPaintBox(this);
        PaintBox->SetParent(this);
        PaintBox->SetBounds(10, 10, 160, 120);
        PaintBox->SetCursor(crCross);
        PaintBox->OnPaint = [this](rtl::TObject*) {
            TCanvas* c = PaintBox->Canvas();
            c->Brush()->SetColor(clWhite);
            c->FillRect(Rect(0, 0, PaintBox->Width(), PaintBox->Height()));
            c->Brush()->SetColor(clNavy);
            c->Ellipse(40, 20, 120, 100);
            c->Brush()->SetColor(clRed);
            for (const TPoint& p : Clicks) c->FillRect(Rect(p.X - 2, p.Y - 2, p.X + 3, p.Y + 3));
        };
        PaintBox->OnMouseDown = [this](rtl::TObject*, TMouseButton, TShiftState, int x, int y) {
            Clicks.push_back({x, y});
            PaintBox->Invalidate();
        };

        Edit = new TEdit(this);
        Edit->SetParent(this);
        Edit->SetBounds(200, 30, 140, 22);
        Caption->SetFocusControl(Edit);

        Combo = new TComboBox(this);
        Combo->SetParent(this);
        Combo->SetBounds(200, 62, 140, 22);
        Combo->SetStyle(TComboBoxStyle::csDropDownList);
        for (const char* s : {"Robinson", "Mercator", "Plate carree"}) Combo->Items()->Add(s);
        Combo->SetItemIndex(0);

        Check = new TCheckBox(this);
        Check->SetParent(this);
        Check->SetBounds(200, 94, 140, 20);
        Check->SetCaption("Show &grid");

        OK = new TButton(this);
        OK->SetParent(this);
        OK->SetBounds(180, 150, 75, 25);
        OK->SetCaption("OK");
        OK->SetDefault(true);
        OK->SetModalResult(mrOk);

        Cancel = new TButton(this);
        Cancel->SetParent(this);
        Cancel->SetBounds(265, 150, 75, 25);
        Cancel->SetCaption("Cancel");
        Cancel->SetCancel(true);
        Cancel->SetModalResult(mrCancel);

        Status = new TStatusBar(this);
        Status->SetParent(this);
        for (int w : {60, 120, 80, 50}) Status->AddPanel()->SetWidth(w);
        Status->Panels(0)->SetText("Modified");
        Status->Panels(1)->SetText("Internal delta T table");
        Status->Panels(2)->SetAlignment(TAlignment::taCenter);
        Status->Panels(2)->SetText("42%");

        SetMenu(Menu);
    }
};

} // namespace

TEST(TestForm, BuildsLaysOutAndPaints)
{
    auto* form = new TTestForm(Application);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();

    // The status bar sits along the bottom of the client area under the menu.
    EXPECT_EQ(form->Status->Align(), TAlign::alBottom);
    EXPECT_EQ(form->Status->Top() + form->Status->Height(), form->ClientHeight());
    EXPECT_EQ(form->Status->Width(), form->ClientWidth());
    EXPECT_LT(form->ClientHeight(), form->Height());   // the menu bar takes its share
    EXPECT_EQ(form->Status->PanelRect(3).Right, form->ClientWidth());
    EXPECT_EQ(form->Status->PanelRect(1).Left, 60);

    // Focus starts on the first control in tab order.
    EXPECT_EQ(form->ActiveControl(), form->Edit);

    // Clicks on the paint box reach it in its own coordinates and show.
    sim::Click(form->PaintBox, 20, 30);
    sim::Click(form->PaintBox, 140, 100);
    ASSERT_EQ(form->Clicks.size(), 2u);
    EXPECT_EQ(form->Clicks[0], Point(20, 30));
    auto img = form->GetFormImage();
    TCanvas* c = img->Canvas();
    EXPECT_EQ(c->Pixels(10 + 80, 10 + 60), clNavy);    // the ellipse's centre
    EXPECT_EQ(c->Pixels(10 + 5, 10 + 5), clWhite);     // paint box background
    EXPECT_EQ(c->Pixels(10 + 20, 10 + 30), clRed);     // first click mark
    EXPECT_EQ(c->Pixels(10 + 140, 10 + 100), clRed);
    EXPECT_EQ(c->Pixels(5, 5), ColorToRGB(clBtnFace)); // the form around it

    // The edit takes typed text; the check box toggles on a click.
    sim::TypeText("Ecl");
    EXPECT_EQ(form->Edit->Text(), "Ecl");
    int clicks = 0;
    form->Check->OnClick = [&](rtl::TObject*) { ++clicks; };
    sim::Click(form->Check, 8, 10);
    EXPECT_TRUE(form->Check->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ActiveControl(), form->Check);   // clicking took the focus

    // The accelerator of the label focuses its control; Alt+G clicks the check box.
    sim::KeyPress('N', {TShiftStateItem::ssAlt});
    EXPECT_EQ(form->ActiveControl(), form->Edit);
    sim::KeyPress('G', {TShiftStateItem::ssAlt});
    EXPECT_FALSE(form->Check->Checked());

    // The screenshot of the form, for a person to look at.
    const auto dir = tectest::ScratchDir("gui-form");
    auto shot = form->GetImage();
    TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "test-form.png").string());
    EXPECT_GT(std::filesystem::file_size(dir / "test-form.png"), 1000u);
    std::printf("form picture: %s\n", (dir / "test-form.png").c_str());
    form->Release();
    Application->ProcessMessages();
}

TEST(TestForm, EnterOnTheDefaultButtonClosesTheModalFormWithItsResult)
{
    for (auto [key, expected] : {std::pair{VK_RETURN, mrOk}, std::pair{VK_ESCAPE, mrCancel}}) {
        TTestForm form(nullptr);
        std::string edited;
        form.OnShow = [&](rtl::TObject*) {
            // The user types into the edit and presses the key.
            QueueInMainThread([&] { sim::TypeText("x"); });
            sim::PostKeyPress(key);
        };
        form.OnClose = [&](rtl::TObject*, TCloseAction&) { edited = form.Edit->Text(); };
        EXPECT_EQ(form.ShowModal(), expected);
        EXPECT_FALSE(form.Visible());
        EXPECT_EQ(edited, "x");
    }
}

TEST(TestForm, FocusOnAnotherButtonMakesEnterClickThatButton)
{
    TTestForm form(nullptr);
    form.OnShow = [&](rtl::TObject*) {
        form.Cancel->SetFocus();
        sim::PostKeyPress(VK_RETURN);
    };
    EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(TestForm, CloseQueryCanKeepTheModalFormOpen)
{
    TTestForm form(nullptr);
    int asked = 0;
    form.OnCloseQuery = [&](rtl::TObject*, bool& canClose) {
        canClose = ++asked > 1;
        if (!canClose) sim::PostKeyPress(VK_RETURN);   // the user tries again
    };
    form.OnShow = [&](rtl::TObject*) { sim::PostKeyPress(VK_ESCAPE); };
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
    EXPECT_THROW({
        form.Show();
        form.ShowModal();
    }, rtl::EInvalidOperation);
    form.Hide();
}

TEST(TestForm, ShortcutsRunTheirActionAndMenuItemsFollowIt)
{
    TTestForm form(nullptr);
    form.Show();
    sim::KeyPress(VK_F9);
    EXPECT_EQ(form.Recalcs, 1);
    sim::KeyPress('R', {TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt});   // the secondary shortcut
    EXPECT_EQ(form.Recalcs, 2);
    EXPECT_EQ(form.Edit->Text(), "");                   // the keys did not reach the edit

    // A disabled action's key runs nothing and goes on to the control.
    form.actRecalc->SetEnabled(false);
    sim::KeyPress(VK_F9);
    EXPECT_EQ(form.Recalcs, 2);

    // The menu item follows the action and runs it.
    TMenuItem* item = form.Menu->Items()->Items(0)->Items(0);
    EXPECT_EQ(item->Caption(), "&Recalculate");
    EXPECT_FALSE(item->Enabled());
    form.actRecalc->SetEnabled(true);
    EXPECT_TRUE(item->Enabled());
    item->Click();
    EXPECT_EQ(form.Recalcs, 3);
    EXPECT_EQ(ShortCutToText(item->ShortCut()), "F9");

    // OnUpdate runs when the program is idle.
    int updates = 0;
    form.actRecalc->OnUpdate = [&](rtl::TObject*) { ++updates; form.actRecalc->SetEnabled(false); };
    bool done = true;
    Application->DoIdle(done);
    EXPECT_GE(updates, 1);
    EXPECT_FALSE(item->Enabled());
    form.Hide();
}

TEST(TestForm, FilesDroppedOnTheFormArrive)
{
    TTestForm form(nullptr);
    std::vector<std::string> got, viaMessage;
    form.Show();
    EXPECT_FALSE(sim::DropFiles(&form, {"/tmp/a.sec"}, 50, 50));   // not accepted yet
    form.OnFilesDropped = [&](rtl::TObject*, const std::vector<std::string>& files) { got = files; };
    DragAcceptFiles(form.Handle(), true);
    auto oldProc = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_DROPFILES)
            for (int i = 0; i < DragQueryFileCount(m.WParam); ++i) viaMessage.push_back(DragQueryFile(m.WParam, i));
        oldProc(m);
    };
    EXPECT_TRUE(sim::DropFiles(&form, {"/tmp/a.sec", "/tmp/b c.sec"}, 50, 50));
    EXPECT_EQ(got, (std::vector<std::string>{"/tmp/a.sec", "/tmp/b c.sec"}));
    EXPECT_EQ(viaMessage, got);
    form.WindowProc = oldProc;
    form.Hide();
}
