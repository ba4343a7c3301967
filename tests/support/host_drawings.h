// Art of the host's documents found by the SVG id it was read from, for the tests of the
// host and of the plug-in on it.
#pragma once

#include "host/document/document.h"

#include <string>

namespace onhost {

inline host::Art* FindIn(host::Art* art, const std::string& name)
{
    if (!art) return nullptr;
    if (art->name == name) return art;
    for (host::Art* child : art->children)
        if (host::Art* found = FindIn(child, name)) return found;
    return nullptr;
}

// The art of that SVG id in the layers, else in the symbols' definitions.
inline host::Art* FindArt(const host::Document& doc, const std::string& name)
{
    for (host::Layer* layer : doc.layers)
        if (host::Art* found = FindIn(layer->group, name)) return found;
    for (host::Symbol* symbol : doc.symbols)
        if (host::Art* found = FindIn(symbol->definition, name)) return found;
    return nullptr;
}

}  // namespace onhost
