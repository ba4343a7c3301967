// The eight-bit texts of the settings file (code page 932) as the dialogs' UTF-8 and back,
// and the string table the pages fill their lists from.
#include "config/config_resources.h"
#include "config/config_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ConfigTextTest, PaperNamesReadAsUtf8)
{
    struct Case {
        const char* cp932;
        const char* utf8;
    };
    const Case cases[] = {
        {"A1(\x89\xA1)", "A1(横)"},
        {"Roll(950)", "Roll(950)"},
        {"", ""},
        {"\x83\x4A\x83\x58\x83\x5E\x83\x80", "カスタム"},
        {"\xB6\xBD\xC0\xD1", "ｶｽﾀﾑ"},      // half-width katakana are one byte each
        {"A\x81", "A?"},                     // a lead byte at the end is no character
        {"\xFF" "B", "?B"},
        {"\x81\x20Z", "? Z"},                // a lead byte before a byte that ends no pair
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(nullptr), "");
}

TEST(ConfigTextTest, DialogTextGoesIntoTheFileAsCodePage932)
{
    struct Case {
        const char* utf8;
        size_t room;
        const char* cp932;
        bool exact;
    };
    const Case cases[] = {
        {"A3(横)", 64, "A3(\x89\xA1)", true},
        {"ｶｽﾀﾑ", 64, "\xB6\xBD\xC0\xD1", true},
        {"", 64, "", true},
        {"横横横", 6, "\x89\xA1\x89\xA1", false},   // the third would need the terminator's byte
        {"abcdef", 4, "abc", false},
        {"A😀B", 64, "A?B", false},                 // no such character in code page 932
        {"Ω", 64, "\x83\xB6", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        char out[64];
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(Utf8ToCp932(c.utf8, out, c.room), c.exact);
        EXPECT_STREQ(out, c.cp932);
        for (size_t i = std::strlen(c.cp932); i < c.room; ++i)
            EXPECT_EQ(out[i], '\0') << i;   // the rest of the field is cleared
    }
}

TEST(ConfigResourcesTest, EveryStringGroupHoldsItsTexts)
{
    struct Group {
        int first;
        int count;
        const char* firstText;
        const char* lastText;
    };
    const Group groups[] = {
        {kUnitStrings, 3, "inch", "pixel"},
        {kToolTypeStrings, 12, "ノック式ペンシル", "未使用"},
        {kPortStrings, 11, "COM1", "TCP/IP(TRAVEX-Pro Server)"},
        {kBaudStrings, 9, "300 bps", "57600 bps"},
        {kDataBitsStrings, 2, "7 ビット", "8 ビット"},
        {kStopBitsStrings, 3, "1.0 ビット", "2.0 ビット"},
        {kParityStrings, 3, "なし", "偶数"},
        {kFlowControlStrings, 3, "なし", "CTS/DTR(ハード)"},
        {kColourStrings, 9, "ブラック", "なし"},
        {kKanjiModeStrings, 3, "無し", "GRAPHTEC(CA101 + JIS)"},
        {kPaperOriginStrings, 2, "用紙中央", "用紙左下"},
        {kToolNumberStrings, 10, "1", "10"},
        {kScaleStrings, 12, "1000%", "10%"},
        {kOutlineStrings, 8, "6 pt", "未使用"},
    };
    for (const Group& g : groups) {
        SCOPED_TRACE(g.first);
        EXPECT_EQ(ConfigString(g.first), g.firstText);
        EXPECT_EQ(ConfigString(g.first + g.count - 1), g.lastText);
        for (int i = 0; i < g.count; ++i)
            EXPECT_FALSE(ConfigString(g.first + i).empty()) << g.first + i;
        EXPECT_EQ(ConfigString(g.first + g.count), "");
    }
    EXPECT_EQ(ConfigString(kScaleStrings + 9), "33.33%");
    EXPECT_EQ(ConfigString(kToolTypeStrings + 7), "針 (CF-70)");
}

} // namespace
