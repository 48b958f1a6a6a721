// libFuzzer target: any bytes, compiled and run as a script in one of the
// four languages (chosen by the first byte) under a step limit, and read
// as intermediate code.  Nothing may crash, leak memory errors or hang.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Streams.h"
#include "script/qs_iinterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    static const char* const langs[] = {"PascalScript", "C++Script", "JScript", "BasicScript"};
    std::string lang = langs[data[0] % 4];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    qs::SetStepLimit(20000);
    {
        auto s = std::make_unique<qs::TqsScript>(nullptr);
        s->AddRTTI();
        s->SetSyntaxType(lang);
        s->AddVariable("Out", "Variant", qs::Variant());
        s->SetText(text);
        try {
            if (s->Compile()) s->Execute();
        } catch (const rtl::Exception&) {
        }
    }
    {
        auto s = std::make_unique<qs::TqsScript>(nullptr);
        s->AddRTTI();
        rtl::TStringStream st(text);
        try {
            if (s->SetILCode(st)) s->Execute();
        } catch (const rtl::Exception&) {
        }
    }
    qs::SetStepLimit(-1);
    return 0;
}
