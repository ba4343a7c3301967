// Host strings made from eight-bit text: code page 932 decoding, what the terminal shows
// of bytes that are no characters, and the count of strings a plug-in has not disposed.
#include "host/suites/host_strings.h"

#include <gtest/gtest.h>

namespace {

TEST(HostStringsTest, EightBitTextDecodesAsCodePage932)
{
    struct Case {
        const char* bytes;
        const char* utf8;        // what the terminal shows
        std::u16string utf16;
    };
    const Case cases[] = {
        {"Output Plotter", "Output Plotter", u"Output Plotter"},
        {"\x83\x76\x83\x8D\x83\x62\x83\x5E", "プロッタ", u"プロッタ"},
        {"\xB1\xB2", "ｱｲ", u"ｱｲ"},                                  // half-width katakana
        {"\xFF\xFF\xFF\x94", "\\xFF\\xFF\\xFF\\x94", u"\uFFFD\uFFFD\uFFFD\uFFFD"},   // no characters
        {"A\x94", "A\\x94", u"A\uFFFD"},                              // lead byte without trail
        {"\x94\x41", "\xE5\xB0\xBF", u"\u5C3F"},                      // lead byte with an ASCII trail
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(host::EightBitToPrintable(c.bytes), c.utf8);
        EXPECT_EQ(host::DecodeEightBit(c.bytes), c.utf16);
    }
}

TEST(HostStringsTest, StringsKeepTheirBytesAndAreCountedUntilDisposed)
{
    const AIUnicodeStringSuite* suite = host::HostUnicodeStringSuite();
    int64_t before = host::HostStringsHeld();
    AIUnicodeStringRef alert = nullptr;
    ASSERT_EQ(suite->MakeFromEightBit("Error=ffffff94, \xFF\xFF\xFF\x94", kAIPlatformCharacterEncoding, &alert), kNoErr);
    AIUnicodeStringRef wide = nullptr;
    ASSERT_EQ(suite->MakeFromUtf16(u"ツール", -1, &wide), kNoErr);
    EXPECT_EQ(host::HostStringsHeld(), before + 2);

    const host::HostString* kept = host::FindHostString(alert);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(host::RecordedBytes(*kept), "Error=ffffff94, \xFF\xFF\xFF\x94");
    EXPECT_EQ(host::RecordedBytes(*host::FindHostString(wide)), "ツール");

    // a cut never splits a character: "ツ" is three bytes
    char room[5];
    ASSERT_EQ(suite->GetUtf8(wide, room, sizeof room), kNoErr);
    EXPECT_STREQ(room, "ツ");

    EXPECT_EQ(suite->Dispose(alert), kNoErr);
    EXPECT_EQ(suite->Dispose(alert), kBadParameterErr);
    EXPECT_EQ(host::FindHostString(alert), nullptr);
    EXPECT_EQ(suite->Dispose(wide), kNoErr);
    EXPECT_EQ(host::HostStringsHeld(), before);
}

TEST(HostStringsTest, OnlyTheSystemsEncodingCodesAreTaken)
{
    const AIUnicodeStringSuite* suite = host::HostUnicodeStringSuite();
    for (int32_t encoding : {0, 17}) {
        AIUnicodeStringRef string = nullptr;
        EXPECT_EQ(suite->MakeFromEightBit("\x83\x63\x81\x5B\x83\x8B", encoding, &string), kNoErr);
        EXPECT_EQ(host::FindHostString(string)->utf16, u"ツール");
        suite->Dispose(string);
    }
    AIUnicodeStringRef string = nullptr;
    EXPECT_EQ(suite->MakeFromEightBit("x", 3, &string), kBadParameterErr);
    EXPECT_EQ(suite->MakeFromEightBit(nullptr, 0, &string), kBadParameterErr);
}

}  // namespace
