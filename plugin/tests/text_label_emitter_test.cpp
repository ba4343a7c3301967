// Text frames as HP-GL labels over the real host's text engine. Expected streams are worked
// out by hand: IPAGothic has a body of exactly one em, full-width characters advance one em
// and half-width ones half an em; at 40 units per millimetre a point is 25.4 / 72 x 40
// units, and the axis turn writes (v, -h).
#include "plugin/hpgl/text_label_emitter.h"

#include "sdk/ate_classes.h"
#include "plugin/hpgl/pen_writer.h"
#include "plugin/entry/plugin_globals.h"
#include "tests/support/plugin_on_host.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using onhost::Drawing;

// A text of IPAGothic at 12 points whose anchor is artwork (72, 144).
std::string Text(const std::string& content, const std::string& extra = "")
{
    return "<g id=\"l\"><text id=\"t\" x=\"72\" y=\"56\" xml:space=\"preserve\" " + extra +
           " style=\"font-family:IPAGothic;font-size:12px\">" + content + "</text></g>";
}

class LabelEmitter : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        onhost::BindTextSuites();
        OpenPlotDataFile();
        g->conversion.wUnitsPerMm = 40;
        g->conversion.wKanjiMode = 2;
        g->conversion.plotFrame = {0, 0, 100, 100};  // far smaller than the labels: none are clipped
        g->pPlotSettings = &settings_;
        ResetPenWriterPage();
    }
    std::string Emit(const std::string& body, int mode)
    {
        PluginOnHost::Load(Drawing(body), "labels");
        g->conversion.wKanjiMode = static_cast<int16_t>(mode);
        OpenPlotDataFile();
        EXPECT_EQ(EmitTextFrame(Handle("t")), 0);
        return Written();
    }
};

const char* const kPlaced = "PU2032,-1016;";
const char* const kDoubleSize = "SI0.381,0.381;ES-0.233,-0.233;";
const char* const kSingleSize = "SI0.1524,0.3048;ES-0.053,-0.053;";

struct ModeCase {
    const char* name;
    const char* content;
    int mode;
    std::string expected;
};

TEST_F(LabelEmitter, CharactersInEachKanjiMode)
{
    const std::vector<ModeCase> cases = {
        // 亜 is Shift-JIS 0x889F, JIS 0x3021, kuten 1601.
        {"double-byte, mode 2", "&#x4E9C;", 2,
         std::string("CS6;CA101;LO1;DI0,-1000;") + kPlaced + kDoubleSize + "LB\x0E\x30\x21\x0F\x03"},
        {"double-byte, mode 1", "&#x4E9C;", 1, std::string("LO1;DI0,-1000;") + kPlaced + kDoubleSize + "JK1601;"},
        {"double-byte, mode 0", "&#x4E9C;", 0, std::string("LO1;DI0,-1000;") + kPlaced + kDoubleSize},
        {"unknown mode acts as 0", "&#x4E9C;", 5, std::string("LO1;DI0,-1000;") + kPlaced + kDoubleSize},
        // A, a space (half an em, nothing written) and the half-width katakana 0xB1 one em on.
        {"single-byte, mode 2", "A &#xFF71;", 2,
         std::string("CS6;CA101;LO1;DI0,-1000;") + kPlaced + kSingleSize + "CS6;LB\x41\x03" + "PU2032,-1185;" +
             kSingleSize + "CS8;LB\x31\x03"},
        {"single-byte, mode 1", "A &#xFF71;", 1,
         std::string("LO1;DI0,-1000;") + kPlaced + kSingleSize + "LB\x41\x03" + "PU2032,-1185;" + kSingleSize +
             "LB\xB1\x03"},
        {"empty frame", "", 2, ""},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        g->emitter.ptLastPen = {5, 5};
        EXPECT_EQ(Emit(Text(c.content), c.mode), c.expected);
        if (!c.expected.empty()) {
            EXPECT_EQ(g->emitter.ptLastPen.x, -200000);
            EXPECT_EQ(g->emitter.ptLastPen.y, -200000);
        }
    }
}

TEST_F(LabelEmitter, DirectionPairs)
{
    struct Case {
        const char* name;
        const char* transform;
        int16_t rotate;
        const char* expected;
    } cases[] = {
        {"horizontal", "", 0, "LO1;DI0,-1000;PU"},
        {"horizontal on a turned page", "", 1, "LO1;DI1000,0;PU"},
        // SVG's rotate(90) gives the engine matrix b = 1.
        {"turned a quarter", "transform=\"rotate(90 72 56)\"", 0, "LO1;DI-1000,0;PU"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->fRotate = c.rotate;
        g->conversion.rPageBounds = {0, 200, 400, 0};
        g->conversion.iPageHeightPt = 200;
        std::string out = Emit(Text("A", c.transform), 1);
        EXPECT_EQ(out.substr(0, std::string(c.expected).size()), c.expected);
    }
}

TEST_F(LabelEmitter, ArtThatIsNoTextRaisesTheEnginesException)
{
    doc_ = onhost::LoadDrawing("labels", Drawing("<g id=\"l\"><path id=\"t\" d=\"M 0 0 L 5 5\"/></g>"));
    try {
        EmitTextFrame(onhost::FindArtHandle(*doc_, "t"));
        ADD_FAILURE() << "no exception";
    } catch (const ATE::Exception& e) {
        EXPECT_EQ(e.error, kBadParameterErr);
    }
}

TEST_F(LabelEmitter, KoreanLanguageMeasuresThroughCodePage949)
{
    // Only the measuring follows the language; the labels still read the bytes as Shift-JIS.
    g->iLanguage = 2;
    EXPECT_EQ(Emit(Text("A"), 1), std::string("LO1;DI0,-1000;") + kPlaced + kSingleSize + "LB\x41\x03");
    std::string out = Emit(Text("&#x4E9C;"), 1);
    EXPECT_EQ(out.substr(0, 27), std::string("LO1;DI0,-1000;") + kPlaced);
    EXPECT_EQ(out.substr(out.size() - 7), "JK1601;");
}

TEST_F(LabelEmitter, PageScaleDoublesSizesAndFollowsTheTransform)
{
    g->conversion.dScaleX = 2;
    g->conversion.dScaleY = 2;
    EXPECT_EQ(Emit(Text("&#x4E9C;"), 1), "LO1;DI0,-1000;PU4064,-2032;SI0.762,0.762;ES-0.233,-0.233;JK1601;");
}

TEST_F(LabelEmitter, TwelvePointAdvancesOfBothWidths)
{
    // 24-point A: an advance of 12 points in a single-byte cell.
    std::string body = "<g id=\"l\"><text id=\"t\" x=\"72\" y=\"56\" style=\"font-family:IPAGothic;font-size:24px\">"
                       "A</text></g>";
    EXPECT_EQ(Emit(body, 1), "LO1;DI0,-1000;PU2032,-1016;SI0.3048,0.6096;ES-0.053,-0.053;LB\x41\x03");
}

TEST_F(LabelEmitter, LabelsOutsideThePageAreNotClipped)
{
    std::string body = "<g id=\"l\"><text id=\"t\" x=\"-100\" y=\"56\" style=\"font-family:IPAGothic;font-size:12px\">"
                       "A</text></g>";
    EXPECT_EQ(Emit(body, 1), std::string("LO1;DI0,-1000;PU2032,1410;") + kSingleSize + "LB\x41\x03");
}

TEST_F(LabelEmitter, LineWithoutRunsWritesOnlyItsDirection)
{
    doc_ = onhost::LoadDrawing("labels", Drawing(Text("A")));
    host::Art* art = host::FromHandle(onhost::FindArtHandle(*doc_, "t"));
    art->text.runs[0].text = "\rA";  // an empty first line
    g->conversion.wKanjiMode = 2;
    ASSERT_EQ(EmitTextFrame(host::ToHandle(art)), 0);
    std::fflush(file_);
    std::rewind(file_);
    char buffer[256] = {};
    size_t n = std::fread(buffer, 1, sizeof buffer - 1, file_);
    std::string out(buffer, n);
    const std::string twoLines = "CS6;CA101;LO1;DI0,-1000;CS6;CA101;LO1;DI0,-1000;PU";
    EXPECT_EQ(out.substr(0, twoLines.size()), twoLines);
    EXPECT_NE(out.find("CS6;LB\x41\x03"), std::string::npos);
}

// Text on a path: the characters that do not fit stay in the line as a run without origins.
std::string OnPath(const char* d, const char* text)
{
    return std::string("<g id=\"l\"><path id=\"p\" d=\"") + d +
           "\"/><text id=\"t\" style=\"font-family:IPAGothic;font-size:12px\"><textPath xlink:href=\"#p\">" + text +
           "</textPath></text></g>";
}

TEST_F(LabelEmitter, RunsWithoutOriginsAtTheStartOfALineWriteNothing)
{
    // 2 points of path: not even the first character fits.
    EXPECT_EQ(Emit(OnPath("M 10 180 L 12 180", "AB"), 2), "CS6;CA101;LO1;DI0,-1000;");
}

TEST_F(LabelEmitter, LaterRunsAdvanceFromTheLinesPosition)
{
    // 30 points of path at artwork v 20 from h 10: A to E fit (midpoints 3 to 27), F to H
    // follow as a run without origins and are placed by advancing 6 points each.
    std::string expected = "LO1;DI0,-1000;";
    const char* letters = "ABCDEFGH";
    const int ys[] = {141, 226, 310, 395, 480, 564, 649, 734};
    for (int i = 0; i < 8; ++i)
        expected += "PU282,-" + std::to_string(ys[i]) + ";" + kSingleSize + "LB" + letters[i] + "\x03";
    EXPECT_EQ(Emit(OnPath("M 10 180 L 40 180", "ABCDEFGH"), 1), expected);
}

TEST_F(LabelEmitter, DebugTraceMarksCrossAtTheLabel)
{
    doc_ = onhost::LoadDrawing("labels", Drawing(Text("A")));
    AIArtHandle group = nullptr;
    ASSERT_EQ(sAIArt->NewArt(kArtTypeGroup, kPlaceInsideOnTop, nullptr, &group), kNoErr);
    g->hPlotGroup = group;
    settings_.fDebugMode = 1;
    char command[256];
    EmitLabelOrigin({72, 144}, command);
    EXPECT_STREQ(command, "PU2032,-1016;");
    host::Art* marks = host::FromHandle(group);
    ASSERT_EQ(marks->children.size(), 2u);
    // The first mark made is now the lower child: (77, 149) to (67, 139).
    const auto& first = marks->children[1]->segments;
    const auto& second = marks->children[0]->segments;
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NEAR(first[0].ptAnchor.h, 77, 1e-9);
    EXPECT_NEAR(first[0].ptAnchor.v, 149, 1e-9);
    EXPECT_NEAR(first[1].ptAnchor.h, 67, 1e-9);
    EXPECT_NEAR(first[1].ptAnchor.v, 139, 1e-9);
    EXPECT_NEAR(second[0].ptAnchor.h, 67, 1e-9);
    EXPECT_NEAR(second[0].ptAnchor.v, 149, 1e-9);
    EXPECT_NEAR(second[1].ptAnchor.h, 77, 1e-9);
    EXPECT_NEAR(second[1].ptIn.v, 139, 1e-9);
    EXPECT_TRUE(first[0].fCorner);
    g->hPlotGroup = nullptr;
}

TEST_F(LabelEmitter, StringWidths)
{
    doc_ = onhost::LoadDrawing("labels", Drawing(Text("A")));
    ATE::TextRangeRef rangeRef = nullptr;
    ASSERT_EQ(sAITextFrame->GetATETextRange(onhost::FindArtHandle(*doc_, "t"), &rangeRef), kNoErr);
    ATE::ITextRange range(rangeRef);
    ATE::IFont font = range.GetCharFeatures().GetFont();
    AIFontKey key = nullptr;
    ASSERT_EQ(sAIFont->FontKeyFromFont(font.GetRef(), &key), kNoErr);
    struct Case {
        const char* text;
        double width;
    } cases[] = {
        {"AB", 1.0},
        {"\x88\x9F" "A", 1.5},
        {"", 0},
        {"\xB1\xB2", 1.0},  // half-width katakana: 3n UTF-8 bytes and the terminator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(MeasureStringWidth(key, c.text), c.width);
    }
}

// What a plotter accepts: two-letter commands ending in ";" (the label's text ends in ETX),
// JK with ku and ten in 1..94, shift-out text of JIS bytes 0x21..0x7E in pairs, character
// sets 6 and 8, and label characters that are printable in their set.
::testing::AssertionResult AcceptedByPlotter(const std::string& s)
{
    size_t i = 0;
    int set = 6;
    bool alternate = false;
    while (i < s.size()) {
        if (i + 2 > s.size()) return ::testing::AssertionFailure() << "cut command at " << i;
        std::string cmd = s.substr(i, 2);
        i += 2;
        if (cmd == "LB") {
            bool shifted = false;
            int pair = 0;
            for (;; ++i) {
                if (i >= s.size()) return ::testing::AssertionFailure() << "label without ETX";
                unsigned char c = static_cast<unsigned char>(s[i]);
                if (c == 0x03) break;
                if (c == 0x0E) {
                    if (!alternate) return ::testing::AssertionFailure() << "shift-out without CA101";
                    shifted = true;
                    continue;
                }
                if (c == 0x0F) {
                    if (pair % 2) return ::testing::AssertionFailure() << "odd JIS bytes";
                    shifted = false;
                    continue;
                }
                if (shifted) {
                    if (c < 0x21 || c > 0x7E) return ::testing::AssertionFailure() << "JIS byte " << int(c);
                    ++pair;
                } else if (alternate ? (c < 0x21 || c > 0x7E) : (c < 0x21 || c == 0x7F)) {
                    return ::testing::AssertionFailure() << "label byte " << int(c) << " in set " << set;
                }
            }
            if (shifted) return ::testing::AssertionFailure() << "label ends shifted out";
            ++i;
            continue;
        }
        size_t end = s.find(';', i);
        if (end == std::string::npos) return ::testing::AssertionFailure() << cmd << " without ';'";
        std::string args = s.substr(i, end - i);
        i = end + 1;
        for (char c : args)
            if (!(std::isdigit(static_cast<unsigned char>(c)) || c == ',' || c == '-' || c == '.'))
                return ::testing::AssertionFailure() << cmd << " argument " << args;
        if (cmd == "JK") {
            int kuten = std::atoi(args.c_str());
            if (kuten / 100 < 1 || kuten / 100 > 94 || kuten % 100 < 1 || kuten % 100 > 94)
                return ::testing::AssertionFailure() << "kuten " << kuten;
        } else if (cmd == "CS") {
            set = std::atoi(args.c_str());
            if (set != 6 && set != 8) return ::testing::AssertionFailure() << "set " << set;
        } else if (cmd == "CA") {
            alternate = args == "101";
        } else if (cmd != "PU" && cmd != "SI" && cmd != "ES" && cmd != "LO" && cmd != "DI") {
            return ::testing::AssertionFailure() << "unknown command " << cmd;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(LabelEmitter, JapaneseTextGivesLabelsAPlotterAccepts)
{
    // 日本語のテキスト, ｶﾀｶﾅ (half width), ASCII and a second line with a character code page
    // 932 lacks.
    std::string body = "<g id=\"l\"><text id=\"t\" x=\"20\" y=\"60\" style=\"font-family:IPAGothic;font-size:10px\">"
                       "<tspan x=\"20\" y=\"60\">&#x65E5;&#x672C;&#x8A9E;&#x306E;&#x30C6;&#x30AD;&#x30B9;&#x30C8; "
                       "&#xFF76;&#xFF80;&#xFF76;&#xFF85; Plot-1</tspan>"
                       "<tspan x=\"20\" y=\"80\">&#x9AD8;&#x1F600;&#x3000;&#x4E00;</tspan></text></g>";
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        const int held = host::LiveEngineObjects();
        std::string out = Emit(body, mode);
        EXPECT_EQ(host::LiveEngineObjects(), held);  // every engine object taken is released
        EXPECT_TRUE(AcceptedByPlotter(out)) << out;
        size_t labels = 0;
        for (size_t at = out.find("PU"); at != std::string::npos; at = out.find("PU", at + 1)) ++labels;
        // Every printable character gets its move: 8 + 4 + 6 on the first line, 4 on the
        // second (the emoji is '?', the ideographic space a double-byte character too).
        EXPECT_EQ(labels, 22u);
        if (mode == 1) {
            EXPECT_NE(out.find("JK3892;"), std::string::npos);  // 日 is kuten 38-92
        }
    }
}

}  // namespace
