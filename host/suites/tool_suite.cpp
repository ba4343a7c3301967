#include "host/suites/tool_suite.h"

#include "host/session/host_faults.h"
#include "host/suites/host_strings.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace host {
namespace {

// The host's own tools in the order of its tool panel; their numbers count from 1, so that
// a placement number of 0 names no tool.
const char* const kHostTools[] = {
    "Adobe Select Tool", "Adobe Direct Select Tool", "Adobe Pen Tool", "Adobe Type Tool",
    "Adobe Line Tool", "Adobe Rectangle Tool", "Adobe Ellipse Tool", "Adobe Pencil Tool",
    "Adobe Rotate Tool", "Adobe Scale Tool", "Adobe Eyedropper Tool", "Adobe Scroll Tool",
    "Adobe Zoom Tool",
};

struct ToolState {
    std::vector<std::unique_ptr<ToolRecord>> pool;
    std::vector<ToolRecord*> tools;
    bool fStarted = false;
};

ToolState& State()
{
    static ToolState state;
    if (!state.fStarted) {
        state.fStarted = true;
        int32_t number = 1;
        for (const char* name : kHostTools) {
            auto record = std::make_unique<ToolRecord>();
            record->name = name;
            record->number = number++;
            record->title = name;
            state.tools.push_back(record.get());
            state.pool.push_back(std::move(record));
        }
    }
    return state;
}

ASErr AddTool(SPPluginRef self, const char* name, const AIAddToolData* data, int32_t options, AIToolHandle* tool)
{
    if (ASErr fault = HostFault("AddTool"))
        return fault;
    if (name == nullptr || *name == 0 || data == nullptr || tool == nullptr)
        return kBadParameterErr;
    if (FindHostTool(name) != nullptr)
        return kBadParameterErr;
    const HostString* title = FindHostString(data->title);
    const HostString* tooltip = FindHostString(data->tooltip);
    if (title == nullptr || tooltip == nullptr)
        return kBadParameterErr;
    auto record = std::make_unique<ToolRecord>();
    record->plugin = self;
    record->name = name;
    record->number = int32_t(State().tools.size()) + 1;
    record->title = Utf16ToUtf8(title->utf16);
    record->titleBytes = RecordedBytes(*title);
    record->tooltip = Utf16ToUtf8(tooltip->utf16);
    record->iconType = data->iconType;
    record->normalIconResID = data->normalIconResID;
    record->darkIconResID = data->darkIconResID;
    record->sameGroupAs = data->sameGroupAs;
    record->sameToolsetAs = data->sameToolsetAs;
    record->options = options;
    *tool = reinterpret_cast<AIToolHandle>(record.get());
    State().tools.push_back(record.get());
    State().pool.push_back(std::move(record));
    return kNoErr;
}

ASErr GetToolNumberFromName(const char* name, int32_t* number)
{
    if (ASErr fault = HostFault("GetToolNumberFromName"))
        return fault;
    ToolRecord* record = name ? FindHostTool(std::string(name)) : nullptr;
    if (record == nullptr || number == nullptr)
        return kBadParameterErr;
    *number = record->number;
    return kNoErr;
}

ASErr GetToolName(AIToolHandle tool, const char** name)
{
    ToolRecord* record = FindHostTool(tool);
    if (record == nullptr || name == nullptr)
        return kBadParameterErr;
    *name = record->name.c_str();
    return kNoErr;
}

ASErr GetToolNumberFromHandle(AIToolHandle tool, int32_t* number)
{
    ToolRecord* record = FindHostTool(tool);
    if (record == nullptr || number == nullptr)
        return kBadParameterErr;
    *number = record->number;
    return kNoErr;
}

const AIToolSuite kSuite = {AddTool, GetToolNumberFromName, GetToolName, GetToolNumberFromHandle};

}  // namespace

const AIToolSuite* HostToolSuite() { return &kSuite; }

void ResetHostTools()
{
    State().tools.clear();
    State().pool.clear();
    State().fStarted = false;
    State();
}

void RemovePluginTools(SPPluginRef plugin)
{
    auto& tools = State().tools;
    tools.erase(std::remove_if(tools.begin(), tools.end(),
                               [&](ToolRecord* tool) { return tool->plugin != nullptr && tool->plugin == plugin; }),
                tools.end());
}

const std::vector<ToolRecord*>& HostTools() { return State().tools; }

ToolRecord* FindHostTool(const std::string& name)
{
    for (ToolRecord* record : State().tools)
        if (record->name == name)
            return record;
    return nullptr;
}

ToolRecord* FindHostTool(AIToolHandle tool)
{
    for (ToolRecord* record : State().tools)
        if (reinterpret_cast<AIToolHandle>(record) == tool)
            return record;
    return nullptr;
}

std::string HostToolListing()
{
    std::string out;
    char line[1024];
    for (ToolRecord* record : State().tools) {
        if (record->plugin == nullptr)
            continue;
        // the placement numbers with the names of the tools they stand for
        std::string beside;
        for (ToolRecord* other : State().tools)
            if (record->sameGroupAs != 0 && other->number == record->sameGroupAs && other != record)
                beside = " \"" + other->name + "\"";
        std::snprintf(line, sizeof line,
                      "tool \"%s\" number %d title \"%s\" tooltip \"%s\" icons %d %d type %d group %d%s toolset %d options %d\n",
                      record->name.c_str(), record->number, record->title.c_str(), record->tooltip.c_str(),
                      record->normalIconResID, record->darkIconResID, record->iconType, record->sameGroupAs,
                      beside.c_str(), record->sameToolsetAs, record->options);
        out += line;
    }
    return out;
}

}  // namespace host
