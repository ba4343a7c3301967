// The host's Tool suite: tools in the host's tool panel.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ai_unicode_string.h"

// Icon types of a tool's icons.
constexpr int32_t kToolIconPng = 2;

// How a new tool looks and where it goes in the tool panel.
struct AIAddToolData {
    AIUnicodeStringRef title;
    AIUnicodeStringRef tooltip;
    int32_t iconType;
    int32_t normalIconResID;     // the plug-in's image resources
    int32_t darkIconResID;
    int32_t sameGroupAs;         // a host tool number, or 0
    int32_t sameToolsetAs;       // a host tool number, or 0
};

struct AIToolSuite {
    // a new tool with the unique name
    ASErr (*AddTool)(SPPluginRef self, const char* name, const AIAddToolData* data, int32_t options,
                     AIToolHandle* tool);
    // the number of the tool with the given name
    ASErr (*GetToolNumberFromName)(const char* name, int32_t* number);
    // the tool's name, valid while the host runs
    ASErr (*GetToolName)(AIToolHandle tool, const char** name);
    ASErr (*GetToolNumberFromHandle)(AIToolHandle tool, int32_t* number);
};
