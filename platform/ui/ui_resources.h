// String and bitmap resources of a module, and the message beep.
//
// A module keeps its resources in a table of its own (UTF-8 texts, image paths in the Qt
// resource system such as ":/plugin/banner.png") and passes the table where the system
// passes its module instance.
#pragma once

#include <cstdint>
#include <string>

struct ResourceString {
    int id;
    const char* text;  // UTF-8
};

struct ResourceBitmap {
    int id;
    const char* path;  // ":/..." or a file path
};

struct ResourceTable {
    const ResourceString* strings = nullptr;
    int stringCount = 0;
    const ResourceBitmap* bitmaps = nullptr;
    int bitmapCount = 0;
};

// Copies string id into out (at most outBytes - 1 bytes and a NUL) in the code page asked
// for (932, 949 or 65001), never splitting a character. Returns the bytes copied without
// the NUL; 0 (with out emptied) when there is no such string or it cannot be converted.
int LoadResourceString(const ResourceTable* table, int id, char* out, int outBytes,
                       uint32_t codePage);
// The UTF-8 text of string id; false when there is none.
bool FindResourceString(const ResourceTable* table, int id, std::string* text);
// The image path of bitmap id; null when there is none.
const char* FindResourceBitmap(const ResourceTable* table, int id);

struct DialogWindow;
// Loads bitmap id of the table into picture control `controlId`; false when either is missing.
bool SetDialogItemResourceBitmap(DialogWindow* dialog, int controlId, const ResourceTable* table,
                                 int bitmapId);

void RingMessageBeep();
int MessageBeepCount();  // beeps played by this process
