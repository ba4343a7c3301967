// A text listing of the document's layers and art, coordinates in artwork points.
#include "host/document/document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace host {

namespace {

std::string Number(double value)
{
    if (std::fabs(value) < 0.0005) value = 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string Point(const AIRealPoint& p)
{
    return Number(p.h) + "," + Number(p.v);
}

bool Same(const AIRealPoint& a, const AIRealPoint& b)
{
    return std::fabs(a.h - b.h) < 0.0005 && std::fabs(a.v - b.v) < 0.0005;
}

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char ch : text) {
        if (ch == '"' || ch == '\\') out += '\\', out += static_cast<char>(ch);
        else if (ch == '\r') out += "\\r";
        else if (ch == '\n') out += "\\n";
        else if (ch == '\t') out += "\\t";
        else if (ch < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02x", ch);
            out += buffer;
        } else out += static_cast<char>(ch);
    }
    return out + "\"";
}

std::string Hex(const Color& c)
{
    auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", channel(c.red), channel(c.green), channel(c.blue));
    return buffer;
}

std::string StyleText(const PathStyle& s)
{
    std::string out = " fill " + (s.fFillPaint ? Hex(s.fillColor) : std::string("none"));
    out += " stroke " + (s.fStrokePaint ? Hex(s.strokeColor) + " " + Number(s.strokeWidth) + "pt" : std::string("none"));
    if (!s.dashArray.empty()) {
        out += " dash";
        for (double d : s.dashArray) out += " " + Number(d);
    }
    if (s.opacity != 1) out += " opacity " + Number(s.opacity);
    return out;
}

std::string BoundsText(const Art* art)
{
    AIRealRect r;
    if (!ArtBounds(art, r)) return "";
    return " bounds " + Number(r.left) + "," + Number(r.bottom) + " " + Number(r.right) + "," + Number(r.top);
}

std::string NameText(const Art* art)
{
    return art->name.empty() ? "" : " " + Quoted(art->name);
}

void ListArt(const Art* art, int depth, std::string& out)
{
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    std::string flags = std::string(art->fHidden ? " hidden" : "") + (art->fSelected ? " selected" : "");
    switch (art->type) {
    case ArtType::Group:
        out += indent + "group" + NameText(art) + flags + BoundsText(art) + "\n";
        for (const Art* child : art->children) ListArt(child, depth + 1, out);
        break;
    case ArtType::CompoundPath:
        out += indent + "compound" + NameText(art) + flags + StyleText(art->style) + BoundsText(art) + "\n";
        for (const Art* child : art->children) ListArt(child, depth + 1, out);
        break;
    case ArtType::Path:
        out += indent + "path" + NameText(art) + (art->fClosed ? " closed" : " open") + (art->fGuide ? " guide" : "") +
               flags + " " + std::to_string(art->segments.size()) + " segments" + StyleText(art->style) +
               BoundsText(art) + "\n";
        for (const AIPathSegment& s : art->segments) {
            out += indent + "  " + Point(s.ptAnchor);
            if (!Same(s.ptIn, s.ptAnchor) || !Same(s.ptOut, s.ptAnchor))
                out += " in " + Point(s.ptIn) + " out " + Point(s.ptOut);
            out += s.fCorner ? " corner\n" : " smooth\n";
        }
        break;
    case ArtType::SymbolInstance: {
        const AIRealMatrix& m = art->matrix;
        out += indent + "symbol instance" + NameText(art) + " of " +
               Quoted(art->symbol ? art->symbol->name : std::string()) + flags + " matrix " + Number(m.a) + " " +
               Number(m.b) + " " + Number(m.c) + " " + Number(m.d) + " " + Number(m.tx) + " " + Number(m.ty) +
               BoundsText(art) + "\n";
        break;
    }
    case ArtType::TextFrame: {
        const TextFrame& t = art->text;
        const char* kind = t.kind == TextKind::PointText ? "point" : t.kind == TextKind::InPath ? "in path" : "on path";
        const CharFeatures& c = t.runs.empty() ? CharFeatures{} : t.runs.front().chars;
        out += indent + "text" + NameText(art) + " " + kind + flags + " at " + Point(t.anchor) + " font " +
               Quoted(c.fontFamily) + " " + Number(c.fontSize) + "pt " + std::to_string(t.runs.size()) + " runs " +
               Quoted(TextContent(art)) + "\n";
        break;
    }
    case ArtType::PluginArt:
        out += indent + "plug-in art" + NameText(art) + flags + BoundsText(art) + "\n";
        break;
    default:
        break;  // images, foreign objects and the like are kept in the file but not listed
    }
}

}  // namespace

std::string DocumentListing(const Document& doc)
{
    std::string out = "document " + Quoted(doc.fileName) + " canvas " + Number(doc.width) + " x " +
                      Number(doc.height) + " pt, " + std::to_string(doc.layers.size()) + " layers\n";
    int index = 0;
    for (const Layer* layer : doc.layers) {
        out += "layer " + std::to_string(index++) + " " + Quoted(layer->title);
        out += layer->fVisible ? " visible" : " hidden";
        out += layer->fEditable ? " editable" : " locked";
        out += layer->fPreview ? " preview" : " outline";
        out += layer->fPrinted ? " printed" : " not-printed";
        if (layer->fRootContent) out += " (content outside any layer group)";
        out += "\n";
        for (const Art* art : layer->group->children) ListArt(art, 1, out);
    }
    for (const Symbol* symbol : doc.symbols) {
        out += "symbol " + Quoted(symbol->name) + "\n";
        if (symbol->definition)
            for (const Art* art : symbol->definition->children) ListArt(art, 1, out);
    }
    return out;
}

}  // namespace host
