// Text frames as HP-GL labels: every printable character at its own origin with a pen-up
// move, sized from the host's font metrics, in one of the three kanji modes.
#pragma once

#include <cstdint>

#include "sdk/ai_font.h"
#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// Writes the labels of a text frame art to the plot data file; always 0 (a failing
// text-engine call leaves as ATE::Exception).
int32_t EmitTextFrame(AIArtHandle art);

// Formats the label move "PU%d,%d;" for a pen position (document points) into command
// (256 bytes) and draws the debug trace mark; the caller writes the command.
void EmitLabelOrigin(RealPoint position, char* command);

// The advance of an eight-bit string in units of the font size; 0 when its UTF-8 form does
// not fit.
double MeasureStringWidth(AIFontKey font, const char* text);
