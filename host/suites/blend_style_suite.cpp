// The host's Blend Style suite: the normal blending mode and each art's own opacity.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"

#include <cmath>

namespace host {
namespace {

ASErr GetArtBlendMode(AIArtHandle handle, ASInt32* mode)
{
    if (!LiveArt(handle) || !mode) return kBadParameterErr;
    *mode = kBlendModeNormal;
    return kNoErr;
}

ASErr SetArtBlendMode(AIArtHandle handle, ASInt32 mode)
{
    if (!LiveArt(handle) || mode != kBlendModeNormal) return kBadParameterErr;
    return kNoErr;
}

ASErr GetArtOpacity(AIArtHandle handle, AIReal* opacity)
{
    Art* art = LiveArt(handle);
    if (!art || !opacity) return kBadParameterErr;
    *opacity = art->style.opacity;
    return kNoErr;
}

ASErr SetArtOpacity(AIArtHandle handle, AIReal opacity)
{
    Art* art = LiveArt(handle);
    if (!art || !std::isfinite(opacity) || opacity < 0 || opacity > 1) return kBadParameterErr;
    // the file keeps the opacity of paths only; other art would lose it on saving
    if (art->type != ArtType::Path && art->type != ArtType::CompoundPath) return kBadParameterErr;
    art->style.opacity = opacity;
    MarkArtChanged(art);
    return kNoErr;
}

const AIBlendStyleSuite kSuite = {
    GetArtBlendMode,
    SetArtBlendMode,
    GetArtOpacity,
    SetArtOpacity,
};

}  // namespace

const AIBlendStyleSuite* HostBlendStyleSuite() { return &kSuite; }

}  // namespace host
