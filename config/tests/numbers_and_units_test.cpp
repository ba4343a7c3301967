// How the configuration program shows and reads numbers and lengths: the fixed-decimal
// formatter, the permissive parser, the rounding, and the display and entry rules.
#include "config/numbers_and_units.h"
#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

TEST(FormatFixedTest, AddsOneHalfTruncatesAndPutsInThePoint)
{
    struct Case {
        float value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.05f, 2, "0.05"},
        {1.5f, 2, "1.50"},
        {210.0f, 0, "210"},
        {0.5f, 3, "0.500"},
        {-1.25f, 2, "-1.24"},     // the half is added before truncation toward zero
        {0.0f, 2, "0.00"},
        {-0.001f, 2, "0.00"},     // rounds to zero: no minus sign
        {-0.7f, 0, "0"},          // -0.2 truncates to 0
        {-3.0f, 0, "-2"},         // -2.5 truncates to -2
        {8.2677165f, 3, "8.268"},
        {595.27559f, 2, "595.28"},
        {118.11024f, 3, "118.110"},
        {12.0f, 1, "12.0"},
        {0.004f, 3, "0.004"},
        {1e12f, 2, "21474836.47"},  // beyond 32 bits: the largest value, never garbage
        {-1e12f, 0, "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
}

TEST(ParseNumberTest, ReadsDigitsWhereverTheyStand)
{
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"", 0.0f},
        {"abc", 0.0f},
        {"12.5", 12.5f},
        {"-3", -3.0f},
        {"3-", -3.0f},        // a minus sign after the digits counts too
        {"--3", -3.0f},       // later minus signs are ignored
        {"-", 0.0f},
        {"1,5", 15.0f},
        {"1.5mm", 0.015f},    // three characters follow the point
        {"12.", 12.0f},       // a final point counts for nothing
        {"1.2.", 0.12f},      // ... so the point before it is the point
        {"1.2.3", 12.3f},     // the rightmost point that is not last
        {".5", 0.5f},
        {" 210 ", 210.0f},
        {"8.268", 8.268f},
        {"123456789", 123456789.0f},
        {"0000000000012.5", 12.5f},   // leading zeros carry no digits
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseNumberTest, DigitsBeyondNineSignificantOnesAreZerosOfTheirWeight)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"12345678901", 12345678900.0},
        {"99999999999", 99999999900.0},
        {"-2147483648", -2147483640.0},
        {"123456789987654321", 123456789000000000.0},
        {"1234567891.5", 1234567890.0},
        {"12345678901.25", 12345678900.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text), static_cast<float>(c.value)) << c.text;
}

TEST(ParseNumberTest, HugeAndTinyTextsStayFiniteNumbers)
{
    const std::string nines(60, '9');
    EXPECT_EQ(ParseNumber(nines), FLT_MAX);
    EXPECT_EQ(ParseNumber("-" + nines), -FLT_MAX);
    EXPECT_EQ(ParseNumber("0." + std::string(80, '0') + "1"), 0.0f);
    EXPECT_EQ(ParseNumber(nines + "." + nines), FLT_MAX);
    // a long text after the point divides a short number into nothing, never into NaN
    EXPECT_EQ(ParseNumber("5." + std::string(60, 'x')), 0.0f);
    EXPECT_FALSE(std::isnan(ParseNumber(std::string(200, '9') + "." + std::string(200, '9'))));
}

TEST(RoundingTest, RoundFloatToIntAddsOneHalfAndTruncatesTowardZero)
{
    struct Case {
        float value;
        int32_t rounded;
        int32_t truncated;
    };
    const Case cases[] = {
        {2.5f, 3, 2},
        {-2.5f, -2, -2},
        {-2.2f, -1, -2},
        {2.49f, 2, 2},
        {-0.4f, 0, 0},
        {30.5f, 31, 30},
        {1e10f, INT32_MAX, INT32_MAX},
        {-1e10f, INT32_MIN, INT32_MIN},
        {NAN, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundFloatToInt(c.value), c.rounded) << c.value;
        EXPECT_EQ(TruncToInt(c.value), c.truncated) << c.value;
    }
}

TEST(RoundingTest, ClampScaledLengthConvertsAtTheScaleUnderThe3000Ceiling)
{
    struct Case {
        int16_t length;
        int32_t scale;
        int16_t result;
    };
    const Case cases[] = {
        {1000, 5000, 2000},
        {2000, 5000, 3000},
        {841, 10000, 841},
        {1190, 20000, 595},
        {1000, 3333, 3000},
        {999, 3333, 2997},
        {1000, 0, 3000},      // no scale: the ceiling, never a division fault
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampScaledLength(c.length, c.scale), c.result) << c.length << " at " << c.scale;
}

TEST(DisplayRuleTest, ShowsMillimetresInTheUnit)
{
    struct Case {
        int32_t millimetres;
        int16_t unit;
        const char* text;
    };
    const Case cases[] = {
        {210, kUnitInch, "8.268"},
        {210, kUnitPixel, "595.28"},
        {210, kUnitMillimetre, "210"},
        {15, kUnitInch, "0.591"},
        {15, kUnitPixel, "42.52"},
        {3000, kUnitInch, "118.110"},
        {0, kUnitInch, "0.000"},
        {-15, kUnitMillimetre, "-14"},   // the half is added before truncation, as everywhere
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayLength(c.millimetres, c.unit), c.text) << c.millimetres << " in unit " << c.unit;
}

TEST(EntryRuleTest, ReadsTheUnitsTextAsWholeMillimetres)
{
    struct Case {
        const char* text;
        int16_t unit;
        bool paperSize;
        int16_t millimetres;
    };
    const Case cases[] = {
        {"8.268", kUnitInch, true, 210},
        {"595.28", kUnitPixel, true, 210},
        {"210", kUnitMillimetre, true, 210},
        {"0.591", kUnitInch, false, 15},
        {"42.52", kUnitPixel, false, 15},
        {"", kUnitMillimetre, true, 3000},    // an empty paper size is the longest paper
        {"0", kUnitInch, true, 3000},
        {"", kUnitMillimetre, false, 0},      // an empty margin is 0
        {"abc", kUnitPixel, false, 0},
        {"12.5", kUnitMillimetre, false, 13},
        {"-12.5", kUnitMillimetre, false, -12},
        {"118.110", kUnitInch, false, 3000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryLength(c.text, c.unit, c.paperSize), c.millimetres)
            << '"' << c.text << "\" in unit " << c.unit;
}

TEST(EntryRuleTest, TakesAtMost79CharactersOfAnEdit)
{
    std::string text = std::string(78, ' ') + "12";  // the second digit is the 80th character
    EXPECT_EQ(EntryLength(text, kUnitMillimetre, false), 1);
    EXPECT_EQ(EntryText(std::string(100, 'x')).size(), 79u);
    // characters, not bytes: 79 three-byte characters stay whole
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "ｍ";
    EXPECT_EQ(EntryText(wide).size(), 79u * 3);
}

TEST(EntryRuleTest, ShowingAndReadingBackGivesTheMillimetres)
{
    for (int16_t unit : {kUnitInch, kUnitMillimetre, kUnitPixel})
        for (int32_t mm : {1, 5, 15, 210, 297, 420, 841, 1190, 3000})
            EXPECT_EQ(EntryLength(DisplayLength(mm, unit), unit, true), mm) << mm << " in unit " << unit;
}

TEST(DisplayUnitTest, AStoredUnitOutside0To2IsMillimetres)
{
    struct Case {
        int16_t stored;
        int16_t unit;
    };
    for (Case c : {Case{0, kUnitInch}, Case{1, kUnitMillimetre}, Case{2, kUnitPixel}, Case{3, kUnitMillimetre},
             Case{-1, kUnitMillimetre}, Case{32767, kUnitMillimetre}}) {
        gPaperList.wUnit = c.stored;
        EXPECT_EQ(StoredDisplayUnit(), c.unit) << c.stored;
    }
}

} // namespace
