// The progress window.

#include "reportout/qlrProgress.h"

#include <algorithm>

#include "report/qlrRes.h"

namespace qlr {

TqlrProgress::TqlrProgress(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsNone);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetClientSize(271, 101);
    Panel1 = new gui::TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(gui::TAlign::alClient);
    Panel1->SetBevelOuter(gui::TBevelCut::bvRaised);
    Panel1->SetBevelWidth(2);
    Panel1->SetShowCaption(false);
    LMessage = new gui::TLabel(this);
    LMessage->SetParent(Panel1);
    LMessage->SetAutoSize(false);
    LMessage->SetAlignment(gui::TAlignment::taCenter);
    LMessage->SetBounds(16, 15, 237, 16);
    Bar = new gui::TProgressBar(this);
    Bar->SetParent(Panel1);
    Bar->SetBounds(16, 37, 237, 17);
    Bar->SetStep(1);
    CancelB = new gui::TButton(this);
    CancelB->SetParent(Panel1);
    CancelB->SetBounds(100, 64, 75, 25);
    CancelB->SetCaption(GetResources().Get("2"));
    CancelB->SetCancel(true);
    CancelB->OnClick = [this](rtl::TObject*) { SetTerminated(true); };
    // Any point of the window drags it: it has no title bar of its own.
    auto down = [this](rtl::TObject*, gui::TMouseButton b, gui::TShiftState, int x, int y) {
        FDragging = b == gui::TMouseButton::mbLeft;
        FDragStart = {x, y};
    };
    auto move = [this](rtl::TObject*, gui::TShiftState, int x, int y) {
        if (FDragging) SetBounds(Left() + x - FDragStart.X, Top() + y - FDragStart.Y, Width(), Height());
    };
    auto up = [this](rtl::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { FDragging = false; };
    Panel1->OnMouseDown = down;
    Panel1->OnMouseMove = move;
    Panel1->OnMouseUp = up;
    LMessage->OnMouseDown = down;
    LMessage->OnMouseMove = move;
    LMessage->OnMouseUp = up;

    FActiveForm = gui::Screen ? gui::Screen->ActiveForm() : nullptr;
    if (FActiveForm) FActiveForm->SetEnabled(false);
    Bar->SetMin(0);
    Bar->SetMax(100);
    SetPosition(0);
}

TqlrProgress::~TqlrProgress() { EnableActiveForm(); }

void TqlrProgress::EnableActiveForm()
{
    if (FActiveForm) FActiveForm->SetEnabled(true);
}

void TqlrProgress::DoHide()
{
    EnableActiveForm();
    gui::TForm::DoHide();
}

void TqlrProgress::Pump()
{
    if (gui::Application) gui::Application->ProcessMessages();
}

void TqlrProgress::Execute(int maxValue, const std::string& msg, bool canceled, bool progress)
{
    FTerminated = false;
    CancelB->SetVisible(canceled);
    SetBarVisible(progress);
    Bar->SetMin(0);
    Reset();
    Bar->SetMax(maxValue);
    SetMessage(msg);
    Show();
    // Wholly on the monitor of the form that was active.
    if (FActiveForm) {
        const gui::TRect area = gui::Screen->WorkAreaRect();
        int l = std::min(std::max(Left(), area.Left), area.Right - Width());
        int t = std::min(std::max(Top(), area.Top), area.Bottom - Height());
        SetBounds(l, t, Width(), Height());
    }
    Pump();
}

void TqlrProgress::Tick()
{
    if (FPosition < Bar->Max() && FPosition >= Bar->Min()) SetPosition(FPosition + 1);
}

void TqlrProgress::SetTerminated(bool value)
{
    FTerminated = value;
    if (value) Close();
}

void TqlrProgress::SetPosition(int value)
{
    FPosition = value;
    Bar->SetPosition(value);
    if (Visible()) BringToFront();
    Pump();
}

void TqlrProgress::SetMessage(const std::string& value)
{
    FMessage = value;
    LMessage->SetCaption(value);
    LMessage->Repaint();
}

void TqlrProgress::SetBarVisible(bool value)
{
    FProgress = value;
    Bar->SetVisible(value);
    LMessage->SetTop(value ? 15 : 35);
}

} // namespace qlr
