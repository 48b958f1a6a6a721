#include "script/gui/qs_iformsrtti.h"

#include "platform/gui/Controls.h"
#include "platform/gui/DataModules.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GuiClassInfo.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"
#include "script/gui/qs_ievents.h"

namespace qs {

namespace {

using rtl::TClassInfo;
using rtl::TObject;

template <typename T>
const TClassInfo* Cls()
{
    return &rtl::typinfo_detail::ExternalClassInfo(typeid(T));
}

int32_t IntParam(TqsMethodHelper* c, int i) { return c->GetParam(i).AsInteger(); }

struct TNamedValue {
    const char* Name;
    int Value;
};

const TNamedValue kConstants[] = {
    // modal results
    {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4}, {"mrIgnore", 5}, {"mrYes", 6},
    {"mrNo", 7}, {"mrAll", 8}, {"mrNoToAll", 9}, {"mrYesToAll", 10},
    // cursors
    {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSize", -22},
    {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
    // border styles
    {"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4}, {"bsSizeToolWin", 5},
    // virtual keys
    {"VK_RBUTTON", 2}, {"VK_CANCEL", 3}, {"VK_MBUTTON", 4}, {"VK_BACK", 8}, {"VK_TAB", 9}, {"VK_RETURN", 13},
    {"VK_SHIFT", 16}, {"VK_CONTROL", 17}, {"VK_MENU", 18}, {"VK_PAUSE", 19}, {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27},
    {"VK_SPACE", 32}, {"VK_PRIOR", 33}, {"VK_NEXT", 34}, {"VK_END", 35}, {"VK_HOME", 36}, {"VK_LEFT", 37},
    {"VK_UP", 38}, {"VK_RIGHT", 39}, {"VK_DOWN", 40}, {"VK_INSERT", 45}, {"VK_DELETE", 46}, {"VK_HELP", 47},
    {"VK_LWIN", 91}, {"VK_RWIN", 92}, {"VK_APPS", 93}, {"VK_NUMPAD0", 96}, {"VK_NUMPAD1", 97}, {"VK_NUMPAD2", 98},
    {"VK_NUMPAD3", 99}, {"VK_NUMPAD4", 100}, {"VK_NUMPAD5", 101}, {"VK_NUMPAD6", 102}, {"VK_NUMPAD7", 103},
    {"VK_NUMPAD8", 104}, {"VK_NUMPAD9", 105}, {"VK_MULTIPLY", 106}, {"VK_ADD", 107}, {"VK_SEPARATOR", 108},
    {"VK_SUBTRACT", 109}, {"VK_DECIMAL", 110}, {"VK_DIVIDE", 111}, {"VK_F1", 112}, {"VK_F3", 114}, {"VK_F4", 115},
    {"VK_F5", 116}, {"VK_F6", 117}, {"VK_F7", 118}, {"VK_F8", 119}, {"VK_F9", 120}, {"VK_F10", 121},
    {"VK_F11", 122}, {"VK_F12", 123}, {"VK_NUMLOCK", 144}, {"VK_SCROLL", 145},
    // text alignment
    {"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}};

} // namespace

TqsFormsFunctions::TqsFormsFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    gui::DescribeGuiClasses();
    TqsScript* s = AScript;
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    auto get = [this](TObject* i, const TClassInfo* c, const std::string& n) { return GetProp(i, c, n); };
    auto set = [this](TObject* i, const TClassInfo* c, const std::string& n, const Variant& v) { SetProp(i, c, n, v); };
    auto notify = &qsEventFactory<TqsNotifyEvent>;

    for (const TNamedValue& c : kConstants) s->AddConst(c.Name, "Integer", Variant(c.Value));
    for (const char* t : {"TFormBorderStyle", "TBorderStyle", "TAlignment", "TLeftRight"}) s->AddType(t, fvtInt);
    s->AddEnumSet("TShiftState", "ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble");
    s->AddEnumSet("TAnchors", "akLeft, akTop, akRight, akBottom");
    s->AddEnumSet("TBorderIcons", "biSystemMenu, biMinimize, biMaximize, biHelp");
    s->AddEnum("TAlign", "alNone, alTop, alBottom, alLeft, alRight, alClient");
    s->AddEnum("TMouseButton", "mbLeft, mbRight, mbMiddle");
    s->AddEnum("TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace");
    s->AddEnum("TTextLayout", "tlTop, tlCenter, tlBottom");
    s->AddEnum("TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase");
    s->AddEnum("TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth");
    s->AddEnum("TComboBoxStyle", "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable");
    s->AddEnum("TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed");
    s->AddEnum("TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable");
    s->AddEnum("TWindowState", "wsNormal, wsMinimized, wsMaximized");
    s->AddEnum("TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop");
    s->AddEnum("TPosition", "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter");
    s->AddEnum("TCloseAction", "caNone, caHide, caFree, caMinimize");

    if (auto* c = s->AddClass(Cls<gui::TControl>(), "TComponent")) {
        c->AddProperty("Parent", "TWinControl", get, set);
        c->AddMethod("procedure Hide", call);
        c->AddMethod("procedure Show", call);
        c->AddMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", call);
        c->AddEvent("OnCanResize", &qsEventFactory<TqsCanResizeEvent>);
        c->AddEvent("OnClick", notify);
        c->AddEvent("OnDblClick", notify);
        c->AddEvent("OnMouseDown", &qsEventFactory<TqsMouseEvent>);
        c->AddEvent("OnMouseMove", &qsEventFactory<TqsMouseMoveEvent>);
        c->AddEvent("OnMouseUp", &qsEventFactory<TqsMouseEvent>);
        c->AddEvent("OnResize", notify);
    }
    if (auto* c = s->AddClass(Cls<gui::TWinControl>(), "TControl")) {
        c->AddMethod("procedure SetFocus", call);
        c->AddEvent("OnEnter", notify);
        c->AddEvent("OnExit", notify);
        c->AddEvent("OnKeyDown", &qsEventFactory<TqsKeyEvent>);
        c->AddEvent("OnKeyPress", &qsEventFactory<TqsKeyPressEvent>);
        c->AddEvent("OnKeyUp", &qsEventFactory<TqsKeyEvent>);
    }
    for (const TClassInfo* cls : {Cls<gui::TCustomControl>(), Cls<gui::TGroupBox>(), Cls<gui::TEdit>(), Cls<gui::TMemo>(),
                                  Cls<gui::TButton>(), Cls<gui::TCheckBox>(), Cls<gui::TRadioButton>()})
        s->AddClass(cls, "TWinControl");
    s->AddClass(Cls<gui::TGraphicControl>(), "TControl");
    s->AddClass(Cls<gui::TLabel>(), "TControl");
    if (auto* c = s->AddClass(Cls<gui::TCustomComboBox>(), "TWinControl")) {
        c->AddProperty("DroppedDown", "Boolean", get, set);
        c->AddProperty("ItemIndex", "Integer", get, set);
        c->AddEvent("OnChange", notify);
        c->AddEvent("OnDropDown", notify);
        c->AddEvent("OnCloseUp", notify);
    }
    s->AddClass(Cls<gui::TComboBox>(), "TCustomComboBox");
    if (auto* c = s->AddClass(Cls<gui::TCustomListBox>(), "TWinControl")) {
        c->AddProperty("ItemIndex", "Integer", get, set);
        c->AddProperty("SelCount", "Integer", get);
        c->AddIndexProperty("Selected", "Integer", "Boolean", call);
    }
    s->AddClass(Cls<gui::TListBox>(), "TCustomListBox");
    s->AddClass(Cls<gui::TControlScrollBar>(), "TPersistent");
    s->AddClass(Cls<gui::TScrollingWinControl>(), "TWinControl");
    s->AddClass(Cls<gui::TScrollBox>(), "TScrollingWinControl");
    if (auto* c = s->AddClass(Cls<gui::TCustomForm>(), "TScrollingWinControl")) {
        c->AddMethod("procedure Close", call);
        c->AddMethod("procedure Hide", call);
        c->AddMethod("procedure Show", call);
        c->AddMethod("function ShowModal: Integer", call);
        c->AddEvent("OnActivate", notify);
        c->AddEvent("OnClose", &qsEventFactory<TqsCloseEvent>);
        c->AddEvent("OnCloseQuery", &qsEventFactory<TqsCloseQueryEvent>);
        for (const char* e : {"OnCreate", "OnDestroy", "OnDeactivate", "OnHide", "OnPaint", "OnShow"}) c->AddEvent(e, notify);
        c->AddProperty("Canvas", "TCanvas", get);
        c->AddProperty("ModalResult", "Integer", get, set);
    }
    s->AddClass(Cls<gui::TForm>(), "TCustomForm");
    s->AddClass(Cls<gui::TDataModule>(), "TComponent");
    if (auto* c = s->AddClass(Cls<gui::TApplication>(), "TComponent")) {
        c->AddMethod("procedure Minimize", call);
        c->AddMethod("procedure ProcessMessages", call);
        c->AddMethod("procedure Restore", call);
        c->AddProperty("ExeName", "String", get);
    }
    s->AddObject("Application", gui::Application);
}

Variant TqsFormsFunctions::CallMethod(TObject* Instance, const TClassInfo* ClassType, const std::string& MethodName,
                                      TqsMethodHelper* Caller)
{
    const std::string& n = MethodName;
    Variant result(0);
    if (ClassType == Cls<gui::TControl>()) {
        auto* c = dynamic_cast<gui::TControl*>(Instance);
        if (!c) return result;
        if (n == "HIDE") c->Hide();
        else if (n == "SHOW") c->Show();
        else if (n == "SETBOUNDS") c->SetBounds(IntParam(Caller, 0), IntParam(Caller, 1), IntParam(Caller, 2), IntParam(Caller, 3));
    } else if (ClassType == Cls<gui::TWinControl>()) {
        if (auto* w = dynamic_cast<gui::TWinControl*>(Instance); w && n == "SETFOCUS") w->SetFocus();
    } else if (ClassType == Cls<gui::TCustomListBox>()) {
        auto* l = dynamic_cast<gui::TCustomListBox*>(Instance);
        if (!l) return result;
        if (n == "SELECTED.GET") result = Variant(l->Selected(IntParam(Caller, 0)));
        else if (n == "SELECTED.SET") l->SetSelected(IntParam(Caller, 0), Caller->GetParam(1).AsBoolean());
    } else if (ClassType == Cls<gui::TCustomForm>()) {
        auto* f = dynamic_cast<gui::TCustomForm*>(Instance);
        if (!f) return result;
        if (n == "CLOSE") f->Close();
        else if (n == "HIDE") f->Hide();
        else if (n == "SHOW") f->Show();
        else if (n == "SHOWMODAL") result = Variant(static_cast<int32_t>(f->ShowModal()));
    } else if (ClassType == Cls<gui::TApplication>()) {
        auto* a = dynamic_cast<gui::TApplication*>(Instance);
        if (!a) return result;
        if (n == "PROCESSMESSAGES") a->ProcessMessages();
        else if ((n == "MINIMIZE" || n == "RESTORE") && a->MainForm())
            a->MainForm()->SetWindowState(n == "MINIMIZE" ? gui::TWindowState::wsMinimized : gui::TWindowState::wsNormal);
    }
    return result;
}

Variant TqsFormsFunctions::GetProp(TObject* Instance, const TClassInfo* ClassType, const std::string& PropName)
{
    const std::string& n = PropName;
    if (ClassType == Cls<gui::TControl>()) {
        if (auto* c = dynamic_cast<gui::TControl*>(Instance); c && n == "PARENT") return Variant::FromObject(c->Parent());
    } else if (ClassType == Cls<gui::TCustomComboBox>()) {
        auto* c = dynamic_cast<gui::TCustomComboBox*>(Instance);
        if (c && n == "DROPPEDDOWN") return Variant(c->DroppedDown());
        if (c && n == "ITEMINDEX") return Variant(c->ItemIndex());
    } else if (ClassType == Cls<gui::TCustomListBox>()) {
        auto* l = dynamic_cast<gui::TCustomListBox*>(Instance);
        if (l && n == "ITEMINDEX") return Variant(l->ItemIndex());
        if (l && n == "SELCOUNT") return Variant(l->SelCount());
    } else if (ClassType == Cls<gui::TCustomForm>()) {
        auto* f = dynamic_cast<gui::TCustomForm*>(Instance);
        if (f && n == "CANVAS") return Variant::FromObject(f->Canvas());
        if (f && n == "MODALRESULT") return Variant(static_cast<int32_t>(f->ModalResult()));
    } else if (ClassType == Cls<gui::TApplication>()) {
        if (auto* a = dynamic_cast<gui::TApplication*>(Instance); a && n == "EXENAME") return Variant(a->ExeName());
    }
    return Variant(0);
}

void TqsFormsFunctions::SetProp(TObject* Instance, const TClassInfo* ClassType, const std::string& PropName,
                                const Variant& Value)
{
    const std::string& n = PropName;
    if (ClassType == Cls<gui::TControl>()) {
        auto* c = dynamic_cast<gui::TControl*>(Instance);
        if (!c || n != "PARENT") return;
        TObject* p = Value.AsObject();
        auto* parent = dynamic_cast<gui::TWinControl*>(p);
        if (p && !parent) throw rtl::EInvalidOperation("A windowed control is expected as the parent of " + c->Name());
        c->SetParent(parent);
    } else if (ClassType == Cls<gui::TCustomComboBox>()) {
        auto* c = dynamic_cast<gui::TCustomComboBox*>(Instance);
        if (c && n == "DROPPEDDOWN") c->SetDroppedDown(Value.AsBoolean());
        else if (c && n == "ITEMINDEX") c->SetItemIndex(Value.AsInteger());
    } else if (ClassType == Cls<gui::TCustomListBox>()) {
        if (auto* l = dynamic_cast<gui::TCustomListBox*>(Instance); l && n == "ITEMINDEX") l->SetItemIndex(Value.AsInteger());
    } else if (ClassType == Cls<gui::TCustomForm>()) {
        if (auto* f = dynamic_cast<gui::TCustomForm*>(Instance); f && n == "MODALRESULT") f->SetModalResult(Value.AsInteger());
    }
}

} // namespace qs
