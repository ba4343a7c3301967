// The art tree and layer operations the suites are built on.
#include "host/document/document.h"

#include <gtest/gtest.h>

namespace {

using host::Art;
using host::ArtType;
using host::Document;
using host::Layer;
using host::Placement;

std::string Names(const Art* parent)
{
    std::string out;
    for (const Art* a = host::FirstChild(parent); a; a = host::NextSibling(a)) out += a->name + " ";
    return out;
}

std::string Titles(const Document& doc)
{
    std::string out;
    for (int i = 0; i < host::CountLayers(doc); ++i) out += host::NthLayer(doc, i)->title + " ";
    return out;
}

struct Tree {
    Document doc;
    Layer* layer = nullptr;
    Art* group = nullptr;
    Art *a = nullptr, *b = nullptr, *c = nullptr;

    Tree()
    {
        host::InsertLayer(doc, nullptr, Placement::AboveAll, &layer);
        layer->title = "one";
        host::NewArt(doc, ArtType::Group, Placement::InsideOnTop, layer->group, &group);
        group->name = "g";
        // Inside on bottom each time: a, b, c from the top.
        host::NewArt(doc, ArtType::Path, Placement::InsideOnBottom, group, &a);
        host::NewArt(doc, ArtType::Path, Placement::InsideOnBottom, group, &b);
        host::NewArt(doc, ArtType::Path, Placement::InsideOnBottom, group, &c);
        a->name = "a";
        b->name = "b";
        c->name = "c";
    }
};

TEST(Document, PlacementCodesPutNewArtWhereTheySay)
{
    const struct {
        Placement placement;
        int reference;  // 0 a, 1 b, 2 the group
        const char* order;
    } cases[] = {
        {Placement::Above, 1, "a new b c "},
        {Placement::Below, 1, "a b new c "},
        {Placement::Below, 2, "a b c "},  // beside the group, not inside it
        {Placement::InsideOnTop, 2, "new a b c "},
        {Placement::InsideOnBottom, 2, "a b c new "},
        {Placement::Above, 0, "new a b c "},
    };
    for (const auto& c : cases) {
        Tree t;
        Art* refs[] = {t.a, t.b, t.group};
        Art* art = nullptr;
        ASSERT_EQ(host::NewArt(t.doc, ArtType::Path, c.placement, refs[c.reference], &art), kNoErr);
        art->name = "new";
        EXPECT_EQ(Names(t.group), c.order) << static_cast<int>(c.placement) << " " << c.reference;
        EXPECT_EQ(art->layer, t.layer);
        EXPECT_TRUE(t.doc.fChanged);
    }
}

TEST(Document, NewArtWithoutReferenceGoesOnTopOfTheCurrentLayer)
{
    Tree t;
    Layer* second = nullptr;
    ASSERT_EQ(host::InsertLayer(t.doc, t.layer, Placement::Below, &second), kNoErr);
    EXPECT_EQ(t.doc.currentLayer, second);
    Art* art = nullptr;
    ASSERT_EQ(host::NewArt(t.doc, ArtType::Path, Placement::Above, nullptr, &art), kNoErr);
    EXPECT_EQ(art->parent, second->group);
    EXPECT_EQ(art->layer, second);
}

TEST(Document, PathsCannotTakeChildrenAndArtCannotGoIntoItself)
{
    Tree t;
    Art* art = nullptr;
    EXPECT_EQ(host::NewArt(t.doc, ArtType::Path, Placement::InsideOnTop, t.a, &art), kBadParameterErr);
    EXPECT_EQ(art, nullptr);
    EXPECT_EQ(host::ReorderArt(t.group, Placement::InsideOnTop, t.group), kBadParameterErr);
    Art* inner = nullptr;
    ASSERT_EQ(host::NewArt(t.doc, ArtType::Group, Placement::InsideOnTop, t.group, &inner), kNoErr);
    EXPECT_EQ(host::ReorderArt(t.group, Placement::InsideOnTop, inner), kBadParameterErr);
    EXPECT_EQ(inner->parent, t.group);  // a refused move leaves the tree as it was
    EXPECT_EQ(host::DisposeArt(t.layer->group), kBadParameterErr);
}

TEST(Document, ReorderDisposeAndDuplicate)
{
    Tree t;
    ASSERT_EQ(host::ReorderArt(t.c, Placement::Above, t.a), kNoErr);
    EXPECT_EQ(Names(t.group), "c a b ");
    ASSERT_EQ(host::ReorderArt(t.c, Placement::Below, t.b), kNoErr);
    EXPECT_EQ(Names(t.group), "a b c ");
    EXPECT_EQ(host::PreviousSibling(t.b), t.a);
    EXPECT_EQ(host::LastChild(t.group), t.c);

    ASSERT_EQ(host::DisposeArt(t.b), kNoErr);
    EXPECT_EQ(Names(t.group), "a c ");
    EXPECT_FALSE(host::IsArtAlive(t.b));
    EXPECT_EQ(host::DisposeArt(t.b), kBadParameterErr);  // a second dispose is refused, not a crash

    t.a->segments = {{{1, 2}, {1, 2}, {3, 4}, false}};
    t.a->style.strokeWidth = 2.5;
    Art* copy = nullptr;
    ASSERT_EQ(host::DuplicateArt(t.group, Placement::InsideOnBottom, t.layer->group, &copy), kNoErr);
    ASSERT_EQ(copy->children.size(), 2u);
    Art* copiedA = copy->children[0];
    EXPECT_NE(copiedA, t.a);
    EXPECT_EQ(copiedA->parent, copy);
    EXPECT_EQ(copiedA->segments.size(), 1u);
    EXPECT_EQ(copiedA->segments[0].ptOut.v, 4);
    EXPECT_EQ(copiedA->style.strokeWidth, 2.5);
    EXPECT_TRUE(copiedA->name.empty());  // a copy has an id of its own when saved
    copiedA->segments[0].ptOut.v = 9;
    EXPECT_EQ(t.a->segments[0].ptOut.v, 4);
}

TEST(Document, LayersByPlacementAndTitle)
{
    Document doc;
    Layer *top = nullptr, *bottom = nullptr, *middle = nullptr, *above = nullptr;
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::AboveAll, &top), kNoErr);
    top->title = "top";
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::BelowAll, &bottom), kNoErr);
    bottom->title = "bottom";
    ASSERT_EQ(host::InsertLayer(doc, top, Placement::Below, &middle), kNoErr);
    middle->title = "middle";
    ASSERT_EQ(host::InsertLayer(doc, top, Placement::Above, &above), kNoErr);
    above->title = "above";
    EXPECT_EQ(Titles(doc), "above top middle bottom ");
    EXPECT_EQ(host::FindLayerByTitle(doc, "middle"), middle);
    EXPECT_EQ(host::FindLayerByTitle(doc, "none"), nullptr);
    EXPECT_EQ(host::NthLayer(doc, 4), nullptr);
    EXPECT_EQ(host::NthLayer(doc, -1), nullptr);

    doc.currentLayer = middle;
    ASSERT_EQ(host::DisposeLayer(middle), kNoErr);
    EXPECT_EQ(Titles(doc), "above top bottom ");
    EXPECT_EQ(doc.currentLayer, above);
    EXPECT_EQ(host::DisposeLayer(middle), kBadParameterErr);
    Layer* stranger = nullptr;
    Document other;
    host::InsertLayer(other, nullptr, Placement::AboveAll, &stranger);
    Layer* none = nullptr;
    EXPECT_EQ(host::InsertLayer(doc, stranger, Placement::Above, &none), kBadParameterErr);
}

TEST(Document, SelectionAndTransform)
{
    Tree t;
    host::SetArtSelected(t.b, true);
    host::SetArtSelected(t.group, true);
    std::vector<Art*> selected = host::SelectedArt(t.doc);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0], t.group);
    EXPECT_EQ(selected[1], t.b);
    host::DeselectAll(t.doc);
    EXPECT_TRUE(host::SelectedArt(t.doc).empty());

    t.b->segments = {{{1, 1}, {0, 1}, {2, 1}, false}};
    t.b->style.strokeWidth = 1;
    host::TransformArt(t.group, AIRealMatrix{2, 0, 0, 2, 10, 0}, true);
    EXPECT_EQ(t.b->segments[0].ptAnchor.h, 12);
    EXPECT_EQ(t.b->segments[0].ptIn.h, 10);
    EXPECT_EQ(t.b->segments[0].ptOut.v, 2);
    EXPECT_EQ(t.b->style.strokeWidth, 2);
    EXPECT_TRUE(t.b->fChanged);
}

TEST(Document, TextContentAcrossRuns)
{
    Tree t;
    Art* text = nullptr;
    ASSERT_EQ(host::NewArt(t.doc, ArtType::TextFrame, Placement::InsideOnTop, t.group, &text), kNoErr);
    text->text.runs = {host::TextRun{"TRVX_1\r\n", {}, {}}, host::TextRun{"abc", {}, {}}};
    text->text.runs[0].chars.fontSize = 7;
    EXPECT_EQ(host::TextContent(text), "TRVX_1\r\nabc");
    host::SetTextContent(text, "new");
    ASSERT_EQ(text->text.runs.size(), 1u);
    EXPECT_EQ(text->text.runs[0].chars.fontSize, 7);  // keeps the first run's features
    EXPECT_EQ(host::TextContent(text), "new");
}

}  // namespace
