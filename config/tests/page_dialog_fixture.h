// The program run in this process with its pages answered by the UI robot: a fresh home,
// hooks that look at the pages while the dialog is open, and the helpers that read a page's
// controls through the dialog layer.
#pragma once

#include "config/config_program.h"
#include "config/config_resources.h"
#include "config/page_shell.h"
#include "config/property_dialog.h"
#include "config/settings_store.h"
#include "config/tests/config_test_support.h"
#include "plugin/settings/settings_program.h"

#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The program run in this process: a fresh home with Qt and the UI robot, the "hook run"
// step calling action_ while the dialog is open.
class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(3000);
        RegisterUiRobotHook("run", Run, &action_);
    }
    void TearDown() override
    {
        ResetUiRobot();
        SetSettingsProgram(kSettingsPlugin);
    }

    // WinMain with the robot's script in place; every step must have been carried out.
    void RunWithScript(const std::string& what)
    {
        EXPECT_EQ(WinMain(ConfigResources()), 0);
        EXPECT_EQ(FinishUiRobot(), 0) << what;
    }

    // A case of a table starts over: a fresh home and robot, the settings file seeded with
    // the display unit given.
    void StartCase(int16_t unit)
    {
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), SeededSettingsFile(unit));
    }

    // The current unit of every page and the stored wUnit, appended each time it runs.
    static std::function<void()> RecordUnits(std::vector<int16_t>* units)
    {
        return [units] {
            for (int i = 0; i < kConfigPageCount; ++i)
                units->push_back(PageUnit(i));
            units->push_back(gPaperList.wUnit);
        };
    }

    static void Run(void* user) { (*static_cast<std::function<void()>*>(user))(); }

    std::function<void()> action_ = [] {};
};

class PageDialogTest : public ConfigDialogTest {
protected:
    // The program's steps with the robot's ";" between them.
    void RunProgram(const std::string& steps)
    {
        ASSERT_TRUE(SetUiRobotScript(steps)) << steps;
        RunWithScript(steps);
    }
};

// What a page shows in one control, read through the dialog layer.
inline std::string Text(int page, int id)
{
    return GetDialogItemText(PageWindow(page), id);
}

inline std::string ChosenText(int page, int id)
{
    DialogWindow* window = PageWindow(page);
    int selected = ComboGetCurSel(window, id);
    return selected < 0 ? std::string("(none)") : ComboGetItemText(window, id, selected);
}

inline std::vector<std::string> Items(int page, int id)
{
    std::vector<std::string> items;
    DialogWindow* window = PageWindow(page);
    for (int i = 0; i < ComboGetCount(window, id); ++i)
        items.push_back(ComboGetItemText(window, id, i));
    return items;
}

inline int Ticked(int page, int id)
{
    return IsDialogButtonChecked(PageWindow(page), id);
}

// A registry page record: every sixteen values as given, RetVal 99.
struct PageValues {
    int32_t orientation = 0, size = 601, width = 841, height = 1190, scale = 10000, roll = 0;
    int32_t firstPage = 1, lastPage = 1;
};

inline void SeedPageValues(const PageValues& v)
{
    const std::pair<const char*, int32_t> values[] = {{"Orientation", v.orientation}, {"Size", v.size},
        {"Width", v.width}, {"Height", v.height}, {"Scale", v.scale}, {"pisroll", v.roll},
        {"rPage.left", 0}, {"rPage.top", 0}, {"rPage.right", 0}, {"rPage.bottom", 0},
        {"rPaper.left", 0}, {"rPaper.top", 0}, {"rPaper.right", 0}, {"rPaper.bottom", 0},
        {"iFstPage", v.firstPage}, {"iLstPage", v.lastPage}, {"RetVal", 99}};
    for (const auto& value : values)
        SetConfigValue(value.first, static_cast<uint32_t>(value.second));
}

// The settings file a program creates (block version 301), with the display unit given.
inline std::string DefaultFileInUnit(int16_t unit)
{
    std::string file = ExpectedDefaultFile(301);
    Put16(file, 1538 + 6934, unit);
    return file;
}
