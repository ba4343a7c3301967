// Lengths in percent of the viewport and in em and ex of the font size, against values worked
// out by hand in the drawing; a nested viewport keeps its content where it was drawn on a save.
#include "host/svg/svg_file.h"
#include "host/tests/svg_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using host::Art;
using host::Document;
using svgtest::FindArt;

const char* kDrawing = "lengths-of-the-viewport-and-font.svg";

std::string Drawing() { return std::string(TRAVEX_SOURCE_DIR) + "/tests/drawings/" + kDrawing; }

// User units of the drawing (200 by 100 pixels, y down) to the artwork points of a bounds test.
struct UserBox {
    double x, y, w, h;
};

void ExpectBox(const Document& doc, const char* id, const UserBox& want)
{
    const Art* art = FindArt(doc, id);
    ASSERT_NE(art, nullptr) << id;
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(art, r)) << id;
    const double pt = 0.75;
    EXPECT_NEAR(r.left, want.x * pt, 1e-6) << id;
    EXPECT_NEAR(r.right, (want.x + want.w) * pt, 1e-6) << id;
    EXPECT_NEAR(r.top, 75 - want.y * pt, 1e-6) << id;
    EXPECT_NEAR(r.bottom, 75 - (want.y + want.h) * pt, 1e-6) << id;
}

TEST(SvgLengths, PercentOfTheViewportEmAndExOfTheFont)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(Drawing(), doc, error)) << error;
    EXPECT_TRUE(doc.loadWarnings.empty());
    const double diagonalR = 0.1 * std::sqrt((200.0 * 200 + 100.0 * 100) / 2);
    const struct {
        const char* id;
        UserBox box;
    } cases[] = {
        {"percent-rect", {20, 10, 100, 50}},
        {"percent-circle", {100 - diagonalR, 50 - diagonalR, 2 * diagonalR, 2 * diagonalR}},
        {"em-rect", {20, 10, 40, 30}},
        {"em-circle", {35, 35, 30, 30}},
        {"ex-line", {0, 0, 8, 0}},
        {"inner-rect", {110, 10, 50, 20}},
    };
    for (const auto& c : cases) ExpectBox(doc, c.id, c.box);
    EXPECT_NEAR(FindArt(doc, "em-circle")->style.strokeWidth, 0.75, 1e-9) << "0.1em of 10 pixels";
}

// Art inside a nested viewport, moved and saved, reads back where it was moved to: the save
// writes it in the viewport's own units.
TEST(SvgLengths, ChangedArtStaysInsideItsViewport)
{
    std::string folder = MakeTestFolder("nested-viewport");
    std::string path = folder + "/" + kDrawing;
    svgtest::WriteBytes(path, svgtest::ReadBytes(Drawing()));
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    Art* inner = FindArt(doc, "inner-rect");
    ASSERT_NE(inner, nullptr);
    host::TransformArt(inner, AIRealMatrix{1, 0, 0, 1, 7.5, -15}, false);  // 10 right, 20 down
    Art* added = nullptr;
    ASSERT_EQ(host::DuplicateArt(inner, host::Placement::Above, inner, &added), kNoErr);
    host::TransformArt(added, AIRealMatrix{1, 0, 0, 1, -75, 0}, false);  // 100 left of it
    ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
    std::string saved = svgtest::ReadBytes(path);

    Document again;
    ASSERT_TRUE(host::LoadSvgDocument(path, again, error)) << error << "\n" << saved;
    ExpectBox(again, "inner-rect", {120, 30, 50, 20});
    ASSERT_NE(added, nullptr);
    ExpectBox(again, added->name.c_str(), {20, 30, 50, 20});
    // the rest of the drawing is as it was
    ExpectBox(again, "percent-rect", {20, 10, 100, 50});
}

}  // namespace
