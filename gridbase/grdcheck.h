// grdcheck: the base of cell text checkers.  A string grid refers to one
// checker and asks it to correct a cell's text (Correct) or to mark errors
// in it (MarkError); the options say when: on an explicit check of a range
// (UseCorrect, UseMarkError, GotoCell) and after each cell edit
// (AutoCorrect, AutoMarkError).  The base class checks nothing.
//
// The rule a caller must know: a checker returns its input unchanged for a
// text it finds correct; the grid counts a cell as passed when the text
// comes back the same.  All options start False.
//
//   class TUpperCheck : public gridbase::TExStringGridCheck {
//   public:
//       using TExStringGridCheck::TExStringGridCheck;
//       std::string Correct(int, int, const std::string& s) override { return rtl::UpperCase(s); }
//   };
#pragma once

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"

namespace gridbase {

class TExStringGridCheck : public rtl::TComponent {
    RTL_CLASS(TExStringGridCheck, rtl::TComponent)
public:
    using rtl::TComponent::TComponent;

    // The text with its errors marked; here s unchanged.
    virtual std::string MarkError(int aCol, int aRow, const std::string& s);
    // The corrected text; here s unchanged.
    virtual std::string Correct(int aCol, int aRow, const std::string& s);
    // Called once before and once after an explicit check of a range.
    virtual void StartCheck();
    virtual void StopCheck();

    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool v) { FUseCorrect = v; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool v) { FUseMarkError = v; }
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool v) { FAutoCorrect = v; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool v) { FAutoMarkError = v; }
    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool v) { FGotoCell = v; }

private:
    bool FUseCorrect = false;
    bool FUseMarkError = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FGotoCell = false;
};

} // namespace gridbase
