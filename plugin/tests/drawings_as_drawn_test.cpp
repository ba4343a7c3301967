// What the user drew is what is plotted: small drawings (tests/drawings/) with what other
// programs write (cairo's trailing moveto, graphviz's indented tspans, symbols, even-odd
// rings, text along a path that is too short), converted page by page over the real host.
// The expected bytes follow from the rules: a point (x, y) of the 100 x 50 mm drawing is
// plotted at (2000 - 40 y, 4000 - 40 x).
#include "plugin/tests/conversion_test_host.h"

#include "sdk/ai_art.h"
#include "sdk/ai_symbol.h"
#include "sdk/ai_text_frame.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace conversiontest;

namespace {

std::string Fixture(const std::string& name)
{
    return ReadBytes(std::string(TRAVEX_SOURCE_DIR) + "/tests/drawings/" + name);
}

class DrawingsAsDrawn : public PageConversion {
protected:
    // The plot data of a fixture drawing with the given layers output.
    std::string ConvertFixture(const std::string& name, const std::map<std::string, Assignment>& layers)
    {
        LoadSvg(Fixture(name), layers);
        g->fAbort = 0;
        return Convert();
    }

    // Every pen move's point lies in the box (plotter units, inclusive).
    static bool AllWithin(const std::string& bytes, int xMin, int yMin, int xMax, int yMax)
    {
        for (const auto& [x, y] : Points(bytes))
            if (x < xMin || x > xMax || y < yMin || y > yMax) return false;
        return true;
    }

    // Contours per glyph of a text frame's outlines, made by the host's text engine.
    std::vector<size_t> GlyphAnchors(const std::string& id)
    {
        AIArtHandle outline = nullptr;
        EXPECT_EQ(sAITextFrame->CreateOutline(Handle(id), &outline), kNoErr);
        std::vector<size_t> anchors;
        if (!outline) return anchors;
        for (host::Art* glyph : host::FromHandle(outline)->children) {
            size_t n = 0;
            for (host::Art* contour : glyph->children) n += contour->segments.size();
            anchors.push_back(n);
        }
        sAIArt->DisposeArt(outline);
        return anchors;
    }
};

struct Case {
    const char* name;
    const char* file;
    std::map<std::string, Assignment> layers;
    std::function<void(PlotSettings&)> settings;
    std::function<void(const std::string& bytes)> check;
};

TEST_F(DrawingsAsDrawn, EachMendedFaultOnItsOwnSmallDrawing)
{
    const Case cases[] = {
        {"text past the end of its path: the glyphs on the path are outlined, the rest left out",
         "text-path-overrun.svg", {{"T", {1, 1}}}, [](PlotSettings& s) { s.wOutlineSize = 0; },
         [](const std::string& bytes) {
             EXPECT_GT(Count(bytes, "PU"), 4) << bytes;
             // The paths run from x 10 to 40 at y 20 and 40; half a glyph may stand past the
             // end, none beyond x 44 (plotter y 2240) or before x 9; the 5 mm glyphs stand on
             // them, up to y 15 and 35, down to y 21 and 41 (plotter x 360 to 1400).
             EXPECT_TRUE(AllWithin(bytes, 360, 2240, 1400, 3640)) << bytes;
             EXPECT_FALSE(AllWithin(bytes, 0, 2640, 4000, 4000)) << "glyphs reach the path's end: " << bytes;
         }},
        {"horizontal slit inside a square is cut before the square", "horizontal-slit.svg", {{"H", {1, 8}}},
         [](PlotSettings& s) { s.fOverlap = 0; },
         [](const std::string& bytes) {
             EXPECT_EQ(bytes, "SP8;PU1200,3400;PD1200,3000;PU1600,3600;PD1600,2800;PD800,2800;PD800,3600;PD1600,3600;SP;");
         }},
        {"vertical slit, the same", "horizontal-slit.svg", {{"V", {1, 8}}}, [](PlotSettings& s) { s.fOverlap = 0; },
         [](const std::string& bytes) {
             EXPECT_EQ(bytes, "SP8;PU1400,1200;PD1000,1200;PU1600,1600;PD1600,800;PD800,800;PD800,1600;PD1600,1600;SP;");
         }},
        {"even-odd ring keeps its hole through the unite, the hole first", "even-odd-ring.svg",
         {{"EvenOdd", {1, 8}}}, [](PlotSettings& s) { s.fOverlap = 1; },
         [](const std::string& bytes) {
             EXPECT_EQ(bytes, "SP8;PU1200,3200;PD1200,2800;PD800,2800;PD800,3200;PD1200,3200;"
                              "PU1600,3600;PD1600,2400;PD400,2400;PD400,3600;PD1600,3600;SP;");
         }},
        {"the same ring by the non-zero rule is one solid square", "even-odd-ring.svg", {{"NonZero", {1, 8}}},
         [](PlotSettings& s) { s.fOverlap = 1; },
         [](const std::string& bytes) {
             EXPECT_EQ(bytes, "SP8;PU1600,400;PD1600,1600;PD400,1600;PD400,400;PD1600,400;SP;");
         }},
        {"cairo's trailing moveto does not keep two squares from their union", "trailing-moveto.svg",
         {{"K", {1, 8}}}, [](PlotSettings& s) { s.fOverlap = 1; },
         [](const std::string& bytes) {
             EXPECT_EQ(Count(bytes, "PU"), 1) << bytes;
             const auto points = Points(bytes);
             EXPECT_EQ(PointSet(points.begin(), points.end()),
                       (PointSet{{1600, 3600}, {1600, 2800}, {1200, 2800}, {1200, 2400}, {400, 2400}, {400, 3200},
                                 {800, 3200}, {800, 3600}}))
                 << bytes;
         }},
        {"a path with a coordinate beyond every number is skipped whole", "not-a-number.svg", {{"P", {1, 1}}},
         nullptr, [](const std::string& bytes) { EXPECT_EQ(bytes, "SP1;PU200,3800;PD200,3600;SP;"); }},
        {"half-width katakana alone is labelled", "half-width-katakana.svg", {{"L", {1, 1}}},
         [](PlotSettings& s) {
             s.wOutlineSize = 7;
             s.wKanjiMode = 0;
         },
         [](const std::string& bytes) {
             EXPECT_EQ(Count(bytes, "LB"), 3) << bytes;
             for (const char* label : {"LB\xB1\x03", "LB\xB2\x03", "LB\xB3\x03"})
                 EXPECT_NE(bytes.find(label), std::string::npos) << bytes;
             EXPECT_NE(bytes.find("PU1200,3600;"), std::string::npos) << "the first at (10, 20): " << bytes;
         }},
        {"graphviz's indented tspans: no empty first line, each line where its x and y put it",
         "graphviz-label.svg", {{"G", {1, 1}}},
         [](PlotSettings& s) {
             s.wOutlineSize = 7;
             s.wKanjiMode = 0;
         },
         [](const std::string& bytes) {
             // A at (10, 20), B at (10, 40), D at (10 + 5, 45).
             EXPECT_NE(bytes.find("PU1200,3600;" + std::string("SI")), std::string::npos) << bytes;
             EXPECT_LT(bytes.find("PU1200,3600;"), bytes.find("LBA\x03")) << bytes;
             EXPECT_LT(bytes.find("PU400,3600;"), bytes.find("LBB\x03")) << bytes;
             EXPECT_LT(bytes.find("PU200,3400;"), bytes.find("LBD\x03")) << bytes;
             EXPECT_EQ(Count(bytes, "LB"), 3) << bytes;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetDefaultPlotSettings(&settings_);
        settings_.wSortMode = 0;
        settings_.fOverlap = 0;
        settings_.wPaperOrigin = 1;
        settings_.szFooter[0] = '\0';
        if (c.settings) c.settings(settings_);
        c.check(ConvertFixture(c.file, c.layers));
        EXPECT_EQ(g->fAbort, 0);
    }
}

TEST_F(DrawingsAsDrawn, SymbolInstancesPlotWhatTheSamePathInPlacePlots)
{
    // Plain, at half size and a quarter turned: every layer byte for byte, and the plain one
    // at the corners the drawing gives it, (10, 10), (30, 10), (30, 20), (10, 30).
    for (const char* layer : {"Plain", "Scaled", "Turned"}) {
        SCOPED_TRACE(layer);
        const std::string instances = ConvertFixture("symbol-instances.svg", {{layer, {1, 1}}});
        const std::string inPlace = ConvertFixture("symbol-paths-in-place.svg", {{layer, {1, 1}}});
        EXPECT_EQ(instances, inPlace);
        EXPECT_EQ(Count(instances, "PU"), 1) << instances;
    }
    EXPECT_EQ(ConvertFixture("symbol-instances.svg", {{"Plain", {1, 1}}}),
              "SP1;PU1600,3600;PD1600,2800;PD1200,2800;PD800,3600;PD1600,3600;SP;");
    // The instance as a whole: its host bounds are the drawn shape's, its matrix the centre.
    AIRealMatrix m{};
    ASSERT_EQ(sAISymbol->GetInstanceMatrix(host::ToHandle(doc_->layers.back()->group->children.front()), &m), kNoErr);
    EXPECT_NEAR(m.tx, 20 * kPointsPerMm, 1e-9);
    EXPECT_NEAR(m.ty, (50 - 20) * kPointsPerMm, 1e-9);
}

TEST_F(DrawingsAsDrawn, TextIsAnchoredPlacedAndDrawnInItsScripts)
{
    LoadSvg(Fixture("text-anchors.svg"), {});
    const double x = 50 * kPointsPerMm;
    struct Anchor {
        const char* id;
        double left, right;  // of the body boxes, in terms of the width w
    };
    AIRealRect start{};
    ASSERT_EQ(sAIArt->GetArtBounds(Handle("start"), &start), kNoErr);
    const double w = start.right - start.left;
    EXPECT_NEAR(start.left, x, 1e-6);
    for (const Anchor& a : {Anchor{"middle", x - w / 2, x + w / 2}, Anchor{"end", x - w, x}}) {
        SCOPED_TRACE(a.id);
        AIRealRect r{};
        ASSERT_EQ(sAIArt->GetArtBounds(Handle(a.id), &r), kNoErr);
        EXPECT_NEAR(r.left, a.left, 1e-6);
        EXPECT_NEAR(r.right, a.right, 1e-6);
    }

    LoadSvg(Fixture("graphviz-label.svg"), {});
    EXPECT_EQ(host::TextContent(Find("label")), "A\rB\rD");

    // Hebrew, Arabic and kanji in a family fontconfig knows by an alias: five glyphs, none of
    // them the missing-glyph box (a rectangle with a rectangular hole, eight corners).
    LoadSvg(Fixture("named-families.svg"), {});
    const std::vector<size_t> glyphs = GlyphAnchors("mixed");
    EXPECT_EQ(glyphs.size(), 5u);
    for (size_t anchors : glyphs) EXPECT_NE(anchors, 8u);
    EXPECT_EQ(GlyphAnchors("vera").size(), 4u);
}

TEST_F(DrawingsAsDrawn, TextLongerThanItsPathConvertsInItsOwnProcess)
{
    // travex-convert, a process of its own, on Hebrew and Japanese text along paths too short
    // for it, outlined (the default outline size): it ends well, and every glyph it draws
    // stands on the paths, from x 10 to 40 at y 20 and 40.
    const std::string command = std::string(TRAVEX_BINARY_DIR) + "/bin/travex-convert";
    ASSERT_TRUE(std::filesystem::exists(command)) << command;
    const std::string folder = MakeTestFolder("text-path-overrun");
    const std::string drawing = folder + "/drawing.svg";
    WriteBytes(drawing, Fixture("text-path-overrun.svg"));
    std::filesystem::remove(path_);
    const int status = std::system((command + " '" + drawing + "' --layer T=1 --page 100x50 --corner --sort 2 > '" +
                                    folder + "/out.txt' 2>&1").c_str());
    ASSERT_TRUE(WIFEXITED(status)) << ReadBytes(folder + "/out.txt");
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadBytes(folder + "/out.txt");
    const std::string bytes = ReadBytes(path_);
    EXPECT_GT(Count(bytes, "PU"), 4) << bytes;
    EXPECT_TRUE(AllWithin(bytes, 360, 2240, 1400, 3640)) << bytes;
    // Both texts are drawn up to the paths' end: glyphs stand past x 34 on both paths.
    bool upper = false, lower = false;
    for (const auto& [x, y] : Points(bytes)) {
        if (y < 2640 && x > 800) upper = true;
        if (y < 2640 && x < 800) lower = true;
    }
    EXPECT_TRUE(upper && lower) << bytes;
}

TEST_F(DrawingsAsDrawn, TwentyThousandCirclesArePlottedInEverySortMode)
{
    // 20 000 circles of 0.2 mm radius on one layer, 200 to a row; every one plotted, once.
    std::string circles;
    for (int i = 0; i < 20000; ++i)
        circles += "<circle cx=\"" + std::to_string(0.5 + (i % 200) * 0.49) + "\" cy=\"" +
                   std::to_string(0.5 + (i / 200) * 0.49) + "\" r=\"0.2\"/>";
    for (int16_t mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        settings_.wSortMode = mode;
        Load(Layer("C", circles), {{"C", {1, 1}}});
        const std::string bytes = Convert();
        EXPECT_EQ(Count(bytes, "PU"), 20000);
        EXPECT_EQ(g->fAbort, 0);
        EXPECT_EQ(g->conversion.iRunFailure, 0);
    }
}

}  // namespace
