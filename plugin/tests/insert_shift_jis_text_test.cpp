// Shift-JIS text inserted into a real host text range as UTF-16.
#include "plugin/hpgl/text_encodings.h"

#include "plugin/entry/plugin_globals.h"
#include "tests/support/plugin_on_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(InsertShiftJisText, TextArrivesAsUtf16AtTheRangesEnd)
{
    onhost::BindTextSuites();
    auto doc = onhost::LoadDrawing(
        "insert", onhost::Drawing("<g id=\"l\"><text id=\"t\" x=\"0\" y=\"50\">ab</text></g>"));
    AIArtHandle art = onhost::FindArtHandle(*doc, "t");
    struct Case {
        const char* name;
        const char* sjis;
        std::string utf8After;  // the whole text afterwards
    } cases[] = {
        {"empty appends nothing", "", "ab"},
        {"kanji and half-width katakana", "\x88\x9F\xB1", "ab\xE4\xBA\x9C\xEF\xBD\xB1"},
        {"CR LF kept", "\r\n=", "ab\xE4\xBA\x9C\xEF\xBD\xB1\r\n="},
    };
    const int held = host::LiveEngineObjects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ATE::TextRangeRef range = nullptr;
        ASSERT_EQ(sAITextFrame->GetATETextRange(art, &range), kNoErr);
        {
            ATE::ITextRange whole(range);
            InsertShiftJisText(whole, c.sjis);
        }
        EXPECT_EQ(host::TextContent(host::FromHandle(art)), c.utf8After);
    }
    EXPECT_EQ(host::LiveEngineObjects(), held);
    host::TheSession().document = nullptr;
}

}  // namespace
