#include "host/suites/art_handles.h"

#include "host/session/host_session.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace host {
namespace {

// Every art the document ever made, so a handle is looked up before it is followed. The art
// pool only grows, so the index catches up with its new entries.
struct ArtIndex {
    const Document* doc = nullptr;
    const Art* first = nullptr;
    const Art* last = nullptr;
    size_t indexed = 0;
    std::unordered_set<const Art*> known;
};

ArtIndex& IndexOf(const Document& doc)
{
    static ArtIndex index;
    const auto& pool = doc.artPool;
    bool same = index.doc == &doc && index.indexed <= pool.size() &&
                (index.indexed == 0 || (pool.front().get() == index.first &&
                                        pool[index.indexed - 1].get() == index.last));
    if (!same) index = ArtIndex{};
    index.doc = &doc;
    for (; index.indexed < pool.size(); ++index.indexed) index.known.insert(pool[index.indexed].get());
    if (!pool.empty()) {
        index.first = pool.front().get();
        index.last = pool.back().get();
    }
    return index;
}

}  // namespace

Art* LiveArt(AIArtHandle handle)
{
    Document* doc = HostDocument();
    if (!doc || !handle) return nullptr;
    Art* art = FromHandle(handle);
    if (!IndexOf(*doc).known.count(art)) return nullptr;
    return IsArtAlive(art) && art->doc == doc ? art : nullptr;
}

Layer* LiveLayer(AILayerHandle handle)
{
    Document* doc = HostDocument();
    if (!doc || !handle) return nullptr;
    Layer* layer = FromHandle(handle);
    if (std::find(doc->layers.begin(), doc->layers.end(), layer) == doc->layers.end()) return nullptr;
    return layer->fDisposed ? nullptr : layer;
}

Symbol* KnownSymbol(AISymbolHandle handle)
{
    Document* doc = HostDocument();
    if (!doc || !handle) return nullptr;
    Symbol* symbol = reinterpret_cast<Symbol*>(handle);
    auto found = std::find(doc->symbols.begin(), doc->symbols.end(), symbol);
    return found == doc->symbols.end() ? nullptr : symbol;
}

bool ToPlacement(ASInt16 code, Placement& placement)
{
    if (code < static_cast<ASInt16>(Placement::Above) || code > static_cast<ASInt16>(Placement::BelowAll))
        return false;
    placement = static_cast<Placement>(code);
    return true;
}

ASErr UnusedSelector() { return kUnknownSelectorErr; }

}  // namespace host
