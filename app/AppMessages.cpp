#include "app/AppMessages.h"

#include <iostream>

namespace app {

TNoticeHandler AppNotice;

namespace {
struct TInit {
    TInit() { ResetNoticeHandler(); }
} init;
} // namespace

void ShowNotice(const std::string& text)
{
    if (AppNotice) AppNotice(text);
}

void ResetNoticeHandler()
{
    AppNotice = [](const std::string& text) { std::cerr << text << std::endl; };
}

} // namespace app
