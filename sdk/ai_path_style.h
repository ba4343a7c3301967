// The host's Path Style suite: fill and stroke of path and compound path art.
#pragma once

#include "sdk/ai_types.h"

// Colour kinds.
constexpr ASInt16 kStyleColorGray = 0;   // gray: the amount of black, 0 white to 1 black
constexpr ASInt16 kStyleColorRgb = 1;    // red, green, blue from 0 to 1

struct AIStyleColor {
    ASInt16 kind;
    AIReal gray;
    AIReal red;
    AIReal green;
    AIReal blue;
};

constexpr int kPathStyleMaxDashes = 12;

// Lengths in points. A dash count of 0 is a solid stroke. Line caps: 0 butt, 1 round,
// 2 projecting; joins: 0 miter, 1 round, 2 bevel.
struct AIPathStyle {
    ASBoolean fFillPaint;
    AIStyleColor fillColor;
    ASBoolean fFillOverprint;
    ASBoolean fStrokePaint;
    AIStyleColor strokeColor;
    ASBoolean fStrokeOverprint;
    AIReal strokeWidth;
    ASInt16 dashCount;
    AIReal dashValues[kPathStyleMaxDashes];
    AIReal dashOffset;
    ASInt16 lineCap;
    ASInt16 lineJoin;
    AIReal miterLimit;
    ASBoolean fEvenOdd;      // fill rule: set, even-odd; clear, non-zero
};

// Both functions answer kBadParameterErr for a handle that is not live path or compound
// path art and for a null record; a record with a negative or non-finite width, a dash
// count outside 0 to kPathStyleMaxDashes, a negative dash or an unknown colour kind is
// refused the same way and changes nothing. Colours are read back as RGB.
struct AIPathStyleSuite {
    ASErr (*GetPathStyle)(AIArtHandle art, AIPathStyle* style);
    ASErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
};
