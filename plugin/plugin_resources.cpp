#include "plugin_resources.h"

#include "code_pages.h"

namespace {

const ResourceString kStrings[] = {
#include "resources/plugin_strings.inc"
};

const ResourceTable kResources = {kStrings, int(sizeof kStrings / sizeof kStrings[0]), nullptr, 0};

}  // namespace

const ResourceTable* ModuleResources(void* module) { return module != nullptr ? &kResources : nullptr; }

const ResourceTable* PluginResources() { return &kResources; }

int LoadPluginString(int16_t language, int item, char* text, size_t room)
{
    int base = language == 0 ? kJapaneseMenuStrings : kEnglishMenuStrings;
    return LoadResourceString(&kResources, base + item, text, int(room), kCodePageShiftJis);
}
