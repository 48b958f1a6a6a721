// Writing and reading a report XML document of 500,000 items (about 50 MB)
// through a file; prints the times, never fails.
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrXML.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    const int kItems = 500000;
    qlr::TqlrXMLDocument doc;
    doc.Root()->SetName("preparedreport");
    for (int i = 0; i < kItems; ++i) {
        qlr::TqlrXMLItem* item = doc.Root()->Add();
        item->SetName("b");
        item->SetText("l=\"" + std::to_string(i % 800) + "\" t=\"120.5\" w=\"300\" h=\"18\" x=\"Memo" +
                      std::to_string(i) + "\" u=\"Sum &#38; total of page " + std::to_string(i) + "\" f=\"Arial,10\"");
    }
    std::string file = rtl::CreateTempFile("", "qlbench");
    auto t0 = Clock::now();
    {
        rtl::TFileStream out(file, rtl::fmCreate);
        doc.SaveToStream(out);
    }
    auto t1 = Clock::now();
    qlr::TqlrXMLDocument back;
    {
        rtl::TFileStream in(file, rtl::fmOpenRead);
        back.LoadFromStream(in);
    }
    auto t2 = Clock::now();
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("%d items, %.1f MB: write %.0f ms, read %.0f ms (%d items read)\n", kItems,
                rtl::FileSize(file) / 1e6, ms(t1 - t0), ms(t2 - t1), back.Root()->Count());
    rtl::DeleteFile(file);
    return 0;
}
