// Dumps and declarations of the type wrappers.
#include "dbgrids/ucl/UclRTTI.h"

#include <cstdio>

namespace ucl {

namespace {

const char* const kKindNames[] = {"tkUnknown", "tkInteger", "tkChar",    "tkEnumeration", "tkFloat",
                                  "tkString",  "tkSet",     "tkClass",   "tkMethod",      "tkWChar",
                                  "tkLString", "tkWString", "tkVariant", "tkInt64",       "tkUString"};
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
        if (p->HasDefault()) {
            d.IndentMore();
            d.WriteLine("[default " + std::to_string(p->Default()) + "]");
            d.IndentLess();
        }
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
            std::string line = "property " + p->Name() + ": " + p->PropType()->Name();
            if (p->HasDefault()) line += " default " + std::to_string(p->Default());
            d.WriteLine(line + ";");
        }
        d.IndentLess();
    }
    d.WriteLine("end;");
}

} // namespace ucl
