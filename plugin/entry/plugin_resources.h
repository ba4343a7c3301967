// The plug-in module's own resources: string tables of both languages and images.
#pragma once

#include "platform/ui/ui_resources.h"

#include <cstddef>

// String ids: the Japanese group; the English text of an item is at the same offset in the
// English group.
constexpr int kJapaneseMenuStrings = 17000;
constexpr int kEnglishMenuStrings = 17100;
constexpr int kConfigItemString = 1;
constexpr int kOutputItemString = 2;
constexpr int kToolTitleString = 3;
constexpr int kAboutDescriptionString = 4;

// Image ids: the plot-area tool's icons and cursor.
constexpr int kToolIconResource = 16101;
constexpr int kToolDarkIconResource = 16102;
// The cursor shown while the tool moves over the document.
constexpr int kPlotAreaCursorResource = 16104;
// The output dialog's banner, 474 x 17 pixels in 16 colours.
constexpr int kOutputBannerResource = 16071;

// The resources of the loaded module; null without one.
const ResourceTable* ModuleResources(void* module);
const ResourceTable* PluginResources();

// Item `item` of the string group for the language word, in code page 932, into text.
// Returns the bytes copied (0: none).
int LoadPluginString(int16_t language, int item, char* text, size_t room);
