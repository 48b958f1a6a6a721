// The report engine's small windows: the search dialog of the preview, the
// password dialog, the window behind a report's dialog page, the
// inheritance-conflict dialog, and the tool-bar panel of the preview.
// Their texts come from the report engine's string resources.
//
// The rule a caller must know: the search dialog remembers the text
// confirmed with OK for the rest of the program; read the controls after
// ShowModal answered mrOk.
//
// Example:
//   qlr::TqlrSearchDialog dlg(nullptr);
//   if (dlg.ShowModal() == gui::mrOk) Find(dlg.TextE->Text(), dlg.CaseCB->Checked());
#pragma once

#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {

class TqlrSearchDialog : public gui::TForm {
public:
    explicit TqlrSearchDialog(rtl::TComponent* owner);
    // The text confirmed last (program-wide).
    static std::string& LastSearchText();

    gui::TPanel *TextPanel, *ReplacePanel, *OptionsPanel;
    gui::TLabel *TextL, *ReplaceL;
    gui::TEdit *TextE, *ReplaceE;
    gui::TGroupBox* SearchL;
    gui::TCheckBox *TopCB, *CaseCB;
    gui::TButton *OkB, *CancelB;

protected:
    void DoShow() override;
    void DoHide() override;
};

class TqlrPasswordForm : public gui::TForm {
public:
    explicit TqlrPasswordForm(rtl::TComponent* owner);
    gui::TLabel* PasswordL;
    gui::TEdit* PasswordE;
    gui::TButton *OkB, *CancelB;
};

// The window of a report's dialog page.  Its own close query refuses every
// close until the dialog page puts its handlers in place.
class TqlrDialogForm : public gui::TForm {
public:
    // owner is the dialog page (not the form's owner); Tag 318 on it marks
    // a thread-safe report.
    explicit TqlrDialogForm(rtl::TComponent* owner);
    bool ThreadSafe() const { return FThreadSafe; }
    void Dispatch(gui::TMessage& message) override;
    rtl::TNotifyEvent OnModify;

private:
    bool FThreadSafe = false;
};

class TqlrInheritErrorForm : public gui::TForm {
public:
    explicit TqlrInheritErrorForm(rtl::TComponent* owner);
    gui::TPaintBox* PaintBox1;
    gui::TLabel* MessageL;
    gui::TRadioButton *DeleteRB, *RenameRB;
    gui::TButton *OkB, *CancelB;
};

// A tool-bar host: put into a panel it aligns to the top when that panel's
// parent is aligned left or right, to the left otherwise.
class TqlrTBPanel : public gui::TPanel {
public:
    explicit TqlrTBPanel(rtl::TComponent* owner);
    void SetParent(gui::TWinControl* parent) override;
};

} // namespace qlr
