// Loading the plug-in: its property list, and the clear refusal of libraries that are not it.
#include "host/session/plugin_loader.h"
#include "sdk/sp_property_list.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kPluginPath = std::string(TRAVEX_BINARY_DIR) + "/bin/TRAVEX-Pro.aip";

void Put32(std::vector<uint8_t>& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

void PutProperty(std::vector<uint8_t>& out, const char* vendor, const char* key, const std::string& data)
{
    out.insert(out.end(), vendor, vendor + 4);
    out.insert(out.end(), key, key + 4);
    Put32(out, 0);
    Put32(out, int32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// A list with the header written last, so that its byte count is the real one.
std::vector<uint8_t> MakeList(const std::vector<std::vector<std::string>>& properties)
{
    std::vector<uint8_t> body;
    for (const auto& p : properties)
        PutProperty(body, p[0].c_str(), p[1].c_str(), p[2]);
    std::vector<uint8_t> list;
    Put32(list, 0);
    Put32(list, int32_t(12 + body.size()));
    Put32(list, int32_t(properties.size()));
    list.insert(list.end(), body.begin(), body.end());
    return list;
}

TEST(PropertyListTest, ReadsTheFourPropertiesOfThePlugin)
{
    std::vector<uint8_t> list = MakeList({{"ADBE", "ivrs", std::string("\x02\0\0\0", 4)},
                                          {"ADBE", "wx86", ""},
                                          {"ADBE", "kind", "SPEA"},
                                          {"ADBE", "pinm", std::string("TRAVEX-Pro\0", 11)}});
    host::PropertyListInfo info;
    std::string error;
    ASSERT_TRUE(host::ParsePropertyList(list.data(), list.size(), info, error)) << error;
    EXPECT_EQ(info.interfaceVersion, 2);
    EXPECT_TRUE(info.fHasPlatformCode);
    EXPECT_EQ(info.kind, "SPEA");
    EXPECT_EQ(info.name, "TRAVEX-Pro");
}

TEST(PropertyListTest, DamagedListsAreRefusedWithoutReadingPastTheirEnd)
{
    std::vector<uint8_t> good = MakeList({{"ADBE", "kind", "SPEA"}, {"ADBE", "pinm", "TRAVEX-Pro"}});
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        size_t room;
    };
    std::vector<Case> cases;
    cases.push_back({"shorter than its header", std::vector<uint8_t>(good.begin(), good.begin() + 8), 8});
    {
        std::vector<uint8_t> bytes = good;
        bytes[0] = 1;   // version
        cases.push_back({"another version", bytes, bytes.size()});
    }
    {
        std::vector<uint8_t> bytes = good;
        bytes[4] = 200;  // byte count beyond the symbol
        cases.push_back({"byte count beyond the room", bytes, bytes.size()});
    }
    {
        std::vector<uint8_t> bytes = good;
        bytes[8] = 3;    // one property more than there is
        cases.push_back({"count beyond the byte count", bytes, bytes.size()});
    }
    {
        std::vector<uint8_t> bytes = good;
        bytes[12 + 12] = 0xF0;   // the first property's length runs past the list
        cases.push_back({"property length beyond the list", bytes, bytes.size()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::PropertyListInfo info;
        std::string error;
        EXPECT_FALSE(host::ParsePropertyList(c.bytes.data(), c.room, info, error));
        EXPECT_FALSE(error.empty());
    }
}


// A copy of the plug-in with every occurrence of `from` replaced by `to` (same length).
std::string PatchedPlugin(const std::string& name, const std::string& from, const std::string& to)
{
    std::string bytes = ReadBytes(kPluginPath);
    size_t count = 0;
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
        bytes.replace(at, to.size(), to);
        ++count;
    }
    EXPECT_GT(count, 0u) << from;
    std::string path = MakeTestFolder("loader-" + name) + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(PluginLoaderTest, LoadsTheRealPlugin)
{
    host::LoadedPlugin plugin;
    std::string error;
    ASSERT_TRUE(host::LoadPlugin(kPluginPath, "TRAVEX-Pro", plugin, error)) << error;
    EXPECT_NE(plugin.main, nullptr);
    EXPECT_EQ(plugin.properties.kind, "SPEA");
    EXPECT_EQ(plugin.properties.name, "TRAVEX-Pro");
    EXPECT_EQ(host::FindLoadedPlugin(host::ToPluginRef(&plugin)), &plugin);
    host::UnloadPlugin(plugin);
    EXPECT_EQ(host::FindLoadedPlugin(host::ToPluginRef(&plugin)), nullptr);
}

TEST(PluginLoaderTest, LibrariesThatAreNotThePluginAreRefusedClearly)
{
    std::string folder = MakeTestFolder("not-plugins");
    std::string text = folder + "/text.aip";
    std::ofstream(text) << "not a library\n";
    struct Case {
        const char* what;
        std::string path;
        std::string expected;   // in the message
    };
    const Case cases[] = {
        {"missing file", folder + "/missing.aip", "cannot load the plug-in"},
        {"not a library", text, "cannot load the plug-in"},
        {"another library", "libz.so.1", "no \"PLUGIN\" property list"},
        {"wrong kind", PatchedPlugin("kind.aip", "SPEA", "SPEB"), "kind \"SPEB\""},
        {"no entry", PatchedPlugin("entry.aip", "PluginMain", "PluginMaiX"), "no PluginMain"},
        {"another plug-in", PatchedPlugin("name.aip", std::string("TRAVEX-Pro\0\0", 12), std::string("TRAVEX-Pre\0\0", 12)),
         "named \"TRAVEX-Pre\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::LoadedPlugin plugin;
        std::string error;
        EXPECT_FALSE(host::LoadPlugin(c.path, "TRAVEX-Pro", plugin, error));
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_EQ(error.compare(0, c.path.size(), c.path), 0) << error;
        EXPECT_EQ(plugin.main, nullptr);
    }
}

}  // namespace
