// Descriptors of TFont's published properties.

#include "platform/gui/GraphicsTypInfo.h"

namespace gui {

void DescribeGraphicsClasses()
{
    static const bool done = [] {
        rtl::TClassDecl<TFont>::Build("TFont", &rtl::TPersistent::StaticClassInfo(),
                                      [](rtl::TClassDecl<TFont>& c) {
            c.Property("Charset", &TFont::Charset, &TFont::SetCharset);
            c.Property("Color", &TFont::Color, &TFont::SetColor);
            c.Property("Height", &TFont::Height, &TFont::SetHeight);
            c.Property("Name", [](TFont& f) { return f.Name(); }, &TFont::SetName);
            c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(TFontPitch::fpDefault);
            c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
            c.Property("Style", [](TFont& f) { return f.Style(); },
                       [](TFont& f, TFontStyles s) { f.SetStyle(s); });
        });
        return true;
    }();
    (void)done;
}

} // namespace gui
