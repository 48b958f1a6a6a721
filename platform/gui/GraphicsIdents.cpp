#include "platform/gui/GraphicsIdents.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

namespace gui {

namespace {

#define C(name) {static_cast<int32_t>(name), #name}
const std::vector<rtl::TIdentMapEntry>& ColorMap()
{
    static const std::vector<rtl::TIdentMapEntry> map = {
        C(clBlack), C(clMaroon), C(clGreen), C(clOlive), C(clNavy), C(clPurple), C(clTeal), C(clGray),
        C(clSilver), C(clRed), C(clLime), C(clYellow), C(clBlue), C(clFuchsia), C(clAqua), C(clWhite),
        C(clMoneyGreen), C(clSkyBlue), C(clCream), C(clMedGray), C(clScrollBar), C(clBackground),
        C(clActiveCaption), C(clInactiveCaption), C(clMenu), C(clWindow), C(clWindowFrame), C(clMenuText),
        C(clWindowText), C(clCaptionText), C(clActiveBorder), C(clInactiveBorder), C(clAppWorkSpace),
        C(clHighlight), C(clHighlightText), C(clBtnFace), C(clBtnShadow), C(clGrayText), C(clBtnText),
        C(clNone), C(clDefault)};
    return map;
}

const std::vector<rtl::TIdentMapEntry>& CursorMap()
{
    static const std::vector<rtl::TIdentMapEntry> map = {
        C(crDefault), C(crNone), C(crArrow), C(crCross), C(crIBeam), C(crSizeNESW), C(crSizeNS),
        C(crSizeNWSE), C(crSizeWE), C(crUpArrow), C(crHourGlass), C(crDrag), C(crNoDrop), C(crHSplit),
        C(crVSplit), C(crMultiDrag), C(crSQLWait), C(crNo), C(crAppStart), C(crHelp), C(crHandPoint),
        C(crSizeAll)};
    return map;
}
#undef C

const rtl::TTypeInfo* Registered(const char* name, const std::vector<rtl::TIdentMapEntry>& (*map)(), rtl::TOrdType ord)
{
    auto* t = new rtl::TTypeInfo(rtl::TTypeInfo::Make(name, rtl::TTypeKind::tkInteger));
    t->OrdType = ord;
    rtl::RegisterIntegerConsts(
        t, [map](const std::string& s, int32_t& v) { return rtl::IdentToInt(s, v, map()); },
        [map](int32_t v, std::string& s) { return rtl::IntToIdent(v, s, map()); });
    return t;
}

} // namespace

const rtl::TTypeInfo* TypeInfoColor()
{
    static const rtl::TTypeInfo* t = Registered("TColor", &ColorMap, rtl::TOrdType::otULong);
    return t;
}

const rtl::TTypeInfo* TypeInfoCursor()
{
    static const rtl::TTypeInfo* t = Registered("TCursor", &CursorMap, rtl::TOrdType::otSLong);
    return t;
}

std::string ColorToIdent(uint32_t color)
{
    std::string ident;
    if (rtl::IntToIdent(static_cast<int32_t>(color), ident, ColorMap())) return ident;
    static const char* hex = "0123456789ABCDEF";
    std::string s = "$";
    for (int shift = 28; shift >= 0; shift -= 4) s += hex[(color >> shift) & 0xF];
    return s;
}

bool IdentToColor(const std::string& text, uint32_t& color)
{
    int32_t v = 0;
    if (rtl::IdentToInt(text, v, ColorMap())) {
        color = static_cast<uint32_t>(v);
        return true;
    }
    if (text.empty()) return false;
    const bool hexadecimal = text[0] == '$';
    const std::string digits = hexadecimal ? text.substr(1) : text;
    if (digits.empty()) return false;
    try {
        size_t used = 0;
        const long long n = std::stoll(digits, &used, hexadecimal ? 16 : 10);
        if (used != digits.size() || n < -2147483648LL || n > 0xFFFFFFFFLL) return false;
        color = static_cast<uint32_t>(n);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace gui
