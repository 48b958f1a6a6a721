// The mask edit base.  Input masks are not used by the program, so
// TCustomMaskEdit is the single-line edit under the name its descendants
// build on: text, selection, read-only, EM_GETRECT / EM_SETRECTNP and the
// clipboard messages of TCustomEdit.
//
//   class TSpinField : public gui::TCustomMaskEdit { using TCustomMaskEdit::TCustomMaskEdit; };
#pragma once

#include "platform/gui/StdCtrls.h"

namespace gui {

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(rtl::TComponent* owner) : TCustomEdit(owner) {}
};

} // namespace gui
