// The environment of a child process that a test starts: the test's own, changed entry by
// entry. "NAME=VALUE" sets a variable (in place of ours), "NAME" alone removes it; of two
// changes of one name the later counts.
#pragma once

#include <string>
#include <vector>

#include <unistd.h>  // environ

inline std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes)
{
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        bool changed = false;
        for (const std::string& change : changes)
            changed = changed || nameOf(change) == nameOf(*e);
        if (!changed)
            entries.push_back(*e);
    }
    // a later change of the same name wins
    for (size_t i = 0; i < changes.size(); ++i) {
        bool later = false;
        for (size_t j = i + 1; j < changes.size(); ++j)
            later = later || nameOf(changes[j]) == nameOf(changes[i]);
        if (!later && changes[i].find('=') != std::string::npos)
            entries.push_back(changes[i]);
    }
    return entries;
}

// The entries as the null-terminated array that execve and posix_spawn take; valid while
// entries lives unchanged.
inline std::vector<char*> EnvironmentArray(std::vector<std::string>& entries)
{
    std::vector<char*> array;
    for (std::string& entry : entries)
        array.push_back(entry.data());
    array.push_back(nullptr);
    return array;
}
