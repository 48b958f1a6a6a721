// OfficeDispatch: the member tables the office stand-ins are built from
// (internal to gridio/).  A member is found by its upper-cased name; a
// property read falls back to a method of that name and a call to a
// property, as late binding allows.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

namespace gridio {

using rtl::Variant;
using TArgs = std::vector<Variant>;

class TMemberDispatch : public rtl::IDispatchObject {
public:
    Variant GetProperty(const std::string& name, const TArgs& args) override { return Find(name)(args); }
    Variant Call(const std::string& name, const TArgs& args) override { return Find(name)(args); }
    void SetProperty(const std::string& name, const TArgs& args, const Variant& value) override
    {
        auto it = FSetters.find(rtl::AnsiUpperCase(name));
        if (it == FSetters.end()) throw rtl::Exception("Member " + name + " cannot be set");
        it->second(args, value);
    }

protected:
    using TGetter = std::function<Variant(const TArgs&)>;
    using TSetter = std::function<void(const TArgs&, const Variant&)>;
    void Member(const std::string& upperName, TGetter g) { FGetters[upperName] = std::move(g); }
    void Setter(const std::string& upperName, TSetter s) { FSetters[upperName] = std::move(s); }
    static const Variant& Arg(const TArgs& args, size_t i)
    {
        if (i >= args.size()) throw rtl::Exception("Missing argument");
        return args[i];
    }

private:
    const TGetter& Find(const std::string& name)
    {
        auto it = FGetters.find(rtl::AnsiUpperCase(name));
        if (it == FGetters.end()) throw rtl::Exception("Unknown name " + name);
        return it->second;
    }
    std::map<std::string, TGetter> FGetters;
    std::map<std::string, TSetter> FSetters;
};

template <class T, class... A>
Variant MakeDispatch(A&&... a)
{
    return Variant(std::shared_ptr<rtl::IDispatchObject>(std::make_shared<T>(std::forward<A>(a)...)));
}

void RegisterExcelServer();
void RegisterWordServer();
void RegisterAdoServer();

// XML text escaping for the files the stand-ins write.
std::string XmlEscape(const std::string& text);

} // namespace gridio
