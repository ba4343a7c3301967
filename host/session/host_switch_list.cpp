#include "host/session/host_switch_list.h"

#include <cstdlib>

namespace host {

std::vector<std::string> SplitSwitchList(const std::string& list)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool TakeSwitchStatus(std::string& entry, ASErr& status, std::string& error)
{
    size_t equals = entry.rfind('=');
    if (equals == std::string::npos)
        return true;
    std::string value = entry.substr(equals + 1);
    char* rest = nullptr;
    long long number = std::strtoll(value.c_str(), &rest, 0);
    if (value.empty() || *rest != 0) {
        error = "not a status: \"" + value + "\"";
        return false;
    }
    status = ASErr(uint32_t(number));
    entry.erase(equals);
    return true;
}

}  // namespace host
