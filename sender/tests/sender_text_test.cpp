// The sender's text utilities: hexadecimal lines, fields, bounded length and comparison.
#include "sender/sender_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encoded(const std::vector<unsigned char>& bytes)
{
    std::string text(2 * bytes.size() + 1, '#');
    EncodeHex(bytes.data(), static_cast<int>(bytes.size()), text.data());
    EXPECT_EQ(text.back(), '\0');
    text.pop_back();
    return text;
}

TEST(EncodeHex, TwoUpperCaseDigitsPerByteHighHalfFirst)
{
    struct Case {
        std::vector<unsigned char> bytes;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{0x0A, 0xFF}, "0AFF"},
        {{0x00, 0x1B, 0x2E, 0x28}, "001B2E28"},
        {{'P', 'U', ';'}, "50553B"},
        {{0xA5, 0x5A, 0x10, 0x01}, "A55A1001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Encoded(c.bytes), c.text);
    }
}

TEST(DecodeHex, EveryByteComesBackFromItsDigits)
{
    std::vector<unsigned char> all(256);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<unsigned char>(b);
    std::string text = Encoded(all);
    std::vector<unsigned char> back(257, 0x77);
    int count = -1;
    DecodeHex(text.c_str(), back.data(), &count);
    ASSERT_EQ(count, 256);
    EXPECT_EQ(std::vector<unsigned char>(back.begin(), back.begin() + 256), all);
    EXPECT_EQ(back[256], 0);
}

TEST(DecodeHex, LowerCaseDigitsReadAsUpperAndBadPairsStopTheDecoding)
{
    struct Case {
        const char* text;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"0aff", {0x0A, 0xFF}},
        {"aBcD", {0xAB, 0xCD}},
        {"", {}},
        {"0AF", {0x0A}},      // a lone last digit is not paired with the terminator
        {"0AG1FF", {0x0A}},   // not a digit
        {"0A FF", {0x0A}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        unsigned char out[8];
        std::fill(std::begin(out), std::end(out), 0x77);
        int count = -1;
        DecodeHex(c.text, out, &count);
        ASSERT_EQ(count, static_cast<int>(c.bytes.size()));
        EXPECT_EQ(std::vector<unsigned char>(out, out + count), c.bytes);
        EXPECT_EQ(out[count], 0);
    }
}

TEST(NextField, FieldsAreCutAtTheDelimiterTheEndOrEightyCharacters)
{
    const std::string eighty(80, 'x');
    struct Case {
        const char* name;
        std::string text;
        char delimiter;
        std::vector<std::string> fields;   // in order, until the position rests on the end
    } cases[] = {
        {"host string", "ftp.example:lp:user:pass:P", ':', {"ftp.example", "lp", "user", "pass", "P"}},
        {"empty fields", "a::b:", ':', {"a", "", "b"}},
        {"no delimiter", "127.0.0.1", ':', {"127.0.0.1"}},
        {"exactly eighty, then the delimiter", eighty + ":next", ':', {eighty, "next"}},
        {"longer than eighty: nothing is lost", eighty + "yz:w", ':', {eighty, "yz", "w"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int position = 0;
        std::vector<std::string> fields;
        for (int guard = 0; guard < 10 && c.text[position] != '\0'; ++guard) {
            char field[kFieldLimit + 1];
            int length = NextField(c.delimiter, c.text.c_str(), &position, field);
            EXPECT_EQ(length, static_cast<int>(std::string(field).size()));
            fields.emplace_back(field);
        }
        EXPECT_EQ(fields, c.fields);
    }

    int position = 3;
    char field[kFieldLimit + 1];
    EXPECT_EQ(NextField(':', "abc", &position, field), 0);   // at the end: an empty field, no move
    EXPECT_EQ(position, 3);
    EXPECT_STREQ(field, "");
}

TEST(StringLength, CountsUpToTheTerminatorAndAtMost32000)
{
    std::string huge(40000, 'a');
    EXPECT_EQ(StringLength(nullptr), 0);
    EXPECT_EQ(StringLength(""), 0);
    EXPECT_EQ(StringLength("0AFF\r\n"), 6);
    EXPECT_EQ(StringLength(huge.c_str()), 32000);
}

TEST(CompareStringsBounded, TheFirstDifferingSignedByteOrTheLongerStringDecides)
{
    std::string longA(32000, 'a');
    struct Case {
        std::string a;
        std::string b;
        int result;
    } cases[] = {
        {"abc", "abc", 0},
        {"abc", "abd", -1},
        {"abd", "abc", 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"", "a", -1},
        {"\x80", "a", -1},   // 0x80 is -128 as a signed byte
        {"a", "\xff", 1},
        {longA + "x", longA + "y", 0},   // nothing after the first 32000 characters counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a.substr(0, 8) + " / " + c.b.substr(0, 8));
        EXPECT_EQ(CompareStringsBounded(c.a.c_str(), c.b.c_str()), c.result);
    }
    EXPECT_EQ(CompareStringsBounded(nullptr, ""), 0);
    DoNothing();
}

} // namespace
