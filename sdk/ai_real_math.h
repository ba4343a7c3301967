// The host's Real Math suite: arithmetic, rectangles and matrices on artwork reals.
#pragma once

#include "sdk/ai_types.h"

// Rectangles have top not below bottom (v grows upward); a rectangle is empty when it
// has no area (right <= left or top <= bottom). Matrices map (x, y) to
// (a x + c y + tx, b x + d y + ty).
struct AIRealMathSuite {
    // the sum a + b, as the host adds reals
    AIReal (*AIRealAdd)(AIReal a, AIReal b);
    // the product a * b
    AIReal (*AIRealMul)(AIReal a, AIReal b);

    // every side moves inward by dh (left, right) and dv (top, bottom); negative grows
    void (*AIRealRectInset)(AIRealRect* rect, AIReal dh, AIReal dv);
    // the rectangle moved by dh, dv
    void (*AIRealRectOffset)(AIRealRect* rect, AIReal dh, AIReal dv);
    // the common part of a and b into out; true when it is not empty
    ASBoolean (*AIRealRectIntersect)(const AIRealRect* a, const AIRealRect* b, AIRealRect* out);
    // the smallest rectangle holding a and b into out
    void (*AIRealRectUnion)(const AIRealRect* a, const AIRealRect* b, AIRealRect* out);
    // true when a and b share an area
    ASBoolean (*AIRealRectOverlap)(const AIRealRect* a, const AIRealRect* b);
    // true when the rectangle has no area
    ASBoolean (*AIRealRectEmpty)(const AIRealRect* rect);
    // true when all four sides are equal
    ASBoolean (*AIRealRectEqual)(const AIRealRect* a, const AIRealRect* b);
    // true when the point lies in the rectangle, its sides included
    ASBoolean (*AIRealPointInRect)(const AIRealPoint* point, const AIRealRect* rect);

    // true when both coordinates are equal
    ASBoolean (*AIRealPointEqual)(const AIRealPoint* a, const AIRealPoint* b);
    // true when both coordinates lie within tolerance of each other
    ASBoolean (*AIRealPointClose)(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance);

    void (*AIRealMatrixSetIdentity)(AIRealMatrix* m);
    void (*AIRealMatrixSetTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
    void (*AIRealMatrixSetScale)(AIRealMatrix* m, AIReal sx, AIReal sy);
    // rotation by angle radians, counter-clockwise with v upward
    void (*AIRealMatrixSetRotate)(AIRealMatrix* m, AIReal angle);
    // out = first applied, then second applied
    void (*AIRealMatrixConcat)(const AIRealMatrix* first, const AIRealMatrix* second, AIRealMatrix* out);
    // the rotation angle of m in radians, atan2(b, a)
    AIReal (*AIRealMatrixGetRotate)(const AIRealMatrix* m);
    // the inverse into out; false (out unchanged) when m cannot be inverted
    ASBoolean (*AIRealMatrixInvert)(const AIRealMatrix* m, AIRealMatrix* out);
    // true when m is the identity
    ASBoolean (*AIRealMatrixIsIdentity)(const AIRealMatrix* m);
    // the point transformed by m into out (source and destination may be the same)
    void (*AIRealMatrixXformPoint)(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out);
};
