// The search, password, dialog-page and inheritance windows, and the
// tool-bar panel.

#include "reportout/qlrReportDialogs.h"

#include "report/qlrRes.h"
#include "reportout/qlrFormParts.h"

namespace qlr {

namespace {

// A resource text, or the design text when the table lacks the name.
std::string Res(const std::string& name, const std::string& fallback)
{
    const std::string text = GetResources().Get(name);
    return text == name ? fallback : text;
}

void OkCancel(gui::TForm* form, gui::TWinControl* parent, int left, int top, gui::TButton*& ok,
              gui::TButton*& cancel)
{
    ok = MakeControl<gui::TButton>(form, parent, left, top, 75, 25);
    ok->SetCaption(Res("1", "OK"));
    ok->SetDefault(true);
    ok->SetModalResult(gui::mrOk);
    cancel = MakeControl<gui::TButton>(form, parent, left + 81, top, 75, 25);
    cancel->SetCaption(Res("2", "Cancel"));
    cancel->SetCancel(true);
    cancel->SetModalResult(gui::mrCancel);
}

gui::TPanel* BarePanel(gui::TForm* form, int height)
{
    auto* p = new gui::TPanel(form);
    p->SetParent(form);
    p->SetAlign(gui::TAlign::alTop);
    p->SetHeight(height);
    p->SetBevelOuter(gui::TBevelCut::bvNone);
    p->SetShowCaption(false);
    return p;
}

} // namespace

// --- search -----------------------------------------------------------------

std::string& TqlrSearchDialog::LastSearchText()
{
    static std::string text;
    return text;
}

TqlrSearchDialog::TqlrSearchDialog(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetKeyPreview(true);
    SetCaption(Res("300", "Find Text"));
    SetClientSize(300, 148);
    OptionsPanel = BarePanel(this, 96);
    ReplacePanel = BarePanel(this, 24);
    TextPanel = BarePanel(this, 28);
    TextL = MakeControl<gui::TLabel>(this, TextPanel, 8, 10, 90, 16);
    TextL->SetCaption(Res("301", "Text to find:"));
    TextE = MakeControl<gui::TEdit>(this, TextPanel, 100, 6, 192, 21);
    ReplaceL = MakeControl<gui::TLabel>(this, ReplacePanel, 8, 6, 90, 16);
    ReplaceL->SetCaption(Res("303", "Replace with"));
    ReplaceE = MakeControl<gui::TEdit>(this, ReplacePanel, 100, 2, 192, 21);
    ReplacePanel->SetVisible(false);
    SearchL = MakeControl<gui::TGroupBox>(this, OptionsPanel, 8, 4, 284, 56);
    SearchL->SetCaption(Res("302", "Search options"));
    TopCB = MakeControl<gui::TCheckBox>(this, SearchL, 10, 16, 260, 17);
    TopCB->SetCaption(Res("304", "Search from beginning"));
    CaseCB = MakeControl<gui::TCheckBox>(this, SearchL, 10, 34, 260, 17);
    CaseCB->SetCaption(Res("305", "Case sensitive"));
    OkCancel(this, OptionsPanel, 136, 66, OkB, CancelB);
    SetClientHeight(28 + 96);
}

void TqlrSearchDialog::DoShow()
{
    TextE->SetText(LastSearchText());
    gui::TForm::DoShow();
    if (TextE->CanFocus()) TextE->SetFocus();
    TextE->SelectAll();
}

void TqlrSearchDialog::DoHide()
{
    if (ModalResult() == gui::mrOk) LastSearchText() = TextE->Text();
    gui::TForm::DoHide();
}

// --- password ---------------------------------------------------------------

TqlrPasswordForm::TqlrPasswordForm(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetClientSize(252, 92);
    SetCaption(Res("5000", "Password"));
    PasswordL = MakeControl<gui::TLabel>(this, this, 52, 12, 190, 16);
    PasswordL->SetCaption(Res("5001", "Enter the password:"));
    PasswordE = MakeControl<gui::TEdit>(this, this, 52, 30, 190, 21);
    PasswordE->SetPasswordChar(u'*');
    OkCancel(this, this, 88, 60, OkB, CancelB);
    SetActiveControl(PasswordE);
}

// --- dialog page window ------------------------------------------------------

TqlrDialogForm::TqlrDialogForm(rtl::TComponent* owner) : gui::TForm(nullptr)
{
    FThreadSafe = owner && owner->Tag() == 318;
    SetCaption(" ");
    SetClientSize(115, 59);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetKeyPreview(true);
    OnCloseQuery = [](rtl::TObject*, bool& canClose) { canClose = false; };
}

void TqlrDialogForm::Dispatch(gui::TMessage& message)
{
    if (message.Msg == gui::WM_GETDLGCODE) {
        message.Result = 3;
        return;
    }
    gui::TForm::Dispatch(message);
    if (message.Msg == gui::WM_EXITSIZEMOVE && OnModify) OnModify(this);
}

// --- inheritance conflict ------------------------------------------------------

TqlrInheritErrorForm::TqlrInheritErrorForm(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetClientSize(256, 152);
    SetCaption(Res("6000", "Error"));
    PaintBox1 = MakeControl<gui::TPaintBox>(this, this, 12, 12, 32, 32);
    // The warning picture: a yellow triangle with a mark.
    PaintBox1->OnPaint = [this](rtl::TObject*) {
        gui::TCanvas* c = PaintBox1->Canvas();
        c->Brush()->SetColor(PaintBox1->Color());
        c->FillRect(gui::TRect(0, 0, 32, 32));
        c->Pen()->SetColor(gui::clBlack);
        c->Brush()->SetColor(gui::clYellow);
        c->Polygon({{16, 2}, {30, 28}, {2, 28}});
        c->Brush()->SetColor(gui::clBlack);
        c->FillRect(gui::TRect(15, 10, 17, 20));
        c->FillRect(gui::TRect(15, 22, 17, 24));
    };
    // Wrapped within a fixed box above the choices.
    MessageL = MakeControl<gui::TLabel>(this, this, 56, 12, 190, 48);
    MessageL->SetAutoSize(false);
    MessageL->SetWordWrap(true);
    MessageL->SetCaption(Res("6001", "Base and inherited reports have duplicate objects. What should we do?"));
    DeleteRB = MakeControl<gui::TRadioButton>(this, this, 56, 64, 190, 17);
    DeleteRB->SetCaption(Res("6002", "Delete duplicates"));
    DeleteRB->SetChecked(true);
    RenameRB = MakeControl<gui::TRadioButton>(this, this, 56, 86, 190, 17);
    RenameRB->SetCaption(Res("6003", "Rename duplicates"));
    OkCancel(this, this, 92, 118, OkB, CancelB);
}

// --- tool-bar panel -------------------------------------------------------------

TqlrTBPanel::TqlrTBPanel(rtl::TComponent* owner) : gui::TPanel(owner)
{
    SetAlign(gui::TAlign::alLeft);
    SetBounds(0, 0, 8, 8);
    SetBevelOuter(gui::TBevelCut::bvNone);
    SetBevelInner(gui::TBevelCut::bvNone);
    SetShowCaption(false);
}

void TqlrTBPanel::SetParent(gui::TWinControl* parent)
{
    gui::TPanel::SetParent(parent);
    if (ComponentState().Contains(rtl::TComponentStateItem::csDestroying)) return;
    if (dynamic_cast<gui::TCustomPanel*>(parent)) {
        gui::TWinControl* grand = parent->Parent();
        const bool side = grand && (grand->Align() == gui::TAlign::alLeft || grand->Align() == gui::TAlign::alRight);
        SetAlign(side ? gui::TAlign::alTop : gui::TAlign::alLeft);
    }
}

} // namespace qlr
