// Shared by the SVG fuzz targets: loading an input as a drawing file, walking every art of
// a document, and comparing two listings of a document with the rounding a save may add.
#pragma once

#include "host/document/document.h"
#include "host/svg/svg_file.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

namespace fuzz {

// Calls visit on every art of the document: layers' trees, symbol definitions, text paths.
inline void ForEachArt(const host::Document& doc, const std::function<void(const host::Art&)>& visit)
{
    std::function<void(const host::Art*)> walk = [&](const host::Art* art) {
        if (art == nullptr)
            return;
        visit(*art);
        walk(art->text.path);
        walk(art->pluginResult);
        for (const host::Art* child : art->children)
            walk(child);
    };
    for (const host::Layer* layer : doc.layers)
        walk(layer->group);
    for (const host::Symbol* symbol : doc.symbols)
        walk(symbol->definition);
}

inline bool FinitePoint(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

inline bool FiniteMatrix(const AIRealMatrix& m)
{
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

// The listing without its first line, which names the file.
inline std::string ListingBody(const host::Document& doc)
{
    std::string listing = host::DocumentListing(doc);
    size_t line = listing.find('\n');
    return line == std::string::npos ? "" : listing.substr(line + 1);
}

// Two listings alike but for numbers that differ by what writing 12 significant digits
// and printing 3 decimals can make of them; the first difference, or empty.
inline std::string ListingDifference(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    auto numberStart = [](const std::string& s, size_t at) {
        return at < s.size() && (std::isdigit(static_cast<unsigned char>(s[at])) ||
                                 (s[at] == '-' && at + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[at + 1]))));
    };
    while (i < a.size() && j < b.size()) {
        if (numberStart(a, i) && numberStart(b, j) && (i == 0 || !std::isalnum(static_cast<unsigned char>(a[i - 1])))) {
            char* endA = nullptr;
            char* endB = nullptr;
            double x = std::strtod(a.c_str() + i, &endA);
            double y = std::strtod(b.c_str() + j, &endB);
            if (std::fabs(x - y) > 2e-3 + 1e-9 * (std::fabs(x) + std::fabs(y)))
                return "at " + std::to_string(i) + ": " + a.substr(i, 40) + " | " + b.substr(j, 40);
            i = endA - a.c_str();
            j = endB - b.c_str();
            continue;
        }
        if (a[i] != b[j])
            return "at " + std::to_string(i) + ": " + a.substr(i, 40) + " | " + b.substr(j, 40);
        ++i;
        ++j;
    }
    if (i != a.size() || j != b.size())
        return "one listing is longer: " + a.substr(i, 40) + " | " + b.substr(j, 40);
    return "";
}

}  // namespace fuzz
