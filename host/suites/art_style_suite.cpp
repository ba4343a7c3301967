// The host's Art Style suite: no art of this host has an appearance beyond fill and stroke.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"

namespace host {
namespace {

ASErr GetStyledArt(AIArtHandle handle, AIArtHandle* styledArt)
{
    if (styledArt) *styledArt = nullptr;
    Art* art = LiveArt(handle);
    if (!art || !styledArt) return kBadParameterErr;
    *styledArt = ToHandle(art);
    return kNoErr;
}

const AIArtStyleSuite kSuite = {
    GetStyledArt,
};

}  // namespace

const AIArtStyleSuite* HostArtStyleSuite() { return &kSuite; }

}  // namespace host
