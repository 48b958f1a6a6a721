// The pause between the steps of an animation that runs inside a setter
// (a panel collapsing): pending messages are handled, then the thread
// sleeps.  Tests replace the sleep so that animations run without delay.
//
//     for (int i = 0; i < steps; ++i) { grow(); gui::ProcessMessagesAndSleep(delay); }
//     gui::SetAnimationSleepHandler([](int) {});   // tests: no delay
#pragma once

#include <functional>

namespace gui {

// Handles pending messages, then sleeps (or calls the replacement).
void ProcessMessagesAndSleep(int milliseconds);
// Replaces the sleep; nullptr restores it.
void SetAnimationSleepHandler(std::function<void(int)> handler);

} // namespace gui
