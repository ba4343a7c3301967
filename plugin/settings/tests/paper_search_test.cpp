#include "plugin/settings/paper_search.h"

#include "plugin/settings/settings_defaults.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PaperSizeTest, RowsOutsideTheListGiveZeros)
{
    PaperList list;
    SetDefaultPaperList(&list);
    PaperList empty{};
    struct Case {
        const PaperList* list;
        int16_t index;
        int result;
        int16_t width, height, roll;
    } cases[] = {
        {&list, 0, 1, 841, 1190, 0},
        {&list, 9, 1, 950, 3000, 1},
        {&list, -1, 0, 0, 0, 0},
        {&list, 10, 0, 0, 0, 0},     // wCount: the eleventh row lies outside the list
        {&empty, 0, 0, 0, 0, 0},
        {nullptr, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int16_t w = 7, h = 7, roll = 7;
        EXPECT_EQ(GetPaperSize(c.list, c.index, &w, &h, &roll), c.result) << c.index;
        EXPECT_EQ(w, c.width) << c.index;
        EXPECT_EQ(h, c.height) << c.index;
        EXPECT_EQ(roll, c.roll) << c.index;
    }
}

TEST(ToolSlotTest, ThicknessRoundsAndColoursScale)
{
    struct Case {
        double thickness;
        double colour;
        int16_t wThickness;
        int16_t wColour;
    } cases[] = {
        {0.3, 100, 30, 10000},
        {0.5, 50, 50, 5000},
        {0.29, 0, 29, 0},
        {0.125, 33.3, 13, 3329},    // 3329.99... truncated
        {0.0, 12.5, 0, 1250},
    };
    for (const Case& c : cases) {
        PlotSettings s{};
        SetToolSlot(&s, 9, kToolDrawingPen, c.thickness, c.colour, c.colour, c.colour, 1);
        const ToolSlot& slot = s.aToolSlot[9];
        EXPECT_EQ(slot.wType, 6);
        EXPECT_EQ(slot.wThickness, c.wThickness) << c.thickness;
        EXPECT_EQ(slot.wRed, c.wColour) << c.colour;
        EXPECT_EQ(slot.wGreen, c.wColour) << c.colour;
        EXPECT_EQ(slot.wBlue, c.wColour) << c.colour;
        EXPECT_EQ(slot.fColor, 1);
    }
    PlotSettings s{};
    SetToolSlot(&s, 10, 3, 1.0, 1, 1, 1, 1);
    SetToolSlot(&s, -1, 3, 1.0, 1, 1, 1, 1);
    PlotSettings zero{};
    EXPECT_EQ(std::memcmp(&s, &zero, sizeof s), 0) << "a slot outside the table is not written";
}

TEST(ScalePaperLengthTest, DividesByTheScaleTruncatesAndCaps)
{
    struct Case {
        int32_t length, scale;
        int16_t result;
    } cases[] = {
        {1000, 10000, 1000}, {1000, 5000, 2000}, {2000, 5000, 3000}, {999, 20000, 499},
        {-7, 20000, -3}, {3001, 10000, 3000}, {5, 0, 3000}, {0, 0, 0}, {150, 3333, 450},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScalePaperLength(c.length, c.scale), c.result) << c.length << " at " << c.scale;
}

class NearestPaperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultPlotSettings(&settings);
        // Sheet margins 15 mm, roll margins 10 mm: margin terms 150 and 100.
        settings.rRollMargin = {10, 10, 10, 10};
    }

    static void AddPaper(PaperList& list, int16_t width, int16_t height)
    {
        PaperEntry& e = list.aEntry[list.wCount++];
        e.wWidth = width;
        e.wHeight = height;
    }

    static void AddCustom(CustomSizeList& list, int16_t width, int16_t height, int32_t scale)
    {
        CustomSizeEntry& e = list.aEntry[list.wCount++];
        e.wWidth = width;
        e.wHeight = height;
        e.iScale = scale;
    }

    PlotSettings settings;
};

TEST_F(NearestPaperTest, SmallestScoreWinsAndTheFirstOfEqualScores)
{
    PaperList list{};
    AddPaper(list, 600, 800);
    AddPaper(list, 500, 700);
    AddPaper(list, 500, 700);
    AddPaper(list, 510, 700);
    struct Case {
        int32_t width, height, x, y;
        int16_t index, score;
    } cases[] = {
        {500, 700, 150, 150, 1, 0},     // exact size, sheet margins match
        {500, 700, 100, 100, 1, 0},     // roll margins match
        {500, 700, 130, 130, 1, 8},     // sheet (20 + 20) / 5 = 8 beats roll (30 + 30) / 5 = 12
        {505, 700, 150, 150, 1, 5},     // rows 1, 2 and 3 tie at 5: the first wins
        {509, 702, 150, 150, 3, 3},
        {590, 790, 0, 0, 0, 60},        // 10 + 10 + roll (100 + 100) / 5
    };
    for (const Case& c : cases) {
        int16_t score = -1;
        EXPECT_EQ(FindNearestPaper(&settings, &list, c.width, c.height, c.x, c.y, &score), c.index)
            << c.width << "x" << c.height;
        EXPECT_EQ(score, c.score) << c.width << "x" << c.height;
    }

    PaperList empty{};
    int16_t score = 0;
    EXPECT_EQ(FindNearestPaper(&settings, &empty, 500, 700, 0, 0, &score), -1);
    EXPECT_EQ(score, 32767);
}

TEST_F(NearestPaperTest, CustomSizesCompareScaledLengthsAndMargins)
{
    CustomSizeList list{};
    AddCustom(list, 500, 700, 10000);
    AddCustom(list, 250, 350, 5000);   // 500 x 700 at 50 %, margin terms 300 and 200
    // Query 500 x 700; row 0 has margin terms 150 (sheet) and 100 (roll), row 1 300 and 200.
    struct Case {
        int32_t x, y;
        int16_t index, score;
    } cases[] = {
        {150, 150, 0, 0},
        {300, 300, 1, 0},
        {200, 200, 1, 0},
        {250, 250, 1, 20},   // row 0: sheet 40, roll 60; row 1: sheet 20, roll 20
        {125, 125, 0, 10},   // row 0: sheet 10, roll 10; row 1: sheet 70, roll 30
    };
    for (const Case& c : cases) {
        int16_t score = -1;
        EXPECT_EQ(FindNearestPaperScaled(&settings, &list, 500, 700, c.x, c.y, &score), c.index) << c.x;
        EXPECT_EQ(score, c.score) << c.x;
    }

    int16_t score = 0;
    CustomSizeList empty{};
    EXPECT_EQ(FindNearestPaperScaled(&settings, &empty, 500, 700, 0, 0, &score), -1);
    EXPECT_EQ(score, 32767);
}

} // namespace
