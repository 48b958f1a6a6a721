// TUpDown: a pair of small arrow buttons that step a whole number between
// Min and Max and show it in an associated edit (the copies box of a print
// dialog).
//
// The rule a caller must know: Position is clamped to Min..Max; clicking
// the upper half steps up, the lower half down, and the associated edit's
// text follows every change.  Reading Position after the user typed in the
// edit takes the edit's number when it is one.
//
// Example:
//   auto* ud = new gui::TUpDown(form);
//   ud->SetParent(form); ud->SetAssociate(copiesEdit); ud->SetMin(1); ud->SetPosition(2);
#pragma once

#include "platform/gui/Controls.h"

namespace gui {

class TCustomEdit;

class TUpDown : public TCustomControl {
public:
    explicit TUpDown(rtl::TComponent* owner);
    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    TCustomEdit* Associate() const { return FAssociate; }
    // Places the buttons at the right of the edit and shows Position in it.
    void SetAssociate(TCustomEdit* edit);
    rtl::TNotifyEvent OnChanging;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int FMin = 0, FMax = 100, FPosition = 0;
    TCustomEdit* FAssociate = nullptr;
};

} // namespace gui
