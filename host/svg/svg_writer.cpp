// The document back into its SVG file: elements the host did not change stay as they were,
// changed and new art is written into the parsed file, and the file is replaced atomically.
#include "host/svg/svg_source.h"
#include "platform/whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unordered_map>
#include <sstream>

namespace host {

namespace {

// Length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
size_t Utf8Length(const std::string& s, size_t at)
{
    unsigned char c = static_cast<unsigned char>(s[at]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || at + n > s.size()) return 0;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80) return 0;
    if (n == 2 && c < 0xC2) return 0;  // overlong
    return n;
}

bool IsUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        size_t n = Utf8Length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace

std::string EncodeHostText(const std::string& text)
{
    std::string out;
    bool utf8 = IsUtf8(text);
    for (unsigned char ch : text) {
        if (ch < 0x20 || ch == '%' || ch == 0x7f || (ch >= 0x80 && !utf8)) {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", ch);
            out += buffer;
        } else {
            out += static_cast<char>(ch);
        }
    }
    return out;
}

std::string DecodeHostText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() + 0 && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

const char* kInkscapeUri = "http://www.inkscape.org/namespaces/inkscape";
const char* kSodipodiUri = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
const char* kXlinkUri = "http://www.w3.org/1999/xlink";

// Sets (or with an empty value removes) one style property, keeping the others in order;
// a presentation attribute of the same name goes, so the style attribute is the one truth.
void SetStyleProperty(pugi::xml_node node, const std::string& key, const std::string& value)
{
    CssDeclarations decls = ReadCssDeclarations(node.attribute("style").value());
    bool found = false;
    for (auto it = decls.begin(); it != decls.end();) {
        if (it->first == key) {
            if (value.empty() || found) {
                it = decls.erase(it);
                continue;
            }
            it->second = value;
            found = true;
        }
        ++it;
    }
    if (!found && !value.empty()) decls.emplace_back(key, value);
    node.remove_attribute(key.c_str());
    std::string style;
    for (auto& [k, v] : decls) style += (style.empty() ? "" : ";") + k + ":" + v;
    if (style.empty()) node.remove_attribute("style");
    else if (node.attribute("style")) node.attribute("style").set_value(style.c_str());
    else node.append_attribute("style").set_value(style.c_str());
}

std::string CurrentStyleValue(pugi::xml_node node, const std::string& key)
{
    std::string value = node.attribute(key.c_str()).value();
    for (auto& [k, v] : ReadCssDeclarations(node.attribute("style").value()))
        if (k == key) value = v;
    return value;
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value)
{
    pugi::xml_attribute a = node.attribute(name);
    if (!a) a = node.append_attribute(name);
    a.set_value(value.c_str());
}

std::string MatrixText(const AIRealMatrix& m)
{
    return "matrix(" + FormatSvgNumber(m.a) + "," + FormatSvgNumber(m.b) + "," + FormatSvgNumber(m.c) + "," +
           FormatSvgNumber(m.d) + "," + FormatSvgNumber(m.tx) + "," + FormatSvgNumber(m.ty) + ")";
}

bool IsIdentity(const AIRealMatrix& m)
{
    return std::fabs(m.a - 1) < 1e-12 && std::fabs(m.b) < 1e-12 && std::fabs(m.c) < 1e-12 &&
           std::fabs(m.d - 1) < 1e-12 && std::fabs(m.tx) < 1e-9 && std::fabs(m.ty) < 1e-9;
}

void SetTransform(pugi::xml_node node, const AIRealMatrix& m)
{
    if (IsIdentity(m)) node.remove_attribute("transform");
    else SetAttribute(node, "transform", MatrixText(m));
}

AIRealMatrix Inverse(const AIRealMatrix& m)
{
    AIRealMatrix inverse;
    if (!InvertMatrix(m, inverse)) inverse = IdentityMatrix();
    return inverse;
}

std::string Hex(const Color& c)
{
    auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", channel(c.red), channel(c.green), channel(c.blue));
    return buffer;
}

bool SameColor(const Color& a, const Color& b)
{
    return std::fabs(a.red - b.red) < 0.002 && std::fabs(a.green - b.green) < 0.002 && std::fabs(a.blue - b.blue) < 0.002;
}

std::string ElementName(pugi::xml_node node, const char* local)
{
    std::string name = node.name();
    return name.rfind("svg:", 0) == 0 ? std::string("svg:") + local : std::string(local);
}

struct Writer {
    Document& doc;
    pugi::xml_node root;
    std::set<std::string> ids;
    int nextId = 1;
    pugi::xml_node& removed;

    void CollectIds(pugi::xml_node n)
    {
        for (pugi::xml_node child : n.children()) {
            if (child.type() != pugi::node_element) continue;
            if (child.attribute("id")) ids.insert(child.attribute("id").value());
            CollectIds(child);
        }
    }

    std::string NewId(const char* stem)
    {
        for (;;) {
            std::string id = std::string(stem) + std::to_string(nextId++);
            if (ids.insert(id).second) return id;
        }
    }

    void Declare(const char* prefix, const char* uri)
    {
        std::string attribute = std::string("xmlns:") + prefix;
        if (!root.attribute(attribute.c_str())) root.append_attribute(attribute.c_str()).set_value(uri);
    }

    pugi::xml_node NewElement(pugi::xml_node parent, const char* local, const char* stem)
    {
        pugi::xml_node n = parent.append_child(ElementName(parent, local).c_str());
        n.append_attribute("id").set_value(NewId(stem).c_str());
        return n;
    }

    // New art gets an element with its name as id when that is free, else a fresh id.
    pugi::xml_node NewArtElement(Art* art, pugi::xml_node parent, const char* local, const char* stem)
    {
        pugi::xml_node n = parent.append_child(ElementName(parent, local).c_str());
        if (art->name.empty() || !ids.insert(art->name).second) art->name = NewId(stem);
        n.append_attribute("id").set_value(art->name.c_str());
        art->node = n.internal_object();
        art->elementName = local;
        return n;
    }

    // An unchanged element that moved to another container keeps its place on the page.
    // What it inherited from its old ancestors is written onto it.
    void Rehome(Art* art, pugi::xml_node node, pugi::xml_node container, const AIRealMatrix& ctm)
    {
        if (node.parent() == container) return;
        AIRealMatrix placed = ConcatMatrix(ElementTransform(node), art->contentMatrix);
        SetTransform(node, ConcatMatrix(placed, Inverse(ctm)));
        art->contentMatrix = ctm;
        WriteEffectiveStyle(art, node, placed);
    }

    void WriteEffectiveStyle(Art* art, pugi::xml_node node, const AIRealMatrix& elementCtm)
    {
        switch (art->type) {
        case ArtType::Path:
        case ArtType::CompoundPath:
            WriteStyle(node, art->style, art->fHidden, elementCtm);
            break;
        case ArtType::TextFrame:
            if (!art->text.runs.empty()) WriteCharStyle(node, art->text.runs.front().chars, MatrixScale(elementCtm));
            break;
        case ArtType::Group:
            for (Art* child : art->children) {
                pugi::xml_node childNode(child->node);
                if (childNode && childNode.parent() == node)
                    WriteEffectiveStyle(child, childNode,
                                        ConcatMatrix(ElementTransform(childNode), ViewportSpace(art, node, elementCtm)));
            }
            break;
        default:
            break;
        }
    }

    // The user space inside a group's element: a nested <svg> keeps the viewport it was read
    // with, so content written back into it lands where it was drawn.
    static AIRealMatrix ViewportSpace(const Art* art, pugi::xml_node node, const AIRealMatrix& elementCtm)
    {
        std::string name = node.name();
        if (name != "svg" && name != "svg:svg") return elementCtm;
        return ConcatMatrix(art->viewportMatrix, elementCtm);
    }
    static AIRealMatrix ContentSpace(const Art* art, pugi::xml_node node, const AIRealMatrix& ctm)
    {
        return ViewportSpace(art, node, ConcatMatrix(ElementTransform(node), ctm));
    }

    static bool SubtreeChanged(const Art* art)
    {
        if (art->fChanged || art->fChildrenChanged) return true;
        for (const Art* child : art->children)
            if (SubtreeChanged(child)) return true;
        return false;
    }

    static bool IsBlank(pugi::xml_node node)
    {
        if (node.type() != pugi::node_pcdata) return false;
        for (const char* p = node.value(); *p; ++p)
            if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') return false;
        return true;
    }

    // Moves a node with its indentation: the blank text before it goes, and the neighbour's
    // indentation is copied in front of it.
    void MoveNode(pugi::xml_node parent, pugi::xml_node n, pugi::xml_node after, pugi::xml_node before)
    {
        pugi::xml_node blank = n.previous_sibling();
        if (blank && IsBlank(blank) && blank != after) Park(blank);
        std::string indent;
        if (after) {
            pugi::xml_node w = after.previous_sibling();
            if (w && IsBlank(w)) indent = w.value();
            parent.insert_move_after(n, after);
            if (!indent.empty()) parent.insert_child_before(pugi::node_pcdata, n).set_value(indent.c_str());
        } else if (before) {
            pugi::xml_node w = before.previous_sibling();
            if (w && IsBlank(w)) indent = w.value();
            parent.insert_move_before(n, before);
            if (!indent.empty()) parent.insert_child_before(pugi::node_pcdata, before).set_value(indent.c_str());
        } else {
            parent.append_move(n);
        }
    }

    // Puts `nodes` (document order, bottom first) into `parent` in that order, moving as few as
    // it can: the longest run already in order stays, other children of the parent stay put.
    void OrderNodes(pugi::xml_node parent, const std::vector<pugi::xml_node>& nodes)
    {
        if (nodes.empty()) return;
        std::unordered_map<pugi::xml_node_struct*, int> position;
        int index = 0;
        for (pugi::xml_node child : parent.children()) position[child.internal_object()] = index++;
        std::vector<int> pos;
        for (const pugi::xml_node& n : nodes) {
            auto it = n.parent() == parent ? position.find(n.internal_object()) : position.end();
            pos.push_back(it == position.end() ? -1 : it->second);
        }
        // Longest increasing run of present positions (patience sorting with back links).
        std::vector<int> tails, link(nodes.size(), -1);
        for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
            if (pos[i] < 0) continue;
            auto at = std::lower_bound(tails.begin(), tails.end(), pos[i], [&](int t, int p) { return pos[t] < p; });
            if (at != tails.begin()) link[i] = *(at - 1);
            if (at == tails.end()) tails.push_back(i);
            else *at = i;
        }
        std::vector<bool> keep(nodes.size(), false);
        for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = link[i]) keep[i] = true;
        pugi::xml_node previous;
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (!keep[i]) {
                pugi::xml_node next;
                for (size_t j = i + 1; j < nodes.size() && !previous; ++j)
                    if (keep[j]) {
                        next = nodes[j];
                        break;
                    }
                MoveNode(parent, nodes[i], previous, next);
            }
            previous = nodes[i];
        }
    }

    void SyncChildren(Art* container, pugi::xml_node node, const AIRealMatrix& ctm)
    {
        bool reorder = container->fChildrenChanged;
        // Bottom first, so new elements are appended in the file's order.
        for (auto it = container->children.rbegin(); it != container->children.rend(); ++it) {
            Art* child = *it;
            pugi::xml_node before(child->node);
            if (!before || before.parent() != node) reorder = true;
            WriteArt(child, node, ctm);
        }
        if (!reorder) return;
        std::vector<pugi::xml_node> order;
        for (auto it = container->children.rbegin(); it != container->children.rend(); ++it)
            if ((*it)->node) order.push_back(pugi::xml_node((*it)->node));
        OrderNodes(node, order);
    }

    void WriteArt(Art* art, pugi::xml_node container, const AIRealMatrix& ctm)
    {
        pugi::xml_node node(art->node);
        switch (art->type) {
        case ArtType::Group: {
            if (node && art->elementName == "use") {
                if (!SubtreeChanged(art)) {
                    Rehome(art, node, container, ctm);
                    return;
                }
                // A changed copy of used content becomes a group of its own.
                pugi::xml_node group = container.insert_child_before(ElementName(container, "g").c_str(), node);
                group.append_attribute("id").set_value(NewId("group").c_str());
                Park(node);
                art->node = group.internal_object();
                art->elementName = "g";
                art->contentMatrix = ctm;
                node = group;
            } else if (!node) {
                node = NewArtElement(art, container, "g", "group");
                art->contentMatrix = ctm;
                art->viewportMatrix = IdentityMatrix();
            } else {
                Rehome(art, node, container, ctm);
            }
            if (art->fChanged) SetStyleProperty(node, "display", art->fHidden ? "none" : "");
            SyncChildren(art, node, ContentSpace(art, node, ctm));
            return;
        }
        case ArtType::Path:
        case ArtType::CompoundPath: {
            bool rewrite = art->fChanged || art->fChildrenChanged;
            for (const Art* member : art->children) rewrite = rewrite || member->fChanged;
            if (!node) {
                node = NewArtElement(art, container, "path", "path");
                rewrite = true;
            } else if (!rewrite) {
                Rehome(art, node, container, ctm);
                return;
            }
            RewritePath(art, node, ctm);
            return;
        }
        case ArtType::TextFrame:
            if (!node) {
                node = NewArtElement(art, container, "text", "text");
            } else if (!art->fChanged) {
                Rehome(art, node, container, ctm);
                return;
            }
            RewriteText(art, node, ctm);
            return;
        case ArtType::SymbolInstance:
            if (!art->symbol) return;
            if (!node) {
                node = NewArtElement(art, container, "use", "use");
            } else if (!art->fChanged) {
                Rehome(art, node, container, ctm);
                return;
            }
            RewriteUse(art, node, ctm);
            return;
        default:
            if (node) Rehome(art, node, container, ctm);  // kept as it is; new art of these kinds has no form here
            return;
        }
    }

    void WritePaint(pugi::xml_node node, const char* key, bool on, const Color& color)
    {
        bool oldOn = false;
        Color oldColor;
        // A paint that still reads as the same (a gradient, a named colour) is left as written.
        if (ParseSvgPaint(CurrentStyleValue(node, key), oldOn, oldColor) && oldOn == on &&
            (!on || SameColor(oldColor, color)))
            return;
        SetStyleProperty(node, key, on ? Hex(color) : "none");
    }

    void WriteStyle(pugi::xml_node node, const PathStyle& s, bool hidden, const AIRealMatrix& ctm)
    {
        double scale = MatrixScale(ctm);
        if (scale == 0) scale = 1;
        WritePaint(node, "fill", s.fFillPaint, s.fillColor);
        WritePaint(node, "stroke", s.fStrokePaint, s.strokeColor);
        SetStyleProperty(node, "stroke-width", FormatSvgNumber(s.strokeWidth / scale));
        std::string dashes;
        for (double d : s.dashArray) dashes += (dashes.empty() ? "" : ",") + FormatSvgNumber(d / scale);
        SetStyleProperty(node, "stroke-dasharray", dashes.empty() ? "none" : dashes);
        SetStyleProperty(node, "stroke-dashoffset", s.dashOffset != 0 ? FormatSvgNumber(s.dashOffset / scale) : "");
        static const char* caps[] = {"butt", "round", "square"};
        static const char* joins[] = {"miter", "round", "bevel"};
        SetStyleProperty(node, "stroke-linecap", caps[std::clamp(s.lineCap, 0, 2)]);
        SetStyleProperty(node, "stroke-linejoin", joins[std::clamp(s.lineJoin, 0, 2)]);
        SetStyleProperty(node, "stroke-miterlimit", FormatSvgNumber(s.miterLimit));
        SetStyleProperty(node, "opacity", s.opacity != 1 ? FormatSvgNumber(s.opacity) : "");
        SetStyleProperty(node, "fill-rule", s.fEvenOdd ? "evenodd" : "");
        SetStyleProperty(node, "display", hidden ? "none" : "");
    }

    void RewritePath(Art* art, pugi::xml_node node, const AIRealMatrix& ctm)
    {
        node.set_name(ElementName(node, "path").c_str());
        for (const char* a : {"x", "y", "width", "height", "rx", "ry", "cx", "cy", "r", "x1", "y1", "x2", "y2",
                              "points", "transform", "pathLength"})
            node.remove_attribute(a);
        art->contentMatrix = ctm;
        AIRealMatrix toUser = Inverse(ctm);
        std::string d;
        const PathStyle* style = &art->style;
        if (art->type == ArtType::Path) {
            d = FormatSvgPathData(art->segments, art->fClosed, toUser);
        } else {
            for (const Art* member : art->children) {
                if (member->type != ArtType::Path || member->segments.empty()) continue;
                d += (d.empty() ? "" : " ") + FormatSvgPathData(member->segments, member->fClosed, toUser);
                if (member->fChanged && style == &art->style) style = &member->style;
            }
        }
        SetAttribute(node, "d", d);
        WriteStyle(node, *style, art->fHidden, ctm);
        // Flags SVG has no word for go into attributes of our own.
        for (auto [name, on] : {std::pair<const char*, bool>{"travex:guide", art->fGuide},
                                {"travex:fill-overprint", style->fFillOverprint},
                                {"travex:stroke-overprint", style->fStrokeOverprint}}) {
            if (on) {
                Declare(kHostPrefix, kHostNamespaceUri);
                SetAttribute(node, name, "true");
            } else {
                node.remove_attribute(name);
            }
        }
    }

    void RewriteText(Art* art, pugi::xml_node node, const AIRealMatrix& ctm)
    {
        node.set_name(ElementName(node, "text").c_str());
        RemoveOwnTextPath(node);
        while (node.first_child()) Park(node.first_child());
        for (const char* a : {"x", "y", "dx", "dy", "rotate", "transform", "textLength", "lengthAdjust", "travex:content"})
            node.remove_attribute(a);
        art->contentMatrix = ctm;
        const TextFrame& t = art->text;
        // Text space is points with y down, placed at the anchor by the frame's matrix.
        AIRealMatrix flip{1, 0, 0, -1, 0, 0};
        AIRealMatrix place = ConcatMatrix(ConcatMatrix(flip, t.matrix), AIRealMatrix{1, 0, 0, 1, t.anchor.h, t.anchor.v});
        SetTransform(node, ConcatMatrix(place, Inverse(ctm)));
        SetAttribute(node, "x", "0");
        SetAttribute(node, "y", "0");
        SetAttribute(node, "xml:space", "preserve");
        CharFeatures first = t.runs.empty() ? CharFeatures{} : t.runs.front().chars;
        WriteCharStyle(node, first);
        static const char* anchors[] = {"start", "end", "middle"};
        int justification = t.runs.empty() ? 0 : t.runs.front().paras.justification;
        SetStyleProperty(node, "text-anchor", justification > 0 && justification < 3 ? anchors[justification] : "");
        SetStyleProperty(node, "display", art->fHidden ? "none" : "");
        SetStyleProperty(node, "shape-inside", "");

        // Text in or on a path: the path goes into the definitions, in the text's own space.
        pugi::xml_node container = node;
        bool onPath = false;
        // kept on its path even when the path has no segments, so a save reads back the same
        if (t.kind != TextKind::PointText && t.path) {
            std::string id = WriteTextPath(t.path, place);
            if (t.kind == TextKind::OnPath) {
                container = node.append_child(ElementName(node, "textPath").c_str());
                Declare("xlink", kXlinkUri);
                SetAttribute(container, "xlink:href", "#" + id);
                Declare(kHostPrefix, kHostNamespaceUri);
                SetAttribute(container, "travex:start", FormatSvgNumber(t.startT));
                SetAttribute(container, "travex:end", FormatSvgNumber(t.endT));
                onPath = true;
            } else {
                SetStyleProperty(node, "shape-inside", "url(#" + id + ")");
            }
        }

        std::string all = TextContent(art);
        bool exactNeeded = false;
        for (unsigned char ch : all)
            if ((ch < 0x20 && ch != '\r') || ch == 0x7f || (onPath && ch == '\r')) exactNeeded = true;
        if (!IsUtf8(all)) exactNeeded = true;  // eight-bit text of another code page
        if (exactNeeded) {
            Declare(kHostPrefix, kHostNamespaceUri);
            SetAttribute(node, "travex:content", EncodeHostText(all));
        }
        // Lines as tspans, runs with other features as nested tspans.
        double lineHeight = first.fontSize * 1.25;
        int lineIndex = 0;
        pugi::xml_node line;
        auto newLine = [&]() {
            if (onPath) {  // one line along the path
                line = container;
                return;
            }
            line = node.append_child(ElementName(node, "tspan").c_str());
            SetAttribute(line, "x", "0");
            SetAttribute(line, "y", FormatSvgNumber(lineIndex * lineHeight));
            ++lineIndex;
        };
        if (all.empty()) return;
        newLine();
        for (const TextRun& run : t.runs) {
            std::string piece;
            auto flush = [&]() {
                if (piece.empty()) return;
                pugi::xml_node target = line;
                if (&run != &t.runs.front()) {
                    target = line.append_child(ElementName(node, "tspan").c_str());
                    WriteCharStyle(target, run.chars);
                }
                target.append_child(pugi::node_pcdata).set_value(piece.c_str());
                piece.clear();
            };
            for (size_t i = 0; i < run.text.size(); ++i) {
                unsigned char ch = static_cast<unsigned char>(run.text[i]);
                if (ch == '\r' || ch == '\n') {
                    flush();
                    if (ch == '\r' && i + 1 < run.text.size() && run.text[i + 1] == '\n') ++i;
                    newLine();
                } else if (ch >= 0x80) {
                    // Only well-formed UTF-8 goes into the file's text; the exact bytes are kept above.
                    size_t n = Utf8Length(run.text, i);
                    if (n == 0) {
                        piece += '?';
                    } else {
                        piece += run.text.substr(i, n);
                        i += n - 1;
                    }
                } else if (ch >= 0x20 && ch != 0x7f) {
                    piece += static_cast<char>(ch);
                }
            }
            flush();
        }
    }

    pugi::xml_node Definitions()
    {
        for (pugi::xml_node child : root.children())
            if (child.type() == pugi::node_element && ElementName(child, "defs") == child.name()) return child;
        pugi::xml_node defs = root.prepend_child(ElementName(root, "defs").c_str());
        defs.append_attribute("id").set_value(NewId("defs").c_str());
        return defs;
    }

    // A path of our own for a text frame; returns its id.
    std::string WriteTextPath(const Art* path, const AIRealMatrix& textSpace)
    {
        pugi::xml_node element = NewElement(Definitions(), "path", "textpath");
        SetAttribute(element, "d", FormatSvgPathData(path->segments, path->fClosed, Inverse(textSpace)));
        WriteStyle(element, path->style, false, textSpace);
        Declare(kHostPrefix, kHostNamespaceUri);
        SetAttribute(element, "travex:text-path", "true");
        return element.attribute("id").value();
    }

    // The path an earlier save wrote for this text goes when the text is written again.
    void RemoveOwnTextPath(pugi::xml_node text)
    {
        std::string reference;
        for (pugi::xml_node child : text.children())
            if (ElementName(child, "textPath") == child.name()) {
                reference = child.attribute("xlink:href").value();
                if (reference.empty()) reference = child.attribute("href").value();
            }
        for (auto& [key, value] : ReadCssDeclarations(text.attribute("style").value()))
            if (key == "shape-inside" && value.rfind("url(#", 0) == 0) reference = "#" + value.substr(5, value.size() - 6);
        if (reference.size() < 2) return;
        pugi::xml_node defs;
        for (pugi::xml_node child : root.children())
            if (child.type() == pugi::node_element && ElementName(child, "defs") == child.name()) defs = child;
        for (pugi::xml_node child : defs.children())
            if (reference.substr(1) == child.attribute("id").value() &&
                std::string(child.attribute("travex:text-path").value()) == "true") {
                pugi::xml_node blank = child.previous_sibling();
                if (blank && IsBlank(blank)) Park(blank);
                Park(child);
                return;
            }
    }

    // Lengths in points over `scale` points per unit of the element.
    void WriteCharStyle(pugi::xml_node node, const CharFeatures& c, double scale = 1)
    {
        if (scale <= 0) scale = 1;
        SetStyleProperty(node, "font-family", c.fontFamily);
        SetStyleProperty(node, "font-size", FormatSvgNumber(c.fontSize / scale) + "px");
        bool bold = c.fontStyle.find("Bold") != std::string::npos;
        bool italic = c.fontStyle.find("Italic") != std::string::npos;
        SetStyleProperty(node, "font-weight", bold ? "bold" : "normal");
        SetStyleProperty(node, "font-style", italic ? "italic" : "normal");
        WritePaint(node, "fill", c.fFillOn, c.fillColor);
        WritePaint(node, "stroke", c.fStrokeOn, c.strokeColor);
        if (c.fStrokeOn) SetStyleProperty(node, "stroke-width", FormatSvgNumber(c.strokeWidth / scale));
        SetStyleProperty(node, "letter-spacing",
                         c.tracking != 0 ? FormatSvgNumber(c.tracking / 1000 * c.fontSize / scale) + "px" : "");
    }

    void RewriteUse(Art* art, pugi::xml_node node, const AIRealMatrix& ctm)
    {
        node.set_name(ElementName(node, "use").c_str());
        for (const char* a : {"x", "y", "width", "height", "transform"}) node.remove_attribute(a);
        art->contentMatrix = ctm;
        std::string href = "#" + art->symbol->name;
        if (node.attribute("href") && !node.attribute("xlink:href")) {
            SetAttribute(node, "href", href);
        } else {
            Declare("xlink", kXlinkUri);
            SetAttribute(node, "xlink:href", href);
        }
        AIRealMatrix symbolSpace = doc.userToArtwork;
        symbolSpace.tx = symbolSpace.ty = 0;
        AIRealMatrix viewBox = IdentityMatrix();
        pugi::xml_node symbol(art->symbol->node);
        std::string vb = symbol ? symbol.attribute("viewBox").value() : "";
        for (char& ch : vb)
            if (ch == ',') ch = ' ';
        double v[4];
        std::istringstream in(vb);
        if (in >> v[0] >> v[1] >> v[2] >> v[3] && v[2] > 0 && v[3] > 0) viewBox = AIRealMatrix{1, 0, 0, 1, -v[0], -v[1]};
        AIRealMatrix userToArtwork = ConcatMatrix(symbolSpace, art->matrix);
        SetTransform(node, ConcatMatrix(ConcatMatrix(Inverse(viewBox), userToArtwork), Inverse(ctm)));
        SetStyleProperty(node, "display", art->fHidden ? "none" : "");
    }

    void WriteLayerFlags(Layer* layer, pugi::xml_node node)
    {
        Declare("inkscape", kInkscapeUri);
        SetAttribute(node, "inkscape:groupmode", "layer");
        SetAttribute(node, "inkscape:label", layer->title);
        SetStyleProperty(node, "display", layer->fVisible ? "inline" : "none");
        node.remove_attribute("visibility");
        if (!layer->fEditable) {
            Declare("sodipodi", kSodipodiUri);
            SetAttribute(node, "sodipodi:insensitive", "true");
        } else {
            node.remove_attribute("sodipodi:insensitive");
        }
        for (auto [name, on] : {std::pair<const char*, bool>{"travex:preview", layer->fPreview},
                                std::pair<const char*, bool>{"travex:printed", layer->fPrinted}}) {
            if (on) {
                node.remove_attribute(name);
            } else {
                Declare(kHostPrefix, kHostNamespaceUri);
                SetAttribute(node, name, "false");
            }
        }
    }

    // Content outside any group whose layer got a title or flags becomes a layer group of its
    // own where its first element stood, so they can be written.
    void GiveRootContentAGroup(Layer* layer)
    {
        std::set<pugi::xml_node_struct*> own;
        for (Art* art : layer->group->children)
            if (art->node) own.insert(art->node);
        pugi::xml_node first;
        for (pugi::xml_node c = root.first_child(); c && !first; c = c.next_sibling())
            if (own.count(c.internal_object())) first = c;
        pugi::xml_node g = first ? root.insert_child_before(ElementName(root, "g").c_str(), first)
                                 : root.append_child(ElementName(root, "g").c_str());
        g.append_attribute("id").set_value(NewId("layer").c_str());
        for (auto it = layer->group->children.rbegin(); it != layer->group->children.rend(); ++it) {
            pugi::xml_node n((*it)->node);
            if (!n) continue;
            pugi::xml_node blank = n.previous_sibling();
            if (blank && IsBlank(blank) && blank != g) Park(blank);
            g.append_move(n);
        }
        layer->fRootContent = false;
        layer->node = g.internal_object();
        layer->group->node = layer->node;
        layer->group->contentMatrix = doc.userToArtwork;
    }

    void Sync()
    {
        std::vector<pugi::xml_node> layerOrder;  // bottom first
        for (auto it = doc.layers.rbegin(); it != doc.layers.rend(); ++it) {
            Layer* layer = *it;
            if (layer->fRootContent && layer->fChanged) GiveRootContentAGroup(layer);
            if (layer->fRootContent) {
                SyncChildren(layer->group, root, doc.userToArtwork);
                continue;
            }
            pugi::xml_node node(layer->node);
            if (!node) {
                node = NewElement(root, "g", "layer");
                layer->node = node.internal_object();
                layer->group->node = layer->node;
                layer->group->contentMatrix = doc.userToArtwork;
                layer->fChanged = true;
            }
            if (layer->fChanged) WriteLayerFlags(layer, node);
            layerOrder.push_back(node);
            SyncChildren(layer->group, node, ConcatMatrix(ElementTransform(node), layer->group->contentMatrix));
        }
        OrderNodes(root, layerOrder);
        RemoveDisposed();
    }

    void RemoveDisposed()
    {
        std::set<pugi::xml_node_struct*> gone;
        for (auto& art : doc.artPool)
            if (art->fDisposed && art->node) gone.insert(art->node);
        for (auto& layer : doc.layerPool)
            if (layer->fDisposed && layer->node && !layer->fRootContent) gone.insert(layer->node);
        // Nodes of living art are never removed, even if disposed art shared them.
        for (auto& art : doc.artPool)
            if (!art->fDisposed && art->node) gone.erase(art->node);
        RemoveFrom(root, gone);
        for (auto& art : doc.artPool)
            if (art->fDisposed) art->node = nullptr;
        for (auto& layer : doc.layerPool)
            if (layer->fDisposed) layer->node = nullptr;
    }

    // Removed nodes are parked rather than freed, so no new node reuses a removed one's memory
    // and passes for it.
    void Park(pugi::xml_node node)
    {
        if (!removed) removed = doc.svg->xml.append_child("travex-removed");
        removed.append_move(node);
    }

    void RemoveFrom(pugi::xml_node parent, const std::set<pugi::xml_node_struct*>& gone)
    {
        for (pugi::xml_node child = parent.first_child(); child;) {
            pugi::xml_node next = child.next_sibling();
            if (gone.count(child.internal_object())) Park(child);
            else if (child.type() == pugi::node_element) RemoveFrom(child, gone);
            child = next;
        }
    }
};


std::string Signature(pugi::xml_node node)
{
    std::string sig = std::to_string(static_cast<int>(node.type())) + "\x01" + node.name() + "\x01" + node.value();
    for (pugi::xml_attribute a : node.attributes()) {
        sig += a.name();
        sig += '\x02';
        sig += a.value();
        sig += '\x03';
    }
    return sig;
}

// The end of a start tag or a doctype: the '>' outside quotes (and outside [ ] for a doctype).
size_t ScanToTagEnd(const std::string& bytes, size_t pos)
{
    char quote = 0;
    int depth = 0;
    for (; pos < bytes.size(); ++pos) {
        char ch = bytes[pos];
        if (quote) {
            if (ch == quote) quote = 0;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else if (ch == '[') {
            ++depth;
        } else if (ch == ']') {
            --depth;
        } else if (ch == '>' && depth <= 0) {
            return pos;
        }
    }
    return std::string::npos;
}

bool IndexNode(SvgSource& svg, pugi::xml_node node)
{
    const std::string& bytes = svg.originalBytes;
    ptrdiff_t offset = node.offset_debug();
    if (offset < 0 || static_cast<size_t>(offset) > bytes.size()) return false;
    size_t off = static_cast<size_t>(offset);
    SvgNodeRecord rec;
    rec.signature = Signature(node);
    auto found = [&](size_t at, const char* text) { return at != std::string::npos && bytes.compare(at, std::strlen(text), text) == 0; };
    switch (node.type()) {
    case pugi::node_element: {
        if (off == 0 || bytes[off - 1] != '<') return false;
        rec.begin = off - 1;
        size_t close = ScanToTagEnd(bytes, off);
        if (close == std::string::npos) return false;
        rec.startTagEnd = close + 1;
        rec.fSelfClosing = bytes[close - 1] == '/';
        size_t after = rec.startTagEnd;
        bool ok = true;
        for (pugi::xml_node child : node.children()) {
            if (!IndexNode(svg, child)) {
                ok = false;
                continue;
            }
            rec.children.push_back(child.internal_object());
            after = svg.records[child.internal_object()].end;
        }
        if (!ok) return false;
        if (rec.fSelfClosing) {
            rec.end = rec.startTagEnd;
        } else {
            size_t endTag = bytes.find("</", after);
            size_t endClose = endTag == std::string::npos ? endTag : bytes.find('>', endTag);
            if (endClose == std::string::npos) return false;
            rec.end = endClose + 1;
        }
        break;
    }
    case pugi::node_pcdata:
        rec.begin = off;
        rec.end = bytes.find('<', off);
        if (rec.end == std::string::npos) rec.end = bytes.size();
        break;
    case pugi::node_cdata:
        if (off < 9 || !found(off - 9, "<![CDATA[")) return false;
        rec.begin = off - 9;
        rec.end = bytes.find("]]>", off);
        if (rec.end == std::string::npos) return false;
        rec.end += 3;
        break;
    case pugi::node_comment:
        if (off < 4 || !found(off - 4, "<!--")) return false;
        rec.begin = off - 4;
        rec.end = bytes.find("-->", off);
        if (rec.end == std::string::npos) return false;
        rec.end += 3;
        break;
    case pugi::node_pi:
    case pugi::node_declaration:
        if (off < 2 || !found(off - 2, "<?")) return false;
        rec.begin = off - 2;
        rec.end = bytes.find("?>", off);
        if (rec.end == std::string::npos) return false;
        rec.end += 2;
        break;
    case pugi::node_doctype: {
        size_t start = bytes.rfind("<!", off);
        if (start == std::string::npos) return false;
        rec.begin = start;
        size_t close = ScanToTagEnd(bytes, start + 2);
        if (close == std::string::npos) return false;
        rec.end = close + 1;
        break;
    }
    default:
        return false;
    }
    if (rec.end < rec.begin) return false;
    svg.records[node.internal_object()] = std::move(rec);
    return true;
}

// Writes the parsed file back: a node that is as it was read is copied from the file byte
// for byte; a changed one is written afresh around its children, which follow the same rule.
struct Serializer {
    const SvgSource& svg;
    std::string out;
    std::unordered_map<pugi::xml_node_struct*, bool> cleanCache;
    // Where every node stands in the bytes written, for the next save of the same document.
    std::unordered_map<pugi::xml_node_struct*, SvgNodeRecord> written;

    // A node copied from the file keeps its record, moved to where the copy landed.
    void MoveRecords(pugi::xml_node node, size_t from, size_t to)
    {
        const SvgNodeRecord* rec = Record(node);
        if (!rec) return;
        SvgNodeRecord moved = *rec;
        moved.begin = moved.begin - from + to;
        moved.end = moved.end - from + to;
        moved.startTagEnd = moved.startTagEnd - from + to;
        written[node.internal_object()] = std::move(moved);
        for (pugi::xml_node child : node.children()) MoveRecords(child, from, to);
    }

    void Written(pugi::xml_node node, size_t begin, size_t startTagEnd, bool selfClosing)
    {
        SvgNodeRecord rec;
        rec.begin = begin;
        rec.end = out.size();
        rec.startTagEnd = startTagEnd;
        rec.fSelfClosing = selfClosing;
        rec.signature = Signature(node);
        for (pugi::xml_node child : node.children())
            if (child != svg.removed) rec.children.push_back(child.internal_object());
        written[node.internal_object()] = std::move(rec);
    }

    const SvgNodeRecord* Record(pugi::xml_node node)
    {
        auto it = svg.records.find(node.internal_object());
        return it == svg.records.end() ? nullptr : &it->second;
    }

    bool Clean(pugi::xml_node node)
    {
        auto cached = cleanCache.find(node.internal_object());
        if (cached != cleanCache.end()) return cached->second;
        const SvgNodeRecord* rec = Record(node);
        bool clean = rec && rec->signature == Signature(node);
        if (clean) {
            size_t i = 0;
            for (pugi::xml_node child : node.children()) {
                if (i >= rec->children.size() || rec->children[i] != child.internal_object() || !Clean(child)) {
                    clean = false;
                    break;
                }
                ++i;
            }
            clean = clean && i == rec->children.size();
        }
        cleanCache[node.internal_object()] = clean;
        return clean;
    }

    static void Escape(std::string& to, const char* text, bool attribute)
    {
        for (const char* p = text; *p; ++p) {
            switch (*p) {
            case '&': to += "&amp;"; break;
            case '<': to += "&lt;"; break;
            case '>': to += "&gt;"; break;
            case '"': to += attribute ? "&quot;" : "\""; break;
            case '\r': to += "&#13;"; break;
            case '\n': to += attribute ? "&#10;" : "\n"; break;
            case '\t': to += attribute ? "&#9;" : "\t"; break;
            default: to += *p;
            }
        }
    }

    void Children(pugi::xml_node parent, const SvgNodeRecord* parentRec)
    {
        std::unordered_map<pugi::xml_node_struct*, size_t> originalIndex;
        if (parentRec)
            for (size_t i = 0; i < parentRec->children.size(); ++i) originalIndex[parentRec->children[i]] = i;
        pugi::xml_node previous;
        for (pugi::xml_node child : parent.children()) {
            if (child == svg.removed) continue;
            // The bytes between two nodes that were neighbours in the file (the prolog's line
            // breaks) go with them.
            const SvgNodeRecord* rec = Record(child);
            const SvgNodeRecord* prevRec = previous ? Record(previous) : nullptr;
            if (rec && prevRec && parentRec) {
                auto at = originalIndex.find(child.internal_object());
                if (at != originalIndex.end() && at->second > 0 &&
                    parentRec->children[at->second - 1] == previous.internal_object() && prevRec->end <= rec->begin)
                    out.append(svg.originalBytes, prevRec->end, rec->begin - prevRec->end);
            }
            Node(child);
            previous = child;
        }
    }

    void Node(pugi::xml_node node)
    {
        const SvgNodeRecord* rec = Record(node);
        size_t begin = out.size();
        if (rec && Clean(node)) {
            out.append(svg.originalBytes, rec->begin, rec->end - rec->begin);
            MoveRecords(node, rec->begin, begin);
            return;
        }
        switch (node.type()) {
        case pugi::node_element: {
            bool sameTag = rec && !rec->fSelfClosing && rec->signature == Signature(node);
            if (sameTag) {
                out.append(svg.originalBytes, rec->begin, rec->startTagEnd - rec->begin);
            } else {
                out += '<';
                out += node.name();
                for (pugi::xml_attribute a : node.attributes()) {
                    out += ' ';
                    out += a.name();
                    out += "=\"";
                    Escape(out, a.value(), true);
                    out += '"';
                }
                if (!node.first_child()) {
                    out += " />";
                    Written(node, begin, out.size(), true);
                    return;
                }
                out += '>';
            }
            size_t startTagEnd = out.size();
            Children(node, sameTag ? rec : nullptr);
            out += "</";
            out += node.name();
            out += '>';
            Written(node, begin, startTagEnd, false);
            return;
        }
        case pugi::node_pcdata:
            Escape(out, node.value(), false);
            Written(node, begin, begin, false);
            return;
        default: {
            std::ostringstream printed;
            node.print(printed, "", pugi::format_raw);
            out += printed.str();
            Written(node, begin, begin, false);
            return;
        }
        }
    }

    void Document(const pugi::xml_document& xml)
    {
        pugi::xml_node first = xml.first_child();
        const SvgNodeRecord* firstRec = first ? Record(first) : nullptr;
        if (firstRec) out.append(svg.originalBytes, 0, firstRec->begin);  // a byte-order mark, say
        SvgNodeRecord docRec;
        for (pugi::xml_node child : xml.children())
            if (Record(child)) docRec.children.push_back(child.internal_object());
        Children(xml, &docRec);
        pugi::xml_node last = xml.last_child();
        if (last == svg.removed) last = last.previous_sibling();
        const SvgNodeRecord* lastRec = last ? Record(last) : nullptr;
        if (lastRec) out.append(svg.originalBytes, lastRec->end, std::string::npos);
        else out += '\n';
    }
};

}  // namespace

void IndexSvgSource(SvgSource& svg)
{
    svg.records.clear();
    for (pugi::xml_node child : svg.xml.children()) IndexNode(svg, child);
}

namespace {


bool WriteFileAtomically(const std::string& shownPath, const std::string& bytes, std::string& error)
{
    FileStep step = FileStep::kNone;
    const int failure = ReplaceWholeFile(shownPath, bytes, 0666, &step);
    if (failure == 0) return true;
    const char* what = step == FileStep::kMode    ? "cannot set the mode of the new file"
                       : step == FileStep::kFlush  ? "cannot be flushed to disk"
                       : step == FileStep::kRename ? "cannot be replaced"
                                                   : "cannot be written";
    error = shownPath + ": " + what + ": " + std::strerror(failure);
    return false;
}

void StartEmptyFile(Document& doc)
{
    doc.svg = std::make_unique<SvgSource>();
    pugi::xml_node decl = doc.svg->xml.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node root = doc.svg->xml.append_child("svg");
    root.append_attribute("xmlns").set_value("http://www.w3.org/2000/svg");
    root.append_attribute("width").set_value((FormatSvgNumber(doc.width) + "pt").c_str());
    root.append_attribute("height").set_value((FormatSvgNumber(doc.height) + "pt").c_str());
    root.append_attribute("viewBox")
        .set_value(("0 0 " + FormatSvgNumber(doc.width) + " " + FormatSvgNumber(doc.height)).c_str());
    doc.userToArtwork = AIRealMatrix{1, 0, 0, -1, 0, doc.height};
    for (Layer* layer : doc.layers) layer->group->contentMatrix = doc.userToArtwork;
}

}  // namespace

bool SaveSvgDocument(Document& doc, const std::string& path, std::string& error)
{
    if (doc.fLoadFailed) {
        error = path + ": not saved, because the drawing could not be read";
        return false;
    }
    if (!doc.svg) StartEmptyFile(doc);
    std::string bytes;
    std::unordered_map<pugi::xml_node_struct*, SvgNodeRecord> newRecords;
    bool rewritten = false;
    if (!doc.fChanged && !doc.svg->originalBytes.empty()) {
        bytes = doc.svg->originalBytes;
    } else {
        Writer writer{doc, doc.svg->xml.document_element(), {}, 1, doc.svg->removed};
        writer.CollectIds(writer.root);
        writer.Sync();
        // A file read from another encoding is written afresh in UTF-8, and says so.
        if (doc.svg->records.empty())
            for (pugi::xml_node n : doc.svg->xml.children())
                if (n.type() == pugi::node_declaration && n.attribute("encoding"))
                    n.attribute("encoding").set_value("UTF-8");
        Serializer serializer{*doc.svg, {}, {}, {}};
        serializer.Document(doc.svg->xml);
        bytes = std::move(serializer.out);
        newRecords = std::move(serializer.written);
        rewritten = true;
    }
    if (!WriteFileAtomically(path, bytes, error)) return false;
    doc.svg->originalBytes = bytes;
    if (rewritten) doc.svg->records = std::move(newRecords);
    for (auto& art : doc.artPool) art->fChanged = art->fChildrenChanged = false;
    for (auto& layer : doc.layerPool) layer->fChanged = false;
    doc.fChanged = false;
    error.clear();
    return true;
}

}  // namespace host
