#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string g_home;

class TempHomeEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (!g_home.empty() && std::getenv("TRAVEX_KEEP_TEST_HOME") == nullptr) {
            std::error_code ec;
            fs::remove_all(g_home, ec);
        }
    }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new TempHomeEnvironment);

} // namespace

const std::string& TestHome()
{
    if (g_home.empty()) {
        const char* base = std::getenv("TRAVEX_TEST_TMP");
        std::string root = base && *base ? base : fs::temp_directory_path().string();
        fs::create_directories(root);
        std::string pattern = root + "/home-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        g_home = pattern;
        setenv("HOME", g_home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (g_home + "/.config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (g_home + "/Documents").c_str(), 1);
        fs::create_directories(g_home + "/.config");
        fs::create_directories(g_home + "/Documents");
    }
    return g_home;
}

std::string MakeTestFolder(const std::string& name)
{
    std::string path = TestHome() + "/work/" + name;
    std::error_code ec;
    fs::remove_all(path, ec);
    fs::create_directories(path);
    return path;
}

void ResetTestHome()
{
    const std::string& home = TestHome();
    for (const char* sub : {"/.config", "/Documents"}) {
        std::error_code ec;
        fs::remove_all(home + sub, ec);
        fs::create_directories(home + sub);
    }
}
