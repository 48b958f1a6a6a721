// The script binding module of the report classes: one table of the
// classes in registration order, each with its ancestor and members, every
// member with its own handler.
#include "report/qlrClassRTTI.h"

#include <map>
#include <type_traits>

#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrDMPClass.h"
#include "report/qlrEngine.h"
#include "report/qlrPreviewPages.h"
#include "report/qlrUnicodeUtils.h"
#include "report/qlrVariables.h"
#include "report/qlrWideStrings.h"
#include "script/gui/qs_iguimodules.h"
#include "script/qs_iclassesrtti.h"

namespace qlr {

namespace {
using rtl::TClassInfo;
using rtl::TObject;
using rtl::Variant;
using H = qs::TqsMethodHelper;

template <typename T>
const TClassInfo* Cls()
{
    if constexpr (std::is_base_of_v<gui::TGraphic, T>) return &rtl::typinfo_detail::ExternalClassInfo(typeid(T));
    else return &T::StaticClassInfo();
}
std::string Str(H* c, int i) { return rtl::VarToStr(c->GetParam(i)); }
Variant Obj(const TObject* o) { return Variant::FromObject(o); }
Variant Num(long double v) { return Variant(static_cast<double>(v)); }
template <typename T> T* ObjParam(H* c, int i) { return dynamic_cast<T*>(c->GetParam(i).AsObject()); }

// A handler's result: a procedure gives 0.
template <typename F, typename... A> Variant Result(F& f, A... a)
{
    if constexpr (std::is_void_v<std::invoke_result_t<F&, A...>>) {
        f(a...);
        return Variant(0);
    } else {
        return Variant(f(a...));
    }
}

// One member of a class as the script sees it.
struct Member {
    enum Kind { kMethod, kConstructor, kProperty, kIndexed, kDefault } Kind = kMethod;
    std::string Name;     // the declaration of a method, the name of a property
    std::string Params;   // index parameters
    std::string Type;
    std::function<Variant(TObject*, H*)> Call;            // method, constructor, indexed read
    std::function<Variant(TObject*)> Get;                 // property read
    std::function<void(TObject*, const Variant&)> Set;    // property write
    std::function<void(TObject*, H*)> SetIndexed;         // indexed write (value last)

    Member(enum Kind kind, std::string name, std::string params = {}, std::string type = {},
           std::function<Variant(TObject*, H*)> call = nullptr)
        : Kind(kind), Name(std::move(name)), Params(std::move(params)), Type(std::move(type)), Call(std::move(call))
    {
    }
};

template <typename T, typename F> Member Method(std::string decl, F f)
{
    return Member(Member::kMethod, std::move(decl), {}, {}, [f](TObject* o, H* h) mutable -> Variant {
        auto* t = dynamic_cast<T*>(o);
        return t ? Result(f, t, h) : Variant(0);
    });
}
template <typename F> Member Constructor(std::string decl, F f)
{
    return Member(Member::kConstructor, std::move(decl), {}, {}, [f](TObject*, H* h) { return Obj(f(h)); });
}
template <typename T, typename G> Member Prop(std::string name, std::string type, G g)
{
    Member m(Member::kProperty, std::move(name), {}, std::move(type));
    m.Get = [g](TObject* o) mutable -> Variant {
        auto* t = dynamic_cast<T*>(o);
        return t ? Result(g, t) : Variant(0);
    };
    return m;
}
template <typename T, typename G, typename S> Member Prop(std::string name, std::string type, G g, S s)
{
    Member m = Prop<T>(std::move(name), std::move(type), g);
    m.Set = [s](TObject* o, const Variant& v) mutable {
        if (auto* t = dynamic_cast<T*>(o)) s(t, v);
    };
    return m;
}
template <typename T, typename G> Member Indexed(std::string name, std::string params, std::string type, G g,
                                                 bool isDefault = false)
{
    return Member(isDefault ? Member::kDefault : Member::kIndexed, std::move(name), std::move(params), std::move(type),
                  [g](TObject* o, H* h) mutable -> Variant {
                      auto* t = dynamic_cast<T*>(o);
                      return t ? Result(g, t, h) : Variant(0);
                  });
}
template <typename T, typename G, typename S>
Member Indexed(std::string name, std::string params, std::string type, G g, S s, bool isDefault = false)
{
    Member m = Indexed<T>(std::move(name), std::move(params), std::move(type), g, isDefault);
    m.SetIndexed = [s](TObject* o, H* h) mutable {
        if (auto* t = dynamic_cast<T*>(o)) s(t, h);
    };
    return m;
}

struct ClassBinding {
    const TClassInfo* Class;   // nullptr: the global variable list goes here
    const char* Ancestor;
    std::vector<Member> Members;
};

// The list a component's Objects or AllObjects gives to a script, kept per
// component and refilled at each read.
rtl::TList* ScriptList(const TqlrComponent* owner, bool all, const std::vector<TqlrComponent*>& items)
{
    static std::map<std::pair<const TqlrComponent*, bool>, std::unique_ptr<rtl::TList>> lists;
    auto& list = lists[{owner, all}];
    if (!list) list = std::make_unique<rtl::TList>();
    list->Clear();
    for (TqlrComponent* c : items) list->Add(c);
    return list.get();
}

// The memo's Text from a script: a single-byte string for a font with a
// character set of its own is read in that set's code page.
void SetMemoText(TqlrCustomMemoView* m, const Variant& v)
{
    const uint8_t charset = m->Font()->Charset();
    if (charset != 1 && v.VarType() == rtl::varString)
        m->SetText(rtl::UTF16ToUTF8(AnsiTextToWide(v.AsString(), charset, 0)));
    else
        m->SetText(rtl::VarToStr(v));
}

TqlrPreviewPages* StorePages(TqlrCustomEngine* e)
{
    return dynamic_cast<TqlrPreviewPages*>(e->Report() ? e->Report()->PreviewPages() : nullptr);
}

std::vector<ClassBinding> Bindings()
{
    using DS = TqlrDataSet;
    using C = TqlrComponent;
    using M = TqlrCustomMemoView;
    using E = TqlrCustomEngine;
    using O = TqlrCustomOutline;
    using W = TWideStrings;
    return {
        {Cls<gui::TJPEGImage>(), "TGraphic", {}},
        {Cls<gui::TPngImage>(), "TGraphic", {}},
        {Cls<W>(), "TPersistent",
         {Constructor("constructor Create", [](H*) { return new TWideStringList(); }),
          Method<W>("function Add(const S: string): Integer", [](W* w, H* h) { return w->Add(Str(h, 0)); }),
          Method<W>("function AddObject(const S: string; AObject: TObject): Integer",
                    [](W* w, H* h) { return w->AddObject(Str(h, 0), h->GetParam(1).AsObject()); }),
          Method<W>("procedure Clear", [](W* w, H*) { w->Clear(); }),
          Method<W>("procedure Delete(Index: Integer)", [](W* w, H* h) { w->Delete(h->GetParam(0).AsInteger()); }),
          Method<W>("function IndexOf(const S: string): Integer", [](W* w, H* h) { return w->IndexOf(Str(h, 0)); }),
          Method<W>("procedure Insert(Index: Integer; const S: string)",
                    [](W* w, H* h) { w->Insert(h->GetParam(0).AsInteger(), Str(h, 1)); }),
          Method<W>("procedure LoadFromFile(const FileName: string)", [](W* w, H* h) { w->LoadFromFile(Str(h, 0)); }),
          Method<W>("procedure LoadFromStream(Stream: TStream)",
                    [](W* w, H* h) {
                        if (rtl::TStream* st = qs::classes::StreamOf(h->GetParam(0))) w->LoadFromStream(*st);
                    }),
          Method<W>("procedure SaveToFile(const FileName: string)", [](W* w, H* h) { w->SaveToFile(Str(h, 0)); }),
          Method<W>("procedure SaveToStream(Stream: TStream)",
                    [](W* w, H* h) {
                        if (rtl::TStream* st = qs::classes::StreamOf(h->GetParam(0))) w->SaveToStream(*st);
                    }),
          Prop<W>("Count", "Integer", [](W* w) { return w->Count(); }),
          Indexed<W>(
              "Objects", "Integer", "TObject", [](W* w, H* h) { return Obj(w->Objects(h->GetParam(0).AsInteger())); },
              [](W* w, H* h) { w->SetObjects(h->GetParam(0).AsInteger(), h->GetParam(1).AsObject()); }),
          Indexed<W>(
              "Strings", "Integer", "string", [](W* w, H* h) { return w->Strings(h->GetParam(0).AsInteger()); },
              [](W* w, H* h) { w->SetStrings(h->GetParam(0).AsInteger(), Str(h, 1)); }, true),
          Prop<W>("Text", "string", [](W* w) { return w->Text(); },
                  [](W* w, const Variant& v) { w->SetText(rtl::VarToStr(v)); })}},
        {Cls<DS>(), "TComponent",
         {Method<DS>("procedure Open", [](DS* d, H*) { d->Open(); }),
          Method<DS>("procedure Close", [](DS* d, H*) { d->Close(); }),
          Method<DS>("procedure First", [](DS* d, H*) { d->First(); }),
          Method<DS>("procedure Next", [](DS* d, H*) { d->Next(); }),
          Method<DS>("procedure Prior", [](DS* d, H*) { d->Prior(); }),
          Method<DS>("function Eof: Boolean", [](DS* d, H*) { return d->Eof(); }),
          Method<DS>("function FieldsCount: Integer", [](DS* d, H*) { return d->FieldsCount(); }),
          Method<DS>("function HasField(const fName: String): Boolean", [](DS* d, H* h) { return d->HasField(Str(h, 0)); }),
          Method<DS>("function IsBlobField(const fName: String): Boolean",
                     [](DS* d, H* h) { return d->IsBlobField(Str(h, 0)); }),
          Method<DS>("function RecordCount: Integer", [](DS* d, H*) { return d->RecordCount(); }),
          Method<DS>("procedure GetFieldList(List: TStrings)",
                     [](DS* d, H* h) {
                         if (auto* list = ObjParam<rtl::TStringList>(h, 0)) d->GetFieldList(*list);
                     }),
          Prop<DS>("RecNo", "Integer", [](DS* d) { return d->RecNo(); }),
          Indexed<DS>("DisplayText", "String", "String", [](DS* d, H* h) { return d->DisplayText(Str(h, 0)); }),
          Indexed<DS>("DisplayWidth", "String", "Integer", [](DS* d, H* h) { return d->DisplayWidth(Str(h, 0)); }),
          Indexed<DS>("FieldType", "String", "TqlrFieldType",
                      [](DS* d, H* h) { return static_cast<int>(d->FieldType(Str(h, 0))); }),
          Indexed<DS>("Value", "String", "Variant", [](DS* d, H* h) { return d->Value(Str(h, 0)); })}},
        {Cls<TqlrUserDataSet>(), "TqlrDataSet", {}},
        {Cls<TqlrCustomDBDataSet>(), "TqlrDataSet", {}},
        {Cls<C>(), "TComponent",
         {Method<C>("procedure Clear", [](C* c, H*) { c->Clear(); }),
          Method<C>("function FindObject(s: String): TqlrComponent", [](C* c, H* h) { return Obj(c->FindObject(Str(h, 0))); }),
          Method<C>("procedure LoadFromStream(Stream: TStream)",
                    [](C* c, H* h) {
                        if (rtl::TStream* s = qs::classes::StreamOf(h->GetParam(0))) c->LoadFromStream(*s);
                    }),
          Method<C>("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
                    [](C* c, H* h) {
                        if (rtl::TStream* s = qs::classes::StreamOf(h->GetParam(0)))
                            c->SaveToStream(*s, h->GetParam(1).AsBoolean());
                    }),
          Method<C>("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)",
                    [](C* c, H* h) {
                        c->SetBounds(h->GetParam(0).AsExtended(), h->GetParam(1).AsExtended(),
                                     h->GetParam(2).AsExtended(), h->GetParam(3).AsExtended());
                    }),
          Prop<C>("Objects", "TList", [](C* c) { return Obj(ScriptList(c, false, c->Objects())); }),
          Prop<C>("AllObjects", "TList", [](C* c) { return Obj(ScriptList(c, true, c->AllObjects())); }),
          Prop<C>("Parent", "TqlrComponent", [](C* c) { return Obj(c->Parent()); },
                  [](C* c, const Variant& v) { c->SetParent(dynamic_cast<C*>(v.AsObject())); }),
          Prop<C>("Page", "TqlrPage", [](C* c) { return Obj(c->Page()); }),
          Prop<C>("AbsLeft", "Extended", [](C* c) { return Num(c->AbsLeft()); }),
          Prop<C>("AbsTop", "Extended", [](C* c) { return Num(c->AbsTop()); })}},
        {Cls<TqlrReportComponent>(), "TqlrComponent", {}},
        {Cls<TqlrDialogComponent>(), "TqlrReportComponent", {}},
        {Cls<TqlrDialogControl>(), "TqlrReportComponent",
         {Method<TqlrDialogControl>("procedure SetFocus", [](TqlrDialogControl* c, H*) { c->SetFocus(); })}},
        {Cls<TqlrFrameLine>(), "TPersistent", {}},
        {Cls<TqlrFrame>(), "TPersistent", {}},
        {Cls<TqlrView>(), "TqlrReportComponent", {}},
        {Cls<TqlrShapeView>(), "TqlrView", {}},
        {Cls<TqlrStretcheable>(), "TqlrView",
         {Method<TqlrStretcheable>("function CalcHeight: Extended",
                                   [](TqlrStretcheable* v, H*) { return Num(v->CalcHeight()); })}},
        {Cls<TqlrHighlight>(), "TPersistent", {}},
        {Cls<TqlrFormat>(), "TPersistent", {}},
        {Cls<M>(), "TqlrStretcheable",
         {Method<M>("function CalcWidth: Extended", [](M* m, H*) { return Num(m->CalcWidth()); }),
          Prop<M>("Text", "String", [](M* m) { return m->Text(); }, SetMemoText),
          Prop<M>("AnsiText", "String", [](M* m) { return Variant::AnsiString(m->AnsiText()); },
                  [](M* m, const Variant& v) { m->SetAnsiText(v.AsString()); }),
          Prop<M>("Lines", "TWideStrings", [](M* m) { return Obj(m->LinesObject()); },
                  [](M* m, const Variant& v) {
                      if (auto* list = dynamic_cast<rtl::TPersistent*>(v.AsObject())) m->LinesObject()->Assign(list);
                  }),
          Prop<M>("Value", "Variant", [](M* m) { return m->Value(); })}},
        {Cls<TqlrMemoView>(), "TqlrCustomMemoView", {}},
        {Cls<TqlrSysMemoView>(), "TqlrCustomMemoView", {}},
        {Cls<TqlrDMPMemoView>(), "TqlrCustomMemoView", {}},
        {Cls<TqlrCustomLineView>(), "TqlrStretcheable", {}},
        {Cls<TqlrLineView>(), "TqlrCustomLineView", {}},
        {Cls<TqlrDMPLineView>(), "TqlrCustomLineView", {}},
        {Cls<TqlrDMPCommand>(), "TqlrView", {}},
        {Cls<TqlrPictureView>(), "TqlrView",
         {Method<TqlrPictureView>("procedure LoadFromFile(filename: String)",
                                  [](TqlrPictureView* p, H* h) { p->Picture()->LoadFromFile(Str(h, 0)); })}},
        {Cls<TqlrSubreport>(), "TqlrView", {}},
        {Cls<TqlrBand>(), "TqlrReportComponent", {Prop<TqlrBand>("Overflow", "Boolean", [](TqlrBand* b) { return b->Overflow; })}},
        {Cls<TqlrDataBand>(), "TqlrBand", {}},
        {Cls<TqlrHeader>(), "TqlrBand", {}},
        {Cls<TqlrFooter>(), "TqlrBand", {}},
        {Cls<TqlrMasterData>(), "TqlrDataBand", {}},
        {Cls<TqlrDetailData>(), "TqlrDataBand", {}},
        {Cls<TqlrSubdetailData>(), "TqlrDataBand", {}},
        {Cls<TqlrDataBand4>(), "TqlrDataBand", {}},
        {Cls<TqlrDataBand5>(), "TqlrDataBand", {}},
        {Cls<TqlrDataBand6>(), "TqlrDataBand", {}},
        {Cls<TqlrPageHeader>(), "TqlrBand", {}},
        {Cls<TqlrPageFooter>(), "TqlrBand", {}},
        {Cls<TqlrColumnHeader>(), "TqlrBand", {}},
        {Cls<TqlrColumnFooter>(), "TqlrBand", {}},
        {Cls<TqlrGroupHeader>(), "TqlrBand", {}},
        {Cls<TqlrGroupFooter>(), "TqlrBand", {}},
        {Cls<TqlrReportTitle>(), "TqlrBand", {}},
        {Cls<TqlrReportSummary>(), "TqlrBand", {}},
        {Cls<TqlrChild>(), "TqlrBand", {}},
        {Cls<TqlrOverlay>(), "TqlrBand", {}},
        {Cls<TqlrPage>(), "TqlrComponent", {}},
        {Cls<TqlrReportPage>(), "TqlrPage", {}},
        {Cls<TqlrDialogPage>(), "TqlrPage",
         {Method<TqlrDialogPage>("function ShowModal: Integer", [](TqlrDialogPage* p, H*) { return p->ShowModal(); }),
          Prop<TqlrDialogPage>("ModalResult", "Integer", [](TqlrDialogPage* p) { return p->ModalResult(); },
                               [](TqlrDialogPage* p, const Variant& v) { p->SetModalResult(v.AsInteger()); })}},
        {Cls<TqlrDMPPage>(), "TqlrReportPage", {}},
        {Cls<TqlrDataPage>(), "TqlrPage", {}},
        {Cls<TqlrEngineOptions>(), "TPersistent",
         {Prop<TqlrEngineOptions>("DestroyForms", "Boolean", [](TqlrEngineOptions* o) { return o->DestroyForms; },
                                  [](TqlrEngineOptions* o, const Variant& v) { o->DestroyForms = v.AsBoolean(); })}},
        {Cls<TqlrPrintOptions>(), "TPersistent", {}},
        {Cls<TqlrPreviewOptions>(), "TPersistent", {}},
        {Cls<TqlrReportOptions>(), "TPersistent", {}},
        {Cls<TqlrVariable>(), "TCollectionItem", {}},
        {Cls<TqlrVariables>(), "TCollection",
         {Constructor("constructor Create", [](H*) { return new TqlrVariables(); }),
          Indexed<TqlrVariables>(
              "Variables", "String", "Variant", [](TqlrVariables* v, H* h) { return v->GetVariable(Str(h, 0)); },
              [](TqlrVariables* v, H* h) { v->SetVariable(Str(h, 0), h->GetParam(1)); }, true)}},
        {Cls<TqlrStyleItem>(), "TCollectionItem", {}},
        {Cls<TqlrStyles>(), "TCollection",
         {Constructor("constructor Create(AReport: TqlrReport)",
                      [](H* h) { return new TqlrStyles(ObjParam<TqlrReport>(h, 0)); }),
          Indexed<TqlrStyles>("Items", "Integer", "TqlrStyleItem",
                              [](TqlrStyles* s, H* h) { return Obj(s->Item(h->GetParam(0).AsInteger())); }, true),
          Method<TqlrStyles>("function Add: TqlrStyleItem", [](TqlrStyles* s, H*) { return Obj(s->Add()); }),
          Method<TqlrStyles>("function Find(const Name: String): TqlrStyleItem",
                             [](TqlrStyles* s, H* h) { return Obj(s->Find(Str(h, 0))); }),
          Method<TqlrStyles>("procedure Apply", [](TqlrStyles* s, H*) { s->Apply(); }),
          Method<TqlrStyles>("procedure GetList(List: TStrings)",
                             [](TqlrStyles* s, H* h) {
                                 if (auto* list = ObjParam<rtl::TStringList>(h, 0)) s->GetList(*list);
                             }),
          Method<TqlrStyles>("procedure LoadFromFile(const FileName: String)",
                             [](TqlrStyles* s, H* h) { s->LoadFromFile(Str(h, 0)); }),
          Method<TqlrStyles>("procedure LoadFromStream(Stream: TStream)",
                             [](TqlrStyles* s, H* h) {
                                 if (rtl::TStream* st = qs::classes::StreamOf(h->GetParam(0))) s->LoadFromStream(*st);
                             }),
          Method<TqlrStyles>("procedure SaveToFile(const FileName: String)",
                             [](TqlrStyles* s, H* h) { s->SaveToFile(Str(h, 0)); }),
          Method<TqlrStyles>("procedure SaveToStream(Stream: TStream)",
                             [](TqlrStyles* s, H* h) {
                                 if (rtl::TStream* st = qs::classes::StreamOf(h->GetParam(0))) s->SaveToStream(*st);
                             })}},
        {Cls<TqlrArray>(), "TCollection",
         {Constructor("constructor Create", [](H*) { return new TqlrArray(); }),
          Indexed<TqlrArray>(
              "Variables", "Variant", "Variant", [](TqlrArray* a, H* h) { return a->GetVariable(h->GetParam(0)); },
              [](TqlrArray* a, H* h) { a->SetVariable(h->GetParam(0), h->GetParam(1)); }, true)}},
        {nullptr, "", {}},   // "qlrGlobalVariables"
        {Cls<TqlrReport>(), "TqlrComponent",
         {Method<TqlrReport>("function Calc(const Expr: String): Variant",
                             [](TqlrReport* r, H* h) { return r->Calc(Str(h, 0), nullptr, true); }),
          Method<TqlrReport>("function GetDataset(const Alias: String): TqlrDataset",
                             [](TqlrReport* r, H* h) { return Obj(r->GetDataset(Str(h, 0))); }),
          Method<TqlrReport>("function LoadFromFile(const FileName: String): Boolean",
                             [](TqlrReport* r, H* h) { return r->LoadFromFile(Str(h, 0), false); }),
          Method<TqlrReport>("procedure SaveToFile(const FileName: String)",
                             [](TqlrReport* r, H* h) { r->SaveToFile(Str(h, 0)); }),
          Method<TqlrReport>("procedure ShowReport", [](TqlrReport* r, H*) { r->ShowReport(true); }),
          Prop<TqlrReport>("Terminated", "Boolean", [](TqlrReport* r) { return r->Terminated(); },
                           [](TqlrReport* r, const Variant& v) { r->SetTerminated(v.AsBoolean()); }),
          Prop<TqlrReport>("Variables", "TqlrVariables", [](TqlrReport* r) { return Obj(r->Variables()); }),
          Prop<TqlrReport>("Styles", "TqlrStyles", [](TqlrReport* r) { return Obj(r->Styles()); })}},
        {Cls<E>(), "TPersistent",
         {Method<E>("procedure AddAnchor(const Text: String)",
                    [](E* e, H* h) {
                        if (TqlrPreviewPages* p = StorePages(e)) p->AddAnchor(Str(h, 0));
                    }),
          Method<E>("procedure NewPage", [](E* e, H*) { e->NewPage(); }),
          Method<E>("procedure NewColumn", [](E* e, H*) { e->NewColumn(); }),
          Method<E>("procedure ShowBand(Band: TqlrBand)", [](E* e, H* h) { e->ShowBand(ObjParam<TqlrBand>(h, 0)); }),
          Method<E>("procedure StopReport", [](E* e, H*) { e->StopReport(); }),
          Method<E>("function FreeSpace: Extended", [](E* e, H*) { return Num(e->FreeSpace()); }),
          Method<E>("function GetAnchorPage(const Text: String): Integer",
                    [](E* e, H* h) {
                        TqlrPreviewPages* p = StorePages(e);
                        return p ? p->GetAnchorPage(Str(h, 0)) : 0;
                    })}},
        {Cls<TqlrEngine>(), "TqlrCustomEngine", {}},
        {Cls<O>(), "TPersistent",
         {Method<O>("procedure AddItem(const Text: String)",
                    [](O* o, H* h) {
                        TqlrCustomEngine* e = o->Engine();
                        o->AddItem(Str(h, 0), e ? static_cast<int>(e->CurY) : 0);
                    }),
          Method<O>("procedure LevelRoot", [](O* o, H*) { o->LevelRoot(); }),
          Method<O>("procedure LevelUp", [](O* o, H*) { o->LevelUp(); })}},
        {Cls<TqlrOutline>(), "TqlrCustomOutline", {}},
    };
}

void AddMember(qs::TqsClassVariable* c, const Member& m)
{
    auto call = [f = m.Call, set = m.SetIndexed](TObject* i, const TClassInfo*, const std::string& n, H* h) {
        if (set && n.size() > 4 && n.compare(n.size() - 4, 4, ".SET") == 0) {
            set(i, h);
            return Variant(0);
        }
        return f(i, h);
    };
    switch (m.Kind) {
    case Member::kMethod: c->AddMethod(m.Name, call); break;
    case Member::kConstructor: c->AddConstructor(m.Name, call); break;
    case Member::kIndexed: c->AddIndexProperty(m.Name, m.Params, m.Type, call, !m.SetIndexed); break;
    case Member::kDefault: c->AddDefaultProperty(m.Name, m.Params, m.Type, call, !m.SetIndexed); break;
    case Member::kProperty: {
        qs::TqsSetValueEvent set;
        if (m.Set) set = [s = m.Set](TObject* i, const TClassInfo*, const std::string&, const Variant& v) { s(i, v); };
        c->AddProperty(m.Name, m.Type, [g = m.Get](TObject* i, const TClassInfo*, const std::string&) { return g(i); },
                       set);
        break;
    }
    }
}

void AddConstantsAndTypes(qs::TqsScript* s)
{
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
}

void AddFunctions(qs::TqsScript* s)
{
    auto date = [](TObject*, const TClassInfo*, const std::string& n, H* h) {
        int y = 0, m = 0, d = 0;
        rtl::DecodeDate(h->GetParam(0).AsDate(), y, m, d);
        return Variant(n == "DAYOF" ? d : n == "MONTHOF" ? m : y);
    };
    // IIF and the aggregates are listed for the function catalogue; the
    // report's own script functions evaluate them.
    auto listed = [](TObject*, const TClassInfo*, const std::string&, H*) { return Variant(0); };
    s->AddMethod("function DayOf(Date: TDateTime): Integer", date, "ctDate");
    s->AddMethod("function MonthOf(Date: TDateTime): Integer", date, "ctDate");
    s->AddMethod("function YearOf(Date: TDateTime): Integer", date, "ctDate");
    s->AddMethod("function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", listed, "ctOther");
    for (const char* f : {"SUM", "AVG", "MIN", "MAX"})
        s->AddMethod(std::string("function ") + f + "(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                     listed, "ctAggregate");
    s->AddMethod("function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", listed, "ctAggregate");
}

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
    AddConstantsAndTypes(s);
    static const std::vector<ClassBinding> bindings = Bindings();
    for (const ClassBinding& b : bindings) {
        if (!b.Class) {
            s->AddObject("qlrGlobalVariables", &GlobalVariables());
            continue;
        }
        if (b.Class == &TWideStrings::StaticClassInfo() && !s->FindClass("TPersistent")) continue;
        if (auto* c = s->AddClass(b.Class, b.Ancestor))
            for (const Member& m : b.Members) AddMember(c, m);
    }
    AddFunctions(s);
}

} // namespace qlr
