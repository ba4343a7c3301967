// The host's Art Style suite: the art that draws an art's appearance.
#pragma once

#include "sdk/ai_types.h"

struct AIArtStyleSuite {
    // the art the host draws for the art's appearance; art with no appearance of its own
    // beyond its fill and stroke (every art of this host) answers itself
    ASErr (*GetStyledArt)(AIArtHandle art, AIArtHandle* styledArt);
};
