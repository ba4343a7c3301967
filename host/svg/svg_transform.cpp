// SVG transform lists and lengths with units.
#include "host/svg/svg_source.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace host {

namespace {

void SkipSpaceAndCommas(const char*& p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == ',') ++p;
}

bool ReadNumber(const char*& p, double& value)
{
    SkipSpaceAndCommas(p);
    char* end = nullptr;
    value = std::strtod(p, &end);
    if (end == p || !std::isfinite(value)) return false;
    p = end;
    return true;
}

// Products of numbers each in range may not be: a matrix beyond them, or whose scale of
// areas is (what stroke widths and font sizes take), is no transform.
bool MatrixFinite(const AIRealMatrix& m)
{
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty) && std::isfinite(m.a * m.d - m.b * m.c);
}

}  // namespace

AIRealMatrix ElementTransform(const pugi::xml_node& node)
{
    AIRealMatrix t;
    if (!ParseSvgTransform(node.attribute("transform").value(), t)) t = IdentityMatrix();
    return t;
}

double MatrixScale(const AIRealMatrix& m)
{
    return std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
}

bool ParseSvgTransform(const char* text, AIRealMatrix& matrix)
{
    matrix = IdentityMatrix();
    if (!text) return true;
    const char* p = text;
    for (;;) {
        SkipSpaceAndCommas(p);
        if (!*p) return MatrixFinite(matrix);
        const char* nameStart = p;
        while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
        std::string name(nameStart, p);
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        if (name.empty() || *p != '(') return false;
        ++p;
        double n[6];
        int count = 0;
        for (;;) {
            SkipSpaceAndCommas(p);
            if (*p == ')') {
                ++p;
                break;
            }
            if (count == 6 || !ReadNumber(p, n[count])) return false;
            ++count;
        }
        AIRealMatrix t = IdentityMatrix();
        if (name == "matrix" && count == 6) {
            t = AIRealMatrix{n[0], n[1], n[2], n[3], n[4], n[5]};
        } else if (name == "translate" && (count == 1 || count == 2)) {
            t.tx = n[0];
            t.ty = count == 2 ? n[1] : 0;
        } else if (name == "scale" && (count == 1 || count == 2)) {
            t.a = n[0];
            t.d = count == 2 ? n[1] : n[0];
        } else if (name == "rotate" && (count == 1 || count == 3)) {
            double r = n[0] * M_PI / 180.0;
            AIRealMatrix rot{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
            if (count == 3) {
                AIRealMatrix to{1, 0, 0, 1, -n[1], -n[2]}, back{1, 0, 0, 1, n[1], n[2]};
                t = ConcatMatrix(ConcatMatrix(to, rot), back);
            } else {
                t = rot;
            }
        } else if (name == "skewX" && count == 1) {
            t.c = std::tan(n[0] * M_PI / 180.0);
        } else if (name == "skewY" && count == 1) {
            t.b = std::tan(n[0] * M_PI / 180.0);
        } else {
            return false;
        }
        // The rightmost transform of the list applies first.
        matrix = ConcatMatrix(t, matrix);
    }
}

bool ParseSvgLength(const char* text, double reference, double& points)
{
    return ParseSvgLength(text, reference, 12, points);
}

bool ParseSvgLength(const char* text, double reference, double fontSize, double& points)
{
    if (!text) return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
    char* end = nullptr;
    double value = std::strtod(p, &end);
    if (end == p || !std::isfinite(value)) return false;
    std::string unit(end);
    while (!unit.empty() && std::isspace(static_cast<unsigned char>(unit.back()))) unit.pop_back();
    double scale;
    if (unit.empty() || unit == "px") scale = 0.75;  // a CSS pixel is 1/96 inch
    else if (unit == "pt") scale = 1;
    else if (unit == "pc") scale = 12;
    else if (unit == "in") scale = 72;
    else if (unit == "mm") scale = 72 / 25.4;
    else if (unit == "cm") scale = 72 / 2.54;
    else if (unit == "Q") scale = 72 / 101.6;
    else if (unit == "%") scale = reference / 100;
    else if (unit == "em") scale = fontSize;
    else if (unit == "ex") scale = fontSize / 2;  // the x-height as renderers take it without the font
    else return false;
    // A length beyond the range of a double in points is no length.
    points = value * scale;
    return std::isfinite(points);
}

}  // namespace host
