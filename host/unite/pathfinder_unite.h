// The host's Pathfinder unite on Clipper: closed shapes are flattened, each is filled by its
// own fill rule (non-zero or even-odd), and the filled areas are united; the union comes back
// as shapes of straight segments (an outer contour with its holes), each carrying the stroke
// width and index of a shape it came from.
//
// Rules:
// - Each shape is first united with itself, so a shape's own winding never cancels another's.
// - A shape that touches no other shape and is already clean (its contours neither cross
//   nor overlap) comes back unchanged, curves and all (fUnchanged set).
// - A result shape takes the stroke width and index of the source shape that covers the
//   largest area of it; on equal areas the shape given first wins.
// - A shape with an open contour, no contours, a degenerate contour (fewer than three
//   distinct points or no area), a contour that crosses or touches itself, or a coordinate
//   that is not finite or lies beyond kMaxUniteCoordinate is left out of the union and comes
//   back unchanged with a note.
// - Results are ordered by the position of their source shape in the input.
#pragma once

#include <string>
#include <vector>

#include "sdk/ai_types.h"

// Largest coordinate (points) that the unite takes; beyond it a shape is left alone.
constexpr double kMaxUniteCoordinate = 1e9;

struct UniteContour {
    std::vector<AIPathSegment> segments;
    bool fClosed = true;
};

struct UniteShape {
    std::vector<UniteContour> contours;
    double dStrokeWidth = 0;
    int iIndex = 0;                    // the caller's handle on the shape (e.g. its art)
    bool fEvenOdd = false;             // fill rule: even-odd (a contour inside another is a hole
                                       // whichever way it runs), else non-zero
};

struct UniteOptions {
    double dFlatness = 0.01;           // largest distance (points) of a chord from its curve
    double dScale = 1000;              // integer units per point inside the union
};

struct UniteResultShape {
    std::vector<UniteContour> contours;  // the outer contour first, then its holes
    double dStrokeWidth = 0;
    int iIndex = 0;
    bool fUnchanged = false;           // one source shape handed back as it was
    std::vector<int> sources;          // iIndex of every source shape that overlaps the result
};

struct UniteReport {
    std::vector<UniteResultShape> shapes;
    std::vector<std::string> notes;    // one line per shape left alone, or per failed union
};

// Unites shapes. Returns kNoErr (also when shapes were left alone; see the notes), or
// kBadParameterErr for a null report or options that are not finite and positive.
ASErr UniteShapes(const std::vector<UniteShape>& shapes, const UniteOptions& options,
                  UniteReport* pReport);
