#include "tests/support/temp_home.h"
#include "tests/support/home_folder.h"

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
    void TearDown() override { RemoveHomeFolder(g_home); }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new TempHomeEnvironment);

} // namespace

const std::string& TestHome()
{
    if (g_home.empty())
        g_home = MakeHomeFolder("home");
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
