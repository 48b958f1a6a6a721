// The report engine's progress window: a small borderless window with a
// message, an optional bar and an optional Cancel button, shown while pages
// are prepared, printed or exported.  The form that was active when it was
// made stays disabled until the window hides or goes.
//
// The rule a caller must know: read Terminated after each step and stop
// when it is set (Cancel sets it and closes the window).
//
// Example:
//   auto* p = new qlr::TqlrProgress(nullptr);
//   p->Execute(0, "", true, false);
//   for (int page = 1; !p->Terminated() && page <= n; ++page) p->SetMessage("Printing page " + ...);
//   delete p;
#pragma once

#include <string>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace qlr {

class TqlrProgress : public gui::TForm {
public:
    explicit TqlrProgress(rtl::TComponent* owner);
    ~TqlrProgress() override;

    void Execute(int maxValue, const std::string& msg, bool canceled, bool progress);
    void Reset() { SetPosition(0); }
    // One step, while the bar is within its range.
    void Tick();

    bool Terminated() const { return FTerminated; }
    // True closes the window.
    void SetTerminated(bool value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    using gui::TForm::SetPosition;
    const std::string& Message() const { return FMessage; }
    void SetMessage(const std::string& value);
    bool BarVisible() const { return FProgress; }
    void SetBarVisible(bool value);

    gui::TPanel* Panel1 = nullptr;
    gui::TLabel* LMessage = nullptr;
    gui::TProgressBar* Bar = nullptr;
    gui::TButton* CancelB = nullptr;
    // The form active at creation (disabled while this window is up).
    gui::TCustomForm* ActiveFormAtStart() const { return FActiveForm; }

protected:
    void DoHide() override;

private:
    void EnableActiveForm();
    void Pump();

    gui::TCustomForm* FActiveForm = nullptr;
    bool FTerminated = false;
    int FPosition = 0;
    std::string FMessage;
    bool FProgress = false;
    bool FDragging = false;
    gui::TPoint FDragStart{0, 0};
};

} // namespace qlr
