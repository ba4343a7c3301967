// String resources in the code page the caller asks for, and the message beep.
#include "platform/ui/ui_resources.h"

#include "platform/code_pages.h"
#include "platform/ui/dialog_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const ResourceString kStrings[] = {
    {16203, "水性ボールペン"},
    {16503, "Water Ball Pen"},
    {16101, "inch"},
    {16000, ""},
};
const ResourceBitmap kBitmaps[] = {{16071, ":/missing/banner.png"}};
const ResourceTable kTable{kStrings, 4, kBitmaps, 1};

struct LoadCase {
    const char* name;
    int id;
    int room;
    uint32_t codePage;
    std::string expected;
};

TEST(UiResources, StringsComeInTheAskedCodePageCutOnCharacters)
{
    const std::string sjis = "\x90\x85\x90\xAB\x83\x7B\x81\x5B\x83\x8B\x83\x79\x83\x93";
    const LoadCase cases[] = {
        {"shift-jis whole", 16203, 64, kCodePageShiftJis, sjis},
        {"shift-jis exact room", 16203, 15, kCodePageShiftJis, sjis},
        {"shift-jis cut before a split character", 16203, 6, kCodePageShiftJis, sjis.substr(0, 4)},
        {"shift-jis one byte short", 16203, 14, kCodePageShiftJis, sjis.substr(0, 12)},
        {"utf-8 whole", 16203, 64, kCodePageUtf8, "水性ボールペン"},
        {"utf-8 cut on a character", 16203, 5, kCodePageUtf8, "水"},
        {"ascii cut", 16503, 6, kCodePageShiftJis, "Water"},
        {"missing id", 16999, 64, kCodePageShiftJis, ""},
        {"empty text", 16000, 64, kCodePageShiftJis, ""},
        {"room for the terminator only", 16101, 1, kCodePageShiftJis, ""},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        char out[64];
        std::fill(std::begin(out), std::end(out), 'X');
        int n = LoadResourceString(&kTable, c.id, out, c.room, c.codePage);
        EXPECT_EQ(n, static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(out), c.expected);
        EXPECT_EQ(out[c.room < 64 ? c.room : 63], c.room < 64 ? 'X' : out[63]);
    }
    EXPECT_EQ(LoadResourceString(nullptr, 16203, nullptr, 0, kCodePageShiftJis), 0);
}

TEST(UiResources, TablesAreSearchedById)
{
    std::string text;
    EXPECT_TRUE(FindResourceString(&kTable, 16503, &text));
    EXPECT_EQ(text, "Water Ball Pen");
    EXPECT_FALSE(FindResourceString(&kTable, 1, &text));
    EXPECT_STREQ(FindResourceBitmap(&kTable, 16071), ":/missing/banner.png");
    EXPECT_EQ(FindResourceBitmap(&kTable, 16072), nullptr);
    EXPECT_FALSE(SetDialogItemResourceBitmap(nullptr, 3, &kTable, 16071));
}

TEST(UiResources, BeepsAreCounted)
{
    ASSERT_TRUE(EnsureQtApplication());
    int before = MessageBeepCount();
    RingMessageBeep();
    RingMessageBeep();
    EXPECT_EQ(MessageBeepCount(), before + 2);
}

} // namespace
