// Fuzz target: SVG path data. Whatever the text, the parser either refuses it with a reason
// or gives finite points; what it gives, written back as path data and read again, is the
// same subpaths with the same points.
#include "host/svg/svg_source.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

bool Finite(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9 * (1 + std::fabs(a) + std::fabs(b)); }

bool NearPoint(const AIRealPoint& a, const AIRealPoint& b) { return Near(a.h, b.h) && Near(a.v, b.v); }

std::string Describe(const AIRealPoint& p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<host::SvgSubpath> subpaths;
    std::string error;
    if (!host::ParseSvgPathData(text.c_str(), subpaths, error)) {
        FUZZ_CHECK(!error.empty(), "a refusal without a reason");
        return 0;
    }
    for (const host::SvgSubpath& sub : subpaths) {
        FUZZ_CHECK(!sub.segments.empty(), "an empty subpath");
        for (const AIPathSegment& seg : sub.segments)
            FUZZ_CHECK(Finite(seg.ptAnchor) && Finite(seg.ptIn) && Finite(seg.ptOut),
                       "a point that is not finite: " + Describe(seg.ptAnchor));
    }
    // Written back through the identity and read again: the same geometry.
    for (const host::SvgSubpath& sub : subpaths) {
        std::string d = host::FormatSvgPathData(sub.segments, sub.fClosed, host::IdentityMatrix());
        std::vector<host::SvgSubpath> again;
        FUZZ_CHECK(host::ParseSvgPathData(d.c_str(), again, error), "written path data refused: " + d + ": " + error);
        FUZZ_CHECK(again.size() == 1, "one subpath written, " + std::to_string(again.size()) + " read: " + d);
        FUZZ_CHECK(again[0].fClosed == sub.fClosed, "closing changed: " + d);
        FUZZ_CHECK(again[0].segments.size() == sub.segments.size(),
                   std::to_string(sub.segments.size()) + " segments written, " +
                       std::to_string(again[0].segments.size()) + " read: " + d);
        for (size_t i = 0; i < sub.segments.size(); ++i) {
            const AIPathSegment& a = sub.segments[i];
            const AIPathSegment& b = again[0].segments[i];
            FUZZ_CHECK(NearPoint(a.ptAnchor, b.ptAnchor) && NearPoint(a.ptIn, b.ptIn) && NearPoint(a.ptOut, b.ptOut),
                       "segment " + std::to_string(i) + " moved: " + Describe(a.ptAnchor) + " became " +
                           Describe(b.ptAnchor) + " in " + d);
        }
    }
    return 0;
}
