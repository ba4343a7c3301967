// The configuration program's string table: every text its combo boxes list, by id, in
// UTF-8. Pages take their texts from here with ConfigString.
#pragma once

#include "platform/ui/ui_resources.h"

#include <string>

// First ids of the string groups (a group's texts follow one another).
constexpr int kUnitStrings = 16101;          // "inch", "mm", "pixel"
constexpr int kToolTypeStrings = 16201;      // twelve tool types, the last "未使用"
constexpr int kPortStrings = 16401;          // eleven ports, "COM1" .. "TCP/IP(TRAVEX-Pro Server)"
constexpr int kBaudStrings = 16421;          // nine speeds, "300 bps" .. "57600 bps"
constexpr int kDataBitsStrings = 16431;      // two
constexpr int kStopBitsStrings = 16441;      // three
constexpr int kParityStrings = 16451;        // three
constexpr int kFlowControlStrings = 16461;   // three
constexpr int kColourStrings = 16471;        // nine colour names, the last "なし"
constexpr int kKanjiModeStrings = 16491;     // three
constexpr int kPaperOriginStrings = 16501;   // two
constexpr int kToolNumberStrings = 16511;    // "1" .. "10"
constexpr int kScaleStrings = 16531;         // twelve scales, "1000%" .. "10%"
constexpr int kOutlineStrings = 16561;       // eight outline sizes, the last "未使用"

// Bitmaps.
constexpr int kPortraitPaperBitmap = 1001;   // a sheet standing upright
constexpr int kLandscapePaperBitmap = 1002;  // a sheet lying on its side

// The program's resources (the instance handed to WinMain).
const ResourceTable* ConfigResources();

// The text of string id from the program's instance; empty when there is none.
std::string ConfigString(int id);

// Shows bitmap id of the program's instance in picture control controlId; false when either
// is missing.
bool SetConfigBitmap(DialogWindow* page, int controlId, int bitmapId);
