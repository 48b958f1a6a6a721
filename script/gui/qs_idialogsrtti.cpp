#include "script/gui/qs_idialogsrtti.h"

#include "platform/gui/DataModules.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/GuiClassInfo.h"
#include "platform/rtl/TypInfo.h"

namespace qs {

namespace {

using rtl::TClassInfo;
using rtl::TObject;

template <typename T>
const TClassInfo* Cls()
{
    return &rtl::typinfo_detail::ExternalClassInfo(typeid(T));
}

std::string StrParam(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }

} // namespace

TqsDialogsFunctions::TqsDialogsFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    gui::DescribeGuiClasses();
    TqsScript* s = AScript;
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    s->AddEnumSet("TOpenOptions",
                  "ofReadOnly, ofOverwritePrompt, ofHideReadOnly,ofNoChangeDir, ofShowHelp, ofNoValidate, "
                  "ofAllowMultiSelect,ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,"
                  "ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton,ofNoLongNames, "
                  "ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify,ofEnableSizing");
    s->AddEnumSet("TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp,cdSolidColor, cdAnyColor");
    s->AddEnumSet("TFontDialogOptions",
                  "fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                  "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                  "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
    s->AddEnumSet("TPrintDialogOptions", "poPrintToFile, poPageNums, poSelection,poWarning, poHelp, poDisablePrintToFile");
    s->AddEnumSet("TMsgDlgButtons",
                  "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp");
    s->AddEnum("TFileEditStyle", "fsEdit, fsComboBox");
    s->AddEnum("TFontDialogDevice", "fdScreen, fdPrinter, fdBoth");
    s->AddEnum("TPrintRange", "prAllPages, prSelection, prPageNums");
    s->AddEnum("TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");

    if (auto* c = s->AddClass(Cls<gui::TCommonDialog>(), "TComponent")) c->AddMethod("function Execute: Boolean", call);
    for (const TClassInfo* cls : {Cls<gui::TOpenDialog>(), Cls<gui::TSaveDialog>(), Cls<gui::TColorDialog>(),
                                  Cls<gui::TFontDialog>(), Cls<gui::TPrintDialog>(), Cls<gui::TPrinterSetupDialog>()})
        s->AddClass(cls, "TCommonDialog");

    for (const char* d : {"function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer",
                          "function InputBox(ACaption, APrompt, ADefault: string): string",
                          "function InputQuery(ACaption, APrompt: string; var Value: string): Boolean"})
        s->AddMethod(d, call, "ctOther");
}

Variant TqsDialogsFunctions::CallMethod(TObject* Instance, const TClassInfo* ClassType, const std::string& MethodName,
                                        TqsMethodHelper* Caller)
{
    const std::string& n = MethodName;
    if (ClassType == Cls<gui::TCommonDialog>()) {
        auto* d = dynamic_cast<gui::TCommonDialog*>(Instance);
        return d && n == "EXECUTE" ? Variant(d->Execute()) : Variant(0);
    }
    if (ClassType) return Variant(0);
    if (n == "MESSAGEDLG") {
        int32_t type = Caller->GetParam(1).AsInteger();
        if (type < 0 || type > static_cast<int32_t>(gui::TMsgDlgType::mtCustom))
            throw rtl::EInvalidOperation("Invalid message dialog type " + std::to_string(type));
        // Only the buttons a script can name (mbYes .. mbHelp).
        auto buttons = gui::TMsgDlgButtons::FromMask(static_cast<uint32_t>(Caller->GetParam(2).AsInteger()) & 0x7FF);
        return Variant(gui::MessageDlg(StrParam(Caller, 0), static_cast<gui::TMsgDlgType>(type), buttons,
                                       Caller->GetParam(3).AsInteger()));
    }
    if (n == "INPUTBOX") return Variant(gui::InputBox(StrParam(Caller, 0), StrParam(Caller, 1), StrParam(Caller, 2)));
    if (n == "INPUTQUERY") {
        std::string value = StrParam(Caller, 2);
        bool ok = gui::InputQuery(StrParam(Caller, 0), StrParam(Caller, 1), value);
        Caller->SetParam(2, Variant(value));
        return Variant(ok);
    }
    return Variant(0);
}

} // namespace qs
