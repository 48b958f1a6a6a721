// String macros: "%MACRO%" in a text expanded from the program's version
// texts, the clock, the executable's path, the owning form and the screen.
// Every application storage owns one; its date and time formats also serve
// the storage's date-time texts.
//
// The one rule: a macro nobody knows stays in the text without its left
// delimiter ("%NOSUCH%" gives "NOSUCH%"), and an unmatched delimiter keeps
// the rest unchanged ("50% off").
//
//   dbgrids::TUxTranslateString t(form);
//   std::string s = t.TranslateString("%FORMNAME% of %DATE%");
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"

namespace ucl { class TUclFileVersionInfo; }

namespace dbgrids {

using TProcessCommandEvent =
    std::function<void(rtl::TObject* sender, const std::string& command, std::string& commandResult, bool& changed)>;

class TUxTranslateString : public rtl::TComponent {
public:
    explicit TUxTranslateString(rtl::TComponent* owner);
    ~TUxTranslateString() override;

    std::string TranslateString(const std::string& inString);
    std::string TranslateString(const std::string& inString, bool& changed);

    const std::string& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const std::string& v) { FDateFormat = v; }
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& v) { FDateTimeFormat = v; }
    const std::string& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const std::string& v) { FTimeFormat = v; }
    const std::string& LeftDelimiter() const { return FLeftDelimiter; }
    void SetLeftDelimiter(const std::string& v) { FLeftDelimiter = v; }
    const std::string& RightDelimiter() const { return FRightDelimiter; }
    void SetRightDelimiter(const std::string& v) { FRightDelimiter = v; }
    TProcessCommandEvent OnProcessCommand;

    // Where the version texts come from: the program's own block unless a
    // caller (a test) supplies another source, which may raise the
    // version-information error.
    std::function<std::unique_ptr<ucl::TUclFileVersionInfo>()> VersionSource;

protected:
    bool ExpandMacro(const std::string& command, std::string& value);

private:
    std::string VersionValue(int index);
    bool FHandled[4] = {false, false, false, false};
    std::string FValues[4];
    std::string FDateFormat = "dd_mm_yyyy";
    std::string FDateTimeFormat = "dd_mm_yyyy hh_nn_ss";
    std::string FLeftDelimiter = "%";
    std::string FRightDelimiter = "%";
    std::string FTimeFormat = "hh_nn_ss";
};

} // namespace dbgrids
