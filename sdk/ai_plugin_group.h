// The host's Plugin Group suite: art that a plug-in draws, known by the art it results in.
#pragma once

#include "sdk/ai_types.h"

struct AIPluginGroupSuite {
    // the art the plug-in art draws as, outside every layer; null (and kNoErr) when it has
    // none yet; kBadParameterErr when the handle is not live plug-in art
    ASErr (*GetPluginArtResultArt)(AIArtHandle art, AIArtHandle* result);
};
