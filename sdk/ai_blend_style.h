// The host's Blend Style suite: how an art is composited, its blending mode and opacity.
#pragma once

#include "sdk/ai_types.h"

// Blending modes; this host draws only the normal one.
constexpr ASInt32 kBlendModeNormal = 0;

// A handle that is not live art answers kBadParameterErr, as does a null output.
struct AIBlendStyleSuite {
    ASErr (*GetArtBlendMode)(AIArtHandle art, ASInt32* mode);
    // only kBlendModeNormal is taken
    ASErr (*SetArtBlendMode)(AIArtHandle art, ASInt32 mode);
    // the art's own opacity from 0 to 1, not counting its parents'
    ASErr (*GetArtOpacity)(AIArtHandle art, AIReal* opacity);
    // an opacity outside 0 to 1 is refused
    ASErr (*SetArtOpacity)(AIArtHandle art, AIReal opacity);
};
