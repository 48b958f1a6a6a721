#include "dbgrids/UxTranslateString.h"

#include "dbgrids/ucl/UclFileUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

namespace {

const char* const kVersionKeys[4] = {"ProductName", "CompanyName", "FileVersion", "ProductVersion"};
const char* const kMacros[4] = {"APPL_NAME", "COMPANY_NAME", "FILEVERSION", "PRODUCTVERSION"};
const char* const kFallbacks[4] = {"MyUXLApplication", "MyCompany", "0.0.0.0", "0.0.0.0"};

std::string ExeName()
{
    return gui::Application ? gui::Application->ExeName() : std::string();
}

std::string FileNameOnly(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

TUxTranslateString::TUxTranslateString(rtl::TComponent* owner) : rtl::TComponent(owner) {}
TUxTranslateString::~TUxTranslateString() = default;

std::string TUxTranslateString::VersionValue(int index)
{
    if (FHandled[index]) return FValues[index];
    try {
        std::unique_ptr<ucl::TUclFileVersionInfo> info =
            VersionSource ? VersionSource() : ucl::TUclFileVersionInfo::Attach(ucl::ProgramVersionBlob());
        FValues[index] = info->GetCustomFieldValue(kVersionKeys[index]);
    } catch (const ucl::EUclFileVersionInfoError& e) {
        if (e.Message() == "File contains no version information" || e.Message().rfind("The file ", 0) == 0) {
            FValues[index] = kFallbacks[index];
            gui::MessageDlg(std::string("The Default Root Value \"") + kMacros[index] + "\" has been replaced with \"" +
                                kFallbacks[index] + "\".\nPlease change the value in the FileVersionInfo Project Properties.",
                            gui::TMsgDlgType::mtInformation, {gui::TMsgDlgBtn::mbOK});
        } else {
            FValues[index].clear();  // the block has no such value: empty
        }
    }
    FHandled[index] = true;
    return FValues[index];
}

bool TUxTranslateString::ExpandMacro(const std::string& command, std::string& value)
{
    std::string cmd = rtl::Trim(rtl::UpperCase(command));
    bool handled = true;
    if (cmd == "APPL_NAME") {
        value = VersionValue(0);
        if (value.empty()) value = FileNameOnly(ExeName());
    } else if (cmd == "COMPANY_NAME") {
        value = VersionValue(1);
    } else if (cmd == "FILEVERSION") {
        value = VersionValue(2);
    } else if (cmd == "PRODUCTVERSION") {
        value = VersionValue(3);
    } else if (cmd == "DATE") {
        value = rtl::FormatDateTime(FDateFormat, rtl::Now());
    } else if (cmd == "TIME") {
        value = rtl::FormatDateTime(FTimeFormat, rtl::Now());
    } else if (cmd == "DATETIME") {
        value = rtl::FormatDateTime(FDateTimeFormat, rtl::Now());
    } else if (cmd == "EXENAME") {
        value = ExeName();
    } else if (cmd == "FILENAME") {
        value = FileNameOnly(ExeName());
    } else if (cmd == "FULLDIREXE") {
        std::string exe = ExeName();
        auto slash = exe.find_last_of('/');
        value = slash == std::string::npos ? std::string() : exe.substr(0, slash);
    } else if (cmd == "FORMNAME" || cmd == "FORMCAPTION") {
        gui::TCustomForm* form = nullptr;
        for (rtl::TComponent* o = Owner(); o && !form; o = o->Owner()) form = dynamic_cast<gui::TCustomForm*>(o);
        value = !form ? std::string() : cmd == "FORMNAME" ? form->Name() : form->Caption();
    } else if (cmd == "SCREENSIZE") {
        value = gui::Screen ? std::to_string(gui::Screen->Width()) + "x" + std::to_string(gui::Screen->Height()) : "0x0";
    } else if (cmd == "DESKTOPSIZE") {
        gui::TRect r = gui::Screen ? gui::Screen->DesktopRect() : gui::TRect{};
        value = std::to_string(r.Width()) + "x" + std::to_string(r.Height());
    } else {
        handled = false;
    }
    if (OnProcessCommand) OnProcessCommand(this, cmd, value, handled);
    return handled;
}

std::string TUxTranslateString::TranslateString(const std::string& inString)
{
    bool changed = false;
    return TranslateString(inString, changed);
}

std::string TUxTranslateString::TranslateString(const std::string& inString, bool& changed)
{
    std::string result, s = inString;
    while (!s.empty()) {
        auto left = FLeftDelimiter.empty() ? std::string::npos : s.find(FLeftDelimiter);
        if (left == std::string::npos) {
            result += s;
            break;
        }
        result += s.substr(0, left);
        s.erase(0, left + 1);
        auto right = FRightDelimiter.empty() ? std::string::npos : s.find(FRightDelimiter);
        if (right == std::string::npos) {
            result += FLeftDelimiter.substr(0, 1) + s;
            break;
        }
        std::string command = s.substr(0, right);
        std::string value;
        if (ExpandMacro(command, value)) {
            result += value;
            s.erase(0, right + 1);
            changed = true;
        } else {
            result += command;
            s.erase(0, right);
        }
    }
    return result;
}

} // namespace dbgrids
