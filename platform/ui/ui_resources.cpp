// String and bitmap tables of a module, read as the system reads its resources.
#include "platform/ui/ui_resources.h"

#include "platform/code_pages.h"
#include "platform/ui/dialog_runner.h"
#include "platform/ui/dialog_window.h"

#include <QApplication>

#include <cstring>
#include <vector>

namespace {

const ResourceString* FindString(const ResourceTable* table, int id)
{
    if (table == nullptr || table->strings == nullptr)
        return nullptr;
    for (int i = 0; i < table->stringCount; ++i)
        if (table->strings[i].id == id && table->strings[i].text != nullptr)
            return &table->strings[i];
    return nullptr;
}

// Length of the longest UTF-8 prefix of at most room bytes that ends on a character boundary.
size_t Utf8Prefix(const char* text, size_t length, size_t room)
{
    if (length <= room)
        return length;
    size_t end = room;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return end;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

} // namespace

bool FindResourceString(const ResourceTable* table, int id, std::string* text)
{
    const ResourceString* found = FindString(table, id);
    if (found == nullptr)
        return false;
    if (text != nullptr)
        *text = found->text;
    return true;
}

const char* FindResourceBitmap(const ResourceTable* table, int id)
{
    if (table == nullptr || table->bitmaps == nullptr)
        return nullptr;
    for (int i = 0; i < table->bitmapCount; ++i)
        if (table->bitmaps[i].id == id)
            return table->bitmaps[i].path;
    return nullptr;
}

int LoadResourceString(const ResourceTable* table, int id, char* out, int outBytes,
                       uint32_t codePage)
{
    if (out == nullptr || outBytes <= 0)
        return 0;
    out[0] = 0;
    const ResourceString* found = FindString(table, id);
    if (found == nullptr)
        return 0;
    const char* text = found->text;
    size_t length = std::strlen(text);
    size_t room = static_cast<size_t>(outBytes - 1);
    if (length == 0)
        return 0;

    if (codePage == kCodePageUtf8) {
        size_t n = Utf8Prefix(text, length, room);
        std::memcpy(out, text, n);
        out[n] = 0;
        return static_cast<int>(n);
    }

    int units = MultiByteToWide(kCodePageUtf8, text, static_cast<int>(length), nullptr, 0);
    if (units <= 0)
        return 0;
    std::vector<char16_t> wide(static_cast<size_t>(units));
    MultiByteToWide(kCodePageUtf8, text, static_cast<int>(length), wide.data(), units);
    // Drop whole characters from the end until the rest fits.
    while (units > 0) {
        int bytes = WideToMultiByte(codePage, wide.data(), units, nullptr, 0);
        if (bytes <= 0)
            return 0;
        if (static_cast<size_t>(bytes) <= room) {
            WideToMultiByte(codePage, wide.data(), units, out, bytes);
            out[bytes] = 0;
            return bytes;
        }
        --units;
        if (units > 0 && IsHighSurrogate(wide[static_cast<size_t>(units - 1)]))
            --units;
    }
    return 0;
}

bool SetDialogItemResourceBitmap(DialogWindow* dialog, int controlId, const ResourceTable* table,
                                 int bitmapId)
{
    const char* path = FindResourceBitmap(table, bitmapId);
    return path != nullptr && SetDialogItemBitmap(dialog, controlId, path);
}

void RingMessageBeep()
{
    if (!EnsureQtApplication())
        return;
    ++*SharedBeepCounter();
    QApplication::beep();
}

int MessageBeepCount()
{
    if (!EnsureQtApplication())
        return 0;
    return *SharedBeepCounter();
}
