// Rebuilding text frames over the real host's text engine: the copy's text, its features,
// its style tables and insertions, its kind, and where it lands.
#include "plugin/records/text_frame_rebuild.h"

#include "plugin/entry/plugin_globals.h"
#include "plugin/hpgl/text_encodings.h"
#include "tests/support/plugin_on_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class TextFrameRebuild : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        onhost::BindTextSuites();
    }

    AIArtHandle Load(const std::string& body)
    {
        PluginOnHost::Load(onhost::Drawing("<g id=\"l\">" + body + "</g>"), "rebuild");
        return Handle("t");
    }

    size_t LayerArtCount() { return doc_->layers.front()->group->children.size(); }

    static AIRealPoint Centre(AIArtHandle art)
    {
        AIRealRect r{};
        EXPECT_EQ(sAIArt->GetArtBounds(art, &r), kNoErr);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

const char* const kStyle = "style=\"font-family:IPAGothic;font-size:12px;fill:#ff0000\"";

TEST_F(TextFrameRebuild, EmptyFrameReturnsTheArtAndCreatesNothing)
{
    AIArtHandle art = Load(std::string("<text id=\"t\" x=\"10\" y=\"50\" ") + kStyle + "></text>");
    size_t before = LayerArtCount();
    RebuildCounts counts{};
    EXPECT_EQ(RebuildTextFrameCounted(art, &counts), art);
    EXPECT_EQ(LayerArtCount(), before);
    EXPECT_EQ(counts.iRuns, 0);
    EXPECT_EQ(counts.iInsertions, 0);
}

TEST_F(TextFrameRebuild, StylesAndInsertions)
{
    struct Case {
        const char* name;
        std::string content;
        int charStyles;
        int insertions;
        std::vector<std::pair<std::string, double>> runs;  // text and font size of the copy's runs
    } cases[] = {
        {"one style", "Hello", 1, 1, {{"Hello", 12}}},
        {"two styles", "A<tspan style=\"font-size:20px\">BC</tspan>", 2, 2, {{"A", 12}, {"BC", 20}}},
        {"a style again", "A<tspan style=\"font-size:20px\">B</tspan>A", 2, 3, {{"A", 12}, {"B", 20}, {"A", 12}}},
        {"Japanese", "&#x6F22;&#x5B57;&#xFF76;&#xFF85;", 1, 1, {{"\xE6\xBC\xA2\xE5\xAD\x97\xEF\xBD\xB6\xEF\xBE\x85", 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AIArtHandle art = Load(std::string("<text id=\"t\" x=\"10\" y=\"50\" xml:space=\"preserve\" ") + kStyle + ">" +
                               c.content + "</text>");
        size_t before = LayerArtCount();
        RebuildCounts counts{};
        AIArtHandle made = RebuildTextFrameCounted(art, &counts);
        ASSERT_NE(made, art);
        EXPECT_EQ(LayerArtCount(), before + 1);  // the old art stays beside the copy
        EXPECT_EQ(counts.iCharStyles, c.charStyles);
        EXPECT_EQ(counts.iParaStyles, 1);
        EXPECT_EQ(counts.iInsertions, c.insertions);
        host::Art* copy = host::FromHandle(made);
        ASSERT_EQ(copy->text.runs.size(), c.runs.size());
        for (size_t i = 0; i < c.runs.size(); ++i) {
            EXPECT_EQ(copy->text.runs[i].text, c.runs[i].first);
            EXPECT_EQ(copy->text.runs[i].chars.fontSize, c.runs[i].second);
            EXPECT_EQ(copy->text.runs[i].chars.fontFamily, "IPAGothic");
            EXPECT_TRUE(copy->text.runs[i].chars.fFillOn);
            EXPECT_DOUBLE_EQ(copy->text.runs[i].chars.fillColor.red, 1);
            EXPECT_DOUBLE_EQ(copy->text.runs[i].chars.fillColor.green, 0);
        }
    }
}

TEST_F(TextFrameRebuild, RotatedPointTextGivesAnUnrotatedCopyOnTheOldCentre)
{
    AIArtHandle art = Load(std::string("<text id=\"t\" x=\"100\" y=\"100\" transform=\"rotate(-30 100 100)\" ") +
                           kStyle + ">Rotated text</text>");
    host::Art* old = host::FromHandle(art);
    ASSERT_NEAR(old->text.matrix.b, 0.5, 1e-9);  // turned 30 degrees counter-clockwise on the page
    AIRealPoint oldCentre = Centre(art);
    AIArtHandle made = RebuildTextFrame(art);
    ASSERT_NE(made, art);
    host::Art* copy = host::FromHandle(made);
    EXPECT_NEAR(copy->text.matrix.a, 1, 1e-12);
    EXPECT_NEAR(copy->text.matrix.b, 0, 1e-12);
    EXPECT_NEAR(copy->text.matrix.c, 0, 1e-12);
    EXPECT_NEAR(copy->text.matrix.d, 1, 1e-12);
    EXPECT_EQ(host::TextContent(copy), "Rotated text");
    AIRealPoint newCentre = Centre(made);
    EXPECT_NEAR(newCentre.h, oldCentre.h, 1e-6);
    EXPECT_NEAR(newCentre.v, oldCentre.v, 1e-6);
    // Unrotated, the copy is wider than it is tall, unlike the old bounds' proportions.
    AIRealRect r{};
    sAIArt->GetArtBounds(made, &r);
    EXPECT_GT(r.right - r.left, 4 * (r.top - r.bottom));
}

TEST_F(TextFrameRebuild, TextOnAPathKeepsItsKindPathAndPositions)
{
    AIArtHandle art = Load("<path id=\"curve\" d=\"M 10 150 C 60 100 120 100 180 150\" style=\"stroke:#00ff00\"/>"
                           "<text id=\"t\" " + std::string(kStyle) +
                           "><textPath xlink:href=\"#curve\">Along</textPath></text>");
    AIArtHandle made = RebuildTextFrame(art);
    ASSERT_NE(made, art);
    host::Art* old = host::FromHandle(art);
    host::Art* copy = host::FromHandle(made);
    EXPECT_EQ(copy->text.kind, host::TextKind::OnPath);
    ASSERT_NE(copy->text.path, nullptr);
    ASSERT_EQ(copy->text.path->segments.size(), old->text.path->segments.size());
    for (size_t i = 0; i < old->text.path->segments.size(); ++i) {
        EXPECT_NEAR(copy->text.path->segments[i].ptAnchor.h, old->text.path->segments[i].ptAnchor.h, 1e-9);
        EXPECT_NEAR(copy->text.path->segments[i].ptAnchor.v, old->text.path->segments[i].ptAnchor.v, 1e-9);
    }
    EXPECT_EQ(copy->text.startT, old->text.startT);
    EXPECT_EQ(copy->text.endT, old->text.endT);
    EXPECT_EQ(host::TextContent(copy), "Along");
}

TEST_F(TextFrameRebuild, TextInAPathKeepsItsKindAndShape)
{
    Load(std::string("<path id=\"box\" d=\"M 10 10 L 110 10 L 110 60 L 10 60 Z\"/>"));
    AIArtHandle box = onhost::FindArtHandle(*doc_, "box");
    AIArtHandle art = nullptr;
    ASSERT_EQ(sAITextFrame->NewInPathText(kPlaceAbove, box, 0, box, &art), kNoErr);
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(sAITextFrame->GetATETextRange(art, &range), kNoErr);
    InsertShiftJisText(ATE::ITextRange(range), "In a box");
    AIArtHandle made = RebuildTextFrame(art);
    ASSERT_NE(made, art);
    host::Art* old = host::FromHandle(art);
    host::Art* copy = host::FromHandle(made);
    EXPECT_EQ(copy->text.kind, host::TextKind::InPath);
    ASSERT_NE(copy->text.path, nullptr);
    EXPECT_EQ(copy->text.path->segments.size(), old->text.path->segments.size());
    EXPECT_TRUE(copy->text.path->fClosed);
    EXPECT_EQ(host::TextContent(copy), "In a box");
    AIRealPoint a = Centre(art), b = Centre(made);
    EXPECT_NEAR(a.h, b.h, 1e-6);
    EXPECT_NEAR(a.v, b.v, 1e-6);
}

TEST_F(TextFrameRebuild, ParagraphSetsFoundAgainByName)
{
    AIArtHandle art = Load(std::string("<text id=\"t\" x=\"10\" y=\"50\" ") + kStyle + ">Set</text>");
    host::Art* old = host::FromHandle(art);
    old->text.runs[0].paras.kinsoku = "Soft";
    old->text.runs[0].paras.mojikumi = "Loose";
    old->text.runs[0].paras.justification = 2;
    old->text.runs[0].chars.dashArray = {3, 1};
    AIArtHandle made = RebuildTextFrame(art);
    ASSERT_NE(made, art);
    host::Art* copy = host::FromHandle(made);
    ASSERT_EQ(copy->text.runs.size(), 1u);
    EXPECT_EQ(copy->text.runs[0].paras.kinsoku, "Soft");
    EXPECT_EQ(copy->text.runs[0].paras.mojikumi, "Loose");
    EXPECT_EQ(copy->text.runs[0].paras.justification, 2);
    EXPECT_EQ(copy->text.runs[0].chars.dashArray, (std::vector<double>{3, 1}));
}

}  // namespace
