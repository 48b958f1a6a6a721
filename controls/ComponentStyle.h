// The suite-wide looks a style component hands to the controls that take
// them: each control maps a TQuorStyle onto colours of its own and ignores
// the looks it has none for.
//
//     if (auto* s = dynamic_cast<controls::IComponentStyle*>(component))
//         s->SetComponentStyle(controls::TQuorStyle::tsOffice2007Luna);
#pragma once

namespace controls {

enum class TQuorStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
    tsOffice2007Luna, tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom,
    tsOffice2007Silver, tsWindowsVista, tsWindows7, tsTerminal, tsOffice2010Blue,
    tsOffice2010Silver, tsOffice2010Black,
};

class IComponentStyle {
public:
    virtual ~IComponentStyle() = default;
    virtual void SetComponentStyle(TQuorStyle style) = 0;
};

} // namespace controls
