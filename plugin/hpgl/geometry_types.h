// Points, segments, the units they are measured in and the cubic basis tables of the
// plug-in's geometry.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

// Document points are 1/72 inch; the plotter counts in millimetres. The conversions keep
// their own order of operations (the plot data depends on every bit), so each names the
// constants it uses instead of sharing one product.
constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerMm = kPointsPerInch / kMmPerInch;
static_assert(kPointsPerMm == 2.834645669291339, "points per millimetre at 100 %");

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
