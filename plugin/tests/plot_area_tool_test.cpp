// The plot-area tool against the real host: tracking, the inverting band on the view's
// canvas compared pixel for pixel, and the placement on mouse up.
#include "plugin/records/plot_area_tool.h"

#include "plugin/records/configuration_layer.h"
#include "plugin/tests/plot_area_test_host.h"
#include "plugin/entry/plugin_handlers.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

namespace {

using plotareatest::Page;

AIToolHandle const kOurTool = reinterpret_cast<AIToolHandle>(0x5001);
AIToolHandle const kOtherTool = reinterpret_cast<AIToolHandle>(0x5002);

// At the cursor (100, 100), with the view's top-left at (0, 600), these lie in view pixels
// (left, top, right, bottom): page 100, 359, 383, 500 and paper 71, 331, 411, 529.
const IntRect kPagePixels = {100, 359, 383, 500};
const IntRect kPaperPixels = {71, 331, 411, 529};

class PlotAreaTool : public plotareatest::PlotAreaHost {
protected:
    void SetUp() override
    {
        PlotAreaHost::SetUp();
        SetHostViewOrigin(AIRealPoint{0, 600});
        host::ResetViewCanvas();
        g->ahTool[0] = kOurTool;
        SetRegistryPage(Page(10000, {0, 0, 100, 50}, {-10, -10, 110, 60}));
    }

    ASErr Send(ASErr (*handler)(AIToolMessage*), double h = 0, double v = 0, AIToolHandle tool = kOurTool)
    {
        AIToolMessage message = {};
        message.tool = tool;
        message.cursor = AIRealPoint{h, v};
        return handler(&message);
    }

    // Pixels where the canvas differs from white with the outlines of rects inverted.
    long DiffersFromBands(const std::vector<IntRect>& rects)
    {
        const QImage& canvas = host::ViewCanvas();
        QImage want(canvas.size(), QImage::Format_RGB32);
        want.fill(Qt::white);
        for (const IntRect& r : rects)
            for (int y = r.top; y <= r.bottom; ++y)
                for (int x = r.left; x <= r.right; ++x)
                    if (x == r.left || x == r.right || y == r.top || y == r.bottom)
                        want.setPixel(x, y, want.pixel(x, y) ^ 0xFFFFFFu);
        long differ = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if ((canvas.pixel(x, y) & 0xFFFFFFu) != (want.pixel(x, y) & 0xFFFFFFu))
                    ++differ;
        return differ;
    }

    void StartTracking()
    {
        Send(HandleToolSelect);
        Send(HandleToolMouseDown, 0, 0);
        ASSERT_EQ(g->wTrackState, 1);
    }
};

TEST_F(PlotAreaTool, DragToTheStoredPointDrawsNothing)
{
    StartTracking();
    EXPECT_EQ(Send(HandleToolMouseDrag, 0, 0), kNoErr);
    EXPECT_EQ(Send(HandleToolTrackCursor, 0, 0), kNoErr);
    EXPECT_EQ(g->fBandDrawn, 0);
    EXPECT_EQ(DiffersFromBands({}), 0);
}

TEST_F(PlotAreaTool, DragDrawsThePageAndPaperBand)
{
    StartTracking();
    Send(HandleToolMouseDrag, 100, 100);
    EXPECT_EQ(g->ptCursor.h, 100);
    EXPECT_EQ(g->ptCursor.v, 100);
    EXPECT_EQ(g->fBandDrawn, 1);
    EXPECT_EQ(g->rBandPage.left, kPagePixels.left);
    EXPECT_EQ(g->rBandPage.top, kPagePixels.top);
    EXPECT_EQ(g->rBandPaper.right, kPaperPixels.right);
    EXPECT_EQ(g->rBandPaper.bottom, kPaperPixels.bottom);
    EXPECT_EQ(DiffersFromBands({kPagePixels, kPaperPixels}), 0);
    EXPECT_EQ(host::CountWindowContexts(), 0) << "the drawing context is released";
}

TEST_F(PlotAreaTool, EachBandErasesTheOneBefore)
{
    StartTracking();
    Send(HandleToolMouseDrag, 100, 100);
    Send(HandleToolMouseDrag, 140, 90);
    Send(HandleToolTrackCursor, 100, 100);
    EXPECT_EQ(DiffersFromBands({kPagePixels, kPaperPixels}), 0);

    // a second band at the same point erases the first and draws it again
    DrawPlotAreaFeedback();
    EXPECT_EQ(DiffersFromBands({kPagePixels, kPaperPixels}), 0);
}

TEST_F(PlotAreaTool, CoincidingRectanglesDrawOneRectangle)
{
    SetRegistryPage(Page(10000, {0, 0, 100, 50}, {0, 0, 100, 50}));
    StartTracking();
    Send(HandleToolMouseDrag, 100, 100);
    EXPECT_EQ(DiffersFromBands({kPagePixels}), 0) << "drawn twice it would vanish";
    Send(HandleToolMouseDrag, 140, 90);
    Send(HandleToolMouseDrag, 100, 100);
    EXPECT_EQ(DiffersFromBands({kPagePixels}), 0) << "the erase draws one rectangle too";
}

TEST_F(PlotAreaTool, NoBandWithoutAUsablePageRecord)
{
    StartTracking();
    Send(HandleToolMouseDrag, 100, 100);
    SetRegistryPage(Page(0, {0, 0, 100, 50}, {-10, -10, 110, 60}));
    Send(HandleToolMouseDrag, 140, 90);
    EXPECT_EQ(g->fBandDrawn, 1);
    EXPECT_EQ(g->rBandPage.left, kPagePixels.left) << "the band on the screen is still the old one";
    EXPECT_EQ(DiffersFromBands({kPagePixels, kPaperPixels}), 0);

    Send(HandleToolSelect);
    host::ResetViewCanvas();
    Send(HandleToolMouseDown, 0, 0);
    Send(HandleToolMouseDrag, 100, 100);
    EXPECT_EQ(g->fBandDrawn, 0);
    EXPECT_EQ(DiffersFromBands({}), 0);
}

TEST_F(PlotAreaTool, NoBandOutsideTrackingForOtherToolsOrWithoutADocument)
{
    Send(HandleToolSelect);
    Send(HandleToolTrackCursor, 100, 100);   // hovering before the button goes down
    EXPECT_EQ(g->ptCursor.h, 100);
    Send(HandleToolMouseDown, 0, 0, kOtherTool);
    EXPECT_EQ(g->wTrackState, 0);
    Send(HandleToolMouseDown, 0, 0);
    Send(HandleToolMouseDrag, 120, 100, kOtherTool);
    EXPECT_EQ(g->ptCursor.h, 120) << "another tool's point is stored";
    EXPECT_EQ(g->fBandDrawn, 0) << "but draws no band";

    host::TheSession().document = nullptr;
    EXPECT_EQ(FindDocumentCanvasWindow(), nullptr);
    Send(HandleToolMouseDrag, 100, 100);
    EXPECT_EQ(g->fBandDrawn, 0);
    EXPECT_EQ(DiffersFromBands({}), 0);
}

TEST_F(PlotAreaTool, CanvasIsFoundAmongTheDocumentWindowsPanes)
{
    AIWindowHandle canvas = FindDocumentCanvasWindow();
    ASSERT_NE(canvas, nullptr);
    AIWindowHandle viewCanvas = nullptr;
    ASSERT_EQ(sAIDocumentView->GetDocumentViewCanvas(nullptr, &viewCanvas), kNoErr);
    EXPECT_EQ(canvas, viewCanvas);
    EXPECT_EQ(CountFollowingSiblings(canvas), 0);
    AIWindowHandle top = nullptr;
    ASSERT_EQ(sAIDocumentView->GetTopWindow(&top), kNoErr);
    EXPECT_EQ(CountFollowingSiblings(top), 2) << "two panels, then the document window";
    EXPECT_EQ(CountFollowingSiblings(nullptr), 0);
}

TEST_F(PlotAreaTool, MouseUpWithoutMouseDownDoesNothing)
{
    Send(HandleToolSelect);
    Send(HandleToolMouseDrag, 100, 100);
    Send(HandleToolMouseUp, 100, 100);
    EXPECT_EQ(ConfigLayer(), nullptr);
    EXPECT_EQ(g->ptCursor.h, 100);
    EXPECT_EQ(g->pPageSetup, nullptr);
}

TEST_F(PlotAreaTool, MouseUpPlacesThePlotAreaInEitherLanguage)
{
    const struct {
        int16_t language;
        const char* undo;
        const char* redo;
    } cases[] = {
        {0, "プロット領域の取り消し", "プロット領域のやり直し"},
        {1, "Undo Plot Area", "Redo Plot Area"},
        {2, "Undo Plot Area", "Redo Plot Area"},
    };
    for (const auto& c : cases) {
        g->iLanguage = c.language;
        StartTracking();
        Send(HandleToolMouseDrag, 140, 90);
        Send(HandleToolMouseDrag, 100, 100);
        Send(HandleToolMouseUp, 100, 100);

        EXPECT_EQ(g->wTrackState, 0);
        EXPECT_EQ(g->ptCursor.h, 0);
        EXPECT_EQ(g->ptCursor.v, 0);
        EXPECT_EQ(g->fBandDrawn, 0);
        EXPECT_EQ(g->rBandPage.right, 0);
        EXPECT_EQ(g->rPageArea.left, 100);
        EXPECT_EQ(g->rPageArea.bottom, 100);
        EXPECT_EQ(g->rPageArea.top, 241);
        EXPECT_EQ(g->rPaperArea.left, 71);

        std::vector<host::Art*> paths = ConfigPaths();
        ASSERT_EQ(paths.size(), 2u) << "rebuilt, not added to";
        EXPECT_EQ(paths[0]->segments[3].ptAnchor.h, 100);
        EXPECT_EQ(paths[0]->segments[3].ptAnchor.v, 100);
        EXPECT_FALSE(ConfigLayer()->fEditable);
        EXPECT_EQ(CountRecords("TRVX_2"), 1);
        EXPECT_EQ(CountRecords("TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 00000000590200006400"), 1)
            << "the page record: orientation 0, size 601, width 100";
        EXPECT_EQ(host::HostUndoText(), c.undo);
        EXPECT_EQ(host::HostRedoText(), c.redo);
        // the band last drawn stays on the screen until the host repaints
        EXPECT_EQ(DiffersFromBands({kPagePixels, kPaperPixels}), 0);
        host::ResetViewCanvas();
    }
}

}  // namespace

namespace {

// What a placement could change in the document: both rectangles' corners, the page
// record, the layer's lock, the undo text.
struct PlacedState {
    std::vector<AIRealPoint> corners;
    std::vector<std::string> records;
    bool fEditable = false;
    std::string undo;
};

class RefusedPlacement : public PlotAreaTool {
protected:
    PlacedState Snapshot()
    {
        PlacedState state;
        for (host::Art* path : ConfigPaths())
            for (const AIPathSegment& s : path->segments)
                state.corners.push_back(s.ptAnchor);
        if (host::Layer* layer = ConfigLayer()) {
            state.fEditable = layer->fEditable;
            for (host::Art* child : layer->group->children)
                if (child->type == host::ArtType::TextFrame)
                    state.records.push_back(RecordText(child));
        }
        state.undo = host::HostUndoText();
        return state;
    }

    void ExpectSame(const PlacedState& got, const PlacedState& want, const std::string& label)
    {
        ASSERT_EQ(got.corners.size(), want.corners.size()) << label;
        for (size_t i = 0; i < want.corners.size(); ++i) {
            EXPECT_EQ(got.corners[i].h, want.corners[i].h) << label << ": corner " << i;
            EXPECT_EQ(got.corners[i].v, want.corners[i].v) << label << ": corner " << i;
        }
        EXPECT_EQ(got.records, want.records) << label << ": the page record";
        EXPECT_EQ(got.fEditable, want.fEditable) << label << ": the layer's lock";
        EXPECT_EQ(got.undo, want.undo) << label;
    }
};

TEST_F(RefusedPlacement, RefusedPageRecordLeavesThePlacedPlotAreaOnMouseUpAndAfterConfigurationOk)
{
    const struct {
        const char* name;
        int32_t scale;
        PageRect page;
    } records[] = {
        {"scale 0", 0, {0, 0, 100, 50}},
        {"negative scale", -10000, {0, 0, 100, 50}},
        {"corners beyond 32-bit numbers", 1, {0, 0, 100000, 50}},
    };
    const char* const routes[] = {"mouse up", "configuration OK"};
    for (const auto& record : records) {
        for (const auto& route : routes) {
            const std::string label = std::string(record.name) + ", " + route;
            SetRegistryPage(Page(10000, {0, 0, 100, 50}, {-10, -10, 110, 60}));
            g->iLanguage = 0;
            StartTracking();
            Send(HandleToolMouseDrag, 100, 100);
            Send(HandleToolMouseUp, 100, 100);
            const PlacedState placed = Snapshot();
            // a placement now would name the undo step in English
            g->iLanguage = 1;
            ASSERT_EQ(placed.corners.size(), 8u) << label;
            ASSERT_FALSE(placed.fEditable) << label;

            SetRegistryPage(Page(record.scale, record.page, record.page));
            if (route == routes[0]) {
                StartTracking();
                Send(HandleToolMouseDrag, 300, 250);
                Send(HandleToolMouseUp, 300, 250);
            } else {
                ApplyPageSetupToPlotArea();
            }
            ExpectSame(Snapshot(), placed, label);
            EXPECT_EQ(g->wTrackState, 0) << label;
        }
    }
}

}  // namespace
