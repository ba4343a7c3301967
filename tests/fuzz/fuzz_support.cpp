#include "tests/fuzz/fuzz_support.h"
#include "tests/support/home_folder.h"

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

void RemoveHome() { RemoveHomeFolder(g_home); }

}  // namespace

const std::string& Home();

namespace {

// Made before any input is tried, so every folder the code under test finds is in it.
const bool g_homeMade = !Home().empty();

}  // namespace

const std::string& Home()
{
    if (g_home.empty()) {
        g_home = MakeHomeFolder("fuzz-home");
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
