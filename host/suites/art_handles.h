// Checks of the handles plug-ins pass to the art suites, so a bad one is refused, not followed.
#pragma once

#include "sdk/ai_symbol.h"
#include "host/document/document.h"

namespace host {

// The live art, layer or symbol of the session's document a handle names, else null.
Art* LiveArt(AIArtHandle handle);
Layer* LiveLayer(AILayerHandle handle);
Symbol* KnownSymbol(AISymbolHandle handle);
inline AISymbolHandle ToHandle(Symbol* symbol) { return reinterpret_cast<AISymbolHandle>(symbol); }

// Placement codes of the suites to the document's, false for an unknown code.
bool ToPlacement(ASInt16 code, Placement& placement);

// The operations of a table that no plug-in calls.
ASErr UnusedSelector();

}  // namespace host
