// Which of Qt's messages are the offscreen platform's notices that the user is spared.
#include "platform/ui/qt_notices.h"

#include <gtest/gtest.h>

namespace {

TEST(QtNotices, OnlyTheOffscreenPlatformsNoticesAreDropped)
{
    struct Case {
        const char* message;
        bool dropped;
    } cases[] = {
        {"QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", true},
        {"This plugin does not support propagateSizeHints()", true},
        {"QStandardPaths: wrong permissions on runtime directory /run/user/0, 0755 instead of 0700", false},
        {"This plugin does not support raise()", false},
        {"qt.qpa.plugin: Could not find the Qt platform plugin \"xcb\" in \"\"", false},
        {"QWidget: Must construct a QApplication before a QWidget", false},
        {"a message that mentions XDG_RUNTIME_DIR not set in passing", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOffscreenPlatformNotice(c.message), c.dropped) << c.message;
}

}  // namespace
