// The host's in-memory drawing: layers, the art tree, symbols, and the SVG file it came from.
// Artwork coordinates are points with v growing upward from the bottom edge of the canvas.
// An AIArtHandle is an Art*, an AILayerHandle a Layer*; art and layers stay allocated until
// the document goes away, so a handle to disposed art is detectable (fDisposed) instead of
// dangling.
#pragma once

#include "sdk/ai_types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

namespace host {

struct Art;
struct Layer;
struct Symbol;
struct Document;

// The host's art type codes.
enum class ArtType : int16_t {
    Unknown = 0,
    Group = 1,
    Path = 2,
    CompoundPath = 3,
    Placed = 7,
    Raster = 9,
    PluginArt = 10,
    Mesh = 11,
    TextFrame = 12,
    SymbolInstance = 13,
    Foreign = 14,
};

// The host's placement codes, relative to a reference art or layer.
enum class Placement : int16_t {
    Above = 1,
    Below = 2,
    InsideOnTop = 3,
    InsideOnBottom = 4,
    AboveAll = 5,
    BelowAll = 6,
};

// Colour channels from 0 to 1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct PathStyle {
    bool fFillPaint = false;
    Color fillColor;
    bool fFillOverprint = false;
    bool fStrokePaint = false;
    Color strokeColor;
    double strokeWidth = 1.0;   // points
    bool fStrokeOverprint = false;
    std::vector<double> dashArray;  // points; empty is a solid stroke
    double dashOffset = 0;          // points
    int lineCap = 0;                // 0 butt, 1 round, 2 projecting
    int lineJoin = 0;               // 0 miter, 1 round, 2 bevel
    double miterLimit = 4;
    double opacity = 1.0;
    bool fEvenOdd = false;          // fill rule: even-odd, else non-zero
};

// The host's text frame kinds.
enum class TextKind : int16_t {
    PointText = 0,
    InPath = 1,
    OnPath = 2,
};

struct CharFeatures {
    std::string fontFamily = "sans-serif";
    std::string fontStyle = "Regular";
    double fontSize = 12;       // points
    bool fFillOn = true;
    Color fillColor;
    bool fStrokeOn = false;
    Color strokeColor;
    double strokeWidth = 1;
    double tracking = 0;        // thousandths of an em
    double horizontalScale = 1;
    double verticalScale = 1;
    double baselineShift = 0;
    std::vector<double> dashArray;  // points; empty is a solid stroke
};

struct ParaFeatures {
    int justification = 0;      // 0 left, 1 right, 2 centre
    double leading = 0;         // 0: automatic
    std::string kinsoku;        // name of the line-breaking set, empty for none
    std::string mojikumi;       // name of the character-spacing set, empty for none
};

// A stretch of text with one set of features. Paragraphs are separated by "\r" inside the
// text, as the host's text engine keeps them.
struct TextRun {
    std::string text;   // UTF-8
    CharFeatures chars;
    ParaFeatures paras;
};

// Where the drawing places one character of a point text: an absolute x or y, then a shift
// dx, dy; in the layout's space (points, v upward, relative to the anchor). The character is
// named by its UTF-16 index in the text, "\r" line breaks counted.
struct TextPosition {
    int32_t iUnit = 0;
    bool fHasX = false;
    bool fHasY = false;
    double x = 0;
    double y = 0;
    double dx = 0;
    double dy = 0;
};

struct TextFrame {
    TextKind kind = TextKind::PointText;
    int16_t orientation = 0;        // 0 horizontal, 1 vertical
    AIRealPoint anchor{0, 0};       // point text: start of the baseline, artwork points
    AIRealMatrix matrix{1, 0, 0, 1, 0, 0};  // text to artwork, without the anchor
    std::vector<TextRun> runs;
    Art* path = nullptr;            // in-path and on-path text: its path art (not in any tree)
    double startT = 0;              // on-path text: start and end positions along the path
    double endT = 0;
    std::vector<TextPosition> positions;  // ascending by iUnit; cleared when the text changes
};

struct Art {
    Document* doc = nullptr;
    ArtType type = ArtType::Unknown;
    Art* parent = nullptr;
    std::vector<Art*> children;     // stacking order: children[0] is the top (first child)
    Layer* layer = nullptr;         // null for symbol definitions and text paths

    // Path.
    std::vector<AIPathSegment> segments;
    bool fClosed = false;
    bool fGuide = false;
    PathStyle style;                // paths and compound paths

    bool fSelected = false;
    bool fHidden = false;
    bool fLocked = false;

    // Symbol instance: its symbol and the symbol-to-artwork matrix.
    Symbol* symbol = nullptr;
    AIRealMatrix matrix{1, 0, 0, 1, 0, 0};

    TextFrame text;                 // text frames
    Art* pluginResult = nullptr;    // plug-in art: its result art (not in any tree)

    std::string name;               // the SVG id when it came from a file
    std::string elementName;        // the SVG element it came from ("rect", "path", "image"...)

    // Where it came from in the file, and what the host changed since.
    pugi::xml_node_struct* node = nullptr;
    AIRealMatrix contentMatrix{1, 0, 0, 1, 0, 0};  // the SVG user space its element sits in, to artwork
    AIRealMatrix viewportMatrix{1, 0, 0, 1, 0, 0}; // a nested <svg>: its content's user space to its own
    bool fChanged = false;          // own geometry, style or text changed: rewrite the element
    bool fChildrenChanged = false;  // children added, removed or reordered
    bool fDisposed = false;
    mutable size_t indexHint = 0;   // where it stood in its parent's children last time
};

struct Layer {
    Document* doc = nullptr;
    std::string title;              // UTF-8
    bool fVisible = true;
    bool fEditable = true;          // unlocked
    bool fPreview = true;
    bool fPrinted = true;
    Art* group = nullptr;           // the layer's top group
    bool fRootContent = false;      // made up of SVG content outside any top-level group
    pugi::xml_node_struct* node = nullptr;
    bool fChanged = false;          // title or flags changed
    bool fDisposed = false;
};

struct Symbol {
    std::string name;               // the <symbol>'s id
    Art* definition = nullptr;      // a group in symbol coordinates (points, v upward)
    pugi::xml_node_struct* node = nullptr;
};

// The parsed file, kept so a save rewrites only what changed; held by a shared pointer so
// that the document model frees it without knowing the SVG library.
struct SvgSource;

struct Document {
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    std::string fileName;           // path of the SVG file
    std::vector<Layer*> layers;     // stacking order: layers[0] is the top layer
    std::vector<Symbol*> symbols;
    Layer* currentLayer = nullptr;
    double width = 612;             // canvas, points
    double height = 792;
    AIRealMatrix userToArtwork{1, 0, 0, -1, 0, 792};  // root SVG user units to artwork points
    bool fChanged = false;
    bool fLoadFailed = false;       // never save over the file then
    std::vector<std::string> loadWarnings;  // art of the file that could not be read, and why

    std::shared_ptr<SvgSource> svg;
    std::vector<std::unique_ptr<Art>> artPool;
    std::vector<std::unique_ptr<Layer>> layerPool;
    std::vector<std::unique_ptr<Symbol>> symbolPool;
};

// Handles.
inline AIArtHandle ToHandle(Art* art) { return reinterpret_cast<AIArtHandle>(art); }
inline Art* FromHandle(AIArtHandle art) { return reinterpret_cast<Art*>(art); }
inline AILayerHandle ToHandle(Layer* layer) { return reinterpret_cast<AILayerHandle>(layer); }
inline Layer* FromHandle(AILayerHandle layer) { return reinterpret_cast<Layer*>(layer); }

// Art. Every function returning ASErr answers kNoErr or kBadParameterErr.
// New art with no reference goes inside the current layer's group, on top.
ASErr NewArt(Document& doc, ArtType type, Placement placement, Art* reference, Art** out);
ASErr DisposeArt(Art* art);
ASErr DuplicateArt(Art* source, Placement placement, Art* reference, Art** out);
ASErr ReorderArt(Art* art, Placement placement, Art* reference);
// Art not in any tree (symbol definitions, text paths, plug-in results).
Art* NewDetachedArt(Document& doc, ArtType type);
Art* FirstChild(const Art* art);
Art* LastChild(const Art* art);
Art* NextSibling(const Art* art);
Art* PreviousSibling(const Art* art);
bool IsArtAlive(const Art* art);   // not null, not disposed, its document still holds it

// Changes that the next save writes back. Editing fields directly is fine when followed by
// MarkArtChanged.
void MarkArtChanged(Art* art);
void SetPathSegments(Art* art, const std::vector<AIPathSegment>& segments);
// Segments first..first+count replaced in place (the path grows when they run past its end).
void SetPathSegmentRange(Art* art, size_t first, const AIPathSegment* segments, size_t count);
void SetPathClosed(Art* art, bool closed);
void SetPathGuide(Art* art, bool guide);
void SetPathStyle(Art* art, const PathStyle& style);
void SetTextContent(Art* art, const std::string& utf8);  // one run with the first run's features
std::string TextContent(const Art* art);                 // all runs, UTF-8
void TransformArt(Art* art, const AIRealMatrix& matrix, bool scaleStrokes);

// Selection.
void SetArtSelected(Art* art, bool selected);
std::vector<Art*> SelectedArt(const Document& doc);  // topmost first, paths and groups alike
void DeselectAll(Document& doc);

// Layers. A null reference with AboveAll/BelowAll (or any code) places at the top or bottom.
ASErr InsertLayer(Document& doc, Layer* reference, Placement placement, Layer** out);
ASErr DisposeLayer(Layer* layer);
Layer* FindLayerByTitle(const Document& doc, const std::string& title);
int CountLayers(const Document& doc);
Layer* NthLayer(const Document& doc, int index);   // 0 is the top layer; null outside
void SetLayerTitle(Layer* layer, const std::string& title);
void SetLayerVisible(Layer* layer, bool visible);
void SetLayerEditable(Layer* layer, bool editable);
void SetLayerPreview(Layer* layer, bool preview);
void SetLayerPrinted(Layer* layer, bool printed);

// Symbols.
Symbol* FindSymbol(const Document& doc, const std::string& name);

// Geometry (art_bounds.cpp): exact bounds of the drawn curves; false when there is nothing.
bool CubicBounds(const AIRealPoint& p0, const AIRealPoint& p1, const AIRealPoint& p2,
                 const AIRealPoint& p3, AIRealRect& bounds);
bool SegmentsBounds(const std::vector<AIPathSegment>& segments, bool closed, AIRealRect& bounds);
bool ArtBounds(const Art* art, AIRealRect& bounds);
// Text frames have no outline here until the text engine lays them out; it can answer.
using TextBoundsFunction = bool (*)(const Art* art, AIRealRect& bounds);
void SetTextBoundsFunction(TextBoundsFunction function);

// Matrices: h' = a h + c v + tx, v' = b h + d v + ty.
AIRealPoint TransformPoint(const AIRealMatrix& m, const AIRealPoint& p);
AIRealMatrix ConcatMatrix(const AIRealMatrix& first, const AIRealMatrix& then);
bool InvertMatrix(const AIRealMatrix& m, AIRealMatrix& inverse);
AIRealMatrix IdentityMatrix();

// A text listing of layers and art with coordinates in points, for inspection and tests.
std::string DocumentListing(const Document& doc);

}  // namespace host
