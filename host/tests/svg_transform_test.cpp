// Transform lists and lengths with units.
#include "host/svg/svg_source.h"

#include <gtest/gtest.h>

namespace {

TEST(SvgTransform, ListsApplyRightToLeft)
{
    const struct {
        const char* text;
        double x, y;          // a point
        double wantX, wantY;  // where the transform puts it
    } cases[] = {
        {"", 3, 4, 3, 4},
        {"translate(10)", 1, 1, 11, 1},
        {"translate(10,20)", 1, 1, 11, 21},
        {"translate(10 20)", 1, 1, 11, 21},
        {"scale(2)", 1, 3, 2, 6},
        {"scale(2,3)", 1, 1, 2, 3},
        {"rotate(90)", 1, 0, 0, 1},
        {"rotate(90,10,10)", 11, 10, 10, 11},
        {"rotate(-90 10 10)", 11, 10, 10, 9},
        {"skewX(45)", 0, 2, 2, 2},
        {"skewY(45)", 2, 0, 2, 2},
        {"matrix(1,2,3,4,5,6)", 1, 1, 9, 12},
        {"translate(10,0) scale(2)", 1, 1, 12, 2},
        {"scale(2) translate(10,0)", 1, 1, 22, 2},
        {"translate(100, 50),rotate(90)", 10, 0, 100, 60},
        {"  rotate ( 180 ) ", 1, 2, -1, -2},
    };
    for (const auto& c : cases) {
        AIRealMatrix m;
        ASSERT_TRUE(host::ParseSvgTransform(c.text, m)) << c.text;
        AIRealPoint p = host::TransformPoint(m, AIRealPoint{c.x, c.y});
        EXPECT_NEAR(p.h, c.wantX, 1e-9) << c.text;
        EXPECT_NEAR(p.v, c.wantY, 1e-9) << c.text;
    }
}

TEST(SvgTransform, SyntaxErrorsAreRefused)
{
    // And lists whose numbers are each in range but whose matrix is not.
    for (const char* text : {"rotate(", "foo(1)", "translate(1,2,3)", "matrix(1,2,3)", "scale()", "translate 10",
                             "rotate(1e308)", "scale(1e200) scale(1e200)", "skewX(1e308)", "scale(-1e308)"}) {
        AIRealMatrix m;
        EXPECT_FALSE(host::ParseSvgTransform(text, m)) << text;
    }
}

TEST(SvgTransform, LengthsInPoints)
{
    const struct {
        const char* text;
        double reference;
        double points;
    } cases[] = {
        {"96", 0, 72},       // a bare number is a CSS pixel
        {"96px", 0, 72},
        {"12pt", 0, 12},
        {"1pc", 0, 12},
        {"1in", 0, 72},
        {"25.4mm", 0, 72},
        {"2.54cm", 0, 72},
        {"210mm", 0, 595.2755905511812},
        {"50%", 300, 150},
        {" 10 ", 0, 7.5},
    };
    for (const auto& c : cases) {
        double points = -1;
        ASSERT_TRUE(host::ParseSvgLength(c.text, c.reference, points)) << c.text;
        EXPECT_NEAR(points, c.points, 1e-9) << c.text;
    }
    double points;
    // Numbers a double holds but whose length in points it does not hold are refused too.
    for (const char* bad : {"", "mm", "10furlongs", "abc", "1e308in", "-1e308pc"})
        EXPECT_FALSE(host::ParseSvgLength(bad, 0, points)) << bad;
}

TEST(SvgTransform, MatrixInverseAndConcatenation)
{
    AIRealMatrix m{2, 1, -1, 3, 5, 7};
    AIRealMatrix inverse;
    ASSERT_TRUE(host::InvertMatrix(m, inverse));
    AIRealMatrix both = host::ConcatMatrix(m, inverse);
    EXPECT_NEAR(both.a, 1, 1e-12);
    EXPECT_NEAR(both.b, 0, 1e-12);
    EXPECT_NEAR(both.c, 0, 1e-12);
    EXPECT_NEAR(both.d, 1, 1e-12);
    EXPECT_NEAR(both.tx, 0, 1e-12);
    EXPECT_NEAR(both.ty, 0, 1e-12);
    EXPECT_FALSE(host::InvertMatrix(AIRealMatrix{1, 2, 2, 4, 0, 0}, inverse));
}

}  // namespace
