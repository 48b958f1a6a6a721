// Declaration helpers shared by the report classes' published-property
// blocks (bounds, font, common switches); for the report's .cpp files only.
//
// The rule a caller must know: call them inside an RTL_PUBLISHED block, in
// the order the class publishes its properties.
//
// Example:
//   RTL_PUBLISHED(TqlrBand) { FontProps(c); Bounds(c); }
#pragma once

#include "report/qlrClass.h"

namespace qlr::props {

template <typename C>
void Bounds(rtl::TClassDecl<C>& c)
{
    c.Property("Left", [](C& o) { return o.Left(); }, [](C& o, long double v) { o.SetLeft(v); });
    c.Property("Top", [](C& o) { return o.Top(); }, [](C& o, long double v) { o.SetTop(v); });
    c.Property("Width", [](C& o) { return o.Width(); }, [](C& o, long double v) { o.SetWidth(v); });
    c.Property("Height", [](C& o) { return o.Height(); }, [](C& o, long double v) { o.SetHeight(v); });
}

template <typename C>
void FontProps(rtl::TClassDecl<C>& c)
{
    c.Property("Font", [](C& o) { return o.Font(); }, [](C& o, gui::TFont* f) { o.SetFont(f); })
        .Stored([](C& o) { return o.IsFontStored(); });
    c.Property("ParentFont", [](C& o) { return o.ParentFont(); }, [](C& o, bool v) { o.SetParentFont(v); })
        .Default(true);
}

template <typename C>
void CommonProps(rtl::TClassDecl<C>& c)
{
    c.Property("GroupIndex", [](C& o) { return o.GroupIndex(); }, [](C& o, int v) { o.SetGroupIndex(v); })
        .Default(0);
    c.Property("Restrictions", [](C& o) { return o.Restrictions(); },
               [](C& o, TqlrRestrictions v) { o.SetRestrictions(v); })
        .Default(TqlrRestrictions());
    c.Property("Visible", [](C& o) { return o.Visible(); }, [](C& o, bool v) { o.SetVisible(v); }).Default(true);
}


#define QLR_FIELD(Class, Name) \
    c.Property(#Name, [](Class& o) { return o.Name; }, [](Class& o, decltype(o.Name) v) { o.Name = v; })

} // namespace qlr::props
