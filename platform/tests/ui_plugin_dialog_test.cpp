// Dialogs run by a loaded module share the program's Qt instance and UI robot.
#include "platform/ui/dialog_runner.h"
#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <dlfcn.h>

namespace {

int g_hookCalls = 0;

TEST(UiPluginDialog, ModuleFindsTheProgramsApplicationAndIsAnsweredByItsScript)
{
    ASSERT_TRUE(EnsureQtApplication());
    ResetUiRobot();
    SetUiRobotTimeout(1000);
    void* module = dlopen(TRAVEX_BINARY_DIR "/platform/ui_test_plugin.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto instance = reinterpret_cast<void* (*)()>(dlsym(module, "ModuleQtInstance"));
    auto run = reinterpret_cast<int (*)(int*)>(dlsym(module, "RunModuleDialog"));
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(instance(), QCoreApplication::instance());

    RegisterUiRobotHook("host", [](void*) { ++g_hookCalls; }, nullptr);
    ASSERT_TRUE(SetUiRobotScript("tick 10; hook host; press 1"));
    int ticked = -1;
    EXPECT_EQ(run(&ticked), kDialogOk);
    EXPECT_EQ(ticked, 1);
    EXPECT_EQ(g_hookCalls, 1);
    EXPECT_TRUE(UiRobotErrors().empty());
    EXPECT_EQ(UiRobotStepRecords().size(), 3u);
    ASSERT_EQ(UiRobotShownDialogs().size(), 1u);
    EXPECT_EQ(UiRobotShownDialogs()[0].title, "About");

    // The tab control has no tabs: the module's robot refuses, the program sees the error.
    ASSERT_TRUE(SetUiRobotScript("tab 1082 0; press 1"));
    EXPECT_EQ(run(&ticked), kDialogCancel);
    std::vector<std::string> errors = UiRobotErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("has no tab 0"), std::string::npos) << errors[0];
    dlclose(module);
}

} // namespace
