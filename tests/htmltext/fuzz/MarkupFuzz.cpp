// Fuzz target of the markup engine: the input is rendered in both dialects
// on a bitmap canvas, measured, hit-tested and put through the text
// utilities.  Any crash, undefined behaviour or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "platform/gui/Graphics.h"

using namespace htmltext;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) return 0;
    const std::string m(reinterpret_cast<const char*>(data), size);
    static gui::TBitmap* bmp = [] {
        auto* b = new gui::TBitmap(160, 120);
        b->Canvas()->Font()->SetName("Courier New");
        b->Canvas()->Font()->SetHeight(-13);
        return b;
    }();
    THTMLPictureCache cache;
    for (TMarkupDialect d : {TMarkupDialect::mdPanel, TMarkupDialect::mdGrid}) {
        TMarkupOptions o;
        o.PictureCache = &cache;
        o.PointX = size % 160;
        o.PointY = (size / 3) % 120;
        TMarkupResult r;
        DrawMarkupText(d, *bmp->Canvas(), m, gui::Rect(0, 0, 150, 110), o, r);
        o.HotSpotCheck = true;
        o.WordWrap = false;
        o.HoverStyle = true;
        o.HoverIndex = 1;
        o.FocusIndex = 0;
        DrawMarkupText(d, *bmp->Canvas(), m, gui::Rect(5, 5, 60, 50), o, r);
        o.HeightCheck = true;
        DrawMarkupText(d, *bmp->Canvas(), m, gui::Rect(0, 0, 40, 10), o, r);
        MarkupToPlainText(d, m);
        std::string h = InsertTagAroundMatches(d, m, m.substr(0, size % 3), "hi", size & 1);
        RemoveTagPairs(d, h, "hi");
    }
    std::string t = m;
    SetControlValue(t, "a", m);
    NextEditableControlID(m, "");
    DecodeHTMLEntities(EncodeHTMLEntities(m));
    return 0;
}
