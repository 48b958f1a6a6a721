// Tolmira Eclipse Calculator: the program's start-up.
#include <clocale>
#include <string>
#include <vector>

#include "app/ProgramStart.h"
#include "app/SEPaths.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"

int main(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "C");
    rtl::FormatSettings().DecimalSeparator = '.';
    app::InitPaths();
    gui::Application->Initialize();
    app::TProgramWindows windows = app::StartProgram(std::vector<std::string>(argv + 1, argv + argc));
    gui::Application->Run();
    app::EndProgram(windows);
    return 0;
}
