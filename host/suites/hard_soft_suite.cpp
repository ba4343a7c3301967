// The host's Hard Soft suite: points between the text engine's space and artwork.
#include "host/suites/text_engine.h"

namespace host {
namespace {

// Both directions turn the y axis over.
ASErr FlipPoint(AIRealPoint* point)
{
    if (!point) return kBadParameterErr;
    point->v = -point->v;
    return kNoErr;
}

const AIHardSoftSuite kHardSoftSuite = {FlipPoint, FlipPoint};

}  // namespace

const AIHardSoftSuite* HostHardSoftSuite() { return &kHardSoftSuite; }

}  // namespace host
