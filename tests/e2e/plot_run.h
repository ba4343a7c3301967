// What the end-to-end runs of "Output Plotter" share: a test home with the settings the run
// needs, every port name mapped to the test's own pseudo-terminal or to a missing device
// in the test's folder (never a real device), and the files a run leaves behind.
#pragma once

#include "platform/registry_store.h"
#include "plugin/settings/settings_file.h"
#include "plugin/settings/settings_folder.h"
#include "tests/e2e/host_run.h"
#include "tests/e2e/plotter_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

// The settings folder of the test home.
inline std::string SettingsFolder() { return TestSettingsFolder(); }
inline std::string PlotDataPath() { return SettingsFolder() + "/TRAVEX-Pro.tmp"; }
inline std::string RegistryStorePath() { return TestHome() + "/.config/travex/registry.reg"; }

// The settings file made with its defaults, then changed by edit.
inline void EditPlotSettings(const std::function<void(PlotSettings&)>& edit)
{
    PlotSettings settings{};
    ASSERT_EQ(ReadPlotSettings(&settings), 0);
    edit(settings);
    char path[512];
    ASSERT_EQ(GetSettingsFilePath(path, sizeof path), 0);
    int fd = open(path, O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(WriteFileBlock(fd, kPlotSettingsOffset, &settings, sizeof settings), int(sizeof settings));
    close(fd);
}

// The plug-in's language from its preferences file: "ENGLISH", or "" for Japanese.
inline void SetLanguage(const std::string& language)
{
    std::filesystem::create_directories(SettingsFolder() + "/Prefs");
    WriteBytes(SettingsFolder() + "/Prefs/TRAVEX-Pro.ini", language.empty() ? "" : "language = " + language + "\n");
}

// The page record of the configuration program: A5 portrait pages, pages first to last.
inline void SetPages(int32_t first, int32_t last)
{
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, "Software\\Brenvoltic\\TRVXSerConfig", &key), kRegistrySuccess);
    const std::pair<const char*, int32_t> values[] = {
        {"Orientation", 0},    {"Size", 601},          {"Width", 148},      {"Height", 210},
        {"Scale", 10000},      {"pisroll", 0},         {"rPage.top", 0},    {"rPage.left", 0},
        {"rPage.right", 148},  {"rPage.bottom", 210},  {"rPaper.top", 0},   {"rPaper.left", 0},
        {"rPaper.right", 148}, {"rPaper.bottom", 210}, {"iFstPage", first}, {"iLstPage", last}};
    for (const auto& [name, value] : values)
        ASSERT_EQ(SetRegistryDword(key, name, static_cast<uint32_t>(value)), kRegistrySuccess) << name;
    CloseRegistryKey(key);
}

// A drawing of count circles in rows on one layer "Dots", and a second layer "Frame".
inline std::string WriteDotsDrawing(const std::string& folder, int count)
{
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400pt\" height=\"400pt\" viewBox=\"0 0 400 400\">\n"
        "  <g id=\"Frame\">\n    <rect x=\"5\" y=\"5\" width=\"390\" height=\"390\" fill=\"none\" stroke=\"#000\"/>\n  "
        "</g>\n"
        "  <g id=\"Dots\">\n";
    for (int i = 0; i < count; ++i)
        svg += "    <circle cx=\"" + std::to_string(10 + (i % 40) * 9) + "\" cy=\"" +
               std::to_string(10 + (i / 40) * 9) + "\" r=\"4\" fill=\"none\" stroke=\"#000\"/>\n";
    svg += "  </g>\n</svg>\n";
    std::string path = folder + "/dots.svg";
    WriteBytes(path, svg);
    return path;
}

class PlotRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(plotter.Ok());
        SetLanguage("ENGLISH");
    }

    // Every port of the run mapped: COM1 to the plotter's line (or to com1 when given), the
    // others to devices that do not exist.
    std::vector<std::string> Ports(const std::string& com1 = "") const
    {
        std::vector<std::string> env = {"TRAVEX_COM1=" + (com1.empty() ? plotter.SlavePath() : com1)};
        for (const char* name : {"COM2", "COM3", "COM4", "COM5", "LPT1", "LPT2"})
            env.push_back(std::string("TRAVEX_") + name + "=" + folder + "/no-device-" + name);
        return env;
    }
    std::vector<std::string> With(std::vector<std::string> env, const std::vector<std::string>& more) const
    {
        env.insert(env.end(), more.begin(), more.end());
        return env;
    }

    HostRun Plot(const std::string& drawing, const std::vector<std::string>& options = {},
                 const std::vector<std::string>& env = {})
    {
        std::vector<std::string> args = {drawing, "plot"};
        args.insert(args.end(), options.begin(), options.end());
        return RunTravexHost(folder, args, env.empty() ? Ports() : env);
    }

    std::string folder;
    PlotterLine plotter;
};
