// Dumps and declarations of the type wrappers.
#include "dbgrids/ucl/UclRTTI.h"

#include <cstdio>

#include "dbgrids/ucl/UclSysUtils.h"
#include "platform/rtl/Strings.h"

namespace ucl {

namespace {

const char* const kKindNames[] = {"tkUnknown", "tkInteger", "tkChar",    "tkEnumeration", "tkFloat",
                                  "tkString",  "tkSet",     "tkClass",   "tkMethod",      "tkWChar",
                                  "tkLString", "tkWString", "tkVariant", "tkInt64",       "tkUString",
                                  "tkInterface", "tkDynArray"};
const char* const kOrdNames[] = {"otSByte", "otUByte", "otSWord", "otUWord", "otSLong", "otULong", "otSInt64"};
const char* const kFloatNames[] = {"ftSingle", "ftDouble", "ftExtended", "ftComp", "ftCurr"};

std::string Address(const void* p)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

std::string OrdName(const rtl::TTypeInfo* t)
{
    return t ? kOrdNames[static_cast<int>(t->OrdType)] : "otSLong";
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string s;
    for (size_t i = 0; i < names.size(); ++i) s += (i ? ", " : "") + names[i];
    return s;
}

// An anonymous type (a name starting with ".") is written inline.
bool Anonymous(const std::string& name) { return !name.empty() && name[0] == '.'; }

// An access value or address as "$" and sixteen hex digits.
std::string Hex(uint64_t v)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "$%.16llX", static_cast<unsigned long long>(v));
    return buf;
}

const char* AccessKindText(TUclPropSpecKind k)
{
    switch (k) {
    case TUclPropSpecKind::pskStaticMethod: return "static method";
    case TUclPropSpecKind::pskVirtualMethod: return "virtual method";
    case TUclPropSpecKind::pskField: return "field";
    default: return "";
    }
}

bool IsAccessor(TUclPropSpecKind k)
{
    return k == TUclPropSpecKind::pskStaticMethod || k == TUclPropSpecKind::pskVirtualMethod ||
           k == TUclPropSpecKind::pskField;
}

std::string BoolText(bool b) { return b ? "True" : "False"; }

std::string GuidText(const rtl::TTypeGuid& g)
{
    TGUID u{g.D1, g.D2, g.D3, {}};
    for (int i = 0; i < 8; ++i) u.D4[static_cast<size_t>(i)] = g.D4[i];
    return GuidToText(u);
}

template <typename E, size_t N>
std::string FlagsText(rtl::Set<E> flags, const char* const (&names)[N])
{
    std::string s;
    for (size_t i = 0; i < N; ++i)
        if (flags.Contains(static_cast<E>(i))) s += (s.empty() ? "" : ", ") + std::string(names[i]);
    return "[" + s + "]";
}

const char* const kParamFlagNames[] = {"pfVar", "pfConst", "pfArray", "pfAddress", "pfReference", "pfOut"};
const char* const kIntfFlagNames[] = {"ifHasGuid", "ifDispInterface", "ifDispatch"};

// The per-property access lines of a class dump: read, write, stored.
void WritePropAccessDump(IUclDumpWriter& d, const TUclPropInfo& p)
{
    if (p.HasIndex()) d.WriteLine("[index " + std::to_string(p.Index()) + "]");
    if (p.HasDefault()) d.WriteLine("[default " + std::to_string(p.Default()) + "]");
    if (IsAccessor(p.ReaderType()))
        d.WriteLine(std::string("[read ") + AccessKindText(p.ReaderType()) + " " + Hex(p.ReaderValue()) + "]");
    if (IsAccessor(p.WriterType()))
        d.WriteLine(std::string("[write ") + AccessKindText(p.WriterType()) + " " + Hex(p.WriterValue()) + "]");
    if (IsAccessor(p.StoredType()))
        d.WriteLine(std::string("[stored=") + AccessKindText(p.StoredType()) + " " + Hex(p.StoredValue()) + "]");
    else if (p.StoredType() == TUclPropSpecKind::pskConstant)
        d.WriteLine("[stored=" + BoolText(p.StoredValue() != 0) + "]");
}

// " read [static method $...]" and the like for a class declaration.
std::string PropAccessDeclaration(const TUclPropInfo& p)
{
    std::string s;
    if (p.HasIndex()) s += " index " + std::to_string(p.Index());
    if (IsAccessor(p.ReaderType()))
        s += std::string(" read [") + AccessKindText(p.ReaderType()) + " " + Hex(p.ReaderValue()) + "]";
    if (IsAccessor(p.WriterType()))
        s += std::string(" write [") + AccessKindText(p.WriterType()) + " " + Hex(p.WriterValue()) + "]";
    if (IsAccessor(p.StoredType()))
        s += std::string(" stored = [") + AccessKindText(p.StoredType()) + " " + Hex(p.StoredValue()) + "]";
    else if (p.StoredType() == TUclPropSpecKind::pskConstant)
        s += " stored = " + BoolText(p.StoredValue() != 0);
    if (p.HasDefault()) s += " default " + std::to_string(p.Default());
    return s;
}

} // namespace

void TUclStringDumpWriter::WriteLine(const std::string& s)
{
    Lines.push_back(std::string(static_cast<size_t>(2 * FLevel), ' ') + FPending + s);
    FPending.clear();
}

void TUclTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    d.WriteLine("Name: " + Name());
    d.WriteLine(std::string("Type kind: ") + kKindNames[static_cast<int>(TypeKind())]);
    d.WriteLine("Type info: " + Address(FTypeInfo));
}

void TUclTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    d.WriteLine("// Declaration for '" + Name() + "' not supported.");
}

void TUclOrdinalTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine("Ordinal type: " + OrdName(FTypeInfo));
}

void TUclOrdinalRangeTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclOrdinalTypeInfo::WriteDump(d);
    d.WriteLine("Min value: " + std::to_string(FMin));
    d.WriteLine("Max value: " + std::to_string(FMax));
}

void TUclOrdinalRangeTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    auto bound = [&](int64_t v) -> std::string {
        bool isChar = TypeKind() == rtl::TTypeKind::tkChar || TypeKind() == rtl::TTypeKind::tkWChar;
        if (!isChar) return std::to_string(v);
        if (v >= 32 && v <= 126) return std::string("'") + static_cast<char>(v) + "'";
        return "#" + std::to_string(v);
    };
    d.WriteLine(Name() + " = " + bound(FMin) + ".." + bound(FMax) + "; // " + OrdName(FTypeInfo));
}

void TUclEnumerationTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclOrdinalRangeTypeInfo::WriteDump(d);
    d.WriteLine("Unit name: ");
    d.WriteLine("Names: (" + Joined(Names()) + ")");
}

void TUclEnumerationTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    std::string body = "(" + Joined(Names()) + ")";
    if (Anonymous(Name())) d.WriteText(body);
    else d.WriteLine(Name() + " = " + body + "; // " + OrdName(FTypeInfo));
}

void TUclSetTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclOrdinalTypeInfo::WriteDump(d);
    d.WriteLine("Based on: ");
    d.IndentMore();
    FBase->WriteDump(d);
    d.IndentLess();
}

void TUclSetTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    std::string base = FBase->Name();
    if (Anonymous(base)) {
        if (dynamic_cast<const TUclEnumerationTypeInfo*>(FBase.get())) {
            TUclStringDumpWriter inl;
            FBase->WriteDeclaration(inl);
            inl.WriteLine("");
            base = inl.Lines.back();
        } else {
            base = "???";
        }
    }
    if (Anonymous(Name())) d.WriteText("set of " + base);
    else d.WriteLine(Name() + " = set of " + base + "; // " + OrdName(FTypeInfo));
}

void TUclFloatTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine(std::string("Float type: ") + kFloatNames[static_cast<int>(FTypeInfo->FloatType)]);
}

void TUclFloatTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    d.WriteLine(Name() + " = type " + std::string(kFloatNames[static_cast<int>(FTypeInfo->FloatType)]).substr(2) + ";");
}

void TUclStringTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine("Max length: " + std::to_string(MaxLength()));
}

void TUclStringTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    const std::string body = "string[" + std::to_string(MaxLength()) + "]";
    if (Anonymous(Name())) d.WriteText(body);
    else d.WriteLine(Name() + " = " + body + ";");
}

void TUclInt64TypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine("Min value: " + std::to_string(INT64_MIN));
    d.WriteLine("Max value: " + std::to_string(INT64_MAX));
}

void TUclInt64TypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    d.WriteLine(Name() + " = " + std::to_string(INT64_MIN) + " .. " + std::to_string(INT64_MAX) + ";");
}

void TUclClassTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    d.WriteLine("Name: " + Name());
    d.WriteLine("Type kind: tkClass");
    d.WriteLine("Type info: " + Address(&FClass));
    d.WriteLine("Class name: " + FClass.Name());
    d.WriteLine("Parent: " + (FClass.Parent() ? FClass.Parent()->Name() : std::string()));
    d.WriteLine("Unit name: ");
    d.WriteLine("Property count: " + std::to_string(PropertyCount()) + " (" + std::to_string(TotalPropertyCount()) + ")");
    d.IndentMore();
    for (const rtl::TPropInfo* p : FClass.Properties()) {
        if (p->DeclaringClass() != &FClass) continue;
        d.WriteLine(p->Name() + ": " + p->PropType()->Name());
        d.IndentMore();
        WritePropAccessDump(d, TUclPropInfo(*p));
        d.IndentLess();
    }
    d.IndentLess();
}

void TUclClassTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    const rtl::TClassInfo* parent = FClass.Parent();
    if (!parent || parent->Name() == "TObject") d.WriteLine(Name() + " = class // unit ");
    else d.WriteLine(Name() + " = class(" + parent->Name() + ") // unit ");
    if (PropertyCount() > 0) {
        d.WriteLine("published");
        d.IndentMore();
        for (const rtl::TPropInfo* p : FClass.Properties()) {
            if (p->DeclaringClass() != &FClass) continue;
            d.WriteLine("property " + p->Name() + ": " + p->PropType()->Name() + PropAccessDeclaration(TUclPropInfo(*p)) +
                        ";");
        }
        d.IndentLess();
    }
    d.WriteLine("end;");
}

void TUclEventTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine(std::string("Method kind: ") +
                (MethodKind() == rtl::TMethodKind::mkFunction ? "mkFunction" : "mkProcedure"));
    d.WriteLine("Parameter count: " + std::to_string(ParameterCount()));
    d.IndentMore();
    for (int i = 0; i < ParameterCount(); ++i) {
        if (i > 0) d.WriteLine("");
        auto p = Parameters(i);
        d.WriteLine("Name: " + p->Name());
        d.WriteLine("Type: " + p->TypeName());
        d.WriteLine("Flags: " + FlagsText(p->Flags(), kParamFlagNames));
    }
    d.IndentLess();
    if (MethodKind() == rtl::TMethodKind::mkFunction) d.WriteLine("Return type: " + ResultTypeName());
}

void TUclEventTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    using F = rtl::TParamFlag;
    const bool isFunction = MethodKind() == rtl::TMethodKind::mkFunction;
    std::string s = Name() + " = " + (isFunction ? "function" : "procedure");
    for (int i = 0; i < ParameterCount(); ++i) {
        auto p = Parameters(i);
        s += i == 0 ? "(" : "; ";
        if (p->Flags().Contains(F::pfVar)) s += "var ";
        else if (p->Flags().Contains(F::pfConst)) s += "const ";
        else if (p->Flags().Contains(F::pfOut)) s += "out ";
        s += p->Name();
        if (!p->TypeName().empty()) {
            s += ": ";
            if (p->Flags().Contains(F::pfArray))
                s += rtl::SameText(p->TypeName(), "TVarRec") ? "array of const" : "array of " + p->TypeName();
            else
                s += p->TypeName();
        }
    }
    if (ParameterCount() > 0) s += ")";
    if (isFunction) s += ": " + ResultTypeName();
    d.WriteLine(s + " of object;");
}

void TUclInterfaceTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    if (Flags().Contains(rtl::TIntfFlag::ifHasGuid)) d.WriteLine("GUID: " + GuidText(GUID()));
    d.WriteLine("Flags: " + FlagsText(Flags(), kIntfFlagNames));
    d.WriteLine("Unit name: " + UnitName());
    if (auto parent = Parent()) d.WriteLine("Parent: " + parent->Name());
    d.WriteLine("Property count: " + std::to_string(PropertyCount()));
}

void TUclInterfaceTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    const bool disp = Flags().Contains(rtl::TIntfFlag::ifDispInterface);
    std::string s = Name() + " = " + (disp ? "dispinterface" : "interface");
    auto parent = Parent();
    if (parent && !disp && !rtl::SameText(parent->Name(), "IUnknown")) s += "(" + parent->Name() + ")";
    d.WriteLine(s + " // unit " + UnitName());
    if (Flags().Contains(rtl::TIntfFlag::ifHasGuid)) {
        d.IndentMore();
        d.WriteLine("['" + GuidText(GUID()) + "']");
        d.IndentLess();
    }
    d.WriteLine("end;");
}

void TUclDynArrayTypeInfo::WriteDump(IUclDumpWriter& d) const
{
    TUclTypeInfo::WriteDump(d);
    d.WriteLine("Element size: " + std::to_string(ElementSize()));
    auto element = ElementType();
    if (!element) {
        d.WriteLine("Element type: ???");
    } else if (Anonymous(element->Name())) {
        d.WriteLine("Element type: ");
        d.IndentMore();
        element->WriteDump(d);
        d.IndentLess();
    } else {
        d.WriteLine("Element type: " + element->Name());
    }
    d.WriteLine("Elements need clean up: " + BoolText(ElementsNeedCleanup()));
    d.WriteLine("Variant type: " + std::to_string(VarType()));
    d.WriteLine("Unit name: " + UnitName());
}

void TUclDynArrayTypeInfo::WriteDeclaration(IUclDumpWriter& d) const
{
    std::string element = "???";
    if (auto e = ElementType()) {
        element = e->Name();
        if (Anonymous(element)) {
            TUclStringDumpWriter inl;
            e->WriteDeclaration(inl);
            inl.WriteLine("");
            element = inl.Lines.back();
        }
    }
    const std::string body = "array of " + element;
    if (Anonymous(Name())) d.WriteText(body);
    else d.WriteLine(Name() + " = " + body + "; // Unit " + UnitName());
}

} // namespace ucl
