// What the reader follows from one element to another (uses, symbols, text paths) is bounded by
// the work it makes: cycles are cut with a warning, floods of copies are refused before memory
// is taken, with a message naming the element; art that cannot be read is named, never lost
// without a word; a path too long for one path is read in pieces that join.
#include "host/session/host_session.h"
#include "host/suites/art_suites.h"
#include "host/svg/svg_file.h"
#include "host/tests/svg_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using host::Art;
using host::ArtType;
using host::Document;
using svgtest::FindArt;

std::string Data(const std::string& name) { return std::string(TRAVEX_SOURCE_DIR) + "/host/tests/data/" + name; }

std::string AllWarnings(const Document& doc)
{
    std::string all;
    for (const std::string& w : doc.loadWarnings) all += w + "\n";
    return all;
}

// Each drawing would make far more than any drawing needs: refused at once, naming the file,
// the line and the element, and left as it is.
TEST(SvgReferences, FloodsOfCopiesAreRefusedNamingTheElement)
{
    const struct {
        const char* file;
        std::vector<std::string> mentions;
    } cases[] = {
        {"uses-doubling-150-times.svg", {"uses-doubling-150-times.svg:", "<g id=\"c", "more than 2000000 objects"}},
        {"nested-uses-ten-million-copies.svg",
         {"nested-uses-ten-million-copies.svg:", "<g id=\"c", "more than 2000000 objects"}},
        {"symbols-doubling-60-times.svg",
         {"symbols-doubling-60-times.svg:", "<symbol id=\"c", "more than 2000000 objects"}},
        {"uses-of-a-long-path.svg", {"uses-of-a-long-path.svg:", "<g id=\"c", "more than 20000000 path points"}},
        {"uses-of-many-subpaths.svg", {"uses-of-many-subpaths.svg:", "<g id=\"c", "more than 2000000 objects"}},
        {"uses-160-levels-deep.svg", {"uses-160-levels-deep.svg:", "<use", "more than 150 levels deep"}},
    };
    for (const auto& c : cases) {
        std::string folder = MakeTestFolder(std::string("flood-") + c.file);
        std::string path = folder + "/" + c.file;
        std::string bytes = svgtest::ReadBytes(Data(c.file));
        svgtest::WriteBytes(path, bytes);
        Document doc;
        std::string error;
        EXPECT_FALSE(host::LoadSvgDocument(path, doc, error)) << c.file;
        EXPECT_TRUE(doc.fLoadFailed) << c.file;
        EXPECT_LT(doc.artPool.size(), 10u) << c.file << ": refused before anything was read";
        for (const std::string& m : c.mentions) EXPECT_NE(error.find(m), std::string::npos) << c.file << ": " << error;
        EXPECT_NE(error.find("the drawing is not read"), std::string::npos) << error;
        std::string saveError;
        EXPECT_FALSE(host::SaveSvgDocument(doc, path, saveError)) << c.file;
        EXPECT_EQ(svgtest::ReadBytes(path), bytes) << c.file;
    }
}

// A text path follows a shape only: one that names its own text is not followed, said so, and
// the text is kept as point text.
TEST(SvgReferences, TextPathsNamingATextAreNotFollowed)
{
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(Data("text-path-to-its-own-text.svg"), doc, error)) << error;
    Art* text = FindArt(doc, "loop");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text.kind, host::TextKind::PointText);
    EXPECT_EQ(host::TextContent(text), "ab");
    ASSERT_EQ(doc.loadWarnings.size(), 2u) << AllWarnings(doc);
    EXPECT_NE(doc.loadWarnings[0].find(
                  "text-path-to-its-own-text.svg:4: <textPath id=\"first\">: names a <text>, not a shape"),
              std::string::npos)
        << doc.loadWarnings[0];
    EXPECT_NE(doc.loadWarnings[1].find("<textPath id=\"second\">"), std::string::npos) << doc.loadWarnings[1];
}

// A use inside what it places is not expanded and is named; the rest of the drawing is read.
TEST(SvgReferences, UsesInsideTheirOwnTargetsAreCutWithAWarning)
{
    const char* head = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'>";
    const struct {
        const char* name;
        const char* body;
        const char* warned;  // the use named
        const char* kept;    // art still read
    } cases[] = {
        {"itself", "<g id='L'><g id='a'><use id='u' href='#a'/><rect id='r' width='1' height='1'/></g></g>",
         "<use id=\"u\">", "r"},
        {"through another",
         "<defs><g id='a'><use id='to-b' href='#b'/></g><g id='b'><use id='to-a' href='#a'/>"
         "<rect id='r' width='1' height='1'/></g></defs><g id='L'><use id='top' href='#a'/></g>",
         "<use id=\"to-a\">", "top"},
        {"a symbol through another",
         "<defs><symbol id='a'><use id='to-b' href='#b'/></symbol><symbol id='b'>"
         "<use id='to-a' href='#a'/></symbol></defs><g id='L'><use id='top' href='#a'/></g>",
         "<use id=\"to-a\">", "top"},
    };
    std::string folder = MakeTestFolder("use-cycles");
    for (const auto& c : cases) {
        std::string path = folder + "/cycle.svg";
        svgtest::WriteBytes(path, std::string(head) + c.body + "</svg>");
        Document doc;
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << c.name << ": " << error;
        ASSERT_EQ(doc.loadWarnings.size(), 1u) << c.name << ": " << AllWarnings(doc);
        EXPECT_NE(doc.loadWarnings[0].find(c.warned), std::string::npos) << c.name << ": " << doc.loadWarnings[0];
        EXPECT_NE(doc.loadWarnings[0].find("lies inside what it places"), std::string::npos) << doc.loadWarnings[0];
        EXPECT_NE(FindArt(doc, c.kept), nullptr) << c.name;
    }
}

// Art whose coordinates overflow once placed is left out with a warning naming it; what can be
// read is read, and the file keeps every element.
TEST(SvgReferences, ArtBeyondEveryNumberIsNamedAndLeftOut)
{
    std::string folder = MakeTestFolder("beyond");
    std::string path = folder + "/beyond.svg";
    std::string bytes = svgtest::ReadBytes(Data("coordinates-beyond-every-number.svg"));
    svgtest::WriteBytes(path, bytes);
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    const struct {
        const char* id;
        const char* where;
    } cases[] = {
        {"far-path", "beyond.svg:6: <path id=\"far-path\">"},
        {"far-rect", "beyond.svg:7: <rect id=\"far-rect\">"},
        {"far-circle", "beyond.svg:8: <circle id=\"far-circle\">"},
        {"far-polygon", "beyond.svg:9: <polygon id=\"far-polygon\">"},
        {"far-text", "beyond.svg:10: <text id=\"far-text\">"},
        {"far-instance", "beyond.svg:11: <use id=\"far-instance\">"},
    };
    std::string all = AllWarnings(doc);
    for (const auto& c : cases) {
        EXPECT_EQ(FindArt(doc, c.id), nullptr) << c.id;
        EXPECT_NE(all.find(std::string(c.where) + ": its coordinates lie beyond every number"), std::string::npos)
            << c.id << ":\n"
            << all;
    }
    EXPECT_NE(all.find("beyond.svg:13: <path id=\"broken\">: unknown path command at offset 10 of the path data; drawn "
                       "up to there"),
              std::string::npos)
        << all;
    ASSERT_NE(FindArt(doc, "broken"), nullptr);
    EXPECT_EQ(FindArt(doc, "broken")->segments.size(), 2u);
    ASSERT_NE(FindArt(doc, "near"), nullptr);
    EXPECT_EQ(doc.loadWarnings.size(), std::size(cases) + 1) << all;

    // A changed save keeps the elements left out as they were.
    host::SetPathSegments(FindArt(doc, "near"), FindArt(doc, "near")->segments);
    ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
    std::string saved = svgtest::ReadBytes(path);
    for (const char* element :
         {"<path id=\"far-path\" d=\"M0.5 2 L1e308 2\"/>", "<text id=\"far-text\" x=\"1e308\" y=\"1\">far</text>"})
        EXPECT_NE(saved.find(element), std::string::npos) << element << "\n" << saved;
}

// Paths longer than the path suite's 16-bit count: pieces of at most 32767 segments, each
// starting on the anchor the one before ended on, together every anchor of the path.
TEST(SvgReferences, LongPathsAreReadInPiecesThatJoin)
{
    const struct {
        const char* name;
        size_t points;
        bool closed;
        size_t pieces;
    } cases[] = {
        {"open path of 40000 segments", 40000, false, 2},
        {"closed path of 70000 segments", 70000, true, 3},
        {"the longest single path", 32767, false, 1},
        {"the longest closed single path", 32767, true, 1},
    };
    std::string folder = MakeTestFolder("long-paths");
    for (const auto& c : cases) {
        std::string d = "M0 0";
        for (size_t i = 1; i < c.points; ++i)
            d += " L" + std::to_string(i % 100) + " " + std::to_string(i / 100 + (i % 2));
        if (c.closed) d += " Z";
        std::string path = folder + "/long.svg";
        svgtest::WriteBytes(
            path, "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='1000'><g id='L'><path id='p' d='" + d +
                      "'/></g></svg>");
        Document doc;
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << c.name << ": " << error;
        EXPECT_TRUE(doc.loadWarnings.empty()) << c.name << ": " << AllWarnings(doc);
        host::TheSession().document = &doc;  // the path suite answers for the session's drawing
        host::ResetHostDocumentState();
        Art* art = FindArt(doc, "p");
        ASSERT_NE(art, nullptr) << c.name;
        std::vector<Art*> pieces;
        if (art->type == ArtType::Path) pieces.push_back(art);
        for (Art* member : art->children) pieces.push_back(member);
        ASSERT_EQ(pieces.size(), c.pieces) << c.name;
        std::vector<AIPathSegment> joined;
        for (Art* piece : pieces) {
            ASSERT_LE(piece->segments.size(), 32767u) << c.name;
            ASSERT_GE(piece->segments.size(), 2u) << c.name;
            ASSERT_EQ(piece->fClosed, c.closed && c.pieces == 1) << c.name;
            ASSERT_EQ(piece->style.strokeWidth, art->style.strokeWidth) << c.name;
            ASSERT_EQ(piece->style.fFillPaint, art->style.fFillPaint) << c.name;
            ASInt16 count = 0;
            ASSERT_EQ(host::HostPathSuite()->GetPathSegmentCount(host::ToHandle(piece), &count), kNoErr) << c.name;
            ASSERT_EQ(static_cast<size_t>(count), piece->segments.size()) << c.name;
            if (!joined.empty()) {
                EXPECT_EQ(piece->segments.front().ptAnchor.h, joined.back().ptAnchor.h) << c.name;
                EXPECT_EQ(piece->segments.front().ptAnchor.v, joined.back().ptAnchor.v) << c.name;
                joined.pop_back();
            }
            joined.insert(joined.end(), piece->segments.begin(), piece->segments.end());
        }
        size_t anchors = c.points + (c.closed && c.pieces > 1 ? 1 : 0);  // the closing segment written out
        ASSERT_EQ(joined.size(), anchors) << c.name;
        for (size_t i = 0; i < c.points; ++i) {
            AIRealPoint want =
                host::TransformPoint(doc.userToArtwork, AIRealPoint{double(i % 100), double(i / 100 + (i % 2))});
            ASSERT_NEAR(joined[i].ptAnchor.h, want.h, 1e-9) << c.name << " anchor " << i;
            ASSERT_NEAR(joined[i].ptAnchor.v, want.v, 1e-9) << c.name << " anchor " << i;
        }
        if (anchors > c.points) {
            EXPECT_EQ(joined.back().ptAnchor.h, joined.front().ptAnchor.h) << c.name;
            EXPECT_EQ(joined.back().ptAnchor.v, joined.front().ptAnchor.v) << c.name;
        }
        host::TheSession().document = nullptr;
    }
}

}  // namespace
