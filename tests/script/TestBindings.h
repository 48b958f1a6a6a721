// A host class for the script tests, described to the runtime's reflection
// (published properties and an event) and bound to scripts by a test
// binding module: constructor, Free, a method, an indexed and a default
// property and an event.
#pragma once

#include <map>

#include "platform/rtl/TypInfo.h"
#include "script/qs_iinterpreter.h"

namespace qstest {

class TScriptCounter : public rtl::TComponent {
    RTL_CLASS(TScriptCounter, rtl::TComponent)
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TScriptCounter"; }

    int32_t Count() const { return FCount; }
    void SetCount(int32_t v) { FCount = v; }
    bool Active() const { return FActive; }
    void SetActive(bool v) { FActive = v; }
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    int32_t Version() const { return 7; }
    rtl::TNotifyEvent OnChange;

    // Items[i]: a stored value, or i * 100 when none was stored.
    int32_t Items(int32_t i) const
    {
        auto it = FItems.find(i);
        return it == FItems.end() ? i * 100 : it->second;
    }
    void SetItems(int32_t i, int32_t v) { FItems[i] = v; }
    void Fire()
    {
        if (OnChange) OnChange(this);
    }

private:
    int32_t FCount = 0;
    bool FActive = false;
    std::string FCaption;
    double FRatio = 0;
    std::map<int32_t, int32_t> FItems;
};

// Registers TObject (Create, Free), TPersistent, TComponent and
// TScriptCounter.
class TTestModule : public qs::TqsRTTIModule {
public:
    explicit TTestModule(qs::TqsScript* s);
};

// Adds TTestModule to the global module list (once).
void RegisterTestModule();

} // namespace qstest
