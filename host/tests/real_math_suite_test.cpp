#include "host/suites/real_math_suite.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const AIRealMathSuite* M() { return HostRealMathSuite(); }

void ExpectRect(const AIRealRect& r, double left, double top, double right, double bottom)
{
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.right, right);
    EXPECT_DOUBLE_EQ(r.bottom, bottom);
}

TEST(HostRealMath, InsetMovesEverySideInwardAndNegativeGrows)
{
    AIRealRect r = {0, 10, 20, 0};  // left, top, right, bottom; v upward
    M()->AIRealRectInset(&r, 1, 2);
    ExpectRect(r, 1, 8, 19, 2);
    M()->AIRealRectInset(&r, -3, -3);
    ExpectRect(r, -2, 11, 22, -1);
}

TEST(HostRealMath, IntersectionOverlapAndEmptiness)
{
    struct Case {
        const char* name;
        AIRealRect b;
        ASBoolean common;
    };
    const AIRealRect a = {0, 10, 10, 0};
    const Case cases[] = {
        {"crossing", {5, 15, 15, 5}, 1},
        {"inside", {2, 8, 8, 2}, 1},
        {"sharing the right edge", {10, 10, 20, 0}, 0},
        {"sharing the bottom edge", {0, 0, 10, -5}, 0},
        {"apart", {11, 10, 20, 0}, 0},
        {"a flat line through it", {-5, 5, 15, 5}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AIRealRect out = {};
        EXPECT_EQ(M()->AIRealRectIntersect(&a, &c.b, &out), c.common);
        EXPECT_EQ(M()->AIRealRectEmpty(&out), c.common ? 0 : 1);
        EXPECT_EQ(M()->AIRealRectOverlap(&a, &c.b), c.common);
        EXPECT_EQ(M()->AIRealRectOverlap(&c.b, &a), c.common);
    }
    AIRealRect out = {};
    const AIRealRect b = {5, 15, 15, 5};
    M()->AIRealRectIntersect(&a, &b, &out);
    ExpectRect(out, 5, 10, 10, 5);
    M()->AIRealRectUnion(&a, &b, &out);
    ExpectRect(out, 0, 15, 15, 0);
    EXPECT_EQ(M()->AIRealRectEqual(&a, &a), 1);
    EXPECT_EQ(M()->AIRealRectEqual(&a, &b), 0);
    const AIRealRect upsideDown = {0, 0, 10, 10};
    EXPECT_EQ(M()->AIRealRectEmpty(&upsideDown), 1);
}

TEST(HostRealMath, PointsInRectanglesAndEquality)
{
    struct Case {
        AIRealPoint p;
        ASBoolean inside;
    };
    const AIRealRect r = {0, 10, 10, 0};
    const Case cases[] = {
        {{5, 5}, 1}, {{0, 0}, 1}, {{10, 10}, 1}, {{10.001, 5}, 0}, {{5, -0.001}, 0}, {{5, 10.001}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.h << "," << c.p.v);
        EXPECT_EQ(M()->AIRealPointInRect(&c.p, &r), c.inside);
    }
    const AIRealPoint a = {1, 2};
    const AIRealPoint b = {1, 2.0000001};
    EXPECT_EQ(M()->AIRealPointEqual(&a, &a), 1);
    EXPECT_EQ(M()->AIRealPointEqual(&a, &b), 0);
    EXPECT_EQ(M()->AIRealPointClose(&a, &b, 0.001), 1);
    EXPECT_EQ(M()->AIRealAdd(0.25, 0.5), 0.75);
}

TEST(HostRealMath, MatricesConcatenateInTheOrderApplied)
{
    AIRealMatrix move, turn, both;
    M()->AIRealMatrixSetTranslate(&move, 1, 0);
    M()->AIRealMatrixSetRotate(&turn, M_PI / 2);
    const AIRealPoint p = {1, 0};
    AIRealPoint q = {};

    M()->AIRealMatrixConcat(&move, &turn, &both);  // move, then turn
    M()->AIRealMatrixXformPoint(&both, &p, &q);
    EXPECT_NEAR(q.h, 0, 1e-12);
    EXPECT_NEAR(q.v, 2, 1e-12);

    M()->AIRealMatrixConcat(&turn, &move, &both);  // turn, then move
    M()->AIRealMatrixXformPoint(&both, &p, &q);
    EXPECT_NEAR(q.h, 1, 1e-12);
    EXPECT_NEAR(q.v, 1, 1e-12);

    EXPECT_NEAR(M()->AIRealMatrixGetRotate(&turn), M_PI / 2, 1e-12);

    AIRealMatrix inverse;
    ASSERT_EQ(M()->AIRealMatrixInvert(&both, &inverse), 1);
    AIRealPoint back = q;
    M()->AIRealMatrixXformPoint(&inverse, &back, &back);  // in place
    EXPECT_NEAR(back.h, 1, 1e-12);
    EXPECT_NEAR(back.v, 0, 1e-12);

    AIRealMatrix flat, untouched;
    M()->AIRealMatrixSetScale(&flat, 2, 0);
    M()->AIRealMatrixSetIdentity(&untouched);
    EXPECT_EQ(M()->AIRealMatrixInvert(&flat, &untouched), 0);
    EXPECT_EQ(M()->AIRealMatrixIsIdentity(&untouched), 1);
    EXPECT_EQ(M()->AIRealMatrixIsIdentity(&flat), 0);
}

} // namespace
