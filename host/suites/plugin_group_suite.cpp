// The host's Plugin Group suite: the result art of plug-in art.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"

namespace host {
namespace {

ASErr GetPluginArtResultArt(AIArtHandle handle, AIArtHandle* result)
{
    if (result) *result = nullptr;
    Art* art = LiveArt(handle);
    if (!art || art->type != ArtType::PluginArt || !result) return kBadParameterErr;
    *result = ToHandle(LiveArt(ToHandle(art->pluginResult)));
    return kNoErr;
}

const AIPluginGroupSuite kSuite = {
    GetPluginArtResultArt,
};

}  // namespace

const AIPluginGroupSuite* HostPluginGroupSuite() { return &kSuite; }

}  // namespace host
