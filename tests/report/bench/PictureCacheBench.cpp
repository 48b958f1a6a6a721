// 10,000 pictures of about 20 KB added to the file-backed picture cache and
// read back; prints the time, never fails.
#include <chrono>
#include <cstdio>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"
#include "report/qlrClass.h"
#include "report/qlrPictureCache.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    gui::TBitmap bmp(80, 85);  // 80 * 3 bytes a row, 85 rows: about 20 KB as BMP
    rtl::TMemoryStream bytes;
    bmp.SaveToStream(bytes);
    qlr::TqlrPictureView view(nullptr);
    bytes.SetPosition(0);
    view.LoadPictureFromStream(bytes, true);
    qlr::TqlrPictureCache cache;
    cache.SetUseFileCache(true);
    auto t0 = Clock::now();
    for (int i = 0; i < 10000; ++i) cache.AddPicture(&view);
    auto t1 = Clock::now();
    qlr::TqlrPictureView back(nullptr);
    int ok = 0;
    for (int i = 1; i <= 10000; ++i) {
        back.SetImageIndex(i);
        cache.GetPicture(&back);
        ok += back.Picture()->Width() == 80;
    }
    auto t2 = Clock::now();
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("10,000 pictures of %lld bytes: add %.1f ms, read back %.1f ms, total %.1f ms (target under 1000 ms); %d read\n",
                static_cast<long long>(bytes.Size()), ms(t1 - t0), ms(t2 - t1), ms(t2 - t0), ok);
    return 0;
}
