// The hook that places the report output's file dialogs.
#include "reportout/qlrFileDialogs.h"

#include <utility>

namespace qlr {

namespace {

TqlrFileDialogHook& Hook()
{
    static TqlrFileDialogHook hook;
    return hook;
}

} // namespace

void SetFileDialogHook(TqlrFileDialogHook hook) { Hook() = std::move(hook); }

void PrepareFileDialog(gui::TOpenDialog& dialog, const TqlrFileDialogUse& use)
{
    if (Hook()) Hook()(dialog, use);
}

} // namespace qlr
