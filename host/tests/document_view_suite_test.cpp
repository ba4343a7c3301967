#include "host/view/document_view_suite.h"

#include <gtest/gtest.h>

namespace {

const AIDocumentViewSuite* V() { return HostDocumentViewSuite(); }

class HostDocumentView : public ::testing::Test {
protected:
    void SetUp() override { ResetHostView(); }
    void TearDown() override { ResetHostView(); }
};

TEST_F(HostDocumentView, OneViewAtZoomOneUntilSet)
{
    int32_t count = -1;
    ASSERT_EQ(V()->CountDocumentViews(&count), kNoErr);
    EXPECT_EQ(count, 1);
    AIDocumentViewHandle view = nullptr;
    ASSERT_EQ(V()->GetNthDocumentView(0, &view), kNoErr);
    ASSERT_NE(view, nullptr);
    AIReal zoom = 0;
    ASSERT_EQ(V()->GetDocumentViewZoom(view, &zoom), kNoErr);
    EXPECT_EQ(zoom, 1);
    EXPECT_NE(V()->GetNthDocumentView(1, &view), kNoErr);

    SetHostViewZoom(4);
    ASSERT_EQ(V()->GetDocumentViewZoom(nullptr, &zoom), kNoErr);  // null is the first view
    EXPECT_EQ(zoom, 4);
    EXPECT_EQ(HostViewZoom(), 4);

    EXPECT_NE(V()->SetDocumentViewZoom(view, 0), kNoErr);
    EXPECT_NE(V()->SetDocumentViewZoom(view, -2), kNoErr);
    EXPECT_EQ(V()->SetDocumentViewZoom(view, 0.5), kNoErr);
    EXPECT_EQ(HostViewZoom(), 0.5);
}

TEST_F(HostDocumentView, WithoutADocumentEveryQueryFails)
{
    SetHostViewCount(0);
    int32_t count = -1;
    ASSERT_EQ(V()->CountDocumentViews(&count), kNoErr);
    EXPECT_EQ(count, 0);
    AIDocumentViewHandle view = nullptr;
    EXPECT_NE(V()->GetNthDocumentView(0, &view), kNoErr);
    AIReal zoom = 0;
    EXPECT_NE(V()->GetDocumentViewZoom(nullptr, &zoom), kNoErr);
    AIPoint pixel = {};
    const AIRealPoint art = {0, 0};
    EXPECT_NE(V()->ArtworkPointToViewPoint(nullptr, &art, &pixel), kNoErr);
}

TEST_F(HostDocumentView, ArtworkPointsMapToPixelsGrowingDownward)
{
    struct Case {
        double zoom;
        AIRealPoint art;
        AIPoint pixel;
    };
    const Case cases[] = {
        {1, {100, 800}, {0, 0}},
        {1, {110, 790}, {10, 10}},
        {2, {110, 790}, {20, 20}},
        {1, {100.4, 800}, {0, 0}},
        {1, {100.6, 800}, {1, 0}},
        {1, {99.4, 800.4}, {-1, 0}},
        {1, {99.6, 800.6}, {0, -1}},
        {0.5, {300, 600}, {100, 100}},
    };
    SetHostViewOrigin(AIRealPoint{100, 800});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " at " << c.art.h << "," << c.art.v);
        SetHostViewZoom(c.zoom);
        AIPoint pixel = {-99, -99};
        ASSERT_EQ(V()->ArtworkPointToViewPoint(nullptr, &c.art, &pixel), kNoErr);
        EXPECT_EQ(pixel.h, c.pixel.h);
        EXPECT_EQ(pixel.v, c.pixel.v);
    }
    SetHostViewZoom(2);
    const AIPoint pixel = {20, 20};
    AIRealPoint art = {};
    ASSERT_EQ(V()->ViewPointToArtworkPoint(nullptr, &pixel, &art), kNoErr);
    EXPECT_EQ(art.h, 110);
    EXPECT_EQ(art.v, 790);

    AIRealRect bounds = {};
    SetHostViewSize(800, 600);
    ASSERT_EQ(V()->GetDocumentViewBounds(nullptr, &bounds), kNoErr);
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.top, 800);
    EXPECT_EQ(bounds.right, 500);
    EXPECT_EQ(bounds.bottom, 500);
}

TEST_F(HostDocumentView, PixelsOutsideTheIntegerRangeAreRefused)
{
    SetHostViewZoom(1e6);
    const AIRealPoint far = {1e6, 0};
    AIPoint pixel = {};
    EXPECT_NE(V()->ArtworkPointToViewPoint(nullptr, &far, &pixel), kNoErr);
    SetHostViewZoom(0);
    const AIPoint origin = {0, 0};
    AIRealPoint art = {};
    EXPECT_NE(V()->ViewPointToArtworkPoint(nullptr, &origin, &art), kNoErr);
}

} // namespace
