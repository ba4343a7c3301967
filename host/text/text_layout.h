// The host's text layout: point text into lines and glyph runs, text along a path, and the
// outlines of laid-out text. Plain records in, plain records out.
//
// Coordinates are artwork points with v growing upward. A point text is laid out relative
// to its anchor: the first character of the first line stands at (0, 0) on the baseline;
// the caller maps the result into the document through the frame's matrix. A text on a path
// is laid out in the path's own coordinates.
//
// Characters advance by the font's advance times the font size and the horizontal scale
// (plus tracking); kerning is not applied, so a run can be re-walked from its first origin
// with the font metrics alone. Right-to-left characters (Hebrew, Arabic) stand in their
// visual order inside each chunk of a line and along a path, Arabic in its joining forms
// (text_bidi.h); runs keep the characters in stored order, each with its own origin.
#pragma once

#include <string>
#include <vector>

#include "sdk/ai_types.h"
#include "host/text/font_library.h"

// The character features that shape the layout.
struct TextStyle {
    std::string szFamily = "DejaVu Sans";
    std::string szStyle;              // empty: the regular face
    double dFontSize = 12;            // points
    double dHorizontalScale = 1;      // 1 is 100 %
    double dVerticalScale = 1;
    double dLeading = 0;              // points between baselines; 0 is auto, 1.2 x font size
    double dTracking = 0;             // thousandths of an em added after every character
    int iAlign = -1;                  // TextAlign of the chunks this style opens; -1: the options'
    bool operator==(const TextStyle&) const = default;
};

// A stretch of text in one style. fStartsLine begins a new line before it (an SVG tspan
// placed on a line of its own) unless the current line is still empty.
struct TextSpan {
    std::string szText;               // UTF-8
    TextStyle style;
    bool fStartsLine = false;
};

// UTF-16 text (as the text engine inserts it) as a span.
TextSpan MakeTextSpanUtf16(const std::u16string& text, const TextStyle& style,
                           bool fStartsLine = false);

enum TextAlign { kTextAlignLeft = 0, kTextAlignCenter = 1, kTextAlignRight = 2 };

// Where the drawing places one character of point text (by its UTF-16 index in the whole
// text, line breaks counted): an absolute h or v, then a shift, in points relative to the
// anchor, v upward. A character given h or v starts a new chunk, which is aligned by itself.
struct TextCharPosition {
    int iUnit16 = 0;
    bool fHasX = false;
    bool fHasY = false;
    double dX = 0;
    double dY = 0;
    double dDx = 0;
    double dDy = 0;
};

struct TextLayoutOptions {
    int iAlign = kTextAlignLeft;      // point text: each chunk against its start
    double dPathStart = 0;            // text on a path: arc length (points) of the first character
    std::vector<TextCharPosition> positions;  // point text, ascending by iUnit16
};

// Consecutive characters of one style on one line. Line breaks are not part of any run.
struct GlyphRun {
    TextStyle style;
    const FontFace* pFace = nullptr;  // the style's face (characters it lacks come from the fallback)
    std::u32string text;
    std::u32string glyphs;            // per character, the form drawn (Arabic joining); as text else
    int iFirstChar = 0;               // index of text[0] in the whole text, in code points
    int iFirstUnit16 = 0;             // the same in UTF-16 units
    std::vector<AIRealPoint> origins; // per character, on the baseline
    std::vector<double> advances;     // per character, points
    std::vector<double> angles;       // per character, radians counter-clockwise (0 for point text)
};

struct TextLine {
    std::vector<GlyphRun> runs;
    double dBaseline = 0;             // v of the baseline (point text)
    double dLeading = 0;              // the distance from the previous baseline
    double dWidth = 0;                // sum of the advances
};

struct TextLayout {
    std::vector<TextLine> lines;
    AIRealRect rBounds{0, 0, 0, 0};   // body boxes (advance by ascender and descender) of all characters
    int iOversetChars = 0;            // text on a path: characters beyond the path's end, not placed
};

// Lays out point text. A line break is LF, CR, CR LF, U+2028, U+2029 or U+0003; a break at
// the very end closes the last line without opening an empty one. Empty text gives no lines.
// A line starts at h 0 one leading below the one before, unless its characters are placed
// (options.positions): the text position moves to a given h or v, then by the shift, and
// runs on from there; a line break keeps the h and v of the text position only where given.
// kBadParameterErr for a null output, a font size that is not finite and positive, or a
// scale that is not finite and positive; a font that cannot be found at all is
// kSuiteUnavailableErr.
ASErr LayoutPointText(const std::vector<TextSpan>& spans, const TextLayoutOptions& options,
                      TextLayout* pLayout);

// Lays out text along a path (segments as in a path art; fClosed adds the closing piece).
// All characters form one line; line breaks are skipped. Each character's midpoint sits on
// the path at its arc length and the character is turned to the path's direction there; its
// origin is half an advance back along that direction. Characters whose midpoint falls
// beyond the path's end are not placed and are counted in iOversetChars.
ASErr LayoutPathText(const std::vector<TextSpan>& spans, const std::vector<AIPathSegment>& path,
                     bool fClosed, const TextLayoutOptions& options, TextLayout* pLayout);

// The outlines of every inked character of a layout, mapped by matrix (the frame's matrix for
// point text, the identity for text on a path), in reading order. Spaces give nothing.
ASErr OutlineTextLayout(const TextLayout& layout, const AIRealMatrix& matrix,
                        std::vector<GlyphOutline>* pGlyphs);

// A point on a path by arc length, with the direction there (radians). Lengths beyond the
// ends are clamped. Returns false for a path of no length.
bool PointAtArcLength(const std::vector<AIPathSegment>& path, bool fClosed, double dLength,
                      AIRealPoint* pPoint, double* pAngle);

// The length of a path along its curves.
double PathArcLength(const std::vector<AIPathSegment>& path, bool fClosed);
