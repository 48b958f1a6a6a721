#include "script/qs_itools.h"

#include <memory>

#include "platform/rtl/Strings.h"
#include "script/qs_iconst.h"
#include "script/qs_iilparser.h"
#include "script/qs_iparser.h"

namespace qs {

namespace {

struct TLanguage {
    std::string Name;
    std::string Grammar;
};

std::vector<TLanguage>& Registry()
{
    static std::vector<TLanguage> registry;
    return registry;
}

unsigned gRegistryVersion = 0;

} // namespace

void AddLanguageGrammar(const std::string& Name, const std::string& Grammar)
{
    ++gRegistryVersion;
    for (TLanguage& l : Registry())
        if (rtl::AnsiSameText(l.Name, Name)) {
            l.Grammar = Grammar;
            return;
        }
    Registry().push_back({Name, Grammar});
}

const std::string& GetLanguageGrammar(const std::string& Name)
{
    RegisterBuiltinGrammars();
    for (const TLanguage& l : Registry())
        if (rtl::AnsiSameText(l.Name, Name)) return l.Grammar;
    throw rtl::Exception(rtl::Format(SLangNotFound, Name));
}

std::vector<std::string> LanguageNames()
{
    RegisterBuiltinGrammars();
    std::vector<std::string> r;
    for (const TLanguage& l : Registry()) r.push_back(l.Name);
    return r;
}

unsigned LanguageRegistryVersion() { return gRegistryVersion; }

TqsVarType TypeNameToVarType(const std::string& TypeName, const TqsScript* Script)
{
    TqsCustomVariable* item = Script ? Script->Find(TypeName) : nullptr;
    return item ? item->Typ() : fvtClass;
}

bool ClassTypesCompatible(const std::string& ClassName1, const std::string& ClassName2, const TqsScript* Script)
{
    if (!Script) return false;
    TqsClassVariable* c1 = Script->FindClass(ClassName1);
    TqsClassVariable* c2 = Script->FindClass(ClassName2);
    if (!c1 || !c2) return false;
    // Walk the script-level ancestry of c2 (as registered), then the host's.
    for (TqsClassVariable* c = c2; c; c = c->Ancestor().empty() ? nullptr : Script->FindClass(c->Ancestor())) {
        if (c == c1) return true;
        if (c->Ancestor().empty() || rtl::AnsiSameText(c->Ancestor(), c->Name())) break;
    }
    return c1->ClassRef() && c2->ClassRef() && c2->ClassRef()->InheritsFrom(*c1->ClassRef());
}

bool VarTypesCompatible(TqsVarType Type1, const std::string& TypeName1, TqsVarType Type2,
                        const std::string& TypeName2, const TqsScript* Script)
{
    switch (Type1) {
    case fvtInt: return Type2 == fvtInt || Type2 == fvtFloat || Type2 == fvtVariant || Type2 == fvtEnum;
    case fvtBool: return Type2 == fvtBool || Type2 == fvtVariant;
    case fvtFloat: return Type2 == fvtInt || Type2 == fvtFloat || Type2 == fvtVariant;
    case fvtChar:
    case fvtString: return Type2 == fvtChar || Type2 == fvtString || Type2 == fvtVariant;
    case fvtClass:
        return Type2 == fvtVariant || (Type2 == fvtClass && ClassTypesCompatible(TypeName1, TypeName2, Script));
    case fvtArray: return Type2 == fvtArray || Type2 == fvtVariant;
    case fvtVariant: return true;
    case fvtEnum:
        return Type2 == fvtInt || Type2 == fvtVariant ||
               (Type2 == fvtEnum && rtl::AnsiSameText(TypeName1, TypeName2));
    case fvtConstructor: return false;
    }
    return false;
}

bool AssignmentCompatible(const TqsCustomVariable* Var1, const TqsCustomVariable* Var2, const TqsScript* Script)
{
    if (Var1->Typ() == fvtInt && Var2->Typ() == fvtFloat) return false;
    return VarTypesCompatible(Var1->Typ(), Var1->TypeName(), Var2->Typ(), Var2->TypeName(), Script);
}

Variant LiteralToVariant(const std::string& Text)
{
    if (Text.empty()) return Variant::Null();
    if (Text[0] == '\'') return Variant(Text.size() >= 2 ? Text.substr(1, Text.size() - 2) : std::string());
    int64_t i = 0;
    if (rtl::TryStrToInt64(Text, i)) {
        if (i > 2147483647LL || i < -2147483648LL) return Variant(static_cast<long long>(i));
        return Variant(static_cast<int32_t>(i));
    }
    long double f = 0;
    if (rtl::TryStrToFloat(Text, f)) return Variant(static_cast<double>(f));
    throw rtl::EConvertError("'" + Text + "' is not a valid floating point value");
}

namespace {

std::string Cut255(const std::string& s)
{
    // At most 255 characters (code points, the text being UTF-8).
    size_t i = 0;
    int n = 0;
    while (i < s.size() && n < 255) {
        rtl::NextUTF8(s, i);
        ++n;
    }
    return s.substr(0, i);
}

} // namespace

std::vector<rtl::TFormatArg> VariantToOpenArray(const Variant& Values)
{
    std::vector<rtl::TFormatArg> r;
    if (!Values.IsArray()) {
        // A single value stands for a one-element list.
        if (Values.IsEmpty() || Values.IsNull()) return r;
        return VariantToOpenArray(rtl::VarArrayOf({Values}));
    }
    int32_t lo = Values.LowBound(1), hi = Values.HighBound(1);
    for (int32_t i = lo; i <= hi; ++i) {
        Variant e = Values.GetElement({i});
        switch (e.VarType() & rtl::varTypeMask) {
        case rtl::varSmallint: case rtl::varInteger: case rtl::varShortInt: case rtl::varByte:
        case rtl::varWord: case rtl::varLongWord:
            r.emplace_back(static_cast<long long>(e.AsInt64()));
            break;
        case rtl::varInt64: r.emplace_back(static_cast<long long>(e.AsInt64())); break;
        case rtl::varSingle: case rtl::varDouble: case rtl::varCurrency: case rtl::varDate:
            r.emplace_back(e.AsExtended());
            break;
        case rtl::varOleStr: case rtl::varString: r.emplace_back(Cut255(e.AsString())); break;
        case rtl::varUString: r.emplace_back(e.AsString()); break;
        case rtl::varBoolean: r.emplace_back(e.AsBoolean()); break;
        default: r.emplace_back(0); break;
        }
    }
    return r;
}

TqsCustomVariable* DeclarationToVariable(const std::string& Syntax, const TqsScript* Script)
{
    TqsParser p;
    if (Script && Script->ExtendedCharset())
        for (int c = 128; c < 256; ++c) p.IdentifierCharset().set(static_cast<size_t>(c));
    p.SetText(Syntax);
    std::string kind = p.GetWord();
    bool macro = false;
    if (rtl::StartsText("macro", kind)) {
        macro = true;
        kind = kind.substr(5);
    }
    std::string name = p.GetIdent();
    std::string typeName;
    if (rtl::SameText(kind, "function")) {
        size_t colon = Syntax.rfind(':');
        if (colon != std::string::npos) {
            TqsParser t;
            t.SetText(Syntax.substr(colon + 1));
            typeName = t.GetIdent();
        }
    }
    auto item = std::make_unique<TqsCustomVariable>(name, TypeNameToVarType(typeName, Script), typeName);
    item->SetIsMacro(macro);

    p.SkipSpaces();
    if (p.GetChar() == "(") {
        for (;;) {
            p.SkipSpaces();
            int save = p.Position();
            if (p.GetChar() == ")") break;
            p.SetPosition(save);
            bool byRef = false;
            int wordPos = p.Position();
            std::string w = p.GetWord();
            if (rtl::SameText(w, "var")) byRef = true;
            else if (rtl::SameText(w, "const")) {
            } else p.SetPosition(wordPos);
            std::vector<std::string> names;
            for (;;) {
                std::string n = p.GetIdent();
                if (n.empty()) break;
                names.push_back(n);
                p.SkipSpaces();
                int s2 = p.Position();
                if (p.GetChar() != ",") {
                    p.SetPosition(s2);
                    break;
                }
            }
            if (names.empty()) break;  // malformed: stop reading parameters
            p.SkipSpaces();
            std::string pType;
            int s3 = p.Position();
            if (p.GetChar() == ":") pType = p.GetIdent();
            else p.SetPosition(s3);
            Variant def = Variant::Null();
            p.SkipSpaces();
            int s4 = p.Position();
            if (p.GetChar() == "=") {
                std::string t = p.GetNumber();
                if (t.empty()) t = p.GetString();
                if (t.empty()) {
                    p.SkipSpaces();
                    int s5 = p.Position();
                    if (p.GetChar() == "-") {
                        std::string n = p.GetNumber();
                        if (!n.empty()) t = "-" + n;
                        else p.SetPosition(s5);
                    } else {
                        p.SetPosition(s5);
                    }
                }
                if (!t.empty()) {
                    def = LiteralToVariant(t);
                } else {
                    std::string id = p.GetIdent();
                    TqsCustomVariable* v = Script && !id.empty() ? Script->Find(id) : nullptr;
                    if (v) def = v->GetValue();
                }
            } else {
                p.SetPosition(s4);
            }
            TqsVarType t = TypeNameToVarType(pType, Script);
            for (size_t i = 0; i < names.size(); ++i) {
                bool last = i + 1 == names.size();
                bool hasDef = last && !def.IsNull();
                auto* param = new TqsParamItem(names[i], t, pType, hasDef, byRef);
                if (hasDef) param->SetDefValue(def);
                item->Add(param);
            }
            p.SkipSpaces();
            int s6 = p.Position();
            std::string sep = p.GetChar();
            if (sep == ";") continue;
            if (sep != ")") p.SetPosition(s6);
            break;
        }
    }
    return item.release();
}

TqsPoint PositionTextToPoint(const std::string& Text)
{
    TqsPoint pt;
    if (Text.empty()) return pt;
    size_t colon = Text.find(':');
    if (colon == std::string::npos) return pt;
    pt.Y = rtl::StrToIntDef(Text.substr(0, colon), 0);
    pt.X = rtl::StrToIntDef(Text.substr(colon + 1), 0);
    return pt;
}

} // namespace qs
