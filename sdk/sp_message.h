// Message records as the host passes them to PluginMain.
#pragma once

#include <cstddef>

#include "sdk/ai_types.h"
#include "sdk/sp_basic.h"

struct SPMessageData {
    uint8_t reserved[8];
    SPPluginRef self;       // handed back when menu items and tools are added
    void* globals;          // kept by the host between messages
    SPBasicSuite* basic;
};

struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem;
};

struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;
    AIRealPoint cursor;     // artwork points, v upward
    uint8_t reserved[8];
    AIEventPtr event;
};

static_assert(offsetof(SPMessageData, self) == 8);
static_assert(offsetof(SPMessageData, globals) == 16);
static_assert(offsetof(SPMessageData, basic) == 24);
static_assert(offsetof(AIMenuMessage, menuItem) == 32);
static_assert(offsetof(AIToolMessage, tool) == 32);
static_assert(offsetof(AIToolMessage, cursor) == 40);
static_assert(offsetof(AIToolMessage, event) == 64);

// Callers and selectors of the messages the host sends.
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceShutdownSelector "Shutdown"
#define kSPInterfaceAboutSelector "About"
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"
#define kCallerAIMenu "AI Menu"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"
#define kCallerAITool "AI Tool"
#define kSelectorAIEditToolOptions "AI Edit Options"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"

// The plug-in's one export.
extern "C" typedef ASErr (*PluginMainProc)(const char* caller, const char* selector, void* message);
