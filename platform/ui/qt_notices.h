// Qt's messages on their way to standard error: the notices of the offscreen platform,
// which say only that the program runs without a desktop session (no XDG_RUNTIME_DIR, no
// window manager for size hints), are dropped; every other message goes on as Qt prints it.
#pragma once

#include <string>

// Whether the message is one of those notices.
bool IsOffscreenPlatformNotice(const std::string& message);

// Puts the filter in front of Qt's message output, once per process.
void InstallQtNoticeFilter();
