#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

std::string g_home;

void RemoveHome()
{
    if (!g_home.empty() && std::getenv("TRAVEX_KEEP_TEST_HOME") == nullptr) {
        std::error_code ec;
        fs::remove_all(g_home, ec);
    }
}

}  // namespace

const std::string& Home();

namespace {

// Made before any input is tried, so every folder the code under test finds is in it.
const bool g_homeMade = !Home().empty();

}  // namespace

const std::string& Home()
{
    if (g_home.empty()) {
        const char* base = std::getenv("TRAVEX_TEST_TMP");
        std::string root = base && *base ? base : fs::temp_directory_path().string();
        fs::create_directories(root);
        std::string pattern = root + "/fuzz-home-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        g_home = pattern;
        setenv("HOME", g_home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (g_home + "/.config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (g_home + "/Documents").c_str(), 1);
        fs::create_directories(g_home + "/.config");
        fs::create_directories(g_home + "/Documents");
        fs::create_directories(g_home + "/scratch");
        std::atexit(RemoveHome);
    }
    return g_home;
}

std::string ScratchPath(const std::string& name) { return Home() + "/scratch/" + name; }

std::string ReadFile(const std::string& path, bool* exists)
{
    std::ifstream in(path, std::ios::binary);
    if (exists)
        *exists = static_cast<bool>(in);
    if (!in)
        return "";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        Fail("the input file is written", __FILE__, __LINE__, path);
}

void RemoveFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

void Fail(const char* property, const char* file, int line, const std::string& detail)
{
    std::fprintf(stderr, "\n==fuzz== property broken: %s\n==fuzz== at %s:%d\n==fuzz== %s\n", property, file,
                 line, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzz
