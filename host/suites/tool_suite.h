// The host's Tool suite: the host's own tools and the tools plug-ins add.
#pragma once

#include "sdk/ai_tool.h"

#include <string>
#include <vector>

namespace host {

struct ToolRecord {
    SPPluginRef plugin = nullptr;   // null for the host's own tools
    std::string name;
    int32_t number = 0;
    std::string title;              // UTF-8
    std::string titleBytes;         // as given
    std::string tooltip;
    int32_t iconType = 0;
    int32_t normalIconResID = 0;
    int32_t darkIconResID = 0;
    int32_t sameGroupAs = 0;
    int32_t sameToolsetAs = 0;
    int32_t options = 0;
};

const AIToolSuite* HostToolSuite();

void ResetHostTools();
// Drops the tools a plug-in added (at its shut-down).
void RemovePluginTools(SPPluginRef plugin);
const std::vector<ToolRecord*>& HostTools();
ToolRecord* FindHostTool(const std::string& name);
ToolRecord* FindHostTool(AIToolHandle tool);
std::string HostToolListing();   // the plug-ins' tools, one line each

}  // namespace host
