// The page record: loaded from the registry values with its defaults, and after OK given
// its paper and page rectangles from the size, the orientation and the margins.
#include "config/page_record.h"
#include "config/settings_store.h"
#include "platform/registry_store.h"
#include "plugin/settings/settings_defaults.h"
#include "config/tests/config_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace {

std::string StoreText()
{
    return RegistryStoreBytes();
}

class PageRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        SetDefaultPlotSettings(&gPlotSettings);
    }
};

TEST_F(PageRecordTest, WithoutRegistryValuesTheDefaultsStandAndNothingIsWritten)
{
    gPageSetup.Size = 777;
    LoadPageSetup();
    EXPECT_EQ(gPageSetup.Orientation, 0);
    EXPECT_EQ(gPageSetup.Size, 601);
    EXPECT_EQ(gPageSetup.Width, 0);
    EXPECT_EQ(gPageSetup.Height, 0);
    EXPECT_EQ(gPageSetup.Scale, 10000);
    EXPECT_EQ(gPageSetup.pisroll, 0);
    EXPECT_EQ(gPageSetup.rPage.right, 0);
    EXPECT_EQ(gPageSetup.rPaper.left, 0);
    EXPECT_EQ(gPageSetup.iFstPage, 1);
    EXPECT_EQ(gPageSetup.iLstPage, 1);
    EXPECT_FALSE(std::filesystem::exists(RegistryStorePath()));
}

TEST_F(PageRecordTest, EachValueReplacesItsFieldAndThePagesTakeTheLow16Bits)
{
    struct Case {
        const char* name;
        uint32_t value;
        int32_t ConfigPageSetup::*field;
        int16_t ConfigPageSetup::*page;
        int32_t expected;
    };
    const Case cases[] = {
        {"Orientation", 1, &ConfigPageSetup::Orientation, nullptr, 1},
        {"Size", 999, &ConfigPageSetup::Size, nullptr, 999},
        {"Width", 1020, &ConfigPageSetup::Width, nullptr, 1020},
        {"Height", 3000, &ConfigPageSetup::Height, nullptr, 3000},
        {"Scale", 5000, &ConfigPageSetup::Scale, nullptr, 5000},
        {"pisroll", 1, &ConfigPageSetup::pisroll, nullptr, 1},
        {"Width", 0xFFFFFFF1u, &ConfigPageSetup::Width, nullptr, -15},
        {"iFstPage", 65537, nullptr, &ConfigPageSetup::iFstPage, 1},
        {"iFstPage", 65535, nullptr, &ConfigPageSetup::iFstPage, -1},
        {"iLstPage", 0x7FFF0003u, nullptr, &ConfigPageSetup::iLstPage, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.value));
        ResetTestHome();
        SetConfigValue(c.name, c.value);
        LoadPageSetup();
        EXPECT_EQ(c.field ? gPageSetup.*c.field : gPageSetup.*c.page, c.expected);
    }
}

TEST_F(PageRecordTest, OnlyScalePresentKeepsEveryOtherDefault)
{
    SetConfigValue("Scale", 2500);
    LoadPageSetup();
    ConfigPageSetup expected;
    SetDefaultConfigPageSetup(&expected);
    expected.Scale = 2500;
    EXPECT_EQ(std::memcmp(&gPageSetup, &expected, sizeof expected), 0);
}

struct Derivation {
    const char* what;
    int32_t orientation, width, height, roll;
    MarginRect sheet, rollMargins;  // top, left, right, bottom
    ConfigPageRect page, paper;     // left, top, right, bottom
};

TEST_F(PageRecordTest, SaveDerivesTheRectanglesAndWritesThemByName)
{
    const Derivation cases[] = {
        {"A0 portrait, sheet margins of 15", 0, 841, 1190, 0, {15, 15, 15, 15}, {1, 1, 1, 1},
            {0, 0, 811, 1160}, {-15, -15, 826, 1175}},
        {"A0 landscape, sheet margins top 10, left 20, right 30, bottom 40", 1, 841, 1190, 0,
            {10, 20, 30, 40}, {1, 1, 1, 1}, {0, 0, 1140, 791}, {-10, -20, 1180, 821}},
        {"zero margins", 0, 841, 1190, 0, {0, 0, 0, 0}, {5, 5, 5, 5}, {0, 0, 841, 1190}, {0, 0, 841, 1190}},
        {"landscape roll takes the roll margins in the swapped order", 1, 841, 1190, 1, {99, 99, 99, 99},
            {1, 2, 3, 4}, {0, 0, 1185, 836}, {-1, -2, 1189, 839}},
        {"portrait roll", 0, 1000, 3000, 1, {99, 99, 99, 99}, {1, 2, 3, 4}, {0, 0, 995, 2995},
            {-2, -1, 998, 2999}},
        {"margins over half the paper are written as they are", 0, 100, 100, 0, {60, 60, 60, 60},
            {0, 0, 0, 0}, {0, 0, -20, -20}, {-60, -60, 40, 40}},
    };
    for (const Derivation& c : cases) {
        SCOPED_TRACE(c.what);
        ResetTestHome();
        SetDefaultConfigPageSetup(&gPageSetup);
        gPageSetup.Orientation = c.orientation;
        gPageSetup.Width = c.width;
        gPageSetup.Height = c.height;
        gPageSetup.pisroll = c.roll;
        gPageSetup.iFstPage = 2;
        gPageSetup.iLstPage = -1;
        gPlotSettings.rSheetMargin = c.sheet;
        gPlotSettings.rRollMargin = c.rollMargins;
        ASSERT_EQ(SavePageSetup(), 0);
        std::map<std::string, int32_t> v = ConfigValues();
        ASSERT_EQ(v.size(), 16u);   // no RetVal: only the page values were written
        EXPECT_EQ(v["Orientation"], c.orientation);
        EXPECT_EQ(v["Size"], 601);
        EXPECT_EQ(v["Width"], c.width);
        EXPECT_EQ(v["Height"], c.height);
        EXPECT_EQ(v["Scale"], 10000);
        EXPECT_EQ(v["pisroll"], c.roll);
        EXPECT_EQ(v["rPage.left"], c.page.left);
        EXPECT_EQ(v["rPage.top"], c.page.top);
        EXPECT_EQ(v["rPage.right"], c.page.right);
        EXPECT_EQ(v["rPage.bottom"], c.page.bottom);
        EXPECT_EQ(v["rPaper.left"], c.paper.left);
        EXPECT_EQ(v["rPaper.top"], c.paper.top);
        EXPECT_EQ(v["rPaper.right"], c.paper.right);
        EXPECT_EQ(v["rPaper.bottom"], c.paper.bottom);
        EXPECT_EQ(v["iFstPage"], 2);
        EXPECT_EQ(v["iLstPage"], -1);   // sign-extended from 16 bits
    }
}

TEST_F(PageRecordTest, SavedValuesFollowOneAnotherInTheirOrder)
{
    SetDefaultConfigPageSetup(&gPageSetup);
    ASSERT_EQ(SavePageSetup(), 0);
    std::string store = StoreText();
    size_t last = 0;
    for (const char* name : {"\"Orientation\"", "\"Size\"", "\"Width\"", "\"Height\"", "\"Scale\"",
             "\"pisroll\"", "\"rPage.left\"", "\"rPage.top\"", "\"rPage.right\"", "\"rPage.bottom\"",
             "\"rPaper.left\"", "\"rPaper.top\"", "\"rPaper.right\"", "\"rPaper.bottom\"",
             "\"iFstPage\"", "\"iLstPage\""}) {
        size_t at = store.find(name);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name;
        last = at;
    }
}

TEST_F(PageRecordTest, DamagedMarginsWrapInsteadOfOverflowing)
{
    SetDefaultConfigPageSetup(&gPageSetup);
    gPageSetup.Width = 100;
    gPageSetup.Height = 100;
    gPlotSettings.rSheetMargin = {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX};
    ASSERT_EQ(SavePageSetup(), 0);
    EXPECT_EQ(ConfigValues().size(), 16u);
}

TEST_F(PageRecordTest, ASavedRecordLoadsBack)
{
    SetDefaultConfigPageSetup(&gPageSetup);
    gPageSetup.Orientation = 1;
    gPageSetup.Size = 605;
    gPageSetup.Width = 297;
    gPageSetup.Height = 420;
    gPageSetup.Scale = 3333;
    gPageSetup.iFstPage = 3;
    gPageSetup.iLstPage = 7;
    ASSERT_EQ(SavePageSetup(), 0);
    ConfigPageSetup saved = gPageSetup;
    SetDefaultConfigPageSetup(&gPageSetup);
    LoadPageSetup();
    EXPECT_EQ(std::memcmp(&gPageSetup, &saved, sizeof saved), 0);
}

} // namespace
