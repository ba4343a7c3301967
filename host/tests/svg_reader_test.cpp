// Drawings from common editors read into layers and art, coordinates in points checked by
// hand: a millimetre is 72 / 25.4 points, a CSS pixel 0.75 points, v grows upward.
#include "host/tests/svg_test_support.h"
#include "host/svg/svg_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using host::Art;
using host::ArtType;
using host::Document;
using svgtest::FindArt;

constexpr double kMm = 72.0 / 25.4;
constexpr double kA4Height = 297 * kMm;

struct Anchor {
    double h, v;
};

void ExpectAnchors(const Art* art, const std::vector<Anchor>& want, const std::string& what)
{
    ASSERT_NE(art, nullptr) << what;
    ASSERT_EQ(art->segments.size(), want.size()) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(art->segments[i].ptAnchor.h, want[i].h, 1e-9) << what << " anchor " << i;
        EXPECT_NEAR(art->segments[i].ptAnchor.v, want[i].v, 1e-9) << what << " anchor " << i;
    }
}

// Millimetres on an A4 page to artwork points.
Anchor Mm(double x, double y)
{
    return Anchor{x * kMm, kA4Height - y * kMm};
}

class SampleDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("sample.svg"), doc, error)) << error;
    }
    Document doc;
};

TEST_F(SampleDrawing, InkscapeLayersFromTheTopDown)
{
    EXPECT_NEAR(doc.width, 210 * kMm, 1e-9);
    EXPECT_NEAR(doc.height, kA4Height, 1e-9);
    ASSERT_EQ(host::CountLayers(doc), 4);
    const char* titles[] = {"Label", "Marks", "Cutter", "Pen lines"};
    for (int i = 0; i < 4; ++i) {
        host::Layer* layer = host::NthLayer(doc, i);
        EXPECT_EQ(layer->title, titles[i]);
        EXPECT_TRUE(layer->fVisible && layer->fEditable && layer->fPreview && layer->fPrinted) << titles[i];
    }
    // The last element of a group is the topmost, so it comes first.
    host::Layer* pens = host::NthLayer(doc, 3);
    EXPECT_EQ(host::FirstChild(pens->group)->name, "hatch");
    EXPECT_EQ(host::LastChild(pens->group)->name, "frame");
    EXPECT_FALSE(doc.fChanged);
}

TEST_F(SampleDrawing, ShapesInPoints)
{
    Art* frame = FindArt(doc, "frame");
    ExpectAnchors(frame, {Mm(20, 20), Mm(190, 20), Mm(190, 80), Mm(20, 80)}, "frame");
    EXPECT_TRUE(frame->fClosed);
    EXPECT_TRUE(frame->style.fStrokePaint);
    EXPECT_FALSE(frame->style.fFillPaint);
    EXPECT_NEAR(frame->style.strokeWidth, 0.5 * kMm, 1e-9);

    Art* wave = FindArt(doc, "wave");
    ExpectAnchors(wave, {Mm(30, 50), Mm(90, 50), Mm(150, 50)}, "wave");
    EXPECT_NEAR(wave->segments[1].ptIn.h, Mm(70, 65).h, 1e-9);
    EXPECT_NEAR(wave->segments[1].ptIn.v, Mm(70, 65).v, 1e-9);
    EXPECT_NEAR(wave->segments[1].ptOut.h, Mm(110, 35).h, 1e-9);  // reflected by S
    EXPECT_NEAR(wave->segments[1].ptOut.v, Mm(110, 35).v, 1e-9);
    EXPECT_FALSE(wave->segments[1].fCorner);
    EXPECT_NEAR(wave->style.strokeColor.blue, 1, 1e-12);

    ExpectAnchors(FindArt(doc, "baseline"), {Mm(30, 70), Mm(180, 70)}, "line");
    ExpectAnchors(FindArt(doc, "peak"), {Mm(155, 65), Mm(165, 30), Mm(175, 65)}, "polyline");
    EXPECT_FALSE(FindArt(doc, "peak")->fClosed);
    EXPECT_TRUE(FindArt(doc, "star")->fClosed);
    EXPECT_EQ(FindArt(doc, "star")->segments.size(), 10u);

    Art* dashed = FindArt(doc, "dashed");
    ASSERT_EQ(dashed->style.dashArray.size(), 2u);
    EXPECT_NEAR(dashed->style.dashArray[0], 2 * kMm, 1e-9);
    EXPECT_NEAR(dashed->style.dashArray[1], 1 * kMm, 1e-9);

    // A path of three subpaths inside a moved group: a compound path of three paths.
    Art* hatch = FindArt(doc, "hatch-lines");
    ASSERT_EQ(hatch->type, ArtType::CompoundPath);
    ASSERT_EQ(hatch->children.size(), 3u);
    ExpectAnchors(hatch->children[0], {Mm(30, 85), Mm(40, 95)}, "hatch member");
    EXPECT_EQ(FindArt(doc, "hatch")->type, ArtType::Group);

    // Circle and ellipse: four smooth anchors from the right-hand end, round the way SVG draws.
    ExpectAnchors(FindArt(doc, "disc"), {Mm(110, 130), Mm(90, 150), Mm(70, 130), Mm(90, 110)}, "circle");
    ExpectAnchors(FindArt(doc, "oval"), {Mm(180, 130), Mm(150, 145), Mm(120, 130), Mm(150, 115)}, "ellipse");
    // Rounded rectangle: eight anchors where the corners meet the sides.
    Art* badge = FindArt(doc, "badge");
    ExpectAnchors(badge, {Mm(35, 110), Mm(85, 110), Mm(90, 115), Mm(90, 145), Mm(85, 150), Mm(35, 150), Mm(30, 145),
                          Mm(30, 115)}, "rounded rect");
    // The arc over the arch passes its top at (140, 180).
    ExpectAnchors(FindArt(doc, "arch"), {Mm(120, 200), Mm(140, 180), Mm(160, 200), Mm(160, 220), Mm(120, 220)}, "arch");
}

TEST_F(SampleDrawing, CurveBoundsReachTheExtremesOnly)
{
    // The wave's crests lie inside its segments, well short of its control points.
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(FindArt(doc, "wave"), r));
    EXPECT_NEAR(r.left, 30 * kMm, 1e-9);
    EXPECT_NEAR(r.right, 150 * kMm, 1e-9);
    // First segment: y(t) = 50 - 45 t + 135 t^2 - 90 t^3, lowest on the page (largest y) at
    // t = (3 + sqrt 3) / 6. Second (after S): controls at y 35 and 35, highest y 38.75 at t = 1/2.
    double t = (3 + std::sqrt(3.0)) / 6;
    double yLow = 50 - 45 * t + 135 * t * t - 90 * t * t * t;
    EXPECT_NEAR(r.bottom, kA4Height - yLow * kMm, 1e-9);
    EXPECT_NEAR(r.top, kA4Height - 38.75 * kMm, 1e-9);
    ASSERT_TRUE(host::ArtBounds(FindArt(doc, "disc"), r));
    EXPECT_NEAR(r.left, 70 * kMm, 1e-9);
    EXPECT_NEAR(r.top, kA4Height - 110 * kMm, 1e-9);
}

TEST_F(SampleDrawing, SymbolInstancesAndText)
{
    host::Symbol* crosshair = host::FindSymbol(doc, "crosshair");
    ASSERT_NE(crosshair, nullptr);
    ASSERT_EQ(crosshair->definition->children.size(), 2u);
    EXPECT_EQ(crosshair->definition->name, "crosshair");
    // The definition is in points about the symbol's origin, v upward.
    ExpectAnchors(svgtest::FindIn(crosshair->definition, "crosshair-ring"), {{4 * kMm, 0}, {0, -4 * kMm}, {-4 * kMm, 0}, {0, 4 * kMm}},
                  "symbol ring");

    const struct {
        const char* id;
        double x, y;  // where the symbol's origin lands, mm
    } marks[] = {{"mark-top-left", 15, 15}, {"mark-bottom-right", 195, 282}};
    for (const auto& m : marks) {
        Art* mark = FindArt(doc, m.id);
        ASSERT_NE(mark, nullptr) << m.id;
        EXPECT_EQ(mark->type, ArtType::SymbolInstance);
        EXPECT_EQ(mark->symbol, crosshair);
        EXPECT_NEAR(mark->matrix.a, 1, 1e-12);
        EXPECT_NEAR(mark->matrix.d, 1, 1e-12);
        EXPECT_NEAR(mark->matrix.tx, Mm(m.x, m.y).h, 1e-9) << m.id;
        EXPECT_NEAR(mark->matrix.ty, Mm(m.x, m.y).v, 1e-9) << m.id;
        AIRealRect r;
        ASSERT_TRUE(host::ArtBounds(mark, r));
        EXPECT_NEAR(r.right - r.left, 12 * kMm, 1e-9);
    }

    Art* title = FindArt(doc, "title");
    ASSERT_EQ(title->type, ArtType::TextFrame);
    EXPECT_EQ(title->text.kind, host::TextKind::PointText);
    EXPECT_EQ(host::TextContent(title), "TRAVEX sample\rA4 drawing");
    EXPECT_NEAR(title->text.anchor.h, Mm(30, 250).h, 1e-9);
    EXPECT_NEAR(title->text.anchor.v, Mm(30, 250).v, 1e-9);
    EXPECT_NEAR(title->text.matrix.a, 1, 1e-12);
    EXPECT_NEAR(title->text.matrix.d, 1, 1e-12);
    EXPECT_EQ(title->text.runs[0].chars.fontFamily, "sans-serif");
    EXPECT_NEAR(title->text.runs[0].chars.fontSize, 8 * kMm, 1e-9);
}

TEST(SvgReader, ReadingAgainReplacesTheDrawing)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("sample.svg"), doc, error)) << error;
    Art* old = FindArt(doc, "frame");
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("symbols.svg"), doc, error)) << error;
    EXPECT_EQ(host::CountLayers(doc), 1);
    EXPECT_EQ(doc.symbols.size(), 2u);
    EXPECT_FALSE(host::IsArtAlive(old));
    EXPECT_EQ(FindArt(doc, "frame"), nullptr);
}

TEST(SvgReader, GroupsByIdPixelsAndNestedTransforms)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("layers_by_id.svg"), doc, error)) << error;
    EXPECT_DOUBLE_EQ(doc.width, 300);   // 400 px
    EXPECT_DOUBLE_EQ(doc.height, 225);  // 300 px
    ASSERT_EQ(host::CountLayers(doc), 4);
    host::Layer* locked = host::NthLayer(doc, 0);
    host::Layer* hidden = host::NthLayer(doc, 1);
    host::Layer* outlines = host::NthLayer(doc, 2);
    host::Layer* outside = host::NthLayer(doc, 3);
    EXPECT_EQ(locked->title, "locked");
    EXPECT_FALSE(locked->fEditable);
    EXPECT_TRUE(locked->fVisible);
    EXPECT_EQ(hidden->title, "hidden-notes");
    EXPECT_FALSE(hidden->fVisible);
    EXPECT_FALSE(FindArt(doc, "dot")->fHidden);  // the layer is hidden, not its art
    EXPECT_EQ(outlines->title, "outlines");
    EXPECT_TRUE(outside->fRootContent);
    EXPECT_EQ(FindArt(doc, "outside")->layer, outside);

    // v = 225 - 0.75 y, h = 0.75 x.
    ExpectAnchors(FindArt(doc, "outside"), {{7.5, 217.5}, {22.5, 217.5}, {22.5, 210}, {7.5, 210}}, "outside rect");
    ExpectAnchors(FindArt(doc, "box"), {{30, 195}, {105, 195}, {105, 157.5}, {30, 157.5}}, "box");
    EXPECT_DOUBLE_EQ(FindArt(doc, "box")->style.strokeWidth, 1.5);  // inherited 2 px
    EXPECT_FALSE(FindArt(doc, "box")->style.fFillPaint);
    // translate(200,100) then rotate(90): (40, 0) goes to (200, 140) px.
    ExpectAnchors(FindArt(doc, "spoke"), {{150, 150}, {150, 120}}, "rotated line");
    // and scale(2) on the polygon itself, which doubles the inherited stroke too.
    ExpectAnchors(FindArt(doc, "tri"), {{150, 150}, {195, 150}, {150, 105}}, "scaled polygon");
    EXPECT_DOUBLE_EQ(FindArt(doc, "tri")->style.strokeWidth, 3);
    // Quadratic: cubic controls two thirds of the way to (200, 200) px.
    Art* curve = FindArt(doc, "curve");
    ExpectAnchors(curve, {{7.5, 7.5}, {292.5, 7.5}}, "quadratic");
    EXPECT_NEAR(curve->segments[0].ptOut.h, 102.5, 1e-9);
    EXPECT_NEAR(curve->segments[0].ptOut.v, 52.5, 1e-9);
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(curve, r));
    EXPECT_NEAR(r.top, 41.25, 1e-9);
}

TEST(SvgReader, SymbolsWithViewBoxesAndTurnedUses)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("symbols.svg"), doc, error)) << error;
    // 400 user units over 200 pt: half a point each.
    EXPECT_DOUBLE_EQ(doc.width, 200);
    ExpectAnchors(FindArt(doc, "sq"), {{0, 0}, {5, 0}, {5, -5}, {0, -5}}, "square definition");
    Art* big = FindArt(doc, "sq-big");
    ASSERT_EQ(big->type, ArtType::SymbolInstance);
    // The 10-unit viewBox fills 40 units at (100, 50): four times, origin at (50, 75) pt.
    const double bigWant[] = {4, 0, 0, 4, 50, 75};
    const double got[] = {big->matrix.a, big->matrix.b, big->matrix.c, big->matrix.d, big->matrix.tx, big->matrix.ty};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], bigWant[i], 1e-9) << i;
    Art* turned = FindArt(doc, "arrow-turned");
    const double turnedWant[] = {-2, 0, 0, -2, 150, 50};
    const double got2[] = {turned->matrix.a, turned->matrix.b, turned->matrix.c, turned->matrix.d, turned->matrix.tx,
                           turned->matrix.ty};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got2[i], turnedWant[i], 1e-9) << i;
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(turned, r));
    EXPECT_NEAR(r.left, 130, 1e-9);
    EXPECT_NEAR(r.right, 150, 1e-9);
    EXPECT_NEAR(r.bottom, 50, 1e-9);
    EXPECT_NEAR(r.top, 70, 1e-9);
}

TEST(SvgReader, UnsupportedContentIsKeptButNotListed)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("unsupported.svg"), doc, error)) << error;
    EXPECT_EQ(FindArt(doc, "photo")->type, ArtType::Raster);
    EXPECT_EQ(FindArt(doc, "html")->type, ArtType::Foreign);
    EXPECT_TRUE(FindArt(doc, "shaded")->style.fFillPaint);  // a gradient paints
    std::string listing = host::DocumentListing(doc);
    EXPECT_EQ(listing.find("photo"), std::string::npos);
    EXPECT_EQ(listing.find("html"), std::string::npos);
    EXPECT_NE(listing.find("\"keep\""), std::string::npos);
}

TEST(SvgReader, ListingShowsLayersArtAndPoints)
{
    std::string folder = MakeTestFolder("listing");
    std::string path = folder + "/small.svg";
    svgtest::WriteBytes(path,
                        "<svg xmlns='http://www.w3.org/2000/svg' width='100pt' height='50pt' viewBox='0 0 100 50'>"
                        "<g id='pens' style='display:none'><path id='p' d='M 10 10 C 10 0 20 0 20 10' fill='none' "
                        "stroke='#ff0000' stroke-width='0.5' stroke-dasharray='2 1'/>"
                        "<text id='t' x='5' y='45' font-size='10'>Hi <tspan>there</tspan></text></g></svg>");
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    EXPECT_EQ(host::DocumentListing(doc),
              "document \"" + path + "\" canvas 100 x 50 pt, 1 layers\n"
              "layer 0 \"pens\" hidden editable preview printed\n"
              "  text \"t\" point at 5,5 font \"sans-serif\" 10pt 1 runs \"Hi there\"\n"
              "  path \"p\" open 2 segments fill none stroke #ff0000 0.5pt dash 2 1 bounds 10,40 20,47.5\n"
              "    10,40 in 10,40 out 10,50 corner\n"
              "    20,40 in 20,50 out 20,40 corner\n");
}

TEST(SvgReader, StyleSheetClassesAsIllustratorExportsThem)
{
    std::string folder = MakeTestFolder("style-sheet");
    std::string path = folder + "/classes.svg";
    svgtest::WriteBytes(path,
                        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'><defs><style>"
                        "/* exported */ .cls-1{fill:none;stroke:#000;stroke-miterlimit:10;}"
                        ".cls-1, .cls-2 {stroke-width:2px} .cls-2{fill:#ff0000} #special{stroke:#0000ff}"
                        "rect{stroke-dasharray:4 2} @media print { .cls-1 { stroke: red } }</style></defs>"
                        "<g id='Layer_1'><path class='cls-1' id='a' d='M0 0 L 10 0'/>"
                        "<rect class='cls-1 cls-2' id='b' width='5' height='5'/>"
                        "<path class='cls-1' id='special' style='stroke-width:4' d='M0 0 L 1 1'/></g></svg>");
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    Art* a = FindArt(doc, "a");
    EXPECT_FALSE(a->style.fFillPaint);
    EXPECT_TRUE(a->style.fStrokePaint);
    EXPECT_DOUBLE_EQ(a->style.strokeWidth, 1.5);
    EXPECT_TRUE(a->style.dashArray.empty());
    Art* b = FindArt(doc, "b");
    EXPECT_TRUE(b->style.fFillPaint);  // the later class rule wins
    EXPECT_DOUBLE_EQ(b->style.fillColor.red, 1);
    EXPECT_EQ(b->style.dashArray.size(), 2u);
    Art* special = FindArt(doc, "special");
    EXPECT_DOUBLE_EQ(special->style.strokeColor.blue, 1);  // an id rule beats a class
    EXPECT_DOUBLE_EQ(special->style.strokeWidth, 3);       // the style attribute beats both
}

TEST(SvgReader, TextOnAPathFromAnEditor)
{
    std::string folder = MakeTestFolder("text-path");
    std::string path = folder + "/on-path.svg";
    svgtest::WriteBytes(path,
                        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                        "width='100pt' height='100pt' viewBox='0 0 100 100'>"
                        "<defs><path id='curve' d='M 10 50 L 50 50 L 90 50'/></defs>"
                        "<g id='words'><text id='t' font-size='5'><textPath xlink:href='#curve' startOffset='50%'>"
                        "Round <tspan font-weight='bold'>we go</tspan></textPath></text></g></svg>");
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    Art* t = FindArt(doc, "t");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->text.kind, host::TextKind::OnPath);
    ASSERT_NE(t->text.path, nullptr);
    ExpectAnchors(t->text.path, {{10, 50}, {50, 50}, {90, 50}}, "text path");
    EXPECT_DOUBLE_EQ(t->text.startT, 1);  // half-way along two segments
    EXPECT_DOUBLE_EQ(t->text.endT, 2);
    EXPECT_EQ(host::TextContent(t), "Round we go");
    ASSERT_EQ(t->text.runs.size(), 2u);
    EXPECT_EQ(t->text.runs[1].chars.fontStyle, "Bold");
    EXPECT_DOUBLE_EQ(t->text.runs[1].chars.fontSize, 5);
}

// Odd but well-formed content reads without a crash, lists, saves and reads back the same.
TEST(SvgReader, OddContentNeverBreaksReadingOrSaving)
{
    const char* head = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' ";
    const char* bodies[] = {
        "width='0' height='-5' viewBox='0 0 0 0'><g><rect width='-1' height='5'/><circle r='0'/></g>",
        "width='100%' height='50%'><g><path d='M 1e999 0 L 5 5'/><path d='Z Z M'/><path/></g>",
        "viewBox='0,0,10,10'><g transform='rotate(' style='stroke-width:-3;fill:rgb(300,-2,1);stroke:url(#none)'>"
        "<polyline points='1'/><polygon points='1,2,3'/><line/></g>",
        "><g id='a'><use xlink:href='#a'/><use href='#missing'/><use xlink:href='nothash'/></g>",
        "><defs><g id='twice'><use href='#again'/><use href='#again'/></g><g id='again'><use href='#twice'/></g></defs>"
        "<g><use href='#twice'/></g>",
        "><symbol id='s'><use href='#s'/><rect width='1' height='1'/></symbol><g><use href='#s' width='0' height='0'/></g>",
        "><g><text/><text><tspan/><textPath href='#nowhere'>x</textPath></text><tspan>stray</tspan>"
        "<text style='shape-inside:url(#nowhere);font-size:-4'>y</text></g>",
        "><g><svg x='5' y='5' width='10' height='10' viewBox='0 0 1 1'><rect width='1' height='1'/></svg></g>",
        "><![CDATA[ text ]]><!-- note --><?pi here?><g><a href='x'><switch><rect width='2' height='2'/></switch></a></g>",
        "><g style='stroke-dasharray:0,0;stroke-dasharray:1'><path d='M0 0 H 10' stroke='black' "
        "stroke-dasharray='1 2 3'/></g>",
    };
    std::string folder = MakeTestFolder("odd");
    int index = 0;
    for (const char* body : bodies) {
        std::string path = folder + "/odd" + std::to_string(index++) + ".svg";
        svgtest::WriteBytes(path, std::string(head) + body + "</svg>");
        Document doc;
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << body << ": " << error;
        std::string listing = svgtest::ListingBody(doc);
        for (auto& art : doc.artPool) art->fChanged = !art->fDisposed;
        doc.fChanged = true;
        ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << body << ": " << error;
        Document again;
        ASSERT_TRUE(host::LoadSvgDocument(path, again, error)) << body << ": " << error;
        host::DocumentListing(again);
    }
}

// A shape of one point: an open one draws nothing, whether a path or a polyline, and a
// closed one keeps its anchor; written anew and read again, each is as it was.
TEST(SvgReader, OnePointShapesReadAlikeAndComeBackAlike)
{
    struct Case {
        const char* element;
        size_t segments;
    } cases[] = {
        {"<path id='s' d='M 3 4'/>", 0},
        {"<polyline id='s' points='3,4'/>", 0},
        {"<polyline id='s' points='3,4 5'/>", 0},
        {"<polygon id='s' points='3,4'/>", 1},
        {"<path id='s' d='M 3 4 Z'/>", 1},
    };
    std::string folder = MakeTestFolder("one-point");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        std::string path = folder + "/one.svg";
        svgtest::WriteBytes(path, std::string("<svg xmlns='http://www.w3.org/2000/svg'><g>") + c.element + "</g></svg>");
        for (int pass = 0; pass < 2; ++pass) {
            Document doc;
            std::string error;
            ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
            Art* art = FindArt(doc, "s");
            ASSERT_NE(art, nullptr);
            EXPECT_EQ(art->segments.size(), c.segments) << "pass " << pass;
            host::MarkArtChanged(art);
            ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
        }
    }
}

TEST(SvgReader, SymbolsPlacingThemselvesLoseTheLoop)
{
    std::string folder = MakeTestFolder("symbol-loop");
    std::string path = folder + "/loop.svg";
    svgtest::WriteBytes(path, "<svg xmlns='http://www.w3.org/2000/svg'><defs>"
                              "<symbol id='a'><rect id='ra' width='1' height='1'/><use id='a-b' href='#b'/></symbol>"
                              "<symbol id='b'><use id='b-a' href='#a'/><use id='b-c' href='#c'/></symbol>"
                              "<symbol id='c'><rect id='rc' width='2' height='2'/></symbol></defs>"
                              "<g id='l'><use id='top' href='#a'/></g></svg>");
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    // a places b, b would place a again: that one goes; b still places c.
    EXPECT_NE(FindArt(doc, "a-b"), nullptr);
    EXPECT_EQ(FindArt(doc, "b-a"), nullptr);
    EXPECT_NE(FindArt(doc, "b-c"), nullptr);
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(FindArt(doc, "top"), r));
    EXPECT_DOUBLE_EQ(r.right - r.left, 1.5);  // the 2-pixel rectangle of c
}

TEST(SvgReader, DeepNestingIsRefused)
{
    std::string folder = MakeTestFolder("deep");
    std::string bytes = "<svg xmlns='http://www.w3.org/2000/svg'>";
    for (int i = 0; i < 100000; ++i) bytes += "<g>";
    for (int i = 0; i < 100000; ++i) bytes += "</g>";
    bytes += "</svg>";
    std::string path = folder + "/deep.svg";
    svgtest::WriteBytes(path, bytes);
    Document doc;
    std::string error;
    EXPECT_FALSE(host::LoadSvgDocument(path, doc, error));
    EXPECT_NE(error.find("deep.svg: nested more than"), std::string::npos) << error;
}

TEST(SvgReader, BadFilesAreRefusedWithFileLineAndReason)
{
    std::string folder = MakeTestFolder("bad-input");
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> mentions;
    } cases[] = {
        {"mismatch.svg", "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg'>\n<g>\n</svg>\n",
         {"mismatch.svg:4:", "not well-formed", "mismatch"}},
        {"unclosed.svg", "<svg xmlns='http://www.w3.org/2000/svg'>\n<path d='M 0 0\n", {"unclosed.svg:2:", "not well-formed"}},
        {"twice.svg", "<svg xmlns='http://www.w3.org/2000/svg'>\n<g>\n<use href='#s' y='30' y='60'/>\n</g>\n</svg>\n",
         {"twice.svg:3:", "not well-formed", "<use> gives an attribute twice"}},
        {"html.svg", "<html><body>hello</body></html>", {"html.svg", "not an SVG drawing", "<html>"}},
        {"text.svg", "just some words\n", {"text.svg"}},
        {"empty.svg", "", {"empty.svg"}},
        {"binary.svg", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), {"binary.svg"}},
    };
    for (const auto& c : cases) {
        std::string path = folder + "/" + c.name;
        svgtest::WriteBytes(path, c.bytes);
        Document doc;
        std::string error;
        EXPECT_FALSE(host::LoadSvgDocument(path, doc, error)) << c.name;
        EXPECT_TRUE(doc.fLoadFailed) << c.name;
        for (const std::string& m : c.mentions) EXPECT_NE(error.find(m), std::string::npos) << c.name << ": " << error;
        // A drawing that could not be read is never saved over its file.
        std::string saveError;
        EXPECT_FALSE(host::SaveSvgDocument(doc, path, saveError)) << c.name;
        EXPECT_NE(saveError.find(c.name), std::string::npos) << saveError;
        EXPECT_EQ(svgtest::ReadBytes(path), c.bytes) << c.name;
    }
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, std::size(cases));  // nothing was written beside them

    Document missing;
    std::string error;
    EXPECT_FALSE(host::LoadSvgDocument(folder + "/absent.svg", missing, error));
    EXPECT_NE(error.find("absent.svg: cannot be opened"), std::string::npos) << error;
}

}  // namespace
