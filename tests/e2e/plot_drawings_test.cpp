// Drawings that are hard to plot, through the real travex-host and TRAVEX-Pro.aip into a
// ".plt" file: text along a path shorter than the text, in Hebrew and in Japanese.
#include "tests/e2e/plot_run.h"

#include <regex>

namespace {

struct PenPoint {
    long x, y;
};

// The points of every "PU" and "PD" command of the plot data.
std::vector<PenPoint> PenPoints(const std::string& hpgl)
{
    std::vector<PenPoint> points;
    static const std::regex command("P[UD]([-0-9,]+)");
    static const std::regex pair("(-?[0-9]+),(-?[0-9]+)");
    for (std::sregex_iterator c(hpgl.begin(), hpgl.end(), command), end; c != end; ++c) {
        const std::string list = (*c)[1];
        for (std::sregex_iterator p(list.begin(), list.end(), pair); p != end; ++p)
            points.push_back({std::stol((*p)[1]), std::stol((*p)[2])});
    }
    return points;
}

// A band around a straight path of the drawing, in millimetres of the drawing (x to the
// right, y down): the path from (x0, y) to (x1, y) with room for the glyphs above it.
struct Band {
    double x0, x1, y;
    // On an A5 portrait page at 100 % with the origin at the paper's centre, a drawing 50 mm
    // high puts (x, y) at X = (50 - y) * 40 - 4200, Y = 2960 - x * 40 plotter units.
    bool Holds(const PenPoint& p) const
    {
        const double x = (2960 - p.y) / 40.0;
        const double y = 50 - (p.x + 4200) / 40.0;
        return x >= x0 - 1 && x <= x1 + 1 && y >= this->y - 6 && y <= this->y + 2;
    }
};

TEST_F(PlotRunTest, TextAlongAShortPathDrawsOnlyTheGlyphsOnThePath)
{
    SetPages(1, 1);
    const std::string drawing = folder + "/text-path-overrun.svg";
    std::filesystem::copy_file(std::string(TRAVEX_SOURCE_DIR) + "/tests/drawings/text-path-overrun.svg", drawing);
    const std::string target = folder + "/text-path-overrun.plt";
    HostRun run = Plot(drawing, {"--layer", "T=1", "--to-file", target});
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    const std::string plotFile = ReadBytes(target);
    ASSERT_EQ(plotFile.rfind("\x1b.(IW-4200,-2960,4200,2960;", 0), 0u) << plotFile.substr(0, 40);
    EXPECT_EQ(plotFile.find("LB"), std::string::npos) << "the glyphs are outlined, not labels";
    // the Hebrew along y = 20 mm, the Japanese along y = 40 mm, both paths from x 10 to 40 mm
    const Band hebrew = {10, 40, 20};
    const Band japanese = {10, 40, 40};
    int onHebrew = 0, onJapanese = 0;
    for (const PenPoint& p : PenPoints(plotFile)) {
        onHebrew += hebrew.Holds(p) ? 1 : 0;
        onJapanese += japanese.Holds(p) ? 1 : 0;
        EXPECT_TRUE(hebrew.Holds(p) || japanese.Holds(p)) << "a pen move away from both paths: " << p.x << "," << p.y;
    }
    EXPECT_GT(onHebrew, 20) << "the Hebrew glyphs on the path are drawn";
    EXPECT_GT(onJapanese, 20) << "the Japanese glyphs on the path are drawn";
}

}  // namespace
