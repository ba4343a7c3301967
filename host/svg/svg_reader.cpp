// SVG files into the document: top-level groups become layers, shapes become cubic paths in
// artwork points, <use> of a <symbol> a symbol instance, <text> a point text.
#include "host/svg/svg_source.h"
#include "platform/whole_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <unordered_map>
#include <set>
#include <sstream>

namespace host {

namespace {

constexpr double kKappa = 0.5522847498307936;  // cubic handle length of a quarter circle

std::string LocalName(const pugi::xml_node& node)
{
    std::string name = node.name();
    if (name.rfind("svg:", 0) == 0) name.erase(0, 4);
    return name;
}

// Style declarations of one element: the style attribute wins over presentation attributes.
using StyleMap = std::map<std::string, std::string>;

void ParseStyleAttribute(const char* text, StyleMap& out)
{
    for (auto& [key, value] : ReadCssDeclarations(text)) {
        size_t important = value.find("!important");
        out[key] = important != std::string::npos ? TrimCssSpace(value.substr(0, important)) : value;
    }
}

const char* kStyleProperties[] = {
    "fill", "stroke", "stroke-width", "stroke-dasharray", "stroke-dashoffset", "stroke-linecap",
    "stroke-linejoin", "stroke-miterlimit", "opacity", "fill-opacity", "stroke-opacity", "display",
    "visibility", "font-family", "font-size", "font-weight", "font-style", "text-anchor",
    "letter-spacing", "line-height", "fill-rule",
};

// The simple rules of <style> sheets as editors write them: "tag", ".class", "#id",
// "tag.class", several selectors to a rule.
struct StyleRule {
    std::string tag, cls, id;
    int specificity = 0;
    size_t order = 0;
    StyleMap declarations;
};
using StyleSheet = std::vector<StyleRule>;

void ParseStyleSheet(const std::string& css, StyleSheet& sheet)
{
    std::string text;
    for (size_t i = 0; i < css.size(); ++i) {  // comments out
        if (css.compare(i, 2, "/*") == 0) {
            size_t end = css.find("*/", i + 2);
            if (end == std::string::npos) break;
            i = end + 1;
            continue;
        }
        text += css[i];
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('{', pos);
        if (open == std::string::npos) break;
        std::string selectors = TrimCssSpace(text.substr(pos, open - pos));
        int depth = 1;
        size_t close = open + 1;
        for (; close < text.size() && depth > 0; ++close) {
            if (text[close] == '{') ++depth;
            if (text[close] == '}') --depth;
        }
        std::string body = text.substr(open + 1, close - open - 2);
        pos = close;
        if (selectors.empty() || selectors[0] == '@') continue;  // media queries and the like
        StyleMap declarations;
        ParseStyleAttribute(body.c_str(), declarations);
        size_t start = 0;
        while (start <= selectors.size()) {
            size_t comma = selectors.find(',', start);
            if (comma == std::string::npos) comma = selectors.size();
            std::string sel = TrimCssSpace(selectors.substr(start, comma - start));
            start = comma + 1;
            if (sel.empty() || sel.find_first_of(" >+~[:*") != std::string::npos) continue;  // not a simple selector
            StyleRule rule;
            rule.order = sheet.size();
            rule.declarations = declarations;
            if (sel[0] == '#') {
                rule.id = sel.substr(1);
                rule.specificity = 100;
            } else {
                size_t dot = sel.find('.');
                rule.tag = sel.substr(0, dot);
                if (dot != std::string::npos) rule.cls = sel.substr(dot + 1);
                rule.specificity = (rule.tag.empty() ? 0 : 1) + (rule.cls.empty() ? 0 : 10);
            }
            sheet.push_back(rule);
        }
    }
}

void CollectStyleSheets(const pugi::xml_node& n, StyleSheet& sheet)
{
    for (pugi::xml_node child : n.children()) {
        if (child.type() != pugi::node_element) continue;
        if (LocalName(child) == "style") {
            std::string css;
            for (pugi::xml_node text : child.children()) css += text.value();
            ParseStyleSheet(css, sheet);
        } else {
            CollectStyleSheets(child, sheet);
        }
    }
    std::stable_sort(sheet.begin(), sheet.end(), [](const StyleRule& a, const StyleRule& b) {
        return a.specificity != b.specificity ? a.specificity < b.specificity : a.order < b.order;
    });
}

// Presentation attributes, then the sheet's rules, then the style attribute.
StyleMap ElementStyle(const pugi::xml_node& node, const StyleSheet* sheet = nullptr)
{
    StyleMap style;
    for (const char* key : kStyleProperties) {
        pugi::xml_attribute a = node.attribute(key);
        if (a) style[key] = TrimCssSpace(a.value());
    }
    if (sheet && !sheet->empty()) {
        std::string tag = LocalName(node), id = node.attribute("id").value();
        std::istringstream classList(node.attribute("class").value());
        std::set<std::string> classes;
        for (std::string c; classList >> c;) classes.insert(c);
        for (const StyleRule& rule : *sheet) {
            bool match = !rule.id.empty() ? rule.id == id
                                          : (rule.tag.empty() || rule.tag == tag) && (rule.cls.empty() || classes.count(rule.cls));
            if (!match) continue;
            for (auto& [key, value] : rule.declarations) style[key] = value;
        }
    }
    ParseStyleAttribute(node.attribute("style").value(), style);
    return style;
}

bool ParseHexColor(const std::string& s, Color& c)
{
    auto hex = [](char ch) {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        return -1;
    };
    std::string h = s.substr(1);
    for (char ch : h)
        if (hex(ch) < 0) return false;
    if (h.size() == 3) {
        c = Color{hex(h[0]) * 17 / 255.0, hex(h[1]) * 17 / 255.0, hex(h[2]) * 17 / 255.0};
        return true;
    }
    if (h.size() == 6) {
        c = Color{(hex(h[0]) * 16 + hex(h[1])) / 255.0, (hex(h[2]) * 16 + hex(h[3])) / 255.0,
                  (hex(h[4]) * 16 + hex(h[5])) / 255.0};
        return true;
    }
    return false;
}

}  // namespace

// Paint: "none" clears, a colour sets, a url() (gradient, pattern) paints grey as a stand-in.
// Returns false for an unknown value, which keeps the inherited paint.
bool ParseSvgPaint(const std::string& value, bool& on, Color& color)
{
    static const std::map<std::string, Color> named = {
        {"black", {0, 0, 0}},      {"white", {1, 1, 1}},     {"red", {1, 0, 0}},
        {"green", {0, 128 / 255.0, 0}}, {"lime", {0, 1, 0}}, {"blue", {0, 0, 1}},
        {"yellow", {1, 1, 0}},     {"cyan", {0, 1, 1}},      {"aqua", {0, 1, 1}},
        {"magenta", {1, 0, 1}},    {"fuchsia", {1, 0, 1}},   {"gray", {128 / 255.0, 128 / 255.0, 128 / 255.0}},
        {"grey", {128 / 255.0, 128 / 255.0, 128 / 255.0}},   {"silver", {192 / 255.0, 192 / 255.0, 192 / 255.0}},
        {"maroon", {128 / 255.0, 0, 0}}, {"navy", {0, 0, 128 / 255.0}}, {"olive", {128 / 255.0, 128 / 255.0, 0}},
        {"purple", {128 / 255.0, 0, 128 / 255.0}}, {"teal", {0, 128 / 255.0, 128 / 255.0}},
        {"orange", {1, 165 / 255.0, 0}},
    };
    std::string v = TrimCssSpace(value);
    if (v.empty() || v == "inherit") return false;
    if (v == "none" || v == "transparent") {
        on = false;
        return true;
    }
    if (v[0] == '#') {
        if (!ParseHexColor(v, color)) return false;
        on = true;
        return true;
    }
    if (v.rfind("rgb(", 0) == 0) {
        double c[3] = {0, 0, 0};
        const char* p = v.c_str() + 4;
        for (double& channel : c) {
            while (*p == ' ' || *p == ',') ++p;
            char* end = nullptr;
            channel = std::strtod(p, &end);
            if (end == p) return false;
            p = end;
            if (*p == '%') {
                channel *= 2.55;
                ++p;
            }
        }
        color = Color{std::clamp(c[0] / 255.0, 0.0, 1.0), std::clamp(c[1] / 255.0, 0.0, 1.0),
                      std::clamp(c[2] / 255.0, 0.0, 1.0)};
        on = true;
        return true;
    }
    if (v.rfind("url(", 0) == 0) {
        color = Color{0.5, 0.5, 0.5};
        on = true;
        return true;
    }
    auto it = named.find(v);
    if (it == named.end()) return false;
    color = it->second;
    on = true;
    return true;
}

namespace {

// A length in user units (a CSS pixel per unit): percentages of `reference`, em and ex of
// `fontSize`, both in user units; font-size keywords aside.
bool UserLength(const std::string& text, double reference, double fontSize, double& value)
{
    double points;
    if (!ParseSvgLength(text.c_str(), reference * 0.75, fontSize * 0.75, points)) return false;
    value = points / 0.75;
    return true;
}

// What a percentage of the viewport is taken of.
enum class Axis { kWidth, kHeight, kDiagonal };

// What children inherit. Lengths stay in user units: they take the scale of the element
// that draws with them.
struct Inherited {
    PathStyle style;
    CharFeatures chars;
    ParaFeatures paras;
    double opacity = 1;
    bool fHidden = false;
    double viewportWidth = 100;  // the nearest viewport, user units
    double viewportHeight = 100;

    double Reference(Axis axis) const
    {
        if (axis == Axis::kWidth) return viewportWidth;
        if (axis == Axis::kHeight) return viewportHeight;
        return std::sqrt((viewportWidth * viewportWidth + viewportHeight * viewportHeight) / 2);
    }
    bool Length(const std::string& text, Axis axis, double& value) const
    {
        return UserLength(text, Reference(axis), chars.fontSize, value);
    }
};

void ApplyStyle(const StyleMap& s, Inherited& inherit)
{
    PathStyle& st = inherit.style;
    const double scale = 1;
    auto get = [&](const char* key) -> const std::string* {
        auto it = s.find(key);
        return it == s.end() ? nullptr : &it->second;
    };
    if (auto v = get("fill")) ParseSvgPaint(*v, st.fFillPaint, st.fillColor);
    if (auto v = get("stroke")) ParseSvgPaint(*v, st.fStrokePaint, st.strokeColor);
    double length;
    CharFeatures& ch = inherit.chars;
    // The font size first: em and ex of the other lengths are of the element's own size.
    if (auto v = get("font-size"))
        if (UserLength(*v, ch.fontSize, ch.fontSize, length) && length > 0) ch.fontSize = length;
    if (auto v = get("stroke-width"))
        if (inherit.Length(*v, Axis::kDiagonal, length) && length >= 0) st.strokeWidth = length * scale;
    if (auto v = get("stroke-dasharray")) {
        std::vector<double> dashes;
        std::string list = *v;
        for (char& ch : list)
            if (ch == ',') ch = ' ';
        std::istringstream in(list);
        std::string item;
        bool ok = list.find("none") == std::string::npos;
        while (ok && in >> item) {
            if (!inherit.Length(item, Axis::kDiagonal, length) || length < 0) ok = false;
            else dashes.push_back(length * scale);
        }
        double total = 0;
        for (double d : dashes) total += d;
        if (!ok || total == 0) dashes.clear();
        if (dashes.size() % 2 == 1) dashes.insert(dashes.end(), dashes.begin(), dashes.end());
        st.dashArray = dashes;
    }
    if (auto v = get("stroke-dashoffset"))
        if (inherit.Length(*v, Axis::kDiagonal, length)) st.dashOffset = length * scale;
    if (auto v = get("stroke-linecap"))
        st.lineCap = *v == "round" ? 1 : *v == "square" ? 2 : 0;
    if (auto v = get("stroke-linejoin"))
        st.lineJoin = *v == "round" ? 1 : *v == "bevel" ? 2 : 0;
    if (auto v = get("stroke-miterlimit")) st.miterLimit = std::strtod(v->c_str(), nullptr);
    if (auto v = get("fill-rule")) st.fEvenOdd = *v == "evenodd";
    if (auto v = get("opacity")) inherit.opacity *= std::clamp(std::strtod(v->c_str(), nullptr), 0.0, 1.0);
    if (auto v = get("display"))
        if (*v == "none") inherit.fHidden = true;
    if (auto v = get("visibility")) inherit.fHidden = inherit.fHidden || *v == "hidden" || *v == "collapse";

    ch.fFillOn = st.fFillPaint;
    ch.fillColor = st.fillColor;
    ch.fStrokeOn = st.fStrokePaint;
    ch.strokeColor = st.strokeColor;
    ch.strokeWidth = st.strokeWidth;
    if (auto v = get("font-family")) {
        std::string family = TrimCssSpace(v->substr(0, v->find(',')));
        if (family.size() >= 2 && (family.front() == '\'' || family.front() == '"')) family = family.substr(1, family.size() - 2);
        if (!family.empty()) ch.fontFamily = family;
    }
    if (auto v = get("letter-spacing")) {
        if (*v == "normal") ch.tracking = 0;
        else if (UserLength(*v, ch.fontSize, ch.fontSize, length) && ch.fontSize > 0) ch.tracking = length / ch.fontSize * 1000;
    }
    if (auto v = get("text-anchor"))
        inherit.paras.justification = *v == "middle" ? 2 : *v == "end" ? 1 : 0;
    bool bold = ch.fontStyle.find("Bold") != std::string::npos;
    bool italic = ch.fontStyle.find("Italic") != std::string::npos;
    if (auto v = get("font-weight")) bold = *v == "bold" || *v == "bolder" || std::atoi(v->c_str()) >= 600;
    if (auto v = get("font-style")) italic = *v == "italic" || *v == "oblique";
    ch.fontStyle = bold && italic ? "Bold Italic" : bold ? "Bold" : italic ? "Italic" : "Regular";
}

struct Reader {
    explicit Reader(Document& document) : doc(document) {}

    Document& doc;
    std::map<std::string, pugi::xml_node> ids;
    std::map<std::string, Symbol*> symbolsById;
    AIRealMatrix symbolSpace = IdentityMatrix();  // symbol user units to the definition art's coordinates
    int depth = 0;
    std::set<pugi::xml_node_struct*> expanding;  // targets of the uses being read
    StyleSheet sheet;

    // A length attribute in user units, percentages of the viewport `in` has.
    // One it cannot read is said and taken as 0.
    double Attr(const pugi::xml_node& n, const char* name, Axis axis, const Inherited& in)
    {
        double value = 0;
        pugi::xml_attribute a = n.attribute(name);
        if (!a) return 0;
        if (in.Length(a.value(), axis, value)) return value;
        std::string text = TrimCssSpace(a.value());
        if (!text.empty() && text != "auto")
            Warn(n, std::string("its ") + name + " \"" + text + "\" is no length the host reads; taken as 0");
        return 0;
    }

    AIRealMatrix ElementMatrix(const pugi::xml_node& n, const AIRealMatrix& parent)
    {
        return ConcatMatrix(ElementTransform(n), parent);
    }

    Art* NewPath(Art* parent, const pugi::xml_node& n, const AIRealMatrix& parentCtm)
    {
        Art* art = NewDetachedArt(doc, ArtType::Path);
        Attach(art, parent, n, parentCtm);
        return art;
    }

    void Attach(Art* art, Art* parent, const pugi::xml_node& n, const AIRealMatrix& parentCtm)
    {
        art->node = n.internal_object();
        art->elementName = LocalName(n);
        art->name = n.attribute("id").value();
        art->contentMatrix = parentCtm;
        art->fChanged = false;
        art->fChildrenChanged = false;
        if (parent) {
            parent->children.insert(parent->children.begin(), art);  // later elements are on top
            art->parent = parent;
            art->layer = parent->layer;
        }
    }

    void SetSegments(Art* art, std::vector<AIPathSegment> segments, bool closed, const AIRealMatrix& ctm)
    {
        for (AIPathSegment& s : segments) {
            s.ptAnchor = TransformPoint(ctm, s.ptAnchor);
            s.ptIn = TransformPoint(ctm, s.ptIn);
            s.ptOut = TransformPoint(ctm, s.ptOut);
        }
        DeriveCornerFlags(segments);
        art->segments = std::move(segments);
        art->fClosed = closed;
    }

    static CharFeatures ScaledChars(CharFeatures chars, double scale)
    {
        chars.fontSize *= scale;
        chars.strokeWidth *= scale;
        return chars;
    }

    void FinishStyled(Art* art, const Inherited& in, const pugi::xml_node& n, const AIRealMatrix& ctm)
    {
        double scale = MatrixScale(ctm);
        art->style = in.style;
        art->style.strokeWidth *= scale;
        art->style.dashOffset *= scale;
        for (double& d : art->style.dashArray) d *= scale;
        art->style.opacity = in.opacity;
        art->fHidden = in.fHidden;
        art->fGuide = std::string(n.attribute("travex:guide").value()) == "true";
        art->style.fFillOverprint = std::string(n.attribute("travex:fill-overprint").value()) == "true";
        art->style.fStrokeOverprint = std::string(n.attribute("travex:stroke-overprint").value()) == "true";
    }

    static std::vector<AIPathSegment> Ellipse(double cx, double cy, double rx, double ry)
    {
        double kx = rx * kKappa, ky = ry * kKappa;
        std::vector<AIPathSegment> s = {
            {{cx + rx, cy}, {cx + rx, cy - ky}, {cx + rx, cy + ky}, false},
            {{cx, cy + ry}, {cx + kx, cy + ry}, {cx - kx, cy + ry}, false},
            {{cx - rx, cy}, {cx - rx, cy + ky}, {cx - rx, cy - ky}, false},
            {{cx, cy - ry}, {cx - kx, cy - ry}, {cx + kx, cy - ry}, false},
        };
        return s;
    }

    static std::vector<AIPathSegment> Rectangle(double x, double y, double w, double h, double rx, double ry)
    {
        auto corner = [](double px, double py) { return AIPathSegment{{px, py}, {px, py}, {px, py}, true}; };
        if (rx <= 0 || ry <= 0) return {corner(x, y), corner(x + w, y), corner(x + w, y + h), corner(x, y + h)};
        double kx = rx * kKappa, ky = ry * kKappa;
        auto seg = [](double ax, double ay, double ix, double iy, double ox, double oy) {
            return AIPathSegment{{ax, ay}, {ix, iy}, {ox, oy}, false};
        };
        return {
            seg(x + rx, y, x + rx - kx, y, x + rx, y),
            seg(x + w - rx, y, x + w - rx, y, x + w - rx + kx, y),
            seg(x + w, y + ry, x + w, y + ry - ky, x + w, y + ry),
            seg(x + w, y + h - ry, x + w, y + h - ry, x + w, y + h - ry + ky),
            seg(x + w - rx, y + h, x + w - rx + kx, y + h, x + w - rx, y + h),
            seg(x + rx, y + h, x + rx, y + h, x + rx - kx, y + h),
            seg(x, y + h - ry, x, y + h - ry + ky, x, y + h - ry),
            seg(x, y + ry, x, y + ry, x, y + ry - ky),
        };
    }

    static bool Points(const char* text, std::vector<AIPathSegment>& out)
    {
        std::string list = text ? text : "";
        for (char& ch : list)
            if (ch == ',') ch = ' ';
        std::istringstream in(list);
        double x, y;
        while (in >> x) {
            if (!(in >> y)) break;  // an odd coordinate is dropped, as renderers do
            out.push_back(AIPathSegment{{x, y}, {x, y}, {x, y}, true});
        }
        return !out.empty();
    }

    // One drawable element under `parent`, with the user space of its parent.
    void ReadElement(const pugi::xml_node& n, Art* parent, const AIRealMatrix& parentCtm, const Inherited& inherited)
    {
        std::string name = LocalName(n);
        if (n.type() != pugi::node_element) return;
        if (++depth > kMaxReadNesting) {  // refused before reading; a guard for the stack only
            --depth;
            return;
        }
        AIRealMatrix ctm = ElementMatrix(n, parentCtm);
        Inherited in = inherited;
        in.opacity = inherited.opacity;
        ApplyStyle(ElementStyle(n, &sheet), in);

        if (name == "g" || name == "a" || name == "switch") {
            Art* group = NewDetachedArt(doc, ArtType::Group);
            Attach(group, parent, n, parentCtm);
            group->fHidden = in.fHidden;
            group->style.opacity = in.opacity;
            Inherited children = in;
            children.opacity = 1;
            for (pugi::xml_node child : n.children()) ReadElement(child, group, ctm, children);
        } else if (name == "svg") {
            Art* group = NewDetachedArt(doc, ArtType::Group);
            Attach(group, parent, n, parentCtm);
            Inherited inside = in;
            group->viewportMatrix = ViewportMatrix(n, in, inside);
            AIRealMatrix inner = ConcatMatrix(group->viewportMatrix, ctm);
            for (pugi::xml_node child : n.children()) ReadElement(child, group, inner, inside);
        } else if (name == "path") {
            std::vector<SvgSubpath> subpaths;
            std::string error;
            if (!ParseSvgPathData(n.attribute("d").value(), subpaths, error))
                Warn(n, error + "; drawn up to there");
            // A moveto that starts no segment draws nothing (cairo ends its paths "Z M x y").
            std::erase_if(subpaths, [](const SvgSubpath& sub) { return sub.segments.size() == 1 && !sub.fClosed; });
            ReadSubpaths(n, parent, parentCtm, ctm, in, subpaths);
        } else if (name == "rect") {
            double w = Attr(n, "width", Axis::kWidth, in), h = Attr(n, "height", Axis::kHeight, in);
            if (w > 0 && h > 0) {
                pugi::xml_attribute arx = n.attribute("rx"), ary = n.attribute("ry");
                double rx = Attr(n, "rx", Axis::kWidth, in), ry = Attr(n, "ry", Axis::kHeight, in);
                if (arx && !ary) ry = rx;
                if (ary && !arx) rx = ry;
                rx = std::min(std::max(rx, 0.0), w / 2);
                ry = std::min(std::max(ry, 0.0), h / 2);
                Art* art = NewPath(parent, n, parentCtm);
                SetSegments(art, Rectangle(Attr(n, "x", Axis::kWidth, in), Attr(n, "y", Axis::kHeight, in), w, h, rx, ry),
                            true, ctm);
                FinishStyled(art, in, n, ctm);
                KeepIfFinite(art, n);
            }
        } else if (name == "circle" || name == "ellipse") {
            double rx = name == "circle" ? Attr(n, "r", Axis::kDiagonal, in) : Attr(n, "rx", Axis::kWidth, in);
            double ry = name == "circle" ? rx : Attr(n, "ry", Axis::kHeight, in);
            if (name == "ellipse" && n.attribute("rx") && !n.attribute("ry")) ry = rx;
            if (name == "ellipse" && n.attribute("ry") && !n.attribute("rx")) rx = ry;
            if (rx > 0 && ry > 0) {
                Art* art = NewPath(parent, n, parentCtm);
                SetSegments(art, Ellipse(Attr(n, "cx", Axis::kWidth, in), Attr(n, "cy", Axis::kHeight, in), rx, ry), true,
                            ctm);
                FinishStyled(art, in, n, ctm);
                KeepIfFinite(art, n);
            }
        } else if (name == "line") {
            double x1 = Attr(n, "x1", Axis::kWidth, in), y1 = Attr(n, "y1", Axis::kHeight, in);
            double x2 = Attr(n, "x2", Axis::kWidth, in), y2 = Attr(n, "y2", Axis::kHeight, in);
            Art* art = NewPath(parent, n, parentCtm);
            SetSegments(art, {{{x1, y1}, {x1, y1}, {x1, y1}, true}, {{x2, y2}, {x2, y2}, {x2, y2}, true}}, false, ctm);
            FinishStyled(art, in, n, ctm);
            KeepIfFinite(art, n);
        } else if (name == "polyline" || name == "polygon") {
            std::vector<SvgSubpath> subpaths(1);
            if (Points(n.attribute("points").value(), subpaths[0].segments)) {
                subpaths[0].fClosed = name == "polygon";
                // One point of a polyline draws nothing, like a moveto that starts no segment.
                if (name == "polyline" && subpaths[0].segments.size() < 2) subpaths[0].segments.clear();
                ReadSubpaths(n, parent, parentCtm, ctm, in, subpaths);
            }
        } else if (name == "use") {
            ReadUse(n, parent, parentCtm, ctm, in);
        } else if (name == "text") {
            ReadText(n, parent, parentCtm, ctm, in);
        } else if (name == "image") {
            Art* art = NewDetachedArt(doc, ArtType::Raster);
            Attach(art, parent, n, parentCtm);
            double x = Attr(n, "x", Axis::kWidth, in), y = Attr(n, "y", Axis::kHeight, in);
            double w = Attr(n, "width", Axis::kWidth, in), h = Attr(n, "height", Axis::kHeight, in);
            SetSegments(art, Rectangle(x, y, w, h, 0, 0), true, ctm);  // its frame, for bounds only
            art->fHidden = in.fHidden;
        } else if (name == "foreignObject") {
            Art* art = NewDetachedArt(doc, ArtType::Foreign);
            Attach(art, parent, n, parentCtm);
        }
        // Everything else (defs, gradients, filters, metadata, clip paths...) is not art.
        --depth;
    }

    // The subpaths of a path or a polyline: one path, or a compound path of several. A subpath
    // longer than a path may hold is read as consecutive pieces, so all of it is plotted.
    void ReadSubpaths(const pugi::xml_node& n, Art* parent, const AIRealMatrix& parentCtm, const AIRealMatrix& ctm,
                      const Inherited& in, std::vector<SvgSubpath>& subpaths)
    {
        SplitLongSubpaths(subpaths);
        if (subpaths.size() <= 1) {
            Art* art = NewPath(parent, n, parentCtm);
            if (!subpaths.empty()) SetSegments(art, std::move(subpaths[0].segments), subpaths[0].fClosed, ctm);
            FinishStyled(art, in, n, ctm);
            KeepIfFinite(art, n);
            return;
        }
        Art* compound = NewDetachedArt(doc, ArtType::CompoundPath);
        Attach(compound, parent, n, parentCtm);
        FinishStyled(compound, in, n, ctm);
        for (SvgSubpath& sub : subpaths) {
            Art* member = NewDetachedArt(doc, ArtType::Path);
            member->fChanged = false;
            member->elementName = "path";
            member->contentMatrix = parentCtm;
            member->parent = compound;
            member->layer = compound->layer;
            compound->children.push_back(member);
            SetSegments(member, std::move(sub.segments), sub.fClosed, ctm);
            FinishStyled(member, in, n, ctm);
        }
        KeepIfFinite(compound, n);
    }

    static bool Finite(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }
    static bool Finite(const AIRealMatrix& m)
    {
        return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
               std::isfinite(m.tx) && std::isfinite(m.ty);
    }

    // Whether every coordinate of the art is a number once placed on the page.
    static bool FiniteArt(const Art* art)
    {
        for (const AIPathSegment& s : art->segments)
            if (!Finite(s.ptAnchor) || !Finite(s.ptIn) || !Finite(s.ptOut)) return false;
        if (!std::isfinite(art->style.strokeWidth)) return false;
        if (art->type == ArtType::SymbolInstance && !Finite(art->matrix)) return false;
        if (art->type == ArtType::TextFrame) {
            if (!Finite(art->text.anchor) || !Finite(art->text.matrix)) return false;
            for (const TextRun& run : art->text.runs)
                if (!std::isfinite(run.chars.fontSize)) return false;
            if (art->text.path && !FiniteArt(art->text.path)) return false;
        }
        for (const Art* child : art->children)
            if (!FiniteArt(child)) return false;
        return true;
    }

    // Art whose coordinates overflow is left out with a warning, never plotted as strokes of
    // no length; the file keeps its element as it was.
    void KeepIfFinite(Art* art, const pugi::xml_node& n)
    {
        if (FiniteArt(art)) return;
        Warn(n, "its coordinates lie beyond every number once placed; left out");
        Art* parent = art->parent;
        if (parent) std::erase(parent->children, art);
        art->parent = nullptr;
        art->layer = nullptr;
        art->node = nullptr;
        art->fDisposed = true;
    }

    // Viewport of a nested <svg>: x, y and the viewBox mapping onto its width and height
    // (percentages of the viewport it sits in). `inside` takes the viewport its content has.
    AIRealMatrix ViewportMatrix(const pugi::xml_node& n, const Inherited& outside, Inherited& inside)
    {
        AIRealMatrix m = IdentityMatrix();
        double w = n.attribute("width") ? Attr(n, "width", Axis::kWidth, outside) : outside.viewportWidth;
        double h = n.attribute("height") ? Attr(n, "height", Axis::kHeight, outside) : outside.viewportHeight;
        inside.viewportWidth = w;
        inside.viewportHeight = h;
        double vb[4];
        if (ParseViewBox(n.attribute("viewBox").value(), vb)) {
            m = ViewBoxMatrix(vb, w, h, n.attribute("preserveAspectRatio").value());
            inside.viewportWidth = vb[2];
            inside.viewportHeight = vb[3];
        }
        m.tx += Attr(n, "x", Axis::kWidth, outside);
        m.ty += Attr(n, "y", Axis::kHeight, outside);
        return m;
    }

    void ReadUse(const pugi::xml_node& n, Art* parent, const AIRealMatrix& parentCtm, const AIRealMatrix& ctm,
                 const Inherited& in)
    {
        pugi::xml_node target = UseTarget(n);
        // A use inside its own target was found when the copies were counted: not expanded.
        if (!target || cyclicUses.count(n.internal_object())) return;
        AIRealMatrix placed =
            ConcatMatrix(AIRealMatrix{1, 0, 0, 1, Attr(n, "x", Axis::kWidth, in), Attr(n, "y", Axis::kHeight, in)}, ctm);
        if (LocalName(target) == "symbol") {
            Symbol* symbol = symbolsById[target.attribute("id").value()];
            if (!symbol) return;
            Art* art = NewDetachedArt(doc, ArtType::SymbolInstance);
            Attach(art, parent, n, parentCtm);
            art->symbol = symbol;
            AIRealMatrix userToArtwork = ConcatMatrix(SymbolViewBox(target, n, in), placed);
            AIRealMatrix fromDefinition;
            InvertMatrix(symbolSpace, fromDefinition);
            art->matrix = ConcatMatrix(fromDefinition, userToArtwork);
            art->fHidden = in.fHidden;
            KeepIfFinite(art, n);
            return;
        }
        // A use of plain content is a group of its copy; it stays a <use> in the file.
        if (expanding.count(target.internal_object())) return;
        expanding.insert(target.internal_object());
        Art* group = NewDetachedArt(doc, ArtType::Group);
        Attach(group, parent, n, parentCtm);
        ReadElement(target, group, placed, in);
        expanding.erase(target.internal_object());
        for (Art* child : group->children) DetachFromFile(child);
    }

    static void DetachFromFile(Art* art)
    {
        art->node = nullptr;
        art->fChanged = false;
        for (Art* child : art->children) DetachFromFile(child);
    }

    AIRealMatrix SymbolViewBox(const pugi::xml_node& symbol, const pugi::xml_node& use, const Inherited& in)
    {
        double vb[4];
        if (!ParseViewBox(symbol.attribute("viewBox").value(), vb)) return IdentityMatrix();
        if (use.attribute("width") && use.attribute("height"))
            return ViewBoxMatrix(vb, Attr(use, "width", Axis::kWidth, in), Attr(use, "height", Axis::kHeight, in),
                                 symbol.attribute("preserveAspectRatio").value());
        return AIRealMatrix{1, 0, 0, 1, -vb[0], -vb[1]};
    }

    // Text: tspans become runs, line tspans paragraphs ("\r"), a textPath makes it text on a path.
    void ReadText(const pugi::xml_node& n, Art* parent, const AIRealMatrix& parentCtm, const AIRealMatrix& ctm,
                  const Inherited& in)
    {
        Art* art = NewDetachedArt(doc, ArtType::TextFrame);
        Attach(art, parent, n, parentCtm);
        art->fHidden = in.fHidden;
        TextFrame& t = art->text;
        t.runs.clear();
        double scale = MatrixScale(ctm);
        AIRealMatrix flip{1, 0, 0, -1, 0, 0};
        AIRealMatrix linear = ctm;
        linear.tx = linear.ty = 0;
        t.matrix = ConcatMatrix(flip, linear);
        if (scale > 0) {
            t.matrix.a /= scale, t.matrix.b /= scale, t.matrix.c /= scale, t.matrix.d /= scale;
        }
        AIRealPoint origin{FirstCoordinate(n, "x", in), FirstCoordinate(n, "y", in)};
        bool lineStarted = false;
        bool preserve = std::string(n.attribute("xml:space").value()) == "preserve";
        textUnits = 0;
        placed.clear();
        positionStack.assign(1, PositionListsOf(n, in));
        ReadTextContent(n, art, ctm, in, preserve, lineStarted, origin, true);
        positionStack.clear();
        if (!preserve) TrimTrailingSpaces(art);
        t.anchor = TransformPoint(ctm, origin);
        t.positions = LayoutPositions(origin, scale);
        StyleMap ownStyle = ElementStyle(n, &sheet);
        auto inside = ownStyle.find("shape-inside");
        if (t.kind == TextKind::PointText && inside != ownStyle.end()) {
            if (Art* area = ShapeAsPath(n, inside->second, ctm, in)) {
                t.kind = TextKind::InPath;
                t.path = area;
            }
        }
        pugi::xml_attribute exact = n.attribute("travex:content");
        if (exact) {
            t.positions.clear();  // they named characters of the elements' text
            TextRun run;
            run.chars = t.runs.empty() ? in.chars : t.runs.front().chars;
            run.paras = t.runs.empty() ? in.paras : t.runs.front().paras;
            run.text = DecodeHostText(exact.value());
            t.runs.assign(1, run);
        }
        if (t.runs.empty()) {
            TextRun run;
            run.chars = in.chars;
            run.paras = in.paras;
            t.runs.push_back(run);
        }
        for (TextRun& run : t.runs) run.chars = ScaledChars(run.chars, scale);
        KeepIfFinite(art, n);
    }

    // --- the characters of a text and where the drawing places them ---

    // The x, y, dx and dy lists of a text element or a tspan, and how many characters have
    // taken a value of them.
    struct PositionLists {
        std::vector<double> x, y, dx, dy;
        size_t next = 0;
    };
    // A character's position as the file gives it, in user units.
    struct PlacedCharacter {
        int32_t iUnit = 0;
        bool fHasX = false, fHasY = false;
        double x = 0, y = 0, dx = 0, dy = 0;
    };
    std::vector<PositionLists> positionStack;  // the text element, then each open tspan
    std::vector<PlacedCharacter> placed;
    int32_t textUnits = 0;                     // UTF-16 units of the text read so far

    std::vector<double> LengthList(const pugi::xml_node& n, const char* name, const Inherited& in)
    {
        Axis axis = name[0] == 'x' || name[1] == 'x' ? Axis::kWidth : Axis::kHeight;
        std::string v = n.attribute(name).value();
        for (char& ch : v)
            if (ch == ',') ch = ' ';
        std::istringstream list(v);
        std::vector<double> values;
        double value = 0;
        for (std::string item; list >> item;) values.push_back(in.Length(item, axis, value) ? value : 0);
        return values;
    }

    PositionLists PositionListsOf(const pugi::xml_node& n, const Inherited& in)
    {
        PositionLists lists;
        lists.x = LengthList(n, "x", in);
        lists.y = LengthList(n, "y", in);
        lists.dx = LengthList(n, "dx", in);
        lists.dy = LengthList(n, "dy", in);
        return lists;
    }

    // The next character takes, for each list, the value of the innermost element that still
    // has one for it; every open element's count moves on (SVG's rule for nested lists).
    void PlaceNextCharacter()
    {
        PlacedCharacter c;
        c.iUnit = textUnits;
        auto pick = [&](std::vector<double> PositionLists::*list, bool* has, double* value) {
            for (auto it = positionStack.rbegin(); it != positionStack.rend(); ++it) {
                const std::vector<double>& values = (*it).*list;
                if (it->next < values.size()) {
                    *has = true;
                    *value = values[it->next];
                    return;
                }
            }
        };
        bool hasDx = false, hasDy = false;
        pick(&PositionLists::x, &c.fHasX, &c.x);
        pick(&PositionLists::y, &c.fHasY, &c.y);
        pick(&PositionLists::dx, &hasDx, &c.dx);
        pick(&PositionLists::dy, &hasDy, &c.dy);
        for (PositionLists& lists : positionStack) ++lists.next;
        if (c.fHasX || c.fHasY || hasDx || hasDy) placed.push_back(c);
    }

    // Characters of the text: each takes its place, then they join the runs.
    void AppendCharacters(Art* art, const Inherited& in, const std::string& text)
    {
        for (size_t i = 0; i < text.size();) {
            auto lead = static_cast<unsigned char>(text[i]);
            size_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            PlaceNextCharacter();
            textUnits += bytes == 4 ? 2 : 1;
            i += bytes;
        }
        AppendText(art, in, text);
    }

    // A line break between paragraphs; it is no character of the drawing's own.
    void AppendLineBreak(Art* art, const Inherited& in)
    {
        AppendText(art, in, "\r");
        ++textUnits;
    }

    static bool AtLineStart(const Art* art)
    {
        for (auto run = art->text.runs.rbegin(); run != art->text.runs.rend(); ++run)
            if (!run->text.empty()) return run->text.back() == '\r';
        return true;
    }

    static bool EndsWithSpace(const Art* art)
    {
        for (auto run = art->text.runs.rbegin(); run != art->text.runs.rend(); ++run)
            if (!run->text.empty()) return run->text.back() == ' ';
        return false;
    }

    // Collapsed white space does not survive at the end of a line or of the text.
    void TrimTrailingSpaces(Art* art)
    {
        std::vector<TextRun>& runs = art->text.runs;
        while (!runs.empty()) {
            std::string& text = runs.back().text;
            while (!text.empty() && text.back() == ' ') {
                text.pop_back();
                --textUnits;
            }
            if (!text.empty() || runs.size() == 1) break;
            runs.pop_back();
        }
        while (!placed.empty() && placed.back().iUnit >= textUnits) placed.pop_back();
    }

    // The positions relative to the text's origin, in the layout's points with v upward.
    std::vector<TextPosition> LayoutPositions(const AIRealPoint& origin, double scale) const
    {
        std::vector<TextPosition> positions;
        for (const PlacedCharacter& c : placed) {
            TextPosition p;
            p.iUnit = c.iUnit;
            p.fHasX = c.fHasX;
            p.fHasY = c.fHasY;
            p.x = (c.x - origin.h) * scale;
            p.y = -(c.y - origin.v) * scale;
            p.dx = c.dx * scale;
            p.dy = -c.dy * scale;
            positions.push_back(p);
        }
        return positions;
    }

    double FirstCoordinate(const pugi::xml_node& n, const char* name, const Inherited& in)
    {
        std::vector<double> values = LengthList(n, name, in);
        return values.empty() ? 0 : values.front();
    }

    void AppendText(Art* art, const Inherited& in, const std::string& text)
    {
        const CharFeatures& chars = in.chars;
        std::vector<TextRun>& runs = art->text.runs;
        if (!runs.empty() && runs.back().chars.fontFamily == chars.fontFamily &&
            runs.back().chars.fontSize == chars.fontSize && runs.back().chars.fontStyle == chars.fontStyle &&
            runs.back().chars.fFillOn == chars.fFillOn && runs.back().chars.fStrokeOn == chars.fStrokeOn &&
            runs.back().chars.tracking == chars.tracking && runs.back().paras.justification == in.paras.justification) {
            runs.back().text += text;
            return;
        }
        TextRun run;
        run.chars = chars;
        run.paras = in.paras;
        run.text = text;
        runs.push_back(run);
    }

    void ReadTextContent(const pugi::xml_node& n, Art* art, const AIRealMatrix& ctm, const Inherited& in,
                         bool preserve, bool& lineStarted, AIRealPoint& origin, bool isTextElement)
    {
        for (pugi::xml_node child : n.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                std::string text = child.value();
                if (!preserve) {
                    std::string collapsed;
                    for (char ch : text) {
                        if (ch == '\n' || ch == '\r') continue;
                        if (ch == '\t') ch = ' ';
                        if (ch == ' ' && !collapsed.empty() && collapsed.back() == ' ') continue;
                        collapsed += ch;
                    }
                    text = collapsed;
                    // No space opens a line, nor follows another across elements.
                    if (!text.empty() && text.front() == ' ' && (AtLineStart(art) || EndsWithSpace(art)))
                        text.erase(0, 1);
                }
                if (!text.empty()) {
                    AppendCharacters(art, in, text);
                    lineStarted = true;
                }
                continue;
            }
            if (child.type() != pugi::node_element) continue;
            std::string name = LocalName(child);
            if (name != "tspan" && name != "textPath") continue;
            Inherited sub = in;
            ApplyStyle(ElementStyle(child, &sheet), sub);
            bool childPreserve = preserve || std::string(child.attribute("xml:space").value()) == "preserve";
            // A tspan given its own baseline (y) is a line of its own; one given only x starts a
            // new chunk on the same line, placed by its position.
            bool newLine = std::string(child.attribute("sodipodi:role").value()) == "line" ||
                           (name == "tspan" && child.attribute("y"));
            if (newLine && lineStarted) {
                if (!preserve) TrimTrailingSpaces(art);
                AppendLineBreak(art, sub);
            }
            if (newLine && !lineStarted && isTextElement && art->text.runs.empty() && !n.attribute("x")) {
                origin = AIRealPoint{FirstCoordinate(child, "x", sub), FirstCoordinate(child, "y", sub)};
            }
            if (newLine) lineStarted = true;
            if (name == "textPath") ReadTextPath(child, art, ctm, sub);
            positionStack.push_back(PositionListsOf(child, sub));
            ReadTextContent(child, art, ctm, sub, childPreserve, lineStarted, origin, false);
            positionStack.pop_back();
        }
    }

    // The shape an id names (a path, a rectangle...) as one path in artwork points, kept out of
    // every tree: the path of a text in or on a path. Only a shape is followed, never a text or
    // a group, so a text reaches no other text through its paths.
    Art* ShapeAsPath(const pugi::xml_node& from, const std::string& reference, const AIRealMatrix& ctm,
                     const Inherited& context)
    {
        std::string id = reference;
        if (id.rfind("url(", 0) == 0) id = TrimCssSpace(id.substr(4, id.find(')') == std::string::npos ? std::string::npos : id.find(')') - 4));
        auto target = id.size() >= 2 && id[0] == '#' ? ids.find(id.substr(1)) : ids.end();
        if (target == ids.end() || !IsShape(target->second)) {
            Warn(from, target == ids.end() ? "names no shape (" + reference + "); set as point text"
                                           : "names a <" + LocalName(target->second) + ">, not a shape (" + reference +
                                                 "); set as point text");
            return nullptr;
        }
        Art* holder = NewDetachedArt(doc, ArtType::Group);
        holder->fDisposed = true;
        Inherited in;
        in.style.fFillPaint = true;
        in.viewportWidth = context.viewportWidth;
        in.viewportHeight = context.viewportHeight;
        ReadElement(target->second, holder, ctm, in);
        Art* path = holder->children.empty() ? nullptr : holder->children.front();
        if (path && path->type == ArtType::CompoundPath && !path->children.empty()) path = path->children.front();
        if (!path || path->type != ArtType::Path) return nullptr;
        path->parent = nullptr;
        path->layer = nullptr;
        path->node = nullptr;
        path->fChanged = false;
        return path;
    }

    void ReadTextPath(const pugi::xml_node& n, Art* art, const AIRealMatrix& ctm, const Inherited& in)
    {
        std::string href = n.attribute("xlink:href").value();
        if (href.empty()) href = n.attribute("href").value();
        Art* path = ShapeAsPath(n, href, ctm, in);
        if (!path) return;
        art->text.kind = TextKind::OnPath;
        art->text.path = path;
        // Positions along the path count segments: 1.5 is half-way along the second.
        double curves = static_cast<double>(path->segments.size()) - (path->fClosed ? 0 : 1);
        art->text.startT = 0;
        art->text.endT = std::max(curves, 0.0);
        std::string offset = n.attribute("startOffset").value();
        if (!offset.empty() && offset.back() == '%')
            art->text.startT = std::clamp(std::strtod(offset.c_str(), nullptr) / 100.0, 0.0, 1.0) * art->text.endT;
        pugi::xml_attribute start = n.attribute("travex:start"), end = n.attribute("travex:end");
        if (start) art->text.startT = std::strtod(start.value(), nullptr);
        if (end) art->text.endT = std::strtod(end.value(), nullptr);
    }

    static bool ParseViewBox(const char* text, double vb[4])
    {
        std::string v = text ? text : "";
        if (TrimCssSpace(v).empty()) return false;
        for (char& ch : v)
            if (ch == ',') ch = ' ';
        std::istringstream in(v);
        if (!(in >> vb[0] >> vb[1] >> vb[2] >> vb[3])) return false;
        return vb[2] > 0 && vb[3] > 0;
    }

    // Maps a viewBox onto a viewport of width w and height h, by preserveAspectRatio.
    static AIRealMatrix ViewBoxMatrix(const double vb[4], double w, double h, const char* aspect)
    {
        std::string par = aspect ? aspect : "";
        double sx = w / vb[2], sy = h / vb[3];
        double tx = 0, ty = 0;
        if (par.find("none") == std::string::npos) {
            bool slice = par.find("slice") != std::string::npos;
            double s = slice ? std::max(sx, sy) : std::min(sx, sy);
            double extraW = w - vb[2] * s, extraH = h - vb[3] * s;
            double fx = 0.5, fy = 0.5;
            if (par.find("xMin") != std::string::npos) fx = 0;
            if (par.find("xMax") != std::string::npos) fx = 1;
            if (par.find("YMin") != std::string::npos) fy = 0;
            if (par.find("YMax") != std::string::npos) fy = 1;
            sx = sy = s;
            tx = extraW * fx;
            ty = extraH * fy;
        }
        return AIRealMatrix{sx, 0, 0, sy, tx - vb[0] * sx, ty - vb[1] * sy};
    }

    // --- what the references of the drawing cost, counted before anything is read ---

    static constexpr uint64_t kMaxObjects = 2000000;    // art objects, copies included
    static constexpr uint64_t kMaxPoints = 20000000;    // path points, copies included
    static constexpr int kMaxCopyLevels = 150;          // copies inside copies
    static constexpr int kMaxReadNesting = 600;         // elements inside elements, through copies

    std::string filePath;
    const std::string* fileBytes = nullptr;
    std::vector<size_t> lineStarts;                     // made when the first warning needs a line
    std::set<pugi::xml_node_struct*> cyclicUses;        // uses inside their own targets
    Inherited rootContext;                              // the root's viewport, default font and fill

    // The element a use or a text path names, or a null node.
    pugi::xml_node UseTarget(const pugi::xml_node& n)
    {
        std::string href = n.attribute("xlink:href").value();
        if (href.empty()) href = n.attribute("href").value();
        if (href.size() < 2 || href[0] != '#') return {};
        auto target = ids.find(href.substr(1));
        return target == ids.end() ? pugi::xml_node() : target->second;
    }

    static bool IsShape(const pugi::xml_node& n)
    {
        static const std::set<std::string> shapes = {"path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};
        return shapes.count(LocalName(n)) > 0;
    }

    // "FILE:LINE: <tag id="x">", the element as a user finds it in the file.
    std::string Where(const pugi::xml_node& n)
    {
        std::string where = filePath;
        ptrdiff_t offset = n.offset_debug();
        if (fileBytes && offset >= 0 && static_cast<size_t>(offset) <= fileBytes->size()) {
            if (lineStarts.empty()) {
                lineStarts.push_back(0);
                for (size_t i = 0; i < fileBytes->size(); ++i)
                    if ((*fileBytes)[i] == '\n') lineStarts.push_back(i + 1);
            }
            size_t line = static_cast<size_t>(
                std::upper_bound(lineStarts.begin(), lineStarts.end(), static_cast<size_t>(offset)) - lineStarts.begin());
            where += ":" + std::to_string(line);
        }
        where += ": <" + LocalName(n);
        if (n.attribute("id")) where += " id=\"" + std::string(n.attribute("id").value()) + "\"";
        return where + ">";
    }

    void Warn(const pugi::xml_node& n, const std::string& reason)
    {
        doc.loadWarnings.push_back(Where(n) + ": " + reason);
    }

    // What reading an element makes: art objects and path points with every copy, and how
    // deep its copies and elements go.
    struct Cost {
        uint64_t objects = 0;
        uint64_t points = 0;
        int copyLevels = 0;
        int nesting = 0;
    };
    struct CountState {
        std::unordered_map<pugi::xml_node_struct*, Cost> done;
        std::set<pugi::xml_node_struct*> open;  // being counted: a reference to one is a cycle
        std::string error;
    };

    // Numbers in a points list or path data: an upper bound of the points they make.
    static uint64_t NumbersIn(const char* text)
    {
        uint64_t count = 0;
        bool inNumber = false;
        for (const char* p = text; *p; ++p) {
            bool part = std::isdigit(static_cast<unsigned char>(*p)) || *p == '.';
            if (part && !inNumber) ++count;
            inNumber = part || ((*p == 'e' || *p == 'E') && inNumber);
        }
        return count;
    }

    // A path of several subpaths is a compound path with a member for each.
    static uint64_t OwnObjects(const pugi::xml_node& n, const std::string& name)
    {
        if (name != "path") return 1;
        uint64_t moves = 0;
        for (const char* p = n.attribute("d").value(); *p; ++p) moves += *p == 'M' || *p == 'm';
        return 1 + moves;
    }

    static uint64_t OwnPoints(const pugi::xml_node& n, const std::string& name)
    {
        if (name == "path") return NumbersIn(n.attribute("d").value()) + 1;
        if (name == "polyline" || name == "polygon") return NumbersIn(n.attribute("points").value()) / 2 + 1;
        if (name == "rect" || name == "circle" || name == "ellipse") return 9;
        if (name == "line") return 2;
        if (name == "text" || name == "tspan" || name == "textPath") {  // each character an outline, a label
            uint64_t characters = 0;
            for (pugi::xml_node child : n.children())
                if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) characters += std::strlen(child.value());
            return characters;
        }
        return 0;
    }

    // The referenced element a use copies, a text path follows or a text flows into.
    pugi::xml_node ReferenceOf(const pugi::xml_node& n, const std::string& name)
    {
        if (name == "use") return UseTarget(n);
        if (name == "textPath") {
            pugi::xml_node target = UseTarget(n);
            return target && IsShape(target) ? target : pugi::xml_node();
        }
        if (name == "text" && std::strstr(n.attribute("style").value(), "shape-inside")) {
            for (auto& [key, value] : ReadCssDeclarations(n.attribute("style").value())) {
                if (key != "shape-inside" || value.rfind("url(#", 0) != 0) continue;
                auto target = ids.find(value.substr(5, value.find(')') - 5));
                if (target != ids.end() && IsShape(target->second)) return target->second;
            }
        }
        return {};
    }

    bool Refuse(CountState& state, const pugi::xml_node& n, const std::string& reason)
    {
        if (state.error.empty()) state.error = Where(n) + ": " + reason + "; the drawing is not read";
        return false;
    }

    // Counts each element once, in document order; `levels` and `nesting` are those of the
    // way it was reached, which the limits take together with what lies below.
    bool CountElement(const pugi::xml_node& n, int levels, int nesting, CountState& state, Cost& cost)
    {
        if (nesting > kMaxReadNesting)  // before going deeper: the count itself keeps to the stack
            return Refuse(state, n, "nested more than " + std::to_string(kMaxReadNesting) + " elements deep with its copies");
        auto known = state.done.find(n.internal_object());
        if (known != state.done.end()) {
            cost = known->second;
            return true;
        }
        std::string name = LocalName(n);
        cost = Cost{OwnObjects(n, name), OwnPoints(n, name), 0, 1};
        state.open.insert(n.internal_object());
        auto add = [&](const Cost& part, int moreLevels) {
            cost.objects = std::min(cost.objects + part.objects, kMaxObjects + 1);
            cost.points = std::min(cost.points + part.points, kMaxPoints + 1);
            cost.copyLevels = std::max(cost.copyLevels, part.copyLevels + moreLevels);
            cost.nesting = std::max(cost.nesting, part.nesting + 1);
        };
        for (pugi::xml_node child : n.children()) {
            if (child.type() != pugi::node_element) continue;
            Cost part;
            if (!CountElement(child, levels, nesting + 1, state, part)) return false;
            add(part, 0);
        }
        if (pugi::xml_node target = ReferenceOf(n, name)) {
            if (state.open.count(target.internal_object())) {
                if (name == "use") {
                    cyclicUses.insert(n.internal_object());
                    Warn(n, "lies inside what it places (#" + std::string(target.attribute("id").value()) +
                                "); not expanded");
                }
            } else {
                if (levels + 1 > kMaxCopyLevels)
                    return Refuse(state, n, "copies nested more than " + std::to_string(kMaxCopyLevels) + " levels deep");
                Cost part;
                if (!CountElement(target, levels + 1, nesting + 1, state, part)) return false;
                add(part, 1);
            }
        }
        state.open.erase(n.internal_object());
        if (levels + cost.copyLevels > kMaxCopyLevels)
            return Refuse(state, n, "copies nested more than " + std::to_string(kMaxCopyLevels) + " levels deep");
        if (nesting + cost.nesting > kMaxReadNesting)
            return Refuse(state, n, "nested more than " + std::to_string(kMaxReadNesting) + " elements deep with its copies");
        if (cost.objects > kMaxObjects)
            return Refuse(state, n, "makes more than " + std::to_string(kMaxObjects) + " objects with its copies");
        if (cost.points > kMaxPoints)
            return Refuse(state, n, "makes more than " + std::to_string(kMaxPoints) + " path points with its copies");
        state.done[n.internal_object()] = cost;
        return true;
    }

    // The whole drawing counted; false with the reason when reading it would take too much.
    bool CountReferences(const pugi::xml_node& root, std::string& error)
    {
        CountState state;
        Cost cost;
        if (CountElement(root, 0, 0, state, cost)) return true;
        error = state.error;
        return false;
    }

    void CollectIds(const pugi::xml_node& n)
    {
        for (pugi::xml_node child : n.children()) {
            if (child.type() != pugi::node_element) continue;
            pugi::xml_attribute id = child.attribute("id");
            if (id && !ids.count(id.value())) ids[id.value()] = child;
            CollectIds(child);
        }
    }

    void ReadSymbols()
    {
        for (auto& [id, node] : ids) {
            if (LocalName(node) != "symbol") continue;
            doc.symbolPool.push_back(std::make_unique<Symbol>());
            Symbol* symbol = doc.symbolPool.back().get();
            symbol->name = id;
            symbol->node = node.internal_object();
            symbolsById[id] = symbol;
            doc.symbols.push_back(symbol);
        }
        // Definitions after all symbols exist, so a symbol may place another.
        for (Symbol* symbol : doc.symbols) {
            pugi::xml_node node(symbol->node);
            Art* group = NewDetachedArt(doc, ArtType::Group);
            group->fChanged = false;
            group->elementName = "symbol";
            group->name = symbol->name;  // the id of the <symbol> element it stands for
            group->node = symbol->node;
            group->contentMatrix = symbolSpace;
            Inherited in = rootContext;
            double vb[4];
            if (ParseViewBox(node.attribute("viewBox").value(), vb)) {
                in.viewportWidth = vb[2];
                in.viewportHeight = vb[3];
            }
            ApplyStyle(ElementStyle(node, &sheet), in);
            for (pugi::xml_node child : node.children()) ReadElement(child, group, symbolSpace, in);
            symbol->definition = group;
        }
        std::set<Symbol*> done, open;
        for (Symbol* symbol : doc.symbols) BreakSymbolCycles(symbol, done, open);
    }

    // A symbol that places itself, directly or through others, would be endless: such an
    // instance is dropped.
    void BreakSymbolCycles(Symbol* symbol, std::set<Symbol*>& done, std::set<Symbol*>& open)
    {
        if (done.count(symbol)) return;
        open.insert(symbol);
        DropCyclicInstances(symbol->definition, done, open);
        open.erase(symbol);
        done.insert(symbol);
    }

    void DropCyclicInstances(Art* art, std::set<Symbol*>& done, std::set<Symbol*>& open)
    {
        for (size_t i = 0; i < art->children.size();) {
            Art* child = art->children[i];
            if (child->type == ArtType::SymbolInstance && child->symbol) {
                if (open.count(child->symbol)) {
                    art->children.erase(art->children.begin() + static_cast<std::ptrdiff_t>(i));
                    child->fDisposed = true;
                    child->node = nullptr;  // the file keeps its element as it is
                    continue;
                }
                BreakSymbolCycles(child->symbol, done, open);
            }
            DropCyclicInstances(child, done, open);
            ++i;
        }
    }
};

void ReadLayerFlags(const pugi::xml_node& n, Layer* layer, const StyleMap& style)
{
    auto it = style.find("display");
    if (it != style.end() && it->second == "none") layer->fVisible = false;
    it = style.find("visibility");
    if (it != style.end() && (it->second == "hidden" || it->second == "collapse")) layer->fVisible = false;
    if (std::string(n.attribute("sodipodi:insensitive").value()) == "true") layer->fEditable = false;
    if (std::string(n.attribute("travex:preview").value()) == "false") layer->fPreview = false;
    if (std::string(n.attribute("travex:printed").value()) == "false") layer->fPrinted = false;
}

// Reading and writing walk the tree recursively; a file nested deeper than any drawing is refused.
constexpr int kMaxNesting = 500;

int NestingDepth(const pugi::xml_document& xml)
{
    int depth = 0, deepest = 0;
    pugi::xml_node n = xml.first_child();
    while (n) {
        if (n.first_child()) {
            n = n.first_child();
            deepest = std::max(deepest, ++depth);
            continue;
        }
        while (n && !n.next_sibling()) {
            n = n.parent();
            --depth;
            if (n == xml) return deepest;
        }
        if (n) n = n.next_sibling();
    }
    return deepest;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error)
{
    FileStep step = FileStep::kNone;
    const int failure = ReadWholeFile(path, SIZE_MAX, &bytes, &step);
    if (failure == 0) return true;
    error = step == FileStep::kOpen ? path + ": cannot be opened: " + std::strerror(failure) : path + ": cannot be read";
    return false;
}

}  // namespace

namespace {

// The first element, in document order, with two attributes of one name; none when there is none.
pugi::xml_node ElementWithAttributeTwice(const pugi::xml_document& xml)
{
    pugi::xml_node n = xml.first_child();
    while (n) {
        if (n.type() == pugi::node_element)
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
                for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute())
                    if (std::strcmp(a.name(), b.name()) == 0) return n;
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling()) n = n.parent();
        if (n) n = n.next_sibling();
    }
    return pugi::xml_node();
}

}  // namespace

bool LoadSvgDocument(const std::string& path, Document& doc, std::string& error)
{
    // A document read again starts over; handles to what it held before stay safe to test.
    for (auto& art : doc.artPool) art->fDisposed = true;
    for (auto& layer : doc.layerPool) layer->fDisposed = true;
    doc.layers.clear();
    doc.symbols.clear();
    doc.currentLayer = nullptr;
    doc.fileName = path;
    doc.fLoadFailed = true;
    doc.loadWarnings.clear();
    doc.svg = std::make_unique<SvgSource>();
    SvgSource& svg = *doc.svg;
    if (!ReadFileBytes(path, svg.originalBytes, error)) return false;
    // Whitespace, comments and the prolog are kept so a save changes only what changed.
    unsigned options = pugi::parse_full | pugi::parse_ws_pcdata;
    pugi::xml_parse_result result =
        svg.xml.load_buffer(svg.originalBytes.data(), svg.originalBytes.size(), options, pugi::encoding_auto);
    if (!result) {
        size_t offset = std::min(static_cast<size_t>(result.offset), svg.originalBytes.size());
        size_t line = 1 + static_cast<size_t>(std::count(svg.originalBytes.begin(),
                                                          svg.originalBytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        error = path + ":" + std::to_string(line) + ": not well-formed XML: " + result.description();
        return false;
    }
    pugi::xml_node root = svg.xml.document_element();
    if (NestingDepth(svg.xml) > kMaxNesting) {
        error = path + ": nested more than " + std::to_string(kMaxNesting) + " elements deep";
        return false;
    }
    // An attribute given twice makes the file not well-formed XML (the parser lets it pass):
    // which of the two a renderer takes is nobody's guess, and a save would keep the other.
    if (pugi::xml_node twice = ElementWithAttributeTwice(svg.xml)) {
        size_t offset = std::min(static_cast<size_t>(twice.offset_debug() < 0 ? 0 : twice.offset_debug()),
                                 svg.originalBytes.size());
        size_t line = 1 + static_cast<size_t>(std::count(svg.originalBytes.begin(),
                                                          svg.originalBytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        error = path + ":" + std::to_string(line) + ": not well-formed XML: <" + twice.name() +
                "> gives an attribute twice";
        return false;
    }
    // Offsets into the file hold only when the parser did not convert it from another encoding.
    if (result.encoding == pugi::encoding_utf8) IndexSvgSource(svg);
    if (!root || LocalName(root) != "svg") {
        error = path + ": not an SVG drawing (the root element is <" + std::string(root ? root.name() : "") + ">)";
        return false;
    }

    // Canvas size in points and the user-space mapping.
    double vb[4];
    bool hasViewBox = Reader::ParseViewBox(root.attribute("viewBox").value(), vb);
    double widthPt = 0, heightPt = 0;
    pugi::xml_attribute wa = root.attribute("width"), ha = root.attribute("height");
    std::string ws = wa.value(), hs = ha.value();
    bool widthOk = wa && ws.find('%') == std::string::npos && ParseSvgLength(ws.c_str(), 0, widthPt) && widthPt > 0;
    bool heightOk = ha && hs.find('%') == std::string::npos && ParseSvgLength(hs.c_str(), 0, heightPt) && heightPt > 0;
    if (!widthOk) widthPt = hasViewBox ? (heightOk ? heightPt * vb[2] / vb[3] : vb[2] * 0.75) : 612;
    if (!heightOk) heightPt = hasViewBox ? (widthOk ? widthPt * vb[3] / vb[2] : vb[3] * 0.75) : 792;
    doc.width = widthPt;
    doc.height = heightPt;
    AIRealMatrix userToCanvas{0.75, 0, 0, 0.75, 0, 0};  // canvas points, y down
    if (hasViewBox)
        userToCanvas = Reader::ViewBoxMatrix(vb, widthPt, heightPt, root.attribute("preserveAspectRatio").value());
    doc.userToArtwork = ConcatMatrix(userToCanvas, AIRealMatrix{1, 0, 0, -1, 0, heightPt});

    Reader reader(doc);
    reader.filePath = path;
    reader.fileBytes = &svg.originalBytes;
    reader.rootContext.style.fFillPaint = true;  // SVG fills black by default
    reader.rootContext.chars.fontSize = 16;
    reader.rootContext.viewportWidth = hasViewBox ? vb[2] : widthPt / 0.75;
    reader.rootContext.viewportHeight = hasViewBox ? vb[3] : heightPt / 0.75;
    CollectStyleSheets(root, reader.sheet);
    reader.symbolSpace = doc.userToArtwork;
    reader.symbolSpace.tx = reader.symbolSpace.ty = 0;
    reader.CollectIds(root);
    // Copies of copies are counted first: a drawing that would take more than any drawing
    // needs is refused before memory is taken.
    if (!reader.CountReferences(root, error)) {
        doc.loadWarnings.clear();
        return false;
    }
    reader.ReadSymbols();

    Inherited top = reader.rootContext;
    ApplyStyle(ElementStyle(root, &reader.sheet), top);
    Layer* rootLayer = nullptr;
    int unnamed = 0;
    for (pugi::xml_node child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        std::string name = LocalName(child);
        if (name == "g") {
            doc.layerPool.push_back(std::make_unique<Layer>());
            Layer* layer = doc.layerPool.back().get();
            layer->doc = &doc;
            layer->node = child.internal_object();
            std::string label = child.attribute("inkscape:label").value();
            std::string id = child.attribute("id").value();
            layer->title = !label.empty() ? label : !id.empty() ? id : "Layer " + std::to_string(++unnamed);
            StyleMap style = ElementStyle(child, &reader.sheet);
            ReadLayerFlags(child, layer, style);
            Art* group = NewDetachedArt(doc, ArtType::Group);
            group->layer = layer;
            reader.Attach(group, nullptr, child, doc.userToArtwork);
            layer->group = group;
            AIRealMatrix ctm = reader.ElementMatrix(child, doc.userToArtwork);
            Inherited in = top;
            ApplyStyle(style, in);
            in.fHidden = false;  // a hidden layer is the layer's flag, not its art's
            in.opacity = 1;
            for (pugi::xml_node grandchild : child.children()) reader.ReadElement(grandchild, group, ctm, in);
            doc.layers.insert(doc.layers.begin(), layer);  // later layers are on top
            continue;
        }
        static const char* notArt[] = {"defs", "symbol", "metadata", "title", "desc", "style", "script",
                                       "namedview", "sodipodi:namedview", "clipPath", "mask", "pattern",
                                       "marker", "linearGradient", "radialGradient", "filter"};
        bool skip = false;
        for (const char* n : notArt)
            if (name == n) skip = true;
        if (skip || child.name()[0] == '\0' || std::string(child.name()).find(':') != std::string::npos) continue;
        if (!rootLayer) {
            // Drawing content outside any group: a layer of its own, written back in place.
            doc.layerPool.push_back(std::make_unique<Layer>());
            rootLayer = doc.layerPool.back().get();
            rootLayer->doc = &doc;
            rootLayer->title = "(content outside layers)";
            rootLayer->fRootContent = true;
            rootLayer->node = root.internal_object();
            Art* group = NewDetachedArt(doc, ArtType::Group);
            group->layer = rootLayer;
            reader.Attach(group, nullptr, root, doc.userToArtwork);
            rootLayer->group = group;
            doc.layers.insert(doc.layers.begin(), rootLayer);
        }
        reader.ReadElement(child, rootLayer->group, doc.userToArtwork, top);
    }
    doc.currentLayer = doc.layers.empty() ? nullptr : doc.layers.front();
    for (auto& art : doc.artPool) {
        art->fChanged = false;
        art->fChildrenChanged = false;
    }
    doc.fChanged = false;
    doc.fLoadFailed = false;
    // What could not be read is said, element by element: no art goes without a word.
    for (const std::string& warning : doc.loadWarnings) std::fprintf(stderr, "travex-host: warning: %s\n", warning.c_str());
    error.clear();
    return true;
}

}  // namespace host
