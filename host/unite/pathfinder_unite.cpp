// The Pathfinder unite on Clipper.
#include "host/unite/pathfinder_unite.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

struct Box {
    cInt left, bottom, right, top;
};

bool BoxesMeet(const Box& a, const Box& b)
{
    return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

Box BoxOf(const Paths& paths)
{
    Box box{0, 0, 0, 0};
    bool any = false;
    for (const Path& p : paths) {
        for (const IntPoint& q : p) {
            if (!any) box = Box{q.X, q.Y, q.X, q.Y};
            any = true;
            box.left = std::min(box.left, q.X);
            box.right = std::max(box.right, q.X);
            box.bottom = std::min(box.bottom, q.Y);
            box.top = std::max(box.top, q.Y);
        }
    }
    return box;
}

AIRealPoint CubicAt(AIRealPoint p0, AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, double t)
{
    double u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return AIRealPoint{a * p0.h + b * p1.h + c * p2.h + d * p3.h,
                       a * p0.v + b * p1.v + c * p2.v + d * p3.v};
}

int CubicSteps(AIRealPoint p0, AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, double flatness)
{
    double ax = p0.h - 2 * p1.h + p2.h, ay = p0.v - 2 * p1.v + p2.v;
    double bx = p1.h - 2 * p2.h + p3.h, by = p1.v - 2 * p2.v + p3.v;
    double m = std::max(std::hypot(ax, ay), std::hypot(bx, by));
    if (!(m > 0)) return 1;
    return int(std::clamp(std::ceil(std::sqrt(0.75 * m / flatness)), 1.0, 1024.0));
}

bool PointUsable(AIRealPoint p)
{
    return std::isfinite(p.h) && std::isfinite(p.v) && std::fabs(p.h) <= kMaxUniteCoordinate &&
           std::fabs(p.v) <= kMaxUniteCoordinate;
}

IntPoint Scaled(AIRealPoint p, double scale)
{
    return IntPoint(cInt(std::llround(p.h * scale)), cInt(std::llround(p.v * scale)));
}

// The closed contour as a polygon, consecutive repeats dropped.
Path FlattenContour(const std::vector<AIPathSegment>& s, const UniteOptions& o)
{
    Path out;
    auto add = [&](AIRealPoint p) {
        IntPoint q = Scaled(p, o.dScale);
        if (out.empty() || !(out.back() == q)) out.push_back(q);
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const AIPathSegment& a = s[i];
        const AIPathSegment& b = s[(i + 1) % s.size()];
        add(a.ptAnchor);
        int steps = CubicSteps(a.ptAnchor, a.ptOut, b.ptIn, b.ptAnchor, o.dFlatness);
        for (int k = 1; k < steps; ++k)
            add(CubicAt(a.ptAnchor, a.ptOut, b.ptIn, b.ptAnchor, double(k) / steps));
    }
    while (out.size() > 1 && out.front() == out.back()) out.pop_back();
    return out;
}

__int128 Cross(IntPoint o, IntPoint a, IntPoint b)
{
    return __int128(a.X - o.X) * (b.Y - o.Y) - __int128(a.Y - o.Y) * (b.X - o.X);
}

int Sign(__int128 v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

bool OnSegment(IntPoint a, IntPoint b, IntPoint p)
{
    return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
           p.Y <= std::max(a.Y, b.Y);
}

// Segments ab and cd share a point (touching counts).
bool SegmentsMeet(IntPoint a, IntPoint b, IntPoint c, IntPoint d)
{
    int d1 = Sign(Cross(c, d, a)), d2 = Sign(Cross(c, d, b));
    int d3 = Sign(Cross(a, b, c)), d4 = Sign(Cross(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return (d1 == 0 && OnSegment(c, d, a)) || (d2 == 0 && OnSegment(c, d, b)) ||
           (d3 == 0 && OnSegment(a, b, c)) || (d4 == 0 && OnSegment(a, b, d));
}

// A contour crosses or touches itself, or doubles back on its own line.
bool SelfIntersects(const Path& p)
{
    size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
        IntPoint a = p[i], b = p[(i + 1) % n], c = p[(i + 2) % n];
        if (Cross(a, b, c) == 0 &&
            __int128(b.X - a.X) * (c.X - b.X) + __int128(b.Y - a.Y) * (c.Y - b.Y) < 0)
            return true;
    }
    for (size_t i = 0; i < n; ++i) {
        IntPoint a = p[i], b = p[(i + 1) % n];
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;  // the closing piece is adjacent to the first
            IntPoint c = p[j], d = p[(j + 1) % n];
            if (std::max(a.X, b.X) < std::min(c.X, d.X) || std::max(c.X, d.X) < std::min(a.X, b.X) ||
                std::max(a.Y, b.Y) < std::min(c.Y, d.Y) || std::max(c.Y, d.Y) < std::min(a.Y, b.Y))
                continue;
            if (SegmentsMeet(a, b, c, d)) return true;
        }
    }
    return false;
}

// The shape's polygons, or the reason it is left alone.
std::string PrepareShape(const UniteShape& shape, const UniteOptions& o, Paths* out)
{
    if (shape.contours.empty()) return "has no contours";
    for (size_t c = 0; c < shape.contours.size(); ++c) {
        const UniteContour& contour = shape.contours[c];
        if (!contour.fClosed) return "has an open contour";
        for (const AIPathSegment& s : contour.segments)
            if (!PointUsable(s.ptAnchor) || !PointUsable(s.ptIn) || !PointUsable(s.ptOut))
                return "has a coordinate out of range";
        Path p = contour.segments.empty() ? Path{} : FlattenContour(contour.segments, o);
        if (p.size() < 3 || std::fabs(ClipperLib::Area(p)) < 1.0) return "has a degenerate contour";
        if (SelfIntersects(p)) return "has a contour that crosses itself";
        out->push_back(std::move(p));
    }
    return {};
}

double TreeArea(const ClipperLib::PolyTree& tree, int* pCount)
{
    double area = 0;
    int count = 0;
    for (ClipperLib::PolyNode* n = tree.GetFirst(); n; n = n->GetNext()) {
        area += ClipperLib::Area(n->Contour);
        ++count;
    }
    if (pCount) *pCount = count;
    return area;
}

double PathsArea(const Paths& paths)
{
    double area = 0;
    for (const Path& p : paths) area += ClipperLib::Area(p);
    return area;
}

Paths UnionOf(const std::vector<const Paths*>& groups, ClipperLib::PolyTree* tree = nullptr,
              ClipperLib::PolyFillType rule = ClipperLib::pftNonZero)
{
    ClipperLib::Clipper clipper;
    for (const Paths* g : groups) clipper.AddPaths(*g, ClipperLib::ptSubject, true);
    Paths out;
    if (tree) {
        clipper.Execute(ClipperLib::ctUnion, *tree, rule, rule);
        ClipperLib::PolyTreeToPaths(*tree, out);
    } else {
        clipper.Execute(ClipperLib::ctUnion, out, rule, rule);
    }
    return out;
}

double IntersectionArea(const Paths& a, const Paths& b)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(a, ClipperLib::ptSubject, true);
    clipper.AddPaths(b, ClipperLib::ptClip, true);
    Paths out;
    clipper.Execute(ClipperLib::ctIntersection, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return PathsArea(out);
}

// Per source shape, during the union.
struct Source {
    Paths polygons;   // flattened contours as given
    Paths own;        // united with itself
    double dOwnArea = 0;
    int iOwnCount = 0;
    Box box{0, 0, 0, 0};
    bool fClean = false;
    bool fTouches = false;
};

// Two single outlines whose edges neither cross nor touch, neither lying inside the other:
// their union is the two of them as they are, which is what the union test would find. Any
// other pair is left to the union test.
bool OutlinesApart(const Source& a, const Source& b)
{
    if (a.own.size() != 1 || b.own.size() != 1 || a.iOwnCount != 1 || b.iOwnCount != 1) return false;
    const Path& p = a.own[0];
    const Path& q = b.own[0];
    if (p.size() < 3 || q.size() < 3) return false;
    if (ClipperLib::PointInPolygon(p[0], q) != 0 || ClipperLib::PointInPolygon(q[0], p) != 0) return false;
    const Box& bb = b.box;
    for (size_t i = 0; i < p.size(); ++i) {
        IntPoint s = p[i], t = p[(i + 1) % p.size()];
        if (std::max(s.X, t.X) < bb.left || std::min(s.X, t.X) > bb.right || std::max(s.Y, t.Y) < bb.bottom ||
            std::min(s.Y, t.Y) > bb.top)
            continue;
        for (size_t j = 0; j < q.size(); ++j) {
            IntPoint c = q[j], d = q[(j + 1) % q.size()];
            if (std::max(s.X, t.X) < std::min(c.X, d.X) || std::max(c.X, d.X) < std::min(s.X, t.X) ||
                std::max(s.Y, t.Y) < std::min(c.Y, d.Y) || std::max(c.Y, d.Y) < std::min(s.Y, t.Y))
                continue;
            if (SegmentsMeet(s, t, c, d)) return false;
        }
    }
    return true;
}

// The edges of one result in horizontal bands, to find the edges near a shape and to count
// the crossings of a ray from a point without walking the whole outline.
class EdgeBands {
public:
    EdgeBands(const Paths& paths, const Box& box) : paths_(paths), bottom_(box.bottom)
    {
        size_t edges = 0;
        for (const Path& p : paths) edges += p.size();
        bands_ = std::max<cInt>(1, cInt(std::sqrt(double(edges))));
        height_ = (box.top - box.bottom) / bands_ + 1;
        lists_.resize(size_t(bands_));
        for (size_t c = 0; c < paths.size(); ++c) {
            const Path& p = paths[c];
            for (size_t e = 0; e < p.size(); ++e) {
                const IntPoint a = p[e], b = p[(e + 1) % p.size()];
                for (cInt k = Band(std::min(a.Y, b.Y)); k <= Band(std::max(a.Y, b.Y)); ++k)
                    lists_[size_t(k)].push_back({c, e});
            }
        }
    }

    // Some edge of the result and some edge of the outline share a point.
    bool Meets(const Path& outline, const Box& box) const
    {
        for (cInt k = Band(box.bottom); k <= Band(box.top); ++k) {
            for (const auto& [c, e] : lists_[size_t(k)]) {
                const Path& p = paths_[c];
                const IntPoint a = p[e], b = p[(e + 1) % p.size()];
                if (std::max(a.X, b.X) < box.left || std::min(a.X, b.X) > box.right ||
                    std::max(a.Y, b.Y) < box.bottom || std::min(a.Y, b.Y) > box.top)
                    continue;
                for (size_t i = 0; i < outline.size(); ++i) {
                    const IntPoint s = outline[i], t = outline[(i + 1) % outline.size()];
                    if (std::max(s.X, t.X) < std::min(a.X, b.X) || std::max(a.X, b.X) < std::min(s.X, t.X) ||
                        std::max(s.Y, t.Y) < std::min(a.Y, b.Y) || std::max(a.Y, b.Y) < std::min(s.Y, t.Y))
                        continue;
                    if (SegmentsMeet(a, b, s, t)) return true;
                }
            }
        }
        return false;
    }

    // A point on no edge lies inside the result (its outer contour less its holes) when a
    // ray to the right crosses its edges an odd number of times.
    bool Inside(IntPoint q) const
    {
        if (q.Y < bottom_ || q.Y >= bottom_ + height_ * bands_) return false;
        bool inside = false;
        for (const auto& [c, e] : lists_[size_t(Band(q.Y))]) {
            const Path& p = paths_[c];
            const IntPoint a = p[e], b = p[(e + 1) % p.size()];
            if ((a.Y > q.Y) == (b.Y > q.Y)) continue;
            const int side = Sign(Cross(a, b, q));
            if (a.Y < b.Y ? side > 0 : side < 0) inside = !inside;
        }
        return inside;
    }

private:
    cInt Band(cInt y) const { return std::clamp<cInt>((y - bottom_) / height_, 0, bands_ - 1); }

    const Paths& paths_;
    cInt bottom_;
    cInt bands_ = 1;
    cInt height_ = 1;
    std::vector<std::vector<std::pair<size_t, size_t>>> lists_;
};

// The area a source shape shares with a result. A single outline that meets no edge of the
// result lies wholly inside it or wholly outside, so the area is its own or none, exactly
// the intersection's; any other shape is intersected.
double SharedArea(const Paths& result, const EdgeBands& bands, const Source& source)
{
    if (source.own.size() == 1 && source.iOwnCount == 1 && source.own[0].size() >= 3 &&
        !bands.Meets(source.own[0], source.box))
        return bands.Inside(source.own[0][0]) ? source.dOwnArea : 0.0;
    return IntersectionArea(result, source.own);
}

UniteContour StraightContour(const Path& p, double scale)
{
    UniteContour c;
    c.fClosed = true;
    for (const IntPoint& q : p) {
        AIRealPoint pt{double(q.X) / scale, double(q.Y) / scale};
        c.segments.push_back(AIPathSegment{pt, pt, pt, true});
    }
    return c;
}

UniteResultShape UnchangedResult(const UniteShape& shape)
{
    UniteResultShape r;
    r.contours = shape.contours;
    r.dStrokeWidth = shape.dStrokeWidth;
    r.iIndex = shape.iIndex;
    r.fUnchanged = true;
    r.sources = {shape.iIndex};
    return r;
}

std::string ShapeNote(const UniteShape& shape, const std::string& why)
{
    return "unite: shape " + std::to_string(shape.iIndex) + " " + why + "; left as it was";
}

void UniteValidShapes(const std::vector<UniteShape>& shapes, const std::vector<size_t>& order,
                      std::vector<Source>& src, const UniteOptions& o,
                      std::vector<std::pair<size_t, UniteResultShape>>* pOut)
{
    // Self unions first, each by the shape's own fill rule, so that opposite windings of two
    // shapes cannot cancel and an even-odd hole stays a hole.
    for (size_t i : order) {
        ClipperLib::PolyTree tree;
        src[i].own = UnionOf({&src[i].polygons}, &tree,
                             shapes[i].fEvenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero);
        src[i].dOwnArea = TreeArea(tree, &src[i].iOwnCount);
        double given = 0;
        for (const Path& p : src[i].polygons) given += std::fabs(ClipperLib::Area(p));
        double absOwn = 0;
        for (const Path& p : src[i].own) absOwn += std::fabs(ClipperLib::Area(p));
        src[i].fClean = src[i].iOwnCount == int(src[i].polygons.size()) &&
                        std::fabs(absOwn - given) <= 1e-9 * std::max(1.0, given) + 1.0;
        src[i].box = BoxOf(src[i].own);
        // The contours as given are not needed again.
        Paths().swap(src[i].polygons);
    }
    // Only shapes whose boxes meet can touch: sweep them in order of their left edges.
    std::vector<size_t> byLeft(order);
    std::stable_sort(byLeft.begin(), byLeft.end(),
                     [&](size_t x, size_t y) { return src[x].box.left < src[y].box.left; });
    for (size_t x = 0; x < byLeft.size(); ++x) {
        for (size_t y = x + 1; y < byLeft.size() && src[byLeft[y]].box.left <= src[byLeft[x]].box.right;
             ++y) {
            Source& a = src[byLeft[x]];
            Source& b = src[byLeft[y]];
            if (!BoxesMeet(a.box, b.box)) continue;
            // Touching is all the test can tell, and both already touch another shape.
            if (a.fTouches && b.fTouches) continue;
            if (OutlinesApart(a, b)) continue;
            ClipperLib::PolyTree tree;
            UnionOf({&a.own, &b.own}, &tree);
            int count = 0;
            double area = TreeArea(tree, &count);
            bool apart = count == a.iOwnCount + b.iOwnCount &&
                         std::fabs(area - (a.dOwnArea + b.dOwnArea)) <= 1.0;
            if (!apart) a.fTouches = b.fTouches = true;
        }
    }
    std::vector<const Paths*> united;
    std::vector<size_t> members;
    for (size_t i : order) {
        if (!src[i].fTouches && src[i].fClean) {
            pOut->push_back({i, UnchangedResult(shapes[i])});
            Paths().swap(src[i].own);
        } else {
            united.push_back(&src[i].own);
            members.push_back(i);
        }
    }
    if (united.empty()) return;
    ClipperLib::PolyTree tree;
    {
        ClipperLib::Clipper clipper;
        for (const Paths* g : united) clipper.AddPaths(*g, ClipperLib::ptSubject, true);
        clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    }
    std::vector<Paths> results;
    std::vector<Box> boxes;
    for (ClipperLib::PolyNode* n = tree.GetFirst(); n; n = n->GetNext()) {
        if (n->IsHole()) continue;
        results.push_back(Paths{n->Contour});
        for (ClipperLib::PolyNode* hole : n->Childs) results.back().push_back(hole->Contour);
        boxes.push_back(BoxOf(results.back()));
    }
    // The results hold every contour of the tree.
    tree.Clear();
    // A shape lies wholly within the union, so when only one result can hold it, all of it
    // is in that one and no intersection needs working out.
    std::vector<int> candidates(src.size(), 0);
    for (const Box& box : boxes)
        for (size_t i : members)
            if (BoxesMeet(box, src[i].box)) ++candidates[i];
    for (size_t k = 0; k < results.size(); ++k) {
        const Paths& result = results[k];
        const Box& box = boxes[k];
        size_t best = members.front();
        double bestArea = -1;
        UniteResultShape r;
        std::unique_ptr<EdgeBands> bands;
        for (size_t i : members) {
            if (!BoxesMeet(box, src[i].box)) continue;
            if (candidates[i] != 1 && !bands) bands = std::make_unique<EdgeBands>(result, box);
            double area = candidates[i] == 1 ? src[i].dOwnArea : SharedArea(result, *bands, src[i]);
            if (area > 0) r.sources.push_back(shapes[i].iIndex);
            if (area > bestArea) {
                bestArea = area;
                best = i;
            }
        }
        for (const Path& p : result) r.contours.push_back(StraightContour(p, o.dScale));
        r.dStrokeWidth = shapes[best].dStrokeWidth;
        r.iIndex = shapes[best].iIndex;
        pOut->push_back({best, std::move(r)});
    }
}

}  // namespace

ASErr UniteShapes(const std::vector<UniteShape>& shapes, const UniteOptions& options,
                  UniteReport* pReport)
{
    if (!pReport) return kBadParameterErr;
    *pReport = UniteReport{};
    if (!std::isfinite(options.dFlatness) || !(options.dFlatness > 0) ||
        !std::isfinite(options.dScale) || !(options.dScale > 0) || options.dScale > 1e6)
        return kBadParameterErr;

    std::vector<std::pair<size_t, UniteResultShape>> results;
    std::vector<Source> src(shapes.size());
    std::vector<size_t> valid;
    for (size_t i = 0; i < shapes.size(); ++i) {
        std::string why = PrepareShape(shapes[i], options, &src[i].polygons);
        if (why.empty()) {
            valid.push_back(i);
        } else {
            pReport->notes.push_back(ShapeNote(shapes[i], why));
            results.push_back({i, UnchangedResult(shapes[i])});
        }
    }
    std::vector<std::pair<size_t, UniteResultShape>> united;
    try {
        UniteValidShapes(shapes, valid, src, options, &united);
    } catch (const std::exception& e) {
        // Clipper refuses coordinates it cannot hold: every shape stays as it was.
        pReport->notes.push_back(std::string("unite: the union failed (") + e.what() +
                                 "); shapes left as they were");
        united.clear();
        for (size_t i : valid) united.push_back({i, UnchangedResult(shapes[i])});
    }
    results.insert(results.end(), std::make_move_iterator(united.begin()),
                   std::make_move_iterator(united.end()));
    std::stable_sort(results.begin(), results.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (auto& r : results) pReport->shapes.push_back(std::move(r.second));
    return kNoErr;
}
