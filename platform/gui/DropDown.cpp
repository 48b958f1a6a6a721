// The drop-down window: shown without activation, told of presses outside
// it through an application-wide event filter while it shows.

#include "platform/gui/DropDown.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "platform/gui/ControlsQt.h"

namespace gui {

struct TDropDownForm::Watch : QObject {
    TDropDownForm* Form = nullptr;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        const bool press = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick;
        if ((!press && t != QEvent::ApplicationDeactivate) || !Form || !Form->Visible()) return false;
        if (press) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (!w) return false;
            QWidget* mine = ControlAccess::Widget(Form);
            for (QWidget* p = w; p; p = p->parentWidget())
                if (p == mine || p == mine->window()) return false;
        }
        Form->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
        return false;
    }
};

TDropDownForm::TDropDownForm(rtl::TComponent* owner) : TCustomForm(owner), FWatch(std::make_unique<Watch>())
{
    FWatch->Form = this;
    SetBorderIcons({});
    SetBorderStyle(TBorderStyle::bsNone);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetShowWithoutActivation(true);
}

TDropDownForm::~TDropDownForm()
{
    if (qApp) qApp->removeEventFilter(FWatch.get());
    FWatch->Form = nullptr;
}

void TDropDownForm::SetVisible(bool visible)
{
    if (visible && !Visible() && qApp) qApp->installEventFilter(FWatch.get());
    if (!visible && qApp) qApp->removeEventFilter(FWatch.get());
    TCustomForm::SetVisible(visible);
}

TCustomForm* TDropDownForm::TopForm(const TControl* control)
{
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

} // namespace gui
