#include "plugin/entry/plugin_resources.h"

#include "platform/code_pages.h"

namespace {

const ResourceString kStrings[] = {
#include "plugin/resources/plugin_strings.inc"
};

// The plot-area tool's icons and its cursor, and the output dialog's banner, as PNG images.
const ResourceBitmap kBitmaps[] = {
    {kToolIconResource, ":/travex-pro/plot_area_tool.png"},
    {kToolDarkIconResource, ":/travex-pro/plot_area_tool_dark.png"},
    {kPlotAreaCursorResource, ":/travex-pro/plot_area_cursor.png"},
    {kOutputBannerResource, ":/travex-pro/output_banner.png"},
};

const ResourceTable kResources = {kStrings, int(sizeof kStrings / sizeof kStrings[0]), kBitmaps,
                                  int(sizeof kBitmaps / sizeof kBitmaps[0])};

}  // namespace

const ResourceTable* ModuleResources(void* module) { return module != nullptr ? &kResources : nullptr; }

const ResourceTable* PluginResources() { return &kResources; }

int LoadPluginString(int16_t language, int item, char* text, size_t room)
{
    int base = language == 0 ? kJapaneseMenuStrings : kEnglishMenuStrings;
    return LoadResourceString(&kResources, base + item, text, int(room), kCodePageShiftJis);
}
