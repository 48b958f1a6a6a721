// Laying out 10,000 memo texts of 200 characters and one line of 100,000
// characters on the 600-dpi layout; prints the times, never fails.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    qlr::TqlrDrawText dt;
    gui::TFont font;
    font.SetName("Arial");
    font.SetSize(10);
    qlr::TqlrDrawText::Lock();
    dt.SetFont(&font);
    dt.SetOptions(true, false, false, false, true, true, 0);
    dt.SetGaps(0, 0, 2);
    gui::TRect r(0, 0, 300, 1000);
    dt.SetDimensions(1, 1, 1, r, r);
    const std::u16string words = u"The total eclipse of the Sun is visible from a narrow path ";
    std::u16string text;
    while (text.size() < 200) text += words;
    text.resize(200);
    auto t0 = Clock::now();
    std::size_t lines = 0;
    for (int i = 0; i < 10000; ++i) {
        dt.SetText({text});
        lines += dt.Lines().size();
    }
    auto t1 = Clock::now();
    std::u16string longLine;
    while (longLine.size() < 100000) longLine += words;
    longLine.resize(100000);
    dt.SetText({longLine});
    auto t2 = Clock::now();
    qlr::TqlrDrawText::Unlock();
    std::printf("10,000 texts of 200 characters: %.1f ms (%zu lines; target under 1000 ms)\n", ms(t1 - t0), lines);
    std::printf("one line of 100,000 characters: %.1f ms (%zu lines; target under 200 ms)\n", ms(t2 - t1),
                dt.Lines().size());
    return 0;
}
