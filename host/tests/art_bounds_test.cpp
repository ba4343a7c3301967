// Exact bounds of curves and of art built from them.
#include "host/document/document.h"

#include <gtest/gtest.h>

namespace {

using host::Art;
using host::ArtType;
using host::Document;
using host::Placement;

void ExpectRect(const AIRealRect& r, double left, double bottom, double right, double top, const std::string& what)
{
    EXPECT_NEAR(r.left, left, 1e-9) << what;
    EXPECT_NEAR(r.bottom, bottom, 1e-9) << what;
    EXPECT_NEAR(r.right, right, 1e-9) << what;
    EXPECT_NEAR(r.top, top, 1e-9) << what;
}

TEST(ArtBounds, CubicExtremesInsideTheSegment)
{
    const struct {
        const char* name;
        AIRealPoint p0, p1, p2, p3;
        double left, bottom, right, top;
    } cases[] = {
        // An arch: the top is 3/4 of the control height, reached at t = 1/2.
        {"arch", {0, 0}, {0, 10}, {10, 10}, {10, 0}, 0, 0, 10, 7.5},
        // An S: h overshoots both ends, at t = 1/2 -+ sqrt(3/44), by 2.8334945 on each side.
        {"s-curve", {0, 0}, {40, 0}, {-30, 10}, {10, 10}, -2.8334945180064057, 0, 12.833494518006397, 10},
        {"straight", {1, 2}, {2, 3}, {3, 4}, {4, 5}, 1, 2, 4, 5},
        {"controls on the anchors", {4, 5}, {4, 5}, {0, 0}, {0, 0}, 0, 0, 4, 5},
        {"loop below", {0, 0}, {10, -10}, {-10, -10}, {0, 0}, -2.886751345948129, -7.5, 2.886751345948129, 0},
        {"a point", {3, 3}, {3, 3}, {3, 3}, {3, 3}, 3, 3, 3, 3},
    };
    for (const auto& c : cases) {
        AIRealRect r;
        ASSERT_TRUE(host::CubicBounds(c.p0, c.p1, c.p2, c.p3, r));
        ExpectRect(r, c.left, c.bottom, c.right, c.top, c.name);
    }
}

TEST(ArtBounds, ClosedPathsIncludeTheClosingCurve)
{
    // Two anchors; the closing curve bulges to h = -7.5 only when the path is closed.
    std::vector<AIPathSegment> segs = {
        {{0, 0}, {-10, 0}, {0, 0}, true},
        {{0, 10}, {0, 10}, {-10, 10}, true},
    };
    AIRealRect open, closed;
    ASSERT_TRUE(host::SegmentsBounds(segs, false, open));
    ASSERT_TRUE(host::SegmentsBounds(segs, true, closed));
    ExpectRect(open, 0, 0, 0, 10, "open");
    ExpectRect(closed, -7.5, 0, 0, 10, "closed");
    AIRealRect none;
    EXPECT_FALSE(host::SegmentsBounds({}, false, none));
}

TEST(ArtBounds, GroupsSymbolsAndEmptyArt)
{
    Document doc;
    host::Layer* layer = nullptr;
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::AboveAll, &layer), kNoErr);
    Art* group = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::Group, Placement::InsideOnTop, layer->group, &group), kNoErr);
    Art* a = nullptr;
    Art* b = nullptr;
    Art* empty = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::Path, Placement::InsideOnTop, group, &a), kNoErr);
    ASSERT_EQ(host::NewArt(doc, ArtType::Path, Placement::InsideOnTop, group, &b), kNoErr);
    ASSERT_EQ(host::NewArt(doc, ArtType::Path, Placement::InsideOnTop, group, &empty), kNoErr);
    auto corner = [](double h, double v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; };
    host::SetPathSegments(a, {corner(0, 0), corner(10, 5)});
    host::SetPathSegments(b, {corner(-5, 20), corner(3, 8)});
    AIRealRect r;
    ASSERT_TRUE(host::ArtBounds(group, r));
    ExpectRect(r, -5, 0, 10, 20, "group of two paths and an empty one");
    EXPECT_FALSE(host::ArtBounds(empty, r));

    // A symbol turned by 90 degrees: the bounds of the placed curve, not of a turned box.
    doc.symbolPool.push_back(std::make_unique<host::Symbol>());
    host::Symbol* symbol = doc.symbolPool.back().get();
    symbol->name = "arch";
    symbol->definition = host::NewDetachedArt(doc, ArtType::Group);
    Art* arch = host::NewDetachedArt(doc, ArtType::Path);
    arch->segments = {{{0, 0}, {0, 0}, {0, 10}, true}, {{10, 0}, {10, 10}, {10, 0}, true}};
    arch->parent = symbol->definition;
    symbol->definition->children.push_back(arch);
    doc.symbols.push_back(symbol);
    Art* instance = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::SymbolInstance, Placement::InsideOnTop, layer->group, &instance), kNoErr);
    instance->symbol = symbol;
    instance->matrix = AIRealMatrix{0, 1, -1, 0, 100, 0};  // turn a quarter, then move right
    ASSERT_TRUE(host::ArtBounds(instance, r));
    ExpectRect(r, 92.5, 0, 100, 10, "turned symbol");
    instance->symbol = nullptr;
    EXPECT_FALSE(host::ArtBounds(instance, r));
}

}  // namespace
