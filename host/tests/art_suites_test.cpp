// The art, path, style, layer, document, symbol and plug-in group suites as a plug-in sees
// them, over a small drawing loaded from SVG, and what they change surviving a save.
#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/host_strings.h"
#include "host/suites/suite_registry.h"
#include "host/svg/svg_file.h"
#include "sdk/suite_names.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace host;

// 1 user unit is 1 point; artwork v = 100 - SVG y. Later layers are on top, so "Pens" is
// layer 0; inside a group the later element is the first child.
const char* const kDrawing = R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     width="200pt" height="100pt" viewBox="0 0 200 100">
  <defs>
    <symbol id="mark" viewBox="0 0 10 10"><rect x="0" y="0" width="10" height="4"/></symbol>
  </defs>
  <g id="layer1" inkscape:groupmode="layer" inkscape:label="Cutting">
    <rect id="box" x="10" y="20" width="30" height="40" style="fill:none;stroke:#ff0000;stroke-width:2;stroke-dasharray:4,2"/>
    <g id="pair">
      <path id="tri" d="M 50 10 L 70 10 L 60 30 Z" style="fill:#0000ff;stroke:none"/>
      <path id="line" d="M 80 80 L 90 90" style="fill:none;stroke:#000000"/>
    </g>
  </g>
  <g id="layer2" inkscape:groupmode="layer" inkscape:label="Pens">
    <use id="inst" xlink:href="#mark" x="100" y="50" width="10" height="10"/>
    <circle id="dot" cx="150" cy="50" r="10" opacity="0.5" style="fill:#000000"/>
  </g>
</svg>
)";

const AIArtSuite& Arts() { return *HostArtSuite(); }
const AIPathSuite& Paths() { return *HostPathSuite(); }
const AIPathStyleSuite& Styles() { return *HostPathStyleSuite(); }
const AILayerSuite& Layers() { return *HostLayerSuite(); }
const AIDocumentSuite& Docs() { return *HostDocumentSuite(); }

class ArtSuites : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeTestFolder("art_suites");
        file = folder + "/drawing.svg";
        std::ofstream(file) << kDrawing;
        Load(file);
        ResetHostDocumentState();
    }

    void TearDown() override
    {
        for (AIUnicodeStringRef s : strings) HostUnicodeStringSuite()->Dispose(s);
        TheSession().document = nullptr;
    }

    void Load(const std::string& path)
    {
        TheSession().document = nullptr;
        doc = std::make_unique<Document>();
        std::string error;
        ASSERT_TRUE(LoadSvgDocument(path, *doc, error)) << error;
        TheSession().document = doc.get();
    }

    AIUnicodeStringRef Text(const char* eightBit)
    {
        AIUnicodeStringRef s = nullptr;
        EXPECT_EQ(HostUnicodeStringSuite()->MakeFromEightBit(eightBit, kAIShiftJisCharacterEncoding, &s), kNoErr);
        strings.push_back(s);
        return s;
    }

    AILayerHandle LayerNamed(const char* title)
    {
        AILayerHandle layer = nullptr;
        EXPECT_EQ(Layers().GetLayerByTitle(Text(title), &layer), kNoErr);
        return layer;
    }

    // Art found by its SVG id, through the suites only.
    AIArtHandle Find(const std::string& id)
    {
        ASInt32 count = 0;
        Layers().CountLayers(&count);
        for (ASInt32 i = 0; i < count; ++i) {
            AILayerHandle layer = nullptr;
            AIArtHandle group = nullptr;
            Layers().GetNthLayer(i, &layer);
            Arts().GetFirstArtOfLayer(layer, &group);
            if (AIArtHandle found = FindIn(group, id)) return found;
        }
        return nullptr;
    }

    AIArtHandle FindIn(AIArtHandle art, const std::string& id)
    {
        if (FromHandle(art)->name == id) return art;
        AIArtHandle child = nullptr;
        for (Arts().GetArtFirstChild(art, &child); child; Arts().GetArtSibling(child, &child))
            if (AIArtHandle found = FindIn(child, id)) return found;
        return nullptr;
    }

    // The tree below art as type codes, children in brackets: "1[2,1[2,2]]".
    std::string Shape(AIArtHandle art)
    {
        ASInt16 type = -1;
        EXPECT_EQ(Arts().GetArtType(art, &type), kNoErr);
        std::string out = std::to_string(type);
        AIArtHandle child = nullptr;
        EXPECT_EQ(Arts().GetArtFirstChild(art, &child), kNoErr);
        if (!child) return out;
        out += "[";
        for (bool first = true; child; first = false) {
            AIArtHandle parent = nullptr;
            EXPECT_EQ(Arts().GetArtParent(child, &parent), kNoErr);
            EXPECT_EQ(parent, art);
            out += (first ? "" : ",") + Shape(child);
            EXPECT_EQ(Arts().GetArtSibling(child, &child), kNoErr);
        }
        return out + "]";
    }

    // The SVG ids of art's children, top first ("?" for art made by the host).
    std::string Children(AIArtHandle art)
    {
        std::string out;
        AIArtHandle child = nullptr;
        for (Arts().GetArtFirstChild(art, &child); child; Arts().GetArtSibling(child, &child)) {
            const std::string& name = FromHandle(child)->name;
            out += (out.empty() ? "" : ",") + (name.empty() ? std::string("?") : name);
        }
        return out;
    }

    std::string Title(AILayerHandle layer, ASInt32 room = 256)
    {
        std::vector<char> buffer(static_cast<size_t>(room) + 1, '#');
        EXPECT_EQ(Layers().GetLayerTitle(layer, buffer.data(), room), kNoErr);
        return buffer.data();
    }

    std::string folder;
    std::string file;
    std::unique_ptr<Document> doc;
    std::vector<AIUnicodeStringRef> strings;
};

AIPathSegment Corner(double h, double v)
{
    return AIPathSegment{{h, v}, {h, v}, {h, v}, 1};
}

void ExpectRect(const AIRealRect& r, double left, double top, double right, double bottom)
{
    EXPECT_NEAR(r.left, left, 1e-9);
    EXPECT_NEAR(r.top, top, 1e-9);
    EXPECT_NEAR(r.right, right, 1e-9);
    EXPECT_NEAR(r.bottom, bottom, 1e-9);
}

TEST_F(ArtSuites, LayersAndTheirArtWalkInStackingOrder)
{
    ASInt32 count = 0;
    ASSERT_EQ(Layers().CountLayers(&count), kNoErr);
    ASSERT_EQ(count, 2);

    AILayerHandle top = nullptr, bottom = nullptr, next = nullptr, previous = nullptr, past = nullptr;
    ASSERT_EQ(Layers().GetNthLayer(0, &top), kNoErr);
    ASSERT_EQ(Layers().GetNthLayer(1, &bottom), kNoErr);
    EXPECT_EQ(Title(top), "Pens");
    EXPECT_EQ(Title(bottom), "Cutting");
    EXPECT_EQ(Layers().GetNextLayer(top, &next), kNoErr);
    EXPECT_EQ(next, bottom);
    EXPECT_EQ(Layers().GetNextLayer(bottom, &past), kNoErr);
    EXPECT_EQ(past, nullptr);
    EXPECT_EQ(Layers().GetPrevLayer(bottom, &previous), kNoErr);
    EXPECT_EQ(previous, top);
    EXPECT_EQ(LayerNamed("Cutting"), bottom);
    EXPECT_EQ(LayerNamed("Cut"), nullptr);  // whole titles only

    AIArtHandle cutting = nullptr, pens = nullptr;
    ASSERT_EQ(Arts().GetFirstArtOfLayer(bottom, &cutting), kNoErr);
    ASSERT_EQ(Arts().GetFirstArtOfLayer(top, &pens), kNoErr);
    EXPECT_EQ(Shape(cutting), "1[1[2,2],2]");
    EXPECT_EQ(Children(cutting), "pair,box");
    EXPECT_EQ(Shape(pens), "1[2,13]");
    EXPECT_EQ(Children(pens), "dot,inst");

    AIArtHandle box = Find("box"), pair = Find("pair"), last = nullptr, prior = nullptr;
    EXPECT_EQ(Arts().GetArtLastChild(cutting, &last), kNoErr);
    EXPECT_EQ(last, box);
    EXPECT_EQ(Arts().GetArtPriorSibling(box, &prior), kNoErr);
    EXPECT_EQ(prior, pair);
    EXPECT_EQ(Arts().GetArtPriorSibling(pair, &prior), kNoErr);
    EXPECT_EQ(prior, nullptr);

    AILayerHandle owner = nullptr;
    EXPECT_EQ(Arts().GetLayerOfArt(Find("tri"), &owner), kNoErr);
    EXPECT_EQ(owner, bottom);
    AIArtHandle groupParent = Find("tri");
    EXPECT_EQ(Arts().GetArtParent(cutting, &groupParent), kNoErr);
    EXPECT_EQ(groupParent, nullptr);
}

TEST_F(ArtSuites, SegmentsFlagsAndStylesComeFromTheDrawing)
{
    AIArtHandle tri = Find("tri");
    ASInt16 count = 0;
    ASSERT_EQ(Paths().GetPathSegmentCount(tri, &count), kNoErr);
    ASSERT_EQ(count, 3);
    AIPathSegment segments[3];
    ASSERT_EQ(Paths().GetPathSegments(tri, 0, 3, segments), kNoErr);
    const AIRealPoint anchors[3] = {{50, 90}, {70, 90}, {60, 70}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(segments[i].ptAnchor.h, anchors[i].h, 1e-9);
        EXPECT_NEAR(segments[i].ptAnchor.v, anchors[i].v, 1e-9);
        EXPECT_NEAR(segments[i].ptIn.h, anchors[i].h, 1e-9);
        EXPECT_NEAR(segments[i].ptOut.v, anchors[i].v, 1e-9);
    }
    AIPathSegment second{};
    ASSERT_EQ(Paths().GetPathSegments(tri, 1, 1, &second), kNoErr);
    EXPECT_NEAR(second.ptAnchor.h, 70, 1e-9);

    ASBoolean closed = 0, guide = 1;
    EXPECT_EQ(Paths().GetPathClosed(tri, &closed), kNoErr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(Paths().GetPathClosed(Find("line"), &closed), kNoErr);
    EXPECT_FALSE(closed);
    EXPECT_EQ(Paths().GetPathGuide(tri, &guide), kNoErr);
    EXPECT_FALSE(guide);

    AIRealRect bounds{};
    ASSERT_EQ(Arts().GetArtBounds(Find("box"), &bounds), kNoErr);
    ExpectRect(bounds, 10, 80, 40, 40);
    ASSERT_EQ(Arts().GetArtBounds(Find("dot"), &bounds), kNoErr);
    ExpectRect(bounds, 140, 60, 160, 40);

    AIPathStyle box{};
    ASSERT_EQ(Styles().GetPathStyle(Find("box"), &box), kNoErr);
    EXPECT_FALSE(box.fFillPaint);
    EXPECT_TRUE(box.fStrokePaint);
    EXPECT_EQ(box.strokeColor.kind, kStyleColorRgb);
    EXPECT_DOUBLE_EQ(box.strokeColor.red, 1);
    EXPECT_DOUBLE_EQ(box.strokeColor.green, 0);
    EXPECT_DOUBLE_EQ(box.strokeWidth, 2);
    ASSERT_EQ(box.dashCount, 2);
    EXPECT_DOUBLE_EQ(box.dashValues[0], 4);
    EXPECT_DOUBLE_EQ(box.dashValues[1], 2);

    AIPathStyle triangle{};
    ASSERT_EQ(Styles().GetPathStyle(tri, &triangle), kNoErr);
    EXPECT_TRUE(triangle.fFillPaint);
    EXPECT_DOUBLE_EQ(triangle.fillColor.blue, 1);
    EXPECT_FALSE(triangle.fStrokePaint);
    EXPECT_EQ(triangle.dashCount, 0);

    AIReal opacity = 0;
    EXPECT_EQ(HostBlendStyleSuite()->GetArtOpacity(Find("dot"), &opacity), kNoErr);
    EXPECT_DOUBLE_EQ(opacity, 0.5);
    EXPECT_EQ(HostBlendStyleSuite()->GetArtOpacity(tri, &opacity), kNoErr);
    EXPECT_DOUBLE_EQ(opacity, 1);
    AIArtHandle styled = nullptr;
    EXPECT_EQ(HostArtStyleSuite()->GetStyledArt(tri, &styled), kNoErr);
    EXPECT_EQ(styled, tri);
}

TEST_F(ArtSuites, NewArtGoesWhereThePlacementCodeSays)
{
    struct Case {
        ASInt16 placement;
        const char* reference;  // null: no reference
        const char* container;  // whose children to look at
        const char* expected;   // its children afterwards, "?" for the new art
    };
    const Case cases[] = {
        {kPlaceAbove, "tri", "pair", "line,?,tri"},
        {kPlaceBelow, "tri", "pair", "line,tri,?"},
        {kPlaceInsideOnTop, "pair", "pair", "?,line,tri"},
        {kPlaceInsideOnBottom, "pair", "pair", "line,tri,?"},
        {kPlaceAboveAll, "tri", "layer2", "?,dot,inst"},
        {kPlaceBelowAll, "dot", "layer1", "pair,box,?"},
        {kPlaceInsideOnTop, nullptr, "layer2", "?,dot,inst"},  // the current layer
        {kPlaceBelow, nullptr, "layer2", "dot,inst,?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.placement) + " " + (c.reference ? c.reference : "none"));
        Load(file);
        Layers().SetCurrentLayer(LayerNamed("Pens"));
        AIArtHandle made = nullptr;
        ASSERT_EQ(Arts().NewArt(kArtTypePath, c.placement, c.reference ? Find(c.reference) : nullptr, &made), kNoErr);
        ASSERT_NE(made, nullptr);
        AIArtHandle container = std::string(c.container).rfind("layer", 0) == 0
                                    ? nullptr
                                    : Find(c.container);
        if (!container)
            Arts().GetFirstArtOfLayer(LayerNamed(std::string(c.container) == "layer1" ? "Cutting" : "Pens"), &container);
        EXPECT_EQ(Children(container), c.expected);
        ASInt16 type = 0, segments = -1;
        EXPECT_EQ(Arts().GetArtType(made, &type), kNoErr);
        EXPECT_EQ(type, kArtTypePath);
        EXPECT_EQ(Paths().GetPathSegmentCount(made, &segments), kNoErr);
        EXPECT_EQ(segments, 0);
    }
}

TEST_F(ArtSuites, NewArtRefusesWhatItCannotPlace)
{
    struct Case {
        const char* what;
        ASInt16 type;
        ASInt16 placement;
        const char* reference;
    };
    const Case cases[] = {
        {"placement 0", kArtTypePath, 0, "pair"},
        {"placement 7", kArtTypePath, 7, "pair"},
        {"inside a path", kArtTypePath, kPlaceInsideOnTop, "tri"},
        {"beside a layer's group", kArtTypePath, kPlaceAbove, "layer1"},
        {"a text frame", kArtTypeTextFrame, kPlaceInsideOnTop, "pair"},
        {"a symbol instance", kArtTypeSymbolInstance, kPlaceInsideOnTop, "pair"},
        {"an unknown type", 99, kPlaceInsideOnTop, "pair"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AIArtHandle reference = nullptr;
        if (std::string(c.reference) == "layer1")
            Arts().GetFirstArtOfLayer(LayerNamed("Cutting"), &reference);
        else
            reference = Find(c.reference);
        AIArtHandle made = reinterpret_cast<AIArtHandle>(&reference);
        EXPECT_EQ(Arts().NewArt(c.type, c.placement, reference, &made), kBadParameterErr);
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(Children(Find("pair")), "line,tri");
    }
    EXPECT_EQ(Arts().NewArt(kArtTypePath, kPlaceAbove, Find("tri"), nullptr), kBadParameterErr);
}

TEST_F(ArtSuites, BuiltPathsAndGroupsAreWhatWasWritten)
{
    AIArtHandle cutting = nullptr, group = nullptr, path = nullptr, compound = nullptr, member = nullptr;
    Arts().GetFirstArtOfLayer(LayerNamed("Cutting"), &cutting);
    ASSERT_EQ(Arts().NewArt(kArtTypeGroup, kPlaceInsideOnTop, cutting, &group), kNoErr);
    ASSERT_EQ(Arts().NewArt(kArtTypePath, kPlaceInsideOnTop, group, &path), kNoErr);
    ASSERT_EQ(Arts().NewArt(kArtTypeCompoundPath, kPlaceInsideOnBottom, group, &compound), kNoErr);
    ASSERT_EQ(Arts().NewArt(kArtTypePath, kPlaceInsideOnTop, compound, &member), kNoErr);

    // segment after segment, as a copy is built
    const AIPathSegment square[4] = {Corner(0, 10), Corner(10, 10), Corner(10, 0), Corner(0, 0)};
    for (ASInt16 i = 0; i < 4; ++i) ASSERT_EQ(Paths().SetPathSegments(path, i, 1, &square[i]), kNoErr);
    ASSERT_EQ(Paths().SetPathClosed(path, 1), kNoErr);
    EXPECT_EQ(Paths().SetPathSegments(path, 6, 1, &square[0]), kBadParameterErr);  // leaves a gap

    ASInt16 count = 0;
    ASSERT_EQ(Paths().GetPathSegmentCount(path, &count), kNoErr);
    EXPECT_EQ(count, 4);
    AIRealRect bounds{};
    ASSERT_EQ(Arts().GetArtBounds(path, &bounds), kNoErr);
    ExpectRect(bounds, 0, 10, 10, 0);

    // overwriting the middle keeps the rest, a shorter count cuts, a longer one repeats the end
    const AIPathSegment moved = Corner(20, 10);
    ASSERT_EQ(Paths().SetPathSegments(path, 1, 1, &moved), kNoErr);
    ASSERT_EQ(Paths().SetPathSegmentCount(path, 2), kNoErr);
    ASSERT_EQ(Paths().SetPathSegmentCount(path, 3), kNoErr);
    AIPathSegment got[3];
    ASSERT_EQ(Paths().GetPathSegments(path, 0, 3, got), kNoErr);
    EXPECT_DOUBLE_EQ(got[0].ptAnchor.h, 0);
    EXPECT_DOUBLE_EQ(got[1].ptAnchor.h, 20);
    EXPECT_DOUBLE_EQ(got[2].ptAnchor.h, 20);
    EXPECT_DOUBLE_EQ(got[2].ptIn.v, 10);

    ASSERT_EQ(Paths().SetPathSegments(member, 0, 4, square), kNoErr);
    ASSERT_EQ(Arts().GetArtBounds(compound, &bounds), kNoErr);
    ExpectRect(bounds, 0, 10, 10, 0);
    EXPECT_EQ(Shape(group), "1[2,3[2]]");

    // a style set on a compound path reaches its members
    AIPathStyle style{};
    style.fStrokePaint = 1;
    style.strokeColor.kind = kStyleColorGray;
    style.strokeColor.gray = 1.0;
    style.strokeWidth = 0.9;
    style.miterLimit = 4;
    ASSERT_EQ(Styles().SetPathStyle(compound, &style), kNoErr);
    AIPathStyle read{};
    ASSERT_EQ(Styles().GetPathStyle(member, &read), kNoErr);
    EXPECT_DOUBLE_EQ(read.strokeWidth, 0.9);
    EXPECT_TRUE(read.fStrokePaint);
    EXPECT_EQ(read.strokeColor.kind, kStyleColorRgb);
    EXPECT_DOUBLE_EQ(read.strokeColor.red, 0);  // gray 1 is black
    EXPECT_FALSE(read.fFillPaint);
}

TEST_F(ArtSuites, DuplicateCopiesDeepAndDisposeRemoves)
{
    AIArtHandle pens = nullptr, copy = nullptr;
    Arts().GetFirstArtOfLayer(LayerNamed("Pens"), &pens);
    ASSERT_EQ(Arts().DuplicateArt(Find("pair"), kPlaceInsideOnTop, pens, &copy), kNoErr);
    EXPECT_EQ(Shape(copy), "1[2,2]");
    EXPECT_EQ(Children(pens), "?,dot,inst");
    AILayerHandle owner = nullptr;
    Arts().GetLayerOfArt(copy, &owner);
    EXPECT_EQ(owner, LayerNamed("Pens"));

    AIArtHandle copiedTri = nullptr;
    Arts().GetArtLastChild(copy, &copiedTri);
    ASSERT_NE(copiedTri, Find("tri"));
    AIPathSegment original[3], copied[3];
    ASSERT_EQ(Paths().GetPathSegments(Find("tri"), 0, 3, original), kNoErr);
    ASSERT_EQ(Paths().GetPathSegments(copiedTri, 0, 3, copied), kNoErr);
    EXPECT_EQ(std::memcmp(original, copied, sizeof original), 0);

    // changing the copy leaves the original
    const AIPathSegment moved = Corner(0, 0);
    ASSERT_EQ(Paths().SetPathSegments(copiedTri, 0, 1, &moved), kNoErr);
    ASSERT_EQ(Paths().GetPathSegments(Find("tri"), 0, 1, original), kNoErr);
    EXPECT_DOUBLE_EQ(original[0].ptAnchor.h, 50);

    AIArtHandle tri = Find("tri");
    ASSERT_EQ(Arts().DisposeArt(tri), kNoErr);
    EXPECT_EQ(Children(Find("pair")), "line");
    ASBoolean valid = 1;
    EXPECT_EQ(Arts().ValidArt(tri, &valid), kNoErr);
    EXPECT_FALSE(valid);
    ASInt16 type = 0;
    EXPECT_EQ(Arts().GetArtType(tri, &type), kBadParameterErr);
    EXPECT_EQ(Arts().DisposeArt(tri), kBadParameterErr);

    // disposing a group takes its children; a layer's own group stays
    AIArtHandle line = Find("line");
    ASSERT_EQ(Arts().DisposeArt(Find("pair")), kNoErr);
    EXPECT_EQ(Arts().ValidArt(line, &valid), kNoErr);
    EXPECT_FALSE(valid);
    EXPECT_EQ(Arts().DisposeArt(pens), kBadParameterErr);
    EXPECT_EQ(Children(pens), "?,dot,inst");
}

TEST_F(ArtSuites, ReorderMovesArtBetweenGroups)
{
    AIArtHandle pens = nullptr;
    Arts().GetFirstArtOfLayer(LayerNamed("Pens"), &pens);
    ASSERT_EQ(Arts().ReorderArt(Find("box"), kPlaceInsideOnTop, Find("pair")), kNoErr);
    EXPECT_EQ(Children(Find("pair")), "box,line,tri");
    AILayerHandle owner = nullptr;
    ASSERT_EQ(Arts().ReorderArt(Find("box"), kPlaceBelow, Find("inst")), kNoErr);
    EXPECT_EQ(Children(pens), "dot,inst,box");
    Arts().GetLayerOfArt(Find("box"), &owner);
    EXPECT_EQ(owner, LayerNamed("Pens"));

    // a group cannot go inside itself, and a refused move leaves the art where it was
    AIArtHandle line = Find("line");
    EXPECT_EQ(Arts().ReorderArt(Find("pair"), kPlaceInsideOnTop, Find("pair")), kBadParameterErr);
    EXPECT_EQ(Arts().ReorderArt(Find("pair"), kPlaceAbove, line), kBadParameterErr);
    EXPECT_EQ(Arts().ReorderArt(line, kPlaceInsideOnTop, Find("dot")), kBadParameterErr);
    EXPECT_EQ(Children(Find("pair")), "line,tri");
}

TEST_F(ArtSuites, UserAttributesAndDeselectOnLayer)
{
    AIArtHandle tri = Find("tri"), dot = Find("dot");
    ASSERT_EQ(Arts().SetArtUserAttr(tri, kArtAttrSelected | kArtAttrLocked, kArtAttrSelected | kArtAttrLocked), kNoErr);
    ASSERT_EQ(Arts().SetArtUserAttr(dot, kArtAttrSelected, kArtAttrSelected), kNoErr);
    ASInt32 attr = 0;
    ASSERT_EQ(Arts().GetArtUserAttr(tri, kArtAttrSelected | kArtAttrLocked | kArtAttrHidden, &attr), kNoErr);
    EXPECT_EQ(attr, kArtAttrSelected | kArtAttrLocked);
    ASSERT_EQ(Arts().GetArtUserAttr(tri, kArtAttrHidden, &attr), kNoErr);
    EXPECT_EQ(attr, 0);

    // only the bits named change
    ASSERT_EQ(Arts().SetArtUserAttr(tri, kArtAttrLocked, 0), kNoErr);
    ASSERT_EQ(Arts().GetArtUserAttr(tri, -1, &attr), kNoErr);
    EXPECT_EQ(attr, kArtAttrSelected);

    ASSERT_EQ(Layers().DeselectArtOnLayer(LayerNamed("Cutting")), kNoErr);
    EXPECT_EQ(Arts().GetArtUserAttr(tri, kArtAttrSelected, &attr), kNoErr);
    EXPECT_EQ(attr, 0);
    EXPECT_EQ(Arts().GetArtUserAttr(dot, kArtAttrSelected, &attr), kNoErr);
    EXPECT_EQ(attr, kArtAttrSelected);
}

TEST_F(ArtSuites, LayerInsertedBelowAllAndDeleted)
{
    AILayerHandle before = nullptr, made = nullptr, current = nullptr, last = nullptr;
    Layers().SetCurrentLayer(LayerNamed("Cutting"));
    Layers().GetCurrentLayer(&before);
    ASSERT_EQ(Layers().InsertLayer(nullptr, kPlaceBelowAll, &made), kNoErr);
    ASSERT_NE(made, nullptr);
    ASInt32 count = 0;
    Layers().CountLayers(&count);
    ASSERT_EQ(count, 3);
    Layers().GetNthLayer(2, &last);
    EXPECT_EQ(last, made);
    Layers().GetCurrentLayer(&current);
    EXPECT_EQ(current, made);  // a new layer becomes current
    ASSERT_EQ(Layers().SetCurrentLayer(before), kNoErr);
    Layers().GetCurrentLayer(&current);
    EXPECT_EQ(current, before);

    ASSERT_EQ(Layers().SetLayerTitle(made, Text("TRAVEX-Pro Configuration Layer")), kNoErr);
    EXPECT_EQ(LayerNamed("TRAVEX-Pro Configuration Layer"), made);
    EXPECT_EQ(Title(made), "TRAVEX-Pro Configuration Layer");

    struct Flag {
        const char* name;
        ASErr (*get)(AILayerHandle, ASBoolean*);
        ASErr (*set)(AILayerHandle, ASBoolean);
    };
    const Flag flags[] = {
        {"visible", Layers().GetLayerVisible, Layers().SetLayerVisible},
        {"editable", Layers().GetLayerEditable, Layers().SetLayerEditable},
        {"preview", Layers().GetLayerPreview, Layers().SetLayerPreview},
        {"printed", Layers().GetLayerPrinted, Layers().SetLayerPrinted},
    };
    for (const Flag& f : flags) {
        SCOPED_TRACE(f.name);
        ASBoolean value = 0;
        ASSERT_EQ(f.get(made, &value), kNoErr);
        EXPECT_TRUE(value);
        ASSERT_EQ(f.set(made, 0), kNoErr);
        ASSERT_EQ(f.get(made, &value), kNoErr);
        EXPECT_FALSE(value);
        ASSERT_EQ(f.get(before, &value), kNoErr);
        EXPECT_TRUE(value);  // the other layer keeps its own
    }

    // new art with the new layer's group as reference lands in it
    AIArtHandle group = nullptr, path = nullptr;
    Arts().GetFirstArtOfLayer(made, &group);
    ASSERT_EQ(Arts().NewArt(kArtTypePath, kPlaceInsideOnTop, group, &path), kNoErr);
    AILayerHandle owner = nullptr;
    Arts().GetLayerOfArt(path, &owner);
    EXPECT_EQ(owner, made);

    ASSERT_EQ(Layers().DeleteLayer(made), kNoErr);
    Layers().CountLayers(&count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(LayerNamed("TRAVEX-Pro Configuration Layer"), nullptr);
    ASBoolean value = 0;
    EXPECT_EQ(Layers().GetLayerVisible(made, &value), kBadParameterErr);
    EXPECT_EQ(Layers().DeleteLayer(made), kBadParameterErr);
    ASInt16 type = 0;
    EXPECT_EQ(Arts().GetArtType(path, &type), kBadParameterErr);
}

TEST_F(ArtSuites, LayerInsertedRelativeToAnother)
{
    struct Case {
        ASInt16 placement;
        int index;  // where the new layer ends up
    };
    const Case cases[] = {{kPlaceAbove, 1}, {kPlaceBelow, 2}, {kPlaceAboveAll, 0}, {kPlaceBelowAll, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placement);
        Load(file);
        AILayerHandle made = nullptr, at = nullptr;
        ASSERT_EQ(Layers().InsertLayer(LayerNamed("Cutting"), c.placement, &made), kNoErr);
        Layers().GetNthLayer(c.index, &at);
        EXPECT_EQ(at, made);
    }
    Load(file);
    AILayerHandle made = reinterpret_cast<AILayerHandle>(&made);
    EXPECT_EQ(Layers().InsertLayer(LayerNamed("Cutting"), kPlaceInsideOnTop, &made), kBadParameterErr);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(Layers().InsertLayer(nullptr, 0, &made), kBadParameterErr);
    ASInt32 count = 0;
    Layers().CountLayers(&count);
    EXPECT_EQ(count, 2);
}

TEST_F(ArtSuites, LayerTitlesComeOutAsShiftJisCutAtACharacter)
{
    AILayerHandle layer = nullptr;
    Layers().GetNthLayer(0, &layer);
    // "レイヤ1" and a character code page 932 lacks
    SetLayerTitle(FromHandle(layer), "\xE3\x83\xAC\xE3\x82\xA4\xE3\x83\xA4" "1\xF0\x9F\x98\x80");
    EXPECT_EQ(Title(layer), "\x83\x8C\x83\x43\x83\x84" "1?");
    EXPECT_EQ(Title(layer, 4), "\x83\x8C");   // the second character would not fit whole
    EXPECT_EQ(Title(layer, 5), "\x83\x8C\x83\x43");
    EXPECT_EQ(Title(layer, 1), "");
    char buffer[4];
    EXPECT_EQ(Layers().GetLayerTitle(layer, buffer, 0), kBadParameterErr);

    // a title made from eight-bit text finds the layer again
    ASSERT_EQ(Layers().SetLayerTitle(layer, Text("\x83\x8C\x83\x43\x83\x84")), kNoErr);
    EXPECT_EQ(FromHandle(layer)->title, "\xE3\x83\xAC\xE3\x82\xA4\xE3\x83\xA4");
    EXPECT_EQ(LayerNamed("\x83\x8C\x83\x43\x83\x84"), layer);
}

TEST_F(ArtSuites, SymbolInstancesAndPluginArt)
{
    AIArtHandle inst = Find("inst");
    AISymbolHandle symbol = nullptr;
    ASSERT_EQ(HostSymbolSuite()->GetSymbolOfInstance(inst, &symbol), kNoErr);
    ASSERT_NE(symbol, nullptr);
    char name[16];
    ASSERT_EQ(HostSymbolSuite()->GetSymbolName(symbol, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "mark");
    ASInt32 count = 0;
    EXPECT_EQ(HostSymbolSuite()->CountSymbols(&count), kNoErr);
    EXPECT_EQ(count, 1);

    AIArtHandle definition = nullptr;
    ASSERT_EQ(HostSymbolSuite()->GetSymbolDefinitionArt(symbol, &definition), kNoErr);
    ASInt16 type = 0;
    ASSERT_EQ(Arts().GetArtType(definition, &type), kNoErr);
    EXPECT_EQ(type, kArtTypeGroup);
    AILayerHandle owner = reinterpret_cast<AILayerHandle>(&owner);
    EXPECT_EQ(Arts().GetLayerOfArt(definition, &owner), kNoErr);
    EXPECT_EQ(owner, nullptr);

    // the instance shows the definition centred on the origin through its matrix: x 100 to
    // 110, y 50 to 54, the centre at (105, 48)
    AIRealMatrix m{};
    ASSERT_EQ(HostSymbolSuite()->GetInstanceMatrix(inst, &m), kNoErr);
    AIRealRect own{}, placed{};
    ASSERT_EQ(Arts().GetArtBounds(definition, &own), kNoErr);
    ASSERT_EQ(Arts().GetArtBounds(inst, &placed), kNoErr);
    ExpectRect(placed, 100, 50, 110, 46);
    EXPECT_NEAR(m.tx, 105, 1e-9);
    EXPECT_NEAR(m.ty, 48, 1e-9);
    const double ch = (own.left + own.right) / 2, cv = (own.top + own.bottom) / 2;
    AIRealPoint a = TransformPoint(m, {own.left - ch, own.top - cv}), b = TransformPoint(m, {own.right - ch, own.bottom - cv});
    EXPECT_NEAR(std::min(a.h, b.h), placed.left, 1e-9);
    EXPECT_NEAR(std::max(a.v, b.v), placed.top, 1e-9);
    EXPECT_NEAR(std::max(a.h, b.h), placed.right, 1e-9);
    EXPECT_NEAR(std::min(a.v, b.v), placed.bottom, 1e-9);

    EXPECT_EQ(HostSymbolSuite()->GetSymbolOfInstance(Find("dot"), &symbol), kBadParameterErr);
    EXPECT_EQ(symbol, nullptr);
    EXPECT_EQ(HostSymbolSuite()->GetSymbolDefinitionArt(reinterpret_cast<AISymbolHandle>(&m), &definition),
              kBadParameterErr);

    // plug-in art answers its result art, or none
    Art* plugin = nullptr;
    ASSERT_EQ(NewArt(*doc, ArtType::PluginArt, Placement::InsideOnTop, FromHandle(Find("pair")), &plugin), kNoErr);
    AIArtHandle result = reinterpret_cast<AIArtHandle>(&result);
    EXPECT_EQ(HostPluginGroupSuite()->GetPluginArtResultArt(ToHandle(plugin), &result), kNoErr);
    EXPECT_EQ(result, nullptr);
    plugin->pluginResult = NewDetachedArt(*doc, ArtType::Path);
    EXPECT_EQ(HostPluginGroupSuite()->GetPluginArtResultArt(ToHandle(plugin), &result), kNoErr);
    EXPECT_EQ(result, ToHandle(plugin->pluginResult));
    EXPECT_EQ(Arts().GetArtType(result, &type), kNoErr);
    EXPECT_EQ(type, kArtTypePath);
    EXPECT_EQ(HostPluginGroupSuite()->GetPluginArtResultArt(Find("tri"), &result), kBadParameterErr);
}

TEST_F(ArtSuites, DocumentSizeRulerOriginFileAndRedraw)
{
    AIRealPoint size{};
    ASSERT_EQ(Docs().GetDocumentPageSize(&size), kNoErr);
    EXPECT_DOUBLE_EQ(size.h, 200);
    EXPECT_DOUBLE_EQ(size.v, 100);
    AIRealRect canvas{};
    ASSERT_EQ(Docs().GetDocumentCanvasBounds(&canvas), kNoErr);
    ExpectRect(canvas, 0, 100, 200, 0);

    AIRealPoint origin{7, 7};
    ASSERT_EQ(Docs().GetDocumentRulerOrigin(&origin), kNoErr);
    EXPECT_DOUBLE_EQ(origin.h, 0);
    EXPECT_DOUBLE_EQ(origin.v, 0);
    const AIRealPoint moved{25, 40};
    ASSERT_EQ(Docs().SetDocumentRulerOrigin(&moved), kNoErr);
    ASSERT_EQ(Docs().GetDocumentRulerOrigin(&origin), kNoErr);
    EXPECT_DOUBLE_EQ(origin.h, 25);
    EXPECT_DOUBLE_EQ(origin.v, 40);
    const AIRealPoint bad{std::numeric_limits<double>::quiet_NaN(), 0};
    EXPECT_EQ(Docs().SetDocumentRulerOrigin(&bad), kBadParameterErr);

    AIFilePathRef handle = nullptr;
    ASSERT_EQ(Docs().GetDocumentFileSpecification(&handle), kNoErr);
    std::string path;
    ASSERT_TRUE(HostFilePathText(handle, path));
    EXPECT_EQ(path, file);
    EXPECT_EQ(HostFilePathsHeld(), 1);
    EXPECT_TRUE(ReleaseHostFilePath(handle));
    EXPECT_FALSE(ReleaseHostFilePath(handle));
    EXPECT_EQ(HostFilePathsHeld(), 0);

    std::vector<char> name(file.size() + 1);
    EXPECT_EQ(Docs().GetDocumentFileName(name.data(), static_cast<ASInt32>(name.size())), kNoErr);
    EXPECT_EQ(std::string(name.data()), file);
    EXPECT_EQ(Docs().GetDocumentFileName(name.data(), static_cast<ASInt32>(file.size())), kBadParameterErr);

    ASBoolean modified = 1;
    ASSERT_EQ(Docs().GetDocumentModified(&modified), kNoErr);
    EXPECT_FALSE(modified);
    Paths().SetPathClosed(Find("line"), 1);
    ASSERT_EQ(Docs().GetDocumentModified(&modified), kNoErr);
    EXPECT_TRUE(modified);

    EXPECT_EQ(Docs().RedrawDocument(), kNoErr);
    EXPECT_EQ(Docs().RedrawDocument(), kNoErr);
    EXPECT_EQ(HostRedrawCount(), 2);
    for (auto unused : Docs().Unused) EXPECT_EQ(unused(), kUnknownSelectorErr);
    for (auto unused : Layers().Unused) EXPECT_EQ(unused(), kUnknownSelectorErr);
}

// The plug-in reaches some operations by their place in the table.
TEST(ArtSuiteTables, OperationsSitWhereThePluginCallsThem)
{
    constexpr size_t slot = sizeof(void*);
    EXPECT_EQ(offsetof(AIDocumentSuite, GetDocumentFileSpecification), 0 * slot);
    EXPECT_EQ(offsetof(AIDocumentSuite, GetDocumentRulerOrigin), 2 * slot);
    EXPECT_EQ(offsetof(AIDocumentSuite, RedrawDocument), 37 * slot);
    EXPECT_EQ(offsetof(AILayerSuite, DeselectArtOnLayer), 27 * slot);
    EXPECT_EQ(offsetof(AIArtStyleSuite, GetStyledArt), 0 * slot);
    EXPECT_EQ(offsetof(AIBlendStyleSuite, GetArtOpacity), 2 * slot);
}

TEST(ArtSuiteTables, TheHostHandsOutTheseTablesByName)
{
    struct Row {
        const char* name;
        int32_t version;
        const void* table;
    };
    const Row rows[] = {
        {kAIArtSuite, kAIArtSuiteVersion, HostArtSuite()},
        {kAIPathSuite, kAIPathSuiteVersion, HostPathSuite()},
        {kAIPathStyleSuite, kAIPathStyleSuiteVersion, HostPathStyleSuite()},
        {kAILayerSuite, kAILayerSuiteVersion, HostLayerSuite()},
        {kAIDocumentSuite, kAIDocumentSuiteVersion, HostDocumentSuite()},
        {kAIArtStyleSuite, kAIArtStyleSuiteVersion, HostArtStyleSuite()},
        {kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, HostBlendStyleSuite()},
        {kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, HostPluginGroupSuite()},
        {kAISymbolSuite, kAISymbolSuiteVersion, HostSymbolSuite()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const void* table = nullptr;
        ASSERT_EQ(AcquireHostSuite(row.name, row.version, &table), kNoErr);
        EXPECT_EQ(table, row.table);
        EXPECT_EQ(ReleaseHostSuite(row.name, row.version), kNoErr);
    }
}

TEST(ArtSuiteTables, EveryEntryIsFilled)
{
    auto filled = [](const void* table, size_t size) {
        const auto* entries = static_cast<void (*const*)()>(table);
        for (size_t i = 0; i < size / sizeof(void*); ++i)
            if (!entries[i]) return false;
        return true;
    };
    EXPECT_TRUE(filled(HostArtSuite(), sizeof(AIArtSuite)));
    EXPECT_TRUE(filled(HostPathSuite(), sizeof(AIPathSuite)));
    EXPECT_TRUE(filled(HostPathStyleSuite(), sizeof(AIPathStyleSuite)));
    EXPECT_TRUE(filled(HostLayerSuite(), sizeof(AILayerSuite)));
    EXPECT_TRUE(filled(HostDocumentSuite(), sizeof(AIDocumentSuite)));
    EXPECT_TRUE(filled(HostArtStyleSuite(), sizeof(AIArtStyleSuite)));
    EXPECT_TRUE(filled(HostBlendStyleSuite(), sizeof(AIBlendStyleSuite)));
    EXPECT_TRUE(filled(HostPluginGroupSuite(), sizeof(AIPluginGroupSuite)));
    EXPECT_TRUE(filled(HostSymbolSuite(), sizeof(AISymbolSuite)));
}

TEST_F(ArtSuites, BadHandlesAndBadValuesAnswerAnError)
{
    int stray = 0;
    AIArtHandle garbage = reinterpret_cast<AIArtHandle>(&stray);
    AILayerHandle garbageLayer = reinterpret_cast<AILayerHandle>(&stray);
    AIArtHandle disposed = Find("line");
    ASSERT_EQ(Arts().DisposeArt(disposed), kNoErr);
    AIArtHandle tri = Find("tri"), pair = Find("pair"), inst = Find("inst");
    AILayerHandle gone = nullptr;
    Layers().InsertLayer(nullptr, kPlaceAboveAll, &gone);
    Layers().DeleteLayer(gone);

    AIArtHandle art = nullptr;
    AILayerHandle layer = nullptr;
    ASInt16 i16 = 0;
    ASInt32 i32 = 0;
    ASBoolean flag = 0;
    AIRealRect rect{};
    AIPathSegment segments[4] = {};
    AIPathStyle style{};
    AIReal real = 0;
    const AIRealMatrix identity{1, 0, 0, 1, 0, 0};
    const AIRealMatrix infinite{std::numeric_limits<double>::infinity(), 0, 0, 1, 0, 0};
    AIPathSegment nan = Corner(std::numeric_limits<double>::quiet_NaN(), 0);
    AIPathStyle good{};
    ASSERT_EQ(Styles().GetPathStyle(tri, &good), kNoErr);
    auto styled = [&](auto change) {
        AIPathStyle s = good;
        change(s);
        return Styles().SetPathStyle(tri, &s);
    };

    const std::vector<std::pair<const char*, std::function<ASErr()>>> calls = {
        {"type of garbage", [&] { return Arts().GetArtType(garbage, &i16); }},
        {"type of null", [&] { return Arts().GetArtType(nullptr, &i16); }},
        {"type of disposed", [&] { return Arts().GetArtType(disposed, &i16); }},
        {"type into null", [&] { return Arts().GetArtType(tri, nullptr); }},
        {"a layer handle as art", [&] { return Arts().GetArtType(reinterpret_cast<AIArtHandle>(LayerNamed("Pens")), &i16); }},
        {"child of garbage", [&] { return Arts().GetArtFirstChild(garbage, &art); }},
        {"sibling of disposed", [&] { return Arts().GetArtSibling(disposed, &art); }},
        {"parent of garbage", [&] { return Arts().GetArtParent(garbage, &art); }},
        {"bounds of garbage", [&] { return Arts().GetArtBounds(garbage, &rect); }},
        {"bounds of an empty group", [&] {
             AIArtHandle empty = nullptr;
             Arts().NewArt(kArtTypeGroup, kPlaceInsideOnTop, pair, &empty);
             return Arts().GetArtBounds(empty, &rect);
         }},
        {"new art beside garbage", [&] { return Arts().NewArt(kArtTypePath, kPlaceAbove, garbage, &art); }},
        {"new art beside disposed", [&] { return Arts().NewArt(kArtTypePath, kPlaceAbove, disposed, &art); }},
        {"dispose garbage", [&] { return Arts().DisposeArt(garbage); }},
        {"duplicate garbage", [&] { return Arts().DuplicateArt(garbage, kPlaceAbove, tri, &art); }},
        {"duplicate beside garbage", [&] { return Arts().DuplicateArt(tri, kPlaceAbove, garbage, &art); }},
        {"reorder beside garbage", [&] { return Arts().ReorderArt(tri, kPlaceAbove, garbage); }},
        {"reorder by code 9", [&] { return Arts().ReorderArt(tri, 9, pair); }},
        {"attributes of garbage", [&] { return Arts().GetArtUserAttr(garbage, kArtAttrSelected, &i32); }},
        {"set attributes of disposed", [&] { return Arts().SetArtUserAttr(disposed, kArtAttrSelected, 0); }},
        {"transform garbage", [&] { return Arts().TransformArt(garbage, &identity, 0); }},
        {"transform by infinity", [&] { return Arts().TransformArt(tri, &infinite, 0); }},
        {"transform by null", [&] { return Arts().TransformArt(tri, nullptr, 0); }},
        {"layer of garbage", [&] { return Arts().GetLayerOfArt(garbage, &layer); }},
        {"first art of garbage layer", [&] { return Arts().GetFirstArtOfLayer(garbageLayer, &art); }},
        {"first art of deleted layer", [&] { return Arts().GetFirstArtOfLayer(gone, &art); }},
        {"valid into null", [&] { return Arts().ValidArt(tri, nullptr); }},

        {"segments of a group", [&] { return Paths().GetPathSegmentCount(pair, &i16); }},
        {"segments of garbage", [&] { return Paths().GetPathSegmentCount(garbage, &i16); }},
        {"segments past the end", [&] { return Paths().GetPathSegments(tri, 2, 2, segments); }},
        {"segments from -1", [&] { return Paths().GetPathSegments(tri, -1, 1, segments); }},
        {"segments into null", [&] { return Paths().GetPathSegments(tri, 0, 1, nullptr); }},
        {"write a NaN anchor", [&] { return Paths().SetPathSegments(tri, 0, 1, &nan); }},
        {"write a negative count", [&] { return Paths().SetPathSegments(tri, 0, -1, segments); }},
        {"count of -1", [&] { return Paths().SetPathSegmentCount(tri, -1); }},
        {"closed of a symbol instance", [&] { return Paths().GetPathClosed(inst, &flag); }},
        {"set guide of disposed", [&] { return Paths().SetPathGuide(disposed, 1); }},

        {"style of a group", [&] { return Styles().GetPathStyle(pair, &style); }},
        {"style of garbage", [&] { return Styles().GetPathStyle(garbage, &style); }},
        {"style from null", [&] { return Styles().SetPathStyle(tri, nullptr); }},
        {"negative width", [&] { return styled([](AIPathStyle& s) { s.strokeWidth = -1; }); }},
        {"NaN width", [&] { return styled([](AIPathStyle& s) { s.strokeWidth = std::numeric_limits<double>::quiet_NaN(); }); }},
        {"13 dashes", [&] { return styled([](AIPathStyle& s) { s.dashCount = kPathStyleMaxDashes + 1; }); }},
        {"negative dash", [&] { return styled([](AIPathStyle& s) { s.dashCount = 1; s.dashValues[0] = -2; }); }},
        {"colour kind 5", [&] { return styled([](AIPathStyle& s) { s.fillColor.kind = 5; }); }},
        {"red above 1", [&] { return styled([](AIPathStyle& s) { s.strokeColor = {kStyleColorRgb, 0, 2, 0, 0}; }); }},
        {"line cap 3", [&] { return styled([](AIPathStyle& s) { s.lineCap = 3; }); }},

        {"count into null", [&] { return Layers().CountLayers(nullptr); }},
        {"layer -1", [&] { return Layers().GetNthLayer(-1, &layer); }},
        {"layer 2 of 2", [&] { return Layers().GetNthLayer(2, &layer); }},
        {"title of garbage", [&] { char b[8]; return Layers().GetLayerTitle(garbageLayer, b, 8); }},
        {"title of deleted", [&] { char b[8]; return Layers().GetLayerTitle(gone, b, 8); }},
        {"an art handle as layer", [&] { return Layers().GetLayerVisible(reinterpret_cast<AILayerHandle>(tri), &flag); }},
        {"set title from garbage", [&] { return Layers().SetLayerTitle(LayerNamed("Pens"), reinterpret_cast<AIUnicodeStringRef>(&stray)); }},
        {"find by garbage title", [&] { return Layers().GetLayerByTitle(reinterpret_cast<AIUnicodeStringRef>(&stray), &layer); }},
        {"current garbage", [&] { return Layers().SetCurrentLayer(garbageLayer); }},
        {"insert beside deleted", [&] { return Layers().InsertLayer(gone, kPlaceAbove, &layer); }},
        {"delete garbage", [&] { return Layers().DeleteLayer(garbageLayer); }},
        {"deselect on garbage", [&] { return Layers().DeselectArtOnLayer(garbageLayer); }},
        {"next of garbage", [&] { return Layers().GetNextLayer(garbageLayer, &layer); }},

        {"opacity of garbage", [&] { return HostBlendStyleSuite()->GetArtOpacity(garbage, &real); }},
        {"opacity 1.5", [&] { return HostBlendStyleSuite()->SetArtOpacity(tri, 1.5); }},
        {"opacity of a group", [&] { return HostBlendStyleSuite()->SetArtOpacity(pair, 0.5); }},
        {"blend mode 3", [&] { return HostBlendStyleSuite()->SetArtBlendMode(tri, 3); }},
        {"styled art of disposed", [&] { return HostArtStyleSuite()->GetStyledArt(disposed, &art); }},
        {"matrix of a path", [&] { AIRealMatrix m; return HostSymbolSuite()->GetInstanceMatrix(tri, &m); }},
        {"infinite instance matrix", [&] { return HostSymbolSuite()->SetInstanceMatrix(inst, &infinite); }},
        {"symbol 1 of 1", [&] { AISymbolHandle s; return HostSymbolSuite()->GetNthSymbol(1, &s); }},
        {"result of garbage", [&] { return HostPluginGroupSuite()->GetPluginArtResultArt(garbage, &art); }},
        {"ruler origin into null", [&] { return Docs().GetDocumentRulerOrigin(nullptr); }},
        {"file name into no room", [&] { char b[1]; return Docs().GetDocumentFileName(b, 0); }},
    };
    for (const auto& [what, call] : calls) EXPECT_EQ(call(), kBadParameterErr) << what;

    // what was refused changed nothing
    AIPathStyle after{};
    ASSERT_EQ(Styles().GetPathStyle(tri, &after), kNoErr);
    EXPECT_EQ(std::memcmp(&after, &good, sizeof after), 0);
    ASInt16 count = 0;
    ASSERT_EQ(Paths().GetPathSegmentCount(tri, &count), kNoErr);
    EXPECT_EQ(count, 3);
}

TEST_F(ArtSuites, WithoutADocumentEverythingAnswersAnError)
{
    AIArtHandle tri = Find("tri");
    TheSession().document = nullptr;
    ASInt32 count = 0;
    ASInt16 type = 0;
    AIArtHandle art = nullptr;
    AIRealPoint point{};
    EXPECT_EQ(Layers().CountLayers(&count), kBadParameterErr);
    EXPECT_EQ(Arts().GetArtType(tri, &type), kBadParameterErr);
    EXPECT_EQ(Arts().NewArt(kArtTypePath, kPlaceAboveAll, nullptr, &art), kBadParameterErr);
    EXPECT_EQ(Docs().GetDocumentRulerOrigin(&point), kBadParameterErr);
    EXPECT_EQ(Docs().RedrawDocument(), kBadParameterErr);
    EXPECT_EQ(HostSymbolSuite()->CountSymbols(&count), kBadParameterErr);
}

TEST_F(ArtSuites, ChangesMadeThroughTheSuitesSurviveASave)
{
    AILayerHandle cutting = LayerNamed("Cutting"), made = nullptr;
    AIArtHandle tri = Find("tri");
    const AIPathSegment moved = Corner(55, 95);
    ASSERT_EQ(Paths().SetPathSegments(tri, 0, 1, &moved), kNoErr);
    AIPathStyle style{};
    ASSERT_EQ(Styles().GetPathStyle(tri, &style), kNoErr);
    style.fStrokePaint = 1;
    style.strokeColor = AIStyleColor{kStyleColorRgb, 0, 0, 1, 0};
    style.strokeWidth = 0.5;
    style.dashCount = 2;
    style.dashValues[0] = 3;
    style.dashValues[1] = 1.5;
    ASSERT_EQ(Styles().SetPathStyle(tri, &style), kNoErr);
    ASSERT_EQ(Paths().SetPathClosed(Find("box"), 0), kNoErr);
    ASSERT_EQ(Paths().SetPathGuide(Find("line"), 1), kNoErr);
    ASSERT_EQ(HostBlendStyleSuite()->SetArtOpacity(Find("dot"), 0.25), kNoErr);
    ASSERT_EQ(Arts().SetArtUserAttr(Find("box"), kArtAttrHidden, kArtAttrHidden), kNoErr);

    ASSERT_EQ(Layers().SetLayerTitle(cutting, Text("Knife")), kNoErr);
    ASSERT_EQ(Layers().SetLayerPrinted(cutting, 0), kNoErr);
    ASSERT_EQ(Layers().InsertLayer(nullptr, kPlaceBelowAll, &made), kNoErr);
    ASSERT_EQ(Layers().SetLayerTitle(made, Text("TRAVEX-Pro Configuration Layer")), kNoErr);
    ASSERT_EQ(Layers().SetLayerVisible(made, 0), kNoErr);
    ASSERT_EQ(Layers().SetLayerEditable(made, 0), kNoErr);
    AIArtHandle group = nullptr, frame = nullptr;
    Arts().GetFirstArtOfLayer(made, &group);
    ASSERT_EQ(Arts().NewArt(kArtTypePath, kPlaceInsideOnTop, group, &frame), kNoErr);
    const AIPathSegment corners[4] = {Corner(100, 90), Corner(190, 90), Corner(190, 10), Corner(100, 10)};
    ASSERT_EQ(Paths().SetPathSegments(frame, 0, 4, corners), kNoErr);
    ASSERT_EQ(Paths().SetPathClosed(frame, 1), kNoErr);
    ASSERT_EQ(Arts().DisposeArt(Find("inst")), kNoErr);

    std::string saved = folder + "/saved.svg", error;
    ASSERT_TRUE(SaveSvgDocument(*doc, saved, error)) << error;
    Load(saved);

    ASInt32 count = 0;
    Layers().CountLayers(&count);
    ASSERT_EQ(count, 3);
    AILayerHandle layer = nullptr;
    const char* const titles[] = {"Pens", "Knife", "TRAVEX-Pro Configuration Layer"};
    for (ASInt32 i = 0; i < 3; ++i) {
        Layers().GetNthLayer(i, &layer);
        EXPECT_EQ(Title(layer), titles[i]);
    }
    struct Flags {
        const char* title;
        bool visible, editable, printed;
    };
    for (const Flags& f : {Flags{"Knife", true, true, false}, Flags{"TRAVEX-Pro Configuration Layer", false, false, true}}) {
        SCOPED_TRACE(f.title);
        ASBoolean visible = 0, editable = 0, printed = 0;
        ASSERT_EQ(Layers().GetLayerVisible(LayerNamed(f.title), &visible), kNoErr);
        Layers().GetLayerEditable(LayerNamed(f.title), &editable);
        Layers().GetLayerPrinted(LayerNamed(f.title), &printed);
        EXPECT_EQ(visible != 0, f.visible);
        EXPECT_EQ(editable != 0, f.editable);
        EXPECT_EQ(printed != 0, f.printed);
    }

    AIPathSegment segment{};
    ASSERT_EQ(Paths().GetPathSegments(Find("tri"), 0, 1, &segment), kNoErr);
    EXPECT_NEAR(segment.ptAnchor.h, 55, 1e-6);
    EXPECT_NEAR(segment.ptAnchor.v, 95, 1e-6);
    AIPathStyle read{};
    ASSERT_EQ(Styles().GetPathStyle(Find("tri"), &read), kNoErr);
    EXPECT_TRUE(read.fStrokePaint);
    EXPECT_NEAR(read.strokeColor.green, 1, 1e-6);
    EXPECT_NEAR(read.strokeWidth, 0.5, 1e-6);
    ASSERT_EQ(read.dashCount, 2);
    EXPECT_NEAR(read.dashValues[0], 3, 1e-6);
    EXPECT_NEAR(read.dashValues[1], 1.5, 1e-6);
    ASBoolean closed = 1, guide = 0;
    Paths().GetPathClosed(Find("box"), &closed);
    EXPECT_FALSE(closed);
    Paths().GetPathGuide(Find("line"), &guide);
    EXPECT_TRUE(guide);
    AIReal opacity = 0;
    HostBlendStyleSuite()->GetArtOpacity(Find("dot"), &opacity);
    EXPECT_NEAR(opacity, 0.25, 1e-6);
    EXPECT_EQ(Find("inst"), nullptr);
    ASInt32 attr = 0;
    Arts().GetArtUserAttr(Find("box"), kArtAttrHidden, &attr);
    EXPECT_EQ(attr, kArtAttrHidden);
    Arts().GetArtUserAttr(Find("tri"), kArtAttrHidden, &attr);
    EXPECT_EQ(attr, 0);

    AIArtHandle configuration = nullptr, rectangle = nullptr;
    Arts().GetFirstArtOfLayer(LayerNamed("TRAVEX-Pro Configuration Layer"), &configuration);
    EXPECT_EQ(Shape(configuration), "1[2]");
    Arts().GetArtFirstChild(configuration, &rectangle);
    AIRealRect bounds{};
    ASSERT_EQ(Arts().GetArtBounds(rectangle, &bounds), kNoErr);
    ExpectRect(bounds, 100, 90, 190, 10);
    Paths().GetPathClosed(rectangle, &closed);
    EXPECT_TRUE(closed);
}

}  // namespace
