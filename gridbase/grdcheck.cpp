#include "gridbase/grdcheck.h"

namespace gridbase {

RTL_PUBLISHED(TExStringGridCheck)
{
    c.Property("UseCorrect", &TExStringGridCheck::UseCorrect, &TExStringGridCheck::SetUseCorrect).Default(false);
    c.Property("UseMarkError", &TExStringGridCheck::UseMarkError, &TExStringGridCheck::SetUseMarkError).Default(false);
    c.Property("AutoCorrect", &TExStringGridCheck::AutoCorrect, &TExStringGridCheck::SetAutoCorrect).Default(false);
    c.Property("AutoMarkError", &TExStringGridCheck::AutoMarkError, &TExStringGridCheck::SetAutoMarkError)
        .Default(false);
    c.Property("GotoCell", &TExStringGridCheck::GotoCell, &TExStringGridCheck::SetGotoCell).Default(false);
}

std::string TExStringGridCheck::MarkError(int, int, const std::string& s) { return s; }

std::string TExStringGridCheck::Correct(int, int, const std::string& s) { return s; }

void TExStringGridCheck::StartCheck() {}

void TExStringGridCheck::StopCheck() {}

} // namespace gridbase
