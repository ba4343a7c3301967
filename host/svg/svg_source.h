// The parsed SVG file a document came from, shared by the reader and the writer.
#pragma once

#include "host/document/document.h"
#include "host/svg/svg_file.h"

#include <pugixml.hpp>

#include <unordered_map>

namespace host {

// Where a node stood in the file and what it was, so a save copies untouched nodes verbatim.
struct SvgNodeRecord {
    size_t begin = 0;
    size_t end = 0;
    size_t startTagEnd = 0;          // elements: just after the start tag's '>'
    bool fSelfClosing = false;
    std::string signature;           // name, attributes or value as read
    std::vector<pugi::xml_node_struct*> children;
};

struct SvgSource {
    pugi::xml_document xml;
    std::string originalBytes;  // the file as read
    std::unordered_map<pugi::xml_node_struct*, SvgNodeRecord> records;
    pugi::xml_node removed;     // removed nodes are parked here, never freed, never written
};

// Records the file position of every parsed node (svg_writer.cpp).
void IndexSvgSource(SvgSource& svg);

// Path data to cubic segments in SVG user units (svg_path_data.cpp). Each subpath becomes
// one list; fClosed tells whether it ended with Z.
struct SvgSubpath {
    std::vector<AIPathSegment> segments;
    bool fClosed = false;
};
bool ParseSvgPathData(const char* data, std::vector<SvgSubpath>& subpaths, std::string& error);
// The most segments one path holds (the path suite counts them in 16 bits).
constexpr size_t kMaxPathSegments = 32767;
// Subpaths longer than that as consecutive open pieces, each starting where the one before
// ended; a closed one gets its closing segment written out in its last piece.
void SplitLongSubpaths(std::vector<SvgSubpath>& subpaths, size_t maxSegments = kMaxPathSegments);
// Smooth where both handles lie on one line through the anchor, on opposite sides.
void DeriveCornerFlags(std::vector<AIPathSegment>& segments);

// The transform attribute as a matrix (svg_transform.cpp); false on a syntax error.
bool ParseSvgTransform(const char* text, AIRealMatrix& matrix);
// An element's own transform, the identity when it has none or a broken one.
AIRealMatrix ElementTransform(const pugi::xml_node& node);
// The factor a matrix scales areas by, as a length: what stroke widths and font sizes take.
double MatrixScale(const AIRealMatrix& m);

// A length with its unit in points; percentages against `reference` points, em and ex against
// `fontSize` points (12, the 16-pixel default, when not given).
bool ParseSvgLength(const char* text, double reference, double& points);
bool ParseSvgLength(const char* text, double reference, double fontSize, double& points);

// Writing path data back from artwork segments through an inverse matrix.
std::string FormatSvgPathData(const std::vector<AIPathSegment>& segments, bool closed,
                              const AIRealMatrix& artworkToUser);
std::string FormatSvgNumber(double value);

// CSS declarations (svg_css.cpp): "key: value" pairs between ';' of a style attribute or a
// rule's body, in their order, key and value without surrounding white space.
using CssDeclarations = std::vector<std::pair<std::string, std::string>>;
CssDeclarations ReadCssDeclarations(const char* text);
// The text without white space at either end.
std::string TrimCssSpace(const std::string& text);

// The namespace the host keeps its own attributes in.
constexpr const char* kHostNamespaceUri = "urn:travex:host";
constexpr const char* kHostPrefix = "travex";

}  // namespace host

namespace host {

bool ParseSvgPaint(const std::string& value, bool& on, Color& color);

// Exact text kept in an attribute of our own: control characters and '%' as %XX, so that
// CR, LF and the like come back byte for byte whatever the XML layer does to them.
std::string EncodeHostText(const std::string& text);
std::string DecodeHostText(const std::string& text);

}  // namespace host
