// The handlers of the host's messages; each takes the message record and returns a status.
#pragma once

#include "sdk/sp_message.h"

// "SP Interface" and "SP Access" messages.
ASErr HandleStartup(SPMessageData* message);
ASErr HandleShutdown(SPMessageData* message);
ASErr HandleAbout(SPMessageData* message);
ASErr HandleUnload(SPMessageData* message);
ASErr HandleReload(SPMessageData* message);

// Every other caller and selector: menus and the tool.
ASErr DispatchMenuAndToolMessage(const char* caller, const char* selector, void* message);

ASErr HandleMenuGo(AIMenuMessage* message);
ASErr HandleMenuUpdate(AIMenuMessage* message);

ASErr HandleToolEditOptions(AIToolMessage* message);
ASErr HandleToolTrackCursor(AIToolMessage* message);
ASErr HandleToolMouseDown(AIToolMessage* message);
ASErr HandleToolMouseDrag(AIToolMessage* message);
ASErr HandleToolMouseUp(AIToolMessage* message);
ASErr HandleToolSelect(AIToolMessage* message);
ASErr HandleToolDeselect(AIToolMessage* message);

// The two commands of the menu besides About.
ASErr RunOutputCommand(AIMenuMessage* message);
ASErr RunConfigurationCommand(AIMenuMessage* message);

// Start-up's menu and tool registration.
ASErr AddMenus(SPMessageData* message);
ASErr AddTools(SPMessageData* message);

// The About box (dialog 16150, or 16250 for the English texts); its result is not used.
ASErr ShowAboutBox(SPMessageData* message);

// The plug-in's state record.
ASErr InitPluginGlobals(SPMessageData* message);
void FreePlotBuffers();
