// The Pathfinder unite on the document: art set to shapes, shapes through Clipper, results
// back into the art tree beside the shapes they came from.
#include "host/suites/pathfinder_suite.h"

#include "host/suites/art_handles.h"
#include "host/session/host_session.h"
#include "host/unite/pathfinder_unite.h"

#include <cstdio>

namespace host {
namespace {

std::vector<std::string> gNotes;
AIPathfinderData gLastData{};
AIPathfinderMessage gLastMessage{};

// A compound path's members carry the style it is drawn with; the first one speaks for all.
const PathStyle& StyleOfShape(const Art* art)
{
    if (art->type == ArtType::CompoundPath)
        for (const Art* member : art->children)
            if (member->type == ArtType::Path && !member->fDisposed) return member->style;
    return art->style;
}

bool ShapeOfArt(const Art* art, UniteShape& shape)
{
    shape.contours.clear();
    if (art->type == ArtType::Path) {
        shape.contours.push_back(UniteContour{art->segments, art->fClosed});
    } else if (art->type == ArtType::CompoundPath) {
        for (const Art* member : art->children)
            if (member->type == ArtType::Path && !member->fDisposed)
                shape.contours.push_back(UniteContour{member->segments, member->fClosed});
    } else {
        return false;
    }
    shape.dStrokeWidth = StyleOfShape(art).strokeWidth;
    shape.fEvenOdd = StyleOfShape(art).fEvenOdd;
    return true;
}

// A closed path of straight corners along the contour.
ASErr NewContourPath(Document& doc, Placement where, Art* reference, const UniteContour& contour,
                     const PathStyle& style, Art** out)
{
    ASErr err = NewArt(doc, ArtType::Path, where, reference, out);
    if (err != kNoErr) return err;
    SetPathSegments(*out, contour.segments);
    SetPathClosed(*out, contour.fClosed);
    SetPathStyle(*out, style);
    return kNoErr;
}

// One result above the shape it takes its style from: a path, or a compound path for an
// outline with holes.
ASErr PlaceResult(Document& doc, const UniteResultShape& result, Art* source, Art** out)
{
    PathStyle style = StyleOfShape(source);
    style.strokeWidth = result.dStrokeWidth;
    if (result.contours.size() == 1)
        return NewContourPath(doc, Placement::Above, source, result.contours[0], style, out);
    ASErr err = NewArt(doc, ArtType::CompoundPath, Placement::Above, source, out);
    if (err != kNoErr) return err;
    SetPathStyle(*out, style);
    Art* previous = nullptr;
    for (const UniteContour& contour : result.contours) {
        Art* member = nullptr;
        // Members keep the contour order: each goes below the one before.
        err = previous ? NewContourPath(doc, Placement::Below, previous, contour, style, &member)
                       : NewContourPath(doc, Placement::InsideOnTop, *out, contour, style, &member);
        if (err != kNoErr) return err;
        previous = member;
    }
    return kNoErr;
}

ASErr UniteArt(AIPathfinderData* data, AIPathfinderMessage* message)
{
    Document* doc = HostDocument();
    if (!doc || !data || (data->iArtCount > 0 && !data->phArtSet) || data->iArtCount < 0)
        return kBadParameterErr;
    gNotes.clear();
    gLastData = *data;
    if (message) gLastMessage = *message;
    std::vector<Art*> arts;
    std::vector<UniteShape> shapes;
    for (ASInt32 i = 0; i < data->iArtCount; ++i) {
        Art* art = LiveArt(data->phArtSet[i]);
        if (!art) return kBadParameterErr;
        UniteShape shape;
        if (!ShapeOfArt(art, shape)) continue;  // text and other kinds have no area to unite
        shape.iIndex = int(arts.size());
        arts.push_back(art);
        shapes.push_back(std::move(shape));
    }
    if (shapes.empty()) return kNoErr;
    UniteReport report;
    ASErr err = UniteShapes(shapes, UniteOptions{}, &report);
    if (err != kNoErr) return err;
    for (const std::string& note : report.notes) {
        gNotes.push_back(note);
        std::fprintf(stderr, "travex-host: %s\n", note.c_str());
    }
    std::vector<bool> kept(arts.size(), false);
    std::vector<Art*> made;
    for (const UniteResultShape& result : report.shapes) {
        if (result.iIndex < 0 || size_t(result.iIndex) >= arts.size()) continue;
        if (result.fUnchanged) {
            kept[size_t(result.iIndex)] = true;
            continue;
        }
        Art* art = nullptr;
        err = PlaceResult(*doc, result, arts[size_t(result.iIndex)], &art);
        if (err != kNoErr) return err;
        made.push_back(art);
    }
    for (size_t i = 0; i < arts.size(); ++i)
        if (!kept[i]) DisposeArt(arts[i]);
    for (Art* art : made) SetArtSelected(art, true);
    doc->fChanged = true;
    return kNoErr;
}

const AIPathfinderSuite kSuite = {UniteArt};

}  // namespace

const AIPathfinderSuite* HostPathfinderSuite() { return &kSuite; }

const std::vector<std::string>& HostPathfinderNotes() { return gNotes; }

const AIPathfinderData& HostLastPathfinderData() { return gLastData; }

const AIPathfinderMessage& HostLastPathfinderMessage() { return gLastMessage; }

}  // namespace host
