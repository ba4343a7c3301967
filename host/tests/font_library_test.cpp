// Font lookup, fallback, metrics and glyph outlines, checked against FreeType read directly.
#include "host/text/font_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

namespace {

const AIRealMatrix kIdentity{1, 0, 0, 1, 0, 0};

// The font file opened on its own, so the expected values do not come from the library.
struct DirectFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    explicit DirectFace(const FontFace* f)
    {
        EXPECT_EQ(FT_Init_FreeType(&library), 0);
        EXPECT_EQ(FT_New_Face(library, f->szFile.c_str(), f->iFaceIndex, &face), 0);
    }
    ~DirectFace()
    {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    FT_GlyphSlot Load(char32_t cp)
    {
        EXPECT_NE(FT_Get_Char_Index(face, cp), 0u);
        EXPECT_EQ(FT_Load_Char(face, cp, FT_LOAD_NO_SCALE), 0);
        return face->glyph;
    }
    double Em() const { return double(face->units_per_EM); }
};

const FontFace* Find(const char* family, const char* style = "")
{
    const FontFace* face = nullptr;
    EXPECT_EQ(FindFontFace(family, style, &face), kNoErr);
    return face;
}

int CountOccurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(FontLookup, InstalledFamiliesAreFoundWithoutFallback)
{
    struct Case {
        const char* family;
        const char* style;
        const char* expectFamily;
        const char* expectStyle;
    } cases[] = {
        {"DejaVu Sans", "", "DejaVu Sans", "Book"},
        {"DejaVu Sans", "Bold", "DejaVu Sans", "Bold"},
        {"dejavu sans", "", "DejaVu Sans", "Book"},
        {"DejaVu Serif", "Italic", "DejaVu Serif", "Italic"},
        {"IPAGothic", "", "IPAGothic", "Regular"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + "/" + c.style);
        testing::internal::CaptureStderr();
        const FontFace* face = Find(c.family, c.style);
        std::string err = testing::internal::GetCapturedStderr();
        ASSERT_NE(face, nullptr);
        EXPECT_FALSE(face->fFallback);
        EXPECT_EQ(face->szFamily, c.expectFamily);
        EXPECT_EQ(face->szStyle, c.expectStyle);
        EXPECT_EQ(err, "");
        EXPECT_EQ(Find(c.family, c.style), face) << "the face is cached";
    }
}

TEST(FontLookup, MissingFamilyIsWhatFontconfigOffersWithOneNote)
{
    testing::internal::CaptureStderr();
    const FontFace* first = Find("Qzx Missing Sans");
    const FontFace* again = Find("Qzx Missing Sans");
    const FontFace* bold = Find("Qzx Missing Sans", "Bold");
    const FontFace* other = Find("Qzx Other Missing");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(first->fFallback);
    // fontconfig's default face, not the Japanese fallback for the whole text
    EXPECT_EQ(first->szFamily, Find("sans-serif")->szFamily);
    EXPECT_NE(first->szFamily, kFallbackFontFamily);
    EXPECT_EQ(first->szRequestedFamily, "Qzx Missing Sans");
    EXPECT_EQ(again, first);
    EXPECT_TRUE(bold->fFallback);
    EXPECT_NE(err.find("using " + first->szFamily), std::string::npos) << err;
    EXPECT_EQ(CountOccurrences(err, "\"Qzx Missing Sans\""), 1) << err;
    EXPECT_EQ(CountOccurrences(err, "\"Qzx Other Missing\""), 1) << err;
    EXPECT_EQ(CountOccurrences(err, "\n"), 2) << err;
}

TEST(FontLookup, NullArgumentsAreRefused)
{
    const FontFace* face = nullptr;
    EXPECT_EQ(FindFontFace(nullptr, "", &face), kBadParameterErr);
    EXPECT_EQ(FindFontFace("DejaVu Sans", "", nullptr), kBadParameterErr);
    double a = 0, b = 0;
    EXPECT_EQ(GetFontMetrics(nullptr, "A", 1, &a, &b), kBadParameterErr);
}

TEST(FontMetrics, AdvanceAndHeightMatchTheFontFile)
{
    struct Case {
        const char* family;
        const char* utf8;
        char32_t cp;
    } cases[] = {
        {"DejaVu Sans", "A", U'A'},
        {"DejaVu Sans", "i", U'i'},
        {"IPAGothic", "A", U'A'},
        {"IPAGothic", "\xE6\xBC\xA2", U'\u6F22'},  // 漢
        {"IPAGothic", "\xE3\x81\x82", U'\u3042'},  // あ
        {"IPAGothic", "\xEF\xBD\xB1", U'\uFF71'},  // half-width katakana A
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + c.utf8);
        const FontFace* face = Find(c.family);
        ASSERT_NE(face, nullptr);
        DirectFace direct(face);
        FT_GlyphSlot g = direct.Load(c.cp);
        double em = direct.Em();
        double body = double(direct.face->ascender - direct.face->descender) / em;
        double first = -1, second = -1;
        ASSERT_EQ(GetFontMetrics(face, c.utf8, 1, &first, &second), kNoErr);
        EXPECT_DOUBLE_EQ(first, double(g->metrics.horiAdvance) / em);
        EXPECT_DOUBLE_EQ(second, double(g->metrics.height) / em);
        ASSERT_EQ(GetFontMetrics(face, c.utf8, 2, &first, &second), kNoErr);
        EXPECT_DOUBLE_EQ(first, double(g->metrics.width) / em);
        EXPECT_DOUBLE_EQ(second, body);
    }
}

TEST(FontMetrics, FullWidthKanjiIsOneEmAndHalfWidthKanaHalf)
{
    const FontFace* face = Find("IPAGothic");
    double w = 0, h = 0;
    ASSERT_EQ(GetFontMetrics(face, "\xE6\xBC\xA2", 1, &w, &h), kNoErr);
    EXPECT_NEAR(w, 1.0, 1e-9);
    ASSERT_EQ(GetFontMetrics(face, "\xEF\xBD\xB1", 1, &w, &h), kNoErr);
    EXPECT_NEAR(w, 0.5, 1e-9);
}

TEST(FontMetrics, CharacterMissingFromTheFaceComesFromTheFallback)
{
    const FontFace* latin = Find("DejaVu Sans");
    const FontFace* japanese = Find("IPAGothic");
    CharMetrics fromLatin, fromJapanese;
    ASSERT_EQ(GetCharMetrics(latin, U'\u6F22', &fromLatin), kNoErr);
    ASSERT_EQ(GetCharMetrics(japanese, U'\u6F22', &fromJapanese), kNoErr);
    EXPECT_TRUE(fromLatin.fFound);
    EXPECT_DOUBLE_EQ(fromLatin.dAdvance, fromJapanese.dAdvance);
    EXPECT_DOUBLE_EQ(fromLatin.dBodyHeight, fromJapanese.dBodyHeight);

    CharMetrics nowhere;
    ASSERT_EQ(GetCharMetrics(latin, char32_t(0x10FFFD), &nowhere), kNoErr);
    EXPECT_FALSE(nowhere.fFound);
}

TEST(FontLookup, FamiliesAreMatchedThroughFontconfigsAliases)
{
    // Debian's fontconfig offers DejaVu Sans for the family it grew out of.
    testing::internal::CaptureStderr();
    const FontFace* vera = Find("Bitstream Vera Sans");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(vera, nullptr);
    EXPECT_EQ(vera->szFamily, "DejaVu Sans");
    EXPECT_EQ(vera->pFace, Find("DejaVu Sans")->pFace);
}

TEST(FontMetrics, EachCharacterTheFaceLacksComesFromAFaceThatHasIt)
{
    // Japanese from the Japanese fallback; Hebrew and Arabic, which it lacks too, from the
    // face fontconfig offers for them; every one a real glyph with an outline, not a box.
    const FontFace* japanese = Find("IPAGothic");
    struct Case {
        const char* name;
        const FontFace* face;
        char32_t cp;
    } cases[] = {
        {"kanji in DejaVu Sans", Find("DejaVu Sans"), U'\u6F22'},
        {"alef in IPAGothic", japanese, U'\u05D0'},
        {"shin in DejaVu Serif", Find("DejaVu Serif"), U'\u05E9'},
        {"beh in IPAGothic", japanese, U'\u0628'},
        {"arabic letter meem in a missing family", Find("Qzx Missing Sans"), U'\u0645'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CharMetrics m;
        ASSERT_EQ(GetCharMetrics(c.face, c.cp, &m), kNoErr);
        EXPECT_TRUE(m.fFound);
        EXPECT_GT(m.dAdvance, 0.1);
        GlyphOutline outline;
        ASSERT_EQ(GetGlyphOutline(c.face, c.cp, 10, 1, 1, AIRealMatrix{1, 0, 0, 1, 0, 0}, &outline), kNoErr);
        ASSERT_FALSE(outline.contours.empty());
        // A missing-glyph box is one rectangle with a rectangular hole: eight corners.
        size_t anchors = 0;
        for (const GlyphContour& contour : outline.contours) anchors += contour.segments.size();
        EXPECT_NE(anchors, 8u);
    }
}

TEST(FontMetrics, OnlyTheFirstCharacterCountsAndBadCallsAreRefused)
{
    const FontFace* face = Find("DejaVu Sans");
    double a1 = 0, h1 = 0, a2 = 0, h2 = 0;
    ASSERT_EQ(GetFontMetrics(face, "W", 1, &a1, &h1), kNoErr);
    ASSERT_EQ(GetFontMetrics(face, "Wi", 1, &a2, &h2), kNoErr);
    EXPECT_EQ(a1, a2);
    EXPECT_GT(a1, 0.5);

    double a = 7, b = 7;
    ASSERT_EQ(GetFontMetrics(face, "", 1, &a, &b), kNoErr);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(GetFontMetrics(face, "A", 0, &a, &b), kBadParameterErr);
    EXPECT_EQ(GetFontMetrics(face, "A", 3, &a, &b), kBadParameterErr);
}

// Samples every cubic of an outline to find its extent.
AIRealRect CurveExtent(const GlyphOutline& o)
{
    AIRealRect r{1e300, -1e300, -1e300, 1e300};
    for (const GlyphContour& c : o.contours) {
        size_t n = c.segments.size();
        for (size_t i = 0; i < n; ++i) {
            const AIPathSegment& s1 = c.segments[i];
            const AIPathSegment& s2 = c.segments[(i + 1) % n];
            for (int k = 0; k <= 200; ++k) {
                double t = k / 200.0, u = 1 - t;
                double h = u * u * u * s1.ptAnchor.h + 3 * u * u * t * s1.ptOut.h +
                           3 * u * t * t * s2.ptIn.h + t * t * t * s2.ptAnchor.h;
                double v = u * u * u * s1.ptAnchor.v + 3 * u * u * t * s1.ptOut.v +
                           3 * u * t * t * s2.ptIn.v + t * t * t * s2.ptAnchor.v;
                r.left = std::min(r.left, h);
                r.right = std::max(r.right, h);
                r.top = std::max(r.top, v);
                r.bottom = std::min(r.bottom, v);
            }
        }
    }
    return r;
}

TEST(GlyphOutlines, LetterOIsTwoClosedContoursFollowingTheFontsCurves)
{
    struct Case {
        const char* family;
        char32_t cp;
        size_t contours;
    } cases[] = {
        {"DejaVu Sans", U'O', 2},
        {"IPAGothic", U'O', 2},
        {"DejaVu Sans", U'l', 1},
        {"DejaVu Sans", U'B', 3},
        {"DejaVu Sans", U'i', 2},
    };
    const double size = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + char(c.cp));
        const FontFace* face = Find(c.family);
        GlyphOutline outline;
        ASSERT_EQ(GetGlyphOutline(face, c.cp, size, 1, 1, kIdentity, &outline), kNoErr);
        ASSERT_EQ(outline.contours.size(), c.contours);
        for (const GlyphContour& contour : outline.contours) {
            EXPECT_TRUE(contour.fClosed);
            EXPECT_GE(contour.segments.size(), 3u);
            const AIPathSegment& a = contour.segments.front();
            const AIPathSegment& z = contour.segments.back();
            EXPECT_FALSE(a.ptAnchor.h == z.ptAnchor.h && a.ptAnchor.v == z.ptAnchor.v)
                << "the closing anchor is not repeated";
        }
        // Converted quadratics must stay on the font's curves: the exact box matches.
        DirectFace direct(face);
        FT_GlyphSlot g = direct.Load(c.cp);
        FT_BBox box;
        ASSERT_EQ(FT_Outline_Get_BBox(&g->outline, &box), 0);
        double k = size / direct.Em();
        AIRealRect r = CurveExtent(outline);
        EXPECT_NEAR(r.left, box.xMin * k, 0.01);
        EXPECT_NEAR(r.right, box.xMax * k, 0.01);
        EXPECT_NEAR(r.bottom, box.yMin * k, 0.01);
        EXPECT_NEAR(r.top, box.yMax * k, 0.01);
    }
}

TEST(GlyphOutlines, ScaleAndPlacementAreApplied)
{
    const FontFace* face = Find("DejaVu Sans");
    GlyphOutline plain, placed;
    ASSERT_EQ(GetGlyphOutline(face, U'H', 10, 1, 1, kIdentity, &plain), kNoErr);
    // Twice as wide, half as tall, then moved to (100, 50).
    ASSERT_EQ(GetGlyphOutline(face, U'H', 10, 2, 0.5, AIRealMatrix{1, 0, 0, 1, 100, 50}, &placed),
              kNoErr);
    ASSERT_EQ(plain.contours.size(), placed.contours.size());
    for (size_t c = 0; c < plain.contours.size(); ++c) {
        ASSERT_EQ(plain.contours[c].segments.size(), placed.contours[c].segments.size());
        for (size_t s = 0; s < plain.contours[c].segments.size(); ++s) {
            AIRealPoint p = plain.contours[c].segments[s].ptAnchor;
            AIRealPoint q = placed.contours[c].segments[s].ptAnchor;
            EXPECT_NEAR(q.h, 100 + 2 * p.h, 1e-9);
            EXPECT_NEAR(q.v, 50 + 0.5 * p.v, 1e-9);
        }
    }
    // H is made of straight lines only: every segment is a corner with its handles on it.
    for (const GlyphContour& c : plain.contours)
        for (const AIPathSegment& s : c.segments) EXPECT_TRUE(s.fCorner);
}

TEST(GlyphOutlines, SpaceHasNoContours)
{
    GlyphOutline outline;
    ASSERT_EQ(GetGlyphOutline(Find("DejaVu Sans"), U' ', 12, 1, 1, kIdentity, &outline), kNoErr);
    EXPECT_TRUE(outline.contours.empty());
}

TEST(TextDecoding, MalformedUnitsBecomeReplacementCharacters)
{
    struct Case {
        std::string utf8;
        std::u32string expect;
    } cases[] = {
        {"A\xE6\xBC\xA2", U"A\u6F22"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xE6\xBC", U"\uFFFD\uFFFD"},          // cut short
        {"\xC0\xAF", U"\uFFFD\uFFFD"},          // overlong
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // a surrogate
        {"\x80Z", U"\uFFFDZ"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.utf8), c.expect) << c.utf8;

    EXPECT_EQ(DecodeUtf16(u"\xD83D\xDE00x"), U"\U0001F600x");
    EXPECT_EQ(DecodeUtf16(std::u16string{char16_t(0xD800), u'x'}), U"\uFFFDx");
    EXPECT_EQ(EncodeUtf16(U"\U0001F600"), (std::u16string{char16_t(0xD83D), char16_t(0xDE00)}));
    EXPECT_EQ(EncodeUtf8(U"\u6F22\U0001F600"), "\xE6\xBC\xA2\xF0\x9F\x98\x80");
}

}  // namespace
