// The plot-area tool's messages. They come with the tool's tracking; until then each
// answers 0.
#include "plugin_handlers.h"

ASErr HandleToolEditOptions(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolTrackCursor(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolMouseDown(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolMouseDrag(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolMouseUp(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolSelect(AIToolMessage* message) { return kNoErr; }
ASErr HandleToolDeselect(AIToolMessage* message) { return kNoErr; }
