// The chart's binary item file and text listing.

#include "chart/PlotChartFiles.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "chart/PlotChart.h"

namespace chart {

namespace {

template <typename T> void Put(uint8_t* p, T v)
{
    uint8_t b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(b, b + sizeof(T));
    std::memcpy(p, b, sizeof(T));
}

template <typename T> T Get(const uint8_t* p)
{
    uint8_t b[sizeof(T)];
    std::memcpy(b, p, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(b, b + sizeof(T));
    T v;
    std::memcpy(&v, b, sizeof(T));
    return v;
}

bool DrawableKind(uint8_t k) { return (k >= 1 && k <= 9) || (k >= 12 && k <= 16); }

} // namespace

void EncodeItemRecord(const TrcChartItem& it, uint8_t* r)
{
    std::memset(r, 0, ItemRecordSize);
    Put(r + 0, it.x);
    Put(r + 8, it.y);
    Put(r + 16, it.x2);
    Put(r + 24, it.y2);
    Put<uint32_t>(r + 32, it.Color);
    Put<uint32_t>(r + 36, it.FillColor);
    Put<uint32_t>(r + 40, it.ShadowColor);
    Put<uint32_t>(r + 44, it.HiLightColor);
    r[48] = it.PenStyle;
    Put<int32_t>(r + 52, it.Tag);
    Put<int32_t>(r + 56, it.LWid);
    r[60] = it.ItemClass;
    r[61] = static_cast<uint8_t>(it.ItemKind);
    Put<int32_t>(r + 64, it.Layer);
    r[68] = it.Transp;
    r[69] = it.FrameStyle;
    r[70] = it.TextLen;
    std::memcpy(r + 71, it.TextChars, sizeof(it.TextChars));
    Put<int32_t>(r + 88, it.SizeOrAngle);
    Put<int32_t>(r + 92, it.Depth);
    r[96] = it.MarkOrAlign;
}

bool DecodeItemRecord(const uint8_t* r, TrcChartItem& it)
{
    it = TrcChartItem{};
    it.x = Get<double>(r + 0);
    it.y = Get<double>(r + 8);
    it.x2 = Get<double>(r + 16);
    it.y2 = Get<double>(r + 24);
    it.Color = Get<uint32_t>(r + 32);
    it.FillColor = Get<uint32_t>(r + 36);
    it.ShadowColor = Get<uint32_t>(r + 40);
    it.HiLightColor = Get<uint32_t>(r + 44);
    it.PenStyle = r[48];
    it.Tag = Get<int32_t>(r + 52);
    it.LWid = Get<int32_t>(r + 56);
    it.ItemClass = r[60];
    it.ItemKind = static_cast<TrcItem>(r[61]);
    it.Layer = Get<int32_t>(r + 64);
    it.Transp = r[68];
    it.FrameStyle = r[69];
    it.TextLen = std::min<uint8_t>(r[70], static_cast<uint8_t>(sizeof(it.TextChars)));
    std::memcpy(it.TextChars, r + 71, sizeof(it.TextChars));
    it.SizeOrAngle = Get<int32_t>(r + 88);
    it.Depth = Get<int32_t>(r + 92);
    it.MarkOrAlign = r[96];
    return DrawableKind(r[61]) && it.Layer >= 1 && it.Layer <= MaxLayers;
}

namespace {

// Fixed point with 4 decimals and "." whatever the locale.
std::string Fixed4(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    return std::string(buf, r.ptr);
}

// The lowest digits nibbles, upper case, most significant first.
std::string Hex(uint32_t v, int digits)
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string s(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
    return s;
}
std::string Bool(uint8_t v) { return v ? "TRUE" : "FALSE"; }
std::string Whole(double v) { return std::to_string(static_cast<long long>(std::nearbyint(v))); }

const char* KindName(TrcItem k)
{
    switch (k) {
    case TrcItem::tkMarkAt: return "tkMarkAt";
    case TrcItem::tkLine: return "tkLine";
    case TrcItem::tkLineto: return "tkLineTo";
    case TrcItem::tkRect: return "tkRect";
    case TrcItem::tkRectFrame: return "tkRectFrame";
    case TrcItem::tk3DBar: return "tk3DBar";
    case TrcItem::tkText: return "tkText";
    case TrcItem::tkMoveTo: return "tkMoveTo";
    case TrcItem::tkEllipse: return "tkEllipse";
    case TrcItem::tkMoveRelPix: return "tkMoveRelPix";
    case TrcItem::tkLineRelPix: return "tkLineRelPix";
    case TrcItem::tkArrow: return "tkArrow";
    case TrcItem::tkTextOfs: return "tkTextOfs";
    case TrcItem::tkRectRelPix: return "tkRectRelPix";
    default: return nullptr;
    }
}

} // namespace

std::string ItemListing(const TrcChartItem& it, int index)
{
    std::string s;
    auto line = [&s](const std::string& text) { s += text + "\r\n"; };
    auto fill = [&] { line("fillcolor: " + Hex(it.FillColor, 8)); };
    auto transp = [&] { line("  transp.: " + Bool(it.Transp)); };
    auto point2 = [&](const char* label) { line(std::string(label) + "[" + Fixed4(it.x2) + "/" + Fixed4(it.y2) + "]"); };
    auto text = [&] {
        line("     text: '" + ItemText(it) + "'");
        line("     size: " + std::to_string(it.SizeOrAngle));
        line("    align: " + std::to_string(it.MarkOrAlign));
    };
    line("");
    line("------ item " + std::to_string(index) + " ------");
    if (const char* name = KindName(it.ItemKind)) line(std::string(" elemtype: ") + name);
    line(" startpnt: [" + Fixed4(it.x) + "/" + Fixed4(it.y) + "]");
    line("    color: " + Hex(it.Color, 8));
    line(" penstyle: " + Hex(it.PenStyle, 2));
    line("linewidth: " + std::to_string(it.LWid));
    line(" classnum: " + std::to_string(it.ItemClass));
    switch (it.ItemKind) {
    case TrcItem::tkMarkAt: line(" marktype: " + std::to_string(it.MarkOrAlign)); break;
    case TrcItem::tkLine: point2(" endpoint: "); break;
    case TrcItem::tkRect: point2("   corner: "); fill(); transp(); break;
    case TrcItem::tkRectFrame: {
        point2("   corner: ");
        fill();
        static const char* const kFrames[] = {"rbLowered", "rbRaised", "rbEmbossed", "rbEngraved"};
        if (it.FrameStyle >= 2 && it.FrameStyle <= 5) line(std::string("frametype: ") + kFrames[it.FrameStyle - 2]);
        line("shadowcol: " + Hex(it.ShadowColor, 8));
        line("hilitecol: " + Hex(it.HiLightColor, 8));
        break;
    }
    case TrcItem::tk3DBar:
        point2(" endpoint: ");
        fill();
        line("    depth: " + std::to_string(it.Depth));
        line("    angle: " + std::to_string(it.SizeOrAngle));
        break;
    case TrcItem::tkText: text(); break;
    case TrcItem::tkEllipse:
        line(" halfaxes: " + Fixed4(it.x2) + " " + Fixed4(it.y2));
        fill();
        transp();
        break;
    case TrcItem::tkArrow:
        point2("    arrow: ");
        fill();
        transp();
        line(" headsize: " + std::to_string(it.SizeOrAngle));
        break;
    case TrcItem::tkTextOfs:
        text();
        line(" offset x: '" + Whole(it.x2) + "'");
        line(" offset y: '" + Whole(it.y2) + "'");
        break;
    case TrcItem::tkRectRelPix:
        line("    dx/dy: " + Whole(it.x2) + "/" + Whole(it.y2));
        fill();
        transp();
        break;
    default: break;
    }
    return s;
}

// ------------------------------------------------------------ chart methods

void TCustomPlotChart::SaveData(const std::string& fileName) const
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return;
    uint8_t rec[ItemRecordSize];
    for (int i = 0; i < FItems.NumItems(); ++i) {
        EncodeItemRecord(FItems[i], rec);
        out.write(reinterpret_cast<const char*>(rec), ItemRecordSize);
    }
}

void TCustomPlotChart::LoadData(const std::string& fileName, bool appendIt)
{
    // Every record is read and checked before the list changes, so a file
    // that cannot be read whole leaves the list as it was.
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return;
    const std::size_t n = bytes.size() / ItemRecordSize;
    std::vector<TrcChartItem> items(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!DecodeItemRecord(bytes.data() + i * ItemRecordSize, items[i])) return;
    FItems.AppendLoaded(items, !appendIt);
    if (FConstructed) Paint();
}

void TCustomPlotChart::SaveDataASC(const std::string& fileName) const
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return;
    for (int i = 0; i < FItems.NumItems(); ++i) out << ItemListing(FItems[i], i);
}

} // namespace chart
