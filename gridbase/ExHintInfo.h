// ExHintInfo: TExHintInfo, the content of the grid's rich hint: a title,
// note lines, a picture and a help flag.
//
// The rule a caller must know: the notes and the picture are owned and
// assigned by copy; Assign takes only another TExHintInfo and ignores
// anything else.
//
//   gridbase::TExHintInfo hint;
//   hint.SetTitle("Contact");
//   hint.Notes()->Add("Second contact of the eclipse");
//   hint.Picture()->LoadFromURL("res://HINTPIC");
#pragma once

#include <memory>
#include <string>

#include "gridbase/GDIPicture.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/TypInfo.h"

namespace gridbase {

class TExHintInfo : public rtl::TPersistent {
    RTL_CLASS(TExHintInfo, rtl::TPersistent)
public:
    TExHintInfo();
    ~TExHintInfo() override;

    // From another TExHintInfo: title, notes, help flag, picture and the
    // wide texts.  Any other source changes nothing.
    void Assign(const rtl::TPersistent* source) override;

    TGDIPPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TGDIPPicture* value) { FPicture->Assign(value); }
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool v) { FShowHelp = v; }
    rtl::TStringList* Notes() const { return FNotes.get(); }
    void SetNotes(const rtl::TStringList* value) { FNotes->Assign(value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    const std::u16string& WideTitle() const { return FWideTitle; }
    void SetWideTitle(const std::u16string& v) { FWideTitle = v; }
    const std::u16string& WideNotes() const { return FWideNotes; }
    void SetWideNotes(const std::u16string& v) { FWideNotes = v; }

private:
    std::unique_ptr<TGDIPPicture> FPicture;
    bool FShowHelp = false;
    std::unique_ptr<rtl::TStringList> FNotes;
    std::string FTitle;
    std::u16string FWideTitle;
    std::u16string FWideNotes;
};

} // namespace gridbase
