#include "platform/ui/cursor_resources.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>

namespace {

int currentCursor = 0;
int cursorChanges = 0;

}  // namespace

bool SetCursorFromResource(const ResourceTable* table, int id)
{
    const char* path = FindResourceBitmap(table, id);
    if (path == nullptr || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    QPixmap image(QString::fromUtf8(path));
    if (image.isNull())
        return false;
    QCursor cursor(image, image.width() / 2, image.height() / 2);
    // one override cursor at a time: the tool's cursor replaces the one it set before
    if (QGuiApplication::overrideCursor() != nullptr)
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
    currentCursor = id;
    ++cursorChanges;
    return true;
}

int CurrentResourceCursor() { return currentCursor; }
int ResourceCursorChanges() { return cursorChanges; }
