// The main art list of one tool slot turned into pen moves: pen selection, groups and
// compound paths, curves flattened and thinned, dash patterns and perforation, and the
// page's object count for the progress text.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// Conversion pass of a tool type.
constexpr int16_t kToolClassPen = 1;
constexpr int16_t kToolClassNeedle = 2;
constexpr int16_t kToolClassCutter = 3;

int16_t GetToolClass(int16_t type);

// Emits every row of the main list in order, stopping after the row where the user
// cancelled; always 0.
ASErr EmitArtList();

// One object and its children with the pen of the slot index.
ASErr EmitArtObject(AIArtHandle art, int16_t slot);

// One path, perforated when perforate is set.
ASErr EmitPath(AIArtHandle art, int16_t perforate);

// The piece between two anchors: a straight draw or a flattened cubic.
void EmitSegment(const PathSegment* previous, const PathSegment* current);

// A cubic in 128 steps, thinned within the tolerance unless line optimisation is off; the
// number of points emitted.
int16_t FlattenBezier(const RealPoint* p0, const RealPoint* p1, const RealPoint* p2, const RealPoint* p3);
