// The wide-string list of report scripts: every operation goes to the
// descendant's lines and reports the change.
#include "report/qlrWideStrings.h"

#include "platform/rtl/Lists.h"
#include "platform/rtl/Strings.h"

namespace qlr {

namespace {
std::u16string Wide(const std::string& s) { return rtl::UTF8ToUTF16(s); }
} // namespace

int TWideStrings::Add(const std::string& s)
{
    const int index = List().Add(Wide(s));
    Changed();
    return index;
}

int TWideStrings::AddObject(const std::string& s, rtl::TObject* object)
{
    const int index = List().AddObject(Wide(s), reinterpret_cast<intptr_t>(object));
    Changed();
    return index;
}

void TWideStrings::Clear()
{
    List().Clear();
    Changed();
}

void TWideStrings::Delete(int index)
{
    List().Delete(index);
    Changed();
}

int TWideStrings::IndexOf(const std::string& s) const { return List().IndexOf(Wide(s)); }

void TWideStrings::Insert(int index, const std::string& s)
{
    List().Insert(index, Wide(s));
    Changed();
}

void TWideStrings::LoadFromFile(const std::string& fileName)
{
    List().LoadFromFile(fileName);
    Changed();
}

void TWideStrings::LoadFromStream(rtl::TStream& stream)
{
    List().LoadFromStream(stream);
    Changed();
}

void TWideStrings::SaveToFile(const std::string& fileName) const { List().SaveToFile(fileName); }
void TWideStrings::SaveToStream(rtl::TStream& stream) const { List().SaveToStream(stream); }

int TWideStrings::Count() const { return List().Count(); }

rtl::TObject* TWideStrings::Objects(int index) const
{
    return reinterpret_cast<rtl::TObject*>(List().Objects(index));
}

void TWideStrings::SetObjects(int index, rtl::TObject* object)
{
    List().SetObjects(index, reinterpret_cast<intptr_t>(object));
    Changed();
}

std::string TWideStrings::Strings(int index) const { return rtl::UTF16ToUTF8(List().Strings(index)); }

void TWideStrings::SetStrings(int index, const std::string& s)
{
    List().SetStrings(index, Wide(s));
    Changed();
}

std::string TWideStrings::Text() const { return rtl::UTF16ToUTF8(List().Text()); }

void TWideStrings::SetText(const std::string& text)
{
    List().SetText(Wide(text));
    Changed();
}

void TWideStrings::Assign(const rtl::TPersistent* source)
{
    if (source == this) return;
    if (auto* wide = dynamic_cast<const TWideStrings*>(source)) {
        List().Assign(wide->List());
        Changed();
    } else if (auto* list = dynamic_cast<const rtl::TStringList*>(source)) {
        List().Assign(*list);
        Changed();
    } else {
        rtl::TPersistent::Assign(source);
    }
}

RTL_PUBLISHED(TWideStrings) {}
RTL_PUBLISHED(TWideStringList) {}

} // namespace qlr
