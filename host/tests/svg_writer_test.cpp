// Saving: untouched elements come back byte for byte, changed and new art reads back as it
// was, the host's own layers and record texts exactly, and a save never half-writes a file.
#include "host/tests/svg_test_support.h"
#include "host/svg/svg_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using host::Art;
using host::ArtType;
using host::Document;
using host::Layer;
using host::Placement;
using svgtest::FindArt;
using svgtest::ReadBytes;

// The text of the element carrying id="ID": from its '<' to the end of its closing tag.
std::string ElementText(const std::string& file, const std::string& id, const char* tag)
{
    size_t at = file.find("id=\"" + id + "\"");
    if (at == std::string::npos) return "";
    size_t begin = file.rfind("<", at);
    size_t selfClose = file.find("/>", at);
    size_t open = file.find(">", at);
    if (selfClose != std::string::npos && selfClose < open) return file.substr(begin, selfClose + 2 - begin);
    std::string close = std::string("</") + tag + ">";
    size_t end = file.find(close, at);
    return file.substr(begin, end + close.size() - begin);
}

std::string FilesIn(const std::string& folder)
{
    std::string names;
    for (auto& entry : std::filesystem::directory_iterator(folder)) names += entry.path().filename().string() + " ";
    return names;
}

class SavedCopy : public ::testing::Test {
protected:
    // Loads a copy of an example in a fresh folder.
    void Load(const std::string& example)
    {
        folder = MakeTestFolder("save-" + example);
        path = folder + "/" + example;
        original = ReadBytes(svgtest::Example(example));
        svgtest::WriteBytes(path, original);
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    }
    void Save()
    {
        std::string error;
        ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
        saved = ReadBytes(path);
    }
    void Reload(Document& again)
    {
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(path, again, error)) << error;
    }
    std::string folder, path, original, saved;
    Document doc;
};

TEST(SvgWriter, EveryExampleComesBackUnchanged)
{
    for (const char* example : {"sample.svg", "layers_by_id.svg", "symbols.svg", "unsupported.svg"}) {
        for (bool walk : {false, true}) {
            std::string folder = MakeTestFolder(std::string("unchanged-") + example + (walk ? "-walked" : ""));
            std::string path = folder + "/" + example;
            std::string original = ReadBytes(svgtest::Example(example));
            svgtest::WriteBytes(path, original);
            Document doc;
            std::string error;
            ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
            doc.fChanged = walk;  // also go through the whole document as a changed save does
            ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
            EXPECT_EQ(ReadBytes(path), original) << example << (walk ? " walked" : " as read");
            EXPECT_EQ(FilesIn(folder), std::string(example) + " ");
        }
    }
}

// Every drawing kept with the project loads and saves back byte for byte, as read and walked.
TEST(SvgWriter, EveryDrawingOfTheProjectComesBackUnchanged)
{
    std::vector<std::filesystem::path> drawings;
    for (const char* dir : {"/examples", "/tests/drawings"})
        for (auto& entry : std::filesystem::directory_iterator(std::string(TRAVEX_SOURCE_DIR) + dir))
            if (entry.path().extension() == ".svg") drawings.push_back(entry.path());
    ASSERT_GE(drawings.size(), 10u);
    for (const auto& drawing : drawings) {
        std::string name = drawing.filename().string();
        std::string original = ReadBytes(drawing.string());
        for (bool walk : {false, true}) {
            std::string folder = MakeTestFolder("drawing-" + name + (walk ? "-walked" : ""));
            std::string path = folder + "/" + name;
            svgtest::WriteBytes(path, original);
            Document doc;
            std::string error;
            ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
            doc.fChanged = walk;
            ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
            EXPECT_EQ(ReadBytes(path), original) << name << (walk ? " walked" : " as read");
        }
    }
}

TEST_F(SavedCopy, OnlyTheChangedElementIsRewritten)
{
    Load("sample.svg");
    Art* wave = FindArt(doc, "wave");
    std::vector<AIPathSegment> segs = wave->segments;
    segs[0].ptAnchor = segs[0].ptIn = AIRealPoint{100, 700};
    host::SetPathSegments(wave, segs);
    Save();
    std::string before = ElementText(original, "wave", "path");
    std::string after = ElementText(saved, "wave", "path");
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(after.empty());
    EXPECT_NE(before, after);
    size_t at = original.find(before);
    EXPECT_EQ(saved.substr(0, at), original.substr(0, at));
    EXPECT_EQ(saved.substr(at + after.size()), original.substr(at + before.size()));

    Document again;
    Reload(again);
    Art* wave2 = FindArt(again, "wave");
    ASSERT_EQ(wave2->segments.size(), segs.size());
    for (size_t i = 0; i < segs.size(); ++i) {
        EXPECT_NEAR(wave2->segments[i].ptAnchor.h, segs[i].ptAnchor.h, 1e-6);
        EXPECT_NEAR(wave2->segments[i].ptAnchor.v, segs[i].ptAnchor.v, 1e-6);
        EXPECT_NEAR(wave2->segments[i].ptOut.h, segs[i].ptOut.h, 1e-6);
        EXPECT_NEAR(wave2->segments[i].ptIn.v, segs[i].ptIn.v, 1e-6);
    }
    EXPECT_NEAR(wave2->style.strokeWidth, wave->style.strokeWidth, 1e-9);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
}

TEST_F(SavedCopy, OneDocumentSavedAgainAndAgain)
{
    Load("sample.svg");
    auto nudge = [&](const char* id) {
        Art* art = FindArt(doc, id);
        for (AIPathSegment& seg : art->segments) seg.ptAnchor.v += 1, seg.ptIn.v += 1, seg.ptOut.v += 1;
        host::MarkArtChanged(art);
    };
    nudge("wave");
    Save();
    std::string first = saved;
    Layer* own = nullptr;
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::AboveAll, &own), kNoErr);
    host::SetLayerTitle(own, "TRAVEX-Pro Temporally Layer");
    nudge("frame");
    Save();
    std::string second = saved;
    // What the second save did not touch is as the first save wrote it.
    for (auto [id, tag] : {std::pair<const char*, const char*>{"wave", "path"}, {"layer2", "g"}, {"layer3", "g"},
                           {"defs1", "defs"}, {"namedview1", "sodipodi:namedview"}})
        EXPECT_NE(second.find(ElementText(first, id, tag)), std::string::npos) << id;
    EXPECT_EQ(second.find(ElementText(first, "frame", "path")), std::string::npos);
    nudge("peak");
    ASSERT_EQ(host::DisposeLayer(own), kNoErr);
    Save();
    EXPECT_NE(saved.find(ElementText(second, "frame", "path")), std::string::npos);
    EXPECT_EQ(saved.find("Temporally"), std::string::npos);
    Document again;
    Reload(again);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
    std::string third = saved;
    doc.fChanged = true;  // a walk with nothing changed gives the same bytes
    Save();
    EXPECT_EQ(saved, third);
}

TEST_F(SavedCopy, HostLayersAndRecordTextsComeBackByteForByte)
{
    Load("sample.svg");
    Layer* own = nullptr;
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::BelowAll, &own), kNoErr);
    host::SetLayerTitle(own, "TRAVEX-Pro Configuration Layer");
    host::SetLayerVisible(own, false);
    host::SetLayerEditable(own, false);
    host::SetLayerPreview(own, false);
    host::SetLayerPrinted(own, false);
    const std::string records[] = {
        "TRVX_1 3 1 0 12 \r\n2 0 0 0\r\n",
        "TRVX_2\r\n\tpen 1\t0.35\r\n100% & <done>\r\n",
        "  leading and trailing  ",
        "",
        "\x83\x65\x83\x4c",  // eight-bit bytes the host keeps as they are given
        "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac",  // UTF-8 text stays readable in the file
    };
    std::vector<Art*> texts;
    for (const std::string& record : records) {
        Art* text = nullptr;
        ASSERT_EQ(host::NewArt(doc, ArtType::TextFrame, Placement::InsideOnBottom, own->group, &text), kNoErr);
        text->text.anchor = AIRealPoint{10, 20};
        text->text.runs[0].chars.tracking = 50;
        text->text.runs[0].paras.justification = 2;
        host::SetTextContent(text, record);
        texts.push_back(text);
    }
    Art* guide = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::Path, Placement::InsideOnTop, own->group, &guide), kNoErr);
    host::SetPathSegments(guide, {{{0, 0}, {0, 0}, {0, 0}, true}, {{100, 50}, {100, 50}, {100, 50}, true}});
    guide->fGuide = true;
    guide->style.fStrokeOverprint = true;
    Save();
    {
        // The file stays well-formed UTF-8 whatever bytes the texts hold.
        std::string bad;
        for (size_t i = 0; i < saved.size(); ++i)
            if (static_cast<unsigned char>(saved[i]) == 0x83) bad += "x";
        EXPECT_EQ(bad, "");
        EXPECT_NE(saved.find(">caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac<"), std::string::npos);
    }
    // Every layer that was there before is still there, byte for byte.
    for (const char* id : {"layer1", "layer2", "layer3", "layer4", "defs1"})
        EXPECT_NE(saved.find(ElementText(original, id, id[0] == 'd' ? "defs" : "g")), std::string::npos) << id;

    for (int pass = 0; pass < 2; ++pass) {
        Document again;
        Reload(again);
        ASSERT_EQ(host::CountLayers(again), 5);
        Layer* back = host::NthLayer(again, 4);
        EXPECT_EQ(back->title, "TRAVEX-Pro Configuration Layer");
        EXPECT_FALSE(back->fVisible);
        EXPECT_FALSE(back->fEditable);
        EXPECT_FALSE(back->fPreview);
        EXPECT_FALSE(back->fPrinted);
        ASSERT_EQ(back->group->children.size(), std::size(records) + 1);
        EXPECT_TRUE(back->group->children[0]->fGuide);
        EXPECT_TRUE(back->group->children[0]->style.fStrokeOverprint);
        EXPECT_FALSE(back->group->children[0]->style.fFillOverprint);
        for (size_t i = 0; i < std::size(records); ++i) {
            Art* text = back->group->children[i + 1];
            ASSERT_EQ(text->type, ArtType::TextFrame);
            EXPECT_EQ(host::TextContent(text), records[i]) << i;
            EXPECT_NEAR(text->text.runs[0].chars.tracking, 50, 1e-6);
            EXPECT_EQ(text->text.runs[0].paras.justification, 2);
            EXPECT_NEAR(text->text.anchor.h, 10, 1e-6);
            EXPECT_NEAR(text->text.anchor.v, 20, 1e-6);
        }
        EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
        // Saved again after a change elsewhere, the records stay as they are.
        host::MarkArtChanged(FindArt(again, "frame"));
        std::string error;
        ASSERT_TRUE(host::SaveSvgDocument(again, path, error)) << error;
    }
}

TEST_F(SavedCopy, DisposedArtAndLayersLeaveTheFile)
{
    Load("sample.svg");
    ASSERT_EQ(host::DisposeArt(FindArt(doc, "disc")), kNoErr);
    ASSERT_EQ(host::DisposeLayer(host::FindLayerByTitle(doc, "Marks")), kNoErr);
    Save();
    EXPECT_EQ(saved.find("id=\"disc\""), std::string::npos);
    EXPECT_EQ(saved.find("mark-top-left"), std::string::npos);
    EXPECT_NE(saved.find(ElementText(original, "oval", "ellipse")), std::string::npos);
    EXPECT_EQ(saved.find("travex-removed"), std::string::npos);
    Document again;
    Reload(again);
    EXPECT_EQ(host::CountLayers(again), 3);
    EXPECT_EQ(FindArt(again, "disc"), nullptr);
    EXPECT_NE(host::FindSymbol(again, "crosshair"), nullptr);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
}

TEST_F(SavedCopy, MovedArtKeepsItsPlaceOnThePage)
{
    Load("layers_by_id.svg");
    // Out of a translated group and from under its own scale, into a layer of no transform.
    Art* tri = FindArt(doc, "tri");
    Art* spoke = FindArt(doc, "spoke");
    ASSERT_EQ(host::ReorderArt(tri, Placement::InsideOnTop, host::FindLayerByTitle(doc, "locked")->group), kNoErr);
    ASSERT_EQ(host::ReorderArt(spoke, Placement::Above, FindArt(doc, "outside")), kNoErr);
    ASSERT_EQ(host::ReorderArt(FindArt(doc, "box"), Placement::Above, FindArt(doc, "moved")), kNoErr);
    Save();
    Document again;
    Reload(again);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
    EXPECT_EQ(FindArt(again, "tri")->layer->title, "locked");
    EXPECT_EQ(FindArt(again, "spoke")->layer->title, "(content outside layers)");
    EXPECT_EQ(host::FirstChild(host::FindLayerByTitle(again, "outlines")->group)->name, "box");
    // The elements were moved, not rewritten.
    EXPECT_NE(saved.find("points=\"0,0 30,0 0,30\""), std::string::npos);
}

TEST_F(SavedCopy, ContentOutsideGroupsGetsALayerWhenItsFlagsChange)
{
    Load("layers_by_id.svg");
    Layer* outside = host::NthLayer(doc, 3);
    ASSERT_TRUE(outside->fRootContent);
    host::SetLayerTitle(outside, "Loose ends");
    host::SetLayerEditable(outside, false);
    Save();
    Document again;
    Reload(again);
    ASSERT_EQ(host::CountLayers(again), 4);
    Layer* back = host::NthLayer(again, 3);
    EXPECT_EQ(back->title, "Loose ends");
    EXPECT_FALSE(back->fEditable);
    EXPECT_FALSE(back->fRootContent);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
    // The title element stays where it was, outside the new group.
    EXPECT_LT(saved.find("<title>"), saved.find("Loose ends"));
}

TEST_F(SavedCopy, ChangedShapesAndSymbolsReadBackTheSame)
{
    Load("sample.svg");
    Art* badge = FindArt(doc, "badge");
    host::PathStyle style = badge->style;
    style.strokeWidth = 2;
    style.dashArray = {3, 1.5};
    host::SetPathStyle(badge, style);
    host::TransformArt(FindArt(doc, "mark-top-left"), AIRealMatrix{1, 0, 0, 1, 10, -5}, false);
    host::TransformArt(FindArt(doc, "title"), AIRealMatrix{0, 1, -1, 0, 0, 0}, false);
    Art* instance = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::SymbolInstance, Placement::InsideOnTop,
                           host::FindLayerByTitle(doc, "Cutter")->group, &instance), kNoErr);
    instance->symbol = host::FindSymbol(doc, "crosshair");
    instance->matrix = AIRealMatrix{2, 0, 0, 2, 100, 100};
    Art* compound = FindArt(doc, "hatch-lines");
    for (AIPathSegment& seg : compound->children[1]->segments) seg.ptAnchor.h += 5, seg.ptIn.h += 5, seg.ptOut.h += 5;
    host::MarkArtChanged(compound->children[1]);
    Save();
    EXPECT_EQ(ElementText(saved, "badge", "path").rfind("<path", 0), 0u);  // a rectangle no more
    Document again;
    Reload(again);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
    EXPECT_NEAR(FindArt(again, "title")->text.matrix.b, 1, 1e-9);
    EXPECT_EQ(FindArt(again, "badge")->segments.size(), 8u);
}

TEST_F(SavedCopy, ChangedUnsupportedNeighboursStayAsTheyWere)
{
    Load("unsupported.svg");
    Art* keep = FindArt(doc, "keep");
    keep->segments[1].ptAnchor.h = keep->segments[1].ptIn.h = keep->segments[1].ptOut.h = 200;
    host::MarkArtChanged(keep);
    host::ReorderArt(keep, Placement::InsideOnBottom, keep->parent);
    Save();
    for (auto [id, tag] : {std::pair<const char*, const char*>{"photo", "image"}, {"shaded", "rect"},
                           {"html", "foreignObject"}, {"fade", "linearGradient"}, {"blur", "filter"}})
        EXPECT_NE(saved.find(ElementText(original, id, tag)), std::string::npos) << id;
    Document again;
    Reload(again);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
}

TEST_F(SavedCopy, TextsInAndOnPathsKeepTheirPaths)
{
    Load("symbols.svg");
    Layer* layer = host::NthLayer(doc, 0);
    const struct {
        host::TextKind kind;
        const char* content;
        double start, end;
    } cases[] = {
        {host::TextKind::OnPath, "along the curve", 0.5, 1.75},
        {host::TextKind::OnPath, "two\rlines", 0, 2},
        {host::TextKind::InPath, "inside\rthe box", 0, 0},
    };
    std::vector<Art*> made;
    for (const auto& c : cases) {
        Art* text = nullptr;
        ASSERT_EQ(host::NewArt(doc, ArtType::TextFrame, Placement::InsideOnBottom, layer->group, &text), kNoErr);
        Art* path = host::NewDetachedArt(doc, ArtType::Path);
        path->segments = {{{10, 10}, {10, 10}, {20, 30}, true}, {{50, 10}, {40, 30}, {60, 0}, true},
                          {{80, 40}, {80, 40}, {80, 40}, true}};
        path->fClosed = c.kind == host::TextKind::InPath;
        path->style.fStrokePaint = true;
        path->style.strokeWidth = 0.5;
        text->text.kind = c.kind;
        text->text.path = path;
        text->text.startT = c.start;
        text->text.endT = c.end;
        host::SetTextContent(text, c.content);
        made.push_back(text);
    }
    Save();
    for (int pass = 0; pass < 2; ++pass) {
        Document again;
        Reload(again);
        Layer* back = host::NthLayer(again, 0);
        ASSERT_EQ(back->group->children.size(), 2u + std::size(cases));
        for (size_t i = 0; i < std::size(cases); ++i) {
            Art* text = back->group->children[2 + i];
            ASSERT_EQ(text->type, ArtType::TextFrame);
            EXPECT_EQ(text->text.kind, cases[i].kind) << i;
            EXPECT_EQ(host::TextContent(text), cases[i].content) << i;
            ASSERT_NE(text->text.path, nullptr) << i;
            ASSERT_EQ(text->text.path->segments.size(), 3u);
            EXPECT_NEAR(text->text.path->segments[1].ptOut.h, 60, 1e-6);
            EXPECT_NEAR(text->text.path->style.strokeWidth, 0.5, 1e-9);
            EXPECT_EQ(text->text.path->fClosed, cases[i].kind == host::TextKind::InPath);
            if (cases[i].kind == host::TextKind::OnPath) {
                EXPECT_DOUBLE_EQ(text->text.startT, cases[i].start);
                EXPECT_DOUBLE_EQ(text->text.endT, cases[i].end);
            }
        }
        // Written again, each text keeps one path in the definitions, not one more per save.
        for (Art* text : back->group->children) host::MarkArtChanged(text);
        std::string error;
        ASSERT_TRUE(host::SaveSvgDocument(again, path, error)) << error;
        std::string file = ReadBytes(path);
        size_t paths = 0;
        for (size_t at = file.find("travex:text-path"); at != std::string::npos; at = file.find("travex:text-path", at + 1))
            ++paths;
        EXPECT_EQ(paths, std::size(cases));
    }
}

// A path that draws nothing (its data a lone moveto) still carries its text: written again,
// the text stays on the path instead of coming back as point text that the drawing never showed.
TEST_F(SavedCopy, TextOnAPathWithoutSegmentsStaysOnIt)
{
    Load("symbols.svg");
    Layer* layer = host::NthLayer(doc, 0);
    Art* text = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::TextFrame, Placement::InsideOnBottom, layer->group, &text), kNoErr);
    text->text.kind = host::TextKind::OnPath;
    text->text.path = host::NewDetachedArt(doc, ArtType::Path);
    host::SetTextContent(text, "along");
    Save();
    Document again;
    Reload(again);
    Art* back = host::NthLayer(again, 0)->group->children.back();
    ASSERT_EQ(back->type, ArtType::TextFrame);
    EXPECT_EQ(back->text.kind, host::TextKind::OnPath);
    ASSERT_NE(back->text.path, nullptr);
    EXPECT_TRUE(back->text.path->segments.empty());
}

TEST(SvgWriter, FileInUtf16IsWrittenBackInUtf8)
{
    std::string folder = MakeTestFolder("utf16");
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                       "width=\"10pt\" height=\"10pt\" viewBox=\"0 0 10 10\"><g id=\"l\"><path id=\"p\" "
                       "d=\"M 1 1 L 5 5\"/><text id=\"t\" x=\"1\" y=\"9\">\xc3\xa9t\xc3\xa9</text></g></svg>\n";
    std::string utf16 = "\xff\xfe";
    for (unsigned char ch : text) {  // the text is ASCII but for the two accents
        if (ch == 0xc3) continue;
        utf16 += static_cast<char>(ch == 0xa9 ? 0xe9 : ch);
        utf16 += '\0';
    }
    std::string path = folder + "/wide.svg";
    svgtest::WriteBytes(path, utf16);
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(path, doc, error)) << error;
    EXPECT_EQ(host::TextContent(FindArt(doc, "t")), "\xc3\xa9t\xc3\xa9");
    host::MarkArtChanged(FindArt(doc, "p"));
    ASSERT_TRUE(host::SaveSvgDocument(doc, path, error)) << error;
    std::string saved = ReadBytes(path);
    EXPECT_NE(saved.find("encoding=\"UTF-8\""), std::string::npos) << saved;
    EXPECT_NE(saved.find(">\xc3\xa9t\xc3\xa9<"), std::string::npos) << saved;
    Document again;
    ASSERT_TRUE(host::LoadSvgDocument(path, again, error)) << error;
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
}

TEST(SvgWriter, SaveThroughALinkReplacesItsTarget)
{
    std::string folder = MakeTestFolder("linked");
    std::string target = folder + "/real.svg";
    std::string link = folder + "/link.svg";
    svgtest::WriteBytes(target, ReadBytes(svgtest::Example("symbols.svg")));
    ASSERT_EQ(symlink("real.svg", link.c_str()), 0);
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(link, doc, error)) << error;
    host::DisposeArt(FindArt(doc, "sq-big"));
    ASSERT_TRUE(host::SaveSvgDocument(doc, link, error)) << error;
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(target).find("sq-big"), std::string::npos);
    EXPECT_EQ(FilesIn(folder).size(), std::string("link.svg real.svg ").size());
}

TEST(SvgWriter, NewDrawingWithoutFile)
{
    std::string folder = MakeTestFolder("new-drawing");
    Document doc;
    doc.width = 595;
    doc.height = 842;
    Layer* layer = nullptr;
    ASSERT_EQ(host::InsertLayer(doc, nullptr, Placement::AboveAll, &layer), kNoErr);
    host::SetLayerTitle(layer, "Pens & \"quotes\"");
    Art* group = nullptr;
    Art* path = nullptr;
    ASSERT_EQ(host::NewArt(doc, ArtType::Group, Placement::InsideOnTop, layer->group, &group), kNoErr);
    ASSERT_EQ(host::NewArt(doc, ArtType::Path, Placement::InsideOnTop, group, &path), kNoErr);
    host::SetPathSegments(path, {{{10, 10}, {10, 10}, {20, 30}, true}, {{50, 10}, {40, 30}, {50, 10}, true}});
    host::PathStyle style;
    style.fStrokePaint = true;
    style.strokeColor = host::Color{1, 0, 0};
    style.strokeWidth = 0.25;
    host::SetPathStyle(path, style);
    std::string path1 = folder + "/new.svg";
    std::string error;
    ASSERT_TRUE(host::SaveSvgDocument(doc, path1, error)) << error;
    Document again;
    ASSERT_TRUE(host::LoadSvgDocument(path1, again, error)) << error;
    EXPECT_DOUBLE_EQ(again.width, 595);
    EXPECT_EQ(svgtest::ListingBody(again), svgtest::ListingBody(doc));
}

TEST(SvgWriter, FailedSaveLeavesNothingBehind)
{
    std::string folder = MakeTestFolder("failed-save");
    Document doc;
    std::string error;
    ASSERT_TRUE(host::LoadSvgDocument(svgtest::Example("symbols.svg"), doc, error)) << error;
    EXPECT_FALSE(host::SaveSvgDocument(doc, folder + "/missing/out.svg", error));
    EXPECT_NE(error.find(folder + "/missing/out.svg"), std::string::npos) << error;
    EXPECT_EQ(FilesIn(folder), "");
    // A read-only folder: the old file stays, no temporary file is left.
    std::string target = folder + "/kept.svg";
    svgtest::WriteBytes(target, "old");
    chmod(folder.c_str(), 0555);
    bool refused = !host::SaveSvgDocument(doc, target, error);
    chmod(folder.c_str(), 0755);
    if (geteuid() != 0) {
        EXPECT_TRUE(refused);
        EXPECT_EQ(ReadBytes(target), "old");
    }
    EXPECT_EQ(FilesIn(folder), "kept.svg ");
}

}  // namespace
