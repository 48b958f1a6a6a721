// The script binding module of the report classes.
#include "report/qlrClassRTTI.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrDMPClass.h"
#include "report/qlrVariables.h"
#include "script/gui/qs_iguimodules.h"
#include "script/qs_iclassesrtti.h"

namespace qlr {

namespace {
using rtl::TClassInfo;
using rtl::TObject;
using rtl::Variant;

template <typename T>
const TClassInfo* Cls()
{
    return &T::StaticClassInfo();
}
std::string Str(qs::TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }
Variant Obj(const TObject* o) { return Variant::FromObject(o); }
} // namespace

void RegisterReportScriptModules()
{
    static const bool done = [] {
        qs::qsRegisterBindingModules();
        qs::qsRegisterModule(&qs::qsModuleFactory<TqlrClassFunctions>);
        return true;
    }();
    (void)done;
}

TqlrClassFunctions::TqlrClassFunctions(qs::TqsScript* s) : qs::TqsRTTIModule(s)
{
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, qs::TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    auto get = [this](TObject* i, const TClassInfo* c, const std::string& n) { return GetProp(i, c, n); };
    auto set = [this](TObject* i, const TClassInfo* c, const std::string& n, const Variant& v) {
        SetProp(i, c, n, v);
    };

    s->AddConst("fr01cm", "Extended", Variant(static_cast<double>(fr01cm)));
    s->AddConst("fr1cm", "Extended", Variant(static_cast<double>(fr1cm)));
    s->AddConst("fr01in", "Extended", Variant(static_cast<double>(fr01in)));
    s->AddConst("fr1in", "Extended", Variant(static_cast<double>(fr1in)));
    s->AddConst("fr1CharX", "Extended", Variant(static_cast<double>(fr1CharX)));
    s->AddConst("fr1CharY", "Extended", Variant(static_cast<double>(fr1CharY)));
    s->AddConst("clTransparent", "Integer", Variant(536870911));
    s->AddConst("crHand", "Integer", Variant(150));
    s->AddConst("crZoom", "Integer", Variant(151));
    s->AddConst("crFormat", "Integer", Variant(152));

    s->AddEnum("TqlrStretchMode", "smDontStretch, smActualHeight, smMaxHeight");
    s->AddEnum("TqlrShiftMode", "smDontShift, smAlways, smWhenOverlapped");
    s->AddEnum("TqlrDuplexMode", "dmNone, dmVertical, dmHorizontal, dmSimplex");
    s->AddEnum("TqlrAlign", "baNone, baLeft, baRight, baCenter, baWidth, baBottom");
    s->AddEnum("TqlrFrameStyle", "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble");
    s->AddEnumSet("TqlrFrameTypes", "ftLeft, ftRight, ftTop, ftBottom");
    s->AddEnum("TqlrHAlign", "haLeft, haRight, haCenter, haBlock");
    s->AddEnum("TqlrVAlign", "vaTop, vaBottom, vaCenter");
    s->AddEnumSet("TqlrRestrictions", "rfDontModify, rfDontSize, rfDontMove, rfDontDelete");
    s->AddEnum("TqlrShapeKind",
               "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2");
    s->AddEnumSet("TqlrPreviewButtons", "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbTree, pbPageSetup, "
                                        "pbRefresh, pbTools, pbEdit, pbNavigator, pbExportQuick");
    s->AddEnum("TqlrZoomMode", "zmDefault, zmWholePage, zmPageWidth, zmManyPages");
    s->AddEnum("TqlrPrintPages", "ppAll, ppOdd, ppEven");
    s->AddEnumSet("TqlrDMPFontStyles",
                  "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, "
                  "fsx12cpi, fsx15cpi");
    s->AddEnum("TqlrRangeBegin", "rbFirst, rbCurrent");
    s->AddEnum("TqlrRangeEnd", "reLast, reCurrent, reCount");
    s->AddEnum("TqlrFieldType", "fftNumeric, fftString, fftBoolean");
    s->AddEnum("TqlrFormatKind", "fkText, fkNumeric, fkDateTime, fkBoolean");

    if (auto* c = s->AddClass(Cls<TqlrDataSet>(), "TComponent")) {
        for (const char* m : {"procedure Open", "procedure Close", "procedure First", "procedure Next",
                              "procedure Prior", "function Eof: Boolean", "function FieldsCount: Integer",
                              "function HasField(const fName: String): Boolean",
                              "function IsBlobField(const fName: String): Boolean",
                              "function RecordCount: Integer"})
            c->AddMethod(m, call);
        c->AddProperty("RecNo", "Integer", get);
        c->AddIndexProperty("DisplayText", "String", "String", call, true);
        c->AddIndexProperty("DisplayWidth", "String", "Integer", call, true);
        c->AddIndexProperty("FieldType", "String", "TqlrFieldType", call, true);
        c->AddIndexProperty("Value", "String", "Variant", call, true);
    }
    s->AddClass(Cls<TqlrUserDataSet>(), "TqlrDataSet");
    if (auto* c = s->AddClass(Cls<TqlrComponent>(), "TComponent")) {
        c->AddMethod("procedure Clear", call);
        c->AddMethod("function FindObject(s: String): TqlrComponent", call);
        c->AddMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)", call);
        c->AddProperty("Parent", "TqlrComponent", get, set);
        c->AddProperty("Page", "TqlrPage", get);
        c->AddProperty("AbsLeft", "Extended", get);
        c->AddProperty("AbsTop", "Extended", get);
    }
    s->AddClass(Cls<TqlrReportComponent>(), "TqlrComponent");
    s->AddClass(Cls<TqlrDialogComponent>(), "TqlrReportComponent");
    s->AddClass(Cls<TqlrFrameLine>(), "TPersistent");
    s->AddClass(Cls<TqlrFrame>(), "TPersistent");
    s->AddClass(Cls<TqlrView>(), "TqlrReportComponent");
    s->AddClass(Cls<TqlrShapeView>(), "TqlrView");
    if (auto* c = s->AddClass(Cls<TqlrStretcheable>(), "TqlrView")) c->AddMethod("function CalcHeight: Extended", call);
    s->AddClass(Cls<TqlrHighlight>(), "TPersistent");
    s->AddClass(Cls<TqlrFormat>(), "TPersistent");
    if (auto* c = s->AddClass(Cls<TqlrCustomMemoView>(), "TqlrStretcheable")) {
        c->AddMethod("function CalcWidth: Extended", call);
        c->AddProperty("Text", "String", get, set);
        c->AddProperty("Value", "Variant", get);
    }
    s->AddClass(Cls<TqlrMemoView>(), "TqlrCustomMemoView");
    s->AddClass(Cls<TqlrPictureView>(), "TqlrView");
    s->AddClass(Cls<TqlrSubreport>(), "TqlrView");
    s->AddClass(Cls<TqlrBand>(), "TqlrReportComponent");
    for (const TClassInfo* b : {Cls<TqlrMasterData>(), Cls<TqlrDetailData>(), Cls<TqlrSubdetailData>(),
                                Cls<TqlrDataBand4>(), Cls<TqlrDataBand5>(), Cls<TqlrDataBand6>()})
        s->AddClass(b, "TqlrBand");
    for (const TClassInfo* b :
         {Cls<TqlrPageHeader>(), Cls<TqlrPageFooter>(), Cls<TqlrColumnHeader>(), Cls<TqlrColumnFooter>(),
          Cls<TqlrGroupHeader>(), Cls<TqlrGroupFooter>(), Cls<TqlrReportTitle>(), Cls<TqlrReportSummary>(),
          Cls<TqlrChild>(), Cls<TqlrOverlay>(), Cls<TqlrHeader>(), Cls<TqlrFooter>()})
        s->AddClass(b, "TqlrBand");
    s->AddClass(Cls<TqlrPage>(), "TqlrComponent");
    s->AddClass(Cls<TqlrReportPage>(), "TqlrPage");
    s->AddClass(Cls<TqlrDialogPage>(), "TqlrPage");
    s->AddClass(Cls<TqlrDataPage>(), "TqlrPage");
    s->AddClass(Cls<TqlrEngineOptions>(), "TPersistent");
    s->AddClass(Cls<TqlrPrintOptions>(), "TPersistent");
    s->AddClass(Cls<TqlrPreviewOptions>(), "TPersistent");
    s->AddClass(Cls<TqlrReportOptions>(), "TPersistent");
    s->AddClass(Cls<TqlrVariable>(), "TCollectionItem");
    if (auto* c = s->AddClass(Cls<TqlrVariables>(), "TCollection"))
        c->AddDefaultProperty("Variables", "String", "Variant", call);
    s->AddClass(Cls<TqlrStyleItem>(), "TCollectionItem");
    s->AddClass(Cls<TqlrStyles>(), "TCollection");
    if (auto* c = s->AddClass(Cls<TqlrArray>(), "TCollection"))
        c->AddDefaultProperty("Variables", "Variant", "Variant", call);
    s->AddObject("qlrGlobalVariables", &GlobalVariables());
    if (auto* c = s->AddClass(Cls<TqlrReport>(), "TqlrComponent")) {
        c->AddMethod("function Calc(const Expr: String): Variant", call);
        c->AddMethod("function GetDataset(const Alias: String): TqlrDataset", call);
        c->AddMethod("function LoadFromFile(const FileName: String): Boolean", call);
        c->AddMethod("procedure SaveToFile(const FileName: String)", call);
        c->AddProperty("Terminated", "Boolean", get, set);
        c->AddProperty("Variables", "TqlrVariables", get);
        c->AddProperty("Styles", "TqlrStyles", get);
    }
    if (auto* c = s->AddClass(Cls<TqlrCustomEngine>(), "TPersistent")) {
        c->AddMethod("procedure NewPage", call);
        c->AddMethod("procedure NewColumn", call);
        c->AddMethod("procedure StopReport", call);
        c->AddMethod("function FreeSpace: Extended", call);
    }

    s->AddMethod("function DayOf(Date: TDateTime): Integer", call, "ctDate");
    s->AddMethod("function MonthOf(Date: TDateTime): Integer", call, "ctDate");
    s->AddMethod("function YearOf(Date: TDateTime): Integer", call, "ctDate");
    // IIF and the aggregates are listed for the function catalogue; the
    // report's own script functions (PrepareScript) evaluate them.
    s->AddMethod("function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", call, "ctOther");
    for (const char* f : {"SUM", "AVG", "MIN", "MAX"})
        s->AddMethod(std::string("function ") + f + "(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                     call, "ctAggregate");
    s->AddMethod("function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", call, "ctAggregate");
}

Variant TqlrClassFunctions::CallMethod(TObject* instance, const TClassInfo* classType, const std::string& n,
                                       qs::TqsMethodHelper* caller)
{
    if (!classType) {
        if (n == "DAYOF" || n == "MONTHOF" || n == "YEAROF") {
            int y = 0, m = 0, d = 0;
            rtl::DecodeDate(caller->GetParam(0).AsDate(), y, m, d);
            return Variant(n == "DAYOF" ? d : n == "MONTHOF" ? m : y);
        }
        return Variant(0);
    }
    if (classType == Cls<TqlrDataSet>()) {
        auto* ds = dynamic_cast<TqlrDataSet*>(instance);
        if (!ds) return Variant(0);
        if (n == "OPEN") ds->Open();
        else if (n == "CLOSE") ds->Close();
        else if (n == "FIRST") ds->First();
        else if (n == "NEXT") ds->Next();
        else if (n == "PRIOR") ds->Prior();
        else if (n == "EOF") return Variant(ds->Eof());
        else if (n == "FIELDSCOUNT") return Variant(ds->FieldsCount());
        else if (n == "HASFIELD") return Variant(ds->HasField(Str(caller, 0)));
        else if (n == "ISBLOBFIELD") return Variant(ds->IsBlobField(Str(caller, 0)));
        else if (n == "RECORDCOUNT") return Variant(ds->RecordCount());
        else if (n == "DISPLAYTEXT.GET") return Variant(ds->DisplayText(Str(caller, 0)));
        else if (n == "DISPLAYWIDTH.GET") return Variant(ds->DisplayWidth(Str(caller, 0)));
        else if (n == "FIELDTYPE.GET") return Variant(static_cast<int>(ds->FieldType(Str(caller, 0))));
        else if (n == "VALUE.GET") return ds->Value(Str(caller, 0));
        return Variant(0);
    }
    if (classType == Cls<TqlrComponent>()) {
        auto* c = dynamic_cast<TqlrComponent*>(instance);
        if (!c) return Variant(0);
        if (n == "CLEAR") c->Clear();
        else if (n == "FINDOBJECT") return Obj(c->FindObject(Str(caller, 0)));
        else if (n == "SETBOUNDS")
            c->SetBounds(caller->GetParam(0).AsExtended(), caller->GetParam(1).AsExtended(),
                         caller->GetParam(2).AsExtended(), caller->GetParam(3).AsExtended());
        return Variant(0);
    }
    if (classType == Cls<TqlrStretcheable>()) {
        auto* v = dynamic_cast<TqlrStretcheable*>(instance);
        return v && n == "CALCHEIGHT" ? Variant(static_cast<double>(v->CalcHeight())) : Variant(0);
    }
    if (classType == Cls<TqlrCustomMemoView>()) {
        auto* m = dynamic_cast<TqlrCustomMemoView*>(instance);
        return m && n == "CALCWIDTH" ? Variant(static_cast<double>(m->CalcWidth())) : Variant(0);
    }
    if (classType == Cls<TqlrVariables>()) {
        auto* v = dynamic_cast<TqlrVariables*>(instance);
        if (!v) return Variant(0);
        if (n == "VARIABLES.GET") return v->GetVariable(Str(caller, 0));
        if (n == "VARIABLES.SET") v->SetVariable(Str(caller, 0), caller->GetParam(1));
        return Variant(0);
    }
    if (classType == Cls<TqlrArray>()) {
        auto* a = dynamic_cast<TqlrArray*>(instance);
        if (!a) return Variant(0);
        if (n == "VARIABLES.GET") return a->GetVariable(caller->GetParam(0));
        if (n == "VARIABLES.SET") a->SetVariable(caller->GetParam(0), caller->GetParam(1));
        return Variant(0);
    }
    if (classType == Cls<TqlrReport>()) {
        auto* r = dynamic_cast<TqlrReport*>(instance);
        if (!r) return Variant(0);
        if (n == "CALC") return r->Calc(Str(caller, 0), nullptr, true);
        if (n == "GETDATASET") return Obj(r->GetDataset(Str(caller, 0)));
        if (n == "LOADFROMFILE") return Variant(r->LoadFromFile(Str(caller, 0), false));
        if (n == "SAVETOFILE") r->SaveToFile(Str(caller, 0));
        return Variant(0);
    }
    if (classType == Cls<TqlrCustomEngine>()) {
        auto* e = dynamic_cast<TqlrCustomEngine*>(instance);
        if (!e) return Variant(0);
        if (n == "NEWPAGE") e->NewPage();
        else if (n == "NEWCOLUMN") e->NewColumn();
        else if (n == "STOPREPORT") e->StopReport();
        else if (n == "FREESPACE") return Variant(static_cast<double>(e->FreeSpace()));
        return Variant(0);
    }
    return Variant(0);
}

Variant TqlrClassFunctions::GetProp(TObject* instance, const TClassInfo* classType, const std::string& n)
{
    if (classType == Cls<TqlrDataSet>()) {
        auto* ds = dynamic_cast<TqlrDataSet*>(instance);
        return ds && n == "RECNO" ? Variant(ds->RecNo()) : Variant(0);
    }
    if (classType == Cls<TqlrComponent>()) {
        auto* c = dynamic_cast<TqlrComponent*>(instance);
        if (!c) return Variant(0);
        if (n == "PARENT") return Obj(c->Parent());
        if (n == "PAGE") return Obj(c->Page());
        if (n == "ABSLEFT") return Variant(static_cast<double>(c->AbsLeft()));
        if (n == "ABSTOP") return Variant(static_cast<double>(c->AbsTop()));
        return Variant(0);
    }
    if (classType == Cls<TqlrCustomMemoView>()) {
        auto* m = dynamic_cast<TqlrCustomMemoView*>(instance);
        if (!m) return Variant(0);
        if (n == "TEXT") return Variant(m->Text());
        if (n == "VALUE") return m->Value();
        return Variant(0);
    }
    if (classType == Cls<TqlrReport>()) {
        auto* r = dynamic_cast<TqlrReport*>(instance);
        if (!r) return Variant(0);
        if (n == "TERMINATED") return Variant(r->Terminated());
        if (n == "VARIABLES") return Obj(r->Variables());
        if (n == "STYLES") return Obj(r->Styles());
        return Variant(0);
    }
    return Variant(0);
}

void TqlrClassFunctions::SetProp(TObject* instance, const TClassInfo* classType, const std::string& n,
                                 const Variant& value)
{
    if (classType == Cls<TqlrComponent>()) {
        auto* c = dynamic_cast<TqlrComponent*>(instance);
        if (c && n == "PARENT") c->SetParent(dynamic_cast<TqlrComponent*>(value.AsObject()));
    } else if (classType == Cls<TqlrCustomMemoView>()) {
        auto* m = dynamic_cast<TqlrCustomMemoView*>(instance);
        if (m && n == "TEXT") m->SetText(rtl::VarToStr(value));
    } else if (classType == Cls<TqlrReport>()) {
        auto* r = dynamic_cast<TqlrReport*>(instance);
        if (r && n == "TERMINATED") r->SetTerminated(value.AsBoolean());
    }
}

} // namespace qlr
