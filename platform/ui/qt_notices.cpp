#include "platform/ui/qt_notices.h"

#include <QtGlobal>
#include <QString>

#include <cstdio>

namespace {

const char* const kNoticeStarts[] = {
    "QStandardPaths: XDG_RUNTIME_DIR not set",
    "This plugin does not support propagateSizeHints()",
};

QtMessageHandler gNextHandler = nullptr;
bool gInstalled = false;

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg && IsOffscreenPlatformNotice(message.toStdString()))
        return;
    if (gNextHandler != nullptr) {
        gNextHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    std::fflush(stderr);
}

}  // namespace

bool IsOffscreenPlatformNotice(const std::string& message)
{
    for (const char* start : kNoticeStarts)
        if (message.rfind(start, 0) == 0)
            return true;
    return false;
}

void InstallQtNoticeFilter()
{
    if (gInstalled)
        return;
    gInstalled = true;
    gNextHandler = qInstallMessageHandler(FilterQtMessage);
}
