#include "plugin/hpgl/text_encodings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct KutenCase {
    uint16_t sjis;
    uint16_t jis;
    uint16_t kuten;
};

const KutenCase kKutenCases[] = {
    {0x889F, 0x3021, 1601},  // first kanji
    {0x8140, 0x2121, 101},   // ideographic space, first cell of the set
    {0x9FFC, 0x5E7E, 6294},  // last cell of the lower lead range, trail above 0x9E
    {0x8180, 0x2160, 164},   // trail 0x80 lies above the gap at 0x7F
    {0x817E, 0x215F, 163},   // trail just below the gap
    {0x829F, 0x2421, 401},   // hiragana, trail 0x9F moves to the even row
    {0xE040, 0x5F21, 6301},  // first lead of the upper range
    {0xF040, 0x7F21, 9501},  // user area: row above 0x7E, not refused
};

TEST(ShiftJisArithmetic, JisAndKutenOfTable)
{
    for (const KutenCase& c : kKutenCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.sjis);
        EXPECT_EQ(ConvertShiftJisToJis(c.sjis), c.jis);
        EXPECT_EQ(ConvertJisToKuten(c.jis), c.kuten);
        EXPECT_EQ(ConvertShiftJisToKuten(c.sjis), c.kuten);
    }
}

struct Utf8Case {
    const char* name;
    const char* input;
    int32_t room;
    std::string expected;
};

// The output buffer is one byte longer than the room; that byte must stay untouched.
std::string ConvertIntoRoom(void (*convert)(const char*, char*, int32_t), const char* input,
                            int32_t room, bool* overran)
{
    std::vector<char> out(room + 1, '#');
    convert(input, out.data(), room);
    *overran = out[room] != '#';
    return std::string(out.data());
}

TEST(EightBitToUtf8, ShiftJisStrings)
{
    const Utf8Case cases[] = {
        {"empty", "", 8, ""},
        {"ascii", "Pen 1", 16, "Pen 1"},
        {"kanji", "\x88\x9F", 4, "\xE4\xBA\x9C"},
        {"mixed", "A\x82\xA0Z", 16, "A\xE3\x81\x82Z"},
        {"katakana exact room", "\xB1\xB2\xB3", 10, "\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"},
        {"katakana without terminator room", "\xB1\xB2\xB3", 9, ""},
        {"kanji one short", "\x88\x9F", 3, ""},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool overran = false;
        EXPECT_EQ(ConvertIntoRoom(ConvertShiftJisToUtf8, c.input, c.room, &overran), c.expected);
        EXPECT_FALSE(overran);
    }
}

TEST(EightBitToUtf8, KoreanStrings)
{
    const Utf8Case cases[] = {
        {"empty", "", 4, ""},
        {"hangul", "\xB0\xA1", 4, "\xEA\xB0\x80"},
        {"hangul and ascii", "A\xC7\xD1", 8, "A\xED\x95\x9C"},
        {"too small", "\xB0\xA1", 3, ""},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool overran = false;
        EXPECT_EQ(ConvertIntoRoom(ConvertKoreanToUtf8, c.input, c.room, &overran), c.expected);
        EXPECT_FALSE(overran);
    }
}

TEST(EightBitToUtf8, NullInputGivesEmptyString)
{
    char out[4] = {'x', 'x', 'x', 'x'};
    ConvertShiftJisToUtf8(nullptr, out, 4);
    EXPECT_EQ(out[0], 0);
}

struct Utf16Case {
    const char* name;
    std::string input;  // the terminator is appended; bytes after an embedded zero follow it
    int32_t capacity;
    std::u16string expected;
};

TEST(Utf8ToUtf16, DecodesWithRoomRules)
{
    const Utf16Case cases[] = {
        {"ascii fits", "abc", 10, u"abc"},
        {"room for two and terminator", "abc", 3, u"ab"},
        {"two-byte", "\xC3\xA9", 4, u"\u00E9"},
        {"three-byte", "\xE4\xBA\x9C", 4, u"\u4E9C"},
        {"four-byte pair", "\xF0\x9F\x98\x80", 4, u"\xD83D\xDE00"},
        {"pair fills capacity 3", "\xF0\x9F\x98\x80", 3, u"\xD83D\xDE00"},
        {"pair needs 3", "\xF0\x9F\x98\x80", 2, u""},
        {"pair after a unit needs 4", "a\xF0\x9F\x98\x80", 3, u"a"},
        {"last plane", "\xF4\x8F\xBF\xBF", 3, u"\xDBFF\xDFFF"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 4, u"\uFFFD"},
        {"five-byte lead skips four", "\xF8\x88\x80\x80\x80" "A", 4, u"\uFFFDA"},
        {"six-byte lead skips five", "\xFC\x84\x80\x80\x80\x80" "A", 4, u"\uFFFDA"},
        {"replacement needs room 2", "\xF4\x90\x80\x80", 1, u""},
        {"stray continuation bytes", "\x80\xBF", 4, u"\u0080\u00BF"},
        {"encoded surrogate passes", "\xED\xA0\x80", 4, std::u16string(1, char16_t(0xD800))},
        {"overlong zero", std::string("\xC0\x80") + "A", 4, std::u16string(u"\0A", 2)},
        {"capacity 1", "abc", 1, u""},
        {"cut at terminator", std::string("a\xE3\x81\0\x82\x82", 6), 8, u"a\uFFFD"},
    };
    for (const Utf16Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string input = c.input;
        std::vector<char16_t> out(c.capacity + 1, u'#');
        const int32_t count = ConvertUtf8ToUtf16(input.c_str(), out.data(), c.capacity);
        ASSERT_EQ(count, static_cast<int32_t>(c.expected.size()));
        EXPECT_EQ(std::u16string(out.data(), count), c.expected);
        EXPECT_EQ(out[count], 0);
        EXPECT_EQ(out[c.capacity], u'#') << "wrote past the capacity";
    }
}

TEST(Utf8ToUtf16, NullInputClearsOutput)
{
    char16_t out[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(ConvertUtf8ToUtf16(nullptr, out, 3), 0);
    EXPECT_EQ(out[0], 0);
}

TEST(Utf8ToUtf16, NoCapacityWritesNothing)
{
    char16_t out[1] = {u'x'};
    EXPECT_EQ(ConvertUtf8ToUtf16("a", out, 0), 0);
    EXPECT_EQ(out[0], u'x');
}

TEST(WideAppend, AppendsAfterTerminator)
{
    char16_t dst[16] = u"ab";
    EXPECT_EQ(AppendWideString(dst, u"cde"), 5);
    EXPECT_EQ(std::u16string(dst), u"abcde");
    EXPECT_EQ(AppendWideString(dst, u""), 5);
    char16_t empty[4] = {0, u'z', u'z', u'z'};
    EXPECT_EQ(AppendWideString(empty, u"q"), 1);
    EXPECT_EQ(empty[1], 0);
}

TEST(ShiftJisAsUtf16, AppendsConvertedText)
{
    struct Case {
        const char* name;
        const char* sjis;
        std::u16string expected;
    } cases[] = {
        {"empty appends nothing", "", u"X"},
        {"ascii and kanji", "A\x88\x9F", u"XA\u4E9C"},
        {"half-width katakana", "\xB1\xDF", u"X\uFF71\uFF9F"},
        {"hiragana", "\x82\xA0\x82\xA2", u"X\u3042\u3044"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char16_t dst[32] = u"X";
        AppendShiftJisAsUtf16(dst, c.sjis);
        EXPECT_EQ(std::u16string(dst), c.expected);
    }
}

}  // namespace
