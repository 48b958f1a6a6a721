#include "platform/gui/HintWindow.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindows.h"

namespace gui {

namespace {
THintWindow* gHintWindow = nullptr;
const rtl::TClassInfo* gHintClass = nullptr;
// The shown window is owned by its form: freed with it, it is forgotten.
void ForgetHintWindow(THintWindow* w)
{
    if (gHintWindow == w) gHintWindow = nullptr;
}
} // namespace

RTL_PUBLISHED(THintWindow) {}

THintWindow::THintWindow(rtl::TComponent* owner) : TCustomControl(owner)
{
    SetColor(clInfoBk);
    SetVisible(false);
}

THintWindow::~THintWindow()
{
    ForgetHintWindow(this);
}

void THintWindow::SetCaption(const std::string& v)
{
    if (FCaption == v) return;
    FCaption = v;
    TextChanged();
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    if (hint.empty()) return {0, 0, 0, 0};
    Canvas()->Font()->Assign(Font());
    TRect r{0, 0, maxWidth, 0};
    Canvas()->DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return {0, 0, r.Right + 6, r.Bottom + 2};
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint)
{
    SetCaption(hint);
    if (Parent() && !IsPopupWindow(this)) SetPopupWindow(this, TPopupWindowOptions{true, true});
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    Show();
    Invalidate();
}

void THintWindow::ReleaseHandle() { Hide(); }

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    c->Font()->Assign(Font());
    TRect t{r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom};
    c->DrawText(FCaption, t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

namespace {
const rtl::TClassInfo* gDefaultHintClass = nullptr;
}

const rtl::TClassInfo* HintWindowClass() { return gDefaultHintClass; }
void SetHintWindowClass(const rtl::TClassInfo* cls) { gDefaultHintClass = cls; }

bool ShowHintInWindow(const THintInfo& info)
{
    if (!info.HintWindowClass || !info.HintControl || !info.HintWindowClass->CanCreate()) return false;
    TCustomForm* form = GetParentForm(info.HintControl);
    if (!form) return false;
    if (gHintWindow && (gHintClass != info.HintWindowClass || gHintWindow->Parent() != form)) {
        delete gHintWindow;
        gHintWindow = nullptr;
    }
    if (!gHintWindow) {
        rtl::TObject* made = info.HintWindowClass->Create(form);
        gHintWindow = dynamic_cast<THintWindow*>(made);
        if (!gHintWindow) {
            delete made;
            return false;
        }
        gHintClass = info.HintWindowClass;
        gHintWindow->SetParent(form);
        SetPopupWindow(gHintWindow, TPopupWindowOptions{true, true});
    }
    gHintWindow->SetColor(info.HintColor);
    const int maxWidth = info.HintMaxWidth > 0 ? info.HintMaxWidth : (Screen ? Screen->Width() : 1024);
    TRect r = gHintWindow->CalcHintRect(maxWidth, info.HintStr, info.HintData);
    r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
    gHintWindow->ActivateHint(r, info.HintStr);
    return true;
}

void HideHintWindow()
{
    if (gHintWindow) gHintWindow->ReleaseHandle();
}

THintWindow* ActiveHintWindow() { return gHintWindow && gHintWindow->Visible() ? gHintWindow : nullptr; }

} // namespace gui
