// Exact bounds of art: cubic extremes found from the roots of the derivative.
#include "host/document/document.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

TextBoundsFunction gTextBounds = nullptr;

void Include(AIRealRect& r, bool& any, const AIRealPoint& p)
{
    if (!any) {
        r = AIRealRect{p.h, p.v, p.h, p.v};
        any = true;
        return;
    }
    r.left = std::min(r.left, p.h);
    r.right = std::max(r.right, p.h);
    r.bottom = std::min(r.bottom, p.v);
    r.top = std::max(r.top, p.v);
}

void IncludeRect(AIRealRect& r, bool& any, const AIRealRect& other)
{
    Include(r, any, AIRealPoint{other.left, other.bottom});
    Include(r, any, AIRealPoint{other.right, other.top});
}

double CubicAt(double a, double b, double c, double d, double t)
{
    double u = 1 - t;
    return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
}

// Parameters in (0, 1) where one coordinate of the cubic has a zero derivative.
int CubicExtremes(double p0, double p1, double p2, double p3, double t[2])
{
    // B'(t)/3 = A t^2 + B t + C
    double A = -p0 + 3 * p1 - 3 * p2 + p3;
    double B = 2 * (p0 - 2 * p1 + p2);
    double C = p1 - p0;
    int n = 0;
    auto take = [&](double x) {
        if (x > 0 && x < 1) t[n++] = x;
    };
    double scale = std::max({std::fabs(A), std::fabs(B), std::fabs(C)});
    if (scale == 0) return 0;
    if (std::fabs(A) <= 1e-12 * scale) {
        if (B != 0) take(-C / B);
        return n;
    }
    double disc = B * B - 4 * A * C;
    if (disc < 0) return 0;
    double root = std::sqrt(disc);
    // The numerically stable pair of roots.
    double q = -0.5 * (B + (B < 0 ? -root : root));
    take(q / A);
    if (q != 0) {
        double second = C / q;
        if (n == 0 || second != t[0]) take(second);
    }
    return n;
}


// Bounds of art placed through a matrix: the placed curves, not the transformed box.
void PlacedBounds(const Art* a, const AIRealMatrix& m, AIRealRect& r, bool& any, int depth = 0)
{
    if (depth > 100) return;  // symbols placing symbols: no drawing goes this deep
    if (a->type == ArtType::Path) {
        std::vector<AIPathSegment> segs = a->segments;
        for (AIPathSegment& s : segs) {
            s.ptAnchor = TransformPoint(m, s.ptAnchor);
            s.ptIn = TransformPoint(m, s.ptIn);
            s.ptOut = TransformPoint(m, s.ptOut);
        }
        AIRealRect sr;
        if (SegmentsBounds(segs, a->fClosed, sr)) IncludeRect(r, any, sr);
    } else if (a->type == ArtType::SymbolInstance) {
        if (a->symbol && a->symbol->definition)
            PlacedBounds(a->symbol->definition, ConcatMatrix(a->matrix, m), r, any, depth + 1);
    } else if (a->type == ArtType::Group || a->type == ArtType::CompoundPath) {
        for (const Art* child : a->children) PlacedBounds(child, m, r, any, depth + 1);
    } else {
        AIRealRect own;
        if (!ArtBounds(a, own)) return;
        AIRealPoint corners[4] = {{own.left, own.bottom}, {own.right, own.bottom},
                                  {own.left, own.top}, {own.right, own.top}};
        for (const AIRealPoint& p : corners) Include(r, any, TransformPoint(m, p));
    }
}

}  // namespace

bool CubicBounds(const AIRealPoint& p0, const AIRealPoint& p1, const AIRealPoint& p2,
                 const AIRealPoint& p3, AIRealRect& bounds)
{
    bool any = false;
    Include(bounds, any, p0);
    Include(bounds, any, p3);
    double t[2];
    int n = CubicExtremes(p0.h, p1.h, p2.h, p3.h, t);
    for (int i = 0; i < n; ++i)
        Include(bounds, any, AIRealPoint{CubicAt(p0.h, p1.h, p2.h, p3.h, t[i]),
                                         CubicAt(p0.v, p1.v, p2.v, p3.v, t[i])});
    n = CubicExtremes(p0.v, p1.v, p2.v, p3.v, t);
    for (int i = 0; i < n; ++i)
        Include(bounds, any, AIRealPoint{CubicAt(p0.h, p1.h, p2.h, p3.h, t[i]),
                                         CubicAt(p0.v, p1.v, p2.v, p3.v, t[i])});
    return true;
}

bool SegmentsBounds(const std::vector<AIPathSegment>& segments, bool closed, AIRealRect& bounds)
{
    if (segments.empty()) return false;
    bool any = false;
    Include(bounds, any, segments.front().ptAnchor);
    size_t count = segments.size();
    size_t curves = closed ? count : count - 1;
    for (size_t i = 0; i < curves; ++i) {
        const AIPathSegment& s1 = segments[i];
        const AIPathSegment& s2 = segments[(i + 1) % count];
        AIRealRect r;
        CubicBounds(s1.ptAnchor, s1.ptOut, s2.ptIn, s2.ptAnchor, r);
        IncludeRect(bounds, any, r);
    }
    return true;
}

bool ArtBounds(const Art* art, AIRealRect& bounds)
{
    if (!art) return false;
    switch (art->type) {
    case ArtType::Path:
        return SegmentsBounds(art->segments, art->fClosed, bounds);
    case ArtType::Group:
    case ArtType::CompoundPath: {
        bool any = false;
        for (const Art* child : art->children) {
            AIRealRect r;
            if (ArtBounds(child, r)) IncludeRect(bounds, any, r);
        }
        return any;
    }
    case ArtType::SymbolInstance: {
        if (!art->symbol || !art->symbol->definition) return false;
        bool any = false;
        PlacedBounds(art->symbol->definition, art->matrix, bounds, any);
        return any;
    }
    case ArtType::TextFrame:
        if (gTextBounds && gTextBounds(art, bounds)) return true;
        if (art->text.path) return ArtBounds(art->text.path, bounds);
        bounds = AIRealRect{art->text.anchor.h, art->text.anchor.v, art->text.anchor.h, art->text.anchor.v};
        return true;
    case ArtType::PluginArt:
        return ArtBounds(art->pluginResult, bounds);
    default:
        return false;
    }
}

void SetTextBoundsFunction(TextBoundsFunction function)
{
    gTextBounds = function;
}

}  // namespace host
