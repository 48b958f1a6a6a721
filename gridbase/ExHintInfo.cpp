// ExHintInfo: the content of the grid's rich hint.
#include "gridbase/ExHintInfo.h"

#include "platform/rtl/TypInfo.h"

namespace gridbase {

RTL_PUBLISHED(TExHintInfo)
{
    c.Property("ShowHelp", &TExHintInfo::ShowHelp, &TExHintInfo::SetShowHelp).Default(false);
    c.Property("Title", &TExHintInfo::Title, &TExHintInfo::SetTitle);
    c.Property("Picture", &TExHintInfo::Picture, [](TExHintInfo& h, TGDIPPicture* v) { h.SetPicture(v); });
    c.Property("Notes", &TExHintInfo::Notes, [](TExHintInfo& h, rtl::TStringList* v) { h.SetNotes(v); });
}

TExHintInfo::TExHintInfo() : FPicture(std::make_unique<TGDIPPicture>()), FNotes(std::make_unique<rtl::TStringList>())
{
}

TExHintInfo::~TExHintInfo() = default;

void TExHintInfo::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TExHintInfo*>(source);
    if (!src || src == this) return;
    FTitle = src->FTitle;
    FNotes->Assign(src->FNotes.get());
    FShowHelp = src->FShowHelp;
    FPicture->Assign(src->FPicture.get());
    FWideTitle = src->FWideTitle;
    FWideNotes = src->FWideNotes;
}

} // namespace gridbase
