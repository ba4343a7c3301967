// The host's Symbol suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"
#include "host/session/host_session.h"

#include <cmath>
#include <string>

namespace host {
namespace {

Art* LiveInstance(AIArtHandle handle)
{
    Art* art = LiveArt(handle);
    return art && art->type == ArtType::SymbolInstance ? art : nullptr;
}

ASErr CountSymbols(ASInt32* count)
{
    Document* doc = HostDocument();
    if (!doc || !count) return kBadParameterErr;
    *count = static_cast<ASInt32>(doc->symbols.size());
    return kNoErr;
}

ASErr GetNthSymbol(ASInt32 n, AISymbolHandle* symbol)
{
    if (symbol) *symbol = nullptr;
    Document* doc = HostDocument();
    if (!doc || !symbol || n < 0 || static_cast<size_t>(n) >= doc->symbols.size()) return kBadParameterErr;
    *symbol = ToHandle(doc->symbols[static_cast<size_t>(n)]);
    return kNoErr;
}

ASErr GetSymbolName(AISymbolHandle handle, char* buffer, ASInt32 room)
{
    Symbol* symbol = KnownSymbol(handle);
    if (!symbol || !buffer || room < 1) return kBadParameterErr;
    const std::string& name = symbol->name;
    size_t end = 0;
    while (end < name.size()) {
        auto lead = static_cast<unsigned char>(name[end]);
        size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (end + n > static_cast<size_t>(room) - 1 || end + n > name.size()) break;
        end += n;
    }
    name.copy(buffer, end);
    buffer[end] = '\0';
    return kNoErr;
}

ASErr GetSymbolDefinitionArt(AISymbolHandle handle, AIArtHandle* definition)
{
    if (definition) *definition = nullptr;
    Symbol* symbol = KnownSymbol(handle);
    if (!symbol || !definition) return kBadParameterErr;
    *definition = ToHandle(LiveArt(ToHandle(symbol->definition)));
    return kNoErr;
}

ASErr GetSymbolOfInstance(AIArtHandle handle, AISymbolHandle* symbol)
{
    if (symbol) *symbol = nullptr;
    Art* instance = LiveInstance(handle);
    if (!instance || !symbol) return kBadParameterErr;
    *symbol = ToHandle(KnownSymbol(ToHandle(instance->symbol)));
    return kNoErr;
}

// The suite's instance matrix places the definition centred on the origin (the centre of its
// bounds at 0, 0), as a plug-in copying a symbol expects; the document keeps the matrix of
// the definition's own coordinates. The two differ by the move to the centre.
AIRealMatrix CentreMove(const Art* instance, double sign)
{
    AIRealRect bounds{0, 0, 0, 0};
    if (!instance->symbol || !instance->symbol->definition || !ArtBounds(instance->symbol->definition, bounds))
        return IdentityMatrix();
    return AIRealMatrix{1, 0, 0, 1, sign * (bounds.left + bounds.right) / 2, sign * (bounds.top + bounds.bottom) / 2};
}

ASErr GetInstanceMatrix(AIArtHandle handle, AIRealMatrix* matrix)
{
    Art* instance = LiveInstance(handle);
    if (!instance || !matrix) return kBadParameterErr;
    *matrix = ConcatMatrix(CentreMove(instance, 1), instance->matrix);
    return kNoErr;
}

ASErr SetInstanceMatrix(AIArtHandle handle, const AIRealMatrix* matrix)
{
    Art* instance = LiveInstance(handle);
    if (!instance || !matrix) return kBadParameterErr;
    for (double x : {matrix->a, matrix->b, matrix->c, matrix->d, matrix->tx, matrix->ty})
        if (!std::isfinite(x)) return kBadParameterErr;
    instance->matrix = ConcatMatrix(CentreMove(instance, -1), *matrix);
    MarkArtChanged(instance);
    return kNoErr;
}

const AISymbolSuite kSuite = {
    CountSymbols,
    GetNthSymbol,
    GetSymbolName,
    GetSymbolDefinitionArt,
    GetSymbolOfInstance,
    GetInstanceMatrix,
    SetInstanceMatrix,
};

}  // namespace

const AISymbolSuite* HostSymbolSuite() { return &kSuite; }

}  // namespace host
