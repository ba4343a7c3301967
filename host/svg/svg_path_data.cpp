// SVG path data to cubic segments: every command, relative and absolute, implicit repeats,
// quadratics raised to cubics and elliptical arcs split into quarter-turn cubics.
#include "host/svg/svg_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace host {

namespace {

struct Scanner {
    const char* p;

    void SkipSpace()
    {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f') ++p;
    }
    void SkipSeparator()
    {
        SkipSpace();
        if (*p == ',') {
            ++p;
            SkipSpace();
        }
    }
    bool AtNumber()
    {
        SkipSpace();
        return *p == '-' || *p == '+' || *p == '.' || std::isdigit(static_cast<unsigned char>(*p));
    }
    // A number by the grammar of path data: "1.5.5" is 1.5 then .5, "1-2" is 1 then -2.
    bool Number(double& value)
    {
        SkipSpace();
        const char* start = p;
        const char* q = p;
        if (*q == '+' || *q == '-') ++q;
        bool digits = false;
        while (std::isdigit(static_cast<unsigned char>(*q))) ++q, digits = true;
        if (*q == '.') {
            ++q;
            while (std::isdigit(static_cast<unsigned char>(*q))) ++q, digits = true;
        }
        if (!digits) return false;
        if (*q == 'e' || *q == 'E') {
            const char* e = q + 1;
            if (*e == '+' || *e == '-') ++e;
            if (std::isdigit(static_cast<unsigned char>(*e))) {
                while (std::isdigit(static_cast<unsigned char>(*e))) ++e;
                q = e;
            }
        }
        value = std::strtod(std::string(start, q).c_str(), nullptr);
        p = q;
        SkipSeparator();
        return std::isfinite(value);
    }
    bool Flag(bool& value)
    {
        SkipSpace();
        if (*p != '0' && *p != '1') return false;
        value = *p == '1';
        ++p;
        SkipSeparator();
        return true;
    }
};

AIPathSegment Corner(const AIRealPoint& p)
{
    return AIPathSegment{p, p, p, true};
}

bool Same(const AIRealPoint& a, const AIRealPoint& b)
{
    return std::fabs(a.h - b.h) < 1e-9 && std::fabs(a.v - b.v) < 1e-9;
}

}  // namespace

// A smooth anchor has both handles on one line through it, on opposite sides.
void DeriveCornerFlags(std::vector<AIPathSegment>& segments)
{
    for (AIPathSegment& s : segments) {
        double ix = s.ptAnchor.h - s.ptIn.h, iy = s.ptAnchor.v - s.ptIn.v;
        double ox = s.ptOut.h - s.ptAnchor.h, oy = s.ptOut.v - s.ptAnchor.v;
        double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
        if (li < 1e-9 || lo < 1e-9) {
            s.fCorner = true;
            continue;
        }
        double cross = (ix * oy - iy * ox) / (li * lo);
        double dot = ix * ox + iy * oy;
        s.fCorner = !(std::fabs(cross) < 1e-6 && dot > 0);
    }
}

namespace {

struct Builder {
    std::vector<SvgSubpath>& out;
    AIRealPoint current{0, 0};
    AIRealPoint start{0, 0};
    bool open = false;  // a subpath is being built

    void MoveTo(const AIRealPoint& p)
    {
        Finish();
        out.push_back(SvgSubpath{});
        out.back().segments.push_back(Corner(p));
        open = true;
        current = start = p;
    }
    void Ensure()
    {
        if (!open) MoveTo(current);
    }
    void LineTo(const AIRealPoint& p)
    {
        Ensure();
        out.back().segments.push_back(Corner(p));
        current = p;
    }
    void CurveTo(const AIRealPoint& c1, const AIRealPoint& c2, const AIRealPoint& p)
    {
        Ensure();
        out.back().segments.back().ptOut = c1;
        out.back().segments.push_back(AIPathSegment{p, c2, p, true});
        current = p;
    }
    void Close()
    {
        if (!open) return;
        SvgSubpath& sub = out.back();
        if (sub.segments.size() > 1 && Same(sub.segments.back().ptAnchor, sub.segments.front().ptAnchor)) {
            sub.segments.front().ptIn = sub.segments.back().ptIn;
            sub.segments.pop_back();
        }
        sub.fClosed = true;
        Finish();
        current = start;
    }
    void Finish()
    {
        if (open) DeriveCornerFlags(out.back().segments);
        open = false;
    }
};

// Endpoint arc parameters to cubics, as the SVG implementation notes describe. The centre is
// found in long double: the squares and products of coordinates near the largest doubles stay
// finite there, so an arc between far points is still its arc.
void ArcTo(Builder& b, double rxIn, double ryIn, double angleDeg, bool largeArc, bool sweep,
           const AIRealPoint& to)
{
    using Real = long double;
    AIRealPoint from = b.current;
    if (Same(from, to)) return;
    Real rx = std::fabs(static_cast<Real>(rxIn));
    Real ry = std::fabs(static_cast<Real>(ryIn));
    if (rx == 0 || ry == 0) {
        b.LineTo(to);
        return;
    }
    const Real pi = 3.14159265358979323846264338327950288L;
    Real phi = static_cast<Real>(angleDeg) * pi / 180;
    Real cs = std::cos(phi), sn = std::sin(phi);
    Real dx = (static_cast<Real>(from.h) - to.h) / 2, dy = (static_cast<Real>(from.v) - to.v) / 2;
    Real x1 = cs * dx + sn * dy;
    Real y1 = -sn * dx + cs * dy;
    Real lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    Real coef = 0;  // radii scaled up to reach: the centre is half-way, exactly
    if (lambda >= 1) {
        Real s = std::sqrt(lambda);
        rx *= s;
        ry *= s;
    } else {
        Real num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
        Real den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
        coef = den == 0 ? 0 : std::sqrt(std::max(Real(0), num / den));
    }
    if (largeArc == sweep) coef = -coef;
    Real cx1 = coef * rx * y1 / ry;
    Real cy1 = -coef * ry * x1 / rx;
    Real cx = cs * cx1 - sn * cy1 + (static_cast<Real>(from.h) + to.h) / 2;
    Real cy = sn * cx1 + cs * cy1 + (static_cast<Real>(from.v) + to.v) / 2;
    auto angle = [](Real ux, Real uy, Real vx, Real vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    Real theta1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    Real delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    // Radii or ends so far out that the ellipse cannot be worked out in numbers: a straight
    // line, as for a zero radius.
    if (!std::isfinite(theta1) || !std::isfinite(delta) || !std::isfinite(cx) || !std::isfinite(cy)) {
        b.LineTo(to);
        return;
    }
    if (!sweep && delta > 0) delta -= 2 * pi;
    if (sweep && delta < 0) delta += 2 * pi;
    int pieces = static_cast<int>(std::ceil(std::fabs(delta) / (pi / 2) - 1e-9L));
    if (pieces < 1) pieces = 1;
    Real step = delta / pieces;
    Real k = 4.0L / 3.0L * std::tan(step / 4);
    auto point = [&](Real t) {
        Real ex = rx * std::cos(t), ey = ry * std::sin(t);
        return AIRealPoint{static_cast<double>(cs * ex - sn * ey + cx), static_cast<double>(sn * ex + cs * ey + cy)};
    };
    auto handle = [&](const AIRealPoint& p, Real t, Real sign) {
        Real ex = -rx * std::sin(t), ey = ry * std::cos(t);
        return AIRealPoint{static_cast<double>(p.h + sign * k * (cs * ex - sn * ey)),
                           static_cast<double>(p.v + sign * k * (sn * ex + cs * ey))};
    };
    Real t = theta1;
    for (int i = 0; i < pieces; ++i) {
        Real t2 = t + step;
        AIRealPoint p1 = point(t), p2 = i + 1 == pieces ? to : point(t2);
        b.CurveTo(handle(p1, t, 1), handle(p2, t2, -1), p2);
        t = t2;
    }
}

}  // namespace

bool ParseSvgPathData(const char* data, std::vector<SvgSubpath>& subpaths, std::string& error)
{
    subpaths.clear();
    if (!data) return true;
    Scanner s{data};
    Builder b{subpaths};
    char command = 0;
    AIRealPoint lastControl{0, 0};  // reflected by S and T
    char lastCommand = 0;
    auto fail = [&](const char* what) {
        b.Finish();
        error = std::string(what) + " at offset " + std::to_string(s.p - data) + " of the path data";
        return false;
    };
    // What a command added, taken back when a point of it is beyond the range of numbers
    // (a sum or a reflection of coordinates each in range may be).
    size_t keptSubpaths = 0, keptSegments = 0;
    AIPathSegment keptLast{};
    auto keep = [&] {
        keptSubpaths = subpaths.size();
        keptSegments = subpaths.empty() ? 0 : subpaths.back().segments.size();
        if (keptSegments > 0) keptLast = subpaths.back().segments.back();
    };
    auto finite = [&] {
        if (subpaths.empty()) return true;
        const std::vector<AIPathSegment>& segs = subpaths.back().segments;
        for (size_t i = subpaths.size() > keptSubpaths || keptSegments == 0 ? 0 : keptSegments - 1; i < segs.size(); ++i)
            for (const AIRealPoint& q : {segs[i].ptAnchor, segs[i].ptIn, segs[i].ptOut})
                if (!std::isfinite(q.h) || !std::isfinite(q.v)) return false;
        return true;
    };
    auto takeBack = [&] {
        subpaths.resize(keptSubpaths);
        if (!subpaths.empty()) {
            subpaths.back().segments.resize(keptSegments);
            if (keptSegments > 0) subpaths.back().segments.back() = keptLast;
        }
    };
    s.SkipSpace();
    const char* commandAt = s.p;
    while (*s.p) {
        if (!finite()) {
            takeBack();
            return fail("a coordinate beyond the range of numbers");
        }
        keep();
        if (std::isalpha(static_cast<unsigned char>(*s.p))) {
            commandAt = s.p;
            if (subpaths.empty() && *s.p != 'M' && *s.p != 'm') return fail("path data does not start with a moveto");
            command = *s.p++;
            s.SkipSpace();
        } else if (!command) {
            return fail("number without a command");
        } else if (!s.AtNumber()) {
            return fail("unexpected character");
        }
        bool relative = std::islower(static_cast<unsigned char>(command));
        char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
        AIRealPoint base = relative ? b.current : AIRealPoint{0, 0};
        auto pt = [&](double x, double y) { return AIRealPoint{base.h + x, base.v + y}; };
        double n[7];
        switch (upper) {
        case 'Z':
            b.Close();
            lastCommand = 'Z';
            command = 0;  // numbers may not follow Z
            s.SkipSeparator();
            continue;
        case 'M':
            if (!s.Number(n[0]) || !s.Number(n[1])) return fail("bad moveto");
            b.MoveTo(pt(n[0], n[1]));
            command = relative ? 'l' : 'L';  // further pairs are line-tos
            lastCommand = 'M';
            continue;
        case 'L':
            if (!s.Number(n[0]) || !s.Number(n[1])) return fail("bad lineto");
            b.LineTo(pt(n[0], n[1]));
            break;
        case 'H':
            if (!s.Number(n[0])) return fail("bad horizontal lineto");
            b.LineTo(AIRealPoint{base.h + n[0], b.current.v});
            break;
        case 'V':
            if (!s.Number(n[0])) return fail("bad vertical lineto");
            b.LineTo(AIRealPoint{b.current.h, base.v + n[0]});
            break;
        case 'C': {
            for (int i = 0; i < 6; ++i)
                if (!s.Number(n[i])) return fail("bad curveto");
            AIRealPoint c2 = pt(n[2], n[3]);
            b.CurveTo(pt(n[0], n[1]), c2, pt(n[4], n[5]));
            lastControl = c2;
            break;
        }
        case 'S': {
            for (int i = 0; i < 4; ++i)
                if (!s.Number(n[i])) return fail("bad smooth curveto");
            AIRealPoint c1 = b.current;
            if (lastCommand == 'C' || lastCommand == 'S')
                c1 = AIRealPoint{2 * b.current.h - lastControl.h, 2 * b.current.v - lastControl.v};
            AIRealPoint c2 = pt(n[0], n[1]);
            b.CurveTo(c1, c2, pt(n[2], n[3]));
            lastControl = c2;
            break;
        }
        case 'Q':
        case 'T': {
            AIRealPoint q;
            AIRealPoint end;
            if (upper == 'Q') {
                for (int i = 0; i < 4; ++i)
                    if (!s.Number(n[i])) return fail("bad quadratic curveto");
                q = pt(n[0], n[1]);
                end = pt(n[2], n[3]);
            } else {
                if (!s.Number(n[0]) || !s.Number(n[1])) return fail("bad smooth quadratic curveto");
                q = b.current;
                if (lastCommand == 'Q' || lastCommand == 'T')
                    q = AIRealPoint{2 * b.current.h - lastControl.h, 2 * b.current.v - lastControl.v};
                end = pt(n[0], n[1]);
            }
            AIRealPoint p0 = b.current;
            b.CurveTo(AIRealPoint{p0.h + 2.0 / 3.0 * (q.h - p0.h), p0.v + 2.0 / 3.0 * (q.v - p0.v)},
                      AIRealPoint{end.h + 2.0 / 3.0 * (q.h - end.h), end.v + 2.0 / 3.0 * (q.v - end.v)}, end);
            lastControl = q;
            break;
        }
        case 'A': {
            bool large = false, sweep = false;
            if (!s.Number(n[0]) || !s.Number(n[1]) || !s.Number(n[2]) || !s.Flag(large) ||
                !s.Flag(sweep) || !s.Number(n[3]) || !s.Number(n[4]))
                return fail("bad elliptical arc");
            ArcTo(b, n[0], n[1], n[2], large, sweep, pt(n[3], n[4]));
            break;
        }
        default:
            s.p = commandAt;  // the error names where the letter stands
            return fail("unknown path command");
        }
        lastCommand = upper;
    }
    if (!finite()) {
        takeBack();
        return fail("a coordinate beyond the range of numbers");
    }
    b.Finish();
    return true;
}

void SplitLongSubpaths(std::vector<SvgSubpath>& subpaths, size_t maxSegments)
{
    bool anyLong = false;
    for (const SvgSubpath& sub : subpaths) anyLong = anyLong || sub.segments.size() > maxSegments;
    if (!anyLong || maxSegments < 2) return;
    std::vector<SvgSubpath> out;
    for (SvgSubpath& sub : subpaths) {
        if (sub.segments.size() <= maxSegments) {
            out.push_back(std::move(sub));
            continue;
        }
        std::vector<AIPathSegment>& all = sub.segments;
        if (sub.fClosed) {  // the closing curve, written out: back to the first anchor
            AIPathSegment back = all.front();
            back.ptOut = back.ptAnchor;
            all.push_back(back);
            all.front().ptIn = all.front().ptAnchor;
        }
        for (size_t first = 0;;) {
            size_t end = std::min(first + maxSegments, all.size());
            SvgSubpath piece;
            piece.segments.assign(all.begin() + static_cast<std::ptrdiff_t>(first),
                                  all.begin() + static_cast<std::ptrdiff_t>(end));
            if (first > 0) piece.segments.front().ptIn = piece.segments.front().ptAnchor;
            if (end < all.size()) piece.segments.back().ptOut = piece.segments.back().ptAnchor;
            DeriveCornerFlags(piece.segments);
            out.push_back(std::move(piece));
            if (end == all.size()) break;
            first = end - 1;  // the next piece starts on this one's last anchor
        }
    }
    subpaths = std::move(out);
}

std::string FormatSvgNumber(double value)
{
    if (std::fabs(value) < 5e-10) value = 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.12g", value);
    return buffer;
}

std::string FormatSvgPathData(const std::vector<AIPathSegment>& segments, bool closed,
                              const AIRealMatrix& artworkToUser)
{
    std::string d;
    if (segments.empty()) return d;
    auto add = [&](const AIRealPoint& p) {
        AIRealPoint u = TransformPoint(artworkToUser, p);
        d += FormatSvgNumber(u.h);
        d += ',';
        d += FormatSvgNumber(u.v);
    };
    auto curve = [&](const AIPathSegment& a, const AIPathSegment& b) {
        bool straight = Same(a.ptOut, a.ptAnchor) && Same(b.ptIn, b.ptAnchor);
        if (straight) {
            d += " L";
            add(b.ptAnchor);
        } else {
            d += " C";
            add(a.ptOut);
            d += ' ';
            add(b.ptIn);
            d += ' ';
            add(b.ptAnchor);
        }
    };
    d += 'M';
    add(segments.front().ptAnchor);
    for (size_t i = 1; i < segments.size(); ++i) curve(segments[i - 1], segments[i]);
    if (closed) {
        const AIPathSegment& last = segments.back();
        const AIPathSegment& first = segments.front();
        // A straight closing segment is Z alone; but when the last anchor already stands on the
        // first, reading drops one such anchor at Z, so the closing segment is written out.
        if (!(Same(last.ptOut, last.ptAnchor) && Same(first.ptIn, first.ptAnchor)) ||
            Same(last.ptAnchor, first.ptAnchor))
            curve(last, first);
        d += " Z";
    }
    return d;
}

}  // namespace host
