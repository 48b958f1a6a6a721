#include "dbgrids/UxUtils.h"

namespace dbgrids {

int NthWordStart(int n, std::string_view s, std::string_view delims)
{
    auto isDelim = [&](char c) { return delims.find(c) != std::string_view::npos; };
    int word = 0;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isDelim(s[i])) ++i;
        if (i >= s.size()) break;
        if (++word == n) return static_cast<int>(i) + 1;
        while (i < s.size() && !isDelim(s[i])) ++i;
    }
    return 0;
}

std::string NthWord(int n, std::string_view s, std::string_view delims)
{
    int start = NthWordStart(n, s, delims);
    if (start == 0) return {};
    size_t end = s.find_first_of(delims, static_cast<size_t>(start - 1));
    return std::string(s.substr(static_cast<size_t>(start - 1), end == std::string_view::npos ? std::string_view::npos : end - static_cast<size_t>(start - 1)));
}

gui::TCustomForm* ParentFormOf(gui::TControl* control)
{
    for (gui::TControl* c = control; c; c = c->Parent())
        if (auto* f = dynamic_cast<gui::TCustomForm*>(c)) return f;
    return nullptr;
}

std::string ComponentStorageName(rtl::TComponent* component)
{
    if (!component) return {};
    if (auto* form = dynamic_cast<gui::TCustomForm*>(component)) return form->ClassName();
    if (auto* control = dynamic_cast<gui::TControl*>(component)) {
        if (gui::TCustomForm* form = ParentFormOf(control)) return form->ClassName() + control->Name();
        return (control->Parent() ? control->Parent()->Name() : std::string()) + control->Name();
    }
    if (auto* owner = dynamic_cast<gui::TCustomForm*>(component->Owner()))
        return owner->ClassName() + "." + component->Name();
    return component->Name();
}

} // namespace dbgrids
