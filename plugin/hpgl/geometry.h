// The plug-in's geometry library: scalars, points, intersections, distances, the cubic
// basis tables, polyline thinning, curve length and circular-arc recognition.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// The stored angle constants, used as they stand.
constexpr double kStoredPi = 3.141593;
constexpr double kStoredTwoPi = 6.283186;
constexpr double kStoredHalfPi = 1.5707965;

// The most points SimplifyPolyline thins: a 128-step curve plus its end point.
constexpr int16_t kMaxPolylinePoints = 129;

// scalars
double MaxReal(double a, double b);
double MinReal(double a, double b);
int32_t MaxInt(int32_t a, int32_t b);
int32_t MinInt(int32_t a, int32_t b);
double AbsReal(double x);
int32_t AbsInt(int32_t x);
int16_t SignOfReal(double x);
int16_t NearlyEqual(double a, double b);
double ArcTangent2(double a, double b);
double SinReal(double x);
double CosReal(double x);
double SqrtReal(double x);
double RealPower(double x, int16_t n);
int32_t RoundToInt(double x);
// x rounded to single precision and widened back.
double RoundToSingle(double x);

// points and rectangles
void CopyRealPoint(const RealPoint* source, RealPoint* destination);
void CopyPointRoundedToFloat(const RealPoint* source, RealPoint* destination);
double MeasureDirection(const RealPoint* from, const RealPoint* to);
double MeasureDistance(const RealPoint* a, const RealPoint* b);
void StepAlongDirection(RealPoint* point, double dh, double dv, double length);
// A plot point as one 64-bit value: x in the low half, y in the high half.
uint64_t PackPlotPoint(PlotPoint point);
int16_t EqualIntPoints(PlotPoint a, PlotPoint b);
int32_t OffsetIntPoint(uint64_t offset, PlotPoint* point);
void SetIntRect(IntRect* rect, int32_t top, int32_t left, int32_t bottom, int32_t right);
PlotPoint SetIntPair(PlotPoint* pair, int32_t a, int32_t b);
int16_t RectsOverlap(const AIRealRect* a, const AIRealRect* b, AIRealRect* scratch);

// lines and segments
int16_t IntersectSegments(const RealPoint* p1, const RealPoint* p2, const RealPoint* p3,
                          const RealPoint* p4, RealPoint* out);
int16_t IntersectLines(const RealPoint* a1, const RealPoint* a2, const RealPoint* a3,
                       const RealPoint* b1, const RealPoint* b2, const RealPoint* b3, RealPoint* out);
double MeasurePointToSegment(const RealPoint* a, const RealPoint* b, const RealPoint* point,
                             RealPoint* nearest);
int16_t ProjectPointOnSegment(RealPoint* point, const RealPoint* a, const RealPoint* b,
                              double tolerance);

// curves
void BuildBezierTables();
// Point i of the cubic S1-S2 cut into steps (64 or 128) through the tables in g.
void EvaluateBezierPoint(const PathSegment* s1, const PathSegment* s2, int16_t steps, int16_t i,
                         RealPoint* out);
// 1 when the host finds both handles of the cubic S1-S2 on their anchors.
int16_t IsStraightSegment(const PathSegment* s1, const PathSegment* s2);
// Polylines of more than kMaxPolylinePoints points are left as they are.
void SimplifyPolyline(int16_t* count, RealPoint* points, double tolerance);
double MeasureBezierLength(const PathSegment* s1, const PathSegment* s2, RealPoint* stop);
int16_t FitArcToSegment(const PathSegment* s1, const PathSegment* s2, RealPoint* centre,
                        double* radius);
int16_t IsCircularArcSegment(const PathSegment* s1, const PathSegment* s2, RealPoint* centre,
                             double* radius);
