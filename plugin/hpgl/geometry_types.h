// Points, segments and the cubic basis tables of the plug-in's geometry.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

typedef AIRealPoint RealPoint;       // document points, v upward
typedef AIPathSegment PathSegment;

struct PlotPoint {
    int32_t x;
    int32_t y;
};

struct IntRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// A[i] = (1-t)^3 and B[i] = 3t(1-t)^2 for t = i/N, N = 128 and 64.
struct BezierTables {
    double dBezierA128[129];
    double dBezierB128[129];
    double dBezierA64[65];
    double dBezierB64[65];
};
