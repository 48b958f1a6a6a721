// The GUI thread's message queue as the pipe workers' dispatcher.
#include "app/Pipes.h"

#include "platform/gui/Controls.h"

namespace app {

namespace {

class TGuiPipeDispatcher : public TPipeDispatcher {
public:
    void Post(std::function<void()> fn) override { gui::QueueInMainThread(std::move(fn)); }
};

} // namespace

TPipeDispatcher* GuiPipeDispatcher()
{
    static TGuiPipeDispatcher dispatcher;
    return &dispatcher;
}

} // namespace app
