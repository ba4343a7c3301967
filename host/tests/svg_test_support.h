// Helpers shared by the SVG tests: finding art by id, files in a test folder.
#pragma once

#include "host/document/document.h"
#include "tests/support/temp_home.h"

#include <fstream>
#include <sstream>
#include <string>

namespace svgtest {

inline host::Art* FindIn(host::Art* art, const std::string& name)
{
    if (!art) return nullptr;
    if (art->name == name) return art;
    for (host::Art* child : art->children)
        if (host::Art* found = FindIn(child, name)) return found;
    return nullptr;
}

inline host::Art* FindArt(const host::Document& doc, const std::string& name)
{
    for (host::Layer* layer : doc.layers)
        if (host::Art* found = FindIn(layer->group, name)) return found;
    for (host::Symbol* symbol : doc.symbols)
        if (host::Art* found = FindIn(symbol->definition, name)) return found;
    return nullptr;
}

inline std::string Example(const std::string& name)
{
    return std::string(TRAVEX_SOURCE_DIR) + "/examples/" + name;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The listing without its first line, which names the file.
inline std::string ListingBody(const host::Document& doc)
{
    std::string listing = host::DocumentListing(doc);
    return listing.substr(listing.find('\n') + 1);
}

}  // namespace svgtest
