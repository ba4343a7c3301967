// The plot-area tool through the real travex-host and TRAVEX-Pro.aip: the band on the
// view's canvas, the cursor, and the placement kept in the saved drawing.
#include "tests/e2e/host_run.h"
#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

const std::string kExamples = std::string(TRAVEX_SOURCE_DIR) + "/examples";
const char* const kLayerLine = "layer 0 \"TRAVEX-Pro Configuration Layer\"";

// The page record in the registry as the configuration program leaves it; rectangles in
// millimetres as top, left, right, bottom.
void SetRegistryPage(int32_t scale, const int32_t page[4], const int32_t paper[4])
{
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, "Software\\Brenvoltic\\TRVXSerConfig", &key), kRegistrySuccess);
    const std::pair<const char*, int32_t> values[] = {
        {"Orientation", 0}, {"Size", 601}, {"Width", page[2] - page[1]}, {"Height", page[3] - page[0]},
        {"Scale", scale}, {"pisroll", 0}, {"rPage.top", page[0]}, {"rPage.left", page[1]},
        {"rPage.right", page[2]}, {"rPage.bottom", page[3]}, {"rPaper.top", paper[0]}, {"rPaper.left", paper[1]},
        {"rPaper.right", paper[2]}, {"rPaper.bottom", paper[3]}, {"iFstPage", 1}, {"iLstPage", 1}};
    for (const auto& [name, value] : values)
        ASSERT_EQ(SetRegistryDword(key, name, static_cast<uint32_t>(value)), kRegistrySuccess) << name;
    CloseRegistryKey(key);
}

// The listing's lines from the configuration layer's line to the next layer line.
std::vector<std::string> ConfigLayerListing(const std::string& out)
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.rfind("layer ", 0) == 0 || line.rfind("undo ", 0) == 0 || line.rfind("symbol ", 0) == 0)
            inside = line.find("\"TRAVEX-Pro Configuration Layer\"") != std::string::npos;
        // a save names the art it wrote: compare without the names
        if (inside)
            lines.push_back(std::regex_replace(line, std::regex("^( *(text|path)) \"[^\"]*\""), "$1"));
    }
    return lines;
}

class PlotAreaE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        drawing = folder + "/sample.svg";
        std::filesystem::copy_file(kExamples + "/sample.svg", drawing);
    }
    std::string folder;
    std::string drawing;
};

TEST_F(PlotAreaE2E, BandOnTheCanvasAndTheCursorWhileDragging)
{
    const int32_t page[4] = {0, 0, 100, 50};
    const int32_t paper[4] = {-10, -10, 110, 60};
    SetRegistryPage(10000, page, paper);
    const std::string first = folder + "/first.png";
    const std::string again = folder + "/again.png";
    const std::string script = folder + "/steps.txt";
    WriteBytes(script, "view 0,600 1\n"
                           "tool select\n"
                           "tool down 0,0\n"
                           "tool move 0,0\n"
                           "canvas\n"
                           "cursor\n"
                           "tool move 100,100\n"
                           "canvas " + first + "\n"
                           "cursor\n"
                           "tool move 150,120\n"
                           "tool track 100,100\n"
                           "canvas " + again + "\n");
    HostRun run = RunTravexHost(folder, {"--script", script, drawing});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> canvas = LinesStartingWith(run.out, "canvas ");
    std::vector<std::string> cursor = LinesStartingWith(run.out, "cursor ");
    ASSERT_EQ(canvas.size(), 3u) << run.out;
    ASSERT_EQ(cursor.size(), 2u) << run.out;
    // a drag to the point already stored draws nothing and leaves the cursor alone
    EXPECT_EQ(canvas[0], "canvas 800 x 600, 0 pixels drawn");
    EXPECT_EQ(cursor[0], "cursor none");
    // page pixels 100..383 x 359..500 and paper 71..411 x 331..529: 848 + 1076 outline pixels
    EXPECT_EQ(canvas[1], "canvas 800 x 600, 1924 pixels drawn");
    EXPECT_EQ(cursor[1], "cursor set");
    // back at the first point after another band: the same single band, pixel for pixel
    EXPECT_EQ(canvas[2], canvas[1]);
    EXPECT_EQ(ReadBytes(again), ReadBytes(first));
    EXPECT_FALSE(ReadBytes(first).empty());
}

TEST_F(PlotAreaE2E, PlacedPlotAreaSurvivesASaveAndAReload)
{
    const int32_t page[4] = {0, 0, 210, 297};
    const int32_t paper[4] = {-15, -15, 225, 312};
    SetRegistryPage(10000, page, paper);
    HostRun run = RunTravexHost(folder, {drawing, "tool drag 10,20 100,200", "list"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> placed = ConfigLayerListing(run.out);
    ASSERT_FALSE(placed.empty()) << run.out;
    EXPECT_NE(placed[0].find("visible locked preview not-printed"), std::string::npos) << placed[0];
    // the page from (100, 200) to (695, 1041), the paper around it by the margins
    const std::string pageBounds = "bounds 100,200 695,1041";
    const std::string paperBounds = "bounds 57,157 737,1083";
    auto count = [](const std::vector<std::string>& lines, const std::string& part) {
        int n = 0;
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos)
                ++n;
        return n;
    };
    EXPECT_EQ(count(placed, "path closed 4 segments fill none stroke #000000 0.1pt " + pageBounds), 1) << run.out;
    EXPECT_EQ(count(placed, "path closed 4 segments fill none stroke #000000 0.1pt " + paperBounds), 1) << run.out;
    // orientation 0, size 601, width 210, height 297, scale 10000, roll 0, then rPage as top,
    // left, right, bottom: 0, 0, 210, 297
    EXPECT_EQ(count(placed, "\"TRVX_2 Version = 2.01\\r\\n\\r\\nTPRINT/\\r\\n00: 0000000059020000D200\\r\\n"
                            "01: 00002901000010270000\\r\\n02: 00000000000000000000\\r\\n"
                            "03: 0000D200000029010000\\r\\n"),
              1) << run.out;
    EXPECT_EQ(count(placed, "TPRINT/"), 1) << run.out;
    EXPECT_EQ(count(LinesStartingWith(run.out, "undo "), "undo \"プロット領域の取り消し\", redo \"プロット領域のやり直し\""), 1)
        << run.out;

    // the saved drawing in SVG terms: a layer group marked locked and not printed
    const std::string svg = ReadBytes(drawing);
    std::smatch layer;
    ASSERT_TRUE(std::regex_search(svg, layer, std::regex("<g[^>]*inkscape:label=\"TRAVEX-Pro Configuration Layer\"[^>]*>")))
        << svg;
    EXPECT_NE(layer.str().find("inkscape:groupmode=\"layer\""), std::string::npos) << layer.str();
    EXPECT_NE(layer.str().find("sodipodi:insensitive=\"true\""), std::string::npos) << layer.str();
    EXPECT_NE(layer.str().find("travex:printed=\"false\""), std::string::npos) << layer.str();
    const size_t end = svg.find("</g>", size_t(layer.position()));
    const std::string body = svg.substr(size_t(layer.position()), end - size_t(layer.position()));
    size_t paths = 0;
    for (size_t at = body.find("<path"); at != std::string::npos; at = body.find("<path", at + 1))
        ++paths;
    EXPECT_EQ(paths, 2u) << body;
    EXPECT_NE(body.find("TRVX_2"), std::string::npos);

    // loaded again: the same rectangles and the same page record
    HostRun reload = RunTravexHost(folder, {drawing, "list"});
    ASSERT_EQ(reload.exitStatus, 0) << reload.err;
    std::vector<std::string> loaded = ConfigLayerListing(reload.out);
    std::vector<std::string> placedLayer(placed.begin(), placed.end());
    while (!placedLayer.empty() && placedLayer.back().rfind("undo ", 0) == 0)
        placedLayer.pop_back();
    EXPECT_EQ(loaded, placedLayer);
    EXPECT_EQ(ReadBytes(drawing), svg) << "nothing changed: the file stays as it was";
}

}  // namespace
