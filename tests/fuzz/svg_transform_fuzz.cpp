// Fuzz target: the transform attribute and lengths with units. A transform list is refused
// or gives a finite matrix, and that matrix written as matrix(...) reads
// back exactly; a length read is finite.
#include "host/svg/svg_source.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

bool Finite(const AIRealMatrix& m)
{
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

bool Same(const AIRealMatrix& m, const AIRealMatrix& n)
{
    return m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d && m.tx == n.tx && m.ty == n.ty;
}

std::string Written(const AIRealMatrix& m)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "matrix(%.17g %.17g %.17g %.17g %.17g %.17g)", m.a, m.b, m.c, m.d, m.tx,
                  m.ty);
    return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    AIRealMatrix m;
    if (host::ParseSvgTransform(text.c_str(), m)) {
        FUZZ_CHECK(Finite(m), "a matrix that is not finite: " + Written(m));
        AIRealMatrix again;
        FUZZ_CHECK(host::ParseSvgTransform(Written(m).c_str(), again), "written matrix refused: " + Written(m));
        FUZZ_CHECK(Same(m, again), Written(m) + " read back as " + Written(again));
        FUZZ_CHECK(std::isfinite(host::MatrixScale(m)), "the scale of " + Written(m));
    }
    double points = 0;
    if (host::ParseSvgLength(text.c_str(), 100, points))
        FUZZ_CHECK(std::isfinite(points), "a length that is not finite: " + std::to_string(points));
    return 0;
}
