// The splash window shown while the program starts, which doubles as the
// About box (closed by a click or Escape when FCanClose is set).
#pragma once

#include "htmltext/HTMLLabel.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace app {

// The resource holding the program's icon (PNG).
inline const std::string ProgramIconResource = "PROGRAM_ICON";

class TSplashScreen : public gui::TForm {
public:
    explicit TSplashScreen(rtl::TComponent* owner);
    gui::TPanel* Panel1;
    gui::TImage* ProgramIcon;
    gui::TLabel* ProductName;
    gui::TLabel* Version;
    // The credits, with links to the maker's web site and the catalogues.
    htmltext::THTMLLabel* HTMLLabel;
    bool FCanClose = false;
    // A click on the panel, product name or credits, or Escape.
    void ClickClose();
};

// The credits label's markup.
std::string SplashCreditsMarkup();

// "v" + the program's version + "  (" + the program file's date + ")".
std::string SplashVersionText();

} // namespace app
