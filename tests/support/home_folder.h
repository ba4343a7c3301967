// A temporary home of the process's own: made under $TRAVEX_TEST_TMP (else the system's
// temporary folder), with HOME, XDG_CONFIG_HOME and XDG_DOCUMENTS_DIR pointing into it, so
// nothing the code under test writes reaches the user's files. Shared by the tests' home
// and the fuzz targets' (which link no GoogleTest).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// The new home's path; "prefix-XXXXXX" names its folder. Aborts when none can be made.
inline std::string MakeHomeFolder(const std::string& prefix)
{
    namespace fs = std::filesystem;
    const char* base = std::getenv("TRAVEX_TEST_TMP");
    std::string root = base && *base ? base : fs::temp_directory_path().string();
    fs::create_directories(root);
    std::string pattern = root + "/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    setenv("HOME", pattern.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (pattern + "/.config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (pattern + "/Documents").c_str(), 1);
    fs::create_directories(pattern + "/.config");
    fs::create_directories(pattern + "/Documents");
    return pattern;
}

// Removes the home at the end, unless TRAVEX_KEEP_TEST_HOME asks to keep it for a look.
inline void RemoveHomeFolder(const std::string& home)
{
    if (!home.empty() && std::getenv("TRAVEX_KEEP_TEST_HOME") == nullptr) {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
}
