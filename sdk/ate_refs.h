// The text engine's reference types: opaque handles of the engine's objects.
#pragma once

#include <cstdint>

namespace ATE {

typedef int32_t ATEErr;

typedef struct _t_TextFrameRef* TextFrameRef;
typedef struct _t_TextRangeRef* TextRangeRef;
typedef struct _t_TextLinesIteratorRef* TextLinesIteratorRef;
typedef struct _t_TextLineRef* TextLineRef;
typedef struct _t_GlyphRunsIteratorRef* GlyphRunsIteratorRef;
typedef struct _t_GlyphRunRef* GlyphRunRef;
typedef struct _t_CharFeaturesRef* CharFeaturesRef;
typedef struct _t_ParaFeaturesRef* ParaFeaturesRef;
typedef struct _t_FontRef* FontRef;
typedef struct _t_ArrayRealPointRef* ArrayRealPointRef;
typedef struct _t_ApplicationPaintRef* ApplicationPaintRef;
typedef struct _t_KinsokuRef* KinsokuRef;
typedef struct _t_MojiKumiRef* MojiKumiRef;
typedef struct _t_ArrayRealRef* ArrayRealRef;

}  // namespace ATE
