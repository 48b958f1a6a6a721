// Colour resolution for the typed colour values.
#include "xml/XmlDomGraphics.h"

#include <atomic>

namespace xml {

// Typical desktop colours for the 31 system colour indices, as
// 0x00BBGGRR: scroll bar, background, captions, menu, window, frame,
// texts, borders, work space, highlight, button face and shades, grey
// text, 3-D shades, tool tips, hot light, caption gradients, menu bar.
static const TXmlColor cSystemColors[31] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};

TXmlColor DefaultColorToRGB(TXmlColor AColor)
{
    if ((AColor & 0xFF000000u) != 0xFF000000u) return AColor;
    uint32_t index = AColor & 0xFFu;
    return index < 31 ? cSystemColors[index] : 0;
}

static std::atomic<TColorToRGBFunc> gColorToRGB{&DefaultColorToRGB};

TColorToRGBFunc SetColorToRGBHook(TColorToRGBFunc AFunc)
{
    return gColorToRGB.exchange(AFunc ? AFunc : &DefaultColorToRGB);
}

TXmlColor ColorToRGB(TXmlColor AColor)
{
    return gColorToRGB.load()(AColor);
}

} // namespace xml
