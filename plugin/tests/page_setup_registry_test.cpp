#include "plugin/records/page_setup_registry.h"

#include "plugin/entry/plugin_globals.h"
#include "platform/registry_store.h"
#include "plugin/settings/settings_file.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr const char* kConfigKey = "Software\\Brenvoltic\\TRVXSerConfig";
constexpr const char* kPluginKey = "Software\\Brenvoltic\\TRAVEX-Pro";

struct Fields {
    int32_t orientation, size, width, height, scale, roll;
    int32_t page[4];    // top, left, right, bottom
    int32_t paper[4];
    int32_t first, last;
};

void ExpectPage(const PageSetup* p, const Fields& f, const char* label)
{
    ASSERT_NE(p, nullptr) << label;
    EXPECT_EQ(p->Orientation, f.orientation) << label;
    EXPECT_EQ(p->Size, f.size) << label;
    EXPECT_EQ(p->Width, f.width) << label;
    EXPECT_EQ(p->Height, f.height) << label;
    EXPECT_EQ(p->Scale, f.scale) << label;
    EXPECT_EQ(p->pisroll, f.roll) << label;
    EXPECT_EQ(p->rPage.top, f.page[0]) << label;
    EXPECT_EQ(p->rPage.left, f.page[1]) << label;
    EXPECT_EQ(p->rPage.right, f.page[2]) << label;
    EXPECT_EQ(p->rPage.bottom, f.page[3]) << label;
    EXPECT_EQ(p->rPaper.top, f.paper[0]) << label;
    EXPECT_EQ(p->rPaper.left, f.paper[1]) << label;
    EXPECT_EQ(p->rPaper.right, f.paper[2]) << label;
    EXPECT_EQ(p->rPaper.bottom, f.paper[3]) << label;
    EXPECT_EQ(p->iFstPage, f.first) << label;
    EXPECT_EQ(p->iLstPage, f.last) << label;
}

const Fields kDefaults = {0, 601, 841, 1190, 10000, 0, {0, 0, 841, 1190}, {-15, -15, 856, 1205}, 1, 1};

void SetValue(const char* subKey, const char* name, uint32_t value)
{
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, subKey, &key), kRegistrySuccess);
    ASSERT_EQ(SetRegistryDword(key, name, value), kRegistrySuccess);
    CloseRegistryKey(key);
}

int32_t GetValue(const char* subKey, const char* name, uint32_t* value)
{
    RegistryKey key = nullptr;
    int32_t status = OpenRegistryKey(kRegistryCurrentUser, subKey, &key);
    if (status == kRegistrySuccess) {
        status = QueryRegistryDword(key, name, value);
        CloseRegistryKey(key);
    }
    return status;
}

// The default settings file with patches at absolute file offsets.
void WriteSettingsFile(const std::vector<std::pair<size_t, int32_t>>& words32,
    const std::vector<std::pair<size_t, int16_t>>& words16)
{
    std::string b = ExpectedDefaultFile(302);
    for (const auto& [offset, value] : words32)
        Put32(b, offset, value);
    for (const auto& [offset, value] : words16)
        Put16(b, offset, value);
    WriteBytes(TestSettingsFile(), b);
}

class PageSetupRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        globals_ = std::make_unique<PluginGlobals>();
        g = globals_.get();
    }
    void TearDown() override
    {
        std::free(g->pPlotSettings);
        std::free(g->pPaperList);
        g = nullptr;
    }

    struct FreePage {
        void operator()(PageSetup* p) const { std::free(p); }
    };
    using Page = std::unique_ptr<PageSetup, FreePage>;

    std::unique_ptr<PluginGlobals> globals_;
};

TEST_F(PageSetupRegistryTest, DefaultsComeFromRowZeroAndTheMargins)
{
    Page page(LoadPageSetup());
    ExpectPage(page.get(), kDefaults, "no values, default file");
    // The blocks are current in the globals afterwards.
    ASSERT_NE(g->pPlotSettings, nullptr);
    ASSERT_NE(g->pPaperList, nullptr);
    EXPECT_EQ(g->pPaperList->wCount, 10);
}

TEST_F(PageSetupRegistryTest, EdgeCasesOfTheDefaults)
{
    struct Case {
        const char* label;
        std::vector<std::pair<size_t, int32_t>> words32;
        std::vector<std::pair<size_t, int16_t>> words16;
        Fields expected;
    } cases[] = {
        {"roll row 0 takes the roll margins",
            {{22, 10}, {26, 20}, {30, 30}, {34, 40}},          // roll top, left, right, bottom
            {{1604, 1020}, {1606, 3000}, {1608, 1}},          // row 0 width, height, roll
            {0, 601, 1020, 3000, 10000, 1, {0, 0, 1020, 3000}, {-10, -20, 1050, 3040}, 1, 1}},
        {"sheet row 0 takes the sheet margins",
            {{6, 1}, {10, 2}, {14, 3}, {18, 4}, {22, 10}},
            {},
            {0, 601, 841, 1190, 10000, 0, {0, 0, 841, 1190}, {-1, -2, 844, 1194}, 1, 1}},
        {"empty paper list", {}, {{1538, 0}},
            {0, 601, 0, 0, 10000, 0, {0, 0, 0, 0}, {-15, -15, 15, 15}, 1, 1}},
    };
    for (const Case& c : cases) {
        ResetTestHome();
        WriteSettingsFile(c.words32, c.words16);
        Page page(LoadPageSetup());
        ExpectPage(page.get(), c.expected, c.label);
    }
}

TEST_F(PageSetupRegistryTest, RegistryValuesOverrideTheDefaults)
{
    SetValue(kConfigKey, "Scale", 5000);
    Page onlyScale(LoadPageSetup());
    Fields scaled = kDefaults;
    scaled.scale = 5000;
    ExpectPage(onlyScale.get(), scaled, "only Scale present");

    struct PageNumber {
        uint32_t stored;
        int32_t read;
    } numbers[] = {{65537, 1}, {65535, -1}, {7, 7}, {0xFFFF8000u, -32768}};
    for (const PageNumber& n : numbers) {
        SetValue(kConfigKey, "iFstPage", n.stored);
        SetValue(kConfigKey, "iLstPage", n.stored);
        Page page(LoadPageSetup());
        EXPECT_EQ(page->iFstPage, n.read) << n.stored;
        EXPECT_EQ(page->iLstPage, n.read) << n.stored;
    }

    const char* names[16] = {"Orientation", "Size", "Width", "Height", "Scale", "pisroll",
        "rPage.left", "rPage.top", "rPage.right", "rPage.bottom", "rPaper.left", "rPaper.top",
        "rPaper.right", "rPaper.bottom", "iFstPage", "iLstPage"};
    for (int i = 0; i < 16; ++i)
        SetValue(kConfigKey, names[i], static_cast<uint32_t>(100 + i));
    Page all(LoadPageSetup());
    ExpectPage(all.get(),
        {100, 101, 102, 103, 104, 105, {107, 106, 108, 109}, {111, 110, 112, 113}, 114, 115},
        "all sixteen values");
}

TEST_F(PageSetupRegistryTest, UnreadableRegistryGivesTheDefaultsAndIsLeftAlone)
{
    // The first key without its subkey.
    SetValue(kPluginKey, "fTextOut", 1);
    Page page(LoadPageSetup());
    ExpectPage(page.get(), kDefaults, "no TRVXSerConfig key");

    const std::string garbled = "not a registry export\n\"Scale\"=dword:00001388\n";
    WriteBytes(RegistryStorePath(), garbled);
    Page again(LoadPageSetup());
    ExpectPage(again.get(), kDefaults, "garbled store");
    EXPECT_EQ(ReadBytes(RegistryStorePath()), garbled);
}

TEST_F(PageSetupRegistryTest, SaveDerivesTheRectanglesAndWritesSixteenValues)
{
    WriteSettingsFile({{22, 10}, {26, 20}, {30, 30}, {34, 40}}, {});
    PageSetup page{};
    page.Orientation = 1;
    page.Size = 999;
    page.Width = 500;
    page.Height = 700;
    page.Scale = 2500;
    page.pisroll = 1;
    page.rPage = {9, 9, 9, 9};
    page.iFstPage = 2;
    page.iLstPage = 3;
    ASSERT_EQ(SavePageSetup(&page), 0);
    struct Value {
        const char* name;
        int32_t value;
    } values[] = {
        {"Orientation", 1}, {"Size", 999}, {"Width", 500}, {"Height", 700}, {"Scale", 2500},
        {"pisroll", 1}, {"rPage.left", 0}, {"rPage.top", 0}, {"rPage.right", 500},
        {"rPage.bottom", 700}, {"rPaper.left", -20}, {"rPaper.top", -10}, {"rPaper.right", 530},
        {"rPaper.bottom", 740}, {"iFstPage", 2}, {"iLstPage", 3},
    };
    for (const Value& v : values) {
        uint32_t stored = 0;
        ASSERT_EQ(GetValue(kConfigKey, v.name, &stored), kRegistrySuccess) << v.name;
        EXPECT_EQ(static_cast<int32_t>(stored), v.value) << v.name;
    }
    Page loaded(LoadPageSetup());
    ExpectPage(loaded.get(), {1, 999, 500, 700, 2500, 1, {0, 0, 500, 700}, {-10, -20, 530, 740}, 2, 3},
        "read back");
}

TEST_F(PageSetupRegistryTest, TextOutFlag)
{
    struct Case {
        const char* label;
        bool present;
        uint32_t stored;
        int16_t flag;
    } cases[] = {
        {"5 reads as 1", true, 5, 1},
        {"1", true, 1, 1},
        {"0", true, 0, 0},
        {"missing", false, 0, 0},
    };
    for (const Case& c : cases) {
        ResetTestHome();
        if (c.present)
            SetValue(kPluginKey, "fTextOut", c.stored);
        g->fTextOut = 1;
        ReadTextOutFlag();
        EXPECT_EQ(g->fTextOut, c.flag) << c.label;
    }

    ResetTestHome();
    g->fTextOut = 1;
    ASSERT_EQ(WriteTextOutFlag(), 0);
    g->fTextOut = 0;
    ReadTextOutFlag();
    EXPECT_EQ(g->fTextOut, 1);

    g->fTextOut = -1;
    ASSERT_EQ(WriteTextOutFlag(), 0);
    uint32_t stored = 0;
    ASSERT_EQ(GetValue(kPluginKey, "fTextOut", &stored), kRegistrySuccess);
    EXPECT_EQ(stored, 0xFFFFFFFFu) << "sign-extended to 32 bits";
}

} // namespace
