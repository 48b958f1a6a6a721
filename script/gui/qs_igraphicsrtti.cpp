#include "script/gui/qs_igraphicsrtti.h"

#include <algorithm>

#include "platform/gui/Graphics.h"
#include "platform/gui/GuiClassInfo.h"
#include "platform/gui/Metafile.h"
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

template <typename T>
T* ObjParam(TqsMethodHelper* c, int i)
{
    return dynamic_cast<T*>(c->GetParam(i).AsObject());
}
int32_t IntParam(TqsMethodHelper* c, int i) { return c->GetParam(i).AsInteger(); }
std::string StrParam(TqsMethodHelper* c, int i) { return rtl::VarToStr(c->GetParam(i)); }

struct TColorName {
    const char* Name;
    gui::TColor Value;
};

// The platform's colour names with their values.
const TColorName kColors[] = {
    {"clBlack", gui::clBlack}, {"clMaroon", gui::clMaroon}, {"clGreen", gui::clGreen}, {"clOlive", gui::clOlive},
    {"clNavy", gui::clNavy}, {"clPurple", gui::clPurple}, {"clTeal", gui::clTeal}, {"clGray", gui::clGray},
    {"clSilver", gui::clSilver}, {"clRed", gui::clRed}, {"clLime", gui::clLime}, {"clYellow", gui::clYellow},
    {"clBlue", gui::clBlue}, {"clFuchsia", gui::clFuchsia}, {"clAqua", gui::clAqua}, {"clWhite", gui::clWhite},
    {"clMoneyGreen", gui::clMoneyGreen}, {"clSkyBlue", gui::clSkyBlue}, {"clCream", gui::clCream},
    {"clMedGray", gui::clMedGray}, {"clActiveBorder", gui::clActiveBorder}, {"clActiveCaption", gui::clActiveCaption},
    {"clAppWorkSpace", gui::clAppWorkSpace}, {"clBackground", gui::clBackground}, {"clBtnFace", gui::clBtnFace},
    {"clBtnHighlight", gui::clBtnHighlight}, {"clBtnShadow", gui::clBtnShadow}, {"clBtnText", gui::clBtnText},
    {"clCaptionText", gui::clCaptionText}, {"clDefault", gui::clDefault},
    {"clGradientActiveCaption", gui::clGradientActiveCaption},
    {"clGradientInactiveCaption", gui::clGradientInactiveCaption}, {"clGrayText", gui::clGrayText},
    {"clHighlight", gui::clHighlight}, {"clHighlightText", gui::clHighlightText}, {"clHotLight", gui::clHotLight},
    {"clInactiveBorder", gui::clInactiveBorder}, {"clInactiveCaption", gui::clInactiveCaption},
    {"clInactiveCaptionText", gui::clInactiveCaptionText}, {"clInfoBk", gui::clInfoBk}, {"clInfoText", gui::clInfoText},
    {"clMenu", gui::clMenu}, {"clMenuBar", gui::clMenuBar}, {"clMenuHighlight", gui::clMenuHighlight},
    {"clMenuText", gui::clMenuText}, {"clNone", gui::clNone}, {"clScrollBar", gui::clScrollBar},
    {"cl3DDkShadow", gui::cl3DDkShadow}, {"cl3DLight", gui::cl3DLight}, {"clWindow", gui::clWindow},
    {"clWindowFrame", gui::clWindowFrame}, {"clWindowText", gui::clWindowText}};

} // namespace

TqsGraphicsFunctions::TqsGraphicsFunctions(TqsScript* AScript) : TqsRTTIModule(AScript)
{
    gui::DescribeGuiClasses();
    TqsScript* s = AScript;
    auto call = [this](TObject* i, const TClassInfo* c, const std::string& n, TqsMethodHelper* h) {
        return CallMethod(i, c, n, h);
    };
    for (const TColorName& c : kColors) s->AddConst(c.Name, "Integer", Variant(static_cast<int32_t>(c.Value)));
    s->AddEnumSet("TFontStyles", "fsBold, fsItalic, fsUnderline, fsStrikeout");
    s->AddEnum("TFontPitch", "fpDefault, fpVariable, fpFixed");
    s->AddEnum("TPenStyle", "psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame");
    s->AddEnum("TPenMode", "pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, "
                           "pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor");
    s->AddEnum("TBrushStyle", "bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross");

    for (auto [cls, name] : {std::pair{Cls<gui::TFont>(), "TFont"}, {Cls<gui::TPen>(), "TPen"}, {Cls<gui::TBrush>(), "TBrush"}})
        if (auto* c = s->AddClass(cls, "TPersistent")) c->AddConstructor("constructor Create", call);
    if (auto* c = s->AddClass(Cls<gui::TCanvas>(), "TPersistent")) {
        c->AddConstructor("constructor Create", call);
        for (const char* d : {"procedure Draw(X, Y: Integer; Graphic: TGraphic)",
                              "procedure Ellipse(X1, Y1, X2, Y2: Integer)", "procedure LineTo(X, Y: Integer)",
                              "procedure MoveTo(X, Y: Integer)", "procedure Rectangle(X1, Y1, X2, Y2: Integer)",
                              "procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)",
                              "procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)",
                              "function TextHeight(const Text: string): Integer",
                              "procedure TextOut(X, Y: Integer; const Text: string)",
                              "function TextWidth(const Text: string): Integer"})
            c->AddMethod(d, call);
        c->AddIndexProperty("Pixels", "Integer, Integer", "TColor", call);
    }
    if (auto* c = s->AddClass(Cls<gui::TGraphic>(), "TPersistent")) {
        c->AddConstructor("constructor Create", call);
        c->AddMethod("procedure LoadFromFile(const Filename: string)", call);
        c->AddMethod("procedure SaveToFile(const Filename: string)", call);
        // Height and Width are published properties of the graphic.
    }
    if (auto* c = s->AddClass(Cls<gui::TPicture>(), "TPersistent")) {
        c->AddMethod("procedure LoadFromFile(const Filename: string)", call);
        c->AddMethod("procedure SaveToFile(const Filename: string)", call);
    }
    s->AddClass(Cls<gui::TMetafile>(), "TGraphic");
    if (auto* c = s->AddClass(Cls<gui::TMetafileCanvas>(), "TCanvas"))
        c->AddConstructor("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)", call);
    s->AddClass(Cls<gui::TBitmap>(), "TGraphic");   // Canvas is published
}

Variant TqsGraphicsFunctions::CallMethod(TObject* Instance, const TClassInfo* ClassType, const std::string& MethodName,
                                         TqsMethodHelper* Caller)
{
    const std::string& n = MethodName;
    Variant result(0);
    if (ClassType == Cls<gui::TFont>() || ClassType == Cls<gui::TPen>() || ClassType == Cls<gui::TBrush>() ||
        ClassType == Cls<gui::TGraphic>()) {
        // The class the script named builds the instance (a TBitmap for
        // TBitmap.Create).
        if (n == "CREATE") {
            const TClassInfo* cls = Caller->ConstructedClass();
            return cls ? Variant::FromObject(cls->Create(nullptr)) : result;
        }
        auto* g = dynamic_cast<gui::TGraphic*>(Instance);
        if (g && n == "LOADFROMFILE") g->LoadFromFile(StrParam(Caller, 0));
        else if (g && n == "SAVETOFILE") g->SaveToFile(StrParam(Caller, 0));
    } else if (ClassType == Cls<gui::TCanvas>()) {
        if (n == "CREATE") return Variant::FromObject(new gui::TCanvas());
        auto* cv = dynamic_cast<gui::TCanvas*>(Instance);
        if (!cv) return result;
        auto p = [Caller](int i) { return IntParam(Caller, i); };
        if (n == "DRAW") cv->Draw(p(0), p(1), ObjParam<gui::TGraphic>(Caller, 2));
        else if (n == "ELLIPSE") cv->Ellipse(p(0), p(1), p(2), p(3));
        else if (n == "LINETO") cv->LineTo(p(0), p(1));
        else if (n == "MOVETO") cv->MoveTo(p(0), p(1));
        else if (n == "RECTANGLE") cv->Rectangle(p(0), p(1), p(2), p(3));
        else if (n == "ROUNDRECT") cv->RoundRect(p(0), p(1), p(2), p(3), p(4), p(5));
        else if (n == "STRETCHDRAW") cv->StretchDraw(gui::TRect{p(0), p(1), p(2), p(3)}, ObjParam<gui::TGraphic>(Caller, 4));
        else if (n == "TEXTHEIGHT") result = Variant(cv->TextHeight(StrParam(Caller, 0)));
        else if (n == "TEXTOUT") cv->TextOut(p(0), p(1), StrParam(Caller, 2));
        else if (n == "TEXTWIDTH") result = Variant(cv->TextWidth(StrParam(Caller, 0)));
        else if (n == "PIXELS.GET") result = Variant(static_cast<int32_t>(cv->Pixels(p(0), p(1))));
        else if (n == "PIXELS.SET") cv->SetPixels(p(0), p(1), static_cast<gui::TColor>(Caller->GetParam(2).AsInt64()));
    } else if (ClassType == Cls<gui::TPicture>()) {
        auto* pic = dynamic_cast<gui::TPicture*>(Instance);
        if (pic && n == "LOADFROMFILE") pic->LoadFromFile(StrParam(Caller, 0));
        else if (pic && n == "SAVETOFILE") pic->SaveToFile(StrParam(Caller, 0));
    } else if (ClassType == Cls<gui::TMetafileCanvas>()) {
        if (n == "CREATE") {
            auto* mf = ObjParam<gui::TMetafile>(Caller, 0);
            if (!mf) throw rtl::EInvalidOperation("A metafile is expected");
            // The recording keeps the metafile's size; an empty one records
            // on a page of the screen's usual size.
            int w = mf->Width() > 0 ? mf->Width() : 1024, h = mf->Height() > 0 ? mf->Height() : 768;
            return Variant::FromObject(new gui::TMetafileCanvas(mf, w, h));
        }
    }
    return result;
}

} // namespace qs
