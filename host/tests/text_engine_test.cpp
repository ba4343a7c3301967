// The text engine as a plug-in sees it: frames read from SVG laid out into lines, glyph runs
// and origins, eight-bit contents in code page 932, UTF-16 insertion with local features,
// font metrics by font key, and the inserted records surviving a save and a reload.
#include "host/suites/text_engine.h"

#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "host/text/font_library.h"
#include "host/session/host_session.h"
#include "host/tests/svg_test_support.h"
#include "host/svg/svg_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace host;

// 1 user unit is 1 point; artwork v = 200 - SVG y.
const char* const kDrawing = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="400pt" height="200pt" viewBox="0 0 400 200">
  <g id="layer1">
    <text id="two" x="20" y="50" style="font-family:DejaVu Sans;font-size:12px"><tspan x="20" y="50">AB</tspan><tspan x="20" y="65">C<tspan style="font-size:24px">D</tspan></tspan></text>
    <text id="kana" x="100" y="100" style="font-family:IPAGothic;font-size:10px">&#x6F22;&#x30A2;&#xFF71;&#x1F600;</text>
    <text id="turned" transform="translate(300 40) rotate(90)" style="font-family:DejaVu Sans;font-size:10px">Hi</text>
    <path id="curve" d="M 10 180 L 200 180"/>
    <text id="along" style="font-family:DejaVu Sans;font-size:10px"><textPath xlink:href="#curve">Path</textPath></text>
  </g>
</svg>
)svg";

class TextEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTextEngine();
        std::string folder = MakeTestFolder("text_engine");
        file = folder + "/text.svg";
        svgtest::WriteBytes(file, kDrawing);
        Load();
        baseline = LiveEngineObjects();
    }
    void TearDown() override { TheSession().document = nullptr; }

    void Load()
    {
        TheSession().document = nullptr;
        doc = std::make_unique<Document>();
        std::string error;
        ASSERT_TRUE(LoadSvgDocument(file, *doc, error)) << error;
        TheSession().document = doc.get();
    }

    AIArtHandle Art(const char* id) { return ToHandle(svgtest::FindArt(*doc, id)); }

    // Lines of runs of the art, each run as its eight-bit text and first origin.
    struct RunSeen {
        std::string text;
        AIRealPoint origin;
        size_t origins;
        double fontSize;
    };
    std::vector<std::vector<RunSeen>> Walk(AIArtHandle art, AIRealMatrix* matrix = nullptr)
    {
        std::vector<std::vector<RunSeen>> out;
        ATE::TextFrameRef frame = nullptr;
        EXPECT_EQ(HostTextFrameSuite()->GetATETextFrame(art, &frame), kNoErr);
        if (matrix) {
            EXPECT_EQ(HostATETextFrameSuite()->GetMatrix(frame, matrix), kNoErr);
        }
        ATE::TextLinesIteratorRef lines = nullptr;
        EXPECT_EQ(HostATETextFrameSuite()->GetTextLinesIterator(frame, &lines), kNoErr);
        ASBoolean more = 0;
        while (HostATETextLinesIteratorSuite()->IsNotDone(lines, &more) == kNoErr && more) {
            ATE::TextLineRef line = nullptr;
            EXPECT_EQ(HostATETextLinesIteratorSuite()->Item(lines, &line), kNoErr);
            ATE::GlyphRunsIteratorRef runs = nullptr;
            EXPECT_EQ(HostATETextLineSuite()->GetGlyphRunsIterator(line, &runs), kNoErr);
            out.emplace_back();
            ASBoolean moreRuns = 0;
            while (HostATEGlyphRunsIteratorSuite()->IsNotDone(runs, &moreRuns) == kNoErr && moreRuns) {
                ATE::GlyphRunRef run = nullptr;
                EXPECT_EQ(HostATEGlyphRunsIteratorSuite()->Item(runs, &run), kNoErr);
                RunSeen seen{};
                char buffer[64];
                ASInt32 length = 0;
                EXPECT_EQ(HostATEGlyphRunSuite()->GetContents(run, buffer, sizeof buffer, &length), kNoErr);
                seen.text.assign(buffer, length);
                ATE::ArrayRealPointRef origins = nullptr;
                EXPECT_EQ(HostATEGlyphRunSuite()->GetOrigins(run, &origins), kNoErr);
                ASInt32 n = 0;
                HostATEArrayRealPointSuite()->GetSize(origins, &n);
                seen.origins = static_cast<size_t>(n);
                if (n > 0) HostATEArrayRealPointSuite()->Item(origins, 0, &seen.origin);
                ATE::CharFeaturesRef features = nullptr;
                EXPECT_EQ(HostATEGlyphRunSuite()->GetCharFeatures(run, &features), kNoErr);
                ASBoolean assigned = 0;
                HostATECharFeaturesSuite()->GetFontSize(features, &assigned, &seen.fontSize);
                EXPECT_TRUE(assigned);
                out.back().push_back(seen);
                HostATECharFeaturesSuite()->Release(features);
                HostATEArrayRealPointSuite()->Release(origins);
                HostATEGlyphRunSuite()->Release(run);
                HostATEGlyphRunsIteratorSuite()->Next(runs);
            }
            HostATEGlyphRunsIteratorSuite()->Release(runs);
            HostATETextLineSuite()->Release(line);
            HostATETextLinesIteratorSuite()->Next(lines);
        }
        HostATETextLinesIteratorSuite()->Release(lines);
        HostATETextFrameSuite()->Release(frame);
        return out;
    }

    // A frame-space point to artwork, as the plug-in goes: matrix, then the Hard Soft suite.
    static AIRealPoint ToArtwork(const AIRealMatrix& m, AIRealPoint p)
    {
        AIRealPoint q = TransformPoint(m, p);
        EXPECT_EQ(HostHardSoftSuite()->AIRealPointSoften(&q), kNoErr);
        return q;
    }

    std::string file;
    std::unique_ptr<Document> doc;
    int baseline = 0;
};

TEST_F(TextEngine, LinesRunsAndOriginsOfPointText)
{
    AIRealMatrix m{};
    auto lines = Walk(Art("two"), &m);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 1u);
    EXPECT_EQ(lines[0][0].text, "AB");
    EXPECT_EQ(lines[0][0].origins, 2u);
    ASSERT_EQ(lines[1].size(), 2u);  // the 24-point D is a run of its own
    EXPECT_EQ(lines[1][0].text, "C");
    EXPECT_EQ(lines[1][1].text, "D");
    EXPECT_DOUBLE_EQ(lines[1][1].fontSize, 24);
    // The first origin lands on the SVG anchor (20, 50): artwork (20, 150).
    AIRealPoint first = ToArtwork(m, lines[0][0].origin);
    EXPECT_NEAR(first.h, 20, 1e-9);
    EXPECT_NEAR(first.v, 150, 1e-9);
    // The second line lies below the first, at the same left edge.
    AIRealPoint second = ToArtwork(m, lines[1][0].origin);
    EXPECT_NEAR(second.h, 20, 1e-9);
    EXPECT_LT(second.v, first.v);
    EXPECT_EQ(LiveEngineObjects(), baseline);
}

TEST_F(TextEngine, TurnedTextHasTheEngineMatrixAndLandsOnItsAnchor)
{
    AIRealMatrix m{};
    auto lines = Walk(Art("turned"), &m);
    // SVG rotate(90) turns the text clockwise on the page: engine b is +1 in its y-down space.
    EXPECT_NEAR(m.a, 0, 1e-12);
    EXPECT_NEAR(m.b, 1, 1e-12);
    ASSERT_EQ(lines.size(), 1u);
    AIRealPoint first = ToArtwork(m, lines[0][0].origin);
    EXPECT_NEAR(first.h, 300, 1e-9);
    EXPECT_NEAR(first.v, 160, 1e-9);
}

TEST_F(TextEngine, TextOnAPathHasOriginsAlongThePath)
{
    AIRealMatrix m{};
    auto lines = Walk(Art("along"), &m);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_FALSE(lines[0].empty());
    EXPECT_EQ(lines[0][0].text, "Path");
    AIRealPoint first = ToArtwork(m, lines[0][0].origin);
    EXPECT_NEAR(first.v, 20, 1e-6);  // the path runs at artwork v = 200 - 180
    EXPECT_NEAR(first.h, 10, 1e-6);
    ASInt16 kind = -1;
    EXPECT_EQ(HostTextFrameSuite()->GetType(Art("along"), &kind), kNoErr);
    EXPECT_EQ(kind, kOnPathTextType);
}

TEST_F(TextEngine, EightBitContentsAreCodePage932WithReplacement)
{
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(Art("kana"), &range), kNoErr);
    char buffer[32];
    ASInt32 length = 0;
    ASSERT_EQ(HostATETextRangeSuite()->GetContents(range, buffer, sizeof buffer, &length), kNoErr);
    // 漢 0x8ABF, ア 0x8341, half-width ｱ 0xB1, and a character the code page lacks.
    EXPECT_EQ(std::string(buffer, length), "\x8A\xBF\x83\x41\xB1?");
    // A room that ends inside a double-byte character leaves it out.
    ASSERT_EQ(HostATETextRangeSuite()->GetContents(range, buffer, 4, &length), kNoErr);
    EXPECT_EQ(std::string(buffer, length), "\x8A\xBF");
    ASInt32 size = 0;
    HostATETextRangeSuite()->GetSize(range, &size);
    EXPECT_EQ(size, 5);  // UTF-16 units: the emoji is a surrogate pair
    HostATETextRangeSuite()->Release(range);
    EXPECT_EQ(HostATETextRangeSuite()->Release(range), kBadParameterErr);
    EXPECT_EQ(LiveEngineObjects(), baseline);
}

TEST_F(TextEngine, FontMetricsByFontKey)
{
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(Art("two"), &range), kNoErr);
    ATE::CharFeaturesRef features = nullptr;
    ASSERT_EQ(HostATETextRangeSuite()->GetCharFeatures(range, &features), kNoErr);
    ASBoolean assigned = 0;
    ATE::FontRef font = nullptr;
    ASSERT_EQ(HostATECharFeaturesSuite()->GetFont(features, &assigned, &font), kNoErr);
    ASSERT_TRUE(assigned);
    // The sizes differ across the range, so the size is not assigned.
    AIReal size = 0;
    HostATECharFeaturesSuite()->GetFontSize(features, &assigned, &size);
    EXPECT_FALSE(assigned);
    AIFontKey key = nullptr;
    ASSERT_EQ(HostFontSuite()->FontKeyFromFont(font, &key), kNoErr);
    AIReal advance = 0, ink = 0, width = 0, height = 0;
    ASSERT_EQ(HostFontSuite()->GetCharacterMetrics(key, "A", 1, &advance, &ink), kNoErr);
    ASSERT_EQ(HostFontSuite()->GetCharacterMetrics(key, "A", 2, &width, &height), kNoErr);
    const FontFace* face = nullptr;
    ASSERT_EQ(FindFontFace("DejaVu Sans", "", &face), kNoErr);
    AIReal expectAdvance = 0, expectInk = 0;
    GetFontMetrics(face, "A", 1, &expectAdvance, &expectInk);
    EXPECT_DOUBLE_EQ(advance, expectAdvance);
    EXPECT_GT(height, ink);  // a label cell is taller than the letter
    EXPECT_EQ(HostFontSuite()->GetCharacterMetrics(key, "A", 3, &width, &height), kBadParameterErr);
    char name[64];
    ASSERT_EQ(HostFontSuite()->GetFullFontName(key, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "DejaVu Sans Regular");
    HostATEFontSuite()->Release(font);
    HostATECharFeaturesSuite()->Release(features);
    HostATETextRangeSuite()->Release(range);
    EXPECT_EQ(LiveEngineObjects(), baseline);
}

TEST_F(TextEngine, InsertedRecordSurvivesSaveAndReloadByteForByte)
{
    Layer* layer = doc->layers.front();
    AIArtHandle art = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->NewPointText(3, ToHandle(layer->group), 0, AIRealPoint{-3200, -3200}, &art),
              kNoErr);
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(art, &range), kNoErr);
    ATE::CharFeaturesRef features = nullptr;
    ASSERT_EQ(HostATETextRangeSuite()->GetCharFeatures(range, &features), kNoErr);
    HostATECharFeaturesSuite()->SetFill(features, 0);
    HostATECharFeaturesSuite()->SetStroke(features, 0);
    ASSERT_EQ(HostATETextRangeSuite()->SetLocalCharFeatures(range, features), kNoErr);
    const std::u16string text = u"TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 0A0B\r\n/TPRINT\r\n";
    ASSERT_EQ(HostATETextRangeSuite()->InsertAfter(range, text.c_str(), -1), kNoErr);
    HostATECharFeaturesSuite()->Release(features);
    HostATETextRangeSuite()->Release(range);

    std::string error;
    ASSERT_TRUE(SaveSvgDocument(*doc, file, error)) << error;
    Load();
    host::Art* found = nullptr;
    for (host::Art* child : doc->layers.front()->group->children)
        if (child->type == ArtType::TextFrame && TextContent(child).rfind("TRVX_2", 0) == 0) found = child;
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(ToHandle(found), &range), kNoErr);
    char buffer[256];
    ASInt32 length = 0;
    ASSERT_EQ(HostATETextRangeSuite()->GetContents(range, buffer, sizeof buffer, &length), kNoErr);
    EXPECT_EQ(std::string(buffer, length), "TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 0A0B\r\n/TPRINT\r\n");
    ASSERT_EQ(HostATETextRangeSuite()->GetCharFeatures(range, &features), kNoErr);
    ASBoolean assigned = 0, fill = 1, stroke = 1;
    HostATECharFeaturesSuite()->GetFill(features, &assigned, &fill);
    EXPECT_TRUE(assigned);
    EXPECT_FALSE(fill);
    HostATECharFeaturesSuite()->GetStroke(features, &assigned, &stroke);
    EXPECT_FALSE(stroke);
    AIRealPoint anchor{};
    ASSERT_EQ(HostTextFrameSuite()->GetPointTextAnchor(ToHandle(found), &anchor), kNoErr);
    EXPECT_NEAR(anchor.h, -3200, 1e-6);
    EXPECT_NEAR(anchor.v, -3200, 1e-6);
    HostATECharFeaturesSuite()->Release(features);
    HostATETextRangeSuite()->Release(range);
}

TEST_F(TextEngine, TextMadeOnAndInPathsIsLaidOutAndSaved)
{
    for (ASInt16 kind : {kOnPathTextType, kInPathTextType}) {
        SCOPED_TRACE(kind);
        Load();
        AIArtHandle curve = Art("curve");
        AIArtHandle art = nullptr;
        if (kind == kOnPathTextType) {
            ASSERT_EQ(HostTextFrameSuite()->NewOnPathText(kPlaceAbove, curve, 0, curve, 0, 1, &art), kNoErr);
        } else {
            ASSERT_EQ(HostTextFrameSuite()->NewInPathText(kPlaceAbove, curve, 0, curve, &art), kNoErr);
        }
        ASSERT_EQ(svgtest::FindArt(*doc, "curve"), nullptr);  // the path became the text's own
        AIArtHandle path = nullptr;
        ASSERT_EQ(HostTextFrameSuite()->GetPathObject(art, &path), kNoErr);
        ASSERT_EQ(HostATETextRangeSuite()->InsertAfter(nullptr, u"x", -1), kBadParameterErr);
        ATE::TextRangeRef range = nullptr;
        ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(art, &range), kNoErr);
        ASSERT_EQ(HostATETextRangeSuite()->InsertAfter(range, u"Made", -1), kNoErr);
        HostATETextRangeSuite()->Release(range);
        auto lines = Walk(art);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0][0].text, "Made");
        std::string error;
        ASSERT_TRUE(SaveSvgDocument(*doc, file, error)) << error;
        Load();
        bool found = false;
        for (host::Art* child : doc->layers.front()->group->children)
            if (child->type == ArtType::TextFrame && TextContent(child) == "Made") found = true;
        EXPECT_TRUE(found);
        svgtest::WriteBytes(file, kDrawing);
    }
}

TEST_F(TextEngine, RangesNarrowAndLocalFeaturesSplitRuns)
{
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->GetATETextRange(Art("two"), &range), kNoErr);
    ASSERT_EQ(HostATETextRangeSuite()->SetRange(range, 1, 2), kNoErr);
    char buffer[8];
    ASInt32 length = 0;
    HostATETextRangeSuite()->GetContents(range, buffer, sizeof buffer, &length);
    EXPECT_EQ(std::string(buffer, length), "B");
    ATE::ParaFeaturesRef paras = nullptr;
    ASSERT_EQ(HostATEParaFeaturesSuite()->Initialize(&paras), kNoErr);
    ATE::KinsokuRef set = nullptr;
    ASSERT_EQ(HostATEDocumentTextResourcesSuite()->GetKinsokuSet(1, &set), kNoErr);
    HostATEParaFeaturesSuite()->SetKinsoku(paras, set);
    ASSERT_EQ(HostATETextRangeSuite()->SetLocalParaFeatures(range, paras), kNoErr);
    ATE::ParaFeaturesRef read = nullptr;
    ASSERT_EQ(HostATETextRangeSuite()->GetParaFeatures(range, &read), kNoErr);
    ASBoolean assigned = 0;
    ATE::KinsokuRef got = nullptr;
    HostATEParaFeaturesSuite()->GetKinsoku(read, &assigned, &got);
    ASSERT_TRUE(assigned);
    char name[16];
    HostATEKinsokuSuite()->GetName(got, name, sizeof name);
    EXPECT_STREQ(name, "Soft");
    EXPECT_EQ(HostATETextRangeSuite()->SetRange(range, 2, 1), kBadParameterErr);
    for (auto r : {reinterpret_cast<void*>(got), reinterpret_cast<void*>(set)})
        HostATEKinsokuSuite()->Release(static_cast<ATE::KinsokuRef>(r));
    HostATEParaFeaturesSuite()->Release(read);
    HostATEParaFeaturesSuite()->Release(paras);
    HostATETextRangeSuite()->Release(range);
    EXPECT_EQ(LiveEngineObjects(), baseline);
    // A and C (and the line break) stay as they were; B now carries the set.
    EXPECT_EQ(svgtest::FindArt(*doc, "two")->text.runs.size(), 4u);
}

TEST_F(TextEngine, UnknownReferencesAndArtAreRefused)
{
    ATE::TextRangeRef range = nullptr;
    EXPECT_EQ(HostTextFrameSuite()->GetATETextRange(Art("curve"), &range), kBadParameterErr);
    int bogus = 0;
    ASInt32 size = 0;
    EXPECT_EQ(HostATETextRangeSuite()->GetSize(reinterpret_cast<ATE::TextRangeRef>(&bogus), &size), kBadParameterErr);
    ATE::TextFrameRef frame = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->GetATETextFrame(Art("two"), &frame), kNoErr);
    // A frame is no range.
    EXPECT_EQ(HostATETextRangeSuite()->GetSize(reinterpret_cast<ATE::TextRangeRef>(frame), &size), kBadParameterErr);
    ASSERT_EQ(DisposeArt(svgtest::FindArt(*doc, "two")), kNoErr);
    AIRealMatrix m{};
    EXPECT_EQ(HostATETextFrameSuite()->GetMatrix(frame, &m), kBadParameterErr);
    HostATETextFrameSuite()->Release(frame);
}

TEST_F(TextEngine, MissingFamilyFallsBackWithOneNote)
{
    svgtest::FindArt(*doc, "two")->text.runs[0].chars.fontFamily = "No Such Family 7";
    svgtest::FindArt(*doc, "kana")->text.runs[0].chars.fontFamily = "No Such Family 7";
    int before = MissingFamilyNoteCount();
    auto a = Walk(Art("two"));
    auto b = Walk(Art("kana"));
    EXPECT_EQ(MissingFamilyNoteCount(), before + 1);
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b[0][0].text.substr(0, 2), "\x8A\xBF");
}

}  // namespace
