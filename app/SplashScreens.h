// The splash window shown while the program starts, which doubles as the
// About box (closed by a click when FCanClose is set).
#pragma once

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TSplashScreen : public gui::TForm {
public:
    explicit TSplashScreen(rtl::TComponent* owner);
    gui::TPanel* Panel1;
    gui::TImage* ProgramIcon;
    gui::TLabel* ProductName;
    gui::TLabel* Version;
    // Interim for the markup label: a plain label with the credits.
    gui::TLabel* HTMLLabel;
    bool FCanClose = false;
    // A click on the panel, product name or credits.
    void ClickClose();
};

// "v" + the program's version + "  (" + the program file's date + ")".
std::string SplashVersionText();

} // namespace app
