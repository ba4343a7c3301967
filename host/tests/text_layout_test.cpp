// Point text lines and runs, text along a path, and outlines of laid-out text.
#include "host/text/text_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const AIRealMatrix kIdentity{1, 0, 0, 1, 0, 0};

TextStyle Style(double size, const char* family = "DejaVu Sans", const char* style = "")
{
    TextStyle s;
    s.szFamily = family;
    s.szStyle = style;
    s.dFontSize = size;
    return s;
}

// Advance of one character per unit of font size, through the font suite's metrics call.
double Advance(const char* family, const char* utf8, const char* style = "")
{
    const FontFace* face = nullptr;
    EXPECT_EQ(FindFontFace(family, style, &face), kNoErr);
    double w = 0, h = 0;
    EXPECT_EQ(GetFontMetrics(face, utf8, 1, &w, &h), kNoErr);
    return w;
}

TextLayout Layout(const std::vector<TextSpan>& spans, int align = kTextAlignLeft)
{
    TextLayout layout;
    TextLayoutOptions options;
    options.iAlign = align;
    EXPECT_EQ(LayoutPointText(spans, options, &layout), kNoErr);
    return layout;
}

std::u32string LineText(const TextLine& line)
{
    std::u32string text;
    for (const GlyphRun& run : line.runs) text += run.text;
    return text;
}

AIPathSegment Corner(double h, double v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; }

TEST(PointText, EmptyTextLaysOutToNothing)
{
    for (const std::vector<TextSpan>& spans :
         {std::vector<TextSpan>{}, std::vector<TextSpan>{TextSpan{"", Style(12)}}}) {
        TextLayout layout = Layout(spans);
        EXPECT_TRUE(layout.lines.empty());
        EXPECT_EQ(layout.rBounds.left, 0);
        EXPECT_EQ(layout.rBounds.top, 0);
    }
    std::vector<GlyphOutline> glyphs;
    ASSERT_EQ(OutlineTextLayout(Layout({TextSpan{"", Style(12)}}), kIdentity, &glyphs), kNoErr);
    EXPECT_TRUE(glyphs.empty());
}

TEST(PointText, LineBreaksMakeLinesOnBaselinesOneLeadingApart)
{
    struct Case {
        std::string text;
        std::vector<std::u32string> lines;
    } cases[] = {
        {"AB\nCD", {U"AB", U"CD"}},
        {"AB\rCD", {U"AB", U"CD"}},
        {"AB\r\nCD", {U"AB", U"CD"}},
        {"AB\xE2\x80\xA8" "CD", {U"AB", U"CD"}},  // line separator
        {"AB\xE2\x80\xA9" "CD", {U"AB", U"CD"}},  // paragraph separator
        {"AB\x03" "CD", {U"AB", U"CD"}},          // forced line break
        {"AB\n", {U"AB"}},                        // a closing break opens no line
        {"AB\n\nCD", {U"AB", U"", U"CD"}},
        {"\n", {U""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextLayout layout = Layout({TextSpan{c.text, Style(10)}});
        ASSERT_EQ(layout.lines.size(), c.lines.size());
        for (size_t n = 0; n < c.lines.size(); ++n) {
            EXPECT_EQ(LineText(layout.lines[n]), c.lines[n]);
            EXPECT_NEAR(layout.lines[n].dBaseline, -12.0 * double(n), 1e-9);
            for (const GlyphRun& run : layout.lines[n].runs) {
                EXPECT_EQ(run.text.find(U'\n'), std::u32string::npos);
                EXPECT_EQ(run.text.find(U'\r'), std::u32string::npos);
            }
        }
    }
}

TEST(PointText, OriginsAdvanceByTheFontMetricsAlongEachLine)
{
    TextLayout layout = Layout({TextSpan{"AW\nVi", Style(10)}});
    ASSERT_EQ(layout.lines.size(), 2u);
    const GlyphRun& first = layout.lines[0].runs.at(0);
    const GlyphRun& second = layout.lines[1].runs.at(0);
    double a = Advance("DejaVu Sans", "A"), w = Advance("DejaVu Sans", "W");
    double v = Advance("DejaVu Sans", "V");
    ASSERT_EQ(first.origins.size(), 2u);
    EXPECT_NEAR(first.origins[0].h, 0, 1e-9);
    EXPECT_NEAR(first.origins[0].v, 0, 1e-9);
    EXPECT_NEAR(first.origins[1].h, 10 * a, 1e-9);
    EXPECT_NEAR(layout.lines[0].dWidth, 10 * (a + w), 1e-9);
    EXPECT_NEAR(second.origins[0].h, 0, 1e-9);
    EXPECT_NEAR(second.origins[0].v, -12, 1e-9);
    EXPECT_NEAR(second.origins[1].h, 10 * v, 1e-9);
    EXPECT_EQ(first.iFirstChar, 0);
    EXPECT_EQ(second.iFirstChar, 3) << "the break counts as a character of the text";

    // The bounds are the body boxes: advance wide, ascender over descender high.
    const FontFace* face = first.pFace;
    EXPECT_NEAR(layout.rBounds.left, 0, 1e-9);
    EXPECT_NEAR(layout.rBounds.top, 10 * face->dAscender, 1e-9);
    EXPECT_NEAR(layout.rBounds.bottom, -12 - 10 * face->dDescender, 1e-9);
    EXPECT_NEAR(layout.rBounds.right, 10 * (a + w), 1e-9);
}

TEST(PointText, LeadingIsTheLargestOfTheLineOrAsGiven)
{
    TextStyle set = Style(10);
    set.dLeading = 20;
    TextLayout given = Layout({TextSpan{"A\nB", set}});
    ASSERT_EQ(given.lines.size(), 2u);
    EXPECT_NEAR(given.lines[1].dBaseline, -20, 1e-9);

    // The second line holds a 30 point character: 36 points below the first.
    TextLayout mixed = Layout({TextSpan{"A\nB", Style(10)}, TextSpan{"C", Style(30)}});
    ASSERT_EQ(mixed.lines.size(), 2u);
    EXPECT_NEAR(mixed.lines[1].dBaseline, -36, 1e-9);
}

TEST(PointText, SpansOnTheirOwnLinesStartNewLinesOnce)
{
    struct Case {
        std::vector<TextSpan> spans;
        size_t lines;
    } cases[] = {
        {{TextSpan{"A", Style(10)}, TextSpan{"B", Style(10), true}}, 2},
        {{TextSpan{"A\n", Style(10)}, TextSpan{"B", Style(10), true}}, 2},
        {{TextSpan{"A", Style(10), true}, TextSpan{"B", Style(10)}}, 1},
        {{TextSpan{"A", Style(10)}, TextSpan{"B", Style(10), true}, TextSpan{"C", Style(10), true}}, 3},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Layout(cases[i].spans).lines.size(), cases[i].lines);
    }
}

TEST(PointText, RunsSplitWhereTheStyleChanges)
{
    TextStyle plain = Style(10), bold = Style(10, "DejaVu Sans", "Bold");
    TextStyle wide = Style(10);
    wide.dHorizontalScale = 2;
    TextLayout layout = Layout({TextSpan{"ab", plain}, TextSpan{"cd", plain},
                                TextSpan{"ef", bold}, TextSpan{"gh", wide}, TextSpan{"ij", plain}});
    ASSERT_EQ(layout.lines.size(), 1u);
    const std::vector<GlyphRun>& runs = layout.lines[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, U"abcd") << "equal styles form one run";
    EXPECT_EQ(runs[1].text, U"ef");
    EXPECT_EQ(runs[2].text, U"gh");
    EXPECT_EQ(runs[3].text, U"ij");
    EXPECT_EQ(runs[1].iFirstChar, 4);
    EXPECT_EQ(runs[3].iFirstChar, 8);
    EXPECT_EQ(runs[1].pFace->szStyle, "Bold");

    // Each run starts where the previous one's advances end.
    double h = 0;
    for (const GlyphRun& run : runs) {
        EXPECT_NEAR(run.origins[0].h, h, 1e-9);
        for (double a : run.advances) h += a;
    }
    EXPECT_NEAR(runs[2].advances[0], 2 * 10 * Advance("DejaVu Sans", "g"), 1e-9);
    EXPECT_NEAR(runs[1].advances[0], 10 * Advance("DejaVu Sans", "e", "Bold"), 1e-9);
}

TEST(PointText, AlignmentMovesEachLineAgainstTheAnchor)
{
    struct Case {
        int align;
        double factor;
    } cases[] = {{kTextAlignLeft, 0}, {kTextAlignCenter, -0.5}, {kTextAlignRight, -1}};
    for (const Case& c : cases) {
        TextLayout layout = Layout({TextSpan{"AAAA\nA", Style(10)}}, c.align);
        ASSERT_EQ(layout.lines.size(), 2u);
        for (const TextLine& line : layout.lines)
            EXPECT_NEAR(line.runs[0].origins[0].h, c.factor * line.dWidth, 1e-9);
    }
}

TEST(PointText, PlacedCharactersOpenChunksAlignedByThemselves)
{
    // "AB" at h 0; "C" given v -30 and a shift of 5 (a new line's chunk); "D" given h 100 on
    // the same baseline (a chunk of its own, centred on 100 by its style).
    TextStyle centred = Style(10);
    centred.iAlign = kTextAlignCenter;
    TextLayoutOptions options;
    options.positions = {TextCharPosition{3, false, true, 0, -30, 5, 0},
                         TextCharPosition{4, true, false, 100, 0, 0, 0}};
    TextLayout layout;
    ASSERT_EQ(LayoutPointText({TextSpan{"AB\rC", Style(10)}, TextSpan{"D", centred}}, options, &layout), kNoErr);
    ASSERT_EQ(layout.lines.size(), 2u);
    const double a = 10 * Advance("DejaVu Sans", "A"), d = 10 * Advance("DejaVu Sans", "D");
    EXPECT_NEAR(layout.lines[0].runs[0].origins[1].h, a, 1e-9);
    const TextLine& second = layout.lines[1];
    EXPECT_NEAR(second.dBaseline, -30, 1e-9);
    EXPECT_NEAR(second.dLeading, 30, 1e-9);
    EXPECT_NEAR(second.runs[0].origins[0].h, 5, 1e-9);
    EXPECT_NEAR(second.runs[0].origins[0].v, -30, 1e-9);
    ASSERT_EQ(second.runs.size(), 2u);
    EXPECT_NEAR(second.runs[1].origins[0].h, 100 - d / 2, 1e-9);
    EXPECT_NEAR(second.runs[1].origins[0].v, -30, 1e-9);
}

TEST(PointText, RightToLeftLettersStandInVisualOrderAndArabicJoins)
{
    // Hebrew alef, bet, gimel: stored first, drawn rightmost; the Latin word keeps its order.
    TextLayout hebrew = Layout({TextSpan{"\xD7\x90\xD7\x91\xD7\x92 ab", Style(10)}});
    const GlyphRun& run = hebrew.lines.at(0).runs.at(0);
    ASSERT_EQ(run.text.size(), 6u);
    EXPECT_GT(run.origins[0].h, run.origins[1].h);
    EXPECT_GT(run.origins[1].h, run.origins[2].h);
    EXPECT_NEAR(run.origins[2].h, 0, 1e-9);
    EXPECT_LT(run.origins[0].h, run.origins[4].h);
    EXPECT_LT(run.origins[4].h, run.origins[5].h);
    EXPECT_EQ(run.text.substr(0, 3), U"\u05D0\u05D1\u05D2");  // stored order is kept

    // Arabic beh, teh: joined forms (initial beh, final teh), drawn right to left.
    TextLayout arabic = Layout({TextSpan{"\xD8\xA8\xD8\xAA", Style(10)}});
    const GlyphRun& joined = arabic.lines.at(0).runs.at(0);
    EXPECT_EQ(joined.text, U"\u0628\u062A");
    EXPECT_EQ(joined.glyphs, U"\uFE91\uFE96");
    EXPECT_GT(joined.origins[0].h, joined.origins[1].h);
}

TEST(PointText, Utf16TextWithKanjiTakesTheJapaneseFaceMetrics)
{
    TextLayout layout = Layout({MakeTextSpanUtf16(u"\u6F22\u5B57A", Style(12))});
    ASSERT_EQ(layout.lines.size(), 1u);
    const GlyphRun& run = layout.lines[0].runs.at(0);
    EXPECT_EQ(run.text, U"\u6F22\u5B57A");
    EXPECT_NEAR(run.advances[0], 12.0, 1e-9) << "a full-width kanji from the fallback is one em";
    EXPECT_NEAR(run.origins[2].h, 24.0, 1e-9);
    EXPECT_NEAR(run.advances[2], 12 * Advance("DejaVu Sans", "A"), 1e-9);
}

TEST(PointText, BadSizesAndScalesAreRefused)
{
    for (double bad : {0.0, -3.0, double(NAN), double(INFINITY)}) {
        TextLayout layout;
        TextStyle s = Style(bad);
        EXPECT_EQ(LayoutPointText({TextSpan{"A", s}}, {}, &layout), kBadParameterErr) << bad;
        s = Style(10);
        s.dHorizontalScale = bad;
        EXPECT_EQ(LayoutPointText({TextSpan{"A", s}}, {}, &layout), kBadParameterErr) << bad;
    }
    EXPECT_EQ(LayoutPointText({}, {}, nullptr), kBadParameterErr);
}

TEST(PathText, StraightPathPlacesOriginsByArcLength)
{
    std::vector<AIPathSegment> path{Corner(10, 20), Corner(110, 20)};
    TextLayoutOptions options;
    options.dPathStart = 5;
    TextLayout layout;
    ASSERT_EQ(LayoutPathText({TextSpan{"AVA", Style(10)}}, path, false, options, &layout), kNoErr);
    ASSERT_EQ(layout.lines.size(), 1u);
    const GlyphRun& run = layout.lines[0].runs.at(0);
    double a = 10 * Advance("DejaVu Sans", "A"), v = 10 * Advance("DejaVu Sans", "V");
    ASSERT_EQ(run.origins.size(), 3u);
    const double expectH[] = {15, 15 + a, 15 + a + v};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(run.origins[k].h, expectH[k], 1e-9);
        EXPECT_NEAR(run.origins[k].v, 20, 1e-9);
        EXPECT_NEAR(run.angles[k], 0, 1e-12);
    }
    EXPECT_EQ(layout.iOversetChars, 0);
}

TEST(PathText, SlantedPathTurnsTheCharacters)
{
    // A 3-4-5 line of length 100.
    std::vector<AIPathSegment> path{Corner(0, 0), Corner(60, 80)};
    TextLayoutOptions options;
    options.dPathStart = 50;
    TextLayout layout;
    ASSERT_EQ(LayoutPathText({TextSpan{"H", Style(10)}}, path, false, options, &layout), kNoErr);
    const GlyphRun& run = layout.lines.at(0).runs.at(0);
    EXPECT_NEAR(run.origins[0].h, 30, 1e-9);
    EXPECT_NEAR(run.origins[0].v, 40, 1e-9);
    EXPECT_NEAR(run.angles[0], std::atan2(80.0, 60.0), 1e-12);

    // The outline turns with it: the H's left stem runs across the path, not upward.
    std::vector<GlyphOutline> glyphs;
    ASSERT_EQ(OutlineTextLayout(layout, kIdentity, &glyphs), kNoErr);
    ASSERT_EQ(glyphs.size(), 1u);
    for (const GlyphContour& c : glyphs[0].contours) {
        for (const AIPathSegment& s : c.segments) {
            // Every point lies on the side of the path that the glyph's up points to.
            double cross = 60 * (s.ptAnchor.v - 0) - 80 * (s.ptAnchor.h - 0);
            EXPECT_GE(cross, -1e-6);
        }
    }
}

TEST(PathText, CornerOfAClosedPathAndTextBeyondTheEnd)
{
    std::vector<AIPathSegment> square{Corner(0, 0), Corner(100, 0), Corner(100, 100),
                                      Corner(0, 100)};
    TextLayoutOptions options;
    options.dPathStart = 120;  // on the right side, going up
    TextLayout layout;
    ASSERT_EQ(LayoutPathText({TextSpan{"I", Style(10)}}, square, true, options, &layout), kNoErr);
    const GlyphRun& run = layout.lines.at(0).runs.at(0);
    EXPECT_NEAR(run.angles[0], M_PI / 2, 1e-12);
    EXPECT_NEAR(run.origins[0].h, 100, 1e-9);
    EXPECT_NEAR(run.origins[0].v, 20, 1e-9);

    // An open 30 point line holds only the characters whose middle lies on it.
    std::vector<AIPathSegment> shortPath{Corner(0, 0), Corner(30, 0)};
    TextLayout overset;
    ASSERT_EQ(LayoutPathText({TextSpan{"AAAAAA", Style(10)}}, shortPath, false, {}, &overset),
              kNoErr);
    double a = 10 * Advance("DejaVu Sans", "A");
    int fits = int(std::floor((30 - a / 2) / a)) + 1;
    ASSERT_EQ(overset.lines.size(), 1u);
    EXPECT_EQ(int(overset.lines[0].runs[0].text.size()), fits);
    EXPECT_EQ(overset.iOversetChars, 6 - fits);
}

TEST(PathText, RightToLeftTextRunsAlongThePathInVisualOrder)
{
    // Hebrew on a line long enough for two of its four letters: the two drawn last in
    // stored order stand at the start of the path, in reverse; the first two find no place.
    std::vector<AIPathSegment> shortPath{Corner(0, 0), Corner(14, 0)};
    TextLayout layout;
    ASSERT_EQ(LayoutPathText({TextSpan{"\xD7\x90\xD7\x90\xD7\x90\xD7\x90", Style(10)}}, shortPath, false, {}, &layout),
              kNoErr);
    const double a = 10 * Advance("DejaVu Sans", "\xD7\x90");
    const int fits = int(std::floor((14 - a / 2) / a)) + 1;
    ASSERT_GE(fits, 1);
    ASSERT_LT(fits, 4);
    ASSERT_EQ(layout.lines.size(), 1u);
    const GlyphRun& run = layout.lines[0].runs.at(0);
    EXPECT_EQ(int(run.text.size()), fits);
    EXPECT_EQ(run.iFirstChar, 4 - fits);
    EXPECT_EQ(run.iFirstUnit16, 4 - fits);
    EXPECT_NEAR(run.origins.back().h, 0, 1e-9);
    EXPECT_EQ(layout.iOversetChars, 4 - fits);
}

TEST(PathText, ArcLengthFollowsCurves)
{
    // A quarter circle of radius 100 as one cubic (handle length 0.5523 r).
    const double k = 0.5522847498 * 100;
    std::vector<AIPathSegment> arc{AIPathSegment{{100, 0}, {100, 0}, {100, k}, false},
                                   AIPathSegment{{0, 100}, {k, 100}, {0, 100}, false}};
    EXPECT_NEAR(PathArcLength(arc, false), M_PI * 50, 0.05);
    AIRealPoint p;
    double angle = 0;
    ASSERT_TRUE(PointAtArcLength(arc, false, M_PI * 25, &p, &angle));
    EXPECT_NEAR(p.h, 100 / std::sqrt(2.0), 0.05);
    EXPECT_NEAR(p.v, 100 / std::sqrt(2.0), 0.05);
    EXPECT_NEAR(angle, 3 * M_PI / 4, 0.01);
    EXPECT_FALSE(PointAtArcLength({Corner(5, 5)}, false, 0, &p, &angle));
}

TEST(TextOutlines, EveryInkedCharacterAtItsOriginThroughTheMatrix)
{
    TextLayout layout = Layout({TextSpan{"O O", Style(20)}});
    std::vector<GlyphOutline> plain, moved;
    ASSERT_EQ(OutlineTextLayout(layout, kIdentity, &plain), kNoErr);
    ASSERT_EQ(OutlineTextLayout(layout, AIRealMatrix{1, 0, 0, 1, 300, 400}, &moved), kNoErr);
    ASSERT_EQ(plain.size(), 2u) << "the space gives no outline";
    EXPECT_EQ(plain[0].contours.size(), 2u);
    const GlyphRun& run = layout.lines[0].runs[0];
    // The second O is the first one moved by the advances of "O ".
    double shift = run.origins[2].h;
    ASSERT_EQ(plain[0].contours[0].segments.size(), plain[1].contours[0].segments.size());
    for (size_t s = 0; s < plain[0].contours[0].segments.size(); ++s) {
        AIRealPoint p = plain[0].contours[0].segments[s].ptAnchor;
        AIRealPoint q = plain[1].contours[0].segments[s].ptAnchor;
        AIRealPoint m = moved[1].contours[0].segments[s].ptAnchor;
        EXPECT_NEAR(q.h, p.h + shift, 1e-9);
        EXPECT_NEAR(q.v, p.v, 1e-9);
        EXPECT_NEAR(m.h, q.h + 300, 1e-9);
        EXPECT_NEAR(m.v, q.v + 400, 1e-9);
    }
}

}  // namespace
