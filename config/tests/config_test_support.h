// Test helpers for the configuration program: the registry values it reads and writes, the
// store file as bytes, and a settings file seeded by hand at the offsets of the format.
#pragma once

#include "platform/registry_store.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

inline const char* ConfigValuesKey()
{
    return "Software\\Brenvoltic\\TRVXSerConfig";
}

inline void SetConfigValue(const char* name, uint32_t value)
{
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, ConfigValuesKey(), &key), kRegistrySuccess);
    ASSERT_EQ(SetRegistryDword(key, name, value), kRegistrySuccess);
    CloseRegistryKey(key);
}

// The page values and RetVal, by name; a missing value is absent.
inline std::map<std::string, int32_t> ConfigValues()
{
    std::map<std::string, int32_t> values;
    RegistryKey key = nullptr;
    if (OpenRegistryKey(kRegistryCurrentUser, ConfigValuesKey(), &key) != kRegistrySuccess)
        return values;
    for (const char* name : {"Orientation", "Size", "Width", "Height", "Scale", "pisroll", "rPage.left",
             "rPage.top", "rPage.right", "rPage.bottom", "rPaper.left", "rPaper.top", "rPaper.right",
             "rPaper.bottom", "iFstPage", "iLstPage", "RetVal"}) {
        uint32_t value = 0;
        if (QueryRegistryDword(key, name, &value) == kRegistrySuccess)
            values[name] = static_cast<int32_t>(value);
    }
    CloseRegistryKey(key);
    return values;
}

inline int32_t RetVal()
{
    std::map<std::string, int32_t> values = ConfigValues();
    return values.count("RetVal") ? values["RetVal"] : 12345;
}

inline std::string RegistryStoreBytes()
{
    return ReadBytes(RegistryStorePath());
}

// The store as it reads after RetVal changed from 99 to result and nothing else.
inline std::string WithRetVal(std::string store, int32_t result)
{
    const std::string before = "\"RetVal\"=dword:00000063";
    char after[40];
    std::snprintf(after, sizeof after, "\"RetVal\"=dword:%08x", static_cast<uint32_t>(result));
    size_t at = store.find(before);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos)
        store.replace(at, before.size(), after);
    return store;
}

// What the plug-in leaves before it starts the program: the page values of A0 in landscape
// from an earlier run, and RetVal 99.
inline void SeedRegistry()
{
    const std::pair<const char*, uint32_t> values[] = {{"Orientation", 1}, {"Size", 601}, {"Width", 841},
        {"Height", 1190}, {"Scale", 10000}, {"pisroll", 0}, {"rPage.left", 0}, {"rPage.top", 0},
        {"rPage.right", 1190}, {"rPage.bottom", 841}, {"rPaper.left", 0}, {"rPaper.top", 0},
        {"rPaper.right", 1190}, {"rPaper.bottom", 841}, {"iFstPage", 1}, {"iLstPage", 2}, {"RetVal", 99}};
    for (const auto& v : values)
        SetConfigValue(v.first, v.second);
}

// A settings file made by the plug-in (block version 302) whose sheet margins are top 10,
// left 20, right 30, bottom 40, with the display unit word given.
inline std::string SeededSettingsFile(int16_t unit)
{
    std::string file = ExpectedDefaultFile(302);
    Put32(file, 2 + 4, 10);    // rSheetMargin.top
    Put32(file, 2 + 8, 20);    // .left
    Put32(file, 2 + 12, 30);   // .right
    Put32(file, 2 + 16, 40);   // .bottom
    Put16(file, 1538 + 6934, unit);
    return file;
}
