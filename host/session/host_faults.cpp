#include "host/session/host_faults.h"

#include "host/session/host_switch_list.h"

#include <cstdlib>
#include <map>

namespace host {
namespace {

const char* const kOperations[] = {
    "AllocateBlock", "AddMenuItem", "UpdateMenuItemAutomatically", "CountMenuGroups", "GetNthMenuGroup",
    "GetMenuGroupName", "AddMenuGroupAsSubMenu", "AddTool", "GetToolNumberFromName",
};

struct Fault {
    int onCall = 0;     // 0: every call
    ASErr status = kOutOfMemoryErr;
};

struct FaultState {
    std::map<std::string, Fault> faults;
    std::map<std::string, int> calls;
    bool fRead = false;
};

FaultState& State()
{
    static FaultState state;
    if (!state.fRead) {
        state.fRead = true;
        if (const char* list = std::getenv("TRAVEX_HOST_FAIL")) {
            std::string error;
            SetHostFaults(list, error);
        }
    }
    return state;
}

}  // namespace

bool IsFaultableOperation(const std::string& operation)
{
    for (const char* known : kOperations)
        if (operation == known)
            return true;
    return false;
}

bool SetHostFaults(const std::string& list, std::string& error)
{
    for (std::string entry : SplitSwitchList(list)) {
        Fault fault;
        if (!TakeSwitchStatus(entry, fault.status, error))
            return false;
        size_t hash = entry.find('#');
        if (hash != std::string::npos) {
            fault.onCall = std::atoi(entry.c_str() + hash + 1);
            if (fault.onCall <= 0) {
                error = "not a call number: \"" + entry.substr(hash + 1) + "\"";
                return false;
            }
            entry.erase(hash);
        }
        if (!IsFaultableOperation(entry)) {
            error = "no such host operation: \"" + entry + "\"";
            return false;
        }
        State().faults[entry] = fault;
    }
    return true;
}

void ClearHostFaults()
{
    State().faults.clear();
    State().calls.clear();
}

ASErr HostFault(const char* operation)
{
    FaultState& s = State();
    if (s.faults.empty())
        return kNoErr;
    int call = ++s.calls[operation];
    auto found = s.faults.find(operation);
    if (found == s.faults.end())
        return kNoErr;
    if (found->second.onCall != 0 && found->second.onCall != call)
        return kNoErr;
    return found->second.status;
}

}  // namespace host
