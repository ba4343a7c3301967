// The host's Access suite (a loaded plug-in's module) and Undo suite (the item texts).
#include "host/suites/access_suite.h"
#include "host/suites/host_strings.h"
#include "host/session/plugin_loader.h"
#include "host/suites/undo_suite.h"

#include <gtest/gtest.h>

namespace {

TEST(AccessSuiteTest, ModuleOfALoadedPluginOnly)
{
    const SPAccessSuite* access = host::HostAccessSuite();
    host::LoadedPlugin plugin;
    std::string error;
    ASSERT_TRUE(host::LoadPlugin(std::string(TRAVEX_BINARY_DIR) + "/bin/TRAVEX-Pro.aip", "TRAVEX-Pro", plugin, error))
        << error;
    SPAccessRef ref = nullptr;
    ASSERT_EQ(access->GetPluginAccess(host::ToPluginRef(&plugin), &ref), kNoErr);
    void* module = nullptr;
    ASSERT_EQ(access->GetAccessModule(ref, &module), kNoErr);
    EXPECT_EQ(module, plugin.module);

    int other = 0;
    SPAccessRef none = nullptr;
    EXPECT_EQ(access->GetPluginAccess(reinterpret_cast<SPPluginRef>(&other), &none), kBadParameterErr);
    host::UnloadPlugin(plugin);
    EXPECT_EQ(access->GetAccessModule(ref, &module), kBadParameterErr);
}

TEST(UndoSuiteTest, TextsOfBothItemsFromEightBitText)
{
    const AIUnicodeStringSuite* strings = host::HostUnicodeStringSuite();
    AIUnicodeStringRef undo = nullptr;
    AIUnicodeStringRef redo = nullptr;
    strings->MakeFromEightBit("\x83\x76\x83\x8D\x83\x62\x83\x67", kAIShiftJisCharacterEncoding, &undo);
    strings->MakeFromEightBit("Redo Plot Area", kAIShiftJisCharacterEncoding, &redo);
    ASSERT_EQ(host::HostUndoSuite()->SetUndoText(undo, redo), kNoErr);
    EXPECT_EQ(host::HostUndoText(), "プロット");
    EXPECT_EQ(host::HostRedoText(), "Redo Plot Area");
    EXPECT_EQ(host::HostUndoSuite()->SetUndoText(nullptr, redo), kBadParameterErr);
    strings->Dispose(undo);
    strings->Dispose(redo);
}

}  // namespace
