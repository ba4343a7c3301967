// The host's Path suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"

#include <cmath>
#include <limits>
#include <vector>

namespace host {
namespace {

constexpr size_t kMaxSegments = std::numeric_limits<ASInt16>::max();

Art* LivePath(AIArtHandle handle)
{
    Art* art = LiveArt(handle);
    return art && art->type == ArtType::Path ? art : nullptr;
}

bool Finite(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

bool Finite(const AIPathSegment& s) { return Finite(s.ptAnchor) && Finite(s.ptIn) && Finite(s.ptOut); }

ASErr GetPathSegmentCount(AIArtHandle handle, ASInt16* count)
{
    Art* path = LivePath(handle);
    // a count the 16-bit answer cannot hold would cut the path silently
    if (!path || !count || path->segments.size() > kMaxSegments) return kBadParameterErr;
    *count = static_cast<ASInt16>(path->segments.size());
    return kNoErr;
}

ASErr SetPathSegmentCount(AIArtHandle handle, ASInt16 count)
{
    Art* path = LivePath(handle);
    if (!path || count < 0) return kBadParameterErr;
    AIPathSegment filler{};
    filler.fCorner = 1;
    if (!path->segments.empty()) {
        filler.ptAnchor = path->segments.back().ptAnchor;
        filler.ptIn = filler.ptOut = filler.ptAnchor;
    }
    path->segments.resize(static_cast<size_t>(count), filler);
    MarkArtChanged(path);
    return kNoErr;
}

ASErr GetPathSegments(AIArtHandle handle, ASInt16 first, ASInt16 count, AIPathSegment* out)
{
    Art* path = LivePath(handle);
    if (!path || first < 0 || count < 0 || (count > 0 && !out)) return kBadParameterErr;
    size_t end = static_cast<size_t>(first) + static_cast<size_t>(count);
    if (end > path->segments.size()) return kBadParameterErr;
    for (size_t i = static_cast<size_t>(first); i < end; ++i) *out++ = path->segments[i];
    return kNoErr;
}

ASErr SetPathSegmentsFn(AIArtHandle handle, ASInt16 first, ASInt16 count, const AIPathSegment* in)
{
    Art* path = LivePath(handle);
    if (!path || first < 0 || count < 0 || (count > 0 && !in)) return kBadParameterErr;
    size_t start = static_cast<size_t>(first);
    size_t end = start + static_cast<size_t>(count);
    if (start > path->segments.size() || end > kMaxSegments) return kBadParameterErr;
    for (ASInt16 i = 0; i < count; ++i)
        if (!Finite(in[i])) return kBadParameterErr;
    // in place: a plug-in setting a long path one segment at a time stays linear
    SetPathSegmentRange(path, start, in, static_cast<size_t>(count));
    return kNoErr;
}

ASErr GetPathClosed(AIArtHandle handle, ASBoolean* closed)
{
    Art* path = LivePath(handle);
    if (!path || !closed) return kBadParameterErr;
    *closed = path->fClosed;
    return kNoErr;
}

ASErr SetPathClosedFn(AIArtHandle handle, ASBoolean closed)
{
    Art* path = LivePath(handle);
    if (!path) return kBadParameterErr;
    SetPathClosed(path, closed != 0);
    return kNoErr;
}

ASErr GetPathGuide(AIArtHandle handle, ASBoolean* guide)
{
    Art* path = LivePath(handle);
    if (!path || !guide) return kBadParameterErr;
    *guide = path->fGuide;
    return kNoErr;
}

ASErr SetPathGuideFn(AIArtHandle handle, ASBoolean guide)
{
    Art* path = LivePath(handle);
    if (!path) return kBadParameterErr;
    SetPathGuide(path, guide != 0);
    return kNoErr;
}

const AIPathSuite kSuite = {
    GetPathSegmentCount,
    SetPathSegmentCount,
    GetPathSegments,
    SetPathSegmentsFn,
    GetPathClosed,
    SetPathClosedFn,
    GetPathGuide,
    SetPathGuideFn,
};

}  // namespace

const AIPathSuite* HostPathSuite() { return &kSuite; }

}  // namespace host
