// The one QApplication of the process, for programs and for plug-ins loaded into them.
#include "platform/ui/dialog_runner.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/qt_notices.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != 0;
}

} // namespace

bool EnsureQtApplication()
{
    if (QCoreApplication* existing = QCoreApplication::instance())
        return qobject_cast<QApplication*>(existing) != nullptr;

    if (!IsSet("QT_QPA_PLATFORM") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    InstallQtNoticeFilter();
    // Kept on the heap for the life of the process: the instance may outlive a plug-in
    // that created it.
    int* argc = new int(1);
    char** argv = new char*[2];
    argv[0] = strdup("travex");
    argv[1] = nullptr;
    new QApplication(*argc, argv);
    LoadUiRobotScriptFromEnvironment();
    return true;
}
