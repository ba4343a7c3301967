// Snapping of a document point onto points, rectangles and path segments, for tracking.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// Two screen pixels at the zoom of the document's first view, in document points.
double MeasureViewTolerance();

int16_t SnapToStraightSegment(RealPoint* point, const RealPoint* a, const RealPoint* b,
                              double tolerance);
int16_t SnapToCurveSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                           double tolerance, int16_t subdivide);
int16_t HitTestRect(const RealPoint* point, const AIRealRect* rect);
int16_t SnapToPoint(RealPoint* point, const RealPoint* target);
int16_t HitTestStraightSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2);
int16_t HitTestCurveSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2);
int16_t HitTestSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                       int16_t subdivide);
int16_t SegmentBoxMissesRect(const PathSegment* s1, const PathSegment* s2, const AIRealRect* rect);
