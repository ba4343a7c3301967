// The view's canvas and its drawing contexts: inverting lines that restore the canvas when
// drawn twice, lines without their last pixel, and the window layout around the canvas.
#include "host/view/view_canvas.h"

#include "host/document/document.h"
#include "host/view/document_view_suite.h"
#include "host/session/host_session.h"

#include <gtest/gtest.h>

namespace {

const AIDocumentViewSuite* V() { return HostDocumentViewSuite(); }

class ViewCanvas : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetHostView();
        SetHostViewSize(40, 30);
        document.fileName = "/some/folder/drawing.svg";
        host::TheSession().document = &document;
        host::ResetViewCanvas();
        ASSERT_EQ(V()->GetDocumentViewCanvas(nullptr, &canvas), kNoErr);
        ASSERT_EQ(V()->GetWindowContext(canvas, &context), kNoErr);
    }
    void TearDown() override
    {
        V()->ReleaseWindowContext(context);
        host::TheSession().document = nullptr;
        ResetHostView();
        host::ResetViewCanvas();
    }

    long BlackPixels()
    {
        long n = 0;
        const QImage& image = host::ViewCanvas();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFFu) == 0;
        return n;
    }
    bool Black(int x, int y) { return (host::ViewCanvas().pixel(x, y) & 0xFFFFFFu) == 0; }

    void Rectangle(int l, int t, int r, int b)
    {
        V()->MoveContextTo(context, l, t);
        V()->LineContextTo(context, r, t);
        V()->LineContextTo(context, r, b);
        V()->LineContextTo(context, l, b);
        V()->LineContextTo(context, l, t);
    }

    host::Document document;
    AIWindowHandle canvas = nullptr;
    AIDrawingContext context = nullptr;
};

TEST_F(ViewCanvas, LinesLeaveOutTheirLastPixel)
{
    const struct {
        int x0, y0, x1, y1;
        long pixels;
    } cases[] = {{2, 3, 12, 3, 10}, {5, 20, 5, 4, 16}, {1, 1, 9, 5, 8}, {7, 7, 7, 7, 0}, {-5, 2, 3, 2, 3}};
    for (const auto& c : cases) {
        host::ResetViewCanvas();
        V()->MoveContextTo(context, c.x0, c.y0);
        ASSERT_EQ(V()->LineContextTo(context, c.x1, c.y1), kNoErr);
        EXPECT_EQ(BlackPixels(), c.pixels) << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
        if (c.pixels > 0 && c.x0 >= 0) {
            EXPECT_TRUE(Black(c.x0, c.y0));
        }
        EXPECT_FALSE(Black(c.x1, c.y1)) << "the last pixel";
    }
}

TEST_F(ViewCanvas, InvertingRectangleDrawnTwiceRestoresTheCanvas)
{
    int32_t previous = 0;
    ASSERT_EQ(V()->SetContextRasterOp(context, kRasterOpNot, &previous), kNoErr);
    EXPECT_EQ(previous, kRasterOpCopyPen);
    Rectangle(5, 5, 20, 15);
    EXPECT_EQ(BlackPixels(), 2 * 16 + 2 * 11 - 4) << "every outline pixel once, corners too";
    EXPECT_TRUE(Black(20, 15));
    Rectangle(5, 5, 20, 15);
    EXPECT_EQ(BlackPixels(), 0);

    // with the copying operation a second rectangle leaves the first as it was
    V()->SetContextRasterOp(context, kRasterOpCopyPen, nullptr);
    Rectangle(5, 5, 20, 15);
    Rectangle(5, 5, 20, 15);
    EXPECT_EQ(BlackPixels(), 2 * 16 + 2 * 11 - 4);
}

TEST_F(ViewCanvas, WindowsAroundTheCanvasAndBadHandles)
{
    AIWindowHandle window = nullptr;
    ASSERT_EQ(V()->GetTopWindow(&window), kNoErr);
    std::vector<std::string> titles;
    char title[64];
    while (window != nullptr) {
        ASSERT_EQ(V()->GetWindowTitle(window, title, sizeof title), kNoErr);
        titles.push_back(title);
        ASSERT_EQ(V()->GetNextWindow(window, &window), kNoErr);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Tools", "Layers", "drawing.svg @ 100% (RGB/Preview)"}));

    // the document window's last pane is the canvas
    ASSERT_EQ(V()->GetTopWindow(&window), kNoErr);
    V()->GetNextWindow(window, &window);
    V()->GetNextWindow(window, &window);
    AIWindowHandle pane = nullptr;
    ASSERT_EQ(V()->GetFirstChildWindow(window, &pane), kNoErr);
    AIWindowHandle last = nullptr;
    while (pane != nullptr) {
        last = pane;
        ASSERT_EQ(V()->GetNextWindow(pane, &pane), kNoErr);
    }
    EXPECT_EQ(last, canvas);

    // a title cut short never ends inside a character
    document.fileName = "図面.svg";
    ASSERT_EQ(V()->GetWindowTitle(window, title, 5), kNoErr);
    EXPECT_STREQ(title, "図");

    AIDrawingContext bad = nullptr;
    EXPECT_EQ(V()->GetWindowContext(nullptr, &bad), kBadParameterErr);
    AIDrawingContext second = nullptr;
    ASSERT_EQ(V()->GetWindowContext(canvas, &second), kNoErr);
    EXPECT_EQ(V()->ReleaseWindowContext(second), kNoErr);
    EXPECT_EQ(V()->ReleaseWindowContext(second), kBadParameterErr) << "released already";
    EXPECT_EQ(V()->LineContextTo(second, 1, 1), kBadParameterErr);
    EXPECT_EQ(V()->SetContextRasterOp(context, 99, nullptr), kBadParameterErr);

    // without a document there is no document window and no canvas
    host::TheSession().document = nullptr;
    EXPECT_EQ(V()->GetNextWindow(window, &pane), kBadParameterErr);
    EXPECT_EQ(V()->GetDocumentViewCanvas(nullptr, &pane), kBadParameterErr);
    ASSERT_EQ(V()->GetTopWindow(&window), kNoErr);
    ASSERT_EQ(V()->GetNextWindow(window, &window), kNoErr);
    ASSERT_EQ(V()->GetNextWindow(window, &window), kNoErr);
    EXPECT_EQ(window, nullptr) << "only the two panels";
}

}  // namespace
