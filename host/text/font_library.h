// The host's font library: faces found through fontconfig by family and style, loaded
// with FreeType and kept for the life of the process, with the metrics and glyph outlines
// that the text engine and the font suite hand out.
//
// Units: metrics are per unit of font size (a value of 0.5 at 12 points is 6 points);
// outlines are in artwork points with v growing upward, the glyph origin on the baseline.
//
// A family is matched through fontconfig, which answers with its own choice for a family it
// does not have (its aliases and default faces); one note per family not found under its own
// name is written to standard error. Only when fontconfig offers nothing is the
// Japanese-capable fallback family (IPAGothic) used for the whole text. A character that the
// face has no glyph for is taken, character by character, from the fallback face, else from
// the face that fontconfig offers for that character (Hebrew, Arabic and other scripts).
#pragma once

#include <string>
#include <vector>

#include "sdk/ai_types.h"

struct FT_FaceRec_;

// The fallback family, from Debian's fonts-ipafont-gothic.
constexpr const char* kFallbackFontFamily = "IPAGothic";

// One loaded face. Owned by the library; the address stays valid until ShutdownFontLibrary.
struct FontFace {
    std::string szRequestedFamily;  // the family and style asked for
    std::string szRequestedStyle;
    std::string szFamily;           // the family of the face actually used
    std::string szStyle;
    std::string szPostScriptName;
    std::string szFile;
    int iFaceIndex = 0;
    bool fFallback = false;         // the requested family was not found under its own name
    int iUnitsPerEm = 1000;
    double dAscender = 0;           // per unit of font size, above the baseline (positive)
    double dDescender = 0;          // per unit of font size, below the baseline (positive)
    FT_FaceRec_* pFace = nullptr;
};

// Finds (or returns from the cache) the face for a family and style. An empty style asks for
// the regular face. Returns kNoErr with *ppFace set, kBadParameterErr for a null family or
// output, or kSuiteUnavailableErr when not even the fallback face can be loaded.
ASErr FindFontFace(const char* szFamily, const char* szStyle, const FontFace** ppFace);

// The fallback face itself (IPAGothic), or null when it cannot be loaded.
const FontFace* FallbackFontFace();

// Releases every face and the FreeType library; later finds start afresh.
void ShutdownFontLibrary();

// How many "family not found" notes have been written since start (one per family).
int MissingFamilyNoteCount();

// Metrics of one character, per unit of font size.
struct CharMetrics {
    double dAdvance = 0;     // horizontal advance
    double dInkWidth = 0;    // width of the glyph's outline box
    double dInkHeight = 0;   // height of the glyph's outline box
    double dBodyHeight = 0;  // ascender plus descender of the face that draws the character
    bool fFound = false;     // the face (or the fallback) has a glyph for it
};

// Metrics of code point cp in face (or in the fallback when the face lacks it).
ASErr GetCharMetrics(const FontFace* face, char32_t cp, CharMetrics* pMetrics);

// The font suite's metrics call for the first character of a UTF-8 string:
//   mode 1: first = advance, second = ink height of the glyph;
//   mode 2: first = ink width of the glyph, second = body height (the height of a label
//           cell: ascender plus descender).
// Both answers are per unit of font size. An empty string answers 0, 0. Any other mode is
// kBadParameterErr.
ASErr GetFontMetrics(const FontFace* face, const char* szUtf8Char, int iMode, double* pFirst,
                     double* pSecond);

// One closed or open contour of cubic segments.
struct GlyphContour {
    std::vector<AIPathSegment> segments;
    bool fClosed = true;
};

// The outline of one glyph as a compound path.
struct GlyphOutline {
    char32_t cp = 0;
    std::vector<GlyphContour> contours;
};

// Outline of code point cp at a font size (points) with horizontal and vertical scale
// (1 is 100 %), mapped into artwork by placement (glyph origin at 0,0, v upward). Quadratic
// pieces become cubics. A character without ink (a space) gives no contours.
ASErr GetGlyphOutline(const FontFace* face, char32_t cp, double dFontSize, double dHScale,
                      double dVScale, const AIRealMatrix& placement, GlyphOutline* pOutline);

// Text decoding shared by the text engine. Malformed input becomes U+FFFD, one per bad unit.
std::u32string DecodeUtf8(const std::string& text);
std::u32string DecodeUtf16(const std::u16string& text);
std::string EncodeUtf8(const std::u32string& text);
std::u16string EncodeUtf16(const std::u32string& text);

// Point transform by a matrix: (h a + v c + tx, h b + v d + ty).
AIRealPoint TransformRealPoint(const AIRealMatrix& m, AIRealPoint p);
