// The host's tables of the Art, Path, Path Style, Layer, Document, Art Style, Blend Style,
// Plugin Group and Symbol suites, all over the session's document.
#pragma once

#include "sdk/ai_art.h"
#include "sdk/ai_art_style.h"
#include "sdk/ai_blend_style.h"
#include "sdk/ai_document.h"
#include "sdk/ai_layer.h"
#include "sdk/ai_path.h"
#include "sdk/ai_path_style.h"
#include "sdk/ai_plugin_group.h"
#include "sdk/ai_symbol.h"
#include "host/document/document.h"

#include <string>

namespace host {

const AIArtSuite* HostArtSuite();
const AIPathSuite* HostPathSuite();
const AIPathStyleSuite* HostPathStyleSuite();
const AILayerSuite* HostLayerSuite();
const AIDocumentSuite* HostDocumentSuite();
const AIArtStyleSuite* HostArtStyleSuite();
const AIBlendStyleSuite* HostBlendStyleSuite();
const AIPluginGroupSuite* HostPluginGroupSuite();
const AISymbolSuite* HostSymbolSuite();

// Colours between the document's RGB and the suites' style colours (path_style_suite.cpp):
// a gray comes in as its RGB, a colour goes out as RGB.
Color ToColor(const AIStyleColor& color);
AIStyleColor ToStyleColor(const Color& color);

// The Document suite's state that the drawing does not keep: the ruler origin (0, 0 at
// start) and how often a plug-in asked for a redraw.
void SetHostRulerOrigin(AIRealPoint origin);
void ResetHostDocumentState();
int HostRedrawCount();

// File-path handles made by the Document suite: the path each names (false for a handle
// the host did not make or already released), their release, and how many are held.
bool HostFilePathText(AIFilePathRef file, std::string& path);
bool ReleaseHostFilePath(AIFilePathRef file);
int HostFilePathsHeld();

}  // namespace host
