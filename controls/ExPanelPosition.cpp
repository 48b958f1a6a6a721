// Where a caption panel keeps its place between runs: an ini file or the
// registry stand-in, one section of integer values per panel.
#include <memory>

#include "controls/ExPanel.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/sys/RegistryIni.h"

namespace controls {

void TPanelPosition::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TPanelPosition*>(source);
    if (!s) throw rtl::EConvertError("Invalid class typecast");
    FKey = s->FKey;
    FSection = s->FSection;
    FSave = s->FSave;
    FLocation = s->FLocation;
}

namespace {
std::unique_ptr<rtl::TCustomIniFile> OpenStore(const TPanelPosition& p)
{
    if (p.Location() == TPanelPositionLocation::clInifile) return std::make_unique<rtl::TIniFile>(p.Key());
    return std::make_unique<sys::TRegistryIniFile>(p.Key());
}
} // namespace

void TCustomExPanel::SavePosition()
{
    if (!FPosition || FPosition->Key().empty() || FPosition->Section().empty() || IsDesigning()) return;
    auto ini = OpenStore(*FPosition);
    const std::string& s = FPosition->Section();
    ini->WriteInteger(s, "Top", Top());
    ini->WriteInteger(s, "Left", Left());
    ini->WriteInteger(s, "Height", Height());
    ini->WriteInteger(s, "FullHeight", FFullHeight);
    ini->WriteInteger(s, "Width", Width());
    ini->WriteInteger(s, "Collaps", FCollaps ? 1 : 0);
}

void TCustomExPanel::LoadPosition()
{
    if (!FPosition || FPosition->Key().empty() || FPosition->Section().empty() || IsDesigning()) return;
    auto ini = OpenStore(*FPosition);
    const std::string s = FPosition->Section();
    SetTop(ini->ReadInteger(s, "Top", Top()));
    SetLeft(ini->ReadInteger(s, "Left", Left()));
    SetHeight(ini->ReadInteger(s, "Height", Height()));
    SetWidth(ini->ReadInteger(s, "Width", Width()));
    SetCollaps(ini->ReadInteger(s, "Collaps", 0) == 1);
    FFullHeight = ini->ReadInteger(s, "FullHeight", Height());
}

} // namespace controls
