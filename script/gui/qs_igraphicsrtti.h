// Binding module of the graphics classes: the colour constants, fonts,
// pens, brushes, the canvas with its drawing members and pixels, graphics,
// bitmaps, pictures and recorded pictures (metafiles).
//
// The rule a caller must know: colours are plain integers, exactly the
// platform's TColor values (red in the low byte, system colours with the
// top byte set).
//
//     B := TBitmap.Create; B.Width := 20; B.Height := 20;
//     B.Canvas.Brush.Color := clRed; B.Canvas.Rectangle(0, 0, 10, 10);
#pragma once

#include "script/qs_iinterpreter.h"

namespace qs {

class TqsGraphicsFunctions : public TqsRTTIModule {
public:
    explicit TqsGraphicsFunctions(TqsScript* AScript);

private:
    Variant CallMethod(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& MethodName,
                       TqsMethodHelper* Caller);
};

} // namespace qs
